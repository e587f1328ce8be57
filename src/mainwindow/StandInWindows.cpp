#include "mainwindow/StandInWindows.h"

#include "extras/FrmMini.h"

namespace standins {

std::set<std::type_index>& windows()
{
    static std::set<std::type_index> list = {
        std::type_index(typeid(FrmMini)),
    };
    return list;
}

} // namespace standins

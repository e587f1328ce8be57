#include "mainwindow/StandInWindows.h"

#include "extras/FrmMini.h"
#include "extras/FrmTracking.h"
#include "preferences/FrmAdjustVolumes.h"

namespace standins {

std::set<std::type_index>& windows()
{
    static std::set<std::type_index> list = {
        std::type_index(typeid(FrmTracking)),
        std::type_index(typeid(FrmAdjustVolumes)),
        std::type_index(typeid(FrmMini)),
    };
    return list;
}

} // namespace standins

#include "mainwindow/StandInWindows.h"

namespace standins {

std::set<std::type_index>& windows()
{
    static std::set<std::type_index> list;
    return list;
}

} // namespace standins

#pragma once
// Windows that so far exist only as empty stand-ins. The commands that open them leave them
// closed (no check mark, no message, the main window stays where it is) until the window is
// built and taken off the list.
#include <set>
#include <typeindex>

namespace standins {

std::set<std::type_index>& windows();

template <class F>
bool isStandIn()
{
    return windows().count(std::type_index(typeid(F))) != 0;
}

} // namespace standins

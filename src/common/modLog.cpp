#include "common/modLog.h"

namespace {
std::function<void(const QString&)>& sink()
{
    static std::function<void(const QString&)> s;
    return s;
}
} // namespace

void log_Write(const QString& line)
{
    if (sink()) sink()(line);
}

void log_SetSink(std::function<void(const QString&)> s) { sink() = std::move(s); }

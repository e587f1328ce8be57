#pragma once
// Log lines from code without windows reach the console through this sink; the console
// installs itself at load. Callers compose whole lines.
#include <QString>
#include <functional>

void log_Write(const QString& line);
void log_SetSink(std::function<void(const QString&)> sink);

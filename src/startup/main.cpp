#include "platform/QtUiServices.h"
#include "startup/modMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Window positions, staying on top and the global keys need X11: on a Wayland session
    // the program runs through XWayland when it is there.
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") && qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltra"));
    QApplication::setQuitOnLastWindowClosed(false);
    veltra::QtUiServices services;
    veltra::setUiServices(&services);
    startup::setArguments(QApplication::arguments().mid(1));
    const int code = startup::run();
    veltra::setUiServices(nullptr);
    return code;
}

#include "platform/QtUiServices.h"
#include "startup/modMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
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

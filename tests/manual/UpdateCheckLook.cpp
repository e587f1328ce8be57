// Shows the update check after its first step against an update folder address given on the
// command line (a local web server serving veltra.upd), for a look on a real or virtual X
// display, and saves a picture of the screen.
// Usage: veltra_updatecheck ADDRESS OUTPUT.png
#include "common/modSettings.h"
#include "extras/FrmCheckForUpdates.h"
#include "platform/ProgramFolder.h"
#include "platform/QtUiServices.h"
#include "platform/WebPages.h"
#include "startup/Forms.h"
#include "startup/modMain.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ADDRESS OUTPUT.png\n", argv[0]);
        return 2;
    }
    QTemporaryDir dir;
    programfolder::setPath(dir.path());
    settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
    veltra::QtUiServices ui;
    veltra::setUiServices(&ui);
    webpages::setUpdate(QString::fromLocal8Bit(argv[1]));
    startup::BetaLabel = QStringLiteral("Beta 5");
    const QString output = QString::fromLocal8Bit(argv[2]);

    FrmCheckForUpdates& check = forms().get<FrmCheckForUpdates>();
    check.move(200, 120);
    check.show();
    QTimer::singleShot(300, &check, [&check] { check.cmdNext->click(); });
    QTimer::singleShot(1500, &app, [&] {
        QApplication::primaryScreen()->grabWindow(0).save(output);
        std::printf("%s: %s\n", qPrintable(check.cmdNext->text()), qPrintable(output));
        app.quit();
    });
    return app.exec();
}

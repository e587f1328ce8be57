#pragma once
// The whole program started in-process (Main and initialisation) on a fresh program folder,
// with a notification area whose presence the test decides.
#include "support/TestEnv.h"

#include <QString>
#include <QStringList>

class FrmMain;

class StartupFixture : public VeltraTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void start(const QStringList& arguments = {});
    FrmMain& main();
    // A real MP3 under music/ with these tags, three seconds long.
    QString song(const QString& name, const QString& artist = QString(), const QString& title = QStringLiteral("T"),
                 const QString& year = QString());
    // A playlist file of these paths as the program writes them.
    void writePlaylist(const QString& relative, const QStringList& paths);

    int trayHere = 0;   // a tray::Availability
};

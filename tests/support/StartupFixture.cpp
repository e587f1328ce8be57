#include "support/StartupFixture.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modListFiles.h"
#include "common/modTray.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"

#include <QDir>
#include <QFileInfo>

void StartupFixture::SetUp()
{
    VeltraTest::SetUp();
    trayHere = int(tray::Availability::Available);
    tray::setAvailabilityOverride([this] { return tray::Availability(trayHere); });
}

void StartupFixture::TearDown()
{
    tray::setAvailabilityOverride(nullptr);
    tray_RemoveIcon();
    VeltraTest::TearDown();
}

void StartupFixture::start(const QStringList& arguments)
{
    startup::setArguments(arguments);
    ASSERT_EQ(Main(), StartResult::Running);
}

FrmMain& StartupFixture::main() { return forms().get<FrmMain>(); }

QString StartupFixture::song(const QString& name, const QString& artist, const QString& title, const QString& year)
{
    QDir().mkpath(home("music"));
    const QString path = home("music/" + name);
    mp3maker::makeMp3(path, {.artist = artist.isEmpty() ? "A " + name : artist, .title = title, .year = year, .seconds = 3, .id3v1 = true});
    return path;
}

void StartupFixture::writePlaylist(const QString& relative, const QStringList& paths)
{
    ListViewModel list;
    list.setColumns(PlaylistColumn::headers());
    int n = 0;
    for (const QString& p : paths) list.add({QString::number(++n), "A" + QString::number(n), "T", "", "Play", "", p});
    QDir().mkpath(QFileInfo(home(relative)).absolutePath());
    ASSERT_TRUE(controls_SaveListView(list, home(relative)));
}

// Repairs of the main window: its event hook at exit.
#include "common/ListView.h"
#include "player/FrmMain.h"
#include "startup/Forms.h"
#include "support/TestEnv.h"

#include <QStringList>

// The hook that forwards the controls' events to the window uses the list view: it must be
// gone before the list is, or the list's last events reach freed memory at exit.
TEST_F(VeltraTest, TheWindowsEventHookGoesBeforeTheControlsItWatches)
{
    FrmMain& main = forms().get<FrmMain>();
    QObject* hook = main.findChild<QObject*>(QStringLiteral("FrmMainEventHook"), Qt::FindDirectChildrenOnly);
    ASSERT_NE(hook, nullptr);
    QStringList gone;
    QObject::connect(hook, &QObject::destroyed, [&] { gone << "hook"; });
    QObject::connect(main.lstvPlaylist, &QObject::destroyed, [&] { gone << "list"; });
    QObject::connect(main.lstvPlaylist->viewport(), &QObject::destroyed, [&] { gone << "viewport"; });
    main.show();
    main.lstvPlaylist->setFocus();
    forms().unloadAll();
    ASSERT_FALSE(gone.isEmpty());
    EXPECT_EQ(gone.first(), QStringLiteral("hook")) << gone.join(u' ').toStdString();
}

#include "PlaybackFixture.h"

// In the half second after a start the position timer has not yet seen the song: Stop, Pause
// and the transport commands ask the player itself.
TEST_F(PlaybackTest, StopRightAfterPlayStopsBeforeThePositionTimerTicked)
{
    addSongs(3);
    controls_SelectItem(list(), 1);
    main->player_Play(1);
    ASSERT_EQ(main->PlayerState, 1);   // no tick yet
    ASSERT_TRUE(playing());
    main->mnuStop_Click();
    EXPECT_FALSE(playing());
    EXPECT_EQ(player->history.last(), QStringLiteral("Unload"));

    // Next right after a start goes on from the song just started, not from the selection.
    controls_SelectItem(list(), 2);
    main->player_Play(1);
    controls_SelectItem(list(), 1);
    main->mnuNextTrack_Click();
    EXPECT_EQ(player->FileName(), file(3));
}

// Jump To Time and Jump To Track Number: their checks, messages and stored option.
#include "../mainwindow/PlaybackFixture.h"

#include "common/modSettings.h"
#include "playlisttools/FrmJumpToNumber.h"
#include "playlisttools/FrmJumpToTime.h"
#include "playlisttools/OptionButtons.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

TEST_F(PlaybackTest, JumpToTimeChecksTheTimeAgainstTheSong)
{
    addSongs(1);
    player->nextDuration = 225;
    playRow(1);
    struct Case {
        QString mins, secs;
        double position;   // -1: refused
        QString firstLine;
    };
    const Case cases[] = {
        {"3", "5", 185, ""},
        {"2", "59", 179, ""},
        {"3", "45", 225, ""},   // the length itself
        {"3", "46", -1, "The time that you have entered is larger than the duration of the song/video."},
        {"3", "60", -1, "It has been detected that the seconds you have entered are invalid."},
        {"", "5", -1, "It has been detected that you have not entered anything into the Minutes section."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.mins + ":" + c.secs).toStdString());
        ui.clear();
        player->setCurrentPosition(10);
        FrmJumpToTime& d = forms().fresh<FrmJumpToTime>();
        EXPECT_EQ(d.lblLength->text(), "Length:  03:45");
        d.txtMins->setText(c.mins);
        d.txtSecs->setText(c.secs);
        d.cmdJump_Click();
        if (c.position >= 0) {
            EXPECT_TRUE(ui.messages().isEmpty());
            EXPECT_EQ(player->CurrentPosition(), c.position);
        } else {
            ASSERT_EQ(ui.messages().size(), 1);
            EXPECT_EQ(ui.messages()[0].title, "Jump To Time Error");
            EXPECT_EQ(ui.messages()[0].text, c.firstLine + "\r\n\r\nThis function will not continue.\r\n");
            EXPECT_EQ(player->CurrentPosition(), 10.0);
        }
    }
    // paused: the dialog opens, the jump is refused
    main->mnuPause_Click();
    tick();
    ui.clear();
    FrmJumpToTime& d = forms().fresh<FrmJumpToTime>();
    d.txtMins->setText("1");
    d.txtSecs->setText("1");
    d.cmdJump_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].text, "It has been detected that the player is no longer playing any music.\r\n\r\nThis function will not be proformed.\r\n");
}

TEST_F(PlaybackTest, JumpToTrackNumberSelectsPlaysAndStoresTheOption)
{
    addSongs(4);
    struct Case {
        QString typed;
        QString refusal;   // empty: accepted
    };
    const Case cases[] = {
        {"", "it has been detected that you have not entered a playlist number.\r\n\r\nThis function will not be proformed.\r\n"},
        {"5", "It has been detected that the track number you have entered is invalid.\r\n\r\nThis function will not continue.\r\n"},
        {"99999999999999999999", "It has been detected that the track number you have entered is invalid.\r\n\r\nThis function will not continue.\r\n"},
        {"4", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ui.clear();
        controls_SelectItem(list(), 1);
        FrmJumpToNumber& d = forms().fresh<FrmJumpToNumber>();
        d.txtNum->setText(c.typed);
        d.cmdJump_Click();
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(ui.messages().isEmpty());
            EXPECT_EQ(list().selectedRows(), QList<int>{4});
            EXPECT_FALSE(playing());   // the first option only selects
        } else {
            ASSERT_EQ(ui.messages().size(), 1);
            EXPECT_EQ(ui.messages()[0].title, "Jump To Track Number Error");
            EXPECT_EQ(ui.messages()[0].text, c.refusal);
            EXPECT_EQ(list().selectedRows(), QList<int>{1});
            EXPECT_EQ(settings_ReadValue("JumpToTrackNumber", "OptionSelectSong", "?"), "?");
        }
    }

    // The second option, a paused song waiting: stopped first, then the row plays.
    playRow(1);
    main->mnuPause_Click();
    tick();
    FrmJumpToNumber& d = forms().fresh<FrmJumpToNumber>();
    EXPECT_TRUE(d.opFurther->at(2)->isEnabled());   // Play Next is available while paused
    d.opFurther->at(1)->click();
    d.txtNum->setText("3");
    d.cmdJump_Click();
    EXPECT_FALSE(main->ResumePending);
    EXPECT_EQ(player->FileName(), file(3));
    EXPECT_TRUE(playing());
    QStringList stored;
    for (const char* key : {"OptionSelectSong", "OptionSelectSongAndPlayIt", "OptionSelectSongAndSetItToNext"})
        stored << settings_ReadValue("JumpToTrackNumber", key);
    EXPECT_EQ(stored, QStringList({"0", "-1", "0"}));

    // A stored third option comes back as the first while Play Next is not available.
    settings_WriteValue("JumpToTrackNumber", "OptionSelectSongAndPlayIt", "0");
    settings_WriteValue("JumpToTrackNumber", "OptionSelectSongAndSetItToNext", "1");
    main->mnuStop_Click();
    tick();
    FrmJumpToNumber& stopped = forms().fresh<FrmJumpToNumber>();
    EXPECT_FALSE(stopped.opFurther->at(2)->isEnabled());
    EXPECT_EQ(stopped.opFurther->selected(), 0);
}

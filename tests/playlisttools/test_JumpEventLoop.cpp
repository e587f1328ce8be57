// The jump dialogs and the Advanced Queue in the running program: opened by the main window's
// own keys and menus, driven by real typing, Enter and clicks while the program's timers run.
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modSettings.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmJump.h"
#include "playlisttools/FrmJumpToNumber.h"
#include "playlisttools/FrmJumpToTime.h"
#include "playlisttools/FrmQueue.h"
#include "playlisttools/OptionButtons.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

namespace {
class JumpEventLoopTest : public StartupFixture {
protected:
    // Runs `steps` inside the modal dialog's own loop; false when the dialog stayed open.
    template <class Form>
    void driveModal(bool& closed, std::function<void(Form*)> steps)
    {
        ui.modalHandlers.push_back([&closed, steps](QObject* form) {
            auto* d = qobject_cast<Form*>(form);
            ASSERT_NE(d, nullptr);
            QTimer::singleShot(50, d, [d, steps] {
                QApplication::setActiveWindow(d);
                steps(d);
            });
            QTimer::singleShot(5000, d, [d] { d->done(QDialog::Rejected); });   // never hangs the suite
            closed = d->exec() == QDialog::Accepted;
        });
    }
    void key(QWidget* w, Qt::Key k) { QTest::keyClick(w, k); }
};
} // namespace

TEST_F(JumpEventLoopTest, EnterRunsFindThenSelectInTheShownDialog)
{
    const QString a = song("a.mp3", "Alpha", "One");
    const QString b = song("b.mp3", "Blue", "Two");   // a genre name begins so: nothing completes it
    start({a, b});
    FrmMain& m = main();
    processEvents(600);   // the position timer has seen the song play
    bool closed = false;
    int hitsSeen = -1;
    driveModal<FrmJump>(closed, [&hitsSeen](FrmJump* d) {
        d->cmbSearch->setFocus();
        QTest::keyClicks(d->cmbSearch->lineEdit(), "blue");
        QTest::keyClick(d->cmbSearch->lineEdit(), Qt::Key_Return);   // Find: the default while in the search box
        hitsSeen = d->lstvItems->items().count();
        const QRect row = d->lstvItems->visualRect(d->lstvItems->model()->index(0, 1));
        QTest::mouseClick(d->lstvItems->viewport(), Qt::LeftButton, {}, row.center());
        QTest::keyClick(d->lstvItems, Qt::Key_Return);   // Select
    });
    QTest::keyClick(m.lstvPlaylist, Qt::Key_J);   // typed into the playlist, where the focus is
    EXPECT_TRUE(closed);
    EXPECT_EQ(hitsSeen, 1);
    EXPECT_EQ(m.rows().selectedRows(), QList<int>{2});
    EXPECT_EQ(m.wmpPlayer().FileName(), a);   // select only: the playing song goes on
    EXPECT_EQ(settings_ReadValue("JumpToMedia", "OptionSelectSong"), "-1");
    processEvents();
    EXPECT_FALSE(forms().isLoaded<FrmJump>());
}

// Opened by the menu item, Jump To Media has its design size on this screen: the results list
// shows eight whole rows, not the three or four of the dialog's least size.
TEST_F(JumpEventLoopTest, JumpToMediaOpensAtItsDesignSize)
{
    QStringList songs;
    for (int i = 1; i <= 12; ++i) songs << song(QStringLiteral("s%1.mp3").arg(i), QStringLiteral("Blue %1").arg(i));
    start(songs);
    bool closed = false;
    int wholeRows = 0;
    QRect frame, screen;
    driveModal<FrmJump>(closed, [&](FrmJump* d) {
        d->cmbSearch->setEditText("blue");
        d->opSearchMode->select(3);   // Contains
        d->cmdFind->click();
        const QTreeView* list = d->lstvItems;
        while (wholeRows < d->lstvItems->items().count()
               && list->viewport()->rect().contains(list->visualRect(list->model()->index(wholeRows, 0))))
            ++wholeRows;
        frame = d->frameGeometry();
        screen = d->screen()->availableGeometry();
        d->cmdClose->click();
    });
    main().mnuJumpToMedia->trigger();
    EXPECT_TRUE(closed);
    EXPECT_GE(wholeRows, 8);
    EXPECT_TRUE(screen.contains(frame));
}

TEST_F(JumpEventLoopTest, TypedTimeMovesThePlayingSong)
{
    start({song("a.mp3", "Alpha", "One")});
    FrmMain& m = main();
    processEvents(600);
    ASSERT_TRUE(m.mnuJumpToTime->isEnabled());
    bool closed = false;
    driveModal<FrmJumpToTime>(closed, [](FrmJumpToTime* d) {
        d->txtMins->setFocus();
        QTest::keyClicks(d->txtMins, "2");
        QTest::keyClicks(d->txtSecs, "x05");
        QTest::keyClick(d->txtSecs, Qt::Key_Return);
    });
    QTest::keyClick(m.lstvPlaylist, Qt::Key_T);
    EXPECT_TRUE(closed);
    EXPECT_NEAR(m.wmpPlayer().CurrentPosition(), 125, 1);
}

// The playlist menu's Advanced Queue and the Jump submenu's track number: typed into, Enter
// runs the dialog's action button.
TEST_F(JumpEventLoopTest, QueueAndTrackNumberTakeTypingAndEnter)
{
    start({song("a.mp3", "Alpha", "One"), song("b.mp3", "Blue", "Two"), song("c.mp3", "Blue", "Three")});
    FrmMain& m = main();
    m.mnuStop_Click();
    processEvents(200);
    bool closed = false;
    driveModal<FrmQueue>(closed, [](FrmQueue* d) {
        d->chkCloseWindow->setChecked(true);
        d->cmbOption->setCurrentIndex(2);   // "Skip"
        d->cmbSearch->setFocus();
        QTest::keyClicks(d->cmbSearch->lineEdit(), "blue");
        QTest::keyClick(d->cmbSearch->lineEdit(), Qt::Key_Return);
    });
    forms().get<FrmMenus>().mnuAdvanced->trigger();
    EXPECT_TRUE(closed);
    QStringList statuses;
    for (int r = 1; r <= m.rows().count(); ++r) statuses << m.rows().subItem(r, PlaylistColumn::Status);
    EXPECT_EQ(statuses, QStringList({"Play", "Skip", "Skip"}));

    closed = false;
    driveModal<FrmJumpToNumber>(closed, [](FrmJumpToNumber* d) {
        QTest::keyClicks(d->txtNum, "03");   // a leading "0" is never typed
        QTest::keyClick(d->txtNum, Qt::Key_Return);
    });
    m.mnuJumpToTrackNumber->trigger();
    EXPECT_TRUE(closed);
    EXPECT_EQ(m.rows().selectedRows(), QList<int>{3});
    EXPECT_EQ(settings_ReadValue("JumpToTrackNumber", "OptionSelectSong"), "-1");
}

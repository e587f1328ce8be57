// The command set both per-song list windows share, run on each: the switch and captions,
// the clear question, Remove Selected by the Delete key (kept after a restart), dead files,
// Show Headers, the popups, the close box, renamed files, and a list file that could not be read.
#include "common/modSettings.h"
#include "extras/FrmTracking.h"
#include "mainwindow/MainWindowFixture.h"
#include "preferences/FrmAdjustVolumes.h"

#include <QApplication>
#include <QScreen>
#include <QtTest/QTest>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {
struct ListCase {
    const char* name;
    const char* file;
    const char* caption;
    const char* switchKey;
    const char* headersKey;
    const char* clearTitle;   // the question's text names the list after "Once the "
    const char* listWord;
    SongListWindow& (*window)();
    void (*unload)();
    void (*add)(SongListWindow& w, const QString& file);             // the window's own add
    void (*rename)(SongListWindow& w, const QString& a, const QString& b);
};

template <class F>
SongListWindow& windowOf() { return forms().get<F>(); }

const ListCase kCases[] = {
    {"Volumes", "volumes.ssb", "Adjust Volumes", "AlwaysUseVolumeAdjusting", "ShowAdjustVolumesHeaders", "Clear Volumes List Confirmation",
     "volumes", &windowOf<FrmAdjustVolumes>, [] { forms().unload<FrmAdjustVolumes>(); },
     [](SongListWindow& w, const QString& f) { static_cast<FrmAdjustVolumes&>(w).volumes_Add("A", "T", 50, f); },
     [](SongListWindow& w, const QString& a, const QString& b) { static_cast<FrmAdjustVolumes&>(w).volumes_UpdateFilename(a, b); }},
    {"Tracking", "tracking.ssb", "Tracking", "AlwaysTrackMediaFilesPlayed", "ShowTrackingHeaders", "Clear Tracking List Confirmation",
     "tracking", &windowOf<FrmTracking>, [] { forms().unload<FrmTracking>(); },
     [](SongListWindow& w, const QString& f) { static_cast<FrmTracking&>(w).tracking_Add("A", "T", f); },
     [](SongListWindow& w, const QString& a, const QString& b) { static_cast<FrmTracking&>(w).tracking_UpdateFilename(a, b); }},
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class SongListWindowTest : public VeltraTest, public ::testing::WithParamInterface<ListCase> {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        settings_WriteValue("Settings", GetParam().switchKey, "1");
    }
    SongListWindow& window() { return GetParam().window(); }
    SongListWindow& restart()
    {
        GetParam().unload();
        return window();
    }
    QString listFile() { return home(GetParam().file); }
    static QStringList files(SongListWindow& w)
    {
        QStringList out;
        for (int r = 1; r <= w.rows().count(); ++r) out.append(w.rows().subItem(r, 3));
        return out;
    }
    // Rows for three files that exist.
    QStringList addThree(SongListWindow& w)
    {
        QStringList paths;
        for (const char* n : {"a.mp3", "b.mp3", "c.mp3"}) {
            paths.append(writeFile(QStringLiteral("Music/") + n, "x"));
            GetParam().add(w, paths.last());
        }
        return paths;
    }
    static void key(QWidget* target, Qt::Key k)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    }
    static void press(QWidget* target, Qt::MouseButton button)
    {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(20, 20), target->mapToGlobal(QPointF(20, 20)), button, button, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
};
} // namespace

TEST_P(SongListWindowTest, SwitchSetsCaptionSettingAndCommands)
{
    SongListWindow& w = window();
    EXPECT_EQ(w.windowTitle(), QString(GetParam().caption) + " - [Enabled]");
    addThree(w);
    processEvents(120);   // the window's own 50 ms timer enables the commands
    EXPECT_TRUE(w.mnuRemoveDeadFilenames->isEnabled());
    EXPECT_TRUE(w.cmdClear->isEnabled());

    w.findChild<QCheckBox*>()->click();   // the user's click runs the handler
    EXPECT_EQ(w.windowTitle(), QString(GetParam().caption) + " - [Disabled]");
    EXPECT_EQ(settings_ReadValue("Settings", GetParam().switchKey), "0");
    EXPECT_FALSE(w.lstvItems->isEnabled());
    EXPECT_FALSE(w.mnuRemoveSelected->isEnabled());
    processEvents(120);   // the timer leaves a switched-off window alone
    EXPECT_FALSE(w.cmdClear->isEnabled());
}

TEST_P(SongListWindowTest, ClearAsksAndOnYesDeletesTheFile)
{
    SongListWindow& w = window();
    addThree(w);
    const QByteArray before = readFile(listFile());
    ui.msgAnswers = {veltra::MsgResult::No};
    w.cmdClear_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, GetParam().clearTitle);
    EXPECT_EQ(ui.messages()[0].text, QString("Once the %1 list has been cleared, you will not be able to get it back.\r\n\r\n"
                                             "Do you wish to continue?\r\n").arg(GetParam().listWord));
    EXPECT_EQ(ui.messages()[0].buttons, int(veltra::MsgButtons::YesNo));
    EXPECT_EQ(readFile(listFile()), before);

    w.mnuClear_Click();   // Yes by default
    EXPECT_EQ(w.rows().count(), 0);
    EXPECT_FALSE(QFile::exists(listFile()));
}

TEST_P(SongListWindowTest, DeleteKeyRemovesTheSelectedRowForGood)
{
    SongListWindow& w = window();
    addThree(w);
    w.show();
    processEvents(120);
    const QString gone = w.rows().subItem(2, 3);
    controls_SelectItem(w.rows(), 2);
    key(w.lstvItems, Qt::Key_Delete);
    EXPECT_EQ(files(w).size(), 2);
    EXPECT_FALSE(files(restart()).contains(gone));   // written at once, not at the next change
}

TEST_P(SongListWindowTest, DeadFilesGoAndTheLastOneTakesTheFile)
{
    const QStringList paths = addThree(window());
    QFile::remove(paths[0]);
    window().mnuRemoveDeadFilenames_Click();
    EXPECT_EQ(ui.messages().last().title, "Remove Dead Filenames Information");
    EXPECT_EQ(files(restart()).size(), 2);
    QFile::remove(paths[1]);
    QFile::remove(paths[2]);
    window().mnuRemoveDeadFilenames_Click();
    EXPECT_EQ(window().rows().count(), 0);
    EXPECT_FALSE(QFile::exists(listFile()));
}

TEST_P(SongListWindowTest, F1TogglesHeadersThePopupsOpenAndTheCloseBoxHides)
{
    SongListWindow& w = window();
    w.show();
    for (bool shown : {true, false}) {
        key(w.lstvItems, Qt::Key_F1);
        EXPECT_EQ(w.lstvItems->hideColumnHeaders(), !shown);
        EXPECT_EQ(w.mnuShowHeaders->isChecked(), shown);
        EXPECT_EQ(settings_ReadValue("Settings", GetParam().headersKey), shown ? "1" : "0");
    }
    addThree(w);
    auto* popup = qobject_cast<QMenu*>(w.mnuShowHeaders->associatedObjects().value(0));
    ASSERT_NE(popup, nullptr);
    for (QWidget* target : {static_cast<QWidget*>(w.lblOptions), w.lstvItems->viewport()}) {
        press(target, target == w.lblOptions ? Qt::LeftButton : Qt::RightButton);
        EXPECT_TRUE(popup->isVisible());
        popup->hide();
    }
    const int clicked = w.lstvItems->hitTest(QPoint(20, 20));
    EXPECT_GT(clicked, 0);
    EXPECT_EQ(w.rows().selectedItem(), clicked);   // a right click picks its row
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isHidden());
}

TEST_P(SongListWindowTest, RenamedFileIsRepointedAndTheListSavedEvenWhenUnlisted)
{
    SongListWindow& w = window();
    const QStringList paths = addThree(w);
    QFile::remove(listFile());
    GetParam().rename(w, home("Music/none.mp3"), home("Music/x.mp3"));
    EXPECT_TRUE(QFile::exists(listFile()));   // rewritten with the unchanged list
    w.findChild<QCheckBox*>()->setChecked(false);   // the switch is not asked
    GetParam().rename(w, paths[1], home("Music/New Name.mp3"));
    const QStringList after = files(restart());
    EXPECT_TRUE(after.contains(home("Music/New Name.mp3")));
    EXPECT_FALSE(after.contains(paths[1]));
}

TEST_P(SongListWindowTest, ListFileThatCannotBeReadIsNeverWrittenOver)
{
    const QByteArray broken = "\"only\"\r\n\"three\"\r\n\"cells\"\r\n";
    writeFile(GetParam().file, broken);
    SongListWindow& w = window();
    EXPECT_EQ(ui.messages().last().title, "Error Loading List");
    GetParam().add(w, writeFile("Music/a.mp3", "x"));
    EXPECT_EQ(w.rows().count(), 1);   // kept for this run
    EXPECT_EQ(readFile(listFile()), broken);
}

TEST_P(SongListWindowTest, OpenedFromAWindowAtTheScreensCornerItStaysOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget opener;
    opener.setGeometry(screen.right() - 320, screen.bottom() - 170, 300, 150);
    opener.show();
    opener.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&opener));
    SongListWindow& w = window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(screen.contains(w.frameGeometry())) << w.frameGeometry().x() << "," << w.frameGeometry().y();
    w.hide();
}

INSTANTIATE_TEST_SUITE_P(BothLists, SongListWindowTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

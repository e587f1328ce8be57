// The real dialogs behind the UiServices: what the Add Files filters offer, the folder picker.
#include "common/modAddFiles.h"
#include "platform/QtUiServices.h"
#include "support/TestEnv.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

using namespace veltra;

namespace {

// The names the open dialog lists (folders left out), once the listing has settled.
QStringList listed(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (!view) return {};
    QStringList names;
    QDeadlineTimer deadline(5000);
    do {
        processEvents(50);
        names.clear();
        QAbstractItemModel* m = view->model();
        for (int r = 0; r < m->rowCount(view->rootIndex()); ++r) {
            const QString name = m->index(r, 0, view->rootIndex()).data().toString();
            if (name != QLatin1String("folder")) names << name;
        }
        names.sort();
    } while (names.size() < 1 && !deadline.hasExpired());
    processEvents(100);
    return names;
}

} // namespace

TEST_F(VeltraTest, OpenDialogFiltersMatchAnyLetterCaseAndAllFilesTakesNamesWithoutADot)
{
    EXPECT_EQ(QtUiServices::qtFilter("Text|*.txt;*.log|All|*.*|"), "Text (*.txt *.log);;All (*)");
    EXPECT_EQ(QtUiServices::qtFilter("MP3 File|*.mp3|", nullptr, true), "MP3 File (*.[mM][pP]3)");

    for (const char* f : {"songs/song.MP3", "songs/other.mp3", "songs/notes.txt", "songs/README", "songs/folder/x.mp3"}) writeFile(f, "x");
    QtUiServices services;
    QStringList mp3Listed, allListed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        mp3Listed = listed(*dialog);
        dialog->selectNameFilter(dialog->nameFilters().constLast());   // "Other Media Files"
        allListed = listed(*dialog);
        dialog->reject();
    });
    FileDialogRequest request;
    request.title = QStringLiteral("Add Files To Playlist...");
    request.initialDir = home("songs");
    request.filter = addfiles::filter();
    request.multiSelect = true;
    const FileDialogResult answer = services.openFileDialog(request);
    EXPECT_TRUE(answer.cancelled);
    EXPECT_EQ(mp3Listed, (QStringList{"other.mp3", "song.MP3"}));
    EXPECT_EQ(allListed, (QStringList{"README", "notes.txt", "other.mp3", "song.MP3"}));
}

// A default suffix holds while a filter of its kind is chosen, not for the others; the
// answer names the filter chosen.
TEST_F(VeltraTest, SaveDialogsDefaultSuffixAndAnswerFollowTheChosenFilter)
{
    QDir().mkpath(home("lists"));
    QStringList suffixes;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_TRUE(types);
        for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Down}) {   // as the user picks them
            suffixes << dialog->defaultSuffix();
            QTest::keyClick(types, Qt::Key(key));
        }
        dialog->selectFile(QStringLiteral("page"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    FileDialogRequest request;
    request.initialDir = home("lists");
    request.filter = QStringLiteral("VELTRA Playlist|*.spp|HTML Playlist|*.html|");
    request.defaultExt = QStringLiteral("spp");
    const FileDialogResult answer = QtUiServices().saveFileDialog(request);
    EXPECT_EQ(suffixes, (QStringList{"spp", "", "spp"}));
    EXPECT_EQ(answer.files, QStringList{home("lists/page")});
    EXPECT_EQ(answer.filterIndex, 2);
}

#include <QAbstractButton>
#include <QMessageBox>

// A message box opened while a window that goes away by itself is the active one (the
// now-playing popup unloads itself on a timer; a song failing to play opens its error box
// meanwhile): the box is never a child that dies with that window. A window that takes no
// focus does not own the box, which stays up; any other window takes its box with it, and
// neither frees memory that was never allocated.
TEST_F(VeltraTest, AMessageBoxOutlivesOrLeavesWithTheWindowThatWasActiveWithoutACrash)
{
    const struct {
        const char* name;
        Qt::WindowFlags flags;
        bool boxStaysUp;
    } cases[] = {
        {"popup that takes no focus", Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus, true},
        {"ordinary window", Qt::Window, false},
    };
    QtUiServices services;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* window = new QWidget(nullptr, c.flags);
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_EQ(QApplication::activeWindow(), window);
        bool stayedUp = false;
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(QApplication::activeModalWidget());
            delete window;   // as the popup's own timer does
            processEvents(20);
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            stayedUp = box != nullptr;
            if (box) box->button(QMessageBox::Ok)->click();
        });
        const MsgResult answer = services.msgBox(QStringLiteral("An error occured.\r\n"), MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error"));
        EXPECT_EQ(stayedUp, c.boxStaysUp);
        EXPECT_EQ(answer, c.boxStaysUp ? MsgResult::OK : MsgResult::Cancel);
    }
}

// The folder picker's title asks for a click on OK: its accept button says "OK", and it hands
// back the folder it shows.
TEST_F(VeltraTest, FolderPickerAcceptsWithItsOKButton)
{
    QDir(home()).mkpath(QStringLiteral("songs"));
    QtUiServices services;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        QPushButton* accept = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
        ASSERT_TRUE(accept);
        processEvents(50);
        caption = accept->text();
        accept->click();
    });
    const std::optional<QString> chosen = services.browseForFolder(QStringLiteral("Please select the directory and then click OK:"), home("songs"));
    EXPECT_EQ(caption, QStringLiteral("OK"));
    EXPECT_EQ(chosen, std::optional<QString>(home("songs")));
}

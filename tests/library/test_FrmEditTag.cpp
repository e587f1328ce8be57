#include "controls/ctlQX_noFocusPanel.h"
#include "library/FrmEditTag.h"
#include "library/FrmRename.h"
#include "library/TagEditFixture.h"
#include "media/ReferenceTagReader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>

namespace {

const QString kNotPerformed = QStringLiteral("\r\n\r\nThis function will not be proformed.\r\n");
const QString kWriteFailed = QStringLiteral("An error has occur while trying to write the ID3 Tag.  Make sure that the file is not in use or read-only.");
const QString kOnlyID3v1 = QStringLiteral("\r\n\r\nOnly the ID3v1 tag of this file was edited; its ID3v2 tag is as it was.\r\n");

class EditTagTest : public TagEditTest {
protected:
    // The editor as Properties opens it: loaded afresh, then filled from the file of a new row.
    FrmEditTag& openOn(const QString& path)
    {
        const int row = addFile(path);
        FrmEditTag& e = forms().fresh<FrmEditTag>();
        e.window_GetID3Data(path, row);
        return e;
    }
    static void type(QWidget* box, const QString& text)
    {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(box, &press);
        }
    }
};

TEST_F(EditTagTest, AVanishedFileLoadsNoneAndUpdateStopsAtTheGenre)
{
    FrmEditTag& e = openOn(home("Music/gone.mp3"));
    EXPECT_EQ(e.txtArtist[0]->text(), QStringLiteral("[None]"));
    EXPECT_EQ(e.txtTitle[0]->text(), QStringLiteral("[None]"));
    for (QLineEdit* box : {e.txtAlbum[0], e.txtYear[0], e.txtArtist[1], e.txtTitle[1], e.txtAlbum[1], e.txtYear[1]})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(e.cmbGenre->currentIndex(), -1);
    EXPECT_EQ(e.Row(), 0);   // not stored for a missing file
    e.cmdUpdate_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that you have not selected a Genre.") + kNotPerformed);
    EXPECT_EQ(lastTitle(), QStringLiteral("Updating Song ID3 Error"));
    EXPECT_TRUE(forms().isLoaded<FrmEditTag>());
    EXPECT_FALSE(QFile::exists(home("Music/gone.mp3")));
}

TEST_F(EditTagTest, EachCheckShowsItsMessageAndWritesNothing)
{
    const std::pair<std::function<void(FrmEditTag&, const QString&)>, QString> cases[] = {
        {[](FrmEditTag& e, const QString&) { e.txtArtist[0]->clear(); },
         QStringLiteral("It has been detected that you have not entered an Artist name.")},
        {[](FrmEditTag& e, const QString&) { e.txtTitle[0]->clear(); },
         QStringLiteral("It has been detected that you have not entered a Title.")},
        {[this](FrmEditTag&, const QString& p) { player().setFileName(p); },
         QStringLiteral("It has been detected that the song you are trying to edit is being used by VELTRA.")},
        {[](FrmEditTag&, const QString& p) { QFile::setPermissions(p, QFile::ReadOwner | QFile::ReadGroup); },
         QStringLiteral("It has been detected that the song you are trying to edit is Read-Only.")},
    };
    for (const auto& [arrange, first] : cases) {
        SCOPED_TRACE(first.toStdString());
        const QString path = tagged(QStringLiteral("Music/checked.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
        const QByteArray bytes = readFile(path);
        FrmEditTag& e = openOn(path);
        e.txtArtist[1]->setText(QStringLiteral("Changed"));
        arrange(e, path);
        ui.clear();
        e.cmdUpdate_Click();
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(lastMessage(), first + kNotPerformed);
        EXPECT_EQ(lastTitle(), QStringLiteral("Updating Song ID3 Error"));
        EXPECT_EQ(ui.messages().back().icon, int(veltra::MsgIcon::Exclamation));
        EXPECT_EQ(readFile(path), bytes);
        EXPECT_TRUE(forms().isLoaded<FrmEditTag>());
        player().setFileName(QString());
        QFile::remove(path);
    }
    EXPECT_FALSE(log().contains(QStringLiteral("ID3 tag modified")));
}

TEST_F(EditTagTest, AFileWithoutTagsGetsNoGenreAndOneAppendedTag)
{
    const QString path = make(QStringLiteral("bare.mp3"), {.seconds = 0.3, .bitrate = 32, .id3v2 = false});
    const QByteArray before = readFile(path);
    namePlaylist(QStringLiteral("Mine"));
    FrmEditTag& e = openOn(path);
    EXPECT_EQ(e.cmbGenre->currentText(), QStringLiteral("Blues"));   // shown, not chosen
    e.txtArtist[0]->setText(QStringLiteral("Band"));
    e.txtTitle[0]->setText(QStringLiteral("Song"));
    e.cmdUpdate_Click();
    EXPECT_TRUE(ui.messages().isEmpty());
    const QByteArray after = readFile(path);
    ASSERT_EQ(after.size(), before.size() + 128);   // no ID3v2 tag for boxes left empty
    EXPECT_TRUE(after.startsWith(before));
    EXPECT_TRUE(after.right(128).startsWith("TAGSong"));
    EXPECT_EQ(after.back(), '\xFF');   // no genre
    EXPECT_EQ(rows().subItem(1, 1), QStringLiteral("Band"));   // the row re-read
    EXPECT_TRUE(log().contains(path + QStringLiteral(" ID3 tag modified.")));
    EXPECT_FALSE(forms().isLoaded<FrmEditTag>());
    EXPECT_TRUE(QFile::exists(home("Playlists/Mine.spp")));
}

// A genre the user leaves alone is the song's own: its ID3v1 number, else the one its ID3v2
// genre names, else none (255). The ID3v2 genre stays as it was; "Blues" is written only
// when chosen.
TEST_F(EditTagTest, AGenreNobodyChoseIsTheSongsOwnOrNone)
{
    enum Pick { Leave, KeysBackToTheFirst, Jazz };
    const struct {
        int v1Genre;        // -1: no ID3v1 tag
        const char* tcon;   // nullptr: no genre frame
        Pick pick;
        const char* shown;
        int written;
    } cases[] = {
        {-1, "Folk", Leave, "Folk", 80},       {-1, nullptr, Leave, "Blues", 255},
        {200, nullptr, Leave, "Blues", 255},   {200, "(17)", Leave, "Rock", 17},
        {255, "(999)jazz", Leave, "Jazz", 8},  {13, "Folk", Leave, "Pop", 13},
        {-1, nullptr, KeysBackToTheFirst, "Blues", 0}, {-1, "Folk", Jazz, "Folk", 8},
        {-1, "17/Jazz", Leave, "Rock", 17},    // several genres, as a version 2.4 tag's read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("v1 %1 tcon %2 pick %3").arg(c.v1Genre).arg(QLatin1String(c.tcon)).arg(c.pick).toStdString());
        mp3maker::Song song{.artist = QStringLiteral("Band"), .title = QStringLiteral("Song"), .seconds = 0.2, .bitrate = 32,
                            .id3v1 = c.v1Genre >= 0};
        if (c.tcon) song.extraFrames = {{"TCON", QByteArray(1, '\0') + c.tcon}};
        QByteArray bytes = mp3maker::makeMp3Bytes(song);
        if (c.v1Genre >= 0) bytes.back() = char(c.v1Genre);
        const QString path = writeFile("Music/genre.mp3", bytes);
        FrmEditTag& e = openOn(path);
        EXPECT_EQ(e.cmbGenre->currentText(), QLatin1String(c.shown));
        if (c.pick == KeysBackToTheFirst) {
            QTest::keyClick(e.cmbGenre, Qt::Key_Down);
            QTest::keyClick(e.cmbGenre, Qt::Key_Up);
        } else if (c.pick == Jazz) {
            e.cmbGenre->setCurrentIndex(8);
        }
        e.txtArtist[0]->setText(QStringLiteral("Band"));
        e.txtTitle[0]->setText(QStringLiteral("Song"));
        e.txtTitle[1]->setText(QStringLiteral("Song 2"));   // the ID3v2 tag is written too
        e.cmdUpdate_Click();
        EXPECT_TRUE(ui.messages().isEmpty());
        const QByteArray after = readFile(path);
        EXPECT_EQ(int(uchar(after.back())), c.written);
        EXPECT_EQ(frameBytes(after, "TCON"), frameBytes(bytes, "TCON"));
        EXPECT_EQ(v2(path).Title(), QStringLiteral("Song 2"));
        forms().unload<FrmEditTag>();
    }
}

TEST_F(EditTagTest, CopiedTextsAreCutOnlyInTheID3v1TagAndUnchangedFramesStayByteForByte)
{
    const QString long40 = QStringLiteral("A title of exactly forty characters here");
    ASSERT_EQ(long40.size(), 40);
    const QString path = make(QStringLiteral("rich.mp3"),
                              {.artist = QStringLiteral("Band"), .title = long40, .seconds = 0.3, .bitrate = 32, .id3v1 = true,
                               .pictureBytes = QByteArray(300, '\x7F'),
                               .extraFrames = {{"COMM", comment("eng", "first")}, {"COMM", comment("deu", "zweite")}},
                               .padding = 64});
    const QByteArray before = readFile(path);
    FrmEditTag& e = openOn(path);
    EXPECT_EQ(e.txtComments.text(1), QStringLiteral("first\r\nzweite"));   // joined, without the NUL
    e.cmdCopyID32ToID31_Click();
    EXPECT_EQ(e.txtTitle[0]->text(), long40);   // shown whole, though the box takes 30 when typed
    e.txtArtist[1]->setText(QStringLiteral("New Band"));   // the tag is rewritten for this one box
    e.cmdUpdate_Click();
    ASSERT_TRUE(ui.messages().isEmpty()) << lastMessage().toStdString();

    EXPECT_EQ(v1(path).Title(), long40.left(30));
    const clsID3v2 tag = v2(path);
    EXPECT_EQ(tag.Title(), long40);
    EXPECT_EQ(tag.Artist(), QStringLiteral("New Band"));
    EXPECT_EQ(tag.TagsInFrame(QStringLiteral("COMM")), 2);
    const QByteArray after = readFile(path);
    for (const auto& [id, n] : {std::pair<QByteArray, int>{"APIC", 1}, {"COMM", 1}, {"COMM", 2}, {"TIT2", 1}}) {
        SCOPED_TRACE(id.toStdString() + std::to_string(n));
        const QByteArray frame = frameBytes(before, id, n);
        ASSERT_FALSE(frame.isEmpty());
        EXPECT_TRUE(after.contains(frame));
    }
}

TEST_F(EditTagTest, AFailedWriteIsNeverReportedAsDone)
{
    // The ID3v1 tag cannot be appended: nothing else is tried.
    const QString bare = make(QStringLiteral("bare.mp3"), {.title = QStringLiteral("T"), .seconds = 0.3, .bitrate = 32});
    const QByteArray bareBytes = readFile(bare);
    FrmEditTag& e = openOn(bare);
    e.txtArtist[0]->setText(QStringLiteral("Band"));
    e.txtTitle[0]->setText(QStringLiteral("Song"));
    e.txtTitle[1]->setText(QStringLiteral("Song"));
    withFilesLimitedTo(bareBytes.size(), [&] { e.cmdUpdate_Click(); });
    EXPECT_EQ(lastMessage(), kWriteFailed + kNotPerformed);
    EXPECT_EQ(readFile(bare), bareBytes);
    EXPECT_TRUE(forms().isLoaded<FrmEditTag>());

    // The ID3v2 tag has to grow and cannot after the ID3v1 tag was written: the message and
    // the log say so, the row shows the new ID3v1 tag, the window keeps the edits.
    ui.clear();
    const QString both = tagged(QStringLiteral("Music/both.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
    const qint64 size = QFileInfo(both).size();
    FrmEditTag& f = openOn(both);
    const int row = rows().count();
    f.txtArtist[0]->setText(QStringLiteral("Other"));
    f.txtLyrics->setPlainText(QString(5000, u'x'));
    withFilesLimitedTo(size, [&] { f.cmdUpdate_Click(); });
    EXPECT_EQ(lastMessage(), kWriteFailed + QStringLiteral("\r\n\r\n") + both + kOnlyID3v1);
    EXPECT_EQ(lastTitle(), QStringLiteral("Updating Song ID3 Error"));
    EXPECT_EQ(v1(both).Artist(), QStringLiteral("Other"));
    EXPECT_TRUE(v2(both).Lyrics().isEmpty());
    EXPECT_EQ(QFileInfo(both).size(), size);
    EXPECT_EQ(rows().subItem(row, 1), QStringLiteral("Other"));
    EXPECT_TRUE(log().contains(both + QStringLiteral(" ID3v1 tag modified; its ID3v2 tag could not be written.\r\n")));
    EXPECT_FALSE(log().contains(QStringLiteral("ID3 tag modified")));
    ASSERT_TRUE(forms().isLoaded<FrmEditTag>());
    EXPECT_EQ(f.txtLyrics->toPlainText(), QString(5000, u'x'));
    f.cmdClose_Click();

    // The ID3v2 tag holds a frame no version 2.3 tag can keep: the message names it instead
    // of blaming the disk, and the ID3v2 tag is left as it was.
    ui.clear();
    using namespace tagbytes;
    const QByteArray old = tag(2, frame22("TT2", latin1Text("Song")) + frame22("TP1", latin1Text("Band")) + frame22("CRM", QByteArray("owner\0x\0data", 12)));
    const QString refused = writeFile(QStringLiteral("Music/refused.mp3"), old + audio(20));
    FrmEditTag& g = openOn(refused);
    g.txtArtist[0]->setText(QStringLiteral("Band"));
    g.txtTitle[0]->setText(QStringLiteral("Song"));
    g.txtTitle[1]->setText(QStringLiteral("New Song"));
    g.cmdUpdate_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("The ID3v2 tag cannot be saved as version 2.3 without losing its frame \"CRM\", which has no "
                                            "version 2.3 form.\r\n\r\n")
                                 + refused + kOnlyID3v1);
    EXPECT_TRUE(readFile(refused).startsWith(old + audio(20)));
    EXPECT_EQ(v1(refused).Artist(), QStringLiteral("Band"));

    // A download cut off inside its ID3v2 tag: neither tag is written, and the message says why.
    ui.clear();
    const QByteArray cutBytes = tag(4, frame24("TIT2", latin1Text("Cut")) + frame24("APIC", QByteArray(300, '\x89'))).chopped(100);
    const QString cut = writeFile(QStringLiteral("Music/cut.mp3"), cutBytes);
    FrmEditTag& h = openOn(cut);
    h.txtArtist[0]->setText(QStringLiteral("Band"));
    h.txtTitle[0]->setText(QStringLiteral("Song"));
    h.txtTitle[1]->setText(QStringLiteral("Song"));
    h.cmdUpdate_Click();
    EXPECT_EQ(lastMessage(), media::id3v2::cutShortText() + kNotPerformed);
    EXPECT_EQ(readFile(cut), cutBytes);
    EXPECT_FALSE(log().contains(cut));

    // A tag in which no frame can be read is never written over either.
    ui.clear();
    const QByteArray unreadableBytes = tag(3, frame23("TIT2", latin1Text("Song")).replace(4, 4, be32(5000)) + QByteArray(64, '\0')) + audio(20);
    const QString unreadable = writeFile(QStringLiteral("Music/unreadable.mp3"), unreadableBytes);
    FrmEditTag& k = openOn(unreadable);
    k.txtArtist[0]->setText(QStringLiteral("Band"));
    k.txtTitle[0]->setText(QStringLiteral("Song"));
    k.txtTitle[1]->setText(QStringLiteral("Song"));
    k.cmdUpdate_Click();
    EXPECT_EQ(lastMessage(), media::id3v2::unreadableText() + kNotPerformed);
    EXPECT_EQ(readFile(unreadable), unreadableBytes);
}

// A song in a folder that cannot be written to, its ID3v2 tag too small for the lyrics typed:
// Update clicked with the event loop running. What the message says was written is what an
// independent reader finds in the file.
TEST_F(EditTagTest, AHalfWrittenSaveInAReadOnlyFolderSaysWhatTheFileHolds)
{
    SKIP_WITHOUT_REFERENCE_READER();
    const QString path = tagged(QStringLiteral("Music/Locked/song.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
    const QByteArray before = readFile(path);
    addFile(path);
    controls_SelectItem(rows(), 1);
    QString message;
    bool stayed = false;
    ui.modalHandlers.push_back([&](QObject* form) {
        QPointer<FrmEditTag> e = qobject_cast<FrmEditTag*>(form);
        e->show();
        processEvents(20);
        e->txtArtist[0]->setText(QStringLiteral("Other"));
        e->txtLyrics->setPlainText(QString(5000, u'x'));
        {
            const ReadOnlyFolder locked(path, home());
            postClick(e->cmdUpdate);
            processEvents(20);
        }
        message = lastMessage();
        stayed = e && e->isVisible() && e->txtArtist[0]->text() == QLatin1String("Other");
        if (e) e->cmdClose_Click();
    });
    main().tmrWindowUpdate_Timer();
    main().mnuProperties->trigger();

    EXPECT_EQ(message, kWriteFailed + QStringLiteral("\r\n\r\n") + path + kOnlyID3v1);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(rows().subItem(1, 1), QStringLiteral("Other"));
    EXPECT_TRUE(log().contains(path + QStringLiteral(" ID3v1 tag modified; its ID3v2 tag could not be written.\r\n")));
    EXPECT_EQ(QDir(home("Music/Locked")).entryList(QDir::Files | QDir::Hidden), QStringList({QStringLiteral("song.mp3")}));
    // The ID3v2 tag and the audio as they were; only the closing ID3v1 tag is new.
    EXPECT_EQ(readFile(path).chopped(128), before.chopped(128));
    const reference::Frames frames = reference::read(path);
    EXPECT_THAT(frames.value(QStringLiteral("v1:TPE1")).toStdString(), ::testing::HasSubstr("'Other'"));
    EXPECT_THAT(frames.value(QStringLiteral("TPE1")).toStdString(), ::testing::HasSubstr("'Band'"));
    EXPECT_THAT(frames.value(QStringLiteral("TIT2")).toStdString(), ::testing::HasSubstr("'Song'"));
    for (const QString& key : frames.keys()) EXPECT_FALSE(key.startsWith(QLatin1String("USLT"))) << key.toStdString();
}

TEST_F(EditTagTest, SectionsPropertiesAndReload)
{
    const QString path = make(QStringLiteral(".hidden.mp3"), {.artist = QStringLiteral("Band"), .title = QStringLiteral("Song"),
                                                              .genre = QStringLiteral("Rock"), .seconds = 65, .bitrate = 32,
                                                              .id3v1 = true});
    FrmEditTag& e = openOn(path);
    EXPECT_EQ(e.lblTitle->text(), QStringLiteral("Section selected:  View ID3v1:"));
    EXPECT_EQ(e.cmbGenre->currentText(), QStringLiteral("Rock"));
    e.lblSection_Click(1);
    EXPECT_EQ(e.lblTitle->text(), QStringLiteral("Section selected:  View ID3v2:"));
    EXPECT_EQ(e.shownSection(), 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(e.lblSection[size_t(i)]->font().bold(), i == 1);
        EXPECT_EQ(e.lblSection[size_t(i)]->testAttribute(Qt::WA_SetCursor), i != 1);
    }
    e.txtArtist[1]->setText(QStringLiteral("edited"));
    e.cmdReload_Click();
    EXPECT_EQ(e.shownSection(), 1);   // Reload keeps the section
    EXPECT_EQ(e.txtArtist[1]->text(), QStringLiteral("Band"));
    e.lblSection_Click(3);
    EXPECT_EQ(e.lblTitle->text(), QStringLiteral("Section selected:  View Properties:"));
    EXPECT_EQ(e.lblSize->text(), QString::number(QFileInfo(path).size()));
    EXPECT_TRUE(e.lblSizeMB->text().endsWith(QStringLiteral(" MB")));
    EXPECT_EQ(e.lblHidden->text(), QStringLiteral("True"));
    EXPECT_EQ(e.lblReadOnly->text(), QStringLiteral("False"));
    EXPECT_EQ(e.lblLength->text(), QStringLiteral("01:05"));
    EXPECT_FALSE(e.lblFileDateTime->text().isEmpty());
    e.lblSection_Click(4);   // no such section
    EXPECT_EQ(e.shownSection(), 3);
}

TEST_F(EditTagTest, LengthLimitsHoldForTypingOnly)
{
    FrmEditTag& e = openOn(home("Music/none.mp3"));
    QLineEdit* box = e.txtTitle[0];
    box->setText(QString(29, u'a'));
    type(box, QStringLiteral("bc"));
    EXPECT_EQ(box->text(), QString(29, u'a') + u'b');
    box->setText(QString(40, u'a'));   // set by code: whole
    type(box, QStringLiteral("b"));
    EXPECT_EQ(box->text().size(), 40);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &backspace);
    EXPECT_EQ(box->text().size(), 39);
    type(e.txtTrack, QStringLiteral("123456"));
    EXPECT_EQ(e.txtTrack->text(), QStringLiteral("1234"));
    type(e.txtArtist[1], QString(50, u'z'));   // no limit on ID3v2 texts
    EXPECT_EQ(e.txtArtist[1]->text().size(), 50);
}

TEST_F(EditTagTest, PropertiesRefusesThenOpensTheEditorOnTheChosenSection)
{
    const QString a = tagged(QStringLiteral("Music/a.MP3"), QStringLiteral("A"), QStringLiteral("T"));
    const QString b = tagged(QStringLiteral("Music/b.mp3"), QStringLiteral("B"), QStringLiteral("T"));
    const QString wav = writeFile("Music/c.wav", "RIFF");
    for (const QString& p : {a, b, wav}) addFile(p);
    // The checks are Rename Filename's (tested there) with this title and an empty line
    // after the first sentence.
    rows().setSelected(1, true);
    rows().setSelected(2, true);
    main().mnuProperties_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\nThis function will not continue.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Edit ID3 Tag Error"));
    controls_SelectItem(rows(), 2);
    player().setFileName(b);
    main().mnuProperties_Click();
    EXPECT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(lastTitle(), QStringLiteral("Edit ID3 Tag Error"));
    controls_SelectItem(rows(), 3);
    main().mnuProperties_Click();   // other media: the entry editor, not this one
    ASSERT_EQ(ui.count(QStringLiteral("modal")), 1);
    EXPECT_EQ(ui.calls.last().title, QStringLiteral("FrmEditEntry"));

    for (const bool useID3v2 : {false, true}) {
        main().mnuTagsUseID3v2Tags->setChecked(useID3v2);
        controls_SelectItem(rows(), 1);
        QString seen;
        ui.modalHandlers.push_back([&](QObject* form) {
            auto* e = qobject_cast<FrmEditTag*>(form);
            ASSERT_NE(e, nullptr);
            seen = e->txtFilename->text() + u' ' + QString::number(e->Row()) + u' ' + e->lblTitle->text();
        });
        main().mnuProperties_Click();
        EXPECT_EQ(seen, a + QStringLiteral(" 1 Section selected:  View ID3v") + (useID3v2 ? u'2' : u'1') + u':');
        EXPECT_FALSE(forms().isLoaded<FrmEditTag>());   // discarded once closed
    }
}

TEST_F(EditTagTest, RenameHandsTheFileToRenameSong)
{
    const QString path = tagged(QStringLiteral("Music/r.mp3"), QStringLiteral("A"), QStringLiteral("T"));
    addFile(path);
    FrmEditTag& e = openOn(path);
    QString seen;
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* r = qobject_cast<FrmRename*>(form);
        ASSERT_NE(r, nullptr);
        seen = r->txtDirectory->text() + r->txtFilename->text() + u' ' + QString::number(r->Row());
        EXPECT_FALSE(forms().isLoaded<FrmEditTag>());   // the editor went first
    });
    e.cmdRename_Click();
    EXPECT_EQ(seen, path + QStringLiteral(" 2"));
}

// Real clicks through the event loop: the menu item, two section labels, Enter for Update.
TEST_F(EditTagTest, DrivenThroughTheEventLoop)
{
    const QString path = tagged(QStringLiteral("Music/loop.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
    addFile(path);
    controls_SelectItem(rows(), 1);
    QStringList seen;
    bool closed = false;
    ui.modalHandlers.push_back([&](QObject* form) {
        QPointer<FrmEditTag> e = qobject_cast<FrmEditTag*>(form);
        e->show();
        processEvents(20);
        postClick(e->lblSection[1]);
        processEvents(20);
        seen << e->lblTitle->text() << QString::number(e->nfpIDv2TAG->isVisible());
        postClick(e->lblSection[3]);
        processEvents(20);
        seen << e->lblTitle->text() << QString::number(e->nfpProperties->isVisible() && !e->nfpIDv2TAG->isVisible());
        postClick(e->lblSection[1]);
        processEvents(20);
        e->txtAlbum[1]->setText(QStringLiteral("Album Two"));
        e->txtAlbum[1]->setFocus();
        postKey(e->txtAlbum[1], Qt::Key_Return);
        processEvents(20);
        closed = !e || !e->isVisible();
    });
    main().tmrWindowUpdate_Timer();
    main().mnuProperties->trigger();
    EXPECT_EQ(seen, QStringList({QStringLiteral("Section selected:  View ID3v2:"), QStringLiteral("1"),
                                 QStringLiteral("Section selected:  View Properties:"), QStringLiteral("1")}));
    EXPECT_TRUE(closed);
    EXPECT_EQ(v2(path).Album(), QStringLiteral("Album Two"));
    EXPECT_EQ(v2(path).Artist(), QStringLiteral("Band"));
    EXPECT_TRUE(ui.messages().isEmpty());
}

} // namespace

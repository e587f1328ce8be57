#include "library/FrmEditTag.h"
#include "library/FrmMassTagEditor.h"
#include "library/TagEditFixture.h"
#include "media/ReferenceTagReader.h"
#include "media/SyncBatch.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <cerrno>
#include <unistd.h>

namespace {

using veltra::MsgResult;

class MassTagTest : public TagEditTest {
protected:
    FrmMassTagEditor& editor() { return forms().get<FrmMassTagEditor>(); }
    // The editor with a genre chosen and the boxes and options given.
    FrmMassTagEditor& prepare(int genre, const QString& artist = QString(), const QString& album = QString(), bool id3v2 = false,
                              bool clearTitle = false)
    {
        FrmMassTagEditor& m = editor();
        m.lstGenre->setCurrentRow(genre);
        m.txtArtist->setText(artist);
        m.txtAlbum->setText(album);
        m.chkEditID3v2->setChecked(id3v2);
        m.chkClearTitle->setChecked(clearTitle);
        m.chkCloseWindow->setChecked(false);
        return m;
    }
    static QByteArray tail(const QString& path) { return mp3maker::readBytes(path).right(128); }
};

TEST_F(MassTagTest, EmptyBoxesKeepTheID3v1FieldsAndSetTheGenre)
{
    const QString full = make(QStringLiteral("full.mp3"), {.artist = QStringLiteral("Band"), .title = QStringLiteral("Song"),
                                                           .album = QStringLiteral("LP"), .year = QStringLiteral("1990"),
                                                           .comment = QStringLiteral("note"), .seconds = 0.2, .bitrate = 32,
                                                           .id3v1 = true});
    const QString bare = make(QStringLiteral("bare.mp3"), {.title = QStringLiteral("Kept"), .seconds = 0.2, .bitrate = 32});
    const QByteArray fullBefore = readFile(full), bareBefore = readFile(bare);
    addFile(full);
    addFile(bare);
    prepare(17).cmdEditAll_Click();
    const clsID3v1 a = v1(full);
    EXPECT_EQ(QStringList({a.Artist(), a.Title(), a.Album(), a.Year(), a.Comment(), a.Genre()}),
              QStringList({"Band", "Song", "LP", "1990", "note", "Rock"}));
    EXPECT_EQ(readFile(full).size(), fullBefore.size());
    EXPECT_TRUE(readFile(full).startsWith(fullBefore.left(fullBefore.size() - 128)));   // ID3v2 untouched
    EXPECT_EQ(tail(bare), QByteArray("TAG") + QByteArray(124, ' ') + char(17));   // blank fields
    EXPECT_TRUE(readFile(bare).startsWith(bareBefore));
    EXPECT_TRUE(log().contains(full + QStringLiteral(" ID3 tag modified.")));
    EXPECT_TRUE(log().contains(bare + QStringLiteral(" ID3 tag modified.")));
    // One confirmation, exactly worded.
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(lastMessage(), QStringLiteral("All of the songs in the main window will have there tags updated to the details "
                                            "entered.\r\n\r\nDo you wish to continue?\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Mass Tag Editing Confirmation"));
    EXPECT_EQ(ui.messages().back().buttons, int(veltra::MsgButtons::YesNo));
}

// Entered texts go whole into ID3v2; an empty box leaves an ID3v2 frame as it is, unless
// the frame is empty and the ID3v1 tag has the text.
TEST_F(MassTagTest, ID3v2TextsAreNeverCutAndEmptyBoxesLeaveTheirFrames)
{
    const QString artist40 = QStringLiteral("An artist whose name runs to forty chars");
    const QString album45 = QString(45, u'a');
    const QString longAlbum = make(QStringLiteral("long.mp3"), {.artist = QStringLiteral("Band"), .title = QStringLiteral("Song"),
                                                                .album = album45, .seconds = 0.2, .bitrate = 32, .id3v1 = true});
    const QString noV1 = make(QStringLiteral("nov1.mp3"), {.title = QStringLiteral("Own Title"), .seconds = 0.2, .bitrate = 32});
    const QString emptyV2 = make(QStringLiteral("empty.mp3"), {.artist = QStringLiteral("From v1"), .title = QStringLiteral("T1"),
                                                               .seconds = 0.2, .bitrate = 32, .id3v1 = true, .id3v2 = false});
    for (const QString& p : {longAlbum, noV1, emptyV2}) addFile(p);
    prepare(3, QString(), QString(), true).cmdEditAll_Click();
    EXPECT_EQ(v2(longAlbum).Album(), album45);
    EXPECT_EQ(v1(longAlbum).Album(), album45.left(30));
    EXPECT_EQ(v2(noV1).Title(), QStringLiteral("Own Title"));
    EXPECT_EQ(v2(emptyV2).Artist(), QStringLiteral("From v1"));
    EXPECT_EQ(v2(emptyV2).Title(), QStringLiteral("T1"));

    prepare(0, artist40, QString(), true, true).cmdEditAll_Click();
    EXPECT_EQ(v1(longAlbum).Artist(), artist40.left(30));
    EXPECT_EQ(v2(longAlbum).Artist(), artist40);
    for (const QString& p : {longAlbum, noV1, emptyV2}) {
        EXPECT_TRUE(v1(p).Title().isEmpty());
        EXPECT_TRUE(v2(p).Title().isEmpty());
    }
}

// A year entered in either editor is the one date a reference reader reads back, whatever
// frames held the old one: a 2.4 recording time, a 2.3 tag's recording time as some programs
// write it, or a year with its day.
TEST_F(MassTagTest, AYearEnteredIsTheOneDateReadBackInBothEditors)
{
    SKIP_WITHOUT_REFERENCE_READER();
    using namespace tagbytes;
    const QByteArray title = frame23("TIT2", latin1Text("Dated"));
    const struct {
        const char* name;
        QByteArray tag;   // empty: a 2.4 recording time
        const char* shown;
    } songs[] = {
        {"a 2.4 recording time", {}, "2001"},
        {"a 2.3 recording time", tag(3, title + frame23("TDRC", latin1Text("1998")) + QByteArray(512, '\0')), "1998"},
        {"a year and its day", tag(3, title + frame23("TYER", latin1Text("1987")) + frame23("TDAT", latin1Text("3103")) + QByteArray(512, '\0')), "1987"},
    };
    int n = 0;
    for (const auto& song : songs) {
        for (const bool mass : {false, true}) {
            SCOPED_TRACE(std::string(song.name) + (mass ? ", Mass Tag Editor" : ", Edit ID3 Tag"));
            const QString name = QStringLiteral("dated%1.mp3").arg(n++);
            const QString path = song.tag.isEmpty() ? v24Song(name) : writeFile(QStringLiteral("Music/") + name, song.tag + audio(20));
            const int row = addFile(path);
            if (mass) {
                FrmMassTagEditor& m = prepare(0, QString(), QString(), true);
                m.txtYear->setText(QStringLiteral("1999"));
                m.cmdEditAll_Click();
            } else {
                FrmEditTag& e = forms().fresh<FrmEditTag>();
                e.window_GetID3Data(path, row);
                EXPECT_EQ(e.txtYear[1]->text(), QLatin1String(song.shown));
                e.txtArtist[0]->setText(QStringLiteral("Band"));
                e.txtTitle[0]->setText(QStringLiteral("Dated"));
                e.txtYear[1]->setText(QStringLiteral("1999"));
                e.cmdUpdate_Click();
            }
            const clsID3v2 tag = v2(path);
            EXPECT_EQ(tag.Year(), QStringLiteral("1999"));
            EXPECT_EQ(tag.TagsInFrame(QStringLiteral("TYER")) + tag.TagsInFrame(QStringLiteral("TDRC")) + tag.TagsInFrame(QStringLiteral("TDAT")), 1);
            EXPECT_EQ(tag.Title(), QStringLiteral("Dated"));
            EXPECT_EQ(reference::read(path).value(QStringLiteral("TDRC")), QStringLiteral("TDRC(encoding=<Encoding.UTF8: 3>, text=['1999'])"));
        }
    }
}

// A date text that is no timestamp gives no year, but it is the song's date all the same: an
// empty Year box does not put the ID3v1 year in its place.
TEST_F(MassTagTest, ADateThatIsNoTimestampIsNotFilledFromTheID3v1Year)
{
    using namespace tagbytes;
    auto field = [](const char* text, int width) { return QByteArray(text).leftJustified(width, ' '); };
    const QByteArray v1 = "TAG" + field("Song", 30) + field("Band", 30) + field("", 30) + field("1995", 4) + field("", 30) + bytes({2});
    const QString path = writeFile(QStringLiteral("Music/oct.mp3"),
                                   tag(4, frame24("TIT2", latin1Text("Song")) + frame24("TDRC", latin1Text("Oct 3, 1995"))) + audio(20) + v1);
    addFile(path);
    prepare(2, QString(), QStringLiteral("Album"), true).cmdEditAll_Click();
    EXPECT_EQ(v2(path).Album(), QStringLiteral("Album"));
    EXPECT_TRUE(readFile(path).contains(frame23("TDRC", latin1Text("Oct 3, 1995"))));
    EXPECT_EQ(v2(path).TagsInFrame(QStringLiteral("TYER")), 0);
}

TEST_F(MassTagTest, FilesThatCannotBeEditedAreReportedAndTheRunGoesOn)
{
    const QString good = tagged(QStringLiteral("Music/good.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
    const QString wav = writeFile("Music/take.wav", "RIFF");
    const QString missing = home("Music/missing.mp3");
    const QString playing = tagged(QStringLiteral("Music/playing.mp3"), QStringLiteral("P"), QStringLiteral("Q"));
    const QString stuck = make(QStringLiteral("stuck.mp3"), {.title = QStringLiteral("T"), .seconds = 2, .bitrate = 32});
    const QString last = tagged(QStringLiteral("Music/last.mp3"), QStringLiteral("L"), QStringLiteral("M"));
    for (const QString& p : {good, wav, missing, playing, stuck, last}) addFile(p);
    player().setFileName(playing);
    const QByteArray stuckBytes = readFile(stuck), playingBytes = readFile(playing);
    FrmMassTagEditor& m = prepare(5, QStringLiteral("Everyone"));
    // No file may grow past the largest, which has no ID3v1 tag and cannot get one.
    withFilesLimitedTo(QFileInfo(stuck).size(), [&] { m.cmdEditAll_Click(); });

    const QString notEdited = QStringLiteral("\r\n\r\nThis file will not be edited.\r\n");
    QStringList texts;
    for (const auto& c : ui.messages()) texts << c.title + u'|' + c.text;
    EXPECT_EQ(texts.join(u'#'), QStringList({
                         QStringLiteral("Mass Tag Editing Confirmation|All of the songs in the main window will have there tags "
                                        "updated to the details entered.\r\n\r\nDo you wish to continue?\r\n"),
                         QStringLiteral("Mass Tag Editing Error|It has been detected that the song you are trying to edit does "
                                        "not exist:\r\n\r\n") + missing + notEdited,
                         QStringLiteral("Mass Tag Editing Error|It has been detected that the song you are trying to edit is "
                                        "being used by VELTRA:\r\n\r\n") + playing + notEdited,
                         QStringLiteral("Mass Tag Editing Error|An error has occur while trying to write the ID3 Tag.  Make sure "
                                        "that the file is not in use or read-only.\r\n\r\n") + stuck + notEdited,
                     }).join(u'#'));
    EXPECT_EQ(readFile(stuck), stuckBytes);
    EXPECT_EQ(readFile(playing), playingBytes);
    EXPECT_EQ(v1(good).Artist(), QStringLiteral("Everyone"));
    EXPECT_EQ(v1(last).Artist(), QStringLiteral("Everyone"));
    EXPECT_EQ(rows().subItem(6, 1), QStringLiteral("Everyone"));   // rows re-read
    for (const QString& p : {wav, missing, playing, stuck}) EXPECT_FALSE(log().contains(p + QStringLiteral(" ID3 tag")));
    EXPECT_EQ(m.pbBar->maximum(), 6);
    EXPECT_EQ(m.pbBar->value(), 6);
    EXPECT_TRUE(m.pbBar->isVisible() || !m.isVisible());
    EXPECT_TRUE(m.txtArtist->isEnabled());   // the window stays, ready for another run
}

// An ID3v2 tag that cannot grow after the ID3v1 tag was written: the message and the log say
// which tag changed, and the row shows it.
TEST_F(MassTagTest, AnID3v2WriteThatFailsAfterTheID3v1OneSaysWhatWasWritten)
{
    const QString half = make(QStringLiteral("half.mp3"), {.artist = QStringLiteral("Band"), .title = QStringLiteral("Song"),
                                                           .seconds = 0.2, .bitrate = 32, .id3v1 = true});
    const QByteArray before = readFile(half);
    addFile(half);
    FrmMassTagEditor& m = prepare(5, QStringLiteral("A much longer artist than before"), QString(), true);
    withFilesLimitedTo(before.size(), [&] { m.cmdEditAll_Click(); });

    EXPECT_EQ(lastMessage(), QStringLiteral("An error has occur while trying to write the ID3 Tag.  Make sure that the file is not "
                                            "in use or read-only.\r\n\r\n")
                                 + half + QStringLiteral("\r\n\r\nOnly the ID3v1 tag of this file was edited; its ID3v2 tag is as it was.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Mass Tag Editing Error"));
    EXPECT_TRUE(log().contains(half + QStringLiteral(" ID3v1 tag modified; its ID3v2 tag could not be written.\r\n")));
    EXPECT_FALSE(log().contains(half + QStringLiteral(" ID3 tag modified.")));
    EXPECT_EQ(v1(half).Artist(), QStringLiteral("A much longer artist than before").left(30));
    EXPECT_EQ(readFile(half).chopped(128), before.chopped(128));   // the ID3v2 tag and the audio as they were
    EXPECT_EQ(rows().subItem(1, 1), v1(half).Artist());   // the row re-read
}

// A tag that grows goes through a copy of the song, and the ID3v1 tag goes into the same copy:
// when the copy is complete the song still holds both old tags, so a save cut off at any moment
// leaves the old song or the new one.
TEST_F(MassTagTest, ASaveThroughACopyTakesTheID3v1TagIntoTheCopyInBothEditors)
{
    struct CopyHook {
        explicit CopyHook(std::function<void()> f) { media::id3v2::setCopyFinishedHook(std::move(f)); }
        ~CopyHook() { media::id3v2::setCopyFinishedHook(nullptr); }
    };
    const QString artist = QStringLiteral("A much longer artist than before");
    for (const bool mass : {false, true}) {
        SCOPED_TRACE(mass ? "Mass Tag Editor" : "Edit ID3 Tag");
        const QString path = make(QStringLiteral("grown%1.mp3").arg(mass), {.artist = QStringLiteral("Band"), .title = QStringLiteral("Song"),
                                                                            .seconds = 0.5, .bitrate = 32, .id3v1 = true});
        const QByteArray before = readFile(path);
        const int row = addFile(path);
        QByteArray songThen, copyThen;
        const CopyHook hook([&] {
            songThen = readFile(path);
            const QDir folder = QFileInfo(path).dir();
            for (const QString& name : folder.entryList({QStringLiteral(".veltra-tag-*")}, QDir::Files | QDir::Hidden))
                copyThen = readFile(folder.filePath(name));
        });
        if (mass) {
            prepare(5, artist, QString(), true).cmdEditAll_Click();
        } else {
            FrmEditTag& e = forms().fresh<FrmEditTag>();
            e.window_GetID3Data(path, row);
            e.txtArtist[0]->setText(artist);
            e.txtArtist[1]->setText(artist);
            e.cmdUpdate_Click();
        }
        EXPECT_TRUE(songThen == before) << "the song's ID3v1 tag then: " << songThen.right(125).left(60).constData();
        EXPECT_EQ(copyThen, readFile(path));   // the copy took the song's place, both tags new
        EXPECT_EQ(v1(path).Artist(), artist.left(30));
        EXPECT_EQ(v2(path).Artist(), artist);
        EXPECT_TRUE(log().contains(path + QStringLiteral(" ID3 tag modified.\r\n")));
    }
}

// The songs of a run reach the disk together: one flush of their file system when the run
// ends, no file left open. A write the disk fails by then is the run's failure, and is said.
TEST_F(MassTagTest, ARunFlushesItsSongsOnceAtItsEndAndReportsAFailedFlush)
{
    QStringList paths;
    for (int i = 0; i < 4; ++i) {
        paths << make(QStringLiteral("roomy%1.mp3").arg(i), {.artist = QStringLiteral("Band"), .title = QStringLiteral("Song"),
                                                             .seconds = 0.2, .bitrate = 32, .id3v1 = true, .padding = 512});
        addFile(paths.back());
    }
    int flushes = 0;
    int diskError = 0;
    struct FlushHook {
        explicit FlushHook(std::function<int(int)> f) { media::SyncBatch::setFlushForTests(std::move(f)); }
        ~FlushHook() { media::SyncBatch::setFlushForTests(nullptr); }
    } hook([&](int fd) {
        ++flushes;
        return ::syncfs(fd) == 0 ? diskError : errno;
    });
    // The songs' folder as the open descriptors name it.
    const auto songsOpen = [&] {
        int n = 0;
        const QString music = QFileInfo(paths[0]).canonicalPath();
        for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::Files | QDir::System))
            n += fd.symLinkTarget().startsWith(music);
        return n;
    };
    const qint64 sizeBefore = QFileInfo(paths[0]).size();

    prepare(5, QStringLiteral("Everyone"), QString(), true).cmdEditAll_Click();
    EXPECT_EQ(flushes, 1);
    EXPECT_EQ(songsOpen(), 0);
    EXPECT_EQ(ui.messages().size(), 1);   // the confirmation alone
    for (const QString& p : paths) {
        EXPECT_EQ(v1(p).Artist(), QStringLiteral("Everyone"));
        EXPECT_EQ(v2(p).Artist(), QStringLiteral("Everyone"));
        EXPECT_EQ(QFileInfo(p).size(), sizeBefore);   // in place
    }

    diskError = EIO;
    prepare(6, QStringLiteral("Nobody"), QString(), true).cmdEditAll_Click();
    EXPECT_EQ(flushes, 2);
    EXPECT_EQ(lastTitle(), QStringLiteral("Mass Tag Editing Error"));
    EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that not all of the changed tags could be written to the disk "
                                            "(Device I/O error).\r\n\r\nCheck the disk, then edit the songs again.\r\n"));
}

TEST_F(MassTagTest, NothingHappensWhilePlayingOrWithoutAGenreOrAYes)
{
    main().mnuPlaylistEditAllTags_Click();   // an empty playlist: nothing
    EXPECT_EQ(ui.count(QStringLiteral("modal")), 0);
    const QString path = tagged(QStringLiteral("Music/s.mp3"), QStringLiteral("Band"), QStringLiteral("Song"));
    const QByteArray bytes = readFile(path);
    addFile(path);
    playRow(1);
    player().Pause();
    main().mnuPlaylistEditAllTags_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("You cannot use this option while VELTRA is playing music.\r\n\r\n"
                                            "This function will not continue.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Edit All ID3 Tags Error"));
    EXPECT_EQ(ui.count(QStringLiteral("modal")), 0);
    player().Stop();
    player().setFileName(QString());
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* m = qobject_cast<FrmMassTagEditor*>(form);
        ASSERT_NE(m, nullptr);
        m->txtArtist->setText(QStringLiteral("X"));
        m->cmdEditAll_Click();
        EXPECT_EQ(lastMessage(), QStringLiteral("It has been detected that you have not selected a Genre.\r\n\r\n"
                                                "This function will not be proformed.\r\n"));
        EXPECT_EQ(lastTitle(), QStringLiteral("Mass Tag Editing Error"));
        m->lstGenre->setCurrentRow(1);
        ui.msgAnswers.push_back(MsgResult::No);
        m->cmdEditAll_Click();
        EXPECT_TRUE(m->pbBar->isHidden());
    });
    main().mnuPlaylistEditAllTags_Click();
    EXPECT_EQ(ui.count(QStringLiteral("modal")), 1);
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_FALSE(forms().isLoaded<FrmMassTagEditor>());   // discarded once closed
}

// Real clicks: a genre, "Edit All »"; while the run goes, Close, Esc and a second Edit All
// do nothing; the progress bar ends on the last row and the window stays for another run.
TEST_F(MassTagTest, DrivenThroughTheEventLoop)
{
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths << tagged(QStringLiteral("Music/s%1.mp3").arg(i), QStringLiteral("Band"), QStringLiteral("Song"));
        addFile(paths.back());
    }
    QList<int> progress;
    bool openAfterRun = false, enabledAfterRun = false;
    ui.modalHandlers.push_back([&](QObject* form) {
        QPointer<FrmMassTagEditor> m = qobject_cast<FrmMassTagEditor*>(form);
        m->chkCloseWindow->setChecked(false);
        m->txtArtist->setText(QStringLiteral("Clicked"));
        m->show();
        processEvents(20);
        QListWidget* list = m->lstGenre;
        postClickAt(list->viewport(), list->visualItemRect(list->item(2)).center());
        processEvents(20);
        // While the first row is edited Close and Edit All are clicked and Esc is pressed; the
        // run lets them in before the next row.
        QObject::connect(m->pbBar, &QProgressBar::valueChanged, [&, m](int v) {
            progress << v;
            if (v != 1) return;
            QMetaObject::invokeMethod(m->cmdClose, &QAbstractButton::click, Qt::QueuedConnection);
            postKey(m.data(), Qt::Key_Escape);
            QMetaObject::invokeMethod(m->cmdEditAll, &QAbstractButton::click, Qt::QueuedConnection);
            QThread::msleep(60);
        });
        postClick(m->cmdEditAll);
        processEvents(50);
        openAfterRun = m && m->isVisible();
        enabledAfterRun = m && m->lstGenre->isEnabled() && m->cmdEditAll->isEnabled();
        if (m) m->cmdClose_Click();
    });
    main().mnuPlaylistEditAllTags->trigger();
    EXPECT_TRUE(openAfterRun);
    EXPECT_TRUE(enabledAfterRun);
    EXPECT_EQ(progress, QList<int>({0, 1, 2, 3}));
    EXPECT_EQ(ui.messages().size(), 1);   // one confirmation: the second click started nothing
    for (const QString& p : paths) {
        EXPECT_EQ(v1(p).Artist(), QStringLiteral("Clicked"));
        EXPECT_EQ(v1(p).Genre(), QStringLiteral("Country"));
    }
    EXPECT_FALSE(forms().isLoaded<FrmMassTagEditor>());
}

// Songs tagged by other programs, edited through the window: the frames of an older iTunes
// (version 2.2), musician credits, an encrypted frame, several values and a grouped frame all
// reach the saved version 2.3 tag, as a reference reader reads it; a song whose tag holds a
// frame no version 2.3 tag can hold keeps every byte, and the message names the frame; a tag
// header announcing an extended header that is not there is read all the same; a download cut
// off inside its tag, and a tag in which no frame can be read, keep every byte, their ID3v1
// tags unwritten, and are not logged.
TEST_F(MassTagTest, OtherProgramsFramesAreKeptOrTheSaveRefusedThroughTheWindow)
{
    SKIP_WITHOUT_REFERENCE_READER();
    using namespace tagbytes;
    const QByteArray nul(1, '\0');
    const QByteArray secret = bytes({0x13, 0xFF, 0x00, 0x42, 0x99});
    const QByteArray encr = QByteArray("http://keys.example") + nul + bytes({0x80});
    // An ID3v1 tag as the editor writes it (blank-padded, genre Country): rewritten, no byte changes.
    auto field = [](const char* text, int width) { return QByteArray(text).leftJustified(width, ' '); };
    const QByteArray v1 = "TAG" + field("Song", 30) + field("Band", 30) + field("Album", 30) + field("", 4) + field("", 30) + bytes({2});
    const QByteArray itunes = frame22("TCP", latin1Text("1")) + frame22("TST", latin1Text("Song, The")) + frame22("TSP", latin1Text("Band, The"))
        + frame22("TSA", latin1Text("Album, The")) + frame22("TS2", latin1Text("Various")) + frame22("TSC", latin1Text("Writer, The"));
    const struct {
        const char* name;
        QByteArray tag;
    } songs[] = {
        {"itunes.mp3", tag(2, frame22("TT2", latin1Text("Song")) + frame22("TP1", latin1Text("Band")) + itunes)},
        {"credits.mp3", tag(4, frame24("TIT2", latin1Text("Song")) + frame24("TPE1", latin1Text("Band"))
                                   + frame24("TIPL", bytes({3}) + "producer" + nul + "Someone") + frame24("TMCL", bytes({3}) + "guitar" + nul + "Joe"))},
        {"encrypted.mp3", tag(4, frame24("TIT2", latin1Text("Song")) + frame24("TPE1", latin1Text("Band")) + frame24("ENCR", encr)
                                     + frame24("PRIV", bytes({0x80}) + syncsafe(12) + bytes({0x13, 0xFF, 0x00, 0x00, 0x42, 0x99}), 0, 0x07))},
        {"values.mp3", tag(4, frame24("TIT2", latin1Text("Song")) + frame24("TPE1", latin1Text("Band")) + frame24("TCON", bytes({3}) + "17" + nul + "Jazz")
                                  + frame24("TXXX", bytes({3}) + "MusicBrainz Artist Id" + nul + "id-one" + nul + "id-two")
                                  + frame24("GRID", QByteArray("http://group.example") + nul + bytes({0x85})) + frame24("PRIV", bytes({0x85}) + "me" + nul + "x", 0, 0x40))},
        {"extended.mp3", tag(4, frame24("TIT2", latin1Text("Song")) + frame24("TPE1", latin1Text("Band")) + frame24("TRCK", latin1Text("7"))
                                    + frame24("PRIV", bytes({0x85}) + "me" + nul + "x"), 0x40)},
        {"refused.mp3", tag(2, frame22("TT2", latin1Text("Song")) + frame22("TP1", latin1Text("Band")) + frame22("CRM", QByteArray("owner\0x\0data", 12)))},
    };
    QStringList paths;
    for (const auto& song : songs) {
        paths << writeFile(QStringLiteral("Music/") + QLatin1String(song.name), song.tag + audio(20) + v1);
        addFile(paths.back());
    }
    const QString refused = paths.back();
    const QByteArray refusedBytes = readFile(refused);
    const QByteArray cutBytes = tag(4, frame24("TIT2", latin1Text("Cut")) + frame24("APIC", QByteArray(300, '\x89'))).chopped(100);
    const QByteArray unreadableBytes = tag(3, frame23("TIT2", latin1Text("Song")).replace(4, 4, be32(5000)) + QByteArray(64, '\0')) + audio(20);
    const QString unreadable = writeFile(QStringLiteral("Music/unreadable.mp3"), unreadableBytes);
    addFile(unreadable);
    const QString cut = writeFile(QStringLiteral("Music/cut.mp3"), cutBytes);
    addFile(cut);
    const QMap<QString, reference::Frames> before = reference::read(paths);
    ASSERT_EQ(before.value(paths[0]).value(QStringLiteral("TCMP")), QStringLiteral("TCMP(encoding=<Encoding.UTF8: 3>, text=['1'])"));

    ui.modalHandlers.push_back([&](QObject* form) {
        QPointer<FrmMassTagEditor> m = qobject_cast<FrmMassTagEditor*>(form);
        m->txtAlbum->setText(QStringLiteral("Album"));   // the ID3v1 album already: only the ID3v2 tags change
        m->chkEditID3v2->setChecked(true);
        m->show();
        processEvents(20);
        QListWidget* list = m->lstGenre;
        postClickAt(list->viewport(), list->visualItemRect(list->item(2)).center());
        processEvents(20);
        postClick(m->cmdEditAll);
        processEvents(50);
    });
    main().mnuPlaylistEditAllTags->trigger();

    ASSERT_EQ(ui.messages().size(), 4);   // the confirmation, then the three refusals
    EXPECT_EQ(ui.messages()[1].text, QStringLiteral("The ID3v2 tag cannot be saved as version 2.3 without losing its frame \"CRM\", which has no "
                                                    "version 2.3 form.\r\n\r\n")
                                         + refused + QStringLiteral("\r\n\r\nOnly the ID3v1 tag of this file was edited; its ID3v2 tag is as it was.\r\n"));
    EXPECT_EQ(readFile(refused), refusedBytes);
    EXPECT_TRUE(log().contains(refused + QStringLiteral(" ID3v1 tag modified; its ID3v2 tag could not be written.\r\n")));
    EXPECT_EQ(ui.messages()[2].text, media::id3v2::unreadableText() + QStringLiteral("\r\n\r\n") + unreadable
                                         + QStringLiteral("\r\n\r\nThis file will not be edited.\r\n"));
    EXPECT_EQ(readFile(unreadable), unreadableBytes);
    EXPECT_FALSE(log().contains(unreadable));
    EXPECT_EQ(lastMessage(), QStringLiteral("The ID3v2 tag claims more bytes than the file holds (the file may have been cut off inside it): "
                                            "a new tag written over it would destroy the rest of the file.\r\n\r\n")
                                 + cut + QStringLiteral("\r\n\r\nThis file will not be edited.\r\n"));
    EXPECT_EQ(readFile(cut), cutBytes);
    EXPECT_FALSE(log().contains(cut));

    const QMap<QString, reference::Frames> after = reference::read(paths);
    for (const QString& path : paths.mid(0, paths.size() - 1)) {
        SCOPED_TRACE(path.toStdString());
        const reference::Frames& a = after.value(path);
        EXPECT_EQ(a.value(QStringLiteral("version")), QStringLiteral("2.3"));
        EXPECT_EQ(a.value(QStringLiteral("TALB")), QStringLiteral("TALB(encoding=<Encoding.UTF8: 3>, text=['Album'])"));
        for (auto [key, fields] : before.value(path).asKeyValueRange()) {
            if (key == QLatin1String("version") || key == QLatin1String("TIPL") || key == QLatin1String("TMCL")) continue;
            // Several user-text values are one in version 2.3, joined as the reader's own conversion joins them.
            EXPECT_EQ(a.value(key), key.startsWith(QLatin1String("TXXX")) ? QString(fields).replace(QLatin1String("', '"), QLatin1String("/")) : fields)
                << key.toStdString();
        }
    }
    // Musicians join the people involved in the one list version 2.3 has.
    EXPECT_EQ(after.value(paths[1]).value(QStringLiteral("TIPL")),
              QStringLiteral("TIPL(encoding=<Encoding.UTF8: 3>, people=[['producer', 'Someone'], ['guitar', 'Joe']])"));
    EXPECT_FALSE(after.value(paths[1]).contains(QStringLiteral("TMCL")));
    // The encrypted frame: method byte and data as they were, unsynchronisation undone.
    const QByteArray saved = readFile(paths[2]);
    EXPECT_TRUE(saved.contains(frame23("PRIV", bytes({0x80}) + secret, 0, 0x40)));
    EXPECT_TRUE(saved.contains(frame23("ENCR", encr)));
}

} // namespace

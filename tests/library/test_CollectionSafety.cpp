// A collection as users keep one (every tag layout, awkward and clashing names, links) put
// through every tool that edits, renames, moves or copies songs: after each step every song's
// audio is still on the disk byte for byte, and the saved playlist names the files as they are.
#include "common/ListViewModel.h"
#include "common/modListFiles.h"
#include "library/FrmEditTag.h"
#include "library/FrmMassRenamer.h"
#include "library/FrmMassTagEditor.h"
#include "library/FrmMoveToFolder.h"
#include "library/OrganiseFixture.h"
#include "media/ReferenceTagReader.h"
#include "media/TagBytes.h"
#include "media/clsID3v2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <algorithm>
#include <map>
#include <set>

namespace {

using namespace tagbytes;

// The bytes after the leading ID3v2 tags (and the zero bytes behind them) and before a closing
// ID3v1 tag: what no tool may change.
QByteArray audioOf(QByteArray b)
{
    while (b.size() >= 10 && b.startsWith("ID3")) {
        const auto* p = reinterpret_cast<const uchar*>(b.constData());
        b.remove(0, 10 + ((qint64(p[6] & 0x7F) << 21) | (p[7] << 14) | (p[8] << 7) | p[9]) + ((p[5] & 0x10) ? 10 : 0));
    }
    qsizetype zeros = 0;
    while (zeros < b.size() && b[zeros] == '\0') ++zeros;
    b.remove(0, zeros);
    if (b.size() >= 128 && b.right(128).startsWith("TAG")) b.chop(128);
    return b;
}

QByteArray utf8(const QString& s) { return QByteArray(1, '\3') + s.toUtf8(); }

class CollectionTest : public OrganiseTest {
protected:
    std::set<QByteArray> songs;   // each song's audio: its own number of frames

    void put(const QString& rel, const QByteArray& tagged, const QByteArray& audio, const QByteArray& v1)
    {
        const QString path = home(QStringLiteral("Collection/") + rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(mp3maker::writeBytes(path, tagged + audio + v1));
        songs.insert(audioOf(tagged + audio + v1));
    }

    // Version 2.2, 2.3 (padded, with a picture), 2.4 (footer, extended header), ID3v1 only,
    // none; artists with every awkward character, titles that clash once renamed.
    void buildCollection()
    {
        const QStringList artists = {QStringLiteral("Björk"), QStringLiteral("坂本龍一"), QStringLiteral("AC/DC"),
                                     QStringLiteral("\"Weird Al\", & Co #1"), QStringLiteral("...Trail"), QStringLiteral("A:B<C>|D*\t")};
        const QStringList titles = {QStringLiteral("Dup"), QStringLiteral("Ça va?"), QStringLiteral("x").repeated(300)};
        int n = 0;
        for (const QString& a : artists) {
            for (const QString& t : titles) {
                for (int form = 0; form < 5; ++form, ++n) {
                    const QByteArray audio =
                        mp3maker::audioFrames({.seconds = (3 + n) * 1152.0 / 32000.0, .bitrate = 32, .sampleRate = 32000});
                    const QByteArray v1 = n % 2 ? mp3maker::id3v1Tag({.artist = a, .title = t, .genre = QStringLiteral("Rock")}) : QByteArray();
                    const QString rel = QStringLiteral("F%1/song %2 's, & #.mp3").arg(n % 4).arg(n);
                    QByteArray tag;
                    if (form == 0) {
                        tag = tag22(a, t);
                    } else if (form == 1) {
                        mp3maker::Song s{.artist = a, .title = t, .album = QStringLiteral("Album"), .padding = n % 3 ? 0 : 900};
                        if (n % 2) s.pictureBytes = QByteArray(3000, '\xFF');
                        // Frames no editor shows, and a genre of its own.
                        s.extraFrames = {{"TCON", QByteArray("\0(80)Folk", 9)},
                                         {"TXXX", QByteArray("\0MOOD\0calm", 10)},
                                         {"PRIV", QByteArray("owner\0\1\2\3", 9)},
                                         {"POPM", QByteArray("me@x\0\xC8\0\0\0\7", 10)}};
                        tag = mp3maker::id3v2Tag(s);
                    } else if (form == 2) {
                        tag = tag24(a, t, n % 2, n % 3 == 0);
                    }
                    put(rel, tag, audio, form == 4 ? QByteArray() : v1);
                }
            }
        }
        // Songs tagged by other programs: comments and lyrics in several languages, machine
        // data in described comments, 2.4 frames without a 2.3 twin, an ID3v1.1 track.
        const QByteArray rich[] = {richTag(2), richTag(3), richTag(4)};
        for (const QByteArray& tagged : rich) {
            mp3maker::Song s{.artist = QStringLiteral("Other"), .title = QStringLiteral("Rich"), .genre = QStringLiteral("Rock"),
                             .comment = QStringLiteral("v1 note"), .seconds = (3 + n) * 1152.0 / 32000.0, .bitrate = 32, .sampleRate = 32000,
                             .id3v1 = true};
            QByteArray v1 = mp3maker::id3v1Tag(s);
            v1[126] = char(n);   // after the zero byte that ends the comment: an ID3v1.1 track
            put(QStringLiteral("F%1/rich %2.mp3").arg(n % 4).arg(n), tagged, mp3maker::audioFrames(s), v1);
            ++n;
        }
        // A name as long as a name can be.
        put(QStringLiteral("F0/") + QStringLiteral("é").repeated(125) + QStringLiteral("x.mp3"), tag24(QStringLiteral("Long"), QStringLiteral("Name"), false, false),
            mp3maker::audioFrames({.seconds = 0.9, .bitrate = 32, .sampleRate = 44100}), QByteArray());
        QFile::link(home(QStringLiteral("Collection/F1/song 1 's, & #.mp3")), home(QStringLiteral("Collection/F2/link.mp3")));
    }
    static QByteArray tag22(const QString& a, const QString& t)
    {
        return tag(2, frame22("TT2", QByteArray(1, '\0') + t.toLatin1()) + frame22("TP1", QByteArray(1, '\0') + a.toLatin1())
                          + frame22("PIC", QByteArray("\0JPG\3\0", 6) + QByteArray(200, '\xFF')) + QByteArray(100, '\0'));
    }
    // A tag of the version with the frames other programs write beside the common ones.
    static QByteArray richTag(int version)
    {
        const QByteArray encoding(1, version == 4 ? '\3' : '\0');
        auto text = [&](const char* t) { return encoding + t; };
        auto comm = [&](const char* language, const char* description, const char* t) {
            return encoding + language + description + QByteArray(1, '\0') + t;
        };
        auto frame = [&](const char* id23, const char* id22, const QByteArray& body) {
            return version == 2 ? frame22(id22, body) : version == 3 ? frame23(id23, body) : frame24(id23, body);
        };
        QByteArray f = frame("TIT2", "TT2", text("Rich")) + frame("TPE1", "TP1", text("Other Program"));
        if (version == 4) f += frame("TDRC", "", text("1999-05-06T12:34:00"));
        else f += frame("TYER", "TYE", text("1999")) + frame("TDAT", "TDA", text("0605"));
        f += frame("TRCK", "TRK", text("3/12"));
        f += frame("COMM", "COM", comm("eng", "iTunNORM", " 0000044E 00000000 0000377A"));
        f += frame("COMM", "COM", comm("deu", "", "Kommentar"));
        f += frame("COMM", "COM", comm("eng", "iTunSMPB", " 00000000 00000210 000007C0"));
        f += frame("USLT", "ULT", comm("eng", "", "English words"));
        f += frame("USLT", "ULT", comm("deu", "", "Deutsche Worte"));
        f += frame("TXXX", "TXX", encoding + "REPLAYGAIN_TRACK_GAIN" + QByteArray(1, '\0') + "-6.50 dB");
        f += frame("UFID", "UFI", QByteArray("http://ids.example") + QByteArray(1, '\0') + "5b1f");
        if (version > 2) f += frame("PRIV", "", QByteArray("WM/MediaClassPrimaryID") + QByteArray(1, '\0') + QByteArray(16, '\xBC'));
        if (version == 4) {
            f += frame("TSOP", "", text("Program, Other")) + frame("TSOA", "", text("Album, The")) + frame("TSOT", "", text("Rich, The"));
            f += frame("TMOO", "", text("Calm")) + frame("TIPL", "", text("producer") + QByteArray(1, '\0') + "Someone");
            f += frame("RVA2", "", QByteArray("track") + bytes({0, 1, 0xFF, 0, 0}));
        }
        return tag(version, f + QByteArray(200, '\0'));
    }
    static QByteArray tag24(const QString& a, const QString& t, bool footer, bool extended)
    {
        const QByteArray data = (extended ? syncsafe(6) + bytes({1, 0}) : QByteArray()) + frame24("TIT2", utf8(t))
                                + frame24("TPE1", utf8(a)) + frame24("TDRC", utf8(QStringLiteral("2011-02-03")))
                                + (footer ? QByteArray() : QByteArray(300, '\0'));
        const int flags = (footer ? 0x10 : 0) | (extended ? 0x40 : 0);
        return tag(4, data, flags) + (footer ? QByteArray("3DI") + bytes({4, 0, flags}) + syncsafe(quint32(data.size())) : QByteArray());
    }

    // Each song's ID3v2 frames: the texts of every entry, by frame ID. Tags of versions 2.2 and
    // 2.4 are left out: their frames change form when written as version 2.3.
    using Frames = std::map<QString, std::map<QString, QStringList>>;
    Frames framesOfRows()
    {
        Frames out;
        for (int r = 1; r <= rows().count(); ++r) {
            clsID3v2 t;
            t.setFilename(fileOfRow(r));
            if (t.HasID3v2Tag() && t.ID3v2TagVersion() != 3) continue;
            auto& frames = out[fileOfRow(r)];
            for (int i = 1; i <= t.FrameCount(); ++i)
                for (int n = 1; n <= t.TagsInFrame(t.Frame(i)); ++n) frames[t.Frame(i)].append(t.id3v2_GetTagText(t.Frame(i), n));
        }
        return out;
    }
    // Every frame of `before` but those of the IDs asked for is in `after` as it was.
    static void expectFramesKept(const Frames& before, const Frames& after, const std::set<QString>& asked, const char* step)
    {
        SCOPED_TRACE(step);
        for (const auto& [path, frames] : before)
            for (const auto& [id, texts] : frames)
                if (!asked.count(id)) {
                    EXPECT_EQ(after.at(path).count(id) ? after.at(path).at(id) : QStringList(), texts) << path.toStdString() << " " << id.toStdString();
                }
    }

    QStringList filesUnder(const QString& folder)
    {
        QStringList out;
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) out << it.next();
        return out;
    }

    void expectEverySongWhole(const char* step)
    {
        SCOPED_TRACE(step);
        std::set<QByteArray> found;
        for (const QString& f : filesUnder(home()))
            if (!QFileInfo(f).isSymLink()) found.insert(audioOf(mp3maker::readBytes(f)));
        int lost = 0;
        for (const QByteArray& a : songs) lost += found.count(a) ? 0 : 1;
        EXPECT_EQ(lost, 0);
        // The saved playlist is the list as shown, and its rows name files that are there.
        ListViewModel saved;
        saved.setColumns({"No.", "Artist", "Title", "Year", "Status", "Length", "Filename"});
        ASSERT_TRUE(controls_LoadListView(saved, home("Playlists/Collection.spp")));
        ASSERT_EQ(saved.count(), rows().count());
        for (int r = 1; r <= saved.count(); ++r) {
            EXPECT_EQ(saved.cells(r), rows().cells(r));
            if (!fileOfRow(r).endsWith(QLatin1String("link.mp3"))) {
                EXPECT_TRUE(QFile::exists(fileOfRow(r))) << fileOfRow(r).toStdString();
            }
        }
    }
};

TEST_F(CollectionTest, EveryToolKeepsEverySongAndThePlaylistFollows)
{
    buildCollection();
    QStringList files = filesUnder(home(QStringLiteral("Collection")));
    files.sort();
    for (const QString& f : files) addFile(f);
    main().playlist_ShowMP3Data(false);
    namePlaylist(QStringLiteral("Collection"));
    main().mnuSave_Click();

    const Frames original = framesOfRows();
    EXPECT_GT(std::count_if(original.begin(), original.end(), [](const auto& song) { return song.second.count(QStringLiteral("PRIV")) > 0; }), 10);
    FrmMassTagEditor& tags = forms().fresh<FrmMassTagEditor>();
    tags.txtAlbum->setText(QStringLiteral("Greatest Hits"));
    tags.chkEditID3v2->setChecked(true);
    tags.lstGenre->setCurrentRow(17);
    tags.cmdEditAll_Click();
    expectEverySongWhole("mass tag editor");
    const Frames massEdited = framesOfRows();
    expectFramesKept(original, massEdited, {QStringLiteral("TALB")}, "mass tag editor");

    // Each tag grown far beyond its room, through a copy of the song, then shrunk in place.
    for (const QString& lyric : {QStringLiteral("la ").repeated(3000), QStringLiteral("short")}) {
        for (int r = 1; r <= rows().count(); ++r) {
            FrmEditTag& e = forms().fresh<FrmEditTag>();
            e.window_GetID3Data(fileOfRow(r), r);
            for (QLineEdit* box : {e.txtArtist[0], e.txtTitle[0]})
                if (box->text().isEmpty()) box->setText(QStringLiteral("Filled"));
            e.txtLyrics->setPlainText(lyric);
            e.cmdUpdate_Click();
            if (!QFileInfo(fileOfRow(r)).isSymLink()) {
                clsID3v2 t;
                t.setFilename(fileOfRow(r));
                EXPECT_EQ(t.Lyrics(), lyric) << fileOfRow(r).toStdString();
                EXPECT_EQ(t.Album(), QStringLiteral("Greatest Hits")) << fileOfRow(r).toStdString();
            }
        }
        expectEverySongWhole("edit tag");
        expectFramesKept(massEdited, framesOfRows(), {QStringLiteral("USLT")}, "edit tag");
    }

    // Every pattern, so names clash with files renamed before.
    for (int pattern = 0; pattern < 7; ++pattern) {
        FrmMassRenamer& m = forms().fresh<FrmMassRenamer>();
        m.cmbFilename->setCurrentIndex(pattern);
        m.chkUseID3v2->setChecked(pattern % 2);
        m.chkAddNumbers->setChecked(pattern == 3);
        m.cmdRename_Click();
        expectEverySongWhole("mass renamer");
    }

    for (const bool copy : {true, false}) {
        FrmMoveToFolder& m = forms().fresh<FrmMoveToFolder>();
        m.opOptions[1]->setChecked(true);
        m.opOptions_Click(1);
        m.txtSearch->setText(QStringLiteral("greatest hits"));
        m.txtDestination->setText(home(copy ? QStringLiteral("Copies") : QStringLiteral("Moved")));
        m.chkCopyFiles->setChecked(copy);
        m.chkSearchID3v2->setChecked(true);
        m.cmdMove_Click();
        main().mnuSave_Click();
        expectEverySongWhole(copy ? "copy to folder" : "move to folder");
    }
    EXPECT_GT(filesUnder(home(QStringLiteral("Moved"))).size(), 40);
}

// What the tag editors were not asked to change, a reference reader finds as it was: every
// frame of every layout (ID3v2 and ID3v1), whatever the version the tag is saved in.
TEST_F(CollectionTest, TheTagEditorsKeepEveryFrameTheyWereNotAskedToChange)
{
    SKIP_WITHOUT_REFERENCE_READER();
    buildCollection();
    QStringList files;
    for (const QString& f : filesUnder(home(QStringLiteral("Collection"))))
        if (!QFileInfo(f).isSymLink()) files << f;
    files.sort();
    for (const QString& f : files) addFile(f);

    // Every frame read before, but for those the step may change, reads the same after it.
    auto expectKept = [&](const QMap<QString, reference::Frames>& before, const char* step, auto changes) {
        SCOPED_TRACE(step);
        const QMap<QString, reference::Frames> after = reference::read(files);
        EXPECT_EQ(after.size(), files.size());
        for (const QString& f : files) {
            const reference::Frames& b = before.value(f);
            const reference::Frames& a = after.value(f);
            EXPECT_FALSE(a.contains(QStringLiteral("error"))) << f.toStdString() << a.value(QStringLiteral("error")).toStdString();
            for (auto it = b.begin(); it != b.end(); ++it) {
                if (changes(it.key())) continue;
                EXPECT_EQ(a.value(it.key()), it.value()) << f.toStdString() << " " << it.key().toStdString();
            }
        }
        return after;
    };
    const QMap<QString, reference::Frames> original = reference::read(files);
    EXPECT_EQ(original.value(home(QStringLiteral("Collection/F2/rich 90.mp3"))).value(QStringLiteral("v1:TRCK")),
              QStringLiteral("TRCK(encoding=<Encoding.UTF8: 3>, text=['90'])"));

    FrmMassTagEditor& tags = forms().fresh<FrmMassTagEditor>();
    tags.txtAlbum->setText(QStringLiteral("Greatest Hits"));
    tags.chkEditID3v2->setChecked(true);
    tags.lstGenre->setCurrentRow(17);
    tags.cmdEditAll_Click();
    const QMap<QString, reference::Frames> massEdited = expectKept(original, "mass tag editor", [](const QString& key) {
        return key == QLatin1String("version") || key == QLatin1String("TALB") || key == QLatin1String("v1:TALB") || key == QLatin1String("v1:TCON");
    });

    for (int r = 1; r <= rows().count(); ++r) {
        FrmEditTag& e = forms().fresh<FrmEditTag>();
        e.window_GetID3Data(fileOfRow(r), r);
        for (QLineEdit* box : {e.txtArtist[0], e.txtTitle[0]})
            if (box->text().isEmpty()) box->setText(QStringLiteral("Filled"));
        EXPECT_FALSE(e.txtComments.text(1).contains(QStringLiteral("0000044E"))) << fileOfRow(r).toStdString();
        e.txtTitle[1]->setText(QStringLiteral("Edited title"));
        e.txtComments.setText(1, QStringLiteral("Edited comment"));
        e.cmdUpdate_Click();
    }
    const QMap<QString, reference::Frames> edited = expectKept(massEdited, "tag editor", [](const QString& key) {
        return key == QLatin1String("version") || key == QLatin1String("TIT2") || key.startsWith(QLatin1String("COMM::"))
            || key == QLatin1String("v1:TIT2");
    });
    for (const QString& f : files) {
        int plain = 0;
        for (auto [key, fields] : edited.value(f).asKeyValueRange()) {
            if (!key.startsWith(QLatin1String("COMM::"))) continue;
            ++plain;
            EXPECT_TRUE(fields.contains(QStringLiteral("text=['Edited comment']"))) << f.toStdString() << " " << fields.toStdString();
        }
        EXPECT_EQ(plain, 1) << f.toStdString();
    }
    // The plain comment keeps its language.
    EXPECT_TRUE(edited.value(home(QStringLiteral("Collection/F2/rich 90.mp3"))).contains(QStringLiteral("COMM::deu")));
}

} // namespace

// New, Open, Add Playlist, Save, Save As, Save As Default, Delete Current and Delete All,
// the playlist jumps and Print on the started program.
#include "mainwindow/PlaylistFilesFixture.h"

#include "common/modSettings.h"
#include "common/modFiles.h"
#include "platform/QtUiServices.h"

#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <functional>

using veltra::MsgResult;

namespace {

using Commands = PlaylistFilesFixture;

TEST_F(Commands, NewEmptiesTheListShowsThePlaceholderAndLogs)
{
    playlist("Rock.spp", 3);
    refill();
    choose("Rock");
    playRow(2);
    main().mnuPlayNext_Click();   // marks the selected row
    const int opened = int(log().count(QStringLiteral(" opened.")));
    main().mnuNew_Click();
    EXPECT_EQ(rows().count(), 0);
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(main().CurrentTrack, 0);   // no row to play from
    EXPECT_EQ(main().PlayNextIndex, 0);
    EXPECT_EQ(main().mnuPlayNext->text(), "Play Ne&xt...\tX");
    EXPECT_EQ(lastLog(), "Playlist cleared.");
    EXPECT_EQ(log().count(QStringLiteral(" opened.")), opened);   // the placeholder loads nothing
}

TEST_F(Commands, OpenReplacesTheRowsAndShowsTheStoredPlaylistsName)
{
    const QString rock = playlist("Rock.SPP", 2);
    refill();
    addRow("Old", "Song");
    addRow("Old", "Two");
    playRow(1);
    controls_SelectItem(rows(), 2);
    main().mnuPlayNext_Click();   // marks the selected row
    ASSERT_EQ(main().PlayNextIndex, 2);
    answerFile(rock);
    main().mnuOpenPlaylist_Click();
    EXPECT_EQ(main().PlayNextIndex, 0);   // the mark goes with the old rows, as when the box opens one
    EXPECT_EQ(main().mnuPlayNext->text(), "Play Ne&xt...\tX");
    const auto dialog = ui.calls.last().fileRequest;
    EXPECT_EQ(dialog.title, "Open Playlist...");
    EXPECT_EQ(dialog.filter, "VELTRA Playlists|*.spp|");
    EXPECT_EQ(dialog.initialDir, home("Playlists"));
    EXPECT_EQ(artists(), QStringList({"Artist 1", "Artist 2"}));
    EXPECT_EQ(rows().text(1), "01");
    EXPECT_EQ(shown(), "Rock");
    EXPECT_EQ(main().CurrentTrack, 1);
    EXPECT_EQ(lastLog(), "Rock opened.");
    EXPECT_EQ(settings_ReadValue("RecentPlaylists", "Filename1"), rock);

    // A file of the same name elsewhere is not the stored playlist: Save must not write over it.
    QDir().mkpath(home("elsewhere"));
    const QString other = home("elsewhere/Rock.spp");
    QFile::copy(rock, other);
    answerFile(other);
    main().mnuOpenPlaylist_Click();
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);

    // A damaged file leaves the rows there were.
    const QString broken = writeFile("Playlists/Broken.spp", "\"1\"\r\n\"only two cells\"\r\n");
    answerFile(broken);
    main().mnuOpenPlaylist_Click();
    EXPECT_EQ(lastBox().section('|', 0, 0), "Error Loading List");
    EXPECT_EQ(artists(), QStringList({"Artist 1", "Artist 2"}));
    EXPECT_NE(lastLog(), "Broken opened.");
}

TEST_F(Commands, AddPlaylistAppendsAndNamesTheCurrentPlaylist)
{
    const QString jazz = playlist("Jazz.spp", 2);
    addRow("Mine", "One");
    answerFile(jazz);
    main().mnuAddPlaylist_Click();
    EXPECT_EQ(artists(), QStringList({"Mine", "Artist 1", "Artist 2"}));
    EXPECT_EQ(rows().text(3), "03");
    EXPECT_EQ(lastLog(), jazz + " added onto to the current playlist (((Select Playlist))).");
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(settings_ReadValue("RecentPlaylists", "Filename1"), jazz);
}

TEST_F(Commands, SaveWritesTheBoxsOwnFileAndRefusesAReadOnlyOne)
{
    const QString rock = playlist("Rock.SPP", 2);
    refill();
    choose("Rock");
    addRow("New", "Row");
    main().mnuSave_Click();
    EXPECT_EQ(records(rock).count(QStringLiteral("\r\n")), 21);
    EXPECT_FALSE(QFileInfo::exists(home("Playlists/Rock.spp")));

    // A file the user may not write keeps its playlist and stays read-only.
    makeReadOnly(rock);
    const QString before = records(rock);
    addRow("Another", "Row");
    main().mnuSave_Click();
    EXPECT_EQ(lastBox(), "Save Playlist Error|An error occured while trying to save the playlist.\r\n\r\nThis function will not continue.\r\n");
    EXPECT_EQ(records(rock), before);
    EXPECT_TRUE(files_HasAttribute(rock, 1));

    // A name as long as the file system allows (255 bytes with ".spp") is saved again.
    const QString longName(251, u'L');
    const QString longFile = playlist(longName + ".spp", 1);
    refill();
    choose(longName);
    addRow("Long", "Row");
    ui.clear();
    main().mnuSave_Click();
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(records(longFile).count(QStringLiteral("\r\n")), 14);

    // The placeholder, in any letter case, asks for a name instead.
    main().cmbPlaylists->setItemText(0, "((SELECT playlist))");
    main().cmbPlaylists->setCurrentIndex(0);
    main().mnuSave_Click();
    EXPECT_EQ(ui.calls.last().kind, "save");
    EXPECT_EQ(ui.calls.last().title, "Save Playlist...");
}

TEST_F(Commands, SaveAsANewPlaylistListsItAndAnOverwriteAfterYesDoesNot)
{
    addRow("A", "One");
    const QString pop = home("Playlists/Pop.spp");
    QDir().mkpath(home("Playlists"));
    answerFile(pop);
    main().mnuSavePlaylistAs_Click();
    EXPECT_EQ(ui.calls.last().fileRequest.filter, "VELTRA Playlist|*.spp|HTML Playlist|*.html|TEXT Playlist|*.txt|");
    EXPECT_EQ(records(pop).count(QStringLiteral("\r\n")), 7);
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Pop"}));
    EXPECT_EQ(shown(), "Pop");
    EXPECT_EQ(menus().mnuItem->at(1)->text(), "Pop");
    EXPECT_EQ(lastLog(), pop + " saved as playlist.");
    EXPECT_EQ(settings_ReadValue("RecentPlaylists", "Filename1"), pop);

    // Over an existing file: only after Yes, and the box and the recent list stay as they were.
    const QString rock = playlist("Rock.spp", 3);
    addRow("B", "Two");
    ui.msgAnswers.push_back(MsgResult::No);
    answerFile(rock);
    main().mnuSavePlaylistAs_Click();
    EXPECT_EQ(lastBox(), "Overwrite Existing File Confirmation|The filename you have entered/selected already exists.\r\n\r\n"
                         "Would you like to overwrite this file?\r\n");
    EXPECT_EQ(records(rock).count(QStringLiteral("\r\n")), 21);
    answerFile(rock);
    main().mnuSavePlaylistAs_Click();
    EXPECT_EQ(records(rock).count(QStringLiteral("\r\n")), 14);
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Pop"}));
    EXPECT_EQ(settings_ReadValue("RecentPlaylists", "Filename1"), pop);

    // A name typed without ".spp" gets it: that is the stored Pop.spp, asked about first.
    const QString popBefore = records(pop);
    addRow("C", "Three");
    ui.msgAnswers.push_back(MsgResult::No);
    answerFile(home("Playlists/Pop"));
    main().mnuSavePlaylistAs_Click();
    EXPECT_EQ(ui.messages().last().title, "Overwrite Existing File Confirmation");
    EXPECT_FALSE(QFileInfo::exists(home("Playlists/Pop")));
    EXPECT_EQ(records(pop), popBefore);
}

TEST_F(Commands, SaveAsHtmlOrTextWritesNoPlaylist)
{
    addRow("Artist", "Title");
    refill();
    struct Case {
        int filter;
        const char* file;
        const char* logged;
    } cases[] = {{2, "list.html", " saved as HTML playlist."}, {3, "list.txt", " saved as TEXT playlist."}};
    for (const Case& c : cases) {
        const QString path = home(QString::fromLatin1(c.file));
        answerFile(path, c.filter);
        main().mnuSavePlaylistAs_Click();
        EXPECT_TRUE(records(path).contains("Title")) << c.file;
        EXPECT_EQ(lastLog(), path + QString::fromLatin1(c.logged));
        EXPECT_EQ(box(), QStringList({"((Select Playlist))"}));
    }
}

TEST_F(Commands, SaveAsDefaultLeavesTheFileAloneForAnEmptyList)
{
    const QString def = writeFile("Playlists/default.spp", "kept");
    main().mnuSaveAsDefault_Click();
    EXPECT_EQ(records(def), "kept");
    addRow("A", "One");
    main().mnuSaveAsDefault_Click();
    EXPECT_EQ(records(def).count(QStringLiteral("\r\n")), 7);
}

TEST_F(Commands, DeleteCurrentTrashesTheFileAndEmptiesTheList)
{
    const QString rock = playlist("Rock.SPP", 2);
    playlist("Jazz.spp", 1);
    refill();
    choose("Rock");
    main().mnuDeleteCurrentPlaylist_Click();
    EXPECT_EQ(ui.messages().last().title, "Delete Current Playlist Confirmation");
    EXPECT_EQ(ui.messages().last().text,
              "You are about to physically delete the file from your computer:\r\n" + rock + "\r\n\r\nDo you wish to continue?\r\n");
    EXPECT_FALSE(QFileInfo::exists(rock));
    EXPECT_TRUE(QFileInfo::exists(trashed("Rock.SPP")));
    EXPECT_EQ(lastLog(), rock + " was deleted.");
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Jazz"}));
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(rows().count(), 0);

    // No: nothing happens. A read-only file deleted for good stays, with the command's error.
    choose("Jazz");
    ui.msgAnswers.push_back(MsgResult::No);
    main().mnuDeleteCurrentPlaylist_Click();
    EXPECT_TRUE(QFileInfo::exists(home("Playlists/Jazz.spp")));
    settings_WriteValue("Settings", "SendMediaFilesToRecycleBin", "0");
    makeReadOnly(home("Playlists/Jazz.spp"));
    const QString logBefore = log();
    main().mnuDeleteCurrentPlaylist_Click();
    EXPECT_EQ(lastBox(), "Delete Current Playlist Error|There was an error while trying to delete the current playlist from your "
                         "computer.\r\n\r\nThis function will not continue.\r\n");
    EXPECT_EQ(log(), logBefore);
    EXPECT_EQ(shown(), "Jazz");
    EXPECT_EQ(rows().count(), 1);
}

TEST_F(Commands, DeleteAllRemovesEveryFileLogsEachAndKeepsTheRows)
{
    const QStringList files = {playlist("default.spp"), playlist("A.spp"), playlist("B.SPP")};
    const QString kept = playlist("C.spp");
    refill();
    choose("A");
    settings_WriteValue("Settings", "SendMediaFilesToRecycleBin", "0");
    makeReadOnly(kept);
    main().mnuDeleteAllPlaylists_Click();
    EXPECT_EQ(ui.messages().first().title, "Delete All Playlists Confirmation");
    for (const QString& f : files) {
        EXPECT_FALSE(QFileInfo::exists(f)) << f.toStdString();
        EXPECT_TRUE(log().contains(f + " playlist was deleted.\r\n")) << f.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_FALSE(log().contains(kept + " playlist was deleted."));
    EXPECT_EQ(rows().count(), 2);
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "C"}));
}

TEST_F(Commands, NextAndPreviousPlaylistStopAtTheEnds)
{
    playlist("A.spp", 1);
    playlist("B.spp", 2);
    refill();
    choose("A");
    main().mnuJumpToPreviousPlaylist_Click();
    EXPECT_EQ(shown(), "A");
    main().mnuJumpToNextPlaylist_Click();
    EXPECT_EQ(shown(), "B");
    EXPECT_EQ(artists(), QStringList({"Artist 1", "Artist 2"}));
    EXPECT_EQ(main().CurrentTrack, 1);
    EXPECT_EQ(player().FileName(), "/m/B1.mp3");
    main().mnuJumpToNextPlaylist_Click();
    EXPECT_EQ(shown(), "B");
}

TEST_F(Commands, RandomPlaylistPicksAnotherStoredOneAndStartsAtTheDirectionsEnd)
{
    playlist("A.spp", 1);
    refill();
    choose("A");
    main().mnuJumpToRandomPlaylist_Click();   // the one shown is the only one: nothing to do
    EXPECT_EQ(shown(), "A");

    playlist("B.spp", 3);
    refill();
    choose("A");
    main().mnuWorkBackwardsThroughPlaylist_Click();
    settings_WriteValue("Settings", "PlayPlaylistsOnSkip", "1");
    main().mnuJumpToRandomPlaylist_Click();
    EXPECT_EQ(shown(), "B");
    EXPECT_EQ(main().CurrentTrack, 3);
    EXPECT_EQ(player().FileName(), "/m/B3.mp3");
    EXPECT_EQ(rows().selectedRows(), QList<int>({3}));

    // A playlist whose file went away: the box's own message, then nothing more.
    QFile::remove(home("Playlists/A.spp"));
    const QString playing = player().FileName();
    main().mnuJumpToRandomPlaylist_Click();
    EXPECT_EQ(ui.messages().last().title, "Playlist Filename Not Found");
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(player().FileName(), playing);
}

TEST_F(Commands, APlaylistThatDoesNotLoadIsNotTheOneSaveWrites)
{
    playlist("A.spp", 2);
    const QString broken = writeFile("Playlists/Broken.spp", "\"1\"\r\n\"only two cells\"\r\n");
    refill();
    choose("A");
    // Chosen in the box, or reached by Next Playlist: the rows stay, the box names none.
    for (const auto& reach : {std::function<void()>([&] { choose("Broken"); }),
                              std::function<void()>([&] { choose("A"); main().mnuJumpToNextPlaylist_Click(); })}) {
        ui.clear();
        reach();
        EXPECT_EQ(lastBox().section('|', 0, 0), "Error Loading List");
        EXPECT_EQ(artists(), QStringList({"Artist 1", "Artist 2"}));
        EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    }
    EXPECT_NE(player().FileName(), "/m/A1.mp3");   // nothing started from the rows left
    main().mnuSave_Click();   // asks for a name, and the damaged file stays as it was
    EXPECT_EQ(ui.calls.last().kind, "save");
    EXPECT_EQ(records(broken), "\"1\"\r\n\"only two cells\"\r\n");
}

TEST_F(Commands, UpdateRebuildsTheBoxAndKeepsTheShownPlaylistWhileItsFileIsThere)
{
    playlist("Rock.spp", 2);
    refill();
    choose("Rock");
    playlist("Pop.spp", 1);   // made by another program meanwhile
    const QString logBefore = log();
    menus().mnuUpdate->trigger();   // Send To > Playlist > Update
    EXPECT_EQ(box().mid(1).size(), 2);
    EXPECT_TRUE(box().contains("Pop"));
    EXPECT_EQ(shown(), "Rock");
    EXPECT_EQ(log(), logBefore);   // nothing reloaded
    EXPECT_EQ(rows().count(), 2);

    QFile::remove(home("Playlists/Rock.spp"));
    menus().mnuUpdate->trigger();
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Pop"}));
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(rows().count(), 2);   // the rows stay: Save asks for a name now
}

// ---- printing ----------------------------------------------------------------------------------

// Recorded like every other call, and printed for real into a PDF file.
class PdfPrintingUi : public veltra::RecordingUiServices {
public:
    veltra::QtUiServices real;
    bool print(const QList<veltra::PrintLine>& lines) override
    {
        RecordingUiServices::print(lines);
        return real.print(lines);
    }
};

class Printing : public Commands {
protected:
    void SetUp() override
    {
        Commands::SetUp();
        veltra::setUiServices(&pdf);
    }
    void TearDown() override
    {
        veltra::setUiServices(&ui);
        Commands::TearDown();
    }
    QString printTo(const QString& file)
    {
        pdf.real.printer().setOutputFormat(QPrinter::PdfFormat);
        pdf.real.printer().setOutputFileName(file);
        pdf.printAnswers.push_back(true);
        main().mnuPrint_Click();
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        if (!p.waitForFinished(20000)) return QStringLiteral("pdftotext did not run");
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // The words of the printed line that begins with `first`, with their left and right ends.
    struct Word {
        QString text;
        double left, right;
    };
    static QList<Word> wordsOfLine(const QString& file, const QString& first)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
        p.waitForFinished(20000);
        const QString html = QString::fromUtf8(p.readAllStandardOutput());
        static const QRegularExpression word(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
        QList<Word> out;
        QString top;
        for (const auto& m : word.globalMatch(html)) {
            if (out.isEmpty() && m.captured(4) == first) top = m.captured(2);
            if (!top.isEmpty() && m.captured(2) == top) out.append({m.captured(4), m.captured(1).toDouble(), m.captured(3).toDouble()});
        }
        return out;
    }
    PdfPrintingUi pdf;
};

TEST_F(Printing, ThreeRowsGiveTheHeadingAnEmptyLineAndOneLineEach)
{
    addRow("Artist", "Title");
    addRow("Nobody", "Title");
    addRow("Third", "Song");
    rows().setSubItem(2, PlaylistColumn::Artist, QString());
    const QString file = home("playlist.pdf");
    const QString text = printTo(file);
    EXPECT_EQ(pdf.calls.first().title, "Print VELTRA Playlist...");
    QStringList printed;
    for (const veltra::PrintLine& l : pdf.printed.first()) printed.append(l.text);
    EXPECT_EQ(printed, QStringList({"VELTRA Playlist:", "", "01 - Artist - Title", "02 -  - Title", "03 - Third - Song"}));
    // pdftotext writes a run of blanks as one: the two blanks of the empty artist are measured.
    const QStringList lines = text.split(u'\n');
    ASSERT_GE(lines.size(), 5) << text.toStdString();
    EXPECT_EQ(lines.mid(0, 5), QStringList({"VELTRA Playlist:", "", "01 - Artist - Title", "02 - - Title", "03 - Third - Song"}))
        << text.toStdString();
    const QList<Word> row2 = wordsOfLine(file, "02");
    ASSERT_EQ(row2.size(), 4);
    const double oneBlank = row2[3].left - row2[2].right;
    EXPECT_NEAR(row2[2].left - row2[1].right, 2 * oneBlank, 0.5);
    EXPECT_EQ(pdf.printed.first().first().fontName, main().lstvPlaylist->font().family());
    EXPECT_TRUE(QRegularExpression("^Current playlist printed at \\d{1,2}:\\d\\d:\\d\\d.*\\.$").match(lastLog()).hasMatch())
        << lastLog().toStdString();
}

TEST_F(Printing, AFailedJobSaysSoAndLogsNothing)
{
    addRow("Artist", "Title");
    const QString before = log();
    printTo(home("no-such-folder/playlist.pdf"));
    EXPECT_EQ(pdf.messages().last().title, "Print Playlist Error");
    EXPECT_EQ(pdf.messages().last().text, "The playlist could not be printed.\r\n\r\nThis function will not continue.\r\n");
    EXPECT_EQ(log(), before);
    // Cancelled: nothing printed, nothing logged.
    main().mnuPrint_Click();
    EXPECT_EQ(pdf.count("print"), 1);
}

// ---- through the menus ---------------------------------------------------------------------------

TEST_F(Commands, TheMenuItemsRunTheirCommandsInTheRunningProgram)
{
    FrmMain& m = main();
    m.show();
    const QString jazz = playlist("Jazz.spp", 2);
    playlist("Rock.spp", 1);
    refill();
    answerFile(jazz);
    clickInMenu(m.mnuFile, m.mnuOpenPlaylist);
    EXPECT_EQ(shown(), "Jazz");
    m.tmrWindowUpdate->start();   // it enables the commands by the playlist's state
    processEvents(120);
    ASSERT_TRUE(m.mnuDeleteCurrentPlaylist->isEnabled());
    clickInMenu(m.mnuJump, m.mnuJumpToNextPlaylist);
    EXPECT_EQ(shown(), "Rock");
    addRow("Added", "Row");
    clickInMenu(m.mnuFile, m.mnuSave);
    EXPECT_EQ(records(home("Playlists/Rock.spp")).count(QStringLiteral("\r\n")), 14);
    clickInMenu(m.mnuPlaylists, m.mnuDeleteCurrentPlaylist);
    EXPECT_FALSE(QFileInfo::exists(home("Playlists/Rock.spp")));
    addRow("One", "More");
    processEvents(120);
    clickInMenu(m.mnuFile, m.mnuNew);
    EXPECT_EQ(lastLog(), "Playlist cleared.");
}

} // namespace

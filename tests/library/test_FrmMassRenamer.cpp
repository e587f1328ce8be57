#include "library/FrmMassRenamer.h"
#include "library/FrmMoveToFolder.h"
#include "library/OrganiseFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QPointer>
#include <QPushButton>

namespace {

class MassRenamerTest : public OrganiseTest {
protected:
    FrmMassRenamer& dialog() { return forms().get<FrmMassRenamer>(); }
};

TEST_F(MassRenamerTest, EmptyPlaylistIsRefused)
{
    dialog().cmdRename_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(lastMessage(), QStringLiteral("There are no items in the playlist to rename.\r\n\r\n"
                                            "Please add some music files before continuing.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Mass File Renaming Error"));
    EXPECT_TRUE(dialog().pbBar->isHidden());
}

TEST_F(MassRenamerTest, NumbersAreRowPositionsAndOtherFilesArePassedOver)
{
    const QString a = tagged(QStringLiteral("One/a.mp3"), QStringLiteral("Artist"), QStringLiteral("First"));
    const QString wav = writeFile("One/b.wav", "RIFF....WAVE");
    const QString c = tagged(QStringLiteral("Two/c.MP3"), QStringLiteral("Artist"), QStringLiteral("Third"));
    const QString d = tagged(QStringLiteral("Two/d.mp2"), QStringLiteral("Other/Band"), QStringLiteral("Fourth?"));
    for (const QString& p : {a, wav, c, d}) addFile(p);
    remember(c);
    namePlaylist(QStringLiteral("Renamed"));
    FrmMassRenamer& m = dialog();
    m.chkAddNumbers->setChecked(true);
    m.cmdRename_Click();

    const QString newA = home("One/01 - Artist - First.mp3");
    const QString newC = home("Two/03 - Artist - Third.mp3");
    const QString newD = home("Two/04 - OtherBand - Fourth.mp2");
    EXPECT_EQ(QStringList({fileOfRow(1), fileOfRow(2), fileOfRow(3), fileOfRow(4)}), QStringList({newA, wav, newC, newD}));
    for (const QString& p : {newA, wav, newC, newD}) EXPECT_TRUE(QFile::exists(p)) << p.toStdString();
    for (const QString& p : {a, c, d}) EXPECT_FALSE(QFile::exists(p)) << p.toStdString();
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_TRUE(log().contains(c + QStringLiteral(" was renamed to ") + newC + QStringLiteral(".\r\n")));
    EXPECT_FALSE(log().contains(wav + QStringLiteral(" was")));
    EXPECT_EQ(trackedFile(), newC);
    EXPECT_EQ(volumeFile(), newC);
    EXPECT_TRUE(readFile(home("Playlists/Renamed.spp")).contains(QFile::encodeName(newD)));
    EXPECT_FALSE(forms().isLoaded<FrmMassRenamer>());   // closes once done
}

TEST_F(MassRenamerTest, ProblemFilesCostOneMessageOrLogLineEach)
{
    const QString playing = tagged(QStringLiteral("M/p.mp3"), QStringLiteral("A"), QStringLiteral("Playing"));
    const QString missing = home("M/missing.mp3");
    const QString clash = tagged(QStringLiteral("M/c.mp3"), QStringLiteral("A"), QStringLiteral("Clash"));
    const QString taken = writeFile("M/A - Clash.mp3", "somebody else's song");
    const QString fine = tagged(QStringLiteral("M/f.mp3"), QStringLiteral("A"), QStringLiteral("Fine"));
    for (const QString& p : {playing, missing, clash, fine}) addFile(p);
    player().setFileName(playing);
    const QByteArray clashBytes = readFile(clash);
    FrmMassRenamer& m = dialog();
    m.chkCloseWindow->setChecked(false);
    m.cmdRename_Click();

    // One message for each of the first two, then the closing count.
    const auto messages = ui.messages();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[0].text, QStringLiteral("It has been detected that the song you are trying to rename is being used by VELTRA:\r\n\r\n")
                                    + playing + QStringLiteral("\r\n\r\nThis file will not be renamed.\r\n"));
    EXPECT_EQ(messages[1].text, QStringLiteral("It has been detected that the song you are trying to rename does not exist:\r\n\r\n")
                                    + missing + QStringLiteral("\r\n\r\nThis file will not be renamed.\r\n"));
    for (int k : {0, 1}) EXPECT_EQ(messages[k].title, QStringLiteral("Mass File Renaming Error"));
    EXPECT_EQ(messages[2].text, QStringLiteral("1 song was renamed and 1 could not be renamed.\r\n\r\n"
                                               "The songs that could not be renamed are listed in the log.\r\n"));
    EXPECT_TRUE(QFile::exists(playing));
    EXPECT_EQ(readFile(clash), clashBytes);
    EXPECT_EQ(readFile(taken), QByteArray("somebody else's song"));
    EXPECT_EQ(fileOfRow(3), clash);
    EXPECT_TRUE(log().contains(clash + QStringLiteral(" could not be renamed to ") + taken + QStringLiteral(".\r\n")));
    EXPECT_EQ(fileOfRow(4), home("M/A - Fine.mp3"));
    // The dialog stays, ready for another run, with the bar at its end.
    ASSERT_TRUE(forms().isLoaded<FrmMassRenamer>());
    EXPECT_FALSE(m.pbBar->isHidden());
    EXPECT_EQ(m.pbBar->value(), m.pbBar->maximum());
    EXPECT_TRUE(m.cmdRename->isEnabled() && m.cmdRename->isDefault() && m.cmdClose->isEnabled());
}

// A name is built only from tags that hold every field the pattern uses: the others keep
// their names, each is logged, and the run ends with a count. A name that is right already
// is no failure, and is counted as such.
TEST_F(MassRenamerTest, SongsWithoutTheFieldsKeepTheirNamesAndRightNamesAreNoFailure)
{
    const QString untagged = home("M/track01.mp3"), other = home("M/track02.mp3");
    for (const QString& p : {untagged, other}) mp3maker::makeMp3(p, {.seconds = 0.2, .bitrate = 32, .id3v2 = false});
    const QString titleOnly = tagged(QStringLiteral("M/track03.mp3"), QString(), QStringLiteral("Fire Rain Winter"));
    const QString right = tagged(QStringLiteral("M/Band - Done.mp3"), QStringLiteral("Band"), QStringLiteral("Done"));
    const QString fine = tagged(QStringLiteral("M/f.mp3"), QStringLiteral("Band"), QStringLiteral("Fine"));
    for (const QString& p : {untagged, other, titleOnly, right, fine}) addFile(p);
    dialog().cmdRename_Click();

    EXPECT_EQ(QStringList({fileOfRow(1), fileOfRow(2), fileOfRow(3), fileOfRow(4), fileOfRow(5)}),
              QStringList({untagged, other, titleOnly, right, home("M/Band - Fine.mp3")}));
    EXPECT_EQ(QDir(home("M")).entryList(QDir::Files),
              QStringList({"Band - Done.mp3", "Band - Fine.mp3", "track01.mp3", "track02.mp3", "track03.mp3"}));
    for (const QString& p : {untagged, other, titleOnly})
        EXPECT_TRUE(log().contains(p + QStringLiteral(" was not renamed: its ID3v1 tag has no Artist.\r\n"))) << p.toStdString();
    EXPECT_TRUE(log().contains(QStringLiteral("1 song was renamed, 1 already had that name and 3 were skipped.\r\n")));
    EXPECT_FALSE(log().contains(QStringLiteral("could not be renamed")));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(lastMessage(), QStringLiteral("1 song was renamed, 1 already had that name and 3 were skipped, as their tags lack a "
                                            "field that the chosen filename uses.\r\n\r\nThe skipped songs are listed in the log.\r\n"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Mass File Renaming Information"));
    EXPECT_EQ(ui.messages().back().icon, int(veltra::MsgIcon::Information));
}

// The closing count holds every song the run tried: renamed, skipped (and why) or not
// renamed, as when another file has the new name already. "Rename »" clicked with the event
// loop running.
TEST_F(MassRenamerTest, TheClosingCountAddsUpToTheSongsTried)
{
    struct Case {
        int renamed, named, skipped, taken;   // named: the song's name is the new one already
        QString count, message;
    };
    const Case cases[] = {
        {2, 0, 1, 0, QStringLiteral("2 songs were renamed and 1 was skipped."),
         QStringLiteral("2 songs were renamed and 1 was skipped, as their tags lack a field that the chosen filename uses.\r\n\r\n"
                        "The skipped songs are listed in the log.\r\n")},
        {1, 0, 0, 1, QStringLiteral("1 song was renamed and 1 could not be renamed."),
         QStringLiteral("1 song was renamed and 1 could not be renamed.\r\n\r\n"
                        "The songs that could not be renamed are listed in the log.\r\n")},
        {9, 0, 22, 1, QStringLiteral("9 songs were renamed, 22 were skipped and 1 could not be renamed."),
         QStringLiteral("9 songs were renamed, 22 were skipped, as their tags lack a field that the chosen filename uses, "
                        "and 1 could not be renamed.\r\n\r\n"
                        "The skipped songs and those that could not be renamed are listed in the log.\r\n")},
        {1, 1, 1, 1, QStringLiteral("1 song was renamed, 1 already had that name, 1 was skipped and 1 could not be renamed."),
         QStringLiteral("1 song was renamed, 1 already had that name, 1 was skipped, as their tags lack a field that the chosen "
                        "filename uses, and 1 could not be renamed.\r\n\r\n"
                        "The skipped songs and those that could not be renamed are listed in the log.\r\n")},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count.toStdString());
        main().mnuNew_Click();
        ui.clear();
        const QString folder = QStringLiteral("Run%1/").arg(++run);
        for (int k = 1; k <= c.renamed; ++k)
            addFile(tagged(folder + QStringLiteral("r%1.mp3").arg(k), QStringLiteral("Band"), QStringLiteral("Song %1").arg(k)));
        for (int k = 1; k <= c.named; ++k)
            addFile(tagged(folder + QStringLiteral("Band - Named %1.mp3").arg(k), QStringLiteral("Band"), QStringLiteral("Named %1").arg(k)));
        for (int k = 1; k <= c.skipped; ++k) {
            const QString untagged = home(folder + QStringLiteral("s%1.mp3").arg(k));
            mp3maker::makeMp3(untagged, {.seconds = 0.2, .bitrate = 32, .id3v2 = false});
            addFile(untagged);
        }
        QStringList stuck;
        for (int k = 1; k <= c.taken; ++k) {
            stuck << tagged(folder + QStringLiteral("t%1.mp3").arg(k), QStringLiteral("Band"), QStringLiteral("Taken %1").arg(k));
            writeFile(folder + QStringLiteral("Band - Taken %1.mp3").arg(k), "somebody else's song");
            addFile(stuck.back());
        }
        FrmMassRenamer& m = forms().fresh<FrmMassRenamer>();
        m.show();
        processEvents(20);
        postClick(m.cmdRename);
        processEvents(50);

        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(lastTitle(), QStringLiteral("Mass File Renaming Information"));
        EXPECT_TRUE(log().contains(c.count + QStringLiteral("\r\n")));
        EXPECT_EQ(c.renamed + c.named + c.skipped + c.taken, rows().count());
        for (int k = 1; k <= c.renamed; ++k)
            EXPECT_EQ(fileOfRow(k), home(folder + QStringLiteral("Band - Song %1.mp3").arg(k)));
        for (int k = 0; k < c.taken; ++k) EXPECT_EQ(fileOfRow(c.renamed + c.named + c.skipped + 1 + k), stuck[k]);
    }
}

// Both run-over-the-playlist tools refuse while a song plays or is paused, and open only
// on a playlist with rows.
TEST_F(MassRenamerTest, OpenersRefuseWhileMusicPlays)
{
    struct Opener {
        void (FrmMain::*command)();
        const char* title;
        std::function<QObject*()> form;
    };
    const Opener openers[] = {
        {&FrmMain::mnuPlaylistRenameAllFilenames_Click, "Rename All Filenames Error", [] { return &forms().get<FrmMassRenamer>(); }},
        {&FrmMain::mnuPlaylistMoveMusicToFolder_Click, "Move Music To Folder Error", [] { return &forms().get<FrmMoveToFolder>(); }},
    };
    for (const Opener& o : openers) {
        SCOPED_TRACE(o.title);
        main().mnuNew_Click();
        ui.clear();
        (main().*o.command)();   // empty playlist: nothing
        EXPECT_TRUE(ui.calls.isEmpty());
        addFile(tagged(QStringLiteral("M/a.mp3"), QStringLiteral("A"), QStringLiteral("T")));
        for (const auto state : {veltra::MediaPlayerControl::State::Playing, veltra::MediaPlayerControl::State::Paused}) {
            player().setFileName(home("M/a.mp3"));
            player().Play();
            if (state == veltra::MediaPlayerControl::State::Paused) player().Pause();
            ASSERT_EQ(player().PlayState(), state);
            (main().*o.command)();
            EXPECT_EQ(lastMessage(), QStringLiteral("You cannot use this option while VELTRA is playing music.\r\n\r\n"
                                                    "This function will not continue.\r\n"));
            EXPECT_EQ(lastTitle(), QLatin1String(o.title));
            player().Stop();
        }
        EXPECT_EQ(ui.count(QStringLiteral("modal")), 0);
        (main().*o.command)();
        ASSERT_EQ(ui.count(QStringLiteral("modal")), 1);
        EXPECT_EQ(ui.calls.back().form, o.form());
    }
}

// Real input through the menu: a click on "Rename »"; the close box, Esc and another click
// during the run do nothing; Esc afterwards closes the dialog.
TEST_F(MassRenamerTest, DrivenThroughTheEventLoop)
{
    BusyUi busy;
    veltra::setUiServices(&busy);
    const QString a = tagged(QStringLiteral("M/a.mp3"), QStringLiteral("Artist"), QStringLiteral("First"));
    const QString missing = home("M/missing.mp3");
    // A leading dot would hide the song from every folder listing.
    const QString c = tagged(QStringLiteral("M/c.mp3"), QStringLiteral(".Artist"), QStringLiteral("Third"));
    for (const QString& p : {a, missing, c}) addFile(p);
    bool stayedDuringRun = false, closedAfter = false;
    busy.modalHandlers.push_back([&](QObject* form) {
        QPointer<FrmMassRenamer> d = qobject_cast<FrmMassRenamer*>(form);
        d->show();
        processEvents(20);
        d->chkCloseWindow->setChecked(false);
        busy.duringMessage = [&] {
            d->close();
            postKey(d, Qt::Key_Escape);
            postClick(d->cmdRename);
            processEvents(20);
            stayedDuringRun = d->isVisible() && d->Running() && !d->cmdClose->isEnabled();
        };
        postClick(d->cmdRename);
        processEvents(50);
        EXPECT_EQ(d->pbBar->value(), 3);
        postKey(d, Qt::Key_Escape);
        processEvents(20);
        closedAfter = !d || !d->isVisible();
    });
    main().tmrWindowUpdate_Timer();   // the items enabled for the rows
    main().mnuPlaylistRenameAllFilenames->trigger();
    veltra::setUiServices(&ui);
    EXPECT_TRUE(stayedDuringRun);
    EXPECT_TRUE(closedAfter);
    EXPECT_EQ(busy.messages().size(), 1);   // the missing file, once: no second run
    EXPECT_EQ(QStringList({fileOfRow(1), fileOfRow(2), fileOfRow(3)}),
              QStringList({home("M/Artist - First.mp3"), missing, home("M/Artist - Third.mp3")}));
    EXPECT_FALSE(QFile::exists(a) || QFile::exists(c));
    EXPECT_FALSE(forms().isLoaded<FrmMassRenamer>());
}

} // namespace

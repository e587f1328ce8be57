// The CD routines and the command-string device under them, against simulated drives: the
// strings each routine sends (as the drive set recorded them) and what it makes of the replies.
#include "platform/LibcdioDrives.h"
#include "platform/CdTestSupport.h"

#include <cstring>

using cd::SimulatedCdDrives;

namespace {
const QString kOpen = QStringLiteral(" Type cdaudio alias cdr wait shareable");
const QString kTmsf = QStringLiteral("set cdr time format tmsf wait");

// The device's raw answer to one string.
struct Raw {
    int code;
    QByteArray reply;   // all 30 characters
};
Raw raw(const QString& command, char fill = '\0')
{
    QByteArray buffer(30, fill);
    const int code = cdaudio::sendString(command, buffer.data(), 30);
    return {code, buffer};
}
QString text(const Raw& r) { return QString::fromLatin1(r.reply.constData()); }
} // namespace

using CdAudioTest = SimulatedCdTest;

TEST_F(CdAudioTest, OpeningAMissingLetterFailsAndStillSetsTheTimeFormat)
{
    drives({{200}});
    QString drive = QStringLiteral("B");
    EXPECT_FALSE(cdaudio_Open(drive));
    EXPECT_FALSE(CDDeviceOpen);
    EXPECT_EQ(drive, QStringLiteral("B:\\"));
    EXPECT_EQ(sent(), (QStringList{"close cdr", "open B:\\" + kOpen, kTmsf}));

    // The drive text keeps only its first character, in its own case.
    for (const auto& [given, used] : {std::pair{"a", "a:\\"}, {"A:\\Music\\x.mp3", "A:\\"}}) {
        QString d = QString::fromLatin1(given);
        EXPECT_TRUE(cdaudio_Open(d)) << given;
        EXPECT_EQ(d, QString::fromLatin1(used));
        EXPECT_TRUE(CDDeviceOpen);
    }
    // A drive the user may not read counts as none.
    sim->setReadable(0, false);
    drive = QStringLiteral("A");
    EXPECT_FALSE(cdaudio_Open(drive));
}

TEST_F(CdAudioTest, ASecondOpenClosesTheFirstSoOnlyOneDeviceIsOpen)
{
    drives({{200}, {300, 400}});
    QString a = QStringLiteral("A"), b = QStringLiteral("B");
    ASSERT_TRUE(cdaudio_Open(a));
    forget();
    ASSERT_TRUE(cdaudio_Open(b));
    EXPECT_EQ(sent(), (QStringList{"close cdr", "open B:\\" + kOpen, kTmsf}));
    EXPECT_EQ(cdaudio_GetTrackCount(), 2);
    // Without the close, the alias would be taken.
    EXPECT_EQ(raw("open A:\\" + kOpen).code, cd::DuplicateAlias);
    EXPECT_TRUE(cdaudio_Close());
    EXPECT_FALSE(cdaudio_Close());   // nothing open any more
}

TEST_F(CdAudioTest, WithoutADiscEveryQueryGivesItsNeutralValue)
{
    drives({QList<int>{}});
    QString a = QStringLiteral("A");
    ASSERT_TRUE(cdaudio_Open(a));
    forget();
    EXPECT_FALSE(cdaudio_IsMediaPresent());
    EXPECT_EQ(cdaudio_GetTrackCount(), 0);
    EXPECT_EQ(cdaudio_GetTotalLength(), QStringLiteral("None"));
    EXPECT_EQ(cdaudio_GetCurrentTrack(), QString());
    EXPECT_EQ(cdaudio_GetPosition(), 0);
    EXPECT_EQ(cdaudio_GetTrackLength(1), 0);
    EXPECT_EQ(cdaudio_GetMode(), QStringLiteral("not ready"));
    // Each asked only whether a disc is there.
    for (const QString& s : sent()) EXPECT_TRUE(s == "status cdr media present" || s == "status cdr mode") << s.toStdString();

    // Closed, nothing is asked at all.
    cdaudio_Close();
    forget();
    EXPECT_FALSE(cdaudio_IsMediaPresent());
    EXPECT_EQ(cdaudio_GetTotalLength(), QStringLiteral("None"));
    EXPECT_EQ(cdaudio_GetMode(), QString());
    EXPECT_FALSE(cdaudio_IsPlaying());
    EXPECT_FALSE(cdaudio_Eject());
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(CdAudioTest, RepliesAreNulEndedInTheBufferInTheirOwnForms)
{
    drives({{125, 62, 3725, 61, 62, 63, 64, 65, 66}});
    QString a = QStringLiteral("A");
    ASSERT_TRUE(cdaudio_Open(a));
    struct Case {
        const char* command;
        const char* reply;
    };
    const Case cases[] = {
        {"status cdr media present", "true"},
        {"status cdr number of tracks wait", "9"},
        {"status cdr length track 1", "02:05:00"},
        {"status cdr length track 9", "01:06:00"},
        {"status cdr position", "01:00:00:00"},
        {"status cdr mode", "stopped"},
        {"STATUS  cdr   LENGTH", "71:33:00"},
        {"status cdr length track 3", "62:05:00"},
    };
    for (const Case& c : cases) {
        const Raw r = raw(QString::fromLatin1(c.command), 'x');
        EXPECT_EQ(r.code, 0) << c.command;
        EXPECT_EQ(text(r), QString::fromLatin1(c.reply)) << c.command;
        // The rest of the buffer keeps what it held.
        EXPECT_EQ(r.reply.at(int(std::strlen(c.reply)) + 1), 'x') << c.command;
    }
    // "9" followed by NUL reads as nine tracks.
    EXPECT_EQ(cdaudio_GetTrackCount(), 9);
    EXPECT_EQ(cdaudio_GetTotalLength(), QStringLiteral("71:33"));
    EXPECT_EQ(cdaudio_GetTrackLength(1), 125);

    // Any other string fails, and so does a reply too long for its buffer.
    for (const char* bad : {"play cdr wait", "status cdr length track 10", "seek cdr to 10", "status cdr volume",
                            "set cdr time format milliseconds", "pause cdr", "status other position", ""})
        EXPECT_NE(raw(QString::fromLatin1(bad)).code, 0) << bad;
    char tiny[4] = {};
    EXPECT_EQ(cdaudio::sendString(QStringLiteral("status cdr mode"), tiny, 4), cd::ParameterOverflow);
}

TEST_F(CdAudioTest, SeekingATrackOutsideTheDiscSendsNothing)
{
    drives({{60, 60, 60}});
    QString a = QStringLiteral("A");
    ASSERT_TRUE(cdaudio_Open(a));
    for (int track : {0, -1, 4}) {
        forget();
        EXPECT_FALSE(cdaudio_SeekTrack(track)) << track;
        for (const QString& s : sent()) EXPECT_FALSE(s.startsWith(QLatin1String("seek"))) << s.toStdString();
    }
    forget();
    EXPECT_TRUE(cdaudio_SeekTrack(3));
    EXPECT_EQ(sent().last(), QStringLiteral("seek cdr to 3"));
    EXPECT_EQ(cdaudio_GetCurrentTrack(), QStringLiteral("3"));
}

TEST_F(CdAudioTest, SeekingAPositionTakesElevenCharactersAndNeverInterruptsPlaying)
{
    drives({{60, 60, 200, 60}});
    QString a = QStringLiteral("A");
    ASSERT_TRUE(cdaudio_Open(a));
    forget();
    EXPECT_FALSE(cdaudio_SeekPosition(QStringLiteral("02:05:00")));
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(cdaudio_SeekPosition(QStringLiteral("03:02:05:00")));
    EXPECT_EQ(sent().last(), QStringLiteral("seek cdr to 03:02:05:00"));
    EXPECT_EQ(cdaudio_GetCurrentTrack(), QStringLiteral("3"));
    EXPECT_EQ(cdaudio_GetPosition(), 125);

    ASSERT_TRUE(cdaudio_Play());
    forget();
    EXPECT_FALSE(cdaudio_SeekPosition(QStringLiteral("01:00:10:00")));
    EXPECT_EQ(sent(), QStringList{"status cdr mode"});
    // Past the disc's end the device refuses.
    cdaudio_Stop();
    EXPECT_FALSE(cdaudio_SeekPosition(QStringLiteral("04:09:00:00")));
}

TEST_F(CdAudioTest, PauseThenPlayGoesOnFromWhereTheSoundStopped)
{
    drives({{10, 20, 30}});
    QString a = QStringLiteral("A");
    ASSERT_TRUE(cdaudio_Open(a));
    ASSERT_TRUE(cdaudio_SeekTrack(1));
    ASSERT_TRUE(cdaudio_Play());
    EXPECT_TRUE(cdaudio_IsPlaying());
    clock += 12'000;   // into track 2
    EXPECT_EQ(cdaudio_GetCurrentTrack(), QStringLiteral("2"));
    EXPECT_EQ(cdaudio_GetPosition(), 2);
    forget();
    EXPECT_TRUE(cdaudio_Pause());
    EXPECT_TRUE(cdaudio_Play());
    EXPECT_EQ(sent(), (QStringList{"stop cdr wait", "play cdr"}));

    // Held while paused, going on afterwards.
    cdaudio_Pause();
    clock += 50'000;
    EXPECT_EQ(cdaudio_GetPosition(), 2);
    EXPECT_EQ(cdaudio_GetMode(), QStringLiteral("stopped"));
    cdaudio_Play();
    clock += 3'000;
    EXPECT_EQ(cdaudio_GetPosition(), 5);

    // The drive stops by itself at the end of the disc, at the last track's end.
    clock += 60'000;
    EXPECT_FALSE(cdaudio_IsPlaying());
    EXPECT_EQ(text(raw(QStringLiteral("status cdr position"))), QStringLiteral("03:00:30:00"));
}

TEST_F(CdAudioTest, IsPlayingOnlyWhileTheModeSaysPlaying)
{
    drives({{60, 60}});
    QString a = QStringLiteral("A");
    ASSERT_TRUE(cdaudio_Open(a));
    struct Step {
        const char* command;
        const char* mode;
        bool playing;
    };
    const Step steps[] = {
        {"play cdr", "playing", true},
        {"stop cdr wait", "stopped", false},
        {"play cdr", "playing", true},
        {"set cdr door open", "open", false},
        {"close cdr", "", false},
    };
    for (const Step& s : steps) {
        raw(QString::fromLatin1(s.command));
        EXPECT_EQ(cdaudio_GetMode(), QString::fromLatin1(s.mode)) << s.command;
        EXPECT_EQ(cdaudio_IsPlaying(), s.playing) << s.command;
    }
}

TEST_F(CdAudioTest, EjectIsTrueWhenSentAndADiscTakenOutStopsThePlaying)
{
    drives({{60, 60}, {60}});
    QString a = QStringLiteral("A");
    ASSERT_TRUE(cdaudio_Open(a));
    sim->setDoorStuck(0, true);
    forget();
    EXPECT_TRUE(cdaudio_Eject());   // the refusal is not looked at
    EXPECT_EQ(sent(), QStringList{"set cdr door open"});
    EXPECT_TRUE(cdaudio_IsMediaPresent());
    sim->setDoorStuck(0, false);
    EXPECT_TRUE(cdaudio_Eject());
    EXPECT_TRUE(sim->doorOpen(0));
    EXPECT_FALSE(cdaudio_IsMediaPresent());

    QString b = QStringLiteral("B");
    ASSERT_TRUE(cdaudio_Open(b));
    ASSERT_TRUE(cdaudio_Play());
    sim->removeDisc(1);
    processEvents();   // a hand takes the disc out between two passes of the event loop
    EXPECT_EQ(cdaudio_GetCurrentTrack(), QString());
    EXPECT_EQ(cdaudio_GetMode(), QStringLiteral("not ready"));
    EXPECT_FALSE(cdaudio_Play());
}

TEST(SimulatedCdDescription, TextsBecomeDrivesOrAreRefused)
{
    struct Case {
        const char* text;
        QList<int> tracksPerDrive;   // -1: no disc
    };
    const Case good[] = {
        {"12", {12}},
        {"none;3:25,4:02,58", {-1, 3}},
        {" open ; 2 ", {-1, 2}},
        {"1", {1}},
        {"3:00,4:00,data 20:00", {3}},
        {"data 40:00", {1}},
    };
    for (const Case& c : good) {
        QString why;
        auto drives = SimulatedCdDrives::fromDescription(QString::fromLatin1(c.text), &why);
        ASSERT_TRUE(drives) << c.text << ": " << why.toStdString();
        ASSERT_EQ(drives->count(), c.tracksPerDrive.size()) << c.text;
        for (int d = 0; d < drives->count(); ++d) {
            cd::Toc toc;
            const bool disc = drives->readToc(d, &toc);
            EXPECT_EQ(disc ? int(toc.tracks.size()) : -1, c.tracksPerDrive[d]) << c.text;
        }
    }
    QString why;
    auto drives = SimulatedCdDrives::fromDescription(QStringLiteral("none;3:25,4:02,58"), &why);
    cd::Toc toc;
    drives->readToc(1, &toc);
    EXPECT_EQ(toc.tracks[0].length, 205 * 75);
    EXPECT_EQ(toc.tracks[2].start, (205 + 242) * 75);
    EXPECT_EQ(drives->status(0), cd::DriveStatus::NoDisc);
    EXPECT_EQ(SimulatedCdDrives::fromDescription(QStringLiteral("open"), &why)->status(0), cd::DriveStatus::DoorOpen);

    // An enhanced CD: the data track is a second session, a session gap after the audio.
    drives = SimulatedCdDrives::fromDescription(QStringLiteral("3:00,4:00,data 20:00"), &why);
    ASSERT_TRUE(drives->readToc(0, &toc));
    EXPECT_EQ(toc.tracks[1].length, 240 * 75);
    EXPECT_EQ(toc.tracks[2].start, 420 * 75 + cd::SessionGapSectors);
    EXPECT_FALSE(toc.tracks[2].audio);
    EXPECT_TRUE(toc.tracks[1].audio);

    for (const char* bad : {"abc", "3:5", "0", "100", "2:00,,3:00", "1:60", "data", "data20:00", "3:00,data x"}) {
        why.clear();
        EXPECT_FALSE(SimulatedCdDrives::fromDescription(QString::fromLatin1(bad), &why)) << bad;
        EXPECT_FALSE(why.isEmpty()) << bad;
    }
}

TEST(CdDeviceList, EachDeviceOnceInNaturalOrder)
{
    EXPECT_EQ(cd::orderDevices({"/dev/sr10", "/dev/sr2", "/dev/sr0", "/dev/sr2", ""}),
              (QStringList{"/dev/sr0", "/dev/sr2", "/dev/sr10"}));
}

TEST(CdSimulateVariable, TheDefaultDeviceUsesTheDrivesItDescribes)
{
    qputenv("VELTRA_CD_SIMULATE", "none;2:00,58");
    cdaudio::reset();
    CDDeviceOpen = false;
    QString a = QStringLiteral("A"), b = QStringLiteral("B");
    EXPECT_TRUE(cdaudio_Open(a));
    EXPECT_FALSE(cdaudio_IsMediaPresent());
    EXPECT_TRUE(cdaudio_Open(b));
    EXPECT_EQ(cdaudio_GetTrackCount(), 2);
    EXPECT_EQ(cdaudio_GetTotalLength(), QStringLiteral("02:58"));
    cdaudio_Close();
    qunsetenv("VELTRA_CD_SIMULATE");
    cdaudio::reset();
}

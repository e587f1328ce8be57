// The global hot keys on a keyboard the tests press by hand: combination texts, what a poll
// reports, and the bindings read from [GlobalKeys] into FrmMenus' labels.
#include "common/modSettings.h"
#include "mainwindow/FrmMenus.h"
#include "platform/FakeKeyStateSource.h"
#include "player/modGlobalKeys.h"
#include "startup/Forms.h"
#include "startup/modGlobalKeySettings.h"
#include "support/TestEnv.h"

#include <QLabel>

#include <initializer_list>
#include <set>

using namespace keystate;

namespace {

constexpr int F5 = vk::F1 + 4;

QStringList poll(KeyStateSource& keys, bool enabled = true)
{
    QStringList seen;
    globalkeys_Poll(keys, enabled, [&](const QString& combination) { seen << combination; });
    return seen;
}

QStringList mediaDefaults()
{
    return {QStringLiteral("Media:  Play/Pause"), QStringLiteral("Media:  Stop"), QStringLiteral("Media:  Next"),
            QStringLiteral("Media:  Previous"), QStringLiteral("Media:  Mute"),
            QStringLiteral("Media:  Volume Up"), QStringLiteral("Media:  Volume Down")};
}

} // namespace

TEST(GlobalKeyTable, NamesAndCodesInPollOrder)
{
    const auto table = globalkeys_Table();
    ASSERT_EQ(table.size(), 65u);
    struct Expect { int index; const char* name; int code; };
    for (const Expect& e : std::initializer_list<Expect>{
             {0, "F1", 112}, {11, "F12", 123}, {12, "A", 65}, {37, "Z", 90}, {38, "1", 49},
             {46, "9", 57}, {47, "0", 48}, {48, "NumPad1", 97}, {56, "NumPad9", 105},
             {57, "NumPad0", 96}, {58, "Media:  Play/Pause", 179}, {59, "Media:  Stop", 178},
             {60, "Media:  Next", 176}, {61, "Media:  Previous", 177}, {62, "Media:  Mute", 173},
             {63, "Media:  Volume Up", 175}, {64, "Media:  Volume Down", 174}}) {
        EXPECT_STREQ(table[e.index].name, e.name) << e.index;
        EXPECT_EQ(table[e.index].code, e.code) << e.name;
    }
    // Every code is watched once.
    std::set<int> codes;
    for (const GlobalKey& key : table) codes.insert(key.code);
    EXPECT_EQ(codes.size(), 65u);
}

TEST(GlobalKeyCombination, PrefixesInPriorityOrder)
{
    constexpr int D = Down;
    struct Case { int ctrl, shift, alt, win; const char* prefix; };
    for (const Case& c : std::initializer_list<Case>{
             {D, D, D, D, "Ctrl+Shift+"}, {D, D, D, 0, "Ctrl+Shift+"}, {D, 0, D, D, "Ctrl+Alt+"},
             {D, 0, 0, D, "Win+Ctrl+"},   {0, D, D, D, "Win+Shift+"},  {0, D, D, 0, "Alt+Shift+"},
             {0, 0, D, D, "Win+Alt+"},    {0, 0, D, 0, "Alt+"},        {0, D, 0, 0, "Shift+"},
             {D, 0, 0, 0, "Ctrl+"},       {0, 0, 0, D, "Win+"},        {0, 0, 0, 0, ""}}) {
        EXPECT_EQ(globalkeys_Prefix(c.ctrl, c.shift, c.alt, c.win), QString::fromLatin1(c.prefix))
            << c.ctrl << c.shift << c.alt << c.win;
    }
    // Any non-zero value counts as held, the pressed bit alone too.
    EXPECT_EQ(globalkeys_Prefix(1, 0, 0, 0), QStringLiteral("Ctrl+"));
    EXPECT_EQ(globalkeys_Prefix(-32767, 0, 0, 0), QStringLiteral("Ctrl+"));
}

TEST(GlobalKeyCombination, OnlyAKeyPressedSinceLastAskedCounts)
{
    const QString f5 = QStringLiteral("F5");
    EXPECT_EQ(globalkeys_Combination(Down | PressedSinceLastQuery, Down, 0, 0, 0, f5), QStringLiteral("Ctrl+F5"));
    EXPECT_EQ(globalkeys_Combination(PressedSinceLastQuery, 0, 0, 0, 0, f5), QStringLiteral("F5"));
    // Down but already reported: nothing, whatever the modifiers.
    EXPECT_TRUE(globalkeys_Combination(Down, Down, Down, Down, Down, f5).isEmpty());
    EXPECT_TRUE(globalkeys_Combination(0, Down, 0, 0, 0, f5).isEmpty());
}

TEST(GlobalKeyCombination, WinIsTheLeftKeyWhenDownElseTheRight)
{
    EXPECT_EQ(globalkeys_WinValue(0, 0), 0);
    EXPECT_EQ(globalkeys_WinValue(0, Down), Down);
    EXPECT_EQ(globalkeys_WinValue(Down | PressedSinceLastQuery, Down), Down | PressedSinceLastQuery);
    EXPECT_EQ(globalkeys_WinValue(Down, 0), Down);
}

TEST(GlobalKeyPoll, F5WithModifiersHeld)
{
    FakeKeyStateSource keys;
    keys.press(vk::Control);
    keys.press(vk::Alt);
    keys.press(vk::Shift);
    keys.tap(F5);
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Ctrl+Shift+F5")});

    keys.release(vk::Shift);
    keys.press(vk::RightWin);
    keys.tap(F5);
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Ctrl+Alt+F5")});

    // Either Windows key is Win.
    keys.release(vk::Control);
    keys.release(vk::Alt);
    keys.tap(F5);
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Win+F5")});
    keys.release(vk::RightWin);
    keys.press(vk::LeftWin);
    keys.press(vk::Shift);
    keys.tap('Q');
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Win+Shift+Q")});
}

TEST(GlobalKeyPoll, HeldKeyFiresOnceAndModifiersAloneNever)
{
    FakeKeyStateSource keys;
    keys.press(vk::Control);
    keys.press(vk::LeftWin);
    EXPECT_TRUE(poll(keys).isEmpty());

    keys.press('P');
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Win+Ctrl+P")});
    EXPECT_TRUE(poll(keys).isEmpty());
    EXPECT_TRUE(poll(keys).isEmpty());
    keys.release('P');
    EXPECT_TRUE(poll(keys).isEmpty());
    keys.press('P');
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Win+Ctrl+P")});
}

TEST(GlobalKeyPoll, DisabledPollReportsNothingButConsumesPresses)
{
    FakeKeyStateSource keys;
    keys.tap(F5);
    keys.press(vk::MediaNext);
    EXPECT_TRUE(poll(keys, false).isEmpty());
    EXPECT_TRUE(poll(keys, true).isEmpty());
    keys.release(vk::MediaNext);
    keys.tap(vk::MediaNext);
    EXPECT_EQ(poll(keys), QStringList{QStringLiteral("Media:  Next")});
}

TEST(GlobalKeyPoll, SeveralKeysInOnePollInTableOrder)
{
    FakeKeyStateSource keys;
    keys.tap(vk::MediaPlayPause);
    keys.tap('B');
    keys.tap(vk::NumPad0);
    keys.tap('0');
    keys.tap(vk::F1 + 1);
    EXPECT_EQ(poll(keys), (QStringList{QStringLiteral("F2"), QStringLiteral("B"), QStringLiteral("0"),
                                       QStringLiteral("NumPad0"), QStringLiteral("Media:  Play/Pause")}));
}

TEST(GlobalKeyPoll, ReadsModifiersThenEveryKeyEvenWhenDisabled)
{
    for (const bool enabled : {true, false}) {
        FakeKeyStateSource keys;
        poll(keys, enabled);
        ASSERT_EQ(keys.queries.size(), 70u);
        EXPECT_EQ(std::vector<int>(keys.queries.begin(), keys.queries.begin() + 5),
                  (std::vector<int>{vk::Shift, vk::Control, vk::Alt, vk::LeftWin, vk::RightWin}));
        const auto table = globalkeys_Table();
        for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(keys.queries[5 + i], table[i].code);
    }
}

TEST(GlobalKeyMatch, FirstCaptionEqualIgnoringCase)
{
    QStringList captions = mediaDefaults();
    EXPECT_EQ(globalkeys_Match(captions, QStringLiteral("Media:  Next")), GlobalKey_Next);
    EXPECT_EQ(globalkeys_Match(captions, QStringLiteral("MEDIA:  volume down")), GlobalKey_VolumeDown);
    // One blank is a different name.
    EXPECT_EQ(globalkeys_Match(captions, QStringLiteral("Media: Next")), -1);
    EXPECT_EQ(globalkeys_Match(captions, QStringLiteral("Shift+Media:  Next")), -1);

    captions[GlobalKey_Stop] = QStringLiteral("Ctrl+F5");
    captions[GlobalKey_Mute] = QStringLiteral("ctrl+f5");
    EXPECT_EQ(globalkeys_Match(captions, QStringLiteral("Ctrl+F5")), GlobalKey_Stop);
}

class GlobalKeySettingsTest : public VeltraTest {};

TEST_F(GlobalKeySettingsTest, EmptySectionGivesTheMediaKeys)
{
    settings_LoadGlobalKeys();
    EXPECT_EQ(globalkeys_LabelCaptions(), mediaDefaults());
    FrmMenus& menus = forms().get<FrmMenus>();
    EXPECT_EQ(menus.lblMedia_Previous->text(), QStringLiteral("Media:  Previous"));
    for (QLabel* label : {menus.lblMedia_PlayPause, menus.lblMedia_Stop, menus.lblMedia_Next,
                          menus.lblMedia_Previous, menus.lblMedia_Mute, menus.lblMedia_VolumeUp,
                          menus.lblMedia_VolumeDown}) {
        EXPECT_TRUE(label->isHidden()) << label->objectName().toStdString();
        EXPECT_EQ(label->parentWidget(), &menus);
    }

    // The media keys work with no set-up at all.
    FakeKeyStateSource keys;
    keys.tap(vk::MediaPrevious);
    const QStringList seen = poll(keys);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(globalkeys_Match(globalkeys_LabelCaptions(), seen[0]), GlobalKey_Previous);
}

TEST_F(GlobalKeySettingsTest, CombinedTextsFromModifierAndKeyName)
{
    const QString section = QStringLiteral("GlobalKeys");
    settings_WriteValue(section, QStringLiteral("PlayPauseExt"), QStringLiteral("Ctrl+Shift"));
    settings_WriteValue(section, QStringLiteral("PlayPauseKey"), QStringLiteral("F5"));
    settings_WriteValue(section, QStringLiteral("StopKey"), QStringLiteral("S"));          // no modifier
    settings_WriteValue(section, QStringLiteral("NextExt"), QStringLiteral("Win+Alt"));    // default key
    settings_WriteValue(section, QStringLiteral("MuteExt"), QString());
    settings_WriteValue(section, QStringLiteral("MuteKey"), QStringLiteral("NumPad0"));

    const QStringList expected{QStringLiteral("Ctrl+Shift+F5"), QStringLiteral("S"),
                               QStringLiteral("Win+Alt+Media:  Next"), QStringLiteral("Media:  Previous"),
                               QStringLiteral("NumPad0"), QStringLiteral("Media:  Volume Up"),
                               QStringLiteral("Media:  Volume Down")};
    EXPECT_EQ(globalkeys_ReadCaptions(), expected);
    settings_LoadGlobalKeys();
    EXPECT_EQ(globalkeys_LabelCaptions(), expected);
    // Rebuilt from the stored values, not extended.
    settings_LoadGlobalKeys();
    EXPECT_EQ(globalkeys_LabelCaptions(), expected);

    // A changed binding replaces the old one on the next load (the preferences' Apply).
    settings_WriteValue(section, QStringLiteral("PlayPauseExt"), QString());
    settings_LoadGlobalKeys();
    EXPECT_EQ(forms().get<FrmMenus>().lblMedia_PlayPause->text(), QStringLiteral("F5"));
}

TEST_F(GlobalKeySettingsTest, LowerCaseBindingMatchesThePressedCombination)
{
    settings_WriteValue(QStringLiteral("GlobalKeys"), QStringLiteral("VolumeUpExt"), QStringLiteral("ctrl+shift"));
    settings_WriteValue(QStringLiteral("GlobalKeys"), QStringLiteral("VolumeUpKey"), QStringLiteral("p"));
    settings_LoadGlobalKeys();

    FakeKeyStateSource keys;
    keys.press(vk::Control);
    keys.press(vk::Shift);
    keys.tap('P');
    const QStringList seen = poll(keys);
    ASSERT_EQ(seen, QStringList{QStringLiteral("Ctrl+Shift+P")});
    EXPECT_EQ(globalkeys_Match(globalkeys_LabelCaptions(), seen[0]), GlobalKey_VolumeUp);
}

TEST_F(GlobalKeySettingsTest, SameCaptionTwiceFirstActionWins)
{
    for (const char* word : {"NextKey", "VolumeDownKey"})
        settings_WriteValue(QStringLiteral("GlobalKeys"), QString::fromLatin1(word), QStringLiteral("F9"));
    settings_LoadGlobalKeys();
    FrmMenus& menus = forms().get<FrmMenus>();
    EXPECT_EQ(menus.lblMedia_Next->text(), QStringLiteral("F9"));
    EXPECT_EQ(menus.lblMedia_VolumeDown->text(), QStringLiteral("F9"));
    EXPECT_EQ(globalkeys_Match(globalkeys_LabelCaptions(), QStringLiteral("F9")), GlobalKey_Next);
}

// Preferences: what the dialog loads, the range checks, what Apply writes and pushes into the
// running windows, the hot-key editor, the file types, and one session through real clicks.
#include "../controls/ControlTestSupport.h"
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modAssociations.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "library/FrmMediaLibrary.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "mainwindow/FrmMenus.h"
#include "platform/FakeKeyStateSource.h"
#include "mainwindow/FrmMain.h"
#include "player/modGlobalKeys.h"
#include "preferences/FrmAdjustVolumes.h"
#include "preferences/FrmPreferences.h"
#include "preferences/modPreferenceKeys.h"
#include "startup/Forms.h"
#include "startup/modGlobalKeySettings.h"
#include "support/GeneratedMedia.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>

#include <optional>

using veltra::MsgIcon;
using veltra::MsgResult;
using prefkeys::OptionGroup;

namespace {

// A key typed into a widget, as the keyboard sends it.
void type(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.unicode(), Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
    }
}

void key(QWidget* w, int k)
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

std::vector<int> checkedBoxes(const FrmPreferences& d)
{
    std::vector<int> out;
    for (int i = 0; i < prefkeys::CheckCount; ++i)
        if (d.chkSetting[size_t(i)]->isChecked()) out.push_back(i);
    return out;
}

int chosen(const std::vector<QRadioButton*>& group)
{
    for (size_t i = 0; i < group.size(); ++i)
        if (group[i]->isChecked()) return int(i);
    return -1;
}

QStringList hotkeyRows(const FrmPreferences& d)
{
    QStringList out;
    const ListViewModel& rows = d.lstvItems->items();
    for (int r = 1; r <= rows.count(); ++r) out << rows.cells(r).join(u'|');
    return out;
}

int visiblePanel(const FrmPreferences& d)
{
    int shown = -1;
    for (int i = 0; i < FrmPreferences::SectionCount; ++i)
        if (d.sectionPanel(i)->isVisibleTo(&d)) shown = shown == -1 ? i : -2;
    return shown;
}

// A value as the file holds it, or nothing when the key is not there.
std::optional<QString> stored(const QString& section, const QString& key)
{
    QFile f(settings_Path());
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    QString current;
    for (const QString& raw : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"))) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) current = line.mid(1, line.size() - 2);
        else if (current == section && line.startsWith(key + u'=')) return line.mid(key.size() + 1);
    }
    return std::nullopt;
}

class PreferencesTest : public StartupFixture {
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        keys = std::make_shared<FakeKeyStateSource>();
        keystate::setTestSource(keys);
    }
    FrmPreferences& open() { return forms().fresh<FrmPreferences>(); }
    void check(FrmPreferences& d, int index, bool on)
    {
        d.chkSetting[size_t(index)]->setChecked(on);
        d.chkSetting_Click(index);
    }
    // A hot-key row picked as a click picks it.
    void pickRow(FrmPreferences& d, int row)
    {
        d.lstvItems->items().selectOnly(row);
        d.lstvItems_Click();
    }
    void choose(QComboBox* list, const QString& text, FrmPreferences& d)
    {
        list->setCurrentIndex(list->findText(text));
        if (list == d.cmbExtension) d.cmbExtension_Click();
        else d.cmbShortcutKeys_Click();
    }

    std::shared_ptr<FakeKeyStateSource> keys;
};

} // namespace

TEST_F(VeltraTest, PreferencesOpenedWithNoSettingsFileShowTheDefaultsAndCloseWritesNothing)
{
    FrmPreferences& d = forms().get<FrmPreferences>();
    EXPECT_EQ(visiblePanel(d), 0);
    EXPECT_EQ(d.lblTitle->text(), "Section selected:  Display Settings:");
    EXPECT_TRUE(d.lblSection[0]->font().bold());
    EXPECT_FALSE(d.lblSection[1]->font().bold());
    EXPECT_EQ(checkedBoxes(d), std::vector<int>({2, 3, 5, 10, 14, 15, 16, 17, 18, 20, 21, 24, 27}));
    EXPECT_EQ(chosen(d.opPlayback), 7);
    EXPECT_EQ(chosen(d.opDirection), 0);
    EXPECT_EQ(chosen(d.opPlaylist), 2);
    EXPECT_EQ(chosen(d.opSortBy), 4);
    EXPECT_EQ(chosen(d.opSortIn), 2);
    EXPECT_EQ(chosen(d.opTime), 0);
    EXPECT_EQ(QStringList({d.txtSkipRate->text(), d.txtIntroduction->text(), d.txtMaxPlaylists->text(), d.txtMaxFiles->text()}),
              QStringList({"5", "30", "30", "30"}));
    EXPECT_EQ(d.lblFont->text(), "Tahoma");
    EXPECT_EQ(d.lblFontsize->text(), "8");
    EXPECT_EQ(d.colourOf(0), 0x80000005u);
    EXPECT_EQ(d.colourOf(3), 0xC00000u);
    EXPECT_EQ(d.markedTypes(), QStringList({"MP3", "MP2", "MP1"}));
    EXPECT_EQ(d.lstTypes->count(), 20);
    EXPECT_EQ(hotkeyRows(d), QStringList({"01|Play/Pause||Media:  Play/Pause", "02|Stop||Media:  Stop", "03|Next||Media:  Next",
                                          "04|Previous||Media:  Previous", "05|Mute||Media:  Mute", "06|Volume Up||Media:  Volume Up",
                                          "07|Volume Down||Media:  Volume Down"}));
    EXPECT_EQ(d.cmbExtension->count(), 15);
    EXPECT_EQ(d.cmbShortcutKeys->count(), 69);
    EXPECT_FALSE(d.cmdApply->isEnabled());
    EXPECT_TRUE(d.cmdOK->isDefault());
    EXPECT_FALSE(d.cmdRemoveImage->isEnabled());

    d.lblSection_Click(8);
    EXPECT_EQ(visiblePanel(d), 8);
    EXPECT_EQ(d.lblTitle->text(), "Section selected:  Appearance:");
    EXPECT_TRUE(d.lblSection[8]->font().bold());
    EXPECT_FALSE(d.lblSection[0]->font().bold());
    d.cmdClose->click();
    EXPECT_FALSE(QFile::exists(settings_Path()));
}

TEST_F(VeltraTest, PreferencesLoadTheLastOfSeveralChosenOptionsAndDefaultsForValuesThatDoNotConvert)
{
    writeFile("settings.ini", "[ListSorting]\r\nSortByArtist=1\r\nSortByFilename=1\r\nDoNotSortTheList=0\r\n"
                              "[Settings]\r\nShowToolbar=abc\r\nAlwaysOnTop=1\r\nDisableGlobalHotkeys=1\r\n"
                              "RewindForwardRate=fast\r\nIntroductionRate=99999\r\nNumberofRecentPlaylists=-12\r\n"
                              "[Appearance]\r\nBackgroundColour=xyz\r\nFontColour=255\r\nPlayingFontColour=-2147483640\r\n"
                              "PlaylistImage=/nowhere/gone.jpg\r\n"
                              "[FileTypes]\r\nMP3=0\r\nWAV=1\r\nMID=yes\r\n[GlobalKeys]\r\nStopExt=Ctrl\r\nStopKey=F5\r\n");
    FrmPreferences& d = forms().get<FrmPreferences>();
    EXPECT_EQ(chosen(d.opSortBy), 4);
    EXPECT_EQ(chosen(d.opSortIn), 2);   // none stored: the design state
    EXPECT_TRUE(d.chkSetting[2]->isChecked());
    EXPECT_TRUE(d.chkSetting[0]->isChecked());
    // numbers: text that is no whole number gives the default, one out of range stays for Apply
    EXPECT_EQ(d.txtSkipRate->text(), "5");
    EXPECT_EQ(d.txtIntroduction->text(), "99999");
    EXPECT_EQ(d.txtMaxPlaylists->text(), "30");
    EXPECT_EQ(d.colourOf(0), 0x80000005u);
    EXPECT_EQ(d.colourOf(1), 255u);
    EXPECT_EQ(d.colourOf(2), 0x80000008u);
    EXPECT_EQ(d.markedTypes(), QStringList({"MP2", "MP1", "WAV"}));
    EXPECT_EQ(hotkeyRows(d).value(1), "02|Stop|Ctrl|F5");
    // the path stays, the preview is empty
    EXPECT_EQ(d.txtImage->text(), "/nowhere/gone.jpg");
    EXPECT_TRUE(d.cmdRemoveImage->isEnabled());
    EXPECT_TRUE(d.imgImage->pixmap().isNull());
    // the hot-key editor opens locked
    for (QWidget* w : std::initializer_list<QWidget*>{d.lstvItems, d.cmbExtension, d.cmbShortcutKeys, d.txtName, d.cmdResetGlobalKeys})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(d.cmdApply->isEnabled());
}

TEST_F(VeltraTest, PreferencesNumberBoxesTakeDigitsWithoutALeadingZero)
{
    FrmPreferences& d = forms().get<FrmPreferences>();
    d.txtSkipRate->clear();
    type(d.txtSkipRate, "0");
    EXPECT_EQ(d.txtSkipRate->text(), "");
    type(d.txtSkipRate, "05a-");
    EXPECT_EQ(d.txtSkipRate->text(), "5");
    type(d.txtSkipRate, "0");
    EXPECT_EQ(d.txtSkipRate->text(), "50");
    EXPECT_TRUE(d.cmdApply->isEnabled());
    EXPECT_TRUE(d.cmdApply->isDefault());
}

TEST_F(PreferencesTest, RangeChecksReportTheFirstBadBoxShowItsPanelAndWriteNothing)
{
    start();
    struct Case {
        const char* skip;
        const char* intro;
        const char* playlists;
        const char* files;
        int failing;   // the box reported, -1 for none
    };
    const Case cases[] = {
        {"4", "30", "30", "30", prefkeys::SkipRate},  {"51", "30", "30", "30", prefkeys::SkipRate},
        {"99999", "30", "30", "30", prefkeys::SkipRate}, {"5", "", "30", "30", prefkeys::Introduction},
        {"5", "9", "30", "30", prefkeys::Introduction}, {"50", "61", "30", "30", prefkeys::Introduction},
        {"4", "30", "30", "5", prefkeys::SkipRate},   {"5", "30", "30", "5", prefkeys::MaxFiles},
        {"5", "10", "9", "60", prefkeys::MaxPlaylists}, {"50", "60", "10", "60", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.skip) + "/" + c.intro + "/" + c.playlists + "/" + c.files);
        FrmPreferences& d = open();
        d.lblSection_Click(FrmPreferences::Appearance);
        d.txtSkipRate->setText(QString::fromLatin1(c.skip));
        d.txtIntroduction->setText(QString::fromLatin1(c.intro));
        d.txtMaxPlaylists->setText(QString::fromLatin1(c.playlists));
        d.txtMaxFiles->setText(QString::fromLatin1(c.files));
        const QByteArray before = readFile(settings_Path());
        ui.clear();
        EXPECT_EQ(d.cmdApply_Click(), c.failing < 0);
        if (c.failing < 0) {
            EXPECT_EQ(ui.messages().size(), 0);
            EXPECT_EQ(stored("Settings", "RewindForwardRate"), "50");
            continue;
        }
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(ui.messages()[0].text, prefkeys::rangeMessage(prefkeys::NumberBox(c.failing)));
        EXPECT_EQ(ui.messages()[0].title, "Error Saving The Preferences");
        EXPECT_EQ(ui.messages()[0].icon, int(MsgIcon::Exclamation));
        const QLineEdit* boxes[] = {d.txtSkipRate, d.txtIntroduction, d.txtMaxPlaylists, d.txtMaxFiles};
        EXPECT_EQ(d.focusWidget(), boxes[c.failing]);
        EXPECT_EQ(visiblePanel(d), c.failing <= prefkeys::Introduction ? FrmPreferences::PlaybackOptions : FrmPreferences::RecentFilenames);
        EXPECT_EQ(d.lblTitle->text(), "Section selected:  Appearance:");   // heading left as it was
        EXPECT_EQ(readFile(settings_Path()), before);
        EXPECT_TRUE(d.cmdApply->isEnabled());
    }
    EXPECT_EQ(prefkeys::rangeMessage(prefkeys::SkipRate), "The skip rate that you have specified for playing songs is invalid.\r\n\r\n"
                                                          "Maximum:  50\r\nMinimum:  5\r\n\r\n"
                                                          "Please change your skip rate before continuing.\r\n");
}

TEST_F(PreferencesTest, OkStaysOpenAfterAFailedCheckAndClosesAfterAPassedOne)
{
    start();
    FrmPreferences& d = open();
    int closed = 0;
    QObject::connect(&d, &QDialog::accepted, [&closed] { ++closed; });
    d.txtSkipRate->setText("4");
    d.cmdOK_Click();
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(d.txtSkipRate->text(), "4");
    EXPECT_EQ(ui.messages().size(), 1);
    d.txtSkipRate->setText("7");
    d.cmdOK_Click();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(stored("Settings", "RewindForwardRate"), "7");

    // with nothing to apply OK closes at once and writes nothing
    FrmPreferences& again = open();
    const QByteArray before = readFile(settings_Path());
    again.cmdOK_Click();
    EXPECT_EQ(again.result(), int(QDialog::Accepted));
    EXPECT_EQ(readFile(settings_Path()), before);
}

TEST_F(PreferencesTest, ApplyWithNoChangeWritesEveryKeyWithItsDefaultAndLogsIt)
{
    start();
    QFile::remove(settings_Path());
    FrmPreferences& d = open();
    forms().get<FrmConsole>().setText(QString());
    ASSERT_TRUE(d.cmdApply_Click());
    for (const prefkeys::CheckSetting& c : prefkeys::checkSettings()) EXPECT_EQ(stored("Settings", c.key), c.def) << c.key;
    for (OptionGroup g : {OptionGroup::Playback, OptionGroup::Direction, OptionGroup::Playlist, OptionGroup::Time, OptionGroup::SortBy,
                          OptionGroup::SortIn})
        for (const prefkeys::OptionSetting& o : prefkeys::options(g)) EXPECT_EQ(stored(o.section, o.key), o.def) << o.key;
    for (int n = 0; n < prefkeys::NumberBoxCount; ++n)
        EXPECT_EQ(stored("Settings", prefkeys::number(prefkeys::NumberBox(n)).key), prefkeys::number(prefkeys::NumberBox(n)).def);
    EXPECT_EQ(stored("Appearance", "BackgroundColour"), "-2147483643");
    EXPECT_EQ(stored("Appearance", "FontColour"), "-2147483640");
    EXPECT_EQ(stored("Appearance", "PlayingFontColour"), "192");
    EXPECT_EQ(stored("Appearance", "PlayNextFontColour"), "12582912");
    EXPECT_EQ(stored("Appearance", "Font"), "Tahoma");
    EXPECT_EQ(stored("Appearance", "Fontsize"), "8");
    EXPECT_EQ(stored("Appearance", "PlaylistImage"), "");
    const QStringList types = prefkeys::fileTypes();
    for (int i = 0; i < types.size(); ++i) EXPECT_EQ(stored("FileTypes", types[i]), prefkeys::fileTypeDefault(i)) << types[i].toStdString();
    for (const GlobalKeyBinding& b : globalkeys_Bindings()) {
        EXPECT_EQ(stored("GlobalKeys", QString::fromLatin1(b.keyWord) + "Ext"), "");
        EXPECT_EQ(stored("GlobalKeys", QString::fromLatin1(b.keyWord) + "Key"), b.defaultKey);
    }
    EXPECT_TRUE(forms().get<FrmConsole>().Text().contains(QRegularExpression("^VELTRA preferences were updated at [^\r\n]+\\.\r$", QRegularExpression::MultilineOption)));
    EXPECT_FALSE(d.cmdApply->isEnabled());
    EXPECT_TRUE(d.cmdOK->isDefault());
}

TEST_F(PreferencesTest, ApplyPushesTheValuesIntoTheRunningWindows)
{
    writeFile("settings.ini", "[Settings]\r\nAlwaysUseVolumeAdjusting=1\r\n");
    start();
    FrmMain& m = main();
    ASSERT_NE(tray_Icon(), nullptr);
    ASSERT_TRUE(forms().get<FrmAdjustVolumes>().chkAlwaysAdjust->isChecked());

    FrmPreferences& d = open();
    check(d, 15, false);   // tray support
    check(d, 13, true);    // start with the session
    check(d, 22, false);   // per-song volumes
    check(d, 2, false);    // toolbar
    d.opPlayback[8]->setChecked(true);
    ui.colourAnswers = {0x123456};
    d.cmdColour_Click(0);
    ui.fontAnswers = {veltra::FontChoice{"Courier", 12}};
    d.cmdChangeFont_Click();
    const QString picture = home("back.bmp");
    QImage(8, 8, QImage::Format_RGB32).save(picture);
    ui.fileAnswers = {veltra::FileDialogResult{false, {picture}, 1}};
    d.cmdSelectImage_Click();
    EXPECT_FALSE(d.imgImage->pixmap().isNull());
    ASSERT_TRUE(d.cmdApply_Click());

    EXPECT_EQ(tray_Icon(), nullptr);
    const QString autostart = associations::autostartFilePath("VELTRA");
    ASSERT_TRUE(QFile::exists(autostart));
    EXPECT_TRUE(QString::fromUtf8(readFile(autostart)).contains(" /systray /winload\n"));
    EXPECT_FALSE(forms().get<FrmAdjustVolumes>().chkAlwaysAdjust->isChecked());
    EXPECT_EQ(stored("Settings", "AlwaysUseVolumeAdjusting"), "0");
    EXPECT_TRUE(m.mnuPlayingIntroduction->isChecked());
    EXPECT_EQ(stored("Playback", "PlayingIntroduction"), "1");
    EXPECT_FALSE(m.mnuShowToolbar->isChecked());
    EXPECT_FALSE(m.cbToolbar->isVisible());
    EXPECT_EQ(stored("Settings", "ShowToolbar"), "0");
    EXPECT_EQ(m.lstvPlaylist->backColour(), 0x123456u);
    EXPECT_EQ(stored("Appearance", "BackgroundColour"), "1193046");
    EXPECT_EQ(m.lstvPlaylist->font().family(), "Courier");
    EXPECT_EQ(stored("Appearance", "Fontsize"), "12");
    EXPECT_FALSE(m.lstvPlaylist->backgroundPicture().isNull());
    EXPECT_EQ(stored("Appearance", "PlaylistImage"), picture);

    // and back
    check(d, 15, true);
    check(d, 13, false);
    check(d, 2, true);
    d.cmdRemoveImage_Click();
    ASSERT_TRUE(d.cmdApply_Click());
    EXPECT_NE(tray_Icon(), nullptr);
    EXPECT_FALSE(QFile::exists(autostart));
    EXPECT_TRUE(m.cbToolbar->isVisible());
    EXPECT_TRUE(m.lstvPlaylist->backgroundPicture().isNull());
    EXPECT_EQ(stored("Appearance", "PlaylistImage"), "");
}

TEST_F(PreferencesTest, RecentListsShortenAtTheNextFileButResetActsAtOnce)
{
    QByteArray recent = "[RecentMediaFiles]\r\n";
    for (int i = 1; i <= 12; ++i) recent += "Filename" + QByteArray::number(i) + "=/m/" + QByteArray::number(i) + ".mp3\r\n";
    writeFile("settings.ini", recent);
    start();
    FrmMain& m = main();
    ASSERT_EQ(m.mnuRecentMedia->count(), 12);
    FrmPreferences& d = open();
    d.txtMaxFiles->setText("10");
    ASSERT_TRUE(d.cmdApply_Click());
    EXPECT_EQ(m.mnuRecentMedia->count(), 12);
    recentmedia_AddFile(home("new.mp3"), m);
    EXPECT_EQ(m.mnuRecentMedia->count(), 10);

    ASSERT_TRUE(d.cmdResetRecentFiles->isEnabled());
    d.cmdResetRecentFiles->click();
    d.cmdClose->click();
    EXPECT_TRUE(recentmedia_IsEmpty());
    EXPECT_EQ(m.mnuRecentMedia->count(), 1);
    EXPECT_EQ(m.mnuRecentMedia->at(0)->text(), "(None)");
    EXPECT_FALSE(open().cmdResetRecentFiles->isEnabled());
}

TEST_F(PreferencesTest, HotKeyEditorWritesTheCurrentRowAndApplyPutsTheKeysInEffect)
{
    start();
    FrmPreferences& d = open();
    d.lblSection_Click(FrmPreferences::GlobalHotKeys);
    // opened on the first row: a choice writes it
    EXPECT_EQ(d.txtName->text(), "Play/Pause");
    EXPECT_EQ(d.cmbShortcutKeys->currentText(), "Media:  Play/Pause");
    choose(d.cmbShortcutKeys, "F5", d);
    EXPECT_EQ(hotkeyRows(d).mid(0, 2), QStringList({"01|Play/Pause||F5", "02|Stop||Media:  Stop"}));

    pickRow(d, 2);
    EXPECT_EQ(d.txtName->text(), "Stop");
    EXPECT_EQ(d.cmbShortcutKeys->currentText(), "Media:  Stop");
    choose(d.cmbExtension, "Ctrl+Shift", d);
    choose(d.cmbShortcutKeys, "F5", d);
    EXPECT_EQ(hotkeyRows(d).value(1), "02|Stop|Ctrl+Shift|F5");

    // a row without a modifier leaves the list as it was; separators give the entry below
    pickRow(d, 3);
    EXPECT_EQ(d.cmbExtension->currentText(), "Ctrl+Shift");
    d.cmbShortcutKeys->setCurrentIndex(12);   // the separator after "F12"
    d.cmbShortcutKeys_Click();
    EXPECT_EQ(hotkeyRows(d).value(2), "03|Next||A");
    d.cmbExtension->setCurrentIndex(1);   // the separator under "(None)"
    d.cmbExtension_Click();
    EXPECT_EQ(d.cmbExtension->currentText(), "Alt");
    EXPECT_EQ(hotkeyRows(d).value(2), "03|Next|Alt|A");
    choose(d.cmbExtension, "(None)", d);
    EXPECT_EQ(hotkeyRows(d).value(2), "03|Next||A");

    ASSERT_TRUE(d.cmdApply_Click());
    EXPECT_EQ(stored("GlobalKeys", "StopExt"), "Ctrl+Shift");
    EXPECT_EQ(stored("GlobalKeys", "StopKey"), "F5");
    EXPECT_EQ(stored("GlobalKeys", "NextExt"), "");
    EXPECT_EQ(stored("GlobalKeys", "NextKey"), "A");
    EXPECT_EQ(forms().get<FrmMenus>().lblMedia_Stop->text(), "Ctrl+Shift+F5");
    EXPECT_EQ(globalkeys_Match(globalkeys_LabelCaptions(), "Ctrl+Shift+F5"), GlobalKey_Stop);

    // check box 25 locks the editor at once and drops the row
    pickRow(d, 1);
    check(d, 25, true);
    EXPECT_FALSE(d.lstvItems->isEnabled());
    EXPECT_FALSE(d.cmbShortcutKeys->isEnabled());
    EXPECT_EQ(d.currentHotkeyRow(), 0);
    check(d, 25, false);
    EXPECT_TRUE(d.cmbShortcutKeys->isEnabled());

    d.cmdResetGlobalKeys_Click();
    ASSERT_TRUE(d.cmdApply_Click());
    EXPECT_EQ(hotkeyRows(d).value(0), "01|Play||Media:  Play/Pause");
    for (const GlobalKeyBinding& b : globalkeys_Bindings()) {
        EXPECT_EQ(stored("GlobalKeys", QString::fromLatin1(b.keyWord) + "Ext"), "");
        EXPECT_EQ(stored("GlobalKeys", QString::fromLatin1(b.keyWord) + "Key"), b.defaultKey);
    }

    // Reset shows the row it showed, as reset, and a choice goes into it
    pickRow(d, 2);
    choose(d.cmbShortcutKeys, "F6", d);
    d.cmdResetGlobalKeys_Click();
    EXPECT_EQ(d.txtName->text(), "Stop");
    EXPECT_EQ(d.cmbShortcutKeys->currentText(), "Media:  Stop");
    choose(d.cmbShortcutKeys, "F7", d);
    EXPECT_EQ(hotkeyRows(d).value(1), "02|Stop||F7");
}

// The pages as they are shown: the background picture fills its preview alike at every
// opening, with no caption showing around it, and no file type's row is cut off.
TEST_F(PreferencesTest, ThePreviewKeepsItsSizeAndEveryFileTypeRowIsWhole)
{
    start();
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(home("picture.png")));
    settings_WriteValue("Appearance", "PlaylistImage", home("picture.png"));
    QSize shown[2];
    for (QSize& size : shown) {
        FrmPreferences& d = open();
        d.lblSection_Click(FrmPreferences::Appearance);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        size = d.imgImage->pixmap().size();
        EXPECT_EQ(size, QSize(400, 300).scaled(d.imgImage->size().boundedTo({400, 300}), Qt::KeepAspectRatio));
        for (QLabel* caption : d.picBack->findChildren<QLabel*>()) {
            if (caption->text() == "(No image currently selected)") {
                EXPECT_FALSE(caption->isVisible());
            }
        }

        d.lblSection_Click(FrmPreferences::FileAssociations);
        processEvents();
        // Each row whole, clear of the list's frame.
        for (int i = 0; i < d.lstTypes->count(); ++i)
            EXPECT_TRUE(d.lstTypes->viewport()->rect().adjusted(0, 2, 0, -2).contains(d.lstTypes->visualItemRect(d.lstTypes->item(i))))
                << d.lstTypes->item(i)->text().toStdString();
        d.cmdClose->click();
    }
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_GT(shown[0].height(), 150);
}

TEST_F(PreferencesTest, RegisterNowDeclaresTheMarkedTypesAndNothingIsUndone)
{
    start();
    FrmPreferences& d = open();
    d.cmdUnselectAll_Click();
    d.lstTypes->item(0)->setCheckState(Qt::Checked);   // MP3
    d.lstTypes->item(6)->setCheckState(Qt::Checked);   // WAV
    ui.clear();
    ui.msgAnswers = {MsgResult::No};
    d.cmdRegisterNow_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Confirm Updating Windows Icons");
    EXPECT_EQ(ui.messages()[0].text, "For the changes to make better effect, you will need to update your Windows Icons.\r\n\r\n"
                                     "Do you want VELTRA to update your Windows icons?\r\n");
    EXPECT_EQ(ui.messages()[0].icon, int(MsgIcon::Question));
    auto declared = [] {
        for (const auto& [k, v] : associations::readDesktopEntry(associations::desktopFilePath("VELTRA")))
            if (k == "MimeType") return v;
        return QString();
    };
    const QString mp3 = associations::mimeTypeFor("mp3"), wav = associations::mimeTypeFor("wav");
    EXPECT_LT(declared().indexOf(mp3), declared().indexOf(wav));
    EXPECT_GE(declared().indexOf(mp3), 0);

    d.lstTypes->item(0)->setCheckState(Qt::Unchecked);
    d.cmdRegisterNow_Click();
    EXPECT_TRUE(declared().contains(mp3));
    EXPECT_TRUE(d.cmdApply->isEnabled());

    // " Select All" then Close stores nothing
    d.cmdClose->click();
    FrmPreferences& again = open();
    again.cmdSelectAll_Click();
    EXPECT_EQ(again.markedTypes().size(), 20);
    again.cmdClose->click();
    EXPECT_EQ(stored("FileTypes", "MID"), std::nullopt);
    EXPECT_EQ(open().markedTypes(), QStringList({"MP3", "MP2", "MP1"}));
}

// The desktop finds a file's type in the shared MIME database, by its name or else by what it
// holds: with all twenty ticked, a real file of each type opens with the program, no type is
// made up, and "Open with" shows the program's icon.
TEST_F(PreferencesTest, RegisterNowDeclaresTheTypeTheDesktopFindsInEachRealFileWithTheProgramsIcon)
{
    start();
    FrmPreferences& d = open();
    d.cmdSelectAll->click();
    ui.msgAnswers = {MsgResult::No};
    d.cmdRegisterNow->click();
    const QString entry = associations::desktopFilePath("VELTRA");
    QStringList declared;
    QString icon;
    for (const auto& [k, v] : associations::readDesktopEntry(entry)) {
        if (k == "MimeType") declared = v.split(u';', Qt::SkipEmptyParts);
        if (k == "Icon") icon = v;
    }
    const QMimeDatabase db;
    for (const QString& type : declared) EXPECT_TRUE(db.mimeTypeForName(type).isValid()) << type.toStdString();
    ASSERT_EQ(d.markedTypes().size(), 20);
    for (const QString& type : d.markedTypes()) {
        const QString extension = type.toLower();
        SCOPED_TRACE(extension.toStdString());
        const QString file = home("media/t." + extension);
        QDir().mkpath(home("media"));
        QString why;
        if (!testmedia::make(extension, file, 0.5, &why)) {
            ADD_FAILURE() << "no file to try: " << why.toStdString();
            continue;
        }
        const QMimeType found = db.mimeTypeForFile(file);
        // A file the database has no type for can be claimed by no type at all.
        if (!found.isDefault()) {
            EXPECT_TRUE(declared.contains(found.name())) << found.name().toStdString();
        }
    }
    EXPECT_FALSE(declared.contains(db.mimeTypeForName("application/octet-stream").name()));

    // The icon in the user's part of the theme every desktop looks in, at the sizes it has.
    EXPECT_EQ(icon, "veltra");
    int images = 0;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage image(home(QString(".xdg-data/icons/hicolor/%1x%1/apps/veltra.png").arg(size)));
        if (image.isNull()) continue;
        ++images;
        EXPECT_EQ(image.size(), QSize(size, size));
    }
    EXPECT_GE(images, 1);
}

// The running program: the dialog runs modally over the main window while real clicks pick
// sections, switch tray support off and on, and give Volume Up a new key, which the main
// window's hot-key timer then answers.
TEST_F(PreferencesTest, RealClicksApplyToTheRunningProgram)
{
    start();
    FrmMain& m = main();
    ASSERT_NE(tray_Icon(), nullptr);
    ASSERT_TRUE(m.tmrMediaKeys->isActive());
    bool trayGone = false, trayBack = false;
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* d = qobject_cast<FrmPreferences*>(form);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(visiblePanel(*d), FrmPreferences::GlobalHotKeys);
        QTimer::singleShot(0, d, [&, d] {
            auto click = [](QWidget* w) { controltest::click(w, w->rect().center()); };
            click(d->lblSection[FrmPreferences::AdvancedSettings]);
            EXPECT_EQ(visiblePanel(*d), FrmPreferences::AdvancedSettings);
            click(d->chkSetting[15]);
            EXPECT_TRUE(d->cmdApply->isEnabled());
            click(d->cmdApply);
            trayGone = tray_Icon() == nullptr;
            click(d->chkSetting[15]);
            click(d->cmdApply);
            trayBack = tray_Icon() != nullptr;

            click(d->lblSection[FrmPreferences::GlobalHotKeys]);
            QTreeView* view = d->lstvItems;
            const QRect row6 = view->visualRect(view->model()->index(5, 1));
            controltest::click(view->viewport(), row6.center());
            EXPECT_EQ(d->txtName->text(), "Volume Up");
            key(d->cmbShortcutKeys, Qt::Key_Home);   // "F1"
            click(d->cmdOK);
        });
        QTimer::singleShot(5000, d, [d] { d->done(QDialog::Rejected); });   // never hangs the suite
        EXPECT_EQ(d->exec(), int(QDialog::Accepted));
    });
    m.mnuWindowsEditWindowsGLobalHotkeys->trigger();
    EXPECT_TRUE(trayGone);
    EXPECT_TRUE(trayBack);
    EXPECT_FALSE(forms().isLoaded<FrmPreferences>());
    EXPECT_EQ(stored("GlobalKeys", "VolumeUpKey"), "F1");

    const int volume = m.sldVolume->value();
    keys->tap(keystate::vk::F1);
    processEvents(400);   // the hot-key timer's next ticks
    EXPECT_EQ(m.sldVolume->value(), volume + 1);
}

TEST_F(PreferencesTest, EveryOpenerLoadsTheDialogAfreshOnItsSection)
{
    start();
    const std::pair<QAction*, int> openers[] = {{main().mnuPreferences, FrmPreferences::DisplaySettings},
                                                {main().mnuChangeAppearance, FrmPreferences::Appearance},
                                                {main().mnuWindowsEditWindowsGLobalHotkeys, FrmPreferences::GlobalHotKeys}};
    for (const auto& [item, section] : openers) {
        ui.modalHandlers.push_back([section = section](QObject* form) {
            auto* d = qobject_cast<FrmPreferences*>(form);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(visiblePanel(*d), section);
            EXPECT_TRUE(d->lblSection[size_t(section)]->font().bold());
        });
        item->trigger();
        EXPECT_EQ(ui.calls.last().title, "FrmPreferences");
    }
    main().mnuOpenMediaLibrary_Click();
    FrmMediaLibrary& library = forms().get<FrmMediaLibrary>();
    ui.modalHandlers.push_back([](QObject* form) {
        auto* d = qobject_cast<FrmPreferences*>(form);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(visiblePanel(*d), FrmPreferences::DisplaySettings);
        d->txtSkipRate->setText("9");   // left without Apply
    });
    library.mnuPreferences->trigger();
    EXPECT_FALSE(forms().isLoaded<FrmPreferences>());
    EXPECT_EQ(open().txtSkipRate->text(), "5");
}

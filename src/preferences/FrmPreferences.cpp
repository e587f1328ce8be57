#include "preferences/FrmPreferences.h"

#include "common/ListView.h"
#include "common/SectionSelector.h"
#include "common/modColours.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "controls/ctlQX_wLine3D.h"
#include "library/FrmMediaLibrary.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "player/modGlobalKeys.h"
#include "preferences/modPreferenceKeys.h"
#include "startup/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace veltra;
using prefkeys::OptionGroup;

namespace {

const char* const kSectionCaptions[FrmPreferences::SectionCount] = {
    "Display Settings »", "Playback Options »", "Playlist Sorting »", "Recent Filenames »", "Advanced Settings »",
    "File Associations »", "Window Settings »", "Global Hot Keys »", "Appearance »", "Start-Up Settings »",
};


constexpr int kPanelWidth = 500;

QVBoxLayout* column(QWidget* panel, int spacing = 2)
{
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(spacing);
    return layout;
}

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

// Rows of a label, a box and a trailing label ("Seconds"), the boxes lined up.
QGridLayout* labelledRows(QWidget* parent, std::initializer_list<std::pair<const char*, QWidget*>> rows, const QString& after = QString())
{
    auto* grid = new QGridLayout;
    int r = 0;
    for (const auto& [caption, box] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), parent), r, 0);
        grid->addWidget(box, r, 1);
        if (!after.isEmpty()) grid->addWidget(new QLabel(after, parent), r, 2);
        ++r;
    }
    grid->setColumnStretch(3, 1);
    return grid;
}

void setBoxColour(QWidget* box, quint32 colour, QPalette::ColorRole role)
{
    QPalette p = box->palette();
    p.setColor(role, colours::toQColor(colour, p));
    box->setPalette(p);
}

} // namespace

FrmPreferences::FrmPreferences() : ToolDialog(QStringLiteral("FrmPreferences"), QStringLiteral("Preferences"))
{
    cmdBack->hide();   // the preferences have no steps to go back through
    buildSections();
    cmdOK = addActionButton(QStringLiteral("cmdOK"), QStringLiteral("&OK"), [this] { cmdOK_Click(); });
    cmdApply = addActionButton(QStringLiteral("cmdApply"), QStringLiteral("&Apply"), [this] { cmdApply_Click(); });
    Form_Load();
}

ctlQX_noFocusPanel* FrmPreferences::sectionPanel(int index) const
{
    const std::array<ctlQX_noFocusPanel*, SectionCount> panels{nfpDisplay, nfpPlayback,       nfpSorting,       nfpFiles,
                                                               nfpAdvanced, nfpFileAss,       nfpWindowSettings, nfpGlobalHotKeys,
                                                               nfpAppearance, nfpStartup};
    return index >= 0 && index < SectionCount ? panels[size_t(index)] : nullptr;
}

void FrmPreferences::prefs_Show(QWidget* owner, int section)
{
    FrmPreferences& dialog = forms().fresh<FrmPreferences>();
    if (section >= 0) dialog.lblSection_Click(section);
    windows_ShowModal(dialog, owner, true);
}

// ---- layout ----------------------------------------------------------------------------------

ctlQX_noFocusPanel* FrmPreferences::newPanel(const char* name, QVBoxLayout** layout, int spacing)
{
    auto* panel = new ctlQX_noFocusPanel(this);
    panel->setObjectName(QString::fromLatin1(name));
    *layout = column(panel, spacing);
    return panel;
}

ctlQX_noFocusPanel* FrmPreferences::checkPanel(const char* name, std::initializer_list<int> boxes)
{
    QVBoxLayout* layout = nullptr;
    ctlQX_noFocusPanel* panel = newPanel(name, &layout);
    for (int i : boxes) layout->addWidget(checkBox(i, panel));
    layout->addStretch(1);
    return panel;
}

QCheckBox* FrmPreferences::checkBox(int index, QWidget* parent)
{
    QCheckBox* box = chkSetting[size_t(index)];
    box->setParent(parent);
    return box;
}

std::vector<QRadioButton*> FrmPreferences::optionGroup(int group, QWidget* parent)
{
    std::vector<QRadioButton*> buttons;
    for (const prefkeys::OptionSetting& o : prefkeys::options(OptionGroup(group))) {
        auto* b = new QRadioButton(QString::fromLatin1(o.caption), parent);
        // The design state: the option the settings choose by default.
        b->setChecked(qstrcmp(o.def, "1") == 0);
        connect(b, &QRadioButton::clicked, this, [this] { markChanged(); });
        parent->layout()->addWidget(b);
        buttons.push_back(b);
    }
    return buttons;
}

QLineEdit* FrmPreferences::numberBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(40);
    controls_FilterNumericKeys(box);   // typed keys only: a pasted text is Apply's to check
    useFocusColours(box);
    connect(box, &QLineEdit::textChanged, this, [this] { markChanged(); });
    return box;
}

QPushButton* FrmPreferences::newButton(const char* name, const QString& caption, QWidget* parent, std::function<void()> handler)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, std::move(handler));
    return button;
}

void FrmPreferences::buildSections()
{
    for (int i = 0; i < prefkeys::CheckCount; ++i) {
        // Made without a parent: each box joins the tab order where its section places it,
        // not in index order.
        auto* box = new QCheckBox(QString::fromLatin1(prefkeys::checkSettings()[size_t(i)].caption));
        box->setObjectName(QStringLiteral("chkSetting%1").arg(i));
        connect(box, &QCheckBox::clicked, this, [this, i] { chkSetting_Click(i); });
        chkSetting.push_back(box);
    }

    QStringList captions;
    for (const char* c : kSectionCaptions) captions << QString::fromUtf8(c);
    m_sections = new SectionSelector(this, captions, [this](int i) { lblSection_Click(i); });
    for (int i = 0; i < SectionCount; ++i) {
        tpSectionSelector[size_t(i)] = m_sections->panel(i);
        lblSection[size_t(i)] = m_sections->label(i);
    }
    QVBoxLayout* selectors = m_sections->column();
    selectors->addStretch(1);

    lblTitle = heading(QStringLiteral("Main Title:"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));

    buildDisplay();
    buildPlayback();
    buildSorting();
    buildFiles();
    nfpAdvanced = checkPanel("nfpAdvanced", {29, 27, 26, 12, 9, 7, 15, 16, 17, 18, 19, 24});
    buildFileAssociations();
    nfpWindowSettings = checkPanel("nfpWindowSettings", {23, 22, 21, 20});
    buildGlobalHotKeys();
    buildAppearance();
    nfpStartup = checkPanel("nfpStartup", {28, 11, 13, 14});

    // The ten panels share one place, as large as the largest needs; exactly one is shown.
    auto* place = new QWidget(this);
    auto* stack = new QGridLayout(place);
    stack->setContentsMargins(0, 0, 0, 0);
    QSize room(kPanelWidth, 0);
    for (int i = 0; i < SectionCount; ++i) {
        stack->addWidget(sectionPanel(i), 0, 0);
        room = room.expandedTo(sectionPanel(i)->sizeHint());
    }
    place->setMinimumSize(room);
    auto* right = new QVBoxLayout;
    right->addWidget(lblTitle);
    auto* line = new ctlQX_wLine3D(this);
    line->setFixedHeight(4);
    right->addWidget(line);
    right->addWidget(place, 1);

    auto* both = new QHBoxLayout;
    both->addLayout(selectors);
    both->addSpacing(6);
    both->addLayout(right, 1);
    body()->addLayout(both);
    auto* bottom = new ctlQX_wLine3D(this);
    bottom->setFixedHeight(4);
    body()->addWidget(bottom);
}

void FrmPreferences::buildDisplay()
{
    QVBoxLayout* layout = nullptr;
    nfpDisplay = newPanel("nfpDisplay", &layout);
    for (int i : {2, 3, 4, 0, 1, 5, 10}) layout->addWidget(checkBox(i, nfpDisplay));
    layout->addSpacing(6);
    opTime = optionGroup(int(OptionGroup::Time), nfpDisplay);
    layout->addStretch(1);
}

void FrmPreferences::buildPlayback()
{
    QVBoxLayout* layout = nullptr;
    nfpPlayback = newPanel("nfpPlayback", &layout);
    txtSkipRate = numberBox("txtSkipRate", nfpPlayback);
    txtIntroduction = numberBox("txtIntroduction", nfpPlayback);
    layout->addLayout(labelledRows(nfpPlayback,
                                   {{"Skip rate when forwarding, rewinding:", txtSkipRate}, {"Introduction mode shoud be only:", txtIntroduction}},
                                   QStringLiteral("Seconds")));
    auto group = [&](ctlQX_noFocusPanel*& panel, const char* name, OptionGroup g, std::vector<QRadioButton*>& buttons) {
        auto* line = new ctlQX_wLine3D(nfpPlayback);
        line->setFixedHeight(4);
        layout->addWidget(line);
        panel = new ctlQX_noFocusPanel(nfpPlayback);
        panel->setObjectName(QString::fromLatin1(name));
        column(panel, 1)->setContentsMargins(0, 0, 0, 0);
        buttons = optionGroup(int(g), panel);
        layout->addWidget(panel);
    };
    group(nfpPlaybackSettings, "nfpPlaybackSettings", OptionGroup::Playback, opPlayback);
    group(nfpDirection, "nfpDirection", OptionGroup::Direction, opDirection);
    group(nfpPlaylist, "nfpPlaylist", OptionGroup::Playlist, opPlaylist);
    layout->addStretch(1);
}

void FrmPreferences::buildSorting()
{
    QVBoxLayout* layout = nullptr;
    nfpSorting = newPanel("nfpSorting", &layout);
    nfpSortingOptions = new ctlQX_noFocusPanel(nfpSorting);
    nfpSortingOptions->setObjectName(QStringLiteral("nfpSortingOptions"));
    column(nfpSortingOptions)->setContentsMargins(0, 0, 0, 0);
    opSortBy = optionGroup(int(OptionGroup::SortBy), nfpSortingOptions);
    nfpOrder = new ctlQX_noFocusPanel(nfpSorting);
    nfpOrder->setObjectName(QStringLiteral("nfpOrder"));
    column(nfpOrder)->setContentsMargins(0, 0, 0, 0);
    opSortIn = optionGroup(int(OptionGroup::SortIn), nfpOrder);
    layout->addWidget(nfpSortingOptions);
    auto* line = new ctlQX_wLine3D(nfpSorting);
    line->setFixedHeight(4);
    layout->addWidget(line);
    layout->addWidget(nfpOrder);
    layout->addStretch(1);
}

void FrmPreferences::buildFiles()
{
    QVBoxLayout* layout = nullptr;
    nfpFiles = newPanel("nfpFiles", &layout, 6);
    auto* note = new QLabel(QStringLiteral("This section will allow you to reset the Recent Playlists and Recent Files located on the main "
                                           "window and the media library.  Additional settings are available for both sections as well."),
                            nfpFiles);
    note->setWordWrap(true);
    layout->addWidget(note);
    txtMaxPlaylists = numberBox("txtMaxPlaylists", nfpFiles);
    txtMaxFiles = numberBox("txtMaxFiles", nfpFiles);
    layout->addLayout(labelledRows(nfpFiles, {{"Maximum number of recent playlists:", txtMaxPlaylists},
                                              {"Maximum number of recent media files:", txtMaxFiles}}));
    cmdResetRecentFiles = newButton("cmdResetRecentFiles", QStringLiteral("Reset Recent Files"), nfpFiles, [this] { cmdResetRecentFiles_Click(); });
    cmdResetRecentPlaylists = newButton("cmdResetRecentPlaylists", QStringLiteral("Reset Recent Playlists"), nfpFiles,
                                        [this] { cmdResetRecentPlaylists_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdResetRecentFiles);
    buttons->addWidget(cmdResetRecentPlaylists);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
}

void FrmPreferences::buildAppearance()
{
    QVBoxLayout* layout = nullptr;
    nfpAppearance = newPanel("nfpAppearance", &layout, 4);
    layout->addWidget(heading(QStringLiteral("Colours:"), nfpAppearance));
    const char* captions[] = {"Playlist background colour:", "Default font colour:", "Playing font colour:", "'Next Song' font colour:"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLabel(nfpAppearance);
        box->setObjectName(QStringLiteral("picColour%1").arg(i));
        box->setFixedSize(48, 18);
        box->setFrameShape(QFrame::Box);
        box->setAutoFillBackground(true);
        auto* button = newButton("cmdColour", QStringLiteral("..."), nfpAppearance, [this, i] { cmdColour_Click(i); });
        button->setObjectName(QStringLiteral("cmdColour%1").arg(i));
        button->setFixedWidth(28);
        picColour[size_t(i)] = box;
        cmdColour[size_t(i)] = button;
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), nfpAppearance), i % 2, (i / 2) * 3);
        grid->addWidget(box, i % 2, (i / 2) * 3 + 1);
        grid->addWidget(button, i % 2, (i / 2) * 3 + 2);
    }
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);
    layout->addLayout(grid);

    layout->addWidget(heading(QStringLiteral("Font Settings:"), nfpAppearance));
    lblFont = new QLabel(nfpAppearance);
    lblFont->setObjectName(QStringLiteral("lblFont"));
    lblFontsize = new QLabel(nfpAppearance);
    lblFontsize->setObjectName(QStringLiteral("lblFontsize"));
    cmdChangeFont = newButton("cmdChangeFont", QStringLiteral("Change Font..."), nfpAppearance, [this] { cmdChangeFont_Click(); });
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(new QLabel(QStringLiteral("Font:"), nfpAppearance));
    fontRow->addWidget(lblFont);
    fontRow->addSpacing(16);
    fontRow->addWidget(new QLabel(QStringLiteral("Font size:"), nfpAppearance));
    fontRow->addWidget(lblFontsize);
    fontRow->addStretch(1);
    fontRow->addWidget(cmdChangeFont);
    layout->addLayout(fontRow);

    layout->addWidget(heading(QStringLiteral("Background Image:"), nfpAppearance));
    txtImage = new QLineEdit(nfpAppearance);
    txtImage->setObjectName(QStringLiteral("txtImage"));
    txtImage->setReadOnly(true);
    connect(txtImage, &QLineEdit::textChanged, this, [this] { txtImage_Change(); });
    layout->addWidget(txtImage);
    picBack = new QFrame(nfpAppearance);
    picBack->setObjectName(QStringLiteral("picBack"));
    picBack->setFrameShape(QFrame::StyledPanel);
    picBack->setMinimumHeight(110);
    lblNoImage = new QLabel(QStringLiteral("(No image currently selected)"), picBack);
    lblNoImage->setAlignment(Qt::AlignCenter);
    imgImage = new QLabel(picBack);
    imgImage->setObjectName(QStringLiteral("imgImage"));
    imgImage->setAlignment(Qt::AlignCenter);
    // The preview's size decides the picture's, never the other way round: the picture is
    // scaled again whenever the preview gets its size.
    imgImage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    imgImage->installEventFilter(this);
    auto* backGrid = new QGridLayout(picBack);
    backGrid->addWidget(lblNoImage, 0, 0);
    backGrid->addWidget(imgImage, 0, 0);
    cmdSelectImage = newButton("cmdSelectImage", QStringLiteral("Find Image"), nfpAppearance, [this] { cmdSelectImage_Click(); });
    cmdRemoveImage = newButton("cmdRemoveImage", QStringLiteral("Remove Image"), nfpAppearance, [this] { cmdRemoveImage_Click(); });
    auto* imageButtons = new QVBoxLayout;
    imageButtons->addWidget(cmdSelectImage);
    imageButtons->addWidget(cmdRemoveImage);
    imageButtons->addStretch(1);
    auto* imageRow = new QHBoxLayout;
    imageRow->addWidget(picBack, 1);
    imageRow->addLayout(imageButtons);
    layout->addLayout(imageRow, 1);
}

bool FrmPreferences::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstvItems && event->type() == QEvent::KeyRelease) lstvItems_KeyUp();
    if (watched == imgImage && event->type() == QEvent::Resize) showPicture();
    return ToolDialog::eventFilter(watched, event);
}

// ---- sections --------------------------------------------------------------------------------

void FrmPreferences::window_ShowSection(QWidget* panel, QLabel* label, const QString& title)
{
    for (int i = 0; i < SectionCount; ++i) sectionPanel(i)->hide();
    m_sections->highlight(label);
    lblTitle->setText(title);
    panel->show();
}

void FrmPreferences::lblSection_Click(int index)
{
    if (index < 0 || index >= SectionCount) return;
    window_ShowSection(sectionPanel(index), lblSection[size_t(index)], m_sections->heading(index));
}

// ---- loading ---------------------------------------------------------------------------------

quint32 FrmPreferences::colourOf(int index) const { return index >= 0 && index < 4 ? m_colours[size_t(index)] : 0; }

void FrmPreferences::setColour(int index, quint32 colour)
{
    if (index < 0 || index >= 4) return;
    m_colours[size_t(index)] = colour;
    setBoxColour(picColour[size_t(index)], colour, QPalette::Window);
}

void FrmPreferences::Form_Load()
{
    const QString S = QStringLiteral("Settings");
    lblSection_Click(DisplaySettings);

    for (int i = 0; i < prefkeys::ColourCount; ++i) setColour(i, prefkeys::readColour(prefkeys::PlaylistColour(i)));

    const QString A = QStringLiteral("Appearance");
    cmdRemoveImage->setEnabled(false);
    lblFont->setText(settings_ReadValue(A, QString::fromLatin1(prefkeys::FontKey), QString::fromLatin1(prefkeys::FontDefault)));
    lblFontsize->setText(settings_ReadValue(A, QString::fromLatin1(prefkeys::FontsizeKey), QString::fromLatin1(prefkeys::FontsizeDefault)));
    txtImage->setText(settings_ReadValue(A, QString::fromLatin1(prefkeys::ImageKey), QString()));
    loadImage(files_FileExists(txtImage->text()) ? txtImage->text() : QString());

    const QStringList types = prefkeys::fileTypes();
    for (const QString& t : types) {
        auto* item = new QListWidgetItem(t, lstTypes);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    cmdResetRecentPlaylists->setEnabled(!recentplaylists_IsEmpty());
    cmdResetRecentFiles->setEnabled(!recentmedia_IsEmpty());
    for (int i = 0; i < types.size(); ++i) lstTypes->item(i)->setCheckState(prefkeys::fileTypeMarked(i) ? Qt::Checked : Qt::Unchecked);

    prefs_FillHotkeyLists(cmbExtension, cmbShortcutKeys);
    const QStringList labels = prefkeys::hotkeyLabels();
    const QString G = QStringLiteral("GlobalKeys");
    int row = 0;
    for (const GlobalKeyBinding& b : globalkeys_Bindings()) {
        const QString word = QString::fromLatin1(b.keyWord);
        prefs_AddHotkeyRow(labels.value(row++), settings_ReadValue(G, word + QStringLiteral("Ext"), QString()),
                           settings_ReadValue(G, word + QStringLiteral("Key"), QString::fromLatin1(b.defaultKey)));
    }
    controls_RenumberItems(*lstvItems);

    auto setCheck = [this](int i) {
        const prefkeys::CheckSetting& c = prefkeys::checkSettings()[size_t(i)];
        chkSetting[size_t(i)]->setChecked(prefkeys::readSwitch("Settings", c.key, c.def));
    };
    setCheck(25);
    chkSetting_Click(25);
    // The editor opens on the first row, ready for a choice, unless it is locked.
    if (!chkSetting[25]->isChecked()) controls_SelectItem(lstvItems->items(), 1);
    lstvItems_Click();

    if (lstTypes->count() > 0) lstTypes->setCurrentRow(0);

    // Several options of a group stored as chosen: the one set last wins.
    auto setOptions = [](const std::vector<QRadioButton*>& buttons, OptionGroup g, std::initializer_list<int> order) {
        const auto table = prefkeys::options(g);
        for (int i : order)
            if (prefkeys::readSwitch(table[size_t(i)].section, table[size_t(i)].key, table[size_t(i)].def)) buttons[size_t(i)]->setChecked(true);
    };
    setOptions(opPlayback, OptionGroup::Playback, {0, 1, 2, 8, 3, 4, 5, 6, 7});
    setOptions(opDirection, OptionGroup::Direction, {0, 1});
    setOptions(opPlaylist, OptionGroup::Playlist, {0, 1, 2, 3, 4});
    setOptions(opSortIn, OptionGroup::SortIn, {0, 1, 2});
    setOptions(opSortBy, OptionGroup::SortBy, {0, 1, 2, 3, 4});
    for (int i : {0, 1, 2, 3, 4, 10, 5, 7, 6, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 24, 26, 27, 29, 28, 20, 21, 22, 23}) setCheck(i);
    setOptions(opTime, OptionGroup::Time, {0, 1});

    const std::pair<QLineEdit*, prefkeys::NumberBox> numbers[] = {
        {txtSkipRate, prefkeys::SkipRate},
        {txtIntroduction, prefkeys::Introduction},
        {txtMaxPlaylists, prefkeys::MaxPlaylists},
        {txtMaxFiles, prefkeys::MaxFiles},
    };
    for (const auto& [box, which] : numbers) {
        const prefkeys::NumberSetting& n = prefkeys::number(which);
        // A stored text that is no whole number takes the key's default; one out of range is
        // shown as it is, for Apply to report.
        const QString stored = settings_ReadValue(S, QString::fromLatin1(n.key), QString::fromLatin1(n.def));
        const bool digits = !stored.isEmpty() && std::all_of(stored.begin(), stored.end(), [](QChar c) { return c.isDigit(); });
        box->setText(digits ? stored : QString::fromLatin1(n.def));
    }

    cmdApply->setEnabled(false);
    cmdOK->setDefault(true);
}

// ---- editing ---------------------------------------------------------------------------------

void FrmPreferences::markChanged()
{
    cmdApply->setEnabled(true);
    cmdApply->setDefault(true);
}

void FrmPreferences::chkSetting_Click(int)
{
    markChanged();
    lockHotkeyEditor(chkSetting[25]->isChecked());
}

void FrmPreferences::txtImage_Change() { cmdRemoveImage->setEnabled(!txtImage->text().isEmpty()); }

void FrmPreferences::loadImage(const QString& path)
{
    // A file that is no readable picture leaves the preview empty.
    m_picture = path.isEmpty() ? QPixmap() : QPixmap(path);
    lblNoImage->setVisible(m_picture.isNull());
    imgImage->setVisible(!m_picture.isNull());
    if (m_picture.isNull()) imgImage->clear();
    else showPicture();
}

void FrmPreferences::showPicture()
{
    if (m_picture.isNull()) return;
    const QSize room = imgImage->size();
    if (room.isEmpty()) return;
    imgImage->setPixmap(m_picture.width() > room.width() || m_picture.height() > room.height()
                            ? m_picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                            : m_picture);
}

void FrmPreferences::cmdSelectImage_Click()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Select Image...");
    request.flags = 4;
    request.filter = QStringLiteral("Image Files|*.jpg;*.jpeg;*.gif;*.bmp|All Files|*.*|");
    request.filterIndex = 1;
    const FileDialogResult chosen = ui().openFileDialog(request);
    if (chosen.cancelled || chosen.files.isEmpty() || chosen.files.first().isEmpty()) return;
    txtImage->setText(chosen.files.first());
    loadImage(chosen.files.first());
    txtImage_Change();
    markChanged();
}

void FrmPreferences::cmdRemoveImage_Click()
{
    markChanged();
    txtImage->clear();
    loadImage(QString());
}

void FrmPreferences::cmdChangeFont_Click()
{
    FontChoice initial;
    initial.name = lblFont->text();
    initial.size = vb::Val(lblFontsize->text());
    // A cancelled picker leaves what it was given: the boxes keep their values.
    if (const std::optional<FontChoice> chosen = ui().chooseFont(initial, QStringLiteral("Change Playlist Font..."))) {
        lblFont->setText(chosen->name);
        lblFontsize->setText(vb::CStr(vb::Round(chosen->size, 2)));
    }
    markChanged();
}

void FrmPreferences::cmdColour_Click(int index)
{
    if (index < 0 || index >= 4) return;
    // The picker starts from what the box shows; a system colour is offered as its present value.
    const quint32 shown = colours::fromQColor(colours::toQColor(colourOf(index), palette()));
    if (const std::optional<quint32> chosen = ui().chooseColour(shown, QStringLiteral("Select Colour"))) setColour(index, *chosen);
    markChanged();
}

void FrmPreferences::cmdResetRecentFiles_Click()
{
    FrmMain& main = forms().get<FrmMain>();
    const bool library = main.mnuOpenMediaLibrary->isChecked() && forms().isLoaded<FrmMediaLibrary>();
    recentmedia_ClearEntries();
    recentmedia_ClearMenu(main);
    if (library) recentmedia_ClearMenu(forms().get<FrmMediaLibrary>());
    recentmedia_BuildMenu(main);
    if (library) recentmedia_BuildMenu(forms().get<FrmMediaLibrary>());
    cmdResetRecentFiles->setEnabled(false);
}

void FrmPreferences::cmdResetRecentPlaylists_Click()
{
    FrmMain& main = forms().get<FrmMain>();
    const bool library = main.mnuOpenMediaLibrary->isChecked() && forms().isLoaded<FrmMediaLibrary>();
    recentplaylists_ClearEntries();
    recentplaylists_ClearMenu(main);
    if (library) recentplaylists_ClearMenu(forms().get<FrmMediaLibrary>());
    recentplaylists_BuildMenu(main);
    if (library) recentplaylists_BuildMenu(forms().get<FrmMediaLibrary>());
    cmdResetRecentPlaylists->setEnabled(false);
}

void FrmPreferences::cmdClose_Click() { reject(); }

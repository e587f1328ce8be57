// The two pages with editors of their own: the global hot keys (seven rows, each a modifier
// and a key, written by Apply) and the file types (marked types stored by Apply; "Register
// Now " declares them to the desktop at once, and registrations are never undone).
#include "preferences/FrmPreferences.h"

#include "common/ListView.h"
#include "common/modAssociations.h"
#include "common/modColours.h"
#include "common/modControls.h"
#include "controls/SystemColours.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "player/modGlobalKeys.h"
#include "preferences/modPreferenceKeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace veltra;

namespace {

constexpr int kExtensionSeparator = 31;
constexpr quint32 kWindowBackground = 0x80000005u;
constexpr int kKeySeparator = 94;
const QString kNone = QStringLiteral("(None)");

QStringList extensionEntries()
{
    const QString sep = FrmPreferences::separatorOf(kExtensionSeparator);
    return {kNone,
            sep,
            QStringLiteral("Alt"),
            QStringLiteral("Win"),
            QStringLiteral("Ctrl"),
            QStringLiteral("Shift"),
            sep,
            QStringLiteral("Alt+Shift"),
            sep,
            QStringLiteral("Win+Alt"),
            QStringLiteral("Win+Ctrl"),
            QStringLiteral("Win+Shift"),
            sep,
            QStringLiteral("Ctrl+Alt"),
            QStringLiteral("Ctrl+Shift")};
}

QStringList keyEntries()
{
    const QString sep = FrmPreferences::separatorOf(kKeySeparator);
    QStringList out;
    for (int i = 1; i <= 12; ++i) out << QStringLiteral("F%1").arg(i);
    out << sep;
    for (char c = 'A'; c <= 'Z'; ++c) out << QString(QChar::fromLatin1(c));
    out << sep;
    for (int i = 0; i <= 9; ++i) out << QString::number(i);
    out << sep;
    for (int i = 0; i <= 9; ++i) out << QStringLiteral("NumPad%1").arg(i);
    out << sep;
    for (const GlobalKeyBinding& b : globalkeys_Bindings()) out << QString::fromLatin1(b.defaultKey);
    return out;
}

bool isSeparator(const QString& entry) { return !entry.isEmpty() && entry.count(u'-') == entry.size(); }

// A separator chosen in a list gives way to the entry right below it.
void skipSeparator(QComboBox* list)
{
    const int i = list->currentIndex();
    if (i >= 0 && isSeparator(list->itemText(i)) && i + 1 < list->count()) list->setCurrentIndex(i + 1);
}

void setBase(QWidget* w, quint32 colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colours::toQColor(colour, p));
    w->setPalette(p);
}

} // namespace

// ---- layout ----------------------------------------------------------------------------------

void FrmPreferences::buildGlobalHotKeys()
{
    QVBoxLayout* layout = nullptr;
    nfpGlobalHotKeys = newPanel("nfpGlobalHotKeys", &layout);

    lstvItems = new ListView(nfpGlobalHotKeys);
    lstvItems->setObjectName(QStringLiteral("lstvItems"));
    lstvItems->setColumns({QStringLiteral("Number:"), QStringLiteral("Type:"), QStringLiteral("Extension:"), QStringLiteral("Key:")});
    const double widths[] = {900, 1500, 1500, 2900};
    for (int c = 0; c < 4; ++c) lstvItems->setColumnWidthTwips(c, widths[c]);
    lstvItems->setHeaderButtons(false);
    lstvItems->installEventFilter(this);
    connect(lstvItems, &QAbstractItemView::clicked, this, [this] { lstvItems_Click(); });
    layout->addWidget(lstvItems, 1);

    txtName = new QLineEdit(nfpGlobalHotKeys);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setReadOnly(true);
    cmbExtension = new QComboBox(nfpGlobalHotKeys);
    cmbExtension->setObjectName(QStringLiteral("cmbExtension"));
    cmbShortcutKeys = new QComboBox(nfpGlobalHotKeys);
    cmbShortcutKeys->setObjectName(QStringLiteral("cmbShortcutKeys"));
    cmbShortcutKeys->setMaxVisibleItems(20);
    // The user's choices only: showing a row sets the lists without writing it back.
    connect(cmbExtension, &QComboBox::activated, this, [this] { cmbExtension_Click(); });
    connect(cmbShortcutKeys, &QComboBox::activated, this, [this] { cmbShortcutKeys_Click(); });
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Name:"), nfpGlobalHotKeys), 0, 0);
    grid->addWidget(txtName, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Select Extension:"), nfpGlobalHotKeys), 0, 1);
    grid->addWidget(cmbExtension, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Select Shortcut Key:"), nfpGlobalHotKeys), 0, 2);
    grid->addWidget(cmbShortcutKeys, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    layout->addLayout(grid);

    cmdResetGlobalKeys = newButton("cmdResetGlobalKeys", QStringLiteral("Reset Global Keys To Defaults"), nfpGlobalHotKeys,
                                   [this] { cmdResetGlobalKeys_Click(); });
    auto* row = new QHBoxLayout;
    row->addWidget(checkBox(25, nfpGlobalHotKeys));
    row->addStretch(1);
    row->addWidget(cmdResetGlobalKeys);
    layout->addLayout(row);
}

void FrmPreferences::buildFileAssociations()
{
    QVBoxLayout* layout = nullptr;
    nfpFileAss = newPanel("nfpFileAss", &layout);
    lstTypes = new QListWidget(nfpFileAss);
    lstTypes->setObjectName(QStringLiteral("lstTypes"));
    // Row by row, several types to a row.
    lstTypes->setFlow(QListView::LeftToRight);
    lstTypes->setWrapping(true);
    lstTypes->setResizeMode(QListView::Adjust);
    lstTypes->setGridSize(QSize(84, 22));
    // Room around the rows: the first row's check boxes would otherwise touch the list's
    // frame and look cut off.
    lstTypes->setSpacing(4);
    connect(lstTypes, &QListWidget::itemChanged, this, [this] { lstTypes_Click(); });

    cmdSelectAll = newButton("cmdSelectAll", QStringLiteral(" Select All"), nfpFileAss, [this] { cmdSelectAll_Click(); });
    cmdUnselectAll = newButton("cmdUnselectAll", QStringLiteral(" Unselect All"), nfpFileAss, [this] { cmdUnselectAll_Click(); });
    cmdRegisterNow = newButton("cmdRegisterNow", QStringLiteral("Register Now "), nfpFileAss, [this] { cmdRegisterNow_Click(); });
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdSelectAll, cmdUnselectAll, cmdRegisterNow}) buttons->addWidget(b);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(lstTypes, 1);
    top->addLayout(buttons);
    layout->addLayout(top, 1);
    layout->addWidget(checkBox(8, nfpFileAss));
    layout->addWidget(checkBox(6, nfpFileAss));
}

// ---- hot keys --------------------------------------------------------------------------------

void FrmPreferences::prefs_FillHotkeyLists(QComboBox* extensions, QComboBox* keys)
{
    HotkeyListsFilled = false;
    extensions->clear();
    keys->clear();
    extensions->addItems(extensionEntries());
    keys->addItems(keyEntries());
    extensions->setCurrentIndex(0);
    keys->setCurrentIndex(-1);
    HotkeyListsFilled = true;
}

void FrmPreferences::prefs_AddHotkeyRow(const QString& type, const QString& extension, const QString& key)
{
    lstvItems->items().add({QString(), type, extension, key});
}

int FrmPreferences::currentHotkeyRow() const
{
    const ListViewModel& rows = lstvItems->items();
    const int row = rows.selectedItem();
    return row > 0 && rows.isSelected(row) ? row : 0;
}

void FrmPreferences::lstvItems_Click()
{
    const int row = currentHotkeyRow();
    if (row == 0) return;
    const ListViewModel& rows = lstvItems->items();
    txtName->setText(rows.cell(row, HotkeyType));
    cmbShortcutKeys->setCurrentIndex(cmbShortcutKeys->findText(rows.cell(row, HotkeyKey), Qt::MatchExactly));
    const QString extension = rows.cell(row, HotkeyExtension);
    if (!extension.isEmpty()) cmbExtension->setCurrentIndex(cmbExtension->findText(extension, Qt::MatchExactly));
}

void FrmPreferences::lstvItems_KeyUp() { lstvItems_Click(); }

void FrmPreferences::writeChoice(QComboBox* list, int column)
{
    markChanged();
    if (!HotkeyListsFilled) return;
    skipSeparator(list);
    const int row = currentHotkeyRow();
    if (row == 0 || list->currentIndex() < 0) return;
    const QString chosen = list->currentText();
    lstvItems->items().setCell(row, column, chosen == kNone ? QString() : chosen);
}

void FrmPreferences::cmbExtension_Click() { writeChoice(cmbExtension, HotkeyExtension); }
void FrmPreferences::cmbShortcutKeys_Click() { writeChoice(cmbShortcutKeys, HotkeyKey); }

void FrmPreferences::cmdResetGlobalKeys_Click()
{
    markChanged();
    ListViewModel& rows = lstvItems->items();
    const int current = std::max(currentHotkeyRow(), 1);
    rows.clear();
    const QStringList labels = prefkeys::hotkeyResetLabels();
    int i = 0;
    for (const GlobalKeyBinding& b : globalkeys_Bindings()) prefs_AddHotkeyRow(labels.value(i++), QString(), QString::fromLatin1(b.defaultKey));
    controls_RenumberItems(rows);
    // The editor shows the row it showed, as reset, and a choice goes into that row.
    controls_SelectItem(rows, current);
    lstvItems_Click();
}

void FrmPreferences::lockHotkeyEditor(bool locked)
{
    const quint32 background = locked ? syscolour::ButtonFace : kWindowBackground;
    lstvItems->setEnabled(!locked);
    lstvItems->setBackColour(background);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdResetGlobalKeys, txtName, cmbExtension, cmbShortcutKeys}) {
        w->setEnabled(!locked);
        setBase(w, background);
    }
    // No row stays chosen: the lists write nothing until a row is picked again.
    ListViewModel& rows = lstvItems->items();
    rows.clearSelection();
    rows.selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

// ---- file types ------------------------------------------------------------------------------

void FrmPreferences::lstTypes_Click() { markChanged(); }

QStringList FrmPreferences::markedTypes() const
{
    QStringList out;
    for (int i = 0; i < lstTypes->count(); ++i)
        if (lstTypes->item(i)->checkState() == Qt::Checked) out << lstTypes->item(i)->text();
    return out;
}

void FrmPreferences::cmdSelectAll_Click()
{
    for (int i = 0; i < lstTypes->count(); ++i) lstTypes->item(i)->setCheckState(Qt::Checked);
    if (lstTypes->count() > 0) lstTypes->setCurrentRow(0);
    markChanged();
}

void FrmPreferences::cmdUnselectAll_Click()
{
    for (int i = 0; i < lstTypes->count(); ++i) lstTypes->item(i)->setCheckState(Qt::Unchecked);
    if (lstTypes->count() > 0) lstTypes->setCurrentRow(0);
    markChanged();
}

void FrmPreferences::cmdRegisterNow_Click()
{
    for (const QString& type : markedTypes()) associations_RegisterFileType(programfolder::title(), type.toLower());
    const MsgResult answer =
        msgBox(QStringLiteral("For the changes to make better effect, you will need to update your Windows Icons.\r\n\r\n"
                              "Do you want ")
                   + programfolder::title() + QStringLiteral(" to update your Windows icons?\r\n"),
               MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("Confirm Updating Windows Icons"));
    if (answer == MsgResult::Yes) associations_NotifyShell();
    markChanged();
}

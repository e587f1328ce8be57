#include "common/SongListWindow.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modListFiles.h"
#include "common/modLog.h"
#include "common/modSettings.h"
#include "common/modSongLists.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_3DPanel.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

using namespace veltra;

namespace {
constexpr double kColumnTwips[] = {2000, 2000, 1200, 2000};
constexpr int kKeyDelete = 46;
constexpr int kKeyF1 = 112;
constexpr int kKeyApps = 93;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;

class CentredColumn : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
    }
};

int shiftOf(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

bool isKey(int keyCode, int classic, Qt::Key qt) { return keyCode == classic || keyCode == qt; }

QAction* item(QMenu* menu, const char* name, const QString& caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}
} // namespace

SongListWindow::SongListWindow(const Setup& setup) : m_setup(setup)
{
    setWindowTitle(setup.caption);
    resize(560, 380);

    qxpTop = new ctlQX_3DPanel(this);
    qxpTop->setObjectName(QStringLiteral("qxpTop"));
    lblText = new QLabel(setup.heading, qxpTop);
    lblText->setObjectName(QStringLiteral("lblText"));
    auto* top = new QHBoxLayout(qxpTop);
    top->setContentsMargins(6, 4, 6, 4);
    top->addWidget(lblText);

    lstvItems = new ListView(this);
    lstvItems->setObjectName(QStringLiteral("lstvItems"));
    lstvItems->setColumns({QStringLiteral("Artist:"), QStringLiteral("Title:"), setup.valueHeader, QStringLiteral("Filename:")});
    for (int c = 0; c < 4; ++c) lstvItems->setColumnWidthTwips(c, kColumnTwips[c]);
    lstvItems->setMultiSelect(false);
    lstvItems->setHideColumnHeaders(true);   // start-up shows them when the setting says so
    lstvItems->setItemDelegateForColumn(songlists::Value, new CentredColumn(lstvItems));
    lstvItems->installEventFilter(this);
    lstvItems->viewport()->installEventFilter(this);

    m_switch = new QCheckBox(setup.switchCaption, this);

    qxpOptions = labelPanel("qxpOptions", "lblOptions", QStringLiteral("Options "), &lblOptions);

    cmdClear = new QPushButton(setup.clearCaption, this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdHide = new QPushButton(QStringLiteral("&Hide"), this);
    cmdHide->setObjectName(QStringLiteral("cmdHide"));

    m_panels = new QHBoxLayout;
    m_panels->addWidget(qxpOptions);
    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(cmdClear);
    m_buttons->addWidget(cmdHide);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(m_panels);
    bottom->addStretch();
    bottom->addLayout(m_buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(qxpTop);
    layout->addWidget(lstvItems, 1);
    layout->addWidget(m_switch);
    layout->addLayout(bottom);

    m_options = new QMenu(this);
    mnuShowHeaders = item(m_options, "mnuShowHeaders", QStringLiteral("Show &Headers..."));
    mnuShowHeaders->setCheckable(true);
    m_options->addSeparator();
    mnuList = m_options->addMenu(QStringLiteral("&List:"));
    mnuList->setObjectName(QStringLiteral("mnuList"));
    mnuRemoveSelected = item(mnuList, "mnuRemoveSelected", QStringLiteral("Remove:  &Selected..."));
    mnuRemoveDeadFilenames = item(mnuList, "mnuRemoveDeadFilenames", QStringLiteral("Remove:  &Dead Filenames..."));
    mnuList->addSeparator();
    mnuClear = item(mnuList, "mnuClear", QStringLiteral("&Clear..."));
    // The keys are the window's own (see Form_KeyDown); the menu only shows them.
    for (auto [a, key] : {std::pair{mnuShowHeaders, Qt::Key_F1}, std::pair{mnuRemoveSelected, Qt::Key_Delete}}) {
        a->setShortcut(QKeySequence(key));
        a->setShortcutContext(Qt::WidgetShortcut);
    }

    connect(m_switch, &QCheckBox::clicked, this, [this] { switchClicked(); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(cmdHide, &QPushButton::clicked, this, [this] { cmdHide_Click(); });
    connect(mnuShowHeaders, &QAction::triggered, this, [this] {
        mnuShowHeaders->setChecked(!mnuShowHeaders->isChecked());   // the handler sets the mark
        mnuShowHeaders_Click();
    });
    connect(mnuRemoveSelected, &QAction::triggered, this, [this] { mnuRemoveSelected_Click(); });
    connect(mnuRemoveDeadFilenames, &QAction::triggered, this, [this] { mnuRemoveDeadFilenames_Click(); });
    connect(mnuClear, &QAction::triggered, this, [this] { mnuClear_Click(); });

    tmrWindowUpdate = new QTimer(this);
    tmrWindowUpdate->setObjectName(QStringLiteral("tmrWindowUpdate"));
    tmrWindowUpdate->setInterval(50);
    connect(tmrWindowUpdate, &QTimer::timeout, this, [this] { tmrWindowUpdate_Timer(); });
    tmrWindowUpdate->start();
}

ctlQX_3DPanel* SongListWindow::labelPanel(const char* panelName, const char* labelName, const QString& caption, QLabel** label)
{
    auto* panel = new ctlQX_3DPanel(this);
    panel->setObjectName(QString::fromLatin1(panelName));
    *label = new QLabel(caption, panel);
    (*label)->setObjectName(QString::fromLatin1(labelName));
    (*label)->setCursor(Qt::PointingHandCursor);
    (*label)->installEventFilter(this);   // a press on it opens its popup
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(*label);
    return panel;
}

ListViewModel& SongListWindow::rows() const { return lstvItems->items(); }

bool SongListWindow::switchOn() const { return m_switch->checkState() == Qt::Checked; }

QString SongListWindow::listPath() const { return programfolder::file(m_setup.listFile); }

void SongListWindow::addPanel(QWidget* panel) { m_panels->addWidget(panel); }

void SongListWindow::addButton(QPushButton* button) { m_buttons->insertWidget(m_buttons->indexOf(cmdHide), button); }

void SongListWindow::loadRows()
{
    // The Filename column takes the rest of the list's width.
    if (QLayout* l = layout()) l->activate();
    const double listTwips = vb::PixelsToTwips(lstvItems->width());
    lstvItems->setColumnWidthTwips(songlists::Filename,
                                   std::max(kColumnTwips[3], listTwips - kColumnTwips[0] - kColumnTwips[1] - kColumnTwips[2] - 360));
    controls_SetHeaderStyle(*lstvItems);
    const QString path = listPath();
    if (QFileInfo::exists(path) && !controls_LoadListView(rows(), path)) m_fileUnreadable = true;
}

void SongListWindow::saveRows()
{
    if (m_fileUnreadable) return;   // never write over a list we could not read
    if (!songlists::save(rows(), listPath()))
        log_Write(QStringLiteral("An error occured while trying to save the list:  ") + listPath() + u'.');
}

void SongListWindow::updateFilename(const QString& oldName, const QString& newName)
{
    if (oldName.isEmpty()) return;
    if (const int row = songlists::findFile(rows(), oldName)) rows().setSubItem(row, songlists::Filename, newName);
    saveRows();
}

int SongListWindow::switchValue() const
{
    switch (m_switch->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void SongListWindow::setSwitchValue(int value)
{
    m_switch->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void SongListWindow::loadSwitch(const QString& defaultValue)
{
    setSwitchValue(int(settings_ReadNumber(QStringLiteral("Settings"), m_setup.switchKey, defaultValue)));
    switchClicked();
}

void SongListWindow::applySwitch()
{
    setWindowTitle(m_setup.caption + (switchOn() ? QStringLiteral(" - [Enabled]") : QStringLiteral(" - [Disabled]")));
    settings_WriteValue(QStringLiteral("Settings"), m_setup.switchKey, QString::number(switchValue()));
}

void SongListWindow::setCommandsEnabled(const QList<QObject*>& commands, bool enabled)
{
    for (QObject* o : commands) {
        if (auto* a = qobject_cast<QAction*>(o)) {
            if (enabled) controls_EnableMenu(a);
            else controls_DisableMenu(a);
        } else if (auto* w = qobject_cast<QWidget*>(o)) {
            if (w->isEnabled() != enabled) w->setEnabled(enabled);
        }
    }
}

void SongListWindow::tmrWindowUpdate_Timer()
{
    if (!switchOn()) return;
    setCommandsEnabled(rowCommands(), rows().count() > 0);
}

void SongListWindow::mnuShowHeaders_Click()
{
    const bool show = !mnuShowHeaders->isChecked();
    mnuShowHeaders->setChecked(show);
    settings_WriteValue(QStringLiteral("Settings"), m_setup.headersKey, show ? QStringLiteral("1") : QStringLiteral("0"));
    lstvItems->setHideColumnHeaders(!show);
}

void SongListWindow::mnuRemoveSelected_Click()
{
    if (!controls_HasSelectedItem(rows())) return;
    controls_RemoveSelectedItems(rows());
    // Saved at once, so a removed row stays removed after a restart.
    saveRows();
    rowsChanged();
}

void SongListWindow::mnuRemoveDeadFilenames_Click()
{
    controls_RemoveDeadFiles(rows(), songlists::Filename);
    saveRows();
    rowsChanged();
}

void SongListWindow::cmdClear_Click()
{
    const MsgResult r = msgBox(m_setup.clearText, MsgButtons::YesNo, MsgIcon::Exclamation, m_setup.clearTitle);
    if (r != MsgResult::Yes) return;
    controls_ClearListView(rows());
    saveRows();
    rowsChanged();
}

void SongListWindow::cmdHide_Click() { hide(); }

void SongListWindow::popupBelow(QMenu* menu, QWidget* panel)
{
    menu->popup(mapToGlobal(QPoint(panel->x(), panel->y() + panel->height())));
}

void SongListWindow::lblOptions_MouseDown(int button)
{
    if (button == 1) popupBelow(m_options, qxpOptions);
}

void SongListWindow::lstvItems_MouseDown(int button, const QPoint& viewportPos)
{
    if (button != 2 || !lstvItems->isEnabled()) return;
    // The row under the pointer is the one the popup's commands act on.
    if (const int row = lstvItems->hitTest(viewportPos)) controls_SelectItem(rows(), row);
    m_options->popup(lstvItems->viewport()->mapToGlobal(viewportPos));
}

bool SongListWindow::Form_KeyDown(int keyCode, int shift)
{
    if (shift != 0) return false;
    if (isKey(keyCode, kKeyDelete, Qt::Key_Delete)) {
        if (mnuRemoveSelected->isEnabled()) mnuRemoveSelected_Click();
        return true;
    }
    if (isKey(keyCode, kKeyF1, Qt::Key_F1)) {
        mnuShowHeaders_Click();
        return true;
    }
    if (isKey(keyCode, kKeyEscape, Qt::Key_Escape)) {
        cmdHide_Click();
        return true;
    }
    if (isKey(keyCode, kKeyEnter, Qt::Key_Return) || keyCode == Qt::Key_Enter) {
        if (QPushButton* b = defaultButton(); b && b->isEnabled()) b->click();
        return true;
    }
    return false;
}

bool SongListWindow::Form_QueryUnload(int unloadMode)
{
    if (unloadMode != 0) return false;
    hide();
    return true;
}

bool SongListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (watched == lstvItems && (ke->key() == Qt::Key_Menu || ke->key() == kKeyApps) && ke->modifiers() == Qt::NoModifier) {
            if (lstvItems->isEnabled()) m_options->popup(lstvItems->mapToGlobal(QPoint(0, 0)));
            return true;
        }
        // Enter on a button that has the focus presses that button.
        if (auto* button = qobject_cast<QPushButton*>(watched);
            button && (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) && ke->modifiers() == Qt::NoModifier) {
            button->click();
            return true;
        }
        if (Form_KeyDown(ke->key(), shiftOf(ke->modifiers()))) return true;
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        const int button = me->button() == Qt::LeftButton ? 1 : me->button() == Qt::RightButton ? 2 : 4;
        if (watched == lblOptions) {
            lblOptions_MouseDown(button);
            return true;
        }
        if (watched == lstvItems->viewport() && button == 2) {
            lstvItems_MouseDown(button, me->position().toPoint());
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu && watched == lstvItems) {
        return true;   // the key press above already opened the popup
    }
    return QWidget::eventFilter(watched, event);
}

void SongListWindow::keyPressEvent(QKeyEvent* event)
{
    if (!Form_KeyDown(event->key(), shiftOf(event->modifiers()))) QWidget::keyPressEvent(event);
}

void SongListWindow::closeEvent(QCloseEvent* event)
{
    if (Form_QueryUnload(0)) event->ignore();
}

void SongListWindow::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        // First shown: over the middle of the window that opened it.
        m_placed = true;
        const QWidget* over = QApplication::activeWindow();
        const QRect area = over && over != this ? over->frameGeometry() : screen()->availableGeometry();
        move(area.center() - rect().center());
        windows_FitOnScreen(this);   // an opener near a screen edge would push it off
    }
    // Keys reach the window before the control that has the focus.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus && w != lstvItems) w->installEventFilter(this);
    QWidget::showEvent(event);
}

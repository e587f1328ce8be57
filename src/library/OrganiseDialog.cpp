#include "library/OrganiseDialog.h"

#include "library/modOrganise.h"
#include "player/FrmMain.h"

#include <QApplication>
#include <algorithm>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTimer>

OrganiseDialog::OrganiseDialog(const QString& objectName, const QString& title)
{
    setObjectName(objectName);
    setWindowTitle(title);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void OrganiseDialog::highlightOnFocus(QLineEdit* box) { box->installEventFilter(this); }

void OrganiseDialog::highlightOnFocus(QPlainTextEdit* box) { box->installEventFilter(this); }

void OrganiseDialog::limitTyping(QLineEdit* box, int maxLength)
{
    // textEdited (the user's changes only) comes before textChanged, which keeps the text
    // as it was before each change: the box's own text, as a change refused inside
    // textEdited is still announced by textChanged afterwards.
    box->setProperty("veltraBefore", box->text());
    connect(box, &QLineEdit::textChanged, box, [box] { box->setProperty("veltraBefore", box->text()); });
    connect(box, &QLineEdit::textEdited, box, [box, maxLength](const QString& text) {
        const QString before = box->property("veltraBefore").toString();
        if (text.size() <= maxLength || text.size() <= before.size()) return;
        const int caret = int(box->cursorPosition() - (text.size() - before.size()));
        box->setText(before);
        box->setCursorPosition(std::max(0, caret));
    });
}

bool OrganiseDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return QDialog::eventFilter(watched, event);
    auto* line = qobject_cast<QLineEdit*>(watched);
    auto* page = qobject_cast<QPlainTextEdit*>(watched);
    if (line || page) {
        QWidget* box = line ? static_cast<QWidget*>(line) : page;
        const bool in = event->type() == QEvent::FocusIn;
        QPalette p = box->palette();
        p.setColor(QPalette::Base, in ? QColor(230, 230, 250) : QColor(Qt::white));
        box->setPalette(p);
        // after the click that gave the focus has placed the caret
        if (in && line) QTimer::singleShot(0, line, [line] { line->selectAll(); });
        if (in && page) QTimer::singleShot(0, page, [page] { page->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

void OrganiseDialog::reject()
{
    if (!m_running) cmdClose_Click();
}

OrganiseDialog::RunGuard::RunGuard(OrganiseDialog& dialog) : m_dialog(dialog)
{
    m_dialog.m_running = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

OrganiseDialog::RunGuard::~RunGuard()
{
    QApplication::restoreOverrideCursor();
    m_dialog.m_running = false;
}

QPushButton* OrganiseDialog::defaultButton(const QString& caption)
{
    auto* b = new QPushButton(caption, this);
    b->setDefault(true);
    return b;
}

QPushButton* OrganiseDialog::closeButton()
{
    auto* b = new QPushButton(QStringLiteral("&Close"), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    return b;
}

QComboBox* OrganiseDialog::patternList()
{
    auto* list = new QComboBox(this);
    list->addItems(organise::patternCaptions());
    list->setCurrentIndex(0);
    return list;
}

QLabel* OrganiseDialog::hiddenLabel()
{
    auto* label = new QLabel(this);
    label->hide();
    return label;
}

QProgressBar* OrganiseDialog::progressBar()
{
    auto* bar = new QProgressBar(this);
    bar->setTextVisible(false);
    bar->hide();
    return bar;
}

void OrganiseDialog::nameControls(std::initializer_list<std::pair<QWidget*, const char*>> controls)
{
    for (const auto& [w, name] : controls) w->setObjectName(QLatin1String(name));
}

void OrganiseDialog::savePlaylistIf(bool ticked)
{
    FrmMain& main = forms().get<FrmMain>();
    if (ticked && main.cmbPlaylists->currentText().toLower() != QLatin1String("((select playlist))")) main.mnuSave_Click();
}

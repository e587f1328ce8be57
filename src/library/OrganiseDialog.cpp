#include "library/OrganiseDialog.h"

#include "common/FrmConsole.h"
#include "library/modOrganise.h"
#include "library/modTagEditing.h"
#include "mainwindow/FrmMain.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QLineEdit>

OrganiseDialog::OrganiseDialog(const QString& objectName, const QString& title) : BusyDialog(objectName, title) {}

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

void OrganiseDialog::reject()
{
    if (!isBusy()) cmdClose_Click();
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

void OrganiseDialog::reportID3v1Only(const QString& path, int row, const QString& title, const QString& refusal)
{
    forms().get<FrmMain>().playlist_UpdateItem(row, false);   // none once the row has left the playlist
    forms().get<FrmConsole>().window_WriteLog(path + QStringLiteral(" ID3v1 tag modified; its ID3v2 tag could not be written."));
    // The normal pointer while the message shows, also in the middle of a run.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    veltra::msgBox(organise::fileMessage(refusal.isEmpty() ? tags::writeFailedText() : refusal, path,
                                         QStringLiteral("Only the ID3v1 tag of this file was edited; its ID3v2 tag is as it was.")),
                   veltra::MsgButtons::OK, veltra::MsgIcon::Exclamation, title);
    QApplication::restoreOverrideCursor();
}

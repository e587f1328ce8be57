#include "playlisttools/FrmEditEntry.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/SystemColours.h"
#include "controls/ctlQX_wLine3D.h"
#include "library/FrmRename.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kNone = QStringLiteral("[None]");

ListViewModel& playlist() { return forms().get<FrmMain>().rows(); }
} // namespace

FrmEditEntry::FrmEditEntry() : ToolDialog(QStringLiteral("FrmEditEntry"), QStringLiteral("Edit Entry"))
{
    auto line = [this](int n) {
        auto* l = new ctlQX_wLine3D(this);
        l->setObjectName(QStringLiteral("ctlQX_wLine3D") + QString::number(n));
        l->setFixedHeight(vb::TwipsToPixels(255));
        return l;
    };
    auto label = [this](int index, const char* caption) {
        auto* l = new QLabel(QString::fromLatin1(caption), this);
        l->setObjectName(QStringLiteral("lblText_") + QString::number(index));
        lblText[size_t(index)] = l;
        return l;
    };
    auto box = [this](const char* name) {
        auto* b = new QLineEdit(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumWidth(vb::TwipsToPixels(4200));
        return b;
    };

    // One grid, so that the labels and the boxes line up: the file name with "»" beside it,
    // then the three texts, the lines across the whole width.
    auto* grid = new QGridLayout;
    int r = 0;
    grid->addWidget(label(0, "Filename:"), r, 0);
    txtFilename = box("txtFilename");
    txtFilename->setReadOnly(true);
    QPalette face = txtFilename->palette();
    face.setColor(QPalette::Base, syscolour::toQColor(syscolour::ButtonFace));
    txtFilename->setPalette(face);
    lblText[0]->setBuddy(txtFilename);
    grid->addWidget(txtFilename, r, 1);
    cmdRename = new QPushButton(QStringLiteral("»"), this);
    cmdRename->setObjectName(QStringLiteral("cmdRename"));
    cmdRename->setToolTip(QStringLiteral("Rename"));
    cmdRename->setAutoDefault(false);
    cmdRename->setFixedWidth(vb::TwipsToPixels(375));
    grid->addWidget(cmdRename, r++, 2);
    ctlQX_wLine3D1 = line(1);
    grid->addWidget(ctlQX_wLine3D1, r++, 0, 1, 3);

    txtArtist = box("txtArtist");
    txtTitle = box("txtTitle");
    txtYear = box("txtYear");
    txtYear->setMaxLength(4);
    for (const auto& [index, caption, edit] : {std::tuple{1, "Artist:", txtArtist}, std::tuple{2, "Title:", txtTitle}, std::tuple{4, "Year:", txtYear}}) {
        QLabel* l = label(index, caption);
        l->setBuddy(edit);
        grid->addWidget(l, r, 0);
        grid->addWidget(edit, r++, 1, 1, 2);
        useFocusColours(edit);
    }
    ctlQX_wLine3D2 = line(2);
    grid->addWidget(ctlQX_wLine3D2, r++, 0, 1, 3);
    chkSaveChanges = new QCheckBox(QStringLiteral("Save current playlist after changes are made..."), this);
    chkSaveChanges->setObjectName(QStringLiteral("chkSaveChanges"));
    chkSaveChanges->setChecked(true);
    grid->addWidget(chkSaveChanges, r++, 0, 1, 3);
    ctlQX_wLine3D3 = line(3);
    grid->addWidget(ctlQX_wLine3D3, r++, 0, 1, 3);
    body()->addLayout(grid);

    cmdUpdate = addActionButton(QStringLiteral("cmdUpdate"), QStringLiteral("&Update »"), [this] { cmdUpdate_Click(); });
    connect(cmdRename, &QPushButton::clicked, this, [this] { cmdRename_Click(); });
    QWidget* order[] = {txtArtist, txtTitle, txtYear, chkSaveChanges, cmdUpdate, cmdBack, cmdClose, cmdRename, txtFilename};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    txtArtist->setFocus();
}

int FrmEditEntry::EntryIndex() const { return playlist().rowOfKey(m_rowKey); }

void FrmEditEntry::setEntryIndex(int row) { m_rowKey = playlist().rowKey(row); }

void FrmEditEntry::cmdUpdate_Click()
{
    FrmMain& main = forms().get<FrmMain>();
    ListViewModel& list = main.rows();
    // A row that left the playlist while the dialog was open is not replaced by another one.
    const int row = EntryIndex();
    if (row >= 1) {
        list.setSubItem(row, PlaylistColumn::Artist, txtArtist->text().isEmpty() ? kNone : txtArtist->text());
        list.setSubItem(row, PlaylistColumn::Title, txtTitle->text().isEmpty() ? kNone : txtTitle->text());
        list.setSubItem(row, PlaylistColumn::Year, txtYear->text());
        forms().get<FrmConsole>().window_WriteLog(txtFilename->text() + QStringLiteral(" entry modified."));
        if (chkSaveChanges->isChecked() && main.cmbPlaylists->currentText().toLower() != QLatin1String("((select playlist))"))
            main.mnuSave_Click();
    }
    accept();
}

void FrmEditEntry::cmdRename_Click()
{
    const QString path = txtFilename->text();
    const int row = EntryIndex();
    FrmRename& rename = forms().fresh<FrmRename>();
    rename.Get_Filename(path, row);
    // This dialog goes first, its edits dropped; Rename Song takes its place over the main window.
    reject();
    windows_ShowModal(rename, &forms().get<FrmMain>(), true);
}

void FrmEditEntry::cmdClose_Click() { reject(); }

#include "playlisttools/FrmQueue.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modVB.h"
#include "library/modMediaLibrary.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/OptionButtons.h"
#include "playlisttools/modPlaylistSearch.h"
#include "startup/Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QVBoxLayout>

using namespace veltra;
using namespace playlistsearch;

namespace {
// The value of a row for a criterion, as matched by an update.
QString valueOf(const SongFields& f, int criterion)
{
    switch (criterion) {
    case FrmQueue::ByAlbum: return f.album;
    case FrmQueue::ByYear: return f.year;
    case FrmQueue::ByGenre: return f.genre;
    default: return f.artist;
    }
}
} // namespace

FrmQueue::FrmQueue() : ToolDialog(QStringLiteral("FrmQueue"), QStringLiteral("Advanced Queue"))
{
    body()->addWidget(new QLabel(QStringLiteral("Enter search criteria:"), this));
    cmbSearch = new QComboBox(this);
    cmbSearch->setObjectName(QStringLiteral("cmbSearch"));
    cmbSearch->setEditable(true);
    cmbSearch->setInsertPolicy(QComboBox::NoInsert);
    cmbSearch->setCompleter(nullptr);   // the text is searched as typed, never completed from the list
    cmbSearch->setMinimumWidth(vb::TwipsToPixels(4800));
    useFocusColours(cmbSearch);
    body()->addWidget(cmbSearch);

    opOptions = new OptionButtons(this);
    auto* grid = new QGridLayout;
    const char* captions[] = {"Change by Artist...", "Change by Album...", "Change by Year...", "Change by Genre..."};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(captions[i]), this);
        b->setObjectName(QStringLiteral("opOptions%1").arg(i));
        grid->addWidget(opOptions->add(b), i % 2, i / 2);
    }
    body()->addLayout(grid);

    body()->addWidget(new QLabel(QStringLiteral("Change each song to:"), this));
    cmbOption = new QComboBox(this);
    cmbOption->setObjectName(QStringLiteral("cmbOption"));
    body()->addWidget(cmbOption);
    chkSearchID3v2 = new QCheckBox(QStringLiteral("Search ID3v2 instead of ID3v1 (slower)..."), this);
    chkSearchID3v2->setObjectName(QStringLiteral("chkSearchID3v2"));
    chkCloseWindow = new QCheckBox(QStringLiteral("Close window after making the changes..."), this);
    chkCloseWindow->setObjectName(QStringLiteral("chkCloseWindow"));
    body()->addWidget(chkSearchID3v2);
    body()->addWidget(chkCloseWindow);
    addSeparator(QStringLiteral("ctlQX_wLine3D1"));

    cmdUpdate = addActionButton(QStringLiteral("cmdUpdate"), QStringLiteral("&Update »"), [this] { cmdUpdate_Click(); });
    opOptions->onClick([this](int i) { opOptions_Click(i); });
    opOptions->at(ByArtist)->setChecked(true);   // the design state
    Form_Load();
    cmbSearch->setFocus();
}

void FrmQueue::Form_Load()
{
    for (RowStatus s : {RowStatus::Play, RowStatus::PlayOnce, RowStatus::Skip, RowStatus::SkipOnce, RowStatus::Remove})
        cmbOption->addItem(rowStatusText(s));
    cmbOption->setCurrentIndex(0);
    opOptions_Click(ByArtist);
}

void FrmQueue::opOptions_Click(int index)
{
    cmbSearch->clear();
    cmbSearch->setEditText(QString());
    m_criterion = index;
    const ListViewModel& list = forms().get<FrmMain>().rows();
    const bool useID3v2 = index == ByAlbum && chkSearchID3v2->isChecked();
    // Distinct values, each in the letter case of the first row that has it; a file that
    // cannot be read adds nothing.
    QStringList values;
    QSet<QString> seen;
    const int n = list.count();
    for (int row = 1; row <= n; ++row) {
        QString value;
        if (index == ByArtist) value = list.subItem(row, PlaylistColumn::Artist);
        else if (index == ByYear) value = list.subItem(row, PlaylistColumn::Year);
        else value = valueOf(rowFields(QString(), QString(), QString(), list.subItem(row, PlaylistColumn::Filename), useID3v2), index);
        if (value.isEmpty()) continue;
        const QString key = value.toLower();
        if (seen.contains(key)) continue;
        seen.insert(key);
        values.append(value);
    }
    library::sortForList(values);
    cmbSearch->addItems(values);
    cmbSearch->setCurrentIndex(-1);
    cmbSearch->setEditText(QString());
}

void FrmQueue::cmdUpdate_Click()
{
    const QString text = cmbSearch->currentText();
    if (text.isEmpty()) {
        msgBox(QStringLiteral("It has been detected that you have not entered anything into the search criteria section.\r\n\r\n"
                              "Please enter a search criteria before continuing with this function.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Advanved Queuing Error"));
        cmbSearch->setFocus();
        return;
    }
    {
        Busy busy(*this);
        opOptions->clearAll();
        ListViewModel& list = forms().get<FrmMain>().rows();
        const QString status = cmbOption->currentText();
        const QString wanted = text.toLower();
        const bool useID3v2 = chkSearchID3v2->isChecked();
        const int n = list.count();
        for (int row = 1; row <= n; ++row) {
            const QStringList cells = list.cells(row);
            const SongFields f = rowFields(cells.value(PlaylistColumn::Artist), cells.value(PlaylistColumn::Title),
                                           cells.value(PlaylistColumn::Year), cells.value(PlaylistColumn::Filename), useID3v2);
            if (matches(Mode::WholeWord, valueOf(f, m_criterion), wanted)) list.setSubItem(row, PlaylistColumn::Status, status);
        }
    }
    opOptions->select(m_criterion);
    if (chkCloseWindow->isChecked()) accept();
    else cmbSearch->setFocus();
}

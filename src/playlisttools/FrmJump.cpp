#include "playlisttools/FrmJump.h"

#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modVB.h"
#include "controls/ctlQX_3DPanel.h"
#include "controls/ctlQX_hLine3D.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "media/modMedia.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/OptionButtons.h"
#include "startup/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

using namespace veltra;
using namespace playlistsearch;

namespace {
const QString kSection = QStringLiteral("JumpToMedia");
const QStringList kFurtherKeys = {QStringLiteral("OptionSelectSong"), QStringLiteral("OptionSelectSongAndPlayIt"),
                                  QStringLiteral("OptionSelectSongAndSetItToNext"), QStringLiteral("OptionDoNothing")};
const QStringList kModeKeys = {QStringLiteral("ModeWholeWord"), QStringLiteral("ModeStartsWith"), QStringLiteral("ModeEndsWith"),
                               QStringLiteral("ModeContains")};
const QStringList kFieldKeys = {QStringLiteral("SearchByAll"),   QStringLiteral("SearchByArtist"), QStringLiteral("SearchByTitle"),
                                QStringLiteral("SearchByAlbum"), QStringLiteral("SearchByYear"),   QStringLiteral("SearchByGenre"),
                                QStringLiteral("SearchByFilename")};
enum Further { SelectSong = 0, SelectAndPlay = 1, SelectAndPlayNext = 2, DoNothing = 3 };
// The results list's rows at the dialog's design size and at its least.
constexpr int kDesignRows = 8;
constexpr int kLeastRows = 3;

int px(double twips) { return vb::TwipsToPixels(twips); }

QRadioButton* optionButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    return b;
}

void fail(const QString& title, const QString& first, const QString& second)
{
    msgBox(first + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n"), MsgButtons::OK, MsgIcon::Exclamation, title);
}
} // namespace

FrmJump::FrmJump() : ToolDialog(QStringLiteral("FrmJump"), QStringLiteral("Jump To Media"))
{
    // ---- search text, operator, Find
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Enter search criteria:"), this), 0, 0);
    top->addWidget(new QLabel(QStringLiteral("Operator:"), this), 0, 1);
    cmbSearch = new QComboBox(this);
    cmbSearch->setObjectName(QStringLiteral("cmbSearch"));
    cmbSearch->setEditable(true);
    cmbSearch->setInsertPolicy(QComboBox::NoInsert);
    cmbSearch->setCompleter(nullptr);   // the text is searched as typed, never completed from the list
    cmbSearch->setMinimumWidth(px(5175));
    cmbOp = new QComboBox(this);
    cmbOp->setObjectName(QStringLiteral("cmbOp"));
    cmbOp->setMinimumWidth(px(975));
    cmdFind = new QPushButton(QStringLiteral("&Find"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setAutoDefault(false);
    top->addWidget(cmbSearch, 1, 0);
    top->addWidget(cmbOp, 1, 1);
    top->addWidget(cmdFind, 1, 2);
    top->setColumnStretch(0, 1);
    body()->addLayout(top);

    // ---- mode | search field
    auto* choices = new QHBoxLayout;
    auto* modePanel = new ctlQX_noFocusPanel(this);
    modePanel->setObjectName(QStringLiteral("ctlQX_noFocusPanel1"));
    auto* modeColumn = new QVBoxLayout(modePanel);
    modeColumn->setContentsMargins(0, 0, 0, 0);
    // Option buttons stand one under the other at their own height, as the form has them:
    // the layout's spacing between them would make the dialog too tall for a small screen
    // in a font taller than Tahoma.
    modeColumn->setSpacing(0);
    opSearchMode = new OptionButtons(this);
    const char* modeCaptions[] = {"Mode:  Whole Word...", "Mode:  Starts With...", "Mode:  Ends With...", "Mode:  Contains..."};
    for (int i = 0; i < 4; ++i)
        modeColumn->addWidget(opSearchMode->add(optionButton(modePanel, QStringLiteral("opSearchMode%1").arg(i), QString::fromLatin1(modeCaptions[i]))));
    choices->addWidget(modePanel);
    auto* divider = new ctlQX_hLine3D(this);
    divider->setObjectName(QStringLiteral("ctlQX_hLine3D1"));
    divider->setFixedWidth(px(255));
    choices->addWidget(divider);
    opOptions = new OptionButtons(this);
    const char* fieldCaptions[] = {"Search by:  All...",  "Search by:  Artist...", "Search by:  Title...",   "Search by:  Album...",
                                   "Search by:  Year...", "Search by:  Genre...",  "Search by:  Filename..."};
    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(0);
    for (int i = 0; i < 7; ++i)
        fields->addWidget(opOptions->add(optionButton(this, QStringLiteral("opOptions%1").arg(i), QString::fromLatin1(fieldCaptions[i]))), i % 4, i / 4);
    choices->addLayout(fields, 1);
    body()->addLayout(choices);

    addSeparator(QStringLiteral("ctlQX_wLine3D3"));
    chkSearchID3v2 = new QCheckBox(QStringLiteral("Search through the ID3v2 Tags instead of the ID3v1 Tags..."), this);
    chkSearchID3v2->setObjectName(QStringLiteral("chkSearchID3v2"));
    body()->addWidget(chkSearchID3v2);
    addSeparator(QStringLiteral("ctlQX_wLine3D2"));

    // ---- exclusions
    auto* exclude = new QGridLayout;
    chkNotToInclude = new QCheckBox(QStringLiteral("Do not include the following (exact):"), this);
    chkNotToInclude->setObjectName(QStringLiteral("chkNotToInclude"));
    txtNotInclude = new QLineEdit(this);
    txtNotInclude->setObjectName(QStringLiteral("txtNotInclude"));
    txtNotInclude->setMinimumWidth(px(2655));
    auto* hint = new QLabel(QStringLiteral("Can be an artist, album, year, etc.  With multiple items, split them up with a comma (,)."), this);
    hint->setObjectName(QStringLiteral("Label2"));
    hint->setWordWrap(true);
    hint->setMaximumWidth(px(2655));
    // The wrapped lines count in the dialog's least height, so a small screen never draws the
    // options below over the results.
    hint->setMinimumHeight(hint->heightForWidth(px(2655)));
    exclude->addWidget(chkNotToInclude, 0, 0);
    exclude->addWidget(txtNotInclude, 0, 1);
    exclude->addWidget(new QLabel(QStringLiteral("in the results."), this), 0, 2);
    exclude->addWidget(hint, 1, 1);
    exclude->setColumnStretch(1, 1);
    body()->addLayout(exclude);

    // ---- results
    lblSearchResults = new QLabel(QStringLiteral("Search Results:"), this);
    lblSearchResults->setObjectName(QStringLiteral("lblSearchResults"));
    qxpSearchResults = labelPanel(QStringLiteral("qxpSearchResults"), lblSearchResults);
    body()->addWidget(qxpSearchResults);
    lstvItems = new ListView(this);
    lstvItems->setObjectName(QStringLiteral("lstvItems"));
    lstvItems->setColumns({QStringLiteral("Number:"), QStringLiteral("Artist"), QStringLiteral("Title:")});
    // Wide enough for its caption in whatever font stands in for Tahoma.
    lstvItems->setColumnWidthTwips(0, std::max(700.0, vb::PixelsToTwips(lstvItems->header()->sectionSizeHint(0))));
    lstvItems->setColumnWidthTwips(1, 2500);
    lstvItems->setColumnWidthTwips(2, 3000);
    lstvItems->setMultiSelect(false);
    // Designed eight rows high (showEvent); it gives way first on a small screen, down to three.
    lstvItems->setMinimumSize(px(6975), controls_HeightForRows(lstvItems, kLeastRows));
    body()->addWidget(lstvItems, 1);

    auto* further = new QWidget(this);
    further->setObjectName(QStringLiteral("nfpOptions"));
    auto* furtherColumn = new QVBoxLayout(further);
    furtherColumn->setContentsMargins(0, 0, 0, 0);
    furtherColumn->setSpacing(0);
    opFurther = new OptionButtons(this);
    const char* furtherCaptions[] = {"Option:  Select song above...", "Option:  Select song above and play it...",
                                     "Option:  Select song above and set it to be played next...", "Option:  Close this window, do nothing else..."};
    for (int i = 0; i < 4; ++i)
        furtherColumn->addWidget(opFurther->add(optionButton(further, QStringLiteral("opFurther%1").arg(i), QString::fromLatin1(furtherCaptions[i]))));
    body()->addWidget(further);
    addSeparator(QStringLiteral("ctlQX_wLine3D1"));

    cmdSelect = addActionButton(QStringLiteral("cmdSelect"), QStringLiteral("&Select »"), [this] { cmdSelect_Click(); });
    connect(cmdFind, &QPushButton::clicked, this, [this] {
        if (!isBusy()) cmdFind_Click();
    });
    disconnect(cmdClose, nullptr, this, nullptr);
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(chkNotToInclude, &QCheckBox::toggled, this, [this] { chkNotToInclude_Click(); });
    opOptions->onClick([this](int i) { opOptions_Click(i); });
    opSearchMode->onClick([this](int i) { opSearchMode_Click(i); });
    connect(lstvItems, &QAbstractItemView::doubleClicked, this, [this] { lstvItems_DblClick(); });

    useFocusColours(cmbSearch);
    useFocusColours(txtNotInclude);
    for (QWidget* w : {static_cast<QWidget*>(cmbSearch), static_cast<QWidget*>(cmbOp), static_cast<QWidget*>(lstvItems)}) w->installEventFilter(this);
    if (cmbSearch->lineEdit()) cmbSearch->lineEdit()->installEventFilter(this);

    // The tab order of the form: the search box first, then the modes, the fields, the
    // operator and Find.
    QWidget* order[] = {cmbSearch, opSearchMode->at(0), opSearchMode->at(1), opSearchMode->at(2), opSearchMode->at(3),
                        opOptions->at(0), opOptions->at(1), opOptions->at(2), opOptions->at(3), opOptions->at(4),
                        opOptions->at(5), opOptions->at(6), cmbOp, cmdFind, chkSearchID3v2, chkNotToInclude, txtNotInclude,
                        lstvItems, opFurther->at(0), opFurther->at(1), opFurther->at(2), opFurther->at(3), cmdSelect, cmdBack, cmdClose};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    // The design state: the first button of each group selected.
    opSearchMode->at(0)->setChecked(true);
    opOptions->at(0)->setChecked(true);
    opFurther->at(0)->setChecked(true);
    Form_Load();
    cmbSearch->setFocus();
}

void FrmJump::Form_Load()
{
    // The genre names, in the list's alphabetical order; any other text can be typed.
    QStringList genres = GenreNames();
    std::stable_sort(genres.begin(), genres.end(), [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    cmbSearch->addItems(genres);
    cmbSearch->setCurrentIndex(-1);
    cmbSearch->setEditText(QString());
    cmbOp->addItems({QStringLiteral("="), QStringLiteral("<>")});
    cmbOp->setCurrentIndex(0);
    cmdSelect->setEnabled(false);
    chkNotToInclude_Click();
    opFurther->restore(kSection, kFurtherKeys, {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")});
    opSearchMode->restore(kSection, kModeKeys, {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")});
    opOptions->restore(kSection, kFieldKeys, {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                                              QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")});
    opFurther->setEnabled(false);
    if (opFurther->isSelected(SelectAndPlayNext) && !forms().get<FrmMain>().mnuPlayNext->isEnabled()) opFurther->select(SelectSong);
}

void FrmJump::chkNotToInclude_Click()
{
    const bool on = chkNotToInclude->isChecked();
    txtNotInclude->setEnabled(on);
    QPalette p = txtNotInclude->palette();
    p.setColor(QPalette::Base, on ? QColor(Qt::white) : palette().color(QPalette::Window));
    txtNotInclude->setPalette(p);
    if (!on) txtNotInclude->clear();
}

void FrmJump::exclude_BuildList()
{
    if (chkNotToInclude->isChecked()) m_exclusions = Exclusions(txtNotInclude->text());
}

void FrmJump::exclude_ResetList() { m_exclusions = Exclusions(QString()); }

void FrmJump::results_AddItem(const QString& artist, const QString& title, quint64 rowKey, const QString& file)
{
    m_pending.push_back({QString(), artist, title});
    m_hits.push_back({rowKey, file});
}

void FrmJump::cmdFind_Click()
{
    // Focus moves only where the user can see it: a search run before the dialog is shown
    // stops at its message and nothing more.
    auto focus = [this](QWidget* w) {
        if (isVisible()) w->setFocus();
    };
    const QString text = cmbSearch->currentText();
    if (text.isEmpty()) {
        fail(QStringLiteral("Search For Song Error"),
             QStringLiteral("It has been detected that you have not entered anything into the search criteria section."),
             QStringLiteral("Please enter a search criteria before continuing with this function."));
        focus(cmbSearch);
        return;
    }
    if (chkNotToInclude->isChecked() && txtNotInclude->text().isEmpty()) {
        fail(QStringLiteral("Search For Song Error"), QStringLiteral("You have not entered any data into the 'Not To Include' text field."),
             QStringLiteral("Please enter some criteria before continuing with this function."));
        focus(txtNotInclude);
        return;
    }

    FrmMain& main = forms().get<FrmMain>();
    ListViewModel& results = lstvItems->items();
    bool failed = false;
    {
        Busy busy(*this);
        controls_ClearListView(results);
        m_hits.clear();
        m_pending.clear();
        opOptions->clearAll();
        opSearchMode->clearAll();
        exclude_BuildList();
        cmdSelect->setEnabled(false);
        const Query query{Mode(m_mode), Field(m_field), cmbOp->currentIndex() != 0, text,
                          chkNotToInclude->isChecked() ? &m_exclusions : nullptr};
        const bool useID3v2 = chkSearchID3v2->isChecked();
        const ListViewModel& list = main.rows();
        try {
            // A file that cannot be read gives empty tag texts: the search goes on.
            const int n = list.count();
            for (int i = 1; i <= n; ++i) {
                const QStringList cells = list.cells(i);
                const SongFields f = rowFields(cells.value(PlaylistColumn::Artist), cells.value(PlaylistColumn::Title),
                                               cells.value(PlaylistColumn::Year), cells.value(PlaylistColumn::Filename), useID3v2);
                if (isHit(f, query)) results_AddItem(f.artist, f.title, list.rowKey(i), f.filename);
            }
        } catch (const std::exception&) {
            failed = true;
        }
        results.addRows(m_pending);
        m_pending.clear();
    }
    if (failed) {
        fail(QStringLiteral("Error While Searching"), QStringLiteral("An error occured while trying to search for the specific criteria you entered."),
             QStringLiteral("This function will not continue."));
    } else if (results.count() == 0) {
        lblSearchResults->setText(QStringLiteral("Search Results:  None"));
        opFurther->setEnabled(false);
    } else {
        lblSearchResults->setText(QStringLiteral("Search Results:  ") + QString::number(results.count()));
        const bool playNext = main.mnuPlayNext->isEnabled();
        opFurther->setEnabled(true);
        opFurther->at(SelectAndPlayNext)->setEnabled(playNext);
        if (opFurther->isSelected(SelectAndPlayNext) && !playNext) opFurther->select(SelectSong);
        controls_RenumberItems(results);
        cmdSelect->setEnabled(true);
        cmdSelect->setDefault(true);
    }
    lblSearchResults->adjustSize();
    if (failed || results.count() == 0) cmdSelect->setEnabled(false);
    opOptions->select(m_field);
    opSearchMode->select(m_mode);
    exclude_ResetList();
}

void FrmJump::cmdSelect_Click()
{
    ListViewModel& results = lstvItems->items();
    const QList<int> chosen = results.selectedRows();
    if (chosen.isEmpty()) {
        fail(QStringLiteral("Jumping To Song Error"), QStringLiteral("It has been detected that you have not selected a song from the list."),
             QStringLiteral("Please select a song from the list before continuing."));
        lstvItems->setFocus();
        return;
    }
    FrmMain& main = forms().get<FrmMain>();
    ListViewModel& list = main.rows();
    const int further = opFurther->selected();
    int row = 0;
    if (further >= SelectSong && further <= SelectAndPlayNext && size_t(chosen.first()) <= m_hits.size()) {
        // The hit's own row while it still holds the hit's file, else the first row that does.
        const Hit& hit = m_hits[size_t(chosen.first() - 1)];
        row = list.rowOfKey(hit.rowKey);
        if (row < 1 || list.subItem(row, PlaylistColumn::Filename) != hit.file) row = main.sequence().rowOfFile(hit.file);
        if (row >= 1) controls_SelectItem(list, row);
    }
    hide();
    if (further == SelectAndPlay && row >= 1) {
        if (main.ResumePending) main.mnuStop_Click();
        main.player_Play(1);
    }
    if (further == SelectAndPlayNext && row >= 1 && main.mnuPlayNext->isEnabled()) main.mnuPlayNext_Click();
    opFurther->store(kSection, kFurtherKeys);
    opSearchMode->store(kSection, kModeKeys);
    opOptions->store(kSection, kFieldKeys);
    unloadSelf();
}

void FrmJump::cmdClose_Click() { unloadSelf(); }

void FrmJump::unloadSelf()
{
    done(Accepted);
    if (forms().isLoaded<FrmJump>() && &forms().get<FrmJump>() == this) forms().unloadLater<FrmJump>();
}

void FrmJump::lstvItems_DblClick()
{
    if (lstvItems->items().count() > 0 && lstvItems->items().selectedCount() > 0) cmdSelect_Click();
}

void FrmJump::lstvItems_KeyDown(int keyCode)
{
    if (keyCode == 13) lstvItems_DblClick();
}

void FrmJump::searchBoxFocus(bool in)
{
    if (in) cmdFind->setDefault(true);
    else if (cmdSelect->isEnabled()) cmdSelect->setDefault(true);
}

void FrmJump::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && !m_sized) {
        m_sized = true;
        // Opened at its design size, the results list eight rows high in whatever font stands
        // in for Tahoma, as far as the screen allows: left to itself a new window gets at most
        // two thirds of the screen, which gives this one its least size and the list only
        // three rows.
        layout()->activate();
        QSize design = minimumSize();
        design.rheight() += std::max(0, controls_HeightForRows(lstvItems, kDesignRows) - lstvItems->minimumHeight());
        design.rwidth() = std::max(design.width(), px(7455));
        // The title bar is not known before the window is first shown: the owner's stands in.
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QSize frame = owner && owner->isVisible() ? owner->frameGeometry().size() - owner->size() : QSize(0, 0);
        if (QScreen* s = screen()) design = design.boundedTo(s->availableGeometry().size() - frame);
        design = design.expandedTo(minimumSize());
        // Where the screen cuts the list short, it shows the whole rows it has room for.
        const int listHeight = lstvItems->minimumHeight() + design.height() - minimumHeight();
        const int part = (listHeight - controls_HeightForRows(lstvItems, 0)) % std::max(1, controls_RowHeight(lstvItems));
        if (design.height() - part >= minimumHeight()) design.rheight() -= part;
        // Then held at that size: a dialog of fixed size, without maximise.
        keepSize(design);
    }
    ToolDialog::showEvent(event);
}

bool FrmJump::eventFilter(QObject* watched, QEvent* event)
{
    const bool searchBox = watched == cmbSearch || watched == cmbOp || (cmbSearch && watched == cmbSearch->lineEdit());
    if (searchBox && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // Enter runs Find while the search box or the operator has the focus, Select once the
        // focus has left them after a search with hits.
        searchBoxFocus(event->type() == QEvent::FocusIn);
    } else if (watched == lstvItems && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            lstvItems_KeyDown(13);
            return true;
        }
    }
    return ToolDialog::eventFilter(watched, event);
}

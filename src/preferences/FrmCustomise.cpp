#include "preferences/FrmCustomise.h"

#include "common/ToolDialog.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "controls/SystemColours.h"
#include "controls/ctlQX_3DPanel.h"
#include "extras/FrmMini.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kAppearance = QStringLiteral("MiniModeAppearance");

struct ColourRow {
    const char* key;
    quint32 colour;
    const char* label;
};
// By index: the box's key, default and label.
constexpr ColourRow kRows[FrmCustomise::ColourCount] = {
    {"BackColour", 0xC0C0C0, "Please select the background colour:"},
    {"BorderColour", 0, "Please select the border colour:"},
    {"DarkLinesColour", 0x808080, "Please select the dark line colour:"},
    {"LightLinesColour", 0xFFFFFF, "Please select the light line colour:"},
    {"SlidersBackColour", 0xE0E0E0, "Please select the slider background colour:"},
    {"IndentBackColour", 0, "Please select the window indent colour:"},
    {"IndentFontColour", 0xFF00, "Please select the window indent font/digital colour:"},
    {"WindowFontColour", 0, "Please select the window font colour:"},
    {"WindowFontBackColour", 0x265726, "Please select the window digital font back colour:"},
};

struct Group {
    const char* heading;
    std::initializer_list<int> boxes;   // top to bottom
};
const Group kGroups[3] = {
    {"General window/border colours:", {0, 1, 2, 3, 5}},
    {"Slider colours:", {4}},
    {"Font colours:", {7, 6, 8}},
};
} // namespace

QString FrmCustomise::colourKey(int index) { return QString::fromLatin1(kRows[index].key); }
quint32 FrmCustomise::defaultColour(int index) { return kRows[index].colour; }

FrmCustomise::FrmCustomise()
{
    setObjectName(QStringLiteral("FrmCustomise"));
    setWindowTitle(QStringLiteral("Customise Mini-Mode"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(ToolDialog::dialogFont());

    auto* outer = new QVBoxLayout(this);
    for (int g = 0; g < 3; ++g) {
        outer->addWidget(new QLabel(QString::fromLatin1(kGroups[g].heading), this));
        auto* panel = new ctlQX_3DPanel(this);
        panel->setObjectName(QStringLiteral("ctlQX_3DPanel%1").arg(g + 1));
        panels[g] = panel;
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(8, 6, 8, 6);
        grid->setColumnStretch(0, 1);
        int row = 0;
        for (int i : kGroups[g].boxes) {
            lblColour[i] = new QLabel(QString::fromLatin1(kRows[i].label), panel);
            picColour[i] = new QFrame(panel);
            picColour[i]->setObjectName(QStringLiteral("picColour%1").arg(i));
            picColour[i]->setFrameShape(QFrame::Box);
            picColour[i]->setFixedSize(40, 17);
            picColour[i]->setAutoFillBackground(true);
            cmdColour[i] = new QPushButton(QStringLiteral("..."), panel);
            cmdColour[i]->setObjectName(QStringLiteral("cmdColour%1").arg(i));
            cmdColour[i]->setFixedSize(26, 19);
            cmdColour[i]->setAutoDefault(false);
            connect(cmdColour[i], &QPushButton::clicked, this, [this, i] { cmdColour_Click(i); });
            grid->addWidget(lblColour[i], row, 0);
            grid->addWidget(picColour[i], row, 1);
            grid->addWidget(cmdColour[i], row, 2);
            ++row;
        }
        outer->addWidget(panel);
    }
    auto* buttons = new QHBoxLayout;
    cmdDefault = new QPushButton(QStringLiteral("« &Default"), this);
    cmdSave = new QPushButton(QStringLiteral("&Save »"), this);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdDefault->setObjectName(QStringLiteral("cmdDefault"));
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* b : {cmdDefault, cmdSave, cmdClose}) b->setAutoDefault(false);
    cmdSave->setDefault(true);
    buttons->addWidget(cmdDefault);
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdDefault, &QPushButton::clicked, this, [this] { cmdDefault_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    Form_Load();
}

void FrmCustomise::setColour(int index, quint32 colour)
{
    m_colours[index] = colour;
    QPalette p = picColour[index]->palette();
    p.setColor(QPalette::Window, syscolour::toQColor(colour));
    picColour[index]->setPalette(p);
}

void FrmCustomise::Form_Load()
{
    for (int i = 0; i < ColourCount; ++i) {
        const double v = vb::Val(settings_ReadValue(kAppearance, colourKey(i), QString::number(qint32(defaultColour(i)))));
        setColour(i, quint32(qint32(std::clamp(v, -2147483648.0, 2147483647.0))));
    }
}

void FrmCustomise::cmdColour_Click(int index)
{
    // A cancelled picker leaves the box as it was.
    const QColor shown = syscolour::toQColor(m_colours[index]);
    const quint32 start = quint32(shown.red()) | (quint32(shown.green()) << 8) | (quint32(shown.blue()) << 16);
    if (const std::optional<quint32> chosen = veltra::ui().chooseColour(start, QStringLiteral("Select Colour"))) setColour(index, *chosen);
}

void FrmCustomise::cmdDefault_Click()
{
    for (int i = 0; i < ColourCount; ++i) setColour(i, defaultColour(i));
}

void FrmCustomise::cmdSave_Click()
{
    for (int i = 0; i < ColourCount; ++i) settings_WriteValue(kAppearance, colourKey(i), QString::number(qint32(m_colours[i])));
    hide();
    if (forms().get<FrmMain>().mnuSwitchToMiniMode->isChecked()) {
        FrmMini& mini = forms().get<FrmMini>();
        mini.hide();
        mini.window_InstallColours();
        mini.show();
    }
    done(QDialog::Accepted);
}

void FrmCustomise::cmdClose_Click() { done(QDialog::Rejected); }

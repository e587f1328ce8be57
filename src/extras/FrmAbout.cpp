#include "extras/FrmAbout.h"

#include "common/ToolDialog.h"
#include "common/modWindows.h"
#include "extras/FrmCheckForUpdates.h"
#include "platform/ProgramFolder.h"
#include "platform/WebPages.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 360;

// The pictures across the top and the bottom of the box.
QPixmap banner(int height, bool withTitle)
{
    QPixmap pix(kWidth, height);
    QPainter g(&pix);
    QLinearGradient fill(0, 0, kWidth, height);
    fill.setColorAt(0, QColor(0x10, 0x20, 0x50));
    fill.setColorAt(1, QColor(0x30, 0x70, 0xB0));
    g.fillRect(pix.rect(), fill);
    if (withTitle) {
        g.setRenderHint(QPainter::Antialiasing, true);
        // Three bars of a level meter beside the title.
        g.setPen(Qt::NoPen);
        const int bars[3] = {18, 30, 24};
        for (int i = 0; i < 3; ++i) {
            g.setBrush(QColor(0x7C, 0xE0, 0x7C, 0xE0 - i * 30));
            g.drawRoundedRect(QRectF(20 + i * 10, height - 14 - bars[i], 7, bars[i]), 2, 2);
        }
        QFont title(QStringLiteral("Tahoma"));
        title.setPixelSize(30);
        title.setBold(true);
        g.setFont(title);
        g.setPen(Qt::white);
        g.drawText(QRect(62, 0, kWidth - 70, height - 8), Qt::AlignLeft | Qt::AlignBottom, programfolder::title());
        QFont sub(QStringLiteral("Tahoma"));
        sub.setPixelSize(11);
        g.setFont(sub);
        g.setPen(QColor(0xD0, 0xE0, 0xF0));
        g.drawText(QRect(0, 6, kWidth - 10, 20), Qt::AlignRight | Qt::AlignTop, QStringLiteral("media player and music organiser"));
    }
    return pix;
}

QLabel* text(QWidget* parent, const char* name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLabel* link(QWidget* parent, const char* name, const QString& caption)
{
    QLabel* l = text(parent, name, caption);
    ToolDialog::useLinkLook(l);
    return l;
}
} // namespace

QString FrmAbout::authorName() { return QStringLiteral("The VELTRA developers"); }
QString FrmAbout::authorAddress() { return QStringLiteral("developers@veltra.invalid"); }

FrmAbout::FrmAbout()
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(ToolDialog::dialogFont());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    imgTop = new QLabel(this);
    imgTop->setObjectName(QStringLiteral("imgTop"));
    imgTop->setPixmap(banner(78, true));
    outer->addWidget(imgTop);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 12);
    body->setSpacing(3);
    lblVersion = text(this, "lblVersion", QStringLiteral("Version ##.##"));
    QFont bold = lblVersion->font();
    bold.setBold(true);
    lblVersion->setFont(bold);
    lblBuild = text(this, "lblBuild", QStringLiteral("Build #00"));
    lblCompiled = text(this, "lblCompiled", QStringLiteral("Compiled:"));
    for (QLabel* l : {lblVersion, lblBuild, lblCompiled}) body->addWidget(l);
    body->addSpacing(8);

    auto* author = new QHBoxLayout;
    author->addWidget(text(this, "lblProgrammer", QStringLiteral("Programmer/Designer:")));
    lblEmailAddress = link(this, "lblEmailAddress", authorName());
    author->addWidget(lblEmailAddress);
    author->addStretch(1);
    body->addLayout(author);
    body->addSpacing(6);
    body->addWidget(text(this, "lblCredits", QStringLiteral("Credits:")));
    QLabel* credits = text(this, "lblCreditNames",
                           QStringLiteral("Qt, for the windows\nGStreamer, for playing every file\nlibcdio, for reading audio CDs\n"
                                          "GoogleTest, for keeping it working\nThe people who tried every build"));
    credits->setIndent(12);
    body->addWidget(credits);
    body->addSpacing(6);
    lblWebAddress[0] = link(this, "lblWebAddress0", webpages::web());
    lblWebAddress[1] = link(this, "lblWebAddress1", webpages::homepage());
    lblCheckForUpdates = link(this, "lblCheckForUpdates", QStringLiteral("Check For Updates"));
    for (QLabel* l : {lblWebAddress[0], lblWebAddress[1], lblCheckForUpdates}) body->addWidget(l);
    body->addSpacing(6);
    QLabel* notice = text(this, "lblNotice",
                          QStringLiteral("This program is provided as it is, without any warranty.\nKeep a copy of music you cannot replace."));
    notice->setEnabled(false);
    body->addWidget(notice);
    outer->addLayout(body);

    imgBottom = new QLabel(this);
    imgBottom->setObjectName(QStringLiteral("imgBottom"));
    imgBottom->setPixmap(banner(10, false));
    outer->addWidget(imgBottom);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    for (QLabel* l : {lblEmailAddress, lblWebAddress[0], lblWebAddress[1], lblCheckForUpdates}) l->installEventFilter(this);
    Form_Load();
}

void FrmAbout::Form_Load()
{
    QString version = QStringLiteral("Version ") + QString::number(programfolder::versionMajor()) + u'.'
                      + QString::number(programfolder::versionMinor());
    if (!startup::BetaLabel.isEmpty()) version += QStringLiteral(" - ") + startup::BetaLabel;
    lblVersion->setText(version);
    lblBuild->setText(QStringLiteral("Build #") + QString::number(programfolder::versionRevision()));
    setWindowTitle(QStringLiteral("About ") + programfolder::title() + QStringLiteral("..."));
    lblCompiled->setText(QStringLiteral("Compiled:  ") + programfolder::compileDate());
}

void FrmAbout::Form_KeyDown(int keyCode, int)
{
    if (keyCode == 27 || keyCode == Qt::Key_Escape) done(QDialog::Rejected);
}

void FrmAbout::lblWebAddress_MouseDown(int index, int button)
{
    if (button != 1 || index < 0 || index > 1) return;
    windows_OpenURL(this, lblWebAddress[index]->text(), 3);
    done(QDialog::Accepted);
}

void FrmAbout::lblEmailAddress_MouseDown(int button)
{
    if (button != 1) return;
    windows_OpenMail(this, authorAddress(), programfolder::title(), 3);
    done(QDialog::Accepted);
}

void FrmAbout::lblCheckForUpdates_MouseDown(int button)
{
    if (button != 1) return;
    // The box goes first, so that closing the check returns to the main window.
    done(QDialog::Accepted);
    windows_ShowModal(forms().fresh<FrmCheckForUpdates>(), &forms().get<FrmMain>(), false);
}

bool FrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const int button = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton ? 1 : 2;
        if (watched == lblWebAddress[0] || watched == lblWebAddress[1]) {
            lblWebAddress_MouseDown(watched == lblWebAddress[0] ? 0 : 1, button);
            return true;
        }
        if (watched == lblEmailAddress) {
            lblEmailAddress_MouseDown(button);
            return true;
        }
        if (watched == lblCheckForUpdates) {
            lblCheckForUpdates_MouseDown(button);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmAbout::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    Form_KeyDown(event->key(), (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0));
}

#include "common/FrmConsole.h"

#include "common/modFiles.h"
#include "controls/ctlQX_3DPanel.h"
#include "common/modLog.h"
#include "common/modSettings.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

using namespace veltra;

FrmConsole::FrmConsole()
{
    setObjectName(QStringLiteral("FrmConsole"));
    setWindowTitle(QStringLiteral("Console"));
    resize(560, 380);

    qxpTop = new ctlQX_3DPanel(this);
    qxpTop->setObjectName(QStringLiteral("qxpTop"));
    lblText = new QLabel(QStringLiteral("Console Logs:"), qxpTop);
    auto* topLayout = new QHBoxLayout(qxpTop);
    topLayout->setContentsMargins(6, 3, 6, 3);
    topLayout->addWidget(lblText);

    txtData = new QPlainTextEdit(this);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setReadOnly(true);
    txtData->setLineWrapMode(QPlainTextEdit::NoWrap);

    qxpOptions = new ctlQX_3DPanel(this);
    qxpOptions->setObjectName(QStringLiteral("qxpOptions"));
    lblOptions = new QLabel(QStringLiteral("Options"), qxpOptions);
    lblOptions->setCursor(Qt::PointingHandCursor);
    lblOptions->installEventFilter(this);
    chkWriteLogs = new QCheckBox(QStringLiteral("Always write logs..."), qxpOptions);
    auto* optLayout = new QHBoxLayout(qxpOptions);
    optLayout->setContentsMargins(6, 3, 6, 3);
    optLayout->addWidget(lblOptions);
    optLayout->addSpacing(12);
    optLayout->addWidget(chkWriteLogs);
    optLayout->addStretch();

    cmdPrint = new QPushButton(QStringLiteral(" &Print"), this);
    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdClear = new QPushButton(QStringLiteral("&Clear"), this);
    cmdHide = new QPushButton(QStringLiteral("&Hide"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdPrint, cmdSave, cmdClear, cmdHide}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(qxpTop);
    layout->addWidget(txtData, 1);
    layout->addWidget(qxpOptions);
    layout->addLayout(buttons);

    mnuMenu = new QMenu(QStringLiteral("Menu"), this);
    mnuSaveAs = mnuMenu->addAction(QStringLiteral("&Save As..."));
    mnuLineBreak1 = mnuMenu->addSeparator();
    mnuPrint = mnuMenu->addAction(QStringLiteral("&Print..."));

    connect(chkWriteLogs, &QCheckBox::clicked, this, [this] { chkWriteLogs_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(cmdHide, &QPushButton::clicked, this, [this] { cmdHide_Click(); });
    connect(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAs_Click(); });
    connect(mnuPrint, &QAction::triggered, this, [this] { mnuPrint_Click(); });

    log_SetSink([this](const QString& line) { window_WriteLog(line); });
    Form_Load();
}

FrmConsole::~FrmConsole() { log_SetSink(nullptr); }

QString FrmConsole::logPath() const { return programfolder::file(QStringLiteral("console.log")); }

void FrmConsole::Form_Load()
{
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("RememberTheConsoleLogs"), QStringLiteral("0"))
        && files_FileExists(logPath())) {
        QString text;
        if (textfile::read(logPath(), &text)) setText(text + QStringLiteral("\r\n"));
    }
    chkWriteLogs->setChecked(settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("WriteConsoleLogs"), QStringLiteral("1")));
    chkWriteLogs_Click();
}

void FrmConsole::setText(const QString& text)
{
    m_text = text;
    m_shownLength = 0;
    txtData->clear();
    m_logFileSize = -1;
    flushToView();
}

void FrmConsole::window_WriteLog(const QString& message)
{
    if (!LoggingEnabled) return;
    appendLines(message + QStringLiteral("\r\n"));
}

void FrmConsole::window_WriteLogLines(const QStringList& messages)
{
    if (!LoggingEnabled || messages.isEmpty()) return;
    qsizetype size = 0;
    for (const QString& m : messages) size += m.size() + 2;
    QString added;
    added.reserve(size);
    for (const QString& m : messages) {
        added.append(m);
        added.append(QStringLiteral("\r\n"));
    }
    appendLines(added);
}

void FrmConsole::appendLines(const QString& added)
{
    m_text.append(added);
    if (isVisible() && !m_flushQueued) {
        m_flushQueued = true;
        QTimer::singleShot(0, this, [this] { flushToView(); });
    }
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("RememberTheConsoleLogs"), QStringLiteral("0")))
        writeConsoleLog(added);
    else
        m_logFileSize = -1;   // console.log now lacks these lines: the next write rewrites it whole
}

void FrmConsole::writeConsoleLog(const QString& added)
{
    // console.log holds the whole text and one more CR LF. A new line is appended in place of
    // that last CR LF, so long logs cost nothing extra; the file is rewritten whole only when
    // it is not as we left it. Failures never stop the program.
    const QString path = logPath();
    QFile f(path);
    if (m_logFileSize >= 2 && f.exists() && f.size() == m_logFileSize && f.open(QIODevice::ReadWrite)) {
        const QByteArray bytes = added.toUtf8() + "\r\n";
        if (f.seek(m_logFileSize - 2) && f.write(bytes) == bytes.size()) {
            m_logFileSize += bytes.size() - 2;
            return;
        }
        f.close();
    }
    const QByteArray whole = (m_text + QStringLiteral("\r\n")).toUtf8();
    m_logFileSize = textfile::writeAtomic(path, whole) ? whole.size() : -1;
}

void FrmConsole::flushToView()
{
    m_flushQueued = false;
    if (m_shownLength >= m_text.size()) return;
    QString pending = m_text.mid(m_shownLength);
    m_shownLength = m_text.size();
    pending.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (pending.endsWith(u'\n')) pending.chop(1);
    txtData->appendPlainText(pending);
    txtData->verticalScrollBar()->setValue(txtData->verticalScrollBar()->maximum());
}

void FrmConsole::chkWriteLogs_Click()
{
    const bool on = chkWriteLogs->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(cmdPrint), static_cast<QWidget*>(cmdSave), static_cast<QWidget*>(cmdClear),
                       static_cast<QWidget*>(txtData)})
        w->setEnabled(on);
    mnuPrint->setEnabled(on);
    mnuSaveAs->setEnabled(on);
    cmdSave->setDefault(on);
    cmdHide->setDefault(!on);
    setWindowTitle(on ? QStringLiteral("Console - [Enabled]") : QStringLiteral("Console - [Disabled]"));
    LoggingEnabled = on;
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("WriteConsoleLogs"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void FrmConsole::cmdClear_Click()
{
    const MsgResult r = msgBox(QStringLiteral("Once the console logs have been cleared, you will not be able to get them back.\r\n\r\n"
                                              "Do you wish to continue?\r\n"),
                               MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Clear Console Logs Confirmation"));
    if (r != MsgResult::Yes) return;
    setText(QString());
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("RememberTheConsoleLogs"), QStringLiteral("0"))
        && files_FileExists(logPath()))
        files_DeleteFile(logPath());
}

void FrmConsole::cmdSave_Click() { mnuSaveAs_Click(); }

void FrmConsole::mnuSaveAs_Click()
{
    FileDialogRequest req;
    req.title = QStringLiteral("Save Console Log...");
    req.initialDir = programfolder::file(QStringLiteral("Logs"));
    req.flags = 4;
    req.filter = programfolder::title() + QStringLiteral(" Logs|*.slf|All Files|*.*|");
    req.filterIndex = 1;   // no default extension: a name is saved as typed
    const FileDialogResult res = ui().saveFileDialog(req);
    if (res.cancelled || res.files.isEmpty() || res.files.first().isEmpty()) return;
    const QString file = res.files.first();

    auto saveError = [] {
        msgBox(QStringLiteral("An error occured while trying to save.\r\n\r\nThis function will not continue.\r\n"), MsgButtons::OK,
               MsgIcon::Exclamation, QStringLiteral("Save Error"));
    };
    if (files_FileExists(file)) {
        const MsgResult r = msgBox(QStringLiteral("The filename you have entered/selected already exists.\r\n\r\n"
                                                  "Would you like to overwrite this file?\r\n"),
                                   MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Overwrite Existing File Confirmation"));
        if (r != MsgResult::Yes) return;
        files_DeleteFile(file);
        if (files_FileExists(file)) {   // read-only or in use: left as it was
            saveError();
            return;
        }
    }
    if (!textfile::writeAtomic(file, m_text + QStringLiteral("\r\n"))) saveError();
}

void FrmConsole::cmdPrint_Click() { mnuPrint_Click(); }

void FrmConsole::mnuPrint_Click()
{
    if (!ui().printDialog(QStringLiteral("Print Colsole Logs..."), 1)) return;
    QList<PrintLine> lines;
    lines.append({programfolder::title() + QStringLiteral(" Console Log:"), 10, false, {}});
    lines.append({QString(), 10, false, {}});
    QString body = m_text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.append({body, 10, false, {}});
    ui().print(lines);
}

void FrmConsole::cmdHide_Click() { hide(); }

void FrmConsole::Form_KeyDown(int keyCode, int shift)
{
    if (shift != 2) return;   // Ctrl alone
    if (keyCode == 'P' && mnuPrint->isEnabled()) mnuPrint_Click();
    else if (keyCode == 'S' && mnuSaveAs->isEnabled()) mnuSaveAs_Click();
}

bool FrmConsole::Form_QueryUnload()
{
    hide();
    return true;
}

void FrmConsole::lblOptions_MouseDown(int button)
{
    if (button != 1) return;
    mnuMenu->popup(mapToGlobal(QPoint(qxpOptions->x(), qxpOptions->y() + qxpOptions->height())));
}

void FrmConsole::keyPressEvent(QKeyEvent* event)
{
    int shift = 0;
    if (event->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (event->modifiers() & Qt::ControlModifier) shift |= 2;
    if (event->modifiers() & Qt::AltModifier) shift |= 4;
    Form_KeyDown(event->key(), shift);
    QWidget::keyPressEvent(event);
}

void FrmConsole::closeEvent(QCloseEvent* event)
{
    if (Form_QueryUnload()) event->ignore();
}

void FrmConsole::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    flushToView();
    QTextCursor c = txtData->textCursor();
    c.movePosition(QTextCursor::End);
    txtData->setTextCursor(c);
}

bool FrmConsole::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblOptions && event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        lblOptions_MouseDown(me->button() == Qt::LeftButton ? 1 : (me->button() == Qt::RightButton ? 2 : 4));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

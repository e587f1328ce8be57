#pragma once
// The log console: one line per notable action, optionally mirrored to console.log.
#include <QStringList>
#include <QWidget>

class QCheckBox;
class ctlQX_3DPanel;
class QLabel;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;

class FrmConsole : public QWidget {
    Q_OBJECT
public:
    FrmConsole();
    ~FrmConsole() override;

    // The logging flag: lines are added only while it is on.
    bool LoggingEnabled = false;

    void window_WriteLog(const QString& message);
    // Many lines at once, as if each were written in turn (adding a folder logs every file).
    void window_WriteLogLines(const QStringList& messages);
    QString Text() const { return m_text; }
    void setText(const QString& text);

    void Form_Load();
    void chkWriteLogs_Click();
    void cmdClear_Click();
    void cmdSave_Click();
    void mnuSaveAs_Click();
    void cmdPrint_Click();
    void mnuPrint_Click();
    void cmdHide_Click();
    void Form_KeyDown(int keyCode, int shift);
    bool Form_QueryUnload();   // true: the close was cancelled (the window hides instead)
    void lblOptions_MouseDown(int button);

    QLabel* lblText;
    QPlainTextEdit* txtData;
    QCheckBox* chkWriteLogs;
    QPushButton* cmdPrint;
    QPushButton* cmdSave;
    QPushButton* cmdClear;
    QPushButton* cmdHide;
    ctlQX_3DPanel* qxpTop;
    ctlQX_3DPanel* qxpOptions;
    QLabel* lblOptions;
    QMenu* mnuMenu;
    QAction* mnuSaveAs;
    QAction* mnuLineBreak1;
    QAction* mnuPrint;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void appendLines(const QString& added);   // whole lines, each ended by CR LF
    void flushToView();
    void writeConsoleLog(const QString& added);
    QString logPath() const;

    QString m_text;
    qsizetype m_shownLength = 0;   // how much of m_text the text box shows
    bool m_flushQueued = false;
    qint64 m_logFileSize = -1;     // console.log's size as we last left it; -1 unknown
};

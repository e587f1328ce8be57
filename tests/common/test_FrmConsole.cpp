#include "common/FrmConsole.h"
#include "common/modSettings.h"
#include "platform/QtUiServices.h"
#include "platform/TextFile.h"
#include "startup/Forms.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class ConsoleTest : public VeltraTest {
protected:
    QString logFile() const { return home("console.log"); }
    FrmConsole& console() { return forms().get<FrmConsole>(); }
};

TEST_F(ConsoleTest, LoadAppliesWriteConsoleLogs)
{
    settings_WriteValue("Settings", "WriteConsoleLogs", "0");
    FrmConsole& c = console();
    EXPECT_FALSE(c.LoggingEnabled);
    EXPECT_EQ(c.windowTitle(), QStringLiteral("Console - [Disabled]"));
    EXPECT_FALSE(c.cmdSave->isEnabled());
    EXPECT_FALSE(c.mnuSaveAs->isEnabled());
    EXPECT_TRUE(c.cmdHide->isDefault());
    c.window_WriteLog("dropped");
    EXPECT_TRUE(c.Text().isEmpty());
    // Ctrl+S does nothing while the menu item is disabled
    c.Form_KeyDown('S', 2);
    EXPECT_EQ(ui.count("save"), 0);

    c.chkWriteLogs->setChecked(true);
    c.chkWriteLogs_Click();
    EXPECT_EQ(c.windowTitle(), QStringLiteral("Console - [Enabled]"));
    EXPECT_TRUE(c.cmdSave->isDefault());
    EXPECT_EQ(settings_ReadValue("Settings", "WriteConsoleLogs", ""), QStringLiteral("1"));
    c.window_WriteLog("kept");
    EXPECT_EQ(c.Text(), QStringLiteral("kept\r\n"));
}

TEST_F(ConsoleTest, RememberedLogEqualsTextPlusOneLineEnd)
{
    settings_WriteValue("Settings", "RememberTheConsoleLogs", "1");
    FrmConsole& c = console();
    c.window_WriteLog("one");
    EXPECT_EQ(readFile(logFile()), QByteArray("one\r\n\r\n"));
    c.window_WriteLog("twö");
    c.window_WriteLog("three");
    EXPECT_EQ(readFile(logFile()), (c.Text() + "\r\n").toUtf8());
    EXPECT_EQ(readFile(logFile()), QStringLiteral("one\r\ntwö\r\nthree\r\n\r\n").toUtf8());

    // a file changed behind our back is rewritten whole
    writeFile("console.log", "tampered");
    c.window_WriteLog("four");
    EXPECT_EQ(readFile(logFile()), (c.Text() + "\r\n").toUtf8());

    // the next run starts with this text and one more line end
    forms().unload<FrmConsole>();
    FrmConsole& again = console();
    EXPECT_EQ(again.Text(), QStringLiteral("one\r\ntwö\r\nthree\r\nfour\r\n\r\n\r\n"));
}

TEST_F(ConsoleTest, RememberingSwitchedOffAndOnAgainKeepsTheWholeText)
{
    FrmConsole& c = console();
    const QString remember = QStringLiteral("RememberTheConsoleLogs");
    for (const char* order : {"on off on", "off on", "on off off on", "on on off on"}) {
        SCOPED_TRACE(order);
        for (const QString& state : QString::fromLatin1(order).split(u' ')) {
            settings_WriteValue("Settings", remember, state == QLatin1String("on") ? "1" : "0");
            c.window_WriteLog(QStringLiteral("while ") + state);
            if (state == QLatin1String("on")) {
                EXPECT_EQ(readFile(logFile()), (c.Text() + "\r\n").toUtf8());
            }
        }
    }
}

// The real save dialog, a name typed without an extension: it is saved under that name.
TEST_F(ConsoleTest, ATypedNameIsSavedAsTyped)
{
    veltra::QtUiServices real;
    veltra::setUiServices(&real);
    FrmConsole& c = console();
    c.window_WriteLog("kept");
    QDir().mkpath(home("Logs"));
    bool typed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* edit = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!edit || typed) return;
        typed = true;
        QTest::keyClicks(edit, QStringLiteral("mylog"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    poll.start(50);
    c.mnuSaveAs_Click();
    veltra::setUiServices(&ui);
    EXPECT_TRUE(typed);
    EXPECT_EQ(readFile(home("Logs/mylog")), QByteArray("kept\r\n\r\n"));
    EXPECT_FALSE(QFile::exists(home("Logs/mylog.slf")));
}

TEST_F(ConsoleTest, LogFileUntouchedWhenLoggingOffOrNotRemembering)
{
    console().window_WriteLog("not remembered");
    EXPECT_FALSE(QFile::exists(logFile()));
    settings_WriteValue("Settings", "RememberTheConsoleLogs", "1");
    console().LoggingEnabled = false;
    console().window_WriteLog("dropped");
    EXPECT_FALSE(QFile::exists(logFile()));
}

TEST_F(ConsoleTest, UnwritableLogNeverStopsLogging)
{
    settings_WriteValue("Settings", "RememberTheConsoleLogs", "1");
    QDir().mkpath(logFile());   // a folder where the file should be
    console().window_WriteLog("still logged");
    EXPECT_EQ(console().Text(), QStringLiteral("still logged\r\n"));
}

TEST_F(ConsoleTest, ClearAsksAndDeletesRememberedLog)
{
    settings_WriteValue("Settings", "RememberTheConsoleLogs", "1");
    FrmConsole& c = console();
    c.window_WriteLog("x");
    ui.msgAnswers.push_back(veltra::MsgResult::No);
    c.cmdClear_Click();
    EXPECT_FALSE(c.Text().isEmpty());
    c.cmdClear_Click();   // default answer Yes
    EXPECT_TRUE(c.Text().isEmpty());
    EXPECT_FALSE(QFile::exists(logFile()));
    const auto m = ui.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].title, QStringLiteral("Clear Console Logs Confirmation"));
    EXPECT_EQ(m[0].text, QStringLiteral("Once the console logs have been cleared, you will not be able to get them back.\r\n\r\n"
                                        "Do you wish to continue?\r\n"));
}

TEST_F(ConsoleTest, ClearWithoutRememberingKeepsLogFile)
{
    writeFile("console.log", "from before");
    console().cmdClear_Click();
    EXPECT_TRUE(QFile::exists(logFile()));
}

TEST_F(ConsoleTest, SaveAsSlfAndOverwriteConfirmation)
{
    FrmConsole& c = console();
    c.window_WriteLog("line ü");
    const QString target = home("Logs/saved.slf");
    QDir().mkpath(home("Logs"));
    veltra::FileDialogResult res;
    res.cancelled = false;
    res.files = {target};
    ui.fileAnswers.push_back(res);
    c.Form_KeyDown('S', 2);
    ASSERT_EQ(ui.count("save"), 1);
    const auto req = ui.calls.first().fileRequest;
    EXPECT_EQ(req.title, QStringLiteral("Save Console Log..."));
    EXPECT_EQ(req.filter, QStringLiteral("VELTRA Logs|*.slf|All Files|*.*|"));
    EXPECT_EQ(req.initialDir, home("Logs"));
    EXPECT_EQ(readFile(target), QStringLiteral("line ü\r\n\r\n").toUtf8());

    c.window_WriteLog("more");
    ui.fileAnswers.push_back(res);
    ui.msgAnswers.push_back(veltra::MsgResult::No);
    c.cmdSave_Click();
    EXPECT_EQ(readFile(target), QStringLiteral("line ü\r\n\r\n").toUtf8());
    ui.fileAnswers.push_back(res);
    c.cmdSave_Click();
    EXPECT_EQ(readFile(target), QStringLiteral("line ü\r\nmore\r\n\r\n").toUtf8());
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Overwrite Existing File Confirmation"));
}

TEST_F(ConsoleTest, SaveErrorBox)
{
    veltra::FileDialogResult res;
    res.cancelled = false;
    res.files = {home("no/such/folder/x.slf")};
    ui.fileAnswers.push_back(res);
    console().mnuSaveAs_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Save Error"));
    EXPECT_EQ(ui.messages().first().text,
              QStringLiteral("An error occured while trying to save.\r\n\r\nThis function will not continue.\r\n"));
}

TEST_F(ConsoleTest, PrintSendsTitleBlankLineAndText)
{
    FrmConsole& c = console();
    c.window_WriteLog("a");
    c.mnuPrint_Click();   // cancelled: nothing printed
    EXPECT_TRUE(ui.printed.isEmpty());
    ui.printAnswers.push_back(true);
    c.Form_KeyDown('P', 2);
    ASSERT_EQ(ui.printed.size(), 1);
    const auto& lines = ui.printed.first();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].text, QStringLiteral("VELTRA Console Log:"));
    EXPECT_EQ(lines[0].fontSize, 10);
    EXPECT_EQ(lines[1].text, QString());
    EXPECT_EQ(lines[2].text, QStringLiteral("a\n"));
    EXPECT_EQ(ui.calls.first().title, QStringLiteral("Print Colsole Logs..."));
}

TEST_F(ConsoleTest, CloseHidesAndLogStillAdded)
{
    FrmConsole& c = console();
    c.show();
    EXPECT_TRUE(c.isVisible());
    c.close();
    EXPECT_FALSE(c.isVisible());
    EXPECT_TRUE(forms().isLoaded<FrmConsole>());
    c.window_WriteLog("after close");
    EXPECT_TRUE(c.Text().endsWith(QStringLiteral("after close\r\n")));
    c.show();
    processEvents();
    EXPECT_TRUE(c.txtData->toPlainText().endsWith(QStringLiteral("after close")));
}

} // namespace

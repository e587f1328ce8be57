// The update check against a web server in the test (a QTcpServer on 127.0.0.1, answered
// in the running event loop while the dialog waits), and the about box.
#include "common/modSettings.h"
#include "common/modWindows.h"
#include "extras/FrmAbout.h"
#include "extras/FrmCheckForUpdates.h"
#include "extras/FrmCDPlayer.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMenus.h"
#include "platform/ProgramFolder.h"
#include "platform/WebPages.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"
#include "platform/CdTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>

using namespace veltra;

namespace {
// Answers every request with one HTTP reply and remembers the paths asked for.
class UpdateServer : public QObject {
public:
    int status = 200;
    QByteArray body;
    QStringList paths;

    UpdateServer()
    {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    request += socket->readAll();
                    if (!request.contains("\r\n\r\n")) return;
                    paths.append(QString::fromLatin1(request.split(' ').value(1)));
                    request.clear();
                    socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: " + QByteArray::number(body.size())
                                  + "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1/updates/").arg(server.serverPort()); }

private:
    QTcpServer server;
    QByteArray request;
};
} // namespace

class UpdateCheckTest : public VeltraTest, protected SimulatedCd {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        installCd();
        windows::setConnectionCheck([this] { return connected; });
        webpages::setUpdate(server.address());
        startup::BetaLabel = QStringLiteral("Beta 5");
    }
    void TearDown() override
    {
        windows::setConnectionCheck(nullptr);
        webpages::setUpdate(QStringLiteral("https://veltra.invalid/updates/"));
        startup::BetaLabel.clear();
        VeltraTest::TearDown();
        uninstallCd();
    }
    // The dialog as loaded, running build 500, its first step taken against the server.
    FrmCheckForUpdates& check(const QByteArray& file)
    {
        server.body = file;
        FrmCheckForUpdates& d = forms().fresh<FrmCheckForUpdates>();
        d.lblCurrentBuild->setText(QStringLiteral("500"));
        d.cmdNext_Click();
        return d;
    }
    QString updFile() { return home("Updates/veltra.upd"); }

    UpdateServer server;
    bool connected = true;
};

TEST_F(UpdateCheckTest, TheRunningBuildIsComparedWithTheAvailableOneAsNumbers)
{
    struct Case {
        const char* build;
        const char* caption;
    } cases[] = {
        {"501", "&Download »"}, {"500", "&Finish"}, {"0600", "&Download »"}, {"499", "&Finish"},
        {"675 beta", "&Download »"}, {"beta 675", "&Finish"}, {"", "&Finish"},
    };
    for (const Case& c : cases) {
        FrmCheckForUpdates& d = check(QByteArray("[Version]\r\nValue=2.1\r\n[Build]\r\nValue=") + c.build
                                      + "\r\n[Beta Version]\r\nValue=Beta 6\r\n");
        EXPECT_EQ(d.cmdNext->text(), QString::fromUtf8(c.caption)) << c.build;
        EXPECT_TRUE(d.cmdNext->isEnabled());
        EXPECT_EQ(d.lblNewVersion->text(), QStringLiteral("2.1"));
        EXPECT_EQ(d.lblNewDiscription->text(), QStringLiteral("Beta 6"));
    }
    EXPECT_EQ(server.paths.value(0), QStringLiteral("/updates/veltra.upd"));
    EXPECT_EQ(FrmCheckForUpdates::update_LeadingNumber(QStringLiteral("  675 beta")), 675);
    EXPECT_EQ(FrmCheckForUpdates::update_LeadingNumber(QStringLiteral("b675")), 0);
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(UpdateCheckTest, AFileWithOnlyTheVersionShowsItAndEndsAtFinishWithLongValuesCut)
{
    FrmCheckForUpdates& d = check("[Version]\r\nValue=3.0\r\n");
    EXPECT_EQ(d.lblNewVersion->text(), QStringLiteral("3.0"));
    EXPECT_EQ(d.lblNewBuild->text(), QString());
    EXPECT_EQ(d.lblNewDiscription->text(), QString());
    EXPECT_EQ(d.cmdNext->text(), QStringLiteral("&Finish"));
    EXPECT_TRUE(QFile::exists(updFile()));

    const QString sixty(60, u'x');
    FrmCheckForUpdates& longer = check("[Beta Version]\r\nValue=" + sixty.toLatin1() + "\r\n");
    EXPECT_EQ(longer.lblNewDiscription->text(), sixty.left(49));

    // A value read while the dialog shows is shown whole, not clipped by its panel.
    FrmCheckForUpdates& shown = forms().fresh<FrmCheckForUpdates>();
    shown.show();
    QApplication::processEvents();
    server.body = "[Beta Version]\r\nValue=A description that is far longer than forty-nine characters\r\n";
    shown.cmdNext_Click();
    QApplication::processEvents();
    EXPECT_GE(shown.lblNewDiscription->width(), shown.lblNewDiscription->sizeHint().width());
}

TEST_F(UpdateCheckTest, TheCurrentValuesComeFromTheBuild)
{
    FrmCheckForUpdates& d = forms().fresh<FrmCheckForUpdates>();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Check For Updates"));
    EXPECT_EQ(d.lblCurrentVersion->text(), QString::number(programfolder::versionMajor()) + u'.' + QString::number(programfolder::versionMinor()));
    EXPECT_EQ(d.lblCurrentBuild->text(), QString::number(programfolder::versionRevision()));
    EXPECT_EQ(d.lblCurrentDiscription->text(), QStringLiteral("Beta 5"));
    EXPECT_EQ(d.cmdNext->text(), QStringLiteral("&Next »"));
    EXPECT_FALSE(d.cmdBack->isEnabled());
}

TEST_F(UpdateCheckTest, WithoutAConnectionNothingIsFetchedOrTouched)
{
    writeFile("Updates/veltra.upd", "[Build]\r\nValue=1\r\n");
    connected = false;
    FrmCheckForUpdates& d = check("[Build]\r\nValue=999\r\n");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Internet Connection Error"));
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("You are not currently connected to the Internet.\r\n\r\nPlease connect to the Internet and then try again.\r\n"));
    EXPECT_EQ(ui.messages()[0].icon, int(MsgIcon::Exclamation));
    EXPECT_EQ(d.cmdNext->text(), QStringLiteral("&Next »"));
    EXPECT_EQ(readFile(updFile()), QByteArray("[Build]\r\nValue=1\r\n"));
    EXPECT_TRUE(server.paths.isEmpty());
}

TEST_F(UpdateCheckTest, AFailedDownloadReportsAndStaysAtNext)
{
    const QString failure = QStringLiteral("An error occured while trying to download the update information.\r\n\r\nThis function will not continue.\r\n");
    // A refused address: a port that was free a moment ago.
    QTcpServer gone;
    gone.listen(QHostAddress::LocalHost);
    const QString closedPort = QStringLiteral("http://127.0.0.1:%1/updates/").arg(gone.serverPort());
    gone.close();
    struct Case {
        const char* name;
        int status;
        QByteArray body;
        QString address;
    } cases[] = {
        {"404", 404, "[Build]\r\nValue=999\r\n", server.address()},
        {"oversized", 200, "[Build]\r\nValue=999\r\n" + QByteArray(70 * 1024, ';'), server.address()},
        {"closed port", 200, "[Build]\r\nValue=999\r\n", closedPort},
    };
    for (const Case& c : cases) {
        ui.clear();
        writeFile("Updates/veltra.upd", "[Build]\r\nValue=1\r\n");
        server.status = c.status;
        webpages::setUpdate(c.address);
        FrmCheckForUpdates& d = check(c.body);
        ASSERT_EQ(ui.messages().size(), 1) << c.name;
        EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Check For Updates Error")) << c.name;
        EXPECT_EQ(ui.messages()[0].text, failure) << c.name;
        EXPECT_EQ(d.cmdNext->text(), QStringLiteral("&Next »")) << c.name;
        EXPECT_TRUE(d.cmdNext->isEnabled()) << c.name;
        EXPECT_TRUE(d.lblNewBuild->text().isEmpty()) << c.name;
        // the old file went before the download, and nothing half-written took its place
        EXPECT_FALSE(QFile::exists(updFile())) << c.name;
    }
}

TEST_F(UpdateCheckTest, DownloadOpensTheArchiveAndTheLinkItsPage)
{
    FrmCheckForUpdates& d = check("[Build]\r\nValue=501\r\n");
    ASSERT_EQ(d.cmdNext->text(), QStringLiteral("&Download »"));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), d.lblWebAddress->mapToGlobal(QPoint(2, 2)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(d.lblWebAddress, &press);
    d.cmdNext->click();
    EXPECT_EQ(ui.openedUrls, QStringList({webpages::web(), QStringLiteral("https://veltra.invalid/veltra.zip")}));
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
}

TEST_F(UpdateCheckTest, EveryCheckForUpdatesItemOpensTheDialogOverTheMainWindow)
{
    FrmMain& main = forms().get<FrmMain>();
    for (QAction* item : {main.mnuCheckForUpdates, forms().get<FrmCDPlayer>().mnuCheckForUpdates,
                          forms().get<FrmMediaLibrary>().mnuCheckForUpdates}) {
        ui.clear();
        item->trigger();
        ASSERT_EQ(ui.count("modal"), 1);
        EXPECT_EQ(ui.calls[0].title, QStringLiteral("FrmCheckForUpdates"));
        EXPECT_FALSE(forms().isLoaded<FrmCheckForUpdates>());
    }
}

// ---- the about box -----------------------------------------------------------------------------------

TEST_F(UpdateCheckTest, TheAboutBoxShowsVersionBuildAndCompileDate)
{
    const QString version = QStringLiteral("Version ") + QString::number(programfolder::versionMajor()) + u'.'
                            + QString::number(programfolder::versionMinor());
    for (const QString& beta : {QStringLiteral("Beta 5"), QString()}) {
        startup::BetaLabel = beta;
        FrmAbout& about = forms().fresh<FrmAbout>();
        EXPECT_EQ(about.lblVersion->text(), beta.isEmpty() ? version : version + QStringLiteral(" - Beta 5"));
        EXPECT_EQ(about.lblBuild->text(), QStringLiteral("Build #") + QString::number(programfolder::versionRevision()));
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About VELTRA..."));
        EXPECT_EQ(about.lblCompiled->text(), QStringLiteral("Compiled:  ") + programfolder::compileDate());
    }
    EXPECT_TRUE(QDate::fromString(programfolder::compileDate(), QStringLiteral("d MMMM yyyy")).isValid());
}

TEST_F(UpdateCheckTest, TheAboutBoxClosesByEscapeAndByEveryLink)
{
    FrmMain& main = forms().get<FrmMain>();
    auto press = [](QWidget* w, Qt::MouseButton button) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(2, 2), w->mapToGlobal(QPoint(2, 2)), button, button, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    // Each opening through the menu item; the handler acts while the box is "open".
    std::function<void(FrmAbout&)> actions[] = {
        [](FrmAbout& a) { QKeyEvent k(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier); QApplication::sendEvent(&a, &k); },
        [&](FrmAbout& a) { press(a.lblWebAddress[0], Qt::LeftButton); },
        [&](FrmAbout& a) { press(a.lblWebAddress[1], Qt::LeftButton); },
        [&](FrmAbout& a) { press(a.lblEmailAddress, Qt::LeftButton); },
    };
    for (auto& act : actions) {
        ui.modalHandlers.push_back([&act](QObject* form) {
            auto* about = qobject_cast<FrmAbout*>(form);
            ASSERT_NE(about, nullptr);
            about->show();
            act(*about);
            EXPECT_FALSE(about->isVisible());
        });
        main.mnuAbout->trigger();
    }
    EXPECT_EQ(ui.openedUrls, QStringList({webpages::web(), webpages::homepage(),
                                          QStringLiteral("mailto:") + FrmAbout::authorAddress() + QStringLiteral("?SUBJECT=VELTRA")}));
    EXPECT_FALSE(forms().isLoaded<FrmAbout>());

    // The right button does nothing; the update link closes the box before the check opens.
    ui.clear();
    bool aboutHiddenFirst = false;
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* about = qobject_cast<FrmAbout*>(form);
        about->show();
        press(about->lblCheckForUpdates, Qt::RightButton);
        EXPECT_TRUE(about->isVisible());
        press(about->lblCheckForUpdates, Qt::LeftButton);
    });
    ui.modalHandlers.push_back([&](QObject* form) {
        aboutHiddenFirst = qobject_cast<FrmCheckForUpdates*>(form) && !forms().get<FrmAbout>().isVisible();
    });
    forms().get<FrmMenus>().mnuAbout->trigger();   // the tray menu's item
    EXPECT_TRUE(aboutHiddenFirst);
    EXPECT_EQ(ui.count("modal"), 2);
}

#include "extras/FrmCheckForUpdates.h"

#include "common/modFiles.h"
#include "common/modFolders.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_3DPanel.h"
#include "controls/ctlQX_wLine3D.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "platform/WebPages.h"
#include "startup/modMain.h"

#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace veltra;

namespace {
const QString kFileName = QStringLiteral("veltra.upd");
// A value of the file is read into 50 characters, the last one its end.
constexpr int kValueLength = 49;

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    // Room for a whole value of the update file, so that none is clipped.
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QString(kValueLength, u'n')));
    return l;
}

// A panel headed by `heading` with the rows Version, Build and Build Discription.
ctlQX_3DPanel* versionPanel(QWidget* parent, QVBoxLayout* body, const QString& heading, QLabel* values[3])
{
    body->addWidget(new QLabel(heading, parent));
    auto* panel = new ctlQX_3DPanel(parent);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(10, 6, 10, 8);
    grid->setColumnStretch(1, 1);
    static const char* const rows[3] = {"Version:", "Build:", "Build Discription:"};
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(new QLabel(QString::fromLatin1(rows[r]), panel), r, 0);
        values[r]->setParent(panel);
        grid->addWidget(values[r], r, 1);
    }
    body->addWidget(panel);
    return panel;
}
} // namespace

FrmCheckForUpdates::FrmCheckForUpdates() : ToolDialog(QStringLiteral("FrmCheckForUpdates"), QStringLiteral("Check For Updates"))
{
    lblCurrentVersion = valueLabel(this, "lblCurrentVersion");
    lblCurrentBuild = valueLabel(this, "lblCurrentBuild");
    lblCurrentDiscription = valueLabel(this, "lblCurrentDiscription");
    lblNewVersion = valueLabel(this, "lblNewVersion");
    lblNewBuild = valueLabel(this, "lblNewBuild");
    lblNewDiscription = valueLabel(this, "lblNewDiscription");
    QLabel* current[3] = {lblCurrentVersion, lblCurrentBuild, lblCurrentDiscription};
    QLabel* available[3] = {lblNewVersion, lblNewBuild, lblNewDiscription};
    panels[0] = versionPanel(this, body(), QStringLiteral("Your Version:"), current);
    panels[1] = versionPanel(this, body(), QStringLiteral("Version Available For Download:"), available);

    ctlQX_wLine3D1 = new ctlQX_wLine3D(this);
    ctlQX_wLine3D1->setObjectName(QStringLiteral("ctlQX_wLine3D1"));
    ctlQX_wLine3D1->setFixedHeight(vb::TwipsToPixels(255));
    body()->addWidget(ctlQX_wLine3D1);
    auto* tip = new QLabel(QStringLiteral("Tip:"), this);
    QFont bold = tip->font();
    bold.setBold(true);
    tip->setFont(bold);
    body()->addWidget(tip);
    auto* text = new QLabel(QStringLiteral("For a list of new features/changes in the new version available, please visit the Quillonex website:"), this);
    text->setWordWrap(true);
    body()->addWidget(text);
    lblWebAddress = new QLabel(webpages::web(), this);
    lblWebAddress->setObjectName(QStringLiteral("lblWebAddress"));
    lblWebAddress->setTextFormat(Qt::PlainText);
    useLinkLook(lblWebAddress);
    lblWebAddress->installEventFilter(this);
    body()->addWidget(lblWebAddress);

    cmdNext = addActionButton(QStringLiteral("cmdNext"), QString::fromUtf8(CaptionNext), [this] { cmdNext_Click(); });
    Form_Load();
}

void FrmCheckForUpdates::Form_Load()
{
    lblCurrentVersion->setText(QString::number(programfolder::versionMajor()) + u'.' + QString::number(programfolder::versionMinor()));
    lblCurrentBuild->setText(QString::number(programfolder::versionRevision()));
    lblCurrentDiscription->setText(startup::BetaLabel);
    for (QLabel* l : {lblNewVersion, lblNewBuild, lblNewDiscription}) l->setText(QString());
}

void FrmCheckForUpdates::update_ReadInfoFile(const QString& path)
{
    const std::pair<const char*, QLabel*> values[3] = {{"Version", lblNewVersion}, {"Build", lblNewBuild}, {"Beta Version", lblNewDiscription}};
    for (const auto& [section, label] : values) {
        const QString value = settings::readValueFrom(path, QString::fromLatin1(section), QStringLiteral("Value"), QString()).left(kValueLength);
        if (!value.isEmpty()) label->setText(value);
    }
}

double FrmCheckForUpdates::update_LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'.' && !point) point = true;
        else if (c < u'0' || c > u'9') break;
    }
    bool ok = false;
    const double v = text.mid(start, i - start).toDouble(&ok);
    return ok ? v : 0;
}

std::optional<QByteArray> FrmCheckForUpdates::update_Download(const QString& address)
{
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(address)};
    request.setTransferTimeout(TimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = network.get(request);
    bool tooLarge = false;
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&tooLarge, reply](qint64 received, qint64 total) {
        if (received > MaxReplyBytes || total > MaxReplyBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The transfer's own timeout covers a silent server; this one a server that trickles.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline.start(TimeoutMs);
    if (!reply->isFinished()) loop.exec();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    std::optional<QByteArray> bytes;
    if (!tooLarge && reply->error() == QNetworkReply::NoError && (!status.isValid() || status.toInt() == 200)) {
        QByteArray all = reply->readAll();
        if (all.size() <= MaxReplyBytes) bytes = std::move(all);
    }
    reply->deleteLater();
    return bytes;
}

void FrmCheckForUpdates::checkForUpdate()
{
    if (!windows_IsConnectedToInternet()) {
        msgBox(QStringLiteral("You are not currently connected to the Internet.\r\n\r\nPlease connect to the Internet and then try again.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Internet Connection Error"));
        return;
    }
    bool fetched = false;
    const QString folder = programfolder::file(QStringLiteral("Updates"));
    const QString file = folder + u'/' + kFileName;
    {
        // The dialog waits for the transfer, "&Next »" and "&Close" disabled.
        Busy busy(*this);
        directory_Create(folder);
        // An old file must not be taken for the new one.
        files_DeleteFile(file);
        fetched = files_WriteArrayToFile(webpages::update(), kFileName, folder, &FrmCheckForUpdates::update_Download);
    }
    if (startup::quitting()) return;   // the session ended while the transfer ran
    if (!fetched) {
        msgBox(QStringLiteral("An error occured while trying to download the update information.\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Check For Updates Error"));
        return;
    }
    QString caption = QString::fromUtf8(CaptionFinish);
    if (files_FileExists(file)) {
        update_ReadInfoFile(file);
        if (!lblNewBuild->text().isEmpty()
            && update_LeadingNumber(lblCurrentBuild->text()) < update_LeadingNumber(lblNewBuild->text()))
            caption = QString::fromUtf8(CaptionDownload);
    }
    cmdNext->setText(caption);
}

void FrmCheckForUpdates::cmdNext_Click()
{
    const QString caption = cmdNext->text();
    if (caption == QString::fromUtf8(CaptionNext)) {
        checkForUpdate();
    } else if (caption == QString::fromUtf8(CaptionDownload)) {
        windows_OpenURL(this, webpages::download(), 3);
        done(QDialog::Accepted);
    } else if (caption == QString::fromUtf8(CaptionFinish)) {
        done(QDialog::Accepted);
    }
}

void FrmCheckForUpdates::cmdClose_Click() { reject(); }

void FrmCheckForUpdates::lblWebAddress_MouseDown(int button)
{
    if (button == 1) windows_OpenURL(this, lblWebAddress->text(), 3);
}

bool FrmCheckForUpdates::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWebAddress && event->type() == QEvent::MouseButtonPress)
        lblWebAddress_MouseDown(static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton ? 1 : 2);
    return ToolDialog::eventFilter(watched, event);
}

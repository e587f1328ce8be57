#pragma once
// The update check: a small wizard that fetches "veltra.upd" from the update address into
// the Updates folder, shows the version available beside the running one and, when the
// available build is newer, offers the program archive in the web browser. The caption of
// its action button is its state: "&Next »" (nothing fetched yet), "&Download »" (a newer
// build), "&Finish" (done). Loaded afresh for each showing.
#include "common/ToolDialog.h"

#include <QByteArray>
#include <optional>

class QLabel;
class ctlQX_3DPanel;
class ctlQX_wLine3D;

class FrmCheckForUpdates : public ToolDialog {
    Q_OBJECT
public:
    FrmCheckForUpdates();

    static constexpr const char* CaptionNext = "&Next »";
    static constexpr const char* CaptionDownload = "&Download »";
    static constexpr const char* CaptionFinish = "&Finish";
    // The longest download waited for, and the largest reply taken.
    static constexpr int TimeoutMs = 30000;
    static constexpr qint64 MaxReplyBytes = 64 * 1024;

    QLabel* lblCurrentVersion = nullptr;
    QLabel* lblCurrentBuild = nullptr;
    QLabel* lblCurrentDiscription = nullptr;
    QLabel* lblNewVersion = nullptr;
    QLabel* lblNewBuild = nullptr;
    QLabel* lblNewDiscription = nullptr;
    QLabel* lblWebAddress = nullptr;
    ctlQX_3DPanel* panels[2] = {};
    ctlQX_wLine3D* ctlQX_wLine3D1 = nullptr;
    QPushButton* cmdNext = nullptr;

    void Form_Load();
    // The three values of an update information file into the "available" labels; a value
    // that is missing or empty leaves its label as it was.
    void update_ReadInfoFile(const QString& path);
    void cmdNext_Click();
    void cmdClose_Click();
    void lblWebAddress_MouseDown(int button);

    // One download of a whole reply, the event loop running meanwhile: nothing on a timeout,
    // a reply other than success, or more than MaxReplyBytes.
    static std::optional<QByteArray> update_Download(const QString& address);
    // The number a text begins with (leading blanks skipped), 0 when it begins with none.
    static double update_LeadingNumber(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkForUpdate();
};

#pragma once
// Play counts: every song started from a playlist is counted; the most played songs become
// a playlist. Loaded hidden at start-up and kept until the program ends.
#include "common/SongListWindow.h"

class FrmTracking : public SongListWindow {
    Q_OBJECT
public:
    FrmTracking();

    QCheckBox* chkAlwaysUseTracking;
    ctlQX_3DPanel* qxpPlaylist;
    QLabel* lblPlaylist;
    QPushButton* cmdPlay;
    QMenu* mnuOptions;   // the options popup
    QAction* mnuResetPlayCounts;
    QMenu* mnuMenu;      // the playlist popup
    QAction* mnuTop10Entries;
    QAction* mnuTop20Entries;
    QAction* mnuTop30Entries;
    QAction* mnuUseAllTopEntries;

    // Points the list at a file's new name (the rename tools); saved whether or not it was listed.
    void tracking_UpdateFilename(const QString& oldName, const QString& newName);
    // Counts one play of the file: a listed file's count goes up by one, another file gets a
    // row of its own. Nothing happens while the switch is off or without a file name.
    void tracking_Add(const QString& artist, const QString& title, const QString& fileName);
    void chkAlwaysUseTracking_Click();

    // The heading: how many songs the list holds.
    void window_UpdateCaption();
    // The first n rows become the main playlist and play; with fewer rows, Play runs instead.
    void tracking_SendTopEntries(int n);
    // Every song played more than once becomes the main playlist and plays.
    void cmdPlay_Click();
    void mnuResetPlayCounts_Click();
    void lblPlaylist_MouseDown(int button);

    void Form_Load();

protected:
    void rowsChanged() override { window_UpdateCaption(); }
    QList<QObject*> rowCommands() const override;
    void switchClicked() override { chkAlwaysUseTracking_Click(); }
    QPushButton* defaultButton() const override { return cmdPlay; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The main playlist from the rows' files, then playing from its first row.
    void sendToMainWindow(const QList<int>& rowsToSend, const QString& logLine);
};

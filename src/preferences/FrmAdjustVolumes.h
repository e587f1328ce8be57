#pragma once
// Per-song volumes: the volume the user stored for a song is put on the volume slider when
// the song starts. Loaded hidden at start-up and kept until the program ends.
#include "common/SongListWindow.h"

class FrmAdjustVolumes : public SongListWindow {
    Q_OBJECT
public:
    FrmAdjustVolumes();

    QCheckBox* chkAlwaysAdjust;
    QMenu* mnuMenu;   // the options popup

    // Points the list at a file's new name (the rename tools); saved whether or not it was listed.
    void volumes_UpdateFilename(const QString& oldName, const QString& newName);
    // Stores a volume (0..100) for a file: a listed file gets the new volume, another one a
    // new row. Nothing happens while the switch is off or without a file name.
    void volumes_Add(const QString& artist, const QString& title, int volume, const QString& fileName);
    // The stored volume of a file; -1 when adjusting is off, the name is empty or the file
    // has none.
    int volumes_GetVolume(const QString& fileName) const;
    void chkAlwaysAdjust_Click();

    void Form_Load();

protected:
    QList<QObject*> rowCommands() const override;
    void switchClicked() override { chkAlwaysAdjust_Click(); }
    QPushButton* defaultButton() const override { return cmdClear; }
};

// Opening the editors: Properties for the selected song (the tag editor, or Edit Entry for
// files without the tags the program edits), Edit All Tags for the playlist.
#include "mainwindow/FrmMain.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modWindows.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "library/FrmEditTag.h"
#include "library/FrmMassTagEditor.h"
#include "library/modOrganise.h"
#include "playlisttools/FrmEditEntry.h"
#include "startup/Forms.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

void FrmMain::mnuProperties_Click()
{
    const int row = selectedFileRow(QStringLiteral("Edit ID3 Tag Error"),
                                    QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\nThis function will not continue.\r\n"));
    if (row == 0) return;
    const QString path = rows().subItem(row, PlaylistColumn::Filename);
    // Other media are edited as playlist entries: the row's texts only.
    if (!organise::isMpegAudio(path)) {
        FrmEditEntry& entry = forms().fresh<FrmEditEntry>();
        entry.setEntryIndex(row);
        entry.txtFilename->setText(path);
        entry.txtArtist->setText(rows().subItem(row, PlaylistColumn::Artist));
        entry.txtTitle->setText(rows().subItem(row, PlaylistColumn::Title));
        entry.txtYear->setText(rows().subItem(row, PlaylistColumn::Year));
        windows_ShowModal(entry, this, true);
        return;
    }
    FrmEditTag& editor = forms().fresh<FrmEditTag>();
    const int section = mnuTagsUseID3v2Tags->isChecked() ? 1 : 0;
    editor.window_ShowSection(editor.sectionPanel(section), editor.lblSection[size_t(section)], editor.sectionTitle(section));
    editor.window_GetID3Data(path, row);
    windows_ShowModal(editor, this, true);
}

void FrmMain::mnuPlaylistEditAllTags_Click()
{
    if (refusedWhilePlaying(QStringLiteral("Edit All ID3 Tags Error")) || rows().count() == 0) return;
    windows_ShowModal(forms().fresh<FrmMassTagEditor>(), this, true);
}

#pragma once
// Jump To Media: searches the main playlist by a text (tags of MPEG audio files, the row's
// columns for other files), lists the hits, and selects the chosen hit's row, plays it or
// marks it to play next. The choice of mode, field and further option is kept in
// [JumpToMedia]. A search may run while the dialog is still hidden (a caller fills it first);
// the main window's Jump To Media then shows it as it is.
#include "common/ToolDialog.h"
#include "playlisttools/modPlaylistSearch.h"

#include <vector>

class ListView;
class OptionButtons;
class QCheckBox;
class QLabel;
class QLineEdit;
class ctlQX_3DPanel;

class FrmJump : public ToolDialog {
    Q_OBJECT
public:
    FrmJump();

    QComboBox* cmbSearch = nullptr;
    QComboBox* cmbOp = nullptr;
    QPushButton* cmdFind = nullptr;
    OptionButtons* opSearchMode = nullptr;   // 0 Whole Word .. 3 Contains
    OptionButtons* opOptions = nullptr;      // 0 All .. 6 Filename
    QCheckBox* chkSearchID3v2 = nullptr;
    QCheckBox* chkNotToInclude = nullptr;
    QLineEdit* txtNotInclude = nullptr;
    ctlQX_3DPanel* qxpSearchResults = nullptr;
    QLabel* lblSearchResults = nullptr;
    ListView* lstvItems = nullptr;           // "Number:", "Artist", "Title:"
    OptionButtons* opFurther = nullptr;      // 0 select, 1 and play, 2 and play next, 3 only close
    QPushButton* cmdSelect = nullptr;

    void Form_Load();
    void cmdFind_Click();
    void cmdSelect_Click();
    void cmdClose_Click();
    void chkNotToInclude_Click();
    void opOptions_Click(int index) { m_field = index; }
    void opSearchMode_Click(int index) { m_mode = index; }
    void lstvItems_DblClick();
    void lstvItems_KeyDown(int keyCode);

    // The current search mode and field: the last buttons clicked or selected from code.
    int currentMode() const { return m_mode; }
    int currentField() const { return m_field; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void exclude_BuildList();
    void exclude_ResetList();
    void results_AddItem(const QString& artist, const QString& title, quint64 rowKey, const QString& file);
    void searchBoxFocus(bool in);
    void unloadSelf();

    // Each result's playlist row (its key, which follows the row) and file.
    struct Hit {
        quint64 rowKey = 0;
        QString file;
    };
    std::vector<Hit> m_hits;
    int m_mode = 0;
    int m_field = 0;
    bool m_sized = false;   // given its design size on its first showing
    playlistsearch::Exclusions m_exclusions{QString()};   // one empty term between searches
    std::vector<QStringList> m_pending;                   // result rows not yet listed
};

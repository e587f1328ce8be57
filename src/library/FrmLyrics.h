#pragma once
// The lyrics of the playing song, from its ID3v2 tag, in a small window that stays on top
// beside the player. Loaded hidden at start-up and kept until the program ends; the player
// opens and closes it, the user's close box does nothing.
#include <QWidget>

class QKeyEvent;
class QPlainTextEdit;

class FrmLyrics : public QWidget {
    Q_OBJECT
public:
    FrmLyrics();

    QPlainTextEdit* txtLyrics;
    bool LyricsIsOpen = false;

    // Shows the lyrics of an MPEG audio file, or closes the window when the file is of
    // another type or has none. With the video window open nothing is shown.
    void lyrics_OpenFile(const QString& path);
    void lyrics_Open();
    void lyrics_Close();
    // The window's size in [Lyrics] Height and Width, in twips.
    void lyrics_GetSize();
    // Kept only from the normal window state.
    void lyrics_SaveSize();

    void Form_Resize();
    void Form_KeyDown(int keyCode, int shift);
    // Mode 0, the user's close: refused; true when the unload was cancelled.
    bool Form_QueryUnload(int unloadMode);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void forwardKey(const QKeyEvent* event);
};

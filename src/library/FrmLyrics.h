#pragma once
// The lyrics of the playing song.
#include <QWidget>

class FrmLyrics : public QWidget {
    Q_OBJECT
public:
    FrmLyrics();

    bool LyricsIsOpen = false;

    void lyrics_OpenFile(const QString& path);
    void lyrics_Close();
    // The window's size in [Lyrics] Height and Width, in twips.
    void lyrics_GetSize();
    void lyrics_SaveSize();
};

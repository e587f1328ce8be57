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
};

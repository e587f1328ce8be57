#pragma once
// The lyrics of the playing song.
#include <QWidget>

class FrmLyrics : public QWidget {
    Q_OBJECT
public:
    FrmLyrics();

    bool LyricsIsOpen = false;
};

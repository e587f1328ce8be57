#include "library/FrmLyrics.h"

FrmLyrics::FrmLyrics()
{
    setObjectName(QStringLiteral("FrmLyrics"));
    setWindowTitle(QStringLiteral("Lyrics"));
}

void FrmLyrics::lyrics_OpenFile(const QString&)
{
    if (LyricsIsOpen) lyrics_Close();
}

void FrmLyrics::lyrics_Close()
{
    hide();
    LyricsIsOpen = false;
}

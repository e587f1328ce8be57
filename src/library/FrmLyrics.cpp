#include "library/FrmLyrics.h"

#include "common/modSettings.h"
#include "common/modVB.h"

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

void FrmLyrics::lyrics_GetSize()
{
    const double h = vb::Val(settings_ReadValue(QStringLiteral("Lyrics"), QStringLiteral("Height"), QStringLiteral("3855")));
    const double w = vb::Val(settings_ReadValue(QStringLiteral("Lyrics"), QStringLiteral("Width"), QStringLiteral("3630")));
    if (h > 0 && w > 0) resize(vb::TwipsToPixels(w), vb::TwipsToPixels(h));
}

void FrmLyrics::lyrics_SaveSize()
{
    if (isMinimized() || isMaximized()) return;
    settings_WriteValue(QStringLiteral("Lyrics"), QStringLiteral("Height"), vb::CStr(vb::PixelsToTwips(height())));
    settings_WriteValue(QStringLiteral("Lyrics"), QStringLiteral("Width"), vb::CStr(vb::PixelsToTwips(width())));
}

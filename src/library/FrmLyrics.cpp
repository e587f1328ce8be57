#include "library/FrmLyrics.h"

FrmLyrics::FrmLyrics()
{
    setObjectName(QStringLiteral("FrmLyrics"));
    setWindowTitle(QStringLiteral("Lyrics"));
}

// The playlist's looks as start-up and the preferences set them.
#include "player/FrmMain.h"

#include "common/ListView.h"
#include "common/modColours.h"

#include <QComboBox>

void FrmMain::window_SetPlaylistLooks(const QString& fontName, double fontSize, quint32 back, quint32 fore)
{
    QFont font(fontName);
    if (fontSize > 0) font.setPointSizeF(fontSize);
    lstvPlaylist->setFont(font);
    lstvPlaylist->setBackColour(back);
    lstvPlaylist->setForeColour(fore);
    // The playlist box wears the list's colours.
    QPalette palette = cmbPlaylists->palette();
    palette.setColor(QPalette::Base, colours::toQColor(back, palette));
    palette.setColor(QPalette::Text, colours::toQColor(fore, palette));
    cmbPlaylists->setPalette(palette);
}

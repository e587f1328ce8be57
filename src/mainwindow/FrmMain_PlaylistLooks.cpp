// The playlist's looks as start-up and the preferences set them.
#include "mainwindow/FrmMain.h"

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
    // The playlist box wears the list's colours, in its text area as on its face.
    QPalette palette = cmbPlaylists->palette();
    const QColor backColour = colours::toQColor(back, palette);
    const QColor foreColour = colours::toQColor(fore, palette);
    for (auto [role, colour] : {std::pair{QPalette::Base, backColour}, {QPalette::Button, backColour}, {QPalette::Text, foreColour},
                                {QPalette::ButtonText, foreColour}})
        palette.setColor(role, colour);
    cmbPlaylists->setPalette(palette);
}

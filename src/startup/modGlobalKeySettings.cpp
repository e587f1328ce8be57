#include "startup/modGlobalKeySettings.h"

#include "mainwindow/FrmMenus.h"
#include "player/modGlobalKeys.h"
#include "startup/Forms.h"

#include <QLabel>

#include <array>

namespace {
std::array<QLabel*, GlobalKey_ActionCount> labels()
{
    FrmMenus& menus = forms().get<FrmMenus>();
    return {menus.lblMedia_PlayPause, menus.lblMedia_Stop, menus.lblMedia_Next, menus.lblMedia_Previous,
            menus.lblMedia_Mute, menus.lblMedia_VolumeUp, menus.lblMedia_VolumeDown};
}
} // namespace

void settings_LoadGlobalKeys()
{
    const QStringList captions = globalkeys_ReadCaptions();
    const auto targets = labels();
    for (int i = 0; i < GlobalKey_ActionCount; ++i) targets[i]->setText(captions.value(i));
}

QStringList globalkeys_LabelCaptions()
{
    QStringList captions;
    for (QLabel* label : labels()) captions << label->text();
    return captions;
}

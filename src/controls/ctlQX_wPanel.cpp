#include "controls/ctlQX_wPanel.h"

#include "common/modVB.h"

ctlQX_wPanel::ctlQX_wPanel(QWidget* parent) : FramedControl(parent)
{
    resize(vb::TwipsToPixels(2730), vb::TwipsToPixels(1965));
}

void ctlQX_wPanel::UserControl_Resize()
{
    layOutFrame(ScaleWidth(), ScaleHeight());
    update();
}

void ctlQX_wPanel::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

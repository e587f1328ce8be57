#include "player/FrmVideo.h"

#include "common/FrmConsole.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "controls/ctlQX_wScrollbar.h"
#include "controls/ctlQX_wTextPanel.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "player/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QTimer>

using vb::PixelsToTwips;
using vb::TwipsToPixels;

namespace {
// The thumb of the video window's sliders.
QPixmap thumbPicture()
{
    QPixmap p(9, 13);
    p.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter g(&p);
    g.setPen(Qt::white);
    g.drawLine(0, 0, 8, 0);
    g.drawLine(0, 0, 0, 12);
    g.setPen(QColor(0x40, 0x40, 0x40));
    g.drawLine(8, 0, 8, 12);
    g.drawLine(0, 12, 8, 12);
    return p;
}

ctlQX_wTextPanel* textButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new ctlQX_wTextPanel(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setCaption(caption);
    b->resize(TwipsToPixels(735), TwipsToPixels(300));
    return b;
}

ctlQX_wScrollbar* slider(QWidget* parent, const char* name, int max)
{
    auto* s = new ctlQX_wScrollbar(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setPicture(thumbPicture());
    s->setMin(0);
    s->setMax(max);
    s->resize(TwipsToPixels(1215), TwipsToPixels(255));
    return s;
}
} // namespace

FrmVideo::FrmVideo()
{
    setObjectName(QStringLiteral("FrmVideo"));
    setWindowTitle(programfolder::title() + QStringLiteral(" Video"));
    resize(TwipsToPixels(6000), TwipsToPixels(3705));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    wmpPlayer = veltra::createMediaPlayer(this);
    wmpPicture = wmpPlayer->videoWidget();
    if (!wmpPicture) wmpPicture = new QWidget;
    wmpPicture->setParent(this);
    wmpPicture->setObjectName(QStringLiteral("wmpPlayer"));
    wmpPicture->setGeometry(TwipsToPixels(60), TwipsToPixels(60), 100, 100);
    connect(wmpPlayer, &veltra::MediaPlayerControl::EndOfStream, this, [this] { wmpPlayer_EndOfStream(); });
    connect(wmpPlayer, &veltra::MediaPlayerControl::Error, this, [this](const QString& reason) { wmpPlayer_Error(reason); });

    nfpBottom = new ctlQX_noFocusPanel(this);
    nfpBottom->setObjectName(QStringLiteral("nfpBottom"));
    nfpBottom->resize(width(), TwipsToPixels(420));

    qxbPause = textButton(nfpBottom, "qxbPause", QStringLiteral("Pause"));
    qxbStopVideo = textButton(nfpBottom, "qxbStopVideo", QStringLiteral("Stop"));
    qxbHideScreen = textButton(nfpBottom, "qxbHideScreen", QStringLiteral("Hide"));
    qxbFullScreen = textButton(nfpBottom, "qxbFullScreen", QStringLiteral("Full"));
    qxbNormal = textButton(nfpBottom, "qxbNormal", QStringLiteral("Normal"));
    for (auto* b : {qxbPause, qxbStopVideo, qxbHideScreen, qxbFullScreen, qxbNormal}) b->move(0, TwipsToPixels(60));

    lblPosition = new QLabel(QStringLiteral("Position:"), nfpBottom);
    lblBalance = new QLabel(QStringLiteral("Balance:"), nfpBottom);
    lblVolume = new QLabel(QStringLiteral("Volume:"), nfpBottom);
    qxsPosition = slider(nfpBottom, "qxsPosition", 100);
    qxsBalance = slider(nfpBottom, "qxsBalance", 100);
    qxsVolume = slider(nfpBottom, "qxsVolume", 100);
    // Label and slider pairs from the left: volume, balance, then position, whose slider the
    // layout step stretches up to the buttons, so the three never overlap.
    int x = TwipsToPixels(120);
    for (auto [label, s] : {std::pair{lblVolume, qxsVolume}, std::pair{lblBalance, qxsBalance}, std::pair{lblPosition, qxsPosition}}) {
        label->adjustSize();
        label->move(x, TwipsToPixels(90));
        x += label->width() + 4;
        s->move(x, TwipsToPixels(75));
        x += s->width() + TwipsToPixels(120);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{lblPosition, lblBalance, lblVolume, qxsPosition, qxsBalance, qxsVolume}) w->hide();

    tmrWindowUpdate = new QTimer(this);
    tmrWindowUpdate->setInterval(100);
    connect(tmrWindowUpdate, &QTimer::timeout, this, [this] { tmrWindowUpdate_Timer(); });

    connect(qxbFullScreen, &ctlQX_wTextPanel::Click, this, [this] { qxbFullScreen_Click(); });
    connect(qxbNormal, &ctlQX_wTextPanel::Click, this, [this] { qxbNormal_Click(); });
    connect(qxbHideScreen, &ctlQX_wTextPanel::Click, this, [this] { qxbHideScreen_Click(); });
    connect(qxbPause, &ctlQX_wTextPanel::Click, this, [this] { qxbPause_Click(); });
    connect(qxbStopVideo, &ctlQX_wTextPanel::Click, this, [this] { qxbStopVideo_Click(); });
    connect(qxsVolume, &ctlQX_wScrollbar::Change, this, [this] { qxsVolume_Change(); });
    connect(qxsBalance, &ctlQX_wScrollbar::Change, this, [this] { qxsBalance_Change(); });
    connect(qxsPosition, &ctlQX_wScrollbar::Change, this, [this] { qxsPosition_Change(); });
    Form_Resize();
}

FrmVideo::~FrmVideo()
{
    m_closing = true;
    if (wmpPlayer) wmpPlayer->Stop();
}

void FrmVideo::place(QWidget* w, const Box& b)
{
    if (b.width < 0 || b.height < 0) return;   // a negative size is refused; the old one stays
    w->setGeometry(TwipsToPixels(b.left), TwipsToPixels(b.top), TwipsToPixels(b.width), TwipsToPixels(b.height));
}

FrmVideo::Box FrmVideo::box(const QWidget* w) const
{
    return {PixelsToTwips(w->x()), PixelsToTwips(w->y()), PixelsToTwips(w->width()), PixelsToTwips(w->height())};
}

void FrmVideo::Form_Resize()
{
    if (isMinimized()) return;
    const double W = PixelsToTwips(width());
    const double H = PixelsToTwips(height());
    const Box bottom = box(nfpBottom);
    place(nfpBottom, {0, H - bottom.height, W, bottom.height});
    Box pic = box(wmpPicture);
    pic.height = H - pic.top - bottom.height - 120;
    pic.width = W - 2 * pic.left;
    place(wmpPicture, pic);

    // The five buttons touch one another, right to left from the window's right edge.
    const double buttonWidth = box(qxbNormal).width;
    double right = W - 60;
    for (QWidget* button : std::initializer_list<QWidget*>{qxbNormal, qxbFullScreen, qxbHideScreen, qxbStopVideo, qxbPause}) {
        Box b = box(button);
        b.left = right - b.width;
        place(button, b);
        right = b.left;
    }

    Box position = box(qxsPosition);
    position.width = W - position.left - 5 * buttonWidth - 240;
    place(qxsPosition, position);
}

void FrmVideo::video_Update()
{
    FrmMenus& menus = forms().get<FrmMenus>();
    const std::initializer_list<QWidget*> sliderRow{lblVolume, lblBalance, lblPosition, qxsVolume, qxsBalance, qxsPosition};
    if (!VideoIsOpen) {
        controls_EnableMenu(menus.mnuVolume);
    } else if (isMaximized()) {
        controls_DisableMenu(menus.mnuVolume);
        for (QWidget* w : sliderRow)
            if (w->isHidden()) w->show();
    } else {
        controls_EnableMenu(menus.mnuVolume);
        for (QWidget* w : sliderRow)
            if (!w->isHidden()) w->hide();
    }
}

void FrmVideo::video_GetSize()
{
    const double h = vb::Val(settings_ReadValue(QStringLiteral("Video"), QStringLiteral("Height"), QStringLiteral("3705")));
    const double w = vb::Val(settings_ReadValue(QStringLiteral("Video"), QStringLiteral("Width"), QStringLiteral("6000")));
    if (h > 0 && w > 0) resize(TwipsToPixels(w), TwipsToPixels(h));
}

void FrmVideo::video_SaveSize()
{
    if (isMinimized() || isMaximized()) return;
    settings_WriteValue(QStringLiteral("Video"), QStringLiteral("Height"), vb::CStr(PixelsToTwips(height())));
    settings_WriteValue(QStringLiteral("Video"), QStringLiteral("Width"), vb::CStr(PixelsToTwips(width())));
}

void FrmVideo::video_Open()
{
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("StartVideoinFullModeWhenPlayingVideo"), QStringLiteral("0")))
        qxbFullScreen_Click();
    windows_EnableScreenSaver(false);
    tmrWindowUpdate->start();
    show();
    windows_SetAlwaysOnTop(this, true);
    VideoIsOpen = true;
}

void FrmVideo::video_Close()
{
    windows_SetAlwaysOnTop(this, false);
    tmrWindowUpdate->stop();
    hide();
    windows_EnableScreenSaver(true);
    VideoIsOpen = false;
}

void FrmVideo::wmpPlayer_EndOfStream()
{
    if (m_closing) return;
    forms().get<FrmMain>().player_NextTrack();
}

void FrmVideo::wmpPlayer_Error(const QString& reason)
{
    // A song that breaks off on the way ends as its end would, so unattended playing goes on;
    // the console says which file and why.
    if (m_closing) return;
    FrmMain& main = forms().get<FrmMain>();
    forms().get<FrmConsole>().window_WriteLog(QStringLiteral("Error playing ") + wmpPlayer->FileName() + QStringLiteral(":  ") + reason);
    main.player_NextTrack();
}

void FrmVideo::qxbFullScreen_Click()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    Form_Resize();
}

void FrmVideo::qxbNormal_Click()
{
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    Form_Resize();
}

void FrmVideo::qxbHideScreen_Click() { video_Close(); }
void FrmVideo::qxbPause_Click() { forms().get<FrmMain>().mnuPause_Click(); }
void FrmVideo::qxbStopVideo_Click() { forms().get<FrmMain>().mnuStop_Click(); }

void FrmVideo::qxsVolume_Change()
{
    FrmMain& main = forms().get<FrmMain>();
    main.sldVolume->setValue(qxsVolume->value());
    main.player_Volume(main.sldVolume->value());
}

void FrmVideo::qxsBalance_Change()
{
    FrmMain& main = forms().get<FrmMain>();
    main.sldBalance->setValue(qxsBalance->value());
    main.player_Balance(main.sldBalance->value());
}

void FrmVideo::qxsPosition_Change() { wmpPlayer->setCurrentPosition(double(qxsPosition->value())); }

void FrmVideo::tmrWindowUpdate_Timer()
{
    Form_Resize();
    video_Update();
}

bool FrmVideo::Form_QueryUnload(bool fromCloseBox) { return fromCloseBox; }

void FrmVideo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FrmVideo::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Resize();
}

void FrmVideo::closeEvent(QCloseEvent* event)
{
    if (Form_QueryUnload(event->spontaneous())) event->ignore();
}

void FrmVideo::keyPressEvent(QKeyEvent* event)
{
    if (forms().isLoaded<FrmMain>()) {
        int shift = 0;
        if (event->modifiers() & Qt::ShiftModifier) shift |= 1;
        if (event->modifiers() & Qt::ControlModifier) shift |= 2;
        if (event->modifiers() & Qt::AltModifier) shift |= 4;
        int key = event->key();
        forms().get<FrmMain>().Form_KeyDown(key, shift);
    }
    QWidget::keyPressEvent(event);
}

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
#include "platform/WindowPlace.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <tuple>

using vb::PixelsToTwips;
using vb::TwipsToPixels;

namespace {
// Bottom strip, buttons and slider row, in twips.
constexpr double kPanelHeight = 420;
constexpr double kButtonTop = 60;
constexpr double kButtonWidth = 735;
constexpr double kButtonHeight = 300;
constexpr double kRowMargin = 120;      // before the row and between its pairs
constexpr double kLabelGap = 60;        // between a label and its slider
constexpr double kSliderWidth = 1215;   // volume and balance; position at least this beside the buttons
constexpr double kSliderLeast = 600;    // the narrowest a slider gets on a line of its own

// The track under the thumb: a sunken groove across the whole slider, as tall as the thumb.
QPixmap trackPicture(int width, int height)
{
    QPixmap p(std::max(width, 2), height);
    p.fill(Qt::transparent);
    QPainter g(&p);
    const int top = height / 2 - 2;
    const int right = p.width() - 1;
    g.fillRect(1, top + 1, right - 1, 2, QColor(0x40, 0x40, 0x40));
    g.setPen(QColor(0x80, 0x80, 0x80));
    g.drawLine(0, top, right, top);
    g.drawLine(0, top, 0, top + 3);
    g.setPen(Qt::white);
    g.drawLine(0, top + 3, right, top + 3);
    g.drawLine(right, top, right, top + 3);
    return p;
}

ctlQX_wTextPanel* textButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new ctlQX_wTextPanel(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setCaption(caption);
    b->resize(TwipsToPixels(kButtonWidth), TwipsToPixels(kButtonHeight));
    return b;
}

ctlQX_wScrollbar* slider(QWidget* parent, const char* name, int max)
{
    auto* s = new ctlQX_wScrollbar(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setBar(ctlQX_wScrollbar::raisedThumb(9, 13));   // the thumb (Picture would be the track)
    s->setMin(0);
    s->setMax(max);
    s->resize(TwipsToPixels(kSliderWidth), s->height());
    return s;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
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
    nfpBottom->resize(width(), TwipsToPixels(kPanelHeight));

    qxbPause = textButton(nfpBottom, "qxbPause", QStringLiteral("Pause"));
    qxbStopVideo = textButton(nfpBottom, "qxbStopVideo", QStringLiteral("Stop"));
    qxbHideScreen = textButton(nfpBottom, "qxbHideScreen", QStringLiteral("Hide"));
    qxbFullScreen = textButton(nfpBottom, "qxbFullScreen", QStringLiteral("Full"));
    qxbNormal = textButton(nfpBottom, "qxbNormal", QStringLiteral("Normal"));

    lblPosition = label(nfpBottom, "lblPosition", QStringLiteral("Position:"));
    lblBalance = label(nfpBottom, "lblBalance", QStringLiteral("Balance:"));
    lblVolume = label(nfpBottom, "lblVolume", QStringLiteral("Volume:"));
    qxsPosition = slider(nfpBottom, "qxsPosition", 100);
    qxsBalance = slider(nfpBottom, "qxsBalance", 100);
    qxsVolume = slider(nfpBottom, "qxsVolume", 100);
    for (QWidget* w : std::initializer_list<QWidget*>{lblPosition, lblBalance, lblVolume, qxsPosition, qxsBalance, qxsVolume}) w->hide();
    placeSliderRow(kRowMargin, kRowMargin + labelsWidth() + 3 * kSliderWidth, kButtonTop);
    // Never so narrow that the buttons, or the slider row on a line of its own, would not fit.
    const double buttons = kRowMargin + 5 * kButtonWidth + 60;
    const double sliderLine = kRowMargin + labelsWidth() + 3 * kSliderLeast + 60;
    setMinimumWidth(TwipsToPixels(std::max(buttons, sliderLine)) + 1);

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
    // Hidden while full, it comes back normal at the size it had before.
    windowplace::followPlace(this);
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

double FrmVideo::labelsWidth() const
{
    double total = 2 * kRowMargin;
    for (const QLabel* l : {lblVolume, lblBalance, lblPosition}) total += PixelsToTwips(l->sizeHint().width()) + kLabelGap;
    return total;
}

void FrmVideo::placeSliderRow(double left, double right, double top)
{
    // Volume and balance keep their width while there is room; the position slider takes the
    // rest. Short of room the three share it evenly.
    const double room = right - left - labelsWidth();
    const double side = std::min(kSliderWidth, room / 3);
    const double centre = top + kButtonHeight / 2;
    double x = left;
    for (auto [l, s, width] : {std::tuple{lblVolume, qxsVolume, side}, std::tuple{lblBalance, qxsBalance, side},
                               std::tuple{lblPosition, qxsPosition, room - 2 * side}}) {
        const QSize text = l->sizeHint();
        place(l, {x, centre - PixelsToTwips(text.height()) / 2, PixelsToTwips(text.width()), PixelsToTwips(text.height())});
        x += PixelsToTwips(text.width()) + kLabelGap;
        const double h = PixelsToTwips(s->height());
        place(s, {x, centre - h / 2, width, h});
        x += width + kRowMargin;
    }
}

void FrmVideo::Form_Resize()
{
    // Minimised too: see FrmMain::Form_Resize
    const double W = PixelsToTwips(width());
    const double H = PixelsToTwips(height());
    const double buttonWidth = box(qxbNormal).width;
    // Full mode shows the slider row beside the buttons, where the position slider is given
    // what is left; when that is less than the others have, the row goes on a line of its own
    // above the buttons and the strip grows by a line.
    const bool full = isMaximized();
    const double besideRight = W - 5 * buttonWidth - 240;
    const bool ownLine = full && besideRight - kRowMargin - labelsWidth() < 3 * kSliderWidth;
    const double line = ownLine ? kButtonHeight : 0;

    place(nfpBottom, {0, H - kPanelHeight - line, W, kPanelHeight + line});
    Box pic = box(wmpPicture);
    pic.height = H - pic.top - box(nfpBottom).height - 120;
    pic.width = W - 2 * pic.left;
    place(wmpPicture, pic);

    // The five buttons touch one another, right to left from the window's right edge.
    double right = W - 60;
    for (QWidget* button : std::initializer_list<QWidget*>{qxbNormal, qxbFullScreen, qxbHideScreen, qxbStopVideo, qxbPause}) {
        Box b = box(button);
        b.left = right - b.width;
        b.top = kButtonTop + line;
        place(button, b);
        right = b.left;
    }

    if (ownLine) {
        placeSliderRow(kRowMargin, W - 60, kButtonTop);
    } else if (full) {
        placeSliderRow(kRowMargin, besideRight, kButtonTop);
    } else {
        Box position = box(qxsPosition);
        position.width = W - position.left - 5 * buttonWidth - 240;
        place(qxsPosition, position);
    }
    for (ctlQX_wScrollbar* s : {qxsVolume, qxsBalance, qxsPosition})
        if (s->Picture().width() != s->width()) s->setPicture(trackPicture(s->width(), s->height()));
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
    windows_FitOnScreen(this);   // a size kept from a larger monitor
}

void FrmVideo::video_SaveSize()
{
    const windowplace::Kept kept = windowplace::kept(this);
    if (kept.state & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
    settings_WriteValue(QStringLiteral("Video"), QStringLiteral("Height"), vb::CStr(PixelsToTwips(kept.size.height())));
    settings_WriteValue(QStringLiteral("Video"), QStringLiteral("Width"), vb::CStr(PixelsToTwips(kept.size.width())));
}

void FrmVideo::video_Open()
{
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("StartVideoinFullModeWhenPlayingVideo"), QStringLiteral("0")))
        qxbFullScreen_Click();
    windows_EnableScreenSaver(false);
    tmrWindowUpdate->start();
    // On top before it is shown, so that it comes up in front of a main window that stays on top
    // too, not under it.
    windows_SetAlwaysOnTop(this, true);
    // A video starting shows its picture: never a minimised window.
    windowplace::bringBack(this, windowplace::keptState(this) & ~Qt::WindowMinimized);
    raise();
    // Started from the program, it comes up as the active window (its keys go on to the main
    // window): some window managers put a new window that is not active under the active one.
    // Started while the user works in another program, it takes nothing from it.
    if (QApplication::activeWindow()) activateWindow();
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
    windowplace::setKeptState(this, Qt::WindowMaximized);
    Form_Resize();
}

void FrmVideo::qxbNormal_Click()
{
    windowplace::setKeptState(this, Qt::WindowNoState);
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
    if ((event->type() == QEvent::ActivationChange && isActiveWindow()) || event->type() == QEvent::WindowStateChange)
        Form_Resize();
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

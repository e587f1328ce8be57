// The mini-mode window: its controls and colours, loading and placing, moving it by its
// title bar, closing and keys.
#include "extras/FrmMini.h"

#include "common/modSettings.h"
#include "common/modTray.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/SystemColours.h"
#include "controls/ctlQX_Digital.h"
#include "controls/ctlQX_wImageButton.h"
#include "controls/ctlQX_wPanel.h"
#include "controls/ctlQX_wScrollbar.h"
#include "mainwindow/FrmMenus.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowPlace.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTimer>

#include <optional>

using vb::PixelsToTwips;
using vb::TwipsToPixels;

namespace {
const QString kAppearance = QStringLiteral("MiniModeAppearance");
const QString kMiniSettings = QStringLiteral("MiniModeSettings");
const QString kPosition = QStringLiteral("Position_MiniMode");

void place(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

// A colour number of the settings: decimal, signed 32-bit (system colours are negative).
OleColour readColour(const char* key, OleColour fallback)
{
    const double v = vb::Val(settings_ReadValue(kAppearance, QString::fromLatin1(key), QString::number(qint32(fallback))));
    return OleColour(qint32(std::clamp(v, -2147483648.0, 2147483647.0)));
}

void setBackground(QWidget* w, OleColour colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, syscolour::toQColor(colour));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setTextColour(QLabel* label, OleColour colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, syscolour::toQColor(colour));
    label->setPalette(p);
}

// The glyphs of the twelve buttons in the window's font colour, on a picture of w x h pixels.
QPixmap buttonPicture(int index, int w, int h, const QColor& ink)
{
    QPixmap pix(w, h);
    pix.fill(Qt::transparent);
    QPainter g(&pix);
    g.setRenderHint(QPainter::Antialiasing, true);
    g.setPen(Qt::NoPen);
    g.setBrush(ink);
    const double cx = w / 2.0;
    const double cy = h / 2.0;
    auto triangle = [&](double left, double width, bool pointsRight) {
        QPainterPath p;
        const double tip = pointsRight ? left + width : left;
        const double base = pointsRight ? left : left + width;
        p.moveTo(base, cy - 4);
        p.lineTo(tip, cy);
        p.lineTo(base, cy + 4);
        p.closeSubpath();
        g.drawPath(p);
    };
    auto bar = [&](double left, double width) { g.drawRect(QRectF(left, cy - 4, width, 8)); };
    switch (index) {
    case 0: bar(cx - 6, 2); triangle(cx - 4, 5, false); triangle(cx + 1, 5, false); break;   // previous
    case 1: triangle(cx - 5, 5, false); triangle(cx, 5, false); break;                          // rewind
    case 2: triangle(cx - 3, 7, true); break;                                                    // play
    case 3: bar(cx - 4, 3); bar(cx + 1, 3); break;                                               // pause
    case 4: g.drawRect(QRectF(cx - 4, cy - 4, 8, 8)); break;                                     // stop
    case 5: triangle(cx - 5, 5, true); triangle(cx, 5, true); break;                             // fast forward
    case 6: {                                                                                    // random
        g.setBrush(Qt::NoBrush);
        g.setPen(QPen(ink, 1.4));
        g.drawLine(QPointF(cx - 5, cy - 3), QPointF(cx + 4, cy + 3));
        g.drawLine(QPointF(cx - 5, cy + 3), QPointF(cx + 4, cy - 3));
        g.setPen(Qt::NoPen);
        g.setBrush(ink);
        g.drawEllipse(QPointF(cx + 4.5, cy - 3), 1.5, 1.5);
        g.drawEllipse(QPointF(cx + 4.5, cy + 3), 1.5, 1.5);
        break;
    }
    case 7: triangle(cx - 6, 5, true); triangle(cx - 1, 5, true); bar(cx + 4, 2); break;        // next
    case 8:                                                                                      // next (advanced)
        triangle(cx - 6, 5, true); triangle(cx - 1, 5, true); bar(cx + 4, 2);
        g.drawEllipse(QPointF(cx + 5, cy + 6), 1, 1);
        break;
    case 9: {                                                                                    // media library
        for (int i = 0; i < 3; ++i) g.drawRect(QRectF(cx - 5 + i * 4, cy - 3, 2, 6));
        break;
    }
    case 10: {                                                                                   // CD player
        g.setBrush(Qt::NoBrush);
        g.setPen(QPen(ink, 1.2));
        g.drawEllipse(QPointF(cx, cy), 4, 4);
        g.drawEllipse(QPointF(cx, cy), 1, 1);
        break;
    }
    default: {                                                                                   // full mode
        g.setBrush(Qt::NoBrush);
        g.setPen(QPen(ink, 1));
        g.drawRect(QRectF(cx - 5.5, cy - 3.5, 11, 7));
        g.drawLine(QPointF(cx - 5.5, cy - 1.5), QPointF(cx + 5.5, cy - 1.5));
        break;
    }
    }
    return pix;
}

// The title bar's two small pictures, 10 x 10 pixels: a bar (minimise) or a cross (close).
QPixmap titlePicture(bool close, const QColor& ink)
{
    QPixmap pix(10, 10);
    pix.fill(Qt::transparent);
    QPainter g(&pix);
    g.setPen(QPen(ink, 2));
    if (close) {
        g.drawLine(1, 1, 8, 8);
        g.drawLine(1, 8, 8, 1);
    } else {
        g.drawLine(1, 8, 8, 8);
    }
    return pix;
}

ctlQX_wScrollbar* slider(QWidget* parent, const char* name, double left, double top, double width)
{
    auto* s = new ctlQX_wScrollbar(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setBar(ctlQX_wScrollbar::raisedThumb(7, 9));
    s->setMin(0);
    s->setMax(100);
    place(s, left, top, width, 135);
    return s;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, double left, double top)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    l->adjustSize();
    l->move(TwipsToPixels(left), TwipsToPixels(top));
    return l;
}

QLabel* picture(QWidget* parent, const char* name, const QPixmap& pix)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setPixmap(pix);
    l->resize(pix.size());
    return l;
}

// Where the button of each index sits inside the body panel: left, top, height (all twips).
struct ButtonPlace {
    int left, top, height;
};
constexpr ButtonPlace kButtons[12] = {
    {120, 1680, 360}, {600, 1680, 360}, {960, 1680, 360}, {1320, 1680, 360}, {1680, 1680, 360}, {2040, 1680, 360},
    {2520, 1680, 360}, {3000, 1680, 360}, {3360, 1680, 360}, {2520, 600, 225}, {2880, 600, 225}, {3240, 600, 225},
};
constexpr int kButtonWidth = 375;
const char* const kButtonTips[12] = {"Previous", "Rewind", "Play", "Pause", "Stop", "Fast Forward", "Random",
                                     "Next", "Next (Advanced)", "Media Library", "CD Player", "Return To Full Mode"};

bool trayCanBringBack() { return tray::availability() == tray::Availability::Available && tray_Icon(); }
} // namespace

FrmMini::FrmMini()
{
    setObjectName(QStringLiteral("FrmMini"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(programfolder::title());
    setWindowIcon(QApplication::windowIcon());
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(TwipsToPixels(WindowWidth), TwipsToPixels(WindowHeight));
    createControls();
    connectControls();
    Form_Load();
}

FrmMini::~FrmMini()
{
    tmrPosition->stop();
    tmrPlaying->stop();
}

void FrmMini::createControls()
{
    guiTitleBar = new ctlQX_wPanel(this);
    guiTitleBar->setObjectName(QStringLiteral("guiTitleBar"));
    place(guiTitleBar, 0, 0, WindowWidth, 375);

    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_MediaPlay);
    imgIcon = picture(guiTitleBar, "imgIcon", icon.pixmap(16, 16));
    imgIcon->move(TwipsToPixels(75), TwipsToPixels(67));
    lblCaption = label(guiTitleBar, "lblCaption", programfolder::title(), 360, 90);
    QFont bold = lblCaption->font();
    bold.setBold(true);
    lblCaption->setFont(bold);
    lblCaption->adjustSize();
    // The caption drags and opens the menu as the bar does.
    lblCaption->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    imgMinimize = picture(guiTitleBar, "imgMinimize", titlePicture(false, Qt::black));
    imgMinimize->move(TwipsToPixels(3375), TwipsToPixels(112));
    imgMinimize->setToolTip(QStringLiteral("Minimize"));
    imgClose = picture(guiTitleBar, "imgClose", titlePicture(true, Qt::black));
    imgClose->move(TwipsToPixels(3600), TwipsToPixels(112));
    imgClose->setToolTip(QStringLiteral("Close"));
    for (QLabel* l : {imgIcon, imgMinimize, imgClose}) l->installEventFilter(this);

    guiCenter = new ctlQX_wPanel(this);
    guiCenter->setObjectName(QStringLiteral("guiCenter"));
    place(guiCenter, 0, 360, WindowWidth, 2175);

    picTime = new QWidget(guiCenter);
    picTime->setObjectName(QStringLiteral("picTime"));
    place(picTime, 240, 240, 1240, 495);
    qxdNumber = new ctlQX_Digital(picTime);
    qxdNumber->setObjectName(QStringLiteral("qxdNumber"));
    qxdNumber->move(TwipsToPixels(70), TwipsToPixels(70));

    picPlaying = new QWidget(guiCenter);
    picPlaying->setObjectName(QStringLiteral("picPlaying"));
    place(picPlaying, 1560, 240, 2055, 315);
    lblPlaying = label(picPlaying, "lblPlaying", QStringLiteral("Stopped"), 50, 45);
    setPlayingLeft(50);

    lblVolume = label(guiCenter, "lblVolume", QStringLiteral("Volume:"), 240, 930);
    qxsVolume = slider(guiCenter, "qxsVolume", 960, 960, 855);
    lblBalance = label(guiCenter, "lblBalance", QStringLiteral("Balance:"), 2040, 930);
    qxsBalance = slider(guiCenter, "qxsBalance", 2760, 960, 855);
    qxsPosition = slider(guiCenter, "qxsPosition", 240, 1320, 3375);
    qxsPosition->setBarVisible(false);
    qxsPosition->setEnabled(false);

    for (int i = 0; i < 12; ++i) {
        auto* b = new ctlQX_wImageButton(guiCenter);
        b->setObjectName(QStringLiteral("qxbButton%1").arg(i));
        const ButtonPlace& at = kButtons[i];
        place(b, at.left, at.top, kButtonWidth, at.height);
        b->setToolTip(QString::fromLatin1(kButtonTips[i]));
        qxbButton[i] = b;
    }

    tmrPosition = new QTimer(this);
    tmrPosition->setObjectName(QStringLiteral("tmrPosition"));
    tmrPosition->setInterval(500);
    tmrPlaying = new QTimer(this);
    tmrPlaying->setObjectName(QStringLiteral("tmrPlaying"));
    tmrPlaying->setInterval(100);
}

void FrmMini::connectControls()
{
    connect(tmrPosition, &QTimer::timeout, this, [this] { tmrPosition_Timer(); });
    connect(tmrPlaying, &QTimer::timeout, this, [this] { tmrPlaying_Timer(); });
    for (int i = 0; i < 12; ++i) connect(qxbButton[i], &ctlQX_wImageButton::Click, this, [this, i] { qxbButton_Click(i); });
    connect(qxsVolume, &ctlQX_wScrollbar::Change, this, [this] { qxsVolume_Change(); });
    connect(qxsBalance, &ctlQX_wScrollbar::Change, this, [this] { qxsBalance_Change(); });
    connect(qxsPosition, &ctlQX_wScrollbar::Change, this, [this] { qxsPosition_Change(); });
    connect(guiTitleBar, &ctlQX_wPanel::MouseDown, this, [this](short b, short s, float x, float y) { guiTitleBar_MouseDown(b, s, x, y); });
    connect(guiTitleBar, &ctlQX_wPanel::MouseMove, this, [this](short b, short s, float x, float y) { guiTitleBar_MouseMove(b, s, x, y); });
    connect(guiTitleBar, &ctlQX_wPanel::MouseUp, this, [this](short b, short s, float x, float y) { guiTitleBar_MouseUp(b, s, x, y); });
}

// ---- colours and loading ----------------------------------------------------------------------------

void FrmMini::window_InstallColours()
{
    const OleColour back = readColour("BackColour", 0xC0C0C0);
    const OleColour border = readColour("BorderColour", 0);
    const OleColour light = readColour("LightLinesColour", 0xFFFFFF);
    const OleColour dark = readColour("DarkLinesColour", 0x808080);
    QList<FramedControl*> framed{guiTitleBar, guiCenter};
    for (ctlQX_wImageButton* b : qxbButton) framed.append(b);
    for (FramedControl* c : framed) {
        c->setBackColor(back);
        c->setBorderColor(border);
        c->setLinesLightColor(light);
        c->setLinesDarkColor(dark);
    }
    const OleColour sliders = readColour("SlidersBackColour", 0xE0E0E0);
    for (ctlQX_wScrollbar* s : {qxsVolume, qxsBalance, qxsPosition}) s->setBackColor(sliders);
    const OleColour indent = readColour("IndentBackColour", 0);
    setBackground(picTime, indent);
    qxdNumber->setBackColor(indent);
    setBackground(picPlaying, indent);
    const OleColour indentFont = readColour("IndentFontColour", 0xFF00);
    setTextColour(lblPlaying, indentFont);
    qxdNumber->setColourLight(indentFont);
    qxdNumber->setColourDark(readColour("WindowFontBackColour", 0x265726));
    const OleColour font = readColour("WindowFontColour", 0);
    for (QLabel* l : {lblCaption, lblVolume, lblBalance}) setTextColour(l, font);
    // The pictures are drawn in the font colour too, so that they show on any back colour.
    const QColor ink = syscolour::toQColor(font);
    for (int i = 0; i < 12; ++i) {
        const QPixmap glyph = buttonPicture(i, TwipsToPixels(kButtonWidth) - 6, TwipsToPixels(kButtons[i].height) - 6, ink);
        qxbButton[i]->setNormalImage(glyph);
        qxbButton[i]->setClickImage(glyph);
    }
    imgMinimize->setPixmap(titlePicture(false, ink));
    imgClose->setPixmap(titlePicture(true, ink));
}

void FrmMini::Form_Load()
{
    window_InstallColours();

    FrmMenus& menus = forms().get<FrmMenus>();
    const bool onTop = settings_ReadFlag(kMiniSettings, QStringLiteral("AlwaysOnTop"), QStringLiteral("0"));
    menus.mnuAlwaysOnTop->setChecked(onTop);
    windows_SetAlwaysOnTop(this, onTop);
    const bool locked = settings_ReadFlag(kMiniSettings, QStringLiteral("LockPosition"), QStringLiteral("0"));
    menus.mnuLockPosition->setChecked(locked);
    m_positionLocked = locked;
    m_returningToFullMode = false;

    // Without a stored place: the bottom-right corner of the work area, 500 twips from its
    // edges (a task bar at the bottom is allowed for).
    const double screenW = windows::screenWidthTwips();
    const double screenH = windows::screenHeightTwips();
    const double defaultTop = screenH - WindowHeight - windows_GetTaskbarOffset() - 500;
    const double defaultLeft = screenW - WindowWidth - 500;
    auto stored = [](const char* key) -> std::optional<double> {
        bool ok = false;
        const double v = vb::ToDouble(settings_ReadValue(kPosition, QString::fromLatin1(key), QString()), &ok);
        if (ok) return v;
        return std::nullopt;
    };
    std::optional<double> top = stored("Window_Top");
    std::optional<double> left = stored("Window_left");
    // Keeping the window on the screen pulls back only a window beyond the right or bottom
    // edge; one wholly left of or above every screen (a hand edit, a screen since removed)
    // could never be reached, so it takes the default place.
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect all = s->virtualGeometry();
        if (left && !(*left + WindowWidth > vb::PixelsToTwips(all.left()))) left.reset();
        if (top && !(*top + WindowHeight > vb::PixelsToTwips(all.top()))) top.reset();
    }
    if (top || left) move(TwipsToPixels(left.value_or(defaultLeft)), TwipsToPixels(top.value_or(defaultTop)));
    else windows_PlaceAtBottomRight(this, 500);   // should a frame come, it stays inside too

    FrmMain& main = forms().get<FrmMain>();
    qxsVolume->setValue(main.sldVolume->value());
    qxsBalance->setValue(main.sldBalance->value());
    setPosition(main.sldPosition->value(), main.sldPosition->maximum());

    tmrPosition_Timer();
    tmrPlaying_Timer();
    tmrPosition->start();
    tmrPlaying->start();
    windows_KeepFormOnScreen(this);
}

void FrmMini::mini_Show()
{
    FrmMini& mini = forms().get<FrmMini>();
    windowplace::bringBack(&mini, windowplace::keptState(&mini) & ~Qt::WindowMinimized);
    mini.raise();
    mini.activateWindow();
}

// ---- moving -------------------------------------------------------------------------------------------

void FrmMini::guiTitleBar_MouseDown(int button, int, float x, float y)
{
    if (button == 2) {
        FrmMenus& menus = forms().get<FrmMenus>();
        menus.mnuSystemMenu->setDefaultAction(menus.mnuMinimize);
        menus.mnuSystemMenu->popup(QCursor::pos());
    } else if (button == 1 && !m_positionLocked) {
        m_dragging = true;
        m_dragStartX = vb::CInt(x);
        m_dragStartY = vb::CInt(y);
    }
}

void FrmMini::guiTitleBar_MouseMove(int, int, float x, float y)
{
    if (!m_dragging) return;
    const double left = PixelsToTwips(this->x()) + (x - m_dragStartX);
    const double top = PixelsToTwips(this->y()) + (y - m_dragStartY);
    move(TwipsToPixels(left), TwipsToPixels(top));
}

void FrmMini::guiTitleBar_MouseUp(int, int, float, float) { m_dragging = false; }

void FrmMini::imgIcon_MouseDown(int button)
{
    if (button != 1) return;
    FrmMain& main = forms().get<FrmMain>();
    main.mnuPlayback->popup(guiTitleBar->mapToGlobal(QPoint(0, guiTitleBar->height())));
}

void FrmMini::imgIcon_DblClick() { Form_QueryUnload(FrmMain::FormCode); }

void FrmMini::imgMinimize_MouseDown(int button)
{
    if (button == 1) setWindowState(windowState() | Qt::WindowMinimized);
}

void FrmMini::imgClose_MouseDown(int button)
{
    if (button == 1) Form_QueryUnload(FrmMain::FormCode);
}

bool FrmMini::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        const int button = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton ? 1 : 2;
        if (watched == imgIcon) {
            if (type == QEvent::MouseButtonDblClick) imgIcon_DblClick();
            else imgIcon_MouseDown(button);
            return true;
        }
        if (watched == imgMinimize) {
            imgMinimize_MouseDown(button);
            return true;
        }
        if (watched == imgClose) {
            imgClose_MouseDown(button);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- closing and keys -----------------------------------------------------------------------------------

void FrmMini::putAway()
{
    if (trayCanBringBack()) {
        windowplace::hideMinimised(this);
    } else {
        showMinimized();
    }
}

bool FrmMini::Form_QueryUnload(int unloadMode)
{
    if (m_returningToFullMode) return false;
    FrmMain& main = forms().get<FrmMain>();
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("UseSystemTraySupport"), QStringLiteral("1"))) {
        main.Form_QueryUnload(unloadMode);
        if (!main.IsExiting) putAway();
    } else {
        hide();
        main.mnuExit_Click();
    }
    return true;
}

void FrmMini::closeEvent(QCloseEvent* event)
{
    if (m_returningToFullMode || !event->spontaneous()) {
        event->accept();
        return;
    }
    if (Form_QueryUnload(FrmMain::FormControlMenu)) event->ignore();
}

void FrmMini::Form_KeyDown(int keyCode, int shift)
{
    if (keyCode == 27 || keyCode == Qt::Key_Escape) {
        putAway();
        return;
    }
    forms().get<FrmMain>().Form_KeyDown(keyCode, shift);
}

void FrmMini::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    Form_KeyDown(event->key(), (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0));
}

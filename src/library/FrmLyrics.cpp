#include "library/FrmLyrics.h"

#include "common/modFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "media/MediaError.h"
#include "media/clsID3v2.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowPlace.h"
#include "mainwindow/FrmMain.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QWindow>

namespace {

// Wrapping a line that has no blank costs time in proportion to the square of its length:
// one such line of a million characters held the program for minutes. Lines longer than
// this are shown in pieces, cut after a blank where one is near the end of the piece. The
// box wraps far shorter lines anyway, so real lyrics look the same.
constexpr qsizetype kLongestLine = 4000;

void appendInPieces(QString& out, QStringView line)
{
    while (line.size() > kLongestLine) {
        qsizetype cut = kLongestLine;
        while (cut > kLongestLine / 2 && !line[cut - 1].isSpace()) --cut;
        if (cut == kLongestLine / 2) cut = line[kLongestLine - 1].isHighSurrogate() ? kLongestLine - 1 : kLongestLine;
        out.append(line.first(cut));
        out.append(u'\n');
        line = line.sliced(cut);
    }
    out.append(line);
}

// The lyrics as the box shows them: their own line ends (CR LF, CR or LF) made LF, and long
// lines in pieces. One pass, as lyrics may run to many megabytes.
QString shownLines(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / kLongestLine + 1);
    qsizetype nextCr = text.indexOf(u'\r');
    qsizetype nextLf = text.indexOf(u'\n');
    qsizetype start = 0;
    while (true) {
        if (nextCr >= 0 && nextCr < start) nextCr = text.indexOf(u'\r', start);
        if (nextLf >= 0 && nextLf < start) nextLf = text.indexOf(u'\n', start);
        const qsizetype end = nextCr < 0 ? nextLf : nextLf < 0 ? nextCr : std::min(nextCr, nextLf);
        appendInPieces(out, text.sliced(start, (end < 0 ? text.size() : end) - start));
        if (end < 0) return out;
        out.append(u'\n');
        start = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
}

} // namespace

FrmLyrics::FrmLyrics()
{
    setObjectName(QStringLiteral("FrmLyrics"));
    setWindowFlag(Qt::Tool, true);
    // It comes up as a song begins: the keyboard stays where the user was typing.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(programfolder::title() + QStringLiteral(" Lyrics"));
    txtLyrics = new QPlainTextEdit(this);
    txtLyrics->setObjectName(QStringLiteral("txtLyrics"));
    txtLyrics->setReadOnly(true);
    txtLyrics->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtLyrics->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtLyrics->installEventFilter(this);
    setFocusProxy(txtLyrics);   // every key of the window reaches the text box first
    resize(vb::TwipsToPixels(3630), vb::TwipsToPixels(3855));
}

void FrmLyrics::lyrics_OpenFile(const QString& path)
{
    txtLyrics->clear();
    const QString ext = files_GetExtension(path).toLower();
    if (ext != QLatin1String("mp3") && ext != QLatin1String("mp2") && ext != QLatin1String("mp1")) {
        if (LyricsIsOpen) lyrics_Close();
        return;
    }
    QString lyrics;
    try {
        clsID3v2 tag;
        tag.setFilename(path);
        lyrics = tag.Lyrics();
    } catch (const veltra::MediaError&) {
        lyrics.clear();   // an unreadable tag has no lyrics to show
    }
    if (lyrics.isEmpty()) {
        if (LyricsIsOpen) lyrics_Close();
        return;
    }
    if (forms().isLoaded<FrmVideo>() && forms().get<FrmVideo>().VideoIsOpen) return;
    lyrics = shownLines(lyrics);
    txtLyrics->setPlainText(lyrics);
    lyrics_Open();
}

void FrmLyrics::lyrics_Open()
{
    // A tool window of the main window's: window managers that show a program's tool windows only
    // while the program is active (kwin_x11) know it by that window.
    if (forms().isLoaded<FrmMain>()) {
        FrmMain& main = forms().get<FrmMain>();
        main.winId();   // its native window, also before it was first shown
        create();
        windowHandle()->setTransientParent(main.windowHandle());
    }
    // On top before it is shown, so that it comes up in front of a main window on top too.
    windows_SetAlwaysOnTop(this, true);
    show();
    raise();
    LyricsIsOpen = true;
}

void FrmLyrics::lyrics_Close()
{
    windows_SetAlwaysOnTop(this, false);
    hide();
    LyricsIsOpen = false;
}

void FrmLyrics::lyrics_GetSize()
{
    const double h = vb::Val(settings_ReadValue(QStringLiteral("Lyrics"), QStringLiteral("Height"), QStringLiteral("3855")));
    const double w = vb::Val(settings_ReadValue(QStringLiteral("Lyrics"), QStringLiteral("Width"), QStringLiteral("3630")));
    if (h > 0 && w > 0) resize(vb::TwipsToPixels(w), vb::TwipsToPixels(h));
    windows_FitOnScreen(this);   // a size kept from a larger monitor
}

void FrmLyrics::lyrics_SaveSize()
{
    const windowplace::Kept kept = windowplace::kept(this);
    if (kept.state & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
    settings_WriteValue(QStringLiteral("Lyrics"), QStringLiteral("Height"), vb::CStr(vb::PixelsToTwips(kept.size.height())));
    settings_WriteValue(QStringLiteral("Lyrics"), QStringLiteral("Width"), vb::CStr(vb::PixelsToTwips(kept.size.width())));
}

void FrmLyrics::Form_Resize()
{
    // Minimised too: see FrmMain::Form_Resize
    txtLyrics->setGeometry(0, 0, std::max(0, width() - txtLyrics->x()), std::max(0, height() - txtLyrics->y()));
}

void FrmLyrics::Form_KeyDown(int keyCode, int shift)
{
    if (forms().isLoaded<FrmMain>()) forms().get<FrmMain>().Form_KeyDown(keyCode, shift);
}

bool FrmLyrics::Form_QueryUnload(int unloadMode) { return unloadMode == 0; }

void FrmLyrics::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FrmLyrics::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Resize();
}

void FrmLyrics::closeEvent(QCloseEvent* event)
{
    if (Form_QueryUnload(0)) event->ignore();
}

bool FrmLyrics::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees every key before its text box, which still scrolls with them.
    if (watched == txtLyrics && event->type() == QEvent::KeyPress) forwardKey(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

void FrmLyrics::forwardKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    Form_KeyDown(event->key(), (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0));
}

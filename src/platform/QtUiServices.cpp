#include "platform/QtUiServices.h"

#include "platform/ModalWindow.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>
#include <QWidget>

#include <algorithm>

namespace veltra {

QtUiServices::QtUiServices() = default;
QtUiServices::~QtUiServices() = default;

// The window a dialog belongs to. A window that takes no focus (the now-playing popup) is a
// passing notice that unloads itself on a timer: a dialog owned by it would go with it.
static QWidget* activeParent()
{
    QWidget* w = QApplication::activeWindow();
    return w && !w->testAttribute(Qt::WA_ShowWithoutActivating) && !(w->windowFlags() & Qt::WindowDoesNotAcceptFocus) ? w : nullptr;
}

MsgResult QtUiServices::msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    // On the heap and watched: should its owner still go while it is open (timers and the
    // player's answers run meanwhile), the box goes with it and is not freed a second time.
    QPointer<QMessageBox> guard = new QMessageBox(activeParent());
    QMessageBox& box = *guard;
    box.setWindowTitle(title);
    QString shown = text;
    while (shown.endsWith(QLatin1String("\r\n"))) shown.chop(2);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(shown);
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (buttons) {
    case MsgButtons::OK: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::AbortRetryIgnore: box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore); break;
    case MsgButtons::YesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    modalwindow::run(&box);
    if (!guard) return MsgResult::Cancel;
    // Esc and the frame's close box click the box's escape button.
    const QMessageBox::StandardButton answer = box.standardButton(box.clickedButton());
    delete guard.data();
    switch (answer) {
    case QMessageBox::Ok: return MsgResult::OK;
    case QMessageBox::Abort: return MsgResult::Abort;
    case QMessageBox::Retry: return MsgResult::Retry;
    case QMessageBox::Ignore: return MsgResult::Ignore;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return MsgResult::Cancel;
    }
}

std::optional<QString> QtUiServices::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog dlg(activeParent());
    dlg.setWindowTitle(title);
    dlg.setLabelText(prompt);
    dlg.setInputMode(QInputDialog::TextInput);
    dlg.setTextValue(defaultText);
    if (modalwindow::runDialog(&dlg) != QDialog::Accepted) return std::nullopt;
    return dlg.textValue();
}

void QtUiServices::runModal(QObject* form, QObject* owner)
{
    auto* w = qobject_cast<QWidget*>(form);
    if (!w) return;
    if (auto* d = qobject_cast<QDialog*>(w)) {
        if (auto* o = qobject_cast<QWidget*>(owner); o && !d->parentWidget()) {
            d->setParent(o, d->windowFlags() | Qt::Dialog);
        }
        modalwindow::runDialog(d);
        return;
    }
    // A plain window shown modally: until the program hides it.
    modalwindow::run(w);
}

// Each letter of the pattern becomes "[xX]".
static QString anyCase(const QString& pattern)
{
    QString out;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) out += u'[' + c.toLower() + c.toUpper() + u']';
        else out += c;
    }
    return out;
}

QString QtUiServices::qtFilter(const QString& filter, QStringList* names, bool anyLetterCase)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) continue;
        QStringList patterns;
        for (QString p : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
            patterns.append(anyLetterCase ? anyCase(p) : p);
        }
        out.append(parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    if (names) *names = out;
    return out.join(QStringLiteral(";;"));
}

static FileDialogResult runFileDialog(const FileDialogRequest& r, bool save)
{
    QStringList names;
    QFileDialog dlg(activeParent(), r.title, r.initialDir, QtUiServices::qtFilter(r.filter, &names, !save));
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setOption(QFileDialog::HideNameFilterDetails, true);
    dlg.setFileMode(save ? QFileDialog::AnyFile : (r.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
    if (save) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);   // callers ask themselves
    // With their details hidden the dialog names its filters without their patterns.
    auto indexOf = [&names](const QString& filter) {
        for (int i = 0; i < names.size(); ++i)
            if (names[i] == filter || names[i].startsWith(filter + QStringLiteral(" ("))) return i;
        return -1;
    };
    // The default suffix holds only while a filter of its kind is chosen: a name typed for
    // another kind ("HTML Playlist") must not get it.
    auto followFilter = [&dlg, &r, &names, indexOf](const QString& filter) {
        const int i = indexOf(filter);
        const bool ofItsKind = !r.defaultExt.isEmpty() && i >= 0 && names[i].contains(QStringLiteral("*.") + r.defaultExt, Qt::CaseInsensitive);
        dlg.setDefaultSuffix(ofItsKind ? r.defaultExt : QString());
    };
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, followFilter);
    if (!r.fileName.isEmpty()) dlg.selectFile(r.fileName);
    if (r.filterIndex >= 1 && r.filterIndex <= names.size()) dlg.selectNameFilter(names[r.filterIndex - 1]);
    followFilter(dlg.selectedNameFilter());
    FileDialogResult res;
    if (modalwindow::runDialog(&dlg) != QDialog::Accepted) return res;
    res.cancelled = false;
    res.files = dlg.selectedFiles();
    res.filterIndex = indexOf(dlg.selectedNameFilter()) + 1;
    if (res.filterIndex < 1) res.filterIndex = 1;
    return res;
}

FileDialogResult QtUiServices::openFileDialog(const FileDialogRequest& request) { return runFileDialog(request, false); }
FileDialogResult QtUiServices::saveFileDialog(const FileDialogRequest& request) { return runFileDialog(request, true); }

std::optional<QString> QtUiServices::browseForFolder(const QString& title, const QString& startFolder)
{
    QFileDialog dlg(activeParent(), title, startFolder);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOption(QFileDialog::ShowDirsOnly, true);
    // The callers' titles ask the user to click OK: the button says so.
    dlg.setLabelText(QFileDialog::Accept, QStringLiteral("OK"));
    if (modalwindow::runDialog(&dlg) != QDialog::Accepted) return std::nullopt;
    const QString d = dlg.selectedFiles().value(0);
    if (d.isEmpty()) return std::nullopt;
    return d;
}

std::optional<quint32> QtUiServices::chooseColour(quint32 initial, const QString& title)
{
    const QColor start(int(initial & 0xFF), int((initial >> 8) & 0xFF), int((initial >> 16) & 0xFF));
    QColorDialog dlg(start, activeParent());
    dlg.setWindowTitle(title);
    if (modalwindow::runDialog(&dlg) != QDialog::Accepted) return std::nullopt;
    const QColor c = dlg.selectedColor();
    if (!c.isValid()) return std::nullopt;
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

std::optional<FontChoice> QtUiServices::chooseFont(const FontChoice& initial, const QString& title)
{
    QFont f(initial.name);
    f.setPointSizeF(initial.size > 0 ? initial.size : 8);
    f.setBold(initial.bold);
    f.setItalic(initial.italic);
    QFontDialog dlg(f, activeParent());
    if (!title.isEmpty()) dlg.setWindowTitle(title);
    if (modalwindow::runDialog(&dlg) != QDialog::Accepted) return std::nullopt;
    const QFont chosen = dlg.selectedFont();
    return FontChoice{chosen.family(), chosen.pointSizeF(), chosen.bold(), chosen.italic()};
}

QPrinter& QtUiServices::printer()
{
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool QtUiServices::printDialog(const QString& title, int)
{
    QPrintDialog dlg(&printer(), activeParent());
    dlg.setWindowTitle(title);
    return modalwindow::runDialog(&dlg) == QDialog::Accepted;
}

bool QtUiServices::print(const QList<PrintLine>& lines)
{
    // Line after line down the page, a new page when the next line does not fit; no header,
    // footer or page numbers. The job ends with the last line.
    QPrinter& device = printer();
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QRect page(0, 0, device.width(), device.height());
    int y = 0;
    bool ok = true;
    for (const PrintLine& l : lines) {
        QFont font = l.fontName.isEmpty() ? QFont() : QFont(l.fontName);
        font.setPointSizeF(l.fontSize > 0 ? l.fontSize : 10);
        font.setBold(l.bold);
        painter.setFont(font);
        const int lineHeight = painter.fontMetrics().lineSpacing();
        // A text of several lines (a whole log) is printed line by line; a line wider than
        // the page wraps.
        for (const QString& text : l.text.split(u'\n')) {
            const QRect needed = text.isEmpty() ? QRect(0, 0, page.width(), lineHeight)
                                                : painter.boundingRect(QRect(0, 0, page.width(), page.height()),
                                                                       Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
            const int height = std::max(lineHeight, needed.height());
            if (y > 0 && y + height > page.height()) {
                if (!device.newPage()) ok = false;
                y = 0;
            }
            if (!text.isEmpty())
                painter.drawText(QRect(0, y, page.width(), height), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
            y += height;
        }
    }
    ok = painter.end() && ok;
    return ok && device.printerState() != QPrinter::Error;
}

bool QtUiServices::openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

} // namespace veltra

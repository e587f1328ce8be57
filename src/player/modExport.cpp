#include "player/modExport.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modVB.h"
#include "platform/TextFile.h"

namespace playlistexport {

QString textLine(const ListViewModel& playlist, int row)
{
    return playlist.text(row) + QStringLiteral(".  ") + playlist.subItem(row, PlaylistColumn::Artist) + QStringLiteral(" - ") + playlist.subItem(row, PlaylistColumn::Title);
}

QString htmlEscape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

bool writeText(const ListViewModel& playlist, const QString& path)
{
    QString out;
    for (int row = 1; row <= playlist.count(); ++row) {
        out += textLine(playlist, row);
        out += QStringLiteral("\r\n");
        vb::DoEventsThrottled();
    }
    return textfile::writeAtomic(path, out);
}

bool writeHtml(const ListViewModel& playlist, const QString& path, const QString& bg, const QString& fc)
{
    const QString name = htmlEscape(files_GetNameWithoutExtension(path));
    const QString q = QStringLiteral("\"");
    QStringList lines;
    lines << QStringLiteral("<html>") << QStringLiteral("<head>") << QString()
          << QStringLiteral("<title>") + name + QStringLiteral("</title>") << QStringLiteral("</head>") << QString()
          << QStringLiteral("<body bgcolor=") + q + bg + q + QStringLiteral(" link=") + q + fc + q + QStringLiteral(" vlink=") + q + fc + q
                 + QStringLiteral(" alink=") + q + fc + q + QStringLiteral(" text=") + q + fc + q + u'>'
          << QStringLiteral("<p><b><font size=") + q + u'8' + q + QStringLiteral(" face=") + q + QStringLiteral("Tahoma") + q
                 + QStringLiteral(" color=") + q + fc + q + u'>' + name + QStringLiteral("</font></b></p>")
          << QStringLiteral("<hr>")
          << QStringLiteral("<p><font size=") + q + u'2' + q + QStringLiteral(" face=") + q + QStringLiteral("Tahoma") + q
                 + QStringLiteral(" color=") + q + fc + q + u'>';
    for (int row = 1; row <= playlist.count(); ++row) {
        vb::DoEventsThrottled();
        lines << htmlEscape(playlist.text(row)) + QStringLiteral(".  ") + htmlEscape(playlist.subItem(row, PlaylistColumn::Artist)) + QStringLiteral(" - ")
                     + htmlEscape(playlist.subItem(row, PlaylistColumn::Title)) + QStringLiteral("<br>");
    }
    lines << QStringLiteral("<br>") << QStringLiteral("<hr>") << QStringLiteral("<br>")
          << QStringLiteral("Songs in playlist:  ") + QString::number(playlist.count()) + QStringLiteral("<br>") << QString()
          << QStringLiteral("<p>&nbsp;</p>") << QString() << QStringLiteral("</body>") << QString() << QStringLiteral("</html>");
    // A byte-order mark tells browsers the page is UTF-8.
    return textfile::writeAtomic(path, QByteArray("\xEF\xBB\xBF") + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

} // namespace playlistexport

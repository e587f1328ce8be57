#include "media/ID3v2Format.h"

#include "media/MpegHeader.h"
#include "platform/TextFile.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstring>

namespace media::id3v2 {

// ---- numbers -------------------------------------------------------------------------

quint32 readBE32(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return quint32(u[0]) << 24 | quint32(u[1]) << 16 | quint32(u[2]) << 8 | u[3];
}

quint32 readBE24(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return quint32(u[0]) << 16 | quint32(u[1]) << 8 | u[2];
}

quint32 readSyncsafe(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return quint32(u[0] & 0x7F) << 21 | quint32(u[1] & 0x7F) << 14 | quint32(u[2] & 0x7F) << 7 | (u[3] & 0x7F);
}

void writeBE32(char* p, quint32 value)
{
    p[0] = char(value >> 24);
    p[1] = char(value >> 16);
    p[2] = char(value >> 8);
    p[3] = char(value);
}

void writeSyncsafe(char* p, quint32 value)
{
    p[0] = char((value >> 21) & 0x7F);
    p[1] = char((value >> 14) & 0x7F);
    p[2] = char((value >> 7) & 0x7F);
    p[3] = char(value & 0x7F);
}

// ---- where the tag is ------------------------------------------------------------------

namespace {
// How many zero bytes between a tag and the audio are taken as the tag's room.
constexpr qint64 kMaxZeroRun = 1 << 20;
constexpr qint64 kChunk = 8192;
} // namespace

qint64 audioAfter(ByteSource& source, qint64 pos)
{
    const qint64 size = source.size();
    if (pos < 0 || pos > size) return -1;
    char buffer[kChunk];
    qint64 q = pos;
    for (;;) {
        if (q >= size) return size;
        if (q - pos > kMaxZeroRun) return -1;
        const qint64 n = source.read(q, buffer, kChunk);
        if (n <= 0) return -1;
        qint64 i = 0;
        while (i < n && buffer[i] == 0) ++i;
        if (i == n) {
            q += n;
            continue;
        }
        q += i;
        break;
    }
    const qint64 n = source.read(q, buffer, kChunk);
    if (n <= 0) return -1;
    if (size - q == 128 && n >= 3 && std::memcmp(buffer, "TAG", 3) == 0) return q;
    mpeg::Header header;
    const auto found = mpeg::check(reinterpret_cast<const uchar*>(buffer), n, &header);
    if (found == mpeg::Check::Confirmed || found == mpeg::Check::Unconfirmed) return q;
    return -1;
}

namespace {
// An ID as writers put them: letters, digits and blanks, not starting with a blank.
bool plausibleFrameId(const char* id)
{
    for (int i = 0; i < 4; ++i) {
        const char c = id[i];
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (c == ' ' && i > 0);
        if (!ok) return false;
    }
    return true;
}

// Whether [from, to) holds nothing but well-formed version 2.3 frames followed by zero
// bytes, as a tag of the program's earlier versions does.
bool framesThenZeros(ByteSource& source, qint64 from, qint64 to)
{
    char buffer[kChunk];
    qint64 pos = from;
    while (pos < to) {
        char header[10];
        if (source.read(pos, header, 1) != 1) return false;
        if (header[0] == 0) break;
        if (pos + 10 > to || source.read(pos, header, 10) != 10 || !plausibleFrameId(header)) return false;
        const qint64 size = readBE32(header + 4);
        if (size > to - pos - 10) return false;
        pos += 10 + size;
    }
    while (pos < to) {
        const qint64 n = source.read(pos, buffer, std::min(kChunk, to - pos));
        if (n <= 0) return false;
        for (qint64 i = 0; i < n; ++i)
            if (buffer[i] != 0) return false;
        pos += n;
    }
    return true;
}
} // namespace

TagArea locateTag(ByteSource& source, QByteArrayView head, bool withRoom, qint64 at)
{
    TagArea area;
    if (head.size() < 10 || std::memcmp(head.data(), "ID3", 3) != 0) return area;
    const auto* h = reinterpret_cast<const uchar*>(head.data());
    const int version = h[3];
    if (version < 2 || version > 4) return area;

    const qint64 fileSize = source.size();
    const bool highByte = (h[6] | h[7] | h[8] | h[9]) & 0x80;
    const qint64 plainSize = readBE32(head.data() + 6);
    const qint64 plain = at + plainSize;
    const qint64 footer = (version == 4 && (h[5] & 0x10)) ? 10 : 0;
    const qint64 publishedEnd = at + 10 + qint64(readSyncsafe(head.data() + 6)) + footer;
    // Earlier versions of the program wrote only version 3, with the whole area's length.
    const bool olderPossible =
        version == 3 && plainSize >= 10 && plain <= fileSize && (highByte || plainSize % 2048 == 0);
    const bool publishedPossible = !highByte && publishedEnd <= fileSize;
    if (!olderPossible && !publishedPossible) {
        // Only the older form can have a size byte of 0x80 or more.
        area.cutShort = highByte ? version == 3 && plain > fileSize : publishedEnd > fileSize;
        return area;
    }

    bool older = !publishedPossible;
    qint64 audio = -1;
    if (publishedPossible && olderPossible && publishedEnd != plain) {
        audio = audioAfter(source, publishedEnd);
        if (audio < 0) {
            // The older reading is taken only when nothing but frames and padding lies
            // between the two ends; otherwise the bytes after the published end (another tag,
            // audio, anything) belong to the file and must never be written over.
            const qint64 olderAudio = audioAfter(source, plain);
            if (olderAudio >= 0 && framesThenZeros(source, at + 10, plain)) {
                older = true;
                audio = olderAudio;
            }
        }
    } else if (withRoom) {
        audio = audioAfter(source, older ? plain : publishedEnd);
    }

    area.found = true;
    area.version = version;
    area.revision = h[4];
    area.flags = h[5];
    area.olderForm = older;
    area.tagEnd = older ? plain : publishedEnd;
    area.dataSize = (older ? plain : publishedEnd - footer) - at - 10;
    area.audioStart = audio;
    // An ID3v1 tag appended to a file that ends inside its ID3v2 tag makes that tag fit.
    if (fileSize >= 128 && area.tagEnd > fileSize - 128) {
        char v1[3];
        area.cutShort = source.read(fileSize - 128, v1, 3) == 3 && std::memcmp(v1, "TAG", 3) == 0;
    }
    return area;
}

QString cutShortText()
{
    return QStringLiteral("The ID3v2 tag claims more bytes than the file holds (the file may have been cut off inside "
                          "it): a new tag written over it would destroy the rest of the file.");
}

QString unreadableText()
{
    return QStringLiteral("No frame of the ID3v2 tag could be read, though the tag holds more than padding: a new tag "
                          "written over it would destroy what it holds.");
}

// ---- unsynchronisation -----------------------------------------------------------------

QByteArray removeUnsync(const QByteArray& data)
{
    if (!data.contains('\xFF')) return data;
    QByteArray out;
    out.reserve(data.size());
    const char* p = data.constData();
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        out.append(p[i]);
        if (uchar(p[i]) == 0xFF && i + 1 < n && p[i + 1] == 0) ++i;
    }
    return out;
}

// ---- text encodings ----------------------------------------------------------------------

namespace {
QString decodeUtf16(const uchar* p, qsizetype bytes, bool bigEndian)
{
    QString out(bytes / 2, Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i + 1 < bytes; i += 2)
        *d++ = QChar(bigEndian ? char16_t(p[i] << 8 | p[i + 1]) : char16_t(p[i + 1] << 8 | p[i]));
    return out;
}

QString stripNuls(QString text)
{
    if (text.contains(QChar(0))) text.remove(QChar(0));
    return text;
}

QString windows1252WithoutNuls(const QByteArray& bytes, qsizetype from = 0)
{
    QByteArray b = bytes.mid(from);
    b.replace('\0', QByteArrayView());
    return textfile::fromWindows1252(b);
}
} // namespace

QString decodeText(int encoding, const char* begin, const char* end)
{
    if (end <= begin) return {};
    const auto* p = reinterpret_cast<const uchar*>(begin);
    qsizetype n = end - begin;
    switch (encoding) {
    case Utf16:
        if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) return decodeUtf16(p + 2, n - 2, true);
        if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) return decodeUtf16(p + 2, n - 2, false);
        return decodeUtf16(p, n, false);
    case Utf16BE:
        return decodeUtf16(p, n, true);
    case Utf8:
        if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
            p += 3;
            n -= 3;
        }
        return QString::fromUtf8(reinterpret_cast<const char*>(p), n);
    default:
        return textfile::fromWindows1252(QByteArrayView(begin, n));
    }
}

qsizetype terminatorLength(int encoding) { return (encoding == Utf16 || encoding == Utf16BE) ? 2 : 1; }

qsizetype findTerminator(int encoding, const QByteArray& data, qsizetype from)
{
    const qsizetype n = data.size();
    if (from >= n) return n;
    if (terminatorLength(encoding) == 2) {
        for (qsizetype i = from; i + 1 < n; i += 2)
            if (data[i] == 0 && data[i + 1] == 0) return i;
        return n;
    }
    const qsizetype i = data.indexOf('\0', from);
    return i < 0 ? n : i;
}

EncodedText encodeText(const QString& text)
{
    bool latin1 = true;
    for (QChar c : text)
        if (c.unicode() > 0xFF) {
            latin1 = false;
            break;
        }
    EncodedText out;
    out.encoding = latin1 ? Latin1 : Utf16;
    out.bytes = encodeText(text, out.encoding);
    return out;
}

QByteArray encodeText(const QString& text, quint8 encoding)
{
    const QString clean = stripNuls(text);
    if (encoding == Latin1) return clean.toLatin1();
    QByteArray out(2 + clean.size() * 2, Qt::Uninitialized);
    out[0] = '\xFF';
    out[1] = '\xFE';
    for (qsizetype i = 0; i < clean.size(); ++i) {
        const char16_t c = clean[i].unicode();
        out[2 + 2 * i] = char(c & 0xFF);
        out[3 + 2 * i] = char(c >> 8);
    }
    return out;
}

// ---- frames ---------------------------------------------------------------------------------

QByteArray Frame23::serialize() const
{
    QByteArray out(10, '\0');
    std::memcpy(out.data(), id.constData(), size_t(std::min<qsizetype>(4, id.size())));
    writeBE32(out.data() + 4, quint32(body.size()));
    out[8] = char(statusFlags);
    out[9] = char(formatFlags);
    out.append(body);
    return out;
}

namespace {
qsizetype sizeAndMethodLength(quint8 formatFlags) { return (formatFlags & 0x80 ? 4 : 0) + (formatFlags & 0x40 ? 1 : 0); }
} // namespace

void Frame23::setGroup(char group)
{
    formatFlags |= 0x20;
    body.insert(std::min(sizeAndMethodLength(formatFlags), body.size()), group);
}

std::optional<char> Frame23::group() const
{
    const qsizetype at = sizeAndMethodLength(formatFlags);
    if (!(formatFlags & 0x20) || at >= body.size()) return std::nullopt;
    return body[at];
}

QByteArray Frame23::data() const
{
    return body.mid(sizeAndMethodLength(formatFlags) + (formatFlags & 0x20 ? 1 : 0));
}

bool isValidFrameId(const char* id, int length)
{
    for (int i = 0; i < length; ++i) {
        const char c = id[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

QByteArray mapV22FrameId(const QByteArray& id)
{
    static const char* const kMap[][2] = {
        {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"},
        {"EQU", "EQUA"}, {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"MCI", "MCDI"}, {"MLL", "MLLT"},
        {"PIC", "APIC"}, {"POP", "POPM"}, {"REV", "RVRB"}, {"RVA", "RVAD"}, {"SLT", "SYLT"},
        {"STC", "SYTC"}, {"TAL", "TALB"}, {"TBP", "TBPM"}, {"TCM", "TCOM"}, {"TCO", "TCON"},
        {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"}, {"TEN", "TENC"}, {"TFT", "TFLT"},
        {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"}, {"TMT", "TMED"},
        {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"}, {"TOT", "TOAL"},
        {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TPA", "TPOS"},
        {"TPB", "TPUB"}, {"TRC", "TSRC"}, {"TRD", "TRDA"}, {"TRK", "TRCK"}, {"TSI", "TSIZ"},
        {"TSS", "TSSE"}, {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TXT", "TEXT"},
        {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"}, {"ULT", "USLT"}, {"WAF", "WOAF"},
        {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"}, {"WPB", "WPUB"},
        {"WXX", "WXXX"},
        // Frames of tagging programs that outlived version 2.2's list: compilation, grouping,
        // movement, and the sort names (held as the 2.4 IDs, written as 2.3 keeps them).
        {"TCP", "TCMP"}, {"GP1", "GRP1"}, {"MVN", "MVNM"}, {"MVI", "MVIN"}, {"TS2", "TSO2"},
        {"TSC", "TSOC"}, {"TST", "TSOT"}, {"TSP", "TSOP"}, {"TSA", "TSOA"},
    };
    for (const auto& m : kMap)
        if (id == m[0]) return QByteArray(m[1]);
    return {};
}

namespace {
bool isTextFrame(const QByteArray& id) { return id.startsWith('T') && id != "TXXX"; }
bool isUrlFrame(const QByteArray& id) { return id.startsWith('W') && id != "WXXX"; }

// The strings of a text frame from `from` on, empty ones dropped.
QStringList textStrings(int encoding, const QByteArray& data, qsizetype from)
{
    QStringList out;
    qsizetype pos = from;
    const qsizetype step = terminatorLength(encoding);
    while (pos < data.size()) {
        const qsizetype end = findTerminator(encoding, data, pos);
        QString s = decodeText(encoding, data.constData() + pos, data.constData() + end);
        if (!s.isEmpty()) out << stripNuls(s);
        pos = end + step;
    }
    return out;
}

// The text from `from` to the end: terminators and NULs dropped.
QString restText(int encoding, const QByteArray& data, qsizetype from)
{
    if (from >= data.size()) return {};
    return stripNuls(decodeText(encoding, data.constData() + from, data.constData() + data.size()));
}

// A language code as published writers put it: three letters (or blanks), or three NULs.
bool looksLikeLanguage(const char* p)
{
    if (p[0] == 0 && p[1] == 0 && p[2] == 0) return true;
    for (int i = 0; i < 3; ++i) {
        const char c = p[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' ')) return false;
    }
    return true;
}

// Whether COMM or USLT content has the older form of the program: encoding byte, NULs,
// text; no language code.
bool olderCommentForm(const QByteArray& c)
{
    return c.size() < 4 || (uchar(c[0]) == Latin1 && !looksLikeLanguage(c.constData() + 1));
}

QString commentText(const QByteArray& c)
{
    const int encoding = uchar(c[0]);
    if (olderCommentForm(c)) return windows1252WithoutNuls(c, 1);
    const qsizetype descEnd = findTerminator(encoding, c, 4);
    if (descEnd >= c.size()) return restText(encoding, c, 4);
    return restText(encoding, c, descEnd + terminatorLength(encoding));
}

QString counterText(const QByteArray& c)
{
    bool older = c.size() < 4;
    if (!older && c[0] == 0 && c.size() > 1) {
        older = true;
        for (qsizetype i = 1; i < c.size(); ++i)
            if (c[i] < '0' || c[i] > '9') {
                older = false;
                break;
            }
    }
    if (older) return windows1252WithoutNuls(c);
    quint64 value = 0;
    for (qsizetype i = std::max<qsizetype>(0, c.size() - 8); i < c.size(); ++i) value = value << 8 | uchar(c[i]);
    return QString::number(value);
}

QByteArray counterBytes(const QString& text)
{
    bool ok = false;
    quint64 value = text.trimmed().toULongLong(&ok);
    if (!ok) value = 0;
    QByteArray out;
    while (value > 0) {
        out.prepend(char(value & 0xFF));
        value >>= 8;
    }
    while (out.size() < 4) out.prepend('\0');
    return out;
}

QByteArray latin1WithoutNuls(const QString& text) { return stripNuls(text).toLatin1(); }

// The encoding that holds every string without loss.
quint8 encodingFor(const QStringList& texts)
{
    for (const QString& t : texts)
        if (encodeText(t).encoding != Latin1) return Utf16;
    return Latin1;
}

QByteArray terminator(quint8 encoding) { return QByteArray(int(terminatorLength(encoding)), '\0'); }

// One string of an encoded layout, plus where the next field starts.
struct Field {
    QString text;
    qsizetype next = 0;
    bool terminated = false;
};
Field readField(int encoding, const QByteArray& data, qsizetype from)
{
    Field f;
    const qsizetype end = findTerminator(encoding, data, from);
    f.text = stripNuls(decodeText(encoding, data.constData() + std::min(from, data.size()),
                                  data.constData() + end));
    f.terminated = end < data.size();
    f.next = f.terminated ? end + terminatorLength(encoding) : data.size();
    return f;
}

QByteArray latin1Field(const QByteArray& data, qsizetype from, qsizetype* next)
{
    const qsizetype end = findTerminator(Latin1, data, from);
    *next = end < data.size() ? end + 1 : data.size();
    return data.mid(from, end - from);
}

// Version 2.2 PIC: encoding, three-letter image format, type, description, data.
std::optional<QByteArray> picToApic(const QByteArray& c)
{
    if (c.size() < 5) return std::nullopt;
    const QByteArray format = c.mid(1, 3).trimmed().toUpper();
    QByteArray mime;
    if (format == "JPG") mime = "image/jpeg";
    else if (format == "PNG") mime = "image/png";
    else if (format == "-->") mime = "-->";
    else mime = "image/" + format.toLower();
    QByteArray out;
    out.append(c[0]);
    out.append(mime);
    out.append('\0');
    out.append(c.mid(4));
    return out;
}

// Several genres in the one string of version 2.3: every ID3v1 number (and RX, CR) as a
// reference "(n)", then the names joined with "/", a leading "(" doubled so that it is not
// taken for a reference. A value in that form already (references, then a name) gives its
// parts likewise, so every reader finds the genres it found before.
QString genres23(const QStringList& values)
{
    static const QRegularExpression kOlderForm(QStringLiteral("^((?:\\((?:\\d+|RX|CR)\\))*)(.*)$"),
                                               QRegularExpression::DotMatchesEverythingOption);
    QString references;
    QStringList names;
    for (const QString& v : values) {
        const bool digits = !v.isEmpty() && std::all_of(v.begin(), v.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
        bool number = false;
        if ((digits && v.toInt(&number) < 256 && number) || v == QLatin1String("RX") || v == QLatin1String("CR")) {
            references += u'(' + v + u')';
            continue;
        }
        const QRegularExpressionMatch m = kOlderForm.match(v);
        references += m.captured(1);
        QString name = m.captured(2);
        if (name.startsWith(QLatin1String("(("))) name.remove(0, 1);
        if (!name.isEmpty()) names << name;
    }
    QString name = names.join(u'/');
    if (name.startsWith(u'(')) name.prepend(u'(');
    return references + name;
}

// Content whose encodings a version 2.3 reader understands (0 and 1), or none.
std::optional<QByteArray> toV23Content(const QByteArray& id, const QByteArray& c)
{
    if (c.isEmpty()) return c;
    const int encoding = uchar(c[0]);
    const bool foreign = encoding > Utf16;
    if (isTextFrame(id)) {
        const QStringList parts = textStrings(encoding, c, 1);
        if (!foreign && parts.size() <= 1) return c;
        return frameFromText(id, id == "TCON" && parts.size() > 1 ? genres23(parts) : parts.join(u'/')).body;
    }
    if (id == "TXXX" || id == "WXXX") {
        const Field desc = readField(encoding, c, 1);
        // Several values of a user text: one, as for text frames.
        const QStringList values = id == "TXXX" ? textStrings(encoding, c, desc.next) : QStringList();
        if (!foreign && values.size() <= 1) return c;
        QByteArray out;
        if (id == "TXXX") {
            const QString value = values.join(u'/');
            const quint8 e = encodingFor({desc.text, value});
            out.append(char(e)).append(encodeText(desc.text, e)).append(terminator(e)).append(encodeText(value, e));
        } else {
            const quint8 e = encodingFor({desc.text});
            out.append(char(e)).append(encodeText(desc.text, e)).append(terminator(e)).append(c.mid(desc.next));
        }
        return out;
    }
    if (!foreign) return c;
    if (id == "COMM" || id == "USLT") {
        if (c.size() < 4) return std::nullopt;
        const Field desc = readField(encoding, c, 4);
        const QString text = restText(encoding, c, desc.next);
        const quint8 e = encodingFor({desc.text, text});
        QByteArray out;
        out.append(char(e)).append(c.mid(1, 3)).append(encodeText(desc.text, e)).append(terminator(e))
            .append(encodeText(text, e));
        return out;
    }
    if (id == "USER") {
        if (c.size() < 4) return std::nullopt;
        const QString text = restText(encoding, c, 4);
        const quint8 e = encodingFor({text});
        return QByteArray().append(char(e)).append(c.mid(1, 3)).append(encodeText(text, e));
    }
    if (id == "APIC") {
        qsizetype pos = 1;
        const QByteArray mime = latin1Field(c, pos, &pos);
        if (pos >= c.size()) return std::nullopt;
        const char type = c[pos];
        const Field desc = readField(encoding, c, pos + 1);
        const quint8 e = encodingFor({desc.text});
        QByteArray out;
        out.append(char(e)).append(mime).append('\0').append(type).append(encodeText(desc.text, e))
            .append(terminator(e)).append(c.mid(desc.next));
        return out;
    }
    if (id == "GEOB") {
        qsizetype pos = 1;
        const QByteArray mime = latin1Field(c, pos, &pos);
        const Field file = readField(encoding, c, pos);
        const Field desc = readField(encoding, c, file.next);
        const quint8 e = encodingFor({file.text, desc.text});
        QByteArray out;
        out.append(char(e)).append(mime).append('\0').append(encodeText(file.text, e)).append(terminator(e))
            .append(encodeText(desc.text, e)).append(terminator(e)).append(c.mid(desc.next));
        return out;
    }
    if (id == "SYLT" || id == "COMR" || id == "OWNE") return std::nullopt;
    return c;
}

// Version 2.4 frames that hold byte positions in the file (of a later tag, of the audio):
// they would point at the wrong bytes once the tag changes size, so they are not kept.
bool holdsFilePositions(const QByteArray& id) { return id == "SEEK" || id == "ASPI"; }

// The 2.3 ID under which tagging libraries keep a 2.4 sort frame; empty for other IDs.
QByteArray sortFrameId(const QByteArray& id)
{
    if (id == "TSOP" || id == "TSOA" || id == "TSOT") return "X" + id.mid(1);
    return {};
}

// An ID3v2.4 timestamp: yyyy[-MM[-dd[THH[:mm[:ss]]]]], the date and the time also apart by a
// blank, as some writers put them.
QRegularExpressionMatch matchTimestamp(const QString& text)
{
    static const QRegularExpression kTimestamp(
        QStringLiteral("^([0-9]{4})(?:-([0-9]{2})(?:-([0-9]{2})(?:[T ]([0-9]{2})(?::([0-9]{2})(?::[0-9]{2})?)?)?)?)?$"));
    return kTimestamp.match(text.trimmed());
}

// A 2.4 recording time as version 2.3 writes it: year (TYER), then day and month (TDAT,
// "DDMM") and hour and minute (TIME, "HHMM") when the time has them. None when the text is
// not a timestamp.
std::vector<Frame23> recordingTimeFrames(const QString& time, quint8 status)
{
    std::vector<Frame23> out;
    const QRegularExpressionMatch m = matchTimestamp(time);
    if (!m.hasMatch()) return out;
    out.push_back(frameFromText("TYER", m.captured(1)));
    if (m.hasCaptured(3)) out.push_back(frameFromText("TDAT", m.captured(3) + m.captured(2)));
    if (m.hasCaptured(5)) out.push_back(frameFromText("TIME", m.captured(4) + m.captured(5)));
    for (Frame23& f : out) f.statusFlags = status;
    return out;
}

// The 2.4 frames whose 2.3 form is made from their text (a year from a recording time, one
// people list from two): a frame of them that cannot be read cannot be converted.
bool remadeIn23(const QByteArray& id) { return id == "TDRC" || id == "TDOR" || id == "TIPL" || id == "TMCL"; }

QString notKeptText(const QByteArray& id, const char* why)
{
    return QStringLiteral("The ID3v2 tag cannot be saved as version 2.3 without losing its frame \"%1\", which %2.")
        .arg(QString::fromLatin1(id), QLatin1String(why));
}

// The strings of an involved-people list (2.4 TIPL or TMCL, 2.3 IPLS), empty ones included:
// they hold a place in a pair.
QStringList peopleStrings(const QByteArray& data)
{
    QStringList parts;
    if (data.isEmpty()) return parts;
    const int encoding = uchar(data[0]);
    for (qsizetype p = 1; p < data.size();) {
        const Field f = readField(encoding, data, p);
        parts << f.text;
        p = f.next;
    }
    return parts;
}

QByteArray peopleBody(const QStringList& parts)
{
    const quint8 e = encodingFor(parts);
    QByteArray out(1, char(e));
    for (const QString& part : parts) out.append(encodeText(part, e)).append(terminator(e));
    return out;
}

// Whether unsynchronised data is what unsynchronisation makes: no 0xFF before a byte of
// 0xE0 or more. Data that is not was never unsynchronised, whatever its flag says.
bool validUnsync(const QByteArray& data)
{
    for (qsizetype i = 0; i + 1 < data.size(); ++i)
        if (uchar(data[i]) == 0xFF && uchar(data[i + 1]) >= 0xE0) return false;
    return true;
}

// A 2.4 frame whose data is not read here (encrypted, or compressed beyond what the reader
// inflates) in its 2.3 layout: the data bytes as they are, behind the header's additions in
// the 2.3 order (decompressed size, encryption method, group). The 2.4 data length becomes
// the decompressed size that a compressed frame needs, and is otherwise left out: it only
// repeats the length that decrypting gives. Unsynchronisation, which covers the additions
// too, is undone, as a 2.3 frame has none.
void carryUnread(ReadFrame& r, const QByteArray& id, quint8 status, quint8 flags1, QByteArray body, bool tagUnsync)
{
    const bool grouped = flags1 & 0x40;
    const bool compressed = flags1 & 0x08;
    const bool encrypted = flags1 & 0x04;
    const bool hasLength = flags1 & 0x01;
    if (holdsFilePositions(id)) {
        r.leftOut = true;
        return;
    }
    if (remadeIn23(id)) {
        r.notKept = notKeptText(id, encrypted ? "is encrypted and would have to be converted"
                                              : "cannot be decompressed to be converted");
        return;
    }
    if ((flags1 & 0x02) || tagUnsync) {
        if (!validUnsync(body)) {
            r.notKept = notKeptText(id, "is marked unsynchronised but is not");
            return;
        }
        body = removeUnsync(body);
    }
    const qsizetype additions = (grouped ? 1 : 0) + (encrypted ? 1 : 0) + (hasLength ? 4 : 0);
    if (body.size() < additions || (compressed && !hasLength)) {
        r.notKept = notKeptText(id, "is incomplete");
        return;
    }
    qsizetype pos = 0;
    const char group = grouped ? body[pos++] : '\0';
    const char method = encrypted ? body[pos++] : '\0';
    const quint32 length = hasLength ? readSyncsafe(body.constData() + pos) : 0;
    if (hasLength) pos += 4;

    const QByteArray sortId = sortFrameId(id);
    Frame23 f{sortId.isEmpty() ? id : sortId, status, 0, {}};
    if (compressed) {
        f.formatFlags |= 0x80;
        f.body.append(4, '\0');
        writeBE32(f.body.data(), length);
    }
    if (encrypted) {
        f.formatFlags |= 0x40;
        f.body.append(method);
    }
    f.body.append(body.mid(pos));
    if (grouped) f.setGroup(group);
    r.frame = std::move(f);
}

// Decompresses zlib data of an announced size. Sizes beyond what a tag could sensibly
// hold are refused, so a hostile frame cannot make the reader allocate without bound.
std::optional<QByteArray> inflate(const QByteArray& data, qint64 announced)
{
    constexpr qint64 kMaxOutput = 16 << 20;
    constexpr qint64 kMaxInput = 64 << 10; // at most ~1000:1, so the output stays bounded
    if (announced <= 0 || announced > kMaxOutput || data.size() > kMaxInput) return std::nullopt;
    QByteArray framed(4, '\0');
    writeBE32(framed.data(), quint32(announced));
    framed.append(data);
    QByteArray out = qUncompress(framed);
    if (out.isEmpty()) return std::nullopt;
    return out;
}
} // namespace

QString timestampYear(const QString& text)
{
    const QRegularExpressionMatch m = matchTimestamp(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString frameText(const QByteArray& id, const QByteArray& c)
{
    if (c.isEmpty()) return {};
    const int encoding = uchar(c[0]);
    if (id == "TXXX") {
        const Field desc = readField(encoding, c, 1);
        if (!desc.terminated) return desc.text;
        return textStrings(encoding, c, desc.next).join(u'/');
    }
    if (isTextFrame(id) || id == "IPLS") return textStrings(encoding, c, 1).join(u'/');
    if (id == "COMM" || id == "USLT") return commentText(c);
    if (id == "WXXX") {
        const Field desc = readField(encoding, c, 1);
        if (!desc.terminated) return windows1252WithoutNuls(c, 1); // the older form: encoding byte, address
        qsizetype next = 0;
        return textfile::fromWindows1252(latin1Field(c, desc.next, &next));
    }
    if (isUrlFrame(id)) {
        qsizetype start = 0;
        while (start < c.size() && c[start] == 0) ++start;
        qsizetype next = 0;
        return textfile::fromWindows1252(latin1Field(c, start, &next));
    }
    if (id == "PCNT") return counterText(c);
    return windows1252WithoutNuls(c);
}

CommentHead commentHead(const QByteArray& c)
{
    CommentHead h;
    if (c.isEmpty() || olderCommentForm(c)) return h;
    const int encoding = uchar(c[0]);
    h.language = c.mid(1, 3);
    const qsizetype descEnd = findTerminator(encoding, c, 4);
    if (descEnd < c.size()) h.description = stripNuls(decodeText(encoding, c.constData() + 4, c.constData() + descEnd));
    return h;
}

Frame23 commentFrame(const QByteArray& id, const QString& text, const QByteArray& language, const QString& description)
{
    const quint8 e = encodingFor({description, text});
    Frame23 f;
    f.id = id;
    f.body.append(char(e)).append(language.leftJustified(3, '\0', true)).append(encodeText(description, e))
        .append(terminator(e)).append(encodeText(text, e));
    return f;
}

Frame23 frameFromText(const QByteArray& id, const QString& text)
{
    Frame23 f;
    f.id = id;
    if (id == "COMM" || id == "USLT") {
        return commentFrame(id, text, "eng");
    } else if (id == "TXXX") {
        const EncodedText t = encodeText(text);
        f.body.append(char(t.encoding)).append(encodeText(QString(), t.encoding)).append(terminator(t.encoding))
            .append(t.bytes);
    } else if (id == "WXXX") {
        f.body.append('\0').append('\0').append(latin1WithoutNuls(text));
    } else if (isUrlFrame(id)) {
        f.body = latin1WithoutNuls(text);
    } else if (id == "PCNT") {
        f.body = counterBytes(text);
    } else {
        const EncodedText t = encodeText(text);
        f.body.append(char(t.encoding)).append(t.bytes);
    }
    return f;
}

Frame23 mergedPeopleList(const std::vector<const Frame23*>& lists)
{
    QStringList parts;
    for (const Frame23* list : lists) {
        // A list of an odd number of strings gets an empty one: the next list's pairs stay pairs.
        if (parts.size() % 2) parts << QString();
        parts << peopleStrings(list->data());
    }
    Frame23 merged{"IPLS", lists.empty() ? quint8(0) : lists.front()->statusFlags, 0, peopleBody(parts)};
    if (const std::optional<char> group = lists.empty() ? std::nullopt : lists.front()->group()) merged.setGroup(*group);
    return merged;
}

namespace {
// The 2.3 frames of a 2.4 frame's readable data.
void convertData(ReadFrame& r, const QByteArray& id, quint8 status, const QByteArray& data)
{
    // A recording time, original date or people list without any text holds nothing to keep.
    // A date that is not a timestamp has no 2.3 form: it is kept whole in its own frame, where
    // version 2.3 readers find it too, and gives no year.
    if (id == "TDRC" || id == "TDOR") {
        const QString first = textStrings(data.isEmpty() ? 0 : uchar(data[0]), data, 1).value(0);
        r.leftOut = first.isEmpty();
        if (first.isEmpty()) return;
        if (id == "TDRC") {
            const std::vector<Frame23> frames = recordingTimeFrames(first, status);
            if (!frames.empty()) {
                r.frame = frames.front();
                r.extra.assign(frames.begin() + 1, frames.end());
                return;
            }
        } else if (const QString year = timestampYear(first); !year.isEmpty()) {
            Frame23 f = frameFromText("TORY", year);
            f.statusFlags = status;
            r.frame = f;
            return;
        }
    }
    // People involved and musicians alike: each a list of pairs, one IPLS frame in 2.3 (the
    // tag's model merges them when it writes).
    if (id == "TIPL" || id == "TMCL") {
        r.leftOut = data.isEmpty();
        if (data.isEmpty()) return;
        r.frame = Frame23{"IPLS", status, 0, peopleBody(peopleStrings(data))};
        return;
    }
    if (holdsFilePositions(id)) {
        r.leftOut = true;
        return;
    }
    const QByteArray sortId = sortFrameId(id);
    // A frame without a 2.3 form of its text is written back as it was read.
    const std::optional<QByteArray> c = toV23Content(id, data);
    r.frame = Frame23{sortId.isEmpty() ? id : sortId, status, 0, c ? *c : data};
}
} // namespace

ReadFrame convertFrame(int version, const QByteArray& id, quint8 flags0, quint8 flags1, const QByteArray& body,
                       bool tagUnsync)
{
    ReadFrame r;
    if (version == 2) {
        r.content = body;
        const QByteArray id23 = mapV22FrameId(id);
        r.modelId = id23;
        if (id23.isEmpty()) {
            r.notKept = notKeptText(id, "has no version 2.3 form");
            return r;
        }
        std::optional<QByteArray> c = id == "PIC" ? picToApic(body) : std::optional<QByteArray>(body);
        if (c) c = toV23Content(id23, *c);
        if (!c) {
            r.notKept = notKeptText(id, "is incomplete");
            return r;
        }
        const QByteArray sortId = sortFrameId(id23);
        r.frame = Frame23{sortId.isEmpty() ? id23 : sortId, 0, 0, *c};
        return r;
    }

    r.modelId = id;
    if (version == 3) {
        // Kept byte for byte; the content is only needed for its text.
        r.frame = Frame23{id, flags0, flags1, body};
        qsizetype pos = 0;
        if (flags1 & 0x80) pos += 4;
        if (flags1 & 0x40) pos += 1;
        if (flags1 & 0x20) pos += 1;
        if (pos > body.size() || (flags1 & 0x40)) return r;
        if (flags1 & 0x80) {
            if (auto c = inflate(body.mid(pos), readBE32(body.constData()))) r.content = *c;
        } else {
            r.content = pos == 0 ? body : body.mid(pos);
        }
        return r;
    }

    // Version 2.4: group byte, encryption method and data length come before the data.
    quint8 status = 0;
    if (flags0 & 0x40) status |= 0x80;
    if (flags0 & 0x20) status |= 0x40;
    if (flags0 & 0x10) status |= 0x20;
    if (flags1 & 0x04) {
        carryUnread(r, id, status, flags1, body, tagUnsync);
        return r;
    }
    qsizetype pos = 0;
    qint64 dataLength = -1;
    if (flags1 & 0x40) pos += 1;
    if (flags1 & 0x01) {
        if (pos + 4 > body.size()) {
            r.notKept = notKeptText(id, "is incomplete");
            return r;
        }
        dataLength = readSyncsafe(body.constData() + pos);
        pos += 4;
    }
    if (pos > body.size()) {
        r.notKept = notKeptText(id, "is incomplete");
        return r;
    }
    QByteArray data = pos == 0 ? body : body.mid(pos);
    if ((flags1 & 0x02) || tagUnsync) data = removeUnsync(data);
    if (flags1 & 0x08) {
        const auto c = inflate(data, dataLength);
        if (!c) {
            carryUnread(r, id, status, flags1, body, tagUnsync);
            return r;
        }
        data = *c;
    }
    r.content = data;
    convertData(r, id, status, data);
    // The group it belongs to stays with every frame it becomes.
    if (flags1 & 0x40) {
        if (r.frame) r.frame->setGroup(body[0]);
        for (Frame23& f : r.extra) f.setGroup(body[0]);
    }
    return r;
}

} // namespace media::id3v2

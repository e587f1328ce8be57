#pragma once
// Hand-built ID3v2 byte vectors for the tag tests, written from the published layouts.
#include <QByteArray>
#include <QString>

namespace tagbytes {

inline QByteArray be32(quint32 v)
{
    QByteArray b;
    b.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
    return b;
}

inline QByteArray syncsafe(quint32 v)
{
    QByteArray b;
    b.append(char((v >> 21) & 0x7F)).append(char((v >> 14) & 0x7F)).append(char((v >> 7) & 0x7F)).append(char(v & 0x7F));
    return b;
}

inline QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list) b.append(char(v));
    return b;
}

// Version 2.2: three-letter ID, 24-bit size.
inline QByteArray frame22(const QByteArray& id, const QByteArray& body)
{
    const quint32 n = quint32(body.size());
    return id + bytes({int(n >> 16 & 0xFF), int(n >> 8 & 0xFF), int(n & 0xFF)}) + body;
}

// Version 2.3: plain 32-bit size.
inline QByteArray frame23(const QByteArray& id, const QByteArray& body, int flags0 = 0, int flags1 = 0)
{
    return id + be32(quint32(body.size())) + bytes({flags0, flags1}) + body;
}

// Version 2.4: syncsafe size.
inline QByteArray frame24(const QByteArray& id, const QByteArray& body, int flags0 = 0, int flags1 = 0)
{
    return id + syncsafe(quint32(body.size())) + bytes({flags0, flags1}) + body;
}

// A tag with the published size (syncsafe, header excluded).
inline QByteArray tag(int version, const QByteArray& data, int flags = 0)
{
    return QByteArray("ID3") + bytes({version, 0, flags}) + syncsafe(quint32(data.size())) + data;
}

// A tag as earlier versions of the program wrote it: plain size of the whole area
// (header included), a multiple of 2048, and zero padding.
inline QByteArray olderTag(const QByteArray& frames, int area = 2048)
{
    QByteArray t = QByteArray("ID3") + bytes({3, 0, 0}) + be32(quint32(area)) + frames;
    t.append(QByteArray(area - t.size(), '\0'));
    return t;
}

inline QByteArray latin1Text(const char* text) { return QByteArray(1, '\0') + QByteArray(text); }

inline QByteArray utf16LE(const QString& text, bool bom = true)
{
    QByteArray b = bom ? bytes({0xFF, 0xFE}) : QByteArray();
    for (QChar c : text) b.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return b;
}

inline QByteArray utf16BE(const QString& text, bool bom = false)
{
    QByteArray b = bom ? bytes({0xFE, 0xFF}) : QByteArray();
    for (QChar c : text) b.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    return b;
}

// A few MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz) with recognisable bytes inside.
inline QByteArray audio(int frames = 8)
{
    QByteArray out;
    for (int i = 0; i < frames; ++i) {
        QByteArray f(417, char(0x11 + i));
        f[0] = '\xFF';
        f[1] = '\xFB';
        f[2] = '\x90';
        f[3] = '\x44';
        out += f;
    }
    return out;
}

} // namespace tagbytes

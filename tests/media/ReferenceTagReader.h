#pragma once
// Tags as an independent reader sees them: mutagen (Debian's python3-mutagen), run through
// python3. Each frame is one "key" (mutagen's HashKey: the ID, and for comments, lyrics and
// user texts their description and language) with a text that holds all its fields, text
// encodings aside. mutagen upgrades every tag it loads to version 2.4, so a 2.4 tag and its
// 2.3 form compare equal frame by frame: TYER, TDAT and TIME read as one TDRC, IPLS as TIPL.
// It is taught the XSOP, XSOA and XSOT frames under which version 2.3 keeps the 2.4 sort
// names, as other tagging libraries read them; the version 2.2 frames stay known beside
// them (a list of frames given replaces mutagen's own for every version). The ID3v1 tag is
// read apart ("v1:" keys).
#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace reference {

using Frames = QMap<QString, QString>;   // key → fields

inline const char* kScript = R"(
import hashlib, json, sys
import mutagen.id3 as id3

class XSOP(id3.TSOP): pass
class XSOA(id3.TSOA): pass
class XSOT(id3.TSOT): pass
known = dict(id3.Frames, **id3.Frames_2_2, XSOP=XSOP, XSOA=XSOA, XSOT=XSOT)

def fields(frame):
    if hasattr(frame, 'encoding'):
        frame.encoding = id3.Encoding.UTF8
    text = repr(frame)
    if text.startswith('XSO'):
        text = 'TSO' + text[3:]
    if len(text) > 300:
        text = text[:100] + ' md5:' + hashlib.md5(text.encode()).hexdigest()
    return text

def key(frame):
    k = frame.HashKey
    return 'TSO' + k[3:] if k.startswith('XSO') else k

out = {}
for path in sys.argv[1:]:
    frames = {}
    try:
        tags = id3.ID3(path, known_frames=known, load_v1=False)
        for f in tags.values():
            frames[key(f)] = fields(f)
        frames['version'] = '2.%d' % tags.version[1]
    except id3.ID3NoHeaderError:
        pass
    except Exception as e:
        frames['error'] = repr(e)
    with open(path, 'rb') as f:
        f.seek(0, 2)
        if f.tell() >= 128:
            f.seek(-128, 2)
            v1 = id3.ParseID3v1(f.read(128)) or {}
            for f in v1.values():
                frames['v1:' + key(f)] = fields(f)
    out[path] = frames
print(json.dumps(out))
)";

// A python3 that has mutagen, or empty.
inline QString python()
{
    static const QString found = [] {
        QStringList candidates = {QStringLiteral("/usr/bin/python3")};
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (!onPath.isEmpty()) candidates << onPath;
        for (const QString& p : candidates) {
            if (!QFile::exists(p)) continue;
            QProcess check;
            check.start(p, {QStringLiteral("-c"), QStringLiteral("import mutagen.id3")});
            if (check.waitForFinished(30000) && check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0)
                return p;
        }
        return QString();
    }();
    return found;
}

// Every file's frames; a file the reader fails on is missing from the result.
inline QMap<QString, Frames> read(const QStringList& paths)
{
    QMap<QString, Frames> out;
    QProcess p;
    p.start(python(), QStringList{QStringLiteral("-c"), QString::fromUtf8(kScript)} + paths);
    if (!p.waitForFinished(120000)) return out;
    const QJsonObject all = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    for (auto it = all.begin(); it != all.end(); ++it) {
        Frames frames;
        const QJsonObject o = it.value().toObject();
        for (auto f = o.begin(); f != o.end(); ++f) frames.insert(f.key(), f.value().toString());
        out.insert(it.key(), frames);
    }
    return out;
}

inline Frames read(const QString& path) { return read(QStringList{path}).value(path); }

} // namespace reference

// Skips the test, saying why, where the reference reader is not installed.
#define SKIP_WITHOUT_REFERENCE_READER()                                                                        \
    do {                                                                                                       \
        if (reference::python().isEmpty()) GTEST_SKIP() << "python3 with mutagen (python3-mutagen) is not installed"; \
    } while (0)

#pragma once
// What the tag editor tests share: songs with chosen tag bytes, the tags read back, frames
// found in a file's bytes, and writes that fail for a root user as for any other.
#include "library/OrganiseFixture.h"
#include "media/ID3v2Format.h"
#include "media/TagBytes.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

class TagEditTest : public OrganiseTest {
protected:
    // An MP3 under Music/ from the maker's description.
    QString make(const QString& name, const mp3maker::Song& song)
    {
        const QString path = home(QStringLiteral("Music/") + name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        mp3maker::makeMp3(path, song);
        return path;
    }
    // A song whose ID3v2 tag is version 2.4 with a title and a recording date.
    QString v24Song(const QString& name)
    {
        using namespace tagbytes;
        const QByteArray frames = frame24("TIT2", latin1Text("Dated")) + frame24("TDRC", latin1Text("2001-05-03"));
        return writeFile(QStringLiteral("Music/") + name, tag(4, frames + QByteArray(512, '\0')) + audio(20));
    }
    static clsID3v1 v1(const QString& path)
    {
        clsID3v1 t;
        t.setFilename(path);
        return t;
    }
    static clsID3v2 v2(const QString& path)
    {
        clsID3v2 t;
        t.setFilename(path);
        return t;
    }
    // The `n`th (from 1) version 2.3 frame of the ID in a file's bytes: header and data.
    static QByteArray frameBytes(const QByteArray& file, const QByteArray& id, int n = 1)
    {
        qsizetype at = -1;
        for (int k = 0; k < n; ++k) {
            at = file.indexOf(id, at + 1);
            if (at < 0) return {};
        }
        const quint32 size = media::id3v2::readBE32(file.constData() + at + 4);
        return file.mid(at, 10 + qsizetype(size));
    }
    // A COMM frame body: encoding 0, language, empty description, text.
    static QByteArray comment(const char* language, const char* text)
    {
        return QByteArray(1, '\0') + language + QByteArray(1, '\0') + text;
    }

    // A left click at a point of the widget, queued for the event loop.
    static void postClickAt(QWidget* w, const QPoint& at)
    {
        QWidget* top = w->window();
        const QPointF inWindow = w->mapTo(top, QPointF(at));
        const QPointF global = w->mapToGlobal(QPointF(at));
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(top->windowHandle(),
                                        new QMouseEvent(type, inWindow, inWindow, global, Qt::LeftButton,
                                                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                        Qt::NoModifier));
    }

    // Runs `body` with every write beyond `bytes` refused (EFBIG), so that a file cannot grow
    // even for a user whom file modes do not stop.
    template <typename F>
    static void withFilesLimitedTo(qint64 bytes, F body)
    {
        struct rlimit old;
        ::getrlimit(RLIMIT_FSIZE, &old);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim = old;
        lim.rlim_cur = rlim_t(bytes);
        ::setrlimit(RLIMIT_FSIZE, &lim);
        body();
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
};

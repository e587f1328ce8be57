#pragma once
// What the tag editor tests share: songs with chosen tag bytes, the tags read back, frames
// found in a file's bytes, and writes that fail for a root user as for any other (a file
// that may not grow, a folder that may not be written to).
#include "library/OrganiseFixture.h"
#include "media/ID3v2Format.h"
#include "media/TagBytes.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"

#include <csignal>
#include <utility>
#include <vector>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// A song whose folder cannot be written to while the guard lives, also when the tests run as
// root: the folder loses its write permission and, as root, the thread acts on files as an
// ordinary user. The song itself stays writable (a tag written in place succeeds); a tag
// that must grow needs a copy beside it, which the folder refuses. The folders between the
// program folder and the song are opened for passing through.
class ReadOnlyFolder {
public:
    ReadOnlyFolder(const QString& song, const QString& programFolder)
    {
        const QString top = QDir(programFolder).absolutePath();
        QString folder = QFileInfo(song).absolutePath();
        keep(song, 0666);
        keep(folder, 0555);
        while (folder != top && folder.startsWith(top)) {
            folder = QFileInfo(folder).absolutePath();
            keep(folder, mode(folder) | 0111);
        }
        if (::geteuid() == 0) {
            ::setfsgid(kNobody);
            ::setfsuid(kNobody);
            m_asNobody = true;
        }
    }
    ~ReadOnlyFolder()
    {
        if (m_asNobody) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        for (auto it = m_modes.rbegin(); it != m_modes.rend(); ++it) ::chmod(QFile::encodeName(it->first).constData(), it->second);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    static mode_t mode(const QString& path)
    {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        return st.st_mode & 07777;
    }
    void keep(const QString& path, mode_t newMode)
    {
        m_modes.emplace_back(path, mode(path));
        ::chmod(QFile::encodeName(path).constData(), newMode);
    }
    std::vector<std::pair<QString, mode_t>> m_modes;
    bool m_asNobody = false;
};

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

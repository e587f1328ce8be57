#pragma once
// Makes files unreadable for the calling thread while the guard lives, also when the tests
// run as root (who reads anything): the files lose every permission and, as root, the
// thread acts on files as an ordinary user. The folders are opened to everyone, so that a
// writer that wrongly replaces a file it could not read is able to do so and is caught.
#include <QFile>
#include <QStringList>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

class Unreadable {
public:
    Unreadable(const QStringList& files, const QStringList& folders) : m_files(files), m_folders(folders)
    {
        for (const QString& f : m_folders) ::chmod(QFile::encodeName(f).constData(), 0777);
        for (const QString& f : m_files) ::chmod(QFile::encodeName(f).constData(), 0);
        if (::geteuid() == 0) {
            ::setfsgid(kNobody);
            ::setfsuid(kNobody);
            m_asNobody = true;
        }
    }
    ~Unreadable()
    {
        if (m_asNobody) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        for (const QString& f : m_files) ::chmod(QFile::encodeName(f).constData(), 0644);
        for (const QString& f : m_folders) ::chmod(QFile::encodeName(f).constData(), 0700);
    }
    Unreadable(const Unreadable&) = delete;
    Unreadable& operator=(const Unreadable&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    QStringList m_files;
    QStringList m_folders;
    bool m_asNobody = false;
};

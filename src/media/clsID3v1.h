#pragma once
// The ID3v1 tag: the fixed 128-byte record at the end of an MPEG audio file. One object per
// file examined; media_WriteID3v1 (modMedia.h) writes the record.
#include <QString>

namespace media {
class ByteSource;
class SongFile;
}

class clsID3v1 {
public:
    // Stores the name and reads the tag when the name is an MPEG audio name (".mp3", ".mp2"
    // or ".mp1" anywhere in it, any letter case); other names never touch the disk. Raises
    // veltra::MediaError (source: the program's exe name) when such a file cannot be opened
    // or read; the texts are then empty.
    void setFilename(const QString& path);
    // The same from a song already opened (`song` holds `path`), so that the header and the
    // other tag are read from the same read of the file.
    void setFilename(const QString& path, media::SongFile& song);
    QString Filename() const { return m_filename; }

    // The texts with leading and trailing spaces removed. Each field ends at its first NUL.
    QString Title() const;
    QString Artist() const;
    QString Genre() const;
    QString Album() const;
    QString Year() const;
    QString Comment() const;

    // Reads the last 128 bytes of any byte source (used by setFilename and the fuzz tests).
    void readTag(media::ByteSource& source);
    bool HasTag() const { return m_hasTag; }

    static bool IsMPEGAudioFile(const QString& path);

private:
    void clear();
    template <class File>
    void readFrom(File& file, bool opened);

    QString m_filename;
    QString m_title;
    QString m_artist;
    QString m_album;
    QString m_comment;
    QString m_year;
    QString m_genre;
    bool m_hasTag = false;
};

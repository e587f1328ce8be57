#pragma once
// Errors that the media routines raise to their callers.
//
// A MediaError is thrown by value and caught by const reference. It keeps what the
// program's error object always carried: the runtime's error number, its description and
// the source that raised it. clsID3v2 raises with the source "<exe name>.cMP3ID3v2"
// (for example "veltra.cMP3ID3v2"); clsID3v1 passes file-system errors with the source
// "<exe name>". Which routines raise, and when, is written at each routine.
//
//   try {
//       tag.Save();
//   } catch (const veltra::MediaError& e) {
//       msgBox(e.description(), ...);   // e.number(), e.source()
//   }
#include <QString>
#include <exception>
#include <string>

namespace veltra {

class MediaError : public std::exception {
public:
    // Numbers used by the media routines (the runtime's own numbers).
    enum Number {
        InvalidArgument = 5,      // "Invalid procedure call or argument" (absent collection key)
        SubscriptOutOfRange = 9,  // "Subscript out of range" (collection index)
        CannotPerform = 17,       // "Can't perform requested operation" (a save that would lose a frame)
        DiskFull = 61,            // "Disk full"
        FileNotFound = 53,        // "File not found"
        DeviceIOError = 57,       // "Device I/O error"
        PermissionDenied = 70,    // "Permission denied"
        PathFileAccessError = 75, // "Path/File access error"
    };

    MediaError(int number, const QString& description, const QString& source);

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const QString& source() const noexcept { return m_source; }
    // "<source>: <description> (<number>)", for logs.
    const char* what() const noexcept override { return m_what.c_str(); }

    // The error for a failed system call: errno mapped to the runtime's number and text.
    static MediaError fromErrno(int error, const QString& source);
    // The runtime's description of one of the numbers above.
    static QString describe(int number);

private:
    int m_number;
    QString m_description;
    QString m_source;
    std::string m_what;
};

} // namespace veltra

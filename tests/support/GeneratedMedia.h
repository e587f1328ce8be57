#pragma once
// Short media files of every type the playlist accepts, made on the spot: with sox, lame and
// ffmpeg where they are installed, by hand for MIDI (and its RIFF wrapping) and MPEG audio
// layer I, which no installed encoder writes.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testmedia {

// The tool a type is made with ("" when made by hand).
QString toolFor(const QString& extension);
bool toolPresent(const QString& tool);

// Writes a file of the given type (extension without the dot) at path, about `seconds` long:
// audio is a tone, video a moving test picture of 160 x 120 (with a tone where the container
// carries sound). False with the reason when it cannot.
bool make(const QString& extension, const QString& path, double seconds, QString* why);

// A two-channel MP3 of a 440 Hz tone on the left and 660 Hz on the right, at the given peak
// amplitude (0..1), 44100 Hz.
bool makeStereoMp3(const QString& path, double seconds, double amplitude, QString* why);

bool isVideo(const QString& extension);
bool hasSound(const QString& extension);

// Standard MIDI file: two piano notes of half a second each.
QByteArray midiFile();
// The same inside a RIFF "RMID" file.
QByteArray rmiFile(const QByteArray& midi);
// MPEG-1 audio layer I, mono 48 kHz 128 kbit/s, a low tone in the first sub-band.
QByteArray mpegLayer1(double seconds);

} // namespace testmedia

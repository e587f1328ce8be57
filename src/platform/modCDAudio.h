#pragma once
// The CD player's routines over the one CD audio device, opened under the alias "cdr".
// Each sends its command strings to the command-string device (CdAudioDevice) and reads
// the reply at fixed character places. None shows a message or writes a log: a failure is
// only the result (False, 0, "" or "None").
#include <QString>

// True while "cdr" is believed open.
extern bool CDDeviceOpen;

bool cdaudio_Close();
// Opens the drive named by the first character of `drive` ("e" gives "e:\"); `drive`
// becomes that text. The time format is set to TMSF whether the open worked or not.
bool cdaudio_Open(QString& drive);
bool cdaudio_IsMediaPresent();
bool cdaudio_Eject();
int cdaudio_GetTrackCount();
// The track being played or at the position, as decimal text ("3"); "" without a disc.
QString cdaudio_GetCurrentTrack();
// The disc's length "mm:ss"; "None" when closed or without a disc.
QString cdaudio_GetTotalLength();
QString cdaudio_GetMode();
bool cdaudio_SeekTrack(int track);
// Seconds.
int cdaudio_GetTrackLength(int track);
// An 11-character position "tt:mm:ss:ff"; nothing is sent for another length or while playing.
bool cdaudio_SeekPosition(const QString& position);
// Seconds into the current track.
int cdaudio_GetPosition();
bool cdaudio_Play();
bool cdaudio_Stop();
bool cdaudio_Pause();
bool cdaudio_IsPlaying();

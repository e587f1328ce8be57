#pragma once
// The MPEG audio frame header (MPEG-1, MPEG-2 and MPEG-2.5; Layers I-III) and the
// frame-count headers that encoders put in the first frame of a variable-bitrate file
// ("Xing"/"Info" and "VBRI").
#include <QtGlobal>
#include <optional>

namespace media::mpeg {

struct Header {
    int version = 1;       // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
    int layer = 3;         // 1, 2 or 3
    int bitrate = 0;       // bit/s
    int sampleRate = 0;    // Hz
    bool padding = false;
    bool mono = false;

    int samplesPerFrame() const;
    // Bytes of the whole frame, header included.
    int frameLength() const;
};

// The header in the four bytes at `p`, when they start with the 11-bit frame sync and hold
// no reserved or free-format value.
std::optional<Header> decode(const uchar* p);

// How well the bytes at `p` (of `available` bytes) hold a frame: not a header; a header
// whose next frame lies within the bytes but does not start with a header of the same
// version, layer and sample rate; a header whose next frame lies beyond the bytes; a header
// followed by a matching one.
enum class Check { Invalid, Mismatch, Unconfirmed, Confirmed };
Check check(const uchar* p, qint64 available, Header* header);

// The frame count of a "Xing"/"Info" or "VBRI" header in the frame at `frame`
// (`available` bytes of it), or 0 when the frame has none.
qint64 vbrFrameCount(const uchar* frame, qint64 available, const Header& header);

} // namespace media::mpeg

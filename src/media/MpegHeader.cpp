#include "media/MpegHeader.h"

#include <cstring>

namespace media::mpeg {

namespace {
// kbit/s by [MPEG-1 ? 0 : 1][layer - 1][index]
constexpr short kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
};
constexpr int kSampleRates[3] = {44100, 48000, 32000};

quint32 be32(const uchar* p) { return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]; }
} // namespace

int Header::samplesPerFrame() const
{
    if (layer == 1) return 384;
    if (layer == 2) return 1152;
    return version == 1 ? 1152 : 576;
}

int Header::frameLength() const
{
    if (sampleRate <= 0) return 0;
    if (layer == 1) return (12 * bitrate / sampleRate + (padding ? 1 : 0)) * 4;
    const int factor = (layer == 3 && version != 1) ? 72 : 144;
    return int(qint64(factor) * bitrate / sampleRate) + (padding ? 1 : 0);
}

std::optional<Header> decode(const uchar* p)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    Header h;
    h.version = versionBits == 3 ? 1 : (versionBits == 2 ? 2 : 25);
    h.layer = 4 - layerBits;
    h.bitrate = kBitrates[h.version == 1 ? 0 : 1][h.layer - 1][bitrateIndex] * 1000;
    h.sampleRate = kSampleRates[rateIndex] / (h.version == 1 ? 1 : (h.version == 2 ? 2 : 4));
    h.padding = (p[2] >> 1) & 1;
    h.mono = (p[3] >> 6) == 3;
    return h;
}

Check check(const uchar* p, qint64 available, Header* header)
{
    if (available < 4) return Check::Invalid;
    const auto h = decode(p);
    if (!h) return Check::Invalid;
    *header = *h;
    const qint64 next = h->frameLength();
    if (next < 4 || next + 4 > available) return Check::Unconfirmed;
    const auto n = decode(p + next);
    if (n && n->version == h->version && n->layer == h->layer && n->sampleRate == h->sampleRate)
        return Check::Confirmed;
    return Check::Mismatch;
}

qint64 vbrFrameCount(const uchar* frame, qint64 available, const Header& header)
{
    if (header.layer != 3) return 0;
    // "Xing"/"Info" follows the side information.
    const qint64 xing = 4 + (header.version == 1 ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17));
    if (xing + 12 <= available
        && (std::memcmp(frame + xing, "Xing", 4) == 0 || std::memcmp(frame + xing, "Info", 4) == 0)) {
        const quint32 flags = be32(frame + xing + 4);
        if (flags & 1) return be32(frame + xing + 8);
        return 0;
    }
    // "VBRI" sits 32 bytes after the header whatever the mode.
    constexpr qint64 vbri = 4 + 32;
    if (vbri + 18 <= available && std::memcmp(frame + vbri, "VBRI", 4) == 0)
        return be32(frame + vbri + 14);
    return 0;
}

} // namespace media::mpeg

#include "radio/mpegaudio.h"

namespace vidmo {

namespace {

// Bit rates in kbit/s by [MPEG-1 or not][layer 1..3 as 0..2][index].
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
};
constexpr int kRates[3] = {44100, 48000, 32000}; // MPEG-1; halved for 2, quartered for 2.5

// The length in bytes of the frame whose header starts at p, or 0 when the
// four bytes are no valid header.
int frameLength(const unsigned char *p)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return 0;
    const int version = (p[1] >> 3) & 3; // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const int layerBits = (p[1] >> 1) & 3; // 0: reserved, 1: III, 2: II, 3: I
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return 0;
    const int layer = 4 - layerBits; // 1..3
    const bool mpeg1 = version == 3;
    const int bitrate = kBitrates[mpeg1 ? 0 : 1][layer - 1][bitrateIndex] * 1000;
    const int rate = kRates[rateIndex] / (mpeg1 ? 1 : version == 2 ? 2 : 4);
    const int padding = (p[2] >> 1) & 1;
    if (layer == 1)
        return (12 * bitrate / rate + padding) * 4;
    const int perFrame = layer == 3 && !mpeg1 ? 72 : 144;
    return perFrame * bitrate / rate + padding;
}

} // namespace

bool looksLikeMpegAudio(const QByteArray &head, int frames)
{
    constexpr qsizetype kSearch = 4096;
    const auto *data = reinterpret_cast<const unsigned char *>(head.constData());
    const qsizetype size = head.size();
    for (qsizetype start = 0; start < kSearch && start + 4 <= size; ++start) {
        qsizetype at = start;
        int found = 0;
        while (found < frames && at + 4 <= size) {
            const int length = frameLength(data + at);
            if (length < 4)
                break;
            ++found;
            at += length;
        }
        if (found == frames)
            return true;
    }
    return false;
}

} // namespace vidmo

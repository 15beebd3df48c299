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
constexpr qsizetype kSearch = 4096;

struct Header
{
    int length = 0; // bytes, 0 when the four bytes are no valid header
    int layer = 0;
    bool mpeg1 = false;
    int rate = 0;
    bool crc = false;
    bool mono = false;

    int layer3Samples() const { return mpeg1 ? 1152 : 576; }
    // Header, check word and side information come before a Layer III
    // frame's own share of main data.
    int layer3Overhead() const
    {
        const int side = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
        return 4 + (crc ? 2 : 0) + side;
    }
};

Header parseHeader(const unsigned char *p)
{
    Header h;
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return h;
    const int version = (p[1] >> 3) & 3; // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const int layerBits = (p[1] >> 1) & 3; // 0: reserved, 1: III, 2: II, 3: I
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return h;
    h.layer = 4 - layerBits;
    h.mpeg1 = version == 3;
    h.rate = kRates[rateIndex] / (h.mpeg1 ? 1 : version == 2 ? 2 : 4);
    h.crc = (p[1] & 1) == 0;
    h.mono = (p[3] >> 6) == 3;
    const int bitrate = kBitrates[h.mpeg1 ? 0 : 1][h.layer - 1][bitrateIndex] * 1000;
    const int padding = (p[2] >> 1) & 1;
    if (h.layer == 1)
        h.length = (12 * bitrate / h.rate + padding) * 4;
    else
        h.length = (h.layer == 3 && !h.mpeg1 ? 72 : 144) * bitrate / h.rate + padding;
    return h;
}

// Where the first of `frames` chained frames starts, or -1.
qsizetype firstFrame(const QByteArray &head, int frames)
{
    const auto *data = reinterpret_cast<const unsigned char *>(head.constData());
    const qsizetype size = head.size();
    for (qsizetype start = 0; start < kSearch && start + 4 <= size; ++start) {
        qsizetype at = start;
        int found = 0;
        while (found < frames && at + 4 <= size) {
            const int length = parseHeader(data + at).length;
            if (length < 4)
                break;
            ++found;
            at += length;
        }
        if (found == frames)
            return start;
    }
    return -1;
}

} // namespace

bool looksLikeMpegAudio(const QByteArray &head, int frames)
{
    return firstFrame(head, frames) >= 0;
}

qint64 silentLeadNs(const QByteArray &head)
{
    qsizetype at = firstFrame(head, 3);
    if (at < 0)
        return 0;
    const auto *data = reinterpret_cast<const unsigned char *>(head.constData());
    const Header first = parseHeader(data + at);
    if (first.layer != 3)
        return 0;
    qint64 samples = 0;
    qint64 reservoir = 0; // main data received so far, which later frames may draw on
    while (at + 4 <= head.size()) {
        const Header h = parseHeader(data + at);
        if (h.length < h.layer3Overhead() || h.layer != 3 || h.rate != first.rate)
            break;
        // main_data_begin, the first field of the side information: how far
        // back in the reservoir this frame's data starts (9 bits; 8 for MPEG-2).
        const qsizetype side = at + 4 + (h.crc ? 2 : 0);
        if (side + 2 > head.size())
            break;
        const int back = h.mpeg1 ? (data[side] << 1) | (data[side + 1] >> 7) : data[side];
        if (back <= reservoir)
            break; // decodes in full: the sound starts here
        samples += h.layer3Samples();
        reservoir += h.length - h.layer3Overhead();
        at += h.length;
    }
    return samples * 1000000000 / first.rate;
}

} // namespace vidmo

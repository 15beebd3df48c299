#pragma once

#include <QByteArray>

namespace vidmo {

// Whether the bytes are MPEG audio (MP1, MP2 or MP3): somewhere in the first
// kilobytes a frame header whose next frames follow at the lengths their
// headers give, `frames` headers in a row. Streams joined mid-way start at
// any byte, so the first frame is searched for (in the first 4 KiB). AAC's
// ADTS frames, whose sync word looks alike, and text are not taken.
bool looksLikeMpegAudio(const QByteArray &head, int frames = 3);

} // namespace vidmo

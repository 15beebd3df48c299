#pragma once

#include <QByteArray>

namespace vidmo {

// Whether the bytes are MPEG audio (MP1, MP2 or MP3): somewhere in the first
// kilobytes a frame header whose next frames follow at the lengths their
// headers give, `frames` headers in a row. Streams joined mid-way start at
// any byte, so the first frame is searched for (in the first 4 KiB). AAC's
// ADTS frames, whose sync word looks alike, and text are not taken.
bool looksLikeMpegAudio(const QByteArray &head, int frames = 3);

// How long the start of a Layer III stream joined mid-way decodes to nothing
// but silence, in nanoseconds. A frame may take part of its data from the
// frames before it (the bit reservoir); up to the first frame whose data all
// came after the join, the decoder has nothing to rebuild and plays zeros.
// Counted from the first frame looksLikeMpegAudio finds; 0 for a stream
// from its start, for Layers I and II, and for bytes that are no MPEG audio.
qint64 silentLeadNs(const QByteArray &head);

} // namespace vidmo

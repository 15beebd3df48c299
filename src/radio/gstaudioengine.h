#pragma once

#include "radio/audioengine.h"

#include <memory>

namespace vidmo {

// The audio engine over GStreamer. One pipeline per stream:
//   appsrc ! decodebin ! audioconvert ! audioresample ! tee ! queue ! volume ! audio sink
// where appsrc gets the bytes of the HTTP answer that was fetched to look for
// a playlist (uridecodebin in its place for files, other schemes and
// Shoutcast's "ICY 200 OK", which Qt cannot read),
// and per running encoder one more tee branch ending in an appsink that feeds
// the encoder's standard input (S16LE, 44100 Hz, stereo, as WAV). Playlists are fetched and resolved here first
// (GStreamer does not follow them). A stream that drops after it has played
// is reopened with back-off until it is freed.
//
// Every call is made on the thread that created the engine, which must run a
// Qt event loop; bus messages and encoder input are handled there too.
class GstAudioEngine final : public IAudioEngine
{
public:
    GstAudioEngine();
    ~GstAudioEngine() override;
    GstAudioEngine(const GstAudioEngine &) = delete;
    GstAudioEngine &operator=(const GstAudioEngine &) = delete;

    bool BASS_Init(int device, std::uint32_t freq, std::uint32_t flags, quintptr window,
                   const void *clsid) override;
    HPLUGIN BASS_PluginLoad(const QString &file, std::uint32_t flags) override;
    bool BASS_SetConfig(std::uint32_t option, std::uint32_t value) override;
    HSTREAM BASS_StreamCreateURL(const QByteArray &url, std::uint32_t offset, std::uint32_t flags,
                                 void *proc, void *user) override;
    bool BASS_ChannelPlay(std::uint32_t handle, bool restart) override;
    bool BASS_StreamFree(HSTREAM handle) override;
    bool BASS_ChannelSetAttribute(std::uint32_t handle, std::uint32_t attrib, float value) override;
    HENCODE BASS_Encode_Start(std::uint32_t handle, const QString &cmdline, std::uint32_t flags,
                              void *proc, void *user) override;
    bool BASS_Encode_Stop(std::uint32_t handle) override;
    bool BASS_Free() override;

    // For tests and diagnostics.
    enum class StreamState {
        None,       // no such stream
        Resolving,  // fetching the address or a playlist
        Opening,    // a pipeline is connecting, nothing decoded yet
        Playing,    // sound has come through
        Waiting,    // dropped; reconnecting after a pause
        Failed,     // nothing it names would open; silent until freed
    };
    StreamState streamState(HSTREAM handle) const;
    // Streams held, pipelines alive (across streams), and encoders stopped
    // but still completing their files.
    int streamCount() const;
    static int pipelineCount();
    int finishingEncoderCount() const;

    class Private;

private:
    std::unique_ptr<Private> d;
};

} // namespace vidmo

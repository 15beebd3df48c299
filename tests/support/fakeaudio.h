#pragma once

// A test double of the audio engine: records every call with its arguments and
// keeps just enough state to refuse handles it does not hold.

#include "radio/audioengine.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <functional>

namespace vidmo::test {

class FakeAudioEngine final : public IAudioEngine
{
public:
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

    // One line per call, e.g. "StreamFree 3", "ChannelSetAttribute 3 2 0.25".
    QStringList calls;
    // The calls recorded since the last take, which clears them.
    QStringList take();

    // What the engine answers.
    HPLUGIN pluginResult = 1;    // 0: the WMA plug-in does not load
    bool streamsOpen = true;     // false: every stream creation fails
    bool encodersStart = true;   // false: the encoder cannot be started
    // Runs inside every stream creation, before it answers.
    std::function<void(const QByteArray &url)> onStreamCreate;

    QSet<HSTREAM> streams;             // held now
    QHash<HSTREAM, float> volume;      // last volume set per stream
    QHash<HENCODE, HSTREAM> encoders;  // running, on which stream
    QHash<HSTREAM, QByteArray> urls;   // what each stream was opened on

private:
    std::uint32_t m_next = 0;
};

} // namespace vidmo::test

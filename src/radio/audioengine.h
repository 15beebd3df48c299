#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace vidmo {

// Handles of the audio engine: 32-bit values, 0 means none or failure. A handle
// is never reused within a run, so a stale handle is simply refused.
using HSTREAM = std::uint32_t;
using HPLUGIN = std::uint32_t;
using HENCODE = std::uint32_t;

namespace bass {
inline constexpr std::uint32_t DEVICE_SPEAKERS = 0x800;
inline constexpr std::uint32_t UNICODE_FLAG = 0x80000000u;
inline constexpr std::uint32_t CONFIG_NET_PLAYLIST = 21;
inline constexpr std::uint32_t STREAM_STATUS = 0x800000;
inline constexpr std::uint32_t ATTRIB_VOL = 2;
inline constexpr std::uint32_t ENCODE_AUTOFREE = 0x40000;
} // namespace bass

// The audio engine as the program calls it. Every call is made from the
// user-interface thread and returns at once; connecting, buffering and
// decoding happen elsewhere.
class IAudioEngine
{
public:
    virtual ~IAudioEngine() = default;

    virtual bool BASS_Init(int device, std::uint32_t freq, std::uint32_t flags,
                           quintptr window, const void *clsid) = 0;
    virtual HPLUGIN BASS_PluginLoad(const QString &file, std::uint32_t flags) = 0;
    virtual bool BASS_SetConfig(std::uint32_t option, std::uint32_t value) = 0;
    // url: NUL-terminated 8-bit address, as the caller encoded it.
    virtual HSTREAM BASS_StreamCreateURL(const QByteArray &url, std::uint32_t offset,
                                         std::uint32_t flags, void *proc, void *user) = 0;
    virtual bool BASS_ChannelPlay(std::uint32_t handle, bool restart) = 0;
    virtual bool BASS_StreamFree(HSTREAM handle) = 0;
    virtual bool BASS_ChannelSetAttribute(std::uint32_t handle, std::uint32_t attrib,
                                          float value) = 0;
    virtual HENCODE BASS_Encode_Start(std::uint32_t handle, const QString &cmdline,
                                      std::uint32_t flags, void *proc, void *user) = 0;
    virtual bool BASS_Encode_Stop(std::uint32_t handle) = 0;
    virtual bool BASS_Free() = 0;
};

} // namespace vidmo

#include "fakeaudio.h"

namespace vidmo::test {

namespace {

QString hex(std::uint32_t v)
{
    return QStringLiteral("0x") + QString::number(v, 16);
}

} // namespace

QStringList FakeAudioEngine::take()
{
    QStringList taken;
    taken.swap(calls);
    return taken;
}

bool FakeAudioEngine::BASS_Init(int device, std::uint32_t freq, std::uint32_t flags,
                                quintptr window, const void *clsid)
{
    calls << QStringLiteral("Init %1 %2 %3 %4 %5")
                 .arg(device)
                 .arg(freq)
                 .arg(hex(flags), window ? QStringLiteral("window") : QStringLiteral("nowindow"),
                      clsid ? QStringLiteral("clsid") : QStringLiteral("noclsid"));
    return true;
}

HPLUGIN FakeAudioEngine::BASS_PluginLoad(const QString &file, std::uint32_t flags)
{
    calls << QStringLiteral("PluginLoad %1 %2").arg(file, hex(flags));
    return pluginResult;
}

bool FakeAudioEngine::BASS_SetConfig(std::uint32_t option, std::uint32_t value)
{
    calls << QStringLiteral("SetConfig %1 %2").arg(option).arg(value);
    return true;
}

HSTREAM FakeAudioEngine::BASS_StreamCreateURL(const QByteArray &url, std::uint32_t offset,
                                             std::uint32_t flags, void *proc, void *user)
{
    calls << QStringLiteral("StreamCreateURL %1 %2 %3 %4 %5")
                 .arg(QString::fromLocal8Bit(url))
                 .arg(offset)
                 .arg(hex(flags), proc ? QStringLiteral("proc") : QStringLiteral("noproc"),
                      user ? QStringLiteral("user") : QStringLiteral("0"));
    if (onStreamCreate)
        onStreamCreate(url);
    if (!streamsOpen || url.isEmpty())
        return 0;
    const HSTREAM h = ++m_next;
    streams.insert(h);
    urls.insert(h, url);
    return h;
}

bool FakeAudioEngine::BASS_ChannelPlay(std::uint32_t handle, bool restart)
{
    calls << QStringLiteral("ChannelPlay %1 %2").arg(handle).arg(int(restart));
    return streams.contains(handle);
}

bool FakeAudioEngine::BASS_StreamFree(HSTREAM handle)
{
    calls << QStringLiteral("StreamFree %1").arg(handle);
    if (!streams.remove(handle))
        return false;
    for (auto it = encoders.begin(); it != encoders.end();) {
        if (it.value() == handle)
            it = encoders.erase(it);
        else
            ++it;
    }
    return true;
}

bool FakeAudioEngine::BASS_ChannelSetAttribute(std::uint32_t handle, std::uint32_t attrib,
                                               float value)
{
    calls << QStringLiteral("ChannelSetAttribute %1 %2 %3").arg(handle).arg(attrib).arg(double(value));
    if (!streams.contains(handle))
        return false;
    volume.insert(handle, value);
    return true;
}

HENCODE FakeAudioEngine::BASS_Encode_Start(std::uint32_t handle, const QString &cmdline,
                                           std::uint32_t flags, void *proc, void *user)
{
    calls << QStringLiteral("Encode_Start %1 [%2] %3 %4 %5")
                 .arg(handle)
                 .arg(cmdline, hex(flags), proc ? QStringLiteral("proc") : QStringLiteral("noproc"),
                      user ? QStringLiteral("user") : QStringLiteral("0"));
    if (!encodersStart || !streams.contains(handle))
        return 0;
    const HENCODE h = ++m_next;
    encoders.insert(h, handle);
    return h;
}

bool FakeAudioEngine::BASS_Encode_Stop(std::uint32_t handle)
{
    calls << QStringLiteral("Encode_Stop %1").arg(handle);
    bool any = false;
    for (auto it = encoders.begin(); it != encoders.end();) {
        if (it.value() == handle || it.key() == handle) {
            it = encoders.erase(it);
            any = true;
        } else {
            ++it;
        }
    }
    return any;
}

bool FakeAudioEngine::BASS_Free()
{
    calls << QStringLiteral("Free");
    streams.clear();
    encoders.clear();
    return true;
}

} // namespace vidmo::test

// The radio path of the main window, on the real audio engine, driven from
// standard input so that bench/radio.py can click when its capture is ready.
//   play URL   one Button1Click with MyRadioUrl = URL; prints "click <ns>"
//              (CLOCK_MONOTONIC) just before the engine is called
//   quit       frees the stream and the engine, then exits
// Prints "ready" once the engine is up.
#include "radio/audioengine.h"
#include "radio/gstaudioengine.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QString>

#include <cstdio>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// What RadioPanel::StartRadioStream does, in the same order.
class RadioClick final
{
public:
    explicit RadioClick(vidmo::IAudioEngine &engine) : m_engine(engine) {}

    void click(const QString &myRadioUrl)
    {
        std::printf("click %lld\n", monotonicNs());
        std::fflush(stdout);
        m_engine.BASS_StreamFree(m_stream);
        m_engine.BASS_SetConfig(vidmo::bass::CONFIG_NET_PLAYLIST, 1);
        m_stream = m_engine.BASS_StreamCreateURL(myRadioUrl.toLocal8Bit(), 0,
                                                 vidmo::bass::STREAM_STATUS, nullptr, nullptr);
        m_engine.BASS_ChannelPlay(m_stream, false);
    }

    void turnOff() { m_engine.BASS_StreamFree(m_stream); }

private:
    vidmo::IAudioEngine &m_engine;
    vidmo::HSTREAM m_stream = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    vidmo::GstAudioEngine engine;
    if (!engine.BASS_Init(-1, 44100, vidmo::bass::DEVICE_SPEAKERS, 0, nullptr)) {
        std::fprintf(stderr, "audio engine did not start\n");
        return 1;
    }
    RadioClick radio(engine);

    std::string pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input.setEnabled(false);
            radio.turnOff();
            app.quit();
            return;
        }
        pending.append(buf, static_cast<std::size_t>(n));
        std::size_t eol;
        while ((eol = pending.find('\n')) != std::string::npos) {
            const QString line = QString::fromStdString(pending.substr(0, eol)).trimmed();
            pending.erase(0, eol + 1);
            if (line.startsWith(QLatin1String("play ")))
                radio.click(line.mid(5));
            else if (line == QLatin1String("quit")) {
                radio.turnOff();
                app.quit();
            }
        }
    });

    std::printf("ready\n");
    std::fflush(stdout);
    const int rc = app.exec();
    engine.BASS_Free();
    return rc;
}

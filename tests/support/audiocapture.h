#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace vidmo::test {

// Records what a PulseAudio sink plays, through `parec` on its monitor, as
// S16LE 44100 Hz stereo.
class AudioCapture final
{
public:
    ~AudioCapture();

    // False if parec does not start.
    bool start(const QString &sink);
    void clear();
    // Milliseconds captured since the last clear().
    qint64 capturedMs();
    // Root mean square of the samples of the last `ms` milliseconds (0 to
    // 32767), or -1 while fewer have been captured since the last clear().
    double rms(int ms);

private:
    void collect();

    QProcess m_parec;
    QByteArray m_pcm;
};

// Root mean square of interleaved S16LE samples.
double pcmRms(const QByteArray &pcm);

} // namespace vidmo::test

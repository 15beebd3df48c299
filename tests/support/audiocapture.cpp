#include "audiocapture.h"

#include <QtEndian>
#include <cmath>

namespace vidmo::test {

namespace {
constexpr int kBytesPerMs = 44100 * 4 / 1000;
}

AudioCapture::~AudioCapture()
{
    if (m_parec.state() != QProcess::NotRunning) {
        m_parec.terminate();
        if (!m_parec.waitForFinished(2000))
            m_parec.kill();
        m_parec.waitForFinished(1000);
    }
}

bool AudioCapture::start(const QString &sink)
{
    m_parec.setProcessChannelMode(QProcess::SeparateChannels);
    m_parec.setStandardErrorFile(QProcess::nullDevice());
    m_parec.start(QStringLiteral("parec"),
                  {QStringLiteral("-d"), sink + QStringLiteral(".monitor"), QStringLiteral("--raw"),
                   QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                   QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=20")},
                  QIODevice::ReadOnly);
    return m_parec.waitForStarted(5000);
}

void AudioCapture::collect()
{
    m_pcm += m_parec.readAllStandardOutput();
}

void AudioCapture::clear()
{
    collect();
    m_pcm.clear();
}

qint64 AudioCapture::capturedMs()
{
    collect();
    return m_pcm.size() / kBytesPerMs;
}

double AudioCapture::rms(int ms)
{
    collect();
    const qsizetype want = qsizetype(ms) * kBytesPerMs;
    if (m_pcm.size() < want)
        return -1;
    return pcmRms(m_pcm.right(want));
}

double pcmRms(const QByteArray &pcm)
{
    const qsizetype n = pcm.size() / 2;
    if (n == 0)
        return 0;
    double sum = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double v = qFromLittleEndian<qint16>(pcm.constData() + 2 * i);
        sum += v * v;
    }
    return std::sqrt(sum / double(n));
}

} // namespace vidmo::test

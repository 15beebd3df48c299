#include "testprogram.h"

#include "app/windowutil.h"

#include <QDir>
#include <QFile>

namespace vidmo::test {

TestProgram::TestProgram() : m_programDir(m_dir.path() + QLatin1Char('/'))
{
    loadLayoutFonts();
    QDir().mkpath(m_programDir + QStringLiteral("Language"));
}

TestProgram::~TestProgram() = default;

void TestProgram::writeSettings(const QByteArray &content)
{
    QFile f(settingsPath());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
}

QByteArray TestProgram::readSettings() const
{
    QFile f(settingsPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestProgram::writeLanguageFile(const QString &name, const QByteArray &content)
{
    QFile f(m_programDir + QStringLiteral("Language/") + name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
}

void TestProgram::installShippedLanguageFiles()
{
    const QDir shipped(QStringLiteral(VIDMO_SOURCE_DIR "/data/Language"));
    for (const QString &name : shipped.entryList({QStringLiteral("*.lng")}, QDir::Files)) {
        QFile::remove(m_programDir + QStringLiteral("Language/") + name);
        QFile::copy(shipped.filePath(name), m_programDir + QStringLiteral("Language/") + name);
    }
}

ProgramBlock &TestProgram::start()
{
    Services s;
    s.programDir = m_programDir;
    s.serverBase = realServerBase.isEmpty() ? serverBase() : realServerBase;
    s.messageBox = &messageBox;
    s.shell = &shell;
    s.webViews = &webViews;
    s.http = realHttp ? realHttp : &http;
    s.audio = realAudio ? realAudio : &audio;
    m_block = std::make_unique<ProgramBlock>(std::move(s));
    m_block->createWindows();
    return *m_block;
}

} // namespace vidmo::test

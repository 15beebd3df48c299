#include "settings/updater.h"

#include "app/failure.h"
#include "app/platform.h"
#include "settings/httpclient.h"

#include <QSaveFile>

namespace vidmo {

Updater::Updater(IHttpClient &http, IShell &shell, QString serverBase, QString programDir)
    : m_http(http), m_shell(shell), m_serverBase(std::move(serverBase)),
      m_programDir(std::move(programDir))
{
}

Updater::Check Updater::check()
{
    m_aborted = false;
    const HttpReply reply = m_http.get(m_serverBase + QStringLiteral("/actual/2.3.txt"));
    Check result;
    if (m_aborted)
        result.outcome = Outcome::Aborted;
    else if (reply.ok)
        result = {Outcome::Done, QString::fromUtf8(reply.body)};
    return result;
}

Updater::Outcome Updater::download()
{
    m_aborted = false;
    const HttpReply reply = m_http.get(m_serverBase + QStringLiteral("/data/Vidmo_player.exe"));
    m_http.disconnect();
    if (m_aborted)
        return Outcome::Aborted;
    // A broken or short body must never be started as a program.
    if (!reply.ok)
        return Outcome::Failed;
    saveInstaller(installerPath(), reply.body);
    m_shell.open(installerPath());
    return Outcome::Done;
}

void Updater::abort()
{
    if (!m_http.busy())
        return;
    m_aborted = true;
    m_http.disconnect();
}

void Updater::saveInstaller(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // No fallback to writing in place: that could leave half an installer.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Failure(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
}

} // namespace vidmo

#pragma once

#include <QByteArray>
#include <QString>

namespace vidmo {

class IHttpClient;
class IShell;

// The "Обновления" tab's two requests: the announced version and the
// installer. The window disables its buttons around them and shows the
// outcome; this class decides what counts as success.
class Updater final
{
public:
    enum class Outcome {
        Done,    // the version arrived / the installer was saved and started
        Failed,  // no complete answer: nothing was saved or started
        Aborted, // abort() ended the transfer: the program is going away
    };

    struct Check
    {
        Outcome outcome = Outcome::Failed;
        QString version; // as the server sent it, line break included
    };

    Updater(IHttpClient &http, IShell &shell, QString serverBase, QString programDir);

    static QString installerName() { return QStringLiteral("InstalVidmoPlayer.exe"); }
    QString installerPath() const { return m_programDir + installerName(); }

    Check check();
    // Fetches the installer, saves it over any earlier one and asks the shell
    // to start it. Throws Failure("Cannot create file ...") when it cannot
    // be saved.
    Outcome download();

    // Ends a running transfer so that nothing follows it. Without one, a no-op.
    void abort();

    // Writes the whole file or nothing: a failure leaves no partial installer.
    static void saveInstaller(const QString &path, const QByteArray &bytes);

private:
    IHttpClient &m_http;
    IShell &m_shell;
    QString m_serverBase;
    QString m_programDir;
    bool m_aborted = false;
};

} // namespace vidmo

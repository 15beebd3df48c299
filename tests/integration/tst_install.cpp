// cmake --install lays out the program directory, the launcher, the desktop
// entry and the icon; the launcher starts the installed program.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The build tree holding this test: the parent of its program directory.
QString buildDir()
{
    return QDir(QStringLiteral(VIDMO_PROGRAM_DIR "..")).absolutePath();
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
};

void TestInstall::layout_data()
{
    QTest::addColumn<bool>("staged");

    QTest::newRow("prefix") << false;
    QTest::newRow("prefix below DESTDIR") << true;
}

void TestInstall::layout()
{
    QFETCH(bool, staged);

    const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    QVERIFY(!cmake.isEmpty());
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    // A prefix with a blank, as a home directory may have.
    const QString prefix = tmp.path() + QStringLiteral("/home dir/.local");
    const QString stage = tmp.path() + QStringLiteral("/stage");

    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DESTDIR"));
    if (staged)
        env.insert(QStringLiteral("DESTDIR"), stage);
    install.setProcessEnvironment(env);
    install.start(cmake, {QStringLiteral("--install"), buildDir(), QStringLiteral("--prefix"), prefix});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());

    const QString root = staged ? stage + prefix : prefix;
    const QString programDir = root + QStringLiteral("/lib/vidmo-player/");
    QVERIFY(isExecutableFile(programDir + QStringLiteral("vidmo-player")));
    for (const char *language : {"Russian", "Ukraine", "England", "Belarusian", "Chinese"})
        QVERIFY2(QFile::exists(programDir + QStringLiteral("Language/%1.lng").arg(QLatin1String(language))),
                 language);
    QVERIFY(QFile::exists(programDir + QStringLiteral("channel/public/ort.htm")));
    QVERIFY(QFile::exists(programDir + QStringLiteral("channel/tv-program/noprogramm.html")));
    QVERIFY(!QFile::exists(programDir + QStringLiteral("channel/.generated")));
    QVERIFY(!QFile::exists(programDir + QStringLiteral("Setting.ini")));

    const QString launcher = root + QStringLiteral("/bin/vidmo-player");
    QVERIFY(isExecutableFile(launcher));

    // The menu entry names the launcher where it will finally be, not below DESTDIR.
    const QString entry = root + QStringLiteral("/share/applications/vidmo-player.desktop");
    const QString desktop = readText(entry);
    QVERIFY(desktop.startsWith(QLatin1String("[Desktop Entry]\n")));
    QVERIFY(desktop.contains(QStringLiteral("\nExec=\"%1/bin/vidmo-player\"\n").arg(prefix)));
    QVERIFY(desktop.contains(QLatin1String("\nIcon=vidmo-player\n")));
    QVERIFY(desktop.contains(QLatin1String("\nName=Vidmo Player\n")));
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    QVERIFY2(!validator.isEmpty(), "desktop-file-validate is not installed");
    QProcess validate;
    validate.start(validator, {entry});
    QVERIFY(validate.waitForFinished(30000));
    QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());

    QSvgRenderer icon(root + QStringLiteral("/share/icons/hicolor/scalable/apps/vidmo-player.svg"));
    QVERIFY(icon.isValid());
    QCOMPARE(icon.defaultSize(), QSize(128, 128));

    if (staged)
        return;
    // Started through a link elsewhere, as a menu or a user's bin may hold it,
    // the launcher runs the program of its own prefix.
    const QString link = tmp.path() + QStringLiteral("/vidmo");
    QVERIFY(QFile::link(launcher, link));
    QProcess program;
    QProcessEnvironment runEnv = QProcessEnvironment::systemEnvironment();
    runEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(runEnv);
    program.start(link, {});
    QVERIFY(program.waitForStarted());
    const QString exe = QStringLiteral("/proc/%1/exe").arg(program.processId());
    QTRY_COMPARE(QFileInfo(exe).symLinkTarget(), programDir + QStringLiteral("vidmo-player"));
    program.kill();
    QVERIFY(program.waitForFinished(30000));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"

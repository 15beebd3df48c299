// The encoder command line of a recording: what lame receives as its
// arguments once the engine has split the line, for the names users type.
#include "radio/commandline.h"
#include "radio/recordingcommand.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_recordingcommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outputIsOneArgument_data();
    void outputIsOneArgument();
    void encoderBesideExecutableElsePath_data();
    void encoderBesideExecutableElsePath();
};

void tst_recordingcommand::outputIsOneArgument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");

    QTest::newRow("first recording") << "MyRecord" << "MyRecord.mp3";
    QTest::newRow("blank in the name") << "My Song" << "My Song.mp3";
    QTest::newRow("runs of blanks and a tab") << "  a\t b  " << "  a\t b  .mp3";
    QTest::newRow("empty name") << "" << ".mp3";
    QTest::newRow("leading dash") << "-V0" << "./-V0.mp3";
    QTest::newRow("looks like an option") << "--help me" << "./--help me.mp3";
    QTest::newRow("dash inside") << "Rock-FM" << "Rock-FM.mp3";
    QTest::newRow("double quotes") << "say \"hi\"" << "say \"hi\".mp3";
    QTest::newRow("trailing backslash") << "dir\\" << "dir\\.mp3";
    QTest::newRow("backslash before a quote") << "a\\\"b" << "a\\\"b.mp3";
    QTest::newRow("shell characters stay text") << "$(rm x); `id` & *" << "$(rm x); `id` & *.mp3";
    QTest::newRow("absolute path with blanks") << "/tmp/my records/night" << "/tmp/my records/night.mp3";
    QTest::newRow("Cyrillic") << "Европа плюс" << "Европа плюс.mp3";
}

void tst_recordingcommand::outputIsOneArgument()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QTemporaryDir noLame;
    const QString line = vidmo::recordingCommandLine(name, noLame.path() + QLatin1Char('/'));
    QCOMPARE(vidmo::splitCommandLine(line),
             (QStringList{"lame", "--alt-preset", "standard", "-", file}));
}

void tst_recordingcommand::encoderBesideExecutableElsePath_data()
{
    QTest::addColumn<QString>("subdir");     // the program directory inside the temporary one
    QTest::addColumn<bool>("lameFile");      // a file "lame" lies there
    QTest::addColumn<bool>("executable");    // ... and may be run
    QTest::addColumn<bool>("beside");        // the one beside the executable is used

    QTest::newRow("none beside: PATH") << "bin" << false << false << false;
    QTest::newRow("executable beside") << "bin" << true << true << true;
    QTest::newRow("not executable beside: PATH") << "bin" << true << false << false;
    QTest::newRow("program directory with blanks") << "Vidmo Player" << true << true << true;
}

void tst_recordingcommand::encoderBesideExecutableElsePath()
{
    QFETCH(QString, subdir);
    QFETCH(bool, lameFile);
    QFETCH(bool, executable);
    QFETCH(bool, beside);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString programDir = dir.filePath(subdir) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(programDir));
    if (lameFile) {
        QFile f(programDir + "lame");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            p |= QFile::ExeOwner;
        QVERIFY(f.setPermissions(p));
    }
    const QString expected = beside ? programDir + "lame" : QStringLiteral("lame");
    QCOMPARE(vidmo::encoderProgram(programDir), expected);
    const QStringList args = vidmo::splitCommandLine(vidmo::recordingCommandLine("x", programDir));
    QCOMPARE(args.value(0), expected);
    QCOMPARE(args.mid(1), (QStringList{"--alt-preset", "standard", "-", "x.mp3"}));
}

QTEST_APPLESS_MAIN(tst_recordingcommand)
#include "tst_recordingcommand.moc"

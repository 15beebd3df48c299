#include "radio/commandline.h"

#include <QTest>

class tst_commandline : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
    void quoteRoundTrip_data();
    void quoteRoundTrip();
};

void tst_commandline::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected");

    const QStringList lame{"lame", "--alt-preset", "standard", "-"};
    QTest::newRow("recording, plain name") << "lame --alt-preset standard - MyRecord.mp3"
                                           << (lame + QStringList{"MyRecord.mp3"});
    QTest::newRow("name with a blank, quoted") << "lame --alt-preset standard - \"My Song.mp3\""
                                               << (lame + QStringList{"My Song.mp3"});
    QTest::newRow("name with a blank, unquoted") << "lame --alt-preset standard - My Song.mp3"
                                                 << (lame + QStringList{"My", "Song.mp3"});
    QTest::newRow("dash name behind ./") << "lame --alt-preset standard - \"./-loud night.mp3\""
                                         << (lame + QStringList{"./-loud night.mp3"});
    QTest::newRow("quote inside an argument") << "lame - \"say \\\"hi\\\".mp3\""
                                              << QStringList{"lame", "-", "say \"hi\".mp3"};
    QTest::newRow("doubled quote inside quotes") << "lame - \"a \"\"b\"\".mp3\""
                                                 << QStringList{"lame", "-", "a \"b\".mp3"};
    QTest::newRow("quotes join pieces") << "lame - out\" \"put.mp3"
                                        << QStringList{"lame", "-", "out put.mp3"};
    QTest::newRow("backslashes without quote are literal") << "lame a\\\\b\\c"
                                                           << QStringList{"lame", "a\\\\b\\c"};
    QTest::newRow("even backslashes before quote") << "lame \"dir\\\\\" x"
                                                   << QStringList{"lame", "dir\\", "x"};
    QTest::newRow("empty quoted argument") << "lame - \"\".mp3 \"\""
                                           << QStringList{"lame", "-", ".mp3", ""};
    QTest::newRow("quoted program with blank") << "\"/opt/my tools/lame\" -"
                                               << QStringList{"/opt/my tools/lame", "-"};
    QTest::newRow("program keeps backslashes") << "C:\\lame\\lame.exe -"
                                               << QStringList{"C:\\lame\\lame.exe", "-"};
    QTest::newRow("tabs and runs of blanks") << "  lame\t\t-   x  " << QStringList{"lame", "-", "x"};
    QTest::newRow("unterminated quote runs to the end") << "lame \"open end.mp3"
                                                        << QStringList{"lame", "open end.mp3"};
    QTest::newRow("blank only") << "   " << QStringList{};
}

void tst_commandline::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, expected);
    QCOMPARE(vidmo::splitCommandLine(line), expected);
}

void tst_commandline::quoteRoundTrip_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("plain") << "MyRecord.mp3";
    QTest::newRow("blank") << "My Song.mp3";
    QTest::newRow("empty") << "";
    QTest::newRow("quotes") << "say \"hi\".mp3";
    QTest::newRow("trailing backslash") << "dir with blank\\";
    QTest::newRow("backslash before quote") << "a\\\"b c";
    QTest::newRow("cyrillic") << "Моя запись.mp3";
}

void tst_commandline::quoteRoundTrip()
{
    QFETCH(QString, argument);
    const QString line = QStringLiteral("lame - ") + vidmo::quoteCommandArgument(argument);
    QCOMPARE(vidmo::splitCommandLine(line), (QStringList{"lame", "-", argument}));
}

QTEST_GUILESS_MAIN(tst_commandline)
#include "tst_commandline.moc"

#include "app/failure.h"
#include "settings/inifile.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using vidmo::Failure;
using vidmo::IniFile;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The text of a thrown Failure, or a null string when none was thrown.
template <typename F>
QString failureOf(F &&f)
{
    try {
        f();
    } catch (const Failure &e) {
        return e.text();
    }
    return {};
}

const QByteArray utf8Bom("\xEF\xBB\xBF");
const QByteArray utf16LeBom("\xFF\xFE");

} // namespace

class tst_IniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void readString_data();
    void readString();
    void readFollowsFile();
    void readBool_data();
    void readBool();

    void write_data();
    void write();
    void writeKeepsPermissions();

    void encodings_data();
    void encodings();

    void writeFailure_data();
    void writeFailure();
    void failedWriteKeepsFile();

private:
    QString file(const QString &name = QStringLiteral("Setting.ini")) const
    {
        return m_dir->filePath(name);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_IniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_IniFile::cleanup()
{
    m_dir.reset();
}

void tst_IniFile::readString_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString d = QStringLiteral("<default>");
    const QByteArray x2047(2047, 'x');
    const QByteArray x3000(3000, 'x');

    QTest::newRow("plain") << true << QByteArray("[Proxy]\nuseIP=1.2.3.4\n") << "Proxy" << "useIP" << "1.2.3.4";
    QTest::newRow("section case") << true << QByteArray("[PROXY]\nuseIP=a\n") << "proxy" << "useIP" << "a";
    QTest::newRow("key case") << true << QByteArray("[Proxy]\nUSEip=a\n") << "Proxy" << "useIp" << "a";
    QTest::newRow("cyrillic case") << true << QByteArray("[Язык]\nКлюч=a\n") << "ЯЗЫК" << "ключ" << "a";
    QTest::newRow("blanks around key and value")
        << true << QByteArray("  [ Proxy ]  \n \t useIP \t=  1.2 3  \t\n") << "Proxy" << "useIP" << "1.2 3";
    QTest::newRow("crlf") << true << QByteArray("[A]\r\nk=v\r\n") << "A" << "k" << "v";
    QTest::newRow("double quotes") << true << QByteArray("[A]\nk=\"abc\"\n") << "A" << "k" << "abc";
    QTest::newRow("single quotes") << true << QByteArray("[A]\nk='x'\n") << "A" << "k" << "x";
    QTest::newRow("quotes keep inner blanks") << true << QByteArray("[A]\nk=  \" a b \"  \n") << "A" << "k" << " a b ";
    QTest::newRow("only one pair dropped") << true << QByteArray("[A]\nk=\"\"x\"\"\n") << "A" << "k" << "\"x\"";
    QTest::newRow("mismatched quotes") << true << QByteArray("[A]\nk=\"abc'\n") << "A" << "k" << "\"abc'";
    QTest::newRow("opening quote only") << true << QByteArray("[A]\nk=\"abc\n") << "A" << "k" << "\"abc";
    QTest::newRow("lone quote") << true << QByteArray("[A]\nk=\"\n") << "A" << "k" << "\"";
    QTest::newRow("empty quotes") << true << QByteArray("[A]\nk=''\n") << "A" << "k" << "";
    QTest::newRow("equals in value") << true << QByteArray("[A]\nk=a=b\n") << "A" << "k" << "a=b";
    QTest::newRow("semicolon in value") << true << QByteArray("[A]\nk=a ;b\n") << "A" << "k" << "a ;b";
    QTest::newRow("2047 kept") << true << "[A]\nk=" + x2047 + "\n" << "A" << "k" << QString::fromLatin1(x2047);
    QTest::newRow("2048 cut") << true << "[A]\nk=" + x2047 + "y\n" << "A" << "k" << QString::fromLatin1(x2047);
    QTest::newRow("3000 cut, last line") << true << "[A]\nk=" + x3000 << "A" << "k" << QString::fromLatin1(x2047);
    QTest::newRow("leading blanks not counted")
        << true << "[A]\nk=   " + x2047 + "y\n" << "A" << "k" << QString::fromLatin1(x2047);
    QTest::newRow("quotes after the cut")
        << true << "[A]\nk=\"" + x2047 + "\"\n" << "A" << "k" << "\"" + QString(2046, u'x');
    QTest::newRow("empty value") << true << QByteArray("[A]\nk=\n") << "A" << "k" << "";
    QTest::newRow("blank value") << true << QByteArray("[A]\nk=  \t\n") << "A" << "k" << "";
    QTest::newRow("duplicate key, first wins") << true << QByteArray("[A]\nk=1\nK=2\n") << "A" << "k" << "1";
    QTest::newRow("section twice") << true << QByteArray("[A]\nj=1\n[B]\nk=2\n[a]\nk=3\n") << "A" << "k" << "3";
    QTest::newRow("missing file") << false << QByteArray() << "A" << "k" << d;
    QTest::newRow("empty file") << true << QByteArray() << "A" << "k" << d;
    QTest::newRow("missing section") << true << QByteArray("[B]\nk=1\n") << "A" << "k" << d;
    QTest::newRow("missing key") << true << QByteArray("[A]\nj=1\n") << "A" << "k" << d;
    QTest::newRow("key in next section") << true << QByteArray("[A]\nj=1\n[B]\nk=1\n") << "A" << "k" << d;
    QTest::newRow("key before any section") << true << QByteArray("k=1\n[A]\n") << "A" << "k" << d;
    QTest::newRow("comment") << true << QByteArray("[A]\n;k=1\n") << "A" << "k" << d;
    QTest::newRow("indented comment") << true << QByteArray("[A]\n  ; k=1\n") << "A" << "k" << d;
    QTest::newRow("comment before value") << true << QByteArray("[A]\n;k=1\nk=2\n") << "A" << "k" << "2";
    QTest::newRow("line without equals") << true << QByteArray("[A]\nk\n") << "A" << "k" << d;
    QTest::newRow("unclosed bracket") << true << QByteArray("[A]\n[B\nk=1\n") << "A" << "k" << "1";
}

void tst_IniFile::readString()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    if (exists)
        QVERIFY(writeAll(file(), content));
    const IniFile ini(file());
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")), expected);
}

void tst_IniFile::readFollowsFile()
{
    const IniFile ini(file());
    QVERIFY(writeAll(file(), "[A]\nk=1\n"));
    QCOMPARE(ini.readString("A", "k", "d"), QStringLiteral("1"));
    QVERIFY(writeAll(file(), "[A]\nk=2\n"));
    QCOMPARE(ini.readString("A", "k", "d"), QStringLiteral("2"));
    QVERIFY(QFile::remove(file()));
    QCOMPARE(ini.readString("A", "k", "d"), QStringLiteral("d"));
}

void tst_IniFile::readBool_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected"); // 0 false, 1 true, -1 the default

    const auto row = [](const char *name, const QByteArray &value, int expected) {
        QTest::newRow(name) << "[A]\nb=" + value + "\n" << expected;
    };
    row("one", "1", 1);
    row("zero", "0", 0);
    row("many", "42", 1);
    row("negative", "-1", 1);
    row("minus zero", "-0", 0);
    row("plus", "+7", 1);
    row("leading zeros", "007", 1);
    row("blanks trimmed", "  1  ", 1);
    row("quoted", "\"1\"", 1);
    row("longer than any int", "100000000000000000000", 1);
    row("hex", "0x10", 1);
    row("hex upper", "0XaF", 1);
    row("hex zero", "0x0", 0);
    row("hex long zero", "0x0000", 0);
    row("0x alone", "0x", -1);
    row("hex bad digit", "0x1g", -1);
    row("signed hex", "-0x1", -1);
    row("hex digits without 0x", "ff", -1);
    row("word", "true", -1);
    row("fraction", "1.5", -1);
    row("inner blank", "1 2", -1);
    row("sign alone", "-", -1);
    row("empty", "", -1);
    QTest::newRow("missing key") << QByteArray("[A]\nc=1\n") << -1;
}

void tst_IniFile::readBool()
{
    QFETCH(QByteArray, content);
    QFETCH(int, expected);

    QVERIFY(writeAll(file(), content));
    const IniFile ini(file());
    for (const bool def : {false, true}) {
        const bool want = expected < 0 ? def : expected == 1;
        QCOMPARE(ini.readBool("a", "B", def), want);
    }
}

void tst_IniFile::write_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value"); // a bool goes through writeBool
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("readBack");

    const QByteArray mixed("; top comment\n\n[A]\nx=1\n  junk line\n\n;c\n[B]\nk = old \nz=2\n\n");
    QTest::newRow("replace keeps other lines")
        << true << mixed << "B" << "k" << QVariant("new")
        << QByteArray("; top comment\n\n[A]\nx=1\n  junk line\n\n;c\n[B]\nk =new\nz=2\n\n") << "new";
    QTest::newRow("replace matches case, keeps spelling")
        << true << QByteArray("[Proxy]\r\n  UseIP\t= 1\r\n") << "proxy" << "useip" << QVariant("2")
        << QByteArray("[Proxy]\r\n  UseIP\t=2\r\n") << "2";
    QTest::newRow("replace first of duplicates")
        << true << QByteArray("[A]\nk=1\n[a]\nk=2\n") << "A" << "K" << QVariant("3")
        << QByteArray("[A]\nk=3\n[a]\nk=2\n") << "3";
    QTest::newRow("replace last line without end")
        << true << QByteArray("[A]\nk=1") << "A" << "k" << QVariant("22") << QByteArray("[A]\nk=22") << "22";
    QTest::newRow("new key after last entry")
        << true << QByteArray("[A]\nx=1\n;c\n\n[B]\ny=2\n") << "a" << "k" << QVariant("v")
        << QByteArray("[A]\nx=1\n;c\nk=v\n\n[B]\ny=2\n") << "v";
    QTest::newRow("new key in last section without end")
        << true << QByteArray("[A]\nx=1") << "A" << "k" << QVariant("v") << QByteArray("[A]\nx=1\nk=v\n") << "v";
    QTest::newRow("new key in empty section")
        << true << QByteArray("[A]\n\n[B]\n") << "A" << "k" << QVariant("v") << QByteArray("[A]\nk=v\n\n[B]\n") << "v";
    QTest::newRow("new section")
        << true << QByteArray("[A]\nx=1\n") << "B" << "k" << QVariant("v")
        << QByteArray("[A]\nx=1\n\n[B]\nk=v\n") << "v";
    QTest::newRow("new section after blank line")
        << true << QByteArray("[A]\nx=1\n\n") << "B" << "k" << QVariant("v")
        << QByteArray("[A]\nx=1\n\n[B]\nk=v\n") << "v";
    QTest::newRow("new section, last line without end")
        << true << QByteArray("[A]\nx=1") << "B" << "k" << QVariant("v")
        << QByteArray("[A]\nx=1\n\n[B]\nk=v\n") << "v";
    QTest::newRow("new section, crlf")
        << true << QByteArray("[A]\r\nx=1\r\n") << "B" << "k" << QVariant("v")
        << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n") << "v";
    QTest::newRow("new key, crlf")
        << true << QByteArray("[A]\r\nx=1") << "A" << "k" << QVariant("v")
        << QByteArray("[A]\r\nx=1\r\nk=v\r\n") << "v";
    QTest::newRow("empty file") << true << QByteArray() << "A" << "k" << QVariant("v")
                                << QByteArray("[A]\nk=v\n") << "v";
    QTest::newRow("new file") << false << QByteArray() << "Skin" << "useSkin" << QVariant("Neutral (internal)")
                              << QByteArray("[Skin]\nuseSkin=Neutral (internal)\n") << "Neutral (internal)";
    QTest::newRow("blanks and quotes unchanged")
        << true << QByteArray("[A]\nk=1\n") << "A" << "k" << QVariant("  \"q\" 'r'  ")
        << QByteArray("[A]\nk=  \"q\" 'r'  \n") << "\"q\" 'r'";
    QTest::newRow("quoted value unchanged")
        << true << QByteArray("[A]\nk=1\n") << "A" << "k" << QVariant("\"580\"")
        << QByteArray("[A]\nk=\"580\"\n") << "580";
    QTest::newRow("empty value") << true << QByteArray("[A]\nk=1\n") << "A" << "k" << QVariant("")
                                 << QByteArray("[A]\nk=\n") << "";
    QTest::newRow("line break ends value")
        << true << QByteArray("[A]\nk=1\n") << "A" << "k" << QVariant("a\r\n[B]\nk=2")
        << QByteArray("[A]\nk=a\n") << "a";
    QTest::newRow("cyrillic and chinese")
        << true << QByteArray("[Язык]\nk=1\n") << "ЯЗЫК" << "k" << QVariant("Пароль 密码")
        << QByteArray("[Язык]\nk=Пароль 密码\n") << "Пароль 密码";
    QTest::newRow("bool true") << true << QByteArray("[A]\nb=0\n") << "A" << "b" << QVariant(true)
                               << QByteArray("[A]\nb=1\n") << "1";
    QTest::newRow("bool false") << true << QByteArray("[A]\nb=yes\n") << "A" << "b" << QVariant(false)
                                << QByteArray("[A]\nb=0\n") << "0";
}

void tst_IniFile::write()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, after);
    QFETCH(QString, readBack);

    if (exists)
        QVERIFY(writeAll(file(), before));
    IniFile ini(file());
    if (value.typeId() == QMetaType::Bool)
        ini.writeBool(section, key, value.toBool());
    else
        ini.writeString(section, key, value.toString());

    QCOMPARE(readAll(file()), after);
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")), readBack);
    // Nothing left beside the file.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("Setting.ini")});
}

void tst_IniFile::writeKeepsPermissions()
{
    QVERIFY(writeAll(file(), "[A]\nk=1\n"));
    const auto perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(file(), perms));
    IniFile(file()).writeString("A", "k", "2");
    QCOMPARE(readAll(file()), QByteArray("[A]\nk=2\n"));
    QCOMPARE(QFile::permissions(file()) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), perms);
}

void tst_IniFile::encodings_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QByteArray>("bom");
    QTest::addColumn<QString>("eol");

    QTest::newRow("utf-8") << "utf8.ini" << QByteArray() << "\n";
    QTest::newRow("utf-8 bom") << "utf8_bom.ini" << utf8Bom << "\n";
    QTest::newRow("utf-16le bom crlf") << "utf16le_bom_crlf.ini" << utf16LeBom << "\r\n";
}

void tst_IniFile::encodings()
{
    QFETCH(QString, fixture);
    QFETCH(QByteArray, bom);
    QFETCH(QString, eol);

    QVERIFY(QFile::copy(QStringLiteral(VIDMO_TEST_DATA "/ini/") + fixture, file()));
    QVERIFY(QFile::setPermissions(file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    IniFile ini(file());

    // The first section sits right after the mark, so a mark left in the
    // text would hide it.
    QCOMPARE(ini.readString("language", "uselanguage", "d"), QStringLiteral("Русский [Ru]"));
    QCOMPARE(ini.readString("FAVORITE", "fa", "d"), QStringLiteral("ОРТ"));
    QCOMPARE(ini.readString("Favorite", "fb", "d"), QStringLiteral("中央电视台"));

    ini.writeString("Language", "useLanguage", QStringLiteral("中文 [Zh]"));
    ini.writeString("Favorite", "fc", QStringLiteral("Первый канал"));
    ini.writeString("Новый", "ключ", QStringLiteral("значение"));

    const QByteArray bytes = readAll(file());
    QVERIFY(bytes.startsWith(bom));
    const bool utf16 = bom == utf16LeBom;
    QStringDecoder decoder(utf16 ? QStringDecoder::Utf16LE : QStringDecoder::Utf8,
                           QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(bytes.sliced(bom.size()));
    QVERIFY(!decoder.hasError());
    text.replace(eol, QStringLiteral("\n"));
    QVERIFY(!text.contains(u'\r'));
    QCOMPARE(text, QStringLiteral("[Language]\nuseLanguage=中文 [Zh]\n\n; 收藏夹\n[Favorite]\nfa=ОРТ\n"
                                  "fb=\"中央电视台\"\nfc=Первый канал\n\n[Новый]\nключ=значение\n"));

    QCOMPARE(ini.readString("LANGUAGE", "useLanguage", "d"), QStringLiteral("中文 [Zh]"));
    QCOMPARE(ini.readString("новый", "КЛЮЧ", "d"), QStringLiteral("значение"));
}

void tst_IniFile::writeFailure_data()
{
    QTest::addColumn<QString>("makeFile");
    QTest::addColumn<QString>("makeDir");
    QTest::addColumn<QString>("target");

    // Root ignores file modes, so each of these fails for a reason that holds
    // for root as well.
    QTest::newRow("directory missing") << "" << "" << "no-such-dir/./Setting.ini";
    QTest::newRow("directory is a file") << "plain" << "" << "plain/Setting.ini";
    QTest::newRow("path is a directory") << "" << "Setting.ini" << "Setting.ini";
    QTest::newRow("inside /proc") << "" << "" << "/proc/Setting.ini";
}

void tst_IniFile::writeFailure()
{
    QFETCH(QString, makeFile);
    QFETCH(QString, makeDir);
    QFETCH(QString, target);

    if (!makeFile.isEmpty())
        QVERIFY(writeAll(file(makeFile), "[A]\nk=1\n"));
    if (!makeDir.isEmpty())
        QVERIFY(QDir(m_dir->path()).mkdir(makeDir));
    const QString path = QDir::isAbsolutePath(target) ? target : m_dir->path() + u'/' + target;

    IniFile ini(path);
    QCOMPARE(failureOf([&] { ini.writeString("A", "k", "2"); }), "Unable to write to " + path);
    QCOMPARE(failureOf([&] { ini.writeBool("A", "k", true); }), "Unable to write to " + path);
    QCOMPARE(ini.readString("A", "k", "d"), QStringLiteral("d"));

    QStringList expected{makeFile, makeDir};
    expected.removeAll(QString());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), expected);
    if (!makeFile.isEmpty())
        QCOMPARE(readAll(file(makeFile)), QByteArray("[A]\nk=1\n"));
}

// A file-size limit makes writing the new content fail part way, as a full
// disk does: the old file must stay whole.
void tst_IniFile::failedWriteKeepsFile()
{
    QByteArray original("; settings\n[A]\nk=old\n[Pad]\n");
    for (int i = 0; i < 200; ++i)
        original += "p" + QByteArray::number(i) + "=" + QByteArray(40, 'z') + "\n";
    QVERIFY(writeAll(file(), original));

    IniFile ini(file());
    QString failure;
    {
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        // Else going past the limit kills the test.
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const auto restore = qScopeGuard([&] {
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
        });
        rlimit small = saved;
        small.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        failure = failureOf([&] { ini.writeString("A", "k", "new"); });
    }

    QCOMPARE(failure, "Unable to write to " + file());
    QCOMPARE(readAll(file()), original);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("Setting.ini")});
    QCOMPARE(ini.readString("A", "k", "d"), QStringLiteral("old"));
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"

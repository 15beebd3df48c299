// The settings window's creation: Setting.ini into the controls, the language
// file's texts onto both windows, proxy, stay-on-top and the advert page.

#include "app/skinengine.h"
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "languagefixture.h"
#include "settings/inifile.h"
#include "settings/tsettingform.h"
#include "testprogram.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QApplication>
#include <QTest>
#include <QToolButton>

using namespace vidmo;
using vidmo::test::TestProgram;

namespace {

QString tabCaption(TSettingForm *s, QWidget *page)
{
    return s->sPageControl1->tabText(s->sPageControl1->indexOf(page));
}

// The text a target of the language file shows, whatever kind of control it is.
QString shownText(QWidget *window, const QString &target)
{
    if (target.isEmpty())
        return window->windowTitle();
    QObject *o = window->findChild<QObject *>(target);
    if (!o)
        return QStringLiteral("<no %1>").arg(target);
    if (auto *b = qobject_cast<QAbstractButton *>(o))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(o))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(o))
        return g->title();
    if (auto *a = qobject_cast<QAction *>(o))
        return a->text();
    return QStringLiteral("<unknown kind>");
}

} // namespace

class TestSettingsLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noSettingsFile();
    void storedValues_data();
    void storedValues();
    void badPortReportedAndLoaderGoesOn();
    void proxy_data();
    void proxy();
    void languageChoice_data();
    void languageChoice();
    void textsFromLanguageFile();
    void missingLanguageFileShowsZero();
    void applyStoresShownCaption();
    void applyWriteFailure();
};

void TestSettingsLoader::noSettingsFile()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    p.start();
    TSettingForm *s = p.settings();

    QCOMPARE(p.ctx().skins->current(), QStringLiteral("Neutral (internal)"));
    QCOMPARE(s->sEdit1->text(), QStringLiteral("580"));
    QVERIFY(s->sCheckBox2->isChecked());
    QCOMPARE(s->sEdit5->text(), QStringLiteral("0"));
    QCOMPARE(s->sEdit6->text(), QStringLiteral("0"));
    QCOMPARE(s->sEdit2->text(), QStringLiteral("0"));
    QCOMPARE(s->sEdit3->text(), QStringLiteral("0"));
    QVERIFY(!s->sCheckBox1->isChecked());
    QCOMPARE(s->sEdit7->text(), QStringLiteral("Русский [Ru]"));
    QVERIFY(s->sRadioButton1->isChecked());
    QCOMPARE(QFileInfo(p.ctx().languageFile->path()).fileName(), QStringLiteral("Russian.lng"));
    QVERIFY(!isStayOnTop(p.form1()));
    QCOMPARE(p.http.proxyHost, QString());
    QCOMPARE(p.http.proxyPort, 0);
    QVERIFY(p.messageBox.shown.isEmpty());
    QCOMPARE(s->Chromium1->requestedAddress(), TestProgram::serverBase() + "/actual/reklama.php");
    // Nothing is written until a setting changes.
    QVERIFY(!QFileInfo::exists(p.settingsPath()));
    // The skin list shows every skin and no selection.
    QCOMPARE(s->sComboBox1->count(), 69);
    QCOMPARE(s->sComboBox1->currentIndex(), -1);
    QCOMPARE(s->sPageControl1->currentWidget(), s->sTabSheet1);
}

void TestSettingsLoader::storedValues_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("askPassword");
    QTest::addColumn<QString>("onTopText");
    QTest::addColumn<bool>("mainOnTop");
    QTest::addColumn<QString>("trayText");

    QTest::newRow("all set") << QByteArray("[Skin]\nuseSkin=Wood (internal)\n[SecretCode]\n"
                                           "useSecretCode=пароль 1\nSelectSecretCode=0\n"
                                           "[OnTop]\nuseOnTop=1\n[InTray]\nuseInTray=1\n")
                             << "Wood (internal)" << "пароль 1" << false << "1" << true << "1";
    // Right after another skin: the default must replace it on screen.
    QTest::newRow("unknown skin keeps the default")
        << QByteArray("[Skin]\nuseSkin=No Such Skin\n") << "Neutral (internal)" << "580" << true
        << "0" << false << "0";
    QTest::newRow("on top as a word") << QByteArray("[OnTop]\nuseOnTop=yes\n")
                                      << "Neutral (internal)" << "580" << true << "yes" << false
                                      << "0";
    QTest::newRow("case-insensitive names, hex boolean")
        << QByteArray("[secretcode]\nSELECTSECRETCODE=0x0\n[ontop]\nUSEONTOP=1\n")
        << "Neutral (internal)" << "580" << false << "1" << true << "0";
}

void TestSettingsLoader::storedValues()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, skin);
    QFETCH(QString, password);
    QFETCH(bool, askPassword);
    QFETCH(QString, onTopText);
    QFETCH(bool, mainOnTop);
    QFETCH(QString, trayText);

    TestProgram p;
    p.installShippedLanguageFiles();
    p.writeSettings(ini);
    p.start();
    TSettingForm *s = p.settings();
    QCOMPARE(p.ctx().skins->current(), skin);
    QCOMPARE(qApp->styleSheet(), p.ctx().skins->styleSheet(skin)); // on screen too
    QCOMPARE(s->sEdit1->text(), password);
    QCOMPARE(s->sCheckBox2->isChecked(), askPassword);
    QCOMPARE(s->sEdit5->text(), onTopText);
    QCOMPARE(isStayOnTop(p.form1()), mainOnTop);
    QVERIFY(!isStayOnTop(s)); // the settings window keeps its normal style
    QCOMPARE(s->sEdit6->text(), trayText);
    QCOMPARE(p.readSettings(), ini); // loading writes nothing
}

void TestSettingsLoader::badPortReportedAndLoaderGoesOn()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    p.writeSettings("[Proxy]\nuseIP=127.0.0.1\nusePort=80a\nuseProxy=1\n[OnTop]\nuseOnTop=1\n");
    p.start();
    QCOMPARE(p.messageBox.shown, QStringList{QStringLiteral("''80a'' is not a valid integer value")});
    QCOMPARE(p.http.proxyHost, QStringLiteral("127.0.0.1"));
    QCOMPARE(p.http.proxyPort, -1); // never set
    // Stay-on-top and the advert page still follow the bad port.
    QVERIFY(isStayOnTop(p.form1()));
    QCOMPARE(p.settings()->Chromium1->requestedAddress(),
             TestProgram::serverBase() + "/actual/reklama.php");
}

void TestSettingsLoader::proxy_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");

    QTest::newRow("used") << QByteArray("[Proxy]\nuseIP=127.0.0.2\nusePort=3128\nuseProxy=1\n")
                          << "127.0.0.2" << 3128;
    QTest::newRow("not used: port only")
        << QByteArray("[Proxy]\nuseIP=127.0.0.2\nusePort=3128\nuseProxy=0\n") << "" << 3128;
    QTest::newRow("used with default host")
        << QByteArray("[Proxy]\nuseProxy=1\n") << "0" << 0;
}

void TestSettingsLoader::proxy()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, host);
    QFETCH(int, port);
    TestProgram p;
    p.installShippedLanguageFiles();
    p.writeSettings(ini);
    p.start();
    QCOMPARE(p.http.proxyHost, host);
    QCOMPARE(p.http.proxyPort, port);
    QVERIFY(p.messageBox.shown.isEmpty());
}

void TestSettingsLoader::languageChoice_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("ticked");

    QTest::newRow("none") << QByteArray() << "Russian.lng" << 0;
    QTest::newRow("Ukrainian") << QByteArray("[Language]\nuseLanguage=Украинский [Ua]\n")
                               << "Ukraine.lng" << 1;
    QTest::newRow("English") << QByteArray("[Language]\nuseLanguage=Английский [En]\n")
                             << "England.lng" << 2;
    QTest::newRow("Belarusian") << QByteArray("[Language]\nuseLanguage=Белорусский [Blr]\n")
                                << "Belarusian.lng" << 3;
    QTest::newRow("Chinese") << QByteArray("[Language]\nuseLanguage=Китайский [Chi]\n")
                             << "Chinese.lng" << 4;
    QTest::newRow("unknown name") << QByteArray("[Language]\nuseLanguage=English\n")
                                  << "Russian.lng" << 0;
    QTest::newRow("other case is another name")
        << QByteArray("[Language]\nuseLanguage=английский [En]\n") << "Russian.lng" << 0;
}

void TestSettingsLoader::languageChoice()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, file);
    QFETCH(int, ticked);
    TestProgram p;
    p.installShippedLanguageFiles();
    p.writeSettings(ini);
    p.start();
    QCOMPARE(QFileInfo(p.ctx().languageFile->path()).fileName(), file);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(p.settings()->languageButton(i)->isChecked(), i == ticked);
}

void TestSettingsLoader::textsFromLanguageFile()
{
    TestProgram p;
    p.writeLanguageFile(QStringLiteral("Russian.lng"), test::taggedLanguageFile());
    p.start();
    TForm1 *m = p.form1();
    TSettingForm *s = p.settings();

    struct Expect
    {
        QWidget *window;
        const char *target;
        const char *text;
    };
    const Expect captions[] = {
        {s, "", "Settings.SettingsForm"},
        {m, "sBitBtn1", "Category.public"}, {m, "sBitBtn2", "Category.radio"},
        {m, "sBitBtn3", "Category.music"}, {m, "sBitBtn4", "Category.entertainment"},
        {m, "sBitBtn5", "Category.Research"}, {m, "sBitBtn6", "Category.Sport"},
        {m, "sBitBtn7", "Category.movie"}, {m, "sBitBtn8", "Category.Cartoons"},
        {m, "sBitBtn9", "Category.Records"}, {m, "sBitBtn44", "Category.foreign"},
        {m, "sBitBtn45", "Category.back"},
        {s, "sRadioGroup1", "Settings.minimizeapplication"},
        {s, "sRadioGroup2", "Settings.Closedsection"}, {s, "sRadioGroup3", "Settings.design"},
        {s, "sRadioGroup4", "Settings.Ontop"}, {s, "sBitBtn8", "Settings.Inthesystemtray"},
        {s, "sBitBtn9", "Settings.IntheTaskbar"}, {s, "sBitBtn10", "Settings.turnon"},
        {s, "sBitBtn11", "Settings.turnoff"}, {s, "sLabel1", "Settings.ip"},
        {s, "sLabel2", "Settings.port"}, {s, "sCheckBox1", "Settings.Useproxysettings"},
        {s, "sBitBtn1", "Settings.Savetheconnectionsettings"},
        {s, "sLabel3", "Settings.Closetheprogramafter"}, {s, "sLabel4", "Settings.minutes"},
        {s, "sBitBtn2", "Settings.confirm"}, {s, "sLabel11", "Settings.Theprogramwillbeclosedafter"},
        {s, "sLabel13", "Settings.seconds"}, {s, "sButton2", "Settings.reset"},
        {s, "sLabel5", "Settings.ToviewtheTVchannelsyouneed"},
        {s, "sLabel6", "Settings.AdobeFlashPlayerforInternetExplorer"},
        {s, "sBitBtn4", "Settings.Install"}, {s, "sBitBtn6", "Settings.Install"},
        {s, "sBitBtn7", "Settings.Install"}, {s, "sBitBtn12", "Settings.Help"},
        {s, "sBitBtn13", "Settings.Download"}, {s, "sLabel15", "Settings.Yourversion"},
        {s, "sLabel14", "Settings.Crucialversion"}, {s, "sLabel16", "Settings.StatusDownloads"},
        {s, "sBitBtn14", "Settings.confirm"}, {s, "sRadioButton1", "Settings.Russian"},
        {s, "sRadioButton2", "Settings.Ukrainian"}, {s, "sRadioButton3", "Settings.English"},
        {s, "sRadioButton4", "Settings.Belarusian"}, {s, "sRadioButton5", "Settings.Chinese"},
        {s, "sCheckBox2", "Settings.usethepassword"}, {m, "N1", "Message.AddtoFavorites"},
        // Texts without a key keep their design text.
        {s, "sRadioGroup5", "Язык программы"}, {s, "sButton1", "ОК"}, {s, "sBitBtn15", "Выход"},
        {s, "sButton3", "32 Бит"}, {s, "sBitBtn5", "64 Бит"}, {s, "sLabel7", "Windows Media Player"},
        {s, "sLabel9", "Microsoft Silverlight"}, {s, "sLabel10", "VLC media player v.1.0.5"},
        {s, "sLabel17", "2.4"}, {s, "sLabel18", "0"}, {s, "sLabel12", "0000000"},
        {s, "sButton4", "Проверить"},
    };
    for (const Expect &e : captions)
        QCOMPARE(shownText(e.window, QString::fromLatin1(e.target)), QString::fromUtf8(e.text));

    const std::pair<QWidget *, const char *> tabs[] = {
        {s->sTabSheet1, "Settings.About"}, {s->sTabSheet2, "Settings.Setting"},
        {s->sTabSheet3, "Settings.noVideo"}, {s->sTabSheet4, "Settings.proxySetting"},
        {s->sTabSheet5, "Settings.updates"}, {s->sTabSheet6, "Settings.timer"},
        {s->sTabSheet7, "Settings.language"},
    };
    for (const auto &[page, text] : tabs)
        QCOMPARE(tabCaption(s, page), QString::fromLatin1(text));

    const std::pair<int, const char *> hints[] = {
        {1, "Hint.Settings"}, {2, "Settings.turnoff"}, {3, "Hint.TVProgram"},
        {4, "Hint.Closedsection"}, {5, "Hint.favorites"}, {6, "Hint.Donations"},
        {7, "Помощь"}, {8, ""}, {9, ""},
    };
    for (const auto &[n, text] : hints)
        QCOMPARE(m->sSpeedButton(n)->toolTip(), QString::fromUtf8(text));
}

void TestSettingsLoader::missingLanguageFileShowsZero()
{
    TestProgram p; // no language files at all
    p.start();
    TForm1 *m = p.form1();
    TSettingForm *s = p.settings();
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 44, 45})
        QCOMPARE(m->sBitBtn(n)->text(), QStringLiteral("0"));
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(m->sSpeedButton(n)->toolTip(), QStringLiteral("0"));
    QCOMPARE(m->N1->text(), QStringLiteral("0"));
    QCOMPARE(s->windowTitle(), QStringLiteral("0"));
    for (int i = 0; i < s->sPageControl1->count(); ++i)
        QCOMPARE(s->sPageControl1->tabText(i), QStringLiteral("0"));
    QCOMPARE(s->sRadioButton3->text(), QStringLiteral("0"));
    QCOMPARE(s->sBitBtn15->text(), QStringLiteral("Выход"));
    QCOMPARE(p.ctx().lang(QStringLiteral("Message"), QStringLiteral("changes")), QStringLiteral("0"));
}

void TestSettingsLoader::applyStoresShownCaption()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    p.writeSettings("[Language]\nuseLanguage=Китайский [Chi]\n");
    p.start();
    TSettingForm *s = p.settings();
    const QString titleBefore = s->windowTitle();
    s->sRadioButton3->setChecked(true);
    s->sBitBtn14->click();

    IniFile ini(p.settingsPath());
    QCOMPARE(ini.readString(QStringLiteral("Language"), QStringLiteral("useLanguage"), QString()),
             QStringLiteral("Английский [En]"));
    // The message comes from the file in use; nothing on screen changes.
    QCOMPARE(p.messageBox.shown,
             QStringList{p.ctx().lang(QStringLiteral("Message"), QStringLiteral("changes"))});
    QVERIFY(p.messageBox.shown.first() != QStringLiteral("0"));
    QCOMPARE(s->windowTitle(), titleBefore);
    QCOMPARE(QFileInfo(p.ctx().languageFile->path()).fileName(), QStringLiteral("Chinese.lng"));

    // The next start opens the English file.
    TestProgram next;
    next.installShippedLanguageFiles();
    next.writeSettings(p.readSettings());
    next.start();
    QCOMPARE(QFileInfo(next.ctx().languageFile->path()).fileName(), QStringLiteral("England.lng"));
}

void TestSettingsLoader::applyWriteFailure()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    // A directory where Setting.ini should be: reads give defaults, writes fail
    // (even for root, unlike a read-only mode).
    QVERIFY(QDir().mkpath(p.settingsPath()));
    p.start();
    p.settings()->sBitBtn14->click();
    QCOMPARE(p.messageBox.shown, QStringList{"Unable to write to " + p.settingsPath()});
    QVERIFY(QFileInfo(p.settingsPath()).isDir());
}

QTEST_MAIN(TestSettingsLoader)
#include "tst_settingsloader.moc"

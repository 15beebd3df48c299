// The settings window's handlers: what each stores in Setting.ini, which
// buttons it switches, what it shows, and what it opens.

#include "app/skinengine.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "favorites/tfavoriteform.h"
#include "settings/tsettingform.h"
#include "testprogram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace vidmo;
using vidmo::test::TestProgram;

using Action = std::function<void(TSettingForm *)>;
Q_DECLARE_METATYPE(Action)

namespace {

Action clicks(QStringList names)
{
    return [names](TSettingForm *s) {
        for (const QString &n : names)
            s->findChild<QPushButton *>(n)->click();
    };
}

Action chooseSkin(const QString &name)
{
    return [name](TSettingForm *s) {
        const int index = s->sComboBox1->findText(name);
        s->sComboBox1->setCurrentIndex(index);
        Q_EMIT s->sComboBox1->activated(index);
    };
}

Action changePassword(const QString &oldText, const QString &newText, bool ask)
{
    return [=](TSettingForm *s) {
        if (!oldText.isNull())
            s->sEdit8->setText(oldText);
        s->sEdit1->setText(newText);
        s->sCheckBox2->setChecked(ask);
        s->sButton1->click();
    };
}

Action saveProxy(const QString &host, const QString &port, bool use)
{
    return [=](TSettingForm *s) {
        s->sEdit2->setText(host);
        s->sEdit3->setText(port);
        s->sCheckBox1->setChecked(use);
        s->sBitBtn1->click();
    };
}

QStringList disabledSwitches(TSettingForm *s)
{
    QStringList off;
    for (QPushButton *b : {s->sBitBtn8, s->sBitBtn9, s->sBitBtn10, s->sBitBtn11}) {
        if (!b->isEnabled())
            off << b->objectName();
    }
    return off;
}

} // namespace

class TestSettingsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handlers_data();
    void handlers();
    void clickIntoOldPassword_data();
    void clickIntoOldPassword();
    void componentPages_data();
    void componentPages();
    void closingOnlyHides();
    void aboutPicture();
};

void TestSettingsWindow::handlers_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("unwritable");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QByteArray>("file");        // Setting.ini afterwards
    QTest::addColumn<QStringList>("messages");   // [Message] keys; "unable" for the write error
    QTest::addColumn<QStringList>("disabled");   // of the minimise and stay-on-top buttons
    QTest::addColumn<bool>("onTop");             // both windows
    QTest::addColumn<QString>("skin");

    const QString neutral = QStringLiteral("Neutral (internal)");
    const QString wood = QStringLiteral("Wood (internal)");
    const QByteArray secret = "[SecretCode]\nuseSecretCode=Secret\n";
    const QByteArray proxy = "[Proxy]\nuseIP=1.2.3.4\nusePort=8080\nuseProxy=1\n";

    QTest::newRow("skin") << QByteArray() << false << chooseSkin(wood)
                          << QByteArray("[Skin]\nuseSkin=Wood (internal)\n") << QStringList()
                          << QStringList() << false << wood;
    QTest::newRow("skin over a stored one")
        << QByteArray("[Skin]\nuseSkin=Acryl (internal)\n[OnTop]\nuseOnTop=0\n") << false
        << chooseSkin(wood) << QByteArray("[Skin]\nuseSkin=Wood (internal)\n[OnTop]\nuseOnTop=0\n")
        << QStringList() << QStringList() << false << wood;
    QTest::newRow("on top") << QByteArray() << false << clicks({"sBitBtn10"})
                            << QByteArray("[OnTop]\nuseOnTop=1\n") << QStringList()
                            << QStringList{"sBitBtn10"} << true << neutral;
    QTest::newRow("on top, then off")
        << QByteArray() << false << clicks({"sBitBtn10", "sBitBtn11"})
        << QByteArray("[OnTop]\nuseOnTop=0\n") << QStringList() << QStringList{"sBitBtn11"}
        << false << neutral;
    QTest::newRow("off while stored on")
        << QByteArray("[OnTop]\nuseOnTop=1\n") << false << clicks({"sBitBtn11"})
        << QByteArray("[OnTop]\nuseOnTop=0\n") << QStringList() << QStringList{"sBitBtn11"}
        << false << neutral;
    QTest::newRow("to tray") << QByteArray() << false << clicks({"sBitBtn8"})
                             << QByteArray("[InTray]\nuseInTray=1\n") << QStringList()
                             << QStringList{"sBitBtn8"} << false << neutral;
    QTest::newRow("to tray, then task bar")
        << QByteArray() << false << clicks({"sBitBtn8", "sBitBtn9"})
        << QByteArray("[InTray]\nuseInTray=0\n") << QStringList() << QStringList{"sBitBtn9"}
        << false << neutral;

    QTest::newRow("password: default 580 known")
        << QByteArray() << false << changePassword("580", "новый", false)
        << QByteArray("[SecretCode]\nuseSecretCode=новый\nSelectSecretCode=0\n")
        << QStringList{"changes"} << QStringList() << false << neutral;
    QTest::newRow("password: stored one known")
        << secret << false << changePassword("Secret", "пароль 2", true)
        << QByteArray("[SecretCode]\nuseSecretCode=пароль 2\nSelectSecretCode=1\n")
        << QStringList{"changes"} << QStringList() << false << neutral;
    QTest::newRow("password: wrong old") << secret << false << changePassword("580", "x", true)
                                         << secret << QStringList{"ErrorSecretCode"}
                                         << QStringList() << false << neutral;
    QTest::newRow("password: letter case counts")
        << secret << false << changePassword("secret", "x", true) << secret
        << QStringList{"ErrorSecretCode"} << QStringList() << false << neutral;
    QTest::newRow("password: none stored, old typed as the new one")
        << QByteArray() << false << changePassword("abc", "abc", true) << QByteArray()
        << QStringList{"ErrorSecretCode"} << QStringList() << false << neutral;
    QTest::newRow("password: prompt left in the box")
        << QByteArray() << false << changePassword(QString(), "x", true) << QByteArray()
        << QStringList{"ErrorSecretCode"} << QStringList() << false << neutral;

    QTest::newRow("proxy on: stored as typed")
        << QByteArray() << false << saveProxy("10.0.0.1", "80 80", true)
        << QByteArray("[Proxy]\nuseIP=10.0.0.1\nusePort=80 80\nuseProxy=1\n")
        << QStringList{"changes"} << QStringList() << false << neutral;
    QTest::newRow("proxy off: host and port stay")
        << proxy << false << saveProxy("9.9.9.9", "1", false)
        << QByteArray("[Proxy]\nuseIP=1.2.3.4\nusePort=8080\nuseProxy=0\n")
        << QStringList{"changes"} << QStringList() << false << neutral;

    // Setting.ini cannot be written: the handler ends at the failed write,
    // what it did before stays.
    QTest::newRow("unwritable: skin") << QByteArray() << true << chooseSkin(wood) << QByteArray()
                                      << QStringList{"unable"} << QStringList() << false << wood;
    QTest::newRow("unwritable: on top")
        << QByteArray() << true << clicks({"sBitBtn10"}) << QByteArray() << QStringList{"unable"}
        << QStringList{"sBitBtn10"} << true << neutral;
    QTest::newRow("unwritable: to tray")
        << QByteArray() << true << clicks({"sBitBtn8"}) << QByteArray() << QStringList{"unable"}
        << QStringList() << false << neutral;
    QTest::newRow("unwritable: password")
        << QByteArray() << true << changePassword("580", "x", true) << QByteArray()
        << QStringList{"unable"} << QStringList() << false << neutral;
    QTest::newRow("unwritable: proxy") << QByteArray() << true << saveProxy("h", "1", true)
                                       << QByteArray() << QStringList{"unable"} << QStringList()
                                       << false << neutral;
}

void TestSettingsWindow::handlers()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, unwritable);
    QFETCH(Action, action);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, disabled);
    QFETCH(bool, onTop);
    QFETCH(QString, skin);

    TestProgram p;
    p.installShippedLanguageFiles();
    if (!ini.isEmpty())
        p.writeSettings(ini);
    // A directory in its place: writes fail, even for root.
    if (unwritable)
        QVERIFY(QDir().mkpath(p.settingsPath()));
    p.start();
    TSettingForm *s = p.settings();
    const QString tray = s->sEdit6->text();
    const QString proxyHost = p.http.proxyHost;
    const int proxyPort = p.http.proxyPort;

    action(s);

    if (unwritable)
        QVERIFY(QFileInfo(p.settingsPath()).isDir());
    else
        QCOMPARE(QString::fromUtf8(p.readSettings()), QString::fromUtf8(file));
    QStringList expected;
    for (const QString &key : messages) {
        expected << (key == "unable" ? "Unable to write to " + p.settingsPath()
                                     : p.ctx().lang("Message", key));
    }
    QCOMPARE(p.messageBox.shown, expected);
    QCOMPARE(disabledSwitches(s), disabled);
    QCOMPARE(isStayOnTop(s), onTop);
    QCOMPARE(isStayOnTop(p.form1()), onTop);
    QVERIFY(!isStayOnTop(p.ctx().windows.FavoriteForm));
    QCOMPARE(p.ctx().skins->current(), skin);
    // Acting from the next start only: the loaded mode and the client's proxy stay.
    QCOMPARE(s->sEdit6->text(), tray);
    QCOMPARE(p.http.proxyHost, proxyHost);
    QCOMPARE(p.http.proxyPort, proxyPort);
}

void TestSettingsWindow::clickIntoOldPassword_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("prompt") << "Старый пароль" << "";
    QTest::newRow("prompt with a blank") << "Старый пароль " << "Старый пароль ";
    QTest::newRow("typed text") << "580" << "580";
}

void TestSettingsWindow::clickIntoOldPassword()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    TestProgram p;
    p.installShippedLanguageFiles();
    p.start();
    TSettingForm *s = p.settings();
    s->show();
    s->sPageControl1->setCurrentWidget(s->sTabSheet2);
    s->sEdit8->setText(before);
    QTest::mouseClick(s->sEdit8, Qt::LeftButton);
    QCOMPARE(s->sEdit8->text(), after);
}

void TestSettingsWindow::componentPages_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("address");
    const QString server = TestProgram::serverBase();
    QTest::newRow("Flash 32") << "sButton3" << server + "/data/install_flash_player_32bit.exe";
    QTest::newRow("Flash 64") << "sBitBtn5" << server + "/data/install_flash_player_64bit.exe";
    QTest::newRow("Media Player")
        << "sBitBtn4"
        << "http://wmp-plugin-maker.example/windows-media-player-firefox-plugin-download";
    QTest::newRow("Silverlight")
        << "sBitBtn6" << "http://www.microsoft.com/getsilverlight/Get-Started/Install/Default.aspx";
    QTest::newRow("VLC") << "sBitBtn7" << server + "/data/vlc-1.0.5-win32.exe";
    QTest::newRow("help") << "sBitBtn12" << server + "/page6.php";
}

void TestSettingsWindow::componentPages()
{
    QFETCH(QString, button);
    QFETCH(QString, address);
    TestProgram p;
    p.installShippedLanguageFiles();
    p.start();
    p.settings()->findChild<QPushButton *>(button)->click();
    QCOMPARE(p.shell.opened, QStringList{address});
    QVERIFY(p.messageBox.shown.isEmpty());
}

void TestSettingsWindow::closingOnlyHides()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    p.start();
    TSettingForm *s = p.settings();
    QSignalSpy mainClosed(p.form1(), &TForm1::closed);
    s->sPageControl1->setCurrentWidget(s->sTabSheet6);
    s->sEdit4->setText("12");

    const std::pair<const char *, Action> ways[] = {
        {"Выход", [](TSettingForm *w) { w->sBitBtn15->click(); }},
        {"Esc", [](TSettingForm *w) { QTest::keyClick(w, Qt::Key_Escape); }},
        {"close box", [](TSettingForm *w) { w->close(); }},
    };
    for (const auto &[name, close] : ways) {
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        close(s);
        QVERIFY2(s->isHidden(), name);
    }
    // Shown again as it was left.
    s->show();
    QCOMPARE(s->sPageControl1->currentWidget(), s->sTabSheet6);
    QCOMPARE(s->sEdit4->text(), QStringLiteral("12"));
    QCOMPARE(mainClosed.count(), 0);
}

void TestSettingsWindow::aboutPicture()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    p.start();
    const QPixmap picture = p.settings()->Image1->pixmap();
    QCOMPARE(picture.size(), QSize(484, 330));
    // Drawn, not a blank fill.
    const QImage image = picture.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 20);
}

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"

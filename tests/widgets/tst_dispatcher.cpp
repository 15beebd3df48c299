// StartTVButtonClick over the channel catalogue: what each kind of row does
// to the views, the radio, the windows and the shell, and its one guard.
#include "app/failure.h"
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "testprogram.h"
#include "web/tbrowser2form.h"
#include "web/tkorbinaform.h"
#include "web/tnarkomtvform.h"
#include "web/tovegoplayerform.h"
#include "web/ttvprogrammform.h"

#include <QPushButton>
#include <QTest>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::FakeWebView;
using vidmo::test::TestProgram;

namespace {

struct Program
{
    explicit Program(bool shippedLanguage = true)
    {
        if (shippedLanguage)
            p.installShippedLanguageFiles();
        p.start();
        f = p.form1();
        f->show();
        p.audio.onStreamCreate = [this](const QByteArray &url) {
            streams << url;
            if (failRadio)
                throw Failure(u"engine down"_s);
        };
        for (FakeWebView *v : p.webViews.views)
            v->calls.clear();
    }

    FakeWebView *view(IWebView *v) { return static_cast<FakeWebView *>(v); }
    FakeWebView *main() { return view(f->Chromium1); }
    FakeWebView *programme() { return view(p.ctx().windows.TVprogrammForm->WebBrowser1); }

    void choose(const QString &caption)
    {
        f->StartTVButton->setText(caption);
        f->StartTVButton->click();
    }
    QString local(const QString &path) const { return p.programDir() + path; }

    TestProgram p;
    TForm1 *f = nullptr;
    QList<QByteArray> streams;
    bool failRadio = false;
};

} // namespace

class TestDispatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kinds_data();
    void kinds();
    void outsideWindowTitleOnlyWhenItWasHidden();
    void programmeWindowShowsLastChoice();
    void closedSubPageKeyReadLive();
    void guardShowsOneMessage_data();
    void guardShowsOneMessage();
};

void TestDispatcher::kinds_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("mainView");   // "" nothing; "/…" server path; else local path
    QTest::addColumn<QString>("programme");  // local path, or "" for none
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QString>("window");     // objectName of the window shown, or ""
    QTest::addColumn<QString>("windowView"); // what its view got
    QTest::addColumn<QString>("shell");

    const QString none = u"channel/tv-program/noprogramm.html"_s;
    QTest::newRow("channel page") << u"ОРТ"_s << u"channel/public/ort.htm"_s
                                  << u"channel/tv-program/public/ort.htm"_s << QByteArray() << ""
                                  << "" << "";
    QTest::newRow("no programme") << u"Барашек Шон"_s << u"channel/mults/Shaun-Sheep.htm"_s << none
                                  << QByteArray() << "" << "" << "";
    QTest::newRow("trailing blank in path") << u"Европа плюс ТВ"_s << u"channel/music/europa+.htm "_s
                                            << none << QByteArray() << "" << "" << "";
    QTest::newRow("A-one") << u"A-one"_s << u"channel/music/a-one.htm"_s
                           << u"channel/tv-program/music/a-one.htm"_s << QByteArray() << "" << ""
                           << "";
    QTest::newRow("Retro") << u"Retro"_s << u"channel/music/retro.htm"_s << none << QByteArray()
                           << "" << "" << "";
    QTest::newRow("station") << u"Европа+"_s << u"channel/radio-program/europa.htm"_s << none
                             << QByteArray("http://europa.stream.example/store/public/europaplus64.m3u")
                             << "" << "" << "";
    QTest::newRow("station with blank") << u"Retro "_s << u"channel/radio-program/retro.htm"_s << none
                                        << QByteArray("http://retro.stream.example:8000/retro.m3u")
                                        << "" << "" << "";
    QTest::newRow("station on start page") << u"Зайцев ФМ"_s << u"/start8"_s << none
                                           << QByteArray("http://zaycev.stream.example:9001/ZaycevFM(128)")
                                           << "" << "" << "";
    QTest::newRow("radio page, no stream") << u"DFM"_s << u"channel/radio-program/dfm.htm"_s << none
                                           << QByteArray() << "" << "" << "";
    QTest::newRow("Korbina") << u" A-one "_s << u"/title/2.3.html"_s << none << QByteArray()
                             << "KorbinaForm" << u"load http://korbina.example/tv/aone"_s << "";
    QTest::newRow("Korbina with programme")
        << u"Дамский клуб"_s << u"/title/2.3.html"_s << u"channel/tv-program/entertainments/tdk.htm"_s
        << QByteArray() << "KorbinaForm" << u"load http://korbina.example/tv/tdk"_s << "";
    QTest::newRow("NarkomTV") << u"РусФильм"_s << u"/title/2.4.html"_s << none << QByteArray()
                              << "NarkomTVForm" << u"load http://narkomtv.example/rusfilm.html"_s << "";
    QTest::newRow("Ovego") << u"National Gegraphic"_s << u"/title/2.4.html"_s << none << QByteArray()
                           << "OvegoPlayerForm"
                           << u"load http://ovego.example/publ/live_tv/poznavatelnye/"
                              u"national_geographic_channel/8-1-0-37"_s
                           << "";
    QTest::newRow("SeeTV") << u"   КХЛ     Тест"_s << u"/title/2.3.html"_s << none << QByteArray()
                           << "Browser2Form" << u"navigate http://seetv.example/see/KHL_TV"_s << "";
    QTest::newRow("system browser") << u"2x2, ТНТ, СТС и др."_s << "" << none << QByteArray() << ""
                                    << "" << u"http://tv-listing.example/tv"_s;
    QTest::newRow("no such channel") << QString() << "" << "" << QByteArray() << "" << "" << "";
    QTest::newRow("look-alike of a key") << u"A-one "_s << "" << "" << QByteArray() << "" << "" << "";
}

void TestDispatcher::kinds()
{
    QFETCH(QString, caption);
    QFETCH(QString, mainView);
    QFETCH(QString, programme);
    QFETCH(QByteArray, stream);
    QFETCH(QString, window);
    QFETCH(QString, windowView);
    QFETCH(QString, shell);

    Program g;
    g.choose(caption);

    QStringList mainCalls;
    if (mainView.startsWith(u'/'))
        mainCalls << u"load "_s + TestProgram::serverBase() + mainView;
    else if (!mainView.isEmpty())
        mainCalls << u"load "_s + g.local(mainView);
    QCOMPARE(g.main()->calls, mainCalls);
    QCOMPARE(g.programme()->calls,
             programme.isEmpty() ? QStringList() : QStringList{u"navigate "_s + g.local(programme)});
    QCOMPARE(g.streams, stream.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{stream});
    QCOMPARE(g.p.shell.opened, shell.isEmpty() ? QStringList() : QStringList{shell});
    QVERIFY(g.p.messageBox.shown.isEmpty());

    const Windows &w = g.p.ctx().windows;
    const std::pair<QWidget *, IWebView *> outside[] = {
        {w.KorbinaForm, w.KorbinaForm->Chromium1},
        {w.NarkomTVForm, w.NarkomTVForm->Chromium1},
        {w.OvegoPlayerForm, w.OvegoPlayerForm->Chromium1},
        {w.Browser2Form, w.Browser2Form->SeeTVWebBrowser},
    };
    for (const auto &[form, view] : outside) {
        const bool chosen = form->objectName() == window;
        QCOMPARE(form->isVisible(), chosen);
        QCOMPARE(g.view(view)->calls, chosen ? QStringList{windowView} : QStringList());
    }
}

void TestDispatcher::outsideWindowTitleOnlyWhenItWasHidden()
{
    Program g;
    const QString title = u"load "_s + TestProgram::serverBase() + u"/title/2.3.html"_s;
    g.choose(u"Юмор ТВ"_s);
    g.choose(u"Bridge"_s); // same window, already shown
    QCOMPARE(g.main()->calls, QStringList{title});
    TKorbinaForm *korbina = g.p.ctx().windows.KorbinaForm;
    FakeWebView *site = g.view(korbina->Chromium1);
    QCOMPARE(site->calls, (QStringList{u"load http://korbina.example/tv/humor"_s,
                                       u"load http://korbina.example/tv/bridge"_s}));
    korbina->close();
    QVERIFY(korbina->isHidden());
    QCOMPARE(site->calls.last(), u"load about:blank"_s);
    g.choose(u"Bridge"_s);
    QVERIFY(korbina->isVisible());
    QCOMPARE(g.main()->calls, (QStringList{title, title}));
    QCOMPARE(site->calls.last(), u"load http://korbina.example/tv/bridge"_s);
}

void TestDispatcher::programmeWindowShowsLastChoice()
{
    Program g;
    TTVprogrammForm *programme = g.p.ctx().windows.TVprogrammForm;
    QVERIFY(programme->isHidden());
    g.choose(u"ОРТ"_s);
    g.choose(u"Европа+"_s);
    programme->show();
    QCOMPARE(programme->WebBrowser1->requestedAddress(),
             g.local(u"channel/tv-program/noprogramm.html"_s));
    g.choose(u"НТВ"_s);
    QCOMPARE(programme->WebBrowser1->requestedAddress(),
             g.local(u"channel/tv-program/public/ntv.htm"_s));
    QCOMPARE(programme->WebBrowser1->widget()->geometry(), QRect(0, 0, 564, 477));
}

void TestDispatcher::closedSubPageKeyReadLive()
{
    Program g;
    g.choose(u"Эротика"_s);
    QCOMPARE(g.f->sBitBtn(13)->text(), u"День студента"_s);

    // The language file changes on disk: the next test reads the new value.
    QFile lang(g.p.programDir() + u"Language/Russian.lng"_s);
    QVERIFY(lang.open(QIODevice::ReadOnly));
    QByteArray text = lang.readAll();
    lang.close();
    text.replace(u"Porn=Порно"_s.toUtf8(), u"Porn=Другое"_s.toUtf8());
    g.p.writeLanguageFile(u"Russian.lng"_s, text);
    g.choose(u"Порно"_s);
    QCOMPARE(g.f->sBitBtn(13)->text(), u"День студента"_s);
    g.choose(u"Другое"_s);
    QCOMPARE(g.f->sBitBtn(13)->text(), u"Porn-TV Teen"_s);
    QVERIFY(g.main()->calls.isEmpty());
    QVERIFY(g.programme()->calls.isEmpty());
}

void TestDispatcher::guardShowsOneMessage_data()
{
    QTest::addColumn<bool>("shipped");
    QTest::addColumn<QString>("message");
    QTest::newRow("shipped language file")
        << true << u"Не удалось запустить канал. Попробуйте ещё раз или выберите другой канал."_s;
    QTest::newRow("no language file") << false << u"0"_s;
}

void TestDispatcher::guardShowsOneMessage()
{
    QFETCH(bool, shipped);
    QFETCH(QString, message);
    Program g(shipped);
    g.failRadio = true;
    g.choose(u"Наше Радио"_s);
    QCOMPARE(g.p.messageBox.shown, QStringList{message});
    // What was done before the failure stays done.
    QCOMPARE(g.main()->calls, QStringList{u"load "_s + g.local(u"channel/radio-program/nashe-radio.htm"_s)});
    QCOMPARE(g.programme()->calls.size(), 1);
    QCOMPARE(g.streams.size(), 1);
    // The handler returned normally: the next choice works.
    g.failRadio = false;
    g.choose(u"ОРТ"_s);
    QCOMPARE(g.p.messageBox.shown.size(), 1);
    QCOMPARE(g.main()->calls.size(), 2);
}

QTEST_MAIN(TestDispatcher)
#include "tst_dispatcher.moc"

// The own-stations window: its layout, adding to the first free slot, the two
// messages, deleting, playing through Button1, and Setting.ini across a restart.
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "radio/tmyradioform.h"
#include "testprogram.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::TestProgram;

namespace {

const char Letters[] = "abcdefghi";

// [MyRadio] with the given slots (1..9) taken, "Name<k>" at "http://s<k>.example/".
QByteArray settingsWith(const QList<int> &taken)
{
    QByteArray ini = "[MyRadio]\r\n";
    for (int k : taken) {
        const char c = Letters[k - 1];
        ini += "MyRN" + QByteArray(1, c) + "=Name" + QByteArray::number(k) + "\r\n";
        ini += "MyR" + QByteArray(1, c) + "=http://s" + QByteArray::number(k) + ".example/\r\n";
    }
    return ini;
}

struct Own
{
    explicit Own(const QByteArray &settings = {})
    {
        p.installShippedLanguageFiles();
        if (!settings.isEmpty())
            p.writeSettings(settings);
        start();
    }

    void start()
    {
        p.start();
        f = p.form1();
        f->show();
        w = p.ctx().windows.MyRadioForm;
        f->sBitBtn(2)->click();
        f->sSpeedButton(14)->click();
        p.audio.calls.clear();
    }
    void restart()
    {
        p.stop();
        start();
    }

    QStringList captions() const
    {
        QStringList c;
        for (int k = 1; k <= TMyRadioForm::Slots; ++k)
            c << w->sBitBtn(k)->text();
        return c;
    }
    void add(const QString &name, const QString &url)
    {
        w->sEdit1->setText(name);
        w->sEdit2->setText(url);
        w->sBitBtn(10)->click();
    }
    // The pop-up menu's delete, as opened on button n.
    void remove(int n)
    {
        SkinButton *b = w->sBitBtn(n);
        Q_EMIT b->customContextMenuRequested(QPoint(2, 2));
        w->PopupMenu3->hide();
        w->N1->trigger();
    }
    QString stored(const char *key)
    {
        return p.ctx().settingsFile->readString(u"MyRadio"_s, QString::fromLatin1(key), u"<none>"_s);
    }

    TestProgram p;
    TForm1 *f = nullptr;
    TMyRadioForm *w = nullptr;
};

QStringList withSlots(const QList<int> &taken, const QHash<int, QString> &extra = {})
{
    QStringList c;
    for (int k = 1; k <= 9; ++k)
        c << (extra.contains(k) ? extra[k] : taken.contains(k) ? u"Name%1"_s.arg(k) : QString());
    return c;
}

} // namespace

class tst_myradio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout();
    void opensModallyWithStoredSlots();
    void addFillsFirstFreeSlot();
    void addRefused_data();
    void addRefused();
    void deleteFreesSlot();
    void deleteOnAddButtonDoesNothing();
    void slotPlaysThroughButton1_data();
    void slotPlaysThroughButton1();
    void survivesRestart();
    void clickIntoEditEmptiesIt();
};

void tst_myradio::layout()
{
    Own o;
    QCOMPARE(o.w->size(), QSize(229, 278));
    const int left[] = {15, 81, 147};
    const int top[] = {8, 48, 88};
    for (int k = 1; k <= 9; ++k)
        QCOMPARE(o.w->sBitBtn(k)->geometry(), QRect(left[(k - 1) % 3], top[(k - 1) / 3], 64, 38));
    QCOMPARE(o.w->sBitBtn(10)->geometry(), QRect(70, 240, 100, 25));
    QCOMPARE(o.w->sBitBtn(10)->text(), u"Добавить"_s);
    QCOMPARE(o.w->sLabel1->text(), u"Название радиостанции"_s);
    QCOMPARE(o.w->sLabel1->pos(), QPoint(55, 144));
    QCOMPARE(o.w->sLabel2->text(), u"Ссылка на радиостанцию"_s);
    QCOMPARE(o.w->sLabel2->pos(), QPoint(50, 190));
    QCOMPARE(o.w->sEdit1->geometry(), QRect(15, 160, 196, 21));
    QCOMPARE(o.w->sEdit2->geometry(), QRect(15, 210, 196, 21));
    QCOMPARE(o.w->N1->text(), u"Удалить радиостанцию"_s);
    QVERIFY(o.w->windowTitle().isEmpty());
}

void tst_myradio::opensModallyWithStoredSlots()
{
    // An empty name with an address still counts as free.
    Own o(settingsWith({1, 3}) + "MyRNb=\r\nMyRb=http://orphan.example/\r\n");
    QVERIFY(!o.w->isHidden());
    QCOMPARE(o.w->windowModality(), Qt::ApplicationModal);
    QCOMPARE(o.captions(), withSlots({1, 3}));
    QCOMPARE(o.w->MyRadioUrls[0], u"http://s1.example/"_s);
    QCOMPARE(o.w->MyRadioUrls[1], u"http://orphan.example/"_s);
    o.add(u"New"_s, u"http://new.example/"_s);
    QCOMPARE(o.captions(), withSlots({1, 3}, {{2, u"New"_s}}));
}

void tst_myradio::addFillsFirstFreeSlot()
{
    QList<int> taken{1, 3, 4, 6, 7, 8, 9}; // 2 and 5 free
    Own o(settingsWith(taken));
    o.add(u"Jazz"_s, u"http://jazz.example/"_s);
    o.add(u"Rock"_s, u"http://rock.example/"_s);
    QCOMPARE(o.captions(), withSlots(taken, {{2, u"Jazz"_s}, {5, u"Rock"_s}}));
    QCOMPARE(o.w->MyRadioUrls[1], u"http://jazz.example/"_s);
    QCOMPARE(o.w->MyRadioUrls[4], u"http://rock.example/"_s);
    QCOMPARE(o.stored("MyRNb"), u"Jazz"_s);
    QCOMPARE(o.stored("MyRb"), u"http://jazz.example/"_s);
    QCOMPARE(o.stored("MyRNe"), u"Rock"_s);
    QCOMPARE(o.stored("MyRe"), u"http://rock.example/"_s);
    // The edits keep their text.
    QCOMPARE(o.w->sEdit1->text(), u"Rock"_s);
    QCOMPARE(o.w->sEdit2->text(), u"http://rock.example/"_s);
    QCOMPARE(o.p.messageBox.shown, QStringList{});
}

void tst_myradio::addRefused_data()
{
    QTest::addColumn<QList<int>>("taken");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("message");
    const QList<int> all{1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("no name") << QList<int>{} << QString() << u"http://x.example/"_s
                             << TMyRadioForm::fieldsMissingText();
    QTest::newRow("no address") << QList<int>{} << u"X"_s << QString() << TMyRadioForm::fieldsMissingText();
    QTest::newRow("neither, all slots taken") << all << QString() << QString()
                                              << TMyRadioForm::fieldsMissingText();
    QTest::newRow("all slots taken") << all << u"X"_s << u"http://x.example/"_s << TMyRadioForm::noFreeSlotText();
}

void tst_myradio::addRefused()
{
    QFETCH(QList<int>, taken);
    QFETCH(QString, name);
    QFETCH(QString, url);
    QFETCH(QString, message);
    Own o(settingsWith(taken));
    const QByteArray file = o.p.readSettings();
    o.add(name, url);
    QCOMPARE(o.p.messageBox.shown, QStringList{message});
    QCOMPARE(o.captions(), withSlots(taken));
    QCOMPARE(o.p.readSettings(), file);
}

void tst_myradio::deleteFreesSlot()
{
    Own o(settingsWith({1, 2, 3}));
    o.remove(2);
    QCOMPARE(o.captions(), withSlots({1, 3}));
    // Both keys stay, empty.
    QCOMPARE(o.stored("MyRNb"), QString());
    QCOMPARE(o.stored("MyRb"), QString());
    QVERIFY(o.p.readSettings().contains("MyRNb=\r\n"));
    QVERIFY(o.p.readSettings().contains("MyRb=\r\n"));
    // The emptied slot no longer plays the deleted station.
    o.w->sBitBtn(2)->click();
    QCOMPARE(o.f->RadioStream, 0u);
    QVERIFY(!o.p.audio.calls.join(u'\n').contains(u"s2.example"_s));
    // It is free at once.
    o.add(u"Back"_s, u"http://back.example/"_s);
    QCOMPARE(o.captions(), withSlots({1, 3}, {{2, u"Back"_s}}));
}

void tst_myradio::deleteOnAddButtonDoesNothing()
{
    Own o(settingsWith({1}));
    const QByteArray file = o.p.readSettings();
    o.remove(10);
    QCOMPARE(o.captions(), withSlots({1}));
    QCOMPARE(o.w->sBitBtn(10)->text(), u"Добавить"_s);
    QCOMPARE(o.p.readSettings(), file);
}

void tst_myradio::slotPlaysThroughButton1_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("url"); // empty: nothing plays
    QTest::newRow("first slot") << 1 << u"http://s1.example/"_s;
    QTest::newRow("last slot") << 9 << u"http://s9.example/"_s;
    QTest::newRow("empty slot") << 4 << QString();
}

void tst_myradio::slotPlaysThroughButton1()
{
    QFETCH(int, slot);
    QFETCH(QString, url);
    Own o(settingsWith({1, 9}));
    o.f->StartRadioStream("http://playing.example/");
    const quint32 playing = o.f->RadioStream;
    o.p.audio.calls.clear();
    bool viaButton1 = false;
    QObject::connect(o.f->Button1, &QPushButton::clicked, [&] { viaButton1 = true; });
    o.w->sBitBtn(slot)->click();
    QVERIFY(viaButton1);
    QCOMPARE(o.f->MyRadioUrl, url);
    QCOMPARE(o.p.audio.calls.value(0), u"StreamFree %1"_s.arg(playing));
    QCOMPARE(o.p.audio.streams.isEmpty(), url.isEmpty());
    if (!url.isEmpty())
        QCOMPARE(o.p.audio.urls.value(o.f->RadioStream), url.toLatin1());
    // The window stays open.
    QVERIFY(!o.w->isHidden());
}

void tst_myradio::survivesRestart()
{
    Own o;
    o.add(u"Европа плюс"_s, u"http://europa.example/live"_s);
    o.add(u"Second"_s, u"http://second.example/"_s);
    o.remove(1);
    o.restart();
    QCOMPARE(o.captions(), withSlots({}, {{2, u"Second"_s}}));
    QCOMPARE(o.w->MyRadioUrls[1], u"http://second.example/"_s);
    QCOMPARE(o.w->MyRadioUrls[0], QString());
    o.add(u"Европа плюс"_s, u"http://europa.example/live"_s);
    o.restart();
    QCOMPARE(o.captions(), withSlots({}, {{1, u"Европа плюс"_s}, {2, u"Second"_s}}));
    QCOMPARE(o.w->MyRadioUrls[0], u"http://europa.example/live"_s);
}

void tst_myradio::clickIntoEditEmptiesIt()
{
    Own o;
    for (QLineEdit *edit : {o.w->sEdit1, o.w->sEdit2}) {
        edit->setText(u"typed"_s);
        QTest::mouseClick(edit, Qt::LeftButton);
        QCOMPARE(edit->text(), QString());
        edit->setText(u"again"_s);
        QTest::mouseClick(edit, Qt::LeftButton);
        QCOMPARE(edit->text(), QString());
    }
}

QTEST_MAIN(tst_myradio)
#include "tst_myradio.moc"

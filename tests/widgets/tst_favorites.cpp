// Adding favourites from the main window, the favourites window's slots, and
// playing a favourite through the favourites' own table.

#include "app/skinbutton.h"
#include "app/tform1.h"
#include "catalogue/catalogue.h"
#include "favorites/tfavoriteform.h"
#include "testprogram.h"
#include "web/tbrowser2form.h"
#include "web/tkorbinaform.h"
#include "web/tnarkomtvform.h"
#include "web/tovegoplayerform.h"
#include "web/ttvprogrammform.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

using namespace vidmo;
using vidmo::test::FakeWebView;
using vidmo::test::TestProgram;

namespace {

const QString kNoFavorite = QStringLiteral("[Message] NoFavorite");

// A language file holding only what these tests read, so a message is told
// apart from the "0" of a missing key.
QByteArray languageFile()
{
    return "[Category]\npublic=Общественные\n[Message]\nNoFavorite=" + kNoFavorite.toUtf8()
           + "\nsomethingiswrong=[Message] somethingiswrong\n";
}

void prepare(TestProgram &p, const QByteArray &settings = {})
{
    p.writeLanguageFile(QStringLiteral("Russian.lng"), languageFile());
    if (!settings.isEmpty())
        p.writeSettings(settings);
}

TFavoriteForm *favorites(TestProgram &p)
{
    return p.ctx().windows.FavoriteForm;
}

// A right-click on the main window's button, then "add to favourites".
void addFrom(TestProgram &p, QPushButton *button)
{
    TForm1 *m = p.form1();
    Q_EMIT button->customContextMenuRequested(QPoint(2, 2));
    m->PopupMenu1->hide();
    m->N1->trigger();
}

// The main window's first grid button, carrying `caption`.
QPushButton *gridButtonWith(TestProgram &p, const QString &caption)
{
    SkinButton *b = p.form1()->sBitBtn(10);
    b->setText(caption);
    return b;
}

QStringList slotCaptions(TestProgram &p)
{
    QStringList captions;
    for (int k = 1; k <= 24; ++k)
        captions << favorites(p)->sBitBtn(k)->text();
    return captions;
}

QString readSlot(TestProgram &p, const char *key)
{
    return IniFile(p.settingsPath()).readString(QStringLiteral("Favorite"), QLatin1String(key),
                                                QStringLiteral("<missing>"));
}

} // namespace

class TestFavorites : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowLayout();
    void slotsReadFromTheFile();
    void firstFreeSlotAfterClear();
    void repeatsAllowed();
    void fullListShowsTheMessageOnFillingAndAfter();
    void categoryCaptionStoredAndDoesNothing();
    void captionSurvivesRestart_data();
    void captionSurvivesRestart();
    void clearOnTheCloseButtonChangesNothing();
    void failedWriteReachesTheErrorBox();
    void dispatch_data();
    void dispatch();
};

void TestFavorites::windowLayout()
{
    TestProgram p;
    prepare(p);
    p.start();
    TFavoriteForm *f = favorites(p);
    const int lefts[] = {15, 81, 147};
    for (int k = 1; k <= 24; ++k) {
        SkinButton *b = f->sBitBtn(k);
        QCOMPARE(b->objectName(), QStringLiteral("sBitBtn%1").arg(k));
        QCOMPARE(b->geometry(), QRect(lefts[(k - 1) / 8], 8 + 40 * ((k - 1) % 8), 64, 38));
        QCOMPARE(b->contextMenuPolicy(), Qt::CustomContextMenu);
    }
    QCOMPARE(f->sBitBtn(25)->text(), QStringLiteral("Закрыть"));
    QCOMPARE(f->sBitBtn(25)->geometry(), QRect(81, 345, 64, 25));
    QCOMPARE(f->sBitBtn(25)->contextMenuPolicy(), Qt::CustomContextMenu);
    QVERIFY(f->sButton1->isHidden());
    QCOMPARE(f->sButton1->geometry(), QRect(8, 345, 65, 25));
    QCOMPARE(f->sButton1->contextMenuPolicy(), Qt::DefaultContextMenu);
    QCOMPARE(f->N1->text(), QStringLiteral("Очистить"));

    // "Закрыть" only hides the window.
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    f->sBitBtn(25)->click();
    QVERIFY(f->isHidden());
}

void TestFavorites::slotsReadFromTheFile()
{
    TestProgram p;
    // fb unquoted with outer blanks (as older files hold them), fc quoted,
    // fd a key of another case, fe present but empty.
    prepare(p, "[Favorite]\nfa=ОРТ\nfb=  A-one  \nfc=\" A-one \"\nFD=НТВ\nfe=\nfx=Euronews\n");
    p.start();
    QStringList expected(24, QString());
    expected[0] = QStringLiteral("ОРТ");
    expected[1] = QStringLiteral("A-one");
    expected[2] = QStringLiteral(" A-one ");
    expected[3] = QStringLiteral("НТВ");
    expected[23] = QStringLiteral("Euronews");
    QCOMPARE(slotCaptions(p), expected);
}

void TestFavorites::firstFreeSlotAfterClear()
{
    TestProgram p;
    prepare(p);
    p.start();
    TFavoriteForm *f = favorites(p);
    for (const char *caption : {"ОРТ", "НТВ", "СТС"})
        addFrom(p, gridButtonWith(p, QString::fromUtf8(caption)));
    QCOMPARE(readSlot(p, "fb"), QStringLiteral("НТВ"));

    // "Очистить" on slot 2 empties the button and the key.
    Q_EMIT f->sBitBtn(2)->customContextMenuRequested(QPoint(2, 2));
    QTRY_VERIFY(f->PopupMenu2->isVisible());
    QCOMPARE(f->popupComponent(), f->sBitBtn(2));
    f->PopupMenu2->hide();
    f->N1->trigger();
    QCOMPARE(f->sBitBtn(2)->text(), QString());
    QCOMPARE(readSlot(p, "fb"), QString());

    addFrom(p, gridButtonWith(p, QStringLiteral("ТНТ")));
    QCOMPARE(slotCaptions(p).mid(0, 4),
             (QStringList{"ОРТ", "ТНТ", "СТС", ""}));
    QCOMPARE(readSlot(p, "fb"), QStringLiteral("ТНТ"));
    QCOMPARE(readSlot(p, "fd"), QStringLiteral("<missing>"));
    QVERIFY(p.messageBox.shown.isEmpty());
}

void TestFavorites::repeatsAllowed()
{
    TestProgram p;
    prepare(p);
    p.start();
    QPushButton *b = gridButtonWith(p, QStringLiteral("ОРТ"));
    addFrom(p, b);
    addFrom(p, b);
    QCOMPARE(slotCaptions(p).mid(0, 3), (QStringList{"ОРТ", "ОРТ", ""}));
    QCOMPARE(readSlot(p, "fa"), QStringLiteral("ОРТ"));
    QCOMPARE(readSlot(p, "fb"), QStringLiteral("ОРТ"));
}

void TestFavorites::fullListShowsTheMessageOnFillingAndAfter()
{
    TestProgram p;
    QByteArray settings = "[Favorite]\n";
    for (char key = 'a'; key <= 'x'; ++key) {
        if (key != 'q')
            settings += QByteArray("f") + key + "=K" + key + "\n";
    }
    prepare(p, settings);
    p.start();

    addFrom(p, gridButtonWith(p, QStringLiteral("ОРТ")));
    QCOMPARE(favorites(p)->sBitBtn(17)->text(), QStringLiteral("ОРТ"));
    QCOMPARE(readSlot(p, "fq"), QStringLiteral("ОРТ"));
    QCOMPARE(p.messageBox.shown, QStringList{kNoFavorite});

    const QByteArray before = p.readSettings();
    const QStringList captions = slotCaptions(p);
    addFrom(p, gridButtonWith(p, QStringLiteral("НТВ")));
    QCOMPARE(slotCaptions(p), captions);
    QCOMPARE(p.readSettings(), before);
    QCOMPARE(p.messageBox.shown, (QStringList{kNoFavorite, kNoFavorite}));
}

void TestFavorites::categoryCaptionStoredAndDoesNothing()
{
    TestProgram p;
    prepare(p);
    p.start();
    SkinButton *category = p.form1()->sBitBtn(1);
    QCOMPARE(category->text(), QStringLiteral("Общественные"));
    addFrom(p, category);
    TFavoriteForm *f = favorites(p);
    QCOMPARE(f->sBitBtn(1)->text(), QStringLiteral("Общественные"));
    QCOMPARE(readSlot(p, "fa"), QStringLiteral("Общественные"));

    QVector<QStringList> before;
    for (FakeWebView *v : p.webViews.views)
        before << v->calls;
    f->sBitBtn(1)->click();
    QCOMPARE(f->FavoriteCaption, QStringLiteral("Общественные"));
    for (qsizetype i = 0; i < before.size(); ++i)
        QCOMPARE(p.webViews.views[i]->calls, before[i]);
    QVERIFY(p.shell.opened.isEmpty());
    QVERIFY(p.messageBox.shown.isEmpty());
}

void TestFavorites::captionSurvivesRestart_data()
{
    QTest::addColumn<QString>("caption");

    QTest::newRow("plain") << QStringLiteral("ОРТ");
    QTest::newRow("blank before and after") << QStringLiteral(" A-one ");
    QTest::newRow("blanks inside and around") << QStringLiteral("  1-авто     UA");
    QTest::newRow("trailing tab") << QStringLiteral("Mega\t");
    QTest::newRow("in double quotes") << QStringLiteral("\"Mega\"");
    QTest::newRow("in single quotes") << QStringLiteral("'Mega'");
    QTest::newRow("quotes inside blanks") << QStringLiteral(" \"Mega\" ");
    QTest::newRow("one quote") << QStringLiteral("\"");
    QTest::newRow("unmatched quotes") << QStringLiteral("\"Mega'");
}

void TestFavorites::captionSurvivesRestart()
{
    QFETCH(QString, caption);

    TestProgram p;
    prepare(p);
    p.start();
    addFrom(p, gridButtonWith(p, caption));
    QCOMPARE(favorites(p)->sBitBtn(1)->text(), caption);
    p.stop();

    p.start();
    QCOMPARE(favorites(p)->sBitBtn(1)->text(), caption);
}

void TestFavorites::clearOnTheCloseButtonChangesNothing()
{
    TestProgram p;
    prepare(p, "[Favorite]\nfa=ОРТ\n");
    p.start();
    TFavoriteForm *f = favorites(p);
    const QByteArray before = p.readSettings();
    Q_EMIT f->sBitBtn(25)->customContextMenuRequested(QPoint(2, 2));
    f->PopupMenu2->hide();
    f->N1->trigger();
    QCOMPARE(f->sBitBtn(25)->text(), QStringLiteral("Закрыть"));
    QCOMPARE(f->sBitBtn(1)->text(), QStringLiteral("ОРТ"));
    QCOMPARE(p.readSettings(), before);
}

void TestFavorites::failedWriteReachesTheErrorBox()
{
    TestProgram p;
    prepare(p);
    p.start();
    // A directory in the file's place makes every write fail.
    QFile::remove(p.settingsPath());
    QVERIFY(QDir().mkdir(p.settingsPath()));

    addFrom(p, gridButtonWith(p, QStringLiteral("ОРТ")));
    QCOMPARE(p.messageBox.shown, QStringList{"Unable to write to " + p.settingsPath()});
    QCOMPARE(favorites(p)->sBitBtn(1)->text(), QStringLiteral("ОРТ"));

    TFavoriteForm *f = favorites(p);
    Q_EMIT f->sBitBtn(1)->customContextMenuRequested(QPoint(2, 2));
    f->PopupMenu2->hide();
    f->N1->trigger();
    QCOMPARE(p.messageBox.shown.size(), 2);
    QCOMPARE(f->sBitBtn(1)->text(), QString());
}

void TestFavorites::dispatch_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("main");       // calls on the main window's view
    QTest::addColumn<QStringList>("korbina");
    QTest::addColumn<QStringList>("seeTv");
    QTest::addColumn<QStringList>("shown");      // windows shown afterwards
    QTest::addColumn<QStringList>("shell");

    const QString dir = QStringLiteral("{dir}");
    const QString korbina = QStringLiteral("http://") + catalogueHost(QStringLiteral("korbina"));
    const QString seeTv = QStringLiteral("http://") + catalogueHost(QStringLiteral("seetv"));
    const QString titleKorbina = TestProgram::serverBase() + QStringLiteral("/title/2.3.html");
    const QString tvListing = QStringLiteral("http://") + catalogueHost(QStringLiteral("tvlisting"));

    QTest::newRow("ОРТ: page only, no programme")
        << "ОРТ" << QStringList{"load " + dir + "channel/public/ort.htm"} << QStringList()
        << QStringList() << QStringList() << QStringList();
    QTest::newRow("Европа+: no radio here")
        << "Европа+" << QStringList() << QStringList() << QStringList() << QStringList()
        << QStringList();
    QTest::newRow("1+1: the login window, not the grid's page")
        << "1+1" << QStringList{"load " + titleKorbina} << QStringList()
        << QStringList{"navigate " + seeTv + "/see/1plus1"} << QStringList{"Browser2Form"}
        << QStringList();
    QTest::newRow("Россия 24: window, then page")
        << "Россия 24"
        << QStringList{"load " + titleKorbina, "load " + dir + "channel/public/russia-24.htm"}
        << QStringList{"load " + korbina + "/tv/russia24"} << QStringList()
        << QStringList{"KorbinaForm"} << QStringList();
    QTest::newRow("A-one: page, then window, ends on the title page")
        << "A-one"
        << QStringList{"load " + dir + "channel/music/a-one.htm", "load " + titleKorbina}
        << QStringList{"load " + korbina + "/tv/aone"} << QStringList()
        << QStringList{"KorbinaForm"} << QStringList();
    QTest::newRow("blank-edged caption matches no row")
        << " A-one " << QStringList() << QStringList() << QStringList() << QStringList()
        << QStringList();
    QTest::newRow("Москва 400: a row of its own")
        << "Москва 400" << QStringList{"load " + dir + "channel/radio-program/moskva400.html"}
        << QStringList() << QStringList() << QStringList() << QStringList();
    QTest::newRow("system browser, no programme")
        << "2x2, ТНТ, СТС и др." << QStringList() << QStringList() << QStringList()
        << QStringList() << QStringList{tvListing + "/tv"};
    QTest::newRow("empty slot") << "" << QStringList() << QStringList() << QStringList()
                                << QStringList() << QStringList();
}

void TestFavorites::dispatch()
{
    QFETCH(QString, caption);
    QFETCH(QStringList, main);
    QFETCH(QStringList, korbina);
    QFETCH(QStringList, seeTv);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, shell);

    TestProgram p;
    prepare(p);
    p.start();
    const QString dir = p.programDir();
    main.replaceInStrings(QStringLiteral("{dir}"), dir);
    const Windows &w = p.ctx().windows;
    FakeWebView *mainView = p.webViews.find(QStringLiteral("Chromium1"), w.Form1);
    FakeWebView *korbinaView = p.webViews.find(QStringLiteral("Chromium1"), w.KorbinaForm);
    FakeWebView *seeTvView = p.webViews.find(QStringLiteral("SeeTVWebBrowser"), w.Browser2Form);
    FakeWebView *programme = p.webViews.find(QStringLiteral("WebBrowser1"), w.TVprogrammForm);
    QVERIFY(mainView && korbinaView && seeTvView && programme);
    const QList<FakeWebView *> others = {
        p.webViews.find(QStringLiteral("Chromium1"), w.NarkomTVForm),
        p.webViews.find(QStringLiteral("Chromium1"), w.OvegoPlayerForm)};

    // A programme page set by an earlier channel stays as it is.
    programme->navigate(dir + QStringLiteral("channel/tv-program/public/ntv.htm"));
    for (FakeWebView *v : p.webViews.views)
        v->calls.clear();

    TFavoriteForm *f = favorites(p);
    f->sBitBtn(3)->setText(caption);
    f->sBitBtn(3)->click();

    QCOMPARE(f->FavoriteCaption, caption);
    QCOMPARE(mainView->calls, main);
    QCOMPARE(korbinaView->calls, korbina);
    QCOMPARE(seeTvView->calls, seeTv);
    QVERIFY(programme->calls.isEmpty());
    QCOMPARE(programme->requestedAddress(), dir + QStringLiteral("channel/tv-program/public/ntv.htm"));
    for (FakeWebView *v : others)
        QVERIFY(v && v->calls.isEmpty());
    QStringList visible;
    const QList<QWidget *> windows = {w.KorbinaForm, w.Browser2Form, w.NarkomTVForm,
                                      w.OvegoPlayerForm, w.TVprogrammForm};
    for (QWidget *window : windows) {
        if (!window->isHidden())
            visible << window->objectName();
    }
    QCOMPARE(visible, shown);
    QCOMPARE(p.shell.opened, shell);
    QVERIFY(p.messageBox.shown.isEmpty());
}

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"

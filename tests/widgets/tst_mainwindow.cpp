// The program block's windows and the main window as it stands after start.

#include "app/skinbutton.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "settings/tsettingform.h"
#include "testprogram.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>

using namespace vidmo;
using vidmo::test::TestProgram;

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsCreatedInOrderAndDestroyedInReverse();
    void windowFrames_data();
    void windowFrames();
    void controlGeometry_data();
    void controlGeometry();
    void gridInGridOrder();
    void stateAfterCreation();
    void contextMenuOnEverySkinnedButton();
    void longCaptionsWrapInsideGridButtons();
};

void TestMainWindow::windowsCreatedInOrderAndDestroyedInReverse()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    ProgramBlock &block = p.start();
    QStringList created, destroyed;
    for (QWidget *w : block.windowsInCreationOrder()) {
        created << QString::fromLatin1(w->metaObject()->className()).remove(QStringLiteral("vidmo::"));
        QObject::connect(w, &QObject::destroyed, w, [&destroyed, name = created.last()] {
            destroyed << name;
        });
    }
    const QStringList order = {
        "TForm1", "TSettingForm", "TDonationForm", "TFavoriteForm", "TTVprogrammForm", "TForm2",
        "TBrowser2Form", "TKorbinaForm", "TRadioSaveForm", "TRadioForm", "TMyRadioForm",
        "TOvegoPlayerForm", "TNarkomTVForm"};
    QCOMPARE(created, order);
    for (QWidget *w : block.windowsInCreationOrder())
        QVERIFY2(w->isHidden(), qPrintable(w->objectName()));

    p.stop();
    QStringList reverse = order;
    std::reverse(reverse.begin(), reverse.end());
    QCOMPARE(destroyed, reverse);
}

void TestMainWindow::windowFrames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<bool>("minimiseBox");
    QTest::addColumn<QString>("title");

    QTest::newRow("main") << "Form1" << QSize(807, 543) << true << true << true << "Vidmo Player";
    QTest::newRow("settings") << "SettingForm" << QSize(494, 328) << true << true << false << "0";
    QTest::newRow("donation") << "DonationForm" << QSize(341, 208) << true << true << false << "";
    QTest::newRow("favourites") << "FavoriteForm" << QSize(224, 388) << true << true << false << "";
    QTest::newRow("programme") << "TVprogrammForm" << QSize(564, 477) << true << true << false << "";
    QTest::newRow("password") << "Form2" << QSize(341, 148) << true << true << false << "";
    QTest::newRow("login") << "Browser2Form" << QSize(664, 608) << true << true << false << "";
    QTest::newRow("korbina") << "KorbinaForm" << QSize(714, 423) << true << true << true << "";
    QTest::newRow("record name") << "RadioSaveForm" << QSize(230, 109) << true << false << false << "";
    QTest::newRow("mini radio") << "RadioForm" << QSize(274, 37) << true << false << false << "";
    QTest::newRow("own stations") << "MyRadioForm" << QSize(229, 278) << true << true << true << "";
    QTest::newRow("ovego") << "OvegoPlayerForm" << QSize(589, 398) << true << true << false << "";
    QTest::newRow("narkomtv") << "NarkomTVForm" << QSize(742, 566) << false << true << false << "";
}

void TestMainWindow::windowFrames()
{
    QFETCH(QString, window);
    QFETCH(QSize, client);
    QFETCH(bool, fixed);
    QFETCH(bool, closeBox);
    QFETCH(bool, minimiseBox);
    QFETCH(QString, title);

    TestProgram p; // no language file: the settings window's title reads "0"
    ProgramBlock &block = p.start();
    QWidget *w = nullptr;
    for (QWidget *candidate : block.windowsInCreationOrder()) {
        if (candidate->objectName() == window)
            w = candidate;
    }
    QVERIFY(w);
    QCOMPARE(w->size(), client);
    QCOMPARE(w->minimumSize() == client && w->maximumSize() == client, fixed);
    const Qt::WindowFlags f = w->windowFlags();
    QCOMPARE(f.testFlag(Qt::WindowCloseButtonHint), closeBox);
    QCOMPARE(f.testFlag(Qt::WindowMinimizeButtonHint), minimiseBox);
    QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(w->windowTitle(), title);
}

void TestMainWindow::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("hidden");

    const int categoryLeft[] = {5, 89, 169, 249, 329, 409, 489, 569, 649};
    for (int i = 0; i < 9; ++i) {
        const QString name = QStringLiteral("sBitBtn%1").arg(i + 1);
        QTest::newRow(qPrintable(name))
            << name << "Form1" << QRect(categoryLeft[i], 4, i == 0 ? 82 : 78, 28) << false;
    }
    QTest::newRow("sBitBtn44") << "sBitBtn44" << "Form1" << QRect(729, 4, 78, 28) << false;
    QTest::newRow("sBitBtn45") << "sBitBtn45" << "Form1" << QRect(729, 5, 78, 28) << true;
    QTest::newRow("sPanel1") << "sPanel1" << "Form1" << QRect(5, 35, 800, 450) << false;
    QTest::newRow("Chromium1") << "Chromium1" << "sPanel1" << QRect(7, 7, 590, 436) << false;
    QTest::newRow("sPanel2") << "sPanel2" << "sPanel1" << QRect(602, 365, 190, 77) << true;
    QTest::newRow("StartTVButton") << "StartTVButton" << "Form1" << QRect(405, 491, 115, 25) << true;
    QTest::newRow("Button1") << "Button1" << "Form1" << QRect(526, 491, 98, 25) << true;
    const std::pair<int, int> tools[] = {{8, 5}, {9, 5}, {1, 50}, {4, 95}, {2, 140},
                                         {5, 630}, {3, 675}, {7, 720}, {6, 765}};
    for (const auto &[n, left] : tools) {
        const QString name = QStringLiteral("sSpeedButton%1").arg(n);
        QTest::newRow(qPrintable(name)) << name << "Form1" << QRect(left, 495, 40, 40) << (n == 9);
    }
}

void TestMainWindow::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(bool, hidden);

    TestProgram p;
    p.installShippedLanguageFiles();
    p.start();
    auto *w = p.form1()->findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->isHidden(), hidden);
}

void TestMainWindow::gridInGridOrder()
{
    TestProgram p;
    p.start();
    const QVector<SkinButton *> grid = p.form1()->gridButtons();
    QCOMPARE(grid.size(), 33);
    const int lefts[] = {600, 666, 732};
    const int tops[] = {4, 45, 85, 125, 165, 205, 245, 285, 325, 365, 405};
    for (int i = 0; i < 33; ++i) {
        QCOMPARE(grid[i]->objectName(), QStringLiteral("sBitBtn%1").arg(10 + i));
        QCOMPARE(grid[i]->parentWidget(), p.form1()->sPanel1);
        QCOMPARE(grid[i]->geometry(), QRect(lefts[i % 3], tops[i / 3], 64, 38));
    }
}

void TestMainWindow::stateAfterCreation()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    p.start();
    TForm1 *m = p.form1();

    // The category row carries the Russian file's captions.
    const char16_t *row[] = {u"Общественные", u"Радио", u"Музыкальные", u"Развлечения", u"Научные",
                             u"Спорт", u"Кино", u"Мультики", u"Записи"};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(m->sBitBtn(i + 1)->text(), QString::fromUtf16(row[i]));
    QCOMPARE(m->sBitBtn(44)->text(), QStringLiteral("Зарубежные"));
    QCOMPARE(m->N1->text(), QStringLiteral("Добавить в Избранное"));
    QCOMPARE(m->sSpeedButton(1)->toolTip(), QStringLiteral("Настройки"));
    QCOMPARE(m->StartTVButton->text(), QStringLiteral("Запуск ТВ каналов"));
    QCOMPARE(m->Button1->text(), QStringLiteral("Запуск MyRadio"));

    for (QLabel *l : {m->sLabel1, m->sLabel2, m->sLabel3, m->sLabel4}) {
        QVERIFY(l->isHidden());
        QCOMPARE(l->x(), 670);
        QCOMPARE(l->font().family(), QStringLiteral("MS Sans Serif"));
    }
    QCOMPARE(m->sLabel4->text(), QStringLiteral("Беларусь"));
    QCOMPARE(m->sLabel3->y(), 255);
    QVERIFY(!m->TrayIcon1->isVisible());
    QCOMPARE(m->sBitBtn(10)->font().family(), QStringLiteral("Tahoma"));

    // The start page was asked for, once, before anything was shown.
    auto *view = p.webViews.find(QStringLiteral("Chromium1"), m);
    QVERIFY(view);
    QCOMPARE(view->calls, QStringList{"load " + TestProgram::serverBase() + "/start8"});
}

void TestMainWindow::contextMenuOnEverySkinnedButton()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    p.start();
    TForm1 *m = p.form1();
    QVector<int> skinned;
    for (int n = 1; n <= 42; ++n)
        skinned << n;
    skinned << 44 << 45;
    for (int n : skinned)
        QCOMPARE(m->sBitBtn(n)->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(m->StartTVButton->contextMenuPolicy(), Qt::DefaultContextMenu);
    QCOMPARE(m->Button1->contextMenuPolicy(), Qt::DefaultContextMenu);

    // A right-click on the radio category opens the menu with N1, remembering the button.
    m->show();
    QVERIFY(QTest::qWaitForWindowExposed(m));
    SkinButton *radio = m->sBitBtn(2);
    Q_EMIT radio->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(m->PopupMenu1->isVisible());
    QCOMPARE(m->popupComponent(), radio);
    QVERIFY(m->PopupMenu1->actions().contains(m->N1));
    m->PopupMenu1->hide();
}

void TestMainWindow::longCaptionsWrapInsideGridButtons()
{
    TestProgram p;
    p.start();
    SkinButton *b = p.form1()->sBitBtn(10);
    b->setText(QString());
    const QImage blank = b->grab().toImage();
    b->setText(QStringLiteral("Animal  Planet"));
    const QImage caption = b->grab().toImage();
    QCOMPARE(b->text(), QStringLiteral("Animal  Planet"));

    // Two lines reach the upper and the lower third of the button; one line,
    // centred and cut, stays in the middle third.
    auto inked = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < caption.width(); ++x)
                if (caption.pixel(x, y) != blank.pixel(x, y))
                    return true;
        return false;
    };
    const int h = caption.height();
    QVERIFY(inked(2, h * 3 / 10));
    QVERIFY(inked(h * 7 / 10, h - 2));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

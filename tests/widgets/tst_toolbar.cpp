// The main window's tool bar: what each button opens, and its pictures.

#include "app/icons.h"
#include "app/tform1.h"
#include "testprogram.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vidmo;
using vidmo::test::FakeWebView;
using vidmo::test::TestProgram;

class TestToolBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttons_data();
    void buttons();
    void pictures();
};

void TestToolBar::buttons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("modal");     // window shown modally, closed again by the test
    QTest::addColumn<QString>("shown");     // window left shown
    QTest::addColumn<QStringList>("shell");
    QTest::addColumn<QStringList>("mainView");

    QTest::newRow("settings") << 1 << "SettingForm" << "" << QStringList() << QStringList();
    QTest::newRow("off") << 2 << "" << "" << QStringList() << QStringList{"load about:blank"};
    QTest::newRow("programme") << 3 << "" << "TVprogrammForm" << QStringList() << QStringList();
    QTest::newRow("favourites") << 5 << "" << "FavoriteForm" << QStringList() << QStringList();
    QTest::newRow("donation") << 6 << "DonationForm" << "" << QStringList() << QStringList();
    QTest::newRow("help") << 7 << "" << ""
                          << QStringList{TestProgram::serverBase() + "/help/"} << QStringList();
}

void TestToolBar::buttons()
{
    QFETCH(int, button);
    QFETCH(QString, modal);
    QFETCH(QString, shown);
    QFETCH(QStringList, shell);
    QFETCH(QStringList, mainView);

    TestProgram p;
    p.installShippedLanguageFiles();
    ProgramBlock &block = p.start();
    block.showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(p.form1()));
    FakeWebView *view = p.webViews.find(QStringLiteral("Chromium1"), p.form1());
    view->calls.clear();

    QString modalSeen;
    QTimer::singleShot(0, this, [&modalSeen] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            modalSeen = w->objectName();
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->reject();
        }
    });
    p.form1()->sSpeedButton(button)->click();

    QCOMPARE(modalSeen, modal);
    QStringList visible;
    for (QWidget *w : block.windowsInCreationOrder()) {
        if (w != p.form1() && !w->isHidden())
            visible << w->objectName();
    }
    QCOMPARE(visible, shown.isEmpty() ? QStringList() : QStringList{shown});
    QCOMPARE(p.shell.opened, shell);
    QCOMPARE(view->calls, mainView);

}

void TestToolBar::pictures()
{
    TestProgram p;
    p.start();
    QSet<QByteArray> seen;
    for (int n = 1; n <= 9; ++n) {
        QToolButton *b = p.form1()->sSpeedButton(n);
        QCOMPARE(b->iconSize(), QSize(32, 32));
        const QImage picture = b->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(picture.size(), QSize(32, 32));
        // A dark square in the middle of its edge, a light symbol at its centre.
        QVERIFY2(qGray(picture.pixel(16, 2)) < 80, qPrintable(b->objectName()));
        int light = 0;
        for (int y = 6; y < 26; ++y)
            for (int x = 6; x < 26; ++x)
                light += qGray(picture.pixel(x, y)) > 140 ? 1 : 0;
        QVERIFY2(light > 20, qPrintable(b->objectName()));
        // Nine different pictures.
        seen.insert(QByteArray(reinterpret_cast<const char *>(picture.constBits()),
                               picture.sizeInBytes()));
    }
    QCOMPARE(seen.size(), 9);
    for (const char *name : {"record", "stoprecord", "myradio", "mini", "off"}) {
        const QImage picture = radioPanelIcon(QLatin1String(name)).pixmap(24, 24).toImage();
        QCOMPARE(picture.size(), QSize(24, 24));
        seen.insert(QByteArray(reinterpret_cast<const char *>(picture.constBits()),
                               picture.sizeInBytes()));
    }
    QCOMPARE(seen.size(), 14);
    QVERIFY(!p.form1()->windowIcon().isNull());
    QCOMPARE(p.form1()->windowIcon().availableSizes(),
             (QList<QSize>{{128, 128}, {96, 96}, {64, 64}, {48, 48}, {32, 32}}));
}

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"

// The category row and the channel grid of the main window: every page, the
// two rows, missing language keys and the hand-over of a caption.
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "navigation/categorypages.h"
#include "testprogram.h"
#include "web/tkorbinaform.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::FakeWebView;
using vidmo::test::TestProgram;

namespace {

// A language file like the shipped one, with some [Category] keys left out.
QByteArray languageWithout(const QStringList &keys)
{
    QFile f(QStringLiteral(VIDMO_SOURCE_DIR "/data/Language/Russian.lng"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray out;
    for (const QByteArray &line : f.readAll().split('\n')) {
        bool drop = false;
        for (const QString &key : keys)
            drop = drop || line.startsWith(key.toUtf8() + '=');
        if (!drop)
            out += line + '\n';
    }
    return out;
}

struct Main
{
    enum class Language { Shipped, None };

    explicit Main(Language language = Language::Shipped, const QByteArray &custom = {})
    {
        if (!custom.isEmpty())
            p.writeLanguageFile(QStringLiteral("Russian.lng"), custom);
        else if (language == Language::Shipped)
            p.installShippedLanguageFiles();
        p.start();
        f = p.form1();
        f->show(); // FormShow selects the first category
        view = static_cast<FakeWebView *>(f->Chromium1);
    }

    QString caption(int n) const { return f->sBitBtn(n)->text(); }
    bool shown(QWidget *w) const { return w->isVisibleTo(f); }
    bool shown(int n) const { return shown(f->sBitBtn(n)); }
    int shownGrid() const
    {
        int n = 0;
        for (SkinButton *b : f->gridButtons())
            n += shown(b);
        return n;
    }
    QString labels() const
    {
        QString s;
        const QLabel *l[] = {f->sLabel1, f->sLabel2, f->sLabel3, f->sLabel4};
        for (int i = 0; i < 4; ++i) {
            if (shown(const_cast<QLabel *>(l[i])))
                s += QString::number(i + 1);
        }
        return s.isEmpty() ? QStringLiteral("-") : s;
    }
    void click(const QList<int> &buttons)
    {
        for (int n : buttons)
            f->sBitBtn(n)->click();
    }

    TestProgram p;
    TForm1 *f = nullptr;
    FakeWebView *view = nullptr;
};

} // namespace

class TestCategoryPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data();
    void pages();
    void foreignRowAndBack();
    void missingLanguageFile_data();
    void missingLanguageFile();
    void missingKeyStillFindsItsPage();
    void unknownCaptionDoesOnlyTheFirstStep();
    void countryLabelsFollowThePage();
    void radioPageShowsRowsTheClosedSectionHid();
    void panelHiddenByOtherPages();
    void showingAgainSelectsFirstCategoryOfRow();
    void captionHandedOverExactly_data();
    void captionHandedOverExactly();
};

void TestCategoryPages::pages_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("shownGrid");
    QTest::addColumn<bool>("panel");
    QTest::addColumn<QString>("labels");
    QTest::addColumn<QString>("label1");

    const QString georgia = u"Грузия"_s;
    QTest::newRow("public") << QList<int>{1} << "public" << 33 << false << "-" << georgia;
    QTest::newRow("radio") << QList<int>{2} << "radio" << 27 << true << "-" << georgia;
    QTest::newRow("music") << QList<int>{3} << "music" << 33 << false << "-" << georgia;
    QTest::newRow("entertainment") << QList<int>{4} << "entertainment" << 33 << false << "-" << georgia;
    QTest::newRow("Research") << QList<int>{5} << "Research" << 27 << false << "-" << georgia;
    QTest::newRow("Sport") << QList<int>{6} << "Sport" << 25 << false << "-" << georgia;
    QTest::newRow("movie") << QList<int>{7} << "movie" << 30 << false << "-" << georgia;
    QTest::newRow("Cartoons") << QList<int>{8} << "Cartoons" << 25 << false << "-" << georgia;
    QTest::newRow("Records") << QList<int>{9} << "Records" << 33 << false << "-" << georgia;
    QTest::newRow("Ukrainian") << QList<int>{44} << "Ukrainian" << 27 << false << "-" << georgia;
    QTest::newRow("CISa") << QList<int>{44, 2} << "CISa" << 18 << false << "1234" << georgia;
    QTest::newRow("CISb") << QList<int>{44, 3} << "CISb" << 3 << false << "1" << u"Азербайджан"_s;
    QTest::newRow("Miscellaneous") << QList<int>{44, 4} << "Miscellaneous" << 17 << false << "-"
                                   << georgia;
}

void TestCategoryPages::pages()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QString, key);
    QFETCH(int, shownGrid);
    QFETCH(bool, panel);
    QFETCH(QString, labels);
    QFETCH(QString, label1);

    Main m;
    // Start from the other end of the row, so every cell has to change.
    m.click({9});
    m.click(clicks);
    const CategoryPage *page = categoryPage(key);
    QVERIFY(page);
    for (const auto &cell : page->cells) {
        const QString where = u"sBitBtn"_s + QString::number(cell.button);
        QCOMPARE(m.shown(cell.button), cell.caption.has_value());
        if (cell.caption)
            QVERIFY2(m.caption(cell.button) == *cell.caption, qPrintable(where));
    }
    QCOMPARE(m.shownGrid(), shownGrid);
    QCOMPARE(m.shown(m.f->sPanel2), panel);
    QCOMPARE(m.labels(), labels);
    QCOMPARE(m.f->sLabel1->text(), label1);
}

void TestCategoryPages::foreignRowAndBack()
{
    Main m;
    const QStringList mainRow = {u"Общественные"_s, u"Радио"_s, u"Музыкальные"_s,
                                 u"Развлечения"_s, u"Научные"_s};
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(m.caption(n), mainRow[n - 1]);
    QCOMPARE(m.caption(10), u"ОРТ"_s); // FormShow chose the public page

    m.click({2, 44});
    const QStringList foreign = {u"Украина"_s, u"СНГ-1"_s, u"СНГ-2"_s, u"Разное"_s};
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(m.caption(n), foreign[n - 1]);
    for (int n : {5, 6, 7, 8, 9, 44})
        QVERIFY(!m.shown(n));
    QVERIFY(m.shown(45));
    QVERIFY(!m.shown(m.f->sPanel2));
    QCOMPARE(m.caption(10), u"Fashion UA"_s);

    m.click({45});
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(m.caption(n), mainRow[n - 1]);
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 44})
        QVERIFY(m.shown(n));
    QVERIFY(!m.shown(45));
    QCOMPARE(m.caption(6), u"Спорт"_s);
    QCOMPARE(m.caption(10), u"ОРТ"_s);
    QCOMPARE(m.shownGrid(), 33);
}

void TestCategoryPages::missingLanguageFile_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("panel");
    QTest::addColumn<QString>("labels");
    QTest::addColumn<QStringList>("captions"); // sBitBtn10, 16, 37
    QTest::addColumn<QList<bool>>("shown");

    // Every key reads "0", so each button applies both of its pages, in order.
    QTest::newRow("public over Ukrainian")
        << 1 << false << "-" << QStringList{u"ОРТ"_s, u"ТНТ"_s, u"ТВ-3"_s}
        << QList<bool>{true, true, false};
    QTest::newRow("CISa over radio")
        << 2 << true << "1234" << QStringList{u"DFM"_s, u"Rustavi 2"_s, u"ТВ-3"_s}
        << QList<bool>{false, true, false};
    QTest::newRow("CISb over music")
        << 3 << false << "1" << QStringList{u"A-one"_s, u"O2 \u0422\u0412"_s, u"Deluxe Music"_s}
        << QList<bool>{false, false, false};
    QTest::newRow("Miscellaneous over entertainment")
        << 4 << false << "-" << QStringList{u"Первый Интернет"_s, u" Союз "_s, u"HD Media"_s}
        << QList<bool>{true, true, false};
}

void TestCategoryPages::missingLanguageFile()
{
    QFETCH(int, button);
    QFETCH(bool, panel);
    QFETCH(QString, labels);
    QFETCH(QStringList, captions);
    QFETCH(QList<bool>, shown);

    Main m(Main::Language::None);
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 44})
        QCOMPARE(m.caption(n), u"0"_s);
    m.click({button});
    const int probe[] = {10, 16, 37};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(m.caption(probe[i]), captions[i]);
        QCOMPARE(m.shown(probe[i]), shown[i]);
    }
    QCOMPARE(m.shown(m.f->sPanel2), panel);
    QCOMPARE(m.labels(), labels);
    if (button == 4)
        QCOMPARE(m.view->calls.last(), u"load "_s + TestProgram::serverBase() + u"/title/2.4.html"_s);
}

void TestCategoryPages::missingKeyStillFindsItsPage()
{
    Main m(Main::Language::Shipped, languageWithout({u"music"_s, u"Sport"_s}));
    QCOMPARE(m.caption(3), u"0"_s);
    QCOMPARE(m.caption(6), u"0"_s);
    m.click({3});
    QCOMPARE(m.caption(10), u"A-one"_s);
    m.click({6});
    QCOMPARE(m.caption(10), u"Россия 2"_s);
}

void TestCategoryPages::unknownCaptionDoesOnlyTheFirstStep()
{
    Main m;
    m.click({2});
    QVERIFY(m.shown(m.f->sPanel2));
    for (int n : {1, 2, 5})
        m.f->sBitBtn(n)->setText(u"edited"_s);
    m.click({2, 5}); // no first step: nothing changes
    QVERIFY(m.shown(m.f->sPanel2));
    QCOMPARE(m.caption(10), u"DFM"_s);
    QCOMPARE(m.shownGrid(), 27);
    m.click({1}); // only its first step: panel hidden, all shown, captions kept
    QVERIFY(!m.shown(m.f->sPanel2));
    QCOMPARE(m.shownGrid(), 33);
    QCOMPARE(m.caption(10), u"DFM"_s);
}

void TestCategoryPages::countryLabelsFollowThePage()
{
    Main m;
    m.click({44, 3});
    QCOMPARE(m.f->sLabel1->text(), u"Азербайджан"_s);
    m.click({2});
    QCOMPARE(m.f->sLabel1->text(), u"Грузия"_s);
    QCOMPARE(m.labels(), u"1234"_s);
    // The label fits its text again.
    QCOMPARE(m.f->sLabel1->width(), m.f->sLabel1->sizeHint().width());
    m.click({3});
    QCOMPARE(m.f->sLabel1->text(), u"Азербайджан"_s);
    QCOMPARE(m.labels(), u"1"_s);
    m.click({1});
    QCOMPARE(m.labels(), u"-"_s);
}

void TestCategoryPages::radioPageShowsRowsTheClosedSectionHid()
{
    Main m;
    // As the closed section's pages leave it: rows 1 to 9 partly hidden.
    for (int n : {12, 28, 29, 30, 33, 34, 35, 36})
        m.f->sBitBtn(n)->hide();
    m.click({2});
    QCOMPARE(m.shownGrid(), 27);
    for (int n = 10; n <= 36; ++n)
        QVERIFY2(m.shown(n), qPrintable(QString::number(n)));
}

void TestCategoryPages::panelHiddenByOtherPages()
{
    for (int other : {1, 3, 4, 5, 6, 7, 8, 9, 44}) {
        Main m;
        m.click({2});
        QVERIFY(m.shown(m.f->sPanel2));
        m.click({other});
        QVERIFY2(!m.shown(m.f->sPanel2), qPrintable(QString::number(other)));
    }
}

void TestCategoryPages::showingAgainSelectsFirstCategoryOfRow()
{
    Main m;
    m.click({44, 2});
    m.f->hide();
    m.f->show();
    QCOMPARE(m.caption(10), u"Fashion UA"_s);
    QCOMPARE(m.labels(), u"-"_s);
    m.click({45, 2});
    QVERIFY(m.shown(m.f->sPanel2));
    m.f->hide();
    m.f->show();
    QCOMPARE(m.caption(10), u"ОРТ"_s);
    QVERIFY(!m.shown(m.f->sPanel2));
}

void TestCategoryPages::captionHandedOverExactly_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("address"); // the Korbina view's, or empty

    QTest::newRow("blanks around") << QList<int>{44, 4} << 14 << u" Россия 24 "_s
                                   << u"http://korbina.example/tv/russia24"_s;
    QTest::newRow("same channel, no blanks") << QList<int>{1} << 20 << u"Россия 24"_s << QString();
    QTest::newRow("leading and inner blanks") << QList<int>{6} << 20 << u"  1-авто     UA"_s
                                              << QString();
}

void TestCategoryPages::captionHandedOverExactly()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, button);
    QFETCH(QString, caption);
    QFETCH(QString, address);

    Main m;
    m.click(clicks);
    m.click({button});
    QCOMPARE(m.f->StartTVButton->text(), caption);
    auto *korbina = static_cast<FakeWebView *>(m.p.ctx().windows.KorbinaForm->Chromium1);
    QCOMPARE(korbina->requestedAddress(), address);
    QCOMPARE(m.p.ctx().windows.KorbinaForm->isVisible(), !address.isEmpty());
}

QTEST_MAIN(TestCategoryPages)
#include "tst_categorypages.moc"

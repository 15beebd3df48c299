// The category pages as data: every page of the grid, what each does to the
// grid, the labels and the radio panel, and that its captions are exactly the
// catalogue's keys.
#include "catalogue/catalogue.h"
#include "navigation/categorypages.h"

#include <QSet>
#include <QTest>

using namespace vidmo;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CategoryPage::Panel)

namespace {

int count(const CategoryPage &page, bool captioned)
{
    int n = 0;
    for (const auto &cell : page.cells)
        n += cell.caption.has_value() == captioned;
    return n;
}

// The caption the page gives a grid button; "<hidden>" or "<untouched>" else.
QString cellOf(const CategoryPage &page, int button)
{
    for (const auto &cell : page.cells) {
        if (cell.button == button)
            return cell.caption.value_or(QStringLiteral("<hidden>"));
    }
    return QStringLiteral("<untouched>");
}

} // namespace

class TestCategoryPageData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data();
    void pages();
    void captionsAreTheCatalogueKeys();
    void exactCaptions_data();
    void exactCaptions();
};

void TestCategoryPageData::pages_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("captioned");
    QTest::addColumn<int>("hidden");
    QTest::addColumn<CategoryPage::Panel>("panel");
    QTest::addColumn<QString>("labels"); // shown labels by number, "-" for none, "?" untouched
    QTest::addColumn<QString>("title");

    using P = CategoryPage::Panel;
    QTest::newRow("public") << "public" << 33 << 0 << P::Keep << "?" << "";
    QTest::newRow("radio") << "radio" << 27 << 6 << P::Show << "-" << "";
    QTest::newRow("music") << "music" << 33 << 0 << P::Hide << "-" << "";
    QTest::newRow("entertainment") << "entertainment" << 33 << 0 << P::Hide << "-" << "";
    QTest::newRow("Research") << "Research" << 27 << 6 << P::Hide << "-" << "";
    QTest::newRow("Sport") << "Sport" << 25 << 8 << P::Hide << "-" << "";
    QTest::newRow("movie") << "movie" << 30 << 3 << P::Hide << "-" << "";
    QTest::newRow("Cartoons") << "Cartoons" << 25 << 8 << P::Hide << "-" << "";
    QTest::newRow("Records") << "Records" << 33 << 0 << P::Hide << "-" << "";
    QTest::newRow("Ukrainian") << "Ukrainian" << 27 << 6 << P::Keep << "?" << "";
    QTest::newRow("CISa") << "CISa" << 18 << 15 << P::Keep << "1234" << "";
    QTest::newRow("CISb") << "CISb" << 3 << 30 << P::Hide << "1" << "";
    QTest::newRow("Miscellaneous") << "Miscellaneous" << 17 << 16 << P::Hide << "-"
                                   << "/title/2.4.html";
    // The closed section's pages leave row 1 to the section.
    QTest::newRow("erotica") << "erotica" << 15 << 15 << P::Keep << "-" << "";
    QTest::newRow("Porn") << "Porn" << 20 << 10 << P::Keep << "?" << "";
}

void TestCategoryPageData::pages()
{
    QFETCH(QString, key);
    QFETCH(int, captioned);
    QFETCH(int, hidden);
    QFETCH(CategoryPage::Panel, panel);
    QFETCH(QString, labels);
    QFETCH(QString, title);

    const CategoryPage *page = categoryPage(key);
    QVERIFY(page);
    QCOMPARE(count(*page, true), captioned);
    QCOMPARE(count(*page, false), hidden);
    QCOMPARE(page->radioPanel, panel);
    QCOMPARE(page->titlePage, title);
    QCOMPARE(page->setsLabels, labels != QLatin1String("?"));
    if (page->setsLabels) {
        QString shown;
        for (int i = 0; i < 4; ++i) {
            if (page->labels[size_t(i)])
                shown += QString::number(i + 1);
        }
        QCOMPARE(shown.isEmpty() ? QStringLiteral("-") : shown, labels);
    }
    // Cells come in grid order, each button once.
    int previous = 0;
    for (const auto &cell : page->cells) {
        QVERIFY2(cell.button > previous && cell.button <= 42, qPrintable(QString::number(cell.button)));
        previous = cell.button;
    }
}

void TestCategoryPageData::captionsAreTheCatalogueKeys()
{
    QSet<QString> keys;
    for (const TChannelEntry &row : channelCatalogue()) {
        if (row.Kind != ChannelKind::ClosedSubPage)
            keys.insert(row.Caption);
    }
    QSet<QString> onPages;
    for (const CategoryPage &page : categoryPages()) {
        for (const auto &cell : page.cells) {
            if (!cell.caption)
                continue;
            QVERIFY2(keys.contains(*cell.caption),
                     qPrintable(page.key + QStringLiteral(": \"") + *cell.caption + u'"'));
            onPages.insert(*cell.caption);
        }
    }
    // Every channel of the catalogue can be reached from a page.
    QCOMPARE(onPages.size(), 365);
    QCOMPARE(onPages, keys);
    QCOMPARE(categoryPages().size(), 15);
}

void TestCategoryPageData::exactCaptions_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("caption");

    // Written with escapes so that no editor folds a look-alike letter.
    QTest::newRow("Latin O2") << "music" << 16 << u"O2 \u0422\u0412"_s;
    QTest::newRow("Cyrillic O2") << "Miscellaneous" << 13 << u"\u041e2 \u0422\u0412"_s;
    QTest::newRow("MTV UA") << "Ukrainian" << 18 << u"\u041c\u0422V UA"_s;
    QTest::newRow("TVi") << "Ukrainian" << 11 << u"\u0422\u0412\u0456"_s;
    QTest::newRow("Cyrillic x") << "public" << 39 << u"\u041d\u0422\u0412,2\u0445"
                                                    u"2 \u0438 \u0434\u0440."_s;
    QTest::newRow("Latin x") << "entertainment" << 41 << u"2x2, \u0422\u041d\u0422, "
                                                         u"\u0421\u0422\u0421 \u0438 \u0434\u0440."_s;
    QTest::newRow("Latin TPO") << "CISa" << 41 << u"TPO"_s;
    QTest::newRow("Latin KTK") << "CISa" << 23 << u"KTK"_s;
    QTest::newRow("Retro radio") << "radio" << 27 << u"Retro "_s;
    QTest::newRow("Retro music") << "music" << 38 << u"Retro"_s;
    QTest::newRow("three blanks") << "public" << 26 << u"\u0420\u0418\u0410   "
                                                       u"\u041d\u043e\u0432\u043e\u0441\u0442\u0438"_s;
    QTest::newRow("1-avto UA") << "Sport" << 20 << u"  1-\u0430\u0432\u0442\u043e     UA"_s;
    QTest::newRow("KHL") << "Sport" << 31 << u"   \u041a\u0425\u041b     \u0422\u0435\u0441\u0442"_s;
    QTest::newRow("Russia 24 blanks") << "Miscellaneous" << 14 << u" \u0420\u043e\u0441\u0441\u0438\u044f 24 "_s;
    QTest::newRow("Moscow 24 dot") << "Miscellaneous" << 12 << u"\u041c\u043e\u0441\u043a\u0432\u0430 24."_s;
    QTest::newRow("Nauka dot") << "Research" << 20 << u"\u041d\u0430\u0443\u043a\u0430 2.0."_s;
    QTest::newRow("Nauka") << "Records" << 21 << u"\u041d\u0430\u0443\u043a\u0430 2.0"_s;
    QTest::newRow("Spice blank") << "erotica" << 27 << u"Spice TV "_s;
    QTest::newRow("Music Box one blank") << "Miscellaneous" << 21 << u"Music Box"_s;
    QTest::newRow("Music Box two blanks") << "music" << 13 << u"Music  Box"_s;
    QTest::newRow("turtles on Records") << "Records" << 13 << u"\u0427\u0435\u0440\u0435\u043f"
                                                              u"\u0430\u0448\u043a\u0438 \u043d"
                                                              u"\u0438\u043d\u0434\u0437\u044f"_s;
    QTest::newRow("erotica row 1 left alone") << "erotica" << 11 << u"<untouched>"_s;
    QTest::newRow("Porn row 1 left alone") << "Porn" << 10 << u"<untouched>"_s;
    QTest::newRow("Porn last") << "Porn" << 33 << u"<hidden>"_s;
}

void TestCategoryPageData::exactCaptions()
{
    QFETCH(QString, key);
    QFETCH(int, button);
    QFETCH(QString, caption);
    const CategoryPage *page = categoryPage(key);
    QVERIFY(page);
    QCOMPARE(cellOf(*page, button), caption);
}

QTEST_GUILESS_MAIN(TestCategoryPageData)
#include "tst_categorypagedata.moc"

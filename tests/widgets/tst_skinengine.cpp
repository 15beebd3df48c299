#include "app/skinengine.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <memory>

using vidmo::SkinEngine;

namespace {

// The stored rows, read beside the engine to know what each skin should draw.
QHash<QString, QJsonObject> storedRows()
{
    QFile file(QStringLiteral(":/skins/skins.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QHash<QString, QJsonObject> rows;
    const QJsonArray array = QJsonDocument::fromJson(file.readAll()).array();
    for (const QJsonValue &v : array)
        rows.insert(v.toObject().value(QLatin1String("name")).toString(), v.toObject());
    return rows;
}

bool near(const QColor &a, const QColor &b, int tolerance = 2)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

double distance(const QColor &a, const QColor &b)
{
    return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
}

// A pixel left of the caption, half-way down, where buttons show their face.
QColor buttonFace(QPushButton *button)
{
    const QImage image = button->grab().toImage();
    return image.pixelColor(8, image.height() / 2);
}

class StyleChangeCounter final : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange)
            ++count;
        return false;
    }
};

} // namespace

class tst_SkinEngine final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void namesInListOrder();
    void startsNeutralWithoutApplying();
    void everySkinFillsTheTemplate_data();
    void everySkinFillsTheTemplate();
    void templateLeavesFontsAndSizesToWindows();
    void setSkinRedrawsExistingAndNewButtons_data();
    void setSkinRedrawsExistingAndNewButtons();
    void unknownNameKeepsSkin_data();
    void unknownNameKeepsSkin();
    void sameSkinIsNotReapplied();
    void switchingKeepsFontsAndGeometry();
    void skinsAreDistinct();
    void neutralIsCalmLightGrey();

private:
    std::unique_ptr<SkinEngine> m_skins;
};

void tst_SkinEngine::init()
{
    m_skins = std::make_unique<SkinEngine>();
}

void tst_SkinEngine::cleanup()
{
    m_skins.reset();
    qApp->setStyleSheet(QString());
}

void tst_SkinEngine::namesInListOrder()
{
    const QStringList names = m_skins->names();
    QCOMPARE(names.size(), 69);
    QCOMPARE(names.first(), QStringLiteral("Acryl (internal)"));
    QCOMPARE(names.last(), QStringLiteral("XPSilver (internal)"));
    QCOMPARE(names.indexOf(SkinEngine::defaultSkin()), 33);
    // Names where a sort or a typo would show.
    QCOMPARE(names.at(3), QStringLiteral("Beijing Ext (internal)"));
    QCOMPARE(names.at(4), QStringLiteral("Beijing (internal)"));
    QCOMPARE(names.at(50), QStringLiteral("SoapSky - Blue (internal)"));
    QCOMPARE(names.at(53), QStringLiteral("Terminal4bit (internal)"));
    QCOMPARE(names.at(56), QStringLiteral("TV-b (internal)"));
    QCOMPARE(names.at(65), QStringLiteral("WMP 2008 (internal)"));
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
}

void tst_SkinEngine::startsNeutralWithoutApplying()
{
    QCOMPARE(SkinEngine::defaultSkin(), QStringLiteral("Neutral (internal)"));
    QCOMPARE(m_skins->current(), SkinEngine::defaultSkin());
    QVERIFY(qApp->styleSheet().isEmpty());
}

void tst_SkinEngine::everySkinFillsTheTemplate_data()
{
    QTest::addColumn<QString>("name");
    const SkinEngine skins;
    for (const QString &name : skins.names())
        QTest::newRow(qPrintable(name)) << name;
}

void tst_SkinEngine::everySkinFillsTheTemplate()
{
    QFETCH(QString, name);
    const QString sheet = m_skins->styleSheet(name);
    QVERIFY(sheet.size() > 1000);
    const QRegularExpressionMatch left = QRegularExpression(QStringLiteral("%\\w+%")).match(sheet);
    QVERIFY2(!left.hasMatch(), qPrintable(left.captured()));

    const QJsonObject row = storedRows().value(name);
    QVERIFY(!row.isEmpty());
    const QPalette palette = m_skins->palette(name);
    QCOMPARE(palette.color(QPalette::Window), QColor(row.value(QLatin1String("window")).toString()));
    QCOMPARE(palette.color(QPalette::Button), QColor(row.value(QLatin1String("button")).toString()));
    QVERIFY(sheet.contains(row.value(QLatin1String("button")).toString(), Qt::CaseInsensitive));
}

void tst_SkinEngine::templateLeavesFontsAndSizesToWindows()
{
    QFile file(QStringLiteral(":/skins/skin.qss"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString sheet = QString::fromUtf8(file.readAll());
    sheet.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                    QRegularExpression::DotMatchesEverythingOption));

    // Tabs and menu items size themselves; every other control has a fixed size.
    const QRegularExpression rule(QStringLiteral("([^{}]+)\\{([^}]*)\\}"));
    const QRegularExpression padding(QStringLiteral("padding[^:]*:([^;]*);"));
    int rules = 0;
    for (auto it = rule.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString selector = m.captured(1).trimmed();
        const QString body = m.captured(2);
        ++rules;
        QVERIFY2(!body.contains(QLatin1String("font")), qPrintable(selector));
        QVERIFY2(!body.contains(QRegularExpression(QStringLiteral("(^|[\\s;])(min-|max-)?(width|height)\\s*:")))
                     || selector.contains(QLatin1String("::")),
                 qPrintable(selector));
        if (selector.startsWith(QLatin1String("QTabBar::tab")) || selector.startsWith(QLatin1String("QMenu")))
            continue;
        for (auto p = padding.globalMatch(body); p.hasNext();) {
            const QString values = p.next().captured(1);
            for (const QString &v : values.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                QVERIFY2(v.chopped(2).toInt() <= 2, qPrintable(selector + QLatin1String(": ") + values));
        }
    }
    QVERIFY(rules > 30);
}

void tst_SkinEngine::setSkinRedrawsExistingAndNewButtons_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"Neutral (internal)", "DarkGlass (internal)", "Terminal4bit (internal)",
                             "Golden (internal)", "Office2007 Blue (internal)", "Retro (internal)"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_SkinEngine::setSkinRedrawsExistingAndNewButtons()
{
    QFETCH(QString, name);
    const QColor button(storedRows().value(name).value(QLatin1String("button")).toString());
    QVERIFY(button.isValid());

    // Start from another skin, so that the change itself is what is seen.
    QVERIFY(m_skins->setSkin(name == SkinEngine::defaultSkin() ? QStringLiteral("Wood (internal)")
                                                               : SkinEngine::defaultSkin()));
    QWidget window;
    window.resize(300, 100);
    auto *before = new QPushButton(&window);
    before->setGeometry(10, 10, 100, 30);
    window.ensurePolished();
    QVERIFY(!near(buttonFace(before), button));
    const QString previousSheet = qApp->styleSheet();

    QVERIFY(m_skins->setSkin(name));
    QCOMPARE(m_skins->current(), name);
    QVERIFY(qApp->styleSheet() != previousSheet);
    QCOMPARE(qApp->styleSheet(), m_skins->styleSheet(name));
    QCOMPARE(QApplication::palette().color(QPalette::Button), button);

    auto *after = new QPushButton(&window);
    after->setGeometry(10, 50, 100, 30);
    const QColor beforeFace = buttonFace(before);
    const QColor afterFace = buttonFace(after);
    QVERIFY2(near(beforeFace, button), qPrintable(beforeFace.name() + QLatin1String(" vs ") + button.name()));
    QVERIFY2(near(afterFace, button), qPrintable(afterFace.name() + QLatin1String(" vs ") + button.name()));
}

void tst_SkinEngine::unknownNameKeepsSkin_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("made up") << QStringLiteral("Plasma (internal)");
    QTest::newRow("other case") << QStringLiteral("golden (internal)");
    QTest::newRow("without suffix") << QStringLiteral("Golden");
    QTest::newRow("trailing blank") << QStringLiteral("Golden (internal) ");
}

void tst_SkinEngine::unknownNameKeepsSkin()
{
    QFETCH(QString, name);
    QVERIFY(m_skins->setSkin(QStringLiteral("Golden (internal)")));
    const QString sheet = qApp->styleSheet();
    const QColor window = QApplication::palette().color(QPalette::Window);

    QVERIFY(!m_skins->setSkin(name));
    QCOMPARE(m_skins->current(), QStringLiteral("Golden (internal)"));
    QCOMPARE(qApp->styleSheet(), sheet);
    QCOMPARE(QApplication::palette().color(QPalette::Window), window);
    QVERIFY(m_skins->styleSheet(name).isEmpty());
}

void tst_SkinEngine::sameSkinIsNotReapplied()
{
    QWidget window;
    auto *button = new QPushButton(&window);
    window.ensurePolished();
    StyleChangeCounter counter;
    button->installEventFilter(&counter);

    QVERIFY(m_skins->setSkin(QStringLiteral("Wood (internal)")));
    QVERIFY(counter.count > 0);

    counter.count = 0;
    QVERIFY(m_skins->setSkin(QStringLiteral("Wood (internal)")));
    QCOMPARE(counter.count, 0);

    // Someone else replaced the sheet: the same name puts the skin back.
    qApp->setStyleSheet(QStringLiteral("QPushButton { color: red; }"));
    QVERIFY(m_skins->setSkin(QStringLiteral("Wood (internal)")));
    QCOMPARE(qApp->styleSheet(), m_skins->styleSheet(QStringLiteral("Wood (internal)")));
}

void tst_SkinEngine::switchingKeepsFontsAndGeometry()
{
    QWidget window;
    QFont windowFont(QStringLiteral("Tahoma"));
    windowFont.setPixelSize(11);
    window.setFont(windowFont);
    auto *grid = new QPushButton(QStringLiteral("Первый\nканал"), &window);
    grid->setGeometry(600, 4, 64, 38);
    auto *category = new QPushButton(QStringLiteral("Общественные"), &window);
    category->setGeometry(5, 4, 82, 28);
    auto *label = new QLabel(QStringLiteral("Vidmo Player"), &window);
    QFont big(QStringLiteral("Tahoma"));
    big.setPixelSize(19);
    big.setBold(true);
    label->setFont(big);
    window.ensurePolished();

    for (const char *name : {"Neutral (internal)", "DarkGlass (internal)", "Ledenets (internal)",
                             "Neutral (internal)"}) {
        QVERIFY(m_skins->setSkin(QString::fromLatin1(name)));
        (void)window.grab();
        QCOMPARE(grid->font(), windowFont);
        QCOMPARE(category->font(), windowFont);
        QCOMPARE(label->font(), big);
        QCOMPARE(grid->geometry(), QRect(600, 4, 64, 38));
        QCOMPARE(category->geometry(), QRect(5, 4, 82, 28));
    }
}

void tst_SkinEngine::skinsAreDistinct()
{
    // What the eye takes in first: window and buttons, then the highlight.
    const QStringList names = m_skins->names();
    QVector<QPalette> palettes;
    for (const QString &name : names)
        palettes << m_skins->palette(name);
    double closest = 1e9;
    QString pair;
    for (int i = 0; i < palettes.size(); ++i) {
        for (int j = i + 1; j < palettes.size(); ++j) {
            const QPalette &a = palettes[i];
            const QPalette &b = palettes[j];
            const double d = distance(a.color(QPalette::Window), b.color(QPalette::Window))
                + distance(a.color(QPalette::Button), b.color(QPalette::Button))
                + 0.5 * distance(a.color(QPalette::Highlight), b.color(QPalette::Highlight));
            if (d < closest) {
                closest = d;
                pair = names[i] + QLatin1String(" / ") + names[j];
            }
        }
    }
    QVERIFY2(closest >= 50, qPrintable(pair + QLatin1String(": ") + QString::number(closest)));
}

void tst_SkinEngine::neutralIsCalmLightGrey()
{
    const QPalette p = m_skins->palette(SkinEngine::defaultSkin());
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button}) {
        const QColor c = p.color(role);
        QVERIFY2(c.hslSaturationF() < 0.08, qPrintable(c.name()));
        QVERIFY2(c.lightnessF() > 0.85, qPrintable(c.name()));
    }
    QVERIFY(p.color(QPalette::WindowText).lightnessF() < 0.25);
    QVERIFY(p.color(QPalette::ButtonText).lightnessF() < 0.25);
}

QTEST_MAIN(tst_SkinEngine)
#include "tst_skinengine.moc"

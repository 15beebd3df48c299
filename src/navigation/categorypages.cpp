#include "navigation/categorypages.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QtDebug>

// A static library drops resources nobody references; this keeps the pages in.
static void initNavigationResource()
{
    Q_INIT_RESOURCE(navigation);
}

namespace vidmo {

namespace {

constexpr int FirstGridButton = 10;
constexpr int GridRows = 11;

QJsonArray readPages()
{
    initNavigationResource();
    QFile file(QStringLiteral(":/navigation/pages.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        qCritical("navigation: cannot open %s", qPrintable(file.fileName()));
        return {};
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        qCritical("navigation: pages.json at offset %d: %s", error.offset,
                  qPrintable(error.errorString()));
    return doc.array();
}

std::optional<QString> optionalText(const QJsonValue &v)
{
    if (v.isString())
        return v.toString();
    return std::nullopt;
}

CategoryPage::Panel panelFromName(const QString &name)
{
    if (name == QLatin1String("hide"))
        return CategoryPage::Panel::Hide;
    if (name == QLatin1String("show"))
        return CategoryPage::Panel::Show;
    if (!name.isEmpty())
        qCritical("navigation: unknown radio panel state %s", qPrintable(name));
    return CategoryPage::Panel::Keep;
}

// A row line adds its three cells; any other line is the head of its page.
void addLine(CategoryPage &page, const QJsonObject &o)
{
    if (o.contains(QLatin1String("Row"))) {
        const int row = o.value(QLatin1String("Row")).toInt();
        const QJsonArray cells = o.value(QLatin1String("Cells")).toArray();
        if (row < 1 || row > GridRows || cells.size() != 3) {
            qCritical("navigation: page %s: bad row %d", qPrintable(page.key), row);
            return;
        }
        for (int column = 0; column < 3; ++column)
            page.cells.append({FirstGridButton + 3 * (row - 1) + column,
                               optionalText(cells.at(column))});
        return;
    }
    page.radioPanel = panelFromName(o.value(QLatin1String("RadioPanel")).toString());
    page.titlePage = o.value(QLatin1String("TitlePage")).toString();
    page.captionsOnly = o.value(QLatin1String("CaptionsOnly")).toBool();
    if (o.contains(QLatin1String("Labels"))) {
        const QJsonArray labels = o.value(QLatin1String("Labels")).toArray();
        page.setsLabels = true;
        for (int i = 0; i < 4; ++i)
            page.labels[size_t(i)] = optionalText(labels.at(i));
    }
    for (const QJsonValue &b : o.value(QLatin1String("Show")).toArray())
        page.show.append(b.toInt());
}

QVector<CategoryPage> loadPages()
{
    QVector<CategoryPage> pages;
    for (const QJsonValue &line : readPages()) {
        const QJsonObject o = line.toObject();
        const QString key = o.value(QLatin1String("Page")).toString();
        if (pages.isEmpty() || pages.last().key != key) {
            pages.append(CategoryPage{});
            pages.last().key = key;
        }
        addLine(pages.last(), o);
    }
    return pages;
}

} // namespace

const QVector<CategoryPage> &categoryPages()
{
    static const QVector<CategoryPage> pages = loadPages();
    return pages;
}

const CategoryPage *categoryPage(const QString &key)
{
    for (const CategoryPage &page : categoryPages()) {
        if (page.key == key)
            return &page;
    }
    return nullptr;
}

} // namespace vidmo

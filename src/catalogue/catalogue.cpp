#include "catalogue/catalogue.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QtDebug>

// A static library drops resources nobody references; this keeps the tables in.
static void initCatalogueResource()
{
    Q_INIT_RESOURCE(catalogue);
}

namespace vidmo {

namespace {

QJsonDocument readResource(const QString &name)
{
    initCatalogueResource();
    QFile file(QStringLiteral(":/catalogue/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qCritical("catalogue: cannot open %s", qPrintable(file.fileName()));
        return {};
    }
    QJsonParseError error{};
    QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        qCritical("catalogue: %s at offset %d: %s", qPrintable(name), error.offset,
                  qPrintable(error.errorString()));
    return doc;
}

const QHash<QString, QString> &hostTable()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> hosts;
        const QJsonObject root = readResource(QStringLiteral("hosts.json")).object();
        for (const auto &group : {QStringLiteral("sites"), QStringLiteral("stations")}) {
            const QJsonObject entries = root.value(group).toObject();
            for (auto it = entries.begin(); it != entries.end(); ++it) {
                if (hosts.contains(it.key()))
                    qCritical("catalogue: host key %s given twice", qPrintable(it.key()));
                hosts.insert(it.key(), it.value().toString());
            }
        }
        return hosts;
    }();
    return table;
}

// "{key}" stands for the host of that key; the server token is left for the
// caller, who knows the configured server.
QString expandHosts(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{([a-z0-9-]+)\\}"));
    QString out;
    qsizetype done = 0;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString key = m.captured(1);
        QString host = catalogueHost(key);
        if (host.isEmpty()) {
            if (m.captured(0) != kServerToken)
                qCritical("catalogue: no host for %s", qPrintable(key));
            host = m.captured(0);
        }
        out += QStringView(text).mid(done, m.capturedStart() - done);
        out += host;
        done = m.capturedEnd();
    }
    out += QStringView(text).mid(done);
    return out;
}

bool kindFromName(const QString &name, ChannelKind &kind)
{
    for (ChannelKind k : {ChannelKind::ChannelPage, ChannelKind::RadioStation,
                          ChannelKind::OutsideWindow, ChannelKind::SystemBrowser,
                          ChannelKind::ClosedSubPage}) {
        if (channelKindName(k) == name) {
            kind = k;
            return true;
        }
    }
    return false;
}

bool windowFromName(const QString &name, ChannelWindow &window)
{
    for (ChannelWindow w : {ChannelWindow::TKorbinaForm, ChannelWindow::TNarkomTVForm,
                            ChannelWindow::TOvegoPlayerForm, ChannelWindow::TBrowser2Form}) {
        if (channelWindowName(w) == name) {
            window = w;
            return true;
        }
    }
    return false;
}

QVector<TChannelEntry> loadTable(const QString &name)
{
    QVector<TChannelEntry> rows;
    const QJsonArray array = readResource(name).array();
    rows.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonObject o = array.at(i).toObject();
        TChannelEntry row;
        row.Caption = o.value(QLatin1String("Caption")).toString();
        row.Page = o.value(QLatin1String("Page")).toString();
        row.Programme = o.value(QLatin1String("Programme")).toString();
        row.StreamUrl = expandHosts(o.value(QLatin1String("StreamUrl")).toString()).toLatin1();
        row.Address = expandHosts(o.value(QLatin1String("Address")).toString());
        row.CategoryKey = o.value(QLatin1String("CategoryKey")).toString();
        const QString kind = o.value(QLatin1String("Kind")).toString();
        const QString window = o.value(QLatin1String("Window")).toString();
        if (!kindFromName(kind, row.Kind)
            || (!window.isEmpty() && !windowFromName(window, row.Window))) {
            qCritical("catalogue: %s row %lld: bad kind or window", qPrintable(name),
                      static_cast<long long>(i + 1));
            continue;
        }
        rows.append(row);
    }
    return rows;
}

} // namespace

const QVector<TChannelEntry> &channelCatalogue()
{
    static const QVector<TChannelEntry> rows = loadTable(QStringLiteral("channels.json"));
    return rows;
}

const QVector<TChannelEntry> &favoriteCatalogue()
{
    static const QVector<TChannelEntry> rows = loadTable(QStringLiteral("favorites.json"));
    return rows;
}

QString catalogueHost(const QString &key)
{
    return hostTable().value(key);
}

QString withServerBase(const QString &page, const QString &serverBase)
{
    if (!page.startsWith(kServerToken))
        return page;
    return serverBase + page.mid(kServerToken.size());
}

QString channelKindName(ChannelKind kind)
{
    switch (kind) {
    case ChannelKind::ChannelPage:
        return QStringLiteral("ChannelPage");
    case ChannelKind::RadioStation:
        return QStringLiteral("RadioStation");
    case ChannelKind::OutsideWindow:
        return QStringLiteral("OutsideWindow");
    case ChannelKind::SystemBrowser:
        return QStringLiteral("SystemBrowser");
    case ChannelKind::ClosedSubPage:
        return QStringLiteral("ClosedSubPage");
    }
    return {};
}

QString channelWindowName(ChannelWindow window)
{
    switch (window) {
    case ChannelWindow::None:
        return {};
    case ChannelWindow::TKorbinaForm:
        return QStringLiteral("TKorbinaForm");
    case ChannelWindow::TNarkomTVForm:
        return QStringLiteral("TNarkomTVForm");
    case ChannelWindow::TOvegoPlayerForm:
        return QStringLiteral("TOvegoPlayerForm");
    case ChannelWindow::TBrowser2Form:
        return QStringLiteral("TBrowser2Form");
    }
    return {};
}

} // namespace vidmo

// Build tool: writes the channel page tree of the program directory from the
// catalogue tables, one placeholder page per Page and Programme path.
//   vidmo_pagetree <data dir> <program dir>
// Only files that are missing or hold an outdated placeholder are written, so
// a rebuild touches nothing and a real page put in place is kept.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QStringList>
#include <QUrl>

#include <cstdio>

namespace {

const QByteArray kMarker = "<!-- vidmo-player: generated placeholder -->";
const QString kNoProgramme = QStringLiteral("channel/tv-program/noprogramm.html");

bool failed = false;

void fail(const QString &what)
{
    std::fprintf(stderr, "vidmo_pagetree: %s\n", qPrintable(what));
    failed = true;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read ") + path);
        return {};
    }
    return f.readAll();
}

QJsonDocument readJson(const QString &path)
{
    QJsonParseError error{};
    QJsonDocument doc = QJsonDocument::fromJson(readFile(path), &error);
    if (error.error != QJsonParseError::NoError)
        fail(path + QStringLiteral(": ") + error.errorString());
    return doc;
}

// The web view layer drops trailing blanks and dots of each path component
// when it opens a local page, so the file is shipped under that name.
QString shippedName(const QString &relative)
{
    QStringList parts = relative.split(QLatin1Char('/'));
    for (QString &part : parts) {
        while (part.endsWith(QLatin1Char(' ')) || part.endsWith(QLatin1Char('.')))
            part.chop(1);
    }
    return parts.join(QLatin1Char('/'));
}

int written = 0;

void writeIfChanged(const QString &path, const QByteArray &content)
{
    QFile f(path);
    if (f.exists()) {
        if (!f.open(QIODevice::ReadOnly)) {
            fail(QStringLiteral("cannot read ") + path);
            return;
        }
        const QByteArray old = f.readAll();
        f.close();
        if (old == content || !old.contains(kMarker))
            return;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        fail(QStringLiteral("cannot create the directory of ") + path);
        return;
    }
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
        fail(QStringLiteral("cannot write ") + path);
        return;
    }
    ++written;
}

QByteArray fill(QString tmpl, const QStringList &captions, const QString &player = {})
{
    QStringList escaped;
    for (const QString &c : captions)
        escaped << c.toHtmlEscaped();
    tmpl.replace(QLatin1String("@CAPTION@"), escaped.join(QLatin1Char('\n')));
    tmpl.replace(QLatin1String("@TITLE@"), escaped.join(QLatin1String(" / ")));
    tmpl.replace(QLatin1String("@PLAYER@"), player);
    return tmpl.toUtf8();
}

using PathCaptions = QMap<QString, QStringList>;

void add(PathCaptions &into, const QString &path, const QString &caption)
{
    QStringList &captions = into[shippedName(path)];
    if (!captions.contains(caption))
        captions << caption;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: vidmo_pagetree <data dir> <program dir>\n");
        return 2;
    }
    const QString data = args.at(1) + QLatin1Char('/');
    const QString out = args.at(2) + QLatin1Char('/');

    PathCaptions players;
    PathCaptions programmes;
    for (const char *table : {"channels.json", "favorites.json"}) {
        const QJsonArray rows = readJson(data + QLatin1String("catalogue/") + QLatin1String(table)).array();
        for (const auto &value : rows) {
            const QJsonObject row = value.toObject();
            const QString caption = row.value(QLatin1String("Caption")).toString();
            const QString page = row.value(QLatin1String("Page")).toString();
            const QString programme = row.value(QLatin1String("Programme")).toString();
            if (page.startsWith(QLatin1String("channel/")))
                add(players, page, caption);
            if (!programme.isEmpty() && programme != kNoProgramme)
                add(programmes, programme, caption);
        }
    }

    const QString playerHost = readJson(data + QLatin1String("catalogue/hosts.json"))
                                   .object().value(QLatin1String("sites")).toObject()
                                   .value(QLatin1String("player")).toString();
    if (playerHost.isEmpty())
        fail(QStringLiteral("hosts.json names no player host"));

    const QString templates = data + QLatin1String("channel-templates/");
    const QString playerTemplate = QString::fromUtf8(readFile(templates + QLatin1String("player.html")));
    const QString programmeTemplate = QString::fromUtf8(readFile(templates + QLatin1String("programme.html")));
    const QByteArray noProgramme = readFile(templates + QLatin1String("noprogramm.html"));
    const QByteArray readme = readFile(templates + QLatin1String("README"));
    if (failed)
        return 1;

    for (auto it = players.cbegin(); it != players.cend(); ++it) {
        if (programmes.contains(it.key()))
            fail(it.key() + QStringLiteral(" is both a player and a programme page"));
        QUrl player;
        player.setScheme(QStringLiteral("http"));
        player.setHost(playerHost);
        player.setPath(it.key().mid(int(sizeof("channel") - 1)));
        writeIfChanged(out + it.key(), fill(playerTemplate, it.value(),
                                            player.toString(QUrl::FullyEncoded)));
    }
    for (auto it = programmes.cbegin(); it != programmes.cend(); ++it)
        writeIfChanged(out + it.key(), fill(programmeTemplate, it.value()));
    writeIfChanged(out + kNoProgramme, noProgramme);
    writeIfChanged(out + QLatin1String("channel/README"), readme);

    std::printf("channel tree: %lld player pages, %lld programme pages, %d files written\n",
                static_cast<long long>(players.size()), static_cast<long long>(programmes.size()),
                written);
    return failed ? 1 : 0;
}

#pragma once

#include "catalogue/channelentry.h"

#include <QLatin1String>
#include <QString>
#include <QVector>

namespace vidmo {

// The two tables, read once from the compiled-in data and never changed.
// Stream and outside-site addresses come with their hosts filled in.
const QVector<TChannelEntry> &channelCatalogue();
const QVector<TChannelEntry> &favoriteCatalogue();

// The host the data names by `key` ("korbina", "europa", ...); empty if unknown.
QString catalogueHost(const QString &key);

// A Page that starts with this token lies on the project web server, not in
// the page tree ("Зайцев ФМ" shows the server's start page).
inline constexpr QLatin1String kServerToken{"{server}"};

// `page` with a leading server token replaced by `serverBase`; any other page
// is returned as it is.
QString withServerBase(const QString &page, const QString &serverBase);

QString channelKindName(ChannelKind kind);
QString channelWindowName(ChannelWindow window);

} // namespace vidmo

#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

namespace vidmo {

enum class PlaylistFormat { None, M3U, PLS, ASX, XSPF };

// Bodies larger than this are not taken for playlists: a stream would
// never end, and real playlists are a few hundred bytes.
inline constexpr qsizetype kPlaylistSizeCap = 64 * 1024;

// Decides from the response's content type, the address and the first bytes
// of the body whether the address names a playlist. The body wins over the
// content type: servers send .asx and .m3u under many types. An HLS playlist
// is not one of ours (its entries are pieces of one stream): None.
PlaylistFormat sniffPlaylist(const QByteArray &contentType, const QUrl &address,
                             const QByteArray &head);

// True when the content type alone says "a stream, not a list" (audio/mpeg,
// application/ogg, ...), so the body need not be looked at. The ASF type is
// not one of them: .asx lists are served under it too.
bool contentTypeIsStream(const QByteArray &contentType);

// The entries of a playlist in order, relative ones resolved against base.
// Only addresses a player can open remotely are kept (http, https, mms,
// rtsp, rtmp; file only when the playlist itself is a local file).
QList<QUrl> parsePlaylist(PlaylistFormat format, const QByteArray &body, const QUrl &base);

} // namespace vidmo

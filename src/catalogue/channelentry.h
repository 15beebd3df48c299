#pragma once

#include <QByteArray>
#include <QString>

namespace vidmo {

// What choosing a channel does.
enum class ChannelKind {
    ChannelPage,    // player page into the main view, programme page into the programme window
    RadioStation,   // as ChannelPage, then the station's stream
    OutsideWindow,  // an outside site's page in a window of its own
    SystemBrowser,  // an outside site's page in the system's web browser
    ClosedSubPage,  // one of the closed section's two sub-pages
};

// The windows an OutsideWindow row can show.
enum class ChannelWindow {
    None,
    TKorbinaForm,
    TNarkomTVForm,
    TOvegoPlayerForm,
    TBrowser2Form,
};

// One row of a catalogue. Fields a kind does not use stay empty.
struct TChannelEntry
{
    QString Caption;       // the key, compared exactly; empty for ClosedSubPage rows
    ChannelKind Kind = ChannelKind::ChannelPage;
    QString Page;          // relative to the program directory, '/' as separator
    QString Programme;     // relative to the program directory; empty in the favourites table
    QByteArray StreamUrl;  // single-byte characters only
    ChannelWindow Window = ChannelWindow::None;
    QString Address;
    QString CategoryKey;   // ClosedSubPage: key under [Category] of the language file
};

} // namespace vidmo

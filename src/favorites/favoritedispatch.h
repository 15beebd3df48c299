#pragma once

#include <QString>

namespace vidmo {

struct AppContext;
struct TChannelEntry;

// Plays a favourite through the favourites' own table: every row whose
// caption equals the favourite runs, in table order. Unlike the channel
// dispatch it sets no programme page, plays no radio, opens no closed
// sub-page and catches nothing: an error reaches the caller.
class FavoriteDispatch final
{
public:
    explicit FavoriteDispatch(AppContext &ctx) : m_ctx(ctx) {}

    void run(const QString &caption) const;

private:
    void runRow(const TChannelEntry &row) const;

    AppContext &m_ctx;
};

} // namespace vidmo

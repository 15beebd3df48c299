#pragma once

#include <QVector>

class QAbstractButton;
class QObject;

namespace vidmo {

struct AppContext;

// The 24 favourite slots. While the program runs the slot buttons' captions
// are the store; every change goes to [Favorite] of Setting.ini at once.
class FavoriteStore final
{
public:
    // slotButtons: slot 1 .. slot 24, in order.
    FavoriteStore(AppContext &ctx, QVector<QAbstractButton *> slotButtons);

    // Fills the slot buttons from the settings file.
    void load();

    // Puts the caption of `source` into the first free slot and writes it.
    // `source` is the main window's button the menu was opened on; nullptr
    // stores nothing. When all slots are filled afterwards, shows NoFavorite.
    // A failed write throws, leaving the slot's button with the caption.
    void add(const QAbstractButton *source);

    // Empties the slot whose button is `button` and writes it; does nothing
    // for anything that is not a slot button.
    void clear(const QObject *button);

    // 1 .. 24 for a slot button, 0 otherwise.
    int slotOf(const QObject *button) const;
    QString caption(int slot) const;

private:
    void write(int slot);

    AppContext &m_ctx;
    QVector<QAbstractButton *> m_slots;
};

} // namespace vidmo

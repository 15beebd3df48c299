#pragma once

#include "app/secondarywindow.h"
#include "favorites/favoritedispatch.h"
#include "favorites/favoritestore.h"

#include <QWidget>

#include <array>

class QAction;
class QMenu;
class QPushButton;

namespace vidmo {

class SkinButton;

// The favourites window: the 24 slots as buttons. A click plays a slot
// through the favourites' own table; the context menu clears one.
class TFavoriteForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 224;
    static constexpr int ClientHeight = 388;

    explicit TFavoriteForm(AppContext &ctx);

    // sBitBtn1..sBitBtn24 (the slots) and sBitBtn25 ("Закрыть").
    SkinButton *sBitBtn(int number) const;
    // The button the context menu was last opened on.
    QPushButton *popupComponent() const { return m_popupComponent; }

    FavoriteStore &store() { return m_store; }

    QPushButton *sButton1 = nullptr; // hidden; its click is the dispatcher
    QMenu *PopupMenu2 = nullptr;
    QAction *N1 = nullptr;           // "Очистить"
    QString FavoriteCaption;         // the slot clicked last

public Q_SLOTS:
    void sButton1Click();
    void N1Click();
    void sBitBtn25Click();

private:
    void FormCreate();
    void slotClick(SkinButton *slot);
    void showPopupMenu(SkinButton *button, const QPoint &pos);
    QVector<QAbstractButton *> buildSlots();

    std::array<SkinButton *, 26> m_bitBtn{};
    FavoriteStore m_store;
    FavoriteDispatch m_dispatch;
    QPushButton *m_popupComponent = nullptr;
};

} // namespace vidmo

#include "favorites/tfavoriteform.h"

#include "app/guard.h"
#include "app/skinbutton.h"
#include "favorites/favoritevalue.h"

#include <QAction>
#include <QMenu>

namespace vidmo {

namespace {

constexpr int SlotColumnLeft[3] = {15, 81, 147};
constexpr int SlotRowTop[8] = {8, 48, 88, 128, 168, 208, 248, 288};

} // namespace

TFavoriteForm::TFavoriteForm(AppContext &ctx)
    : SecondaryWindow(ctx), m_store(ctx, buildSlots()), m_dispatch(ctx)
{
    setupWindow(this, QStringLiteral("FavoriteForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    auto *close = new SkinButton(QStringLiteral("sBitBtn25"), QStringLiteral("Закрыть"), this);
    close->setGeometry(81, 345, 64, 25);
    m_bitBtn[25] = close;
    connect(close, &QPushButton::clicked, this, &TFavoriteForm::sBitBtn25Click);

    sButton1 = new QPushButton(QStringLiteral("Избранное"), this);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setGeometry(8, 345, 65, 25);
    sButton1->hide();
    connect(sButton1, &QPushButton::clicked, this, &TFavoriteForm::sButton1Click);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    N1 = PopupMenu2->addAction(QStringLiteral("Очистить"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, &TFavoriteForm::N1Click);

    FormCreate();
}

// Runs before the window itself is set up: the store needs its buttons.
QVector<QAbstractButton *> TFavoriteForm::buildSlots()
{
    QVector<QAbstractButton *> slotButtons;
    for (int k = 1; k <= FavoriteSlotCount; ++k) {
        const int index = k - 1;
        auto *b = new SkinButton(QStringLiteral("sBitBtn%1").arg(k), QString(), this);
        b->setGeometry(SlotColumnLeft[index / 8], SlotRowTop[index % 8], 64, 38);
        connect(b, &QPushButton::clicked, this, [this, b] { slotClick(b); });
        m_bitBtn[size_t(k)] = b;
        slotButtons << b;
    }
    return slotButtons;
}

void TFavoriteForm::FormCreate()
{
    m_store.load();
    for (int n = 1; n <= 25; ++n) {
        SkinButton *b = m_bitBtn[size_t(n)];
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QWidget::customContextMenuRequested, this,
                [this, b](const QPoint &pos) { showPopupMenu(b, pos); });
    }
}

SkinButton *TFavoriteForm::sBitBtn(int number) const
{
    if (number < 1 || number >= int(m_bitBtn.size()))
        return nullptr;
    return m_bitBtn[size_t(number)];
}

void TFavoriteForm::slotClick(SkinButton *slot)
{
    FavoriteCaption = slot->text();
    sButton1Click();
}

void TFavoriteForm::sButton1Click()
{
    guard(*m_ctx.services.messageBox, [this] { m_dispatch.run(FavoriteCaption); });
}

void TFavoriteForm::N1Click()
{
    guard(*m_ctx.services.messageBox, [this] { m_store.clear(m_popupComponent); });
}

void TFavoriteForm::sBitBtn25Click()
{
    close();
}

void TFavoriteForm::showPopupMenu(SkinButton *button, const QPoint &pos)
{
    m_popupComponent = button;
    PopupMenu2->popup(button->mapToGlobal(pos));
}

} // namespace vidmo

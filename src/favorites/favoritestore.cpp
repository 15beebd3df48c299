#include "favorites/favoritestore.h"

#include "app/appcontext.h"
#include "app/platform.h"
#include "favorites/favoritevalue.h"
#include "settings/inifile.h"

#include <QAbstractButton>

namespace vidmo {

namespace {

const QString kSection = QStringLiteral("Favorite");

} // namespace

FavoriteStore::FavoriteStore(AppContext &ctx, QVector<QAbstractButton *> slotButtons)
    : m_ctx(ctx), m_slots(std::move(slotButtons))
{
    Q_ASSERT(m_slots.size() == FavoriteSlotCount);
}

void FavoriteStore::load()
{
    for (int k = 1; k <= FavoriteSlotCount; ++k)
        m_slots[k - 1]->setText(m_ctx.settingsFile->readString(kSection, favoriteKey(k), QString()));
}

void FavoriteStore::add(const QAbstractButton *source)
{
    for (int k = 1; k <= FavoriteSlotCount; ++k) {
        if (m_slots[k - 1]->text().isEmpty() && source) {
            m_slots[k - 1]->setText(source->text());
            write(k);
            break;
        }
    }
    for (const QAbstractButton *slot : m_slots) {
        if (slot->text().isEmpty())
            return;
    }
    m_ctx.services.messageBox->show(m_ctx.lang(QStringLiteral("Message"), QStringLiteral("NoFavorite")));
}

void FavoriteStore::clear(const QObject *button)
{
    const int k = slotOf(button);
    if (k == 0)
        return;
    m_slots[k - 1]->setText(QString());
    write(k);
}

int FavoriteStore::slotOf(const QObject *button) const
{
    for (int k = 1; k <= FavoriteSlotCount; ++k) {
        if (m_slots[k - 1] == button)
            return k;
    }
    return 0;
}

QString FavoriteStore::caption(int slot) const
{
    return m_slots[slot - 1]->text();
}

void FavoriteStore::write(int slot)
{
    // What is written is the button's caption, as the slot now shows it.
    m_ctx.settingsFile->writeString(kSection, favoriteKey(slot),
                                    favoriteStoredValue(m_slots[slot - 1]->text()));
}

} // namespace vidmo

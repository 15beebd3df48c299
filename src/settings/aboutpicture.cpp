#include "settings/aboutpicture.h"

#include "app/windowutil.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vidmo {

QPixmap drawAboutPicture(QSize size)
{
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0.0, QColor(0x1d, 0x3a, 0x5f));
    sky.setColorAt(1.0, QColor(0x0b, 0x16, 0x26));
    p.fillRect(picture.rect(), sky);

    // The emblem: a screen with a play mark.
    const QRectF screen(30, 40, 120, 84);
    p.setPen(QPen(QColor(0xd8, 0xe6, 0xf5), 4));
    p.setBrush(QColor(0x2f, 0x5d, 0x94));
    p.drawRoundedRect(screen, 10, 10);
    QPainterPath play;
    play.moveTo(screen.center() + QPointF(-16, -22));
    play.lineTo(screen.center() + QPointF(24, 0));
    play.lineTo(screen.center() + QPointF(-16, 22));
    play.closeSubpath();
    p.fillPath(play, QColor(0xff, 0xb3, 0x2e));
    p.drawLine(QPointF(70, 132), QPointF(110, 132));

    p.setPen(Qt::white);
    p.setFont(layoutFont(QStringLiteral("Tahoma"), 26, true));
    p.drawText(QRectF(170, 40, size.width() - 180, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Vidmo Player"));
    p.setFont(layoutFont(QStringLiteral("Tahoma"), 12));
    p.setPen(QColor(0xff, 0xb3, 0x2e));
    p.drawText(QRectF(172, 92, size.width() - 180, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Версия 2.4"));

    p.setPen(QColor(0xd8, 0xe6, 0xf5));
    p.setFont(layoutFont(QStringLiteral("Tahoma"), 9));
    const QRectF text(30, 170, size.width() - 60, 120);
    p.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Интернет-телевидение и радио в одном окне.\n\n"
                              "Связь с авторами: team@vidmo-player.example"));
    return picture;
}

} // namespace vidmo

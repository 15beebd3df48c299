#include "app/icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// A static library drops resources nobody references; this keeps the pictures in.
static void initIconResource()
{
    Q_INIT_RESOURCE(icons);
}

namespace vidmo {

namespace {

// Rendered here rather than through the SVG icon plug-in, so the pictures do
// not depend on which image plug-ins a desktop has installed.
QIcon renderIcon(const QString &resource, std::initializer_list<int> sizes)
{
    initIconResource();
    QSvgRenderer svg(resource);
    QIcon icon;
    if (!svg.isValid()) {
        qWarning("icons: cannot read %s", qPrintable(resource));
        return icon;
    }
    for (int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon toolBarIcon(const QString &name)
{
    return renderIcon(QStringLiteral(":/icons/%1.svg").arg(name), {32});
}

QIcon radioPanelIcon(const QString &name)
{
    return renderIcon(QStringLiteral(":/icons/radio-%1.svg").arg(name), {24});
}

QIcon applicationIcon()
{
    static const QIcon icon =
        renderIcon(QStringLiteral(":/icons/vidmo-player.svg"), {128, 96, 64, 48, 32});
    return icon;
}

} // namespace vidmo

#include "app/skinbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

namespace vidmo {

SkinButton::SkinButton(const QString &objectName, const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::TabFocus);
}

void SkinButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    area.adjust(1, 0, -1, 0);
    if (isDown() || isChecked())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    QTextOption layout(Qt::AlignCenter);
    layout.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.setPen(option.palette.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                        QPalette::ButtonText));
    painter.drawText(QRectF(area), caption, layout);
}

} // namespace vidmo

#pragma once

#include <QPushButton>

namespace vidmo {

// The program's skinned bit-button. Long captions wrap onto further lines
// inside the button instead of being cut; text() keeps the caption exactly.
class SkinButton final : public QPushButton
{
    Q_OBJECT

public:
    SkinButton(const QString &objectName, const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace vidmo

#pragma once

#include <QPixmap>
#include <QSize>

namespace vidmo {

// The picture of the "О программе" tab: product name, version and contact.
QPixmap drawAboutPicture(QSize size);

} // namespace vidmo

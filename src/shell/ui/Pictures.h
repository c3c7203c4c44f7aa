#pragma once

#include <QIcon>
#include <QPixmap>

namespace zorneta {

// Pictures the program draws itself: the two connection states and the logo.
QPixmap connectedPicture();
QPixmap notConnectedPicture();
QPixmap logoPicture(int size = 96);

} // namespace zorneta

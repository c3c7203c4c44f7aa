#pragma once

#include <QIcon>
#include <QPixmap>

namespace zorneta {

// Pictures the program draws itself: the two connection states and the logo.
QPixmap ConnectedPicture();
QPixmap NotConnectedPicture();
QPixmap LogoPicture(int size = 96);

} // namespace zorneta

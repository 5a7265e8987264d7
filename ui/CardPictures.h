#pragma once

#include <QPixmap>
#include <QSize>

namespace kavo {

// The card's pictures, drawn rather than shipped: 12 x 12 start and stop icons and the two
// backgrounds (normal and selected).
QPixmap PlayIcon();
QPixmap StopIcon();
QPixmap CardBackground(QSize size, bool selected);

} // namespace kavo

#pragma once
// The small pictures of the record list, drawn at run time: the six arrows of
// the navigation bar, the close cross and the quick-search magnifier.

#include <QPixmap>

namespace kontura {

enum class NavPicture { FirstRecord, PrevPage, PrevRecord, NextRecord, NextPage, LastRecord };

// 10 x 10 pixels, drawn in the given colour on a transparent ground.
QPixmap DrawNavPicture(NavPicture kind, const QColor& color);
QPixmap DrawClosePicture(const QColor& color);
// 16 x 16 pixels.
QPixmap DrawSearchPicture(const QColor& color);

}  // namespace kontura

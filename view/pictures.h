#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace localyx {

// The window's pictures, drawn by the program rather than shipped as files.
// Sizes are in the window's pixels; scale is the screen's device pixel ratio
// (2 on a screen scaled twice), the pictures holding that many device pixels
// to each of the window's so that they stay sharp.

/// 390 × 704: a light-grey panel whose edges darken towards a grey rim.
QPixmap backgroundPicture(qreal scale);
/// 32 × 32 map pin: the window's icon and the About box's picture.
QPixmap mapPinPicture(qreal scale);
/// 13 × 13: two overlapping window frames, for the minimise button.
QPixmap minimiseGlyph(qreal scale);
/// 13 × 13: a dark cross, for the quit button.
QPixmap quitGlyph(qreal scale);
/// 32 × 32 pointing hand, hot spot on the tip of the index finger (12, 1).
QCursor handCursor(qreal scale);
/// The hand cursor's picture, for checking it.
QPixmap handPicture(qreal scale);

/// An icon of one of these pictures, sharp at scales 1, 2 and scale.
QIcon pictureIcon(QPixmap (*draw)(qreal), qreal scale);

}  // namespace localyx

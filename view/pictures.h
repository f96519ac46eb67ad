#pragma once

#include <QCursor>
#include <QPixmap>

namespace localyx {

// The window's pictures, drawn by the program rather than shipped as files.

/// 390 × 704: a light-grey panel whose edges darken towards a grey rim.
QPixmap backgroundPicture();
/// 32 × 32 map pin: the window's icon and the About box's picture.
QPixmap mapPinPicture();
/// 13 × 13: two overlapping window frames, for the minimise button.
QPixmap minimiseGlyph();
/// 13 × 13: a dark cross, for the quit button.
QPixmap quitGlyph();
/// 32 × 32 pointing hand, hot spot on the tip of the index finger (12, 1).
QCursor handCursor();
/// The hand cursor's picture, for checking it.
QPixmap handPicture();

}  // namespace localyx

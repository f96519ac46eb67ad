#pragma once

#include <QFont>

namespace localyx {

/// The program's own font, "MS Sans Serif" (see installFontFallbacks), at a
/// size in points.
inline QFont formFont(qreal points, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

/// The window is drawn for "MS Sans Serif", which Linux systems seldom have:
/// names the metric-close sans serifs to use in its place. Call once, after
/// the application object exists and before any window is built.
void installFontFallbacks();

}  // namespace localyx

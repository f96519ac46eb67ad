#include "platform/font_fallback.h"

#include <QFont>
#include <QStringList>

namespace localyx {

void installFontFallbacks() {
    // Liberation Sans has Arial's metrics, the closest to MS Sans Serif among
    // free fonts; the others only serve where it is missing too.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
}

}  // namespace localyx

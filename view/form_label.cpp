#include "view/form_label.h"

#include <algorithm>

#include <QFontMetrics>
#include <QMouseEvent>

namespace localyx {

int buttonNumber(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

FormLabel::FormLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setTextFormat(Qt::PlainText);
}

void FormLabel::setShrinkToFit(bool shrink) {
    m_shrinkToFit = shrink;
    m_designFont = font();
    fitCaption();
}

void FormLabel::setWidthFollowsCaption(bool follow) { m_widthFollowsCaption = follow; }

void FormLabel::setCaption(const QString& caption) {
    setText(caption);
    fitCaption();
}

void FormLabel::fitCaption() {
    if (m_shrinkToFit) {
        QFont fitted = m_designFont;
        while (QFontMetrics(fitted).horizontalAdvance(text()) > width() && fitted.pointSizeF() > 6) {
            fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
        }
        setFont(fitted);
    }
    if (m_widthFollowsCaption) {
        const int centre2 = 2 * x() + width();  // twice the centre, to stay exact
        const int newWidth = std::max(1, QFontMetrics(font()).horizontalAdvance(text()));
        setGeometry((centre2 - newWidth) / 2, y(), newWidth, height());
    }
}

void FormLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (const int button = buttonNumber(event->button())) emit pressed(button);
}

}  // namespace localyx

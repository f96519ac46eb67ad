#include "view/shape_widget.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

namespace localyx {

namespace {

int pixelOf(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

}  // namespace

ShapeWidget::ShapeWidget(const QString& name, const QColor& fill, std::optional<QColor> border, QWidget* parent)
    : QWidget(parent), m_fill(fill), m_border(border) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

ShapeWidget* ShapeWidget::line(const QString& name, int x1, int y1, int x2, int y2, int width,
                               const QColor& colour, QWidget* parent) {
    auto* shape = new ShapeWidget(name, colour, std::nullopt, parent);
    const int before = width / 2;  // rows (or columns) before the centre one
    int left = std::min(pixelOf(x1), pixelOf(x2));
    int right = std::max(pixelOf(x1), pixelOf(x2));
    int top = std::min(pixelOf(y1), pixelOf(y2));
    int bottom = std::max(pixelOf(y1), pixelOf(y2));
    if (top == bottom) {
        top -= before;
        bottom = top + width - 1;
    } else {
        left -= before;
        right = left + width - 1;
    }
    shape->setGeometry(QRect(QPoint(left, top), QPoint(right, bottom)));
    return shape;
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    if (m_border) {
        painter.setPen(*m_border);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace localyx

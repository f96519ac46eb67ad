#include "view/pictures.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace localyx {

namespace {

constexpr int kWindowWidth = 390;
constexpr int kWindowHeight = 704;
constexpr int kRimWidth = 5;

/// A transparent picture of width × height in the window's pixels, holding
/// scale device pixels to each so that it stays sharp on a scaled screen.
QPixmap transparentPixmap(int width, int height, qreal scale) {
    QPixmap pixmap(QSize(width, height) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QPixmap backgroundPicture(qreal scale) {
    const QSize size = QSize(kWindowWidth, kWindowHeight) * scale;
    QImage image(size, QImage::Format_RGB32);
    // Each pixel takes the shade of its distance to the nearest edge, in the
    // window's pixels: flat (240, 240, 240) inside, down to a mid grey on
    // the outermost pixels.
    static constexpr int shades[kRimWidth] = {150, 178, 202, 222, 234};
    const auto shadeAt = [scale](int distance) {
        const int edge = static_cast<int>(distance / scale);
        const int shade = edge < kRimWidth ? shades[edge] : 240;
        return qRgb(shade, shade, shade);
    };
    // Only the rim varies along a line: its middle is filled in one go.
    const int rim = static_cast<int>(std::ceil(kRimWidth * scale));
    const int width = size.width();
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int fromTop = std::min(y, size.height() - 1 - y);
        const int middle = std::max(0, width - 2 * rim);
        for (int x = 0; x < std::min(rim, width); ++x) {
            line[x] = shadeAt(std::min(x, fromTop));
            line[width - 1 - x] = shadeAt(std::min(x, fromTop));
        }
        std::fill_n(line + rim, middle, shadeAt(fromTop));
    }
    image.setDevicePixelRatio(scale);
    return QPixmap::fromImage(image);
}

QPixmap mapPinPicture(qreal scale) {
    QPixmap pixmap = transparentPixmap(32, 32, scale);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // Shadow of the pin on the ground.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawEllipse(QRectF(10, 27, 12, 4));

    // The pin: a round head narrowing to a point at the bottom centre.
    QPainterPath pin;
    pin.moveTo(16, 30);
    pin.cubicTo(13, 23, 6, 18, 6, 11);
    pin.arcTo(QRectF(6, 1, 20, 20), 180, -180);
    pin.cubicTo(26, 18, 19, 23, 16, 30);
    pin.closeSubpath();
    QLinearGradient body(6, 1, 26, 21);
    body.setColorAt(0, QColor(240, 70, 60));
    body.setColorAt(1, QColor(170, 20, 20));
    painter.setBrush(body);
    painter.setPen(QPen(QColor(110, 10, 10), 1));
    painter.drawPath(pin);

    // The hole in the head.
    painter.setPen(QPen(QColor(110, 10, 10), 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(11.5, 6.5, 9, 9));
    return pixmap;
}

QPixmap minimiseGlyph(qreal scale) {
    QPixmap pixmap = transparentPixmap(13, 13, scale);
    QPainter painter(&pixmap);
    const QColor dark(64, 64, 64);
    const QColor face(192, 192, 192);
    // Back frame, then the front one over it; each has a thick title bar.
    const QRect back(4, 0, 8, 7);
    const QRect front(0, 5, 8, 7);
    for (const QRect& frame : {back, front}) {
        painter.fillRect(frame, face);
        painter.setPen(dark);
        painter.drawRect(frame);
        painter.fillRect(QRect(frame.left(), frame.top(), frame.width() + 1, 2), dark);
    }
    return pixmap;
}

QPixmap quitGlyph(qreal scale) {
    QPixmap pixmap = transparentPixmap(13, 13, scale);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(32, 32, 32), 2.2, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(QPointF(2.5, 2.5), QPointF(10.5, 10.5));
    painter.drawLine(QPointF(10.5, 2.5), QPointF(2.5, 10.5));
    return pixmap;
}

QPixmap handPicture(qreal scale) {
    QPixmap pixmap = transparentPixmap(32, 32, scale);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // Index finger raised, its tip at (12, 1); three folded fingers and the
    // thumb below it, the whole a white glove with a black outline.
    QPainterPath hand;
    hand.moveTo(10, 3);
    hand.arcTo(QRectF(10, 0.5, 4, 4), 180, -180);   // fingertip
    hand.lineTo(14, 13);
    hand.arcTo(QRectF(14, 10.5, 4, 4), 180, -180);  // middle finger
    hand.lineTo(18, 14);
    hand.arcTo(QRectF(18, 11.5, 4, 4), 180, -180);  // ring finger
    hand.lineTo(22, 15);
    hand.arcTo(QRectF(22, 12.5, 4, 4), 180, -180);  // little finger
    hand.lineTo(26, 22);
    hand.cubicTo(26, 27, 24, 30, 20, 30);
    hand.lineTo(14, 30);
    hand.cubicTo(11, 30, 10, 28, 8, 25);
    hand.lineTo(4, 19);
    hand.cubicTo(3, 17.5, 4.5, 15.5, 6.5, 16.5);     // thumb
    hand.lineTo(10, 19);
    hand.closeSubpath();

    painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(hand);
    // Creases between the folded fingers.
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(14, 13), QPointF(14, 18));
    painter.drawLine(QPointF(18, 14), QPointF(18, 19));
    painter.drawLine(QPointF(22, 15), QPointF(22, 20));
    return pixmap;
}

QCursor handCursor(qreal scale) {
    // X11 takes a picture cursor's hot spot in the picture's own pixels;
    // the other window systems take it in the window's.
    const qreal hotScale = QGuiApplication::platformName() == QLatin1String("xcb") ? scale : 1;
    return QCursor(handPicture(scale), qRound(12 * hotScale), qRound(1 * hotScale));
}

QIcon pictureIcon(QPixmap (*draw)(qreal), qreal scale) {
    QIcon icon;
    icon.addPixmap(draw(1));
    icon.addPixmap(draw(2));
    // Drawn once a scale: start-up pays for every picture.
    if (scale != 1 && scale != 2) icon.addPixmap(draw(scale));
    return icon;
}

}  // namespace localyx

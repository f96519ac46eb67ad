#include "view/map_window/map_canvas.h"

#include <algorithm>
#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cairo-pdf.h>
#include <cairo-svg.h>

namespace localyx {

namespace {

/// Zoom limits, relative to the whole search.
constexpr double kMostIn = 64;
constexpr double kMostOut = 0.25;

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<QByteArray*>(closure)->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

MapCanvas::MapCanvas(std::shared_ptr<const render::Borders> borders, QWidget* parent)
    : QWidget(parent), m_borders(std::move(borders)), m_map(std::make_unique<SearchMap>(SearchAnswer{}, m_borders)) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

MapCanvas::~MapCanvas() = default;

void MapCanvas::setAnswer(const SearchAnswer& answer) {
    m_map = std::make_unique<SearchMap>(answer, m_borders);
    showWhole();
}

void MapCanvas::showWhole() {
    m_whole = true;
    m_frame = m_map->wholeFrame(width(), height());
    changed();
}

void MapCanvas::changed() {
    m_drawn = QImage();
    update();
}

QImage MapCanvas::render(qreal dpr) const {
    QImage picture(size() * dpr, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(dpr);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        picture.bits(), CAIRO_FORMAT_ARGB32, picture.width(), picture.height(), static_cast<int>(picture.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, dpr, dpr);
    m_map->draw(cr, m_frame);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return picture;
}

QByteArray MapCanvas::image(ImageFormat format) const {
    QByteArray bytes;
    cairo_surface_t* surface = nullptr;
    const double w = width(), h = height();
    double scale = 1;
    switch (format) {
    case ImageFormat::Png:
        scale = 2;
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2 * width(), 2 * height());
        break;
    case ImageFormat::Svg: surface = cairo_svg_surface_create_for_stream(appendBytes, &bytes, w, h); break;
    case ImageFormat::Pdf: surface = cairo_pdf_surface_create_for_stream(appendBytes, &bytes, w, h); break;
    }
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    m_map->draw(cr, m_frame);
    cairo_destroy(cr);
    if (format == ImageFormat::Png) cairo_surface_write_to_png_stream(surface, appendBytes, &bytes);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok ? bytes : QByteArray();
}

void MapCanvas::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    if (m_drawn.isNull() || m_drawn.size() != size() * dpr) m_drawn = render(dpr);
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_drawn);
}

void MapCanvas::resizeEvent(QResizeEvent*) {
    if (m_whole) {
        m_frame = m_map->wholeFrame(width(), height());
    } else {
        // The same place stays in the middle, at the same scale.
        m_frame.area = {0, 0, static_cast<double>(width()), static_cast<double>(height())};
    }
    changed();
}

void MapCanvas::zoomAbout(QPointF at, double factor) {
    const double whole = m_map->wholeFrame(width(), height()).metresPerUnit;
    const double zoom = std::clamp(whole / (m_frame.metresPerUnit / factor), kMostOut, kMostIn);
    // The place under the pointer stays under it.
    m_frame.zoomAbout({at.x(), at.y()}, m_frame.metresPerUnit / (whole / zoom));
    m_whole = false;
    changed();
}

void MapCanvas::panBy(QPointF pixels) {
    m_frame.pan(pixels.x(), pixels.y());
    m_whole = false;
    changed();
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) zoomAbout(event->position(), std::pow(1.25, steps));
    event->accept();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    m_dragging = true;
    m_dragFrom = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    panBy(event->position() - m_dragFrom);
    m_dragFrom = event->position();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) showWhole();
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
    const QPointF middle(width() / 2.0, height() / 2.0);
    const double step = 40;
    switch (event->key()) {
    case Qt::Key_0: showWhole(); break;
    case Qt::Key_Plus: zoomAbout(middle, 1.25); break;
    case Qt::Key_Minus: zoomAbout(middle, 1 / 1.25); break;
    case Qt::Key_Left: panBy({step, 0}); break;
    case Qt::Key_Right: panBy({-step, 0}); break;
    case Qt::Key_Up: panBy({0, step}); break;
    case Qt::Key_Down: panBy({0, -step}); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

}  // namespace localyx

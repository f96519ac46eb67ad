#pragma once

#include <memory>

#include <QImage>
#include <QPointF>
#include <QWidget>

#include "view/map_window/search_map.h"

namespace localyx {

/// The map on screen: the wheel zooms about the pointer, a drag pans, « 0 »
/// or a double-click shows the whole search again; +, − and the arrows do
/// the same from the keyboard. Drawn for the screen's device pixels.
class MapCanvas : public QWidget {
    Q_OBJECT
public:
    /// @param borders  the département borders, loaded once for every map
    MapCanvas(std::shared_ptr<const render::Borders> borders, QWidget* parent = nullptr);
    ~MapCanvas() override;

    /// Shows a new answer, the whole search in view.
    void setAnswer(const SearchAnswer& answer);
    /// The part of the map in view.
    const render::Frame& frame() const { return m_frame; }
    void showWhole();

    enum class ImageFormat { Png, Svg, Pdf };
    /// The view as a file's bytes: PNG at twice the view's pixels, or SVG and
    /// PDF the view's size in points. Empty when cairo failed.
    QByteArray image(ImageFormat format) const;

    /// Draws the view at `dpr` device pixels to each of its own.
    QImage render(qreal dpr) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void zoomAbout(QPointF at, double factor);
    void panBy(QPointF pixels);
    void changed();

    std::shared_ptr<const render::Borders> m_borders;
    std::unique_ptr<SearchMap> m_map;
    render::Frame m_frame;
    bool m_whole = true;  ///< the frame follows the size of the view
    QPointF m_dragFrom;
    bool m_dragging = false;
    QImage m_drawn;       ///< what the last paint showed, kept until a change
};

}  // namespace localyx

#pragma once

#include <optional>

#include <QColor>
#include <QWidget>

namespace localyx {

/// A flat graphic of the main window: a filled rectangle, with or without a
/// one-pixel border, or a straight horizontal or vertical line drawn as the
/// thin rectangle it covers. Presses go through it to the window beneath.
class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    ShapeWidget(const QString& name, const QColor& fill, std::optional<QColor> border, QWidget* parent);

    /// A line from (x1, y1) to (x2, y2) in twips, `width` pixels thick, as a
    /// pen of that width draws it: a pixel row (or column) centred on the
    /// line, the extra one of an even width above (or left of) it.
    static ShapeWidget* line(const QString& name, int x1, int y1, int x2, int y2, int width,
                             const QColor& colour, QWidget* parent);

    QColor fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    std::optional<QColor> m_border;
};

}  // namespace localyx

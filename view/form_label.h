#pragma once

#include <QLabel>

namespace localyx {

/// The window's number for a mouse button: 1 left, 2 right, 4 middle, 0 any
/// other.
int buttonNumber(Qt::MouseButton button);

/// A label of the main window. It takes every mouse press for itself, so a
/// press on a label never reaches the window beneath; pressed() tells which
/// button (1 left, 2 right, 4 middle).
class FormLabel : public QLabel {
    Q_OBJECT
public:
    FormLabel(const QString& name, QWidget* parent);

    /// Shrinks the font below its design size when a caption would not fit
    /// the label's width, instead of clipping it.
    void setShrinkToFit(bool shrink);
    /// Makes the width follow the caption, keeping the label's centre in place.
    void setWidthFollowsCaption(bool follow);
    void setCaption(const QString& caption);

signals:
    void pressed(int button);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fitCaption();

    QFont m_designFont;
    bool m_shrinkToFit = false;
    bool m_widthFollowsCaption = false;
};

}  // namespace localyx

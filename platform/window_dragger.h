#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace localyx {

/// Moves a top-level window with the pointer until the left button is up,
/// for window systems that offer no move of their own. It watches the
/// application's mouse events, so it keeps following the pointer whichever
/// widget took the press.
class WindowDragger : public QObject {
    Q_OBJECT
public:
    explicit WindowDragger(QWidget& window, QObject* parent = nullptr);
    ~WindowDragger() override;

    /// Starts following the pointer, which is at pointerPos (global) now.
    void begin(const QPoint& pointerPos);
    /// Stops following the pointer; nothing when no drag is under way.
    void end();
    bool active() const { return m_active; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    QPoint m_pointerStart;
    QPoint m_windowStart;
    bool m_active = false;
};

}  // namespace localyx

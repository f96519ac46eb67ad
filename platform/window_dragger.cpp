#include "platform/window_dragger.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace localyx {

WindowDragger::WindowDragger(QWidget& window, QObject* parent) : QObject(parent), m_window(&window) {}

WindowDragger::~WindowDragger() { end(); }

void WindowDragger::begin(const QPoint& pointerPos) {
    if (!m_window) return;
    m_pointerStart = pointerPos;
    m_windowStart = m_window->pos();
    if (!m_active) QCoreApplication::instance()->installEventFilter(this);
    m_active = true;
}

void WindowDragger::end() {
    if (!m_active) return;
    m_active = false;
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        // Every widget on the path sees the same move: act on the first.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) {
            end();
            break;
        }
        if (m_window) m_window->move(m_windowStart + (mouse->globalPosition().toPoint() - m_pointerStart));
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) end();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace localyx

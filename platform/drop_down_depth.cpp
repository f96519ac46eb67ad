#include "platform/drop_down_depth.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace localyx {

void DropDownDepth::apply(QComboBox& combo, int pixels) {
    if (auto* existing = combo.findChild<DropDownDepth*>(QString(), Qt::FindDirectChildrenOnly)) {
        existing->m_depth = pixels;
    } else {
        new DropDownDepth(combo, pixels);
    }
    // Enough rows for the popup to reach the depth on its own; fit() then
    // trims it to the exact number of pixels.
    const int rows = pixels / 8 + 1;
    if (combo.maxVisibleItems() < rows) combo.setMaxVisibleItems(rows);
}

DropDownDepth::DropDownDepth(QComboBox& combo, int pixels)
    : QObject(&combo), m_combo(&combo), m_popup(combo.view()->window()), m_depth(pixels) {
    // The popup is a top-level window of the combo's own, shown anew at each
    // drop-down: its geometry is final once it is shown.
    if (m_popup && m_popup != combo.window()) m_popup->installEventFilter(this);
}

bool DropDownDepth::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_popup && event->type() == QEvent::Show) fit();
    return QObject::eventFilter(watched, event);
}

void DropDownDepth::fit() {
    if (!m_combo || !m_popup) return;
    // The list overlaps the box by one row (its border takes the box's last
    // or first row), so the whole drop-down spans the box and the list less
    // that row.
    const int listDepth = m_depth - m_combo->height() + 1;
    if (listDepth <= 0) return;
    QRect area = m_popup->geometry();
    // Shorter already: too few items, or no more room on the screen.
    if (area.height() <= listDepth) return;
    const int boxTop = m_combo->mapToGlobal(QPoint(0, 0)).y();
    if (area.top() < boxTop) {
        // Dropped upwards: the list ends on the box's top row.
        area.setTop(boxTop - listDepth + 1);
        area.setBottom(boxTop);
    } else {
        area.setHeight(listDepth);
    }
    m_popup->setGeometry(area);
}

}  // namespace localyx

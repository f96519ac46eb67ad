#pragma once

#include <QObject>
#include <QPointer>

class QComboBox;
class QWidget;

namespace localyx {

/// Gives a combo box's dropped-down list a depth in pixels, edit part
/// included, as far as the items need it: a list too short to fill the depth
/// stays short, a longer one scrolls. Lives as a child of the combo box.
class DropDownDepth : public QObject {
    Q_OBJECT
public:
    /// Sets (or changes) the depth of the combo's drop-down.
    static void apply(QComboBox& combo, int pixels);

    int depth() const { return m_depth; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DropDownDepth(QComboBox& combo, int pixels);
    void fit();

    QPointer<QComboBox> m_combo;
    QPointer<QWidget> m_popup;
    int m_depth;
};

}  // namespace localyx

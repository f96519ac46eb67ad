#pragma once

#include <QComboBox>

namespace localyx {

/// A drop-down combo box with an editable text part, as the main window's
/// lists are: typing (Enter included) never adds, selects or announces
/// anything; only choosing an item with the mouse or the arrow keys emits
/// activated(), as for a click on the item. Typing unselects the item, since
/// the text no longer shows it.
class ChoiceCombo : public QComboBox {
    Q_OBJECT
public:
    ChoiceCombo(const QString& name, QWidget* parent);

    /// Sets the text part without touching the list or the choice.
    void setText(const QString& text);
    /// Chooses an item (-1 for none) without emitting anything.
    void setListIndex(int index);
    /// Appends items, keeping the choice and the text part as they were.
    void appendItems(const QStringList& items);
    /// Empties the list and the text part, as a list box reset does.
    void clearList();
    void setTextColour(const QColor& colour);

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void forgetChoiceWhileTyping(const QString& typed);
    int widestItem();

    int m_widestItem = -1;  ///< pixels, in the list's font; -1 until measured
};

}  // namespace localyx

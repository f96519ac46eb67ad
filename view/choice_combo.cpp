#include "view/choice_combo.h"

#include <algorithm>

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace localyx {

namespace {

constexpr int kLongestMeasured = 400;  // characters; wider than any screen

/// What assistive technology sees of a list: Qt's own combo boxes give, on
/// Linux, their current text as their name (a prompt, leading blanks and
/// all), so that four lists sound alike. This one gives its accessible name
/// and description, and the text as its value and through its edit part.
class AccessibleChoiceCombo : public QAccessibleWidget {
public:
    explicit AccessibleChoiceCombo(ChoiceCombo* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(kind);
    }
    int childCount() const override { return 2; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1) return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child->object() == box()->view()) return 0;
        if (child->object() == box()->lineEdit()) return 1;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QRect edit(box()->lineEdit()->mapToGlobal(QPoint(0, 0)), box()->lineEdit()->size());
        return edit.contains(x, y) ? child(1) : nullptr;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (box()->view()->isVisible()) {
            box()->hidePopup();
        } else {
            box()->showPopup();
        }
    }

private:
    ChoiceCombo* box() const { return static_cast<ChoiceCombo*>(widget()); }
};

QAccessibleInterface* accessibleChoiceCombo(const QString& className, QObject* object) {
    auto* box = qobject_cast<ChoiceCombo*>(object);
    if (!box || className != QLatin1String(ChoiceCombo::staticMetaObject.className())) return nullptr;
    return new AccessibleChoiceCombo(box);
}

}  // namespace

ChoiceCombo::ChoiceCombo(const QString& name, QWidget* parent) : QComboBox(parent) {
    [[maybe_unused]] static const bool accessible = (QAccessible::installFactory(accessibleChoiceCombo), true);
    setObjectName(name);
    setEditable(true);
    // Without these, Enter on a typed text that matches an item would choose
    // it (or add it), and the completer would choose items of its own.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    // The box would also choose an item matching the typed text when Enter
    // is pressed or the focus leaves it.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    // Region lists run to thousands of one-line items.
    if (auto* list = qobject_cast<QListView*>(view())) list->setUniformItemSizes(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, &ChoiceCombo::forgetChoiceWhileTyping);
    // A chosen item shows from its start (a region's name, not the end of
    // its département numbers), as items set by the program do.
    connect(this, &QComboBox::activated, this, [this] { lineEdit()->setCursorPosition(0); });
}

void ChoiceCombo::setText(const QString& text) {
    const QSignalBlocker quiet(this);
    setEditText(text);
    lineEdit()->setCursorPosition(0);
}

void ChoiceCombo::setListIndex(int index) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
    lineEdit()->setCursorPosition(0);
}

void ChoiceCombo::appendItems(const QStringList& items) {
    const QSignalBlocker quiet(this);
    const int index = currentIndex();
    const QString text = currentText();
    // A combo box that was empty chooses its first item by itself: undone,
    // as adding items chooses nothing.
    addItems(items);
    m_widestItem = -1;
    if (currentIndex() != index) setCurrentIndex(index);
    if (currentText() != text) setEditText(text);
    lineEdit()->setCursorPosition(0);
}

void ChoiceCombo::clearList() {
    const QSignalBlocker quiet(this);
    clear();
    m_widestItem = -1;
}

// Measured when the list first drops down rather than at each load: loading
// a region stays quick, and most loads are never dropped down at all.
int ChoiceCombo::widestItem() {
    if (m_widestItem < 0) {
        const QFontMetrics metrics(view()->font());
        m_widestItem = 0;
        for (int i = 0; i < count(); ++i) {
            // A damaged file can hold a megabyte-long "name": no list is
            // wider than the screen, so measuring stops there.
            const QString item = itemText(i).left(kLongestMeasured);
            m_widestItem = std::max(m_widestItem, metrics.horizontalAdvance(item));
        }
    }
    return m_widestItem;
}

void ChoiceCombo::showPopup() {
    QComboBox::showPopup();
    // The list drops down as wide as the box, or wider when its longest item
    // needs it, so that no item is cut short.
    QWidget* popup = view()->window();
    if (!popup || popup == window()) return;
    const int frame = popup->width() - view()->viewport()->width();
    const int margin = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view()) + 4;
    const int needed = widestItem() + margin + frame;
    if (needed <= popup->width()) return;
    QRect area = popup->geometry();
    area.setWidth(needed);
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        area.setWidth(std::min(area.width(), room.width()));
        if (area.right() > room.right()) area.moveLeft(std::max(room.left(), room.right() - area.width() + 1));
    }
    popup->setGeometry(area);
}

void ChoiceCombo::setTextColour(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colour);
    colours.setColor(QPalette::ButtonText, colour);
    setPalette(colours);
}

void ChoiceCombo::keyPressEvent(QKeyEvent* event) {
    // Enter on the text part does nothing at all (the popup list, when it is
    // open, handles its own Enter).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void ChoiceCombo::wheelEvent(QWheelEvent* event) {
    // Scrolling over a closed list would load a region or start a search at
    // each notch: the wheel is only for the dropped-down list.
    event->ignore();
}

void ChoiceCombo::forgetChoiceWhileTyping(const QString& typed) {
    if (currentIndex() < 0) return;
    const int caret = lineEdit()->cursorPosition();
    const QSignalBlocker quiet(this);
    setCurrentIndex(-1);
    lineEdit()->setText(typed);
    lineEdit()->setCursorPosition(caret);
}

}  // namespace localyx

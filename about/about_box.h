#pragma once

#include <QDialog>

class QLabel;
class QPixmap;
class QPushButton;

namespace localyx {

/// The product's About box: fixed texts and one OK button, which is both the
/// default and the cancel button, so Enter and Escape close the box too.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    /// @param icon  the program's 32 × 32 picture, shown at the top left
    explicit AboutBox(const QPixmap& icon, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* addLabel(const char* name, const QString& text, int left, int top, int width, int height,
                     Qt::Alignment alignment);

    QPushButton* m_ok = nullptr;
};

}  // namespace localyx

// The yardstick of bench/start_time.sh: the least a Qt 6 window can be, one
// label and one combo box, started the way the real program is.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Région")));
    auto* box = new QComboBox;
    box->addItem(QStringLiteral("Alsace"));
    layout->addWidget(box);
    window.show();
    return QApplication::exec();
}

#include "tests/view/view_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QStyleFactory>
#include <QTest>

#include "platform/font_fallback.h"

namespace localyx::testing {

void setUpApplication() {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    installFontFallbacks();
}

RegionFolder::RegionFolder() {
    QByteArray text =
        "48.500,7.500,EXEMPLEVILLE-67001\r\n"
        "48.510,7.520,VOISINVILLE-67002\r\n"
        "48.530,7.490,PRES SUR RHIN-67003\r\n"
        "48.900,7.900,LOINTAINVILLE-68004\r\n"
        "48.520,7.510,\xC3\x89" "CLUSE LES BAINS-67005\r\n"
        "48.500,7.560,\"BOURG, LE-67006\"\r\n";
    // Far-away fillers, enough for the town lists to overflow their depth.
    for (int i = 0; i < kLocalityCount - 6; ++i) {
        text += QStringLiteral("47.%1,6.%1,REMPLISSAGE %2-68%3\r\n")
                    .arg(100 + i)
                    .arg(i, 2, 10, QLatin1Char('0'))
                    .arg(100 + i)
                    .toUtf8();
    }
    QFile file(m_dir.filePath(QStringLiteral("Alsace.txt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) qFatal("cannot write the region file");
}

namespace {

QAbstractItemView& dropDown(QComboBox& combo) {
    combo.showPopup();
    QAbstractItemView& list = *combo.view();
    if (!QTest::qWaitForWindowExposed(list.window())) qWarning("drop-down list not shown");
    return list;
}

}  // namespace

void chooseWithMouse(QComboBox& combo, int row) {
    QAbstractItemView& list = dropDown(combo);
    const QModelIndex index = list.model()->index(row, 0);
    list.scrollTo(index);
    const QPoint centre = list.visualRect(index).center();
    // A release too soon after the list opened counts as the end of the
    // click that opened it, and the list ignores it.
    QTest::mouseMove(list.viewport(), centre);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
}

void chooseWithKeys(QComboBox& combo, int row) {
    QAbstractItemView& list = dropDown(combo);
    list.setCurrentIndex(list.model()->index(0, 0));
    for (int i = 0; i < row; ++i) QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Return);
}

QStringList shownWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) names << (widget->objectName().isEmpty() ? widget->metaObject()->className()
                                                                          : widget->objectName());
    }
    return names;
}

}  // namespace localyx::testing

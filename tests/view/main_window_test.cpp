// The window through its real widgets on the offscreen platform: its state at
// start, the road of a typical use, Text8, the drop-down lists, what screen
// readers and the keyboard get, the pictures, which presses drag it, and the
// About box.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include "about/about_box.h"
#include "app/initial_state.h"
#include "core/distance.h"
#include "core/region_catalogue.h"
#include "platform/font_fallback.h"
#include "platform/qt_translations.h"
#include "view/form_session.h"

using namespace localyx;

namespace {

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The made-up Alsace file: the first town and its three neighbours within
// 5 km in file order, then far-away fillers so the town lists overflow their
// depth.
const QString kFirstTown = QStringLiteral("EXEMPLEVILLE-67001");
const QStringList kNeighbours = {QStringLiteral("VOISINVILLE-67002"), QStringLiteral("PRES SUR RHIN-67003"),
                                 QStringLiteral("ÉCLUSE LES BAINS-67005")};
constexpr int kLocalityCount = 66;
constexpr int kEcluseIndex = 4;

QByteArray regionText() {
    QByteArray text =
        "48.500,7.500,EXEMPLEVILLE-67001\r\n48.510,7.520,VOISINVILLE-67002\r\n48.530,7.490,PRES SUR RHIN-67003\r\n"
        "48.900,7.900,LOINTAINVILLE-68004\r\n48.520,7.510,\xC3\x89" "CLUSE LES BAINS-67005\r\n"
        "48.500,7.560,\"BOURG, LE-67006\"\r\n";
    for (int i = 100; i < 100 + kLocalityCount - 6; ++i) {
        text += QStringLiteral("47.%1,6.%1,FILLER-68%1\r\n").arg(i).toUtf8();
    }
    return text;
}

QStringList shownWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) names << widget->objectName() + QLatin1Char(':') + widget->metaObject()->className();
    }
    return names;
}

void discardDeleted() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QAbstractItemView& dropDown(QComboBox& combo) {
    combo.showPopup();
    if (!QTest::qWaitForWindowExposed(combo.view()->window())) qWarning("drop-down list not shown");
    return *combo.view();
}

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

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    template <typename T = QWidget>
    T* find(const QString& name) const {
        T* widget = m_session->window().findChild<T*>(name);
        if (!widget) qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QComboBox* combo(const QString& name) const { return find<QComboBox>(name); }
    QLabel* label(const QString& name) const { return find<QLabel>(name); }
    QPushButton* button(const QString& name) const { return find<QPushButton>(name); }
    QPlainTextEdit* text8() const { return find<QPlainTextEdit>(QStringLiteral("Text8")); }
    bool topmost() const { return m_session->window().windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

    void loadRegion() {
        QTest::keyClick(combo("ComboReg"), Qt::Key_Down);  // first item: Alsace
        QCOMPARE(label("LblRegions")->text(), QStringLiteral("Alsace"));
    }
    AboutBox* openAbout() {
        QTest::mouseClick(button("CmdaBOUT"), Qt::LeftButton);
        AboutBox* box = m_session->platform().aboutBox();
        if (box && !QTest::qWaitForWindowExposed(box)) qWarning("About box not shown");
        return box;
    }
    void sendMouse(QEvent::Type type, const QPoint& global, Qt::MouseButtons held, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(1, 1), QPointF(global), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&m_session->window(), &event);
    }

    void writeRegion(const std::string& baseName, const std::string& bytes) {
        std::ofstream(m_programDir / (baseName + ".txt"), std::ios::binary | std::ios::trunc) << bytes;
    }

    QTemporaryDir m_folder;
    std::filesystem::path m_programDir;
    std::unique_ptr<FormSession> m_session;
    std::vector<QUrl> m_opened;
    int m_quits = 0;

private slots:
    void initTestCase() {
        if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
        installFontFallbacks();
        QVERIFY(installQtFrenchTexts());
    }

    // QTemporaryDir cannot name the Latin-1 folder to remove it.
    void cleanupTestCase() { std::filesystem::remove_all(m_programDir); }

    void init() {
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join(", ")));
        // A folder name that is not UTF-8 ("é" in Latin-1) must reach the
        // region files untouched.
        m_programDir = std::filesystem::path(m_folder.path().toStdString()) / "r\xE9gions";
        std::filesystem::create_directories(m_programDir);
        writeRegion("Alsace", regionText().toStdString());
        m_session = std::make_unique<FormSession>(m_programDir);
        m_opened.clear();
        m_quits = 0;
        m_session->platform().setBrowserOpener([this](const QUrl& url) { m_opened.push_back(url); });
        m_session->platform().setQuitAction([this] { ++m_quits; });
        m_session->show();
        QVERIFY(QTest::qWaitForWindowActive(&m_session->window()));
    }

    void cleanup() {
        m_session.reset();
        discardDeleted();
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join(", ")));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void startUpState() {
        MainWindow& window = m_session->window();
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::Tool));  // keeps its taskbar button
        QVERIFY(!topmost());
        QVERIFY((window.geometry().center() - window.screen()->availableGeometry().center()).manhattanLength() <= 2);
        QCOMPARE(window.focusWidget(), combo("Combo1"));
        // Not the system's default font: Arial's metrics, which the layout needs.
        QCOMPARE(QFontInfo(label("Label1")->font()).family(), QStringLiteral("Liberation Sans"));
        for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(window.rect().contains(control->geometry()), qPrintable(control->objectName()));
        }

        QCOMPARE(combo("ComboReg")->currentText(), qs(kComboRegPrompt));
        QCOMPARE(combo("ComboReg")->count(), kRegionCount);
        QCOMPARE(combo("Combo1")->currentText(), qs(kCombo1Prompt));
        QCOMPARE(combo("Combo2")->currentText(), qs(kCombo2Prompt));
        QCOMPARE(combo("ComboKms")->currentText(), qs(kRadiusText));
        for (const char* name : {"ComboReg", "Combo1", "Combo2", "ComboKms"}) QCOMPARE(combo(name)->currentIndex(), -1);
        QCOMPARE(combo("Combo1")->count() + combo("Combo2")->count(), 0);
        QVERIFY(!button("CmdCarte")->isEnabled());
        QVERIFY(!button("CmdItineraire")->isEnabled());
        QVERIFY(label("Labelinfo")->isHidden());
        for (const char* empty : {"result2", "LblNbrLoc", "LblRegions"}) QCOMPARE(label(empty)->text(), QString());
        QVERIFY(text8()->toPlainText().isEmpty());
    }

    void aFullRoadThroughTheWidgets() {
        loadRegion();
        QComboBox* town1 = combo("Combo1");
        QComboBox* town2 = combo("Combo2");
        QCOMPARE(town1->count(), kLocalityCount);
        QCOMPARE(town2->count(), kLocalityCount);
        QCOMPARE(town1->currentText(), qs(kTownPrompt));

        chooseWithMouse(*town1, 0);
        QCOMPARE(town1->currentText(), kFirstTown);
        QCOMPARE(text8()->toPlainText(), kNeighbours.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        QCOMPARE(label("LblNbrLoc")->text(), QString::number(kNeighbours.size()));
        QVERIFY(button("CmdCarte")->isEnabled());
        QVERIFY(!button("CmdItineraire")->isEnabled());

        // Down on the closed radius list chooses its next item and searches.
        QComboBox* kms = combo("ComboKms");
        QTest::keyClick(kms, Qt::Key_Down);
        QTest::keyClick(kms, Qt::Key_Down);
        QCOMPARE(kms->currentText(), QStringLiteral("10"));
        QCOMPARE(label("LblNbrLoc")->text(), QString::number(kNeighbours.size()));

        chooseWithKeys(*town2, kEcluseIndex);
        QCOMPARE(town2->currentText(), kNeighbours[2]);
        QLabel* result = label("result2");
        const int km = static_cast<int>(std::floor(CalcDistance(7.500, 48.500, 7.510, 48.520)));
        QCOMPARE(result->text(), QStringLiteral("La distance entre ces 2 villes est de : %1  Kms").arg(km));
        QVERIFY(result->isVisible());
        QVERIFY(result->width() >= QFontMetrics(result->font()).horizontalAdvance(result->text()));
        QVERIFY(button("CmdItineraire")->isEnabled());

        QTest::mouseClick(button("CmdCarte"), Qt::LeftButton);
        QCOMPARE(m_opened.size(), std::size_t(1));
        const QByteArray map = m_opened[0].toEncoded();
        QVERIFY2(m_opened[0].isValid() && m_opened[0].host() == QStringLiteral("www.viamichelin.fr"), map.constData());
        QVERIFY2(map.contains("%C3%89CLUSE%20LES%20BAINS-67005"), map.constData());

        // The itinerary is opened at the end of the timers' walks.
        QTest::mouseClick(button("CmdItineraire"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_opened.size(), std::size_t(2), 60000);
        const QByteArray itinerary = m_opened[1].toEncoded();
        QVERIFY2(itinerary.contains("strStartMerged=67001+EXEMPLEVILLE&"), itinerary.constData());
        QVERIFY2(itinerary.contains("strDestMerged=67005+%C3%89CLUSE%20LES%20BAINS"), itinerary.constData());
    }

    void text8ShowsALongNameOnOneLine() {
        // A wrapped name would show one line more than the count says.
        const std::string longName = "SAINT MARTIN DE LA LONGUE ET INTERMINABLE CAMPAGNE-65240";
        m_session->window().setText(TextId::Text8, "A-00001\r\n" + longName + "\r\nB-00002\r\n");
        QCOMPARE(text8()->document()->lineCount(), 3 + 1);  // the empty last line
    }

    void qtsOwnTextsAreFrench() {
        const std::unique_ptr<QMenu> menu(text8()->createStandardContextMenu());
        QStringList entries;
        for (const QAction* action : menu->actions()) {
            entries << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        }
        QVERIFY2(entries.contains(QStringLiteral("Copier")), qPrintable(entries.join(", ")));
        QVERIFY2(entries.contains(QStringLiteral("Tout sélectionner")), qPrintable(entries.join(", ")));
    }

    void controlsServeKeyboardAndScreenReaderUsers_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("spoken");
        for (const auto& [control, spoken] :
             {std::pair{"ComboReg", "Région"}, {"Combo1", "Localité de départ"}, {"Combo2", "Seconde localité"},
              {"ComboKms", "Rayon en kilomètres"}, {"Text8", "Localités voisines"},
              {"CmdCarte", "Carte de la localité"}, {"CmdItineraire", "Itinéraire entre les deux localités"},
              {"CmdaBOUT", "À propos"}, {"CmdMinimise", "Réduire"}, {"CmdQuit", "Quitter"}}) {
            QTest::newRow(control) << control << QString::fromUtf8(spoken);
        }
    }

    // What the accessibility bridge hands to a screen reader, and Enter on a
    // focused button, which presses it as Space does.
    void controlsServeKeyboardAndScreenReaderUsers() {
        QFETCH(QString, control);
        QFETCH(QString, spoken);
        QWidget* widget = find(control);
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(widget);
        QCOMPARE(seen->text(QAccessible::Name), spoken);
        QVERIFY(!seen->text(QAccessible::Description).isEmpty());
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            QCOMPARE(seen->child(1)->text(QAccessible::Value), box->currentText());  // the edit part
        }
        if (auto* pressed = qobject_cast<QPushButton*>(widget)) {
            pressed->setEnabled(true);
            QSignalSpy clicks(pressed, &QPushButton::clicked);
            QTest::keyClick(pressed, Qt::Key_Return);
            QTest::keyClick(pressed, Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(clicks.count(), 2);
        }
    }

    // Run at every scale (QT_SCALE_FACTOR=2 by the test suite): the pictures
    // hold as many device pixels as the screen shows for them, and are not
    // enlarged and blurred.
    void picturesAreDrawnAtTheScreensScale() {
        const qreal scale = m_session->window().devicePixelRatioF();
        QCOMPARE(scale, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
        const auto sharp = [scale](const QPixmap& picture, QSize size) { return picture.size() == size * scale; };
        QVERIFY(sharp(button("CmdQuit")->icon().pixmap(QSize(13, 13), scale), QSize(13, 13)));
        QVERIFY(sharp(button("CmdMinimise")->icon().pixmap(QSize(13, 13), scale), QSize(13, 13)));
        QVERIFY(sharp(m_session->window().windowIcon().pixmap(QSize(32, 32), scale), QSize(32, 32)));
        QVERIFY(sharp(combo("Combo1")->cursor().pixmap(), QSize(32, 32)));
        QVERIFY(sharp(openAbout()->findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap(), QSize(32, 32)));
        QVERIFY(sharp(m_session->window().grab(), QSize(390, 704)));
    }

    void dropDownsSpanTheirDepthAttachedToTheirBox_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("depth");      // 0: all items at once, shorter
        QTest::addColumn<int>("windowTop");  // -1: where it opens
        QTest::newRow("Combo1 down") << "Combo1" << 510 << -1;
        QTest::newRow("Combo2 down") << "Combo2" << 490 << -1;
        QTest::newRow("Combo1 up, window low") << "Combo1" << 510 << 740;
        QTest::newRow("Combo2 up, window low") << "Combo2" << 490 << 740;
        QTest::newRow("ComboReg, all 22 at once") << "ComboReg" << 0 << -1;
    }

    void dropDownsSpanTheirDepthAttachedToTheirBox() {
        QFETCH(QString, name);
        QFETCH(int, depth);
        QFETCH(int, windowTop);
        loadRegion();
        if (windowTop >= 0) m_session->window().move(m_session->window().x(), windowTop);
        QComboBox* box = combo(name);
        const QRect boxArea(box->mapToGlobal(QPoint(0, 0)), box->size());
        for (int opening = 1; opening <= 2; ++opening) {  // the second keeps the depth
            box->showPopup();
            QWidget* popup = box->view()->window();
            QVERIFY(QTest::qWaitForWindowExposed(popup));
            const QRect list = popup->geometry();
            QVERIFY2(list.intersects(boxArea), "the list floats away from its box");
            QCOMPARE(list.top() < boxArea.top(), windowTop >= 0);
            if (depth > 0) {
                QCOMPARE(list.united(boxArea).height(), depth);
            } else {
                QVERIFY(popup->height() >= box->count() * box->view()->sizeHintForRow(0));
            }
            box->hidePopup();
        }
    }

    void dropDownsWidenForLongNamesWithinTheScreen() {
        const std::string longName = "SAINT MARTIN DE LA LONGUE ET INTERMINABLE CAMPAGNE-65240";
        const std::string hugeName(100'000, 'X');  // a damaged file
        writeRegion("Alsace", "48.5,7.5,EXEMPLEVILLE-67001\r\n48.51,7.51," + longName + "\r\n");
        writeRegion("Aquitaine", "48.5,7.5,EXEMPLEVILLE-67001\r\n48.51,7.51," + hugeName + "\r\n");
        loadRegion();
        QComboBox* second = combo("Combo2");
        for (const std::string& name : {longName, hugeName}) {
            if (name == hugeName) QTest::keyClick(combo("ComboReg"), Qt::Key_Down);
            QWidget* popup = dropDown(*second).window();
            const int room = second->screen()->availableGeometry().width();
            const int needed = QFontMetrics(second->view()->font()).horizontalAdvance(qs(name).left(400));
            QVERIFY(needed < room ? second->view()->viewport()->width() >= needed : popup->width() == room);
            second->hidePopup();
        }
    }

    void presses_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("makesTopmost");
        const int left = Qt::LeftButton;
        QTest::newRow("right on the surface") << QString() << QPoint(20, 400) << int(Qt::RightButton) << false;
        QTest::newRow("left on the surface") << QString() << QPoint(20, 400) << left << true;
        QTest::newRow("left inside Shape3") << QString() << QPoint(300, 245) << left << true;
        QTest::newRow("left on a panel line") << QString() << QPoint(87, 270) << left << true;
        QTest::newRow("left on Label1") << "Label1" << QPoint(5, 5) << left << true;
        QTest::newRow("right on Label1") << "Label1" << QPoint(5, 5) << int(Qt::RightButton) << false;
        QTest::newRow("left on LblRegions") << "LblRegions" << QPoint(5, 5) << left << true;
        QTest::newRow("left on Label4") << "Label4" << QPoint(60, 8) << left << false;
        QTest::newRow("left on disabled CmdCarte") << "CmdCarte" << QPoint(5, 5) << left << false;
        QTest::newRow("left on Text8") << "Text8" << QPoint(30, 30) << left << false;
    }

    void presses() {
        QFETCH(QString, target);
        QFETCH(QPoint, where);
        QFETCH(int, button);
        QFETCH(bool, makesTopmost);
        MainWindow& window = m_session->window();
        QWidget* widget = target.isEmpty() ? &window : find(target);
        const QPoint inWindow = widget->mapTo(&window, where);
        const WId before = window.winId();
        // The press goes to the widget under the pointer, as the window
        // system would deliver it: shapes and lines are not in the way.
        QWidget* receiver = window.childAt(inWindow);
        if (!receiver) receiver = &window;
        if (!target.isEmpty()) QVERIFY(receiver == widget || widget->isAncestorOf(receiver));
        const QPoint at = receiver->mapFrom(&window, inWindow);

        QTest::mousePress(receiver, Qt::MouseButton(button), {}, at);
        QCOMPARE(topmost(), makesTopmost);
        QCOMPARE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), makesTopmost);
        QCOMPARE(m_session->platform().dragger().active(), makesTopmost);
        QTest::mouseRelease(receiver, Qt::MouseButton(button), {}, at);
        QVERIFY(!m_session->platform().dragger().active());
        QCOMPARE(topmost(), makesTopmost);  // stays so after the release
        QCOMPARE(window.winId(), before);   // the press was not lost to a new native window
    }

    void withoutAWindowSystemMoveTheWindowFollowsThePointer() {
        // The offscreen platform has no move of its own.
        const QPoint start = m_session->window().pos();
        const QPoint pointer(150, 80);
        QCursor::setPos(pointer);
        m_session->platform().startWindowDrag();
        sendMouse(QEvent::MouseMove, pointer + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(m_session->window().pos(), start + QPoint(30, 20));
        sendMouse(QEvent::MouseMove, pointer + QPoint(-10, 5), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(m_session->window().pos(), start + QPoint(-10, 5));
        sendMouse(QEvent::MouseButtonRelease, pointer + QPoint(-10, 5), Qt::NoButton, Qt::LeftButton);
        QVERIFY(!m_session->platform().dragger().active());
        sendMouse(QEvent::MouseMove, pointer + QPoint(50, 50), Qt::NoButton, Qt::NoButton);
        QCOMPARE(m_session->window().pos(), start + QPoint(-10, 5));

        // A release missed by the window: the next move, button up, ends the drag.
        m_session->platform().startWindowDrag();
        sendMouse(QEvent::MouseMove, QPoint(300, 300), Qt::NoButton, Qt::NoButton);
        QVERIFY(!m_session->platform().dragger().active());
        QCOMPARE(m_session->window().pos(), start + QPoint(-10, 5));
    }

    void aboutMinimiseAndQuitButtons() {
        AboutBox* box = openAbout();
        QCOMPARE(openAbout(), box);
        QCOMPARE(shownWindows().filter(QStringLiteral("frmAbout")).size(), 1);

        QTest::mouseClick(button("CmdMinimise"), Qt::LeftButton);
        QVERIFY(m_session->window().windowState().testFlag(Qt::WindowMinimized));
        QVERIFY(!box->isVisible());
        m_session->window().setWindowState(Qt::WindowNoState);
        QCOMPARE(openAbout(), box);  // hidden, not closed
        QVERIFY(box->isVisible());

        box->setWindowState(Qt::WindowMinimized);  // from its own title bar
        QCOMPARE(openAbout(), box);
        QVERIFY(!box->isMinimized());

        QTest::mouseClick(button("CmdQuit"), Qt::LeftButton);
        QCOMPARE(m_quits, 1);
    }

    void aboutBoxCloses_data() {
        QTest::addColumn<int>("key");  // 0: the OK button, -1: the title bar
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("OK") << 0;
        QTest::newRow("title bar") << -1;
    }

    void aboutBoxCloses() {
        QFETCH(int, key);
        QPointer<AboutBox> box = openAbout();
        QVERIFY(box);
        if (key > 0) QTest::keyClick(box.data(), Qt::Key(key));
        if (key == 0) QTest::mouseClick(box->okButton(), Qt::LeftButton);
        if (key < 0) QVERIFY(box->close());
        QVERIFY(m_session->platform().aboutBox() == nullptr);
        discardDeleted();
        QVERIFY(box.isNull());
        QVERIFY(openAbout() && m_session->platform().aboutBox()->isVisible());
    }

    void aboutTextsFitTheirLabels() {
        for (QLabel* label : openAbout()->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;  // the picture
            const QRect needed = QFontMetrics(label->font())
                                     .boundingRect(QRect(0, 0, label->width(), 10000),
                                                   Qt::TextWordWrap | label->alignment(), label->text());
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(label->objectName()));
        }
    }

};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

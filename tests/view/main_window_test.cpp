// The window through its real widgets on the offscreen platform.

#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "about/about_box.h"
#include "app/initial_state.h"
#include "core/region_catalogue.h"
#include "platform/font_fallback.h"
#include "platform/qt_translations.h"
#include "view/form_session.h"
#include "view/shape_widget.h"

using namespace localyx;

namespace {

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The made-up Alsace file: the first town and its three neighbours within
// 5 km, then far-away fillers so the town lists overflow their depth.
constexpr int kLocalityCount = 66;

QByteArray regionText() {
    QByteArray text =
        "48.500,7.500,EXEMPLEVILLE-67001\r\n48.510,7.520,VOISINVILLE-67002\r\n48.530,7.490,PRES SUR RHIN-67003\r\n"
        "48.900,7.900,LOINTAINVILLE-68004\r\n48.520,7.510,\xC3\x89" "CLUSE LES BAINS-67005\r\n"
        "48.500,7.560,\"BOURG, LE-67006\"\r\n";
    for (int i = 100; i < 94 + kLocalityCount; ++i) {
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

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    template <typename T = QWidget>
    T* find(const QString& name) const {
        T* widget = m_session->window().findChild<T*>(name);
        if (!widget) qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QComboBox* combo(const char* name) const { return find<QComboBox>(name); }
    QLabel* label(const char* name) const { return find<QLabel>(name); }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QPlainTextEdit* text8Edit() const { return find<QPlainTextEdit>(QStringLiteral("Text8")); }
    bool topmost() const { return m_session->window().windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
    const WindowDragger& dragger() { return m_session->platform().dragger(); }

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
        // A folder name that is not UTF-8 ("é" in Latin-1) must reach the region files untouched.
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
        QVERIFY((window.geometry().center() - window.screen()->availableGeometry().center()).manhattanLength() <= 2);
        QCOMPARE(window.focusWidget(), combo("Combo1"));
        // Not the system's default font: Arial's metrics, which the layout needs.
        QCOMPARE(QFontInfo(label("Label1")->font()).family(), QStringLiteral("Liberation Sans"));
        QVERIFY(label("Label1")->font().bold() && !combo("Combo1")->font().bold());  // captions in bold
        QCOMPARE(combo("ComboReg")->count(), kRegionCount);
        for (const auto& [name, shown] : {std::pair{"ComboReg", kComboRegPrompt}, {"Combo1", kCombo1Prompt},
                                          {"Combo2", kCombo2Prompt}, {"ComboKms", kRadiusText}}) {
            QCOMPARE(combo(name)->currentText(), qs(shown));
            QCOMPARE(combo(name)->currentIndex(), -1);
        }
        QVERIFY(!button("CmdCarte")->isEnabled() && !button("CmdItineraire")->isEnabled());
        QVERIFY(label("Labelinfo")->isHidden());
    }

    // Every visible control where the design puts it, in twips at 15 to the
    // pixel; the captions in bold at their sizes; the lines as drawn.
    void layoutAsDesigned() {
        const struct { const char* name; int left, top, width, height; qreal points; } controls[] = {
            {"CmdaBOUT", 240, 240, 255, 255, 0}, {"CmdMinimise", 5040, 240, 255, 255, 0},
            {"CmdQuit", 5280, 240, 255, 255, 0}, {"Titre1", 1830, 480, 2295, 615, 24},
            {"Titre2", 1680, 510, 2535, 735, 24}, {"Label1", 1800, 1200, 2415, 495, 18},
            {"LblRegions", 360, 1560, 5295, 495, 18}, {"ComboReg", 1320, 2160, 3375, 315, 0},
            {"Combo1", 1320, 2520, 3375, 315, 0}, {"Combo2", 1320, 2880, 3375, 315, 0},
            {"Labelinfo", 1200, 3240, 3615, 255, 8.25}, {"result2", 2760, 3240, 465, 240, 9.75},
            {"Shape3", 1320, 3600, 3375, 615, 0}, {"Label4", 1800, 3600, 2535, 255, 9.75},
            {"LblNbrLoc", 1560, 3630, 375, 255, 8.25}, {"Label3", 1560, 3855, 1815, 255, 9.75},
            {"ComboKms", 3480, 3840, 615, 360, 9.75}, {"Label5", 4080, 3870, 495, 255, 9.75},
            {"CmdCarte", 1320, 4320, 1695, 255, 0}, {"CmdItineraire", 3120, 4320, 1575, 255, 0},
            {"Text8", 1320, 4680, 3375, 5295, 0},
        };
        const auto px = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
        for (const auto& c : controls) {
            QWidget* widget = find(QString::fromLatin1(c.name));
            QCOMPARE(widget->geometry(), QRect(px(c.left), px(c.top), px(c.width), px(c.height)));
            if (c.points > 0) {
                QVERIFY2(widget->font().bold() && widget->font().pointSizeF() == c.points, c.name);
            }
        }
        // Their looks: captions' colours, boxes' backgrounds, buttons' faces.
        const QColor grey(128, 128, 128), darkBlue(0, 0, 192), lightCyan(192, 255, 255), face(192, 192, 192);
        const struct { const char* name; QPalette::ColorRole role; QColor colour; } looks[] = {
            {"Titre1", QPalette::WindowText, Qt::white}, {"Titre2", QPalette::WindowText, darkBlue},
            {"Label1", QPalette::WindowText, grey}, {"LblRegions", QPalette::WindowText, grey},
            {"ComboReg", QPalette::Base, QColor(255, 255, 192)}, {"Combo1", QPalette::Base, lightCyan},
            {"Combo2", QPalette::Base, QColor(192, 255, 192)}, {"Labelinfo", QPalette::WindowText, Qt::red},
            {"result2", QPalette::WindowText, darkBlue}, {"Label4", QPalette::WindowText, darkBlue},
            {"LblNbrLoc", QPalette::WindowText, darkBlue}, {"Label3", QPalette::WindowText, darkBlue},
            {"ComboKms", QPalette::Base, lightCyan}, {"ComboKms", QPalette::Text, darkBlue},
            {"Label5", QPalette::WindowText, darkBlue}, {"CmdCarte", QPalette::Button, face},
            {"CmdItineraire", QPalette::Button, face}, {"Text8", QPalette::Base, lightCyan},
        };
        for (const auto& look : looks) {
            QVERIFY2(find(QString::fromLatin1(look.name))->palette().color(look.role) == look.colour, look.name);
        }
        QCOMPARE(find<ShapeWidget>(QStringLiteral("Shape3"))->fill(), lightCyan);
        QCOMPARE(button("CmdCarte")->palette().color(QPalette::Disabled, QPalette::ButtonText), grey);  // legible
        // A line of width w covers w pixel rows (or columns) about its own.
        const struct { const char* name; QRect covered; QColor colour; } lines[] = {
            {"Line6", QRect(QPoint(233, 70), QPoint(267, 72)), Qt::red},
            {"Line5", QRect(QPoint(233, 69), QPoint(268, 70)), Qt::white},
            {"Line1", QRect(QPoint(88, 239), QPoint(312, 240)), QColor(128, 128, 128)},
            {"Line2", QRect(QPoint(87, 240), QPoint(88, 280)), QColor(128, 128, 128)},
            {"Line3", QRect(QPoint(88, 279), QPoint(312, 280)), Qt::white},
            {"Line4", QRect(QPoint(311, 240), QPoint(312, 280)), Qt::white},
        };
        for (const auto& line : lines) {
            auto* shape = find<ShapeWidget>(QString::fromLatin1(line.name));
            QCOMPARE(shape->geometry(), line.covered);
            QCOMPARE(shape->fill(), line.colour);
        }
    }

    // A region's name as wide as LblRegions keeps the design size; a wider
    // one is set smaller so as to show whole.
    void regionNameShrinksOnlyWhenTooWide() {
        QLabel* regions = label("LblRegions");
        const QFont design = regions->font();
        regions->resize(QFontMetrics(design).horizontalAdvance(QStringLiteral("Bretagne")), regions->height());
        for (const auto& [name, shrunk] : {std::pair{"Bretagne", false}, {"Bretagne-Sud", true}}) {
            m_session->window().setLabelCaption(LabelId::LblRegions, name);
            QCOMPARE(regions->font().pointSizeF() < design.pointSizeF(), shrunk);
        }
    }

    // The work fields and lists the handlers keep out of sight: each holds
    // its own text and choice, as the visible ones do.
    void hiddenFieldsKeepTheirOwn() {
        MainWindow& window = m_session->window();
        const auto own = [](TextId id) { return "champ " + std::to_string(static_cast<int>(id)); };
        const TextId fields[] = {TextId::TxtURLMich, TextId::TxtURLMich2, TextId::TxtDepart0,
                                 TextId::TxtArrivee0, TextId::TxtDepart, TextId::TxtArrivee};
        for (const TextId id : fields) window.setText(id, own(id));
        for (const TextId id : fields) QCOMPARE(QString::fromStdString(window.text(id)), QString::fromStdString(own(id)));
        for (const auto& [id, initial] : {std::pair{ComboId::Combo3, "Combo3"}, {ComboId::Combo4, "Combo4"}}) {
            QCOMPARE(QString::fromStdString(window.comboText(id)), QString::fromLatin1(initial));
            window.addComboItems(id, {"48.5", "7.5"});
            window.setComboListIndex(id, 1);
            window.setComboListIndex(id, 2);  // past the end: nothing changes
            QCOMPARE(window.comboListIndex(id), 1);
            QCOMPARE(QString::fromStdString(window.comboText(id)), QStringLiteral("7.5"));
        }
    }

    // One hourglass however often a handler asks for it, gone at the first
    // request for the arrow.
    void oneHourglassAtATime() {
        MainWindow& window = m_session->window();
        window.setMousePointer(MousePointer::Hourglass);
        window.setMousePointer(MousePointer::Hourglass);
        QVERIFY(QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor);
        window.setMousePointer(MousePointer::Default);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void aFullRoadThroughTheWidgets() {
        loadRegion();
        QComboBox* town1 = combo("Combo1");
        QCOMPARE(town1->count() + combo("Combo2")->count(), 2 * kLocalityCount);
        QCOMPARE(town1->currentText(), qs(kTownPrompt));

        // With the mouse; a release too soon after the list opened counts as
        // the end of the click that opened it, and the list ignores it.
        QAbstractItemView& list = dropDown(*town1);
        const QPoint centre = list.visualRect(list.model()->index(0, 0)).center();
        QTest::mouseMove(list.viewport(), centre);
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(town1->currentText(), QStringLiteral("EXEMPLEVILLE-67001"));
        QCOMPARE(label("LblNbrLoc")->text(), QStringLiteral("3"));

        // With the keys: ÉCLUSE LES BAINS is the fifth item.
        QAbstractItemView& list2 = dropDown(*combo("Combo2"));
        list2.setCurrentIndex(list2.model()->index(0, 0));
        for (int i = 0; i < 4; ++i) QTest::keyClick(&list2, Qt::Key_Down);
        QTest::keyClick(&list2, Qt::Key_Return);
        QCOMPARE(combo("Combo2")->currentText(), QStringLiteral("ÉCLUSE LES BAINS-67005"));
        QLabel* result = label("result2");
        QCOMPARE(result->text(), QStringLiteral("La distance entre ces 2 villes est de : 2  Kms"));
        QVERIFY(result->isVisible());
        QVERIFY(result->width() >= QFontMetrics(result->font()).horizontalAdvance(result->text()));

        QTest::mouseClick(button("CmdCarte"), Qt::LeftButton);
        QCOMPARE(m_opened.size(), std::size_t(1));
        const QByteArray map = m_opened[0].toEncoded();
        QVERIFY2(map.contains("%C3%89CLUSE%20LES%20BAINS-67005"), map.constData());

        // The itinerary is opened at the end of the timers' walks.
        QTest::mouseClick(button("CmdItineraire"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_opened.size(), std::size_t(2), 60000);
        const QByteArray itinerary = m_opened[1].toEncoded();
        QVERIFY2(itinerary.contains("strStartMerged=67001+EXEMPLEVILLE&"), itinerary.constData());
        QVERIFY2(itinerary.contains("strDestMerged=67005+%C3%89CLUSE%20LES%20BAINS"), itinerary.constData());
    }

    // Typed text never chooses an item, not even an item's own text with Enter
    // or a change of focus: the lists are chosen from.
    void typingChoosesNothing() {
        loadRegion();
        QComboBox* town = combo("Combo1");
        town->setFocus();
        town->lineEdit()->selectAll();
        QTest::keyClicks(town, QStringLiteral("EXEMPLEVILLE-67001"));
        QCOMPARE(town->currentText(), QStringLiteral("EXEMPLEVILLE-67001"));
        QTest::keyClick(town, Qt::Key_Return);
        QTest::keyClick(town, Qt::Key_Tab);
        QCOMPARE(town->currentIndex(), -1);
        QCOMPARE(label("LblNbrLoc")->text(), QString());
    }

    // Text8: a long name never wraps (3 lines and the empty last one). Its French menu: the map test.
    void text8() {
        m_session->window().setText(TextId::Text8, "A-00001\r\nSAINT MARTIN DE LA LONGUE ET INTERMINABLE CAMPAGNE-65240\r\nB-00002\r\n");
        QCOMPARE(text8Edit()->document()->lineCount(), 3 + 1);
    }

    // What the accessibility bridge hands to a screen reader, and Enter on a
    // focused button, which presses it as Space does.
    void controlsServeKeyboardAndScreenReaderUsers() {
        for (const auto& [control, spoken] :
             {std::pair{"ComboReg", "Région"}, {"Combo1", "Localité de départ"}, {"Combo2", "Seconde localité"},
              {"ComboKms", "Rayon en kilomètres"}, {"Text8", "Localités voisines"},
              {"CmdCarte", "Carte de la localité"}, {"CmdItineraire", "Itinéraire entre les deux localités"},
              {"CmdaBOUT", "À propos"}, {"CmdMinimise", "Réduire"}, {"CmdQuit", "Quitter"}}) {
            QWidget* widget = find(control);
            QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(widget);
            QCOMPARE(seen->text(QAccessible::Name), QString::fromUtf8(spoken));
            QVERIFY2(!seen->text(QAccessible::Description).isEmpty(), control);
            if (auto* box = qobject_cast<QComboBox*>(widget)) {
                // The list and the edit part, found by index and by place; the
                // list opened and closed as a screen reader's actions ask.
                QAccessibleInterface* edit = seen->child(1);
                QCOMPARE(edit->text(QAccessible::Value), box->currentText());
                QCOMPARE(seen->indexOfChild(edit), 1);
                QCOMPARE(seen->indexOfChild(seen->child(0)), 0);
                const QPoint inEdit = box->lineEdit()->mapToGlobal(box->lineEdit()->rect().center());
                QCOMPARE(seen->childAt(inEdit.x(), inEdit.y()), edit);
                QCOMPARE(seen->childAt(inEdit.x(), inEdit.y() + box->height()), nullptr);
                QAccessibleActionInterface* actions = seen->actionInterface();
                for (const auto& [action, open] : {std::pair{QAccessibleActionInterface::setFocusAction(), false},
                                                   {QAccessibleActionInterface::pressAction(), true},
                                                   {QAccessibleActionInterface::showMenuAction(), false}}) {
                    actions->doAction(action);
                    QVERIFY2(box->view()->isVisible() == (open && box->count() > 0), qPrintable(action));  // an empty list stays shut
                }
            }
            if (auto* pressed = qobject_cast<QPushButton*>(widget)) {
                pressed->setEnabled(true);
                QSignalSpy clicks(pressed, &QPushButton::clicked);
                QTest::keyClick(pressed, Qt::Key_Return);
                QTest::keyClick(pressed, Qt::Key_Enter, Qt::KeypadModifier);
                QVERIFY2(clicks.count() == 2, control);
            }
        }
    }

    // Run at every scale (QT_SCALE_FACTOR=2 by the test suite): the pictures
    // hold as many device pixels as the screen shows, not enlarged and blurred.
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

    // Down below their box, or up when the window is low; ComboReg shows all 22 at once.
    void dropDownsSpanTheirDepthAttachedToTheirBox() {
        loadRegion();
        for (const bool low : {false, true}) {
            if (low) m_session->window().move(m_session->window().x(), 740);
            for (const auto& [name, depth] : {std::pair{"Combo1", 510}, {"Combo2", 490}, {"ComboReg", 0}}) {
                if (low && depth == 0) continue;
                QComboBox* box = combo(name);
                const QRect boxArea(box->mapToGlobal(QPoint(0, 0)), box->size());
                for (int opening = 1; opening <= 2; ++opening) {  // the second keeps the depth
                    const QRect list = dropDown(*box).window()->geometry();
                    QVERIFY2(list.intersects(boxArea), name);  // not floating away from its box
                    QCOMPARE(list.top() < boxArea.top(), low);
                    if (depth > 0) QCOMPARE(list.united(boxArea).height(), depth);
                    else QVERIFY(list.height() >= box->count() * box->view()->sizeHintForRow(0));
                    box->hidePopup();
                }
            }
        }
    }

    // Widened lists stay on the screen: here the window lies at its right edge.
    void dropDownsWidenForLongNamesWithinTheScreen() {
        const std::string longName = "SAINT MARTIN DE LA LONGUE ET INTERMINABLE CAMPAGNE-65240";
        const std::string hugeName(100'000, 'X');  // a damaged file
        writeRegion("Alsace", "48.5,7.5,EXEMPLEVILLE-67001\r\n48.51,7.51," + longName + "\r\n");
        writeRegion("Aquitaine", "48.5,7.5,EXEMPLEVILLE-67001\r\n48.51,7.51," + hugeName + "\r\n");
        loadRegion();
        QComboBox* second = combo("Combo2");
        const QRect room = second->screen()->availableGeometry();
        m_session->window().move(room.right() + 1 - m_session->window().width(), 100);
        for (const std::string& name : {longName, hugeName}) {
            if (name == hugeName) QTest::keyClick(combo("ComboReg"), Qt::Key_Down);
            QWidget* popup = dropDown(*second).window();
            const int needed = QFontMetrics(second->view()->font()).horizontalAdvance(qs(name).left(400));
            if (needed < room.width()) {
                QVERIFY(second->view()->viewport()->width() >= needed);
                QCOMPARE(popup->geometry().right(), room.right());  // moved back, not a pixel off the screen
            } else {
                QCOMPARE(popup->width(), room.width());  // placed by the offscreen platform, frame and all
            }
            second->hidePopup();
        }
    }

    // A left press on the surface, its shapes and lines, or the two titles
    // drags the window and keeps it on top; nothing else does.
    void presses() {
        MainWindow& window = m_session->window();
        const struct { const char* target; QPoint where; Qt::MouseButton button; bool drags; } cases[] = {
            {"", {20, 400}, Qt::RightButton, false}, {"", {20, 400}, Qt::LeftButton, true},
            {"", {300, 245}, Qt::LeftButton, true},  // inside Shape3
            {"", {87, 270}, Qt::LeftButton, true},   // on a panel line
            {"Label1", {5, 5}, Qt::LeftButton, true}, {"LblRegions", {5, 5}, Qt::LeftButton, true},
            {"Label4", {60, 8}, Qt::LeftButton, false}, {"CmdCarte", {5, 5}, Qt::LeftButton, false},
            {"Text8", {30, 30}, Qt::LeftButton, false}};
        for (const auto& c : cases) {
            const QString name = QString::fromLatin1(c.target) + QLatin1Char('@') + QString::number(c.where.x());
            window.setWindowFlag(Qt::WindowStaysOnTopHint, false);
            window.show();
            QWidget* widget = *c.target ? find(QString::fromLatin1(c.target)) : &window;
            const QPoint inWindow = widget->mapTo(&window, c.where);
            const WId before = window.winId();
            // The press goes to the widget under the pointer, as the window
            // system would deliver it: shapes and lines are not in the way.
            QWidget* receiver = window.childAt(inWindow);
            if (!receiver) receiver = &window;
            QVERIFY2(!*c.target || receiver == widget || widget->isAncestorOf(receiver), qPrintable(name));
            const QPoint at = receiver->mapFrom(&window, inWindow);
            QTest::mousePress(receiver, c.button, {}, at);
            QVERIFY2(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint) == c.drags, qPrintable(name));
            QVERIFY2(dragger().active() == c.drags, qPrintable(name));
            QTest::mouseRelease(receiver, c.button, {}, at);
            QVERIFY2(!dragger().active() && topmost() == c.drags, qPrintable(name));  // on top after the release
            QVERIFY2(window.winId() == before, qPrintable(name));  // the press not lost to a new native window
        }
    }

    // The offscreen platform has no window move of its own.
    void withoutAWindowSystemMoveTheWindowFollowsThePointer() {
        const QPoint start = m_session->window().pos();
        const QPoint pointer(150, 80);
        QCursor::setPos(pointer);
        m_session->platform().startWindowDrag();
        for (const QPoint offset : {QPoint(30, 20), QPoint(-10, 5)}) {
            sendMouse(QEvent::MouseMove, pointer + offset, Qt::LeftButton, Qt::NoButton);
            QCOMPARE(m_session->window().pos(), start + offset);
        }
        sendMouse(QEvent::MouseButtonRelease, pointer + QPoint(-10, 5), Qt::NoButton, Qt::LeftButton);
        QVERIFY(!dragger().active());
        sendMouse(QEvent::MouseMove, pointer + QPoint(50, 50), Qt::NoButton, Qt::NoButton);
        QCOMPARE(m_session->window().pos(), start + QPoint(-10, 5));

        // A release missed by the window: the next move, button up, ends the drag.
        m_session->platform().startWindowDrag();
        sendMouse(QEvent::MouseMove, QPoint(300, 300), Qt::NoButton, Qt::NoButton);
        QVERIFY(!dragger().active());
        QCOMPARE(m_session->window().pos(), start + QPoint(-10, 5));
    }

    void aboutMinimiseAndQuitButtons() {
        AboutBox* box = openAbout();
        QCOMPARE(openAbout(), box);
        QCOMPARE(shownWindows().filter(QStringLiteral("frmAbout")).size(), 1);
        const QFont title = box->findChild<QLabel*>(QStringLiteral("Label8"))->font();  // "Localyx", in large type
        QVERIFY(title.bold() && title.pointSizeF() == 18);
        // Every text whole in its label, none set below 7.5 pt to get there.
        for (const QLabel* text : box->findChildren<QLabel*>()) {
            if (text->text().isEmpty()) continue;  // the icon
            const QRect needed = QFontMetrics(text->font()).boundingRect(
                QRect(0, 0, text->width(), 10000), Qt::TextWordWrap | text->alignment(), text->text());
            QVERIFY2(text->font().pointSizeF() >= 7.5 && needed.height() <= text->height(), qPrintable(text->objectName()));
        }

        QTest::mouseClick(button("CmdMinimise"), Qt::LeftButton);
        QVERIFY(m_session->window().windowState().testFlag(Qt::WindowMinimized));
        QVERIFY(!box->isVisible());
        m_session->window().setWindowState(Qt::WindowNoState);
        QCOMPARE(openAbout(), box);  // hidden, not closed
        QVERIFY(box->isVisible());

        box->setWindowState(Qt::WindowMinimized);  // from its own title bar
        QCOMPARE(openAbout(), box);
        QVERIFY(!box->isMinimized());
        QPointer<AboutBox> closed = box;  // OK closes it for good (Escape, Enter and the title bar are Qt's)
        QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY(m_session->platform().aboutBox() == nullptr);
        discardDeleted();
        QVERIFY(closed.isNull());

        QTest::mouseClick(button("CmdQuit"), Qt::LeftButton);
        QCOMPARE(m_quits, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

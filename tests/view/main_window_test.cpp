// The main window through its real widgets: its state at start, the road of
// a typical use, typing in the lists, Text8, and which presses drag it.

#include <cmath>
#include <memory>
#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "about/about_box.h"
#include "app/initial_state.h"
#include "core/distance.h"
#include "core/region_catalogue.h"
#include "tests/view/view_test_support.h"
#include "view/choice_combo.h"
#include "view/form_session.h"

using namespace localyx;
using namespace localyx::testing;

namespace {

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    template <typename T>
    T* find(const char* name) const {
        T* widget = m_session->window().findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no control %s", name);
        return widget;
    }
    QComboBox* combo(const char* name) const { return find<QComboBox>(name); }
    QLabel* label(const char* name) const { return find<QLabel>(name); }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QPlainTextEdit* text8() const { return find<QPlainTextEdit>("Text8"); }
    bool topmost() const { return m_session->window().windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

    void loadRegion() {
        QTest::keyClick(combo("ComboReg"), Qt::Key_Down);  // first item: Alsace
        QCOMPARE(label("LblRegions")->text(), QStringLiteral("Alsace"));
    }

    std::unique_ptr<RegionFolder> m_folder;
    std::unique_ptr<FormSession> m_session;
    std::vector<QUrl> m_opened;
    int m_quits = 0;

private slots:
    void initTestCase() { setUpApplication(); }

    void init() {
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join(", ")));
        m_folder = std::make_unique<RegionFolder>();
        m_session = std::make_unique<FormSession>(m_folder->path().toStdString());
        m_opened.clear();
        m_quits = 0;
        m_session->platform().setBrowserOpener([this](const QUrl& url) { m_opened.push_back(url); });
        m_session->platform().setQuitAction([this] { ++m_quits; });
        m_session->show();
        QVERIFY(QTest::qWaitForWindowActive(&m_session->window()));
    }

    void cleanup() {
        m_session.reset();
        m_folder.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join(", ")));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void windowIsBorderlessFixedAndTitled() {
        MainWindow& window = m_session->window();
        QCOMPARE(window.size(), QSize(390, 704));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::Tool));  // keeps its taskbar button
        QCOMPARE(window.windowTitle(), QStringLiteral("Localyx"));
        QCOMPARE(window.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        QVERIFY(!topmost());
        const QRect screen = window.screen()->availableGeometry();
        QVERIFY(std::abs(window.geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(std::abs(window.geometry().center().y() - screen.center().y()) <= 1);
    }

    void controlsSitAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        const auto row = [](const char* name, int left, int top, int width, int height) {
            QTest::newRow(name) << QString::fromLatin1(name) << QRect(left, top, width, height);
        };
        row("CmdaBOUT", 240, 240, 255, 255);
        row("CmdMinimise", 5040, 240, 255, 255);
        row("CmdQuit", 5280, 240, 255, 255);
        row("Titre1", 1830, 480, 2295, 615);
        row("Titre2", 1680, 510, 2535, 735);
        row("Label1", 1800, 1200, 2415, 495);
        row("LblRegions", 360, 1560, 5295, 495);
        row("ComboReg", 1320, 2160, 3375, 315);
        row("Combo1", 1320, 2520, 3375, 315);
        row("Combo2", 1320, 2880, 3375, 315);
        row("Labelinfo", 1200, 3240, 3615, 255);
        row("result2", 2760, 3240, 465, 240);
        row("Shape3", 1320, 3600, 3375, 615);
        row("Label4", 1800, 3600, 2535, 255);
        row("LblNbrLoc", 1560, 3630, 375, 255);
        row("Label3", 1560, 3855, 1815, 255);
        row("ComboKms", 3480, 3840, 615, 360);
        row("Label5", 4080, 3870, 495, 255);
        row("CmdCarte", 1320, 4320, 1695, 255);
        row("CmdItineraire", 3120, 4320, 1575, 255);
        row("Text8", 1320, 4680, 3375, 5295);
    }

    void controlsSitAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        auto* widget = m_session->window().findChild<QWidget*>(name);
        QVERIFY(widget);
        const auto px = [](int t) { return static_cast<int>(std::lround(t / 15.0)); };
        QCOMPARE(widget->geometry(), QRect(px(twips.left()), px(twips.top()), px(twips.width()), px(twips.height())));
    }

    void stackingPutsLinesOnTopAndTitleShadowBelow() {
        const QObjectList& children = m_session->window().children();
        const auto layer = [&children](const char* name) {
            for (qsizetype i = 0; i < children.size(); ++i) {
                if (children[i]->objectName() == QLatin1String(name)) return i;
            }
            return qsizetype(-1);
        };
        QVERIFY(layer("Titre1") < layer("Titre2"));
        QVERIFY(layer("Label4") < layer("LblNbrLoc"));
        QVERIFY(layer("LblNbrLoc") < layer("Label3"));
        QVERIFY(layer("Shape3") < layer("Label4"));
        for (const char* line : {"Line1", "Line2", "Line3", "Line4", "Line5", "Line6"}) {
            QVERIFY2(layer(line) > layer("Text8"), line);
            QVERIFY(m_session->window().findChild<QWidget*>(QLatin1String(line))->testAttribute(
                Qt::WA_TransparentForMouseEvents));
        }
    }

    void startStateShowsPromptsAndNothingChosen() {
        QComboBox* reg = combo("ComboReg");
        QCOMPARE(reg->currentText(), qs(kComboRegPrompt));
        QCOMPARE(reg->currentIndex(), -1);
        QCOMPARE(reg->count(), kRegionCount);
        for (int i = 0; i < kRegionCount; ++i) QCOMPARE(reg->itemText(i), qs(regionCatalogue()[i].displayItem));

        QCOMPARE(combo("Combo1")->currentText(), qs(kCombo1Prompt));
        QCOMPARE(combo("Combo2")->currentText(), qs(kCombo2Prompt));
        for (const char* town : {"Combo1", "Combo2"}) {
            QCOMPARE(combo(town)->count(), 0);
            QCOMPARE(combo(town)->currentIndex(), -1);
        }
        QComboBox* kms = combo("ComboKms");
        QCOMPARE(kms->currentText(), qs(kRadiusText));
        QCOMPARE(kms->currentIndex(), -1);
        QCOMPARE(kms->count(), int(kRadiusItems.size()));

        MainWindow& window = m_session->window();
        QCOMPARE(window.comboText(ComboId::Combo3), std::string(kCombo3Text));
        QCOMPARE(window.comboText(ComboId::Combo4), std::string(kCombo4Text));
        QCOMPARE(window.comboListCount(ComboId::Combo3), 0);
        QVERIFY(!window.timerEnabled(TimerId::Timer1));
        QVERIFY(!window.timerEnabled(TimerId::Timer2));

        QVERIFY(!button("CmdCarte")->isEnabled());
        QVERIFY(!button("CmdItineraire")->isEnabled());
        QVERIFY(label("Labelinfo")->isHidden());
        QCOMPARE(label("Labelinfo")->text(), qs(kLabelinfoInitial));
        for (const char* empty : {"result2", "LblNbrLoc", "LblRegions"}) QCOMPARE(label(empty)->text(), QString());
        QVERIFY(text8()->toPlainText().isEmpty());
        QCOMPARE(label("Label1")->text(), QStringLiteral("Région "));
        QCOMPARE(button("CmdCarte")->text(), QStringLiteral("Carte  Michelin ©"));
        QCOMPARE(button("CmdItineraire")->text(), QStringLiteral("--->  itinéraire "));
    }

    void focusStartsInCombo1AndFollowsTheTabOrder() {
        QCOMPARE(m_session->window().focusWidget(), combo("Combo1"));
        const QStringList expected = {"Combo1",  "Combo2",      "Text8",    "CmdCarte", "CmdaBOUT",
                                      "CmdQuit", "CmdMinimise", "ComboReg", "ComboKms", "CmdItineraire"};
        QStringList order;
        QWidget* widget = combo("Combo1");
        for (int step = 0; step < 200 && order.size() < expected.size(); ++step) {
            if (expected.contains(widget->objectName()) && !order.contains(widget->objectName())) {
                order << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, expected);
    }

    void controlsCarryNamesForAssistiveTechnology() {
        QCOMPARE(button("CmdMinimise")->accessibleName(), QStringLiteral("Réduire"));
        QCOMPARE(button("CmdQuit")->accessibleName(), QStringLiteral("Quitter"));
        QCOMPARE(button("CmdaBOUT")->accessibleName(), QStringLiteral("À propos"));
        for (const char* name : {"ComboReg", "Combo1", "Combo2", "ComboKms"}) {
            QVERIFY2(!combo(name)->accessibleName().isEmpty(), name);
        }
        QVERIFY(!text8()->accessibleName().isEmpty());
    }

    void handCursorShowsOverTheListedControls() {
        for (const char* name :
             {"ComboReg", "Combo1", "Combo2", "ComboKms", "CmdCarte", "CmdItineraire", "CmdMinimise", "CmdaBOUT"}) {
            auto* widget = m_session->window().findChild<QWidget*>(QLatin1String(name));
            QCOMPARE(widget->cursor().shape(), Qt::BitmapCursor);
            QCOMPARE(widget->cursor().hotSpot(), QPoint(12, 1));
        }
        QCOMPARE(button("CmdQuit")->cursor().shape(), Qt::ArrowCursor);
    }

    void aFullRoadThroughTheWidgets() {
        loadRegion();
        QComboBox* town1 = combo("Combo1");
        QComboBox* town2 = combo("Combo2");
        QCOMPARE(town1->count(), kLocalityCount);
        QCOMPARE(town2->count(), kLocalityCount);
        QCOMPARE(town1->currentText(), qs(kTownPrompt));
        QCOMPARE(town1->currentIndex(), -1);
        QCOMPARE(m_session->window().comboListCount(ComboId::Combo3), 2 * kLocalityCount);

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
        const double km = CalcDistance(7.500, 48.500, 7.510, 48.520);
        QCOMPARE(label("result2")->text(), QStringLiteral("La distance entre ces 2 villes est de : %1  Kms")
                                               .arg(static_cast<int>(std::floor(km))));
        QVERIFY(label("result2")->isVisible());
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
        QVERIFY(!m_session->window().timerEnabled(TimerId::Timer1));
        QVERIFY(!m_session->window().timerEnabled(TimerId::Timer2));
    }

    void choosingTheSameTownTwiceWarns() {
        loadRegion();
        QTest::keyClick(combo("Combo1"), Qt::Key_Down);
        chooseWithKeys(*combo("Combo2"), 0);
        QVERIFY(label("Labelinfo")->isVisible());
        QCOMPARE(label("Labelinfo")->text(), qs(kSameTownWarning));
        QVERIFY(!button("CmdItineraire")->isEnabled());
    }

    void typingInAListTriggersNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::newRow("ComboReg") << QStringLiteral("ComboReg") << QStringLiteral(" Bretagne  22, 29, 35, 56");
        QTest::newRow("Combo1") << QStringLiteral("Combo1") << kNeighbours[0];
        QTest::newRow("Combo2") << QStringLiteral("Combo2") << kNeighbours[1];
        QTest::newRow("ComboKms") << QStringLiteral("ComboKms") << QStringLiteral("20");
    }

    void typingInAListTriggersNothing() {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        loadRegion();
        QComboBox* box = combo(name.toLatin1().constData());
        const int count = box->count();
        QSignalSpy activations(box, &QComboBox::activated);

        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Enter);
        text8()->setFocus();  // leaving the box chooses nothing either
        QVERIFY(!box->hasFocus());

        QCOMPARE(box->currentText(), typed);
        QCOMPARE(box->count(), count);
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(activations.count(), 0);
        QCOMPARE(label("LblRegions")->text(), QStringLiteral("Alsace"));
        QVERIFY(text8()->toPlainText().isEmpty());
        QVERIFY(label("result2")->text().isEmpty());
        QVERIFY(!button("CmdCarte")->isEnabled());
    }

    void typingOverAChoiceUnchoosesIt() {
        loadRegion();
        QComboBox* town1 = combo("Combo1");
        QTest::keyClick(town1, Qt::Key_Down);
        QCOMPARE(town1->currentIndex(), 0);
        QTest::keyClick(town1, Qt::Key_End);
        QTest::keyClicks(town1, QStringLiteral("X"));
        QCOMPARE(town1->currentIndex(), -1);
        QCOMPARE(town1->currentText(), kFirstTown + QStringLiteral("X"));
        QCOMPARE(town1->count(), kLocalityCount);
    }

    void choicesWrittenByTheLogicRunNoHandler() {
        loadRegion();
        MainWindow& window = m_session->window();
        window.setComboListIndex(ComboId::Combo1, 1);
        window.setComboListIndex(ComboId::Combo2, 2);
        window.setComboListIndex(ComboId::ComboKms, 3);
        window.setComboListIndex(ComboId::ComboReg, 5);
        QCOMPARE(combo("Combo1")->currentText(), kNeighbours[0]);
        QVERIFY(text8()->toPlainText().isEmpty());
        QVERIFY(label("result2")->text().isEmpty());
        QCOMPARE(label("LblRegions")->text(), QStringLiteral("Alsace"));
    }

    void text8IsReadOnlyButCopiesOneLocalityPerLine() {
        loadRegion();
        QTest::keyClick(combo("Combo1"), Qt::Key_Down);
        QPlainTextEdit* box = text8();
        const QString found = box->toPlainText();
        QTest::keyClicks(box, QStringLiteral("abc"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->toPlainText(), found);

        QApplication::clipboard()->clear();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts), kNeighbours);
        QCOMPARE(m_session->window().text(TextId::Text8), (kNeighbours.join(QStringLiteral("\r\n")) + "\r\n").toStdString());
    }

    void text8ShowsALongNameOnOneLine() {
        // A wrapped name would show one line more than the count says.
        const std::string longName = "SAINT MARTIN DE LA LONGUE ET INTERMINABLE CAMPAGNE-65240";
        m_session->window().setText(TextId::Text8, "A-00001\r\n" + longName + "\r\nB-00002\r\n");
        QCOMPARE(text8()->document()->lineCount(), 3 + 1);  // the empty last line
    }

    void labelsShowEveryRegionCaptionUnclipped() {
        QLabel* regions = label("LblRegions");
        for (const RegionEntry& entry : regionCatalogue()) {
            m_session->window().setLabelCaption(LabelId::LblRegions, std::string(entry.caption));
            const int needed = QFontMetrics(regions->font()).horizontalAdvance(regions->text());
            QVERIFY2(needed <= regions->width(), qPrintable(regions->text()));
            QVERIFY(regions->font().pointSizeF() <= 18);
        }
        m_session->window().setLabelCaption(LabelId::LblRegions, "Alsace");
        QCOMPARE(regions->font().pointSizeF(), 18.0);
    }

    void distanceLabelKeepsItsCentre() {
        QLabel* result = label("result2");
        const int centre2 = 2 * result->x() + result->width();
        m_session->window().setLabelCaption(LabelId::result2, "La distance entre ces 2 villes est de : 1234  Kms");
        QVERIFY(result->width() >= QFontMetrics(result->font()).horizontalAdvance(result->text()));
        QVERIFY(std::abs(2 * result->x() + result->width() - centre2) <= 1);
        QVERIFY(result->geometry().left() >= 0 && result->geometry().right() < 390);
    }

    void dropDownDepthsIncludeTheEditPart_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("depth");
        QTest::newRow("Combo1") << QStringLiteral("Combo1") << 510;
        QTest::newRow("Combo2") << QStringLiteral("Combo2") << 490;
    }

    void dropDownDepthsIncludeTheEditPart() {
        QFETCH(QString, name);
        QFETCH(int, depth);
        loadRegion();
        QComboBox* box = combo(name.toLatin1().constData());
        box->showPopup();
        QWidget* popup = box->view()->window();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        const int below = box->mapToGlobal(QPoint(0, box->height())).y();
        if (popup->screen()->availableGeometry().bottom() - below < depth) QSKIP("screen too small for the depth");
        QCOMPARE(box->height() + popup->height(), depth);
        box->hidePopup();
    }

    void regionListIsShortOfItsDepthAndRadiusListKeepsItsOwn() {
        QComboBox* reg = combo("ComboReg");
        reg->showPopup();
        QWidget* popup = reg->view()->window();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        // All 22 regions show at once, in less than the 530 pixels allowed.
        QVERIFY(reg->height() + popup->height() <= 530);
        QVERIFY(popup->height() >= kRegionCount * reg->view()->sizeHintForRow(0));
        reg->hidePopup();
        QCOMPARE(combo("ComboKms")->maxVisibleItems(), 10);
    }

    void presses_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("makesTopmost");
        const auto left = int(Qt::LeftButton);
        QTest::newRow("right on the surface") << QString() << QPoint(20, 400) << int(Qt::RightButton) << false;
        QTest::newRow("middle on the surface") << QString() << QPoint(20, 400) << int(Qt::MiddleButton) << false;
        QTest::newRow("left on the surface") << QString() << QPoint(20, 400) << left << true;
        QTest::newRow("left inside Shape3") << QString() << QPoint(300, 245) << left << true;
        QTest::newRow("left on a panel line") << QString() << QPoint(87, 270) << left << true;
        QTest::newRow("left on Label1") << QStringLiteral("Label1") << QPoint(5, 5) << left << true;
        QTest::newRow("right on Label1") << QStringLiteral("Label1") << QPoint(5, 5) << int(Qt::RightButton) << false;
        QTest::newRow("left on LblRegions") << QStringLiteral("LblRegions") << QPoint(5, 5) << left << true;
        for (const char* other : {"Titre2", "Label3", "Label5", "LblNbrLoc", "result2"}) {
            QTest::newRow(other) << QString::fromLatin1(other) << QPoint(3, 3) << left << false;
        }
        QTest::newRow("Label4") << QStringLiteral("Label4") << QPoint(60, 8) << left << false;
        // Titre1 shows only where it peeps out from under Titre2.
        QTest::newRow("Titre1") << QStringLiteral("Titre1") << QPoint(150, 1) << left << false;
        QTest::newRow("left on disabled CmdCarte") << QStringLiteral("CmdCarte") << QPoint(5, 5) << left << false;
        QTest::newRow("left on Text8") << QStringLiteral("Text8") << QPoint(30, 30) << left << false;
    }

    void presses() {
        QFETCH(QString, target);
        QFETCH(QPoint, where);
        QFETCH(int, button);
        QFETCH(bool, makesTopmost);
        MainWindow& window = m_session->window();
        QWidget* widget = target.isEmpty() ? &window : window.findChild<QWidget*>(target);
        QVERIFY(widget);
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
        QCOMPARE(m_session->platform().dragger().active(), makesTopmost);
        QTest::mouseRelease(receiver, Qt::MouseButton(button), {}, at);
        QVERIFY(!m_session->platform().dragger().active());
        QCOMPARE(topmost(), makesTopmost);  // stays so after the release
        QCOMPARE(window.winId(), before);   // the press was not lost to a new native window
    }

    void aboutButtonOpensOneBoxAndMinimiseHidesIt() {
        QTest::mouseClick(button("CmdaBOUT"), Qt::LeftButton);
        QTest::mouseClick(button("CmdaBOUT"), Qt::LeftButton);
        QCOMPARE(shownWindows().count(QStringLiteral("frmAbout")), 1);
        AboutBox* box = m_session->platform().aboutBox();
        QVERIFY(box && box->isVisible());

        QTest::mouseClick(button("CmdMinimise"), Qt::LeftButton);
        QVERIFY(m_session->window().windowState().testFlag(Qt::WindowMinimized));
        QVERIFY(!box->isVisible());
        QCOMPARE(m_session->platform().aboutBox(), box);  // hidden, not closed

        m_session->window().setWindowState(Qt::WindowNoState);
        QVERIFY(!box->isVisible());
        QTest::mouseClick(button("CmdaBOUT"), Qt::LeftButton);
        QCOMPARE(m_session->platform().aboutBox(), box);
        QVERIFY(box->isVisible());
    }

    void quitEndsTheProgram() {
        QTest::mouseClick(button("CmdQuit"), Qt::LeftButton);
        QCOMPARE(m_quits, 1);
    }

    void missingRegionFileIsToldInText8() {
        QFile::remove(m_folder->path() + QStringLiteral("/Alsace.txt"));
        QTest::keyClick(combo("ComboReg"), Qt::Key_Down);
        QCOMPARE(label("LblRegions")->text(), QStringLiteral("Alsace"));
        QCOMPARE(combo("Combo1")->count(), 0);
        QVERIFY(text8()->toPlainText().contains(QStringLiteral("Alsace.txt")));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void aHugeDamagedFileLoadsAndDropsDownWithinTheScreen() {
        QFile file(m_folder->path() + QStringLiteral("/Alsace.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("48.5,7.5,EXEMPLEVILLE-67001\r\n48.51,7.51,");
        file.write(QByteArray(20'000'000, 'X'));
        file.close();
        loadRegion();
        QCOMPARE(combo("Combo2")->count(), 2);
        QComboBox* second = combo("Combo2");
        second->showPopup();
        QWidget* popup = second->view()->window();
        QVERIFY(popup->isVisible());
        QVERIFY(popup->width() <= second->screen()->availableGeometry().width());
        second->hidePopup();
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

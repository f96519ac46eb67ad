// The window system's services on Qt: the address the browser receives,
// stay-on-top without a new native window, the pointer-following drag,
// drop-down depths, minimise and quit.

#include <memory>
#include <vector>

#include <QAbstractItemView>
#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include "core/web_address.h"
#include "platform/qt_platform_services.h"
#include "tests/view/view_test_support.h"

using namespace localyx;
using namespace localyx::testing;

class PlatformServicesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    QComboBox* m_combo = nullptr;
    std::unique_ptr<QtPlatformServices> m_platform;
    std::vector<QUrl> m_opened;

    void sendMouse(QEvent::Type type, const QPoint& global, Qt::MouseButtons held, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(1, 1), QPointF(global), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &event);
    }

private slots:
    void initTestCase() { setUpApplication(); }

    void init() {
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join(", ")));
        m_window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        m_window->setObjectName(QStringLiteral("Form1"));
        m_window->setFixedSize(390, 704);
        m_combo = new QComboBox(m_window.get());
        m_combo->setEditable(true);
        m_combo->setGeometry(88, 144, 225, 21);
        m_platform = std::make_unique<QtPlatformServices>(*m_window, [this](ComboId id) -> QComboBox* {
            return id == ComboId::ComboReg ? m_combo : nullptr;
        });
        m_opened.clear();
        m_platform->setBrowserOpener([this](const QUrl& url) { m_opened.push_back(url); });
        m_window->move(100, 50);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() {
        m_platform.reset();
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join(", ")));
    }

    void browserReceivesTheAddressEncodedAndOtherwiseUnchanged_data() {
        QTest::addColumn<QString>("raw");
        QTest::newRow("plain") << QStringLiteral("http://www.viamichelin.fr/web/Cartes?strLocation=BREST-29200");
        QTest::newRow("blanks and accents")
            << QStringLiteral("http://www.viamichelin.fr/x?strLocation=SAINT ÉTIENNE DU GRÈS-13103 &y=1");
        QTest::newRow("plus, ampersands, fragment")
            << QStringLiteral("http://www.viamichelin.fr/x?a=29200+BREST&b= &image2.x=0#");
        QTest::newRow("apostrophe and quote") << QStringLiteral("http://www.viamichelin.fr/x?l=L'ÎLE \"D\"-1");
    }

    void browserReceivesTheAddressEncodedAndOtherwiseUnchanged() {
        QFETCH(QString, raw);
        m_platform->openInBrowser(raw.toStdString());
        QCOMPARE(m_opened.size(), std::size_t(1));
        QVERIFY(m_opened[0].isValid());
        QCOMPARE(m_opened[0].toEncoded(), QByteArray::fromStdString(toBrowserUrl(raw.toStdString())));
        QVERIFY(!m_opened[0].toEncoded().contains(' '));
    }

    void topmostKeepsTheNativeWindow() {
        const WId native = m_window->winId();
        QWindow* handle = m_window->windowHandle();
        m_platform->makeTopmost();
        m_platform->makeTopmost();
        QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(m_window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(m_window->windowHandle(), handle);
        QVERIFY(handle->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(m_window->winId(), native);
        QVERIFY(m_window->isVisible());
    }

    void withoutAWindowSystemMoveTheWindowFollowsThePointer() {
        // The offscreen platform has no move of its own.
        const QPoint start = m_window->pos();
        const QPoint pointer(150, 80);
        QCursor::setPos(pointer);
        m_platform->startWindowDrag();
        QVERIFY(m_platform->dragger().active());

        sendMouse(QEvent::MouseMove, pointer + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(m_window->pos(), start + QPoint(30, 20));
        sendMouse(QEvent::MouseMove, pointer + QPoint(-10, 5), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(m_window->pos(), start + QPoint(-10, 5));

        sendMouse(QEvent::MouseButtonRelease, pointer + QPoint(-10, 5), Qt::NoButton, Qt::LeftButton);
        QVERIFY(!m_platform->dragger().active());
        sendMouse(QEvent::MouseMove, pointer + QPoint(50, 50), Qt::NoButton, Qt::NoButton);
        QCOMPARE(m_window->pos(), start + QPoint(-10, 5));
    }

    void aMoveWithTheButtonUpEndsTheDrag() {
        const QPoint start = m_window->pos();
        QCursor::setPos(QPoint(150, 80));
        m_platform->startWindowDrag();
        sendMouse(QEvent::MouseMove, QPoint(200, 200), Qt::NoButton, Qt::NoButton);
        QVERIFY(!m_platform->dragger().active());
        QCOMPARE(m_window->pos(), start);
    }

    void dropDownDepth_data() {
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("full");
        QTest::newRow("long list, 530") << 200 << 530 << true;
        QTest::newRow("long list, 490") << 200 << 490 << true;
        QTest::newRow("short list") << 3 << 530 << false;
    }

    void dropDownDepth() {
        QFETCH(int, items);
        QFETCH(int, depth);
        QFETCH(bool, full);
        for (int i = 0; i < items; ++i) m_combo->addItem(QStringLiteral("ITEM %1").arg(i));
        m_platform->setDropDownHeight(ComboId::ComboReg, depth);
        m_platform->setDropDownHeight(ComboId::Combo3, depth);  // no visible box: nothing happens
        m_combo->showPopup();
        QWidget* popup = m_combo->view()->window();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        if (full) {
            QCOMPARE(m_combo->height() + popup->height(), depth);
        } else {
            QVERIFY(m_combo->height() + popup->height() < depth);
        }
        QVERIFY(popup->geometry().top() >= m_combo->mapToGlobal(QPoint(0, m_combo->height())).y() - 1);
        m_combo->hidePopup();

        // Dropping down again gives the same depth.
        m_combo->showPopup();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        if (full) QCOMPARE(m_combo->height() + popup->height(), depth);
        m_combo->hidePopup();
    }

    void minimiseAndQuit() {
        int quits = 0;
        m_platform->setQuitAction([&quits] { ++quits; });
        m_platform->minimise();
        QVERIFY(m_window->windowState().testFlag(Qt::WindowMinimized));
        m_platform->quit();
        QCOMPARE(quits, 1);
    }
};

QTEST_MAIN(PlatformServicesTest)
#include "platform_services_test.moc"

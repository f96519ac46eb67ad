// The About box as the main window's platform services open it: one box at
// a time, exact texts, closed by OK, Enter, Escape or its title bar.

#include <memory>

#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "about/about_box.h"
#include "platform/qt_platform_services.h"
#include "tests/view/view_test_support.h"

using namespace localyx;
using namespace localyx::testing;

class AboutBoxTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<QtPlatformServices> m_platform;

    AboutBox* open() {
        m_platform->showAbout();
        AboutBox* box = m_platform->aboutBox();
        if (box && !QTest::qWaitForWindowExposed(box)) qWarning("About box not shown");
        return box;
    }
    static void discardDeleted() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void initTestCase() { setUpApplication(); }

    void init() {
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join(", ")));
        m_window = std::make_unique<QWidget>();
        m_window->setObjectName(QStringLiteral("Form1"));
        m_platform = std::make_unique<QtPlatformServices>(*m_window, nullptr);
        m_window->show();
    }

    void cleanup() {
        m_platform.reset();
        m_window.reset();
        discardDeleted();
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join(", ")));
    }

    void isAModelessOwnerlessFixedDialog() {
        AboutBox* box = open();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("À propos"));
        QCOMPARE(box->size(), QSize(382, 322));
        QCOMPARE(box->minimumSize(), box->maximumSize());
        QVERIFY(box->parentWidget() == nullptr);
        QVERIFY(!box->isModal());
        QVERIFY(!box->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!box->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(box->palette().color(QPalette::Window), QColor(0, 0, 128));
        const QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons[0]->text(), QStringLiteral("OK"));
        QVERIFY(buttons[0]->isDefault());
    }

    void textsAreExact_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("Label8") << "Label8" << QStringLiteral("Localyx");
        QTest::newRow("Label6") << "Label6" << QStringLiteral("Version 2.0");
        QTest::newRow("Label10") << "Label10" << QStringLiteral("Aide à la prospection commerciale");
        QTest::newRow("Label4") << "Label4" << QStringLiteral("Exploitation d'une base de données INSEE ");
        QTest::newRow("Label2") << "Label2"
                                << QStringLiteral("Les distances sont calculées à partir des coordonnées géographiques "
                                                  "du lieu  ( Longitude et Latitude )  Il s'agit de distances \"à vol "
                                                  "d'oiseau\".");
        QTest::newRow("Label1")
            << "Label1"
            << QStringLiteral("Si vous êtes connecté à Internet , la touche \"Carte Michelin\"   situe précisément  la "
                              "localité choisie  en bénéficiant de  toutes les options offertes par le site \" "
                              "www.viamichelin.fr \".  La touche \" itinéraire \"  parmètre automatiquement cette "
                              "option  lorsqu'une seconde localité a été choisie.");
        QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QStringLiteral("©  contact@localyx.fr");
        QTest::newRow("Label5") << "Label5" << QStringLiteral("2008");
    }

    void textsAreExact() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        AboutBox* box = open();
        auto* label = box->findChild<QLabel*>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
    }

    void everyTextFitsItsLabel() {
        AboutBox* box = open();
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;  // the picture
            const QFontMetrics metrics(label->font());
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 10000),
                                                      Qt::TextWordWrap | label->alignment(), label->text());
            QVERIFY2(needed.height() <= label->height(), qPrintable(label->objectName()));
            QVERIFY2(needed.width() <= label->width(), qPrintable(label->objectName()));
        }
    }

    void aSecondOpeningBringsTheSameBox() {
        AboutBox* first = open();
        AboutBox* second = open();
        QCOMPARE(second, first);
        QCOMPARE(shownWindows().count(QStringLiteral("frmAbout")), 1);
    }

    void closingKeys_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void closingKeys() {
        QFETCH(int, key);
        QPointer<AboutBox> box = open();
        QTest::keyClick(box.data(), Qt::Key(key));
        QVERIFY(!box->isVisible());
        QVERIFY(m_platform->aboutBox() == nullptr);
        discardDeleted();
        QVERIFY(box.isNull());
    }

    void okAndTheTitleBarDiscardTheBoxAndTheNextOpeningMakesANewOne() {
        QPointer<AboutBox> box = open();
        QTest::mouseClick(box->okButton(), Qt::LeftButton);
        discardDeleted();
        QVERIFY(box.isNull());

        box = open();
        QVERIFY(box);
        QVERIFY(box->close());
        discardDeleted();
        QVERIFY(box.isNull());
        QVERIFY(m_platform->aboutBox() == nullptr);
        QVERIFY(open() != nullptr);
    }

    void hidingKeepsTheBoxForTheNextOpening() {
        AboutBox* box = open();
        m_platform->hideAbout();
        QVERIFY(!box->isVisible());
        discardDeleted();
        QCOMPARE(m_platform->aboutBox(), box);
        QCOMPARE(open(), box);
        QVERIFY(box->isVisible());
        m_platform->hideAbout();
        m_platform->hideAbout();  // nothing more to hide
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"

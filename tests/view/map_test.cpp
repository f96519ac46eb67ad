// The map and the saved lists, through the real window on the offscreen
// platform, the map module loaded as the program loads it.

#include <QtTest>
#include <QtWidgets>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>

#include <nlohmann/json.hpp>

#include "platform/font_fallback.h"
#include "platform/qt_translations.h"
#include "view/form_session.h"
#include "view/map_window/saved_file.h"

using namespace localyx;

namespace {

// EXEMPLEVILLE and, within 5 km, VOISINVILLE (1.8 km), ÉCLUSE LES BAINS
// (2.3 km) and PRES SUR RHIN (3.4 km), in file order; "BOURG, LE" shares its
// latitude, LOINTAINVILLE is far away.
constexpr const char* kRegion =
    "48.500,7.500,EXEMPLEVILLE-67001\r\n48.510,7.520,VOISINVILLE-67002\r\n48.530,7.490,PRES SUR RHIN-67003\r\n"
    "48.900,7.900,LOINTAINVILLE-68004\r\n48.520,7.510,\xC3\x89" "CLUSE LES BAINS-67005\r\n"
    "48.500,7.560,\"BOURG, LE-67006\"\r\n";

QStringList menuEntries(const QMenu& menu) {
    QStringList entries;
    for (const QAction* action : menu.actions()) {
        entries << (action->isSeparator() ? QStringLiteral("|")
                                          : action->text().remove('&').section('\t', 0, 0) +
                                                (action->isEnabled() ? "" : " (grisé)"));
    }
    return entries;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class MapTest : public QObject {
    Q_OBJECT

    MainWindow& window() { return m_session->window(); }
    template <typename T = QWidget>
    T* control(const char* name) {
        T* found = window().findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    QWidget* map() {
        MapExtension* extension = m_session->mapExtensionIfLoaded();
        return extension ? extension->mapWindow() : nullptr;
    }
    QWidget* canvas() { return map()->findChild<QWidget*>(QStringLiteral("MapCanvas")); }
    QString spoken() { return canvas()->accessibleDescription().section(QStringLiteral(". "), 0, 0); }
    void pick(const char* combo, int downs) {
        for (int i = 0; i < downs; ++i) QTest::keyClick(control<QComboBox>(combo), Qt::Key_Down);
    }
    /// Alsace, EXEMPLEVILLE, the list shown.
    void search() {
        pick("ComboReg", 1);
        pick("Combo1", 1);
        QVERIFY(!control<QPlainTextEdit>("Text8")->toPlainText().isEmpty());
    }
    /// The menu key comes as the platform hands it over, a context menu event.
    QMenu* openText8Menu(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QPlainTextEdit* text8 = control<QPlainTextEdit>("Text8");
        text8->setFocus();
        if (key == Qt::Key_Menu) {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), text8->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(text8->viewport(), &event);
        } else {
            QTest::keyClick(text8, key, modifiers);
        }
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu && !QTest::qWaitForWindowExposed(menu)) qWarning("menu not shown");
        return menu;
    }
    /// The file dialog `open` shows, its filter chosen as a user does.
    QFileDialog* dialogWithFilter(const char* dialogName, const std::function<void()>& open, int filter) {
        open();
        QFileDialog* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String(dialogName) && top->isVisible()) dialog = qobject_cast<QFileDialog*>(top);
        }
        if (!dialog || dialog->nameFilters().size() <= filter) qFatal("no dialog %s with filter %d", dialogName, filter);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        types->setCurrentIndex(filter);
        emit types->activated(filter);
        emit types->textActivated(types->itemText(filter));
        return dialog;
    }
    /// Drives a file dialog opened by `open`: the filter, then a name.
    void saveThrough(const char* dialogName, const std::function<void()>& open, int filter, const QString& path) {
        QFileDialog* dialog = dialogWithFilter(dialogName, open, filter);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    }
    /// The text of the message box the next action shows, which is closed.
    QString closeNextMessage(const std::function<void()>& action) {
        QString text;
        QTimer::singleShot(0, this, [&text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->accept();
            }
        });
        action();
        return text;
    }

    QTemporaryDir m_folder;
    std::unique_ptr<FormSession> m_session;

private slots:
    void initTestCase() {
        if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
        installFontFallbacks();
        QVERIFY(installQtFrenchTexts());
        for (const char* region : {"Alsace.txt", "Aquitaine.txt"}) {
            std::ofstream(m_folder.filePath(QString::fromLatin1(region)).toStdString(), std::ios::binary) << kRegion;
        }
    }

    void init() {
        m_session = std::make_unique<FormSession>(m_folder.path().toStdString());
        m_session->show();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

    void cleanup() {
        m_session.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* top : QApplication::topLevelWidgets()) QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
    }

    // After Qt's own entries, greyed until Text8 lists something; the menu
    // key and Shift+F10 open it; the keys work from anywhere in the window.
    void text8MenuEntries() {
        QVERIFY(!m_session->mapExtensionIfLoaded());  // nothing loaded before it is asked for
        const QStringList greyed{"|", "Voir sur la carte (grisé)", "Enregistrer la liste… (grisé)"};
        QMenu* menu = openText8Menu(Qt::Key_Menu, Qt::NoModifier);
        QVERIFY(menu);
        const QStringList entries = menuEntries(*menu);
        QVERIFY2(entries.first().startsWith("Copier") && entries.mid(entries.size() - 3) == greyed, qPrintable(entries.join(", ")));
        QCOMPARE(menu->actions().constLast()->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(menu->actions().at(menu->actions().size() - 2)->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
        menu->close();
        QTest::keyClick(control<QComboBox>("Combo1"), Qt::Key_M, Qt::ControlModifier);
        QVERIFY(!map());

        search();
        menu = openText8Menu(Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(menu);
        QCOMPARE(menuEntries(*menu).mid(menu->actions().size() - 2),
                 QStringList({"Voir sur la carte", "Enregistrer la liste…"}));
        menu->close();
        QTest::keyClick(control<QComboBox>("ComboKms"), Qt::Key_M, Qt::ControlModifier);
        QVERIFY(map() && map()->isVisible());
        QVERIFY(!m_session->window().frameGeometry().intersects(map()->frameGeometry()));  // beside, not under
        QCOMPARE(map()->parentWidget(), nullptr);                                          // no owner
        QCOMPARE(map()->windowIcon().cacheKey(), window().windowIcon().cacheKey());         // the program's icon

        pick("ComboReg", 1);  // another region empties the list
        QVERIFY(!window().showMapAction()->isEnabled() && !window().saveListAction()->isEnabled());
    }

    // A new town, radius or second town redraws the open map; the same
    // window comes forward again, restored; it hides with the main window.
    void mapFollowsTheWindow() {
        search();
        window().showMapAction()->trigger();
        QWidget* shown = map();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        const struct { const char* combo; int downs; const char* title; const char* said; } steps[] = {
            {"", 0, "Carte — localités à 5 km de EXEMPLEVILLE", "3 localités dans la zone de recherche"},
            {"ComboKms", 4, "Carte — localités à 20 km de EXEMPLEVILLE", "3 localités dans la zone de recherche"},
            {"Combo2", 1, "Carte — localités à 20 km de EXEMPLEVILLE", "3 localités dans la zone de recherche"},
            {"Combo2", 4, "Carte — localités à 20 km de EXEMPLEVILLE",
             "3 localités dans la zone de recherche ; ÉCLUSE LES BAINS à 2 km"},
            {"Combo1", 1, "Carte — localités à 20 km de VOISINVILLE", "4 localités dans la zone de recherche"},
        };
        for (const auto& step : steps) {
            if (*step.combo) pick(step.combo, step.downs);
            QCOMPARE(shown->windowTitle(), QString::fromUtf8(step.title));
            QCOMPARE(spoken(), QString::fromUtf8(step.said));
        }

        // Typing over the town and the radius chooses nothing: the map, opened
        // again, still shows the list on show.
        QTest::keyClick(shown, Qt::Key_Escape);
        QTest::keyClicks(control<QComboBox>("Combo1"), QStringLiteral("AB"));
        QTest::keyClicks(control<QComboBox>("ComboKms"), QStringLiteral("9"));
        QCOMPARE(control<QComboBox>("Combo1")->currentIndex(), -1);
        window().showMapAction()->trigger();
        QCOMPARE(shown->windowTitle(), QStringLiteral("Carte — localités à 20 km de VOISINVILLE"));

        shown->setWindowState(Qt::WindowMinimized);
        window().showMapAction()->trigger();
        QCOMPARE(map(), shown);
        QVERIFY(!shown->isMinimized() && shown->isVisible());
        QTest::mouseClick(control<QPushButton>("CmdMinimise"), Qt::LeftButton);
        QVERIFY(!shown->isVisible());
        window().setWindowState(Qt::WindowNoState);
        QVERIFY(shown->isVisible());
        pick("ComboReg", 1);
        QCOMPARE(shown->windowTitle(), QStringLiteral("Carte"));
        QCOMPARE(spoken(), QStringLiteral("aucune localité"));
        QTest::keyClick(shown, Qt::Key_Return);  // presses « Fermer »
        QVERIFY(!shown->isVisible());
    }

    // The wheel zooms about the pointer, a drag pans, 0 and a double-click
    // show it all again; drawn for the screen's device pixels; its image saved.
    void mapViewAndImage() {
        search();
        window().showMapAction()->trigger();
        QWidget* view = canvas();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        for (const auto& [part, spoken] : {std::pair{"MapCanvas", "Carte des localités"},
                                           {"SaveImage", "Enregistrer l'image"}, {"CloseMap", "Fermer"}}) {
            QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(map()->findChild<QWidget*>(part));
            QCOMPARE(seen->text(QAccessible::Name), QString::fromUtf8(spoken));
            QVERIFY2(!seen->text(QAccessible::Description).isEmpty(), part);
        }
        const QImage whole = view->grab().toImage();
        QCOMPARE(whole.size(), view->size() * view->devicePixelRatioF());
        const QPointF middle(view->width() / 2.0, view->height() / 2.0);
        QWheelEvent wheel(middle, view->mapToGlobal(middle), {}, {0, 240}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &wheel);
        const QImage zoomed = view->grab().toImage();
        QVERIFY(zoomed != whole);
        QWheelEvent back(middle, view->mapToGlobal(middle), {}, {0, -240}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &back);
        QCOMPARE(view->grab().toImage(), whole);  // as far out as in: the whole map again
        QTest::keyClick(view, Qt::Key_0);
        QCOMPARE(view->grab().toImage(), whole);
        QTest::mousePress(view, Qt::LeftButton, {}, middle.toPoint());
        QTest::mouseMove(view, middle.toPoint() + QPoint(30, 10));
        QTest::mouseRelease(view, Qt::LeftButton, {}, middle.toPoint() + QPoint(30, 10));
        QVERIFY(view->grab().toImage() != whole);
        QTest::mouseDClick(view, Qt::LeftButton, {}, middle.toPoint());
        QCOMPARE(view->grab().toImage(), whole);
        // + zooms about the middle as the wheel does there; a zoomed view
        // stays zoomed when the map is resized.
        QTest::keyClick(view, Qt::Key_Plus);
        QWheelEvent notch(middle, view->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        const QImage byKey = view->grab().toImage();
        QTest::keyClick(view, Qt::Key_0);
        QCoreApplication::sendEvent(view, &notch);
        QCOMPARE(view->grab().toImage(), byKey);
        view->resize(view->width() - 40, view->height());
        const QImage resized = view->grab().toImage();
        QTest::keyClick(view, Qt::Key_0);
        QVERIFY(view->grab().toImage() != resized);

        const struct { int filter; const char* name; QByteArray starts; } images[] = {
            {0, "carte", "\x89PNG"}, {1, "carte", "<?xml"}, {2, "carte", "%PDF"}};
        const char* suffixes[] = {".png", ".svg", ".pdf"};
        for (const auto& image : images) {
            const QString path = m_folder.filePath(QString::fromLatin1(image.name));
            saveThrough("SaveImageDialog", [this] { QTest::mouseClick(map()->findChild<QPushButton*>("SaveImage"), Qt::LeftButton); },
                        image.filter, path);
            QVERIFY(readAll(path + suffixes[image.filter]).startsWith(image.starts));
        }
        // Another type chosen: the name proposed takes its suffix.
        QFileDialog* dialog = dialogWithFilter(
            "SaveImageDialog", [this] { QTest::mouseClick(map()->findChild<QPushButton*>("SaveImage"), Qt::LeftButton); }, 1);
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(),
                 QStringLiteral("Carte — localités à 5 km de EXEMPLEVILLE.svg"));
        dialog->reject();
        // The saved picture is the map itself, names and all.
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {m_folder.filePath("carte.pdf"), QStringLiteral("-")});
        if (!text.waitForFinished()) QSKIP("pdftotext is not installed");
        const QString names = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(names.contains("EXEMPLEVILLE") && names.contains("VOISINVILLE"), qPrintable(names));

        // Closed with the main window.
        window().close();
        QVERIFY(!map()->isVisible());
    }

    // Each format by its filter, read back as the tool's tests read its files.
    void savedListsReadBack() {
        search();
        const auto save = [this](int filter, const QString& stem) {
            saveThrough("SaveListDialog", [this] { window().saveListAction()->trigger(); }, filter,
                        m_folder.filePath(stem));
        };
        save(0, QStringLiteral("liste"));
        QCOMPARE(readAll(m_folder.filePath("liste.csv")).left(3), QByteArray("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(readAll(m_folder.filePath("liste.csv")).mid(3)),
                 QStringLiteral("Localité;Code postal;Code INSEE;Département;Région;Population;Latitude;"
                                "Longitude;Distance (km);Nom officiel\n"
                                "VOISINVILLE;\"67002\";\"\";\"\";Alsace;;48,510000;7,520000;1,8;\n"
                                "ÉCLUSE LES BAINS;\"67005\";\"\";\"\";Alsace;;48,520000;7,510000;2,3;\n"
                                "PRES SUR RHIN;\"67003\";\"\";\"\";Alsace;;48,530000;7,490000;3,4;\n"));

        save(1, QStringLiteral("liste"));
        const nlohmann::json read = nlohmann::json::parse(readAll(m_folder.filePath("liste.geojson")).toStdString());
        QCOMPARE(read["features"].size(), std::size_t(4));
        QVERIFY(read["features"][0]["properties"] ==
                nlohmann::json::parse(R"({"role": "centre", "nom": "EXEMPLEVILLE", "code_postal": "67001", "insee": "",
                    "departement": "", "region": "Alsace", "population": null, "distance_km": 0.0})"));
        QVERIFY(read["features"][1]["geometry"]["coordinates"] == nlohmann::json::parse("[7.52, 48.51]"));

        // KML and GPX by their filters (a GPS program reads them in the tool's tests).
        save(2, QStringLiteral("liste"));
        save(3, QStringLiteral("liste"));
        for (const auto& [saved, root] : {std::pair{"liste.kml", "<kml "}, {"liste.gpx", "<gpx "}}) {
            const QByteArray bytes = readAll(m_folder.filePath(saved));
            QVERIFY2(bytes.contains(root) && bytes.contains("<name>ÉCLUSE LES BAINS-67005</name>"), saved);
        }
    }

    // A folder that is not there, a disk that fills up: a French message, no file.
    void aFailingSaveLeavesNothing() {
        search();
        const QString missing = m_folder.filePath(QStringLiteral("absent/liste.csv"));
        QString said = closeNextMessage([&] {
            saveThrough("SaveListDialog", [this] { window().saveListAction()->trigger(); }, 0, missing);
        });
        QVERIFY2(said.startsWith(QStringLiteral("Impossible de créer")), qPrintable(said));

        QDir full(m_folder.filePath(QStringLiteral("plein")));
        QVERIFY(full.mkpath(QStringLiteral(".")));
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit tiny = old;
        tiny.rlim_cur = 64;  // the list is several times that
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &tiny);
        said = closeNextMessage([&] {
            saveThrough("SaveListDialog", [this] { window().saveListAction()->trigger(); }, 0, full.filePath("liste.csv"));
        });
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldSignal);
        QVERIFY2(said.contains(QStringLiteral("disque plein")), qPrintable(said));
        QCOMPARE(full.entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());

        // A picture that could not be drawn, a folder in the file's place: said, nothing written.
        QVERIFY(writeWhole(full.filePath("carte.png"), QByteArray()).contains(QStringLiteral("n'a pas pu être préparé")));
        QVERIFY(writeWhole(full.path(), "x").endsWith(QStringLiteral("est un dossier.")));
        QCOMPARE(full.entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    }
};

QTEST_MAIN(MapTest)
#include "map_test.moc"

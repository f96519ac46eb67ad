#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QByteArray>
#include <QStyleFactory>

#include "core/region_file.h"
#include "platform/font_fallback.h"
#include "platform/qt_translations.h"
#include "view/form_session.h"

namespace {

constexpr const char* kHelp =
    "Usage : localyx [--help | --version]\n"
    "Localyx, aide à la prospection commerciale : choisissez une région, une localité et\n"
    "un rayon de 5 à 25 km ; la fenêtre liste les localités voisines, donne la distance\n"
    "à vol d'oiseau jusqu'à une seconde localité et ouvre la carte ou l'itinéraire\n"
    "ViaMichelin dans le navigateur. Le menu de la liste (clic droit) la montre sur\n"
    "une carte (Ctrl+M) et l'enregistre en CSV, GeoJSON, KML ou GPX (Ctrl+S).\n"
    "\n"
    "  -h, --help     affiche cette aide et quitte\n"
    "  --version      affiche la version et quitte\n"
    "\n"
    "Les fichiers des régions sont lus dans le dossier du programme.\n"
    "Sans affichage graphique, voir localyx-query.\n";

constexpr const char* kNoDisplay =
    "localyx : aucun affichage graphique trouvé ; lancez Localyx depuis une session graphique "
    "(X11 ou Wayland : variable DISPLAY ou WAYLAND_DISPLAY), ou utilisez localyx-query.\n";

// Qt's messages while it connects to the display are held back: when it
// finds none, its English messages and abort give way to one French line and
// exit code 1; otherwise they go out as usual.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler g_defaultHandler = nullptr;
std::vector<HeldMessage> g_held;

void holdStartMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    g_held.push_back({type, QByteArray(context.category ? context.category : "default"), text});
}

void releaseStartMessages() {
    qInstallMessageHandler(g_defaultHandler);
    for (const HeldMessage& held : g_held) {
        g_defaultHandler(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.constData()), held.text);
    }
    g_held.clear();
}

}  // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("localyx " LOCALYX_VERSION);
            return 0;
        }
    }

    // Reading the font configuration is the longest step of start-up that
    // needs no display: it runs while Qt connects to one.
    std::thread fontConfiguration([] { FcInit(); });
    g_defaultHandler = qInstallMessageHandler(holdStartMessages);
    QApplication app(argc, argv);
    fontConfiguration.join();
    releaseStartMessages();

    QApplication::setApplicationName(QStringLiteral("Localyx"));
    // Wayland ties the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.localyx.Localyx"));
    QApplication::setApplicationVersion(QStringLiteral(LOCALYX_VERSION));
    // The window draws its own colours on a fixed layout: one style for every
    // desktop keeps it looking as designed.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    localyx::installFontFallbacks();
    localyx::installQtFrenchTexts();

    // The folder as the system names it: a name that is not UTF-8 would not
    // survive a trip through QString.
    localyx::FormSession session(localyx::executableDir());
    QApplication::setWindowIcon(session.window().windowIcon());
    session.show();
    return QApplication::exec();
}

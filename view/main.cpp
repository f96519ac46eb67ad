#include <QApplication>
#include <QDir>
#include <QStyleFactory>

#include "platform/font_fallback.h"
#include "view/form_session.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Localyx"));
    QApplication::setApplicationVersion(QStringLiteral(LOCALYX_VERSION));
    // The window draws its own colours on a fixed layout: one style for every
    // desktop keeps it looking as designed.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    localyx::installFontFallbacks();

    const std::filesystem::path programDir = QDir(QCoreApplication::applicationDirPath()).filesystemAbsolutePath();
    localyx::FormSession session(programDir);
    QApplication::setWindowIcon(session.window().windowIcon());
    session.show();
    return QApplication::exec();
}

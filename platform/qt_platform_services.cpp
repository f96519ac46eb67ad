#include "platform/qt_platform_services.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include "about/about_box.h"
#include "core/web_address.h"
#include "platform/drop_down_depth.h"

namespace localyx {

QtPlatformServices::QtPlatformServices(QWidget& window, ComboFinder combos)
    : m_window(window),
      m_combos(std::move(combos)),
      m_openBrowser([](const QUrl& url) { QDesktopServices::openUrl(url); }),
      m_quit([] { QCoreApplication::exit(0); }),
      m_dragger(window) {}

QtPlatformServices::~QtPlatformServices() { delete m_about.data(); }

AboutBox* QtPlatformServices::aboutBox() const { return m_about.data(); }

void QtPlatformServices::openInBrowser(const std::string& rawAddress) {
    // The browser is started detached and its fate is not ours to report.
    const QUrl url(QString::fromStdString(toBrowserUrl(rawAddress)), QUrl::StrictMode);
    if (url.isValid() && m_openBrowser) m_openBrowser(url);
}

void QtPlatformServices::makeTopmost() {
    const Qt::WindowFlags flags = m_window.windowFlags() | Qt::WindowStaysOnTopHint;
    if (flags == m_window.windowFlags()) return;
    // QWidget::setWindowFlags would rebuild the native window and lose the
    // press that is about to start the drag: the flag goes to the existing
    // native window instead, and the widget is told without being rebuilt.
    m_window.overrideWindowFlags(flags);
    if (QWindow* handle = m_window.windowHandle()) handle->setFlags(flags);
}

void QtPlatformServices::startWindowDrag() {
    QWindow* handle = m_window.windowHandle();
    if (handle && handle->startSystemMove()) return;
    m_dragger.begin(QCursor::pos(m_window.screen()));
}

void QtPlatformServices::setDropDownHeight(ComboId combo, int pixels) {
    if (!m_combos) return;
    if (QComboBox* box = m_combos(combo)) DropDownDepth::apply(*box, pixels);
}

void QtPlatformServices::minimise() { m_window.setWindowState(m_window.windowState() | Qt::WindowMinimized); }

void QtPlatformServices::quit() {
    if (m_quit) m_quit();
}

void QtPlatformServices::showAbout() {
    if (!m_about) {
        // No parent: the About box is a window of its own, not owned by the
        // main window, so it neither follows it nor stays above it.
        auto* box = new AboutBox(m_aboutIcon);
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QDialog::finished, box, [this, box] {
            if (m_about == box) m_about = nullptr;
        });
        m_about = box;
    }
    // Minimised from its own title bar, it comes back as it was left.
    m_about->setWindowState(m_about->windowState() & ~Qt::WindowMinimized);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void QtPlatformServices::hideAbout() {
    if (m_about && m_about->isVisible()) m_about->hide();
}

}  // namespace localyx

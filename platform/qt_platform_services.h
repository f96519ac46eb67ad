#pragma once

#include <functional>
#include <string>

#include <QPixmap>
#include <QPointer>

#include "app/platform_services.h"
#include "platform/window_dragger.h"

class QComboBox;
class QUrl;
class QWidget;

namespace localyx {

class AboutBox;

/// The window system's side of the main window's logic, on Qt.
class QtPlatformServices : public PlatformServices {
public:
    using BrowserOpener = std::function<void(const QUrl&)>;
    using ComboFinder = std::function<QComboBox*(ComboId)>;

    /// @param window  the main window
    /// @param combos  finds the window's visible combo boxes (nullptr for
    ///                the hidden ones)
    QtPlatformServices(QWidget& window, ComboFinder combos);
    ~QtPlatformServices() override;

    QtPlatformServices(const QtPlatformServices&) = delete;
    QtPlatformServices& operator=(const QtPlatformServices&) = delete;

    /// Replaces the default browser (tests capture the addresses).
    void setBrowserOpener(BrowserOpener opener) { m_openBrowser = std::move(opener); }
    /// Replaces the end of the program (tests keep their event loop).
    void setQuitAction(std::function<void()> quit) { m_quit = std::move(quit); }
    /// The picture shown by the About box.
    void setAboutIcon(const QPixmap& icon) { m_aboutIcon = icon; }

    /// The open About box, hidden or not; nullptr when none is loaded.
    AboutBox* aboutBox() const;
    const WindowDragger& dragger() const { return m_dragger; }

    void openInBrowser(const std::string& rawAddress) override;
    void makeTopmost() override;
    void startWindowDrag() override;
    void setDropDownHeight(ComboId combo, int pixels) override;
    void minimise() override;
    void quit() override;
    void showAbout() override;
    void hideAbout() override;

private:
    QWidget& m_window;
    ComboFinder m_combos;
    BrowserOpener m_openBrowser;
    std::function<void()> m_quit;
    QPixmap m_aboutIcon;
    QPointer<AboutBox> m_about;
    WindowDragger m_dragger;
};

}  // namespace localyx

#pragma once

#include <filesystem>
#include <memory>

#include "app/form1.h"
#include "view/map_window/map_extension.h"
#include "platform/qt_platform_services.h"
#include "view/main_window.h"

namespace localyx {

/// The main window, its platform services and its logic, wired together and
/// loaded (Form_Load has run), but not yet shown.
class FormSession {
public:
    /// @param programDir  the folder where the region files are looked for
    explicit FormSession(const std::filesystem::path& programDir);
    ~FormSession();

    FormSession(const FormSession&) = delete;
    FormSession& operator=(const FormSession&) = delete;

    /// Centres the window on its screen and shows it.
    void show();

    MainWindow& window() { return m_window; }
    QtPlatformServices& platform() { return m_platform; }
    Form1& form() { return m_form; }
    /// The map and the list files, loaded on first use; nullptr when the
    /// module is missing (the user has been told).
    MapExtension* mapExtension();
    /// nullptr until the map or a list file was first asked for.
    MapExtension* mapExtensionIfLoaded() const { return m_map.get(); }

private:
    MainWindow m_window;
    QtPlatformServices m_platform;
    Form1 m_form;
    std::filesystem::path m_programDir;
    std::unique_ptr<MapExtension> m_map;
};

}  // namespace localyx

#include "view/form_session.h"

#include <QApplication>
#include <QMessageBox>

#include "view/choice_combo.h"
#include "view/map_loader.h"
#include "view/pictures.h"

namespace localyx {

FormSession::FormSession(const std::filesystem::path& programDir)
    : m_platform(m_window, [this](ComboId id) -> QComboBox* { return m_window.combo(id); }),
      m_form(m_window, m_platform, programDir),
      m_programDir(programDir) {
    // The window's own icon holds the picture at the screen's scale already.
    const qreal scale = qApp->devicePixelRatio();
    m_platform.setAboutIcon(m_window.windowIcon().pixmap(QSize(32, 32), scale));
    m_window.attach(m_form);
    m_form.Form_Load();
    QObject::connect(&m_window, &MainWindow::mapRequested, &m_window, [this] {
        if (MapExtension* map = mapExtension()) map->showMap();
    });
    QObject::connect(&m_window, &MainWindow::listSaveRequested, &m_window, [this] {
        if (MapExtension* map = mapExtension()) map->saveList();
    });
    QObject::connect(&m_window, &MainWindow::answerChanged, &m_window, [this] {
        if (m_map) m_map->answerChanged();
    });
}

// The map goes with the program; the logic goes next: the window must not
// call it while it closes.
FormSession::~FormSession() {
    m_map.reset();
    m_window.detach();
}

MapExtension* FormSession::mapExtension() {
    if (!m_map) {
        QString failure;
        m_map = loadMapExtension(m_window, [this] { return m_window.answer(); }, m_programDir, failure);
        if (!m_map) QMessageBox::warning(&m_window, QStringLiteral("Localyx"), failure);
    }
    return m_map.get();
}

void FormSession::show() {
    m_window.centreOnScreen();
    m_window.show();
    m_window.activateWindow();
}

}  // namespace localyx

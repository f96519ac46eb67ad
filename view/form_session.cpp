#include "view/form_session.h"

#include <QApplication>

#include "view/choice_combo.h"
#include "view/pictures.h"

namespace localyx {

FormSession::FormSession(const std::filesystem::path& programDir)
    : m_platform(m_window, [this](ComboId id) -> QComboBox* { return m_window.combo(id); }),
      m_form(m_window, m_platform, programDir) {
    m_platform.setAboutIcon(mapPinPicture(qApp->devicePixelRatio()));
    m_window.attach(m_form);
    m_form.Form_Load();
    QObject::connect(&m_window, &MainWindow::mapRequested, &m_window, [this] { companion().showMap(); });
    QObject::connect(&m_window, &MainWindow::listSaveRequested, &m_window, [this] { companion().saveList(); });
    QObject::connect(&m_window, &MainWindow::answerChanged, &m_window, [this] {
        if (m_companion) m_companion->answerChanged();
    });
}

// The map goes with the program; the logic goes next: the window must not
// call it while it closes.
FormSession::~FormSession() {
    m_companion.reset();
    m_window.detach();
}

MapCompanion& FormSession::companion() {
    if (!m_companion) m_companion = std::make_unique<MapCompanion>(m_window, [this] { return m_window.answer(); });
    return *m_companion;
}

void FormSession::show() {
    m_window.centreOnScreen();
    m_window.show();
    m_window.activateWindow();
}

}  // namespace localyx

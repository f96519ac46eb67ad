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
}

// The logic goes first: the window must not call it while it closes.
FormSession::~FormSession() { m_window.detach(); }

void FormSession::show() {
    m_window.centreOnScreen();
    m_window.show();
    m_window.activateWindow();
}

}  // namespace localyx

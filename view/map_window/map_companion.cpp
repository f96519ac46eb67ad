#include "view/map_window/map_companion.h"

#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "view/map_window/list_file.h"
#include "view/map_window/map_window.h"
#include "core/render/borders.h"

namespace localyx {

namespace {

constexpr int kGap = 8;
constexpr int kPreferredWidth = 640;
constexpr int kNarrowest = 320;

}  // namespace

MapCompanion::MapCompanion(QWidget& mainWindow, AnswerSource answer, std::filesystem::path programDir)
    : m_main(mainWindow), m_answer(std::move(answer)), m_programDir(std::move(programDir)) {
    m_main.installEventFilter(this);
}

MapCompanion::~MapCompanion() {
    m_main.removeEventFilter(this);
    delete m_map.data();
}

QWidget* MapCompanion::mapWindow() const { return m_map.data(); }

void MapCompanion::showMap() {
    const bool opening = !m_map || !m_map->isVisible();
    if (!m_map) {
        // Missing borders are not drawn: the map is still of use without them.
        m_map = new MapWindow(std::make_shared<const render::Borders>(render::loadBorders(m_programDir)));
        m_map->setWindowIcon(m_main.windowIcon());
    }
    if (opening) {
        m_map->setAnswer(m_answer());
        place();
    }
    // The main window, once pressed, stays above the others: so does its
    // map, which would otherwise be useless beneath it.
    const bool onTop = m_main.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (m_map->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        m_map->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
    m_hiddenWithMain = false;
    m_map->setWindowState(m_map->windowState() & ~Qt::WindowMinimized);
    m_map->show();
    m_map->raise();
    m_map->activateWindow();
    if (opening) {
        // The window manager tells the frame's size only once the window is
        // shown: placed again then, the map stays clear of the main window.
        QTimer::singleShot(150, m_map, [this] {
            if (m_map && m_map->frameGeometry().size() != m_map->geometry().size()) place();
        });
    }
}

void MapCompanion::saveList() { askAndSaveList(&m_main, m_answer()); }

void MapCompanion::answerChanged() {
    if (m_map && (m_map->isVisible() || m_hiddenWithMain)) m_map->setAnswer(m_answer());
}

void MapCompanion::place() {
    const QScreen* screen = m_main.screen() ? m_main.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect main = m_main.frameGeometry();
    // The frame the window manager adds, as far as it is known yet.
    const QSize frame = m_map->frameGeometry().size() - m_map->geometry().size();
    const int rightRoom = area.right() - main.right() - kGap;
    const int leftRoom = main.left() - area.left() - kGap;
    const bool right = rightRoom >= kPreferredWidth || rightRoom >= leftRoom;
    const int room = right ? rightRoom : leftRoom;
    const int outerWidth = std::clamp(room, kNarrowest, kPreferredWidth);
    const int outerHeight = std::min(std::max(main.height(), 480), area.height());
    m_map->resize(outerWidth - frame.width(), outerHeight - frame.height());
    const int x = right ? main.right() + 1 + kGap : main.left() - kGap - outerWidth;
    const int y = std::clamp(main.top(), area.top(), std::max(area.top(), area.bottom() + 1 - outerHeight));
    m_map->move(x, y);
}

bool MapCompanion::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_main && m_map) {
        if (event->type() == QEvent::WindowStateChange) {
            if (m_main.isMinimized() && m_map->isVisible()) {
                m_map->hide();
                m_hiddenWithMain = true;
            } else if (!m_main.isMinimized() && m_hiddenWithMain) {
                m_hiddenWithMain = false;
                m_map->show();
            }
        } else if (event->type() == QEvent::Close) {
            m_map->close();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace localyx

extern "C" __attribute__((visibility("default"))) localyx::MapExtension* localyx_make_map_extension(
    QWidget* mainWindow, const localyx::MapExtension::AnswerSource* answer, const std::filesystem::path* programDir) {
    return new localyx::MapCompanion(*mainWindow, *answer, *programDir);
}

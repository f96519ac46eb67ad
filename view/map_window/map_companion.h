#pragma once

#include <functional>
#include <filesystem>
#include <memory>

#include <QObject>
#include <QPointer>

#include "app/search_answer.h"
#include "view/map_window/map_extension.h"

class QWidget;

namespace localyx {

class MapWindow;

/// The main window's map and list files, made on first use. The map is a
/// window of its own like the About box (no owner): one at a time, beside
/// the main window, hidden while the main window is minimised, closed with it.
class MapCompanion : public QObject, public MapExtension {
    Q_OBJECT
public:
    MapCompanion(QWidget& mainWindow, AnswerSource answer, std::filesystem::path programDir);
    ~MapCompanion() override;

    void showMap() override;
    void saveList() override;
    void answerChanged() override;
    QWidget* mapWindow() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QWidget& m_main;
    AnswerSource m_answer;
    std::filesystem::path m_programDir;
    QPointer<MapWindow> m_map;
    bool m_hiddenWithMain = false;  ///< hidden because the main window was minimised
};

}  // namespace localyx

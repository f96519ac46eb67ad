#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QPointer>

#include "app/search_answer.h"

class QWidget;

namespace localyx {

class MapWindow;

/// The main window's map and list files, made on first use. The map is a
/// window of its own like the About box (no owner): one at a time, beside
/// the main window, hidden while the main window is minimised, closed with it.
class MapCompanion : public QObject {
    Q_OBJECT
public:
    using AnswerSource = std::function<SearchAnswer()>;

    MapCompanion(QWidget& mainWindow, AnswerSource answer);
    ~MapCompanion() override;

    /// « Voir sur la carte »: opens the map, or brings it forward, restored.
    void showMap();
    /// « Enregistrer la liste… ».
    void saveList();
    /// The main window's answer changed: an open map follows it.
    void answerChanged();

    /// The map window, shown or not; nullptr before the first showMap.
    MapWindow* mapWindow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QWidget& m_main;
    AnswerSource m_answer;
    QPointer<MapWindow> m_map;
    bool m_hiddenWithMain = false;  ///< hidden because the main window was minimised
};

}  // namespace localyx

#pragma once

#include <memory>

#include <QDialog>

#include "app/search_answer.h"
#include "core/render/borders.h"

class QPushButton;

namespace localyx {

class MapCanvas;

/// The map of the search, in a window of its own beside the main window.
/// Escape closes it; Enter presses the focused button.
class MapWindow : public QDialog {
    Q_OBJECT
public:
    explicit MapWindow(std::shared_ptr<const render::Borders> borders);

    /// Redraws for a new answer, the whole search in view.
    void setAnswer(const SearchAnswer& answer);
    MapCanvas& canvas() const { return *m_canvas; }

    /// « Carte — localités à N km de VILLE », or « Carte » before a search.
    static QString titleOf(const SearchAnswer& answer);

private:
    void askAndSaveImage();

    MapCanvas* m_canvas = nullptr;
    QPushButton* m_saveImage = nullptr;
    QPushButton* m_close = nullptr;
};

}  // namespace localyx

#pragma once

#include <string>

#include "app/form_view.h"

namespace localyx {

/// What the window's logic asks of the operating system.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    /// Opens a raw address in the default browser; does not wait, reports
    /// nothing on failure.
    virtual void openInBrowser(const std::string& rawAddress) = 0;

    /// Keeps the main window above all other windows for the rest of the run.
    virtual void makeTopmost() = 0;
    /// Moves the whole window with the pointer until the left button is up.
    virtual void startWindowDrag() = 0;

    /// Depth of a combo's dropped-down list, edit part included, in pixels.
    virtual void setDropDownHeight(ComboId combo, int pixels) = 0;

    virtual void minimise() = 0;
    /// Ends the program at once.
    virtual void quit() = 0;

    /// Shows the About box, creating it if needed; only brings an open one
    /// forward.
    virtual void showAbout() = 0;
    /// Hides an open About box without closing it; nothing when none is open.
    virtual void hideAbout() = 0;
};

}  // namespace localyx

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace localyx {

/// The combo boxes of the main window; Combo3 and Combo4 are hidden
/// companions of Combo1 and Combo2 holding coordinate texts.
enum class ComboId { ComboReg, Combo1, Combo2, Combo3, Combo4, ComboKms };

/// The labels the logic writes.
enum class LabelId { LblRegions, Labelinfo, result2, LblNbrLoc };

/// The buttons the logic enables or disables.
enum class ButtonId { CmdCarte, CmdItineraire };

/// Text8 is the visible result box; the others are hidden work fields.
enum class TextId { Text8, TxtURLMich, TxtURLMich2, TxtDepart0, TxtArrivee0, TxtDepart, TxtArrivee };

enum class TimerId { Timer1, Timer2 };

enum class MousePointer { Default, Hourglass };

/// 0xRRGGBB.
using Rgb = std::uint32_t;
inline constexpr Rgb kBlack = 0x000000;

/// What the window's logic reads and writes of the window, and nothing more.
/// All texts are UTF-8. List positions are 0-based, -1 meaning no choice.
/// Writing a combo's list index never runs a handler: only the user's own
/// choices do.
class FormView {
public:
    virtual ~FormView() = default;

    virtual std::string comboText(ComboId combo) const = 0;
    virtual void setComboText(ComboId combo, const std::string& text) = 0;
    virtual int comboListIndex(ComboId combo) const = 0;
    virtual void setComboListIndex(ComboId combo, int index) = 0;
    virtual int comboListCount(ComboId combo) const = 0;
    /// The item at a position; empty text outside the list.
    virtual std::string comboItem(ComboId combo, int index) const = 0;
    virtual void addComboItem(ComboId combo, const std::string& item) = 0;
    /// The same as addComboItem for each item in turn, in one go.
    virtual void addComboItems(ComboId combo, const std::vector<std::string>& items) = 0;
    virtual void clearCombo(ComboId combo) = 0;
    virtual void setComboForeColor(ComboId combo, Rgb colour) = 0;

    virtual void setLabelCaption(LabelId label, const std::string& caption) = 0;
    virtual void setLabelVisible(LabelId label, bool visible) = 0;

    virtual void setButtonEnabled(ButtonId button, bool enabled) = 0;

    virtual std::string text(TextId box) const = 0;
    virtual void setText(TextId box, const std::string& text) = 0;
    /// Inserts at the caret, replacing the selection (the caret stays at the
    /// end of a field that is only ever appended to).
    virtual void insertText(TextId box, const std::string& text) = 0;

    virtual void setTimerEnabled(TimerId timer, bool enabled) = 0;
    virtual bool timerEnabled(TimerId timer) const = 0;

    virtual void setMousePointer(MousePointer pointer) = 0;

    /// Lets the window repaint once. User input stays queued until the
    /// running handler ends, so no second load or search can start inside it.
    virtual void processPendingEvents() = 0;
};

}  // namespace localyx

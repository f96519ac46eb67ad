#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/form_view.h"
#include "app/platform_services.h"

namespace localyx::testing {

/// A window without a display: every control is plain state, starting as the
/// real window starts. Timers are flags; a test ticks them by calling the
/// tick handlers (see tickUntilIdle).
class FakeView : public FormView {
public:
    struct Combo {
        std::string text;
        std::vector<std::string> items;
        int index = -1;
        Rgb foreColor = kBlack;
    };
    struct Label {
        std::string caption;
        bool visible = true;
    };

    FakeView();

    // FormView
    std::string comboText(ComboId combo) const override;
    void setComboText(ComboId combo, const std::string& text) override;
    int comboListIndex(ComboId combo) const override;
    void setComboListIndex(ComboId combo, int index) override;
    int comboListCount(ComboId combo) const override;
    std::string comboItem(ComboId combo, int index) const override;
    void addComboItem(ComboId combo, const std::string& item) override;
    void addComboItems(ComboId combo, const std::vector<std::string>& items) override;
    void clearCombo(ComboId combo) override;
    void setComboForeColor(ComboId combo, Rgb colour) override;
    void setLabelCaption(LabelId label, const std::string& caption) override;
    void setLabelVisible(LabelId label, bool visible) override;
    void setButtonEnabled(ButtonId button, bool enabled) override;
    std::string text(TextId box) const override;
    void setText(TextId box, const std::string& text) override;
    void insertText(TextId box, const std::string& text) override;
    void setTimerEnabled(TimerId timer, bool enabled) override;
    bool timerEnabled(TimerId timer) const override;
    void setMousePointer(MousePointer pointer) override;
    void processPendingEvents() override;

    // What a test reads.
    const Combo& combo(ComboId id) const { return m_combos.at(id); }
    const std::vector<std::string>& items(ComboId id) const { return m_combos.at(id).items; }
    std::string caption(LabelId id) const { return m_labels.at(id).caption; }
    bool visible(LabelId id) const { return m_labels.at(id).visible; }
    bool enabled(ButtonId id) const { return m_buttons.at(id); }
    MousePointer mousePointer() const { return m_pointer; }
    int pendingEventRounds() const { return m_pendingEventRounds; }

    /// The user's own choice in a list: the item becomes the combo's text and
    /// selection. Runs no handler (see pick()).
    void select(ComboId id, int index);

    /// Runs inside processPendingEvents, standing for whatever the window
    /// would handle there (a repaint, or a click that slipped through).
    std::function<void()> onPendingEvents;

private:
    Combo& comboRef(ComboId id) { return m_combos.at(id); }

    std::map<ComboId, Combo> m_combos;
    std::map<LabelId, Label> m_labels;
    std::map<ButtonId, bool> m_buttons;
    std::map<TextId, std::string> m_texts;
    std::map<TimerId, bool> m_timers;
    MousePointer m_pointer = MousePointer::Default;
    int m_pendingEventRounds = 0;
};

/// The operating system as seen by the window: every request is recorded.
class FakePlatform : public PlatformServices {
public:
    void openInBrowser(const std::string& rawAddress) override { opened.push_back(rawAddress); }
    void makeTopmost() override { ++topmostCalls; }
    void startWindowDrag() override { ++dragCalls; }
    void setDropDownHeight(ComboId combo, int pixels) override { dropDownHeights.emplace_back(combo, pixels); }
    void minimise() override { ++minimiseCalls; }
    void quit() override { ++quitCalls; }
    void showAbout() override { ++showAboutCalls; }
    void hideAbout() override { ++hideAboutCalls; }

    std::vector<std::string> opened;
    std::vector<std::pair<ComboId, int>> dropDownHeights;
    int topmostCalls = 0;
    int dragCalls = 0;
    int minimiseCalls = 0;
    int quitCalls = 0;
    int showAboutCalls = 0;
    int hideAboutCalls = 0;
};

/// The user picks the item at index in a list, then the list's click handler
/// runs, as the real window does.
void pick(Form1& form, FakeView& view, ComboId combo, int index);

/// Ticks whichever timer is on, one tick at a time, until both are off or
/// maxTicks ticks have passed. @return the number of ticks.
int tickUntilIdle(Form1& form, FakeView& view, int maxTicks = 100000);

}  // namespace localyx::testing

#pragma once

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/form_view.h"
#include "app/initial_state.h"
#include "app/platform_services.h"
#include "core/region_catalogue.h"

namespace localyx::testing {

/// A window without a display: every control is plain state, the lists
/// starting as the real window's do. Timers are flags: see tickUntilIdle.
class FakeView : public FormView {
public:
    struct Combo { std::string text; std::vector<std::string> items; int index = -1; };

    FakeView() {
        for (const RegionEntry& r : regionCatalogue()) addComboItem(ComboId::ComboReg, std::string(r.displayItem));
        for (std::string_view item : kRadiusItems) addComboItem(ComboId::ComboKms, std::string(item));
    }

    std::string comboText(ComboId id) const override { return m_combos[at(id)].text; }
    void setComboText(ComboId id, const std::string& text) override { m_combos[at(id)].text = text; }
    int comboListIndex(ComboId id) const override { return m_combos[at(id)].index; }
    void setComboListIndex(ComboId id, int index) override {
        if (index < -1 || index >= comboListCount(id)) return;
        m_combos[at(id)].index = index;
        m_combos[at(id)].text = comboItem(id, index);  // as an editable combo: the text follows the selection
    }
    int comboListCount(ComboId id) const override { return static_cast<int>(items(id).size()); }
    std::string comboItem(ComboId id, int index) const override {
        return index >= 0 && index < comboListCount(id) ? items(id)[static_cast<std::size_t>(index)] : "";
    }
    void addComboItem(ComboId id, const std::string& item) override { m_combos[at(id)].items.push_back(item); }
    void addComboItems(ComboId id, const std::vector<std::string>& added) override {
        for (const std::string& item : added) addComboItem(id, item);
    }
    void clearCombo(ComboId id) override { m_combos[at(id)] = {}; }
    void setComboForeColor(ComboId, Rgb) override {}
    void setLabelCaption(LabelId id, const std::string& caption) override { m_captions[at(id)] = caption; }
    void setLabelVisible(LabelId id, bool visible) override { m_visible[at(id)] = visible; }
    void setButtonEnabled(ButtonId id, bool enabled) override { m_enabled[at(id)] = enabled; }
    std::string text(TextId id) const override { return m_texts[at(id)]; }
    void setText(TextId id, const std::string& text) override { m_texts[at(id)] = text; }
    void insertText(TextId id, const std::string& text) override { m_texts[at(id)] += text; }
    void setTimerEnabled(TimerId id, bool enabled) override { m_timers[at(id)] = enabled; }
    bool timerEnabled(TimerId id) const override { return m_timers[at(id)]; }
    void setMousePointer(MousePointer pointer) override { m_pointer = pointer; }
    void processPendingEvents() override { if (onPendingEvents) onPendingEvents(); }

    const std::vector<std::string>& items(ComboId id) const { return m_combos[at(id)].items; }
    std::string caption(LabelId id) const { return m_captions[at(id)]; }
    bool visible(LabelId id) const { return m_visible[at(id)]; }
    bool enabled(ButtonId id) const { return m_enabled[at(id)]; }
    MousePointer mousePointer() const { return m_pointer; }

    /// The user's own choice in a list, without its handler (see pick()).
    void select(ComboId id, int index) { setComboListIndex(id, index); }

    /// Stands for whatever the window handles in processPendingEvents (a
    /// repaint, or a click that slipped through).
    std::function<void()> onPendingEvents;

private:
    template <class Id>
    static std::size_t at(Id id) { return static_cast<std::size_t>(id); }

    std::array<Combo, 6> m_combos;
    std::array<std::string, 4> m_captions;
    std::array<bool, 4> m_visible{true, false, true, true};  // Labelinfo starts hidden
    std::array<bool, 2> m_enabled{};
    std::array<std::string, 7> m_texts;
    std::array<bool, 2> m_timers{};
    MousePointer m_pointer = MousePointer::Default;
};

/// The operating system as seen by the window: every request is recorded.
class FakePlatform : public PlatformServices {
public:
    void openInBrowser(const std::string& rawAddress) override { opened.push_back(rawAddress); }
    void makeTopmost() override { calls.emplace_back("topmost"); }
    void startWindowDrag() override { calls.emplace_back("drag"); }
    void setDropDownHeight(ComboId id, int pixels) override { dropDownHeights.emplace_back(id, pixels); }
    void minimise() override { calls.emplace_back("minimise"); }
    void quit() override { calls.emplace_back("quit"); }
    void showAbout() override { calls.emplace_back("showAbout"); }
    void hideAbout() override { calls.emplace_back("hideAbout"); }

    std::vector<std::string> opened;  ///< raw addresses, in order
    std::vector<std::string> calls;   ///< the other requests, in order
    std::vector<std::pair<ComboId, int>> dropDownHeights;
};

/// The user picks the item at index in a list, then the list's click handler runs.
inline void pick(Form1& form, FakeView& view, ComboId combo, int index) {
    view.select(combo, index);
    if (combo == ComboId::ComboReg) form.ComboReg_Click();
    if (combo == ComboId::Combo1) form.Combo1_Click();
    if (combo == ComboId::Combo2) form.Combo2_Click();
    if (combo == ComboId::ComboKms) form.ComboKms_Click();
}

/// Ticks whichever timer is on until both are off or maxTicks have passed;
/// returns the number of ticks.
inline int tickUntilIdle(Form1& form, FakeView& view, int maxTicks = 100000) {
    int ticks = 0;
    for (; ticks < maxTicks && (view.timerEnabled(TimerId::Timer1) || view.timerEnabled(TimerId::Timer2)); ++ticks) {
        view.timerEnabled(TimerId::Timer1) ? form.Timer1_Timer() : form.Timer2_Timer();
    }
    return ticks;
}

}  // namespace localyx::testing

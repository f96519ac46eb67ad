#include "tests/app/fake_view.h"

#include <string_view>

#include "app/initial_state.h"
#include "core/region_catalogue.h"

namespace localyx::testing {

FakeView::FakeView() {
    Combo reg;
    reg.text = std::string(kComboRegPrompt);
    for (const RegionEntry& entry : regionCatalogue()) reg.items.emplace_back(entry.displayItem);
    m_combos[ComboId::ComboReg] = reg;
    m_combos[ComboId::Combo1].text = std::string(kCombo1Prompt);
    m_combos[ComboId::Combo2].text = std::string(kCombo2Prompt);
    m_combos[ComboId::Combo3].text = std::string(kCombo3Text);
    m_combos[ComboId::Combo4].text = std::string(kCombo4Text);
    Combo kms;
    kms.text = std::string(kRadiusText);
    for (std::string_view item : kRadiusItems) kms.items.emplace_back(item);
    m_combos[ComboId::ComboKms] = kms;

    m_labels[LabelId::LblRegions] = {};
    m_labels[LabelId::Labelinfo] = {std::string(kLabelinfoInitial), false};
    m_labels[LabelId::result2] = {};
    m_labels[LabelId::LblNbrLoc] = {};

    m_buttons[ButtonId::CmdCarte] = false;
    m_buttons[ButtonId::CmdItineraire] = false;

    for (TextId id : {TextId::Text8, TextId::TxtURLMich, TextId::TxtURLMich2, TextId::TxtDepart0,
                      TextId::TxtArrivee0, TextId::TxtDepart, TextId::TxtArrivee}) {
        m_texts[id] = {};
    }
    m_timers[TimerId::Timer1] = false;
    m_timers[TimerId::Timer2] = false;
}

std::string FakeView::comboText(ComboId combo) const { return m_combos.at(combo).text; }

void FakeView::setComboText(ComboId combo, const std::string& text) { comboRef(combo).text = text; }

int FakeView::comboListIndex(ComboId combo) const { return m_combos.at(combo).index; }

void FakeView::setComboListIndex(ComboId combo, int index) {
    Combo& c = comboRef(combo);
    if (index < -1 || index >= static_cast<int>(c.items.size())) return;
    c.index = index;
    // As an editable combo does: the text follows the selection, and no
    // selection leaves an empty text part.
    c.text = index >= 0 ? c.items[static_cast<std::size_t>(index)] : std::string();
}

int FakeView::comboListCount(ComboId combo) const { return static_cast<int>(m_combos.at(combo).items.size()); }

std::string FakeView::comboItem(ComboId combo, int index) const {
    const Combo& c = m_combos.at(combo);
    if (index < 0 || index >= static_cast<int>(c.items.size())) return {};
    return c.items[static_cast<std::size_t>(index)];
}

void FakeView::addComboItem(ComboId combo, const std::string& item) { comboRef(combo).items.push_back(item); }

void FakeView::addComboItems(ComboId combo, const std::vector<std::string>& items) {
    Combo& c = comboRef(combo);
    c.items.insert(c.items.end(), items.begin(), items.end());
}

void FakeView::clearCombo(ComboId combo) {
    Combo& c = comboRef(combo);
    c.items.clear();
    c.index = -1;
    c.text.clear();
}

void FakeView::setComboForeColor(ComboId combo, Rgb colour) { comboRef(combo).foreColor = colour; }

void FakeView::setLabelCaption(LabelId label, const std::string& caption) { m_labels.at(label).caption = caption; }

void FakeView::setLabelVisible(LabelId label, bool visible) { m_labels.at(label).visible = visible; }

void FakeView::setButtonEnabled(ButtonId button, bool enabled) { m_buttons.at(button) = enabled; }

std::string FakeView::text(TextId box) const { return m_texts.at(box); }

void FakeView::setText(TextId box, const std::string& text) { m_texts.at(box) = text; }

void FakeView::insertText(TextId box, const std::string& text) { m_texts.at(box) += text; }

void FakeView::setTimerEnabled(TimerId timer, bool enabled) { m_timers.at(timer) = enabled; }

bool FakeView::timerEnabled(TimerId timer) const { return m_timers.at(timer); }

void FakeView::setMousePointer(MousePointer pointer) { m_pointer = pointer; }

void FakeView::processPendingEvents() {
    ++m_pendingEventRounds;
    if (onPendingEvents) onPendingEvents();
}

void FakeView::select(ComboId id, int index) { setComboListIndex(id, index); }

void pick(Form1& form, FakeView& view, ComboId combo, int index) {
    view.select(combo, index);
    switch (combo) {
    case ComboId::ComboReg:
        form.ComboReg_Click();
        break;
    case ComboId::Combo1:
        form.Combo1_Click();
        break;
    case ComboId::Combo2:
        form.Combo2_Click();
        break;
    case ComboId::ComboKms:
        form.ComboKms_Click();
        break;
    case ComboId::Combo3:
    case ComboId::Combo4:
        break;  // hidden lists: the user cannot choose in them
    }
}

int tickUntilIdle(Form1& form, FakeView& view, int maxTicks) {
    int ticks = 0;
    while (ticks < maxTicks) {
        if (view.timerEnabled(TimerId::Timer1)) {
            form.Timer1_Timer();
        } else if (view.timerEnabled(TimerId::Timer2)) {
            form.Timer2_Timer();
        } else {
            break;
        }
        ++ticks;
    }
    return ticks;
}

}  // namespace localyx::testing

#include "app/form1.h"

#include <climits>
#include <optional>
#include <cmath>
#include <string_view>
#include <utility>

#include "app/initial_state.h"
#include "app/region_file_message.h"
#include "core/distance.h"
#include "core/field_reader.h"
#include "core/numeric.h"
#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/region_loader.h"
#include "core/text_encoding.h"
#include "core/web_address.h"

namespace localyx {

namespace {

/// Items longer than this, in characters, are reworked in one go.
constexpr long kLongestWalkedItem = 1000;

/// Marks a load or a search as running for as long as the scope lasts, so
/// that a handler reached again through processPendingEvents backs off.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
};

/// Nearest whole number, halves to the even neighbour (the default rounding
/// mode), clamped to int so that no text can overflow it.
int roundToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(std::nearbyint(value));
}

/// The character at a 1-based position, or the empty text outside the text.
std::string characterAt(std::string_view text, long position, long length) {
    if (position < 1 || position > length) return {};
    return utf8Substr(text, static_cast<std::size_t>(position - 1), 1);
}

long characterCount(std::string_view text) { return static_cast<long>(utf8Length(text)); }

/// The caption of the region whose file has this base name.
std::string_view regionCaptionOf(std::string_view baseName) {
    for (const RegionEntry& entry : regionCatalogue()) {
        if (entry.baseName == baseName) return entry.caption;
    }
    return baseName;
}

/// How a tick of a name walk ended.
enum class WalkStep { Going, MetHyphen, PassedEnd };

/// One tick of a name walk: first the item's last characters, then "+", then
/// the name up to its first "-". The walk reads its item anew at each tick.
/// @param trailingEnd  position past which the trailing part gives way to
///                     the name part: the item's length plus this offset
WalkStep walkTick(FormView& view, TextId source, TextId work, long& position, bool& inNamePart,
                  long trailingEnd) {
    const std::string item = view.text(source);
    const long length = characterCount(item);

    if (!inNamePart) {
        ++position;
        view.insertText(work, characterAt(item, position, length));
        // ">=" rather than "==": a position already past the mark must not
        // run the trailing part for ever.
        if (position >= length + trailingEnd) {
            view.insertText(work, "+");
            inNamePart = true;
            position = 0;
        }
    }
    if (inNamePart) {
        ++position;
        const std::string character = characterAt(item, position, length);
        if (character == "-" || position > length) {
            position = length + 1;
            inNamePart = false;
            return character == "-" ? WalkStep::MetHyphen : WalkStep::PassedEnd;
        }
        view.insertText(work, character);
    }
    return WalkStep::Going;
}

}  // namespace

Form1::Form1(FormView& view, PlatformServices& platform, std::filesystem::path programDir)
    : m_view(view), m_platform(platform), m_programDir(std::move(programDir)) {}

// ---------------------------------------------------------------- start-up

void Form1::Form_Load() {
    const int baseHeight = 490;
    SetCtrlHeight(ComboId::Combo1, baseHeight + 20);
    SetCtrlHeight(ComboId::Combo2, baseHeight);
    SetCtrlHeight(ComboId::ComboReg, baseHeight + 40);
    m_vars.RadiusKm = 5;
}

void Form1::SetCtrlHeight(ComboId combo, int height) { m_platform.setDropDownHeight(combo, height); }

// -------------------------------------------------------- window behaviour

void Form1::dragWindow(int button) {
    if (button != 1) return;
    m_platform.makeTopmost();
    m_platform.startWindowDrag();
}

void Form1::Form_MouseDown(int button) { dragWindow(button); }
void Form1::Label1_MouseDown(int button) { dragWindow(button); }
void Form1::LblRegions_MouseDown(int button) { dragWindow(button); }

void Form1::CmdMinimise_Click() {
    m_platform.minimise();
    m_platform.hideAbout();
}

void Form1::CmdQuit_Click() { m_platform.quit(); }

void Form1::CmdaBOUT_Click() { m_platform.showAbout(); }

// ------------------------------------------------------------------ region

void Form1::ComboReg_Click() {
    if (m_busy) return;
    const std::optional<RegionEntry> entry = regionByNumber(m_view.comboListIndex(ComboId::ComboReg) + 1);
    if (!entry) return;
    BusyScope busy(m_busy);

    m_view.setComboForeColor(ComboId::Combo1, kBlack);
    m_view.setLabelCaption(LabelId::LblRegions, std::string(entry->caption));
    m_vars.RegionFile = std::string(entry->baseName);
    m_view.setText(TextId::Text8, "");
    m_view.setLabelCaption(LabelId::result2, "");
    m_view.setLabelCaption(LabelId::LblNbrLoc, "");
    m_view.clearCombo(ComboId::Combo1);
    m_view.clearCombo(ComboId::Combo2);
    m_view.clearCombo(ComboId::Combo3);
    m_view.clearCombo(ComboId::Combo4);
    m_view.processPendingEvents();
    m_view.setComboText(ComboId::Combo1, std::string(kTownPrompt));
    m_view.setComboText(ComboId::Combo2, std::string(kTownPrompt));

    const RegionFileText file = readRegionFile(m_programDir, m_vars.RegionFile);
    if (!file.ok()) {
        m_view.setText(TextId::Text8, regionFileMessage(file, entry->caption));
        m_view.setMousePointer(MousePointer::Default);
        return;
    }
    FieldReader reader(file.text);
    const RegionLists lists = loadRegionLists(reader);
    // The lists are filled in bulk: the result is the same as adding each
    // field in turn, without the cost of one widget call per item.
    m_view.addComboItems(ComboId::Combo1, lists.names);
    m_view.addComboItems(ComboId::Combo2, lists.names);
    m_view.addComboItems(ComboId::Combo3, lists.coordinates);
    m_view.addComboItems(ComboId::Combo4, lists.coordinates);
}

// ------------------------------------------------------------------ search

void Form1::ComboKms_Click() {
    if (m_busy) return;
    BusyScope busy(m_busy);

    const std::string item = m_view.comboItem(ComboId::ComboKms, m_view.comboListIndex(ComboId::ComboKms));
    m_vars.RadiusKm = roundToInt(numericValue(item) + 1);
    ListNeighbours();
}

void Form1::Combo1_Click() {
    if (m_busy) return;
    BusyScope busy(m_busy);

    m_view.setComboListIndex(ComboId::Combo2, -1);
    m_view.setComboText(ComboId::Combo2, std::string(kTownPrompt));
    m_view.setLabelCaption(LabelId::result2, "");
    m_view.setButtonEnabled(ButtonId::CmdItineraire, false);
    m_view.setLabelVisible(LabelId::Labelinfo, false);
    ListNeighbours();
}

void Form1::ListNeighbours() {
    m_view.setText(TextId::Text8, "");
    m_vars.NeighbourCount = 0;
    m_view.setLabelCaption(LabelId::LblNbrLoc, "");
    m_view.setMousePointer(MousePointer::Hourglass);
    m_view.processPendingEvents();

    m_vars.RadiusDeg = m_vars.RadiusKm / kKmPerDegree;
    m_vars.TownIndex = m_view.comboListIndex(ComboId::Combo1);
    if (m_vars.TownIndex < 0) {
        m_view.setLabelCaption(LabelId::Labelinfo, std::string(kNoTownWarning));
        m_view.setLabelVisible(LabelId::Labelinfo, true);
        m_view.setMousePointer(MousePointer::Default);
        return;
    }

    m_view.setComboForeColor(ComboId::Combo1, kBlack);
    m_view.setLabelVisible(LabelId::Labelinfo, false);
    m_vars.ChosenTown = m_view.comboItem(ComboId::Combo1, m_vars.TownIndex);
    m_vars.Town1Lat = m_view.comboItem(ComboId::Combo3, 2 * m_vars.TownIndex);
    m_vars.Town1Lon = m_view.comboItem(ComboId::Combo3, 2 * m_vars.TownIndex + 1);

    const RegionFileText file = readRegionFile(m_programDir, m_vars.RegionFile);
    if (!file.ok()) {
        m_view.setText(TextId::Text8, regionFileMessage(file, regionCaptionOf(m_vars.RegionFile)));
        m_view.setMousePointer(MousePointer::Default);
        return;
    }

    NeighbourRule rule(m_vars.Town1Lat, m_vars.Town1Lon, m_vars.RadiusKm,
                       SearchDeltas{m_vars.DeltaLat, m_vars.DeltaLon});
    // No event is handled during the walk, so writing Text8 once at the end
    // shows what appending one name at a time would, without quadratic cost.
    std::string found;
    FieldReader reader(file.text);
    while (!reader.atEnd()) {
        m_vars.FileItem = reader.next();
        if (rule.feed(m_vars.FileItem)) {
            found += m_vars.FileItem;
            found += "\r\n";
            ++m_vars.NeighbourCount;
        }
    }
    m_vars.DeltaLat = rule.deltas().deltaLat;
    m_vars.DeltaLon = rule.deltas().deltaLon;
    m_view.setText(TextId::Text8, found);
    if (m_vars.NeighbourCount > 0) {
        m_view.setLabelCaption(LabelId::LblNbrLoc, std::to_string(m_vars.NeighbourCount));
    }

    m_view.setButtonEnabled(ButtonId::CmdCarte, true);
    m_view.setMousePointer(MousePointer::Default);
}

// ------------------------------------------------------------ second town

void Form1::Combo2_Click() {
    const int p1 = m_view.comboListIndex(ComboId::Combo1);
    const int p2 = m_view.comboListIndex(ComboId::Combo2);
    if (p1 == p2) {
        m_view.setLabelCaption(LabelId::Labelinfo, std::string(kSameTownWarning));
        m_view.setLabelVisible(LabelId::Labelinfo, true);
        m_view.setLabelVisible(LabelId::result2, false);
        return;
    }
    m_view.setButtonEnabled(ButtonId::CmdItineraire, true);
    m_view.setLabelVisible(LabelId::Labelinfo, false);
    m_view.setLabelVisible(LabelId::result2, true);
    ShowPairDistance();
}

void Form1::ShowPairDistance() {
    m_vars.TownIndex = m_view.comboListIndex(ComboId::Combo2);
    if (m_vars.TownIndex < 0) {
        m_view.setLabelVisible(LabelId::Labelinfo, true);
        return;
    }
    m_view.setLabelVisible(LabelId::Labelinfo, false);
    m_vars.ChosenTown = m_view.comboItem(ComboId::Combo2, m_vars.TownIndex);
    m_vars.Town2Lat = m_view.comboItem(ComboId::Combo4, 2 * m_vars.TownIndex);
    m_vars.Town2Lon = m_view.comboItem(ComboId::Combo4, 2 * m_vars.TownIndex + 1);

    const double lon1 = numericValue(m_vars.Town1Lon);
    const double lat1 = numericValue(m_vars.Town1Lat);
    const double lon2 = numericValue(m_vars.Town2Lon);
    const double lat2 = numericValue(m_vars.Town2Lat);
    if (lon1 == 0 || lat1 == 0 || lon2 == 0 || lat2 == 0) return;

    m_vars.DistanceKm = CalcDistance(lon1, lat1, lon2, lat2);
    // Also turns the failure value and the tiny negatives of identical
    // points into 0; NaN cannot come back from CalcDistance, but is caught.
    if (!(m_vars.DistanceKm >= 1)) m_vars.DistanceKm = 0;
    const auto wholeKm = static_cast<long long>(std::floor(m_vars.DistanceKm));
    std::string caption(kDistancePrefix);
    caption += std::to_string(wholeKm);
    caption += kDistanceSuffix;
    m_view.setLabelCaption(LabelId::result2, caption);
}

// ------------------------------------------------------------------- links

void Form1::CmdCarte_Click() {
    m_view.setText(TextId::TxtURLMich, mapAddress(m_vars.ChosenTown));
    m_platform.openInBrowser(m_view.text(TextId::TxtURLMich));
}

void Form1::CmdItineraire_Click() {
    // Without a town in each list, or with an item too short to hold its
    // five-character code, there is nothing to open.
    const int startIndex = m_view.comboListIndex(ComboId::Combo1);
    const int destIndex = m_view.comboListIndex(ComboId::Combo2);
    if (startIndex < 0 || destIndex < 0) return;
    const std::string startItem = m_view.comboItem(ComboId::Combo1, startIndex);
    const std::string destItem = m_view.comboItem(ComboId::Combo2, destIndex);
    if (characterCount(startItem) < 5 || characterCount(destItem) < 5) return;

    // A destination walk under way would share InNamePart with the new start
    // walk and spoil both: it is dropped, and everything starts afresh.
    m_view.setTimerEnabled(TimerId::Timer2, false);

    m_vars.DestMerged.clear();
    m_vars.StartMerged.clear();
    m_view.setText(TextId::TxtDepart0, "");
    m_view.setText(TextId::TxtArrivee0, "");
    m_view.setText(TextId::TxtDepart, "");
    m_view.setText(TextId::TxtArrivee, "");
    m_view.setText(TextId::TxtDepart0, startItem);
    m_view.setText(TextId::TxtArrivee0, destItem);
    // One character a tick suits town names; a name of thousands of
    // characters (a damaged file) would keep the timers busy for hours, so
    // its walk is done at once, to the same result.
    if (characterCount(startItem) > kLongestWalkedItem || characterCount(destItem) > kLongestWalkedItem) {
        m_view.setTimerEnabled(TimerId::Timer1, false);
        // As the walks do, an item without "-" opens nothing.
        if (startItem.find('-') == std::string::npos || destItem.find('-') == std::string::npos) return;
        m_vars.StartMerged = reworkItem(startItem);
        m_vars.DestMerged = reworkItem(destItem);
        m_view.insertText(TextId::TxtDepart, m_vars.StartMerged);
        m_view.insertText(TextId::TxtArrivee, m_vars.DestMerged);
        m_vars.InNamePart = false;
        OpenItinerary();
        return;
    }
    m_vars.StartPos = characterCount(m_view.text(TextId::TxtDepart0)) - 5;
    m_vars.DestPos = characterCount(m_view.text(TextId::TxtArrivee0)) - 5;
    m_vars.InNamePart = false;
    m_view.setTimerEnabled(TimerId::Timer1, true);
}

void Form1::Timer1_Timer() {
    // A tick queued before the timer was stopped changes nothing.
    if (!m_view.timerEnabled(TimerId::Timer1)) return;
    const WalkStep step =
        walkTick(m_view, TextId::TxtDepart0, TextId::TxtDepart, m_vars.StartPos, m_vars.InNamePart, 0);
    if (step == WalkStep::Going) return;
    m_view.setTimerEnabled(TimerId::Timer1, false);
    // An item without "-" (a damaged or hand-made file) names no town the
    // map service knows: its walk stops there and no itinerary opens.
    if (step == WalkStep::PassedEnd) return;
    m_vars.StartMerged = m_view.text(TextId::TxtDepart);
    m_view.setTimerEnabled(TimerId::Timer2, true);
}

void Form1::Timer2_Timer() {
    if (!m_view.timerEnabled(TimerId::Timer2)) return;
    // The destination's trailing part runs one tick longer: its sixth tick
    // looks past the end and appends nothing before the "+".
    const WalkStep step =
        walkTick(m_view, TextId::TxtArrivee0, TextId::TxtArrivee, m_vars.DestPos, m_vars.InNamePart, 1);
    if (step == WalkStep::Going) return;
    m_view.setTimerEnabled(TimerId::Timer2, false);
    if (step == WalkStep::PassedEnd) return;  // as for the start item
    m_vars.DestMerged = m_view.text(TextId::TxtArrivee);
    OpenItinerary();
}

void Form1::OpenItinerary() {
    m_view.setText(TextId::TxtURLMich2, itineraryAddress(m_vars.StartMerged, m_vars.DestMerged));
    m_platform.openInBrowser(m_view.text(TextId::TxtURLMich2));
}

}  // namespace localyx

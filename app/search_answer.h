#pragma once

#include <optional>
#include <vector>

#include "app/form1.h"
#include "app/form_view.h"
#include "core/locality_table.h"

namespace localyx {

/// What the window answered, as a map or a file shows it: the town of the
/// last search, the localities Text8 lists, and the second town when its
/// distance is shown. Localities carry the item's name and postcode, the
/// region's base name and the coordinates of the region file; no INSEE code,
/// département or population (the region files have none).
struct SearchAnswer {
    std::optional<Locality> town;     ///< none before a search with a town
    int radiusKm = 0;                 ///< the radius ComboKms shows, km
    double radiusDeg = 0;             ///< half the side of the searched square, degrees
    std::vector<Locality> found;      ///< nearest first
    std::vector<double> kms;          ///< each found locality's distance to the town, km
    std::optional<Locality> second;   ///< the second town, when result2 shows its distance
    long long secondKm = 0;           ///< that distance as result2 shows it, whole km
};

/// Splits a list item "NAME-CODE" into a locality of the region (no
/// coordinates); an item without "-" is all name.
Locality localityOfItem(const std::string& item, const std::string& regionBaseName);

/// The list positions the answer stands for, taken when a handler last wrote
/// the list or the distance: typing in a box since then may have cleared
/// its choice, not the answer on show. -1 for none.
struct AnswerPicks {
    int town = -1;        ///< Combo1, when Text8 was last written
    int radiusItem = -1;  ///< ComboKms, then; none before a radius was chosen
    int second = -1;      ///< Combo2, when result2 was last written, if it shows a distance
};

/// The answer on show in the window.
SearchAnswer searchAnswer(const FormView& view, const Form1Variables& vars, const AnswerPicks& picks);

}  // namespace localyx

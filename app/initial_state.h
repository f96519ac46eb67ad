#pragma once

#include <array>
#include <string_view>

namespace localyx {

// Texts shown by the main window. Shared by the real view, the test view and
// the handlers so that the blanks inside them cannot drift apart.

/// ComboReg before any region is chosen: 23 blanks, then the prompt.
inline constexpr std::string_view kComboRegPrompt =
    "                       Choisir une région";
/// Combo1 at start: 22 blanks; two blanks between "une" and "localité".
inline constexpr std::string_view kCombo1Prompt =
    "                      Choisir une  localité";
/// Combo2 at start: 22 blanks; one blank between "une" and "localité".
inline constexpr std::string_view kCombo2Prompt =
    "                      Choisir une localité";
/// Combo1 and Combo2 after a region is loaded (one leading blank).
inline constexpr std::string_view kTownPrompt = " Choisir une  localité";

/// Initial text of the hidden coordinate lists.
inline constexpr std::string_view kCombo3Text = "Combo3";
inline constexpr std::string_view kCombo4Text = "Combo4";

/// ComboKms: initial text and list, in list order.
inline constexpr std::string_view kRadiusText = " 5";
inline constexpr std::array<std::string_view, 5> kRadiusItems = {" 5", "10", "15", "20", "25"};

/// Labelinfo: its caption at start (hidden) and its two warnings.
inline constexpr std::string_view kNoTownWarning = "Vous n'avez choisi aucune localité";
inline constexpr std::string_view kSameTownWarning = "Vous avez choisi la même localité";
inline constexpr std::string_view kLabelinfoInitial = kNoTownWarning;

/// result2: prefix + whole kilometres + suffix (two blanks before "Kms").
inline constexpr std::string_view kDistancePrefix = "La distance entre ces 2 villes est de : ";
inline constexpr std::string_view kDistanceSuffix = "  Kms";

}  // namespace localyx

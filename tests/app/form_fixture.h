#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "tests/app/fake_view.h"
#include "tests/scratch_dir.h"

namespace localyx::testing {

/// A started window (Form_Load done) whose program folder is a fresh
/// temporary folder; the test writes the region files it needs there.
class FormTest : public ::testing::Test {
protected:
    FormTest() : programDir(scratch.path() / "bin"), form(view, platform, programDir) {
        std::filesystem::create_directory(programDir);
        form.Form_Load();
    }

    void writeRegion(std::string_view baseName, std::string_view bytes) {
        std::ofstream(programDir / (std::string(baseName) + ".txt"), std::ios::binary) << bytes;
    }
    /// Chooses region n (1..22) in ComboReg.
    void chooseRegion(int n) { pick(form, view, ComboId::ComboReg, n - 1); }

    ScratchDir scratch;
    std::filesystem::path programDir;  // scratch/bin: the installed ../share is ours too
    FakeView view;
    FakePlatform platform;
    Form1 form;
};

/// A small region of made-up localities around CENTREVILLE (48.5, 7.5):
/// position 0 CENTREVILLE, 1 PRES (0.02, 0.03 away), 2 MOYEN (0.05, 0.05),
/// 3 MEMELAT (same latitude), 4 LOIN (0.08, 0.08), 5 SAINT-EXEMPLE (0.01, 0.01).
inline constexpr std::string_view kAlsaceFile =
    "48.5,7.5,CENTREVILLE-67001\r\n"
    "48.52,7.47,PRES-67002\r\n"
    "48.55,7.45,MOYEN-67003\r\n"
    "48.5,7.51,MEMELAT-67004\r\n"
    "48.58,7.42,LOIN-67005\r\n"
    "48.49,7.49,SAINT-EXEMPLE-67006\r\n";

}  // namespace localyx::testing

#include "tests/app/form_fixture.h"

#include <fstream>
#include <random>
#include <string>

namespace localyx::testing {

namespace {

std::filesystem::path freshRoot() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "localyx-app-";
    if (info != nullptr) {
        name += info->test_suite_name();
        name += '-';
        name += info->name();
    }
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    name += '-' + std::to_string(std::random_device{}());
    return std::filesystem::temp_directory_path() / name;
}

}  // namespace

FormTest::FormTest()
    : root(freshRoot()), programDir(root / "bin"), form(view, platform, programDir) {
    std::filesystem::create_directories(programDir);
    form.Form_Load();
}

FormTest::~FormTest() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

void FormTest::writeRegion(std::string_view baseName, std::string_view bytes) {
    std::ofstream out(programDir / (std::string(baseName) + ".txt"), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good());
}

void FormTest::removeRegion(std::string_view baseName) {
    std::filesystem::remove(programDir / (std::string(baseName) + ".txt"));
}

}  // namespace localyx::testing

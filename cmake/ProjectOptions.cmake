# Warnings and sanitizers are INTERFACE targets so every target opts in the
# same way and the CI build can turn warnings into errors in one place.

option(LOCALYX_WERROR "Treat compiler warnings as errors" OFF)
option(LOCALYX_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)

add_library(localyx_warnings INTERFACE)
target_compile_options(localyx_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(LOCALYX_WERROR)
  target_compile_options(localyx_warnings INTERFACE -Werror)
endif()

# The reference distances are exact to the last bit: a fused multiply-add
# would round differently, and fast-math would reorder the formula.
add_library(localyx_fp INTERFACE)
target_compile_options(localyx_fp INTERFACE -ffp-contract=off -fno-fast-math)

add_library(localyx_sanitizers INTERFACE)
if(LOCALYX_SANITIZE)
  target_compile_options(localyx_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(localyx_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
# Debug builds (the sanitizer suite's, mutation testing's) check every index
# into the standard containers: a word read past the end aborts, not reads on.
target_compile_definitions(localyx_sanitizers INTERFACE $<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)

# Fuzzing instruments the code under test for coverage as well.
if(LOCALYX_BUILD_FUZZ)
  target_compile_options(localyx_sanitizers INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(localyx_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# Debian's usual hardening, so the packaged programs are built as the
# distribution builds its own; the install test reads it back from the ELF
# headers. Fortification needs optimisation, and under the sanitizers it would
# only hide the faults they are there to report.
add_library(localyx_hardening INTERFACE)
target_compile_options(localyx_hardening INTERFACE
  -fstack-protector-strong -Wformat -Werror=format-security)
if(NOT LOCALYX_SANITIZE AND NOT LOCALYX_BUILD_FUZZ)
  target_compile_options(localyx_hardening INTERFACE
    "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
endif()
target_link_options(localyx_hardening INTERFACE LINKER:-z,relro LINKER:-z,now)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)

add_library(localyx_options INTERFACE)
target_link_libraries(localyx_options INTERFACE
  localyx_warnings localyx_fp localyx_sanitizers localyx_hardening)
target_compile_features(localyx_options INTERFACE cxx_std_20)

# Native build: the simulated controller, unit tests (sanitized), end-to-end tests
# under Wine, the fuzz target and the benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

# Path of the cross-built programs (astrodriver.exe and the client programs),
# and of the 32-bit ones (the 32-bit test client).
set(ASTRO_WINDOWS_BIN "${CMAKE_SOURCE_DIR}/build/win/bin" CACHE PATH
    "Directory of the cross-built Windows programs")
set(ASTRO_WINDOWS32_BIN "${CMAKE_SOURCE_DIR}/build/win32/bin" CACHE PATH
    "Directory of the cross-built 32-bit Windows programs")

set(SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

foreach(dir sim tests/unit tests/fuzz tests/e2e bench)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()

# The Windows deliverables and the Windows-side test programs (cross build).
include(${CMAKE_SOURCE_DIR}/cmake/windows_common.cmake)

# The activation hook library.
add_hook_file(astrohook LIBRARY astrohook ${CMAKE_SOURCE_DIR}/hook/astrohook.cpp
  ${CMAKE_SOURCE_DIR}/hook/astrohook.rc DllMain)
set(ASTROHOOK_DLL ${HOOK_OUTPUT_DIR}/astrohook.dll)

# The 32-bit library and its host come from the 32-bit build tree (build/win32),
# built first by scripts/build.
set(ASTRO_HOOK32_DIR "${CMAKE_SOURCE_DIR}/build/win32/hook" CACHE PATH
    "Directory of astrohook32.dll and astrohook32.exe (the 32-bit build tree's hook/)")
set(ASTROHOOK32_FILES ${ASTRO_HOOK32_DIR}/astrohook32.dll ${ASTRO_HOOK32_DIR}/astrohook32.exe)

file(GLOB DRIVER_WIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/driver/win/*.cpp
  ${CMAKE_SOURCE_DIR}/delivery/win/*.cpp
  ${CMAKE_SOURCE_DIR}/config/win/*.cpp
  ${CMAKE_SOURCE_DIR}/ui/win/*.cpp)
add_executable(astrodriver WIN32 ${DRIVER_WIN_SOURCES} ${CMAKE_SOURCE_DIR}/resources/astrodriver.rc)
target_link_libraries(astrodriver PRIVATE astrocore comctl32 user32 gdi32 shell32 advapi32)
# The resource script takes the hook's files from their directories, and
# includes the other scripts and pictures of resources/, which windres does not
# report as dependencies.
target_include_directories(astrodriver PRIVATE ${HOOK_OUTPUT_DIR} ${ASTRO_HOOK32_DIR}
  ${GENERATED_DIR})
file(GLOB_RECURSE RESOURCE_FILES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.bmp
  ${CMAKE_SOURCE_DIR}/resources/*.ico ${CMAKE_SOURCE_DIR}/resources/*.manifest)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/astrodriver.rc PROPERTIES
  OBJECT_DEPENDS "${ASTROHOOK_DLL};${ASTROHOOK32_FILES};${RESOURCE_FILES};${VERSION_RESOURCE_DEPENDS}")
add_dependencies(astrodriver astrohook)
target_link_options(astrodriver PRIVATE ${WIN_LINK_OPTIONS})

# Console programs beside the driver: the demo clients a plug-in author can read,
# and the programs that exist only for the end-to-end tests (the test client and
# the window probe).
file(GLOB CLIENT_PROGRAMS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/client/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/win/test_client.cpp ${CMAKE_SOURCE_DIR}/tests/e2e/win/probe.cpp)
foreach(source ${CLIENT_PROGRAMS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE astrocore user32 gdi32 shell32 advapi32 version)
  target_link_options(${name} PRIVATE ${WIN_LINK_OPTIONS})
endforeach()

# The plug-in authors' sample: plain C99 on the client header alone, so it shows
# that nothing of the driver's own code is needed.
add_executable(sample_client ${CMAKE_SOURCE_DIR}/client/sample_client.c)
set_target_properties(sample_client PROPERTIES C_STANDARD 99 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF)
target_include_directories(sample_client PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(sample_client PRIVATE user32)
target_link_options(sample_client PRIVATE ${WIN_LINK_OPTIONS})

# The settings sequence of the end-to-end tests against the system's registry.
add_executable(settings_tool
  ${CMAKE_SOURCE_DIR}/tests/e2e/win/settings_tool.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/settings_sequence.cpp
  ${CMAKE_SOURCE_DIR}/config/win/win_registry.cpp)
target_include_directories(settings_tool PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(settings_tool PRIVATE astrocore advapi32)
target_link_options(settings_tool PRIVATE ${WIN_LINK_OPTIONS})

include(${CMAKE_SOURCE_DIR}/cmake/installer.cmake)

# The Windows deliverables and the Windows-side test programs (cross build).
set(WIN_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
enable_language(RC)

# The version for the resource scripts.
set(ASTRO_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(ASTRO_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(ASTRO_VERSION_PATCH ${PROJECT_VERSION_PATCH})
set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${GENERATED_DIR}/version.h @ONLY)
set(VERSION_RESOURCE_DEPENDS ${GENERATED_DIR}/version.h ${CMAKE_SOURCE_DIR}/resources/version_info.rc)

# The activation hook library. It is kept out of bin/: the driver carries it as a
# resource and writes it out where it looks for it, and the tests see that happen.
add_library(astrohook SHARED ${CMAKE_SOURCE_DIR}/hook/astrohook.cpp
  ${CMAKE_SOURCE_DIR}/hook/astrohook.rc)
target_include_directories(astrohook PRIVATE ${GENERATED_DIR} ${CMAKE_SOURCE_DIR}/resources)
set_source_files_properties(${CMAKE_SOURCE_DIR}/hook/astrohook.rc PROPERTIES
  OBJECT_DEPENDS "${VERSION_RESOURCE_DEPENDS}")
set_target_properties(astrohook PROPERTIES PREFIX "" OUTPUT_NAME astrohook
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/hook)
# The system maps it into every process of the desktop, so it carries no C/C++
# runtime: no TLS directory, no static constructors, no exceptions, imports from
# system libraries only, and its own DllMain as entry point. (A library with a
# TLS directory makes the loader visit every thread the process ever had, which
# under Wine can be a list that never ends.)
target_compile_options(astrohook PRIVATE -fno-exceptions -fno-rtti -fno-stack-protector
  -fno-builtin)
target_link_options(astrohook PRIVATE -nostdlib -nostartfiles -Wl,-e,DllMain)
target_link_libraries(astrohook PRIVATE user32 kernel32)
set(ASTROHOOK_DLL ${CMAKE_BINARY_DIR}/hook/astrohook.dll)

file(GLOB DRIVER_WIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/driver/win/*.cpp
  ${CMAKE_SOURCE_DIR}/delivery/win/*.cpp
  ${CMAKE_SOURCE_DIR}/config/win/*.cpp
  ${CMAKE_SOURCE_DIR}/ui/win/*.cpp)
add_executable(astrodriver WIN32 ${DRIVER_WIN_SOURCES} ${CMAKE_SOURCE_DIR}/resources/astrodriver.rc)
target_link_libraries(astrodriver PRIVATE astrocore comctl32 user32 gdi32 shell32 advapi32)
# The resource script takes astrohook.dll from the hook library's directory, and
# includes the other scripts and pictures of resources/, which windres does not
# report as dependencies.
target_include_directories(astrodriver PRIVATE ${CMAKE_BINARY_DIR}/hook ${GENERATED_DIR})
file(GLOB_RECURSE RESOURCE_FILES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.bmp
  ${CMAKE_SOURCE_DIR}/resources/*.ico ${CMAKE_SOURCE_DIR}/resources/*.manifest)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/astrodriver.rc PROPERTIES
  OBJECT_DEPENDS "${ASTROHOOK_DLL};${RESOURCE_FILES};${VERSION_RESOURCE_DEPENDS}")
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

# What both Windows build trees (64-bit and 32-bit) share: static runtimes for the
# programs, their output directory, and the version for the resource scripts.
set(WIN_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
enable_language(RC)

set(ASTRO_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(ASTRO_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(ASTRO_VERSION_PATCH ${PROJECT_VERSION_PATCH})
set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${GENERATED_DIR}/version.h @ONLY)
set(VERSION_RESOURCE_DEPENDS ${GENERATED_DIR}/version.h ${CMAKE_SOURCE_DIR}/resources/version_info.rc)
set(HOOK_OUTPUT_DIR ${CMAKE_BINARY_DIR}/hook)

# A file of the activation hook (the library, or the 32-bit host program) from
# hook/: the system maps the library into every process of the desktop, so
# neither carries a C/C++ runtime: no TLS directory, no static constructors, no
# exceptions, imports from system libraries only, and an entry point of its own.
# (A library with a TLS directory makes the loader visit every thread the
# process ever had, which under Wine can be a list that never ends.) They are
# kept out of bin/: the driver carries them as resources and writes them out
# where it looks for them, and the tests see that happen.
function(add_hook_file target kind output_name source resource entry)
  if(kind STREQUAL "LIBRARY")
    add_library(${target} SHARED ${source} ${resource})
    set_target_properties(${target} PROPERTIES PREFIX "")
  else()
    add_executable(${target} WIN32 ${source} ${resource})
  endif()
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${GENERATED_DIR}
    ${CMAKE_SOURCE_DIR}/resources)
  set_source_files_properties(${resource} PROPERTIES OBJECT_DEPENDS "${VERSION_RESOURCE_DEPENDS}")
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output_name}
    RUNTIME_OUTPUT_DIRECTORY ${HOOK_OUTPUT_DIR})
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-stack-protector
    -fno-builtin)
  # Exports keep their plain names (32-bit stdcall would decorate them); an entry
  # symbol the linker cannot find is an error, not a warning.
  target_link_options(${target} PRIVATE -nostdlib -nostartfiles -Wl,-e,${entry} -Wl,--kill-at
    -Wl,--fatal-warnings)
  target_link_libraries(${target} PRIVATE user32 kernel32)
endfunction()

# The installer, built by wixl from installer/astrodriver.wxs (scripts/install-deps
# installs it; without it there is no installer and its end-to-end test fails).
# Beside the product's package the build makes one of the next patch version, for
# the test that upgrades in place.
find_program(WIXL wixl)
if(NOT WIXL)
  message(WARNING "wixl is missing: no installer is built")
  return()
endif()

set(INSTALLER_DIR ${CMAKE_BINARY_DIR}/installer)
set(INSTALLER_STAGE ${INSTALLER_DIR}/stage)
set(INSTALLER_SOURCE ${CMAKE_SOURCE_DIR}/installer/astrodriver.wxs)
math(EXPR NEXT_PATCH "${PROJECT_VERSION_PATCH} + 1")
set(NEXT_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${NEXT_PATCH})
set(PACKAGE ${INSTALLER_DIR}/astrodriver.msi)
set(NEXT_PACKAGE ${INSTALLER_DIR}/astrodriver-next.msi)

# wixl takes the files by relative paths: they are staged beside each other.
file(MAKE_DIRECTORY ${INSTALLER_STAGE})
add_custom_command(
  OUTPUT ${PACKAGE} ${NEXT_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:astrodriver> ${ASTROHOOK_DLL}
          ${ASTROHOOK32_FILES} ${CMAKE_SOURCE_DIR}/resources/astrodriver.ico ${INSTALLER_STAGE}
  # The build keeps its debugging information; the installed files do without.
  COMMAND ${CMAKE_STRIP} --strip-debug astrodriver.exe astrohook.dll astrohook32.dll
          astrohook32.exe
  COMMAND ${WIXL} -a x64 -D Version=${PROJECT_VERSION} -o ${PACKAGE} ${INSTALLER_SOURCE}
  COMMAND ${WIXL} -a x64 -D Version=${NEXT_VERSION} -o ${NEXT_PACKAGE} ${INSTALLER_SOURCE}
  WORKING_DIRECTORY ${INSTALLER_STAGE}
  DEPENDS astrodriver astrohook ${ASTROHOOK32_FILES} ${INSTALLER_SOURCE} ${CMAKE_SOURCE_DIR}/resources/astrodriver.ico
  COMMENT "Building the installer with wixl"
  VERBATIM)
add_custom_target(installer ALL DEPENDS ${PACKAGE} ${NEXT_PACKAGE})

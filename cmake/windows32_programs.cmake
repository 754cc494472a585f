# The 32-bit build tree (i686): the activation hook for 32-bit programs, whose
# files the 64-bit driver carries as resources, and the 32-bit build of the test
# client for the end-to-end tests. Nothing else of the product is built here.
include(${CMAKE_SOURCE_DIR}/cmake/windows_common.cmake)
set_target_properties(astrocore PROPERTIES EXCLUDE_FROM_ALL TRUE)

# The same library source as the 64-bit one. The entry symbols are those of
# 32-bit stdcall functions, as the linker knows them.
add_hook_file(astrohook32 LIBRARY astrohook32 ${CMAKE_SOURCE_DIR}/hook/astrohook.cpp
  ${CMAKE_SOURCE_DIR}/hook/astrohook.rc _DllMain@12)
add_hook_file(astrohook32_host PROGRAM astrohook32 ${CMAKE_SOURCE_DIR}/hook/hook_host.cpp
  ${CMAKE_SOURCE_DIR}/hook/hook_host.rc _HostMain@0)

add_executable(test_client32 ${CMAKE_SOURCE_DIR}/tests/e2e/win/test_client.cpp)
target_include_directories(test_client32 PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(test_client32 PRIVATE user32 gdi32)
target_link_options(test_client32 PRIVATE ${WIN_LINK_OPTIONS})

# Cross toolchain: 32-bit Windows programs (setup.exe) built with MinGW-w64 and run under Wine.
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

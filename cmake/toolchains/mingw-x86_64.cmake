# Cross build for Windows x86-64 with Debian's MinGW-w64 compilers.
#   cmake --preset windows-x64
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELTRANE_MINGW_PREFIX x86_64-w64-mingw32)
set(VELTRANE_TARGET_FLAGS "-ffp-contract=off")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

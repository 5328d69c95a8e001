# Cross build for Windows 32-bit x86 (the product) with Debian's MinGW-w64 compilers.
#   cmake --preset windows-x86
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELTRANE_MINGW_PREFIX i686-w64-mingw32)
# 32-bit x86: float arithmetic in SSE registers, as on x86-64, so that every build rounds the
# same way. GCC realigns the stack where SSE needs it (-mstackrealign is on by default for this
# target), since hosts may call in with only 4-byte alignment.
set(VELTRANE_TARGET_FLAGS "-msse2 -mfpmath=sse -ffp-contract=off")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

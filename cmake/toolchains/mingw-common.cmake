# What both MinGW-w64 cross builds share. The including file sets CMAKE_SYSTEM_PROCESSOR,
# VELTRANE_MINGW_PREFIX and VELTRANE_TARGET_FLAGS first.
#
# The -posix compilers give the complete C++ thread library (std::thread, std::mutex); with the
# -win32 variants of GCC 12 those are missing. The pthread layer they use is linked statically
# like the C and C++ runtimes, so the DLL imports only system DLLs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELTRANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELTRANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELTRANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELTRANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_C_FLAGS_INIT "${VELTRANE_TARGET_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${VELTRANE_TARGET_FLAGS}")

set(VELTRANE_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${VELTRANE_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${VELTRANE_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${VELTRANE_STATIC_RUNTIME}")

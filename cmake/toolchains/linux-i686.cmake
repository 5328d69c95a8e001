# Cross build for 32-bit x86 Linux with Debian's i686 cross compiler, run under user-mode
# emulation (qemu-i386-static) on machines whose kernel cannot run 32-bit programs.
#   cmake --preset linux-i686
#
# The libraries, the module and the statically linked render program are built; the render
# cross-check compares this 32-bit x86 code with the 64-bit build.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VELTRANE_LINUX_I686_PREFIX i686-linux-gnu)
set(CMAKE_C_COMPILER ${VELTRANE_LINUX_I686_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${VELTRANE_LINUX_I686_PREFIX}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${VELTRANE_LINUX_I686_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config would otherwise answer with the build machine's own 64-bit libraries.
set(ENV{PKG_CONFIG_LIBDIR} ${CMAKE_FIND_ROOT_PATH}/lib/pkgconfig)

# The Windows x86 DLL's code generation: float arithmetic in SSE registers, no fused
# multiply-adds, so this build rounds as the product does.
set(VELTRANE_TARGET_FLAGS "-msse2 -mfpmath=sse -ffp-contract=off")
set(CMAKE_C_FLAGS_INIT "${VELTRANE_TARGET_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${VELTRANE_TARGET_FLAGS}")

# Fully static programs start under qemu-i386-static without a 32-bit loader or libraries and
# without binfmt registration.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
find_program(VELTRANE_QEMU_I386 qemu-i386-static)
if(VELTRANE_QEMU_I386)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VELTRANE_QEMU_I386})
endif()

# Compile options shared by every target of our own.
#
# Samples must be identical on every compiler and target: no fast-math and no fused
# multiply-add contraction; the 32-bit x86 build does its float arithmetic in SSE registers,
# and realigns the stack for them, as 32-bit Windows hosts call with only 4-byte alignment.
add_library(veltrane_options INTERFACE)
target_compile_options(veltrane_options INTERFACE
    -Wall -Wextra -Werror -ffp-contract=off -fno-fast-math)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$" OR CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(veltrane_options INTERFACE -msse2 -mfpmath=sse -mstackrealign)
endif()

if(VELTRANE_SANITIZE)
    # The sanitizers' instrumentation makes GCC's flow analysis report uninitialised reads
    # inside the standard library that are not there.
    target_compile_options(veltrane_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
        -Wno-maybe-uninitialized)
    target_link_options(veltrane_options INTERFACE -fsanitize=address,undefined)
endif()
if(VELTRANE_SANITIZE_THREAD)
    if(VELTRANE_SANITIZE)
        message(FATAL_ERROR "ThreadSanitizer cannot be combined with VELTRANE_SANITIZE")
    endif()
    target_compile_options(veltrane_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(veltrane_options INTERFACE -fsanitize=thread)
endif()

# veltrane_add_library(name sources...): a static library of our own code.
function(veltrane_add_library name)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC veltrane_options)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# Finds what the optional parts need for the target being built. A part whose dependencies are
# missing switches itself off with one message instead of failing the configuration, so that a
# build configured from a toolchain file alone still builds the module.

function(veltrane_switch_off option reason)
    message(STATUS "${option} off: ${reason}")
    set(${option} OFF PARENT_SCOPE)
endfunction()

if(VELTRANE_BUILD_BENCH AND (WIN32 OR CMAKE_CROSSCOMPILING))
    # Timed on the machine that builds it.
    veltrane_switch_off(VELTRANE_BUILD_BENCH "the benchmarks are built for the build machine only")
endif()
if(VELTRANE_BUILD_BENCH)
    find_package(benchmark QUIET)
    if(NOT benchmark_FOUND)
        veltrane_switch_off(VELTRANE_BUILD_BENCH "Google Benchmark not found for this target")
    endif()
endif()

if(VELTRANE_BUILD_GUI AND NOT WIN32)
    # The software backend draws text with FreeType in fonts it carries (taken from the
    # distribution's font packages at build time) and writes pictures with libpng.
    find_package(Freetype QUIET)
    find_package(PNG QUIET)
    find_file(VELTRANE_FONT_REGULAR LiberationSans-Regular.ttf
              PATHS /usr/share/fonts/truetype/liberation NO_DEFAULT_PATH)
    find_file(VELTRANE_FONT_BOLD LiberationSans-Bold.ttf
              PATHS /usr/share/fonts/truetype/liberation NO_DEFAULT_PATH)
    find_file(VELTRANE_FONT_SYMBOL DejaVuSans.ttf
              PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH)
    # FreeType is linked in statically with what Debian's static library needs, so that the
    # Linux module needs no FreeType on the user's machine; its calls into libpng (for colour
    # glyphs, which our fonts have none of) reach libpng or, in the module, a refusal.
    find_library(VELTRANE_FREETYPE_STATIC libfreetype.a)
    find_library(VELTRANE_ZLIB_STATIC libz.a)
    find_library(VELTRANE_BROTLIDEC_STATIC libbrotlidec.a)
    find_library(VELTRANE_BROTLICOMMON_STATIC libbrotlicommon.a)
    if(NOT FREETYPE_FOUND OR NOT PNG_FOUND)
        veltrane_switch_off(VELTRANE_BUILD_GUI "FreeType or libpng not found for this target")
    elseif(NOT VELTRANE_FREETYPE_STATIC OR NOT VELTRANE_ZLIB_STATIC OR NOT VELTRANE_BROTLIDEC_STATIC
           OR NOT VELTRANE_BROTLICOMMON_STATIC)
        veltrane_switch_off(VELTRANE_BUILD_GUI "no static FreeType, zlib or brotli libraries")
    elseif(NOT VELTRANE_FONT_REGULAR OR NOT VELTRANE_FONT_BOLD OR NOT VELTRANE_FONT_SYMBOL)
        veltrane_switch_off(VELTRANE_BUILD_GUI
                            "no Liberation Sans or DejaVu Sans (fonts-liberation, fonts-dejavu-core)")
    else()
        add_library(veltrane_freetype INTERFACE)
        target_include_directories(veltrane_freetype INTERFACE ${FREETYPE_INCLUDE_DIRS})
        target_link_libraries(veltrane_freetype INTERFACE
            ${VELTRANE_FREETYPE_STATIC} ${VELTRANE_ZLIB_STATIC} ${VELTRANE_BROTLIDEC_STATIC}
            ${VELTRANE_BROTLICOMMON_STATIC})
    endif()
endif()

# The editor in a Linux host's window: Xlib with the shared memory extension for the module and
# the command-line host's window; the XTest and X-Resource extensions and Xvfb for the tests.
set(VELTRANE_X11_FOUND OFF)
if(VELTRANE_BUILD_GUI AND NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
    find_package(X11 QUIET)
    if(X11_FOUND AND X11_Xext_FOUND)
        set(VELTRANE_X11_FOUND ON)
    else()
        message(STATUS "X11 editor off: Xlib or libXext not found; the Linux module has no editor")
    endif()
endif()

if(VELTRANE_BUILD_TOOLS)
    # The command-line host loads modules with dlopen and reads audio through libsndfile.
    if(WIN32)
        veltrane_switch_off(VELTRANE_BUILD_TOOLS "the command-line host is built for Linux only")
    elseif(NOT VELTRANE_BUILD_GUI)
        veltrane_switch_off(VELTRANE_BUILD_TOOLS
                            "the command-line host draws the editor, and the toolkit is off")
    else()
        find_package(PkgConfig QUIET)
        if(PkgConfig_FOUND)
            pkg_check_modules(SNDFILE QUIET IMPORTED_TARGET sndfile)
        endif()
        if(NOT SNDFILE_FOUND)
            veltrane_switch_off(VELTRANE_BUILD_TOOLS "libsndfile not found for this target")
        elseif(NOT VELTRANE_X11_FOUND)
            # --editor-window opens a window of its own.
            veltrane_switch_off(VELTRANE_BUILD_TOOLS "Xlib not found for this target")
        endif()
    endif()
endif()

if(VELTRANE_BUILD_VALIDATOR)
    if(CMAKE_CROSSCOMPILING AND NOT WIN32)
        veltrane_switch_off(VELTRANE_BUILD_VALIDATOR
                            "a statically linked cross build cannot load plug-in modules")
    elseif(NOT WIN32)
        # The editor checks open the editor in an X11 window; without Xlib they are skipped.
        find_package(X11 QUIET)
        set(VELTRANE_VALIDATOR_X11 ${X11_FOUND})
        if(NOT X11_FOUND)
            message(STATUS "veltrane-validate without X11: its editor checks are skipped")
        endif()
    endif()
endif()

# Windows builds GoogleTest from Debian's sources with the cross compiler; a cross-built Linux
# runs only the render cross-check, which needs no test framework.
set(VELTRANE_GOOGLETEST_SOURCE /usr/src/googletest)
if(VELTRANE_BUILD_TESTS)
    if(WIN32)
        if(NOT EXISTS ${VELTRANE_GOOGLETEST_SOURCE}/CMakeLists.txt)
            veltrane_switch_off(VELTRANE_BUILD_TESTS
                                "no GoogleTest sources in ${VELTRANE_GOOGLETEST_SOURCE}")
        endif()
    elseif(NOT CMAKE_CROSSCOMPILING)
        find_package(GTest QUIET)
        if(NOT GTest_FOUND)
            veltrane_switch_off(VELTRANE_BUILD_TESTS "GoogleTest not found for this target")
        endif()
    endif()
endif()

# The plug-in module: veltrane.so on Linux, veltrane.dll on Windows. Its entry point is the one
# place that knows the effect class, so the module is defined here, after every library.
set(VELTRANE_HOST_FOLDER ${PROJECT_SOURCE_DIR}/host)

if(WIN32)
    # Exports only main (veltrane.def) and carries the bitmaps as resources; the C and C++
    # runtimes are linked in (see cmake/toolchains).
    set(resource_script ${PROJECT_SOURCE_DIR}/resources/veltrane.rc)
    file(GLOB bitmap_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/bitmaps/*.bmp)
    add_library(veltrane SHARED
        ${VELTRANE_HOST_FOLDER}/EntryPoint.cpp
        ${VELTRANE_HOST_FOLDER}/DllMain.cpp
        ${VELTRANE_HOST_FOLDER}/veltrane.def
        ${resource_script})
    set_target_properties(veltrane PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
        ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/import)
    # The resource compiler finds the bitmap files relative to resources/; rebuild on new art.
    set_source_files_properties(${resource_script} PROPERTIES
        INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/resources
        OBJECT_DEPENDS "${bitmap_files}")
else()
    # Exports VSTPluginMain and main only (exports.map).
    add_library(veltrane MODULE ${VELTRANE_HOST_FOLDER}/EntryPoint.cpp)
    set_target_properties(veltrane PROPERTIES
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        LINK_DEPENDS ${VELTRANE_HOST_FOLDER}/exports.map)
    target_link_options(veltrane PRIVATE
        -Wl,--version-script=${VELTRANE_HOST_FOLDER}/exports.map -Wl,--no-undefined)
endif()
set_target_properties(veltrane PROPERTIES PREFIX "" OUTPUT_NAME veltrane)
target_include_directories(veltrane PRIVATE ${PROJECT_SOURCE_DIR})
# The Windows module opens its editor as a child of the host's window through the Win32 backend;
# the Linux module through the software backend on X11, with FreeType (without libpng) and the C++
# runtime linked in, so that it needs only the C and maths libraries, libX11 and libXext. Without
# the toolkit or Xlib the module has no editor; the tools and tests link the editor in-process.
if(WIN32 AND TARGET veltrane_effect_with_editor)
    target_link_libraries(veltrane PRIVATE veltrane_effect_with_editor veltrane_options)
elseif(TARGET veltrane_gui_x11)
    target_link_libraries(veltrane PRIVATE veltrane_effect_with_editor veltrane_gui_x11
                                           veltrane_png_glyphs_refused veltrane_options)
    target_sources(veltrane PRIVATE ${VELTRANE_HOST_FOLDER}/StaticRuntime.cpp)
    target_link_options(veltrane PRIVATE -static-libstdc++ -static-libgcc)
else()
    target_link_libraries(veltrane PRIVATE veltrane_effect_without_editor veltrane_options)
endif()

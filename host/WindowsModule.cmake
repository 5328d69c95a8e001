# The plug-in module for Windows: veltrane.dll, exporting only main, with the bitmaps as
# resources and the C and C++ runtimes linked in (see cmake/toolchains). Included from
# host/CMakeLists.txt; does nothing for other platforms.
if(NOT WIN32)
    return()
endif()
if(NOT EXISTS ${CMAKE_CURRENT_LIST_DIR}/EntryPoint.cpp)
    message(STATUS "veltrane.dll is not built yet: host/EntryPoint.cpp is missing")
    return()
endif()

set(VELTRANE_RESOURCE_SCRIPT ${PROJECT_SOURCE_DIR}/resources/veltrane.rc)
file(GLOB VELTRANE_BITMAP_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/bitmaps/*.bmp)
add_library(veltrane SHARED
    ${CMAKE_CURRENT_LIST_DIR}/EntryPoint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DllMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/veltrane.def
    ${VELTRANE_RESOURCE_SCRIPT})
set_target_properties(veltrane PROPERTIES
    PREFIX ""
    OUTPUT_NAME veltrane
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/import)
target_include_directories(veltrane PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(veltrane PRIVATE veltrane_host veltrane_options)
# The resource compiler finds the bitmap files relative to resources/; rebuild on new artwork.
set_source_files_properties(${VELTRANE_RESOURCE_SCRIPT} PROPERTIES
    INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/resources
    OBJECT_DEPENDS "${VELTRANE_BITMAP_FILES}")

# The effect and toolkit folders are configured after this one: link them once everything is
# known, and leave the module out of the default build while the effect has no library yet.
function(veltrane_link_windows_module)
    if(TARGET veltrane_effect)
        target_link_libraries(veltrane PRIVATE veltrane_effect veltrane_host)
    else()
        message(STATUS "veltrane_effect not defined yet: veltrane.dll is not built")
        set_target_properties(veltrane PROPERTIES EXCLUDE_FROM_ALL ON)
    endif()
    # The load notification stores the instance handle in the toolkit.
    if(TARGET veltrane_gui)
        target_link_libraries(veltrane PRIVATE veltrane_gui)
    endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL veltrane_link_windows_module)

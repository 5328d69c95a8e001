# Windows build: the program that draws the named drawing sequences through the Win32 backend,
# and, when VELTRANE_LINUX_BUILD names a built Linux build folder, the test that runs it under
# wine and compares its pictures with the software backend's (Win32AgreementTest there).
# Included from tests/windows/CMakeLists.txt.
add_executable(veltrane_gui_render_win32
    ${CMAKE_CURRENT_LIST_DIR}/RenderSequences.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DrawingSequences.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmaps/sequences.rc)
target_include_directories(veltrane_gui_render_win32 PRIVATE
    ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(veltrane_gui_render_win32 PRIVATE veltrane_gui veltrane_options)

if(VELTRANE_LINUX_BUILD)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(gui_wine_architecture x86)
    else()
        set(gui_wine_architecture x64)
    endif()
    add_test(NAME windows_gui_drawing_matches_software_backend
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/compare-win32-drawing.sh
                ${PROJECT_SOURCE_DIR}/tests/windows/run-under-wine.sh ${gui_wine_architecture}
                ${CMAKE_BINARY_DIR}/wineprefix $<TARGET_FILE:veltrane_gui_render_win32>
                ${CMAKE_BINARY_DIR}/tests/gui-drawing ${VELTRANE_LINUX_BUILD})
    set_tests_properties(windows_gui_drawing_matches_software_backend PROPERTIES
        SKIP_RETURN_CODE 77 RESOURCE_LOCK wine TIMEOUT 600)
endif()

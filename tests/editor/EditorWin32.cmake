# Windows build: the editor in a real window, opened through the DLL's dispatcher and used with
# the operating system's pointer under wine; and, when VELTRANE_LINUX_BUILD names a built Linux
# build folder, its painted window compared with the software backend's picture of the same
# states (EditorWin32AgreementTest there). Included from tests/windows/CMakeLists.txt, which
# defines run_under_wine.
add_executable(veltrane_editor_win32_tests ${CMAKE_CURRENT_LIST_DIR}/EditorWindowTest.cpp)
target_include_directories(veltrane_editor_win32_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(veltrane_editor_win32_tests PRIVATE
    veltrane_test_support veltrane_test_hand gtest gtest_main veltrane_options)
add_dependencies(veltrane_editor_win32_tests veltrane)

add_test(NAME windows_editor_under_wine
    COMMAND ${run_under_wine} $<TARGET_FILE:veltrane_editor_win32_tests> --gtest_brief=1)
set_tests_properties(windows_editor_under_wine PROPERTIES
    ENVIRONMENT "VELTRANE_MODULE=$<TARGET_FILE:veltrane>"
    SKIP_RETURN_CODE 77 RESOURCE_LOCK wine TIMEOUT 600)

if(VELTRANE_LINUX_BUILD)
    add_test(NAME windows_editor_window_matches_software_backend
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/compare-win32-editor.sh ${run_under_wine}
                $<TARGET_FILE:veltrane_editor_win32_tests> ${CMAKE_BINARY_DIR}/tests/editor-pictures
                ${VELTRANE_LINUX_BUILD})
    set_tests_properties(windows_editor_window_matches_software_backend PROPERTIES
        ENVIRONMENT "VELTRANE_MODULE=$<TARGET_FILE:veltrane>"
        SKIP_RETURN_CODE 77 RESOURCE_LOCK wine TIMEOUT 600)
endif()

# Windows build: the text entry and the choice menu on the platform's own edit control and
# pop-up menu, driven with real input under wine. Included from tests/windows/CMakeLists.txt.
add_executable(veltrane_gui_widgets_win32 ${CMAKE_CURRENT_LIST_DIR}/NativeWidgetsWin32Test.cpp)
target_include_directories(veltrane_gui_widgets_win32 PRIVATE
    ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(veltrane_gui_widgets_win32 PRIVATE
    veltrane_gui veltrane_test_hand gtest gtest_main veltrane_options)

add_test(NAME windows_native_widgets_under_wine
    COMMAND ${run_under_wine} $<TARGET_FILE:veltrane_gui_widgets_win32> --gtest_brief=1)
set_tests_properties(windows_native_widgets_under_wine PROPERTIES
    SKIP_RETURN_CODE 77 RESOURCE_LOCK wine TIMEOUT 600)

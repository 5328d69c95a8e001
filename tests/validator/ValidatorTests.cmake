# The tests of veltrane-validate, for the Linux build (CMakeLists.txt here) and for the Windows
# builds under wine (included by tests/windows): the battery on the module this build makes,
# and plug-ins with planted faults that it must fail, naming the check and the seed.

# CI runs smaller repeat counts than the defaults a user gets, and a hung check is reported by
# the validator well before CTest's timeout.
set(VELTRANE_BATTERY_OPTIONS --repeat 1 --editor-cycles 100 --timeout 240)
# Under ThreadSanitizer the battery leaves out the single-threaded signal checks, which take
# minutes there and which every other build runs.
set(VELTRANE_BATTERY_CHECKS "")
if(VELTRANE_SANITIZE_THREAD)
    set(VELTRANE_BATTERY_CHECKS
        --check effect-record,automation,dispatcher,realtime,threads,editor,lifecycle)
endif()

set(validator_test_folder ${CMAKE_CURRENT_LIST_DIR})
set(check_run ${validator_test_folder}/check-run.sh)

# fault name, the define that plants it, the check that must fail
set(validator_faults
    none "" ""
    nan_output FAULT_NAN_OUTPUT audio-formats
    write_past_block FAULT_WRITE_PAST_BLOCK audio-formats
    allocation_in_process FAULT_ALLOCATE_IN_PROCESS realtime
    lock_in_process FAULT_LOCK_IN_PROCESS realtime
    muted_by_nan FAULT_MUTED_BY_NAN bad-input
    crash_on_null_pointer FAULT_CRASH_ON_NULL dispatcher
    leak_in_editor FAULT_EDITOR_LEAK editor)
# A data race shows only under ThreadSanitizer.
if(VELTRANE_SANITIZE_THREAD)
    list(APPEND validator_faults data_race FAULT_DATA_RACE threads)
endif()

function(veltrane_add_fault_plugin name define)
    set(target veltrane_fault_${name})
    if(WIN32)
        add_library(${target} SHARED ${validator_test_folder}/FaultPlugin.cpp
                                     ${validator_test_folder}/fault-plugin.def)
    else()
        add_library(${target} MODULE ${validator_test_folder}/FaultPlugin.cpp)
        set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden)
    endif()
    set_target_properties(${target} PROPERTIES PREFIX "")
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE veltrane_options)
    if(define)
        target_compile_definitions(${target} PRIVATE ${define})
    endif()
    if(WIN32)
        target_link_libraries(${target} PRIVATE user32 gdi32)
    elseif(VELTRANE_VALIDATOR_X11)
        target_compile_definitions(${target} PRIVATE FAULT_PLUGIN_X11)
        target_link_libraries(${target} PRIVATE X11::X11)
    endif()
endfunction()

# veltrane_add_validator_tests(prefix [runner...]): the tests, named with the prefix; the
# runner is the command that runs a Windows program, or nothing. On Linux the runs that open an
# editor (the battery, the plug-in without faults, the editor's fault) have a virtual X display
# from VELTRANE_DISPLAY_RUNNER; without one the editor's fault is left out.
function(veltrane_add_validator_tests prefix)
    set(validate ${ARGN} $<TARGET_FILE:veltrane-validate>)
    set(tests ${prefix}validator_battery_passes_on_the_module)
    set(display "")
    if(NOT WIN32 AND VELTRANE_DISPLAY_RUNNER AND VELTRANE_VALIDATOR_X11)
        set(display ${VELTRANE_DISPLAY_RUNNER})
    endif()
    add_test(NAME ${prefix}validator_battery_passes_on_the_module
        COMMAND ${display} ${check_run} passes -- ${validate} ${VELTRANE_BATTERY_OPTIONS}
                ${VELTRANE_BATTERY_CHECKS} $<TARGET_FILE:veltrane>)
    add_test(NAME ${prefix}validator_says_why_it_cannot_load_a_module
        COMMAND ${check_run} exits 3 "cannot load plug-in" -- ${validate}
                ${validator_test_folder}/no-such-module)
    add_test(NAME ${prefix}validator_points_at_its_help_for_a_bad_command_line
        COMMAND ${check_run} exits 2 "Try 'veltrane-validate --help'" -- ${validate}
                --check no-such-check $<TARGET_FILE:veltrane>)
    list(APPEND tests ${prefix}validator_says_why_it_cannot_load_a_module
                      ${prefix}validator_points_at_its_help_for_a_bad_command_line)
    list(LENGTH validator_faults length)
    math(EXPR last "${length} - 1")
    foreach(position RANGE 0 ${last} 3)
        math(EXPR at_define "${position} + 1")
        math(EXPR at_check "${position} + 2")
        list(GET validator_faults ${position} fault)
        list(GET validator_faults ${at_define} define)
        list(GET validator_faults ${at_check} check)
        set(display "")
        if(NOT WIN32 AND (fault STREQUAL "none" OR check STREQUAL "editor"))
            if(NOT VELTRANE_DISPLAY_RUNNER OR NOT VELTRANE_VALIDATOR_X11)
                if(check STREQUAL "editor")
                    continue()
                endif()
            else()
                set(display ${VELTRANE_DISPLAY_RUNNER})
            endif()
        endif()
        veltrane_add_fault_plugin(${fault} "${define}")
        set(plugin $<TARGET_FILE:veltrane_fault_${fault}>)
        if(fault STREQUAL "none")
            set(name ${prefix}validator_battery_passes_on_a_plug_in_without_faults)
            add_test(NAME ${name}
                COMMAND ${display} ${check_run} passes -- ${validate} ${VELTRANE_BATTERY_OPTIONS}
                        ${plugin})
        else()
            string(REPLACE "-" "_" check_name ${check})
            set(name ${prefix}validator_fails_${check_name}_naming_seed_on_${fault})
            # The crash comes at a random call: the seed must replay it.
            set(replay "")
            if(fault STREQUAL "crash_on_null_pointer")
                set(replay --replay)
            endif()
            add_test(NAME ${name}
                COMMAND ${display} ${check_run} fails ${check} ${replay} --
                        ${validate} --check ${check} ${VELTRANE_BATTERY_OPTIONS} ${plugin})
        endif()
        list(APPEND tests ${name})
    endforeach()
    set(VELTRANE_VALIDATOR_TESTS ${tests} PARENT_SCOPE)
endfunction()

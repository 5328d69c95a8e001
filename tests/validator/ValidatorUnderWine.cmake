# veltrane-validate built for Windows, run under wine against this build's DLL and the fault
# DLLs. Included by tests/windows, which defines run_under_wine.
include(${CMAKE_CURRENT_LIST_DIR}/ValidatorTests.cmake)
veltrane_add_validator_tests(windows_ ${run_under_wine})
set_tests_properties(${VELTRANE_VALIDATOR_TESTS} PROPERTIES
    SKIP_RETURN_CODE 77 RESOURCE_LOCK wine TIMEOUT 900)

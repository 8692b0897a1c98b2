# Helpers for tests that run under Wine.

# A test that opens windows. Such tests share one screen, one focus and one
# cursor, so they run one at a time.
function(kelvaro_add_gui_test name)
    add_test(NAME ${name} COMMAND ${ARGN})
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK screen TIMEOUT 300)
endfunction()

# Windows programs the tests build link their runtime statically too.
function(kelvaro_windows_program target)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()

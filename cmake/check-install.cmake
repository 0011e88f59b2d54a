# Installs BUILD_DIR into a fresh PREFIX and fails unless every file of EXPECTED ("|"-separated,
# relative to PREFIX) arrived.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
string(REPLACE "|" ";" expected "${EXPECTED}")
foreach(file IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
message(STATUS "installed: ${expected}")
file(REMOVE_RECURSE ${PREFIX})

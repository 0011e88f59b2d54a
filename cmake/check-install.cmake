# Installs BUILD_DIR into a fresh PREFIX and fails unless every file of EXPECTED ("|"-separated,
# relative to PREFIX) arrived, the programs of STRIPPED carry no symbol table, and the desktop
# files pass the desktop's own checkers (each where it is installed: DESKTOP_VALIDATE,
# UPDATE_MIME, APPSTREAMCLI).
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

# Runs a checker that must succeed and say nothing (desktop-file-validate passes with hints).
function(check_quietly)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
        message(FATAL_ERROR "${ARGN}: ${result}\n${out}${err}")
    endif()
endfunction()

string(REPLACE "|" ";" stripped "${STRIPPED}")
if(READELF)
    foreach(file IN LISTS stripped)
        execute_process(COMMAND ${READELF} --section-headers ${PREFIX}/${file}
                        OUTPUT_VARIABLE sections)
        if(sections MATCHES "\\.symtab|\\.debug_info")
            message(FATAL_ERROR "not stripped: ${file}")
        endif()
    endforeach()
endif()

set(share ${PREFIX}/share)
if(DESKTOP_VALIDATE AND EXISTS ${share}/applications/zeigora.desktop)
    check_quietly(${DESKTOP_VALIDATE} ${share}/applications/zeigora.desktop)
endif()
if(UPDATE_MIME AND EXISTS ${share}/mime/packages/zeigora.xml)
    # Told that the folder is a data folder, so that it does not warn of an unknown one.
    check_quietly(${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${share} ${UPDATE_MIME} ${share}/mime)
    file(READ ${share}/mime/globs2 globs)
    foreach(type IN ITEMS "application/x-zeigora-phasors:\\*\\.zgf"
                          "application/x-zeigora-circuit:\\*\\.zgs")
        if(NOT globs MATCHES "${type}")
            message(FATAL_ERROR "file type missing from the database: ${type}")
        endif()
    endforeach()
    file(READ ${share}/mime/icons icons)
    if(NOT icons MATCHES "application/x-zeigora-phasors:zeigora")
        message(FATAL_ERROR "file type without the program's icon: ${icons}")
    endif()
endif()
if(APPSTREAMCLI)
    file(GLOB metainfo ${share}/metainfo/*.metainfo.xml)
    foreach(file IN LISTS metainfo)
        execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic ${file}
                        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "appstreamcli validate ${file}:\n${out}")
        endif()
    endforeach()
endif()
message(STATUS "installed: ${expected}")
file(REMOVE_RECURSE ${PREFIX})

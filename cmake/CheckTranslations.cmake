# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the sources into copies of the .ts files with lupdate and fails when any text has no
# finished translation, naming each. Run by ctest as translations_complete:
#   cmake -DLUPDATE=lupdate -DSOURCES=src "-DOPTIONS=-locations;none" "-DTS_FILES=a.ts;b.ts"
#         -DWORK_DIR=build/default/translation-check -P CheckTranslations.cmake
if(NOT EXISTS "${LUPDATE}")
    message("lupdate is not installed: translation check skipped")
    return()
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(faults "")
foreach(ts ${TS_FILES})
    get_filename_component(name ${ts} NAME)
    set(copy ${WORK_DIR}/${name})
    configure_file(${ts} ${copy} COPYONLY)
    execute_process(COMMAND ${LUPDATE} -silent -I ${SOURCES} ${OPTIONS} ${SOURCES} -ts ${copy}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name}:\n${output}")
    endif()
    # The entry's context and source text come before its translation.
    file(STRINGS ${copy} lines)
    set(context "")
    set(source "")
    foreach(line IN LISTS lines)
        if(line MATCHES "<name>(.*)</name>")
            set(context "${CMAKE_MATCH_1}")
        elseif(line MATCHES "<source>(.*)</source>")
            set(source "${CMAKE_MATCH_1}")
        elseif(line MATCHES "<source>(.*)")
            set(source "${CMAKE_MATCH_1} ...")
        elseif(line MATCHES "type=\"unfinished\"")
            string(APPEND faults "\n${name}: ${context}: ${source}")
        endif()
    endforeach()
endforeach()
if(NOT faults STREQUAL "")
    message(FATAL_ERROR "texts without a finished translation:${faults}")
endif()
message("every text has its translation")

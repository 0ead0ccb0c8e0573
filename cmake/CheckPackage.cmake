# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from an already built tree into WORK_DIR and has lintian review it;
# any error, warning or pedantic remark fails. Run by ctest as package_lintian:
#   cmake -DCPACK=cpack -DBUILD_DIR=build/default -DWORK_DIR=build/default/package-check -P CheckPackage.cmake
foreach(tool dpkg-deb lintian)
    find_program(found_${tool} ${tool} NO_CACHE)
    if(NOT found_${tool})
        message("${tool} is not installed: package check skipped")
        return()
    endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB package ${WORK_DIR}/*.deb)
list(LENGTH package count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack did not build one package:\n${output}")
endif()

execute_process(COMMAND lintian --pedantic --display-info --fail-on error,warning,pedantic ${package}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian found faults in ${package}")
endif()

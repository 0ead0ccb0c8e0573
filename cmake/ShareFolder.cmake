# SPDX-License-Identifier: GPL-3.0-or-later
# Copies share/<folder> beside the program in a build tree, so a build works like an installed
# copy, and installs it under <prefix>/share/quillery/<folder>; target names the copying step.
function(quillery_share_folder target folder)
    add_custom_target(${target} ALL
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/share/${folder}
                ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder}
        COMMENT "Copying share/${folder} beside the program")
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/share/${folder}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quillery/${folder})
endfunction()

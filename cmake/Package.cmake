# SPDX-License-Identifier: GPL-3.0-or-later
# "make package": a Debian package of everything "cmake --install" puts in place.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillery)
set(CPACK_PACKAGE_VENDOR "Quillery developers")
# The project has no public mail address yet; a publisher sets a real one here and in
# share/doc/changelog.
set(CPACK_PACKAGE_CONTACT "Quillery developers <quillery@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Card-file database for the desktop")
# Debian shows the description as it is: lines of at most 80 characters, paragraphs apart.
set(CPACK_PACKAGE_DESCRIPTION "\
Quillery keeps records of any kind in categories, each with a form of its
own design drawn on a grid. Records are browsed in a list that sorts by
any column and narrows with an instant filter.

Everything lives in one data file that can be protected by a password or
encrypted, backed up with one command, exchanged with spreadsheet
workbooks and printed. The package also holds quillery-cli, which reads
data files from scripts without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The package is built from this tree alone, a native package in Debian's terms: no Debian
# revision, and a Debian-format changelog installed as changelog.gz. Its top entry is this version.
file(STRINGS ${PROJECT_SOURCE_DIR}/share/doc/changelog QUILLERY_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT QUILLERY_CHANGELOG_TOP MATCHES "^quillery \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "share/doc/changelog needs an entry for version ${PROJECT_VERSION} at the top")
endif()

# Stripping leaves the compiler's version notes in the .comment section; packages drop them.
install(CODE "
if(CMAKE_INSTALL_DO_STRIP)
    foreach(program ${CMAKE_INSTALL_BINDIR}/quillery ${CMAKE_INSTALL_BINDIR}/quillery-cli
                    ${CMAKE_INSTALL_LIBEXECDIR}/quillery/quillery-cli-exchange)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${program}\"
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()")

# Lintian's review of the package built from this tree's programs.
if(QUILLERY_BUILD_TESTS)
    add_test(NAME package_lintian
             COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                     -DWORK_DIR=${CMAKE_BINARY_DIR}/package-check -P ${CMAKE_CURRENT_LIST_DIR}/CheckPackage.cmake)
    set_tests_properties(package_lintian PROPERTIES SKIP_REGULAR_EXPRESSION "package check skipped" TIMEOUT 600)
endif()

# "make package": a Debian package of everything "cmake --install" puts in place.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillery)
set(CPACK_PACKAGE_VENDOR "Quillery developers")
set(CPACK_PACKAGE_CONTACT "Quillery developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Card-file database for the desktop")
set(CPACK_PACKAGE_DESCRIPTION "Quillery keeps records of any kind in categories, each with a form \
of its own design. Records are browsed in a sortable, filtered list and kept in one data file that \
can be protected by a password, backed up, exchanged with spreadsheets and printed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

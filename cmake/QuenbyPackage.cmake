# A Debian package of what `cmake --install` puts in place (scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenby)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quenby developers")
set(CPACK_PACKAGE_CONTACT "The Quenby developers <quenby@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clean duplicate contacts out of an address book")
set(CPACK_PACKAGE_DESCRIPTION
    "Quenby for WAB groups the contacts of an address book that share an e-mail\n"
    "address and/or a display name, shows the duplicates of each contact with\n"
    "check boxes, and deletes the checked ones, or all but the first of every\n"
    "group. The wabtool command creates address books and imports and exports\n"
    "vCard and CSV files.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
# Folders in the package are 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quenby.example.org/wab/index.htm")
# Libraries the binaries link are found by dpkg-shlibdeps; the address-book
# library is the package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# (relative to the package's root, where dpkg-shlibdeps runs).
string(REGEX REPLACE "^/+" "" private_dir "${QUENBY_INSTALL_FULL_PKGDIR}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${private_dir})
# What no binary names: Qt's window-system plug-ins, the fonts the program
# registers at start, and xdg-open, through which it opens the help and the
# web page.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wine, fonts-dejavu-core, xdg-utils")
# The help needs a CHM viewer; the title bar's system menu has Chinese
# captions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm, fonts-wqy-microhei")

include(CPack)

# `make package`: a Debian package of what the install() rules lay out, under /usr. Its library
# dependencies come from dpkg-shlibdeps (dpkg-dev), so they match the Qt the program was built
# against; the platform plugins come with libqt6gui6.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR Marrowby)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Marrowby <orvane@marrowby.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calendar and diary with recurring entries")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orvane shows five weeks of a two-year calendar as a grid of day notes.
It writes daily, weekly, monthly and yearly entries into every matching day,
keeps the days that leave the calendar in an archive, searches the notes,
shows today's sunrise, sunset and moon phase and prints the grid.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The notes' font family stands in for the Windows fonts; the help page and Error.doc open with
# the desktop's default applications.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")
include(CPack)

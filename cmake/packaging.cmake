# The Debian package of the program, made by CPack from the install rules.
#
#   cmake --workflow --preset release
#   cpack --preset release            # or plain `cpack` inside build/release
#
# gives build/release/talvor_<version>_<arch>.deb with talvor, talvor-sum, the
# desktop entry, the icons and the manual page under /usr. The library
# dependencies are read from the binaries by dpkg-shlibdeps (package
# dpkg-dev), so the package asks for exactly the Qt it was built against.

if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()

set(CPACK_PACKAGE_NAME "talvor")
set(CPACK_PACKAGE_VENDOR "TALVOR project")
set(CPACK_PACKAGE_CONTACT "TALVOR project <talvor@invalid>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "adds up durations: seconds, minutes:seconds, hours:minutes:seconds")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "TALVOR adds up durations typed one per line, such as the track list of a\n"
    "record, and shows the total in seconds, as minutes:seconds and as\n"
    "hours:minutes:seconds. A second window spreads the entries over the two\n"
    "sides of a tape or record by drag and drop and writes a text report.\n"
    "The interface is Japanese.\n"
    "\n"
    "The package also holds talvor-sum, which adds up the lines of files or\n"
    "of standard input the same way.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "talvor")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")

if(NOT DEFINED CPACK_GENERATOR)
  set(CPACK_GENERATOR "DEB")
endif()

set(CPACK_DEBIAN_PACKAGE_NAME "talvor")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TALVOR project <talvor@invalid>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without a Japanese font the windows show boxes instead of their captions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic")
# Directories such as /usr/share/applications belong to other packages; the
# package must not claim them with modes of its own.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

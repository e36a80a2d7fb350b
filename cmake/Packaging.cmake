# `cpack -G DEB` in the build folder makes cs42_<version>_amd64.deb from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cs42)
set(CPACK_PACKAGE_VENDOR "CS-42 maintainers")
set(CS42_MAINTAINER "CS-42 maintainers <maintainers@cs42.invalid>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_PACKAGE_CONTACT "${CS42_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Alabama child-support guidelines worksheet (form CS-42)")
# CPack puts the summary first: this is the extended description only.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A desktop program for law offices that prepares the Alabama child-support
guidelines worksheet, court form CS-42 (Rule 32, Alabama Rules of Judicial
Administration): a library of cases, a directory of people and firms, every
line of the worksheet from the Schedule of Basic Child-Support Obligations, a
written explanation, and the filled court form as a PDF file.
.
The package carries the schedule in force since May 1, 2022, and the
command-line companion cs42-admin.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its database drivers as plugins, which the binaries do not link: SQLite for the files,
# PostgreSQL for an office server.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# SPDX-License-Identifier: GPL-3.0-or-later

# Debian package: `cpack -G DEB` in the build folder.
set(VELKARO_PACKAGE_MAINTAINER "Zelvor Yazılım <yazilim@zelvor.com.tr>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME velkaro-arama)
set(CPACK_PACKAGE_VENDOR Zelvor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Turkish tax law (VUK) depreciation rate lookup")
set(CPACK_PACKAGE_DESCRIPTION
    "Finds the depreciation rate (amortisman oranı) and useful life that the Turkish tax
procedure law (VUK) sets for a fixed asset. Type one or two words; the list narrows to
the matching entries, compared the Turkish way, and one keystroke copies the
description, the useful life or the rate. Ships an excerpt of the official list.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.zelvor.com.tr/)
set(CPACK_PACKAGE_CONTACT ${VELKARO_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELKARO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked, so dpkg-shlibdeps cannot see it: the program draws with Liberation Sans
# in place of the Windows fonts its forms name.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Qt's own Turkish (the line edits' menu, --help's frame); without it only those texts
# stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)

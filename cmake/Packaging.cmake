# Installed documents and a Debian package made by CPack (scripts/package makes it).
# Configure with -DCMAKE_INSTALL_PREFIX=/usr for a package: the command line finds its picture
# module through the path from the program's folder to the library folder fixed at configure time.

set(CORRELATORE_PACKAGE_MAINTAINER "The correlatore developers <correlatore@example.org>"
    CACHE STRING "The package's maintainer, as \"Name <address>\"")

# ---- Documents: the licence as a machine-readable copyright file, and the changelog --------------
# The copyright file carries the licence text of LICENSE, indented as the format wants it.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" licence_terms "${licence}")
string(STRIP "${licence_terms}" licence_terms)
string(REGEX REPLACE "\n\n" "\n.\n" licence_terms "${licence_terms}")
string(REGEX REPLACE "\n" "\n " licence_terms "${licence_terms}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/doc/copyright CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: correlatore

Files: *
Copyright: 2026 The correlatore developers
License: Expat
 ${licence_terms}
")
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${PROJECT_BINARY_DIR}/doc/changelog
               @ONLY)
correlatore_install_gzipped(${PROJECT_BINARY_DIR}/doc/changelog ${CMAKE_INSTALL_DOCDIR})

# ---- The Debian package --------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME correlatore)
set(CPACK_PACKAGE_VENDOR "The correlatore developers")
set(CPACK_PACKAGE_CONTACT "${CORRELATORE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# Stripped as Debian's tools strip, with their options, which CPACK_STRIP_FILES cannot pass.
set(CPACK_STRIP_PROGRAM ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/strip.cmake)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching tool for polarity-coincidence correlators")
set(CPACK_PACKAGE_DESCRIPTION
"Correlatore plots, against the input signal-to-noise ratio Si/Ni in dB, the
theoretical output correlation of two hard-clipped noisy signals (the arcsine
law) and a Monte Carlo simulation of a polarity-coincidence correlator, so that
students see simulation meet theory. The window's texts are in Italian.
.
The command correlatore-cli writes the same curves as CSV data, or draws the
chart into PNG and SVG pictures without a display.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries (dpkg-shlibdeps); the window's font is loaded by name, so it
# is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Qt's own texts (the lists' edit menu) are in Italian only with Qt's translations; without them
# the window works, with those few words in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

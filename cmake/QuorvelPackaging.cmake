# `cpack -G DEB` in the build folder: two Debian packages, `quorvel` (the
# programs) and `quorvel-plot-dev` (the chart component as a library). The
# programs' dependencies come from the shared libraries they really link
# (dpkg-shlibdeps, from dpkg-dev).
set(QUORVEL_PACKAGE_MAINTAINER "Quorvel developers <quorvel@localhost>"
    CACHE STRING "Maintainer field of the Debian packages")

set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR Brindlemark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QUORVEL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Set up, download and chart a battery-powered temperature recorder")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL app plot_dev)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORVEL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_APP_PACKAGE_NAME quorvel)
set(CPACK_DEBIAN_APP_PACKAGE_SECTION science)
# Chart texts are laid out for the metric-compatible Liberation fonts.
set(CPACK_DEBIAN_APP_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_APP_PACKAGE_SUGGESTS "cups")
set(CPACK_COMPONENT_APP_DESCRIPTION
    "Desktop tool and command line for a temperature recorder on a serial port
Sets up a recording, downloads it, shows its reports and charts, prints them
and keeps the files; quorvel-cli does the same without a window and
quorvel-recorder-sim simulates a recorder.")

set(CPACK_DEBIAN_PLOT_DEV_PACKAGE_NAME quorvel-plot-dev)
set(CPACK_DEBIAN_PLOT_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PLOT_DEV_PACKAGE_DEPENDS "qt6-base-dev, qt6-svg-dev")
set(CPACK_COMPONENT_PLOT_DEV_DESCRIPTION
    "Quorvel's chart component as a C++ library
Headers, static libraries and the QuorvelPlot CMake package: series, axes,
drawing surface, zoom and printing in plain C++, with Qt canvases and a host
widget.")

include(CPack)

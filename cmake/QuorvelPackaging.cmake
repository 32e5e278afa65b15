# `cpack -G DEB` in the build folder: two Debian packages, `quorvel` (the
# programs) and `quorvel-plot-dev` (the chart component as a library). The
# programs' dependencies come from the shared libraries they really link
# (dpkg-shlibdeps, from dpkg-dev). Each package's description starts with
# its own summary line.
set(QUORVEL_PACKAGE_MAINTAINER "Quorvel developers <quorvel@localhost>"
    CACHE STRING "Maintainer field of the Debian packages")

set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR Brindlemark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QUORVEL_PACKAGE_MAINTAINER}")
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
set(CPACK_DEBIAN_APP_DESCRIPTION
    "set up, download and chart a temperature recorder on a serial port
The desktop tool for a battery-powered temperature recorder: sets up a
recording, downloads it, shows its reports and charts, prints them and keeps
the files. quorvel-cli does the same without a window; quorvel-recorder-sim
simulates a recorder.")

set(CPACK_DEBIAN_PLOT_DEV_PACKAGE_NAME quorvel-plot-dev)
set(CPACK_DEBIAN_PLOT_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PLOT_DEV_PACKAGE_DEPENDS "qt6-base-dev, qt6-svg-dev")
set(CPACK_DEBIAN_PLOT_DEV_DESCRIPTION
    "chart component of Quorvel as a C++ library
Headers, static libraries and the QuorvelPlot CMake package: series, axes,
drawing surface, zoom and printing in plain C++, with Qt canvases and a host
widget.")

include(CPack)

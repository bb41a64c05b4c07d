# A Debian package of what `cmake --install` puts (see install.cmake), installed under /usr:
#   cpack -G DEB        in a build folder; scripts/package does it for a Release build.
# The package's Depends come from dpkg-shlibdeps (dpkg-dev), which names the packages that
# hold the shared libraries the two programs link. The GL drivers they load at run time
# come in with libglvnd's packages, which depend on Mesa's.
set(TARVELIN_PACKAGE_CONTACT "Tarvelin developers <tarvelin@localhost>" CACHE STRING
  "Maintainer of the Debian package: whoever builds it for others sets their own name and address")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TARVELIN_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "OpenGL 1.1 benchmark of 2D and 3D drawing")
# Lines as they stand in the package's control file; an empty one separates paragraphs.
set(CPACK_PACKAGE_DESCRIPTION "\
Tarvelin times 49 fixed OpenGL 1.1 tests, each in a real GL window: 26
two-dimensional raster tests (glDrawPixels, glCopyPixels under the logic
operations, pixel zoom) and 23 three-dimensional tests (lines, points, shaded,
fogged and antialiased polygons, stencil, accumulation, lighting, texturing).
It writes a report with one score per test, the test's reference time divided
by its measured time times 100. It runs from a start panel, unattended or
off-screen through EGL, and can check its pictures against reference pictures.

tarvelin-compare sets the scores of several runs side by side, as a table or a
bar chart, and decides whether a later run got slower or faster.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Shipped binaries carry no debugging information, whatever the build type.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TARVELIN_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The report opens in the desktop's viewer through xdg-open; without it the run still works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)

include(CPack)

# What `cmake --install BUILD --prefix PREFIX` puts where:
#   bin/                               tarvelin and tarvelin-compare
#   share/man/man1/                    both programs' manual pages
#   share/applications/tarvelin.desktop  the start panel in the desktop's menu
#   share/metainfo/org.example.tarvelin.metainfo.xml
#                                      its description for software centres (AppStream)
#   share/icons/hicolor/*/apps/        the icon, made from the built-in picture
#   share/doc/tarvelin/                README.md, docs/ and the picture's source and licence
#   share/tarvelin/reference/          the reference pictures of a validation run
include(GNUInstallDirs)

# The icon is the built-in picture as the program draws it: a small tool linked with the
# generated picture source writes it as a PNG with libpng. 256 is the picture's own size; 128
# averages each 2 x 2 square.
add_executable(picture_icon ${CMAKE_SOURCE_DIR}/src/core/picture_icon_tool.cpp ${PICTURE_CPP})
target_include_directories(picture_icon PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(picture_icon PRIVATE PNG::PNG)
set(TARVELIN_ICON_SIZES 128 256)
set(icons)
foreach(size ${TARVELIN_ICON_SIZES})
  set(icon ${CMAKE_BINARY_DIR}/generated/icon-${size}.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND picture_icon ${icon} ${size}
    DEPENDS picture_icon
    COMMENT "Making the ${size} x ${size} icon")
  list(APPEND icons ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME tarvelin.png)
endforeach()
add_custom_target(icons ALL DEPENDS ${icons})

install(TARGETS tarvelin tarvelin-compare RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/man/tarvelin.1 ${CMAKE_SOURCE_DIR}/man/tarvelin-compare.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The pictures a validation run compares with; the installed program finds
# them beside its own folder.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/reference/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvelin/reference)
install(FILES ${CMAKE_SOURCE_DIR}/data/tarvelin.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# Software centres show screenshots only from the web, so the AppStream description names the
# home page, and the screenshots under it, as a distributor sets it. The default is a reserved
# placeholder domain: the project has no public home page.
set(TARVELIN_HOMEPAGE "https://tarvelin.example.org/" CACHE STRING
  "Home page for the package and AppStream data; the screenshots in docs/ must be there")
if(NOT TARVELIN_HOMEPAGE MATCHES "^https?://[^/]+")
  message(FATAL_ERROR "TARVELIN_HOMEPAGE must be an http(s) URL, not \"${TARVELIN_HOMEPAGE}\"")
endif()
string(REGEX REPLACE "/+$" "" TARVELIN_HOMEPAGE_BASE "${TARVELIN_HOMEPAGE}")
set(TARVELIN_APPSTREAM_ID org.example.tarvelin)
configure_file(${CMAKE_SOURCE_DIR}/data/${TARVELIN_APPSTREAM_ID}.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/generated/${TARVELIN_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/${TARVELIN_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The documents keep their places relative to README.md, so that its links still lead
# somewhere.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB tarvelin_docs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.md ${CMAKE_SOURCE_DIR}/docs/*.png)
install(FILES ${tarvelin_docs} DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(FILES ${CMAKE_SOURCE_DIR}/assets/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR}/assets)

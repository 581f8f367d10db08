# Installation layout and the Debian package (CPack) of vexil: program, desktop entry, icons,
# AppStream metadata, manual page and the HTML manual.
include(GNUInstallDirs)

set(VEXIL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(VEXIL_GENERATED_DIR ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS vexil RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/app/vexil.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/app/vexil.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vexil/help)
install(FILES ${VEXIL_PACKAGING_DIR}/io.github.vexil.Vexil.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Bitmap icons for desktops that do not scale the SVG, drawn from it at build time.
find_program(VEXIL_RSVG_CONVERT rsvg-convert)
if(VEXIL_RSVG_CONVERT)
  set(icons "")
  foreach(size 48 256)
    set(png ${VEXIL_GENERATED_DIR}/icons/${size}/vexil.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VEXIL_GENERATED_DIR}/icons/${size}
      COMMAND ${VEXIL_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/app/vexil.svg
      DEPENDS ${CMAKE_SOURCE_DIR}/app/vexil.svg VERBATIM)
    list(APPEND icons ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(vexil_icons ALL DEPENDS ${icons})
else()
  message(STATUS "rsvg-convert not found: only the scalable icon is installed")
endif()

# Debian keeps manual pages and changelogs compressed, reproducibly (no name, no time).
find_program(VEXIL_GZIP gzip REQUIRED)
set(manpage ${VEXIL_GENERATED_DIR}/vexil.1.gz)
set(changelog ${VEXIL_GENERATED_DIR}/changelog.gz)
add_custom_command(OUTPUT ${manpage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VEXIL_GENERATED_DIR}
  COMMAND ${VEXIL_GZIP} -9nc ${VEXIL_PACKAGING_DIR}/vexil.1 > ${manpage}
  DEPENDS ${VEXIL_PACKAGING_DIR}/vexil.1)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VEXIL_GENERATED_DIR}
  COMMAND ${VEXIL_GZIP} -9nc ${VEXIL_PACKAGING_DIR}/changelog > ${changelog}
  DEPENDS ${VEXIL_PACKAGING_DIR}/changelog)
add_custom_target(vexil_docs ALL DEPENDS ${manpage} ${changelog})
install(FILES ${manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${changelog} ${VEXIL_PACKAGING_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vexil)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexil)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vexil developers")
set(CPACK_PACKAGE_CONTACT "Vexil developers <vexil@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for comma- and TAB-separated tables")
# The long description; CPack puts the summary above it as the synopsis and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vexil shows a CSV or TSV file as a grid of cells with a Japanese user
interface: edit cells in place, sort, filter, find and replace, join and
split columns, colour cells and print. Files are read and written in
Shift-JIS, UTF-8 and UTF-16 with their own line ends and quoting.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps; the X11 platform plugin, the Japanese font and Qt's own
# Japanese texts are loaded at run time and so are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)

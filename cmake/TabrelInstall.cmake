# What `cmake --install` puts where, and the Debian package cpack builds
# from it. Included last, once every program's target exists.
#
#   bin/                                  the programs
#   share/applications/<id>.desktop       the desktop entry
#   share/icons/hicolor/*/apps/<id>.*     the icon: SVG, and PNGs rendered from it
#   share/metainfo/<id>.metainfo.xml      AppStream metainfo
#   share/man/man1/<program>.1.gz         a man page for each program that has one
#   share/doc/tabrel/copyright            the licence
#
# Each target named in the foreach below that exists is installed, listed in
# the metainfo's <provides>, and must have its man page as
# packaging/man/<program>.1 (the install check fails without one). The
# command line, tabrel-cli, is named already and joins once its target does.
include(GNUInstallDirs)

set(TABREL_APP_ID org.example.Tabrel)
set(TABREL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(TABREL_ICON_SIZES 16 32 48 64 128 256)

set(TABREL_PROGRAMS)
foreach(program IN ITEMS tabrel tabrel-cli)
  if(TARGET ${program})
    list(APPEND TABREL_PROGRAMS ${program})
  endif()
endforeach()
if(TABREL_PROGRAMS)
  install(TARGETS ${TABREL_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Man pages, compressed as Debian keeps them.
find_program(TABREL_GZIP gzip REQUIRED)
foreach(program IN LISTS TABREL_PROGRAMS)
  set(page ${TABREL_PACKAGING_DIR}/man/${program}.1)
  if(EXISTS ${page})
    set(packed ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(
      OUTPUT ${packed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${TABREL_GZIP} -9nc ${page} > ${packed}
      DEPENDS ${page}
      COMMENT "Compressing the man page of ${program}")
    add_custom_target(${program}_man ALL DEPENDS ${packed})
    install(FILES ${packed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tabrel
        RENAME copyright)

if(TARGET tabrel)
  # The icon is drawn once, as SVG; the PNG sizes are rendered from it.
  find_program(TABREL_RSVG_CONVERT rsvg-convert)
  if(NOT TABREL_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert renders the program's icon: install the Debian package "
                        "librsvg2-bin (scripts/tabrel.sh does)")
  endif()
  set(svg ${TABREL_PACKAGING_DIR}/${TABREL_APP_ID}.svg)
  set(pngs)
  foreach(size IN LISTS TABREL_ICON_SIZES)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${TABREL_APP_ID}.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${TABREL_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${svg}
      DEPENDS ${svg}
      COMMENT "Rendering the ${size}x${size} icon"
      VERBATIM)
    list(APPEND pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  # The window shows the same icon when the program runs from the build
  # folder, where no icon theme knows it.
  qt_add_resources(tabrel tabrel_icons PREFIX /icons BASE ${CMAKE_BINARY_DIR}/icons FILES ${pngs})
  install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  install(FILES ${TABREL_PACKAGING_DIR}/${TABREL_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  list(TRANSFORM TABREL_PROGRAMS PREPEND "    <binary>" OUTPUT_VARIABLE binaries)
  list(TRANSFORM binaries APPEND "</binary>")
  list(JOIN binaries "\n" TABREL_METAINFO_BINARIES)
  configure_file(${TABREL_PACKAGING_DIR}/${TABREL_APP_ID}.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/${TABREL_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${TABREL_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# cpack: a Debian package installed under /usr. dpkg-shlibdeps (dpkg-dev)
# finds the libraries' packages; Qt's platform plugins are loaded at run
# time, so no library names them and they are listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabrel)
set(CPACK_PACKAGE_VENDOR "The Tabrel developers")
set(CPACK_PACKAGE_CONTACT "The Tabrel developers <tabrel@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://tabrel.example.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "address book for one person")
# The long description's lines, each under 80 characters as Debian wants.
set(CPACK_PACKAGE_DESCRIPTION
    "Tabrel keeps people and organisations with their postal addresses,
telephone numbers, e-mail and web addresses, keywords and notes. It
selects them by keyword or word search and prints phone lists, full
records, address labels and envelopes.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opened at the first sync, so the library scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libcurl4")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsecret-1-0")
set(CPACK_STRIP_FILES ON)
include(CPack)

# The install check: a scratch install in the build folder, then the
# desktop's own validators over it (skipped where they are not installed).
if(BUILD_TESTING AND TARGET tabrel)
  set(prefix ${CMAKE_BINARY_DIR}/install-test)
  set(check ${CMAKE_SOURCE_DIR}/tests/install/check_install.sh)
  add_test(NAME Install.Layout
           COMMAND bash ${check} layout ${CMAKE_BINARY_DIR} ${prefix} ${TABREL_APP_ID}
                   ${TABREL_PROGRAMS})
  add_test(NAME Install.Validators COMMAND bash ${check} validators ${prefix} ${TABREL_APP_ID})
  set_tests_properties(Install.Layout PROPERTIES FIXTURES_SETUP tabrel_installed)
  set_tests_properties(Install.Validators PROPERTIES FIXTURES_REQUIRED tabrel_installed
                                                     SKIP_RETURN_CODE 77)
endif()

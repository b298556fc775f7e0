# Installing Reefbook as a desktop program (cmake --install, or the Debian package below):
# the two programs, the help file, the launcher entry, icons, AppStream data and manual pages.
set(res ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS reefbook reefbook-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${res}/RB.HLP DESTINATION ${REEFBOOK_DATADIR})
install(FILES ${res}/reefbook.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${res}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
configure_file(${res}/org.example.reefbook.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/org.example.reefbook.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/org.example.reefbook.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages from each program's --help.
set(man_pages "")
foreach(page reefbook reefbook-cli)
  if(page STREQUAL "reefbook")
    set(summary "logbook for scuba divers")
  else()
    set(summary "read, check and export Reefbook logs without a window")
  endif()
  set(out ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
      ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${page}> -DNAME=${page} "-DSUMMARY=${summary}"
      -DVERSION=${PROJECT_VERSION} -DTAIL=${res}/man/${page}.tail -DOUT=${out}
      -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS ${page} ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake ${res}/man/${page}.tail
    COMMENT "Manual page for ${page}" VERBATIM)
  list(APPEND man_pages ${out})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What a Debian package needs beside the program: who made it and under what terms, and a
# change log.
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/reefbook)
install(FILES ${res}/debian/copyright DESTINATION ${docdir})
set(changelog ${PROJECT_BINARY_DIR}/changelog)
configure_file(${res}/debian/changelog.in ${changelog} @ONLY)
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND gzip -9nkf ${changelog} DEPENDS ${changelog} VERBATIM)
add_custom_target(deb_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${docdir})

# The Debian package: cpack -G DEB in the build folder (scripts/package does it).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME reefbook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Reefbook makers")
set(CPACK_PACKAGE_CONTACT "The Reefbook makers <reefbook@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "logbook for scuba divers")
set(CPACK_PACKAGE_DESCRIPTION
  "Reefbook keeps a scuba diver's logbook: every dive with its date and times,
tank pressures, depth, visibility, temperatures, conditions, location, buddy,
gear, a comment and a rating. It keeps running totals, selects dives by
criteria, records a time and depth profile of each dive, prints with a preview
and exports dives as text or as a web page. Several divers can keep separate
logs on one computer. reefbook-cli reads, checks and exports the same files
from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://reefbook.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The printed pages and PDF exports name Arial and Courier New; these are their metric twins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

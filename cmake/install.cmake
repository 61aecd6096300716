# Installing Kontura as a desktop program, and its Debian package.
#
#   cmake --install build/release --prefix /usr      (or DESTDIR=... for a tree)
#   make deb                                          (a .deb through CPack)
#
# Installed: the two programs, the help page in <datadir>/kontura (the
# program finds it there relative to itself, platform/help_page.h), the
# desktop entry, the icon in the hicolor theme, the AppStream metainfo and
# the manual pages.

include(GNUInstallDirs)

set(KONTURA_PACKAGE_VERSION "2010.1.0" CACHE STRING
    "Package version; the program calls itself \"Version 2010-1.0\", a Debian version takes no hyphen")
set(KONTURA_LICENSE "LicenseRef-proprietary" CACHE STRING "SPDX licence of the program, for the metainfo")
set(KONTURA_HOMEPAGE_URL "https://kontura.example.org" CACHE STRING
    "Web address of the program; the metainfo's screenshot lies below it")
set(KONTURA_MAINTAINER "Kontura <kontura@localhost>" CACHE STRING "Maintainer field of the Debian package")
set(KONTURA_APP_ID "de.kontura.Kontura")

# The help page's directory as seen from the program's.
file(RELATIVE_PATH KONTURA_DATA_DIR_FROM_BIN
     "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}/kontura")
set_property(SOURCE ${CMAKE_SOURCE_DIR}/platform/help_page.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS "KONTURA_DATA_DIR_FROM_BIN=\"${KONTURA_DATA_DIR_FROM_BIN}\"")

configure_file(${CMAKE_SOURCE_DIR}/data/desktop/${KONTURA_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${KONTURA_APP_ID}.metainfo.xml @ONLY)

# Debian keeps manual pages compressed.
find_program(GZIP_PROGRAM gzip)
set(KONTURA_MAN_PAGES kontura.1 kontura-tool.1)
set(KONTURA_MAN_FILES)
foreach(page ${KONTURA_MAN_PAGES})
  if(GZIP_PROGRAM)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/man/${page} ${CMAKE_BINARY_DIR}/man/${page}
      COMMAND ${GZIP_PROGRAM} -9nf ${CMAKE_BINARY_DIR}/man/${page}
      DEPENDS ${CMAKE_SOURCE_DIR}/data/man/${page} VERBATIM)
    list(APPEND KONTURA_MAN_FILES ${CMAKE_BINARY_DIR}/man/${page}.gz)
  else()
    list(APPEND KONTURA_MAN_FILES ${CMAKE_SOURCE_DIR}/data/man/${page})
  endif()
endforeach()
add_custom_target(kontura-man ALL DEPENDS ${KONTURA_MAN_FILES})

install(TARGETS kontura-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KONTURA_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(KONTURA_GUI)
  install(TARGETS kontura RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/data/help/kontura-hilfe.html DESTINATION ${CMAKE_INSTALL_DATADIR}/kontura)
  install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/${KONTURA_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/${KONTURA_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_BINARY_DIR}/${KONTURA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The Debian package. Library dependencies come from dpkg-shlibdeps; the Qt
# platform plugins and the fonts the windows are laid out for are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kontura)
set(CPACK_PACKAGE_VERSION ${KONTURA_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "Kontura")
set(CPACK_PACKAGE_CONTACT ${KONTURA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "contest logger for the Großraum-Mobilwettbewerb 80m")
# The summary above is the description's first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kontura logs the Großraum-Mobilwettbewerb 80m: a catalogue of contest
entries, a keyboard entry mask for every QSO, duplicate checks per band,
points equal to the distance in km, and E-Log, ADIF and CSV output.
The program speaks German. kontura-tool checks, lists and rebuilds its
files on the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KONTURA_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hamradio-files")
set(CPACK_STRIP_FILES ON)
include(CPack)

# The installation as a desktop sees it, and a menu start of the installed
# program (tests/install/).
if(KONTURA_GUI)
  add_test(NAME InstallTree
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check_install.sh ${CMAKE_BINARY_DIR})
  add_test(NAME InstalledProgramMenuStart
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/installed_start_test.sh ${CMAKE_BINARY_DIR})
  # Both write the build's install_manifest.txt: one at a time.
  set_tests_properties(InstallTree InstalledProgramMenuStart PROPERTIES
                       ENVIRONMENT "${KONTURA_TEST_ENV}" RESOURCE_LOCK kontura_install_manifest)
  set_tests_properties(InstalledProgramMenuStart PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()

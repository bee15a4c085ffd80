# Installation and the Debian package: the two programs, the help pages, the desktop entry and
# the icon, in the usual places under the prefix. The help window looks for its pages in
# share/kalkora/help beside the installed program.
include(GNUInstallDirs)

foreach(program kalkora kalkora-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kalkora/help
        FILES_MATCHING PATTERN "*.html")

if(KALKORA_BUILD_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/kalkora.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 32)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/kalkora${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME kalkora.png)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME kalkora)
set(CPACK_PACKAGE_VENDOR "Kalkora")
set(CPACK_PACKAGE_CONTACT "Kalkora <kalkora@kalkora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fertigungskostenberechnung: Kalkulation der Herstellkosten von Produktionsteilen")
set(CPACK_PACKAGE_DESCRIPTION
    "Kalkora berechnet aus Werksdaten, Maschinendaten und Fertigungsaufträgen die direkten Kosten und die Vollkosten je Stück. Das Paket enthält das Programm kalkora (Qt 6) und das Befehlszeilenprogramm kalkora-cli.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY kalkora)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The file and print dialogs and the message boxes speak German with Qt's own translation.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

# Installation and the Debian package: the two programs with their manual pages, the help pages,
# the desktop entry, icons, file types and AppStream description, and the package documentation
# (copyright, changelog, examples) in the usual places under the prefix. The help window looks
# for its pages in share/kalkora/help beside the installed program.
include(GNUInstallDirs)

# Debian's documentation folder is named after the package, not after the project.
set(KALKORA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kalkora)

foreach(program kalkora kalkora-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kalkora/help
        FILES_MATCHING PATTERN "*.html")

# Manual pages and the changelog are installed compressed, without name and time stamp in the
# gzip header, so that the package is reproducible.
find_program(KALKORA_GZIP gzip REQUIRED)
set(compressed_files)
foreach(source kalkora.1 kalkora-cli.1 changelog)
  set(target ${PROJECT_BINARY_DIR}/packaging/${source}.gz)
  add_custom_command(
    OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND ${KALKORA_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${source} > ${target}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source}
    COMMENT "Compressing ${source}"
    VERBATIM)
  list(APPEND compressed_files ${target})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${compressed_files})

install(FILES ${PROJECT_BINARY_DIR}/packaging/kalkora-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${KALKORA_DOC_DIR})
install(FILES ${KALKORA_EXAMPLE_FILES} DESTINATION ${KALKORA_DOC_DIR}/examples)

if(KALKORA_BUILD_GUI)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/kalkora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/kalkora.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/kalkora.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          RENAME example.kalkora.Kalkora.metainfo.xml)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/kalkora-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME kalkora.xml)
  # 16 and 32 pixels are drawn by hand; the larger sizes are rendered from the SVG
  # (scripts/render-icons.sh).
  set(icons ${PROJECT_SOURCE_DIR}/resources/kalkora16.png ${PROJECT_SOURCE_DIR}/resources/kalkora32.png)
  foreach(size 22 24 48 64 128 256)
    list(APPEND icons ${PROJECT_SOURCE_DIR}/resources/icons/kalkora${size}.png)
  endforeach()
  foreach(icon IN LISTS icons)
    string(REGEX MATCH "[0-9]+\\.png$" size ${icon})
    string(REPLACE ".png" "" size ${size})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kalkora.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/kalkora.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME kalkora)
set(CPACK_PACKAGE_VENDOR "Kalkora")
set(CPACK_PACKAGE_CONTACT "Kalkora <kalkora@kalkora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fertigungskostenberechnung: Herstellkosten von Produktionsteilen")
# Debian wraps the extended description at 80 columns; each line is one line of the control file.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Kalkora berechnet die Fertigungskosten eines Produktionsteils. Aus den"
  "Werksdaten, den Maschinen und einem Fertigungsauftrag mit seinen Arbeitsgängen"
  "ermittelt es die Maschinenstundensätze und einen Bericht mit den direkten"
  "Kosten und den Vollkosten je Stück, für jeden Arbeitsgang und den ganzen"
  "Auftrag, den es anzeigt und druckt. Dateien der früheren DM-Ausgabe werden"
  "beim Laden in Euro umgerechnet."
  ""
  "Das Paket enthält die Anwendung kalkora (Qt 6) und das Befehlszeilenprogramm"
  "kalkora-cli, das denselben Bericht ausgibt und Stammdaten und Aufträge in"
  "JSON und zurück wandelt.")
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

# Where the programs and their files go when installed, and the Debian package made from that
# (scripts/package.sh). Installed under /usr, the programs find their contest through the
# folder the user chooses (remembered), the user manual in share/velmora beside their bin
# folder, and Qt's Spanish translation and plugins from the system.

# Sanitizer and fuzzing builds are for finding faults, never for handing out.
if(VELMORA_SANITIZE OR VELMORA_FUZZ)
  return()
endif()

include(GNUInstallDirs)

# Installing (and so CPack) copies what scripts/package.sh has built instead of building every
# target first: the tests, benchmarks and fuzz drivers have no place in the package, and
# building them would make packing a fresh checkout several times slower.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(velmora_dist ${PROJECT_SOURCE_DIR}/dist)
set(velmora_staged ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS velmora velmora-oficina velmora-tools RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop entries and icons, one per window program. The PNG sizes are drawn from the SVG.
set(velmora_window_programs velmora velmora-oficina)
set(velmora_icon_sizes 16 22 24 32 48 64 128 256)
find_program(RSVG_CONVERT rsvg-convert)
set(velmora_icon_pngs)
foreach(program IN LISTS velmora_window_programs)
  install(FILES ${velmora_dist}/linux/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${velmora_dist}/icons/${program}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  if(RSVG_CONVERT)
    foreach(size IN LISTS velmora_icon_sizes)
      set(png ${velmora_staged}/icons/${size}x${size}/${program}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${velmora_staged}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${velmora_dist}/icons/${program}.svg
        DEPENDS ${velmora_dist}/icons/${program}.svg VERBATIM)
      list(APPEND velmora_icon_pngs ${png})
      install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
  else()
    message(STATUS "rsvg-convert not found: the package would carry the SVG icons only (scripts/setup.sh installs it)")
  endif()
endforeach()

# Manual pages (Spanish, the users' language) and the package's changelog, compressed as
# Debian wants them; the user manual the "Ayuda" menu falls back on when a contest has none.
find_program(GZIP gzip REQUIRED)
set(velmora_manpages velmora velmora-oficina velmora-tools)
set(velmora_compressed)
foreach(page IN LISTS velmora_manpages)
  set(gz ${velmora_staged}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${velmora_staged}/man
    COMMAND ${GZIP} -9nc ${velmora_dist}/man/${page}.1 > ${gz}
    DEPENDS ${velmora_dist}/man/${page}.1 VERBATIM)
  list(APPEND velmora_compressed ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(velmora_changelog ${velmora_staged}/doc/changelog.gz)
add_custom_command(OUTPUT ${velmora_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${velmora_staged}/doc
  COMMAND ${GZIP} -9nc ${velmora_dist}/debian/changelog > ${velmora_changelog}
  DEPENDS ${velmora_dist}/debian/changelog VERBATIM)
file(STRINGS ${velmora_dist}/debian/changelog velmora_changelog_head LIMIT_COUNT 1)
if(NOT velmora_changelog_head MATCHES "\\(${PROJECT_VERSION}\\)")
  message(WARNING "dist/debian/changelog does not start with version ${PROJECT_VERSION}: add an entry")
endif()

set(velmora_user_manual "${velmora_staged}/share/Manual de Usuario.doc")
add_custom_command(OUTPUT ${velmora_user_manual}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${velmora_staged}/share
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:velmora-tools> manual ${velmora_staged}/share
  DEPENDS velmora-tools VERBATIM)

add_custom_target(velmora_package_files ALL
  DEPENDS ${velmora_icon_pngs} ${velmora_compressed} ${velmora_changelog} ${velmora_user_manual})

install(FILES ${velmora_user_manual} DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora)
set(velmora_docdir ${CMAKE_INSTALL_DATADIR}/doc/velmora)
install(FILES ${velmora_dist}/debian/copyright ${velmora_changelog} DESTINATION ${velmora_docdir})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Proyecto Velmora")
set(CPACK_PACKAGE_CONTACT "Proyecto Velmora <velmora@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "solicitudes de concurso de traslados del servicio de salud")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora prepara, guarda e imprime la solicitud de un concurso de traslados del\n\
personal de un servicio público de salud: datos personales y profesionales,\n\
plazas por orden de preferencia, cursos y documentos, en el impreso oficial con\n\
códigos de barras PDF417.\n\
.\n\
velmora-oficina lee las solicitudes impresas y escaneadas que recibe la oficina\n\
del concurso; velmora-tools escribe un concurso de ejemplo para probarlo.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries linked are found by dpkg-shlibdeps; what is only loaded at run time is named:
# Qt's window-system plugins, its Spanish translation, the fonts the printed form is laid
# out with, and NSS's tools, which import a certificate file into the certificate database.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation, libnss3-tools")
# Opening the printed PDF and the manual with the desktop's programs; TIFF scans in the office.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
include(CPack)

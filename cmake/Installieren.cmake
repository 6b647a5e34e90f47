# Installing the program and packaging it for Debian.
#
# `cmake --install` puts the command line `tilvendo` with its manual page and bash
# completion and, when it is built, the wizard `nubo-tilvendo` with its manual page,
# desktop entry, icon and AppStream metainfo into the prefix, the catalogues into
# share/locale (cmake/Kataloge.cmake), and the README in English and German with the
# copyright notice into share/doc/nubo-tilvendo/.
# `cpack -G DEB` makes a Debian package of the same files.
include(GNUInstallDirs)

set(TILVENDO_PAKET nubo-tilvendo)
# Under example.org, which is reserved for documentation and belongs to nobody: the
# program has no domain of its own yet.
set(TILVENDO_ANWENDUNGS_ID org.example.NuboTilvendo)
set(TILVENDO_KONTAKT "Nubo Tilvendo <nubo-tilvendo@localhost>")
set(TILVENDO_DATEN ${PROJECT_SOURCE_DIR}/ui/daten)
set(TILVENDO_DOKU_ORDNER ${CMAKE_INSTALL_DATADIR}/doc/${TILVENDO_PAKET})

install(TARGETS tilvendo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The manual pages: English as the default, German under de/.
set(tilvendo_handbuecher tilvendo.1)
if(TARGET nubo-tilvendo)
  list(APPEND tilvendo_handbuecher nubo-tilvendo.1)
endif()
foreach(seite ${tilvendo_handbuecher})
  install(FILES ${PROJECT_SOURCE_DIR}/man/${seite} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/man/de/${seite} DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)
endforeach()
# Where bash-completion looks for the completion of a command of the same name.
install(FILES ${PROJECT_SOURCE_DIR}/cli/daten/tilvendo.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tilvendo)
if(TARGET nubo-tilvendo)
  install(TARGETS nubo-tilvendo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Made from the templates in ui/daten/ with the catalogues (cmake/Kataloge.cmake).
  install(FILES ${TILVENDO_DATEN_ERZEUGT}/applications/${TILVENDO_ANWENDUNGS_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${TILVENDO_DATEN_ERZEUGT}/metainfo/${TILVENDO_ANWENDUNGS_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${TILVENDO_DATEN}/nubo-tilvendo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The copyright notice in Debian's machine-readable form; the licence text itself is
# the system's copy of the GPL.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/copyright @ONLY CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Nubo Tilvendo
Upstream-Contact: @TILVENDO_KONTAKT@

Files: *
Copyright: Die Entwickler von Nubo Tilvendo
License: GPL-3.0-or-later

License: GPL-3.0-or-later
 This program is free software: you can redistribute it and/or modify
 it under the terms of the GNU General Public License as published by
 the Free Software Foundation, either version 3 of the License, or
 (at your option) any later version.
 .
 This program is distributed in the hope that it will be useful,
 but WITHOUT ANY WARRANTY; without even the implied warranty of
 MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
 GNU General Public License for more details.
 .
 On Debian systems, the complete text of the GNU General Public License
 version 3 can be found in \"/usr/share/common-licenses/GPL-3\".
")
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/README.de.md
              ${PROJECT_BINARY_DIR}/copyright
        DESTINATION ${TILVENDO_DOKU_ORDNER})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TILVENDO_PAKET})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Nubo Tilvendo")
set(CPACK_PACKAGE_CONTACT ${TILVENDO_KONTAKT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make photo mosaics from your own photos")
set(CPACK_PACKAGE_DESCRIPTION
    "Nubo Tilvendo divides a template picture into a grid of tiles and replaces every
tile with one of your own photos whose colours match that part of the template. A
wizard in English or German leads through template, size, tiling, albums and
settings, up to posters for printing; the command tilvendo computes the same
without a window.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The completion of `tilvendo <TAB>` is loaded by bash-completion.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS bash-completion)

# What the wizard loads at run time without linking it: the SVG plugin for the icons,
# Qt's German texts, the icon theme of the glyphs and a font with German letters.
# Both programs copy the map viewer into every web page they save.
set(tilvendo_laufzeit "libjs-leaflet")
if(TARGET nubo-tilvendo)
  string(APPEND tilvendo_laufzeit
         ", libqt6svg6, qt6-translations-l10n, breeze-icon-theme, fonts-dejavu-core")
endif()
# The linked libraries with their versions, under the names of the system that builds
# the package; without dpkg-shlibdeps those of Debian 12.
find_program(TILVENDO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TILVENDO_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${tilvendo_laufzeit}")
else()
  set(tilvendo_bibliotheken
      "libc6, libstdc++6, libjpeg62-turbo, libmount1, libblkid1, ${tilvendo_laufzeit}")
  if(TARGET nubo-tilvendo)
    string(APPEND tilvendo_bibliotheken ", libqt6core6, libqt6gui6, libqt6widgets6")
  endif()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${tilvendo_bibliotheken}")
endif()

include(CPack)

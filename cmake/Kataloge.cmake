# The translations: one gettext catalogue per language in po/ (po/en.po, …), whose keys
# are the German texts of the code. Each is compiled into share/locale of the build tree,
# where the programs of the build find it beside their folder, and installed into
# share/locale of the prefix. A new language needs nothing but its .po file.
#
# The desktop entry and the AppStream metainfo come from German templates in ui/daten/
# through the same catalogues; their untagged texts are then made English, as software
# centres show them to everyone, and the German ones tagged "de".
include(GNUInstallDirs)

find_program(TILVENDO_MSGFMT msgfmt)
if(NOT TILVENDO_MSGFMT)
  message(FATAL_ERROR "msgfmt is missing: werkzeuge/einrichten.sh installs it (gettext).")
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

file(GLOB tilvendo_po_dateien CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
set(TILVENDO_SPRACHEN "")
set(tilvendo_kataloge "")
set(TILVENDO_KATALOG_ORDNER ${PROJECT_BINARY_DIR}/share/locale)
foreach(po ${tilvendo_po_dateien})
  get_filename_component(sprache ${po} NAME_WE)
  list(APPEND TILVENDO_SPRACHEN ${sprache})
  set(mo ${TILVENDO_KATALOG_ORDNER}/${sprache}/LC_MESSAGES/nubo-tilvendo.mo)
  add_custom_command(
    OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TILVENDO_KATALOG_ORDNER}/${sprache}/LC_MESSAGES
    COMMAND ${TILVENDO_MSGFMT} --check-header --check-domain -o ${mo} ${po}
    DEPENDS ${po}
    COMMENT "Catalogue ${sprache}"
    VERBATIM)
  list(APPEND tilvendo_kataloge ${mo})
  install(FILES ${mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${sprache}/LC_MESSAGES)
endforeach()

# The desktop entry and the metainfo in every language of po/, English untagged.
set(TILVENDO_DATEN_ERZEUGT ${PROJECT_BINARY_DIR}/share)
set(tilvendo_desktop ${TILVENDO_DATEN_ERZEUGT}/applications/org.example.NuboTilvendo.desktop)
set(tilvendo_metainfo ${TILVENDO_DATEN_ERZEUGT}/metainfo/org.example.NuboTilvendo.metainfo.xml)
set(tilvendo_englisch_zuerst ${PROJECT_SOURCE_DIR}/cmake/englisch_zuerst.py)
foreach(art desktop xml)
  if(art STREQUAL desktop)
    set(vorlage ${PROJECT_SOURCE_DIR}/ui/daten/org.example.NuboTilvendo.desktop.in)
    set(ziel ${tilvendo_desktop})
  else()
    set(vorlage ${PROJECT_SOURCE_DIR}/ui/daten/org.example.NuboTilvendo.metainfo.xml.in)
    set(ziel ${tilvendo_metainfo})
  endif()
  add_custom_command(
    OUTPUT ${ziel}
    COMMAND ${Python3_EXECUTABLE} ${tilvendo_englisch_zuerst} ${TILVENDO_MSGFMT} ${art} ${vorlage}
            ${PROJECT_SOURCE_DIR}/po ${ziel}
    DEPENDS ${vorlage} ${tilvendo_po_dateien} ${tilvendo_englisch_zuerst}
    COMMENT "Desktop data ${art}"
    VERBATIM)
endforeach()

add_custom_target(kataloge ALL DEPENDS ${tilvendo_kataloge} ${tilvendo_desktop} ${tilvendo_metainfo})

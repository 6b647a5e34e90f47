# Run as a test: cmake -DQUELLE=<project folder> -P SchichtenPruefen.cmake
# Fails when a file includes a header of a folder it must not depend on. The folders
# form layers, each built only on those below it:
#   platform → pictures → albums → engine → wizard → ui, and cli on engine beside wizard.
# A layer that reached upwards would tie the core to the front ends (or to Qt) and
# could close a cycle the build does not notice until much later.
cmake_minimum_required(VERSION 3.25)

set(erlaubt_platform platform)
set(erlaubt_pictures platform pictures)
set(erlaubt_albums platform pictures albums)
set(erlaubt_engine platform pictures albums engine)
set(erlaubt_wizard platform pictures albums engine wizard)
set(erlaubt_cli platform pictures albums engine cli)
set(erlaubt_ui platform pictures albums engine wizard ui)
set(schichten platform pictures albums engine wizard cli ui)

set(verstoesse "")
foreach(schicht ${schichten})
  file(GLOB_RECURSE dateien "${QUELLE}/${schicht}/*.h" "${QUELLE}/${schicht}/*.cpp")
  foreach(datei ${dateien})
    file(STRINGS "${datei}" zeilen REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
    foreach(zeile ${zeilen})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z_]+)/.*" "\\1" ziel "${zeile}")
      if(ziel IN_LIST schichten AND NOT ziel IN_LIST erlaubt_${schicht})
        file(RELATIVE_PATH name "${QUELLE}" "${datei}")
        string(APPEND verstoesse "  ${name}: ${zeile}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(verstoesse)
  message(FATAL_ERROR "Includes against the layers:\n${verstoesse}")
endif()

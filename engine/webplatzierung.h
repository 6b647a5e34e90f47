// Which photo stands in which cell, as the script a saved web page reads to name the photo
// under the pointer: one compact file for the whole mosaic (one number per cell, each
// photo's names once), never one page element per cell.
#pragma once

#include <string>

#include "engine/mosaikplan.h"

namespace tilvendo {

// The script assigning `window.tilvendoPlatzierung`: the grid, the tile size, the photos
// as [file name, album, file:// address of the original] and the cells row by row, each
// the photo's number from 1 (0 for a cell left empty). The album is the folder the photo
// lies in. Every name is a JSON string that cannot end the script or start markup,
// whatever bytes the file's name holds.
std::string WebPlatzierung(const Mosaikplan& plan);

}  // namespace tilvendo

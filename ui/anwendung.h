// What every Qt program of ours sets up first: German everywhere (Qt's own dialogs
// included), Qt's own file dialogs, the icon theme of our glyphs and the window icon.
#pragma once

namespace tilvendo::ui {

void AnwendungEinrichten();

}  // namespace tilvendo::ui

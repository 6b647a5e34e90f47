// Which class shows which page.
#pragma once

#include <cstdint>
#include <memory>

namespace tilvendo::ui {

class Assistent;
class Seite;

// The page of number 1..10 but 8 (the album page's own editor), or null.
std::unique_ptr<Seite> SeiteErzeugen(Assistent& assistent, uint16_t nummer);

}  // namespace tilvendo::ui

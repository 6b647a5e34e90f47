// Which class shows which page.
#pragma once

#include <cstdint>
#include <memory>

namespace tilvendo::ui {

class Assistent;
class Seite;

// The page of number 1..10, or null for any other number.
std::unique_ptr<Seite> SeiteErzeugen(Assistent& assistent, uint16_t nummer);

}  // namespace tilvendo::ui

#include "platform/utf8.h"

#include <gtest/gtest.h>

namespace tilvendo {
namespace {

// Valid sequences stay as they are, also beside bytes of another encoding in one name;
// each stray byte becomes its Windows-1252 character.
TEST(Utf8, StrayBytesBecomeTheirWindows1252CharactersAndValidOnesStay) {
  EXPECT_EQ(AsUtf8("/Fotos/Äpfel/Gr\xfc\xdf"
                   "e \x80.jpg"),
            "/Fotos/Äpfel/Grüße €.jpg");
  EXPECT_EQ(AsUtf8("\xe2\x82"), "â‚");        // a sequence cut short: two stray bytes
  EXPECT_EQ(AsUtf8("\x81"), "\xEF\xBF\xBD");  // undefined in Windows-1252
  EXPECT_EQ(AsUtf8("\xc0\xaf"), "À¯");        // an overlong form is no character
  // Surrogates and what lies beyond U+10FFFF are no characters; their neighbours are.
  EXPECT_EQ(AsUtf8("\xed\xa0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");  // U+D800: "í", NBSP, "€"
  EXPECT_EQ(AsUtf8("\xed\xbf\xbf"), "\xC3\xAD\xC2\xBF\xC2\xBF");      // U+DFFF: "í¿¿"
  EXPECT_EQ(AsUtf8("\xf4\x90\x80\x80"), "\xC3\xB4\xEF\xBF\xBD\xE2\x82\xAC\xE2\x82\xAC");
  for (const char* gueltig : {"\xed\x9f\xbf", "\xee\x80\x80", "\xf4\x8f\xbf\xbf"}) {
    EXPECT_TRUE(IsUtf8(gueltig)) << gueltig;  // U+D7FF, U+E000, U+10FFFF
    EXPECT_EQ(AsUtf8(gueltig), gueltig);
  }
  EXPECT_TRUE(IsUtf8("ü😀"));
  EXPECT_FALSE(IsUtf8("\xfc"));
  EXPECT_EQ(FromWindows1252("\xe4\x9f"), "äŸ");
}

}  // namespace
}  // namespace tilvendo

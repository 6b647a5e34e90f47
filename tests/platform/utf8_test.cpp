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
  EXPECT_TRUE(IsUtf8(AsUtf8("\xed\xa0\x80\xf4\x90\x80\x80")));  // surrogate, beyond U+10FFFF
  EXPECT_TRUE(IsUtf8("ü😀"));
  EXPECT_FALSE(IsUtf8("\xfc"));
  EXPECT_EQ(FromWindows1252("\xe4\x9f"), "äŸ");
}

}  // namespace
}  // namespace tilvendo

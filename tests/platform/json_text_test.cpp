#include "platform/json_text.h"

#include <gtest/gtest.h>

namespace tilvendo {
namespace {

// Names of photos are data: whatever they hold, the literal cannot close a script, open
// markup or break the string.
TEST(JsonString, HostileNamesStayInsideTheString) {
  EXPECT_EQ(JsonString("<img src=x onerror=alert(1)>.jpg"),
            "\"\\u003Cimg src=x onerror=alert(1)\\u003E.jpg\"");
  EXPECT_EQ(JsonString("</script>"), "\"\\u003C/script\\u003E\"");
  EXPECT_EQ(JsonString("a\"b\\c'd&e"), "\"a\\u0022b\\u005Cc\\u0027d\\u0026e\"");
  EXPECT_EQ(JsonString("zeile\nzwei\r\t\x01"), "\"zeile\\u000Azwei\\u000D\\u0009\\u0001\"");
  EXPECT_EQ(JsonString("\xE2\x80\xA8|\xE2\x80\xA9"), "\"\\u2028|\\u2029\"");
  EXPECT_EQ(JsonString(""), "\"\"");
}

TEST(JsonString, KeepsValidUtf8AndReplacesEveryOtherByte) {
  EXPECT_EQ(JsonString("Müller 😀 ~\x7F"), "\"Müller 😀 ~\x7F\"");
  EXPECT_EQ(JsonString("a\xFF"
                       "b"),
            "\"a\\uFFFDb\"");
  EXPECT_EQ(JsonString("\xC3"), "\"\\uFFFD\"");                        // cut short at the end
  EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\uFFFD\\uFFFD\\uFFFD\"");  // a surrogate
  EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"\\uFFFD\\uFFFD\\uFFFD\\uFFFD\"");  // > U+10FFFF
  EXPECT_EQ(JsonString("\xF4\x8F\xBF\xBF"), "\"\xF4\x8F\xBF\xBF\"");              // U+10FFFF itself
}

TEST(PercentEncoded, KeepsOnlyTheUnreservedBytesAndSlashes) {
  EXPECT_EQ(PercentEncoded("/home/a-b_c.d~/x.jpg"), "/home/a-b_c.d~/x.jpg");
  EXPECT_EQ(PercentEncoded("a b#?%\"<'\xFF"), "a%20b%23%3F%25%22%3C%27%FF");
  EXPECT_EQ(PercentEncoded("Zz09"), "Zz09");
}

}  // namespace
}  // namespace tilvendo

#include "util/cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252Test, MapsEveryByteBothWaysAndMarksWhatHasNoByte) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(util::to_cp1252(util::from_cp1252(all)), all);
    EXPECT_EQ(util::from_cp1252("\x80"), "\u20AC");
    EXPECT_EQ(util::from_cp1252("\x9F"), "\u0178");
    EXPECT_EQ(util::from_cp1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(util::from_cp1252("caf\xE9"), "caf\u00E9");
    EXPECT_EQ(util::to_cp1252("\u2122 \u00E9"), "\x99 \xE9");
    EXPECT_EQ(util::to_cp1252("\u4E2D\U0001F600x"), "??x");
    EXPECT_EQ(util::to_cp1252("a\xC3"), "a?");     // cut short
    EXPECT_EQ(util::to_cp1252("\xC0\x80"), "?");   // overlong NUL
    EXPECT_EQ(util::to_cp1252("\xFF\xFE"), "??");  // never valid in UTF-8
    EXPECT_EQ(util::cp1252_from_utf16(u"2.0\u20AC"), "2.0\x80");
    EXPECT_EQ(util::cp1252_from_utf16(u"\U0001F600!"), "?!");
    const char16_t stray[] = {0xD800, u'a', 0};
    EXPECT_EQ(util::cp1252_from_utf16(stray), "?a");
}

}  // namespace

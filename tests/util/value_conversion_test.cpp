#include "util/value_conversion.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

TEST(ValueConversionTest, EveryIntegerReadsBackAsWritten) {
    for (int value = std::numeric_limits<std::int16_t>::min();
         value <= std::numeric_limits<std::int16_t>::max(); ++value) {
        const auto number = static_cast<std::int16_t>(value);
        ASSERT_EQ(util::parse_integer16(util::format_integer16(number)), number) << value;
    }
    EXPECT_EQ(util::format_integer16(-32768), "-32768");
    EXPECT_EQ(util::format_integer16(0), "0");
}

TEST(ValueConversionTest, IntegersAllowBlanksSignsLeadingZerosAndRoundHalvesToEven) {
    EXPECT_EQ(util::parse_integer16("  2509 "), 2509);
    EXPECT_EQ(util::parse_integer16("\t-7\t"), -7);
    EXPECT_EQ(util::parse_integer16("+5"), 5);
    EXPECT_EQ(util::parse_integer16("007"), 7);
    EXPECT_EQ(util::parse_integer16("-0"), 0);
    EXPECT_EQ(util::parse_integer16("0000000000000000000000032767"), 32767);
    const std::pair<const char*, int> cases[] = {
        {"2509.5", 2510},    {"2510.5", 2510},     {"-0.5", 0},     {"0.5", 0},
        {"1.5", 2},          {"-1.5", -2},         {"-2.5", -2},    {"2509.4999", 2509},
        {"2509.6", 2510},    {"2510.50001", 2511}, {"2509.", 2509}, {".5", 0},
        {".51", 1},          {"-.7", -1},          {"2.000", 2},    {"-32768.5", -32768},
        {"32767.49", 32767}, {"-32768.4", -32768}, {" 3.5 ", 4},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(util::parse_integer16(text), expected) << text;
    }
}

TEST(ValueConversionTest, IntegersOutsideSixteenBitsOrMalformedFail) {
    for (const char* text : {"40000", "32768", "-32769", "32767.5", "-32768.6", "65536",
                             "99999999999999999999", "-99999999999999999999.5"}) {
        EXPECT_EQ(util::parse_integer16(text), std::nullopt) << text;
    }
    for (const char* text :
         {"",     " ",    ".",     "-",    "+",     "- 5", "1 2", "+-1", "--1",      "1e3", "1E3",
          "0x10", "&H10", "1,000", "1..2", "1.2.3", "12a", "a12", "1\n", "\xD9\xA1", "True"}) {
        EXPECT_EQ(util::parse_integer16(text), std::nullopt) << text;
    }
}

TEST(ValueConversionTest, BooleansAcceptWordsInAnyCaseAndNumbersButNoOtherWords) {
    // Numbers are not rounded and not range checked: only zero itself is false.
    for (const char* text :
         {"True", " tRuE\t", "1", "-1", "0.4", "0.5", "-0.001", "40000", "99999999999999999999"}) {
        EXPECT_EQ(util::parse_boolean(text), true) << text;
    }
    for (const char* text : {"FALSE", "0", "-0", "0.0", "+.000", " 00 "}) {
        EXPECT_EQ(util::parse_boolean(text), false) << text;
    }
    for (const char* text : {"yes", "no", "on", "T", "F", "", "Tru", "Truee", "True False",
                             "\"True\"", "#TRUE#", "1e3", "0x1"}) {
        EXPECT_EQ(util::parse_boolean(text), std::nullopt) << text;
    }
    EXPECT_EQ(util::format_boolean(true), "True");
    EXPECT_EQ(util::format_boolean(false), "False");
}

}  // namespace

#include "sky/decimal_text.h"

#include <gtest/gtest.h>

namespace orvane::sky {
namespace {

TEST(DecimalText, ReadsPointCommaSignAndBlanks) {
    EXPECT_EQ(ParseDecimalText("-05.25"), -5.25);
    EXPECT_EQ(ParseDecimalText("-05,25"), -5.25);
    EXPECT_EQ(ParseDecimalText("120.40"), 120.4);
    EXPECT_EQ(ParseDecimalText(" +7 "), 7.0);
    EXPECT_EQ(ParseDecimalText("-6\r"), -6.0);
    EXPECT_EQ(ParseDecimalText("00.00"), 0.0);
    EXPECT_EQ(ParseDecimalText("5."), 5.0);
    EXPECT_EQ(ParseDecimalText(".5"), 0.5);
}

TEST(DecimalText, AnythingElseIsMissing) {
    for (const char* text : { "", "  ", "-", ".", "1.2.3", "1,2.3", "12a", "east", "1e3", "inf",
             "nan", "--1", "+-1", "1 2", "0x10" }) {
        EXPECT_FALSE(ParseDecimalText(text)) << '"' << text << '"';
    }
}

} // namespace
} // namespace orvane::sky

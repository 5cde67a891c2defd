#include "svy3/platform/string_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Texts that fit the function's own small buffer and texts that need a second pass.
TEST(StringFormat, ShortAndLongTextsComeOutWhole) {
    EXPECT_EQ(ZAR::StringFormat("%s", ""), "");
    EXPECT_EQ(ZAR::StringFormat("%s-%d", "line", 7), "line-7");
    for (size_t length : {62u, 63u, 64u, 300u}) {
        const std::string text(length, 'x');
        EXPECT_EQ(ZAR::StringFormat("%s|%d", text.c_str(), 5), text + "|5") << length;
    }
}

}  // namespace

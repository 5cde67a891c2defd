// The small platform helpers: message boxes, printf-style texts and file names in any case.
#include <gmock/gmock.h>

#include <string>

#include "support/test_support.h"
#include "svy3/platform/file_lookup.h"
#include "svy3/platform/message_box.h"
#include "svy3/platform/string_format.h"

namespace {

using testing::ElementsAre;
using testing::Pair;

TEST(MessageBox, HandlerReceivesTextAndIconIsRestoredAndDefaultWritesToStandardError) {
    {
        svy3_test::MessageBoxCapture capture;
        ZAR::ShowMessageBox("first", ZAR::MessageIcon::Exclamation);
        ZAR::ShowMessageBox("second", ZAR::MessageIcon::None);
        EXPECT_THAT(capture.messages(), ElementsAre(Pair("first", ZAR::MessageIcon::Exclamation),
                                                    Pair("second", ZAR::MessageIcon::None)));
    }
    // The capture put the default back: an empty handler is what was installed before it.
    EXPECT_FALSE(ZAR::SetMessageBoxHandler({}));
    testing::internal::CaptureStderr();
    ZAR::ShowMessageBox("to stderr", ZAR::MessageIcon::Exclamation);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr\n");
}

// Texts that fit the function's own small buffer and texts that need a second pass.
TEST(StringFormat, ShortAndLongTextsComeOutWhole) {
    EXPECT_EQ(ZAR::StringFormat("%s", ""), "");
    EXPECT_EQ(ZAR::StringFormat("%s-%d", "line", 7), "line-7");
    for (size_t length : {62u, 63u, 64u, 300u}) {
        const std::string text(length, 'x');
        EXPECT_EQ(ZAR::StringFormat("%s|%d", text.c_str(), 5), text + "|5") << length;
    }
}

TEST(FileLookup, FindsNamesThatDifferOnlyInLetterCase) {
    svy3_test::TempDir dir;
    for (const char* name : {"LINE01.HD", "Mixed.Hd", "exact.hd"})
        svy3_test::WriteFile(dir.File(name), "x");
    // Wanted and found; the last by a scan of the folder. Nothing matches: the path comes back
    // unchanged, also in a missing folder.
    const std::pair<const char*, const char*> cases[] = {
        {"exact.hd", "exact.hd"}, {"LINE01.hd", "LINE01.HD"},   {"line01.hd", "LINE01.HD"},
        {"other.hd", "other.hd"}, {"no/such.hd", "no/such.hd"}, {"MIXED.HD", "Mixed.Hd"}};
    for (const auto& [wanted, found] : cases)
        EXPECT_EQ(ZAR::FindFileIgnoringCase(dir.File(wanted)), dir.File(found));
    EXPECT_EQ(ZAR::FindFileIgnoringCase(""), "");
}

}  // namespace

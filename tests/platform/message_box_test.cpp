#include "svy3/platform/message_box.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

TEST(MessageBox, HandlerReceivesTextAndIconAndIsRestored) {
    {
        svy3_test::MessageBoxCapture capture;
        ZAR::ShowMessageBox("first", ZAR::MessageIcon::Exclamation);
        ZAR::ShowMessageBox("second", ZAR::MessageIcon::None);
        ASSERT_EQ(capture.messages().size(), 2u);
        EXPECT_EQ(capture.messages()[0].first, "first");
        EXPECT_EQ(capture.messages()[0].second, ZAR::MessageIcon::Exclamation);
        EXPECT_EQ(capture.messages()[1].second, ZAR::MessageIcon::None);
    }
    // The capture put the default back: an empty handler is what was installed before it.
    ZAR::MessageBoxHandler previous = ZAR::SetMessageBoxHandler({});
    EXPECT_FALSE(previous);
}

TEST(MessageBox, DefaultHandlerWritesToStandardError) {
    testing::internal::CaptureStderr();
    ZAR::ShowMessageBox("to stderr", ZAR::MessageIcon::Exclamation);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr\n");
}

}  // namespace

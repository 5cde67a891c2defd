// The compile-time version macros and the version resource compiled into the library come from
// one project version; a caller comparing them finds the same release.
#include <gtest/gtest.h>

#include <string>

#include "svy3/shell/version_resource.h"
#include "svy3/version.h"

namespace {

TEST(VersionMacros, AgreeWithTheResourceOfTheLinkedLibrary) {
    const ZAR::SVersionResource& resource = ZAR::GetVersionResource();
    for (const ZAR::SVersionNumber& number : {resource.fileVersion, resource.productVersion}) {
        EXPECT_EQ(number.major, SVY3_VERSION_MAJOR);
        EXPECT_EQ(number.minor, SVY3_VERSION_MINOR);
        EXPECT_EQ(number.revision, SVY3_VERSION_PATCH);
        EXPECT_EQ(number.build, SVY3_VERSION_BUILD);
    }
    const std::string joined =
        std::to_string(SVY3_VERSION_MAJOR) + "." + std::to_string(SVY3_VERSION_MINOR) + "." +
        std::to_string(SVY3_VERSION_PATCH) + "." + std::to_string(SVY3_VERSION_BUILD);
    EXPECT_EQ(joined, SVY3_VERSION_STRING);
    EXPECT_STREQ(resource.fileVersionText, SVY3_VERSION_STRING);
    EXPECT_STREQ(resource.productVersionText, SVY3_VERSION_STRING);
}

}  // namespace

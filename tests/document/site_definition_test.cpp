// The site definition read from a document, and the top-level interface that holds it.
#include "svy3/document/site_definition.h"

#include <gmock/gmock.h>

#include "support/document_support.h"
#include "svy3/document/svy_interface.h"

namespace {

using svy3_test::Join;
using svy3_test::Joined;
using testing::ElementsAre;
using testing::Pair;
using ZAR::CSiteDefinition;

class SiteDefinitionTest : public svy3_test::DocumentTest {
  protected:
    // Loads the index-th SiteDefinition of the document element; the cursor must come back.
    int32_t Load(CSiteDefinition& site, int index = 0) {
        m_file.GotoRootNode();
        EXPECT_EQ(m_file.GotoChildNode("SiteDefinition", index), 1);
        const int32_t result = site.Load(&m_file);
        EXPECT_EQ(Name(), "SiteDefinition") << "the cursor is back where it started";
        return result;
    }
};

TEST_F(SiteDefinitionTest, ReadsFieldsCommentsAndJobDate) {
    Open(
        "<ZAR_SVY><SiteDefinition version=\"1.1.0\"><CreatedBy name=\"x\"/>"
        "<Operator>Ann</Operator><!--note--><SiteName>Quarry</SiteName>"
        "<Comment number=\"3\">third</Comment><Comment number=\"1\">first</Comment>"
        "<Job date=\"2024-05-21\" time=\"13:04:05\">Unknown job</Job><Empty/>"
        "</SiteDefinition></ZAR_SVY>");
    CSiteDefinition site;
    EXPECT_EQ(Load(site), 1);
    EXPECT_THAT(site.m_fields, ElementsAre(Pair("Empty", ""), Pair("Job", "Unknown job"),
                                           Pair("Operator", "Ann"), Pair("SiteName", "Quarry")));
    EXPECT_EQ(Join(site.m_strVersion, Joined(site.m_comments), site.m_bJobDateValid,
                   site.m_jobDateTime.Format("%Y-%m-%d %H:%M:%S"), site.m_strJobDate),
              "1.1.0 first  third  1 2024-05-21 13:04:05  ");
    // A field is found by its exact name; a field not found leaves the value alone.
    const auto field = [&](const char* name) {
        std::string value = "unchanged";
        return Join(site.GetFieldString(name, value), value);
    };
    EXPECT_EQ(field("operator") + field("Operator"), "0 unchanged 1 Ann ");
}

TEST_F(SiteDefinitionTest, RepeatedFieldsBadJobsAndBadComments) {
    Open(
        "<ZAR_SVY><SiteDefinition><Operator>one</Operator><Operator>two</Operator>"
        "<Job time=\"10:00:00\"/></SiteDefinition>"
        "<SiteDefinition><Comment number=\"2\">ok</Comment><Comment number=\"x\">bad</Comment>"
        "</SiteDefinition><SiteDefinition><Comment number=\"100001\"/></SiteDefinition>"
        "<SiteDefinition><Comment number=\"100000\">last</Comment></SiteDefinition>"
        "<Other/></ZAR_SVY>");
    CSiteDefinition site;
    EXPECT_EQ(Load(site), 0);
    EXPECT_EQ(
        Join(site.m_fields["Operator"], site.m_strVersion, site.m_bJobDateValid, site.m_strJobDate),
        "one version 0 date 10:00:00 ");
    for (int index : {1, 2}) {
        CSiteDefinition bad;
        EXPECT_EQ(Load(bad, index), 0) << index;
    }
    CSiteDefinition largest;  // the largest comment number is taken
    ASSERT_EQ(Load(largest, 3), 1);
    EXPECT_EQ(Join(largest.m_comments.size(), largest.m_comments.back()), "100000 last ");
    m_file.GotoRootNode();
    ASSERT_EQ(m_file.GotoChildNode("Other"), 1);
    EXPECT_EQ(site.Load(&m_file) + site.Load(nullptr), 0);
}

TEST_F(SiteDefinitionTest, TopLevelInterfaceChecksTheVersion) {
    svy3_test::MessageBoxCapture boxes;
    Open(
        "<ZAR_SVY version=\"1.1.0\"><SiteDefinition><Operator>Bo</Operator></SiteDefinition>"
        "<Data/></ZAR_SVY>");
    auto opened = ZAR::CSvyInterface::CreateAndInit(&m_file);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetSiteDefinition()->m_fields["Operator"], "Bo");
    EXPECT_EQ(opened->GotoBlock("Data"), &m_file);
    EXPECT_EQ(Name(), "Data");

    Open("<ZAR_SVY version=\"1.2.0\"/>");
    opened = ZAR::CSvyInterface::CreateAndInit(&m_file);
    ASSERT_NE(opened, nullptr);
    EXPECT_THAT(boxes.messages(),
                ElementsAre(Pair(
                    "The following errors have occured while attempting to load SVY:\n(creating "
                    "a new SVY file and manually importing Lines in\nSVY_Edit may solve this "
                    "problem)\nWarning: You are attempting to open a SVY file that is not "
                    "support by the current version of the software. ",
                    ZAR::MessageIcon::Exclamation)));
    EXPECT_TRUE(opened->GetSiteDefinition()->m_fields.empty());

    Open("<ZAR_SVY/>");  // no version: nothing to compare, no box
    EXPECT_NE(ZAR::CSvyInterface::CreateAndInit(&m_file), nullptr);
    EXPECT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(ZAR::CSvyInterface::CreateAndInit(nullptr), nullptr);

    // Copies share the cursor and own their own site definition.
    ZAR::CSvyInterface_V110 first(&m_file);
    first.GetSiteDefinition()->m_fields["A"] = "1";
    ZAR::CSvyInterface_V110 copy(first);
    copy.GetSiteDefinition()->m_fields["A"] = "2";
    EXPECT_EQ(first.GetSiteDefinition()->m_fields["A"], "1");
    EXPECT_EQ(copy.GotoBlock("Nothing"), nullptr);
}

}  // namespace

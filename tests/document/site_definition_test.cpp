// The site definition read from a document, and the top-level interface that holds it.
#include "svy3/document/site_definition.h"

#include <gmock/gmock.h>

#include "support/document_support.h"
#include "svy3/document/svy_interface.h"

namespace {

using testing::ElementsAre;
using testing::Pair;
using ZAR::CDateTime;
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
    EXPECT_EQ(site.m_strVersion, "1.1.0");
    EXPECT_THAT(site.m_fields, ElementsAre(Pair("Empty", ""), Pair("Job", "Unknown job"),
                                           Pair("Operator", "Ann"), Pair("SiteName", "Quarry")));
    std::string value = "unchanged";
    EXPECT_EQ(site.GetFieldString("operator", value), 0);
    EXPECT_EQ(value, "unchanged");
    EXPECT_EQ(site.GetFieldString("Operator", value), 1);
    EXPECT_EQ(value, "Ann");
    EXPECT_THAT(site.m_comments, ElementsAre("first", "", "third"));
    EXPECT_EQ(site.m_bJobDateValid, 1);
    EXPECT_EQ(site.m_jobDateTime, CDateTime(2024, 5, 21, 13, 4, 5));
    EXPECT_EQ(site.m_strJobDate, "");
}

TEST_F(SiteDefinitionTest, RepeatedFieldsBadJobsAndBadComments) {
    Open(
        "<ZAR_SVY><SiteDefinition><Operator>one</Operator><Operator>two</Operator>"
        "<Job time=\"10:00:00\"/></SiteDefinition>"
        "<SiteDefinition><Comment number=\"2\">ok</Comment><Comment number=\"x\">bad</Comment>"
        "</SiteDefinition><SiteDefinition><Comment number=\"999999999\"/></SiteDefinition>"
        "<Other/></ZAR_SVY>");
    CSiteDefinition site;
    EXPECT_EQ(Load(site), 0);
    EXPECT_EQ(site.m_fields["Operator"], "one");
    EXPECT_EQ(site.m_strVersion, "version");
    EXPECT_EQ(site.m_bJobDateValid, 0);
    EXPECT_EQ(site.m_strJobDate, "date 10:00:00");
    for (int index : {1, 2}) {
        CSiteDefinition bad;
        EXPECT_EQ(Load(bad, index), 0) << index;
    }
    m_file.GotoRootNode();
    ASSERT_EQ(m_file.GotoChildNode("Other"), 1);
    EXPECT_EQ(site.Load(&m_file), 0);
    EXPECT_EQ(site.Load(nullptr), 0);
}

// The block as written (checked whole with the document creator) loads, whatever the header.
TEST_F(SiteDefinitionTest, WrittenBlockLoads) {
    Open("<ZAR_SVY/>");
    EXPECT_EQ(m_file.WriteSiteDefinition(ZAR::SCreatedBy(), m_dir.File("missing.hd")), 1);
    EXPECT_EQ(Name(), "ZAR_SVY");
    CSiteDefinition site;
    EXPECT_EQ(Load(site), 1);
    EXPECT_EQ(site.m_strJobDate, "Invalid DateTime Invalid DateTime");
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

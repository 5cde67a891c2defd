#include "svy3/document/site_definition.h"

#include <gtest/gtest.h>

#include "support/document_support.h"
#include "support/writer_support.h"
#include "svy3/document/svy_interface.h"

namespace {

using ZAR::CDateTime;
using ZAR::CSiteDefinition;
using ZAR::CSVYXmlFile;

class SiteDefinitionTest : public svy3_test::DocumentTest {
  protected:
    // The named fields as "name=text;" in name order.
    static std::string Fields(const CSiteDefinition& site) {
        std::string fields;
        for (const auto& field : site.m_fields)
            fields += field.first + "=" + field.second + ";";
        return fields;
    }
};

TEST_F(SiteDefinitionTest, ReadsFieldsCommentsAndJobDate) {
    Open(
        "<ZAR_SVY><SiteDefinition version=\"1.1.0\"><CreatedBy name=\"x\"/>"
        "<Operator>Ann</Operator><!--note--><SiteName>Quarry</SiteName>"
        "<Comment number=\"3\">third</Comment><Comment number=\"1\">first</Comment>"
        "<Job date=\"2024-05-21\" time=\"13:04:05\">Unknown job</Job><Empty/>"
        "</SiteDefinition></ZAR_SVY>");
    ASSERT_EQ(m_file.GotoChildNode("SiteDefinition"), 1);
    CSiteDefinition site;
    EXPECT_EQ(site.Load(&m_file), 1);
    EXPECT_EQ(Name(), "SiteDefinition");
    EXPECT_EQ(site.m_strVersion, "1.1.0");
    EXPECT_EQ(Fields(site), "Empty=;Job=Unknown job;Operator=Ann;SiteName=Quarry;");
    std::string value = "unchanged";
    EXPECT_EQ(site.GetFieldString("operator", value), 0);
    EXPECT_EQ(value, "unchanged");
    EXPECT_EQ(site.GetFieldString("Operator", value), 1);
    EXPECT_EQ(value, "Ann");
    EXPECT_EQ(site.m_comments, (std::vector<std::string>{"first", "", "third"}));
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
    ASSERT_EQ(m_file.GotoChildNode("SiteDefinition", 0), 1);
    CSiteDefinition site;
    EXPECT_EQ(site.Load(&m_file), 0);
    EXPECT_EQ(site.m_fields["Operator"], "one");
    EXPECT_EQ(site.m_strVersion, "version");
    EXPECT_EQ(site.m_bJobDateValid, 0);
    EXPECT_EQ(site.m_strJobDate, "date 10:00:00");

    m_file.GotoParentNode();
    for (int index : {1, 2}) {
        ASSERT_EQ(m_file.GotoChildNode("SiteDefinition", index), 1);
        CSiteDefinition bad;
        EXPECT_EQ(bad.Load(&m_file), 0) << index;
        EXPECT_EQ(Name(), "SiteDefinition") << "the cursor is back where it started";
        m_file.GotoParentNode();
    }
    ASSERT_EQ(m_file.GotoChildNode("Other"), 1);
    EXPECT_EQ(site.Load(&m_file), 0);
    EXPECT_EQ(site.Load(nullptr), 0);
}

TEST_F(SiteDefinitionTest, WrittenBlockReadsBack) {
    Open("<ZAR_SVY/>");
    ZAR::SGprParam param = svy3_test::SampleHeader();  // dated 2024-05-21 13:04:05
    svy3_test::SaveHeader(m_dir.File("GOOD.HD"), param);
    param.DateTime = "not a date";
    svy3_test::SaveHeader(m_dir.File("BAD.HD"), param);
    ZAR::SCreatedBy creator;
    creator.name = "svy3";
    for (const std::string header : {"GOOD.HD", "BAD.HD", "missing.hd"}) {
        const bool good = header == "GOOD.HD";
        const std::string when = good ? "2024-05-21 13:04:05" : "Invalid DateTime";
        m_file.GotoRootNode();
        EXPECT_EQ(m_file.WriteSiteDefinition(creator, m_dir.File(header)), 1);
        EXPECT_EQ(Name(), "ZAR_SVY");
        ASSERT_EQ(m_file.GotoChildNode("SiteDefinition"), 1);
        CSiteDefinition site;
        EXPECT_EQ(site.Load(&m_file), 1);
        EXPECT_EQ(Fields(site),
                  "CompanyName=NA;Job=Unknown job " + when + ";Operator=NA;SiteName=NA;")
            << header;
        // An unreadable date writes "Invalid DateTime" as both the date and the time.
        EXPECT_EQ(site.m_bJobDateValid, good ? 1 : 0);
        EXPECT_EQ(site.m_strJobDate, good ? "" : "Invalid DateTime Invalid DateTime");
        if (good) {
            EXPECT_EQ(site.m_jobDateTime, CDateTime(2024, 5, 21, 13, 4, 5));
        }
        ZAR::SCreatedBy records[2];
        EXPECT_EQ(m_file.GetCreatedByBlock(records, 2), 1);
        EXPECT_EQ(records[0].name, "svy3");
        m_file.RemoveCurrentNode();
    }
}

TEST_F(SiteDefinitionTest, TopLevelInterfaceChecksTheVersion) {
    svy3_test::MessageBoxCapture boxes;
    Open(
        "<ZAR_SVY version=\"1.1.0\"><SiteDefinition><Operator>Bo</Operator></SiteDefinition>"
        "<Data/></ZAR_SVY>");
    auto opened = ZAR::CSvyInterface::CreateAndInit(&m_file);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(boxes.messages().empty());
    EXPECT_EQ(opened->GetSiteDefinition()->m_fields["Operator"], "Bo");
    EXPECT_EQ(opened->GotoBlock("Data"), &m_file);
    EXPECT_EQ(Name(), "Data");

    Open("<ZAR_SVY version=\"1.2.0\"/>");
    opened = ZAR::CSvyInterface::CreateAndInit(&m_file);
    ASSERT_NE(opened, nullptr);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages()[0].first,
              "The following errors have occured while attempting to load SVY:\n(creating a new "
              "SVY file and manually importing Lines in\nSVY_Edit may solve this problem)\n"
              "Warning: You are attempting to open a SVY file that is not support by the current "
              "version of the software. ");
    EXPECT_EQ(boxes.messages()[0].second, ZAR::MessageIcon::Exclamation);
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

// Creating a project document from a selection of data files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <boost/filesystem.hpp>
#include <pugixml.hpp>

#include "support/radar_files.h"
#include "support/test_support.h"
#include "support/xml_outline.h"
#include "svy3/datablock/svy_data_block_interface.h"
#include "svy3/settings/settings_block_v110.h"
#include "svy3/shell/line_offset_prompt.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using ZAR::CSVYXmlFile;

const char kFailure[] = "The SVY file could not be created due to the following error(s):\n";

class DocumentCreatorTest : public testing::Test {
  protected:
    void SetUp() override {
        m_previousPrompt = ZAR::SetLineOffsetPrompt([this](std::string& text) {
            ++m_prompts;
            if (m_answer.empty())
                return false;
            text = m_answer;
            return true;
        });
        m_createdBy.name = "creator test";
        m_createdBy.version = "2.0";
        m_createdBy.DIP = "7";
        m_createdBy.dateTime = ZAR::CDateTime(2024, 6, 1, 8, 0, 0);
        m_target = m_dir.File("project.svy");
    }
    void TearDown() override { ZAR::SetLineOffsetPrompt(std::move(m_previousPrompt)); }

    // Writes a header dated `date` and returns the ".DT1" path of the radar file.
    std::string Radar(const std::string& name, const std::string& date = "2024-05-21 13:04:05") {
        ZAR::SGprParam param = svy3_test::SampleHeader();
        param.DateTime = date;
        svy3_test::SaveHeader(m_dir.File(name + ".HD"), param);
        return m_dir.File(name + ".DT1");
    }
    int32_t Create(const std::vector<std::string>& files, const char* dataDir = nullptr) {
        return m_file.CreateNewFile_V110(m_target, m_createdBy, files, dataDir);
    }
    // The saved document's root element.
    pugi::xml_node Saved() {
        EXPECT_TRUE(m_doc.load_file(m_target.c_str(), pugi::parse_default | pugi::parse_comments |
                                                          pugi::parse_declaration));
        return m_doc.document_element();
    }
    // Texts of the message boxes shown; every one must be a plain OK box.
    std::vector<std::string> CreationFailures() const {
        std::vector<std::string> texts;
        for (const auto& [text, icon] : m_boxes.messages()) {
            if (text.rfind(kFailure, 0) == 0) {
                EXPECT_EQ(icon, ZAR::MessageIcon::None);
                texts.push_back(text.substr(sizeof(kFailure) - 1));
            }
        }
        return texts;
    }

    svy3_test::TempDir m_dir;
    svy3_test::MessageBoxCapture m_boxes;
    CSVYXmlFile m_file;
    ZAR::SCreatedBy m_createdBy;
    std::string m_target;
    std::string m_answer;
    int m_prompts = 0;
    ZAR::LineOffsetPrompt m_previousPrompt;
    pugi::xml_document m_doc;
};

TEST_F(DocumentCreatorTest, AnEmptySelectionBuildsTheSkeletonInMemoryOnly) {
    svy3_test::WriteFile(m_target, "previous");
    EXPECT_EQ(Create({}), 1);
    EXPECT_EQ(svy3_test::ReadFile(m_target), "previous");
    EXPECT_TRUE(m_boxes.messages().empty());

    // The skeleton, saved on request: declaration, root with version, description comment.
    const std::string copy = m_dir.File("copy.svy");
    ASSERT_EQ(m_file.Save(copy), 0);
    EXPECT_EQ(svy3_test::ReadFile(copy).rfind("<?xml", 0), 0u);
    ASSERT_TRUE(m_doc.load_file(copy.c_str(), pugi::parse_default | pugi::parse_comments));
    const pugi::xml_node root = m_doc.document_element();
    EXPECT_EQ(svy3_test::Outline(root), "ZAR_SVY[version=1.1.0]");
    EXPECT_EQ(root.first_child().type(), pugi::node_comment);
    EXPECT_NE(std::string(root.first_child().value()), "");
}

TEST_F(DocumentCreatorTest, SiteDefinitionComesFromTheFirstRadarFile) {
    Radar("A", "2020-01-01 00:00:00");
    Radar("B");  // header B.HD for the selection's b.DT1
    const std::string c = Radar("C", "2023-03-03 03:03:03");
    EXPECT_EQ(Create({m_dir.File("A.hd"), m_dir.File("b.DT1"), c}), 0);
    const pugi::xml_node root = Saved();
    std::string order;
    for (pugi::xml_node child : root.children())
        order += std::string(child.type() == pugi::node_comment ? "#comment" : child.name()) + " ";
    EXPECT_EQ(order, "#comment SiteDefinition Data ");
    EXPECT_EQ(svy3_test::Outline(root.child("SiteDefinition").child("Job")),
              "Job[date=2024-05-21,time=13:04:05]\"Unknown job 2024-05-21 13:04:05\"");
    EXPECT_EQ(
        std::string(root.child("SiteDefinition").child("CreatedBy").attribute("name").value()),
        "creator test");
    EXPECT_EQ(std::string(root.child("Data").child("DataDirPath").text().get()),
              m_dir.path() + "/");
    EXPECT_TRUE(m_boxes.messages().empty());
}

TEST_F(DocumentCreatorTest, HeadersAloneGiveNoSiteDefinition) {
    Radar("H_C1B1");
    EXPECT_EQ(Create({m_dir.File("H_C1B1.HD")}), 0);
    const pugi::xml_node root = Saved();
    EXPECT_FALSE(root.child("SiteDefinition"));
    EXPECT_TRUE(root.child("Data"));
}

TEST_F(DocumentCreatorTest, BareFileNamesUseTheCurrentFolder) {
    const boost::filesystem::path previous = boost::filesystem::current_path();
    boost::filesystem::current_path(m_dir.path());
    Radar("NB_C1B1");
    const int32_t result = Create({"NB_C1B1.dt1"});
    boost::filesystem::current_path(previous);
    ASSERT_EQ(result, 0);
    const pugi::xml_node root = Saved();
    EXPECT_EQ(std::string(root.child("Data").child("DataDirPath").text().get()), "");
    EXPECT_EQ(std::string(root.child("SiteDefinition").child("Job").attribute("date").value()),
              "2024-05-21");
    EXPECT_EQ(
        std::string(root.child("Data").child("Line").child("DataFile").attribute("name").value()),
        "NB_C1B1");
}

TEST_F(DocumentCreatorTest, TheCreatedDocumentOpensThroughTheQueryInterface) {
    m_answer = "0.5";
    const std::string dataDir = m_dir.path() + "/";
    ASSERT_EQ(Create({Radar("S_C3B1"), Radar("S_C1B2"), Radar("S_C1B1")}, dataDir.c_str()), 0);
    EXPECT_EQ(m_prompts, 1);

    CSVYXmlFile opened;
    ASSERT_EQ(opened.Initialize(m_target), 1);
    std::string error;
    auto data = ZAR::CSvyDataBlockInterface::CreateAndInit(&opened, 0, &error);
    ASSERT_TRUE(data) << error;
    EXPECT_EQ(data->GetDataDir(), dataDir);

    ZAR::LineInfo line;
    ASSERT_EQ(data->GetLineInfo(0, line), 1);
    EXPECT_EQ(line.name, "Line1");
    EXPECT_EQ(line.lateralOffset, 0.0);
    ZAR::FileInfo file;
    ASSERT_EQ(data->GetFileInfo(0, "HD+DT1", 1, file), 1);
    EXPECT_EQ(file.name, "S_C1B2");
    EXPECT_DOUBLE_EQ(file.odoEnd, 10.0);
    EXPECT_DOUBLE_EQ(file.odoStep, 0.05);
    ASSERT_NE(file.settings, nullptr);
    EXPECT_EQ(file.settings->SampleCount, 200);
    EXPECT_DOUBLE_EQ(file.settings->ReceiverAntenna.Y, 0.5);
    EXPECT_EQ(file.dim1, 200);  // the reader found the header through the written name
    EXPECT_EQ(file.dim2, 201);

    ASSERT_EQ(data->GetLineInfo(1, line), 1);
    EXPECT_EQ(line.name, "Line3");
    EXPECT_DOUBLE_EQ(line.lateralOffset, 1.0);
    EXPECT_EQ(data->GetLineInfo(2, line), 0);
}

TEST_F(DocumentCreatorTest, WriterFailuresAreShownAndNothingIsSaved) {
    svy3_test::WriteFile(m_dir.File("NOODO.SEN"), "<SEN/>");
    svy3_test::WriteFile(m_target, "previous");
    EXPECT_EQ(Create({Radar("F_C1B1"), m_dir.File("noodo.sen")}), -1);
    EXPECT_EQ(CreationFailures(), std::vector<std::string>{"Cannot read SEN file!"});
    EXPECT_EQ(svy3_test::ReadFile(m_target), "previous");

    boost::filesystem::remove(m_target);
    EXPECT_EQ(Create({Radar("F_C1B1"), m_dir.File("sub/f_c1b1.DT1")}), -1);
    EXPECT_EQ(CreationFailures(),
              (std::vector<std::string>{"Cannot read SEN file!",
                                        "Files in multi-selection do not form a set!"}));
    EXPECT_FALSE(boost::filesystem::exists(m_target));
}

TEST_F(DocumentCreatorTest, SaveFailuresGiveTheSaveCode) {
    m_target = m_dir.File("missing/project.svy");
    const int32_t code = Create({Radar("U_C1B1")});
    EXPECT_EQ(code, 202);
    EXPECT_FALSE(boost::filesystem::exists(m_dir.File("missing")));
    EXPECT_TRUE(m_boxes.messages().empty());

    // A folder in the way is left alone.
    m_target = m_dir.File("folder.svy");
    boost::filesystem::create_directory(m_target);
    const int32_t again = Create({Radar("U_C1B1")});
    EXPECT_EQ(again, 202);
    EXPECT_TRUE(boost::filesystem::is_directory(m_target));
    EXPECT_TRUE(boost::filesystem::is_empty(m_target));
}

TEST_F(DocumentCreatorTest, MissingOrUnreadableHeadersStillGiveADocument) {
    svy3_test::WriteFile(m_dir.File("G_C1B1.HD"), "\x01\x02 not a header");
    EXPECT_EQ(Create({m_dir.File("G_C1B1.DT1"), m_dir.File("M_C1B2.DT1")}), 0);
    const pugi::xml_node root = Saved();
    EXPECT_EQ(svy3_test::Outline(root.child("SiteDefinition").child("Job")),
              "Job[date=Invalid DateTime,time=Invalid DateTime]\"Unknown job Invalid DateTime\"");
    EXPECT_EQ(svy3_test::Outline(root.child("Data").child("Line")),
              "Line[name=Line1]{LinearRef[ododist=0.0,refdist=0.0,reflateral=0.000000,units=]}");

    // The cursor holds the new document: saving again writes it to the same path.
    boost::filesystem::remove(m_target);
    EXPECT_EQ(m_file.Save(), 0);
    EXPECT_TRUE(boost::filesystem::exists(m_target));
}

}  // namespace

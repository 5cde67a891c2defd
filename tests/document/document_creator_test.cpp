// Creating a project document from a selection of data files: the skeleton, the site definition
// from the first radar file, and failures. The Data block itself is the block writer's (tested
// there); a created document read back is tested through the interface.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#include "support/test_support.h"
#include "support/writer_support.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

namespace fs = boost::filesystem;
using testing::ElementsAre;
using testing::Pair;

class DocumentCreatorTest : public svy3_test::WriterTest {
  protected:
    std::string m_target = m_dir.File("project.svy");

    // Writes a header dated `date`; returns the ".DT1" path of the radar file.
    std::string Radar(const std::string& name, const std::string& date = "2024-05-21 13:04:05") {
        ZAR::SGprParam param = svy3_test::SampleHeader();
        param.DateTime = date;
        svy3_test::SaveHeader(m_dir.File(name + ".HD"), param);
        return m_dir.File(name + ".DT1");
    }
    int32_t Create(const std::vector<std::string>& files, const char* dataDir = nullptr) {
        return m_file.CreateNewFile_V110(m_target, m_createdBy, files, dataDir);
    }
    // The root element of the saved project.
    pugi::xml_node Saved() {
        EXPECT_TRUE(m_doc.load_file(m_target.c_str(), pugi::parse_default | pugi::parse_comments));
        return m_doc.document_element();
    }
};

TEST_F(DocumentCreatorTest, SkeletonAndSiteDefinitionFromTheFirstRadarFile) {
    // An empty selection builds the skeleton in memory only; saving writes it to the path.
    svy3_test::WriteFile(m_target, "previous");
    EXPECT_EQ(Create({}), 1);
    EXPECT_EQ(svy3_test::ReadFile(m_target), "previous");
    ASSERT_EQ(m_file.Save(), 0);
    EXPECT_EQ(svy3_test::Outline(Saved()), "ZAR_SVY[version=1.1.0]");
    EXPECT_EQ(Saved().first_child().type(), pugi::node_comment);

    Radar("A", "2020-01-01 00:00:00");
    Radar("B");  // B.HD serves the selection's b.DT1
    EXPECT_EQ(Create({m_dir.File("A.hd"), m_dir.File("b.DT1"), Radar("C", "2023-03-03")}), 0);
    EXPECT_EQ(svy3_test::ChildNames(Saved()), "SiteDefinition Data");
    EXPECT_EQ(svy3_test::Outline(Saved().child("SiteDefinition")),
              "SiteDefinition{CreatedBy[name=writer test,version=1.0,DIP=42,date=2024-01-02,"
              "time=03:04:05] Operator\"NA\" CompanyName\"NA\" SiteName\"NA\" "
              "Job[date=2024-05-21,time=13:04:05]\"Unknown job 2024-05-21 13:04:05\"}");

    // Headers alone: no site definition. An unreadable first header: an invalid date.
    EXPECT_EQ(Create({m_dir.File("A.hd")}), 0);
    EXPECT_EQ(svy3_test::ChildNames(Saved()), "Data");
    svy3_test::WriteFile(m_dir.File("G.HD"), "\x01 not a header");
    EXPECT_EQ(Create({m_dir.File("G.DT1"), Radar("B")}), 0);
    EXPECT_EQ(svy3_test::Outline(Saved().child("SiteDefinition").child("Job")),
              "Job[date=Invalid DateTime,time=Invalid DateTime]\"Unknown job Invalid DateTime\"");
    EXPECT_TRUE(m_boxes.messages().empty());
}

// Bare file names are looked up in the current folder and no data folder is written; a data
// folder given is the one written, and the one the header is looked up in.
TEST_F(DocumentCreatorTest, BareFileNamesUseTheCurrentFolderOrTheDataFolderGiven) {
    const std::string dataDir = m_dir.path() + "/";
    for (const char* given : {static_cast<const char*>(nullptr), dataDir.c_str()}) {
        const fs::path previous = fs::current_path();
        if (!given)
            fs::current_path(m_dir.path());
        Radar("NB_C1B1");
        const int32_t result = Create({"NB_C1B1.dt1"}, given);
        fs::current_path(previous);
        ASSERT_EQ(result, 0);
        const pugi::xml_node root = Saved(), data = root.child("Data");
        EXPECT_EQ(svy3_test::Join(svy3_test::ChildNames(root), data.child_value("DataDirPath"),
                                  svy3_test::ChildNames(data.child("Line"))),
                  svy3_test::Join("SiteDefinition Data", given ? dataDir : "",
                                  "Settings DataFile LinearRef"));
    }
}

TEST_F(DocumentCreatorTest, FailuresLeaveNoProjectFileBehind) {
    // A refused selection is told in a box and writes nothing.
    svy3_test::WriteFile(m_dir.File("NOODO.SEN"), "<SEN/>");
    svy3_test::WriteFile(m_target, "previous");
    EXPECT_EQ(Create({Radar("F_C1B1"), m_dir.File("noodo.sen")}), -1);
    EXPECT_EQ(svy3_test::ReadFile(m_target), "previous");
    EXPECT_THAT(m_boxes.messages(),
                ElementsAre(Pair("The SVY file could not be created due to the following "
                                 "error(s):\nCannot read SEN file!",
                                 ZAR::MessageIcon::None)));
    // A failed save gives the save code, without a message.
    m_target = m_dir.File("missing/project.svy");
    EXPECT_EQ(Create({Radar("U_C1B1")}), 202);
    EXPECT_FALSE(fs::exists(m_dir.File("missing")));
    EXPECT_EQ(m_boxes.messages().size(), 1u);
}

}  // namespace

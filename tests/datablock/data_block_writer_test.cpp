// The Data block written from a selection of data files, and the reader of ".sen" files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "support/radar_files.h"
#include "support/test_support.h"
#include "support/xml_outline.h"
#include "svy3/datablock/writer_error.h"
#include "svy3/shell/line_offset_prompt.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using svy3_test::Outline;
using ZAR::CSVYXmlFile;

// Names of the child elements, blank-separated.
std::string ChildNames(const pugi::xml_node& node) {
    std::string names;
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element)
            names += (names.empty() ? "" : " ") + std::string(child.name());
    return names;
}

class DataBlockWriterTest : public testing::Test {
  protected:
    void SetUp() override {
        m_previousPrompt = ZAR::SetLineOffsetPrompt([this](std::string& text) {
            m_promptTexts.push_back(text);
            if (m_answer.empty())
                return false;  // window closed
            text = m_answer;
            return true;
        });
        m_createdBy.name = "writer test";
        m_createdBy.version = "1.0";
        m_createdBy.DIP = "42";
        m_createdBy.dateTime = ZAR::CDateTime(2024, 1, 2, 3, 4, 5);
        svy3_test::WriteFile(m_dir.File("in.svy"), "<ZAR_SVY/>");
        ASSERT_EQ(m_file.Initialize(m_dir.File("in.svy")), 1);
        m_dataDir = m_dir.path() + "/";
    }
    void TearDown() override { ZAR::SetLineOffsetPrompt(std::move(m_previousPrompt)); }

    // A radar file: writes its header (named `headerName`, default: the name with ".HD") and
    // returns the path of its ".DT1" as the selection names it.
    std::string Radar(const std::string& name, ZAR::SGprParam param = svy3_test::SampleHeader(),
                      const std::string& headerName = std::string()) {
        svy3_test::SaveHeader(m_dir.File(headerName.empty() ? name + ".HD" : headerName), param);
        return m_dir.File(name + ".DT1");
    }
    // Writes the block, checks that the cursor is back on the root, saves and reloads the
    // document; returns the Data element.
    pugi::xml_node Write(const std::vector<std::string>& files) {
        EXPECT_EQ(m_file.WriteDataBlock_V110(m_createdBy, files, m_dataDir), 1);
        return Saved();
    }
    pugi::xml_node Saved() {
        std::string name;
        m_file.GetNodeName(name);
        EXPECT_EQ(name, "ZAR_SVY");
        EXPECT_EQ(m_file.Save(m_dir.File("out.svy")), 0);
        EXPECT_TRUE(m_doc.load_file(m_dir.File("out.svy").c_str()));
        return m_doc.document_element().child("Data");
    }
    // The failure text of a selection that must be refused.
    std::string Refusal(const std::vector<std::string>& files) {
        try {
            m_file.WriteDataBlock_V110(m_createdBy, files, m_dataDir);
        } catch (const ZAR::CWriterError& error) {
            return error.what();
        }
        return "not refused";
    }

    svy3_test::TempDir m_dir;
    svy3_test::MessageBoxCapture m_boxes;
    CSVYXmlFile m_file;
    ZAR::SCreatedBy m_createdBy;
    std::string m_dataDir;
    std::string m_answer;  // typed into the line offset dialog; empty: the window is closed
    std::vector<std::string> m_promptTexts;
    ZAR::LineOffsetPrompt m_previousPrompt;
    pugi::xml_document m_doc;
};

const char kRadarOdometer[] =
    "{FileType[UID=COR@@@] Odometer[start=0.000000,end=10.000000,"
    "step=0.050000,units=m]}";

TEST_F(DataBlockWriterTest, OneLineIsRenumberedWithoutAskingForTheSpacing) {
    const pugi::xml_node data = Write({Radar("L_C2B5"), Radar("L_C2B2"),
                                       m_dir.File("L_C2B3.DT1"),  // no header
                                       m_dir.File("L_C2B4.HD")});
    EXPECT_TRUE(m_promptTexts.empty());
    EXPECT_EQ(std::string(data.attribute("version").value()), "1.1.0");
    EXPECT_EQ(ChildNames(data), "CreatedBy DataDirPath Line");
    EXPECT_EQ(Outline(data.child("CreatedBy")),
              "CreatedBy[name=writer test,version=1.0,DIP=42,date=2024-01-02,time=03:04:05]");
    EXPECT_EQ(Outline(data.child("DataDirPath")), "DataDirPath\"" + m_dataDir + "\"");

    const pugi::xml_node line = data.child("Line");
    EXPECT_EQ(std::string(line.attribute("name").value()), "Line2");
    EXPECT_EQ(ChildNames(line), "Settings DataFile DataFile LinearRef");
    const pugi::xml_node first = line.child("DataFile");
    EXPECT_EQ(Outline(first),
              "DataFile[name=L_C2B2,seq=1,ext=HD+DT1]" + std::string(kRadarOdometer));
    EXPECT_EQ(Outline(first.next_sibling("DataFile")),
              "DataFile[name=L_C2B5,seq=2,ext=HD+DT1]" + std::string(kRadarOdometer));
    EXPECT_EQ(Outline(line.child("LinearRef")),
              "LinearRef[ododist=0.0,refdist=0.0,reflateral=0.000000,units=m]");
}

TEST_F(DataBlockWriterTest, SeveralLinesTakeTheSpacingFromTheDialog) {
    m_answer = "0.5";
    pugi::xml_node data = Write({Radar("S_C3B1"), Radar("S_C1B1"), Radar("S_C3B2")});
    EXPECT_EQ(m_promptTexts, std::vector<std::string>{"0.1"});  // asked once, preset 0.1
    EXPECT_EQ(ChildNames(data), "CreatedBy DataDirPath Line Line");
    const pugi::xml_node line1 = data.child("Line");
    const pugi::xml_node line3 = line1.next_sibling("Line");
    EXPECT_EQ(std::string(line1.attribute("name").value()), "Line1");
    EXPECT_EQ(std::string(line3.attribute("name").value()), "Line3");
    EXPECT_EQ(ChildNames(line3), "Settings DataFile DataFile LinearRef");
    EXPECT_EQ(std::string(line1.child("LinearRef").attribute("reflateral").value()), "0.000000");
    EXPECT_EQ(std::string(line3.child("LinearRef").attribute("reflateral").value()), "1.000000");
}

TEST_F(DataBlockWriterTest, FilesOfOtherKindsAreLineOneWithoutEntries) {
    m_answer = "1";
    const pugi::xml_node data = Write({Radar("K_C2B1"), m_dir.File("notes.txt")});
    EXPECT_EQ(m_promptTexts.size(), 1u);
    const pugi::xml_node line1 = data.child("Line");
    EXPECT_EQ(std::string(line1.attribute("name").value()), "Line1");
    EXPECT_EQ(ChildNames(line1), "LinearRef");
    EXPECT_EQ(ChildNames(line1.next_sibling("Line")), "Settings DataFile LinearRef");
}

TEST_F(DataBlockWriterTest, AClosedDialogKeepsThePresetSpacing) {
    pugi::xml_node data = Write({Radar("S_C1B1"), Radar("S_C3B1")});
    EXPECT_EQ(m_promptTexts.size(), 1u);
    EXPECT_EQ(std::string(data.child("Line")
                              .next_sibling("Line")
                              .child("LinearRef")
                              .attribute("reflateral")
                              .value()),
              "0.200000");
}

TEST_F(DataBlockWriterTest, FilesWithEqualNumbersKeepTheirSelectionOrder) {
    // Names without numbers are all line 1, sequence 1; enough of them that an unstable sort
    // would mix them up.
    std::vector<std::string> files;
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "F" + std::to_string((i * 17) % 40);
        files.push_back(Radar(name));
        expected.push_back(name);
    }
    const pugi::xml_node line = Write(files).child("Line");
    std::vector<std::string> written;
    int seq = 0;
    for (pugi::xml_node f = line.child("DataFile"); f; f = f.next_sibling("DataFile")) {
        written.push_back(f.attribute("name").value());
        EXPECT_EQ(f.attribute("seq").as_int(), ++seq);
    }
    EXPECT_EQ(written, expected);
}

TEST_F(DataBlockWriterTest, SettingsComeFromTheFirstReadableHeaderOfEachLine) {
    ZAR::SGprParam feet = svy3_test::SampleHeader();
    feet.SamplesPerTrace = 512;
    feet.StepSize = ZAR::SMeasure(0.1, ZAR::UNIT_FT);
    feet.StartPosition = ZAR::SMeasure(1.0, ZAR::UNIT_FT);
    feet.EndPosition = ZAR::SMeasure(2.0, ZAR::UNIT_FT);
    svy3_test::WriteFile(m_dir.File("H_C1B1.HD"), "not a header\n");
    m_answer = "2";
    const pugi::xml_node data = Write({
        m_dir.File("H_C1B1.DT1"),  // garbage header: left out
        Radar("H_C1B2", feet),     // gives line 1 its settings
        Radar("H_C1B3"),
        m_dir.File("H_C2B1.DT1"),  // line 2 has no readable header at all
        Radar("H_C3B1"),
        m_dir.File("H_C3B2.DT1"),
    });
    const pugi::xml_node line1 = data.child("Line");
    EXPECT_EQ(ChildNames(line1), "Settings DataFile DataFile LinearRef");
    EXPECT_EQ(line1.child("Settings").child("Trace").attribute("sample_cnt").as_int(), 512);
    EXPECT_EQ(Outline(line1.child("DataFile")),
              "DataFile[name=H_C1B2,seq=1,ext=HD+DT1]{FileType[UID=COR@@@] "
              "Odometer[start=1.000000,end=2.000000,step=0.100000,units=ft]}");
    EXPECT_EQ(std::string(line1.child("LinearRef").attribute("units").value()), "m");

    const pugi::xml_node line2 = line1.next_sibling("Line");
    EXPECT_EQ(std::string(line2.attribute("name").value()), "Line2");
    EXPECT_EQ(ChildNames(line2), "LinearRef");
    EXPECT_EQ(std::string(line2.child("LinearRef").attribute("reflateral").value()), "2.000000");

    // The reference unit is that of the last header loaded, which failed here.
    const pugi::xml_node line3 = line2.next_sibling("Line");
    EXPECT_EQ(ChildNames(line3), "Settings DataFile LinearRef");
    EXPECT_EQ(Outline(line3.child("LinearRef")),
              "LinearRef[ododist=0.0,refdist=0.0,reflateral=4.000000,units=]");
}

TEST_F(DataBlockWriterTest, NamesAndExtensionsInAnyCase) {
    svy3_test::WriteSen(m_dir.File("odo.SEN"), "1.5", "9.25", "ft");
    svy3_test::WriteSen(m_dir.File("Odo2.sen"), "0", "3", "Feet");
    const pugi::xml_node line =
        Write(
            {
                m_dir.File("Odo2.sen"),
                Radar("lc_c1b2", svy3_test::SampleHeader(), "LC_C1B2.HD"),  // selection lower case
                Radar("LC_C1B1", svy3_test::SampleHeader(), "lc_c1b1.hd"),  // disk lower case
                m_dir.File("ODO.sen"),
            })
            .child("Line");
    // Odometer files are line 1, sequence 1, and keep their place among radar files with those
    // numbers; they are numbered on their own.
    EXPECT_EQ(ChildNames(line), "DataFile Settings DataFile DataFile DataFile LinearRef");
    pugi::xml_node f = line.child("DataFile");
    EXPECT_EQ(Outline(f),
              "DataFile[name=ODO2,seq=1,ext=.SEN]{Odometer[start=0.000000,"
              "end=3.000000,step=NA,units=Feet]}");
    f = f.next_sibling("DataFile");
    EXPECT_EQ(Outline(f), "DataFile[name=LC_C1B1,seq=1,ext=HD+DT1]" + std::string(kRadarOdometer));
    f = f.next_sibling("DataFile");
    EXPECT_EQ(Outline(f),
              "DataFile[name=ODO,seq=2,ext=.SEN]{Odometer[start=1.500000,"
              "end=9.250000,step=NA,units=ft]}");
    f = f.next_sibling("DataFile");
    EXPECT_EQ(Outline(f), "DataFile[name=LC_C1B2,seq=2,ext=HD+DT1]" + std::string(kRadarOdometer));
}

TEST_F(DataBlockWriterTest, DocumentPathsWithBackslashesReachTheFiles) {
    std::string windowsDir = m_dataDir;
    std::replace(windowsDir.begin(), windowsDir.end(), '/', '\\');
    m_dataDir = windowsDir;
    Radar("W_C1B1");
    const pugi::xml_node data = Write({windowsDir + "W_C1B1.dt1"});
    EXPECT_EQ(std::string(data.child("DataDirPath").text().get()), windowsDir);
    EXPECT_EQ(ChildNames(data.child("Line")), "Settings DataFile LinearRef");
}

TEST_F(DataBlockWriterTest, UnreadableOdometerFilesStopTheBlock) {
    svy3_test::WriteFile(m_dir.File("NOTXML.SEN"), "start=1 end=2");
    svy3_test::WriteFile(m_dir.File("NOODO.SEN"), "<SEN><Distance start=\"1\"/></SEN>");
    for (const char* name : {"NOTXML", "NOODO", "MISSING"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(m_file.Initialize(m_dir.File("in.svy")), 1);
        EXPECT_EQ(Refusal({Radar("R_C1B1"), m_dir.File(std::string(name) + ".sen")}),
                  "Cannot read SEN file!");
        // What was written stays; the failing entry has its name and number only.
        const pugi::xml_node line = Saved().child("Line");
        EXPECT_EQ(ChildNames(line), "Settings DataFile DataFile");
        EXPECT_EQ(Outline(line.last_child()), "DataFile[name=" + std::string(name) + ",seq=1]");
    }
}

TEST_F(DataBlockWriterTest, OneFileNamedTwiceIsRefused) {
    EXPECT_EQ(Refusal({Radar("D_C1B1"), Radar("D_C1B2"), m_dir.File("sub/d_c1b1.dt1")}),
              "Files in multi-selection do not form a set!");
    const pugi::xml_node data = Saved();
    EXPECT_EQ(ChildNames(data), "CreatedBy DataDirPath");

    // A radar file and an odometer file of one name, and repeated files that are not written,
    // are a set.
    ASSERT_EQ(m_file.Initialize(m_dir.File("in.svy")), 1);
    svy3_test::WriteSen(m_dir.File("D_C1B1.sen"), "0", "1", "m");
    EXPECT_EQ(ChildNames(Write({Radar("D_C1B1"), m_dir.File("D_C1B1.sen"), m_dir.File("x.hd"),
                                m_dir.File("X.HD")})
                             .child("Line")),
              "Settings DataFile DataFile LinearRef");
}

TEST_F(DataBlockWriterTest, AnEmptySelectionWritesNothing) {
    EXPECT_EQ(m_file.WriteDataBlock_V110(m_createdBy, {}, m_dataDir), 1);
    EXPECT_FALSE(Saved());
}

TEST(DataBlockWriterSen, ReadsTheOdometerOfAnyDocumentElement) {
    svy3_test::TempDir dir;
    svy3_test::MessageBoxCapture boxes;
    double start = -1.0;
    double end = -1.0;
    std::string units = "before";
    svy3_test::WriteFile(dir.File("a.sen"),
                         "<Other><Odometer start=\"2.5\" end=\"7\" units=\"cm\"/></Other>");
    EXPECT_EQ(CSVYXmlFile::GetSenOdometer(dir.File("a.sen"), start, end, units), 1);
    EXPECT_EQ(start, 2.5);
    EXPECT_EQ(end, 7.0);
    EXPECT_EQ(units, "cm");

    // Missing attributes: the numbers stay, the units text is the attribute's name.
    svy3_test::WriteFile(dir.File("b.sen"), "<SEN><Odometer end=\"3\"/></SEN>");
    EXPECT_EQ(CSVYXmlFile::GetSenOdometer(dir.File("b.sen"), start, end, units), 1);
    EXPECT_EQ(start, 2.5);
    EXPECT_EQ(end, 3.0);
    EXPECT_EQ(units, "units");

    // Only a child of the document element counts.
    svy3_test::WriteFile(dir.File("c.sen"), "<SEN><X><Odometer start=\"1\"/></X></SEN>");
    EXPECT_EQ(CSVYXmlFile::GetSenOdometer(dir.File("c.sen"), start, end, units), 0);
    EXPECT_EQ(start, 2.5);
    EXPECT_TRUE(boxes.messages().empty());
}

}  // namespace

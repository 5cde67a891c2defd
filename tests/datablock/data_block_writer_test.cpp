// The Data block written from a selection of data files, and the reader of ".sen" files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "support/writer_support.h"
#include "svy3/datablock/writer_error.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using svy3_test::ChildNames;
using svy3_test::Outline;
using ZAR::CSVYXmlFile;

const std::string kRadarOdometer =
    "{FileType[UID=COR@@@] Odometer[start=0.000000,end=10.000000,step=0.050000,units=m]}";

class DataBlockWriterTest : public svy3_test::WriterTest {
  protected:
    void SetUp() override {
        svy3_test::WriteFile(m_dir.File("in.svy"), "<ZAR_SVY/>");
        // The data folder as a document holds it: Windows separators.
        m_dataDir = m_dir.path() + "/";
        std::replace(m_dataDir.begin(), m_dataDir.end(), '/', '\\');
    }

    // Writes the header of a radar file and returns the ".DT1" path the selection names.
    std::string Radar(const std::string& name, ZAR::SGprParam param = svy3_test::SampleHeader(),
                      std::string headerName = std::string()) {
        svy3_test::SaveHeader(m_dir.File(headerName.empty() ? name + ".HD" : headerName), param);
        return m_dataDir + name + ".DT1";
    }
    // Writes the block into a fresh document; its error text, or the empty text.
    std::string TryWrite(const std::vector<std::string>& files) {
        EXPECT_EQ(m_file.Initialize(m_dir.File("in.svy")), 1);
        try {
            EXPECT_EQ(m_file.WriteDataBlock_V110(m_createdBy, files, m_dataDir), 1);
        } catch (const ZAR::CWriterError& error) {
            return error.what();
        }
        return std::string();
    }
    // The Data element as written (also after a failure); the cursor must be on the root.
    pugi::xml_node Data() {
        std::string name;
        EXPECT_TRUE(m_file.GetNodeName(name) && name == "ZAR_SVY");
        return svy3_test::SaveAndLoad(m_file, m_dir.File("out.svy"), m_doc).child("Data");
    }
    pugi::xml_node Write(const std::vector<std::string>& files) {
        EXPECT_EQ(TryWrite(files), "");
        return Data();
    }

    std::string m_dataDir;
};

TEST_F(DataBlockWriterTest, LinesSequencesSpacingAndSkippedFiles) {
    svy3_test::WriteFile(m_dir.File("G_C1B1.HD"), "not a header\n");
    m_answer = "0.5";
    const pugi::xml_node data =
        Write({Radar("L_C3B5"), Radar("L_C3B2"), m_dataDir + "L_C3B3.DT1" /* no header */,
               m_dataDir + "L_C3B4.HD", m_dataDir + "notes.txt", m_dataDir + "G_C1B1.DT1"});
    EXPECT_EQ(m_promptTexts, std::vector<std::string>{"0.1"});
    EXPECT_EQ(Outline(data.child("CreatedBy")),
              "CreatedBy[name=writer test,version=1.0,DIP=42,date=2024-01-02,time=03:04:05]");
    EXPECT_EQ(data.child("DataDirPath").text().get(), m_dataDir);
    EXPECT_EQ(std::string(data.attribute("version").value()) + " " + ChildNames(data),
              "1.1.0 CreatedBy DataDirPath Line Line");
    // Line 1 holds only files without entries; its reference unit is that of a failed load.
    EXPECT_EQ(Outline(data.child("Line")),
              "Line[name=Line1]{LinearRef[ododist=0.0,refdist=0.0,reflateral=0.000000,units=]}");
    const pugi::xml_node line3 = data.child("Line").next_sibling();
    EXPECT_EQ(ChildNames(line3), "Settings DataFile DataFile LinearRef");
    EXPECT_EQ(Outline(line3.child("DataFile")),
              "DataFile[name=L_C3B2,seq=1,ext=HD+DT1]" + kRadarOdometer);
    EXPECT_EQ(Outline(line3.child("DataFile").next_sibling("DataFile")),
              "DataFile[name=L_C3B5,seq=2,ext=HD+DT1]" + kRadarOdometer);
    EXPECT_EQ(Outline(line3.child("LinearRef")),
              "LinearRef[ododist=0.0,refdist=0.0,reflateral=1.000000,units=m]");

    // One line: no question, no offset. A closed dialog keeps the preset.
    m_promptTexts.clear();
    EXPECT_EQ(Outline(Write({Radar("L_C3B2")}).child("Line").child("LinearRef")),
              "LinearRef[ododist=0.0,refdist=0.0,reflateral=0.000000,units=m]");
    EXPECT_TRUE(m_promptTexts.empty());
    m_answer.clear();
    EXPECT_EQ(Outline(Write({Radar("L_C1B1"), Radar("L_C3B2")}).last_child().child("LinearRef")),
              "LinearRef[ododist=0.0,refdist=0.0,reflateral=0.200000,units=m]");
}

TEST_F(DataBlockWriterTest, FilesWithEqualNumbersKeepTheirSelectionOrder) {
    // Enough names without numbers (all line 1, sequence 1) for an unstable sort to mix them.
    std::vector<std::string> files;
    std::string expected, written;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "F" + std::to_string(i * 17 % 40);
        files.push_back(Radar(name));
        expected += name + "/" + std::to_string(i + 1) + " ";
    }
    for (pugi::xml_node f : Write(files).child("Line").children("DataFile"))
        written +=
            f.attribute("name").value() + std::string("/") + f.attribute("seq").value() + " ";
    EXPECT_EQ(written, expected);
}

TEST_F(DataBlockWriterTest, OdometerFilesSettingsFromTheFirstReadableHeaderAndLetterCase) {
    ZAR::SGprParam feet = svy3_test::SampleHeader();
    feet.SamplesPerTrace = 512;
    feet.StepSize = ZAR::SMeasure(0.1, ZAR::UNIT_FT);
    feet.EndPosition = ZAR::SMeasure(2.0, ZAR::UNIT_FT);
    svy3_test::WriteSen(m_dir.File("odo.SEN"), "1.5", "9.25", "ft");
    svy3_test::WriteSen(m_dir.File("Odo2.sen"), "0", "3", "Feet");
    const pugi::xml_node line =
        Write({m_dataDir + "Odo2.sen", Radar("lc_c1b2", svy3_test::SampleHeader(), "LC_C1B2.HD"),
               Radar("LC_C1B1", feet, "lc_c1b1.hd"), m_dataDir + "ODO.sen"})
            .child("Line");
    // Odometer files are line 1, sequence 1, keep their place among radar files with those
    // numbers, and are numbered on their own.
    EXPECT_EQ(ChildNames(line), "DataFile Settings DataFile DataFile DataFile LinearRef");
    EXPECT_EQ(line.child("Settings").child("Trace").attribute("sample_cnt").as_int(), 512);
    std::string files;
    for (pugi::xml_node f : line.children("DataFile"))
        files += Outline(f) + "\n";
    EXPECT_EQ(files,
              "DataFile[name=ODO2,seq=1,ext=.SEN]{Odometer[start=0.000000,end=3.000000,step=NA,"
              "units=Feet]}\nDataFile[name=LC_C1B1,seq=1,ext=HD+DT1]{FileType[UID=COR@@@] "
              "Odometer[start=0.000000,end=2.000000,step=0.100000,units=ft]}\nDataFile[name=ODO,"
              "seq=2,ext=.SEN]{Odometer[start=1.500000,end=9.250000,step=NA,units=ft]}\n"
              "DataFile[name=LC_C1B2,seq=2,ext=HD+DT1]" +
                  kRadarOdometer + "\n");
    EXPECT_EQ(std::string(line.child("LinearRef").attribute("units").value()), "m");
}

TEST_F(DataBlockWriterTest, RefusedSelectionsKeepWhatWasWritten) {
    svy3_test::WriteFile(m_dir.File("NOODO.SEN"), "<SEN><Distance start=\"1\"/></SEN>");
    for (const std::string name : {"NOODO", "MISSING"}) {
        EXPECT_EQ(TryWrite({Radar("R_C1B1"), m_dataDir + name + ".sen"}), "Cannot read SEN file!");
        const pugi::xml_node line = Data().child("Line");
        EXPECT_EQ(ChildNames(line), "Settings DataFile DataFile");
        EXPECT_EQ(Outline(line.last_child()), "DataFile[name=" + name + ",seq=1]");
    }
    // One data file named twice (any folder, any case) is refused before any line is written;
    // a radar and an odometer file of one name, or repeated headers, are not.
    EXPECT_EQ(TryWrite({Radar("D_C1B1"), m_dir.File("sub/d_c1b1.dt1")}),
              "Files in multi-selection do not form a set!");
    EXPECT_EQ(ChildNames(Data()), "CreatedBy DataDirPath");
    svy3_test::WriteSen(m_dir.File("D_C1B1.sen"), "0", "1", "m");
    EXPECT_EQ(ChildNames(Write({Radar("D_C1B1"), m_dataDir + "D_C1B1.sen", m_dataDir + "x.hd",
                                m_dataDir + "X.HD"})
                             .child("Line")),
              "Settings DataFile DataFile LinearRef");
    EXPECT_FALSE(Write({}));  // an empty selection writes nothing
}

// The selections above read whole odometer files or none; a missing attribute leaves its number
// and names the unit after the attribute.
TEST(DataBlockWriterSen, MissingOdometerAttributes) {
    svy3_test::TempDir dir;
    double start = 2.5, end = -1.0;
    std::string units;
    svy3_test::WriteFile(dir.File("a.sen"), "<SEN><Odometer end=\"3\"/></SEN>");
    EXPECT_EQ(CSVYXmlFile::GetSenOdometer(dir.File("a.sen"), start, end, units), 1);
    EXPECT_EQ(svy3_test::Join(start, end, units), "2.5 3 units ");
}

}  // namespace

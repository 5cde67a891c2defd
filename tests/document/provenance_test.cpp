#include <gtest/gtest.h>

#include "support/test_support.h"
#include "svy3/external/uid.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using ZAR::CDateTime;
using ZAR::CSVYXmlFile;
using ZAR::SCreatedBy;

SCreatedBy Record(const std::string& name, const CDateTime& when, const std::string& comment = "") {
    SCreatedBy record;
    record.name = name;
    record.version = "2.0";
    record.DIP = "4711";
    record.dateTime = when;
    record.comment = comment;
    return record;
}

class ProvenanceTest : public testing::Test {
  protected:
    void Open(const std::string& xml) {
        svy3_test::WriteFile(m_dir.File("p.xml"), xml);
        ASSERT_EQ(m_file.Initialize(m_dir.File("p.xml")), 1);
    }
    std::string Name() {
        std::string name;
        m_file.GetNodeName(name);
        return name;
    }
    std::string Attribute(const std::string& name) {
        std::string value = name;
        m_file.GetNodeAttribute(value);
        return value;
    }

    svy3_test::TempDir m_dir;
    CSVYXmlFile m_file;
};

TEST_F(ProvenanceTest, CreatedByIsWrittenOnceWithItsAttributesInOrder) {
    Open("<Root><Block/></Root>");
    ASSERT_EQ(m_file.GotoChildNode("Block"), 1);
    EXPECT_EQ(m_file.AppendCreatedByBlock(Record("Maker", CDateTime(2024, 5, 21, 13, 4, 5))), 1);
    EXPECT_EQ(Name(), "Block");
    EXPECT_EQ(m_file.AppendCreatedByBlock(Record("Other", CDateTime(2025, 1, 1, 0, 0, 0))), 0);
    EXPECT_EQ(Name(), "Block");
    ASSERT_EQ(m_file.Save(""), 0);
    EXPECT_NE(svy3_test::ReadFile(m_dir.File("p.xml"))
                  .find("<CreatedBy name=\"Maker\" version=\"2.0\" DIP=\"4711\" "
                        "date=\"2024-05-21\" time=\"13:04:05\" />"),
              std::string::npos);

    // Null and invalid date-times write empty texts and "Invalid DateTime".
    ASSERT_EQ(m_file.GotoParentNode(), 1);
    ASSERT_EQ(m_file.AppendChildNode("Second"), 1);
    SCreatedBy record = Record("X", CDateTime());
    record.dateTime.SetStatus(CDateTime::null);
    EXPECT_EQ(m_file.AppendCreatedByBlock(record), 1);
    record.dateTime.SetStatus(CDateTime::invalid);
    EXPECT_EQ(m_file.AppendModifiedByBlock(record), 1);
    ASSERT_EQ(m_file.GotoChildNode("CreatedBy"), 1);
    EXPECT_EQ(Attribute("date"), "");
    EXPECT_EQ(Attribute("time"), "");
    ASSERT_EQ(m_file.GotoChildNode("ModifiedBy"), 1);
    EXPECT_EQ(Attribute("date"), "Invalid DateTime");
    EXPECT_EQ(Attribute("time"), "Invalid DateTime");
}

TEST_F(ProvenanceTest, ModificationsReadBackInDateOrder) {
    Open("<Root><Block/></Root>");
    ASSERT_EQ(m_file.GotoChildNode("Block"), 1);
    EXPECT_EQ(m_file.AppendModifiedByBlock(Record("early", CDateTime())), 0);  // no CreatedBy yet
    ASSERT_EQ(m_file.AppendCreatedByBlock(Record("creator", CDateTime(2020, 1, 1, 8, 0, 0))), 1);
    EXPECT_EQ(m_file.AppendModifiedByBlock(Record("third", CDateTime(2023, 3, 3, 0, 0, 0), "c3")),
              1);
    EXPECT_EQ(m_file.AppendModifiedByBlock(Record("first", CDateTime(2021, 1, 1, 0, 0, 0), "c1")),
              1);
    EXPECT_EQ(m_file.AppendModifiedByBlock(Record("second", CDateTime(2022, 2, 2, 0, 0, 0), "c2")),
              1);

    SCreatedBy records[10];
    records[0].comment = "untouched";
    EXPECT_EQ(m_file.GetCreatedByBlock(records, 10), 4);
    EXPECT_EQ(Name(), "Block");
    EXPECT_EQ(records[0].name, "creator");
    EXPECT_EQ(records[0].comment, "untouched");
    EXPECT_EQ(records[0].dateTime, CDateTime(2020, 1, 1, 8, 0, 0));
    EXPECT_EQ(records[1].name, "first");
    EXPECT_EQ(records[1].comment, "c1");
    EXPECT_EQ(records[2].name, "second");
    EXPECT_EQ(records[3].name, "third");
    EXPECT_EQ(records[3].DIP, "4711");

    SCreatedBy two[2];
    EXPECT_EQ(m_file.GetCreatedByBlock(two, 2), 2);
    EXPECT_EQ(two[1].name, "third");  // the first ModifiedBy in document order

    // Standing on the CreatedBy element itself works too, and ModifiedBy can be appended there.
    ASSERT_EQ(m_file.GotoChildNode("CreatedBy"), 1);
    EXPECT_EQ(m_file.AppendModifiedByBlock(Record("fourth", CDateTime(2024, 4, 4, 0, 0, 0))), 1);
    EXPECT_EQ(m_file.GetCreatedByBlock(records, 10), 5);
    EXPECT_EQ(records[4].name, "fourth");
    EXPECT_EQ(Name(), "CreatedBy");
}

TEST_F(ProvenanceTest, MissingAttributesLeaveTheirNames) {
    Open(
        "<Root><CreatedBy version=\"1\"><ModifiedBy name=\"m\" date=\"bad\" time=\"x\"/>"
        "<ModifiedBy name=\"n\" date=\"2001-01-01\" time=\"00:00:00\"/></CreatedBy></Root>");
    SCreatedBy records[4];
    EXPECT_EQ(m_file.GetCreatedByBlock(records, 4), 3);
    EXPECT_EQ(records[0].name, "name");
    EXPECT_EQ(records[0].DIP, "DIP");
    EXPECT_EQ(records[0].version, "1");
    EXPECT_EQ(records[0].dateTime.GetStatus(), CDateTime::invalid);
    // A record whose date does not parse stays where it is.
    EXPECT_EQ(records[1].name, "m");
    EXPECT_EQ(records[1].comment, "comment");
    EXPECT_EQ(records[2].name, "n");
    EXPECT_EQ(records[2].dateTime.GetStatus(), CDateTime::valid);

    ASSERT_EQ(m_file.GotoRootNode(), 1);
    ASSERT_EQ(m_file.AppendChildNode("Plain"), 1);
    EXPECT_EQ(m_file.GetCreatedByBlock(records, 4), 0);
    EXPECT_EQ(Name(), "Plain");
}

TEST_F(ProvenanceTest, ProcessRecords) {
    Open(
        "<Root><Process operationUID=\"FLT@@@\" implementation=\"fir\" version=\"1.0\" "
        "DIP=\"9\" buffer=\"no\" ID=\"3\"/>"
        "<Process operationUID=\"A\" implementation=\"i\" version=\"v\" DIP=\"d\" "
        "buffer=\"maybe\" ID=\"1\"/>"
        "<Process operationUID=\"A\" implementation=\"i\" version=\"v\" DIP=\"d\" "
        "buffer=\"Yes\"/><Other/></Root>");
    CSVYXmlFile::SProcess process;
    ASSERT_EQ(m_file.GotoChildNode("Process", 0), 1);
    process.buffer = 7;
    EXPECT_EQ(m_file.GetProcess(&process), 1);
    EXPECT_EQ(process.operationUID, ZAR::Str2UID("FLT@@@"));
    EXPECT_EQ(process.implementation, "fir");
    EXPECT_EQ(process.DIP, "9");
    EXPECT_EQ(process.buffer, 0);
    EXPECT_EQ(process.ID, 3);

    m_file.GotoParentNode();
    ASSERT_EQ(m_file.GotoChildNode("Process", 1), 1);
    EXPECT_EQ(m_file.GetProcess(&process), 0);  // buffer neither yes nor no
    m_file.GotoParentNode();
    ASSERT_EQ(m_file.GotoChildNode("Process", 2), 1);
    EXPECT_EQ(m_file.GetProcess(&process), 0);  // ID missing
    m_file.GotoParentNode();
    ASSERT_EQ(m_file.GotoChildNode("Other"), 1);
    EXPECT_EQ(m_file.GetProcess(&process), 0);
}

TEST_F(ProvenanceTest, ComponentRecords) {
    Open(
        "<Root><Component typeUID=\"GPS@@@\" name=\"rx\" version=\"3\"/>"
        "<Component typeUID=\"ODO@@@\" name=\"wheel\" SN=\"77\" version=\"1\">"
        "<Sensor ID=\"12\" status=\"off\"/></Component>"
        "<Component><Sensor ID=\"5x\" status=\"on\"/></Component></Root>");
    CSVYXmlFile::SComponent component;
    ASSERT_EQ(m_file.GotoChildNode("Component", 0), 1);
    EXPECT_EQ(m_file.GetComponent(&component), 1);
    EXPECT_EQ(component.typeUID, ZAR::Str2UID("GPS@@@"));
    EXPECT_EQ(component.SN, "SN");
    EXPECT_EQ(component.status, 0);
    EXPECT_EQ(Name(), "Component");

    m_file.GotoParentNode();
    ASSERT_EQ(m_file.GotoChildNode("Component", 1), 1);
    EXPECT_EQ(m_file.GetComponent(&component), 1);
    EXPECT_EQ(component.name, "wheel");
    EXPECT_EQ(component.SN, "77");
    EXPECT_EQ(component.status, -1);
    EXPECT_EQ(component.sensorID, 12);
    EXPECT_EQ(Name(), "Sensor");  // the cursor stays on the sensor

    m_file.GotoParentNode();
    m_file.GotoParentNode();
    ASSERT_EQ(m_file.GotoChildNode("Component", 2), 1);
    EXPECT_EQ(m_file.GetComponent(&component), 1);
    EXPECT_EQ(component.typeUID, ZAR::Str2UID("typeUID"));
    EXPECT_EQ(component.status, 1);
    EXPECT_EQ(component.sensorID, 5);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/document_support.h"
#include "svy3/external/uid.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using ZAR::CDateTime;
using ZAR::CSVYXmlFile;
using ZAR::SCreatedBy;

SCreatedBy Record(const std::string& name, const CDateTime& when, const std::string& comment = "") {
    return {name, "2.0", "4711", when, comment};
}

class ProvenanceTest : public svy3_test::DocumentTest {
  protected:
    // Moves to the index-th child of the root element with that name.
    void At(const std::string& name, int index = 0) {
        m_file.GotoRootNode();
        ASSERT_EQ(m_file.GotoChildNode(name, index), 1);
    }
    std::string Attribute(std::string name) {
        m_file.GetNodeAttribute(name);
        return name;
    }
};

TEST_F(ProvenanceTest, RecordsAreWrittenInOrderAndModificationsReadBackByDate) {
    Open("<Root><Block/></Root>");
    At("Block");
    EXPECT_EQ(m_file.AppendModifiedByBlock(Record("early", CDateTime())), 0);  // no CreatedBy yet
    EXPECT_EQ(m_file.AppendCreatedByBlock(Record("creator", CDateTime(2020, 1, 2, 8, 4, 5))), 1);
    EXPECT_EQ(m_file.AppendCreatedByBlock(Record("Other", CDateTime(2025, 1, 1, 0, 0, 0))), 0);
    for (const SCreatedBy& record : {Record("third", CDateTime(2023, 3, 4, 0, 0, 0), "c3"),
                                     Record("first", CDateTime(2021, 1, 1, 0, 0, 0), "c1"),
                                     Record("second", CDateTime(2022, 2, 2, 0, 0, 0))})
        EXPECT_EQ(m_file.AppendModifiedByBlock(record), 1) << record.name;
    EXPECT_EQ(Name(), "Block");
    ASSERT_EQ(m_file.Save(""), 0);
    const std::string saved = svy3_test::ReadFile(m_dir.File("doc.xml"));
    EXPECT_NE(saved.find("<CreatedBy name=\"creator\" version=\"2.0\" DIP=\"4711\" "
                         "date=\"2020-01-02\" time=\"08:04:05\">"),
              std::string::npos);
    EXPECT_NE(saved.find("<ModifiedBy name=\"third\" version=\"2.0\" DIP=\"4711\" "
                         "date=\"2023-03-04\" time=\"00:00:00\" comment=\"c3\" />"),
              std::string::npos);

    SCreatedBy records[10];
    records[0].comment = "untouched";
    EXPECT_EQ(m_file.GetCreatedByBlock(records, 10), 4);
    EXPECT_EQ(Name(), "Block");
    EXPECT_EQ(records[0].name + records[1].name + records[2].name + records[3].name,
              "creatorfirstsecondthird");
    EXPECT_EQ(records[0].comment, "untouched");
    EXPECT_EQ(records[1].comment, "c1");
    EXPECT_EQ(records[3].DIP + records[3].version, "47112.0");

    SCreatedBy two[2];
    EXPECT_EQ(m_file.GetCreatedByBlock(two, 2), 2);
    EXPECT_EQ(two[1].name, "third");  // the first ModifiedBy in document order
    // No room: nothing is read, not even the CreatedBy record.
    SCreatedBy none;
    none.name = "untouched";
    EXPECT_EQ(m_file.GetCreatedByBlock(&none, 0), 0);
    EXPECT_EQ(m_file.GetCreatedByBlock(nullptr, 10), 0);
    EXPECT_EQ(none.name, "untouched");

    // Standing on the CreatedBy element itself works too, and ModifiedBy can be appended there.
    ASSERT_EQ(m_file.GotoChildNode("CreatedBy"), 1);
    EXPECT_EQ(m_file.AppendModifiedByBlock(Record("fourth", CDateTime(2024, 4, 4, 0, 0, 0))), 1);
    EXPECT_EQ(m_file.GetCreatedByBlock(records, 10), 5);
    EXPECT_EQ(records[4].name, "fourth");
    EXPECT_EQ(Name(), "CreatedBy");
}

TEST_F(ProvenanceTest, MissingAttributesUnparsedDatesAndMissingRecords) {
    Open(
        "<Root><CreatedBy version=\"1\"><ModifiedBy name=\"m\" date=\"bad\" time=\"x\"/>"
        "<ModifiedBy name=\"n\" date=\"2001-01-01\" time=\"00:00:00\"/></CreatedBy></Root>");
    SCreatedBy records[4];
    EXPECT_EQ(m_file.GetCreatedByBlock(records, 4), 3);
    EXPECT_EQ(records[0].name + records[0].DIP + records[0].version, "nameDIP1");
    EXPECT_EQ(records[0].dateTime.GetStatus(), CDateTime::invalid);
    // A record whose date does not parse stays where it is.
    EXPECT_EQ(records[1].name + records[1].comment, "mcomment");
    EXPECT_EQ(records[2].name, "n");
    EXPECT_EQ(records[2].dateTime.GetStatus(), CDateTime::valid);

    ASSERT_EQ(m_file.GotoRootNode(), 1);
    ASSERT_EQ(m_file.AppendChildNode("Plain"), 1);
    EXPECT_EQ(m_file.GetCreatedByBlock(records, 4), 0);
    EXPECT_EQ(Name(), "Plain");

    // Null and invalid date-times write empty texts and "Invalid DateTime".
    SCreatedBy record = Record("X", CDateTime());
    record.dateTime.SetStatus(CDateTime::null);
    EXPECT_EQ(m_file.AppendCreatedByBlock(record), 1);
    record.dateTime.SetStatus(CDateTime::invalid);
    EXPECT_EQ(m_file.AppendModifiedByBlock(record), 1);
    ASSERT_EQ(m_file.GotoChildNode("CreatedBy"), 1);
    EXPECT_EQ(Attribute("date") + "|" + Attribute("time"), "|");
    ASSERT_EQ(m_file.GotoChildNode("ModifiedBy"), 1);
    EXPECT_EQ(Attribute("date") + "|" + Attribute("time"), "Invalid DateTime|Invalid DateTime");
}

TEST_F(ProvenanceTest, ProcessRecords) {
    const std::string other =
        "<Process operationUID=\"A\" implementation=\"i\" version=\"v\" DIP=\"d\" ";
    Open(
        "<Root><Process operationUID=\"FLT@@@\" implementation=\"fir\" version=\"1.0\" DIP=\"9\" "
        "buffer=\"no\" ID=\"3\"/>" +
        other + "buffer=\"Yes\" ID=\"1\"/>" + other + "buffer=\"maybe\" ID=\"1\"/>" + other +
        "buffer=\"Yes\"/><Other/></Root>");
    CSVYXmlFile::SProcess process;
    process.buffer = 7;
    At("Process", 0);
    EXPECT_EQ(m_file.GetProcess(&process), 1);
    EXPECT_EQ(std::make_tuple(process.operationUID, process.implementation, process.version,
                              process.DIP, process.buffer, process.ID),
              std::make_tuple(ZAR::Str2UID("FLT@@@"), std::string("fir"), std::string("1.0"),
                              std::string("9"), 0, 3));
    At("Process", 1);
    EXPECT_EQ(m_file.GetProcess(&process), 1);
    EXPECT_EQ(process.buffer, 1);
    for (int index : {2, 3}) {  // buffer neither yes nor no; ID missing
        At("Process", index);
        EXPECT_EQ(m_file.GetProcess(&process), 0) << index;
    }
    At("Other");
    EXPECT_EQ(m_file.GetProcess(&process), 0);
}

TEST_F(ProvenanceTest, ComponentRecords) {
    Open(
        "<Root><Component typeUID=\"GPS@@@\" name=\"rx\" version=\"3\"/>"
        "<Component typeUID=\"ODO@@@\" name=\"wheel\" SN=\"77\" version=\"1\">"
        "<Sensor ID=\"12\" status=\"off\"/></Component>"
        "<Component><Sensor ID=\"5x\" status=\"on\"/></Component><Other/></Root>");
    CSVYXmlFile::SComponent component;
    // Result, type, name, serial number, version, status and sensor, then where the cursor is.
    auto read = [&](int index) {
        At("Component", index);
        const int32_t result = m_file.GetComponent(&component);
        return std::to_string(result) + " " + std::to_string(component.typeUID) + " " +
               component.name + "|" + component.SN + "|" + component.version + " " +
               std::to_string(component.status) + " " + std::to_string(component.sensorID) + " " +
               Name();
    };
    const auto uid = [](const char* text) { return std::to_string(ZAR::Str2UID(text)); };
    component.sensorID = 8;  // a component without a sensor clears it
    EXPECT_EQ(read(0), "1 " + uid("GPS@@@") + " rx|SN|3 0 0 Component");
    // The cursor stays on the sensor.
    EXPECT_EQ(read(1), "1 " + uid("ODO@@@") + " wheel|77|1 -1 12 Sensor");
    EXPECT_EQ(read(2), "1 " + uid("typeUID") + " name|SN|version 1 5 Sensor");
    At("Other");
    EXPECT_EQ(m_file.GetComponent(&component), 0);
}

}  // namespace

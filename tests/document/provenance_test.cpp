// Provenance records: CreatedBy and ModifiedBy written and read back, Process and Component.
#include <gmock/gmock.h>

#include <string>

#include "support/document_support.h"
#include "svy3/external/uid.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using svy3_test::Join;
using testing::HasSubstr;
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
    // Reads at most `capacity` records: the count, each record's name and comment, and where the
    // cursor is after it.
    std::string Read(int32_t capacity) {
        const int32_t count = m_file.GetCreatedByBlock(records, capacity);
        std::string out = std::to_string(count) + " ";
        for (int32_t i = 0; i < count; ++i)
            out += records[i].name + "/" + records[i].comment + " ";
        return out + Name();
    }

    SCreatedBy records[10];
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
    // The CreatedBy element is written as the document creator's test shows it.
    EXPECT_THAT(svy3_test::ReadFile(m_dir.File("doc.xml")),
                HasSubstr("<ModifiedBy name=\"third\" version=\"2.0\" DIP=\"4711\" "
                          "date=\"2023-03-04\" time=\"00:00:00\" comment=\"c3\" />"));

    // The CreatedBy record has no comment to read.
    records[0].comment = "untouched";
    EXPECT_EQ(Read(10), "4 creator/untouched first/c1 second/ third/c3 Block");
    EXPECT_EQ(records[3].DIP + records[3].version, "47112.0");
    // The first ModifiedBy in document order fills the one place left.
    EXPECT_EQ(Read(2), "2 creator/untouched third/c3 Block");
    // No room: nothing is read, not even the CreatedBy record.
    records[0].name = "untouched";
    EXPECT_EQ(Read(0) + "|" + std::to_string(m_file.GetCreatedByBlock(nullptr, 10)), "0 Block|0");
    EXPECT_EQ(records[0].name, "untouched");

    // Standing on the CreatedBy element itself works too, and ModifiedBy can be appended there.
    ASSERT_EQ(m_file.GotoChildNode("CreatedBy"), 1);
    EXPECT_EQ(m_file.AppendModifiedByBlock(Record("fourth", CDateTime(2024, 4, 4, 0, 0, 0))), 1);
    EXPECT_EQ(Read(10), "5 creator/untouched first/c1 second/ third/c3 fourth/ CreatedBy");
}

TEST_F(ProvenanceTest, MissingAttributesUnparsedDatesAndMissingRecords) {
    Open(
        "<Root><CreatedBy version=\"1\"><ModifiedBy name=\"m\" date=\"bad\" time=\"x\"/>"
        "<ModifiedBy name=\"n\" date=\"2001-01-01\" time=\"00:00:00\"/></CreatedBy></Root>");
    // A missing attribute reads as its name; a record whose date does not parse stays in place.
    EXPECT_EQ(Read(4), "3 name/ m/comment n/comment Root");
    EXPECT_EQ(Join(records[0].DIP, records[0].version, records[0].dateTime.GetStatus(),
                   records[2].dateTime.GetStatus()),
              Join("DIP", 1, CDateTime::invalid, CDateTime::valid));

    ASSERT_EQ(m_file.AppendChildNode("Plain"), 1);
    EXPECT_EQ(Read(4), "0 Plain");
}

TEST_F(ProvenanceTest, ProcessAndComponentRecords) {
    const std::string process = "<Process operationUID=\"A\" implementation=\"i\" version=\"v\" ";
    Open(
        "<Root><Process operationUID=\"FLT@@@\" implementation=\"fir\" version=\"1.0\" DIP=\"9\" "
        "buffer=\"no\" ID=\"3\"/>" +
        process + "DIP=\"d\" buffer=\"Yes\" ID=\"1\"/>" + process +
        "DIP=\"d\" buffer=\"maybe\" ID=\"1\"/>" + process + "DIP=\"d\" buffer=\"Yes\"/>" +
        "<Component typeUID=\"GPS@@@\" name=\"rx\" version=\"3\"/>"
        "<Component typeUID=\"ODO@@@\" name=\"wheel\" SN=\"77\" version=\"1\">"
        "<Sensor ID=\"12\" status=\"off\"/></Component>"
        "<Component><Sensor ID=\"5x\" status=\"on\"/></Component><Other/></Root>");
    const auto uid = [](const char* text) { return std::to_string(ZAR::Str2UID(text)); };
    CSVYXmlFile::SProcess p;
    p.buffer = 7;
    // The result and the record's fields.
    const auto readProcess = [&](int index) {
        At("Process", index);
        const int32_t result = m_file.GetProcess(&p);
        return Join(result, p.operationUID, p.implementation, p.version, p.DIP, p.buffer, p.ID);
    };
    EXPECT_EQ(readProcess(0), Join(1, uid("FLT@@@"), "fir", "1.0", 9, 0, 3));
    EXPECT_EQ(readProcess(1), Join(1, uid("A"), "i", "v", "d", 1, 1));
    // The buffer neither yes nor no, or the ID missing.
    EXPECT_EQ(readProcess(2).substr(0, 2) + readProcess(3).substr(0, 2), "0 0 ");

    CSVYXmlFile::SComponent c;
    // Result, type, name, serial number, version, status and sensor, then where the cursor is.
    const auto readComponent = [&](int index) {
        At("Component", index);
        const int32_t result = m_file.GetComponent(&c);
        return Join(result, c.typeUID, c.name, c.SN, c.version, c.status, c.sensorID, Name());
    };
    c.sensorID = 8;  // a component without a sensor clears it
    EXPECT_EQ(readComponent(0), Join(1, uid("GPS@@@"), "rx SN 3", 0, 0, "Component"));
    // The cursor stays on the sensor.
    EXPECT_EQ(readComponent(1), Join(1, uid("ODO@@@"), "wheel 77 1", -1, 12, "Sensor"));
    EXPECT_EQ(readComponent(2), Join(1, uid("typeUID"), "name SN version", 1, 5, "Sensor"));
    At("Other");
    EXPECT_EQ(m_file.GetProcess(&p) + m_file.GetComponent(&c), 0);
}

}  // namespace

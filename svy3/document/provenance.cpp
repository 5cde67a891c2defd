// Provenance members of CSVYXmlFile: the CreatedBy and ModifiedBy elements, and the Process and
// Component records.
#include <cctype>

#include "svy3/external/uid.h"
#include "svy3/platform/leading_number.h"
#include "svy3/xmlfile/attribute_text.h"
#include "svy3/xmlfile/cursor_guard.h"
#include "svy3/xmlfile/svy_node_value.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

const char kCreatedBy[] = "CreatedBy";
const char kModifiedBy[] = "ModifiedBy";

// Writes name, version, DIP, date and time on the current element, in that order.
void WriteRecordAttributes(CSVYXmlFile& file, const SCreatedBy& record) {
    file.SetNodeAttribute("name", record.name);
    file.SetNodeAttribute("version", record.version);
    file.SetNodeAttribute("DIP", record.DIP);
    file.SetNodeAttribute("date", record.dateTime.Format("%Y-%m-%d"));
    file.SetNodeAttribute("time", record.dateTime.Format("%H:%M:%S"));
}

// Fills a record from the current CreatedBy or ModifiedBy element.
void ReadRecord(CSVYXmlFile& file, SCreatedBy& record, bool withComment) {
    record.name = AttributeText(file, "name");
    record.DIP = AttributeText(file, "DIP");
    record.version = AttributeText(file, "version");
    if (withComment)
        record.comment = AttributeText(file, "comment");
    record.dateTime.ParseDateTime(AttributeText(file, "date") + " " + AttributeText(file, "time"));
}

bool Earlier(const SCreatedBy& a, const SCreatedBy& b) {
    return a.dateTime.GetStatus() == CDateTime::valid &&
           b.dateTime.GetStatus() == CDateTime::valid && a.dateTime.m_dt < b.dateTime.m_dt;
}

// Stable insertion sort: records whose date-time is not valid are neither earlier nor later than
// any other, which a comparison sort of the standard library does not allow.
void SortByDateTime(SCreatedBy* first, SCreatedBy* last) {
    for (SCreatedBy* i = first; i != last; ++i) {
        for (SCreatedBy* j = i; j != first && Earlier(*j, *(j - 1)); --j)
            std::swap(*j, *(j - 1));
    }
}

}  // namespace

int32_t CSVYXmlFile::AppendCreatedByBlock(const SCreatedBy& record) {
    CCursorGuard cursor(*this);
    if (GotoChildNode(kCreatedBy) || !AppendChildNode(kCreatedBy))
        return 0;
    WriteRecordAttributes(*this, record);
    return 1;
}

int32_t CSVYXmlFile::AppendModifiedByBlock(const SCreatedBy& record) {
    CCursorGuard cursor(*this);
    std::string name;
    const bool onTarget = GotoChildNode(kCreatedBy) || (GetNodeName(name) && name == kCreatedBy);
    if (!onTarget || !AppendChildNode(kModifiedBy))
        return 0;
    WriteRecordAttributes(*this, record);
    SetNodeAttribute("comment", record.comment);
    return 1;
}

int32_t CSVYXmlFile::GetCreatedByBlock(SCreatedBy* records, int32_t capacity) {
    if (!records || capacity < 1)
        return 0;
    CCursorGuard cursor(*this);
    std::string name;
    if (!(GetNodeName(name) && name == kCreatedBy) && !GotoChildNode(kCreatedBy))
        return 0;
    ReadRecord(*this, records[0], false);
    int32_t count = 1;
    if (count < capacity && GotoChildNode(kModifiedBy)) {
        do {
            ReadRecord(*this, records[count], true);
            ++count;
        } while (count < capacity && GotoNextSibling(kModifiedBy));
    }
    SortByDateTime(records + 1, records + count);
    return count;
}

int32_t CSVYXmlFile::GetProcess(SProcess* process) {
    std::string name;
    if (!process || !GetNodeName(name) || name != "Process")
        return 0;
    int32_t error = 0;
    CSVYNodeValue::GetUID(process->operationUID, this, "operationUID", &error);
    CSVYNodeValue::Get(process->implementation, this, "implementation", &error);
    CSVYNodeValue::Get(process->version, this, "version", &error);
    CSVYNodeValue::Get(process->DIP, this, "DIP", &error);
    std::string buffer;
    CSVYNodeValue::Get(buffer, this, "buffer", &error);
    CSVYNodeValue::Get(process->ID, this, "ID", &error);
    if (!error) {
        const int first = buffer.empty() ? 0 : std::toupper(static_cast<unsigned char>(buffer[0]));
        if (first == 'Y')
            process->buffer = 1;
        else if (first == 'N')
            process->buffer = 0;
        else
            error = 1;
    }
    return error ? 0 : 1;
}

int32_t CSVYXmlFile::GetComponent(SComponent* component) {
    std::string name;
    if (!component || !GetNodeName(name) || name != "Component")
        return 0;
    component->typeUID = Str2UID(AttributeText(*this, "typeUID"));
    component->name = AttributeText(*this, "name");
    component->SN = AttributeText(*this, "SN");
    component->version = AttributeText(*this, "version");
    component->status = 0;
    component->sensorID = 0;
    if (GotoChildNode("Sensor")) {
        component->sensorID = LeadingInt32(AttributeText(*this, "ID").c_str());
        component->status = AttributeText(*this, "status") == "on" ? 1 : -1;
    }
    return 1;
}

}  // namespace ZAR

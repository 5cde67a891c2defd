#include "svy3/document/site_definition.h"

#include "svy3/external/gpr_param.h"
#include "svy3/platform/path_text.h"
#include "svy3/xmlfile/attribute_text.h"
#include "svy3/xmlfile/cursor_guard.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

// A decimal number between 1 and the largest comment number, with optional blanks around it.
bool ParseCommentNumber(const std::string& text, int32_t& number) {
    size_t i = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    if (i == std::string::npos)
        return false;
    number = 0;
    for (; i <= end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        number = number * 10 + (text[i] - '0');
        if (number > CSiteDefinition::kMaxCommentNumber)
            return false;
    }
    return number >= 1;
}

}  // namespace

CSiteDefinition::CSiteDefinition() : m_bJobDateValid(0) {}

CSiteDefinition::~CSiteDefinition() = default;

int32_t CSiteDefinition::Load(CSVYXmlFile* file) {
    std::string name;
    if (!file || !file->GetNodeName(name) || name != "SiteDefinition")
        return 0;
    m_strVersion = AttributeText(*file, "version");

    int32_t result = 1;
    CCursorGuard cursor(*file);
    if (file->GotoChildNode("")) {
        do {
            if (!file->GetNodeName(name) || name.empty() || name[0] == '#')
                continue;
            if (name == "Comment" || name == "CreatedBy")
                continue;
            std::string text;
            file->GetNodeText(text);
            if (!m_fields.emplace(name, text).second)
                result = 0;
        } while (file->GotoNextSibling());
    }

    cursor.Return();
    if (file->GotoChildNode("Comment")) {
        do {
            int32_t number = 0;
            if (!ParseCommentNumber(AttributeText(*file, "number"), number))
                return 0;
            if (m_comments.size() < static_cast<size_t>(number))
                m_comments.resize(number);
            std::string text;
            file->GetNodeText(text);
            m_comments[number - 1] = text;
        } while (file->GotoNextSibling("Comment"));
    }

    cursor.Return();
    if (file->GotoChildNode("Job")) {
        const std::string joined =
            AttributeText(*file, "date") + " " + AttributeText(*file, "time");
        if (m_jobDateTime.ParseDateTime(joined)) {
            m_bJobDateValid = 1;
        } else {
            m_bJobDateValid = 0;
            m_strJobDate = joined;
        }
    }
    return result;
}

int32_t CSiteDefinition::GetFieldString(const std::string& name, std::string& value) const {
    auto it = m_fields.find(name);
    if (it == m_fields.end())
        return 0;
    value = it->second;
    return 1;
}

int32_t CSVYXmlFile::WriteSiteDefinition(const SCreatedBy& createdBy,
                                         const std::string& headerPath) {
    GprParam header;
    header.Load(ToFileSystemPath(headerPath), 0);  // the block is written either way

    AppendChildNode("SiteDefinition");
    AppendCreatedByBlock(createdBy);
    for (const char* field : {"Operator", "CompanyName", "SiteName"}) {
        AppendChildNode(field);
        SetNodeText("NA");
        GotoParentNode();
    }
    CDateTime jobTime;
    jobTime.ParseDateTime(header.GetGprParam()->DateTime);
    AppendChildNode("Job");
    SetNodeText("Unknown job " + jobTime.Format("%Y-%m-%d %H:%M:%S"));
    SetNodeAttribute("date", jobTime.Format("%Y-%m-%d"));
    SetNodeAttribute("time", jobTime.Format("%H:%M:%S"));
    GotoParentNode();
    GotoParentNode();
    return 1;
}

}  // namespace ZAR

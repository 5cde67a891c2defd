// CSiteDefinition: the SiteDefinition block of a project document - who made the survey, where,
// for which job and when.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "svy3/platform/date_time.h"
#include "svy3/platform/export.h"

namespace ZAR {

class CSVYXmlFile;

class SVY3_API CSiteDefinition {
  public:
    // Comment numbers above this are refused (they would make the comments array huge).
    static constexpr int32_t kMaxCommentNumber = 100000;

    CSiteDefinition();
    virtual ~CSiteDefinition();

    // Reads the SiteDefinition element the cursor stands on; the cursor ends where it started.
    // Every child element other than Comment and CreatedBy becomes a named field (its name and
    // text); Comment elements fill `m_comments` by their 1-based `number`; the Job's date and time
    // attributes give the job date-time. Returns 1, or 0 when the cursor is not on a
    // SiteDefinition, when a field name is repeated (the first text stays; reading goes on), or
    // when a Comment's number is missing, not a decimal number, below 1 or above
    // kMaxCommentNumber (reading stops there).
    int32_t Load(CSVYXmlFile* file);

    // The text of the named field (exact, case-sensitive name) into `value`; 1 when found, else 0
    // with `value` untouched.
    int32_t GetFieldString(const std::string& name, std::string& value) const;

    std::string m_strVersion;                     // the version attribute, or "version" if missing
    std::string m_strJobDate;                     // Job date and time text when it did not parse
    int32_t m_bJobDateValid;                      // 1 when the Job's date and time parsed
    CDateTime m_jobDateTime;                      // the Job's date and time
    std::vector<std::string> m_comments;          // entry i: the Comment numbered i + 1
    std::map<std::string, std::string> m_fields;  // named fields: element name to text
};

}  // namespace ZAR

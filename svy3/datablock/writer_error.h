// CWriterError: the failure of a block writer of a new project document.
#pragma once

#include <stdexcept>
#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// Thrown by the block writers (CSVYXmlFile::WriteDataBlock_V110); what() is the message shown to
// the user. CSVYXmlFile::CreateNewFile_V110 catches it.
class SVY3_API CWriterError : public std::runtime_error {
  public:
    explicit CWriterError(const std::string& message) : std::runtime_error(message) {}
    CWriterError(const CWriterError&) = default;
    CWriterError& operator=(const CWriterError&) = default;
    ~CWriterError() override;
};

}  // namespace ZAR

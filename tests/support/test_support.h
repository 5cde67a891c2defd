// Helpers shared by the unit tests: temporary folders, file contents and captured message boxes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "svy3/platform/message_box.h"
#include "svy3/platform/scoped_message_handler.h"

namespace svy3_test {

// A fresh folder below the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // Path of a file inside the folder.
    std::string File(const std::string& name) const;

  private:
    std::string m_path;
};

// Writes bytes to a file (replacing it); returns the path.
std::string WriteFile(const std::string& path, const std::string& bytes);
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Collects every message box shown while it lives instead of printing it.
class MessageBoxCapture {
  public:
    MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    const std::vector<std::pair<std::string, ZAR::MessageIcon>>& messages() const {
        return m_messages;
    }

  private:
    std::vector<std::pair<std::string, ZAR::MessageIcon>> m_messages;
    ZAR::CScopedMessageBoxHandler m_handler;
};

}  // namespace svy3_test

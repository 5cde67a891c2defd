// Helpers shared by the unit tests: temporary folders, file contents and captured message boxes.
#pragma once

#include <sstream>
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

// The values, each followed by a blank; numbers with 15 significant digits. One comparison of a
// record's fields against a text shows every field that differs.
template <class... T>
std::string Join(const T&... values) {
    std::ostringstream out;
    out.precision(15);
    ((out << values << ' '), ...);
    return out.str();
}

// The texts, each followed by a blank.
template <class Texts>
std::string Joined(const Texts& texts) {
    std::string out;
    for (const auto& text : texts)
        out += std::string(text) + " ";
    return out;
}

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

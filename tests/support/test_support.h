// Helpers shared by the unit tests: temporary folders, file contents and captured message boxes.
#pragma once

#include <boost/filesystem.hpp>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "svy3/platform/message_box.h"
#include "svy3/platform/scoped_message_handler.h"

namespace svy3_test {

// A fresh folder below the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir() {
        namespace fs = boost::filesystem;
        const fs::path dir =
            fs::temp_directory_path() / fs::unique_path("svy3-test-%%%%-%%%%-%%%%");
        fs::create_directories(dir);
        m_path = dir.string();
    }
    ~TempDir() {
        namespace fs = boost::filesystem;
        boost::system::error_code ec;
        // Tests make files read-only; make them removable again first.
        for (fs::recursive_directory_iterator it(m_path, ec), end; !ec && it != end;
             it.increment(ec))
            fs::permissions(it->path(), fs::owner_all | fs::add_perms, ec);
        fs::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // Path of a file inside the folder.
    std::string File(const std::string& name) const {
        return (boost::filesystem::path(m_path) / name).string();
    }

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
inline std::string WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write test file " + path);
    return path;
}

// Reads a whole file; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Collects every message box shown while it lives instead of printing it.
class MessageBoxCapture {
  public:
    const std::vector<std::pair<std::string, ZAR::MessageIcon>>& messages() const {
        return m_messages;
    }

  private:
    std::vector<std::pair<std::string, ZAR::MessageIcon>> m_messages;
    ZAR::CScopedMessageBoxHandler m_handler{[this](const std::string& text, ZAR::MessageIcon icon) {
        m_messages.emplace_back(text, icon);
    }};
};

}  // namespace svy3_test

#include "support/test_support.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace fs = boost::filesystem;

namespace svy3_test {

TempDir::TempDir() {
    fs::path dir = fs::temp_directory_path() / fs::unique_path("svy3-test-%%%%-%%%%-%%%%");
    fs::create_directories(dir);
    m_path = dir.string();
}

TempDir::~TempDir() {
    boost::system::error_code ec;
    // Tests make files read-only; make them removable again first.
    for (fs::recursive_directory_iterator it(m_path, ec), end; !ec && it != end; it.increment(ec))
        fs::permissions(it->path(), fs::owner_all | fs::add_perms, ec);
    fs::remove_all(m_path, ec);
}

std::string TempDir::File(const std::string& name) const {
    return (fs::path(m_path) / name).string();
}

std::string WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write test file " + path);
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

MessageBoxCapture::MessageBoxCapture()
    : m_handler([this](const std::string& text, ZAR::MessageIcon icon) {
          m_messages.emplace_back(text, icon);
      }) {}

}  // namespace svy3_test

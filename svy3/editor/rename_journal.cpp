#include "svy3/editor/rename_journal.h"

#include <cerrno>
#include <cinttypes>
#include <fstream>

#include <boost/filesystem/operations.hpp>

#include "svy3/editor/error.h"
#include "svy3/editor/gpz_svy_120.h"
#include "svy3/editor/rename_files.h"
#include "svy3/editor/rename_plan.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace ZAR {
namespace fs = boost::filesystem;

namespace {

const char kHeader[] = "svy3 rename journal 1";

// FNV-1a over the document's bytes; "missing" when it cannot be read.
std::string Fingerprint(const fs::path& document) {
    std::ifstream in(document.string(), std::ios::binary);
    if (!in)
        return "missing";
    uint64_t hash = 14695981039346656037ull;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash ^= static_cast<unsigned char>(buffer[i]);
            hash *= 1099511628211ull;
        }
    }
    char text[32];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

// Paths in records: tabs, line breaks and backslashes escaped, so that any name fits on a line.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(Unescaped(line.substr(start, tab - start)));
    fields.push_back(Unescaped(line.substr(start)));
    return fields;
}

[[noreturn]] void Refuse(const fs::path& path, boost::system::errc::errc_t code) {
    throw fs::filesystem_error("outside the data folder", path,
                               boost::system::errc::make_error_code(code));
}

}  // namespace

fs::path RenameJournal::JournalPath(const fs::path& document) {
    return fs::path(document.string() + ".svy3-journal");
}

RenameJournal::RenameJournal(const fs::path& document, const fs::path& root, FileOperations* inner)
    : m_journal(JournalPath(document)), m_root(root), m_inner(inner) {
    boost::system::error_code ec;
    if (fs::exists(m_journal, ec))
        throw fs::filesystem_error(
            "an earlier batch of moves was cut off; recover it first", m_journal,
            boost::system::errc::make_error_code(boost::system::errc::file_exists));
    m_file = std::fopen(m_journal.string().c_str(), "wx");
    if (!m_file)
        throw fs::filesystem_error(
            "cannot write the journal", m_journal,
            boost::system::error_code(errno, boost::system::system_category()));
    Record(kHeader);
    Record("document\t" + Fingerprint(document) + "\t" + Escaped(fs::absolute(root).string()));
}

RenameJournal::~RenameJournal() {
    if (m_file)
        std::fclose(m_file);
}

FileOperations& RenameJournal::Inner() const {
    return m_inner ? *m_inner : DefaultFileOperations();
}

void RenameJournal::Record(const std::string& line) {
    if (!m_file)
        throw fs::filesystem_error(
            "the journal is closed", m_journal,
            boost::system::errc::make_error_code(boost::system::errc::bad_file_descriptor));
    const bool written = std::fputs((line + "\n").c_str(), m_file) >= 0 && std::fflush(m_file) == 0;
#ifdef _WIN32
    const bool synced = _commit(_fileno(m_file)) == 0;
#else
    const bool synced = fsync(fileno(m_file)) == 0;
#endif
    if (!written || !synced)
        throw fs::filesystem_error(
            "cannot write the journal", m_journal,
            boost::system::errc::make_error_code(boost::system::errc::io_error));
}

template <class Change>
void RenameJournal::Journaled(const char* kind, const fs::path& from, const fs::path& to,
                              Change change) {
    if (!IsInsideFolder(m_root, from))
        Refuse(from, boost::system::errc::permission_denied);
    if (!to.empty() && !IsInsideFolder(m_root, to))
        Refuse(to, boost::system::errc::permission_denied);
    Record(std::string("begin\t") + kind + "\t" + Escaped(fs::absolute(from).string()) + "\t" +
           Escaped(to.empty() ? std::string() : fs::absolute(to).string()));
    change();
    Record("done");
}

bool RenameJournal::Exists(const fs::path& path) {
    return Inner().Exists(path);
}

bool RenameJournal::IsEmptyDirectory(const fs::path& path) {
    return Inner().IsEmptyDirectory(path);
}

std::vector<fs::path> RenameJournal::FilesWithStem(const fs::path& directory,
                                                   const std::string& stem) {
    return Inner().FilesWithStem(directory, stem);
}

void RenameJournal::Move(const fs::path& from, const fs::path& to) {
    Journaled("move", from, to, [&] { Inner().Move(from, to); });
}

void RenameJournal::Copy(const fs::path& from, const fs::path& to) {
    Journaled("copy", from, to, [&] { Inner().Copy(from, to); });
}

void RenameJournal::CreateDirectory(const fs::path& directory) {
    Journaled("mkdir", directory, {}, [&] { Inner().CreateDirectory(directory); });
}

void RenameJournal::RemoveDirectory(const fs::path& directory) {
    Journaled("rmdir", directory, {}, [&] { Inner().RemoveDirectory(directory); });
}

void RenameJournal::RemoveFile(const fs::path& path) {
    Journaled("remove", path, {}, [&] { Inner().RemoveFile(path); });
}

void RenameJournal::Finish() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    fs::remove(m_journal);
}

RecoveryResult RecoverRenames(const fs::path& document, std::vector<std::string>& report,
                              FileOperations* operations) {
    FileOperations& disk = operations ? *operations : DefaultFileOperations();
    const fs::path journalPath = RenameJournal::JournalPath(document);
    std::ifstream in(journalPath.string());
    if (!in)
        return RecoveryResult::kNothingToDo;
    std::string line;
    std::vector<std::vector<std::string>> changes;  // kind, from, to
    std::vector<std::string> header;
    if (!std::getline(in, line) || line != kHeader || !std::getline(in, line) ||
        (header = Fields(line)).size() != 3 || header[0] != "document") {
        report.push_back(journalPath.string() + " is not a journal of moves; left as it is");
        return RecoveryResult::kIncomplete;
    }
    // The folder recovery may touch comes from the document, not from the journal, which could
    // have been written by anyone: the document's data folder, or its own folder when it does not
    // load.
    fs::path root = fs::absolute(document).parent_path();
    try {
        GpzSvy120 editor;
        editor.Load(document.string().c_str());
        root = editor.DataDir();
    } catch (const CError&) {
    }
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() == 4 && fields[0] == "begin")
            changes.push_back({fields[1], fields[2], fields[3]});
    }
    in.close();

    bool complete = true;
    auto attempt = [&](const std::string& what, const fs::path& a, const fs::path& b, auto change) {
        if (!IsInsideFolder(root, a) || (!b.empty() && !IsInsideFolder(root, b))) {
            report.push_back("not touched (outside the data folder): " + what);
            complete = false;
            return;
        }
        try {
            change();
            report.push_back(what);
        } catch (const fs::filesystem_error& error) {
            report.push_back("failed: " + what + ": " + error.what());
            complete = false;
        }
    };

    const bool saved = Fingerprint(document) != header[1];
    if (saved) {
        // The document names the new places: only backups of replaced files are left to remove.
        for (const auto& change : changes) {
            const fs::path to = change[2];
            if (change[0] == "move" &&
                to.filename().string().rfind(RenameFiles::kReplacedPrefix, 0) == 0 &&
                disk.Exists(to))
                attempt("remove " + to.string(), to, {}, [&] { disk.RemoveFile(to); });
        }
    } else {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
            const std::string& kind = (*it)[0];
            const fs::path from = (*it)[1], to = (*it)[2];
            if (kind == "move" && disk.Exists(to) && !disk.Exists(from))
                attempt("move " + to.string() + " -> " + from.string(), to, from,
                        [&] { disk.Move(to, from); });
            else if (kind == "copy" && disk.Exists(to))
                attempt("remove " + to.string(), to, {}, [&] { disk.RemoveFile(to); });
            else if (kind == "mkdir" && disk.IsEmptyDirectory(from))
                attempt("remove folder " + from.string(), from, {},
                        [&] { disk.RemoveDirectory(from); });
            else if (kind == "rmdir" && !disk.Exists(from))
                attempt("make folder " + from.string(), from, {},
                        [&] { disk.CreateDirectory(from); });
        }
    }
    if (!complete)
        return RecoveryResult::kIncomplete;
    fs::remove(journalPath);
    return saved ? RecoveryResult::kRolledForward : RecoveryResult::kRolledBack;
}

}  // namespace ZAR

#include "svy3/editor/rename_plan.h"

#include <algorithm>
#include <set>

#include <boost/filesystem/operations.hpp>

#include "svy3/editor/rename_files.h"
#include "svy3/platform/text.h"

namespace ZAR {
namespace fs = boost::filesystem;

namespace {

fs::path Resolved(const fs::path& path) {
    boost::system::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path), ec);
    return ec ? fs::absolute(path).lexically_normal() : resolved;
}

}  // namespace

bool IsInsideFolder(const fs::path& root, const fs::path& path) {
    const fs::path base = Resolved(root);
    const fs::path inside = Resolved(path);
    auto b = base.begin();
    auto p = inside.begin();
    for (; b != base.end(); ++b, ++p) {
        if (b->string() == "." && std::next(b) == base.end())
            break;  // a trailing separator
        if (p == inside.end() || *b != *p)
            return false;
    }
    return true;
}

RenamePlan::RenamePlan(const fs::path& root) : m_root(root) {}

RenamePlan::State RenamePlan::StateOf(const fs::path& path) const {
    const auto changed = m_picture.find(path.lexically_normal());
    if (changed != m_picture.end())
        return changed->second;
    boost::system::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (status.type() == fs::directory_file)
        return State::kDirectory;
    return status.type() > fs::file_not_found ? State::kFile : State::kAbsent;
}

void RenamePlan::Fail(const char* what, const fs::path& path,
                      boost::system::errc::errc_t code) const {
    throw fs::filesystem_error(what, path, boost::system::errc::make_error_code(code));
}

bool RenamePlan::Exists(const fs::path& path) {
    return StateOf(path) != State::kAbsent;
}

bool RenamePlan::IsEmptyDirectory(const fs::path& path) {
    if (StateOf(path) != State::kDirectory)
        return false;
    const fs::path folder = path.lexically_normal();
    for (const auto& changed : m_picture) {
        if (changed.first.parent_path() == folder && changed.second != State::kAbsent)
            return false;
    }
    boost::system::error_code ec;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        if (StateOf(it->path()) != State::kAbsent)
            return false;
    }
    return true;
}

std::vector<fs::path> RenamePlan::FilesWithStem(const fs::path& directory,
                                                const std::string& stem) {
    std::set<fs::path> files;
    for (const fs::path& file : FileOperations::FilesWithStem(directory, stem)) {
        if (StateOf(file) == State::kFile)
            files.insert(file);
    }
    const fs::path folder = directory.lexically_normal();
    for (const auto& changed : m_picture) {
        if (changed.second == State::kFile && changed.first.parent_path() == folder &&
            EqualIgnoringCase(changed.first.stem().string(), stem))
            files.insert(changed.first);
    }
    return {files.begin(), files.end()};
}

void RenamePlan::Move(const fs::path& from, const fs::path& to) {
    if (StateOf(from) == State::kAbsent)
        Fail("cannot move", from, boost::system::errc::no_such_file_or_directory);
    if (StateOf(to) != State::kAbsent)
        Fail("cannot move", to, boost::system::errc::file_exists);
    m_picture[to.lexically_normal()] = StateOf(from);
    m_picture[from.lexically_normal()] = State::kAbsent;
    m_steps.push_back({Step::kMove, from, to});
}

void RenamePlan::Copy(const fs::path& from, const fs::path& to) {
    if (StateOf(from) != State::kFile)
        Fail("cannot copy", from, boost::system::errc::no_such_file_or_directory);
    if (StateOf(to) != State::kAbsent)
        Fail("cannot copy", to, boost::system::errc::file_exists);
    m_picture[to.lexically_normal()] = State::kFile;
    m_steps.push_back({Step::kCopy, from, to});
}

void RenamePlan::CreateDirectory(const fs::path& directory) {
    if (StateOf(directory) != State::kAbsent)
        Fail("cannot make folder", directory, boost::system::errc::file_exists);
    m_picture[directory.lexically_normal()] = State::kDirectory;
    m_steps.push_back({Step::kMakeDirectory, directory, {}});
}

void RenamePlan::RemoveDirectory(const fs::path& directory) {
    if (!IsEmptyDirectory(directory))
        Fail("cannot remove folder", directory, boost::system::errc::directory_not_empty);
    m_picture[directory.lexically_normal()] = State::kAbsent;
    m_steps.push_back({Step::kRemoveDirectory, directory, {}});
}

void RenamePlan::RemoveFile(const fs::path& path) {
    m_picture[path.lexically_normal()] = State::kAbsent;
    m_steps.push_back({Step::kRemoveFile, path, {}});
}

void RenamePlan::TakenAsMade(const fs::path& source, const fs::path& target) {
    m_steps.push_back({Step::kKept, source, target});
}

std::vector<std::string> RenamePlan::Describe() const {
    std::vector<std::string> lines;
    for (const Step& step : m_steps) {
        const std::string from = step.from.string(), to = step.to.string();
        switch (step.kind) {
            case Step::kMove:
                lines.push_back("move " + from + " -> " + to);
                break;
            case Step::kCopy:
                lines.push_back("copy " + from + " -> " + to);
                break;
            case Step::kMakeDirectory:
                lines.push_back("make folder " + from);
                break;
            case Step::kRemoveDirectory:
                lines.push_back("remove folder " + from);
                break;
            case Step::kRemoveFile:
                lines.push_back("remove " + from);
                break;
            case Step::kKept:
                lines.push_back("keep " + from + " (" + to + " exists)");
                break;
        }
    }
    return lines;
}

std::vector<std::string> RenamePlan::Problems(bool overwrite) const {
    std::vector<std::string> problems;
    std::set<fs::path> written;
    std::map<std::string, fs::path> foldedNames;  // targets by their lower-case form
    for (const Step& step : m_steps) {
        for (const fs::path* path : {&step.from, &step.to}) {
            if (!path->empty() && !IsInsideFolder(m_root, *path))
                problems.push_back(path->string() + " is outside the data folder " +
                                   m_root.string());
        }
        if (step.kind == Step::kKept && !overwrite)
            problems.push_back(step.to.string() + " already exists; " + step.from.string() +
                               " would not be moved there");
        if (step.kind == Step::kMove || step.kind == Step::kCopy) {
            if (!written.insert(step.to.lexically_normal()).second)
                problems.push_back("two files would be moved to " + step.to.string());
            // Documents and data folders move to systems that ignore letter case in names.
            const std::string folded = ToLower(step.to.lexically_normal().string());
            const auto other = foldedNames.emplace(folded, step.to);
            if (!other.second && other.first->second != step.to)
                problems.push_back(step.to.string() + " and " + other.first->second.string() +
                                   " differ only by letter case");
        }
        if (step.kind == Step::kMove) {
            // A file this batch put somewhere, set aside for another: two files for one name.
            const bool setAside =
                step.to.filename().string().rfind(RenameFiles::kReplacedPrefix, 0) == 0;
            if (setAside && written.count(step.from.lexically_normal()))
                problems.push_back("two files would be moved to " + step.from.string());
            written.erase(step.from.lexically_normal());
        }
    }
    return problems;
}

}  // namespace ZAR

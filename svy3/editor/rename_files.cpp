#include "svy3/editor/rename_files.h"

#include <algorithm>

#include <boost/filesystem/operations.hpp>

#include "svy3/platform/text.h"

namespace ZAR {
namespace fs = boost::filesystem;

namespace {

// Where an existing target waits while a move replaces it: a hidden name beside it.
fs::path BackupPath(const fs::path& target) {
    return target.parent_path() / (RenameFiles::kReplacedPrefix + target.filename().string());
}

bool SameFileName(const fs::path& a, const fs::path& b) {
    return EqualIgnoringCase(a.filename().string(), b.filename().string());
}

}  // namespace

RenameFiles::RenameFiles(FileOperations* operations) : m_operations(operations) {}

RenameFiles::RenameFiles(const RenameFiles& other)
    : m_operations(other.m_operations),
      m_entries(other.m_entries),
      m_description(other.m_description) {}

RenameFiles& RenameFiles::operator=(const RenameFiles& other) {
    if (this != &other) {
        Keep();
        m_operations = other.m_operations;
        m_entries = other.m_entries;
        m_description = other.m_description;
    }
    return *this;
}

RenameFiles::~RenameFiles() {
    // Only the real file system is sure to be alive here; with other operations the owner keeps
    // or undoes the changes before they go.
    if (!m_operations)
        Keep();
}

void RenameFiles::SetFileOperations(FileOperations* operations) {
    m_operations = operations;
}

FileOperations& RenameFiles::Operations() const {
    return m_operations ? *m_operations : DefaultFileOperations();
}

std::string RenameFiles::Describe(const fs::path& source, const fs::path& target) {
    return "\"" + source.string() + "\" to \"" + target.string() + "\"";
}

void RenameFiles::Add(const fs::path& source, const fs::path& target) {
    Entry entry;
    entry.source = source;
    entry.target = target;
    if (!Operations().Exists(source)) {
        for (const Entry& earlier : m_entries) {
            if (!SameFileName(earlier.source, source) && !SameFileName(earlier.target, source))
                continue;
            const fs::path supplier =
                Operations().Exists(earlier.source) ? earlier.source : WhereNow(earlier.target);
            if (!supplier.empty()) {
                entry.source = supplier;
                entry.copy = true;
            }
            break;
        }
    }
    m_entries.push_back(entry);
}

fs::path RenameFiles::WhereNow(fs::path path) const {
    // Follows the file through the later moves of the list (a file renamed, then moved into a
    // folder), so that a second reference to it copies it from where it is now.
    for (size_t hops = 0; hops <= m_entries.size(); ++hops) {
        if (Operations().Exists(path))
            return path;
        const auto next = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
            return e.done && !e.copy && e.source == path;
        });
        if (next == m_entries.end())
            break;
        path = next->target;
    }
    return fs::path();
}

void RenameFiles::MakeDirectories(const fs::path& directory) {
    if (directory.empty() || Operations().Exists(directory))
        return;
    MakeDirectories(directory.parent_path());
    Operations().CreateDirectory(directory);
    m_changes.push_back({Change::kMadeDirectory, directory, {}});
}

void RenameFiles::RemoveIfEmpty(const fs::path& directory) {
    if (!Operations().IsEmptyDirectory(directory))
        return;
    Operations().RemoveDirectory(directory);
    m_changes.push_back({Change::kRemovedDirectory, directory, {}});
}

bool RenameFiles::Run(const std::string* description, int mode) {
    for (Entry& entry : m_entries) {
        if (entry.done)
            continue;
        m_description = description ? *description : Describe(entry.source, entry.target);
        if (mode == kKeepExisting && Operations().Exists(entry.target)) {
            entry.done = true;
            entry.taken = true;
            Operations().TakenAsMade(entry.source, entry.target);
            RemoveIfEmpty(entry.source.parent_path());
            return true;
        }
        if (mode != kKeepExisting && mode != kOverwrite)
            return false;
        if (entry.source == entry.target) {
            entry.done = true;  // already in place
            continue;
        }
        MakeDirectories(entry.target.parent_path());
        if (!Operations().Exists(entry.source))
            continue;
        if (Operations().Exists(entry.target)) {  // overwrite mode: set the old target aside
            const fs::path backup = BackupPath(entry.target);
            Operations().Move(entry.target, backup);
            m_changes.push_back({Change::kSetAside, entry.target, backup});
        }
        if (entry.copy) {
            Operations().Copy(entry.source, entry.target);
            m_changes.push_back({Change::kCopied, entry.source, entry.target});
        } else {
            Operations().Move(entry.source, entry.target);
            m_changes.push_back({Change::kMoved, entry.source, entry.target});
        }
        entry.done = true;
        RemoveIfEmpty(entry.source.parent_path());
    }
    return true;
}

bool RenameFiles::SiblingRun(const std::string* description, int mode) {
    std::vector<Entry> pairs;
    pairs.swap(m_entries);
    for (const Entry& pair : pairs) {
        const fs::path directory = pair.source.parent_path();
        for (const fs::path& file :
             Operations().FilesWithStem(directory, pair.source.stem().string())) {
            Add(file, pair.target.parent_path() /
                          (pair.target.stem().string() + file.extension().string()));
        }
        if (!Run(description, mode))
            return false;
    }
    return true;
}

bool RenameFiles::Undo() {
    std::vector<Change> failed;  // kept, so that a later Undo can try them again
    while (!m_changes.empty()) {
        const Change change = m_changes.back();
        m_changes.pop_back();
        try {
            switch (change.kind) {
                case Change::kMoved:
                case Change::kSetAside:
                    Operations().Move(change.to, change.from);
                    break;
                case Change::kCopied:
                    Operations().RemoveFile(change.to);
                    break;
                case Change::kMadeDirectory:
                    Operations().RemoveDirectory(change.from);
                    break;
                case Change::kRemovedDirectory:
                    Operations().CreateDirectory(change.from);
                    break;
            }
        } catch (const fs::filesystem_error&) {
            failed.insert(failed.begin(), change);
        }
    }
    m_changes = failed;
    for (Entry& entry : m_entries) {
        entry.done = false;
        entry.taken = false;
    }
    return failed.empty();
}

bool RenameFiles::Keep() {
    bool complete = true;
    for (const Change& change : m_changes) {
        if (change.kind != Change::kSetAside)
            continue;
        try {
            Operations().RemoveFile(change.to);
        } catch (const std::exception&) {
            complete = false;
        }
    }
    m_changes.clear();
    return complete;
}

void RenameFiles::AdoptChanges(RenameFiles& other) {
    m_changes.insert(m_changes.end(), other.m_changes.begin(), other.m_changes.end());
    other.m_changes.clear();
}

void RenameFiles::Clear() {
    Keep();
    m_entries.clear();
}

}  // namespace ZAR

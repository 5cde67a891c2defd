// GpzSvy: the project editor. It loads a project document, maps its line sets, lines, data files
// and positions, moves a cursor over the document by element path and saves the document back.
//
// All editing logic lives here, written against a small set of virtual node primitives (move to a
// child, sibling or parent, read or write a text or attribute, delete, copy, remember a node);
// a concrete class supplies them for one document generation (GpzSvy120 for 1.2.0 documents).
//
// Where each group of members is defined:
//   svy3/editor/gpz_svy.cpp            construction, copies, Load, Empty, the relationship copy
//   svy3/editor/line_map.cpp           the line map: FillMap, iterators, DataDir, Dump
//   svy3/editor/node_path.cpp          GotoNode, GotoLineNode, FindSubnode, IsNode
//   svy3/editor/sub_node_values.cpp    typed sub-node readers and writers, SetNodeVal
//   svy3/editor/renames.cpp            Modify, file and directory renames, line sets, data paths
//   svy3/editor/settings_update.cpp    acquisition settings of a line from a radar header record
//   svy3/editor/positions_update.cpp   positions, fiducial comments and the GPS file of a line
//   svy3/mapper/gps_to_data_relationship.cpp
//                                      the GPS-to-data relationship kept in the mapper settings
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>
#include <boost/range/any_range.hpp>

#include "svy3/editor/file_operations.h"
#include "svy3/editor/rename_files.h"
#include "svy3/editor/svy_line_pos.h"
#include "svy3/external/gpr_param.h"
#include "svy3/external/transform/coordinate_relationship.h"
#include "svy3/platform/export.h"

namespace ZAR {

class SvyViloMapperSettings;

// One fiducial comment of a data file.
struct SvyLineFid {
    // Kind of fiducial, written as one letter: 0 "D", 1 "C", 2 "I", any other value "N".
    int32_t flag = 0;
    // Where along the file the comment stands, in metres of odometer distance.
    double ododist = 0.0;
    std::string comment;
};

// A forward iterator over fiducials of any container (type-erased), as SetFids takes them.
using SvyLineFidIterator = boost::any_range<SvyLineFid, boost::forward_traversal_tag, SvyLineFid&,
                                            std::ptrdiff_t>::iterator;

class SVY3_API GpzSvy {
  public:
    // How ChildNode treats a missing child.
    enum ESvyGpzCreate {
        eGpzFind = 0,          // move to an existing child only
        eGpzFindOrCreate = 1,  // move to an existing child, append one when there is none
        eGpzAppend = 2,        // always append a new child
    };

    // The line map: line set name -> line name -> full data file path -> positions. Lines that
    // stand directly under Data are filed under the empty line set name. Names order byte by
    // byte, paths element by element; positions are sorted (stably) by normalized file position.
    using PosList = std::vector<SvyLinePos>;
    using FileMap = std::map<boost::filesystem::path, PosList>;
    using LineMap = std::map<std::string, FileMap>;
    using LineSetMap = std::map<std::string, LineMap>;
    using LineSetIterator = LineSetMap::const_iterator;
    using LineIterator = LineMap::const_iterator;
    using DataFileIterator = FileMap::const_iterator;
    using PosIterator = PosList::const_iterator;

    // An empty editor: no paths, an empty map, no GPS-to-data relationship.
    GpzSvy();
    // Copies the compact-number flag, both paths, the map and the relationship record (each
    // editor owns its own copy of the record).
    GpzSvy(const GpzSvy& other);
    GpzSvy& operator=(const GpzSvy& other);

    // Loads the document at `path` (made absolute against the current folder), checks its root,
    // Data and DataDirPath elements, reads the GPS-to-data relationship from the mapper settings
    // and builds the line map. Returns 1, or -1 when a data file was left out of the map (its
    // sequence number is not 1). Throws CError for a missing or unreadable file and a malformed
    // document; the SVY file path changes only when the map was built.
    virtual int32_t Load(const boost::filesystem::path& path);
    virtual int32_t Load(const char* fileName);
    // Saves the document to `fileName`, or to the loaded file when it is null. False without a
    // document, for an empty target and when writing fails (the previous file is then unchanged).
    virtual bool Save(const char* fileName) = 0;
    // Moves the cursor to the Line named `lineName` in the line set named `*lineSetName`, or in
    // the first line set when `lineSetName` is null. False when there is no such line.
    virtual bool GotoLineNode(const std::string* lineSetName, std::string lineName);
    virtual ~GpzSvy();

    // Node primitives, relative to the cursor. Each returns false (and leaves the cursor where it
    // was) when the move, read or write fails or when no document is loaded.
  protected:
    // Loads the file into a fresh document; false when it cannot be loaded.
    virtual bool LoadXmlSvy(const boost::filesystem::path& path) = 0;

  public:
    // Enters the first child named `name` and clears `first`; when there is none, moves to the
    // next sibling of that name (`first` untouched). Loops call it first on the parent, then on
    // children that hold no child of that name, so it walks the parent's children of that name.
    virtual bool NextNode(bool& first, const char* name) = 0;
    // Moves to the parent (null name) or to the nearest ancestor named `name`.
    virtual bool ParentNode(const char* name) = 0;
    // Moves to (or creates, by `mode`) the child named `name`.
    virtual bool ChildNode(const char* name, ESvyGpzCreate mode) = 0;
    // Reads the element's text (null `attribute`), its name (empty `attribute`) or an attribute.
    // Values of 1024 bytes or more (terminator included) are a read failure.
    virtual bool GetNodeTxt(std::string& text, const char* attribute) = 0;
    // Writes an attribute, or with a null `attribute` the element's text (appending a text node
    // when the element has none).
    virtual bool SetNodeTxt(std::string text, const char* attribute) = 0;
    // Writes a number into the element's text or attribute: a float with 9 significant digits, a
    // double in the compact or the 17-digit form (see SetSubNodeValue).
    virtual bool SetNodeVal(float value, const char* attribute);
    virtual bool SetNodeVal(double value, const char* attribute);

    // Rewrites the current DataFile's FileDirPath: cleared first with `replace`, then `directory`
    // appended after a backslash (the document's separator). False without a document, and when
    // `replace` is false and `directory` empty. On failure the cursor may stay on FileDirPath.
    virtual bool ModifyFileDirPath(bool replace, std::string directory) = 0;

  protected:
    // Reads the current DataFile element: its path relative to the data directory (FileDirPath,
    // name and extension, "HD+DT1" becoming ".HD+DT1") and its sequence number.
    virtual bool DataFileInfo(boost::filesystem::path& path, int32_t& sequence) = 0;
    // Reads the current Position element, converting it into the editor's unit.
    virtual bool PosInfo(SvyLinePos& position) = 0;

  public:
    // Removes the current element; the cursor moves to its parent.
    virtual void DeleteNode() = 0;
    // Remembers the current node; the handle stays valid until released (0 without a document).
    virtual void* GetNodeHandle() = 0;
    virtual void ReleaseNodeHandle(void* node) = 0;
    virtual bool MoveToHandleNode(void* node) = 0;
    // Appends a copy of the remembered node (with its descendants when `deep`) as the last child
    // of the current element.
    virtual bool AppendNodeCopy(void* node, bool deep) = 0;
    // With the cursor on Data or a LineSet: puts `prefix` in front of the FileDirPath text of
    // every DataFile of its lines (no separator added; DataFiles without FileDirPath keep none).
    virtual bool PrefixLinesDataFilePath(const char* prefix);

    // The absolute path of the loaded document; empty before the first successful Load.
    boost::filesystem::path SvyFilePathName() const { return m_svyFilePath; }
    // The data directory: the document's DataDirPath, or the document's folder when that is
    // empty. Beyond the document's own rule, a relative DataDirPath is taken relative to the
    // document's folder rather than to the current folder, so that a project opened from anywhere
    // finds its files (a path with a drive letter stays as written). Backslashes in the
    // document's text count as separators.
    boost::filesystem::path DataDir() const;
    // The full path of a data file path as the document gives it (FileDirPath, name and
    // extension): inside DataDir(), unless it is an absolute path, which is taken as it stands
    // (joining it to the data folder would hide where the document really points).
    boost::filesystem::path DataPath(const boost::filesystem::path& documentPath) const;
    // True when nothing is loaded: no relationship, an empty map and no SVY file path.
    bool Empty() const;

    // The line map.
    LineSetIterator Begin() const { return m_lineMap.begin(); }
    LineSetIterator End() const { return m_lineMap.end(); }
    // The whole line map, for range-for.
    const LineSetMap& Map() const { return m_lineMap; }
    LineIterator Begin(LineSetIterator set) const { return set->second.begin(); }
    LineIterator End(LineSetIterator set) const { return set->second.end(); }
    DataFileIterator Begin(LineIterator line) const { return line->second.begin(); }
    DataFileIterator End(LineIterator line) const { return line->second.end(); }
    PosIterator BeginPos(DataFileIterator file) const { return file->second.begin(); }
    PosIterator EndPos(DataFileIterator file) const { return file->second.end(); }
    // A copy of the file's last position; the file must have one (test BeginPos != EndPos).
    SvyLinePos Last(DataFileIterator file) const { return file->second.back(); }
    // Prints the map, one line per data file: "[set][line][path]" and then its positions.
    void Dump(std::ostream& os) const;

    // Moves the cursor along an element path. A path beginning with "/" starts at the document
    // (its first element names the root element); "." is skipped and ".." climbs. With `create`
    // missing elements are appended. On failure the cursor stays where the walk stopped.
    bool GotoNode(const boost::filesystem::path& path, bool create);
    // Moves to the first child named `name` whose `attribute` equals `value` byte for byte (the
    // first child of that name when either is empty); the cursor stays when there is none.
    bool FindSubnode(const std::string& name, const std::string& attribute,
                     const std::string& value);
    // True when the current element is named `name`.
    bool IsNode(const std::string& name);

    // Rebuilds the map while editing names and places on disk and in the document:
    // `repairNames` gives illegal line names a legal form and names every data file (with the
    // files beside it that share its stem) after its line; `intoDataDirectory` moves the data
    // files into the data directory, and `lineDirectories` into a folder named after the line
    // (inside the data directory with `intoDataDirectory`, else inside the file's folder);
    // `overwrite` lets a move replace an existing file (kept aside until the moves are kept, so
    // that undoing restores it). Without any flag nothing happens (true). Returns FillMap's
    // result. Throws CError when the document is malformed or a move fails; every move of the
    // rebuild is then undone before the error leaves (document edits stay: reload before saving).
    bool Modify(bool repairNames, bool intoDataDirectory, bool lineDirectories, bool overwrite);
    // Renames the first line set named `oldName` (documents only; nothing moves on disk) and
    // rebuilds the map. Throws CError -27 for a null name, -31 when there is no such set.
    bool RenameLineSet(const char* oldName, const char* newName);
    // Keeps only the line set named `name` (and, when `name` is empty, only the lines outside
    // line sets); files on disk are not touched. Rebuilds the map.
    void MakeSingleLineSet(const char* name);
    // Puts `prefix` in front of every FileDirPath and rebuilds the map. False, with nothing
    // changed, when the document names a data directory.
    bool PrefixDataPath(const char* prefix);

    // Routes every file-system call of the editor's moves through `operations` (the real file
    // system when null); it must outlive the editor's use of it.
    void SetFileOperations(FileOperations* operations);
    // The moves of the last map rebuild.
    const RenameFiles& Renames() const { return m_renames; }
    // Undoes the moves of the last map rebuild; false when something could not be put back.
    bool UndoRenames() { return m_renames.Undo(); }
    // Keeps the moves of the last map rebuild (removes the backups of replaced files).
    bool KeepRenames() { return m_renames.Keep(); }
    // What the editing operations changed in the document, one readable line per change, since
    // the last ClearChanges.
    const std::vector<std::string>& DocumentChanges() const { return m_documentChanges; }
    void ClearChanges() { m_documentChanges.clear(); }

    // With the cursor on a Line: rewrites the odometer and sample counts of its radar pairs and
    // their settings (or the line's, copied first from the nearest line set's when it has none)
    // from `param`; other data files lose their Settings. False when the cursor is not on a Line
    // or a write failed (the cursor may then stand on a DataFile).
    bool SetGprParamSettings(const SGprParam& param);

    // With the cursor on a Line: replaces the positions of its ".HD+DT1" data file by the range
    // [first, last) (a range of the line map's own kind: positions in a vector), then those of
    // its "GPS" data file, when it has one, by the same range. False when the line has no
    // ".HD+DT1" file or a write into it failed (what was written stays).
    bool SetPos(PosIterator first, PosIterator last);
    // With the cursor on a Line: replaces the FIDComment elements of its ".HD+DT1" data file by
    // [first, last). False when there is no such file or a write failed.
    bool SetFids(SvyLineFidIterator first, SvyLineFidIterator last);
    // With the cursor on a Line: attaches the GPS data file `name` in `directory` (relative to the
    // data folder) as a "GPS" DataFile, replacing any earlier one. It carries copies of the first
    // two positions and the odometer of the first ".HD+DT1" file; false, with nothing appended,
    // when that file has fewer than two positions or no odometer.
    bool SetGpsFile(const std::string& name, std::string directory);

    // Whether doubles are written in the compact form (6 significant digits; the default) or
    // with 17 significant digits.
    bool CompactNumbers() const { return m_bCompactNumbers; }
    void CompactNumbers(bool compact) { m_bCompactNumbers = compact; }

    // Copies the GPS-to-data relationship into `relationship`; false when the document has none.
    bool GetGpsToDataRelationship(Transform::SCoordinateRelationship& relationship) const;
    // Writes `relationship` into the mapper settings (every other mapper setting with its
    // default) and keeps a copy; false, with the editor's record unchanged, when writing fails.
    bool SetGpsToDataRelationship(const Transform::SCoordinateRelationship& relationship);

  protected:
    friend class SvyViloMapperSettings;

    // Modification flags of FillMap.
    static constexpr uint32_t kRepairNamesFlag = 1;
    static constexpr uint32_t kDataDirectoryFlag = 2;
    static constexpr uint32_t kLineDirectoriesFlag = 4;
    static constexpr uint32_t kOverwriteFlag = 8;

    // Rebuilds the map from the document. `flags` selects edits made while walking the document
    // (none for Load). Returns false when a data file was left out; throws CError when the data
    // block is malformed.
    bool FillMap(uint32_t flags);
    void AddLinesToMap(const std::string& lineSetName, bool& error, uint32_t flags);
    void AddDataFilesToMap(const std::string& lineSetName, bool& error, uint32_t flags);
    void GetDataFilePos(PosList& positions);
    // With the cursor on a DataFile: renames its files (and the document's name) to `newName`
    // with their own extension. The pair itself goes into `lineList` (when given) so that the
    // files sharing its stem follow in the line's sibling run.
    void RenameFile(const boost::filesystem::path& newName, RenameFiles* lineList, bool overwrite);
    // With the cursor on a DataFile: moves its files into `directory` (relative to the file's own
    // folder when `relative`, else to the data directory) and rewrites FileDirPath.
    void RenameDirectory(const boost::filesystem::path& directory, bool relative,
                         RenameFiles* lineList, bool overwrite);
    // Runs the editor's moves, undoing them all and throwing `runCode` or `errorCode` on failure.
    void RunRenames(bool overwrite, int32_t runCode, int32_t errorCode);

    // Typed access to a child element's text (null `attribute`) or attribute. Getters leave the
    // value unchanged and return false when the child or value is missing; the integer and double
    // getters throw boost::bad_lexical_cast for a text that is not a number. Setters create the
    // child when it is missing; they leave the cursor on the child when the write fails.
    bool GetSubNodeText(std::string& text, const std::string& subNode, const char* attribute);
    bool SetSubNodeText(const std::string& text, const std::string& subNode, const char* attribute);
    bool GetSubNodeValue(int32_t& value, const std::string& subNode, const char* attribute);
    bool GetSubNodeValue(double& value, const std::string& subNode, const char* attribute);
    // Reads "Y", "y", "1" as true and "N", "n", "0" as false; any other text is a failure.
    bool GetSubNodeValue(bool& value, const std::string& subNode, const char* attribute);
    bool SetSubNodeValue(int32_t value, const std::string& subNode, const char* attribute);
    bool SetSubNodeValue(uint32_t value, const std::string& subNode, const char* attribute);
    bool SetSubNodeValue(float value, const std::string& subNode, const char* attribute);
    // Writes the compact form (the value narrowed to a float, 6 significant digits) while the
    // compact-number flag is set, else 17 significant digits.
    bool SetSubNodeValue(double value, const std::string& subNode, const char* attribute);
    // Writes "Y" or "N".
    bool SetSubNodeValue(bool value, const std::string& subNode, const char* attribute);

    // With the cursor on a Settings element: writes the acquisition values of `param` into it.
    bool SetSettings(const SGprParam& param);
    // With the cursor on a Settings element: the receiver at Y = separation / 2 and the
    // transmitter at -separation / 2, in `unit`.
    bool SetAntennaSeperation(double separation, const std::string& unit);
    // Gives the current element a deep copy of the nearest Settings among its ancestors' children:
    // 1 when copied, -1 when there is none (the cursor back on the element), 0 on failure.
    int32_t CopyLinesetSettingsToLine();

    // With the cursor on a Line: replaces the positions of its first DataFile whose ext is
    // `extension` by [first, last); the cursor ends on the Line. False when there is no such
    // file or a write failed.
    bool SetPos(const std::string& extension, PosIterator first, PosIterator last);

    // Reads the mapper settings into `relationship`; false (nothing changed) when they cannot be
    // read or do not enable GPS.
    bool GpsToDataRelationship(Transform::SCoordinateRelationship& relationship);

    // Whether doubles are written in the compact form (true after construction).
    bool m_bCompactNumbers = true;
    boost::filesystem::path m_svyFilePath;
    // The text of DataDirPath, with backslashes turned into separators.
    boost::filesystem::path m_dataDirectory;
    LineSetMap m_lineMap;
    RenameFiles m_renames;
    FileOperations* m_pFileOperations = nullptr;
    std::vector<std::string> m_documentChanges;
    std::unique_ptr<Transform::SCoordinateRelationship> m_pGpsToDataRelationship;
};

}  // namespace ZAR

// CSvyDataBlockInterface: opens the Data element of a loaded project document and looks up its
// line sets, lines, extensions, data files and fiducial comments by number.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "svy3/datablock/line_type.h"
#include "svy3/datablock/query_records.h"
#include "svy3/datablock/svy_data_block_v110.h"
#include "svy3/platform/export.h"

namespace ZAR {

class CSVYXmlFile;
class CSvyDataBlockInterface_V110;

// Numbering shared by the lookups (every index counts from 0):
// - set argument: -1 walks every line set, then the lines outside sets; -2 only the lines outside
//   sets; n >= 0 line set n (the lookups say whether they stop after that set or go on through
//   the last set; lines outside sets are then not walked). Any other value walks nothing.
// - type argument: eLineAny (-1) matches every line, 0 to 3 only lines of that type.
// - order argument: picks which list of a set, and of the lines outside sets, is walked: the
//   lines by name (for lines outside sets: document order) or the display orders. The display
//   orders hold only lines of types 0 to 3. The code that selects the first kind differs per
//   lookup and is given with each.
// A line "takes part" when the type argument matches it; running line numbers count the taking
// part lines across the whole walk. File numbers count file slots over all extensions of a line,
// extension by extension, slot by slot, empty slots included.
class SVY3_API CSvyDataBlockInterface {
  public:
    CSvyDataBlockInterface() = default;
    CSvyDataBlockInterface(const CSvyDataBlockInterface&) = delete;
    CSvyDataBlockInterface& operator=(const CSvyDataBlockInterface&) = delete;
    virtual ~CSvyDataBlockInterface();

    // A copy of the data directory (DataDirPath, or the document's folder).
    virtual std::string GetDataDir() = 0;
    // Number of lines of the given type in the given set (n >= 0: that set only).
    virtual int32_t GetNumLines(int32_t set, ELineType type) = 0;
    // Lines outside sets, by index in document order. 1 when filled, 0 for an index out of range.
    virtual int32_t GetLineInfo(int32_t line, LineInfo& info) = 0;
    // Extension `extension` of that line. 1 when filled, 0 when out of range.
    virtual int32_t GetExtensionInfo(int32_t line, int32_t extension, ExtensionInfo& info) = 0;
    // The extension of that kind (letter case ignored). 1 when filled, 0 when there is none.
    virtual int32_t GetExtensionInfo(int32_t line, const std::string& kind,
                                     ExtensionInfo& info) = 0;
    // The file in slot `slot` of an extension of that line. 1 when filled, 0 when out of range or
    // the slot is empty.
    virtual int32_t GetFileInfo(int32_t line, int32_t extension, int32_t slot, FileInfo& info) = 0;
    virtual int32_t GetFileInfo(int32_t line, const std::string& kind, int32_t slot,
                                FileInfo& info) = 0;
    // The n-th taking part line from set `set` (n >= 0: through the last set). Order 1 walks the
    // lines by name, any other value the display orders. 1 when filled, 0 when not found.
    virtual int32_t GetLine(SLineInfo& info, int32_t n, int32_t set, ELineType type,
                            int32_t order) = 0;
    // Name and index of line set `set` (see SLineSetInfo for the values). Always returns 0.
    virtual int32_t GetLineSet(SLineSetInfo& info, int32_t set) = 0;
    // Number of line sets.
    virtual int32_t GetSetCount() = 0;

    // Opens the Data element of the document held by `file`. The Data version may be 1.2.0,
    // 1.1.0 or missing; any other version adds a warning and the block is opened anyway. Every
    // message collected (a missing Data element, the version warning, the reader's errors and
    // warnings) is shown in one box with the exclamation icon when `showMessages` is non-zero,
    // and copied to `*error` when `error` is not null (the empty text when there were none). The
    // cursor ends where it started. Returns null when there is no Data element, when reading it
    // failed, or when `file` is null (then `*error` is empty and no box is shown).
    static std::unique_ptr<CSvyDataBlockInterface_V110> CreateAndInit(CSVYXmlFile* file,
                                                                      int32_t showMessages,
                                                                      std::string* error);

  protected:
    // Reads the Data element under the cursor; messages are appended to `error`. 1 or 0.
    virtual int32_t Initialize(CSVYXmlFile* file, std::string& error) = 0;
};

// The interface of version 1.1 data blocks; owns its model.
//
// Where the data leaves a lookup nothing to give, the answer is "not found": an empty file slot,
// a file without positions (GetFileInfo of SFileInfo), a negative comment number (GetFidComment).
class SVY3_API CSvyDataBlockInterface_V110 : public CSvyDataBlockInterface {
  public:
    CSvyDataBlockInterface_V110();
    ~CSvyDataBlockInterface_V110() override;

    // Builds a settings block from the Settings element under the cursor with LoadSettings; its
    // messages go to `error`. Null when loading fails or `file` is null. The model's settings
    // factory.
    static std::unique_ptr<CSvySettingsBlock_V110> CreateSettings(CSVYXmlFile* file,
                                                                  std::string& error);
    // 1 when the first line's lateral offset is strictly less than the second's, else 0.
    static int32_t CompareLines(const LineInfo& first, const LineInfo& second);
    // True when the kind, upper-cased, contains "DT1" (radar trace data).
    static bool IsGPRData(const std::string& kind);

    // Step size tolerance (metres) used when line types are derived.
    void SetStepSizeTolerance(double tolerance);
    // The model behind the lookups, read-only: for callers that walk every line and file (files
    // without positions included, which the numbered lookups pass over).
    const CSvyDataBlock_V110& GetDataBlock() const { return m_dataBlock; }

    std::string GetDataDir() override;
    // Counts the lines by name / in document order; `set` n >= 0 counts that set only.
    int32_t GetNumLines(int32_t set, ELineType type) override;
    int32_t GetLineInfo(int32_t line, LineInfo& info) override;
    int32_t GetExtensionInfo(int32_t line, int32_t extension, ExtensionInfo& info) override;
    int32_t GetExtensionInfo(int32_t line, const std::string& kind, ExtensionInfo& info) override;
    int32_t GetFileInfo(int32_t line, int32_t extension, int32_t slot, FileInfo& info) override;
    int32_t GetFileInfo(int32_t line, const std::string& kind, int32_t slot,
                        FileInfo& info) override;
    int32_t GetLine(SLineInfo& info, int32_t n, int32_t set, ELineType type,
                    int32_t order) override;
    int32_t GetLineSet(SLineSetInfo& info, int32_t set) override;
    int32_t GetSetCount() override;

    // The n-th taking part line from set `set` (n >= 0: through the last set). Order 2 walks the
    // lines by name, 1 the display orders. Returns 1 when filled, 0 when not found, -1 for n < 0,
    // a type outside -1 to 3, a set outside -2 to GetSetCount() or another order.
    int32_t GetLineInfo(SLineInfo& info, int32_t n, ELineType type, int32_t set, int32_t order);
    // Address of a line: in, *line is the running number n and *type, *set the filters; out,
    // *line is the line's index within its list, *type its type and *set its set (-2 outside
    // sets). Order 2: by name, 1: display order. Returns 1 when found (the outputs are written
    // only then), 0 when not found, -1 for a null pointer, *line < 0, a type outside -1 to 3, a
    // set outside -2 to GetSetCount() or another order.
    int32_t GetLineAddress(int32_t* line, ELineType* type, int32_t* set, int32_t order);
    // Number of file slots of the line-th taking part line, or of every taking part line when
    // `line` is -1; 0 when there is no such line. `set` n >= 0 counts that set only. Order 2: by
    // name, any other value: display order.
    int32_t GetFileCount(int32_t line, int32_t set, ELineType type, int32_t order);
    // The file-th file of the line-th line from set `set` (n >= 0: through the last set); with
    // `line` -1 files are counted across all lines. Order 1 walks the display orders and counts
    // only lines of the type; order 2 walks the lines by name and counts lines of every type, a
    // line of another type offering no file. Returns 1 when filled, 0 when not found (including
    // an empty slot and a file without positions), -1 for file < 0, line < -1, a type outside -1
    // to 3, a set outside -2 to GetSetCount() or another order.
    int32_t GetFileInfo(SFileInfo& info, int32_t file, int32_t line, ELineType type, int32_t set,
                        int32_t order);
    // Address of a file. In: at the start of each walked list the first *line lines are passed
    // over (order 1 counts only lines of the type, order 2 every line); *file is the running
    // file number counted over the file slots of the remaining lines of the type; *type and *set
    // are the filters (set n >= 0: through the last set). On success *file becomes the slot within
    // its extension, *line the line's index within its list, *type its type and *set its set (-2
    // outside sets), and the result is the running count of file slots up to and including the
    // one found (*file + 1 of the input). An empty slot has an address like any other. Returns 0
    // when not found (outputs untouched), -1 for a null pointer, *file < 0, *line < 0, a type
    // outside -1 to 3, a set outside -2 to GetSetCount() or an order other than 1 or 2.
    int32_t GetFileAddress(int32_t* file, int32_t* line, ELineType* type, int32_t* set,
                           int32_t order);
    // Copies the comment-th fiducial comment (ascending odometer distance) of file slot `file` of
    // the line-th taking part line, from set `set` through the last set. Order 2: by name, any
    // other value: display order. False when any number is out of range or negative, or the slot
    // is empty.
    bool GetFidComment(CSvyDataBlock_V110::CDataFile::SFidComment& comment, int32_t set,
                       int32_t line, int32_t file, int32_t commentIndex, ELineType type,
                       int32_t order);

  protected:
    // Installs CreateSettings as the model's settings factory and reads the Data element under
    // the cursor into the model. 1, or 0 when reading failed or `file` is null.
    int32_t Initialize(CSVYXmlFile* file, std::string& error) override;

    CSvyDataBlock_V110 m_dataBlock;
};

}  // namespace ZAR

// Fills `buffer` of `size` bytes with the query interface module's version text (five
// tab-separated fields), cut to size - 1 characters when the buffer is shorter, and terminated in
// the last byte.
extern "C" SVY3_API void SVYDataBlockInterfaceRM_GetVerStr(char* buffer, int32_t size);

// CSvyDataBlock_V110: the in-memory model of the Data element of a version 1.1 project document -
// its line sets, lines, data files, settings blocks and distance references.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "svy3/datablock/line_type.h"
#include "svy3/platform/export.h"
#include "svy3/reference/reference_converter.h"
#include "svy3/settings/settings_block_v110.h"

namespace ZAR {

class CSVYXmlFile;

// Filled once by ReadSvyDataBlock, then only read. Distances marked "metres" are converted to
// unit code 1 on reading. The model owns everything it holds; the display-order arrays only point
// into the owning ones.
class SVY3_API CSvyDataBlock_V110 {
  public:
    // Builds the settings block of the Settings element under the cursor; null when it cannot be
    // loaded (problems are appended to the error text).
    using SettingsFactory = std::unique_ptr<CSvySettingsBlock_V110> (*)(CSVYXmlFile* file,
                                                                        std::string& error);

    // A distance reference of a line, in metres, with the unit code of its units text.
    struct SLinearRef {
        double ododist = 0.0;
        double refdist = 0.0;
        double reflateral = 0.0;
        int32_t unit = 0;
    };

    // One data file of a line.
    class SVY3_API CDataFile {
      public:
        // A recorded position: coordinates as written, with unit code 1 when the units text starts
        // with a lower-case "m", else 5.
        struct SPosition {
            double X = 0.0;
            double Y = 0.0;
            double Z = 0.0;
            double normalizedFilePos = 0.0;  // 0 at the start of the file, 1 at its end
            int32_t unit = 0;
        };
        // A fiducial comment at an odometer distance (metres) along the file.
        struct SFidComment {
            std::string comment;
            double ododist = 0.0;
            char fileflag = 0;
        };

        CDataFile() = default;
        virtual ~CDataFile();

        // Reads the DataFile element under the cursor (the cursor ends on it again). A missing
        // DataSampleCnt is created in the document from the file's data header (dimensions -1
        // when it cannot be read, or holds counts of 2^31 or more). The header is looked for
        // beside the document (the current folder for a document opened by a bare name) and,
        // beyond that, when it is not there, in the document's DataDirPath (taken relative to the
        // document's folder when relative), where documents created from a selection of data
        // files point. Returns 1, or 0 and the message "\nError: Missing element: <Odometer>"
        // when Odometer is missing.
        int32_t ReadFileBlock(CSVYXmlFile* file, std::string& error);

        // The file's path relative to the document's folder: directory, a backslash and the name,
        // or the name alone when there is no directory.
        std::string GetPath() const;

        // Same odometer values, sequence number, file type code, settings, directory and name.
        int32_t operator==(const CDataFile& other) const;

        std::string m_strName;
        std::string m_strExt;      // the file kind; "HD+DT1" once paired
        uint32_t m_nFileType = 0;  // Str2UID of FileType's UID
        int32_t m_nSequence = 0;
        std::string m_strDirectory;  // FileDirPath, relative to the document's folder
        double m_dOdoStart = 0.0;    // metres
        double m_dOdoEnd = 0.0;
        double m_dOdoStep = 0.0;
        int32_t m_nDim0 = 0;
        int32_t m_nDim1 = 0;
        int32_t m_nDim2 = 0;
        CSvySettingsBlock_V110* m_pSettings = nullptr;  // owned by the data block
        std::vector<SPosition> m_positions;             // ascending normalized file position
        std::vector<int32_t> m_sensorIDs;               // in document order
        std::vector<SFidComment> m_fidComments;         // ascending odometer distance
    };

    // The files of one kind within a line, indexed by sequence number minus 1; gaps are null.
    class SVY3_API CExtension {
      public:
        explicit CExtension(const std::string& kind);
        ~CExtension();

        // Largest sequence number taken: slots are allocated up to the sequence number, so a
        // corrupt number must not ask for gigabytes.
        static constexpr int32_t kMaxSequence = 100000;

        // Stores the file in slot sequence - 1, growing the array with null slots; takes ownership
        // and returns the slot, or -1 (the file stays with the caller) when the slot is taken or
        // the sequence number is below 1 or above kMaxSequence.
        int32_t AddFile(std::unique_ptr<CDataFile>& file);
        // Removes a slot (later slots move down), then drops trailing null slots. The removed file
        // goes to `removed` when given, else it is deleted. Returns the index of the new last
        // slot, or -1 when none is left.
        int32_t RemoveFile(int32_t slot, std::unique_ptr<CDataFile>* removed = nullptr);

        std::string m_strName;
        std::vector<std::unique_ptr<CDataFile>> m_files;
    };

    // A survey line.
    class SVY3_API CLine {
      public:
        CLine() = default;
        virtual ~CLine();

        // Reads the name and the LinearRef children of the Line element under the cursor and sets
        // up the reference converter when there are any. Always 1.
        int32_t ReadLineBlock(CSVYXmlFile* file, std::string& error);
        // Index of the first extension of that kind (letter case ignored), or -1.
        int32_t GetExtension(const std::string& kind) const;
        // Adds a file to the extension of its kind, pairing a .hd entry with an equal .dt1 entry
        // into "HD+DT1". Takes ownership and returns the extension's index, or -1 when the file is
        // refused (it stays with the caller).
        int32_t AddFile(std::unique_ptr<CDataFile>& file);
        // Removes every extension without file slots.
        void ClearEmptyExtLists();

        std::string m_strName;
        ELineType m_eType = eLineAlongY;
        double m_dStartX = 0.0;
        double m_dStartY = 0.0;
        double m_dEndX = 0.0;
        double m_dEndY = 0.0;
        double m_dPositionCount = 0.0;
        char m_cDirection = 'N';               // 'Y', 'N' or 'R'
        std::vector<SLinearRef> m_linearRefs;  // ascending odometer distance
        std::vector<std::unique_ptr<CExtension>> m_extensions;
        std::unique_ptr<CReferenceConverter> m_pConverter;  // null without LinearRef
    };

    // A named set of lines.
    struct SVY3_API CSetLines {
        std::string m_strName;
        std::vector<std::unique_ptr<CLine>> m_lines;  // by name once read
        std::vector<CLine*> m_displayLines;           // display order
    };

    CSvyDataBlock_V110();
    CSvyDataBlock_V110(const CSvyDataBlock_V110&) = delete;
    CSvyDataBlock_V110& operator=(const CSvyDataBlock_V110&) = delete;
    virtual ~CSvyDataBlock_V110();

    // Reads the Data element under the cursor: DataDirPath (the document's folder when missing),
    // then LoadDataLines. Returns 1, or 0 when the cursor is not on Data or reading failed.
    int32_t ReadSvyDataBlock(CSVYXmlFile* file, std::string& error);
    // Reads the line sets, lines and data files with their settings, derives each line's extent,
    // type and direction and builds the name and display orders. Messages are appended to
    // `error`. Returns 0 on a data file without settings or with a refused sequence number.
    virtual int32_t LoadDataLines(CSVYXmlFile* file, std::string& error);
    // Derives the type, extent, position count and direction of every line.
    void PopulateLineStartandEnd();
    // True when a and b differ by less than the step size tolerance expressed in `unit`.
    bool CheckStepSizeTolerance(double a, double b, int32_t unit) const;
    double GetStepSizeTolerance() const { return m_dStepSizeTolerance; }
    void SetStepSizeTolerance(double tolerance) { m_dStepSizeTolerance = tolerance; }

    SettingsFactory m_pSettingsFactory = nullptr;
    std::string m_strDataDir;
    std::vector<std::unique_ptr<CLine>> m_lines;  // lines outside sets, document order
    std::vector<CLine*> m_displayLines;           // lines outside sets, display order
    std::vector<std::unique_ptr<CSvySettingsBlock_V110>> m_settings;  // in reading order
    std::vector<std::unique_ptr<CSetLines>> m_lineSets;               // by name once read
    double m_dStepSizeTolerance = 0.01;                               // metres
};

}  // namespace ZAR

// Fills `buffer` with the data block module's version text (five tab-separated fields), cut to
// size - 1 characters when the buffer is shorter.
extern "C" SVY3_API void SVYDataBlock_GetVerStr(char* buffer, int32_t size);

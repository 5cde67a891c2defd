// CSVYXmlFile: the document cursor through which every block reader and writer of a project
// document works.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "svy3/platform/export.h"
#include "svy3/xmldom/xml_dom_api.h"
#include "svy3/xmlfile/created_by.h"

namespace ZAR {

class GprParam;
class CSvySettingsBlock_V110;

// Owns one XmlDom_ document handle and moves a cursor over its nodes. Names and texts pass through
// a 256-byte text buffer: a name, path or text of 256 bytes or more handed to an operation that
// uses the buffer fails with 0, and a value read back that does not fit makes the read fail with 0.
// Results are 1 for success and 0 for failure unless stated.
//
// Copies are forbidden: a cursor is the single owner of its document handle. It can be moved; the
// moved-from object holds no document.
//
// The members are defined in the layer whose records they write, so that includes point one way:
// the cursor itself in svy3/xmlfile/svy_xml_file.cpp, provenance and processes in
// svy3/document/provenance.cpp, the site definition in svy3/document/site_definition.cpp, the
// settings writer in svy3/settings/settings_writer.cpp, the data block writer in
// svy3/datablock/data_block_writer.cpp and document creation in svy3/creation/document_creator.cpp.
class SVY3_API CSVYXmlFile {
  public:
    // A document version: three numbers and the text they were parsed from.
    struct SVersion {
        int32_t major = 0;
        int32_t minor = 0;
        int32_t revision = 0;
        std::string text;
    };

    // One processing step, read from a Process element.
    struct SProcess {
        int32_t operationUID = 0;  // Str2UID of the operationUID text
        std::string implementation;
        std::string version;
        std::string DIP;
        int32_t buffer = 0;  // 1 when the buffer text starts with Y (any case), 0 with N
        int16_t ID = 0;
    };

    // One acquisition component, read from a Component element.
    struct SComponent {
        std::string name;
        std::string version;
        std::string SN;
        int32_t typeUID = 0;   // Str2UID of the typeUID text
        int32_t status = 0;    // 1 sensor on, -1 sensor off, 0 no Sensor child
        int32_t sensorID = 0;  // the Sensor's ID
    };

    // Size of the text buffer in bytes.
    static constexpr int32_t kTextBufferSize = 256;

    CSVYXmlFile();
    virtual ~CSVYXmlFile();
    CSVYXmlFile(const CSVYXmlFile&) = delete;
    CSVYXmlFile& operator=(const CSVYXmlFile&) = delete;
    CSVYXmlFile(CSVYXmlFile&& other) noexcept;
    CSVYXmlFile& operator=(CSVYXmlFile&& other) noexcept;

    // Releases any open document, then loads the file at `path` and puts the cursor on its root
    // element. A file that does not load draws the message box "Failed to load file:\n<path>\nFile
    // does not appear to be in XML format.\nOperation aborted." and gives 0; the object then holds
    // an empty document. A path of 256 bytes or more gives 0 without a message.
    int32_t Initialize(const std::string& path);
    // Saves the document to `path`, or to the stored path when `path` is empty (a non-empty path
    // becomes the stored one). Returns the codes of XmlDom_SaveFile: 0 saved, 201, 202, -200.
    int32_t Save(const std::string& path = std::string());

    std::string GetFilePathName() const { return m_strFilePathName; }
    // Replaces the stored path without touching the document.
    void SetFilePathName(const std::string& path) { m_strFilePathName = path; }
    // The document handle (0 when none), for direct XmlDom_ calls.
    XMLDOM_HANDLE GetFileHnd() const { return m_hFile; }
    int32_t GetMaxTxtSz() const { return m_nMaxTxtSz; }
    char* GetPtrTmpTxt() const { return m_pTmpTxt.get(); }

    // Navigation. GotoRootNode always returns 1 (the cursor has no node when there is no root).
    int32_t GotoRootNode();
    int32_t GotoParentNode();
    // Next sibling of any kind.
    int32_t GotoNextSibling();
    // Next following sibling named `name`; an empty name matches nothing.
    int32_t GotoNextSibling(const std::string& name);
    // The `index`-th child named `name` (0 = first; negative counts as 0). When there are fewer,
    // the cursor is left on the parent and the result is 0. An empty name moves to the first
    // child of any kind and ignores the index.
    int32_t GotoChildNode(const std::string& name, int32_t index = 0);

    // A new node handle on the current node; the caller releases it with ReleaseNodeHandle.
    XMLDOM_NODE GetCurrentNodeHandle();
    void MoveToHandleNode(XMLDOM_NODE node);
    void ReleaseNodeHandle(XMLDOM_NODE node);

    // Saved positions: PushPosition, any navigation, GotoTopPosition, PopPosition.
    void PushPosition();
    // Moves to the most recently saved position, which stays saved; 0 when none is saved.
    int32_t GotoTopPosition();
    // Forgets the most recently saved position without moving; 0 when none is saved.
    int32_t PopPosition();

    // Reading. `out` is unchanged on failure.
    int32_t GetNodeName(std::string& out);
    // The current node's text, or the text of its first child when that is a text node.
    int32_t GetNodeText(std::string& out);
    // The argument carries the attribute name in and its value out; it keeps the name on failure.
    int32_t GetNodeAttribute(std::string& nameInValueOut);
    // Text of the `index`-th child named by the argument, which receives the text. The cursor
    // stays on the current node.
    int32_t GetSubNodeText(std::string& nameInTextOut, int32_t index = 0);
    // Attribute of the `index`-th child named `childName`; the first argument carries the attribute
    // name in and its value out.
    int32_t GetSubNodeAttribute(std::string& attrNameInValueOut, const std::string& childName,
                                int32_t index = 0);

    // Writing. SetNodeText replaces the text found by the text rule; an element without text
    // children gets the text as a new last child; an element whose text child is not its first
    // child is left alone (0).
    int32_t SetNodeText(const std::string& text);
    // Creates or replaces an attribute of the current element; an empty value sets the empty text.
    int32_t SetNodeAttribute(const std::string& name, const std::string& value);
    int32_t SetSubNodeText(const std::string& childName, const std::string& text,
                           int32_t index = 0);
    int32_t SetSubNodeAttribute(const std::string& childName, const std::string& attrName,
                                const std::string& value, int32_t index = 0);
    // Appends an element as the last child and moves onto it.
    int32_t AppendChildNode(const std::string& name);
    // Appends a text node as the last child; the cursor stays.
    int32_t AppendTextChildNode(const std::string& text);
    // Removes the current node and moves to its parent.
    int32_t RemoveCurrentNode();

    // Versions. "%i.%i.%i" of the three numbers.
    static std::string SVYVersionToStr(const SVersion& version);
    // Parses "major.minor.revision" by leading-integer conversion of each part: "1.1.0" gives
    // 1, 1, 0; "7" gives 0, 0, 7; "2.5" gives 2, 0, 5.
    static void SVYVersionToNum(const std::string& text, SVersion& version);
    // Compares the current node's "version" attribute (N) with `referenceVersion` (R): each
    // *Cmp is -1, 0 or 1 as N's component is below, equal to or above R's, and `overall` is the
    // sign of the most significant differing component. `referenceVersion` receives N's text.
    // Returns 0, changing nothing, when the node has no version attribute.
    int32_t NodeVersionCompatibility(std::string& referenceVersion, int32_t& overall,
                                     int32_t& majorCmp, int32_t& minorCmp, int32_t& revisionCmp);

    // Provenance (svy3/document/provenance.cpp). Appends a CreatedBy element with the record's
    // name, version, DIP, date and time to the current element; 0 (nothing changed) when it already
    // has one. The cursor stays.
    int32_t AppendCreatedByBlock(const SCreatedBy& record);
    // Appends a ModifiedBy element (name, version, DIP, date, time, comment) to the current
    // element's first CreatedBy child, or to the current element when it is a CreatedBy; 0 when
    // there is none. The cursor stays.
    int32_t AppendModifiedByBlock(const SCreatedBy& record);
    // Reads the CreatedBy block of the current element (or the current CreatedBy) into `records`:
    // record 0 from CreatedBy, then one per ModifiedBy, in ascending date-time order, up to
    // `capacity`. A missing attribute leaves its own name in the field; a date that does not
    // parse gives an invalid date-time. Returns the number of records filled, 0 when there is no
    // CreatedBy (or no room). The cursor stays.
    int32_t GetCreatedByBlock(SCreatedBy* records, int32_t capacity);
    // Reads the current Process element; 0 when the cursor is not on one, an attribute is missing
    // or the buffer text starts with neither Y nor N.
    int32_t GetProcess(SProcess* process);
    // Reads the current Component element; 0 when the cursor is not on one. When it has a Sensor
    // child the cursor moves onto it and stays there.
    int32_t GetComponent(SComponent* component);

    // Site definition (svy3/document/site_definition.cpp). Appends a SiteDefinition block to the
    // current element (the root): CreatedBy from `createdBy`, Operator, CompanyName and SiteName
    // "NA", and a Job with the text "Unknown job " plus the acquisition date and time of the data
    // header at `headerPath` ("%Y-%m-%d %H:%M:%S"; "Invalid DateTime" when the header or its date
    // cannot be read) and that date and time as its date and time attributes. The cursor ends where
    // it started. Always returns 1.
    int32_t WriteSiteDefinition(const SCreatedBy& createdBy, const std::string& headerPath);

    // Document creation (svy3/creation/document_creator.cpp). Replaces the held document (saved
    // positions are forgotten) by a new project document: the description comment and the root
    // ZAR_SVY with version "1.1.0"; then, unless `files` is empty, the site definition from the
    // header of the first ".dt1" file and the data block of all `files`, and saves it to `path`.
    // `dataDir` (used unchanged) is the folder of the data files; null takes the first file's
    // folder, separator included. Returns 1 when `files` is empty (nothing saved), -1 after a block
    // writer failure (shown in a message box; nothing saved), else the code of Save (0 saved).
    // `path` becomes the stored path in every case.
    int32_t CreateNewFile_V110(const std::string& path, const SCreatedBy& createdBy,
                               const std::vector<std::string>& files, const char* dataDir);
    // Data block writer (svy3/datablock/data_block_writer.cpp). Appends a Data block for `files`
    // (full paths) to the current element (the root) and returns there: one Line per line number
    // among the files (see CDataLineAndSequenceFileParams; files of other kinds count as line 1),
    // holding the ".dt1" and ".sen" files of the line in sequence order with their odometer ranges,
    // a Settings block from the line's first readable header, and a LinearRef. Data files are read
    // from `dataDir` (document form, ending with a separator). Asks for the line spacing through
    // CLineOffsetDlg when the files span more than one line. Radar files without a readable header
    // and files of other kinds get no entry. Throws CWriterError when a ".sen" file cannot be read
    // or the selection names one data file twice; what was written so far stays. Returns 1.
    int32_t WriteDataBlock_V110(const SCreatedBy& createdBy, const std::vector<std::string>& files,
                                const std::string& dataDir);
    // Reads the Odometer element under the document element of the XML file at `path` (a file
    // system path): its start, end (doubles; left unchanged when missing) and units (a missing
    // attribute leaves the text "units"). Returns 1 when there is an Odometer element, else 0.
    static int32_t GetSenOdometer(const std::string& path, double& start, double& end,
                                  std::string& units);

    // Settings from data headers (svy3/settings/settings_writer.cpp). Appends a Settings block
    // (version "1.2.0") built from the loaded `header` to the current element, where the cursor
    // ends. `stepSize` 0.0 writes the header's step size, any other value replaces it; the unit
    // symbol is the header's. Returns 1.
    int32_t WriteSettingsBlock_V110(const GprParam& header, double stepSize);
    // A new settings block built from the loaded `header` (settings_block_v110.h): antenna
    // positions in metres, the step size in the header's unit; never null. The document is not
    // touched.
    static std::unique_ptr<CSvySettingsBlock_V110> LoadSettings110FromHd(const GprParam& header);

  protected:
    // Forgets every saved position and releases the document handle.
    int32_t Uninitialize();
    // Copies a name or text into the text buffer; false when it does not fit.
    bool ToBuffer(const std::string& text);
    // Reads a text through the text buffer with an XmlDom_ reader.
    template <class Reader>
    int32_t ReadThroughBuffer(Reader reader, std::string& out);

    SVersion m_version;                 // the version this library writes: 1.1.0
    std::unique_ptr<char[]> m_pTmpTxt;  // the shared text buffer
    int32_t m_nMaxTxtSz = kTextBufferSize;
    XMLDOM_HANDLE m_hFile = nullptr;
    std::string m_strFilePathName;
    std::deque<XMLDOM_NODE> m_positionStack;
};

}  // namespace ZAR

// Fills `buffer` with the cursor module's version text (five tab-separated fields); the buffer must
// hold the text's length plus 2 bytes.
extern "C" SVY3_API void SVYXmlFile_GetVerStr(char* buffer, int32_t size);

// GpzSvy120: the project editor for 1.2.0 documents, every document access through the XmlDom_
// functions.
#pragma once

#include <memory>

#include "svy3/editor/gpz_svy.h"
#include "svy3/external/measure.h"
#include "svy3/platform/export.h"

namespace ZAR {

// The concrete editor. It owns an XmlDom_ document handle (none until Load).
//
// Copies: a copy shares the document (and its cursor) with the editor it was copied from; the
// handle is released when the last editor holding it goes or loads another document. Each copy
// has its own map, paths, units and relationship record.
class SVY3_API GpzSvy120 : public GpzSvy {
  public:
    GpzSvy120();
    GpzSvy120(const GpzSvy120& other);
    GpzSvy120& operator=(const GpzSvy120& other);
    ~GpzSvy120() override;

    bool Save(const char* fileName) override;

    bool NextNode(bool& first, const char* name) override;
    bool ParentNode(const char* name) override;
    bool ChildNode(const char* name, ESvyGpzCreate mode) override;
    bool GetNodeTxt(std::string& text, const char* attribute) override;
    bool SetNodeTxt(std::string text, const char* attribute) override;
    void DeleteNode() override;
    void* GetNodeHandle() override;
    void ReleaseNodeHandle(void* node) override;
    bool MoveToHandleNode(void* node) override;
    bool AppendNodeCopy(void* node, bool deep) override;
    bool ModifyFileDirPath(bool replace, std::string directory) override;

    // Writes a copy of the document at `source` reduced to the line set `lineSet` (when not
    // empty; renamed `newName` when that is not empty) with `prefix` put in front of its data
    // file folders (when not empty), to `output`, or over `source` when `output` is empty.
    // Returns whether it was saved; CError of the load passes to the caller.
    static bool CreateSingleLinesetSvy(const std::string& output, const std::string& source,
                                       const std::string& lineSet, const std::string& newName,
                                       const std::string& prefix);

    // The editor's length unit: 0 after a load, then the unit of the first Position read; later
    // positions are converted into it.
    Enum<UNIT_TYPE> Units() const { return m_units; }

    // Size of the buffer through which texts, names and attribute values are read.
    static constexpr int32_t kReadBufferSize = 1024;

  protected:
    bool LoadXmlSvy(const boost::filesystem::path& path) override;
    bool DataFileInfo(boost::filesystem::path& path, int32_t& sequence) override;
    bool PosInfo(SvyLinePos& position) override;

  private:
    void* Handle() const { return m_document.get(); }
    // Reads an attribute of the current node into `buffer`; false when it is missing or too long.
    bool ReadAttribute(const char* name, char (&buffer)[kReadBufferSize]);

    std::shared_ptr<void> m_document;  // the XmlDom_ document handle
    Enum<UNIT_TYPE> m_units = UNIT_NONE;
};

}  // namespace ZAR

// CSvyInterface: the top-level interface of an opened project document - its version check, site
// definition and provenance.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "svy3/document/site_definition.h"
#include "svy3/platform/export.h"
#include "svy3/xmlfile/created_by.h"

namespace ZAR {

class CSVYXmlFile;

// Borrows the document cursor it reads, which must outlive it. Copies share that cursor.
class SVY3_API CSvyInterface {
  public:
    CSvyInterface() = default;
    CSvyInterface(const CSvyInterface&) = default;
    CSvyInterface& operator=(const CSvyInterface&) = default;
    virtual ~CSvyInterface();

    // Moves the cursor to the root element's first child named `name`; the cursor, or null when
    // there is none.
    virtual CSVYXmlFile* GotoBlock(const std::string& name) = 0;
    // The site definition read when the interface was opened.
    virtual CSiteDefinition* GetSiteDefinition() = 0;
    // Reads the blocks below the root; problems are appended to `errors`. Returns 1 or 0.
    virtual int32_t LoadBlocks(std::string& errors) = 0;

    // Opens the document held by `file` (loaded with CSVYXmlFile::Initialize): compares the root's
    // version with "1.1.0" - another version is opened after a warning box - and reads the site
    // definition. Returns the interface, or null when `file` is null.
    static std::unique_ptr<CSvyInterface> CreateAndInit(CSVYXmlFile* file);

    // The document's provenance records, as CSVYXmlFile::GetCreatedByBlock gives them from
    // wherever the cursor stands.
    int32_t GetCreatedByBlock(SCreatedBy* records, int32_t capacity);

  protected:
    CSVYXmlFile* m_pFile = nullptr;
};

// The interface of version 1.1.0 documents.
class SVY3_API CSvyInterface_V110 : public CSvyInterface {
  public:
    CSvyInterface_V110();
    explicit CSvyInterface_V110(CSVYXmlFile* file);
    CSvyInterface_V110(const CSvyInterface_V110& other);
    CSvyInterface_V110& operator=(const CSvyInterface_V110& other);
    ~CSvyInterface_V110() override;

    CSVYXmlFile* GotoBlock(const std::string& name) override;
    CSiteDefinition* GetSiteDefinition() override;
    // Reads the first SiteDefinition child of the current node; always 1, `errors` untouched.
    int32_t LoadBlocks(std::string& errors) override;

  private:
    std::unique_ptr<CSiteDefinition> m_pSiteDefinition;
};

}  // namespace ZAR

// Fills `buffer` with the interface module's version text (five tab-separated fields); the buffer
// must hold the text's length plus 2 bytes.
extern "C" SVY3_API void SVYInterface_GetVerStr(char* buffer, int32_t size);

#include "svy3/document/svy_interface.h"

#include "svy3/platform/message_box.h"
#include "svy3/platform/version_text.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {

CSvyInterface::~CSvyInterface() = default;

std::unique_ptr<CSvyInterface> CSvyInterface::CreateAndInit(CSVYXmlFile* file) {
    std::string errors;
    std::unique_ptr<CSvyInterface> result;
    if (file && file->GotoRootNode()) {
        std::string version = "1.1.0";
        int32_t overall = 0, majorCmp = 0, minorCmp = 0, revisionCmp = 0;
        if (file->NodeVersionCompatibility(version, overall, majorCmp, minorCmp, revisionCmp) &&
            overall != 0) {
            errors +=
                "\nWarning: You are attempting to open a SVY file that is not support by the "
                "current version of the software. ";
        }
        auto opened = std::make_unique<CSvyInterface_V110>(file);
        if (opened->LoadBlocks(errors))
            result = std::move(opened);
    }
    if (!errors.empty()) {
        ShowMessageBox(
            "The following errors have occured while attempting to load SVY:\n(creating a new SVY "
            "file and manually importing Lines in\nSVY_Edit may solve this problem)" +
                errors,
            MessageIcon::Exclamation);
    }
    return result;
}

int32_t CSvyInterface::GetCreatedByBlock(SCreatedBy* records, int32_t capacity) {
    return m_pFile ? m_pFile->GetCreatedByBlock(records, capacity) : 0;
}

CSvyInterface_V110::CSvyInterface_V110() : m_pSiteDefinition(std::make_unique<CSiteDefinition>()) {}

CSvyInterface_V110::CSvyInterface_V110(CSVYXmlFile* file) : CSvyInterface_V110() {
    m_pFile = file;
}

CSvyInterface_V110::CSvyInterface_V110(const CSvyInterface_V110& other)
    : CSvyInterface(other),
      m_pSiteDefinition(std::make_unique<CSiteDefinition>(*other.m_pSiteDefinition)) {}

CSvyInterface_V110& CSvyInterface_V110::operator=(const CSvyInterface_V110& other) {
    CSvyInterface::operator=(other);
    *m_pSiteDefinition = *other.m_pSiteDefinition;
    return *this;
}

CSvyInterface_V110::~CSvyInterface_V110() = default;

CSVYXmlFile* CSvyInterface_V110::GotoBlock(const std::string& name) {
    if (!m_pFile)
        return nullptr;
    m_pFile->GotoRootNode();
    return m_pFile->GotoChildNode(name) ? m_pFile : nullptr;
}

CSiteDefinition* CSvyInterface_V110::GetSiteDefinition() {
    return m_pSiteDefinition.get();
}

int32_t CSvyInterface_V110::LoadBlocks(std::string& /*errors*/) {
    if (!m_pFile)
        return 1;
    m_pFile->GotoChildNode("SiteDefinition");
    m_pSiteDefinition->Load(m_pFile);
    return 1;
}

}  // namespace ZAR

extern "C" void SVYInterface_GetVerStr(char* buffer, int32_t size) {
    ZAR::platform::CopyVersionText(
        "SVYInterfaceRM\t1.1.0.0\tVersion 1 Release 1\t2005-02-07\tSVY3-INTERFACE", buffer, size);
}

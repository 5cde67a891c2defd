// Fuzz target: any bytes as a radar header, read and turned into a settings block, and written
// into a document as project creation does. Nothing may crash, leak or read out of bounds.

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "svy3/svy3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = svy3_fuzz::ScratchPath("header", ".hd");
    if (!svy3_fuzz::WriteInput(path, data, size))
        return 0;

    ZAR::GprParam header;
    if (header.Load(path, 0) != 0)
        return 0;
    const auto block = ZAR::CSVYXmlFile::LoadSettings110FromHd(header);
    if (!block)
        return 0;
    ZAR::CSVYXmlFile document;
    document.CreateNewFile_V110("", ZAR::SCreatedBy(), {}, nullptr);  // skeleton only
    document.GotoRootNode();
    document.WriteSettingsBlock_V110(header, 0.0);
    document.GotoRootNode();
    document.WriteSiteDefinition(ZAR::SCreatedBy(), path);
    return 0;
}

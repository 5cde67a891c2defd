// Fuzz target: a radar header and an odometer file from the input (the first two bytes give the
// header's length, little-endian; the rest is the odometer file), placed in a scratch folder with
// the line's data file and made into a project document as a program creates one; a saved
// document is then opened through its data block. Nothing may crash, leak or read out of bounds.

#include <cstdint>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#include "fuzz_support.h"
#include "svy3/svy3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    svy3_fuzz::QuietMessageBoxes();
    static const std::string folder = [] {
        const std::string path = svy3_fuzz::ScratchPath("create", "/");
        boost::filesystem::create_directories(path);
        return path;
    }();
    if (size < 2)
        return 0;
    size_t headerSize = data[0] | static_cast<size_t>(data[1]) << 8;
    data += 2;
    size -= 2;
    if (headerSize > size)
        headerSize = size;
    svy3_fuzz::WriteInput(folder + "LINE01.HD", data, headerSize);
    svy3_fuzz::WriteInput(folder + "LINE01.sen", data + headerSize, size - headerSize);
    svy3_fuzz::WriteInput(folder + "LINE01.DT1", data, 0);

    const std::string target = folder + "project.svy";
    boost::system::error_code ignored;
    boost::filesystem::remove(target, ignored);
    ZAR::CSVYXmlFile document;
    const ZAR::SCreatedBy createdBy;
    const std::vector<std::string> files = {folder + "LINE01.DT1", folder + "LINE01.sen"};
    if (document.CreateNewFile_V110(target, createdBy, files, nullptr) != 0)
        return 0;
    ZAR::CSVYXmlFile saved;
    if (!saved.Initialize(target))
        return 0;
    std::string messages;
    auto block = ZAR::CSvyDataBlockInterface::CreateAndInit(&saved, 0, &messages);
    if (block) {
        ZAR::SLineInfo line;
        block->GetLine(line, 0, -1, ZAR::eLineAny, 1);
    }
    return 0;
}

// Fuzz target: any bytes as a project document, opened through its data block and queried by
// every lookup with every set (from -3 to past the last), line type (-2 to 4) and order code (0 to
// 3), valid or not. Nothing may crash, leak or read out of bounds.

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "svy3/svy3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    svy3_fuzz::QuietMessageBoxes();
    static const std::string path = svy3_fuzz::ScratchPath("datablock", ".svy");
    if (!svy3_fuzz::WriteInput(path, data, size))
        return 0;

    ZAR::CSVYXmlFile document;
    if (!document.Initialize(path))
        return 0;
    std::string messages;
    auto block = ZAR::CSvyDataBlockInterface::CreateAndInit(&document, 0, &messages);
    if (!block)
        return 0;
    block->GetDataDir();
    const int32_t sets = std::min(block->GetSetCount(), 4);
    const int32_t allLines = std::min(block->GetNumLines(-1, ZAR::eLineAny), 6);
    for (int32_t line = -1; line <= allLines; ++line) {
        ZAR::LineInfo info;
        block->GetLineInfo(line, info);
        for (int32_t extension = -1; extension <= 2; ++extension) {
            ZAR::ExtensionInfo ext;
            block->GetExtensionInfo(line, extension, ext);
            for (int32_t slot = -1; slot <= 2; ++slot) {
                ZAR::FileInfo fileInfo;
                block->GetFileInfo(line, extension, slot, fileInfo);
            }
        }
        for (const char* kind : {"dt1", "sen", ""}) {
            ZAR::ExtensionInfo ext;
            block->GetExtensionInfo(line, kind, ext);
            ZAR::FileInfo fileInfo;
            block->GetFileInfo(line, kind, 0, fileInfo);
        }
    }
    for (int32_t set = -3; set <= sets + 1; ++set) {
        ZAR::SLineSetInfo setInfo;
        block->GetLineSet(setInfo, set);
        for (int32_t type = -2; type <= 4; ++type) {
            const auto lineType = static_cast<ZAR::ELineType>(type);
            const int32_t lines = std::min(block->GetNumLines(set, lineType), 4);
            for (int32_t order = 0; order <= 3; ++order) {
                for (int32_t n = -1; n <= lines; ++n) {
                    ZAR::SLineInfo line;
                    block->GetLine(line, n, set, lineType, order);
                    block->GetLineInfo(line, n, lineType, set, order);
                    int32_t address = n, addressSet = set;
                    ZAR::ELineType addressType = lineType;
                    block->GetLineAddress(&address, &addressType, &addressSet, order);
                    const int32_t files = std::min(block->GetFileCount(n, set, lineType, order), 4);
                    for (int32_t f = -1; f <= files; ++f) {
                        ZAR::SFileInfo fileInfo;
                        block->GetFileInfo(fileInfo, f, n, lineType, set, order);
                        int32_t fileNumber = f, fileLine = std::max(n, 0), fileSet = set;
                        ZAR::ELineType fileType = lineType;
                        block->GetFileAddress(&fileNumber, &fileLine, &fileType, &fileSet, order);
                        ZAR::CSvyDataBlock_V110::CDataFile::SFidComment comment;
                        for (int32_t c = -1; c <= 1; ++c)
                            block->GetFidComment(comment, set, n, f, c, lineType, order);
                    }
                }
            }
        }
    }
    return 0;
}

// Fuzz target: any bytes as a project document, opened as a program opens one and walked through
// the lookups, then opened through the svy3 interface and walked to every position. Nothing may
// crash, leak, read out of bounds or throw anything but svy3::Error.

#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "svy3/svy3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    svy3_fuzz::QuietMessageBoxes();
    static const std::string path = svy3_fuzz::ScratchPath("open", ".svy");
    if (!svy3_fuzz::WriteInput(path, data, size))
        return 0;

    ZAR::CSVYXmlFile document;
    if (!document.Initialize(path))
        return 0;
    auto top = ZAR::CSvyInterface::CreateAndInit(&document);
    if (top) {
        ZAR::SCreatedBy records[8];
        if (top->GotoBlock("Data"))
            top->GetCreatedByBlock(records, 8);
    }
    try {
        const svy3::Project project = svy3::open(path);
        double sum = 0.0;
        for (const svy3::Line& line : project.lines()) {
            for (const svy3::DataFile& file : line.files()) {
                for (const svy3::Position& position : file.positions())
                    sum += position.X;
                for (const svy3::Fiducial& fiducial : file.fiducials())
                    sum += fiducial.ododist;
                sum += file.settings() ? file.settings()->step_size : 0.0;
            }
            if (std::optional<svy3::DistanceConverter> converter = line.converter())
                sum += converter->user_to_index(1.5, 0.0, 0.05, svy3::Rounding::nearest);
        }
        (void)sum;
    } catch (const svy3::Error&) {
    }

    std::string messages;
    auto data_block = ZAR::CSvyDataBlockInterface::CreateAndInit(&document, 0, &messages);
    if (!data_block)
        return 0;
    const int32_t lines = data_block->GetNumLines(-1, ZAR::eLineAny);
    for (int32_t n = 0; n < lines && n < 64; ++n) {
        ZAR::SLineInfo line;
        data_block->GetLine(line, n, -1, ZAR::eLineAny, 1);
        const int32_t files = data_block->GetFileCount(n, -1, ZAR::eLineAny, 2);
        for (int32_t f = 0; f < files && f < 64; ++f) {
            ZAR::SFileInfo info;
            data_block->GetFileInfo(info, f, n, ZAR::eLineAny, -1, 2);
            ZAR::CSvyDataBlock_V110::CDataFile::SFidComment comment;
            data_block->GetFidComment(comment, -1, n, f, 0, ZAR::eLineAny, 2);
        }
        ZAR::LineInfo info;
        if (data_block->GetLineInfo(n, info) && info.converter) {
            info.converter->User2Odo(1.5);
            double user = 2.5;
            info.converter->User2Idx(user, 0.0, 0.05, ZAR::RoundNearest);
        }
    }
    return 0;
}

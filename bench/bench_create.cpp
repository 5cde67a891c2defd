// Creating a project document from many radar files in one call, as a program does. Prints the
// time per file for growing selections, so that the growth of the cost can be read off.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>
#include <boost/make_shared.hpp>

#include "svy3/svy3.h"

namespace {

using Clock = std::chrono::steady_clock;

// Writes `lines` x `perLine` header and trace files named SURVC<line>B<seq> into `dir`; returns
// the selection in a shuffled order (the creator sorts it).
std::vector<std::string> WriteRadarFiles(const std::string& dir, int lines, int perLine) {
    ZAR::GprParam header;
    auto param = boost::make_shared<ZAR::SGprParam>();
    param->NumTraces = 500;
    param->SamplesPerTrace = 250;
    param->TimeZero = 25;
    param->TimeWindowNs = 100;
    param->StepSize = ZAR::SMeasure(0.05, 1);
    param->StartPosition = ZAR::SMeasure(0.0, 1);
    param->EndPosition = ZAR::SMeasure(25.0, 1);
    param->FrequencyMHz = 250;
    param->AntennaSeparation = ZAR::SMeasure(0.38, 1);
    param->PulserVoltage = 400;
    param->Stacks = 16;
    param->SurveyMode = "Reflection";
    param->OdometerTicksPerMetre = 500;
    param->DateTime = "2024-05-21 08:30:00";
    header.SetGprParam(param);
    std::vector<std::string> files;
    for (int line = 1; line <= lines; ++line) {
        for (int seq = 1; seq <= perLine; ++seq) {
            const std::string base =
                dir + "/SURVC" + std::to_string(line) + "B" + std::to_string(seq);
            header.Save(base + ".HD");
            std::FILE* trace = std::fopen((base + ".DT1").c_str(), "wb");
            if (trace)
                std::fclose(trace);
            files.push_back(base + ".DT1");
        }
    }
    std::shuffle(files.begin(), files.end(), std::mt19937(42));
    return files;
}

}  // namespace

int main() {
    namespace fs = boost::filesystem;
    ZAR::SetMessageBoxHandler([](const std::string& text, ZAR::MessageIcon) {
        std::fprintf(stderr, "%s\n", text.c_str());
    });
    ZAR::SetLineOffsetPrompt([](std::string& text) {
        text = "0.5";
        return true;
    });
    const fs::path root = fs::temp_directory_path() / fs::unique_path("svy3-bench-create-%%%%%%");
    std::printf("files  lines  total ms  us per file\n");
    for (int lines : {10, 30, 100}) {
        const fs::path dir = root / std::to_string(lines);
        fs::create_directories(dir);
        const std::vector<std::string> files = WriteRadarFiles(dir.string(), lines, 100);
        ZAR::SCreatedBy creator;
        creator.name = "bench_create";
        creator.dateTime = ZAR::CDateTime::GetCurrentTime();
        const std::string dataDir = dir.string() + "/";
        double best = 1e9;
        for (int round = 0; round < 3; ++round) {
            const auto start = Clock::now();
            ZAR::CSVYXmlFile file;
            const int32_t result = file.CreateNewFile_V110((dir / "survey.svy").string(), creator,
                                                           files, dataDir.c_str());
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            if (result != 0) {
                std::fprintf(stderr, "creation failed: %d\n", result);
                return 1;
            }
            best = std::min(best, seconds);
        }
        std::printf("%5zu  %5d  %8.1f  %11.1f\n", files.size(), lines, best * 1e3,
                    best * 1e6 / files.size());
    }
    boost::system::error_code ec;
    fs::remove_all(root, ec);
    return 0;
}

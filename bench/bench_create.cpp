// Creating a project document from many radar files in one call, as a program does. Prints the
// time per file for growing selections, so that the growth of the cost can be read off.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#include "svy3/svy3.h"
#include "tools/samples/sample_survey.h"

namespace {

using Clock = std::chrono::steady_clock;

// Writes `lines` x `perLine` header files and empty trace files named SURVC<line>B<seq> into `dir`;
// returns the selection in a shuffled order (the creator sorts it).
std::vector<std::string> WriteRadarFiles(const std::string& dir, int lines, int perLine) {
    svy3_samples::RadarSurveyShape shape;
    shape.lines = lines;
    shape.filesPerLine = perLine;
    shape.tracesPerFile = 500;
    shape.prefix = "SURV";
    shape.traces = false;
    shape.odometerFile = false;
    shape.dateTime = "2024-05-21 08:30:00";
    std::string error;
    std::vector<std::string> files = svy3_samples::WriteRadarSurvey(dir, shape, error);
    if (files.empty())
        throw std::runtime_error(error);
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

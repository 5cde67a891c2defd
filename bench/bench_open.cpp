// Opening a large survey document as a program does, against pugixml's raw load of the same file.
// Each side runs in a process of its own, so that its peak resident memory can be measured; the
// program prints the ratios of time and of peak memory.
//
//   bench_open                 generate the survey, run both sides, print the figures
//   bench_open pugixml FILE    (child) load FILE with pugixml, print the seconds taken
//   bench_open svy3 FILE       (child) open FILE through the library, print the seconds taken
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include <pugixml.hpp>

#include "svy3/svy3.h"
#include "tools/samples/sample_document.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

int LoadWithPugixml(const char* path) {
    const auto start = Clock::now();
    pugi::xml_document doc;
    if (!doc.load_file(path))
        return 1;
    std::printf("%f\n", Seconds(start));
    return 0;
}

int OpenWithLibrary(const char* path) {
    ZAR::SetMessageBoxHandler([](const std::string& text, ZAR::MessageIcon) {
        std::fprintf(stderr, "%s\n", text.c_str());
    });
    const auto start = Clock::now();
    ZAR::CSVYXmlFile file;
    if (!file.Initialize(path))
        return 1;
    auto top = ZAR::CSvyInterface::CreateAndInit(&file);
    std::string error;
    auto data = ZAR::CSvyDataBlockInterface::CreateAndInit(&file, 1, &error);
    if (!top || !data)
        return 1;
    const double seconds = Seconds(start);
    if (data->GetNumLines(-1, ZAR::eLineAny) <= 0)
        return 1;  // the survey must really have been read
    std::printf("%f\n", seconds);
    return 0;
}

// Runs this program with `mode` on `path`; returns the child's seconds and peak memory (KiB).
bool RunChild(const char* self, const char* mode, const std::string& path, double& seconds,
              long& peakKiB) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        execl(self, self, mode, path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    char text[64] = {};
    const ssize_t n = read(pipeFds[0], text, sizeof text - 1);
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        n <= 0)
        return false;
    seconds = std::strtod(text, nullptr);
    peakKiB = usage.ru_maxrss;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "pugixml") == 0)
        return LoadWithPugixml(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "svy3") == 0)
        return OpenWithLibrary(argv[2]);

    const std::string path = "/tmp/svy3-bench-open.svy";
    svy3_samples::DocumentShape shape;  // 200 lines x 5 files x 1000 positions
    const std::size_t bytes = svy3_samples::WriteSurveyDocument(path, shape);
    std::printf("document: %d lines x %d files x %d positions, %.1f MB\n", shape.lines,
                shape.filesPerLine, shape.positionsPerFile, bytes / 1048576.0);

    constexpr int kRounds = 3;
    double rawBest = 1e9, openBest = 1e9;
    long rawPeak = 0, openPeak = 0;
    for (int round = 0; round < kRounds; ++round) {
        double seconds = 0;
        long peak = 0;
        if (!RunChild(argv[0], "pugixml", path, seconds, peak))
            return 1;
        if (seconds < rawBest)
            rawBest = seconds, rawPeak = peak;
        if (!RunChild(argv[0], "svy3", path, seconds, peak))
            return 1;
        if (seconds < openBest)
            openBest = seconds, openPeak = peak;
    }
    std::printf(
        "time, best of %d: pugixml load_file %.0f ms, open through svy3 %.0f ms, ratio "
        "%.2f (target <= 3)\n",
        kRounds, rawBest * 1e3, openBest * 1e3, openBest / rawBest);
    std::printf("peak memory: pugixml %.0f MB, svy3 %.0f MB, ratio %.2f (target <= 1.3)\n",
                rawPeak / 1024.0, openPeak / 1024.0, double(openPeak) / rawPeak);
    std::remove(path.c_str());
    return 0;
}

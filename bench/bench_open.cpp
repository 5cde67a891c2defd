// Opening large survey documents as programs do, against pugixml's raw load of the same file.
// Each side runs in a process of its own, so that its peak resident memory can be measured; the
// program prints the ratios of time and of peak memory for each document shape.
//
//   bench_open                 generate the surveys, run every side, print the figures
//   bench_open pugixml FILE    (child) load FILE with pugixml, print the seconds taken
//   bench_open svy3 FILE       (child) open FILE through the library, print the seconds taken
//   bench_open editor FILE     (child) load FILE with the project editor, print the seconds taken
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// The cursor load, the top-level interface and the data block interface, as a program opens.
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

// The project editor's Load: the document and its line map with every position.
int LoadWithEditor(const char* path) {
    const auto start = Clock::now();
    ZAR::GpzSvy120 editor;
    try {
        if (editor.Load(path) != 1)
            return 1;  // a file left out of the map: the document must have every seq at 1
    } catch (const ZAR::CError&) {
        return 1;
    }
    const double seconds = Seconds(start);
    long positions = 0;
    for (auto set = editor.Begin(); set != editor.End(); ++set)
        for (auto line = editor.Begin(set); line != editor.End(set); ++line)
            for (auto file = editor.Begin(line); file != editor.End(line); ++file)
                positions += editor.EndPos(file) - editor.BeginPos(file);
    if (positions <= 0)
        return 1;  // the map must really hold the positions
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

// One comparison: a document of `shape`, read by `mode` against pugixml's raw load, best of a
// few rounds run alternately (the machine may be shared); false when a child failed.
bool Compare(const char* self, const char* title, const char* mode, const char* modeTitle,
             const svy3_samples::DocumentShape& shape, double timeTarget, double memoryTarget) {
    const std::string path = "/tmp/svy3-bench-open.svy";
    const std::size_t bytes = svy3_samples::WriteSurveyDocument(path, shape);
    std::printf("%s: %d lines x %d files x %d positions%s, %.1f MB\n", title, shape.lines,
                shape.filesPerLine, shape.positionsPerFile,
                shape.everyFileFirstInSequence ? " (every DataFile seq=\"1\")" : "",
                bytes / 1048576.0);
    constexpr int kRounds = 5;
    double rawBest = 1e9, readBest = 1e9;
    long rawPeak = 0, readPeak = 0;
    for (int round = 0; round < kRounds; ++round) {
        double seconds = 0;
        long peak = 0;
        if (!RunChild(self, "pugixml", path, seconds, peak))
            return false;
        rawBest = std::min(rawBest, seconds);
        rawPeak = rawPeak ? std::min(rawPeak, peak) : peak;
        if (!RunChild(self, mode, path, seconds, peak))
            return false;
        readBest = std::min(readBest, seconds);
        readPeak = readPeak ? std::min(readPeak, peak) : peak;
    }
    std::remove(path.c_str());
    const double timeRatio = readBest / rawBest;
    const double memoryRatio = double(readPeak) / rawPeak;
    auto verdict = [](double ratio, double target) { return ratio <= target ? "" : " OVER"; };
    std::printf(
        "  time, best of %d: pugixml load_file %.0f ms, %s %.0f ms, ratio %.2f (target "
        "<= %.2g)%s\n",
        kRounds, rawBest * 1e3, modeTitle, readBest * 1e3, timeRatio, timeTarget,
        verdict(timeRatio, timeTarget));
    std::printf("  peak memory: pugixml %.0f MB, %s %.0f MB, ratio %.2f (target <= %.3g)%s\n",
                rawPeak / 1024.0, modeTitle, readPeak / 1024.0, memoryRatio, memoryTarget,
                verdict(memoryRatio, memoryTarget));
    std::fflush(stdout);
    return true;
}

svy3_samples::DocumentShape Shape(int lines, int positionsPerFile, bool everyFileFirst = false) {
    svy3_samples::DocumentShape shape;
    shape.lines = lines;
    shape.filesPerLine = 5;
    shape.positionsPerFile = positionsPerFile;
    shape.everyFileFirstInSequence = everyFileFirst;
    return shape;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "pugixml") == 0)
        return LoadWithPugixml(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "svy3") == 0)
        return OpenWithLibrary(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "editor") == 0)
        return LoadWithEditor(argv[2]);

    // The open: cost per position and cost per line both show across the three shapes.
    const char* open = "open through svy3";
    if (!Compare(argv[0], "open", "svy3", open, Shape(200, 1000), 1.5, 1.15) ||
        !Compare(argv[0], "open, many short lines", "svy3", open, Shape(2000, 100), 1.5, 1.15) ||
        !Compare(argv[0], "open, few long lines", "svy3", open, Shape(20, 10000), 1.5, 1.15))
        return 1;
    // The editor maps only first files of a sequence: every file is seq 1 so all are mapped.
    if (!Compare(argv[0], "editor Load", "editor", "GpzSvy120::Load", Shape(200, 1000, true), 2.0,
                 1.3))
        return 1;
    return 0;
}

#include "survey_generator.h"

#include <cstdio>
#include <stdexcept>

namespace svy3_bench {
namespace {

void WriteSettings(std::FILE* f, const char* indent) {
    std::fprintf(f,
                 "%s<Settings version=\"1.2.0\">"
                 "<Trace sample_cnt=\"250\" time_zero_cnt=\"25.000000\" interval_ns=\"0.400000\"/>"
                 "<OdometerCal ticks_per_m=\"500.000000\" sensorID=\"NA\"/>"
                 "<StepSize units=\"m\">0.050000</StepSize>"
                 "<NominalFrequency units=\"Mhz\">250.000000</NominalFrequency>"
                 "<Pulse units=\"Vpp\">400.000000</Pulse>"
                 "<Antenna><Receiver><AntPosition X=\"0\" Y=\"0.190000\" Z=\"0\" units=\"m\" "
                 "reference=\"relative\"/><AntOrientation X=\"NA\" Y=\"NA\" Z=\"NA\" "
                 "units=\"Perpendicular\" reference=\"relative\"/></Receiver>"
                 "<Transmitter><AntPosition X=\"0\" Y=\"-0.190000\" Z=\"0\" units=\"m\" "
                 "reference=\"relative\"/><AntOrientation X=\"NA\" Y=\"NA\" Z=\"NA\" "
                 "units=\"Perpendicular\" reference=\"relative\"/></Transmitter></Antenna>"
                 "<SurveyMode>Reflection</SurveyMode>"
                 "<Process operationUID=\"STACK@\" implementation=\"GPR System\" version=\"NA\" "
                 "DIP=\"NA\" buffer=\"no\" ID=\"-1\"><Stack type=\"sample\">16</Stack></Process>"
                 "</Settings>\n",
                 indent);
}

}  // namespace

std::size_t WriteSurveyDocument(const std::string& path, const SurveyShape& shape) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    std::fprintf(
        f,
        "<?xml version=\"1.0\"?>\n<ZAR_SVY version=\"1.1.0\">\n"
        "\t<!--GPR survey project-->\n"
        "\t<CreatedBy><Name>bench</Name><Date>2026-12-05</Date><Time>12:00:00</Time>"
        "</CreatedBy>\n"
        "\t<SiteDefinition version=\"1.1.0\"><JobDate>2026-12-05</JobDate></SiteDefinition>\n"
        "\t<Data version=\"1.1.0\">\n\t\t<DataDirPath>C:\\survey\\data\\</DataDirPath>\n");
    WriteSettings(f, "\t\t");
    for (int line = 1; line <= shape.lines; ++line) {
        std::fprintf(f, "\t\t<Line name=\"Line%d\">\n", line);
        WriteSettings(f, "\t\t\t");
        for (int file = 1; file <= shape.filesPerLine; ++file) {
            std::fprintf(
                f,
                "\t\t\t<DataFile name=\"LINE%03dC%dB%d\" ext=\"HD+DT1\" seq=\"%d\">\n"
                "\t\t\t\t<FileType UID=\"COR@@@\"/>\n"
                "\t\t\t\t<DataSampleCnt dim0=\"2\" dim1=\"250\" dim2=\"%d\" dim3=\"NA\"/>\n"
                "\t\t\t\t<Odometer start=\"%f\" end=\"%f\" step=\"0.050000\" units=\"m\"/>\n",
                line, line, file, file, shape.positionsPerFile, (file - 1) * 50.0, file * 50.0);
            for (int p = 0; p < shape.positionsPerFile; ++p) {
                const double t =
                    shape.positionsPerFile > 1 ? double(p) / (shape.positionsPerFile - 1) : 0.0;
                std::fprintf(f,
                             "\t\t\t\t<Position X=\"%f\" Y=\"%f\" Z=\"NA\" "
                             "normalized_file_pos=\"%f\" units=\"m\"/>\n",
                             (line - 1) * 0.5, (file - 1 + t) * 50.0, t);
            }
            for (int c = 0; c < shape.fiducialsPerFile; ++c)
                std::fprintf(f,
                             "\t\t\t\t<FIDComment ododist=\"%f\" units=\"m\" fileflag=\"F\">marker "
                             "%d</FIDComment>\n",
                             (file - 1) * 50.0 + c * 5.0, c);
            std::fprintf(f, "\t\t\t</DataFile>\n");
        }
        std::fprintf(f,
                     "\t\t\t<LinearRef ododist=\"0.0\" refdist=\"0.0\" reflateral=\"%f\" "
                     "units=\"m\"/>\n\t\t</Line>\n",
                     (line - 1) * 0.5);
    }
    std::fprintf(f, "\t</Data>\n</ZAR_SVY>\n");
    const long size = std::ftell(f);
    if (std::fclose(f) != 0 || size < 0)
        throw std::runtime_error("cannot write " + path);
    return static_cast<std::size_t>(size);
}

SurveyShape ShapeForSize(std::size_t bytes) {
    // A Position element is about 93 bytes and dominates the document.
    SurveyShape shape;
    shape.positionsPerFile = 1000;
    shape.filesPerLine = 5;
    shape.lines = static_cast<int>(bytes / (93u * 1000u * 5u)) + 1;
    return shape;
}

}  // namespace svy3_bench

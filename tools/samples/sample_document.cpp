#include "tools/samples/sample_document.h"

#include <cstdio>
#include <stdexcept>

#include "tools/samples/sample_parameters.h"

namespace svy3_samples {
namespace {

// A Settings block of the sample instrument, as the settings writer of the library writes it.
void WriteSettings(std::FILE* f, const char* indent) {
    std::fprintf(f,
                 "%s<Settings version=\"1.2.0\">"
                 "<Trace sample_cnt=\"%d\" time_zero_cnt=\"%f\" interval_ns=\"%f\"/>"
                 "<OdometerCal ticks_per_m=\"%f\" sensorID=\"NA\"/>"
                 "<StepSize units=\"m\">%f</StepSize>"
                 "<NominalFrequency units=\"Mhz\">%f</NominalFrequency>"
                 "<Pulse units=\"Vpp\">%f</Pulse>"
                 "<Antenna><Receiver><AntPosition X=\"0\" Y=\"%f\" Z=\"0\" units=\"m\" "
                 "reference=\"relative\"/><AntOrientation X=\"NA\" Y=\"NA\" Z=\"NA\" "
                 "units=\"Perpendicular\" reference=\"relative\"/></Receiver>"
                 "<Transmitter><AntPosition X=\"0\" Y=\"%f\" Z=\"0\" units=\"m\" "
                 "reference=\"relative\"/><AntOrientation X=\"NA\" Y=\"NA\" Z=\"NA\" "
                 "units=\"Perpendicular\" reference=\"relative\"/></Transmitter></Antenna>"
                 "<SurveyMode>Reflection</SurveyMode>"
                 "<Process operationUID=\"STACK@\" implementation=\"GPR System\" version=\"NA\" "
                 "DIP=\"NA\" buffer=\"no\" ID=\"-1\"><Stack type=\"sample\">%d</Stack></Process>"
                 "</Settings>\n",
                 indent, kSamplesPerTrace, static_cast<double>(kTimeZero), kIntervalNs,
                 kOdometerTicksPerMetre, kStepMetres, kFrequencyMHz, kPulserVoltage,
                 kAntennaSeparation / 2, -kAntennaSeparation / 2, kStacks);
}

}  // namespace

std::size_t WriteSurveyDocument(const std::string& path, const DocumentShape& shape) {
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
                "\t\t\t\t<Odometer start=\"%f\" end=\"%f\" step=\"%f\" units=\"m\"/>\n",
                line, line, file, shape.everyFileFirstInSequence ? 1 : file, shape.positionsPerFile,
                (file - 1) * 50.0, file * 50.0, kStepMetres);
            for (int p = 0; p < shape.positionsPerFile; ++p) {
                const double t =
                    shape.positionsPerFile > 1 ? double(p) / (shape.positionsPerFile - 1) : 0.0;
                std::fprintf(f,
                             "\t\t\t\t<Position X=\"%f\" Y=\"%f\" Z=\"NA\" "
                             "normalized_file_pos=\"%f\" units=\"m\"/>\n",
                             (line - 1) * kLineSpacingMetres, (file - 1 + t) * 50.0, t);
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
                     (line - 1) * kLineSpacingMetres);
    }
    std::fprintf(f, "\t</Data>\n</ZAR_SVY>\n");
    const long size = std::ftell(f);
    if (std::fclose(f) != 0 || size < 0)
        throw std::runtime_error("cannot write " + path);
    return static_cast<std::size_t>(size);
}

DocumentShape ShapeForSize(std::size_t bytes) {
    // A Position element is about 93 bytes and dominates the document.
    DocumentShape shape;
    shape.positionsPerFile = 1000;
    shape.filesPerLine = 5;
    shape.lines = static_cast<int>(bytes / (93u * 1000u * 5u)) + 1;
    return shape;
}

}  // namespace svy3_samples

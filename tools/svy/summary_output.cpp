#include "tools/svy/summary_output.h"

#include "tools/svy/summary_json.h"

#include <cstdio>
#include <string>

namespace svy_tool {
namespace {

std::string Number(double value, int decimals = 3) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

// Text of the document as printed: control characters (and DEL) as \xNN, so that a name cannot
// move the cursor, clear the terminal or split a line of the listing.
std::string Shown(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

void PrintSummary(const ProjectSummary& s, std::ostream& out) {
    out << "Project   " << Shown(s.path) << "\n";
    out << "Version   " << (s.version.empty() ? "(none)" : Shown(s.version)) << "\n";
    out << "Data dir  " << Shown(s.dataDir) << "\n";
    if (!s.provenance.empty()) {
        out << "\nProvenance\n";
        for (const ProvenanceEntry& p : s.provenance) {
            out << "  " << p.block << ", " << p.kind << " by " << Shown(p.name) << " "
                << Shown(p.version) << " (DIP " << Shown(p.dip) << ") on " << p.date << " "
                << p.time;
            if (!p.comment.empty())
                out << ": " << Shown(p.comment);
            out << "\n";
        }
    }
    if (!s.siteFields.empty() || !s.siteComments.empty()) {
        out << "\nSite\n";
        for (const auto& field : s.siteFields)
            out << "  " << Shown(field.first) << ": " << Shown(field.second) << "\n";
        for (size_t i = 0; i < s.siteComments.size(); ++i)
            out << "  Comment " << i + 1 << ": " << Shown(s.siteComments[i]) << "\n";
        if (!s.jobDate.empty())
            out << "  Job date: " << s.jobDate << "\n";
    }
    out << "\nLine sets (" << s.lineSets.size() << ")";
    for (const std::string& set : s.lineSets)
        out << "  " << Shown(set);
    out << "\n\nLines (" << s.lines.size() << ")\n";
    for (const LineSummary& line : s.lines) {
        out << "  " << Shown(line.name);
        if (!line.set.empty())
            out << " [" << Shown(line.set) << "]";
        out << ": " << LineTypeName(line.type) << ", X " << Number(line.startX) << " .. "
            << Number(line.endX) << ", Y " << Number(line.startY) << " .. " << Number(line.endY)
            << ", direction " << line.direction << ", offset " << Number(line.lateralOffset)
            << " m, " << line.files.size() << " files (" << line.fileSlots << " slots), "
            << Number(line.positionCount, 0) << " positions\n";
        for (const FileSummary& file : line.files) {
            out << "    " << Shown(file.path) << "  " << file.kind << "  odometer "
                << Number(file.odoStart) << " .. " << Number(file.odoEnd) << " m step "
                << Number(file.odoStep, 4) << "  dims " << file.dim0 << "x" << file.dim1 << "x"
                << file.dim2;
            if (file.settingsIndex >= 0)
                out << "  settings #" << file.settingsIndex + 1;
            out << "\n";
        }
    }
    if (!s.settings.empty()) {
        out << "\nSettings (" << s.settings.size() << ")\n";
        for (size_t i = 0; i < s.settings.size(); ++i) {
            const SettingsSummary& set = s.settings[i];
            out << "  #" << i + 1 << ": " << set.sampleCount << " samples at "
                << Number(set.sampleIntervalNs, 4) << " ns, time zero " << Number(set.timeZero, 1)
                << ", step " << Number(set.stepSizeMetres, 4) << " m, "
                << Number(set.frequencyMHz, 0) << " MHz, " << Number(set.pulserVoltage, 0)
                << " V, odometer " << Number(set.odometerTicksPerMetre, 2)
                << " ticks/m, antenna separation " << Number(set.antennaSeparationMetres) << " m, "
                << set.surveyMode;
            for (const std::string& step : set.processing)
                out << ", " << Shown(step);
            out << "\n";
        }
    }
    if (!s.messages.empty())
        out << "\nMessages\n" << s.messages;
}

nlohmann::json SummaryToJson(const ProjectSummary& s) {
    return s;  // through the to_json overloads of summary_json.h
}

const char* LineTypeName(int type) {
    switch (type) {
        case 0:
            return "free";
        case 1:
            return "reserved";
        case 2:
            return "along X";
        case 3:
            return "along Y";
        default:
            return "?";
    }
}

}  // namespace svy_tool

#include "tools/svy/gps_commands.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

#include <boost/filesystem/operations.hpp>

#include "svy3/api.h"
#include "svy3/external/gps_zone.h"
#include "svy3/external/measure.h"
#include "svy3/platform/text.h"
#include "tools/svy/error_report.h"
#include "tools/svy/local_to_gps.h"

namespace svy_tool {
namespace fs = boost::filesystem;
using ZAR::Transform::CCoordinateRelationship;
using ZAR::Transform::S2DPoint;
using ZAR::Transform::SCoordinateRelationship;

namespace {

// One row of a CSV file: its line number and its fields, blanks around each trimmed.
struct Row {
    int number;
    std::vector<std::string> fields;
};

// The non-blank rows of a CSV file; false with the reason on `err` when it cannot be read or has
// no rows.
bool ReadCsv(const std::string& verb, const std::string& path, std::vector<Row>& rows,
             std::ostream& err) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "svy " << verb << ": cannot read " << path << "\n";
        return false;
    }
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (ZAR::Trim(text).empty())
            continue;
        Row row{number, {}};
        std::stringstream line(text);
        std::string field;
        while (std::getline(line, field, ','))
            row.fields.push_back(ZAR::Trim(field));
        if (text.back() == ',')
            row.fields.emplace_back();
        rows.push_back(std::move(row));
    }
    if (rows.empty()) {
        err << "svy " << verb << ": " << path << " has no rows; nothing changed\n";
        return false;
    }
    return true;
}

// The whole text as a finite number.
bool Number(const std::string& text, double& value) {
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && errno == 0 && std::isfinite(value);
}

// A first row whose first field does not even begin like a number ("x", "flag") is a header and
// is dropped; "nan" or "12a" are data, refused later with their row.
void DropHeader(std::vector<Row>& rows) {
    if (rows.empty() || rows.front().fields.empty())
        return;
    const std::string& first = rows.front().fields[0];
    char* end = nullptr;
    std::strtod(first.c_str(), &end);
    const bool flagLetter =
        first.size() == 1 && std::string("DCINdcin").find(first[0]) != std::string::npos;
    if (end == first.c_str() && !first.empty() && !flagLetter)
        rows.erase(rows.begin());
}

// Reports a bad row; the exit status of a refusal.
int Refuse(const std::string& verb, const std::string& path, int row, const std::string& reason,
           std::ostream& err) {
    err << "svy " << verb << ": " << path << " row " << row << ": " << reason
        << "; nothing changed\n";
    return 1;
}

// The interface's address of a line; "-" (or nothing) names the lines outside line sets.
svy3::LineAddress AddressOf(const LineAddress& address) {
    return {address.lineSet == "-" ? std::string() : address.lineSet, address.line};
}

// Loads the project, makes the edit and saves the project, reporting each step; the exit status.
template <class Edit>
int EditLine(const std::string& verb, const std::string& project, std::ostream& out,
             std::ostream& err, Edit edit) {
    std::optional<svy3::Editor> editor;
    try {
        editor.emplace(project);
        if (!edit(*editor))
            return 0;
        editor->save();
        out << "saved " << project << "\n";
        return 0;
    } catch (const svy3::Error& error) {
        ReportError(verb, error, err);
        return 1;
    }
}

// Fiducial flag: a letter D, C, I, N (either case) or an integer code.
bool FlagCode(const std::string& text, int32_t& flag) {
    static const std::string kLetters = "DCIN";
    if (text.size() == 1 && std::isalpha(static_cast<unsigned char>(text[0]))) {
        const auto letter = kLetters.find(ZAR::ToUpper(text)[0]);
        if (letter == std::string::npos)
            return false;
        flag = static_cast<int32_t>(letter);
        return true;
    }
    double value;
    if (!Number(text, value) || value != std::floor(value) || std::fabs(value) > 1e9)
        return false;
    flag = static_cast<int32_t>(value);
    return true;
}

bool ValidLatLong(double latitude, double longitude) {
    return latitude >= -80.0 && latitude <= 84.0 && longitude >= -180.0 && longitude <= 180.0;
}

void PrintRelationship(const SCoordinateRelationship& relationship, std::ostream& out) {
    out.precision(12);
    out << "GPS-to-data relationship ("
        << (relationship.mode == 0 ? "two points" : "shift and rotation") << ")\n";
    const S2DPoint* local[] = {&relationship.destination1, &relationship.destination2};
    const S2DPoint* gps[] = {&relationship.source1, &relationship.source2};
    for (int i = 0; i < 2; ++i)
        out << "  point " << i + 1 << ": local (" << local[i]->x << ", " << local[i]->y
            << ") m = latitude " << gps[i]->x << ", longitude " << gps[i]->y << "\n";
    // Subtracted from 0 so that an angle of 0 shows as 0, not -0.
    out << "  rotation: " << 0.0 - relationship.destination_orientation_angle_deg() << " degrees\n";
    LocalToGps fit;
    std::string error;
    if (fit.Fit(relationship, error))
        out << "  UTM zone: " << fit.Zone() << "\n";
    else
        out << "  unusable: " << error << "\n";
}

}  // namespace

int RunPositions(const LineAddress& address, const std::string& csv, const std::string& unitText,
                 std::ostream& out, std::ostream& err) {
    const char* verb = "positions";
    const ZAR::Enum<ZAR::UNIT_TYPE> unit = ZAR::CMeasure::StringToUnit(unitText, false);
    if (unit == ZAR::UNIT_NONE) {
        err << "svy positions: unknown unit \"" << unitText << "\"; nothing changed\n";
        return 1;
    }
    std::vector<Row> rows;
    if (!ReadCsv(verb, csv, rows, err))
        return 1;
    DropHeader(rows);
    if (rows.empty())
        return Refuse(verb, csv, 1, "a header and no positions", err);
    std::vector<svy3::NewPosition> positions;
    double previous = 0.0;
    for (const Row& row : rows) {
        if (row.fields.size() != 4)
            return Refuse(verb, csv, row.number,
                          "expected 4 columns (x, y, z, file position), found " +
                              std::to_string(row.fields.size()),
                          err);
        double x, y, z, filePos;
        if (!Number(row.fields[0], x) || !Number(row.fields[1], y))
            return Refuse(verb, csv, row.number, "x and y must be finite numbers", err);
        if (ZAR::EqualIgnoringCase(row.fields[2], "NA"))
            z = std::nan("");
        else if (!Number(row.fields[2], z))
            return Refuse(verb, csv, row.number, "z must be a finite number or NA", err);
        if (!Number(row.fields[3], filePos) || filePos < 0.0 || filePos > 1.0)
            return Refuse(verb, csv, row.number, "the file position must be a number in 0..1", err);
        if (filePos < previous)
            return Refuse(verb, csv, row.number, "file positions must not go backwards", err);
        previous = filePos;
        positions.push_back({x, y, z, filePos});
    }
    return EditLine(verb, address.project, out, err, [&](svy3::Editor& editor) {
        editor.set_positions(AddressOf(address), positions, unitText);
        out << "wrote " << positions.size() << " positions to line " << address.line << "\n";
        return true;
    });
}

int RunFiducials(const LineAddress& address, const std::string& csv, std::ostream& out,
                 std::ostream& err) {
    const char* verb = "fiducials";
    std::vector<Row> rows;
    if (!ReadCsv(verb, csv, rows, err))
        return 1;
    DropHeader(rows);
    if (rows.empty())
        return Refuse(verb, csv, 1, "a header and no fiducials", err);
    std::vector<svy3::NewFiducial> fids;
    for (const Row& row : rows) {
        if (row.fields.size() < 3)
            return Refuse(verb, csv, row.number,
                          "expected 3 columns (flag, odometer distance, comment), found " +
                              std::to_string(row.fields.size()),
                          err);
        svy3::NewFiducial fid;
        if (!FlagCode(row.fields[0], fid.flag))
            return Refuse(verb, csv, row.number, "the flag must be D, C, I, N or a whole number",
                          err);
        if (!Number(row.fields[1], fid.ododist) || fid.ododist < 0.0)
            return Refuse(verb, csv, row.number,
                          "the odometer distance must be a number of metres, 0 or more", err);
        // The comment is the rest of the row, commas included.
        for (size_t i = 2; i < row.fields.size(); ++i)
            fid.comment += (i > 2 ? "," : "") + row.fields[i];
        fids.push_back(fid);
    }

    return EditLine(verb, address.project, out, err, [&](svy3::Editor& editor) {
        editor.set_fiducials(AddressOf(address), fids);
        out << "wrote " << fids.size() << " fiducials to line " << address.line << "\n";
        return true;
    });
}

int RunGps(const LineAddress& address, const std::string& file, std::ostream& out,
           std::ostream& err) {
    return EditLine("gps", address.project, out, err, [&](svy3::Editor& editor) {
        editor.attach_gps_file(AddressOf(address), file);
        out << "attached " << fs::path(file).filename().string() << " to line " << address.line
            << "\n";
        return true;
    });
}

int RunRelation(const RelationOptions& options, std::ostream& out, std::ostream& err) {
    const char* verb = "relation";
    SCoordinateRelationship relationship;
    const bool setting = !options.shift.empty() || !options.points.empty();
    if (!options.points.empty()) {
        const std::vector<double>& p = options.points;
        if (p.size() != 8) {
            err << "svy relation: --points takes 8 numbers; nothing changed\n";
            return 1;
        }
        for (double value : p) {
            if (!std::isfinite(value)) {
                err << "svy relation: --points must be finite numbers; nothing changed\n";
                return 1;
            }
        }
        if (!ValidLatLong(p[2], p[3]) || !ValidLatLong(p[6], p[7])) {
            err << "svy relation: latitudes must lie in -80..84 and longitudes in -180..180; "
                   "nothing changed\n";
            return 1;
        }
        relationship = SCoordinateRelationship(S2DPoint(p[2], p[3]), S2DPoint(p[0], p[1]),
                                               S2DPoint(p[6], p[7]), S2DPoint(p[4], p[5]), 0.0, 0);
    } else if (!options.shift.empty()) {
        const auto zone = ZAR::CGps::Zone(options.zone);
        if (!zone) {
            err << "svy relation: --shift needs a UTM zone such as --zone 17T; nothing changed\n";
            return 1;
        }
        if (options.shift.size() != 2 || !std::isfinite(options.shift[0]) ||
            !std::isfinite(options.shift[1]) || !std::isfinite(options.rotation)) {
            err << "svy relation: --shift takes an easting and a northing; nothing changed\n";
            return 1;
        }
        // The local origin and a point 100 m along the local X axis, placed in the zone.
        const double angle = options.rotation * std::acos(-1.0) / 180.0;
        const S2DPoint utm1(options.shift[0], options.shift[1]);
        const S2DPoint utm2(utm1.x + 100.0 * std::cos(angle), utm1.y + 100.0 * std::sin(angle));
        S2DPoint gps1, gps2;
        if (!CCoordinateRelationship::UtmToLatLong(utm1, zone->first, zone->second, gps1) ||
            !CCoordinateRelationship::UtmToLatLong(utm2, zone->first, zone->second, gps2)) {
            err << "svy relation: the shift lies outside zone " << ZAR::CGps::Zone(*zone)
                << "; nothing changed\n";
            return 1;
        }
        relationship = SCoordinateRelationship(gps1, S2DPoint(0.0, 0.0), gps2, S2DPoint(100.0, 0.0),
                                               -options.rotation, 3);
    }
    if (setting) {
        LocalToGps fit;
        std::string error;
        if (!fit.Fit(relationship, error)) {
            err << "svy relation: " << error << "; nothing changed\n";
            return 1;
        }
    }

    return EditLine(verb, options.project, out, err, [&](svy3::Editor& editor) {
        if (!setting) {
            if (const std::optional<svy3::Relationship> current = editor.relationship())
                PrintRelationship(*current, out);
            else
                out << "no GPS-to-data relationship\n";
            return false;
        }
        editor.set_relationship(relationship);
        PrintRelationship(relationship, out);
        return true;
    });
}

}  // namespace svy_tool

#include "tools/svy/gps_commands.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

#include <boost/filesystem/operations.hpp>

#include "svy3/editor/error.h"
#include "svy3/editor/gpz_svy_120.h"
#include "svy3/external/gps_zone.h"
#include "svy3/platform/text.h"
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

// Loads the project; false with the reason on `err`.
bool Open(const std::string& verb, const std::string& project, ZAR::GpzSvy120& editor,
          std::ostream& err) {
    try {
        editor.Load(project.c_str());
        return true;
    } catch (const ZAR::CError& error) {
        err << "svy " << verb << ": error " << error.Code() << ": " << error.what() << "\n";
        return false;
    }
}

bool OutsideLineSets(const std::string& lineSet) {
    return lineSet.empty() || lineSet == "-";
}

// Moves the cursor to the addressed Line. GotoLineNode looks into line sets only, so lines
// outside them are looked up under Data directly.
bool GotoLine(const std::string& verb, ZAR::GpzSvy120& editor, const LineAddress& address,
              std::ostream& err) {
    bool found = false;
    if (!address.line.empty()) {
        if (OutsideLineSets(address.lineSet))
            found = editor.GotoNode("/ZAR_SVY/Data", false) &&
                    editor.FindSubnode("Line", "name", address.line);
        else
            found = editor.GotoLineNode(&address.lineSet, address.line);
    }
    if (!found) {
        err << "svy " << verb << ": no line \"" << address.line << "\" "
            << (OutsideLineSets(address.lineSet) ? std::string("outside line sets")
                                                 : "in line set \"" + address.lineSet + "\"")
            << "; nothing changed\n";
    }
    return found;
}

int Save(const std::string& verb, ZAR::GpzSvy120& editor, const std::string& project,
         std::ostream& out, std::ostream& err) {
    if (editor.Save(nullptr)) {
        out << "saved " << project << "\n";
        return 0;
    }
    err << "svy " << verb << ": cannot write the project; it is as it was\n";
    return 1;
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
    ZAR::GpzSvy::PosList positions;
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
        ZAR::SvyLinePos position;
        position.Set(x, y, z, unit);
        position.m_dNormalizedFilePos = filePos;
        positions.push_back(position);
    }

    ZAR::GpzSvy120 editor;
    if (!Open(verb, address.project, editor, err) || !GotoLine(verb, editor, address, err))
        return 1;
    editor.CompactNumbers(false);  // positions keep every digit given
    if (!editor.SetPos(positions.begin(), positions.end())) {
        err << "svy positions: line \"" << address.line
            << "\" has no .HD+DT1 data file to take the positions; nothing changed\n";
        return 1;
    }
    out << "wrote " << positions.size() << " positions to line " << address.line << "\n";
    return Save(verb, editor, address.project, out, err);
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
    std::vector<ZAR::SvyLineFid> fids;
    for (const Row& row : rows) {
        if (row.fields.size() < 3)
            return Refuse(verb, csv, row.number,
                          "expected 3 columns (flag, odometer distance, comment), found " +
                              std::to_string(row.fields.size()),
                          err);
        ZAR::SvyLineFid fid;
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

    ZAR::GpzSvy120 editor;
    if (!Open(verb, address.project, editor, err) || !GotoLine(verb, editor, address, err))
        return 1;
    editor.CompactNumbers(false);
    if (!editor.SetFids(ZAR::SvyLineFidIterator(fids.begin()),
                        ZAR::SvyLineFidIterator(fids.end()))) {
        err << "svy fiducials: line \"" << address.line
            << "\" has no .HD+DT1 data file to take the fiducials; nothing changed\n";
        return 1;
    }
    out << "wrote " << fids.size() << " fiducials to line " << address.line << "\n";
    return Save(verb, editor, address.project, out, err);
}

int RunGps(const LineAddress& address, const std::string& file, std::ostream& out,
           std::ostream& err) {
    const char* verb = "gps";
    const fs::path path = fs::absolute(file).lexically_normal();
    if (!ZAR::EqualIgnoringCase(path.extension().string(), ".GPS")) {
        err << "svy gps: " << file << " is not a .GPS file; nothing changed\n";
        return 1;
    }
    boost::system::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        err << "svy gps: " << file << " does not exist; nothing changed\n";
        return 1;
    }
    ZAR::GpzSvy120 editor;
    if (!Open(verb, address.project, editor, err))
        return 1;
    const fs::path folder =
        path.parent_path().lexically_relative(editor.DataDir().lexically_normal());
    if (folder.empty() || *folder.begin() == "..") {
        err << "svy gps: " << file << " lies outside the data folder " << editor.DataDir().string()
            << "; nothing changed\n";
        return 1;
    }
    // The document's folders are written with backslashes.
    std::string directory;
    for (const fs::path& part : folder) {
        if (part == ".")
            continue;
        directory += (directory.empty() ? "" : "\\") + part.string();
    }
    if (!GotoLine(verb, editor, address, err))
        return 1;
    if (!editor.SetGpsFile(path.stem().string(), directory)) {
        err << "svy gps: line \"" << address.line
            << "\" needs a .HD+DT1 data file with two positions and an odometer; nothing "
               "changed\n";
        return 1;
    }
    out << "attached " << path.filename().string() << " to line " << address.line << "\n";
    return Save(verb, editor, address.project, out, err);
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

    ZAR::GpzSvy120 editor;
    if (!Open(verb, options.project, editor, err))
        return 1;
    if (!setting) {
        SCoordinateRelationship current;
        if (!editor.GetGpsToDataRelationship(current)) {
            out << "no GPS-to-data relationship\n";
            return 0;
        }
        PrintRelationship(current, out);
        return 0;
    }
    if (!editor.SetGpsToDataRelationship(relationship)) {
        err << "svy relation: cannot write the mapper settings; nothing changed\n";
        return 1;
    }
    PrintRelationship(relationship, out);
    return Save(verb, editor, options.project, out, err);
}

}  // namespace svy_tool

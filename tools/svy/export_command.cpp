#include "tools/svy/export_command.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include <boost/filesystem/operations.hpp>
#include <nlohmann/json.hpp>

#include "svy3/api.h"
#include "svy3/editor/gpz_svy_120.h"
#include "svy3/platform/text.h"
#include "tools/svy/local_to_gps.h"

namespace svy_tool {
namespace fs = boost::filesystem;

namespace {

using Json = nlohmann::ordered_json;

struct Point {
    double x = 0.0, y = 0.0, z = std::nan("");
    double filePos = 0.0;
};

struct Fiducial {
    double ododist = 0.0;  // metres
    std::string flag, comment;
};

// One DataFile element as the export needs it; lengths in metres except the positions, which are
// in `unit`.
struct DataFile {
    std::string lineSet, line, file, unit;
    std::vector<Point> positions;  // ascending file position
    bool hasOdometer = false;
    double odoStart = 0.0, odoEnd = 0.0;
    std::vector<Fiducial> fiducials;
};

double Leading(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

ZAR::Enum<ZAR::UNIT_TYPE> Unit(const std::string& text) {
    const ZAR::Enum<ZAR::UNIT_TYPE> unit = ZAR::CMeasure::StringToUnit(text, false);
    return unit == ZAR::UNIT_NONE ? ZAR::Enum<ZAR::UNIT_TYPE>(ZAR::UNIT_M) : unit;
}

double Metres(double value, const std::string& unit) {
    return ZAR::CMeasure::ConvertTo(value, Unit(unit), ZAR::UNIT_M);
}

std::string Attribute(ZAR::GpzSvy& editor, const char* name) {
    std::string text;
    editor.GetNodeTxt(text, name);
    return text;
}

// Calls `visit` with the cursor on each child named `name`; the cursor ends where it started.
template <class Visit>
void EachChild(ZAR::GpzSvy& editor, const char* name, Visit visit) {
    if (!editor.ChildNode(name, ZAR::GpzSvy::eGpzFind))
        return;
    bool first = false;
    do {
        visit();
    } while (editor.NextNode(first, name));
    editor.ParentNode(nullptr);
}

// With the cursor on a Line: its data files.
void ReadLine(ZAR::GpzSvy& editor, const std::string& lineSet, std::vector<DataFile>& files) {
    const std::string line = Attribute(editor, "name");
    EachChild(editor, "DataFile", [&] {
        DataFile file;
        file.lineSet = lineSet;
        file.line = line;
        file.file = Attribute(editor, "name") + "." + Attribute(editor, "ext");
        std::string units;
        EachChild(editor, "Position", [&] {
            // Every position in the unit of the file's first one.
            const std::string unit = Attribute(editor, "units");
            if (file.positions.empty())
                file.unit = units = unit.empty() ? "m" : unit;
            const double factor = ZAR::CMeasure::ConvertTo(1.0, Unit(unit), Unit(units));
            Point point;
            point.x = Leading(Attribute(editor, "X")) * factor;
            point.y = Leading(Attribute(editor, "Y")) * factor;
            const std::string z = Attribute(editor, "Z");
            if (z != "NA" && !z.empty())
                point.z = Leading(z) * factor;
            point.filePos = Leading(Attribute(editor, "normalized_file_pos"));
            file.positions.push_back(point);
        });
        std::stable_sort(file.positions.begin(), file.positions.end(),
                         [](const Point& a, const Point& b) { return a.filePos < b.filePos; });
        if (editor.ChildNode("Odometer", ZAR::GpzSvy::eGpzFind)) {
            const std::string unit = Attribute(editor, "units");
            file.hasOdometer = true;
            file.odoStart = Metres(Leading(Attribute(editor, "start")), unit);
            file.odoEnd = Metres(Leading(Attribute(editor, "end")), unit);
            editor.ParentNode(nullptr);
        }
        EachChild(editor, "FIDComment", [&] {
            Fiducial fid;
            fid.ododist = Metres(Leading(Attribute(editor, "ododist")), Attribute(editor, "units"));
            fid.flag = Attribute(editor, "fileflag");
            editor.GetNodeTxt(fid.comment, nullptr);
            file.fiducials.push_back(fid);
        });
        files.push_back(std::move(file));
    });
}

// Every data file of the document: lines outside line sets first, then line set by line set.
std::vector<DataFile> ReadDataFiles(ZAR::GpzSvy& editor) {
    std::vector<DataFile> files;
    if (!editor.GotoNode("/ZAR_SVY/Data", false))
        return files;
    EachChild(editor, "Line", [&] { ReadLine(editor, "", files); });
    EachChild(editor, "LineSet", [&] {
        const std::string lineSet = Attribute(editor, "name");
        EachChild(editor, "Line", [&] { ReadLine(editor, lineSet, files); });
    });
    return files;
}

// The point at file position `t`, interpolated between the positions around it (the end
// positions beyond them).
Point At(const std::vector<Point>& positions, double t) {
    if (t <= positions.front().filePos)
        return positions.front();
    if (t >= positions.back().filePos)
        return positions.back();
    const auto after =
        std::upper_bound(positions.begin(), positions.end(), t,
                         [](double value, const Point& p) { return value < p.filePos; });
    const Point& a = *(after - 1);
    const Point& b = *after;
    const double span = b.filePos - a.filePos;
    const double f = span > 0.0 ? (t - a.filePos) / span : 0.0;
    Point p;
    p.x = a.x + f * (b.x - a.x);
    p.y = a.y + f * (b.y - a.y);
    p.z = a.z + f * (b.z - a.z);  // NaN when either height is missing
    p.filePos = t;
    return p;
}

// Turns file coordinates into output coordinates: as they are, or longitude and latitude.
class Coordinates {
  public:
    explicit Coordinates(const LocalToGps* gps) : m_gps(gps) {}
    // [x, y] or [x, y, z]; false when the point cannot be converted.
    bool Make(const Point& point, const std::string& unit, Json& coordinates) const {
        double x = point.x, y = point.y;
        if (m_gps) {
            const double metre = ZAR::CMeasure::ConvertTo(1.0, Unit(unit), ZAR::UNIT_M);
            double latitude, longitude;
            if (!m_gps->Convert(x * metre, y * metre, latitude, longitude))
                return false;
            x = longitude;
            y = latitude;
        }
        coordinates = Json::array({x, y});
        if (std::isfinite(point.z))
            coordinates.push_back(point.z);
        return true;
    }

  private:
    const LocalToGps* m_gps;
};

// A record of the output: a track (the positions of one file) or a fiducial.
struct Feature {
    const DataFile* file;
    std::vector<Point> points;
    const Fiducial* fiducial;  // null for a track
};

std::vector<Feature> Features(const std::vector<DataFile>& files, std::ostream& err) {
    std::vector<Feature> features;
    for (const DataFile& file : files) {
        if (file.positions.empty()) {
            if (!file.fiducials.empty())
                err << "svy export: " << file.line << "/" << file.file
                    << ": fiducials without positions are left out\n";
            continue;
        }
        features.push_back({&file, file.positions, nullptr});
        for (const Fiducial& fid : file.fiducials) {
            const double length = file.odoEnd - file.odoStart;
            const double t = length != 0.0 ? (fid.ododist - file.odoStart) / length : -1.0;
            if (!file.hasOdometer || length == 0.0 || !(t >= 0.0 && t <= 1.0)) {
                err << "svy export: " << file.line << "/" << file.file << ": fiducial at "
                    << fid.ododist << " m lies outside the file's odometer range; left out\n";
                continue;
            }
            features.push_back({&file, {At(file.positions, t)}, &fid});
        }
    }
    return features;
}

bool GeoJson(const std::vector<Feature>& features, const Coordinates& coordinates, bool latlon,
             std::ostream& out, std::ostream& err) {
    Json collection = Json::array();
    for (const Feature& feature : features) {
        Json points = Json::array();
        for (const Point& point : feature.points) {
            Json xy;
            if (!coordinates.Make(point, feature.file->unit, xy)) {
                err << "svy export: a position of " << feature.file->file << " lies outside UTM\n";
                return false;
            }
            points.push_back(std::move(xy));
        }
        Json properties{{"kind", feature.fiducial ? "fiducial" : "track"},
                        {"lineSet", feature.file->lineSet},
                        {"line", feature.file->line},
                        {"file", feature.file->file},
                        {"unit", latlon ? "degree" : feature.file->unit}};
        if (feature.fiducial) {
            properties["ododist"] = feature.fiducial->ododist;
            properties["flag"] = feature.fiducial->flag;
            properties["comment"] = feature.fiducial->comment;
        }
        const bool line = points.size() > 1;
        collection.push_back(Json{
            {"type", "Feature"},
            {"geometry",
             {{"type", line ? "LineString" : "Point"}, {"coordinates", line ? points : points[0]}}},
            {"properties", std::move(properties)}});
    }
    out << Json{{"type", "FeatureCollection"}, {"features", std::move(collection)}}.dump(
               1, ' ', false, Json::error_handler_t::replace)
        << "\n";
    return true;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

bool Csv(const std::vector<Feature>& features, const Coordinates& coordinates, bool latlon,
         std::ostream& out, std::ostream& err) {
    std::ostringstream text;
    text.precision(15);
    text << "kind,line_set,line,file,unit," << (latlon ? "longitude,latitude" : "x,y")
         << ",z,file_position,ododist,flag,comment\n";
    for (const Feature& feature : features) {
        for (const Point& point : feature.points) {
            Json xy;
            if (!coordinates.Make(point, feature.file->unit, xy)) {
                err << "svy export: a position of " << feature.file->file << " lies outside UTM\n";
                return false;
            }
            text << (feature.fiducial ? "fiducial" : "position") << ","
                 << CsvField(feature.file->lineSet) << "," << CsvField(feature.file->line) << ","
                 << CsvField(feature.file->file) << "," << (latlon ? "degree" : feature.file->unit)
                 << "," << xy[0].get<double>() << "," << xy[1].get<double>() << ",";
            if (std::isfinite(point.z))
                text << point.z;
            else
                text << "NA";
            text << "," << point.filePos << ",";
            if (feature.fiducial)
                text << feature.fiducial->ododist << "," << CsvField(feature.fiducial->flag) << ","
                     << CsvField(feature.fiducial->comment);
            else
                text << ",,";
            text << "\n";
        }
    }
    out << text.str();
    return true;
}

}  // namespace

int RunExport(const ExportOptions& options, std::ostream& out, std::ostream& err) {
    std::optional<svy3::Editor> editor;
    try {
        editor.emplace(options.project);
    } catch (const svy3::Error& error) {
        err << "svy export: error " << error.code() << ": " << error.what() << "\n";
        return 1;
    }
    LocalToGps gps;
    if (options.latlon) {
        const std::optional<svy3::Relationship> relationship = editor->relationship();
        if (!relationship) {
            err << "svy export: the project has no GPS-to-data relationship (see 'svy relation'); "
                   "--latlon cannot place its lines\n";
            return 1;
        }
        std::string error;
        if (!gps.Fit(*relationship, error)) {
            err << "svy export: the GPS-to-data relationship is unusable: " << error << "\n";
            return 1;
        }
    }
    // The export reads every DataFile element as written (units, heights "NA", flags), so it walks
    // the document with the editor's cursor rather than through the data block's model.
    const std::vector<DataFile> files = ReadDataFiles(editor->editor());
    const std::vector<Feature> features = Features(files, err);
    const Coordinates coordinates(options.latlon ? &gps : nullptr);

    std::ostringstream text;
    text.precision(15);
    const bool written = options.csv ? Csv(features, coordinates, options.latlon, text, err)
                                     : GeoJson(features, coordinates, options.latlon, text, err);
    if (!written)
        return 1;
    if (options.output.empty()) {
        out << text.str();
        return 0;
    }
    // Never over what it reads: the project itself (by identity, whatever its name) or a data file.
    boost::system::error_code same;
    if (fs::equivalent(options.output, options.project, same)) {
        err << "svy export: " << options.output << " is the project itself; write to another "
            << "file\n";
        return 3;
    }
    for (const char* kind : {".HD", ".DT1", ".SEN", ".GPS", ".SVY"}) {
        if (ZAR::EqualIgnoringCase(fs::path(options.output).extension().string(), kind)) {
            err << "svy export: " << options.output << " has the extension of a survey file; "
                << "write the export to a .geojson or .csv file\n";
            return 3;
        }
    }
    // Written beside the target and renamed over it, so that a failed export leaves no half file.
    const std::string partial = options.output + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << text.str();
        if (!file.flush()) {
            err << "svy export: cannot write " << options.output << "\n";
            return 1;
        }
    }
    boost::system::error_code ec;
    fs::rename(partial, options.output, ec);
    if (ec) {
        fs::remove(partial, ec);
        err << "svy export: cannot write " << options.output << "\n";
        return 1;
    }
    out << "wrote " << features.size() << " features to " << options.output << "\n";
    return 0;
}

}  // namespace svy_tool

// CSvyDataBlock_V110: reading the Data element, deriving line extents and building the orders.
#include "svy3/datablock/svy_data_block_v110.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "svy3/datablock/ordering.h"
#include "svy3/external/measure.h"
#include "svy3/platform/path_text.h"
#include "svy3/platform/version_text.h"
#include "svy3/xmlfile/cursor_guard.h"
#include "svy3/xmlfile/direct_read.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

using CLine = CSvyDataBlock_V110::CLine;
using SPosition = CSvyDataBlock_V110::CDataFile::SPosition;

// The settings blocks met on the way down from Data; a data file takes the top one.
class SettingsStack {
  public:
    SettingsStack(CSvyDataBlock_V110& block, CSVYXmlFile& file, std::string& error)
        : m_block(block), m_file(file), m_error(error) {}

    // Builds the block of the current element's Settings child, if any, and pushes it; true when
    // a block was pushed.
    bool PushChildSettings() {
        if (!m_block.m_pSettingsFactory)
            return false;
        // Found by a direct walk: a DataFile has many children and usually no Settings among them.
        pugi::xml_node child = FirstChild(m_file, CursorNode(m_file));
        while (child && std::strcmp(child.name(), "Settings") != 0)
            child = NextSibling(m_file, child);
        if (!child)
            return false;
        std::unique_ptr<CSvySettingsBlock_V110> settings;
        {
            CCursorGuard cursor(m_file);
            MoveCursorTo(m_file, child);
            settings = m_block.m_pSettingsFactory(&m_file, m_error);
        }
        if (!settings) {
            m_error += "\nWarning: <Settings> could not be correctly loaded.";
            return false;
        }
        m_stack.push_back(settings.get());
        m_block.m_settings.push_back(std::move(settings));
        return true;
    }
    void Pop() { m_stack.pop_back(); }
    CSvySettingsBlock_V110* Top() const { return m_stack.empty() ? nullptr : m_stack.back(); }

  private:
    CSvyDataBlock_V110& m_block;
    CSVYXmlFile& m_file;
    std::string& m_error;
    std::vector<CSvySettingsBlock_V110*> m_stack;
};

// Reads the Line children of the current element into `lines`; false on a fatal error.
bool ReadLines(CSVYXmlFile& file, std::string& error, SettingsStack& settings,
               std::vector<std::unique_ptr<CLine>>& lines) {
    if (!file.GotoChildNode("Line"))
        return true;
    do {
        const bool linePushed = settings.PushChildSettings();
        lines.push_back(std::make_unique<CLine>());
        CLine& line = *lines.back();
        line.ReadLineBlock(&file, error);
        if (file.GotoChildNode("DataFile")) {
            do {
                const bool filePushed = settings.PushChildSettings();
                auto data = std::make_unique<CSvyDataBlock_V110::CDataFile>();
                data->ReadFileBlock(&file, error);
                if (!settings.Top()) {
                    error +=
                        "\nError: Cannot find corresponding settings for file" + data->m_strName;
                    return false;
                }
                data->m_pSettings = settings.Top();
                if (filePushed)
                    settings.Pop();
                if (line.AddFile(data) < 0) {
                    error += "\nError: Invalid file sequence in line:" + line.m_strName;
                    return false;
                }
            } while (file.GotoNextSibling("DataFile"));
            file.GotoParentNode();
        }
        if (linePushed)
            settings.Pop();
        line.ClearEmptyExtLists();
    } while (file.GotoNextSibling("Line"));
    file.GotoParentNode();
    return true;
}

// The line's first position: first slot of the first extension, when it has positions.
const SPosition* FirstPosition(const CLine& line) {
    if (line.m_extensions.empty() || line.m_extensions[0]->m_files.empty())
        return nullptr;
    const auto& first = line.m_extensions[0]->m_files[0];
    return first && !first->m_positions.empty() ? &first->m_positions[0] : nullptr;
}

// Display order within one list of lines: by type 0..3, then by (start X, start Y), or by
// (start Y, start X) for lines along X; equal keys keep the list's order.
template <class LineRange>
std::vector<CLine*> DisplayOrder(const LineRange& lines) {
    std::vector<CLine*> ordered;
    for (int32_t type = eLineUnknown; type <= eLineAlongY; ++type) {
        const size_t begin = ordered.size();
        for (const auto& line : lines)
            if (line->m_eType == type)
                ordered.push_back(&*line);
        auto key = [type](const CLine* line) {
            return type == eLineAlongX ? std::make_pair(line->m_dStartY, line->m_dStartX)
                                       : std::make_pair(line->m_dStartX, line->m_dStartY);
        };
        std::stable_sort(ordered.begin() + begin, ordered.end(),
                         [&key](const CLine* a, const CLine* b) {
                             const auto ka = key(a), kb = key(b);
                             if (OrderedLess(ka.first, kb.first))
                                 return true;
                             if (OrderedLess(kb.first, ka.first))
                                 return false;
                             return OrderedLess(ka.second, kb.second);
                         });
    }
    return ordered;
}

template <class Named>
void SortByName(std::vector<std::unique_ptr<Named>>& items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const std::unique_ptr<Named>& a, const std::unique_ptr<Named>& b) {
                         return a->m_strName < b->m_strName;
                     });
}

}  // namespace

CSvyDataBlock_V110::CSvyDataBlock_V110() = default;

CSvyDataBlock_V110::~CSvyDataBlock_V110() {
    // Settings blocks first, then the lines outside sets, then the sets with their lines.
    m_settings.clear();
    m_displayLines.clear();
    m_lines.clear();
    m_lineSets.clear();
}

int32_t CSvyDataBlock_V110::ReadSvyDataBlock(CSVYXmlFile* file, std::string& error) {
    std::string name;
    if (!file || !file->GetNodeName(name) || name != "Data")
        return 0;
    if (file->GotoChildNode("DataDirPath")) {
        m_strDataDir.clear();
        file->GetNodeText(m_strDataDir);
        file->GotoParentNode();
    } else {
        const std::string path = file->GetFilePathName();
        const std::string::size_type separator = LastSeparator(path);
        m_strDataDir =
            separator == std::string::npos ? std::string() : path.substr(0, separator) + "\\";
    }
    return LoadDataLines(file, error);
}

int32_t CSvyDataBlock_V110::LoadDataLines(CSVYXmlFile* file, std::string& error) {
    SettingsStack settings(*this, *file, error);
    settings.PushChildSettings();

    if (file->GotoChildNode("LineSet")) {
        do {
            m_lineSets.push_back(std::make_unique<CSetLines>());
            CSetLines& set = *m_lineSets.back();
            set.m_strName = "name";
            file->GetNodeAttribute(set.m_strName);
            if (!ReadLines(*file, error, settings, set.m_lines))
                return 0;
        } while (file->GotoNextSibling("LineSet"));
        file->GotoParentNode();
    } else if (!ReadLines(*file, error, settings, m_lines)) {
        return 0;
    }

    PopulateLineStartandEnd();
    SortByName(m_lineSets);
    for (auto& set : m_lineSets)
        SortByName(set->m_lines);
    m_displayLines = DisplayOrder(m_lines);
    for (auto& set : m_lineSets)
        set->m_displayLines = DisplayOrder(set->m_lines);
    return 1;
}

void CSvyDataBlock_V110::PopulateLineStartandEnd() {
    auto populate = [this](CLine& line) {
        double count = 0.0;
        for (const auto& extension : line.m_extensions)
            for (const auto& data : extension->m_files)
                if (data)
                    count += static_cast<double>(data->m_positions.size());

        const SPosition* first = FirstPosition(line);
        if (!first) {
            // Without a first position there is no reference value: a line along Y of no extent.
            line.m_eType = eLineAlongY;
            line.m_dStartX = line.m_dStartY = line.m_dEndX = line.m_dEndY = 0.0;
            line.m_dPositionCount = count;
            line.m_cDirection = 'N';
            return;
        }
        double reference = first->X;
        double startX = reference, startY = 0.0, endX = 0.0, endY = 0.0;
        bool haveEndX = false, haveEndY = false, firstSlot = true;
        int32_t type = eLineAlongY;
        for (const auto& extension : line.m_extensions) {
            for (const auto& data : extension->m_files) {
                if (!data)
                    continue;
                for (const SPosition& p : data->m_positions) {
                    if (!CheckStepSizeTolerance(p.X, reference, p.unit)) {
                        type = eLineAlongX;
                        reference = first->Y;
                    }
                    startX = std::min(startX, p.X);
                    endX = haveEndX ? std::max(endX, p.X) : p.X;
                    haveEndX = true;
                }
                if (firstSlot)
                    startY = first->Y;
                firstSlot = false;
                for (const SPosition& p : data->m_positions) {
                    if (!CheckStepSizeTolerance(p.Y, reference, p.unit) && type == eLineAlongX)
                        type = eLineUnknown;
                    startY = std::min(startY, p.Y);
                    endY = haveEndY ? std::max(endY, p.Y) : p.Y;
                    haveEndY = true;
                }
            }
        }
        line.m_eType = static_cast<ELineType>(type);
        line.m_dStartX = startX;
        line.m_dStartY = startY;
        line.m_dEndX = endX;
        line.m_dEndY = endY;
        line.m_dPositionCount = count;

        char direction = 'N';
        if (type == eLineAlongX || type == eLineAlongY) {
            for (const auto& extension : line.m_extensions) {
                for (const auto& data : extension->m_files) {
                    if (!data)
                        continue;
                    const auto& positions = data->m_positions;
                    for (size_t i = 1; i < positions.size(); ++i) {
                        const bool backwards = type == eLineAlongX
                                                   ? positions[i].X < positions[i - 1].X
                                                   : positions[i].Y < positions[i - 1].Y;
                        if (backwards)
                            direction = 'R';
                    }
                }
            }
        }
        line.m_cDirection = count > 2.0 ? 'Y' : direction;
    };
    for (auto& set : m_lineSets)
        for (auto& line : set->m_lines)
            populate(*line);
    for (auto& line : m_lines)
        populate(*line);
}

bool CSvyDataBlock_V110::CheckStepSizeTolerance(double a, double b, int32_t unit) const {
    if (a == b)
        return true;
    const double tolerance = CMeasure::ConvertTo(m_dStepSizeTolerance, 1, unit);
    return std::fabs(a - b) < tolerance;
}

}  // namespace ZAR

extern "C" void SVYDataBlock_GetVerStr(char* buffer, int32_t size) {
    ZAR::platform::CopyVersionTextTruncated(
        "SVYDataBlock\t1.1.1.0\tVersion 1 Release 1\t2005-10-14\tSVY3-DATABLOCK", buffer, size);
}

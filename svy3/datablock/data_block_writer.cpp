// CSVYXmlFile::WriteDataBlock_V110: the Data block of a new project document, written from a
// selection of data files on disk; and GetSenOdometer, the reader of ".sen" odometer files.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "svy3/datablock/writer_error.h"
#include "svy3/external/gpr_param.h"
#include "svy3/external/measure.h"
#include "svy3/platform/file_lookup.h"
#include "svy3/platform/path_text.h"
#include "svy3/platform/string_format.h"
#include "svy3/settings/data_line_and_sequence_file_params.h"
#include "svy3/shell/line_offset_dlg.h"
#include "svy3/xmlfile/cursor_guard.h"
#include "svy3/xmlfile/svy_node_value.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

using FileParams = CDataLineAndSequenceFileParams;

const char kRadarExt[] = ".DT1";
const char kOdometerExt[] = ".SEN";
const double kPresetLineSpacing = 0.1;  // metres, offered by the line offset dialog

// A data file's path on the file system: the document's path text made native, and the file
// found even when its name differs from the written one in letter case only.
std::string DataFilePath(const std::string& dataDir, const std::string& baseName, const char* ext) {
    return FindFileIgnoringCase(ToFileSystemPath(dataDir + baseName + ext));
}

// The parameters record of every file, in selection order.
//
// A selection that names one data file twice (the same ".dt1" or ".sen" file name, letter case
// ignored, from any folder) does not form a set: every data file is read from the one data
// folder, so both entries would describe the same file and the document would list it twice.
// Such a selection is refused. Every other selection is accepted, names without line and sequence
// numbers included (they all fall into line 1, in selection order); files of kinds that are not
// written are not checked.
std::vector<FileParams> BuildRecords(const std::vector<std::string>& files) {
    std::vector<FileParams> records(files.size());
    std::vector<std::pair<std::string, std::string>> written;
    for (std::size_t i = 0; i < files.size(); ++i) {
        records[i].Parse(files[i]);
        if (records[i].m_strExt == kRadarExt || records[i].m_strExt == kOdometerExt)
            written.emplace_back(records[i].m_strExt, records[i].m_strBaseName);
    }
    std::sort(written.begin(), written.end());
    if (std::adjacent_find(written.begin(), written.end()) != written.end())
        throw CWriterError("Files in multi-selection do not form a set!");
    return records;
}

// Spacing between consecutive line numbers: asked when the sorted records span several lines.
double AskLineSpacing(const std::vector<FileParams>& sorted) {
    if (sorted.front().LineNumber == sorted.back().LineNumber)
        return 0.0;
    CLineOffsetDlg dialog;
    dialog.m_dOffset = kPresetLineSpacing;
    dialog.DoModal();  // a closed window keeps the preset
    return dialog.m_dOffset;
}

}  // namespace

int32_t CSVYXmlFile::WriteDataBlock_V110(const SCreatedBy& createdBy,
                                         const std::vector<std::string>& files,
                                         const std::string& dataDir) {
    if (files.empty())
        return 1;
    CCursorGuard cursor(*this);  // the writer returns to the root, also when it throws

    AppendChildNode("Data");
    SetNodeAttribute("version", "1.1.0");
    AppendCreatedByBlock(createdBy);
    AppendChildNode("DataDirPath");
    SetNodeText(dataDir);
    GotoParentNode();

    std::vector<FileParams> records = BuildRecords(files);
    // Stable: files with equal numbers keep their selection order.
    std::stable_sort(records.begin(), records.end());
    const double lineSpacing = AskLineSpacing(records);

    GprParam header;  // its record is that of the last header loaded, readable or not
    for (auto run = records.begin(); run != records.end();) {
        const int32_t line = run->LineNumber;
        AppendChildNode("Line");
        SetNodeAttribute("name", StringFormat("Line%d", line));
        int32_t radarSeq = 1;
        int32_t odometerSeq = 1;
        bool settingsWritten = false;

        for (; run != records.end() && run->LineNumber == line; ++run) {
            const FileParams& record = *run;
            if (record.m_strExt == kOdometerExt) {
                AppendChildNode("DataFile");
                SetNodeAttribute("name", record.m_strBaseName);
                CSVYNodeValue::Set(odometerSeq, this, "seq");
                double start = 0.0;
                double end = 0.0;
                std::string units;
                if (!GetSenOdometer(DataFilePath(dataDir, record.m_strBaseName, kOdometerExt),
                                    start, end, units))
                    throw CWriterError("Cannot read SEN file!");
                SetNodeAttribute("ext", kOdometerExt);
                AppendChildNode("Odometer");
                CSVYNodeValue::Set(start, this, "start");
                CSVYNodeValue::Set(end, this, "end");
                SetNodeAttribute("step", "NA");
                SetNodeAttribute("units", units);
                GotoParentNode();
                GotoParentNode();
                ++odometerSeq;
            } else if (record.m_strExt == kRadarExt) {
                if (header.Load(DataFilePath(dataDir, record.m_strBaseName, ".hd"), 0) !=
                    GprParam::LoadOk)
                    continue;  // left out; the next radar file takes its sequence number
                const SGprParam& param = *header.GetGprParam();
                if (!settingsWritten) {
                    WriteSettingsBlock_V110(header, 0.0);
                    settingsWritten = true;
                }
                AppendChildNode("DataFile");
                SetNodeAttribute("name", record.m_strBaseName);
                CSVYNodeValue::Set(radarSeq, this, "seq");
                SetNodeAttribute("ext", "HD+DT1");
                AppendChildNode("FileType");
                SetNodeAttribute("UID", "COR@@@");
                GotoParentNode();
                AppendChildNode("Odometer");
                CSVYNodeValue::Set(param.StartPosition, this, "start");
                CSVYNodeValue::Set(param.EndPosition, this, "end");
                CSVYNodeValue::Set(param.StepSize, this, "step");
                SetNodeAttribute("units", CMeasure(param.StepSize).GetUnitSymbol());
                GotoParentNode();
                GotoParentNode();
                ++radarSeq;
            }
        }

        AppendChildNode("LinearRef");
        SetNodeAttribute("ododist", "0.0");
        SetNodeAttribute("refdist", "0.0");
        CSVYNodeValue::Set((static_cast<double>(line) - 1.0) * lineSpacing, this, "reflateral");
        SetNodeAttribute("units", CMeasure(header.GetGprParam()->StepSize).GetUnitSymbol());
        GotoParentNode();
        GotoParentNode();
    }
    return 1;
}

int32_t CSVYXmlFile::GetSenOdometer(const std::string& path, double& start, double& end,
                                    std::string& units) {
    CSVYXmlFile sen;
    if (!sen.Initialize(path))
        return 0;
    sen.GotoRootNode();
    if (!sen.GotoChildNode("Odometer"))
        return 0;
    CSVYNodeValue::Get(start, &sen, "start");
    CSVYNodeValue::Get(end, &sen, "end");
    CSVYNodeValue::Get(units, &sen, "units");
    return 1;
}

}  // namespace ZAR

#include "tools/svy/project_summary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "svy3/svy3.h"
#include "tools/svy/exit_status.h"

namespace svy_tool {
namespace {

const char* SurveyModeText(int32_t mode) {
    switch (mode) {
        case ZAR::CSvySettingsBlock_V110::Reflection:
            return "Reflection";
        case ZAR::CSvySettingsBlock_V110::CMP_WARR:
            return "CMP/WARR";
        case ZAR::CSvySettingsBlock_V110::MOP:
            return "Trans. - MOP";
        case ZAR::CSvySettingsBlock_V110::ZOP:
            return "Trans. - ZOP";
        case ZAR::CSvySettingsBlock_V110::VRP:
            return "Trans. - VRP";
        default:
            return "unknown";
    }
}

SettingsSummary Summarize(const ZAR::CSvySettingsBlock_V110& block) {
    SettingsSummary s;
    s.sampleCount = block.SampleCount;
    s.timeZero = block.TimeZero;
    s.sampleIntervalNs = block.SampleIntervalNs;
    s.stepSizeMetres = block.StepSizeMeasure(1);
    s.frequencyMHz = block.NominalFrequencyMHz;
    s.pulserVoltage = block.PulseVoltage;
    s.odometerTicksPerMetre = block.OdometerTicksPerMetre;
    s.antennaSeparationMetres = ZAR::CSvySettingsBlock_V110::AntennaSeparation(
        block.ReceiverAntenna, block.TransmitterAntenna);
    s.surveyMode = SurveyModeText(block.SurveyModeCode);
    s.processing = block.ProcessList;
    return s;
}

void ReadProvenance(ZAR::CSvyInterface& top, const char* block, ProjectSummary& summary) {
    if (!top.GotoBlock(block))
        return;
    ZAR::SCreatedBy records[64];
    const int32_t count = top.GetCreatedByBlock(records, 64);
    for (int32_t i = 0; i < count; ++i) {
        ProvenanceEntry entry;
        entry.block = block;
        entry.kind = i == 0 ? "created" : "modified";
        entry.name = records[i].name;
        entry.version = records[i].version;
        entry.dip = records[i].DIP;
        entry.date = records[i].dateTime.Format("%Y-%m-%d");
        entry.time = records[i].dateTime.Format("%H:%M:%S");
        entry.comment = records[i].comment;
        summary.provenance.push_back(entry);
    }
}

}  // namespace

std::string ProjectFileProblem(const std::string& path, int& status) {
    status = kExitFileSystem;
    constexpr size_t kLongestPath = ZAR::CSVYXmlFile::kTextBufferSize - 1;
    if (path.size() > kLongestPath)
        return "the path " + path + " is " + std::to_string(path.size()) +
               " bytes long; project documents are opened by paths of at most " +
               std::to_string(kLongestPath) + " bytes (open it from a folder nearer to it)";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? path + ": no such file" : path + ": " + std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return path + " is a folder, not a project document";
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return path + " cannot be read: " + std::strerror(errno);
    close(fd);
    status = kExitOk;
    return std::string();
}

bool SummarizeProject(const std::string& path, ProjectSummary& summary, std::string& error) {
    summary = ProjectSummary();
    summary.path = path;
    const ZAR::CScopedMessageBoxHandler showMessages(
        [&summary](const std::string& text, ZAR::MessageIcon) {
            std::fprintf(stderr, "%s\n", text.c_str());
            summary.messages += text + "\n";
        });

    int status = kExitOk;
    error = ProjectFileProblem(path, status);
    if (!error.empty())
        return false;
    ZAR::CSVYXmlFile file;
    if (!file.Initialize(path)) {
        error = path + " is not an XML document";
        return false;
    }
    file.GotoRootNode();
    std::string version = "version";
    if (file.GetNodeAttribute(version))
        summary.version = version;

    std::unique_ptr<ZAR::CSvyInterface> top = ZAR::CSvyInterface::CreateAndInit(&file);
    if (!top) {
        error = "cannot open the project document";
        return false;
    }
    const ZAR::CSiteDefinition& site = *top->GetSiteDefinition();
    for (const auto& field : site.m_fields)
        summary.siteFields.push_back(field);
    summary.siteComments = site.m_comments;
    if (site.m_bJobDateValid)
        summary.jobDate = site.m_jobDateTime.Format("%Y-%m-%d %H:%M:%S");
    ReadProvenance(*top, "SiteDefinition", summary);
    ReadProvenance(*top, "Data", summary);

    // The data block's messages are printed here rather than through a message box.
    std::string messages;
    file.GotoRootNode();
    auto data = ZAR::CSvyDataBlockInterface::CreateAndInit(&file, 0, &messages);
    if (!messages.empty()) {
        std::fprintf(stderr, "%s\n", messages.substr(1).c_str());
        summary.messages += messages.substr(1) + "\n";
    }
    if (!data) {
        error = "cannot open the data block";
        return false;
    }
    summary.dataDir = data->GetDataDir();
    for (int32_t set = 0; set < data->GetSetCount(); ++set) {
        ZAR::SLineSetInfo info;
        data->GetLineSet(info, set);
        summary.lineSets.push_back(info.name);
    }

    // The lines and files are read from the model itself: the numbered lookups pass over files
    // without positions, and a freshly created project has no positions yet.
    std::map<const ZAR::CSvySettingsBlock_V110*, int> settingsIndex;
    auto addLine = [&](const ZAR::CSvyDataBlock_V110::CLine& model, const std::string& set) {
        LineSummary line;
        line.name = model.m_strName;
        line.set = set;
        line.type = model.m_eType;
        line.startX = model.m_dStartX;
        line.endX = model.m_dEndX;
        line.startY = model.m_dStartY;
        line.endY = model.m_dEndY;
        line.positionCount = model.m_dPositionCount;
        line.direction = model.m_cDirection;
        if (!model.m_linearRefs.empty())
            line.lateralOffset = model.m_linearRefs.front().reflateral;
        for (const auto& extension : model.m_extensions) {
            line.fileSlots += static_cast<int>(extension->m_files.size());
            for (const auto& file : extension->m_files) {
                if (!file)
                    continue;
                FileSummary entry;
                entry.path = file->GetPath();
                entry.kind = file->m_strExt;
                entry.odoStart = file->m_dOdoStart;
                entry.odoEnd = file->m_dOdoEnd;
                entry.odoStep = file->m_dOdoStep;
                entry.dim0 = file->m_nDim0;
                entry.dim1 = file->m_nDim1;
                entry.dim2 = file->m_nDim2;
                entry.positionCount = static_cast<int>(file->m_positions.size());
                if (file->m_pSettings) {
                    auto found = settingsIndex.find(file->m_pSettings);
                    if (found == settingsIndex.end()) {
                        found = settingsIndex
                                    .emplace(file->m_pSettings,
                                             static_cast<int>(summary.settings.size()))
                                    .first;
                        summary.settings.push_back(Summarize(*file->m_pSettings));
                    }
                    entry.settingsIndex = found->second;
                }
                line.files.push_back(entry);
            }
        }
        summary.lines.push_back(std::move(line));
    };
    const ZAR::CSvyDataBlock_V110& model = data->GetDataBlock();
    for (const auto& set : model.m_lineSets)
        for (const auto& line : set->m_lines)
            addLine(*line, set->m_strName);
    for (const auto& line : model.m_lines)
        addLine(*line, "");
    return true;
}

}  // namespace svy_tool

#include "svy3/api/project.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "svy3/api/message_capture.h"
#include "svy3/api/project_state.h"
#include "svy3/datablock/svy_data_block_interface.h"
#include "svy3/document/svy_interface.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace svy3 {

using Model = ZAR::CSvyDataBlock_V110;

namespace detail {
std::mutex& MessageHookLock() {
    static std::mutex lock;
    return lock;
}
}  // namespace detail

namespace {

const char* SurveyModeName(int32_t mode) {
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

Settings ToSettings(const ZAR::CSvySettingsBlock_V110& block) {
    Settings s;
    s.sample_count = block.SampleCount;
    s.time_zero = block.TimeZero;
    s.sample_interval_ns = block.SampleIntervalNs;
    s.step_size = block.StepSizeMeasure(1);
    s.frequency_mhz = block.NominalFrequencyMHz;
    s.pulser_voltage = block.PulseVoltage;
    s.odometer_ticks_per_metre = block.OdometerTicksPerMetre;
    s.antenna_separation = ZAR::CSvySettingsBlock_V110::AntennaSeparation(block.ReceiverAntenna,
                                                                          block.TransmitterAntenna);
    s.survey_mode_code = block.SurveyModeCode;
    s.survey_mode = SurveyModeName(block.SurveyModeCode);
    s.processing = block.ProcessList;
    return s;
}

void ReadProvenance(ZAR::CSvyInterface& top, const char* block, std::vector<Provenance>& out) {
    if (!top.GotoBlock(block))
        return;
    constexpr int32_t kCapacity = 64;
    std::vector<ZAR::SCreatedBy> records(kCapacity);
    const int32_t count = top.GetCreatedByBlock(records.data(), kCapacity);
    for (int32_t i = 0; i < count; ++i) {
        const ZAR::SCreatedBy& r = records[static_cast<size_t>(i)];
        out.push_back({block, i > 0, r.name, r.version, r.DIP, r.dateTime.Format("%Y-%m-%d"),
                       r.dateTime.Format("%H:%M:%S"), r.comment});
    }
}

}  // namespace

std::string file_problem(const std::string& path) {
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
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return path + " cannot be read: " + std::strerror(errno);
    close(fd);
    return std::string();
}

namespace {

// Calls visit(line, set name) for every line: set by set, then the lines outside sets.
template <class Visit>
void EachLine(const Model& model, Visit visit) {
    for (const auto& set : model.m_lineSets)
        for (const auto& line : set->m_lines)
            visit(*line, set->m_strName);
    for (const auto& line : model.m_lines)
        visit(*line, std::string());
}

// Builds the views over the data block's model.
void BuildViews(const Model& model, Project::State& state) {
    // Settings first, in the order the lines use them: the files then point into a vector that
    // no longer grows.
    std::map<const ZAR::CSvySettingsBlock_V110*, size_t> settingsIndex;
    size_t lineCount = 0;
    EachLine(model, [&](const Model::CLine& line, const std::string&) {
        ++lineCount;
        for (const auto& extension : line.m_extensions)
            for (const auto& file : extension->m_files)
                if (file && file->m_pSettings &&
                    settingsIndex.emplace(file->m_pSettings, settingsIndex.size()).second)
                    state.settings.push_back(ToSettings(*file->m_pSettings));
    });

    state.lines.reserve(lineCount);  // the sets' spans point into it
    EachLine(model, [&](const Model::CLine& line, const std::string& set) {
        std::vector<DataFile> files;
        for (const auto& extension : line.m_extensions)
            for (const auto& file : extension->m_files)
                if (file)
                    files.emplace_back(*file,
                                       file->m_pSettings
                                           ? &state.settings[settingsIndex.at(file->m_pSettings)]
                                           : nullptr);
        state.lines.emplace_back(line, set, std::move(files));
    });

    size_t first = 0;
    for (const auto& set : model.m_lineSets) {
        state.lineSets.emplace_back(
            set->m_strName, Span<const Line>(state.lines.data() + first, set->m_lines.size()));
        first += set->m_lines.size();
    }
}

}  // namespace

Project::Project(std::unique_ptr<State> state) : state_(std::move(state)) {}
Project::Project(Project&&) noexcept = default;
Project& Project::operator=(Project&&) noexcept = default;
Project::~Project() = default;

const std::string& Project::path() const {
    return state_->path;
}
const std::string& Project::version() const {
    return state_->version;
}
const std::string& Project::data_dir() const {
    return state_->dataDir;
}
const std::vector<Provenance>& Project::provenance() const {
    return state_->provenance;
}
const Site& Project::site() const {
    return state_->site;
}
const std::vector<LineSet>& Project::line_sets() const {
    return state_->lineSets;
}
const std::vector<Line>& Project::lines() const {
    return state_->lines;
}
const std::vector<Settings>& Project::settings() const {
    return state_->settings;
}
const std::vector<std::string>& Project::warnings() const {
    return state_->warnings;
}
ZAR::CSvyDataBlockInterface_V110& Project::data_block() const {
    return *state_->data;
}

const Line* Project::find_line(const std::string& name) const {
    for (const Line& line : state_->lines)
        if (line.name() == name)
            return &line;
    return nullptr;
}

const Line* Project::find_line(const std::string& set, const std::string& name) const {
    for (const Line& line : state_->lines)
        if (line.set() == set && line.name() == name)
            return &line;
    return nullptr;
}

Project open(const std::string& path) {
    const std::string problem = file_problem(path);
    if (!problem.empty())
        throw Error(Error::Kind::file_system, problem);

    auto state = std::make_unique<Project::State>();
    state->path = path;
    std::vector<std::string>& warnings = state->warnings;
    auto fail = [&warnings](const std::string& message) {
        return Error(Error::Kind::document, message, 0, warnings);
    };
    const detail::MessageCapture capture(warnings);

    ZAR::CSVYXmlFile file;
    if (!file.Initialize(path))
        throw fail(path + " is not an XML document");
    file.GotoRootNode();
    std::string version = "version";
    if (file.GetNodeAttribute(version))
        state->version = version;

    std::unique_ptr<ZAR::CSvyInterface> top = ZAR::CSvyInterface::CreateAndInit(&file);
    if (!top)
        throw fail("cannot open the project document");
    const ZAR::CSiteDefinition& site = *top->GetSiteDefinition();
    state->site.fields = site.m_fields;
    state->site.comments = site.m_comments;
    if (site.m_bJobDateValid)
        state->site.job_date = site.m_jobDateTime.Format("%Y-%m-%d %H:%M:%S");
    ReadProvenance(*top, "SiteDefinition", state->provenance);
    ReadProvenance(*top, "Data", state->provenance);

    // The data block's report comes as one text that starts with a line break.
    std::string report;
    file.GotoRootNode();
    state->data = ZAR::CSvyDataBlockInterface::CreateAndInit(&file, 0, &report);
    if (!report.empty())
        warnings.push_back(report.substr(1));
    if (!state->data)
        throw fail("cannot open the data block");
    state->dataDir = state->data->GetDataDir();
    BuildViews(state->data->GetDataBlock(), *state);
    return Project(std::move(state));
}

}  // namespace svy3

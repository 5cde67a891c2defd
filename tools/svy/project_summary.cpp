#include "tools/svy/project_summary.h"

#include <cstdio>
#include <map>

#include "svy3/api.h"
#include "tools/svy/exit_status.h"

namespace svy_tool {
namespace {

SettingsSummary Summarize(const svy3::Settings& settings) {
    SettingsSummary s;
    s.sampleCount = settings.sample_count;
    s.timeZero = settings.time_zero;
    s.sampleIntervalNs = settings.sample_interval_ns;
    s.stepSizeMetres = settings.step_size;
    s.frequencyMHz = settings.frequency_mhz;
    s.pulserVoltage = settings.pulser_voltage;
    s.odometerTicksPerMetre = settings.odometer_ticks_per_metre;
    s.antennaSeparationMetres = settings.antenna_separation;
    s.surveyMode = settings.survey_mode;
    s.processing = settings.processing;
    return s;
}

// The library's messages go to standard error as well as into the summary.
void Report(const std::vector<std::string>& messages, ProjectSummary& summary) {
    for (const std::string& text : messages) {
        std::fprintf(stderr, "%s\n", text.c_str());
        summary.messages += text + "\n";
    }
}

}  // namespace

std::string ProjectFileProblem(const std::string& path, int& status) {
    const std::string problem = svy3::file_problem(path);
    status = problem.empty() ? kExitOk : kExitFileSystem;
    return problem;
}

void SummarizeProject(const svy3::Project& project, ProjectSummary& summary) {
    summary = ProjectSummary();
    summary.path = project.path();
    summary.version = project.version();
    summary.dataDir = project.data_dir();
    for (const svy3::Provenance& record : project.provenance())
        summary.provenance.push_back({record.block, record.modified ? "modified" : "created",
                                      record.program, record.version, record.dip, record.date,
                                      record.time, record.comment});
    const svy3::Site& site = project.site();
    summary.siteFields.assign(site.fields.begin(), site.fields.end());
    summary.siteComments = site.comments;
    summary.jobDate = site.job_date;
    for (const svy3::LineSet& set : project.line_sets())
        summary.lineSets.push_back(set.name());
    for (const svy3::Settings& settings : project.settings())
        summary.settings.push_back(Summarize(settings));

    for (const svy3::Line& model : project.lines()) {
        LineSummary line;
        line.name = model.name();
        line.set = model.set();
        line.type = static_cast<int>(model.type());
        const svy3::Extent extent = model.extent();
        line.startX = extent.start_x;
        line.endX = extent.end_x;
        line.startY = extent.start_y;
        line.endY = extent.end_y;
        line.positionCount = extent.position_count;
        line.direction = model.direction() == svy3::Direction::forward    ? 'Y'
                         : model.direction() == svy3::Direction::reversed ? 'R'
                                                                          : 'N';
        line.lateralOffset = model.lateral_offset();
        line.fileSlots = model.file_slots();
        for (const svy3::DataFile& file : model.files()) {
            FileSummary entry;
            entry.path = file.path();
            entry.kind = file.kind();
            const svy3::OdometerRange odometer = file.odometer();
            entry.odoStart = odometer.start;
            entry.odoEnd = odometer.end;
            entry.odoStep = odometer.step;
            const std::array<int, 3> dimensions = file.dimensions();
            entry.dim0 = dimensions[0];
            entry.dim1 = dimensions[1];
            entry.dim2 = dimensions[2];
            entry.positionCount = static_cast<int>(file.positions().size());
            if (file.settings())
                entry.settingsIndex = static_cast<int>(file.settings() - project.settings().data());
            line.files.push_back(entry);
        }
        summary.lines.push_back(std::move(line));
    }
}

bool SummarizeProject(const std::string& path, ProjectSummary& summary, std::string& error) {
    summary = ProjectSummary();
    summary.path = path;
    try {
        const svy3::Project project = svy3::open(path);
        SummarizeProject(project, summary);
        Report(project.warnings(), summary);
        return true;
    } catch (const svy3::Error& failure) {
        Report(failure.messages(), summary);
        error = failure.what();
        return false;
    }
}

}  // namespace svy_tool

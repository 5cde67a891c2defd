// The README's examples of the classes' interface, compiled and run by the tests
// (tests/readme/readme_example_test.cpp). The text between the markers is the README's, exactly.
#include <cstdio>

#include "examples/examples.h"

// README-EXAMPLE-BEGIN
#include "svy3/svy3.h"

// Opens a project document and lists its lines with their file slots and the odometer distance
// at 12.5 m of the first distance reference's scale.
int ListLines(const std::string& path) {
    ZAR::CSVYXmlFile file;  // the document cursor; it owns the document
    if (!file.Initialize(path))
        return 1;  // a file that is not XML draws a message box
    auto project = ZAR::CSvyInterface::CreateAndInit(&file);  // version check, site definition
    std::string messages;
    auto data = ZAR::CSvyDataBlockInterface::CreateAndInit(&file, 0, &messages);
    if (!project || !data)
        return 1;

    const int32_t lines = data->GetNumLines(-1, ZAR::eLineAny);  // all sets, any type
    for (int32_t n = 0; n < lines; ++n) {
        ZAR::SLineInfo line;
        data->GetLine(line, n, -1, ZAR::eLineAny, 1);
        std::printf("%s: %d file slots\n", line.name.c_str(),
                    data->GetFileCount(n, -1, ZAR::eLineAny, 2));
    }
    ZAR::LineInfo first;  // lines outside line sets, in document order
    if (data->GetLineInfo(0, first) && first.converter)
        std::printf("12.5 m is odometer %.3f m\n", first.converter->User2Odo(12.5));
    return 0;
}

// Creates a project document from radar files (.DT1 with their .HD headers, .sen files).
int CreateProject(const std::string& path, const std::vector<std::string>& files) {
    ZAR::SetLineOffsetPrompt([](std::string& spacing) {  // answers the line spacing dialog
        spacing = "0.5";
        return true;
    });
    ZAR::SCreatedBy creator;
    creator.name = "my program";
    creator.dateTime = ZAR::CDateTime::GetCurrentTime();
    ZAR::CSVYXmlFile file;
    return file.CreateNewFile_V110(path, creator, files, nullptr);  // 0: saved
}
// README-EXAMPLE-END

// README-EDITOR-EXAMPLE-BEGIN
// Loads a project into the editor, prints where the positions of each radar file start and end,
// and saves the document under another name.
int ShowPositions(const std::string& path, const std::string& copy) {
    ZAR::GpzSvy120 editor;  // owns its document; copies share it
    try {
        if (editor.Load(path.c_str()) != 1)  // -1: files after the first of a sequence left out
            std::printf("some data files are not in the map\n");
    } catch (const ZAR::CError& error) {  // missing file or malformed document
        std::printf("error %d: %s\n", error.Code(), error.what());
        return 1;
    }
    for (auto set = editor.Begin(); set != editor.End(); ++set)
        for (auto line = editor.Begin(set); line != editor.End(set); ++line)
            for (auto file = editor.Begin(line); file != editor.End(line); ++file) {
                if (editor.BeginPos(file) == editor.EndPos(file))
                    continue;  // a .DT1 entry, or a file without positions
                const ZAR::SvyLinePos& first = *editor.BeginPos(file);
                const ZAR::SvyLinePos last = editor.Last(file);
                std::printf("%s %s: (%g, %g) to (%g, %g)\n", line->first.c_str(),
                            file->first.filename().string().c_str(), first.X(ZAR::UNIT_M),
                            first.Y(ZAR::UNIT_M), last.X(ZAR::UNIT_M), last.Y(ZAR::UNIT_M));
            }
    return editor.Save(copy.c_str()) ? 0 : 1;
}
// README-EDITOR-EXAMPLE-END

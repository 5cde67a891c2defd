// Fuzz target: any bytes as a project document, loaded through the editor, its map walked and
// printed, and a few path moves made. Only the editor's own error may escape a load; nothing may
// crash, leak or read out of bounds.

#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "svy3/svy3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = svy3_fuzz::ScratchPath("editor", ".svy");
    if (!svy3_fuzz::WriteInput(path, data, size))
        return 0;

    ZAR::GpzSvy120 editor;
    try {
        editor.Load(path.c_str());
    } catch (const ZAR::CError&) {
    }
    std::ostringstream dump;
    editor.Dump(dump);
    size_t positions = 0;
    for (auto set = editor.Begin(); set != editor.End(); ++set)
        for (auto line = editor.Begin(set); line != editor.End(set); ++line)
            for (auto f = editor.Begin(line); f != editor.End(line); ++f)
                if (editor.BeginPos(f) != editor.EndPos(f))
                    positions += editor.Last(f).m_dNormalizedFilePos > 0.5 ? 1 : 0;
    ZAR::Transform::SCoordinateRelationship relationship;
    editor.GetGpsToDataRelationship(relationship);
    if (editor.Begin() != editor.End() &&
        editor.Begin()->second.begin() != editor.Begin()->second.end())
        editor.GotoLineNode(&editor.Begin()->first, editor.Begin()->second.begin()->first);
    editor.GotoNode("/ZAR_SVY/VILO_Mapper_Settings/../Data/./LineSet", false);
    ZAR::SvyViloMapperSettings settings;
    settings.Read(editor);
    return positions > size ? 1 : 0;
}

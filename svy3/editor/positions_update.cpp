// Positions, fiducial comments and the GPS data file of a line, written back into the document.
#include <cmath>

#include "svy3/editor/gpz_svy.h"
#include "svy3/external/measure.h"

namespace ZAR {
namespace {

// The data file kind that carries a line's radar data, its positions and its fiducials.
const char kRadarPairExtension[] = "HD+DT1";
// The data file kind of a GPS file attached to a line.
const char kGpsExtension[] = "GPS";

// The letter a fiducial's flag code is written as.
const char* FlagLetter(int32_t flag) {
    switch (flag) {
        case 0:
            return "D";
        case 1:
            return "C";
        case 2:
            return "I";
        default:
            return "N";
    }
}

}  // namespace

bool GpzSvy::SetPos(PosIterator first, PosIterator last) {
    if (!SetPos(kRadarPairExtension, first, last))
        return false;
    // A line without a GPS file has nothing more to update; a failure there is not the line's.
    SetPos(kGpsExtension, first, last);
    return true;
}

bool GpzSvy::SetPos(const std::string& extension, PosIterator first, PosIterator last) {
    if (!FindSubnode("DataFile", "ext", extension))
        return false;
    // Each deletion leaves the cursor on the DataFile again.
    while (ChildNode("Position", eGpzFind))
        DeleteNode();
    bool ok = true;
    for (; first != last; ++first) {
        if (!ChildNode("Position", eGpzAppend))
            continue;
        const double z = first->Z(UNIT_M);
        ok = ok && SetNodeVal(first->X(UNIT_M), "X") && SetNodeVal(first->Y(UNIT_M), "Y") &&
             (std::isnan(z) ? SetNodeTxt("NA", "Z") : SetNodeVal(z, "Z")) &&
             SetNodeTxt("m", "units") &&
             SetNodeVal(first->m_dNormalizedFilePos, "normalized_file_pos");
        ParentNode(nullptr);
    }
    ParentNode(nullptr);
    return ok;
}

bool GpzSvy::SetFids(SvyLineFidIterator first, SvyLineFidIterator last) {
    if (!FindSubnode("DataFile", "ext", kRadarPairExtension))
        return false;
    while (ChildNode("FIDComment", eGpzFind))
        DeleteNode();
    bool ok = true;
    for (; first != last; ++first) {
        if (!ChildNode("FIDComment", eGpzAppend))
            continue;
        const SvyLineFid& fid = *first;
        ok = ok && SetNodeTxt("m", "units") && SetNodeVal(fid.ododist, "ododist") &&
             SetNodeTxt(FlagLetter(fid.flag), "fileflag") && SetNodeTxt(fid.comment, nullptr);
        ParentNode(nullptr);
    }
    ParentNode(nullptr);
    return ok;
}

bool GpzSvy::SetGpsFile(const std::string& name, std::string directory) {
    if (!IsNode("Line"))
        return false;
    // Handles of the first two positions and of the odometer of the first radar pair: the GPS
    // file starts with copies of them.
    void* firstPosition = nullptr;
    void* secondPosition = nullptr;
    void* odometer = nullptr;
    bool first = true;
    while (NextNode(first, "DataFile")) {
        std::string extension;
        GetNodeTxt(extension, "ext");
        if (extension == kGpsExtension) {
            // An earlier GPS file goes; the walk starts again from the Line.
            DeleteNode();
            first = true;
            continue;
        }
        if (extension != kRadarPairExtension || odometer)
            continue;
        if (ChildNode("Position", eGpzFind)) {
            bool firstPos = false;
            do {
                if (!firstPosition)
                    firstPosition = GetNodeHandle();
                else if (!secondPosition)
                    secondPosition = GetNodeHandle();
            } while (NextNode(firstPos, "Position"));
            ParentNode(nullptr);
        }
        if (ChildNode("Odometer", eGpzFind)) {
            odometer = GetNodeHandle();
            ParentNode(nullptr);
        }
    }
    if (!first)
        ParentNode(nullptr);

    auto release = [&] {
        for (void* handle : {firstPosition, secondPosition, odometer}) {
            if (handle)
                ReleaseNodeHandle(handle);
        }
    };
    if (!firstPosition || !secondPosition || !odometer) {
        release();
        return false;
    }
    if (ChildNode("DataFile", eGpzAppend)) {
        // Stops at the first failure; what was written stays.
        (void)(SetNodeTxt(name, "name") && SetNodeTxt(kGpsExtension, "ext") &&
               SetNodeTxt("1", "seq") && SetSubNodeText("GPS@@@", "FileType", "UID") &&
               ModifyFileDirPath(true, directory) && AppendNodeCopy(firstPosition, true) &&
               AppendNodeCopy(secondPosition, true) && AppendNodeCopy(odometer, true));
    }
    // Wherever a failed write left the cursor, the climb back to the Line decides the result.
    const bool result = ParentNode("Line");
    release();
    return result;
}

}  // namespace ZAR

// Synthetic project documents of a chosen size, written as text without the library (for the
// benchmarks of opening and reading).
#pragma once

#include <cstddef>
#include <string>

namespace svy3_samples {

struct DocumentShape {
    int lines = 200;
    int filesPerLine = 5;
    int positionsPerFile = 1000;
    int fiducialsPerFile = 10;
    // Every DataFile with seq="1" instead of 1, 2, ... along its line: the project editor maps only
    // the first file of a sequence, so a document for it needs this to have all positions mapped.
    bool everyFileFirstInSequence = false;
};

// Writes a version 1.1.0 project document of the given shape to `path`; returns its size in bytes.
std::size_t WriteSurveyDocument(const std::string& path, const DocumentShape& shape);

// A shape whose document is about `bytes` long.
DocumentShape ShapeForSize(std::size_t bytes);

}  // namespace svy3_samples

// SvyLinePos: one position recorded along a data file, with where along the file it lies.
#pragma once

#include "svy3/external/position.h"
#include "svy3/platform/export.h"

namespace ZAR {

// A position (coordinates through the Position<double> interface) and its normalized file
// position, from 0 at the start of the data file to 1 at its end. Positions order by the normalized
// file position alone.
class SVY3_API SvyLinePos : public Position<double> {
  public:
    SvyLinePos() = default;

    bool operator<(const SvyLinePos& other) const {
        return m_dNormalizedFilePos < other.m_dNormalizedFilePos;
    }

    double m_dNormalizedFilePos = 0.0;
};

}  // namespace ZAR

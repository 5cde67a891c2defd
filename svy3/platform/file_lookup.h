// Finding files whose names differ only in letter case: documents written on Windows name files
// without regard to case ("LINE01.hd" for "LINE01.HD"), which a POSIX file system keeps apart.
#pragma once

#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// `path` when it exists; otherwise the path of the one entry of its folder whose name equals the
// file name without regard to ASCII letter case (the first in folder order when several do); else
// `path` unchanged. Never throws.
SVY3_API std::string FindFileIgnoringCase(const std::string& path);

}  // namespace ZAR

// File and directory name checks. Project documents and their data folders move between Windows
// and POSIX systems, so a name counts as legal only when both accept it.
#pragma once

#include <string>

#include "svy3/platform/export.h"

namespace ZAR {
namespace cfile {

// True when `name` can be used unchanged as a file or directory name. A name is illegal when it
// is empty, "." or "..", longer than 255 bytes, holds a control character (codes 1 to 31 or NUL)
// or one of < > : " | ? * / \, ends in a dot or a blank, or is a reserved device name (CON, PRN,
// AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any letter case, alone or before a dot as in
// "con.txt"). With `allowSeparators` true, `name` may be a relative path: "/" and "\" separate
// elements, each of which must be legal by itself (a leading, trailing or doubled separator
// makes an empty element and so an illegal path).
SVY3_API bool IsLegalFilename(const std::string& name, bool allowSeparators);

// Repairs `name` in place into a name that IsLegalFilename(name, false) accepts and returns true.
// Illegal characters (path separators among them) become "_" when `replaceCharacters` is true
// and are dropped when it is false; trailing dots and blanks are dropped; a reserved device name
// gets a leading "_" ("CON.txt" becomes "_CON.txt"); a name longer than 255 bytes is cut at a
// character boundary. An already legal name is left as it is. Returns false, leaving `name`
// unchanged, when nothing legal remains (for example "", "...", or "???" without replacement).
SVY3_API bool SanitizeName(std::string& name, bool replaceCharacters);

}  // namespace cfile
}  // namespace ZAR

// Shared pieces of the Python module: text and path conversion, the module's exception and
// warning classes, and the functions that add each part of the module.
#pragma once

#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "svy3/api.h"

namespace svy3_python {

namespace py = pybind11;

// A document's text as a Python str. Documents may hold bytes that are not UTF-8 (names typed on
// other code pages): those become lone surrogates (the "surrogateescape" handler), so that the
// same bytes go back into the library when the str is passed in again.
py::str Text(const std::string& text);
py::list TextList(const std::vector<std::string>& texts);

// A Python list of `convert(item)` for every item of `items`, in order.
template <class Items, class Convert>
py::list ListOf(const Items& items, Convert convert) {
    py::list list;
    for (const auto& item : items)
        list.append(convert(item));
    return list;
}

// A path from the library, decoded as the operating system's file names are.
py::str PathText(const std::string& path);

// The bytes of a str (UTF-8, lone surrogates back to the bytes they stand for) or of bytes.
std::string Bytes(py::handle text);
// The bytes of a path: a str, bytes or os.PathLike object, encoded as the operating system's file
// names are.
std::string PathBytes(py::handle path);

// Issues one svy3.SvyWarning per message, as the caller's warnings. Raises (through
// py::error_already_set) when a warnings filter turns them into errors.
void Warn(const std::vector<std::string>& messages);

// The module's exception classes and translation of svy3::Error into them.
void AddErrors(py::module_& m);
void AddProject(py::module_& m);
void AddEditor(py::module_& m);

}  // namespace svy3_python

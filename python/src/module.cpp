// The Python module svy3: open, query, create and edit survey project documents.
#include <Python.h>

#include <pybind11/eval.h>

#include "bindings.h"
#include "svy3/version.h"

namespace svy3_python {
namespace {

// The classes defined in Python below, kept for the whole life of the process (the module is
// never unloaded).
PyObject* g_warning = nullptr;
PyObject* g_errors[4] = {};

// The exception and warning classes and the fiducial tuple: plain Python classes, so that they
// behave as every other Python exception (pickling, multiple inheritance from OSError).
const char* const kPythonPart = R"(
import collections as _collections


class SvyWarning(UserWarning):
    """A message the library reports while opening or creating a project without failing: a
    document version it does not know, data files it could not read. Each one is issued through
    the warnings module; the same texts are in Project.warnings."""


class Error(Exception):
    """A call of svy3 could not do what it was asked.

    Attributes: kind -- "file_system", "document", "refused" or "interrupted" (each has its own
    subclass); code -- the library's own numeric code, 0 when there is none; messages -- what the
    library reported before it failed and what was done about it (for instance that every moved
    file was put back)."""

    kind = None
    code = 0
    messages = ()


class FileSystemError(Error, OSError):
    """A file or folder is missing, unreadable or cannot be written (kind "file_system")."""


class DocumentError(Error):
    """The document is not a project document the library can read or edit (kind "document")."""


class RefusedError(Error):
    """The call would lose or harm data and changed nothing (kind "refused")."""


class InterruptedBatchError(Error):
    """A batch of file moves was cut off and could not be undone; run svy3.recover (kind
    "interrupted")."""


Fiducial = _collections.namedtuple("Fiducial", "flag distance comment")
Fiducial.__doc__ = """A fiducial comment: its one-letter kind (flag), its odometer distance along
the data file in metres, and its text."""

del _collections
)";

const char* KindName(svy3::Error::Kind kind) {
    switch (kind) {
        case svy3::Error::Kind::file_system:
            return "file_system";
        case svy3::Error::Kind::document:
            return "document";
        case svy3::Error::Kind::refused:
            return "refused";
        case svy3::Error::Kind::interrupted:
            break;
    }
    return "interrupted";
}

void Raise(const svy3::Error& error) {
    PyObject* type = g_errors[static_cast<int>(error.kind())];
    py::object exception = py::reinterpret_borrow<py::object>(type)(Text(error.what()));
    exception.attr("kind") = KindName(error.kind());
    exception.attr("code") = error.code();
    exception.attr("messages") = TextList(error.messages());
    PyErr_SetObject(type, exception.ptr());
}

}  // namespace

void AddErrors(py::module_& m) {
    py::exec(kPythonPart, m.attr("__dict__"));
    g_warning = py::object(m.attr("SvyWarning")).release().ptr();
    const char* const names[] = {"FileSystemError", "DocumentError", "RefusedError",
                                 "InterruptedBatchError"};
    for (int kind = 0; kind < 4; ++kind)
        g_errors[kind] = py::object(m.attr(names[kind])).release().ptr();
    static_assert(static_cast<int>(svy3::Error::Kind::file_system) == 0 &&
                      static_cast<int>(svy3::Error::Kind::document) == 1 &&
                      static_cast<int>(svy3::Error::Kind::refused) == 2 &&
                      static_cast<int>(svy3::Error::Kind::interrupted) == 3,
                  "the order of the names above");

    py::register_exception_translator([](std::exception_ptr pending) {
        try {
            if (pending)
                std::rethrow_exception(pending);
        } catch (const svy3::Error& error) {
            Raise(error);
        }
    });
}

void Warn(const std::vector<std::string>& messages) {
    if (messages.empty())
        return;
    const py::object warn = py::module_::import("warnings").attr("warn");
    // Level 1 is the frame of the Python code that called into the module.
    for (const std::string& message : messages)
        warn(Text(message), py::handle(g_warning), 1);
}

}  // namespace svy3_python

PYBIND11_MODULE(svy3, m) {
    using namespace svy3_python;
    m.doc() = R"(Survey project documents of ground-penetrating-radar surveys.

open(path) reads a project; create(path, files, ...) makes one from radar data files on disk;
Editor(path) edits one in place. Failures raise svy3.Error (one subclass per kind); what the
library reports without failing comes as svy3.SvyWarning warnings.)";
    m.attr("__version__") = SVY3_VERSION_STRING;
    AddErrors(m);
    AddProject(m);
    AddEditor(m);
}

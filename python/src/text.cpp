#include <Python.h>

#include "bindings.h"

namespace svy3_python {

py::str Text(const std::string& text) {
    PyObject* str =
        PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape");
    if (!str)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(str);
}

py::list TextList(const std::vector<std::string>& texts) {
    return ListOf(texts, Text);
}

py::str PathText(const std::string& path) {
    PyObject* str =
        PyUnicode_DecodeFSDefaultAndSize(path.data(), static_cast<Py_ssize_t>(path.size()));
    if (!str)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(str);
}

namespace {

std::string FromBytes(PyObject* bytes) {
    char* data = nullptr;
    Py_ssize_t size = 0;
    if (PyBytes_AsStringAndSize(bytes, &data, &size) != 0)
        throw py::error_already_set();
    return std::string(data, static_cast<size_t>(size));
}

}  // namespace

std::string Bytes(py::handle text) {
    if (PyBytes_Check(text.ptr()))
        return FromBytes(text.ptr());
    if (!PyUnicode_Check(text.ptr()))
        throw py::type_error("expected str or bytes, not " +
                             std::string(Py_TYPE(text.ptr())->tp_name));
    const auto bytes = py::reinterpret_steal<py::object>(
        PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape"));
    if (!bytes)
        throw py::error_already_set();
    return FromBytes(bytes.ptr());
}

std::string PathBytes(py::handle path) {
    const auto fspath = py::reinterpret_steal<py::object>(PyOS_FSPath(path.ptr()));
    if (!fspath)
        throw py::error_already_set();
    if (PyBytes_Check(fspath.ptr()))
        return FromBytes(fspath.ptr());
    const auto bytes = py::reinterpret_steal<py::object>(PyUnicode_EncodeFSDefault(fspath.ptr()));
    if (!bytes)
        throw py::error_already_set();
    return FromBytes(bytes.ptr());
}

}  // namespace svy3_python

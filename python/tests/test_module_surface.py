"""The shipped type stubs describe the module as built, and the exception classes fit together."""

import ast
import pathlib

import pytest

import svy3

STUB = pathlib.Path(svy3.__file__).with_name("svy3.pyi")


def stub_names():
    """Public top-level names of the stub, and the public members of each of its classes."""
    tree = ast.parse(STUB.read_text())
    names, members = set(), {}
    for node in tree.body:
        if isinstance(node, ast.ClassDef):
            names.add(node.name)
            members[node.name] = {
                n.name if isinstance(n, ast.FunctionDef) else n.target.id
                for n in node.body if isinstance(n, (ast.FunctionDef, ast.AnnAssign))}
        elif isinstance(node, ast.FunctionDef):
            names.add(node.name)
        elif isinstance(node, ast.AnnAssign):
            names.add(node.target.id)
    public = {n for n in names if not n.startswith("_") or n == "__version__"}
    return public, {k: {m for m in v if not m.startswith("_")} for k, v in members.items()}


def test_stub_ships_beside_the_module():
    assert STUB.is_file()


def test_stub_and_module_name_the_same_things():
    public, members = stub_names()
    module = {n for n in dir(svy3) if not n.startswith("_")} | {"__version__"}
    assert public == module
    for name in public & set(members):
        cls = getattr(svy3, name)
        own = {m for m in vars(cls) if not m.startswith("_")}
        if issubclass(cls, tuple):
            own = set(cls._fields)
        elif hasattr(cls, "__members__"):  # enumerations: their members and name/value
            own -= {"name", "value"}
            members[name] -= {"name", "value"}
        assert members[name] == own, name


@pytest.mark.parametrize("cls,base", [
    (svy3.FileSystemError, OSError),
    (svy3.DocumentError, svy3.Error),
    (svy3.RefusedError, svy3.Error),
    (svy3.InterruptedBatchError, svy3.Error),
    (svy3.SvyWarning, UserWarning),
])
def test_exception_hierarchy(cls, base):
    assert issubclass(cls, base)
    assert cls.__module__ == "svy3"

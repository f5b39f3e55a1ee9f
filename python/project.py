# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

"""How sip-build and pip build the module pelidora: PyQt6's own project, told where Debian
keeps qmake6 and PyQt6's .sip files, and where libpelidora and its headers are.

The library is found through PELIDORA_PREFIX (or --pelidora-prefix, which pip passes as
--config-settings=--pelidora-prefix=DIR): a prefix it was installed into with cmake
--install, or a CMake build folder of the project. Without either, pkg-config's pelidora.pc
names it. The module keeps the library's folder as its rpath, so it loads without
LD_LIBRARY_PATH.
"""

import os
import re
import shutil
import subprocess
import sys
import sysconfig

from pyqtbuild import PyQtProject, QmakeBuilder
from sipbuild import Option, UserException

_HEADER = os.path.join("pelidora", "ucvPelidora.h")
_GENERATED = (os.path.join("pelidora", "version.h"), os.path.join("pelidora", "pelidora_export.h"))
_LIBRARY = "libpelidora.so"
_MULTIARCH = sysconfig.get_config_var("MULTIARCH")
_HOW = ("set PELIDORA_PREFIX (or pip's --config-settings=--pelidora-prefix=DIR) to the prefix of "
        "cmake --install, or to a CMake build folder of Pelidora")


def _cmake_cache_value(cache, name):
    with open(cache, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            key, _, value = line.partition("=")
            if key.split(":")[0] == name:
                return value.rstrip("\n")
    return None


def _build_tree(folder):
    """The include folders and the library's folder of a CMake build folder."""
    source = _cmake_cache_value(os.path.join(folder, "CMakeCache.txt"), "Pelidora_SOURCE_DIR")
    if not source:
        raise UserException(f"{folder} is a CMake build folder, but not one of Pelidora")
    if not os.path.isfile(os.path.join(folder, _LIBRARY)):
        raise UserException(f"{folder} holds no {_LIBRARY} yet: build it first "
                            f"(cmake --build {folder} --target pelidora)")
    return [os.path.join(source, "include"), os.path.join(folder, "include")], folder


def _prefix(prefix):
    """The include folder and the library's folder under an installed prefix."""
    libdirs = [os.path.join(prefix, d) for d in ([f"lib/{_MULTIARCH}"] if _MULTIARCH else []) + ["lib64", "lib"]]
    found = [d for d in libdirs if os.path.isfile(os.path.join(d, _LIBRARY))]
    if not found:
        raise UserException(f"no {_LIBRARY} under {prefix} (looked in {', '.join(libdirs)}); {_HOW}")
    return [os.path.join(prefix, "include")], found[0]


def _pkg_config():
    """What pelidora.pc says, or None without pkg-config or the file."""
    if not shutil.which("pkg-config"):
        return None
    try:
        flags = [subprocess.run(["pkg-config", option, "pelidora"], check=True, capture_output=True,
                                text=True, timeout=30).stdout.split()
                 for option in ("--cflags-only-I", "--variable=libdir")]
    except (subprocess.SubprocessError, OSError):
        return None
    includes = [flag[2:] for flag in flags[0] if flag.startswith("-I")]
    return (includes, flags[1][0]) if flags[1] else None


def locate_library(place, version):
    """The include folders and the library's folder of libpelidora version, from a prefix or
    build folder (place), or from pkg-config; a UserException naming what is missing or
    differs otherwise."""
    if place:
        place = os.path.abspath(os.path.expanduser(place))
        if not os.path.isdir(place):
            raise UserException(f"the library's folder {place} does not exist; {_HOW}")
        found = _build_tree(place) if os.path.isfile(os.path.join(place, "CMakeCache.txt")) else _prefix(place)
    else:
        found = _pkg_config()
        if found is None:
            raise UserException(f"libpelidora was not found (pkg-config knows no pelidora.pc); {_HOW}")
    includes, libdir = found
    for header in (_HEADER,) + _GENERATED:
        if not any(os.path.isfile(os.path.join(d, header)) for d in includes):
            raise UserException(f"the library's header {header} is in none of {', '.join(includes)}; {_HOW}")
    # The .sip files here declare this version's headers.
    header = next(os.path.join(d, _GENERATED[0]) for d in includes if os.path.isfile(os.path.join(d, _GENERATED[0])))
    with open(header, encoding="utf-8", errors="replace") as text:
        found = re.search(r'#define PELIDORA_VERSION_STRING "([^"]*)"', text.read())
    if not found or found.group(1) != version:
        raise UserException(f"{header} is of version {found.group(1) if found else '?'}, these bindings of {version}")
    return includes, libdir


class PelidoraBuilder(QmakeBuilder):
    """Installs the module and its stubs only: its .sip files and their configuration would
    make a PyQt6/bindings folder beside the module, which nothing imports from."""

    def _install(self, pro_lines, installed, installable, target_dir):
        if installable.name not in ("sip", "config"):
            super()._install(pro_lines, installed, installable, target_dir)


class PelidoraProject(PyQtProject):
    """PyQt6's project with the library's place as an option of its own."""

    def apply_nonuser_defaults(self, tool):
        if self.builder_factory is None:
            self.builder_factory = PelidoraBuilder
        super().apply_nonuser_defaults(tool)

    def get_options(self):
        options = super().get_options()
        options.append(Option("pelidora_prefix", metavar="DIR",
                              help="libpelidora is installed under the prefix DIR, or built in the "
                                   "CMake build folder DIR (default: PELIDORA_PREFIX, then pkg-config)"))
        return options

    def setup(self, pyproject, tool, tool_description):
        # pip shows a backend's traceback, not its message: say what is missing and stop.
        try:
            super().setup(pyproject, tool, tool_description)
        except UserException as error:
            text = f"{error.text}: {error.detail}" if error.detail else error.text
            sys.exit(f"pelidora: {text}")

    def apply_user_defaults(self, tool):
        # Debian names Qt 6's qmake qmake6; a plain qmake, if any, may be Qt 5's.
        if self.builder.qmake is None:
            self.builder.qmake = shutil.which("qmake6") or shutil.which("qmake")
            if self.builder.qmake is None:
                raise UserException("qmake6 was not found on PATH (Debian: qmake6); "
                                    "or give its path with --qmake (pip: --config-settings=--qmake=FILE)")
        if self.builder.jobs is None:
            self.builder.jobs = os.cpu_count()
        if self.pelidora_prefix is None:
            self.pelidora_prefix = os.environ.get("PELIDORA_PREFIX") or None
        super().apply_user_defaults(tool)

    def update(self, tool):
        # PyQt6's .sip files lie in its own package, which a venv's target folder lacks.
        try:
            import PyQt6
        except ImportError:
            raise UserException("PyQt6 cannot be imported (Debian: python3-pyqt6; a venv needs "
                                "--system-site-packages)") from None
        bindings = os.path.join(os.path.dirname(PyQt6.__file__), "bindings")
        if not os.path.isfile(os.path.join(bindings, "QtWidgets", "QtWidgetsmod.sip")):
            raise UserException(f"PyQt6's .sip files are not in {bindings} (Debian: pyqt6-dev)")
        self.sip_include_dirs.append(bindings)
        # A build that only generates the C++ (CMake's) compiles it elsewhere.
        if tool in Option.BUILD_TOOLS and self.builder.make:
            includes, libdir = locate_library(self.pelidora_prefix, self.version_str)
            for module in self.bindings.values():
                module.include_dirs.extend(includes)
                module.library_dirs.append(libdir)
                if libdir not in ("/usr/lib", f"/usr/lib/{_MULTIARCH}"):  # where the loader looks anyway
                    module.extra_link_args.append("-Wl,-rpath," + libdir)
        super().update(tool)

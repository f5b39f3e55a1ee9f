# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

# A widget plugin for PyQt6's uic (PyQt6.uic.loadUi, pyuic6), installed into its
# widget-plugins folder: a .ui file saved by Qt Designer names the box pelidora::ucvPelidora,
# which uic for C++ builds as it is and PyQt6's uic looks up as pelidora.ucvPelidora, with
# its enum values as pelidora::ucvPelidora::ThreeD, scoped as PyQt6 scopes them.

from PyQt6.uic.enum_map import EnumMap

for _member in ("Flat", "ThreeD"):
    EnumMap["pelidora::ucvPelidora::" + _member] = "ucvPelidora::AppearStyle::" + _member

pluginType = MODULE  # noqa: F821 (given by PyQt6's uic)


def moduleInformation():
    # The class as the widget element names it, and as the enum values' scope names it.
    return "pelidora", ("pelidora.ucvPelidora", "ucvPelidora")

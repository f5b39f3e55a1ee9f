// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Module bas_TopMost: keeps the About box above all other windows. A namespace of its own,
// as the shared module has a MakeTopMost with the same signature.

#include <QtGlobal>

namespace pelidora::bas_TopMost {

void MakeTopMost(qint32 hwnd);

} // namespace pelidora::bas_TopMost

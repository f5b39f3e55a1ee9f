// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "about/bas_topmost.h"

#include "shared/mpelidora.h"

namespace pelidora::bas_TopMost {

void MakeTopMost(qint32 hwnd)
{
    pelidora::MakeTopMost(hwnd);
}

} // namespace pelidora::bas_TopMost

// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Module bas_HandCursor: the hand pointer of the About box's links.

#include <QCursor>

class QLabel;

namespace pelidora {

// Cursor resource 101: a monochrome hand, 32 x 32, hot spot (8, 3) on the fingertip.
QCursor handCursor();

// The label shows the hand while the pointer is over it.
void SetHandCursor(QLabel *label);
// The label shows the pointer of the window under it again.
void SetDefaultCursor(QLabel *label);

} // namespace pelidora

// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The library's logging categories, pelidora.<area>, so that a program filters them the way
// it filters Qt's own (QT_LOGGING_RULES="pelidora.*=false" silences them all).

#include <QLoggingCategory>

namespace pelidora {

// The date box: a write Qt made that the box refused, an error raised with no host to take it.
Q_DECLARE_LOGGING_CATEGORY(lcControl)

} // namespace pelidora

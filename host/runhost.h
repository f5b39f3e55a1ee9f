// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

class QTextStream;

namespace pelidora::host {

// Exit codes of pelidora-host.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1,      // a picture or the dump could not be written, or the panel asked for did not open
    ExitBadArguments = 2, // usage printed to err
    ExitBadForm = 3,      // the form file could not be read or is malformed
};

// The whole program after QApplication is up: args without the program name. Headless
// runs (--dump, --screenshot) return when done; otherwise the form's window is shown and
// the application's event loop runs until it closes.
int runHost(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace pelidora::host

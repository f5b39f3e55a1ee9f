// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace pelidora::host {

// What the command line asks for.
struct HostOptions {
    QString formPath;
    bool design = false;
    bool dump = false;
    bool help = false;
    QString screenshotPath;       // the form (and an open panel) as a PNG
    QString windowScreenshotPath; // the whole window; for checking the host's own looks
    QString openPanel;            // name of the box whose panel opens first

    // Only prints or renders, then exits: no window is shown on the desktop.
    bool headless() const { return dump || !screenshotPath.isEmpty() || !windowScreenshotPath.isEmpty(); }
};

// args without the program name. nullopt and *error set for a command line that makes no
// sense.
std::optional<HostOptions> parseHostArguments(const QStringList &args, QString *error);

QString hostUsage();

} // namespace pelidora::host

// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <optional>

class QProcessEnvironment;

namespace pelidora::host {

// Whether Qt can start on the window system it would pick, decided from the environment
// before QApplication is built: Qt aborts the process when its platform plugin cannot
// start. headless: the run only dumps or draws, and gets the offscreen platform unless
// QT_QPA_PLATFORM names another.
struct DisplayProblem {
    int exitCode;
    QString message; // whole lines, for stderr
};
std::optional<DisplayProblem> displayProblem(bool headless, const QProcessEnvironment &env);

// While it lives, a fatal message from Qt (a platform plugin that was found but could not
// start, such as xcb with an X server that does not answer) ends the program with exit
// code 2 and a hint instead of an abort.
class PlatformStartGuard
{
public:
    PlatformStartGuard();
    ~PlatformStartGuard();
    Q_DISABLE_COPY_MOVE(PlatformStartGuard)
};

} // namespace pelidora::host

// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Reading and saving form files of many date boxes: every step must grow in proportion to
// the number of controls. Prints the median time per size and the time per control, which
// stays flat when the work is linear.

#include "boxforms.h"

#include <pelidora/formfile.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace pelidora;

namespace {

int g_rounds = 5;

double medianMillis(const std::function<void()> &fn)
{
    std::vector<double> samples;
    for (int i = 0; i < g_rounds; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        samples.push_back(t.nsecsElapsed() / 1e6);
    }
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 1)
        g_rounds = std::max(3, std::atoi(argv[1]) / 40);
    QTemporaryDir dir;
    std::printf("%-24s %8s %10s %12s %14s\n", "form file", "controls", "MB", "median ms", "us per control");
    for (const int count : {2500, 5000, 10000, 20000}) {
        const Form form = boxForm(count, 400, QSize(8, 24));
        const QString path = dir.filePath(QStringLiteral("form%1.json").arg(count));
        writeForm(path, form);
        const double megabytes = QFile(path).size() / 1e6;
        const auto row = [&](const char *what, double ms) {
            std::printf("%-24s %8d %10.1f %12.1f %14.2f\n", what, count, megabytes, ms, 1000.0 * ms / count);
        };
        row("readForm", medianMillis([&] { readForm(path); }));
        row("writeForm (re-reads)", medianMillis([&] { writeForm(path, form); }));
    }
    return 0;
}

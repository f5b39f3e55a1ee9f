// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Forms of many date boxes against forms of as many QDateEdits read from the same file, the
// first opening of a panel against the first QDateEdit popup in either order, and (under
// valgrind) the instructions of reopening a panel on a form of 200 boxes. Every sample runs
// in a fresh process, which is this program started again with --child.

#include "boxforms.h"
#include "formhost.h"

#include <pelidora/formfile.h>
#include <pelidora/platform.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define PELIDORA_HAVE_CALLGRIND 1
#endif

extern char **environ;

using namespace pelidora;

namespace {

constexpr int kColumns = 8;
constexpr QSize kCell(150, 26); // pixels per box on the generated forms

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

double millisSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// ---- Child processes: one sample each, printed on one line ----

// Reads the form, makes its controls, shows it, closes it. Prints the milliseconds of the
// three steps and the heap per control the shown form held.
int childForm(bool ours, const QString &path)
{
    const size_t heapBefore = heapInUse();
    QElapsedTimer timer;
    timer.start();
    auto window = std::make_unique<QWidget>();
    window->setProperty("windowClass", QStringLiteral("ThunderBenchForm"));
    auto *canvas = new QWidget(window.get());
    std::unique_ptr<host::FormHost> formHost;
    qsizetype count = 0;
    if (ours) {
        formHost = std::make_unique<host::FormHost>(host::FormHost::Mode::Run, canvas);
        formHost->load(path);
        count = formHost->boxes().size();
    } else {
        const Form form = readForm(path);
        canvas->setFixedSize(form.size);
        const qint32 today = daySerial(pelidora::today());
        const QDate serialZero(1899, 12, 30);
        for (const FormControl &control : form.controls) {
            auto *edit = new QDateEdit(canvas);
            edit->setCalendarPopup(true);
            edit->setObjectName(control.name);
            edit->move(control.position);
            const PropertyBag &bag = control.properties;
            edit->setDate(serialZero.addDays(bag.readLong(QStringLiteral("DateSet"), today)));
            edit->setFont(bag.readFont(QStringLiteral("Font"), StdFont(canvas->font())).font());
            edit->setReadOnly(bag.readBoolean(QStringLiteral("Locked"), false));
            edit->setEnabled(bag.readBoolean(QStringLiteral("Enabled"), true));
            edit->show();
        }
        count = form.controls.size();
    }
    const double load = millisSince(timer);
    timer.restart();
    window->resize(canvas->size());
    window->show();
    settle();
    const double show = millisSince(timer);
    const double heapPerControl =
        (double(heapInUse()) - double(heapBefore)) / double(std::max<qsizetype>(count, 1)) / 1024;
    timer.restart();
    formHost.reset();
    window.reset();
    const double close = millisSince(timer);
    std::printf("%.3f %.3f %.3f %.3f\n", load, show, close, heapPerControl);
    return 0;
}

// One date box and one QDateEdit on a shown form; opens the panel of first, then the other's,
// each for the first time in this process. Prints the microseconds of ours, then Qt's.
int childFirstOpening(bool oursFirst)
{
    QWidget form;
    form.setProperty("windowClass", QStringLiteral("ThunderBenchForm"));
    form.resize(400, 300);
    auto *box = new ucvPelidora(&form);
    box->move(10, 10);
    auto *edit = new QDateEdit(QDate(2026, 12, 6), &form);
    edit->setCalendarPopup(true);
    edit->move(10, 60);
    form.show();
    settle();

    QWidget *button = box->findChild<QWidget *>(QStringLiteral("imgCombo"));
    double ours = 0, qt = 0;
    const auto openOurs = [&] {
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        settle();
        ours = timer.nsecsElapsed() / 1e3;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        settle();
    };
    const auto openQt = [&] {
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 6, edit->height() / 2));
        settle();
        qt = timer.nsecsElapsed() / 1e3;
        if (!QApplication::activePopupWidget())
            std::fprintf(stderr, "the QDateEdit popup did not open\n");
        else
            QApplication::activePopupWidget()->close();
        settle();
    };
    if (oursFirst) {
        openOurs();
        openQt();
    } else {
        openQt();
        openOurs();
    }
    std::printf("%.1f %.1f\n", ours, qt);
    return 0;
}

// Opens and closes a panel twice; callgrind counts only what runs in here.
void reopenTwice(const std::function<void()> &open, const std::function<void()> &close)
{
#ifdef PELIDORA_HAVE_CALLGRIND
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_TOGGLE_COLLECT;
#endif
    for (int i = 0; i < 2; ++i) {
        open();
        settle();
        close();
        settle();
    }
#ifdef PELIDORA_HAVE_CALLGRIND
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_STOP_INSTRUMENTATION;
#endif
}

// A shown form of 200 controls; the first control's panel opened once, then reopened twice
// under the count.
int childReopen(bool ours)
{
    QWidget form;
    form.setProperty("windowClass", QStringLiteral("ThunderBenchForm"));
    form.resize(kColumns * kCell.width(), 25 * kCell.height());
    std::vector<QWidget *> controls;
    for (int i = 0; i < 200; ++i) {
        QWidget *control = nullptr;
        if (ours) {
            control = new ucvPelidora(&form);
        } else {
            auto *edit = new QDateEdit(QDate(2026, 12, 6), &form);
            edit->setCalendarPopup(true);
            control = edit;
        }
        control->move(kCell.width() * (i % kColumns), kCell.height() * (i / kColumns));
        controls.push_back(control);
    }
    form.show();
    settle();
    form.activateWindow();
    settle();

    std::function<void()> open, close;
    if (ours) {
        QWidget *button = controls.front()->findChild<QWidget *>(QStringLiteral("imgCombo"));
        open = [button] { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); };
        close = open; // a press on the button while open closes the panel
    } else {
        auto *edit = static_cast<QDateEdit *>(controls.front());
        open = [edit] { QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 6, edit->height() / 2)); };
        close = [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        };
    }
    open();
    settle();
    close();
    settle();
    reopenTwice(open, close);
    return 0;
}

int child(const QStringList &args)
{
    const QString mode = args.value(0);
    if (mode == QLatin1String("form"))
        return childForm(args.value(1) == QLatin1String("ours"), args.value(2));
    if (mode == QLatin1String("first"))
        return childFirstOpening(args.value(1) == QLatin1String("ours"));
    if (mode == QLatin1String("reopen"))
        return childReopen(args.value(1) == QLatin1String("ours"));
    std::fprintf(stderr, "bench_form: unknown child mode\n");
    return 2;
}

// ---- The parent: runs the samples and prints the tables ----

struct Outcome {
    bool ok = false;
    double wallMillis = 0;
    double maxRssMb = 0;
    std::vector<double> numbers; // the child's line
};

// Runs a command, its standard output read into numbers, and measures it as the kernel saw it.
Outcome run(const QStringList &command, bool quiet = false)
{
    Outcome outcome;
    QTemporaryFile out;
    if (!out.open())
        return outcome;
    std::vector<QByteArray> args;
    for (const QString &arg : command)
        args.push_back(arg.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.handle(), 1);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return outcome;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return outcome;
    outcome.wallMillis = millisSince(timer);
    outcome.maxRssMb = usage.ru_maxrss / 1024.0;
    outcome.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    out.seek(0);
    for (const QByteArray &word : out.readAll().simplified().split(' ')) {
        bool number = false;
        const double value = word.toDouble(&number);
        if (number)
            outcome.numbers.push_back(value);
    }
    return outcome;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Medians of each number a child prints, and of its wall time and peak memory, over samples.
struct Medians {
    std::vector<double> numbers;
    double wallMillis = 0;
    double maxRssMb = 0;
};

Medians sample(const QStringList &command, int samples)
{
    std::vector<std::vector<double>> columns;
    std::vector<double> wall, rss;
    for (int i = 0; i < samples; ++i) {
        // The offscreen platform's notes (no raise(), no keyboard grab) would bury the table.
        const Outcome outcome = run(command, true);
        if (!outcome.ok) {
            std::fprintf(stderr, "bench_form: %s failed\n", qPrintable(command.join(u' ')));
            continue;
        }
        columns.resize(std::max(columns.size(), outcome.numbers.size()));
        for (size_t c = 0; c < outcome.numbers.size(); ++c)
            columns[c].push_back(outcome.numbers[c]);
        wall.push_back(outcome.wallMillis);
        rss.push_back(outcome.maxRssMb);
    }
    Medians result;
    for (const auto &column : columns)
        result.numbers.push_back(median(column));
    result.wallMillis = median(wall);
    result.maxRssMb = median(rss);
    return result;
}

const char *verdict(double ratio, double budget)
{
    return ratio <= budget ? "ok" : "OVER";
}

double at(const Medians &m, size_t i)
{
    return i < m.numbers.size() ? m.numbers[i] : 0;
}

// Instructions callgrind counted in reopenTwice, or 0 without valgrind.
double reopenInstructions(const QString &self, bool ours, const QDir &dir)
{
    const QString valgrind = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
    if (valgrind.isEmpty())
        return 0;
    const QString file = dir.filePath(ours ? QStringLiteral("callgrind.ours") : QStringLiteral("callgrind.qt"));
    const Outcome outcome =
        run({valgrind, QStringLiteral("--tool=callgrind"), QStringLiteral("--instr-atstart=no"),
             QStringLiteral("--collect-atstart=no"), QStringLiteral("--callgrind-out-file=") + file, self,
             QStringLiteral("--child"), QStringLiteral("reopen"), ours ? QStringLiteral("ours") : QStringLiteral("qt")},
            true);
    QFile out(file);
    if (!outcome.ok || !out.open(QIODevice::ReadOnly))
        return 0;
    double total = 0;
    while (!out.atEnd()) {
        const QByteArray line = out.readLine();
        if (line.startsWith("totals:") || line.startsWith("summary:"))
            total = std::max(total, line.mid(line.indexOf(':') + 1).trimmed().toDouble());
    }
    return total;
}

int parent(int samples)
{
    const QString self = QCoreApplication::applicationFilePath();
    const QString hostProgram =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../host/pelidora-host"));
    QTemporaryDir dir;

    std::printf("Forms read from one file, made, shown and closed; each a fresh process, median of %d.\n", samples);
    std::printf("%6s | %10s %10s %6s | %9s %9s | %10s %10s %6s | %8s %8s %6s | %12s\n", "boxes", "ours ms", "QDateEdit",
                "ratio", "us/box", "Qt us/box", "KiB/box", "Qt KiB/box", "ratio", "peak MB", "Qt MB", "ratio",
                "host --dump");
    Medians ours1000, qt1000;
    for (const int count : {10, 100, 400, 1000}) {
        const QString path = dir.filePath(QStringLiteral("form%1.json").arg(count));
        writeForm(path, boxForm(count, kColumns, kCell));
        const Medians ours =
            sample({self, QStringLiteral("--child"), QStringLiteral("form"), QStringLiteral("ours"), path}, samples);
        const Medians qt =
            sample({self, QStringLiteral("--child"), QStringLiteral("form"), QStringLiteral("qt"), path}, samples);
        const Medians host = sample({hostProgram, path, QStringLiteral("--dump")}, std::max(1, samples / 2));
        const double oursMs = at(ours, 0) + at(ours, 1) + at(ours, 2);
        const double qtMs = at(qt, 0) + at(qt, 1) + at(qt, 2);
        std::printf("%6d | %10.1f %10.1f %5.2fx | %9.1f %9.1f | %10.1f %10.1f %5.2fx | %8.1f %8.1f %5.2fx | %9.0f ms\n",
                    count, oursMs, qtMs, oursMs / qtMs, 1000 * oursMs / count, 1000 * qtMs / count, at(ours, 3),
                    at(qt, 3), at(ours, 3) / at(qt, 3), ours.maxRssMb, qt.maxRssMb, ours.maxRssMb / qt.maxRssMb,
                    host.wallMillis);
        if (count == 1000) {
            ours1000 = ours;
            qt1000 = qt;
        }
    }
    std::printf("  1000 boxes, load / show / close: ours %.1f / %.1f / %.1f ms, QDateEdit %.1f / %.1f / %.1f ms\n",
                at(ours1000, 0), at(ours1000, 1), at(ours1000, 2), at(qt1000, 0), at(qt1000, 1), at(qt1000, 2));

    std::printf("\nFirst opening in a process (a fresh process each, median of %d)\n", std::max(5, samples));
    for (const bool oursFirst : {true, false}) {
        const Medians m = sample({self, QStringLiteral("--child"), QStringLiteral("first"),
                                  oursFirst ? QStringLiteral("ours") : QStringLiteral("qt")},
                                 std::max(5, samples));
        const double ratio = at(m, 0) / at(m, 1);
        std::printf("  %-16s panel %9.1f us, QDateEdit popup %9.1f us   %5.2fx (target 1.00x) %s\n",
                    oursFirst ? "ours first:" : "QDateEdit first:", at(m, 0), at(m, 1), ratio, verdict(ratio, 1.0));
    }

    std::printf("\nReopening twice with 200 controls on the form (callgrind)\n");
    const double reopenOurs = reopenInstructions(self, true, QDir(dir.path()));
    const double reopenQt = reopenInstructions(self, false, QDir(dir.path()));
    if (reopenOurs > 0 && reopenQt > 0) {
        std::printf("  panel %.0f instructions, QDateEdit popup %.0f   %5.2fx (target 0.50x) %s\n", reopenOurs,
                    reopenQt, reopenOurs / reopenQt, verdict(reopenOurs / reopenQt, 0.5));
    } else {
        std::printf("  not measured: valgrind is not installed (./dev bench installs it)\n");
    }

    const double formRatio =
        (at(ours1000, 0) + at(ours1000, 1) + at(ours1000, 2)) / (at(qt1000, 0) + at(qt1000, 1) + at(qt1000, 2));
    std::printf("\nTargets at 1000 boxes: time %.2fx (target 3.00x) %s; peak memory %.2fx (target < 2.00x) %s; "
                "heap per box %.2fx (target 3.00x) %s\n",
                formRatio, verdict(formRatio, 3.0), ours1000.maxRssMb / qt1000.maxRssMb,
                ours1000.maxRssMb < 2 * qt1000.maxRssMb ? "ok" : "OVER", at(ours1000, 3) / at(qt1000, 3),
                verdict(at(ours1000, 3) / at(qt1000, 3), 3.0));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) == QLatin1String("--child"))
        return child(args.mid(1));
    return parent(args.isEmpty() ? 5 : std::max(3, args.value(0).toInt() / 40));
}

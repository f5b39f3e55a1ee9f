// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Peak memory of reading form files of 16 MiB, the most a reader takes, that are refused:
// each shape is written to a file, then read by a process of its own, which reports how
// far reading raised its peak resident memory. Fails when a shape takes 10 times the file
// size or more.
//
//   formmemory [FOLDER]    FOLDER for the files (a temporary folder by default)

#include <pelidora/formfile.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qsizetype kFileBytes = 16 * 1024 * 1024;
constexpr double kBudget = 10; // times the file size

const char kHead[] = R"({"format": "pelidora-form", "version": 1, "width": 100, "height": 100, "controls": [)";

// Repeats unit (of the running number i) after head until the file would pass the limit,
// then ends with tail.
QByteArray repeated(const QByteArray &head, const std::function<QByteArray(qsizetype)> &unit, const QByteArray &tail)
{
    QByteArray text = head;
    for (qsizetype i = 0;; ++i) {
        const QByteArray next = unit(i);
        if (text.size() + next.size() + tail.size() > kFileBytes)
            break;
        text += next;
    }
    return text + tail;
}

QByteArray box(qsizetype i, const char *properties)
{
    return R"({"class": "ucvPelidora", "name": "b)" + QByteArray::number(i) + R"(", "left": 0, "top": 0)" + properties
        + "},";
}

struct Shape {
    const char *name;
    std::function<QByteArray()> text;
};

QList<Shape> shapes()
{
    const auto zeros = [](qsizetype) { return QByteArrayLiteral("0,"); };
    const auto empty = [](qsizetype) { return QByteArrayLiteral("{},"); };
    const auto strings = [](qsizetype) { return QByteArrayLiteral("\"\","); };
    const auto plainBox = [](qsizetype i) { return box(i, ""); };
    const auto fullBox = [](qsizetype i) {
        return box(i, R"(, "properties": {"BackColor": 1, "ForeColor": 2, "Enabled": false, "Locked": true,
            "Appearance": 1, "DateSet": 45000, "MousePointer": 2, "PelidoraBackColor": 3,
            "Font": {"Name": "DejaVu Sans", "Size": 9, "Bold": true, "Italic": true, "Underline": true,
            "Strikethrough": true}})");
    };
    const auto fontBox = [](qsizetype i) { return box(i, R"(, "properties": {"Font": {"Name": "", "Size": 1}})"); };
    const auto member = [](qsizetype i) -> QByteArray { return "\"k" + QByteArray::number(i) + "\": 0,"; };
    return {
        {"an unknown key holding zeros", [=] { return repeated(R"({"unknown": [)", zeros, "0]}"); }},
        {"an unknown key holding empty strings", [=] { return repeated(R"({"unknown": [)", strings, "0]}"); }},
        {"an unknown key holding one string",
         []() -> QByteArray { return R"({"unknown": ")" + QByteArray(kFileBytes - 16, 'x') + "\"}"; }},
        {"controls that are empty objects", [=] { return repeated(kHead, empty, "{}]}"); }},
        {"an object of many members in a control",
         [=] { return repeated(QByteArray(kHead) + "{", member, R"("x": 0}]})"); }},
        {"boxes, then a syntax error", [=] { return repeated(kHead, plainBox, ""); }},
        {"boxes with every property, then a syntax error", [=] { return repeated(kHead, fullBox, ""); }},
        {"boxes with a font, then a syntax error", [=] { return repeated(kHead, fontBox, ""); }},
        {"boxes, the last named as the first",
         [=] { return repeated(kHead, plainBox, box(0, "").chopped(1) + "]}"); }},
        {"nested arrays", [] { return repeated(R"({"unknown": )", [](qsizetype) { return QByteArrayLiteral("["); }, ""); }},
    };
}

// A line of /proc/self/status in bytes: VmRSS (resident now) or VmHWM (its peak).
long statusBytes(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(QByteArray(field + ':')))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLong() * 1024;
    }
    return -1;
}

// Runs in a process of its own: how far reading path raised the peak resident memory
// above what the process held before, in bytes.
long readingPeak(const char *path)
{
    static int argc = 1;
    static char name[] = "formmemory";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The peak starts again from what is resident now.
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (!reset.open(QIODevice::WriteOnly) || reset.write("5") != 1)
        return -1;
    reset.close();
    const long before = statusBytes("VmRSS");
    try {
        pelidora::readForm(QString::fromLocal8Bit(path));
        std::fprintf(stderr, "formmemory: %s was read, not refused\n", path);
        return -1;
    } catch (const pelidora::FormFileError &) {
    }
    const long peak = statusBytes("VmHWM");
    return before < 0 || peak < 0 ? -1 : peak - before;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--read") {
        const long peak = readingPeak(argv[2]);
        std::printf("%ld\n", peak);
        return peak < 0 ? 1 : 0;
    }
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    bool ok = true;
    for (const Shape &shape : shapes()) {
        const QString path = QDir(folder).filePath(QStringLiteral("shape.json"));
        const QByteArray text = shape.text();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
            std::fprintf(stderr, "formmemory: cannot write %s\n", qPrintable(path));
            return 1;
        }
        file.close();
        // A process of its own, so that each peak is the shape's alone.
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return 1;
        const pid_t child = fork();
        if (child == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            execl("/proc/self/exe", argv[0], "--read", qPrintable(path), static_cast<char *>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        char answer[64] = {};
        const ssize_t got = read(pipeEnds[0], answer, sizeof answer - 1);
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        const double peak = got > 0 ? std::atof(answer) : -1;
        const double ratio = peak / double(text.size());
        const bool within = WIFEXITED(status) && WEXITSTATUS(status) == 0 && peak >= 0 && ratio < kBudget;
        std::printf("%-48s %6.1f MiB read, peak %7.1f MiB, %5.2fx%s\n", shape.name, text.size() / 1048576.0,
                    peak / 1048576.0, ratio, within ? "" : "  FAILED");
        ok = ok && within;
    }
    return ok ? 0 : 1;
}

// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// The date box against Qt's own QDateEdit with its calendar popup, in one process,
// offscreen: making and showing a box, opening and painting its panel, paging a month, the
// memory a box takes and what an open, idle panel costs. Prints the medians and the budget
// of each.

#include <pelidora/ucvPelidora.h>

#include "panel/monthpanel.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <sys/resource.h>
#include <vector>

using namespace pelidora;

namespace {

int g_rounds = 200;

// Median over the rounds, after a few warm-up runs, of the microseconds fn reports.
double medianReported(const std::function<double()> &fn)
{
    for (int i = 0; i < 5; ++i)
        fn();
    std::vector<double> samples;
    samples.reserve(g_rounds);
    for (int i = 0; i < g_rounds; ++i)
        samples.push_back(fn());
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

// Median microseconds of fn over the rounds, after a few warm-up runs.
double medianMicros(const std::function<void()> &fn)
{
    return medianReported([&fn] {
        QElapsedTimer t;
        t.start();
        fn();
        return t.nsecsElapsed() / 1000.0;
    });
}

void flush()
{
    QCoreApplication::processEvents();
}

// Heap bytes in use.
size_t heapInUse()
{
    return mallinfo2().uordblks;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Share of one core used while the event loop idles for the given time.
double idleCorePercent(int millis)
{
    QEventLoop loop;
    QTimer::singleShot(millis, &loop, &QEventLoop::quit);
    const double before = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    loop.exec();
    return 100.0 * (cpuSeconds() - before) / (wall.nsecsElapsed() / 1e9);
}

struct Row {
    const char *what;
    double ours;
    double qt;
    double budget; // ours must stay at or under budget x qt
};

void print(const std::vector<Row> &rows, const char *unit)
{
    for (const Row &r : rows) {
        const double ratio = r.qt > 0 ? r.ours / r.qt : 0;
        std::printf("%-34s %10.1f %10.1f %s   %5.2fx  (budget %.2fx) %s\n", r.what, r.ours, r.qt, unit, ratio, r.budget,
                    ratio <= r.budget ? "ok" : "OVER");
    }
}

MonthPanel *panelOf(ucvPelidora &box)
{
    return box.findChild<MonthPanel *>();
}

QWidget *dropButton(ucvPelidora &box)
{
    return box.findChild<QWidget *>(QStringLiteral("imgCombo"));
}

// A run-mode form whose class lets the panel open modeless.
struct Form {
    QWidget widget;
    Form()
    {
        widget.setProperty("windowClass", QStringLiteral("ThunderBenchForm"));
        widget.resize(400, 300);
        widget.move(100, 100);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 1)
        g_rounds = std::max(11, std::atoi(argv[1]));

    std::printf("%-34s %10s %10s\n", "", "date box", "QDateEdit");

    // Constructing and showing one control on a shown form, up to its first paint.
    Form form;
    form.widget.show();
    if (!QTest::qWaitForWindowExposed(&form.widget))
        std::fprintf(stderr, "the form did not show; the numbers mean nothing\n");
    const auto constructAndShow = [](const std::function<QWidget *()> &make) {
        QWidget *made = nullptr;
        const double micros = medianReported([&] {
            delete made;
            flush();
            QElapsedTimer t;
            t.start();
            made = make();
            made->show();
            flush();
            return t.nsecsElapsed() / 1000.0;
        });
        delete made;
        return micros;
    };
    const double createOurs = constructAndShow([&] { return new ucvPelidora(&form.widget); });
    const double createQt = constructAndShow([&] {
        auto *edit = new QDateEdit(&form.widget);
        edit->setCalendarPopup(true);
        return edit;
    });

    // Memory of 500 live controls, per control.
    auto perControl = [&](const std::function<QWidget *()> &make) {
        std::vector<QWidget *> made;
        const size_t before = heapInUse();
        for (int i = 0; i < 500; ++i)
            made.push_back(make());
        const size_t after = heapInUse();
        for (QWidget *w : made)
            delete w;
        return (after - before) / 500.0 / 1024.0;
    };
    const double memOurs = perControl([&] { return new ucvPelidora(&form.widget); });
    const double memQt = perControl([&] {
        auto *edit = new QDateEdit(&form.widget);
        edit->setCalendarPopup(true);
        return edit;
    });

    // Opening (and painting) an already built panel, then closing it.
    auto *box = new ucvPelidora(&form.widget);
    box->move(10, 10);
    box->show();
    flush();
    QWidget *button = dropButton(*box);
    auto toggle = [&] {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        flush();
    };
    toggle(); // builds the panel on first use
    MonthPanel *panel = panelOf(*box);
    toggle();
    const double openOurs = medianMicros([&] {
        toggle();
        toggle();
    });

    auto *edit = new QDateEdit(QDate(2026, 12, 6), &form.widget);
    edit->setCalendarPopup(true);
    edit->move(10, 60);
    edit->show();
    flush();
    const QPoint arrow(edit->width() - 6, edit->height() / 2);
    auto showPopup = [&] { QTest::mouseClick(edit, Qt::LeftButton, {}, arrow); };
    auto popupToggle = [&] {
        showPopup();
        flush();
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        flush();
    };
    const double openQt = medianMicros(popupToggle);

    // Paging one month in an open panel.
    toggle();
    const double pageOurs = panel ? medianMicros([&] {
        QTest::keyClick(panel->lblDay(), Qt::Key_PageDown);
        flush();
    })
                                  : 0;
    const double idleOpen = idleCorePercent(3000);
    toggle();
    const double idleClosed = idleCorePercent(3000);

    showPopup();
    flush();
    if (!QApplication::activePopupWidget())
        std::fprintf(stderr, "the QDateEdit popup did not open; its numbers mean nothing\n");
    QCalendarWidget *calendar = edit->calendarWidget();
    const double pageQt = medianMicros([&] {
        calendar->showNextMonth();
        flush();
    });
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();

    // The same with a rule that rules every other day out: asked once per shown day.
    long asked = 0;
    box->setAvailabilityRule([&asked](const QDate &date) {
        ++asked;
        return date.toJulianDay() % 2 == 0;
    });
    const double openRuled = medianMicros([&] {
        toggle();
        toggle();
    });
    toggle();
    asked = 0;
    const double pageRuled = panel ? medianMicros([&] {
        QTest::keyClick(panel->lblDay(), Qt::Key_PageDown);
        flush();
    })
                                   : 0;
    const long askedPerPage = asked / (g_rounds + 5);
    toggle();

    print({{"construct + show a control", createOurs, createQt, 2.0},
           {"open + paint + close the panel", openOurs, openQt, 0.5},
           {"page one month (+ paint)", pageOurs, pageQt, 0.5},
           {"open + paint + close, a rule", openRuled, openQt, 0.5},
           {"page one month, a rule", pageRuled, pageQt, 0.5}},
          "us");
    std::printf("%-34s %10ld days asked per page (at most 31) %s\n", "the rule", askedPerPage,
                askedPerPage <= 31 ? "ok" : "OVER");
    print({{"heap per live control", memOurs, memQt, 3.0}}, "KiB");
    std::printf("%-34s %10.2f %% of a core (closed: %.2f %%, budget 0.5 %%) %s\n", "open, idle panel", idleOpen,
                idleClosed, idleOpen <= 0.5 ? "ok" : "OVER");
    return 0;
}

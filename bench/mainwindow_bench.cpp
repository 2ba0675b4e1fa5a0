// One move of the window by a week, the way the Week buttons do it: the note being typed is stored,
// the document moves, and the grid refills every cell from a store of realistic notes; with and
// without the repaint.
#include "bench/bench_data.h"
#include "core/clock.h"
#include "core/text_file.h"
#include "core/ui/desktop.h"
#include "core/ui/notifier.h"
#include "core/ui/services.h"
#include "mainwindow/ui/t_form1.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct GridFixture {
    explicit GridFixture(int editors)
        : clock(
            orvane::Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(9) }) {
        const auto data = std::filesystem::path(dir.path().toStdString()) / "csystem";
        std::filesystem::create_directories(data);
        orvane::bench::WriteBenchFile(data / "pref.ovd",
            "01100001010\r\nSUN\r\nMON\r\nTUE\r\nWED\r\nTHU\r\nFRI\r\nSAT\r\nJan\r\nFeb\r\nMar\r\n"
            "Apr\r\nMay\r\nJun\r\nJul\r\nAug\r\nSep\r\nOct\r\nNov\r\nDec\r\ncsystem\r\n00.00\r\n"
            "00.00\r\n0\r\nVerdana\r\n");
        orvane::bench::WriteBenchFile(
            data / "cdat.ovd", orvane::FormatDayFile(orvane::bench::RealisticStore()));
        orvane::StartupOptions options;
        options.program_dir = dir.path();
        options.data_dir = data;
        options.application_title = QStringLiteral("OrvaneBench");
        form = std::make_unique<orvane::TForm1>(
            options, orvane::Services { notifier, clock, desktop });
        form->FormCreate();
        form->show();
        // Cells that were edited once have an editor the fill refreshes too; 35 is the worst case.
        for (int cell = 1; cell <= editors; ++cell)
            form->note(cell);
        QApplication::processEvents();
    }
    QTemporaryDir dir;
    orvane::RecordingNotifier notifier;
    orvane::RecordingDesktop desktop;
    orvane::FixedClock clock;
    std::unique_ptr<orvane::TForm1> form;
};

// Refills that move a week each time, so every cell gets new text as in real use; the argument
// is how many cells have their editor.
void Refill(benchmark::State& state, bool repaint) {
    GridFixture fixture(static_cast<int>(state.range(0)));
    bool down = true;
    for (auto _ : state) {
        if (down)
            fixture.form->Dn1Click();
        else
            fixture.form->Up1Click();
        down = !down;
        if (repaint)
            fixture.form->repaint();
    }
}

void BM_FillOutCalendar(benchmark::State& state) {
    Refill(state, false);
}
BENCHMARK(BM_FillOutCalendar)->Arg(1)->Arg(35)->Unit(benchmark::kMillisecond);

void BM_FillOutCalendarAndRepaint(benchmark::State& state) {
    Refill(state, true);
}
BENCHMARK(BM_FillOutCalendarAndRepaint)->Arg(1)->Arg(35)->Unit(benchmark::kMillisecond);

} // namespace

// Speed of the preview the entry and delete dialogs show while a field changes: the plan over the
// whole window for each rule kind with what it will do to a realistic store, and the panel's
// refresh (the plan, the panel's texts and the calendar painted offscreen into an image).
#include "bench/bench_data.h"
#include "recurring/delete_entry.h"
#include "recurring/preview.h"
#include "recurring/recurring_record.h"
#include "recurring/scheduling.h"
#include "recurring/ui/preview_panel.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

enum PlanKind { kDaily, kWeekly, kMonthly, kYearly, kDelete };

using bench::kFirstSunday;

std::string TwoHundredRecords() {
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        const std::string text = i % 2 ? "Gym" : "Rent " + std::to_string(i);
        bytes += MonthlyRecordLine(DayField(1 + i % 28), text) + std::string(kRecordEnd);
    }
    return bytes;
}

// The preview of one rule kind over the whole window, from its first day (or the day after, with
// `shift` 1) to its last shown day.
PlanPreview Preview(PlanKind kind, const DayStore& store, const std::string& records, int shift) {
    const Date from = AddDays(kFirstSunday, shift);
    const Date last = *ParseDateKey(store[kLastShownSlot]);
    std::optional<EntryPlan> plan;
    switch (kind) {
    case kDaily:
        plan = PlanDaily(store, from, last, 1, "Walk the dog");
        break;
    case kWeekly:
        plan = PlanWeekly(store, from, last, 0, false, "Choir");
        break;
    case kMonthly:
        plan = PlanMonthly(store, from, last, false, "Rent");
        break;
    case kYearly:
        plan = PlanYearly(store, from, "Birthday");
        break;
    case kDelete:
        return PreviewDeletePlan(
            store, PlanDelete(store, 1 + shift, kLastShownSlot, "Gym", true, records));
    }
    return PreviewEntryPlan(store, *plan, true);
}

void SetLabel(benchmark::State& bench) {
    static const char* const kNames[] = { "daily", "weekly", "monthly", "yearly", "delete" };
    bench.SetLabel(kNames[bench.range(0)]);
}

// The plan and its preview texts, as the dialog computes them after each change of a field.
void BM_PreviewPlanOverTheWholeWindow(benchmark::State& bench) {
    const DayStore store = bench::RealisticStore();
    const std::string records = TwoHundredRecords();
    const auto kind = static_cast<PlanKind>(bench.range(0));
    for (auto _ : bench) {
        PlanPreview preview = Preview(kind, store, records, 0);
        benchmark::DoNotOptimize(preview);
    }
    SetLabel(bench);
}
BENCHMARK(BM_PreviewPlanOverTheWholeWindow)
    ->DenseRange(kDaily, kDelete)
    ->Unit(benchmark::kMicrosecond);

// The refresh a change of a field causes: the plan, the panel's texts, and the whole panel painted.
// From alternates between two days, so that every refresh shows a different plan.
void BM_PreviewPanelRefresh(benchmark::State& bench) {
    const DayStore store = bench::RealisticStore();
    const std::string records = TwoHundredRecords();
    const auto kind = static_cast<PlanKind>(bench.range(0));
    PreviewPanel panel;
    panel.resize(PreviewPanel::kWidth, PreviewPanel::kHeight);
    QImage image(panel.size(), QImage::Format_ARGB32_Premultiplied);
    int shift = 0;
    for (auto _ : bench) {
        const PlanPreview preview = Preview(kind, store, records, shift);
        shift = 1 - shift;
        panel.Show(store, preview, kind == kDelete);
        panel.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    SetLabel(bench);
}
BENCHMARK(BM_PreviewPanelRefresh)->DenseRange(kDaily, kDelete)->Unit(benchmark::kMillisecond);

} // namespace

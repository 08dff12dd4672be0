// Speed of the arithmetic: single entries, and whole sheets of a million lines.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "core/sheet_sum.h"
#include "core/time_entry.h"
#include "platform/text.h"

namespace {

// A track list as people paste it: m:ss, h:mm:ss, grouped seconds, words around numbers.
std::string MakeMixedLine(std::mt19937& rng) {
  std::uniform_int_distribution<int> kind(0, 5), minutes(0, 59), seconds(0, 59), big(1000, 999999);
  char buf[96];
  switch (kind(rng)) {
    case 0:
      std::snprintf(buf, sizeof buf, "%d:%02d", minutes(rng) % 12, seconds(rng));
      break;
    case 1:
      std::snprintf(buf, sizeof buf, "1:%02d:%02d", minutes(rng), seconds(rng));
      break;
    case 2: {
      const int v = big(rng);
      std::snprintf(buf, sizeof buf, "%d,%03d", v / 1000, v % 1000);
      break;
    }
    case 3:
      std::snprintf(buf, sizeof buf, "Track title %d.%02d", minutes(rng) % 9, seconds(rng));
      break;
    case 4:
      std::snprintf(buf, sizeof buf, "%d:%02d  (live version)", minutes(rng) % 9, seconds(rng));
      break;
    default:
      std::snprintf(buf, sizeof buf, "%d", seconds(rng) * 7);
      break;
  }
  return buf;
}

std::string MakeSheetText(std::size_t lines) {
  std::mt19937 rng(42);
  std::string text;
  for (std::size_t i = 0; i < lines; ++i) {
    text += MakeMixedLine(rng);
    text += '\n';
  }
  return text;
}

void BM_ParseTimeEntry(benchmark::State& state) {
  const std::vector<std::string> entries = {"3:45",  "1:02:03", "12,345", "Track title 4.05",
                                            "-1:30", "90"};
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (const auto& entry : entries) {
      benchmark::DoNotOptimize(talvor::ParseTimeEntry(entry));
      bytes += entry.size();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(entries.size()));
}
BENCHMARK(BM_ParseTimeEntry);

void BM_SumSheetMillionLines(benchmark::State& state) {
  const std::string text = MakeSheetText(1'000'000);
  for (auto _ : state) benchmark::DoNotOptimize(talvor::SumSheetText(text));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.counters["lines"] = 1'000'000;
}
BENCHMARK(BM_SumSheetMillionLines)->Unit(benchmark::kMillisecond);

void BM_Utf8ToCp932MillionLines(benchmark::State& state) {
  std::string text = MakeSheetText(1'000'000);
  text += "表 3:45 日本語の曲名\n";
  std::string out;
  for (auto _ : state) {
    out.clear();
    talvor::platform::AppendUtf8AsCp932(text, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToCp932MillionLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

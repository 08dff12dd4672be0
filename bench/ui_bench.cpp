// Speed of the windows' commands on large sheets, on the real forms
// (offscreen): the Add command, Enter on the last line, the split's fill and
// one drop. Also prints the time to the first shown window and the peak
// resident memory.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "platform/testing.h"
#include "ui/main/main.h"
#include "ui/split/timesep.h"

namespace {

using namespace talvor::platform;
using namespace talvor::ui;

std::string MakeSheet(int lines) {
  std::string sheet;
  for (int i = 0; i < lines; ++i) {
    switch (i % 4) {
      case 0:
        sheet += std::to_string(i % 9) + ":" + std::to_string(10 + i % 50);
        break;
      case 1:
        sheet += "Track " + std::to_string(i % 97) + " 1:02:03";
        break;
      case 2:
        sheet += std::to_string(1000 + i % 5000) + ",000";
        break;
      default:
        sheet += "intro 45 (live)";
        break;
    }
    if (i + 1 < lines) sheet += '\n';
  }
  return sheet;
}

void BM_AddCommand(benchmark::State& state) {
  frmMain->Memo1->SetText(MakeSheet(static_cast<int>(state.range(0))));
  for (auto _ : state) frmMain->btnCalcClick(frmMain->btnCalc);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddCommand)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_AddCommandOneLongLine(benchmark::State& state) {
  frmMain->Memo1->SetText(std::string(10'000'000, 'x') + " 3:45");
  for (auto _ : state) frmMain->btnCalcClick(frmMain->btnCalc);
}
BENCHMARK(BM_AddCommandOneLongLine)->Unit(benchmark::kMillisecond);

void BM_EnterOnLastLine(benchmark::State& state) {
  const std::string sheet = MakeSheet(100'000);
  frmMain->Memo1->SetText(sheet);
  for (auto _ : state) {
    state.PauseTiming();
    frmMain->Memo1->SetText(sheet);
    const int end = frmMain->Memo1->TextLength();
    frmMain->Memo1->SetSel(end - 2, end - 2);
    state.ResumeTiming();
    testing::KeyPress(frmMain->Memo1, VK_RETURN);
  }
}
BENCHMARK(BM_EnterOnLastLine)->Unit(benchmark::kMillisecond);

void BM_SplitFill(benchmark::State& state) {
  frmMain->Memo1->SetText(MakeSheet(10'000));
  std::unique_ptr<TfrmTCalc> dialog(new TfrmTCalc(Application));
  frmTCalc = dialog.get();
  for (auto _ : state) dialog->btnResetClick(dialog->btnReset);
  frmTCalc = nullptr;
}
BENCHMARK(BM_SplitFill)->Unit(benchmark::kMillisecond);

void BM_SplitDrop(benchmark::State& state) {
  frmMain->Memo1->SetText(MakeSheet(10'000));
  std::unique_ptr<TfrmTCalc> dialog(new TfrmTCalc(Application));
  frmTCalc = dialog.get();
  dialog->btnResetClick(dialog->btnReset);
  for (auto _ : state) {
    // Each drop moves the selected entry of Side A to the end of Side B;
    // both sides are recomputed in full.
    dialog->ListBox1->SetItemIndex(0);
    dialog->ListBox2DragDrop(dialog->ListBox2, dialog->ListBox1, 5, 1000);
  }
  frmTCalc = nullptr;
}
BENCHMARK(BM_SplitDrop)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  auto application = testing::CreateTestApplication();
  Application->SetTitle("TALVOR");
  Application->CreateForm(frmMain);
  frmMain->Show();
  testing::ProcessEvents();
  const double startupMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("start-up to the first shown window: %.1f ms\n", startupMs);
#ifndef _WIN32
  rusage started{};
  getrusage(RUSAGE_SELF, &started);
  std::printf("peak resident memory once shown: %.1f MB\n",
              static_cast<double>(started.ru_maxrss) / 1024.0);
#endif

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

#ifndef _WIN32
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak resident memory after the large sheets: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
#endif
  delete frmMain;
  return 0;
}

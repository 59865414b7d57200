// Reports over the whole record list through the real presenters: the list
// filled by the main window, every record looked up, the report written to
// tr_view.tmp and the preview text built at the default preview limit.
#include <benchmark/benchmark.h>

#include <string>

#include "benchmarks.h"
#include "mainwin/main_window.h"
#include "null_platform.h"
#include "present/record_list.h"
#include "reports/print_preview.h"
#include "store/settings_record.h"

namespace tabrel::bench {
namespace {

// Says Yes, so the HTML report lists records without a web address too.
class YesDialogs : public NullDialogs {
 public:
  MessageAnswer Show(const Message&) override { return MessageAnswer::kYes; }
};

using ReportClick = void (PrintPreview::*)(Grid&);

void RunReport(benchmark::State& state, BenchDataSet& data, ReportClick click) {
  if (!ReadyFor(state, data)) return;
  AppState app(data.folder());
  app.data_path = data.folder();
  app.settings = DefaultSettings();
  NullMainView main_view;
  NullPlatform services;
  MainWindow window(app, main_view, services.platform);
  std::string all(kAllRecords);
  window.PopMainGrid(all);
  if (window.MainGrid().Rows() - 1 != data.count()) {
    state.SkipWithError("the record list does not hold every record");
    return;
  }

  YesDialogs dialogs;
  Platform platform{dialogs,          services.help,      services.clock, services.files,
                    services.printer, services.clipboard, services.shell, services.serial};
  NullPreviewView view;
  NullMenuSwitch menus;
  PrintPreview preview(app, view, menus, platform);
  for (auto _ : state) {
    (preview.*click)(window.MainGrid());
    benchmark::DoNotOptimize(view.text_size);
    preview.CancelPrint_Click();
  }
  state.SetItemsProcessed(state.iterations() * data.count());
}

void Register(const char* name, BenchDataSet& data, ReportClick click) {
  benchmark::RegisterBenchmark(
      name, [&data, click](benchmark::State& state) { RunReport(state, data, click); })
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

void RegisterReportBenchmarks(BenchDataSet& data) {
  Register("BM_SimplePhoneList", data, &PrintPreview::mu_SimplePhoneList_Click);
  Register("BM_CompletePhoneList", data, &PrintPreview::mu_PrintPhoneList_Click);
  Register("BM_CompleteRecordsText", data, &PrintPreview::mu_PrintCompleteRecords_Click);
  Register("BM_CompleteRecordsHtml", data, &PrintPreview::mu_PrintComplete_HTML_Click);
  Register("BM_AddressLabels", data, &PrintPreview::mu_printMailingAddresses_Click);
}

}  // namespace tabrel::bench

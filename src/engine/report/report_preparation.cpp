// Preparing a report: one or two passes of the band engine over the form pages, the progress
// display and the error collected from bands and objects.
#include <memory>
#include <string>

#include "engine/locale/locale_strings.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"
#include "engine/run/interpreter.h"
#include "platform/errors.h"

namespace zr {

namespace {

// Restores a value when the scope ends, also when preparation raises.
template <typename T>
struct Restorer {
  T& ref;
  T saved;
  explicit Restorer(T& r) : ref(r), saved(r) {}
  ~Restorer() { ref = saved; }
};

}  // namespace

TvtComponentContainer& TvtReport::OwnerContainer() {
  if (!Components.Owner()) Components.SetOwner(&Components.AddContainer("Owner"));
  return *Components.Owner();
}

bool TvtReport::SecondPass() const {
  return TwoPass && FinalPass;
}

bool TvtReport::PrepareReport() {
  TvtGlobals& g = TvtGlobals::Get();
  Restorer<EngineMode> mode(g.mode);
  g.mode = EngineMode::Run;
  SelectNamedPrinter();
  g.Building = true;
  const double now = g.clock.now();
  g.ReportDate = static_cast<double>(static_cast<int64_t>(now));
  g.ReportTime = now - g.ReportDate;
  ReadyForRun();
  g.CurPage = nullptr;
  g.CurBand = nullptr;
  g.CurReport = this;
  g.MasterReport = this;
  const bool was_two_pass = TwoPass;

  DialogCancelled = false;
  g.ErrorFlag = false;
  g.ErrorMessage.clear();
  BeginDocument();
  bool result = true;
  {
    TvtBandEngine engine(*this, Components);
    Engine = &engine;
    try {
      RunPasses();
    } catch (const std::exception& e) {
      PrepareError(e);
    }
    Engine = nullptr;
  }
  EndDocument();
  TwoPass = was_two_pass;

  FinalPass = false;
  if (DialogCancelled) result = false;
  if (Terminated && ShowProgress && !OnProgress) result = false;
  if (g.ErrorFlag) {
    g.ui.show_message(g.ErrorMessage, LoadStr(kStrErrorCaption), MB_ICONERROR);
    EMFPages.Clear();
  } else if (DialogCancelled) {
    EMFPages.Clear();
  }
  g.FirstPass = false;
  g.CurBand = nullptr;
  g.CurView = nullptr;
  g.CurPage = nullptr;  // the pages of the run were replaced by the reloaded form
  g.Building = false;
  return result;
}

std::string TvtReport::PreparingCaption() const {
  const std::string text = LoadStr(kStrPreparingReport);
  return Title.empty() ? text : text + " - " + Title;
}

void TvtReport::RestoreForm(const std::string& form) {
  ByteReader reader(std::string_view(form), "<form>");
  LoadFromStream(reader);
}

void TvtReport::ReadyForRun() {
  Pages.ApplyBandAlignments();
  Dictionary.SetResolver(&DataResolver);
  OwnerContainer();
}

void TvtReport::BeginDocument() {
  saved_form_ = ByteWriter();
  SaveToStream(saved_form_);
  if (OnBeginDoc) OnBeginDoc();
}

void TvtReport::EndDocument() {
  if (OnEndDoc) OnEndDoc();
  RestoreForm(saved_form_.take());
}

void TvtReport::RunPasses() {
  TvtGlobals& g = TvtGlobals::Get();
  Terminated = false;
  ErrorText.clear();
  g.FirstPass = false;
  FinalPass = true;
  g.CurPageNo = 0;
  Engine->ClearAppend();
  EMFPages.Clear();
  ProgressCaption = PreparingCaption();
  const bool window = ShowProgress && !OnProgress;
  if (TwoPass) {
    g.FirstPass = true;
    FinalPass = false;
    ProgressStage = LoadStr(kStrFirstPass);
    if (window) g.ui.show_progress_window(ProgressCaption, ProgressStage + "  1");
    BuildReport();
    g.TotalPages = EMFPages.Count();
    if (Terminated) {
      EMFPages.Clear();
      if (window) g.ui.hide_progress_window();
      return;
    }
    g.FirstPass = false;
    FinalPass = true;
    g.CurPageNo = 0;
    // The first pass may end continuing its last page; the second starts on a new one.
    Engine->ClearAppend();
    EMFPages.Clear();
  } else {
    g.TotalPages = 0;
  }
  ProgressStage = LoadStr(kStrProcessingPage);
  if (window) g.ui.show_progress_window(ProgressCaption, ProgressStage + "  1");
  BuildReport();
  if (window) g.ui.hide_progress_window();
  if (!Terminated && !DialogCancelled && InterleavePages && Pages.Count() > 1)
    InterleavePreparedPages();
}

bool TvtReport::RunDialogPages() {
  TvtGlobals& g = TvtGlobals::Get();
  for (auto& page : Pages.pages()) {
    if (page->PageType != 1) continue;
    g.CurPage = page.get();
    Engine->modal_result = 0;
    try {
      g.RunScript(page->Script);
    } catch (const std::exception& e) {
      PrepareError(e);
      return false;
    }
    if (page->Visible && Engine->modal_result == 2) {
      DialogCancelled = true;
      return false;
    }
  }
  return true;
}

void TvtReport::InterleavePreparedPages() {
  const int k = Pages.Count();
  const int n = EMFPages.Count() / k;
  for (int e = 1; e < k; ++e) {
    try {
      for (int i = 0; i < n; ++i) EMFPages.Move(n * e + i, e + i * (e + 1));
    } catch (const ZorelError&) {
      continue;  // this form page's pages ran out
    }
  }
}

bool TvtReport::ChangePrinter(int old_index, int new_index) {
  TvtGlobals& g = TvtGlobals::Get();
  auto select = [&](int index) {
    g.printer.SetPrinterIndex(index);
    PrinterName = g.printer.printers().at(static_cast<size_t>(index));
    for (auto& page : Pages.pages())
      page->SetPaper(page->PageSize, page->PageWidth, page->PageHeight, page->Orientation,
                     page->Bin);
  };
  try {
    select(new_index);
    return true;
  } catch (const ZorelError&) {
    g.ui.show_message(LoadStr(kStrInvalidPrinter), LoadStr(kStrErrorCaption), MB_ICONERROR);
  }
  try {
    select(old_index);
  } catch (const ZorelError&) {
    // The printer in use is gone too: the report keeps what the printer layer holds.
  }
  return false;
}

void TvtReport::SelectNamedPrinter() {
  TvtGlobals& g = TvtGlobals::Get();
  if (PrintToDefault || PrinterName.empty()) return;
  const int index = g.printer.IndexOfPrinter(PrinterName);
  if (index >= 0 && index != g.printer.printer_index())
    ChangePrinter(g.printer.printer_index(), index);
}

void TvtReport::BuildReport() {
  TvtGlobals& g = TvtGlobals::Get();
  TvtBandEngine& engine = *Engine;
  PreparedHere = true;
  g.Building = true;
  g.CurReport = this;
  Dictionary.ClearCache();
  g.ErrorFlag = false;
  const bool multiple = ReportType == rtMultiple && Dataset;
  if (multiple) {
    Dataset->StartIteration();
    Dataset->First();
  }
  // Grids expand before every pass; the second pass forms its pages from the bands the first
  // pass prepared, so its additions stay unused until the saved form comes back.
  ExpandGrids();
  if (!SecondPass()) {
    for (auto& page : Pages.pages()) page->IsSubReportPage = false;
    DialogCancelled = false;
    if (OnBeforeBuild) OnBeforeBuild();
    for (auto& page : Pages.pages())
      if (page->PageType == 0) engine.PreparePage(*page);
    for (auto& page : Pages.pages()) {
      if (page->PageType != 0) continue;
      engine.BindFields(*page);
      engine.CollectAggregates(*page);
      if (Terminated) break;
    }
  }
  if (!SecondPass() && !RunDialogPages()) {
    for (auto& page : Pages.pages()) engine.FinishPage(*page);
    if (multiple) Dataset->EndIteration();
    return;
  }
  do {
    FormLoop();
    if (multiple && !Terminated) Dataset->Next();
  } while (multiple && !Terminated && !Dataset->Eof());
  for (auto& page : Pages.pages()) engine.FinishPage(*page);
  if (multiple) Dataset->EndIteration();
}

void TvtReport::ExpandGrids() {
  std::vector<TvtView*> views;
  for (auto& page : Pages.pages())
    for (auto& view : page->Objects) views.push_back(view.get());
  for (TvtView* view : views) view->ExpandGrid(*this);
}

void TvtReport::FormLoop() {
  TvtGlobals& g = TvtGlobals::Get();
  TvtBandEngine& engine = *Engine;
  const bool multiple = ReportType == rtMultiple && Dataset;
  ReportProgress(g.CurPageNo + 1);
  const int count = Pages.Count();
  for (int i = 0; i < count && !Terminated; ++i) {
    TvtPage& page = Pages.Items(i);
    g.CurPage = &page;
    if (!page.Visible) {
      g.RunScript(page.Script);
      continue;
    }
    if (page.PageType != 0 || page.IsSubReportPage) continue;
    engine.FormPage(page);
    const bool last = i + 1 == count;
    const bool next_member_continues = last && ContinueToNext && (!multiple || Dataset->Eof());
    const bool next_appends = !last && Pages.Items(i + 1).PrintToPrevPage;
    if (next_member_continues || next_appends) {
      --g.CurPageNo;
      engine.append = true;
    } else {
      // Decided anew after every form page: one that continued does not make the next do so.
      engine.append = false;
      g.CurPageNo = OutputPages().Count();
      ReportProgress(g.CurPageNo);
    }
  }
  ReportProgress(g.CurPageNo);
}

void TvtReport::ReportProgress(int n) {
  TvtGlobals& g = TvtGlobals::Get();
  if (g.MasterReport && g.MasterReport != this) return g.MasterReport->ReportProgress(n);
  if (OnProgress) {
    OnProgress(n);
  } else if (ShowProgress) {
    std::string label = ProgressStage + "  " + std::to_string(n);
    if (SecondPass() || ExportFilter)
      label += " " + LoadStr(kStrFrom) + " " + std::to_string(g.TotalPages);
    g.ui.show_progress_window(ProgressCaption, label);
  }
  CheckProgressCancel();
}

bool TvtReport::CheckProgressCancel() {
  TvtGlobals& g = TvtGlobals::Get();
  TvtReport& master = g.MasterReport ? *g.MasterReport : *this;
  if (!master.ShowProgress || master.OnProgress || !g.ui.progress_cancelled()) return false;
  master.Terminated = true;
  Terminated = true;
  return true;
}

void TvtReport::PrepareError(const std::exception& error) {
  TvtGlobals& g = TvtGlobals::Get();
  if (dynamic_cast<const ScriptStoppedError*>(&error)) {
    (g.MasterReport ? g.MasterReport : this)->Terminated = true;
    Terminated = true;
    return;
  }
  g.ErrorFlag = true;
  std::string message = LoadStr(kStrCalcError);
  if (g.CurView)
    for (const std::string& line : g.CurView->Memo) message += "\r" + line;
  message += "\r\r" + LoadStr(kStrReportLabel) + " " + Name + "\r";
  if (g.CurView) message += LoadStr(kStrObjectLabel) + " " + g.CurView->Name + "\r";
  message += "\r" + std::string(error.what());
  g.ErrorMessage = message;
  (g.MasterReport ? g.MasterReport : this)->Terminated = true;
  Terminated = true;
}

}  // namespace zr

// Preparing several reports as one document.
#include "engine/report/composite_report.h"

#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"
#include "engine/run/report_dataset.h"

namespace zr {

namespace {

template <typename Paper>
bool same_paper(const Paper& a, const TvtPage& b) {
  return a.Orientation == b.Orientation && a.PageSize == b.PageSize && a.PageWidth == b.PageWidth &&
         a.PageHeight == b.PageHeight;
}

}  // namespace

TvtCompositeReport::TvtCompositeReport(std::string name) : TvtReport(std::move(name)) {}

void TvtCompositeReport::BeginDocument() {
  TvtReport::BeginDocument();
  for (TvtReport* member : Reports) {
    member->ReadyForRun();
    member->BeginDocument();
  }
}

void TvtCompositeReport::EndDocument() {
  for (TvtReport* member : Reports) member->EndDocument();
  TvtReport::EndDocument();
}

bool TvtCompositeReport::NextContinues(const TvtReport& member, const TvtReport& next) {
  if (next.Pages.Count() == 0) return false;
  const TvtPage& first = next.Pages.Items(0);
  if (!first.PrintToPrevPage) return false;
  if (EMFPages.Count() > 0) return same_paper(EMFPages.PageInfo(EMFPages.Count() - 1), first);
  if (member.Pages.Count() == 0) return false;
  return same_paper(member.Pages.Items(member.Pages.Count() - 1), first);
}

void TvtCompositeReport::BuildMember(TvtReport& member, bool continue_next) {
  TvtGlobals& g = TvtGlobals::Get();
  // The member builds as a one-pass report each time: its bands are made anew for every
  // build, while the composite's passes decide what is written (FirstPass) and FINALPASS.
  const bool two_pass = member.TwoPass;
  member.TwoPass = false;
  member.FinalPass = FinalPass;
  member.Terminated = false;
  member.ContinueToNext = continue_next;
  member.OutputTarget = &EMFPages;
  {
    TvtBandEngine engine(member, member.Components);
    engine.append = append_.append;
    engine.saved_y = append_.saved_y;
    engine.saved_bottom = append_.saved_bottom;
    engine.footer_owed = append_.footer_owed;
    member.Engine = &engine;
    try {
      member.BuildReport();
    } catch (const std::exception& e) {
      member.PrepareError(e);
    }
    member.Engine = nullptr;
    append_ = {continue_next && engine.append, engine.saved_y, engine.saved_bottom,
               engine.footer_owed};
  }
  member.OutputTarget = nullptr;
  member.ContinueToNext = false;
  member.TwoPass = two_pass;
  if (member.Terminated) Terminated = true;
  if (member.DialogCancelled) DialogCancelled = true;
  g.CurReport = this;
  if (Engine) Engine->Activate();
}

void TvtCompositeReport::BuildReport() {
  TvtGlobals& g = TvtGlobals::Get();
  PreparedHere = true;
  g.CurPageNo = 0;
  append_ = {};
  if (Dataset) {
    Dataset->StartIteration();
    Dataset->First();
  }
  do {
    for (size_t i = 0; i < Reports.size() && !Terminated && !DialogCancelled; ++i) {
      TvtReport& member = *Reports[i];
      ByteWriter saved;
      if (Dataset) member.SaveToStream(saved);
      const bool continue_next = i + 1 < Reports.size() && NextContinues(member, *Reports[i + 1]);
      BuildMember(member, continue_next);
      if (Dataset) {
        member.RestoreForm(saved.take());
        member.ReadyForRun();
      }
    }
    if (Dataset && !Terminated) Dataset->Next();
  } while (Dataset && !Terminated && !DialogCancelled && !Dataset->Eof());
  if (Dataset) Dataset->EndIteration();
}

}  // namespace zr

#include "output/preview/preview_search.h"

#include "engine/model/prepared_pages.h"
#include "output/preview/preview_model.h"
#include "platform/codepage.h"
#include "platform/metafile/metafile_recorder.h"
#include "platform/rounding.h"

namespace zr {

namespace {

// Restores painting when the search ends, also by an exception (a damaged page stream).
class PaintingSuspended {
 public:
  explicit PaintingSuspended(bool& ready) : ready_(ready) { ready_ = false; }
  ~PaintingSuspended() { ready_ = true; }
  PaintingSuspended(const PaintingSuspended&) = delete;
  PaintingSuspended& operator=(const PaintingSuspended&) = delete;

 private:
  bool& ready_;
};

}  // namespace

void TvtPreviewSearch::Accept(const TvtPreviewModel& model, const std::string& text,
                              bool case_sensitive, bool from_first_page) {
  SearchCaseSensitive = case_sensitive;
  SearchText = case_sensitive ? text : ansi_upper(text);
  if (from_first_page) {
    SearchPage = 0;
    SearchRecord = 0;
  } else {
    ContinueFromCurrentPage(model);
  }
}

void TvtPreviewSearch::ContinueFromCurrentPage(const TvtPreviewModel& model) {
  if (model.CurPage != SearchPage + 1) {
    SearchPage = model.CurPage - 1;
    SearchRecord = 0;
  }
}

void TvtPreviewSearch::FindNext(TvtPreviewModel& model) {
  Found = false;
  TvtEMFPages* pages = model.EMFPages();
  if (!pages) return;
  PaintingSuspended suspended(model.LayoutReady);
  while (SearchPage < pages->Count()) {
    TvtPreparedPage& page = pages->PageInfo(SearchPage);
    const Rect frame{0, 0, page.PrnInfo.page_width, page.PrnInfo.page_height};
    Metafile drawn;
    {
      MetafileRecorder recorder(frame, Resolution{});
      page.Visible = true;
      pages->Draw(SearchPage, recorder, frame);
      drawn = recorder.finish();
    }
    int next_record = 0;
    if (!SearchText.empty()) {
      for (const MetafileText& text : drawn.texts()) {
        if (static_cast<int>(text.record_index) < SearchRecord) continue;
        const std::string compared = SearchCaseSensitive ? text.text : ansi_upper(text.text);
        if (compared.find(SearchText) == std::string::npos) continue;
        Found = true;
        FoundRect = text.bounds;
        next_record = static_cast<int>(text.record_index) + 1;
        break;
      }
    }
    if (Found) {
      model.CurPage = SearchPage + 1;
      model.ShowPageNum();
      const Rect r = page.PreviewRect;
      model.SetVerticalBar(round_half_even_to_int(FoundRect.top * model.Scale) + r.top - 10, false);
      model.SetHorizontalPosition(round_half_even_to_int(FoundRect.left * model.Scale) + r.left -
                                  10);
      SearchRecord = next_record;
      return;
    }
    // Pages off screen keep no objects.
    page.Visible = false;
    page.Page.reset();
    SearchRecord = 0;
    ++SearchPage;
  }
}

}  // namespace zr

#pragma once
// A started engine with a report whose prepared pages the tests write page by page: memo
// views with their text at given places, on paper of a given size in design pixels.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/engine_fixture.h"
#include "engine/model/memo_view.h"
#include "engine/model/prepared_pages.h"
#include "engine/report/report.h"
#include "output/preview/preview_model.h"

namespace testing_support {

struct MemoSpec {
  std::string text;  // lines separated by "\n"
  int left = 20, top = 20, width = 300, height = 40;
  std::string name = {};
};

class PreviewTest : public EngineTest {
 protected:
  void SetUp() override { globals().CurReport = &report; }

  // Appends a page of `width` x `height` design pixels holding `memos`.
  void add_page(int width, int height, const std::vector<MemoSpec>& memos = {}) {
    zr::TvtEMFPages& pages = report.EMFPages;
    pages.Insert(pages.Count(), zr::TvtPage());
    const int index = pages.Count() - 1;
    zr::TvtPreparedPage& info = pages.PageInfo(index);
    info.PrnInfo.page_width = info.PrnInfo.printable_width = width;
    info.PrnInfo.page_height = info.PrnInfo.printable_height = height;
    info.PrnInfo.offset_x = info.PrnInfo.offset_y = 0;
    info.Page = std::make_unique<zr::TvtPage>();
    int n = 0;
    for (const MemoSpec& spec : memos) {
      auto memo = std::make_unique<zr::TvtMemoView>();
      memo->Name = spec.name.empty() ? "Memo" + std::to_string(++n) : spec.name;
      memo->SetBounds(spec.left, spec.top, spec.width, spec.height);
      size_t start = 0;
      while (true) {
        const size_t end = spec.text.find('\n', start);
        memo->Memo.push_back(spec.text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
      }
      info.Page->Add(std::move(memo));
    }
    pages.PageToObjects(index);
    info.Page.reset();
  }
  void add_pages(int count, int width, int height) {
    for (int i = 0; i < count; ++i) add_page(width, height);
  }

  // The model showing the report's pages in a box of that size, at `percent` (or a mode).
  void show(int box_width, int box_height, int zoom_tag = 100) {
    model.SetBoxSize(box_width, box_height);
    model.ShowReport(report);
    model.ZoomMenuClick(zoom_tag);
  }

  zr::TvtReport report;
  zr::PreviewZoomMemory zoom;
  zr::TvtPreviewModel model{zoom};
};

}  // namespace testing_support

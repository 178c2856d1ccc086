#pragma once
// A report built in code for band engine tests: bands and memos placed on form page 0,
// datasets from inline data packets, and the prepared pages read back as text.

#include <memory>
#include <string>
#include <vector>

#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/run/db_dataset.h"
#include "platform/table/client_dataset.h"
#include "platform/table/data_source.h"
#include "report_fixture.h"

namespace testing_support {

class BandReportTest : public ReportTest {
 protected:
  BandReportTest() {
    report.Pages.pages().pop_back();  // one form page
    report.ShowProgress = false;
  }

  zr::TvtPage& page() { return report.Pages.Items(0); }

  // On form page `on` (0-based).
  zr::TvtBandView& AddBand(int type, const std::string& name, int top, int height,
                           uint16_t flags = 0, const std::string& source = {}, int on = 0) {
    auto band = std::make_unique<zr::TvtBandView>();
    band->Name = name;
    band->SetBandType(type);
    band->SetBounds(0, top, 600, height);
    band->Flags = flags;
    band->FormatText = source;
    return static_cast<zr::TvtBandView&>(*report.Pages.Items(on).Add(std::move(band)));
  }

  zr::TvtMemoView& AddText(const std::string& name, int top, const std::string& text,
                           int height = 18, int left = 10, int width = 200, int on = 0) {
    zr::TvtMemoView& memo = AddMemo(name, on);
    memo.SetBounds(left, top, width, height);
    memo.Memo = {text};
    return memo;
  }

  // A client dataset from FIELD and ROW elements, walked by report dataset "dataset" + name.
  zr::TvtDBDataSet& AddData(const std::string& name, const std::string& fields,
                            const std::string& rows) {
    auto& table = report.OwnerContainer().Create<zr::ClientDataset>(name);
    table.load_from_bytes(
        R"(<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS>)" +
            fields + "</FIELDS><PARAMS/></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>",
        name);
    auto& dataset = report.OwnerContainer().Create<zr::TvtDBDataSet>("dataset" + name);
    dataset.SetDataSet(&table);
    return dataset;
  }

  // Prepares and lists every prepared object as "page:name@top=text" (",left" added when not
  // 10, the memos' usual place).
  std::vector<std::string> Prepare() {
    report.PrepareReport();
    return Dump();
  }

  std::vector<std::string> Dump() {
    std::vector<std::string> out;
    for (int i = 0; i < report.EMFPages.Count(); ++i) {
      report.EMFPages.ObjectsToPage(i);
      for (auto& view : report.EMFPages.PageInfo(i).Page->Objects) {
        std::string text;
        for (const std::string& line : view->Memo) {
          if (!text.empty()) text += "|";
          for (char c : line)
            if (c != zr::kParagraphMark) text += c;
        }
        std::string place = std::to_string(view->Top);
        if (view->Left != 10) place += "," + std::to_string(view->Left);
        out.push_back(std::to_string(i + 1) + ":" + view->Name + "@" + place + "=" + text);
      }
    }
    return out;
  }

  // The form's view of that name; views are made again when a run reloads the form.
  template <typename T = zr::TvtView>
  T& Find(const std::string& name) {
    return dynamic_cast<T&>(*report.FindObject(name));
  }

  int left_edge() { return page().PrintableBounds().left; }
  int top_edge() { return page().PrintableBounds().top; }
  int bottom_edge() { return page().PrintableBounds().bottom; }
};

// The texts of a page dump (the part after "="), without pages and places.
inline std::vector<std::string> Texts(const std::vector<std::string>& dump) {
  std::vector<std::string> texts;
  for (const std::string& line : dump) texts.push_back(line.substr(line.find('=') + 1));
  return texts;
}

}  // namespace testing_support

// The preview's save switches the options windows on for the formats that have them and puts
// every filter back afterwards: the control's own exports and headless runs never wait for a
// window. No display is needed: nothing is shown here.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"
#include "gui/export_options_scope.h"
#include "output/document/document_export.h"
#include "output/image/graphic_export.h"
#include "output/xlsx/xlsx_export.h"
#include "viewer/export_filter_set.h"

namespace zr {
namespace {

using ExportOptionsScopeTest = testing_support::EngineTest;

// Whether the filter has a presenter (false for a format without an options model).
bool has_presenter(const TvtExportFilter& filter) {
  if (auto* document = dynamic_cast<const TOxvtExportFilter*>(&filter))
    return static_cast<bool>(document->DialogPresenter);
  if (auto* graphic = dynamic_cast<const TOxvtGraphicExport*>(&filter))
    return static_cast<bool>(graphic->DialogPresenter);
  if (auto* xlsx = dynamic_cast<const TOxvtXLSXExport*>(&filter))
    return static_cast<bool>(xlsx->DialogPresenter);
  return false;
}

TEST_F(ExportOptionsScopeTest, OptionsWindowsOnlyWhileTheScopeLives) {
  ExportFilterSet filters;  // the form's settings: no dialogs
  auto& pdf = dynamic_cast<TOxvtExportFilter&>(*filters.filter(ExportFormat::Pdf));
  int host_calls = 0;
  pdf.DialogPresenter = [&](TOxvtExportDialog&) { return ++host_calls; };
  struct Case {
    ExportFormat format;
    bool options;  // has an options window
  };
  const Case cases[] = {
      {ExportFormat::Pdf, true},   {ExportFormat::Html, true}, {ExportFormat::Rtf, true},
      {ExportFormat::Jpeg, true},  {ExportFormat::Gif, true},  {ExportFormat::Bmp, true},
      {ExportFormat::Emf, true},   {ExportFormat::Wmf, true},  {ExportFormat::Xlsx, true},
      {ExportFormat::Text, false}, {ExportFormat::Csv, false}};
  {
    gui::ExportOptionsScope scope(nullptr);
    for (const Case& c : cases) {
      const TvtExportFilter& filter = *filters.filter(c.format);
      EXPECT_EQ(filter.ShowDialog, c.options) << static_cast<int>(c.format);
      EXPECT_EQ(has_presenter(filter), c.options) << static_cast<int>(c.format);
    }
  }
  for (const Case& c : cases) {
    EXPECT_FALSE(filters.filter(c.format)->ShowDialog) << static_cast<int>(c.format);
    if (c.format != ExportFormat::Pdf) {
      EXPECT_FALSE(has_presenter(*filters.filter(c.format))) << static_cast<int>(c.format);
    }
  }
  // The presenter the host had set is the one in place again.
  pdf.ShowDialog = true;
  EXPECT_EQ(pdf.ShowModal(), 1);
  EXPECT_EQ(host_calls, 1);
}

}  // namespace
}  // namespace zr

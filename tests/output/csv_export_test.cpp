// The CSV export of single pages: columns from the left edges, the delimiter rules, rows
// without text, the DOS code page and the registration.
#include "output/text/csv_export.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/engine_fixture.h"
#include "platform/fonts/font_resolver.h"
#include "text_export_support.h"

namespace zr {
namespace {

using testing_support::ExportPieces;
using testing_support::TextPiece;

class CsvExportTest : public testing_support::EngineTest {};

TEST_F(CsvExportTest, FieldKPlusOneHoldsColumnK) {
  struct Case {
    const char* name;
    char delimiter;
    std::vector<TextPiece> pieces;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"two columns; a row with the second only starts with two delimiters",
       ';',
       {{65, 10, 130, 28, "A"}, {130, 10, 200, 28, "B"}, {130, 30, 200, 48, "B2"}},
       ";\"A\";\"B\"\r\n;;\"B2\"\r\n"},
      {"the delimiter of the filter",
       ',',
       {{65, 10, 130, 28, "A"}, {130, 10, 200, 28, "B"}},
       ",\"A\",\"B\"\r\n"},
      {"a row without text is not written and gives no column",
       ';',
       {{65, 10, 130, 28, "A"}, {20, 20, 60, 38, ""}, {130, 30, 200, 48, "B"}},
       ";\"A\"\r\n;;\"B\"\r\n"},
      {"an empty text in a row with text keeps its column",
       ';',
       {{20, 10, 60, 28, ""}, {65, 10, 130, 28, "A"}},
       ";\"\";\"A\"\r\n"},
      {"two texts at one left edge: the later object first, one delimiter between",
       ';',
       {{65, 10, 130, 28, "A"}, {65, 10, 130, 28, "B"}},
       ";\"B\";\"A\"\r\n"},
      {"quotes inside a text are not doubled",
       ';',
       {{0, 10, 130, 28, "say \"hi\""}},
       ";\"say \"hi\"\"\r\n"},
      {"rows in pixel order, lines of one object on consecutive rows",
       ';',
       {{0, 40, 90, 58, "late"}, {0, 10, 90, 48, "one", 0, 0}, {0, 10, 90, 48, "two", 0, 1}},
       ";\"one\"\r\n;\"two\"\r\n;\"late\"\r\n"},
      {"a page without text writes nothing", ';', {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TvtCSVExport filter;
    filter.Delimiter = c.delimiter;
    filter.KillEmptyLines = false;  // has no effect on CSV
    EXPECT_EQ(ExportPieces(filter, c.pieces), c.expected);
  }
}

TEST_F(CsvExportTest, ColumnsFollowTheFiveDigitTexts) {
  TvtCSVExport filter;
  // 5 and 40 sort as "00005" < "00040"; every page has its own columns.
  EXPECT_EQ(ExportPieces(filter, {{40, 10, 99, 28, "b"}, {5, 20, 99, 38, "a"}}),
            ";;\"b\"\r\n;\"a\"\r\n");
  EXPECT_EQ(ExportPieces(filter, {{40, 10, 99, 28, "b"}}), ";\"b\"\r\n");
}

TEST_F(CsvExportTest, ConvertToOem) {
  globals().fonts = std::make_shared<FontResolver>(1252);
  TvtCSVExport filter;
  filter.ConvertToOEM = true;
  EXPECT_EQ(ExportPieces(filter, {{0, 10, 99, 28, "caf\xE9"}}), ";\"caf\x82\"\r\n");
  filter.ConvertToOEM = false;
  EXPECT_EQ(ExportPieces(filter, {{0, 10, 99, 28, "caf\xE9"}}), ";\"caf\xE9\"\r\n");
}

TEST_F(CsvExportTest, RegistersAsCsvOnlyWithItsSettings) {
  TvtCSVExport csv;
  TvtTextExport text;
  auto& filters = globals().export_filters;
  ASSERT_EQ(filters.Count(), 2);
  EXPECT_EQ(filters.Items(0).Filter, &csv);
  EXPECT_EQ(filters.Items(0).Description, "CSV File (*.csv)");
  EXPECT_EQ(filters.Items(0).Mask, "*.csv");
  EXPECT_EQ(filters.Items(1).Filter, &text);
  EXPECT_EQ(filters.Items(1).Description, "ASCII Text file (*.txt)");

  EXPECT_EQ(csv.Delimiter, ';');
  EXPECT_TRUE(csv.ShowDialog);
  EXPECT_EQ(csv.ScaleX, 1.0);
  EXPECT_EQ(csv.ScaleY, 1.0);
  EXPECT_TRUE(csv.KillEmptyLines);
  EXPECT_FALSE(csv.ConvertToOEM);
  EXPECT_TRUE(csv.PageBreaks);
}

}  // namespace
}  // namespace zr

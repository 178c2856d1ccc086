#pragma once
// What a text of a prepared page is worth in a spreadsheet cell. Reports print numbers and
// dates already formatted ("1,234,000", "2024-03-05"); a spreadsheet user wants them back as
// numbers and dates that sort and add up, shown the way the report showed them. A text that
// reads completely as a number or a date in the report's notation becomes one, with a number
// format of the same look; anything else stays text.

#include <string>
#include <string_view>

#include "platform/format_settings.h"

namespace zr {

struct XlsxCellValue {
  enum class Kind { Text, Number, Date };
  Kind kind = Kind::Text;
  double number = 0;       // the number, or the date as days since 1899-12-30
  std::string num_format;  // Excel number format: "#,##0.00", "yyyy-mm-dd"; empty for text

  bool operator==(const XlsxCellValue&) const = default;
};

// Numbers: an optional "-", digits (groups of three between thousand separators, when there
// are any; no leading zero except a lone "0"), optionally the decimal separator and decimals;
// at most 15 digits, since a spreadsheet keeps no more (longer ones are codes, kept as text).
// Format "0" or "#,##0", with as many decimals as the text shows.
// Dates: three groups of digits with one separator ("-", "/" or "."; also fs.date_separator)
// in the order of fs.short_date_format (a four-digit first group is always the year),
// optionally followed by a blank and hh:nn or hh:nn:ss with fs.time_separator; the format
// repeats the text's look ("yyyy-mm-dd", "yy.m.d hh:mm").
XlsxCellValue RecogniseCellValue(std::string_view text, const FormatSettings& fs);

}  // namespace zr

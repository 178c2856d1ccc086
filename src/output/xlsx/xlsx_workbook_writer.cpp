#include "output/xlsx/xlsx_workbook_writer.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <utility>

#include "engine/model/memo_view.h"
#include "output/document/export_routines.h"
#include "output/xlsx/xlsx_cell_value.h"
#include "platform/codepage.h"
#include "platform/errors.h"

namespace zr {

namespace {

// Excel keeps at most this many characters in a cell.
constexpr size_t kMaxCellText = 32767;

// At most kMaxCellText characters, not cutting a UTF-8 sequence.
std::string fit_cell(std::string utf8) {
  size_t count = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (++count > kMaxCellText) {
      utf8.resize(i);
      break;
    }
  }
  return utf8;
}

bool is_ascii(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

lxw_color_t excel_color(int32_t color) {
  const auto rgb = static_cast<lxw_color_t>(std::stoul(ColorToHex(color), nullptr, 16));
  // 0 means "automatic" to the library.
  return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

uint8_t border_style(float width, uint16_t style) {
  const bool heavy = width > 1.5f;
  switch (style) {
    case psDash:
      return heavy ? LXW_BORDER_MEDIUM_DASHED : LXW_BORDER_DASHED;
    case psDot:
      return LXW_BORDER_DOTTED;
    case psDashDot:
      return heavy ? LXW_BORDER_MEDIUM_DASH_DOT : LXW_BORDER_DASH_DOT;
    case psDashDotDot:
      return heavy ? LXW_BORDER_MEDIUM_DASH_DOT_DOT : LXW_BORDER_DASH_DOT_DOT;
    case psDouble:
      return LXW_BORDER_DOUBLE;
    default:
      return width > 2.5f ? LXW_BORDER_THICK : heavy ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN;
  }
}

void check(lxw_error error, const std::string& what) {
  if (error != LXW_NO_ERROR) throw IoError("Excel export: " + what + ": " + lxw_strerror(error));
}

}  // namespace

// The workbook and the temporary file it is written to (the library writes to a named file
// only); both go with the writer, also when the export fails.
struct XlsxWorkbookWriter::Workbook {
  std::string path;
  lxw_workbook* book = nullptr;

  Workbook() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorel-xlsx-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) throw IoError("Excel export: cannot create a temporary file in TMPDIR");
    close(fd);
    path = pattern;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    book = workbook_new_opt(path.c_str(), &options);
    if (!book) {
      std::filesystem::remove(path);
      throw IoError("Excel export: cannot start a workbook");
    }
  }
  ~Workbook() {
    if (book) workbook_close(book);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;
};

XlsxWorkbookWriter::XlsxWorkbookWriter(XlsxWorkbookSettings settings)
    : settings_(std::move(settings)), book_(std::make_unique<Workbook>()) {
  std::string title = ansi_to_utf8(settings_.title, settings_.code_page);
  std::string author = ansi_to_utf8(settings_.author, settings_.code_page);
  lxw_doc_properties properties{};
  properties.title = title.data();
  properties.author = author.data();
  workbook_set_properties(book_->book, &properties);
}

XlsxWorkbookWriter::~XlsxWorkbookWriter() = default;

lxw_format* XlsxWorkbookWriter::Format(size_t index, const std::string& num_format) {
  auto [it, added] = formats_[index].try_emplace(num_format, nullptr);
  if (!added) return it->second;
  const XlsxLook& look = looks_[index];
  lxw_format* f = workbook_add_format(book_->book);
  format_set_font_name(f, ansi_to_utf8(look.font_name, settings_.code_page).c_str());
  format_set_font_size(f, std::clamp(look.font_size, 1, 409));
  if (look.font_style & fsBold) format_set_bold(f);
  if (look.font_style & fsItalic) format_set_italic(f);
  if (look.font_style & fsUnderline) format_set_underline(f, LXW_UNDERLINE_SINGLE);
  if (look.font_style & fsStrikeOut) format_set_font_strikeout(f);
  format_set_font_color(f, excel_color(look.font_color));
  switch (look.alignment & 3) {
    case vttaRight:
      format_set_align(f, LXW_ALIGN_RIGHT);
      break;
    case vttaCenter:
      format_set_align(f, LXW_ALIGN_CENTER);
      break;
    case vttaJustify:
      format_set_align(f, LXW_ALIGN_JUSTIFY);
      break;
    default:
      format_set_align(f, LXW_ALIGN_LEFT);
      break;
  }
  format_set_align(f, (look.alignment & vttaMiddle) ? LXW_ALIGN_VERTICAL_CENTER
                      : (look.alignment & vttaDown) ? LXW_ALIGN_VERTICAL_BOTTOM
                                                    : LXW_ALIGN_VERTICAL_TOP);
  if (look.alignment & vttaVertical) format_set_rotation(f, 90);
  if (look.wrap) format_set_text_wrap(f);
  if (look.frame_typ != 0) {
    const uint8_t style = border_style(look.frame_width, look.frame_style);
    const lxw_color_t color = excel_color(look.frame_color);
    if (look.frame_typ & kFrameRight) {
      format_set_right(f, style);
      format_set_right_color(f, color);
    }
    if (look.frame_typ & kFrameBottom) {
      format_set_bottom(f, style);
      format_set_bottom_color(f, color);
    }
    if (look.frame_typ & kFrameLeft) {
      format_set_left(f, style);
      format_set_left_color(f, color);
    }
    if (look.frame_typ & kFrameTop) {
      format_set_top(f, style);
      format_set_top_color(f, color);
    }
  }
  if (look.fill_color != kClNone) {
    format_set_pattern(f, LXW_PATTERN_SOLID);
    format_set_bg_color(f, excel_color(look.fill_color));
  }
  if (!num_format.empty()) format_set_num_format(f, num_format.c_str());
  it->second = f;
  return f;
}

void XlsxWorkbookWriter::StartSheet(const std::string& name) {
  FinishSheet();
  sheet_ = workbook_add_worksheet(book_->book, name.c_str());
  if (!sheet_) throw IoError("Excel export: cannot add the worksheet \"" + name + "\"");
  ++sheet_count_;
  next_row_ = 0;
  const std::vector<int32_t> widths = grid_.widths();
  for (size_t c = 0; c < widths.size() && c < LXW_COL_MAX; ++c)
    worksheet_set_column_pixels(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                static_cast<uint32_t>(widths[c]), nullptr);
}

void XlsxWorkbookWriter::FinishSheet() {
  if (!sheet_ || breaks_.empty()) return;
  if (breaks_.size() > LXW_BREAKS_MAX) breaks_.resize(LXW_BREAKS_MAX);
  breaks_.push_back(0);  // the list's end
  check(worksheet_set_h_pagebreaks(sheet_, breaks_.data()), "page breaks");
  breaks_.clear();
}

void XlsxWorkbookWriter::AddPage(const XlsxPage& page) {
  ++page_;
  for (const XlsxLook& look : page.new_looks) looks_.push_back(look);
  formats_.resize(looks_.size());
  std::vector<XlsxGridItem> places;
  places.reserve(page.items.size());
  for (const XlsxItem& item : page.items) places.push_back(item.place);
  if (settings_.sheet_per_page) {
    grid_ = XlsxColumnGrid(places);
    StartSheet("Page " + std::to_string(page_));
  } else if (grid_.empty() && !places.empty()) {
    grid_ = XlsxColumnGrid(places);
    StartSheet("Report");
  }
  if (!sheet_ || places.empty()) return;
  const XlsxColumnGrid::Layout layout = grid_.Place(places);
  // A worksheet that would overflow goes on in the next one, with the same grid.
  if (!settings_.sheet_per_page && next_row_ + layout.row_heights.size() > LXW_ROW_MAX)
    StartSheet("Report " + std::to_string(sheet_count_ + 1));
  if (settings_.page_breaks && !settings_.sheet_per_page && next_row_ > 0)
    breaks_.push_back(static_cast<unsigned>(next_row_));
  WriteLayout(page, layout);
  next_row_ += static_cast<int>(layout.row_heights.size());
}

void XlsxWorkbookWriter::WriteLayout(const XlsxPage& page, const XlsxColumnGrid::Layout& layout) {
  int row = -1;
  for (const XlsxGridCell& cell : layout.cells) {
    const auto r = static_cast<lxw_row_t>(next_row_ + cell.row);
    if (cell.row != row) {
      // Rows are written in order: the height comes before the row's cells.
      row = cell.row;
      worksheet_set_row_pixels(
          sheet_, r, static_cast<uint32_t>(layout.row_heights[static_cast<size_t>(row)]), nullptr);
    }
    const XlsxItem& first = page.items[cell.items.front()];
    std::string text = first.text;
    for (size_t i = 1; i < cell.items.size(); ++i) text += ' ' + page.items[cell.items[i]].text;
    const XlsxCellValue value = RecogniseCellValue(text, settings_.format_settings);
    lxw_format* format = Format(first.look, value.num_format);
    const auto c1 = static_cast<lxw_col_t>(cell.first_column);
    const auto c2 = static_cast<lxw_col_t>(cell.last_column);
    if (c2 > c1) check(worksheet_merge_range(sheet_, r, c1, r, c2, "", format), "merged cells");
    if (value.kind != XlsxCellValue::Kind::Text) {
      check(worksheet_write_number(sheet_, r, c1, value.number, format), "a number");
    } else if (text.empty()) {
      if (c2 == c1) check(worksheet_write_blank(sheet_, r, c1, format), "a cell");
    } else {
      const std::string utf8 =
          fit_cell(is_ascii(text) ? std::move(text) : ansi_to_utf8(text, settings_.code_page));
      check(worksheet_write_string(sheet_, r, c1, utf8.c_str(), format), "a text");
    }
  }
}

void XlsxWorkbookWriter::Finish(std::ostream& out) {
  // A report without text still makes a valid workbook.
  if (!sheet_) workbook_add_worksheet(book_->book, "Report");
  FinishSheet();
  sheet_ = nullptr;
  lxw_workbook* done = std::exchange(book_->book, nullptr);
  check(workbook_close(done), "cannot write the workbook");
  std::ifstream in(book_->path, std::ios::binary);
  out << in.rdbuf();
  if (!in || !out) throw IoError("Excel export: cannot copy the workbook");
}

}  // namespace zr

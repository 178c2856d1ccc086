#include "output/xlsx/xlsx_export.h"

#include <utility>

#include "engine/locale/locale_strings.h"
#include "engine/model/memo_view.h"
#include "engine/report/tvt_globals.h"
#include "output/xlsx/xlsx_export_dialog.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"

namespace zr {

namespace {

// The memo's lines as one cell text: paragraph marks and other control characters (which
// XML cannot carry) dropped, lines joined by line feeds.
std::string cell_text(const TvtStrings& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    for (char c : lines[i])
      if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') text += c;
  }
  return text;
}

}  // namespace

TOxvtXLSXExport::TOxvtXLSXExport() {
  RegisterFilter(LoadStr(kStrXlsxDescription), "*." + LoadStr(kStrXlsxExtension));
}

TOxvtXLSXExport::~TOxvtXLSXExport() {
  // An export that failed half-way: the writer is stopped and its files go.
  try {
    StopWriter();
  } catch (...) {
  }
}

int TOxvtXLSXExport::ShowModal() {
  if (!ShowDialog) return 1;
  TOxvtXLSXExportDialog dialog(*this);
  const int result = DialogPresenter ? DialogPresenter(dialog) : 1;
  if (result == 1) dialog.OkClick(*this);
  return result;
}

void TOxvtXLSXExport::OnBeginDoc() {
  StopWriter();
  XlsxWorkbookSettings settings;
  settings.sheet_per_page = SheetPerPage;
  settings.page_breaks = PageBreaks;
  settings.title = Title;
  settings.author = Author;
  const TvtGlobals* g = TvtGlobals::Find();
  settings.code_page = g && g->fonts ? g->fonts->code_page() : kDefaultAnsiCodePage;
  settings.format_settings = g ? g->format_settings : FormatSettings::defaults();
  page_ = {};
  looks_.clear();
  StartWriter(std::move(settings));
}

void TOxvtXLSXExport::OnBeginPage() {
  page_.items.clear();
}

void TOxvtXLSXExport::OnData(int x, int y, TvtView& view) {
  auto* memo = dynamic_cast<TvtMemoView*>(&view);
  if (!memo || !writer_) return;
  const TvtMemoFont& font = memo->Font;
  XlsxLook look;
  look.font_name = font.Name;
  look.font_size = font.Size;
  look.font_style = font.Style;
  look.font_color = font.Color;
  look.alignment = memo->Alignment;
  look.wrap = memo->HasFlag(kMemoWordWrap) || memo->Memo.size() > 1;
  if (ExportFrames) {
    look.frame_typ = view.FrameTyp;
    look.frame_width = view.FrameWidth;
    look.frame_color = view.FrameColor;
    look.frame_style = view.FrameStyle;
    look.fill_color = view.FillColor;
  }
  auto [it, added] = looks_.try_emplace(std::move(look), looks_.size());
  if (added) page_.new_looks.push_back(it->first);
  XlsxItem item;
  item.place = {x, y, view.Width, view.Height, page_.items.size()};
  item.text = cell_text(memo->Memo);
  item.look = it->second;
  page_.items.push_back(std::move(item));
}

void TOxvtXLSXExport::OnEndPage() {
  if (!writer_) return;
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return waiting_.size() < kPagesWaiting || error_; });
  if (error_) {
    lock.unlock();
    RaiseWriterError();
  }
  waiting_.push_back(std::exchange(page_, {}));
  changed_.notify_all();
}

void TOxvtXLSXExport::OnEndDoc() {
  if (!writer_) return;
  StopWriter();
  std::unique_ptr<XlsxWorkbookWriter> writer = std::move(writer_);
  if (!Stream) throw IoError("Excel export: no output file");
  writer->Finish(*Stream);
}

void TOxvtXLSXExport::StartWriter(XlsxWorkbookSettings settings) {
  writer_ = std::make_unique<XlsxWorkbookWriter>(std::move(settings));
  waiting_.clear();
  no_more_pages_ = false;
  error_ = nullptr;
  thread_ = std::thread([this] { WriterLoop(); });
}

void TOxvtXLSXExport::WriterLoop() {
  for (;;) {
    XlsxPage page;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return !waiting_.empty() || no_more_pages_; });
      if (waiting_.empty()) return;
      page = std::move(waiting_.front());
      waiting_.pop_front();
      changed_.notify_all();
    }
    try {
      writer_->AddPage(page);
    } catch (...) {
      std::lock_guard lock(mutex_);
      error_ = std::current_exception();
      waiting_.clear();
      changed_.notify_all();
      return;
    }
  }
}

void TOxvtXLSXExport::StopWriter() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    no_more_pages_ = true;
    changed_.notify_all();
  }
  thread_.join();
  RaiseWriterError();
}

void TOxvtXLSXExport::RaiseWriterError() {
  std::exception_ptr error;
  {
    std::lock_guard lock(mutex_);
    error = std::exchange(error_, nullptr);
  }
  if (!error) return;
  writer_.reset();
  std::rethrow_exception(error);
}

}  // namespace zr

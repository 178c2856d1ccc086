// The PDF export's page: on the walking thread the records are taken over and their fonts
// and pictures resolved; on the worker the frames, fills and pictures of the objects and
// then the texts are written into the page's content stream, which is compressed and
// written with the page's objects.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "engine/model/memo_font.h"
#include "engine/model/prepared_pages.h"
#include "engine/model/view.h"
#include "engine/printer/design_pixels.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/pdf/pdf_embedded_fonts.h"
#include "output/pdf/pdf_export.h"
#include "output/pdf/pdf_object_writer.h"
#include "output/pdf/pdf_page_job.h"
#include "output/pdf/pdf_syntax.h"
#include "platform/canvas/color.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/fonts/font_selection.h"

namespace zr {

namespace {

constexpr int kPageTree = 2;
// Points per design pixel in portable documents.
constexpr double kPortablePoint = 72.0 / kDesignPixelsPerInch;
// The slant of synthetic italics, as FreeType and cairo make them (12 degrees).
constexpr double kObliqueSlant = 0x0366A / 65536.0;

// The Korean fixed-pitch face that draws non-ASCII text of Latin-named fonts.
const std::string& korean_face() {
  static const std::string face = utf8_to_ansi("굴림체");
  return face;
}

// UTF-16 units: one per character in the Korean code page.
int character_count(const std::string& text, int code_page) {
  int count = 0;
  for (size_t pos = 0; pos < text.size(); ++count)
    pos += std::max<size_t>(1, char_length(text, pos, code_page));
  return count;
}

// How the numbers of a page's content are spelled: classic pages in points with four
// decimals, portable pages in design pixels (the page's matrix scales them) with at most
// three.
struct PageUnits {
  bool portable = false;
  double page_height = 0;  // points (classic) or design pixels (portable)

  double length(double pixels) const { return portable ? pixels : pixels / ScreenPPI * 72; }
  double flip(double y) const { return page_height != 0 ? page_height - y : y; }
  void number(std::string& out, double value) const {
    if (portable)
      AppendNumber(out, value);
    else
      AppendFixed4(out, value);
  }
  void pair(std::string& out, double x, double y) const {
    number(out, x);
    out += ' ';
    number(out, y);
  }
  void color(std::string& out, int32_t color) const {
    const uint32_t value = Color(static_cast<uint32_t>(color)).resolved().value_or(0);
    for (int shift = 0; shift <= 16; shift += 8) {
      if (shift > 0) out += ' ';
      number(out, ((value >> shift) & 0xFF) / 255.0);
    }
  }
};

// A string operand of 2-byte glyph numbers; the bytes that would end or bend the string
// are escaped (a bare carriage return would read as a line feed).
void append_glyph(std::string& out, uint16_t gid) {
  for (const char byte : {static_cast<char>(gid >> 8), static_cast<char>(gid & 0xFF)}) {
    if (byte == '(' || byte == ')' || byte == '\\') {
      out += '\\';
      out += byte;
    } else if (byte == '\r') {
      out += "\\r";
    } else {
      out += byte;
    }
  }
}

// A width as the font's /W array spells it (whole thousandths of the em: some readers take
// widths as integers), so that positions follow what readers compute.
double written_width(int advance, int em) {
  return static_cast<double>(PdfGlyphWidth(advance, em));
}

}  // namespace

void PaperInPoints(const TvtPreparedPage& page, double& width, double& height) {
  double w = page.PageWidth / 254.0 * 72, h = page.PageHeight / 254.0 * 72;
  if ((page.PrnInfo.page_width > page.PrnInfo.page_height) != (w > h)) std::swap(w, h);
  width = w;
  height = h;
}

std::shared_ptr<const Font> LayoutFont(const TOxvtFontInfo& font) {
  FontSelection selection;
  selection.name = font.Name;
  selection.height = -DesignFontPixels(font.Size);
  selection.style = font.Style;
  selection.charset = font.Charset;
  return TvtGlobals::Get().fonts->font(selection);
}

// --- The walking thread ---

std::unique_ptr<PdfPageJob> TOxvtPDFExport::PreparePage() {
  auto job = std::make_unique<PdfPageJob>();
  job->objects = TakeDataRecords();
  PreparePictures(*job);
  if (Portable()) {
    TvtReport* report = TvtGlobals::Get().CurReport;
    job->paper_width = first_paper_width_;
    job->paper_height = first_paper_height_;
    job->page_height_px = first_page_height_px_;
    if (report && PageCount() < report->EMFPages.Count()) {
      const TvtPreparedPage& page = report->EMFPages.PageInfo(PageCount());
      PaperInPoints(page, job->paper_width, job->paper_height);
      job->page_height_px = page.PrnInfo.page_height;
    }
    job->portable_texts = portable_text_->Take();
  } else {
    job->texts = TakeTextRecords();
    PrepareClassicTexts(*job);
  }
  return job;
}

void TOxvtPDFExport::AddCharacters(const TvtView& view, TOxvtTextRec& line) {
  if (Portable())
    portable_text_->AddLine(view, line);
  else
    TOxvtExportFilter::AddCharacters(view, line);
}

void TOxvtPDFExport::PreparePictures(PdfPageJob& job) {
  job.pictures.resize(job.objects.size());
  for (size_t i = 0; i < job.objects.size(); ++i) {
    const TOxvtDataRec& rec = job.objects[i];
    const bool memo = rec.ClassName == "TvtMemoView";
    const bool line = rec.ClassName == "TvtLineView";
    if (!ExportImages || !rec.Image || (memo && !rec.RotatedText) || line) continue;
    bool unique = true;
    int reuse = -1;
    std::string alt_text;
    if (BeforeSaveGraphic) BeforeSaveGraphic(*this, rec.Name, unique, reuse, alt_text);
    const int count = static_cast<int>(image_names_.size());
    int k = -1;
    if (!unique && reuse == -1) {
      for (int j = 0; j < count && k < 0; ++j)
        if (image_names_[static_cast<size_t>(j)] == rec.NameNumber) k = j;
    } else if (!unique && reuse >= 0 && reuse < count) {
      k = reuse;  // any index that names no picture makes a new one
    }
    PdfPictureUse& use = job.pictures[i];
    if (k < 0) {
      k = count;
      image_names_.push_back(rec.NameNumber);
      use.is_new = true;
    }
    use.index = k;
    if (AfterSaveGraphic) AfterSaveGraphic(*this, rec.Name, k);
  }
}

int TOxvtPDFExport::FontIndex(const TOxvtFontInfo& font) {
  std::string key = PdfFontKey(font);
  auto found = font_index_.find(key);
  if (found != font_index_.end()) return found->second;
  auto metrics = std::make_unique<TOxvtFontMetrics>(MakeFontMetrics(font, key));
  const int index = static_cast<int>(fonts_.size());
  fonts_.push_back(std::move(metrics));
  font_index_.emplace(std::move(key), index);
  return index;
}

void TOxvtPDFExport::PrepareClassicTexts(PdfPageJob& job) {
  job.classic_fonts.reserve(job.texts.size());
  // Most characters share the previous one's font.
  TOxvtFontInfo last_font;
  bool last_ascii = false;
  int last_index = -1;
  for (const TOxvtTextRec& rec : job.texts) {
    const bool ascii = IsPlainAscii(rec.Text);
    if (last_index < 0 || ascii != last_ascii || !(rec.Font == last_font)) {
      TOxvtFontInfo font = rec.Font;
      // Blanks are plain ASCII too, so the name with them removed tests the same.
      if (IsPlainAscii(font.Name) && !ascii) {
        TOxvtFontInfo korean;
        korean.Name = korean_face();
        korean.Charset = kHangulCharset;
        korean.Size = 10;
        korean.Color = 0;
        korean.Style = font.Style;
        korean.PixelsPerInch = font.PixelsPerInch;
        font = korean;
      }
      last_index = FontIndex(font);
      last_font = rec.Font;
      last_ascii = ascii;
    }
    job.classic_fonts.emplace_back(last_index, fonts_[static_cast<size_t>(last_index)].get());
  }
}

// --- The worker ---

int TOxvtPDFExport::ClassicFontNumber(TOxvtFontMetrics& metrics) {
  if (metrics.FontObject == 0) {
    metrics.FontObject = NewObjectNumber();
    metrics.DescriptorObject = NewObjectNumber();
  }
  return metrics.FontObject;
}

std::function<PdfChunk()> TOxvtPDFExport::FormatPage(const std::shared_ptr<PdfPageJob>& shared) {
  PdfPageJob& job = *shared;
  const int page_object = NewObjectNumber();
  const int content_object = NewObjectNumber();
  page_objects_.push_back(page_object);
  const int length_object = NewObjectNumber();

  std::string content;
  content.reserve(Portable() ? 64 * 1024 : 512 * 1024);
  if (Portable()) {
    // Design pixels to points, the page's top edge on the paper's.
    // Precise enough that the page's far edge is off by far less than a hundredth of a point.
    content += "q\n";
    AppendNumber(content, kPortablePoint, 9);
    content += " 0 0 ";
    AppendNumber(content, kPortablePoint, 9);
    content += " 0 ";
    AppendNumber(content, job.paper_height - job.page_height_px * kPortablePoint, 6);
    content += " cm\n";
  }
  PdfChunk images;
  for (size_t i = 0; i < job.objects.size(); ++i) FormatObjectRecord(content, job, i, images);
  job.objects.clear();
  // Font object numbers are handed out in page order, before the texts may run out of it.
  for (auto& [index, metrics] : job.classic_fonts) ClassicFontNumber(*metrics);

  std::string page =
      "/Type /Page\n/Parent " + PdfRef(kPageTree) + "\n/Contents " + PdfRef(content_object);
  if (Portable() &&
      (job.paper_width != first_paper_width_ || job.paper_height != first_paper_height_)) {
    page += "\n/MediaBox [0 0 ";
    AppendNumber(page, job.paper_width);
    page += ' ';
    AppendNumber(page, job.paper_height);
    page += ']';
  }
  // The rest may run beside other pages: it reads the job, the fonts' metrics (fixed by now)
  // and settings that do not change during a document.
  return [this, shared, page_object, content_object, length_object, page = std::move(page),
          content = std::move(content), images = std::move(images), compress = UseCompression,
          method = CompressionMethod]() mutable {
    PdfPageJob& job = *shared;
    if (Portable()) {
      FormatPortableTexts(content, job);
      content += "Q\n";
    } else {
      ClassicColour colour;
      for (size_t i = 0; i < job.texts.size(); ++i)
        FormatClassicText(content, job.texts[i], job.classic_fonts[i].first,
                          *job.classic_fonts[i].second, colour);
    }
    std::vector<TOxvtTextRec>().swap(job.texts);
    job.portable_texts = {};
    PdfChunk chunk;
    chunk.WriteObject(page, page_object);
    const std::string length = PdfRef(length_object);
    chunk.WriteObject(
        compress ? "/Length " + length + "\n/Filter /FlateDecode" : "<< /Length " + length + " >>",
        content_object, false);
    chunk.bytes += "stream\n";
    // An empty page keeps an empty stream.
    size_t data_size = content.size();
    if (compress && !content.empty()) {
      const std::string data = Deflate(content, method);
      data_size = data.size();
      chunk.bytes += data;
    } else {
      chunk.bytes += content;
    }
    chunk.bytes += "\nendstream\nendobj\n";
    std::string size_text;
    AppendInt(size_text, static_cast<int64_t>(data_size));
    chunk.WriteObject(size_text, length_object);
    for (const auto& [number, offset] : images.objects)
      chunk.objects.emplace_back(number, chunk.bytes.size() + offset);
    chunk.bytes += images.bytes;
    return chunk;
  };
}

void TOxvtPDFExport::FormatObjectRecord(std::string& content, const PdfPageJob& job, size_t index,
                                        PdfChunk& images) {
  const TOxvtDataRec& rec = job.objects[index];
  const PageUnits units{Portable(), Portable() ? double(job.page_height_px) : page_height_pt_};
  const double x = units.length(rec.X), w = units.length(rec.Width), h = units.length(rec.Height);
  const double y = units.flip(units.length(rec.Y));
  const bool memo = rec.ClassName == "TvtMemoView";
  const bool line = rec.ClassName == "TvtLineView";

  std::string placement;
  if (const PdfPictureUse& use = job.pictures[index]; use.index >= 0) {
    if (use.is_new) WriteNewPicture(rec, use.index, images);
    placement = "q\r";
    units.number(placement, w);
    placement += " 0 0 ";
    units.number(placement, h);
    placement += ' ';
    units.pair(placement, x, y - h);
    placement += " cm\r/Img";
    AppendInt(placement, use.index);
    placement += " Do\rQ\n";
  }

  std::string fill, frame;
  if (ExportFrames) {
    if (memo && rec.FillColor != kClNone) {
      fill = "0 w\r";
      units.color(fill, rec.FillColor);
      fill += " rg\r";
      units.pair(fill, x, y - h);
      fill += ' ';
      units.pair(fill, w, h);
      fill += " re f";
    }
    if (memo || line) {
      frame = "\r";
      units.number(frame, units.length(rec.FrameWidth));
      frame += " w ";
      units.color(frame, rec.FrameColor);
      frame += " RG";
      if ((rec.FrameTyp & kFrameAll) == kFrameAll) {
        frame += '\r';
        units.pair(frame, x, y - h);
        frame += ' ';
        units.pair(frame, w, h);
        frame += " re\rS\r";
      } else {
        auto segment = [&](double x1, double y1, double x2, double y2) {
          frame += '\r';
          units.pair(frame, x1, y1);
          frame += " m ";
          units.pair(frame, x2, y2);
          frame += " l S\r";
        };
        if (rec.FrameTyp & kFrameTop) segment(x, y, x + w, y);
        if (rec.FrameTyp & kFrameRight) segment(x + w, y, x + w, y - h);
        if (rec.FrameTyp & kFrameBottom) segment(x + w, y - h, x, y - h);
        if (rec.FrameTyp & kFrameLeft) segment(x, y - h, x, y);
      }
    }
  }
  if (!fill.empty() || !frame.empty()) {
    content += "q\r";
    content += fill;
    content += frame;
    content += "\rQ\n";
  }
  content += placement;
}

void TOxvtPDFExport::FormatClassicText(std::string& content, const TOxvtTextRec& rec, int index,
                                       const TOxvtFontMetrics& metrics,
                                       ClassicColour& classic_colour) const {
  const PageUnits units{false, page_height_pt_};
  const double x = units.length(rec.X), h = units.length(rec.TextHeight);
  const double y = units.flip(units.length(rec.Y));
  const int size = rec.Font.Size;
  const int count = character_count(rec.Text, code_page_);
  const double drawn = units.length(static_cast<double>(count) * rec.CharSpacing + rec.TextWidth);
  const double natural = GlyphWidthSum(metrics, rec.Text) * static_cast<double>(size) / 1000;
  // An empty text has no character to space.
  const double spacing = rec.Text.empty() ? 0 : (drawn - natural) / rec.Text.size();
  if (rec.Font.Color != classic_colour.value || classic_colour.spelled.empty()) {
    classic_colour.spelled.clear();
    units.color(classic_colour.spelled, rec.Font.Color);
    classic_colour.value = rec.Font.Color;
  }
  const std::string& colour = classic_colour.spelled;

  content += "BT\r";
  content += colour;
  content += " rg\r/F";
  AppendInt(content, index);
  content += ' ';
  AppendInt(content, size);
  content += " Tf\r";
  AppendFixed4(content, spacing);
  content += " Tc\r";
  if (rec.TextScale != 100) {  // a scale of 0 or less from a damaged record would be singular
    AppendFixed4(content, std::max(rec.TextScale, 1.0) / 100);
    content += " 0 0 1 ";
    units.pair(content, x, y - h + 3);
    content += " Tm (";
  } else {
    units.pair(content, x, y - h + 3);
    content += " Td (";
  }
  AppendPdfString(content, rec.Text);
  content += ") Tj\rET";

  auto rule = [&](int width, double yl) {
    content += '\r';
    content += colour;
    content += " RG\r";
    AppendInt(content, width);
    content += " w ";
    units.pair(content, x, yl);
    content += " m\r";
    units.pair(content, x + drawn, yl);
    content += " l\rS";
  };
  if (rec.Font.Style & kFsUnderline)
    rule(metrics.UnderlineSize, y - (metrics.UnderlinePosition + 0.9 * rec.TextHeight) + 2);
  if (rec.Font.Style & kFsStrikeOut)
    rule(metrics.StrikeOutSize, y - (h / 2 + metrics.StrikeOutPosition) + 2);
  content += '\n';
}

void TOxvtPDFExport::FormatPortableTexts(std::string& content, const PdfPageJob& job) const {
  const std::vector<PdfGlyph>& glyphs = job.portable_texts.glyphs;
  const PageUnits units{true, double(job.page_height_px)};
  // Text state lasts from one text object to the next; it is set only when it changes.
  int64_t colour = -1;
  int font = -1, em = -1;
  double scale = 100, spacing = 0;
  bool bold = false;

  for (const PdfTextLine& line : job.portable_texts.lines) {
    const uint32_t rgb = Color(static_cast<uint32_t>(line.color)).resolved().value_or(0);
    if (colour != rgb) {
      colour = rgb;
      units.color(content, line.color);
      content += " rg ";
      units.color(content, line.color);
      content += " RG\n";
    }
    const double baseline = units.flip(line.y + line.ascent);
    content += "BT\n";
    const double percent = std::max(line.text_scale, 1.0);
    if (percent != scale) {
      scale = percent;
      AppendNumber(content, scale);
      content += " Tz\n";
    }
    const double th = scale / 100;
    if (line.char_spacing / th != spacing) {
      spacing = line.char_spacing / th;
      AppendNumber(content, spacing);
      content += " Tc\n";
    }

    double pen = 0;
    bool in_array = false, in_string = false, italic = false, placed = false;
    auto close_array = [&] {
      if (in_string) content += ')';
      if (in_array) content += "] TJ\n";
      in_string = in_array = false;
    };
    for (uint32_t k = line.first; k < line.end; ++k) {
      const PdfGlyph& g = glyphs[k];
      const double x = g.x;
      if (g.font != font || g.em != em) {
        close_array();
        font = g.font;
        em = g.em;
        content += "/F";
        AppendInt(content, font);
        content += ' ';
        AppendInt(content, em);
        content += " Tf\n";
      }
      if (g.synthetic_bold != bold) {
        close_array();
        bold = g.synthetic_bold;
        if (bold) {
          // Emboldened as the renderer does: the outline grown by a 24th of the em.
          AppendNumber(content, em / 24.0);
          content += " w 2 Tr\n";
        } else {
          content += "0 Tr\n";
        }
      }
      if (!placed || g.synthetic_italic != italic) {
        close_array();
        italic = g.synthetic_italic;
        content += italic ? "1 0 " : "1 0 0 1 ";
        if (italic) {
          AppendNumber(content, kObliqueSlant);
          content += " 1 ";
        }
        units.pair(content, x, baseline);
        content += " Tm\n";
        pen = x;
        placed = true;
      }
      if (!in_array) {
        content += '[';
        in_array = true;
      }
      // Moves the pen to where the layout put the character, in thousandths of the em
      // (tenths of them are far below a hundredth of a point), once the widths' rounding has
      // added up to a few thousandths of a pixel.
      const double step = em * th / 1000;
      const double adjust =
          std::fabs(pen - x) < 0.004 ? 0 : std::llround((pen - x) / step * 10) / 10.0;
      if (adjust != 0) {
        if (in_string) content += ')';
        in_string = false;
        AppendNumber(content, adjust);
        pen -= adjust * step;
      }
      if (!in_string) {
        content += '(';
        in_string = true;
      }
      append_glyph(content, g.gid);
      pen += (written_width(g.advance, em) / 1000 * em + spacing) * th;
    }
    close_array();
    content += "ET\n";

    // Rules over the whole line, where the renderer draws them.
    const PdfGlyph& tail = glyphs[line.end - 1];
    const double left = glyphs[line.first].x;
    const double right = tail.x + tail.advance * th + line.char_spacing;
    auto rule = [&](int top_above_baseline, int size) {
      units.pair(content, left, baseline + top_above_baseline - size);
      content += ' ';
      units.pair(content, right - left, size);
      content += " re f\n";
    };
    if (line.style & kFsUnderline) rule(line.underline_position, line.underline_size);
    if (line.style & kFsStrikeOut) rule(line.strikeout_position, line.strikeout_size);
  }
}

}  // namespace zr

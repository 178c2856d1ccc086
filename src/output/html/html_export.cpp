#include "output/html/html_export.h"

#include <filesystem>
#include <ostream>

#include "engine/locale/locale_strings.h"
#include "engine/model/view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/document/export_routines.h"
#include "output/html/html_export_dialog.h"
#include "output/html/html_navigator.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
#include "platform/fonts/font_selection.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/graphics/picture.h"
#include "platform/rounding.h"

namespace zr {

namespace {

namespace fs = std::filesystem;

// The JPEG quality of pictures asked for as GIF, which are written as JPEG.
constexpr int kDefaultJpegQuality = 75;

std::string px(double value) {
  return std::to_string(round_half_even(value)) + "px";
}

std::string trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string replace_char(std::string text, char from, char to) {
  for (char& c : text)
    if (c == from) c = to;
  return text;
}

std::string folder_of(const std::string& file) {
  const std::string folder = fs::path(file).parent_path().string();
  return folder.empty() ? std::string() : IncludeTrailingSeparator(folder);
}

std::string meta(const std::string& name, const std::string& value) {
  return "<META NAME=\"" + name + "\" CONTENT=\"" + value + "\">\n";
}

void write(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

std::string HtmlCharsetName(int code_page) {
  static const struct {
    int code_page;
    const char* name;
  } kNames[] = {{874, "ISO-8859-11"}, {932, "Windows-932"}, {936, "gb2312-80"},
                {949, "Windows-949"}, {950, "csbig5"},      {1200, "ISO-10646"},
                {1250, "ISO-8859-2"}, {1251, "ISO-8859-5"}, {1252, "ISO-8859-1"},
                {1253, "ISO-8859-7"}, {1254, "ISO-8859-9"}, {1255, "ISO-8859-8"},
                {1256, "ISO-8859-6"}, {1257, "ISO-8859-13"}};
  for (const auto& entry : kNames)
    if (entry.code_page == code_page) return entry.name;
  return {};
}

std::string HtmlText(const std::string& text) {
  if (text.starts_with("\x01\x01\x01")) return text.substr(3);
  // Markup characters of a report text must show as themselves, not open tags.
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case ' ':
        out += "&nbsp;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

TOxvtHTMLExport::TOxvtHTMLExport() {
  WholeLines = true;
  RegisterFilter(LoadStr(kStrHtmlDescription), "*." + LoadStr(kStrHtmlExtension));
  LinkTextFirst = LoadStr(kStrLinkTextFirst);
  LinkTextPrev = LoadStr(kStrLinkTextFirst + 1);
  LinkTextNext = LoadStr(kStrLinkTextFirst + 2);
  LinkTextLast = LoadStr(kStrLinkTextFirst + 3);
}

int TOxvtHTMLExport::ShowModal() {
  if (!ShowDialog) return 1;
  TOxvtHTMLExportDialog dialog(*this);
  return ShowOptionsDialog(dialog);
}

std::vector<std::string> TOxvtHTMLExport::PictureFiles() const {
  std::vector<std::string> files;
  for (const PictureFile& picture : pictures_) files.push_back(picture.path);
  return files;
}

bool TOxvtHTMLExport::WithNavigator() const {
  return SeparateFilePerPage && ShowNavigator && page_total_ > 1;
}

void TOxvtHTMLExport::OnBeginDoc() {
  TOxvtExportFilter::OnBeginDoc();
  TvtReport* report = TvtGlobals::Get().CurReport;
  page_total_ = report ? report->EMFPages.Count() : 0;
  pictures_.clear();
  alt_text_.clear();
  // Pages after the first get files of their own only when they are written to them: a
  // single file must not offer page files that never exist (mail would attach them).
  page_files_ = {FileName};
  const std::string folder = folder_of(FileName);
  if (SeparateFilePerPage)
    for (int k = 2; k <= page_total_; ++k)
      page_files_.push_back(folder + PageFileName(FileName, k, LoadStr(kStrHtmlExtension)));

  const std::string image_dir = replace_char(trim(ImageDir), '\\', '/');
  picture_folder_ = folder;
  picture_prefix_.clear();
  if (!image_dir.empty()) {
    const fs::path on_disk = fs::path(folder.empty() ? "." : folder) / image_dir;
    std::error_code error;
    fs::create_directories(on_disk, error);
    if (error) throw IoError("Cannot create folder \"" + on_disk.string() + "\"");
    picture_folder_ = IncludeTrailingSeparator(on_disk.string());
    picture_prefix_ = IncludeTrailingSeparator(image_dir);
  }
  MeasureNavigator();
}

void TOxvtHTMLExport::MeasureNavigator() {
  if (UseTextLinks) {
    TOxvtFontInfo font;
    font.Name = LinkFont.Name;
    font.Size = LinkFont.Size;
    font.Style = LinkFont.Style;
    const Size extent = DocumentTextExtent(LinkTextFirst + " ", font);
    navigator_width_ = extent.width * 4.0;
    navigator_height_ = extent.height;
  } else {
    const Picture picture = Picture::from_file(LinkImgSRCFirst);
    navigator_width_ = picture.width() * 6.0;
    navigator_height_ = picture.height() * 1.5;
  }
}

std::ostream& TOxvtHTMLExport::PageStream(int index) {
  if (index > 0 && SeparateFilePerPage) {
    const std::string& name = page_files_.at(static_cast<size_t>(index));
    page_file_.close();
    page_file_.clear();
    page_file_.open(name, std::ios::binary | std::ios::trunc);
    if (!page_file_) throw IoError("Cannot create file \"" + name + "\"");
    return page_file_;
  }
  if (!Stream) throw ZorelError("no output file is open");
  return *Stream;
}

void TOxvtHTMLExport::OnEndPage() {
  const int index = PageCount();
  std::ostream& out = PageStream(index);
  std::string html;
  if (index == 0 || SeparateFilePerPage) html += Header();
  const double offset = SeparateFilePerPage
                            ? 0.0
                            : static_cast<double>(round_half_even(FirstPageHeight() + 2)) * index;
  for (const TOxvtDataRec& rec : DataRecords()) html += ObjectDiv(rec, offset);
  for (const TOxvtTextRec& rec : TextRecords()) html += TextDiv(rec, offset);
  html += Footer(index);
  write(out, html);
  out.flush();
  if (!out) throw IoError("Cannot write file \"" + page_files_.front() + "\"");
  if (index > 0 && SeparateFilePerPage) {
    page_file_.close();
    if (!page_file_)
      throw IoError("Cannot write file \"" + page_files_[static_cast<size_t>(index)] + "\"");
  }
  TOxvtExportFilter::OnEndPage();
}

void TOxvtHTMLExport::OnEndDoc() {
  page_file_.close();
  TOxvtExportFilter::OnEndDoc();
}

std::string TOxvtHTMLExport::Header() const {
  TvtReport* report = TvtGlobals::Get().CurReport;
  const std::string title = Title.empty() && report ? report->Title : Title;
  const int code_page = TvtGlobals::Get().fonts->code_page();
  std::string h =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 transitional//EN\">\n<HTML> <HEAD>\n<TITLE>" +
      HtmlText(title) + "</TITLE>" + "\n";
  h += "<META HTTP-EQUIV=\"Content-Style-Type\" CONTENT=\"text/css\" CHARSET=\"" +
       HtmlCharsetName(code_page) + "\">" + "\n";
  h += meta("Keywords", Keywords) + meta("Author", Author) + meta("Creator", Creator);
  if (!Subject.empty()) h += meta("Subject", Subject);
  h += meta("Producer", ExportProducer());
  if (WithNavigator()) {
    const std::string font = std::to_string(LinkFont.Size) + "pt " + LinkFont.Name;
    const std::string color = ColorToHex(LinkFont.Color);
    h += "<STYLE>\n<!--\n";
    h += "  A:link {font: " + font + "; text-decoration: none; color: " + color +
         "; background-color: " + ColorToHex(LinkBackColor) + "}" + "\n";
    h += "  A:visited {font: " + font + "; text-decoration: none; color: " + color +
         "; background-color: " + ColorToHex(LinkBackColor) + "}" + "\n";
    h += "  A:hover {font: " + font +
         "; text-decoration: none; color: " + ColorToHex(LinkHoverForeColor) +
         "; background-color: " + ColorToHex(LinkHoverBackColor) + "}" + "\n";
    h += "SPAN {position: absolute; visibility: hidden}\n-->\n</STYLE>";
  }
  const bool script = WithNavigator() && NavigatorType == ntFixedToScreen;
  if (script)
    h += "\n<SCRIPT LANGUAGE=\"JavaScript\">\n<!--\n" +
         NavigatorScript(static_cast<long>(round_half_even(navigator_width_)),
                         static_cast<long>(round_half_even(navigator_height_))) +
         "\n-->\n</SCRIPT>";
  h += "</HEAD>\n<BODY BGCOLOR = \"#FFFFFF\"";
  if (script) h += " onLoad=\"initNavigator()\"";
  h += ">\n";
  return h;
}

std::string TOxvtHTMLExport::ObjectDiv(const TOxvtDataRec& rec, double offset) {
  const bool memo = rec.ClassName == "TvtMemoView";
  const bool line = rec.ClassName == "TvtLineView";
  std::string picture;
  if (ExportImages && rec.Image && (!memo || rec.RotatedText) && !line) picture = PictureTag(rec);
  std::string background;
  if (ExportFrames && rec.FillColor != kClNone)
    background = "; background-color: #" + ColorToHex(rec.FillColor);
  std::string borders;
  if (ExportFrames && (memo || line) && rec.FrameTyp != 0) {
    const std::string b =
        std::to_string(round_half_even(rec.FrameWidth)) + "px solid #" + ColorToHex(rec.FrameColor);
    if (rec.FrameTyp & 8) borders += "; border-top: " + b;
    if (rec.FrameTyp & 1) borders += "; border-right: " + b;
    if (rec.FrameTyp & 2) borders += "; border-bottom: " + b;
    if (rec.FrameTyp & 4) borders += "; border-Left: " + b;
  }
  if (background.empty() && borders.empty() && picture.empty()) return {};
  return "<DIV STYLE=\"font: 0pt" + background +
         "; position: absolute; top: " + px(rec.Y + offset) + "; left: " + px(rec.X) +
         "; width: " + px(rec.Width) + "; height: " + px(rec.Height) + borders + ";\">" + picture +
         "</DIV>\n";
}

std::string TOxvtHTMLExport::PictureTag(const TOxvtDataRec& rec) {
  bool unique = true;
  int reuse = -1;
  std::string alt_text = alt_text_;
  if (BeforeSaveGraphic) BeforeSaveGraphic(*this, rec.Name, unique, reuse, alt_text);
  const int count = static_cast<int>(pictures_.size());
  int k = -1;
  if (!unique && reuse == -1) {
    for (int j = 0; j < count && k < 0; ++j)
      if (pictures_[static_cast<size_t>(j)].name_number == rec.NameNumber) k = j;
  } else if (!unique && reuse >= 0 && reuse < count) {
    k = reuse;
  }
  if (k < 0) {
    k = count;
    const std::string name = WritePicture(*rec.Image);
    pictures_.push_back({picture_folder_ + name, rec.NameNumber});
    alt_text_ = name;
  }
  const std::string path =
      picture_prefix_ + fs::path(pictures_[static_cast<size_t>(k)].path).filename().string();
  if (AfterSaveGraphic) AfterSaveGraphic(*this, rec.Name, k);
  return "<IMG SRC=\"" + path + "\" ALT=\"" + alt_text + "\">";
}

std::string TOxvtHTMLExport::WritePicture(const Bitmap& image) {
  const int number = static_cast<int>(pictures_.size()) + 1;
  std::string bytes;
  std::string extension;
  switch (ExportImageFormat()) {
    case ifBMP:
      bytes = encode_bmp(image);
      extension = "bmp";
      break;
    case ifJPG:
      bytes = BitmapToJpeg(image, JPEGQuality);
      extension = "jpg";
      break;
    default:  // GIF is asked for, JPEG is written
      bytes = BitmapToJpeg(image, kDefaultJpegQuality);
      extension = "jpg";
      break;
  }
  const std::string name = PictureFileName(FileName, number, extension);
  const std::string path = picture_folder_ + name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw IoError("Cannot create file \"" + path + "\"");
  write(file, bytes);
  file.close();
  if (!file) throw IoError("Cannot write file \"" + path + "\"");
  return name;
}

std::string TOxvtHTMLExport::TextDiv(const TOxvtTextRec& rec, double offset) const {
  std::string font;
  if (rec.Font.Style & kFsItalic) font += " italic";
  if (rec.Font.Style & kFsBold) font += " bold";
  std::string decoration;
  if (rec.Font.Style & (kFsUnderline | kFsStrikeOut)) {
    decoration = "; text-decoration:";
    if (rec.Font.Style & kFsUnderline) decoration += " underline";
    if (rec.Font.Style & kFsStrikeOut) decoration += " line-through";
  }
  return "<DIV STYLE=\"position: absolute; top: " + px(rec.Y + offset) + "; left: " + px(rec.X) +
         "; width: " + px(rec.TextWidth * 2.5) + "; font:" + font + " " +
         std::to_string(rec.Font.Size) + "pt " + rec.Font.Name + decoration + "; color: #" +
         ColorToHex(rec.Font.Color) + "\">" + HtmlText(rec.Text) + "</DIV>\n";
}

std::string TOxvtHTMLExport::Footer(int index) const {
  std::string f;
  const double height = FirstPageHeight();
  const double width = FirstPageWidth();
  if (!SeparateFilePerPage && PageEndLines)
    f += "<DIV STYLE=\"position: absolute; top: " + px((index + 1) * height) +
         "\"><HR SIZE= 2 WIDTH= " + std::to_string(round_half_even(width - 10)) +
         " NOSHADE></DIV>\n";
  if (WithNavigator()) {
    std::vector<std::string> names;
    for (const std::string& file : page_files_) names.push_back(fs::path(file).filename().string());
    const NavigatorLink links[4] = {
        {LoadStr(kStrLinkTitleFirst), LinkTextFirst, LinkImgSRCFirst},
        {LoadStr(kStrLinkTitleFirst + 1), LinkTextPrev, LinkImgSRCPrev},
        {LoadStr(kStrLinkTitleFirst + 2), LinkTextNext, LinkImgSRCNext},
        {LoadStr(kStrLinkTitleFirst + 3), LinkTextLast, LinkImgSRCLast}};
    const std::string l = NavigatorLinks(names, index, links, UseTextLinks);
    const std::string font = std::to_string(LinkFont.Size) + "pt " + LinkFont.Name;
    if (NavigatorType == ntFixedToPage) {
      f += "<DIV STYLE=\"position: absolute; top: " + px(height - navigator_height_) +
           "; left: " + px(width - navigator_width_) + "; font: " + font + "; color: #" +
           ColorToHex(LinkFont.Color) + "\">" + l + "</DIV>\n";
    } else {
      f += "<SPAN ID=\"OxNavigator\">\n<DIV STYLE=\"position: absolute; font: " + font +
           "; color: #" + ColorToHex(LinkFont.Color) + "\">" + l + "</DIV>\n</SPAN>";
    }
  }
  if (SeparateFilePerPage || index == page_total_ - 1) f += "</BODY>\n</HTML>\n";
  return f;
}

}  // namespace zr

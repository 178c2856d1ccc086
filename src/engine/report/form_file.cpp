// The report form file (.zrf): TvtReport::LoadFromStream and SaveToStream.
//
//   header  byte V, HeaderText1, HeaderText2, block tag "1.2"/"1.2.1", Relations (after a
//           tag), InterleavePages (after "1.2.1"); files below version 21 have no header
//   body    PrintToDefault, TwoPass, printer name, then records by marker byte:
//           255 page, 254 dictionary, 253 end, 0-10 object (type, class name for add-ins,
//           page index, end position from version 24, the view's record)
#include <exception>
#include <limits>
#include <optional>

#include "engine/locale/locale_strings.h"
#include "engine/model/view_factory.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/text_lines.h"
#include "platform/ui_services.h"

namespace zr {

namespace {

constexpr int kOldestVersion = 21;
constexpr uint8_t kMarkerPage = 255;
constexpr uint8_t kMarkerDictionary = 254;
constexpr uint8_t kMarkerExtension = 253;
constexpr uint16_t kTrue16 = 0xFFFF;
constexpr int kMaxObjectPages = 256;
constexpr char kTag12[] = "1.2";
constexpr char kTag121[] = "1.2.1";
// The one-byte printer name that stands for the virtual printer.
constexpr char kVirtualPrinterMark[] = "\x01";
constexpr char kUnsupported[] = "Unsupported VTF format";
constexpr char kErrorCaption[] = "Error";

// Raised when the records are read but add-in classes were missing; the caller shows the list.
class MissingClasses : public std::exception {
 public:
  const char* what() const noexcept override { return "missing add-in classes"; }
};

void show_error(const std::string& text) {
  TvtGlobals::Get().ui.show_message(text, kErrorCaption, MB_OK | MB_ICONERROR);
}

// Why the body did not read, without the stream's name (the caller names the form itself).
std::string damage_of(const std::exception& error) {
  std::string text = error.what();
  if (const auto* format = dynamic_cast<const FormatError*>(&error)) {
    if (!format->where().empty() && text.starts_with(format->where() + ": "))
      text.erase(0, format->where().size() + 2);
    if (format->offset() && text.starts_with("offset "))
      return "damaged at " + text;  // "damaged at offset 96: unexpected end of data ..."
  }
  return "damaged: " + text;
}

std::string join_crlf(const TvtStrings& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}

// The name of the current printer; the virtual one as its one-byte mark.
std::string printer_name_for_form(const TvtPrinter& printer) {
  if (printer.is_virtual()) return kVirtualPrinterMark;
  return printer.printer_name();
}

void select_printer_named(const std::string& name) {
  TvtPrinter& printer = TvtGlobals::Get().printer;
  if (int index = printer.IndexOfPrinter(name); index >= 0) printer.SetPrinterIndex(index);
}

// Old class names of objects that were renamed or folded into others.
struct LegacyClass {
  std::string class_name;
  bool framed_memo = false;  // a memo whose record is followed by 8 bytes of its own
};

LegacyClass map_legacy_class(const std::string& class_name) {
  const std::string upper = upper_ascii(class_name);
  if (upper == "TVTBDELOOKUPCONTROL" || upper == "TVTIBXLOOKUPCONTROL")
    return {"TvtDBLookupControl", false};
  if (upper == "TVTFRAMEDMEMOVIEW") return {"TvtMemoView", true};
  return {class_name, false};
}

class FormReader {
 public:
  FormReader(TvtReport& report, ByteReader& stream) : report_(report), in_(stream) {}

  // Returns false when the version is too new (nothing read after it).
  bool ReadHeader() {
    int version = in_.read_u8();
    if (version > kCurrentStreamVersion) return false;
    if (version < kOldestVersion) {
      version = kOldestVersion;
      in_.seek(0);
      in_.set_version(version);
      return true;
    }
    in_.set_version(version);
    report_.HeaderText1 = in_.read_string_v23();
    report_.HeaderText2 = in_.read_string_v23();
    const size_t body = in_.position();
    std::string tag;
    try {
      tag = in_.read_string_v23();
    } catch (const FormatError&) {
      // Too short for a tag: the body follows at once.
    }
    if (tag != kTag12 && tag != kTag121) {
      in_.seek(body);
      return true;
    }
    report_.Relations = split_lines(in_.read_string_v23());
    if (tag == kTag121) report_.InterleavePages = in_.read_u16() != 0;
    return true;
  }

  void ReadBody() {
    TvtGlobals& g = TvtGlobals::Get();
    report_.ClearReport();
    report_.PrintToDefault = in_.read_u16() != 0;
    report_.TwoPass = in_.read_u16() != 0;
    std::string printer = in_.read_string();
    if (printer == kVirtualPrinterMark) printer = LoadStr(kStrVirtualPrinter);
    if (!report_.PrintToDefault) select_printer_named(printer);
    report_.PrinterName = printer;

    while (!in_.at_end()) {
      const size_t record_start = in_.position();
      const uint8_t marker = in_.read_u8();
      if (marker == kMarkerPage) {
        ReadPage();
      } else if (marker == kMarkerDictionary) {
        report_.Dictionary.LoadFromStream(in_);
      } else if (marker == kMarkerExtension) {
        break;
      } else if (marker <= kObjAddIn) {
        ReadObject(marker, record_start);
      } else {
        in_.fail("unknown record marker " + std::to_string(marker));
      }
    }
    if (g.missing_classes) throw MissingClasses();
    for (const auto& page : report_.Pages.pages())
      for (const auto& view : page->Objects) view->AfterLoad();
  }

 private:
  void ReadPage() {
    TvtPage& page = report_.Pages.Add();
    page.LoadFromStream(in_, in_.version());
    if (in_.version() < kCurrentStreamVersion) page.Name = report_.Pages.FreePageName();
  }

  void ReadObject(uint8_t type, size_t record_start) {
    const LegacyClass legacy =
        type == kObjAddIn ? map_legacy_class(in_.read_string()) : LegacyClass{};
    const uint8_t page_index = in_.read_u8();
    const int version = in_.version();
    const bool has_end = version > 23;
    auto check_page = [&] {
      if (page_index >= report_.Pages.Count())
        in_.fail("object for page " + std::to_string(page_index) + " which is not loaded");
    };
    // Without an end position there is no way past the record: the form fails as a whole.
    if (!has_end) check_page();
    std::optional<size_t> end;
    try {
      // With one, a record for a page that is not there is skipped like any other that fails.
      check_page();
      TvtPage& page = report_.Pages.Items(page_index);
      std::unique_ptr<TvtView> view =
          legacy.framed_memo ? CreateView(kObjMemo) : CreateView(type, legacy.class_name);
      if (has_end) end = in_.read_u32();
      if (!view) in_.fail("no object has type " + std::to_string(type));
      view->PreparedMode = false;
      view->LoadFromStream(in_);
      in_.set_version(version);  // a record may read parts of its own in another version
      if (legacy.framed_memo) in_.skip(8);
      page.Add(std::move(view));
    } catch (const std::exception&) {
      in_.set_version(version);
      if (!has_end) return;  // older files go on where the failure left them
      if (!end) end = in_.read_u32();
      // An end position that does not move past the record would read it again forever.
      if (*end <= record_start) in_.fail("object record ends before it starts");
      in_.seek(*end);
    }
  }

  TvtReport& report_;
  ByteReader& in_;
};

void write_object(ByteWriter& out, TvtView& view, int page_index) {
  out.write_u8(view.ObjectType);
  if (view.ObjectType == kObjAddIn) out.write_string(view.ClassName());
  out.write_u8(static_cast<uint8_t>(page_index));
  const size_t end_at = out.position();
  out.write_u32(0);
  const bool prepared = view.PreparedMode;
  view.PreparedMode = false;
  view.SaveToStream(out);
  view.PreparedMode = prepared;
  out.set_version(kCurrentStreamVersion);  // records may switch it while they write
  if (out.position() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw ZorelError("The report form is larger than 2 GiB");
  out.patch_u32(end_at, static_cast<uint32_t>(out.position()));
}

}  // namespace

TvtReport::FormLoadResult TvtReport::LoadFromStream(ByteReader& stream) {
  TvtGlobals& g = TvtGlobals::Get();
  g.mode = EngineMode::Design;
  g.CurReport = this;
  Dictionary.Clear();
  if (stream.remaining() == 0) return {false, "empty"};

  FormReader reader(*this, stream);
  try {
    if (!reader.ReadHeader()) {
      show_error(kUnsupported);
      return {false, "unsupported format"};
    }
    g.missing_classes = false;
    g.missing_classes_message.clear();
    reader.ReadBody();
  } catch (const MissingClasses&) {
    show_error("Report contains the following non-plugged components:\r" +
               g.missing_classes_message + "You must include these components into your project.");
  } catch (const std::exception& e) {
    show_error(kUnsupported);
    Pages.Clear();
    Pages.Add();
    return {false, damage_of(e)};
  }
  return {};
}

void TvtReport::SaveToStream(ByteWriter& stream) {
  TvtGlobals& g = TvtGlobals::Get();
  g.CurReport = this;
  stream.set_version(kCurrentStreamVersion);
  // An object names its page in one byte.
  for (int i = kMaxObjectPages; i < Pages.Count(); ++i)
    if (!Pages.Items(i).Objects.empty())
      throw ZorelError("Objects on page " + std::to_string(i + 1) +
                       " cannot be saved: a form keeps objects on its first 256 pages only");

  stream.write_u8(kCurrentStreamVersion);
  stream.write_string_v23(HeaderText1);
  stream.write_string_v23(HeaderText2);
  stream.write_string_v23(kTag121);
  std::string relations = join_crlf(Relations);
  if (relations.empty()) {
    // Readers of old forms could not take an empty text here.
    relations = " ";
    Relations = {relations};
  }
  stream.write_string_v23(relations);
  stream.write_u16(InterleavePages ? kTrue16 : 0);

  stream.write_u16(PrintToDefault ? kTrue16 : 0);
  stream.write_u16(TwoPass ? kTrue16 : 0);
  stream.write_string(printer_name_for_form(g.printer));
  for (const auto& page : Pages.pages()) {
    stream.write_u8(kMarkerPage);
    page->SaveToStream(stream);
  }
  for (int i = 0; i < Pages.Count(); ++i)
    for (const auto& view : Pages.Items(i).Objects) write_object(stream, *view, i);
  stream.write_u8(kMarkerDictionary);
  Dictionary.SaveToStream(stream);
}

}  // namespace zr

#include "engine/model/picture_view.h"

#include <filesystem>

#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/graphics/picture_record.h"
#include "platform/metafile/metafile_reader.h"
#include "platform/net/http_client.h"
#include "platform/rounding.h"
#include "platform/text_lines.h"

namespace zr {

namespace {

// Data-aware graphic fields may carry an 8-byte header before the graphic: count 1, type
// 0x0100, then the size of what follows.
std::string strip_graphic_header(std::string bytes) {
  if (bytes.size() < 8) return bytes;
  const auto b = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const uint32_t size = b(4) | (b(5) << 8) | (b(6) << 16) | (uint32_t{b(7)} << 24);
  if (b(0) == 1 && b(1) == 0 && b(2) == 0 && b(3) == 1 && size == bytes.size() - 8)
    bytes.erase(0, 8);
  return bytes;
}

// The graphic `blob_type` asks for; an empty picture for an unknown type or no bytes.
// Raises FormatError for bytes that are not of that kind.
Picture decode_as_blob_type(uint8_t blob_type, std::string bytes) {
  const std::optional<GraphicKind> kind = graphic_kind_from_blob_type(blob_type);
  if (!kind || bytes.empty()) return {};
  return Picture::from_bytes(*kind, std::move(bytes));
}

// Printers get the picture as a 24-bit device-independent bitmap: transparency is flattened
// onto white.
Bitmap opaque_copy(const Bitmap& source) {
  Bitmap copy(source.width(), source.height());
  for (int y = 0; y < source.height(); ++y) {
    const Argb* from = source.row(y);
    Argb* to = copy.row(y);
    for (int x = 0; x < source.width(); ++x) to[x] = argb_from_color(color_over_white(from[x]));
  }
  return copy;
}

}  // namespace

TvtPictureView::TvtPictureView() {
  NamePrefix = "Picture";
  ObjectType = kObjPicture;
  Flags = kFlagStretched | kPictureKeepAspect;
  if (TvtGlobals* g = TvtGlobals::Find()) {
    g->ConstantList.SetVariable("btBMP", Value(int32_t{btBMP}));
    g->ConstantList.SetVariable("btJPG", Value(int32_t{btJPG}));
    g->ConstantList.SetVariable("btICO", Value(int32_t{btICO}));
    g->ConstantList.SetVariable("btWMF", Value(int32_t{btWMF}));
  }
}

void TvtPictureView::RegisterProperties() {
  TvtView::RegisterProperties();
  for (const char* name : {"Picture", "Stretched", "Center", "KeepAspect", "DataField", "Url"})
    AddProperty(name);
  AddProperty("BlobType", "btBMP;btJPG;btICO;btWMF;btGif", {0, 1, 2, 3, 4});
}

Value TvtPictureView::GetProperty(const std::string& name) {
  const std::string n = upper_ascii(name);
  if (n == "CENTER") return Value(HasFlag(kPictureCenter));
  if (n == "KEEPASPECT") return Value(HasFlag(kPictureKeepAspect));
  if (n == "BLOBTYPE") return Value(int32_t{BlobType});
  if (n == "URL") return Value(Url);
  return TvtView::GetProperty(name);
}

void TvtPictureView::SetProperty(const std::string& name, const Value& value) {
  const std::string n = upper_ascii(name);
  if (n == "CENTER")
    SetFlag(kPictureCenter, value.to_bool());
  else if (n == "KEEPASPECT")
    SetFlag(kPictureKeepAspect, value.to_bool());
  else if (n == "BLOBTYPE")
    BlobType = static_cast<uint8_t>(value.to_int());
  else if (n == "URL")
    Url = value.to_string();
  else
    TvtView::SetProperty(name, value);
}

Value TvtPictureView::CallMethod(const std::string& name, const Value& p1, const Value& p2,
                                 const Value& p3) {
  if (name != "LOADFROMFILE") return TvtView::CallMethod(name, p1, p2, p3);
  LoadFromFile(TvtGlobals::Get().GlobalParser.Evaluate(p1.to_string()).to_string());
  return Value::null();
}

void TvtPictureView::LoadFromBlobField(const std::optional<std::string>& content) {
  Picture.clear();
  if (!content) return;
  try {
    if (BlobType == btBMP) {
      // A bitmap field holds a picture that says what it is by its own header.
      std::string bytes = strip_graphic_header(*content);
      if (!bytes.empty()) Picture = zr::Picture::from_detected_bytes(std::move(bytes));
    } else {
      Picture = decode_as_blob_type(BlobType, *content);
    }
  } catch (const ZorelError&) {
    Picture.clear();
  }
}

void TvtPictureView::LoadFromUrl() {
  const std::string_view url = trim_blanks(Url);
  if (url.empty()) return;
  TvtGlobals& g = TvtGlobals::Get();
  std::string body;
  try {
    const std::string address = ExpandBrackets(std::string(url));
    if (g.http) {
      if (!fetched_ || fetched_->first != address) {
        fetched_.reset();
        std::string fetched;
        try {
          fetched = g.http->Get(address);
        } catch (const ZorelError&) {
          fetched.clear();  // a failed fetch leaves nothing to load
        }
        fetched_.emplace(address, std::move(fetched));
      }
      body = fetched_->second;
    }
  } catch (const ZorelError&) {
    body.clear();  // an address that does not expand
  }
  try {
    Picture = decode_as_blob_type(BlobType, std::move(body));
  } catch (const ZorelError&) {
    Picture.clear();
  }
}

void TvtPictureView::LoadFromFile(const std::string& file_name) {
  Picture.clear();
  if (file_name.empty()) return;
  const std::filesystem::path path(ansi_to_utf8(file_name));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return;
  try {
    Picture = zr::Picture::from_file(path);
  } catch (const ZorelError&) {
    Picture.clear();
  }
}

void TvtPictureView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  PictureRecord record = read_picture_record(stream, RecordVersion, ExtensionVersion);
  Picture = std::move(record.picture);
  if (record.blob_type) BlobType = *record.blob_type;
  Url = std::move(record.url);
}

void TvtPictureView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  write_picture_record(stream, Picture, BlobType, Url);
}

Rect TvtPictureView::PictureTarget() const {
  const Rect& dr = DrawRect;
  const int pw = Picture.width(), ph = Picture.height();
  if (pw <= 0 || ph <= 0) return dr;
  int w, h;
  if (Stretched()) {
    if (!HasFlag(kPictureKeepAspect)) return dr;
    const double fx = static_cast<double>(Width) / pw;
    const double fy = static_cast<double>(Height) / ph;
    if (fx >= fy) {
      w = round_half_even_to_int(pw * fy);
      h = dr.height();
    } else {
      w = dr.width();
      h = round_half_even_to_int(ph * fx);
    }
  } else {
    const ViewScale s = EffectiveScale();
    w = round_half_even_to_int(pw * s.kx);
    h = round_half_even_to_int(ph * s.ky);
  }
  int64_t left = dr.left, top = dr.top;
  if (HasFlag(kPictureCenter)) {
    left += (int64_t{dr.width()} - w) / 2;
    top += (int64_t{dr.height()} - h) / 2;
  }
  return {SaturateInt32(left), SaturateInt32(top), SaturateInt32(left + w), SaturateInt32(top + h)};
}

void TvtPictureView::Draw(Canvas& canvas) {
  ApplyBandAlign(&canvas);
  ScaledGeometry scaled(*this);
  DrawBackground();
  if (Picture.empty() || Picture.width() <= 0 || Picture.height() <= 0) {
    if (!TvtGlobals::Get().run_mode()) {
      // The empty-picture mark: a small crossed box.
      CanvasStateSaver saver(canvas);
      const Rect mark = Rect::from_size(Left + 1, Top + 2, 16, 16);
      canvas.set_pen(Pen{Color::rgb(128, 128, 128), 1, PenStyle::Solid});
      canvas.set_brush(Brush::clear());
      canvas.rectangle(mark);
      canvas.line({mark.left, mark.top}, {mark.right, mark.bottom});
      canvas.line({mark.right - 1, mark.top}, {mark.left - 1, mark.bottom});
    }
  } else {
    try {
      const Rect target = PictureTarget();
      if (Picture.kind() == GraphicKind::Metafile) {
        play_picture(Picture, canvas, target);
      } else if (IsPrinting) {
        canvas.stretch_draw(target, opaque_copy(Picture.bitmap()));
      } else {
        canvas.stretch_draw(target, Picture.bitmap());
      }
    } catch (const ZorelError&) {
      // A graphic whose data does not decode draws nothing, like an empty one.
    }
  }
  DrawFrame();
}

}  // namespace zr

#include "form_json.h"

#include <map>
#include <memory>
#include <optional>

#include "engine/model/band_view.h"
#include "engine/model/cross_view.h"
#include "engine/model/line_view.h"
#include "engine/model/memo_view.h"
#include "engine/model/picture_view.h"
#include "engine/model/subreport_view.h"
#include "engine/model/variables.h"
#include "engine/model/view_factory.h"
#include "engine/report/tvt_globals.h"
#include "objects/barcode_view.h"
#include "objects/chart_view.h"
#include "objects/check_box_view.h"
#include "objects/grid_view.h"
#include "objects/round_rect_view.h"
#include "objects/shape_view.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/table/packet_values.h"

namespace zr::tool {
namespace {

struct ClassEntry {
  const char* name;
  uint8_t type;
};

// The classes with a JSON form: the built-in views and the add-in objects.
constexpr ClassEntry kClasses[] = {
    {"TvtMemoView", kObjMemo},       {"TvtPictureView", kObjPicture},
    {"TvtBandView", kObjBand},       {"TvtSubReportView", kObjSubReport},
    {"TvtLineView", kObjLine},       {"TvtBarCodeView", kObjAddIn},
    {"TvtShapeView", kObjAddIn},     {"TvtCheckBoxView", kObjAddIn},
    {"TvtRoundRectView", kObjAddIn}, {"TGridView", kObjAddIn},
    {"TvtCrossView", kObjAddIn},     {"TvtChartView", kObjAddIn},
};

std::string class_list() {
  std::string out;
  for (const ClassEntry& entry : kClasses)
    out += (out.empty() ? "" : ", ") + std::string(entry.name);
  return out;
}

std::optional<uint8_t> type_of_class(const std::string& name) {
  for (const ClassEntry& entry : kClasses)
    if (name == entry.name) return entry.type;
  return std::nullopt;
}

// Whether `view` is exactly one of the classes (not an add-in derived from one).
bool has_json_form(const TvtView& view) {
  std::optional<uint8_t> type = type_of_class(view.ClassName());
  return type && *type == view.ObjectType;
}

constexpr int kLastBandType = btNone;

Json band_type_to_json(int type) {
  std::string name = type <= kLastBandType ? BandTypeName(type) : std::string();
  if (name.empty()) return type;
  return name;
}

int band_type_from_json(FieldMapper& m, const Json& value) {
  if (value.is_string()) {
    const std::string& name = value.get_ref<const std::string&>();
    for (int type = 0; type <= kLastBandType; ++type)
      if (same_text_ascii(BandTypeName(type), name)) return type;
    m.fail("BandType", "unknown band type \"" + name + "\"");
  }
  if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<int64_t>() > 127)
    m.fail("BandType", "expected a band type name or a number 0..127");
  return value.get<int>();
}

Json picture_to_json(const Picture& picture) {
  if (picture.empty()) return nullptr;
  return Json{{"Kind", graphic_kind_name(picture.kind())},
              {"Data", encode_base64(picture.bytes())}};
}

Picture picture_from_json(FieldMapper& m, const Json& value) {
  if (value.is_null()) return {};
  if (!value.is_object()) m.fail("Picture", "expected null or {\"Kind\": ..., \"Data\": ...}");
  std::optional<GraphicKind> kind;
  std::optional<std::string> data;
  for (const auto& item : value.items()) {
    if (item.key() == "Kind" && item.value().is_string()) {
      for (uint8_t byte = 0; byte <= 4; ++byte) {
        GraphicKind candidate = *graphic_kind_from_byte(byte);
        if (same_text_ascii(graphic_kind_name(candidate), item.value().get<std::string>()))
          kind = candidate;
      }
      if (!kind) m.fail("Picture.Kind", "expected bitmap, JPEG, icon, metafile or GIF");
    } else if (item.key() == "Data" && item.value().is_string()) {
      data = decode_base64(item.value().get<std::string>());
      if (!data) m.fail("Picture.Data", "not valid base64");
    } else {
      m.fail("Picture." + item.key(),
             item.key() == "Kind" || item.key() == "Data" ? "expected a string" : "unknown key");
    }
  }
  if (!kind || !data) m.fail("Picture", "needs both \"Kind\" and \"Data\"");
  try {
    return Picture::from_bytes(*kind, std::move(*data));
  } catch (const FormatError& e) {
    m.fail("Picture.Data",
           std::string("not a valid ") + graphic_kind_name(*kind) + ": " + e.what());
  }
}

// A variable list as [name, value] pairs in list order; values as the text the record holds.
void map_variables(FieldMapper& m, const char* key, TvtVariables& list) {
  m.custom(
      key,
      [&] {
        Json pairs = Json::array();
        for (const TVariable& v : list.Items())
          pairs.push_back(
              Json::array({m.text_to_json(v.name), m.text_to_json(v.value.to_string())}));
        return pairs;
      },
      [&](const Json& pairs) {
        if (!pairs.is_array()) m.fail(key, "expected an array of [name, value] pairs");
        for (size_t i = 0; i < pairs.size(); ++i) {
          std::string where = std::string(key) + "[" + std::to_string(i) + "]";
          const Json& pair = pairs[i];
          if (!pair.is_array() || pair.size() != 2) m.fail(where, "expected [name, value]");
          std::string name = m.text_from_json(pair[0], where + "[0]");
          if (list.IndexOf(name) >= 0)
            m.fail(where, m.text_to_json(name).dump() + " is listed twice (names ignore case)");
          list.SetVariable(name, Value(m.text_from_json(pair[1], where + "[1]")));
        }
      });
}

void map_dictionary(FieldMapper& m, TvtDataDictionary& dictionary) {
  map_variables(m, "VariableList", dictionary.VariableList);
  map_variables(m, "AliasList", dictionary.AliasList);
  map_variables(m, "BandSourceList", dictionary.BandSourceList);
  if (m.has("DisabledDatasetList")) m.fail("DisabledDatasetList", "is not stored in a form file");
}

void map_frame_width(FieldMapper& m, float& width) {
  m.field("FrameWidth", width);
  if (!m.building() || !m.has("FrameWidth")) return;
  // Whole widths of 10 and more, and fractions below 0.01, come back as something else.
  float read_back = DecodeFrameWidth(EncodeFrameWidth(width));
  if (read_back != width)
    m.fail("FrameWidth", float_to_json(width).dump() + " cannot be stored: it reads back as " +
                             float_to_json(read_back).dump());
}

void map_common(FieldMapper& m, TvtView& v) {
  m.text("Name", v.Name);
  m.field("Left", v.Left);
  m.field("Top", v.Top);
  m.field("Width", v.Width);
  m.field("Height", v.Height);
  m.field("Flags", v.Flags);
  if (auto* band = dynamic_cast<TvtBandView*>(&v)) {
    // A band keeps its type where other views keep their frame sides.
    m.custom(
        "BandType", [&] { return band_type_to_json(band->BandType()); },
        [&](const Json& value) { band->SetBandType(band_type_from_json(m, value)); });
  } else {
    m.field("FrameTyp", v.FrameTyp);
  }
  map_frame_width(m, v.FrameWidth);
  m.hex("FrameColor", v.FrameColor);
  m.field("FrameStyle", v.FrameStyle);
  m.hex("FillColor", v.FillColor);
  m.hex("DisplayFormat", v.DisplayFormat);
  m.text("FormatText", v.FormatText);
  m.lines("Memo", v.Memo);
  m.lines("Script", v.Script);
  m.field("Visible", v.Visible);
  m.field("Restrictions", v.Restrictions);
  m.text("Tag", v.Tag);
  m.field("GapX", v.GapX);
  m.field("GapY", v.GapY);
  m.field("BandAlign", v.BandAlign);
  m.text("LinkUrl", v.LinkUrl);
  m.text("DrillData", v.DrillData);
  m.text("DrillFile", v.DrillFile);
}

void map_memo(FieldMapper& m, TvtMemoView& v) {
  m.object("Font", [&](FieldMapper& f) {
    f.text("Name", v.Font.Name);
    f.field("Size", v.Font.Size);
    f.field("Style", v.Font.Style);
    f.hex("Color", v.Font.Color);
    f.field("Charset", v.Font.Charset);
  });
  m.field("Alignment", v.Alignment);
  m.object("Highlight", [&](FieldMapper& h) {
    h.field("FontStyle", v.Highlight.FontStyle);
    h.hex("FontColor", v.Highlight.FontColor);
    h.hex("FillColor", v.Highlight.FillColor);
  });
  m.text("HighlightCondition", v.HighlightCondition);
  m.field("LineSpacing", v.LineSpacing);
  m.field("CharSpacing", v.CharSpacing);
  m.field("CharWidth", v.CharWidth);
}

void map_band(FieldMapper& m, TvtBandView& v) {
  m.text("ChildBand", v.ChildBand);
  m.field("Columns", v.Columns);
  m.field("ColumnWidth", v.ColumnWidth);
  m.field("ColumnGap", v.ColumnGap);
  m.field("NewColumnAfter", v.NewColumnAfter);
  m.text("Master", v.Master);
}

void map_picture(FieldMapper& m, TvtPictureView& v) {
  m.custom(
      "Picture", [&] { return picture_to_json(v.Picture); },
      [&](const Json& value) { v.Picture = picture_from_json(m, value); });
  m.field("BlobType", v.BlobType);
  m.text("Url", v.Url);
}

void map_barcode(FieldMapper& m, TvtBarCodeView& v) {
  m.field("Checksum", v.Checksum);
  m.field("ShowText", v.ShowText);
  m.field("Reserved", v.Reserved);
  m.field("BarType", v.BarType);
  m.field("Modul", v.Modul);
  m.field("Ratio", v.Ratio);
  m.field("Angle", v.Angle);
}

void map_round_rect(FieldMapper& m, TvtRoundRectView& v) {
  m.hex("ShadowColor", v.ShadowColor);
  m.field("ShadowWidth", v.ShadowWidth);
  m.field("FullFrame", v.FullFrame);
  m.field("RoundRect", v.RoundRect);
  m.field("RoundSize", v.RoundSize);
}

void map_chart(FieldMapper& m, TvtChartView& v) {
  m.field("ChartKind", v.ChartKind);
  m.text("Title", v.Title);
  m.text("DataSetName", v.DataSetName);
  m.text("CategoryField", v.CategoryField);
  m.field("ShowLegend", v.ShowLegend);
  m.object("Font", [&](FieldMapper& f) {
    f.text("Name", v.Font.Name);
    f.field("Size", v.Font.Size);
    f.field("Style", v.Font.Style);
    f.field("Charset", v.Font.Charset);
  });
  m.array("Series", v.Series.size(), [&](FieldMapper& s, size_t i) {
    if (s.building()) v.Series.resize(i + 1);
    s.text("Title", v.Series[i].Title);
    s.text("Source", v.Series[i].Source);
    s.hex("Color", v.Series[i].Color);
  });
}

void map_view(FieldMapper& m, TvtView& view) {
  m.custom(
      "Class", [&] { return Json(view.ClassName()); }, [](const Json&) {});
  map_common(m, view);
  if (auto* memo = dynamic_cast<TvtMemoView*>(&view)) map_memo(m, *memo);
  if (auto* band = dynamic_cast<TvtBandView*>(&view)) map_band(m, *band);
  if (auto* picture = dynamic_cast<TvtPictureView*>(&view)) map_picture(m, *picture);
  if (auto* sub = dynamic_cast<TvtSubReportView*>(&view)) m.field("SubPage", sub->SubPage);
  if (auto* bar = dynamic_cast<TvtBarCodeView*>(&view)) map_barcode(m, *bar);
  if (auto* shape = dynamic_cast<TvtShapeView*>(&view)) m.field("ShapeKind", shape->ShapeKind);
  if (auto* check = dynamic_cast<TvtCheckBoxView*>(&view)) {
    m.field("CheckStyle", check->CheckStyle);
    m.hex("CheckColor", check->CheckColor);
  }
  if (auto* box = dynamic_cast<TvtRoundRectView*>(&view)) map_round_rect(m, *box);
  if (auto* grid = dynamic_cast<TGridView*>(&view)) m.text("MetaString", grid->MetaString);
  if (auto* cross = dynamic_cast<TvtCrossView*>(&view)) {
    m.field("InternalFrame", cross->InternalFrame);
    m.field("RepeatCaptions", cross->RepeatCaptions);
    m.field("ShowHeader", cross->ShowHeader);
  }
  if (auto* chart = dynamic_cast<TvtChartView*>(&view)) map_chart(m, *chart);
}

void map_page_fields(FieldMapper& m, TvtPage& p) {
  m.text("Name", p.Name);
  m.field("PageSize", p.PageSize);
  m.field("PageWidth", p.PageWidth);
  m.field("PageHeight", p.PageHeight);
  m.field("LeftMargin", p.LeftMargin);
  m.field("TopMargin", p.TopMargin);
  m.field("RightMargin", p.RightMargin);
  m.field("BottomMargin", p.BottomMargin);
  m.field("Orientation", p.Orientation);
  m.field("Bin", p.Bin);
  m.field("PrintToPrevPage", p.PrintToPrevPage);
  m.field("UseMargins", p.UseMargins);
  m.field("Columns", p.Columns);
  m.field("ColumnGap", p.ColumnGap);
  m.field("PageType", p.PageType);
  m.field("BorderStyle", p.BorderStyle);
  m.text("Caption", p.Caption);
  m.hex("Color", p.Color);
  m.field("DialogLeft", p.DialogLeft);
  m.field("DialogTop", p.DialogTop);
  m.field("DialogWidth", p.DialogWidth);
  m.field("DialogHeight", p.DialogHeight);
  m.field("Position", p.Position);
  m.lines("Script", p.Script);
}

void map_report_settings(FieldMapper& m, TvtReport& r) {
  m.text("HeaderText1", r.HeaderText1);
  m.text("HeaderText2", r.HeaderText2);
  m.lines("Relations", r.Relations);
  m.field("InterleavePages", r.InterleavePages);
  m.field("PrintToDefault", r.PrintToDefault);
  m.field("TwoPass", r.TwoPass);
  m.text("PrinterName", r.PrinterName);
}

// Builds the objects of one page; names are checked for duplicates over the whole form.
class FormBuilder {
 public:
  explicit FormBuilder(TvtReport& report) : report_(report) {}

  void build_page(FieldMapper& m) {
    TvtPage& page = report_.Pages.Add();
    map_page_fields(m, page);
    page.SetPaper(page.PageSize, page.PageWidth, page.PageHeight, page.Orientation, page.Bin);
    m.array("Objects", 0, [&](FieldMapper& o, size_t) { build_object(o, page); });
  }

  // Objects without a name are named once every given name is known, so a generated name
  // never takes one that a later object asks for.
  void name_unnamed() {
    for (TvtView* view : unnamed_) view->CreateUniqueName();
  }

 private:
  void build_object(FieldMapper& m, TvtPage& page) {
    if (!m.has("Class")) m.fail("Class", "missing: every object names its class");
    Json class_value = Json(nullptr);
    m.custom(
        "Class", [] { return Json(); }, [&](const Json& v) { class_value = v; });
    if (!class_value.is_string()) m.fail("Class", "expected a class name");
    std::string class_name = class_value.get<std::string>();
    std::optional<uint8_t> type = type_of_class(class_name);
    if (!type) m.fail("Class", "\"" + class_name + "\" is not one of " + class_list());
    std::unique_ptr<TvtView> created;
    try {
      created = CreateView(*type, class_name);
    } catch (const ClassNotFoundError&) {
      created = nullptr;
    }
    if (!created) m.fail("Class", "the engine cannot create " + class_name);
    TvtView* view = page.Add(std::move(created));
    map_view(m, *view);
    if (view->Name.empty()) {
      unnamed_.push_back(view);
      return;
    }
    // Scripts and expressions find objects by name without regard to case.
    auto [it, inserted] = names_.emplace(name_key(view->Name), m.path());
    if (!inserted)
      m.fail("Name", m.text_to_json(view->Name).dump() + " is already used by " + it->second);
  }

  TvtReport& report_;
  std::map<std::string, std::string> names_;  // name_key -> path of its object
  std::vector<TvtView*> unnamed_;
};

}  // namespace

Json ReportToJson(TvtReport& report, int code_page) {
  Json form = Json::object();
  const std::string source = report.Name;
  FieldMapper m(FieldMapper::Direction::ToJson, form, "", source, code_page);
  map_report_settings(m, report);
  m.array("Pages", report.Pages.pages().size(), [&](FieldMapper& p, size_t index) {
    TvtPage& page = report.Pages.Items(static_cast<int>(index));
    map_page_fields(p, page);
    p.array("Objects", page.Objects.size(), [&](FieldMapper& o, size_t i) {
      TvtView& view = *page.Objects[i];
      if (!has_json_form(view))
        throw ZorelError(o.path() + ": objects of class " + view.ClassName() +
                         " have no JSON form");
      map_view(o, view);
    });
  });
  m.object("Dictionary", [&](FieldMapper& d) { map_dictionary(d, report.Dictionary); });
  return form;
}

void ReportFromJson(const Json& form, TvtReport& report, const std::string& source, int code_page) {
  TvtGlobals& globals = TvtGlobals::Get();
  globals.CurReport = &report;
  // The mapper takes one node type for both directions; building only reads it.
  Json& node = const_cast<Json&>(form);
  FieldMapper m(FieldMapper::Direction::FromJson, node, "", source, code_page);
  map_report_settings(m, report);
  // An empty relation list is stored as one blank line; say so up front rather than have
  // every form read back different from what was built.
  if (report.Relations.empty()) report.Relations.push_back(" ");
  // The file names the printer selected when it is written: the tool's virtual one unless the
  // form names another (ToolEngine::use_printer).
  if (report.PrinterName.empty()) report.PrinterName = globals.printer.printer_name();
  FormBuilder builder(report);
  m.array("Pages", 0, [&](FieldMapper& p, size_t) { builder.build_page(p); });
  builder.name_unnamed();
  m.object("Dictionary", [&](FieldMapper& d) { map_dictionary(d, report.Dictionary); });
  m.finish();
}

}  // namespace zr::tool

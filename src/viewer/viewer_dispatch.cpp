#include "viewer/viewer_dispatch.h"

#include <limits>
#include <string>
#include <type_traits>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace zr {
namespace {

using Args = std::span<const DispValue>;

// Accessors of the control's own properties, bound to its typed members.
template <auto Get>
DispValue viewer_get(TzrViewer& v) {
  return DispValue(Value((v.*Get)()));
}

template <auto Set>
void viewer_put(TzrViewer& v, const DispValue& a) {
  if constexpr (std::is_invocable_v<decltype(Set), TzrViewer&, const std::string&>)
    (v.*Set)(a.value.raw_string());
  else
    (v.*Set)(static_cast<int32_t>(a.value.raw_int()));
}

DispValue get_window(TzrViewer& v) {
  return DispValue(v.Get_Window());
}
void put_window(TzrViewer& v, const DispValue& a) {
  v.Set_Window(a.object);
}

// Accessors of the form-level properties: plain fields of FormProperties.
template <auto Field>
DispValue form_get(TzrViewer& v) {
  return DispValue(Value(v.form_properties().*Field));
}

template <auto Field>
void form_put(TzrViewer& v, const DispValue& a) {
  auto& field = v.form_properties().*Field;
  using FieldType = std::remove_reference_t<decltype(field)>;
  if constexpr (std::is_same_v<FieldType, bool>)
    field = a.value.raw_int() != 0;
  else if constexpr (std::is_same_v<FieldType, std::string>)
    field = a.value.raw_string();
  else
    field = static_cast<FieldType>(a.value.raw_int());
}

DispValue get_font(TzrViewer& v) {
  return DispValue(Value(v.form_properties().Font.Name));
}
void put_font(TzrViewer& v, const DispValue& a) {
  v.form_properties().Font.Name = a.value.raw_string();
}

// Table entry builders.
using F = FormProperties;
using V = TzrViewer;
using T = DispType;

constexpr DispMember property(std::string_view name, int32_t dispid, bool form_level, DispType type,
                              DispGetter get, DispPutter put, int32_t enum_count = 0) {
  return {.name = name,
          .dispid = dispid,
          .kind = MemberKind::Property,
          .form_level = form_level,
          .type = type,
          .enum_count = enum_count,
          .get = get,
          .put = put};
}

template <auto Field>
constexpr DispMember form_rw(std::string_view name, int32_t dispid, DispType type,
                             int32_t enum_count = 0) {
  return property(name, dispid, true, type, form_get<Field>, form_put<Field>, enum_count);
}

template <auto Field>
constexpr DispMember form_ro(std::string_view name, int32_t dispid, DispType type) {
  return property(name, dispid, true, type, form_get<Field>, nullptr);
}

template <auto Get, auto Set>
constexpr DispMember own_rw(std::string_view name, int32_t dispid, DispType type) {
  return property(name, dispid, false, type, viewer_get<Get>, viewer_put<Set>);
}

template <auto Set>
constexpr DispMember own_put(std::string_view name, int32_t dispid, DispType type) {
  return property(name, dispid, false, type, nullptr, viewer_put<Set>);
}

constexpr DispMember method(std::string_view name, int32_t dispid, DispCaller call,
                            std::span<const DispType> params = {}) {
  return {.name = name,
          .dispid = dispid,
          .kind = MemberKind::Method,
          .form_level = false,
          .type = DispType::None,
          .params = params,
          .call = call};
}

int8_t image_type_arg(Args args) {
  return static_cast<int8_t>(args[0].value.raw_int());
}

constexpr DispType kImageParams[] = {DispType::Int8, DispType::String};

// Constant-initialized, so lookups work from any static initializer.
constexpr DispMember kMembers[] = {
    // Form-level members.
    form_rw<&F::Visible>("Visible", 1, T::Bool),
    form_rw<&F::AutoScroll>("AutoScroll", 2, T::Bool),
    form_rw<&F::AutoSize>("AutoSize", 3, T::Bool),
    form_rw<&F::AxBorderStyle>("AxBorderStyle", 4, T::Enum, 4),
    form_rw<&F::Caption>("Caption", -518, T::String),
    form_rw<&F::Color>("Color", -501, T::Color),
    property("Font", -512, true, T::Font, get_font, put_font),
    form_rw<&F::KeyPreview>("KeyPreview", 5, T::Bool),
    form_rw<&F::PixelsPerInch>("PixelsPerInch", 6, T::Int32),
    form_rw<&F::PrintScale>("PrintScale", 7, T::Enum, 3),
    form_rw<&F::Scaled>("Scaled", 8, T::Bool),
    form_ro<&F::Active>("Active", 9, T::Bool),
    form_rw<&F::DropTarget>("DropTarget", 10, T::Bool),
    form_rw<&F::HelpFile>("HelpFile", 11, T::String),
    form_rw<&F::DoubleBuffered>("DoubleBuffered", 12, T::Bool),
    form_ro<&F::AlignDisabled>("AlignDisabled", 13, T::Bool),
    form_ro<&F::VisibleDockClientCount>("VisibleDockClientCount", 14, T::Int32),
    form_rw<&F::Enabled>("Enabled", -514, T::Bool),
    form_rw<&F::Cursor>("Cursor", 15, T::Int16),
    form_rw<&F::HelpType>("HelpType", 16, T::Enum, 2),
    form_rw<&F::HelpKeyword>("HelpKeyword", 17, T::String),

    // The control's own members.
    own_rw<&V::Get_ReportFile, &V::Set_ReportFile>("ReportFile", 0x12, T::String),
    method("PreviewReport", 0x14, [](V& v, Args) { v.PreviewReport(); }),
    method("PrintReport", 0x15, [](V& v, Args) { v.PrintReport(); }),
    own_rw<&V::Get_dataFile, &V::Set_dataFile>("dataFile", 0x17, T::String),
    method(
        "SendEMail", 0x13,
        [](V& v, Args a) { v.SendEMail(image_type_arg(a), a[1].value.raw_string()); },
        kImageParams),
    method(
        "SaveImage", 0x16,
        [](V& v, Args a) { v.SaveImage(image_type_arg(a), a[1].value.raw_string()); },
        kImageParams),
    own_rw<&V::Get_TimeOut, &V::Set_TimeOut>("TimeOut", 0x18, T::Int32),
    own_rw<&V::Get_InHtml, &V::Set_InHtml>("InHtml", 0x19, T::String),
    own_rw<&V::Get_publ, &V::Set_publ>("publ", 0x1a, T::Int32),
    own_rw<&V::Get_Acl, &V::Set_Acl>("Acl", 0x1b, T::Int32),
    own_rw<&V::Get_Progress, &V::Set_Progress>("Progress", 0x1d, T::Int32),
    own_rw<&V::Get_Log, &V::Set_Log>("Log", 0x1e, T::String),
    own_rw<&V::Get_Params, &V::Set_Params>("Params", 0x1c, T::String),
    own_rw<&V::Get_LinkNewWindow, &V::Set_LinkNewWindow>("LinkNewWindow", 0x1f, T::Int32),
    property("Window", 0x20, false, T::Unknown, get_window, put_window),
    method("ClearHistory", 0x21, [](V& v, Args) { v.ClearHistory(); }),
    own_put<&V::Set_ColorHeader>("ColorHeader", 0x22, T::String),
    own_put<&V::Set_ColorHeaderLine>("ColorHeaderLine", 0x23, T::String),
    own_put<&V::Set_History>("History", 0x24, T::Int32),
    own_put<&V::Set_IconFile>("IconFile", 0x25, T::String),
    method("GetFile", 0x26, [](V& v, Args) { v.GetFile(); }),
    own_rw<&V::Get_GridMeta, &V::Set_GridMeta>("GridMeta", 0x28, T::String),
    own_rw<&V::Get_DataMeta, &V::Set_DataMeta>("DataMeta", 0x29, T::String),
    own_rw<&V::Get_ImageFile, &V::Set_ImageFile>("ImageFile", 0x27, T::String),
    own_rw<&V::Get_PdfMode, &V::Set_PdfMode>("PdfMode", 0x2a, T::String),
};

const char* type_name(DispType type) {
  switch (type) {
    case DispType::String:
    case DispType::Font:
      return "a string";
    case DispType::Int32:
      return "a 32-bit integer";
    case DispType::Int16:
      return "a 16-bit integer";
    case DispType::Int8:
      return "an 8-bit integer";
    case DispType::Bool:
      return "a boolean";
    case DispType::Color:
      return "a colour";
    case DispType::Enum:
      return "an enumeration value";
    case DispType::Unknown:
      return "an interface";
    case DispType::None:
      break;
  }
  return "nothing";
}

struct IntRange {
  int64_t low;
  int64_t high;
};

IntRange range_of(DispType type, int32_t enum_count) {
  switch (type) {
    case DispType::Int16:
      return {std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()};
    case DispType::Int8:
      return {std::numeric_limits<int8_t>::min(), std::numeric_limits<int8_t>::max()};
    case DispType::Color:
      return {std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max()};
    case DispType::Enum:
      return {0, enum_count - 1};
    default:
      return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
  }
}

// Converts one incoming argument to `type` (strings to ANSI, numbers range-checked); a
// failure result when it cannot.
std::optional<ComResult> convert_arg(const DispMember& member, size_t index, DispType type,
                                     const DispValue& in, DispValue& out) {
  auto failure = [&](int32_t code, const std::string& why) {
    return com_failure(code, why + ": argument " + std::to_string(index + 1) + " of " +
                                 std::string(member.name) + " must be " + type_name(type));
  };
  if (type == DispType::Unknown) {
    if (!in.object && !in.value.is_empty()) return failure(DISP_E_TYPEMISMATCH, "Type mismatch");
    out.object = in.object;
    return std::nullopt;
  }
  if (in.object || in.value.is_null()) return failure(DISP_E_TYPEMISMATCH, "Type mismatch");
  try {
    switch (type) {
      case DispType::String:
      case DispType::Font:
        out.value = in.value.is_string() ? Value(utf8_to_ansi(in.value.raw_string()))
                                         : Value(in.value.to_string());
        return std::nullopt;
      case DispType::Bool:
        out.value = Value(in.value.to_bool());
        return std::nullopt;
      default:
        break;
    }
    int64_t number = in.value.to_int64();
    IntRange range = range_of(type, member.enum_count);
    if (number < range.low || number > range.high)
      return failure(type == DispType::Enum ? E_INVALIDARG : DISP_E_OVERFLOW, "Out of range");
    out.value = Value(static_cast<int32_t>(static_cast<uint32_t>(number)));
    return std::nullopt;
  } catch (const ZorelError&) {
    return failure(DISP_E_TYPEMISMATCH, "Type mismatch");
  }
}

// A getter's value as it leaves the control.
void export_value(DispType type, const DispValue& in, ComResult& result) {
  switch (type) {
    case DispType::String:
    case DispType::Font:
      result.value = Value(ansi_to_utf8(in.value.raw_string()));
      break;
    case DispType::Int16:
      result.value = Value::small_int(static_cast<int16_t>(in.value.raw_int()));
      break;
    case DispType::Color:
      result.value = Value(static_cast<int64_t>(static_cast<uint32_t>(in.value.raw_int())));
      break;
    case DispType::Unknown:
      result.object = in.object;
      break;
    default:
      result.value = in.value;
  }
}

std::optional<ComResult> check_kind(const DispMember& member, DispKind kind) {
  std::string name(member.name);
  if (member.kind == MemberKind::Method) {
    if (kind != DispKind::Call)
      return com_failure(DISP_E_MEMBERNOTFOUND, name + " is a method, not a property");
    return std::nullopt;
  }
  if (kind == DispKind::Call)
    return com_failure(DISP_E_MEMBERNOTFOUND, name + " is a property, not a method");
  if (kind == DispKind::Get && !member.can_get())
    return com_failure(DISP_E_MEMBERNOTFOUND, "Property " + name + " cannot be read");
  if (kind == DispKind::Put && !member.can_put())
    return com_failure(DISP_E_MEMBERNOTFOUND, "Property " + name + " is read-only");
  return std::nullopt;
}

std::vector<DispType> param_types(const DispMember& member, DispKind kind) {
  switch (kind) {
    case DispKind::Get:
      return {};
    case DispKind::Put:
      return {member.type};
    case DispKind::Call:
      break;
  }
  return {member.params.begin(), member.params.end()};
}

}  // namespace

std::span<const DispMember> viewer_members() {
  return kMembers;
}

const DispMember* find_member(std::string_view name) {
  for (const DispMember& member : kMembers)
    if (same_text_ascii(member.name, name)) return &member;
  return nullptr;
}

const DispMember* find_member(int32_t dispid) {
  for (const DispMember& member : kMembers)
    if (member.dispid == dispid) return &member;
  return nullptr;
}

ComResult invoke(TzrViewer& viewer, std::string_view name, DispKind kind,
                 const std::vector<DispValue>& args) {
  const DispMember* member = find_member(name);
  if (!member)
    return com_failure(DISP_E_MEMBERNOTFOUND, std::string(kViewerInterfaceName) +
                                                  " has no member '" + std::string(name) + "'");
  return invoke(viewer, *member, kind, args);
}

ComResult invoke(TzrViewer& viewer, int32_t dispid, DispKind kind,
                 const std::vector<DispValue>& args) {
  const DispMember* member = find_member(dispid);
  if (!member)
    return com_failure(
        DISP_E_MEMBERNOTFOUND,
        std::string(kViewerInterfaceName) + " has no member with DISPID " + std::to_string(dispid));
  return invoke(viewer, *member, kind, args);
}

ComResult invoke(TzrViewer& viewer, const DispMember& member, DispKind kind,
                 const std::vector<DispValue>& args) {
  if (auto failure = check_kind(member, kind)) return *failure;
  std::vector<DispType> types = param_types(member, kind);
  if (args.size() != types.size())
    return com_failure(DISP_E_BADPARAMCOUNT, std::string(member.name) + " takes " +
                                                 std::to_string(types.size()) + " argument(s), " +
                                                 std::to_string(args.size()) + " given");
  std::vector<DispValue> converted(args.size());
  for (size_t i = 0; i < args.size(); ++i)
    if (auto failure = convert_arg(member, i, types[i], args[i], converted[i])) return *failure;

  ComResult result = com_call([&](ComResult& out) {
    switch (kind) {
      case DispKind::Get:
        export_value(member.type, member.get(viewer), out);
        break;
      case DispKind::Put:
        member.put(viewer, converted[0]);
        break;
      case DispKind::Call:
        member.call(viewer, converted);
        break;
    }
  });
  // Messages raised inside the control are ANSI; the host reads UTF-8.
  if (!result.ok()) result.description = ansi_to_utf8(result.description);
  return result;
}

}  // namespace zr

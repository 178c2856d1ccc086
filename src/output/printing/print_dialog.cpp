#include "output/printing/print_dialog.h"

#include <charconv>
#include <optional>

#include "engine/locale/locale_strings.h"
#include "engine/printer/printer.h"
#include "platform/errors.h"

namespace zr {

namespace {

std::optional<int> to_int(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

TvtPrintForm::TvtPrintForm(TvtPrinter& printer, int copies, bool collate)
    : CopiesText(std::to_string(copies)), Collate(collate), printer_(printer) {
  std::string* captions[] = {&Caption,    &PrinterGroup, &PropertiesCaption,  &CopiesGroup,
                             &PagesGroup, &AllCaption,   &CurrentPageCaption, &PagesCaption,
                             &PagesHint,  &NameLabel,    &CopiesLabel,        &CollateCaption,
                             &OkCaption};
  for (size_t i = 0; i < std::size(captions); ++i)
    *captions[i] = LoadStr(kStrPrintDialog + static_cast<int>(i));
  CancelCaption = LoadStr(kStrCancel);
  for (int i = 0; i < 3; ++i) WhichItems.push_back(LoadStr(kStrPrintDialog + 13 + i));
  printers_ = printer.system_printer().Printers();
  printer_index_ = printer.system_printer().PrinterIndex();
  remembered_ = printer_index_;
  engine_remembered_ = printer.printer_index();
}

void TvtPrintForm::ChoosePrinter(int index) {
  if (index < 0 || index >= static_cast<int>(printers_.size()))
    throw ZorelError("Printer index out of range", ErrorKind::Argument);
  printer_.SetPrinterIndex(index);
  printer_index_ = index;
}

bool TvtPrintForm::Properties(const std::function<bool(DeviceMode&)>& dialog) {
  if (printer_.is_virtual() && printer_index_ >= 0) printer_.SetPrinterIndex(printer_index_);
  return printer_.PropertiesDialog(dialog);
}

void TvtPrintForm::EnterPages(std::string text) {
  pages_text_ = std::move(text);
  PageRange = Range::Pages;
}

void TvtPrintForm::CopiesUp() {
  if (std::optional<int> copies = to_int(CopiesText); copies && *copies < INT32_MAX)
    CopiesText = std::to_string(*copies + 1);
}

void TvtPrintForm::CopiesDown() {
  if (std::optional<int> copies = to_int(CopiesText); copies && *copies > 1)
    CopiesText = std::to_string(*copies - 1);
}

TvtPrintForm::CollatePicture TvtPrintForm::Picture() const {
  return Collate ? CollatePicture{true, {8, 0, 8 + 74, 53}}
                 : CollatePicture{false, {0, 8, 92, 8 + 40}};
}

TvtPrintRequest TvtPrintForm::Accept(int current_page) const {
  std::optional<int> copies = to_int(CopiesText);
  if (!copies) throw ConversionError("'" + CopiesText + "' is not a valid integer value");
  TvtPrintRequest request;
  if (PageRange == Range::CurrentPage) request.PageList = std::to_string(current_page);
  if (PageRange == Range::Pages) request.PageList = pages_text_;
  request.Copies = *copies;
  request.Collate = Collate;
  request.Which =
      static_cast<TvtReport::WhichPages>(WhichIndex >= 0 && WhichIndex <= 2 ? WhichIndex : 0);
  return request;
}

void TvtPrintForm::Cancel() {
  ApplicationPrinter& system = printer_.system_printer();
  if (remembered_ >= 0 && remembered_ != system.PrinterIndex()) {
    // Through the engine printer, so that it reads the printer's settings again.
    printer_.SetPrinterIndex(remembered_);
    if (system.PrinterIndex() != remembered_) system.SetPrinterIndex(remembered_);
  }
  if (engine_remembered_ >= 0 && engine_remembered_ != printer_.printer_index())
    printer_.SetPrinterIndex(engine_remembered_);
  printer_index_ = remembered_;
}

}  // namespace zr

#include "gui/export_options_dialog.h"

#include <cmath>

#include "gui/gtk_ui.h"
#include "gui/options_window.h"
#include "output/html/html_export_dialog.h"
#include "output/image/graphic_export_dialog.h"
#include "output/pdf/pdf_export_dialog.h"
#include "output/rtf/rtf_export_dialog.h"
#include "output/xlsx/xlsx_export_dialog.h"
#include "platform/codepage.h"
#include "platform/fonts/font_selection.h"

namespace zr::gui {

namespace {

// The options every document format has: frames, pictures (with their format and the JPEG
// quality), and the document's title, subject, author and keywords. The grid of the texts is
// returned: a format adds its own texts there.
Gtk::Grid& build_document_part(OptionsWindow& window, Gtk::Box& into, TOxvtExportDialog& d,
                               bool has_title) {
  Gtk::Box& options = window.group(into, "");
  options.append(window.check(d.ExportFramesCaption, d.chkExportFrames));
  options.append(window.check(d.ExportImagesCaption, d.chkExportImages));
  Gtk::Frame* image_frame = nullptr;
  Gtk::Box& images = window.group(options, "", &image_frame);
  Gtk::Grid& image_grid = window.form_grid(images);
  Gtk::DropDown& format = window.drop_down(d.ImageFormats, d.cbImageFormat);
  window.add_row(image_grid, d.ImageFormatCaption, format);
  Gtk::Entry& quality =
      window.filtered_entry(d.edJPEGQuality, &TOxvtExportDialog::AcceptsQualityKey);
  quality.set_width_chars(4);
  quality.set_max_width_chars(4);
  quality.set_hexpand(false);
  quality.set_halign(Gtk::Align::START);
  Gtk::Label& quality_label = window.add_row(image_grid, d.QualityCaption, quality);
  window.rule([&d, image_frame, &quality, &quality_label] {
    image_frame->set_sensitive(d.ImageGroupEnabled());
    quality.set_sensitive(d.QualityEnabled());
    quality_label.set_sensitive(d.QualityEnabled());
  });

  Gtk::Grid& texts = window.form_grid(into);
  if (has_title) {
    Gtk::Entry& title = window.entry(d.edTitle);
    window.add_row(texts, d.TitleCaption, title);
    window.add_row(texts, d.SubjectCaption, window.entry(d.edSubject));
    window.first_focus(title);
  }
  window.add_row(texts, d.AuthorCaption, window.entry(d.edAuthor));
  window.add_row(texts, d.KeywordsCaption, window.entry(d.edKeyWord));
  return texts;
}

void build_pdf_part(OptionsWindow& window, Gtk::Box& into, TOxvtPDFExportDialog& d) {
  Gtk::Box& compression = window.group(into, "");
  compression.append(window.check(d.CompressDocumentCaption, d.chkCompressDocument));
  Gtk::Frame* level_frame = nullptr;
  Gtk::Box& level = window.group(compression, "", &level_frame);
  window.add_row(window.form_grid(level), d.CompressionLevelCaption,
                 window.drop_down(d.CompressionLevels, d.cbCompressionLevel));
  window.rule([&d, level_frame] { level_frame->set_sensitive(d.CompressionGroupEnabled()); });
  window.add_row(window.form_grid(into), d.PdfModeCaption,
                 window.drop_down(d.PdfModes, d.cbPdfMode));
}

void build_rtf_part(OptionsWindow& window, Gtk::Box& into, TOxvtRTFExportDialog& d) {
  into.append(window.check(d.GraphicDataInBinaryCaption, d.chkGraphicDataInBinary));
}

// Colours are 0x00BBGGRR.
Gdk::RGBA rgba(int32_t colour) {
  const auto value = static_cast<uint32_t>(colour);
  Gdk::RGBA result;
  result.set_rgba_u(static_cast<gushort>((value & 0xFF) * 257),
                    static_cast<gushort>(((value >> 8) & 0xFF) * 257),
                    static_cast<gushort>(((value >> 16) & 0xFF) * 257));
  return result;
}

int32_t colour_of(const Gdk::RGBA& rgba) {
  auto byte = [](double part) { return static_cast<uint32_t>(std::lround(part * 255)) & 0xFF; };
  return static_cast<int32_t>(byte(rgba.get_red()) | byte(rgba.get_green()) << 8 |
                              byte(rgba.get_blue()) << 16);
}

// A swatch that opens the colour chooser; the colour chosen goes into `value`.
Gtk::ColorButton& colour_button(int32_t& value) {
  auto* button = Gtk::make_managed<Gtk::ColorButton>(rgba(value));
  button->set_use_alpha(false);
  button->set_halign(Gtk::Align::START);
  button->signal_color_set().connect([button, &value] { value = colour_of(button->get_rgba()); });
  return *button;
}

// The link font: family, size, bold and italic are chosen in the font chooser; colour,
// underline and strike-out keep their values. The button shows the family and the size.
Gtk::Button& font_button(Gtk::Window& window, const std::string& caption, TOxvtLinkFont& font) {
  auto* button = Gtk::make_managed<Gtk::Button>();
  button->set_halign(Gtk::Align::START);
  auto show = [button, &font] {
    button->set_label(ansi_to_utf8(font.Name) + " " + std::to_string(font.Size));
  };
  show();
  button->signal_clicked().connect([&window, caption, &font, show] {
    Pango::FontDescription description;
    description.set_family(ansi_to_utf8(font.Name));
    description.set_size(font.Size * PANGO_SCALE);
    description.set_weight((font.Style & kFsBold) ? Pango::Weight::BOLD : Pango::Weight::NORMAL);
    description.set_style((font.Style & kFsItalic) ? Pango::Style::ITALIC : Pango::Style::NORMAL);
    Gtk::FontChooserDialog chooser(plain(caption), window);
    chooser.set_font_desc(description);
    bool chosen = false;
    chooser.signal_response().connect([&chosen, &chooser](int response) {
      chosen = response == Gtk::ResponseType::OK;
      chooser.hide();
    });
    run_modal(chooser);
    if (!chosen) return;
    const Pango::FontDescription picked = chooser.get_font_desc();
    font.Name = utf8_to_ansi(picked.get_family().raw());
    if (picked.get_size() > 0) font.Size = picked.get_size() / PANGO_SCALE;
    font.Style = static_cast<uint8_t>(font.Style & ~(kFsBold | kFsItalic));
    if (picked.get_weight() >= Pango::Weight::BOLD) font.Style |= kFsBold;
    if (picked.get_style() != Pango::Style::NORMAL) font.Style |= kFsItalic;
    show();
  });
  return *button;
}

// The HTML window has two tabs: the document options and the picture folder ("Content"),
// and the page files with the navigator and its links.
struct HtmlTabs {
  Gtk::Box* content;
  Gtk::Box* files;
};

HtmlTabs add_html_tabs(Gtk::Box& into, const TOxvtHTMLExportDialog& d) {
  auto* tabs = Gtk::make_managed<Gtk::Notebook>();
  HtmlTabs pages{Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 6),
                 Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 6)};
  for (size_t i = 0; i < 2; ++i) {
    Gtk::Box* page = i == 0 ? pages.content : pages.files;
    page->set_margin(8);
    tabs->append_page(*page, plain(i < d.TabCaptions.size() ? d.TabCaptions[i] : ""));
  }
  into.append(*tabs);
  return pages;
}

void build_html_part(OptionsWindow& window, Gtk::Grid& texts, HtmlTabs tabs,
                     TOxvtHTMLExportDialog& d) {
  window.add_row(texts, d.ImageFolderCaption, window.entry(d.edImageDirectory));

  Gtk::Box& files = *tabs.files;
  files.append(window.check(d.SepFilePerPageCaption, d.chkSepFilePerPage));
  Gtk::CheckButton& navigator = window.check(d.ShowNavigatorCaption, d.chkShowNavigator);
  files.append(navigator);
  Gtk::Frame* navigator_frame = nullptr;
  Gtk::Box& group = window.group(files, "", &navigator_frame);
  Gtk::Grid& navigator_grid = window.form_grid(group);
  window.add_row(navigator_grid, d.NavigatorTypeCaption,
                 window.drop_down(d.NavigatorTypes, d.cbNavigatorType));
  window.add_row(navigator_grid, d.BackgroundCaption, colour_button(d.shpBackgroundColor));
  window.add_row(navigator_grid, d.HoverForeCaption, colour_button(d.shpHoverForeColor));
  window.add_row(navigator_grid, d.HoverBackCaption, colour_button(d.shpHoverBackColor));
  auto* text_links = Gtk::make_managed<Gtk::CheckButton>(plain(d.UseTextLinksCaption));
  auto* graphic_links = Gtk::make_managed<Gtk::CheckButton>(plain(d.UseGraphicLinksCaption));
  graphic_links->set_group(*text_links);
  (d.rbtnUseTextLinks ? text_links : graphic_links)->set_active(true);
  group.append(*text_links);
  group.append(*graphic_links);
  Gtk::Frame* texts_frame = nullptr;
  Gtk::Frame* pictures_frame = nullptr;
  Gtk::Grid& link_texts =
      window.form_grid(window.group(group, d.LinkCaptionsCaption, &texts_frame));
  Gtk::Grid& link_pictures =
      window.form_grid(window.group(group, d.ImageSourceCaption, &pictures_frame));
  for (size_t i = 0; i < d.LinkCaptions.size() && i < 4; ++i) {
    window.add_row(link_texts, d.LinkCaptions[i], window.entry(d.edLinkTexts[i]));
    window.add_row(link_pictures, d.LinkCaptions[i], window.entry(d.edLinkPictures[i]));
  }
  window.add_row(link_texts, d.FontCaption, font_button(window, d.FontCaption, d.LinkFont));
  text_links->signal_toggled().connect([&window, &d, text_links] {
    d.rbtnUseTextLinks = text_links->get_active();
    window.apply_rules();
  });
  window.rule([&d, &navigator, navigator_frame, texts_frame, pictures_frame] {
    navigator.set_sensitive(d.ShowNavigatorEnabled());
    navigator_frame->set_sensitive(d.NavigatorGroupEnabled());
    texts_frame->set_visible(d.TextLinksPageShown());
    pictures_frame->set_visible(!d.TextLinksPageShown());
  });
}

// The scales and, for the bitmap formats, the pixel format; the grid is returned for the
// rows a format adds.
Gtk::Grid& build_scales(OptionsWindow& window, Gtk::Box& into, TOxvtGraphicExportDialog& d) {
  Gtk::Grid& grid = window.form_grid(into);
  Gtk::Entry& scale_x = window.entry(d.edScaleX);
  window.add_row(grid, d.ScaleXCaption, scale_x);
  window.add_row(grid, d.ScaleYCaption, window.entry(d.edScaleY));
  window.first_focus(scale_x);
  if (auto* pixels = dynamic_cast<TOxvtPixelFormatDialog*>(&d))
    window.add_row(grid, pixels->PixelFormatCaption,
                   window.drop_down(pixels->PixelFormats, pixels->cbPixelFormat));
  return grid;
}

void build_jpeg_part(OptionsWindow& window, Gtk::Box& into, Gtk::Grid& grid,
                     TOxvtJPEGExportDialog& d) {
  Gtk::Entry& quality =
      window.filtered_entry(d.edQuality, &TOxvtJPEGExportDialog::AcceptsQualityKey);
  quality.set_width_chars(4);
  quality.set_max_width_chars(4);
  quality.set_hexpand(false);
  quality.set_halign(Gtk::Align::START);
  window.add_row(grid, d.QualityCaption, quality);
  auto* hint = Gtk::make_managed<Gtk::Label>(plain(d.QualityHint));
  hint->set_xalign(0);
  hint->add_css_class("dim-label");
  int row = 0;
  while (grid.get_child_at(1, row)) ++row;
  grid.attach(*hint, 1, row);
  into.append(window.check(d.GrayScaleCaption, d.chkGrayScale));
  into.append(window.check(d.ProgressiveCaption, d.chkProgressive));
}

}  // namespace

int RunExportOptions(Gtk::Window* parent, TOxvtExportDialog& dialog) {
  OptionsWindow window(parent, dialog.Caption, dialog.OkCaption, dialog.CancelCaption);
  window.set_default_size(290, 255);
  auto* pdf = dynamic_cast<TOxvtPDFExportDialog*>(&dialog);
  auto* html = dynamic_cast<TOxvtHTMLExportDialog*>(&dialog);
  auto* rtf = dynamic_cast<TOxvtRTFExportDialog*>(&dialog);
  HtmlTabs tabs{nullptr, nullptr};
  if (html) tabs = add_html_tabs(window.body(), *html);
  Gtk::Box& content = html ? *tabs.content : window.body();
  // The base dialog leaves title and subject to the formats that write them.
  Gtk::Grid& texts = build_document_part(window, content, dialog, pdf || html || rtf);
  if (pdf) build_pdf_part(window, content, *pdf);
  if (rtf) build_rtf_part(window, content, *rtf);
  if (html) build_html_part(window, texts, tabs, *html);
  if (!window.Run()) return 0;
  dialog.OkClick();
  return 1;
}

int RunGraphicExportOptions(Gtk::Window* parent, TOxvtGraphicExportDialog& dialog) {
  OptionsWindow window(parent, dialog.Caption, dialog.OkCaption, dialog.CancelCaption);
  Gtk::Grid& grid = build_scales(window, window.body(), dialog);
  if (auto* bitmap = dynamic_cast<TOxvtBitmapExportDialog*>(&dialog))
    window.body().append(window.check(bitmap->MonochromeCaption, bitmap->chkMonochrome));
  if (auto* jpeg = dynamic_cast<TOxvtJPEGExportDialog*>(&dialog))
    build_jpeg_part(window, window.body(), grid, *jpeg);
  if (!window.Run()) return 0;
  dialog.OkClick();
  return 1;
}

int RunXlsxExportOptions(Gtk::Window* parent, TOxvtXLSXExportDialog& dialog) {
  OptionsWindow window(parent, dialog.Caption, dialog.OkCaption, dialog.CancelCaption);
  Gtk::Box& body = window.body();
  body.append(window.check(dialog.chkSheetPerPage.Caption, dialog.chkSheetPerPage.Checked));
  Gtk::CheckButton& breaks =
      window.check(dialog.chkPageBreaks.Caption, dialog.chkPageBreaks.Checked);
  body.append(breaks);
  body.append(window.check(dialog.chkExportFrames.Caption, dialog.chkExportFrames.Checked));
  window.rule([&dialog, &breaks] { breaks.set_sensitive(dialog.PageBreaksEnabled()); });
  Gtk::Grid& grid = window.form_grid(body);
  Gtk::Entry& title = window.entry(dialog.edTitle.Text);
  window.add_row(grid, dialog.TitleCaption, title);
  window.add_row(grid, dialog.AuthorCaption, window.entry(dialog.edAuthor.Text));
  window.first_focus(title);
  return window.Run() ? 1 : 0;
}

}  // namespace zr::gui

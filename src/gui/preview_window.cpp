#include "gui/preview_window.h"

#include <cmath>
#include <cstdio>

#include "engine/locale/locale_strings.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "gui/export_options_scope.h"
#include "gui/find_dialog.h"
#include "gui/gtk_ui.h"
#include "gui/print_dialog.h"
#include "output/printing/print_command.h"
#include "platform/byte_stream.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/codepage.h"
#include "platform/ui_services.h"

namespace zr::gui {

namespace {

constexpr int kHandPoint = -21;
constexpr const char* kNoticeCaption = "\xBE\xC8\xB3\xBB";  // "안내"

std::string css_colour(int32_t colour) {
  const uint32_t value = static_cast<uint32_t>(colour);
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF,
                (value >> 16) & 0xFF);
  return text;
}

bool has(Gdk::ModifierType state, Gdk::ModifierType bit) {
  return (state & bit) == bit;
}

// The key of the preview's table for a GDK key value; nullopt for modifier keys alone.
std::optional<std::pair<PreviewKey, char>> preview_key(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up:
      return std::pair{PreviewKey::Up, '\0'};
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
      return std::pair{PreviewKey::Down, '\0'};
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
      return std::pair{PreviewKey::Left, '\0'};
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
      return std::pair{PreviewKey::Right, '\0'};
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up:
      return std::pair{PreviewKey::PageUp, '\0'};
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down:
      return std::pair{PreviewKey::PageDown, '\0'};
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home:
      return std::pair{PreviewKey::Home, '\0'};
    case GDK_KEY_End:
    case GDK_KEY_KP_End:
      return std::pair{PreviewKey::End, '\0'};
    case GDK_KEY_space:
      return std::pair{PreviewKey::Space, '\0'};
    case GDK_KEY_Escape:
      return std::pair{PreviewKey::Escape, '\0'};
    case GDK_KEY_F3:
      return std::pair{PreviewKey::F3, '\0'};
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
    case GDK_KEY_Super_L:
    case GDK_KEY_Super_R:
      return std::nullopt;
    default:
      break;
  }
  const guint upper = gdk_keyval_to_upper(keyval);
  const char character = upper < 0x80 ? static_cast<char>(upper) : '\0';
  return std::pair{PreviewKey::Char, character};
}

}  // namespace

PreviewPanel::PreviewPanel(GtkUi& ui, PreviewOptions options)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0), ui_(ui), options_(std::move(options)) {
  css_ = Gtk::CssProvider::create();
  Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), css_,
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  build_toolbar();
  build_area();
  SetHeaderColors(options_.HeaderColor, options_.HeaderLineColor);
  SetShowToolbar(options_.ShowToolbar);
  Refresh();
}

PreviewPanel::~PreviewPanel() {
  zoom_popover_.unparent();
  model_.ReleasePages();
}

void PreviewPanel::build_toolbar() {
  toolbar_.set_size_request(-1, 33);
  toolbar_.add_css_class("zr-toolbar");
  toolbar_.set_spacing(2);
  toolbar_.set_margin_start(3);
  zoom_label_.set_text("100%");
  zoom_label_.set_size_request(37, -1);
  zoom_button_.set_child(zoom_label_);
  zoom_button_.set_tooltip_text("Zoom");
  zoom_button_.signal_clicked().connect(
      [this] { ZoomMenu(0, zoom_button_.get_height(), zoom_button_); });
  load_button_.set_label("Open");
  load_button_.set_tooltip_text("Open a report file (Ctrl+O)");
  load_button_.signal_clicked().connect([this] { OpenCommand(); });
  save_button_.set_label("Save");
  save_button_.set_tooltip_text("Save or export (Ctrl+S)");
  save_button_.signal_clicked().connect([this] { SaveCommand(); });
  print_button_.set_label("Print");
  print_button_.set_tooltip_text("Print (Ctrl+P)");
  print_button_.signal_clicked().connect([this] { PrintCommand(); });
  exit_button_.set_label("Exit");
  exit_button_.set_tooltip_text("Close (Esc)");
  exit_button_.signal_clicked().connect([this] {
    if (OnClose && model_.Report()) OnClose();
  });
  for (Gtk::Button* button :
       {&zoom_button_, &load_button_, &save_button_, &print_button_, &exit_button_}) {
    button->set_valign(Gtk::Align::CENTER);
    button->set_focusable(false);
    button->set_has_frame(false);
    button->add_css_class("zr-tool");
    toolbar_.append(*button);
  }
  append(toolbar_);
  top_line_.set_size_request(-1, 1);
  top_line_.add_css_class("zr-top-line");
  append(top_line_);

  zoom_items_.set_margin(4);
  Gtk::CheckButton* first = nullptr;
  for (const ZoomMenuItem& item : zoom_menu_items()) {
    auto check = std::make_unique<Gtk::CheckButton>(item.caption);
    if (first)
      check->set_group(*first);
    else
      first = check.get();
    const int tag = item.tag;
    Gtk::CheckButton* self = check.get();
    check->signal_toggled().connect([this, tag, self] {
      if (syncing_ || !self->get_active()) return;
      zoom_popover_.popdown();
      model_.ZoomMenuClick(tag);
      Refresh();
    });
    zoom_items_.append(*check);
    zoom_checks_.push_back(std::move(check));
  }
  zoom_popover_.set_child(zoom_items_);
  zoom_popover_.set_has_arrow(false);
  zoom_popover_.set_parent(*this);
}

void PreviewPanel::build_area() {
  paint_box_.set_hexpand(true);
  paint_box_.set_vexpand(true);
  paint_box_.set_focusable(true);
  paint_box_.set_draw_func(sigc::mem_fun(*this, &PreviewPanel::on_draw));
  paint_box_.signal_resize().connect([this](int width, int height) {
    model_.SetBoxSize(width, height);
    Refresh();
  });

  auto click = Gtk::GestureClick::create();
  click->set_button(0);
  click->signal_pressed().connect([this, gesture = click.get()](int n, double x, double y) {
    if (gesture->get_current_button() == 3) {
      ZoomMenu(x, y, paint_box_);
      return;
    }
    if (gesture->get_current_button() == 1) on_press(n, x, y);
  });
  click->signal_released().connect([this](int, double, double) { model_.MouseUp(); });
  paint_box_.add_controller(click);
  auto motion = Gtk::EventControllerMotion::create();
  motion->signal_motion().connect(sigc::mem_fun(*this, &PreviewPanel::on_motion));
  paint_box_.add_controller(motion);
  auto scroll = Gtk::EventControllerScroll::create();
  scroll->set_flags(Gtk::EventControllerScroll::Flags::VERTICAL |
                    Gtk::EventControllerScroll::Flags::DISCRETE);
  scroll->signal_scroll().connect(sigc::mem_fun(*this, &PreviewPanel::on_scroll), false);
  paint_box_.add_controller(scroll);

  v_adjustment_ = Gtk::Adjustment::create(0, 0, 0, PreviewScrollBar::SmallChange,
                                          PreviewScrollBar::LargeChange, 0);
  h_adjustment_ = Gtk::Adjustment::create(0, 0, 0, PreviewScrollBar::SmallChange,
                                          PreviewScrollBar::LargeChange, 0);
  v_bar_.set_orientation(Gtk::Orientation::VERTICAL);
  v_bar_.set_adjustment(v_adjustment_);
  v_bar_.set_vexpand(true);
  h_bar_.set_adjustment(h_adjustment_);
  h_bar_.set_hexpand(true);
  v_adjustment_->signal_value_changed().connect([this] {
    if (syncing_) return;
    model_.SetVerticalPosition(static_cast<int>(std::lround(v_adjustment_->get_value())));
    Refresh();
  });
  h_adjustment_->signal_value_changed().connect([this] {
    if (syncing_) return;
    model_.SetHorizontalPosition(static_cast<int>(std::lround(h_adjustment_->get_value())));
    Refresh();
  });
  page_up_.set_icon_name("pan-up-symbolic");
  page_down_.set_icon_name("pan-down-symbolic");
  for (Gtk::Button* button : {&page_up_, &page_down_}) {
    button->set_size_request(16, 16);
    button->set_focusable(false);
    button->set_has_frame(false);
  }
  page_up_.set_tooltip_text("Previous page");
  page_down_.set_tooltip_text("Next page");
  page_up_.signal_clicked().connect([this] {
    model_.PgUpClick();
    Refresh();
  });
  page_down_.signal_clicked().connect([this] {
    model_.PgDownClick();
    Refresh();
  });
  right_panel_.append(v_bar_);
  right_panel_.append(page_up_);
  right_panel_.append(page_down_);
  right_panel_.set_size_request(16, -1);
  page_label_.set_size_request(80, -1);
  page_label_.set_xalign(0);
  page_label_.set_margin_start(4);
  page_label_.set_name("zr-page-label");
  bottom_panel_.add_css_class("zr-bottom");
  bottom_panel_.set_size_request(-1, 18);
  bottom_panel_.append(page_label_);
  bottom_panel_.append(h_bar_);

  area_.attach(paint_box_, 0, 0);
  area_.attach(right_panel_, 1, 0);
  area_.attach(bottom_panel_, 0, 1, 2, 1);
  area_.set_vexpand(true);
  append(area_);
}

void PreviewPanel::SetHeaderColors(int32_t header, int32_t header_line) {
  options_.HeaderColor = header;
  options_.HeaderLineColor = header_line;
  css_->load_from_data(".zr-toolbar { background-color: " + css_colour(header) +
                       "; }\n.zr-top-line { background-color: " + css_colour(header_line) +
                       "; }\n.zr-bottom { background-color: " + css_colour(10803944) +
                       "; border-top: 1px solid " + css_colour(8435139) + "; }\n" +
                       ".zr-tool { padding: 2px 6px; min-height: 20px; }\n");
}

void PreviewPanel::SetShowToolbar(bool show) {
  options_.ShowToolbar = show;
  toolbar_.set_visible(show);
  top_line_.set_visible(show);
}

void PreviewPanel::ShowReport(TvtReport& report) {
  model_.ReleasePages();
  model_.ShowReport(report);
  model_.PrintEnabled = !TvtGlobals::Get().printer.system_printer().Printers().empty();
  print_button_.set_sensitive(model_.PrintEnabled);
  Refresh();
}

void PreviewPanel::ReleasePages() {
  model_.ReleasePages();
  Refresh();
}

void PreviewPanel::Refresh() {
  syncing_ = true;
  const int box_height = model_.BoxHeight(), box_width = model_.BoxWidth();
  v_adjustment_->configure(model_.VScroll.Position, 0, model_.VScroll.Max + box_height,
                           PreviewScrollBar::SmallChange, PreviewScrollBar::LargeChange,
                           box_height);
  h_adjustment_->configure(model_.HScroll.Position, 0, model_.HScroll.Max + box_width,
                           PreviewScrollBar::SmallChange, PreviewScrollBar::LargeChange, box_width);
  v_bar_.set_sensitive(model_.VScroll.Enabled());
  h_bar_.set_sensitive(model_.HScroll.Enabled());
  page_label_.set_text(ansi_to_utf8(model_.PageLabel));
  zoom_label_.set_text(model_.ZoomLabel.empty() ? "100%" : model_.ZoomLabel);
  syncing_ = false;
  paint_box_.queue_draw();
}

void PreviewPanel::on_draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height) {
  try {
    if (width != model_.BoxWidth() || height != model_.BoxHeight())
      model_.SetBoxSize(width, height);
    CairoCanvas canvas(cr->cobj(), Rect{0, 0, width, height}, Resolution{96, 96},
                       TvtGlobals::Get().fonts);
    model_.Paint(canvas, Rect{0, 0, width, height});
  } catch (const std::exception& e) {
    // A page that cannot be drawn (a damaged stream) leaves the rest of the window working.
    std::fprintf(stderr, "zrviewer: %s\n", e.what());
  }
}

void PreviewPanel::on_press(int n_press, double x, double y) {
  paint_box_.grab_focus();
  const Point point{static_cast<int>(x), static_cast<int>(y)};
  if (n_press == 2) {
    model_.DoubleClick();
    model_.MouseDown(point);  // the press of the double click itself is ignored
    Refresh();
    return;
  }
  // A drill-down run starts by emptying the report's pages; when it shows nothing (a form
  // that does not load) the report clicked is put back, so it stays usable.
  std::optional<std::string> kept;
  const int page = model_.CurPage;
  TvtReport* report = model_.Report();
  if (last_cursor_ == kHandPoint && model_.HasPages()) {
    ByteWriter out;
    model_.EMFPages()->SaveToStream(out);
    kept = out.take();
  }
  bool clicked = false;
  try {
    clicked = model_.MouseDown(point);
  } catch (const std::exception& e) {
    clicked = true;
    show_error("", e);
  }
  if (clicked && report) {
    if (kept && report->EMFPages.Count() == 0) {
      ByteReader in{std::string_view(*kept)};
      report->EMFPages.LoadFromStream(in, true);
      ShowReport(*report);
      model_.CurPage = page;
      model_.ScrollToCurPage();
      model_.ShowPageNum();
      Refresh();
      const std::string log = options_.RunLog ? options_.RunLog() : std::string();
      if (!log.empty()) ui_.show_message(log, kNoticeCaption, MB_OK | MB_ICONINFORMATION);
    } else if (OnObjectClicked) {
      OnObjectClicked();
    }
  }
  Refresh();
}

void PreviewPanel::on_motion(double x, double y) {
  try {
    const bool dragging = model_.Dragging();
    const int cursor = model_.MouseMove({static_cast<int>(x), static_cast<int>(y)});
    last_cursor_ = cursor;
    paint_box_.set_cursor(cursor == kHandPoint ? "pointer" : "default");
    if (dragging) Refresh();
  } catch (const std::exception& e) {
    show_error("", e);
  }
}

bool PreviewPanel::on_scroll(double, double dy) {
  if (dy == 0) return false;
  model_.MouseWheel(dy > 0 ? static_cast<int>(std::ceil(dy)) : static_cast<int>(std::floor(dy)));
  Refresh();
  return true;
}

void PreviewPanel::ZoomMenu(double x, double y, Gtk::Widget& relative_to) {
  if (!model_.HasPages()) return;
  syncing_ = true;
  for (size_t i = 0; i < zoom_checks_.size(); ++i)
    zoom_checks_[i]->set_active(zoom_menu_items()[i].tag == model_.CheckedZoomTag);
  syncing_ = false;
  double px = x, py = y;
  relative_to.translate_coordinates(*this, x, y, px, py);
  zoom_popover_.set_pointing_to(Gdk::Rectangle(static_cast<int>(px), static_cast<int>(py), 1, 1));
  zoom_popover_.popup();
  // The checked item has the focus, so the arrow keys and Space choose from there.
  for (size_t i = 0; i < zoom_checks_.size(); ++i)
    if (zoom_checks_[i]->get_active()) zoom_checks_[i]->grab_focus();
}

void PreviewPanel::run_action(PreviewAction action) {
  switch (action) {
    case PreviewAction::None:
      break;
    case PreviewAction::ZoomMenu:
      ZoomMenu(0, zoom_button_.get_height(), zoom_button_);
      break;
    case PreviewAction::Close:
      if (OnClose) OnClose();
      break;
    case PreviewAction::Open:
      OpenCommand();
      break;
    case PreviewAction::Save:
      SaveCommand();
      break;
    case PreviewAction::Print:
      PrintCommand();
      break;
    case PreviewAction::FindDialog:
      FindCommand();
      break;
  }
}

bool PreviewPanel::HandleKey(guint keyval, Gdk::ModifierType state) {
  // The zoom menu has the keys while it is open.
  if (zoom_popover_.get_visible()) return false;
  const auto key = preview_key(keyval);
  if (!key) return false;
  PreviewKeyResult result;
  try {
    result = model_.KeyDown(key->first, has(state, Gdk::ModifierType::CONTROL_MASK), key->second);
  } catch (const std::exception& e) {
    show_error("", e);
    return true;
  }
  if (!result.handled) return false;
  Refresh();
  run_action(result.action);
  return true;
}

void PreviewPanel::show_error(const std::string& what, const std::exception& e) {
  std::string text = what.empty() ? std::string(e.what()) : what + "\n" + e.what();
  ui_.show_message(text, kNoticeCaption, MB_OK | MB_ICONINFORMATION);
}

namespace {

Gtk::Window* window_of(Gtk::Widget& widget) {
  return dynamic_cast<Gtk::Window*>(widget.get_root());
}

// Runs a file dialog modally; the chosen path, or nothing when cancelled.
std::optional<std::string> run_file_dialog(Gtk::FileChooserDialog& dialog) {
  std::optional<std::string> chosen;
  dialog.signal_response().connect([&](int response) {
    if (response == Gtk::ResponseType::OK && dialog.get_file())
      chosen = dialog.get_file()->get_path();
    dialog.hide();
  });
  run_modal(dialog);
  return chosen;
}

Glib::RefPtr<Gtk::FileFilter> file_filter(const std::string& description, const std::string& mask) {
  auto filter = Gtk::FileFilter::create();
  filter->set_name(ansi_to_utf8(description));
  size_t start = 0;
  while (start <= mask.size()) {
    const size_t end = mask.find(';', start);
    filter->add_pattern(mask.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return filter;
}

}  // namespace

void PreviewPanel::OpenCommand() {
  if (!model_.HasPages()) return;
  Gtk::Window* parent = window_of(*this);
  Gtk::FileChooserDialog dialog("Open", Gtk::FileChooser::Action::OPEN);
  if (parent) dialog.set_transient_for(*parent);
  dialog.add_button("_Cancel", Gtk::ResponseType::CANCEL);
  dialog.add_button("_Open", Gtk::ResponseType::OK);
  const std::string filter = TvtPreviewModel::OpenFilter();
  const size_t bar = filter.find('|');
  dialog.add_filter(file_filter(filter.substr(0, bar), filter.substr(bar + 1)));
  if (!options_.HistoryFolder.empty()) {
    // Saved runs carry no extension: the history has a filter of its own.
    dialog.add_filter(file_filter("History", "2*"));
    try {
      if (std::filesystem::is_directory(options_.HistoryFolder))
        dialog.add_shortcut_folder(Gio::File::create_for_path(options_.HistoryFolder.string()));
    } catch (const Glib::Error&) {
    }
  }
  const std::optional<std::string> file = run_file_dialog(dialog);
  if (!file) return;
  try {
    model_.LoadPrepared(*file);
  } catch (const std::exception& e) {
    show_error("Cannot open " + utf8_to_ansi(*file) + ":", e);
  }
  Refresh();
}

void PreviewPanel::SaveCommand() {
  if (!model_.HasPages()) return;
  Gtk::Window* parent = window_of(*this);
  Gtk::FileChooserDialog dialog("Save", Gtk::FileChooser::Action::SAVE);
  if (parent) dialog.set_transient_for(*parent);
  dialog.add_button("_Cancel", Gtk::ResponseType::CANCEL);
  dialog.add_button("_Save", Gtk::ResponseType::OK);
  std::vector<Glib::RefPtr<Gtk::FileFilter>> filters;
  for (const auto& [description, mask] : TvtPreviewModel::SaveFilters()) {
    filters.push_back(file_filter(description, mask));
    dialog.add_filter(filters.back());
  }
  dialog.set_filter(filters.front());
  dialog.set_current_name("report.zrw");
  const std::optional<std::string> file = run_file_dialog(dialog);
  if (!file) return;
  int index = 1;
  for (size_t i = 0; i < filters.size(); ++i)
    if (dialog.get_filter() == filters[i]) index = static_cast<int>(i) + 1;
  try {
    // The format's options window comes before the export; its Cancel ends the export
    // without a file and without a message.
    ExportOptionsScope options(parent);
    model_.SaveByFilterIndex(index, *file);
  } catch (const std::exception& e) {
    show_error("Cannot save " + utf8_to_ansi(*file) + ":", e);
  }
  Refresh();
}

void PreviewPanel::PrintCommand() {
  if (!model_.HasPages() || !model_.Report() || !model_.PrintEnabled) return;
  TvtReport& report = *model_.Report();
  auto attach = [this, &report] {
    model_.ConnectReport(report);
    model_.RedrawAll(false);
    Refresh();
  };
  TvtPrintCommandHooks hooks;
  hooks.show_dialog = [this](TvtPrintForm& form) {
    PrintDialog dialog(window_of(*this), form);
    return dialog.Run();
  };
  hooks.detach_pages = [this] { model_.ReleasePages(); };
  hooks.attach_pages = attach;
  try {
    RunPrintCommand(report, model_.CurPage, hooks);
  } catch (const std::exception& e) {
    attach();
    show_error("", e);
    return;
  }
  attach();
}

void PreviewPanel::FindCommand() {
  if (!model_.Report()) return;
  FindDialog dialog(window_of(*this));
  if (!dialog.Run()) return;
  try {
    model_.FindAccepted(dialog.Text(), dialog.CaseSensitive(), dialog.FromFirstPage());
  } catch (const std::exception& e) {
    show_error("", e);
  }
  Refresh();
}

PreviewWindow::PreviewWindow(GtkUi& ui, PreviewOptions options) : panel_(ui, std::move(options)) {
  set_title("Zorel Preview");
  set_default_size(629, 463);
  set_child(panel_);
  panel_.OnClose = [this] { close(); };
  // The window sees keys before its controls.
  auto keys = Gtk::EventControllerKey::create();
  keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
  keys->signal_key_pressed().connect(
      [this](guint keyval, guint, Gdk::ModifierType state) {
        return panel_.HandleKey(keyval, state);
      },
      false);
  add_controller(keys);
}

void RunPreviewWindow(GtkUi& ui, TvtReport& report, PreviewOptions options) {
  PreviewWindow window(ui, std::move(options));
  ui.set_parent(&window);
  window.panel().ShowReport(report);
  window.panel().OnObjectClicked = [&window, &report] {
    // A drill-down prepared another report: show it in place of the one clicked.
    if (report.EMFPages.Count() > 0) window.panel().ShowReport(report);
  };
  window.maximize();
  window.present();
  while (window.get_visible()) g_main_context_iteration(nullptr, true);
  ui.set_parent(nullptr);
  window.panel().ReleasePages();
}

}  // namespace zr::gui

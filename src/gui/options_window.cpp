#include "gui/options_window.h"

#include "gui/gtk_ui.h"
#include "platform/codepage.h"

namespace zr::gui {

OptionsWindow::OptionsWindow(Gtk::Window* parent, const std::string& caption,
                             const std::string& ok_caption, const std::string& cancel_caption)
    : buttons_(*this, ok_caption, cancel_caption, [this] {
        accepted_ = true;
        hide();
      }) {
  set_title(plain(caption));
  set_resizable(false);
  // The window manager's close button answers as Cancel does.
  set_hide_on_close(true);
  if (parent) set_transient_for(*parent);
  box_.set_margin(10);
  box_.append(body_);
  box_.append(buttons_);
  set_child(box_);
}

Gtk::CheckButton& OptionsWindow::check(const std::string& caption, bool& value) {
  auto* box = Gtk::make_managed<Gtk::CheckButton>(mnemonic(caption), true);
  box->set_active(value);
  box->signal_toggled().connect([this, box, &value] {
    value = box->get_active();
    apply_rules();
  });
  return *box;
}

Gtk::Entry& OptionsWindow::entry(std::string& value) {
  auto* edit = Gtk::make_managed<Gtk::Entry>();
  edit->set_text(ansi_to_utf8(value));
  edit->set_activates_default(true);
  edit->set_hexpand(true);
  edit->signal_changed().connect([this, edit, &value] {
    value = utf8_to_ansi(edit->get_text().raw());
    apply_rules();
  });
  return *edit;
}

Gtk::Entry& OptionsWindow::filtered_entry(std::string& value, bool (*accepts)(char)) {
  Gtk::Entry& edit = entry(value);
  // Runs before the binding above: what is refused never reaches the field.
  edit.signal_changed().connect(
      [this, &edit, accepts] {
        if (filtering_) return;
        const std::string typed = edit.get_text().raw();
        std::string kept;
        for (char c : typed)
          if (c != '\b' && accepts(c)) kept += c;
        if (kept == typed) return;
        const int position = edit.get_position();
        filtering_ = true;
        edit.set_text(kept);
        filtering_ = false;
        edit.set_position(std::min(position, static_cast<int>(kept.size())));
      },
      false);
  return edit;
}

Gtk::DropDown& OptionsWindow::drop_down(const std::vector<std::string>& items, int& value) {
  auto* list = Gtk::make_managed<Gtk::DropDown>(string_list(items),
                                                Glib::RefPtr<Gtk::Expression<Glib::ustring>>());
  if (value >= 0 && value < static_cast<int>(items.size()))
    list->set_selected(static_cast<guint>(value));
  else
    list->set_selected(GTK_INVALID_LIST_POSITION);
  list->property_selected().signal_changed().connect([this, list, &value] {
    const guint chosen = list->get_selected();
    value = chosen == GTK_INVALID_LIST_POSITION ? -1 : static_cast<int>(chosen);
    apply_rules();
  });
  return *list;
}

Gtk::Box& OptionsWindow::group(Gtk::Box& into, const std::string& caption, Gtk::Frame** frame) {
  auto* box = Gtk::make_managed<Gtk::Frame>();
  if (!caption.empty()) box->set_label(plain(caption));
  auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 4);
  content->set_margin(6);
  box->set_child(*content);
  into.append(*box);
  if (frame) *frame = box;
  return *content;
}

Gtk::Grid& OptionsWindow::form_grid(Gtk::Box& into) {
  auto* grid = Gtk::make_managed<Gtk::Grid>();
  grid->set_row_spacing(4);
  grid->set_column_spacing(8);
  into.append(*grid);
  return *grid;
}

Gtk::Label& OptionsWindow::add_row(Gtk::Grid& grid, const std::string& caption,
                                   Gtk::Widget& widget) {
  int rows = 0;
  while (grid.get_child_at(0, rows) || grid.get_child_at(1, rows)) ++rows;
  auto* label = Gtk::make_managed<Gtk::Label>(mnemonic(caption), true);
  label->set_xalign(0);
  label->set_mnemonic_widget(widget);
  grid.attach(*label, 0, rows);
  grid.attach(widget, 1, rows);
  return *label;
}

void OptionsWindow::rule(std::function<void()> apply) {
  rules_.push_back(std::move(apply));
}

void OptionsWindow::apply_rules() {
  for (const auto& apply : rules_) apply();
}

bool OptionsWindow::Run() {
  accepted_ = false;
  apply_rules();
  if (first_focus_) first_focus_->grab_focus();
  run_modal(*this);
  return accepted_;
}

}  // namespace zr::gui

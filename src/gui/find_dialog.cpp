#include "gui/find_dialog.h"

#include "engine/locale/locale_strings.h"
#include "gui/gtk_ui.h"
#include "output/preview/preview_texts.h"
#include "platform/codepage.h"

namespace zr::gui {

namespace {

// "&Case sensitive" -> "_Case sensitive": the mnemonic marks of the interface texts.
Glib::ustring mnemonic(int id) {
  std::string text = ansi_to_utf8(LoadStr(id));
  for (char& c : text)
    if (c == '&') c = '_';
  return text;
}

}  // namespace

FindDialog::FindDialog(Gtk::Window* parent) {
  set_title(mnemonic(kStrFindText));
  set_default_size(262, 158);
  set_resizable(false);
  if (parent) set_transient_for(*parent);
  box_.set_margin(8);
  label_.set_text_with_mnemonic(mnemonic(kStrTextToFind));
  label_.set_mnemonic_widget(edit_);
  label_.set_halign(Gtk::Align::START);
  edit_.set_activates_default(true);
  case_sensitive_.set_label(mnemonic(kStrCaseSensitive));
  case_sensitive_.set_use_underline(true);
  options_.set_label(mnemonic(kStrFindOptions));
  options_.set_child(case_sensitive_);
  first_page_.set_label(mnemonic(kStrFirstPage));
  first_page_.set_use_underline(true);
  current_page_.set_label(mnemonic(kStrCurrentPage));
  current_page_.set_use_underline(true);
  current_page_.set_group(first_page_);
  first_page_.set_active(true);
  origin_box_.append(first_page_);
  origin_box_.append(current_page_);
  origin_.set_label(mnemonic(kStrFindOrigin));
  origin_.set_child(origin_box_);
  ok_.set_label(mnemonic(kStrOk));
  cancel_.set_label(mnemonic(kStrCancel));
  ok_.signal_clicked().connect([this] {
    accepted_ = true;
    hide();
  });
  cancel_.signal_clicked().connect([this] { hide(); });
  buttons_.set_halign(Gtk::Align::END);
  buttons_.append(ok_);
  buttons_.append(cancel_);
  box_.append(label_);
  box_.append(edit_);
  box_.append(options_);
  box_.append(origin_);
  box_.append(buttons_);
  set_child(box_);
  set_default_widget(ok_);
  auto keys = Gtk::EventControllerKey::create();
  keys->signal_key_pressed().connect(
      [this](guint keyval, guint, Gdk::ModifierType) {
        if (keyval != GDK_KEY_Escape) return false;
        hide();
        return true;
      },
      false);
  add_controller(keys);
}

bool FindDialog::Run() {
  accepted_ = false;
  edit_.grab_focus();
  edit_.select_region(0, -1);
  run_modal(*this);
  return accepted_;
}

std::string FindDialog::Text() const {
  return utf8_to_ansi(edit_.get_text().raw());
}

}  // namespace zr::gui

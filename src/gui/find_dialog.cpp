#include "gui/find_dialog.h"

#include "engine/locale/locale_strings.h"
#include "gui/dialog_parts.h"
#include "gui/gtk_ui.h"
#include "output/preview/preview_texts.h"
#include "platform/codepage.h"

namespace zr::gui {

namespace {

// The interface text `id` with its "&" marks as mnemonics.
Glib::ustring text(int id) {
  return mnemonic(LoadStr(id));
}

}  // namespace

FindDialog::FindDialog(Gtk::Window* parent)
    : buttons_(*this, LoadStr(kStrOk), LoadStr(kStrCancel), [this] {
        accepted_ = true;
        hide();
      }) {
  set_title(text(kStrFindText));
  set_default_size(262, 158);
  set_resizable(false);
  if (parent) set_transient_for(*parent);
  box_.set_margin(8);
  label_.set_text_with_mnemonic(text(kStrTextToFind));
  label_.set_mnemonic_widget(edit_);
  label_.set_halign(Gtk::Align::START);
  edit_.set_activates_default(true);
  case_sensitive_.set_label(text(kStrCaseSensitive));
  case_sensitive_.set_use_underline(true);
  options_.set_label(text(kStrFindOptions));
  options_.set_child(case_sensitive_);
  first_page_.set_label(text(kStrFirstPage));
  first_page_.set_use_underline(true);
  current_page_.set_label(text(kStrCurrentPage));
  current_page_.set_use_underline(true);
  current_page_.set_group(first_page_);
  first_page_.set_active(true);
  origin_box_.append(first_page_);
  origin_box_.append(current_page_);
  origin_.set_label(text(kStrFindOrigin));
  origin_.set_child(origin_box_);
  box_.append(label_);
  box_.append(edit_);
  box_.append(options_);
  box_.append(origin_);
  box_.append(buttons_);
  set_child(box_);
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

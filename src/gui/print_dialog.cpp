#include "gui/print_dialog.h"

#include <string>
#include <vector>

#include "engine/printer/application_printer.h"
#include "engine/report/tvt_globals.h"
#include "gui/dialog_parts.h"
#include "gui/gtk_ui.h"
#include "platform/codepage.h"
#include "platform/ui_services.h"

namespace zr::gui {

namespace {

// The printer's own options: its papers and the orientation, edited in `mode`. True on OK.
bool edit_printer_mode(Gtk::Window& parent, const std::string& caption,
                       const std::vector<PrinterChoice>& papers, DeviceMode& mode) {
  Gtk::Window dialog;
  dialog.set_title(caption);
  dialog.set_resizable(false);
  dialog.set_transient_for(parent);
  Gtk::Box box(Gtk::Orientation::VERTICAL, 8);
  box.set_margin(12);
  Gtk::Label paper_label("Paper:");
  paper_label.set_halign(Gtk::Align::START);
  std::vector<std::string> names;
  guint selected = 0;
  for (size_t i = 0; i < papers.size(); ++i) {
    names.push_back(papers[i].name);
    if (papers[i].code == mode.paper_size) selected = static_cast<guint>(i);
  }
  Gtk::DropDown paper(string_list(names), {});
  paper.set_selected(selected);
  paper.set_sensitive(!papers.empty() && (mode.fields & DM_PAPERSIZE));
  Gtk::CheckButton portrait("Portrait"), landscape("Landscape");
  landscape.set_group(portrait);
  (mode.orientation == DMORIENT_LANDSCAPE ? landscape : portrait).set_active(true);
  const bool turns = mode.fields & DM_ORIENTATION;
  portrait.set_sensitive(turns);
  landscape.set_sensitive(turns);
  bool accepted = false;
  DialogButtons buttons(dialog, "OK", "Cancel", [&] {
    accepted = true;
    dialog.hide();
  });
  box.append(paper_label);
  box.append(paper);
  box.append(portrait);
  box.append(landscape);
  box.append(buttons);
  dialog.set_child(box);
  run_modal(dialog);
  if (!accepted) return false;
  if (paper.get_selected() < papers.size()) mode.paper_size = papers[paper.get_selected()].code;
  mode.orientation = landscape.get_active() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  return true;
}

// One sheet of the collate pictures: a white page with its number.
void draw_sheet(const Cairo::RefPtr<Cairo::Context>& cr, double x, double y, double w, double h,
                int number) {
  cr->rectangle(x + 0.5, y + 0.5, w, h);
  cr->set_source_rgb(1, 1, 1);
  cr->fill_preserve();
  cr->set_source_rgb(0.3, 0.3, 0.3);
  cr->set_line_width(1);
  cr->stroke();
  cr->set_font_size(11);
  cr->move_to(x + w - 10, y + h - 5);
  cr->show_text(std::to_string(number));
}

}  // namespace

PrintDialog::PrintDialog(Gtk::Window* parent, TvtPrintForm& form)
    : form_(form), buttons_(*this, form.OkCaption, form.CancelCaption, [this] { accept(); }) {
  set_title(plain(form_.Caption));
  set_default_size(485, 226);
  set_resizable(false);
  if (parent) set_transient_for(*parent);
  box_.set_margin(8);
  build_printer_group();
  build_pages_group();
  build_copies_group();
  groups_.append(pages_group_);
  groups_.append(copies_group_);
  box_.append(printer_group_);
  box_.append(groups_);
  box_.append(buttons_);
  set_child(box_);
}

void PrintDialog::build_printer_group() {
  printer_group_.set_label(plain(form_.PrinterGroup));
  name_label_.set_text_with_mnemonic(mnemonic(form_.NameLabel));
  name_label_.set_mnemonic_widget(printers_);
  // The drop-down itself takes no focus (its button does): its mnemonic leads to the button.
  printers_.signal_mnemonic_activate().connect(
      [this](bool) {
        printers_.grab_focus();
        return true;
      },
      false);
  printers_.set_model(string_list(form_.Printers()));
  if (form_.PrinterIndex() >= 0) printers_.set_selected(static_cast<guint>(form_.PrinterIndex()));
  printers_.set_hexpand(true);
  printers_.property_selected().signal_changed().connect([this] {
    if (syncing_) return;
    const guint chosen = printers_.get_selected();
    if (chosen == GTK_INVALID_LIST_POSITION) return;
    try {
      form_.ChoosePrinter(static_cast<int>(chosen));
    } catch (const std::exception&) {
      // A printer gone since the list was read: the entry in use stays chosen.
      syncing_ = true;
      printers_.set_selected(static_cast<guint>(form_.PrinterIndex()));
      syncing_ = false;
    }
  });
  properties_.set_label(plain(form_.PropertiesCaption));
  properties_.signal_clicked().connect([this] { show_properties(); });
  printer_row_.set_margin(6);
  printer_row_.append(name_label_);
  printer_row_.append(printers_);
  printer_row_.append(properties_);
  printer_group_.set_child(printer_row_);
}

void PrintDialog::build_pages_group() {
  pages_group_.set_label(plain(form_.PagesGroup));
  all_.set_label(mnemonic(form_.AllCaption));
  current_page_.set_label(mnemonic(form_.CurrentPageCaption));
  pages_.set_label(mnemonic(form_.PagesCaption));
  for (Gtk::CheckButton* radio : {&all_, &current_page_, &pages_}) radio->set_use_underline(true);
  current_page_.set_group(all_);
  pages_.set_group(all_);
  switch (form_.PageRange) {
    case TvtPrintForm::Range::All:
      all_.set_active(true);
      break;
    case TvtPrintForm::Range::CurrentPage:
      current_page_.set_active(true);
      break;
    case TvtPrintForm::Range::Pages:
      pages_.set_active(true);
      break;
  }
  pages_edit_.set_text(ansi_to_utf8(form_.PagesText()));
  pages_edit_.set_activates_default(true);
  pages_edit_.set_hexpand(true);
  // Clicking "Pages" leads to the numbers; going into the numbers chooses "Pages".
  pages_.signal_toggled().connect([this] {
    if (pages_.get_active() && !pages_edit_.has_focus()) pages_edit_.grab_focus();
  });
  auto focus = Gtk::EventControllerFocus::create();
  focus->signal_enter().connect([this] { pages_.set_active(true); });
  pages_edit_.add_controller(focus);
  pages_edit_.signal_changed().connect([this] { pages_.set_active(true); });
  pages_row_.append(pages_);
  pages_row_.append(pages_edit_);
  pages_hint_.set_text(ansi_to_utf8(form_.PagesHint));
  pages_hint_.set_wrap(true);
  pages_hint_.set_max_width_chars(36);
  pages_hint_.set_xalign(0);
  pages_hint_.add_css_class("dim-label");
  which_.set_model(string_list(form_.WhichItems));
  which_.set_selected(static_cast<guint>(form_.WhichIndex));
  which_.set_halign(Gtk::Align::START);
  which_.set_margin_start(11);
  pages_box_.set_margin(6);
  pages_box_.append(all_);
  pages_box_.append(current_page_);
  pages_box_.append(pages_row_);
  pages_box_.append(pages_hint_);
  pages_box_.append(which_);
  pages_group_.set_child(pages_box_);
  pages_group_.set_hexpand(true);
}

void PrintDialog::build_copies_group() {
  copies_group_.set_label(plain(form_.CopiesGroup));
  copies_label_.set_text_with_mnemonic(mnemonic(form_.CopiesLabel));
  copies_label_.set_mnemonic_widget(copies_edit_);
  copies_edit_.set_text(ansi_to_utf8(form_.CopiesText));
  copies_edit_.set_width_chars(4);
  copies_edit_.set_activates_default(true);
  copies_edit_.signal_changed().connect([this] {
    if (!syncing_) form_.CopiesText = utf8_to_ansi(copies_edit_.get_text().raw());
  });
  auto step = [this](bool up) {
    form_.CopiesText = utf8_to_ansi(copies_edit_.get_text().raw());
    up ? form_.CopiesUp() : form_.CopiesDown();
    syncing_ = true;
    copies_edit_.set_text(ansi_to_utf8(form_.CopiesText));
    syncing_ = false;
  };
  copies_up_.set_icon_name("pan-up-symbolic");
  copies_down_.set_icon_name("pan-down-symbolic");
  copies_up_.signal_clicked().connect([step] { step(true); });
  copies_down_.signal_clicked().connect([step] { step(false); });
  copies_row_.append(copies_label_);
  copies_row_.append(copies_edit_);
  copies_row_.append(copies_up_);
  copies_row_.append(copies_down_);
  collate_.set_label(mnemonic(form_.CollateCaption));
  collate_.set_use_underline(true);
  collate_.set_active(form_.Collate);
  collate_.signal_toggled().connect([this] {
    form_.Collate = collate_.get_active();
    collate_picture_.queue_draw();
  });
  collate_picture_.set_content_width(92);
  collate_picture_.set_content_height(53);
  collate_picture_.set_draw_func(sigc::mem_fun(*this, &PrintDialog::draw_collate));
  collate_row_.append(collate_picture_);
  collate_row_.append(collate_);
  copies_box_.set_margin(6);
  copies_box_.append(copies_row_);
  copies_box_.append(collate_row_);
  copies_group_.set_child(copies_box_);
}

void PrintDialog::show_properties() {
  const std::string caption = plain(form_.PropertiesCaption);
  const std::vector<PrinterChoice> papers = TvtGlobals::Get().printer.system_printer().Papers();
  try {
    form_.Properties(
        [&](DeviceMode& mode) { return edit_printer_mode(*this, caption, papers, mode); });
  } catch (const std::exception& e) {
    // The printer refused the mode: it keeps the one it had.
    TvtGlobals::Get().ui.show_message(e.what(), caption, MB_OK | MB_ICONERROR);
  }
}

void PrintDialog::draw_collate(const Cairo::RefPtr<Cairo::Context>& cr, int, int) {
  const TvtPrintForm::CollatePicture picture = form_.Picture();
  const double x = picture.bounds.left, y = picture.bounds.top;
  if (picture.collated) {
    // Two sets of pages 1, 2, 3, each set on top of the other's back.
    for (int set = 0; set < 2; ++set)
      for (int page = 3; page >= 1; --page)
        draw_sheet(cr, x + set * 38 + (page - 1) * 6, y + (page - 1) * 8, 22, 30, page);
  } else {
    // Pages 1, 2 and 3, each in two copies lying together.
    for (int page = 1; page <= 3; ++page)
      for (int copy = 1; copy >= 0; --copy)
        draw_sheet(cr, x + (page - 1) * 32 + copy * 6, y + copy * 6, 22, 28, page);
  }
}

void PrintDialog::accept() {
  // What the widgets show is what prints.
  form_.EnterPages(utf8_to_ansi(pages_edit_.get_text().raw()));
  form_.PageRange = all_.get_active()            ? TvtPrintForm::Range::All
                    : current_page_.get_active() ? TvtPrintForm::Range::CurrentPage
                                                 : TvtPrintForm::Range::Pages;
  form_.CopiesText = utf8_to_ansi(copies_edit_.get_text().raw());
  form_.Collate = collate_.get_active();
  const guint which = which_.get_selected();
  form_.WhichIndex = which == GTK_INVALID_LIST_POSITION ? 0 : static_cast<int>(which);
  accepted_ = true;
  hide();
}

bool PrintDialog::Run() {
  accepted_ = false;
  // Not the numbers entry: going into it would choose "Pages".
  buttons_.ok().grab_focus();
  run_modal(*this);
  return accepted_;
}

}  // namespace zr::gui

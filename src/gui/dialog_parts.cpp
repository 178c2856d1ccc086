#include "gui/dialog_parts.h"

#include "platform/codepage.h"

namespace zr::gui {

Glib::ustring mnemonic(const std::string& ansi) {
  std::string text = ansi_to_utf8(ansi);
  for (char& c : text)
    if (c == '&') c = '_';
  return text;
}

Glib::ustring plain(const std::string& ansi) {
  const std::string utf8 = ansi_to_utf8(ansi);
  std::string text;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] != '&') {
      text += utf8[i];
    } else if (i + 1 < utf8.size() && utf8[i + 1] == '&') {
      text += '&';
      ++i;
    }
  }
  return text;
}

Glib::RefPtr<Gtk::StringList> string_list(const std::vector<std::string>& ansi) {
  std::vector<Glib::ustring> items;
  for (const std::string& item : ansi) items.push_back(ansi_to_utf8(item));
  return Gtk::StringList::create(items);
}

void close_on_escape(Gtk::Window& window) {
  auto keys = Gtk::EventControllerKey::create();
  keys->signal_key_pressed().connect(
      [&window](guint keyval, guint, Gdk::ModifierType) {
        if (keyval != GDK_KEY_Escape) return false;
        window.hide();
        return true;
      },
      false);
  window.add_controller(keys);
}

DialogButtons::DialogButtons(Gtk::Window& window, const std::string& ok_caption,
                             const std::string& cancel_caption, std::function<void()> on_ok)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6) {
  ok_.set_label(mnemonic(ok_caption));
  ok_.set_use_underline(true);
  cancel_.set_label(mnemonic(cancel_caption));
  cancel_.set_use_underline(true);
  ok_.signal_clicked().connect(std::move(on_ok));
  cancel_.signal_clicked().connect([&window] { window.hide(); });
  set_halign(Gtk::Align::END);
  append(ok_);
  append(cancel_);
  window.set_default_widget(ok_);
  close_on_escape(window);
}

}  // namespace zr::gui

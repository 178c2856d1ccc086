#pragma once
// What the dialogs share: the interface texts turned into GTK labels (their "&" marks become
// mnemonics or go), Esc closing a dialog as Cancel does, and the OK / Cancel row at the foot.

#include <gtkmm.h>

#include <functional>
#include <string>
#include <vector>

namespace zr::gui {

// "&Pages:" -> "_Pages:" (ANSI in, UTF-8 out).
Glib::ustring mnemonic(const std::string& ansi);
// "&Pages:" -> "Pages:"; "&&" stays one "&".
Glib::ustring plain(const std::string& ansi);
Glib::RefPtr<Gtk::StringList> string_list(const std::vector<std::string>& ansi);

// Closes `window` on Esc, as Cancel does.
void close_on_escape(Gtk::Window& window);

// OK and Cancel, right-aligned. OK runs `on_ok` (which closes the window when it accepts);
// Cancel and Esc hide the window. OK is the window's default widget, so Return in an entry
// that activates the default chooses it.
class DialogButtons : public Gtk::Box {
 public:
  DialogButtons(Gtk::Window& window, const std::string& ok_caption,
                const std::string& cancel_caption, std::function<void()> on_ok);
  Gtk::Button& ok() { return ok_; }
  Gtk::Button& cancel() { return cancel_; }

 private:
  Gtk::Button ok_, cancel_;
};

}  // namespace zr::gui

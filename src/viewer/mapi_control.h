#pragma once
// TMapiControl: the control's mail component ("map" on the form). SendMail builds one message
// from the component's properties and hands it to the desktop's mail client through a
// MailHandOff, which opens a mail window with the attachments for the user to complete and
// send. The result follows the classic mail call: 0 success, 1 user abort (also when no mail
// client can be started), anything else an error; the matching event fires when set.
//
// Texts are ANSI bytes; a hand-off converts them at its own edge. Single-threaded.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zr {

// Recipient classes of a message.
enum class MailRecipientClass { Originator = 0, To = 1, Cc = 2, Bcc = 3 };

struct MailRecipient {
  MailRecipientClass recipient_class = MailRecipientClass::To;
  std::string name;
  std::string address;  // "SMTP:" + the name for recipients
  bool operator==(const MailRecipient&) const = default;
};

struct MailAttachment {
  std::string path;          // full path
  std::string display_name;  // the file-name part of the path
  bool operator==(const MailAttachment&) const = default;
};

struct MailMessage {
  std::string subject;
  std::string body;
  MailRecipient originator;
  std::vector<MailRecipient> recipients;
  std::vector<MailAttachment> attachments;
  bool show_dialog = true;  // let the user edit and send (the only way the desktop mails)
};

inline constexpr int kMailSuccess = 0;
inline constexpr int kMailUserAbort = 1;
inline constexpr int kMailFailure = 2;

// Hands a message to the mail client; returns the result code. `detail` receives a short
// explanation of a failure for the caller's log.
class MailHandOff {
 public:
  virtual ~MailHandOff() = default;
  virtual int Send(const MailMessage& message, std::string& detail) = 0;
};

// Runs `xdg-email` (found on PATH) with the recipients, subject, body and one --attach per
// attachment, without a shell, and waits for it: its exit status 0 is success; a program that
// cannot be started counts as 1 (nothing could be loaded), any other status as a failure.
class XdgEmailHandOff : public MailHandOff {
 public:
  explicit XdgEmailHandOff(std::string program = "xdg-email") : program_(std::move(program)) {}
  int Send(const MailMessage& message, std::string& detail) override;
  // The argument list Send passes (without the program name), for tests and logs.
  static std::vector<std::string> arguments(const MailMessage& message);

 private:
  std::string program_;
};

class TMapiControl {
 public:
  // `hand_off` is not owned and must outlive the component.
  explicit TMapiControl(MailHandOff& hand_off) : hand_off_(hand_off) {}

  std::string Subject, Body, FromName, FromAdress;
  std::vector<std::string> Recipients, CopyTo, BlindCopyTo, AttachedFiles, DisplayFileName;
  bool ShowDialog = true;
  bool UseAppHandle = false;  // kept; there is no application window to pass

  std::function<void()> OnUserAbort;
  std::function<void(int result)> OnMapiError;
  std::function<void()> OnSuccess;

  // Builds the message, hands it off and fires the event of the result; returns the result.
  // `detail` is the hand-off's explanation of a failure.
  int SendMail(std::string* detail = nullptr);
  // The message SendMail hands off (fills DisplayFileName as a side effect).
  MailMessage BuildMessage();

 private:
  MailHandOff& hand_off_;
};

}  // namespace zr

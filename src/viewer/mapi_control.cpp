#include "viewer/mapi_control.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "platform/codepage.h"

extern char** environ;

namespace zr {

namespace {

std::string file_name_part(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void add_recipients(std::vector<MailRecipient>& out, const std::vector<std::string>& lines,
                    MailRecipientClass recipient_class) {
  for (const std::string& line : lines) out.push_back({recipient_class, line, "SMTP:" + line});
}

}  // namespace

MailMessage TMapiControl::BuildMessage() {
  MailMessage message;
  message.subject = Subject;
  message.body = Body;
  message.originator = {MailRecipientClass::Originator, FromName, FromAdress};
  add_recipients(message.recipients, Recipients, MailRecipientClass::To);
  add_recipients(message.recipients, CopyTo, MailRecipientClass::Cc);
  add_recipients(message.recipients, BlindCopyTo, MailRecipientClass::Bcc);
  DisplayFileName.clear();
  for (const std::string& path : AttachedFiles) {
    DisplayFileName.push_back(file_name_part(path));
    message.attachments.push_back({path, DisplayFileName.back()});
  }
  message.show_dialog = ShowDialog;
  return message;
}

int TMapiControl::SendMail(std::string* detail) {
  std::string explanation;
  const int result = hand_off_.Send(BuildMessage(), explanation);
  if (detail) *detail = explanation;
  if (result == kMailSuccess) {
    if (OnSuccess) OnSuccess();
  } else if (result == kMailUserAbort) {
    if (OnUserAbort) OnUserAbort();
  } else if (OnMapiError) {
    OnMapiError(result);
  }
  return result;
}

std::vector<std::string> XdgEmailHandOff::arguments(const MailMessage& message) {
  std::vector<std::string> args = {"--utf8"};
  std::vector<std::string> to;
  for (const MailRecipient& r : message.recipients) {
    const std::string address = ansi_to_utf8(r.name);
    if (r.recipient_class == MailRecipientClass::Cc) {
      args.insert(args.end(), {"--cc", address});
    } else if (r.recipient_class == MailRecipientClass::Bcc) {
      args.insert(args.end(), {"--bcc", address});
    } else {
      to.push_back(address);
    }
  }
  if (!message.subject.empty())
    args.insert(args.end(), {"--subject", ansi_to_utf8(message.subject)});
  if (!message.body.empty()) args.insert(args.end(), {"--body", ansi_to_utf8(message.body)});
  for (const MailAttachment& a : message.attachments)
    args.insert(args.end(), {"--attach", ansi_to_utf8(a.path)});
  args.insert(args.end(), to.begin(), to.end());
  return args;
}

int XdgEmailHandOff::Send(const MailMessage& message, std::string& detail) {
  std::vector<std::string> args = arguments(message);
  args.insert(args.begin(), program_);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, program_.c_str(), nullptr, nullptr, argv.data(), environ);
  if (spawned != 0) {
    detail = "The mail client cannot be started (" + program_ + ": " + std::strerror(spawned) + ")";
    return kMailUserAbort;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      detail = "The mail client " + program_ + " was lost: " + std::strerror(errno);
      return kMailFailure;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return kMailSuccess;
  detail = "The mail client " + program_ + " failed (" +
           (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                              : std::string("stopped by a signal")) +
           ")";
  return kMailFailure;
}

}  // namespace zr

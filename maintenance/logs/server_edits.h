#pragma once
#include <functional>
#include <string>

class Prompter;

// The edits of the server list as the operator makes them, with every rule and message of the
// list: the dialog and the terminal front end both call these. Messages go to the prompter;
// reload (may be empty) is called after a change, before or after its message as the list shows
// it. The password is never part of a message.

// The six fields of the server form, as typed.
struct ServerFields {
  std::string ip;
  std::string port;
  std::string username;
  std::string password;
  std::string repeatedPassword;
  std::string remark;
};

enum class ServerEdit {
  Done,          // the store changed, the operator was told
  Refused,       // a field is wrong, the ip exists (add) or is missing (delete): the operator was told
  Failed,        // the data store failed: the operator was told
  NotConfirmed,  // the operator did not answer Yes; nothing changed
};

// Checks the fields in order, each trimmed of white space when its check comes, and stops at the
// first failure with its message: ip 7..15 bytes, port, user name and password not empty, the
// repeated password equal to the password (exactly, letter case counts), the ip not yet in the
// list (a failed lookup lets the insert decide). Then inserts the trimmed texts and reports.
ServerEdit qevAddServer(Prompter& prompter, const ServerFields& fields, const std::function<void()>& reload);

// After the operator's Yes, deletes the server whose ip (trimmed, 7..15 bytes) is given: the ip
// field decides, not a selection. An ip that is not in the list (or cannot be looked up) is
// reported as missing.
ServerEdit qevDeleteServer(Prompter& prompter, const std::string& ip, const std::function<void()>& reload);

// After the operator's Yes, deletes every server, reloads, and reports the outcome: "删除完成！"
// only when the delete succeeded.
ServerEdit qevDeleteAllServers(Prompter& prompter, const std::function<void()>& reload);

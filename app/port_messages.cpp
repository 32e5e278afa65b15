#include "app/port_messages.h"

#include <cerrno>

namespace logger {

namespace {

std::string PermissionAdvice(const platform::DeviceAccess& access) {
  if (!access.known) return "You have no permission to use this device.";
  if (!access.groupMayReadWrite) {
    // Adding the user to a group that has no access would not help.
    return "Only its owner (" + access.owner +
           ") may use this device. Ask the administrator to give it to a group such as dialout, "
           "with read and write access for the group.";
  }
  if (access.userInGroup && !access.sessionHasGroup) {
    return "The device belongs to the group " + access.group + ". You are a member of " + access.group +
           ", but this login session started before you were added: log out and log in again.";
  }
  std::string user = access.userName.empty() ? std::string("$USER") : access.userName;
  return "The device belongs to the group " + access.group + ". Add your user to that group, then log out and log in "
         "again:\n    sudo usermod -aG " + access.group + " " + user;
}

}  // namespace

std::string PortOpenErrorText(const std::string& path, const platform::IoError& error,
                              const platform::DeviceAccess& access, const std::string& chooseHint) {
  std::string text = "Error opening COM:\n";
  text += path;
  text += ": ";
  text += error.Describe();
  std::string advice;
  switch (error.status) {
    case platform::IoStatus::AccessDenied: advice = PermissionAdvice(access); break;
    case platform::IoStatus::Busy:
      advice = "Another program is using the device (a terminal program, a modem manager or another copy of "
               "this tool). Close it, then open the port again.";
      break;
    case platform::IoStatus::NotFound:
      advice = "The device is not present: plug the recorder's adapter in";
      if (!chooseHint.empty()) advice += ", or " + chooseHint;
      if (advice.back() != '.') advice += '.';
      break;
    default:
      if (error.systemError == ENOTTY) advice = "It is not a serial device.";
      break;
  }
  if (!advice.empty()) {
    text += '\n';
    text += advice;
  }
  return text;
}

}  // namespace logger

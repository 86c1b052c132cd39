#pragma once

#include <string>

#include "cli/commands.h"

namespace cli {

// The help of the whole tool, or of the commands of a group such as "chart".
std::string Overview(const std::string& group = {});
// The help of one command: its calls, options, arguments and exit statuses.
std::string CommandHelp(const CommandSpec& command);
// The calls of a command as a wrong count names them: "DATUM BREITE LÄNGE oder ...".
std::string FormsText(const CommandSpec& command, bool withOptionForms);

// Made from the command table at build time: the bash completion, and the sections of the
// manual page that hold every command's help (help2man's --include).
std::string BashCompletion();
std::string ManualSections();

}  // namespace cli

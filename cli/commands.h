#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

class QCommandLineParser;

namespace cli {

// Exit statuses: a wrong entry 2, a file error 1.
inline constexpr int kWrongEntry = 2;
inline constexpr int kFileError = 1;

struct Io;

// What may follow an option or stand as an argument, for the shell's completion.
enum class Completion { kNothing, kFile, kFormat, kZone };

struct OptionSpec {
  const char* name;   // without "--"
  const char* value;  // the value's name in the help, or nullptr for a switch
  const char* description;
  const char* byDefault = nullptr;
  Completion completion = Completion::kNothing;
};

struct ArgumentSpec {
  const char* name;
  const char* description;
  Completion completion = Completion::kNothing;
};

// One way to call a command: its arguments in order, or an option that stands for them.
struct Form {
  std::vector<const char*> arguments;
  const char* option = nullptr;  // given, the form has no arguments
};

// A command: its words, what it does, its arguments and the forms they come in, its options, and
// its work, which receives the arguments already counted against the forms.
struct CommandSpec {
  std::vector<std::string> words;
  const char* summary;
  std::vector<ArgumentSpec> arguments;
  std::vector<Form> forms;
  std::vector<OptionSpec> options;
  int (*work)(QCommandLineParser&, Io&);
};

const std::vector<CommandSpec>& CommandTable();

// Runs one subcommand with its arguments (without the program name).
int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace cli

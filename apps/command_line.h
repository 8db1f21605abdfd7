#pragma once
// What the two command-line programs share in reading their arguments: one exit code for
// every argument error with a one-line message, --help and --version answered with 0, and
// whole numbers read as plain decimal digits.

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

namespace vk::apps {

inline constexpr int kExitBadArguments = 2;

// The program's name in usage lines and messages, and --version. Call before adding subcommands
// so that they inherit the footer (the exit codes).
inline void SetUpProgram(CLI::App& app, const std::string& name, const std::string& exitCodes) {
  app.name(name);
  app.set_version_flag("--version", name + " " + VK_VERSION, "Print the version and exit");
  app.footer("Exit codes:\n" + exitCodes);
}

// Parses the arguments. Returns nothing when the program should go on, otherwise its exit code:
// 0 after --help or --version, kExitBadArguments after any argument error.
inline std::optional<int> ParseArguments(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
    return std::nullopt;
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::string what = e.what();
    for (char& c : what)
      if (c == '\n') c = ' ';
    while (!what.empty() && what.back() == ' ') what.pop_back();
    std::cerr << app.get_name() << ": " << what << " (see " << app.get_name() << " --help)" << std::endl;
    return kExitBadArguments;
  }
}

// Accepts decimal digits only, up to 2^64 - 1: the number parser of the argument library takes
// "-1" as 2^64 - 1, clamps larger numbers and reads "010" as octal.
inline CLI::Validator WholeNumber() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        uint64_t value = 0;
        const char* end = text.data() + text.size();
        auto [at, ec] = std::from_chars(text.data(), end, value);
        if (text.empty() || ec == std::errc::result_out_of_range || ec != std::errc{} || at != end)
          return "\"" + text + "\" is not a whole number from 0 to 18446744073709551615";
        // Leading zeros would still be read as octal.
        text = std::to_string(value);
        return {};
      },
      "");
}

}  // namespace vk::apps

// The editor's command line:
//
//   cast [-C DIR] [Q]
//
// -C DIR runs the editor on the game folder DIR. What is left after the
// options is the argument text of the start-up, which switches shop mode on
// when it is exactly "Q". --help and --version print and end the program; an
// unknown option (a word starting with "-") is refused with the usage text.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct StartOptions {
  // The folder given with -C; nullopt when the editor is to find one.
  std::optional<QString> gameFolder;
  // The arguments after the options, for the start-up.
  QStringList startUpArguments;
  // Set when the program is to end at once with this status: after --help or
  // --version (0, the text on standard output) or a refused command line (2,
  // the usage on standard error).
  std::optional<int> exitStatus;
};

// Whether the command line holds --help or --version (or their short
// forms), which print and end the program without starting a window.
bool AsksOnlyForInformation(int argc, const char* const* argv);

// Reads `arguments` (the program's name first, as QCoreApplication gives
// them), printing what --help, --version or a refusal asks for.
StartOptions ReadStartOptions(const QStringList& arguments);

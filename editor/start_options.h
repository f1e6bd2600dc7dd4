// The editor's command line:
//
//   cast [-C DIR] [Q] [FILE.ec...]
//
// -C DIR runs the editor on the game folder DIR. An argument ending in ".ec"
// (in any letter case) names a cast package to import, as the desktop opens
// a package with the editor; it may also be a file: URL. What is left after
// the options and the packages is the argument text of the start-up, which
// switches shop mode on when it is exactly "Q". --help and --version print
// and end the program; an unknown option (a word starting with "-") is
// refused with the usage text.
#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

struct StartOptions {
  // The folder given with -C; nullopt when the editor is to find one.
  std::optional<QString> gameFolder;
  // The arguments after the options, less the packages, for the start-up.
  QStringList startUpArguments;
  // The packages named, in their order, each made absolute against the
  // folder the editor was started in (it then moves to the game folder).
  std::vector<std::filesystem::path> packages;
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

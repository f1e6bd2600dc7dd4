#include "export_command.h"

#include <cstdint>
#include <vector>

#include "cast_file_path.h"
#include "cast_name.h"
#include "cast_package.h"
#include "error.h"
#include "file_access.h"
#include "whole_file.h"

namespace casttool {

ExitStatus ExportCast(const platform::GameFolder& game, const std::string& name, const std::string& outFile,
                      Output& output) {
  if (const auto problem = castdata::CastNameProblem(name)) {
    output.Error(*problem);
    return ExitStatus::kFailure;
  }
  for (const char* extension : {".cst", ".dat", ".bmp"}) {
    if (const auto error = UnreadableFileError(castdata::CastFilePath(name, extension, game))) {
      output.Error(*error);
      return ExitStatus::kFailure;
    }
  }
  std::vector<std::uint8_t> package;
  try {
    package = castdata::BuildCastPackage(game, name);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kProblem;
  }
  const std::filesystem::path out = InGameFolder(game, outFile);
  std::string reason;
  if (!wholefile::Replace(out, package, &reason)) {
    output.Error(castdata::CannotWrite(out, reason));
    return ExitStatus::kProblem;
  }
  output.out() << outFile << ": written\n";
  return ExitStatus::kSuccess;
}

}  // namespace casttool

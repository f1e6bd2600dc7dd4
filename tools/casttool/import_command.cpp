#include "import_command.h"

#include <sstream>
#include <system_error>

#include "file_access.h"
#include "package_import.h"

namespace casttool {

ExitStatus ImportPackages(const platform::GameFolder& game, const std::vector<std::string>& files,
                          Output& output) {
  ExitStatus status = ExitStatus::kSuccess;
  for (const std::string& file : files) {
    const std::filesystem::path package = InGameFolder(game, file);
    if (const auto error = UnreadableFileError(package)) {
      output.Error(*error);
      status = Worse(status, ExitStatus::kFailure);
      continue;
    }
    const castdata::PackageImportOutcome outcome = castdata::ImportCastPackage(package, game);
    std::istringstream lines(outcome.message);
    for (std::string line; std::getline(lines, line);) output.out() << file << ": " << line << '\n';
    std::error_code ignored;
    const bool packageLeft = std::filesystem::exists(std::filesystem::symlink_status(package, ignored));
    if (!outcome.imported || packageLeft) status = Worse(status, ExitStatus::kProblem);
  }
  return status;
}

}  // namespace casttool

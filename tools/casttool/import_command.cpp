#include "import_command.h"

#include <filesystem>
#include <system_error>

#include "file_access.h"
#include "messages.h"
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
    if (!outcome.imported) {
      output.Error(messages::AboutFile(file, outcome.message));
      status = Worse(status, ExitStatus::kProblem);
      continue;
    }
    // The first line says the cast was imported; any after it, why the
    // package is still there.
    const std::string& message = outcome.message;
    const std::size_t lineEnd = message.find('\n');
    output.WriteLine(messages::AboutFile(file, message.substr(0, lineEnd)));
    if (lineEnd != std::string::npos) output.Error(messages::AboutFile(file, message.substr(lineEnd + 1)));
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(package, ignored))) {
      status = Worse(status, ExitStatus::kProblem);
    }
  }
  return status;
}

}  // namespace casttool

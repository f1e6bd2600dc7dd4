#include "pack_command.h"

#include "file_access.h"
#include "orvdll.h"

namespace casttool {

ExitStatus PackFiles(const platform::GameFolder& game, const std::vector<std::string>& files,
                     PackDirection direction, Output& output) {
  const bool pack = direction == PackDirection::kPack;
  ExitStatus status = ExitStatus::kSuccess;
  for (const std::string& file : files) {
    const std::filesystem::path path = InGameFolder(game, file);
    if (const auto error = UnreadableFileError(path)) {
      output.Error(*error);
      status = Worse(status, ExitStatus::kFailure);
      continue;
    }
    const bool rewritten = (pack ? FilePack(path.c_str()) : FileUnpack(path.c_str())) == 1;
    output.out() << file << ": " << (rewritten ? (pack ? "packed" : "unpacked") : "left untouched") << '\n';
    if (!rewritten) status = Worse(status, ExitStatus::kProblem);
  }
  return status;
}

}  // namespace casttool

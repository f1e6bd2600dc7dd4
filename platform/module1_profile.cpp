#include "module1.h"
#include "profile_file.h"

namespace Module1 {

std::string ReadProfileText(std::string_view section, std::string_view key,
                            const std::filesystem::path& path) {
  const std::optional<profile::ProfileFile> file = profile::ProfileFile::Load(path);
  return file ? file->Value(section, key) : std::string();
}

bool WriteProfileText(std::string_view section, std::string_view key, std::string_view value,
                      const std::filesystem::path& path, std::string* reason) {
  std::optional<profile::ProfileFile> file = profile::ProfileFile::Load(path, reason);
  return file && file->SetValue(section, key, value, reason) && file->Save(path, reason);
}

}  // namespace Module1

#include "package_scan.h"

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cast_name.h"
#include "folder_lock.h"

namespace castdata {
namespace {

constexpr std::string_view kPackageExtension = ".ec";
constexpr std::string_view kUploadPackageName = "UPLOAD";

bool IsPackageToImport(std::string_view fileName) {
  if (fileName.size() < kPackageExtension.size()) return false;
  const std::size_t nameEnd = fileName.size() - kPackageExtension.size();
  return platform::SameFileName(fileName.substr(nameEnd), kPackageExtension) &&
         !platform::SameFileName(fileName.substr(0, nameEnd), kUploadPackageName);
}

// The packages to import, in the order of the folder listing; nullopt with
// the outcome that reports a folder that cannot be listed.
std::optional<std::vector<std::filesystem::path>> ListPackages(const std::filesystem::path& folder,
                                                               PackageImportOutcome& failure) {
  std::vector<std::filesystem::path> packages;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && IsPackageToImport(it->path().filename().string())) {
      packages.push_back(it->path());
    }
  }
  if (!error) return packages;
  failure.message = "フォルダ" + folder.string() + "の一覧を読めません: " + error.message();
  return std::nullopt;
}

}  // namespace

void ScanCastPackages(const platform::GameFolder& game,
                      const std::function<void(const PackageImportOutcome&)>& report) {
  // The listing is taken whole first, so that deleting imported packages
  // cannot disturb it.
  const std::filesystem::path listed = game.Location();
  PackageImportOutcome failure;
  const auto found = ListPackages(listed, failure);
  if (!found) {
    report(failure);
    return;
  }
  if (found->empty()) return;  // nothing to import, nothing to lock
  // The lock is held over the whole scan, and the folder listed again under
  // it: another scan that ran meanwhile has imported and deleted what it
  // found.
  const platform::FolderLock lock(game.Resolve(kCastFolder));
  if (lock.Problem()) {
    failure.message = "ECファイルを展開できませんでした\n" + *lock.Problem();
    report(failure);
    return;
  }
  const auto packages = ListPackages(listed, failure);
  if (!packages) {
    report(failure);
    return;
  }
  for (const std::filesystem::path& package : *packages) report(ImportCastPackage(package, game));
}

bool IsScannedPackage(const std::filesystem::path& file, const platform::GameFolder& game) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error) || !IsPackageToImport(file.filename().string())) {
    return false;
  }
  const std::filesystem::path folder = std::filesystem::absolute(file, error).parent_path();
  return !error && std::filesystem::equivalent(folder, game.Location(), error);
}

PackageImportOutcome ImportNamedPackage(const std::filesystem::path& file, const platform::GameFolder& game) {
  const ImportedPackage whenImported = IsScannedPackage(file, game) ? ImportedPackage::kDelete : ImportedPackage::kKeep;
  return ImportCastPackage(file, game, whenImported);
}

}  // namespace castdata

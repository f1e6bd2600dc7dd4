#include "package_scan.h"

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

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

}  // namespace

void ScanCastPackages(const platform::GameFolder& game,
                      const std::function<void(const PackageImportOutcome&)>& report) {
  // The listing is taken whole first, so that deleting imported packages
  // cannot disturb it.
  std::vector<std::filesystem::path> packages;
  std::error_code error;
  const std::filesystem::path listed = game.Location();
  for (std::filesystem::directory_iterator it(listed, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && IsPackageToImport(it->path().filename().string())) {
      packages.push_back(it->path());
    }
  }
  if (error) {
    PackageImportOutcome outcome;
    outcome.message = "フォルダ" + listed.string() + "の一覧を読めません: " + error.message();
    report(outcome);
    return;
  }
  for (const std::filesystem::path& package : packages) report(ImportCastPackage(package, game));
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

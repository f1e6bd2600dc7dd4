#include "package_scan.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace castdata {
namespace {

constexpr std::string_view kPackageExtension = ".ec";
constexpr std::string_view kUploadPackageName = "UPLOAD";

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsPackageToImport(std::string_view fileName) {
  if (fileName.size() < kPackageExtension.size()) return false;
  const std::size_t nameEnd = fileName.size() - kPackageExtension.size();
  return EqualIgnoringCase(fileName.substr(nameEnd), kPackageExtension) &&
         !EqualIgnoringCase(fileName.substr(0, nameEnd), kUploadPackageName);
}

}  // namespace

void ScanCastPackages(const std::filesystem::path& gameFolder,
                      const std::function<void(const PackageImportOutcome&)>& report) {
  // The listing is taken whole first, so that deleting imported packages
  // cannot disturb it.
  std::vector<std::filesystem::path> packages;
  std::error_code error;
  const std::filesystem::path listed = gameFolder.empty() ? std::filesystem::path(".") : gameFolder;
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
  for (const std::filesystem::path& package : packages) report(ImportCastPackage(package, gameFolder));
}

}  // namespace castdata

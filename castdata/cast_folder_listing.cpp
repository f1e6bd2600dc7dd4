#include "cast_folder_listing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "cast_file_path.h"
#include "cast_name.h"
#include "error.h"

namespace castdata {
namespace {

constexpr std::string_view kExtensions[] = {".cst", ".dat", ".bmp"};  // by CastFileKind
constexpr std::size_t kExtensionSize = 4;
constexpr std::size_t kReadChunk = 4096;
constexpr std::string_view kNotARegularFile = "通常のファイルではありません";

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Orders names without regard to ASCII letter case; -1, 0 or 1.
int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char x = FoldAscii(a[i]);
    const char y = FoldAscii(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The kind of cast file `fileName` is by its extension in any letter case.
std::optional<CastFileKind> KindOf(std::string_view fileName) {
  if (fileName.size() < kExtensionSize) return std::nullopt;
  const std::string_view extension = fileName.substr(fileName.size() - kExtensionSize);
  for (std::size_t kind = 0; kind < std::size(kExtensions); ++kind) {
    if (platform::SameFileName(extension, kExtensions[kind])) return static_cast<CastFileKind>(kind);
  }
  return std::nullopt;
}

// Whether the entry is a regular file; the type the listing gives where it
// gives one, else (a symbolic link, a file system that does not say) what the
// entry names.
bool IsRegularFile(int folder, const dirent& entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status {};
  return ::fstatat(folder, entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

CastFolderListing::CastFolderListing(const platform::GameFolder& game) : folder_(game.Resolve(kCastFolder)) {
  const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    if (errno == ENOENT) return;
    throw Error(CannotRead(folder_, std::strerror(errno)));
  }
  listing_.reset(::fdopendir(folder));
  if (!listing_) {
    const int error = errno;
    ::close(folder);
    throw Error(CannotRead(folder_, std::strerror(error)));
  }
  ReadEntries(listing_.get());
  SortEntries();
  GroupCasts();
}

void CastFolderListing::ReadEntries(DIR* listing) {
  const int folder = ::dirfd(listing);
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(listing);
    if (entry == nullptr) {
      if (errno != 0) throw Error(CannotRead(folder_, std::strerror(errno)));
      return;
    }
    const std::string_view fileName(entry->d_name);
    const std::optional<CastFileKind> kind = KindOf(fileName);
    if (!kind) continue;
    const std::string_view stem = fileName.substr(0, fileName.size() - kExtensionSize);
    // A profile file makes a cast only when it is a file under a usable name.
    if (*kind == CastFileKind::kProfile && (CastNameProblem(stem) || !IsRegularFile(folder, *entry))) continue;
    entries_.push_back({static_cast<std::uint32_t>(names_.size()), static_cast<std::uint16_t>(stem.size()), *kind});
    names_.append(fileName);
    names_.push_back('\0');
  }
}

void CastFolderListing::SortEntries() {
  std::sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
    const int order = CompareIgnoringCase(Stem(a), Stem(b));
    return order != 0 ? order < 0 : Name(a) < Name(b);
  });
}

// The entries of one name, in any letter case, follow each other in byte
// order; a group with a profile file is a cast.
void CastFolderListing::GroupCasts() {
  for (std::size_t first = 0; first < entries_.size();) {
    std::size_t end = first + 1;
    while (end < entries_.size() && CompareIgnoringCase(Stem(entries_[end]), Stem(entries_[first])) == 0) ++end;
    Cast cast{{kNoEntry, kNoEntry, kNoEntry}};
    std::string_view castName;
    for (std::size_t i = first; i < end; ++i) {
      if (entries_[i].kind == CastFileKind::kProfile) {
        castName = Stem(entries_[i]);
        break;
      }
    }
    if (!castName.empty()) {
      // The name and the extension exactly as a path would spell them, else
      // the first in byte order.
      const auto exact = [&](const Entry& entry) {
        return Stem(entry) == castName &&
               Name(entry).substr(entry.stemSize) == kExtensions[static_cast<std::size_t>(entry.kind)];
      };
      for (std::size_t i = first; i < end; ++i) {
        std::uint32_t& file = cast.files[static_cast<std::size_t>(entries_[i].kind)];
        if (file == kNoEntry || (exact(entries_[i]) && !exact(entries_[file]))) file = static_cast<std::uint32_t>(i);
      }
      casts_.push_back(cast);
    }
    first = end;
  }
}

std::string_view CastFolderListing::Stem(const Entry& entry) const {
  return std::string_view(names_).substr(entry.offset, entry.stemSize);
}

std::string_view CastFolderListing::Name(const Entry& entry) const {
  return std::string_view(names_).substr(entry.offset, entry.stemSize + kExtensionSize);
}

std::string_view CastFolderListing::CastName(std::size_t cast) const {
  return Stem(entries_[casts_[cast].files[static_cast<std::size_t>(CastFileKind::kProfile)]]);
}

std::string_view CastFolderListing::FileName(std::size_t cast, CastFileKind kind) const {
  const std::uint32_t file = casts_[cast].files[static_cast<std::size_t>(kind)];
  return file == kNoEntry ? std::string_view() : Name(entries_[file]);
}

std::filesystem::path CastFolderListing::FilePath(std::size_t cast, CastFileKind kind) const {
  const std::string_view file = FileName(cast, kind);
  if (!file.empty()) return folder_ / file;
  return folder_ / (std::string(CastName(cast)) + std::string(kExtensions[static_cast<std::size_t>(kind)]));
}

bool CastFolderListing::ReadCastFile(std::size_t cast, CastFileKind kind, std::size_t limit, std::string& bytes,
                                     std::string* reason) const {
  bytes.clear();
  const auto fail = [&](std::string text) {
    bytes.clear();
    if (reason) *reason = std::move(text);
    return false;
  };
  const std::string_view fileName = FileName(cast, kind);
  if (fileName.empty()) return fail(std::strerror(ENOENT));
  // Each name in names_ is followed by a NUL, as openat needs it.
  const int fd = ::openat(::dirfd(listing_.get()), fileName.data(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail(std::strerror(errno));
  int error = 0;
  char chunk[kReadChunk];
  while (bytes.size() < limit) {
    const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, limit - bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  // The file's type is asked only where a pipe or a device would show, an
  // empty read, so that a listing of many casts asks it of none.
  struct stat status {};
  const bool regular = !bytes.empty() || (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode));
  ::close(fd);
  if (error != 0) return fail(std::strerror(error));
  if (!regular) return fail(std::string(kNotARegularFile));
  return true;
}

}  // namespace castdata

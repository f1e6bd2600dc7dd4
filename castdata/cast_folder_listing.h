// The cast folder read once, for a caller that goes through every cast (the
// cast list of the editor and of casttool).
//
// The folder is listed with one pass over its entries and stays open while
// the listing lives, so that each cast file is opened relative to it: reading
// a file of 100,000 casts then costs its open and its reads, with no path
// resolved again and no status asked first. The file names are kept in one
// block of text, so the listing of a large folder stays small.
//
// Which files belong to a cast:
//
// | Entry of the folder                     | Taken as                          |
// |-----------------------------------------|-----------------------------------|
// | NAME.cst in any letter case, a file     | the profile file of cast NAME     |
// | (through a symbolic link, what it names)|                                   |
// | NAME.dat, NAME.bmp in any letter case   | the data file, the picture        |
// | NAME.cst that is a folder, or whose     | nothing                           |
// | NAME CastNameProblem refuses            |                                   |
// | anything else                           | nothing                           |
//
// Files whose names differ only in ASCII letter case belong to one cast. The
// casts are sorted as a player reads a list: by name without regard to ASCII
// letter case, ties by the exact bytes. A cast is named as the first of its
// profile files in byte order spells it; each of its files is the one its
// name resolves to as the game folder resolves names (game_folder.h): the
// exact spelling, else the first in byte order.
#pragma once

#include <dirent.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game_folder.h"

namespace castdata {

enum class CastFileKind : std::uint8_t { kProfile, kData, kPicture };

class CastFolderListing {
 public:
  // Lists the cast folder of `game`. No cast folder lists no cast;
  // castdata::Error, naming the folder and the reason, when it is there but
  // cannot be read.
  explicit CastFolderListing(const platform::GameFolder& game);

  // The cast folder as the game folder resolved it.
  const std::filesystem::path& Folder() const { return folder_; }

  std::size_t CastCount() const { return casts_.size(); }
  std::string_view CastName(std::size_t cast) const;
  // The file of `kind` of the cast as the folder spells it ("hayate.DAT"),
  // or "" when the cast has none.
  std::string_view FileName(std::size_t cast, CastFileKind kind) const;
  // The path of that file in the folder; for a file the cast does not have,
  // the path a new one would get (its name and the extension in lower case).
  std::filesystem::path FilePath(std::size_t cast, CastFileKind kind) const;

  // Reads the cast's file of `kind` into `bytes`, at most `limit` bytes of
  // it, opening it relative to the folder. false, with the reason, when the
  // cast has no such file, it cannot be opened or read, or it is a pipe or a
  // device (which is never waited for).
  bool ReadCastFile(std::size_t cast, CastFileKind kind, std::size_t limit, std::string& bytes,
                    std::string* reason = nullptr) const;

 private:
  // A file of the folder that belongs to a cast; its name lies at `offset` in
  // names_, followed by a NUL, and ends in a four-byte extension.
  struct Entry {
    std::uint32_t offset;
    std::uint16_t stemSize;
    CastFileKind kind;
  };
  static constexpr std::uint32_t kNoEntry = UINT32_MAX;
  // The entries of one cast, by kind; kNoEntry where it has none.
  struct Cast {
    std::uint32_t files[3];
  };

  void ReadEntries(DIR* listing);
  void SortEntries();
  void GroupCasts();
  std::string_view Stem(const Entry& entry) const;
  std::string_view Name(const Entry& entry) const;

  struct CloseFolder {
    void operator()(DIR* listing) const { ::closedir(listing); }
  };

  std::filesystem::path folder_;
  std::unique_ptr<DIR, CloseFolder> listing_;  // open while the listing lives, for reading relative to it
  std::string names_;
  std::vector<Entry> entries_;
  std::vector<Cast> casts_;
};

}  // namespace castdata

#include "scrambled_file.h"

#include <span>
#include <string>

#include "error.h"
#include "file_bytes.h"
#include "packed_format.h"
#include "rotation_base.h"

namespace castdata {
namespace {

// Packs the file again on every way out of the reading: Finish() on success,
// the destructor on any other way, when an error is already on its way to
// the caller.
class PackAgainOnExit {
 public:
  PackAgainOnExit(const std::function<std::int32_t(const char*)>& filePack, const std::string& path)
      : filePack_(filePack), path_(path) {}
  PackAgainOnExit(const PackAgainOnExit&) = delete;
  PackAgainOnExit& operator=(const PackAgainOnExit&) = delete;
  ~PackAgainOnExit() {
    if (packed_) return;
    try {
      Pack();
    } catch (...) {
      // The error already on its way says more than a failed packing would.
    }
  }

  // Packs after a successful reading. A packing function that throws (the
  // library could not be loaded) goes on to the caller: the file may then
  // lie unscrambled, which must not pass in silence.
  void Finish() { Pack(); }

 private:
  void Pack() {
    packed_ = true;
    filePack_(path_.c_str());
  }

  const std::function<std::int32_t(const char*)>& filePack_;
  const std::string& path_;
  bool packed_ = false;
};

// Whether unpacking these bytes and packing them again can give them back:
// packed with a rotation base that FilePack draws, around a plain form that
// FilePack would pack (one that looks packed itself it leaves as it is).
bool IsAsPackingLeavesIt(std::span<const std::uint8_t> bytes) {
  if (!scrambler::IsPacked(bytes)) return false;
  const int base = bytes[2] - scrambler::kBaseOffset;
  return base >= scrambler::kLowestRotationBase && base <= scrambler::kHighestRotationBase &&
         !scrambler::IsPacked(scrambler::Unpack(bytes));
}

}  // namespace

std::vector<std::uint8_t> ReadGameFile(const std::filesystem::path& path, const ScramblerFunctions& scrambler) {
  if (!scrambler.filePack || !scrambler.fileUnpack) {
    throw Error("「" + path.string() + "」を読み込めません: スクランブル関数が用意されていません");
  }
  if (scrambler.load) scrambler.load();
  std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  if (IsAsPackingLeavesIt(bytes)) return scrambler::Unpack(bytes);
  if (!scrambler::IsPacked(bytes)) {
    // FileUnpack would leave a plain file as it is: packing it is the one
    // write, and a crash leaves it plain or packed.
    scrambler.filePack(path.string().c_str());
    return bytes;
  }
  return ReadGameFileInPlace(path, scrambler);
}

std::vector<std::uint8_t> ReadGameFileInPlace(const std::filesystem::path& path,
                                              const ScramblerFunctions& scrambler) {
  const std::string name = path.string();
  if (!scrambler.filePack || !scrambler.fileUnpack) {
    throw Error("「" + name + "」を読み込めません: スクランブル関数が用意されていません");
  }
  PackAgainOnExit packAgain(scrambler.filePack, name);
  scrambler.fileUnpack(name.c_str());
  std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  packAgain.Finish();
  return bytes;
}

std::vector<std::uint8_t> ReadGameFileInMemory(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  if (!scrambler::IsPacked(bytes)) return bytes;
  return scrambler::Unpack(bytes);
}

}  // namespace castdata

#include "cast_package.h"

#include <algorithm>
#include <optional>

#include "cast_folder.h"
#include "cast_name.h"
#include "error.h"
#include "little_endian.h"
#include "sjis.h"
#include "whole_file.h"

namespace castdata {
namespace {

constexpr std::string_view kTruncated = "ファイルが途中で切れています";

// The reader's view of a 32-bit length: its low 16 bits (the first two bytes,
// little-endian) as a signed number.
int LengthAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return Int16At(bytes, offset);
}

void Put(std::vector<std::uint8_t>& out, std::size_t offset, std::span<const std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
}

PackageReading Broken(std::string problem) {
  PackageReading reading;
  reading.status = PackageReading::Status::kBroken;
  reading.problem = std::move(problem);
  return reading;
}

// The first `characters` whole Shift-JIS characters of the name field; a
// double-byte character cut off by the end of the field is dropped.
std::string NameBytes(std::span<const std::uint8_t> field, int characters) {
  std::size_t end = 0;
  for (int taken = 0; taken < characters && end < field.size(); ++taken) {
    const std::size_t width = sjis::IsLeadByte(field[end]) ? 2 : 1;
    if (end + width > field.size()) break;
    end += width;
  }
  return std::string(field.begin(), field.begin() + static_cast<std::ptrdiff_t>(end));
}

std::size_t CountCharacters(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::vector<std::uint8_t> ReadCastFile(const platform::GameFolder& game, std::string_view castName,
                                       std::string_view extension) {
  const std::string path = CastPath(castName, extension);
  std::string reason;
  auto bytes = wholefile::Read(game.Resolve(path), &reason);
  if (!bytes) throw Error(path + "を読み込めません: " + reason);
  return std::move(*bytes);
}

}  // namespace

PackageReading ReadCastPackage(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kPackageMarker.size() ||
      !std::equal(kPackageMarker.begin(), kPackageMarker.end(), bytes.begin())) {
    return PackageReading{};
  }
  if (bytes.size() < kPackagePictureOffset) return Broken(std::string(kTruncated));

  const int nameLength = LengthAt(bytes, kPackageNameLengthOffset);
  if (nameLength < 1) return Broken("キャスト名の文字数が0以下です");
  const std::string nameBytes = NameBytes(bytes.subspan(kPackageNameOffset, kPackageNameFieldSize), nameLength);
  // Decoding must be exact: re-encoding gives back the very bytes, so the
  // name holds no invalid byte (decoded as U+FFFD) and no character that
  // code page 932 spells in two ways.
  std::string castName = sjis::ToUtf8(nameBytes);
  if (sjis::FromUtf8(castName) != nameBytes) return Broken("キャスト名がShift-JISの文字として読めません");
  // Control characters (NUL among them) never stand in a typed cast name;
  // refusing them also keeps them out of the message that quotes the name.
  const auto isControl = [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  };
  if (std::any_of(castName.begin(), castName.end(), isControl)) {
    return Broken("キャスト名に制御文字があります");
  }
  if (const auto problem = CastNameProblem(castName)) return Broken(*problem);
  // The default picture is the picture of every new cast; a package whose
  // picture would land there replaces it for all of them.
  if (platform::SameFileName(CastPath(castName, ".bmp"), kDefaultPicture)) {
    return Broken("キャスト名「" + castName + "」の絵は新しいキャストの絵" + std::string(kDefaultPicture) +
                  "を置き換えてしまいます");
  }

  const std::size_t dataOffset = kPackageDataLengthOffset + 4;
  if (bytes.size() < dataOffset) return Broken(std::string(kTruncated));
  const int dataLength = LengthAt(bytes, kPackageDataLengthOffset);
  if (dataLength < 1) return Broken("データファイル(.dat)の長さが0以下です");

  const std::size_t profileLengthOffset = dataOffset + static_cast<std::size_t>(dataLength);
  const std::size_t profileOffset = profileLengthOffset + 4;
  if (bytes.size() < profileOffset) return Broken(std::string(kTruncated));
  const int profileLength = LengthAt(bytes, profileLengthOffset);
  if (profileLength < 1) return Broken("プロフィールファイル(.cst)の長さが0以下です");
  if (bytes.size() < profileOffset + static_cast<std::size_t>(profileLength)) {
    return Broken(std::string(kTruncated));
  }

  PackageReading reading;
  reading.status = PackageReading::Status::kRead;
  CastPackage& package = reading.package;
  package.castName = std::move(castName);
  const auto part = [&](std::size_t offset, std::size_t size) {
    const auto piece = bytes.subspan(offset, size);
    return std::vector<std::uint8_t>(piece.begin(), piece.end());
  };
  package.picture = part(kPackagePictureOffset, kCastPictureSize);
  package.castData = part(dataOffset, static_cast<std::size_t>(dataLength));
  package.castProfile = part(profileOffset, static_cast<std::size_t>(profileLength));
  return reading;
}

std::vector<std::uint8_t> WriteCastPackage(const CastPackage& package) {
  const std::string& name = package.castName;
  if (const auto problem = CastNameProblem(name)) throw Error(*problem);
  const auto nameBytes = sjis::FromUtf8(name);
  if (!nameBytes) throw Error("キャスト名「" + name + "」はShift-JISで表せません");
  if (package.picture.size() != kCastPictureSize) {
    throw Error(CastPath(name, ".bmp") + "の大きさが" + std::to_string(kCastPictureSize) +
                "バイトではありません（" + std::to_string(package.picture.size()) + "バイト）");
  }
  if (package.castData.empty()) throw Error(CastPath(name, ".dat") + "が空です");
  if (package.castProfile.empty()) throw Error(CastPath(name, ".cst") + "が空です");
  const std::size_t total = kPackageDataLengthOffset + 4 + package.castData.size() + 4 + package.castProfile.size();
  if (total > kLongestPackageWritten) {
    throw Error(CastPath(name, ".dat") + "と" + CastPath(name, ".cst") + "が大きすぎてECファイルに収まりません");
  }

  // Every field goes to its offset in a zero-filled package, which also
  // zero-fills the name field after a shorter name.
  std::vector<std::uint8_t> out(total, 0);
  const std::size_t dataOffset = kPackageDataLengthOffset + 4;
  const std::size_t profileLengthOffset = dataOffset + package.castData.size();
  std::copy(kPackageMarker.begin(), kPackageMarker.end(), out.begin());
  PutUint32(out, kPackageNameLengthOffset, static_cast<std::uint32_t>(CountCharacters(name)));
  std::copy_n(nameBytes->begin(), std::min(nameBytes->size(), kPackageNameFieldSize),
              out.begin() + kPackageNameOffset);
  Put(out, kPackagePictureOffset, package.picture);
  PutUint32(out, kPackageDataLengthOffset, static_cast<std::uint32_t>(package.castData.size()));
  Put(out, dataOffset, package.castData);
  PutUint32(out, profileLengthOffset, static_cast<std::uint32_t>(package.castProfile.size()));
  Put(out, profileLengthOffset + 4, package.castProfile);
  return out;
}

bool CastNameFitsPackage(std::string_view castName) {
  const std::optional<std::string> encoded = sjis::FromUtf8(castName);
  return !encoded || encoded->size() <= kPackageNameFieldSize;
}

std::vector<std::uint8_t> BuildCastPackage(const platform::GameFolder& game, std::string_view castName) {
  if (const auto problem = CastNameProblem(castName)) throw Error(*problem);
  CastPackage package;
  package.castName = std::string(castName);
  package.picture = ReadCastFile(game, castName, ".bmp");
  package.castData = ReadCastFile(game, castName, ".dat");
  package.castProfile = ReadCastFile(game, castName, ".cst");
  return WriteCastPackage(package);
}

}  // namespace castdata

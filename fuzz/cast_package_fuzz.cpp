// The cast package reader and its checks on any bytes. A file is a package
// exactly when it starts with "CE1". A package the checks accept names a file
// inside "cast/" and has parts whose lengths agree with the bytes: the
// picture is the 5174 bytes from offset 15, the data file the D bytes after
// its length, the profile file the C bytes after its own, all inside the
// input. Bytes after the profile file make no difference, and writing the
// parts again gives a package that reads back the same.
#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "cast_name.h"
#include "cast_package.h"
#include "error.h"
#include "fuzz_check.h"

namespace {

using castdata::PackageReading;

std::size_t LengthAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  const auto value = static_cast<std::int16_t>(bytes[offset] | bytes[offset + 1] << 8);
  FUZZ_CHECK(value >= 1);
  return static_cast<std::size_t>(value);
}

bool SameBytes(const std::vector<std::uint8_t>& part, std::span<const std::uint8_t> input, std::size_t offset) {
  return offset + part.size() <= input.size() &&
         std::equal(part.begin(), part.end(), input.begin() + static_cast<std::ptrdiff_t>(offset));
}

// The name names a file directly inside "cast/" of any game folder.
void CheckNameStaysInCastFolder(const std::string& name) {
  FUZZ_CHECK(!castdata::CastNameProblem(name));
  FUZZ_CHECK(fuzzcheck::IsUtf8(name));
  FUZZ_CHECK(std::none_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '/' || c == '\\';
  }));
  for (const std::string_view extension : {".bmp", ".dat", ".cst"}) {
    const std::filesystem::path path = castdata::CastPath(name, extension);
    FUZZ_CHECK(path.lexically_normal().parent_path() == "cast");
    FUZZ_CHECK(path.filename() == name + std::string(extension));
  }
}

void CheckParts(const castdata::CastPackage& package, std::span<const std::uint8_t> input) {
  FUZZ_CHECK(package.picture.size() == castdata::kCastPictureSize);
  FUZZ_CHECK(SameBytes(package.picture, input, castdata::kPackagePictureOffset));
  const std::size_t dataOffset = castdata::kPackageDataLengthOffset + 4;
  FUZZ_CHECK(package.castData.size() == LengthAt(input, castdata::kPackageDataLengthOffset));
  FUZZ_CHECK(SameBytes(package.castData, input, dataOffset));
  const std::size_t profileLengthOffset = dataOffset + package.castData.size();
  FUZZ_CHECK(package.castProfile.size() == LengthAt(input, profileLengthOffset));
  FUZZ_CHECK(SameBytes(package.castProfile, input, profileLengthOffset + 4));
}

void CheckWrittenAgain(const castdata::CastPackage& package) {
  const std::size_t total = castdata::kPackageDataLengthOffset + 8 + package.castData.size() +
                            package.castProfile.size();
  std::vector<std::uint8_t> written;
  try {
    written = castdata::WriteCastPackage(package);
  } catch (const castdata::Error&) {
    // The one package the writer refuses that the reader accepts: one that
    // reaches past what the game's signed 16-bit positions can address.
    FUZZ_CHECK(total > castdata::kLongestPackageWritten);
    return;
  }
  FUZZ_CHECK(written.size() == total);
  const PackageReading again = castdata::ReadCastPackage(written);
  FUZZ_CHECK(again.status == PackageReading::Status::kRead);
  FUZZ_CHECK(again.package == package);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = fuzzcheck::Bytes(data, size);
  const PackageReading reading = castdata::ReadCastPackage(input);
  const bool marked = size >= 3 && data[0] == 'C' && data[1] == 'E' && data[2] == '1';
  FUZZ_CHECK((reading.status == PackageReading::Status::kNotAPackage) == !marked);
  if (reading.status == PackageReading::Status::kBroken) {
    FUZZ_CHECK(!reading.problem.empty());
    FUZZ_CHECK(fuzzcheck::IsUtf8(reading.problem));
  }
  if (reading.status != PackageReading::Status::kRead) return 0;

  CheckNameStaysInCastFolder(reading.package.castName);
  CheckParts(reading.package, input);
  CheckWrittenAgain(reading.package);
  // Bytes after the profile file make no difference.
  const std::size_t end = castdata::kPackageDataLengthOffset + 8 + reading.package.castData.size() +
                          reading.package.castProfile.size();
  const PackageReading exact = castdata::ReadCastPackage(input.first(end));
  FUZZ_CHECK(exact.status == PackageReading::Status::kRead && exact.package == reading.package);
  return 0;
}

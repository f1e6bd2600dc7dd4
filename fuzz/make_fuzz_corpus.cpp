// make-fuzz-corpus FOLDER writes the seed corpus of every fuzz target into
// FOLDER/TARGET/NAME, made with the fixture writers of the tests: well-formed
// files of every kind, and hostile ones (names that climb out of "cast/",
// lengths out of range, files cut short). The seeds are checked in under
// fuzz/corpus; `make-fuzz-corpus --check FOLDER` fails when a seed there is
// missing or differs from what this program makes, so the two stay in step.
// Inputs that once made a target fail are added to the corpus by hand (named
// crash-*) and are not made here.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cast_files_fixture.h"
#include "cast_picture.h"
#include "cast_picture_fixture.h"
#include "fixture_files.h"
#include "fixture_weapon.h"
#include "game_file_writer.h"
#include "little_endian.h"
#include "package_fixture.h"
#include "packed_format.h"
#include "progress_file_fixture.h"
#include "weapon_catalogue_fixture.h"

namespace {

using gamefixture::FixtureWeapon;
using gamefixture::PackageFields;
using Bytes = std::vector<std::uint8_t>;

struct Seed {
  std::string target;  // the corpus folder
  std::string name;
  Bytes bytes;
};

Bytes FromText(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes Cut(Bytes bytes, std::size_t size) {
  bytes.resize(std::min(size, bytes.size()));
  return bytes;
}

std::vector<FixtureWeapon> SomeWeapons() {
  return {
      FixtureWeapon(0, 1, "ビームライフル"),
      FixtureWeapon(0, 10, "光子剣"),
      FixtureWeapon(0, 11, "電磁鞭").WithUsage(2046),
      FixtureWeapon(1, 1, "誘導弾").WithAvailability(2),
      FixtureWeapon(1, 2, "機雷").WithListEnd(100),
      FixtureWeapon(2, 32, "連装砲参式"),
      FixtureWeapon(3, 1, "盾").WithListEnd(100),
      FixtureWeapon(5, 6, "必殺・天翔").WithAvailability(-1),
  };
}

Bytes Catalogue(std::vector<FixtureWeapon> weapons) { return gamefixture::WeaponCatalogueBytes(weapons); }

// Every record of the catalogue with the same name length.
Bytes CatalogueWithNameLength(std::int16_t length) {
  std::vector<FixtureWeapon> weapons;
  for (int c = 0; c < 6; ++c) {
    for (int k = 1; k <= 32; ++k) weapons.push_back(FixtureWeapon(c, k, "砲").WithNameLength(length));
  }
  return Catalogue(weapons);
}

std::vector<Seed> PackedFormatSeeds() {
  const Bytes progress = gamefixture::ProgressFileBytes(SomeWeapons(), 1207);
  Bytes looksPacked = FromText("\x83\x16\x00\x3D plain text");
  Bytes oddBase = scrambler::Pack(FromText("odd rotation base"), 3);
  oddBase[2] = 0xFF;
  return {
      {"packed_format", "abc-plain", FromText("abc")},
      {"packed_format", "abc-packed", scrambler::Pack(FromText("abc"), 1)},
      {"packed_format", "empty-packed", scrambler::Pack({}, 2)},
      {"packed_format", "header-cut", FromText("\x83\x16\x05")},
      {"packed_format", "plain-looks-packed", looksPacked},
      {"packed_format", "byte2-out-of-range", oddBase},
      {"packed_format", "progress-packed", scrambler::Pack(progress, 5)},
      {"packed_format", "catalogue-packed", scrambler::Pack(Catalogue(SomeWeapons()), 4)},
  };
}

std::vector<Seed> ProgressSeeds() {
  const Bytes progress = gamefixture::ProgressFileBytes(SomeWeapons(), 1207);
  Bytes longer = progress;
  longer.resize(1000, 0x5A);
  return {
      {"progress_data", "typical", progress},
      {"progress_data", "negative-player", gamefixture::ProgressFileBytes(SomeWeapons(), -32768)},
      {"progress_data", "all-ff", Bytes(802, 0xFF)},
      {"progress_data", "cut-801", Cut(progress, 801)},
      {"progress_data", "cut-100", Cut(progress, 100)},
      {"progress_data", "empty", {}},
      {"progress_data", "longer", longer},
  };
}

std::vector<Seed> CatalogueSeeds() {
  const Bytes typical = Catalogue(SomeWeapons());
  Bytes badText = typical;
  // The first name area: bytes that start no character, and a lead byte
  // whose second byte is missing at the end of the area.
  const Bytes garbage = {0xFF, 0x80, 0xA0, 0xFD, 0x81, 0x7F, 0x82};
  std::copy(garbage.begin(), garbage.end(), badText.begin() + 4);
  badText[4 + 31] = 0x81;
  return {
      {"weapon_catalogue", "typical", typical},
      {"weapon_catalogue", "first-list-ends-at-once", Catalogue({FixtureWeapon(0, 1, "剣").WithListEnd(100)})},
      {"weapon_catalogue", "negative-name-length", Catalogue({FixtureWeapon(2, 5, "砲").WithNameLength(-1)})},
      {"weapon_catalogue", "name-length-40", Catalogue({FixtureWeapon(1, 3, "長い名前の武器").WithNameLength(40)})},
      {"weapon_catalogue", "name-length-0", CatalogueWithNameLength(0)},
      // Past the end a file reads as zeros, so a short file shows both ways
      // the position can pass 32,767: at once, and record by record.
      {"weapon_catalogue", "name-length-max", Cut(Catalogue({FixtureWeapon(0, 1).WithNameLength(32767)}), 64)},
      {"weapon_catalogue", "position-overflow", Cut(Catalogue({FixtureWeapon(0, 1).WithNameLength(32000)}), 64)},
      {"weapon_catalogue", "invalid-shift-jis", badText},
      {"weapon_catalogue", "cut-in-half", Cut(typical, typical.size() / 2)},
      {"weapon_catalogue", "empty", {}},
  };
}

std::vector<Seed> ProfileSeeds() {
  castdata::CastProfile profile{"疾風", "速さが", "取り柄の", "機体です", "作者ソ", "maker@example.jp"};
  const std::string written = gamefixture::CastProfileBytes(profile);
  const std::string longValue = "[Data]\r\nName=" + std::string(130, 'x') + "\r\nComm1=" +
                                std::string(126, 'y') + "\x88\x9F" + "z\r\n";
  return {
      {"profile_file", "written", FromText(written)},
      {"profile_file", "value-past-127-bytes", FromText(longValue)},
      {"profile_file", "duplicates-and-case",
       FromText("[data]\r\n name = first \r\nNAME=second\r\n[Data]\r\nComm1=other section\r\n")},
      {"profile_file", "lf-and-no-final-line-end", FromText("; comment\n[Data]\nComm2=lf\nMaker=last")},
      {"profile_file", "other-sections", FromText("[Other]\r\nName=x\r\n\r\n[Data]\r\n\r\n[Tail]\r\nEMail=y\r\n")},
      {"profile_file", "header-without-bracket", FromText("[Data\r\nName=unclosed\r\n=no key\r\nComm3\r\n")},
      // A double-byte character whose second byte is "]", and one whose
      // second byte is missing at the end of a line.
      {"profile_file", "trail-byte-bracket", FromText("[\x83\x5D]\r\n[Data]\r\nName=\x83\x5D\x81\r\nComm1=\xFF\xFE\r\n")},
      {"profile_file", "nul-and-cr", FromText(std::string("[Data]\rName=a\0b\r\r\nEMail=\r", 26))},
      {"profile_file", "empty", {}},
  };
}

// The bytes of a package; `edit` changes the fields first.
template <typename Edit>
Bytes Package(Edit edit) {
  PackageFields fields;
  edit(fields);
  return gamefixture::PackageBytes(fields);
}

Bytes Package() { return gamefixture::PackageBytes(PackageFields{}); }

Bytes PackageNamed(std::string nameField) {
  return Package([&](PackageFields& f) { f.nameField = std::move(nameField); });
}

std::vector<Seed> PackageSeeds() {
  const Bytes typical = Package();
  const std::string profile = gamefixture::CastProfileBytes({"疾風", "a", "b", "c", "作者", "m@example.jp"});
  std::vector<Seed> seeds = {
      {"cast_package", "typical", typical},
      {"cast_package", "japanese-name", Package([&](PackageFields& f) {
         f.nameField = "\x8B\x40\x91\xCC";  // 機体
         f.nameLength = 2;
         f.castProfile = FromText(profile);
       })},
      {"cast_package", "name-cut-in-character", Package([](PackageFields& f) {
         f.nameField = "\x8B\x40\x91\xCC\x8B\x40\x91\xCC\x8B";
         f.nameLength = 5;
       })},
      {"cast_package", "name-length-0", Package([](PackageFields& f) { f.nameLength = 0; })},
      {"cast_package", "name-length-negative", Package([](PackageFields& f) { f.nameLength = 0xFFFF; })},
      {"cast_package", "name-length-high-bits", Package([](PackageFields& f) { f.nameLength = 0x10003; })},
      {"cast_package", "data-length-0", Package([](PackageFields& f) { f.dataLength = 0; })},
      {"cast_package", "data-length-negative", Package([](PackageFields& f) { f.dataLength = 0x8000; })},
      {"cast_package", "data-length-past-end", Package([](PackageFields& f) { f.dataLength = 30000; })},
      {"cast_package", "profile-length-0", Package([](PackageFields& f) { f.profileLength = 0; })},
      {"cast_package", "profile-length-past-end", Package([](PackageFields& f) { f.profileLength = 9; })},
      {"cast_package", "trailing-bytes", Package([](PackageFields& f) { f.trailing = Bytes(40, 0xEE); })},
      {"cast_package", "marker-lower-case", Package([](PackageFields& f) { f.marker = "ce1"; })},
      {"cast_package", "marker-only", FromText("CE1")},
      {"cast_package", "marker-cut", FromText("CE")},
      {"cast_package", "overwrites-default-picture", PackageNamed("def")},
  };
  // Names that would leave the cast folder or are no file name at all.
  const std::pair<const char*, std::string> hostileNames[] = {
      {"climb-one", "../x"},        {"climb-two", "../../x"}, {"dot-dot", ".."},
      {"dot", "."},                 {"slash", "a/b"},        {"backslash", "..\\..\\x"},
      {"absolute", "/etc/x"},       {"nul", std::string("a\0b", 3)}, {"control", "\x01" "AB"},
      {"invalid-shift-jis", "\xFF\xFE"}, {"empty-field", ""},
  };
  for (const auto& [name, field] : hostileNames) seeds.push_back({"cast_package", std::string("name-") + name, PackageNamed(field)});
  for (const std::size_t size : {std::size_t{14}, std::size_t{5000}, std::size_t{5190}, std::size_t{5195}, typical.size() - 1}) {
    seeds.push_back({"cast_package", "cut-" + std::to_string(size), Cut(typical, size)});
  }
  return seeds;
}

// The picture `bytes` with the 32-bit field at `offset` set to `value`.
Bytes WithField(Bytes bytes, std::size_t offset, std::uint32_t value) {
  castdata::PutUint32(bytes, offset, value);
  return bytes;
}

// A bitmap of `width` x `height` pixels of 24 bits, rows padded to 4 bytes.
Bytes Bitmap24(std::uint32_t width, std::uint32_t height) {
  const std::uint32_t row = (width * 3 + 3) / 4 * 4;
  Bytes bytes(54 + row * height, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  castdata::PutUint32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  castdata::PutUint32(bytes, 10, 54);
  castdata::PutUint32(bytes, 14, 40);
  castdata::PutUint32(bytes, 18, width);
  castdata::PutUint32(bytes, 22, height);
  bytes[26] = 1;
  bytes[28] = 24;
  for (std::size_t at = 54; at < bytes.size(); ++at) bytes[at] = static_cast<std::uint8_t>(at * 37);
  return bytes;
}

// An icon file holding `bitmap` (without its file header) as its one image.
Bytes Icon(const Bytes& bitmap) {
  const Bytes image(bitmap.begin() + 14, bitmap.end());
  Bytes icon(6 + 16, 0);
  icon[2] = 1;  // an icon
  icon[4] = 1;  // one image
  icon[6] = 64;
  icon[7] = 64;
  icon[10] = 1;
  icon[12] = 8;
  castdata::PutUint32(icon, 14, static_cast<std::uint32_t>(image.size()));
  castdata::PutUint32(icon, 18, 22);
  icon.insert(icon.end(), image.begin(), image.end());
  return icon;
}

std::vector<Seed> PictureSeeds() {
  const Bytes greys = gamefixture::MakeCastPicture(0);
  castdata::RgbaImage gradient{40, 30, {}};
  for (int i = 0; i < 40 * 30; ++i) {
    gradient.rgba.insert(gradient.rgba.end(), {std::uint8_t(i % 40 * 6), std::uint8_t(i / 40 * 8),
                                               std::uint8_t(i * 7), std::uint8_t(i % 3 ? 255 : 0)});
  }
  Bytes shortPalette = WithField(WithField(greys, 46, 3), 10, 54 + 12);
  Bytes bits4 = greys;
  bits4[28] = 4;
  return {
      {"cast_picture", "greys", greys},
      {"cast_picture", "made-from-gradient", castdata::MakeCastPicture(gradient)},
      {"cast_picture", "top-down", WithField(greys, 22, std::uint32_t(-64))},
      {"cast_picture", "three-colours-beyond-palette", shortPalette},
      {"cast_picture", "v5-header", WithField(WithField(WithField(greys, 14, 124), 46, 200), 10, 14 + 124 + 800)},
      {"cast_picture", "run-length", WithField(greys, 30, 1)},
      {"cast_picture", "4-bits", bits4},
      {"cast_picture", "pixel-offset-past-end", WithField(greys, 10, 0xFFFFFFF0)},
      {"cast_picture", "cut-5173", Cut(greys, 5173)},
      {"cast_picture", "tiny-image", Bytes{2, 1, 255, 0, 0, 255, 0, 0, 255, 128}},
      {"cast_picture", "empty", {}},
      // Other kinds of file under a picture's name, which only a bitmap
      // reader may see, and bitmaps other than a cast picture.
      {"cast_picture", "gif-one-pixel",
       FromText(std::string_view("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00"
                                 "\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;",
                                 43))},
      {"cast_picture", "xpm-two-pixels",
       FromText("/* XPM */\nstatic const char *p[] = {\"2 1 2 1\", \"a c #FF0000\", \"b c #0000FF\", \"ab\"};\n")},
      {"cast_picture", "png-signature", FromText(std::string_view("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x40\0\0\0\x40\x08\x03", 26))},
      {"cast_picture", "jpeg-start", FromText(std::string_view("\xff\xd8\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 20))},
      {"cast_picture", "icon-of-the-picture", Icon(greys)},
      {"cast_picture", "dib-without-file-header", Bytes(greys.begin() + 14, greys.end())},
      {"cast_picture", "bitmap-24-bits-2x2", Bitmap24(2, 2)},
      {"cast_picture", "bitmap-claims-30000-square", WithField(WithField(Bitmap24(2, 2), 18, 30000), 22, 30000)},
  };
}

std::vector<Seed> AllSeeds() {
  std::vector<Seed> all;
  for (auto part : {PackedFormatSeeds(), ProgressSeeds(), CatalogueSeeds(), ProfileSeeds(), PackageSeeds(), PictureSeeds()}) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::string_view(argv[1]) == "--check";
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: make-fuzz-corpus [--check] FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[argc - 1];
  int stale = 0;
  for (const Seed& seed : AllSeeds()) {
    const std::filesystem::path file = folder / seed.target / seed.name;
    const std::string bytes = gamefixture::AsText(seed.bytes);
    if (!check) {
      gamefixture::WriteBytes(file, bytes);
    } else if (!std::filesystem::is_regular_file(file) || gamefixture::ReadBytes(file) != bytes) {
      std::fprintf(stderr, "seed %s is missing or differs; run make-fuzz-corpus fuzz/corpus\n", file.c_str());
      ++stale;
    }
  }
  return stale == 0 ? 0 : 1;
}

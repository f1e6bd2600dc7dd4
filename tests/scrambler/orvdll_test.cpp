// The library OrvDll as the editor uses it: loaded by file name, FilePack and
// FileUnpack bound by name, each called with the path of one file.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "scrambler_test_support.h"

namespace {

using scrambler_test::Bytes;
using scrambler_test::ExitCodeInChild;
using scrambler_test::InFreshThread;
using scrambler_test::ModelPack;
using scrambler_test::ModelUnpack;
using scrambler_test::ReadFile;
using scrambler_test::SampleBytes;
using scrambler_test::TempFolder;
using scrambler_test::WriteFile;

const Bytes kAbc = {0x61, 0x62, 0x63};

class OrvDllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    library_ = scrambler_test::LoadOrvDll(&reason);
    ASSERT_NE(library_, nullptr) << reason;
  }

  std::int32_t Pack(const std::filesystem::path& path) const {
    return library_->FilePack(path.c_str());
  }
  std::int32_t Unpack(const std::filesystem::path& path) const {
    return library_->FileUnpack(path.c_str());
  }

  // A file of the test's folder, "USER.DAT" unless named, holding `bytes`.
  std::filesystem::path GameFile(const Bytes& bytes, const std::string& name = "USER.DAT") const {
    const auto path = folder_ / name;
    WriteFile(path, bytes);
    return path;
  }

  const scrambler_test::OrvDll* library_ = nullptr;
  TempFolder folder_;
};

TEST_F(OrvDllTest, ExportsExactlyFilePackAndFileUnpack) {
  const std::string command = std::string("nm -D --defined-only ") + ORVDLL_FILE;
  std::unique_ptr<FILE, int (*)(FILE*)> listing(::popen(command.c_str(), "r"), ::pclose);
  ASSERT_NE(listing, nullptr);
  std::set<std::string> names;
  char type = 0;
  char name[512];
  unsigned long long address = 0;
  while (std::fscanf(listing.get(), "%llx %c %511s", &address, &type, name) == 3) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"FilePack", "FileUnpack"}));
}

TEST_F(OrvDllTest, PacksAbcInAFreshThreadWithBase1AndUnpacksItBack) {
  const auto path = GameFile(kAbc);
  InFreshThread([&] {
    EXPECT_EQ(Pack(path), 1);
    EXPECT_EQ(ReadFile(path), (Bytes{0x83, 0x16, 0x04, 0x3D, 0xB0, 0x98, 0xB1}));
    EXPECT_EQ(Unpack(path), 1);
    EXPECT_EQ(ReadFile(path), kAbc);
  });
  EXPECT_EQ(folder_.Names(), (std::set<std::string>{"USER.DAT"}));
}

TEST_F(OrvDllTest, TheFirstFourPacksOfEveryThreadUseTheBases1314) {
  const auto path = GameFile(kAbc);
  for (int thread = 0; thread < 2; ++thread) {
    InFreshThread([&] {
      for (int base : {1, 3, 1, 4}) {
        ASSERT_EQ(Pack(path), 1);
        EXPECT_EQ(ReadFile(path), ModelPack(kAbc, base));
        ASSERT_EQ(Unpack(path), 1);
      }
    });
  }
}

// A refused call draws its base all the same: the next packing in the thread
// gets the second base of the sequence, 3.
TEST_F(OrvDllTest, ARefusedPackStillMovesTheGeneratorOn) {
  const auto packed = GameFile({0x83, 0x16, 0x04, 0x3D, 0xB0});
  const auto plain = folder_ / "Orv_bwpn.DAT";
  WriteFile(plain, kAbc);
  const auto pipe = folder_ / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  struct Case {
    const char* what;
    std::optional<std::filesystem::path> path;
  };
  const Case cases[] = {
      {"packed file", packed},
      {"missing file", folder_ / "missing.DAT"},
      {"folder", folder_.path()},
      {"pipe", pipe},
      {"no path", std::nullopt},
  };
  for (const Case& c : cases) {
    InFreshThread([&] {
      EXPECT_EQ(library_->FilePack(c.path ? c.path->c_str() : nullptr), 0) << c.what;
      ASSERT_EQ(Pack(plain), 1) << c.what;
      EXPECT_EQ(ReadFile(plain), ModelPack(kAbc, 3)) << c.what;
      ASSERT_EQ(Unpack(plain), 1) << c.what;
    });
  }
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

// The fifth base needs the generator's top value, r = 32767; the library must
// use it where the thread's sequence has it.
TEST_F(OrvDllTest, PacksWithBase5WhereTheSequenceDrawsIt) {
  std::uint32_t state = 1;
  int draws = 0;
  for (int base = 0; base != 5; ++draws) {
    state = state * 214013u + 2531011u;
    base = 4 * static_cast<int>((state >> 16) & 0x7FFF) / 32767 + 1;
  }
  const auto path = GameFile(kAbc);
  const auto missing = folder_ / "missing.DAT";
  InFreshThread([&] {
    for (int k = 1; k < draws; ++k) ASSERT_EQ(Pack(missing), 0);
    ASSERT_EQ(Pack(path), 1);
    EXPECT_EQ(ReadFile(path), ModelPack(kAbc, 5));
    EXPECT_EQ(Unpack(path), 1);
    EXPECT_EQ(ReadFile(path), kAbc);
  });
}

TEST_F(OrvDllTest, AnEmptyFilePacksIntoTheHeaderAloneAndBack) {
  const auto path = GameFile({});
  InFreshThread([&] {
    EXPECT_EQ(Pack(path), 1);
    EXPECT_EQ(ReadFile(path), (Bytes{0x83, 0x16, 0x04, 0x3D}));
    EXPECT_EQ(Unpack(path), 1);
    EXPECT_EQ(ReadFile(path), Bytes{});
  });
}

TEST_F(OrvDllTest, AFourBytePackedFileUnpacksIntoAnEmptyFileWhateverByte2) {
  for (int byte2 : {0x00, 0x04, 0x08, 0x0B, 0xFF}) {
    const auto path = GameFile({0x83, 0x16, static_cast<std::uint8_t>(byte2), 0x3D});
    EXPECT_EQ(Unpack(path), 1) << byte2;
    EXPECT_EQ(ReadFile(path), Bytes{}) << byte2;
  }
}

TEST_F(OrvDllTest, PackingAPackedFileLeavesItAsItWasWhateverByte2) {
  for (int byte2 = 0; byte2 <= 255; ++byte2) {
    const Bytes packed = {0x83, 0x16, static_cast<std::uint8_t>(byte2), 0x3D, 0x01, 0x02, 0x03};
    const auto path = GameFile(packed, "packed" + std::to_string(byte2));
    EXPECT_EQ(Pack(path), 0) << byte2;
    EXPECT_EQ(ReadFile(path), packed) << byte2;
  }
}

TEST_F(OrvDllTest, UnpackingAPlainFileLeavesItAsItWas) {
  const Bytes plainFiles[] = {
      {}, {0x83}, {0x83, 0x16}, {0x83, 0x16, 0x04}, {0x83, 0x16, 0x04, 0x3E}, {0x61, 0x83, 0x16, 0x04, 0x3D},
  };
  for (const Bytes& plain : plainFiles) {
    const auto path = GameFile(plain);
    EXPECT_EQ(Unpack(path), 0) << ::testing::PrintToString(plain);
    EXPECT_EQ(ReadFile(path), plain) << ::testing::PrintToString(plain);
  }
}

// One to three bytes are too short to look packed, even when they begin the
// header: they pack normally and come back.
TEST_F(OrvDllTest, PlainFilesOfOneToThreeBytesPackNormally) {
  const Bytes shortFiles[] = {{0x83}, {0x83, 0x16}, {0x83, 0x16, 0x3D}, {0x00}, {0xFF, 0x01, 0x80}};
  for (const Bytes& plain : shortFiles) {
    const auto path = GameFile(plain);
    InFreshThread([&] {
      EXPECT_EQ(Pack(path), 1);
      EXPECT_EQ(ReadFile(path), ModelPack(plain, 1));
      EXPECT_EQ(Unpack(path), 1);
      EXPECT_EQ(ReadFile(path), plain);
    });
  }
}

TEST_F(OrvDllTest, APlainFileThatBeginsLikeAPackedOneIsTakenForPacked) {
  const Bytes lookalike = {0x83, 0x16, 0x41, 0x3D, 'x', 'y', 'z'};
  const auto path = GameFile(lookalike);
  EXPECT_EQ(Pack(path), 0);
  EXPECT_EQ(ReadFile(path), lookalike);
  EXPECT_EQ(Unpack(path), 1);
  EXPECT_EQ(ReadFile(path), ModelUnpack(lookalike));
}

// Byte 2 below 3 or above 10 is no rotation the packer writes; its amounts are
// taken modulo 8.
TEST_F(OrvDllTest, UnpackTakesAnyByte2Modulo8) {
  for (int byte2 : {0x00, 0x01, 0x02, 0x03, 0x0A, 0x0B, 0x0C, 0x7F, 0xFF}) {
    Bytes packed = {0x83, 0x16, static_cast<std::uint8_t>(byte2), 0x3D};
    const Bytes payload = SampleBytes(37, static_cast<unsigned>(byte2));
    packed.insert(packed.end(), payload.begin(), payload.end());
    const auto path = GameFile(packed);
    EXPECT_EQ(Unpack(path), 1) << byte2;
    EXPECT_EQ(ReadFile(path), ModelUnpack(packed)) << byte2;
  }
}

TEST_F(OrvDllTest, AMissingFileGivesZeroAndCreatesNothing) {
  for (const auto& path : {folder_ / "USER.DAT", folder_ / "DAT" / "USER.DAT"}) {
    EXPECT_EQ(Pack(path), 0) << path;
    EXPECT_EQ(Unpack(path), 0) << path;
  }
  EXPECT_TRUE(folder_.Names().empty());
}

TEST_F(OrvDllTest, RoundTripGivesBackTheFileAndLeavesNothingElse) {
  for (std::size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 4095u, 4096u, 65537u, 1u << 20}) {
    const Bytes plain = SampleBytes(size, static_cast<unsigned>(size));
    const auto path = GameFile(plain);
    ASSERT_EQ(Pack(path), 1) << size;
    EXPECT_EQ(std::filesystem::file_size(path), size + 4);
    ASSERT_EQ(Unpack(path), 1) << size;
    EXPECT_EQ(ReadFile(path), plain) << size;
    EXPECT_EQ(folder_.Names(), (std::set<std::string>{"USER.DAT"})) << size;
  }
}

TEST_F(OrvDllTest, ARelativePathResolvesAgainstTheCurrentFolder) {
  GameFile(kAbc);
  // In a child process, so that changing the folder touches no other test.
  const int result = ExitCodeInChild([&] {
    if (::chdir(folder_.path().c_str()) != 0) return 100;
    return library_->FilePack("USER.DAT");
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(ReadFile(folder_ / "USER.DAT"), ModelPack(kAbc, 1));
  EXPECT_EQ(folder_.Names(), (std::set<std::string>{"USER.DAT"}));
}

TEST_F(OrvDllTest, ASymbolicLinkStaysALinkAndItsFileIsRewritten) {
  const auto file = GameFile(kAbc);
  const auto link = folder_ / "link.DAT";
  std::filesystem::create_symlink("USER.DAT", link);
  InFreshThread([&] {
    EXPECT_EQ(Pack(link), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(file), ModelPack(kAbc, 1));
    EXPECT_EQ(Unpack(link), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(file), kAbc);
  });
  EXPECT_EQ(folder_.Names(), (std::set<std::string>{"USER.DAT", "link.DAT"}));
}

}  // namespace

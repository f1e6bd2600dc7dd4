#include "cast_data_file.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "cast_rules.h"
#include "error.h"
#include "fixture_files.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using castdata::CastRecord;
using castdata::ReadCastData;
using castdata::WriteCastData;
using gamefixture::ReadBytes;
using gamefixture::WriteBytes;
using ::testing::HasSubstr;

int Int16At(const std::string& bytes, std::size_t offset) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[offset]) |
                                   static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

// A record whose every slot holds a value of its own: 100 + slot, negative
// for odd slots so that both bytes and the sign are seen.
CastRecord NumberedRecord() {
  CastRecord record;
  int slot = 0;
  castdata::ForEachSlot(record, [&](std::int16_t& value) {
    value = static_cast<std::int16_t>(slot % 2 ? -(300 + slot) : 100 + slot);
    ++slot;
  });
  return record;
}

class CastDataFile : public ::testing::Test {
 protected:
  fs::path DataFile() const { return game_.path() / "cast" / "A.dat"; }
  void SetUp() override { fs::create_directory(game_.path() / "cast"); }

  gamefixture::TemporaryFolder game_;
};

TEST_F(CastDataFile, FirstSaveWrites186BytesWithZerosWhereNoValueIs) {
  CastRecord record;  // a new cast: 0 wins, 0 losses
  record.recordCheck = castdata::ComputeRecordCheck(record.wins, record.losses);
  record.level = 20;
  WriteCastData("A", record, game_.path());

  const std::string bytes = ReadBytes(DataFile());
  ASSERT_EQ(bytes.size(), 186u);
  EXPECT_EQ(Int16At(bytes, 148), 11);  // recordCheck
  EXPECT_EQ(Int16At(bytes, 44), 10);   // constantTen
  EXPECT_EQ(Int16At(bytes, 184), 0);   // endMark
  EXPECT_EQ(Int16At(bytes, 152), 20);  // level
  for (std::size_t offset = 2; offset < 186; offset += 4) {
    EXPECT_EQ(Int16At(bytes, offset), 0) << "upper half at " << offset;
  }
}

TEST_F(CastDataFile, EachFieldLiesAtItsOffset) {
  const CastRecord record = NumberedRecord();
  WriteCastData("A", record, game_.path());
  const std::string bytes = ReadBytes(DataFile());
  struct Case {
    int value;
    std::size_t offset;
  } cases[] = {
      {record.weaponIndex[0], 0},     {record.weaponIndex[5], 20},
      {record.paramValue[0], 24},     {record.paramValue[3], 36},
      {record.keepDistance, 40},      {record.constantTen, 44},
      {record.weaponShare[0], 48},    {record.weaponShare[4], 64},
      {record.movePattern[0], 68},    {record.movePattern[8], 100},
      {record.paramPoints[0], 104},   {record.paramPoints[3], 116},
      {record.ownerNumber, 120},      {record.hideData, 124},
      {record.advanceOnEnemyOverheat, 128}, {record.retreatOnOwnOverheat, 132},
      {record.specialOnEnemyOverheat, 136}, {record.wins, 140},
      {record.losses, 144},           {record.recordCheck, 148},
      {record.level, 152},            {record.weaponStopPercent, 156},
      {record.serial, 160},           {record.defendAfterHits, 164},
      {record.dodgeSideways, 168},    {record.defendDamageThreshold, 172},
      {record.specialAfterThreeCharges, 176}, {record.defendSuddenAttacks, 180},
      {record.endMark, 184},
  };
  for (const Case& c : cases) EXPECT_EQ(Int16At(bytes, c.offset), c.value) << c.offset;

  // Read back: every field but endMark, which is not read.
  CastRecord expected = record;
  expected.endMark = 0;
  EXPECT_EQ(ReadCastData("A", game_.path()), expected);
}

TEST_F(CastDataFile, ALongerFileKeepsItsLengthAndEveryByteThatIsNoValue) {
  const std::string before(200, '\xAA');
  WriteBytes(DataFile(), before);
  WriteCastData("A", NumberedRecord(), game_.path());

  const std::string after = ReadBytes(DataFile());
  ASSERT_EQ(after.size(), 200u);
  for (std::size_t slot = 0; slot < 47; ++slot) {
    EXPECT_EQ(after.substr(slot * 4 + 2, 2), "\xAA\xAA") << slot;
  }
  EXPECT_EQ(after.substr(188), before.substr(188));
  EXPECT_EQ(Int16At(after, 184), NumberedRecord().endMark);  // written as given
}

TEST_F(CastDataFile, AShorterFileReadsZerosBeyondItsEndAndGrowsTo186) {
  // 49 bytes: slots 0-11 whole, one byte of slot 12.
  std::string before(49, '\0');
  before[0] = 5;      // weaponIndex[0]
  before[2] = '\x77';  // the upper half of slot 0
  before[48] = 7;     // the low byte of weaponShare[0]
  WriteBytes(DataFile(), before);

  const CastRecord read = ReadCastData("A", game_.path());
  EXPECT_EQ(read.weaponIndex[0], 5);
  EXPECT_EQ(read.weaponShare[0], 7);
  EXPECT_EQ(read.weaponShare[1], 0);
  EXPECT_EQ(read.ownerNumber, 0);
  EXPECT_EQ(read.defendSuddenAttacks, 0);

  WriteCastData("A", read, game_.path());
  const std::string after = ReadBytes(DataFile());
  ASSERT_EQ(after.size(), 186u);
  EXPECT_EQ(after[2], '\x77');
  EXPECT_EQ(after.substr(50), std::string(136, '\0'));
}

TEST_F(CastDataFile, TheEndMarkIsNotRead) {
  std::string bytes(186, '\0');
  bytes[184] = 7;
  WriteBytes(DataFile(), bytes);
  EXPECT_EQ(ReadCastData("A", game_.path()).endMark, 0);
}

TEST_F(CastDataFile, AMissingDataFileFailsNamingIt) {
  try {
    ReadCastData("A", game_.path());
    FAIL() << "read a missing file";
  } catch (const castdata::Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("cast/A.dat"));
    EXPECT_THAT(error.what(), HasSubstr("No such file or directory"));
  }
}

TEST_F(CastDataFile, AFailedWriteSaysWhyAndLeavesTheOldFile) {
  // No cast folder: nothing is made.
  gamefixture::TemporaryFolder bare;
  try {
    WriteCastData("A", CastRecord(), bare.path());
    FAIL() << "wrote without a cast folder";
  } catch (const castdata::Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("cast/A.dat"));
    EXPECT_THAT(error.what(), HasSubstr("No such file or directory"));
  }
  EXPECT_FALSE(fs::exists(bare.path() / "cast"));

  // A full disk: the file size limit stops the write of the new contents.
  const std::string before(200, '\xAA');
  WriteBytes(DataFile(), before);
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  try {
    WriteCastData("A", NumberedRecord(), game_.path());
  } catch (const castdata::Error& error) {
    message = error.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_THAT(message, HasSubstr("cast/A.dat"));
  EXPECT_THAT(message, HasSubstr("File too large"));
  EXPECT_EQ(ReadBytes(DataFile()), before);
}

TEST_F(CastDataFile, PathsAreRelativeToTheWorkingFolderByDefault) {
  const fs::path old = fs::current_path();
  fs::current_path(game_.path());
  WriteCastData("A", NumberedRecord());
  const CastRecord read = ReadCastData("A");
  fs::current_path(old);
  EXPECT_EQ(ReadBytes(DataFile()).size(), 186u);
  EXPECT_EQ(read.keepDistance, NumberedRecord().keepDistance);
}

}  // namespace

// FilePack and FileUnpack when the new contents cannot be written, no memory
// can be had, or the file is not the caller's to rewrite: each returns 0, the
// original file keeps every byte (and its owner, group and permissions) and no
// temporary file stays behind. The calls that need limits or another user run
// in a child process; the tests run as root, which may write any file.

#include <grp.h>
#include <malloc.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>

#include <gtest/gtest.h>

#include "scrambler_test_support.h"

namespace {

using scrambler_test::Bytes;
using scrambler_test::ExitCodeInChild;
using scrambler_test::ReadFile;
using scrambler_test::SampleBytes;
using scrambler_test::TempFolder;
using scrambler_test::WriteFile;

constexpr int kSetupFailed = 100;

class OrvDllFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    library_ = scrambler_test::LoadOrvDll(&reason);
    ASSERT_NE(library_, nullptr) << reason;
  }

  // Calls `function` on `path` in a child whose `resource` is limited to what
  // `limit` gives there, and gives the function's result.
  int CallLimited(scrambler_test::OrvDll::Function function, const std::filesystem::path& path,
                  int resource, const std::function<rlim_t()>& limit) const {
    return ExitCodeInChild([&] {
      // Past the file size limit a write fails with EFBIG instead of killing.
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit lowered{limit(), limit()};
      if (::setrlimit(resource, &lowered) != 0) return kSetupFailed;
      return function(path.c_str());
    });
  }

  const scrambler_test::OrvDll* library_ = nullptr;
  TempFolder folder_;
};

struct SizeLimitCase {
  const char* what;
  bool pack;           // FilePack of a plain file, else FileUnpack of a packed one
  std::size_t limit;   // the largest file the child may write
  std::int32_t result;
};

// Packing makes 100004 bytes of 100000, unpacking 100000 of 100004. The rows
// with result 1 show that the limit lets through what fits, so the others fail
// for the size alone.
const SizeLimitCase kSizeLimitCases[] = {
    {"pack, nothing may be written", true, 0, 0},
    {"pack, half may be written", true, 50000, 0},
    {"pack, all but the last byte", true, 100003, 0},
    {"pack, exactly the new size", true, 100004, 1},
    {"unpack, nothing may be written", false, 0, 0},
    {"unpack, half may be written", false, 50000, 0},
    {"unpack, all but the last byte", false, 99999, 0},
    {"unpack, exactly the new size", false, 100000, 1},
};

TEST_F(OrvDllFaultTest, AFileTooLargeToWriteLeavesTheOriginalAndNoTemporaryFile) {
  const Bytes plain = SampleBytes(100000);
  const Bytes packed = scrambler_test::ModelPack(plain, 2);
  for (const SizeLimitCase& c : kSizeLimitCases) {
    const auto path = folder_ / "USER.DAT";
    const Bytes& original = c.pack ? plain : packed;
    WriteFile(path, original);

    const auto function = c.pack ? library_->FilePack : library_->FileUnpack;
    EXPECT_EQ(CallLimited(function, path, RLIMIT_FSIZE, [&] { return c.limit; }), c.result)
        << c.what;
    if (c.result == 0) {
      EXPECT_EQ(ReadFile(path), original) << c.what;
    }
    EXPECT_EQ(folder_.Names(), (std::set<std::string>{"USER.DAT"})) << c.what;
    std::filesystem::remove(path);
  }
}

// The address space this process uses, in bytes.
std::size_t AddressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

TEST_F(OrvDllFaultTest, NoMemoryForTheBufferLeavesTheOriginalAndNoTemporaryFile) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit allows";
#endif
  // From here on every buffer of a megabyte or more takes address space of
  // its own and gives it back when freed, so the limit in the child counts
  // the library's buffers and no heap room left over from making the files.
  ::mallopt(M_MMAP_THRESHOLD, 1 << 20);
  ::malloc_trim(0);
  constexpr std::size_t kSize = 8 << 20;
  const Bytes plain = SampleBytes(kSize);
  const Bytes packed = scrambler_test::ModelPack(plain, 2);
  struct Case {
    const char* what;
    std::size_t headroom;  // address space allowed beyond what is in use
    std::int32_t result;
  };
  // Each call holds the file once: where a second copy would not fit, the
  // call still succeeds, which also shows that the first row fails for want
  // of memory alone.
  const Case cases[] = {
      {"the file does not fit", kSize / 2, 0},
      {"the file fits once, not twice", kSize + kSize / 2, 1},
  };
  for (const Case& c : cases) {
    for (bool pack : {true, false}) {
      const auto path = folder_ / "USER.DAT";
      const Bytes& original = pack ? plain : packed;
      WriteFile(path, original);

      const auto function = pack ? library_->FilePack : library_->FileUnpack;
      const int result = CallLimited(function, path, RLIMIT_AS,
                                     [&] { return AddressSpaceInUse() + c.headroom; });
      EXPECT_EQ(result, c.result) << c.what << (pack ? ", pack" : ", unpack");
      if (c.result == 0) {
        EXPECT_EQ(ReadFile(path), original) << c.what;
      }
      EXPECT_EQ(folder_.Names(), (std::set<std::string>{"USER.DAT"})) << c.what;
      std::filesystem::remove(path);
    }
  }
}

// Who a call runs as, in a child process: root, or the user "nobody" (its own
// group alone).
enum class Who { kRoot, kNobody };

struct TakeOverCase {
  const char* what;
  Who caller;
  Who owner;  // of the file
  Who group;  // of the file: root's group or nobody's
  mode_t mode;
  std::int32_t result;
};

// The first row shows that the user may rewrite its own file, so the rows
// that give 0 fail for their reason alone. Root may write any file and give
// the new one any owner.
const TakeOverCase kTakeOverCases[] = {
    {"the caller's own file", Who::kNobody, Who::kNobody, Who::kNobody, 0644, 1},
    {"the caller's own read-only file", Who::kNobody, Who::kNobody, Who::kNobody, 0444, 0},
    {"another user's file", Who::kNobody, Who::kRoot, Who::kRoot, 0644, 0},
    {"another user's file that anyone may write", Who::kNobody, Who::kRoot, Who::kRoot, 0666, 0},
    {"the caller's file of a group it is not in, the group may write", Who::kNobody, Who::kNobody, Who::kRoot,
     0664, 0},
    {"root's read-only file, by root", Who::kRoot, Who::kRoot, Who::kRoot, 0444, 1},
    {"another user's read-only file, by root", Who::kRoot, Who::kNobody, Who::kNobody, 0444, 1},
};

TEST_F(OrvDllFaultTest, AFileTheCallerMayNotRewriteItselfIsLeftAsItWas) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make files of another user and to act as another";
  const passwd* nobody = ::getpwnam("nobody");
  ASSERT_NE(nobody, nullptr) << "no user nobody";
  const uid_t nobodyUser = nobody->pw_uid;
  const gid_t nobodyGroup = nobody->pw_gid;
  ASSERT_NE(nobodyGroup, 0u);
  const auto userOf = [&](Who who) { return who == Who::kRoot ? uid_t{0} : nobodyUser; };
  const auto groupOf = [&](Who who) { return who == Who::kRoot ? gid_t{0} : nobodyGroup; };

  // A folder of nobody's own, which nobody may write and reach.
  ASSERT_EQ(::chmod(folder_.path().c_str(), 0755), 0);
  const auto game = folder_ / "game";
  std::filesystem::create_directory(game);
  ASSERT_EQ(::chown(game.c_str(), nobodyUser, nobodyGroup), 0);

  const Bytes plain = SampleBytes(1000);
  const Bytes packed = scrambler_test::ModelPack(plain, 2);
  for (const TakeOverCase& c : kTakeOverCases) {
    for (bool pack : {true, false}) {
      const std::string what = std::string(c.what) + (pack ? ", pack" : ", unpack");
      const auto path = game / "USER.DAT";
      const Bytes& original = pack ? plain : packed;
      WriteFile(path, original);
      ASSERT_EQ(::chown(path.c_str(), userOf(c.owner), groupOf(c.group)), 0);
      ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);

      const auto function = pack ? library_->FilePack : library_->FileUnpack;
      const int result = ExitCodeInChild([&] {
        if (c.caller == Who::kNobody &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(nobodyGroup, nobodyGroup, nobodyGroup) != 0 ||
             ::setresuid(nobodyUser, nobodyUser, nobodyUser) != 0)) {
          return kSetupFailed;
        }
        return function(path.c_str());
      });
      EXPECT_EQ(result, c.result) << what;

      const Bytes now = ReadFile(path);
      if (c.result == 0) {
        EXPECT_EQ(now, original) << what;
      } else {
        EXPECT_EQ(pack ? scrambler_test::ModelUnpack(now) : now, plain) << what;
      }
      struct stat status {};
      ASSERT_EQ(::stat(path.c_str(), &status), 0);
      EXPECT_EQ(status.st_uid, userOf(c.owner)) << what;
      EXPECT_EQ(status.st_gid, groupOf(c.group)) << what;
      EXPECT_EQ(status.st_mode & 07777, c.mode) << what;
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game), std::filesystem::directory_iterator()), 1)
          << what << ": a temporary file stayed";
      std::filesystem::remove(path);
    }
  }
}

}  // namespace

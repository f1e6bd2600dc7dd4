// FilePack and FileUnpack when the new contents cannot be written or no memory
// can be had: each returns 0, the original file keeps every byte and no
// temporary file stays behind. Each call runs in a child process whose limits
// are lowered; the tests run as root, so read-only files would prove nothing.

#include <malloc.h>
#include <sys/resource.h>

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

}  // namespace

// Work run in a child process: whatever ends the child becomes a sentence,
// the caller goes on, and the child leaves nothing behind.
#include <IGESControl_Reader.hxx>
#include <Standard_Failure.hxx>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Brennic90Ux64.h"
#include "ChildRun.h"
#include "FullDisk.h"
#include "TempFolder.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// Under the sanitizers a fault's report alone can take seconds on a busy
// machine.
constexpr int kShortSeconds = kSanitized ? 20 : 2;

igesread::ChildLimits Short() {
  igesread::ChildLimits limits;
  limits.time = std::chrono::seconds(kShortSeconds);
  limits.extraAddressSpace = 256ull << 20;
  return limits;
}

int Deeper(int n) {
  volatile char frame[1024];
  frame[0] = static_cast<char>(n);
  return n == 0 ? frame[0] : Deeper(n - 1) + frame[0];
}

struct Ending {
  const char* label;
  igesread::ChildWork work;
  std::string reason;  // a part of the sentence
};

TEST(ChildRun, EveryWayTheChildEndsBecomesASentence) {
  std::vector<Ending> endings = {
      {"own reason", [](std::string&, std::string& why) { why = "holds no entities"; return false; },
       "holds no entities"},
      // The sanitizers report a fault, then abort.
      {"fault", [](std::string&, std::string&) { std::raise(SIGSEGV); return true; },
       kSanitized ? "made the IGES reader fail (" : "made the IGES reader fail (segmentation fault); the file is damaged"},
      {"abort", [](std::string&, std::string&) { std::abort(); return true; }, "made the IGES reader fail (abort)"},
      {"endless", [](std::string&, std::string&) { for (volatile bool on = true; on;) {} return true; },
       "could not be read within " + std::to_string(kShortSeconds) + " seconds; the reading was stopped"},
      {"Open CASCADE", [](std::string&, std::string&) -> bool { throw Standard_Failure("no curve"); },
       "could not be read: Open CASCADE failed (Standard_Failure: no curve)"},
      {"exit", [](std::string&, std::string&) -> bool { std::exit(0); }, "the reader ended without a result"},
  };
  if (!kSanitized) {
    endings.push_back({"memory", [](std::string&, std::string&) {
                         // Address space, not touched: the limit counts what is reserved.
                         std::vector<void*> kept;
                         for (;;) kept.push_back(::operator new(64 << 20));
                         return kept.empty();
                       },
                       "could not be read: it needs more than 256 MB of memory"});
    endings.push_back({"stack", [](std::string&, std::string&) { return Deeper(1 << 24) != 0; },
                       "(segmentation fault)"});
  }
  for (const Ending& e : endings) {
    SCOPED_TRACE(e.label);
    std::string answer = "stale", reason;
    EXPECT_FALSE(igesread::RunInChild(e.work, Short(), answer, reason));
    EXPECT_NE(reason.find(e.reason), std::string::npos) << reason;
    EXPECT_EQ(answer, "");
  }
}

TEST(ChildRun, TheAnswerArrivesWholeAndTheChildPrintsNothing) {
  // Larger than the pieces it travels in, and no two pieces alike.
  std::string big((9 << 20) + 5, ' ');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + (i * 7 + i / 4093) % 26);
  testing::internal::CaptureStdout();
  std::printf("before ");  // still buffered when the child starts
  std::string answer, reason;
  const bool ok = igesread::RunInChild(
      [&](std::string& out, std::string&) {
        std::printf("from the child\n");
        std::fflush(nullptr);
        out = big + "end";
        return true;
      },
      Short(), answer, reason);
  const std::string printed = testing::internal::GetCapturedStdout();
  ASSERT_TRUE(ok) << reason;
  EXPECT_EQ(answer, big + "end");
  EXPECT_EQ(printed, "before ");
}

TEST(ChildRun, TheAnswerCanBeReadInPlaceAndEndsWithTheNextRun) {
  igesread::ChildAnswer answer;
  std::string reason;
  const auto send = [](std::string text) {
    return [text](std::string& out, std::string&) {
      out = text;
      return true;
    };
  };
  ASSERT_TRUE(igesread::RunInChild(send(std::string(1 << 20, 'a') + "z"), Short(), answer, reason)) << reason;
  EXPECT_EQ(answer.View().size(), (1u << 20) + 1);
  EXPECT_EQ(answer.View().back(), 'z');
  // Bytes given back read as zeros; those after them stay as they were.
  answer.Drop(100000);
  EXPECT_EQ(answer.View()[4096], '\0');
  EXPECT_EQ(answer.View().substr(100000, 5), "aaaaa");
  EXPECT_EQ(answer.View().back(), 'z');
  answer.Drop(answer.View().size());
  EXPECT_EQ(answer.View().size(), (1u << 20) + 1);
  ASSERT_TRUE(igesread::RunInChild(send(""), Short(), answer, reason)) << reason;
  EXPECT_EQ(answer.View(), "");
  answer.Drop(10);
  // Written as it goes: whole when the work succeeds, and what a failed
  // work wrote before it gave up is not taken for an answer.
  const std::string streamed(3 << 19, 's');
  ASSERT_TRUE(igesread::RunInChild(
      [&](std::ostream& out, std::string&) {
        for (char c : std::string_view(streamed).substr(0, 100)) out.put(c);
        out << std::string_view(streamed).substr(100);
        return true;
      },
      Short(), answer, reason))
      << reason;
  EXPECT_EQ(answer.View(), streamed);
  EXPECT_FALSE(igesread::RunInChild(
      [&](std::ostream& out, std::string& why) {
        out << streamed;
        why = "holds no entities";
        return false;
      },
      Short(), answer, reason));
  EXPECT_EQ(reason, "holds no entities");
  EXPECT_EQ(answer.View(), "");
  // An answer that cannot be written whole (here past a file-size limit)
  // says so, and is not taken for a damaged file.
  {
    FullDisk full(64 << 10);
    EXPECT_FALSE(igesread::RunInChild(send(std::string(1 << 20, 'f')), Short(), answer, reason));
  }
  EXPECT_EQ(reason, "could not be read: its result could not be passed on (File too large)");
  EXPECT_EQ(answer.View(), "");
  // A failed run leaves no answer of an earlier one behind.
  ASSERT_TRUE(igesread::RunInChild(send("earlier"), Short(), answer, reason));
  EXPECT_FALSE(igesread::RunInChild([](std::string&, std::string&) { std::abort(); return true; }, Short(), answer, reason));
  EXPECT_EQ(answer.View(), "");
}

// Each child gets a reader that no earlier child has used, whatever that
// child read into its own.
TEST(ChildRun, EveryChildGetsAnUnusedReader) {
  const std::string file = std::string(TOLVANE_FIXTURES) + "/curves_inch.igs";
  for (int run = 0; run < 3; ++run) {
    SCOPED_TRACE(run);
    std::string answer, reason;
    ASSERT_TRUE(igesread::RunInChild(
        [&](std::string& out, std::string&) {
          IGESControl_Reader& first = igesread::ChildIgesReader();
          out = first.IGESModel().IsNull() ? "unused" : "used";
          if (first.ReadFile(file.c_str()) != IFSelect_RetDone) out += " unreadable";
          // A second reader in the same child is another one.
          out += igesread::ChildIgesReader().IGESModel().IsNull() ? " fresh" : " shared";
          return true;
        },
        Short(), answer, reason))
        << reason;
    EXPECT_EQ(answer, "unused fresh");
  }
}

TEST(ChildRun, WhatAChildLeavesInItsTemporaryFolderGoes) {
  TempFolder folder;
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", folder.Path().c_str(), 1);
  std::string answer, reason;
  igesread::RunInChild(
      [](std::string&, std::string&) {
        std::ofstream(std::string(std::getenv("TMPDIR")) + "/copy.igs") << "left";
        std::raise(SIGSEGV);
        return true;
      },
      Short(), answer, reason);
  if (old) ::setenv("TMPDIR", saved.c_str(), 1);
  else ::unsetenv("TMPDIR");
  EXPECT_EQ(folder.FileCount(), 0u);
}

// The child lays its heap out for the memory it expects; what its work
// frees goes back to the system when asked, and what it keeps stays whole.
TEST(ChildRun, FreedMemoryGoesBackWhileWhatIsKeptStaysWhole) {
  igesread::ChildLimits limits = Short();
  limits.extraAddressSpace = 2ull << 30;
  limits.expectedMemory = 512ull << 20;
  std::string answer, reason;
  const bool ok = igesread::RunInChild(
      [](std::string& out, std::string&) {
        const auto resident = [] {
          std::ifstream statm("/proc/self/statm");
          std::uint64_t size = 0, pages = 0;
          statm >> size >> pages;
          return pages * 4096 / (1 << 20);
        };
        constexpr size_t kBlocks = 6000, kBlock = 16 << 10;
        std::vector<std::vector<char>> blocks(kBlocks);
        for (size_t i = 0; i < kBlocks; ++i) blocks[i].assign(kBlock, static_cast<char>(i));
        const auto full = resident();
        for (size_t i = 0; i < kBlocks; ++i)
          if (i % 8 != 0) std::vector<char>().swap(blocks[i]);
        igesread::GiveBackFreedMemory();
        const auto after = resident();
        bool whole = true;
        for (size_t i = 0; i < kBlocks; i += 8)
          whole = whole && blocks[i].size() == kBlock && blocks[i][0] == static_cast<char>(i) &&
                  blocks[i][kBlock - 1] == static_cast<char>(i);
        std::vector<char> large(64 << 20, 'x');  // and the heap still serves
        whole = whole && large[large.size() - 1] == 'x';
        out = std::to_string(full) + " " + std::to_string(after) + (whole ? " whole" : " damaged");
        return true;
      },
      limits, answer, reason);
  ASSERT_TRUE(ok) << reason;
  std::uint64_t full = 0, after = 0;
  char word[16] = {};
  ASSERT_EQ(std::sscanf(answer.c_str(), "%lu %lu %15s", &full, &after, word), 3) << answer;
  EXPECT_STREQ(word, "whole");
  // 94 MiB written, seven eighths of it freed.
  if (!kSanitized) {
    EXPECT_LT(after + 50, full) << answer;
  }
}

// Workers forked under a limit share its room: each gets an equal part, so
// that all of them together can map no more than their parent could.
TEST(ChildRun, WorkersShareTheRoomOfTheAddressSpaceLimit) {
  EXPECT_EQ(igesread::AddressSpaceShare(4), 0u);  // this process has no limit
  if (kSanitized) GTEST_SKIP() << "the sanitizers' shadow memory takes no address-space limit";
  igesread::ChildLimits limits = Short();
  limits.extraAddressSpace = 1ull << 30;
  std::string answer, reason;
  const bool ok = igesread::RunInChild(
      [](std::string& out, std::string&) {
        // Whether a worker of four, forked now, can map this many bytes.
        const auto workerMaps = [share = igesread::AddressSpaceShare(4)](std::size_t bytes) {
          const pid_t pid = ::fork();
          if (pid == 0) {
            igesread::LimitAddressSpace(share);
            void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            ::_exit(p == MAP_FAILED ? 1 : 0);
          }
          int status = 0;
          ::waitpid(pid, &status, 0);
          return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        };
        const std::size_t quarter = (1ull << 30) / 4, slack = 48ull << 20;
        out = std::string(workerMaps(quarter - slack) ? "small fits" : "small refused") +
              (workerMaps(quarter + slack) ? ", large fits" : ", large refused");
        return true;
      },
      limits, answer, reason);
  ASSERT_TRUE(ok) << reason;
  EXPECT_EQ(answer, "small fits, large refused");
}

TEST(ChildRun, TimeLimitGrowsWithTheFileAndMemoryTooWhereItIsLimited) {
  TempFolder folder;
  const std::string small = (folder / "small.igs").string(), large = (folder / "large.igs").string();
  std::ofstream(small) << "x";
  std::ofstream(large) << std::string(4 << 20, 'x');
  const auto a = igesread::LimitsForFile(small), b = igesread::LimitsForFile(large);
  EXPECT_GE(a.time, std::chrono::seconds(10));
  EXPECT_LE(a.time, std::chrono::seconds(kSanitized ? 40 : 20));  // a hang does not hold the user for long
  EXPECT_GT(b.time, a.time + std::chrono::seconds(60));
  EXPECT_GT(b.extraAddressSpace, a.extraAddressSpace);
}

// Files that have crashed or exhausted Open CASCADE: BrennIges refuses each
// with a sentence and this process goes on.
TEST(ChildRun, CrashingFilesAreRefusedAndTheCallerLives) {
  const std::filesystem::path crashers = TOLVANE_CRASHERS;
  if (!std::filesystem::exists(crashers)) GTEST_SKIP() << "crashers not present";
  int tried = 0;
  for (const auto& entry : std::filesystem::directory_iterator(crashers)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".igs" || name.rfind("hang_", 0) == 0) continue;  // the end-to-end test waits for those
    SCOPED_TRACE(name);
    ++tried;
    Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
    if (BrennIges::Read(CString(entry.path().c_str()), shapes, 1)) continue;  // read after all
    EXPECT_EQ(shapes->Length(), 0);
    EXPECT_NE(BrennIges::GetError().Find(CString(("'" + entry.path().string() + "'").c_str())), -1)
        << BrennIges::GetError().GetString();
  }
  EXPECT_GT(tried, 0);
}

}  // namespace

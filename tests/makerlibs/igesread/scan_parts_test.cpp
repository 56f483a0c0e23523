// A file large enough for the structural check to work on its parts at
// once is judged as a check from its start judges it: the fault named is
// the first in the file, wherever the others lie, and a sound file gives
// the same directory whatever its size.
#include <IGESControl_Reader.hxx>
#include <IGESData_IGESModel.hxx>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "IgesBuilder.h"
#include "IgesRead.h"
#include "IgesScan.h"
#include "TempFolder.h"

namespace {

using testiges::R;

constexpr int kEntities = 40000;  // some 10 MB

// Line entities; those in 'garbled' have a first coordinate that is no number.
std::string LinesFile(const std::set<int>& garbled = {}) {
  testiges::IgesBuilder b;
  for (int i = 0; i < kEntities; ++i) b.Add(110, {garbled.count(i) ? "1.O" : "1.", R(i), "0.", "2.", R(i), "0."});
  return b.Text();
}

// Where the record with the given section letter and sequence number starts.
size_t RecordStart(const std::string& text, char letter, int sequence) {
  char tail[16];
  std::snprintf(tail, sizeof tail, "%c%7d\n", letter, sequence);
  const size_t at = text.find(tail);
  EXPECT_NE(at, std::string::npos) << tail;
  return at == std::string::npos ? 0 : at - 72;
}

std::string Refusal(const std::string& text) {
  igesread::ScanResult scan;
  std::string reason;
  EXPECT_FALSE(igesread::ScanIges(text, scan, reason));
  return reason;
}

TEST(ScanInParts, ReadsASoundLargeFileWhole) {
  const std::string text = LinesFile();
  igesread::ScanResult scan;
  std::string reason;
  ASSERT_TRUE(igesread::ScanIges(text, scan, reason)) << reason;
  EXPECT_EQ(scan.directory, 2 * kEntities);
  EXPECT_EQ(scan.parameter, kEntities);
  ASSERT_EQ(scan.entries.size(), static_cast<size_t>(kEntities));
  for (int i : {0, 1, kEntities / 2, kEntities - 1}) {
    EXPECT_EQ(scan.entries[static_cast<size_t>(i)].type, 110);
    EXPECT_EQ(scan.entries[static_cast<size_t>(i)].paramStart, i + 1);
    EXPECT_EQ(scan.entries[static_cast<size_t>(i)].paramLines, 1);
  }
  EXPECT_FALSE(scan.needsNormalizedCopy);
}

TEST(ScanInParts, NamesTheFirstDamagedEntity) {
  struct Case {
    std::set<int> garbled;
    int named;  // entry index
  } cases[] = {
      {{5}, 5},
      {{kEntities - 1}, kEntities - 1},
      {{5, kEntities - 10}, 5},
      {{kEntities - 1, kEntities / 2, 10}, 10},
      {{kEntities / 2, kEntities / 2 + 1}, kEntities / 2},
  };
  for (const Case& c : cases) {
    const std::string expected = "is damaged: parameter 1 of entity " + std::to_string(2 * c.named + 1) +
                                 " (type 110) is neither a number nor a string";
    EXPECT_EQ(Refusal(LinesFile(c.garbled)), expected);
  }
}

TEST(ScanInParts, NamesTheFirstFaultOfEachStage) {
  const std::string sound = LinesFile();
  // Control characters: the first byte.
  std::string nul = sound;
  const size_t early = sound.size() / 3 + 5, late = sound.size() - 500;
  nul[late] = '\0';
  EXPECT_EQ(Refusal(nul), "is damaged: it holds the control character 0x00 at byte " + std::to_string(late));
  nul[early] = '\x01';
  EXPECT_EQ(Refusal(nul), "is damaged: it holds the control character 0x01 at byte " + std::to_string(early));
  // Directory entries that cannot be read: the first entry.
  std::string directory = sound;
  for (int e : {kEntities - 3, 200, kEntities / 2})
    directory.replace(RecordStart(directory, 'D', 2 * e + 1), 8, "     1X0");
  EXPECT_EQ(Refusal(directory), "is damaged: directory entry 401 cannot be read");
  // Parameter lines filed under another entity: the first entity that
  // finds its line taken, before any line that no entity owns.
  std::string owners = sound;
  for (int e : {kEntities - 2, 3000, kEntities / 2}) owners.replace(RecordStart(owners, 'P', e + 1) + 65, 7, "      1");
  EXPECT_EQ(Refusal(owners), "is damaged: directory entry 6001 points at parameter line 3001, which belongs to "
                             "another entity");
  // An entity's parameters fault after a directory fault: the directory
  // is checked first.
  std::string both = LinesFile({7});
  both.replace(RecordStart(both, 'D', 2 * (kEntities - 1) + 1), 8, "     1X0");
  EXPECT_EQ(Refusal(both), "is damaged: directory entry " + std::to_string(2 * kEntities - 1) + " cannot be read");
}

// A file large enough to be read from the disk in pieces at once reaches
// the check and the parser whole, and a fault in its last bytes is named.
TEST(ScanInParts, ReadsALargeFileInPiecesWhole) {
  const std::string sound = LinesFile();
  ASSERT_GT(sound.size(), size_t{8} << 20);
  TempFolder folder;
  const std::string path = (folder / "large.igs").string();
  std::ofstream(path, std::ios::binary) << sound;
  {
    IGESControl_Reader reader;
    igesread::ScanResult scan;
    std::string reason;
    ASSERT_TRUE(igesread::ReadIgesFile(path, reader, scan, reason)) << reason;
    EXPECT_EQ(scan.entries.size(), static_cast<size_t>(kEntities));
    EXPECT_EQ(reader.IGESModel()->NbEntities(), kEntities);
  }
  std::string nul = sound;
  nul[sound.size() - 30] = '\0';
  std::ofstream(path, std::ios::binary | std::ios::trunc) << nul;
  IGESControl_Reader reader;
  igesread::ScanResult scan;
  std::string reason;
  EXPECT_FALSE(igesread::ReadIgesFile(path, reader, scan, reason));
  EXPECT_EQ(reason, "is damaged: it holds the control character 0x00 at byte " + std::to_string(sound.size() - 30));
}

}  // namespace

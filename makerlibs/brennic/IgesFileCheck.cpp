#include "IgesFileCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

#include "ErrnoText.h"
#include "FileDescriptor.h"

namespace brennic {
namespace {

// Fixed-form IGES: 80 columns, the section letter in column 73 and the
// sequence number in columns 74 to 80.
constexpr size_t kLetterColumn = 72;
constexpr size_t kSequenceColumn = 73;
constexpr size_t kSequenceWidth = 7;
constexpr size_t kHeadBytes = 64 * 1024;
constexpr size_t kTailBytes = 1024;
constexpr int kLinesToFindASection = 10;

std::vector<std::string_view> CompleteLines(std::string_view text, bool cutShort) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      if (!cutShort) lines.push_back(text.substr(start));
      break;
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  for (auto& line : lines) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  }
  return lines;
}

char SectionOf(std::string_view line) {
  return line.size() > kLetterColumn ? line[kLetterColumn] : '\0';
}

bool HasSequenceNumber(std::string_view line) {
  if (line.size() < kSequenceColumn + kSequenceWidth) return false;
  std::string_view field = line.substr(kSequenceColumn, kSequenceWidth);
  const size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  return std::all_of(field.begin() + first, field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ReadAt(int fd, std::string& buffer, size_t count, off_t offset) {
  buffer.resize(count);
  size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd, buffer.data() + done, count - done, offset + static_cast<off_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  buffer.resize(done);
  return true;
}

std::optional<std::wstring> CheckHead(std::string_view head, bool cutShort) {
  const auto lines = CompleteLines(head, cutShort);
  if (lines.empty()) return L"is not an IGES file";
  const char firstLetter = SectionOf(lines.front());
  if (firstLetter == 'B' || firstLetter == 'C')
    return L"is in the binary or compressed form of IGES, which cannot be read";

  const int scan = std::min<int>(kLinesToFindASection, static_cast<int>(lines.size()));
  const bool looksLikeIges = std::any_of(lines.begin(), lines.begin() + scan, [](std::string_view line) {
    const char letter = SectionOf(line);
    return letter == 'S' || letter == 'G';
  });
  if (!looksLikeIges) return L"is not an IGES file (no line has a section letter in column 73)";

  // The directory entries are found by their sequence numbers; without them
  // every entity comes out as type 0. (The terminate line often lacks one,
  // harmlessly.)
  for (std::string_view line : lines) {
    if (SectionOf(line) == 'D' && !HasSequenceNumber(line))
      return L"has directory entries without sequence numbers in columns 74 to 80, so its entities cannot be "
             L"located";
  }
  return std::nullopt;
}

std::optional<std::wstring> CheckTail(std::string_view tail) {
  // Trailing blank lines, end-of-file marks and padding are harmless.
  const size_t last = tail.find_last_not_of(std::string_view(" \t\r\n\x1a\0", 6));
  if (last == std::string_view::npos) return L"is truncated (it has no terminate section)";
  tail = tail.substr(0, last + 1);
  const size_t lineStart = tail.rfind('\n');
  const std::string_view lastLine = lineStart == std::string_view::npos ? tail : tail.substr(lineStart + 1);
  if (SectionOf(lastLine) != 'T') return L"is truncated (it has no terminate section)";
  return std::nullopt;
}

}  // namespace

std::optional<std::wstring> CheckIgesFile(const std::string& nativePath) {
  FileDescriptor fd(::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.IsOpen()) {
    const int error = errno;
    if (error == ENOENT) return L"does not exist";
    return L"cannot be opened (" + ErrnoText(error) + L")";
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) return L"cannot be opened (" + ErrnoText(errno) + L")";
  if (S_ISDIR(info.st_mode)) return L"is a folder, not a file";
  if (!S_ISREG(info.st_mode)) return L"is not a regular file";
  if (info.st_size == 0) return L"is empty";

  const size_t size = static_cast<size_t>(info.st_size);
  std::string head;
  if (!ReadAt(fd.Get(), head, std::min(size, kHeadBytes), 0))
    return L"cannot be read (" + ErrnoText(errno) + L")";
  std::string tail;
  const size_t tailSize = std::min(size, kTailBytes);
  if (!ReadAt(fd.Get(), tail, tailSize, static_cast<off_t>(size - tailSize)))
    return L"cannot be read (" + ErrnoText(errno) + L")";
  return CheckIgesText(head, size > head.size(), tail);
}

std::optional<std::wstring> CheckIgesText(std::string_view head, bool cutShort, std::string_view tail) {
  if (head.empty()) return L"is empty";
  if (auto problem = CheckHead(head, cutShort)) return problem;
  return CheckTail(tail);
}

}  // namespace brennic

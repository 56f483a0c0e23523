#include "dxf/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace arxhost::dxf {
namespace {

std::string Reason(int error) { return std::system_category().message(error); }

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

std::string WriteFileAtomically(const std::string& nativePath, const std::string& content) {
  const std::string fail = "Cannot save " + nativePath + ": ";
  if (nativePath.empty()) return "Cannot save the drawing: no file name was given.";
  if (nativePath.back() == '/') return fail + "the name is a folder, not a file.";
  std::string folder = FolderOf(nativePath);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    return fail + "the folder " + folder + " does not exist.";
  if (stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
    return fail + "a folder of that name exists.";

  std::string pattern = nativePath + ".XXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  int fd = mkstemp(temp.data());
  if (fd < 0) return fail + Reason(errno) + ".";
  std::string tempPath(temp.data());

  auto abandon = [&](int error) {
    close(fd);
    unlink(tempPath.c_str());
    return fail + Reason(error) + ".";
  };
  const char* data = content.data();
  size_t left = content.size();
  while (left > 0) {
    ssize_t written = write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return abandon(errno);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  // mkstemp makes the file private; a drawing is an ordinary document.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  if (fsync(fd) != 0) return abandon(errno);
  if (close(fd) != 0) {
    int error = errno;
    unlink(tempPath.c_str());
    return fail + Reason(error) + ".";
  }
  if (rename(tempPath.c_str(), nativePath.c_str()) != 0) {
    int error = errno;
    unlink(tempPath.c_str());
    return fail + Reason(error) + ".";
  }
  return {};
}

}  // namespace arxhost::dxf

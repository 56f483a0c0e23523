#include "ErrnoText.h"

#include <cerrno>
#include <string>

namespace brennic {

std::wstring ErrnoText(int error) {
  switch (error) {
    case ENOENT: return L"the file or its folder does not exist";
    case EACCES:
    case EPERM: return L"permission denied";
    case EISDIR: return L"it is a folder";
    case ENOTDIR: return L"a part of the path is not a folder";
    case ENOSPC: return L"the disk is full";
    case EDQUOT: return L"the disk quota is exhausted";
    case EFBIG: return L"the file is larger than allowed";
    case EROFS: return L"the file system is read-only";
    case ENAMETOOLONG: return L"the name is too long";
    case EIO: return L"an input/output error occurred";
    case EMFILE:
    case ENFILE: return L"too many files are open";
    case ENOMEM: return L"there is not enough memory";
    default: return L"system error " + std::to_wstring(error);
  }
}

}  // namespace brennic

#include "ErrnoText.h"

#include <Standard_Failure.hxx>

#include <cerrno>
#include <string>

#include "win32/strconv.h"

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

std::wstring FailureText(const Standard_Failure& failure) {
  const char* message = failure.GetMessageString();
  std::wstring text = arxhost::FromUtf8(failure.DynamicType()->Name());
  if (message && *message) text += L": " + arxhost::FromUtf8(message);
  return text;
}

}  // namespace brennic

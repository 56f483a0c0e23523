#pragma once
// English words for the errno values a file operation meets, independent of
// the process locale (the texts reach the user verbatim), and the words for
// an Open CASCADE failure.
#include <string>

class Standard_Failure;

namespace brennic {

std::wstring ErrnoText(int error);

// The failure's class, and its message when it has one.
std::wstring FailureText(const Standard_Failure& failure);

}  // namespace brennic

#include "mfc/CString.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "win32/strconv.h"
#include "win32/wformat.h"

namespace {

bool IsIn(wchar_t ch, const wchar_t* chars) { return chars && std::wcschr(chars, ch) != nullptr && ch != 0; }

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

}  // namespace

CString::CString(const char* text) : s_(text ? arxhost::FromUtf8(text) : std::wstring()) {}

wchar_t* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) s_.resize(static_cast<size_t>(minLength));
  return s_.data();
}

wchar_t* CString::GetBufferSetLength(int length) {
  s_.resize(static_cast<size_t>(std::max(length, 0)));
  return s_.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) newLength = static_cast<int>(std::wcslen(s_.c_str()));
  s_.resize(std::min(static_cast<size_t>(newLength), s_.size()));
}

void CString::Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  s_ = arxhost::FormatWideV(format, args);
  va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args) { s_ = arxhost::FormatWideV(format, args); }

void CString::AppendFormat(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  s_ += arxhost::FormatWideV(format, args);
  va_end(args);
}

int CString::Compare(const wchar_t* other) const { return Sign(s_.compare(other ? other : L"")); }

int CString::CompareNoCase(const wchar_t* other) const {
  const wchar_t* a = s_.c_str();
  const wchar_t* b = other ? other : L"";
  for (;; ++a, ++b) {
    wint_t ca = std::towlower(*a), cb = std::towlower(*b);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int CString::Find(wchar_t ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  size_t pos = s_.find(ch, static_cast<size_t>(start));
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const wchar_t* sub, int start) const {
  if (!sub || start < 0 || start > GetLength()) return -1;
  size_t pos = s_.find(sub, static_cast<size_t>(start));
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const {
  size_t pos = s_.rfind(ch);
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const wchar_t* chars) const {
  if (!chars) return -1;
  size_t pos = s_.find_first_of(chars);
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const { return CString(s_.substr(0, static_cast<size_t>(std::clamp(count, 0, GetLength())))); }

CString CString::Right(int count) const {
  count = std::clamp(count, 0, GetLength());
  return CString(s_.substr(s_.size() - static_cast<size_t>(count)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, GetLength());
  count = std::clamp(count, 0, GetLength() - first);
  return CString(s_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::SpanIncluding(const wchar_t* chars) const {
  size_t n = 0;
  while (n < s_.size() && IsIn(s_[n], chars)) ++n;
  return CString(s_.substr(0, n));
}

CString CString::SpanExcluding(const wchar_t* chars) const {
  size_t n = 0;
  while (n < s_.size() && !IsIn(s_[n], chars)) ++n;
  return CString(s_.substr(0, n));
}

CString CString::Tokenize(const wchar_t* delimiters, int& start) const {
  if (start < 0 || start >= GetLength()) {
    start = -1;
    return CString();
  }
  size_t from = s_.find_first_not_of(delimiters ? delimiters : L"", static_cast<size_t>(start));
  if (from == std::wstring::npos) {
    start = -1;
    return CString();
  }
  size_t to = s_.find_first_of(delimiters ? delimiters : L"", from);
  if (to == std::wstring::npos) to = s_.size();
  start = static_cast<int>(to) + 1;
  return CString(s_.substr(from, to - from));
}

CString& CString::MakeUpper() {
  for (wchar_t& c : s_) c = static_cast<wchar_t>(std::towupper(c));
  return *this;
}

CString& CString::MakeLower() {
  for (wchar_t& c : s_) c = static_cast<wchar_t>(std::towlower(c));
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(s_.begin(), s_.end());
  return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* chars) { return TrimRight(chars).TrimLeft(chars); }

CString& CString::TrimLeft() {
  size_t n = 0;
  while (n < s_.size() && std::iswspace(s_[n])) ++n;
  s_.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(wchar_t ch) {
  size_t n = 0;
  while (n < s_.size() && s_[n] == ch) ++n;
  s_.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(const wchar_t* chars) {
  size_t n = 0;
  while (n < s_.size() && IsIn(s_[n], chars)) ++n;
  s_.erase(0, n);
  return *this;
}

CString& CString::TrimRight() {
  while (!s_.empty() && std::iswspace(s_.back())) s_.pop_back();
  return *this;
}

CString& CString::TrimRight(wchar_t ch) {
  while (!s_.empty() && s_.back() == ch) s_.pop_back();
  return *this;
}

CString& CString::TrimRight(const wchar_t* chars) {
  while (!s_.empty() && IsIn(s_.back(), chars)) s_.pop_back();
  return *this;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
  int n = 0;
  for (wchar_t& c : s_)
    if (c == oldCh) {
      c = newCh;
      ++n;
    }
  return n;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
  if (!oldText || !*oldText) return 0;
  std::wstring_view from(oldText);
  std::wstring_view to(newText ? newText : L"");
  int n = 0;
  std::wstring result;
  size_t pos = 0;
  for (size_t hit; (hit = s_.find(from, pos)) != std::wstring::npos; pos = hit + from.size(), ++n) {
    result.append(s_, pos, hit - pos);
    result.append(to);
  }
  if (n == 0) return 0;
  result.append(s_, pos, std::wstring::npos);
  s_ = std::move(result);
  return n;
}

int CString::Remove(wchar_t ch) {
  auto old = s_.size();
  std::erase(s_, ch);
  return static_cast<int>(old - s_.size());
}

int CString::Insert(int index, wchar_t ch) {
  index = std::clamp(index, 0, GetLength());
  s_.insert(s_.begin() + index, ch);
  return GetLength();
}

int CString::Insert(int index, const wchar_t* text) {
  index = std::clamp(index, 0, GetLength());
  if (text) s_.insert(static_cast<size_t>(index), text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (count > 0 && index < GetLength()) s_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  return GetLength();
}

void CString::Truncate(int length) {
  if (length >= 0 && length < GetLength()) s_.resize(static_cast<size_t>(length));
}

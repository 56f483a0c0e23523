#pragma once
// The wide MFC string. Storage is a std::wstring; the interface is the part
// of CStringW that plug-in code and the maker libraries use.
#include <cstdarg>
#include <string>
#include <string_view>

#include "win32/wintypes.h"

class CString {
 public:
  CString() = default;
  CString(const wchar_t* text) : s_(text ? text : L"") {}
  CString(const wchar_t* text, int length) : s_(text ? std::wstring(text, length > 0 ? length : 0) : std::wstring()) {}
  CString(const char* text);  // UTF-8 (or Latin-1 where not valid UTF-8)
  CString(wchar_t ch, int repeat = 1) : s_(repeat > 0 ? repeat : 0, ch) {}
  CString(std::wstring text) : s_(std::move(text)) {}
  CString(std::wstring_view text) : s_(text) {}

  int GetLength() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  const wchar_t* GetString() const { return s_.c_str(); }
  operator const wchar_t*() const { return s_.c_str(); }
  const std::wstring& str() const { return s_; }

  wchar_t GetAt(int index) const { return s_.at(static_cast<size_t>(index)); }
  void SetAt(int index, wchar_t ch) { s_.at(static_cast<size_t>(index)) = ch; }
  wchar_t operator[](int index) const { return GetAt(index); }

  // A writable buffer of at least minLength characters; ReleaseBuffer ends
  // the string at its first zero (length -1) or at the given length.
  wchar_t* GetBuffer(int minLength = 0);
  wchar_t* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  void Format(const wchar_t* format, ...);
  void FormatV(const wchar_t* format, va_list args);
  void AppendFormat(const wchar_t* format, ...);
  void Append(const wchar_t* text) { if (text) s_ += text; }
  void AppendChar(wchar_t ch) { s_ += ch; }

  CString& operator=(const wchar_t* text) { s_ = text ? text : L""; return *this; }
  CString& operator=(const char* text) { return *this = CString(text); }
  CString& operator=(wchar_t ch) { s_.assign(1, ch); return *this; }
  CString& operator+=(const CString& other) { s_ += other.s_; return *this; }
  CString& operator+=(const wchar_t* text) { Append(text); return *this; }
  CString& operator+=(wchar_t ch) { s_ += ch; return *this; }

  int Compare(const wchar_t* other) const;
  int CompareNoCase(const wchar_t* other) const;

  int Find(wchar_t ch, int start = 0) const;
  int Find(const wchar_t* sub, int start = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(const wchar_t* chars) const;

  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString SpanIncluding(const wchar_t* chars) const;
  CString SpanExcluding(const wchar_t* chars) const;
  CString Tokenize(const wchar_t* delimiters, int& start) const;

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();
  CString& Trim();
  CString& Trim(wchar_t ch);
  CString& Trim(const wchar_t* chars);
  CString& TrimLeft();
  CString& TrimLeft(wchar_t ch);
  CString& TrimLeft(const wchar_t* chars);
  CString& TrimRight();
  CString& TrimRight(wchar_t ch);
  CString& TrimRight(const wchar_t* chars);

  int Replace(wchar_t oldCh, wchar_t newCh);
  int Replace(const wchar_t* oldText, const wchar_t* newText);
  int Remove(wchar_t ch);
  int Insert(int index, wchar_t ch);
  int Insert(int index, const wchar_t* text);
  int Delete(int index, int count = 1);
  void Truncate(int length);

  friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
  friend CString operator+(const CString& a, const wchar_t* b) { CString r(a); r += b; return r; }
  friend CString operator+(const wchar_t* a, const CString& b) { CString r(a); r += b; return r; }
  friend CString operator+(const CString& a, wchar_t b) { CString r(a); r += b; return r; }
  friend CString operator+(wchar_t a, const CString& b) { CString r(a); r += b; return r; }

  friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
  friend bool operator==(const CString& a, const wchar_t* b) { return a.s_ == (b ? b : L""); }
  friend bool operator==(const wchar_t* a, const CString& b) { return b == a; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
  friend bool operator!=(const wchar_t* a, const CString& b) { return !(b == a); }
  friend bool operator<(const CString& a, const CString& b) { return a.s_ < b.s_; }

 private:
  std::wstring s_;
};

using CStringW = CString;

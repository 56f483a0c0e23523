#pragma once
// ON_wString (wide) and ON_String (narrow, UTF-8): value strings that convert
// to a never-null C string, as the openNURBS strings do.
#include <string>

class ON_String;

class ON_wString {
 public:
  ON_wString() = default;
  ON_wString(const wchar_t* s) : m_s(s ? s : L"") {}
  ON_wString(const wchar_t* s, int length);
  ON_wString(const char* utf8);
  ON_wString(const std::wstring& s) : m_s(s) {}
  ON_wString(wchar_t c, int repeat = 1) : m_s(repeat > 0 ? static_cast<size_t>(repeat) : 0u, c) {}
  ON_wString(const ON_String& s);

  ON_wString& operator=(const wchar_t* s) { m_s = s ? s : L""; return *this; }
  ON_wString& operator=(const char* utf8);

  int Length() const { return static_cast<int>(m_s.size()); }
  bool IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  void Destroy() { m_s.clear(); m_s.shrink_to_fit(); }
  const wchar_t* Array() const { return m_s.c_str(); }
  operator const wchar_t*() const { return m_s.c_str(); }
  const std::wstring& Str() const { return m_s; }
  std::string ToUtf8() const;

  wchar_t GetAt(int i) const { return (i >= 0 && i < Length()) ? m_s[static_cast<size_t>(i)] : 0; }
  void SetAt(int i, wchar_t c) { if (i >= 0 && i < Length()) m_s[static_cast<size_t>(i)] = c; }
  void SetLength(int n) { m_s.resize(n > 0 ? static_cast<size_t>(n) : 0u); }

  ON_wString& operator+=(const ON_wString& s) { m_s += s.m_s; return *this; }
  ON_wString& operator+=(const wchar_t* s) { if (s) m_s += s; return *this; }
  ON_wString& operator+=(wchar_t c) { m_s += c; return *this; }
  friend ON_wString operator+(ON_wString a, const ON_wString& b) { a += b; return a; }

  int Compare(const wchar_t* s) const { return m_s.compare(s ? s : L""); }
  int CompareNoCase(const wchar_t* s) const;
  bool operator==(const ON_wString& s) const { return m_s == s.m_s; }
  bool operator==(const wchar_t* s) const { return m_s == (s ? s : L""); }
  bool operator!=(const ON_wString& s) const { return m_s != s.m_s; }
  bool operator<(const ON_wString& s) const { return m_s < s.m_s; }

  int Find(wchar_t c) const;
  int Find(const wchar_t* s) const;
  int Replace(const wchar_t* token, const wchar_t* replacement);
  ON_wString Left(int count) const;
  ON_wString Right(int count) const;
  ON_wString Mid(int start, int count) const;
  void TrimLeft();
  void TrimRight();
  void TrimLeftAndRight() { TrimLeft(); TrimRight(); }
  void MakeUpper();
  void MakeLower();

 private:
  std::wstring m_s;
};

class ON_String {
 public:
  ON_String() = default;
  ON_String(const char* s) : m_s(s ? s : "") {}
  ON_String(const std::string& s) : m_s(s) {}
  ON_String(const wchar_t* s);
  ON_String(const ON_wString& s);

  int Length() const { return static_cast<int>(m_s.size()); }
  bool IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  const char* Array() const { return m_s.c_str(); }
  operator const char*() const { return m_s.c_str(); }
  const std::string& Str() const { return m_s; }
  bool operator==(const ON_String& s) const { return m_s == s.m_s; }
  ON_String& operator+=(const char* s) { if (s) m_s += s; return *this; }

 private:
  std::string m_s;
};

#include "on_string.h"

#include <algorithm>
#include <cwctype>

#include "utf8.h"

namespace {

std::wstring FromUtf8(const char* s) { return s ? utf8::Decode(s) : std::wstring(); }
std::string ToUtf8(const std::wstring& s) { return utf8::Encode(s); }

}  // namespace

ON_wString::ON_wString(const wchar_t* s, int length) {
  if (s && length > 0) m_s.assign(s, static_cast<size_t>(length));
}
ON_wString::ON_wString(const char* utf8) : m_s(FromUtf8(utf8)) {}
ON_wString::ON_wString(const ON_String& s) : m_s(FromUtf8(s.Array())) {}
ON_wString& ON_wString::operator=(const char* utf8) {
  m_s = FromUtf8(utf8);
  return *this;
}
std::string ON_wString::ToUtf8() const { return ::ToUtf8(m_s); }

int ON_wString::CompareNoCase(const wchar_t* s) const {
  if (!s) s = L"";
  size_t i = 0;
  for (; i < m_s.size() && s[i]; ++i) {
    const auto a = std::towlower(static_cast<wint_t>(m_s[i]));
    const auto b = std::towlower(static_cast<wint_t>(s[i]));
    if (a != b) return a < b ? -1 : 1;
  }
  if (i < m_s.size()) return 1;
  return s[i] ? -1 : 0;
}

int ON_wString::Find(wchar_t c) const {
  const size_t at = m_s.find(c);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}
int ON_wString::Find(const wchar_t* s) const {
  if (!s || !*s) return -1;
  const size_t at = m_s.find(s);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}
int ON_wString::Replace(const wchar_t* token, const wchar_t* replacement) {
  if (!token || !*token) return 0;
  const std::wstring t(token), r(replacement ? replacement : L"");
  int n = 0;
  for (size_t at = m_s.find(t); at != std::wstring::npos; at = m_s.find(t, at + r.size())) {
    m_s.replace(at, t.size(), r);
    ++n;
  }
  return n;
}
ON_wString ON_wString::Left(int count) const {
  if (count <= 0) return {};
  return ON_wString(m_s.substr(0, static_cast<size_t>(count)));
}
ON_wString ON_wString::Right(int count) const {
  if (count <= 0) return {};
  const size_t n = std::min(static_cast<size_t>(count), m_s.size());
  return ON_wString(m_s.substr(m_s.size() - n));
}
ON_wString ON_wString::Mid(int start, int count) const {
  if (start < 0) start = 0;
  if (count <= 0 || static_cast<size_t>(start) >= m_s.size()) return {};
  return ON_wString(m_s.substr(static_cast<size_t>(start), static_cast<size_t>(count)));
}
void ON_wString::TrimLeft() {
  size_t i = 0;
  while (i < m_s.size() && std::iswspace(static_cast<wint_t>(m_s[i]))) ++i;
  m_s.erase(0, i);
}
void ON_wString::TrimRight() {
  while (!m_s.empty() && std::iswspace(static_cast<wint_t>(m_s.back()))) m_s.pop_back();
}
void ON_wString::MakeUpper() {
  for (auto& c : m_s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}
void ON_wString::MakeLower() {
  for (auto& c : m_s) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

ON_String::ON_String(const wchar_t* s) : m_s(::ToUtf8(s ? std::wstring(s) : std::wstring())) {}
ON_String::ON_String(const ON_wString& s) : m_s(s.ToUtf8()) {}

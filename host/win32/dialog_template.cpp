#include "win32/dialog_template.h"

#include <cwctype>

#include "win32/strconv.h"
#include "win32/window.h"

namespace arxhost {
namespace {

const wchar_t* const kPredefinedClasses[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};

class Reader {
 public:
  explicit Reader(std::span<const BYTE> bytes) : bytes_(bytes) {}

  bool Word(WORD& out, const char* what) {
    if (!Need(2, what)) return false;
    out = static_cast<WORD>(bytes_[pos_] | bytes_[pos_ + 1] << 8);
    pos_ += 2;
    return true;
  }
  bool Dword(DWORD& out, const char* what) {
    WORD lo = 0, hi = 0;
    if (!Word(lo, what) || !Word(hi, what)) return false;
    out = static_cast<DWORD>(lo) | static_cast<DWORD>(hi) << 16;
    return true;
  }
  bool Short(short& out, const char* what) {
    WORD w = 0;
    if (!Word(w, what)) return false;
    out = static_cast<short>(w);
    return true;
  }
  bool Byte(BYTE& out, const char* what) {
    if (!Need(1, what)) return false;
    out = bytes_[pos_++];
    return true;
  }
  bool Bytes(size_t n, std::vector<BYTE>& out, const char* what) {
    if (!Need(n, what)) return false;
    out.assign(bytes_.begin() + static_cast<long>(pos_), bytes_.begin() + static_cast<long>(pos_ + n));
    pos_ += n;
    return true;
  }
  // Zero-terminated UTF-16 text.
  bool Text(std::wstring& out, const char* what) {
    out.clear();
    std::u16string units;
    for (;;) {
      WORD unit = 0;
      if (!Word(unit, what)) return false;
      if (unit == 0) break;
      units += static_cast<char16_t>(unit);
    }
    for (size_t i = 0; i < units.size(); ++i) {
      char32_t c = units[i];
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
        c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
      out += static_cast<wchar_t>(c);
    }
    return true;
  }
  // A name or a number: 0x0000 none, 0xFFFF followed by an ordinal, else text.
  bool NameOrOrdinal(std::wstring& name, WORD& ordinal, const char* what) {
    ordinal = 0;
    name.clear();
    if (!Need(2, what)) return false;
    WORD first = static_cast<WORD>(bytes_[pos_] | bytes_[pos_ + 1] << 8);
    if (first == 0) {
      pos_ += 2;
      return true;
    }
    if (first == 0xFFFF) {
      pos_ += 2;
      return Word(ordinal, what);
    }
    return Text(name, what);
  }
  bool AlignToDword(const char* what) {
    size_t aligned = (pos_ + 3) & ~size_t{3};
    if (aligned > bytes_.size()) return Fail(what);
    pos_ = aligned;
    return true;
  }
  size_t Position() const { return pos_; }
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  const std::string& Error() const { return error_; }

 private:
  bool Need(size_t n, const char* what) {
    if (bytes_.size() - pos_ < n || pos_ > bytes_.size()) return Fail(what);
    return true;
  }
  bool Fail(const char* what) {
    if (error_.empty()) error_ = std::string("the data ends inside ") + what + " (at byte " + std::to_string(pos_) + ")";
    return false;
  }

  std::span<const BYTE> bytes_;
  size_t pos_ = 0;
  std::string error_;
};

class Writer {
 public:
  void Word(WORD w) {
    out_.push_back(static_cast<BYTE>(w & 0xFF));
    out_.push_back(static_cast<BYTE>(w >> 8));
  }
  void Dword(DWORD d) {
    Word(static_cast<WORD>(d & 0xFFFF));
    Word(static_cast<WORD>(d >> 16));
  }
  void Short(short s) { Word(static_cast<WORD>(s)); }
  void Byte(BYTE b) { out_.push_back(b); }
  void Text(const std::wstring& text) {
    for (wchar_t wc : text) {
      auto c = static_cast<char32_t>(wc);
      if (c >= 0x10000 && c <= 0x10FFFF) {
        c -= 0x10000;
        Word(static_cast<WORD>(0xD800 + (c >> 10)));
        Word(static_cast<WORD>(0xDC00 + (c & 0x3FF)));
      } else {
        Word(static_cast<WORD>(c > 0xFFFF ? 0xFFFD : c));
      }
    }
    Word(0);
  }
  void NameOrOrdinal(const std::wstring& name, WORD ordinal) {
    if (ordinal) {
      Word(0xFFFF);
      Word(ordinal);
    } else if (name.empty()) {
      Word(0);
    } else {
      Text(name);
    }
  }
  void Class(const std::wstring& name) {
    for (WORD i = 0; i < 6; ++i) {
      if (Same(name, kPredefinedClasses[i])) {
        NameOrOrdinal(L"", static_cast<WORD>(0x80 + i));
        return;
      }
    }
    NameOrOrdinal(name, 0);
  }
  void Align() {
    while (out_.size() % 4) out_.push_back(0);
  }
  std::vector<BYTE> Take() { return std::move(out_); }

 private:
  static bool Same(const std::wstring& a, const wchar_t* b) {
    std::wstring_view bv(b);
    if (a.size() != bv.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(bv[i]))) return false;
    return true;
  }
  std::vector<BYTE> out_;
};

bool ReadItemClass(Reader& r, std::wstring& className, std::string& error) {
  WORD ordinal = 0;
  if (!r.NameOrOrdinal(className, ordinal, "a control's class")) return false;
  if (ordinal) {
    if (ordinal < 0x80 || ordinal > 0x85) {
      error = "a control has the unknown class number " + std::to_string(ordinal);
      return false;
    }
    className = kPredefinedClasses[ordinal - 0x80];
  } else if (className.empty()) {
    error = "a control has no class";
    return false;
  }
  return true;
}

}  // namespace

std::wstring DialogInitEntry::Text() const {
  size_t n = 0;
  while (n < data.size() && data[n] != 0) ++n;
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), n));
}

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const BYTE> bytes, std::string& error) {
  Reader r(bytes);
  DialogTemplate d;
  WORD version = 0, signature = 0, count = 0;
  WORD ordinal = 0;
  auto failed = [&]() -> std::optional<DialogTemplate> {
    if (error.empty()) error = r.Error();
    error = "dialog template: " + error;
    return std::nullopt;
  };
  if (bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF) {
    d.extended = true;
    if (!r.Word(version, "the header") || !r.Word(signature, "the header") || !r.Dword(d.helpId, "the header") ||
        !r.Dword(d.exStyle, "the header") || !r.Dword(d.style, "the header"))
      return failed();
  } else {
    d.extended = false;
    if (!r.Dword(d.style, "the header") || !r.Dword(d.exStyle, "the header")) return failed();
  }
  if (!r.Word(count, "the header") || !r.Short(d.x, "the header") || !r.Short(d.y, "the header") ||
      !r.Short(d.cx, "the header") || !r.Short(d.cy, "the header"))
    return failed();
  if (!r.NameOrOrdinal(d.menu, ordinal, "the menu name")) return failed();
  if (ordinal) d.menu = L"#" + std::to_wstring(ordinal);
  if (!r.NameOrOrdinal(d.className, ordinal, "the class name")) return failed();
  if (ordinal) d.className = L"#" + std::to_wstring(ordinal);
  if (!r.Text(d.caption, "the caption")) return failed();
  if (d.style & DS_SETFONT) {
    if (!r.Word(d.pointSize, "the font")) return failed();
    if (d.extended && (!r.Word(d.weight, "the font") || !r.Byte(d.italic, "the font") ||
                       !r.Byte(d.charset, "the font")))
      return failed();
    if (!r.Text(d.typeface, "the font")) return failed();
  }
  // Each control takes at least 18 bytes: a count beyond what the data can
  // hold is refused before anything is reserved for it.
  if (count > bytes.size() / 18) {
    error = "the header announces " + std::to_string(count) + " controls, more than the data can hold";
    return failed();
  }
  d.items.reserve(count);
  for (WORD i = 0; i < count; ++i) {
    DialogItemTemplate item;
    if (!r.AlignToDword("a control")) return failed();
    if (d.extended) {
      DWORD id = 0;
      if (!r.Dword(item.helpId, "a control") || !r.Dword(item.exStyle, "a control") ||
          !r.Dword(item.style, "a control") || !r.Short(item.x, "a control") || !r.Short(item.y, "a control") ||
          !r.Short(item.cx, "a control") || !r.Short(item.cy, "a control") || !r.Dword(id, "a control"))
        return failed();
      item.id = static_cast<int>(id);
    } else {
      WORD id = 0;
      if (!r.Dword(item.style, "a control") || !r.Dword(item.exStyle, "a control") || !r.Short(item.x, "a control") ||
          !r.Short(item.y, "a control") || !r.Short(item.cx, "a control") || !r.Short(item.cy, "a control") ||
          !r.Word(id, "a control"))
        return failed();
      item.id = static_cast<short>(id);
    }
    if (!ReadItemClass(r, item.className, error)) return failed();
    if (!r.NameOrOrdinal(item.text, item.textOrdinal, "a control's text")) return failed();
    WORD extra = 0;
    if (!r.Word(extra, "a control's creation data")) return failed();
    if (extra && !r.Bytes(extra, item.creationData, "a control's creation data")) return failed();
    d.items.push_back(std::move(item));
  }
  return d;
}

std::optional<std::vector<DialogInitEntry>> ParseDialogInit(std::span<const BYTE> bytes, std::string& error) {
  Reader r(bytes);
  std::vector<DialogInitEntry> entries;
  for (;;) {
    WORD id = 0;
    if (!r.Word(id, "an entry")) {
      error = "dialog initialisation data: " + r.Error() + " (no closing zero)";
      return std::nullopt;
    }
    if (id == 0) break;
    DialogInitEntry e;
    e.controlId = static_cast<short>(id);
    DWORD length = 0;
    if (!r.Word(e.message, "an entry") || !r.Dword(length, "an entry") || !r.Bytes(length, e.data, "an entry")) {
      error = "dialog initialisation data: " + r.Error();
      return std::nullopt;
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

std::vector<BYTE> WriteDialogTemplate(const DialogTemplate& d) {
  Writer w;
  if (d.extended) {
    w.Word(1);
    w.Word(0xFFFF);
    w.Dword(d.helpId);
    w.Dword(d.exStyle);
    w.Dword(d.style);
  } else {
    w.Dword(d.style);
    w.Dword(d.exStyle);
  }
  w.Word(static_cast<WORD>(d.items.size()));
  w.Short(d.x);
  w.Short(d.y);
  w.Short(d.cx);
  w.Short(d.cy);
  w.NameOrOrdinal(d.menu, 0);
  w.NameOrOrdinal(d.className, 0);
  w.Text(d.caption);
  if (d.style & DS_SETFONT) {
    w.Word(d.pointSize);
    if (d.extended) {
      w.Word(d.weight);
      w.Byte(d.italic);
      w.Byte(d.charset);
    }
    w.Text(d.typeface);
  }
  for (const auto& item : d.items) {
    w.Align();
    if (d.extended) {
      w.Dword(item.helpId);
      w.Dword(item.exStyle);
      w.Dword(item.style);
    } else {
      w.Dword(item.style);
      w.Dword(item.exStyle);
    }
    w.Short(item.x);
    w.Short(item.y);
    w.Short(item.cx);
    w.Short(item.cy);
    if (d.extended) w.Dword(static_cast<DWORD>(item.id));
    else w.Word(static_cast<WORD>(item.id));
    w.Class(item.className);
    w.NameOrOrdinal(item.text, item.textOrdinal);
    w.Word(static_cast<WORD>(item.creationData.size()));
    for (BYTE b : item.creationData) w.Byte(b);
  }
  return w.Take();
}

std::vector<BYTE> WriteDialogInit(const std::vector<DialogInitEntry>& entries) {
  Writer w;
  for (const auto& e : entries) {
    w.Word(static_cast<WORD>(e.controlId));
    w.Word(e.message);
    w.Dword(static_cast<DWORD>(e.data.size()));
    for (BYTE b : e.data) w.Byte(b);
  }
  w.Word(0);
  return w.Take();
}

}  // namespace arxhost

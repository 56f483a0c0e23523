// id DIALOGEX x, y, cx, cy [, helpId]  (and the older DIALOG)
//   [STYLE style] [EXSTYLE style] [CAPTION "text"] [FONT size, "face" [, weight, italic, charset]]
//   [MENU name] [CLASS "name"] [CHARACTERISTICS n] [VERSION n] [LANGUAGE p, s]
// BEGIN controls END
// Controls: CONTROL "text", id, "class", style, x, y, cx, cy [, exstyle [, helpId]] and the
// shorthands LTEXT, RTEXT, CTEXT, PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX, AUTOCHECKBOX,
// RADIOBUTTON, AUTORADIOBUTTON, STATE3, AUTO3STATE, GROUPBOX ("text", id, x, y, cx, cy
// [, style [, exstyle]]) and EDITTEXT, COMBOBOX, LISTBOX, SCROLLBAR (id, x, y, cx, cy
// [, style [, exstyle]]). A shorthand's style adds to its default style, and every
// control is WS_CHILD | WS_VISIBLE.
#include <cwctype>

#include "rcparser.h"
#include "win32/dialog_template.h"
#include "win32/window.h"

namespace arxrc {
namespace {

struct Shorthand {
  const wchar_t* keyword;
  const wchar_t* className;
  DWORD style;
  bool hasText;
};

const Shorthand kShorthands[] = {
    {L"LTEXT", L"Static", SS_LEFT | WS_GROUP, true},
    {L"RTEXT", L"Static", SS_RIGHT | WS_GROUP, true},
    {L"CTEXT", L"Static", SS_CENTER | WS_GROUP, true},
    {L"PUSHBUTTON", L"Button", BS_PUSHBUTTON | WS_TABSTOP, true},
    {L"DEFPUSHBUTTON", L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {L"CHECKBOX", L"Button", BS_CHECKBOX | WS_TABSTOP, true},
    {L"AUTOCHECKBOX", L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {L"RADIOBUTTON", L"Button", BS_RADIOBUTTON, true},
    {L"AUTORADIOBUTTON", L"Button", BS_AUTORADIOBUTTON, true},
    {L"STATE3", L"Button", BS_3STATE | WS_TABSTOP, true},
    {L"AUTO3STATE", L"Button", BS_AUTO3STATE | WS_TABSTOP, true},
    {L"GROUPBOX", L"Button", BS_GROUPBOX, true},
    {L"EDITTEXT", L"Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {L"COMBOBOX", L"ComboBox", CBS_SIMPLE | WS_TABSTOP, false},
    {L"LISTBOX", L"ListBox", LBS_NOTIFY | WS_BORDER, false},
    {L"SCROLLBAR", L"ScrollBar", 0, false},
};

// The style symbols a dialog statement may use.
struct StyleSymbols {
  StyleSymbols() {
    const std::pair<const wchar_t*, std::int64_t> symbols[] = {
        {L"WS_OVERLAPPED", WS_OVERLAPPED}, {L"WS_POPUP", WS_POPUP}, {L"WS_CHILD", WS_CHILD},
        {L"WS_VISIBLE", WS_VISIBLE}, {L"WS_DISABLED", WS_DISABLED}, {L"WS_BORDER", WS_BORDER},
        {L"WS_DLGFRAME", WS_DLGFRAME}, {L"WS_CAPTION", WS_CAPTION}, {L"WS_SYSMENU", WS_SYSMENU},
        {L"WS_VSCROLL", WS_VSCROLL}, {L"WS_HSCROLL", WS_HSCROLL}, {L"WS_GROUP", WS_GROUP},
        {L"WS_TABSTOP", WS_TABSTOP}, {L"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE}, {L"WS_EX_STATICEDGE", WS_EX_STATICEDGE},
        {L"DS_ABSALIGN", DS_ABSALIGN}, {L"DS_SYSMODAL", DS_SYSMODAL}, {L"DS_3DLOOK", DS_3DLOOK},
        {L"DS_FIXEDSYS", DS_FIXEDSYS}, {L"DS_SETFONT", DS_SETFONT}, {L"DS_MODALFRAME", DS_MODALFRAME},
        {L"DS_CENTER", DS_CENTER}, {L"DS_SHELLFONT", DS_SHELLFONT},
        {L"BS_PUSHBUTTON", BS_PUSHBUTTON}, {L"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON}, {L"BS_CHECKBOX", BS_CHECKBOX},
        {L"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX}, {L"BS_RADIOBUTTON", BS_RADIOBUTTON}, {L"BS_3STATE", BS_3STATE},
        {L"BS_AUTO3STATE", BS_AUTO3STATE}, {L"BS_GROUPBOX", BS_GROUPBOX}, {L"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
        {L"BS_LEFTTEXT", BS_LEFTTEXT},
        {L"SS_LEFT", SS_LEFT}, {L"SS_CENTER", SS_CENTER}, {L"SS_RIGHT", SS_RIGHT}, {L"SS_ICON", SS_ICON},
        {L"SS_BLACKRECT", SS_BLACKRECT}, {L"SS_ETCHEDHORZ", SS_ETCHEDHORZ}, {L"SS_ETCHEDVERT", SS_ETCHEDVERT},
        {L"SS_ETCHEDFRAME", SS_ETCHEDFRAME}, {L"SS_NOPREFIX", SS_NOPREFIX}, {L"SS_SUNKEN", SS_SUNKEN},
        {L"CBS_SIMPLE", CBS_SIMPLE}, {L"CBS_DROPDOWN", CBS_DROPDOWN}, {L"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
        {L"CBS_SORT", CBS_SORT}, {L"CBS_HASSTRINGS", CBS_HASSTRINGS},
        {L"ES_LEFT", ES_LEFT}, {L"ES_AUTOHSCROLL", ES_AUTOHSCROLL}, {L"LBS_NOTIFY", LBS_NOTIFY},
    };
    for (const auto& [name, value] : symbols) DefineBuiltinSymbol(name, value);
  }
};

bool Upper(const std::wstring& word, const wchar_t* keyword) {
  std::wstring_view k(keyword);
  if (word.size() != k.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::towupper(static_cast<wint_t>(word[i])) != static_cast<wint_t>(k[i])) return false;
  return true;
}

std::optional<short> Coordinate(Parser& p, const wchar_t* what) {
  auto v = p.Number();
  if (!v) return std::nullopt;
  if (*v < -32768 || *v > 32767) return p.Error(std::wstring(what) + L" is out of range"), std::nullopt;
  p.SkipComma();
  return static_cast<short>(*v);
}

std::optional<DWORD> Dword(Parser& p, const wchar_t* what) {
  auto v = p.Number();
  if (!v) return std::nullopt;
  if (*v < -0x80000000LL || *v > 0xFFFFFFFFLL) return p.Error(std::wstring(what) + L" is out of range"), std::nullopt;
  return static_cast<DWORD>(*v);
}

bool Rectangle(Parser& p, arxhost::DialogItemTemplate& item) {
  auto x = Coordinate(p, L"x");
  auto y = x ? Coordinate(p, L"y") : std::nullopt;
  auto cx = y ? Coordinate(p, L"width") : std::nullopt;
  auto cy = cx ? Coordinate(p, L"height") : std::nullopt;
  if (!cy) return false;
  item.x = *x;
  item.y = *y;
  item.cx = *cx;
  item.cy = *cy;
  return true;
}

// What may follow the last fixed field of a control: "," and a number.
bool MoreFields(Parser& p) { return !p.IsEnd() && p.LooksLikeNumber(); }

// A number or a string into a field; false, with the parser's error, when
// the field is missing or malformed.
template <class T>
bool ReadNumber(Parser& p, const wchar_t* what, T& field) {
  auto v = Dword(p, what);
  if (!v) return false;
  field = static_cast<T>(*v);
  return true;
}

bool ReadText(Parser& p, std::wstring& field) {
  auto text = p.String();
  if (!text) return false;
  field = *text;
  return true;
}

bool Control(Parser& p, const std::wstring& keyword, arxhost::DialogItemTemplate& item) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  if (Upper(keyword, L"CONTROL")) {
    DWORD style = 0;
    if (!ReadText(p, item.text)) return false;
    p.SkipComma();
    if (!ReadNumber(p, L"the control id", item.id)) return false;
    p.SkipComma();
    if (!ReadText(p, item.className)) return false;
    p.SkipComma();
    if (!ReadNumber(p, L"the style", style)) return false;
    item.style = style | kChild;
    p.SkipComma();
    if (!Rectangle(p, item)) return false;
    if (MoreFields(p)) {
      if (!ReadNumber(p, L"the extended style", item.exStyle)) return false;
      p.SkipComma();
      if (MoreFields(p) && !ReadNumber(p, L"the help id", item.helpId)) return false;
    }
    return true;
  }
  for (const auto& s : kShorthands) {
    if (!Upper(keyword, s.keyword)) continue;
    item.className = s.className;
    if (s.hasText) {
      if (!ReadText(p, item.text)) return false;
      p.SkipComma();
    }
    if (!ReadNumber(p, L"the control id", item.id)) return false;
    p.SkipComma();
    if (!Rectangle(p, item)) return false;
    item.style = s.style | kChild;
    if (MoreFields(p)) {
      DWORD style = 0;
      if (!ReadNumber(p, L"the style", style)) return false;
      item.style |= style;
      p.SkipComma();
      if (MoreFields(p) && !ReadNumber(p, L"the extended style", item.exStyle)) return false;
    }
    return true;
  }
  return p.Error(L"unknown dialog control " + keyword);
}

bool CompileDialog(Parser& p, std::uint32_t id, std::vector<arxhost::ResourceBlob>& out, bool extended) {
  static StyleSymbols symbols;
  arxhost::DialogTemplate d;
  d.extended = extended;
  arxhost::DialogItemTemplate frame;
  if (!Rectangle(p, frame)) return false;
  d.x = frame.x;
  d.y = frame.y;
  d.cx = frame.cx;
  d.cy = frame.cy;
  if (extended && MoreFields(p)) {
    if (!ReadNumber(p, L"the help id", d.helpId)) return false;
  }

  bool styled = false, captioned = false, font = false;
  DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU;
  while (!p.IsBegin()) {
    if (p.AtEnd()) return p.Error(L"the dialog has no BEGIN");
    const Token option = p.Next();
    if (option.kind != TokenKind::kIdentifier) return p.Error(L"a dialog option or BEGIN expected");
    if (Upper(option.text, L"STYLE")) {
      if (!ReadNumber(p, L"the style", style)) return false;
      styled = true;
    } else if (Upper(option.text, L"EXSTYLE")) {
      if (!ReadNumber(p, L"the extended style", d.exStyle)) return false;
    } else if (Upper(option.text, L"CAPTION")) {
      if (!ReadText(p, d.caption)) return false;
      captioned = true;
    } else if (Upper(option.text, L"FONT")) {
      auto size = p.Number();
      if (!size) return false;
      if (*size < 0 || *size > 0xFFFF) return p.Error(L"the font size is out of range");
      d.pointSize = static_cast<WORD>(*size);
      p.SkipComma();
      auto face = p.String();
      if (!face) return false;
      d.typeface = *face;
      font = true;
      // weight, italic, charset: only DIALOGEX keeps them.
      std::int64_t extra[3] = {0, 0, 0};
      for (int i = 0; i < 3 && (p.SkipComma(), p.LooksLikeNumber()); ++i) {
        auto v = p.Number();
        if (!v) return false;
        extra[i] = *v;
      }
      d.weight = static_cast<WORD>(extra[0]);
      d.italic = static_cast<BYTE>(extra[1]);
      d.charset = static_cast<BYTE>(extra[2]);
    } else if (Upper(option.text, L"MENU")) {
      const Token name = p.Next();
      d.menu = name.kind == TokenKind::kNumber ? L"#" + std::to_wstring(name.number) : name.text;
    } else if (Upper(option.text, L"CLASS")) {
      auto name = p.String();
      if (!name) return false;
      d.className = *name;
    } else if (Upper(option.text, L"CHARACTERISTICS") || Upper(option.text, L"VERSION")) {
      if (!p.Number()) return false;
    } else if (Upper(option.text, L"LANGUAGE")) {
      if (!p.Number()) return false;
      p.SkipComma();
      if (!p.Number()) return false;
    } else {
      return p.Error(L"unknown dialog option " + option.text);
    }
  }
  // As the platform's compiler does: a caption brings its title bar, a
  // font the flag that says the template names one.
  if (captioned && !styled) style |= WS_CAPTION;
  if (font) style |= DS_SETFONT;
  d.style = style;

  if (!p.ExpectBegin()) return false;
  while (!p.IsEnd()) {
    if (p.AtEnd()) return p.Error(L"the dialog has no END");
    const Token keyword = p.Next();
    if (keyword.kind != TokenKind::kIdentifier) return p.Error(L"a dialog control expected");
    arxhost::DialogItemTemplate item;
    if (!Control(p, keyword.text, item)) return false;
    if (d.items.size() == 0xFFFF) return p.Error(L"the dialog has too many controls");
    d.items.push_back(std::move(item));
  }
  p.ExpectEnd();
  out.push_back({arxhost::kResourceTypeDialog, id, p.Language(), arxhost::WriteDialogTemplate(d)});
  return true;
}

StatementRegistrar dialogEx(L"DIALOGEX", [](Parser& p, std::uint32_t id, std::vector<arxhost::ResourceBlob>& out) {
  return CompileDialog(p, id, out, true);
});
StatementRegistrar dialog(L"DIALOG", [](Parser& p, std::uint32_t id, std::vector<arxhost::ResourceBlob>& out) {
  return CompileDialog(p, id, out, false);
});

}  // namespace
}  // namespace arxrc

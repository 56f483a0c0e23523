#include "editor/sysvars.h"

#include <map>

#include "arx/aced.h"
#include "arx/acutils.h"
#include "arx/names.h"
#include "editor/hostcommands.h"
#include "win32/transcript.h"
#include "win32/wformat.h"

namespace arxhost {
namespace {

struct Var {
  std::wstring name;
  SysVarValue value;
  bool readOnly = false;
};

wchar_t& Letter() {
  static wchar_t letter = L'D';
  return letter;
}

std::wstring VernumText() { return std::wstring(1, Letter()) + L".18.0.0 (UNICODE)"; }

std::map<std::wstring, Var> Defaults() {
  std::map<std::wstring, Var> vars;
  auto add = [&](std::wstring name, SysVarValue value, bool readOnly) {
    const std::wstring key = UpperName(name);
    vars[key] = Var{std::move(name), std::move(value), readOnly};
  };
  add(L"_VERNUM", VernumText(), true);
  add(L"ACADVER", std::wstring(L"18.0"), true);
  add(L"CMDECHO", short{1}, false);
  add(L"FILEDIA", short{0}, false);
  add(L"CMDDIA", short{0}, false);
  add(L"EXPERT", short{0}, false);
  add(L"LUPREC", short{4}, false);
  add(L"DWGNAME", std::wstring(L"Drawing1.dwg"), true);
  return vars;
}

std::map<std::wstring, Var>& Table() {
  static std::map<std::wstring, Var> vars = Defaults();
  return vars;
}

Var* Find(const std::wstring& name) {
  auto& vars = Table();
  auto it = vars.find(UpperName(name));
  return it == vars.end() ? nullptr : &it->second;
}

std::wstring Describe(const SysVarValue& value) {
  struct {
    std::wstring operator()(short v) const { return std::to_wstring(v); }
    std::wstring operator()(double v) const { return FormatWide(L"%.6g", v); }
    std::wstring operator()(const std::wstring& v) const { return L"\"" + v + L"\""; }
    std::wstring operator()(const SysVarPoint& p) const { return FormatWide(L"%.6g,%.6g,%.6g", p[0], p[1], p[2]); }
  } visitor;
  return std::visit(visitor, value);
}

// Parses a typed value for the kind of the current one.
std::optional<SysVarValue> Parse(const SysVarValue& like, const std::wstring& text) {
  try {
    size_t used = 0;
    if (std::holds_alternative<short>(like)) {
      long v = std::stol(text, &used);
      if (used != text.size() || v < -32768 || v > 32767) return std::nullopt;
      return SysVarValue(static_cast<short>(v));
    }
    if (std::holds_alternative<double>(like)) {
      double v = std::stod(text, &used);
      if (used != text.size()) return std::nullopt;
      return SysVarValue(v);
    }
    if (std::holds_alternative<std::wstring>(like)) return SysVarValue(text);
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

HostCommandRegistrar setvar(L"SETVAR", L"SETVAR NAME VALUE: shows or sets a system variable", [](CommandArgs& args) {
  auto name = args.Word(L"Enter variable name: ");
  if (!name || name->empty()) return false;
  Var* var = Find(*name);
  if (!var) {
    Transcript::WriteLine(L"Unknown variable name \"" + UpperName(*name) + L"\".");
    return false;
  }
  auto text = args.Text(L"Enter new value for " + var->name + L" <" + Describe(var->value) + L">: ");
  if (!text || text->empty()) return true;
  if (var->readOnly) {
    Transcript::WriteLine(L"Cannot set " + var->name + L": it is read-only.");
    return false;
  }
  auto value = Parse(var->value, *text);
  if (!value) {
    Transcript::WriteLine(L"Invalid value \"" + *text + L"\" for " + var->name + L".");
    return false;
  }
  var->value = *value;
  return true;
});

}  // namespace

void SysVars::Define(const std::wstring& name, SysVarValue value, bool readOnly) {
  Table()[UpperName(name)] = Var{name, std::move(value), readOnly};
}

bool SysVars::Erase(const std::wstring& name) { return Table().erase(UpperName(name)) > 0; }

std::optional<SysVarValue> SysVars::Get(const std::wstring& name) {
  Var* v = Find(name);
  if (!v) return std::nullopt;
  return v->value;
}

bool SysVars::IsReadOnly(const std::wstring& name) {
  Var* v = Find(name);
  return v && v->readOnly;
}

bool SysVars::Set(const std::wstring& name, const SysVarValue& value) {
  Var* v = Find(name);
  if (!v || v->readOnly) return false;
  if (std::holds_alternative<double>(v->value) && std::holds_alternative<short>(value)) {
    v->value = static_cast<double>(std::get<short>(value));
    return true;
  }
  if (v->value.index() != value.index()) return false;
  v->value = value;
  return true;
}

std::vector<std::wstring> SysVars::Names() {
  std::vector<std::wstring> names;
  for (const auto& [key, var] : Table()) names.push_back(var.name);
  return names;
}

void SysVars::Reset() {
  Letter() = L'D';
  Table() = Defaults();
}

void SysVars::SetReleaseLetter(wchar_t letter) {
  Letter() = letter;
  if (Var* v = Find(L"_VERNUM")) v->value = VernumText();
}

wchar_t SysVars::ReleaseLetter() { return Letter(); }

}  // namespace arxhost

int acedGetVar(const ACHAR* name, resbuf* result) {
  if (!name || !result) return RTERROR;
  auto value = arxhost::SysVars::Get(name);
  if (!value) return RTREJ;
  // A text the buffer held before is the caller's to keep; only what the
  // host puts in now belongs to the buffer.
  if (auto* s = std::get_if<short>(&*value)) {
    result->restype = RTSHORT;
    result->resval.rint = *s;
  } else if (auto* d = std::get_if<double>(&*value)) {
    result->restype = RTREAL;
    result->resval.rreal = *d;
  } else if (auto* t = std::get_if<std::wstring>(&*value)) {
    result->restype = RTSTR;
    acutNewString(t->c_str(), result->resval.rstring);
  } else {
    const auto& p = std::get<arxhost::SysVarPoint>(*value);
    result->restype = RT3DPOINT;
    for (int i = 0; i < 3; ++i) result->resval.rpoint[i] = p[i];
  }
  return RTNORM;
}

int acedSetVar(const ACHAR* name, const resbuf* value) {
  if (!name || !value) return RTERROR;
  arxhost::SysVarValue v;
  switch (value->restype) {
    case RTSHORT: v = value->resval.rint; break;
    case RTREAL:
    case RTANG: v = value->resval.rreal; break;
    case RTSTR:
      if (!value->resval.rstring) return RTREJ;
      v = std::wstring(value->resval.rstring);
      break;
    case RTPOINT:
    case RT3DPOINT:
      v = arxhost::SysVarPoint{value->resval.rpoint[0], value->resval.rpoint[1],
                               value->restype == RTPOINT ? 0.0 : value->resval.rpoint[2]};
      break;
    default: return RTREJ;
  }
  return arxhost::SysVars::Set(name, v) ? RTNORM : RTREJ;
}

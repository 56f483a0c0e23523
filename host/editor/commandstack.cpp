// The host's command stack, registered as "ACAD_REGISTERED_COMMANDS".
#include "editor/commandstack.h"

#include <algorithm>

#include "arx/names.h"

namespace arxhost {
namespace {

class Command final : public AcEdCommand {
 public:
  Command(std::wstring group, std::wstring global, std::wstring local, Adesk::Int32 flags, AcRxFunctionPtr fn,
          AcEdUIContext* ui, int fcode, HINSTANCE resource)
      : group_(std::move(group)), global_(std::move(global)), local_(std::move(local)), flags_(flags), fn_(fn),
        ui_(ui), fcode_(fcode), resource_(resource) {}
  AcRxFunctionPtr functionAddr() const override { return fn_; }
  int functionCode() const override { return fcode_; }
  Adesk::Int32 commandFlags() const override { return flags_; }
  AcEdUIContext* UIContext() const override { return ui_; }
  HINSTANCE resourceHandle() const override { return resource_; }
  const ACHAR* globalName() const override { return global_.c_str(); }
  const ACHAR* localName() const override { return local_.c_str(); }
  const ACHAR* groupName() const override { return group_.c_str(); }

 private:
  std::wstring group_, global_, local_;
  Adesk::Int32 flags_;
  AcRxFunctionPtr fn_;
  AcEdUIContext* ui_;
  int fcode_;
  HINSTANCE resource_;
};

struct Group {
  std::wstring name;
  std::vector<std::unique_ptr<Command>> commands;
};

class Stack final : public AcEdCommandStack {
 public:
  Acad::ErrorStatus addCommand(const ACHAR* groupName, const ACHAR* globalName, const ACHAR* localName,
                               Adesk::Int32 flags, AcRxFunctionPtr fn, AcEdUIContext* ui, int fcode,
                               HINSTANCE resource, AcEdCommand** cmdPtrRet) override {
    if (cmdPtrRet) *cmdPtrRet = nullptr;
    if (!groupName || !*groupName || !globalName || !*globalName || !fn) return Acad::eInvalidInput;
    // A command without a local name answers to its global one.
    std::wstring local = localName && *localName ? localName : globalName;
    Group* group = FindGroup(groupName);
    if (group) {
      for (const auto& c : group->commands)
        if (SameName(c->globalName(), globalName) || SameName(c->localName(), local)) return Acad::eDuplicateKey;
    } else {
      groups_.insert(groups_.begin(), Group{groupName, {}});
      group = &groups_.front();
    }
    group->commands.push_back(
        std::make_unique<Command>(group->name, globalName, std::move(local), flags, fn, ui, fcode, resource));
    if (cmdPtrRet) *cmdPtrRet = group->commands.back().get();
    return Acad::eOk;
  }

  AcEdCommand* lookupGlobalCmd(const ACHAR* name) override { return lookupCmd(name, true); }
  AcEdCommand* lookupLocalCmd(const ACHAR* name) override { return lookupCmd(name, false); }

  AcEdCommand* lookupCmd(const ACHAR* name, bool global) override {
    if (!name) return nullptr;
    for (auto& g : groups_)
      for (auto& c : g.commands)
        if (SameName(global ? c->globalName() : c->localName(), name)) return c.get();
    return nullptr;
  }

  Acad::ErrorStatus removeCmd(const ACHAR* groupName, const ACHAR* globalName) override {
    Group* group = groupName ? FindGroup(groupName) : nullptr;
    if (!group || !globalName) return Acad::eKeyNotFound;
    auto& cmds = group->commands;
    auto it = std::find_if(cmds.begin(), cmds.end(), [&](const auto& c) { return SameName(c->globalName(), globalName); });
    if (it == cmds.end()) return Acad::eKeyNotFound;
    cmds.erase(it);
    // An emptied group goes too, as it has nothing left to offer.
    if (cmds.empty()) EraseGroup(group);
    return Acad::eOk;
  }

  Acad::ErrorStatus removeGroup(const ACHAR* groupName) override {
    Group* group = groupName ? FindGroup(groupName) : nullptr;
    if (!group) return Acad::eKeyNotFound;
    EraseGroup(group);
    return Acad::eOk;
  }

  Acad::ErrorStatus popGroupToTop(const ACHAR* groupName) override {
    Group* group = groupName ? FindGroup(groupName) : nullptr;
    if (!group) return Acad::eKeyNotFound;
    auto it = groups_.begin() + (group - groups_.data());
    std::rotate(groups_.begin(), it, it + 1);
    return Acad::eOk;
  }

  std::vector<std::wstring> groupNames() const override {
    std::vector<std::wstring> names;
    for (const auto& g : groups_) names.push_back(g.name);
    return names;
  }

  std::vector<AcEdCommand*> commandsOf(const ACHAR* groupName) const override {
    std::vector<AcEdCommand*> out;
    for (const auto& g : groups_)
      if (groupName && SameName(g.name, groupName))
        for (const auto& c : g.commands) out.push_back(c.get());
    return out;
  }

  size_t RemoveWhere(const std::function<bool(const AcEdCommand&)>& predicate) {
    size_t removed = 0;
    for (auto& g : groups_) {
      auto& cmds = g.commands;
      auto before = cmds.size();
      std::erase_if(cmds, [&](const auto& c) { return predicate(*c); });
      removed += before - cmds.size();
    }
    std::erase_if(groups_, [](const Group& g) { return g.commands.empty(); });
    return removed;
  }

 private:
  Group* FindGroup(const ACHAR* name) {
    for (auto& g : groups_)
      if (SameName(g.name, name)) return &g;
    return nullptr;
  }
  void EraseGroup(Group* group) { groups_.erase(groups_.begin() + (group - groups_.data())); }

  std::vector<Group> groups_;  // top of the stack first
};

Stack& TheStack() {
  static Stack stack;
  return stack;
}

}  // namespace

AcEdCommandStack& CommandStack() { return TheStack(); }

size_t RemoveCommandsWhere(const std::function<bool(const AcEdCommand&)>& predicate) {
  return TheStack().RemoveWhere(predicate);
}

}  // namespace arxhost

#include "arx/acdocman.h"

#include <vector>

#include "mfc/afxext.h"

namespace {

std::vector<HINSTANCE>& PushedHandles() {
  static std::vector<HINSTANCE> previous;
  return previous;
}

}  // namespace

void AcApDocManager::pushResourceHandle(HINSTANCE resource) {
  PushedHandles().push_back(AfxGetResourceHandle());
  AfxSetResourceHandle(resource);
}

void AcApDocManager::popResourceHandle() {
  auto& stack = PushedHandles();
  if (stack.empty()) return;  // an unbalanced pop leaves the current handle alone
  AfxSetResourceHandle(stack.back());
  stack.pop_back();
}

int AcApDocManager::resourceHandleDepth() const { return static_cast<int>(PushedHandles().size()); }

AcApDocManager* acDocManagerPtr() {
  static AcApDocManager manager;
  return &manager;
}

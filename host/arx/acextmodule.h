#pragma once
// The extension-module helpers of the module interface: CAcExtensionModule
// keeps a module's MFC extension record and the two resource handles it
// needs, and CAcModuleResourceOverride makes a module's resources current
// for as long as it lives.
#include "mfc/afxext.h"

class CAcExtensionModule {
 public:
  // At every process attach: the first successful call initialises the
  // extension module, records the resource handles and joins the resource
  // chain with one CDynLinkLibrary (never deleted by the module; the
  // extension module's termination takes it away).
  BOOL AttachInstance(HINSTANCE instance) {
    if (m_bAttached) return TRUE;
    m_bAttached = AfxInitExtensionModule(m_module, instance);
    if (m_bAttached) {
      m_hDefaultResource = AfxGetResourceHandle();
      m_hModuleResource = instance;
      new CDynLinkLibrary(m_module, FALSE);
    }
    return m_bAttached;
  }
  void DetachInstance() {
    if (m_bAttached) {
      AfxTermExtensionModule(m_module, FALSE);
      m_bAttached = FALSE;
    }
  }
  BOOL Attached() const { return m_bAttached; }
  HINSTANCE DefaultResourceInstance() const { return m_hDefaultResource; }
  HINSTANCE ModuleResourceInstance() const { return m_hModuleResource; }
  AFX_EXTENSION_MODULE& ExtensionModule() { return m_module; }

 private:
  BOOL m_bAttached = FALSE;
  HINSTANCE m_hDefaultResource = nullptr;
  HINSTANCE m_hModuleResource = nullptr;
  AFX_EXTENSION_MODULE m_module;
};

class CAcModuleResourceOverride {
 public:
  explicit CAcModuleResourceOverride(HINSTANCE resource) : m_previous(AfxGetResourceHandle()) {
    if (resource) AfxSetResourceHandle(resource);
  }
  ~CAcModuleResourceOverride() { AfxSetResourceHandle(m_previous); }
  CAcModuleResourceOverride(const CAcModuleResourceOverride&) = delete;
  CAcModuleResourceOverride& operator=(const CAcModuleResourceOverride&) = delete;

 private:
  HINSTANCE m_previous;
};

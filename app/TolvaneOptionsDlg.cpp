#include "TolvaneOptionsDlg.h"

#include "VRNGUI90Ux64.h"

namespace {

const wchar_t* const kOptionsKey = L"Software\\Varnel\\Tolvane Reader for AutoCAD";
const wchar_t* const kFileTypeValue = L"File Type";
const wchar_t* const k3dTypeValue = L"3D Type";
const wchar_t* const kMeshTypeValue = L"Mesh Type";
const int kCurrentUser = 1;

void EnableControl(CWnd* pDialog, int nID, BOOL bEnable) {
  CWnd* pControl = pDialog->GetDlgItem(nID);
  if (pControl != NULL) pControl->EnableWindow(bEnable);
}

}  // namespace

CTolvaneOptionsDlg::CTolvaneOptionsDlg(CWnd* pParent)
    : CDialog(CTolvaneOptionsDlg::IDD, pParent), m_fileType(-1), m_meshType(-1), m_3dType(-1) {}

CTolvaneOptionsDlg::~CTolvaneOptionsDlg() {}

BEGIN_MESSAGE_MAP(CTolvaneOptionsDlg, CDialog)
  ON_BN_CLICKED(IDC_2D_DRAWING, &CTolvaneOptionsDlg::OnBnClicked2dDrawing)
  ON_BN_CLICKED(IDC_3D_SOLID_MODEL, &CTolvaneOptionsDlg::OnBnClicked3dSolidModel)
  ON_BN_CLICKED(IDC_EDGE_CURVES, &CTolvaneOptionsDlg::OnBnClickedEdgeCurves)
  ON_BN_CLICKED(IDC_SURFACE_MESH, &CTolvaneOptionsDlg::OnBnClickedSurfaceMesh)
END_MESSAGE_MAP()

void CTolvaneOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Radio(pDX, IDC_2D_DRAWING, m_fileType);
  DDX_CBIndex(pDX, IDC_MESH_TYPE, m_meshType);
  DDX_Radio(pDX, IDC_EDGE_CURVES, m_3dType);
}

BOOL CTolvaneOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  VRNRegistry registry;
  registry.SetKey(kOptionsKey, kCurrentUser);
  m_fileType = registry.ReadInt(kFileTypeValue, 0);
  m_3dType = registry.ReadInt(k3dTypeValue, 0);
  m_meshType = registry.ReadInt(kMeshTypeValue, 0);

  UpdateData(FALSE);
  UpdateControls();
  return TRUE;
}

// The solid-model choices only apply to a solid model, and the mesh type
// only to a surface mesh.
void CTolvaneOptionsDlg::UpdateControls() {
  UpdateData(TRUE);
  const BOOL bSolidModel = m_fileType == 1;
  EnableControl(this, IDC_EDGE_CURVES, bSolidModel);
  EnableControl(this, IDC_SURFACE_MESH, bSolidModel);
  EnableControl(this, IDC_MESH_TYPE, bSolidModel && m_3dType == 1);
}

void CTolvaneOptionsDlg::OnOK() {
  UpdateData(TRUE);

  VRNRegistry registry;
  registry.SetKey(kOptionsKey, kCurrentUser);
  registry.WriteInt(kFileTypeValue, m_fileType);
  registry.WriteInt(k3dTypeValue, m_3dType);
  registry.WriteInt(kMeshTypeValue, m_meshType);

  CDialog::OnOK();
}

void CTolvaneOptionsDlg::OnBnClicked2dDrawing() { UpdateControls(); }

void CTolvaneOptionsDlg::OnBnClicked3dSolidModel() { UpdateControls(); }

void CTolvaneOptionsDlg::OnBnClickedEdgeCurves() { UpdateControls(); }

void CTolvaneOptionsDlg::OnBnClickedSurfaceMesh() { UpdateControls(); }

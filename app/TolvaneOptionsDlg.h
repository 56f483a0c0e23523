#pragma once
// The import options dialog: how the IGES file is read (2D drawing or 3D
// solid model; edge curves or surface mesh; which mesh entities), kept in
// the registry from one import to the next.
#include "mfc/dialog.h"
#include "resources/resource.h"

class CTolvaneOptionsDlg : public CDialog {
 public:
  explicit CTolvaneOptionsDlg(CWnd* pParent = NULL);
  virtual ~CTolvaneOptionsDlg();

  enum { IDD = IDD_TOLVANE_OPTIONS };

  // -1 stands for a group without a selected button (or a list without a
  // selected item).
  int m_fileType;  // 0 "2D Drawing", 1 "3D solid model"
  int m_meshType;  // 0 "Mesh", 1 "3D Faces", 2 "Lines", 3 "Points"
  int m_3dType;    // 0 "Edge curves", 1 "Surface mesh"

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual BOOL OnInitDialog();
  virtual void OnOK();

  void UpdateControls();

  afx_msg void OnBnClicked2dDrawing();
  afx_msg void OnBnClicked3dSolidModel();
  afx_msg void OnBnClickedEdgeCurves();
  afx_msg void OnBnClickedSurfaceMesh();
  DECLARE_MESSAGE_MAP()
};

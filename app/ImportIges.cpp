#include "ImportIges.h"

#include <cstdlib>

#include "Brennic90Ux64.h"
#include "DllMain.h"
#include "GeometryConverter.h"
#include "Kelvrash90Ux64.h"
#include "PluginShell.h"
#include "ShapeEdgeConverter.h"
#include "ThreeDmImporter.h"
#include "TolvaneOptionsDlg.h"

namespace {

void ShowWarning(const CString& text) {
  MessageBoxW(adsw_acadMainWnd(), text, ProductCaption, MB_OK | MB_ICONWARNING);
}

// The 3D paths: the shapes of the IGES file as edge curves or as meshes.
int ImportSolidModel(const CString& igesPath, const CTolvaneOptionsDlg& options) {
  Handle_TopTools_HSequenceOfShape shapes = new TopTools_HSequenceOfShape;
  if (!BrennIges::Read(igesPath, shapes, 1)) {
    ShowWarning(BrennIges::GetError());
    return 0;
  }

  if (options.m_3dType == 0) {
    int count = 0;
    if (!ShapeEdgeConverter::ConvertShapes(shapes, &count)) {
      ShowWarning(ShapeEdgeConverter::GetError());
      return 0;
    }
    acutPrintf(L"Successfully imported %d objects\n", count);
    return 1;
  }

  CString stlPath;
  stlPath.Format(L"%s\\VRNTemp.stl", _wgetenv(L"temp"));
  if (!BrennStl::Write(stlPath, shapes, 1)) {
    ShowWarning(BrennStl::GetError());
    return 0;
  }
  ON_ClassArray<ON_Mesh> meshes;
  const int read = KelvStl::STLToMesh(stlPath, meshes);
  _wunlink(stlPath);  // read or not, the file has served
  if (!read) {
    ShowWarning(KelvStl::GetError());
    return 0;
  }

  for (int i = 0; i < meshes.Count(); ++i) {
    const ON_Mesh& mesh = meshes[i];
    CString layer;
    AcCmColor color;
    switch (options.m_meshType) {
      case 0:
        GeometryConverter::MeshToSubDMesh(mesh, 1, layer, color);
        acutPrintf(L"Created polyface mesh consisting of %d vertices and %d faces\n", mesh.VertexCount(),
                   mesh.FaceCount());
        break;
      case 1:
        GeometryConverter::MeshToFaces(mesh, layer, color);
        acutPrintf(L"Created %d 3d faces\n", mesh.FaceCount());
        break;
      case 2:
        GeometryConverter::MeshToLines(mesh, layer, color);
        acutPrintf(L"Created %d lines\n", mesh.Topology().m_tope.Count());
        break;
      case 3:
        GeometryConverter::MeshToPoints(mesh, layer, color);
        acutPrintf(L"Created %d points\n", mesh.Topology().TopVertexCount());
        break;
      default:
        break;
    }
  }
  return 1;
}

// The 2D path: the IGES file through a temporary model file into the drawing.
int ImportDrawing(const CString& igesPath) {
  wchar_t* name = _wtempnam(_wgetenv(L"temp"), L"VRN");
  CString modelPath = name;
  std::free(name);

  KelvIges converter;
  if (!converter.IGESTo3DM(igesPath, modelPath, 4)) {
    acutPrintf(L"Failure [%s]\n", KelvIges::GetError().GetString());
    return 0;
  }
  ThreeDmImporter importer;
  int result = importer.ImportFile(modelPath, 1, 0, 0, 0);
  _wunlink(modelPath);
  if (!result) acutPrintf(L"Failure [%s]\n", ThreeDmImporter::GetError().GetString());
  return result;
}

// Makes the module's resources current until the command returns.
class ModuleResources {
 public:
  ModuleResources() { acDocManagerPtr()->pushResourceHandle(ExtensionModule.ModuleResourceInstance()); }
  ~ModuleResources() { acDocManagerPtr()->popResourceHandle(); }
  ModuleResources(const ModuleResources&) = delete;
  ModuleResources& operator=(const ModuleResources&) = delete;
};

}  // namespace

int ImportIges() {
  CFileDialog fileDialog(TRUE, L"igs", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         L"IGES Files (*.igs, *.iges)|*.igs;*.iges||", nullptr, 0, TRUE);
  if (fileDialog.DoModal() == IDCANCEL) {
    acutPrintf(L"Failure [Command cancelled]\n");
    return 0;
  }
  const CString igesPath = fileDialog.GetPathName();

  ModuleResources resources;
  CTolvaneOptionsDlg options(CWnd::FromHandle(adsw_acadMainWnd()));
  if (options.DoModal() == IDCANCEL) {
    acutPrintf(L"Failure [Command cancelled]\n");
    return 0;
  }
  if (options.m_fileType == 1) return ImportSolidModel(igesPath, options);
  return ImportDrawing(igesPath);
}

// Resource ids of the module.
#define IDS_PROJNAME 100
// The import options dialog and its controls.
#define IDD_TOLVANE_OPTIONS 200
#define IDC_2D_DRAWING 200
#define IDC_3D_SOLID_MODEL 201
#define IDC_EDGE_CURVES 202
#define IDC_SURFACE_MESH 203
#define IDC_MESH_TYPE 204

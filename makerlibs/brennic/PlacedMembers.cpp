#include "PlacedMembers.h"

#include <BRep_Builder.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Shell.hxx>

namespace brennic {

void AppendPlacedMembers(const TopoDS_Shape& root, TopTools_MapOfShape& seen, std::vector<TopoDS_Shape>& out) {
  BRep_Builder builder;
  TopoDS_Shell looseFaces;
  int faceCount = 0;
  size_t facesAt = 0;
  auto take = [&](const TopoDS_Shape& shape) {
    if (shape.IsNull()) return false;
    const TopAbs_ShapeEnum type = shape.ShapeType();
    if (type == TopAbs_COMPOUND || type == TopAbs_COMPSOLID) return true;
    if (!seen.Add(shape)) return false;
    if (type == TopAbs_FACE && root.ShapeType() == TopAbs_COMPOUND) {
      if (faceCount++ == 0) {
        builder.MakeShell(looseFaces);
        facesAt = out.size();
        out.emplace_back();  // the shell's place: where its first face was met
      }
      builder.Add(looseFaces, shape);
      return false;
    }
    out.push_back(shape);
    return false;
  };
  if (!take(root)) return;
  // Iterative: nesting depth is the file's to choose.
  std::vector<TopoDS_Iterator> open;
  open.emplace_back(root);
  while (!open.empty()) {
    TopoDS_Iterator& members = open.back();
    if (!members.More()) {
      open.pop_back();
      continue;
    }
    const TopoDS_Shape member = members.Value();
    members.Next();
    if (take(member)) open.emplace_back(member);
  }
  if (faceCount > 0) out[facesAt] = looseFaces;
}

}  // namespace brennic

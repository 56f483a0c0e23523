#pragma once
// The shapes of a transfer as the edge converter and the mesher take them.
#include <TopTools_MapOfShape.hxx>
#include <TopoDS_Shape.hxx>

#include <vector>

namespace brennic {

// What lies inside the compounds of the transfer root (groups, assemblies,
// subfigure instances), appended to out: every solid, shell, face, wire, edge
// and vertex once, in file order and in place. An instance placed twice is
// the same shape at two locations, so it stays twice. The loose faces of one
// root (a group of trimmed surfaces) stay together as one shell, so that the
// mesh path meshes them as one shape, as it did the root. seen spans the
// roots of one file.
void AppendPlacedMembers(const TopoDS_Shape& root, TopTools_MapOfShape& seen, std::vector<TopoDS_Shape>& out);

}  // namespace brennic

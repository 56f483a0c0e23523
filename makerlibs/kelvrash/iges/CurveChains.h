#pragma once
// The pieces of a composite curve joined end to end.
#include <vector>

#include <gp_XYZ.hxx>

#include "model/ModelFormat.h"

namespace kelv::iges {

// Orders the pieces of a composite curve into chains that run head to tail
// within 'tol', turning pieces where needed, and closes the gaps the
// tolerance allowed. The first chain starts with the first piece.
std::vector<std::vector<model::CurveGeometryUnion>> Chains(std::vector<model::CurveGeometryUnion> pieces, double tol);
// One piece as it is, several as a poly-curve.
model::CurveGeometryUnion JoinChain(std::vector<model::CurveGeometryUnion> chain);

}  // namespace kelv::iges

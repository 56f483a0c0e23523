#pragma once
// Open CASCADE's IGES entities refer back to what holds them: the lists of
// associativities (groups, views visible) and properties, and the label
// display in the directory entry. Those references form cycles of handles
// that outlive the reader. This cuts them so that the model is freed with
// its reader. Each list is dropped whole: removing members one by one
// (Dissociate) faults inside Open CASCADE's entity lists once a list is
// long, so it is never used.
#include <IGESData_IGESModel.hxx>

namespace igesread {

void CutBackReferences(const Handle(IGESData_IGESModel)& model);

}  // namespace igesread

#pragma once
// A line shown in one view (410) that many groups (402) hold together with
// the view: the view's list of associativities points back at every group.
// Open CASCADE's entity lists fault when members are removed one by one
// from such a list once it is long, so this is the file a model teardown
// must survive.
#include <string>
#include <vector>

#include "IgesBuilder.h"

namespace testiges {

inline std::string ViewGroupsFile(int groups) {
  IgesBuilder b;
  const int view = b.Next();
  const int line = view + 2;
  const int firstGroup = line + 2;
  std::vector<std::string> viewParams = {"1", "1.", "0", "0", "0", "0", "0", "0", std::to_string(groups)};
  for (int i = 0; i < groups; ++i) viewParams.push_back(S(firstGroup + 2 * i));
  viewParams.push_back("0");  // no properties
  b.Add(410, viewParams);
  b.Add(110, {"0.", "0.", "0.", "10.", "5.", "0."});
  for (int i = 0; i < groups; ++i) b.Add(402, {"2", S(view), S(line)}, {.form = 1});
  return b.Text();
}

}  // namespace testiges

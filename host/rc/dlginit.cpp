// id DLGINIT BEGIN data END: the dialog's initialisation data, written as
// raw data, each number one 16-bit word and each string its bytes (UTF-8,
// no terminator unless written, as "Mesh\0"). The records it holds are
//   control, message, length, 0, then the length's bytes of data
// and a final 0 ends them; 0x403 adds the text to a combo box.
#include "rcparser.h"
#include "win32/dialog_template.h"
#include "win32/strconv.h"

namespace arxrc {
namespace {

bool CompileDlgInit(Parser& p, std::uint32_t id, std::vector<arxhost::ResourceBlob>& out) {
  while (!p.IsBegin() && !p.AtEnd()) p.Next();  // options such as LANGUAGE
  if (!p.ExpectBegin()) return false;
  std::vector<unsigned char> data;
  while (!p.IsEnd()) {
    if (p.AtEnd()) return p.Error(L"DLGINIT has no END");
    if (p.Peek().kind == TokenKind::kString) {
      auto text = p.String();
      if (!text) return false;
      const std::string bytes = arxhost::ToUtf8(*text);
      data.insert(data.end(), bytes.begin(), bytes.end());
    } else {
      auto v = p.Number();
      if (!v) return false;
      if (*v < -32768 || *v > 0xFFFF) return p.Error(L"a DLGINIT number must fit in 16 bits");
      arxhost::PutU16(data, static_cast<std::uint16_t>(*v));
    }
    p.SkipComma();
  }
  p.ExpectEnd();
  // Refuse what the dialog could not read: a wrong length or no closing 0.
  std::string error;
  if (!arxhost::ParseDialogInit(data, error)) return p.Error(L"DLGINIT data is malformed: " + arxhost::FromUtf8(error));
  out.push_back({arxhost::kResourceTypeDlgInit, id, p.Language(), std::move(data)});
  return true;
}

StatementRegistrar dlginit(L"DLGINIT", CompileDlgInit);

}  // namespace
}  // namespace arxrc

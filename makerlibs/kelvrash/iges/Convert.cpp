#include "Convert.h"

#include <new>

#include <IGESData_GlobalSection.hxx>
#include <Standard_Failure.hxx>
#include <TCollection_HAsciiString.hxx>

#include "IgesDocument.h"
#include "Mapper.h"

namespace kelv::iges {

namespace {

bool Map(IgesDocument& doc, model::ModelMaker& out, ConversionResult& result, std::string& reason) {
  const IGESData_GlobalSection& global = doc.Model()->GlobalSection();
  auto& props = *out.Model().properties;
  props.application = "IGES conversion";
  props.unit_code = global.UnitFlag();
  if (!global.UnitName().IsNull()) props.unit_name = global.UnitName()->ToCString();
  if (!global.FileName().IsNull()) props.source_file = global.FileName()->ToCString();
  Mapper mapper(doc.Model(), doc.Scan(), out);
  bool ok = mapper.Run(reason);
  result.skipped = mapper.Skipped();
  return ok;
}

template <class Load>
bool Guarded(Load&& load, std::string& reason) {
  try {
    return load();
  } catch (const Standard_Failure& failure) {
    reason = std::string("cannot be converted (") + failure.GetMessageString() + ")";
  } catch (const std::bad_alloc&) {
    reason = "needs more memory than is available";
  } catch (const std::exception& failure) {
    reason = std::string("cannot be converted (") + failure.what() + ")";
  }
  return false;
}

}  // namespace

bool ConvertIgesFile(const std::string& nativePath, model::ModelMaker& out, ConversionResult& result,
                     std::string& reason) {
  return Guarded(
      [&] {
        IgesDocument doc;
        return doc.Load(nativePath, reason) && Map(doc, out, result, reason);
      },
      reason);
}

bool ConvertIgesBytes(std::string_view bytes, model::ModelMaker& out, ConversionResult& result, std::string& reason) {
  return Guarded(
      [&] {
        IgesDocument doc;
        return doc.LoadBytes(bytes, reason) && Map(doc, out, result, reason);
      },
      reason);
}

}  // namespace kelv::iges

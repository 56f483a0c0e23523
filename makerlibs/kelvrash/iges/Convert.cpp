#include "Convert.h"

#include <algorithm>
#include <new>

#include <IGESData_GlobalSection.hxx>
#include <IGESData_IGESEntity.hxx>
#include <Interface_Check.hxx>
#include <Standard_Failure.hxx>
#include <TCollection_HAsciiString.hxx>

#include "IgesDocument.h"
#include "Mapper.h"

namespace kelv::iges {

namespace {

// Why a file that holds entities brought nothing: every entity by what kept
// it out, with the types and counts.
std::string NothingConverted(const Handle(IGESData_IGESModel)& model, std::map<int, int> skipped) {
  enum Why { kPart, kUnreadable, kFailed, kNothing, kWhys };
  static const char* const kSingular[kWhys] = {"is part of another entity", "could not be read",
                                               "could not be converted", "draws nothing of its own"};
  static const char* const kPlural[kWhys] = {"are parts of other entities", "could not be read",
                                             "could not be converted", "draw nothing of their own"};
  std::map<int, int> byWhy[kWhys];
  int counts[kWhys] = {};
  for (int i = 1; i <= model->NbEntities(); ++i) {
    Handle(IGESData_IGESEntity) e = model->Entity(i);
    if (e.IsNull()) continue;
    const int type = e->TypeNumber();
    Handle(Interface_Check) check = model->Check(i, Standard_True);
    const bool broken = (!check.IsNull() && check->HasFailed()) || model->IsErrorEntity(i);
    const int sub = broken ? 0 : e->SubordinateStatus();
    Why why = kNothing;
    if (sub == 1 || sub == 3 || (!broken && e->UseFlag() == 5)) {
      why = kPart;
    } else if (broken) {
      why = kUnreadable;
    } else if (skipped[type] > 0) {
      why = kFailed;
    }
    if (why == kUnreadable || why == kFailed) --skipped[type];
    ++byWhy[why][type];
    ++counts[why];
  }
  const int total = model->NbEntities();
  std::string text = total == 1 ? std::string("holds 1 entity, which cannot be converted: ")
                                : "holds " + std::to_string(total) + " entities and none of them can be converted: ";
  bool first = true;
  for (int w = 0; w < kWhys; ++w) {
    if (counts[w] == 0) continue;
    if (!first) text += "; ";
    first = false;
    text += std::to_string(counts[w]) + " " + (counts[w] == 1 ? kSingular[w] : kPlural[w]) + " (";
    bool firstType = true;
    for (auto [type, n] : byWhy[w]) {
      text += (firstType ? "" : ", ") + std::to_string(n) + " of type " + std::to_string(type);
      firstType = false;
    }
    text += ")";
  }
  return text;
}

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
  if (!ok) return false;
  const auto& objects = out.Model().objects;
  const bool drawn = std::any_of(objects.begin(), objects.end(), [](const auto& o) {
    return !o->attributes || o->attributes->mode != model::ObjectMode::InstanceDefinitionMember;
  });
  if (!drawn && doc.Model()->NbEntities() > 0) {
    reason = NothingConverted(doc.Model(), result.skipped);
    return false;
  }
  return true;
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

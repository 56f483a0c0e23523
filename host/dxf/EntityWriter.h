#pragma once
// Entities: the groups every graphic entity starts with, and one writer per
// entity class, registered by the class's run-time name. An entity whose
// class has no writer of its own is written by the writer of the nearest
// parent class that has one, or left out.
#include <string_view>

#include "dxf/WriteContext.h"

class AcDbEntity;
class AcRxClass;

namespace arxhost::dxf {

class EntityOut {
 public:
  EntityOut(WriteContext& ctx, const AcDbEntity& entity, Handle owner);

  WriteContext& ctx;
  GroupWriter& out;
  const AcDbEntity& entity;
  const Handle handle, owner;

  // Group 0 with the type, handle, owner, and the AcDbEntity subclass:
  // layer, linetype, colour, line weight, linetype scale, visibility.
  void head(std::string_view dxfType);
  // The same for an object the entity owns (VERTEX, SEQEND), with the
  // entity's layer and colour.
  void childHead(std::string_view dxfType, Handle child);
};

using EntityWriteFn = void (*)(EntityOut& e);

struct EntityWriterRegistration {
  EntityWriterRegistration(const wchar_t* className, EntityWriteFn fn);
};

// Writes one entity owned by the block record with the handle owner;
// returns false when no writer takes its class.
bool WriteEntity(WriteContext& ctx, const AcDbEntity& entity, Handle owner);

// The emitter for the section writers: looks the id up in the database.
void EmitDatabaseEntity(WriteContext& ctx, std::uint64_t id, Handle owner);

}  // namespace arxhost::dxf

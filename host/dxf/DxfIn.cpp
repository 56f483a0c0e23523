// DXFIN: the file is read, split and every table record and entity built
// in memory first; only then is anything added to the database, tables
// first, then block definitions, then model and paper space.
#include "dxf/DxfIn.h"

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <unordered_map>
#include <set>

#include "arx/dbBlockTable.h"
#include "arx/dbDatabase.h"
#include "arx/dbDimStyleTable.h"
#include "arx/dbEntity.h"
#include "arx/dbLayerTable.h"
#include "arx/dbLinetypeTable.h"
#include "arx/dbTextStyleTable.h"
#include "dxf/DxfDocument.h"
#include "dxf/DxfInEntity.h"
#include "dxf/DxfInTables.h"

namespace arxhost::dxf {
namespace {

// Files beyond this size are refused rather than read into memory.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{1} << 30;

std::wstring Upper(std::wstring_view name) {
  std::wstring out(name);
  for (auto& c : out) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return out;
}

std::string HandleKey(std::string_view handle) {
  std::string key;
  for (char c : handle) key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::size_t first = key.find_first_not_of('0');
  return first == std::string::npos ? "0" : key.substr(first);
}

bool IsLayout(std::wstring_view upper) {
  return upper == L"*MODEL_SPACE" || upper.starts_with(L"*PAPER_SPACE");
}

struct BuiltBlock {
  const DxfBlock* source = nullptr;
  std::wstring name;
  std::vector<BuiltEntity> entities;
};

class Builder : public BuildContext {
 public:
  Builder(AcDbDatabase& db, const DxfDocument& doc) : db_(db) {
    for (const auto& b : doc.blocks) fileBlocks_.insert(Upper(Wide(b.head.text(2))));
  }
  bool hasBlock(std::wstring_view name) const override {
    if (fileBlocks_.count(Upper(name))) return true;
    auto* table = AcDbSymbolTable::cast(PeekObject(db_.blockTableId()));
    return table && table->has(std::wstring(name).c_str());
  }

 private:
  AcDbDatabase& db_;
  std::set<std::wstring> fileBlocks_;
};

// Everything added to the database, so that a failure half way can take
// it out again.
class Commit : public NameResolver {
 public:
  Commit(AcDbDatabase& db, const BuiltTables& tables) : db_(db) {
    for (const auto& [handle, name] : tables.textStyleHandles) styleHandles_[HandleKey(handle)] = name;
  }

  // The record of the name in the table, through an index of the table's
  // names made on first use: the tables' own look-up walks every record,
  // which a file of many blocks or layers would make quadratic.
  AcDbObjectId find(AcDbObjectId tableId, std::wstring_view name) {
    auto& index = indexes_[tableId.value()];
    if (!index) {
      index = std::make_unique<std::unordered_map<std::wstring, AcDbObjectId>>();
      if (auto* table = AcDbSymbolTable::cast(PeekObject(tableId))) {
        const auto& owned = table->records();
        for (std::size_t i = 0; i < owned.size(); ++i) {
          auto* record = AcDbSymbolTableRecord::cast(owned.objectAt(i));
          if (record && !record->isErased()) index->emplace(Upper(record->name().GetString()), owned.idAt(i));
        }
      }
    }
    auto it = index->find(Upper(name));
    return it == index->end() ? AcDbObjectId() : it->second;
  }

  // Adds the record unless the table has one of its name; the id either way.
  // The record is the database's once added, else stays with owned.
  AcDbObjectId add(AcDbObjectId tableId, RecordPtr& owned) {
    AcDbSymbolTableRecord* record = owned.get();
    AcDbObjectId id = find(tableId, record->name().GetString());
    if (!id.isNull()) return id;
    AcDbSymbolTable* table = nullptr;
    if (acdbOpenObject(table, tableId, AcDb::kForWrite) != Acad::eOk) throw DxfReadError("a table of the drawing cannot be opened");
    Acad::ErrorStatus es = table->add(id, record);
    table->close();
    if (es != Acad::eOk) throw DxfReadError("the drawing refuses the record \"" + ToUtf8Name(record) + "\"");
    owned.release();
    added_.push_back(id);
    indexes_[tableId.value()]->emplace(Upper(record->name().GetString()), id);
    record->close();
    return id;
  }

  void append(AcDbObjectId blockId, BuiltEntity& built) {
    for (auto& fix : built.fixups) fix(*this, *built.entity);
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, blockId, AcDb::kForWrite) != Acad::eOk) throw DxfReadError("a block of the drawing cannot be opened");
    AcDbObjectId id;
    Acad::ErrorStatus es = block->appendAcDbEntity(id, built.entity.get());
    block->close();
    if (es != Acad::eOk) throw DxfReadError("the drawing refuses an entity");
    added_.push_back(id);
    built.entity.release()->close();
  }

  // Takes out what was added, newest first.
  void rollBack() {
    for (auto it = added_.rbegin(); it != added_.rend(); ++it) {
      AcDbObject* object = nullptr;
      if (acdbOpenObject(object, *it, AcDb::kForWrite) == Acad::eOk) {
        object->erase();
        object->close();
      }
    }
    added_.clear();
  }

  AcDbObjectId layer(std::wstring_view name) override {
    AcDbObjectId id = find(db_.layerTableId(), name);
    if (!id.isNull()) return id;
    // A layer the file uses but does not define is made with the defaults.
    RecordPtr record(new AcDbLayerTableRecord);
    if (record->setName(std::wstring(name).c_str()) != Acad::eOk) return find(db_.layerTableId(), L"0");
    return add(db_.layerTableId(), record);
  }
  AcDbObjectId linetype(std::wstring_view name) override { return find(db_.linetypeTableId(), name); }
  AcDbObjectId textStyle(std::wstring_view name) override { return find(db_.textStyleTableId(), name); }
  AcDbObjectId dimStyle(std::wstring_view name) override { return find(db_.dimStyleTableId(), name); }
  AcDbObjectId block(std::wstring_view name) override {
    auto it = renamed_.find(Upper(name));
    return find(db_.blockTableId(), it != renamed_.end() ? it->second : std::wstring(name));
  }
  std::wstring textStyleOfHandle(std::string_view handle) override {
    auto it = styleHandles_.find(HandleKey(handle));
    return it == styleHandles_.end() ? std::wstring() : it->second;
  }

  void rename(std::wstring_view from, std::wstring to) { renamed_[Upper(from)] = std::move(to); }
  AcDbDatabase& db() { return db_; }

 private:
  static std::string ToUtf8Name(AcDbSymbolTableRecord* record);
  AcDbDatabase& db_;
  std::vector<AcDbObjectId> added_;
  std::map<std::wstring, std::wstring> renamed_;
  std::map<std::string, std::wstring> styleHandles_;
  std::unordered_map<std::uint64_t, std::unique_ptr<std::unordered_map<std::wstring, AcDbObjectId>>> indexes_;
};

std::string Commit::ToUtf8Name(AcDbSymbolTableRecord* record) {
  std::string out;
  for (wchar_t c : std::wstring_view(record->name().GetString())) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// A name "*D<n>" (with the prefix of the anonymous name) the drawing lacks.
std::wstring FreshAnonymousName(Commit& commit, std::wstring_view name, int& counter) {
  std::wstring prefix(name.substr(0, 2));
  for (;;) {
    std::wstring candidate = prefix + std::to_wstring(++counter);
    if (commit.find(commit.db().blockTableId(), candidate).isNull()) return candidate;
  }
}

DxfInResult Read(AcDbDatabase& db, std::string_view text) {
  DxfInResult result;
  if (text.empty()) throw DxfReadError("the file is empty");
  if (IsBinaryDxf(text)) throw DxfReadError("it is a binary DXF file; only ASCII DXF files can be read");
  std::vector<DxfGroup> groups = ReadDxfGroups(text);
  DxfDocument doc = ParseDxfDocument(groups);

  // Everything is built before the database is touched.
  BuiltTables tables = BuildTables(doc);
  Builder builder(db, doc);
  std::vector<BuiltBlock> blocks;
  std::vector<BuiltEntity> model, paper;
  auto build = [&](const DxfRecord& record, std::vector<BuiltEntity>& into, bool paperSpace) {
    BuiltEntity built = BuildEntity(record, builder);
    if (!built.entity) {
      ++result.skipped;
      return;
    }
    if (paperSpace || built.paperSpace) paper.push_back(std::move(built));
    else into.push_back(std::move(built));
  };
  for (const auto& b : doc.blocks) {
    std::wstring name = Wide(b.head.text(2));
    std::wstring upper = Upper(name);
    if (IsLayout(upper)) {
      for (const auto& e : b.entities) build(e, model, upper != L"*MODEL_SPACE");
      continue;
    }
    // A name the block table refuses fails the file here, before anything
    // is added.
    if (AcDbBlockTableRecord probe; probe.setName(name.c_str()) != Acad::eOk) b.head.fail("has an invalid name");
    BuiltBlock block{&b, name, {}};
    for (const auto& e : b.entities) build(e, block.entities, false);
    blocks.push_back(std::move(block));
  }
  for (const auto& e : doc.entities) build(e, model, false);

  Commit commit(db, tables);
  try {
    for (auto& lt : tables.linetypes) commit.add(db.linetypeTableId(), lt);
    for (auto& layer : tables.layers) {
      auto* record = static_cast<AcDbLayerTableRecord*>(layer.record.get());
      if (AcDbObjectId lt = commit.linetype(layer.linetype); !lt.isNull()) record->setLinetypeObjectId(lt);
      commit.add(db.layerTableId(), layer.record);
    }
    for (auto& style : tables.textStyles) commit.add(db.textStyleTableId(), style);
    for (auto& style : tables.dimStyles) {
      auto* record = static_cast<AcDbDimStyleTableRecord*>(style.record.get());
      if (std::wstring name = commit.textStyleOfHandle(style.textStyleHandle); !name.empty())
        if (AcDbObjectId id = commit.textStyle(name); !id.isNull()) record->setDimtxsty(id);
      commit.add(db.dimStyleTableId(), style.record);
    }
    // Block records first, so that blocks and entities can name any of
    // them; a named block the drawing has keeps its own definition.
    int counter = 0;
    std::vector<std::pair<AcDbObjectId, BuiltBlock*>> filled;
    for (auto& b : blocks) {
      bool anonymous = b.name.size() >= 2 && b.name[0] == L'*';
      if (!anonymous && !commit.find(db.blockTableId(), b.name).isNull()) continue;
      std::wstring name = anonymous ? FreshAnonymousName(commit, b.name, counter) : b.name;
      if (anonymous) commit.rename(b.name, name);
      auto* record = new AcDbBlockTableRecord;
      RecordPtr owned(record);
      if (record->setName(name.c_str()) != Acad::eOk) b.source->head.fail("has an invalid name");
      record->setOrigin(PointOf(b.source->head, 10));
      if (b.source->head.has(4)) record->setComments(Wide(b.source->head.text(4)).c_str());
      AcDbObjectId id = commit.add(db.blockTableId(), owned);
      filled.emplace_back(id, &b);
      ++result.blocks;
    }
    for (auto& [id, b] : filled)
      for (auto& e : b->entities) commit.append(id, e);
    for (auto& e : model) commit.append(db.modelSpaceId(), e);
    for (auto& e : paper) commit.append(db.paperSpaceId(), e);
    result.entities = static_cast<int>(model.size() + paper.size());
  } catch (...) {
    commit.rollBack();
    throw;
  }
  return result;
}

}  // namespace

DxfInResult ReadDxfText(AcDbDatabase& db, std::string_view text) {
  try {
    return Read(db, text);
  } catch (const DxfReadError& e) {
    DxfInResult failed;
    failed.error = e.what();
    return failed;
  }
}

DxfInResult ReadDxfFile(AcDbDatabase& db, const std::string& nativePath) {
  DxfInResult failed;
  std::error_code ec;
  auto prefix = "Cannot read " + nativePath + ": ";
  if (!std::filesystem::exists(nativePath, ec)) {
    failed.error = prefix + "the file does not exist.";
    return failed;
  }
  if (std::filesystem::is_directory(nativePath, ec)) {
    failed.error = prefix + "it is a folder, not a file.";
    return failed;
  }
  auto size = std::filesystem::file_size(nativePath, ec);
  if (ec) size = 0;
  if (size > kMaxFileSize) {
    failed.error = prefix + "the file is larger than the 1 GiB this host reads.";
    return failed;
  }
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) {
    failed.error = prefix + "the file cannot be opened.";
    return failed;
  }
  std::string text;
  text.resize(static_cast<std::size_t>(size));
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) {
    failed.error = prefix + "the file could not be read to its end.";
    return failed;
  }
  DxfInResult result = ReadDxfText(db, text);
  if (!result.error.empty()) result.error = prefix + result.error + ".";
  return result;
}

}  // namespace arxhost::dxf

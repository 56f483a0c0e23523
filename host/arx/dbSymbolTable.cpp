// Symbol tables, their iterators, and the records of layers, linetypes,
// text styles and dimension styles.
#include "arx/dbSymbolTable.h"

#include <cwchar>
#include <cwctype>

#include "arx/dbBlockTable.h"
#include "arx/dbDatabase.h"
#include "arx/dbDimStyleTable.h"
#include "arx/dbLayerTable.h"
#include "arx/dbLinetypeTable.h"
#include "arx/dbTextStyleTable.h"
#include "arx/names.h"

ARXHOST_RX_DEFINE(AcDbSymbolTableRecord, AcDbObject, L"")
ARXHOST_RX_DEFINE(AcDbSymbolTable, AcDbObject, L"")
ARXHOST_RX_DEFINE(AcDbLayerTableRecord, AcDbSymbolTableRecord, L"LAYER")
ARXHOST_RX_DEFINE(AcDbLayerTable, AcDbSymbolTable, L"TABLE")
ARXHOST_RX_DEFINE(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, L"LTYPE")
ARXHOST_RX_DEFINE(AcDbLinetypeTable, AcDbSymbolTable, L"TABLE")
ARXHOST_RX_DEFINE(AcDbTextStyleTableRecord, AcDbSymbolTableRecord, L"STYLE")
ARXHOST_RX_DEFINE(AcDbTextStyleTable, AcDbSymbolTable, L"TABLE")
ARXHOST_RX_DEFINE(AcDbDimStyleTableRecord, AcDbSymbolTableRecord, L"DIMSTYLE")
ARXHOST_RX_DEFINE(AcDbDimStyleTable, AcDbSymbolTable, L"TABLE")

AcRxClass* AcDbLayerTable::recordClass() const { return AcDbLayerTableRecord::desc(); }
AcRxClass* AcDbLinetypeTable::recordClass() const { return AcDbLinetypeTableRecord::desc(); }
AcRxClass* AcDbTextStyleTable::recordClass() const { return AcDbTextStyleTableRecord::desc(); }
AcRxClass* AcDbDimStyleTable::recordClass() const { return AcDbDimStyleTableRecord::desc(); }

namespace {

bool SameName(const CString& a, const ACHAR* b) {
  const wchar_t* p = a.GetString();
  for (; *p && *b; ++p, ++b)
    if (std::towupper(*p) != std::towupper(*b)) return false;
  return *p == *b;
}

bool ValidName(const ACHAR* name, bool allowLeadingStar) {
  if (!name || !*name) return false;
  size_t n = std::wcslen(name);
  if (n > 255) return false;
  if (std::iswspace(name[0]) || std::iswspace(name[n - 1])) return false;
  for (size_t i = 0; i < n; ++i) {
    if (name[i] == L'*' && i == 0 && allowLeadingStar) continue;
    if (std::wcschr(L"<>/\\\":;?*|,=`", name[i]) || name[i] < 0x20) return false;
  }
  return true;
}

}  // namespace

// --- records ---
Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& name) const {
  name = new ACHAR[static_cast<size_t>(name_.GetLength()) + 1];
  std::wcscpy(name, name_.GetString());
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& name) const {
  name = name_.GetString();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSymbolTableRecord::getName(CString& name) const {
  name = name_;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* name) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (!ValidName(name, allowsLeadingStar())) return Acad::eInvalidSymbolTableName;
  // A renamed record must not take the name of another live record.
  if (auto* table = AcDbSymbolTable::cast(arxhost::PeekObject(ownerId()))) {
    AcDbObjectId other;
    if (table->getAt(name, other) == Acad::eOk && other != objectId()) return Acad::eDuplicateRecordName;
  }
  name_ = name;
  if (auto* table = AcDbSymbolTable::cast(arxhost::PeekObject(ownerId()))) table->dropNameIndex();
  return Acad::eOk;
}

// --- tables ---
const std::vector<AcDbObjectId>* AcDbSymbolTable::recordsNamed(const ACHAR* name) const {
  if (indexed_ != records_.size() || records_.size() == 0) {
    byName_.clear();
    for (size_t i = 0; i < records_.size(); ++i)
      if (auto* r = AcDbSymbolTableRecord::cast(records_.objectAt(i)))
        byName_[arxhost::UpperName(r->name().GetString())].push_back(records_.idAt(i));
    indexed_ = records_.size();
  }
  auto it = byName_.find(arxhost::UpperName(name));
  return it == byName_.end() ? nullptr : &it->second;
}

AcDbObjectId AcDbSymbolTable::find(const ACHAR* name, bool includeErased) const {
  if (!name) return AcDbObjectId();
  AcDbObjectId erasedMatch;
  const std::vector<AcDbObjectId>* ids = recordsNamed(name);
  if (!ids) return erasedMatch;
  for (AcDbObjectId id : *ids) {
    auto* r = AcDbSymbolTableRecord::cast(arxhost::PeekObject(id));
    if (!r || !SameName(r->name(), name)) continue;
    if (!r->isErased()) return id;
    if (includeErased && erasedMatch.isNull()) erasedMatch = id;
  }
  return erasedMatch;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord) const {
  AcDbObjectId found = find(name, getErasedRecord);
  if (found.isNull()) return Acad::eKeyNotFound;
  id = found;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                         bool openErasedRecord) const {
  AcDbObjectId found = find(name, openErasedRecord);
  if (found.isNull()) return Acad::eKeyNotFound;
  AcDbObject* o = nullptr;
  Acad::ErrorStatus es = acdbOpenAcDbObject(o, found, mode, openErasedRecord);
  if (es == Acad::eOk) record = static_cast<AcDbSymbolTableRecord*>(o);
  return es;
}

bool AcDbSymbolTable::has(const ACHAR* name) const { return !find(name, false).isNull(); }

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_.idAt(i) == id) {
      AcDbObject* o = records_.objectAt(i);
      return o && !o->isErased();
    }
  return false;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
  AcDbObjectId id;
  return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (!record) return Acad::eNullObjectPointer;
  if (record->database()) return Acad::eAlreadyInDb;
  if (!record->isKindOf(recordClass())) return Acad::eWrongObjectType;
  if (!database()) return Acad::eNoDatabase;
  if (record->name().IsEmpty()) return Acad::eInvalidSymbolTableName;
  if (has(record->name().GetString())) return Acad::eDuplicateRecordName;
  AcDbObjectId newId;
  Acad::ErrorStatus es = database()->store().adopt(record, objectId(), newId);
  if (es != Acad::eOk) return es;
  records_.addId(newId);
  // Kept up to date rather than made again, so that filling a table stays
  // linear.
  if (indexed_ + 1 == records_.size()) {
    byName_[arxhost::UpperName(record->name().GetString())].push_back(newId);
    indexed_ = records_.size();
  }
  id = newId;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const {
  iterator = new AcDbSymbolTableIterator(this, atBeginning, skipDeleted);
  return Acad::eOk;
}

// --- table iterator ---
AcDbSymbolTableIterator::AcDbSymbolTableIterator(const AcDbSymbolTable* table, bool atBeginning, bool skipDeleted)
    : table_(table) {
  start(atBeginning, skipDeleted);
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
  pos_ = atBeginning ? 0 : static_cast<long>(table_->records().size()) - 1;
  skip(atBeginning, skipDeleted);
}

bool AcDbSymbolTableIterator::done() const {
  return pos_ < 0 || pos_ >= static_cast<long>(table_->records().size());
}

void AcDbSymbolTableIterator::skip(bool forward, bool skipDeleted) {
  if (!skipDeleted) return;
  while (!done()) {
    AcDbObject* o = table_->records().objectAt(static_cast<size_t>(pos_));
    if (o && !o->isErased()) return;
    pos_ += forward ? 1 : -1;
  }
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  pos_ += forward ? 1 : -1;
  skip(forward, skipDeleted);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eIteratorDone;
  id = table_->records().idAt(static_cast<size_t>(pos_));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErasedRecord) const {
  AcDbObjectId id;
  if (Acad::ErrorStatus es = getRecordId(id)) return es;
  AcDbObject* o = nullptr;
  Acad::ErrorStatus es = acdbOpenAcDbObject(o, id, mode, openErasedRecord);
  if (es == Acad::eOk) record = static_cast<AcDbSymbolTableRecord*>(o);
  return es;
}

Acad::ErrorStatus AcDbSymbolTableIterator::seek(AcDbObjectId id) {
  for (size_t i = 0; i < table_->records().size(); ++i)
    if (table_->records().idAt(i) == id) {
      pos_ = static_cast<long>(i);
      return Acad::eOk;
    }
  return Acad::eInvalidInput;
}

// --- layer records ---
AcDbLayerTableRecord::AcDbLayerTableRecord() { color_.setColorIndex(7); }

Acad::ErrorStatus AcDbLayerTableRecord::setColor(const AcCmColor& color) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (!color.isByColor() && !color.isByACI()) return Acad::eInvalidInput;
  color_ = color;
  return Acad::eOk;
}
#define ARXHOST_LAYER_FLAG(Setter, field)                                 \
  Acad::ErrorStatus AcDbLayerTableRecord::Setter(bool v) {                \
    if (Acad::ErrorStatus es = checkWrite()) return es;                   \
    field = v;                                                            \
    return Acad::eOk;                                                     \
  }
ARXHOST_LAYER_FLAG(setIsFrozen, frozen_)
ARXHOST_LAYER_FLAG(setIsLocked, locked_)
ARXHOST_LAYER_FLAG(setIsOff, off_)
ARXHOST_LAYER_FLAG(setIsHidden, hidden_)
ARXHOST_LAYER_FLAG(setIsPlottable, plottable_)
#undef ARXHOST_LAYER_FLAG

Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (id.isNull()) return Acad::eNullObjectId;
  if (AcDbObject* o = arxhost::PeekObject(id); o && !AcDbLinetypeTableRecord::cast(o)) return Acad::eWrongObjectType;
  linetype_ = id;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLayerTableRecord::setLineWeight(AcDb::LineWeight w) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  lineWeight_ = w;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLayerTableRecord::setDescription(const ACHAR* text) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  description_ = text ? text : L"";
  return Acad::eOk;
}
void AcDbLayerTableRecord::onAddedToDatabase(AcDbDatabase* db) {
  if (linetype_.isNull()) linetype_ = db->continuousLinetype();
}

// --- linetype records ---
Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* text) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  comments_ = text ? text : L"";
  return Acad::eOk;
}
double AcDbLinetypeTableRecord::dashLengthAt(int i) const {
  return i >= 0 && i < numDashes() ? dashes_[static_cast<size_t>(i)] : 0.0;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::setNumDashes(int n) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (n < 0 || n > 12) return Acad::eOutOfRange;
  dashes_.resize(static_cast<size_t>(n), 0.0);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::setDashLengthAt(int i, double length) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (i < 0 || i >= numDashes()) return Acad::eInvalidIndex;
  dashes_[static_cast<size_t>(i)] = length;
  return Acad::eOk;
}
double AcDbLinetypeTableRecord::patternLength() const {
  double s = 0.0;
  for (double d : dashes_) s += d < 0 ? -d : d;
  return s;
}

// --- text style records ---
#define ARXHOST_STYLE_VALUE(Setter, field, nonneg)                               \
  Acad::ErrorStatus AcDbTextStyleTableRecord::Setter(double v) {                 \
    if (Acad::ErrorStatus es = checkWrite()) return es;                          \
    if (nonneg && v < 0) return Acad::eNegativeValueNotAllowed;                  \
    field = v;                                                                   \
    return Acad::eOk;                                                            \
  }
ARXHOST_STYLE_VALUE(setTextSize, textSize_, true)
ARXHOST_STYLE_VALUE(setXScale, xScale_, true)
ARXHOST_STYLE_VALUE(setObliquingAngle, oblique_, false)
ARXHOST_STYLE_VALUE(setPriorSize, priorSize_, true)
#undef ARXHOST_STYLE_VALUE
Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const ACHAR* name) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  fileName_ = name ? name : L"";
  return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const ACHAR* name) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  bigFont_ = name ? name : L"";
  return Acad::eOk;
}

// --- dimension style records ---
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimclrd(const AcCmColor& c) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  vars_.dimclrd = c;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimclre(const AcCmColor& c) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  vars_.dimclre = c;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimclrt(const AcCmColor& c) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  vars_.dimclrt = c;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimtxsty(AcDbObjectId id) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (AcDbObject* o = arxhost::PeekObject(id); o && !AcDbTextStyleTableRecord::cast(o)) return Acad::eWrongObjectType;
  vars_.dimtxsty = id;
  return Acad::eOk;
}

bool arxhost::DimOverrides::empty() const {
#define ARXHOST_DIMVAR_SET(type, Name, name, def, check) \
  if (name) return false;
  ARXHOST_DIMVARS(ARXHOST_DIMVAR_SET)
#undef ARXHOST_DIMVAR_SET
  return !dimclrd && !dimclre && !dimclrt && !dimtxsty;
}

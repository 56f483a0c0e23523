#include "Kelv3dm.h"

#include <malloc.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "ModelFile.h"
#include "acis/PreparedSat.h"
#include "ModelToNurbs.h"
#include "WrittenModel.h"
#include "win32/strconv.h"

using namespace kelv::model;

namespace {

// B-reps made from the model, with their SAT records, a little ahead of
// the caller on other threads: the SAT writer then finds the records made.
// The objects handed out and the files written are the same as without.
class BrepPrefetch {
 public:
  struct Made {
    std::unique_ptr<ON_Object> object;
    std::optional<kelv::acis::PreparedSat> sat;
  };

  BrepPrefetch(const Model* root, std::vector<int> indices, int threads) : root_(root), indices_(std::move(indices)) {
    slots_.resize(indices_.size());
    for (int t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
  }
  ~BrepPrefetch() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      stop_ = true;
    }
    changed_.notify_all();
    for (auto& w : workers_) w.join();
  }

  // What was made for the object at index: nothing when it is not a B-rep
  // here or was not made yet (the caller makes it then); waits for one in
  // the making.
  std::optional<Made> Take(int index) {
    auto it = std::lower_bound(indices_.begin(), indices_.end(), index);
    if (it == indices_.end() || *it != index) return std::nullopt;
    const size_t k = static_cast<size_t>(it - indices_.begin());
    std::unique_lock<std::mutex> hold(lock_);
    wanted_ = k;
    changed_.notify_all();
    Slot& slot = slots_[k];
    if (slot.state == kPending) {
      slot.state = kTaken;
      return std::nullopt;
    }
    changed_.wait(hold, [&] { return slot.state != kWorking; });
    if (slot.state != kDone) return std::nullopt;
    slot.state = kTaken;
    return std::move(slot.made);
  }

 private:
  enum State { kPending, kWorking, kDone, kTaken };
  struct Slot {
    State state = kPending;
    Made made;
  };
  // How far ahead of the caller B-reps are made, which bounds the memory
  // they hold.
  static constexpr size_t kAhead = 8;

  void Work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
      if (stop_) return;
      size_t k = wanted_;
      const size_t end = std::min(slots_.size(), wanted_ + kAhead);
      while (k < end && slots_[k].state != kPending) ++k;
      if (k >= end) {
        changed_.wait(hold);
        continue;
      }
      slots_[k].state = kWorking;
      hold.unlock();
      Made made;
      bool ok = false;
      try {
        const Object* o = root_->objects()->Get(static_cast<flatbuffers::uoffset_t>(indices_[k]));
        made.object = ToNurbsObject(*o);
        if (const ON_Brep* brep = ON_Brep::Cast(made.object.get())) made.sat = kelv::acis::PrepareSat(*brep);
        ok = true;
      } catch (...) {
      }
      hold.lock();
      // One that failed is left to the caller, which then meets the failure.
      slots_[k].state = ok ? kDone : kTaken;
      if (ok) slots_[k].made = std::move(made);
      changed_.notify_all();
    }
  }

  const Model* root_;
  std::vector<int> indices_;  // ascending
  std::vector<Slot> slots_;
  std::mutex lock_;
  std::condition_variable changed_;
  size_t wanted_ = 0;
  bool stop_ = false;
  std::vector<std::thread> workers_;
};

// The one open model file and the objects handed out from it.
struct Reader {
  ModelFile file;
  std::vector<std::unique_ptr<ON_Object>> objects;
  std::vector<bool> built;
  std::unique_ptr<BrepPrefetch> prefetch;  // declared last: its threads end first

  void Close() {
    prefetch.reset();
    kelv::acis::ForgetPreparedSats();
    objects.clear();
    built.clear();
    file.Close();
  }
};

// Threads for B-reps made ahead: none for a model of few B-reps or on a
// machine of one core.
int PrefetchThreads(size_t breps) {
  const unsigned cores = std::thread::hardware_concurrency();
  if (breps < 2 || cores < 2) return 0;
  return static_cast<int>(std::min(3u, cores - 1));
}

Reader& TheReader() {
  static Reader reader;
  return reader;
}

CString& LastError() {
  static CString text;
  return text;
}

const Model* Root() { return TheReader().file.Root(); }

template <class Vector>
int Size(const Vector* v) {
  return v ? static_cast<int>(v->size()) : 0;
}

template <class Vector>
auto At(const Vector* v, int index) -> decltype(v->Get(0)) {
  if (!v || index < 0 || index >= static_cast<int>(v->size())) return nullptr;
  return v->Get(static_cast<flatbuffers::uoffset_t>(index));
}

const Object* ObjectAt(int index) {
  const Model* root = Root();
  return root ? At(root->objects(), index) : nullptr;
}

Uuid FromGuid(const GUID& id) { return FromOnUuid(id); }

int FillDefinition(const InstanceDefinition* d, ON_InstanceDefinition& out) {
  out = ON_InstanceDefinition();
  if (!d) return 0;
  out.SetName(ToOnString(d->name()));
  out.SetDescription(ToOnString(d->description()));
  out.SetUuid(ToOnUuid(d->uuid()));
  if (d->members())
    for (const Uuid* id : *d->members()) out.m_object_uuid.Append(ToOnUuid(id));
  return 1;
}

}  // namespace

CString Kelv3dm::GetError() { return LastError(); }
void Kelv3dm::SetError(const CString& text) { LastError() = text; }

int Kelv3dm::ReadStart(const CString& path, ON_3dmProperties& properties) {
  Reader& r = TheReader();
  r.Close();
  std::string error;
  const std::string native = arxhost::NativePath(path.str());
  std::string written;
  size_t offset = 0;
  const bool opened = TakeWrittenModel(native, written, offset)
                          ? r.file.OpenOwned(std::move(written), offset, arxhost::ToUtf8(path.str()), error)
                          : r.file.Open(native, arxhost::ToUtf8(path.str()), error);
  if (!opened) {
    SetError(CString(error.c_str()));
    return 0;
  }
  r.objects.resize(static_cast<size_t>(Size(r.file.Root()->objects())));
  r.built.assign(r.objects.size(), false);
  std::vector<int> breps;
  for (int i = 0; i < static_cast<int>(r.objects.size()); ++i) {
    const Object* o = ObjectAt(i);
    if (o && o->geometry_type() == Geometry::Brep) breps.push_back(i);
  }
  if (int threads = PrefetchThreads(breps.size()))
    r.prefetch = std::make_unique<BrepPrefetch>(r.file.Root(), std::move(breps), threads);
  properties = ON_3dmProperties();
  if (const Properties* p = r.file.Root()->properties()) {
    properties.m_Application.m_application_name = ToOnString(p->application());
    properties.m_Application.m_application_details = ToOnString(p->source_file());
    properties.m_Notes.m_notes = ToOnString(p->notes());
  }
  return 1;
}

int Kelv3dm::ReadEnd() {
  bool wasOpen = TheReader().file.IsOpen();
  TheReader().Close();
  // The objects handed out were many small allocations among the caller's
  // own: the pages they leave empty go back to the system now rather than
  // stay with the process.
  if (wasOpen) ::malloc_trim(0);
  return wasOpen ? 1 : 0;
}

int Kelv3dm::ReadGetDimStyleTableSize() { return Root() ? Size(Root()->dim_styles()) : 0; }
int Kelv3dm::ReadGetLayerTableSize() { return Root() ? Size(Root()->layers()) : 0; }
int Kelv3dm::ReadGetFontTableSize() { return Root() ? Size(Root()->fonts()) : 0; }
int Kelv3dm::ReadGetInstanceDefinitionTableSize() { return Root() ? Size(Root()->instance_definitions()) : 0; }
int Kelv3dm::ReadGetObjectTableSize() { return Root() ? Size(Root()->objects()) : 0; }

int Kelv3dm::ReadGetDimStyle(int index, ON_DimStyle& style) {
  const DimStyle* d = Root() ? At(Root()->dim_styles(), index) : nullptr;
  if (!d) return 0;
  style.SetDefaults();
  style.SetIndex(index);
  style.m_dimstyle_id = ToOnUuid(d->uuid());
  style.SetName(ToOnString(d->name()));
  style.SetExtExtension(d->ext_extension());
  style.SetExtOffset(d->ext_offset());
  style.SetArrowSize(d->arrow_size());
  // Leaders without arrowheads have a leader arrow of size 0.
  style.SetLeaderArrowSize(d->leader_arrowhead() ? d->arrow_size() : 0.0);
  style.SetCenterMark(d->center_mark());
  style.SetTextGap(d->text_gap());
  style.SetTextHeight(d->text_height());
  style.SetTextAlignment(ON::TextDisplayMode(d->text_alignment()));
  style.SetAngularUnits(d->angular_units());
  style.SetLengthFormat(d->length_format());
  style.SetAngleFormat(d->angle_format());
  style.SetLengthResolution(d->length_resolution());
  style.SetAngleResolution(d->angle_resolution());
  style.SetFontIndex(d->font_index());
  return 1;
}

int Kelv3dm::ReadGetLayer(int index, ON_Layer& layer) {
  const Layer* l = Root() ? At(Root()->layers(), index) : nullptr;
  if (!l) return 0;
  layer.Default();
  layer.SetLayerIndex(index);
  layer.m_layer_id = ToOnUuid(l->uuid());
  layer.SetLayerName(ToOnString(l->name()));
  layer.SetColor(ON_Color(l->color()));
  layer.SetVisible(l->visible());
  layer.SetLocked(l->locked());
  return 1;
}

int Kelv3dm::ReadGetFont(int index, ON_Font& font) {
  const Font* f = Root() ? At(Root()->fonts(), index) : nullptr;
  if (!f) return 0;
  font.Defaults();
  font.SetFontIndex(index);
  font.m_font_id = ToOnUuid(f->uuid());
  font.SetFontName(ToOnString(f->name()));
  font.SetFontFaceName(ToOnString(f->face_name()));
  font.SetFontWeight(f->weight());
  font.m_font_italic = f->italic();
  font.m_font_underlined = f->underlined();
  return 1;
}

int Kelv3dm::ReadGetInstanceDefinition(int index, ON_InstanceDefinition& definition) {
  const InstanceDefinition* d = Root() ? At(Root()->instance_definitions(), index) : nullptr;
  return d ? FillDefinition(d, definition) : 0;
}

int Kelv3dm::ReadGetInstanceDefinition(GUID id, ON_InstanceDefinition& definition) {
  if (!Root()) return 0;
  int index = TheReader().file.InstanceDefinitionIndex(FromGuid(id));
  if (index < 0) return 0;
  return FillDefinition(At(Root()->instance_definitions(), index), definition);
}

int Kelv3dm::ReadGetObjectAttributes(int index, ON_3dmObjectAttributes& attributes) {
  const Object* o = ObjectAt(index);
  if (!o) return 0;
  attributes.Default();
  if (const Attributes* a = o->attributes()) {
    attributes.m_uuid = ToOnUuid(a->uuid());
    attributes.m_name = ToOnString(a->name());
    attributes.m_layer_index = a->layer_index();
    attributes.m_linetype_index = a->linetype_index();
    attributes.m_color = ON_Color(a->color());
    attributes.SetColorSource(ON::ObjectColorSource(static_cast<int>(a->color_source())));
    attributes.SetMode(ON::ObjectMode(static_cast<int>(a->mode())));
    attributes.SetVisible(a->mode() != ObjectMode::Hidden);
  }
  return 1;
}

const ON_Object* Kelv3dm::ReadGetObject(int index) {
  Reader& r = TheReader();
  const Object* o = ObjectAt(index);
  if (!o) return nullptr;
  const size_t i = static_cast<size_t>(index);
  if (!r.built[i]) {
    std::optional<BrepPrefetch::Made> made;
    if (r.prefetch) made = r.prefetch->Take(index);
    r.built[i] = true;
    if (made) {
      r.objects[i] = std::move(made->object);
      if (made->sat)
        if (const ON_Brep* brep = ON_Brep::Cast(r.objects[i].get()))
          kelv::acis::KeepPreparedSat(brep, std::move(*made->sat));
    } else {
      r.objects[i] = ToNurbsObject(*o);
    }
  }
  return r.objects[i].get();
}

int Kelv3dm::ReadGetObjectIndex(GUID id) {
  if (!Root()) return -1;
  return TheReader().file.ObjectIndex(FromGuid(id));
}

CString Kelv3dm::GetObjectClassName(const ON_Object* object) {
  if (!object) return CString();
  const char* name = ON_ObjectClassName(object);
  return CString(name ? name : "");
}

// B-reps transferred ahead in worker processes: the model is the one the
// transfer in the file's order makes, whatever the workers do.
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <IGESControl_Controller.hxx>
#include <IGESControl_Writer.hxx>
#include <IGESData_IGESEntity.hxx>
#include <IGESData_IGESModel.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Ax2.hxx>

#include <array>
#include <cstring>
#include <functional>
#include <map>

#include "Corpus.h"
#include "TestSupport.h"
#include "iges/BrepFanOut.h"

using namespace kelv::model;

namespace {

struct Outcome {
  bool ok = false;
  std::string reason;
  std::map<int, int> skipped;
  std::vector<uint8_t> model;  // packed, with the random ids numbered in order
  size_t sent = 0, reported = 0;
};

// The uuids are random: each becomes the number of its first appearance.
std::vector<uint8_t> WithoutRandomIds(const ModelT& model) {
  ModelT copy(model);
  std::map<std::array<uint8_t, 16>, uint32_t> numbers;
  auto renumber = [&](Uuid& id) {
    std::array<uint8_t, 16> key;
    std::memcpy(key.data(), id.bytes()->Data(), 16);
    const uint32_t n = numbers.emplace(key, static_cast<uint32_t>(numbers.size() + 1)).first->second;
    std::array<uint8_t, 16> bytes{};
    std::memcpy(bytes.data(), &n, sizeof n);
    id = Uuid(flatbuffers::span<const uint8_t, 16>(bytes.data(), 16));
  };
  for (auto& l : copy.layers) renumber(l->uuid);
  for (auto& s : copy.dim_styles) renumber(s->uuid);
  for (auto& f : copy.fonts) renumber(f->uuid);
  for (auto& o : copy.objects) {
    if (o->attributes) renumber(o->attributes->uuid);
    if (auto* ref = o->geometry.AsInstanceRef()) renumber(ref->definition);
  }
  for (auto& d : copy.instance_definitions) {
    renumber(d->uuid);
    for (Uuid& m : d->members) renumber(m);
  }
  return PackModel(copy);
}

// Converts with workers as configured, or without any.
Outcome Convert(const std::string& path, bool workers,
                const std::function<void(kelv::iges::BrepFanOutSettings&)>& tune = {}) {
  kelv::iges::BrepFanOutSettings& settings = kelv::iges::FanOutSettings();
  const kelv::iges::BrepFanOutSettings saved = settings;
  settings.enabled = workers;
  settings.minParts = 0;
  if (tune) tune(settings);
  Outcome out;
  ModelMaker maker;
  kelv::iges::ConversionResult result;
  out.ok = kelv::iges::ConvertIgesFile(path, maker, result, out.reason);
  out.skipped = result.skipped;
  if (out.ok) out.model = WithoutRandomIds(maker.Model());
  out.sent = settings.sent;
  out.reported = settings.reported;
  settings = saved;
  return out;
}

void ExpectSame(const Outcome& inOrder, const Outcome& ahead) {
  EXPECT_EQ(inOrder.ok, ahead.ok);
  EXPECT_EQ(inOrder.reason, ahead.reason);
  EXPECT_EQ(inOrder.skipped, ahead.skipped);
  EXPECT_TRUE(inOrder.model == ahead.model) << "the models differ";
}

// Solids apart from each other, as trimmed surfaces (faces) or B-rep solids;
// 'adjust' may change the written entities before the file is written.
std::string WriteSolids(const TempFolder& dir, const std::string& name, bool solids,
                        const std::function<void(const Handle(IGESData_IGESModel)&)>& adjust = {}) {
  Message::DefaultMessenger()->ChangePrinters().Clear();
  IGESControl_Controller::Init();
  IGESControl_Writer writer("MM", solids ? 1 : 0);
  for (int i = 0; i < 3; ++i) {
    const double x = 40.0 * i;
    writer.AddShape(BRepPrimAPI_MakeBox(gp_Pnt(x, 0, 0), 10, 20, 5).Shape());
    writer.AddShape(BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(x, 40, 0), gp_Dir(0, 0.2, 1)), 4, 9).Shape());
    writer.AddShape(BRepPrimAPI_MakeSphere(gp_Pnt(x, 80, 0), 6).Shape());
  }
  writer.ComputeModel();
  if (adjust) adjust(writer.Model());
  const std::string path = dir.File(name);
  EXPECT_TRUE(writer.Write(path.c_str()));
  return path;
}

}  // namespace

TEST(BrepFanOut, WorkersGiveTheModelOfTheTransferInOrder) {
  TempFolder dir;
  std::vector<std::string> files = {WriteSolids(dir, "faces.igs", false), WriteSolids(dir, "solids.igs", true)};
  const std::filesystem::path hammer = std::filesystem::path(TOLVANE_CORPUS) / "occt" / "hammer.iges";
  if (std::filesystem::exists(hammer)) files.push_back(hammer.string());
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const Outcome inOrder = Convert(file, false);
    ASSERT_TRUE(inOrder.ok) << inOrder.reason;
    EXPECT_EQ(inOrder.sent, 0u);
    for (int workers : {1, 2, 0}) {
      SCOPED_TRACE(workers);
      const Outcome ahead = Convert(file, true, [&](auto& s) { s.workers = workers; });
      EXPECT_GE(ahead.sent, 2u);
      EXPECT_EQ(ahead.reported, ahead.sent);
      ExpectSame(inOrder, ahead);
    }
  }
}

TEST(BrepFanOut, FewOrSmallBrepsAreTransferredInOrder) {
  TempFolder dir;
  const std::string file = WriteSolids(dir, "faces.igs", false);
  EXPECT_EQ(Convert(file, true, [](auto& s) { s.minParts = 1000000; }).sent, 0u);
  EXPECT_EQ(Convert(file, true, [](auto& s) { s.minCandidates = 1000; }).sent, 0u);
}

TEST(BrepFanOut, AWorkerThatDiesChangesNothing) {
  TempFolder dir;
  const std::string file = WriteSolids(dir, "solids.igs", true);
  const Outcome inOrder = Convert(file, false);
  ASSERT_TRUE(inOrder.ok) << inOrder.reason;
  struct Case {
    int workers, killAt;
  } cases[] = {{1, 0}, {1, 4}, {2, 0}, {3, 5}, {0, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.workers) + " workers, killed at " + std::to_string(c.killAt));
    const Outcome ahead = Convert(file, true, [&](auto& s) {
      s.workers = c.workers;
      s.killAt = c.killAt;
    });
    ASSERT_GT(ahead.sent, static_cast<size_t>(c.killAt));
    EXPECT_LT(ahead.reported, ahead.sent);
    ExpectSame(inOrder, ahead);
  }
}

TEST(BrepFanOut, BrepsThatShareAPartWithAnotherEntityStayInOrder) {
  TempFolder dir;
  const size_t apart = Convert(WriteSolids(dir, "apart.igs", false), true).sent;
  // The first surfaces the trimmed surfaces lie on, drawn on their own as
  // well: each is then reached by two entities of the main pass.
  const std::string shared = WriteSolids(dir, "shared.igs", false, [](const Handle(IGESData_IGESModel)& model) {
    int left = 5;
    for (int i = 1; i <= model->NbEntities() && left > 0; ++i) {
      Handle(IGESData_IGESEntity) e = model->Entity(i);
      const int type = e->TypeNumber();
      if (type != 108 && type != 120 && type != 128) continue;
      e->InitStatus(e->BlankStatus(), 0, 0, e->HierarchyStatus());
      --left;
    }
  });
  const Outcome inOrder = Convert(shared, false);
  ASSERT_TRUE(inOrder.ok) << inOrder.reason;
  const Outcome ahead = Convert(shared, true);
  EXPECT_EQ(ahead.sent, apart - 5);
  ExpectSame(inOrder, ahead);
}

TEST(BrepFanOutCorpus, EveryFileConvertsTheSameWithWorkers) {
  const std::vector<std::filesystem::path> files = CorpusIgesFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << TOLVANE_CORPUS;
  size_t sent = 0;
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    const Outcome inOrder = Convert(file.string(), false);
    const Outcome ahead = Convert(file.string(), true);
    ExpectSame(inOrder, ahead);
    sent += ahead.sent;
  }
  EXPECT_GT(sent, 0u);
}

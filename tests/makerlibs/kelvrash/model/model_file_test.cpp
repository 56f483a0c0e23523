// The model file: written whole through a temporary name, verified before it
// is read, refused with a sentence that names the file and the reason.
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "FullDisk.h"
#include "IgesBuilder.h"
#include "Kelv3dm.h"
#include "KelvIges.h"
#include "TestSupport.h"
#include "model/ModelFile.h"
#include "model/ModelToNurbs.h"

using namespace testiges;
using namespace kelv::model;

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ModelMaker SampleModel(Uuid& lineId) {
  ModelMaker m;
  m.AddLayer("Walls", 0x0000FF, false, true);
  m.AddFont("Arial");
  DimStyleT style;
  style.name = "Style 1";
  style.text_height = 2.5;
  m.AddDimStyle(style);
  lineId = m.AddObject(MakeLine(V3(0, 0), V3(3, 4)));
  m.AddInstanceDefinition("Block", {lineId}, NewUuid());
  return m;
}


}  // namespace

// Record ids are the vocabulary's ids in the file's byte order: version 4,
// and back to the same ON_UUID the reader hands out.
TEST(ModelFile, NewRecordIdsAreVersion4UuidsInTheVocabularysLayout) {
  const Uuid a = NewUuid(), b = NewUuid();
  EXPECT_FALSE(a == b);
  EXPECT_FALSE(IsNil(a));
  EXPECT_EQ(a.bytes()->Get(6) >> 4, 4);
  EXPECT_EQ(a.bytes()->Get(8) & 0xC0, 0x80);
  const ON_UUID on = ToOnUuid(&a);
  EXPECT_EQ(on.Data3 >> 12, 4);
  EXPECT_EQ(on.Data1 >> 24, a.bytes()->Get(0));
  EXPECT_TRUE(FromOnUuid(on) == a);
}

TEST(ModelFile, WrittenModelReadsBackWithItsTablesAndLookups) {
  TempFolder dir;
  Uuid lineId;
  ModelMaker m = SampleModel(lineId);
  std::string error;
  ASSERT_TRUE(m.Write(dir.File("a.k3m"), error)) << error;
  // No temporary file stays beside it.
  size_t files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1u);

  ModelFile f;
  ASSERT_TRUE(f.Open(dir.File("a.k3m"), "a.k3m", error)) << error;
  const Model* root = f.Root();
  ASSERT_EQ(root->layers()->size(), 1u);
  EXPECT_EQ(root->layers()->Get(0)->name()->str(), "Walls");
  EXPECT_FALSE(root->layers()->Get(0)->visible());
  EXPECT_TRUE(root->layers()->Get(0)->locked());
  EXPECT_EQ(root->dim_styles()->Get(0)->text_height(), 2.5);
  EXPECT_EQ(root->fonts()->Get(0)->face_name()->str(), "Arial");
  EXPECT_EQ(f.ObjectIndex(lineId), 0);
  EXPECT_EQ(f.ObjectIndex(NewUuid()), -1);
  EXPECT_EQ(f.InstanceDefinitionIndex(*root->instance_definitions()->Get(0)->uuid()), 0);
  const LineCurve* line = root->objects()->Get(0)->geometry_as_Curve()->geometry_as_LineCurve();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->to()->y(), 4.0);
}

// The packed bytes are those of a plain builder, whether the model fits the
// first guess of its size or makes the builder grow many times over.
TEST(ModelFile, PackedBytesDoNotDependOnHowTheBufferGrew) {
  auto plain = [](const ModelT& model) {
    flatbuffers::FlatBufferBuilder builder;
    FinishModelBuffer(builder, Model::Pack(builder, &model));
    return std::vector<uint8_t>(builder.GetBufferPointer(), builder.GetBufferPointer() + builder.GetSize());
  };
  Uuid id;
  ModelMaker small = SampleModel(id);
  ModelMaker large = SampleModel(id);
  std::vector<Vec3> points;
  for (int i = 0; i < 200000; ++i) points.push_back(V3(i, i % 7));
  large.AddObject(MakePolyline(points));
  for (int i = 0; i < 1000; ++i) large.AddObject(MakeLine(V3(i, 0), V3(i, 1)));
  for (const ModelMaker* m : {&small, &large}) {
    std::vector<uint8_t> packed = PackModel(m->Model());
    EXPECT_EQ(packed, plain(m->Model()));
    flatbuffers::Verifier verifier(packed.data(), packed.size());
    EXPECT_TRUE(VerifyModelBuffer(verifier));
    // Packed behind what a string holds, the bytes are the same and the
    // front stays, also behind a front of odd length.
    for (std::string front : {"front of twenty-four....", "front of 19 bytes.."}) {
      std::string behind = front;
      PackModelInto(m->Model(), behind);
      EXPECT_EQ(behind.substr(0, front.size()), front);
      EXPECT_EQ(std::vector<uint8_t>(behind.begin() + static_cast<long>(front.size()), behind.end()), packed);
    }
  }
}

// The import reads back the file the conversion has just written from the
// conversion's own bytes; a file changed, replaced or removed in between is
// read (or missed) as it stands.
TEST(ModelFile, TheReaderTakesTheConvertersBytesOnlyForTheFileAsWritten) {
  TempFolder dir;
  testiges::IgesBuilder two;
  two.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
  two.Add(110, {"1.", "0.", "0.", "1.", "1.", "0."});
  two.Write(dir.File("two.igs"));
  const std::string target = dir.File("two.k3m");
  ModelMaker three;
  for (int i = 0; i < 3; ++i) three.AddObject(MakeLine(V3(i, 0), V3(i, 1)));
  std::string threeBytes;
  PackModelInto(three.Model(), threeBytes);

  enum Change { kNone, kReplaced, kRewrittenInPlace, kRemoved };
  struct Case {
    Change change;
    int objects;  // -1: the reader refuses
  } cases[] = {{kNone, 2}, {kReplaced, 3}, {kRewrittenInPlace, 3}, {kRemoved, -1}, {kNone, 2}};
  for (const Case& c : cases) {
    KelvIges converter;
    ASSERT_EQ(converter.IGESTo3DM(CString(dir.File("two.igs").c_str()), CString(target.c_str()), 4), 1);
    std::string error;
    switch (c.change) {
      case kNone: break;
      case kReplaced: ASSERT_TRUE(three.Write(target, error)) << error; break;
      case kRewrittenInPlace: {
        // The same file, later: a clock tick apart, so that its times say so.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ofstream(target, std::ios::binary | std::ios::trunc) << threeBytes;
        break;
      }
      case kRemoved: std::filesystem::remove(target); break;
    }
    ON_3dmProperties properties;
    const int opened = Kelv3dm::ReadStart(CString(target.c_str()), properties);
    EXPECT_EQ(opened, c.objects >= 0 ? 1 : 0) << c.change;
    if (opened) {
      EXPECT_EQ(Kelv3dm::ReadGetObjectTableSize(), c.objects) << c.change;
    }
    Kelv3dm::ReadEnd();
  }
}

TEST(ModelFile, BadFilesAreRefusedWithTheirReason) {
  TempFolder dir;
  Uuid id;
  std::vector<uint8_t> good = PackModel(SampleModel(id).Model());

  // A file of another version, built by hand.
  ModelT other = SampleModel(id).Model();
  other.version = kModelVersion + 1;
  flatbuffers::FlatBufferBuilder fbb;
  FinishModelBuffer(fbb, Model::Pack(fbb, &other));
  std::vector<uint8_t> newer(fbb.GetBufferPointer(), fbb.GetBufferPointer() + fbb.GetSize());

  std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  std::vector<uint8_t> scrambled = good;
  for (size_t i = 8; i < scrambled.size(); i += 7) scrambled[i] = static_cast<uint8_t>(scrambled[i] ^ 0xA5);
  const std::string text = "solid cube\n";

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool create;
    const char* expected;
  } cases[] = {
      {"missing.k3m", {}, false, "does not exist"},
      {"text.k3m", std::vector<uint8_t>(text.begin(), text.end()), true, "is not a model file"},
      {"empty.k3m", {}, true, "is not a model file"},
      {"newer.k3m", newer, true, "has format version 2"},
      {"truncated.k3m", truncated, true, "damaged or truncated"},
      {"scrambled.k3m", scrambled, true, "damaged or truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.create) WriteAll(dir.File(c.name), c.bytes);
    ModelFile f;
    std::string error;
    EXPECT_FALSE(f.Open(dir.File(c.name), c.name, error));
    EXPECT_NE(error.find(c.name), std::string::npos) << error;
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    EXPECT_FALSE(f.IsOpen());
  }
}

TEST(ModelFile, FailedWriteLeavesNothingAtTheTarget) {
  TempFolder dir;
  Uuid id;
  std::string error;
  EXPECT_FALSE(SampleModel(id).Write(dir.File("no/such/folder/a.k3m"), error));
  EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
  // A read-only folder: the temporary file cannot be made, the old file stays.
  ASSERT_TRUE(SampleModel(id).Write(dir.File("a.k3m"), error));
  auto before = ReadAll(dir.File("a.k3m"));
  ::chmod(dir.Path().c_str(), 0500);
  if (::access(dir.Path().c_str(), W_OK) == 0) {
    ::chmod(dir.Path().c_str(), 0700);
    GTEST_SKIP() << "running with rights that ignore folder permissions";
  }
  ModelMaker bigger = SampleModel(id);
  bigger.AddLayer("More");
  EXPECT_FALSE(bigger.Write(dir.File("a.k3m"), error));
  ::chmod(dir.Path().c_str(), 0700);
  EXPECT_EQ(ReadAll(dir.File("a.k3m")), before);
}

TEST(ModelFile, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
  TempFolder dir;
  Uuid id;
  std::string error;
  ASSERT_TRUE(SampleModel(id).Write(dir.File("a.k3m"), error));
  const auto before = ReadAll(dir.File("a.k3m"));
  ModelMaker bigger = SampleModel(id);
  bigger.AddLayer("More");
  bool written = true;
  {
    FullDisk full(16);
    written = bigger.Write(dir.File("a.k3m"), error);
  }
  EXPECT_FALSE(written);
  EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(dir.File("a.k3m")), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Every B-rep of the public IGES files through the SAT writer and back
// through the host: written with its faces, or refused with a reason.
#include <algorithm>
#include <iostream>

#include "Kelv3dm.h"
#include "KelvAcis.h"
#include "KelvIges.h"
#include "TestSupport.h"
#include "acis/AcisGeometry.h"
#include "acis/AcisRecords.h"
#include "arx/dbheaders.h"
#include "win32/strconv.h"

using namespace testiges;

TEST(SatWriterCorpus, EveryBrepIsWrittenAndReadBackOrRefusedWithItsReason) {
  const std::filesystem::path corpus = TOLVANE_CORPUS_DIR;
  if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  std::vector<std::filesystem::path> files;
  for (auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (entry.is_regular_file() && (ext == ".igs" || ext == ".iges")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  TempFolder dir;
  const std::string model = dir.File("corpus.k3m"), sat = dir.File("brep.sat");
  int breps = 0, written = 0;
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    KelvIges iges;
    if (iges.IGESTo3DM(CString(file.string().c_str()), CString(model.c_str()), 4) != 1) continue;
    ON_3dmProperties props;
    ASSERT_EQ(Kelv3dm::ReadStart(CString(model.c_str()), props), 1);
    for (int i = 0; i < Kelv3dm::ReadGetObjectTableSize(); ++i) {
      auto* brep = dynamic_cast<const ON_Brep*>(Kelv3dm::ReadGetObject(i));
      if (!brep) continue;
      ++breps;
      if (KelvAcis::ConvertBrepToSAT(*brep, CString(sat.c_str()), 1, CString(L"")) != 1) {
        const std::string error = arxhost::ToUtf8(KelvAcis::GetError().str());
        std::cout << std::filesystem::relative(file, corpus).string() << " object " << i << ": " << error << "\n";
        EXPECT_NE(error.find(sat), std::string::npos) << error;
        EXPECT_FALSE(std::filesystem::exists(sat));
        continue;
      }
      ++written;
      AcDbVoidPtrArray entities;
      ASSERT_EQ(AcDbBody::acisIn(arxhost::FromUtf8(sat).c_str(), entities), Acad::eOk);
      ASSERT_EQ(entities.length(), 1);
      auto* entity = static_cast<AcDbEntity*>(entities[0]);
      std::string error;
      auto doc = arxhost::sat::Parse(arxhost::AcisModelOf(entity)->satText(), error);
      ASSERT_TRUE(doc.has_value()) << error;
      int faces = 0;
      for (const auto& r : doc->records) faces += r.type == "face";
      EXPECT_EQ(faces, brep->FaceCount());
      // A B-rep whose every edge joins two faces is a solid, and the two
      // faces run along the edge in opposite directions.
      if (brep->IsSolid()) {
        EXPECT_NE(AcDb3dSolid::cast(entity), nullptr) << "object " << i;
        int same = 0;
        for (const auto& r : doc->records) {
          if (r.type != "coedge") continue;
          auto fields = arxhost::sat::DataFields(*doc, r);
          const auto& partner = doc->records[static_cast<size_t>(fields[2]->pointer)];
          same += fields[4]->text == arxhost::sat::DataFields(*doc, partner)[4]->text;
        }
        EXPECT_EQ(same, 0) << "object " << i;
      }
      delete entity;
      std::filesystem::remove(sat);
    }
    Kelv3dm::ReadEnd();
  }
  std::cout << written << " of " << breps << " B-reps written\n";
  EXPECT_EQ(written, breps);
}

// Yes/no and keyword prompts, picking, selection sets and highlighting,
// answered by lines as a script answers them.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "AcadUtils.h"
#include "ScriptedAnswers.h"
#include "arx/aced.h"
#include "arx/dbInspector.h"
#include "win32/strconv.h"

namespace {

class Prompt : public ::testing::Test, protected ScriptedAnswers {
 protected:
  void SetUp() override {
    arxhost::ResetWorkingDatabase();
    AcadUtils::SetError(L"");
  }
  void TearDown() override {
    EXPECT_TRUE(db.openObjects().empty()) << "an object was left open";
    EXPECT_EQ(arxhost::LiveSelectionSets(), 0u) << "a selection set was not freed";
    arxhost::ResetWorkingDatabase();
  }

  AcDbObjectId Add(AcDbEntity* entity) {
    AcDbObjectId id;
    EXPECT_EQ(AcadUtils::AppendEntityWithId(entity, id), Acad::eOk);
    entity->close();
    return id;
  }
  bool Highlighted(AcDbObjectId id) const { return db.get<AcDbEntity>(id)->isHighlighted(); }

  // A line along x, a 3D face above it and a point.
  void Draw() {
    line = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    face = Add(new AcDbFace(AcGePoint3d(0, 10, 0), AcGePoint3d(10, 10, 0), AcGePoint3d(10, 20, 0),
                            AcGePoint3d(0, 20, 0)));
    point = Add(new AcDbPoint(AcGePoint3d(30, 30, 3)));
  }

  AcDbObjectId line, face, point;
  arxhost::DatabaseInspector db;
};

CStringArray Classes(std::initializer_list<const wchar_t*> names) {
  CStringArray out;
  for (const wchar_t* n : names) out.Add(n);
  return out;
}

}  // namespace

TEST_F(Prompt, YesNoOffersTheCurrentAnswerAsTheDefault) {
  struct Case {
    int before;
    std::vector<std::wstring> lines;
    int result, after;
    std::wstring shown;
  } cases[] = {
      {1, {L""}, 1, 1, L"Keep [Yes/No] <Yes>: \n"},
      {0, {L""}, 1, 0, L"Keep [Yes/No] <No>: \n"},
      {5, {L"n"}, 1, 0, L"Keep [Yes/No] <Yes>: n\n"},
      {0, {L"YES"}, 1, 1, L"Keep [Yes/No] <No>: YES\n"},
      {-1, {L"no"}, 1, 0, L"Keep [Yes/No] <Yes>: no\n"},
      {3, {L"cancel"}, 0, 3, L"Keep [Yes/No] <Yes>: cancel\n"},
      {0, {L"maybe", L"cancel"}, 0, 0,
       L"Keep [Yes/No] <No>: maybe\nInvalid option keyword.\nKeep [Yes/No] <No>: cancel\n"},
      {1, {}, 0, 1, L"Keep [Yes/No] <Yes>: *Cancel*\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(arxhost::ToUtf8(c.shown));
    Answer(c.lines);
    int answer = c.before;
    EXPECT_EQ(AcadUtils::PromptYesNo(L"Keep", answer), c.result);
    EXPECT_EQ(answer, c.after);
    EXPECT_EQ(transcript.Text(), c.shown);
  }
  EXPECT_TRUE(AcadUtils::GetError().IsEmpty());
}

TEST_F(Prompt, KeywordPromptShowsTheListAndTheDefault) {
  struct Case {
    const wchar_t* defaultKeyword;
    std::vector<std::wstring> lines;
    int result;
    const wchar_t* reply;
    std::wstring shown;
  } cases[] = {
      {L"", {L""}, 0, L"kept", L"Output [Mesh/Faces/Lines] : \n"},
      {L"Faces", {L""}, 1, L"Faces", L"Output [Mesh/Faces/Lines] <Faces>: \n"},
      {L"Faces", {L"l"}, 1, L"Lines", L"Output [Mesh/Faces/Lines] <Faces>: l\n"},
      {L"", {L"MESH"}, 1, L"Mesh", L"Output [Mesh/Faces/Lines] : MESH\n"},
      {L"Faces", {L"cancel"}, 0, L"kept", L"Output [Mesh/Faces/Lines] <Faces>: cancel\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(arxhost::ToUtf8(c.shown));
    Answer(c.lines);
    CString reply = L"kept";
    EXPECT_EQ(AcadUtils::PromptKeyword(L"Output", L"Mesh Faces Lines", reply, c.defaultKeyword), c.result);
    EXPECT_EQ(reply, c.reply);
    EXPECT_EQ(transcript.Text(), c.shown);
  }
  // A keyword longer than the 19 characters the reply holds is no answer,
  // rather than a write past the reply.
  Answer({L"a"});
  CString reply = L"kept";
  EXPECT_EQ(AcadUtils::PromptKeyword(L"Name", L"Averyveryverylongkeyword B", reply, L""), 0);
  EXPECT_EQ(reply, L"kept");
  EXPECT_TRUE(AcadUtils::GetError().IsEmpty());
}

TEST_F(Prompt, PickAsksAgainUntilSomethingIsPickedAndHighlightsOnlyWithFlagOne) {
  Draw();
  for (int flag : {0, 1, 2}) {
    SCOPED_TRACE(flag);
    db.get<AcDbEntity>(line)->unhighlight();
    Answer({L"", L"pick 50,50", L"pick 4,0.25"});
    AcDbObjectId id;
    AcGePoint3d at;
    ASSERT_EQ(AcadUtils::PickEntityWithPoint(L"", flag, id, at), 1);
    EXPECT_EQ(id, line);
    EXPECT_TRUE(at.isEqualTo(AcGePoint3d(4, 0.25, 0)));
    EXPECT_EQ(Highlighted(line), flag == 1);
    EXPECT_EQ(transcript.Text(), L"Select an object:\n\nObject not selected\n"
                                 L"Select an object:pick 50,50\n\nObject not selected\n"
                                 L"Select an object:pick 4,0.25\n");
  }
  Answer({L"pick " + Handle(point)});
  AcDbObjectId id;
  ASSERT_EQ(AcadUtils::PickEntity(L"Which one? ", 1, id), 1);
  EXPECT_EQ(id, point);
  EXPECT_TRUE(Highlighted(point));
  EXPECT_EQ(transcript.Text(), L"Which one? pick " + Handle(point) + L"\n");
  EXPECT_TRUE(AcadUtils::GetError().IsEmpty());
}

TEST_F(Prompt, CancelledPickLeavesItsTextAndTheIdAlone) {
  Draw();
  for (auto lines : {std::vector<std::wstring>{L"cancel"}, std::vector<std::wstring>{L"pick 50,50"}}) {
    Answer(lines);  // the second ends its input after a miss
    AcadUtils::SetError(L"");
    AcDbObjectId id = face;
    AcGePoint3d at(7, 7, 7);
    EXPECT_EQ(AcadUtils::PickEntityWithPoint(L"", 1, id, at), 0);
    EXPECT_EQ(AcadUtils::GetError(), L"Object selection cancelled");
    EXPECT_EQ(id, face);
    EXPECT_TRUE(at.isEqualTo(AcGePoint3d(7, 7, 7)));
  }
  EXPECT_FALSE(Highlighted(face));
}

TEST_F(Prompt, ClassFilteredPickRejectsOtherClassesWithoutHighlightingThem) {
  Draw();
  Answer({L"pick 5,0", L"pick " + Handle(point), L"pick 5,10"});
  AcDbObjectId id;
  AcGePoint3d at;
  ASSERT_EQ(AcadUtils::PickEntityOfClassWithPoint(L"Face: ", 1, Classes({L"AcDbPolyFaceMesh", L"AcDbFace"}), id, at),
            1);
  EXPECT_EQ(id, face);
  EXPECT_TRUE(at.isEqualTo(AcGePoint3d(5, 10, 0)));
  EXPECT_TRUE(Highlighted(face));
  EXPECT_FALSE(Highlighted(line));
  EXPECT_FALSE(Highlighted(point));
  EXPECT_EQ(transcript.Text(), L"Face: pick 5,0\n\nObject was filtered out\n"
                               L"Face: pick " + Handle(point) + L"\n\nObject was filtered out\n"
                               L"Face: pick 5,10\n");

  // One class, highlight flag other than 1; then a list that is empty
  // rejects everything until the user cancels.
  db.get<AcDbEntity>(face)->unhighlight();
  Answer({L"pick 5,10", L"pick 5,0"});
  ASSERT_EQ(AcadUtils::PickEntityOfOneClass(L"", 2, L"AcDbLine", id), 1);
  EXPECT_EQ(id, line);
  EXPECT_FALSE(Highlighted(line));
  Answer({L"pick 5,10", L"pick 5,0", L"cancel"});
  EXPECT_EQ(AcadUtils::PickEntityOfClass(L"", 1, CStringArray(), id), 0);
  EXPECT_EQ(AcadUtils::GetError(), L"Object selection cancelled");
  EXPECT_EQ(transcript.Text(), L"Select an object:pick 5,10\n\nObject was filtered out\n"
                               L"Select an object:pick 5,0\n\nObject was filtered out\n"
                               L"Select an object:cancel\n");
  // Case matters in class names.
  Answer({L"pick 5,0", L"cancel"});
  EXPECT_EQ(AcadUtils::PickEntityOfOneClassWithPoint(L"", 1, L"acdbline", id, at), 0);
  EXPECT_FALSE(Highlighted(line));
}

TEST_F(Prompt, SelectAllEmptiesTheArrayFirst) {
  AcDbObjectIdArray ids;
  ids.append(AcDbObjectId::kNull);
  EXPECT_EQ(AcadUtils::SelectAll(ids), 0);
  EXPECT_EQ(AcadUtils::GetError(), L"Drawing empty");
  EXPECT_EQ(ids.length(), 1);  // untouched
  Draw();
  ASSERT_EQ(AcadUtils::SelectAll(ids), 1);
  ASSERT_EQ(ids.length(), 3);
  EXPECT_EQ(ids[0], line);
  EXPECT_EQ(ids[1], face);
  EXPECT_EQ(ids[2], point);
  EXPECT_TRUE(transcript.Text().empty());  // nothing asked
}

TEST_F(Prompt, SelectPointsAppendsThePositionsOfThePointsSelected) {
  Draw();
  Add(new AcDbPoint(AcGePoint3d(-1, -2, -3)));
  AcGePoint3dArray points;
  points.append(AcGePoint3d(9, 9, 9));
  Answer({L"all", L""});
  ASSERT_EQ(AcadUtils::SelectPoints(points), 1);
  ASSERT_EQ(points.length(), 3);
  EXPECT_TRUE(points[0].isEqualTo(AcGePoint3d(9, 9, 9)));
  EXPECT_TRUE(points[1].isEqualTo(AcGePoint3d(30, 30, 3)));
  EXPECT_TRUE(points[2].isEqualTo(AcGePoint3d(-1, -2, -3)));
  EXPECT_EQ(transcript.Text(), L"Select points: all\n2 found\n2 were filtered out.\nSelect points: \n");

  // Only other entities picked: the host's filter leaves nothing.
  Answer({L"select-set " + Handle(line) + L" " + Handle(face), L""});
  EXPECT_EQ(AcadUtils::SelectPoints(points), 0);
  EXPECT_EQ(AcadUtils::GetError(), L"No entities selected");
  EXPECT_EQ(points.length(), 3);
}

TEST_F(Prompt, SelectEntitiesOfClassKeepsTheListedAndCountsTheRest) {
  Draw();
  AcDbObjectIdArray ids;
  Answer({L"all", L""});
  ASSERT_EQ(AcadUtils::SelectEntitiesOfClass(L"Select faces: ", 2, Classes({L"AcDbFace"}), ids), 1);
  ASSERT_EQ(ids.length(), 1);
  EXPECT_EQ(ids[0], face);
  EXPECT_TRUE(Highlighted(face));  // any flag but 0 highlights
  EXPECT_FALSE(Highlighted(line));
  EXPECT_EQ(transcript.Text(), L"Select faces: all\n3 found\nSelect faces: \n2 object(s) were filtered out\n");

  // The array's earlier content counts: 1 though everything is filtered out.
  Answer({L"pick 5,0", L""});
  ASSERT_EQ(AcadUtils::SelectEntitiesOfClass(L"", 0, Classes({L"AcDbFace"}), ids), 1);
  EXPECT_EQ(ids.length(), 1);
  EXPECT_EQ(transcript.Text(), L"Select objects: pick 5,0\n1 found\nSelect objects: \n1 object(s) were filtered out\n");

  AcDbObjectIdArray none;
  Answer({L"pick 5,0", L""});
  EXPECT_EQ(AcadUtils::SelectEntitiesOfClass(L"", 1, Classes({L"AcDbFace"}), none), 0);
  EXPECT_EQ(AcadUtils::GetError(), L"No valid objects selected");
  Answer({L"cancel"});
  EXPECT_EQ(AcadUtils::SelectEntitiesOfClass(L"Faces: ", 1, Classes({L"AcDbFace"}), none), 0);
  EXPECT_EQ(AcadUtils::GetError(), L"No entities selected");
  EXPECT_FALSE(Highlighted(line));
}

TEST_F(Prompt, SelectEntitiesAppendsEveryMember) {
  Draw();
  AcDbObjectIdArray ids;
  ids.append(point);
  Answer({L"pick 5,0", L"pick 5,10", L""});
  ASSERT_EQ(AcadUtils::SelectEntities(L"Objects: ", 1, ids), 1);
  ASSERT_EQ(ids.length(), 3);
  EXPECT_EQ(ids[1], line);
  EXPECT_EQ(ids[2], face);
  EXPECT_TRUE(Highlighted(line));
  EXPECT_TRUE(Highlighted(face));
  EXPECT_FALSE(Highlighted(point));
  EXPECT_EQ(transcript.Text(), L"Objects: pick 5,0\n1 found\nObjects: pick 5,10\n1 found\nObjects: \n");

  // Nothing selected (Enter at once), then a cancel: the array stays.
  for (const wchar_t* answer : {L"", L"cancel"}) {
    Answer({answer});
    AcadUtils::SetError(L"");
    EXPECT_EQ(AcadUtils::SelectEntities(L"", 0, ids), 0);
    EXPECT_EQ(AcadUtils::GetError(), L"No entities selected");
    EXPECT_EQ(ids.length(), 3);
  }
  // A long prompt is cut to the 254 characters the selection shows.
  Answer({L"pick 5,0", L""});
  const std::wstring longPrompt(300, L'x');
  ASSERT_EQ(AcadUtils::SelectEntities(longPrompt.c_str(), 0, ids), 1);
  EXPECT_EQ(transcript.Text().substr(0, 255), std::wstring(254, L'x') + L"p");
}

TEST_F(Prompt, HighlightEntityMarksTheWholeEntityAndClosesIt) {
  Draw();
  AcadUtils::HighlightEntity(face);
  EXPECT_TRUE(Highlighted(face));
  AcadUtils::HighlightEntity(AcDbObjectId::kNull);  // nothing to highlight, nothing happens
  AcadUtils::HighlightEntity(db.layer(L"0"));
}

TEST_F(Prompt, AScriptAnswersSelectionAndPick) {
  Draw();
  // As arxhost reads a script file: comments skipped, a line per answer.
  std::istringstream script("; pick the face\npick 1,10\n\n; then everything but the point\nall\nr\npick " +
                            arxhost::ToUtf8(Handle(point)) + "\n\n");
  arxhost::StreamInput lines(script, false);
  arxhost::InputScope scriptScope(lines);
  AcDbObjectIdArray ids;
  ASSERT_EQ(AcadUtils::SelectEntitiesOfClass(L"Meshes: ", 1, Classes({L"AcDbFace"}), ids), 1);
  ASSERT_EQ(AcadUtils::SelectEntities(L"", 0, ids), 1);
  ASSERT_EQ(ids.length(), 3);
  EXPECT_EQ(ids[0], face);
  EXPECT_EQ(ids[1], line);
  EXPECT_EQ(ids[2], face);
  AcDbObjectId id;
  EXPECT_EQ(AcadUtils::PickEntity(L"", 1, id), 0);  // the script has ended
  EXPECT_EQ(AcadUtils::GetError(), L"Object selection cancelled");
}

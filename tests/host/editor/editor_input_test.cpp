// Keyword prompts, picks and selection sets of the command line, answered by
// lines as a script answers them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedAnswers.h"
#include "arx/aced.h"
#include "arx/dbInspector.h"
#include "arx/dbheaders.h"
#include "win32/input.h"
#include "win32/strconv.h"

namespace {

class EditorInput : public ::testing::Test, protected ScriptedAnswers {
 protected:
  void SetUp() override { arxhost::ResetWorkingDatabase(); }
  void TearDown() override {
    EXPECT_TRUE(arxhost::DatabaseInspector().openObjects().empty());
    EXPECT_EQ(arxhost::LiveSelectionSets(), 0u);
    arxhost::ResetWorkingDatabase();
  }

  // Appends to model space, closed.
  AcDbObjectId Add(AcDbEntity* entity) {
    AcDbBlockTable* blocks = nullptr;
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase()->getSymbolTable(blocks, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(blocks->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite), Acad::eOk);
    blocks->close();
    AcDbObjectId id;
    EXPECT_EQ(ms->appendAcDbEntity(id, entity), Acad::eOk);
    ms->close();
    entity->close();
    return id;
  }
  static AcDbObjectId IdOf(const ads_name name) {
    AcDbObjectId id;
    EXPECT_EQ(acdbGetObjectId(id, name), Acad::eOk);
    return id;
  }
  // The members of a set, which is freed.
  static std::vector<AcDbObjectId> Members(ads_name set) {
    std::vector<AcDbObjectId> ids;
    Adesk::Int32 length = -1;
    EXPECT_EQ(acedSSLength(set, &length), RTNORM);
    for (Adesk::Int32 i = 0; i < length; ++i) {
      ads_name name;
      EXPECT_EQ(acedSSName(set, i, name), RTNORM);
      ids.push_back(IdOf(name));
    }
    EXPECT_EQ(acedSSFree(set), RTNORM);
    return ids;
  }
  // A drawing of a line along x, a point above it and a circle to its
  // right.
  void Draw() {
    line = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    point = Add(new AcDbPoint(AcGePoint3d(5, 5, 0)));
    auto* c = new AcDbCircle();
    c->setCenter(AcGePoint3d(20, 0, 0));
    c->setRadius(2);
    circle = Add(c);
  }

  AcDbObjectId line, point, circle;
};

int AskKeyword(std::vector<std::wstring> lines, const wchar_t* keywords, std::wstring& reply, int flags = 0) {
  arxhost::LineInput input(std::move(lines));
  arxhost::InputScope scope(input);
  acedInitGet(flags, keywords);
  ACHAR buffer[133] = L"untouched";
  int result = acedGetKword(L"Option: ", buffer);
  reply = buffer;
  return result;
}

}  // namespace

TEST_F(EditorInput, KeywordsAnswerToTheirNameTheirCapitalsOrAPrefixCoveringThem) {
  const wchar_t* keywords = L"Yes No eXit LType Standard";
  struct Case {
    const wchar_t* typed;
    const wchar_t* reply;  // null: not a keyword
  } cases[] = {
      {L"y", L"Yes"},       {L"YES", L"Yes"},        {L"ye", L"Yes"},     {L"n", L"No"},
      {L"x", L"eXit"},      {L"EXIT", L"eXit"},      {L"lt", L"LType"},   {L"lty", L"LType"},
      {L"  ltype ", L"LType"}, {L"s", L"Standard"},  {L"stand", L"Standard"},
      {L"l", nullptr},      {L"yess", nullptr},      {L"maybe", nullptr}, {L"t", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(arxhost::ToUtf8(c.typed));
    transcript.Clear();
    std::wstring reply;
    int result = AskKeyword({c.typed, L"cancel"}, keywords, reply);
    if (c.reply) {
      EXPECT_EQ(result, RTNORM);
      EXPECT_EQ(reply, c.reply);
      EXPECT_EQ(transcript.Text(), L"Option: " + std::wstring(c.typed) + L"\n");
    } else {
      // Asked again after the message; the cancel ends it.
      EXPECT_EQ(result, RTCAN);
      EXPECT_EQ(reply, L"untouched");
      EXPECT_EQ(transcript.Text(),
                L"Option: " + std::wstring(c.typed) + L"\nInvalid option keyword.\nOption: cancel\n");
    }
  }
}

TEST_F(EditorInput, KeywordPromptEnterCancelAndTheEndOfInput) {
  std::wstring reply;
  EXPECT_EQ(AskKeyword({L""}, L"A B", reply), RTNONE);
  EXPECT_EQ(reply, L"untouched");
  EXPECT_EQ(AskKeyword({L"CANCEL"}, L"A B", reply), RTCAN);
  transcript.Clear();
  EXPECT_EQ(AskKeyword({}, L"A B", reply), RTCAN);
  EXPECT_EQ(transcript.Text(), L"Option: *Cancel*\n");

  // Enter is no answer under RSG_NONULL.
  transcript.Clear();
  EXPECT_EQ(AskKeyword({L"", L"b"}, L"A B", reply, RSG_NONULL), RTNORM);
  EXPECT_EQ(reply, L"B");
  EXPECT_EQ(transcript.Text(), L"Option: \nRequires an input.\nOption: b\n");

  // Without keywords nothing is asked; acedInitGet holds for one call only.
  transcript.Clear();
  arxhost::LineInput input({L"a", L"a"});
  arxhost::InputScope scope(input);
  ACHAR buffer[133];
  EXPECT_EQ(acedGetKword(L"Option: ", buffer), RTERROR);
  acedInitGet(0, L"A");
  EXPECT_EQ(acedGetKword(L"Option: ", buffer), RTNORM);
  EXPECT_EQ(acedGetKword(L"Option: ", buffer), RTERROR);
  EXPECT_EQ(transcript.Text(), L"Option: a\n");
}

TEST_F(EditorInput, KeywordLongerThanTheBufferIsCutNotOverrun) {
  arxhost::LineInput input({L"s"});
  arxhost::InputScope scope(input);
  acedInitGet(0, L"Standard");
  ACHAR buffer[6] = {L'-', L'-', L'-', L'-', L'-', L'#'};
  EXPECT_EQ(acedGetKword(L"Option: ", buffer, 5), RTINPUTTRUNCATED);
  EXPECT_STREQ(buffer, L"Stan");
  EXPECT_EQ(buffer[5], L'#');
}

TEST_F(EditorInput, EntSelPicksByHandleOrByTheNearestEntityWithinTheAperture) {
  Draw();
  AcDbObjectId layerZero = acdbHostApplicationServices()->workingDatabase()->layerZero();
  AcDbObjectId erased = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, erased, AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
  }
  struct Case {
    std::wstring answer;
    int result;
    AcDbObjectId id;
    AcGePoint3d point;
  } cases[] = {
      {L"pick " + Handle(line), RTNORM, line, {0, 0, 0}},  // a curve's start
      {L"PICK " + Handle(point), RTNORM, point, {5, 5, 0}},
      {L"pick 5,0.3", RTNORM, line, {5, 0.3, 0}},
      {L"pick 5,4.8,1", RTNORM, point, {5, 4.8, 1}},  // z is not looked at
      {L"pick 22.4,0", RTNORM, circle, {22.4, 0, 0}},
      {L"pick 20,0", RTERROR, {}, {}},  // the centre is not drawn
      {L"pick 50,50", RTERROR, {}, {}},
      {L"pick FFFF", RTERROR, {}, {}},
      {L"pick " + Handle(erased), RTERROR, {}, {}},
      {L"pick " + Handle(layerZero), RTERROR, {}, {}},  // no entity
      {L"", RTERROR, {}, {}},
      {L"cancel", RTCAN, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(arxhost::ToUtf8(c.answer));
    arxhost::LineInput input({c.answer});
    arxhost::InputScope scope(input);
    ads_name name = {0, 0};
    ads_point at = {-1, -1, -1};
    ASSERT_EQ(acedEntSel(L"Pick: ", name, at), c.result);
    if (c.result != RTNORM) continue;
    EXPECT_EQ(IdOf(name), c.id);
    EXPECT_TRUE(AcGePoint3d(at[0], at[1], at[2]).isEqualTo(c.point));
  }
}

TEST_F(EditorInput, EntSelAsksAgainAfterAnAnswerThatIsNoPick) {
  Draw();
  arxhost::LineInput input({L"5,0", L"pick 1,2,3,4", L"pick 5,0"});
  arxhost::InputScope scope(input);
  ads_name name;
  ads_point at;
  ASSERT_EQ(acedEntSel(nullptr, name, at), RTNORM);
  EXPECT_EQ(IdOf(name), line);
  EXPECT_EQ(transcript.Text(),
            L"\nSelect object: 5,0\n*Invalid selection*\n\nSelect object: pick 1,2,3,4\n*Invalid selection*\n"
            L"\nSelect object: pick 5,0\n");
  EXPECT_EQ(acedEntSel(nullptr, name, at), RTCAN);  // the input has ended
}

TEST_F(EditorInput, SelectAllTakesTheCurrentSpaceInOrderThroughTheFilter) {
  ads_name set;
  EXPECT_EQ(acedSSGet(L"A", nullptr, nullptr, nullptr, set), RTERROR);  // nothing drawn
  Draw();
  ASSERT_EQ(acedSSGet(L"A", nullptr, nullptr, nullptr, set), RTNORM);
  EXPECT_EQ(Members(set), (std::vector<AcDbObjectId>{line, point, circle}));

  resbuf points{nullptr, RTDXF0, {}};
  points.resval.rstring = const_cast<ACHAR*>(L"point");
  ASSERT_EQ(acedSSGet(L"_A", nullptr, nullptr, &points, set), RTNORM);
  EXPECT_EQ(Members(set), (std::vector<AcDbObjectId>{point}));
  points.resval.rstring = const_cast<ACHAR*>(L"CIRCLE,LINE");
  ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, &points, set), RTNORM);
  EXPECT_EQ(Members(set), (std::vector<AcDbObjectId>{line, circle}));
  points.resval.rstring = const_cast<ACHAR*>(L"TEXT");
  EXPECT_EQ(acedSSGet(L"A", nullptr, nullptr, &points, set), RTERROR);

  // A filter on what the host cannot filter by, and an unknown method.
  resbuf layer{nullptr, 8, {}};
  layer.resval.rstring = const_cast<ACHAR*>(L"0");
  EXPECT_EQ(acedSSGet(L"A", nullptr, nullptr, &layer, set), RTERROR);
  EXPECT_EQ(acedSSGet(L"W", nullptr, nullptr, nullptr, set), RTERROR);
  EXPECT_TRUE(transcript.Text().empty());  // nothing asked
}

TEST_F(EditorInput, SelectionAnswersAddAndRemoveUntilEnter) {
  Draw();
  arxhost::LineInput input({L"pick " + Handle(line), L"select-set " + Handle(point) + L" " + Handle(circle) + L" FFFF",
                            L"select-set " + Handle(line), L"window", L"r", L"pick 20,2", L"pick 20,2", L"add",
                            L""});
  arxhost::InputScope scope(input);
  ads_name set;
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
  EXPECT_EQ(Members(set), (std::vector<AcDbObjectId>{line, point}));
  const std::wstring h = Handle(line), p = Handle(point), c = Handle(circle);
  EXPECT_EQ(transcript.Text(), L"Select objects: pick " + h + L"\n1 found\n"
                               L"Select objects: select-set " + p + L" " + c + L" FFFF\n2 found\n"
                               L"Select objects: select-set " + h + L"\n0 found\n"
                               L"Select objects: window\n*Invalid selection*\n"
                               L"Select objects: r\n"
                               L"Remove objects: pick 20,2\n1 removed\n"
                               L"Remove objects: pick 20,2\n0 removed\n"
                               L"Remove objects: add\n"
                               L"Select objects: \n");
}

TEST_F(EditorInput, SelectionWithPromptsOfItsOwnAndAFilter) {
  Draw();
  const ACHAR* prompts[2] = {L"Select points: ", L"Remove objects"};
  resbuf filter{nullptr, 0, {}};
  filter.resval.rstring = const_cast<ACHAR*>(L"POINT");
  arxhost::LineInput input({L"all", L"r", L"all", L"", L"pick 5,5", L"", L"cancel"});
  arxhost::InputScope scope(input);
  ads_name set;
  // Everything removed again: nothing selected.
  EXPECT_EQ(acedSSGet(L":$", prompts, nullptr, &filter, set), RTERROR);
  EXPECT_EQ(transcript.Text(), L"Select points: all\n1 found\n2 were filtered out.\n"
                               L"Select points: r\nRemove objectsall\n1 removed\n2 were filtered out.\n"
                               L"Remove objects\n");
  ASSERT_EQ(acedSSGet(L":$", prompts, nullptr, &filter, set), RTNORM);
  EXPECT_EQ(Members(set), (std::vector<AcDbObjectId>{point}));
  EXPECT_EQ(acedSSGet(L":$", prompts, nullptr, &filter, set), RTCAN);
  EXPECT_EQ(acedSSGet(L":$", prompts, nullptr, &filter, set), RTCAN);  // the input has ended
  EXPECT_EQ(acedSSGet(L":$", nullptr, nullptr, &filter, set), RTERROR);  // prompts missing
}

TEST_F(EditorInput, SetFunctionsRefuseWhatIsNoLiveSet) {
  Draw();
  ads_name set, entity, name;
  ASSERT_EQ(acedSSGet(L"A", nullptr, nullptr, nullptr, set), RTNORM);
  ASSERT_EQ(acdbGetAdsName(entity, line), Acad::eOk);
  Adesk::Int32 length = -1;
  EXPECT_EQ(acedSSLength(entity, &length), RTERROR);
  EXPECT_EQ(acedSSName(set, 3, name), RTERROR);
  EXPECT_EQ(acedSSName(set, -1, name), RTERROR);
  EXPECT_EQ(acedSSFree(entity), RTERROR);
  EXPECT_EQ(arxhost::LiveSelectionSets(), 1u);
  EXPECT_EQ(acedSSFree(set), RTNORM);
  EXPECT_EQ(acedSSFree(set), RTERROR);
  EXPECT_EQ(acedSSLength(set, &length), RTERROR);
  EXPECT_EQ(acedSSName(set, 0, name), RTERROR);
  EXPECT_EQ(length, -1);
}

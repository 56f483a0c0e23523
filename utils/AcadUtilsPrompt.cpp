// AcadUtils: yes/no and keyword prompts, picking one entity, selection sets
// and highlighting, on the host's command-line services.
#include "AcadUtils.h"
#include "arx/arxheaders.h"

// The whole entity, for highlighting.
static AcDbFullSubentPath NullSubentPath(AcDbObjectId::kNull, AcDbSubentId(AcDb::kNullSubentType, 0));

namespace {

// acedGetKword's reply buffer: keywords are at most 19 characters.
const size_t KeywordSize = 20;
// A selection prompt's buffer: at most 254 characters are shown.
const size_t SelectionPromptSize = 255;

struct SelectionPrompts {
  ACHAR add[SelectionPromptSize];
  ACHAR remove[SelectionPromptSize];
  const ACHAR* pair[2];
};

// Copies at most SelectionPromptSize - 1 characters, so that a longer prompt
// is cut rather than written past the buffer.
void CopyPrompt(ACHAR* buffer, const CString& text) {
  const size_t length = std::min(static_cast<size_t>(text.GetLength()), SelectionPromptSize - 1);
  wmemcpy(buffer, text.GetString(), length);
  buffer[length] = L'\0';
}

void MakePrompts(SelectionPrompts& prompts, const CString& add) {
  CopyPrompt(prompts.add, add);
  CopyPrompt(prompts.remove, _T("Remove objects"));
  prompts.pair[0] = prompts.add;
  prompts.pair[1] = prompts.remove;
}

// The caller's prompts (mode ":$"), or the host's own for an empty prompt.
int GetSelection(const CString& prompt, ads_name set) {
  if (prompt.IsEmpty()) return acedSSGet(NULL, NULL, NULL, NULL, set);
  SelectionPrompts prompts;
  MakePrompts(prompts, prompt);
  return acedSSGet(_T(":$"), prompts.pair, NULL, NULL, set);
}

// Calls visit with the id of each member in set order (members without an
// id are skipped), then frees the set.
template <class Visit>
void WalkSet(ads_name set, Visit visit) {
  Adesk::Int32 length = 0;
  if (acedSSLength(set, &length) != RTNORM) length = 0;
  for (Adesk::Int32 i = 0; i < length; i++) {
    ads_name name;
    AcDbObjectId id;
    if (acedSSName(set, i, name) != RTNORM) continue;
    if (acdbGetObjectId(id, name) != Acad::eOk) continue;
    visit(id);
  }
  acedSSFree(set);
}

void Highlight(AcDbEntity* entity) { entity->highlight(NullSubentPath, false); }

}  // namespace

void AcadUtils::HighlightEntity(AcDbObjectId id) {
  AcDbEntity* entity = NULL;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return;  // nothing to show
  Highlight(entity);
  entity->close();
}

int AcadUtils::PromptYesNo(const CString& prompt, int& answer) {
  if (acedInitGet(0, _T("Yes No")) != RTNORM) return 0;
  CString text;
  text.Format(_T("%s [Yes/No] <%s>: "), prompt.GetString(), answer != 0 ? _T("Yes") : _T("No"));
  ACHAR reply[KeywordSize];
  int result = acedGetKword(text, reply, KeywordSize);
  if (result == RTNONE) return 1;
  if (result != RTNORM) return 0;
  CString typed(reply);
  if (typed == _T("Yes") || typed == _T("YES") || typed == _T("Y")) {
    answer = 1;
    return 1;
  }
  if (typed == _T("No") || typed == _T("NO") || typed == _T("N")) {
    answer = 0;
    return 1;
  }
  return 0;
}

int AcadUtils::PromptKeyword(const CString& prompt, const CString& keywords, CString& reply,
                             const CString& defaultKeyword) {
  if (acedInitGet(0, keywords) != RTNORM) return 0;
  CString shown(keywords);
  shown.Replace(_T(" "), _T("/"));
  CString text;
  text.Format(_T("%s [%s] "), prompt.GetString(), shown.GetString());
  if (!defaultKeyword.IsEmpty()) {
    CString withDefault;
    withDefault.Format(_T("%s<%s>"), text.GetString(), defaultKeyword.GetString());
    text = withDefault;
  }
  text += _T(": ");
  // A keyword longer than the buffer comes back cut (RTINPUTTRUNCATED) and
  // counts as no answer.
  ACHAR typed[KeywordSize];
  int result = acedGetKword(text, typed, KeywordSize);
  if (result == RTNONE) {
    if (defaultKeyword.IsEmpty()) return 0;
    reply = defaultKeyword;
    return 1;
  }
  if (result != RTNORM) return 0;
  reply = typed;
  return 1;
}

int AcadUtils::PickEntityWithPoint(const CString& prompt, int highlight, AcDbObjectId& id, AcGePoint3d& point) {
  const CString text = prompt.IsEmpty() ? CString(_T("Select an object:")) : prompt;
  while (true) {
    ads_name name;
    ads_point picked;
    int result = acedEntSel(text, name, picked);
    if (result == RTNORM) {
      AcDbObjectId pickedId;
      if (acdbGetObjectId(pickedId, name) == Acad::eOk) {
        id = pickedId;
        point.set(picked[0], picked[1], picked[2]);
        if (highlight == 1) HighlightEntity(id);
        return 1;
      }
    } else if (result != RTERROR) {
      // Cancelled, or refused by the host (asking again would be refused
      // again): no entity.
      SetError(_T("Object selection cancelled"));
      return 0;
    }
    acutPrintf(_T("\nObject not selected\n"));
  }
}

int AcadUtils::PickEntity(const CString& prompt, int highlight, AcDbObjectId& id) {
  AcGePoint3d point;
  return PickEntityWithPoint(prompt, highlight, id, point);
}

int AcadUtils::PickEntityOfClassWithPoint(const CString& prompt, int highlight, const CStringArray& classes,
                                          AcDbObjectId& id, AcGePoint3d& point) {
  while (true) {
    if (!PickEntityWithPoint(prompt, 0, id, point)) return 0;
    if (FindString(classes, EntityClassName(id)) >= 0) {
      if (highlight == 1) HighlightEntity(id);
      return 1;
    }
    acutPrintf(_T("\nObject was filtered out\n"));
  }
}

int AcadUtils::PickEntityOfClass(const CString& prompt, int highlight, const CStringArray& classes,
                                 AcDbObjectId& id) {
  AcGePoint3d point;
  return PickEntityOfClassWithPoint(prompt, highlight, classes, id, point);
}

int AcadUtils::PickEntityOfOneClassWithPoint(const CString& prompt, int highlight, const CString& className,
                                             AcDbObjectId& id, AcGePoint3d& point) {
  CStringArray classes;
  classes.Add(className);
  return PickEntityOfClassWithPoint(prompt, highlight, classes, id, point);
}

int AcadUtils::PickEntityOfOneClass(const CString& prompt, int highlight, const CString& className,
                                    AcDbObjectId& id) {
  AcGePoint3d point;
  return PickEntityOfOneClassWithPoint(prompt, highlight, className, id, point);
}

int AcadUtils::SelectAll(AcDbObjectIdArray& ids) {
  ads_name set;
  if (acedSSGet(_T("A"), NULL, NULL, NULL, set) != RTNORM) {
    SetError(_T("Drawing empty"));
    return 0;
  }
  ids.setLogicalLength(0);
  WalkSet(set, [&](AcDbObjectId id) { ids.append(id); });
  return 1;
}

int AcadUtils::SelectPoints(AcGePoint3dArray& points) {
  resbuf filter;
  filter.restype = 0;
  filter.resval.rstring = const_cast<ACHAR*>(_T("POINT"));
  filter.rbnext = NULL;
  SelectionPrompts prompts;
  MakePrompts(prompts, _T("Select points: "));
  ads_name set;
  if (acedSSGet(_T(":$"), prompts.pair, NULL, &filter, set) != RTNORM) {
    SetError(_T("No entities selected"));
    return 0;
  }
  WalkSet(set, [&](AcDbObjectId id) {
    AcDbEntity* entity = NULL;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return;
    if (CString(entity->isA()->name()) == _T("AcDbPoint")) points.append(AcDbPoint::cast(entity)->position());
    entity->close();
  });
  return 1;
}

int AcadUtils::SelectEntitiesOfClass(const CString& prompt, int highlight, const CStringArray& classes,
                                     AcDbObjectIdArray& ids) {
  ads_name set;
  if (GetSelection(prompt, set) != RTNORM) {
    SetError(_T("No entities selected"));
    return 0;
  }
  int filtered = 0;
  WalkSet(set, [&](AcDbObjectId id) {
    AcDbEntity* entity = NULL;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return;
    if (FindString(classes, entity->isA()->name()) < 0) {
      filtered++;
    } else {
      ids.append(id);
      if (highlight != 0) Highlight(entity);
    }
    entity->close();
  });
  if (filtered > 0) acutPrintf(_T("%d object(s) were filtered out\n"), filtered);
  if (ids.length() > 0) return 1;
  SetError(_T("No valid objects selected"));
  return 0;
}

int AcadUtils::SelectEntities(const CString& prompt, int highlight, AcDbObjectIdArray& ids) {
  ads_name set;
  if (GetSelection(prompt, set) != RTNORM) {
    SetError(_T("No entities selected"));
    return 0;
  }
  WalkSet(set, [&](AcDbObjectId id) {
    ids.append(id);
    if (highlight != 0) HighlightEntity(id);
  });
  if (ids.length() > 0) return 1;
  SetError(_T("No objects selected"));
  return 0;
}

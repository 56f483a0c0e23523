#pragma once
// ON_3dmProperties: a model's notes, revision history and application.
#include "on_string.h"

class ON_3dmRevisionHistory {
 public:
  ON_wString m_sCreatedBy;
  ON_wString m_sLastEditedBy;
  int m_revision_count = 0;
};

class ON_3dmNotes {
 public:
  ON_wString m_notes;
  bool m_bVisible = false;
};

class ON_3dmApplication {
 public:
  ON_wString m_application_name;
  ON_wString m_application_URL;
  ON_wString m_application_details;
};

class ON_3dmProperties {
 public:
  ON_3dmRevisionHistory m_RevisionHistory;
  ON_3dmNotes m_Notes;
  ON_3dmApplication m_Application;
  void Default() { *this = ON_3dmProperties(); }
};

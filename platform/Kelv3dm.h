#pragma once
// The model-file reader: one open file at a time, between ReadStart and
// ReadEnd. Table records are filled into the caller's objects (every field
// overwritten); objects stay owned by the reader until ReadEnd.
#include "mfc/CString.h"
#include "opennurbs.h"

class Kelv3dm {
 public:
  static int ReadStart(const CString& path, ON_3dmProperties& properties);
  static int ReadEnd();

  static int ReadGetDimStyleTableSize();
  static int ReadGetLayerTableSize();
  static int ReadGetFontTableSize();
  static int ReadGetInstanceDefinitionTableSize();
  static int ReadGetObjectTableSize();

  static int ReadGetDimStyle(int index, ON_DimStyle& style);
  static int ReadGetLayer(int index, ON_Layer& layer);
  static int ReadGetFont(int index, ON_Font& font);
  static int ReadGetInstanceDefinition(int index, ON_InstanceDefinition& definition);
  static int ReadGetInstanceDefinition(GUID id, ON_InstanceDefinition& definition);
  static int ReadGetObjectAttributes(int index, ON_3dmObjectAttributes& attributes);

  // Null when the index is out of range or the object cannot be read.
  static const ON_Object* ReadGetObject(int index);
  // -1 when no object has the id.
  static int ReadGetObjectIndex(GUID id);
  // The openNURBS class name ("ON_LineCurve", ...), "" for null.
  static CString GetObjectClassName(const ON_Object* object);

  static CString GetError();
  static void SetError(const CString& text);
};

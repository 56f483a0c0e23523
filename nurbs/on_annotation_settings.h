#pragma once
// ON_3dmAnnotationSettings: the process-wide defaults of first-generation
// annotations. ON_AnnotationSettings() returns the record in force:
// openNURBS's defaults unless ON_SetAnnotationSettings installed another.
#include "on_base.h"
#include "on_string.h"

class ON_3dmAnnotationSettings {
 public:
  double m_dimscale = 1.0;
  double m_textheight = 1.0;
  double m_dimexe = 1.0;
  double m_dimexo = 1.0;
  double m_arrowlength = 1.0;
  double m_arrowwidth = 1.0;
  double m_centermark = 1.0;
  ON::unit_system m_dimunits = ON::no_unit_system;
  int m_arrowtype = 0;
  int m_angularunits = 0;
  int m_lengthformat = 0;
  int m_angleformat = 0;
  int m_textalign = 0;  // 0: above the line, 1: in the line, 2: horizontal
  int m_resolution = 0;
  ON_wString m_facename{L"Arial"};

  void Default() { *this = ON_3dmAnnotationSettings(); }
};

const ON_3dmAnnotationSettings& ON_AnnotationSettings();
// Installs a copy of the settings; null restores the defaults.
void ON_SetAnnotationSettings(const ON_3dmAnnotationSettings* settings);

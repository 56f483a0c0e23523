#include "on_annotation_settings.h"

namespace {
ON_3dmAnnotationSettings& ActiveSettings() {
  static ON_3dmAnnotationSettings settings;
  return settings;
}
}  // namespace

const ON_3dmAnnotationSettings& ON_AnnotationSettings() { return ActiveSettings(); }

void ON_SetAnnotationSettings(const ON_3dmAnnotationSettings* settings) {
  ActiveSettings() = settings ? *settings : ON_3dmAnnotationSettings();
}

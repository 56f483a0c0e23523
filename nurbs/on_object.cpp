#include "on_object.h"

const ON_ClassId ON_Object::m_ON_Object_class_id("ON_Object", nullptr);

bool ON_ClassId::IsDerivedFrom(const ON_ClassId* other) const {
  for (const ON_ClassId* p = this; p; p = p->m_base)
    if (p == other) return true;
  return false;
}

bool ON_Object::IsKindOf(const ON_ClassId* class_id) const {
  return class_id && ClassId()->IsDerivedFrom(class_id);
}

bool ON_Object::IsValid(ON_TextLog*) const { return true; }

const char* ON_ObjectClassName(const ON_Object* object) {
  return object ? object->ClassId()->ClassName() : "";
}

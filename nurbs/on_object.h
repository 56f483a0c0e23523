#pragma once
// ON_Object: the root of every openNURBS object, with its run-time class
// (ClassId()->ClassName() is "ON_LineCurve" for a line curve, ...) and
// Duplicate(), a deep copy of the object's most derived class.
#include "on_base.h"

class ON_TextLog;

class ON_ClassId {
 public:
  constexpr ON_ClassId(const char* class_name, const ON_ClassId* base_class)
      : m_class_name(class_name), m_base(base_class) {}
  ON_ClassId(const ON_ClassId&) = delete;
  ON_ClassId& operator=(const ON_ClassId&) = delete;

  const char* ClassName() const { return m_class_name; }
  const char* BaseClassName() const { return m_base ? m_base->m_class_name : nullptr; }
  const ON_ClassId* BaseClass() const { return m_base; }
  // True for this class itself and every class it derives from.
  bool IsDerivedFrom(const ON_ClassId* other) const;

 private:
  const char* m_class_name;
  const ON_ClassId* m_base;
};

#define ON_CLASS_RTTI(cls) (&cls::m_##cls##_class_id)

// The run-time class members shared by every class of the hierarchy.
#define ON_OBJECT_DECLARE_COMMON(cls)                                   \
 public:                                                                \
  static const ON_ClassId m_##cls##_class_id;                           \
  const ON_ClassId* ClassId() const override { return &m_##cls##_class_id; } \
  static cls* Cast(ON_Object* p) { return dynamic_cast<cls*>(p); }      \
  static const cls* Cast(const ON_Object* p) { return dynamic_cast<const cls*>(p); } \
  cls* Duplicate() const { return static_cast<cls*>(DuplicateObject()); }

// For classes that can be instantiated: Duplicate() copies the object.
#define ON_OBJECT_DECLARE(cls)                                          \
  ON_OBJECT_DECLARE_COMMON(cls)                                         \
 protected:                                                             \
  ON_Object* DuplicateObject() const override { return new cls(*this); } \
                                                                        \
 public:

// For abstract classes: the most derived class supplies the copy.
#define ON_OBJECT_DECLARE_ABSTRACT(cls) ON_OBJECT_DECLARE_COMMON(cls)

#define ON_OBJECT_IMPLEMENT(cls, base) \
  const ON_ClassId cls::m_##cls##_class_id(#cls, &base::m_##base##_class_id);

class ON_Object {
 public:
  static const ON_ClassId m_ON_Object_class_id;

  ON_Object() = default;
  ON_Object(const ON_Object&) = default;
  ON_Object& operator=(const ON_Object&) = default;
  virtual ~ON_Object() = default;

  virtual const ON_ClassId* ClassId() const { return &m_ON_Object_class_id; }
  bool IsKindOf(const ON_ClassId* class_id) const;
  static ON_Object* Cast(ON_Object* p) { return p; }
  static const ON_Object* Cast(const ON_Object* p) { return p; }
  // A new copy of the object's most derived class; the caller deletes it.
  ON_Object* Duplicate() const { return DuplicateObject(); }

  virtual bool IsValid(ON_TextLog* text_log = nullptr) const;
  virtual ON::object_type ObjectType() const { return ON::unknown_object_type; }

 protected:
  virtual ON_Object* DuplicateObject() const { return new ON_Object(*this); }
};

// The class name of an object's run-time class, "" for a null pointer.
const char* ON_ObjectClassName(const ON_Object* object);

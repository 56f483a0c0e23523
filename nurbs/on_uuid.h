#pragma once
// GUID with the Windows layout, and ON_UUID as openNURBS names it. The guard
// GUID_DEFINED is the one the Windows headers use, so a host that declares the
// same struct first and defines the guard is taken as is.
#include <cstdint>

#ifndef GUID_DEFINED
#define GUID_DEFINED
typedef struct _GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
} GUID;
#endif

typedef GUID ON_UUID;

extern const ON_UUID ON_nil_uuid;

// A new random (version 4) uuid.
ON_UUID ON_CreateUuid();
bool ON_CreateUuid(ON_UUID& uuid);
bool ON_UuidIsNil(const ON_UUID& uuid);
bool ON_UuidIsNotNil(const ON_UUID& uuid);
int ON_UuidCompare(const ON_UUID& a, const ON_UUID& b);
// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", upper case hex, no braces.
void ON_UuidToString(const ON_UUID& uuid, wchar_t out[37]);
// Reads that form, with or without braces; false leaves the nil uuid.
bool ON_UuidFromString(const wchar_t* text, ON_UUID& uuid);

inline bool operator==(const GUID& a, const GUID& b) { return ON_UuidCompare(a, b) == 0; }
inline bool operator!=(const GUID& a, const GUID& b) { return ON_UuidCompare(a, b) != 0; }
inline bool operator<(const GUID& a, const GUID& b) { return ON_UuidCompare(a, b) < 0; }

#pragma once
// Asking the user on the command line: keywords, one picked entity,
// selection sets. Answers are lines of the current input (a script, the
// terminal or a test's lines): see the README for what each prompt takes.
#include <cstddef>

#include "arx/adsdefs.h"

// Input control flags of acedInitGet.
#define RSG_NONULL 0x0001  // Enter is not an answer: asked again
#define RSG_NOZERO 0x0002
#define RSG_NONEG 0x0004
#define RSG_NOLIM 0x0008
#define RSG_GETZ 0x0010
#define RSG_DASH 0x0020
#define RSG_2D 0x0040
#define RSG_OTHER 0x0080

// Sets the flags and the blank-separated keywords of the next input call
// (acedGetKword, acedEntSel, acedSSGet), which uses them up. A keyword's
// capitals are its abbreviation ("eXit" answers to "x" and "exit").
// RTNORM.
int acedInitGet(int flags, const ACHAR* keywords);

// Asks for one of the keywords of acedInitGet; the reply is the full
// keyword. A typed abbreviation, the full keyword or a prefix of it at least
// as long as the abbreviation answers, without regard to case; anything else
// prints "Invalid option keyword." and asks again. RTNORM, RTNONE for Enter
// (asked again under RSG_NONULL), RTCAN when cancelled or the input ends,
// RTERROR without keywords. This form writes at most 132 characters with
// the terminator.
int acedGetKword(const ACHAR* prompt, ACHAR* result);
// The same into a buffer of size characters; a keyword that does not fit is
// cut and RTINPUTTRUNCATED returned.
int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t size);

// Asks the user to pick one entity of the current space (null prompt:
// "\nSelect object: "). RTNORM with its name and the picked point; RTERROR
// when the pick hit nothing or Enter was pressed; RTCAN when cancelled or the
// input ends.
int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point point);

// Builds a selection set. mode: null (the host's prompts "Select objects: "
// and "Remove objects: "), "A" or "X" (every entity of the current space,
// nothing asked), or one containing '$' (arg1 points to two prompts: adding
// and removing). The filter is a result-buffer list of entity types (group
// code 0, RTDXF0 or 0, text such as "POINT" or "LINE,ARC", without regard to
// case); another group code is refused with RTERROR. RTNORM with a new set,
// RTERROR when nothing was selected, RTCAN when cancelled.
int acedSSGet(const ACHAR* mode, const void* arg1, const void* arg2, const resbuf* filter, ads_name set);
// RTNORM, or RTERROR for a name that is no live set.
int acedSSLength(const ads_name set, Adesk::Int32* length);
// The member at index; RTERROR out of range, for an unknown set, or for a
// member no longer in the drawing.
int acedSSName(const ads_name set, Adesk::Int32 index, ads_name entity);
// Releases the set: RTNORM, RTERROR for an unknown one.
int acedSSFree(const ads_name set);

namespace arxhost {
// Selection sets made and not freed yet (tests check that none is left).
size_t LiveSelectionSets();
}  // namespace arxhost

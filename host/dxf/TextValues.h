#pragma once
// Long and special string values: texts in caret notation, MTEXT contents
// in chunks, ACIS data in the form DXF files up to AC1024 hold it.
#include <string>
#include <string_view>
#include <vector>

#include "dxf/GroupWriter.h"

namespace arxhost::dxf {

// A text value in caret notation: a control character c becomes '^' and
// c+64 (a tab "^I"), a '^' itself "^ ". With mtext, line ends become the
// paragraph code "\P" instead.
std::string CaretEncode(std::string_view utf8, bool mtext);

// A value longer than one group holds: the leading chunks under chunkCode,
// the last one (the whole value when short) under lastCode. Chunks are at
// most 250 bytes and never split a UTF-8 character or a caret pair.
void WriteChunked(GroupWriter& out, int chunkCode, int lastCode, std::string_view value);

// One line of SAT text as AutoCAD keeps it in a DXF entity: each printable
// character c becomes 159 - c, spaces stay, and the '^' this makes of 'A'
// is followed by a space so that it does not read as a caret pair.
std::string EncodeSatLine(std::string_view line);

// The lines of an SAT text (line ends "\n" or "\r\n"), without empty ones.
std::vector<std::string_view> SatLines(std::string_view sat);

// The SAT text as groups: each line under 1, continued under 3 beyond 255
// bytes.
void WriteSatData(GroupWriter& out, std::string_view sat);

}  // namespace arxhost::dxf

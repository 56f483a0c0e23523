#pragma once
// A structural check of an IGES file before Open CASCADE reads it: record
// layout, section order, sequence numbers, the Terminate record's counts,
// directory entries and the parameter lines that belong to them, the counts
// that entities declare, numbers, pointers and nesting. Open CASCADE reads a
// truncated or inconsistent file into a partial model without a word,
// allocates whatever a count asks for and recurses as deep as the file
// nests; this check is what keeps such files out, on every import path.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace igesread {

// Deepest nesting of subfigures, groups, composite curves, B-rep topology
// and transformation chains that is read.
constexpr int kMaxNesting = 64;

struct DirectoryEntry {
  int type = 0;
  int form = 0;
  int paramStart = 0;   // first parameter line (1-based)
  int paramLines = 0;
  int transform = 0;    // DE number of the transformation matrix, 0 for none
  int structure = 0;    // raw DE field (negative: pointer)
  int level = 0;        // raw field (negative: pointer to a definition-levels property)
  int color = 0;        // raw field (negative: pointer to a colour definition)
};

struct ScanResult {
  // Counts of the S, G, D and P records.
  int start = 0, global = 0, directory = 0, parameter = 0;
  char paramDelimiter = ',';
  char recordDelimiter = ';';
  std::vector<DirectoryEntry> entries;                 // in DE order
  // Parameters of the entities whose typed form Open CASCADE leaves empty
  // (point dimensions), by entry index (0-based), type first.
  std::map<int, std::vector<std::string>> rawParameters;
  // True when Open CASCADE would read the file differently from this check
  // (other line ends, records not cut by line feeds, short records, lines
  // after the Terminate record, parameters that cross a record end or spill
  // into column 65, text after an entity's record delimiter, integers too
  // large for it); then 'normalized' holds the file laid out so that it reads
  // exactly the parameters found here.
  bool needsNormalizedCopy = false;
  std::string normalized;
};

// Checks the file's bytes. On failure returns false and sets reason to a
// clause that completes "The IGES file '...' ..." (e.g. "is truncated: ...").
bool ScanIges(std::string_view bytes, ScanResult& result, std::string& reason);

}  // namespace igesread

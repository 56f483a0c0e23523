#pragma once
// A structural check of an IGES file before Open CASCADE reads it: record
// layout, section order, sequence numbers, the Terminate record's counts,
// directory-entry pointers and the counts that entities declare. Open
// CASCADE reads a truncated or inconsistent file into a partial model
// without a word, and allocates whatever a count asks for; this check is
// what keeps such files out.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace igesread {

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
  // True when the file differs from the fixed 80-column, line-feed layout
  // that Open CASCADE reads (other line ends, short records, lines after the
  // Terminate record); then 'normalized' holds the file in that layout.
  bool needsNormalizedCopy = false;
  std::string normalized;
};

// Checks the file's bytes. On failure returns false and sets reason to a
// clause that completes "The IGES file '...' ..." (e.g. "is truncated: ...").
bool ScanIges(std::string_view bytes, ScanResult& result, std::string& reason);

// Splits parameter text (the columns 1 to 64 of an entity's records, joined)
// into its parameters, up to the record delimiter. Hollerith strings keep
// delimiters inside. Returns false on a malformed Hollerith string.
bool SplitParameters(std::string_view text, char paramDelimiter, char recordDelimiter,
                     std::vector<std::string>& params);

}  // namespace igesread

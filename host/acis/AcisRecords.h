#pragma once
// The record structure of ACIS SAT text: a header (version line, product
// line from version 2.0 on, units and resolution line), then records ended
// by '#', each a type name and fields; "$n" fields point at record n, "$-1"
// at nothing. Entity indices ("-n" before a record) are accepted.
#include <optional>
#include <string>
#include <vector>

namespace arxhost::sat {

struct Field {
  std::string text;      // as written (a pointer keeps its '$')
  long pointer = -2;     // the record index for "$n", -1 for "$-1", -2 when not a pointer
  bool isPointer() const { return pointer >= -1; }
};

struct Record {
  std::string type;      // "body", "lump", "plane-surface", ...
  std::vector<Field> fields;
  // The pointers among the fields, in order.
  std::vector<long> pointers() const;
};

struct Document {
  int version = 0;
  std::string productLine;  // empty for versions before 2.0
  std::string unitsLine;
  std::vector<Record> records;
};

// Parses SAT text; nothing on malformed text (error says what and where).
std::optional<Document> Parse(const std::string& text, std::string& error);

// Writes a document with the record count and body count in its header.
std::string Write(const Document& doc);

// Every record reachable from record root through pointers, root included,
// in ascending order.
std::vector<long> Reachable(const Document& doc, long root);

// A document of the given records only (ascending indices), pointers
// renumbered; pointers to records left out become "$-1".
Document Extract(const Document& doc, const std::vector<long>& keep);
// The same, taking the kept records from a document no longer needed.
Document Extract(Document&& doc, const std::vector<long>& keep);

}  // namespace arxhost::sat

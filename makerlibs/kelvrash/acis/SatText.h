#pragma once
// ACIS SAT text: records of a type name and fields, ended by '#', after a
// three-line header. Records refer to each other by index ("$n", "$-1" for
// none); every record written here starts with the attribute pointer, the
// entity id and, from version 7.0 on, the pattern pointer.
#include <string>
#include <vector>

namespace kelv::acis {

struct SatRecord {
  std::string type;
  std::vector<std::string> fields;
};

class SatDocument {
 public:
  // A new record with its common fields; returns its index.
  int Add(const std::string& type, bool withPattern = true);
  SatRecord& operator[](int index) { return records_[static_cast<size_t>(index)]; }
  const std::vector<SatRecord>& Records() const { return records_; }
  int Count() const { return static_cast<int>(records_.size()); }

  // The whole file: header (version 7.0, the product line with the given
  // date text, units of millimetres), the records and the end marker.
  std::string Text(const std::string& product, const std::string& date) const;

 private:
  std::vector<SatRecord> records_;
};

// Field texts. Numbers are formatted without the C locale, in the shortest
// form that reads back to the same double.
std::string Pointer(int index);
std::string Number(double value);
std::string Integer(long value);
// A counted string "@n text" (one field).
std::string Counted(const std::string& text);
// The current time as ctime writes it ("Thu Dec 10 13:36:03 2026"), UTC.
std::string CtimeNow();

}  // namespace kelv::acis

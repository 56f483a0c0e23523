// Composing SAT text: record fields, locale-proof numbers, the header.
#include "acis/SatText.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <system_error>

namespace kelv::acis {

int SatDocument::Add(const std::string& type, bool withPattern) {
  SatRecord r;
  r.type = type;
  r.fields = {"$-1", "-1"};
  if (withPattern) r.fields.push_back("$-1");
  records_.push_back(std::move(r));
  return static_cast<int>(records_.size()) - 1;
}

std::string SatDocument::Text(const std::string& product, const std::string& date) const {
  long bodies = 0;
  for (const SatRecord& r : records_)
    if (r.type == "body") ++bodies;
  size_t size = 128 + product.size() + date.size();
  for (const SatRecord& r : records_) {
    size += r.type.size() + 3;
    for (const std::string& f : r.fields) size += f.size() + 1;
  }
  std::string out;
  out.reserve(size);
  // Version 7.0; the record count may be 0 when the end marker is present,
  // which older readers prefer.
  out += "700 0 " + Integer(bodies) + " 0\n";
  out += Counted(product) + " " + Counted("ACIS 7.0 NT") + " " + Counted(date) + "\n";
  out += "1 9.9999999999999995e-07 1e-10\n";
  for (const SatRecord& r : records_) {
    out += r.type;
    for (const std::string& f : r.fields) {
      out += ' ';
      out += f;
    }
    out += " #\n";
  }
  out += "End-of-ACIS-data\n";
  return out;
}

std::string Pointer(int index) { return "$" + std::to_string(index < 0 ? -1 : index); }

std::string Number(double value) {
  if (value == 0.0) return "0";  // also for -0
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec != std::errc()) return "0";
  return std::string(buffer, end);
}

std::string Integer(long value) { return std::to_string(value); }

std::string Counted(const std::string& text) { return "@" + std::to_string(text.size()) + " " + text; }

std::string CtimeNow() {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::time_t now = std::time(nullptr);
  std::tm t{};
  gmtime_r(&now, &t);
  char buffer[64];
  // Names spelled out here: strftime would follow the locale.
  std::snprintf(buffer, sizeof buffer, "%s %s %02d %02d:%02d:%02d %d", kDays[t.tm_wday % 7], kMonths[t.tm_mon % 12],
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_year + 1900);
  return buffer;
}

}  // namespace kelv::acis

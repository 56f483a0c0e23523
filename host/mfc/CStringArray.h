#pragma once
// The MFC array of wide strings, over a std::vector. Indices are int (MFC's
// INT_PTR); an index outside the array throws std::out_of_range rather than
// reading past its end.
#include <stdexcept>
#include <vector>

#include "mfc/CString.h"

class CStringArray {
 public:
  CStringArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(items_.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  bool IsEmpty() const { return items_.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  void SetSize(INT_PTR size, INT_PTR = -1) { items_.resize(size > 0 ? static_cast<size_t>(size) : 0); }

  const CString& GetAt(INT_PTR i) const { return items_.at(Index(i)); }
  CString& ElementAt(INT_PTR i) { return items_.at(Index(i)); }
  void SetAt(INT_PTR i, const CString& s) { items_.at(Index(i)) = s; }
  // Grows the array as needed.
  void SetAtGrow(INT_PTR i, const CString& s) {
    if (i < 0) throw std::out_of_range("CStringArray: negative index");
    if (static_cast<size_t>(i) >= items_.size()) items_.resize(static_cast<size_t>(i) + 1);
    items_[static_cast<size_t>(i)] = s;
  }
  const CString& operator[](INT_PTR i) const { return GetAt(i); }
  CString& operator[](INT_PTR i) { return ElementAt(i); }

  INT_PTR Add(const CString& s) {
    items_.push_back(s);
    return GetSize() - 1;
  }
  INT_PTR Append(const CStringArray& other) {
    INT_PTR first = GetSize();
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    return first;
  }
  void Copy(const CStringArray& other) { items_ = other.items_; }
  void InsertAt(INT_PTR i, const CString& s, INT_PTR count = 1) {
    if (i < 0 || i > GetSize()) throw std::out_of_range("CStringArray::InsertAt");
    items_.insert(items_.begin() + i, count > 0 ? static_cast<size_t>(count) : 0, s);
  }
  void RemoveAt(INT_PTR i, INT_PTR count = 1) {
    if (i < 0 || count < 0 || i + count > GetSize()) throw std::out_of_range("CStringArray::RemoveAt");
    items_.erase(items_.begin() + i, items_.begin() + i + count);
  }
  void RemoveAll() { items_.clear(); }
  void FreeExtra() { items_.shrink_to_fit(); }

 private:
  size_t Index(INT_PTR i) const {
    if (i < 0) throw std::out_of_range("CStringArray: negative index");
    return static_cast<size_t>(i);
  }
  std::vector<CString> items_;
};

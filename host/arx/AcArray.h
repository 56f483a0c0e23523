#pragma once
// The growable array of the drawing-database interface. Storage is a
// std::vector; the grow length is kept because callers set it, and reserve
// follows it. Indices are int, as callers pass them.
#include <algorithm>
#include <cassert>
#include <stdexcept>
#include <vector>

template <class T>
class AcArray {
 public:
  explicit AcArray(int physicalLength = 0, int growLength = 8) : grow_(growLength > 0 ? growLength : 8) {
    if (physicalLength > 0) v_.reserve(static_cast<size_t>(physicalLength));
  }
  AcArray(const AcArray&) = default;
  AcArray(AcArray&&) noexcept = default;
  AcArray& operator=(const AcArray&) = default;
  AcArray& operator=(AcArray&&) noexcept = default;

  int length() const { return static_cast<int>(v_.size()); }
  int logicalLength() const { return length(); }
  int physicalLength() const { return static_cast<int>(v_.capacity()); }
  int growLength() const { return grow_; }
  AcArray& setGrowLength(int n) {
    if (n > 0) grow_ = n;
    return *this;
  }
  bool isEmpty() const { return v_.empty(); }

  T& operator[](int i) { return v_.at(index(i)); }
  const T& operator[](int i) const { return v_.at(index(i)); }
  T& at(int i) { return v_.at(index(i)); }
  const T& at(int i) const { return v_.at(index(i)); }
  T& first() { return v_.at(0); }
  const T& first() const { return v_.at(0); }
  T& last() { return v_.at(v_.size() - 1); }
  const T& last() const { return v_.at(v_.size() - 1); }

  int append(const T& value) {
    reserveForOneMore();
    v_.push_back(value);
    return length() - 1;
  }
  AcArray& append(const AcArray& other) {
    v_.insert(v_.end(), other.v_.begin(), other.v_.end());
    return *this;
  }
  AcArray& insertAt(int i, const T& value) {
    if (i < 0 || i > length()) throw std::out_of_range("AcArray::insertAt");
    reserveForOneMore();
    v_.insert(v_.begin() + i, value);
    return *this;
  }
  AcArray& setAt(int i, const T& value) {
    v_.at(index(i)) = value;
    return *this;
  }
  AcArray& removeAt(int i) {
    v_.erase(v_.begin() + static_cast<long>(index(i)));
    return *this;
  }
  bool remove(const T& value, int start = 0) {
    int i = find(value, start);
    if (i < 0) return false;
    removeAt(i);
    return true;
  }
  AcArray& removeFirst() { return removeAt(0); }
  AcArray& removeLast() { return removeAt(length() - 1); }
  AcArray& removeAll() {
    v_.clear();
    return *this;
  }
  AcArray& setLogicalLength(int n) {
    v_.resize(static_cast<size_t>(n < 0 ? 0 : n));
    return *this;
  }
  AcArray& setPhysicalLength(int n) {
    if (n > 0) v_.reserve(static_cast<size_t>(n));
    return *this;
  }
  bool contains(const T& value, int start = 0) const { return find(value, start) >= 0; }
  bool find(const T& value, int& foundAt, int start = 0) const {
    int i = find(value, start);
    if (i < 0) return false;
    foundAt = i;
    return true;
  }
  int find(const T& value, int start = 0) const {
    for (int i = std::max(start, 0); i < length(); ++i)
      if (v_[static_cast<size_t>(i)] == value) return i;
    return -1;
  }
  AcArray& reverse() {
    std::reverse(v_.begin(), v_.end());
    return *this;
  }
  T* asArrayPtr() { return v_.data(); }
  const T* asArrayPtr() const { return v_.data(); }

  bool operator==(const AcArray& other) const { return v_ == other.v_; }

  // Iteration for host code.
  auto begin() { return v_.begin(); }
  auto end() { return v_.end(); }
  auto begin() const { return v_.begin(); }
  auto end() const { return v_.end(); }
  const std::vector<T>& vector() const { return v_; }

 private:
  size_t index(int i) const {
    if (i < 0) throw std::out_of_range("AcArray: negative index");
    return static_cast<size_t>(i);
  }
  void reserveForOneMore() {
    // Grow by at least the grow length, and geometrically so that appending
    // stays linear for large arrays.
    if (v_.size() == v_.capacity()) v_.reserve(std::max(v_.size() + static_cast<size_t>(grow_), v_.size() * 2));
  }
  std::vector<T> v_;
  int grow_;
};

using AcDbVoidPtrArray = AcArray<void*>;

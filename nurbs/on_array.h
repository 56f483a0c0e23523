#pragma once
// ON_SimpleArray and ON_ClassArray: growable arrays with the openNURBS
// interface (int counts, Append, AppendNew, Remove, ...). Both construct and
// destroy their elements properly; ON_SimpleArray value-initialises new
// elements (zero for numbers and pointers), as openNURBS zeroes them.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace on_detail {

template <class T>
class ArrayBase {
 public:
  ArrayBase() = default;
  explicit ArrayBase(int capacity) { Reserve(capacity); }
  ArrayBase(const ArrayBase& other) { *this = other; }
  ArrayBase(ArrayBase&& other) noexcept { Swap(other); }
  ~ArrayBase() { Destroy(); }

  ArrayBase& operator=(const ArrayBase& other) {
    if (this == &other) return *this;
    Empty();
    Reserve(other.m_count);
    for (int i = 0; i < other.m_count; ++i) new (m_a + i) T(other.m_a[i]);
    m_count = other.m_count;
    return *this;
  }
  ArrayBase& operator=(ArrayBase&& other) noexcept {
    if (this != &other) {
      Destroy();
      Swap(other);
    }
    return *this;
  }

  int Count() const { return m_count; }
  unsigned int UnsignedCount() const { return m_count > 0 ? static_cast<unsigned>(m_count) : 0u; }
  int Capacity() const { return m_capacity; }
  unsigned int SizeOfArray() const { return UnsignedCount() * sizeof(T); }

  T& operator[](int i) { return m_a[i]; }
  const T& operator[](int i) const { return m_a[i]; }
  T& operator[](unsigned int i) { return m_a[i]; }
  const T& operator[](unsigned int i) const { return m_a[i]; }
  T& operator[](long i) { return m_a[i]; }
  const T& operator[](long i) const { return m_a[i]; }
  T& operator[](unsigned long i) { return m_a[i]; }
  const T& operator[](unsigned long i) const { return m_a[i]; }

  // Null when i is out of range, so callers can test before reading.
  T* At(int i) { return (i >= 0 && i < m_count) ? m_a + i : nullptr; }
  const T* At(int i) const { return (i >= 0 && i < m_count) ? m_a + i : nullptr; }
  T* First() { return m_count > 0 ? m_a : nullptr; }
  const T* First() const { return m_count > 0 ? m_a : nullptr; }
  T* Last() { return m_count > 0 ? m_a + m_count - 1 : nullptr; }
  const T* Last() const { return m_count > 0 ? m_a + m_count - 1 : nullptr; }
  T* Array() { return m_a; }
  const T* Array() const { return m_a; }

  T* begin() { return m_a; }
  T* end() { return m_a + m_count; }
  const T* begin() const { return m_a; }
  const T* end() const { return m_a + m_count; }

  void Append(const T& x) {
    if (m_count == m_capacity) {
      // x may live inside this array: copy it before the storage moves.
      T copy(x);
      Grow(m_count + 1);
      new (m_a + m_count) T(std::move(copy));
    } else {
      new (m_a + m_count) T(x);
    }
    ++m_count;
  }
  void Append(int count, const T* p) {
    if (count <= 0 || !p) return;
    if (p >= m_a && p < m_a + m_capacity) {
      ArrayBase tmp;
      tmp.Append(count, p);
      for (int i = 0; i < count; ++i) Append(tmp.m_a[i]);
      return;
    }
    Reserve(m_count + count);
    for (int i = 0; i < count; ++i) new (m_a + m_count + i) T(p[i]);
    m_count += count;
  }
  T& AppendNew() {
    Grow(m_count + 1);
    new (m_a + m_count) T();
    return m_a[m_count++];
  }
  void Insert(int i, const T& x) {
    if (i < 0 || i > m_count) return;
    Append(x);
    std::rotate(m_a + i, m_a + m_count - 1, m_a + m_count);
  }
  void Remove() { Remove(m_count - 1); }
  void Remove(int i) {
    if (i < 0 || i >= m_count) return;
    std::move(m_a + i + 1, m_a + m_count, m_a + i);
    --m_count;
    m_a[m_count].~T();
  }
  void Empty() {
    for (int i = 0; i < m_count; ++i) m_a[i].~T();
    m_count = 0;
  }
  void Destroy() {
    Empty();
    ::operator delete(static_cast<void*>(m_a));
    m_a = nullptr;
    m_capacity = 0;
  }
  void Zero() {
    for (int i = 0; i < m_count; ++i) m_a[i] = T();
  }
  void Reserve(int capacity) {
    if (capacity > m_capacity) Reallocate(capacity);
  }
  void SetCapacity(int capacity) {
    if (capacity < 0) capacity = 0;
    if (capacity < m_count) {
      for (int i = capacity; i < m_count; ++i) m_a[i].~T();
      m_count = capacity;
    }
    if (capacity != m_capacity) Reallocate(capacity);
  }
  // Grows with value-initialised elements or drops the tail.
  void SetCount(int count) {
    if (count < 0) count = 0;
    if (count > m_count) {
      Reserve(count);
      for (int i = m_count; i < count; ++i) new (m_a + i) T();
    } else {
      for (int i = count; i < m_count; ++i) m_a[i].~T();
    }
    m_count = count;
  }
  void Shrink() { SetCapacity(m_count); }
  void Reverse() { std::reverse(m_a, m_a + m_count); }
  void Swap(int i, int j) {
    if (i >= 0 && j >= 0 && i < m_count && j < m_count && i != j) std::swap(m_a[i], m_a[j]);
  }
  void Swap(ArrayBase& other) noexcept {
    std::swap(m_a, other.m_a);
    std::swap(m_count, other.m_count);
    std::swap(m_capacity, other.m_capacity);
  }
  // Index of the first element equal to x, or -1.
  int Search(const T& x) const {
    for (int i = 0; i < m_count; ++i)
      if (m_a[i] == x) return i;
    return -1;
  }
  template <class Less>
  void QuickSort(Less less) { std::sort(m_a, m_a + m_count, less); }

 protected:
  void Grow(int needed) {
    if (needed <= m_capacity) return;
    if (needed < 0) throw std::bad_alloc();  // the int count overflowed
    int cap = m_capacity < 4 ? 4 : (m_capacity > INT_MAX / 2 ? INT_MAX : m_capacity * 2);
    if (cap < needed) cap = needed;
    Reallocate(cap);
  }
  void Reallocate(int capacity) {
    T* a = capacity > 0 ? static_cast<T*>(::operator new(sizeof(T) * static_cast<size_t>(capacity)))
                        : nullptr;
    for (int i = 0; i < m_count; ++i) {
      new (a + i) T(std::move(m_a[i]));
      m_a[i].~T();
    }
    ::operator delete(static_cast<void*>(m_a));
    m_a = a;
    m_capacity = capacity;
  }

 public:
  // Public as in openNURBS; use the member functions to change them.
  T* m_a = nullptr;
  int m_count = 0;
  int m_capacity = 0;
};

}  // namespace on_detail

template <class T>
class ON_SimpleArray : public on_detail::ArrayBase<T> {
 public:
  using on_detail::ArrayBase<T>::ArrayBase;
};

template <class T>
class ON_ClassArray : public on_detail::ArrayBase<T> {
 public:
  using on_detail::ArrayBase<T>::ArrayBase;
};

template <class T>
class ON_ObjectArray : public ON_ClassArray<T> {
 public:
  using ON_ClassArray<T>::ON_ClassArray;
};

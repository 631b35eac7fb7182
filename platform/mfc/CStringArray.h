// The framework's growable array of strings, with the operations the system's code uses. Indexes
// are checked (an index out of range throws std::out_of_range instead of reading past the end).
#pragma once

#include <vector>

#include "platform/mfc/CString.h"

class CStringArray {
 public:
  int GetSize() const { return static_cast<int>(items_.size()); }
  int GetCount() const { return GetSize(); }
  bool IsEmpty() const { return items_.empty(); }
  const CString& GetAt(int index) const { return items_.at(index); }
  void SetAt(int index, const CString& item) { items_.at(index) = item; }
  const CString& operator[](int index) const { return items_.at(index); }
  CString& operator[](int index) { return items_.at(index); }
  // The index of the new element.
  int Add(const CString& item) {
    items_.push_back(item);
    return GetSize() - 1;
  }
  void RemoveAll() { items_.clear(); }

 private:
  std::vector<CString> items_;
};

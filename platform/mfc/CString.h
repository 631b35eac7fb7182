// The framework's string of single-byte (Windows-1252) characters, with the operations the system's
// code uses. Case rules are those of the "C" locale the original ran under: only ASCII letters
// change case or compare equal without case; accented letters are compared as bytes.
// A CString owns its characters; GetBuffer hands out the internal array until ReleaseBuffer.
#pragma once

#include <cstdarg>
#include <string>

class CString {
 public:
  CString() = default;
  CString(const char* text) : text_(text ? text : "") {}
  CString(const char* text, int length) : text_(text ? std::string(text, Clamp(text, length)) : "") {}
  CString(char ch, int repeat = 1) : text_(repeat > 0 ? repeat : 0, ch) {}
  CString(const std::string& text) : text_(text) {}

  int GetLength() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }
  void Empty() { text_.clear(); }
  char GetAt(int index) const { return text_.at(index); }
  void SetAt(int index, char ch) { text_.at(index) = ch; }
  char operator[](int index) const { return text_.at(index); }
  operator const char*() const { return text_.c_str(); }
  const std::string& str() const { return text_; }

  CString& operator=(const char* text) { text_ = text ? text : ""; return *this; }
  CString& operator=(char ch) { text_.assign(1, ch); return *this; }
  CString& operator+=(const CString& other) { text_ += other.text_; return *this; }
  CString& operator+=(const char* text) { if (text) text_ += text; return *this; }
  CString& operator+=(char ch) { text_ += ch; return *this; }
  friend CString operator+(const CString& a, const CString& b) { return CString(a.text_ + b.text_); }
  friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
  friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
  friend CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
  friend CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

  // Byte comparison (<0, 0, >0) and comparison without regard to ASCII case.
  int Compare(const char* other) const;
  int CompareNoCase(const char* other) const;
  friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
  friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
  friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator<(const CString& a, const CString& b) { return a.text_ < b.text_; }

  // Searches return the zero-based index or -1.
  int Find(char ch, int start = 0) const;
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* chars) const;

  // Substrings clamp their arguments to the string, as the framework does.
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;
  CString SpanIncluding(const char* chars) const;
  CString SpanExcluding(const char* chars) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();
  // Trimming without an argument removes spaces, tabs and line breaks.
  void TrimLeft(const char* chars = nullptr);
  void TrimRight(const char* chars = nullptr);
  void TrimLeft(char ch);
  void TrimRight(char ch);
  int Replace(char old_ch, char new_ch);
  int Replace(const char* old_text, const char* new_text);
  int Remove(char ch);
  int Insert(int index, char ch);
  int Insert(int index, const char* text);
  int Delete(int index, int count = 1);

  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* format, va_list args);

  // Raw access: the buffer holds at least min_length characters plus a terminator; ReleaseBuffer
  // takes the length up to the first zero byte (or the given length).
  char* GetBuffer(int min_length);
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int new_length = -1);

 private:
  static size_t Clamp(const char* text, int length);
  std::string text_;
};

#include "platform/mfc/CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

char AsciiUpper(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch; }
char AsciiLower(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch; }
const char kWhitespace[] = " \t\r\n\v\f";

}  // namespace

size_t CString::Clamp(const char* text, int length) {
  if (length <= 0) return 0;
  return strnlen(text, static_cast<size_t>(length));
}

int CString::Compare(const char* other) const { return strcmp(text_.c_str(), other ? other : ""); }

int CString::CompareNoCase(const char* other) const {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(text_.c_str());
  const unsigned char* b = reinterpret_cast<const unsigned char*>(other ? other : "");
  for (;; ++a, ++b) {
    int ca = static_cast<unsigned char>(AsciiLower(static_cast<char>(*a)));
    int cb = static_cast<unsigned char>(AsciiLower(static_cast<char>(*b)));
    if (ca != cb || ca == 0) return ca - cb;
  }
}

int CString::Find(char ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  size_t at = text_.find(ch, static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const {
  if (start < 0 || start > GetLength() || !sub) return -1;
  size_t at = text_.find(sub, static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
  size_t at = text_.rfind(ch);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* chars) const {
  size_t at = text_.find_first_of(chars ? chars : "");
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, GetLength());
  count = std::clamp(count, 0, GetLength() - first);
  return CString(text_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  count = std::clamp(count, 0, GetLength());
  return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const char* chars) const {
  size_t end = text_.find_first_not_of(chars ? chars : "");
  return Left(end == std::string::npos ? GetLength() : static_cast<int>(end));
}

CString CString::SpanExcluding(const char* chars) const {
  size_t end = text_.find_first_of(chars ? chars : "");
  return Left(end == std::string::npos ? GetLength() : static_cast<int>(end));
}

void CString::MakeUpper() { std::transform(text_.begin(), text_.end(), text_.begin(), AsciiUpper); }
void CString::MakeLower() { std::transform(text_.begin(), text_.end(), text_.begin(), AsciiLower); }
void CString::MakeReverse() { std::reverse(text_.begin(), text_.end()); }

void CString::TrimLeft(const char* chars) {
  size_t first = text_.find_first_not_of(chars ? chars : kWhitespace);
  text_.erase(0, first == std::string::npos ? text_.size() : first);
}

void CString::TrimRight(const char* chars) {
  size_t last = text_.find_last_not_of(chars ? chars : kWhitespace);
  text_.erase(last == std::string::npos ? 0 : last + 1);
}

void CString::TrimLeft(char ch) { const char set[2] = {ch, 0}; TrimLeft(set); }
void CString::TrimRight(char ch) { const char set[2] = {ch, 0}; TrimRight(set); }

int CString::Replace(char old_ch, char new_ch) {
  int count = 0;
  for (char& ch : text_) {
    if (ch != old_ch) continue;
    ch = new_ch;
    ++count;
  }
  return count;
}

int CString::Replace(const char* old_text, const char* new_text) {
  if (!old_text || !*old_text) return 0;
  const std::string from(old_text), to(new_text ? new_text : "");
  int count = 0;
  for (size_t at = text_.find(from); at != std::string::npos; at = text_.find(from, at + to.size())) {
    text_.replace(at, from.size(), to);
    ++count;
  }
  return count;
}

int CString::Remove(char ch) {
  size_t before = text_.size();
  text_.erase(std::remove(text_.begin(), text_.end(), ch), text_.end());
  return static_cast<int>(before - text_.size());
}

int CString::Insert(int index, char ch) {
  const char text[2] = {ch, 0};
  return Insert(index, text);
}

int CString::Insert(int index, const char* text) {
  index = std::clamp(index, 0, GetLength());
  text_.insert(static_cast<size_t>(index), text ? text : "");
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index >= 0 && index < GetLength() && count > 0)
    text_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  return GetLength();
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int length = vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) {
    text_.clear();
    return;
  }
  std::string result(static_cast<size_t>(length) + 1, '\0');
  vsnprintf(result.data(), result.size(), format, args);
  result.resize(static_cast<size_t>(length));
  text_ = std::move(result);
}

char* CString::GetBuffer(int min_length) {
  if (min_length > GetLength()) text_.resize(static_cast<size_t>(min_length));
  return text_.data();
}

char* CString::GetBufferSetLength(int length) {
  text_.resize(static_cast<size_t>(std::max(length, 0)));
  return text_.data();
}

void CString::ReleaseBuffer(int new_length) {
  if (new_length < 0) new_length = static_cast<int>(strnlen(text_.c_str(), text_.size()));
  text_.resize(static_cast<size_t>(std::min(new_length, GetLength())));
}

// The framework's exception base as the system's error objects use it: an auto-delete flag, the
// text of the error and a way to show it. Our code throws exceptions by value and catches them by
// reference, so the flag is kept only because callers read it.
#pragma once

#include "platform/win32/base.h"

class CException {
 public:
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
  virtual ~CException() = default;

  // Copies the error's text into the buffer (at most size - 1 characters, always terminated);
  // FALSE when there is no text.
  virtual BOOL GetErrorMessage(char* buffer, UINT size, UINT* helpContext = nullptr) const;
  // Shows the error in a message box and returns the button chosen.
  virtual int ReportError(UINT style = 0, UINT helpId = 0) const;

  BOOL m_bAutoDelete;
};

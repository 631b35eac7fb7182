// The framework's binary file and its exception, as the record-file engine and the variable-record
// files use them.
//
// CFile owns one file HANDLE of platform/win32/file.h (m_hFile, hFileNull when closed) and reaches
// the file only through it, so share modes, path rules and Win32 errors are the layer's. A subclass
// may intercept the virtual operations: the engine opens, seeks, measures, reads, writes and closes
// only through them, and SeekToBegin, SeekToEnd and SetLength go through the virtual Seek too.
// Offsets are 64-bit. One object serves one thread at a time.
//
// Failures throw CFileException BY VALUE (this layer's convention; the original threw pointers):
// catch it by reference. It carries the cause, the Win32 error (m_lOsError, kept as the system gave
// it) and the file name. Open is the exception: it returns FALSE and fills the caller's exception
// object, and throws nothing.
//
// Kept from the original: the open-flag and cause values (they reach stored settings and the
// "Causa: %d" texts), the order of the virtual operations, Read returning fewer bytes (0 at the end)
// without throwing. Not needed: serialisation, diagnostics, runtime class information, text mode
// (typeText opens in binary), memory files (GetBufferPtr), CFileStatus/GetStatus.
#pragma once

#include "platform/mfc/CException.h"
#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

class CObject {
 public:
  virtual ~CObject() = default;
};

// A CException, so that a handler catching the framework's exceptions by reference catches this one
// too. It has no text of its own: GetErrorMessage gives FALSE as for the base.
class CFileException : public CException {
 public:
  enum {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, const char* lpszFileName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

  // The cause that a Win32 error stands for; genericException for errors without one of their own.
  static int OsErrorToException(LONG lOsError);
  // Throw a CFileException for a cause, or for a Win32 error with its mapped cause.
  [[noreturn]] static void Throw(int cause, LONG lOsError = -1, const char* lpszFileName = nullptr);
  [[noreturn]] static void ThrowOsError(LONG lOsError, const char* lpszFileName = nullptr);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class CFile : public CObject {
 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,  // no sharing, as shareExclusive
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,  // every descriptor of the layer is close-on-exec anyway
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };
  static inline const HANDLE hFileNull = INVALID_HANDLE_VALUE;

  CFile();
  // Takes over an open handle; the destructor closes it.
  explicit CFile(HANDLE hFile);
  // Opens at once and throws the open's exception on failure.
  CFile(const char* lpszFileName, UINT nOpenFlags);
  // Closes an open file, ignoring errors.
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  virtual ULONGLONG GetPosition() const;
  // The name as given to Open; the name after its last backslash; that name without extension.
  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  virtual CString GetFilePath() const;
  virtual void SetFilePath(const char* lpszNewName);

  // Opens the file with the flags above. On failure returns FALSE, leaves the object closed and,
  // when pError is given, fills its cause, Win32 error and file name. An object that is already
  // open fails with genericException and stays open.
  virtual BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  // A second object on the same open file, sharing its position (caller owns it).
  virtual CFile* Duplicate() const;
  // Returns the new position; a position before the start throws badSeek.
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual ULONGLONG GetLength() const;
  // Returns the bytes read: fewer than asked only at the end of the file.
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  // Closes without throwing; a closed object stays as it is.
  virtual void Abort();
  virtual void Flush();
  // Closes the file; does nothing when it is not open.
  virtual void Close();

  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }

  // Delete and rename by name (MoveFileA: never over an existing file); failures throw.
  static void Rename(const char* lpszOldName, const char* lpszNewName);
  static void Remove(const char* lpszFileName);

  HANDLE m_hFile;

 protected:
  // Throws the exception of the calling thread's last Win32 error, naming this file.
  [[noreturn]] void ThrowLastError() const;

  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};

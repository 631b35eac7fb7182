#include "platform/mfc/CFile.h"

#include "platform/win32/file.h"

int CFileException::OsErrorToException(LONG lOsError) {
  switch (static_cast<DWORD>(lOsError)) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_DIR_NOT_EMPTY: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_NO_MORE_FILES:
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_HANDLE_EOF: return endOfFile;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return diskFull;
    default: return genericException;
  }
}

void CFileException::Throw(int cause, LONG lOsError, const char* lpszFileName) {
  throw CFileException(cause, lOsError, lpszFileName);
}

void CFileException::ThrowOsError(LONG lOsError, const char* lpszFileName) {
  throw CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(TRUE) {}

CFile::CFile(const char* lpszFileName, UINT nOpenFlags) : CFile() {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error)) throw error;
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) CloseHandle(m_hFile);
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER position;
  if (!SetFilePointerEx(m_hFile, LARGE_INTEGER{.QuadPart = 0}, &position, FILE_CURRENT)) ThrowLastError();
  return static_cast<ULONGLONG>(position.QuadPart);
}

CString CFile::GetFileName() const { return m_strFileName.Mid(m_strFileName.ReverseFind('\\') + 1); }

CString CFile::GetFileTitle() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

CString CFile::GetFilePath() const { return m_strFileName; }

void CFile::SetFilePath(const char* lpszNewName) { m_strFileName = lpszNewName; }

namespace {

// The CreateFileA arguments that the framework's open flags stand for; false for flags that
// name no access or no share mode.
bool TranslateOpenFlags(UINT flags, DWORD* access, DWORD* share, DWORD* disposition) {
  switch (flags & 0x3) {
    case CFile::modeRead: *access = GENERIC_READ; break;
    case CFile::modeWrite: *access = GENERIC_WRITE; break;
    case CFile::modeReadWrite: *access = GENERIC_READ | GENERIC_WRITE; break;
    default: return false;
  }
  switch (flags & 0x70) {
    case CFile::shareCompat:
    case CFile::shareExclusive: *share = 0; break;
    case CFile::shareDenyWrite: *share = FILE_SHARE_READ; break;
    case CFile::shareDenyRead: *share = FILE_SHARE_WRITE; break;
    case CFile::shareDenyNone: *share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: return false;
  }
  if (!(flags & CFile::modeCreate)) *disposition = OPEN_EXISTING;
  else *disposition = (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  return true;
}

}  // namespace

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError) {
  const auto fail = [&](DWORD os_error) {
    if (pError) *pError = CFileException(CFileException::OsErrorToException(os_error), os_error, lpszFileName);
    return FALSE;
  };
  if (m_hFile != hFileNull) return fail(ERROR_INVALID_FUNCTION);
  DWORD access, share, disposition;
  if (!TranslateOpenFlags(nOpenFlags, &access, &share, &disposition)) return fail(ERROR_INVALID_PARAMETER);
  m_strFileName = lpszFileName;
  HANDLE file = CreateFileA(lpszFileName, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return fail(GetLastError());
  m_hFile = file;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

CFile* CFile::Duplicate() const {
  HANDLE copy = DuplicateFileHandle(m_hFile);
  if (copy == INVALID_HANDLE_VALUE) ThrowLastError();
  CFile* file = new CFile(copy);
  file->m_strFileName = m_strFileName;
  return file;
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  LARGE_INTEGER position;
  if (!SetFilePointerEx(m_hFile, LARGE_INTEGER{.QuadPart = lOff}, &position, nFrom)) ThrowLastError();
  return static_cast<ULONGLONG>(position.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) ThrowLastError();
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_hFile, &size)) ThrowLastError();
  return static_cast<ULONGLONG>(size.QuadPart);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  DWORD read = 0;
  if (nCount != 0 && !ReadFile(m_hFile, lpBuf, nCount, &read, nullptr)) ThrowLastError();
  return read;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  DWORD written = 0;
  if (nCount != 0 && !WriteFile(m_hFile, lpBuf, nCount, &written, nullptr)) ThrowLastError();
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  if (!LockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32), static_cast<DWORD>(dwCount),
                static_cast<DWORD>(dwCount >> 32)))
    ThrowLastError();
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  if (!UnlockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32), static_cast<DWORD>(dwCount),
                  static_cast<DWORD>(dwCount >> 32)))
    ThrowLastError();
}

void CFile::Abort() {
  if (m_hFile == hFileNull) return;
  CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_strFileName.Empty();
}

void CFile::Flush() {
  if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile)) ThrowLastError();
}

void CFile::Close() {
  if (m_hFile == hFileNull) return;
  const BOOL closed = CloseHandle(m_hFile);
  const DWORD error = GetLastError();
  const CString name = m_strFileName;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (!closed) CFileException::ThrowOsError(static_cast<LONG>(error), name);
}

void CFile::Rename(const char* lpszOldName, const char* lpszNewName) {
  if (!MoveFileA(lpszOldName, lpszNewName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszOldName);
}

void CFile::Remove(const char* lpszFileName) {
  if (!DeleteFileA(lpszFileName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
}

void CFile::ThrowLastError() const {
  CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

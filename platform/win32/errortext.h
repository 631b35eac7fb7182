// The system's texts for error codes, as FormatMessageA gives them from the system's message table.
//
// Kept: FORMAT_MESSAGE_FROM_SYSTEM for a Win32 error code or an HRESULT (an HRESULT 0x8007xxxx has
// the text of the Win32 code xxxx), in the system's language, Portuguese, whatever language is
// asked for; the texts are Windows-1252 and end with CR LF, as Windows' do. A maximum width in the
// low byte of the flags (FORMAT_MESSAGE_MAX_WIDTH_MASK) asks for no line breaks: the final CR LF
// becomes one blank, as on Windows. Inserts are never expanded (the table's texts have none).
//
// Not kept: message tables of modules and message strings of the caller
// (FORMAT_MESSAGE_FROM_HMODULE, FORMAT_MESSAGE_FROM_STRING) and FORMAT_MESSAGE_ALLOCATE_BUFFER,
// which fail with ERROR_INVALID_PARAMETER; line wrapping at a given width (any width drops the line
// breaks).
//
// Only the codes that the system meets have a text; any other gives 0 and ERROR_MR_MID_NOT_FOUND.
// One text is longer than Windows': ERROR_NOT_SUPPORTED, which the layer gives only for a file on
// a network file system (file.h), says so after Windows' words.
// Safe from any thread.
#pragma once

#include <cstdarg>

#include "platform/win32/base.h"

constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x0100;
constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x0200;
constexpr DWORD FORMAT_MESSAGE_FROM_STRING = 0x0400;
constexpr DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x0800;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x1000;
constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x2000;
constexpr DWORD FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x00FF;

constexpr WORD LANG_NEUTRAL = 0x00;
constexpr WORD SUBLANG_DEFAULT = 0x01;
constexpr DWORD MAKELANGID(WORD primary, WORD sub) {
  return static_cast<DWORD>(sub << 10 | primary);
}

// Returns the number of characters written without the terminating zero, or 0 (last error
// ERROR_MR_MID_NOT_FOUND for an unknown code, ERROR_INSUFFICIENT_BUFFER when the text and its zero
// do not fit in `size` characters).
DWORD FormatMessageA(DWORD flags, const void* source, DWORD message_id, DWORD language_id,
                     LPSTR buffer, DWORD size, va_list* arguments);

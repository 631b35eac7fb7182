// The server's data files and text helpers.
//
// CPPArqEx is the record file (CQVArqEx.h) through which every server method opens a data file,
// on its stack: after every physical open it checks that the file holds a whole number of records
// and refuses it with 1722 otherwise (a torn append, a wrong record length). Nothing is repaired:
// the refused file stays as it is for someone to look at, and no write can reach it. (An empty
// file, left by a creator killed before its header, is no such file: an open for writing gives it
// its header before the check, as the engine does for every record file.)
//
// The PP...Dyn functions reach the variable-record files (CQVArqDyn.h) and turn every exception of
// the file layer or of CQVArqDyn into one HRESULT per function (PPErroHResult of 1590, 1697, 1698,
// 1699 or 1700); the exception's own cause is not kept. A file that is not a variable-record file
// is refused at the open (1697) and left untouched.
//
// Everything here is free of shared state; each object or file serves one thread at a time.
#pragma once

#include <cstdint>

#include "foundation/CQVArqDyn.h"
#include "foundation/CQVArqEx.h"
#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

class CPPArqEx : public CQVArqEx {
 public:
  CPPArqEx() = default;
  ~CPPArqEx() override = default;

  // 1722 when the file's length is not a multiple of the record length, else 0.
  int VerificaTamanho();
  int AposAbrir() override { return VerificaTamanho(); }
};

// Copies the text with its terminator into a destination of `tamanho` bytes; a longer text is cut
// and still terminated. A null text copies as empty.
void PPCopiaTexto(char* destino, int tamanho, const char* origem);
// Fills a fixed-width field: at most `tamanho` characters, zero-padded, no terminator when the text
// fills the field.
void PPCopiaTextoN(char* destino, int tamanho, const char* origem);

// 0 when the file exists; else creates it as an empty variable-record file.
HRESULT PPCriaArquivoDyn(const char* caminho);
// PPCriaArquivoDyn, then opens the file with the framework's flags.
HRESULT PPAbreArquivoDyn(const char* caminho, CQVArqDyn* arquivo, UINT flags);
// Opens the file (read-write, deny write), writes the text (no terminator) at *ponteiro (0 =
// append; in place when it fits; else appended and *ponteiro changed) and closes it. An empty text
// sets *ponteiro to 0 and writes nothing.
HRESULT PPGravaTextoArquivoDyn(const char* caminho, const char* texto, uint32_t* ponteiro);
HRESULT PPGravaTextoDyn(CQVArqDyn* arquivo, const char* texto, uint32_t* ponteiro);
// The text of the record at `ponteiro`, up to its end or its first zero byte; pointer 0 (no text)
// gives an empty text.
HRESULT PPLeTextoDyn(CQVArqDyn* arquivo, uint32_t ponteiro, CString& texto);
HRESULT PPFechaArquivoDyn(CQVArqDyn* arquivo);

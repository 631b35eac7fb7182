// An open-file set: the data files of one entity (a technical sheet, a month of production orders,
// a resource type, the production targets of a month) opened and closed together by a server
// method that declares the set on its stack. The method selects files with a bit set
// (SetArquivos), then picks the mode and, for period files, the month (SetModo), and reads and
// writes through the subclass's member file objects.
//
// The frame is written once here. A subclass owns its member files (CPPArqEx for fixed-size records,
// CQVArqDyn for variable-size ones) and only declares them, in opening order: bit, catalogue name or
// period prefix, record length. Abre, FechaArquivos, CarregaBuffers and Existe run over those
// declarations.
//
// A set is wholly open or wholly closed: a failed open closes again the files it had opened, and a
// member file is never given another name (month, mode) while it is still open on the old one,
// because the engine keeps an open object on its file (CQVArqEx.h) and its deny-write open would
// keep other processes' writers out of a month the set no longer works on.
//
// Deliberate behaviour that callers rely on:
// - SetModo of the mode (and month) already selected answers 0 without opening anything, also after
//   Fecha: the fixed-record files then reopen on demand, with their stored name and mode, at their
//   next use; the variable-record files stay closed.
// - Opening creates missing files (a zero record, listed in the control file), also in mode 'L';
//   a server that must not create a month's files asks Existe first. Mode 'C' empties them.
// - FechaArquivos closes every fixed-record file whatever the bits, and the variable-record files of
//   the bits given.
// - Nothing is loaded whole unless SetArquivosBuffer asks for it; no caller does.
//
// The set also carries the session of the master-data caches (CPPBufferDados), started only for a
// real user and session. A set serves one thread at a time; it is neither copied nor moved, since
// the declarations point into it.
#pragma once

#include <cstdint>
#include <vector>

#include "access/CPPBufferDados.h"
#include "platform/mfc/CString.h"
#include "platform/win32/base.h"
#include "server/CPPArqEx.h"

class CPPArquivos {
 public:
  CPPArquivos(const CPPArquivos&) = delete;
  CPPArquivos& operator=(const CPPArquivos&) = delete;
  virtual ~CPPArquivos() = default;

  // True when every file of the bits exists in the data directory (period files of `usMesAno`);
  // false for no bits. Bits that name no file of the set do not count.
  virtual bool Existe(uint32_t lBits, uint16_t usMesAno);
  // Called last by Inicializa; a negative result leaves the set uninitialised.
  virtual HRESULT AposInicializar() { return S_OK; }
  // FechaArquivos(lArquivos) when open; the set is closed afterwards even when a close failed.
  virtual HRESULT Fecha();
  // Opens the declared files of the bits in their order. On the first error, closes the files it
  // had opened and returns the error.
  virtual HRESULT Abre(uint32_t lBits);
  // Every fixed-record file, then the variable-record files of the bits; the first error ends it.
  virtual HRESULT FechaArquivos(uint32_t lBits);
  // The fixed-record files of lArquivosBuffer are read whole at their next read.
  virtual void CarregaBuffers();

  // A second Inicializa runs Finaliza first. 975 for a company without a data directory.
  HRESULT Inicializa(const char* empresa, uint16_t usUsuario, int32_t lSessao);
  // Back to uninitialised, with no mode selected; returns Fecha's result.
  HRESULT Finaliza();

  void SetArquivos(uint32_t lBits) { m_lArquivos = lBits; }
  uint32_t GetArquivos() const { return m_lArquivos; }
  void SetArquivosBuffer(uint32_t lBits) { m_lArquivosBuffer = lBits; }
  uint32_t GetArquivosBuffer() const { return m_lArquivosBuffer; }

  // Plain files: 0 when the mode is already selected; else closes, opens lArquivos in the mode and
  // loads the buffers. A failed open leaves the set closed with no mode selected, so that trying
  // the same mode again opens again.
  HRESULT SetModo(char cModo);
  // Period files: the same for the month and the mode together.
  HRESULT SetModo(uint16_t usMesAno, char cModo);

  // The cache session, or null when it was not started.
  CPPBufferDados* GetBufferDados() { return m_bufferDados.GetInicializado() ? &m_bufferDados : nullptr; }
  bool GetInicializado() const { return m_cInicializado != 0; }
  CString GetDiretorio() const { return m_strDiretorio; }
  uint16_t GetPeriodo() const { return m_usPeriodo; }
  char GetModo() const { return m_cModo; }
  bool EstaAberto() const { return m_cAberto != 0; }

 protected:
  // bPeriodo: the declared names are prefixes of monthly files, for Existe.
  explicit CPPArquivos(bool bPeriodo);

  // Declarations, in opening order. A file that accompanies the first of its bit opens and closes
  // with it, but Existe and CarregaBuffers look at the first file alone.
  void Declara(uint32_t lBit, CString (*nome)(), uint32_t ulTamanhoRegistro, CPPArqEx& arquivo);
  void DeclaraAcompanhante(uint32_t lBit, CString (*nome)(), uint32_t ulTamanhoRegistro, CPPArqEx& arquivo);
  void Declara(uint32_t lBit, CString (*nome)(), CQVArqDyn& arquivo);
  // Once the files of lBit are open, lAcrescimo joins lArquivos (later opens and closes include it).
  void AcrescentaAoAbrir(uint32_t lBit, uint32_t lAcrescimo);

  // The file's path (name or prefix + MMAA of the selected month) opened in the selected mode;
  // created when missing. A member still open, on whatever name, is closed first.
  HRESULT AbreArquivo(CPPArqEx& arquivo, const char* nome, uint32_t ulTamanhoRegistro);
  // 'C': create, read-write, deny write; 'G': read-write, deny write; else read-only, deny none.
  HRESULT AbreArquivoDyn(CQVArqDyn& arquivo, const char* nome);
  HRESULT FechaArquivo(CPPArqEx& arquivo);
  HRESULT FechaArquivoDyn(CQVArqDyn& arquivo);
  bool ExisteArquivo(const char* nome) const;
  bool ExisteArquivoPeriodo(const char* prefixo, uint16_t usMesAno) const;

 private:
  struct ArquivoDeclarado {
    uint32_t lBit;
    CString (*nome)();
    uint32_t ulTamanhoRegistro;  // 0: variable-record file
    CPPArqEx* pArquivo;          // exactly one of the two
    CQVArqDyn* pArquivoDyn;
    bool bAcompanhante;
    uint32_t lAcrescimo;  // joins lArquivos once this file is open
  };

  HRESULT AbreDeclarado(const ArquivoDeclarado& declarado);
  HRESULT FechaDeclarado(const ArquivoDeclarado& declarado);
  HRESULT Seleciona(uint16_t usMesAno, char cModo);
  CString Caminho(const char* nome, uint16_t usMesAno) const;

  uint8_t m_cInicializado = 0;
  uint16_t m_usPeriodo = 0;  // month number of the period files now selected; 0: plain files
  CString m_strEmpresa;
  CString m_strDiretorio;  // with its trailing backslash
  uint8_t m_cAberto = 0;
  char m_cModo = 0;  // 'L' read, 'G' read-write, 'C' create
  uint32_t m_lArquivos = 0xFFFFFFFF;
  uint32_t m_lArquivosBuffer = 0;
  CPPBufferDados m_bufferDados;

  bool m_bPeriodo;
  std::vector<ArquivoDeclarado> m_declarados;
};

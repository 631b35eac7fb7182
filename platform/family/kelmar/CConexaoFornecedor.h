// The base-system library's connection to the register of participants (clients, suppliers,
// carriers: "CFRT"), as the production module reads its suppliers:
//
//   CConexaoCFRT        holds the register's interface: none until Inicializa (company, user,
//                       session) succeeds, let go of by Finaliza and by the destructor.
//   CConexaoFornecedor  the supplier connection that the order handler holds.
//   CConexaoCFRTGrupo   reads one participant's group of records through a connection's interface;
//                       of that group this system reads only the base record.
//
// Stand-in. The register lives in the table "CFRT.DAT" of the company's base-system directory
// (value "DF"), records of _REG_CFRT_BASEPS, a participant's pointer being its place from 1; it is
// read fresh on every call and seeded by CadastroCFRT::Grava. A pointer it does not hold is
// kFamiliaNaoEncontrado, never an empty record with success. The interface object is one of the
// ClasseFamilia CadastroCFRT::Classe(), created in the process (no server to start), so tests
// inject through it: FailStarts(n) fails the next n creations, FalhaInicializacao(hr) the
// initialisations, FalhaMetodo("LeBase", n, hr) the next n reads; Inicializacoes() lists what the
// initialisations received. Not kept from the library: the participant's other records of the
// group, its searches and writes, none of which this system calls.
//
// A connection serves one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "platform/family/comum/ServidorFamilia.h"

#pragma pack(push, 2)

// A participant's base record. This system reads only the location text at its offset 1948, which
// it compares with a branch's without regard to case; every other byte is the library's.
struct _REG_CFRT_BASEPS {
  uint8_t cReservado0[1948];
  char szLocalizacao[14];  // zero-terminated
  uint8_t cReservado1962[86];
};
static_assert(sizeof(_REG_CFRT_BASEPS) == 2048);
static_assert(offsetof(_REG_CFRT_BASEPS, szLocalizacao) == 1948);

#pragma pack(pop)

// {6E0B7A52-3C1D-4F8E-9A41-2D5C7B90E113} / {6E0B7A53-3C1D-4F8E-9A41-2D5C7B90E113}
constexpr CLSID CLSID_QVKL_CFRT = {
    0x6E0B7A52, 0x3C1D, 0x4F8E, {0x9A, 0x41, 0x2D, 0x5C, 0x7B, 0x90, 0xE1, 0x13}};
constexpr IID IID_IQVKL_CFRT = {
    0x6E0B7A53, 0x3C1D, 0x4F8E, {0x9A, 0x41, 0x2D, 0x5C, 0x7B, 0x90, 0xE1, 0x13}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct IQVKL_CFRT : IUnknown {
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao) = 0;
  // The base record of the participant at lPonteiro.
  virtual HRESULT LeBase(int32_t lPonteiro, _REG_CFRT_BASEPS* pRegBase) = 0;
};

#pragma GCC diagnostic pop

class CConexaoCFRT {
 public:
  CConexaoCFRT() = default;
  CConexaoCFRT(const CConexaoCFRT&) = delete;
  CConexaoCFRT& operator=(const CConexaoCFRT&) = delete;
  ~CConexaoCFRT();

  // Lets go of any interface held, creates a new one and initialises it with the session
  // (empresa in Windows-1252). The creation's or the initialisation's failure is returned and
  // leaves the connection without interface.
  HRESULT Inicializa(const char* empresa, uint16_t usUsuario, int32_t lNumeroSessao);
  void Finaliza();
  // Null until a successful Inicializa; the connection keeps it (the caller does not release it).
  IQVKL_CFRT* GetInterface() const { return m_pInterface; }

 private:
  IQVKL_CFRT* m_pInterface = nullptr;
};

// The supplier connection: a connection to the register, through which suppliers are read.
class CConexaoFornecedor : public CConexaoCFRT {};

class CConexaoCFRTGrupo {
 public:
  explicit CConexaoCFRTGrupo(IQVKL_CFRT* pInterface) : m_pInterface(pInterface) {}

  // The base record of the participant at lPonteiro; E_POINTER without interface or record, the
  // register's failure otherwise (*pRegBase is then unchanged).
  HRESULT Le(int32_t lPonteiro, _REG_CFRT_BASEPS* pRegBase) const;

 private:
  IQVKL_CFRT* m_pInterface;
};

// The stand-in's side for tests and the run command.
class CadastroCFRT {
 public:
  // The class of the interface objects, for injections and what the initialisations received.
  static ClasseFamilia& Classe();
  // Replaces the register of `empresa` with `registros` (pointers 1..n in order): S_OK,
  // kFamiliaSemDiretorio, or the file's error as an HRESULT.
  static HRESULT Grava(const std::string& empresa, const std::vector<_REG_CFRT_BASEPS>& registros);
};

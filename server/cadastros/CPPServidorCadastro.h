// The frame of the master-data handlers (processes, order types, resources, resource types,
// production operations, flows, sections, collections, scrap reasons): each handler is a
// declaration of its files, lock, history text and record offsets (PPDeclaracaoCadastro), its
// converters between disk and COM records, and the hooks where it departs from the frame.
//
// On disk an entity keeps a main file of fixed records (record 0 is the zero header, a record's
// number is its pointer everywhere), dependent lists as runs of records in further fixed-record
// files (the main record keeps the run's first record and its length) and free texts in a
// variable-record file (the main record keeps the text's offset). Removal only sets a mark: the
// record keeps its number, every search skips it, and reading it answers 1586.
//
// Each change runs under the entity's lock file, held from before the first read to after the last
// write, so two processes never interleave their appends; reads take no lock. Nothing is cached
// between calls but the filter: each operation opens and closes its files. A change that fails
// half-way leaves what it appended unreferenced (a list run, a text) and the main record as it
// was: the main record is written last.
//
// The record routines (PP...Cadastro) are free functions too, for the handler that lives on
// another base (resource types derive from the cache frame) and must still be declarations over
// this one.
//
// A handler serves one thread at a time and takes no in-process lock.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVCom.h"
#include "platform/family/base/InterfacesBase.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "platform/mfc/CString.h"
#include "server/CPPArqEx.h"
#include "server/CPPHistorico.h"
#include "server/PPTextosStatus.h"
#include "server/idl/VarmoRegistrosComuns.h"

class CPPServidorMestrePP;

// Message numbers of the frame (1585: not initialised, CPPServidorMestrePP.h; 975: no data
// directory, 1590: a text-file failure, PPTextosStatus.h).
constexpr uint32_t kPPErroRegistroRemovido = 1586;
constexpr uint32_t kPPErroArgumentoInvalido = 1587;
constexpr uint32_t kPPErroRegistroEmUso = 1588;

// One file of an entity: its catalogue name and record length (0: a variable-record text file).
struct PPArquivoCadastro {
  CString (*pNome)();
  uint32_t ulTamanhoRegistro;
};

struct PPDeclaracaoCadastro {
  const PPArquivoCadastro* pArquivos;  // the main file first
  int iQuantArquivos;
  int iMarca;                // the entity's lock number
  const char* szHistorico;   // the history text (code, description); null: the entity writes none
  bool bHistoricoSemCOM;     // the history client opens also for handlers built by handlers
  uint32_t ulRemovido;       // offsets in the main record
  uint32_t ulCodigo;
  uint32_t ulDescricao;
  uint32_t ulTamanhoCodigo;
  uint32_t ulTamanhoDescricao;

  uint32_t TamanhoRegistro() const { return pArquivos[0].ulTamanhoRegistro; }
};

using PPRegistroDisco = std::vector<uint8_t>;
// Whether a record (not removed) passes a filter; it may read further files.
using PPTesteFiltro = std::function<bool(uint32_t ulPntr, const PPRegistroDisco& disco)>;

// ---- Record routines ---------------------------------------------------------------------------

CString PPCaminhoCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao, int iArquivo = 0);
// Creates what is missing: a fixed-record file with its zero header, a text file with its
// signature. A file that exists is left as it is.
HRESULT PPCriaArquivosCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao);
bool PPRegistroRemovido(const PPDeclaracaoCadastro& declaracao, const PPRegistroDisco& disco);
CString PPCodigoDisco(const PPDeclaracaoCadastro& declaracao, const PPRegistroDisco& disco);
CString PPDescricaoDisco(const PPDeclaracaoCadastro& declaracao, const PPRegistroDisco& disco);

// The pointers of the records that are not removed and pass `passa` (null: all), ascending.
HRESULT PPBuscaPonteirosCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao,
                                 const PPTesteFiltro& passa, std::vector<uint32_t>* ponteiros);
// The first record, not removed and passing `passa`, whose code equals `codigo` without regard
// to case; 0 when none. An empty code gives 1587.
HRESULT PPExisteCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao, const CString& codigo,
                         const PPTesteFiltro& passa, uint32_t* pulPntr);
// Marks the record removed and writes the 'E' line when `historico` is open; a removed record is
// left as it is, with success. The caller holds the lock.
HRESULT PPMarcaRemovidoCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao,
                                uint32_t ulPntr, CPPHistorico* historico);
// Appends `quantidade` records of `tamanho` bytes to a fixed-record file; *pulPrimeiro receives
// the number of the first (0 when there is none to append).
HRESULT PPAnexaRegistros(const CString& caminho, uint32_t tamanho, const uint8_t* registros, uint32_t quantidade,
                         uint32_t* pulPrimeiro);
// The same four on a file that the caller has open (the entity's main file where the forms above
// name a directory; 'G' for the writers) and closes afterwards: for the handler whose files open
// together through a file set (resource types). The 'E' line follows the rewrite at once.
HRESULT PPBuscaPonteirosCadastro(CPPArqEx& arquivo, const PPDeclaracaoCadastro& declaracao, const PPTesteFiltro& passa,
                                 std::vector<uint32_t>* ponteiros);
HRESULT PPExisteCadastro(CPPArqEx& arquivo, const PPDeclaracaoCadastro& declaracao, const CString& codigo,
                         const PPTesteFiltro& passa, uint32_t* pulPntr);
HRESULT PPMarcaRemovidoCadastro(CPPArqEx& arquivo, const PPDeclaracaoCadastro& declaracao, uint32_t ulPntr,
                                CPPHistorico* historico);
// Records of the file's own length.
HRESULT PPAnexaRegistros(CPPArqEx& arquivo, const uint8_t* registros, uint32_t quantidade, uint32_t* pulPrimeiro);

// Hands the pointers to a caller's list (_REG_VARMO_PONTEIROSPS or _REG_VARMO_PONTEIROS_ULONGPS):
// an array from the task allocator, none when the list is empty.
template <class Lista>
HRESULT PPEntregaPonteiros(const std::vector<uint32_t>& ponteiros, Lista* lista) {
  using Elemento = std::remove_pointer_t<decltype(lista->plPonteiro)>;
  lista->lQtd = 0;
  lista->plPonteiro = nullptr;
  if (ponteiros.empty()) return S_OK;
  auto* array = static_cast<Elemento*>(CoTaskMemAlloc(ponteiros.size() * sizeof(Elemento)));
  if (!array) return E_OUTOFMEMORY;
  for (size_t i = 0; i < ponteiros.size(); ++i) array[i] = static_cast<Elemento>(ponteiros[i]);
  lista->plPonteiro = array;
  lista->lQtd = static_cast<decltype(lista->lQtd)>(ponteiros.size());
  return S_OK;
}

// Reads `quantidade` records from record `primeiro` of an open fixed-record file into a new array
// of the task allocator, each converted by converte(disco, elemento) over a zeroed element. An
// empty run gives a null array. On failure nothing stays allocated.
template <class Elemento, class Converte>
HRESULT PPLeListaCadastro(CPPArqEx& arquivo, uint32_t primeiro, uint32_t quantidade, Elemento** ppElementos,
                          Converte converte) {
  *ppElementos = nullptr;
  if (quantidade == 0) return S_OK;
  auto* elementos = static_cast<Elemento*>(CoTaskMemAlloc(quantidade * sizeof(Elemento)));
  if (!elementos) return E_OUTOFMEMORY;
  PPRegistroDisco disco(arquivo.GetTamanhoRegistro());
  for (uint32_t i = 0; i < quantidade; ++i) {
    if (int erro = arquivo.Le(primeiro + i, disco.data())) {
      CoTaskMemFree(elementos);
      return PPErroHResultMotor(erro);
    }
    elementos[i] = Elemento{};
    converte(disco, elementos[i]);
  }
  *ppElementos = elementos;
  return S_OK;
}

// A text field of a COM or disk record, never read past the field.
template <size_t N>
CString PPTextoCampo(const char (&campo)[N]) {
  return CString(campo, static_cast<int>(N));
}
// Fills a text field of a COM record, cut so that its terminator fits.
template <size_t N>
void PPCopiaCampo(char (&campo)[N], const char* texto) {
  PPCopiaTexto(campo, static_cast<int>(N), texto);
}
// Fills a fixed-width text field of a disk record: zero-padded, no terminator when the text fills it.
template <size_t N>
void PPCopiaCampoDisco(char (&campo)[N], const char* texto) {
  PPCopiaTextoN(campo, static_cast<int>(N), texto);
}
// The text of a BSTR in the system's code page.
CString PPTextoBSTR(BSTR texto);
// Any failure of a text file, as the handlers report it: 1590.
HRESULT PPErroTexto(HRESULT hr);
// A dependent list whose count is above 0 must bring its array: 1587 otherwise.
HRESULT PPVerificaLista(uint32_t quantidade, const void* array);

// The base system's user server, started for a session of the company (for a user's rights).
using PPServidorUsuario = CQVComPtr<IQVDF_Usuario, IID_IQVDF_Usuario>;
HRESULT PPAbreServidorUsuario(const CString& empresa, uint16_t usUsuario, int32_t lSessao,
                              PPServidorUsuario* servidor);

// Field access in a disk record by offset (records are packed: no alignment is assumed).
template <class T>
T PPCampoDisco(const PPRegistroDisco& disco, uint32_t offset) {
  T valor;
  std::memcpy(&valor, disco.data() + offset, sizeof valor);
  return valor;
}
template <class T>
void PPDefineCampoDisco(PPRegistroDisco& disco, uint32_t offset, T valor) {
  std::memcpy(disco.data() + offset, &valor, sizeof valor);
}

// A main record's dependent list: each of the `quantidade` COM elements turned into its disk
// record by converte(element, zeroed record), the run appended to the file at `caminho`, and its
// first record and count set in `disco` at the two offsets. An empty list appends nothing and
// leaves `disco` as it is.
template <class Disco, class Elemento, class Converte>
HRESULT PPAnexaListaDependente(const CString& caminho, uint16_t quantidade, const Elemento* elementos,
                               Converte converte, PPRegistroDisco& disco, size_t deslocamentoPrimeiro,
                               size_t deslocamentoQuantidade) {
  if (quantidade == 0) return S_OK;
  std::vector<Disco> registros(quantidade);
  for (uint16_t i = 0; i < quantidade; ++i) {
    std::memset(static_cast<void*>(&registros[i]), 0, sizeof(Disco));
    converte(elementos[i], registros[i]);
  }
  uint32_t ulPrimeiro = 0;
  if (HRESULT hr = PPAnexaRegistros(caminho, sizeof(Disco), reinterpret_cast<const uint8_t*>(registros.data()),
                                    quantidade, &ulPrimeiro))
    return hr;
  PPDefineCampoDisco(disco, deslocamentoPrimeiro, ulPrimeiro);
  PPDefineCampoDisco(disco, deslocamentoQuantidade, quantidade);
  return S_OK;
}

// A whole disk record as the bytes that the frame's routines take (PPCampoDisco<T>(disco, 0) reads
// it back).
template <class T>
PPRegistroDisco PPDiscoDoRegistro(const T& registro) {
  PPRegistroDisco disco(sizeof registro);
  PPDefineCampoDisco(disco, 0, registro);
  return disco;
}

// The text copies for a handler's converter that lists its record's fields once for both ways, as
// Campos(para, de, texto) over a COM record and a disk record whose fields bear the same names:
// to a disk field zero-padded, to a COM field terminated.
inline constexpr auto kPPTextoParaDisco = [](auto& para, const auto& de) {
  PPCopiaCampoDisco(para, PPTextoCampo(de));
};
inline constexpr auto kPPTextoParaCOM = [](auto& para, const auto& de) { PPCopiaCampo(para, PPTextoCampo(de)); };

// ---- The handler frame -------------------------------------------------------------------------

class CPPServidorCadastro {
 public:
  explicit CPPServidorCadastro(const PPDeclaracaoCadastro& declaracao) : m_declaracao(declaracao) {}
  virtual ~CPPServidorCadastro();
  CPPServidorCadastro(const CPPServidorCadastro&) = delete;
  CPPServidorCadastro& operator=(const CPPServidorCadastro&) = delete;

  // chamadaCOM: the call comes from a client, so the company's data version is checked (the
  // master settings' Inicializa) and the history client opens. On failure the handler stays
  // uninitialised and holds nothing.
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint8_t chamadaCOM);
  HRESULT Finaliza();
  HRESULT Remove(int32_t lPntr);
  bool EstaInicializado() const { return m_bInicializado; }

 protected:
  // ---- Hooks -------------------------------------------------------------------------------------
  // The handler's own members (embedded handlers, caches, its filter), after the files.
  virtual HRESULT InicializaMembros(const _REG_VARMO_INICIALIZAPS& /*regPS*/, uint8_t /*chamadaCOM*/) {
    return S_OK;
  }
  virtual void FinalizaMembros() {}
  // Through COM, what the handler keeps of the master settings (the session user's record, its
  // access), while the master-settings handler of the version check is still alive.
  virtual HRESULT LeMestre(const CPPServidorMestrePP& /*mestre*/) { return S_OK; }
  // The filter test beyond the removed mark.
  virtual bool PassaFiltro(uint32_t /*ulPntr*/, const PPRegistroDisco& /*disco*/) { return true; }
  // Before a removal, under the lock: PPErroHResult(1588) when the record is in use.
  virtual HRESULT VerificaUso(uint32_t /*ulPntr*/) { return S_OK; }
  // A rewrite, under the lock, before the dependent data: what the new record keeps of the stored
  // one, `gravado`, which is not removed (an order type's numbering).
  virtual void MantemGravado(const PPRegistroDisco& /*gravado*/, PPRegistroDisco& /*disco*/) {}

  // ---- Operations for the handlers' public methods -----------------------------------------------
  HRESULT VerificaInicializado() const;
  // BuscaPonteiros' search through PassaFiltro.
  HRESULT BuscaPonteirosFiltro(std::vector<uint32_t>* ponteiros);
  template <class Lista>
  HRESULT BuscaPonteirosLista(Lista* lista) {
    if (!lista) return E_POINTER;
    if (HRESULT hr = VerificaInicializado()) return hr;
    lista->lQtd = 0;
    std::vector<uint32_t> ponteiros;
    if (HRESULT hr = BuscaPonteirosFiltro(&ponteiros)) return hr;
    return PPEntregaPonteiros(ponteiros, lista);
  }
  // Existe with PassaFiltro when cUtilizaFiltro is 1, else only the removed mark.
  template <class Ponteiro>
  HRESULT ExisteCodigo(BSTR bsCodigo, Ponteiro* plPntr, uint8_t cUtilizaFiltro) {
    if (!plPntr) return E_POINTER;
    if (HRESULT hr = VerificaInicializado()) return hr;
    uint32_t ulPntr = 0;
    const HRESULT hr = Existe(PPTextoBSTR(bsCodigo), cUtilizaFiltro, &ulPntr);
    *plPntr = static_cast<Ponteiro>(ulPntr);
    return hr;
  }
  // LePonteiros' frame: 1585, 1587 for lQtd <= 0, then each pointer's main record (1586 for a
  // removed one) goes to converte(i, pointer, disco), in order; the first failure stops.
  using PPConverteLido = std::function<HRESULT(int32_t i, uint32_t ulPntr, const PPRegistroDisco& disco)>;
  HRESULT LeRegistros(int32_t lQtd, const int32_t* plPonteiros, const PPConverteLido& converte);
  // Grava's frame: 1585, 1587 for a negative pointer (unless bAceitaNegativo), the lock, the
  // stored record's removed test and MantemGravado, dependentes(disco) (texts and lists, setting their references in
  // disco), the main record, the history line. *plPntrOut receives the record's number.
  using PPGravaDependentes = std::function<HRESULT(PPRegistroDisco& disco)>;
  HRESULT GravaRegistro(int32_t lPntrIn, PPRegistroDisco& disco, const PPGravaDependentes& dependentes,
                        const CString& codigo, const CString& descricao, int32_t* plPntrOut,
                        bool bAceitaNegativo = false);
  // Takes the entity's lock for an operation of the handler's own (counters, numbering).
  HRESULT Marca(CQVArqMarca* marca) const;

  const PPDeclaracaoCadastro& Declaracao() const { return m_declaracao; }
  CString Caminho(int iArquivo) const { return PPCaminhoCadastro(m_strDiretorio, m_declaracao, iArquivo); }
  const CString& GetEmpresa() const { return m_strEmpresa; }
  const CString& GetDiretorio() const { return m_strDiretorio; }
  uint16_t GetUsuario() const { return m_usUsuario; }
  int32_t GetSessao() const { return m_lSessao; }
  // The session record of the handler, for the handlers and caches it builds.
  _REG_VARMO_INICIALIZAPS GetSessaoPS() const { return m_regPS; }
  CPPHistorico& Historico() { return m_historico; }

 private:
  HRESULT Existe(const CString& codigo, uint8_t cUtilizaFiltro, uint32_t* pulPntr);
  HRESULT InicializaPassos(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM);
  void FinalizaFrame();

  const PPDeclaracaoCadastro& m_declaracao;
  bool m_bInicializado = false;
  _REG_VARMO_INICIALIZAPS m_regPS{};
  CString m_strEmpresa;
  uint16_t m_usUsuario = 0;
  int32_t m_lSessao = 0;
  CString m_strDiretorio;
  CPPHistorico m_historico;
};

// The frame with the handler's filter record: SetFiltro and LimpaFiltro answer 1585 before
// Inicializa; Finaliza zeroes the filter.
template <class Filtro>
class CPPServidorCadastroFiltro : public CPPServidorCadastro {
 public:
  using CPPServidorCadastro::CPPServidorCadastro;

  HRESULT SetFiltro(Filtro filtro) {
    if (HRESULT hr = VerificaInicializado()) return hr;
    m_filtro = filtro;
    return AposSetFiltro();
  }
  HRESULT LimpaFiltro() {
    if (HRESULT hr = VerificaInicializado()) return hr;
    m_filtro = Filtro{};
    AposLimpaFiltro();
    return S_OK;
  }
  const Filtro& GetFiltro() const { return m_filtro; }

 protected:
  // What a handler derives from its filter (an order's processes).
  virtual HRESULT AposSetFiltro() { return S_OK; }
  virtual void AposLimpaFiltro() {}
  void FinalizaMembros() override {
    m_filtro = Filtro{};
    AposLimpaFiltro();
  }

 private:
  Filtro m_filtro{};
};

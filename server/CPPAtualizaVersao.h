// The upgrade of a company's data files from one format version to the next: the version record
// "PPVERSAO.DAT", the base of the converters (CPPAtualizaVersao) and the frame of one conversion step
// (CPPPassoConversao).
//
// Every group of data files has a format version, kept in one of the 16 slots of the version record.
// A converter brings one group to its target, one step per version: a step never rewrites a data file
// in place; it writes the converted file beside it as ".TRA", then moves the old ".DAT" away to a
// versioned history copy ("%s_V%03i.HIS") and renames the ".TRA" into its place; then the slot
// rises by one. A converter declares only its group, its title and step names, its files, lengths,
// field rules and lines; the moves are written once, here.
//
// An upgrade must survive the death of its process at any moment, so every step keeps a journal,
// "PPVERSAO.DIA" in the data directory (no name the steps look for or move: not *.DAT, *.TRA, *.HIS):
//   - it names the group, the version the converter's run began at, the step's version and each
//     ".TRA" file, each before that file is created;
//   - once every ".TRA" is complete and closed, the list of moves is written and the journal is
//     marked committed; after each move it counts the moves done;
//   - after the slot rises it says that no step is in flight, and the converter's run removes it
//     after its clean-up of old history copies.
// Before any upgrade (PPResolveDiarioAtualizacao, under lock 1) a journal left by a dead process is
// resolved: uncommitted, its ".TRA" files are deleted and the step runs again; committed, the moves
// not yet done are completed and the slot raised when it still stands at the step's version. The
// run that finishes the group afterwards cleans up as the interrupted run would have, from the
// version that run began at, so a resumed upgrade leaves the same files as an uninterrupted one. A
// step that fails before its commit drops its journal and leaves its ".TRA" files (every later run
// refuses it with 1615, as the system always did); after the commit the journal stays for the next
// run.
//
// ".TRA" files and the journal are created without the directory's control file (CQVArqControle.h):
// they are made and removed again on purpose, and a listed name would be refused (16055) the next
// time a step creates it.
//
// Concurrency: converters run under entity lock 1, taken by the driver (CPPServidorMestrePP); they
// take no lock of their own. A converter object serves one run on one thread.
#pragma once

#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"
#include "platform/win32/base.h"
#include "server/CPPArqEx.h"
#include "server/CPPHistorico.h"
#include "server/PPTextosStatus.h"

// A group whose files have no converter for their version, or a step that failed without an error of
// the record engine (a leftover, a move, a position, a version mismatch).
constexpr uint32_t kPPErroAtualizacaoVersao = 1615;

// ---------------------------------------------------------------------------------------------------
// The version record: record 1 of "PPVERSAO.DAT" (64-byte records, record 0 the zero header)

// The slots of the version record, one per group of data files.
enum PPGrupoVersao : uint16_t {
  kPPGrupoMestre,              // "PPMESTRE.DAT", "PPMSIAEF.DAT", "PPVERSAO.DAT"
  kPPGrupoTipoOP,
  kPPGrupoProcesso,
  kPPGrupoFluxoProcesso,
  kPPGrupoOperacaoProducao,
  kPPGrupoFichaTecnica,
  kPPGrupoOrdemProducao,       // period files
  kPPGrupoCalendario,
  kPPGrupoSecao,
  kPPGrupoRecurso,
  kPPGrupoPlanoManutencao,
  kPPGrupoGestaoManutencao,    // period files
  kPPGrupoColecao,
  kPPGrupoMotivoRefugo,
  kPPGrupoMetasProducao,       // period files
  kPPGrupoTipoRecurso,
  kPPQuantidadeGrupos
};

// The format version of each group that this program reads and writes.
constexpr std::array<uint16_t, kPPQuantidadeGrupos> kPPVersoesAlvo = {3, 2, 1, 2, 2, 3, 9, 1, 1, 2, 1, 1, 1, 1, 2, 1};
// The version of the product family's data that the record carries.
constexpr uint16_t kPPVersaoOrvel = 64;
constexpr uint32_t kPPTamanhoRegistroVersao = 64;
constexpr uint32_t kPPRegistroVersao = 1;

#pragma pack(push, 1)
struct PPRegistroVersao {
  uint16_t usVersao[kPPQuantidadeGrupos];  // slot n: the version of group n (usVersaoMestre .. usVersaoTipoRecurso)
  uint8_t cZeros[26];
  uint16_t usVersaoOrvel;
  uint16_t usDataCriacao;          // day number
  uint16_t usDataUltimaConversao;  // day number of the last version change, 0 until one
};
#pragma pack(pop)
static_assert(sizeof(PPRegistroVersao) == kPPTamanhoRegistroVersao);
static_assert(offsetof(PPRegistroVersao, usVersao) == 0);
static_assert(offsetof(PPRegistroVersao, cZeros) == 32);
static_assert(offsetof(PPRegistroVersao, usVersaoOrvel) == 58);
static_assert(offsetof(PPRegistroVersao, usDataCriacao) == 60);
static_assert(offsetof(PPRegistroVersao, usDataUltimaConversao) == 62);

// The 82-byte audit record of a change of record 1, appended to "PPVERSAO.HIS"
// (CPPHistorico::GravaRegistro fills the header): pointer 1, code 0.
void PPGravaHistoricoVersao(const char* arquivoVersao, const PPRegistroVersao& registro, uint16_t usuario,
                            int32_t sessao, char tipo);

// Today's day number from the clock (QVRelogio.h); the clock's failure as an HRESULT instead of its
// exception.
HRESULT PPDiaAtual(uint16_t* usDia);

// ---------------------------------------------------------------------------------------------------
// Test seam

// The crash tests of the upgrade end the process right after a given change on disk. The observer,
// when set, is told of each write, rename and delete that the upgrade makes (the driver, the
// converters, their journal, their audit records), right after it is made. Null in the program.
using PPObservadorAtualizacao = void (*)(const char* operacao, const char* arquivo);
void PPDefineObservadorAtualizacao(PPObservadorAtualizacao observador);
void PPNotificaAtualizacao(const char* operacao, const char* arquivo);

// The record file of the upgrade: a CPPArqEx that tells the observer of each write.
class CPPArquivoAtualizacao : public CPPArqEx {
 public:
  void Write(const void* lpBuf, UINT nCount) override;
  // The journal is read whatever its length: an append cut short there is its own business.
  void SetVerificaTamanho(bool bVerifica) { m_bVerificaTamanho = bVerifica; }
  int AposAbrir() override { return m_bVerificaTamanho ? CPPArqEx::AposAbrir() : 0; }

 private:
  bool m_bVerificaTamanho = true;
};

// ---------------------------------------------------------------------------------------------------
// The converters

class CPPDiarioAtualizacao;
class CPPAtualizaVersao;
struct PPPassoUmArquivo;

// The driver's table: the converter of each group, built for one run. A group without one (or with a
// null entry) cannot be upgraded: 1615.
using PPCriaConversor = std::unique_ptr<CPPAtualizaVersao> (*)();
struct PPConversorGrupo {
  uint16_t usGrupo;
  PPCriaConversor pCria;
};
using PPTabelaConversores = std::array<PPConversorGrupo, 13>;

template <class Conversor>
std::unique_ptr<CPPAtualizaVersao> PPCriaConversorDe() {
  return std::make_unique<Conversor>();
}

// The builder of the converter of `grupo` in the table; null when it has none.
PPCriaConversor PPConversorDoGrupo(const PPTabelaConversores& tabela, uint16_t grupo);

// The journal of the company whose data directory is given: "PPVERSAO.DIA" there.
CString PPArquivoDiarioAtualizacao(const char* diretorio);

// Resolves the journal that an interrupted step left in the company's data directory (see the top):
// 0 when there is none, or when it is resolved; else the failure, and the journal stays. The caller
// holds lock 1. The converters of the table clean up a group that a resumed step has brought to its
// target.
HRESULT PPResolveDiarioAtualizacao(const char* empresa, uint16_t usuario, const PPTabelaConversores& tabela);

// What a converter says of itself.
struct PPDescricaoConversor {
  uint16_t usGrupo;
  // The title of its lines ("AtualizaMestre"); null for the converters that only number their group.
  const char* pszTitulo = nullptr;
  // The names of its steps, the first one for version 1 ("AtualizaMestreV01_p_V02", ...): the target
  // is one past the last. Empty: the group goes from version 0 to 1 without file work.
  std::vector<const char*> passos;
  // The group's list of fixed files, for the clean-up of old history copies; null: none (the
  // converters of period files clean up with their own loop).
  void (*pListaArquivos)(CStringArray& lista) = nullptr;
};

class CPPAtualizaVersao {
 public:
  virtual ~CPPAtualizaVersao();
  CPPAtualizaVersao(const CPPAtualizaVersao&) = delete;
  CPPAtualizaVersao& operator=(const CPPAtualizaVersao&) = delete;

  // Runs the step that starts at usVersao, and sets the clean-history flag when it converts files; a
  // version without a step: PPErroHResult(1615).
  virtual HRESULT Converte(uint16_t usVersao) = 0;
  // Every step from usVersao up to the target, the slot raised after each, with the lines
  // "<title> -> processo iniciado", "<step> -> processo iniciado", "<step> -> processo encerrado",
  // "<title> -> processo encerrado" (whose result is ignored); any other negative result ends it.
  // A converter without steps raises its slot from 0 to 1 and writes no line.
  virtual HRESULT Atualiza(uint16_t usVersao);
  // Removes older history copies of the group's files: LimpaHistorico(list, usVersao) over the
  // declared list.
  virtual void LimpaHistorico(uint16_t usVersao);

  // The driver's only call: opens the history client (company, user, session 0) and the version
  // file ('G'), runs Atualiza and, when it did not fail and the flag is set, LimpaHistorico with the
  // version the run began at (usVersao, or the one that a journal of an interrupted run names).
  // Errors of the set-up: the client's, 975, or the line "Abrir arquivo %s" and the engine's error.
  HRESULT Executa(const char* empresa, uint16_t usuario, uint16_t usVersao);

  // Raises the slot from usVersao to usVersao + 1 (today as the last conversion) and appends the
  // "A" audit record; usVersao follows. A stored value other than usVersao: the line
  // "AtualizaNumeroVersao -> De %i para %i" (stored, usVersao + 1) and 1615.
  HRESULT AtualizaNumeroVersao(uint16_t usGrupo, uint16_t& usVersao);
  // Full ".DAT" names, in order. RemoveArquivos deletes each file and turns its audit history
  // (".HIS"), when there is one, into the history copy of usVersao; RemoveArquivosMovimentacao
  // renames each file to ".HIS" and that to its history copy. A failure ends the list with its line.
  HRESULT RemoveArquivos(const CStringArray& arquivos, uint16_t usVersao);
  HRESULT RemoveArquivosMovimentacao(const CStringArray& arquivos, uint16_t usVersao);
  // Deletes the history copies of versions 1 .. quantidade - 1 of each named file (".DAT" name, with
  // or without directory) that exist in the data directory.
  void LimpaHistorico(const CStringArray& arquivos, uint16_t quantidade);

  const CString& GetDiretorio() const { return m_strDiretorio; }
  const CString& GetEmpresa() const { return m_strEmpresa; }
  uint16_t GetUsuario() const { return m_usUsuario; }
  bool GetManterHistorico() const { return m_bManterHistorico; }
  void SetLimparHistorico(bool bLimpar) { m_bLimparHistorico = bLimpar; }
  uint16_t GetGrupo() const { return m_descricao.usGrupo; }

 protected:
  explicit CPPAtualizaVersao(PPDescricaoConversor descricao);

  // One history line of kind "I": the formatted text (a ready text goes as the argument of "%s").
  HRESULT GravaLinha(const char* formato, ...) __attribute__((format(printf, 2, 3)));
  // The line, then `erro`; the line's own failure instead when writing it fails.
  HRESULT LinhaComErro(HRESULT erro, const char* formato, ...) __attribute__((format(printf, 3, 4)));
  // The step that starts at usVersao as the declaration says (PPPassoUmArquivo, below).
  HRESULT ConverteUmArquivo(uint16_t usVersao, const PPPassoUmArquivo& declaracao);

 private:
  friend class CPPPassoConversao;
  friend HRESULT PPResolveDiarioAtualizacao(const char*, uint16_t, const PPTabelaConversores&);

  struct Movimento;

  // The line, then `erro` (or the line's failure).
  HRESULT EscreveLinha(HRESULT erro, const char* formato, va_list argumentos);

  // Executa's set-up and its end.
  HRESULT Prepara(const char* empresa, uint16_t usuario);
  void Encerra();
  // Resolves the journal of this converter's group (PPResolveDiarioAtualizacao): reads it, undoes
  // an uncommitted step or completes a committed one, and ends the run of a group left at its target.
  HRESULT RetomaDiario(const char* empresa, uint16_t usuario);
  HRESULT ResolveDiarioLido();
  HRESULT DesfazPasso();
  HRESULT CompletaPasso();

  // The journal of the step in flight.
  int IniciaPassoDiario(uint16_t usVersaoPasso);
  int RegistraTRA(const CString& nomeTRA);
  int ConfirmaDiario(const std::vector<Movimento>& movimentos);
  void ConcluiPassoDiario();
  void DescartaDiario();
  void RemoveDiario();
  // Makes moves[inicio ..] in order (counted in the journal when bDiario); with bRetomada the first may
  // have been made already by a process that died. On failure *falha is the failing move.
  HRESULT ExecutaMovimentos(const std::vector<Movimento>& movimentos, uint32_t inicio, bool bDiario, bool bRetomada,
                            size_t* falha);
  HRESULT ExecutaMovimento(const Movimento& movimento, bool bRetomada);
  void MovimentosDeRemocao(const CStringArray& arquivos, uint16_t usVersao, bool bMovimentacao, uint8_t lista,
                           std::vector<Movimento>& movimentos) const;

  PPDescricaoConversor m_descricao;
  CPPArquivoAtualizacao m_arqVersao;
  CPPHistorico m_historico;
  CString m_strEmpresa;
  uint16_t m_usUsuario = 0;
  CString m_strDiretorio;
  CString m_strArquivoVersao;
  bool m_bManterHistorico = false;  // never set: history copies are always made
  bool m_bLimparHistorico = false;
  uint16_t m_usVersaoInicial = 0;  // the version the converter's run began at
  std::unique_ptr<CPPDiarioAtualizacao> m_pDiario;
};

// The converters that only number their group (version 0 to 1, no files): Converte is never called
// and gives 1615.
class CPPAtualizaVersaoNumeracao : public CPPAtualizaVersao {
 public:
  CPPAtualizaVersaoNumeracao(uint16_t usGrupo, void (*pListaArquivos)(CStringArray&));
  HRESULT Converte(uint16_t usVersao) override;
};

// ---------------------------------------------------------------------------------------------------
// The frame of one conversion step
//
// A converter's Converte declares the step and runs it:
//
//   CPPPassoConversao passo(*this, usVersao);
//   passo.VerificaSobras({"*.TRA"}, "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi);
//   const int lista = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
//   return passo.Executa([&] {
//     CPPArqEx* antigo;
//     CPPArqEx* convertido;
//     if (HRESULT hr = passo.AbreAntigo(passo.Caminho(...), 64, true, "Abrir arquivo %s", &antigo)) return hr;
//     if (HRESULT hr = passo.AbreTRA(lista, passo.Caminho(...), 88, "Abrir arquivo %s", &convertido)) return hr;
//     return passo.ConverteRegistros(*antigo, *convertido, regra, "Ler registro - %i", "Gravar registro - %i");
//   });
//
// Executa makes the seven moves in order: (1) the leftover check, (2) the stale-history clean-up,
// (3) the step without its main file, (4, 5) the conversion that the converter gives (its opens,
// records and lines), (6) after closing every file the old ".DAT" files leave, list by list, and
// (7) every ".TRA" file is renamed to its ".DAT" name, list by list; (6) and (7) only after the
// journal is committed. The slot is raised by Atualiza after Executa returns.
class CPPPassoConversao {
 public:
  enum Remocao : uint8_t {
    kSemRemocao,                  // new files: only renamed into place
    kRemoveArquivosMovimentacao,  // the old file becomes ".HIS", then its history copy
    kRemoveArquivos,              // the old file is deleted; its audit history becomes the copy
  };
  // A rule of the record loop: fills the zeroed new record from the old record number i.
  using Regra = std::function<void(uint32_t i, const uint8_t* antigo, uint8_t* novo)>;

  CPPPassoConversao(CPPAtualizaVersao& conversor, uint16_t usVersao);
  // Closes what is still open.
  ~CPPPassoConversao();
  CPPPassoConversao(const CPPPassoConversao&) = delete;
  CPPPassoConversao& operator=(const CPPPassoConversao&) = delete;

  // (1) A file of the data directory that matches one of the patterns ("*.TRA", "PPMT*.TRA", a
  // step's own ".TRA" names) refuses the step with the line and 1615 before anything is touched.
  void VerificaSobras(std::vector<CString> padroes, const char* linha);
  // (2) The ".HIS" name of each file (".DAT" names of the data directory, with or without it) is
  // deleted when present, with the line (one "%s": its full name); a failed delete is ignored.
  void RemoveHistoricosAntigos(const CStringArray& arquivos, const char* linha);
  // (3) Without this file (full name) the step converts nothing and succeeds.
  void NadaConverteSemArquivo(const CString& arquivo);
  // A list of converted files, in the order of the moves; the line is written when the removal of
  // its old files fails (after the removal's own line).
  int Lista(Remocao remocao, const char* linhaFalhaRemocao = nullptr);

  HRESULT Executa(const std::function<HRESULT()>& converte);

  // For the conversion:
  uint16_t GetVersao() const { return m_usVersao; }
  // The data directory joined with a file name.
  CString Caminho(const char* nome) const;
  // (4) Opens an old file for reading ('L') with its old length; failure: the line (one "%s": the
  // full name) and the engine's error. The file stays open until FechaArquivos or the moves.
  HRESULT AbreAntigo(const char* arquivo, uint32_t tamanho, bool bCria, const char* linha, CPPArqEx** ppArquivo);
  // (4) Opens or creates the ".TRA" file of `arquivoDAT` ('G', the new length) and puts the pair on
  // the list; the journal names it first. Failure as AbreAntigo, with the ".TRA" name.
  HRESULT AbreTRA(int lista, const char* arquivoDAT, uint32_t tamanho, const char* linha, CPPArqEx** ppArquivo);
  // Closes every file opened so far (a period loop closes one month's before the next); they may no
  // longer be used. The first error of closing a ".TRA" file.
  int FechaArquivos();
  // (5) For i = 1 .. count of the old file: reads it (failure: linhaLer with i, the engine's error),
  // builds the new record by the rule and appends it (failure: linhaGravar with i); with linhaPosicao
  // the new record must land at i (otherwise that line with i and 1615).
  HRESULT ConverteRegistros(CPPArqEx& antigo, CPPArqEx& convertido, const Regra& regra, const char* linhaLer,
                            const char* linhaGravar, const char* linhaPosicao = nullptr);
  // The step's line, then `erro` (or the line's failure).
  HRESULT Falha(HRESULT erro, const char* formato, ...) __attribute__((format(printf, 3, 4)));

 private:
  struct ListaArquivos {
    Remocao remocao;
    const char* pszLinhaFalhaRemocao;
    CStringArray arquivosDAT;
    std::vector<CString> arquivosTRA;
  };

  HRESULT VerificaSobras();
  void RemoveHistoricosAntigos();
  HRESULT MoveArquivos();

  CPPAtualizaVersao& m_conversor;
  const uint16_t m_usVersao;
  std::vector<CString> m_padroesSobras;
  const char* m_pszLinhaSobras = nullptr;
  CStringArray m_historicosAntigos;
  const char* m_pszLinhaHistoricos = nullptr;
  CString m_strArquivoPrincipal;
  std::vector<ListaArquivos> m_listas;
  std::vector<std::unique_ptr<CPPArquivoAtualizacao>> m_arquivos;
  bool m_bDiarioIniciado = false;  // this step has begun its journal
};

// ---------------------------------------------------------------------------------------------------
// Declarations over the frame

// A field that a rule carries over unchanged: `largura` bytes from offset `antigo` of the old record
// to offset `novo` of the new one. A rule is its table of these, applied by PPCopiaCampos, and the
// fields it computes.
struct PPCampoCopiado {
  size_t novo;
  size_t antigo;
  size_t largura;
};

// Copies the fields of the table in its order.
void PPCopiaCampos(uint8_t* novo, const uint8_t* antigo, std::span<const PPCampoCopiado> campos);

// A step that converts one file of the data directory record by record into its ".TRA" file, the
// old file leaving as its history copy (kRemoveArquivosMovimentacao). Its lines are the step's name
// followed by " -> conversão anterior não terminou com sucesso" (a ".TRA" file in the directory) and
// " -> remover arquivo: %s" (a stale ".HIS" file deleted), then "Abrir arquivo %s",
// "Ler registro - %i" and "Gravar registro - %i".
struct PPPassoUmArquivo {
  CString (*pArquivo)();  // the file's name (CPPNomesArquivos)
  uint32_t ulTamanhoAntigo;
  uint32_t ulTamanhoNovo;
  // true: a missing old file is created and converted empty; false: without it the step converts
  // nothing and succeeds.
  bool bCria;
  CPPPassoConversao::Regra regra;
  // The stale ".HIS" files of the group's list of fixed files are deleted first.
  bool bRemoveHistoricosAntigos;
};

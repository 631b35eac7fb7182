#include "server/CPPAtualizaVersao.h"

#include <atomic>
#include <cstdarg>
#include <cstring>

#include "foundation/CQVException.h"
#include "foundation/QVCaminho.h"
#include "foundation/QVRelogio.h"
#include "platform/win32/codepage.h"
#include "platform/win32/file.h"
#include "server/CPPNomesArquivos.h"
#include "server/PPDatas.h"

namespace {

std::atomic<PPObservadorAtualizacao> g_observador{nullptr};

constexpr HRESULT kErroPasso = PPErroHResult(kPPErroAtualizacaoVersao);

// ---------------------------------------------------------------------------------------------------
// The journal's file: 128-byte records; record 0 the header, then the entries of every step of the
// converter's run, each step's from the header's first entry on.

constexpr uint32_t kTamanhoRegistroDiario = 128;
constexpr char kAssinaturaDiario[8] = {'P', 'P', 'D', 'I', 'A', 'R', 'I', 'O'};
constexpr uint32_t kTamanhoNomeDiario = 62;  // a name of the data directory, terminated

// States of the header.
constexpr char kDiarioAberto = 'A';      // a step is converting: its ".TRA" files are named below
constexpr char kDiarioConfirmado = 'C';  // every ".TRA" is complete; its moves are listed below
constexpr char kDiarioSemPasso = 'F';    // the last step's slot has risen; no step in flight

// Kinds of the entries: a ".TRA" file of the step, or one move.
constexpr char kEntradaTRA = 'T';
constexpr char kMoveParaHIS = 'M';          // RemoveArquivosMovimentacao: ".DAT" to ".HIS"
constexpr char kCopiaMovimentacao = 'V';    // RemoveArquivosMovimentacao: ".HIS" to the history copy
constexpr char kApagaDAT = 'D';             // RemoveArquivos: the ".DAT" file is deleted
constexpr char kCopiaHistoricoAudit = 'H';  // RemoveArquivos: the audit history to the history copy
constexpr char kRenomeiaTRA = 'R';          // the ".TRA" file to its ".DAT" name

#pragma pack(push, 1)
struct PPCabecalhoDiario {
  char cAssinatura[8];
  char cEstado;
  uint8_t cZero;
  uint16_t usGrupo;
  uint16_t usVersaoInicial;      // the version the converter's run began at
  uint16_t usVersaoPasso;        // the version the step in flight starts at
  uint32_t ulPrimeiraEntrada;    // the step's first entry
  uint32_t ulPrimeiroMovimento;  // committed: the first of its moves
  uint32_t ulMovimentos;         // committed: how many moves
  uint32_t ulFeitos;             // committed: how many of them are made
  char szGrupo[40];              // the converter's title, for whoever looks at the file
  uint8_t cReservado[56];
};
struct PPEntradaDiario {
  char cTipo;
  uint8_t cLista;      // the step's list of the file
  uint16_t usVersao;   // the version of a history copy
  char szOrigem[kTamanhoNomeDiario];
  char szDestino[kTamanhoNomeDiario];
};
#pragma pack(pop)
static_assert(sizeof(PPCabecalhoDiario) == kTamanhoRegistroDiario);
static_assert(offsetof(PPCabecalhoDiario, usGrupo) == 10);
static_assert(offsetof(PPCabecalhoDiario, ulPrimeiraEntrada) == 16);
static_assert(offsetof(PPCabecalhoDiario, ulFeitos) == 28);
static_assert(offsetof(PPCabecalhoDiario, szGrupo) == 32);
static_assert(sizeof(PPEntradaDiario) == kTamanhoRegistroDiario);
static_assert(offsetof(PPEntradaDiario, szOrigem) == 4);
static_assert(offsetof(PPEntradaDiario, szDestino) == 66);

// Le's answer for a journal whose header was never written whole: its creator died before naming
// any ".TRA" file.
constexpr int kDiarioIncompleto = -1;

CString Texto(const char* campo, size_t tamanho) { return CString(campo, static_cast<int>(strnlen(campo, tamanho))); }

HRESULT HResultDoMotor(int erro) { return PPErroHResult(static_cast<uint32_t>(erro)); }

}  // namespace

// ---------------------------------------------------------------------------------------------------
// The journal

class CPPDiarioAtualizacao {
 public:
  explicit CPPDiarioAtualizacao(const CString& diretorio) : m_strNome(PPArquivoDiarioAtualizacao(diretorio)) {
    m_arquivo.SetUsaArquivoControle(false);
    m_arquivo.SetVerificaTamanho(false);
  }

  const CString& GetNome() const { return m_strNome; }
  bool Existe() const { return QVExisteArquivo(m_strNome); }
  bool Carregado() const { return m_bCarregado; }
  const PPCabecalhoDiario& Cabecalho() const { return m_cabecalho; }
  const std::vector<PPEntradaDiario>& Entradas() const { return m_entradas; }

  // Reads the header and every whole entry; kDiarioIncompleto without a whole, signed header.
  int Le() {
    m_bCarregado = false;
    m_entradas.clear();
    if (int erro = m_arquivo.Abre(m_strNome, 'G', kTamanhoRegistroDiario, false, true)) return erro;
    if (m_arquivo.GetTamanho() < kTamanhoRegistroDiario) return kDiarioIncompleto;
    if (int erro = m_arquivo.Le(0, &m_cabecalho)) return erro;
    if (std::memcmp(m_cabecalho.cAssinatura, kAssinaturaDiario, sizeof kAssinaturaDiario) != 0) return kDiarioIncompleto;
    const int32_t quantidade = m_arquivo.GetQuantidadeRegistros();
    for (int32_t numero = 1; numero <= quantidade; ++numero) {
      PPEntradaDiario entrada{};
      if (int erro = m_arquivo.Le(static_cast<uint32_t>(numero), &entrada)) return erro;
      m_entradas.push_back(entrada);
    }
    m_bCarregado = true;
    return 0;
  }
  // Leaves the file as it is and forgets what was read.
  void Esquece() { m_bCarregado = false; }

  // A step begins: the file is created when missing, and the step's entries start after the
  // entries there.
  int Inicia(uint16_t usGrupo, const char* titulo, uint16_t usVersaoInicial, uint16_t usVersaoPasso) {
    if (int erro = m_arquivo.Abre(m_strNome, 'G', kTamanhoRegistroDiario, true, true)) return erro;
    const int32_t quantidade = m_arquivo.GetQuantidadeRegistros();
    if (quantidade < 0) return kQVErroArquivo;
    m_cabecalho = PPCabecalhoDiario{};
    std::memcpy(m_cabecalho.cAssinatura, kAssinaturaDiario, sizeof kAssinaturaDiario);
    m_cabecalho.cEstado = kDiarioAberto;
    m_cabecalho.usGrupo = usGrupo;
    m_cabecalho.usVersaoInicial = usVersaoInicial;
    m_cabecalho.usVersaoPasso = usVersaoPasso;
    m_cabecalho.ulPrimeiraEntrada = static_cast<uint32_t>(quantidade) + 1;
    PPCopiaTexto(m_cabecalho.szGrupo, sizeof m_cabecalho.szGrupo, titulo);
    m_entradas.clear();
    m_bCarregado = true;
    return GravaCabecalho();
  }
  int Acrescenta(const PPEntradaDiario& entrada, uint32_t* numero) {
    *numero = 0;
    if (int erro = m_arquivo.Grava(&entrada, numero)) return erro;
    m_entradas.push_back(entrada);
    return 0;
  }
  int Confirma(uint32_t primeiro, uint32_t quantidade) {
    m_cabecalho.cEstado = kDiarioConfirmado;
    m_cabecalho.ulPrimeiroMovimento = primeiro;
    m_cabecalho.ulMovimentos = quantidade;
    m_cabecalho.ulFeitos = 0;
    return GravaCabecalho();
  }
  int GravaFeitos(uint32_t feitos) {
    m_cabecalho.ulFeitos = feitos;
    return GravaCabecalho();
  }
  int SemPasso() {
    m_cabecalho.cEstado = kDiarioSemPasso;
    return GravaCabecalho();
  }
  // Closes and deletes the file when present.
  int Remove() {
    Fecha();
    m_bCarregado = false;
    if (!Existe()) return 0;
    try {
      CFile::Remove(m_strNome);
    } catch (const CFileException& erro) {
      return erro.m_cause == CFileException::fileNotFound ? 0 : kQVErroArquivo;
    }
    PPNotificaAtualizacao("apaga", m_strNome);
    return 0;
  }
  void Fecha() { m_arquivo.Fecha(); }

 private:
  int GravaCabecalho() {
    if (int erro = m_arquivo.Abre(m_strNome, 'G', kTamanhoRegistroDiario, true, true)) return erro;
    return m_arquivo.GravaCabecalho(&m_cabecalho, sizeof m_cabecalho);
  }

  CString m_strNome;
  CPPArquivoAtualizacao m_arquivo;
  PPCabecalhoDiario m_cabecalho{};
  std::vector<PPEntradaDiario> m_entradas;
  bool m_bCarregado = false;
};

// One move of a step, as it stands in the journal; names are of the data directory, without it.
struct CPPAtualizaVersao::Movimento {
  char cTipo;
  uint8_t cLista;
  uint16_t usVersao;
  CString strOrigem;
  CString strDestino;

  PPEntradaDiario Entrada() const {
    PPEntradaDiario entrada{};
    entrada.cTipo = cTipo;
    entrada.cLista = cLista;
    entrada.usVersao = usVersao;
    PPCopiaTexto(entrada.szOrigem, kTamanhoNomeDiario, strOrigem);
    PPCopiaTexto(entrada.szDestino, kTamanhoNomeDiario, strDestino);
    return entrada;
  }
  static Movimento De(const PPEntradaDiario& entrada) {
    return {entrada.cTipo, entrada.cLista, entrada.usVersao, Texto(entrada.szOrigem, kTamanhoNomeDiario),
            Texto(entrada.szDestino, kTamanhoNomeDiario)};
  }
};

// ---------------------------------------------------------------------------------------------------
// Helpers

void PPDefineObservadorAtualizacao(PPObservadorAtualizacao observador) { g_observador = observador; }

void PPNotificaAtualizacao(const char* operacao, const char* arquivo) {
  if (PPObservadorAtualizacao observador = g_observador) observador(operacao, arquivo);
}

void CPPArquivoAtualizacao::Write(const void* lpBuf, UINT nCount) {
  CPPArqEx::Write(lpBuf, nCount);
  PPNotificaAtualizacao("grava", GetFilePath());
}

HRESULT PPDiaAtual(uint16_t* usDia) {
  try {
    *usDia = QVGetDataAtual(false);
    return S_OK;
  } catch (const CQVException& erro) {
    return erro.GetErroSO() ? HRESULT_FROM_WIN32(static_cast<DWORD>(erro.GetErroSO())) : E_FAIL;
  } catch (const CException&) {
    return E_FAIL;
  }
}

void PPGravaHistoricoVersao(const char* arquivoVersao, const PPRegistroVersao& registro, uint16_t usuario,
                            int32_t sessao, char tipo) {
  uint8_t auditoria[sizeof(PPCabecalhoHistorico) + sizeof(PPRegistroVersao)] = {};
  std::memcpy(auditoria + sizeof(PPCabecalhoHistorico), &registro, sizeof registro);
  CPPHistorico::GravaRegistro(arquivoVersao, usuario, sessao, kPPRegistroVersao, auditoria, sizeof auditoria, tipo, 0);
  PPNotificaAtualizacao("historico", QVTrocaExtensao(arquivoVersao, "HIS"));
}

CString PPArquivoDiarioAtualizacao(const char* diretorio) {
  // Named after the version record, whose changes it guards, with an extension that no step
  // looks for or moves.
  return QVTrocaExtensao(CString(diretorio) + CPPNomesArquivos::ArqVersao(), "DIA");
}

PPCriaConversor PPConversorDoGrupo(const PPTabelaConversores& tabela, uint16_t grupo) {
  for (const PPConversorGrupo& linha : tabela)
    if (linha.usGrupo == grupo && linha.pCria) return linha.pCria;
  return nullptr;
}

// ---------------------------------------------------------------------------------------------------
// CPPAtualizaVersao

CPPAtualizaVersao::CPPAtualizaVersao(PPDescricaoConversor descricao) : m_descricao(std::move(descricao)) {}

CPPAtualizaVersao::~CPPAtualizaVersao() = default;

HRESULT CPPAtualizaVersao::EscreveLinha(HRESULT erro, const char* formato, va_list argumentos) {
  CString texto;
  texto.FormatV(formato, argumentos);
  const HRESULT linha = m_historico.GravaLinha(kPPHistoricoInclusao, "%s", static_cast<const char*>(texto));
  return FAILED(linha) ? linha : erro;
}

HRESULT CPPAtualizaVersao::GravaLinha(const char* formato, ...) {
  va_list argumentos;
  va_start(argumentos, formato);
  const HRESULT hr = EscreveLinha(S_OK, formato, argumentos);
  va_end(argumentos);
  return hr;
}

HRESULT CPPAtualizaVersao::LinhaComErro(HRESULT erro, const char* formato, ...) {
  va_list argumentos;
  va_start(argumentos, formato);
  const HRESULT hr = EscreveLinha(erro, formato, argumentos);
  va_end(argumentos);
  return hr;
}

HRESULT CPPAtualizaVersao::Prepara(const char* empresa, uint16_t usuario) {
  m_strEmpresa = empresa;
  m_usUsuario = usuario;
  if (HRESULT hr = m_historico.Abre(m_strEmpresa, m_usUsuario, 0); FAILED(hr)) return hr;
  m_strDiretorio = CPPNomesArquivos::GetDiretorioDados(empresa);
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  m_bManterHistorico = false;
  m_bLimparHistorico = false;
  m_strArquivoVersao = m_strDiretorio + CPPNomesArquivos::ArqVersao();
  m_pDiario = std::make_unique<CPPDiarioAtualizacao>(m_strDiretorio);
  if (int erro = m_arqVersao.Abre(m_strArquivoVersao, 'G', kPPTamanhoRegistroVersao, false, true))
    return LinhaComErro(HResultDoMotor(erro), "Abrir arquivo %s", static_cast<const char*>(m_strArquivoVersao));
  return S_OK;
}

void CPPAtualizaVersao::Encerra() {
  m_arqVersao.Fecha();
  if (m_pDiario) m_pDiario->Fecha();
  m_historico.Fecha();
}

HRESULT CPPAtualizaVersao::Executa(const char* empresa, uint16_t usuario, uint16_t usVersao) {
  if (HRESULT hr = Prepara(empresa, usuario); FAILED(hr)) {
    Encerra();
    return hr;
  }
  // A run that a dead process began keeps the version it began at, so that its clean-up takes what
  // the uninterrupted run would have taken.
  m_usVersaoInicial = usVersao;
  if (m_pDiario->Existe() && m_pDiario->Le() == 0) {
    const PPCabecalhoDiario& cabecalho = m_pDiario->Cabecalho();
    if (cabecalho.cEstado == kDiarioSemPasso && cabecalho.usGrupo == GetGrupo())
      m_usVersaoInicial = cabecalho.usVersaoInicial;
    else
      m_pDiario->Esquece();
  }

  const HRESULT resultado = Atualiza(usVersao);
  if (SUCCEEDED(resultado)) {
    if (m_bLimparHistorico) LimpaHistorico(m_usVersaoInicial);
    RemoveDiario();
  }
  Encerra();
  return resultado;
}

HRESULT CPPAtualizaVersao::Atualiza(uint16_t usVersao) {
  const uint16_t grupo = GetGrupo();
  if (m_descricao.passos.empty()) return usVersao == 0 ? AtualizaNumeroVersao(grupo, usVersao) : S_OK;

  if (HRESULT hr = GravaLinha("%s -> processo iniciado", m_descricao.pszTitulo); FAILED(hr)) return hr;
  uint16_t usVersaoAtual = usVersao;
  for (size_t passo = 0; passo < m_descricao.passos.size(); ++passo) {
    if (usVersaoAtual != passo + 1) continue;
    const char* nome = m_descricao.passos[passo];
    if (HRESULT hr = GravaLinha("%s -> processo iniciado", nome); FAILED(hr)) return hr;
    if (HRESULT hr = Converte(usVersaoAtual); FAILED(hr)) return hr;
    if (HRESULT hr = AtualizaNumeroVersao(grupo, usVersaoAtual); FAILED(hr)) return hr;
    if (HRESULT hr = GravaLinha("%s -> processo encerrado", nome); FAILED(hr)) return hr;
  }
  GravaLinha("%s -> processo encerrado", m_descricao.pszTitulo);
  return S_OK;
}

void CPPAtualizaVersao::LimpaHistorico(uint16_t usVersao) {
  if (!m_descricao.pListaArquivos) return;
  CStringArray arquivos;
  m_descricao.pListaArquivos(arquivos);
  LimpaHistorico(arquivos, usVersao);
}

void CPPAtualizaVersao::LimpaHistorico(const CStringArray& arquivos, uint16_t quantidade) {
  for (int i = 0; i < arquivos.GetSize(); ++i) {
    const CString historico = m_strDiretorio + QVTrocaExtensao(QVGetNomeArquivo(arquivos[i]), "HIS");
    for (uint16_t versao = 1; versao < quantidade; ++versao) {
      const CString copia = PPNomeArquivoVersao(historico, versao);
      if (!QVExisteArquivo(copia)) continue;
      try {
        CFile::Remove(copia);
        PPNotificaAtualizacao("apaga", copia);
      } catch (const CFileException&) {
        // A copy that stays is only room on the disk; the upgrade has succeeded.
      }
    }
  }
}

HRESULT CPPAtualizaVersao::AtualizaNumeroVersao(uint16_t usGrupo, uint16_t& usVersao) {
  PPRegistroVersao registro{};
  if (int erro = m_arqVersao.Le(kPPRegistroVersao, &registro))
    return LinhaComErro(HResultDoMotor(erro), "AtualizaNumeroVersao -> Ler arquivo %s",
                        static_cast<const char*>(m_strArquivoVersao));
  const int gravada = usGrupo < kPPQuantidadeGrupos ? registro.usVersao[usGrupo] : 0;
  if (usGrupo >= kPPQuantidadeGrupos || gravada != usVersao)
    return LinhaComErro(kErroPasso, "AtualizaNumeroVersao -> De %i para %i", gravada, usVersao + 1);

  registro.usVersao[usGrupo] = static_cast<uint16_t>(usVersao + 1);
  uint16_t hoje = 0;
  HRESULT hr = PPDiaAtual(&hoje);
  registro.usDataUltimaConversao = hoje;
  uint32_t numero = kPPRegistroVersao;
  const int erro = SUCCEEDED(hr) ? m_arqVersao.Grava(&registro, &numero) : 0;
  if (erro) hr = HResultDoMotor(erro);
  if (FAILED(hr)) return LinhaComErro(hr, "AtualizaNumeroVersao -> De %i para %i", usVersao, usVersao + 1);
  ++usVersao;
  PPGravaHistoricoVersao(m_strArquivoVersao, registro, m_usUsuario, 0, kPPHistoricoAlteracao);
  ConcluiPassoDiario();
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// Moves

void CPPAtualizaVersao::MovimentosDeRemocao(const CStringArray& arquivos, uint16_t usVersao, bool bMovimentacao,
                                            uint8_t lista, std::vector<Movimento>& movimentos) const {
  for (int i = 0; i < arquivos.GetSize(); ++i) {
    const CString nome = QVGetNomeArquivo(arquivos[i]);
    const CString historico = QVTrocaExtensao(nome, "HIS");
    const CString copia = PPNomeArquivoVersao(historico, usVersao);
    if (bMovimentacao) {
      movimentos.push_back({kMoveParaHIS, lista, usVersao, nome, historico});
      movimentos.push_back({kCopiaMovimentacao, lista, usVersao, nome, copia});
    } else {
      movimentos.push_back({kApagaDAT, lista, usVersao, nome, CString()});
      if (!m_bManterHistorico && usVersao != 0) movimentos.push_back({kCopiaHistoricoAudit, lista, usVersao, nome, copia});
    }
  }
}

HRESULT CPPAtualizaVersao::ExecutaMovimento(const Movimento& movimento, bool bRetomada) {
  const CString origem = m_strDiretorio + movimento.strOrigem;
  const CString destino = m_strDiretorio + movimento.strDestino;
  switch (movimento.cTipo) {
    case kMoveParaHIS:
    case kApagaDAT: {
      const bool bApaga = movimento.cTipo == kApagaDAT;
      // Resumed: what a dead process made leaves the old name free (and a renamed file at its
      // target).
      if (bRetomada && !QVExisteArquivo(origem) && (bApaga || QVExisteArquivo(destino))) return S_OK;
      try {
        if (bApaga)
          CFile::Remove(origem);
        else
          CFile::Rename(origem, destino);
      } catch (const CFileException& erro) {
        return LinhaComErro(kErroPasso, "RemoveArquivos -> Erro ao remover %s; Erro: %d; causa: %d",
                            static_cast<const char*>(origem), static_cast<int>(erro.m_lOsError), erro.m_cause);
      }
      PPNotificaAtualizacao(bApaga ? "apaga" : "renomeia", origem);
      return S_OK;
    }
    case kCopiaMovimentacao:
    case kCopiaHistoricoAudit: {
      // Nothing to do without a ".HIS" file, also when a dead process renamed it already.
      const CString historico = QVTrocaExtensao(origem, "HIS");
      if (!QVExisteArquivo(historico)) return S_OK;
      if (HRESULT hr = PPRenomeiaHistoricoVersao(origem, movimento.usVersao); FAILED(hr)) {
        return LinhaComErro(hr,
                            movimento.cTipo == kCopiaMovimentacao
                                ? "RemoveArquivosMovimentacao -> Renomear arquivo histórico %s"_ansi
                                : "RemoveArquivos -> Renomear arquivo histórico %s"_ansi,
                            static_cast<const char*>(origem));
      }
      PPNotificaAtualizacao("renomeia", historico);
      return S_OK;
    }
    case kRenomeiaTRA: {
      if (bRetomada && !QVExisteArquivo(origem) && QVExisteArquivo(destino)) return S_OK;
      CString erro;
      if (!PPRenomeiaArquivos({origem}, {destino}, erro)) return LinhaComErro(kErroPasso, "%s", static_cast<const char*>(erro));
      PPNotificaAtualizacao("renomeia", origem);
      return S_OK;
    }
    default:
      return kErroPasso;
  }
}

HRESULT CPPAtualizaVersao::ExecutaMovimentos(const std::vector<Movimento>& movimentos, uint32_t inicio, bool bDiario,
                                             bool bRetomada, size_t* falha) {
  *falha = movimentos.size();
  for (size_t i = inicio; i < movimentos.size(); ++i) {
    if (HRESULT hr = ExecutaMovimento(movimentos[i], bRetomada && i == inicio); FAILED(hr)) {
      *falha = i;
      return hr;
    }
    if (!bDiario || !m_pDiario) continue;
    if (int erro = m_pDiario->GravaFeitos(static_cast<uint32_t>(i + 1))) return HResultDoMotor(erro);
  }
  return S_OK;
}

HRESULT CPPAtualizaVersao::RemoveArquivos(const CStringArray& arquivos, uint16_t usVersao) {
  std::vector<Movimento> movimentos;
  MovimentosDeRemocao(arquivos, usVersao, false, 0, movimentos);
  size_t falha;
  return ExecutaMovimentos(movimentos, 0, false, false, &falha);
}

HRESULT CPPAtualizaVersao::RemoveArquivosMovimentacao(const CStringArray& arquivos, uint16_t usVersao) {
  std::vector<Movimento> movimentos;
  MovimentosDeRemocao(arquivos, usVersao, true, 0, movimentos);
  size_t falha;
  return ExecutaMovimentos(movimentos, 0, false, false, &falha);
}

// ---------------------------------------------------------------------------------------------------
// The journal of the step in flight

int CPPAtualizaVersao::IniciaPassoDiario(uint16_t usVersaoPasso) {
  if (!m_pDiario) return kQVErroParametro;  // a step runs only inside Executa
  return m_pDiario->Inicia(GetGrupo(), m_descricao.pszTitulo, m_usVersaoInicial, usVersaoPasso);
}

int CPPAtualizaVersao::RegistraTRA(const CString& nomeTRA) {
  if (!m_pDiario) return kQVErroParametro;
  if (nomeTRA.GetLength() >= static_cast<int>(kTamanhoNomeDiario)) return kQVErroParametro;
  const Movimento entrada{kEntradaTRA, 0, 0, nomeTRA, CString()};
  uint32_t numero;
  return m_pDiario->Acrescenta(entrada.Entrada(), &numero);
}

int CPPAtualizaVersao::ConfirmaDiario(const std::vector<Movimento>& movimentos) {
  if (!m_pDiario) return kQVErroParametro;
  uint32_t primeiro = 0;
  for (const Movimento& movimento : movimentos) {
    if (movimento.strOrigem.GetLength() >= static_cast<int>(kTamanhoNomeDiario) ||
        movimento.strDestino.GetLength() >= static_cast<int>(kTamanhoNomeDiario))
      return kQVErroParametro;
    uint32_t numero;
    if (int erro = m_pDiario->Acrescenta(movimento.Entrada(), &numero)) return erro;
    if (primeiro == 0) primeiro = numero;
  }
  return m_pDiario->Confirma(primeiro, static_cast<uint32_t>(movimentos.size()));
}

void CPPAtualizaVersao::ConcluiPassoDiario() {
  // A failed write leaves the journal committed with every move made: the next run finds the slot
  // raised and says the same.
  if (m_pDiario && m_pDiario->Carregado() && m_pDiario->Cabecalho().cEstado != kDiarioSemPasso) m_pDiario->SemPasso();
}

void CPPAtualizaVersao::DescartaDiario() {
  if (m_pDiario) m_pDiario->Remove();
}

void CPPAtualizaVersao::RemoveDiario() {
  // Only a journal of this group's run, begun or read here.
  if (m_pDiario && m_pDiario->Carregado()) m_pDiario->Remove();
}

HRESULT CPPAtualizaVersao::RetomaDiario(const char* empresa, uint16_t usuario) {
  HRESULT hr = Prepara(empresa, usuario);
  if (SUCCEEDED(hr)) hr = ResolveDiarioLido();
  Encerra();
  return hr;
}

HRESULT CPPAtualizaVersao::ResolveDiarioLido() {
  const int leitura = m_pDiario->Le();
  if (leitura == kDiarioIncompleto) {
    const int erro = m_pDiario->Remove();
    return erro ? HResultDoMotor(erro) : S_OK;
  }
  if (leitura) return HResultDoMotor(leitura);
  const PPCabecalhoDiario& cabecalho = m_pDiario->Cabecalho();
  const uint16_t grupo = cabecalho.usGrupo;
  if (grupo >= kPPQuantidadeGrupos) return kErroPasso;
  m_usVersaoInicial = cabecalho.usVersaoInicial;
  HRESULT hr = S_OK;
  switch (cabecalho.cEstado) {
    case kDiarioAberto: hr = DesfazPasso(); break;
    case kDiarioConfirmado: hr = CompletaPasso(); break;
    case kDiarioSemPasso: break;
    default: return kErroPasso;  // no state this program writes: left for someone to look at
  }
  if (FAILED(hr)) return hr;

  // No step in flight now. A group that the resumed step brought to its target is not run again,
  // so its run's clean-up is done here, from the version that run began at.
  PPRegistroVersao registro{};
  if (int erro = m_arqVersao.Le(kPPRegistroVersao, &registro)) return HResultDoMotor(erro);
  if (registro.usVersao[grupo] >= kPPVersoesAlvo[grupo]) {
    LimpaHistorico(m_usVersaoInicial);
    RemoveDiario();
  }
  return S_OK;
}

HRESULT CPPAtualizaVersao::DesfazPasso() {
  // Uncommitted: the step's ".TRA" files go, and the driver runs the step again.
  const PPCabecalhoDiario& cabecalho = m_pDiario->Cabecalho();
  const std::vector<PPEntradaDiario>& entradas = m_pDiario->Entradas();
  std::vector<Movimento> apaga;
  for (size_t numero = cabecalho.ulPrimeiraEntrada; numero >= 1 && numero <= entradas.size(); ++numero) {
    if (entradas[numero - 1].cTipo == kEntradaTRA)
      apaga.push_back({kApagaDAT, 0, 0, Texto(entradas[numero - 1].szOrigem, kTamanhoNomeDiario), CString()});
  }
  for (const Movimento& movimento : apaga) {
    if (HRESULT hr = ExecutaMovimento(movimento, true); FAILED(hr)) return hr;
  }
  const int erro = m_pDiario->SemPasso();
  return erro ? HResultDoMotor(erro) : S_OK;
}

HRESULT CPPAtualizaVersao::CompletaPasso() {
  // Committed: the moves not yet made, then the slot when it still stands at the step's version.
  const PPCabecalhoDiario& cabecalho = m_pDiario->Cabecalho();
  const std::vector<PPEntradaDiario>& entradas = m_pDiario->Entradas();
  std::vector<Movimento> movimentos;
  for (uint32_t i = 0; i < cabecalho.ulMovimentos; ++i) {
    const size_t indice = static_cast<size_t>(cabecalho.ulPrimeiroMovimento) + i - 1;
    if (cabecalho.ulPrimeiroMovimento == 0 || indice >= entradas.size()) return kErroPasso;
    movimentos.push_back(Movimento::De(entradas[indice]));
  }
  size_t falha;
  if (HRESULT hr = ExecutaMovimentos(movimentos, cabecalho.ulFeitos, true, true, &falha); FAILED(hr)) return hr;

  PPRegistroVersao registro{};
  if (int erro = m_arqVersao.Le(kPPRegistroVersao, &registro)) return HResultDoMotor(erro);
  uint16_t usVersao = cabecalho.usVersaoPasso;
  if (registro.usVersao[cabecalho.usGrupo] == usVersao) return AtualizaNumeroVersao(cabecalho.usGrupo, usVersao);
  const int erro = m_pDiario->SemPasso();
  return erro ? HResultDoMotor(erro) : S_OK;
}

HRESULT PPResolveDiarioAtualizacao(const char* empresa, uint16_t usuario, const PPTabelaConversores& tabela) {
  const CString diretorio = CPPNomesArquivos::GetDiretorioDados(empresa);
  if (diretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  CPPDiarioAtualizacao diario(diretorio);
  if (!diario.Existe()) return S_OK;
  const int leitura = diario.Le();
  if (leitura == kDiarioIncompleto) {
    // Its creator died before naming a ".TRA" file: there is nothing to undo.
    const int erro = diario.Remove();
    return erro ? HResultDoMotor(erro) : S_OK;
  }
  if (leitura) return HResultDoMotor(leitura);
  const uint16_t grupo = diario.Cabecalho().usGrupo;
  diario.Fecha();
  if (grupo >= kPPQuantidadeGrupos) return kErroPasso;
  const PPCriaConversor cria = PPConversorDoGrupo(tabela, grupo);
  std::unique_ptr<CPPAtualizaVersao> conversor =
      cria ? cria() : std::make_unique<CPPAtualizaVersaoNumeracao>(grupo, nullptr);
  return conversor->RetomaDiario(empresa, usuario);
}

// ---------------------------------------------------------------------------------------------------
// CPPAtualizaVersaoNumeracao

CPPAtualizaVersaoNumeracao::CPPAtualizaVersaoNumeracao(uint16_t usGrupo, void (*pListaArquivos)(CStringArray&))
    : CPPAtualizaVersao(PPDescricaoConversor{usGrupo, nullptr, {}, pListaArquivos}) {}

HRESULT CPPAtualizaVersaoNumeracao::Converte(uint16_t) { return kErroPasso; }

// ---------------------------------------------------------------------------------------------------
// CPPPassoConversao

CPPPassoConversao::CPPPassoConversao(CPPAtualizaVersao& conversor, uint16_t usVersao)
    : m_conversor(conversor), m_usVersao(usVersao) {}

CPPPassoConversao::~CPPPassoConversao() { FechaArquivos(); }

void CPPPassoConversao::VerificaSobras(std::vector<CString> padroes, const char* linha) {
  m_padroesSobras = std::move(padroes);
  m_pszLinhaSobras = linha;
}

void CPPPassoConversao::RemoveHistoricosAntigos(const CStringArray& arquivos, const char* linha) {
  m_historicosAntigos = arquivos;
  m_pszLinhaHistoricos = linha;
}

void CPPPassoConversao::NadaConverteSemArquivo(const CString& arquivo) { m_strArquivoPrincipal = arquivo; }

int CPPPassoConversao::Lista(Remocao remocao, const char* linhaFalhaRemocao) {
  m_listas.push_back({remocao, linhaFalhaRemocao, CStringArray(), {}});
  return static_cast<int>(m_listas.size()) - 1;
}

CString CPPPassoConversao::Caminho(const char* nome) const { return m_conversor.GetDiretorio() + nome; }

HRESULT CPPPassoConversao::Falha(HRESULT erro, const char* formato, ...) {
  va_list argumentos;
  va_start(argumentos, formato);
  const HRESULT hr = m_conversor.EscreveLinha(erro, formato, argumentos);
  va_end(argumentos);
  return hr;
}

HRESULT CPPPassoConversao::VerificaSobras() {
  for (const CString& padrao : m_padroesSobras) {
    WIN32_FIND_DATAA encontrado;
    HANDLE busca = FindFirstFileA(m_conversor.GetDiretorio() + padrao, &encontrado);
    if (busca == INVALID_HANDLE_VALUE) continue;
    FindClose(busca);
    return m_conversor.LinhaComErro(kErroPasso, "%s", m_pszLinhaSobras);
  }
  return S_OK;
}

void CPPPassoConversao::RemoveHistoricosAntigos() {
  for (int i = 0; i < m_historicosAntigos.GetSize(); ++i) {
    const CString historico = Caminho(QVTrocaExtensao(QVGetNomeArquivo(m_historicosAntigos[i]), "HIS"));
    if (!QVExisteArquivo(historico)) continue;
    try {
      CFile::Remove(historico);
      PPNotificaAtualizacao("apaga", historico);
    } catch (const CFileException&) {
      // Left for the move that needs its name: that one reports it.
    }
    m_conversor.GravaLinha(m_pszLinhaHistoricos, static_cast<const char*>(historico));
  }
}

HRESULT CPPPassoConversao::Executa(const std::function<HRESULT()>& converte) {
  if (HRESULT hr = VerificaSobras(); FAILED(hr)) return hr;
  RemoveHistoricosAntigos();
  if (!m_strArquivoPrincipal.IsEmpty() && !QVExisteArquivo(m_strArquivoPrincipal)) return S_OK;

  HRESULT hr = converte();
  const int fechamento = FechaArquivos();
  if (SUCCEEDED(hr) && fechamento) hr = HResultDoMotor(fechamento);
  if (FAILED(hr)) {
    // Before the commit: the ".TRA" files stay for whoever looks into the failure, and every later
    // run refuses the step while they are there.
    if (m_bDiarioIniciado) m_conversor.DescartaDiario();
    return hr;
  }
  const HRESULT movimentos = MoveArquivos();
  return FAILED(movimentos) ? movimentos : hr;
}

HRESULT CPPPassoConversao::MoveArquivos() {
  std::vector<CPPAtualizaVersao::Movimento> movimentos;
  for (size_t lista = 0; lista < m_listas.size(); ++lista) {
    const ListaArquivos& arquivos = m_listas[lista];
    if (arquivos.remocao == kSemRemocao) continue;
    m_conversor.MovimentosDeRemocao(arquivos.arquivosDAT, m_usVersao, arquivos.remocao == kRemoveArquivosMovimentacao,
                                    static_cast<uint8_t>(lista), movimentos);
  }
  for (size_t lista = 0; lista < m_listas.size(); ++lista) {
    const ListaArquivos& arquivos = m_listas[lista];
    for (size_t i = 0; i < arquivos.arquivosTRA.size(); ++i)
      movimentos.push_back({kRenomeiaTRA, static_cast<uint8_t>(lista), m_usVersao,
                            QVGetNomeArquivo(arquivos.arquivosTRA[i]),
                            QVGetNomeArquivo(arquivos.arquivosDAT[static_cast<int>(i)])});
  }
  if (movimentos.empty()) return S_OK;

  if (int erro = m_conversor.ConfirmaDiario(movimentos)) {
    m_conversor.DescartaDiario();
    return HResultDoMotor(erro);
  }
  // Committed: from here on a failure leaves the journal for the next run to complete.
  size_t falha;
  const HRESULT hr = m_conversor.ExecutaMovimentos(movimentos, 0, true, false, &falha);
  if (FAILED(hr) && falha < movimentos.size() && movimentos[falha].cTipo != kRenomeiaTRA) {
    const char* linha = m_listas[movimentos[falha].cLista].pszLinhaFalhaRemocao;
    if (linha) return m_conversor.LinhaComErro(hr, "%s", linha);
  }
  return hr;
}

HRESULT CPPPassoConversao::AbreAntigo(const char* arquivo, uint32_t tamanho, bool bCria, const char* linha,
                                      CPPArqEx** ppArquivo) {
  auto antigo = std::make_unique<CPPArquivoAtualizacao>();
  if (int erro = antigo->Abre(arquivo, 'L', tamanho, bCria, true)) return Falha(HResultDoMotor(erro), linha, arquivo);
  *ppArquivo = antigo.get();
  m_arquivos.push_back(std::move(antigo));
  return S_OK;
}

HRESULT CPPPassoConversao::AbreTRA(int lista, const char* arquivoDAT, uint32_t tamanho, const char* linha,
                                   CPPArqEx** ppArquivo) {
  const CString nomeTRA = QVTrocaExtensao(arquivoDAT, "TRA");
  if (lista < 0 || static_cast<size_t>(lista) >= m_listas.size()) return Falha(kErroPasso, linha, static_cast<const char*>(nomeTRA));
  if (!m_bDiarioIniciado) {
    if (int erro = m_conversor.IniciaPassoDiario(m_usVersao))
      return Falha(HResultDoMotor(erro), linha, static_cast<const char*>(m_conversor.m_pDiario->GetNome()));
    m_bDiarioIniciado = true;
  }
  bool bListado = false;
  for (const ListaArquivos& arquivos : m_listas)
    for (const CString& tra : arquivos.arquivosTRA) bListado = bListado || tra.CompareNoCase(nomeTRA) == 0;
  if (!bListado) {
    // The journal names the file before it exists, so that no ".TRA" file is ever left unnamed.
    if (int erro = m_conversor.RegistraTRA(QVGetNomeArquivo(nomeTRA)))
      return Falha(HResultDoMotor(erro), linha, static_cast<const char*>(nomeTRA));
    m_listas[static_cast<size_t>(lista)].arquivosDAT.Add(arquivoDAT);
    m_listas[static_cast<size_t>(lista)].arquivosTRA.push_back(nomeTRA);
  }
  auto convertido = std::make_unique<CPPArquivoAtualizacao>();
  convertido->SetUsaArquivoControle(false);
  if (int erro = convertido->Abre(nomeTRA, 'G', tamanho, true, true))
    return Falha(HResultDoMotor(erro), linha, static_cast<const char*>(nomeTRA));
  *ppArquivo = convertido.get();
  m_arquivos.push_back(std::move(convertido));
  return S_OK;
}

int CPPPassoConversao::FechaArquivos() {
  int primeiro = 0;
  for (const std::unique_ptr<CPPArquivoAtualizacao>& arquivo : m_arquivos) {
    const bool bConvertido = QVGetExtensao(arquivo->GetFilePath()).CompareNoCase("TRA") == 0;
    const int erro = arquivo->Fecha();
    if (erro && bConvertido && primeiro == 0) primeiro = erro;
  }
  m_arquivos.clear();
  return primeiro;
}

HRESULT CPPPassoConversao::ConverteRegistros(CPPArqEx& antigo, CPPArqEx& convertido, const Regra& regra,
                                             const char* linhaLer, const char* linhaGravar, const char* linhaPosicao) {
  const int32_t quantidade = antigo.GetQuantidadeRegistros();
  if (quantidade < 0) return Falha(PPErroHResult(kQVErroArquivo), linhaLer, 1);
  std::vector<uint8_t> registroAntigo(antigo.GetTamanhoRegistro());
  std::vector<uint8_t> registroNovo(convertido.GetTamanhoRegistro());
  for (uint32_t i = 1; i <= static_cast<uint32_t>(quantidade); ++i) {
    if (int erro = antigo.Le(i, registroAntigo.data())) return Falha(HResultDoMotor(erro), linhaLer, i);
    std::fill(registroNovo.begin(), registroNovo.end(), 0);
    regra(i, registroAntigo.data(), registroNovo.data());
    uint32_t numero = 0;
    if (int erro = convertido.Grava(registroNovo.data(), &numero)) return Falha(HResultDoMotor(erro), linhaGravar, i);
    if (linhaPosicao && numero != i) return Falha(kErroPasso, linhaPosicao, i);
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// Declarations over the frame

void PPCopiaCampos(uint8_t* novo, const uint8_t* antigo, std::span<const PPCampoCopiado> campos) {
  for (const PPCampoCopiado& campo : campos) std::memcpy(novo + campo.novo, antigo + campo.antigo, campo.largura);
}

HRESULT CPPAtualizaVersao::ConverteUmArquivo(uint16_t usVersao, const PPPassoUmArquivo& declaracao) {
  if (usVersao < 1 || usVersao > m_descricao.passos.size()) return kErroPasso;
  const CString nome = m_descricao.passos[usVersao - 1];
  const CString linhaSobras = nome + " -> conversão anterior não terminou com sucesso"_ansi;
  const CString linhaHistoricos = nome + " -> remover arquivo: %s";
  CPPPassoConversao passo(*this, usVersao);
  passo.VerificaSobras({"*.TRA"}, linhaSobras);
  if (declaracao.bRemoveHistoricosAntigos && m_descricao.pListaArquivos) {
    CStringArray grupo;
    m_descricao.pListaArquivos(grupo);
    passo.RemoveHistoricosAntigos(grupo, linhaHistoricos);
  }
  const CString arquivo = passo.Caminho(declaracao.pArquivo());
  if (!declaracao.bCria) passo.NadaConverteSemArquivo(arquivo);
  const int lista = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
  return passo.Executa([&]() -> HRESULT {
    CPPArqEx* antigo = nullptr;
    CPPArqEx* convertido = nullptr;
    const char* linhaAbrir = "Abrir arquivo %s";
    if (HRESULT hr = passo.AbreAntigo(arquivo, declaracao.ulTamanhoAntigo, declaracao.bCria, linhaAbrir, &antigo);
        FAILED(hr))
      return hr;
    if (HRESULT hr = passo.AbreTRA(lista, arquivo, declaracao.ulTamanhoNovo, linhaAbrir, &convertido); FAILED(hr))
      return hr;
    return passo.ConverteRegistros(*antigo, *convertido, declaracao.regra, "Ler registro - %i", "Gravar registro - %i");
  });
}

// Saving an order: GravaOP, with the integration of its items with their sales orders and
// requirements and the link of its inputs' requirements, which run after the save.
#include <cstring>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/CQVCurrencyEx.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "model/CPPDadosProduto.h"
#include "model/CPPDadosTipoOP.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPConversaoOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

// The files of a save: PPOP, PPIT, PPPR, PPMT, PPRP, PPIP, PPPE, PPAS, PPNC, PPIE, PPIN, PPRA.
constexpr uint32_t kArquivosGravacao = 0x2E0027F;

constexpr uint8_t kNecessidadeOP = 1;  // cTipoRegistro of a requirement made by an order

using Arquivos = CPPArquivosOP;

// Quantities are computed on their 64-bit counts (value x 10,000): a CY field of a packed record
// is read and written through its int64 member only, never bound as a whole.
CY ComoCY(int64_t valor) {
  CY cy;
  cy.int64 = valor;
  return cy;
}

// The product (or, for packaging, the quotient) of a unit quantity and the order's total, kept to
// the input's decimals (the OLE rounding; four or more keep the value).
int64_t QuantidadeInsumo(int64_t unitaria, int64_t total, bool bEmbalagem, uint8_t casas) {
  CY resultado = ComoCY(0);
  if (bEmbalagem) {
    QVDivideCY(ComoCY(total), ComoCY(unitaria), resultado);
  } else {
    QVMultiplicaCY(ComoCY(unitaria), ComoCY(total), resultado);
  }
  CY arredondado = resultado;
  if (casas < 4) VarCyRound(resultado, casas, &arredondado);
  return arredondado.int64;
}

// A count of labels: the order's total times the labels per unit, the fraction cut off.
uint32_t TotalEtiquetas(int64_t total, uint16_t porUnidade) {
  if (total <= 0) return 0;
  const int64_t inteiro = total / 10000 * porUnidade + total % 10000 * porUnidade / 10000;
  return inteiro > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(inteiro);
}

// Whether (data, hora) comes before (outraData, outraHora): date first, then time.
bool Antes(uint16_t data, uint16_t hora, uint16_t outraData, uint16_t outraHora) {
  return data != outraData ? data < outraData : hora < outraHora;
}

// The answer of an operation whose outside server could not be had: the getter's HRESULT, which
// is a failure whenever it gives no interface.
HRESULT SemServidor(HRESULT hr) { return FAILED(hr) ? hr : E_NOINTERFACE; }

// Programmed minus cancelled: what an item takes of its source.
template <class Item>
int64_t QuantidadeLiquida(const Item& item) {
  return item.vQuantidadeProgramada.int64 - item.vQuantidadeCancelada.int64;
}

// `quantidade` records from `primeiro` of an open file; a run that starts at the header is damaged
// and read as what it is, a run outside the file.
template <class Registro>
HRESULT LeSequencia(CPPArqEx& arquivo, uint32_t primeiro, uint32_t quantidade, std::vector<Registro>* registros) {
  registros->assign(quantidade, Registro{});
  if (quantidade && primeiro == 0) return PPErroHResult(kQVErroFimArquivo);
  for (uint32_t i = 0; i < quantidade; ++i) {
    if (int erro = arquivo.Le(primeiro + i, &(*registros)[i])) return PPErroHResultMotor(erro);
  }
  return S_OK;
}

template <class Registro>
HRESULT AnexaSequencia(CPPArqEx& arquivo, const std::vector<Registro>& registros, uint32_t* pulPrimeiro) {
  return PPAnexaRegistros(arquivo, reinterpret_cast<const uint8_t*>(registros.data()),
                          static_cast<uint32_t>(registros.size()), pulPrimeiro);
}

// Writes a text of a record into a variable-record file, in place of the text at *ponteiro when
// it fits; any failure is the save's 1590.
HRESULT GravaTexto(CQVArqDyn& arquivo, const CString& texto, uint32_t* ponteiro) {
  return PPErroTexto(PPGravaTextoDyn(&arquivo, texto, ponteiro));
}

// A sales-order item: the order's key and the item's place.
using ItemPedido = std::pair<uint32_t, uint16_t>;

// Requirement keys by month first, so that each month's file opens once.
struct OrdemChave {
  bool operator()(uint32_t a, uint32_t b) const { return QVComparaChave(a, b) < 0; }
};

// Every record list of an order record must bring its array.
HRESULT VerificaListas(const _REG_VARMO_OPPS& reg) {
  if (HRESULT hr = PPVerificaLista(reg.usQtdProcessos, reg.pregProcessos)) return hr;
  if (HRESULT hr = PPVerificaLista(reg.usQtdItens, reg.pregItens)) return hr;
  for (uint16_t i = 0; i < reg.usQtdProcessos; ++i) {
    const _REG_VARMO_OP_PROCESSOPS& processo = reg.pregProcessos[i];
    for (HRESULT hr : {PPVerificaLista(processo.usQuantidadeInsumos, processo.pregInsumos),
                       PPVerificaLista(processo.usQuantidadeRecursos, processo.pregRecursos),
                       PPVerificaLista(processo.usQuantidadeApontamentosSimples, processo.pregApontamentosSimples),
                       PPVerificaLista(processo.usQtdImagens, processo.pregImagens),
                       PPVerificaLista(processo.usQtdEtiquetas, processo.pregEtiquetas)}) {
      if (hr) return hr;
    }
  }
  return S_OK;
}

// A key to rewrite names a month that day numbers reach and a record.
bool ChaveValida(uint32_t chave) {
  const uint16_t mes = QVGetMesAnoDaChave(chave);
  return QVGetNumeroDaChave(chave) != 0 && mes >= QVDataParaMesAno(QVDataMinima()) &&
         mes <= QVDataParaMesAno(QVDataMaxima());
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// The state of one save

class CPPServidorOP::Gravacao {
 public:
  Gravacao(CPPServidorOP& op, uint32_t lPntrIn, _REG_VARMO_OPPS& reg)
      : op_(op), lPntrIn_(lPntrIn), reg_(reg), bRegrava_(lPntrIn != 0) {}

  void DefineEmissao();
  HRESULT AbreArquivos();
  HRESULT LeGravado();
  HRESULT PreparaNova();
  HRESULT MontaCabecalho();
  HRESULT VerificaQtdLimitada() const;
  void MantemProcessos();
  HRESULT VerificaQuantidades();
  HRESULT GravaTextos();
  HRESULT GravaProcessos();
  HRESULT GravaItens();
  HRESULT NumeraOP();
  HRESULT GravaCabecalho(uint32_t* plPntrOut);
  void GravaHistorico();
  HRESULT FechaArquivos() { return arquivos_.Fecha(); }
  HRESULT IntegraItens();
  HRESULT VinculaNecessidades();

  bool Regrava() const { return bRegrava_; }
  uint32_t Chave() const { return chave_; }

 private:
  HRESULT LeMensagem(CString* pMensagem);
  HRESULT NovosProcessos();
  HRESULT ProcessosMantidos();
  HRESULT GravaInsumos(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco);
  HRESULT AtualizaNecessidadesInsumos(const PPDiscoProcesso& disco);
  HRESULT NecessidadeAutomatica(PPDiscoInsumo& insumo);
  HRESULT GravaRecursos(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco);
  HRESULT GravaImagens(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco);
  HRESULT GravaEtiquetas(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco);
  HRESULT RecalculaEtiquetas(const PPDiscoProcesso& disco);
  HRESULT GravaApontamentosSimples(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco);
  HRESULT NecessidadesAtendidas(bool* pbAtendida);

  CPPServidorOP& op_;
  const uint32_t lPntrIn_;
  _REG_VARMO_OPPS& reg_;
  const bool bRegrava_;
  uint16_t usMesAno_ = 0;
  Arquivos arquivos_;
  PPDiscoOP gravado_{};  // the stored header of a rewrite; zero for a new order
  PPDiscoOP novo_{};
  bool bMantemProcessos_ = false;
  bool bGeraNecessidade_ = false;  // the inputs get automatic requirements
  int64_t total_ = 0;              // the order's total: Σ programmed of the new items
  uint32_t chave_ = 0;
};

// 2. A rewrite stays in the month of its key; a new order without a date is today's.
void CPPServidorOP::Gravacao::DefineEmissao() {
  if (bRegrava_) reg_.usDataEmissao = QVMesAnoParaData(1, QVGetMesAnoDaChave(lPntrIn_));
  if (reg_.usDataEmissao == 0) reg_.usDataEmissao = QVGetDataAtual(false);
  usMesAno_ = QVDataParaMesAno(reg_.usDataEmissao);
}

// 4. A key of a month without orders names no order: its files are not made for it.
HRESULT CPPServidorOP::Gravacao::AbreArquivos() {
  if (HRESULT hr = arquivos_.Inicializa(op_.m_strEmpresa, 0, 0)) return hr;
  if (bRegrava_ && !arquivos_.Existe(Arquivos::kArqOP, usMesAno_)) return PPErroHResult(kQVErroFimArquivo);
  arquivos_.SetArquivos(kArquivosGravacao);
  return arquivos_.SetModo(usMesAno_, 'G');
}

// 5. What a rewrite keeps of the stored order.
HRESULT CPPServidorOP::Gravacao::LeGravado() {
  const uint32_t registro = QVGetNumeroDaChave(lPntrIn_);
  if (int erro = arquivos_.m_arqOP.Le(registro, &gravado_)) return PPErroHResultMotor(erro);
  if (gravado_.cRemovido) return PPErroHResult(kPPErroRegistroRemovido);
  const uint8_t situacao = gravado_.cSituacao;
  if (situacao == 49 || situacao == 50 || situacao == 62 || situacao == 99) return PPErroHResult(kPPErroSituacaoOP);

  _REG_VARMO_OPPS g{};
  PPConverteParaCOM(gravado_, g);
  reg_.lNumeroOP = g.lNumeroOP;
  reg_.lPonteiroOP = static_cast<int32_t>(registro);
  reg_.lPonteiroTipoOP = g.lPonteiroTipoOP;
  reg_.lPonteiroFluxoProcesso = g.lPonteiroFluxoProcesso;
  reg_.lPonteiroContaContabil = g.lPonteiroContaContabil;
  reg_.lPonteiroOPGeradora = g.lPonteiroOPGeradora;
  reg_.lPonteiroColecao = g.lPonteiroColecao;
  reg_.regPosicaoProdutoServico = g.regPosicaoProdutoServico;
  reg_.usPonteiroFilial = g.usPonteiroFilial;
  reg_.usPonteiroUsuarioEmissao = g.usPonteiroUsuarioEmissao;
  reg_.usDataEmissao = g.usDataEmissao;
  reg_.usHoraEmissao = g.usHoraEmissao;
  reg_.usDataInicio = g.usDataInicio;
  reg_.usHoraInicio = g.usHoraInicio;
  reg_.usDataConclusao = g.usDataConclusao;
  reg_.usHoraConclusao = g.usHoraConclusao;
  reg_.usDataCancelamento = g.usDataCancelamento;
  reg_.usHoraCancelamento = g.usHoraCancelamento;
  reg_.usDataInterrupcao = g.usDataInterrupcao;
  reg_.usHoraInterrupcao = g.usHoraInterrupcao;
  reg_.cSituacao = g.cSituacao;
  reg_.cQuantidadeCasasDecimaisEstoque = g.cQuantidadeCasasDecimaisEstoque;
  reg_.cTipoPerdaInsumo = g.cTipoPerdaInsumo;
  reg_.cOPReprocesso = g.cOPReprocesso;
  reg_.cTodosRecursosDefinidos = g.cTodosRecursosDefinidos;
  reg_.cFazEntradaDepoisNoES = g.cFazEntradaDepoisNoES;
  reg_.cCustearSoProcessoApontado = g.cCustearSoProcessoApontado;
  reg_.cTratarInsumoEmbalagem = g.cTratarInsumoEmbalagem;
  reg_.cApontarOcorrenciaRecurso = g.cApontarOcorrenciaRecurso;
  reg_.cTipoProdutoServico = g.cTipoProdutoServico;
  const bool bReprocesso = g.cOPReprocesso != 0;
  const bool bConfirmado = g.cReprocessoConfirmado != 0;
  if (!bReprocesso || bConfirmado) {
    reg_.ulPonteiroRequisitante = g.ulPonteiroRequisitante;
    reg_.ulPonteiroDepartamento = g.ulPonteiroDepartamento;
    reg_.ulChaveRequisicaoInterna = g.ulChaveRequisicaoInterna;
  }
  if (bReprocesso) reg_.cReprocessoConfirmado = 1;
  bGeraNecessidade_ = !bReprocesso || bConfirmado;
  return S_OK;
}

// 6.
HRESULT CPPServidorOP::Gravacao::PreparaNova() {
  if (reg_.cPossuiItemQtdLimitada && reg_.usQtdItens != 1) return PPErroHResult(kPPErroQtdLimitada);
  CPPDadosTipoOP tipo;
  if (int32_t hr = op_.m_buffer.LeBufferTipoOP(reg_.lPonteiroTipoOP, &tipo, 0); FAILED(hr)) return hr;
  reg_.lPonteiroContaContabil = tipo.GetPonteiroContaContabil();
  reg_.usPonteiroUsuarioEmissao = op_.m_usUsuario;
  reg_.usHoraEmissao = static_cast<uint16_t>(QVGetMinutosAtual());
  reg_.cTipoPerdaInsumo = op_.m_regMestre.cTipoPerdaInsumo;
  reg_.cCustearSoProcessoApontado = op_.m_regMestre.cCustearSoProcessoApontado;
  reg_.cTratarInsumoEmbalagem = op_.m_regMestre.cTratarInsumoEmbalagem;
  reg_.cSituacao = kSituacaoNaoIniciada;
  reg_.cTodosRecursosDefinidos = 0;
  bGeraNecessidade_ = !reg_.cOPReprocesso || reg_.cReprocessoConfirmado;
  return S_OK;
}

// 7. Texts and runs come with their steps; the emission date must lie in the open period.
HRESULT CPPServidorOP::Gravacao::MontaCabecalho() {
  PPConverteParaDisco(reg_, novo_);
  novo_.usPonteiroUsuarioGravacao = op_.m_usUsuario;
  const uint16_t data = reg_.usDataEmissao;
  if (data < op_.m_regMestre.usDataInferiorPeriodo || data > op_.m_regMestre.usDataSuperiorPeriodo)
    return PPErroHResult(kPPErroForaPeriodo);
  return S_OK;
}

// 8.
HRESULT CPPServidorOP::Gravacao::VerificaQtdLimitada() const {
  if (!reg_.cPossuiItemQtdLimitada) return S_OK;
  for (uint16_t i = 0; i < reg_.usQtdItens; ++i) {
    const _REG_VARMO_OP_ITEMPS& item = reg_.pregItens[i];
    const int64_t replicada = item.vQuantidadeReplicada.int64;
    const bool bSemFonte = item.cTipoItem != kItemNecessidade && item.cTipoItem != kItemPedido;
    if (bSemFonte && item.cGerouOPQtdLimitada && replicada == 0) return PPErroHResult(kPPErroQtdLimitada);
    if (replicada > item.vQuantidadeSaldo.int64 + item.vQuantidadeProgramada.int64)
      return PPErroHResult(kPPErroQtdLimitada);
  }
  return S_OK;
}

// 9. The stored processes are updated in place unless the order is a reprocess order still to be
// confirmed, whose processes are written anew.
void CPPServidorOP::Gravacao::MantemProcessos() {
  bMantemProcessos_ = bRegrava_ && (!gravado_.cOPReprocesso || gravado_.cReprocessoConfirmado);
  if (!bMantemProcessos_) return;
  novo_.ulPrimeiroProcesso = gravado_.ulPrimeiroProcesso;
  novo_.usQtdProcessos = gravado_.usQtdProcessos;
}

// 10. A rewrite that changes the programme: only in situation 1 and while no requirement of its
// inputs has been served; the internal requisition made for the old programme is cancelled.
HRESULT CPPServidorOP::Gravacao::VerificaQuantidades() {
  if (!bRegrava_) return S_OK;
  std::vector<PPDiscoItem> gravados;
  if (HRESULT hr = LeSequencia(arquivos_.m_arqItem, gravado_.ulPrimeiroItem, gravado_.usQtdItens, &gravados)) return hr;
  int64_t antes = 0, depois = 0;
  for (const PPDiscoItem& item : gravados) antes += QuantidadeLiquida(item);
  for (uint16_t i = 0; i < reg_.usQtdItens; ++i) depois += QuantidadeLiquida(reg_.pregItens[i]);
  if (antes == depois) return S_OK;
  if (gravado_.cSituacao != kSituacaoNaoIniciada) return PPErroHResult(kPPErroQuantidadeAlterada);
  bool bAtendida = false;
  if (HRESULT hr = NecessidadesAtendidas(&bAtendida)) return hr;
  if (bAtendida) return PPErroHResult(kPPErroQuantidadeAlterada);
  const uint32_t requisicao = gravado_.ulChaveRequisicaoInterna;
  if (!requisicao) return S_OK;
  if (FAILED(op_.m_buffer.CancelaRequisicaoInterna(requisicao, false))) return PPErroHResult(kPPErroCancelaRequisicao);
  reg_.ulChaveRequisicaoInterna = 0;
  novo_.ulChaveRequisicaoInterna = 0;
  return S_OK;
}

// Whether a requirement of a stored input has any requested, programmed, produced or cancelled
// quantity.
HRESULT CPPServidorOP::Gravacao::NecessidadesAtendidas(bool* pbAtendida) {
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr =
          LeSequencia(arquivos_.m_arqProcesso, gravado_.ulPrimeiroProcesso, gravado_.usQtdProcessos, &processos))
    return hr;
  for (const PPDiscoProcesso& processo : processos) {
    std::vector<PPDiscoInsumo> insumos;
    if (HRESULT hr =
            LeSequencia(arquivos_.m_arqInsumo, processo.ulPrimeiroInsumo, processo.usQuantidadeInsumos, &insumos))
      return hr;
    for (const PPDiscoInsumo& insumo : insumos) {
      if (!insumo.ulRegistroNecessidade) continue;
      PPDiscoNecessidade necessidade;
      if (int erro = arquivos_.m_arqNecessidade.Le(insumo.ulRegistroNecessidade, &necessidade))
        return PPErroHResultMotor(erro);
      *pbAtendida = necessidade.vQtdSolicitada.int64 || necessidade.vQtdProgramada.int64 ||
                    necessidade.vQtdProduzida.int64 || necessidade.vQtdCancelada.int64;
      if (*pbAtendida) return S_OK;
    }
  }
  return S_OK;
}

// 11. A rewrite puts each text in place of its stored one when it fits.
HRESULT CPPServidorOP::Gravacao::GravaTextos() {
  const CString textos[] = {PPTextoCampo(reg_.szInfExtra1), PPTextoCampo(reg_.szInfExtra2),
                            PPTextoCampo(reg_.szInfExtra3), PPTextoCampo(reg_.szInfExtra4),
                            PPTextoCampo(reg_.szInfExtra5), PPTextoCampo(reg_.szObservacao),
                            PPTextoCampo(reg_.szNumeroLote)};
  uint32_t ponteiros[] = {gravado_.ulTextoInfExtra1, gravado_.ulTextoInfExtra2, gravado_.ulTextoInfExtra3,
                          gravado_.ulTextoInfExtra4, gravado_.ulTextoInfExtra5, gravado_.ulTextoObservacao,
                          gravado_.ulTextoNumeroLote};
  for (size_t i = 0; i < std::size(textos); ++i) {
    if (HRESULT hr = GravaTexto(arquivos_.m_arqIE, textos[i], &ponteiros[i])) return hr;
  }
  novo_.ulTextoInfExtra1 = ponteiros[0];
  novo_.ulTextoInfExtra2 = ponteiros[1];
  novo_.ulTextoInfExtra3 = ponteiros[2];
  novo_.ulTextoInfExtra4 = ponteiros[3];
  novo_.ulTextoInfExtra5 = ponteiros[4];
  novo_.ulTextoObservacao = ponteiros[5];
  novo_.ulTextoNumeroLote = ponteiros[6];

  CString mensagem;
  if (HRESULT hr = LeMensagem(&mensagem)) return hr;
  uint32_t ponteiro = gravado_.ulTextoMensagem;
  if (HRESULT hr = GravaTexto(arquivos_.m_arqIE, mensagem, &ponteiro)) return hr;
  novo_.ulTextoMensagem = ponteiro;
  return S_OK;
}

// The text of the order's message from the base system's server; none without a message.
HRESULT CPPServidorOP::Gravacao::LeMensagem(CString* pMensagem) {
  if (!reg_.usPonteiroMensagem) return S_OK;
  HRESULT hr = S_OK;
  IQVDF_Mensagem* servidor = op_.GetIMensagem(&hr);
  if (!servidor) return SemServidor(hr);
  _REG_MENSAGEMPS registro{};
  if (hr = servidor->Le(reg_.usPonteiroMensagem, &registro); FAILED(hr)) return hr;
  // The message record is the base system's and is carried whole; its text stands at its start,
  // and the order keeps as much of it as its own message field holds.
  char texto[sizeof reg_.szMensagem];
  PPCopiaTexto(texto, sizeof texto, reinterpret_cast<const char*>(registro.cReservado0));
  *pMensagem = texto;
  return S_OK;
}

// 12.
HRESULT CPPServidorOP::Gravacao::GravaProcessos() {
  total_ = 0;
  for (uint16_t i = 0; i < reg_.usQtdItens; ++i) total_ += reg_.pregItens[i].vQuantidadeProgramada.int64;
  return bMantemProcessos_ ? ProcessosMantidos() : NovosProcessos();
}

HRESULT CPPServidorOP::Gravacao::NovosProcessos() {
  for (uint16_t i = 0; i < reg_.usQtdProcessos; ++i) {
    const _REG_VARMO_OP_PROCESSOPS& processo = reg_.pregProcessos[i];
    PPDiscoProcesso disco{};
    PPConverteParaDisco(processo, disco);
    disco.cSituacao = kSituacaoNaoIniciada;
    disco.ulPrimeiroApontamento = 0;
    disco.usQuantidadeApontamentos = 0;
    uint32_t detalhe = 0;
    if (HRESULT hr = GravaTexto(arquivos_.m_arqIE, PPTextoCampo(processo.szDetalhe), &detalhe)) return hr;
    disco.ulTextoDetalhe = detalhe;
    for (auto passo : {&Gravacao::GravaInsumos, &Gravacao::GravaRecursos, &Gravacao::GravaImagens,
                       &Gravacao::GravaEtiquetas, &Gravacao::GravaApontamentosSimples}) {
      if (HRESULT hr = (this->*passo)(processo, disco)) return hr;
    }
    uint32_t registro = 0;
    if (int erro = arquivos_.m_arqProcesso.Grava(&disco, &registro)) return PPErroHResultMotor(erro);
    if (i == 0) novo_.ulPrimeiroProcesso = registro;
  }
  novo_.usQtdProcessos = reg_.usQtdProcessos;
  if (!reg_.usQtdProcessos) novo_.ulPrimeiroProcesso = 0;
  return S_OK;
}

// The kept run takes the record's processes in order; a record with more processes than the run
// cannot add any (they would be another order's records), one with fewer leaves the rest as stored.
HRESULT CPPServidorOP::Gravacao::ProcessosMantidos() {
  const uint16_t gravados = gravado_.usQtdProcessos;
  const uint16_t quantidade = reg_.usQtdProcessos < gravados ? reg_.usQtdProcessos : gravados;
  for (uint16_t i = 0; i < quantidade; ++i) {
    const _REG_VARMO_OP_PROCESSOPS& processo = reg_.pregProcessos[i];
    const uint32_t registro = gravado_.ulPrimeiroProcesso + i;
    PPDiscoProcesso disco;
    if (int erro = arquivos_.m_arqProcesso.Le(registro, &disco)) return PPErroHResultMotor(erro);
    if (novo_.cSituacao == kSituacaoNaoIniciada) {
      if (HRESULT hr = AtualizaNecessidadesInsumos(disco)) return hr;
      if (HRESULT hr = GravaInsumos(processo, disco)) return hr;
    }
    if (processo.usQuantidadeRecursos) {
      if (HRESULT hr = GravaRecursos(processo, disco)) return hr;
    }
    if (processo.usQtdEtiquetas) {
      if (HRESULT hr = RecalculaEtiquetas(disco)) return hr;
    }
    if (!disco.cRecebeApontamento) {
      disco.cSituacao = processo.cSituacao;
      disco.usMenorDataInicio = disco.usMenorHoraInicio = 0;
      disco.usMaiorDataFim = disco.usMaiorHoraFim = 0;
      if (HRESULT hr = GravaApontamentosSimples(processo, disco)) return hr;
    }
    if (HRESULT hr = PPRegravaRegistroOP(arquivos_.m_arqProcesso, registro, disco)) return hr;
  }
  return S_OK;
}

// 13. The requirement of a stored input is settled before its input is replaced: it gives up what
// it still asked for, as a cancellation would (cancelled = requested - programmed - grouped, with
// the session user and today as the cancellation's), since the input that replaces it gets a
// requirement of its own from its own shortfall (step 14).
HRESULT CPPServidorOP::Gravacao::AtualizaNecessidadesInsumos(const PPDiscoProcesso& disco) {
  std::vector<PPDiscoInsumo> insumos;
  if (HRESULT hr = LeSequencia(arquivos_.m_arqInsumo, disco.ulPrimeiroInsumo, disco.usQuantidadeInsumos, &insumos))
    return hr;
  for (const PPDiscoInsumo& insumo : insumos) {
    const uint32_t registro = insumo.ulRegistroNecessidade;
    if (!registro) continue;
    PPDiscoNecessidade necessidade;
    if (int erro = arquivos_.m_arqNecessidade.Le(registro, &necessidade)) return PPErroHResultMotor(erro);
    const int64_t restante =
        necessidade.vQtdSolicitada.int64 - necessidade.vQtdProgramada.int64 - necessidade.vQtdAgrupada.int64;
    necessidade.vQtdCancelada.int64 = restante > 0 ? restante : 0;
    necessidade.usPonteiroUsuarioCancelManual = op_.m_usUsuario;
    necessidade.usDataCancelamentoManual = QVGetDataAtual(false);
    if (HRESULT hr = PPRegravaRegistroOP(arquivos_.m_arqNecessidade, registro, necessidade)) return hr;
  }
  return S_OK;
}

// 13. The inputs, appended anew from the record with their totals for the order's total.
HRESULT CPPServidorOP::Gravacao::GravaInsumos(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco) {
  std::vector<PPDiscoInsumo> insumos(processo.usQuantidadeInsumos);
  for (uint16_t j = 0; j < processo.usQuantidadeInsumos; ++j) {
    PPDiscoInsumo& insumo = insumos[j];
    PPConverteParaDisco(processo.pregInsumos[j], insumo);
    const bool bEmbalagem = novo_.cTratarInsumoEmbalagem && insumo.cEhEmbalagem;
    const uint8_t casas = insumo.cCasasDecimais;
    insumo.vQuantidadeTotal.int64 = QuantidadeInsumo(insumo.vQuantidadeUnitaria.int64, total_, bEmbalagem, casas);
    insumo.vQuantTotalComQuebra.int64 =
        QuantidadeInsumo(insumo.vQuantUnitariaComQuebra.int64, total_, bEmbalagem, casas);
    insumo.ulRegistroNecessidade = 0;
    insumo.cNecessidadeVinculada = 0;
    if (bGeraNecessidade_) {
      if (HRESULT hr = NecessidadeAutomatica(insumo)) return hr;
    }
  }
  uint32_t primeiro = 0;
  if (HRESULT hr = AnexaSequencia(arquivos_.m_arqInsumo, insumos, &primeiro)) return hr;
  disco.ulPrimeiroInsumo = primeiro;
  disco.usQuantidadeInsumos = processo.usQuantidadeInsumos;
  return S_OK;
}

// 14. An input made in-house that the stock of its position cannot cover gets a requirement of
// the shortfall.
HRESULT CPPServidorOP::Gravacao::NecessidadeAutomatica(PPDiscoInsumo& insumo) {
  if (!op_.m_regMestre.cGerarNecessidadeAutomatica) return S_OK;
  const uint32_t produto = insumo.lPonteiroProduto;
  CPPDadosProduto dados;
  if (int32_t hr = op_.m_buffer.LeBufferProduto(static_cast<int32_t>(produto), &dados, 0); FAILED(hr)) return hr;
  if (!dados.EhProdutoProprio()) return S_OK;
  const uint8_t tipoEstoque = insumo.cTipoEstoque;
  if (tipoEstoque != 0 && tipoEstoque != 2) return S_OK;

  HRESULT hr = S_OK;
  IQVES_Movimento* movimento = op_.GetIMovimento(&hr);
  if (!movimento) return SemServidor(hr);
  _REG_ES_CHAVE_SALDOPS chave{};
  chave.regPosicaoProduto.lPonteiroProduto = produto;
  chave.regPosicaoProduto.iPonteiroItemGrade1 = insumo.iPonteiroItemGrade1;
  chave.regPosicaoProduto.iPonteiroItemGrade2 = insumo.iPonteiroItemGrade2;
  chave.regPosicaoProduto.iPonteiroItemGrade3 = insumo.iPonteiroItemGrade3;
  chave.iPonteiroFilial = novo_.usPonteiroFilial;
  chave.iPonteiroLocalArmazenagem = insumo.usPonteiroLocalEstocagem;
  chave.lPonteiroLote = insumo.lPonteiroLote;
  chave.lPonteiroForLote = insumo.lPonteiroForLote;
  chave.lPonteiroForEPTETPE = insumo.lPonteiroForEPTETPE;
  chave.lPonteiroCliEPTETPE = insumo.lPonteiroCliEPTETPE;
  chave.lPonteiroVolume = insumo.lPonteiroVolumeES;
  _REG_ES_SALDO_POSICAOPS saldo{};
  if (hr = movimento->LeSaldoPosicao(chave, &saldo, 0, 0); FAILED(hr)) return hr;
  const int64_t estoque = tipoEstoque == 0 ? saldo.vSaldoTipoEstoque0.int64 : saldo.vSaldoTipoEstoque2.int64;
  const int64_t falta = insumo.vQuantTotalComQuebra.int64 - (estoque > 0 ? estoque : 0);
  if (falta <= 0) return S_OK;

  PPDiscoNecessidade necessidade{};
  necessidade.vQtdSolicitada.int64 = falta;
  necessidade.lPonteiroProduto = produto;
  necessidade.iPonteiroItemGrade1 = insumo.iPonteiroItemGrade1;
  necessidade.iPonteiroItemGrade2 = insumo.iPonteiroItemGrade2;
  necessidade.iPonteiroItemGrade3 = insumo.iPonteiroItemGrade3;
  necessidade.cTipoRegistro = kNecessidadeOP;
  uint32_t registro = 0;
  if (int erro = arquivos_.m_arqNecessidade.Grava(&necessidade, &registro)) return PPErroHResultMotor(erro);
  insumo.ulRegistroNecessidade = registro;
  return S_OK;
}

// 15. Resources as given.
HRESULT CPPServidorOP::Gravacao::GravaRecursos(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco) {
  std::vector<PPDiscoRecursoProcesso> recursos(processo.usQuantidadeRecursos);
  for (uint16_t j = 0; j < processo.usQuantidadeRecursos; ++j)
    PPConverteParaDisco(processo.pregRecursos[j], recursos[j]);
  uint32_t primeiro = 0;
  if (HRESULT hr = AnexaSequencia(arquivos_.m_arqRP, recursos, &primeiro)) return hr;
  disco.ulPrimeiroRecurso = primeiro;
  disco.usQuantidadeRecursos = processo.usQuantidadeRecursos;
  return S_OK;
}

// 15. Images: each file name in PPIN, its offset in PPIP.
HRESULT CPPServidorOP::Gravacao::GravaImagens(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco) {
  std::vector<PPDiscoImagem> imagens(processo.usQtdImagens);
  for (uint16_t j = 0; j < processo.usQtdImagens; ++j) {
    uint32_t ponteiro = 0;
    if (HRESULT hr = GravaTexto(arquivos_.m_arqIN, PPTextoCampo(processo.pregImagens[j].szNomeArquivo), &ponteiro))
      return hr;
    imagens[j].ulTextoNomeArquivo = ponteiro;
  }
  uint32_t primeiro = 0;
  if (HRESULT hr = AnexaSequencia(arquivos_.m_arqIP, imagens, &primeiro)) return hr;
  disco.ulPrimeiraImagem = primeiro;
  disco.usQtdImagens = processo.usQtdImagens;
  return S_OK;
}

// 15. Labels of a new process: none issued yet, the total from the order's total.
HRESULT CPPServidorOP::Gravacao::GravaEtiquetas(const _REG_VARMO_OP_PROCESSOPS& processo, PPDiscoProcesso& disco) {
  std::vector<PPDiscoEtiqueta> etiquetas(processo.usQtdEtiquetas);
  for (uint16_t j = 0; j < processo.usQtdEtiquetas; ++j) {
    const _REG_PP_OP_PROCESSO_ETIQUETAPS& etiqueta = processo.pregEtiquetas[j];
    PPDiscoEtiqueta& gravada = etiquetas[j];
    PPConverteParaDisco(etiqueta, gravada);
    uint32_t leiaute = 0;
    if (HRESULT hr = GravaTexto(arquivos_.m_arqIE, PPTextoCampo(etiqueta.szLeiaute), &leiaute)) return hr;
    gravada.ulTextoLeiaute = leiaute;
    gravada.ulQuantidadeEmitida = 0;
    gravada.ulQuantidadeTotal = TotalEtiquetas(total_, etiqueta.usQuantidade);
  }
  uint32_t primeiro = 0;
  if (HRESULT hr = AnexaSequencia(arquivos_.m_arqProcessoEtiqueta, etiquetas, &primeiro)) return hr;
  disco.ulPrimeiraEtiqueta = primeiro;
  disco.usQtdEtiquetas = processo.usQtdEtiquetas;
  return S_OK;
}

// 15. Labels of a kept process: each stored label's total follows the order's total.
HRESULT CPPServidorOP::Gravacao::RecalculaEtiquetas(const PPDiscoProcesso& disco) {
  std::vector<PPDiscoEtiqueta> etiquetas;
  const uint32_t primeira = disco.ulPrimeiraEtiqueta;
  if (HRESULT hr = LeSequencia(arquivos_.m_arqProcessoEtiqueta, primeira, disco.usQtdEtiquetas, &etiquetas)) return hr;
  for (size_t j = 0; j < etiquetas.size(); ++j) {
    etiquetas[j].ulQuantidadeTotal = TotalEtiquetas(total_, etiquetas[j].usQuantidade);
    if (HRESULT hr =
            PPRegravaRegistroOP(arquivos_.m_arqProcessoEtiqueta, primeira + static_cast<uint32_t>(j), etiquetas[j]))
      return hr;
  }
  return S_OK;
}

// 15. Simple reports: the recording stamped when it has none, the operation's kind, the comment;
// each one widens the process's earliest start and latest end.
HRESULT CPPServidorOP::Gravacao::GravaApontamentosSimples(const _REG_VARMO_OP_PROCESSOPS& processo,
                                                          PPDiscoProcesso& disco) {
  const uint16_t quantidade = processo.usQuantidadeApontamentosSimples;
  std::vector<PPDiscoApontamentoSimples> apontamentos(quantidade);
  for (uint16_t j = 0; j < quantidade; ++j) {
    const _REG_VARMO_OP_APONTAMENTO& apontamento = processo.pregApontamentosSimples[j];
    PPDiscoApontamentoSimples& simples = apontamentos[j];
    PPConverteParaDisco(apontamento, simples);
    if (!simples.usDataGravacao) {
      simples.usDataGravacao = QVGetDataAtual(false);
      simples.usHoraGravacao = static_cast<uint16_t>(QVGetMinutosAtual());
      simples.usPonteiroUsuarioGravacao = op_.m_usUsuario;
    }
    if (apontamento.lPonteiroOperacaoProducao) {
      _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
      if (HRESULT hr = op_.m_operacaoProducao.Le(apontamento.lPonteiroOperacaoProducao, &operacao); FAILED(hr))
        return hr;
      simples.cTipoOperacao = operacao.cTipoOperacao;
    }
    uint32_t comentario = 0;
    if (HRESULT hr = GravaTexto(arquivos_.m_arqIE, PPTextoCampo(apontamento.szComentario), &comentario)) return hr;
    simples.ulTextoComentario = comentario;

    const uint16_t dataInicio = simples.usDataApontamentoInicio, horaInicio = simples.usHoraApontamentoInicio;
    const uint16_t dataFim = simples.usDataApontamentoFim, horaFim = simples.usHoraApontamentoFim;
    if (dataInicio &&
        (!disco.usMenorDataInicio || Antes(dataInicio, horaInicio, disco.usMenorDataInicio, disco.usMenorHoraInicio))) {
      disco.usMenorDataInicio = dataInicio;
      disco.usMenorHoraInicio = horaInicio;
    }
    if (Antes(disco.usMaiorDataFim, disco.usMaiorHoraFim, dataFim, horaFim)) {
      disco.usMaiorDataFim = dataFim;
      disco.usMaiorHoraFim = horaFim;
    }
  }
  uint32_t primeiro = 0;
  if (HRESULT hr = AnexaSequencia(arquivos_.m_arqAS, apontamentos, &primeiro)) return hr;
  disco.ulPrimeiroApontamentoSimples = primeiro;
  disco.usQuantidadeApontamentosSimples = quantidade;
  return S_OK;
}

// 16. An item that has production must stay, with its production, and cannot fall below it.
HRESULT CPPServidorOP::Gravacao::GravaItens() {
  std::vector<PPDiscoItem> itens(reg_.usQtdItens);
  for (uint16_t i = 0; i < reg_.usQtdItens; ++i) PPConverteParaDisco(reg_.pregItens[i], itens[i]);
  std::vector<PPDiscoItem> gravados;
  if (bRegrava_) {
    if (HRESULT hr = LeSequencia(arquivos_.m_arqItem, gravado_.ulPrimeiroItem, gravado_.usQtdItens, &gravados))
      return hr;
  }
  std::vector<bool> usados(itens.size(), false);
  for (const PPDiscoItem& gravado : gravados) {
    if (!gravado.vQuantidadeProduzida.int64 && !gravado.vQuantidadePerdida.int64 && !gravado.vQuantidadeCancelada.int64)
      continue;
    size_t i = 0;
    while (i < itens.size() &&
           (usados[i] || itens[i].lPonteiroPedidoNecessidade != gravado.lPonteiroPedidoNecessidade ||
            itens[i].ulChaveApontamentoOPOrigem != gravado.ulChaveApontamentoOPOrigem ||
            itens[i].usIdxItemPedido != gravado.usIdxItemPedido || itens[i].cTipoItem != gravado.cTipoItem))
      ++i;
    if (i == itens.size()) return PPErroHResult(kPPErroItemProduzido);
    usados[i] = true;
    PPDiscoItem& item = itens[i];
    item.vQuantidadeProduzida.int64 = gravado.vQuantidadeProduzida.int64;
    item.vQuantidadePerdida.int64 = gravado.vQuantidadePerdida.int64;
    item.vQuantidadeCancelada.int64 = gravado.vQuantidadeCancelada.int64;
    item.cEncerramentoForcado = gravado.cEncerramentoForcado;
    const int64_t saldo = item.vQuantidadeProgramada.int64 - item.vQuantidadeProduzida.int64 -
                          item.vQuantidadePerdida.int64 - item.vQuantidadeCancelada.int64;
    if (saldo < 0) return PPErroHResult(kPPErroItemProduzido);
  }
  uint32_t primeiro = 0;
  if (HRESULT hr = AnexaSequencia(arquivos_.m_arqItem, itens, &primeiro)) return hr;
  novo_.ulPrimeiroItem = primeiro;
  novo_.usQtdItens = reg_.usQtdItens;
  return S_OK;
}

// 17. The first save numbers the order by its type.
HRESULT CPPServidorOP::Gravacao::NumeraOP() {
  if (novo_.lNumeroOP) return S_OK;
  const int32_t tipoOP = novo_.lPonteiroTipoOP;
  _REG_VARMO_TIPO_OPPS tipo{};
  if (HRESULT hr = op_.m_tipoOP.Le(tipoOP, &tipo, 0); FAILED(hr)) return hr;
  novo_.cFazEntradaDepoisNoES = tipo.cFazEntradaDepoisNoES;
  novo_.cApontarOcorrenciaRecurso = tipo.cApontarOcorrenciaRecurso;
  uint32_t numero = 0;
  if (HRESULT hr = op_.m_tipoOP.IncrementaOP(tipoOP, &numero); FAILED(hr)) return hr;
  novo_.lNumeroOP = numero;
  reg_.lNumeroOP = numero;
  return S_OK;
}

// 18.
HRESULT CPPServidorOP::Gravacao::GravaCabecalho(uint32_t* plPntrOut) {
  uint32_t registro = QVGetNumeroDaChave(lPntrIn_);
  if (int erro = arquivos_.m_arqOP.Grava(&novo_, &registro)) return PPErroHResultMotor(erro);
  chave_ = QVMontaChave(usMesAno_, registro);
  reg_.ulChaveOP = chave_;
  reg_.lPonteiroOP = static_cast<int32_t>(registro);
  *plPntrOut = chave_;
  return S_OK;
}

// 19.
void CPPServidorOP::Gravacao::GravaHistorico() {
  if (!op_.m_historico.EstaAberto()) return;
  const CString produtoServico = PPTextoProdutoServico(novo_.cTipoProdutoServico);
  op_.m_historico.GravaLinha(
      bRegrava_ ? kPPHistoricoAlteracao : kPPHistoricoInclusao,
      "OP: %s - Filial: %i - Projeto: %i - %s: %i-%i-%i-%i - Tipo OP: %i - Fluxo: %i",
      static_cast<const char*>(QVChaveParaTexto(chave_)), novo_.usPonteiroFilial, novo_.lPonteiroColecao,
      static_cast<const char*>(produtoServico), static_cast<int>(novo_.lPonteiroProduto), novo_.iPonteiroItemGrade1,
      novo_.iPonteiroItemGrade2, novo_.iPonteiroItemGrade3, novo_.lPonteiroTipoOP, novo_.lPonteiroFluxoProcesso);
}

// ---------------------------------------------------------------------------------------------------
// Item integration: what the order takes now of each sales-order item and requirement, against
// what it took before the save.

HRESULT CPPServidorOP::Gravacao::IntegraItens() {
  Arquivos itens;
  if (HRESULT hr = itens.Inicializa(op_.m_strEmpresa, 0, 0)) return hr;
  itens.SetArquivos(Arquivos::kArqItem);
  if (HRESULT hr = itens.SetModo(usMesAno_, 'G')) return hr;
  std::vector<PPDiscoItem> novos, gravados;
  if (HRESULT hr = LeSequencia(itens.m_arqItem, novo_.ulPrimeiroItem, novo_.usQtdItens, &novos)) return hr;
  if (bRegrava_) {
    if (HRESULT hr = LeSequencia(itens.m_arqItem, gravado_.ulPrimeiroItem, gravado_.usQtdItens, &gravados)) return hr;
  }
  std::map<ItemPedido, int64_t> pedidos;
  std::map<uint32_t, int64_t, OrdemChave> necessidades;
  auto acumula = [&](const std::vector<PPDiscoItem>& lista, bool bNovo) {
    for (const PPDiscoItem& item : lista) {
      const int64_t quantidade = bNovo ? QuantidadeLiquida(item) : -QuantidadeLiquida(item);
      const uint32_t fonte = item.lPonteiroPedidoNecessidade;
      if (item.cTipoItem == kItemPedido) pedidos[ItemPedido(fonte, item.usIdxItemPedido)] += quantidade;
      if (item.cTipoItem == kItemNecessidade) necessidades[fonte] += quantidade;
    }
  };
  acumula(novos, true);
  acumula(gravados, false);

  std::vector<tagREG_DIFERENCA_QTD_PEDIDOPS> diferencas;
  for (const auto& [item, quantidade] : pedidos) {
    if (!quantidade) continue;
    tagREG_DIFERENCA_QTD_PEDIDOPS diferenca{};
    diferenca.vQuantidade.int64 = quantidade;
    diferenca.lPonteiroPedido = item.first;
    diferenca.usIdxItemPedido = item.second;
    diferencas.push_back(diferenca);
  }
  if (HRESULT hr = op_.EnviaDiferencasPedidos(diferencas)) return hr;

  Arquivos arquivosNecessidades;
  if (HRESULT hr = arquivosNecessidades.Inicializa(op_.m_strEmpresa, 0, 0)) return hr;
  arquivosNecessidades.SetArquivos(Arquivos::kArqNecessidade);
  for (const auto& [chave, quantidade] : necessidades) {
    if (!quantidade) continue;
    if (HRESULT hr = op_.AjustaNecessidade(arquivosNecessidades, chave, quantidade)) return hr;
  }

  for (size_t i = 0; i < novos.size(); ++i) {
    if (novos[i].cTipoItem != kItemNecessidade && novos[i].cTipoItem != kItemPedido) continue;
    novos[i].cIntegradoQuantidade = 1;
    if (HRESULT hr = PPRegravaRegistroOP(itens.m_arqItem, novo_.ulPrimeiroItem + static_cast<uint32_t>(i), novos[i]))
      return hr;
  }
  return S_OK;
}

// The sales server takes the differences while the branch integrates sales orders.
HRESULT CPPServidorOP::EnviaDiferencasPedidos(std::vector<tagREG_DIFERENCA_QTD_PEDIDOPS>& diferencas) {
  if (diferencas.empty() || !m_mestre.GetIntegraPedidos()) return S_OK;
  HRESULT hr = S_OK;
  IQVFT_Pedido* pedido = GetIPedido(&hr);
  if (!pedido) return SemServidor(hr);
  hr = pedido->AtualizaQuantidadesProgramadas(static_cast<uint32_t>(diferencas.size()), diferencas.data());
  return FAILED(hr) ? hr : S_OK;
}

// A requirement takes the difference into its programmed quantity. What an order gives back to a
// requirement that was cancelled by hand, or whose generating order is cancelled, can no longer be
// asked for: it becomes cancelled quantity, so the requirement does not turn pending again.
HRESULT CPPServidorOP::AjustaNecessidade(Arquivos& necessidades, uint32_t ulChave, int64_t diferenca) {
  const uint16_t mes = QVGetMesAnoDaChave(ulChave);
  if (!necessidades.Existe(Arquivos::kArqNecessidade, mes)) return PPErroHResult(kQVErroArquivoInexistente);
  if (HRESULT hr = necessidades.SetModo(mes, 'G')) return hr;
  const uint32_t registro = QVGetNumeroDaChave(ulChave);
  PPDiscoNecessidade necessidade;
  if (int erro = necessidades.m_arqNecessidade.Le(registro, &necessidade)) return PPErroHResultMotor(erro);
  necessidade.vQtdProgramada.int64 += diferenca;
  if (diferenca < 0) {
    bool bCancelada = necessidade.usDataCancelamentoManual != 0;
    if (!bCancelada) {
      if (HRESULT hr = OrdemCancelada(mes, necessidade.lPonteiroOPGeradora, &bCancelada)) return hr;
    }
    if (bCancelada) necessidade.vQtdCancelada.int64 -= diferenca;
  }
  return PPRegravaRegistroOP(necessidades.m_arqNecessidade, registro, necessidade);
}

// Whether the order of record lRegistro of the month (0: none) is cancelled; the month's order file
// is only read, never created.
HRESULT CPPServidorOP::OrdemCancelada(uint16_t usMesAno, int32_t lRegistro, bool* pbCancelada) {
  *pbCancelada = false;
  if (lRegistro <= 0) return S_OK;
  CPPArqEx arquivo;
  PPDiscoOP ordem;
  const CString caminho = CaminhoArquivo(PPArquivoPeriodoOP::OP, usMesAno);
  if (int erro = arquivo.LeRegistro(caminho, static_cast<uint32_t>(lRegistro), &ordem, sizeof ordem))
    return PPErroHResultMotor(erro);
  *pbCancelada = ordem.cSituacao == kSituacaoCancelada;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// Requirement link: each requirement made for an input carries the order once it is saved.

HRESULT CPPServidorOP::Gravacao::VinculaNecessidades() {
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(op_.m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqProcesso | Arquivos::kArqInsumo | Arquivos::kArqNecessidade);
  if (HRESULT hr = arquivos.SetModo(usMesAno_, 'G')) return hr;
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = LeSequencia(arquivos.m_arqProcesso, novo_.ulPrimeiroProcesso, novo_.usQtdProcessos, &processos))
    return hr;
  for (const PPDiscoProcesso& processo : processos) {
    std::vector<PPDiscoInsumo> insumos;
    const uint32_t primeiro = processo.ulPrimeiroInsumo;
    if (HRESULT hr = LeSequencia(arquivos.m_arqInsumo, primeiro, processo.usQuantidadeInsumos, &insumos)) return hr;
    for (size_t j = 0; j < insumos.size(); ++j) {
      PPDiscoInsumo& insumo = insumos[j];
      const uint32_t registro = insumo.ulRegistroNecessidade;
      if (!registro || insumo.cNecessidadeVinculada) continue;
      PPDiscoNecessidade necessidade;
      if (int erro = arquivos.m_arqNecessidade.Le(registro, &necessidade)) return PPErroHResultMotor(erro);
      necessidade.lPonteiroOPGeradora = static_cast<int32_t>(QVGetNumeroDaChave(chave_));
      necessidade.usPonteiroFilial = novo_.usPonteiroFilial;
      necessidade.lPonteiroColecao = novo_.lPonteiroColecao;
      necessidade.usDataEmissao = novo_.usDataEmissao;
      necessidade.usPonteiroUsuarioEmissao = novo_.usPonteiroUsuarioEmissao;
      if (HRESULT hr = PPRegravaRegistroOP(arquivos.m_arqNecessidade, registro, necessidade)) return hr;
      insumo.cNecessidadeVinculada = 1;
      if (HRESULT hr = PPRegravaRegistroOP(arquivos.m_arqInsumo, primeiro + static_cast<uint32_t>(j), insumo)) return hr;
    }
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// GravaOP

HRESULT CPPServidorOP::GravaOP(uint32_t lPntrIn, _REG_VARMO_OPPS RegPS, uint32_t* plPntrOut, uint8_t bMarca) {
  // 1.
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!plPntrOut) return E_POINTER;
  *plPntrOut = 0;
  if (lPntrIn && !ChaveValida(lPntrIn)) return PPErroHResult(kPPErroArgumentoInvalido);
  if (HRESULT hr = VerificaListas(RegPS)) return hr;
  Gravacao gravacao(*this, lPntrIn, RegPS);
  // 2.
  gravacao.DefineEmissao();
  // 3. Held to the end, the follow-up steps included.
  CQVArqMarca marca;
  if (bMarca) {
    if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  }
  // 4.
  if (HRESULT hr = gravacao.AbreArquivos()) return hr;
  // 5. and 6.
  if (HRESULT hr = gravacao.Regrava() ? gravacao.LeGravado() : gravacao.PreparaNova()) return hr;
  // 7. to 19.
  if (HRESULT hr = gravacao.MontaCabecalho()) return hr;
  if (HRESULT hr = gravacao.VerificaQtdLimitada()) return hr;
  gravacao.MantemProcessos();
  if (HRESULT hr = gravacao.VerificaQuantidades()) return hr;
  if (HRESULT hr = gravacao.GravaTextos()) return hr;
  if (HRESULT hr = gravacao.GravaProcessos()) return hr;
  if (HRESULT hr = gravacao.GravaItens()) return hr;
  if (HRESULT hr = gravacao.NumeraOP()) return hr;
  if (HRESULT hr = gravacao.GravaCabecalho(plPntrOut)) return hr;
  gravacao.GravaHistorico();
  // 20. The follow-up steps open their own files (the situation's and the reservations' deny other
  // writers of the month), so the save's set closes first.
  if (HRESULT hr = gravacao.FechaArquivos()) return hr;
  const uint32_t chave = gravacao.Chave();
  if (HRESULT hr = gravacao.IntegraItens()) return hr;
  if (HRESULT hr = gravacao.VinculaNecessidades()) return hr;
  if (HRESULT hr = AtualizaSituacaoOP(chave); FAILED(hr)) return hr;
  if (HRESULT hr = AtualizaReservasOP(chave); FAILED(hr)) return hr;
  if (HRESULT hr = GeraRequisicaoInternaOP(chave); FAILED(hr)) return hr;
  if (!gravacao.Regrava() && RegPS.cPossuiItemQtdLimitada) return ReplicaOPLimitada(RegPS, chave);
  return S_OK;
}

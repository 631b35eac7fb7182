// Reading and lists of production orders: the key searches through the order filter and its
// pre-selection, the readers of whole orders and of headers, the pending items of an order and the
// open balances of the items' sources.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/CQVArqEx.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "platform/com/taskmem.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPConversaoOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;

// A search reads the headers with what the filter may look at: items, processes, their resources.
constexpr uint32_t kArquivosBusca = Arquivos::kArqOP | Arquivos::kArqItem | Arquivos::kArqProcesso | Arquivos::kArqRP;

// The kinds of the filter's initialisation key.
constexpr uint16_t kChaveRemessa = 1;
constexpr uint16_t kChaveApontamento = 2;

// The sales-order server's read kind that brings the items.
constexpr int32_t kLeituraPedidoItens = 3;

bool Entre(uint8_t valor, std::initializer_list<uint8_t> valores) {
  return std::find(valores.begin(), valores.end(), valor) != valores.end();
}

bool Concluida(uint8_t cSituacao) { return Entre(cSituacao, {49, 50}); }

int64_t Valor(CY valor) { return valor.int64; }

// The product, kind and grid of a filter against a record's: the kind only when the filter names
// one, each grid item only when the filter's is not 0.
bool MesmaPosicao(const _REG_POSICAO_PRODUTOPS& filtro, uint8_t cTipoFiltro, uint32_t lProduto, uint16_t usGrade1,
                  uint16_t usGrade2, uint16_t usGrade3, uint8_t cTipo) {
  if (cTipoFiltro && cTipoFiltro != cTipo) return false;
  if (filtro.lPonteiroProduto != lProduto) return false;
  if (filtro.iPonteiroItemGrade1 && filtro.iPonteiroItemGrade1 != usGrade1) return false;
  if (filtro.iPonteiroItemGrade2 && filtro.iPonteiroItemGrade2 != usGrade2) return false;
  return !filtro.iPonteiroItemGrade3 || filtro.iPonteiroItemGrade3 == usGrade3;
}

// ---------------------------------------------------------------------------------------------------
// Runs and texts of an open month

// A list of a COM record as it is handed out: an array of the task allocator and its count.
template <class Elemento>
struct ListaLida {
  Elemento* pElementos = nullptr;
  uint16_t usQuantidade = 0;
};

// A run converted element by element (converte(disco, zeroed element) -> HRESULT) into a new array;
// an empty run gives no array. On failure nothing stays allocated.
template <class Disco, class Elemento, class Converte>
HRESULT LeLista(CPPArqEx& arquivo, uint32_t primeiro, uint16_t quantidade, ListaLida<Elemento>* lista,
                Converte converte) {
  *lista = {};
  std::vector<Disco> discos;
  if (HRESULT hr = PPLeSequenciaOP(arquivo, primeiro, quantidade, discos)) return hr;
  if (discos.empty()) return S_OK;
  auto* elementos = static_cast<Elemento*>(CoTaskMemAlloc(discos.size() * sizeof(Elemento)));
  if (!elementos) return E_OUTOFMEMORY;
  for (size_t i = 0; i < discos.size(); ++i) {
    elementos[i] = Elemento{};
    if (HRESULT hr = converte(discos[i], elementos[i])) {
      CoTaskMemFree(elementos);
      return hr;
    }
  }
  *lista = {elementos, quantidade};
  return S_OK;
}

// The text at `ponteiro` of an open text file into a COM field, cut to fit; a failure is 1590.
template <size_t N>
HRESULT LeTexto(CQVArqDyn& arquivo, uint32_t ponteiro, char (&campo)[N]) {
  CString texto;
  if (HRESULT hr = PPLeTextoDyn(&arquivo, ponteiro, texto)) return PPErroTexto(hr);
  PPCopiaCampo(campo, texto);
  return S_OK;
}

// The header of a key, from the set opened (read-only) on the key's month.
HRESULT LeCabecalho(Arquivos& arquivos, uint32_t ulChave, PPDiscoOP* ordem) {
  const uint16_t usMes = QVGetMesAnoDaChave(ulChave);
  if (!arquivos.Existe(Arquivos::kArqOP, usMes)) return PPErroHResult(kPPErroMesSemOP);
  if (HRESULT hr = arquivos.SetModo(usMes, 'L')) return hr;
  const uint32_t registro = QVGetNumeroDaChave(ulChave);
  if (registro == 0) return PPErroHResult(kQVErroFimArquivo);
  if (int erro = arquivos.m_arqOP.Le(registro, ordem)) return PPErroHResultMotor(erro);
  return ordem->cRemovido ? PPErroHResult(kPPErroRegistroRemovido) : S_OK;
}

void ConverteCabecalho(const PPDiscoOP& ordem, uint32_t ulChave, _REG_VARMO_OPPS& registro) {
  PPConverteParaCOM(ordem, registro);
  registro.lPonteiroOP = static_cast<int32_t>(QVGetNumeroDaChave(ulChave));
  registro.ulChaveOP = ulChave;
}

// What a reading gave one order record, given back to the task allocator.
void LiberaLeitura(_REG_VARMO_OPPS& registro) {
  for (uint16_t i = 0; registro.pregProcessos && i < registro.usQtdProcessos; ++i)
    LiberaRegistroOPProcesso(&registro.pregProcessos[i], 0);
  CoTaskMemFree(registro.pregProcessos);
  CoTaskMemFree(registro.pregItens);
  registro.pregProcessos = nullptr;
  registro.pregItens = nullptr;
  registro.usQtdProcessos = 0;
  registro.usQtdItens = 0;
}

// A sales order of the sales-order server, given back with all it holds.
class PedidoLido {
 public:
  PedidoLido() = default;
  ~PedidoLido() { Libera(); }
  PedidoLido(const PedidoLido&) = delete;
  PedidoLido& operator=(const PedidoLido&) = delete;

  HRESULT Le(IQVFT_Pedido* servidor, uint32_t ulChave) {
    Libera();
    const HRESULT hr = servidor->LePedido(ulChave, kLeituraPedidoItens, &m_pedido);
    if (FAILED(hr)) return hr;
    m_ulChave = ulChave;
    return m_pedido ? S_OK : E_UNEXPECTED;
  }
  bool Lido(uint32_t ulChave) const { return m_pedido && m_ulChave == ulChave; }
  const tagREG_PEDIDOPS& Pedido() const { return *m_pedido; }
  // The item of that index, or null past the order's items.
  const tagREG_ITENSPEDIDOPS* Item(uint16_t usIdx) const {
    return m_pedido->pregItens && usIdx < m_pedido->iQtdItens ? &m_pedido->pregItens[usIdx] : nullptr;
  }

 private:
  void Libera() {
    LiberaRegistroPedidoFT(m_pedido);
    CoTaskMemFree(m_pedido);
    m_pedido = nullptr;
  }

  tagREG_PEDIDOPS* m_pedido = nullptr;
  uint32_t m_ulChave = 0;
};

// What production still owes a sales-order item.
int64_t SaldoItemPedido(const tagREG_ITENSPEDIDOPS& item) {
  return Valor(item.vQuantidade) - Valor(item.vQuantidadeAtendida) - Valor(item.vQuantidadeCancelada) -
         Valor(item.vQuantidadeProgramada);
}

// What orders may still take of a requirement.
int64_t SaldoNecessidade(const PPDiscoNecessidade& necessidade) {
  return Valor(necessidade.vQtdSolicitada) - Valor(necessidade.vQtdProgramada) - Valor(necessidade.vQtdCancelada);
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// One search or reading

class CPPServidorOP::Leitura {
 public:
  explicit Leitura(CPPServidorOP& op) : m_op(op), m_filtro(op.m_regFiltro) {}

  // The keys of the orders emitted from usDataInicial to usDataFinal that pass the filter.
  HRESULT Busca(uint16_t usDataInicial, uint16_t usDataFinal, std::vector<uint32_t>* chaves);

  HRESULT LeOrdem(Arquivos& arquivos, uint32_t ulChave, _REG_VARMO_OPPS& registro, uint16_t usTipoLeitura);
  // An item as the readers give it: usIdxItemOP, the branch, what its requirement or sales order adds.
  HRESULT LeItem(const PPDiscoOP& ordem, const PPDiscoItem& disco, uint16_t usIdx, _REG_VARMO_OP_ITEMPS& item);
  // The open balance of each entry, in place.
  HRESULT SaldosFontes(_REG_VARMO_SALDO_ITEM_OPPS* saldos, uint16_t usQtd);

 private:
  // ---- The filter ----
  bool PreSelecionando() const { return m_filtro.usTipoChaveInicializacao && m_filtro.ulChaveInicializacao; }
  HRESULT MontaPreSelecao();
  HRESULT PreSelecionaApontamento(uint32_t ulChaveApontamento);
  HRESULT PreSelecionaRemessa(uint32_t ulChaveRemessa);
  HRESULT BuscaMes(Arquivos& arquivos, uint16_t usMes, uint16_t usDataInicial, uint16_t usDataFinal,
                   std::vector<uint32_t>* chaves);
  HRESULT Passa(Arquivos& arquivos, uint32_t ulChave, const PPDiscoOP& ordem, bool* pbPassa);
  bool PassaCabecalho(uint32_t ulChave, const PPDiscoOP& ordem) const;
  bool PassaSituacao(uint8_t cSituacao) const;
  bool PassaReprocesso(const PPDiscoOP& ordem) const;
  HRESULT PassaProcessos(Arquivos& arquivos, const PPDiscoOP& ordem, bool* pbPassa);
  HRESULT PassaItens(Arquivos& arquivos, const PPDiscoOP& ordem, bool* pbPassa);
  HRESULT PassaPedido(const PPDiscoItem& item, bool* pbPassa);

  // ---- The parts of an order ----
  HRESULT LeTextos(Arquivos& arquivos, const PPDiscoOP& ordem, _REG_VARMO_OPPS& registro);
  HRESULT LeProcessos(Arquivos& arquivos, uint32_t ulChave, const PPDiscoOP& ordem, _REG_VARMO_OPPS& registro,
                      uint16_t usTipoLeitura);
  HRESULT LeProcesso(Arquivos& arquivos, uint32_t ulChave, const PPDiscoOP& ordem, const PPDiscoProcesso& disco,
                     _REG_VARMO_OP_PROCESSOPS& processo, uint16_t usTipoLeitura);
  HRESULT LeListasProcesso(Arquivos& arquivos, uint16_t usMes, const PPDiscoProcesso& disco,
                           _REG_VARMO_OP_PROCESSOPS& processo, uint16_t usTipoLeitura);
  HRESULT LeApontamentosProcesso(Arquivos& arquivos, uint32_t ulChave, const PPDiscoOP& ordem,
                                 const PPDiscoProcesso& disco, _REG_VARMO_OP_PROCESSOPS& processo,
                                 uint16_t usTipoLeitura);
  HRESULT LeItens(Arquivos& arquivos, const PPDiscoOP& ordem, _REG_VARMO_OPPS& registro);
  HRESULT CompletaNecessidade(_REG_VARMO_OP_ITEMPS& item);
  HRESULT CompletaPedido(_REG_VARMO_OP_ITEMPS& item);
  HRESULT LeNecessidade(uint32_t ulChave, PPDiscoNecessidade* necessidade) const;
  HRESULT LePedido(uint32_t ulChave, PedidoLido* pedido);

  CPPServidorOP& m_op;
  const _REG_VARMO_FILTROPS& m_filtro;
};

// ---------------------------------------------------------------------------------------------------
// The search

HRESULT CPPServidorOP::Leitura::Busca(uint16_t usDataInicial, uint16_t usDataFinal, std::vector<uint32_t>* chaves) {
  const uint16_t usPrimeiroMes = PPPrimeiroMesOP();
  const uint16_t usUltimoMes = PPUltimoMesOP();
  uint16_t usMesInicial = QVDataParaMesAno(std::max(usDataInicial, QVDataMinima()));
  uint16_t usMesFinal = QVDataParaMesAno(std::min(usDataFinal, QVDataMaxima()));
  if (PreSelecionando()) {
    if (HRESULT hr = MontaPreSelecao()) return hr;
    if (m_op.m_preSelecao.empty()) return S_OK;
    // Only the pre-selected orders can pass: the months from the first to the last of them hold
    // them all.
    usMesInicial = usUltimoMes;
    usMesFinal = usPrimeiroMes;
    for (uint32_t ulChave : m_op.m_preSelecao) {
      const uint16_t usMes = std::clamp(QVGetMesAnoDaChave(ulChave), usPrimeiroMes, usUltimoMes);
      usMesInicial = std::min(usMesInicial, usMes);
      usMesFinal = std::max(usMesFinal, usMes);
    }
  } else {
    if (m_op.m_regMestre.cUsaDataVisualizacao && usDataInicial < m_op.m_regMestre.usDataVisualizacao) {
      usDataInicial = m_op.m_regMestre.usDataVisualizacao;
      usMesInicial = QVDataParaMesAno(usDataInicial);
    }
    if (usDataInicial > usDataFinal) return S_OK;
  }

  Arquivos arquivos;
  // Without user and session: the set serves the search alone and starts no caches.
  if (HRESULT hr = arquivos.Inicializa(m_op.m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(kArquivosBusca);
  for (uint16_t usMes = usMesInicial; usMes <= usMesFinal; ++usMes) {
    if (!arquivos.Existe(Arquivos::kArqOP, usMes)) continue;
    if (HRESULT hr = arquivos.SetModo(usMes, 'L')) return hr;
    const HRESULT hr = BuscaMes(arquivos, usMes, usDataInicial, usDataFinal, chaves);
    const HRESULT hrFecha = arquivos.Fecha();
    if (hr) return hr;
    if (hrFecha) return hrFecha;
  }
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::BuscaMes(Arquivos& arquivos, uint16_t usMes, uint16_t usDataInicial,
                                         uint16_t usDataFinal, std::vector<uint32_t>* chaves) {
  const int32_t quantidade = arquivos.m_arqOP.GetQuantidadeRegistros();
  if (quantidade < 0) return PPErroHResult(kQVErroArquivo);
  for (uint32_t registro = 1; registro <= static_cast<uint32_t>(quantidade); ++registro) {
    PPDiscoOP ordem;
    if (int erro = arquivos.m_arqOP.Le(registro, &ordem)) return PPErroHResultMotor(erro);
    const uint16_t usEmissao = ordem.usDataEmissao;
    if (usEmissao < usDataInicial || usEmissao > usDataFinal) continue;
    const uint32_t ulChave = QVMontaChave(usMes, registro);
    bool bPassa = false;
    if (HRESULT hr = Passa(arquivos, ulChave, ordem, &bPassa)) return hr;
    if (bPassa) chaves->push_back(ulChave);
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// The pre-selection

HRESULT CPPServidorOP::Leitura::MontaPreSelecao() {
  m_op.m_preSelecao.clear();
  switch (m_filtro.usTipoChaveInicializacao) {
    case kChaveApontamento:
      return PreSelecionaApontamento(m_filtro.ulChaveInicializacao);
    case kChaveRemessa:
      return PreSelecionaRemessa(m_filtro.ulChaveInicializacao);
    default:
      return S_OK;
  }
}

// The order of the report, unless the report is removed.
HRESULT CPPServidorOP::Leitura::PreSelecionaApontamento(uint32_t ulChaveApontamento) {
  const uint16_t usMes = QVGetMesAnoDaChave(ulChaveApontamento);
  PPDiscoApontamento apontamento;
  if (HRESULT hr = PPLeRegistroMesOP(m_op.CaminhoArquivo(PPArquivoPeriodoOP::AP, usMes),
                                 QVGetNumeroDaChave(ulChaveApontamento), &apontamento))
    return hr;
  if (!apontamento.cExcluido) m_op.m_preSelecao.insert(QVMontaChave(usMes, apontamento.ulRegistroOP));
  return S_OK;
}

// A shipment not yet invoiced: its order. An invoiced one: the order of every outsourced report,
// not removed, of any month, whose invoice, or its own shipment's invoice, is the shipment's.
HRESULT CPPServidorOP::Leitura::PreSelecionaRemessa(uint32_t ulChaveRemessa) {
  PPDiscoRemessa remessa;
  if (HRESULT hr = PPLeRegistroMesOP(m_op.CaminhoArquivo(PPArquivoPeriodoOP::RM, QVGetMesAnoDaChave(ulChaveRemessa)),
                                 QVGetNumeroDaChave(ulChaveRemessa), &remessa))
    return hr;
  const uint32_t ulFatura = remessa.ulChaveFaturaRemessa;
  if (!ulFatura) {
    if (remessa.ulChaveOP) m_op.m_preSelecao.insert(remessa.ulChaveOP);
    return S_OK;
  }

  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_op.m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqApontamento | Arquivos::kArqRemessaIndustrializacao);
  const uint16_t usUltimo = PPUltimoMesOP();
  for (uint16_t usMes = PPPrimeiroMesOP(); usMes <= usUltimo; ++usMes) {
    if (!arquivos.Existe(Arquivos::kArqApontamento, usMes)) continue;
    if (HRESULT hr = arquivos.SetModo(usMes, 'L')) return hr;
    std::vector<PPDiscoApontamento> apontamentos;
    const int32_t quantidade = arquivos.m_arqApontamento.GetQuantidadeRegistros();
    HRESULT hr = quantidade < 0 ? PPErroHResult(kQVErroArquivo)
                                : PPLeSequenciaOP(arquivos.m_arqApontamento, 1, quantidade, apontamentos);
    for (size_t i = 0; hr == S_OK && i < apontamentos.size(); ++i) {
      const PPDiscoApontamento& apontamento = apontamentos[i];
      if (apontamento.cExcluido || apontamento.cTipoProducao != 0) continue;
      uint32_t ulFaturaApontamento = apontamento.lPonteiroNotaFiscalSaida;
      if (ulFaturaApontamento != ulFatura && apontamento.ulRegistroRemessa) {
        PPDiscoRemessa propria;
        hr = PPErroHResultMotor(arquivos.m_arqRemessaIndustrializacao.Le(apontamento.ulRegistroRemessa, &propria));
        ulFaturaApontamento = propria.ulChaveFaturaRemessa;
      }
      if (hr == S_OK && ulFaturaApontamento == ulFatura)
        m_op.m_preSelecao.insert(QVMontaChave(usMes, apontamento.ulRegistroOP));
    }
    const HRESULT hrFecha = arquivos.Fecha();
    if (hr) return hr;
    if (hrFecha) return hrFecha;
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// The order filter

HRESULT CPPServidorOP::Leitura::Passa(Arquivos& arquivos, uint32_t ulChave, const PPDiscoOP& ordem, bool* pbPassa) {
  *pbPassa = false;
  if (PreSelecionando()) {
    *pbPassa = m_op.m_preSelecao.count(ulChave) != 0;
    return S_OK;
  }
  if (ordem.cRemovido) return S_OK;
  if (m_filtro.cVerificarDefinicaoRecursos && m_op.m_regMestre.cSohApontarAposDefinirRecursos &&
      !ordem.cTodosRecursosDefinidos)
    return S_OK;
  if (!m_op.m_mestre.GetPermissaoUsuario(ordem.usPonteiroFilial)) return S_OK;
  if (!PassaCabecalho(ulChave, ordem)) return S_OK;
  if (HRESULT hr = PassaProcessos(arquivos, ordem, pbPassa); hr || !*pbPassa) return hr;
  return PassaItens(arquivos, ordem, pbPassa);
}

bool CPPServidorOP::Leitura::PassaCabecalho(uint32_t ulChave, const PPDiscoOP& ordem) const {
  const _REG_VARMO_FILTROPS& f = m_filtro;
  if (f.lPonteiroOP && f.lPonteiroOP != ulChave) return false;
  // 1 products, 2 services, 3 both.
  const uint8_t cAdmite = ordem.cTipoProdutoServico == 'P' ? 0x1 : ordem.cTipoProdutoServico == 'S' ? 0x2 : 0;
  if (f.cFiltroProdutoServico && !(f.cFiltroProdutoServico & cAdmite)) return false;
  if (f.regPosicaoProdutoServico.lPonteiroProduto && f.cTipoProdutoServico &&
      !MesmaPosicao(f.regPosicaoProdutoServico, f.cTipoProdutoServico, ordem.lPonteiroProduto,
                    ordem.iPonteiroItemGrade1, ordem.iPonteiroItemGrade2, ordem.iPonteiroItemGrade3,
                    ordem.cTipoProdutoServico))
    return false;
  if (f.lPonteiroColecao >= 1 && f.lPonteiroColecao != ordem.lPonteiroColecao) return false;
  if (f.lPonteiroTipoOP >= 1 && f.lPonteiroTipoOP != ordem.lPonteiroTipoOP) return false;
  if (f.lPonteiroFluxoProcesso >= 1 && f.lPonteiroFluxoProcesso != ordem.lPonteiroFluxoProcesso) return false;
  if (f.lNumeroOP && f.lNumeroOP != ordem.lNumeroOP) return false;
  if (f.usPonteiroFilial && f.usPonteiroFilial != ordem.usPonteiroFilial) return false;
  if (f.usDataEmissaoInicial && ordem.usDataEmissao < f.usDataEmissaoInicial) return false;
  if (f.usDataEmissaoFinal && ordem.usDataEmissao > f.usDataEmissaoFinal) return false;
  if (f.usOPNaoConcluidaAte && Concluida(ordem.cSituacao) && ordem.usDataConclusao < f.usOPNaoConcluidaAte)
    return false;
  if (!PassaSituacao(ordem.cSituacao) || !PassaReprocesso(ordem)) return false;
  if (f.usPonteiroUsuarioTipoOP &&
      std::find(m_op.m_tiposOPPermitidos.begin(), m_op.m_tiposOPPermitidos.end(), ordem.lPonteiroTipoOP) ==
          m_op.m_tiposOPPermitidos.end())
    return false;
  return !(f.cTodosRecursosDefinidos == 1 && ordem.cSituacao == 1 && !ordem.cTodosRecursosDefinidos);
}

// With any situation marked, the order's must be a marked one.
bool CPPServidorOP::Leitura::PassaSituacao(uint8_t cSituacao) const {
  const _REG_VARMO_FILTROPS& f = m_filtro;
  if (!(f.cOPNaoIniciada || f.cOPIniciada || f.cOPConcluida || f.cOPCancelada || f.cOPSuspensa || f.cOPInterrompida))
    return true;
  return (f.cOPNaoIniciada && cSituacao == 1) || (f.cOPIniciada && cSituacao == 2) ||
         (f.cOPConcluida && Concluida(cSituacao)) || (f.cOPCancelada && cSituacao == 99) ||
         (f.cOPSuspensa && cSituacao == 61) || (f.cOPInterrompida && cSituacao == 62);
}

// cOPReprocesso filters also at 0: a plain list leaves reprocess orders out.
bool CPPServidorOP::Leitura::PassaReprocesso(const PPDiscoOP& ordem) const {
  const bool bReprocesso = ordem.cOPReprocesso != 0;
  const bool bConfirmado = ordem.cReprocessoConfirmado != 0;
  switch (m_filtro.cOPReprocesso) {
    case 0:
      return !bReprocesso;
    case 1:
      return bReprocesso;
    case 2:
      return !bReprocesso || bConfirmado;
    case 3:
      return bReprocesso && bConfirmado;
    default:
      return false;
  }
}

// A receiving process of the filter's process, pending or concluded as asked; a process of the
// filter's resource.
HRESULT CPPServidorOP::Leitura::PassaProcessos(Arquivos& arquivos, const PPDiscoOP& ordem, bool* pbPassa) {
  const int32_t lProcesso = m_filtro.lPonteiroProcesso;
  const int32_t lRecurso = m_filtro.lPonteiroRecurso;
  *pbPassa = true;
  if (lProcesso <= 0 && lRecurso <= 0) return S_OK;
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqProcesso, ordem.ulPrimeiroProcesso, ordem.usQtdProcessos, processos))
    return hr;
  if (lProcesso > 0) {
    *pbPassa = std::any_of(processos.begin(), processos.end(), [&](const PPDiscoProcesso& processo) {
      if (!processo.cRecebeApontamento || processo.lPonteiroProcesso != lProcesso) return false;
      return (m_filtro.cProcessoPendente && Entre(processo.cSituacao, {1, 3, 4, 5, 61})) ||
             (m_filtro.cProcessoConcluido && Concluida(processo.cSituacao));
    });
    if (!*pbPassa) return S_OK;
  }
  if (lRecurso <= 0) return S_OK;
  *pbPassa = false;
  for (const PPDiscoProcesso& processo : processos) {
    std::vector<PPDiscoRecursoProcesso> recursos;
    if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqRP, processo.ulPrimeiroRecurso, processo.usQuantidadeRecursos,
                                     recursos))
      return hr;
    *pbPassa = std::any_of(recursos.begin(), recursos.end(),
                           [&](const PPDiscoRecursoProcesso& recurso) { return recurso.lPonteiroRecurso == lRecurso; });
    if (*pbPassa) return S_OK;
  }
  return S_OK;
}

// Each of the item conditions that the filter sets needs an item of its own that meets it.
HRESULT CPPServidorOP::Leitura::PassaItens(Arquivos& arquivos, const PPDiscoOP& ordem, bool* pbPassa) {
  const _REG_VARMO_FILTROPS& f = m_filtro;
  const bool bPedido = f.lPonteiroCliente || f.lChavePedido;
  const bool bProduto = f.regPosicaoProdutoServicoItem.lPonteiroProduto != 0;
  const bool bTipos = f.cTipoItemComplemento || f.cTipoItemNecessidade || f.cTipoItemPedido || f.cTipoItemReprocesso;
  *pbPassa = true;
  if (!bPedido && !bProduto && !bTipos) return S_OK;
  *pbPassa = false;
  // Clients and sales orders are the sales module's, known only while the branch integrates them.
  if (bPedido && !m_op.m_mestre.GetIntegraPedidos()) return S_OK;
  std::vector<PPDiscoItem> itens;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqItem, ordem.ulPrimeiroItem, ordem.usQtdItens, itens)) return hr;

  if (bTipos) {
    const bool bAlgum = std::any_of(itens.begin(), itens.end(), [&](const PPDiscoItem& item) {
      return (f.cTipoItemComplemento && item.cTipoItem == kItemComplemento) ||
             (f.cTipoItemNecessidade && item.cTipoItem == kItemNecessidade) ||
             (f.cTipoItemPedido && item.cTipoItem == kItemPedido) ||
             (f.cTipoItemReprocesso && item.cTipoItem == kItemReprocesso);
    });
    if (!bAlgum) return S_OK;
  }
  if (bProduto) {
    const bool bAlgum = std::any_of(itens.begin(), itens.end(), [&](const PPDiscoItem& item) {
      return MesmaPosicao(f.regPosicaoProdutoServicoItem, f.cTipoProdutoServico, item.lPonteiroProduto,
                          item.iPonteiroItemGrade1, item.iPonteiroItemGrade2, item.iPonteiroItemGrade3,
                          item.cTipoProdutoServico);
    });
    if (!bAlgum) return S_OK;
  }
  if (!bPedido) {
    *pbPassa = true;
    return S_OK;
  }
  for (const PPDiscoItem& item : itens) {
    if (HRESULT hr = PassaPedido(item, pbPassa); hr || *pbPassa) return hr;
  }
  return S_OK;
}

// A sales-order item of the filter's sales order and of a sales order of the filter's client. A
// sales order that cannot be read is not the client's.
HRESULT CPPServidorOP::Leitura::PassaPedido(const PPDiscoItem& item, bool* pbPassa) {
  *pbPassa = false;
  if (item.cTipoItem != kItemPedido) return S_OK;
  if (m_filtro.lChavePedido && m_filtro.lChavePedido != item.lPonteiroPedidoNecessidade) return S_OK;
  if (!m_filtro.lPonteiroCliente) {
    *pbPassa = true;
    return S_OK;
  }
  HRESULT hr = S_OK;
  IQVFT_Pedido* servidor = m_op.GetIPedido(&hr);
  if (!servidor) return FAILED(hr) ? hr : E_NOINTERFACE;
  PedidoLido pedido;
  *pbPassa = SUCCEEDED(pedido.Le(servidor, item.lPonteiroPedidoNecessidade)) &&
             pedido.Pedido().lPonteiroCliente == m_filtro.lPonteiroCliente;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// The parts of an order

HRESULT CPPServidorOP::Leitura::LeOrdem(Arquivos& arquivos, uint32_t ulChave, _REG_VARMO_OPPS& registro,
                                        uint16_t usTipoLeitura) {
  PPDiscoOP ordem;
  if (HRESULT hr = LeCabecalho(arquivos, ulChave, &ordem)) return hr;
  ConverteCabecalho(ordem, ulChave, registro);
  if (HRESULT hr = LeTexto(arquivos.m_arqIE, ordem.ulTextoNumeroLote, registro.szNumeroLote)) return hr;
  if (usTipoLeitura & kLeTextos) {
    if (HRESULT hr = LeTextos(arquivos, ordem, registro)) return hr;
  }
  if ((usTipoLeitura & kLeProcessos) || m_op.m_cTrabalho2) {
    if (HRESULT hr = LeProcessos(arquivos, ulChave, ordem, registro, usTipoLeitura)) return hr;
  }
  if (usTipoLeitura & kLeItens) return LeItens(arquivos, ordem, registro);
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::LeTextos(Arquivos& arquivos, const PPDiscoOP& ordem, _REG_VARMO_OPPS& registro) {
  CQVArqDyn& textos = arquivos.m_arqIE;
  HRESULT hr = LeTexto(textos, ordem.ulTextoInfExtra1, registro.szInfExtra1);
  if (!hr) hr = LeTexto(textos, ordem.ulTextoInfExtra2, registro.szInfExtra2);
  if (!hr) hr = LeTexto(textos, ordem.ulTextoInfExtra3, registro.szInfExtra3);
  if (!hr) hr = LeTexto(textos, ordem.ulTextoInfExtra4, registro.szInfExtra4);
  if (!hr) hr = LeTexto(textos, ordem.ulTextoInfExtra5, registro.szInfExtra5);
  if (!hr) hr = LeTexto(textos, ordem.ulTextoObservacao, registro.szObservacao);
  if (!hr) hr = LeTexto(textos, ordem.ulTextoMensagem, registro.szMensagem);
  return hr;
}

// The array is handed to the record before its processes are filled, so that a failure half-way
// leaves in the record what must be given back.
HRESULT CPPServidorOP::Leitura::LeProcessos(Arquivos& arquivos, uint32_t ulChave, const PPDiscoOP& ordem,
                                            _REG_VARMO_OPPS& registro, uint16_t usTipoLeitura) {
  std::vector<PPDiscoProcesso> discos;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqProcesso, ordem.ulPrimeiroProcesso, ordem.usQtdProcessos, discos))
    return hr;
  if (discos.empty()) return S_OK;
  auto* processos =
      static_cast<_REG_VARMO_OP_PROCESSOPS*>(CoTaskMemAlloc(discos.size() * sizeof(_REG_VARMO_OP_PROCESSOPS)));
  if (!processos) return E_OUTOFMEMORY;
  for (size_t i = 0; i < discos.size(); ++i) processos[i] = _REG_VARMO_OP_PROCESSOPS{};
  registro.pregProcessos = processos;
  registro.usQtdProcessos = static_cast<uint16_t>(discos.size());
  for (size_t i = 0; i < discos.size(); ++i) {
    if (HRESULT hr = LeProcesso(arquivos, ulChave, ordem, discos[i], processos[i], usTipoLeitura)) return hr;
  }
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::LeProcesso(Arquivos& arquivos, uint32_t ulChave, const PPDiscoOP& ordem,
                                           const PPDiscoProcesso& disco, _REG_VARMO_OP_PROCESSOPS& processo,
                                           uint16_t usTipoLeitura) {
  PPConverteParaCOM(disco, processo);
  if (HRESULT hr = LeTexto(arquivos.m_arqIE, disco.ulTextoDetalhe, processo.szDetalhe)) return hr;
  if (HRESULT hr = LeListasProcesso(arquivos, QVGetMesAnoDaChave(ulChave), disco, processo, usTipoLeitura)) return hr;
  return LeApontamentosProcesso(arquivos, ulChave, ordem, disco, processo, usTipoLeitura);
}

// The reports of a process that receives them and was not reported with the order (simple reports).
HRESULT CPPServidorOP::Leitura::LeApontamentosProcesso(Arquivos& arquivos, uint32_t ulChave, const PPDiscoOP& ordem,
                                                       const PPDiscoProcesso& disco,
                                                       _REG_VARMO_OP_PROCESSOPS& processo, uint16_t usTipoLeitura) {
  if (!(usTipoLeitura & kLeApontamentos) && !m_op.m_cTrabalho2) return S_OK;
  if (!disco.cRecebeApontamento || disco.usQuantidadeApontamentosSimples) return S_OK;
  _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
  if (HRESULT hr = m_op.LeApontamentosDoProcesso(arquivos, ulChave, ordem, disco, 0, usTipoLeitura, &lista))
    return hr;
  processo.pregApontamentos = lista.pregApontamentos;
  processo.usQuantidadeApontamentos = static_cast<uint16_t>(lista.lQuantidade);
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::LeListasProcesso(Arquivos& arquivos, uint16_t usMes, const PPDiscoProcesso& disco,
                                                 _REG_VARMO_OP_PROCESSOPS& processo, uint16_t usTipoLeitura) {
  if (usTipoLeitura & kLeInsumos) {
    ListaLida<_REG_VARMO_OP_PROCESSO_INSUMOPS> insumos;
    HRESULT hr = LeLista<PPDiscoInsumo>(
        arquivos.m_arqInsumo, disco.ulPrimeiroInsumo, disco.usQuantidadeInsumos, &insumos,
        [&](const PPDiscoInsumo& insumo, _REG_VARMO_OP_PROCESSO_INSUMOPS& com) {
          PPConverteParaCOM(insumo, com);
          const uint32_t ulNecessidade = insumo.ulRegistroNecessidade;
          com.lPonteiroNecessidade = ulNecessidade ? static_cast<int32_t>(QVMontaChave(usMes, ulNecessidade)) : 0;
          return S_OK;
        });
    if (hr) return hr;
    processo.pregInsumos = insumos.pElementos;
    processo.usQuantidadeInsumos = insumos.usQuantidade;
  }
  if (usTipoLeitura & kLeApontamentosSimples) {
    ListaLida<_REG_VARMO_OP_APONTAMENTO> simples;
    HRESULT hr = LeLista<PPDiscoApontamentoSimples>(
        arquivos.m_arqAS, disco.ulPrimeiroApontamentoSimples, disco.usQuantidadeApontamentosSimples, &simples,
        [&](const PPDiscoApontamentoSimples& apontamento, _REG_VARMO_OP_APONTAMENTO& com) {
          PPConverteParaCOM(apontamento, com);
          return LeTexto(arquivos.m_arqIE, apontamento.ulTextoComentario, com.szComentario);
        });
    if (hr) return hr;
    processo.pregApontamentosSimples = simples.pElementos;
    processo.usQuantidadeApontamentosSimples = simples.usQuantidade;
  }
  if (usTipoLeitura & kLeRecursos) {
    ListaLida<_REG_PP_OP_RECURSOPS> recursos;
    HRESULT hr = LeLista<PPDiscoRecursoProcesso>(
        arquivos.m_arqRP, disco.ulPrimeiroRecurso, disco.usQuantidadeRecursos, &recursos,
        [](const PPDiscoRecursoProcesso& recurso, _REG_PP_OP_RECURSOPS& com) {
          PPConverteParaCOM(recurso, com);
          return S_OK;
        });
    if (hr) return hr;
    processo.pregRecursos = recursos.pElementos;
    processo.usQuantidadeRecursos = recursos.usQuantidade;
  }
  if (usTipoLeitura & kLeImagens) {
    ListaLida<_REG_PP_OP_PROCESSO_IMAGEMPS> imagens;
    HRESULT hr = LeLista<PPDiscoImagem>(arquivos.m_arqIP, disco.ulPrimeiraImagem, disco.usQtdImagens, &imagens,
                                        [&](const PPDiscoImagem& imagem, _REG_PP_OP_PROCESSO_IMAGEMPS& com) {
                                          return LeTexto(arquivos.m_arqIN, imagem.ulTextoNomeArquivo,
                                                         com.szNomeArquivo);
                                        });
    if (hr) return hr;
    processo.pregImagens = imagens.pElementos;
    processo.usQtdImagens = imagens.usQuantidade;
  }
  if (usTipoLeitura & kLeEtiquetas) {
    ListaLida<_REG_PP_OP_PROCESSO_ETIQUETAPS> etiquetas;
    HRESULT hr = LeLista<PPDiscoEtiqueta>(arquivos.m_arqProcessoEtiqueta, disco.ulPrimeiraEtiqueta,
                                          disco.usQtdEtiquetas, &etiquetas,
                                          [&](const PPDiscoEtiqueta& etiqueta, _REG_PP_OP_PROCESSO_ETIQUETAPS& com) {
                                            PPConverteParaCOM(etiqueta, com);
                                            return LeTexto(arquivos.m_arqIE, etiqueta.ulTextoLeiaute, com.szLeiaute);
                                          });
    if (hr) return hr;
    processo.pregEtiquetas = etiquetas.pElementos;
    processo.usQtdEtiquetas = etiquetas.usQuantidade;
  }
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::LeItens(Arquivos& arquivos, const PPDiscoOP& ordem, _REG_VARMO_OPPS& registro) {
  ListaLida<_REG_VARMO_OP_ITEMPS> itens;
  uint16_t usIdx = 0;
  HRESULT hr = LeLista<PPDiscoItem>(arquivos.m_arqItem, ordem.ulPrimeiroItem, ordem.usQtdItens, &itens,
                                    [&](const PPDiscoItem& disco, _REG_VARMO_OP_ITEMPS& item) {
                                      if (disco.cGerouOPQtdLimitada == 1) registro.cPossuiItemQtdLimitada = 1;
                                      return LeItem(ordem, disco, usIdx++, item);
                                    });
  if (hr) return hr;
  registro.pregItens = itens.pElementos;
  registro.usQtdItens = itens.usQuantidade;
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::LeItem(const PPDiscoOP& ordem, const PPDiscoItem& disco, uint16_t usIdx,
                                       _REG_VARMO_OP_ITEMPS& item) {
  PPConverteParaCOM(disco, item);
  item.usIdxItemOP = usIdx;
  if (!item.usPonteiroFilial) item.usPonteiroFilial = ordem.usPonteiroFilial;
  if (disco.cTipoItem == kItemNecessidade) return CompletaNecessidade(item);
  if (disco.cTipoItem == kItemPedido && m_op.m_mestre.GetIntegraPedidos()) return CompletaPedido(item);
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::CompletaNecessidade(_REG_VARMO_OP_ITEMPS& item) {
  const uint32_t ulChave = item.lPonteiroPedidoNecessidade;
  PPDiscoNecessidade necessidade;
  if (HRESULT hr = LeNecessidade(ulChave, &necessidade)) return hr;
  item.usPonteiroFilial = necessidade.usPonteiroFilial;
  item.usDataEmissao = necessidade.usDataEmissao;
  // The generating order lies in the requirement's month.
  const int32_t lGeradora = necessidade.lPonteiroOPGeradora;
  item.lPonteiroOPGeradora = lGeradora > 0 ? QVMontaChave(QVGetMesAnoDaChave(ulChave), lGeradora) : 0;
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::CompletaPedido(_REG_VARMO_OP_ITEMPS& item) {
  PedidoLido lido;
  if (HRESULT hr = LePedido(item.lPonteiroPedidoNecessidade, &lido)) return hr;
  const tagREG_PEDIDOPS& pedido = lido.Pedido();
  item.lPonteiroCliente = pedido.lPonteiroCliente;
  item.usPonteiroFilial = pedido.iPonteiroFilial;
  item.usPonteiroMunicipio = pedido.iPonteiroMunicipio;
  item.usDataEmissao = pedido.iDataEmissao;
  std::memcpy(item.cOrdemCompraCliente, pedido.szOrdemCompraCliente, sizeof item.cOrdemCompraCliente);
  if (const tagREG_ITENSPEDIDOPS* itemPedido = lido.Item(item.usIdxItemPedido))
    item.usDataEntrega = itemPedido->iDataEntrega;
  return S_OK;
}

HRESULT CPPServidorOP::Leitura::LeNecessidade(uint32_t ulChave, PPDiscoNecessidade* necessidade) const {
  return PPLeRegistroMesOP(m_op.CaminhoArquivo(PPArquivoPeriodoOP::NC, QVGetMesAnoDaChave(ulChave)),
                       QVGetNumeroDaChave(ulChave), necessidade);
}

// A handler without sales-order server answers with the server's creation.
HRESULT CPPServidorOP::Leitura::LePedido(uint32_t ulChave, PedidoLido* pedido) {
  if (pedido->Lido(ulChave)) return S_OK;
  HRESULT hr = S_OK;
  IQVFT_Pedido* servidor = m_op.GetIPedido(&hr);
  if (!servidor) return FAILED(hr) ? hr : E_NOINTERFACE;
  return pedido->Le(servidor, ulChave);
}

// Entries sorted by source: a sales order is read once for all its items.
HRESULT CPPServidorOP::Leitura::SaldosFontes(_REG_VARMO_SALDO_ITEM_OPPS* saldos, uint16_t usQtd) {
  const bool bIntegraPedidos = m_op.m_mestre.GetIntegraPedidos();
  PedidoLido pedido;
  for (uint16_t i = 0; i < usQtd; ++i) {
    _REG_VARMO_SALDO_ITEM_OPPS& saldo = saldos[i];
    const uint32_t ulFonte = saldo.lPonteiroPedidoNecessidade;
    int64_t vSaldo = 0;
    if (saldo.cTipoItem == kItemPedido && bIntegraPedidos) {
      if (HRESULT hr = LePedido(ulFonte, &pedido)) return hr;
      if (const tagREG_ITENSPEDIDOPS* item = pedido.Item(saldo.usIdxItemPedido)) vSaldo = SaldoItemPedido(*item);
    } else if (saldo.cTipoItem == kItemNecessidade) {
      PPDiscoNecessidade necessidade;
      if (HRESULT hr = LeNecessidade(ulFonte, &necessidade)) return hr;
      vSaldo = SaldoNecessidade(necessidade);
    }
    saldo.vQuantidade.int64 = vSaldo;
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// The operations

HRESULT CPPServidorOP::BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!m_cInicializado) {
    if (pRegPS) *pRegPS = {};
    return PPErroHResult(kPPErroNaoInicializado);
  }
  const uint16_t usInicial =
      m_regMestre.cUsaDataVisualizacao ? m_regMestre.usDataVisualizacao : m_regMestre.usDataInferiorPeriodo;
  return BuscaPonteirosPeriodo(usInicial, m_regMestre.usDataSuperiorPeriodo, pRegPS);
}

HRESULT CPPServidorOP::BuscaPonteirosPeriodo(uint16_t usDataInicial, uint16_t usDataFinal,
                                             _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  std::vector<uint32_t> chaves;
  Leitura leitura(*this);
  if (HRESULT hr = leitura.Busca(usDataInicial, usDataFinal, &chaves)) return hr;
  return PPEntregaPonteiros(chaves, pRegPS);
}

HRESULT CPPServidorOP::BuscaPonteirosFiltro(_REG_VARMO_FILTROPS RegPS, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!m_cInicializado) {
    if (pRegPS) *pRegPS = {};
    return PPErroHResult(kPPErroNaoInicializado);
  }
  const _REG_VARMO_FILTROPS guardado = m_regFiltro;
  m_regFiltro = RegPS;
  const HRESULT hr = BuscaPonteiros(pRegPS);
  m_regFiltro = guardado;
  return hr;
}

HRESULT CPPServidorOP::LePonteiros(uint32_t lQtd, const uint32_t* plPntrs, _REG_VARMO_OPPS* pRegPS,
                                   uint16_t usTipoLeitura) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (lQtd == 0) return S_OK;
  if (!plPntrs || !pRegPS) return E_POINTER;
  for (uint32_t i = 0; i < lQtd; ++i) pRegPS[i] = _REG_VARMO_OPPS{};
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  Leitura leitura(*this);
  for (uint32_t i = 0; i < lQtd; ++i) {
    if (HRESULT hr = leitura.LeOrdem(arquivos, plPntrs[i], pRegPS[i], usTipoLeitura)) {
      LiberaLeitura(pRegPS[i]);
      return hr;
    }
  }
  return S_OK;
}

HRESULT CPPServidorOP::LePonteirosSomenteCabecalho(uint32_t lQtd, const uint32_t* plPntrs, _REG_VARMO_OPPS* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (lQtd == 0) return S_OK;
  if (!plPntrs || !pRegPS) return E_POINTER;
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqOP);
  for (uint32_t i = 0; i < lQtd; ++i) {
    pRegPS[i] = _REG_VARMO_OPPS{};
    PPDiscoOP ordem;
    if (HRESULT hr = LeCabecalho(arquivos, plPntrs[i], &ordem)) return hr;
    ConverteCabecalho(ordem, plPntrs[i], pRegPS[i]);
  }
  return S_OK;
}

HRESULT CPPServidorOP::LeCabecalhoOP(uint32_t lPntr, _REG_VARMO_OPPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = _REG_VARMO_OPPS{};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (lPntr == 0) return S_OK;
  return LePonteirosSomenteCabecalho(1, &lPntr, pRegPS);
}

HRESULT CPPServidorOP::LeItensPendentesOP(uint32_t lPntr, REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (lPntr == 0) return S_OK;
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqOP | Arquivos::kArqItem);
  PPDiscoOP ordem;
  if (HRESULT hr = LeCabecalho(arquivos, lPntr, &ordem)) return hr;
  if (!Entre(ordem.cSituacao, {1, 2})) return S_OK;
  std::vector<PPDiscoItem> discos;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqItem, ordem.ulPrimeiroItem, ordem.usQtdItens, discos)) return hr;

  Leitura leitura(*this);
  std::vector<_REG_VARMO_OP_ITEMPS> pendentes;
  for (size_t i = 0; i < discos.size(); ++i) {
    const PPDiscoItem& disco = discos[i];
    const int64_t vSaldo = Valor(disco.vQuantidadeProgramada) - Valor(disco.vQuantidadeProduzida) -
                           Valor(disco.vQuantidadePerdida) - Valor(disco.vQuantidadeCancelada);
    if (disco.cEncerramentoForcado || vSaldo <= 0) continue;
    _REG_VARMO_OP_ITEMPS item{};
    if (HRESULT hr = leitura.LeItem(ordem, disco, static_cast<uint16_t>(i), item)) return hr;
    item.vQuantidadeSaldo.int64 = vSaldo;
    pendentes.push_back(item);
  }
  if (pendentes.empty()) return S_OK;
  auto* itens = static_cast<_REG_VARMO_OP_ITEMPS*>(CoTaskMemAlloc(pendentes.size() * sizeof(_REG_VARMO_OP_ITEMPS)));
  if (!itens) return E_OUTOFMEMORY;
  std::copy(pendentes.begin(), pendentes.end(), itens);
  pRegPS->pRegDadoItemPedidoOP = itens;
  pRegPS->lQuantidade = static_cast<int32_t>(pendentes.size());
  return S_OK;
}

HRESULT CPPServidorOP::BuscaSaldoItemOP(uint16_t usQtd, const _REG_VARMO_SALDO_ITEM_OPPS* pRegPSIn,
                                        _REG_VARMO_SALDO_ITEM_OPPS* pRegPSOut) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (usQtd == 0) return S_OK;
  if (!pRegPSIn || !pRegPSOut) return E_POINTER;
  std::copy(pRegPSIn, pRegPSIn + usQtd, pRegPSOut);
  for (uint16_t i = 0; i < usQtd; ++i) pRegPSOut[i].vQuantidade.int64 = 0;
  std::stable_sort(pRegPSOut, pRegPSOut + usQtd,
                   [](const _REG_VARMO_SALDO_ITEM_OPPS& a, const _REG_VARMO_SALDO_ITEM_OPPS& b) {
                     return a.lPonteiroPedidoNecessidade < b.lPonteiroPedidoNecessidade;
                   });
  Leitura leitura(*this);
  return leitura.SaldosFontes(pRegPSOut, usQtd);
}

// Production requirements (PPNC) and their groups (PPNA): recording, cancelling, grouping,
// reading and searching them, and the demand questions of the order screens.
//
// A requirement's key is (record in PPNC << 12) | month. A group is a requirement of kind 3 whose
// requested quantity is the sum of its members'; its member records lie in PPNA of the group's
// month, and each member holds its whole requested quantity as grouped while the group stands, so
// that what is still needed counts it once, through the group. The writers run under the order
// lock (entity 29), taken here or held by the caller; the searches take none.
#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "model/CPPDadosProduto.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/CPPNomesArquivos.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPConversaoOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;

// cTipoRegistro of a requirement.
constexpr uint8_t kNecessidadeManual = 0;  // "NP": the only kind whose quantity may be rewritten
constexpr uint8_t kNecessidadeOP = 1;      // made by an order for one of its inputs
constexpr uint8_t kNecessidadeAgrupamento = 3;

constexpr uint8_t kProduto = 'P';
constexpr uint8_t kServico = 'S';
constexpr uint8_t kFiltroServicos = 0x2;  // bit of cFiltroProdutoServico

// The sales server's read kind that brings the items, and its search's state bytes and period kind.
constexpr int32_t kLeituraPedidoItens = 3;
constexpr uint8_t kSituacoesPedido[8] = {0, 1, 0, 1, 1, 0, 0, 1};
constexpr uint16_t kPeriodoAteUltimoDia = 1;

int64_t Valor(CY valor) { return valor.int64; }

CY Quantia(int64_t valor) {
  CY quantia{};
  quantia.int64 = valor;
  return quantia;
}

// A product position against a filter's: anything when the filter names no product; else the
// product and each grid item that the filter names.
bool MesmaPosicao(const _REG_POSICAO_PRODUTOPS& filtro, uint32_t lProduto, uint16_t usGrade1, uint16_t usGrade2,
                  uint16_t usGrade3) {
  if (!filtro.lPonteiroProduto) return true;
  if (filtro.lPonteiroProduto != lProduto) return false;
  if (filtro.iPonteiroItemGrade1 && filtro.iPonteiroItemGrade1 != usGrade1) return false;
  if (filtro.iPonteiroItemGrade2 && filtro.iPonteiroItemGrade2 != usGrade2) return false;
  return !filtro.iPonteiroItemGrade3 || filtro.iPonteiroItemGrade3 == usGrade3;
}

bool MesmaPosicao(const _REG_POSICAO_PRODUTOPS& filtro, const PPDiscoNecessidade& necessidade) {
  return MesmaPosicao(filtro, necessidade.lPonteiroProduto, necessidade.iPonteiroItemGrade1,
                      necessidade.iPonteiroItemGrade2, necessidade.iPonteiroItemGrade3);
}

bool MesmaPosicao(const _REG_POSICAO_PRODUTOPS& filtro, const _REG_POSICAO_PRODUTOPS& posicao) {
  return MesmaPosicao(filtro, posicao.lPonteiroProduto, posicao.iPonteiroItemGrade1, posicao.iPonteiroItemGrade2,
                      posicao.iPonteiroItemGrade3);
}

_REG_POSICAO_PRODUTOPS Posicao(const PPDiscoNecessidade& necessidade) {
  return {necessidade.lPonteiroProduto, necessidade.iPonteiroItemGrade1, necessidade.iPonteiroItemGrade2,
          necessidade.iPonteiroItemGrade3};
}

// What orders may still take of a requirement, as the order items see it.
int64_t SaldoNecessidade(const PPDiscoNecessidade& necessidade) {
  return Valor(necessidade.vQtdSolicitada) - Valor(necessidade.vQtdProgramada) - Valor(necessidade.vQtdCancelada);
}

// What is still to be produced for it: a grouped quantity is the group's to produce.
int64_t PendenteNecessidade(const PPDiscoNecessidade& necessidade) {
  return SaldoNecessidade(necessidade) - Valor(necessidade.vQtdAgrupada);
}

// What production still owes a sales-order item.
int64_t SaldoItemPedido(const tagREG_ITENSPEDIDOPS& item) {
  return Valor(item.vQuantidade) - Valor(item.vQuantidadeAtendida) - Valor(item.vQuantidadeCancelada) -
         Valor(item.vQuantidadeProgramada);
}

// A sales order as the sales server hands it out, given back with all it holds.
struct LiberaPedidoFT {
  void operator()(tagREG_PEDIDOPS* pedido) const {
    LiberaRegistroPedidoFT(pedido);
    CoTaskMemFree(pedido);
  }
};
using PedidoLidoFT = std::unique_ptr<tagREG_PEDIDOPS, LiberaPedidoFT>;

HRESULT LePedidoFT(IQVFT_Pedido* servidor, uint32_t ulChave, PedidoLidoFT* pPedido) {
  tagREG_PEDIDOPS* pedido = nullptr;
  const HRESULT hr = servidor->LePedido(ulChave, kLeituraPedidoItens, &pedido);
  if (FAILED(hr)) return hr;
  if (!pedido) return E_UNEXPECTED;
  pPedido->reset(pedido);
  return S_OK;
}

// The requirement and member files of the months that one writer touches, each opened once for
// writing: a second object on a file would be refused by the first one's deny-write open (a
// group's members may lie in its own month).
class GravacaoNecessidades {
 public:
  explicit GravacaoNecessidades(const CPPServidorOP& op) : m_op(op) {}

  // The requirement of the key; its month must have its PPNC already.
  HRESULT Le(uint32_t ulChave, PPDiscoNecessidade* pNecessidade) {
    CPPArqEx* arquivo = nullptr;
    if (HRESULT hr = Necessidades(ulChave, &arquivo)) return hr;
    return PPLeRegistroOP(*arquivo, QVGetNumeroDaChave(ulChave), pNecessidade);
  }
  HRESULT Regrava(uint32_t ulChave, const PPDiscoNecessidade& necessidade) {
    CPPArqEx* arquivo = nullptr;
    if (HRESULT hr = Necessidades(ulChave, &arquivo)) return hr;
    uint32_t ulRegistro = QVGetNumeroDaChave(ulChave);
    return PPErroHResultMotor(arquivo->Grava(&necessidade, &ulRegistro));
  }
  // Appended to the month's PPNC, made when missing; *pulChave its key.
  HRESULT Anexa(uint16_t usMesAno, const PPDiscoNecessidade& necessidade, uint32_t* pulChave) {
    CPPArqEx* arquivo = nullptr;
    if (HRESULT hr = Abre(m_op.CaminhoArquivo(PPArquivoPeriodoOP::NC, usMesAno), sizeof necessidade, true, &arquivo))
      return hr;
    uint32_t ulRegistro = 0;
    if (int erro = arquivo->Grava(&necessidade, &ulRegistro)) return PPErroHResultMotor(erro);
    *pulChave = QVMontaChave(usMesAno, ulRegistro);
    return S_OK;
  }
  // A group's members in PPNA of its month: made when missing only for appending.
  HRESULT Membros(uint16_t usMesAno, bool bCria, CPPArqEx** ppArquivo) {
    const CString caminho =
        CPPNomesArquivos::MontaCaminhoArquivoPeriodo(m_op.GetEmpresa(), CPPNomesArquivos::PrefixoOPNA(), usMesAno);
    return Abre(caminho, sizeof(PPDiscoMembroNecessidade), bCria, ppArquivo);
  }

 private:
  HRESULT Necessidades(uint32_t ulChave, CPPArqEx** ppArquivo) {
    const uint16_t usMesAno = QVGetMesAnoDaChave(ulChave);
    if (usMesAno == 0 || QVGetNumeroDaChave(ulChave) == 0) return PPErroHResult(kPPErroChaveAusente);
    return Abre(m_op.CaminhoArquivo(PPArquivoPeriodoOP::NC, usMesAno), sizeof(PPDiscoNecessidade), false, ppArquivo);
  }
  HRESULT Abre(const CString& caminho, uint32_t ulTamanho, bool bCria, CPPArqEx** ppArquivo) {
    std::unique_ptr<CPPArqEx>& arquivo = m_arquivos[static_cast<const char*>(caminho)];
    if (!arquivo) {
      auto novo = std::make_unique<CPPArqEx>();
      if (int erro = novo->Abre(caminho, 'G', ulTamanho, bCria, true)) return PPErroHResultMotor(erro);
      arquivo = std::move(novo);
    }
    *ppArquivo = arquivo.get();
    return S_OK;
  }

  const CPPServidorOP& m_op;
  std::map<std::string, std::unique_ptr<CPPArqEx>> m_arquivos;
};

// Step 4 of a group's cancellation: each member gets its share back (as cancelled too when it
// was cancelled by hand). A member that holds less than its share as grouped got it back already,
// from a cancellation that was cut short, and is left as it is.
HRESULT DevolveMembros(GravacaoNecessidades& arquivos, uint16_t usMesAno, const PPDiscoNecessidade& grupo) {
  if (grupo.usQtdMembros == 0) return S_OK;
  CPPArqEx* membros = nullptr;
  if (HRESULT hr = arquivos.Membros(usMesAno, false, &membros)) return hr;
  return PPPercorreSequenciaOP<PPDiscoMembroNecessidade>(
      *membros, grupo.ulPrimeiroMembro, grupo.usQtdMembros, [&](const PPDiscoMembroNecessidade& membro) {
        const uint32_t ulChave = membro.ulChaveNecessidade;
        PPDiscoNecessidade necessidade;
        if (HRESULT hr = arquivos.Le(ulChave, &necessidade)) return hr;
        const int64_t parte = Valor(membro.vQuantidade);
        if (Valor(necessidade.vQtdAgrupada) < parte) return S_OK;
        necessidade.vQtdAgrupada.int64 -= parte;
        if (necessidade.usDataCancelamentoManual) necessidade.vQtdCancelada.int64 += parte;
        return arquivos.Regrava(ulChave, necessidade);
      });
}

// Step 3 of grouping: a member that may join the group that `primeira` (null for the first
// member) opened.
HRESULT ConfereMembro(const PPDiscoNecessidade& membro, const PPDiscoNecessidade* primeira, bool bNoPeriodo) {
  if (membro.cRemovido) return PPErroHResult(kPPErroRegistroRemovido);
  if (Valor(membro.vQtdProgramada) || Valor(membro.vQtdProduzida) || Valor(membro.vQtdCancelada) ||
      Valor(membro.vQtdRefugo) || Valor(membro.vQtdAgrupada) || membro.usDataCancelamentoManual)
    return PPErroHResult(kPPErroSituacaoOP);
  if (!bNoPeriodo) return PPErroHResult(kPPErroForaPeriodo);
  if (!primeira) return S_OK;
  const bool bMesma = membro.lPonteiroProduto == primeira->lPonteiroProduto &&
                      membro.lPonteiroColecao == primeira->lPonteiroColecao &&
                      membro.iPonteiroItemGrade1 == primeira->iPonteiroItemGrade1 &&
                      membro.iPonteiroItemGrade2 == primeira->iPonteiroItemGrade2 &&
                      membro.iPonteiroItemGrade3 == primeira->iPonteiroItemGrade3 &&
                      membro.usPonteiroFilial == primeira->usPonteiroFilial;
  return bMesma ? S_OK : PPErroHResult(kPPErroQtdLimitada);
}

bool Repetidas(std::vector<uint32_t> chaves) {
  std::sort(chaves.begin(), chaves.end());
  return std::adjacent_find(chaves.begin(), chaves.end()) != chaves.end();
}

// Step 4 of the filter.
bool PassaEstado(const _REG_VARMO_FILTROPS& filtro, const PPDiscoNecessidade& necessidade) {
  const _REG_VARMO_FILTROPS& f = filtro;
  if (!(f.cNecessidadePendente || f.cNecessidadeProgramada || f.cNecessidadeAtendida || f.cNecessidadeCancelada ||
        f.cNecessidadeAgrupada))
    return true;
  const int64_t solicitada = Valor(necessidade.vQtdSolicitada);
  const int64_t programada = Valor(necessidade.vQtdProgramada);
  const int64_t feita = Valor(necessidade.vQtdProduzida) + Valor(necessidade.vQtdRefugo);
  const int64_t cancelada = Valor(necessidade.vQtdCancelada);
  const int64_t agrupada = Valor(necessidade.vQtdAgrupada);
  return (f.cNecessidadePendente && PendenteNecessidade(necessidade) > 0) ||
         (f.cNecessidadeProgramada && programada == solicitada - cancelada && solicitada > feita + cancelada &&
          agrupada == 0) ||
         (f.cNecessidadeAtendida && feita > 0 && solicitada <= feita + cancelada) ||
         (f.cNecessidadeCancelada && solicitada == cancelada) || (f.cNecessidadeAgrupada && agrupada > 0);
}

// Steps 2, 3 and 5 of the filter: what the record alone decides.
bool PassaCampos(const _REG_VARMO_FILTROPS& f, const PPDiscoNecessidade& necessidade) {
  if (f.cTipoProdutoServico == kServico || (f.cFiltroProdutoServico & kFiltroServicos)) return false;
  if (!MesmaPosicao(f.regPosicaoProdutoServico, necessidade)) return false;
  if (f.usPonteiroFilial && f.usPonteiroFilial != necessidade.usPonteiroFilial) return false;
  if (f.lPonteiroColecao > 0 && f.lPonteiroColecao != necessidade.lPonteiroColecao) return false;
  if (f.usDataEmissaoInicial && necessidade.usDataEmissao < f.usDataEmissaoInicial) return false;
  if (f.usDataEmissaoFinal && necessidade.usDataEmissao > f.usDataEmissaoFinal) return false;
  if (!PassaEstado(f, necessidade)) return false;
  const uint8_t cTipo = necessidade.cTipoRegistro;
  return !f.cOrigemNecessidade || (cTipo <= kNecessidadeAgrupamento && (f.cOrigemNecessidade & (1u << cTipo)));
}

// The items of an order of the month, read-only; false when the order or its items cannot be read.
bool LeItensOP(const CPPServidorOP& op, uint16_t usMesAno, int32_t lRegistro, std::vector<PPDiscoItem>* itens) {
  if (lRegistro <= 0) return false;
  CPPArqEx arquivo;
  PPDiscoOP ordem;
  if (arquivo.LeRegistro(op.CaminhoArquivo(PPArquivoPeriodoOP::OP, usMesAno), static_cast<uint32_t>(lRegistro),
                         &ordem, sizeof ordem))
    return false;
  CPPArqEx arquivoItens;
  if (arquivoItens.Abre(op.CaminhoArquivo(PPArquivoPeriodoOP::IT, usMesAno), 'L', sizeof(PPDiscoItem), false, true))
    return false;
  return PPLeSequenciaOP(arquivoItens, ordem.ulPrimeiroItem, ordem.usQtdItens, *itens) == S_OK;
}

void NovaNecessidade(const _REG_VARMO_OP_NECESSIDADE& reg, uint16_t usUsuario, PPDiscoNecessidade* pNecessidade) {
  PPDiscoNecessidade& n = *pNecessidade;
  n = PPDiscoNecessidade{};
  n.vQtdSolicitada = reg.vQtdSolicitada;
  n.lPonteiroOPGeradora = reg.lPonteiroOPGeradora;
  n.lPonteiroProduto = reg.regPosProduto.lPonteiroProduto;
  n.iPonteiroItemGrade1 = reg.regPosProduto.iPonteiroItemGrade1;
  n.iPonteiroItemGrade2 = reg.regPosProduto.iPonteiroItemGrade2;
  n.iPonteiroItemGrade3 = reg.regPosProduto.iPonteiroItemGrade3;
  n.lChaveModulo = reg.RegQuemGerou.lChaveModulo;
  n.iData = reg.RegQuemGerou.iData;
  n.lPonteiroColecao = reg.lPonteiroColecao;
  n.usPonteiroFilial = reg.usPonteiroFilial;
  n.cTipoRegistro = reg.cTipoRegistro;
  n.usDataEmissao = QVGetDataAtual(false);
  n.usPonteiroUsuarioEmissao = usUsuario;
}

// A sales-order item as a candidate item of an order.
_REG_VARMO_OP_ITEMPS ItemDePedido(uint32_t ulChave, const tagREG_PEDIDOPS& pedido, const tagREG_ITENSPEDIDOPS& item,
                                  uint16_t usIdx, int64_t saldo) {
  _REG_VARMO_OP_ITEMPS registro{};
  registro.vQuantidadeSaldo = registro.vQuantidadeProgramada = Quantia(saldo);
  registro.lPonteiroPedidoNecessidade = ulChave;
  registro.lPonteiroCliente = pedido.lPonteiroCliente;
  registro.regPosicaoProdutoServico = item.regPosProdutoServico;
  registro.usPonteiroFilial = pedido.iPonteiroFilial;
  registro.usPonteiroMunicipio = pedido.iPonteiroMunicipio;
  registro.usDataEntrega = item.iDataEntrega;
  registro.usDataEmissao = pedido.iDataEmissao;
  registro.usIdxItemPedido = usIdx;
  std::copy(pedido.szOrdemCompraCliente, pedido.szOrdemCompraCliente + sizeof registro.cOrdemCompraCliente,
            registro.cOrdemCompraCliente);
  registro.cTipoItem = kItemPedido;
  registro.cTipoProdutoServico = kProduto;
  return registro;
}

// A requirement as a candidate item of an order; its generating order lies in the month of its
// recording date.
_REG_VARMO_OP_ITEMPS ItemDeNecessidade(uint32_t ulChave, const PPDiscoNecessidade& necessidade) {
  _REG_VARMO_OP_ITEMPS registro{};
  registro.vQuantidadeSaldo = registro.vQuantidadeProgramada = Quantia(SaldoNecessidade(necessidade));
  registro.lPonteiroPedidoNecessidade = ulChave;
  const int32_t lGeradora = necessidade.lPonteiroOPGeradora;
  registro.lPonteiroOPGeradora =
      lGeradora > 0 ? QVMontaChave(QVDataParaMesAno(necessidade.usDataEmissao), static_cast<uint32_t>(lGeradora)) : 0;
  registro.regPosicaoProdutoServico = Posicao(necessidade);
  registro.usPonteiroFilial = necessidade.usPonteiroFilial;
  registro.usDataEmissao = necessidade.usDataEmissao;
  registro.cTipoItem = kItemNecessidade;
  registro.cTipoProdutoServico = kProduto;
  return registro;
}

// Elements into a new array of the task allocator (none for an empty list).
template <class Elemento, class Lista, class Ponteiro>
HRESULT EntregaLista(const std::vector<Elemento>& elementos, Lista* lista, Ponteiro Lista::*membro) {
  if (elementos.empty()) return S_OK;
  auto* array = static_cast<Elemento*>(CoTaskMemAlloc(elementos.size() * sizeof(Elemento)));
  if (!array) return E_OUTOFMEMORY;
  std::copy(elementos.begin(), elementos.end(), array);
  lista->*membro = array;
  lista->lQuantidade = static_cast<int32_t>(elementos.size());
  return S_OK;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// What the operations share

bool CPPServidorOP::NoPeriodoAberto(uint16_t usData) const {
  return usData >= m_regMestre.usDataInferiorPeriodo && usData <= m_regMestre.usDataSuperiorPeriodo;
}

HRESULT CPPServidorOP::PercorreNecessidades(uint16_t usMesInicial, uint16_t usMesFinal,
                                            const PPVisitaNecessidade& visita) {
  Arquivos arquivos;
  // Without user and session: the set serves the walk alone and starts no caches.
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqNecessidade);
  for (uint16_t usMes = std::max(usMesInicial, PPPrimeiroMesOP()); usMes <= std::min(usMesFinal, PPUltimoMesOP());
       ++usMes) {
    if (!arquivos.Existe(Arquivos::kArqNecessidade, usMes)) continue;
    if (HRESULT hr = arquivos.SetModo(usMes, 'L')) return hr;
    const int32_t quantidade = arquivos.m_arqNecessidade.GetQuantidadeRegistros();
    HRESULT hr = quantidade < 0 ? PPErroHResult(kQVErroArquivo) : S_OK;
    if (hr == S_OK) {
      hr = PPPercorreSequenciaOP<PPDiscoNecessidade>(
          arquivos.m_arqNecessidade, 1, static_cast<uint32_t>(quantidade),
          [&](uint32_t i, const PPDiscoNecessidade& necessidade) {
            return visita(QVMontaChave(usMes, i + 1), necessidade);
          });
    }
    const HRESULT hrFecha = arquivos.Fecha();
    if (hr) return hr;
    if (hrFecha) return hrFecha;
  }
  return S_OK;
}

HRESULT CPPServidorOP::BuscaNecessidades(const _REG_VARMO_FILTROPS& filtro, uint16_t usDataInicial,
                                         uint16_t usDataFinal, const PPVisitaNecessidade& visita) {
  if (m_regMestre.cUsaDataVisualizacao && usDataInicial < m_regMestre.usDataVisualizacao)
    usDataInicial = m_regMestre.usDataVisualizacao;
  if (usDataInicial > usDataFinal) return S_OK;
  const uint16_t usMesInicial = QVDataParaMesAno(std::max(usDataInicial, QVDataMinima()));
  const uint16_t usMesFinal = QVDataParaMesAno(std::min(usDataFinal, QVDataMaxima()));
  return PercorreNecessidades(usMesInicial, usMesFinal, [&](uint32_t ulChave, const PPDiscoNecessidade& necessidade) {
    if (necessidade.usDataEmissao < usDataInicial || necessidade.usDataEmissao > usDataFinal) return S_OK;
    bool bPassa = false;
    if (HRESULT hr = ConfereFiltroNecessidade(filtro, QVGetMesAnoDaChave(ulChave), necessidade, &bPassa)) return hr;
    return bPassa ? visita(ulChave, necessidade) : S_OK;
  });
}

HRESULT CPPServidorOP::ConfereFiltroNecessidade(const _REG_VARMO_FILTROPS& filtro, uint16_t usMesAno,
                                                const PPDiscoNecessidade& necessidade, bool* pbPassa) {
  *pbPassa = false;
  // 1.
  if (necessidade.cRemovido || !m_mestre.GetPermissaoUsuario(necessidade.usPonteiroFilial)) return S_OK;
  // 2. to 5.
  if (!PassaCampos(filtro, necessidade)) return S_OK;
  // 6.
  if (!filtro.lChavePedido && !filtro.lPonteiroCliente) {
    *pbPassa = true;
    return S_OK;
  }
  if (necessidade.cTipoRegistro != kNecessidadeOP) return S_OK;
  return ConferePedidoNecessidade(filtro, usMesAno, necessidade, pbPassa);
}

// The generating order's sales-order items: one of the filter's sales order, and one whose sales
// order is the filter's client's.
HRESULT CPPServidorOP::ConferePedidoNecessidade(const _REG_VARMO_FILTROPS& filtro, uint16_t usMesAno,
                                                const PPDiscoNecessidade& necessidade, bool* pbPassa) {
  std::vector<PPDiscoItem> itens;
  if (!LeItensOP(*this, usMesAno, necessidade.lPonteiroOPGeradora, &itens)) return S_OK;
  bool bPedido = !filtro.lChavePedido;
  bool bCliente = !filtro.lPonteiroCliente;
  for (const PPDiscoItem& item : itens) {
    if (item.cTipoItem != kItemPedido) continue;
    if (item.lPonteiroPedidoNecessidade == filtro.lChavePedido) bPedido = true;
    if (bCliente) continue;
    HRESULT hr = S_OK;
    IQVFT_Pedido* servidor = GetIPedido(&hr);
    PedidoLidoFT pedido;
    if (!servidor || FAILED(LePedidoFT(servidor, item.lPonteiroPedidoNecessidade, &pedido))) return S_OK;
    bCliente = pedido->lPonteiroCliente == filtro.lPonteiroCliente;
  }
  *pbPassa = bPedido && bCliente;
  return S_OK;
}

HRESULT CPPServidorOP::PercorreItensPedidos(const _REG_POSICAO_PRODUTOPS& posicao, int32_t lPonteiroCliente,
                                            uint16_t usDataInicial, uint16_t usDataFinal,
                                            const PPVisitaItemPedido& visita) {
  HRESULT hr = S_OK;
  IQVFT_Pedido* servidor = GetIPedido(&hr);
  if (!servidor) return FAILED(hr) ? hr : E_NOINTERFACE;
  tagREG_FILTRO_PEDIDOPS filtro{};
  filtro.lPonteiroProduto = static_cast<int32_t>(posicao.lPonteiroProduto);
  filtro.lPonteiroCliente = lPonteiroCliente;
  filtro.iDataEmissaoInicial = usDataInicial;
  filtro.iDataEmissaoFinal = usDataFinal;
  filtro.iPonteiroItemGrade1 = posicao.iPonteiroItemGrade1;
  filtro.iPonteiroItemGrade2 = posicao.iPonteiroItemGrade2;
  filtro.iPonteiroItemGrade3 = posicao.iPonteiroItemGrade3;
  std::copy(std::begin(kSituacoesPedido), std::end(kSituacoesPedido), filtro.cSituacoes);
  tagREG_PERIODO_PEDIDOPS periodo{};
  periodo.iDataInicial = m_regMestre.usDataInferiorPeriodo;
  periodo.iDataFinal = m_regMestre.usDataSuperiorPeriodo;
  periodo.iTipo = kPeriodoAteUltimoDia;
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  if (hr = servidor->BuscaPonteiros(filtro, periodo, &lista); FAILED(hr)) return hr;
  const std::vector<uint32_t> chaves(lista.plPonteiro, lista.plPonteiro + (lista.plPonteiro ? lista.lQtd : 0));
  CoTaskMemFree(lista.plPonteiro);
  for (uint32_t ulChave : chaves) {
    PedidoLidoFT pedido;
    if (hr = LePedidoFT(servidor, ulChave, &pedido); FAILED(hr)) return hr;
    for (uint16_t i = 0; pedido->pregItens && i < pedido->iQtdItens; ++i) {
      if (hr = visita(ulChave, *pedido, pedido->pregItens[i], i); hr != S_OK) return hr;
    }
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// Recording, cancelling, grouping

HRESULT CPPServidorOP::GravaNecessidade(uint32_t ulChave, _REG_VARMO_OP_NECESSIDADE RegPS, uint32_t* pulChave,
                                        uint8_t bMarca) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pulChave) return E_POINTER;
  *pulChave = 0;
  // 1.
  const uint16_t usMesAno = ulChave ? QVGetMesAnoDaChave(ulChave) : QVGetMesAnoAtual(false);
  // 2.
  CQVArqMarca marca;
  if (bMarca) {
    if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  }
  // 3. to 5. A new record's month gets its file only when the record is written.
  GravacaoNecessidades arquivos(*this);
  PPDiscoNecessidade necessidade;
  if (ulChave) {
    if (HRESULT hr = arquivos.Le(ulChave, &necessidade)) return hr;
    if (necessidade.cTipoRegistro != kNecessidadeManual) return PPErroHResult(kPPErroQtdLimitada);
    necessidade.vQtdSolicitada = RegPS.vQtdSolicitada;
  } else {
    NovaNecessidade(RegPS, m_usUsuario, &necessidade);
  }
  // 6.
  if (!NoPeriodoAberto(necessidade.usDataEmissao)) return PPErroHResult(kPPErroForaPeriodo);
  // 7.
  uint32_t ulGravada = ulChave;
  if (HRESULT hr = ulChave ? arquivos.Regrava(ulChave, necessidade) : arquivos.Anexa(usMesAno, necessidade, &ulGravada))
    return hr;
  *pulChave = ulGravada;
  if (m_historico.EstaAberto()) {
    m_historico.GravaLinha(ulChave ? kPPHistoricoAlteracao : kPPHistoricoInclusao, "Necessidade da produção %s"_ansi,
                           static_cast<const char*>(QVChaveParaTexto(ulGravada)));
  }
  return S_OK;
}

HRESULT CPPServidorOP::CancelaNecessidade(uint32_t ulChave, uint8_t bMarca) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  // 1.
  if (ulChave == 0) return S_OK;
  // 2.
  CQVArqMarca marca;
  if (bMarca) {
    if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  }
  // 3.
  GravacaoNecessidades arquivos(*this);
  PPDiscoNecessidade necessidade;
  if (HRESULT hr = arquivos.Le(ulChave, &necessidade)) return hr;
  // Cancelled once is enough: a second time would give a group's members their share again.
  if (necessidade.usDataCancelamentoManual) return S_OK;
  if (!NoPeriodoAberto(necessidade.usDataEmissao)) return PPErroHResult(kPPErroForaPeriodo);
  // 4.
  if (necessidade.cTipoRegistro == kNecessidadeAgrupamento) {
    if (HRESULT hr = DevolveMembros(arquivos, QVGetMesAnoDaChave(ulChave), necessidade)) return hr;
  }
  // 5.
  necessidade.vQtdCancelada.int64 = Valor(necessidade.vQtdSolicitada) - Valor(necessidade.vQtdProgramada) -
                                    Valor(necessidade.vQtdAgrupada);
  necessidade.usPonteiroUsuarioCancelManual = m_usUsuario;
  necessidade.usDataCancelamentoManual = QVGetDataAtual(false);
  if (HRESULT hr = arquivos.Regrava(ulChave, necessidade)) return hr;
  // 6.
  if (m_historico.EstaAberto()) {
    m_historico.GravaLinha(kPPHistoricoInclusao, "Cancelamento necessidade da produção %s"_ansi,
                           static_cast<const char*>(QVChaveParaTexto(ulChave)));
  }
  return S_OK;
}

HRESULT CPPServidorOP::AgruparNecessidades(_REG_VARMO_PONTEIROS_ULONGPS RegPS, uint32_t* pulChave) {
  // 1.
  if (!pulChave) return E_POINTER;
  *pulChave = 0;
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (RegPS.lQtd == 0 || !RegPS.plPonteiro) return PPErroHResult(kPPErroArgumentoInvalido);
  const std::vector<uint32_t> chaves(RegPS.plPonteiro, RegPS.plPonteiro + RegPS.lQtd);
  // A key given twice would count twice in the group; the member count has 16 bits.
  if (chaves.size() > UINT16_MAX || Repetidas(chaves)) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  // 2.
  const uint16_t usHoje = QVGetDataAtual(false);
  if (!NoPeriodoAberto(usHoje)) return PPErroHResult(kPPErroForaPeriodo);
  const uint16_t usMesAno = QVGetMesAnoAtual(false);
  GravacaoNecessidades arquivos(*this);
  CPPArqEx* membros = nullptr;
  if (HRESULT hr = arquivos.Membros(usMesAno, true, &membros)) return hr;

  // 3.
  PPDiscoNecessidade primeira{};
  uint32_t ulPrimeiroMembro = 0;
  int64_t soma = 0;
  for (size_t i = 0; i < chaves.size(); ++i) {
    PPDiscoNecessidade membro;
    if (HRESULT hr = arquivos.Le(chaves[i], &membro)) return hr;
    if (HRESULT hr = ConfereMembro(membro, i ? &primeira : nullptr, NoPeriodoAberto(membro.usDataEmissao))) return hr;
    if (i == 0) primeira = membro;
    PPDiscoMembroNecessidade registro{};
    registro.vQuantidade = membro.vQtdSolicitada;
    registro.ulChaveNecessidade = chaves[i];
    uint32_t ulRegistro = 0;
    if (int erro = membros->Grava(&registro, &ulRegistro)) return PPErroHResultMotor(erro);
    if (i == 0) ulPrimeiroMembro = ulRegistro;
    soma += Valor(membro.vQtdSolicitada);
  }

  // 4. The first member's position, collection and branch are every member's.
  PPDiscoNecessidade grupo{};
  grupo.vQtdSolicitada.int64 = soma;
  grupo.lPonteiroProduto = primeira.lPonteiroProduto;
  grupo.iPonteiroItemGrade1 = primeira.iPonteiroItemGrade1;
  grupo.iPonteiroItemGrade2 = primeira.iPonteiroItemGrade2;
  grupo.iPonteiroItemGrade3 = primeira.iPonteiroItemGrade3;
  grupo.lPonteiroColecao = primeira.lPonteiroColecao;
  grupo.usPonteiroFilial = primeira.usPonteiroFilial;
  grupo.usPonteiroUsuarioEmissao = m_usUsuario;
  grupo.usDataEmissao = usHoje;
  grupo.cTipoRegistro = kNecessidadeAgrupamento;
  grupo.ulPrimeiroMembro = ulPrimeiroMembro;
  grupo.usQtdMembros = static_cast<uint16_t>(chaves.size());
  uint32_t ulGrupo = 0;
  if (HRESULT hr = arquivos.Anexa(usMesAno, grupo, &ulGrupo)) return hr;

  // 5.
  std::string texto;
  for (uint32_t ulChave : chaves) {
    PPDiscoNecessidade membro;
    if (HRESULT hr = arquivos.Le(ulChave, &membro)) return hr;
    membro.vQtdAgrupada = membro.vQtdSolicitada;
    if (HRESULT hr = arquivos.Regrava(ulChave, membro)) return hr;
    if (!texto.empty()) texto += ", ";
    texto += static_cast<const char*>(QVChaveParaTexto(ulChave));
  }

  // 6.
  if (m_historico.EstaAberto()) {
    m_historico.GravaLinha(kPPHistoricoInclusao, "Agrupamento %s das necessiades: %s",
                           static_cast<const char*>(QVChaveParaTexto(ulGrupo)), texto.c_str());
  }
  *pulChave = ulGrupo;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// Reading and searching

HRESULT CPPServidorOP::LeNecessidade(uint32_t ulChave, _REG_VARMO_OP_NECESSIDADE* pRegPS) {
  return LePonteirosNecessidades(1, &ulChave, pRegPS);
}

HRESULT CPPServidorOP::LePonteirosNecessidades(uint32_t ulQtd, const uint32_t* pulChaves,
                                               _REG_VARMO_OP_NECESSIDADE* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (ulQtd == 0) return S_OK;
  if (!pulChaves || !pRegPS) return E_POINTER;
  std::vector<PPDiscoNecessidade> necessidades(ulQtd);
  CPPArqEx arquivo;
  uint16_t usMesAberto = 0;
  for (uint32_t i = 0; i < ulQtd; ++i) {
    const uint16_t usMesAno = QVGetMesAnoDaChave(pulChaves[i]);
    if (usMesAno == 0 || QVGetNumeroDaChave(pulChaves[i]) == 0) return PPErroHResult(kPPErroChaveAusente);
    if (usMesAno != usMesAberto) {
      arquivo.Fecha();
      usMesAberto = 0;
      if (int erro = arquivo.Abre(CaminhoArquivo(PPArquivoPeriodoOP::NC, usMesAno), 'L', sizeof(PPDiscoNecessidade),
                                  false, true))
        return PPErroHResultMotor(erro);
      usMesAberto = usMesAno;
    }
    if (HRESULT hr = PPLeRegistroOP(arquivo, QVGetNumeroDaChave(pulChaves[i]), &necessidades[i])) return hr;
  }
  for (uint32_t i = 0; i < ulQtd; ++i) {
    pRegPS[i] = _REG_VARMO_OP_NECESSIDADE{};
    PPConverteParaCOM(necessidades[i], pRegPS[i]);
    pRegPS[i].ulChave = pulChaves[i];
  }
  return S_OK;
}

HRESULT CPPServidorOP::BuscaPonteirosNecessidades(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  const uint16_t usInicial =
      m_regMestre.cUsaDataVisualizacao ? m_regMestre.usDataVisualizacao : m_regMestre.usDataInferiorPeriodo;
  return BuscaPonteirosNecessidadesPeriodo(usInicial, m_regMestre.usDataSuperiorPeriodo, pRegPS);
}

HRESULT CPPServidorOP::BuscaPonteirosNecessidadesPeriodo(uint16_t usDataInicial, uint16_t usDataFinal,
                                                         _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  std::vector<uint32_t> chaves;
  const PPVisitaNecessidade junta = [&](uint32_t ulChave, const PPDiscoNecessidade&) {
    chaves.push_back(ulChave);
    return S_OK;
  };
  if (HRESULT hr = BuscaNecessidades(m_regFiltro, usDataInicial, usDataFinal, junta)) return hr;
  return PPEntregaPonteiros(chaves, pRegPS);
}

// ---------------------------------------------------------------------------------------------------
// The demand

class CPPServidorOP::DemandaNecessidades {
 public:
  DemandaNecessidades(CPPServidorOP& op, const _REG_PP_FILTRO_QTDS_NECESSARIASPS& filtro)
      : m_op(op), m_filtro(filtro) {}

  HRESULT SomaPedidos();
  HRESULT DescontaComplementos();
  HRESULT DescontaEstoque();
  HRESULT SomaNecessidades();
  // The entries with something left to produce, in list order.
  HRESULT Entrega(_REG_VARMO_LISTA_QTDS_NECESSARIASPS* pRegPS) const;

 private:
  // Adds the quantity to the entry of the position, collection and branch, or appends one.
  void AcumulaQtdNecessaria(const _REG_POSICAO_PRODUTOPS& posicao, int32_t lPonteiroColecao, uint16_t usFilial,
                            int64_t quantidade);
  HRESULT DescontaComplementos(_REG_VARMO_QTDS_NECESSARIASPS& entrada);
  HRESULT EhProdutoProprio(uint32_t lPonteiroProduto, bool* pbProprio);

  CPPServidorOP& m_op;
  const _REG_PP_FILTRO_QTDS_NECESSARIASPS& m_filtro;
  std::vector<_REG_VARMO_QTDS_NECESSARIASPS> m_lista;
};

void CPPServidorOP::DemandaNecessidades::AcumulaQtdNecessaria(const _REG_POSICAO_PRODUTOPS& posicao,
                                                              int32_t lPonteiroColecao, uint16_t usFilial,
                                                              int64_t quantidade) {
  auto entrada = std::find_if(m_lista.begin(), m_lista.end(), [&](const _REG_VARMO_QTDS_NECESSARIASPS& e) {
    const _REG_POSICAO_PRODUTOPS& p = e.regPosicaoProduto;
    return p.lPonteiroProduto == posicao.lPonteiroProduto && p.iPonteiroItemGrade1 == posicao.iPonteiroItemGrade1 &&
           p.iPonteiroItemGrade2 == posicao.iPonteiroItemGrade2 &&
           p.iPonteiroItemGrade3 == posicao.iPonteiroItemGrade3 && e.lPonteiroColecao == lPonteiroColecao &&
           e.usFilial == usFilial;
  });
  if (entrada == m_lista.end()) {
    _REG_VARMO_QTDS_NECESSARIASPS nova{};
    nova.regPosicaoProduto = posicao;
    nova.lPonteiroColecao = lPonteiroColecao;
    nova.usFilial = usFilial;
    entrada = m_lista.insert(m_lista.end(), nova);
  }
  entrada->vSaldoProduzir.int64 += quantidade;
  entrada->vSaldoProduzirComQuebra.int64 += quantidade;
  entrada->vQuantidadePedidos.int64 += quantidade;
  entrada->vQuantidadeNecessidadeProducao.int64 += quantidade;
}

HRESULT CPPServidorOP::DemandaNecessidades::EhProdutoProprio(uint32_t lPonteiroProduto, bool* pbProprio) {
  CPPDadosProduto dados;
  if (int32_t hr = m_op.m_buffer.LeBufferProduto(static_cast<int32_t>(lPonteiroProduto), &dados, 0); FAILED(hr))
    return hr;
  *pbProprio = dados.EhProdutoProprio();
  return S_OK;
}

// 2.
HRESULT CPPServidorOP::DemandaNecessidades::SomaPedidos() {
  const _REG_PP_FILTRO_QTDS_NECESSARIASPS& f = m_filtro;
  return m_op.PercorreItensPedidos(
      f.regPosicaoProduto, f.lPonteiroCliente, f.usDataEmissaoInicial, f.usDataEmissaoFinal,
      [&](uint32_t, const tagREG_PEDIDOPS& pedido, const tagREG_ITENSPEDIDOPS& item, uint16_t) {
        const _REG_POSICAO_PRODUTOPS& posicao = item.regPosProdutoServico;
        if (item.cEncerrado) return S_OK;
        bool bProprio = false;
        if (HRESULT hr = EhProdutoProprio(posicao.lPonteiroProduto, &bProprio)) return hr;
        const int64_t saldo = SaldoItemPedido(item);
        if (bProprio && saldo > 0 && MesmaPosicao(f.regPosicaoProduto, posicao))
          AcumulaQtdNecessaria(posicao, 0, pedido.iPonteiroFilial, saldo);
        return S_OK;
      });
}

// 3.
HRESULT CPPServidorOP::DemandaNecessidades::DescontaComplementos() {
  if (!m_op.m_regMestre.cConsiderarComplementoNaDemanda) return S_OK;
  for (_REG_VARMO_QTDS_NECESSARIASPS& entrada : m_lista) {
    if (HRESULT hr = DescontaComplementos(entrada)) return hr;
  }
  return S_OK;
}

// The open orders' complement items of the entry's position and branch.
HRESULT CPPServidorOP::DemandaNecessidades::DescontaComplementos(_REG_VARMO_QTDS_NECESSARIASPS& entrada) {
  _REG_VARMO_FILTROPS filtro{};
  filtro.cOPNaoIniciada = 1;
  filtro.cOPIniciada = 1;
  filtro.cTipoItemComplemento = 1;
  filtro.regPosicaoProdutoServicoItem = entrada.regPosicaoProduto;
  filtro.cTipoProdutoServico = kProduto;
  filtro.cFiltroProdutoServico = 1;
  filtro.usPonteiroFilial = entrada.usFilial;
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  if (HRESULT hr = m_op.BuscaPonteirosFiltro(filtro, &lista)) return hr;
  const std::vector<uint32_t> chaves(lista.plPonteiro, lista.plPonteiro + (lista.plPonteiro ? lista.lQtd : 0));
  CoTaskMemFree(lista.plPonteiro);
  const _REG_POSICAO_PRODUTOPS& posicao = entrada.regPosicaoProduto;
  for (uint32_t ulChave : chaves) {
    _REG_VARMO_OPPS ordem{};
    HRESULT hr = m_op.LePonteiros(1, &ulChave, &ordem, kLeItens);
    for (uint16_t i = 0; hr == S_OK && ordem.pregItens && i < ordem.usQtdItens; ++i) {
      const _REG_VARMO_OP_ITEMPS& item = ordem.pregItens[i];
      const _REG_POSICAO_PRODUTOPS& p = item.regPosicaoProdutoServico;
      if (item.cTipoItem != kItemComplemento || item.cTipoProdutoServico != kProduto ||
          p.lPonteiroProduto != posicao.lPonteiroProduto || p.iPonteiroItemGrade1 != posicao.iPonteiroItemGrade1 ||
          p.iPonteiroItemGrade2 != posicao.iPonteiroItemGrade2 || p.iPonteiroItemGrade3 != posicao.iPonteiroItemGrade3)
        continue;
      const int64_t aberta =
          Valor(item.vQuantidadeProgramada) - Valor(item.vQuantidadePerdida) - Valor(item.vQuantidadeProduzida);
      if (aberta <= 0) continue;
      entrada.vQuantidadeComplemento.int64 += aberta;
      entrada.vSaldoProduzir.int64 -= aberta;
    }
    LiberaRegistroOP(&ordem, 0);
    if (hr) return hr;
  }
  return S_OK;
}

// 4.
HRESULT CPPServidorOP::DemandaNecessidades::DescontaEstoque() {
  if (m_lista.empty()) return S_OK;
  HRESULT hr = S_OK;
  IQVES_Movimento* estoque = m_op.GetIMovimento(&hr);
  if (!estoque) return FAILED(hr) ? hr : E_NOINTERFACE;
  for (_REG_VARMO_QTDS_NECESSARIASPS& entrada : m_lista) {
    _REG_ES_CHAVE_SALDOPS chave{};
    chave.regPosicaoProduto = entrada.regPosicaoProduto;
    chave.iPonteiroFilial = entrada.usFilial;
    _REG_ES_SALDO_POSICAOPS saldo{};
    if (hr = estoque->LeSaldoPosicao(chave, &saldo, 0, 0); FAILED(hr)) return hr;
    const int64_t disponivel = Valor(saldo.vSaldoTipoEstoque0) + Valor(saldo.vSaldoTipoEstoque2);
    if (disponivel > 0) entrada.vSaldoProduzir.int64 -= disponivel;
  }
  return S_OK;
}

// 5. A grouped quantity is left to its group, which counts it.
HRESULT CPPServidorOP::DemandaNecessidades::SomaNecessidades() {
  const _REG_PP_FILTRO_QTDS_NECESSARIASPS& f = m_filtro;
  const _REG_VARMO_MESTRE& mestre = m_op.m_regMestre;
  return m_op.PercorreNecessidades(
      QVDataParaMesAno(mestre.usDataInferiorPeriodo), QVDataParaMesAno(mestre.usDataSuperiorPeriodo),
      [&](uint32_t, const PPDiscoNecessidade& necessidade) {
        if (necessidade.cRemovido || !m_op.m_mestre.GetPermissaoUsuario(necessidade.usPonteiroFilial)) return S_OK;
        if (necessidade.cTipoRegistro == kNecessidadeOP && necessidade.lPonteiroOPGeradora == 0) return S_OK;
        if (f.usDataEmissaoInicial && necessidade.usDataEmissao < f.usDataEmissaoInicial) return S_OK;
        if (f.usDataEmissaoFinal && necessidade.usDataEmissao > f.usDataEmissaoFinal) return S_OK;
        if (f.lPonteiroColecao && necessidade.lPonteiroColecao != f.lPonteiroColecao) return S_OK;
        if (!MesmaPosicao(f.regPosicaoProduto, necessidade)) return S_OK;
        const int64_t pendente = PendenteNecessidade(necessidade);
        if (pendente <= 0) return S_OK;
        const bool bColecao = f.lPonteiroColecao || f.cSepararColecoes;
        AcumulaQtdNecessaria(Posicao(necessidade), bColecao ? necessidade.lPonteiroColecao : 0,
                             necessidade.usPonteiroFilial, pendente);
        return S_OK;
      });
}

// 6.
HRESULT CPPServidorOP::DemandaNecessidades::Entrega(_REG_VARMO_LISTA_QTDS_NECESSARIASPS* pRegPS) const {
  std::vector<_REG_VARMO_QTDS_NECESSARIASPS> restantes;
  std::copy_if(m_lista.begin(), m_lista.end(), std::back_inserter(restantes),
               [](const _REG_VARMO_QTDS_NECESSARIASPS& entrada) { return Valor(entrada.vSaldoProduzir) > 0; });
  return EntregaLista(restantes, pRegPS, &_REG_VARMO_LISTA_QTDS_NECESSARIASPS::pRegQtdsNecessarias);
}

HRESULT CPPServidorOP::BuscaQtdsNecessarias(_REG_PP_FILTRO_QTDS_NECESSARIASPS regFiltro,
                                            _REG_VARMO_LISTA_QTDS_NECESSARIASPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  // 1.
  const bool bPedidos = (regFiltro.cLerPedidos || !regFiltro.cLerNecessidades) && !regFiltro.lPonteiroColecao &&
                        m_mestre.GetIntegraPedidos();
  const bool bNecessidades = (regFiltro.cLerNecessidades || !regFiltro.cLerPedidos) && !regFiltro.lPonteiroCliente;
  DemandaNecessidades demanda(*this, regFiltro);
  // 2.
  if (bPedidos) {
    if (HRESULT hr = demanda.SomaPedidos()) return hr;
  }
  // 3. and 4.
  if (HRESULT hr = demanda.DescontaComplementos()) return hr;
  if (HRESULT hr = demanda.DescontaEstoque()) return hr;
  // 5.
  if (bNecessidades) {
    if (HRESULT hr = demanda.SomaNecessidades()) return hr;
  }
  // 6.
  return demanda.Entrega(pRegPS);
}

HRESULT CPPServidorOP::BuscaListaDadoPedido(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS regKey,
                                            REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  const _REG_POSICAO_PRODUTOPS& posicao = regKey.regPosicaoProdutoServico;
  std::vector<_REG_VARMO_OP_ITEMPS> itens;
  // 1. The key's client travels in its lPonteiroForEPTETPE.
  if (m_mestre.GetIntegraPedidos()) {
    HRESULT hr = PercorreItensPedidos(
        posicao, regKey.lPonteiroForEPTETPE, 0, 0,
        [&](uint32_t ulChave, const tagREG_PEDIDOPS& pedido, const tagREG_ITENSPEDIDOPS& item, uint16_t usIdx) {
          const int64_t saldo = SaldoItemPedido(item);
          if (!item.cEncerrado && saldo > 0 && MesmaPosicao(posicao, item.regPosProdutoServico))
            itens.push_back(ItemDePedido(ulChave, pedido, item, usIdx, saldo));
          return S_OK;
        });
    if (hr) return hr;
  }
  // 2.
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroColecao = regKey.lPonteiroColecao;
  const uint16_t usInicial =
      m_regMestre.cUsaDataVisualizacao ? m_regMestre.usDataVisualizacao : m_regMestre.usDataInferiorPeriodo;
  const PPVisitaNecessidade junta = [&](uint32_t ulChave, const PPDiscoNecessidade& necessidade) {
    const uint16_t usFilial = regKey.usPonteiroFilial;
    if ((!usFilial || usFilial == necessidade.usPonteiroFilial) && MesmaPosicao(posicao, necessidade))
      itens.push_back(ItemDeNecessidade(ulChave, necessidade));
    return S_OK;
  };
  if (HRESULT hr = BuscaNecessidades(filtro, usInicial, m_regMestre.usDataSuperiorPeriodo, junta)) return hr;
  return EntregaLista(itens, pRegPS, &REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS::pRegDadoItemPedidoOP);
}

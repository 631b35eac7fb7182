// Single production reports: the report filter and the walks that the searches build on, the
// reads of reports by key with their sub-lists, and the reports of one process of an order.
#include "server/op/CPPServidorOP.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "platform/com/taskmem.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPConversaoOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;

// LeApontamento's read kinds (named apart from the class's own kLe... bits of LePonteiros).
constexpr uint16_t kTipoRetornos = 0x2;
constexpr uint16_t kTipoMovimentosDisco = 0x4;
constexpr uint16_t kTipoRecursos = 0x8;
constexpr uint16_t kTipoMovimentosEstoque = 0x10;
constexpr uint16_t kTipoRemessa = 0x20;
constexpr uint16_t kTipoOperacoes = 0x40;
constexpr uint16_t kTipoEntradasPendentes = 0x8000;
// What LeApontamentosDoProcesso always asks: returns and the shipment.
constexpr uint16_t kTipoApontamentosProcesso = 0x23;
// The read kind of a shipment with its inputs.
constexpr uint8_t kTipoRemessaCompleta = 255;

// A list read into a new array of the task allocator, for the caller to hand to its record.
template <class Elemento>
struct Lista {
  uint16_t quantidade = 0;
  Elemento* elementos = nullptr;
};

// A zeroed array of n elements from the task allocator; null for none.
template <class Elemento>
HRESULT NovoArray(uint32_t n, Elemento** ppElementos) {
  *ppElementos = nullptr;
  if (n == 0) return S_OK;
  auto* elementos = static_cast<Elemento*>(CoTaskMemAlloc(n * sizeof(Elemento)));
  if (!elementos) return E_OUTOFMEMORY;
  std::memset(static_cast<void*>(elementos), 0, n * sizeof(Elemento));
  *ppElementos = elementos;
  return S_OK;
}

// A run read into a new array, each record turned into its element by converte(disco, elemento)
// -> HRESULT. The list holds the array and the whole count from the start; a failure part way
// leaves the elements not reached zeroed.
template <class Disco, class Elemento, class Converte>
HRESULT LeSequencia(CPPArqEx& arquivo, uint32_t primeiro, uint16_t quantidade, Lista<Elemento>& lista,
                    Converte converte) {
  if (HRESULT hr = NovoArray(quantidade, &lista.elementos)) return hr;
  lista.quantidade = quantidade;
  return PPPercorreSequenciaOP<Disco>(arquivo, primeiro, quantidade, [&](uint32_t i, const Disco& disco) {
    return converte(disco, lista.elementos[i]);
  });
}

// A text of PPIE into a COM text field, cut to the field; offset 0 is no text.
template <size_t N>
HRESULT LeTexto(Arquivos& arquivos, uint32_t ulTexto, char (&campo)[N]) {
  if (ulTexto == 0) return S_OK;
  CString texto;
  if (HRESULT hr = PPLeTextoDyn(&arquivos.m_arqIE, ulTexto, texto)) return hr;
  PPCopiaCampo(campo, texto);
  return S_OK;
}

// One entry of an operation (its counter, quantity, interval or detail) into a new one-element
// array, when bTem; else null.
template <class Disco, class Elemento, class Converte>
HRESULT LeEntradaOperacao(CPPArqEx& arquivo, bool bTem, uint32_t ulRegistro, Elemento** ppRegPS, Converte converte) {
  *ppRegPS = nullptr;
  if (!bTem) return S_OK;
  Disco disco;
  if (HRESULT hr = PPLeRegistroOP(arquivo, ulRegistro, &disco)) return hr;
  Elemento* elemento = nullptr;
  if (HRESULT hr = NovoArray(1, &elemento)) return hr;
  if (HRESULT hr = converte(disco, *elemento)) {
    CoTaskMemFree(elemento);
    return hr;
  }
  *ppRegPS = elemento;
  return S_OK;
}

// The files that a read kind needs, for a set built for the read.
uint32_t ArquivosLeitura(uint16_t usTipoLeitura) {
  uint32_t lBits = Arquivos::kArqApontamento | Arquivos::kArqIE;
  const bool bMovimentos = usTipoLeitura & (kTipoMovimentosDisco | kTipoMovimentosEstoque | kTipoEntradasPendentes);
  if (usTipoLeitura & kTipoRetornos) lBits |= Arquivos::kArqRetornoIndExterna;
  if (bMovimentos) lBits |= Arquivos::kArqMovtoApontamento | Arquivos::kArqLoteMovimento;
  if (usTipoLeitura & (kTipoRecursos | kTipoOperacoes)) lBits |= Arquivos::kArqApontamentoRecurso;
  if (usTipoLeitura & kTipoOperacoes) lBits |= Arquivos::kArqAO;
  if (usTipoLeitura & kTipoRemessa) lBits |= Arquivos::kArqRemessaIndustrializacao | Arquivos::kArqIR | Arquivos::kArqID;
  return lBits;
}

void LiberaApontamentos(_REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) {
  for (int32_t i = 0; i < pRegPS->lQuantidade; ++i) LiberaRegistroApontamento(&pRegPS->pregApontamentos[i], 0);
  CoTaskMemFree(pRegPS->pregApontamentos);
  pRegPS->lQuantidade = 0;
  pRegPS->pregApontamentos = nullptr;
}

}  // namespace

uint16_t CPPServidorOP::TipoLeituraApontamentos(uint16_t usTipoLeitura) {
  uint16_t tipo = kTipoApontamentosProcesso;
  if (PPTipoLeituraBit8ou12(usTipoLeitura)) tipo |= kTipoRecursos;
  if (PPTipoLeituraBit12(usTipoLeitura)) tipo |= kTipoOperacoes;
  if (PPTipoLeituraBit6(static_cast<uint8_t>(usTipoLeitura))) tipo |= kTipoMovimentosDisco;
  if (PPTipoLeituraBit9(usTipoLeitura)) tipo |= kTipoMovimentosEstoque;
  return tipo;
}

// ---------------------------------------------------------------------------------------------------
// The filter and the walks

HRESULT CPPServidorOP::SetFiltroApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS RegPS) {
  m_regFiltroApontamento = RegPS;
  return S_OK;
}

HRESULT CPPServidorOP::LimpaFiltroApontamento() {
  m_regFiltroApontamento = _REG_VARMO_FILTRO_APONTAMENTOPS{};
  return S_OK;
}

bool CPPServidorOP::ConfereFiltroApontamento(uint32_t ulChaveApontamento, const PPDiscoApontamento& apontamento,
                                             const PPDiscoOP& op) const {
  const _REG_VARMO_FILTRO_APONTAMENTOPS& filtro = m_regFiltroApontamento;
  // 1, 2. Removed reports, and branches the user may not see, never pass.
  if (apontamento.cExcluido) return false;
  if (!m_mestre.GetPermissaoUsuario(op.usPonteiroFilial)) return false;
  // 3, 4, 5. The report, its order, the range of orders.
  if (filtro.ulChaveApontamento && filtro.ulChaveApontamento != ulChaveApontamento) return false;
  if (filtro.lChaveOP && QVGetNumeroDaChave(filtro.lChaveOP) != apontamento.ulRegistroOP) return false;
  const uint32_t ulChaveOP = QVMontaChave(QVGetMesAnoDaChave(ulChaveApontamento), apontamento.ulRegistroOP);
  if (filtro.ulChaveOPInicial && QVComparaChave(ulChaveOP, filtro.ulChaveOPInicial) < 0) return false;
  if (filtro.ulChaveOPFinal && QVComparaChave(ulChaveOP, filtro.ulChaveOPFinal) > 0) return false;
  // 6, 7, 8. Project, product or service, the product and its grade.
  if (filtro.lPonteiroProjeto && filtro.lPonteiroProjeto != op.lPonteiroColecao) return false;
  if (filtro.cFiltroProdutoServico) {
    const bool bProduto = (filtro.cFiltroProdutoServico & 0x1) && op.cTipoProdutoServico == 'P';
    const bool bServico = (filtro.cFiltroProdutoServico & 0x2) && op.cTipoProdutoServico == 'S';
    if (!bProduto && !bServico) return false;
  }
  const _REG_POSICAO_PRODUTOPS produto = filtro.regPosicaoProdutoServico;
  if (produto.lPonteiroProduto && filtro.cTipoProdutoServico) {
    if (op.cTipoProdutoServico != filtro.cTipoProdutoServico || op.lPonteiroProduto != produto.lPonteiroProduto)
      return false;
    if (produto.iPonteiroItemGrade1 && produto.iPonteiroItemGrade1 != op.iPonteiroItemGrade1) return false;
    if (produto.iPonteiroItemGrade2 && produto.iPonteiroItemGrade2 != op.iPonteiroItemGrade2) return false;
    if (produto.iPonteiroItemGrade3 && produto.iPonteiroItemGrade3 != op.iPonteiroItemGrade3) return false;
  }
  // 9. Pointers of the order and of the report.
  if (filtro.lPonteiroTipoOP && filtro.lPonteiroTipoOP != op.lPonteiroTipoOP) return false;
  if (filtro.lPonteiroProcesso && filtro.lPonteiroProcesso != apontamento.lPonteiroProcesso) return false;
  if (filtro.lPonteiroFluxoProcesso && filtro.lPonteiroFluxoProcesso != op.lPonteiroFluxoProcesso) return false;
  if (filtro.lPonteiroSuplemento1 && filtro.lPonteiroSuplemento1 != apontamento.lPonteiroSuplementoInfo1) return false;
  if (filtro.lPonteiroSuplemento2 && filtro.lPonteiroSuplemento2 != apontamento.lPonteiroSuplementoInfo2) return false;
  if (filtro.lPonteiroSuplemento3 && filtro.lPonteiroSuplemento3 != apontamento.lPonteiroSuplementoInfo3) return false;
  if (filtro.usPonteiroFilial && filtro.usPonteiroFilial != op.usPonteiroFilial) return false;
  // 10. Dates, bounds included.
  if (filtro.usDataInicial && apontamento.usDataGravacao < filtro.usDataInicial) return false;
  if (filtro.usDataFinal && apontamento.usDataGravacao > filtro.usDataFinal) return false;
  if (filtro.usDataApontamentoInicio && apontamento.usDataApontamentoInicio < filtro.usDataApontamentoInicio)
    return false;
  if (filtro.usDataApontamentoFim && apontamento.usDataApontamentoFim > filtro.usDataApontamentoFim) return false;
  // 11. Internal (cTipoProducao set) or outsourced production.
  if (filtro.cProcessoInterno && !apontamento.cTipoProducao) return false;
  if (filtro.cProcessoExterno && apontamento.cTipoProducao) return false;
  // 12. An entry left for later.
  if (filtro.cEntradaPendenteES && !(apontamento.cPossuiEntradaPendente && apontamento.cTipoApontamento == 4))
    return false;
  return true;
}

HRESULT CPPServidorOP::PercorreApontamentosMes(CPPArquivosOP& arquivos, const PPVisitaApontamento& visita) {
  const uint16_t usMesAno = arquivos.GetPeriodo();
  const int32_t quantidade = arquivos.m_arqApontamento.GetQuantidadeRegistros();
  if (quantidade < 0) return PPErroHResult(kQVErroArquivo);
  PPDiscoOP op{};
  bool bLida = false;
  uint32_t ulRegistroOP = 0;  // the order in op, once read
  for (uint32_t registro = 1; registro <= static_cast<uint32_t>(quantidade); ++registro) {
    PPDiscoApontamento apontamento;
    if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqApontamento, registro, &apontamento)) return hr;
    if (!bLida || apontamento.ulRegistroOP != ulRegistroOP) {
      if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqOP, apontamento.ulRegistroOP, &op)) return hr;
      ulRegistroOP = apontamento.ulRegistroOP;
      bLida = true;
    }
    const uint32_t ulChave = QVMontaChave(usMesAno, registro);
    if (!ConfereFiltroApontamento(ulChave, apontamento, op)) continue;
    if (HRESULT hr = visita(ulChave, apontamento, op); hr != S_OK) return hr;
  }
  return S_OK;
}

HRESULT CPPServidorOP::PercorreMesesApontamento(CPPArquivosOP* arquivos, uint32_t lBits, uint32_t lChaveOP,
                                                const PPVisitaMesApontamento& visita) {
  CPPArquivosOP proprios;
  if (!arquivos) {
    if (HRESULT hr = proprios.Inicializa(m_strEmpresa, 0, 0)) return hr;
    proprios.SetArquivos(lBits);
    arquivos = &proprios;
  }
  uint16_t usPrimeiro = QVDataParaMesAno(m_regMestre.usDataInferiorPeriodo);
  uint16_t usUltimo = QVDataParaMesAno(m_regMestre.usDataSuperiorPeriodo);
  if (lChaveOP) usPrimeiro = usUltimo = QVGetMesAnoDaChave(lChaveOP);
  for (uint32_t mes = usPrimeiro; mes <= usUltimo; ++mes) {
    const uint16_t usMesAno = static_cast<uint16_t>(mes);
    if (!arquivos->Existe(Arquivos::kArqApontamento, usMesAno)) continue;
    if (HRESULT hr = arquivos->SetModo(usMesAno, 'L')) return hr;
    if (HRESULT hr = visita(*arquivos, usMesAno); hr != S_OK) return hr;
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// Copies

void CPPServidorOP::CopiaApontamento(const PPDiscoApontamento& apontamento, uint16_t usMesAno, uint32_t ulRegistro,
                                     _REG_VARMO_OP_APONTAMENTO* pRegPS) {
  std::memset(static_cast<void*>(pRegPS), 0, sizeof *pRegPS);
  PPConverteParaCOM(apontamento, *pRegPS);
  pRegPS->lPonteiroOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
  pRegPS->lPonteiroApontamento = QVMontaChave(usMesAno, ulRegistro);
  pRegPS->ulPonteiroEncerramentoForcado = apontamento.ulTextoMotivoEncerramentoForcado;
  // Stored by the report and named by the client's data class: a read gives it back.
  pRegPS->ulChaveApontamentoOPOrigem = apontamento.ulChaveApontamentoOPOrigem;
}

void CPPServidorOP::CopiaApontamentoRecurso(const PPDiscoApontamentoRecurso& recurso,
                                            _REG_PP_APONTAMENTO_RECURSOPS* pRegPS) {
  std::memset(static_cast<void*>(pRegPS), 0, sizeof *pRegPS);
  PPConverteParaCOM(recurso, *pRegPS);
}

HRESULT CPPServidorOP::MontaMovimentoLote(CPPArquivosOP& arquivos, const PPDiscoMovimento& movimento,
                                          PPMovimentoLote* pMovimento) {
  pMovimento->movimento = movimento;
  pMovimento->lote = PPDiscoLote{};
  if (static_cast<int32_t>(movimento.ulRegistroLote) <= 0) return S_OK;
  return PPLeRegistroOP(arquivos.m_arqLoteMovimento, movimento.ulRegistroLote, &pMovimento->lote);
}

void CPPServidorOP::CopiaMovimento(const PPMovimentoLote& movimentoLote, _REG_ES_MOVIMENTOPS* pRegPS) {
  const PPDiscoMovimento& movimento = movimentoLote.movimento;
  const PPDiscoLote& lote = movimentoLote.lote;
  std::memset(static_cast<void*>(pRegPS), 0, sizeof *pRegPS);
  pRegPS->vValorTotalInsumos = movimento.vValorTotalInsumos;
  pRegPS->vValorTotalCustosDireto = movimento.vValorTotalCustosDireto;
  pRegPS->vValorTotalCustosIndireto = movimento.vValorTotalCustosIndireto;
  pRegPS->vQuantidade = movimento.vQuantidade;
  pRegPS->lPosicao = static_cast<int32_t>(QVGetNumeroDaChave(movimento.ulChaveMovimento));
  pRegPS->lPonteiroLote = movimento.lPonteiroLote;
  pRegPS->lPonteiroVolume = movimento.lPonteiroVolume;
  pRegPS->lPonteiroForLote = movimento.lPonteiroForLote;
  pRegPS->lPonteiroForEPTETPE = movimento.lPonteiroForEPTETPE;
  pRegPS->lPonteiroCliEPTETPE = movimento.lPonteiroCliEPTETPE;
  pRegPS->iPonteiroLocalArmazenagem = static_cast<uint16_t>(movimento.lPonteiroLocalArmazenagem);
  pRegPS->regPosicaoProduto = {movimento.lPonteiroProduto, movimento.iPonteiroItemGrade1, movimento.iPonteiroItemGrade2,
                               movimento.iPonteiroItemGrade3};
  pRegPS->iPonteiroFilial = movimento.iPonteiroFilial;
  pRegPS->iDataMovimento = movimento.iDataMovimento;
  pRegPS->iHoraMovimento = movimento.iHoraMovimento;
  pRegPS->cTipoEstoqueArmazenagem = movimento.cTipoEstoqueArmazenagem;
  pRegPS->cTipoProducao = movimento.cTipoProducao;
  PPCopiaTextoN(pRegPS->regLotePS.cNumeroLote, sizeof pRegPS->regLotePS.cNumeroLote, PPTextoCampo(lote.cNumeroLote));
  pRegPS->regLotePS.iDataFabricacao = lote.iDataFabricacao;
  pRegPS->regLotePS.iDataValidade = lote.iDataValidade;
  pRegPS->regLotePS.iNumeroDias = lote.iNumeroDias;
}

// ---------------------------------------------------------------------------------------------------
// Operations of resource reports

HRESULT CPPServidorOP::LeOperacoesApontamentoRecurso(CPPArquivosOP& arquivos,
                                                     const PPDiscoApontamentoRecurso& recurso,
                                                     _REG_PP_APONTAMENTO_RECURSOPS* pRegPS) {
  auto converte = [&](const PPDiscoOperacaoRecurso& disco, _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao) {
    operacao.ulPonteiroOperacaoProducao = disco.ulPonteiroOperacaoProducao;
    operacao.usDataApontamentoInicial = disco.usDataApontamentoInicial;
    operacao.usHoraApontamentoInicial = disco.usHoraApontamentoInicial;
    operacao.usDataApontamentoFinal = disco.usDataApontamentoFinal;
    operacao.usHoraApontamentoFinal = disco.usHoraApontamentoFinal;
    operacao.cApontaContador = disco.cApontaContador;
    operacao.cApontaQuantidade = disco.cApontaQuantidade;
    operacao.cApontaIntervalo = disco.cApontaIntervalo;
    operacao.cApontaDetalhe = disco.cApontaDetalhe;
    operacao.cTipoOperacaoProducao = disco.cTipoOperacaoProducao;
    // Each list is handed to the operation as soon as it is read.
    _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS* contadores = nullptr;
    HRESULT hr = LeContadoresOperacao(arquivos, disco, &contadores);
    operacao.pregContadores = contadores;
    operacao.usQuantApontamentoContador = contadores ? 1 : 0;
    if (hr) return hr;
    _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS* quantidades = nullptr;
    hr = LeQuantidadesOperacao(arquivos, disco, &quantidades);
    operacao.pregQuantidades = quantidades;
    operacao.usQuantApontamentoQuantidade = quantidades ? 1 : 0;
    if (hr) return hr;
    _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS* intervalos = nullptr;
    hr = LeIntervalosOperacao(arquivos, disco, &intervalos);
    operacao.pregIntervalos = intervalos;
    operacao.usQuantApontamentoIntervalo = intervalos ? 1 : 0;
    if (hr) return hr;
    _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS* detalhes = nullptr;
    hr = LeDetalhesOperacao(arquivos, disco, &detalhes);
    operacao.pregDetalhes = detalhes;
    operacao.usQuantApontamentoDetalhe = detalhes ? 1 : 0;
    return hr;
  };
  Lista<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> lista;
  const HRESULT hr = LeSequencia<PPDiscoOperacaoRecurso>(arquivos.m_arqAO, recurso.ulPrimeiraOperacao,
                                                         recurso.usQuantidadeApontamentoOperacao, lista, converte);
  pRegPS->usQuantidadeApontamentoOperacao = lista.quantidade;
  pRegPS->pregOperacoes = lista.elementos;
  return hr;
}

HRESULT CPPServidorOP::LeContadoresOperacao(CPPArquivosOP& arquivos, const PPDiscoOperacaoRecurso& operacao,
                                            _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS** ppRegPS) {
  return LeEntradaOperacao<PPDiscoContadorOperacao>(
      arquivos.m_arqAC, operacao.cApontaContador, operacao.ulRegistroContador, ppRegPS,
      [](const PPDiscoContadorOperacao& disco, _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS& contador) {
        contador.vContadorInicial = disco.vContadorInicial;
        contador.vContadorFinal = disco.vContadorFinal;
        contador.ulPonteiroUnidadeMedida = disco.ulPonteiroUnidadeMedida;
        contador.usNumeroDigitos = disco.usNumeroDigitos;
        PPCopiaCampo(contador.szNomeInicial, PPTextoCampo(disco.szNomeInicial));
        PPCopiaCampo(contador.szNomeFinal, PPTextoCampo(disco.szNomeFinal));
        contador.cUnidadeProdutoServico = disco.cUnidadeProdutoServico;
        contador.cAtualizarContadorRecurso = disco.cAtualizarContadorRecurso;
        return S_OK;
      });
}

HRESULT CPPServidorOP::LeQuantidadesOperacao(CPPArquivosOP& arquivos, const PPDiscoOperacaoRecurso& operacao,
                                             _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS** ppRegPS) {
  return LeEntradaOperacao<PPDiscoQuantidadeOperacao>(
      arquivos.m_arqAQ, operacao.cApontaQuantidade, operacao.ulRegistroQuantidade, ppRegPS,
      [](const PPDiscoQuantidadeOperacao& disco, _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS& quantidade) {
        quantidade.vQuantidade = disco.vQuantidade;
        quantidade.ulPonteiroUnidadeMedida = disco.ulPonteiroUnidadeMedida;
        quantidade.cUnidadeProdutoServico = disco.cUnidadeProdutoServico;
        return S_OK;
      });
}

HRESULT CPPServidorOP::LeIntervalosOperacao(CPPArquivosOP& arquivos, const PPDiscoOperacaoRecurso& operacao,
                                            _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS** ppRegPS) {
  return LeEntradaOperacao<PPDiscoIntervaloOperacao>(
      arquivos.m_arqAI, operacao.cApontaIntervalo, operacao.ulRegistroIntervalo, ppRegPS,
      [](const PPDiscoIntervaloOperacao& disco, _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS& intervalo) {
        intervalo.vValorInicial = disco.vValorInicial;
        intervalo.vValorFinal = disco.vValorFinal;
        intervalo.ulPonteiroUnidadeMedida = disco.ulPonteiroUnidadeMedida;
        intervalo.usDataInicial = disco.usDataInicial;
        intervalo.usDataFinal = disco.usDataFinal;
        intervalo.usHoraInicial = disco.usHoraInicial;
        intervalo.usHoraFinal = disco.usHoraFinal;
        intervalo.cUnidadeProdutoServico = disco.cUnidadeProdutoServico;
        return S_OK;
      });
}

HRESULT CPPServidorOP::LeDetalhesOperacao(CPPArquivosOP& arquivos, const PPDiscoOperacaoRecurso& operacao,
                                          _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS** ppRegPS) {
  return LeEntradaOperacao<PPDiscoDetalheOperacao>(
      arquivos.m_arqAD, operacao.cApontaDetalhe, operacao.ulRegistroDetalhe, ppRegPS,
      [&](const PPDiscoDetalheOperacao& disco, _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS& detalhe) {
        return LeTexto(arquivos, disco.ulTextoDetalhe, detalhe.szDetalhe);
      });
}

// ---------------------------------------------------------------------------------------------------
// One report by key

HRESULT CPPServidorOP::AbreMesApontamento(CPPArquivosOP& arquivos, uint16_t usMesAno) {
  if (arquivos.EstaAberto() && arquivos.GetPeriodo() == usMesAno) return S_OK;
  if (!arquivos.Existe(Arquivos::kArqApontamento, usMesAno)) return PPErroHResult(kQVErroFimArquivo);
  return arquivos.SetModo(usMesAno, 'L');
}

HRESULT CPPServidorOP::LeApontamento(uint32_t ulChave, _REG_VARMO_OP_APONTAMENTO* pRegPS, CPPArquivosOP* arquivos,
                                     uint16_t usTipoLeitura) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  std::memset(static_cast<void*>(pRegPS), 0, sizeof *pRegPS);
  if (arquivos) return LeApontamentoNoConjunto(*arquivos, ulChave, usTipoLeitura, pRegPS);
  CPPArquivosOP proprios;
  if (HRESULT hr = proprios.Inicializa(m_strEmpresa, 0, 0)) return hr;
  proprios.SetArquivos(ArquivosLeitura(usTipoLeitura));
  return LeApontamentoNoConjunto(proprios, ulChave, usTipoLeitura, pRegPS);
}

HRESULT CPPServidorOP::LeApontamentoNoConjunto(CPPArquivosOP& arquivos, uint32_t ulChave, uint16_t usTipoLeitura,
                                               _REG_VARMO_OP_APONTAMENTO* pRegPS) {
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChave);
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChave);
  if (usMesAno == 0 || ulRegistro == 0) return PPErroHResult(kPPErroChaveAusente);
  if (HRESULT hr = AbreMesApontamento(arquivos, usMesAno)) return hr;
  PPDiscoApontamento apontamento;
  if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqApontamento, ulRegistro, &apontamento)) return hr;

  CopiaApontamento(apontamento, usMesAno, ulRegistro, pRegPS);
  // No list is read yet: none may be counted.
  pRegPS->usQtdMvtoEntrada = 0;
  pRegPS->usQtdMvtoEstoque = 0;
  pRegPS->usQtdRetornoIndustExt = 0;
  pRegPS->usQtdRecursosNaoApontados = 0;
  pRegPS->usQtdRecursos = 0;
  if (HRESULT hr = LeTexto(arquivos, apontamento.ulTextoComentario, pRegPS->szComentario)) return hr;
  if (HRESULT hr = LeTexto(arquivos, apontamento.ulTextoMotivoEncerramentoForcado, pRegPS->szMotivoEncerramentoForcado))
    return hr;

  PPOrigemMovimento origem = PPOrigemMovimento::Nenhuma;
  if (usTipoLeitura & kTipoMovimentosEstoque) origem = PPOrigemMovimento::Estoque;
  if (usTipoLeitura & kTipoMovimentosDisco) origem = PPOrigemMovimento::Disco;
  if (usTipoLeitura & kTipoRetornos) {
    if (HRESULT hr = LeRetornosApontamento(arquivos, apontamento, origem, pRegPS)) return hr;
  }
  const bool bPendentes = usTipoLeitura & kTipoEntradasPendentes;
  if (HRESULT hr = LeMovimentosApontamento(arquivos, apontamento, origem, bPendentes, pRegPS)) return hr;
  if (usTipoLeitura & (kTipoRecursos | kTipoOperacoes)) {
    const bool bOperacoes = usTipoLeitura & kTipoOperacoes;
    if (HRESULT hr = LeRecursosApontamento(arquivos, apontamento, bOperacoes, pRegPS)) return hr;
  }
  if ((usTipoLeitura & kTipoRemessa) && static_cast<int32_t>(apontamento.ulRegistroRemessa) > 0) {
    _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa{};
    const HRESULT hr = LeRemessaIndustrializacao(QVMontaChave(usMesAno, apontamento.ulRegistroRemessa), &remessa,
                                                 &arquivos, kTipoRemessaCompleta);
    pRegPS->regRemessaIndustrializacao = remessa;
    if (hr) return hr;
  }
  return S_OK;
}

HRESULT CPPServidorOP::LeRetornosApontamento(CPPArquivosOP& arquivos, const PPDiscoApontamento& apontamento,
                                             PPOrigemMovimento origem, _REG_VARMO_OP_APONTAMENTO* pRegPS) {
  Lista<_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS> lista;
  const HRESULT hr = LeSequencia<PPDiscoRetorno>(
      arquivos.m_arqRetornoIndExterna, apontamento.ulPrimeiroRetorno, apontamento.usQtdRetornoIndustExt, lista,
      [&](const PPDiscoRetorno& disco, _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& retorno) {
        return MontaRetorno(arquivos, disco, origem, &retorno);
      });
  pRegPS->usQtdRetornoIndustExt = lista.quantidade;
  pRegPS->pregRetornoIndustrializacao = lista.elementos;
  return hr;
}

HRESULT CPPServidorOP::MontaRetorno(CPPArquivosOP& arquivos, const PPDiscoRetorno& retorno, PPOrigemMovimento origem,
                                    _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS* pRegPS) {
  // The processors in transit, the last-process reports and the keys are not read.
  PPConverteParaCOM(retorno, *pRegPS);
  pRegPS->lPonteiroMovimentoRefugo = retorno.ulMovimentoRefugo;
  pRegPS->ulPonteiroEncerramentoForcado = retorno.ulTextoMotivoEncerramentoForcado;
  if (HRESULT hr = LeTexto(arquivos, retorno.ulTextoComentario, pRegPS->szComentario)) return hr;
  if (HRESULT hr = LeTexto(arquivos, retorno.ulTextoMotivoEncerramentoForcado, pRegPS->szMotivoEncerramentoForcado))
    return hr;
  if (origem == PPOrigemMovimento::Nenhuma) return S_OK;

  uint16_t usQtd = 0;
  _REG_ES_MOVIMENTOPS* movimentos = nullptr;
  const HRESULT hr =
      LeListaMovimentos(arquivos, retorno.ulPrimeiroMovimento, retorno.usQtdMvtoEstoque, origem, &usQtd, &movimentos);
  pRegPS->usQtdMvtoEstoque = usQtd;
  pRegPS->pregMovimentos = movimentos;
  if (hr || !(retorno.cPossuiRefugo && retorno.ulMovimentoRefugo)) return hr;
  _REG_ES_MOVIMENTOPS refugo{};
  const HRESULT hrRefugo = LeMovimentoRefugo(arquivos, retorno.ulMovimentoRefugo, origem, &refugo);
  pRegPS->regMovimentoRefugo = refugo;
  return hrRefugo;
}

HRESULT CPPServidorOP::LeMovimentosApontamento(CPPArquivosOP& arquivos, const PPDiscoApontamento& apontamento,
                                               PPOrigemMovimento origem, bool bPendentes,
                                               _REG_VARMO_OP_APONTAMENTO* pRegPS) {
  uint16_t usQtd = 0;
  _REG_ES_MOVIMENTOPS* movimentos = nullptr;
  HRESULT hr = S_OK;
  if (origem != PPOrigemMovimento::Nenhuma) {
    // A pending entry's movements are not in the stock yet.
    if (!apontamento.cPossuiEntradaPendente) {
      hr = LeListaMovimentos(arquivos, apontamento.ulPrimeiraEntrada, apontamento.usQtdMvtoEntrada, origem, &usQtd,
                             &movimentos);
      pRegPS->usQtdMvtoEntrada = usQtd;
      pRegPS->pregMvtoEntrada = movimentos;
      if (hr) return hr;
    }
    hr = LeListaMovimentos(arquivos, apontamento.ulPrimeiroEstoque, apontamento.usQtdMvtoEstoque, origem, &usQtd,
                           &movimentos);
    pRegPS->usQtdMvtoEstoque = usQtd;
    pRegPS->pregMovimentos = movimentos;
    if (hr) return hr;
    if (apontamento.ulMovimentoRefugo) {
      _REG_ES_MOVIMENTOPS refugo{};
      hr = LeMovimentoRefugo(arquivos, apontamento.ulMovimentoRefugo, origem, &refugo);
      pRegPS->regMovimentoRefugo = refugo;
      if (hr) return hr;
    }
  }
  // The entries a pending entry stored, as the disk holds them.
  if (!bPendentes || pRegPS->usQtdMvtoEntrada || apontamento.cPossuiEntradaPendente != 1) return S_OK;
  hr = LeListaMovimentos(arquivos, apontamento.ulPrimeiraEntrada, apontamento.usQtdMvtoEntrada,
                         PPOrigemMovimento::Disco, &usQtd, &movimentos);
  pRegPS->usQtdMvtoEntrada = usQtd;
  pRegPS->pregMvtoEntrada = movimentos;
  return hr;
}

HRESULT CPPServidorOP::LeListaMovimentos(CPPArquivosOP& arquivos, uint32_t ulPrimeiro, uint16_t usQuantidade,
                                         PPOrigemMovimento origem, uint16_t* pusQtd, _REG_ES_MOVIMENTOPS** ppRegPS) {
  Lista<_REG_ES_MOVIMENTOPS> lista;
  const HRESULT hr = LeSequencia<PPDiscoMovimento>(
      arquivos.m_arqMovtoApontamento, ulPrimeiro, usQuantidade, lista,
      [&](const PPDiscoMovimento& disco, _REG_ES_MOVIMENTOPS& movimento) {
        return LeMovimentoApontamento(arquivos, disco, origem, &movimento);
      });
  *pusQtd = lista.quantidade;
  *ppRegPS = lista.elementos;
  return hr;
}

HRESULT CPPServidorOP::LeMovimentoRefugo(CPPArquivosOP& arquivos, uint32_t ulRegistro, PPOrigemMovimento origem,
                                         _REG_ES_MOVIMENTOPS* pRegPS) {
  PPDiscoMovimento disco;
  if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqMovtoApontamento, ulRegistro, &disco)) return hr;
  return LeMovimentoApontamento(arquivos, disco, origem, pRegPS);
}

HRESULT CPPServidorOP::LeMovimentoApontamento(CPPArquivosOP& arquivos, const PPDiscoMovimento& movimento,
                                              PPOrigemMovimento origem, _REG_ES_MOVIMENTOPS* pRegPS) {
  if (origem == PPOrigemMovimento::Estoque && movimento.ulChaveMovimento) {
    HRESULT hr = S_OK;
    IQVES_Movimento* estoque = GetIMovimento(&hr);
    if (!estoque) return FAILED(hr) ? hr : E_NOINTERFACE;
    return estoque->LeMovimento(movimento.ulChaveMovimento, pRegPS);
  }
  PPMovimentoLote movimentoLote;
  if (HRESULT hr = MontaMovimentoLote(arquivos, movimento, &movimentoLote)) return hr;
  CopiaMovimento(movimentoLote, pRegPS);
  return S_OK;
}

HRESULT CPPServidorOP::LeRecursosApontamento(CPPArquivosOP& arquivos, const PPDiscoApontamento& apontamento,
                                             bool bOperacoes, _REG_VARMO_OP_APONTAMENTO* pRegPS) {
  auto converte = [&](const PPDiscoApontamentoRecurso& disco, _REG_PP_APONTAMENTO_RECURSOPS& recurso) {
    CopiaApontamentoRecurso(disco, &recurso);
    return bOperacoes ? LeOperacoesApontamentoRecurso(arquivos, disco, &recurso) : S_OK;
  };
  Lista<_REG_PP_APONTAMENTO_RECURSOPS> naoApontados;
  HRESULT hr = LeSequencia<PPDiscoApontamentoRecurso>(arquivos.m_arqApontamentoRecurso,
                                                      apontamento.ulPrimeiroRecursoNaoApontado,
                                                      apontamento.usQtdRecursosNaoApontados, naoApontados, converte);
  pRegPS->usQtdRecursosNaoApontados = naoApontados.quantidade;
  pRegPS->pregRecursosNaoApontados = naoApontados.elementos;
  if (hr) return hr;
  Lista<_REG_PP_APONTAMENTO_RECURSOPS> recursos;
  hr = LeSequencia<PPDiscoApontamentoRecurso>(arquivos.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecurso,
                                              apontamento.usQtdRecursos, recursos, converte);
  pRegPS->usQtdRecursos = recursos.quantidade;
  pRegPS->pregRecursos = recursos.elementos;
  return hr;
}

// ---------------------------------------------------------------------------------------------------
// Batches of keys and the reports of a process

HRESULT CPPServidorOP::LePonteirosApontamento(uint32_t ulQtd, const uint32_t* pulPonteiros,
                                              _REG_VARMO_OP_APONTAMENTO* pregApontamentosps, CPPArquivosOP* arquivos,
                                              uint16_t usTipoLeituraApontamento) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (ulQtd && (!pulPonteiros || !pregApontamentosps)) return E_POINTER;
  CPPArquivosOP proprios;
  if (!arquivos) {
    if (HRESULT hr = proprios.Inicializa(m_strEmpresa, 0, 0)) return hr;
    proprios.SetArquivos(ArquivosLeitura(usTipoLeituraApontamento));
    arquivos = &proprios;
  }
  for (uint32_t i = 0; i < ulQtd; ++i) {
    const HRESULT hr = LeApontamento(pulPonteiros[i], &pregApontamentosps[i], arquivos, usTipoLeituraApontamento);
    if (hr) return hr;
  }
  return S_OK;
}

HRESULT CPPServidorOP::LeApontamentosProcesso(uint32_t lPntrOP, int32_t lPntrProcesso,
                                              _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) {
  return LeApontamentosProcessoOP(lPntrOP, lPntrProcesso, 0, pRegPS);
}

HRESULT CPPServidorOP::LeApontamentosProcessoTerceirizado(uint32_t lPntrOP, int32_t lPntrProcesso,
                                                          _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) {
  return LeApontamentosProcessoOP(lPntrOP, lPntrProcesso, 1, pRegPS);
}

HRESULT CPPServidorOP::LeApontamentosProcessoOP(uint32_t ulChaveOP, int32_t lPonteiroProcesso, uint8_t cTerceirizado,
                                                _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  *pRegPS = _REG_VARMO_LISTA_OP_APONTAMENTOS{};
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChaveOP);
  const uint32_t ulRegistroOP = QVGetNumeroDaChave(ulChaveOP);
  if (usMesAno == 0 || ulRegistroOP == 0) return PPErroHResult(kPPErroChaveAusente);
  CPPArquivosOP arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(kArquivosApontamento);
  // Without the order's month nothing may be created.
  if (!arquivos.Existe(Arquivos::kArqOP | Arquivos::kArqApontamento, usMesAno)) {
    return arquivos.Existe(Arquivos::kArqOP, usMesAno) ? S_OK : PPErroHResult(kPPErroMesSemOP);
  }
  if (HRESULT hr = arquivos.SetModo(usMesAno, 'L')) return hr;
  PPDiscoOP op;
  if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqOP, ulRegistroOP, &op)) return hr;
  // S_FALSE: the process was found and its reports read.
  const HRESULT hr = PPPercorreSequenciaOP<PPDiscoProcesso>(
      arquivos.m_arqProcesso, op.ulPrimeiroProcesso, op.usQtdProcessos, [&](uint32_t, const PPDiscoProcesso& processo) {
        if (processo.lPonteiroProcesso != lPonteiroProcesso) return S_OK;
        const HRESULT hrLe = LeApontamentosDoProcesso(arquivos, ulChaveOP, op, processo, cTerceirizado, 0xFFFF, pRegPS);
        return hrLe ? hrLe : S_FALSE;
      });
  return hr == S_FALSE ? S_OK : hr;
}

HRESULT CPPServidorOP::LeApontamentosDoProcesso(CPPArquivosOP& arquivos, uint32_t ulChaveOP, const PPDiscoOP& op,
                                                const PPDiscoProcesso& processo, uint8_t cTerceirizado,
                                                uint16_t usTipoLeitura, _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) {
  *pRegPS = _REG_VARMO_LISTA_OP_APONTAMENTOS{};
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChaveOP);

  // The reports of the index that pass a filter of this order and process alone.
  const _REG_VARMO_FILTRO_APONTAMENTOPS salvo = m_regFiltroApontamento;
  m_regFiltroApontamento = _REG_VARMO_FILTRO_APONTAMENTOPS{};
  m_regFiltroApontamento.lChaveOP = ulChaveOP;
  m_regFiltroApontamento.lPonteiroProcesso = processo.lPonteiroProcesso;
  m_regFiltroApontamento.cProcessoExterno = cTerceirizado;
  std::vector<uint32_t> chaves;
  HRESULT hr = PPPercorreSequenciaOP<PPDiscoListaApontamento>(
      arquivos.m_arqRA, processo.ulPrimeiroApontamento, processo.usQuantidadeApontamentos,
      [&](uint32_t, const PPDiscoListaApontamento& entrada) {
        PPDiscoApontamento apontamento;
        if (HRESULT hrLe = PPLeRegistroOP(arquivos.m_arqApontamento, entrada.ulRegistroApontamento, &apontamento))
          return hrLe;
        const uint32_t ulChave = QVMontaChave(usMesAno, entrada.ulRegistroApontamento);
        if (ConfereFiltroApontamento(ulChave, apontamento, op)) chaves.push_back(ulChave);
        return S_OK;
      });
  m_regFiltroApontamento = salvo;
  if (hr) return hr;

  _REG_VARMO_OP_APONTAMENTO* apontamentos = nullptr;
  if (HRESULT hrArray = NovoArray(static_cast<uint32_t>(chaves.size()), &apontamentos)) return hrArray;
  pRegPS->pregApontamentos = apontamentos;
  pRegPS->lQuantidade = static_cast<int32_t>(chaves.size());
  const uint16_t usTipoApontamento = TipoLeituraApontamentos(usTipoLeitura);
  for (size_t i = 0; i < chaves.size() && !hr; ++i)
    hr = LeApontamentoNoConjunto(arquivos, chaves[i], usTipoApontamento, &apontamentos[i]);
  if (hr) LiberaApontamentos(pRegPS);
  return hr;
}

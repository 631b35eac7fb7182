// Issuing: the internal requisition of a saved order's inputs, the replicas of a limited order and
// the issue of a process's labels.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "foundation/QVRelogio.h"
#include "platform/com/taskmem.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPDatas.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"

namespace {

// A requisition in this main status was cancelled: the order may ask for a new one.
constexpr uint8_t kRequisicaoCancelada = 3;
// What the order's requisition items are: products, needed for an ordinary consumption.
constexpr uint8_t kItemProduto = 'P';
constexpr uint8_t kNecessidadeComum = 1;

using Arquivos = CPPArquivosOP;

// The files of lBits of the month of an order's key, in mode 'L' or 'G'. A month without orders is
// not created: its key reads as a record past the end, as a record beyond the file's last does.
HRESULT AbreMesDaOP(Arquivos& arquivos, const CString& empresa, uint32_t ulChaveOP, uint32_t lBits, char cModo) {
  if (QVGetNumeroDaChave(ulChaveOP) == 0) return PPErroHResult(kPPErroArgumentoInvalido);
  // Without user and session: the set starts no caches of its own.
  if (HRESULT hr = arquivos.Inicializa(empresa, 0, 0)) return hr;
  arquivos.SetArquivos(lBits);
  const uint16_t mes = QVGetMesAnoDaChave(ulChaveOP);
  if (!arquivos.Existe(Arquivos::kArqOP, mes)) return PPErroHResult(kQVErroFimArquivo);
  return arquivos.SetModo(mes, cModo);
}

template <class Registro>
HRESULT Le(CPPArqEx& arquivo, uint32_t registro, Registro* destino) {
  return PPErroHResultMotor(arquivo.Le(registro, destino));
}

template <class Registro>
HRESULT Grava(CPPArqEx& arquivo, uint32_t registro, const Registro& origem) {
  return PPErroHResultMotor(arquivo.Grava(&origem, &registro));
}

// Element `indice` of a run: 1587 outside the run; a run that starts at the header or wraps past
// the last record number is damaged and reads as a record past the end.
template <class Registro>
HRESULT LeDaSequencia(CPPArqEx& arquivo, uint32_t primeiro, uint32_t quantidade, uint32_t indice,
                      Registro* destino, uint32_t* pRegistro = nullptr) {
  if (indice >= quantidade) return PPErroHResult(kPPErroArgumentoInvalido);
  if (primeiro == 0 || indice > UINT32_MAX - primeiro) return PPErroHResult(kQVErroFimArquivo);
  if (pRegistro) *pRegistro = primeiro + indice;
  return Le(arquivo, primeiro + indice, destino);
}

// Every input of the order's processes, in the order of the runs.
HRESULT LeInsumos(Arquivos& arquivos, const PPDiscoOP& ordem, std::vector<PPDiscoInsumo>* insumos) {
  for (uint32_t i = 0; i < ordem.usQtdProcessos; ++i) {
    PPDiscoProcesso processo;
    if (HRESULT hr = LeDaSequencia(arquivos.m_arqProcesso, ordem.ulPrimeiroProcesso, ordem.usQtdProcessos, i,
                                   &processo))
      return hr;
    for (uint32_t j = 0; j < processo.usQuantidadeInsumos; ++j) {
      PPDiscoInsumo insumo;
      if (HRESULT hr = LeDaSequencia(arquivos.m_arqInsumo, processo.ulPrimeiroInsumo, processo.usQuantidadeInsumos,
                                     j, &insumo))
        return hr;
      insumos->push_back(insumo);
    }
  }
  return S_OK;
}

// The size of each replica: the replenishment batch when it applies and is positive, else the
// item's programmed quantity when positive, else everything at once. Never 0 or negative, so that
// the replication always ends.
int64_t LimiteReplica(int64_t lote, int64_t programada, int64_t restante) {
  if (lote > 0) return lote;
  if (programada > 0) return programada;
  return restante;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Internal requisition of the inputs

HRESULT CPPServidorOP::GeraRequisicaoInternaOP(uint32_t ulChaveOP) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (m_regMestre.cEmitirRInaOP != 1) return S_OK;
  Arquivos arquivos;
  const uint32_t lBits = Arquivos::kArqOP | Arquivos::kArqProcesso | Arquivos::kArqInsumo;
  if (HRESULT hr = AbreMesDaOP(arquivos, m_strEmpresa, ulChaveOP, lBits, 'G')) return hr;
  const uint32_t registroOP = QVGetNumeroDaChave(ulChaveOP);
  PPDiscoOP ordem;
  if (HRESULT hr = Le(arquivos.m_arqOP, registroOP, &ordem)) return hr;
  if (ordem.cRemovido) return PPErroHResult(kPPErroRegistroRemovido);
  if (ordem.cSituacao != kSituacaoNaoIniciada || ordem.ulPonteiroRequisitante == 0) return S_OK;

  // A requisition that still stands is kept; a cancelled one is replaced.
  if (ordem.ulChaveRequisicaoInterna) {
    CPPDadosRequisicaoInterna atual;
    if (HRESULT hr = m_buffer.LeRequisicaoInterna(ordem.ulChaveRequisicaoInterna, &atual); FAILED(hr)) return hr;
    if (atual.GetStatusPrincipal() != kRequisicaoCancelada) return S_OK;
  }

  std::vector<PPDiscoInsumo> insumos;
  if (HRESULT hr = LeInsumos(arquivos, ordem, &insumos)) return hr;
  if (insumos.empty()) return S_OK;

  CPPDadosUsuario usuario;
  if (HRESULT hr = m_buffer.LeUsuario(m_usUsuario, &usuario); FAILED(hr)) return hr;
  CPPDadosRequisicaoInterna requisicao;
  requisicao.SetFilialRequisitante(ordem.usPonteiroFilial);
  requisicao.SetFilialDestino(ordem.usPonteiroFilial);
  requisicao.SetDataEmissao(QVGetDataAtual(false));
  requisicao.SetDataNecessidade(ordem.usDataPrevisaoInicio);
  requisicao.SetUsuarioRequisitante(m_usUsuario);
  requisicao.SetRequerente(static_cast<int32_t>(ordem.ulPonteiroRequisitante));
  requisicao.SetDepartamento(static_cast<int32_t>(ordem.ulPonteiroDepartamento));
  const CString textoChave = QVChaveParaTexto(ulChaveOP);
  requisicao.SetCodigo(textoChave);
  CString observacao;
  observacao.Format("OP: %s emitida por %s em %s", static_cast<const char*>(textoChave),
                    static_cast<const char*>(usuario.GetNome()),
                    static_cast<const char*>(PPFormataDataHora(ordem.usDataEmissao, ordem.usHoraEmissao)));
  requisicao.SetObservacao(observacao);

  for (const PPDiscoInsumo& insumo : insumos) {
    const _REG_POSICAO_PRODUTOPS posicao{insumo.lPonteiroProduto, insumo.iPonteiroItemGrade1,
                                         insumo.iPonteiroItemGrade2, insumo.iPonteiroItemGrade3};
    CPPDadosProduto produto;
    if (HRESULT hr = m_buffer.LeBufferProduto(static_cast<int32_t>(posicao.lPonteiroProduto), &produto, 0);
        FAILED(hr))
      return hr;
    CPPDadosRequisicaoInternaItem item;
    item.SetProdutoServico(posicao);
    item.SetQuantidade(insumo.vQuantTotalComQuebra);
    item.SetPonteiroLocalOrigem(insumo.usPonteiroLocalEstocagem);
    item.SetPonteiroLote(static_cast<uint32_t>(insumo.lPonteiroLote));
    item.SetPonteiroForLote(static_cast<uint32_t>(insumo.lPonteiroForLote));
    item.SetPonteiroForEPTETPE(static_cast<uint32_t>(insumo.lPonteiroForEPTETPE));
    item.SetPonteiroCliEPTETPE(static_cast<uint32_t>(insumo.lPonteiroCliEPTETPE));
    item.SetPonteiroUnidadeMedida(produto.GetPonteiroUnidadeMedidaEstoque());
    item.SetItemProduto(kItemProduto);
    item.SetTipoNecessidade(kNecessidadeComum);
    item.SetTipoProducao(insumo.cTipoProducao);
    requisicao.AdicionaItem(item);
  }

  uint32_t ulChaveRequisicao = 0;
  if (HRESULT hr = m_buffer.IncluiRequisicaoInterna(requisicao, &ulChaveRequisicao); FAILED(hr)) return hr;
  ordem.ulChaveRequisicaoInterna = ulChaveRequisicao;
  return Grava(arquivos.m_arqOP, registroOP, ordem);
}

// ---------------------------------------------------------------------------------------------------
// Replication of a limited order

HRESULT CPPServidorOP::ReplicaOPLimitada(const _REG_VARMO_OPPS& regPS, uint32_t ulChaveOP) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  m_chavesReplicacao.clear();
  if (regPS.usQtdItens != 1 || !regPS.pregItens) return PPErroHResult(kPPErroQtdLimitada);
  _REG_VARMO_OP_ITEMPS item = regPS.pregItens[0];
  if ((item.cTipoItem != 2 && item.cTipoItem != 3) || !item.cGerouOPQtdLimitada) return S_OK;

  // The stored emission date, which the record may leave to the clock (0): the replicas lie in the
  // month of their order, also when the save crossed midnight at the end of a month.
  uint16_t usDataEmissao = 0;
  {
    Arquivos arquivos;
    if (HRESULT hr = AbreMesDaOP(arquivos, m_strEmpresa, ulChaveOP, Arquivos::kArqOP, 'L')) return hr;
    PPDiscoOP ordem;
    if (HRESULT hr = Le(arquivos.m_arqOP, QVGetNumeroDaChave(ulChaveOP), &ordem)) return hr;
    usDataEmissao = ordem.usDataEmissao;
  }

  const int64_t programada = item.vQuantidadeProgramada.int64;
  int64_t restante = item.vQuantidadeReplicada.int64 - programada;
  int64_t lote = 0;
  if (restante > 0 && item.cTipoProdutoServico == 'P' && m_regMestre.cConsiderarLoteReposicao) {
    HRESULT hr = S_OK;
    IQVES_Movimento* movimento = GetIMovimento(&hr);
    if (!movimento) return FAILED(hr) ? hr : E_NOINTERFACE;
    CY vLote{};
    if (hr = movimento->LeLoteReposicao(item.regPosicaoProdutoServico, &vLote); FAILED(hr)) return hr;
    lote = vLote.int64;
  }
  const int64_t limite = LimiteReplica(lote, programada, restante);

  // Each replica is a plain new order of its share: no limited quantity of its own to replicate,
  // no number, key or requisition of the order it comes from.
  _REG_VARMO_OPPS copia = regPS;
  copia.lNumeroOP = 0;
  copia.ulChaveOP = 0;
  copia.lPonteiroOP = 0;
  copia.ulChaveRequisicaoInterna = 0;
  copia.cPossuiItemQtdLimitada = 0;
  copia.usDataEmissao = usDataEmissao;
  copia.pregItens = &item;
  item.cGerouOPQtdLimitada = 0;
  item.vQuantidadeReplicada.int64 = 0;
  while (restante > 0) {
    const int64_t quantidade = std::min(restante, limite);
    item.vQuantidadeProgramada.int64 = quantidade;
    item.vQuantidadeSaldo.int64 = quantidade;
    uint32_t ulChave = 0;
    if (HRESULT hr = GravaOP(0, copia, &ulChave, 0); FAILED(hr)) return hr;
    m_chavesReplicacao.push_back(ulChave);
    restante -= quantidade;
  }
  return S_OK;
}

HRESULT CPPServidorOP::BuscaChavesReplicacao(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  // The keys stay for another call when they could not be handed over.
  if (HRESULT hr = PPEntregaPonteiros(m_chavesReplicacao, pRegPS)) return hr;
  m_chavesReplicacao.clear();
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// Labels

HRESULT CPPServidorOP::EmitirEtiquetas(_REG_PP_EMITIR_ETIQUETA_OPPS reg, _REG_PP_LISTA_ETIQUETA_EMITIDAPS* pLista) {
  // 1.
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pLista) return E_POINTER;
  *pLista = _REG_PP_LISTA_ETIQUETA_EMITIDAPS{};

  // 2.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);

  // 3.
  Arquivos arquivos;
  const uint32_t lBits =
      Arquivos::kArqOP | Arquivos::kArqProcesso | Arquivos::kArqProcessoEtiqueta | Arquivos::kArqEtiquetaEmitida;
  if (HRESULT hr = AbreMesDaOP(arquivos, m_strEmpresa, reg.ulChaveOP, lBits, 'G')) return hr;
  const uint32_t registroOP = QVGetNumeroDaChave(reg.ulChaveOP);
  PPDiscoOP ordem;
  if (HRESULT hr = Le(arquivos.m_arqOP, registroOP, &ordem)) return hr;
  if (ordem.cRemovido) return PPErroHResult(kPPErroRegistroRemovido);
  if (ordem.usDataEmissao < m_regMestre.usDataInferiorPeriodo || ordem.usDataEmissao > m_regMestre.usDataSuperiorPeriodo)
    return PPErroHResult(kPPErroForaPeriodo);
  const uint8_t situacao = ordem.cSituacao;
  if (situacao == kSituacaoSuspensa || situacao == kSituacaoInterrompida || situacao == kSituacaoCancelada)
    return PPErroHResult(kPPErroSituacaoOP);

  // 4.
  PPDiscoProcesso processo;
  if (HRESULT hr = LeDaSequencia(arquivos.m_arqProcesso, ordem.ulPrimeiroProcesso, ordem.usQtdProcessos,
                                 reg.usIdxProcesso, &processo))
    return hr;
  PPDiscoEtiqueta etiqueta;
  uint32_t registroEtiqueta = 0;
  if (HRESULT hr = LeDaSequencia(arquivos.m_arqProcessoEtiqueta, processo.ulPrimeiraEtiqueta, processo.usQtdEtiquetas,
                                 reg.usIdxEtiqueta, &etiqueta, &registroEtiqueta))
    return hr;

  // 5. What is left is signed: a label issued beyond its total has none left.
  const int64_t quantidade = reg.ulQtdEtiquetas ? int64_t{reg.ulQtdEtiquetas}
                                                : int64_t{etiqueta.ulQuantidadeTotal} - etiqueta.ulQuantidadeEmitida;
  if (quantidade <= 0) return PPErroHResult(kPPErroSemEtiquetas);

  // 6. The size in 64 bits: a list larger than the address space is refused before any write.
  const uint64_t bytes = static_cast<uint64_t>(quantidade) * sizeof(_REG_PP_OP_ETIQUETA_EMITIDAPS);
  if (bytes > SIZE_MAX) return E_OUTOFMEMORY;
  auto* emitidas = static_cast<_REG_PP_OP_ETIQUETA_EMITIDAPS*>(CoTaskMemAlloc(static_cast<size_t>(bytes)));
  if (!emitidas) return E_OUTOFMEMORY;
  const uint32_t ulQuantidade = static_cast<uint32_t>(quantidade);
  const uint32_t ulLote = reg.ulTamanhoLoteEtiqueta;
  const uint16_t mes = QVGetMesAnoDaChave(reg.ulChaveOP);
  const uint16_t usData = QVGetDataAtual(false);
  const uint16_t usHora = static_cast<uint16_t>(PPHoraAtualMinutos());
  for (uint32_t i = 0; i < ulQuantidade; ++i) {
    PPDiscoEtiquetaEmitida emitida{};
    emitida.ulRegistroOP = registroOP;
    emitida.lPonteiroProcesso = processo.lPonteiroProcesso;
    emitida.usIdxProcessoEtiqueta = reg.usIdxEtiqueta;
    emitida.usPonteiroUsuario = m_usUsuario;
    emitida.usDataEmissao = usData;
    emitida.usHoraEmissao = usHora;
    emitida.ulQtdSolicitada = ulQuantidade;
    emitida.ulNrLoteEtiqueta = ulLote ? i / ulLote + 1 : 0;
    emitida.ulTamanhoLoteEtiqueta = ulLote;
    uint32_t registro = 0;
    if (int erro = arquivos.m_arqEtiquetaEmitida.Grava(&emitida, &registro)) {
      CoTaskMemFree(emitidas);
      return PPErroHResultMotor(erro);
    }
    _REG_PP_OP_ETIQUETA_EMITIDAPS saida{};
    saida.ulChaveEtiqueta = QVMontaChave(mes, registro);
    saida.ulChaveOP = reg.ulChaveOP;
    saida.ulQtdSolicitada = emitida.ulQtdSolicitada;
    saida.ulNrLoteEtiqueta = emitida.ulNrLoteEtiqueta;
    saida.ulTamanhoLoteEtiqueta = ulLote;
    saida.lPonteiroProcesso = emitida.lPonteiroProcesso;
    saida.usIdxProcessoEtiqueta = reg.usIdxEtiqueta;
    saida.usPonteiroUsuario = m_usUsuario;
    saida.usDataEmissao = usData;
    saida.usHoraEmissao = usHora;
    emitidas[i] = saida;
  }

  // 7.
  etiqueta.ulQuantidadeEmitida += ulQuantidade;
  if (HRESULT hr = Grava(arquivos.m_arqProcessoEtiqueta, registroEtiqueta, etiqueta)) {
    CoTaskMemFree(emitidas);
    return hr;
  }
  pLista->ulQuantidade = ulQuantidade;
  pLista->pregEtiquetas = emitidas;
  return S_OK;
}

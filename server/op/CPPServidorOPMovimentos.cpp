// Stock and sales-order postings of production reports: the local copy of each movement (PPME,
// its batch in PPLT) and its posting to the inventory server, the production targets fed by
// production entries, the release of a sales-order item and the requirement's quantities.
//
// Every movement that reaches the inventory server is stored in PPME with the key the server gave
// it, also when a later step fails, so that the report that lists it can reverse it. A refused
// movement is stored unposted and the run goes on; the run answers its first failure, never a
// later success over it.
#include <cstring>
#include <string>

#include "access/CPPServidores.h"
#include "access/PPLiberaRegistro.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "platform/win32/codepage.h"
#include "server/CPPArqEx.h"
#include "server/PPDatas.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

constexpr uint16_t kModuloQuemGerou = 44;   // how the inventory knows this module's movements
constexpr uint8_t kEntradaProducao = 11;    // cTipoMovimento of a production entry: it feeds the targets
constexpr uint8_t kMetaProduto = 'P';       // the targets of entries are always a product's
constexpr HRESULT kItemLiberado = 1;        // LiberaItemPedido: the sales server released (or took back)

bool TemLote(const _REG_ES_LOTEPS& lote) {
  return lote.cNumeroLote[0] != 0 || lote.iDataFabricacao != 0 || lote.iDataValidade != 0 || lote.iNumeroDias != 0;
}

// The local copy of a movement before it is posted (key, posted flag and the server's fields
// follow the posting).
PPDiscoMovimento MovimentoParaDisco(const _REG_ES_MOVIMENTOPS& movimento, uint16_t usUsuario) {
  PPDiscoMovimento disco;
  std::memset(&disco, 0, sizeof disco);
  disco.vValorTotalInsumos.int64 = movimento.vValorTotalInsumos.int64;
  disco.vValorTotalCustosDireto.int64 = movimento.vValorTotalCustosDireto.int64;
  disco.vValorTotalCustosIndireto.int64 = movimento.vValorTotalCustosIndireto.int64;
  disco.vQuantidade.int64 = movimento.vQuantidade.int64;
  disco.lPonteiroLote = movimento.lPonteiroLote;
  disco.lPonteiroVolume = movimento.lPonteiroVolume;
  disco.lPonteiroForLote = movimento.lPonteiroForLote;
  disco.lPonteiroForEPTETPE = movimento.lPonteiroForEPTETPE;
  disco.lPonteiroCliEPTETPE = movimento.lPonteiroCliEPTETPE;
  disco.lPonteiroLocalArmazenagem = movimento.iPonteiroLocalArmazenagem;
  disco.lPonteiroProduto = movimento.regPosicaoProduto.lPonteiroProduto;
  disco.iPonteiroItemGrade1 = movimento.regPosicaoProduto.iPonteiroItemGrade1;
  disco.iPonteiroItemGrade2 = movimento.regPosicaoProduto.iPonteiroItemGrade2;
  disco.iPonteiroItemGrade3 = movimento.regPosicaoProduto.iPonteiroItemGrade3;
  disco.iPonteiroFilial = movimento.iPonteiroFilial;
  disco.iDataMovimento = movimento.iDataMovimento;
  disco.iHoraMovimento = movimento.iHoraMovimento;
  disco.usPonteiroUsuarioGravacao = usUsuario;
  disco.usDataGravacao = QVGetDataAtual(false);
  disco.usHoraGravacao = static_cast<uint16_t>(PPHoraAtualMinutos());
  disco.cTipoEstoqueArmazenagem = movimento.cTipoEstoqueArmazenagem;
  disco.cTipoProducao = movimento.cTipoProducao;
  return disco;
}

PPDiscoLote LoteParaDisco(const _REG_ES_LOTEPS& lote) {
  PPDiscoLote disco;
  std::memset(&disco, 0, sizeof disco);
  PPCopiaTexto(disco.cNumeroLote, sizeof disco.cNumeroLote, PPTextoCampo(lote.cNumeroLote));
  disco.iDataFabricacao = lote.iDataFabricacao;
  disco.iDataValidade = lote.iDataValidade;
  disco.iNumeroDias = lote.iNumeroDias;
  return disco;
}

// The text with its "%s" replaced by the order key's text; the text is never a format, so a
// stray '%' in it is kept as it is.
CString TextoMovimento(const char* pszTexto, uint32_t ulChaveOP) {
  std::string texto(pszTexto ? pszTexto : "");
  const size_t marca = texto.find("%s");
  if (marca != std::string::npos) texto.replace(marca, 2, static_cast<const char*>(QVChaveParaTexto(ulChaveOP)));
  return CString(texto.c_str());
}

HRESULT AbreGravacao(CPPArqEx& arquivo, const CString& caminho, uint32_t tamanho) {
  return PPErroHResultMotor(arquivo.Abre(caminho, 'G', tamanho, true, true));
}

// Records the movement with the inventory server and reads it back: the key, the server's batch,
// volume, date and time go into the local copy, which counts as posted from the record on (also
// when the read-back fails, since the movement exists then). *pResposta the read-back, its arrays
// freed.
HRESULT PostaMovimento(IQVES_Movimento* estoque, const _REG_ES_MOVIMENTOPS& movimento, const CString& texto,
                       PPDiscoMovimento& disco, _REG_ES_MOVIMENTOPS* pResposta) {
  const BSTR bsTexto = PPEmpresaBSTR(texto);
  if (!bsTexto) return E_OUTOFMEMORY;
  uint32_t ulNumero = 0;
  HRESULT hr = estoque->GravaMovimento(0, movimento, bsTexto, &ulNumero);
  SysFreeString(bsTexto);
  if (FAILED(hr)) return hr;
  disco.ulChaveMovimento = QVMontaChave(QVDataParaMesAno(movimento.iDataMovimento), ulNumero);
  disco.cLancado = 1;
  std::memset(static_cast<void*>(pResposta), 0, sizeof *pResposta);
  hr = estoque->LeMovimento(disco.ulChaveMovimento, pResposta);
  if (FAILED(hr)) return hr;
  LiberaRegistroMovimentoES(pResposta, 0);
  disco.lPonteiroLote = pResposta->lPonteiroLote;
  disco.lPonteiroVolume = pResposta->lPonteiroVolume;
  disco.iDataMovimento = pResposta->iDataMovimento;
  disco.iHoraMovimento = pResposta->iHoraMovimento;
  return S_OK;
}

// The target that a production entry (or its reversal, with the quantity negated) moves.
_REG_PP_META_PRODUCAOPS MetaDoMovimento(const PPDiscoOP& ordem, const _REG_ES_MOVIMENTOPS& movimento,
                                        uint16_t usMesAno, int64_t quantidade) {
  _REG_PP_META_PRODUCAOPS meta;
  std::memset(&meta, 0, sizeof meta);
  meta.regKey.ulPonteiroFilial = ordem.usPonteiroFilial;
  meta.regKey.usMesAno = usMesAno;
  meta.regKey.ulPonteiroProjeto = static_cast<uint32_t>(ordem.lPonteiroColecao);
  meta.regKey.regPosicaoProdutoServico = movimento.regPosicaoProduto;
  meta.regKey.cTipoProdutoServico = kMetaProduto;
  meta.vQuantProduzida.int64 = quantidade;
  return meta;
}

}  // namespace

HRESULT CPPServidorOP::GravaMovimentosApontamento(uint16_t usQtd, const _REG_ES_MOVIMENTOPS* pRegPS,
                                                  uint16_t usMesAno, uint32_t ulChaveOP,
                                                  uint32_t ulRegistroApontamento, const char* pszTexto,
                                                  uint32_t* pulPrimeiro, uint16_t* pusGravados, uint8_t cPostar) {
  *pulPrimeiro = 0;
  *pusGravados = 0;
  if (usQtd == 0) return S_OK;
  if (HRESULT hr = PPVerificaLista(usQtd, pRegPS)) return hr;
  CPPArqEx arqMovimento;
  CPPArqEx arqLote;
  const CString caminhoMovimentos = CaminhoArquivo(PPArquivoPeriodoOP::ME, usMesAno);
  if (HRESULT hr = AbreGravacao(arqMovimento, caminhoMovimentos, sizeof(PPDiscoMovimento))) return hr;
  if (HRESULT hr = AbreGravacao(arqLote, CaminhoArquivo(PPArquivoPeriodoOP::LT, usMesAno), sizeof(PPDiscoLote)))
    return hr;
  const CString texto = TextoMovimento(pszTexto, ulChaveOP);
  HRESULT hrServidor = S_OK;
  IQVES_Movimento* estoque = cPostar ? GetIMovimento(&hrServidor) : nullptr;
  if (cPostar && !estoque && SUCCEEDED(hrServidor)) hrServidor = E_NOINTERFACE;

  // The target that a posted production entry feeds, in the month the inventory filed it under.
  auto postaMeta = [&](const _REG_ES_MOVIMENTOPS& resposta) -> HRESULT {
    if (resposta.cTipoMovimento != kEntradaProducao) return S_OK;
    PPDiscoOP ordem;
    if (HRESULT hr =
            PPLeRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::OP, usMesAno), QVGetNumeroDaChave(ulChaveOP), &ordem))
      return hr;
    return ApontaMetaProducao(
        MetaDoMovimento(ordem, resposta, QVDataParaMesAno(resposta.iDataMovimento), resposta.vQuantidade.int64));
  };
  HRESULT hrPrimeiraFalha = S_OK;
  auto primeira = [&](HRESULT hr) { return FAILED(hrPrimeiraFalha) ? hrPrimeiraFalha : hr; };
  for (uint16_t i = 0; i < usQtd; ++i) {
    _REG_ES_MOVIMENTOPS movimento = pRegPS[i];
    PPDiscoMovimento disco = MovimentoParaDisco(movimento, m_usUsuario);
    if (TemLote(movimento.regLotePS)) {
      const PPDiscoLote lote = LoteParaDisco(movimento.regLotePS);
      uint32_t ulLote = 0;
      if (int erro = arqLote.Grava(&lote, &ulLote)) return primeira(PPErroHResultMotor(erro));
      disco.ulRegistroLote = ulLote;
    }
    HRESULT hrPostagem = S_OK;
    HRESULT hrMeta = S_OK;
    if (cPostar) {
      movimento.lChaveQuemGerou = static_cast<int32_t>(ulRegistroApontamento);
      movimento.iModuloQuemGerou = kModuloQuemGerou;
      movimento.iDataQuemGerou = usMesAno;
      // The key's month is that of the movement's date: one without a date is dated today here,
      // not by the server, whose clock need not agree with the session's.
      if (movimento.iDataMovimento == 0) movimento.iDataMovimento = QVGetDataAtual(false);
      _REG_ES_MOVIMENTOPS resposta{};
      hrPostagem = estoque ? PostaMovimento(estoque, movimento, texto, disco, &resposta) : hrServidor;
      if (SUCCEEDED(hrPostagem)) hrMeta = postaMeta(resposta);
    }
    uint32_t ulRegistro = 0;
    if (int erro = arqMovimento.Grava(&disco, &ulRegistro)) return primeira(PPErroHResultMotor(erro));
    if (i == 0) *pulPrimeiro = ulRegistro;
    ++*pusGravados;
    // The movement is in stock and in PPME: only now may a failed target end the run.
    if (FAILED(hrMeta)) return primeira(hrMeta);
    if (FAILED(hrPostagem)) hrPrimeiraFalha = primeira(hrPostagem);
  }
  return hrPrimeiraFalha;
}

HRESULT CPPServidorOP::GravaBaixasApontamento(uint32_t ulRegistroApontamento, PPDiscoApontamento& apontamento,
                                              const _REG_VARMO_OP_APONTAMENTO& reg) {
  uint32_t ulPrimeiro = 0;
  uint16_t usGravados = 0;
  const HRESULT hr = GravaMovimentosApontamento(reg.usQtdMvtoEstoque, reg.pregMovimentos,
                                                QVGetMesAnoDaChave(reg.lPonteiroOP), reg.lPonteiroOP,
                                                ulRegistroApontamento, "Baixa ref. OP %s", &ulPrimeiro, &usGravados, 1);
  apontamento.ulPrimeiroEstoque = ulPrimeiro;
  apontamento.usQtdMvtoEstoque = usGravados;
  return hr;
}

// A report that leaves its entry for later (pending, type 4) stores its entries unposted; the
// pending-entry flow posts them.
HRESULT CPPServidorOP::GravaEntradasApontamento(uint32_t ulRegistroApontamento, PPDiscoApontamento& apontamento,
                                                const _REG_VARMO_OP_APONTAMENTO& reg) {
  const bool bAdiada = apontamento.cPossuiEntradaPendente == 1 && reg.cTipoApontamento == 4;
  uint32_t ulPrimeiro = 0;
  uint16_t usGravados = 0;
  const HRESULT hr = GravaMovimentosApontamento(reg.usQtdMvtoEntrada, reg.pregMvtoEntrada,
                                                QVGetMesAnoDaChave(reg.lPonteiroOP), reg.lPonteiroOP,
                                                ulRegistroApontamento, "Entrada ref. OP %s", &ulPrimeiro, &usGravados,
                                                bAdiada ? 0 : 1);
  apontamento.ulPrimeiraEntrada = ulPrimeiro;
  apontamento.usQtdMvtoEntrada = usGravados;
  return hr;
}

HRESULT CPPServidorOP::GravaRefugoApontamento(uint32_t ulRegistroApontamento, PPDiscoApontamento& apontamento,
                                              const _REG_VARMO_OP_APONTAMENTO& reg) {
  uint32_t ulPrimeiro = 0;
  uint16_t usGravados = 0;
  const HRESULT hr = GravaMovimentosApontamento(1, &reg.regMovimentoRefugo, QVGetMesAnoDaChave(reg.lPonteiroOP),
                                                reg.lPonteiroOP, ulRegistroApontamento,
                                                "Entrada de Refugo ref. OP %s", &ulPrimeiro, &usGravados, 1);
  apontamento.ulMovimentoRefugo = ulPrimeiro;
  return hr;
}

HRESULT CPPServidorOP::EstornaMovimentosApontamento(uint32_t ulChaveOP, uint32_t ulChaveMovimento) {
  bool bRemovido = false;
  return EstornaMovimentoEstoque(ulChaveOP, ulChaveMovimento, &bRemovido);
}

// The target correction of an entry comes after the inventory removed the movement: a caller that
// retries must know that the removal itself is done even when the correction failed.
HRESULT CPPServidorOP::EstornaMovimentoEstoque(uint32_t ulChaveOP, uint32_t ulChaveMovimento, bool* pbRemovido) {
  *pbRemovido = false;
  HRESULT hr = S_OK;
  IQVES_Movimento* estoque = GetIMovimento(&hr);
  if (!estoque) return FAILED(hr) ? hr : E_NOINTERFACE;
  _REG_ES_MOVIMENTOPS movimento;
  std::memset(static_cast<void*>(&movimento), 0, sizeof movimento);
  if (FAILED(hr = estoque->LeMovimento(ulChaveMovimento, &movimento))) return hr;
  LiberaRegistroMovimentoES(&movimento, 0);
  const uint16_t usMesMovimento = QVGetMesAnoDaChave(ulChaveMovimento);
  if (FAILED(hr = estoque->RemoveMovimento(QVGetNumeroDaChave(ulChaveMovimento), usMesMovimento))) return hr;
  *pbRemovido = true;
  if (movimento.cTipoMovimento != kEntradaProducao) return hr;
  PPDiscoOP ordem;
  if (HRESULT hrOrdem = PPLeRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::OP, QVGetMesAnoDaChave(ulChaveOP)),
                                      QVGetNumeroDaChave(ulChaveOP), &ordem))
    return hrOrdem;
  const int64_t quantidade = movimento.vQuantidade.int64;
  return ApontaMetaProducao(MetaDoMovimento(ordem, movimento, usMesMovimento, -quantidade));
}

// Only a report with one posted entry movement and a credited quantity asks the sales server. A
// reprocess order's report releases the item of its origin report's order. Only a positive answer
// is a release: it is the one that gets the history line and that the report records (offset 172,
// which the reversal relies on); a failure writes nothing.
HRESULT CPPServidorOP::LiberaItemPedido(uint16_t usMesAno, const PPDiscoApontamento& apontamento, uint8_t cEstorno) {
  if (apontamento.usQtdMvtoEntrada != 1 || apontamento.ulPrimeiraEntrada == 0) return S_OK;
  if (apontamento.vQuantidadeCreditadaItem.int64 == 0) return S_OK;
  PPDiscoMovimento entrada;
  if (HRESULT hr =
          PPLeRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::ME, usMesAno), apontamento.ulPrimeiraEntrada, &entrada))
    return hr;
  // Taking a release back needs no posted entry: the report's release flag is its proof, and the
  // entry may have been taken back from stock already.
  if (!entrada.cLancado && !cEstorno) return S_OK;

  uint32_t ulChaveOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
  uint32_t ulPedido = apontamento.lPonteiroPedidoNecessidade;
  uint16_t usIdxItem = apontamento.usIdxItemPedido;
  if (const uint32_t ulOrigem = apontamento.ulChaveApontamentoOPOrigem) {
    const uint16_t usMesOrigem = QVGetMesAnoDaChave(ulOrigem);
    PPDiscoApontamento origem;
    if (HRESULT hr = PPLeRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::AP, usMesOrigem), QVGetNumeroDaChave(ulOrigem),
                                   &origem))
      return hr;
    ulChaveOP = QVMontaChave(usMesOrigem, origem.ulRegistroOP);
    ulPedido = origem.lPonteiroPedidoNecessidade;
    usIdxItem = origem.usIdxItemPedido;
  }

  tagREG_LIBERA_ITEM_PEDIDOPS liberacao;
  std::memset(&liberacao, 0, sizeof liberacao);
  liberacao.vQuantidade.int64 = apontamento.vQuantidadeCreditadaItem.int64;
  liberacao.lPonteiroPedido = ulPedido;
  liberacao.ulChaveOP = ulChaveOP;
  liberacao.lPonteiroLote = entrada.lPonteiroLote;
  liberacao.lPonteiroVolume = entrada.lPonteiroVolume;
  liberacao.lPonteiroForLote = entrada.lPonteiroForLote;
  liberacao.lPonteiroCliEPTETPE = entrada.lPonteiroCliEPTETPE;
  liberacao.lPonteiroForEPTETPE = entrada.lPonteiroForEPTETPE;
  liberacao.iPonteiroLocalArmazenagem = static_cast<uint16_t>(entrada.lPonteiroLocalArmazenagem);
  liberacao.usIdxItemPedido = usIdxItem;
  liberacao.cTipoProducao = entrada.cTipoProducao;
  liberacao.cTipoEstoqueArmazenagem = entrada.cTipoEstoqueArmazenagem;
  liberacao.cEstorno = cEstorno ? 1 : 0;

  HRESULT hr = S_OK;
  IQVFT_Pedido* pedido = GetIPedido(&hr);
  if (!pedido) return FAILED(hr) ? hr : E_NOINTERFACE;
  hr = pedido->LiberaItem(1, &liberacao);
  if (hr <= 0) return hr;
  if (m_historico.EstaAberto()) {
    const char* formato = cEstorno ? "Estorno de liberação item pedido. OP: %s Pedido: %s Item: %i"_ansi
                                   : "Liberação item pedido. OP: %s Pedido: %s Item: %i"_ansi;
    m_historico.GravaLinha(kPPHistoricoInclusao, formato, static_cast<const char*>(QVChaveParaTexto(ulChaveOP)),
                           static_cast<const char*>(QVChaveParaTexto(ulPedido)), static_cast<int>(usIdxItem));
  }
  return kItemLiberado;
}

HRESULT CPPServidorOP::AtualizaNecessidadeApontamento(uint32_t ulChaveNecessidade,
                                                      const PPDiscoApontamento& apontamento, uint8_t cEstorno) {
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChaveNecessidade);
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChaveNecessidade);
  if (usMesAno == 0 || ulRegistro == 0) return PPErroHResult(kPPErroChaveAusente);
  CPPArqEx arquivo;
  if (HRESULT hr = AbreGravacao(arquivo, CaminhoArquivo(PPArquivoPeriodoOP::NC, usMesAno), sizeof(PPDiscoNecessidade)))
    return hr;
  PPDiscoNecessidade necessidade;
  if (HRESULT hr = PPLeRegistroOP(arquivo, ulRegistro, &necessidade)) return hr;
  const int64_t refugo = apontamento.vQuantidadeRefugo.int64;
  const int64_t produzida = apontamento.vQuantidadeApontada.int64 - refugo;
  const int64_t sinal = cEstorno ? -1 : 1;
  necessidade.vQtdProduzida.int64 += sinal * produzida;
  necessidade.vQtdRefugo.int64 += sinal * refugo;
  uint32_t ulRegrava = ulRegistro;
  return PPErroHResultMotor(arquivo.Grava(&necessidade, &ulRegrava));
}

HRESULT CPPServidorOP::ApontaMetaProducao(const _REG_PP_META_PRODUCAOPS& meta) {
  IQVPP_MetasProducao* metas = m_buffer.GetIMetasProducao();
  if (!metas) return m_buffer.GetHR();
  return metas->ApontarMetaProducao(meta);
}

#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "server/PPDatas.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorMetasProducao.h"

namespace {

// LePonteiros' bits for the calculation: items, processes and their reports with their movements.
constexpr uint16_t kLeituraCalculo = 72;
constexpr uint8_t kTipoProduto = 'P';
constexpr uint8_t kTipoServico = 'S';

// The month of a day number; 0 for no date.
uint16_t MesDaData(uint16_t usData) { return usData ? QVDataParaMesAno(usData) : 0; }

bool MesmaPosicao(const _REG_POSICAO_PRODUTOPS& a, const _REG_POSICAO_PRODUTOPS& b) {
  return PPChaveMapa<_REG_POSICAO_PRODUTOPS>::Igual(a, b);
}

// The orders a calculation reads, each given back to the task allocator once summed (or when the
// calculation stops).
class OrdensLidas {
 public:
  OrdensLidas() = default;
  ~OrdensLidas() {
    for (_REG_VARMO_OPPS& ordem : m_ordens) LiberaRegistroOP(&ordem, 0);
  }
  OrdensLidas(const OrdensLidas&) = delete;
  OrdensLidas& operator=(const OrdensLidas&) = delete;

  // The orders of a branch and project (0: any) that the order server lists.
  HRESULT Le(IQVPP_OP* servidor, uint32_t ulFilial, uint32_t ulProjeto) {
    _REG_VARMO_FILTROPS filtro{};
    filtro.usPonteiroFilial = static_cast<uint16_t>(ulFilial);
    filtro.lPonteiroColecao = static_cast<int32_t>(ulProjeto);
    _REG_VARMO_PONTEIROS_ULONGPS chaves{};
    HRESULT hr = servidor->BuscaPonteirosFiltro(filtro, &chaves);
    if (SUCCEEDED(hr) && chaves.lQtd > 0) {
      m_ordens.assign(chaves.lQtd, _REG_VARMO_OPPS{});
      hr = servidor->LePonteiros(chaves.lQtd, chaves.plPonteiro, m_ordens.data(), kLeituraCalculo);
    }
    CoTaskMemFree(chaves.plPonteiro);
    return FAILED(hr) ? hr : S_OK;
  }
  std::vector<_REG_VARMO_OPPS>& Ordens() { return m_ordens; }

 private:
  std::vector<_REG_VARMO_OPPS> m_ordens;
};

// The sums of a calculation: per target key, the scheduled, produced and cancelled quantities that
// the orders give for the months of the range, kept in the order their keys first appear.
class SomaMetas {
 public:
  SomaMetas(const _REG_PP_FILTRO_CALCULO_META_PRODUCAOPS& filtro, uint16_t usInicio, uint16_t usFim,
            uint32_t ulOrdens)
      : m_filtro(filtro), m_usInicio(usInicio), m_usFim(usFim) {
    m_somas.InitHashTable(CPPBufferDados::TamanhoTabelaDaContagem(ulOrdens));
  }

  void SomaOrdem(const _REG_VARMO_OPPS& ordem) {
    SomaItens(ordem);
    if (ordem.cTipoProdutoServico == kTipoProduto) SomaApontamentosProduto(ordem);
    if (ordem.cTipoProdutoServico == kTipoServico && !ordem.cOPReprocesso) SomaApontamentosServico(ordem);
  }

  const std::vector<_REG_PP_KEY_META_PRODUCAOPS>& Chaves() const { return m_chaves; }
  _REG_PP_META_PRODUCAOPS* Soma(const _REG_PP_KEY_META_PRODUCAOPS& chave) { return m_somas.Procura(chave); }

 private:
  enum Quantidade { kProgramada, kProduzida, kCancelada };

  bool NoIntervalo(uint16_t usMesAno) const { return usMesAno >= m_usInicio && usMesAno <= m_usFim; }

  // A filter that names a product takes only its own key: a contribution under another key would
  // overwrite that target with a sum that misses the contributions the filter left out.
  bool Aceita(const _REG_POSICAO_PRODUTOPS& posicao, uint8_t cTipo) const {
    if (m_filtro.regPosicaoProdutoServico.lPonteiroProduto == 0) return true;
    return cTipo == m_filtro.cTipoProdutoServico && MesmaPosicao(posicao, m_filtro.regPosicaoProdutoServico);
  }

  void Acrescenta(const _REG_VARMO_OPPS& ordem, uint16_t usMesAno, const _REG_POSICAO_PRODUTOPS& posicao,
                  uint8_t cTipo, Quantidade quantidade, int64_t valor) {
    if (!NoIntervalo(usMesAno) || !Aceita(posicao, cTipo)) return;
    _REG_PP_KEY_META_PRODUCAOPS chave{};
    chave.ulPonteiroFilial = ordem.usPonteiroFilial;
    chave.usMesAno = usMesAno;
    chave.ulPonteiroProjeto = static_cast<uint32_t>(ordem.lPonteiroColecao);
    chave.regPosicaoProdutoServico = posicao;
    chave.cTipoProdutoServico = cTipo;
    _REG_PP_META_PRODUCAOPS* soma = m_somas.Procura(chave);
    if (!soma) {
      _REG_PP_META_PRODUCAOPS nova{};
      nova.regKey = chave;
      m_somas.Guarda(chave, nova);
      m_chaves.push_back(chave);
      soma = m_somas.Procura(chave);
    }
    if (quantidade == kProgramada) soma->vQuantProgramada.int64 += valor;
    if (quantidade == kProduzida) soma->vQuantProduzida.int64 += valor;
    if (quantidade == kCancelada) soma->vQuantCancelada.int64 += valor;
  }

  // Scheduled and cancelled in the order's emission month; reprocessing items (type 4) count not.
  void SomaItens(const _REG_VARMO_OPPS& ordem) {
    const uint16_t usMesAno = MesDaData(ordem.usDataEmissao);
    for (uint16_t i = 0; ordem.pregItens && i < ordem.usQtdItens; ++i) {
      const _REG_VARMO_OP_ITEMPS& item = ordem.pregItens[i];
      if (item.cTipoItem == 4) continue;
      const _REG_POSICAO_PRODUTOPS posicao = item.regPosicaoProdutoServico;
      Acrescenta(ordem, usMesAno, posicao, item.cTipoProdutoServico, kProgramada, item.vQuantidadeProgramada.int64);
      Acrescenta(ordem, usMesAno, posicao, item.cTipoProdutoServico, kCancelada, item.vQuantidadeCancelada.int64);
    }
  }

  // A movement's quantity as produced, under its product, in the month of its date.
  void AcrescentaMovimento(const _REG_VARMO_OPPS& ordem, const _REG_ES_MOVIMENTOPS& movimento) {
    const _REG_POSICAO_PRODUTOPS posicao = movimento.regPosicaoProduto;
    Acrescenta(ordem, MesDaData(movimento.iDataMovimento), posicao, kTipoProduto, kProduzida,
               movimento.vQuantidade.int64);
  }

  // Every report of every process: its scrap entry, its production entries and the scrap entries
  // of its returns from outsourcing.
  void SomaApontamentosProduto(const _REG_VARMO_OPPS& ordem) {
    for (uint16_t p = 0; ordem.pregProcessos && p < ordem.usQtdProcessos; ++p) {
      const _REG_VARMO_OP_PROCESSOPS& processo = ordem.pregProcessos[p];
      for (uint16_t a = 0; processo.pregApontamentos && a < processo.usQuantidadeApontamentos; ++a) {
        const _REG_VARMO_OP_APONTAMENTO& apontamento = processo.pregApontamentos[a];
        if (apontamento.cPossuiRefugo) AcrescentaMovimento(ordem, apontamento.regMovimentoRefugo);
        for (uint16_t m = 0; apontamento.pregMvtoEntrada && m < apontamento.usQtdMvtoEntrada; ++m)
          AcrescentaMovimento(ordem, apontamento.pregMvtoEntrada[m]);
        for (uint16_t r = 0; apontamento.pregRetornoIndustrializacao && r < apontamento.usQtdRetornoIndustExt; ++r) {
          const _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& retorno = apontamento.pregRetornoIndustrializacao[r];
          if (retorno.cPossuiRefugo) AcrescentaMovimento(ordem, retorno.regMovimentoRefugo);
        }
      }
    }
  }

  // The last process's reports, by recording month, to the first item they were reported for.
  void SomaApontamentosServico(const _REG_VARMO_OPPS& ordem) {
    if (!ordem.pregProcessos || ordem.usQtdProcessos == 0) return;
    const _REG_VARMO_OP_PROCESSOPS& ultimo = ordem.pregProcessos[ordem.usQtdProcessos - 1];
    for (uint16_t a = 0; ultimo.pregApontamentos && a < ultimo.usQuantidadeApontamentos; ++a) {
      const _REG_VARMO_OP_APONTAMENTO& apontamento = ultimo.pregApontamentos[a];
      const _REG_VARMO_OP_ITEMPS* item = ItemDoApontamento(ordem, apontamento);
      if (!item) continue;
      const _REG_POSICAO_PRODUTOPS posicao = item->regPosicaoProdutoServico;
      Acrescenta(ordem, MesDaData(apontamento.usDataGravacao), posicao, item->cTipoProdutoServico, kProduzida,
                 apontamento.vQuantidadeApontada.int64);
    }
  }

  static const _REG_VARMO_OP_ITEMPS* ItemDoApontamento(const _REG_VARMO_OPPS& ordem,
                                                      const _REG_VARMO_OP_APONTAMENTO& apontamento) {
    for (uint16_t i = 0; ordem.pregItens && i < ordem.usQtdItens; ++i) {
      const _REG_VARMO_OP_ITEMPS& item = ordem.pregItens[i];
      if (item.cTipoItem == apontamento.cTipoItem && item.lPonteiroPedidoNecessidade == apontamento.lPonteiroPedidoNecessidade &&
          item.usIdxItemPedido == apontamento.usIdxItemPedido &&
          item.ulChaveApontamentoOPOrigem == apontamento.ulChaveApontamentoOPOrigem)
        return &item;
    }
    return nullptr;
  }

  _REG_PP_FILTRO_CALCULO_META_PRODUCAOPS m_filtro;
  uint16_t m_usInicio;
  uint16_t m_usFim;
  PPMapaBuffer<_REG_PP_KEY_META_PRODUCAOPS, _REG_PP_META_PRODUCAOPS> m_somas;
  std::vector<_REG_PP_KEY_META_PRODUCAOPS> m_chaves;
};

// A live target's match to a replication key: month, branch and project, each only when the key sets it.
bool ConfereReplicacao(const _REG_PP_KEY_META_PRODUCAOPS& chave, const PPRegistroMetaProducao& disco) {
  if (chave.usMesAno && disco.usMesAno != chave.usMesAno) return false;
  if (chave.ulPonteiroFilial && disco.ulPonteiroFilial != chave.ulPonteiroFilial) return false;
  return !chave.ulPonteiroProjeto || disco.ulPonteiroProjeto == chave.ulPonteiroProjeto;
}

}  // namespace

HRESULT CPPServidorMetasProducao::CalcularMetasProducao(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS regFiltro) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  // 1. The order family's lock before the targets' own: reporting holds 29 when it posts a target
  // (and so takes 14), so the other order would leave each waiting for the other.
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, nullptr)) return hr;
  CQVArqMarca marcaOP;
  if (int erro = marcaOP.Marca(arquivos.GetDiretorio(), kPPMarcaOP)) return PPErroHResultMotor(erro);
  CQVArqMarca marcaMetas;
  if (int erro = marcaMetas.Marca(arquivos.GetDiretorio(), kPPMarcaMetas)) return PPErroHResultMotor(erro);
  // 2.
  IQVPP_OP* servidorOP = GetIOP();
  if (!servidorOP) return GetHR();
  // 3.
  uint16_t usInicio = 0, usFim = 0;
  if (HRESULT hr = FaixaMeses(regFiltro.usMesAnoInicio, regFiltro.usMesAnoFim, &usInicio, &usFim)) return hr;
  // 4.
  OrdensLidas ordens;
  if (HRESULT hr = ordens.Le(servidorOP, regFiltro.ulPonteiroFilial, regFiltro.ulPonteiroProjeto)) return hr;
  SomaMetas somas(regFiltro, usInicio, usFim, static_cast<uint32_t>(ordens.Ordens().size()));
  for (_REG_VARMO_OPPS& ordem : ordens.Ordens()) {
    somas.SomaOrdem(ordem);
    LiberaRegistroOP(&ordem, 0);
  }
  // 5. and 6.
  for (const _REG_PP_KEY_META_PRODUCAOPS& chave : somas.Chaves())
    if (HRESULT hr = GravaSoma(arquivos, *somas.Soma(chave))) return hr;
  return arquivos.Fecha();
}

HRESULT CPPServidorMetasProducao::GravaSoma(Arquivos& arquivos, const _REG_PP_META_PRODUCAOPS& soma) {
  if (HRESULT hr = AbreMes(arquivos, soma.regKey.usMesAno, 'G', true)) return hr;
  CPPArqEx& arquivo = arquivos.m_arqMetasProducao;
  uint32_t ulRegistro = 0;
  PPRegistroMetaProducao disco{};
  if (HRESULT hr = ProcuraMeta(arquivo, soma.regKey, 0, &ulRegistro, &disco)) return hr;
  if (ulRegistro == 0) {
    disco = MetaParaDisco(soma);
    disco.ulPonteiroUsuario = GetUsuario();
    disco.usDataInclusao = disco.usDataAlteracao = QVGetDataAtual(false);
  }
  disco.vQuantProgramada.int64 = soma.vQuantProgramada.int64;
  disco.vQuantProduzida.int64 = soma.vQuantProduzida.int64;
  disco.vQuantCancelada.int64 = soma.vQuantCancelada.int64;
  return PPErroHResultMotor(arquivo.Grava(&disco, &ulRegistro));
}

HRESULT CPPServidorMetasProducao::ApontarMetaProducao(_REG_PP_META_PRODUCAOPS regPS) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  Arquivos arquivos;
  CQVArqMarca marca;
  if (HRESULT hr = AbreArquivos(arquivos, &marca)) return hr;
  const uint16_t usMesAno = regPS.regKey.usMesAno;
  if (HRESULT hr = VerificaMesAberto(usMesAno)) return hr;
  // A month without targets has none to post to; opening it would create its file.
  if (!arquivos.Existe(Arquivos::kArqMetasProducao, usMesAno)) return S_OK;
  if (HRESULT hr = AbreMes(arquivos, usMesAno, 'G', false)) return hr;
  CPPArqEx& arquivo = arquivos.m_arqMetasProducao;
  uint32_t ulRegistro = 0;
  PPRegistroMetaProducao disco{};
  if (HRESULT hr = ProcuraMeta(arquivo, regPS.regKey, 0, &ulRegistro, &disco)) return hr;
  if (ulRegistro == 0) return S_OK;
  auto soma = [](int64_t armazenada, int64_t incremento) {
    const int64_t resultado = armazenada + incremento;
    return resultado < 0 ? 0 : resultado;
  };
  disco.vQuantProgramada.int64 = soma(disco.vQuantProgramada.int64, regPS.vQuantProgramada.int64);
  disco.vQuantProduzida.int64 = soma(disco.vQuantProduzida.int64, regPS.vQuantProduzida.int64);
  disco.vQuantCancelada.int64 = soma(disco.vQuantCancelada.int64, regPS.vQuantCancelada.int64);
  if (int erro = arquivo.Grava(&disco, &ulRegistro)) return PPErroHResultMotor(erro);
  return arquivos.Fecha();
}

HRESULT CPPServidorMetasProducao::ReplicarMetasProducao(_REG_PP_REPLICAR_META_PRODUCAOPS regPS) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  _REG_PP_KEY_META_PRODUCAOPS origem = regPS.regKeyOrigem;
  _REG_PP_KEY_META_PRODUCAOPS destino = regPS.regKeyDestino;
  // 2. The copy always covers every product and service of the month.
  origem.regPosicaoProdutoServico = {};
  destino.regPosicaoProdutoServico = {};
  std::vector<PPRegistroMetaProducao> copias;
  // 1. to 5., under lock 14; the calculations below take their own locks.
  if (HRESULT hr = CopiaMetas(origem, destino, &copias)) return hr;
  // 7. The history of what is written already, before the calculations that may fail.
  if (m_historico.EstaAberto()) {
    m_historico.GravaLinha(kPPHistoricoInclusao,
                           "Replicar Meta de Produção. Origem: Mês/Ano: %s, Filial: %i, Projeto: %i - Destino: "
                           "Mês/Ano: %s, Filial: %i, Projeto: %i"_ansi,
                           static_cast<const char*>(PPFormataMesAno(origem.usMesAno, false)),
                           static_cast<int>(origem.ulPonteiroFilial), static_cast<int>(origem.ulPonteiroProjeto),
                           static_cast<const char*>(PPFormataMesAno(destino.usMesAno, false)),
                           static_cast<int>(destino.ulPonteiroFilial), static_cast<int>(destino.ulPonteiroProjeto));
  }
  // 6. The new targets get their scheduled, produced and cancelled quantities from the orders.
  for (const PPRegistroMetaProducao& copia : copias) {
    _REG_PP_FILTRO_CALCULO_META_PRODUCAOPS filtro{};
    filtro.usMesAnoInicio = filtro.usMesAnoFim = copia.usMesAno;
    filtro.ulPonteiroFilial = copia.ulPonteiroFilial;
    filtro.ulPonteiroProjeto = copia.ulPonteiroProjeto;
    filtro.regPosicaoProdutoServico = copia.regPosicaoProdutoServico;
    filtro.cTipoProdutoServico = copia.cTipoProdutoServico;
    if (HRESULT hr = CalcularMetasProducao(filtro)) return hr;
  }
  return S_OK;
}

HRESULT CPPServidorMetasProducao::CopiaMetas(const _REG_PP_KEY_META_PRODUCAOPS& origem,
                                             const _REG_PP_KEY_META_PRODUCAOPS& destino,
                                             std::vector<PPRegistroMetaProducao>* pCopias) {
  // 1.
  Arquivos arquivos;
  CQVArqMarca marca;
  if (HRESULT hr = AbreArquivos(arquivos, &marca)) return hr;
  if (HRESULT hr = VerificaMesAberto(destino.usMesAno)) return hr;
  // 3.
  if (!arquivos.Existe(Arquivos::kArqMetasProducao, origem.usMesAno)) return PPErroHResult(kPPErroMetaSemOrigem);
  std::vector<PPRegistroMetaProducao> coletadas;
  if (HRESULT hr = ColetaMetas(arquivos, origem, &coletadas)) return hr;
  if (coletadas.empty()) return PPErroHResult(kPPErroMetaSemOrigem);
  // 4.
  const uint16_t usHoje = QVGetDataAtual(false);
  if (HRESULT hr = AbreMes(arquivos, destino.usMesAno, 'G', true)) return hr;
  CPPArqEx& arquivo = arquivos.m_arqMetasProducao;
  HRESULT hrRemove = S_OK;
  const HRESULT hrPercorre = PercorreMetas(arquivo, [&](uint32_t ulRegistro, PPRegistroMetaProducao disco) {
    if (!ConfereReplicacao(destino, disco)) return true;
    disco.ulPonteiroUsuario = GetUsuario();
    disco.usDataAlteracao = usHoje;
    disco.cRemovido = 1;
    hrRemove = PPErroHResultMotor(arquivo.Grava(&disco, &ulRegistro));
    return hrRemove == S_OK;
  });
  if (FAILED(hrPercorre) || FAILED(hrRemove)) return FAILED(hrPercorre) ? hrPercorre : hrRemove;
  // 5. Copies that come to share a key (an origin of every branch onto one branch) make one
  // target: two live targets of one key would leave the second out of every posting.
  for (const PPRegistroMetaProducao& coletada : coletadas) {
    PPRegistroMetaProducao copia{};
    copia.vQuantPretendida.int64 = coletada.vQuantPretendida.int64;
    copia.ulPonteiroProjeto = destino.ulPonteiroProjeto ? destino.ulPonteiroProjeto : coletada.ulPonteiroProjeto;
    copia.regPosicaoProdutoServico = coletada.regPosicaoProdutoServico;
    copia.ulPonteiroFilial = destino.ulPonteiroFilial ? destino.ulPonteiroFilial : coletada.ulPonteiroFilial;
    copia.usMesAno = destino.usMesAno;
    copia.ulPonteiroUsuario = GetUsuario();
    copia.usDataInclusao = copia.usDataAlteracao = usHoje;
    copia.cTipoProdutoServico = coletada.cTipoProdutoServico;
    if (HRESULT hr = AcrescentaCopia(arquivo, copia, pCopias)) return hr;
  }
  // 6.
  return arquivos.Fecha();
}

HRESULT CPPServidorMetasProducao::ColetaMetas(Arquivos& arquivos, const _REG_PP_KEY_META_PRODUCAOPS& origem,
                                              std::vector<PPRegistroMetaProducao>* pColetadas) {
  if (HRESULT hr = AbreMes(arquivos, origem.usMesAno, 'L', false)) return hr;
  return PercorreMetas(arquivos.m_arqMetasProducao, [&](uint32_t, const PPRegistroMetaProducao& disco) {
    if (ConfereReplicacao(origem, disco)) pColetadas->push_back(disco);
    return true;
  });
}

HRESULT CPPServidorMetasProducao::AcrescentaCopia(CPPArqEx& arquivo, const PPRegistroMetaProducao& copia,
                                                  std::vector<PPRegistroMetaProducao>* pCopias) {
  const _REG_PP_KEY_META_PRODUCAOPS chave = ChaveDoDisco(copia);
  uint32_t ulRegistro = 0;
  PPRegistroMetaProducao disco{};
  if (HRESULT hr = ProcuraMeta(arquivo, chave, 0, &ulRegistro, &disco)) return hr;
  if (ulRegistro == 0) {
    pCopias->push_back(copia);
    return PPErroHResultMotor(arquivo.Grava(&copia, &ulRegistro));
  }
  disco.vQuantPretendida.int64 += copia.vQuantPretendida.int64;
  return PPErroHResultMotor(arquivo.Grava(&disco, &ulRegistro));
}

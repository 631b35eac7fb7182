// Report queries: keys and lists of reports chosen by the report filter, resource summaries,
// resource use in a time window and batch tracing. Every query only reads and takes no lock; the
// arrays it hands out come from the task allocator and belong to the caller.
#include "server/op/CPPServidorOP.h"

#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/CQVDataHora.h"
#include "foundation/QVChave.h"
#include "model/CPPDadosRecurso.h"
#include "platform/com/taskmem.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;

// The filtered scans read the orders and their reports.
constexpr uint32_t kArquivosBusca = Arquivos::kArqOP | Arquivos::kArqApontamento;
// The resource summaries also read the resource reports with their operations' entries, and the
// texts of the details, which lie in PPIE.
constexpr uint32_t kArquivosResumos =
    kArquivosBusca | Arquivos::kArqApontamentoRecurso | Arquivos::kArqAO | Arquivos::kArqIE;
constexpr uint32_t kArquivosRecursoPeriodo = Arquivos::kArqApontamento | Arquivos::kArqApontamentoRecurso;
constexpr uint32_t kArquivosLote =
    kArquivosBusca | Arquivos::kArqMovtoApontamento | Arquivos::kArqLoteMovimento | Arquivos::kArqRetornoIndExterna;

// The operation types that bits 0x1, 0x2 and 0x4 of the resource filter admit.
constexpr char kTiposOperacao[] = {'O', 'P', 'S'};

// visita(record number, report) for every report of the month open in arquivos, removed ones too.
template <class Visita>
HRESULT PercorreRegistrosApontamento(Arquivos& arquivos, Visita visita) {
  const int32_t quantidade = arquivos.m_arqApontamento.GetQuantidadeRegistros();
  if (quantidade < 0) return PPErroHResult(kQVErroArquivo);
  return PPPercorreSequenciaOP<PPDiscoApontamento>(
      arquivos.m_arqApontamento, 1, static_cast<uint32_t>(quantidade),
      [&](uint32_t i, const PPDiscoApontamento& apontamento) { return visita(i + 1, apontamento); });
}

// visita(set, month) for every month a day number can fall in whose files lBitsExistem all exist,
// in ascending order, each opened read-only; an answer other than S_OK ends the walk with itself.
template <class Visita>
HRESULT PercorreTodosMeses(Arquivos& arquivos, uint32_t lBitsExistem, Visita visita) {
  for (uint32_t mes = PPPrimeiroMesOP(); mes <= PPUltimoMesOP(); ++mes) {
    const auto usMesAno = static_cast<uint16_t>(mes);
    if (!arquivos.Existe(lBitsExistem, usMesAno)) continue;
    if (HRESULT hr = arquivos.SetModo(usMesAno, 'L')) return hr;
    if (HRESULT hr = visita(arquivos, usMesAno); hr != S_OK) return hr;
  }
  return S_OK;
}

// The summaries into a new array of the list; none for an empty list.
HRESULT EntregaResumos(const std::vector<_REG_PP_RESUMO_APONTAMENTO_RECURSOPS>& resumos,
                       _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS* pRegPS) {
  if (resumos.empty()) return S_OK;
  const size_t tamanho = resumos.size() * sizeof(_REG_PP_RESUMO_APONTAMENTO_RECURSOPS);
  auto* array = static_cast<_REG_PP_RESUMO_APONTAMENTO_RECURSOPS*>(CoTaskMemAlloc(tamanho));
  if (!array) return E_OUTOFMEMORY;
  std::memcpy(static_cast<void*>(array), resumos.data(), tamanho);
  pRegPS->pRegListaPS = array;
  pRegPS->ulQuantidade = static_cast<uint32_t>(resumos.size());
  return S_OK;
}

// A summary's fields from one operation of a resource report, its four lists taken over from the
// operation (which keeps none of them).
void TomaOperacao(_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao, _REG_PP_RESUMO_APONTAMENTO_RECURSOPS& resumo) {
  resumo.ulPonteiroOperacaoProducao = operacao.ulPonteiroOperacaoProducao;
  resumo.usDataApontamentoInicial = operacao.usDataApontamentoInicial;
  resumo.usHoraApontamentoInicial = operacao.usHoraApontamentoInicial;
  resumo.usDataApontamentoFinal = operacao.usDataApontamentoFinal;
  resumo.usHoraApontamentoFinal = operacao.usHoraApontamentoFinal;
  resumo.cApontaContador = operacao.cApontaContador;
  resumo.cApontaQuantidade = operacao.cApontaQuantidade;
  resumo.cApontaIntervalo = operacao.cApontaIntervalo;
  resumo.cApontaDetalhe = operacao.cApontaDetalhe;
  resumo.usQuantApontamentoContador = operacao.usQuantApontamentoContador;
  resumo.pregContadores = operacao.pregContadores;
  resumo.usQuantApontamentoQuantidade = operacao.usQuantApontamentoQuantidade;
  resumo.pregQuantidades = operacao.pregQuantidades;
  resumo.usQuantApontamentoIntervalo = operacao.usQuantApontamentoIntervalo;
  resumo.pregIntervalos = operacao.pregIntervalos;
  resumo.usQuantApontamentoDetalhe = operacao.usQuantApontamentoDetalhe;
  resumo.pregDetalhes = operacao.pregDetalhes;
  operacao.pregContadores = nullptr;
  operacao.pregQuantidades = nullptr;
  operacao.pregIntervalos = nullptr;
  operacao.pregDetalhes = nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Reports chosen by the report filter

HRESULT CPPServidorOP::BuscaChavesApontamento(CPPArquivosOP* arquivos, std::vector<uint32_t>& chaves) {
  return PercorreMesesApontamento(
      arquivos, kArquivosBusca, m_regFiltroApontamento.lChaveOP, [&](CPPArquivosOP& mes, uint16_t) {
        return PercorreApontamentosMes(mes, [&](uint32_t ulChave, const PPDiscoApontamento&, const PPDiscoOP&) {
          chaves.push_back(ulChave);
          return S_OK;
        });
      });
}

HRESULT CPPServidorOP::BuscaPonteirosApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS RegPS,
                                                 _REG_VARMO_PONTEIROS_ULONGPS* pRegPS, CPPArquivosOP* arquivos) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  *pRegPS = _REG_VARMO_PONTEIROS_ULONGPS{};
  // The given filter serves this search only; the stored one comes back whatever happens.
  const _REG_VARMO_FILTRO_APONTAMENTOPS salvo = m_regFiltroApontamento;
  m_regFiltroApontamento = RegPS;
  std::vector<uint32_t> chaves;
  const HRESULT hr = BuscaChavesApontamento(arquivos, chaves);
  m_regFiltroApontamento = salvo;
  if (hr) return hr;
  return PPEntregaPonteiros(chaves, pRegPS);
}

HRESULT CPPServidorOP::BuscaApontamentos(_REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS, CPPArquivosOP* arquivos,
                                         uint16_t usTipoLeitura) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  *pRegPS = _REG_VARMO_LISTA_OP_APONTAMENTOS{};
  std::vector<uint32_t> chaves;
  if (HRESULT hr = BuscaChavesApontamento(arquivos, chaves)) return hr;
  if (chaves.empty()) return S_OK;
  const size_t tamanho = chaves.size() * sizeof(_REG_VARMO_OP_APONTAMENTO);
  auto* apontamentos = static_cast<_REG_VARMO_OP_APONTAMENTO*>(CoTaskMemAlloc(tamanho));
  if (!apontamentos) return E_OUTOFMEMORY;
  std::memset(static_cast<void*>(apontamentos), 0, tamanho);
  // The array is the caller's from here: on a failure part way it frees what was read.
  pRegPS->pregApontamentos = apontamentos;
  pRegPS->lQuantidade = static_cast<int32_t>(chaves.size());
  return LePonteirosApontamento(static_cast<uint32_t>(chaves.size()), chaves.data(), apontamentos, arquivos,
                                TipoLeituraApontamentos(usTipoLeitura));
}

// ---------------------------------------------------------------------------------------------------
// Resource reports

HRESULT CPPServidorOP::BuscaApontamentosRecursos(_REG_PP_FILTRO_APONTAMENTO_RECURSOPS regFiltro,
                                                 _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  *pRegPS = _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS{};
  std::vector<_REG_PP_RESUMO_APONTAMENTO_RECURSOPS> resumos;
  HRESULT hr = PercorreMesesApontamento(nullptr, kArquivosResumos, 0, [&](CPPArquivosOP& arquivos, uint16_t) {
    return ResumeApontamentosRecursosMes(arquivos, regFiltro, resumos);
  });
  if (hr == S_OK) hr = EntregaResumos(resumos, pRegPS);
  if (hr) {
    for (_REG_PP_RESUMO_APONTAMENTO_RECURSOPS& resumo : resumos) LiberaRegistroResumoApontamentoRecurso(&resumo, 0);
  }
  return hr;
}

HRESULT CPPServidorOP::ResumeApontamentosRecursosMes(CPPArquivosOP& arquivos,
                                                     const _REG_PP_FILTRO_APONTAMENTO_RECURSOPS& filtro,
                                                     std::vector<_REG_PP_RESUMO_APONTAMENTO_RECURSOPS>& resumos) {
  const uint16_t usMesAno = arquivos.GetPeriodo();
  return PercorreRegistrosApontamento(arquivos, [&](uint32_t registro, const PPDiscoApontamento& apontamento) {
    if (apontamento.cExcluido || apontamento.usQtdRecursos == 0) return S_OK;
    PPDiscoOP op;
    if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqOP, apontamento.ulRegistroOP, &op)) return hr;
    _REG_PP_RESUMO_APONTAMENTO_RECURSOPS base{};
    base.ulChaveOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
    base.ulChaveApontamento = QVMontaChave(usMesAno, registro);
    base.ulPonteiroProjeto = static_cast<uint32_t>(op.lPonteiroColecao);
    base.usPonteiroFilial = op.usPonteiroFilial;
    base.ulPonteiroProcesso = static_cast<uint32_t>(apontamento.lPonteiroProcesso);
    base.ulPonteiroSuplementoInfo1 = static_cast<uint32_t>(apontamento.lPonteiroSuplementoInfo1);
    base.ulPonteiroSuplementoInfo2 = static_cast<uint32_t>(apontamento.lPonteiroSuplementoInfo2);
    base.ulPonteiroSuplementoInfo3 = static_cast<uint32_t>(apontamento.lPonteiroSuplementoInfo3);
    return PPPercorreSequenciaOP<PPDiscoApontamentoRecurso>(
        arquivos.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecurso, apontamento.usQtdRecursos,
        [&](const PPDiscoApontamentoRecurso& recurso) {
          return ResumeApontamentoRecurso(arquivos, filtro, base, recurso, resumos);
        });
  });
}

HRESULT CPPServidorOP::ResumeApontamentoRecurso(CPPArquivosOP& arquivos,
                                                const _REG_PP_FILTRO_APONTAMENTO_RECURSOPS& filtro,
                                                _REG_PP_RESUMO_APONTAMENTO_RECURSOPS base,
                                                const PPDiscoApontamentoRecurso& disco,
                                                std::vector<_REG_PP_RESUMO_APONTAMENTO_RECURSOPS>& resumos) {
  CPPDadosRecurso dadosRecurso;
  if (HRESULT hr = m_buffer.LeBufferRecurso(disco.lPonteiroRecurso, &dadosRecurso, 0); FAILED(hr)) return hr;
  base.ulPonteiroRecurso = static_cast<uint32_t>(disco.lPonteiroRecurso);
  base.ulPonteiroTipoRecurso = dadosRecurso.GetPonteiroTipoRecurso();
  // The operations with their lists as the resource readers build them; each summary takes its
  // operation's lists, and what is left goes back with the resource.
  _REG_PP_APONTAMENTO_RECURSOPS recurso{};
  HRESULT hr = LeOperacoesApontamentoRecurso(arquivos, disco, &recurso);
  for (uint16_t i = 0; hr == S_OK && i < recurso.usQuantidadeApontamentoOperacao; ++i) {
    _REG_PP_RESUMO_APONTAMENTO_RECURSOPS resumo = base;
    TomaOperacao(recurso.pregOperacoes[i], resumo);
    uint8_t cTipo = 0;
    hr = TipoOperacao(resumo.ulPonteiroOperacaoProducao, &cTipo);
    resumo.cTipoOperacaoProducao = cTipo;
    if (hr == S_OK && ConfereFiltroApontamentoRecurso(filtro, resumo)) {
      resumos.push_back(resumo);
    } else {
      LiberaRegistroResumoApontamentoRecurso(&resumo, 0);
    }
  }
  LiberaRegistroApontamentoRecurso(&recurso, 0);
  return hr;
}

bool CPPServidorOP::ConfereFiltroApontamentoRecurso(const _REG_PP_FILTRO_APONTAMENTO_RECURSOPS& filtro,
                                                    const _REG_PP_RESUMO_APONTAMENTO_RECURSOPS& resumo) {
  const auto passa = [](uint32_t condicao, uint32_t valor) { return condicao == 0 || condicao == valor; };
  if (!passa(filtro.ulPonteiroRecurso, resumo.ulPonteiroRecurso)) return false;
  if (!passa(filtro.ulPonteiroTipoRecurso, resumo.ulPonteiroTipoRecurso)) return false;
  if (!passa(filtro.ulPonteiroProjeto, resumo.ulPonteiroProjeto)) return false;
  if (!passa(filtro.ulPonteiroProcesso, resumo.ulPonteiroProcesso)) return false;
  if (!passa(filtro.ulPonteiroOperacaoProducao, resumo.ulPonteiroOperacaoProducao)) return false;
  if (!passa(filtro.ulPonteiroSuplemento1, resumo.ulPonteiroSuplementoInfo1)) return false;
  if (!passa(filtro.ulPonteiroSuplemento2, resumo.ulPonteiroSuplementoInfo2)) return false;
  if (!passa(filtro.ulPonteiroSuplemento3, resumo.ulPonteiroSuplementoInfo3)) return false;
  if (!passa(filtro.usPonteiroFilial, resumo.usPonteiroFilial)) return false;
  if (filtro.usDataApontamentoRecursoInicio && resumo.usDataApontamentoInicial < filtro.usDataApontamentoRecursoInicio)
    return false;
  if (filtro.usDataApontamentoRecursoFim && resumo.usDataApontamentoFinal > filtro.usDataApontamentoRecursoFim)
    return false;
  if (filtro.cTipoOperacaoProducao == 0) return true;
  for (size_t i = 0; i < sizeof kTiposOperacao; ++i) {
    if ((filtro.cTipoOperacaoProducao & (1u << i)) && resumo.cTipoOperacaoProducao == kTiposOperacao[i]) return true;
  }
  return false;
}

HRESULT CPPServidorOP::BuscaApontamentosRecursoPeriodo(_REG_PP_DISPONIBILIDADE_RECURSOPS regDisponibilidade,
                                                       _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  *pRegPS = _REG_VARMO_PONTEIROS_ULONGPS{};
  const _REG_PP_DISPONIBILIDADE_RECURSOPS& d = regDisponibilidade;
  const CQVPeriodo periodo(CQVDataHora(d.usDataInicioPeriodo, d.usHoraInicioPeriodo),
                           CQVDataHora(d.usDataFimPeriodo, d.usHoraFimPeriodo));
  const auto lPonteiroRecurso = static_cast<int32_t>(d.ulPonteiroRecurso);
  CPPArquivosOP arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(kArquivosRecursoPeriodo);
  // Every month of the files, not the open period only; removed reports held the resource too.
  std::vector<uint32_t> chaves;
  const HRESULT hr = PercorreTodosMeses(arquivos, kArquivosRecursoPeriodo, [&](CPPArquivosOP& mes, uint16_t usMesAno) {
    return PercorreRegistrosApontamento(mes, [&](uint32_t registro, const PPDiscoApontamento& apontamento) {
      if (apontamento.usQtdRecursos == 0 || apontamento.cTipoOperacao != 'O') return S_OK;
      const CQVPeriodo doApontamento(
          CQVDataHora(apontamento.usDataApontamentoInicio, apontamento.usHoraApontamentoInicio),
          CQVDataHora(apontamento.usDataApontamentoFim, apontamento.usHoraApontamentoFim));
      if (!periodo.Intersecta(doApontamento)) return S_OK;
      // S_FALSE: the resource is among the report's, which is listed once.
      const HRESULT hrRecursos = PPPercorreSequenciaOP<PPDiscoApontamentoRecurso>(
          mes.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecurso, apontamento.usQtdRecursos,
          [&](const PPDiscoApontamentoRecurso& recurso) {
            return recurso.lPonteiroRecurso == lPonteiroRecurso ? S_FALSE : S_OK;
          });
      if (hrRecursos == S_FALSE) chaves.push_back(QVMontaChave(usMesAno, registro));
      return hrRecursos == S_FALSE ? S_OK : hrRecursos;
    });
  });
  if (hr) return hr;
  return PPEntregaPonteiros(chaves, pRegPS);
}

// ---------------------------------------------------------------------------------------------------
// Batch tracing

HRESULT CPPServidorOP::BuscaOPGeradoraDaEntrada(_REG_PP_ENTRADA_PRODUCAOPS regEntrada,
                                                _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  return BuscaOPsDoLote(regEntrada, ConfereEntradasGeradas, pRegPS);
}

HRESULT CPPServidorOP::BuscaOPConsumidoraInsumo(_REG_PP_ENTRADA_PRODUCAOPS regEntrada,
                                                _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  return BuscaOPsDoLote(regEntrada, ConfereInsumosConsumidos, pRegPS);
}

HRESULT CPPServidorOP::BuscaOPsDoLote(const _REG_PP_ENTRADA_PRODUCAOPS& entrada, PPConfereApontamentoLote confere,
                                      _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  *pRegPS = _REG_VARMO_PONTEIROS_ULONGPS{};
  CPPArquivosOP arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(kArquivosLote);
  std::vector<uint32_t> ordens;
  std::unordered_set<uint32_t> vistas;
  const HRESULT hr = PercorreTodosMeses(arquivos, Arquivos::kArqApontamento, [&](CPPArquivosOP& mes, uint16_t usMesAno) {
    return PercorreApontamentosMes(mes, [&](uint32_t, const PPDiscoApontamento& apontamento, const PPDiscoOP&) {
      const HRESULT hrConfere = confere(mes, entrada, apontamento);
      if (hrConfere != S_FALSE) return hrConfere;
      const uint32_t ulChaveOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
      if (vistas.insert(ulChaveOP).second) ordens.push_back(ulChaveOP);
      return S_OK;
    });
  });
  if (hr) return hr;
  return PPEntregaPonteiros(ordens, pRegPS);
}

HRESULT CPPServidorOP::ConfereEntradasGeradas(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                              const PPDiscoApontamento& apontamento) {
  if (apontamento.cTipoProducao == 1 && !apontamento.usQtdMvtoEntrada && !apontamento.ulMovimentoRefugo) return S_OK;
  // A pending entry's movements have not reached the stock.
  if (!apontamento.cPossuiEntradaPendente) {
    const HRESULT hr =
        ConfereSequenciaEntrada(arquivos, entrada, apontamento.ulPrimeiraEntrada, apontamento.usQtdMvtoEntrada, true);
    if (hr != S_OK) return hr;
  }
  if (apontamento.ulMovimentoRefugo) {
    if (HRESULT hr = ConfereRegistroEntrada(arquivos, entrada, apontamento.ulMovimentoRefugo); hr != S_OK) return hr;
  }
  if (apontamento.cTipoProducao != 0) return S_OK;
  return PPPercorreSequenciaOP<PPDiscoRetorno>(
      arquivos.m_arqRetornoIndExterna, apontamento.ulPrimeiroRetorno, apontamento.usQtdRetornoIndustExt,
      [&](const PPDiscoRetorno& retorno) {
        if (!retorno.cPossuiRefugo || !retorno.ulMovimentoRefugo) return S_OK;
        return ConfereRegistroEntrada(arquivos, entrada, retorno.ulMovimentoRefugo);
      });
}

HRESULT CPPServidorOP::ConfereInsumosConsumidos(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                                const PPDiscoApontamento& apontamento) {
  const HRESULT hr =
      ConfereSequenciaEntrada(arquivos, entrada, apontamento.ulPrimeiroEstoque, apontamento.usQtdMvtoEstoque, false);
  if (hr != S_OK) return hr;
  return PPPercorreSequenciaOP<PPDiscoRetorno>(
      arquivos.m_arqRetornoIndExterna, apontamento.ulPrimeiroRetorno, apontamento.usQtdRetornoIndustExt,
      [&](const PPDiscoRetorno& retorno) {
        return ConfereSequenciaEntrada(arquivos, entrada, retorno.ulPrimeiroMovimento, retorno.usQtdMvtoEstoque, false);
      });
}

HRESULT CPPServidorOP::ConfereSequenciaEntrada(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                               uint32_t ulPrimeiro, uint16_t usQtd, bool bSoLancados) {
  return PPPercorreSequenciaOP<PPDiscoMovimento>(
      arquivos.m_arqMovtoApontamento, ulPrimeiro, usQtd, [&](const PPDiscoMovimento& movimento) {
        if (bSoLancados && !movimento.cLancado) return S_OK;
        return ConfereMovimentoEntrada(arquivos, entrada, movimento);
      });
}

HRESULT CPPServidorOP::ConfereRegistroEntrada(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                              uint32_t ulRegistro) {
  PPDiscoMovimento movimento;
  if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqMovtoApontamento, ulRegistro, &movimento)) return hr;
  return ConfereMovimentoEntrada(arquivos, entrada, movimento);
}

HRESULT CPPServidorOP::ConfereMovimentoEntrada(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                               const PPDiscoMovimento& movimento) {
  PPMovimentoLote movimentoLote;
  if (HRESULT hr = MontaMovimentoLote(arquivos, movimento, &movimentoLote)) return hr;
  return ConfereEntradaProducao(entrada, movimentoLote) ? S_FALSE : S_OK;
}

bool CPPServidorOP::ConfereEntradaProducao(const _REG_PP_ENTRADA_PRODUCAOPS& entrada, const PPMovimentoLote& movimento) {
  const bool bIdenticos = entrada.cConsiderarSomenteIdenticos != 0;
  const auto confere = [bIdenticos](uint32_t esperado, uint32_t valor) {
    return esperado == valor || (!bIdenticos && esperado == 0);
  };
  const _REG_POSICAO_PRODUTOPS produto = entrada.regPosicaoProduto;
  const _REG_ES_LOTEPS lote = entrada.regLote;
  const PPDiscoMovimento& disco = movimento.movimento;
  if (!confere(produto.lPonteiroProduto, disco.lPonteiroProduto)) return false;
  if (!confere(produto.iPonteiroItemGrade1, disco.iPonteiroItemGrade1)) return false;
  if (!confere(produto.iPonteiroItemGrade2, disco.iPonteiroItemGrade2)) return false;
  if (!confere(produto.iPonteiroItemGrade3, disco.iPonteiroItemGrade3)) return false;
  if (!confere(lote.iDataFabricacao, movimento.lote.iDataFabricacao)) return false;
  if (!confere(lote.iDataValidade, movimento.lote.iDataValidade)) return false;
  if (!confere(lote.iNumeroDias, movimento.lote.iNumeroDias)) return false;
  const CString numero = PPTextoCampo(lote.cNumeroLote);
  if (!bIdenticos && numero.IsEmpty()) return true;
  return numero.CompareNoCase(PPTextoCampo(movimento.lote.cNumeroLote)) == 0;
}

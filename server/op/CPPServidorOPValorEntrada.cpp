// Valuation of production entries: what a quantity of an order's product is worth as direct,
// indirect and input cost, from what its processes recorded and, through reprocess orders and
// origin reports, from the orders linked to it; and the cost of the resources of the processes
// that take no reports of their own just before a reported one.
//
// Both read only. A valuation opens its month's files read-only and only those that exist, so
// that valuing never makes a file. Amounts are kept to eight decimals; a quotient whose divisor is
// not above 0 gives 0.
//
// The links between orders are stored data and may close a circle (a reprocess order's report
// naming as its origin a report of an order higher up its own chain): a valuation whose arguments,
// the quantities apart, are those of one already under way would repeat it without end, so it
// contributes 0. A chain without such a repeat keeps its whole value.
#include <cstring>
#include <memory>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/CQVCurrencyEx.h"
#include "foundation/CQVDataHora.h"
#include "foundation/QVChave.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/CPPNomesArquivos.h"
#include "server/PPTextosStatus.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;
using Entrada = _REG_VARMO_VALOR_ENTRADA_INPS;
using Valor = CQVCurrencyEx8;

// OP IT PR AP RI AR ME RA. The operations of resource reports are read from PPAO on their own:
// opening the resource-operation group would make the group's files that do not exist yet.
constexpr uint32_t kArquivosValoracao = Arquivos::kArqOP | Arquivos::kArqItem | Arquivos::kArqProcesso |
                                        Arquivos::kArqApontamento | Arquivos::kArqRetornoIndExterna |
                                        Arquivos::kArqApontamentoRecurso | Arquivos::kArqMovtoApontamento |
                                        Arquivos::kArqRA;
constexpr uint8_t kTipoOperacaoProducao = 'P';
constexpr uint8_t kTipoRecursoSemProducao = 2;  // a resource of this type is not costed for 'P' operations

// A four-decimal quantity at eight decimals.
Valor Oito(CY quatro) {
  Valor valor;
  valor += quatro;
  return valor;
}

Valor Produto(Valor a, const Valor& b) { return a *= b; }

Valor Quociente(Valor a, const Valor& b) {
  if (b.GetValorBruto() <= 0) return Valor();
  return a /= b;
}

// Hours from one date-time to the other, at eight decimals.
Valor Horas(uint16_t usDataInicio, uint16_t usHoraInicio, uint16_t usDataFim, uint16_t usHoraFim) {
  Valor horas;
  horas = CQVDataHora(usDataInicio, usHoraInicio).CalculaDiferencaHoras(CQVDataHora(usDataFim, usHoraFim));
  return horas;
}

bool ConcluidoOuParado(uint8_t cSituacao) {
  return cSituacao == kSituacaoConcluida || cSituacao == kSituacaoConcluidaComPerda ||
         cSituacao == kSituacaoSuspensa || cSituacao == kSituacaoInterrompida;
}

// The arguments that make one valuation what it is: all but the quantities.
bool MesmaValoracao(const Entrada& a, const Entrada& b) {
  return a.lChaveOP == b.lChaveOP && a.ulChaveOPSolicitante == b.ulChaveOPSolicitante &&
         a.lChaveApontamento == b.lChaveApontamento && a.ulChaveOPOrigem == b.ulChaveOPOrigem &&
         a.lPonteiroProcesso == b.lPonteiroProcesso && a.cCalculoES == b.cCalculoES;
}

// What one process's reports add up to before they are shared out.
struct SomasProcesso {
  Valor quantidadeInterna;  // CYsum
  uint32_t internos = 0;    // n
  Valor quantidadeExterna;  // QEXT
  Valor direto, indireto, insumos, terceirizacao;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------
// One valuation

class CPPServidorOP::ValoracaoEntrada {
 public:
  using Caminho = std::vector<Entrada>;

  ValoracaoEntrada(CPPServidorOP& op, const Entrada& entrada, Caminho& caminho)
      : op_(op),
        entrada_(entrada),
        caminho_(caminho),
        usMesAno_(QVGetMesAnoDaChave(entrada.lChaveOP)),
        quantidade_(Oito(entrada.vQuantidade)) {}

  HRESULT Executa(Arquivos* arquivos, _REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut);

 private:
  HRESULT AbreMes(Arquivos* arquivos);
  HRESULT LeOrdem();
  HRESULT ValoraProcesso(uint16_t usIndice, bool* pbFim);
  HRESULT QuantidadeApontada(const PPDiscoProcesso& processo);
  HRESULT SomaApontamentos(uint16_t usIndice, const PPDiscoProcesso& processo, SomasProcesso& somas);
  HRESULT SomaApontamento(uint16_t usIndice, const PPDiscoApontamento& apontamento, SomasProcesso& somas);
  HRESULT ValoraReprocesso(const PPDiscoApontamento& apontamento);
  HRESULT ValoraOrigemApontamento(const PPDiscoApontamento& apontamento);
  HRESULT SomaRetornos(const PPDiscoApontamento& apontamento, SomasProcesso& somas);
  HRESULT SomaRecursos(uint16_t usIndice, const PPDiscoApontamento& apontamento, SomasProcesso& somas);
  HRESULT SomaRecursosNaoApontados(uint16_t usIndice, const PPDiscoApontamento& apontamento, SomasProcesso& somas);
  HRESULT CustoRecurso(const PPDiscoApontamento& apontamento, const PPDiscoApontamentoRecurso& recurso, Valor* pCusto);
  HRESULT SomaMovimentos(uint32_t ulPrimeiro, uint16_t usQtd, Valor& insumos);
  void ReparteProcesso(const PPDiscoProcesso& processo, const SomasProcesso& somas);
  HRESULT ValoraSemApontamentos(const PPDiscoProcesso& processo);
  void Fecha(_REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut);

  // The valuation of another order (or of this one with other arguments), on this set when it is
  // of this month. One whose arguments are on the path contributes 0.
  HRESULT ValoraRecursivo(const Entrada& entrada, _REG_VARMO_VALOR_ENTRADA_OUTPS* pValor);
  // Its costs added to the accumulators, as they are or each times fator.
  void Acumula(const _REG_VARMO_VALOR_ENTRADA_OUTPS& valor);
  void Acumula(const _REG_VARMO_VALOR_ENTRADA_OUTPS& valor, const Valor& fator);
  // A record of the key's month: from the set when it is this valuation's month, else by path.
  template <class Disco>
  HRESULT LeRegistroChave(PPArquivoPeriodoOP arquivo, CPPArqEx& doMes, uint32_t ulChave, Disco* pDisco) const;
  HRESULT LeProcesso(uint16_t usIndice, PPDiscoProcesso* pProcesso) {
    return PPLeRegistroOP(arquivos_->m_arqProcesso, ordem_.ulPrimeiroProcesso + usIndice, pProcesso);
  }
  bool EhProcessoEntrada(const PPDiscoProcesso& processo) const {
    return processo.lPonteiroProcesso == entrada_.lPonteiroProcesso;
  }
  // K: the process's indirect cost, once per internal report when it is costed per report.
  static Valor CustoIndireto(const PPDiscoProcesso& processo, uint32_t internos);

  CPPServidorOP& op_;
  const Entrada entrada_;
  Caminho& caminho_;
  const uint16_t usMesAno_;
  const Valor quantidade_;  // vQ
  Arquivos* arquivos_ = nullptr;
  std::unique_ptr<Arquivos> proprios_;
  PPDiscoOP ordem_{};
  Valor base_;  // Q
  Valor direto_, indireto_, insumos_;
};

HRESULT CPPServidorOP::ValoracaoEntrada::Executa(Arquivos* arquivos, _REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut) {
  std::memset(static_cast<void*>(pRegOut), 0, sizeof *pRegOut);
  for (const Entrada& emCurso : caminho_) {
    if (MesmaValoracao(emCurso, entrada_)) return S_OK;
  }
  caminho_.push_back(entrada_);
  HRESULT hr = AbreMes(arquivos);
  if (hr == S_OK) hr = LeOrdem();
  bool bFim = false;
  for (uint16_t i = 0; hr == S_OK && !bFim && i < ordem_.usQtdProcessos; ++i) hr = ValoraProcesso(i, &bFim);
  caminho_.pop_back();
  if (hr != S_OK) return hr;
  Fecha(pRegOut);
  return S_OK;
}

// The caller's set when it is open on the order's month; else a set of this valuation's own.
HRESULT CPPServidorOP::ValoracaoEntrada::AbreMes(Arquivos* arquivos) {
  if (usMesAno_ == 0 || QVGetNumeroDaChave(entrada_.lChaveOP) == 0) return PPErroHResult(kPPErroChaveAusente);
  if (arquivos && arquivos->EstaAberto() && arquivos->GetPeriodo() == usMesAno_) {
    arquivos_ = arquivos;
    return S_OK;
  }
  proprios_ = std::make_unique<Arquivos>();
  arquivos_ = proprios_.get();
  // A month without orders has nothing to value.
  uint32_t lAbertos = 0;
  if (HRESULT hr = proprios_->AbreExistentes(op_.m_strEmpresa, usMesAno_, kArquivosValoracao, &lAbertos)) return hr;
  return (lAbertos & Arquivos::kArqOP) ? S_OK : PPErroHResult(kPPErroMesSemOP);
}

// Q: what the items still have to make (programmed - cancelled).
HRESULT CPPServidorOP::ValoracaoEntrada::LeOrdem() {
  if (HRESULT hr = PPLeRegistroOP(arquivos_->m_arqOP, QVGetNumeroDaChave(entrada_.lChaveOP), &ordem_)) return hr;
  return PPPercorreSequenciaOP<PPDiscoItem>(arquivos_->m_arqItem, ordem_.ulPrimeiroItem, ordem_.usQtdItens,
                                            [&](const PPDiscoItem& item) {
                                              base_ += item.vQuantidadeProgramada;
                                              base_ -= item.vQuantidadeCancelada;
                                              return S_OK;
                                            });
}

HRESULT CPPServidorOP::ValoracaoEntrada::ValoraProcesso(uint16_t usIndice, bool* pbFim) {
  PPDiscoProcesso processo;
  if (HRESULT hr = LeProcesso(usIndice, &processo)) return hr;
  if (ConcluidoOuParado(processo.cSituacao)) {
    if (HRESULT hr = QuantidadeApontada(processo)) return hr;
  }
  const bool bEntrada = EhProcessoEntrada(processo);
  *pbFim = bEntrada;
  if (processo.cRecebeApontamento && (!bEntrada || entrada_.cCalculoES == 1)) {
    SomasProcesso somas;
    if (HRESULT hr = SomaApontamentos(usIndice, processo, somas)) return hr;
    ReparteProcesso(processo, somas);
    return S_OK;
  }
  return ValoraSemApontamentos(processo);
}

// A process that is over replaces Q by what it actually made: its internal reports' quantities and
// its outsourced reports' returns, removed reports left out; the last such process decides.
HRESULT CPPServidorOP::ValoracaoEntrada::QuantidadeApontada(const PPDiscoProcesso& processo) {
  Valor apontada;
  HRESULT hr = PPPercorreSequenciaOP<PPDiscoListaApontamento>(
      arquivos_->m_arqRA, processo.ulPrimeiroApontamento, processo.usQuantidadeApontamentos,
      [&](const PPDiscoListaApontamento& lista) {
        PPDiscoApontamento apontamento;
        if (HRESULT hr = PPLeRegistroOP(arquivos_->m_arqApontamento, lista.ulRegistroApontamento, &apontamento))
          return hr;
        if (apontamento.cExcluido) return S_OK;
        if (apontamento.cTipoProducao != kProducaoExterna) {
          apontada += apontamento.vQuantidadeApontada;
          return S_OK;
        }
        return PPPercorreSequenciaOP<PPDiscoRetorno>(arquivos_->m_arqRetornoIndExterna,
                                                     apontamento.ulPrimeiroRetorno, apontamento.usQtdRetornoIndustExt,
                                                     [&](const PPDiscoRetorno& retorno) {
                                                       apontada += retorno.vQuantidadeRetornada;
                                                       return S_OK;
                                                     });
      });
  if (hr) return hr;
  if (apontada.GetValorBruto() > 0) base_ = apontada;
  return S_OK;
}

// The process's reports in its list order, up to the stop report when there is one.
HRESULT CPPServidorOP::ValoracaoEntrada::SomaApontamentos(uint16_t usIndice, const PPDiscoProcesso& processo,
                                                         SomasProcesso& somas) {
  const uint32_t ulRegistroOP = QVGetNumeroDaChave(entrada_.lChaveOP);
  const HRESULT hr = PPPercorreSequenciaOP<PPDiscoListaApontamento>(
      arquivos_->m_arqRA, processo.ulPrimeiroApontamento, processo.usQuantidadeApontamentos,
      [&](const PPDiscoListaApontamento& lista) {
        PPDiscoApontamento apontamento;
        if (HRESULT hr = PPLeRegistroOP(arquivos_->m_arqApontamento, lista.ulRegistroApontamento, &apontamento))
          return hr;
        if (apontamento.cExcluido || apontamento.ulRegistroOP != ulRegistroOP ||
            apontamento.lPonteiroProcesso != processo.lPonteiroProcesso)
          return S_OK;
        if (HRESULT hr = SomaApontamento(usIndice, apontamento, somas)) return hr;
        const bool bParada = entrada_.lChaveApontamento != 0 &&
                             entrada_.lChaveApontamento == QVMontaChave(usMesAno_, lista.ulRegistroApontamento);
        return bParada ? S_FALSE : S_OK;
      });
  return hr == S_FALSE ? S_OK : hr;
}

HRESULT CPPServidorOP::ValoracaoEntrada::SomaApontamento(uint16_t usIndice, const PPDiscoApontamento& apontamento,
                                                        SomasProcesso& somas) {
  if (apontamento.cGerouReprocesso && !apontamento.cUltimoProcesso &&
      apontamento.ulChaveOPReprocesso != entrada_.ulChaveOPSolicitante) {
    if (HRESULT hr = ValoraReprocesso(apontamento)) return hr;
  }
  if (apontamento.ulChaveApontamentoOPOrigem && apontamento.cUltimoProcesso) {
    if (HRESULT hr = ValoraOrigemApontamento(apontamento)) return hr;
  }
  if (apontamento.cTipoProducao != kProducaoExterna) {
    somas.internos += 1;
    somas.quantidadeInterna += apontamento.vQuantidadeApontada;
  } else if (HRESULT hr = SomaRetornos(apontamento, somas)) {
    return hr;
  }
  if (apontamento.cTipoProducao == kProducaoInterna) {
    if (HRESULT hr = SomaRecursos(usIndice, apontamento, somas)) return hr;
  }
  return SomaMovimentos(apontamento.ulPrimeiroEstoque, apontamento.usQtdMvtoEstoque, somas.insumos);
}

// The reprocess order that the report made, valued at its last process for the report's quantity.
HRESULT CPPServidorOP::ValoracaoEntrada::ValoraReprocesso(const PPDiscoApontamento& apontamento) {
  const uint32_t ulChaveReprocesso = apontamento.ulChaveOPReprocesso;
  PPDiscoOP reprocesso;
  if (HRESULT hr = LeRegistroChave(PPArquivoPeriodoOP::OP, arquivos_->m_arqOP, ulChaveReprocesso, &reprocesso))
    return hr;
  Entrada entrada{};
  entrada.vQuantidade = apontamento.vQuantidadeApontada;
  entrada.lChaveOP = ulChaveReprocesso;
  entrada.cCalculoES = 1;
  if (reprocesso.usQtdProcessos > 0) {
    PPDiscoProcesso ultimo;
    const uint32_t ulUltimo = QVMontaChave(QVGetMesAnoDaChave(ulChaveReprocesso),
                                           reprocesso.ulPrimeiroProcesso + reprocesso.usQtdProcessos - 1u);
    if (HRESULT hr = LeRegistroChave(PPArquivoPeriodoOP::PR, arquivos_->m_arqProcesso, ulUltimo, &ultimo)) return hr;
    entrada.lPonteiroProcesso = ultimo.lPonteiroProcesso;
  }
  _REG_VARMO_VALOR_ENTRADA_OUTPS valor;
  if (HRESULT hr = ValoraRecursivo(entrada, &valor)) return hr;
  Acumula(valor, Quociente(quantidade_, Oito(apontamento.vQuantidadeApontada)));
  return S_OK;
}

// A reprocess order's last-process report carries the cost of the origin report it continues,
// valued up to that report. The origin's order does not come back into the order that asks.
HRESULT CPPServidorOP::ValoracaoEntrada::ValoraOrigemApontamento(const PPDiscoApontamento& apontamento) {
  const uint32_t ulChaveOrigem = apontamento.ulChaveApontamentoOPOrigem;
  PPDiscoApontamento origem;
  if (HRESULT hr = LeRegistroChave(PPArquivoPeriodoOP::AP, arquivos_->m_arqApontamento, ulChaveOrigem, &origem))
    return hr;
  Entrada entrada{};
  entrada.vQuantidade = apontamento.vQuantidadeApontada;
  entrada.lChaveOP = QVMontaChave(QVGetMesAnoDaChave(ulChaveOrigem), origem.ulRegistroOP);
  entrada.ulChaveOPSolicitante = entrada_.lChaveOP;
  entrada.lChaveApontamento = ulChaveOrigem;
  entrada.lPonteiroProcesso = origem.lPonteiroProcesso;
  entrada.cCalculoES = 1;
  _REG_VARMO_VALOR_ENTRADA_OUTPS valor;
  if (HRESULT hr = ValoraRecursivo(entrada, &valor)) return hr;
  Acumula(valor, Quociente(quantidade_, Oito(apontamento.vQuantidadeApontada)));
  return S_OK;
}

// An outsourced report: what came back, the inputs that the returns consumed, and the outsourcing
// cost of what came back.
HRESULT CPPServidorOP::ValoracaoEntrada::SomaRetornos(const PPDiscoApontamento& apontamento, SomasProcesso& somas) {
  Valor retornada;
  const HRESULT hr = PPPercorreSequenciaOP<PPDiscoRetorno>(
      arquivos_->m_arqRetornoIndExterna, apontamento.ulPrimeiroRetorno, apontamento.usQtdRetornoIndustExt,
      [&](const PPDiscoRetorno& retorno) {
        retornada += retorno.vQuantidadeRetornada;
        return SomaMovimentos(retorno.ulPrimeiroMovimento, retorno.usQtdMvtoEstoque, somas.insumos);
      });
  if (hr) return hr;
  somas.quantidadeExterna += retornada;
  somas.terceirizacao += Produto(retornada, Valor(apontamento.v8CustoTerceirizacao));
  return S_OK;
}

HRESULT CPPServidorOP::ValoracaoEntrada::SomaRecursos(uint16_t usIndice, const PPDiscoApontamento& apontamento,
                                                     SomasProcesso& somas) {
  HRESULT hr = PPPercorreSequenciaOP<PPDiscoApontamentoRecurso>(
      arquivos_->m_arqApontamentoRecurso, apontamento.ulPrimeiroRecurso, apontamento.usQtdRecursos,
      [&](const PPDiscoApontamentoRecurso& recurso) {
        Valor custo;
        if (HRESULT hr = CustoRecurso(apontamento, recurso, &custo)) return hr;
        (recurso.cTipoCusto == 1 ? somas.direto : somas.indireto) += custo;
        return S_OK;
      });
  if (hr) return hr;
  return SomaRecursosNaoApontados(usIndice, apontamento, somas);
}

// Cr: per hour of each operation (or of the report when it has none), or the plain cost.
HRESULT CPPServidorOP::ValoracaoEntrada::CustoRecurso(const PPDiscoApontamento& apontamento,
                                                     const PPDiscoApontamentoRecurso& recurso, Valor* pCusto) {
  const Valor custo(recurso.v8Custo);
  if (recurso.cCustoTempoPorUnidade != 1) {
    *pCusto = custo;
    return S_OK;
  }
  if (recurso.ulPrimeiraOperacao == 0 || recurso.usQuantidadeApontamentoOperacao == 0) {
    *pCusto = Produto(Horas(apontamento.usDataApontamentoInicio, apontamento.usHoraApontamentoInicio,
                            apontamento.usDataApontamentoFim, apontamento.usHoraApontamentoFim),
                      custo);
    return S_OK;
  }
  std::vector<PPDiscoOperacaoRecurso> operacoes;
  const CString caminho =
      CPPNomesArquivos::MontaCaminhoArquivoPeriodo(op_.m_strEmpresa, CPPNomesArquivos::PrefixoOPAO(), usMesAno_);
  if (HRESULT hr = PPLeSequenciaMesOP(caminho, recurso.ulPrimeiraOperacao, recurso.usQuantidadeApontamentoOperacao,
                                      operacoes))
    return hr;
  Valor soma;
  for (const PPDiscoOperacaoRecurso& operacao : operacoes) {
    if (operacao.cTipoOperacaoProducao == kTipoOperacaoProducao && recurso.cTipo == kTipoRecursoSemProducao) continue;
    soma += Produto(Horas(operacao.usDataApontamentoInicial, operacao.usHoraApontamentoInicial,
                          operacao.usDataApontamentoFinal, operacao.usHoraApontamentoFinal),
                    custo);
  }
  *pCusto = soma;
  return S_OK;
}

// A resource not reported costs its share of the report's quantity over the quantity of the earlier
// process that plans it; one of no earlier process costs nothing.
HRESULT CPPServidorOP::ValoracaoEntrada::SomaRecursosNaoApontados(uint16_t usIndice,
                                                                 const PPDiscoApontamento& apontamento,
                                                                 SomasProcesso& somas) {
  return PPPercorreSequenciaOP<PPDiscoApontamentoRecurso>(
      arquivos_->m_arqApontamentoRecurso, apontamento.ulPrimeiroRecursoNaoApontado,
      apontamento.usQtdRecursosNaoApontados, [&](const PPDiscoApontamentoRecurso& recurso) {
        for (uint16_t i = 0; i < usIndice; ++i) {
          PPDiscoProcesso anterior;
          if (HRESULT hr = LeProcesso(i, &anterior)) return hr;
          if (anterior.lPonteiroProcesso != recurso.lPonteiroProcesso) continue;
          Valor valor(recurso.v8Custo);
          if (recurso.cCustoTempoPorUnidade == 1)
            valor = Quociente(Produto(Oito(apontamento.vQuantidadeApontada), valor),
                              Oito(anterior.vCapacidadeProdutiva));
          (recurso.cTipoCusto == 1 ? somas.direto : somas.indireto) += valor;
          return S_OK;
        }
        return S_OK;
      });
}

// Movements of stock kind 0 valued as the inventory holds them. One the inventory never took (or
// gave back) holds nothing there to value.
HRESULT CPPServidorOP::ValoracaoEntrada::SomaMovimentos(uint32_t ulPrimeiro, uint16_t usQtd, Valor& insumos) {
  return PPPercorreSequenciaOP<PPDiscoMovimento>(
      arquivos_->m_arqMovtoApontamento, ulPrimeiro, usQtd, [&](const PPDiscoMovimento& disco) {
        if (disco.cTipoEstoqueArmazenagem != 0 || !disco.cLancado || disco.ulChaveMovimento == 0) return S_OK;
        HRESULT hr = S_OK;
        IQVES_Movimento* estoque = op_.GetIMovimento(&hr);
        if (!estoque) return FAILED(hr) ? hr : E_NOINTERFACE;
        _REG_ES_MOVIMENTOPS movimento;
        std::memset(static_cast<void*>(&movimento), 0, sizeof movimento);
        hr = estoque->LeMovimento(disco.ulChaveMovimento, &movimento);
        LiberaRegistroMovimentoES(&movimento, 0);
        if (FAILED(hr)) return hr;
        insumos += Produto(Oito(movimento.vQuantidade), Valor(movimento.v8ValorUnitario));
        return S_OK;
      });
}

Valor CPPServidorOP::ValoracaoEntrada::CustoIndireto(const PPDiscoProcesso& processo, uint32_t internos) {
  Valor custo(processo.v8CustoIndireto);
  if (processo.cCustoPorApontamento) custo *= Valor(static_cast<double>(internos));
  return custo;
}

// The process's sums shared out over the quantity valued.
void CPPServidorOP::ValoracaoEntrada::ReparteProcesso(const PPDiscoProcesso& processo, const SomasProcesso& somas) {
  Valor total = somas.quantidadeExterna;
  total += somas.quantidadeInterna;
  const Valor parte = Quociente(quantidade_, total);  // t
  Valor indiretoProcesso = CustoIndireto(processo, somas.internos);
  indiretoProcesso += somas.indireto;  // K + INDp
  if (!EhProcessoEntrada(processo)) {
    Valor indireto, direto;  // X1, X2
    if (somas.quantidadeInterna.GetValorBruto() > 0) {
      const Valor fracao = Quociente(somas.quantidadeInterna, base_);  // s
      indireto += Produto(fracao, indiretoProcesso);
      direto += Produto(fracao, somas.direto);
      direto += Produto(Valor(processo.v8CustoDireto), somas.quantidadeInterna);
    }
    if (somas.quantidadeExterna.GetValorBruto() > 0) direto += somas.terceirizacao;
    indireto_ += Produto(parte, indireto);
    direto_ += Produto(parte, direto);
  } else {
    const Valor fracao = Quociente(quantidade_, base_);  // f
    indireto_ += Produto(fracao, indiretoProcesso);
    direto_ += Produto(Valor(processo.v8CustoDireto), quantidade_);
    direto_ += Produto(fracao, somas.direto);
  }
  insumos_ += Produto(parte, somas.insumos);
}

// A process without reports of its own, or the entry's process of a new entry: its own cost data,
// and for a reprocess order's new entry the cost of its origin report.
HRESULT CPPServidorOP::ValoracaoEntrada::ValoraSemApontamentos(const PPDiscoProcesso& processo) {
  if (EhProcessoEntrada(processo) && entrada_.ulChaveOPOrigem && entrada_.cCalculoES == 0) {
    PPDiscoApontamento origem;
    if (HRESULT hr = LeRegistroChave(PPArquivoPeriodoOP::AP, arquivos_->m_arqApontamento, entrada_.ulChaveOPOrigem,
                                     &origem))
      return hr;
    Entrada entrada{};
    entrada.vQuantidade = entrada_.vQuantidade;
    entrada.lChaveOP = QVMontaChave(QVGetMesAnoDaChave(entrada_.ulChaveOPOrigem), origem.ulRegistroOP);
    entrada.ulChaveOPSolicitante = entrada_.lChaveOP;
    entrada.lChaveApontamento = entrada_.ulChaveOPOrigem;
    entrada.lPonteiroProcesso = origem.lPonteiroProcesso;
    entrada.cCalculoES = 1;
    _REG_VARMO_VALOR_ENTRADA_OUTPS valor;
    if (HRESULT hr = ValoraRecursivo(entrada, &valor)) return hr;
    Acumula(valor);
  }
  if (!processo.cRecebeApontamento && ordem_.cCustearSoProcessoApontado) return S_OK;
  const Valor custoIndireto(processo.v8CustoIndireto);
  if (processo.cRecebeApontamento && processo.cCustoPorApontamento)
    indireto_ += custoIndireto;
  else
    indireto_ += Produto(custoIndireto, Quociente(quantidade_, base_));
  direto_ += Produto(Valor(processo.v8CustoDireto), quantidade_);
  return S_OK;
}

void CPPServidorOP::ValoracaoEntrada::Fecha(_REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut) {
  if (entrada_.cCalculoES == 1) {
    direto_.SetPrecisao(2, true);
    indireto_.SetPrecisao(2, true);
    insumos_.SetPrecisao(2, true);
  }
  pRegOut->v8PercentualApontado = Quociente(quantidade_, base_).GetCY();
  pRegOut->v8ValorCustoDireto = direto_.GetCY();
  pRegOut->v8ValorCustoIndireto = indireto_.GetCY();
  pRegOut->v8ValorCustoInsumos = insumos_.GetCY();
}

HRESULT CPPServidorOP::ValoracaoEntrada::ValoraRecursivo(const Entrada& entrada,
                                                         _REG_VARMO_VALOR_ENTRADA_OUTPS* pValor) {
  const bool bMesmoMes = QVGetMesAnoDaChave(entrada.lChaveOP) == usMesAno_;
  return ValoracaoEntrada(op_, entrada, caminho_).Executa(bMesmoMes ? arquivos_ : nullptr, pValor);
}

void CPPServidorOP::ValoracaoEntrada::Acumula(const _REG_VARMO_VALOR_ENTRADA_OUTPS& valor) {
  direto_ += Valor(valor.v8ValorCustoDireto);
  indireto_ += Valor(valor.v8ValorCustoIndireto);
  insumos_ += Valor(valor.v8ValorCustoInsumos);
}

void CPPServidorOP::ValoracaoEntrada::Acumula(const _REG_VARMO_VALOR_ENTRADA_OUTPS& valor, const Valor& fator) {
  direto_ += Produto(fator, Valor(valor.v8ValorCustoDireto));
  indireto_ += Produto(fator, Valor(valor.v8ValorCustoIndireto));
  insumos_ += Produto(fator, Valor(valor.v8ValorCustoInsumos));
}

template <class Disco>
HRESULT CPPServidorOP::ValoracaoEntrada::LeRegistroChave(PPArquivoPeriodoOP arquivo, CPPArqEx& doMes,
                                                         uint32_t ulChave, Disco* pDisco) const {
  const uint16_t usMes = QVGetMesAnoDaChave(ulChave);
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChave);
  if (usMes == 0 || ulRegistro == 0) return PPErroHResult(kPPErroChaveAusente);
  if (usMes == usMesAno_) return PPLeRegistroOP(doMes, ulRegistro, pDisco);
  return PPLeRegistroMesOP(op_.CaminhoArquivo(arquivo, usMes), ulRegistro, pDisco);
}

// ---------------------------------------------------------------------------------------------------
// The operations

HRESULT CPPServidorOP::CalcularValorEntrada(_REG_VARMO_VALOR_ENTRADA_INPS regIn,
                                            _REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut, CPPArquivosOP* arquivos) {
  if (!pRegOut) return E_POINTER;
  std::memset(static_cast<void*>(pRegOut), 0, sizeof *pRegOut);
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  ValoracaoEntrada::Caminho caminho;
  return ValoracaoEntrada(*this, regIn, caminho).Executa(arquivos, pRegOut);
}

// Only the run of processes without reports of their own just before the reported one counts: a
// process with reports starts the sums again.
HRESULT CPPServidorOP::CalcularValorRecursosNaoApontados(_REG_VARMO_VALOR_ENTRADA_INPS regIn,
                                                         _REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut) {
  if (!pRegOut) return E_POINTER;
  std::memset(static_cast<void*>(pRegOut), 0, sizeof *pRegOut);
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  const uint16_t usMesAno = QVGetMesAnoDaChave(regIn.lChaveOP);
  const uint32_t ulRegistro = QVGetNumeroDaChave(regIn.lChaveOP);
  if (usMesAno == 0 || ulRegistro == 0) return PPErroHResult(kPPErroChaveAusente);
  PPDiscoOP ordem;
  if (HRESULT hr = PPLeRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::OP, usMesAno), ulRegistro, &ordem)) return hr;
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaMesOP(CaminhoArquivo(PPArquivoPeriodoOP::PR, usMesAno), ordem.ulPrimeiroProcesso,
                                      ordem.usQtdProcessos, processos))
    return hr;

  const Valor quantidade = Oito(regIn.vQuantidade);
  const Valor percentual(regIn.v8PercentualApontado);
  Valor direto, indireto;
  for (const PPDiscoProcesso& processo : processos) {
    if (processo.lPonteiroProcesso == regIn.lPonteiroProcesso) break;
    if (processo.cRecebeApontamento) {
      direto = indireto = Valor();
      continue;
    }
    std::vector<PPDiscoRecursoProcesso> recursos;
    if (HRESULT hr = PPLeSequenciaMesOP(CaminhoArquivo(PPArquivoPeriodoOP::RP, usMesAno), processo.ulPrimeiroRecurso,
                                        processo.usQuantidadeRecursos, recursos))
      return hr;
    for (const PPDiscoRecursoProcesso& recurso : recursos) {
      const Valor custo(recurso.v8Custo);
      const Valor valor = recurso.cCustoTempoPorUnidade == 1
                              ? Quociente(Produto(quantidade, custo), Oito(processo.vCapacidadeProdutiva))
                              : Produto(percentual, custo);
      (recurso.cTipoCusto == 1 ? direto : indireto) += valor;
    }
  }
  pRegOut->v8ValorCustoDireto = direto.GetCY();
  pRegOut->v8ValorCustoIndireto = indireto.GetCY();
  return S_OK;
}

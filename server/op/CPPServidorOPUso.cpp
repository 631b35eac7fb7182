#include "server/op/CPPServidorOPUso.h"

#include <cstddef>

#include "foundation/CQVArqEx.h"
#include "foundation/QVData.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"
#include "server/PPTextosStatus.h"
#include "server/op/PPConsultaMovimentacaoOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

// ---------------------------------------------------------------------------------------------------
// The walk: months, files, runs

using Arquivos = CPPArquivosOP;

// A visitor's answer: S_OK goes on; kAchou ends every loop up to the check, which sets its flag; a
// failure ends them with itself.
constexpr HRESULT kAchou = S_FALSE;

HRESULT Achou(bool bAchou) { return bAchou ? kAchou : S_OK; }

// Records 1 .. count of an open file.
template <class Registro, class Visita>
HRESULT PercorreArquivo(CPPArqEx& arquivo, Visita visita) {
  const int32_t quantidade = arquivo.GetQuantidadeRegistros();
  if (quantidade < 0) return PPErroHResult(kQVErroArquivo);
  return PPPercorreSequenciaOP<Registro>(arquivo, 1, static_cast<uint32_t>(quantidade), visita);
}

template <class Visita>
HRESULT PercorreOrdens(Arquivos& arquivos, Visita visita) {
  return PercorreArquivo<PPDiscoOP>(
      arquivos.m_arqOP, [&](const PPDiscoOP& ordem) { return ordem.cRemovido ? S_OK : visita(ordem); });
}

template <class Visita>
HRESULT PercorreProcessos(Arquivos& arquivos, const PPDiscoOP& ordem, Visita visita) {
  return PPPercorreSequenciaOP<PPDiscoProcesso>(arquivos.m_arqProcesso, ordem.ulPrimeiroProcesso, ordem.usQtdProcessos,
                                         visita);
}

template <class Visita>
HRESULT PercorreApontamentos(Arquivos& arquivos, Visita visita) {
  return PercorreArquivo<PPDiscoApontamento>(arquivos.m_arqApontamento, [&](const PPDiscoApontamento& apontamento) {
    return apontamento.cExcluido ? S_OK : visita(apontamento);
  });
}

template <class Visita>
HRESULT PercorreNecessidades(Arquivos& arquivos, Visita visita) {
  return PercorreArquivo<PPDiscoNecessidade>(arquivos.m_arqNecessidade, [&](const PPDiscoNecessidade& necessidade) {
    return necessidade.cRemovido ? S_OK : visita(necessidade);
  });
}

// Every month whose file of lPrimeiro exists, in ascending order, with the files of lBits open
// read-only while visita scans it; the first answer other than S_OK ends the walk.
template <class Visita>
HRESULT PercorreMeses(const CString& empresa, uint32_t lPrimeiro, uint32_t lBits, Visita visita) {
  CPPArquivosOP arquivos;
  // Without user and session: the set serves the check alone and starts no caches.
  if (HRESULT hr = arquivos.Inicializa(empresa, 0, 0)) return hr;
  arquivos.SetArquivos(lBits);
  const uint16_t ultimo = PPUltimoMesOP();
  for (uint16_t mes = PPPrimeiroMesOP(); mes <= ultimo; ++mes) {
    if (!arquivos.Existe(lPrimeiro, mes)) continue;
    if (HRESULT hr = arquivos.SetModo(mes, 'L')) return hr;
    const HRESULT hr = visita(arquivos);
    const HRESULT hrFecha = arquivos.Fecha();
    if (hr != S_OK) return hr;
    if (hrFecha) return hrFecha;
  }
  return S_OK;
}

// The start of every check: the out flag cleared, then 1585 before Inicializa.
template <class Flag>
HRESULT IniciaVerificacao(uint8_t cInicializado, Flag* pFlag) {
  if (!pFlag) return E_POINTER;
  *pFlag = 0;
  return cInicializado ? S_OK : PPErroHResult(kPPErroNaoInicializado);
}

// The end of every check: a hit is the flag, and success.
HRESULT Responde(HRESULT hr, uint8_t* pcEmUso) {
  if (hr != kAchou) return hr;
  *pcEmUso = 1;
  return S_OK;
}

bool EmAberto(uint8_t cSituacao) { return cSituacao == 1 || cSituacao == 2 || cSituacao == 61; }

constexpr uint16_t kNivelGradeMaximo = 3;

// The answers of ProdutoTeveMovimentacao, raised by every record of the product.
class NivelGrade {
 public:
  NivelGrade(uint32_t lPonteiroProduto, int32_t* bTeve, uint16_t* iNivel)
      : m_lPonteiroProduto(lPonteiroProduto), m_bTeve(bTeve), m_iNivel(iNivel) {}

  bool Maximo() const { return *m_iNivel >= kNivelGradeMaximo; }

  // kAchou once the level is the highest: nothing can raise it further.
  template <class Registro>
  HRESULT Confere(const Registro& registro) {
    if (registro.lPonteiroProduto != m_lPonteiroProduto) return S_OK;
    *m_bTeve = 1;
    if (*m_iNivel == 0 && registro.iPonteiroItemGrade1) *m_iNivel = 1;
    if (*m_iNivel == 1 && registro.iPonteiroItemGrade2) *m_iNivel = 2;
    if (*m_iNivel == 2 && registro.iPonteiroItemGrade3) *m_iNivel = 3;
    return Achou(Maximo());
  }

 private:
  uint32_t m_lPonteiroProduto;
  int32_t* m_bTeve;
  uint16_t* m_iNivel;
};

}  // namespace

PPConsultaMovimentacao PPConsultaMovimentacaoOP() { return PPConsultaDe<CPPServidorOPUso>(); }

HRESULT CPPServidorOPUso::Inicializa(_REG_VARMO_INICIALIZAPS regPS, uint8_t /*cInicializarCompleto*/) {
  if (m_cInicializado) Finaliza();
  if (HRESULT hr = InicializaSessao(regPS)) return hr;
  m_cInicializado = 1;
  return S_OK;
}

HRESULT CPPServidorOPUso::InicializaSessao(const _REG_VARMO_INICIALIZAPS& regPS) {
  m_strEmpresa = CString(regPS.szEmpresa, static_cast<int>(sizeof regPS.szEmpresa));
  m_usUsuario = regPS.usUsuario;
  m_lSessao = regPS.lNumeroSessao;
  m_strDiretorio = CPPNomesArquivos::GetDiretorioDados(m_strEmpresa);
  return m_strDiretorio.IsEmpty() ? PPErroHResult(kPPErroDiretorioEmpresa) : S_OK;
}

HRESULT CPPServidorOPUso::Finaliza() {
  m_cInicializado = 0;
  m_strEmpresa.Empty();
  m_usUsuario = 0;
  m_lSessao = 0;
  m_strDiretorio.Empty();
  return S_OK;
}

HRESULT CPPServidorOPUso::VerificaUsoProcesso(int32_t lPonteiroProcesso, uint8_t* pcEmUso) {
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, pcEmUso)) return hr;
  const HRESULT hr =
      PercorreMeses(m_strEmpresa, Arquivos::kArqOP, Arquivos::kArqOP | Arquivos::kArqProcesso, [&](Arquivos& arquivos) {
        return PercorreOrdens(arquivos, [&](const PPDiscoOP& ordem) {
          return PercorreProcessos(arquivos, ordem, [&](const PPDiscoProcesso& processo) {
            return Achou(processo.lPonteiroProcesso == lPonteiroProcesso);
          });
        });
      });
  return Responde(hr, pcEmUso);
}

HRESULT CPPServidorOPUso::VerificaUsoFluxoColecao(_REG_VARMO_FILTROPS regFiltro, uint8_t* pcEmUso) {
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, pcEmUso)) return hr;
  const int32_t fluxo = regFiltro.lPonteiroFluxoProcesso;
  const int32_t colecao = regFiltro.lPonteiroColecao;
  const HRESULT hr = PercorreMeses(m_strEmpresa, Arquivos::kArqOP, Arquivos::kArqOP, [&](Arquivos& arquivos) {
    return PercorreOrdens(arquivos, [&](const PPDiscoOP& ordem) {
      return Achou((fluxo && ordem.lPonteiroFluxoProcesso == fluxo) || (colecao && ordem.lPonteiroColecao == colecao));
    });
  });
  return Responde(hr, pcEmUso);
}

HRESULT CPPServidorOPUso::VerificaUsoColecaoNecessidade(_REG_VARMO_FILTROPS regFiltro, uint8_t* pcEmUso) {
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, pcEmUso)) return hr;
  const int32_t colecao = regFiltro.lPonteiroColecao;
  if (!colecao) return S_OK;
  const HRESULT hr =
      PercorreMeses(m_strEmpresa, Arquivos::kArqNecessidade, Arquivos::kArqNecessidade, [&](Arquivos& arquivos) {
        return PercorreNecessidades(
            arquivos, [&](const PPDiscoNecessidade& necessidade) { return Achou(necessidade.lPonteiroColecao == colecao); });
      });
  return Responde(hr, pcEmUso);
}

HRESULT CPPServidorOPUso::VerificaUsoRecursoOP(int32_t lPonteiroRecurso, uint8_t* pcEmUso) {
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, pcEmUso)) return hr;
  const uint32_t lBits = Arquivos::kArqOP | Arquivos::kArqProcesso | Arquivos::kArqRP;
  const HRESULT hr = PercorreMeses(m_strEmpresa, Arquivos::kArqOP, lBits, [&](Arquivos& arquivos) {
    return PercorreOrdens(arquivos, [&](const PPDiscoOP& ordem) {
      if (!EmAberto(ordem.cSituacao)) return S_OK;
      return PercorreProcessos(arquivos, ordem, [&](const PPDiscoProcesso& processo) {
        return PPPercorreSequenciaOP<PPDiscoRecursoProcesso>(
            arquivos.m_arqRP, processo.ulPrimeiroRecurso, processo.usQuantidadeRecursos,
            [&](const PPDiscoRecursoProcesso& recurso) { return Achou(recurso.lPonteiroRecurso == lPonteiroRecurso); });
      });
    });
  });
  return Responde(hr, pcEmUso);
}

HRESULT CPPServidorOPUso::VerificaUsoRecursoApontamento(int32_t lPonteiroRecurso, uint8_t* pcEmUso) {
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, pcEmUso)) return hr;
  const uint32_t lBits = Arquivos::kArqApontamento | Arquivos::kArqApontamentoRecurso;
  const HRESULT hr = PercorreMeses(m_strEmpresa, Arquivos::kArqApontamento, lBits, [&](Arquivos& arquivos) {
    return PercorreApontamentos(arquivos, [&](const PPDiscoApontamento& apontamento) {
      auto recurso = [&](const PPDiscoApontamentoRecurso& registro) { return Achou(registro.lPonteiroRecurso == lPonteiroRecurso); };
      const HRESULT hrNaoApontados =
          PPPercorreSequenciaOP<PPDiscoApontamentoRecurso>(arquivos.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecursoNaoApontado,
                                          apontamento.usQtdRecursosNaoApontados, recurso);
      if (hrNaoApontados != S_OK) return hrNaoApontados;
      return PPPercorreSequenciaOP<PPDiscoApontamentoRecurso>(arquivos.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecurso,
                                             apontamento.usQtdRecursos, recurso);
    });
  });
  return Responde(hr, pcEmUso);
}

HRESULT CPPServidorOPUso::VerificaUsoApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS regFiltro, uint8_t* pcEmUso) {
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, pcEmUso)) return hr;
  const int32_t operacao = regFiltro.lPonteiroOperacao;
  const int32_t motivo = regFiltro.lPonteiroMotivoRefugo;

  // 1. The reports: their own operation and scrap reason, and the operations of their resources.
  const uint32_t lBitsApontamentos = Arquivos::kArqApontamento | Arquivos::kArqApontamentoRecurso | Arquivos::kArqAO;
  HRESULT hr = PercorreMeses(m_strEmpresa, Arquivos::kArqApontamento, lBitsApontamentos, [&](Arquivos& arquivos) {
    return PercorreApontamentos(arquivos, [&](const PPDiscoApontamento& apontamento) {
      if (operacao && apontamento.lPonteiroOperacaoProducao == operacao) return kAchou;
      if (motivo && apontamento.lPonteiroMotivoRefugo == motivo) return kAchou;
      if (!operacao) return S_OK;
      return PPPercorreSequenciaOP<PPDiscoApontamentoRecurso>(
          arquivos.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecurso, apontamento.usQtdRecursos,
          [&](const PPDiscoApontamentoRecurso& recurso) {
            return PPPercorreSequenciaOP<PPDiscoOperacaoRecurso>(
                arquivos.m_arqAO, recurso.ulPrimeiraOperacao, recurso.usQuantidadeApontamentoOperacao,
                [&](const PPDiscoOperacaoRecurso& registro) {
                  return Achou(registro.ulPonteiroOperacaoProducao == static_cast<uint32_t>(operacao));
                });
          });
    });
  });
  if (hr != S_OK || !operacao) return Responde(hr, pcEmUso);

  // 2. The simple reports of the orders' processes.
  const uint32_t lBitsOrdens = Arquivos::kArqOP | Arquivos::kArqProcesso | Arquivos::kArqAS;
  hr = PercorreMeses(m_strEmpresa, Arquivos::kArqOP, lBitsOrdens, [&](Arquivos& arquivos) {
    return PercorreOrdens(arquivos, [&](const PPDiscoOP& ordem) {
      return PercorreProcessos(arquivos, ordem, [&](const PPDiscoProcesso& processo) {
        return PPPercorreSequenciaOP<PPDiscoApontamentoSimples>(
            arquivos.m_arqAS, processo.ulPrimeiroApontamentoSimples, processo.usQuantidadeApontamentosSimples,
            [&](const PPDiscoApontamentoSimples& simples) { return Achou(simples.lPonteiroOperacaoProducao == operacao); });
      });
    });
  });
  return Responde(hr, pcEmUso);
}

HRESULT CPPServidorOPUso::ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve,
                                                  uint16_t* iNivelGradeEmUso) {
  if (!iNivelGradeEmUso) return E_POINTER;
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, bTeve)) return hr;
  NivelGrade nivel(lPonteiroProduto, bTeve, iNivelGradeEmUso);
  if (nivel.Maximo()) return S_OK;

  // 1. Requirements.
  HRESULT hr =
      PercorreMeses(m_strEmpresa, Arquivos::kArqNecessidade, Arquivos::kArqNecessidade, [&](Arquivos& arquivos) {
        return PercorreNecessidades(arquivos,
                                    [&](const PPDiscoNecessidade& necessidade) { return nivel.Confere(necessidade); });
      });
  if (hr != S_OK) return hr == kAchou ? S_OK : hr;

  // 2. Orders: the product made, the items, the inputs of the processes.
  const uint32_t lBitsOrdens = Arquivos::kArqOP | Arquivos::kArqItem | Arquivos::kArqProcesso | Arquivos::kArqInsumo;
  hr = PercorreMeses(m_strEmpresa, Arquivos::kArqOP, lBitsOrdens, [&](Arquivos& arquivos) {
    return PercorreOrdens(arquivos, [&](const PPDiscoOP& ordem) {
      if (ordem.cTipoProdutoServico == 'P') {
        if (HRESULT hrOrdem = nivel.Confere(ordem); hrOrdem != S_OK) return hrOrdem;
      }
      const HRESULT hrItens = PPPercorreSequenciaOP<PPDiscoItem>(
          arquivos.m_arqItem, ordem.ulPrimeiroItem, ordem.usQtdItens,
          [&](const PPDiscoItem& item) { return item.cTipoProdutoServico == 'P' ? nivel.Confere(item) : S_OK; });
      if (hrItens != S_OK) return hrItens;
      return PercorreProcessos(arquivos, ordem, [&](const PPDiscoProcesso& processo) {
        return PPPercorreSequenciaOP<PPDiscoInsumo>(arquivos.m_arqInsumo, processo.ulPrimeiroInsumo,
                                               processo.usQuantidadeInsumos,
                                               [&](const PPDiscoInsumo& insumo) { return nivel.Confere(insumo); });
      });
    });
  });
  if (hr != S_OK) return hr == kAchou ? S_OK : hr;

  // 3. Reports: the movements they stored, entries of a pending entry included (they name the
  // product whether or not the inventory took them yet), and those of their returns.
  const uint32_t lBitsApontamentos =
      Arquivos::kArqApontamento | Arquivos::kArqMovtoApontamento | Arquivos::kArqRetornoIndExterna;
  hr = PercorreMeses(m_strEmpresa, Arquivos::kArqApontamento, lBitsApontamentos, [&](Arquivos& arquivos) {
    auto movimentos = [&](uint32_t primeiro, uint32_t quantidade) {
      return PPPercorreSequenciaOP<PPDiscoMovimento>(arquivos.m_arqMovtoApontamento, primeiro, quantidade,
                                             [&](const PPDiscoMovimento& movimento) { return nivel.Confere(movimento); });
    };
    return PercorreApontamentos(arquivos, [&](const PPDiscoApontamento& apontamento) {
      HRESULT hrMovimentos = movimentos(apontamento.ulPrimeiraEntrada, apontamento.usQtdMvtoEntrada);
      if (hrMovimentos == S_OK && apontamento.ulMovimentoRefugo)
        hrMovimentos = movimentos(apontamento.ulMovimentoRefugo, 1);
      if (hrMovimentos == S_OK) hrMovimentos = movimentos(apontamento.ulPrimeiroEstoque, apontamento.usQtdMvtoEstoque);
      if (hrMovimentos != S_OK) return hrMovimentos;
      return PPPercorreSequenciaOP<PPDiscoRetorno>(arquivos.m_arqRetornoIndExterna, apontamento.ulPrimeiroRetorno,
                                             apontamento.usQtdRetornoIndustExt, [&](const PPDiscoRetorno& retorno) {
                                               return movimentos(retorno.ulPrimeiroMovimento, retorno.usQtdMvtoEstoque);
                                             });
    });
  });
  return hr == kAchou ? S_OK : hr;
}

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

namespace {

// ---------------------------------------------------------------------------------------------------
// The fields of the period records that the checks read; the other bytes are the order handler's.

#pragma pack(push, 1)
struct RegistroPPOP {  // order header
  uint8_t cReservado0[48];
  int32_t lPonteiroFluxoProcesso;
  uint32_t lPonteiroProduto;
  uint8_t cReservado56[4];
  uint32_t ulPrimeiroProcesso;  // in PPPR
  uint32_t ulPrimeiroItem;      // in PPIT
  uint8_t cReservado68[8];
  int32_t lPonteiroColecao;
  uint8_t cReservado80[28];
  uint16_t usQtdProcessos;
  uint16_t usQtdItens;
  uint8_t cReservado112[6];
  uint16_t usItemGrade1;
  uint16_t usItemGrade2;
  uint16_t usItemGrade3;
  uint8_t cReservado124[46];
  uint8_t cSituacao;
  uint8_t cRemovido;
  uint8_t cReservado172[10];
  uint8_t cTipoProdutoServico;
  uint8_t cReservado183[73];
};
static_assert(sizeof(RegistroPPOP) == 256);
static_assert(offsetof(RegistroPPOP, lPonteiroFluxoProcesso) == 48);
static_assert(offsetof(RegistroPPOP, lPonteiroProduto) == 52);
static_assert(offsetof(RegistroPPOP, ulPrimeiroProcesso) == 60);
static_assert(offsetof(RegistroPPOP, ulPrimeiroItem) == 64);
static_assert(offsetof(RegistroPPOP, lPonteiroColecao) == 76);
static_assert(offsetof(RegistroPPOP, usQtdProcessos) == 108);
static_assert(offsetof(RegistroPPOP, usQtdItens) == 110);
static_assert(offsetof(RegistroPPOP, usItemGrade1) == 118);
static_assert(offsetof(RegistroPPOP, usItemGrade3) == 122);
static_assert(offsetof(RegistroPPOP, cSituacao) == 170);
static_assert(offsetof(RegistroPPOP, cRemovido) == 171);
static_assert(offsetof(RegistroPPOP, cTipoProdutoServico) == 182);

struct RegistroPPPR {  // process of an order
  uint8_t cReservado0[44];
  int32_t lPonteiroProcesso;
  uint32_t ulPrimeiroInsumo;              // in PPMT
  uint32_t ulPrimeiroApontamentoSimples;  // in PPAS
  uint32_t ulPrimeiroRecurso;             // in PPRP
  uint8_t cReservado60[12];
  uint16_t usQuantidadeInsumos;
  uint16_t usQuantidadeApontamentosSimples;
  uint16_t usQuantidadeRecursos;
  uint8_t cReservado78[50];
};
static_assert(sizeof(RegistroPPPR) == 128);
static_assert(offsetof(RegistroPPPR, lPonteiroProcesso) == 44);
static_assert(offsetof(RegistroPPPR, ulPrimeiroInsumo) == 48);
static_assert(offsetof(RegistroPPPR, ulPrimeiroApontamentoSimples) == 52);
static_assert(offsetof(RegistroPPPR, ulPrimeiroRecurso) == 56);
static_assert(offsetof(RegistroPPPR, usQuantidadeInsumos) == 72);
static_assert(offsetof(RegistroPPPR, usQuantidadeApontamentosSimples) == 74);
static_assert(offsetof(RegistroPPPR, usQuantidadeRecursos) == 76);

struct RegistroPPIT {  // item of an order
  uint8_t cReservado0[36];
  uint32_t lPonteiroProduto;
  uint8_t cReservado40[8];
  uint16_t usItemGrade1;
  uint16_t usItemGrade2;
  uint16_t usItemGrade3;
  uint8_t cReservado54[8];
  uint8_t cTipoProdutoServico;
  uint8_t cReservado63[27];
};
static_assert(sizeof(RegistroPPIT) == 90);
static_assert(offsetof(RegistroPPIT, lPonteiroProduto) == 36);
static_assert(offsetof(RegistroPPIT, usItemGrade1) == 48);
static_assert(offsetof(RegistroPPIT, usItemGrade3) == 52);
static_assert(offsetof(RegistroPPIT, cTipoProdutoServico) == 62);

struct RegistroPPMT {  // input of a process
  uint8_t cReservado0[48];
  uint32_t lPonteiroProduto;
  uint8_t cReservado52[24];
  uint16_t usItemGrade1;
  uint16_t usItemGrade2;
  uint16_t usItemGrade3;
  uint8_t cReservado82[46];
};
static_assert(sizeof(RegistroPPMT) == 128);
static_assert(offsetof(RegistroPPMT, lPonteiroProduto) == 48);
static_assert(offsetof(RegistroPPMT, usItemGrade1) == 76);
static_assert(offsetof(RegistroPPMT, usItemGrade3) == 80);

struct RegistroPPRP {  // resource of a process
  uint8_t cReservado0[32];
  int32_t lPonteiroRecurso;
  uint8_t cReservado36[28];
};
static_assert(sizeof(RegistroPPRP) == 64);
static_assert(offsetof(RegistroPPRP, lPonteiroRecurso) == 32);

struct RegistroPPAS {  // simple report of a process
  uint8_t cReservado0[36];
  int32_t lPonteiroOperacaoProducao;
  uint8_t cReservado40[88];
};
static_assert(sizeof(RegistroPPAS) == 128);
static_assert(offsetof(RegistroPPAS, lPonteiroOperacaoProducao) == 36);

struct RegistroPPAP {  // production report
  uint8_t cReservado0[68];
  uint32_t ulPrimeiraEntrada;  // in PPME
  uint32_t ulMovimentoRefugo;  // in PPME, 0: none
  uint8_t cReservado76[8];
  int32_t lPonteiroOperacaoProducao;
  uint8_t cReservado88[4];
  uint32_t ulPrimeiroEstoque;  // in PPME
  uint32_t ulPrimeiroRetorno;  // in PPRI
  uint8_t cReservado100[12];
  int32_t lPonteiroMotivoRefugo;
  uint8_t cReservado116[4];
  uint32_t ulPrimeiroRecursoNaoApontado;  // in PPAR
  uint32_t ulPrimeiroRecurso;             // in PPAR
  uint8_t cReservado128[32];
  uint16_t usQtdMvtoEntrada;
  uint16_t usQtdMvtoEstoque;
  uint16_t usQtdRetornoIndustExt;
  uint16_t usQtdRecursosNaoApontados;
  uint16_t usQtdRecursos;
  uint8_t cReservado170[6];
  uint8_t cExcluido;
  uint8_t cReservado177[23];
};
static_assert(sizeof(RegistroPPAP) == 200);
static_assert(offsetof(RegistroPPAP, ulPrimeiraEntrada) == 68);
static_assert(offsetof(RegistroPPAP, ulMovimentoRefugo) == 72);
static_assert(offsetof(RegistroPPAP, lPonteiroOperacaoProducao) == 84);
static_assert(offsetof(RegistroPPAP, ulPrimeiroEstoque) == 92);
static_assert(offsetof(RegistroPPAP, ulPrimeiroRetorno) == 96);
static_assert(offsetof(RegistroPPAP, lPonteiroMotivoRefugo) == 112);
static_assert(offsetof(RegistroPPAP, ulPrimeiroRecursoNaoApontado) == 120);
static_assert(offsetof(RegistroPPAP, ulPrimeiroRecurso) == 124);
static_assert(offsetof(RegistroPPAP, usQtdMvtoEntrada) == 160);
static_assert(offsetof(RegistroPPAP, usQtdMvtoEstoque) == 162);
static_assert(offsetof(RegistroPPAP, usQtdRetornoIndustExt) == 164);
static_assert(offsetof(RegistroPPAP, usQtdRecursosNaoApontados) == 166);
static_assert(offsetof(RegistroPPAP, usQtdRecursos) == 168);
static_assert(offsetof(RegistroPPAP, cExcluido) == 176);

struct RegistroPPAR {  // resource of a report
  uint8_t cReservado0[40];
  int32_t lPonteiroRecurso;
  uint8_t cReservado44[14];
  uint32_t ulPrimeiraOperacao;  // in PPAO
  uint16_t usQtdOperacoes;
};
static_assert(sizeof(RegistroPPAR) == 64);
static_assert(offsetof(RegistroPPAR, lPonteiroRecurso) == 40);
static_assert(offsetof(RegistroPPAR, ulPrimeiraOperacao) == 58);
static_assert(offsetof(RegistroPPAR, usQtdOperacoes) == 62);

struct RegistroPPAO {  // operation of a resource report
  uint32_t ulPonteiroOperacaoProducao;
  uint8_t cReservado4[44];
};
static_assert(sizeof(RegistroPPAO) == 48);

struct RegistroPPME {  // stock movement of a report
  uint8_t cReservado0[64];
  uint32_t lPonteiroProduto;
  uint16_t usItemGrade1;
  uint16_t usItemGrade2;
  uint16_t usItemGrade3;
  uint8_t cReservado74[30];
};
static_assert(sizeof(RegistroPPME) == 104);
static_assert(offsetof(RegistroPPME, lPonteiroProduto) == 64);
static_assert(offsetof(RegistroPPME, usItemGrade1) == 68);
static_assert(offsetof(RegistroPPME, usItemGrade3) == 72);

struct RegistroPPRI {  // return from outsourced processing
  uint8_t cReservado0[32];
  uint32_t ulPrimeiroMovimento;  // in PPME
  uint8_t cReservado36[22];
  uint16_t usQtdMvtoEstoque;
  uint8_t cReservado60[30];
};
static_assert(sizeof(RegistroPPRI) == 90);
static_assert(offsetof(RegistroPPRI, ulPrimeiroMovimento) == 32);
static_assert(offsetof(RegistroPPRI, usQtdMvtoEstoque) == 58);

struct RegistroPPNC {  // production requirement
  uint8_t cReservado0[44];
  uint32_t lPonteiroProduto;
  uint8_t cReservado48[4];
  int32_t lPonteiroColecao;
  uint8_t cReservado56[12];
  uint16_t usItemGrade1;
  uint16_t usItemGrade2;
  uint16_t usItemGrade3;
  uint8_t cReservado74[21];
  uint8_t cRemovido;
  uint8_t cReservado96[32];
};
static_assert(sizeof(RegistroPPNC) == 128);
static_assert(offsetof(RegistroPPNC, lPonteiroProduto) == 44);
static_assert(offsetof(RegistroPPNC, lPonteiroColecao) == 52);
static_assert(offsetof(RegistroPPNC, usItemGrade1) == 68);
static_assert(offsetof(RegistroPPNC, usItemGrade3) == 72);
static_assert(offsetof(RegistroPPNC, cRemovido) == 95);
#pragma pack(pop)

// ---------------------------------------------------------------------------------------------------
// The walk: months, files, runs

using Arquivos = CPPArquivosOP;

// A visitor's answer: S_OK goes on; kAchou ends every loop up to the check, which sets its flag; a
// failure ends them with itself.
constexpr HRESULT kAchou = S_FALSE;

HRESULT Achou(bool bAchou) { return bAchou ? kAchou : S_OK; }

// Records primeiro .. primeiro + quantidade - 1 of an open file, in order, until a visitor answers
// other than S_OK. A run that starts at the header or wraps past the last record number is damaged
// and read as what it is: a run outside the file.
template <class Registro, class Visita>
HRESULT PercorreSequencia(CPPArqEx& arquivo, uint32_t primeiro, uint32_t quantidade, Visita visita) {
  if (quantidade == 0) return S_OK;
  // The engine fills a buffer of the file's record length.
  if (arquivo.GetTamanhoRegistro() != sizeof(Registro)) return E_UNEXPECTED;
  if (primeiro == 0 || quantidade - 1 > UINT32_MAX - primeiro) return PPErroHResult(kQVErroFimArquivo);
  for (uint32_t i = 0; i < quantidade; ++i) {
    Registro registro;
    if (int erro = arquivo.Le(primeiro + i, &registro)) return PPErroHResultMotor(erro);
    if (HRESULT hr = visita(registro); hr != S_OK) return hr;
  }
  return S_OK;
}

// Records 1 .. count of an open file.
template <class Registro, class Visita>
HRESULT PercorreArquivo(CPPArqEx& arquivo, Visita visita) {
  const int32_t quantidade = arquivo.GetQuantidadeRegistros();
  if (quantidade < 0) return PPErroHResult(kQVErroArquivo);
  return PercorreSequencia<Registro>(arquivo, 1, static_cast<uint32_t>(quantidade), visita);
}

template <class Visita>
HRESULT PercorreOrdens(Arquivos& arquivos, Visita visita) {
  return PercorreArquivo<RegistroPPOP>(
      arquivos.m_arqOP, [&](const RegistroPPOP& ordem) { return ordem.cRemovido ? S_OK : visita(ordem); });
}

template <class Visita>
HRESULT PercorreProcessos(Arquivos& arquivos, const RegistroPPOP& ordem, Visita visita) {
  return PercorreSequencia<RegistroPPPR>(arquivos.m_arqProcesso, ordem.ulPrimeiroProcesso, ordem.usQtdProcessos,
                                         visita);
}

template <class Visita>
HRESULT PercorreApontamentos(Arquivos& arquivos, Visita visita) {
  return PercorreArquivo<RegistroPPAP>(arquivos.m_arqApontamento, [&](const RegistroPPAP& apontamento) {
    return apontamento.cExcluido ? S_OK : visita(apontamento);
  });
}

template <class Visita>
HRESULT PercorreNecessidades(Arquivos& arquivos, Visita visita) {
  return PercorreArquivo<RegistroPPNC>(arquivos.m_arqNecessidade, [&](const RegistroPPNC& necessidade) {
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
  // 949 (01/1927) to 2148 (12/2026): every month that a day number can fall in.
  const uint16_t ultimo = QVDataParaMesAno(QVDataMaxima());
  for (uint16_t mes = QVDataParaMesAno(QVDataMinima()); mes <= ultimo; ++mes) {
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
    if (*m_iNivel == 0 && registro.usItemGrade1) *m_iNivel = 1;
    if (*m_iNivel == 1 && registro.usItemGrade2) *m_iNivel = 2;
    if (*m_iNivel == 2 && registro.usItemGrade3) *m_iNivel = 3;
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
  m_strEmpresa = CString(regPS.szEmpresa, static_cast<int>(sizeof regPS.szEmpresa));
  m_usUsuario = regPS.usUsuario;
  m_lSessao = regPS.lNumeroSessao;
  m_strDiretorio = CPPNomesArquivos::GetDiretorioDados(m_strEmpresa);
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  m_cInicializado = 1;
  return S_OK;
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
        return PercorreOrdens(arquivos, [&](const RegistroPPOP& ordem) {
          return PercorreProcessos(arquivos, ordem, [&](const RegistroPPPR& processo) {
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
    return PercorreOrdens(arquivos, [&](const RegistroPPOP& ordem) {
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
            arquivos, [&](const RegistroPPNC& necessidade) { return Achou(necessidade.lPonteiroColecao == colecao); });
      });
  return Responde(hr, pcEmUso);
}

HRESULT CPPServidorOPUso::VerificaUsoRecursoOP(int32_t lPonteiroRecurso, uint8_t* pcEmUso) {
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, pcEmUso)) return hr;
  const uint32_t lBits = Arquivos::kArqOP | Arquivos::kArqProcesso | Arquivos::kArqRP;
  const HRESULT hr = PercorreMeses(m_strEmpresa, Arquivos::kArqOP, lBits, [&](Arquivos& arquivos) {
    return PercorreOrdens(arquivos, [&](const RegistroPPOP& ordem) {
      if (!EmAberto(ordem.cSituacao)) return S_OK;
      return PercorreProcessos(arquivos, ordem, [&](const RegistroPPPR& processo) {
        return PercorreSequencia<RegistroPPRP>(
            arquivos.m_arqRP, processo.ulPrimeiroRecurso, processo.usQuantidadeRecursos,
            [&](const RegistroPPRP& recurso) { return Achou(recurso.lPonteiroRecurso == lPonteiroRecurso); });
      });
    });
  });
  return Responde(hr, pcEmUso);
}

HRESULT CPPServidorOPUso::VerificaUsoRecursoApontamento(int32_t lPonteiroRecurso, uint8_t* pcEmUso) {
  if (HRESULT hr = IniciaVerificacao(m_cInicializado, pcEmUso)) return hr;
  const uint32_t lBits = Arquivos::kArqApontamento | Arquivos::kArqApontamentoRecurso;
  const HRESULT hr = PercorreMeses(m_strEmpresa, Arquivos::kArqApontamento, lBits, [&](Arquivos& arquivos) {
    return PercorreApontamentos(arquivos, [&](const RegistroPPAP& apontamento) {
      auto recurso = [&](const RegistroPPAR& registro) { return Achou(registro.lPonteiroRecurso == lPonteiroRecurso); };
      const HRESULT hrNaoApontados =
          PercorreSequencia<RegistroPPAR>(arquivos.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecursoNaoApontado,
                                          apontamento.usQtdRecursosNaoApontados, recurso);
      if (hrNaoApontados != S_OK) return hrNaoApontados;
      return PercorreSequencia<RegistroPPAR>(arquivos.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecurso,
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
    return PercorreApontamentos(arquivos, [&](const RegistroPPAP& apontamento) {
      if (operacao && apontamento.lPonteiroOperacaoProducao == operacao) return kAchou;
      if (motivo && apontamento.lPonteiroMotivoRefugo == motivo) return kAchou;
      if (!operacao) return S_OK;
      return PercorreSequencia<RegistroPPAR>(
          arquivos.m_arqApontamentoRecurso, apontamento.ulPrimeiroRecurso, apontamento.usQtdRecursos,
          [&](const RegistroPPAR& recurso) {
            return PercorreSequencia<RegistroPPAO>(
                arquivos.m_arqAO, recurso.ulPrimeiraOperacao, recurso.usQtdOperacoes,
                [&](const RegistroPPAO& registro) {
                  return Achou(registro.ulPonteiroOperacaoProducao == static_cast<uint32_t>(operacao));
                });
          });
    });
  });
  if (hr != S_OK || !operacao) return Responde(hr, pcEmUso);

  // 2. The simple reports of the orders' processes.
  const uint32_t lBitsOrdens = Arquivos::kArqOP | Arquivos::kArqProcesso | Arquivos::kArqAS;
  hr = PercorreMeses(m_strEmpresa, Arquivos::kArqOP, lBitsOrdens, [&](Arquivos& arquivos) {
    return PercorreOrdens(arquivos, [&](const RegistroPPOP& ordem) {
      return PercorreProcessos(arquivos, ordem, [&](const RegistroPPPR& processo) {
        return PercorreSequencia<RegistroPPAS>(
            arquivos.m_arqAS, processo.ulPrimeiroApontamentoSimples, processo.usQuantidadeApontamentosSimples,
            [&](const RegistroPPAS& simples) { return Achou(simples.lPonteiroOperacaoProducao == operacao); });
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
                                    [&](const RegistroPPNC& necessidade) { return nivel.Confere(necessidade); });
      });
  if (hr != S_OK) return hr == kAchou ? S_OK : hr;

  // 2. Orders: the product made, the items, the inputs of the processes.
  const uint32_t lBitsOrdens = Arquivos::kArqOP | Arquivos::kArqItem | Arquivos::kArqProcesso | Arquivos::kArqInsumo;
  hr = PercorreMeses(m_strEmpresa, Arquivos::kArqOP, lBitsOrdens, [&](Arquivos& arquivos) {
    return PercorreOrdens(arquivos, [&](const RegistroPPOP& ordem) {
      if (ordem.cTipoProdutoServico == 'P') {
        if (HRESULT hrOrdem = nivel.Confere(ordem); hrOrdem != S_OK) return hrOrdem;
      }
      const HRESULT hrItens = PercorreSequencia<RegistroPPIT>(
          arquivos.m_arqItem, ordem.ulPrimeiroItem, ordem.usQtdItens,
          [&](const RegistroPPIT& item) { return item.cTipoProdutoServico == 'P' ? nivel.Confere(item) : S_OK; });
      if (hrItens != S_OK) return hrItens;
      return PercorreProcessos(arquivos, ordem, [&](const RegistroPPPR& processo) {
        return PercorreSequencia<RegistroPPMT>(arquivos.m_arqInsumo, processo.ulPrimeiroInsumo,
                                               processo.usQuantidadeInsumos,
                                               [&](const RegistroPPMT& insumo) { return nivel.Confere(insumo); });
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
      return PercorreSequencia<RegistroPPME>(arquivos.m_arqMovtoApontamento, primeiro, quantidade,
                                             [&](const RegistroPPME& movimento) { return nivel.Confere(movimento); });
    };
    return PercorreApontamentos(arquivos, [&](const RegistroPPAP& apontamento) {
      HRESULT hrMovimentos = movimentos(apontamento.ulPrimeiraEntrada, apontamento.usQtdMvtoEntrada);
      if (hrMovimentos == S_OK && apontamento.ulMovimentoRefugo)
        hrMovimentos = movimentos(apontamento.ulMovimentoRefugo, 1);
      if (hrMovimentos == S_OK) hrMovimentos = movimentos(apontamento.ulPrimeiroEstoque, apontamento.usQtdMvtoEstoque);
      if (hrMovimentos != S_OK) return hrMovimentos;
      return PercorreSequencia<RegistroPPRI>(arquivos.m_arqRetornoIndExterna, apontamento.ulPrimeiroRetorno,
                                             apontamento.usQtdRetornoIndustExt, [&](const RegistroPPRI& retorno) {
                                               return movimentos(retorno.ulPrimeiroMovimento, retorno.usQtdMvtoEstoque);
                                             });
    });
  });
  return hr == kAchou ? S_OK : hr;
}

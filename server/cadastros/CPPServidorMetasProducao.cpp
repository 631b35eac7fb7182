#include "server/cadastros/CPPServidorMetasProducao.h"

#include <algorithm>

#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "foundation/QVTexto.h"
#include "platform/com/currency.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "server/CPPServidorMestrePP.h"
#include "server/PPDatas.h"
#include "server/cadastros/CPPServidorCadastro.h"

namespace {

// The year-to-date map starts with this many chains.
constexpr uint32_t kTamanhoMapaAcumulado = 217;
// The months a usage check walks: 01/1927 to 12/2026.
constexpr uint16_t kPrimeiroMesAno = 949;
constexpr uint16_t kUltimoMesAno = 2148;
constexpr uint16_t kNivelGradeMaximo = 3;

constexpr const char* kTextoHistorico = "Meta de Produção. Filial: %i; Projeto: %i; %s: %i-%i-%i-%i; Quant.: %s"_ansi;

// The largest percentage the 16 bits hold.
constexpr int64_t kPercentualMaximo = UINT16_MAX;

// The integer part of parte / total x 100, the ratio taken to four decimals first; 0 unless the
// divisor is above zero. A target overrun beyond 65535 % would wrap to a small figure in 16 bits:
// it reads as the largest one instead.
uint16_t Percentual(CY parte, CY total) {
  if (total.int64 <= 0) return 0;
  double dParte = 0;
  double dTotal = 0;
  VarR8FromCy(parte, &dParte);
  VarR8FromCy(total, &dTotal);
  CY razao{};
  // Only a ratio beyond the currency's range fails, far beyond what 16 bits hold.
  if (FAILED(VarCyFromR8(dParte / dTotal, &razao))) return dParte > 0 ? kPercentualMaximo : 0;
  return static_cast<uint16_t>(std::clamp<int64_t>(razao.int64 / 100, 0, kPercentualMaximo));
}

// Adds the four month quantities of a target (COM or disk record) to a sum. The records are packed:
// their quantities are added in place, never bound to a reference.
template <class Parcela>
void SomaQuantidades(_REG_PP_META_PRODUCAOPS& soma, const Parcela& parcela) {
  soma.vQuantPretendida.int64 += parcela.vQuantPretendida.int64;
  soma.vQuantProgramada.int64 += parcela.vQuantProgramada.int64;
  soma.vQuantProduzida.int64 += parcela.vQuantProduzida.int64;
  soma.vQuantCancelada.int64 += parcela.vQuantCancelada.int64;
}

}  // namespace

// ---- Shared helpers ------------------------------------------------------------------------------

_REG_PP_META_PRODUCAOPS CPPServidorMetasProducao::DiscoParaMeta(const PPRegistroMetaProducao& disco) {
  _REG_PP_META_PRODUCAOPS meta{};
  meta.regKey = ChaveDoDisco(disco);
  meta.vQuantPretendida.int64 = disco.vQuantPretendida.int64;
  meta.vQuantProgramada.int64 = disco.vQuantProgramada.int64;
  meta.vQuantProduzida.int64 = disco.vQuantProduzida.int64;
  meta.vQuantCancelada.int64 = disco.vQuantCancelada.int64;
  meta.ulPonteiroUsuario = disco.ulPonteiroUsuario;
  meta.usDataInclusao = disco.usDataInclusao;
  meta.usDataAlteracao = disco.usDataAlteracao;
  return meta;
}

PPRegistroMetaProducao CPPServidorMetasProducao::MetaParaDisco(const _REG_PP_META_PRODUCAOPS& meta) {
  PPRegistroMetaProducao disco{};
  disco.vQuantPretendida.int64 = meta.vQuantPretendida.int64;
  disco.vQuantProgramada.int64 = meta.vQuantProgramada.int64;
  disco.vQuantProduzida.int64 = meta.vQuantProduzida.int64;
  disco.vQuantCancelada.int64 = meta.vQuantCancelada.int64;
  disco.ulPonteiroProjeto = meta.regKey.ulPonteiroProjeto;
  disco.regPosicaoProdutoServico = meta.regKey.regPosicaoProdutoServico;
  disco.ulPonteiroFilial = meta.regKey.ulPonteiroFilial;
  disco.usMesAno = meta.regKey.usMesAno;
  disco.ulPonteiroUsuario = meta.ulPonteiroUsuario;
  disco.usDataInclusao = meta.usDataInclusao;
  disco.usDataAlteracao = meta.usDataAlteracao;
  disco.cTipoProdutoServico = meta.regKey.cTipoProdutoServico;
  return disco;
}

_REG_PP_KEY_META_PRODUCAOPS CPPServidorMetasProducao::ChaveDoDisco(const PPRegistroMetaProducao& disco) {
  _REG_PP_KEY_META_PRODUCAOPS chave{};
  chave.ulPonteiroFilial = disco.ulPonteiroFilial;
  chave.usMesAno = disco.usMesAno;
  chave.ulPonteiroProjeto = disco.ulPonteiroProjeto;
  chave.regPosicaoProdutoServico = disco.regPosicaoProdutoServico;
  chave.cTipoProdutoServico = disco.cTipoProdutoServico;
  return chave;
}

HRESULT CPPServidorMetasProducao::VerificaInicializado() const {
  return GetInicializado() ? S_OK : PPErroHResult(kPPErroNaoInicializado);
}

HRESULT CPPServidorMetasProducao::PeriodoAberto(uint16_t* pusInicio, uint16_t* pusFim) {
  CPPDadosMestre mestre;
  if (HRESULT hr = LeBufferMestrePP(&mestre); FAILED(hr)) return hr;
  *pusInicio = QVDataParaMesAno(mestre.GetDataInferiorPeriodo());
  *pusFim = QVDataParaMesAno(mestre.GetDataSuperiorPeriodo());
  return S_OK;
}

HRESULT CPPServidorMetasProducao::VerificaMesAberto(uint16_t usMesAno) {
  uint16_t inicio = 0;
  uint16_t fim = 0;
  if (HRESULT hr = PeriodoAberto(&inicio, &fim)) return hr;
  if (usMesAno < inicio || usMesAno > fim) return PPErroHResult(kPPErroForaPeriodo);
  return S_OK;
}

HRESULT CPPServidorMetasProducao::FaixaMeses(uint16_t usInicio, uint16_t usFim, uint16_t* pusInicio,
                                             uint16_t* pusFim) {
  uint16_t inicio = 0;
  uint16_t fim = 0;
  if (HRESULT hr = PeriodoAberto(&inicio, &fim)) return hr;
  *pusInicio = usInicio >= inicio && usInicio <= fim ? usInicio : inicio;
  *pusFim = usFim >= *pusInicio && usFim <= fim ? usFim : fim;
  return S_OK;
}

HRESULT CPPServidorMetasProducao::AbreArquivos(Arquivos& arquivos, CQVArqMarca* marca) {
  if (HRESULT hr = arquivos.Inicializa(GetEmpresa(), GetUsuario(), GetNumeroSessao())) return hr;
  arquivos.SetArquivos(Arquivos::kArqMetasProducao);
  if (!marca) return S_OK;
  return PPErroHResultMotor(marca->Marca(arquivos.GetDiretorio(), kPPMarcaMetas));
}

HRESULT CPPServidorMetasProducao::AbreMes(Arquivos& arquivos, uint16_t usMesAno, char cModo, bool bCria) {
  if (!bCria && !arquivos.Existe(Arquivos::kArqMetasProducao, usMesAno))
    return PPErroHResult(kQVErroFimArquivo);
  return arquivos.SetModo(usMesAno, cModo);
}

HRESULT CPPServidorMetasProducao::QuantidadeRegistros(CPPArqEx& arquivo, uint32_t* pulQuantidade) {
  const int32_t quantidade = arquivo.GetQuantidadeRegistros();
  if (quantidade < 0) {
    const int erro = arquivo.AbreFisico();
    return erro ? PPErroHResultMotor(erro) : E_FAIL;
  }
  *pulQuantidade = static_cast<uint32_t>(quantidade);
  return S_OK;
}

HRESULT CPPServidorMetasProducao::ProcuraMeta(CPPArqEx& arquivo, const _REG_PP_KEY_META_PRODUCAOPS& chave,
                                              uint32_t ulIgnorar, uint32_t* pulRegistro,
                                              PPRegistroMetaProducao* pDisco) {
  *pulRegistro = 0;
  return PercorreMetas(arquivo, [&](uint32_t registro, const PPRegistroMetaProducao& disco) {
    if (registro == ulIgnorar || !MesmaChave(ChaveDoDisco(disco), chave)) return true;
    *pulRegistro = registro;
    *pDisco = disco;
    return false;
  });
}

void CPPServidorMetasProducao::GravaHistorico(char cOperacao, const PPRegistroMetaProducao& disco) {
  if (!m_historico.EstaAberto()) return;
  const _REG_POSICAO_PRODUTOPS posicao = disco.regPosicaoProdutoServico;
  CY quantidade{};
  quantidade.int64 = disco.vQuantPretendida.int64;
  m_historico.GravaLinha(cOperacao, kTextoHistorico, static_cast<int>(disco.ulPonteiroFilial),
                         static_cast<int>(disco.ulPonteiroProjeto),
                         static_cast<const char*>(PPTextoProdutoServico(disco.cTipoProdutoServico)),
                         static_cast<int>(posicao.lPonteiroProduto), posicao.iPonteiroItemGrade1,
                         posicao.iPonteiroItemGrade2, posicao.iPonteiroItemGrade3,
                         static_cast<const char*>(QVFormataValorDecimais(quantidade, 4)));
}

// ---- Session --------------------------------------------------------------------------------------

CPPServidorMetasProducao::~CPPServidorMetasProducao() { CPPServidorMetasProducao::Finaliza(); }

HRESULT CPPServidorMetasProducao::Inicializa(_REG_VARMO_INICIALIZAPS regPS, bool bCOM) {
  if (GetInicializado()) {
    if (HRESULT hr = Finaliza(); FAILED(hr)) return hr;
  }
  // A company too long for the session record names no directory: the session stays unstarted.
  CPPBufferDados::Inicializa(PPTextoCampo(regPS.szEmpresa), regPS.usUsuario, regPS.lNumeroSessao);
  if (!GetInicializado()) return PPErroHResult(kPPErroDiretorioEmpresa);
  if (bCOM) {
    HRESULT hr = GetIMestrePP() ? S_OK : GetHR();
    if (SUCCEEDED(hr)) hr = m_historico.Abre(GetEmpresa(), GetUsuario(), GetNumeroSessao());
    if (FAILED(hr)) {
      Finaliza();
      return hr;
    }
  }
  m_regFiltro = _REG_PP_FILTRO_META_PRODUCAOPS{};
  return S_OK;
}

int32_t CPPServidorMetasProducao::Finaliza() {
  m_usMesAnoAcumulado = 0;
  m_acumulado.RemoveAll();
  m_calendario.Finaliza();
  m_historico.Fecha();
  return CPPBufferDados::Finaliza();
}

HRESULT CPPServidorMetasProducao::SetFiltro(_REG_PP_FILTRO_META_PRODUCAOPS regFiltro) {
  m_regFiltro = regFiltro;
  return S_OK;
}

HRESULT CPPServidorMetasProducao::LimpaFiltro() {
  m_regFiltro = _REG_PP_FILTRO_META_PRODUCAOPS{};
  return S_OK;
}

// ---- Writers --------------------------------------------------------------------------------------

HRESULT CPPServidorMetasProducao::Grava(uint32_t ulChave, _REG_PP_META_PRODUCAOPS regPS, uint32_t* pulChave) {
  if (!pulChave) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  const _REG_PP_KEY_META_PRODUCAOPS chave = regPS.regKey;
  const uint16_t usMesAno = chave.usMesAno;
  CQVArqMarca marca;  // held until the call returns
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, &marca)) return hr;
  if (HRESULT hr = VerificaMesAberto(usMesAno)) return hr;
  if (HRESULT hr = AbreMes(arquivos, usMesAno, 'G', true)) return hr;
  CPPArqEx& arquivo = arquivos.m_arqMetasProducao;

  // A key of another month names no record of this one: it cannot exempt one from the check.
  const bool bAlteracao = ulChave != 0;
  const uint32_t ulRegistro = bAlteracao && QVGetMesAnoDaChave(ulChave) == usMesAno ? QVGetNumeroDaChave(ulChave) : 0;
  uint32_t ulDuplicado = 0;
  PPRegistroMetaProducao duplicado;
  if (HRESULT hr = ProcuraMeta(arquivo, chave, ulRegistro, &ulDuplicado, &duplicado)) return hr;
  if (ulDuplicado != 0) return PPErroHResult(kPPErroMetaDuplicada);

  PPRegistroMetaProducao disco = MetaParaDisco(regPS);
  const uint16_t hoje = QVGetDataAtual(false);
  if (bAlteracao) {
    if (ulRegistro == 0) return PPErroHResult(kPPErroQtdLimitada);
    PPRegistroMetaProducao gravado;
    if (int erro = arquivo.Le(ulRegistro, &gravado)) return PPErroHResultMotor(erro);
    if (gravado.cRemovido != 0) return PPErroHResult(kPPErroRegistroRemovido);
    if (!MesmaChave(ChaveDoDisco(gravado), chave)) return PPErroHResult(kPPErroQtdLimitada);
    disco.vQuantProgramada.int64 = gravado.vQuantProgramada.int64;
    disco.vQuantProduzida.int64 = gravado.vQuantProduzida.int64;
    disco.vQuantCancelada.int64 = gravado.vQuantCancelada.int64;
    disco.usDataInclusao = gravado.usDataInclusao;
  } else {
    disco.vQuantProgramada.int64 = 0;
    disco.vQuantProduzida.int64 = 0;
    disco.vQuantCancelada.int64 = 0;
    disco.usDataInclusao = hoje;
  }
  disco.ulPonteiroUsuario = GetUsuario();
  disco.usDataAlteracao = hoje;
  uint32_t registro = ulRegistro;
  if (int erro = arquivo.Grava(&disco, &registro)) return PPErroHResultMotor(erro);
  *pulChave = QVMontaChave(usMesAno, registro);

  GravaHistorico(bAlteracao ? kPPHistoricoAlteracao : kPPHistoricoInclusao, disco);
  if (HRESULT hr = arquivos.Fecha()) return hr;
  if (HRESULT hr = PPErroHResultMotor(marca.Desmarca())) return hr;
  if (bAlteracao) return S_OK;

  // A new target gets at once what the orders already scheduled, produced and cancelled for it.
  _REG_PP_FILTRO_CALCULO_META_PRODUCAOPS calculo{};
  calculo.usMesAnoInicio = usMesAno;
  calculo.usMesAnoFim = usMesAno;
  calculo.ulPonteiroFilial = chave.ulPonteiroFilial;
  calculo.ulPonteiroProjeto = chave.ulPonteiroProjeto;
  calculo.regPosicaoProdutoServico = chave.regPosicaoProdutoServico;
  calculo.cTipoProdutoServico = chave.cTipoProdutoServico;
  return CalcularMetasProducao(calculo);
}

HRESULT CPPServidorMetasProducao::Remove(uint32_t ulChave) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChave);
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChave);
  if (usMesAno == 0 || ulRegistro == 0) return PPErroHResult(kPPErroChaveAusente);
  CQVArqMarca marca;
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, &marca)) return hr;
  if (HRESULT hr = VerificaMesAberto(usMesAno)) return hr;
  if (HRESULT hr = AbreMes(arquivos, usMesAno, 'G', false)) return hr;
  CPPArqEx& arquivo = arquivos.m_arqMetasProducao;
  PPRegistroMetaProducao disco;
  if (int erro = arquivo.Le(ulRegistro, &disco)) return PPErroHResultMotor(erro);
  disco.ulPonteiroUsuario = GetUsuario();
  disco.usDataAlteracao = QVGetDataAtual(false);
  disco.cRemovido = 1;
  uint32_t registro = ulRegistro;
  if (int erro = arquivo.Grava(&disco, &registro)) return PPErroHResultMotor(erro);
  GravaHistorico(kPPHistoricoExclusao, disco);
  if (HRESULT hr = arquivos.Fecha()) return hr;
  return PPErroHResultMotor(marca.Desmarca());
}

// ---- Reading --------------------------------------------------------------------------------------

bool CPPServidorMetasProducao::PassaFiltro(const _REG_PP_FILTRO_META_PRODUCAOPS& filtro, uint32_t ulChave,
                                           const PPRegistroMetaProducao& disco) {
  if (disco.cRemovido != 0) return false;
  if (filtro.ulChaveMetaProducao != 0 && filtro.ulChaveMetaProducao != ulChave) return false;
  if (filtro.ulPonteiroProjeto != 0 && filtro.ulPonteiroProjeto != disco.ulPonteiroProjeto) return false;
  const uint8_t cTipo = disco.cTipoProdutoServico;
  if (filtro.cFiltroProdutoServico != 0) {
    const bool bAdmite = ((filtro.cFiltroProdutoServico & 1) != 0 && cTipo == 'P') ||
                         ((filtro.cFiltroProdutoServico & 2) != 0 && cTipo == 'S');
    if (!bAdmite) return false;
  }
  const _REG_POSICAO_PRODUTOPS de = filtro.regPosicaoProdutoServico;
  const _REG_POSICAO_PRODUTOPS posicao = disco.regPosicaoProdutoServico;
  if (de.lPonteiroProduto != 0 &&
      (filtro.cTipoProdutoServico != cTipo || de.lPonteiroProduto != posicao.lPonteiroProduto))
    return false;
  if (de.iPonteiroItemGrade1 != 0 && de.iPonteiroItemGrade1 != posicao.iPonteiroItemGrade1) return false;
  if (de.iPonteiroItemGrade2 != 0 && de.iPonteiroItemGrade2 != posicao.iPonteiroItemGrade2) return false;
  if (de.iPonteiroItemGrade3 != 0 && de.iPonteiroItemGrade3 != posicao.iPonteiroItemGrade3) return false;
  if (filtro.ulPonteiroFilial != 0 && filtro.ulPonteiroFilial != disco.ulPonteiroFilial) return false;
  if (filtro.usMesAnoInicio != 0 && disco.usMesAno < filtro.usMesAnoInicio) return false;
  return filtro.usMesAnoFim == 0 || disco.usMesAno <= filtro.usMesAnoFim;
}

HRESULT CPPServidorMetasProducao::LeMeta(Arquivos& arquivos, uint32_t ulChave, uint16_t usTipoLeitura,
                                         const _REG_PP_FILTRO_META_PRODUCAOPS& filtro, _REG_PP_META_PRODUCAOPS* pMeta) {
  *pMeta = _REG_PP_META_PRODUCAOPS{};
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChave);
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChave);
  if (usMesAno == 0 || ulRegistro == 0) return PPErroHResult(kPPErroChaveAusente);
  const bool bAcumulados = (usTipoLeitura & kLeAcumulados) != 0;
  if (bAcumulados && usMesAno != m_usMesAnoAcumulado) {
    if (HRESULT hr = AcumulaAno(usMesAno)) return hr;
  }
  if (HRESULT hr = AbreMes(arquivos, usMesAno, 'L', false)) return hr;
  PPRegistroMetaProducao disco;
  if (int erro = arquivos.m_arqMetasProducao.Le(ulRegistro, &disco)) return PPErroHResultMotor(erro);
  if (!PassaFiltro(filtro, ulChave, disco)) return PPErroHResult(kPPErroMetaNaoPassaFiltro);
  *pMeta = DiscoParaMeta(disco);
  pMeta->ulChaveMetaProducao = ulChave;
  if (!bAcumulados) return S_OK;
  return CalculaAcumulados(pMeta);
}

HRESULT CPPServidorMetasProducao::AcumulaAno(uint16_t usMesAno) {
  m_usMesAnoAcumulado = 0;
  m_acumulado.InitHashTable(kTamanhoMapaAcumulado);
  int mes = 0;
  int ano = 0;
  QVSeparaMesAno(usMesAno, &mes, &ano);
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, nullptr)) return hr;
  for (uint16_t usMes = QVMontaMesAno(1, ano); usMes <= usMesAno; ++usMes) {
    if (!arquivos.Existe(Arquivos::kArqMetasProducao, usMes)) continue;
    if (HRESULT hr = AbreMes(arquivos, usMes, 'L', false)) return hr;
    const HRESULT hr = PercorreMetas(arquivos.m_arqMetasProducao, [&](uint32_t, const PPRegistroMetaProducao& disco) {
      _REG_PP_META_PRODUCAOPS meta = DiscoParaMeta(disco);
      meta.regKey.usMesAno = 0;
      _REG_PP_META_PRODUCAOPS* soma = m_acumulado.Procura(meta.regKey);
      if (!soma) {
        m_acumulado.Guarda(meta.regKey, meta);
        return true;
      }
      SomaQuantidades(*soma, meta);
      return true;
    });
    if (FAILED(hr)) return hr;
  }
  if (HRESULT hr = arquivos.Fecha()) return hr;
  m_usMesAnoAcumulado = usMesAno;
  return S_OK;
}

HRESULT CPPServidorMetasProducao::CalculaAcumulados(_REG_PP_META_PRODUCAOPS* pMeta) {
  _REG_PP_KEY_META_PRODUCAOPS chaveAno = pMeta->regKey;
  chaveAno.usMesAno = 0;
  if (const _REG_PP_META_PRODUCAOPS* soma = m_acumulado.Procura(chaveAno)) {
    pMeta->vQuantPretendidaAcumulada.int64 = soma->vQuantPretendida.int64;
    pMeta->vQuantProgramadaAcumulada.int64 = soma->vQuantProgramada.int64;
    pMeta->vQuantProduzidaAcumulada.int64 = soma->vQuantProduzida.int64;
    pMeta->vQuantCanceladaAcumulada.int64 = soma->vQuantCancelada.int64;
  }
  if (!m_calendario.GetInicializado()) {
    if (HRESULT hr = m_calendario.Inicializa(this); FAILED(hr)) return hr;
  }
  CPPDadosCalendarioIndustrialResposta dias;
  const auto usFilial = static_cast<uint16_t>(pMeta->regKey.ulPonteiroFilial);
  if (HRESULT hr = m_calendario.GetDiasUteis(usFilial, pMeta->regKey.usMesAno, dias); FAILED(hr)) return hr;
  if (dias.GetDiasUteisNoMes() != 0 && dias.GetDiasUteisNoAno() != 0) {
    pMeta->usPercPretendida = static_cast<uint16_t>(dias.GetDiasUteisPassadosNoMes() * 100 / dias.GetDiasUteisNoMes());
    pMeta->usPercPretendidaAcumulada =
        static_cast<uint16_t>(dias.GetDiasUteisPassadosNoAno() * 100 / dias.GetDiasUteisNoAno());
  }
  const _REG_PP_META_PRODUCAOPS& m = *pMeta;
  pMeta->usPercProgramada = Percentual(m.vQuantProgramada, m.vQuantPretendida);
  pMeta->usPercProduzida = Percentual(m.vQuantProduzida, m.vQuantPretendida);
  pMeta->usPercCancelada = Percentual(m.vQuantCancelada, m.vQuantProgramada);
  pMeta->usPercProgramadaAcumulada = Percentual(m.vQuantProgramadaAcumulada, m.vQuantPretendidaAcumulada);
  pMeta->usPercProduzidaAcumulada = Percentual(m.vQuantProduzidaAcumulada, m.vQuantPretendidaAcumulada);
  pMeta->usPercCanceladaAcumulada = Percentual(m.vQuantCanceladaAcumulada, m.vQuantProgramadaAcumulada);
  return S_OK;
}

HRESULT CPPServidorMetasProducao::LePonteiros(uint32_t ulQtd, const uint32_t* pulChaves,
                                              _REG_PP_META_PRODUCAOPS* pRegPS, uint16_t usTipoLeitura) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (ulQtd > 0 && (!pulChaves || !pRegPS)) return E_POINTER;
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, nullptr)) return hr;
  for (uint32_t i = 0; i < ulQtd; ++i) {
    if (HRESULT hr = LeMeta(arquivos, pulChaves[i], usTipoLeitura, m_regFiltro, &pRegPS[i])) return hr;
  }
  return arquivos.Fecha();
}

HRESULT CPPServidorMetasProducao::BuscaMetas(uint16_t usTipoLeitura, std::vector<_REG_PP_META_PRODUCAOPS>* pMetas) {
  pMetas->clear();
  uint16_t inicio = 0;
  uint16_t fim = 0;
  if (HRESULT hr = PeriodoAberto(&inicio, &fim)) return hr;
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, nullptr)) return hr;
  for (uint16_t usMesAno = inicio; usMesAno != 0 && usMesAno <= fim; ++usMesAno) {
    if (!arquivos.Existe(Arquivos::kArqMetasProducao, usMesAno)) continue;
    if (HRESULT hr = AbreMes(arquivos, usMesAno, 'L', false)) return hr;
    uint32_t quantidade = 0;
    if (HRESULT hr = QuantidadeRegistros(arquivos.m_arqMetasProducao, &quantidade)) return hr;
    for (uint32_t registro = 1; registro <= quantidade; ++registro) {
      _REG_PP_META_PRODUCAOPS meta;
      const HRESULT hr = LeMeta(arquivos, QVMontaChave(usMesAno, registro), usTipoLeitura, m_regFiltro, &meta);
      if (hr == PPErroHResult(kPPErroMetaNaoPassaFiltro)) continue;
      if (FAILED(hr)) return hr;
      pMetas->push_back(meta);
    }
  }
  return arquivos.Fecha();
}

HRESULT CPPServidorMetasProducao::EntregaLista(const std::vector<_REG_PP_META_PRODUCAOPS>& metas,
                                               _LISTA_REG_PP_META_PRODUCAOPS* pLista) {
  *pLista = _LISTA_REG_PP_META_PRODUCAOPS{};
  if (metas.empty()) return S_OK;
  auto* lista = static_cast<_REG_PP_META_PRODUCAOPS*>(CoTaskMemAlloc(metas.size() * sizeof(_REG_PP_META_PRODUCAOPS)));
  if (!lista) return E_OUTOFMEMORY;
  std::copy(metas.begin(), metas.end(), lista);
  pLista->ulQtd = static_cast<uint32_t>(metas.size());
  pLista->pregLista = lista;
  return S_OK;
}

HRESULT CPPServidorMetasProducao::BuscaRegistros(_LISTA_REG_PP_META_PRODUCAOPS* pLista, uint16_t usTipoLeitura) {
  if (!pLista) return E_POINTER;
  *pLista = _LISTA_REG_PP_META_PRODUCAOPS{};
  if (HRESULT hr = VerificaInicializado()) return hr;
  std::vector<_REG_PP_META_PRODUCAOPS> metas;
  if (HRESULT hr = BuscaMetas(usTipoLeitura, &metas)) return hr;
  return EntregaLista(metas, pLista);
}

HRESULT CPPServidorMetasProducao::BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  pRegPS->lQtd = 0;
  pRegPS->plPonteiro = nullptr;
  std::vector<_REG_PP_META_PRODUCAOPS> metas;
  if (HRESULT hr = BuscaMetas(0, &metas)) return hr;
  std::vector<uint32_t> chaves;
  chaves.reserve(metas.size());
  // A packed field is copied, not bound to push_back's reference.
  for (const _REG_PP_META_PRODUCAOPS& meta : metas) chaves.push_back(uint32_t{meta.ulChaveMetaProducao});
  return PPEntregaPonteiros(chaves, pRegPS);
}

HRESULT CPPServidorMetasProducao::BuscaDadoParaGrafico(_REG_PP_FILTRO_META_PRODUCAOPS regFiltro,
                                                       _LISTA_REG_PP_META_PRODUCAOPS* pLista) {
  if (!pLista) return E_POINTER;
  *pLista = _LISTA_REG_PP_META_PRODUCAOPS{};
  if (HRESULT hr = VerificaInicializado()) return hr;
  uint16_t inicio = 0;
  uint16_t fim = 0;
  if (HRESULT hr = FaixaMeses(regFiltro.usMesAnoInicio, regFiltro.usMesAnoFim, &inicio, &fim)) return hr;
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, nullptr)) return hr;
  std::vector<_REG_PP_META_PRODUCAOPS> meses;
  for (uint16_t usMesAno = inicio; usMesAno != 0 && usMesAno <= fim; ++usMesAno) {
    _REG_PP_META_PRODUCAOPS& soma = meses.emplace_back();
    soma.regKey.ulPonteiroFilial = regFiltro.ulPonteiroFilial;
    soma.regKey.usMesAno = usMesAno;
    soma.regKey.ulPonteiroProjeto = regFiltro.ulPonteiroProjeto;
    soma.regKey.regPosicaoProdutoServico = regFiltro.regPosicaoProdutoServico;
    soma.regKey.cTipoProdutoServico = regFiltro.cTipoProdutoServico;
    if (!arquivos.Existe(Arquivos::kArqMetasProducao, usMesAno)) continue;
    if (HRESULT hr = AbreMes(arquivos, usMesAno, 'L', false)) return hr;
    const HRESULT hr =
        PercorreMetas(arquivos.m_arqMetasProducao, [&](uint32_t registro, const PPRegistroMetaProducao& disco) {
          if (!PassaFiltro(regFiltro, QVMontaChave(usMesAno, registro), disco)) return true;
          SomaQuantidades(soma, disco);
          return true;
        });
    if (FAILED(hr)) return hr;
  }
  if (HRESULT hr = arquivos.Fecha()) return hr;
  return EntregaLista(meses, pLista);
}

// ---- Product usage --------------------------------------------------------------------------------

HRESULT CPPServidorMetasProducao::ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve,
                                                          uint16_t* iNivelGradeEmUso) {
  if (!bTeve || !iNivelGradeEmUso) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, nullptr)) return hr;
  for (uint16_t usMesAno = kPrimeiroMesAno; usMesAno <= kUltimoMesAno; ++usMesAno) {
    if (*iNivelGradeEmUso >= kNivelGradeMaximo) break;
    if (!arquivos.Existe(Arquivos::kArqMetasProducao, usMesAno)) continue;
    if (HRESULT hr = AbreMes(arquivos, usMesAno, 'L', false)) return hr;
    const HRESULT hr = PercorreMetas(arquivos.m_arqMetasProducao, [&](uint32_t, const PPRegistroMetaProducao& disco) {
      const _REG_POSICAO_PRODUTOPS posicao = disco.regPosicaoProdutoServico;
      if (disco.cTipoProdutoServico != 'P' || posicao.lPonteiroProduto != lPonteiroProduto) return true;
      *bTeve = 1;
      if (posicao.iPonteiroItemGrade1 != 0) *iNivelGradeEmUso = std::max<uint16_t>(*iNivelGradeEmUso, 1);
      if (posicao.iPonteiroItemGrade2 != 0) *iNivelGradeEmUso = std::max<uint16_t>(*iNivelGradeEmUso, 2);
      if (posicao.iPonteiroItemGrade3 != 0) *iNivelGradeEmUso = std::max<uint16_t>(*iNivelGradeEmUso, 3);
      return *iNivelGradeEmUso < kNivelGradeMaximo;
    });
    if (FAILED(hr)) return hr;
  }
  return arquivos.Fecha();
}

#include "server/cadastros/CPPServidorRecursos.h"

#include <cstring>
#include <vector>

#include "foundation/CQVException.h"
#include "foundation/QVRelogio.h"
#include "platform/family/base/InterfacesBase.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"
#include "server/cadastros/PPCosturasCadastros.h"
#include "server/op/CPPServidorOPUso.h"

namespace {

constexpr uint32_t kTamanhoRecurso = sizeof(PPRegistroRecurso);
constexpr uint32_t kTamanhoCorrecao = sizeof(PPRegistroCorrecaoContador);
constexpr int kArquivoDetalhe = 1;

const PPArquivoCadastro kArquivosRecursos[] = {
    {&CPPNomesArquivos::ArqRecurso, kTamanhoRecurso},
    {&CPPNomesArquivos::ArqRecursoDetalhe, 0},
};

const PPDeclaracaoCadastro kDeclaracaoRecursos = {
    kArquivosRecursos,
    2,                   // the corrections file is made by the engine at its first opening
    6,                   // lock
    "Recurso: %s - %s",  // history
    false,               // no history without COM
    offsetof(PPRegistroRecurso, cRemovido),
    offsetof(PPRegistroRecurso, szCodigo),
    offsetof(PPRegistroRecurso, szDescricao),
    sizeof PPRegistroRecurso::szCodigo,
    sizeof PPRegistroRecurso::szDescricao,
};

// A resource's fields, from a COM record to a disk record or back.
template <class Para, class De, class Texto>
void Campos(Para& para, const De& de, Texto texto) {
  para.vCapacidade = de.vCapacidade;
  para.vSetup = de.vSetup;
  para.vContadorAtual = de.vContadorAtual;
  para.vPercEficiencia = de.vPercEficiencia;
  para.v8Custo = de.v8Custo;
  para.lPonteiroCentroCustos = de.lPonteiroCentroCustos;
  para.lPonteiroSecao = de.lPonteiroSecao;
  para.ulPonteiroUnidadeMedidaContador = de.ulPonteiroUnidadeMedidaContador;
  para.ulPonteiroTipoRecurso = de.ulPonteiroTipoRecurso;
  para.usPonteiroFilial = de.usPonteiroFilial;
  para.usNumeroDigitosContador = de.usNumeroDigitosContador;
  texto(para.szCodigo, de.szCodigo);
  texto(para.szDescricao, de.szDescricao);
  texto(para.szNomeContadorInicial, de.szNomeContadorInicial);
  texto(para.szNomeContadorFinal, de.szNomeContadorFinal);
  para.cAtivo = de.cAtivo;
  para.cTipo = de.cTipo;
  para.cCustoTempoPorUnidade = de.cCustoTempoPorUnidade;
  para.cTipoCusto = de.cTipoCusto;
  para.cUnidadeProdutoServico = de.cUnidadeProdutoServico;
  para.cPossuiContador = de.cPossuiContador;
}

PPRegistroRecurso ParaDisco(const _REG_PP_RECURSOPS& reg) {
  PPRegistroRecurso disco{};
  Campos(disco, reg, kPPTextoParaDisco);
  return disco;
}

void ParaCOM(const PPRegistroRecurso& disco, uint32_t ulPntr, _REG_PP_RECURSOPS& reg) {
  Campos(reg, disco, kPPTextoParaCOM);
  reg.lPosicaoRecurso = static_cast<int32_t>(ulPntr);
}

// The texts of "PPRECDET.DAT", opened for reading at the first text asked for.
class TextosRecurso {
 public:
  explicit TextosRecurso(const CString& caminho) : m_strCaminho(caminho) {}
  HRESULT Le(uint32_t ulPonteiro, CString& texto) {
    texto.Empty();
    if (ulPonteiro == 0) return S_OK;
    if (!m_bAberto) {
      if (HRESULT hr = PPAbreArquivoDyn(m_strCaminho, &m_arquivo, CFile::modeRead | CFile::shareDenyNone))
        return PPErroTexto(hr);
      m_bAberto = true;
    }
    return PPErroTexto(PPLeTextoDyn(&m_arquivo, ulPonteiro, texto));
  }
  HRESULT Fecha() {
    if (!m_bAberto) return S_OK;
    m_bAberto = false;
    return PPErroTexto(PPFechaArquivoDyn(&m_arquivo));
  }

 private:
  CString m_strCaminho;
  CQVArqDyn m_arquivo;
  bool m_bAberto = false;
};

// The clock's date and time of a correction; its failure as an HRESULT.
HRESULT Agora(uint16_t* pusData, uint16_t* pusHora) {
  try {
    *pusData = QVGetDataAtual(true);
    *pusHora = static_cast<uint16_t>(QVGetMinutosAtual());
    return S_OK;
  } catch (const CQVException& erro) {
    return erro.GetErroSO() ? HRESULT_FROM_WIN32(static_cast<DWORD>(erro.GetErroSO())) : E_FAIL;
  } catch (const CException&) {
    return E_FAIL;
  }
}

// Reads resource ulPntr of an open "PPRECURS.DAT" for a change: 1586 when it is removed.
HRESULT LeRecursoAlteravel(CPPArqEx& arquivo, uint32_t ulPntr, PPRegistroRecurso* recurso) {
  if (int erro = arquivo.Le(ulPntr, recurso)) return PPErroHResultMotor(erro);
  return recurso->cRemovido == 1 ? PPErroHResult(kPPErroRegistroRemovido) : S_OK;
}

}  // namespace

CPPServidorRecursos::CPPServidorRecursos() : CPPServidorCadastroFiltro(kDeclaracaoRecursos) {}

CString CPPServidorRecursos::CaminhoCorrecoes() const {
  return GetDiretorio() + CPPNomesArquivos::ArqRecursoHistoricoContador();
}

// ---- Session -------------------------------------------------------------------------------------

HRESULT CPPServidorRecursos::LeMestre(const CPPServidorMestrePP& mestre) {
  m_regUsuario = *mestre.GetRegistroUsuario();
  return S_OK;
}

HRESULT CPPServidorRecursos::InicializaMembros(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM) {
  if (!chamadaCOM) {
    if (HRESULT hr = LeUsuario(regPS)) return hr;
  }
  return m_processo.Inicializa(regPS, 0);
}

HRESULT CPPServidorRecursos::LeUsuario(const _REG_VARMO_INICIALIZAPS& regPS) {
  PPServidorUsuario usuario;
  if (HRESULT hr = PPAbreServidorUsuario(GetEmpresa(), regPS.usUsuario, regPS.lNumeroSessao, &usuario); FAILED(hr))
    return hr;
  _REG_DF_PERMISSOES_USUARIOPS permissoes{};
  if (HRESULT hr = usuario->LePermissoes(regPS.usUsuario, &permissoes); FAILED(hr)) return hr;
  m_regUsuario = permissoes;
  return S_OK;
}

void CPPServidorRecursos::FinalizaMembros() {
  CPPServidorCadastroFiltro::FinalizaMembros();
  m_regUsuario = _REG_DF_PERMISSOES_USUARIOPS{};
  m_processo.Finaliza();
}

// ---- Filter --------------------------------------------------------------------------------------

bool CPPServidorRecursos::FilialPermitida(uint16_t usFilial) const {
  // Byte 2 + n of the user record; a branch past the record is not one the user may work in.
  return usFilial < sizeof m_regUsuario.cPermissao && m_regUsuario.cPermissao[usFilial] != 0;
}

bool CPPServidorRecursos::ProcessoTemRecurso(int32_t lPonteiroProcesso, uint32_t ulPntr) {
  _REG_VARMO_PROCESSOPS processo{};
  bool bTem = false;
  if (m_processo.Le(lPonteiroProcesso, &processo, kPPLeituraProcessoRecursos) == S_OK) {
    for (uint16_t i = 0; processo.pregRecursos && i < processo.usQtdRecursos && !bTem; ++i)
      bTem = static_cast<uint32_t>(processo.pregRecursos[i].lPonteiroRecurso) == ulPntr;
  }
  PPLiberaRegistroProcesso(&processo);
  return bTem;
}

bool CPPServidorRecursos::PassaFiltro(uint32_t ulPntr, const PPRegistroDisco& disco) {
  const _REG_PP_FILTRO_RECURSOPS filtro = GetFiltro();
  const PPRegistroRecurso recurso = PPCampoDisco<PPRegistroRecurso>(disco, 0);
  if (filtro.lPonteiroRecurso != 0 && static_cast<uint32_t>(filtro.lPonteiroRecurso) != ulPntr) return false;
  if (filtro.ulPonteiroTipoRecurso != 0 && filtro.ulPonteiroTipoRecurso != recurso.ulPonteiroTipoRecurso)
    return false;
  // The active byte is compared as a signed character: a negative filter value matches nothing.
  if (filtro.cAtivo != 0 && (static_cast<int8_t>(filtro.cAtivo) < 0 || filtro.cAtivo != recurso.cAtivo)) return false;
  if (filtro.usPonteiroFilial != 0 && filtro.usPonteiroFilial != recurso.usPonteiroFilial) return false;
  if (filtro.cNaoVerificarFiliaisAtivas == 0 && !FilialPermitida(recurso.usPonteiroFilial)) return false;
  if ((filtro.cTipo == 1 || filtro.cTipo == 2) && filtro.cTipo != recurso.cTipo) return false;
  if (filtro.lPonteiroSecao != 0 && filtro.lPonteiroSecao != recurso.lPonteiroSecao) return false;
  return filtro.lPonteiroProcesso == 0 || ProcessoTemRecurso(filtro.lPonteiroProcesso, ulPntr);
}

// ---- Reading -------------------------------------------------------------------------------------

HRESULT CPPServidorRecursos::BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegRetornado) {
  return BuscaPonteirosLista(pRegRetornado);
}

HRESULT CPPServidorRecursos::Existe(BSTR bsCodigo, int32_t* plPntrOut, uint8_t cUtilizaFiltro) {
  return ExisteCodigo(bsCodigo, plPntrOut, cUtilizaFiltro);
}

HRESULT CPPServidorRecursos::Le(int32_t lPntr, _REG_PP_RECURSOPS* pRegRetornado, uint8_t cTipoLeitura) {
  return LePonteiros(1, &lPntr, pRegRetornado, cTipoLeitura);
}

HRESULT CPPServidorRecursos::LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_PP_RECURSOPS* pRegRetornoPS,
                                         uint8_t cTipoLeitura) {
  if (!pRegRetornoPS) return E_POINTER;
  const bool bDetalhe = (cTipoLeitura & kLeDetalhe) != 0;
  TextosRecurso textos(Caminho(kArquivoDetalhe));
  const HRESULT hr = LeRegistros(lQtd, plPonteiros, [&](int32_t i, uint32_t ulPntr, const PPRegistroDisco& disco) {
    _REG_PP_RECURSOPS& reg = pRegRetornoPS[i];
    reg = _REG_PP_RECURSOPS{};
    const PPRegistroRecurso recurso = PPCampoDisco<PPRegistroRecurso>(disco, 0);
    ParaCOM(recurso, ulPntr, reg);
    if (!bDetalhe) return S_OK;
    CString detalhe;
    if (HRESULT hrTexto = textos.Le(recurso.ulPonteiroDetalhe, detalhe)) return hrTexto;
    PPCopiaCampo(reg.szDetalhe, detalhe);
    return S_OK;
  });
  const HRESULT hrFecha = textos.Fecha();
  return hr ? hr : hrFecha;
}

// ---- Writing -------------------------------------------------------------------------------------

HRESULT CPPServidorRecursos::Grava(int32_t lPntrIn, _REG_PP_RECURSOPS regInPS, int32_t* plPntrOut) {
  PPRegistroDisco disco = PPDiscoDoRegistro(ParaDisco(regInPS));
  const CString detalhe = PPTextoCampo(regInPS.szDetalhe);
  auto gravaDetalhe = [&](PPRegistroDisco& registro) -> HRESULT {
    if (detalhe.IsEmpty()) return S_OK;
    uint32_t ulPonteiro = 0;
    if (HRESULT hr = PPGravaTextoArquivoDyn(Caminho(kArquivoDetalhe), detalhe, &ulPonteiro)) return PPErroTexto(hr);
    PPDefineCampoDisco(registro, offsetof(PPRegistroRecurso, ulPonteiroDetalhe), ulPonteiro);
    return S_OK;
  };
  // A negative pointer is not refused: the engine answers for it.
  return GravaRegistro(lPntrIn, disco, gravaDetalhe, PPTextoCampo(regInPS.szCodigo),
                       PPTextoCampo(regInPS.szDescricao), plPntrOut, true);
}

HRESULT CPPServidorRecursos::AtualizaContador(uint32_t ulPonteiroRecurso,
                                              _REG_PP_ATUALIZA_CONTADOR_RECURSOPS regAtualizacaops) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (ulPonteiroRecurso == 0) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (HRESULT hr = Marca(&marca)) return hr;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(0), 'G', kTamanhoRecurso, true, true)) return PPErroHResultMotor(erro);
  PPRegistroRecurso recurso;
  if (HRESULT hr = LeRecursoAlteravel(arquivo, ulPonteiroRecurso, &recurso)) return hr;
  recurso.vContadorAtual = regAtualizacaops.vContador;
  uint32_t registro = ulPonteiroRecurso;
  if (int erro = arquivo.Grava(&recurso, &registro)) return PPErroHResultMotor(erro);
  return PPErroHResultMotor(arquivo.Fecha());
}

HRESULT CPPServidorRecursos::AlteraManualContadorRecurso(_REG_PP_RECURSO_HISTORICO_CONTADORPS RegPS) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  const uint32_t ulPonteiroRecurso = RegPS.ulPonteiroRecurso;
  if (ulPonteiroRecurso == 0) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (HRESULT hr = Marca(&marca)) return hr;
  CPPArqEx recursos;
  if (int erro = recursos.Abre(Caminho(0), 'G', kTamanhoRecurso, true, true)) return PPErroHResultMotor(erro);
  CPPArqEx correcoes;
  if (int erro = correcoes.Abre(CaminhoCorrecoes(), 'G', kTamanhoCorrecao, true, true))
    return PPErroHResultMotor(erro);
  PPRegistroRecurso recurso;
  if (HRESULT hr = LeRecursoAlteravel(recursos, ulPonteiroRecurso, &recurso)) return hr;
  if (recurso.cPossuiContador == 0) return PPErroHResult(kPPErroRecursoSemContador);

  PPRegistroCorrecaoContador correcao{};
  correcao.vContadorAnterior = recurso.vContadorAtual;
  correcao.vContadorGravado = RegPS.vContadorGravado;
  correcao.ulPonteiroRecurso = ulPonteiroRecurso;
  correcao.ulPonteiroUsuario = GetUsuario();
  uint16_t usData = 0;
  uint16_t usHora = 0;
  if (HRESULT hr = Agora(&usData, &usHora)) return hr;
  correcao.usData = usData;
  correcao.usHora = usHora;
  uint32_t ulPonteiroMotivo = 0;
  if (HRESULT hr = PPGravaTextoArquivoDyn(Caminho(kArquivoDetalhe), PPTextoCampo(RegPS.szMotivo), &ulPonteiroMotivo))
    return PPErroTexto(hr);
  correcao.ulPonteiroMotivo = ulPonteiroMotivo;

  uint32_t registro = 0;
  if (int erro = correcoes.Grava(&correcao, &registro)) return PPErroHResultMotor(erro);
  if (int erro = correcoes.Fecha()) return PPErroHResultMotor(erro);
  recurso.vContadorAtual = RegPS.vContadorGravado;
  registro = ulPonteiroRecurso;
  if (int erro = recursos.Grava(&recurso, &registro)) return PPErroHResultMotor(erro);
  return PPErroHResultMotor(recursos.Fecha());
}

HRESULT CPPServidorRecursos::BuscaHistoricoAlteracaoManualContador(
    uint32_t ulPonteiroRecurso, _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS* pListaps) {
  if (!pListaps) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  pListaps->ulQuantidade = 0;
  pListaps->pregLista = nullptr;
  if (ulPonteiroRecurso == 0) return PPErroHResult(kPPErroArgumentoInvalido);

  CPPArqEx correcoes;
  if (int erro = correcoes.Abre(CaminhoCorrecoes(), 'L', kTamanhoCorrecao, true, true))
    return PPErroHResultMotor(erro);
  TextosRecurso textos(Caminho(kArquivoDetalhe));
  std::vector<_REG_PP_RECURSO_HISTORICO_CONTADORPS> lista;
  const int32_t quantidade = correcoes.GetQuantidadeRegistros();
  for (int32_t p = 1; p <= quantidade; ++p) {
    PPRegistroCorrecaoContador correcao;
    if (int erro = correcoes.Le(static_cast<uint32_t>(p), &correcao)) return PPErroHResultMotor(erro);
    if (correcao.ulPonteiroRecurso != ulPonteiroRecurso) continue;
    _REG_PP_RECURSO_HISTORICO_CONTADORPS reg{};
    reg.vContadorAnterior = correcao.vContadorAnterior;
    reg.vContadorGravado = correcao.vContadorGravado;
    reg.ulContadorHistorico = static_cast<uint32_t>(lista.size() + 1);
    reg.ulPonteiroRecurso = correcao.ulPonteiroRecurso;
    reg.ulPonteiroUsuarioGravacao = correcao.ulPonteiroUsuario;
    reg.usDataGravacao = correcao.usData;
    reg.usHoraGravacao = correcao.usHora;
    CString motivo;
    if (HRESULT hr = textos.Le(correcao.ulPonteiroMotivo, motivo)) return hr;
    PPCopiaCampo(reg.szMotivo, motivo);
    lista.push_back(reg);
  }
  if (HRESULT hr = textos.Fecha()) return hr;
  if (int erro = correcoes.Fecha()) return PPErroHResultMotor(erro);
  if (lista.empty()) return S_OK;

  const size_t bytes = lista.size() * sizeof(_REG_PP_RECURSO_HISTORICO_CONTADORPS);
  auto* array = static_cast<_REG_PP_RECURSO_HISTORICO_CONTADORPS*>(CoTaskMemAlloc(bytes));
  if (!array) return E_OUTOFMEMORY;
  std::memcpy(array, lista.data(), bytes);
  pListaps->pregLista = array;
  pListaps->ulQuantidade = static_cast<uint32_t>(lista.size());
  return S_OK;
}

// ---- Movement and removal ------------------------------------------------------------------------

HRESULT CPPServidorRecursos::ProcessoUsaRecurso(int32_t lPonteiroRecurso, uint8_t* pcUsa) {
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroRecurso = lPonteiroRecurso;
  if (HRESULT hr = m_processo.SetFiltro(filtro)) return hr;
  _REG_VARMO_PONTEIROSPS processos{};
  const HRESULT hr = m_processo.BuscaPonteiros(&processos);
  m_processo.LimpaFiltro();
  CoTaskMemFree(processos.plPonteiro);
  if (hr) return hr;
  *pcUsa = processos.lQtd > 0 ? 1 : 0;
  return S_OK;
}

HRESULT CPPServidorRecursos::OPUsaRecurso(int32_t lPonteiroRecurso, uint8_t* pcUsa) {
  CPPServidorOPUso uso;
  if (HRESULT hr = uso.Inicializa(GetSessaoPS(), 1)) return hr;
  if (HRESULT hr = uso.VerificaUsoRecursoOP(lPonteiroRecurso, pcUsa); hr || *pcUsa) return hr;
  return uso.VerificaUsoRecursoApontamento(lPonteiroRecurso, pcUsa);
}

HRESULT CPPServidorRecursos::HouveMovimento(int32_t lPonteiroRecurso, uint8_t* pcHouve) {
  *pcHouve = 0;
  if (HRESULT hr = ProcessoUsaRecurso(lPonteiroRecurso, pcHouve); hr || *pcHouve) return hr;
  const PPCosturasCadastros& costuras = PPGetCosturasCadastros();
  if (HRESULT hr = costuras.pVerificaUsoRecursoPlano(GetSessaoPS(), lPonteiroRecurso, pcHouve); hr || *pcHouve)
    return hr;
  return OPUsaRecurso(lPonteiroRecurso, pcHouve);
}

HRESULT CPPServidorRecursos::VerificaMovimentoRecurso(int32_t lPonteiroRecursoIN, uint8_t* pcHouveMovimentoOUT) {
  if (!pcHouveMovimentoOUT) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  *pcHouveMovimentoOUT = 0;
  // Pointer 0 would lift the process search's filter and find every process.
  if (lPonteiroRecursoIN <= 0) return PPErroHResult(kPPErroArgumentoInvalido);
  uint8_t cHouve = 0;
  const HRESULT hr = HouveMovimento(lPonteiroRecursoIN, &cHouve);
  *pcHouveMovimentoOUT = cHouve;
  return hr;
}

HRESULT CPPServidorRecursos::VerificaUso(uint32_t ulPntr) {
  uint8_t cHouve = 0;
  if (HRESULT hr = HouveMovimento(static_cast<int32_t>(ulPntr), &cHouve)) return hr;
  return cHouve ? PPErroHResult(kPPErroRegistroEmUso) : S_OK;
}

HRESULT CPPServidorRecursos::Remove(int32_t lPntrIn) {
  if (HRESULT hr = CPPServidorCadastro::Remove(lPntrIn)) return hr;
  return PPGetCosturasCadastros().pRemovePlanosRecurso(GetSessaoPS(), lPntrIn);
}

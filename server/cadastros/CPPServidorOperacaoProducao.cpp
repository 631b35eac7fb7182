#include "server/cadastros/CPPServidorOperacaoProducao.h"

#include <cstddef>
#include <string_view>

#include "foundation/CQVArqMarca.h"
#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"
#include "server/cadastros/CPPServidorTipoRecurso.h"
#include "server/op/CPPServidorOPUso.h"

namespace {

#pragma pack(push, 1)
// A record of PPOPPCAB.DAT.
struct RegistroOperacao {
  uint32_t ulDetalhe;  // offset of the detail text in PPOPPDET.DAT, 0: none
  char szCodigo[10];
  char szDescricao[50];
  uint8_t cTipoOperacao;
  uint8_t cAtivo;
  uint8_t cRemovido;
  uint8_t cVisualizarEmApontamentoOP;
  uint8_t cVisualizarEmApontamentoRecurso;
  uint8_t cReservado69[59];
};
#pragma pack(pop)
static_assert(sizeof(RegistroOperacao) == 128);
static_assert(offsetof(RegistroOperacao, szCodigo) == 4);
static_assert(offsetof(RegistroOperacao, szDescricao) == 14);
static_assert(offsetof(RegistroOperacao, cTipoOperacao) == 64);
static_assert(offsetof(RegistroOperacao, cAtivo) == 65);
static_assert(offsetof(RegistroOperacao, cRemovido) == 66);
static_assert(offsetof(RegistroOperacao, cVisualizarEmApontamentoOP) == 67);
static_assert(offsetof(RegistroOperacao, cVisualizarEmApontamentoRecurso) == 68);

constexpr int kArquivoDetalhe = 1;
constexpr int kMarcaOperacaoProducao = 11;
// The resource type's operations are read with their list (bit 1) and nothing more.
constexpr uint16_t kLeituraOperacoesTipoRecurso = 2;

const PPArquivoCadastro kArquivos[] = {
    {&CPPNomesArquivos::ArqOperacaoProducaoCabecalho, sizeof(RegistroOperacao)},
    {&CPPNomesArquivos::ArqOperacaoProducaoDetalhe, 0},
};

const PPDeclaracaoCadastro kDeclaracao = {
    kArquivos,
    2,
    kMarcaOperacaoProducao,
    "Operação: %s - %s"_ansi,
    false,
    offsetof(RegistroOperacao, cRemovido),
    offsetof(RegistroOperacao, szCodigo),
    offsetof(RegistroOperacao, szDescricao),
    sizeof(RegistroOperacao::szCodigo),
    sizeof(RegistroOperacao::szDescricao),
};

RegistroOperacao DoDisco(const PPRegistroDisco& disco) { return PPCampoDisco<RegistroOperacao>(disco, 0); }

// An operation's fields, from a COM record to a disk record or back.
template <class Para, class De, class Texto>
void Campos(Para& para, const De& de, Texto texto) {
  texto(para.szCodigo, de.szCodigo);
  texto(para.szDescricao, de.szDescricao);
  para.cTipoOperacao = de.cTipoOperacao;
  para.cAtivo = de.cAtivo;
  para.cVisualizarEmApontamentoOP = de.cVisualizarEmApontamentoOP;
  para.cVisualizarEmApontamentoRecurso = de.cVisualizarEmApontamentoRecurso;
}

// The detail-text offset is left 0: Grava carries the stored one over.
RegistroOperacao ParaRegistro(const _REG_VARMO_OPERACAO_PRODUCAOPS& com) {
  RegistroOperacao registro{};
  Campos(registro, com, kPPTextoParaDisco);
  return registro;
}

void ParaCOM(uint32_t ulPntr, const RegistroOperacao& registro, _REG_VARMO_OPERACAO_PRODUCAOPS* com) {
  *com = _REG_VARMO_OPERACAO_PRODUCAOPS{};
  com->lPosicao = static_cast<int32_t>(ulPntr);
  Campos(*com, registro, kPPTextoParaCOM);
}

// The reporting places that the filter asks for: none asked lets every operation pass; else one of
// the places asked must offer it.
bool PassaLocaisApontamento(const _REG_PP_FILTRO_OPERACAO_PRODUCAOPS& filtro, const RegistroOperacao& registro) {
  if (!filtro.cVisualizarEmApontamentoOP && !filtro.cVisualizarEmApontamentoRecurso) return true;
  return (filtro.cVisualizarEmApontamentoOP && registro.cVisualizarEmApontamentoOP) ||
         (filtro.cVisualizarEmApontamentoRecurso && registro.cVisualizarEmApontamentoRecurso);
}

// The text of the detail file at `ulDetalhe` (0: none, the file not opened).
HRESULT LeTextoDetalhe(const CString& caminho, uint32_t ulDetalhe, CString& texto) {
  texto.Empty();
  if (ulDetalhe == 0) return S_OK;
  CQVArqDyn arquivo;
  if (HRESULT hr = PPAbreArquivoDyn(caminho, &arquivo, CFile::modeRead | CFile::shareDenyNone)) return hr;
  if (HRESULT hr = PPLeTextoDyn(&arquivo, ulDetalhe, texto)) return hr;
  return PPFechaArquivoDyn(&arquivo);
}

// 1588 when a resource type lists the operation.
HRESULT VerificaUsoTipoRecurso(const _REG_VARMO_INICIALIZAPS& sessao, uint32_t ulPntr) {
  CPPServidorTipoRecurso tipos;
  if (HRESULT hr = tipos.Inicializa(sessao, 0)) return hr;
  _REG_PP_FILTRO_TIPO_RECURSOPS filtro{};
  filtro.ulPonteiroOperacaoProducao = ulPntr;
  if (HRESULT hr = tipos.SetFiltro(filtro)) return hr;
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  const HRESULT hr = tipos.BuscaPonteiros(&lista);
  CoTaskMemFree(lista.plPonteiro);
  if (FAILED(hr)) return hr;
  return lista.lQtd > 0 ? PPErroHResult(kPPErroRegistroEmUso) : S_OK;
}

// 1588 when a production report or an order's simple report names the operation.
HRESULT VerificaUsoApontamento(const _REG_VARMO_INICIALIZAPS& sessao, uint32_t ulPntr) {
  CPPServidorOPUso uso;
  if (HRESULT hr = uso.Inicializa(sessao, 1)) return hr;
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.lPonteiroOperacao = static_cast<int32_t>(ulPntr);
  uint8_t cEmUso = 0;
  if (HRESULT hr = uso.VerificaUsoApontamento(filtro, &cEmUso)) return hr;
  return cEmUso ? PPErroHResult(kPPErroRegistroEmUso) : S_OK;
}

}  // namespace

CPPServidorOperacaoProducao::CPPServidorOperacaoProducao()
    : CPPServidorCadastroFiltro<_REG_PP_FILTRO_OPERACAO_PRODUCAOPS>(kDeclaracao) {}

CPPServidorOperacaoProducao::~CPPServidorOperacaoProducao() { Finaliza(); }

HRESULT CPPServidorOperacaoProducao::InicializaMembros(const _REG_VARMO_INICIALIZAPS& /*regPS*/,
                                                       uint8_t /*chamadaCOM*/) {
  m_buffer.Inicializa(GetEmpresa(), GetUsuario(), GetSessao());
  return S_OK;
}

void CPPServidorOperacaoProducao::FinalizaMembros() {
  CPPServidorCadastroFiltro<_REG_PP_FILTRO_OPERACAO_PRODUCAOPS>::FinalizaMembros();
  m_buffer.Finaliza();
}

HRESULT CPPServidorOperacaoProducao::Grava(int32_t lPntrIn, _REG_VARMO_OPERACAO_PRODUCAOPS RegPS,
                                           int32_t* plPntrOut) {
  PPRegistroDisco disco = PPDiscoDoRegistro(ParaRegistro(RegPS));
  return GravaRegistro(
      lPntrIn, disco, [](PPRegistroDisco&) { return S_OK; }, PPTextoCampo(RegPS.szCodigo),
      PPTextoCampo(RegPS.szDescricao), plPntrOut);
}

void CPPServidorOperacaoProducao::MantemGravado(const PPRegistroDisco& gravado, PPRegistroDisco& disco) {
  PPDefineCampoDisco(disco, offsetof(RegistroOperacao, ulDetalhe), DoDisco(gravado).ulDetalhe);
}

HRESULT CPPServidorOperacaoProducao::BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) {
  return BuscaPonteirosLista(pRegPS);
}

HRESULT CPPServidorOperacaoProducao::LePonteiros(int32_t lQtd, int32_t* plPntrs,
                                                 _REG_VARMO_OPERACAO_PRODUCAOPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  return LeRegistros(lQtd, plPntrs, [&](int32_t i, uint32_t ulPntr, const PPRegistroDisco& disco) {
    ParaCOM(ulPntr, DoDisco(disco), &pRegPS[i]);
    return S_OK;
  });
}

HRESULT CPPServidorOperacaoProducao::Le(int32_t lPntr, _REG_VARMO_OPERACAO_PRODUCAOPS* pRegPS) {
  return LePonteiros(1, &lPntr, pRegPS);
}

HRESULT CPPServidorOperacaoProducao::Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) {
  return ExisteCodigo(bsCodigo, plPntr, cUtilizaFiltro);
}

HRESULT CPPServidorOperacaoProducao::GravaDetalhe(int32_t lPntr, BSTR bsDetalhe) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (lPntr <= 0) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (HRESULT hr = Marca(&marca)) return hr;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(0), 'G', sizeof(RegistroOperacao), true, true)) return PPErroHResultMotor(erro);
  RegistroOperacao registro;
  uint32_t ulPntr = static_cast<uint32_t>(lPntr);
  if (int erro = arquivo.Le(ulPntr, &registro)) return PPErroHResultMotor(erro);
  if (registro.cRemovido == 1) return PPErroHResult(kPPErroRegistroRemovido);
  uint32_t ulDetalhe = registro.ulDetalhe;
  if (HRESULT hr = PPErroTexto(PPGravaTextoArquivoDyn(Caminho(kArquivoDetalhe), PPTextoBSTR(bsDetalhe), &ulDetalhe)))
    return hr;
  registro.ulDetalhe = ulDetalhe;
  if (int erro = arquivo.Grava(&registro, &ulPntr)) return PPErroHResultMotor(erro);
  return PPErroHResultMotor(arquivo.Fecha());
}

HRESULT CPPServidorOperacaoProducao::LeDetalhe(int32_t lPntr, BSTR* pbsDetalhe) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (lPntr <= 0) return S_OK;
  if (!pbsDetalhe) return E_POINTER;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(0), 'L', sizeof(RegistroOperacao), true, true)) return PPErroHResultMotor(erro);
  RegistroOperacao registro;
  if (int erro = arquivo.Le(static_cast<uint32_t>(lPntr), &registro)) return PPErroHResultMotor(erro);
  if (registro.cRemovido == 1) return PPErroHResult(kPPErroRegistroRemovido);
  if (int erro = arquivo.Fecha()) return PPErroHResultMotor(erro);
  CString texto;
  if (HRESULT hr = PPErroTexto(LeTextoDetalhe(Caminho(kArquivoDetalhe), registro.ulDetalhe, texto))) return hr;
  const std::u16string largo = WideFromAnsi(std::string_view(texto, static_cast<size_t>(texto.GetLength())));
  BSTR detalhe = SysAllocStringLen(largo.data(), static_cast<UINT>(largo.size()));
  if (!detalhe) return E_OUTOFMEMORY;
  *pbsDetalhe = detalhe;
  return S_OK;
}

bool CPPServidorOperacaoProducao::PassaFiltro(uint32_t ulPntr, const PPRegistroDisco& disco) {
  const _REG_PP_FILTRO_OPERACAO_PRODUCAOPS filtro = GetFiltro();
  const RegistroOperacao registro = DoDisco(disco);
  if (filtro.cAtivo && filtro.cAtivo != registro.cAtivo) return false;
  if (filtro.cTipoOperacao && filtro.cTipoOperacao != registro.cTipoOperacao) return false;
  if (!PassaLocaisApontamento(filtro, registro)) return false;
  return !filtro.ulPonteiroTipoRecurso || ListadaNoTipoRecurso(ulPntr, filtro.ulPonteiroTipoRecurso);
}

bool CPPServidorOperacaoProducao::ListadaNoTipoRecurso(uint32_t ulPntr, uint32_t ulPonteiroTipoRecurso) {
  CPPDadosTipoRecurso tipo;
  if (FAILED(m_buffer.LeBufferTipoRecurso(ulPonteiroTipoRecurso, &tipo, kLeituraOperacoesTipoRecurso))) return false;
  for (int i = 0; i < tipo.GetQuantidadeOperacao(); ++i)
    if (tipo.GetRefOperacao(i).GetPonteiroOperacaoProducao() == ulPntr) return true;
  return false;
}

HRESULT CPPServidorOperacaoProducao::VerificaUso(uint32_t ulPntr) {
  if (HRESULT hr = VerificaUsoTipoRecurso(m_buffer.GetPPInicializa(), ulPntr)) return hr;
  return VerificaUsoApontamento(GetSessaoPS(), ulPntr);
}

#include "server/cadastros/CPPServidorSecao.h"

#include <cstddef>
#include <cstdint>

#include "foundation/CQVArqMarca.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"
#include "server/cadastros/CPPServidorProcesso.h"
#include "server/cadastros/CPPServidorRecursos.h"

namespace {

#pragma pack(push, 1)
// A record of PPSECAOP.DAT. Texts are fixed-width, without terminator when full.
struct RegistroSecao {
  uint32_t lPonteiroCalendario;
  char szCodigo[12];
  char szDescricao[52];
  uint8_t cRemovido;  // 1: removed
  uint8_t cZero[59];
};
#pragma pack(pop)
static_assert(sizeof(RegistroSecao) == 128);
static_assert(offsetof(RegistroSecao, szCodigo) == 4);
static_assert(offsetof(RegistroSecao, szDescricao) == 16);
static_assert(offsetof(RegistroSecao, cRemovido) == 68);

constexpr int kMarcaSecao = 5;

const PPArquivoCadastro kArquivos[] = {{&CPPNomesArquivos::ArqSecao, sizeof(RegistroSecao)}};

const PPDeclaracaoCadastro kDeclaracao = {
    kArquivos,
    1,
    kMarcaSecao,
    "Seção: %s - %s"_ansi,
    false,
    offsetof(RegistroSecao, cRemovido),
    offsetof(RegistroSecao, szCodigo),
    offsetof(RegistroSecao, szDescricao),
    sizeof(RegistroSecao::szCodigo),
    sizeof(RegistroSecao::szDescricao),
};

// A section's fields, from a COM record to a disk record or back.
template <class Para, class De, class Texto>
void Campos(Para& para, const De& de, Texto texto) {
  para.lPonteiroCalendario = de.lPonteiroCalendario;
  texto(para.szCodigo, de.szCodigo);
  texto(para.szDescricao, de.szDescricao);
}

RegistroSecao ParaRegistro(const _REG_PP_SECAOPS& com) {
  RegistroSecao registro{};
  Campos(registro, com, kPPTextoParaDisco);
  return registro;
}

void ParaCOM(uint32_t ulPntr, const RegistroSecao& registro, _REG_PP_SECAOPS& com) {
  com.lPosicao = ulPntr;
  Campos(com, registro, kPPTextoParaCOM);
}

// 1588 when the search of `servidor` under `filtro` finds a record.
template <class Servidor, class Filtro, class Lista>
HRESULT VerificaNenhum(Servidor& servidor, const _REG_VARMO_INICIALIZAPS& sessao, const Filtro& filtro) {
  if (HRESULT hr = servidor.Inicializa(sessao, 0)) return hr;
  if (HRESULT hr = servidor.SetFiltro(filtro)) return hr;
  Lista lista{};
  const HRESULT hr = servidor.BuscaPonteiros(&lista);
  CoTaskMemFree(lista.plPonteiro);
  if (FAILED(hr)) return hr;
  return lista.lQtd > 0 ? PPErroHResult(kPPErroRegistroEmUso) : S_OK;
}

}  // namespace

CPPServidorSecao::CPPServidorSecao() : CPPServidorCadastro(kDeclaracao) {}

HRESULT CPPServidorSecao::BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) { return BuscaPonteirosLista(pRegPS); }

HRESULT CPPServidorSecao::LePonteiros(int32_t lQtd, uint32_t* plPntrs, _REG_PP_SECAOPS* pRegPS) {
  return LeSecoes(lQtd, plPntrs, pRegPS, false);
}

HRESULT CPPServidorSecao::Le(uint32_t lPntr, _REG_PP_SECAOPS* pRegPS) { return LeSecoes(1, &lPntr, pRegPS, true); }

HRESULT CPPServidorSecao::LeSecoes(int32_t lQtd, const uint32_t* plPntrs, _REG_PP_SECAOPS* pRegPS,
                                   bool bRecusaRemovida) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (lQtd <= 0) return PPErroHResult(kPPErroArgumentoInvalido);
  if (!plPntrs || !pRegPS) return E_POINTER;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(0), 'L', sizeof(RegistroSecao), true, true)) return PPErroHResultMotor(erro);
  for (int32_t i = 0; i < lQtd; ++i) {
    pRegPS[i] = _REG_PP_SECAOPS{};
    RegistroSecao registro;
    if (int erro = arquivo.Le(plPntrs[i], &registro)) return PPErroHResultMotor(erro);
    if (bRecusaRemovida && registro.cRemovido == 1) return PPErroHResult(kPPErroRegistroRemovido);
    ParaCOM(plPntrs[i], registro, pRegPS[i]);
  }
  return PPErroHResultMotor(arquivo.Fecha());
}

HRESULT CPPServidorSecao::Grava(uint32_t lPntrIn, _REG_PP_SECAOPS RegPS, uint32_t* plPntrOut) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (!plPntrOut) return E_POINTER;
  CQVArqMarca marca;
  if (HRESULT hr = Marca(&marca)) return hr;
  const RegistroSecao registro = ParaRegistro(RegPS);
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(0), 'G', sizeof(RegistroSecao), true, true)) return PPErroHResultMotor(erro);
  if (static_cast<int64_t>(lPntrIn) > arquivo.GetQuantidadeRegistros()) return PPErroHResult(kPPErroArgumentoInvalido);
  uint32_t gravado = lPntrIn;
  if (int erro = arquivo.Grava(&registro, &gravado)) return PPErroHResultMotor(erro);
  if (int erro = arquivo.Fecha()) return PPErroHResultMotor(erro);
  *plPntrOut = gravado;
  if (Historico().EstaAberto())
    Historico().GravaLinha(lPntrIn == 0 ? kPPHistoricoInclusao : kPPHistoricoAlteracao, kDeclaracao.szHistorico,
                           static_cast<const char*>(PPTextoCampo(RegPS.szCodigo)),
                           static_cast<const char*>(PPTextoCampo(RegPS.szDescricao)));
  return S_OK;
}

HRESULT CPPServidorSecao::Existe(BSTR bsCodigo, uint32_t* plPntr, uint8_t /*cUtilizaFiltro*/) {
  if (!plPntr) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  const CString codigo = PPTextoBSTR(bsCodigo);
  // The frame's search ignores case; only a code equal as stored passes to it.
  return PPExisteCadastro(
      GetDiretorio(), kDeclaracao, codigo,
      [&](uint32_t, const PPRegistroDisco& disco) { return PPCodigoDisco(kDeclaracao, disco) == codigo; }, plPntr);
}

HRESULT CPPServidorSecao::Remove(uint32_t lPntr) { return CPPServidorCadastro::Remove(static_cast<int32_t>(lPntr)); }

HRESULT CPPServidorSecao::VerificaUso(uint32_t ulPntr) {
  _REG_VARMO_FILTROPS filtroProcesso{};
  filtroProcesso.lPonteiroSecao = ulPntr;
  CPPServidorProcesso processos;
  if (HRESULT hr = VerificaNenhum<CPPServidorProcesso, _REG_VARMO_FILTROPS, _REG_VARMO_PONTEIROSPS>(
          processos, GetSessaoPS(), filtroProcesso))
    return hr;
  _REG_PP_FILTRO_RECURSOPS filtroRecurso{};
  filtroRecurso.lPonteiroSecao = ulPntr;
  // A resource in a branch the session's user may not work in still belongs to the section.
  filtroRecurso.cNaoVerificarFiliaisAtivas = 1;
  CPPServidorRecursos recursos;
  return VerificaNenhum<CPPServidorRecursos, _REG_PP_FILTRO_RECURSOPS, _REG_VARMO_PONTEIROSPS>(
      recursos, GetSessaoPS(), filtroRecurso);
}

#include "server/cadastros/CPPServidorProcesso.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <unordered_set>

#include "server/CPPNomesArquivos.h"
#include "server/cadastros/PPCosturasCadastros.h"
#include "server/op/CPPServidorOPUso.h"

namespace {

enum { kArquivoProcesso, kArquivoRecurso, kArquivoObservacao };

const PPArquivoCadastro kArquivos[] = {
    {&CPPNomesArquivos::ArqProcesso, sizeof(PPProcessoDisco)},
    {&CPPNomesArquivos::ArqProcessoRecurso, sizeof(PPProcessoRecursoDisco)},
    {&CPPNomesArquivos::ArqProcessoObservacao, 0},
};

const PPDeclaracaoCadastro kDeclaracao = {
    kArquivos,
    3,
    7,
    "Processo: %s - %s",
    false,
    offsetof(PPProcessoDisco, cRemovido),
    offsetof(PPProcessoDisco, cCodigo),
    offsetof(PPProcessoDisco, cDescricao),
    sizeof(PPProcessoDisco::cCodigo),
    sizeof(PPProcessoDisco::cDescricao),
};

// What the maintenance servers are asked for: the plans' programmed maintenances (reading 128) of
// the active plans, and the maintenance orders of situation 7 and kind 2.
constexpr uint8_t kLeituraPlanoProgramacao = 128;
constexpr uint8_t kPlanoAtivo = 'A';
constexpr uint8_t kSituacaoManutencaoParada = 7;
constexpr uint8_t kTipoManutencaoParada = 2;

// The stop time per date, ascending.
using PPParadasPorData = std::map<uint16_t, CY>;

PPProcessoDisco ProcessoDe(const PPRegistroDisco& disco) { return PPCampoDisco<PPProcessoDisco>(disco, 0); }

// The fields that a process's disk and COM records name alike, from one to the other; the texts
// bear other names on disk.
template <class Para, class De>
void CamposComuns(Para& para, const De& de) {
  para.v8CustoProcesso = de.v8CustoProcesso;
  para.vCapacidadeDia = de.vCapacidadeDia;
  para.lPonteiroSecao = de.lPonteiroSecao;
  para.cAtivo = de.cAtivo;
  para.cCustoPorApontamento = de.cCustoPorApontamento;
}

PPProcessoDisco ConverteParaDisco(const _REG_VARMO_PROCESSOPS& registro) {
  PPProcessoDisco processo;
  std::memset(&processo, 0, sizeof processo);
  CamposComuns(processo, registro);
  PPCopiaCampoDisco(processo.cCodigo, PPTextoCampo(registro.szCodigo));
  PPCopiaCampoDisco(processo.cDescricao, PPTextoCampo(registro.szDescricao));
  return processo;
}

void ConverteParaCOM(const PPProcessoDisco& processo, _REG_VARMO_PROCESSOPS& registro) {
  CamposComuns(registro, processo);
  PPCopiaCampo(registro.szCodigo, PPTextoCampo(processo.cCodigo));
  PPCopiaCampo(registro.szDescricao, PPTextoCampo(processo.cDescricao));
}

HRESULT SomaParada(PPParadasPorData& paradas, uint16_t usData, CY vTempo) {
  CY& total = paradas[usData];
  return VarCyAdd(total, vTempo, &total);
}

// The plan list's arrays (the caller's also when the call failed).
void LiberaPlanos(_REG_PP_LISTA_PLANO_MANUTENCAOPS& lista) {
  for (uint16_t i = 0; lista.pregListaManutencao && i < lista.usQuantidade; ++i) {
    CoTaskMemFree(lista.pregListaManutencao[i].pregComponentes);
    CoTaskMemFree(lista.pregListaManutencao[i].pregManutencaoProgramada);
  }
  CoTaskMemFree(lista.pregListaManutencao);
  lista = _REG_PP_LISTA_PLANO_MANUTENCAOPS{};
}

HRESULT SomaParadasPlanos(IQVPP_Manutencao* planos, int32_t lPonteiroRecurso, PPParadasPorData& paradas) {
  _REG_PP_FILTRO_PLANO_MANUTENCAOPS filtro{};
  filtro.lPonteiroRecurso = lPonteiroRecurso;
  filtro.cAtivo = kPlanoAtivo;
  _REG_PP_LISTA_PLANO_MANUTENCAOPS lista{};
  HRESULT hr = planos->BuscaListaPlanoManutencao(filtro, &lista, kLeituraPlanoProgramacao);
  // A count without its array holds nothing.
  for (uint16_t i = 0; SUCCEEDED(hr) && lista.pregListaManutencao && i < lista.usQuantidade; ++i) {
    const _REG_PP_PLANO_MANUTENCAOPS& plano = lista.pregListaManutencao[i];
    for (uint16_t j = 0; SUCCEEDED(hr) && plano.pregManutencaoProgramada && j < plano.usQuantManutProgramada; ++j) {
      const _REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS programada = plano.pregManutencaoProgramada[j];
      hr = SomaParada(paradas, programada.usDataManutencao, programada.vTempoPrevisto);
    }
  }
  LiberaPlanos(lista);
  return hr;
}

HRESULT SomaParadasOrdens(IQVPP_GestaoManutencao* gestao, const _REG_VARMO_PONTEIROS_ULONGPS& ponteiros,
                          PPParadasPorData& paradas) {
  std::unique_ptr<_REG_PP_MANUTENCAOPS[]> ordens(new (std::nothrow) _REG_PP_MANUTENCAOPS[ponteiros.lQtd]());
  if (!ordens) return E_OUTOFMEMORY;
  HRESULT hr = gestao->LePonteiros(static_cast<int32_t>(ponteiros.lQtd), ponteiros.plPonteiro, ordens.get(), 0);
  for (uint32_t i = 0; i < ponteiros.lQtd; ++i) {
    const _REG_PP_MANUTENCAOPS& ordem = ordens[i];
    const uint16_t usData = ordem.usDataInicio ? ordem.usDataInicio : ordem.usDataEmissao;
    if (SUCCEEDED(hr)) hr = SomaParada(paradas, usData, ordem.vTempoPrevisto);
    CoTaskMemFree(ordem.pregComponentes);
  }
  return hr;
}

HRESULT SomaParadasGestao(IQVPP_GestaoManutencao* gestao, int32_t lPonteiroRecurso, PPParadasPorData& paradas) {
  _REG_PP_FILTRO_GESTAO_MANUTENCAOPS filtro{};
  filtro.lPonteiroRecurso = lPonteiroRecurso;
  filtro.cSituacaoManutencao = kSituacaoManutencaoParada;
  filtro.cTipoManutencao = kTipoManutencaoParada;
  if (HRESULT hr = gestao->SetFiltro(filtro); FAILED(hr)) return hr;
  _REG_VARMO_PONTEIROS_ULONGPS ponteiros{};
  HRESULT hr = gestao->BuscaPonteiros(&ponteiros);
  if (SUCCEEDED(hr) && ponteiros.lQtd > 0 && ponteiros.plPonteiro) hr = SomaParadasOrdens(gestao, ponteiros, paradas);
  CoTaskMemFree(ponteiros.plPonteiro);
  return hr;
}

HRESULT EntregaParadas(const PPParadasPorData& paradas, _REG_PP_PROCESSO_RECURSOPS& recurso) {
  if (paradas.empty()) return S_OK;
  auto* array = static_cast<_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS*>(
      CoTaskMemAlloc(paradas.size() * sizeof(_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS)));
  if (!array) return E_OUTOFMEMORY;
  size_t i = 0;
  for (const auto& [usData, vTempo] : paradas) array[i++] = {vTempo, usData};
  recurso.pregParadas = array;
  recurso.usQtdParadas = static_cast<uint16_t>(paradas.size());
  return S_OK;
}

}  // namespace

void PPLiberaRegistroProcesso(_REG_VARMO_PROCESSOPS* processo) {
  if (!processo || !processo->pregRecursos) return;
  for (uint16_t i = 0; i < processo->usQtdRecursos; ++i) CoTaskMemFree(processo->pregRecursos[i].pregParadas);
  CoTaskMemFree(processo->pregRecursos);
  processo->pregRecursos = nullptr;
  processo->usQtdRecursos = 0;
}

CPPServidorProcesso::CPPServidorProcesso() : CPPServidorCadastroFiltro(kDeclaracao) {}

HRESULT CPPServidorProcesso::InicializaMembros(const _REG_VARMO_INICIALIZAPS&, uint8_t) {
  m_buffer.Inicializa(GetEmpresa(), GetUsuario(), GetSessao());
  return S_OK;
}

void CPPServidorProcesso::FinalizaMembros() {
  m_buffer.Finaliza();
  m_recursosFiltro.reset();
  CPPServidorCadastroFiltro::FinalizaMembros();
}

// ---- Saving ------------------------------------------------------------------------------------

HRESULT CPPServidorProcesso::Grava(int32_t lPntrIn, _REG_VARMO_PROCESSOPS RegPS, int32_t* plPntrOut) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (HRESULT hr = PPVerificaLista(RegPS.usQtdRecursos, RegPS.pregRecursos)) return hr;
  PPRegistroDisco disco = PPDiscoDoRegistro(ConverteParaDisco(RegPS));
  return GravaRegistro(
      lPntrIn, disco, [&](PPRegistroDisco& gravado) { return GravaDependentes(RegPS, gravado); },
      PPTextoCampo(RegPS.szCodigo), PPTextoCampo(RegPS.szDescricao), plPntrOut);
}

// A new text and a new run of resources, every time: what an older save wrote is not reused.
HRESULT CPPServidorProcesso::GravaDependentes(const _REG_VARMO_PROCESSOPS& registro, PPRegistroDisco& disco) {
  const CString observacao = PPTextoCampo(registro.szObservacao);
  if (!observacao.IsEmpty()) {
    uint32_t ulObservacao = 0;
    if (HRESULT hr = PPErroTexto(PPGravaTextoArquivoDyn(Caminho(kArquivoObservacao), observacao, &ulObservacao)))
      return hr;
    PPDefineCampoDisco(disco, offsetof(PPProcessoDisco, ulObservacao), ulObservacao);
  }
  return PPAnexaListaDependente<PPProcessoRecursoDisco>(
      Caminho(kArquivoRecurso), registro.usQtdRecursos, registro.pregRecursos,
      [](const auto& recurso, PPProcessoRecursoDisco& gravado) {
        gravado.lPonteiroRecurso = recurso.lPonteiroRecurso;
        gravado.cSomarCapacidadeDisponivel = recurso.cSomarCapacidadeDisponivel;
      },
      disco, offsetof(PPProcessoDisco, ulPrimeiroRecurso), offsetof(PPProcessoDisco, usQtdRecursos));
}

// ---- Reading -----------------------------------------------------------------------------------

HRESULT CPPServidorProcesso::Le(int32_t lPntr, _REG_VARMO_PROCESSOPS* pRegPS, uint8_t cTipoLeitura) {
  return LePonteiros(1, &lPntr, pRegPS, cTipoLeitura);
}

HRESULT CPPServidorProcesso::LePonteiros(int32_t lQtd, int32_t* plPntrs, _REG_VARMO_PROCESSOPS* pRegPS,
                                         uint8_t cTipoLeitura) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (lQtd <= 0) return PPErroHResult(kPPErroArgumentoInvalido);
  if (!plPntrs || !pRegPS) return E_POINTER;
  std::fill(pRegPS, pRegPS + lQtd, _REG_VARMO_PROCESSOPS{});
  const bool bObservacao = (cTipoLeitura & kPPLeituraProcessoObservacao) != 0;
  const bool bRecursos = (cTipoLeitura & (kPPLeituraProcessoRecursos | kPPLeituraProcessoParadas)) != 0;
  CQVArqDyn observacoes;
  if (bObservacao) {
    const HRESULT hr =
        PPAbreArquivoDyn(Caminho(kArquivoObservacao), &observacoes, CFile::modeRead | CFile::shareDenyNone);
    if (FAILED(hr)) return PPErroTexto(hr);
  }
  CPPArqEx recursos;
  if (bRecursos) {
    if (int erro = recursos.Abre(Caminho(kArquivoRecurso), 'L', sizeof(PPProcessoRecursoDisco), true, true))
      return PPErroHResultMotor(erro);
  }
  HRESULT hr = LeRegistros(lQtd, plPntrs, [&](int32_t i, uint32_t ulPntr, const PPRegistroDisco& disco) {
    return LeProcesso(ulPntr, disco, cTipoLeitura, observacoes, recursos, pRegPS[i]);
  });
  if (bObservacao) {
    const HRESULT hrFecha = PPErroTexto(PPFechaArquivoDyn(&observacoes));
    if (SUCCEEDED(hr)) hr = hrFecha;
  }
  if (bRecursos) {
    const HRESULT hrFecha = PPErroHResultMotor(recursos.Fecha());
    if (SUCCEEDED(hr)) hr = hrFecha;
  }
  return hr;
}

HRESULT CPPServidorProcesso::LeProcesso(uint32_t ulPntr, const PPRegistroDisco& disco, uint8_t cTipoLeitura,
                                        CQVArqDyn& observacoes, CPPArqEx& recursos, _REG_VARMO_PROCESSOPS& registro) {
  const PPProcessoDisco processo = ProcessoDe(disco);
  ConverteParaCOM(processo, registro);
  registro.lPosicao = static_cast<int32_t>(ulPntr);
  if ((cTipoLeitura & kPPLeituraProcessoObservacao) && processo.ulObservacao) {
    CString observacao;
    if (HRESULT hr = PPErroTexto(PPLeTextoDyn(&observacoes, processo.ulObservacao, observacao))) return hr;
    PPCopiaCampo(registro.szObservacao, observacao);
  }
  if (!(cTipoLeitura & (kPPLeituraProcessoRecursos | kPPLeituraProcessoParadas))) return S_OK;
  const HRESULT hr = LeRecursos(processo, cTipoLeitura, recursos, registro);
  if (FAILED(hr)) PPLiberaRegistroProcesso(&registro);
  return hr;
}

HRESULT CPPServidorProcesso::LeRecursos(const PPProcessoDisco& processo, uint8_t cTipoLeitura, CPPArqEx& recursos,
                                        _REG_VARMO_PROCESSOPS& registro) {
  const uint16_t quantidade = processo.usQtdRecursos;
  _REG_PP_PROCESSO_RECURSOPS* lista = nullptr;
  const HRESULT hr = PPLeListaCadastro(
      recursos, processo.ulPrimeiroRecurso, quantidade, &lista,
      [](const PPRegistroDisco& disco, _REG_PP_PROCESSO_RECURSOPS& recurso) {
        recurso.lPonteiroRecurso = PPCampoDisco<int32_t>(disco, offsetof(PPProcessoRecursoDisco, lPonteiroRecurso));
        recurso.cSomarCapacidadeDisponivel =
            PPCampoDisco<uint8_t>(disco, offsetof(PPProcessoRecursoDisco, cSomarCapacidadeDisponivel));
      });
  if (FAILED(hr)) return hr;
  registro.pregRecursos = lista;
  registro.usQtdRecursos = quantidade;
  if (!(cTipoLeitura & kPPLeituraProcessoParadas)) return S_OK;
  for (uint16_t i = 0; i < quantidade; ++i) {
    if (HRESULT hrParadas = LeParadas(lista[i].lPonteiroRecurso, lista[i])) return hrParadas;
  }
  return S_OK;
}

HRESULT CPPServidorProcesso::LeParadas(int32_t lPonteiroRecurso, _REG_PP_PROCESSO_RECURSOPS& recurso) {
  IQVPP_Manutencao* planos = m_buffer.GetIPlanoManutencao();
  if (!planos) return m_buffer.GetHR();
  PPParadasPorData paradas;
  if (HRESULT hr = SomaParadasPlanos(planos, lPonteiroRecurso, paradas); FAILED(hr)) return hr;
  IQVPP_GestaoManutencao* gestao = m_buffer.GetIGestaoManutencao();
  if (!gestao) return m_buffer.GetHR();
  if (HRESULT hr = SomaParadasGestao(gestao, lPonteiroRecurso, paradas); FAILED(hr)) return hr;
  return EntregaParadas(paradas, recurso);
}

// ---- Searching ---------------------------------------------------------------------------------

HRESULT CPPServidorProcesso::BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) {
  const HRESULT hr = BuscaPonteirosLista(pRegPS);
  m_recursosFiltro.reset();
  if (hr == S_OK && GetFiltro().lPonteiroOP) OrdenaPelaOP(*pRegPS);
  return hr;
}

HRESULT CPPServidorProcesso::Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) {
  const HRESULT hr = ExisteCodigo(bsCodigo, plPntr, cUtilizaFiltro);
  m_recursosFiltro.reset();
  return hr;
}

// Every found pointer is in the order's list (the filter test saw to it). Each goes to its first
// place in the list: a process that the order runs twice is delivered once.
void CPPServidorProcesso::OrdenaPelaOP(_REG_VARMO_PONTEIROSPS& lista) const {
  const size_t quantidade = static_cast<size_t>(lista.lQtd);
  std::unordered_set<int32_t> restantes(lista.plPonteiro, lista.plPonteiro + quantidade);
  size_t colocados = 0;
  for (const int32_t lPonteiro : m_processosOP) {
    if (colocados == quantidade) break;
    if (restantes.erase(lPonteiro)) lista.plPonteiro[colocados++] = lPonteiro;
  }
}

bool CPPServidorProcesso::PassaFiltro(uint32_t ulPntr, const PPRegistroDisco& disco) {
  const _REG_VARMO_FILTROPS& filtro = GetFiltro();
  const PPProcessoDisco processo = ProcessoDe(disco);
  const uint8_t cAtivo = filtro.cAtivo;
  if (cAtivo && cAtivo != processo.cAtivo) return false;
  const int32_t lPonteiroProcesso = filtro.lPonteiroProcesso;
  if (lPonteiroProcesso && lPonteiroProcesso != static_cast<int32_t>(ulPntr)) return false;
  const uint32_t lPonteiroSecao = filtro.lPonteiroSecao;
  if (lPonteiroSecao && lPonteiroSecao != processo.lPonteiroSecao) return false;
  if (filtro.lPonteiroOP)
    return std::find(m_processosOP.begin(), m_processosOP.end(), static_cast<int32_t>(ulPntr)) != m_processosOP.end();
  const int32_t lPonteiroRecurso = filtro.lPonteiroRecurso;
  return !lPonteiroRecurso || TemRecurso(processo, lPonteiroRecurso);
}

// A read error counts as not found. The file stays open for the rest of the search.
bool CPPServidorProcesso::TemRecurso(const PPProcessoDisco& processo, int32_t lPonteiroRecurso) {
  const uint16_t quantidade = processo.usQtdRecursos;
  if (quantidade == 0) return false;
  if (!m_recursosFiltro) {
    auto arquivo = std::make_unique<CPPArqEx>();
    if (arquivo->Abre(Caminho(kArquivoRecurso), 'L', sizeof(PPProcessoRecursoDisco), true, true)) return false;
    m_recursosFiltro = std::move(arquivo);
  }
  PPProcessoRecursoDisco recurso;
  for (uint16_t i = 0; i < quantidade; ++i) {
    if (m_recursosFiltro->Le(processo.ulPrimeiroRecurso + i, &recurso)) return false;
    if (recurso.lPonteiroRecurso == lPonteiroRecurso) return true;
  }
  return false;
}

// ---- Filter and removal ------------------------------------------------------------------------

HRESULT CPPServidorProcesso::AposSetFiltro() {
  m_processosOP.clear();
  const uint32_t lPonteiroOP = GetFiltro().lPonteiroOP;
  if (!lPonteiroOP) return S_OK;
  _REG_VARMO_INICIALIZAPS sessao = GetSessaoPS();
  sessao.cInicializarCompleto = 1;
  std::vector<PPProcessoOP> processos;
  if (HRESULT hr = PPGetCosturasCadastros().pLeProcessosOP(sessao, lPonteiroOP, &processos)) return hr;
  for (const PPProcessoOP& processo : processos)
    m_processosOP.push_back(processo.cRecebeApontamento ? processo.lPonteiroProcesso : 0);
  return S_OK;
}

HRESULT CPPServidorProcesso::VerificaUso(uint32_t ulPntr) {
  const int32_t lPntr = static_cast<int32_t>(ulPntr);
  int32_t lEtapas = 0;
  if (HRESULT hr = PPGetCosturasCadastros().pContaEtapasFluxoProcesso(GetSessaoPS(), lPntr, &lEtapas)) return hr;
  if (lEtapas > 0) return PPErroHResult(kPPErroRegistroEmUso);
  CPPServidorOPUso uso;
  if (HRESULT hr = uso.Inicializa(GetSessaoPS(), 1)) return hr;
  uint8_t cEmUso = 0;
  if (HRESULT hr = uso.VerificaUsoProcesso(lPntr, &cEmUso)) return hr;
  return cEmUso ? PPErroHResult(kPPErroRegistroEmUso) : S_OK;
}

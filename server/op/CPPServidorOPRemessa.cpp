// Outside servers, shipments for outsourced processing, server information.
#include <cstdint>
#include <cstring>
#include <vector>

#include "access/CPPServidores.h"
#include "access/PPLiberaRegistro.h"
#include "foundation/CQVArqMarca.h"
#include "foundation/CQVCurrencyEx.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "platform/com/taskmem.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPConversaoOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

constexpr DWORD kFlagsCriacao = kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel;

// Invoicing states of a shipment.

constexpr uint32_t kArquivosRemessa =
    CPPArquivosOP::kArqRemessaIndustrializacao | CPPArquivosOP::kArqIR | CPPArquivosOP::kArqID;

// The one path of the four getters: the held server, or a new one created and initialised.
template <class Interface, IID kIid, class Inicializacao>
Interface* ObtemServidor(CQVComPtr<Interface, kIid>& servidor, REFCLSID clsid, HRESULT* phr,
                         Inicializacao inicializa) {
  HRESULT hr = S_OK;
  if (!servidor.GetInterface()) {
    hr = servidor.CreateInstance(clsid, nullptr, kQVContextoServidor, kFlagsCriacao);
    if (SUCCEEDED(hr)) hr = inicializa(servidor.GetInterface());
    if (FAILED(hr)) servidor.Release();
  }
  if (phr) *phr = hr;
  return servidor.GetInterface();
}

bool MesValido(uint16_t usMes) { return usMes >= PPPrimeiroMesOP() && usMes <= PPUltimoMesOP(); }

// A period key that names a record of a month a day number can fall in.
bool ChaveValida(uint32_t ulChave) {
  return QVGetNumeroDaChave(ulChave) != 0 && MesValido(QVGetMesAnoDaChave(ulChave));
}

// The files of lBits of the month, open in the mode on a set of the company (without caches).
HRESULT AbreMes(CPPArquivosOP& arquivos, const CString& empresa, uint32_t lBits, uint16_t usMes, char cModo) {
  if (!arquivos.GetInicializado()) {
    if (HRESULT hr = arquivos.Inicializa(empresa, 0, 0)) return hr;
  }
  arquivos.SetArquivos(lBits);
  return arquivos.SetModo(usMes, cModo);
}

// The files of lBits of the month, when those of lExigidos exist: a record of a month without them
// answers as a read past the end would, and the month gets no files.
HRESULT AbreMesExistente(CPPArquivosOP& arquivos, const CString& empresa, uint32_t lBits, uint32_t lExigidos,
                         uint16_t usMes, char cModo) {
  if (!arquivos.GetInicializado()) {
    if (HRESULT hr = arquivos.Inicializa(empresa, 0, 0)) return hr;
  }
  if (!arquivos.Existe(lExigidos, usMes)) return PPErroHResult(kQVErroFimArquivo);
  return AbreMes(arquivos, empresa, lBits, usMes, cModo);
}

template <class Disco>
HRESULT LeDisco(CPPArqEx& arquivo, uint32_t ulRegistro, Disco* disco) {
  if (arquivo.GetTamanhoRegistro() != sizeof(Disco)) return E_UNEXPECTED;
  return PPErroHResultMotor(arquivo.Le(ulRegistro, disco));
}

template <class Disco>
HRESULT GravaDisco(CPPArqEx& arquivo, const Disco& disco, uint32_t* pulRegistro) {
  if (arquivo.GetTamanhoRegistro() != sizeof(Disco)) return E_UNEXPECTED;
  return PPErroHResultMotor(arquivo.Grava(&disco, pulRegistro));
}

// One input of a shipment: its description into PPID, then the record appended to PPIR.
HRESULT GravaInsumoRemessa(CPPArquivosOP& arquivos, const _REG_PP_REMESSA_INSUMOPS& insumo, uint32_t* pulRegistro) {
  PPDiscoInsumoRemessa disco{};
  PPConverteParaDisco(insumo, disco);
  uint32_t ulTexto = 0;
  if (HRESULT hr = PPGravaTextoDyn(&arquivos.m_arqID, PPTextoCampo(insumo.szDescricao), &ulTexto))
    return PPErroTexto(hr);
  disco.ulTextoDescricao = ulTexto;
  *pulRegistro = 0;
  return GravaDisco(arquivos.m_arqIR, disco, pulRegistro);
}

// The inputs of a shipment, with their descriptions, into a new array of the task allocator in
// reg->pregRemessaInsumo.
HRESULT LeInsumosRemessa(CPPArquivosOP& arquivos, const PPDiscoRemessa& disco,
                         _REG_PP_REMESSA_INDUSTRIALIZACAOPS* reg) {
  const uint32_t ulPrimeiro = disco.ulPrimeiroInsumo;
  const uint16_t usQtd = disco.usQtdInsumos;
  // A run from the header, or one that wraps past the last record number, is damaged: read as a
  // run outside the file.
  if (ulPrimeiro == 0 || usQtd - 1u > UINT32_MAX - ulPrimeiro) return PPErroHResult(kQVErroFimArquivo);
  auto* insumos = static_cast<_REG_PP_REMESSA_INSUMOPS*>(CoTaskMemAlloc(usQtd * sizeof(_REG_PP_REMESSA_INSUMOPS)));
  if (!insumos) return E_OUTOFMEMORY;
  for (uint16_t i = 0; i < usQtd; ++i) {
    PPDiscoInsumoRemessa discoInsumo{};
    HRESULT hr = LeDisco(arquivos.m_arqIR, ulPrimeiro + i, &discoInsumo);
    CString descricao;
    if (hr == S_OK) hr = PPLeTextoDyn(&arquivos.m_arqID, discoInsumo.ulTextoDescricao, descricao);
    if (hr != S_OK) {
      CoTaskMemFree(insumos);
      return hr;
    }
    insumos[i] = _REG_PP_REMESSA_INSUMOPS{};
    PPConverteParaCOM(discoInsumo, insumos[i]);
    PPCopiaCampo(insumos[i].szDescricao, descricao);
  }
  reg->pregRemessaInsumo = insumos;
  return S_OK;
}

// The COM record of a stored shipment; the inputs only when cTipoLeitura asks for them.
HRESULT CopiaRemessa(CPPArquivosOP& arquivos, const PPDiscoRemessa& disco, uint32_t ulChave, uint8_t cTipoLeitura,
                     _REG_PP_REMESSA_INDUSTRIALIZACAOPS* reg) {
  *reg = _REG_PP_REMESSA_INDUSTRIALIZACAOPS{};
  PPConverteParaCOM(disco, *reg);
  reg->ulChaveRemessa = ulChave;
  reg->usQtdInsumos = disco.usQtdInsumos;
  reg->pregRemessaInsumo = nullptr;
  if (!(cTipoLeitura & CPPServidorOP::kLeInsumosRemessa) || disco.usQtdInsumos == 0) return S_OK;
  return LeInsumosRemessa(arquivos, disco, reg);
}

// (date, time) pairs in order.
bool AntesDe(uint16_t usData, uint16_t usHora, uint16_t usDataLimite, uint16_t usHoraLimite) {
  return usData < usDataLimite || (usData == usDataLimite && usHora < usHoraLimite);
}

bool PassaFiltro(const PPDiscoRemessa& disco, uint32_t ulChave, const _REG_PP_REMESSA_FILTROPS& filtro) {
  auto confere = [](auto valor, auto filtrado) { return filtrado == 0 || valor == filtrado; };
  if (!confere(disco.ulChaveApontamentoOP, filtro.ulChaveApontamentoOP) ||
      !confere(disco.ulChaveOP, filtro.ulChaveOP) || !confere(ulChave, filtro.ulChaveRemessa) ||
      !confere(disco.ulChaveFaturaRemessa, filtro.ulChaveFaturaRemessa) ||
      !confere(disco.lPonteiroClassificacao, filtro.lPonteiroClassificacao) ||
      !confere(disco.lPonteiroFornecedor, filtro.lPonteiroFornecedor) ||
      !confere(disco.usPonteiroCFOP, filtro.usPonteiroCFOP) || !confere(disco.usPonteiroFilial, filtro.usPonteiroFilial))
    return false;
  const uint16_t usData = disco.usDataEmissaoRemessa;
  const uint16_t usHora = disco.usHoraEmissaoRemessa;
  if (filtro.usDataInicialEmissaoRemessa &&
      AntesDe(usData, usHora, filtro.usDataInicialEmissaoRemessa, filtro.usHoraInicialEmissaoRemessa))
    return false;
  if (filtro.usDataFinalEmissaoRemessa &&
      AntesDe(filtro.usDataFinalEmissaoRemessa, filtro.usHoraFinalEmissaoRemessa, usData, usHora))
    return false;
  return !filtro.cSomenteNaoFaturados || disco.cStatusFaturamento == kRemessaAguardandoFaturamento;
}

// The shipments a search found, with their inputs, until they are handed to the caller.
class RemessasEncontradas {
 public:
  RemessasEncontradas() = default;
  RemessasEncontradas(const RemessasEncontradas&) = delete;
  RemessasEncontradas& operator=(const RemessasEncontradas&) = delete;
  ~RemessasEncontradas() {
    for (_REG_PP_REMESSA_INDUSTRIALIZACAOPS& remessa : m_remessas) LiberaRegistroRemessaIndustrializacao(&remessa, 0);
  }

  void Acrescenta(const _REG_PP_REMESSA_INDUSTRIALIZACAOPS& remessa) { m_remessas.push_back(remessa); }

  // A new array of the task allocator (none for an empty list); from then on the inputs are the
  // caller's.
  HRESULT Entrega(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* lista) {
    if (m_remessas.empty()) return S_OK;
    const size_t tamanho = m_remessas.size() * sizeof(_REG_PP_REMESSA_INDUSTRIALIZACAOPS);
    auto* array = static_cast<_REG_PP_REMESSA_INDUSTRIALIZACAOPS*>(CoTaskMemAlloc(tamanho));
    if (!array) return E_OUTOFMEMORY;
    std::memcpy(array, m_remessas.data(), tamanho);
    lista->ulQtd = static_cast<uint32_t>(m_remessas.size());
    lista->pRegRemessa = array;
    m_remessas.clear();
    return S_OK;
  }

 private:
  std::vector<_REG_PP_REMESSA_INDUSTRIALIZACAOPS> m_remessas;
};

bool ProcessoTemRecurso(const _REG_VARMO_OP_PROCESSOPS& processo, uint32_t ulRecurso) {
  for (uint16_t i = 0; processo.pregRecursos && i < processo.usQuantidadeRecursos; ++i) {
    if (static_cast<uint32_t>(processo.pregRecursos[i].lPonteiroRecurso) == ulRecurso) return true;
  }
  return false;
}

// A money field of a packed record by its raw count: copying the field itself would bind a
// reference to a misaligned union.
CQVCurrencyEx Quantia(int64_t bruto) { return CQVCurrencyEx(CY{.int64 = bruto}); }

// The hours still due on one process (see CalcularSaldoHorasRecursoOP).
double HorasProcesso(const _REG_VARMO_OP_PROCESSOPS& processo, const _REG_PP_RECURSOPS& recurso,
                     const CQVCurrencyEx& quantidade) {
  const double capacidade =
      Quantia(processo.vCapacidadeProdutiva.int64).GetDouble() * Quantia(recurso.vPercEficiencia.int64).GetDouble() /
      100.0;
  if (capacidade == 0.0) return 0.0;
  CQVCurrencyEx apontada;
  for (uint16_t i = 0; processo.pregApontamentos && i < processo.usQuantidadeApontamentos; ++i) {
    const _REG_VARMO_OP_APONTAMENTO& apontamento = processo.pregApontamentos[i];
    if (!apontamento.cExcluido) apontada += Quantia(apontamento.vQuantidadeApontada.int64).GetCY();
  }
  CQVCurrencyEx restante = quantidade;
  restante -= apontada.GetCY();
  double horas = restante.GetDouble() / capacidade;
  if (processo.cSituacao == 1) horas += Quantia(recurso.vSetup.int64).GetDouble();
  return horas;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Outside servers

IQVFT_Pedido* CPPServidorOP::GetIPedido(HRESULT* phr) {
  if (!m_mestre.GetIntegraPedidos()) {
    if (phr) *phr = E_NOINTERFACE;
    return nullptr;
  }
  return ObtemServidor(m_pedido, CLSID_QVFT_Pedido, phr, [this](IQVFT_Pedido* servidor) {
    return servidor->Inicializa(PPRegistroSessao<_REG_FT_INICIALIZA_PEDIDOPS>(m_strEmpresa, m_usUsuario, m_lSessao));
  });
}

IQVES_Movimento* CPPServidorOP::GetIMovimento(HRESULT* phr) {
  return ObtemServidor(m_movimento, CLSID_QVES_Movimento, phr, [this](IQVES_Movimento* servidor) {
    return PPInicializaEstoque(servidor, m_strEmpresa, m_usUsuario, m_lSessao);
  });
}

IQVDF_Mensagem* CPPServidorOP::GetIMensagem(HRESULT* phr) {
  return ObtemServidor(m_mensagem, CLSID_QVDF_Mensagem, phr, [this](IQVDF_Mensagem* servidor) {
    return PPInicializaEmpresaUsuarioSessao(servidor, m_strEmpresa, m_usUsuario, m_lSessao);
  });
}

IQVCN_Filial* CPPServidorOP::GetIFilial(HRESULT* phr) {
  return ObtemServidor(m_filial, CLSID_QVCN_Filial, phr, [this](IQVCN_Filial* servidor) {
    return PPInicializaEmpresaUsuarioSessao(servidor, m_strEmpresa, m_usUsuario, m_lSessao);
  });
}

// ---------------------------------------------------------------------------------------------------
// Shipments

HRESULT CPPServidorOP::GravaRemessaIndustrializacao(const _REG_PP_REMESSA_INDUSTRIALIZACAOPS& reg, uint16_t usMesAno,
                                                    uint32_t* pulChave) {
  if (!pulChave) return E_POINTER;
  *pulChave = 0;
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!MesValido(usMesAno)) return PPErroHResult(kPPErroArgumentoInvalido);
  if (HRESULT hr = PPVerificaLista(reg.usQtdInsumos, reg.pregRemessaInsumo)) return hr;
  CPPArquivosOP arquivos;
  if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, kArquivosRemessa, usMesAno, 'G')) return hr;

  PPDiscoRemessa disco{};
  PPConverteParaDisco(reg, disco);
  for (uint16_t i = 0; i < reg.usQtdInsumos; ++i) {
    uint32_t ulRegistro = 0;
    if (HRESULT hr = GravaInsumoRemessa(arquivos, reg.pregRemessaInsumo[i], &ulRegistro)) return hr;
    if (i == 0) disco.ulPrimeiroInsumo = ulRegistro;
  }
  disco.usQtdInsumos = reg.usQtdInsumos;
  disco.cRemovido = 0;
  uint32_t ulRegistro = 0;
  if (HRESULT hr = GravaDisco(arquivos.m_arqRemessaIndustrializacao, disco, &ulRegistro)) return hr;
  *pulChave = QVMontaChave(usMesAno, ulRegistro);
  return S_OK;
}

template <class Altera>
HRESULT CPPServidorOP::AlteraRemessa(uint32_t ulChaveRemessa, Altera altera) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!ChaveValida(ulChaveRemessa)) return PPErroHResult(kPPErroArgumentoInvalido);
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChaveRemessa);
  CPPArquivosOP arquivos;
  if (HRESULT hr = AbreMesExistente(arquivos, m_strEmpresa, CPPArquivosOP::kArqRemessaIndustrializacao,
                                    CPPArquivosOP::kArqRemessaIndustrializacao, QVGetMesAnoDaChave(ulChaveRemessa),
                                    'G'))
    return hr;
  PPDiscoRemessa disco{};
  if (HRESULT hr = LeDisco(arquivos.m_arqRemessaIndustrializacao, ulRegistro, &disco)) return hr;
  if (HRESULT hr = altera(disco)) return hr;
  uint32_t ulRegrava = ulRegistro;
  return GravaDisco(arquivos.m_arqRemessaIndustrializacao, disco, &ulRegrava);
}

HRESULT CPPServidorOP::VinculaRemessaApontamento(uint32_t ulChaveApontamento, uint32_t ulChaveRemessa) {
  return AlteraRemessa(ulChaveRemessa, [&](PPDiscoRemessa& disco) -> HRESULT {
    if (disco.cRemovido) return PPErroHResult(kPPErroRegistroRemovido);
    disco.ulChaveApontamentoOP = ulChaveApontamento;
    return S_OK;
  });
}

HRESULT CPPServidorOP::CancelaRemessaIndustrializacao(uint32_t ulChaveRemessa) {
  return AlteraRemessa(ulChaveRemessa, [&](PPDiscoRemessa& disco) -> HRESULT {
    const uint8_t cStatus = disco.cStatusFaturamento;
    if (cStatus == kRemessaFaturada || cStatus == kRemessaFaturadaComApontamento) {
      if (!m_regMestre.cPermitirCancelRemessaIndustrializacao) return PPErroHResult(kPPErroRemessaFaturada);
      disco.cStatusFaturamento = kRemessaCancelada;
    }
    disco.cRemovido = 1;
    return S_OK;
  });
}

HRESULT CPPServidorOP::LeRemessaIndustrializacao(uint32_t ulChaveRemessa, _REG_PP_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                                 CPPArquivosOP* arquivos, uint8_t cTipoLeitura) {
  if (!regOutPS) return E_POINTER;
  *regOutPS = _REG_PP_REMESSA_INDUSTRIALIZACAOPS{};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!ChaveValida(ulChaveRemessa)) return PPErroHResult(kPPErroArgumentoInvalido);
  CPPArquivosOP proprios;
  if (!arquivos) {
    if (HRESULT hr = AbreMesExistente(proprios, m_strEmpresa, kArquivosRemessa,
                                      CPPArquivosOP::kArqRemessaIndustrializacao, QVGetMesAnoDaChave(ulChaveRemessa),
                                      'L'))
      return hr;
    arquivos = &proprios;
  }
  PPDiscoRemessa disco{};
  if (HRESULT hr = LeDisco(arquivos->m_arqRemessaIndustrializacao, QVGetNumeroDaChave(ulChaveRemessa), &disco))
    return hr;
  if (disco.cRemovido) return PPErroHResult(kPPErroRegistroRemovido);
  return CopiaRemessa(*arquivos, disco, ulChaveRemessa, cTipoLeitura, regOutPS);
}

HRESULT CPPServidorOP::BuscaRemessaIndustrializacao(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                                    uint8_t cTipoLeitura) {
  return BuscaRemessaIndustrializacaoFiltro(regOutPS, _REG_PP_REMESSA_FILTROPS{}, cTipoLeitura);
}

HRESULT CPPServidorOP::BuscaRemessaIndustrializacaoFiltro(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                                          _REG_PP_REMESSA_FILTROPS regFiltro, uint8_t cTipoLeitura) {
  if (!regOutPS) return E_POINTER;
  *regOutPS = _REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS{};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  uint16_t usPrimeiro = PPPrimeiroMesOP();
  const uint16_t usVisualizacao = m_regMestre.usDataVisualizacao;
  if (m_regMestre.cUsaDataVisualizacao && usVisualizacao >= 950) usPrimeiro = QVDataParaMesAno(usVisualizacao);

  RemessasEncontradas encontradas;
  CPPArquivosOP arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  for (uint16_t usMes = usPrimeiro; usMes <= PPUltimoMesOP(); ++usMes) {
    if (!arquivos.Existe(CPPArquivosOP::kArqRemessaIndustrializacao, usMes)) continue;
    if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, kArquivosRemessa, usMes, 'L')) return hr;
    const int32_t lQuantidade = arquivos.m_arqRemessaIndustrializacao.GetQuantidadeRegistros();
    if (lQuantidade < 0) return PPErroHResult(kQVErroArquivo);
    for (uint32_t ulRegistro = 1; ulRegistro <= static_cast<uint32_t>(lQuantidade); ++ulRegistro) {
      PPDiscoRemessa disco{};
      if (HRESULT hr = LeDisco(arquivos.m_arqRemessaIndustrializacao, ulRegistro, &disco)) return hr;
      const uint32_t ulChave = QVMontaChave(usMes, ulRegistro);
      if (disco.cRemovido || !PassaFiltro(disco, ulChave, regFiltro)) continue;
      _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa{};
      if (HRESULT hr = CopiaRemessa(arquivos, disco, ulChave, cTipoLeitura, &remessa)) return hr;
      encontradas.Acrescenta(remessa);
    }
    if (HRESULT hr = arquivos.Fecha()) return hr;
  }
  return encontradas.Entrega(regOutPS);
}

HRESULT CPPServidorOP::AtualizaRemessaFT(int32_t lQtd, const _REG_PP_RETORNO_REMESSA_FTPS* pregRetornoFTPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (lQtd < 0) return PPErroHResult(kPPErroArgumentoInvalido);
  if (HRESULT hr = PPVerificaLista(static_cast<uint32_t>(lQtd), pregRetornoFTPS)) return hr;
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  CPPArquivosOP arquivos;
  for (int32_t i = 0; i < lQtd; ++i) {
    if (HRESULT hr = AtualizaRemessaFT(arquivos, pregRetornoFTPS[i])) return hr;
  }
  return S_OK;
}

HRESULT CPPServidorOP::AtualizaRemessaFT(CPPArquivosOP& arquivos, const _REG_PP_RETORNO_REMESSA_FTPS& retorno) {
  // 1. The entry.
  const uint32_t ulChave = retorno.ulChaveRemessa;
  if (!ChaveValida(ulChave)) return PPErroHResult(kPPErroChaveAusente);
  const uint8_t cStatus = retorno.cStatusFaturamento;
  if (retorno.ulChaveFaturaRemessa == 0 ||
      (cStatus != kRemessaFaturada && cStatus != kRemessaFaturadaComApontamento && cStatus != kRemessaFaturaCanceladaComRetornos))
    return PPErroHResult(kPPErroQtdLimitada);

  // 2. The shipment and its report, in files of the month that exist already.
  const uint16_t usMes = QVGetMesAnoDaChave(ulChave);
  const uint32_t lBits = CPPArquivosOP::kArqRemessaIndustrializacao | CPPArquivosOP::kArqApontamento;
  if (HRESULT hr = AbreMesExistente(arquivos, m_strEmpresa, lBits, lBits, usMes, 'G')) return hr;
  uint32_t ulRegistroRemessa = QVGetNumeroDaChave(ulChave);
  PPDiscoRemessa remessa{};
  if (HRESULT hr = LeDisco(arquivos.m_arqRemessaIndustrializacao, ulRegistroRemessa, &remessa)) return hr;
  if (remessa.cRemovido) return PPErroHResult(kPPErroRegistroRemovido);
  const uint32_t ulChaveApontamento = remessa.ulChaveApontamentoOP;
  if (QVGetNumeroDaChave(ulChaveApontamento) == 0 || QVGetMesAnoDaChave(ulChaveApontamento) != usMes)
    return PPErroHResult(kPPErroChaveAusente);
  uint32_t ulRegistroApontamento = QVGetNumeroDaChave(ulChaveApontamento);
  PPDiscoApontamento apontamento{};
  if (HRESULT hr = LeDisco(arquivos.m_arqApontamento, ulRegistroApontamento, &apontamento)) return hr;

  // 3. The new state.
  if (cStatus == kRemessaFaturaCanceladaComRetornos && apontamento.usQtdRetornoIndustExt == 0) {
    remessa.ulChaveFaturaRemessa = 0;
    remessa.cStatusFaturamento = kRemessaAguardandoFaturamento;
    apontamento.lPonteiroNotaFiscalSaida = 0;
  } else {
    remessa.cStatusFaturamento = cStatus;
    if (cStatus != kRemessaFaturaCanceladaComRetornos) remessa.ulChaveFaturaRemessa = retorno.ulChaveFaturaRemessa;
    if (cStatus == kRemessaFaturadaComApontamento) apontamento.lPonteiroNotaFiscalSaida = retorno.ulChaveFaturaRemessa;
  }

  // 4. Both rewritten.
  if (HRESULT hr = GravaDisco(arquivos.m_arqRemessaIndustrializacao, remessa, &ulRegistroRemessa)) return hr;
  if (HRESULT hr = GravaDisco(arquivos.m_arqApontamento, apontamento, &ulRegistroApontamento)) return hr;
  return arquivos.Fecha();
}

// ---------------------------------------------------------------------------------------------------
// Server information, checks and balances

HRESULT CPPServidorOP::BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  return m_mestre.BuscaInfoServidor(pRegPS);
}

HRESULT CPPServidorOP::FazVerificacao(_REG_PP_OP_VERIFICACAO_INPS regIn, _REG_PP_OP_VERIFICACAO_OUTPS* pregOut) {
  if (!pregOut) return E_POINTER;
  *pregOut = _REG_PP_OP_VERIFICACAO_OUTPS{};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!(regIn.cTipoVerificacao & 0x1)) return S_OK;
  if (!ChaveValida(regIn.ulChaveOP)) return PPErroHResult(kPPErroArgumentoInvalido);
  const uint16_t usMes = QVGetMesAnoDaChave(regIn.ulChaveOP);
  const uint32_t ulRegistroOP = QVGetNumeroDaChave(regIn.ulChaveOP);
  CPPArquivosOP arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  if (!arquivos.Existe(CPPArquivosOP::kArqApontamento, usMes)) return S_OK;
  if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, CPPArquivosOP::kArqApontamento, usMes, 'L')) return hr;
  const int32_t lQuantidade = arquivos.m_arqApontamento.GetQuantidadeRegistros();
  if (lQuantidade < 0) return PPErroHResult(kQVErroArquivo);
  for (uint32_t ulRegistro = 1; ulRegistro <= static_cast<uint32_t>(lQuantidade); ++ulRegistro) {
    PPDiscoApontamento apontamento{};
    if (HRESULT hr = LeDisco(arquivos.m_arqApontamento, ulRegistro, &apontamento)) return hr;
    if (!apontamento.cExcluido && apontamento.ulRegistroOP == ulRegistroOP &&
        apontamento.lPonteiroNotaFiscalSaida == regIn.lPonteiroNotaFiscalSaida) {
      pregOut->cExiste = 1;
      break;
    }
  }
  return S_OK;
}

HRESULT CPPServidorOP::CalcularSaldoHorasRecursoOP(uint32_t ulRecurso, uint32_t ulChaveOP,
                                                   _REG_PP_OP_TEMPOPS* pvSaldoRecurso) {
  if (!pvSaldoRecurso) return E_POINTER;
  *pvSaldoRecurso = _REG_PP_OP_TEMPOPS{};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);

  // The resource, through a handler of this session.
  CPPServidorRecursos recursos;
  const auto sessao = PPRegistroSessao<_REG_VARMO_INICIALIZAPS>(m_strEmpresa, m_usUsuario, m_lSessao);
  if (HRESULT hr = recursos.Inicializa(sessao, 0); FAILED(hr)) return hr;
  _REG_PP_RECURSOPS recurso{};
  if (HRESULT hr = recursos.Le(static_cast<int32_t>(ulRecurso), &recurso, 0); FAILED(hr)) return hr;

  // The order with its processes, items, reports and resources.
  _REG_VARMO_OPPS op{};
  if (HRESULT hr = LePonteiros(1, &ulChaveOP, &op, kLeituraSaldoHoras); FAILED(hr)) return hr;
  CQVCurrencyEx quantidade;
  for (uint16_t i = 0; op.pregItens && i < op.usQtdItens; ++i) {
    quantidade += Quantia(op.pregItens[i].vQuantidadeProgramada.int64).GetCY();
    quantidade -= Quantia(op.pregItens[i].vQuantidadeCancelada.int64).GetCY();
  }
  CQVCurrencyEx saldo;
  for (uint16_t i = 0; op.pregProcessos && i < op.usQtdProcessos; ++i) {
    const _REG_VARMO_OP_PROCESSOPS& processo = op.pregProcessos[i];
    if (processo.cSituacao == 50 || !ProcessoTemRecurso(processo, ulRecurso)) continue;
    saldo += HorasProcesso(processo, recurso, quantidade);
  }
  LiberaRegistroOP(&op, 0);
  pvSaldoRecurso->vSaldoRecurso.int64 = saldo.GetValorBruto();
  return S_OK;
}

// A resource-type server for the readers' and caches' tests. It keeps the types that a test gives
// it, each as its main record and, per operation, the operation record with its switches and the
// one definition of each kind that the operation reports, and answers as the module's server does:
// LePonteiros gives the main record, the detail text with reading bit 0, the operations with bit 1
// or 2 and, with bit 2, one definition for each switch that is set, every array from the task
// allocator; without bits 1 and 2 the operation count comes as stored, with no array. A removed
// type answers 0x80040000 | 1586. It counts its calls and keeps their arguments. Switches:
// `falhaLe` answers that failure from LePonteiros after the record and its arrays are filled (a
// server that fails part way); `semArraysDefinicoes` states each definition's count without its
// array; `falhaExiste` and `falhaBusca` fail those calls. It lives on the stack of a fixture; its
// references are only counted (ServidorFalso, the frame of the tests' fake servers).
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "platform/com/taskmem.h"
#include "platform/mfc/CString.h"
#include "platform/win32/codepage.h"
#include "server/idl/Varmo.h"

// What the tests' fake servers answer alike: IUnknown over a counter of references (the object
// lives on a test's stack), Inicializa and Finaliza with success, FuncaoGenerica with E_NOTIMPL.
template <class Interface>
class ServidorFalso : public Interface {
 public:
  HRESULT QueryInterface(REFIID, void** objeto) override {
    *objeto = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++referencias; }
  ULONG Release() override { return --referencias; }
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return S_OK; }
  HRESULT Finaliza() override { return S_OK; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO, _REG_FUNCAO_GENERICA_VARMO**) override {
    return E_NOTIMPL;
  }

  ULONG referencias = 1;
};

class TipoRecursoFalso : public ServidorFalso<IQVPP_TipoRecurso> {
 public:
  static constexpr HRESULT kRemovido = static_cast<HRESULT>(0x80040000 | 1586);

  struct Operacao {
    _REG_PP_TIPO_RECURSO_OPERACAOPS registro;  // counts and arrays are the server's to fill
    _REG_PP_TIPO_RECURSO_CONTADORPS contador;
    _REG_PP_TIPO_RECURSO_QUANTIDADEPS quantidade;
    _REG_PP_TIPO_RECURSO_INTERVALOPS intervalo;
    _REG_PP_TIPO_RECURSO_DETALHEPS detalhe;
  };
  struct Tipo {
    _REG_PP_TIPO_RECURSOPS registro;  // usQuantOperacaoRecurso and pregOperacoes filled on reading
    Operacao operacoes[2];
    uint16_t quantidadeOperacoes = 0;
    bool removido = false;
  };

  HRESULT Grava(uint32_t, _REG_PP_TIPO_RECURSOPS, uint32_t*) override { return E_NOTIMPL; }
  HRESULT Remove(uint32_t) override { return E_NOTIMPL; }
  HRESULT BuscaRegistros(_REG_PP_LISTA_TIPO_RECURSOPS*, uint16_t) override { return E_NOTIMPL; }
  HRESULT SetFiltro(_REG_PP_FILTRO_TIPO_RECURSOPS) override { return E_NOTIMPL; }
  HRESULT LimpaFiltro() override { return E_NOTIMPL; }

  HRESULT LePonteiros(uint32_t ulQtd, uint32_t* pulPonteiros, _REG_PP_TIPO_RECURSOPS* registro,
                      uint16_t usTipoLeitura) override {
    ++leituras;
    ultimaQuantidade = ulQtd;
    ultimoTipoLeitura = usTipoLeitura;
    ultimoPonteiro = pulPonteiros[0];
    const auto achado = tipos.find(ultimoPonteiro);
    if (achado == tipos.end() || achado->second.removido) return kRemovido;
    const Tipo& tipo = achado->second;
    *registro = tipo.registro;
    registro->usQuantOperacaoRecurso = tipo.quantidadeOperacoes;
    registro->pregOperacoes = nullptr;
    if ((usTipoLeitura & 1) == 0) std::memset(registro->szDetalhamento, 0, sizeof registro->szDetalhamento);
    if ((usTipoLeitura & 6) != 0 && tipo.quantidadeOperacoes > 0) {
      auto* operacoes = Aloca<_REG_PP_TIPO_RECURSO_OPERACAOPS>(tipo.quantidadeOperacoes);
      for (uint16_t i = 0; i < tipo.quantidadeOperacoes; ++i)
        operacoes[i] = ComDefinicoes(tipo.operacoes[i], (usTipoLeitura & 4) != 0);
      registro->pregOperacoes = operacoes;
    }
    return falhaLe;
  }

  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* lista) override {
    ++buscas;
    if (FAILED(falhaBusca)) return falhaBusca;
    uint32_t quantidade = 0;
    for (const auto& [ponteiro, tipo] : tipos) quantidade += tipo.removido ? 0 : 1;
    lista->lQtd = quantidade;
    lista->plPonteiro = Aloca<uint32_t>(quantidade);
    uint32_t i = 0;
    for (const auto& [ponteiro, tipo] : tipos)
      if (!tipo.removido) lista->plPonteiro[i++] = ponteiro;
    return S_OK;
  }

  HRESULT Existe(BSTR bsCodigo, uint32_t* pulPosicao, uint8_t cUtilizaFiltro) override {
    ++existes;
    ultimoUtilizaFiltro = cUtilizaFiltro;
    *pulPosicao = 0;
    if (FAILED(falhaExiste)) return falhaExiste;
    const std::string codigo = AnsiFromWide(std::u16string_view(bsCodigo, SysStringLen(bsCodigo)));
    for (const auto& [ponteiro, tipo] : tipos)
      if (!tipo.removido && CString(tipo.registro.szCodigo).CompareNoCase(codigo.c_str()) == 0)
        *pulPosicao = ponteiro;
    return S_OK;
  }

  std::map<uint32_t, Tipo> tipos;
  HRESULT falhaLe = S_OK;
  HRESULT falhaExiste = S_OK;
  HRESULT falhaBusca = S_OK;
  bool semArraysDefinicoes = false;

  int leituras = 0;
  int buscas = 0;
  int existes = 0;
  uint32_t ultimaQuantidade = 0;
  uint32_t ultimoPonteiro = 0;
  uint16_t ultimoTipoLeitura = 0;
  uint8_t ultimoUtilizaFiltro = 0xFF;

 private:
  template <class R>
  static R* Aloca(size_t quantidade) {
    return static_cast<R*>(CoTaskMemAlloc(quantidade * sizeof(R)));
  }
  // The count of a kind as it goes out: one when the definitions are asked for and it is switched on.
  static uint16_t Quantas(bool definicoes, uint8_t cAponta) { return definicoes && cAponta != 0 ? 1 : 0; }
  template <class R>
  R* Um(bool definicoes, uint8_t cAponta, const R& definicao) const {
    if (Quantas(definicoes, cAponta) == 0 || semArraysDefinicoes) return nullptr;
    R* array = Aloca<R>(1);
    *array = definicao;
    return array;
  }

  // The operation as it goes out: its record, and with the definitions one of each switched kind.
  _REG_PP_TIPO_RECURSO_OPERACAOPS ComDefinicoes(const Operacao& operacao, bool definicoes) const {
    _REG_PP_TIPO_RECURSO_OPERACAOPS saida = operacao.registro;
    saida.usQuantApontaContador = Quantas(definicoes, saida.cApontaContador);
    saida.pregContadores = Um(definicoes, saida.cApontaContador, operacao.contador);
    saida.usQuantApontaQuantidade = Quantas(definicoes, saida.cApontaQuantidade);
    saida.pregQuantidades = Um(definicoes, saida.cApontaQuantidade, operacao.quantidade);
    saida.usQuantApontaIntervalo = Quantas(definicoes, saida.cApontaIntervalo);
    saida.pregIntervalos = Um(definicoes, saida.cApontaIntervalo, operacao.intervalo);
    saida.usQuantApontaDetalhe = Quantas(definicoes, saida.cApontaDetalhe);
    saida.pregDetalhes = Um(definicoes, saida.cApontaDetalhe, operacao.detalhe);
    return saida;
  }
};

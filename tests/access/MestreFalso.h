// A master-settings server for the readers' and caches' tests: it answers the sale tables it is
// given (and 12 terminals), counts its reads and fails them with `resposta` when that is set. It
// lives on the stack of a fixture; its references are only counted.
#pragma once

#include <cstring>

#include "server/idl/VarmoFichaTecnicaMestre.h"

class MestreFalso : public IQVPP_MestrePP {
 public:
  HRESULT QueryInterface(REFIID, void** objeto) override {
    *objeto = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++referencias; }
  ULONG Release() override { return --referencias; }
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return S_OK; }
  HRESULT Grava(_REG_VARMO_MESTRE) override { return E_NOTIMPL; }
  HRESULT GravaInfApontExternoFiliais(uint16_t, _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS*, int32_t*) override {
    return E_NOTIMPL;
  }
  HRESULT Le(_REG_VARMO_MESTRE* registro) override {
    ++leituras;
    if (FAILED(resposta)) return resposta;
    std::memset(registro, 0, sizeof *registro);
    registro->ulPonteiroTabelaPrecoVendaProduto = tabelaProduto;
    registro->ulPonteiroTabelaPrecoVendaServico = tabelaServico;
    registro->iQuantidadeTerminais = 12;
    return S_OK;
  }
  HRESULT LeListaInfApontExternoFiliais(_REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS*) override {
    return E_NOTIMPL;
  }
  HRESULT LeVersao(_REG_PP_VERSAOPS*) override { return E_NOTIMPL; }
  HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS*) override { return E_NOTIMPL; }
  HRESULT ProdutoTeveMovimentacao(uint32_t, int32_t*, uint16_t*) override { return E_NOTIMPL; }
  HRESULT LeInfApontExternoFiliais(uint16_t, _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS*) override {
    return E_NOTIMPL;
  }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO, _REG_FUNCAO_GENERICA_VARMO**) override {
    return E_NOTIMPL;
  }

  ULONG referencias = 1;
  int leituras = 0;
  HRESULT resposta = S_OK;
  uint32_t tabelaProduto = 2;
  uint32_t tabelaServico = 1;
};

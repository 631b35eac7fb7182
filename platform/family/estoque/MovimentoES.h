// The classes of the inventory stand-in (ServidorEstoque.h states their files and rules): the
// initialisation that the three share, and the movement server.
#pragma once

#include <utility>

#include "platform/family/estoque/ServidorEstoque.h"

// Initialised with the company, user, session and the production module's number.
template <class Interface>
class ObjetoEstoque : public ObjetoFamilia<Interface> {
 public:
  using ObjetoFamilia<Interface>::ObjetoFamilia;
  HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao, int32_t lModulo) override {
    InicializacaoFamilia recebida = RecebidoDeArgumentos("Inicializa", bsEmpresa, usUsuario, lNumeroSessao);
    recebida.modulo = lModulo;
    return this->IniciaSessao(std::move(recebida), lModulo == kESModuloProducao);
  }
};

class QVES_Movimento : public ObjetoEstoque<IQVES_Movimento> {
 public:
  using ObjetoEstoque::ObjetoEstoque;

  HRESULT GravaMovimento(int32_t lOpcao, _REG_ES_MOVIMENTOPS regMovimento, BSTR bsTexto,
                         uint32_t* pulNumero) override;
  HRESULT LeMovimento(uint32_t ulChave, _REG_ES_MOVIMENTOPS* pregMovimento) override;
  HRESULT RemoveMovimento(uint32_t ulNumero, uint16_t usMesAno) override;
  HRESULT LeLote(int32_t lPonteiro, _REG_ES_LOTEPS* pregLote) override;
  HRESULT LeVolume(int32_t lPonteiro, _REG_ES_VOLUMEPS* pregVolume) override;
  HRESULT LeSaldosProdutos(_REG_ES_FILTRO_SALDOS_PRODUTOPS regFiltro,
                           _REG_ES_LISTA_SALDOS_PRODUTOSPS* pregLista) override;
  HRESULT QuantidadeSaldosFilial(uint16_t usFilial, uint32_t* pulQtd) override;
  HRESULT LeSaldosFilial(uint16_t usFilial, uint32_t ulQtd, _REG_ES_SALDOS_PRODUTOSPS* pregSaldos) override;
  HRESULT LeSaldoPosicao(_REG_ES_CHAVE_SALDOPS regChave, _REG_ES_SALDO_POSICAOPS* pregSaldo, int32_t lReservado1,
                         int32_t lReservado2) override;
  HRESULT GravaReservas(uint32_t ulChave, int32_t lTipo, uint16_t usFilial, uint32_t ulQtd,
                        const _REG_ES_RESERVAPS* pregReservas) override;
  HRESULT RemoveReservas(uint32_t ulChave, int32_t lTipo, uint16_t usFilial) override;
  HRESULT LeLoteReposicao(_REG_POSICAO_PRODUTOPS regPosicao, CY* pvLoteReposicao) override;
};

// The interfaces of the inventory module's servers (ES) that this system creates, with their
// identifiers: the master settings, the storage places and the movements. Methods are named, not
// numbered, as in InterfacesBase.h: only the calls that this system makes. Every method answers an
// HRESULT; a negative one is a failure and leaves the outputs as they were.
#pragma once

#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "platform/family/estoque/RegistrosEstoque.h"
#include "server/idl/VarmoOPIndustrializacao.h"

// The number by which the production module names itself to the inventory servers.
constexpr int32_t kESModuloProducao = 1282;

// {588C5B24-CA5B-11D2-945D-00A0C9EC15B5} / {5FECCC8F-CB24-11D2-945E-00A0C9EC15B5}
constexpr CLSID CLSID_QVES_Mestre = {
    0x588C5B24, 0xCA5B, 0x11D2, {0x94, 0x5D, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
constexpr IID IID_IQVES_Mestre = {
    0x5FECCC8F, 0xCB24, 0x11D2, {0x94, 0x5E, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
// {352D7C83-A9FF-11D2-940F-00A0C9EC15B5} / {352D7C82-A9FF-11D2-940F-00A0C9EC15B5}
constexpr CLSID CLSID_QVES_Armazenagem = {
    0x352D7C83, 0xA9FF, 0x11D2, {0x94, 0x0F, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
constexpr IID IID_IQVES_Armazenagem = {
    0x352D7C82, 0xA9FF, 0x11D2, {0x94, 0x0F, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
// {50BB977B-B433-11D2-9425-00A0C9EC15B5} / {50BB977A-B433-11D2-9425-00A0C9EC15B5}
constexpr CLSID CLSID_QVES_Movimento = {
    0x50BB977B, 0xB433, 0x11D2, {0x94, 0x25, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
constexpr IID IID_IQVES_Movimento = {
    0x50BB977A, 0xB433, 0x11D2, {0x94, 0x25, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Each is initialised with the company, the user, the session and the calling module's number.
struct IQVES_Mestre : IUnknown {
  // The real interface's third method.
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao, int32_t lModulo) = 0;
  // The master settings (the second argument is 0).
  virtual HRESULT LeMestre(_REG_ES_MESTREPS* pregMestre, int32_t lReservado) = 0;
  // The accounting grids of a branch.
  virtual HRESULT LeGradesContabilizacao(uint16_t iPonteiroFilial, _REG_ES_GRADES_CONTABILIZACAOPS* pregGrades) = 0;
};

struct IQVES_Armazenagem : IUnknown {
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao, int32_t lModulo) = 0;
  // The location at a pointer (the third argument is 0).
  virtual HRESULT LeLocal(int32_t lPonteiro, _REG_ES_LOCAISPS* pregLocal, int32_t lReservado) = 0;
  // The location of a code, without regard to case; lTipoLeitura is 'X'. With a branch, only a
  // location of that branch or of every branch answers.
  virtual HRESULT ExisteLocal(BSTR bsCodigo, int32_t lTipoLeitura, int32_t* plPonteiro, _REG_ES_LOCAISPS* pregLocal) = 0;
  virtual HRESULT ExisteLocalFilial(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usFilial, int32_t* plPonteiro,
                                    _REG_ES_LOCAISPS* pregLocal) = 0;
  // The number of locations: bsBusca "X" and lParametro 0; pointers run 1 .. the count.
  virtual HRESULT QuantidadeLocais(BSTR bsBusca, int32_t lParametro, uint32_t* pulQtd) = 0;
  // The storage group of a classification text, without regard to case.
  virtual HRESULT LeGrupoArmazenagem(BSTR bsClassificacao, _REG_ES_GRUPO_ARMAZENAGEMPS* pregGrupo) = 0;
};

struct IQVES_Movimento : IUnknown {
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao, int32_t lModulo) = 0;
  // Records a movement (lOpcao 0) with its text; *pulNumero is its number in the month of its date,
  // and its key is that number << 12 | the month number.
  virtual HRESULT GravaMovimento(int32_t lOpcao, _REG_ES_MOVIMENTOPS regMovimento, BSTR bsTexto,
                                 uint32_t* pulNumero) = 0;
  // The movement of a key, its arrays in blocks of the task allocator that the caller frees.
  virtual HRESULT LeMovimento(uint32_t ulChave, _REG_ES_MOVIMENTOPS* pregMovimento) = 0;
  // Takes a movement back: its balance loses what the movement gave it.
  virtual HRESULT RemoveMovimento(uint32_t ulNumero, uint16_t usMesAno) = 0;
  virtual HRESULT LeLote(int32_t lPonteiro, _REG_ES_LOTEPS* pregLote) = 0;
  virtual HRESULT LeVolume(int32_t lPonteiro, _REG_ES_VOLUMEPS* pregVolume) = 0;
  // The balances that the filter selects (its branch when not 0), the array for the caller to free.
  virtual HRESULT LeSaldosProdutos(_REG_ES_FILTRO_SALDOS_PRODUTOPS regFiltro,
                                   _REG_ES_LISTA_SALDOS_PRODUTOSPS* pregLista) = 0;
  // The balances of a branch: their number, then as many into the caller's array.
  virtual HRESULT QuantidadeSaldosFilial(uint16_t usFilial, uint32_t* pulQtd) = 0;
  virtual HRESULT LeSaldosFilial(uint16_t usFilial, uint32_t ulQtd, _REG_ES_SALDOS_PRODUTOSPS* pregSaldos) = 0;
  // The balance of a product position at a branch; the last two arguments are 0.
  virtual HRESULT LeSaldoPosicao(_REG_ES_CHAVE_SALDOPS regChave, _REG_ES_SALDO_POSICAOPS* pregSaldo,
                                 int32_t lReservado1, int32_t lReservado2) = 0;
  // Records the reservations of an order (lTipo 2, the branch of the order) and drops them all.
  virtual HRESULT GravaReservas(uint32_t ulChave, int32_t lTipo, uint16_t usFilial, uint32_t ulQtd,
                                const _REG_ES_RESERVAPS* pregReservas) = 0;
  virtual HRESULT RemoveReservas(uint32_t ulChave, int32_t lTipo, uint16_t usFilial) = 0;
  // The replenishment batch of a product position.
  virtual HRESULT LeLoteReposicao(_REG_POSICAO_PRODUTOPS regPosicao, CY* pvLoteReposicao) = 0;
};

#pragma GCC diagnostic pop

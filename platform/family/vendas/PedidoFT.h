// The stand-in of the sales module's order server (IQVFT_Pedido): sales orders with their items,
// the items' releases and the nested arrays of the sales module's own, kept in tables
// (TabelaFamilia) of the company's FT directory and read fresh by every call, so that a change
// made by another process shows in the next call.
//
// Files (one record per line of the order; an item is known by its order's key and its place):
//   PEDIDOS.DAT   PedidoFT: the order's key and record, its counts and pointers zero
//   ITENSPED.DAT  ItemPedidoFT: an item, its counts and pointers zero
//   LIBERPED.DAT  LiberacaoPedidoFT: a release of an item, in the order made
//   ANEXOPED.DAT  AnexoPedidoFT: the complements and details that the sales module hangs on an
//                 order or an item; this system only frees them, so they are kept as bytes
//
// A read builds the record and every nested array in the task allocator with counts that match
// the tables; a failure leaves the caller's pointer alone. A change (programmed quantities, a
// release or its reversal) is one exclusive change of one table that is written whole or not at
// all. A key or an item that the tables do not hold answers kFamiliaNaoEncontrado, a kind of
// reading or a period kind other than the callers' E_INVALIDARG, a missing output E_POINTER.
//
// What the stand-in decides where the sales module keeps its own rules: a release is a new release
// of the item to the production order; its reversal takes away the latest release of the item to
// the same production order with the same quantity, and there is nothing to reverse when none is
// left. The search keeps no order states: the filter's state bytes are taken as given; its
// period bounds the orders' emission by its last day.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/comum/ServidorFamilia.h"
#include "platform/family/vendas/InterfacePedido.h"

#pragma pack(push, 2)

struct PedidoFT {
  uint32_t ulChave;
  tagREG_PEDIDOPS regPedido;
};
static_assert(sizeof(PedidoFT) == 2486);

struct ItemPedidoFT {
  uint32_t ulChave;
  uint16_t usIndice;  // the item's place in the order, from 0
  tagREG_ITENSPEDIDOPS regItem;
};
static_assert(sizeof(ItemPedidoFT) == 1394);

struct LiberacaoPedidoFT {
  uint32_t ulChave;
  uint16_t usIndice;
  tagREG_LIBERACAO_ITENS_PEDIDOPS regLiberacao;
};
static_assert(sizeof(LiberacaoPedidoFT) == 86);

// Where an AnexoPedidoFT hangs.
enum LugarAnexoPedidoFT : uint8_t {
  kComplementoPedidoFT = 1,  // the order's complement
  kDetalhePedidoFT = 2,      // a detail of the order
  kDetalheItemFT = 3,        // a detail of the item usIndice
  kComplementoItemFT = 4,    // the complement of the item usIndice
};

struct AnexoPedidoFT {
  uint32_t ulChave;
  uint16_t usIndice;  // the item, for the item's complement and details
  uint8_t cLugar;     // LugarAnexoPedidoFT
  uint8_t cReservado7;
  uint16_t usTamanho;    // bytes of cDados: the complement, or the detail's array (none when 0)
  uint8_t cCabeca[28];   // a detail's first 28 bytes
  uint8_t cDados[88];
};
static_assert(sizeof(AnexoPedidoFT) == 126);

#pragma pack(pop)

// The seeding of tests and of the run command: orders as a reader receives them.
struct DetalhePedidoSemeadoFT {
  uint8_t cabeca[28] = {};
  std::vector<uint8_t> dados;  // the detail's array; none when empty (at most 88 bytes)
};

struct ItemPedidoSemeadoFT {
  tagREG_ITENSPEDIDOPS regItem{};  // its counts and pointers are taken from the lists below
  std::vector<DetalhePedidoSemeadoFT> detalhes;
  std::vector<tagREG_LIBERACAO_ITENS_PEDIDOPS> liberacoes;
  std::vector<uint8_t> complemento;  // none when empty (at most 88 bytes)
};

struct PedidoSemeadoFT {
  uint32_t ulChave = 0;  // not 0, one per order
  tagREG_PEDIDOPS regPedido{};  // its counts, flag and pointers are taken from the lists below
  std::vector<uint8_t> complemento;
  std::vector<DetalhePedidoSemeadoFT> detalhes;
  std::vector<ItemPedidoSemeadoFT> itens;
};

// Replaces the company's orders with `pedidos`. S_OK, E_INVALIDARG (a key 0 or repeated, a block
// too long, more than 65535 of a list), kFamiliaSemDiretorio, or the first file error.
HRESULT GravaPedidosFT(const std::string& empresa, const std::vector<PedidoSemeadoFT>& pedidos);

// The answers of LiberaItem.
constexpr HRESULT kItemPedidoLiberado = 1;
constexpr HRESULT kNadaALiberar = S_OK;

// The initialisation record: company terminated in its field, the rest zero.
bool InicializacaoPedidoValida(const _REG_FT_INICIALIZA_PEDIDOPS& registro);

class QVFT_Pedido
    : public ObjetoRegistroSessao<IQVFT_Pedido, _REG_FT_INICIALIZA_PEDIDOPS, &InicializacaoPedidoValida> {
 public:
  using ObjetoRegistroSessao::ObjetoRegistroSessao;

  HRESULT LePedido(uint32_t ulChave, int32_t lTipoLeitura, tagREG_PEDIDOPS** ppregPedido) override;
  HRESULT AtualizaQuantidadesProgramadas(uint32_t ulQtd, const tagREG_DIFERENCA_QTD_PEDIDOPS* pregDiferencas) override;
  HRESULT LiberaItem(uint32_t ulQtd, const tagREG_LIBERA_ITEM_PEDIDOPS* pregLiberacao) override;
  HRESULT BuscaPonteiros(tagREG_FILTRO_PEDIDOPS regFiltro, tagREG_PERIODO_PEDIDOPS regPeriodo,
                         _REG_VARMO_PONTEIROS_ULONGPS* pregPonteiros) override;
};

// What the order handler's tests share: the company of the master-data tests (EmpresaCadastros)
// with an open period around the pinned day (01/05/2024 to 31/05/2024, the clock at 10/05/2024),
// one order type with its numbering, three processes, a production operation, a resource and
// three products in the base system's stand-in, and an order handler `op_` initialised completely
// for user 7. Orders are built as OPTeste objects that own their nested arrays; a read-back order
// goes back to the task allocator with LiberaOP.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "server/CPPServidorMestrePP.h"
#include "server/op/CPPServidorOP.h"
#include "tests/server/cadastros/EmpresaCadastros.h"
#include "tests/server/op/PeriodosOP.h"

// A quantity as the records hold it (value x 10,000).
CY Quantidade(int64_t inteiro, int64_t decimosMilesimos = 0);

struct InsumoOP {
  uint32_t produto = 0;
  CY quantidadeUnitaria{};
  CY quantidadeTotal{};  // also the total with loss
  GradeTeste grade{};
};

struct EtiquetaOP {
  uint32_t ulQuantidadeTotal = 0;
  uint16_t usQuantidade = 0;
  std::string descricao = "ETIQUETA";
};

struct ProcessoOP {
  int32_t processo = 0;
  bool recebeApontamento = false;
  std::vector<InsumoOP> insumos{};
  std::vector<int32_t> recursos{};
  std::vector<EtiquetaOP> etiquetas{};
  std::vector<std::string> imagens{};
};

struct ItemOP {
  uint32_t produto = 0;
  CY programada{};
  uint8_t cTipoItem = 1;  // complement
  uint32_t lPonteiroPedidoNecessidade = 0;
  uint16_t usIdxItemPedido = 0;
};

// An order record with its nested arrays, owned here: edit `cabecalho` and the vectors, then pass
// Registro() (the counts and pointers set from the vectors at that moment).
class OPTeste {
 public:
  _REG_VARMO_OPPS cabecalho{};
  std::vector<_REG_VARMO_OP_PROCESSOPS> processos;
  std::vector<std::vector<_REG_VARMO_OP_PROCESSO_INSUMOPS>> insumos;  // per process
  std::vector<std::vector<_REG_PP_OP_RECURSOPS>> recursos;
  std::vector<std::vector<_REG_PP_OP_PROCESSO_ETIQUETAPS>> etiquetas;
  std::vector<std::vector<_REG_PP_OP_PROCESSO_IMAGEMPS>> imagens;
  std::vector<_REG_VARMO_OP_ITEMPS> itens;

  _REG_VARMO_OPPS Registro();
};

// Frees what a read gave an order record (processes with their inputs, resources, reports, images
// and labels; items) and empties the record's arrays.
void LiberaOP(_REG_VARMO_OPPS& registro);

class EmpresaOP : public EmpresaCadastros {
 protected:
  static constexpr uint32_t kProdutoFabricado = 1;  // made in-house: the orders' product
  static constexpr uint32_t kProdutoInsumo = 2;     // made in-house, an input
  static constexpr uint32_t kProdutoTerceiros = 3;  // a third party's, an input
  static constexpr uint16_t kFilial = 1;

  void SetUp() override;
  void TearDown() override;

  // The session of user 7, session 4242, with cInicializarCompleto as given.
  static _REG_VARMO_INICIALIZAPS Sessao(uint8_t cInicializarCompleto = 1);
  // Changes record 0 of "PPMESTRE.DAT" in place, then initialises op_ again so that it reads it.
  void DefineMestre(const std::function<void(PPRegistroMestre&)>& muda);
  PPRegistroMestre LeMestre() const;
  // Gives the company its directory of one of the family's modules ("ES", "FT", ...), where that
  // module's stand-in keeps its files.
  void DiretorioModulo(const char* modulo);

  // An order of the type in situation 1, emitted today in branch 1 for kProdutoFabricado, with
  // these processes and items.
  OPTeste NovaOP(const std::vector<ProcessoOP>& processos, const std::vector<ItemOP>& itens) const;

  int32_t tipoOP_ = 0;
  int32_t processos_[3] = {};  // "CORTE", "COSTURA", "ACABAMENTO"
  int32_t operacao_ = 0;
  int32_t recurso_ = 0;
  CPPServidorOP op_;
};

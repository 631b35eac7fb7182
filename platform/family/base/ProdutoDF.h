// The stand-ins of the base system's product and grid servers (IQVDF_Produto, IQVDF_GradesProduto):
// the products, services, units, prices, price-table items, grid references and grid items that
// this system reads, kept in tables (TabelaFamilia) of the company's DF directory and read fresh by
// every call, so that a change made by another process shows in the next call.
//
// Files and keys:
//   PRODUTOS.DAT  _REG_PRODUTOPS (776), keyed by lPonteiroProduto; the record's own price is the
//                 one that the bulk reading (kind 1) answers
//   SERVICOS.DAT  _REG_SERVICOSPS (506), pointer = position in the file + 1
//   UNIDPROD.DAT  _REG_UNIDADES_MEDIDAPS (60), UNIDSERV.DAT _REG_UNIDADES_MEDIDA_SERVICOSPS (60):
//                 pointer = position + 1, so that the counts name the pointers 1..count
//   PRECOS.DAT    PrecoProdutoDF: the sale price of a product ('P') or service ('S') under a price
//                 table. A read under a table that holds no price at all fails; a table that holds
//                 prices of others but none of the item gives the price 0
//   ITENSTAB.DAT  ItemTabelaPrecoDF: a price-table item per product grid position and table
//   REFGRADE.DAT  _REG_REFERENCIA_GRADEPS (48), by the position in its first 10 bytes
//   GRADES.DAT    ItemGradeDF: the items of each grid, by grid and item number (iPosicao)
//   DESCPROD.DAT  DescricaoProdutoDF: a product's description text (none: an empty text)
//   AGRUPAM.DAT   AgrupamentoDF: what a type-'T' product or service groups ("AG")
//   COMPEST.DAT   ComposicaoEstoqueDF: a product's stock composition, quantities per unit; a
//                 product without lines is its own composition
//
// A pointer, code, grid item or price table that the tables do not hold answers
// kFamiliaNaoEncontrado, never an empty record; a kind of reading or search other than the one
// the callers pass, a count that differs from the table's, or a missing output answers
// E_INVALIDARG or E_POINTER. A failure leaves the outputs as they were, except the lists, which are
// emptied first; arrays come from the task allocator (a list of none holds a null array).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/family/base/InterfacesBase.h"
#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/comum/ServidorFamilia.h"

#pragma pack(push, 2)

struct PrecoProdutoDF {
  uint8_t cTipo;  // 'P' product, 'S' service
  uint8_t cReservado1;
  uint32_t lPonteiro;
  uint16_t iTabelaPreco;
  CY vPrecoVendaV8;
};
static_assert(sizeof(PrecoProdutoDF) == 16);
static_assert(offsetof(PrecoProdutoDF, vPrecoVendaV8) == 8);

struct ItemTabelaPrecoDF {
  _REG_FILTRO_LEITURA_TAB_PRECOSPS regFiltro;  // its last field 0
  _REG_ITEM_TAB_PRECOSPS regItem;
};
static_assert(sizeof(ItemTabelaPrecoDF) == 100);

struct ItemGradeDF {
  uint16_t iGrade;
  _REG_ITENS_GRADE_PRODUTOPS regItem;
};
static_assert(sizeof(ItemGradeDF) == 66);

struct DescricaoProdutoDF {
  uint32_t lPonteiroProduto;
  char szDescricao[508];
};
static_assert(sizeof(DescricaoProdutoDF) == 512);

struct AgrupamentoDF {
  uint8_t cTipo;  // 'P' or 'S'
  uint8_t cReservado1;
  uint32_t lPonteiroGrupo;   // the type-'T' product or service
  uint32_t lPonteiroMembro;  // one it stands for
};
static_assert(sizeof(AgrupamentoDF) == 10);

struct ComposicaoEstoqueDF {
  uint32_t lPonteiroProduto;
  _REG_COMPOSICAO_ITEM_REQUISICAOPS regLinha;  // vQuantidade per unit of the product
};
static_assert(sizeof(ComposicaoEstoqueDF) == 28);

#pragma pack(pop)

// What a company's product tables hold; GravaCadastroProdutosDF replaces every table with it.
struct CadastroProdutosDF {
  std::vector<_REG_PRODUTOPS> produtos;
  std::vector<_REG_SERVICOSPS> servicos;
  std::vector<_REG_UNIDADES_MEDIDAPS> unidades;
  std::vector<_REG_UNIDADES_MEDIDA_SERVICOSPS> unidadesServico;
  std::vector<PrecoProdutoDF> precos;
  std::vector<ItemTabelaPrecoDF> itensTabelaPreco;
  std::vector<_REG_REFERENCIA_GRADEPS> referenciasGrade;
  std::vector<ItemGradeDF> itensGrade;
  std::vector<DescricaoProdutoDF> descricoes;
  std::vector<AgrupamentoDF> agrupamentos;
  std::vector<ComposicaoEstoqueDF> composicoes;
};

// The seeding of tests and of the run command. S_OK, kFamiliaSemDiretorio, or the first file error
// as an HRESULT.
HRESULT GravaCadastroProdutosDF(const std::string& empresa, const CadastroProdutosDF& cadastro);
// Sets one price (adding it when the item has none under the table), as one exclusive change.
HRESULT GravaPrecoDF(const std::string& empresa, uint8_t cTipo, uint32_t lPonteiro, uint16_t iTabelaPreco,
                     CY vPrecoVendaV8);

class QVDF_Produto : public ObjetoEmpresaUsuarioSessao<IQVDF_Produto> {
 public:
  using ObjetoEmpresaUsuarioSessao::ObjetoEmpresaUsuarioSessao;

  HRESULT QuantidadeProdutos(BSTR bsBusca, int32_t lPonteiro, uint32_t* pulQtd) override;
  HRESULT PonteirosProdutos(uint32_t ulQtd, uint32_t* pulPonteiros) override;
  HRESULT PonteirosProdutosAgrupados(BSTR bsBusca, int32_t lPonteiro, uint32_t ulQtd,
                                     uint32_t* pulPonteiros) override;
  HRESULT LePonteirosProdutos(uint32_t ulQtd, const uint32_t* pulPonteiros, int32_t lTipoLeitura,
                              _REG_PRODUTOPS* pregProdutos) override;
  HRESULT LeProduto(int32_t lPonteiro, uint16_t usTabelaPreco, _REG_PRODUTOPS* pregProduto) override;
  HRESULT LeProdutoLite(int32_t lPonteiro, int32_t lTipoLeitura, _REG_PRODUTOLITEPS* pregProduto) override;
  HRESULT ExisteProduto(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usTabelaPreco, int32_t* plPonteiro,
                        _REG_PRODUTOPS* pregProduto) override;
  HRESULT LeDescricaoProduto(int32_t lPonteiro, BSTR* pbsDescricao) override;
  HRESULT BuscaPonteiros(uint8_t cTipo, BSTR bsBusca, int32_t lParametro, _REG_FILTRO_PRODUTOPS regFiltro,
                         _REG_VARMO_PONTEIROS_ULONGPS* pregPonteiros) override;
  HRESULT QuantidadeServicos(BSTR bsBusca, int32_t lPonteiro, uint32_t* pulQtd) override;
  HRESULT PonteirosServicosAgrupados(BSTR bsBusca, int32_t lPonteiro, uint32_t ulQtd,
                                     uint32_t* pulPonteiros) override;
  HRESULT LeServico(int32_t lPonteiro, uint16_t usTabelaPreco, _REG_SERVICOSPS* pregServico) override;
  HRESULT ExisteServico(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usTabelaPreco, int32_t* plPonteiro,
                        _REG_SERVICOSPS* pregServico) override;
  HRESULT QuantidadeUnidadesMedida(uint32_t* pulQtd) override;
  HRESULT LeUnidadeMedida(int32_t lPonteiro, _REG_UNIDADES_MEDIDAPS* pregUnidade) override;
  HRESULT QuantidadeUnidadesServico(uint32_t* pulQtd) override;
  HRESULT LeUnidadeServico(int32_t lPonteiro, _REG_UNIDADES_MEDIDA_SERVICOSPS* pregUnidade) override;
  HRESULT LeItemTabelaPreco(_REG_FILTRO_LEITURA_TAB_PRECOSPS regFiltro,
                            _REG_LISTA_ITENS_TAB_PRECOSPS* pregLista) override;
  HRESULT LeReferenciaGrade(_REG_REFERENCIA_GRADEPS regFiltro, _REG_LISTA_REFERENCIAS_GRADEPS* pregLista) override;
  HRESULT LeComposicaoEstoque(_REG_POSICAO_PRODUTOPS regPosicao, CY vQuantidade, uint16_t* piUnidadeEstoque,
                              uint32_t* pulQtd, _REG_COMPOSICAO_ITEM_REQUISICAOPS** ppregComposicao) override;
};

class QVDF_GradesProduto : public ObjetoEmpresaUsuarioSessao<IQVDF_GradesProduto> {
 public:
  using ObjetoEmpresaUsuarioSessao::ObjetoEmpresaUsuarioSessao;

  HRESULT ExisteItemGrade(uint16_t usGrade, BSTR bsCodigo, int32_t* plPonteiro,
                          _REG_ITENS_GRADE_PRODUTOPS* pregItem) override;
  HRESULT LeItemGrade(uint16_t usGrade, uint16_t usItem, _REG_ITENS_GRADE_PRODUTOPS* pregItem) override;
};

// Records of the base system's product servers (IQVDF_Produto, IQVDF_GradesProduto) that the
// production module reads: a product, a service, a grid reference, an item of a price table, a
// grid item and the units of measure of products and of services. They are the base system's,
// packed on two bytes like every record of the family; this system reads only the fields named
// here and carries every other byte unchanged, so the unnamed bytes stand as reserved arrays named
// after their offset. Text arrays hold a zero-terminated Windows-1252 text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/currency.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

// A product with its sale price (read for one price table).
struct _REG_PRODUTOPS {
  uint8_t cReservado0[8];
  CY vPrecoVendaV8;  // sale price, 8 decimals
  uint8_t cReservado16[56];
  CY vConversaoUnidadeMedidaCompra;  // conversion factor of the purchase unit
  uint8_t cReservado80[24];
  int32_t lPonteiroProduto;  // the product's record number
  int32_t lPonteiroDescricao;
  uint8_t cReservado112[42];
  uint16_t iPonteiroUnidadeMedidaEstoque;
  uint8_t cReservado156[10];
  uint16_t iPonteiroGrade1;
  uint16_t iPonteiroGrade2;
  uint16_t iPonteiroGrade3;
  uint8_t cReservado172[12];
  uint16_t iPonteiroUnidadeMedidaCompra;
  uint16_t iPrazoValidade;  // shelf life
  uint8_t cReservado188[2];
  char szNome[122];
  char szClassificacao[30];
  char szCodigo[22];
  char szReferencia[62];
  uint8_t cReservado426[77];
  char szInformacaoExtra1[62];
  char szInformacaoExtra2[62];
  char szInformacaoExtra3[62];
  uint8_t cReservado689[47];
  uint8_t cQuantidadeCasasDecimais;
  uint8_t cQuantidadeCasasDecimaisCompras;
  uint8_t cQuantidadeCasasDecimaisEstoque;
  uint8_t cReservado739[1];
  uint8_t cTipo;
  uint8_t cProdutoDeTerceiros;  // non-zero: a third party's product
  uint8_t cReservado742[4];
  uint8_t cEmbalagem;
  uint8_t cInativo;
  uint8_t cReservado748[1];
  uint8_t cKit;  // non-zero: the product is a kit
  uint8_t cReservado750[14];
  uint8_t cTipoRI;
  uint8_t cReservado765[11];
};
static_assert(sizeof(_REG_PRODUTOPS) == 776);
static_assert(offsetof(_REG_PRODUTOPS, vPrecoVendaV8) == 8);
static_assert(offsetof(_REG_PRODUTOPS, vConversaoUnidadeMedidaCompra) == 72);
static_assert(offsetof(_REG_PRODUTOPS, lPonteiroProduto) == 104);
static_assert(offsetof(_REG_PRODUTOPS, lPonteiroDescricao) == 108);
static_assert(offsetof(_REG_PRODUTOPS, iPonteiroUnidadeMedidaEstoque) == 154);
static_assert(offsetof(_REG_PRODUTOPS, iPonteiroGrade1) == 166);
static_assert(offsetof(_REG_PRODUTOPS, iPonteiroGrade3) == 170);
static_assert(offsetof(_REG_PRODUTOPS, iPonteiroUnidadeMedidaCompra) == 184);
static_assert(offsetof(_REG_PRODUTOPS, iPrazoValidade) == 186);
static_assert(offsetof(_REG_PRODUTOPS, szNome) == 190);
static_assert(offsetof(_REG_PRODUTOPS, szClassificacao) == 312);
static_assert(offsetof(_REG_PRODUTOPS, szCodigo) == 342);
static_assert(offsetof(_REG_PRODUTOPS, szReferencia) == 364);
static_assert(offsetof(_REG_PRODUTOPS, szInformacaoExtra1) == 503);
static_assert(offsetof(_REG_PRODUTOPS, szInformacaoExtra2) == 565);
static_assert(offsetof(_REG_PRODUTOPS, szInformacaoExtra3) == 627);
static_assert(offsetof(_REG_PRODUTOPS, cQuantidadeCasasDecimais) == 736);
static_assert(offsetof(_REG_PRODUTOPS, cQuantidadeCasasDecimaisEstoque) == 738);
static_assert(offsetof(_REG_PRODUTOPS, cTipo) == 740);
static_assert(offsetof(_REG_PRODUTOPS, cProdutoDeTerceiros) == 741);
static_assert(offsetof(_REG_PRODUTOPS, cEmbalagem) == 746);
static_assert(offsetof(_REG_PRODUTOPS, cInativo) == 747);
static_assert(offsetof(_REG_PRODUTOPS, cKit) == 749);
static_assert(offsetof(_REG_PRODUTOPS, cTipoRI) == 764);

// The grid reference of a product position.
struct _REG_REFERENCIA_GRADEPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint8_t cReservado10[16];
  char szCodigoReferenciaGrade[22];
};
static_assert(sizeof(_REG_REFERENCIA_GRADEPS) == 48);
static_assert(offsetof(_REG_REFERENCIA_GRADEPS, szCodigoReferenciaGrade) == 26);

// A service with its sale price (read for one price table).
struct _REG_SERVICOSPS {
  uint8_t cReservado0[8];
  CY vPrecoVendaV8;  // sale price, 8 decimals
  uint8_t cReservado16[30];
  uint16_t iPonteiroUnidadeMedida;
  uint16_t iPonteiroUnidadeMedidaCompra;
  uint8_t cReservado50[22];
  char szClassificacao[30];
  uint8_t cReservado102[22];
  char szCodigo[22];
  uint8_t cReservado146[22];
  char szNome[52];
  char szDescricao[252];
  uint8_t cReservado472[15];
  uint8_t cTipo;
  uint8_t cReservado488[2];
  uint8_t cQuantidadeCasasDecimais;
  uint8_t cQuantidadeCasasDecimaisCompras;
  uint8_t cReservado492[1];
  uint8_t cServicoDeTerceiros;
  uint8_t cReservado494[1];
  uint8_t cInativo;
  uint8_t cReservado496[10];
};
static_assert(sizeof(_REG_SERVICOSPS) == 506);
static_assert(offsetof(_REG_SERVICOSPS, vPrecoVendaV8) == 8);
static_assert(offsetof(_REG_SERVICOSPS, iPonteiroUnidadeMedida) == 46);
static_assert(offsetof(_REG_SERVICOSPS, iPonteiroUnidadeMedidaCompra) == 48);
static_assert(offsetof(_REG_SERVICOSPS, szClassificacao) == 72);
static_assert(offsetof(_REG_SERVICOSPS, szCodigo) == 124);
static_assert(offsetof(_REG_SERVICOSPS, szNome) == 168);
static_assert(offsetof(_REG_SERVICOSPS, szDescricao) == 220);
static_assert(offsetof(_REG_SERVICOSPS, cTipo) == 487);
static_assert(offsetof(_REG_SERVICOSPS, cQuantidadeCasasDecimais) == 490);
static_assert(offsetof(_REG_SERVICOSPS, cQuantidadeCasasDecimaisCompras) == 491);
static_assert(offsetof(_REG_SERVICOSPS, cServicoDeTerceiros) == 493);
static_assert(offsetof(_REG_SERVICOSPS, cInativo) == 495);

// One item of a price table.
struct _REG_ITEM_TAB_PRECOSPS {
  CY vPrecoVendaV8;  // sale price, 8 decimals
  uint8_t cReservado8[78];
};
static_assert(sizeof(_REG_ITEM_TAB_PRECOSPS) == 86);

// One item of a grid (size, colour ...).
struct _REG_ITENS_GRADE_PRODUTOPS {
  uint16_t iPosicao;  // the grid item's number
  char szCodigoItemGrade[6];
  uint8_t cReservado8[3];
  char szNomeItemGrade[52];
  uint8_t cReservado63[1];
};
static_assert(sizeof(_REG_ITENS_GRADE_PRODUTOPS) == 64);
static_assert(offsetof(_REG_ITENS_GRADE_PRODUTOPS, szCodigoItemGrade) == 2);
static_assert(offsetof(_REG_ITENS_GRADE_PRODUTOPS, szNomeItemGrade) == 11);

// A unit of measure of products.
struct _REG_UNIDADES_MEDIDAPS {
  uint8_t cReservado0[4];
  char szDescricao[42];
  char szCodigo[12];
  uint8_t cCasasDecimais;
  uint8_t cReservado59[1];
};
static_assert(sizeof(_REG_UNIDADES_MEDIDAPS) == 60);
static_assert(offsetof(_REG_UNIDADES_MEDIDAPS, szDescricao) == 4);
static_assert(offsetof(_REG_UNIDADES_MEDIDAPS, szCodigo) == 46);
static_assert(offsetof(_REG_UNIDADES_MEDIDAPS, cCasasDecimais) == 58);

// A unit of measure of services.
struct _REG_UNIDADES_MEDIDA_SERVICOSPS {
  char szDescricao[42];
  char szCodigo[12];
  uint8_t cCasasDecimais;
  uint8_t cFormatoHorario;
  uint8_t cReservado56[4];
};
static_assert(sizeof(_REG_UNIDADES_MEDIDA_SERVICOSPS) == 60);
static_assert(offsetof(_REG_UNIDADES_MEDIDA_SERVICOSPS, szCodigo) == 42);
static_assert(offsetof(_REG_UNIDADES_MEDIDA_SERVICOSPS, cCasasDecimais) == 54);
static_assert(offsetof(_REG_UNIDADES_MEDIDA_SERVICOSPS, cFormatoHorario) == 55);

// A product read light (reading kind 1): what the checks of a product position need.
struct _REG_PRODUTOLITEPS {
  uint8_t cReservado0[76];
  uint16_t iPonteiroGrade1;
  uint16_t iPonteiroGrade2;
  uint16_t iPonteiroGrade3;
  uint8_t cReservado82[276];
  uint8_t cProdutoDeTerceiros;  // non-zero: a third party's product
  uint8_t cReservado359[2];
  uint8_t cKit;  // non-zero: the product is a kit
  uint8_t cReservado362[6];
};
static_assert(sizeof(_REG_PRODUTOLITEPS) == 368);
static_assert(offsetof(_REG_PRODUTOLITEPS, iPonteiroGrade1) == 76);
static_assert(offsetof(_REG_PRODUTOLITEPS, iPonteiroGrade2) == 78);
static_assert(offsetof(_REG_PRODUTOLITEPS, iPonteiroGrade3) == 80);
static_assert(offsetof(_REG_PRODUTOLITEPS, cProdutoDeTerceiros) == 358);
static_assert(offsetof(_REG_PRODUTOLITEPS, cKit) == 361);

// The filter of a price-table item: a product's grid position under one price table.
struct _REG_FILTRO_LEITURA_TAB_PRECOSPS {
  uint32_t lPonteiroProduto;
  uint16_t iPonteiroTabelaPreco;
  uint16_t iPonteiroItemGrade1;
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
  uint16_t iReservado12;  // callers pass 0
};
static_assert(sizeof(_REG_FILTRO_LEITURA_TAB_PRECOSPS) == 14);
static_assert(offsetof(_REG_FILTRO_LEITURA_TAB_PRECOSPS, iPonteiroTabelaPreco) == 4);
static_assert(offsetof(_REG_FILTRO_LEITURA_TAB_PRECOSPS, iPonteiroItemGrade1) == 6);

// The lists that the product server allocates: a count and an array from the task allocator.
struct _REG_LISTA_ITENS_TAB_PRECOSPS {
  uint32_t ulQtd;
  _REG_ITEM_TAB_PRECOSPS* pregItens;
};
static_assert(sizeof(_REG_LISTA_ITENS_TAB_PRECOSPS) == 8);
struct _REG_LISTA_REFERENCIAS_GRADEPS {
  uint32_t ulQtd;
  _REG_REFERENCIA_GRADEPS* pregReferencias;
};
static_assert(sizeof(_REG_LISTA_REFERENCIAS_GRADEPS) == 8);

// The filter of the product server's pointer search ("AX"): the production module sets only the
// two switches, which with both on list the active and the inactive items.
struct _REG_FILTRO_PRODUTOPS {
  uint8_t cReservado0[70];
  uint8_t cIncluiAtivos;
  uint8_t cReservado71[3];
  uint8_t cIncluiInativos;
  uint8_t cReservado75[9];
};
static_assert(sizeof(_REG_FILTRO_PRODUTOPS) == 84);
static_assert(offsetof(_REG_FILTRO_PRODUTOPS, cIncluiAtivos) == 70);
static_assert(offsetof(_REG_FILTRO_PRODUTOPS, cIncluiInativos) == 74);

#pragma pack(pop)

// The records of the order family's period files (data directory + prefix + MMAA + ".DAT"), byte
// for byte as they lie on disk: every fixed-record file that CPPArquivosOP opens declares its record
// length here (CPPArquivosSubclasses.cpp takes them from these structs).
//
// Conventions: numbers are little-endian; money and quantities are CY (value x 10^4, the v8 fields
// value x 10^8); dates are day numbers and times minutes of the day. A field named as in its COM
// record holds the same value; ulPrimeiro<What> / ulPrimeira<What> is the first record of a run of
// consecutive records in the file named beside it, and the run's length keeps the COM count's name;
// ulTexto<Field> is a byte offset in the month's variable-record text file (PPIE unless noted;
// 0 = no text); ulRegistro<What> is one record number of the same month. Bytes that no writer
// fills are cReservadoNN (NN = their offset) and are written as zero.
//
// Records are packed: never bind a reference or a pointer to one of their fields (copy to a local).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/currency.h"

#pragma pack(push, 1)

// ---- Orders and what they hold (written by GravaOP and EmitirEtiquetas) -------------------------

// Order header, "PPOP". A key addresses it: (record << 12) | month.
struct PPDiscoOP {
  uint32_t lNumeroOP;
  uint32_t ulTextoInfExtra1;
  uint32_t ulTextoInfExtra2;
  uint32_t ulTextoInfExtra3;
  uint32_t ulTextoInfExtra4;
  uint32_t ulTextoInfExtra5;
  uint32_t ulTextoObservacao;
  uint32_t ulTextoMensagem;
  uint32_t ulPonteiroRequisitante;
  uint32_t ulPonteiroDepartamento;
  uint32_t ulChaveRequisicaoInterna;
  int32_t lPonteiroTipoOP;
  int32_t lPonteiroFluxoProcesso;
  uint32_t lPonteiroProduto;  // regPosicaoProdutoServico
  int32_t lPonteiroContaContabil;
  uint32_t ulPrimeiroProcesso;  // in PPPR
  uint32_t ulPrimeiroItem;      // in PPIT
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroOPGeradora;
  int32_t lPonteiroColecao;
  uint32_t ulTextoNumeroLote;
  uint8_t cReservado84[24];
  uint16_t usQtdProcessos;
  uint16_t usQtdItens;
  uint16_t usPonteiroUsuarioEmissao;
  uint16_t usPonteiroUsuarioGravacao;
  uint16_t usPonteiroFilial;
  uint16_t iPonteiroItemGrade1;  // regPosicaoProdutoServico
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
  uint16_t usPonteiroMensagem;
  uint16_t usDataEmissao;
  uint16_t usHoraEmissao;
  uint16_t usDataPrevisaoInicio;
  uint16_t usHoraPrevisaoInicio;
  uint16_t usDataInicio;
  uint16_t usHoraInicio;
  uint16_t usDataPrevisaoConclusao;
  uint16_t usHoraPrevisaoConclusao;
  uint16_t usDataConclusao;
  uint16_t usHoraConclusao;
  uint16_t usDataCancelamento;
  uint16_t usHoraCancelamento;
  uint16_t usDataInterrupcao;
  uint16_t usHoraInterrupcao;
  uint8_t cReservado154[16];
  uint8_t cSituacao;
  uint8_t cRemovido;
  uint8_t cQuantidadeCasasDecimaisEstoque;
  uint8_t cTipoPerdaInsumo;
  uint8_t cOPReprocesso;
  uint8_t cReprocessoConfirmado;
  uint8_t cTodosRecursosDefinidos;
  uint8_t cIndustrializacaoParaETPE;
  uint8_t cFazEntradaDepoisNoES;
  uint8_t cCustearSoProcessoApontado;
  uint8_t cTratarInsumoEmbalagem;
  uint8_t cApontarOcorrenciaRecurso;
  uint8_t cTipoProdutoServico;  // 'P' product, 'S' service
  uint8_t cReservado183[73];
};
static_assert(sizeof(PPDiscoOP) == 256);
static_assert(offsetof(PPDiscoOP, lNumeroOP) == 0);
static_assert(offsetof(PPDiscoOP, ulTextoInfExtra1) == 4);
static_assert(offsetof(PPDiscoOP, ulTextoInfExtra2) == 8);
static_assert(offsetof(PPDiscoOP, ulTextoInfExtra3) == 12);
static_assert(offsetof(PPDiscoOP, ulTextoInfExtra4) == 16);
static_assert(offsetof(PPDiscoOP, ulTextoInfExtra5) == 20);
static_assert(offsetof(PPDiscoOP, ulTextoObservacao) == 24);
static_assert(offsetof(PPDiscoOP, ulTextoMensagem) == 28);
static_assert(offsetof(PPDiscoOP, ulPonteiroRequisitante) == 32);
static_assert(offsetof(PPDiscoOP, ulPonteiroDepartamento) == 36);
static_assert(offsetof(PPDiscoOP, ulChaveRequisicaoInterna) == 40);
static_assert(offsetof(PPDiscoOP, lPonteiroTipoOP) == 44);
static_assert(offsetof(PPDiscoOP, lPonteiroFluxoProcesso) == 48);
static_assert(offsetof(PPDiscoOP, lPonteiroProduto) == 52);
static_assert(offsetof(PPDiscoOP, lPonteiroContaContabil) == 56);
static_assert(offsetof(PPDiscoOP, ulPrimeiroProcesso) == 60);
static_assert(offsetof(PPDiscoOP, ulPrimeiroItem) == 64);
static_assert(offsetof(PPDiscoOP, lPonteiroForEPTETPE) == 68);
static_assert(offsetof(PPDiscoOP, lPonteiroOPGeradora) == 72);
static_assert(offsetof(PPDiscoOP, lPonteiroColecao) == 76);
static_assert(offsetof(PPDiscoOP, ulTextoNumeroLote) == 80);
static_assert(offsetof(PPDiscoOP, usQtdProcessos) == 108);
static_assert(offsetof(PPDiscoOP, usQtdItens) == 110);
static_assert(offsetof(PPDiscoOP, usPonteiroUsuarioEmissao) == 112);
static_assert(offsetof(PPDiscoOP, usPonteiroUsuarioGravacao) == 114);
static_assert(offsetof(PPDiscoOP, usPonteiroFilial) == 116);
static_assert(offsetof(PPDiscoOP, iPonteiroItemGrade1) == 118);
static_assert(offsetof(PPDiscoOP, iPonteiroItemGrade2) == 120);
static_assert(offsetof(PPDiscoOP, iPonteiroItemGrade3) == 122);
static_assert(offsetof(PPDiscoOP, usPonteiroMensagem) == 124);
static_assert(offsetof(PPDiscoOP, usDataEmissao) == 126);
static_assert(offsetof(PPDiscoOP, usHoraEmissao) == 128);
static_assert(offsetof(PPDiscoOP, usDataPrevisaoInicio) == 130);
static_assert(offsetof(PPDiscoOP, usHoraPrevisaoInicio) == 132);
static_assert(offsetof(PPDiscoOP, usDataInicio) == 134);
static_assert(offsetof(PPDiscoOP, usHoraInicio) == 136);
static_assert(offsetof(PPDiscoOP, usDataPrevisaoConclusao) == 138);
static_assert(offsetof(PPDiscoOP, usHoraPrevisaoConclusao) == 140);
static_assert(offsetof(PPDiscoOP, usDataConclusao) == 142);
static_assert(offsetof(PPDiscoOP, usHoraConclusao) == 144);
static_assert(offsetof(PPDiscoOP, usDataCancelamento) == 146);
static_assert(offsetof(PPDiscoOP, usHoraCancelamento) == 148);
static_assert(offsetof(PPDiscoOP, usDataInterrupcao) == 150);
static_assert(offsetof(PPDiscoOP, usHoraInterrupcao) == 152);
static_assert(offsetof(PPDiscoOP, cSituacao) == 170);
static_assert(offsetof(PPDiscoOP, cRemovido) == 171);
static_assert(offsetof(PPDiscoOP, cQuantidadeCasasDecimaisEstoque) == 172);
static_assert(offsetof(PPDiscoOP, cTipoPerdaInsumo) == 173);
static_assert(offsetof(PPDiscoOP, cOPReprocesso) == 174);
static_assert(offsetof(PPDiscoOP, cReprocessoConfirmado) == 175);
static_assert(offsetof(PPDiscoOP, cTodosRecursosDefinidos) == 176);
static_assert(offsetof(PPDiscoOP, cIndustrializacaoParaETPE) == 177);
static_assert(offsetof(PPDiscoOP, cFazEntradaDepoisNoES) == 178);
static_assert(offsetof(PPDiscoOP, cCustearSoProcessoApontado) == 179);
static_assert(offsetof(PPDiscoOP, cTratarInsumoEmbalagem) == 180);
static_assert(offsetof(PPDiscoOP, cApontarOcorrenciaRecurso) == 181);
static_assert(offsetof(PPDiscoOP, cTipoProdutoServico) == 182);

// Item of an order (what it produces), "PPIT".
struct PPDiscoItem {
  CY vQuantidadeProgramada;
  CY vQuantidadeProduzida;
  CY vQuantidadePerdida;
  CY vQuantidadeCancelada;
  uint32_t lPonteiroPedidoNecessidade;  // sales order (cTipoItem 3) or requirement key (2)
  uint32_t lPonteiroProduto;            // regPosicaoProdutoServico
  uint32_t ulChaveOPReprocessada;
  uint32_t ulChaveApontamentoOPOrigem;
  uint16_t iPonteiroItemGrade1;
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
  uint16_t usIdxItemPedido;
  uint8_t cTipoItem;
  uint8_t cIntegradoQuantidade;
  uint8_t cCancelado;
  uint8_t cEncerramentoForcado;  // set by a forced closing: keeps the item out of the pending items
  uint8_t cEhReprocessoUltProcesso;
  uint8_t cGerouOPQtdLimitada;
  uint8_t cTipoProdutoServico;
  uint8_t cReservado63[19];
  CY vQuantidadeReplicada;
};
static_assert(sizeof(PPDiscoItem) == 90);
static_assert(offsetof(PPDiscoItem, vQuantidadeProgramada) == 0);
static_assert(offsetof(PPDiscoItem, vQuantidadeProduzida) == 8);
static_assert(offsetof(PPDiscoItem, vQuantidadePerdida) == 16);
static_assert(offsetof(PPDiscoItem, vQuantidadeCancelada) == 24);
static_assert(offsetof(PPDiscoItem, lPonteiroPedidoNecessidade) == 32);
static_assert(offsetof(PPDiscoItem, lPonteiroProduto) == 36);
static_assert(offsetof(PPDiscoItem, ulChaveOPReprocessada) == 40);
static_assert(offsetof(PPDiscoItem, ulChaveApontamentoOPOrigem) == 44);
static_assert(offsetof(PPDiscoItem, iPonteiroItemGrade1) == 48);
static_assert(offsetof(PPDiscoItem, iPonteiroItemGrade2) == 50);
static_assert(offsetof(PPDiscoItem, iPonteiroItemGrade3) == 52);
static_assert(offsetof(PPDiscoItem, usIdxItemPedido) == 54);
static_assert(offsetof(PPDiscoItem, cTipoItem) == 56);
static_assert(offsetof(PPDiscoItem, cIntegradoQuantidade) == 57);
static_assert(offsetof(PPDiscoItem, cCancelado) == 58);
static_assert(offsetof(PPDiscoItem, cEncerramentoForcado) == 59);
static_assert(offsetof(PPDiscoItem, cEhReprocessoUltProcesso) == 60);
static_assert(offsetof(PPDiscoItem, cGerouOPQtdLimitada) == 61);
static_assert(offsetof(PPDiscoItem, cTipoProdutoServico) == 62);
static_assert(offsetof(PPDiscoItem, vQuantidadeReplicada) == 82);

// Process of an order, "PPPR".
struct PPDiscoProcesso {
  CY v8CustoIndireto;
  CY v8CustoDireto;
  CY v8CustoTerceirizacao;
  CY v8TempoPadraoMinPorUnidade;
  CY vCapacidadeProdutiva;
  uint32_t ulTextoDetalhe;
  int32_t lPonteiroProcesso;              // the process master record
  uint32_t ulPrimeiroInsumo;              // in PPMT
  uint32_t ulPrimeiroApontamentoSimples;  // in PPAS
  uint32_t ulPrimeiroRecurso;             // in PPRP
  uint32_t ulPrimeiraEtiqueta;            // in PPPE
  uint32_t ulPrimeiraImagem;              // in PPIP
  uint32_t ulPrimeiroApontamento;         // in PPRA: the process's report list
  uint16_t usQuantidadeInsumos;
  uint16_t usQuantidadeApontamentosSimples;
  uint16_t usQuantidadeRecursos;
  uint16_t usQtdEtiquetas;
  uint16_t usQtdImagens;
  uint16_t usQuantidadeApontamentos;  // length of the list in PPRA
  uint16_t usMenorDataInicio;
  uint16_t usMenorHoraInicio;
  uint16_t usMaiorDataFim;
  uint16_t usMaiorHoraFim;
  uint16_t usPercentualQuebra;
  uint8_t cRecebeApontamento;
  uint8_t cSituacao;
  uint8_t cApontarPesoBruto;
  uint8_t cEncerramentoForcado;  // a report closed the process by force
  uint8_t cCustoPorApontamento;
  uint8_t cReservado99[29];
};
static_assert(sizeof(PPDiscoProcesso) == 128);
static_assert(offsetof(PPDiscoProcesso, v8CustoIndireto) == 0);
static_assert(offsetof(PPDiscoProcesso, v8CustoDireto) == 8);
static_assert(offsetof(PPDiscoProcesso, v8CustoTerceirizacao) == 16);
static_assert(offsetof(PPDiscoProcesso, v8TempoPadraoMinPorUnidade) == 24);
static_assert(offsetof(PPDiscoProcesso, vCapacidadeProdutiva) == 32);
static_assert(offsetof(PPDiscoProcesso, ulTextoDetalhe) == 40);
static_assert(offsetof(PPDiscoProcesso, lPonteiroProcesso) == 44);
static_assert(offsetof(PPDiscoProcesso, ulPrimeiroInsumo) == 48);
static_assert(offsetof(PPDiscoProcesso, ulPrimeiroApontamentoSimples) == 52);
static_assert(offsetof(PPDiscoProcesso, ulPrimeiroRecurso) == 56);
static_assert(offsetof(PPDiscoProcesso, ulPrimeiraEtiqueta) == 60);
static_assert(offsetof(PPDiscoProcesso, ulPrimeiraImagem) == 64);
static_assert(offsetof(PPDiscoProcesso, ulPrimeiroApontamento) == 68);
static_assert(offsetof(PPDiscoProcesso, usQuantidadeInsumos) == 72);
static_assert(offsetof(PPDiscoProcesso, usQuantidadeApontamentosSimples) == 74);
static_assert(offsetof(PPDiscoProcesso, usQuantidadeRecursos) == 76);
static_assert(offsetof(PPDiscoProcesso, usQtdEtiquetas) == 78);
static_assert(offsetof(PPDiscoProcesso, usQtdImagens) == 80);
static_assert(offsetof(PPDiscoProcesso, usQuantidadeApontamentos) == 82);
static_assert(offsetof(PPDiscoProcesso, usMenorDataInicio) == 84);
static_assert(offsetof(PPDiscoProcesso, usMenorHoraInicio) == 86);
static_assert(offsetof(PPDiscoProcesso, usMaiorDataFim) == 88);
static_assert(offsetof(PPDiscoProcesso, usMaiorHoraFim) == 90);
static_assert(offsetof(PPDiscoProcesso, usPercentualQuebra) == 92);
static_assert(offsetof(PPDiscoProcesso, cRecebeApontamento) == 94);
static_assert(offsetof(PPDiscoProcesso, cSituacao) == 95);
static_assert(offsetof(PPDiscoProcesso, cApontarPesoBruto) == 96);
static_assert(offsetof(PPDiscoProcesso, cEncerramentoForcado) == 97);
static_assert(offsetof(PPDiscoProcesso, cCustoPorApontamento) == 98);

// Input of a process, "PPMT".
struct PPDiscoInsumo {
  CY vQuantidadeUnitaria;
  CY vQuantidadeTotal;
  CY vQuantUnitariaComQuebra;
  CY vQuantTotalComQuebra;
  CY v8ValorUnitario;
  uint8_t cReservado40[8];
  uint32_t lPonteiroProduto;       // regPosicaoProduto
  uint32_t ulRegistroNecessidade;  // in PPNC, the requirement made for this input; 0: none
  int32_t lPonteiroLote;
  int32_t lPonteiroForLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  uint8_t cReservado72[4];
  uint16_t iPonteiroItemGrade1;
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
  uint16_t usPonteiroLocalEstocagem;
  uint16_t usPercentualQuebra;
  uint8_t cReservado86[8];
  uint8_t cPermiteAlterar;
  uint8_t cNecessidadeVinculada;  // 1 once the requirement carries the order
  uint8_t cCancelado;
  uint8_t cCasasDecimais;
  uint8_t cTipoProducao;
  uint8_t cTipoEstoque;
  uint8_t cEhEmbalagem;
  uint8_t cReservado101[23];
  int32_t lPonteiroVolumeES;
};
static_assert(sizeof(PPDiscoInsumo) == 128);
static_assert(offsetof(PPDiscoInsumo, vQuantidadeUnitaria) == 0);
static_assert(offsetof(PPDiscoInsumo, vQuantidadeTotal) == 8);
static_assert(offsetof(PPDiscoInsumo, vQuantUnitariaComQuebra) == 16);
static_assert(offsetof(PPDiscoInsumo, vQuantTotalComQuebra) == 24);
static_assert(offsetof(PPDiscoInsumo, v8ValorUnitario) == 32);
static_assert(offsetof(PPDiscoInsumo, lPonteiroProduto) == 48);
static_assert(offsetof(PPDiscoInsumo, ulRegistroNecessidade) == 52);
static_assert(offsetof(PPDiscoInsumo, lPonteiroLote) == 56);
static_assert(offsetof(PPDiscoInsumo, lPonteiroForLote) == 60);
static_assert(offsetof(PPDiscoInsumo, lPonteiroForEPTETPE) == 64);
static_assert(offsetof(PPDiscoInsumo, lPonteiroCliEPTETPE) == 68);
static_assert(offsetof(PPDiscoInsumo, iPonteiroItemGrade1) == 76);
static_assert(offsetof(PPDiscoInsumo, iPonteiroItemGrade2) == 78);
static_assert(offsetof(PPDiscoInsumo, iPonteiroItemGrade3) == 80);
static_assert(offsetof(PPDiscoInsumo, usPonteiroLocalEstocagem) == 82);
static_assert(offsetof(PPDiscoInsumo, usPercentualQuebra) == 84);
static_assert(offsetof(PPDiscoInsumo, cPermiteAlterar) == 94);
static_assert(offsetof(PPDiscoInsumo, cNecessidadeVinculada) == 95);
static_assert(offsetof(PPDiscoInsumo, cCancelado) == 96);
static_assert(offsetof(PPDiscoInsumo, cCasasDecimais) == 97);
static_assert(offsetof(PPDiscoInsumo, cTipoProducao) == 98);
static_assert(offsetof(PPDiscoInsumo, cTipoEstoque) == 99);
static_assert(offsetof(PPDiscoInsumo, cEhEmbalagem) == 100);
static_assert(offsetof(PPDiscoInsumo, lPonteiroVolumeES) == 124);

// Resource of a process, "PPRP".
struct PPDiscoRecursoProcesso {
  CY vCapacidade;
  CY vSetup;
  CY v8Custo;
  CY vPercEficiencia;
  int32_t lPonteiroRecurso;
  uint8_t cDesconsiderarTempos;
  uint8_t cTipo;
  uint8_t cCustoTempoPorUnidade;
  uint8_t cTipoCusto;
  uint8_t cReservado40[24];
};
static_assert(sizeof(PPDiscoRecursoProcesso) == 64);
static_assert(offsetof(PPDiscoRecursoProcesso, vCapacidade) == 0);
static_assert(offsetof(PPDiscoRecursoProcesso, vSetup) == 8);
static_assert(offsetof(PPDiscoRecursoProcesso, v8Custo) == 16);
static_assert(offsetof(PPDiscoRecursoProcesso, vPercEficiencia) == 24);
static_assert(offsetof(PPDiscoRecursoProcesso, lPonteiroRecurso) == 32);
static_assert(offsetof(PPDiscoRecursoProcesso, cDesconsiderarTempos) == 36);
static_assert(offsetof(PPDiscoRecursoProcesso, cTipo) == 37);
static_assert(offsetof(PPDiscoRecursoProcesso, cCustoTempoPorUnidade) == 38);
static_assert(offsetof(PPDiscoRecursoProcesso, cTipoCusto) == 39);

// Image of a process, "PPIP".
struct PPDiscoImagem {
  uint32_t ulTextoNomeArquivo;  // in PPIN
  uint8_t cReservado4[12];
};
static_assert(sizeof(PPDiscoImagem) == 16);
static_assert(offsetof(PPDiscoImagem, ulTextoNomeArquivo) == 0);

// Label of a process, "PPPE".
struct PPDiscoEtiqueta {
  uint32_t ulTextoLeiaute;
  uint32_t ulQuantidadeEmitida;
  uint32_t ulQuantidadeTotal;
  uint16_t usQuantidade;  // labels per unit
  char szDescricao[50];   // no terminator when full
};
static_assert(sizeof(PPDiscoEtiqueta) == 64);
static_assert(offsetof(PPDiscoEtiqueta, ulTextoLeiaute) == 0);
static_assert(offsetof(PPDiscoEtiqueta, ulQuantidadeEmitida) == 4);
static_assert(offsetof(PPDiscoEtiqueta, ulQuantidadeTotal) == 8);
static_assert(offsetof(PPDiscoEtiqueta, usQuantidade) == 12);
static_assert(offsetof(PPDiscoEtiqueta, szDescricao) == 14);

// Label issued, "PPEE".
struct PPDiscoEtiquetaEmitida {
  uint32_t ulRegistroOP;  // in PPOP
  int32_t lPonteiroProcesso;
  uint16_t usIdxProcessoEtiqueta;  // the label's index within the process
  uint16_t usPonteiroUsuario;
  uint16_t usDataEmissao;
  uint16_t usHoraEmissao;
  uint8_t cReservado16[36];
  uint32_t ulQtdSolicitada;
  uint32_t ulNrLoteEtiqueta;
  uint32_t ulTamanhoLoteEtiqueta;
};
static_assert(sizeof(PPDiscoEtiquetaEmitida) == 64);
static_assert(offsetof(PPDiscoEtiquetaEmitida, ulRegistroOP) == 0);
static_assert(offsetof(PPDiscoEtiquetaEmitida, lPonteiroProcesso) == 4);
static_assert(offsetof(PPDiscoEtiquetaEmitida, usIdxProcessoEtiqueta) == 8);
static_assert(offsetof(PPDiscoEtiquetaEmitida, usPonteiroUsuario) == 10);
static_assert(offsetof(PPDiscoEtiquetaEmitida, usDataEmissao) == 12);
static_assert(offsetof(PPDiscoEtiquetaEmitida, usHoraEmissao) == 14);
static_assert(offsetof(PPDiscoEtiquetaEmitida, ulQtdSolicitada) == 52);
static_assert(offsetof(PPDiscoEtiquetaEmitida, ulNrLoteEtiqueta) == 56);
static_assert(offsetof(PPDiscoEtiquetaEmitida, ulTamanhoLoteEtiqueta) == 60);

// Simple report of a process, written with the order, "PPAS".
struct PPDiscoApontamentoSimples {
  CY vQuantidadeApontada;
  CY vQuantidadeBruta;
  CY vQuantidadeTara;
  uint8_t cReservado24[8];
  uint32_t ulTextoComentario;
  int32_t lPonteiroOperacaoProducao;
  uint8_t cReservado40[20];
  uint16_t usDataApontamentoInicio;
  uint16_t usHoraApontamentoInicio;
  uint16_t usDataApontamentoFim;
  uint16_t usHoraApontamentoFim;
  uint16_t usDataGravacao;
  uint16_t usHoraGravacao;
  uint16_t usPonteiroUsuarioGravacao;
  uint8_t cReservado74[10];
  uint8_t cTipoOperacao;  // of the production operation
  uint8_t cTipoProducao;
  uint8_t cReservado86[42];
};
static_assert(sizeof(PPDiscoApontamentoSimples) == 128);
static_assert(offsetof(PPDiscoApontamentoSimples, vQuantidadeApontada) == 0);
static_assert(offsetof(PPDiscoApontamentoSimples, vQuantidadeBruta) == 8);
static_assert(offsetof(PPDiscoApontamentoSimples, vQuantidadeTara) == 16);
static_assert(offsetof(PPDiscoApontamentoSimples, ulTextoComentario) == 32);
static_assert(offsetof(PPDiscoApontamentoSimples, lPonteiroOperacaoProducao) == 36);
static_assert(offsetof(PPDiscoApontamentoSimples, usDataApontamentoInicio) == 60);
static_assert(offsetof(PPDiscoApontamentoSimples, usHoraApontamentoInicio) == 62);
static_assert(offsetof(PPDiscoApontamentoSimples, usDataApontamentoFim) == 64);
static_assert(offsetof(PPDiscoApontamentoSimples, usHoraApontamentoFim) == 66);
static_assert(offsetof(PPDiscoApontamentoSimples, usDataGravacao) == 68);
static_assert(offsetof(PPDiscoApontamentoSimples, usHoraGravacao) == 70);
static_assert(offsetof(PPDiscoApontamentoSimples, usPonteiroUsuarioGravacao) == 72);
static_assert(offsetof(PPDiscoApontamentoSimples, cTipoOperacao) == 84);
static_assert(offsetof(PPDiscoApontamentoSimples, cTipoProducao) == 85);

// ---- Production reports ------------------------------------------------------------------------

// Production report, "PPAP". A key addresses it: (record << 12) | month; its order lies in the
// same month.
struct PPDiscoApontamento {
  CY vQuantidadeApontada;  // scrap included
  CY vQuantidadeBruta;
  CY vQuantidadeTara;
  CY vQuantidadeRefugo;
  CY vQuantidadeReprocessada;
  CY vQuantidadeCreditadaItem;  // credited to the order item
  CY v8CustoTerceirizacao;
  uint32_t ulTextoComentario;
  uint32_t lPonteiroPedidoNecessidade;
  uint32_t lPonteiroNotaFiscalSaida;
  uint32_t ulPrimeiraEntrada;                 // in PPME: production-entry movements
  uint32_t ulMovimentoRefugo;                 // in PPME: the scrap entry; 0: none
  uint32_t ulTextoMotivoEncerramentoForcado;  // the COM record's ulPonteiroEncerramentoForcado
  uint32_t ulRegistroOP;                      // in PPOP
  int32_t lPonteiroOperacaoProducao;
  int32_t lPonteiroProcesso;
  uint32_t ulPrimeiroEstoque;  // in PPME: consumption movements
  uint32_t ulPrimeiroRetorno;  // in PPRI
  int32_t lPonteiroSuplementoInfo1;
  int32_t lPonteiroSuplementoInfo2;
  int32_t lPonteiroSuplementoInfo3;
  int32_t lPonteiroMotivoRefugo;
  uint32_t ulRegistroRemessa;             // in PPRM: the outsourcing shipment; 0: none
  uint32_t ulPrimeiroRecursoNaoApontado;  // in PPAR
  uint32_t ulPrimeiroRecurso;             // in PPAR
  uint32_t ulPrimeiraChaveVinculada;  // in PPTA: the reports of a transit that reuse this one
  int32_t lPonteiroIndustrializador;
  uint32_t ulChaveOPReprocesso;
  uint32_t ulChaveApontamentoOPOrigem;
  uint16_t usDataApontamentoInicio;
  uint16_t usHoraApontamentoInicio;
  uint16_t usDataApontamentoFim;
  uint16_t usHoraApontamentoFim;
  uint16_t usDataGravacao;
  uint16_t usHoraGravacao;
  uint16_t usPonteiroUsuarioGravacao;
  uint16_t usIdxItemPedido;
  uint16_t usQtdMvtoEntrada;
  uint16_t usQtdMvtoEstoque;
  uint16_t usQtdRetornoIndustExt;
  uint16_t usQtdRecursosNaoApontados;
  uint16_t usQtdRecursos;
  uint16_t usQtdChaveVinculada;
  uint8_t cLiberacaoItemPedido;
  uint8_t cTipoOperacao;
  uint8_t cTipoItem;
  uint8_t cTipoProducao;  // 0: outsourced
  uint8_t cExcluido;      // removed by the reversal
  uint8_t cPossuiRefugo;
  uint8_t cGerouReprocesso;
  uint8_t cEncerramentoForcado;
  uint8_t cUltimoProcesso;
  uint8_t cPossuiEntradaPendente;
  uint8_t cEncerramentoRemIndustrializacao;
  uint8_t cTipoApontamento;
  uint8_t cImportacaoComBaixasPendentes;
  uint8_t cProducaoExterna;
  uint8_t cReservado186[8];
  uint32_t ulPrimeiraChaveImportada;  // in PPTA
  uint16_t usQtdChaveApontamentoImportado;
};
static_assert(sizeof(PPDiscoApontamento) == 200);
static_assert(offsetof(PPDiscoApontamento, vQuantidadeApontada) == 0);
static_assert(offsetof(PPDiscoApontamento, vQuantidadeBruta) == 8);
static_assert(offsetof(PPDiscoApontamento, vQuantidadeTara) == 16);
static_assert(offsetof(PPDiscoApontamento, vQuantidadeRefugo) == 24);
static_assert(offsetof(PPDiscoApontamento, vQuantidadeReprocessada) == 32);
static_assert(offsetof(PPDiscoApontamento, vQuantidadeCreditadaItem) == 40);
static_assert(offsetof(PPDiscoApontamento, v8CustoTerceirizacao) == 48);
static_assert(offsetof(PPDiscoApontamento, ulTextoComentario) == 56);
static_assert(offsetof(PPDiscoApontamento, lPonteiroPedidoNecessidade) == 60);
static_assert(offsetof(PPDiscoApontamento, lPonteiroNotaFiscalSaida) == 64);
static_assert(offsetof(PPDiscoApontamento, ulPrimeiraEntrada) == 68);
static_assert(offsetof(PPDiscoApontamento, ulMovimentoRefugo) == 72);
static_assert(offsetof(PPDiscoApontamento, ulTextoMotivoEncerramentoForcado) == 76);
static_assert(offsetof(PPDiscoApontamento, ulRegistroOP) == 80);
static_assert(offsetof(PPDiscoApontamento, lPonteiroOperacaoProducao) == 84);
static_assert(offsetof(PPDiscoApontamento, lPonteiroProcesso) == 88);
static_assert(offsetof(PPDiscoApontamento, ulPrimeiroEstoque) == 92);
static_assert(offsetof(PPDiscoApontamento, ulPrimeiroRetorno) == 96);
static_assert(offsetof(PPDiscoApontamento, lPonteiroSuplementoInfo1) == 100);
static_assert(offsetof(PPDiscoApontamento, lPonteiroSuplementoInfo2) == 104);
static_assert(offsetof(PPDiscoApontamento, lPonteiroSuplementoInfo3) == 108);
static_assert(offsetof(PPDiscoApontamento, lPonteiroMotivoRefugo) == 112);
static_assert(offsetof(PPDiscoApontamento, ulRegistroRemessa) == 116);
static_assert(offsetof(PPDiscoApontamento, ulPrimeiroRecursoNaoApontado) == 120);
static_assert(offsetof(PPDiscoApontamento, ulPrimeiroRecurso) == 124);
static_assert(offsetof(PPDiscoApontamento, lPonteiroIndustrializador) == 132);
static_assert(offsetof(PPDiscoApontamento, ulChaveOPReprocesso) == 136);
static_assert(offsetof(PPDiscoApontamento, ulChaveApontamentoOPOrigem) == 140);
static_assert(offsetof(PPDiscoApontamento, usDataApontamentoInicio) == 144);
static_assert(offsetof(PPDiscoApontamento, usHoraApontamentoInicio) == 146);
static_assert(offsetof(PPDiscoApontamento, usDataApontamentoFim) == 148);
static_assert(offsetof(PPDiscoApontamento, usHoraApontamentoFim) == 150);
static_assert(offsetof(PPDiscoApontamento, usDataGravacao) == 152);
static_assert(offsetof(PPDiscoApontamento, usHoraGravacao) == 154);
static_assert(offsetof(PPDiscoApontamento, usPonteiroUsuarioGravacao) == 156);
static_assert(offsetof(PPDiscoApontamento, usIdxItemPedido) == 158);
static_assert(offsetof(PPDiscoApontamento, usQtdMvtoEntrada) == 160);
static_assert(offsetof(PPDiscoApontamento, usQtdMvtoEstoque) == 162);
static_assert(offsetof(PPDiscoApontamento, usQtdRetornoIndustExt) == 164);
static_assert(offsetof(PPDiscoApontamento, usQtdRecursosNaoApontados) == 166);
static_assert(offsetof(PPDiscoApontamento, usQtdRecursos) == 168);
static_assert(offsetof(PPDiscoApontamento, cLiberacaoItemPedido) == 172);
static_assert(offsetof(PPDiscoApontamento, cTipoOperacao) == 173);
static_assert(offsetof(PPDiscoApontamento, cTipoItem) == 174);
static_assert(offsetof(PPDiscoApontamento, cTipoProducao) == 175);
static_assert(offsetof(PPDiscoApontamento, cExcluido) == 176);
static_assert(offsetof(PPDiscoApontamento, cPossuiRefugo) == 177);
static_assert(offsetof(PPDiscoApontamento, cGerouReprocesso) == 178);
static_assert(offsetof(PPDiscoApontamento, cEncerramentoForcado) == 179);
static_assert(offsetof(PPDiscoApontamento, cUltimoProcesso) == 180);
static_assert(offsetof(PPDiscoApontamento, cPossuiEntradaPendente) == 181);
static_assert(offsetof(PPDiscoApontamento, cEncerramentoRemIndustrializacao) == 182);
static_assert(offsetof(PPDiscoApontamento, cTipoApontamento) == 183);
static_assert(offsetof(PPDiscoApontamento, cImportacaoComBaixasPendentes) == 184);
static_assert(offsetof(PPDiscoApontamento, cProducaoExterna) == 185);
static_assert(offsetof(PPDiscoApontamento, ulPrimeiraChaveImportada) == 194);
static_assert(offsetof(PPDiscoApontamento, usQtdChaveApontamentoImportado) == 198);

// One entry of a process's report list, "PPRA".
struct PPDiscoListaApontamento {
  uint32_t ulRegistroApontamento;  // in PPAP
};
static_assert(sizeof(PPDiscoListaApontamento) == 4);

// One key of an imported report (or of a report that a transit generated), "PPTA".
struct PPDiscoChaveImportada {
  uint32_t ulChaveApontamento;
};
static_assert(sizeof(PPDiscoChaveImportada) == 4);

// Resource report of a production report, "PPAR".
struct PPDiscoApontamentoRecurso {
  CY vCapacidade;
  CY vSetup;
  CY v8Custo;
  CY vPercEficiencia;
  uint32_t lPonteiroCentroCustos;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroRecurso;
  uint8_t cTipo;
  uint8_t cDesconsiderarTempos;
  uint8_t cCustoTempoPorUnidade;
  uint8_t cTipoCusto;
  uint8_t cReservado48[10];
  uint32_t ulPrimeiraOperacao;  // in PPAO
  uint16_t usQuantidadeApontamentoOperacao;
};
static_assert(sizeof(PPDiscoApontamentoRecurso) == 64);
static_assert(offsetof(PPDiscoApontamentoRecurso, vCapacidade) == 0);
static_assert(offsetof(PPDiscoApontamentoRecurso, vSetup) == 8);
static_assert(offsetof(PPDiscoApontamentoRecurso, v8Custo) == 16);
static_assert(offsetof(PPDiscoApontamentoRecurso, vPercEficiencia) == 24);
static_assert(offsetof(PPDiscoApontamentoRecurso, lPonteiroCentroCustos) == 32);
static_assert(offsetof(PPDiscoApontamentoRecurso, lPonteiroProcesso) == 36);
static_assert(offsetof(PPDiscoApontamentoRecurso, lPonteiroRecurso) == 40);
static_assert(offsetof(PPDiscoApontamentoRecurso, cTipo) == 44);
static_assert(offsetof(PPDiscoApontamentoRecurso, cDesconsiderarTempos) == 45);
static_assert(offsetof(PPDiscoApontamentoRecurso, cCustoTempoPorUnidade) == 46);
static_assert(offsetof(PPDiscoApontamentoRecurso, cTipoCusto) == 47);
static_assert(offsetof(PPDiscoApontamentoRecurso, ulPrimeiraOperacao) == 58);
static_assert(offsetof(PPDiscoApontamentoRecurso, usQuantidadeApontamentoOperacao) == 62);

// Operation of a resource report, "PPAO"; each of its entries is one record of its own file.
struct PPDiscoOperacaoRecurso {
  uint32_t ulPonteiroOperacaoProducao;
  uint32_t ulRegistroContador;    // in PPAC
  uint32_t ulRegistroQuantidade;  // in PPAQ
  uint32_t ulRegistroIntervalo;   // in PPAI
  uint32_t ulRegistroDetalhe;     // in PPAD
  uint16_t usDataApontamentoInicial;
  uint16_t usHoraApontamentoInicial;
  uint16_t usDataApontamentoFinal;
  uint16_t usHoraApontamentoFinal;
  uint8_t cApontaContador;
  uint8_t cApontaQuantidade;
  uint8_t cApontaIntervalo;
  uint8_t cApontaDetalhe;
  uint8_t cTipoOperacaoProducao;
  uint8_t cReservado33[15];
};
static_assert(sizeof(PPDiscoOperacaoRecurso) == 48);
static_assert(offsetof(PPDiscoOperacaoRecurso, ulPonteiroOperacaoProducao) == 0);
static_assert(offsetof(PPDiscoOperacaoRecurso, ulRegistroContador) == 4);
static_assert(offsetof(PPDiscoOperacaoRecurso, ulRegistroQuantidade) == 8);
static_assert(offsetof(PPDiscoOperacaoRecurso, ulRegistroIntervalo) == 12);
static_assert(offsetof(PPDiscoOperacaoRecurso, ulRegistroDetalhe) == 16);
static_assert(offsetof(PPDiscoOperacaoRecurso, usDataApontamentoInicial) == 20);
static_assert(offsetof(PPDiscoOperacaoRecurso, usHoraApontamentoInicial) == 22);
static_assert(offsetof(PPDiscoOperacaoRecurso, usDataApontamentoFinal) == 24);
static_assert(offsetof(PPDiscoOperacaoRecurso, usHoraApontamentoFinal) == 26);
static_assert(offsetof(PPDiscoOperacaoRecurso, cApontaContador) == 28);
static_assert(offsetof(PPDiscoOperacaoRecurso, cApontaQuantidade) == 29);
static_assert(offsetof(PPDiscoOperacaoRecurso, cApontaIntervalo) == 30);
static_assert(offsetof(PPDiscoOperacaoRecurso, cApontaDetalhe) == 31);
static_assert(offsetof(PPDiscoOperacaoRecurso, cTipoOperacaoProducao) == 32);

// Counter reading of an operation, "PPAC".
struct PPDiscoContadorOperacao {
  CY vContadorInicial;
  CY vContadorFinal;
  uint32_t ulPonteiroUnidadeMedida;
  uint16_t usNumeroDigitos;
  char szNomeInicial[20];  // no terminator when full
  char szNomeFinal[20];
  uint8_t cUnidadeProdutoServico;
  uint8_t cAtualizarContadorRecurso;
  uint8_t cReservado64[8];
};
static_assert(sizeof(PPDiscoContadorOperacao) == 72);
static_assert(offsetof(PPDiscoContadorOperacao, vContadorInicial) == 0);
static_assert(offsetof(PPDiscoContadorOperacao, vContadorFinal) == 8);
static_assert(offsetof(PPDiscoContadorOperacao, ulPonteiroUnidadeMedida) == 16);
static_assert(offsetof(PPDiscoContadorOperacao, usNumeroDigitos) == 20);
static_assert(offsetof(PPDiscoContadorOperacao, szNomeInicial) == 22);
static_assert(offsetof(PPDiscoContadorOperacao, szNomeFinal) == 42);
static_assert(offsetof(PPDiscoContadorOperacao, cUnidadeProdutoServico) == 62);
static_assert(offsetof(PPDiscoContadorOperacao, cAtualizarContadorRecurso) == 63);

// Quantity of an operation, "PPAQ".
struct PPDiscoQuantidadeOperacao {
  CY vQuantidade;
  uint32_t ulPonteiroUnidadeMedida;
  uint8_t cReservado12[20];
  uint8_t cUnidadeProdutoServico;
  uint8_t cReservado33[7];
};
static_assert(sizeof(PPDiscoQuantidadeOperacao) == 40);
static_assert(offsetof(PPDiscoQuantidadeOperacao, vQuantidade) == 0);
static_assert(offsetof(PPDiscoQuantidadeOperacao, ulPonteiroUnidadeMedida) == 8);
static_assert(offsetof(PPDiscoQuantidadeOperacao, cUnidadeProdutoServico) == 32);

// Interval of an operation, "PPAI".
struct PPDiscoIntervaloOperacao {
  CY vValorInicial;
  CY vValorFinal;
  uint32_t ulPonteiroUnidadeMedida;
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint16_t usHoraInicial;
  uint16_t usHoraFinal;
  uint8_t cReservado28[41];
  uint8_t cUnidadeProdutoServico;
  uint8_t cReservado70[2];
};
static_assert(sizeof(PPDiscoIntervaloOperacao) == 72);
static_assert(offsetof(PPDiscoIntervaloOperacao, vValorInicial) == 0);
static_assert(offsetof(PPDiscoIntervaloOperacao, vValorFinal) == 8);
static_assert(offsetof(PPDiscoIntervaloOperacao, ulPonteiroUnidadeMedida) == 16);
static_assert(offsetof(PPDiscoIntervaloOperacao, usDataInicial) == 20);
static_assert(offsetof(PPDiscoIntervaloOperacao, usDataFinal) == 22);
static_assert(offsetof(PPDiscoIntervaloOperacao, usHoraInicial) == 24);
static_assert(offsetof(PPDiscoIntervaloOperacao, usHoraFinal) == 26);
static_assert(offsetof(PPDiscoIntervaloOperacao, cUnidadeProdutoServico) == 69);

// Detail of an operation, "PPAD".
struct PPDiscoDetalheOperacao {
  uint32_t ulTextoDetalhe;
  uint8_t cReservado4[20];
};
static_assert(sizeof(PPDiscoDetalheOperacao) == 24);
static_assert(offsetof(PPDiscoDetalheOperacao, ulTextoDetalhe) == 0);

// ---- Stock movements of reports and returns ----------------------------------------------------

// Local copy of a stock movement, "PPME".
struct PPDiscoMovimento {
  CY vValorTotalInsumos;
  CY vValorTotalCustosDireto;
  CY vValorTotalCustosIndireto;
  CY vQuantidade;
  uint32_t ulChaveMovimento;  // given by the inventory server; 0 while not posted
  uint32_t ulRegistroLote;    // in PPLT; 0: no batch
  int32_t lPonteiroLote;
  int32_t lPonteiroVolume;
  int32_t lPonteiroForLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  int32_t lPonteiroLocalArmazenagem;  // iPonteiroLocalArmazenagem, widened
  uint32_t lPonteiroProduto;          // regPosicaoProduto
  uint16_t iPonteiroItemGrade1;
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
  uint16_t iPonteiroFilial;
  uint16_t iDataMovimento;
  uint16_t iHoraMovimento;
  uint16_t usPonteiroUsuarioGravacao;
  uint16_t usDataGravacao;
  uint16_t usHoraGravacao;
  uint8_t cTipoEstoqueArmazenagem;
  uint8_t cTipoProducao;
  uint8_t cLancado;  // 1: the inventory server accepted it
  uint8_t cReservado89[15];
};
static_assert(sizeof(PPDiscoMovimento) == 104);
static_assert(offsetof(PPDiscoMovimento, vValorTotalInsumos) == 0);
static_assert(offsetof(PPDiscoMovimento, vValorTotalCustosDireto) == 8);
static_assert(offsetof(PPDiscoMovimento, vValorTotalCustosIndireto) == 16);
static_assert(offsetof(PPDiscoMovimento, vQuantidade) == 24);
static_assert(offsetof(PPDiscoMovimento, ulChaveMovimento) == 32);
static_assert(offsetof(PPDiscoMovimento, ulRegistroLote) == 36);
static_assert(offsetof(PPDiscoMovimento, lPonteiroLote) == 40);
static_assert(offsetof(PPDiscoMovimento, lPonteiroVolume) == 44);
static_assert(offsetof(PPDiscoMovimento, lPonteiroForLote) == 48);
static_assert(offsetof(PPDiscoMovimento, lPonteiroForEPTETPE) == 52);
static_assert(offsetof(PPDiscoMovimento, lPonteiroCliEPTETPE) == 56);
static_assert(offsetof(PPDiscoMovimento, lPonteiroLocalArmazenagem) == 60);
static_assert(offsetof(PPDiscoMovimento, lPonteiroProduto) == 64);
static_assert(offsetof(PPDiscoMovimento, iPonteiroItemGrade1) == 68);
static_assert(offsetof(PPDiscoMovimento, iPonteiroItemGrade2) == 70);
static_assert(offsetof(PPDiscoMovimento, iPonteiroItemGrade3) == 72);
static_assert(offsetof(PPDiscoMovimento, iPonteiroFilial) == 74);
static_assert(offsetof(PPDiscoMovimento, iDataMovimento) == 76);
static_assert(offsetof(PPDiscoMovimento, iHoraMovimento) == 78);
static_assert(offsetof(PPDiscoMovimento, usPonteiroUsuarioGravacao) == 80);
static_assert(offsetof(PPDiscoMovimento, usDataGravacao) == 82);
static_assert(offsetof(PPDiscoMovimento, usHoraGravacao) == 84);
static_assert(offsetof(PPDiscoMovimento, cTipoEstoqueArmazenagem) == 86);
static_assert(offsetof(PPDiscoMovimento, cTipoProducao) == 87);
static_assert(offsetof(PPDiscoMovimento, cLancado) == 88);

// Batch of a movement, "PPLT".
struct PPDiscoLote {
  char cNumeroLote[36];  // at most 35 characters, terminated
  uint8_t cReservado36[20];
  uint16_t iDataFabricacao;
  uint16_t iDataValidade;
  uint16_t iNumeroDias;
};
static_assert(sizeof(PPDiscoLote) == 62);
static_assert(offsetof(PPDiscoLote, cNumeroLote) == 0);
static_assert(offsetof(PPDiscoLote, iDataFabricacao) == 56);
static_assert(offsetof(PPDiscoLote, iDataValidade) == 58);
static_assert(offsetof(PPDiscoLote, iNumeroDias) == 60);

// ---- Returns from outsourced processing --------------------------------------------------------

// Return of an outsourced report, "PPRI".
struct PPDiscoRetorno {
  CY vQuantidadeRetornada;
  CY vQuantidadeRefugo;
  uint32_t lPonteiroRegistroEntrada;  // the receipt document; 0: none yet
  uint32_t ulMovimentoRefugo;         // in PPME: the scrap entry
  uint32_t ulChaveRetornoNFPendente;  // key of the PPNF record
  int32_t lPonteiroMotivoRefugo;
  uint32_t ulPrimeiroMovimento;        // in PPME
  uint32_t ulPrimeiroIndustrializador;  // in PPTI
  uint32_t ulPrimeiroApontUltProcesso;  // in PPUP
  uint32_t ulPrimeiraChaveGerada;       // in PPTA: reports that the transit generated
  uint16_t usDataRetorno;
  uint16_t usHoraRetorno;
  uint16_t usDataGravacao;
  uint16_t usHoraGravacao;
  uint16_t usPonteiroUsuarioGravacao;
  uint16_t usQtdMvtoEstoque;
  uint16_t usQtdIndustrializadores;
  uint16_t usQtdApontUltProcesso;
  uint16_t usQtdChaveGerada;
  uint8_t cPossuiRefugo;
  uint8_t cEncerramentoForcado;
  uint8_t cGeraTransitoIndustrializacao;
  uint8_t cApontamentoAutomatico;
  uint8_t cReservado70[6];
  uint32_t ulTextoComentario;
  uint32_t ulPrimeiraChaveImportada;  // in PPTA
  uint16_t usQtdChaveApontamentoImportado;
  uint32_t ulTextoMotivoEncerramentoForcado;
};
static_assert(sizeof(PPDiscoRetorno) == 90);
static_assert(offsetof(PPDiscoRetorno, vQuantidadeRetornada) == 0);
static_assert(offsetof(PPDiscoRetorno, vQuantidadeRefugo) == 8);
static_assert(offsetof(PPDiscoRetorno, lPonteiroRegistroEntrada) == 16);
static_assert(offsetof(PPDiscoRetorno, ulMovimentoRefugo) == 20);
static_assert(offsetof(PPDiscoRetorno, ulChaveRetornoNFPendente) == 24);
static_assert(offsetof(PPDiscoRetorno, lPonteiroMotivoRefugo) == 28);
static_assert(offsetof(PPDiscoRetorno, ulPrimeiroMovimento) == 32);
static_assert(offsetof(PPDiscoRetorno, ulPrimeiroIndustrializador) == 36);
static_assert(offsetof(PPDiscoRetorno, ulPrimeiroApontUltProcesso) == 40);
static_assert(offsetof(PPDiscoRetorno, ulPrimeiraChaveGerada) == 44);
static_assert(offsetof(PPDiscoRetorno, usDataRetorno) == 48);
static_assert(offsetof(PPDiscoRetorno, usHoraRetorno) == 50);
static_assert(offsetof(PPDiscoRetorno, usDataGravacao) == 52);
static_assert(offsetof(PPDiscoRetorno, usHoraGravacao) == 54);
static_assert(offsetof(PPDiscoRetorno, usPonteiroUsuarioGravacao) == 56);
static_assert(offsetof(PPDiscoRetorno, usQtdMvtoEstoque) == 58);
static_assert(offsetof(PPDiscoRetorno, usQtdIndustrializadores) == 60);
static_assert(offsetof(PPDiscoRetorno, usQtdApontUltProcesso) == 62);
static_assert(offsetof(PPDiscoRetorno, usQtdChaveGerada) == 64);
static_assert(offsetof(PPDiscoRetorno, cPossuiRefugo) == 66);
static_assert(offsetof(PPDiscoRetorno, cEncerramentoForcado) == 67);
static_assert(offsetof(PPDiscoRetorno, cGeraTransitoIndustrializacao) == 68);
static_assert(offsetof(PPDiscoRetorno, cApontamentoAutomatico) == 69);
static_assert(offsetof(PPDiscoRetorno, ulTextoComentario) == 76);
static_assert(offsetof(PPDiscoRetorno, ulPrimeiraChaveImportada) == 80);
static_assert(offsetof(PPDiscoRetorno, usQtdChaveApontamentoImportado) == 84);
static_assert(offsetof(PPDiscoRetorno, ulTextoMotivoEncerramentoForcado) == 86);

// Pending invoice of a return, "PPNF".
struct PPDiscoNotaRetorno {
  uint32_t ulChaveApontamento;
  uint32_t ulChaveRegistroEntrada;  // the receipt document, once linked
  uint16_t usPonteiroUsuarioVinculo;
  uint16_t usDataVinculo;
  uint16_t usHoraVinculo;
  uint8_t cStatus;  // 0 while the return is recorded, 1 pending, 2 linked
  uint8_t cReservado15[17];
};
static_assert(sizeof(PPDiscoNotaRetorno) == 32);
static_assert(offsetof(PPDiscoNotaRetorno, ulChaveApontamento) == 0);
static_assert(offsetof(PPDiscoNotaRetorno, ulChaveRegistroEntrada) == 4);
static_assert(offsetof(PPDiscoNotaRetorno, usPonteiroUsuarioVinculo) == 8);
static_assert(offsetof(PPDiscoNotaRetorno, usDataVinculo) == 10);
static_assert(offsetof(PPDiscoNotaRetorno, usHoraVinculo) == 12);
static_assert(offsetof(PPDiscoNotaRetorno, cStatus) == 14);

// Outside processor that goods went on to in transit, "PPTI".
struct PPDiscoTransitoIndustrializador {
  CY vQuantidadeEnviada;
  CY vCustoUnitarioTerceirizacao;
  int32_t lPonteiroIndustrializador;
  uint32_t ulRegistroChaveGerada;  // in PPTA: the key of the report made for it; 0 until then
  uint32_t ulPrimeiraOP;           // in PPIO
  uint16_t usQtdApontamentosGerados;
  uint16_t usQtdOP;
  uint8_t cIniciarNovaOP;
  uint8_t cReservado33[31];
};
static_assert(sizeof(PPDiscoTransitoIndustrializador) == 64);
static_assert(offsetof(PPDiscoTransitoIndustrializador, vQuantidadeEnviada) == 0);
static_assert(offsetof(PPDiscoTransitoIndustrializador, vCustoUnitarioTerceirizacao) == 8);
static_assert(offsetof(PPDiscoTransitoIndustrializador, lPonteiroIndustrializador) == 16);
static_assert(offsetof(PPDiscoTransitoIndustrializador, ulRegistroChaveGerada) == 20);
static_assert(offsetof(PPDiscoTransitoIndustrializador, ulPrimeiraOP) == 24);
static_assert(offsetof(PPDiscoTransitoIndustrializador, usQtdApontamentosGerados) == 28);
static_assert(offsetof(PPDiscoTransitoIndustrializador, usQtdOP) == 30);
static_assert(offsetof(PPDiscoTransitoIndustrializador, cIniciarNovaOP) == 32);

// Order of a processor in transit, "PPIO".
struct PPDiscoTransitoOP {
  CY vQuantidadeApontada;
  uint32_t ulChaveOP;
  uint32_t ulChaveApontamento;
  uint8_t cReutilizarApontamento;
  uint8_t cReservado17[19];
};
static_assert(sizeof(PPDiscoTransitoOP) == 36);
static_assert(offsetof(PPDiscoTransitoOP, vQuantidadeApontada) == 0);
static_assert(offsetof(PPDiscoTransitoOP, ulChaveOP) == 8);
static_assert(offsetof(PPDiscoTransitoOP, ulChaveApontamento) == 12);
static_assert(offsetof(PPDiscoTransitoOP, cReutilizarApontamento) == 16);

// Report of the last process made by a return, "PPUP".
struct PPDiscoApontamentoUltimoProcesso {
  CY vQuantidade;
  uint32_t ulRegistroApontamento;  // in PPAP
  uint16_t usIdxItemOP;
  uint8_t cReservado14[2];
};
static_assert(sizeof(PPDiscoApontamentoUltimoProcesso) == 16);
static_assert(offsetof(PPDiscoApontamentoUltimoProcesso, vQuantidade) == 0);
static_assert(offsetof(PPDiscoApontamentoUltimoProcesso, ulRegistroApontamento) == 8);
static_assert(offsetof(PPDiscoApontamentoUltimoProcesso, usIdxItemOP) == 12);

// ---- Shipments for outsourced processing -------------------------------------------------------

// Shipment, "PPRM". A key addresses it: (record << 12) | month.
struct PPDiscoRemessa {
  uint32_t ulChaveApontamentoOP;
  uint32_t ulChaveOP;
  uint32_t ulChaveFaturaRemessa;
  int32_t lPonteiroClassificacao;
  uint32_t ulPrimeiroInsumo;  // in PPIR
  int32_t lPonteiroFornecedor;
  uint16_t usPonteiroHistorico;
  uint16_t usPonteiroCFOP;
  uint16_t usPonteiroFilial;
  uint16_t usDataEmissaoRemessa;
  uint16_t usHoraEmissaoRemessa;
  uint16_t usQtdInsumos;
  uint8_t cStatusFaturamento;
  uint8_t cRemovido;  // 1: cancelled
  uint8_t cEnviarProdutoFinal;
  uint8_t cReservado39[21];
};
static_assert(sizeof(PPDiscoRemessa) == 60);
static_assert(offsetof(PPDiscoRemessa, ulChaveApontamentoOP) == 0);
static_assert(offsetof(PPDiscoRemessa, ulChaveOP) == 4);
static_assert(offsetof(PPDiscoRemessa, ulChaveFaturaRemessa) == 8);
static_assert(offsetof(PPDiscoRemessa, lPonteiroClassificacao) == 12);
static_assert(offsetof(PPDiscoRemessa, ulPrimeiroInsumo) == 16);
static_assert(offsetof(PPDiscoRemessa, lPonteiroFornecedor) == 20);
static_assert(offsetof(PPDiscoRemessa, usPonteiroHistorico) == 24);
static_assert(offsetof(PPDiscoRemessa, usPonteiroCFOP) == 26);
static_assert(offsetof(PPDiscoRemessa, usPonteiroFilial) == 28);
static_assert(offsetof(PPDiscoRemessa, usDataEmissaoRemessa) == 30);
static_assert(offsetof(PPDiscoRemessa, usHoraEmissaoRemessa) == 32);
static_assert(offsetof(PPDiscoRemessa, usQtdInsumos) == 34);
static_assert(offsetof(PPDiscoRemessa, cStatusFaturamento) == 36);
static_assert(offsetof(PPDiscoRemessa, cRemovido) == 37);
static_assert(offsetof(PPDiscoRemessa, cEnviarProdutoFinal) == 38);

// Input of a shipment, "PPIR".
struct PPDiscoInsumoRemessa {
  CY vQuantidadeTotal;
  CY v8ValorUnitario;
  uint32_t lPonteiroProduto;  // regPosicaoProduto
  uint32_t ulTextoDescricao;  // in PPID
  int32_t lPonteiroVolumeES;
  int32_t lPonteiroLoteES;
  int32_t lPonteiroForLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  int32_t lPonteiroLocal;
  uint16_t iPonteiroItemGrade1;
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
  uint16_t usPonteiroUnidadeMedida;
  uint8_t cTipoEstoque;
  uint8_t cTipoProducao;
  uint8_t cQuantidadeCasasDecimaisEstoque;
  uint8_t cEhProdutoNaoCadastrado;
  uint8_t cEhProdutoFinal;
  uint8_t cReservado61[19];
};
static_assert(sizeof(PPDiscoInsumoRemessa) == 80);
static_assert(offsetof(PPDiscoInsumoRemessa, vQuantidadeTotal) == 0);
static_assert(offsetof(PPDiscoInsumoRemessa, v8ValorUnitario) == 8);
static_assert(offsetof(PPDiscoInsumoRemessa, lPonteiroProduto) == 16);
static_assert(offsetof(PPDiscoInsumoRemessa, ulTextoDescricao) == 20);
static_assert(offsetof(PPDiscoInsumoRemessa, lPonteiroVolumeES) == 24);
static_assert(offsetof(PPDiscoInsumoRemessa, lPonteiroLoteES) == 28);
static_assert(offsetof(PPDiscoInsumoRemessa, lPonteiroForLote) == 32);
static_assert(offsetof(PPDiscoInsumoRemessa, lPonteiroForEPTETPE) == 36);
static_assert(offsetof(PPDiscoInsumoRemessa, lPonteiroCliEPTETPE) == 40);
static_assert(offsetof(PPDiscoInsumoRemessa, lPonteiroLocal) == 44);
static_assert(offsetof(PPDiscoInsumoRemessa, iPonteiroItemGrade1) == 48);
static_assert(offsetof(PPDiscoInsumoRemessa, iPonteiroItemGrade2) == 50);
static_assert(offsetof(PPDiscoInsumoRemessa, iPonteiroItemGrade3) == 52);
static_assert(offsetof(PPDiscoInsumoRemessa, usPonteiroUnidadeMedida) == 54);
static_assert(offsetof(PPDiscoInsumoRemessa, cTipoEstoque) == 56);
static_assert(offsetof(PPDiscoInsumoRemessa, cTipoProducao) == 57);
static_assert(offsetof(PPDiscoInsumoRemessa, cQuantidadeCasasDecimaisEstoque) == 58);
static_assert(offsetof(PPDiscoInsumoRemessa, cEhProdutoNaoCadastrado) == 59);
static_assert(offsetof(PPDiscoInsumoRemessa, cEhProdutoFinal) == 60);

// ---- Requirements ------------------------------------------------------------------------------

// Production requirement, "PPNC". A key addresses it: (record << 12) | month.
struct PPDiscoNecessidade {
  CY vQtdSolicitada;
  CY vQtdProgramada;
  CY vQtdProduzida;
  CY vQtdCancelada;
  CY vQtdRefugo;
  int32_t lPonteiroOPGeradora;  // record in PPOP of the same month
  uint32_t lPonteiroProduto;    // regPosProduto
  int32_t lChaveModulo;         // RegQuemGerou
  int32_t lPonteiroColecao;
  uint8_t cReservado56[12];
  uint16_t iPonteiroItemGrade1;  // regPosProduto
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
  uint16_t usPonteiroFilial;
  uint16_t usPonteiroUsuarioEmissao;
  uint16_t usPonteiroUsuarioCancelManual;
  uint16_t usDataEmissao;
  uint16_t usDataCancelamentoManual;
  uint16_t iData;  // RegQuemGerou
  uint8_t cReservado86[8];
  uint8_t cTipoRegistro;  // 0 "NP", 1 "OP", 2 "MRP", 3 "Agrupamento"
  uint8_t cRemovido;
  uint8_t cReservado96[18];
  CY vQtdAgrupada;
  uint32_t ulPrimeiroMembro;  // group only: in PPNA
  uint16_t usQtdMembros;
};
static_assert(sizeof(PPDiscoNecessidade) == 128);
static_assert(offsetof(PPDiscoNecessidade, vQtdSolicitada) == 0);
static_assert(offsetof(PPDiscoNecessidade, vQtdProgramada) == 8);
static_assert(offsetof(PPDiscoNecessidade, vQtdProduzida) == 16);
static_assert(offsetof(PPDiscoNecessidade, vQtdCancelada) == 24);
static_assert(offsetof(PPDiscoNecessidade, vQtdRefugo) == 32);
static_assert(offsetof(PPDiscoNecessidade, lPonteiroOPGeradora) == 40);
static_assert(offsetof(PPDiscoNecessidade, lPonteiroProduto) == 44);
static_assert(offsetof(PPDiscoNecessidade, lChaveModulo) == 48);
static_assert(offsetof(PPDiscoNecessidade, lPonteiroColecao) == 52);
static_assert(offsetof(PPDiscoNecessidade, iPonteiroItemGrade1) == 68);
static_assert(offsetof(PPDiscoNecessidade, iPonteiroItemGrade2) == 70);
static_assert(offsetof(PPDiscoNecessidade, iPonteiroItemGrade3) == 72);
static_assert(offsetof(PPDiscoNecessidade, usPonteiroFilial) == 74);
static_assert(offsetof(PPDiscoNecessidade, usPonteiroUsuarioEmissao) == 76);
static_assert(offsetof(PPDiscoNecessidade, usPonteiroUsuarioCancelManual) == 78);
static_assert(offsetof(PPDiscoNecessidade, usDataEmissao) == 80);
static_assert(offsetof(PPDiscoNecessidade, usDataCancelamentoManual) == 82);
static_assert(offsetof(PPDiscoNecessidade, iData) == 84);
static_assert(offsetof(PPDiscoNecessidade, cTipoRegistro) == 94);
static_assert(offsetof(PPDiscoNecessidade, cRemovido) == 95);
static_assert(offsetof(PPDiscoNecessidade, vQtdAgrupada) == 114);
static_assert(offsetof(PPDiscoNecessidade, ulPrimeiroMembro) == 122);
static_assert(offsetof(PPDiscoNecessidade, usQtdMembros) == 126);

// Member of a requirement group, "PPNA" (month of the group).
struct PPDiscoMembroNecessidade {
  CY vQuantidade;  // taken from the member: its requested quantity
  uint32_t ulChaveNecessidade;
  uint8_t cReservado12[4];
};
static_assert(sizeof(PPDiscoMembroNecessidade) == 16);
static_assert(offsetof(PPDiscoMembroNecessidade, vQuantidade) == 0);
static_assert(offsetof(PPDiscoMembroNecessidade, ulChaveNecessidade) == 8);

#pragma pack(pop)

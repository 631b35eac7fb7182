// The factory occupancy: the capacity picture that the capacity and hour-register reports work
// with, per process (CPPDadosOcupacaoFabricaProcesso) and per production order on each process
// (CPPDadosOcupacaoFabricaOP). The server's production forecast fills an occupancy record tree with
// task-allocator arrays; the report takes it in with CopiarDe and frees it with
// LiberaArraysDoServidor. Pattern and ownership: PPDadosBase.h.
//
// The three records are not part of the type library; they are laid out here like its records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

#pragma pack(push, 2)

struct _REG_PP_OCUPACAO_FABRICA_OP_OUTPS {
  CY vHorasPrevistas;  // hours planned for the order on the process
  CY vHorasExecutadas;
  uint32_t ulChaveOP;  // key of the production order
};
static_assert(sizeof(_REG_PP_OCUPACAO_FABRICA_OP_OUTPS) == 20);

struct _REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS {
  CY vQtdDiasUteis;  // working days
  CY vCapacProcessoDia;
  CY vCapacTotalDisponivel;
  CY vCapacProdutivaHora;
  CY vQtdProdutoProcesso;
  CY vCapacidadeProgramada;
  CY vCapacidadeRealizadaDoPeriodo;
  CY vCapacidadeRealizadaDoPeriodoAnterior;
  CY vCapacidadeTransportadaPeriodoAnterior;
  int32_t lPonteiroProcesso;  // pointer of the process
  uint16_t usDiasParaTrabalhar;
  uint16_t usDataFinalOcupacao;  // date (day number)
  uint16_t usQtdOPs;
  uint8_t cFiller[32];  // reserved: zero after clearing, carried by every copy
  _REG_PP_OCUPACAO_FABRICA_OP_OUTPS* pregOPs;  // count in usQtdOPs
};
static_assert(sizeof(_REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS) == 118);
static_assert(offsetof(_REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS, lPonteiroProcesso) == 72);
static_assert(offsetof(_REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS, usQtdOPs) == 80);
static_assert(offsetof(_REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS, cFiller) == 82);
static_assert(offsetof(_REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS, pregOPs) == 114);

struct _REG_PP_OCUPACAO_FABRICA_OUTPS {
  CY vQuantidade;
  uint16_t usNroDias;  // number of days covered
  uint16_t usQtdProcessos;
  _REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS* pregProcessos;  // count in usQtdProcessos
};
static_assert(sizeof(_REG_PP_OCUPACAO_FABRICA_OUTPS) == 16);
static_assert(offsetof(_REG_PP_OCUPACAO_FABRICA_OUTPS, pregProcessos) == 12);

#pragma pack(pop)

class CPPDadosOcupacaoFabricaOP
    : public PPDados<CPPDadosOcupacaoFabricaOP, _REG_PP_OCUPACAO_FABRICA_OP_OUTPS> {
 public:
  PP_CAMPO(HorasPrevistas, vHorasPrevistas)
  PP_CAMPO(HorasExecutadas, vHorasExecutadas)
  PP_CAMPO(ChaveOP, ulChaveOP)
};

class CPPDadosOcupacaoFabricaProcesso
    : public PPDados<CPPDadosOcupacaoFabricaProcesso, _REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS> {
 public:
  PP_CAMPO(QtdDiasUteis, vQtdDiasUteis)
  PP_CAMPO(CapacProcessoDia, vCapacProcessoDia)
  PP_CAMPO(CapacTotalDisponivel, vCapacTotalDisponivel)
  PP_CAMPO(CapacProdutivaHora, vCapacProdutivaHora)
  PP_CAMPO(QtdProdutoProcesso, vQtdProdutoProcesso)
  PP_CAMPO(CapacidadeProgramada, vCapacidadeProgramada)
  PP_CAMPO(CapacidadeRealizadaDoPeriodo, vCapacidadeRealizadaDoPeriodo)
  PP_CAMPO(CapacidadeRealizadaDoPeriodoAnterior, vCapacidadeRealizadaDoPeriodoAnterior)
  PP_CAMPO(CapacidadeTransportadaPeriodoAnterior, vCapacidadeTransportadaPeriodoAnterior)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(DiasParaTrabalhar, usDiasParaTrabalhar)
  PP_CAMPO(DataFinalOcupacao, usDataFinalOcupacao)
  PP_CAMPO(QtdOPs, usQtdOPs)
  PP_LISTA(OP, CPPDadosOcupacaoFabricaOP, usQtdOPs, pregOPs)
  PP_PARTES(OP)
};

class CPPDadosOcupacaoFabrica
    : public PPDados<CPPDadosOcupacaoFabrica, _REG_PP_OCUPACAO_FABRICA_OUTPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(NroDias, usNroDias)
  PP_CAMPO(QtdProcessos, usQtdProcessos)
  PP_LISTA(Processo, CPPDadosOcupacaoFabricaProcesso, usQtdProcessos, pregProcessos)
  PP_PARTES(Processo)
};

extern template class PPDados<CPPDadosOcupacaoFabricaOP, _REG_PP_OCUPACAO_FABRICA_OP_OUTPS>;
extern template class PPDados<CPPDadosOcupacaoFabricaProcesso,
                              _REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS>;
extern template class PPDados<CPPDadosOcupacaoFabrica, _REG_PP_OCUPACAO_FABRICA_OUTPS>;

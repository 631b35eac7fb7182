// The factory calendar held in memory by CPPCalendarioIndustrial: a calendar (one per branch, or
// the company's single production calendar) holds its months, a month holds its days; plus the
// query (a branch and a range of months) and the answer (four working-day counts). Pattern:
// PPDadosBase.h.
//
// Only the day has a record of the type library (the 6-byte calendar date); the others keep their
// plain values in a structure of their own and have no CopiarPara or CopiarDe. Dates are day
// numbers and months month numbers of the foundation's date window; nothing here checks them.
#pragma once

#include <cstdint>

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

// One day: its share of a full working day (hundredths of a percent), its day number and its kind.
class CPPDadosCalendarioIndustrialData
    : public PPDados<CPPDadosCalendarioIndustrialData, _REG_PP_DATA_CALENDARIOPS> {
 public:
  // The kinds of day (TipoData).
  static constexpr uint8_t kTrabalhado = 0;
  static constexpr uint8_t kNaoTrabalhado = 1;
  static constexpr uint8_t kDiferenciado = 2;

  PP_CAMPO(Percentual, usPercentual)
  PP_CAMPO(Data, usData)
  PP_CAMPO(TipoData, cTipoData)
};

struct PPValoresCalendarioIndustrialMesAno {
  uint16_t usMesAno;
};

// One month and its days, in ascending date order.
class CPPDadosCalendarioIndustrialMesAno
    : public PPDados<CPPDadosCalendarioIndustrialMesAno, PPValoresCalendarioIndustrialMesAno,
                     PPSentido::Nenhum> {
 public:
  PP_CAMPO(MesAno, usMesAno)
  PP_LISTA_SEM_REGISTRO(Data, CPPDadosCalendarioIndustrialData)
  PP_PARTES(Data)
};

struct PPValoresCalendarioIndustrial {
  uint16_t usPonteiroFilial;     // 0 for the single production calendar
  uint32_t ulPonteiroCalendario;  // production calendar, or the branch's holiday table
  uint16_t usMenorMA;            // first month held, as the caller sets it; 0 = not set
  uint16_t usMaiorMA;            // last month held, as the caller sets it; 0 = not set
};

// One calendar and the months loaded into it, ascending.
class CPPDadosCalendarioIndustrial
    : public PPDados<CPPDadosCalendarioIndustrial, PPValoresCalendarioIndustrial,
                     PPSentido::Nenhum> {
 public:
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(PonteiroCalendario, ulPonteiroCalendario)
  PP_CAMPO(MenorMA, usMenorMA)
  PP_CAMPO(MaiorMA, usMaiorMA)
  PP_LISTA_SEM_REGISTRO(MesAno, CPPDadosCalendarioIndustrialMesAno)
  PP_PARTES(MesAno)
};

struct PPValoresCalendarioIndustrialFiltro {
  uint16_t usPonteiroFilial;
  uint16_t usMesAnoInicio;  // both months inclusive
  uint16_t usMesAnoFim;
};

// A query: a branch and a range of months.
class CPPDadosCalendarioIndustrialFiltro
    : public PPDados<CPPDadosCalendarioIndustrialFiltro, PPValoresCalendarioIndustrialFiltro,
                     PPSentido::Nenhum> {
 public:
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(MesAnoInicio, usMesAnoInicio)
  PP_CAMPO(MesAnoFim, usMesAnoFim)
};

struct PPValoresCalendarioIndustrialResposta {
  uint32_t ulDiasUteisNoMes;
  uint32_t ulDiasUteisNoAno;
  uint32_t ulDiasUteisPassadosNoMes;
  uint32_t ulDiasUteisPassadosNoAno;
};

// An answer: the working days of a month and of its year, and how many of each have passed.
class CPPDadosCalendarioIndustrialResposta
    : public PPDados<CPPDadosCalendarioIndustrialResposta, PPValoresCalendarioIndustrialResposta,
                     PPSentido::Nenhum> {
 public:
  PP_CAMPO(DiasUteisNoMes, ulDiasUteisNoMes)
  PP_CAMPO(DiasUteisNoAno, ulDiasUteisNoAno)
  PP_CAMPO(DiasUteisPassadosNoMes, ulDiasUteisPassadosNoMes)
  PP_CAMPO(DiasUteisPassadosNoAno, ulDiasUteisPassadosNoAno)
};

extern template class PPDados<CPPDadosCalendarioIndustrialData, _REG_PP_DATA_CALENDARIOPS>;
extern template class PPDados<CPPDadosCalendarioIndustrialMesAno,
                              PPValoresCalendarioIndustrialMesAno, PPSentido::Nenhum>;
extern template class PPDados<CPPDadosCalendarioIndustrial, PPValoresCalendarioIndustrial,
                              PPSentido::Nenhum>;
extern template class PPDados<CPPDadosCalendarioIndustrialFiltro,
                              PPValoresCalendarioIndustrialFiltro, PPSentido::Nenhum>;
extern template class PPDados<CPPDadosCalendarioIndustrialResposta,
                              PPValoresCalendarioIndustrialResposta, PPSentido::Nenhum>;

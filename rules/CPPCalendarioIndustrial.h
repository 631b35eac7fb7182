// The factory calendar: for a branch and a month, how many working days the month and its year
// have and how many of them have passed up to today (the clock's today). The production-target
// handler keeps one and asks GetDiasUteis for each target that it works out.
//
// Two modes, chosen from the master settings at Inicializa: with the master flag
// cUtilizaCalendarioProducaoComoPadrao at 1, one production calendar for the whole company (the
// master's ulPonteiroCalendarioPadrao, read from the calendar server; the branch asked for is
// ignored); otherwise one calendar per branch, where every day counts but those that the branch's
// holiday table marks as non-working (kinds 2, 4, 6 and 10).
//
// The calendars are listed at Inicializa with no month; each request reloads its months from the
// servers. The last answer is cached by branch and month only: it is not refreshed when the date
// or the calendar data change, and a new Inicializa without Finaliza keeps it.
//
// BufferDados is the caller's cache and server hub and is not owned. One thread at a time.
#pragma once

#include <cstdint>

#include "access/CPPBufferDados.h"
#include "model/T_Lista.h"
#include "rules/CPPDadosCalendarioIndustrial.h"

class CPPCalendarioIndustrial {
 public:
  // 0x80040000 + message 1585: the calendar is not initialised.
  static constexpr int32_t kNaoInicializado = static_cast<int32_t>(0x80040631);

  CPPCalendarioIndustrial() = default;
  CPPCalendarioIndustrial(const CPPCalendarioIndustrial&) = default;
  CPPCalendarioIndustrial& operator=(const CPPCalendarioIndustrial&) = default;
  virtual ~CPPCalendarioIndustrial() = default;

  // Reads the master settings (a failure returned as it came, with only the hub pointer changed),
  // chooses the mode, lists the calendars and, when that succeeds, is initialised. The cached
  // answer stays.
  int32_t Inicializa(CPPBufferDados* bufferDados);
  // Clears everything: not initialised, no hub, no calendar, no cached answer.
  void Finaliza();
  bool GetInicializado() const { return Inicializado; }

  // Fills `resposta` with the four counts of `filial` (ignored in production-calendar mode) and
  // `mesAno`. A failure leaves the answer empty and the cache as it was; a branch or month without
  // calendar gives 0 days and no error. 0x80040631 when not initialised.
  int32_t GetDiasUteis(uint16_t filial, uint16_t mesAno, CPPDadosCalendarioIndustrialResposta& resposta);

  PP_MEMBROS_DE_LISTA(Calendario, CPPDadosCalendarioIndustrial, Calendario)

 private:
  int32_t CarregarCalendarios();
  int32_t BuscaIdxCalendario(CPPDadosCalendarioIndustrialFiltro filtro, int& indice);
  int32_t InicializarPeriodo(uint16_t primeiro, uint16_t ultimo, CPPDadosCalendarioIndustrial* calendario);
  int32_t CarregarDatas(uint16_t primeiro, uint16_t ultimo, int posicao,
                        CPPDadosCalendarioIndustrial* calendario);
  int32_t CarregarDatasCalendarioProducao(uint16_t primeiro, uint16_t ultimo,
                                          const CPPDadosCalendarioIndustrial& calendario,
                                          T_Lista<CPPDadosCalendarioIndustrialMesAno>& meses);
  int32_t CarregarDatasFeriados(uint16_t primeiro, uint16_t ultimo,
                                const CPPDadosCalendarioIndustrial& calendario,
                                T_Lista<CPPDadosCalendarioIndustrialMesAno>& meses);
  int32_t GetQuantDiasUteis(CPPDadosCalendarioIndustrialFiltro filtro, uint32_t& quantidade);
  int32_t GetHojeEmDiasUteis(CPPDadosCalendarioIndustrialFiltro filtro, uint32_t& quantidade);
  // The working days of the filter's months, counting only days up to `limite`.
  int32_t ContaDiasUteis(CPPDadosCalendarioIndustrialFiltro filtro, uint16_t limite, uint32_t& quantidade);

  bool Inicializado = false;
  bool FeriadosPorFilial = false;
  CPPBufferDados* BufferDados = nullptr;
  T_Lista<CPPDadosCalendarioIndustrial> Calendario;
  uint16_t FilialResposta = 0;
  uint16_t MesAnoResposta = 0;
  CPPDadosCalendarioIndustrialResposta Resposta;
};

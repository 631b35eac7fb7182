// A date-time as the capacity and resource computations keep it: a day number of the date library
// (QVData.h; 0 = empty) and the minutes since midnight (0..1439), 4 bytes of plain data; and a
// period, two of them (begin and end), 8 bytes. The server and the clients use these same classes.
// No operation validates its fields, they hold what they are given; only the hour arithmetic
// refuses a result outside the dates that a day number holds. Both are trivially copyable plain
// values with nothing to release; copies may be used on any thread.
#pragma once

#include <cstdint>
#include <type_traits>

#include "foundation/CQVCurrencyEx.h"
#include "platform/mfc/CString.h"

class CQVDataHora {
 public:
  CQVDataHora() = default;
  CQVDataHora(uint16_t usData, uint16_t usMinutos) : m_usData(usData), m_usMinutos(usMinutos) {}
  CQVDataHora(const CQVDataHora&) = default;
  CQVDataHora& operator=(const CQVDataHora&) = default;

  void Limpa() { m_usData = 0, m_usMinutos = 0; }
  void SetDataHora(uint16_t usData, uint16_t usMinutos) { m_usData = usData, m_usMinutos = usMinutos; }
  void GetDataHora(short& data, short& minutos) const;

  bool operator==(const CQVDataHora& outra) const { return m_usData == outra.m_usData && m_usMinutos == outra.m_usMinutos; }
  bool operator!=(const CQVDataHora& outra) const { return !(*this == outra); }
  // The date first; equal dates compare the minutes.
  bool operator<(const CQVDataHora& outra) const;
  bool operator>(const CQVDataHora& outra) const { return outra < *this; }
  bool operator<=(const CQVDataHora& outra) const { return *this == outra || *this < outra; }
  bool operator>=(const CQVDataHora& outra) const { return *this == outra || *this > outra; }

  uint16_t GetData() const { return m_usData; }
  uint16_t GetMinutos() const { return m_usMinutos; }
  int GetDia() const;
  int GetMes() const;
  int GetAno() const;  // four digits
  uint16_t GetMesAno() const;
  int GetHora() const { return m_usMinutos / 60; }
  int GetMinuto() const { return m_usMinutos % 60; }
  int32_t GetDataNumerica() const;    // AAAAMMDD
  int32_t GetMesAnoNumerico() const;  // AAAAMM
  int GetHoraNumerica() const;        // hhmm
  // AAAAMMDDhhmm as a double: the ordering key of the periods.
  double GetValorNumerico() const;

  CString GetTextoData(bool bAno4Digitos) const;  // DD/MM/AA or DD/MM/AAAA
  CString GetTextoHora() const;                   // hh:mm
  CString GetTexto(bool bAno4Digitos) const;      // date, a blank, time

  // The first (01/01/1927) or last (31/12/2026) day that a day number holds; minutes kept.
  void SetDataMinima();
  void SetDataMaxima();
  void SetHoraInicial() { m_usMinutos = 0; }
  void SetHoraFinal() { m_usMinutos = 1439; }
  void SetMinimo() { SetDataMinima(), SetHoraInicial(); }
  void SetMaximo() { SetDataMaxima(), SetHoraFinal(); }

  // Hours from the earlier of the two to the later (never negative), four decimals.
  CQVCurrencyEx CalculaDiferencaHoras(const CQVDataHora& outra) const;
  // Moves the date-time back by a number of hours (forward when negative), in doubles, truncating
  // to whole minutes. A result outside the dates a day number holds (01/01/1927 00:00 to
  // 31/12/2026 23:59) is refused: the value stays as it was and the result is false.
  bool SubtraiHoras(CY horas);

 private:
  uint16_t m_usData = 0;
  uint16_t m_usMinutos = 0;
};
static_assert(sizeof(CQVDataHora) == 4 && std::is_trivially_copyable_v<CQVDataHora>);

class CQVPeriodo {
 public:
  CQVPeriodo() = default;
  CQVPeriodo(const CQVDataHora& inicio, const CQVDataHora& fim) : m_inicio(inicio), m_fim(fim) {}
  CQVPeriodo(const CQVPeriodo&) = default;
  CQVPeriodo& operator=(const CQVPeriodo&) = default;

  void Limpa() { m_inicio.Limpa(), m_fim.Limpa(); }
  void SetInicio(CQVDataHora inicio) { m_inicio = inicio; }
  CQVDataHora GetInicio() const { return m_inicio; }
  void SetFim(CQVDataHora fim) { m_fim = fim; }
  CQVDataHora GetFim() const { return m_fim; }

  // Whether the two periods share a minute (bounds inclusive). An empty begin date stands for the
  // first possible minute and an empty end date for the last, on both sides.
  bool Intersecta(CQVPeriodo outro) const;
  // Whether the other period lies inside this one; both must run forwards. Empty dates are taken
  // as they are.
  bool Contem(CQVPeriodo outro) const;

 private:
  CQVDataHora m_inicio;
  CQVDataHora m_fim;
};
static_assert(sizeof(CQVPeriodo) == 8 && std::is_trivially_copyable_v<CQVPeriodo>);

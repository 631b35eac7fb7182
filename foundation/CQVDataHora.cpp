#include "foundation/CQVDataHora.h"

#include <cmath>
#include <utility>

#include "foundation/QVData.h"

void CQVDataHora::GetDataHora(short& data, short& minutos) const {
  data = static_cast<short>(m_usData);
  minutos = static_cast<short>(m_usMinutos);
}

bool CQVDataHora::operator<(const CQVDataHora& outra) const {
  if (m_usData != outra.m_usData) return m_usData < outra.m_usData;
  return m_usMinutos < outra.m_usMinutos;
}

int CQVDataHora::GetDia() const {
  int dia;
  QVSeparaData(m_usData, &dia, nullptr, nullptr);
  return dia;
}

int CQVDataHora::GetMes() const {
  int mes;
  QVSeparaData(m_usData, nullptr, &mes, nullptr);
  return mes;
}

int CQVDataHora::GetAno() const {
  int ano;
  QVSeparaData(m_usData, nullptr, nullptr, &ano);
  return ano;
}

uint16_t CQVDataHora::GetMesAno() const { return QVDataParaMesAno(m_usData); }

int32_t CQVDataHora::GetDataNumerica() const { return GetAno() * 10000 + GetMes() * 100 + GetDia(); }

int32_t CQVDataHora::GetMesAnoNumerico() const { return GetAno() * 100 + GetMes(); }

int CQVDataHora::GetHoraNumerica() const { return GetHora() * 100 + GetMinuto(); }

double CQVDataHora::GetValorNumerico() const {
  return GetAno() * 1e8 + GetMes() * 1e6 + GetDia() * 1e4 + GetHora() * 100.0 + GetMinuto();
}

CString CQVDataHora::GetTextoData(bool bAno4Digitos) const {
  char texto[12];
  return QVDataParaTexto(m_usData, texto, bAno4Digitos);
}

CString CQVDataHora::GetTextoHora() const {
  CString texto;
  texto.Format("%02d:%02d", GetHora(), GetMinuto());
  return texto;
}

CString CQVDataHora::GetTexto(bool bAno4Digitos) const {
  CString texto;
  texto.Format("%s %s", static_cast<const char*>(GetTextoData(bAno4Digitos)), static_cast<const char*>(GetTextoHora()));
  return texto;
}

void CQVDataHora::SetDataMinima() { m_usData = QVDataMinima(); }

void CQVDataHora::SetDataMaxima() { m_usData = QVDataMaxima(); }

CQVCurrencyEx CQVDataHora::CalculaDiferencaHoras(const CQVDataHora& outra) const {
  const CQVDataHora* anterior = this;
  const CQVDataHora* posterior = &outra;
  if (*anterior > *posterior) std::swap(anterior, posterior);
  CQVCurrencyEx horas(false, false, (posterior->m_usData - anterior->m_usData) * 1440.0);
  horas += static_cast<double>(posterior->m_usMinutos - anterior->m_usMinutos);
  horas /= 60.0;
  return horas;
}

bool CQVDataHora::SubtraiHoras(CY horas) {
  double valorHoras;
  VarR8FromCy(horas, &valorHoras);
  double t = m_usData * 24.0 + m_usMinutos / 60.0 - valorHoras;
  // The day is checked while still a double: a CY holds hours far beyond any day count, and a
  // wrapped day number would pass for a date.
  double dia = std::trunc(t / 24);
  if (!(dia >= QVDataMinima() && dia <= QVDataMaxima())) return false;
  m_usData = static_cast<uint16_t>(dia);
  m_usMinutos = static_cast<uint16_t>((t - dia * 24) * 60);
  return true;
}

namespace {

// Empty dates opened up to the extremes, for the intersection test.
CQVPeriodo Aberto(CQVPeriodo periodo) {
  CQVDataHora inicio = periodo.GetInicio(), fim = periodo.GetFim();
  if (inicio.GetData() == 0) inicio.SetMinimo();
  if (fim.GetData() == 0) fim.SetMaximo();
  return CQVPeriodo(inicio, fim);
}

}  // namespace

bool CQVPeriodo::Intersecta(CQVPeriodo outro) const {
  CQVPeriodo este = Aberto(*this);
  outro = Aberto(outro);
  return outro.m_fim.GetValorNumerico() >= este.m_inicio.GetValorNumerico() &&
         outro.m_inicio.GetValorNumerico() <= este.m_fim.GetValorNumerico();
}

bool CQVPeriodo::Contem(CQVPeriodo outro) const {
  double outroInicio = outro.m_inicio.GetValorNumerico(), outroFim = outro.m_fim.GetValorNumerico();
  double inicio = m_inicio.GetValorNumerico(), fim = m_fim.GetValorNumerico();
  return outroInicio <= outroFim && inicio <= fim && outroInicio >= inicio && outroFim <= fim;
}

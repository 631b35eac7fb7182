#include "server/PPDatas.h"

#include <cmath>

#include "foundation/QVCaminho.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "platform/mfc/CFile.h"

namespace {

// Month steps of the periodicities 5 to 8.
int MesesDoPeriodo(char cPeriodicidade) {
  switch (cPeriodicidade) {
    case kPPPeriodicidadeBimestral: return 2;
    case kPPPeriodicidadeTrimestral: return 3;
    case kPPPeriodicidadeQuadrimestral: return 4;
    case kPPPeriodicidadeSemestral: return 6;
    default: return 0;
  }
}

}  // namespace

uint16_t PPCalculaProximaData(uint16_t usData, char cPeriodicidade) {
  int dia, mes, ano;
  QVSeparaData(usData, &dia, &mes, &ano);
  switch (cPeriodicidade) {
    case kPPPeriodicidadeDiaria: return static_cast<uint16_t>(usData + 1);
    case kPPPeriodicidadeSemanal: return static_cast<uint16_t>(usData + 7);
    case kPPPeriodicidadeQuinzenal: return static_cast<uint16_t>(usData + 15);
    // Month 13 is January of the following year for QVMontaData.
    case kPPPeriodicidadeMensal: return QVMontaData(dia, mes + 1, ano);
    case kPPPeriodicidadeAnual: return QVMontaData(dia, mes, ano + 1);
    default: break;
  }
  const int meses = MesesDoPeriodo(cPeriodicidade);
  if (meses == 0) return 0;
  mes += meses;
  if (mes > 12) {
    ++ano;
    mes %= 12;
  }
  return QVMontaData(dia, mes, ano);
}

CQVCurrencyEx PPCalculaHoras(uint16_t usData1, uint16_t usMinutos1, uint16_t usData2, uint16_t usMinutos2) {
  CQVCurrencyEx horas(false, kQVModoArredonda, CQVCurrencyEx());
  if (usData1 == usData2) {
    horas = usMinutos2 / 60.0;
    horas -= usMinutos1 / 60.0;
    return horas;
  }
  horas = (usData2 - usData1) * 24.0;
  horas -= usMinutos1 / 60.0;
  horas += usMinutos2 / 60.0;
  return horas;
}

CQVCurrencyEx PPCalculaDiferencaContador(CY leituraInicial, CY leituraFinal, uint16_t digitos) {
  CQVCurrencyEx diferenca(false, kQVModoArredonda, CQVCurrencyEx(leituraFinal - leituraInicial));
  if (diferenca.GetCY() < CY{}) diferenca += std::pow(10.0, digitos);
  return diferenca;
}

int PPMinutosDoDia(const COleDateTime& momento) { return momento.GetHour() * 60 + momento.GetMinute(); }

int PPHoraAtualMinutos() { return PPMinutosDoDia(GetCurrentTime_COleDateTime()); }

CString PPFormataData(uint16_t usData, bool bAno4Digitos) {
  char texto[12];
  return QVDataParaTexto(usData, texto, bAno4Digitos);
}

CString PPFormataHora(int minutos) {
  CString texto;
  texto.Format("%02d:%02d", minutos / 60, minutos % 60);
  return texto;
}

CString PPFormataDataHora(uint16_t usData, int minutos) {
  CString texto;
  texto.Format("%s %02d:%02d", static_cast<const char*>(PPFormataData(usData, false)), minutos / 60, minutos % 60);
  return texto;
}

CString PPFormataMesAno(uint16_t usMesAno, bool bAno4Digitos) {
  char texto[10];
  return QVMesAnoParaTexto(usMesAno, texto, bAno4Digitos);
}

CString PPNomeArquivoVersao(const CString& arquivo, uint16_t versao) {
  CString nome;
  nome.Format("%s_V%03i.%s", static_cast<const char*>(QVGetNomeArquivoSemExtensao(arquivo)), versao,
              static_cast<const char*>(QVGetExtensao(arquivo)));
  return QVGetDiretorio(arquivo) + nome;
}

HRESULT PPRenomeiaHistoricoVersao(const char* arquivoDAT, uint16_t versao) {
  const CString historico = QVTrocaExtensao(arquivoDAT, "HIS");
  if (!QVExisteArquivo(historico)) return S_OK;
  try {
    CFile::Rename(historico, PPNomeArquivoVersao(historico, versao));
  } catch (const CFileException&) {
    return E_FAIL;
  }
  return S_OK;
}

bool PPRenomeiaArquivos(const std::vector<CString>& origem, const std::vector<CString>& destino, CString& erro) {
  erro.Empty();
  for (size_t i = 0; i < origem.size() && i < destino.size(); ++i) {
    try {
      CFile::Rename(origem[i], destino[i]);
    } catch (const CFileException& e) {
      erro.Format("Renomear arquivo %s; Erro: %d; Causa: %d", static_cast<const char*>(origem[i]),
                  static_cast<int>(e.m_lOsError), e.m_cause);
      return false;
    }
  }
  return true;
}

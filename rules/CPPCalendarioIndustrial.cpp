#include "rules/CPPCalendarioIndustrial.h"

#include <vector>

#include "access/PPMapaBuffer.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "model/CPPDadosFilial.h"
#include "model/CPPDadosMestre.h"

namespace {

// The holidays of a branch's table by day number; a holiday table is keyed by its 16-bit date.
struct DataFeriado {
  uint16_t usData;
};

using MesesCalendario = T_Lista<CPPDadosCalendarioIndustrialMesAno>;

constexpr uint16_t kPercentualDiaInteiro = 10000;

// The kinds of holiday that make a day non-working; every other kind leaves it a working day.
bool FeriadoNaoTrabalhado(uint16_t tipo) { return tipo == 2 || tipo == 4 || tipo == 6 || tipo == 10; }

CPPDadosCalendarioIndustrialData NovoDia(uint16_t data, uint16_t percentual, uint8_t tipo) {
  CPPDadosCalendarioIndustrialData dia;
  dia.SetData(data);
  dia.SetPercentual(percentual);
  dia.SetTipoData(tipo);
  return dia;
}

CPPDadosCalendarioIndustrialFiltro NovoFiltro(uint16_t filial, uint16_t inicio, uint16_t fim) {
  CPPDadosCalendarioIndustrialFiltro filtro;
  filtro.SetPonteiroFilial(filial);
  filtro.SetMesAnoInicio(inicio);
  filtro.SetMesAnoFim(fim);
  return filtro;
}

// Day 1 of the month after `mesAno`: the end (exclusive) of its days. Past the last month of the
// date window the month number wraps to 01/1927, so 12/2026 has no day.
uint16_t PrimeiroDiaDoMesSeguinte(uint16_t mesAno) {
  return QVMesAnoParaData(1, static_cast<uint16_t>(mesAno + 1));
}

}  // namespace

template <>
struct PPChaveMapa<DataFeriado> {
  static uint32_t Hash(DataFeriado chave) { return static_cast<uint32_t>(chave.usData) >> 4; }
  static bool Igual(DataFeriado a, DataFeriado b) { return a.usData == b.usData; }
};

int32_t CPPCalendarioIndustrial::Inicializa(CPPBufferDados* bufferDados) {
  BufferDados = bufferDados;
  CPPDadosMestre mestre;
  const int32_t hr = BufferDados->LeBufferMestrePP(&mestre);
  if (FAILED(hr)) return hr;
  FeriadosPorFilial = mestre.GetUtilizaCalendarioProducaoComoPadrao() != 1;
  Calendario.Limpar();
  const int32_t hrCalendarios = CarregarCalendarios();
  if (SUCCEEDED(hrCalendarios)) Inicializado = true;
  return hrCalendarios;
}

void CPPCalendarioIndustrial::Finaliza() {
  Inicializado = false;
  FeriadosPorFilial = false;
  BufferDados = nullptr;
  FilialResposta = 0;
  MesAnoResposta = 0;
  Resposta.Limpar();
  Calendario.Limpar();
}

int32_t CPPCalendarioIndustrial::GetDiasUteis(uint16_t filial, uint16_t mesAno,
                                              CPPDadosCalendarioIndustrialResposta& resposta) {
  resposta.Limpar();
  if (!Inicializado) return kNaoInicializado;
  if (MesAnoResposta == mesAno && (!FeriadosPorFilial || FilialResposta == filial)) {
    resposta = Resposta;
    return 0;
  }
  int mes = 0, ano = 0;
  QVSeparaMesAno(mesAno, &mes, &ano);
  const uint16_t janeiro = QVMontaMesAno(1, ano);
  // The month before January of the next year: for the last year of the window this wraps to
  // 12/1926, before January, and the year holds no month.
  const uint16_t dezembro = static_cast<uint16_t>(QVMontaMesAno(1, ano + 1) - 1);

  uint32_t noMes = 0, passadosNoMes = 0, noAno = 0, passadosNoAno = 0;
  int32_t hr = GetQuantDiasUteis(NovoFiltro(filial, mesAno, mesAno), noMes);
  if (FAILED(hr)) return hr;
  hr = GetHojeEmDiasUteis(NovoFiltro(filial, mesAno, mesAno), passadosNoMes);
  if (FAILED(hr)) return hr;
  hr = GetQuantDiasUteis(NovoFiltro(filial, janeiro, dezembro), noAno);
  if (FAILED(hr)) return hr;
  hr = GetHojeEmDiasUteis(NovoFiltro(filial, janeiro, mesAno), passadosNoAno);
  if (FAILED(hr)) return hr;

  FilialResposta = filial;
  MesAnoResposta = mesAno;
  Resposta.SetDiasUteisNoMes(noMes);
  Resposta.SetDiasUteisNoAno(noAno);
  Resposta.SetDiasUteisPassadosNoMes(passadosNoMes);
  Resposta.SetDiasUteisPassadosNoAno(passadosNoAno);
  resposta = Resposta;
  return 0;
}

int32_t CPPCalendarioIndustrial::CarregarCalendarios() {
  if (!FeriadosPorFilial) {
    CPPDadosMestre mestre;
    const int32_t hr = BufferDados->LeBufferMestrePP(&mestre);
    if (FAILED(hr)) return hr;
    CPPDadosCalendarioIndustrial& calendario = Calendario.AdicionaVazio();
    calendario.SetPonteiroFilial(0);
    calendario.SetPonteiroCalendario(mestre.GetPonteiroCalendarioPadrao());
    return hr;
  }

  IQVCN_Filial* servidorFilial = BufferDados->GetIFilial();
  if (servidorFilial == nullptr) return BufferDados->GetHR();
  uint16_t quantidade = 0;
  int32_t hr = servidorFilial->BuscaQuantidade(&quantidade);
  if (FAILED(hr) || quantidade == 0) return hr;
  for (int32_t ponteiro = 1; ponteiro <= quantidade; ++ponteiro) {
    CPPDadosFilial filial;
    hr = BufferDados->LeBufferFilial(ponteiro, &filial);
    if (FAILED(hr)) return hr;
    CPPDadosCalendarioIndustrial& calendario = Calendario.AdicionaVazio();
    calendario.SetPonteiroFilial(filial.GetCodigo());
    calendario.SetPonteiroCalendario(static_cast<uint8_t>(filial.GetPonteiroFeriado()));
  }
  return hr;
}

int32_t CPPCalendarioIndustrial::BuscaIdxCalendario(CPPDadosCalendarioIndustrialFiltro filtro, int& indice) {
  indice = -1;
  if (!Inicializado) return kNaoInicializado;
  if (!FeriadosPorFilial) filtro.SetPonteiroFilial(0);
  for (int i = 0; i < Calendario.GetSize(); ++i) {
    if (Calendario[i].GetPonteiroFilial() != filtro.GetPonteiroFilial()) continue;
    const int32_t hr = InicializarPeriodo(filtro.GetMesAnoInicio(), filtro.GetMesAnoFim(), &Calendario[i]);
    if (SUCCEEDED(hr)) indice = i;
    return hr;
  }
  return 0;
}

int32_t CPPCalendarioIndustrial::InicializarPeriodo(uint16_t primeiro, uint16_t ultimo,
                                                    CPPDadosCalendarioIndustrial* calendario) {
  const uint16_t menor = calendario->GetMenorMA();
  const uint16_t maior = calendario->GetMaiorMA();
  if (menor == 0 || maior == 0) return CarregarDatas(primeiro, ultimo, 0, calendario);
  int32_t hr = 0;
  if (primeiro < menor) {
    hr = CarregarDatas(primeiro, static_cast<uint16_t>(menor - 1), -1, calendario);
    if (FAILED(hr)) return hr;
  }
  if (ultimo > maior) return CarregarDatas(static_cast<uint16_t>(maior + 1), ultimo, 1, calendario);
  return hr;
}

int32_t CPPCalendarioIndustrial::CarregarDatas(uint16_t primeiro, uint16_t ultimo, int posicao,
                                               CPPDadosCalendarioIndustrial* calendario) {
  MesesCalendario meses;
  const int32_t hr = FeriadosPorFilial ? CarregarDatasFeriados(primeiro, ultimo, *calendario, meses)
                                       : CarregarDatasCalendarioProducao(primeiro, ultimo, *calendario, meses);
  if (FAILED(hr)) return hr;
  if (posicao < 0) {
    for (int i = 0; i < calendario->GetQuantidadeMesAno(); ++i) meses.Add(calendario->GetRefMesAno(i));
    calendario->SetListaMesAno(std::move(meses));
  } else if (posicao > 0) {
    for (int i = 0; i < meses.GetSize(); ++i) calendario->AdicionaMesAno(meses[i]);
  } else {
    calendario->SetListaMesAno(std::move(meses));
  }
  return hr;
}

int32_t CPPCalendarioIndustrial::CarregarDatasCalendarioProducao(uint16_t primeiro, uint16_t ultimo,
                                                                 const CPPDadosCalendarioIndustrial& calendario,
                                                                 MesesCalendario& meses) {
  IQVPP_Calendario* servidor = BufferDados->GetICalendario();
  if (servidor == nullptr) return BufferDados->GetHR();
  int32_t hr = 0;
  for (int m = primeiro; m <= ultimo; ++m) {
    const uint16_t mesAno = static_cast<uint16_t>(m);
    uint16_t quantidade = 0;
    uint32_t ponteiroData = 0;
    hr = servidor->BuscaQtdDiasCalendario(calendario.GetPonteiroCalendario(), mesAno, &quantidade, &ponteiroData);
    if (FAILED(hr)) return hr;
    CPPDadosCalendarioIndustrialMesAno& mes = meses.AdicionaVazio();
    mes.SetMesAno(mesAno);
    if (quantidade > 0) {
      std::vector<_REG_PP_DATA_CALENDARIOPS> datas(quantidade);
      hr = servidor->LeDatasCalendario(ponteiroData, quantidade, datas.data());
      if (FAILED(hr)) return hr;
      for (const _REG_PP_DATA_CALENDARIOPS& data : datas) {
        CPPDadosCalendarioIndustrialData dia;
        dia.CopiarDe(&data);
        mes.AdicionaData(dia);
      }
      continue;
    }
    // A month that the production calendar does not hold has no working day.
    const uint16_t fim = PrimeiroDiaDoMesSeguinte(mesAno);
    for (uint16_t d = QVMesAnoParaData(1, mesAno); d < fim; ++d)
      mes.AdicionaData(NovoDia(d, 0, CPPDadosCalendarioIndustrialData::kNaoTrabalhado));
  }
  return hr;
}

int32_t CPPCalendarioIndustrial::CarregarDatasFeriados(uint16_t primeiro, uint16_t ultimo,
                                                       const CPPDadosCalendarioIndustrial& calendario,
                                                       MesesCalendario& meses) {
  IQVDF_Feriado* servidor = BufferDados->GetIFeriado();
  if (servidor == nullptr) return BufferDados->GetHR();
  int32_t hr = servidor->SelecionaTabela(static_cast<int32_t>(calendario.GetPonteiroCalendario()));
  if (FAILED(hr)) return hr;
  int32_t quantidade = 0;
  hr = servidor->BuscaQuantidade(&quantidade);
  if (FAILED(hr)) return hr;
  if (quantidade < 0) return E_UNEXPECTED;
  std::vector<__MIDL___MIDL_itf_Yarvo_0000_0002> feriados(static_cast<size_t>(quantidade));
  hr = servidor->Le(0, quantidade, feriados.data());
  if (FAILED(hr) || quantidade == 0) return hr;

  PPMapaBuffer<DataFeriado, __MIDL___MIDL_itf_Yarvo_0000_0002> porData;
  porData.InitHashTable(CPPBufferDados::TamanhoTabelaDaContagem(static_cast<uint32_t>(quantidade)));
  for (const __MIDL___MIDL_itf_Yarvo_0000_0002& feriado : feriados) porData.Guarda(DataFeriado{feriado.iData}, feriado);

  for (int m = primeiro; m <= ultimo; ++m) {
    const uint16_t mesAno = static_cast<uint16_t>(m);
    CPPDadosCalendarioIndustrialMesAno& mes = meses.AdicionaVazio();
    mes.SetMesAno(mesAno);
    const uint16_t fim = PrimeiroDiaDoMesSeguinte(mesAno);
    for (uint16_t d = QVMesAnoParaData(1, mesAno); d < fim; ++d) {
      const __MIDL___MIDL_itf_Yarvo_0000_0002* feriado = porData.Procura(DataFeriado{d});
      if (feriado != nullptr && FeriadoNaoTrabalhado(feriado->iTipo))
        mes.AdicionaData(NovoDia(d, 0, CPPDadosCalendarioIndustrialData::kNaoTrabalhado));
      else
        mes.AdicionaData(NovoDia(d, kPercentualDiaInteiro, CPPDadosCalendarioIndustrialData::kTrabalhado));
    }
  }
  return hr;
}

int32_t CPPCalendarioIndustrial::GetQuantDiasUteis(CPPDadosCalendarioIndustrialFiltro filtro, uint32_t& quantidade) {
  // No day lies after the last day number: every day of the months counts.
  return ContaDiasUteis(filtro, UINT16_MAX, quantidade);
}

int32_t CPPCalendarioIndustrial::GetHojeEmDiasUteis(CPPDadosCalendarioIndustrialFiltro filtro, uint32_t& quantidade) {
  uint16_t limite = QVGetDataAtual(true);
  if (QVDataParaMesAno(limite) > filtro.GetMesAnoFim())
    limite = static_cast<uint16_t>(PrimeiroDiaDoMesSeguinte(filtro.GetMesAnoFim()) - 1);
  return ContaDiasUteis(filtro, limite, quantidade);
}

int32_t CPPCalendarioIndustrial::ContaDiasUteis(CPPDadosCalendarioIndustrialFiltro filtro, uint16_t limite,
                                                uint32_t& quantidade) {
  quantidade = 0;
  int indice = -1;
  const int32_t hr = BuscaIdxCalendario(filtro, indice);
  if (FAILED(hr) || indice < 0) return hr;
  CPPDadosCalendarioIndustrial& calendario = Calendario[indice];
  for (int i = 0; i < calendario.GetQuantidadeMesAno(); ++i) {
    // The months are held ascending: the first past the range ends the walk.
    CPPDadosCalendarioIndustrialMesAno& mes = calendario.GetRefMesAno(i);
    if (mes.GetMesAno() < filtro.GetMesAnoInicio()) continue;
    if (mes.GetMesAno() > filtro.GetMesAnoFim()) break;
    for (int d = 0; d < mes.GetQuantidadeData(); ++d) {
      const CPPDadosCalendarioIndustrialData& dia = mes.GetRefData(d);
      if (dia.GetData() > limite) break;
      if (dia.GetTipoData() != CPPDadosCalendarioIndustrialData::kNaoTrabalhado) ++quantidade;
    }
  }
  return hr;
}

#include "demo/SementeAntiga.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "foundation/CQVArqEx.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "platform/mfc/CString.h"
#include "platform/win32/codepage.h"
#include "platform/win32/file.h"
#include "server/CPPAtualizaVersao.h"
#include "server/CPPHistorico.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"
#include "server/PPTextosStatus.h"

namespace {

// The family's records of the company (SementeDemo.cpp): the shirt on its size grid, the branch,
// the users and the sales order.
constexpr uint32_t kCamiseta = 100;
constexpr uint16_t kFilial = 1;
constexpr uint32_t kPedido = 1001;
// What orders and sheets share at order offset 36 / sheet offset 4 for a sheet to be chosen.
constexpr uint32_t kRoteiro = 1;

// The groups' versions: the oldest that the upgrade converts, the orders at 7, the numbered groups
// at 0 (slots in the order of PPGrupoVersao).
constexpr std::array<uint16_t, kPPQuantidadeGrupos> kVersoes = {1, 1, 1, 1, 1, 1, 7, 1, 1, 1, 0, 0, 0, 0, 1, 0};

// One record of an old layout, built at the offsets that the upgrade reads; the other bytes stay 0.
// A field past the record's end throws std::out_of_range.
template <uint32_t N>
class Registro {
 public:
  template <class T>
  Registro& Poe(uint32_t deslocamento, T valor) {
    std::memcpy(Local(deslocamento, sizeof valor), &valor, sizeof valor);
    return *this;
  }
  // Zero-padded, without terminator when full.
  Registro& Texto(uint32_t deslocamento, uint32_t largura, const char* texto) {
    std::memcpy(Local(deslocamento, largura), texto, std::min<size_t>(std::strlen(texto), largura));
    return *this;
  }
  const uint8_t* Dados() const { return bytes_.data(); }

 private:
  uint8_t* Local(uint32_t deslocamento, uint32_t largura) {
    bytes_.at(deslocamento + largura - 1);
    return bytes_.data() + deslocamento;
  }
  std::array<uint8_t, N> bytes_{};
};

HRESULT DoMotor(int erro) { return erro ? PPErroHResult(static_cast<uint32_t>(erro)) : S_OK; }

// A record file of N-byte records: the zero header, then the records in order, through the record
// engine.
template <uint32_t N>
HRESULT GravaArquivo(const CString& arquivo, const std::vector<Registro<N>>& registros) {
  CQVArqEx arq;
  int erro = arq.Abre(arquivo, 'G', N, true, true);
  for (size_t i = 0; erro == 0 && i < registros.size(); ++i) {
    uint32_t numero = 0;
    erro = arq.Grava(registros[i].Dados(), &numero);
  }
  arq.Fecha();
  return DoMotor(erro);
}

// Every file of the directory goes, the control file with them: names it listed would otherwise be
// refused when the engine creates them again.
HRESULT Esvazia(const CString& diretorio) {
  WIN32_FIND_DATAA achado;
  HANDLE busca = FindFirstFileA(diretorio + "*", &achado);
  if (busca == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(GetLastError());
  HRESULT hr = S_OK;
  do {
    if (!(achado.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !DeleteFileA(diretorio + achado.cFileName))
      hr = HRESULT_FROM_WIN32(GetLastError());
  } while (SUCCEEDED(hr) && FindNextFileA(busca, &achado));
  FindClose(busca);
  return hr;
}

HRESULT GravaVersao(const CString& diretorio, uint16_t usData) {
  PPRegistroVersao versao{};
  std::copy(kVersoes.begin(), kVersoes.end(), versao.usVersao);
  versao.usVersaoOrvel = kPPVersaoOrvel;
  versao.usDataCriacao = static_cast<uint16_t>(usData - 730);  // two years before
  Registro<kPPTamanhoRegistroVersao> registro;
  registro.Poe(0, versao);
  return GravaArquivo<kPPTamanhoRegistroVersao>(diretorio + CPPNomesArquivos::ArqVersao(), {registro});
}

// The version-1 settings, record 0 of the file: the pointers and counters at the end (498..510),
// the flags from 10 on. Three terminals, requirements generated automatically and also entered and
// cancelled by hand, four-digit years on reports, sales-order items released on production entry,
// batch numbers required, inputs lost by quantity; implanted in the month before the installation's.
// Its audit history gets the record as it was created.
HRESULT GravaMestre(const CString& diretorio, uint16_t usData) {
  Registro<512> mestre;
  mestre.Poe<uint16_t>(0, 1).Poe<uint16_t>(2, 3);
  mestre.Poe<uint8_t>(10, 1).Poe<uint8_t>(11, 1).Poe<uint8_t>(12, 1).Poe<uint8_t>(15, 4).Poe<uint8_t>(17, 1);
  mestre.Poe<uint16_t>(22, static_cast<uint16_t>(QVDataParaMesAno(usData) - 1));
  mestre.Poe<uint8_t>(27, 1);
  mestre.Poe<uint8_t>(509, 1);
  const CString arquivo = diretorio + CPPNomesArquivos::ArqMestre();
  CQVArqEx arq;
  int erro = arq.Abre(arquivo, 'G', 512, true, true);
  if (erro == 0) erro = arq.GravaCabecalho(mestre.Dados(), 512);
  arq.Fecha();
  if (erro) return DoMotor(erro);
  uint8_t auditoria[sizeof(PPCabecalhoHistorico) + 512] = {};
  std::memcpy(auditoria + sizeof(PPCabecalhoHistorico), mestre.Dados(), 512);
  CPPHistorico::GravaRegistro(arquivo, 1, 0, 0, auditoria, sizeof auditoria, kPPHistoricoInclusao,
                              kPPCodigoHistoricoMestre);
  return S_OK;
}

// Order types (256) at version 1: the first user of the chain at 4, code at 32, description at 42,
// the first label at 92, active at 218. Users (64): next of the chain at 4, user at 8, the rights
// to maintain, cancel and interrupt at 10, 11 and 13, the removed mark at 12. NORMAL has users 1
// and 2; RETRAB's chain starts with a removed user 2 and ends with user 1; AMOSTRA has none.
HRESULT GravaTiposOP(const CString& diretorio) {
  auto tipo = [](uint32_t ultimaOP, uint32_t primeiroUsuario, const char* codigo, const char* descricao) {
    Registro<256> r;
    r.Poe<uint32_t>(0, ultimaOP).Poe<uint32_t>(4, primeiroUsuario).Texto(32, 10, codigo).Texto(42, 50, descricao);
    r.Texto(92, 25, "Cor").Poe<uint8_t>(217, ultimaOP != 0).Poe<uint8_t>(218, 1);
    return r;
  };
  auto usuario = [](uint32_t proximo, uint16_t numero, bool bTudo, bool bRemovido) {
    Registro<64> r;
    r.Poe<uint32_t>(4, proximo).Poe<uint16_t>(8, numero).Poe<uint8_t>(10, 1).Poe<uint8_t>(11, bTudo);
    r.Poe<uint8_t>(12, bRemovido).Poe<uint8_t>(13, bTudo);
    return r;
  };
  if (HRESULT hr = GravaArquivo<256>(diretorio + CPPNomesArquivos::ArqTipoOPCabecalho(),
                                     {tipo(5, 1, "NORMAL", "Ordem de produção"_ansi),
                                      tipo(0, 3, "RETRAB", "Retrabalho"), tipo(0, 0, "AMOSTRA", "Amostra")});
      FAILED(hr))
    return hr;
  return GravaArquivo<64>(diretorio + CPPNomesArquivos::ArqTipoOPUsuario(),
                          {usuario(2, 1, true, false), usuario(0, 2, false, false), usuario(4, 2, false, true),
                           usuario(0, 1, true, false)});
}

// The shirt's flow (128) at version 1: order type at 0, first process of the chain at 4, code at
// 28, description at 38, active at 88. Its processes (64): next at 4, process at 8, "receives
// reports" at 28, removed mark at 29.
HRESULT GravaFluxo(const CString& diretorio) {
  Registro<128> fluxo;
  fluxo.Poe<int32_t>(0, 1).Poe<uint32_t>(4, 1).Texto(28, 10, "CAMISETA").Texto(38, 50, "Corte, costura e acabamento");
  fluxo.Poe<uint8_t>(88, 1);
  if (HRESULT hr = GravaArquivo<128>(diretorio + CPPNomesArquivos::ArqFluxoCabecalho(), {fluxo}); FAILED(hr))
    return hr;
  std::vector<Registro<64>> processos(3);
  for (uint32_t p = 0; p < 3; ++p) processos[p].Poe<uint32_t>(4, p < 2 ? p + 2 : 0).Poe<int32_t>(8, p + 1);
  processos[2].Poe<uint8_t>(28, 1);
  return GravaArquivo<64>(diretorio + CPPNomesArquivos::ArqFluxoProcesso(), processos);
}

// Production operations (128) at version 1: code at 4, description at 14, kind at 64, active at 65.
HRESULT GravaOperacoes(const CString& diretorio) {
  auto operacao = [](const char* codigo, const char* descricao) {
    Registro<128> r;
    r.Texto(4, 10, codigo).Texto(14, 50, descricao).Poe<uint8_t>(64, 'P').Poe<uint8_t>(65, 1);
    return r;
  };
  return GravaArquivo<128>(diretorio + CPPNomesArquivos::ArqOperacaoProducaoCabecalho(),
                           {operacao("CORTE", "Corte do tecido"), operacao("COSTURA", "Costura"),
                            operacao("ACABAM", "Acabamento e embalagem")});
}

// The shirt's technical sheet (64) at version 1, for branch 1 and any size: product at 0, kRoteiro
// at 4, first process at 8, branch at 12, number of processes at 20. Its processes (64): the time
// in minutes at 8 (8 decimals), the process at 20, the resource at 44: 12.5, 30 and 8 minutes.
HRESULT GravaFicha(const CString& diretorio) {
  Registro<64> ficha;
  ficha.Poe<uint32_t>(0, kCamiseta).Poe<uint32_t>(4, kRoteiro).Poe<uint32_t>(8, 1).Poe<uint16_t>(12, kFilial);
  ficha.Poe<uint16_t>(20, 3);
  if (HRESULT hr = GravaArquivo<64>(diretorio + CPPNomesArquivos::ArqFichaTecnicaCabecalho(), {ficha}); FAILED(hr))
    return hr;
  const int64_t minutos8[] = {1250000000, 3000000000, 800000000};
  std::vector<Registro<64>> processos(3);
  for (uint32_t p = 0; p < 3; ++p)
    processos[p].Poe<int64_t>(8, minutos8[p]).Poe<uint32_t>(20, p + 1).Poe<uint32_t>(44, p == 0 ? 1 : 2);
  return GravaArquivo<64>(diretorio + CPPNomesArquivos::ArqFichaTecnicaProcesso(), processos);
}

// One order of a month at version 7 and its item (90): header (256) with its key at 0, kRoteiro at
// 36, the product at 40, its first item at 52 and their number at 98, the branch at 104, the size at
// 106, the situation at 158 (1 not started, 2 started, 50 concluded); the item with its quantity at
// 0 (four decimals), the sales order at 32, the product at 36, the size at 48, its kind at 56
// (1 complement, 3 sales order).
struct OrdemV7 {
  uint16_t usItemGrade;
  uint8_t cSituacao;
  int64_t quantidade;
  uint32_t pedido;  // 0: a complement of stock
};

HRESULT GravaOrdens(const CString& diretorio, uint16_t mes, const std::vector<OrdemV7>& ordens) {
  std::vector<Registro<256>> cabecalhos;
  std::vector<Registro<90>> itens;
  for (const OrdemV7& ordem : ordens) {
    Registro<256> c;
    const uint32_t numero = static_cast<uint32_t>(cabecalhos.size() + 1);
    c.Poe<uint32_t>(0, QVMontaChave(mes, numero)).Poe<uint32_t>(36, kRoteiro).Poe<uint32_t>(40, kCamiseta);
    c.Poe<uint32_t>(52, static_cast<uint32_t>(itens.size() + 1)).Poe<uint16_t>(98, 1).Poe<uint16_t>(104, kFilial);
    c.Poe<uint16_t>(106, ordem.usItemGrade).Poe<uint8_t>(158, ordem.cSituacao);
    cabecalhos.push_back(c);
    Registro<90> item;
    item.Poe<int64_t>(0, ordem.quantidade * 10000).Poe<uint32_t>(32, ordem.pedido).Poe<uint32_t>(36, kCamiseta);
    item.Poe<uint16_t>(48, ordem.usItemGrade).Poe<uint8_t>(56, ordem.pedido ? 3 : 1);
    itens.push_back(item);
  }
  const CString prefixoOP = diretorio + CPPNomesArquivos::PrefixoOP();
  if (HRESULT hr = GravaArquivo<256>(CPPNomesArquivos::MontaNomeArquivoPeriodo(prefixoOP, mes), cabecalhos); FAILED(hr))
    return hr;
  const CString prefixoItem = diretorio + CPPNomesArquivos::PrefixoOPItem();
  return GravaArquivo<90>(CPPNomesArquivos::MontaNomeArquivoPeriodo(prefixoItem, mes), itens);
}

// Resources (128) at version 1: capacity at 0, setup at 8, cost at 16, efficiency at 24 (four
// decimals), branch at 40, code at 42, description at 52, active at 103, kind at 104.
HRESULT GravaRecursos(const CString& diretorio) {
  auto recurso = [](const char* codigo, const char* descricao, int64_t capacidade, int64_t custo) {
    Registro<128> r;
    r.Poe<int64_t>(0, capacidade * 10000).Poe<int64_t>(8, 150000).Poe<int64_t>(16, custo * 10000);
    r.Poe<int64_t>(24, 950000).Poe<uint16_t>(40, kFilial).Texto(42, 10, codigo).Texto(52, 50, descricao);
    r.Poe<uint8_t>(103, 1).Poe<uint8_t>(104, 1);
    return r;
  };
  return GravaArquivo<128>(diretorio + CPPNomesArquivos::ArqRecurso(),
                           {recurso("MCORTE", "Mesa de corte", 400, 35),
                            recurso("MCOST01", "Máquina de costura 1"_ansi, 120, 22)});
}

// The targets (128) of the month at version 1, of the shirt in sizes M and G: the conversion only
// marks them as product targets (byte 61); the product stands at 0 and the quantity at 8.
HRESULT GravaMetas(const CString& diretorio, uint16_t mes) {
  std::vector<Registro<128>> metas(2);
  metas[0].Poe<uint32_t>(0, kCamiseta).Poe<uint16_t>(4, 2).Poe<int64_t>(8, 3000000);
  metas[1].Poe<uint32_t>(0, kCamiseta).Poe<uint16_t>(4, 3).Poe<int64_t>(8, 2000000);
  const CString prefixo = diretorio + CPPNomesArquivos::PrefixoMetasProducao();
  return GravaArquivo<128>(CPPNomesArquivos::MontaNomeArquivoPeriodo(prefixo, mes), metas);
}

}  // namespace

HRESULT SemeiaAntiga(const char* diretorio, uint16_t usData) {
  const CString dir = diretorio;
  const uint16_t mes = QVDataParaMesAno(usData);
  const std::function<HRESULT()> passos[] = {
      [&] { return Esvazia(dir); },
      [&] { return GravaVersao(dir, usData); },
      [&] { return GravaMestre(dir, usData); },
      [&] { return GravaTiposOP(dir); },
      [&] { return GravaFluxo(dir); },
      [&] { return GravaOperacoes(dir); },
      [&] { return GravaFicha(dir); },
      // Last month: a concluded order of size P, a started one of size M, one not started of size G;
      // this month: one for the sales order (120 in size M) and a complement in size G.
      [&] { return GravaOrdens(dir, static_cast<uint16_t>(mes - 1), {{1, 50, 40, 0}, {2, 2, 60, 0}, {3, 1, 30, 0}}); },
      [&] { return GravaOrdens(dir, mes, {{2, 1, 120, kPedido}, {3, 1, 25, 0}}); },
      [&] { return GravaRecursos(dir); },
      [&] { return GravaMetas(dir, mes); },
  };
  for (const auto& passo : passos)
    if (const HRESULT hr = passo(); FAILED(hr)) return hr;
  return S_OK;
}

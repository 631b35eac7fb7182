// The upgrade of a whole company from the oldest formats that the converters read: master settings,
// order types, flows, production operations, technical sheets, production orders, resources and
// production targets at version 1, the five numbering groups at 0 (processes, calendars and
// sections at 1, their only format). The company "BENCH" holds, per month, the orders with their
// processes, inputs, items and production reports, the reports' returns from outsourced processing
// and the inventory movements that the old reports name, posted in the inventory stand-in, and the
// sales invoices that some reports name, in the base system's stand-in. The upgrade runs as every
// session runs it (CPPServidorMestrePP::AtualizaVersaoArquivos, the driver's own table of
// converters), and the bench prints, per step, the records written to its ".TRA" files and the
// time; then, per group, the time of its clean-up of old history copies.
//
// From version 1 the clean-up has no older copy to look for, so a second company, "LIMPEZA",
// measures it: only its orders to convert, from version 8 (the headers and items of as many months
// and orders as BENCH), and the history copies of versions 1 to 7 of the order prefixes for every
// month, which the clean-up after V08->V09 removes.
//
// The steps are told apart by the upgrade's observer (PPDefineObservadorAtualizacao): a step ends
// with its write of the version record "PPVERSAO.DAT", a group's clean-up with the removal of the
// upgrade's journal; every write to a ".TRA" file counts as a record written (a file's header
// and a record rewritten in place count too).
//
// Usage: bench_atualizacao [months] [orders per month] [directory]. Defaults: 24 months (those
// up to the pinned date, 06/2026) of 5,000 orders; "bench_atualizacao 2 50" is a quick check. The
// directory (default: a fresh one under TMPDIR or /tmp) holds a registry file of its own and the
// companies' directories; all of it is removed at the end. Every movement posted syncs the
// inventory stand-in's journal once, so the generation follows the disk's sync time (a directory on
// a memory file system, such as TMPDIR=/dev/shm, keeps it to minutes); it is timed apart from the
// upgrade.
//
// The records are written in the old layouts as far as the conversions read them: the fields that
// the rules move, test or follow are filled (keys, pointers, counts, situation letters, the matching
// values of orders and sheets); every other byte stays 0.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "foundation/CQVRegistryKey.h"
#include "foundation/QVCaminho.h"
#include "foundation/QVChave.h"
#include "foundation/QVCom.h"
#include "foundation/QVData.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/family/estoque/InterfacesEstoque.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/clock.h"
#include "platform/win32/file.h"
#include "platform/win32/path.h"
#include "server/CPPAtualizaVersao.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"
#include "server/PPDatas.h"

namespace {

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point inicio, Relogio::time_point fim) {
  return std::chrono::duration<double>(fim - inicio).count();
}

const char kEmpresa[] = "BENCH";
const char kEmpresaLimpeza[] = "LIMPEZA";
const char kChaveEmpresas[] = "SOFTWARE\\QV Rivovoda\\Empresas\\";
// The date the bench's installation believes; the months of the company end with its month.
constexpr int kDiaFixado = 15, kMesFixado = 6, kAnoFixado = 2026;
constexpr uint16_t kUsuario = 1;
constexpr uint16_t kFilial = 1;
constexpr uint32_t kRoteiro = 1;  // the value that orders and sheets share at order 36 / sheet 4

// What the company holds besides its orders.
constexpr uint32_t kProdutos = 200;     // finished products 1 .. 200, two sheets each
constexpr uint32_t kPrimeiroInsumo = 1001;
constexpr uint32_t kInsumos = 50;
constexpr uint32_t kTiposOP = 40, kUsuariosTipoOP = 3;
constexpr uint32_t kFluxos = 60, kProcessosFluxo = 4;
constexpr uint32_t kOperacoes = 200;
constexpr uint32_t kRecursos = 300;
constexpr uint32_t kMetasMes = 200;
constexpr uint32_t kNotasMes = 5;
// Every group at the oldest version that has a converter, the five numbering groups at 0 (maintenance
// plans and management, collections, scrap reasons, resource types); processes, calendars and
// sections at 1, their only format.
constexpr std::array<uint16_t, kPPQuantidadeGrupos> kVersoesAntigas = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 0};
// Per order: processes (each with one input), items, and one production report with its
// consumptions.
constexpr uint16_t kProcessosOrdem = 3, kItensOrdem = 2, kConsumos = 2;

// ---------------------------------------------------------------------------------------------------
// Record files in the old layouts

// A record file built in memory: record 0 is the zero header of the record length.
class ArquivoAntigo {
 public:
  explicit ArquivoAntigo(uint32_t tamanho) : tamanho_(tamanho), bytes_(tamanho) {}

  // Appends a zeroed record and gives its number.
  uint32_t Novo() {
    bytes_.resize(bytes_.size() + tamanho_);
    return Quantidade();
  }
  uint32_t Quantidade() const { return static_cast<uint32_t>(bytes_.size() / tamanho_ - 1); }

  template <class T>
  void Poe(uint32_t registro, uint32_t deslocamento, T valor) {
    std::memcpy(Local(registro, deslocamento, sizeof valor), &valor, sizeof valor);
  }
  // A text field: zero-padded, without terminator when full.
  void Texto(uint32_t registro, uint32_t deslocamento, uint32_t largura, const std::string& texto) {
    std::memcpy(Local(registro, deslocamento, largura), texto.data(), std::min<size_t>(texto.size(), largura));
  }
  // Replaces the file (a system path).
  void Grava(const CString& arquivo) const {
    HANDLE arq = CreateFileA(arquivo, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (arq == INVALID_HANDLE_VALUE) Falha("CreateFileA", static_cast<long>(GetLastError()));
    DWORD escritos = 0;
    const BOOL ok = WriteFile(arq, bytes_.data(), static_cast<DWORD>(bytes_.size()), &escritos, nullptr);
    CloseHandle(arq);
    if (!ok || escritos != bytes_.size()) Falha("WriteFile", static_cast<long>(GetLastError()));
  }

 private:
  uint8_t* Local(uint32_t registro, uint32_t deslocamento, uint32_t largura) {
    if (registro > Quantidade() || deslocamento + largura > tamanho_) Falha("a field outside its record", deslocamento);
    return &bytes_[static_cast<size_t>(registro) * tamanho_ + deslocamento];
  }

  uint32_t tamanho_;
  std::vector<uint8_t> bytes_;
};

std::string Numerado(const char* prefixo, uint32_t numero) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "%s%05u", prefixo, numero);
  return texto;
}

// An 8-byte value with 4 (currency) or 8 decimals, from hundredths.
int64_t Valor4(int64_t centesimos) { return centesimos * 100; }
int64_t Valor8(int64_t centesimos) { return centesimos * 1000000; }

// The version record: each group at the version given, the family's version 64.
void GravaVersao(const CString& diretorio, const std::array<uint16_t, kPPQuantidadeGrupos>& versoes, uint16_t hoje) {
  ArquivoAntigo arquivo(kPPTamanhoRegistroVersao);
  const uint32_t r = arquivo.Novo();
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) arquivo.Poe<uint16_t>(r, 2u * grupo, versoes[grupo]);
  arquivo.Poe<uint16_t>(r, 58, kPPVersaoOrvel);
  arquivo.Poe<uint16_t>(r, 60, static_cast<uint16_t>(hoje - 3000));
  arquivo.Grava(diretorio + CPPNomesArquivos::ArqVersao());
}

// The version-1 settings: one 512-byte record, record 0 of the file, with the pointers and counters
// at the end (498..510) and the flags from 10 on.
void GravaMestre(const CString& diretorio, uint16_t mesImplantacao) {
  ArquivoAntigo mestre(512);
  mestre.Poe<uint16_t>(0, 0, 1);   // iVersaoSistema
  mestre.Poe<uint16_t>(0, 2, 12);  // terminals
  for (uint32_t flag = 10; flag <= 16; ++flag) mestre.Poe<uint8_t>(0, flag, 1);
  mestre.Poe<int32_t>(0, 18, 1);   // barcode structure
  mestre.Poe<uint16_t>(0, 22, mesImplantacao);
  for (uint32_t flag = 24; flag <= 42; flag += 3) mestre.Poe<uint8_t>(0, flag, 1);
  mestre.Poe<uint32_t>(0, 498, 1);  // default calendar
  mestre.Poe<uint8_t>(0, 509, 1);   // cTipoPerdaInsumo
  mestre.Grava(diretorio + CPPNomesArquivos::ArqMestre());
}

// Order types (256) and their users (64) in chains: the type's first user at 4, each user's next at
// 4, a removed user marked at 12. The users are appended round by round, so that a chain jumps
// across the file as it does after years of edits; the second user of every third type is removed.
void GravaTiposOP(const CString& diretorio) {
  ArquivoAntigo tipos(256), usuarios(64);
  for (uint32_t t = 1; t <= kTiposOP; ++t) {
    const uint32_t r = tipos.Novo();
    tipos.Poe<uint32_t>(r, 0, 1000 + t);  // last order number
    tipos.Poe<uint32_t>(r, 4, t);         // its user of round 0
    tipos.Poe<int32_t>(r, 12, static_cast<int32_t>(t));
    tipos.Texto(r, 32, 10, Numerado("TP", t));
    tipos.Texto(r, 42, 50, "Order type " + Numerado("", t));
    for (uint32_t rotulo = 0; rotulo < 5; ++rotulo) tipos.Texto(r, 92 + 25 * rotulo, 25, Numerado("Info ", rotulo + 1));
    tipos.Poe<uint8_t>(r, 218, 1);
  }
  for (uint32_t rodada = 0; rodada < kUsuariosTipoOP; ++rodada) {
    for (uint32_t t = 1; t <= kTiposOP; ++t) {
      const uint32_t u = usuarios.Novo();
      if (rodada + 1 < kUsuariosTipoOP) usuarios.Poe<uint32_t>(u, 4, u + kTiposOP);
      usuarios.Poe<uint16_t>(u, 8, static_cast<uint16_t>(rodada + 1));
      usuarios.Poe<uint8_t>(u, 10, 1);
      usuarios.Poe<uint8_t>(u, 11, rodada == 0);
      usuarios.Poe<uint8_t>(u, 12, rodada == 1 && t % 3 == 0);
      usuarios.Poe<uint8_t>(u, 13, 1);
    }
  }
  tipos.Grava(diretorio + CPPNomesArquivos::ArqTipoOPCabecalho());
  usuarios.Grava(diretorio + CPPNomesArquivos::ArqTipoOPUsuario());
}

// Flows (128) and their processes (64), chained as the order types' users: first at 4, next at 4,
// removed mark at 29; the third process of every fourth flow is removed.
void GravaFluxos(const CString& diretorio) {
  ArquivoAntigo fluxos(128), processos(64);
  for (uint32_t f = 1; f <= kFluxos; ++f) {
    const uint32_t r = fluxos.Novo();
    fluxos.Poe<int32_t>(r, 0, static_cast<int32_t>(1 + f % kTiposOP));
    fluxos.Poe<uint32_t>(r, 4, f);
    fluxos.Texto(r, 28, 10, Numerado("FX", f));
    fluxos.Texto(r, 38, 50, "Flow " + Numerado("", f));
    fluxos.Poe<uint8_t>(r, 88, 1);
  }
  for (uint32_t rodada = 0; rodada < kProcessosFluxo; ++rodada) {
    for (uint32_t f = 1; f <= kFluxos; ++f) {
      const uint32_t p = processos.Novo();
      if (rodada + 1 < kProcessosFluxo) processos.Poe<uint32_t>(p, 4, p + kFluxos);
      processos.Poe<int32_t>(p, 8, static_cast<int32_t>(rodada + 1));
      processos.Poe<uint8_t>(p, 28, rodada + 1 == kProcessosFluxo);
      processos.Poe<uint8_t>(p, 29, rodada == 2 && f % 4 == 0);
    }
  }
  fluxos.Grava(diretorio + CPPNomesArquivos::ArqFluxoCabecalho());
  processos.Grava(diretorio + CPPNomesArquivos::ArqFluxoProcesso());
}

void GravaOperacoes(const CString& diretorio) {
  ArquivoAntigo operacoes(128);
  for (uint32_t o = 1; o <= kOperacoes; ++o) {
    const uint32_t r = operacoes.Novo();
    operacoes.Texto(r, 4, 10, Numerado("OPR", o));
    operacoes.Texto(r, 14, 50, "Operation " + Numerado("", o));
    operacoes.Poe<uint8_t>(r, 64, o % 3 == 0 ? 'S' : 'P');
    operacoes.Poe<uint8_t>(r, 65, 1);
  }
  operacoes.Grava(diretorio + CPPNomesArquivos::ArqOperacaoProducaoCabecalho());
}

// Technical sheets (64) with their processes (64). Every product has a sheet for any size (level 0:
// product at 0, kRoteiro at 4, branch at 12) whose processes name the master processes 1, 2, 3
// (at 20), and one for size 2 (grade item at 14, level 1) with processes 1, 2, 4; every tenth
// product also has, before those, a sheet for size 2 and grade item 1 that is marked at 23 and never
// chosen. The time of a process (8 decimals, at 8) is what the orders' processes receive.
void GravaFichas(const CString& diretorio) {
  ArquivoAntigo fichas(64), processos(64);
  auto ficha = [&](uint32_t produto, uint16_t item1, uint16_t item2, bool bInativa, const uint32_t (&mestres)[3]) {
    const uint32_t r = fichas.Novo();
    fichas.Poe<uint32_t>(r, 0, produto);
    fichas.Poe<uint32_t>(r, 4, kRoteiro);
    fichas.Poe<uint32_t>(r, 8, processos.Quantidade() + 1);
    fichas.Poe<uint16_t>(r, 12, kFilial);
    fichas.Poe<uint16_t>(r, 14, item1);
    fichas.Poe<uint16_t>(r, 16, item2);
    fichas.Poe<uint16_t>(r, 20, 3);
    fichas.Poe<uint8_t>(r, 23, bInativa);
    for (uint32_t k = 0; k < 3; ++k) {
      const uint32_t p = processos.Novo();
      processos.Poe<uint32_t>(p, 0, produto);
      processos.Poe<uint32_t>(p, 4, k + 1);
      processos.Poe<int64_t>(p, 8, Valor8(500 + 250 * ((produto + k) % 8)));  // 5 to 22.5 minutes
      processos.Poe<uint32_t>(p, 20, mestres[k]);
      processos.Poe<uint16_t>(p, 32, 1);
      processos.Poe<uint8_t>(p, 38, 1);
      processos.Poe<uint32_t>(p, 44, 1 + (produto + k) % kRecursos);
      processos.Poe<int64_t>(p, 50, Valor4(100));
      processos.Poe<uint16_t>(p, 62, static_cast<uint16_t>(k + 1));
    }
  };
  for (uint32_t produto = 1; produto <= kProdutos; ++produto) {
    if (produto % 10 == 0) ficha(produto, 2, 1, true, {1, 2, 3});
    ficha(produto, 0, 0, false, {1, 2, 3});
    ficha(produto, 2, 0, false, {1, 2, 4});
  }
  fichas.Grava(diretorio + CPPNomesArquivos::ArqFichaTecnicaCabecalho());
  processos.Grava(diretorio + CPPNomesArquivos::ArqFichaTecnicaProcesso());
}

void GravaRecursos(const CString& diretorio) {
  ArquivoAntigo recursos(128);
  for (uint32_t i = 1; i <= kRecursos; ++i) {
    const uint32_t r = recursos.Novo();
    recursos.Poe<int64_t>(r, 0, Valor4(800 + i));  // capacity
    recursos.Poe<int64_t>(r, 8, Valor4(15));       // setup
    recursos.Poe<int64_t>(r, 16, Valor4(2500));    // cost
    recursos.Poe<int64_t>(r, 24, Valor4(9000));    // efficiency
    recursos.Poe<uint32_t>(r, 32, 1 + i % 7);      // cost centre
    recursos.Poe<uint16_t>(r, 40, kFilial);
    recursos.Texto(r, 42, 10, Numerado("RC", i));
    recursos.Texto(r, 52, 50, "Resource " + Numerado("", i));
    recursos.Poe<uint8_t>(r, 103, 1);
    recursos.Poe<uint8_t>(r, 104, 1 + i % 2);
    recursos.Poe<uint32_t>(r, 124, 1 + i % 5);  // section
  }
  recursos.Grava(diretorio + CPPNomesArquivos::ArqRecurso());
}

CString ArquivoPeriodo(const CString& diretorio, const CString& prefixo, uint16_t mes) {
  return CPPNomesArquivos::MontaNomeArquivoPeriodo(diretorio + prefixo, mes);
}

// Production targets (128) of a month: the converter only marks them, so they carry a pattern.
void GravaMetas(const CString& diretorio, uint16_t mes) {
  ArquivoAntigo metas(128);
  for (uint32_t i = 1; i <= kMetasMes; ++i) {
    const uint32_t r = metas.Novo();
    metas.Poe<uint32_t>(r, 0, 1 + i % kProdutos);
    metas.Poe<uint16_t>(r, 4, mes);
    metas.Poe<int64_t>(r, 8, Valor4(100 * i));
  }
  metas.Grava(ArquivoPeriodo(diretorio, CPPNomesArquivos::PrefixoMetasProducao(), mes));
}

// ---------------------------------------------------------------------------------------------------
// The family's records that the old reports name

// The inventory stand-in's movement server, through which the movements are posted as the module
// posted them.
class Estoque {
 public:
  Estoque() {
    HRESULT hr = QVCriaInstanciaServidor(CLSID_QVES_Movimento, nullptr, kQVContextoServidor, IID_IQVES_Movimento,
                                         reinterpret_cast<void**>(&movimento_), 0);
    if (FAILED(hr)) Falha("create IQVES_Movimento", hr);
    BSTR empresa = SysAllocString(u"BENCH");
    hr = movimento_->Inicializa(empresa, kUsuario, 0, kESModuloProducao);
    SysFreeString(empresa);
    if (FAILED(hr)) Falha("IQVES_Movimento::Inicializa", hr);
  }
  ~Estoque() { movimento_->Release(); }
  Estoque(const Estoque&) = delete;
  Estoque& operator=(const Estoque&) = delete;

  // Posts one movement dated in the month and gives its key. A batch number makes the stand-in
  // find or create that batch.
  uint32_t Grava(uint16_t mes, uint8_t cTipoMovimento, uint32_t produto, uint16_t itemGrade, int64_t centesimos,
                 uint16_t dia, const char* lote = nullptr) {
    _REG_ES_MOVIMENTOPS m;
    std::memset(&m, 0, sizeof m);
    m.regPosicaoProduto.lPonteiroProduto = produto;
    m.regPosicaoProduto.iPonteiroItemGrade1 = itemGrade;
    m.iPonteiroFilial = kFilial;
    m.iPonteiroLocalArmazenagem = cTipoMovimento == 12 ? 2 : 1;
    m.iDataMovimento = QVMesAnoParaData(dia, mes);
    m.cTipoMovimento = cTipoMovimento;
    m.cTipoProducao = 1;
    m.vQuantidade.int64 = Valor4(centesimos);
    if (lote) {
      std::snprintf(m.regLotePS.cNumeroLote, sizeof m.regLotePS.cNumeroLote, "%s", lote);
      m.regLotePS.iDataFabricacao = m.iDataMovimento;
      m.regLotePS.iNumeroDias = 180;
    }
    uint32_t numero = 0;
    if (const HRESULT hr = movimento_->GravaMovimento(0, m, nullptr, &numero); FAILED(hr))
      Falha("IQVES_Movimento::GravaMovimento", hr);
    ++quantidade_;
    return QVMontaChave(mes, numero);
  }
  uint32_t Quantidade() const { return quantidade_; }

 private:
  IQVES_Movimento* movimento_ = nullptr;
  uint32_t quantidade_ = 0;
};

NotaFiscalDF Nota(uint32_t chave, int32_t cliente, uint16_t emissao) {
  NotaFiscalDF nota;
  std::memset(&nota, 0, sizeof nota);
  nota.ulChave = chave;
  nota.regNota.lNumeroNotaFiscal = static_cast<int32_t>(QVGetNumeroDaChave(chave));
  nota.regNota.lPonteiroCliente = cliente;
  nota.regNota.iFilial = kFilial;
  nota.regNota.iDataEmissao = emissao;
  return nota;
}

// ---------------------------------------------------------------------------------------------------
// The production orders of one month, at version 1

struct Totais {
  uint64_t ordens = 0, processos = 0, insumos = 0, itens = 0, apontamentos = 0, retornos = 0;
};

// Situation letters of orders: mostly open or started, some finished, every 40th cancelled.
char SituacaoOrdem(uint32_t j) {
  if (j % 40 == 0) return 'C';
  static const char kLetras[] = "NNPIEFFT";
  return kLetras[j % 8];
}

// Order j (256): key at 0, kRoteiro at 36, product at 40, first process at 48, first item at 52,
// counts at 96 and 98, branch at 104, grade items at 106..110, start date at 112, situation letter
// at 158; every hundredth order is marked at 159 and keeps its processes. Its processes (128): key
// at 0, quantity at 24, master process at 36 (what the sheets' processes and the reports match),
// dates at 68..80, at 90 the mark of a process whose reports the upgrade lists (the last process
// of every 25th order), situation letter at 91 ('N' under a cancelled order). One input (128) per process
// (product at 16, quantities at 24 and 48); two items (128): quantity at 0, product at 36, grade
// item at 60, index at 66, kind letter at 78.
void GravaOrdem(uint16_t mes, uint32_t j, ArquivoAntigo& ordens, ArquivoAntigo& processos, ArquivoAntigo& insumos,
                ArquivoAntigo& itens) {
  const uint32_t produto = 1 + (j - 1) % kProdutos;
  const uint16_t itemGrade = static_cast<uint16_t>(1 + j % 3);
  const uint16_t inicio = QVMesAnoParaData(1 + static_cast<int>(j % 20), mes);
  const char situacao = SituacaoOrdem(j);
  const uint32_t o = ordens.Novo();
  ordens.Poe<uint32_t>(o, 0, QVMontaChave(mes, j));
  ordens.Poe<uint32_t>(o, 36, kRoteiro);
  ordens.Poe<uint32_t>(o, 40, produto);
  ordens.Poe<uint32_t>(o, 48, processos.Quantidade() + 1);
  ordens.Poe<uint32_t>(o, 52, itens.Quantidade() + 1);
  ordens.Poe<uint16_t>(o, 96, kProcessosOrdem);
  ordens.Poe<uint16_t>(o, 98, kItensOrdem);
  ordens.Poe<uint16_t>(o, 104, kFilial);
  ordens.Poe<uint16_t>(o, 106, itemGrade);
  ordens.Poe<uint16_t>(o, 112, inicio);
  ordens.Poe<uint8_t>(o, 158, situacao);
  ordens.Poe<uint8_t>(o, 159, j % 100 == 0);
  for (uint16_t k = 0; k < kProcessosOrdem; ++k) {
    const uint32_t p = processos.Novo();
    processos.Poe<uint32_t>(p, 0, QVMontaChave(mes, j));
    processos.Poe<uint16_t>(p, 4, static_cast<uint16_t>(k + 1));
    processos.Poe<int64_t>(p, 16, Valor8(1500));
    processos.Poe<int64_t>(p, 24, Valor4(100 * (1 + j % 50)));
    processos.Poe<uint32_t>(p, 36, k + 1u);
    for (uint32_t d = 0; d < 7; ++d) processos.Poe<uint16_t>(p, 68 + 2 * d, static_cast<uint16_t>(inicio + k + d));
    processos.Poe<uint8_t>(p, 90, k + 1 == kProcessosOrdem && j % 25 == 0);
    processos.Poe<uint8_t>(p, 91, situacao == 'C' ? 'N' : situacao);
    const uint32_t i = insumos.Novo();
    insumos.Poe<uint32_t>(i, 16, kPrimeiroInsumo + (j + k) % kInsumos);
    insumos.Poe<int64_t>(i, 24, Valor4(250));
    insumos.Poe<int64_t>(i, 48, Valor4(250 * (1 + j % 50)));
    insumos.Poe<int64_t>(i, 56, Valor8(1234));
    insumos.Poe<uint16_t>(i, 76, 2);
    insumos.Poe<uint8_t>(i, 94, 'P');
  }
  for (uint16_t k = 0; k < kItensOrdem; ++k) {
    static const char kTipos[] = "CNPR";
    const uint32_t t = itens.Novo();
    itens.Poe<int64_t>(t, 0, Valor4(50 * (1 + j % 50)));
    itens.Poe<uint32_t>(t, 36, produto);
    itens.Poe<uint16_t>(t, 60, static_cast<uint16_t>(1 + (itemGrade + k) % 3));
    itens.Poe<uint16_t>(t, 66, k);
    itens.Poe<uint8_t>(t, 78, kTipos[(j + k) % 4]);
    itens.Poe<uint8_t>(t, 82, 'P');
  }
}

// The report of order j (220) on its last process: key at 0, the quantities at 32 and 40, an
// invoice key at 56 (every hundredth), the production-entry movement at 60 (nine in ten, half of
// them with a batch), the scrap entry at 64 (every tenth), the order at 68, the master process at
// 76, its consumptions (movement keys, 4-byte records) from 80, counted at 132, its returns from
// 84, counted at 134 (every twentieth; each return (32) with one consumption from 24, counted at
// 22), the second letter at 162.
void GravaApontamento(uint16_t mes, uint32_t j, Estoque& estoque, ArquivoAntigo& apontamentos,
                      ArquivoAntigo& retornos, ArquivoAntigo& movimentos) {
  const uint32_t produto = 1 + (j - 1) % kProdutos;
  const uint16_t itemGrade = static_cast<uint16_t>(1 + j % 3);
  const uint16_t dia = static_cast<uint16_t>(1 + j % 28);
  const int64_t quantidade = 100 * (1 + j % 50);
  const uint32_t a = apontamentos.Novo();
  apontamentos.Poe<uint32_t>(a, 0, QVMontaChave(mes, a));
  apontamentos.Poe<int64_t>(a, 32, Valor4(quantidade));
  apontamentos.Poe<int64_t>(a, 40, Valor4(j % 10 == 0 ? 100 : 0));
  if (j % 100 == 0) apontamentos.Poe<uint32_t>(a, 56, QVMontaChave(mes, 1 + j / 100 % kNotasMes));
  if (j % 10 != 0) {
    char lote[16];
    std::snprintf(lote, sizeof lote, "L%04u", produto);
    const uint32_t entrada = estoque.Grava(mes, 11, produto, itemGrade, quantidade, dia, j % 2 ? lote : nullptr);
    apontamentos.Poe<uint32_t>(a, 60, entrada);
  }
  if (j % 10 == 0) apontamentos.Poe<uint32_t>(a, 64, estoque.Grava(mes, 13, produto, itemGrade, 100, dia));
  apontamentos.Poe<uint32_t>(a, 68, j);
  apontamentos.Poe<uint32_t>(a, 76, kProcessosOrdem);
  apontamentos.Poe<uint32_t>(a, 80, movimentos.Quantidade() + 1);
  for (uint16_t c = 0; c < kConsumos; ++c) {
    const uint32_t m = movimentos.Novo();
    movimentos.Poe<uint32_t>(m, 0, estoque.Grava(mes, 12, kPrimeiroInsumo + (j + c) % kInsumos, 0, 250, dia));
  }
  apontamentos.Poe<uint16_t>(a, 88, QVMesAnoParaData(dia, mes));
  apontamentos.Poe<uint16_t>(a, 132, kConsumos);
  if (j % 20 == 0) {
    const uint32_t r = retornos.Novo();
    retornos.Poe<int64_t>(r, 0, Valor4(quantidade));
    retornos.Poe<uint16_t>(r, 16, QVMesAnoParaData(dia, mes));
    retornos.Poe<uint16_t>(r, 22, 1);
    retornos.Poe<uint32_t>(r, 24, movimentos.Quantidade() + 1);
    const uint32_t m = movimentos.Novo();
    movimentos.Poe<uint32_t>(m, 0, estoque.Grava(mes, 12, kPrimeiroInsumo + j % kInsumos, 0, 100, dia));
    apontamentos.Poe<uint32_t>(a, 84, r);
    apontamentos.Poe<uint16_t>(a, 134, 1);
  }
  static const char kLetras[] = "CNPR";
  apontamentos.Poe<uint8_t>(a, 162, kLetras[j % 4]);
}

void GravaMesOP(const CString& diretorio, uint16_t mes, uint32_t ordens, Estoque& estoque,
                std::vector<NotaFiscalDF>& notas, Totais& totais) {
  ArquivoAntigo op(256), processos(128), insumos(128), itens(128), apontamentos(220), retornos(32), movimentos(4);
  for (uint32_t j = 1; j <= ordens; ++j) {
    GravaOrdem(mes, j, op, processos, insumos, itens);
    GravaApontamento(mes, j, estoque, apontamentos, retornos, movimentos);
  }
  for (uint32_t n = 1; n <= kNotasMes; ++n)
    notas.push_back(Nota(QVMontaChave(mes, n), static_cast<int32_t>(n), QVMesAnoParaData(1, mes)));
  const struct {
    CString prefixo;
    const ArquivoAntigo& arquivo;
  } arquivos[] = {{CPPNomesArquivos::PrefixoOP(), op},
                  {CPPNomesArquivos::PrefixoOPProcesso(), processos},
                  {CPPNomesArquivos::PrefixoOPInsumo(), insumos},
                  {CPPNomesArquivos::PrefixoOPItem(), itens},
                  {CPPNomesArquivos::PrefixoApontamento(), apontamentos},
                  {CPPNomesArquivos::PrefixoRetornoIndExterna(), retornos},
                  {CPPNomesArquivos::PrefixoMovtoApontamento(), movimentos}};
  for (const auto& [prefixo, arquivo] : arquivos) arquivo.Grava(ArquivoPeriodo(diretorio, prefixo, mes));
  totais.ordens += op.Quantidade();
  totais.processos += processos.Quantidade();
  totais.insumos += insumos.Quantidade();
  totais.itens += itens.Quantidade();
  totais.apontamentos += apontamentos.Quantidade();
  totais.retornos += retornos.Quantidade();
}

// ---------------------------------------------------------------------------------------------------
// The installation

CString Diretorio(const std::string& raiz, const char* empresa, const char* modulo) {
  const std::string caminho = raiz + "/" + empresa + "/" + modulo;
  std::filesystem::create_directories(caminho);
  return (SystemPathOf(caminho) + "\\").c_str();
}

void GravaValor(const char* chave, const char* nome, const CString& valor) {
  if (const LONG erro = QVGravaRegistroString(HKEY_LOCAL_MACHINE, chave, nome, valor))
    Falha("QVGravaRegistroString", erro);
}

// The company's key with its data directories; the PP directory.
CString RegistraEmpresa(const std::string& raiz, const char* empresa, std::initializer_list<const char*> modulos) {
  const CString chave = CString(kChaveEmpresas) + empresa;
  for (const char* modulo : modulos) GravaValor(chave, modulo, Diretorio(raiz, empresa, modulo));
  return CPPNomesArquivos::GetDiretorioDados(empresa);
}

// The override of the installation's clock: the pinned date, and the real local time at which it
// was current.
void FixaRelogio() {
  SYSTEMTIME agora;
  GetLocalTime(&agora);
  CString texto;
  texto.Format("1;%d/%d/%d;8:0:0:0;%u/%u/%u;%u:%u:%u:%u", kDiaFixado, kMesFixado, kAnoFixado, agora.wDay,
               agora.wMonth, agora.wYear, agora.wHour, agora.wMinute, agora.wSecond, agora.wMilliseconds);
  GravaValor("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "QV_DATETIME", texto);
}

// ---------------------------------------------------------------------------------------------------
// The measurement

// What the observer has seen of one run of the driver, in order.
struct Medicao {
  struct Passo {
    double segundos;
    uint64_t registros;
  };
  struct Limpeza {
    size_t passos;  // the steps that had ended before it
    double segundos;
    uint64_t copias;  // history copies removed
  };
  Relogio::time_point marco;         // the end of the last step or clean-up
  Relogio::time_point ultimaVersao;  // the last write of the version record
  uint64_t registros = 0;            // since the last mark
  uint64_t copias = 0;               // since the last write of the version record
  std::vector<Passo> passos;
  std::vector<Limpeza> limpezas;
};
Medicao g_medicao;

bool TerminaCom(const char* arquivo, const char* fim) {
  const size_t tamanho = std::strlen(arquivo), tamanhoFim = std::strlen(fim);
  return tamanho >= tamanhoFim && EqualNoCase(arquivo + tamanho - tamanhoFim, fim);
}

// A history copy: "..._Vnnn.HIS".
bool EhCopiaHistorico(const char* arquivo) {
  const size_t tamanho = std::strlen(arquivo);
  return TerminaCom(arquivo, ".HIS") && tamanho >= 9 && (arquivo[tamanho - 9] == '_') &&
         (arquivo[tamanho - 8] == 'V' || arquivo[tamanho - 8] == 'v');
}

void Observa(const char* operacao, const char* arquivo) {
  const Relogio::time_point agora = Relogio::now();
  Medicao& m = g_medicao;
  const bool bGrava = std::strcmp(operacao, "grava") == 0, bApaga = std::strcmp(operacao, "apaga") == 0;
  if (bGrava && TerminaCom(arquivo, ".TRA")) {
    ++m.registros;
  } else if (bGrava && TerminaCom(arquivo, CPPNomesArquivos::ArqVersao())) {
    m.passos.push_back({Segundos(m.marco, agora), m.registros});
    m.registros = 0;
    m.copias = 0;
    m.marco = m.ultimaVersao = agora;
  } else if (bApaga && EhCopiaHistorico(arquivo)) {
    ++m.copias;
  } else if (bApaga && TerminaCom(arquivo, QVGetNomeArquivo(PPArquivoDiarioAtualizacao("")))) {
    m.limpezas.push_back({m.passos.size(), Segundos(m.ultimaVersao, agora), m.copias});
    m.marco = agora;
  }
}

const char* const kNomesGrupos[kPPQuantidadeGrupos] = {
    "master settings",  "order types",       "processes",       "process flows",
    "operations",       "technical sheets",  "production orders", "calendars",
    "sections",         "resources",         "maint. plans",    "maint. management",
    "collections",      "scrap reasons",     "targets",         "resource types"};

// The steps that the driver runs for the record as it stands, in its order: group and version.
std::vector<std::pair<uint16_t, uint16_t>> PassosEsperados(const PPRegistroVersao& registro) {
  std::vector<std::pair<uint16_t, uint16_t>> passos;
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo)
    for (uint16_t versao = registro.usVersao[grupo]; versao < kPPVersoesAlvo[grupo]; ++versao)
      passos.emplace_back(grupo, versao);
  return passos;
}

PPRegistroVersao LeVersao(const CString& diretorio) {
  PPRegistroVersao registro{};
  CQVArqEx arquivo;
  if (int erro = arquivo.LeRegistro(diretorio + CPPNomesArquivos::ArqVersao(), kPPRegistroVersao, &registro,
                                    kPPTamanhoRegistroVersao))
    Falha("read PPVERSAO.DAT", erro);
  return registro;
}

// Runs the driver for the company as a session's Inicializa runs it and prints what it measured.
// Whether the upgrade succeeded.
bool Atualiza(const char* empresa, const CString& diretorio) {
  const auto passos = PassosEsperados(LeVersao(diretorio));
  _REG_VARMO_INICIALIZAPS sessao{};
  std::snprintf(sessao.szEmpresa, sizeof sessao.szEmpresa, "%s", empresa);
  sessao.usUsuario = kUsuario;
  CPPServidorMestrePP servidor;
  if (const HRESULT hr = servidor.DefineSessao(sessao); FAILED(hr)) Falha("DefineSessao", hr);

  g_medicao = Medicao{};
  PPDefineObservadorAtualizacao(Observa);
  const Relogio::time_point inicio = g_medicao.marco = Relogio::now();
  const HRESULT resultado = servidor.AtualizaVersaoArquivos();
  const double total = Segundos(inicio, Relogio::now());
  PPDefineObservadorAtualizacao(nullptr);

  std::printf("  %-36s %16s %10s %14s\n", "step", "records written", "seconds", "records/s");
  size_t limpeza = 0;
  for (size_t i = 0; i < g_medicao.passos.size(); ++i) {
    const Medicao::Passo& passo = g_medicao.passos[i];
    char nome[64] = "?";
    if (i < passos.size())
      std::snprintf(nome, sizeof nome, "%s V%02u->V%02u", kNomesGrupos[passos[i].first], passos[i].second,
                    passos[i].second + 1u);
    if (passo.registros)
      std::printf("  %-36s %16llu %10.3f %14.0f\n", nome, static_cast<unsigned long long>(passo.registros),
                  passo.segundos, static_cast<double>(passo.registros) / passo.segundos);
    else
      std::printf("  %-36s %16s %10.3f %14s\n", nome, "-", passo.segundos, "-");
    for (; limpeza < g_medicao.limpezas.size() && g_medicao.limpezas[limpeza].passos == i + 1; ++limpeza)
      std::printf("  %-36s %16s %10.3f   %llu history copies removed\n", "  clean-up of old history copies", "",
                  g_medicao.limpezas[limpeza].segundos,
                  static_cast<unsigned long long>(g_medicao.limpezas[limpeza].copias));
  }
  std::printf("  %-36s %16s %10.3f   result 0x%08X, %zu of %zu steps\n", "whole upgrade", "", total,
              static_cast<unsigned>(resultado), g_medicao.passos.size(), passos.size());
  return SUCCEEDED(resultado);
}

// The company at the target versions but the orders at version 8: every month of the bench with
// its order headers (256) and items (90), each with its key at 0, and the history copies of
// versions 1 to 7 that earlier upgrades left of the first eight order prefixes ("PPOP", "PPPR",
// "PPMT", "PPRP", "PPIT", "PPAP", "PPAS", "PPAR"): what the clean-up of a run that starts at
// version 8 looks for.
void PreparaLimpeza(const CString& diretorio, uint16_t primeiroMes, uint16_t ultimoMes, uint32_t ordens,
                    uint16_t hoje) {
  std::array<uint16_t, kPPQuantidadeGrupos> versoes = kPPVersoesAlvo;
  versoes[kPPGrupoOrdemProducao] = 8;
  GravaVersao(diretorio, versoes, hoje);
  CStringArray prefixos;
  CPPNomesArquivos::ListaPrefixosOP(prefixos);
  const ArquivoAntigo vazio(4);
  for (uint16_t mes = primeiroMes; mes <= ultimoMes; ++mes) {
    ArquivoAntigo op(256), itens(90);
    for (uint32_t j = 1; j <= ordens; ++j) {
      op.Poe<uint32_t>(op.Novo(), 0, QVMontaChave(mes, j));
      for (uint16_t k = 0; k < kItensOrdem; ++k) itens.Poe<uint32_t>(itens.Novo(), 0, QVMontaChave(mes, j));
    }
    op.Grava(ArquivoPeriodo(diretorio, CPPNomesArquivos::PrefixoOP(), mes));
    itens.Grava(ArquivoPeriodo(diretorio, CPPNomesArquivos::PrefixoOPItem(), mes));
    for (int p = 0; p < 8; ++p)
      for (uint16_t versao = 1; versao < 8; ++versao)
        vazio.Grava(PPNomeArquivoVersao(QVTrocaExtensao(ArquivoPeriodo(diretorio, prefixos[p], mes), "HIS"), versao));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t meses = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 24;
  const uint32_t ordens = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 5000;
  const uint16_t ultimoMes = QVMontaMesAno(kMesFixado, kAnoFixado);
  // A month's movements, about three per order, are numbered within the 20 bits of a key.
  if (meses == 0 || meses > static_cast<uint32_t>(ultimoMes - 948)) Falha("months (1 to 1194)", meses);
  if (ordens == 0 || ordens > 100000) Falha("orders per month (1 to 100000)", ordens);
  const uint16_t primeiroMes = static_cast<uint16_t>(ultimoMes - meses + 1);
  const uint16_t hoje = QVMontaData(kDiaFixado, kMesFixado, kAnoFixado);
  const std::string raiz = DiretorioDoBench(argc - 1, argv + 1);
  setenv("QV_REGISTRY", (raiz + "/registry.reg").c_str(), 1);
  FixaRelogio();
  const CString pp = RegistraEmpresa(raiz, kEmpresa, {"PP", "DF", "ES", "CN", "FT", "CM"});
  const CString ppLimpeza = RegistraEmpresa(raiz, kEmpresaLimpeza, {"PP"});

  bool ok = true;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    auto familia = std::make_unique<ServidoresFamilia>();
    if (const HRESULT hr = familia->Registra(); FAILED(hr)) Falha("ServidoresFamilia::Registra", hr);
    StandInHistorico historico;
    if (const HRESULT hr = historico.Register(); FAILED(hr)) Falha("StandInHistorico::Register", hr);

    Relogio::time_point inicio = Relogio::now();
    GravaVersao(pp, kVersoesAntigas, hoje);
    GravaMestre(pp, primeiroMes);
    GravaTiposOP(pp);
    GravaFluxos(pp);
    GravaOperacoes(pp);
    GravaFichas(pp);
    GravaRecursos(pp);
    Totais totais;
    std::vector<NotaFiscalDF> notas;
    {
      Estoque estoque;
      for (uint16_t mes = primeiroMes; mes <= ultimoMes; ++mes) {
        GravaMesOP(pp, mes, ordens, estoque, notas, totais);
        GravaMetas(pp, mes);
      }
      std::printf("Company %s at the oldest formats, %u months x %u orders: %llu orders, %llu processes and inputs, "
                  "%llu items, %llu reports, %llu returns, %u inventory movements, %zu invoices; generated in %.1f s\n",
                  kEmpresa, meses, ordens, static_cast<unsigned long long>(totais.ordens),
                  static_cast<unsigned long long>(totais.processos), static_cast<unsigned long long>(totais.itens),
                  static_cast<unsigned long long>(totais.apontamentos),
                  static_cast<unsigned long long>(totais.retornos),
                  estoque.Quantidade(), notas.size(), Segundos(inicio, Relogio::now()));
    }
    if (const HRESULT hr = GravaNotasFiscaisDF(kEmpresa, notas); FAILED(hr)) Falha("GravaNotasFiscaisDF", hr);
    PreparaLimpeza(ppLimpeza, primeiroMes, ultimoMes, ordens, hoje);

    std::printf("\nUpgrade of %s:\n", kEmpresa);
    ok = Atualiza(kEmpresa, pp);
    std::printf("\nUpgrade of %s (orders and items at version 8, %u months x %u orders, and the history copies "
                "of versions 1-7 of 8 prefixes):\n",
                kEmpresaLimpeza, meses, ordens);
    ok = Atualiza(kEmpresaLimpeza, ppLimpeza) && ok;
    familia.reset();
  }
  CoUninitialize();
  std::filesystem::remove_all(raiz + "/" + kEmpresa);
  std::filesystem::remove_all(raiz + "/" + kEmpresaLimpeza);
  std::filesystem::remove(raiz + "/registry.reg");
  if (argc <= 3) std::filesystem::remove_all(raiz);
  return ok ? 0 : 1;
}

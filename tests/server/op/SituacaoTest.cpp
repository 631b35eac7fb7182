// The situation of orders and processes, the stock reservations of an order's inputs and
// FuncaoGenerica, over months written byte by byte: the order family's writers of PeriodosOP.h lay
// out orders, processes, inputs, items and reports, and the fields they leave out are put in here
// at hand-written offsets (never through the handler's declarations). The reservations are read
// from the inventory stand-in's own file.
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/family/estoque/ServidorEstoque.h"
#include "tests/server/op/EmpresaOP.h"

namespace {

constexpr uint16_t kMes = 2117;  // 05/2024, the pinned clock's month
constexpr uint32_t kRegistroOP = 1;
constexpr uint32_t kChave = kRegistroOP << 12 | kMes;
constexpr int32_t kPrimeiroProcesso = 100;  // process i of an order is 100 + i
constexpr HRESULT kFuncaoInvalida = static_cast<HRESULT>(0x80040001);

HRESULT Erro(uint32_t numero) { return static_cast<HRESULT>(0x80040000u | numero); }

uint16_t Maio(int d) { return Dia(d, 5, 2024); }

// A month file held in memory: records of `tamanho` bytes after the zero header, changed at
// hand-written offsets and written back whole.
class ArquivoMes {
 public:
  ArquivoMes(const EmpresaTeste& empresa, const char* prefixo, uint32_t tamanho)
      : empresa_(empresa), nome_(MesOP::Nome(prefixo, kMes)), tamanho_(tamanho), bytes_(empresa.Le(nome_)) {
    if (bytes_.size() < tamanho_) bytes_.assign(tamanho_, '\0');
  }

  template <class T>
  ArquivoMes& Poe(uint32_t registro, uint32_t deslocamento, T valor) {
    const size_t fim = size_t{registro + 1} * tamanho_;
    if (bytes_.size() < fim) bytes_.resize(fim, '\0');
    std::memcpy(&bytes_[size_t{registro} * tamanho_ + deslocamento], &valor, sizeof valor);
    return *this;
  }
  ArquivoMes& PoeCY(uint32_t registro, uint32_t deslocamento, CY valor) {
    return Poe<int64_t>(registro, deslocamento, valor.int64);
  }
  template <class T>
  T Le(uint32_t registro, uint32_t deslocamento) const {
    T valor{};
    const size_t inicio = size_t{registro} * tamanho_ + deslocamento;
    EXPECT_LE(inicio + sizeof valor, bytes_.size()) << nome_;
    if (inicio + sizeof valor <= bytes_.size()) std::memcpy(&valor, &bytes_[inicio], sizeof valor);
    return valor;
  }
  void Grava() const { empresa_.Escreve(nome_, bytes_); }

 private:
  const EmpresaTeste& empresa_;
  std::string nome_;
  uint32_t tamanho_;
  std::string bytes_;
};

struct InsumoSit {
  uint32_t produto = 0;
  GradeTeste grade{};
  CY unitariaComQuebra{};
  uint8_t casas = 2;
  bool embalagem = false;
};

struct ProcessoSit {
  bool recebe = true;
  uint8_t situacao = 1;
  size_t recursos = 0;
  uint16_t dataInicio = 0, horaInicio = 0, dataFim = 0, horaFim = 0;
  std::vector<InsumoSit> insumos{};
};

struct ItemSit {
  CY programada{}, cancelada{}, produzida{}, perdida{};
  bool encerrado = false;  // closed by force
};

struct RetornoSit {
  CY retornada{}, refugo{};
};

struct ApontamentoSit {
  size_t processo = 0;  // the order's process whose list holds it
  CY quantidade{}, refugo{};
  uint16_t dataInicio = Maio(10), horaInicio = 0, dataFim = 0, horaFim = 0;
  uint8_t tipoOperacao = 0;
  uint8_t tipoProducao = 1;  // 0: outsourced
  bool excluido = false;
  uint32_t registroOP = kRegistroOP;
  int32_t processoApontado = 0;  // 0: the process of the list
  bool gerouReprocesso = false;
  CY reprocessada{};
  bool encerramento = false;  // closes the process by force
  bool baixasPendentes = false;
  std::vector<RetornoSit> retornos{};
};

struct OrdemSit {
  uint8_t situacao = 2;
  bool removida = false;
  bool embalagem = false;  // cTratarInsumoEmbalagem
  uint8_t reprocesso = 0, confirmado = 0;
  std::vector<ProcessoSit> processos{};
  std::vector<ItemSit> itens{};
  std::vector<ApontamentoSit> apontamentos{};
};

// The reservations that the inventory stand-in holds, as it stores them.
std::vector<ReservaGravadaES> LeReservas(const Instalacao& instalacao) {
  const std::string bytes = instalacao.dir().Read("empresas/TESTE/ES/RESERVAS.DAT");
  EXPECT_EQ(bytes.size() % sizeof(ReservaGravadaES), 0u);
  std::vector<ReservaGravadaES> reservas(bytes.size() / sizeof(ReservaGravadaES));
  if (!reservas.empty())
    std::memcpy(static_cast<void*>(reservas.data()), bytes.data(), reservas.size() * sizeof reservas[0]);
  return reservas;
}

class Situacao : public EmpresaOP {
 protected:
  void SetUp() override {
    EmpresaOP::SetUp();
    if (HasFatalFailure()) return;
    Instalacao& instalacao = empresa_.GetInstalacao();
    instalacao.dir().Write("empresas/TESTE/ES/.keep", "");
    instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", "ES",
                          instalacao.dir().windows_path() + "empresas\\TESTE\\ES\\");
    ASSERT_EQ(estoque_.Registra(), S_OK);
  }

  void TearDown() override {
    EmpresaOP::TearDown();
    EXPECT_EQ(estoque_.Movimento.Vivos(), 0);
  }

  // Writes the month anew with this one order (record 1).
  void GravaOrdem(const OrdemSit& ordem) {
    // Every file emptied to its header first: a file the engine saw is never deleted under it.
    const std::pair<const char*, size_t> arquivos[] = {{"PPOP", 256}, {"PPPR", 128}, {"PPMT", 128}, {"PPRP", 64},
                                                       {"PPAS", 128}, {"PPIT", 90},  {"PPAP", 200}, {"PPAR", 64},
                                                       {"PPAO", 48},  {"PPME", 104}, {"PPRI", 90},  {"PPRA", 4}};
    for (const auto& [prefixo, tamanho] : arquivos)
      empresa_.Escreve(MesOP::Nome(prefixo, kMes), std::string(tamanho, '\0'));
    MesOP mes(kMes);
    OrdemTeste base;
    base.situacao = ordem.situacao;
    base.removida = ordem.removida;
    base.produto = kProdutoFabricado;
    for (size_t i = 0; i < ordem.processos.size(); ++i) {
      ProcessoTeste processo{kPrimeiroProcesso + static_cast<int32_t>(i)};
      for (const InsumoSit& insumo : ordem.processos[i].insumos)
        processo.insumos.push_back({insumo.produto, insumo.grade});
      processo.recursos.assign(ordem.processos[i].recursos, recurso_);
      base.processos.push_back(processo);
    }
    base.itens.assign(ordem.itens.size(), ItemTeste{kProdutoFabricado});
    EXPECT_EQ(mes.Ordem(base), kRegistroOP);
    for (const ApontamentoSit& apontamento : ordem.apontamentos) {
      ApontamentoTeste registro;
      registro.excluido = apontamento.excluido;
      registro.retornos.resize(apontamento.retornos.size());
      mes.Apontamento(registro);
    }
    mes.Grava(empresa_);

    // The runs as MesOP lays them out: one order, so every list from record 1.
    ArquivoMes op(empresa_, "PPOP", 256);
    op.Poe<uint16_t>(kRegistroOP, 116, kFilial)
        .Poe<uint8_t>(kRegistroOP, 174, ordem.reprocesso)
        .Poe<uint8_t>(kRegistroOP, 175, ordem.confirmado)
        .Poe<uint8_t>(kRegistroOP, 180, ordem.embalagem)
        .Poe<uint16_t>(kRegistroOP, 134, Maio(1))  // start and conclusion that a recomputation replaces
        .Poe<uint16_t>(kRegistroOP, 136, 1)
        .Poe<uint16_t>(kRegistroOP, 142, Maio(2))
        .Poe<uint16_t>(kRegistroOP, 144, 2)
        .Grava();
    ArquivoMes pr(empresa_, "PPPR", 128), mt(empresa_, "PPMT", 128), ra(empresa_, "PPRA", 4);
    uint32_t insumo = 1, entrada = 1;
    for (size_t i = 0; i < ordem.processos.size(); ++i) {
      const ProcessoSit& processo = ordem.processos[i];
      const uint32_t p = static_cast<uint32_t>(i) + 1;
      uint16_t quantidade = 0;
      for (size_t a = 0; a < ordem.apontamentos.size(); ++a) {
        if (ordem.apontamentos[a].processo != i) continue;
        if (!quantidade) pr.Poe<uint32_t>(p, 68, entrada);
        ra.Poe<uint32_t>(entrada++, 0, static_cast<uint32_t>(a) + 1);
        ++quantidade;
      }
      pr.Poe<uint16_t>(p, 82, quantidade)
          .Poe<uint16_t>(p, 84, processo.dataInicio)
          .Poe<uint16_t>(p, 86, processo.horaInicio)
          .Poe<uint16_t>(p, 88, processo.dataFim)
          .Poe<uint16_t>(p, 90, processo.horaFim)
          .Poe<uint8_t>(p, 94, processo.recebe)
          .Poe<uint8_t>(p, 95, processo.situacao);
      for (const InsumoSit& dado : processo.insumos) {
        const uint32_t m = insumo++;
        mt.PoeCY(m, 16, dado.unitariaComQuebra)
            .Poe<int32_t>(m, 56, 500 + static_cast<int32_t>(m))  // batch
            .Poe<int32_t>(m, 60, 600 + static_cast<int32_t>(m))  // supplier batch
            .Poe<int32_t>(m, 64, 700 + static_cast<int32_t>(m))
            .Poe<int32_t>(m, 68, 800 + static_cast<int32_t>(m))
            .Poe<uint16_t>(m, 82, 3)  // storage place
            .Poe<uint8_t>(m, 97, dado.casas)
            .Poe<uint8_t>(m, 98, 1)  // production kind
            .Poe<uint8_t>(m, 99, 2)  // stock kind
            .Poe<uint8_t>(m, 100, dado.embalagem)
            .Poe<int32_t>(m, 124, 900 + static_cast<int32_t>(m));  // volume
      }
    }
    pr.Grava();
    mt.Grava();
    ra.Grava();

    ArquivoMes it(empresa_, "PPIT", 90);
    for (size_t i = 0; i < ordem.itens.size(); ++i) {
      const ItemSit& item = ordem.itens[i];
      const uint32_t t = static_cast<uint32_t>(i) + 1;
      it.PoeCY(t, 0, item.programada)
          .PoeCY(t, 8, item.produzida)
          .PoeCY(t, 16, item.perdida)
          .PoeCY(t, 24, item.cancelada)
          .Poe<uint8_t>(t, 59, item.encerrado);
    }
    it.Grava();

    if (ordem.apontamentos.empty()) return;
    ArquivoMes ap(empresa_, "PPAP", 200), ri(empresa_, "PPRI", 90);
    uint32_t retorno = 1;
    for (size_t a = 0; a < ordem.apontamentos.size(); ++a) {
      const ApontamentoSit& dado = ordem.apontamentos[a];
      const uint32_t r = static_cast<uint32_t>(a) + 1;
      const int32_t processo = dado.processoApontado ? dado.processoApontado
                                                     : kPrimeiroProcesso + static_cast<int32_t>(dado.processo);
      ap.PoeCY(r, 0, dado.quantidade)
          .PoeCY(r, 24, dado.refugo)
          .PoeCY(r, 32, dado.reprocessada)
          .Poe<uint32_t>(r, 80, dado.registroOP)
          .Poe<int32_t>(r, 88, processo)
          .Poe<uint16_t>(r, 144, dado.dataInicio)
          .Poe<uint16_t>(r, 146, dado.horaInicio)
          .Poe<uint16_t>(r, 148, dado.dataFim)
          .Poe<uint16_t>(r, 150, dado.horaFim)
          .Poe<uint8_t>(r, 173, dado.tipoOperacao)
          .Poe<uint8_t>(r, 175, dado.tipoProducao)
          .Poe<uint8_t>(r, 178, dado.gerouReprocesso)
          .Poe<uint8_t>(r, 179, dado.encerramento)
          .Poe<uint8_t>(r, 184, dado.baixasPendentes);
      for (const RetornoSit& devolvido : dado.retornos) {
        ri.PoeCY(retorno, 0, devolvido.retornada).PoeCY(retorno, 8, devolvido.refugo);
        ++retorno;
      }
    }
    ap.Grava();
    ri.Grava();
  }

  uint8_t SituacaoProcesso(uint32_t registro) const {
    return ArquivoMes(empresa_, "PPPR", 128).Le<uint8_t>(registro, 95);
  }
  uint8_t SituacaoOrdem() const { return ArquivoMes(empresa_, "PPOP", 256).Le<uint8_t>(kRegistroOP, 170); }

  std::vector<ReservaGravadaES> Reservas() { return LeReservas(empresa_.GetInstalacao()); }

  // A reservation of an order put straight into the stand-in.
  void Reserva(uint32_t ulChave) {
    HRESULT hr = S_OK;
    IQVES_Movimento* movimento = op_.GetIMovimento(&hr);
    ASSERT_NE(movimento, nullptr) << std::hex << hr;
    _REG_ES_RESERVAPS reserva;
    std::memset(&reserva, 0, sizeof reserva);
    reserva.regPosicaoProduto.lPonteiroProduto = kProdutoInsumo;
    reserva.vQuantidade = Quantidade(1);
    ASSERT_EQ(movimento->GravaReservas(ulChave, 2, kFilial, 1, &reserva), S_OK);
  }

  // The PP files of the month, name -> bytes.
  std::map<std::string, std::string> Mes() const {
    std::map<std::string, std::string> arquivos = empresa_.Arquivos();
    std::erase_if(arquivos, [](const auto& arquivo) {
      return arquivo.first.size() != 12 || arquivo.first.compare(4, 4, "0524") != 0;
    });
    return arquivos;
  }

  HRESULT Funcao(uint32_t lFuncao, uint32_t ulChave, int32_t lProcesso, int32_t lQtdBytes = 8) {
    uint8_t bytes[8];
    std::memcpy(bytes, &ulChave, 4);
    std::memcpy(bytes + 4, &lProcesso, 4);
    _REG_FUNCAO_GENERICA_VARMO regIn{lQtdBytes, bytes};
    return op_.FuncaoGenerica(lFuncao, regIn);
  }

  // An order of 10 (12 programmed, 2 cancelled) in 2, packaging treated apart: the first process
  // receives reports and has made 3 of it; the second receives none.
  static OrdemSit OrdemComInsumos() {
    OrdemSit ordem;
    ordem.embalagem = true;
    ordem.processos = {
        {true, 3, 0, 0, 0, 0, 0,
         {{kProdutoInsumo, {1, 2, 3}, Quantidade(1, 5000), 0},  // 1,5 x 7 = 10,5 -> 10 (half to even)
          {kProdutoTerceiros, {}, Quantidade(4), 0, true},       // packaging: 7 / 4 = 1,75 -> 2
          {kProdutoTerceiros, {}, Quantidade(0), 2}}},           // nothing needed
        {false, 1, 0, 0, 0, 0, 0, {{kProdutoTerceiros, {}, Quantidade(0, 3333), 2}}}};  // 3,333 -> 3,33
    ordem.itens = {{Quantidade(12), Quantidade(2)}};
    ApontamentoSit feito{0, Quantidade(3)};
    ApontamentoSit removido{0, Quantidade(2)};
    removido.excluido = true;
    ApontamentoSit pendente{0, Quantidade(1)};
    pendente.baixasPendentes = true;
    ApontamentoSit outraOrdem{0, Quantidade(1)};
    outraOrdem.registroOP = 2;
    ordem.apontamentos = {feito, removido, pendente, outraOrdem};
    return ordem;
  }

  ServidorEstoque estoque_;
};

// ---- The order's situation from its processes -------------------------------------------------------

TEST_F(Situacao, OrderSituationFollowsItsReceivingProcesses) {
  struct Caso {
    const char* nome;
    bool recebe0, recebe1;
    uint8_t situacao0, situacao1;
    size_t recursos1;
    uint8_t esperada;
    bool bInicio, bConclusao;
    uint8_t todosRecursos;
  };
  const Caso casos[] = {
      {"all receiving concluded", true, true, 50, 50, 0, 50, true, true, 0},
      {"one concluded with loss", true, true, 49, 50, 1, 49, true, true, 1},
      {"one suspended", true, true, 50, 61, 1, 61, true, false, 1},
      {"all not started", true, true, 1, 1, 0, 1, false, false, 0},
      {"running", true, true, 3, 1, 0, 2, true, false, 0},
      {"concluded and running", true, true, 50, 3, 0, 2, true, false, 0},
      {"a non-receiving process does not hold the conclusion back", true, false, 50, 1, 0, 50, true, true, 1},
      {"no receiving process concludes nothing", false, false, 1, 1, 0, 1, false, false, 1},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    OrdemSit ordem;
    // Earliest start from the first process, latest end from the second, on the same days.
    ordem.processos = {{caso.recebe0, caso.situacao0, 1, Maio(3), 420, Maio(6), 600},
                       {caso.recebe1, caso.situacao1, caso.recursos1, Maio(3), 480, Maio(6), 660},
                       {false, 1}};
    GravaOrdem(ordem);
    ASSERT_EQ(op_.AtualizaSituacaoOP(kChave), S_OK);

    const ArquivoMes op(empresa_, "PPOP", 256);
    EXPECT_EQ(op.Le<uint8_t>(kRegistroOP, 170), caso.esperada);
    EXPECT_EQ(op.Le<uint16_t>(kRegistroOP, 134), caso.bInicio ? Maio(3) : 0);
    EXPECT_EQ(op.Le<uint16_t>(kRegistroOP, 136), caso.bInicio ? 420 : 0);
    EXPECT_EQ(op.Le<uint16_t>(kRegistroOP, 142), caso.bConclusao ? Maio(6) : 0);
    EXPECT_EQ(op.Le<uint16_t>(kRegistroOP, 144), caso.bConclusao ? 660 : 0);
    EXPECT_EQ(op.Le<uint8_t>(kRegistroOP, 176), caso.todosRecursos);
    // A concluded order concludes its other processes; otherwise none is touched.
    const bool bConcluida = caso.esperada == 49 || caso.esperada == 50;
    EXPECT_EQ(SituacaoProcesso(1), bConcluida && caso.situacao0 != 49 ? 50 : caso.situacao0);
    EXPECT_EQ(SituacaoProcesso(2), bConcluida && caso.situacao1 != 49 ? 50 : caso.situacao1);
    EXPECT_EQ(SituacaoProcesso(3), bConcluida ? 50 : 1);
  }
}

TEST_F(Situacao, InterruptedAndCancelledOrdersAreLeftAsTheyAreAndLoseTheirReservations) {
  for (uint8_t situacao : {62, 99}) {
    SCOPED_TRACE(static_cast<int>(situacao));
    OrdemSit ordem;
    ordem.situacao = situacao;
    ordem.processos = {{true, situacao, 0, Maio(3), 420, Maio(6), 600, {{kProdutoInsumo, {}, Quantidade(1)}}},
                       {true, 1}};
    ordem.itens = {{Quantidade(10)}};
    ordem.apontamentos = {{0, Quantidade(10)}, {1, Quantidade(4)}};  // would change both processes
    GravaOrdem(ordem);
    Reserva(kChave);
    const auto antes = Mes();

    EXPECT_EQ(op_.AtualizaSituacaoOP(kChave), S_OK);
    EXPECT_EQ(op_.AtualizaSituacaoProcesso(kChave, kPrimeiroProcesso, 0), S_OK);
    EXPECT_EQ(Funcao(1, kChave, kPrimeiroProcesso), S_OK);
    EXPECT_EQ(Mes(), antes);
    EXPECT_TRUE(Reservas().empty());
  }
}

// ---- The situation of a process from its reports ---------------------------------------------------

TEST_F(Situacao, ProcessSituationFollowsItsLiveReports) {
  struct Caso {
    const char* nome;
    size_t processo;  // the one computed
    std::vector<ApontamentoSit> apontamentos;
    ItemSit item;
    uint8_t esperada;
  };
  const ItemSit dez{Quantidade(12), Quantidade(2)};  // a programme of 10
  const ItemSit produzido{Quantidade(12), Quantidade(2), Quantidade(10)};
  ApontamentoSit removido{0, Quantidade(4)};
  removido.excluido = true;
  ApontamentoSit outraOrdem{0, Quantidade(4)};
  outraOrdem.registroOP = 2;
  ApontamentoSit outroProcesso{0, Quantidade(4)};
  outroProcesso.processoApontado = kPrimeiroProcesso + 1;
  auto em = [](size_t processo, int64_t quantidade, uint16_t dia, uint16_t hora, uint8_t tipo = 0) {
    ApontamentoSit apontamento{processo, Quantidade(quantidade)};
    apontamento.dataInicio = Maio(dia);
    apontamento.horaInicio = hora;
    apontamento.tipoOperacao = tipo;
    return apontamento;
  };
  ApontamentoSit comRefugo = em(0, 10, 3, 0);
  comRefugo.refugo = Quantidade(2);
  ApontamentoSit encerrado = em(0, 7, 3, 0);
  encerrado.encerramento = true;
  ApontamentoSit reprocessoDevolvido = em(0, 6, 3, 0);
  reprocessoDevolvido.gerouReprocesso = true;
  reprocessoDevolvido.reprocessada = Quantidade(6);
  ApontamentoSit reprocessoPendente = reprocessoDevolvido;
  reprocessoPendente.reprocessada = Quantidade(2);
  ApontamentoSit terceirizado = em(0, 6, 3, 0);
  terceirizado.tipoProducao = 0;
  terceirizado.retornos = {{Quantidade(4), Quantidade(1)}, {Quantidade(1)}};  // delivers 4
  ItemSit encerradoPorForca = dez;
  encerradoPorForca.produzida = Quantidade(7);
  encerradoPorForca.encerrado = true;

  const Caso casos[] = {
      {"no report", 0, {}, dez, 1},
      {"removed, of another order or of another process: no live report", 0, {removido, outraOrdem, outroProcesso}, dez,
       1},
      {"reported", 0, {em(0, 4, 3, 0)}, dez, 3},
      {"the latest report is a stop", 0, {em(0, 2, 3, 480), em(0, 2, 4, 420, 'P')}, dez, 4},
      {"a stop, then work later that day", 0, {em(0, 2, 3, 480, 'P'), em(0, 2, 3, 540)}, dez, 3},
      {"reported what was due", 0, {em(0, 4, 3, 0), em(0, 6, 4, 0)}, dez, 50},
      {"reported what was due with scrap", 0, {comRefugo}, dez, 49},
      {"closed by force short of what was due", 0, {encerrado}, dez, 49},
      {"a middle process is due what the previous delivered", 1, {em(0, 6, 3, 0), em(1, 6, 4, 0)}, dez, 50},
      {"and short of it runs", 1, {em(0, 6, 3, 0), em(1, 5, 4, 0)}, dez, 3},
      {"reprocessing back counts as delivered", 1, {reprocessoDevolvido, em(1, 6, 4, 0)}, dez, 50},
      {"reprocessing still out: in reprocess", 1, {reprocessoPendente, em(1, 2, 4, 0)}, dez, 5},
      {"an outsourced previous delivers its returns net of scrap", 1, {terceirizado, em(1, 4, 4, 0)}, dez, 50},
      {"the last process is due the programme, items settled", 2, {em(0, 10, 3, 0), em(1, 10, 3, 0), em(2, 10, 4, 0)},
       produzido, 50},
      {"the last process covered while an item has a balance", 2,
       {em(0, 10, 3, 0), em(1, 10, 3, 0), em(2, 10, 4, 0)}, dez, 61},
      {"an item closed by force has no balance", 2, {em(0, 10, 3, 0), em(1, 10, 3, 0), em(2, 10, 4, 0)},
       encerradoPorForca, 50},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    OrdemSit ordem;
    ordem.processos = {{}, {}, {}};
    ordem.itens = {caso.item};
    ordem.apontamentos = caso.apontamentos;
    GravaOrdem(ordem);
    ASSERT_EQ(op_.AtualizaSituacaoProcesso(kChave, kPrimeiroProcesso + static_cast<int32_t>(caso.processo), 0), S_OK);
    EXPECT_EQ(SituacaoProcesso(static_cast<uint32_t>(caso.processo) + 1), caso.esperada);
  }
}

TEST_F(Situacao, ProcessRecomputationRunsFromTheGivenProcessToTheOrder) {
  OrdemSit ordem;
  // The first process was left in production although its reports now cover the programme; the
  // second receives no reports and keeps what the save gave it.
  ordem.processos = {{true, 3}, {false, 1}, {true, 1}, {true, 1}};
  ordem.itens = {{Quantidade(10), {}, Quantidade(10)}};
  ApontamentoSit primeiro{0, Quantidade(10)};
  primeiro.dataInicio = Maio(3);
  primeiro.horaInicio = 480;
  primeiro.dataFim = Maio(3);
  primeiro.horaFim = 600;
  ApontamentoSit terceiro{2, Quantidade(4)};
  terceiro.dataInicio = Maio(6);
  terceiro.horaInicio = 420;
  terceiro.dataFim = Maio(7);
  terceiro.horaFim = 60;
  ApontamentoSit maisCedo = terceiro;
  maisCedo.dataInicio = Maio(5);
  maisCedo.horaInicio = 900;
  maisCedo.dataFim = Maio(6);
  maisCedo.horaFim = 1000;
  ApontamentoSit ultimo{3, Quantidade(10)};
  ultimo.dataInicio = Maio(7);
  ultimo.dataFim = Maio(8);
  ultimo.horaFim = 30;
  ordem.apontamentos = {primeiro, terceiro, maisCedo, ultimo};
  GravaOrdem(ordem);

  // From the third process on: the first keeps its stale situation.
  ASSERT_EQ(op_.AtualizaSituacaoProcesso(kChave, kPrimeiroProcesso + 2, 0), S_OK);
  EXPECT_EQ(SituacaoProcesso(1), 3);
  EXPECT_EQ(SituacaoProcesso(2), 1);
  EXPECT_EQ(SituacaoProcesso(3), 3);  // 8 of the 10 the first delivered
  EXPECT_EQ(SituacaoProcesso(4), 50);
  const ArquivoMes pr(empresa_, "PPPR", 128);
  EXPECT_EQ(pr.Le<uint16_t>(3, 84), Maio(5));  // earliest start and latest end of its reports
  EXPECT_EQ(pr.Le<uint16_t>(3, 86), 900);
  EXPECT_EQ(pr.Le<uint16_t>(3, 88), Maio(7));
  EXPECT_EQ(pr.Le<uint16_t>(3, 90), 60);
  EXPECT_EQ(SituacaoOrdem(), 2);

  // From the first: the whole run, then the order, which concludes the process without reports.
  ArquivoMes(empresa_, "PPAP", 200).PoeCY(2, 0, Quantidade(6)).Grava();
  ASSERT_EQ(op_.AtualizaSituacaoProcesso(kChave, kPrimeiroProcesso, 1), S_OK);
  EXPECT_EQ(SituacaoProcesso(1), 50);
  EXPECT_EQ(SituacaoProcesso(2), 50);
  EXPECT_EQ(SituacaoProcesso(3), 50);
  EXPECT_EQ(SituacaoProcesso(4), 50);
  const ArquivoMes op(empresa_, "PPOP", 256);
  EXPECT_EQ(op.Le<uint8_t>(kRegistroOP, 170), 50);
  EXPECT_EQ(op.Le<uint16_t>(kRegistroOP, 134), Maio(3));
  EXPECT_EQ(op.Le<uint16_t>(kRegistroOP, 136), 480);
  EXPECT_EQ(op.Le<uint16_t>(kRegistroOP, 142), Maio(8));
  EXPECT_EQ(op.Le<uint16_t>(kRegistroOP, 144), 30);
}

TEST_F(Situacao, RefusalsOfTheSituationSteps) {
  OrdemSit ordem;
  ordem.processos = {{}};
  ordem.itens = {{Quantidade(10)}};
  GravaOrdem(ordem);
  EXPECT_EQ(op_.AtualizaSituacaoProcesso(kChave, kPrimeiroProcesso + 5, 0), Erro(1587));
  EXPECT_EQ(op_.AtualizaSituacaoOP(kMes), Erro(1587));                 // no record number
  EXPECT_EQ(op_.AtualizaReservasOP(1u << 12 | (kMes + 1)), Erro(16055));  // a month without orders
  EXPECT_EQ(op_.AtualizaSituacaoOP(2u << 12 | kMes), Erro(16021));      // past the last order

  // A report list outside its file: refused, nothing rewritten.
  ArquivoMes(empresa_, "PPPR", 128).Poe<uint32_t>(1, 68, 7).Poe<uint16_t>(1, 82, 1).Grava();
  const std::string processos = empresa_.Le(MesOP::Nome("PPPR", kMes)), ordens = empresa_.Le(MesOP::Nome("PPOP", kMes));
  EXPECT_EQ(op_.AtualizaSituacaoProcesso(kChave, kPrimeiroProcesso, 0), Erro(16021));
  EXPECT_EQ(empresa_.Le(MesOP::Nome("PPPR", kMes)), processos);
  EXPECT_EQ(empresa_.Le(MesOP::Nome("PPOP", kMes)), ordens);

  ordem.removida = true;
  GravaOrdem(ordem);
  EXPECT_EQ(op_.AtualizaSituacaoOP(kChave), Erro(1586));
  EXPECT_EQ(op_.AtualizaSituacaoProcesso(kChave, kPrimeiroProcesso, 0), Erro(1586));
  EXPECT_EQ(op_.AtualizaReservasOP(kChave), Erro(1586));

  op_.Finaliza();
  EXPECT_EQ(op_.AtualizaSituacaoOP(kChave), Erro(1585));
  EXPECT_EQ(op_.AtualizaSituacaoProcesso(kChave, kPrimeiroProcesso, 0), Erro(1585));
  EXPECT_EQ(op_.AtualizaReservasOP(kChave), Erro(1585));
  EXPECT_EQ(Funcao(1, kChave, kPrimeiroProcesso), Erro(1585));
}

// ---- Reservations ---------------------------------------------------------------------------------

TEST_F(Situacao, ReservationsHoldWhatRemainsToProduceOfEachInput) {
  GravaOrdem(OrdemComInsumos());
  Reserva(kChave);            // an old one of the order: dropped
  Reserva(2u << 12 | kMes);   // another order's: kept
  ASSERT_EQ(op_.AtualizaReservasOP(kChave), S_OK);

  const std::vector<ReservaGravadaES> reservas = Reservas();
  ASSERT_EQ(reservas.size(), 4u);
  EXPECT_EQ(reservas[0].ulChave, 2u << 12 | kMes);
  struct Esperada {
    uint32_t produto;
    int64_t quantidade;
    uint16_t processo;
    int32_t insumo;  // its record: batch 500 + it, ...
  };
  const Esperada esperadas[] = {{2, 100000, 0, 1}, {3, 20000, 0, 2}, {3, 33300, 1, 4}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const ReservaGravadaES& gravada = reservas[i + 1];
    EXPECT_EQ(gravada.ulChave, kChave);
    EXPECT_EQ(gravada.lTipo, 2);
    EXPECT_EQ(gravada.iPonteiroFilial, kFilial);
    // The 54-byte record as sent, by its offsets.
    const auto* bytes = reinterpret_cast<const uint8_t*>(&gravada.regReserva);
    auto campo = [bytes](size_t deslocamento, auto valor) {
      std::memcpy(&valor, bytes + deslocamento, sizeof valor);
      return valor;
    };
    EXPECT_EQ(campo(0, uint32_t{}), esperadas[i].produto);
    EXPECT_EQ(campo(10, int64_t{}), esperadas[i].quantidade);
    EXPECT_EQ(campo(18, int32_t{}), 500 + esperadas[i].insumo);
    EXPECT_EQ(campo(22, int32_t{}), 600 + esperadas[i].insumo);
    EXPECT_EQ(campo(26, int32_t{}), 0);
    EXPECT_EQ(campo(30, int32_t{}), 900 + esperadas[i].insumo);
    EXPECT_EQ(campo(34, int32_t{}), 700 + esperadas[i].insumo);
    EXPECT_EQ(campo(38, int32_t{}), 800 + esperadas[i].insumo);
    EXPECT_EQ(campo(42, uint16_t{}), 3);
    EXPECT_EQ(campo(44, uint16_t{}), 0);
    EXPECT_EQ(campo(46, uint16_t{}), esperadas[i].processo);
    EXPECT_EQ(campo(48, uint16_t{}), 0);
    EXPECT_EQ(campo(50, uint8_t{}), 1);
    EXPECT_EQ(campo(51, uint8_t{}), 2);
    EXPECT_EQ(campo(52, uint16_t{}), 0);
  }
  const auto* grade = reinterpret_cast<const uint8_t*>(&reservas[1].regReserva);
  EXPECT_EQ(grade[4] | grade[5] << 8, 1);
  EXPECT_EQ(grade[6] | grade[7] << 8, 2);
  EXPECT_EQ(grade[8] | grade[9] << 8, 3);
}

TEST_F(Situacao, ReservationsFollowTheReportsAndThePackagingRule) {
  // Without packaging treated apart the packaging input multiplies; a process reported beyond the
  // order reserves nothing rather than a negative need.
  OrdemSit ordem = OrdemComInsumos();
  ordem.embalagem = false;
  ordem.apontamentos[0].quantidade = Quantidade(12);
  GravaOrdem(ordem);
  ASSERT_EQ(op_.AtualizaReservasOP(kChave), S_OK);
  std::vector<ReservaGravadaES> reservas = Reservas();
  ASSERT_EQ(reservas.size(), 1u);
  EXPECT_EQ(reservas[0].regReserva.vQuantidade.int64, 33300);

  ordem.apontamentos[0].quantidade = Quantidade(3);
  GravaOrdem(ordem);
  ASSERT_EQ(op_.AtualizaReservasOP(kChave), S_OK);
  reservas = Reservas();
  ASSERT_EQ(reservas.size(), 3u);
  EXPECT_EQ(reservas[1].regReserva.vQuantidade.int64, 280000);  // 4 x 7
}

TEST_F(Situacao, NoReservationsWhenSettingsOrSituationForbidThem) {
  struct Caso {
    const char* nome;
    uint8_t situacao;
    bool bSemPreBaixa;
  };
  const Caso casos[] = {{"concluded", 50, false},   {"concluded with loss", 49, false}, {"interrupted", 62, false},
                        {"cancelled", 99, false},   {"setting off", 2, true}};
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    DefineMestre([&](PPRegistroMestre& mestre) { mestre.cNaoExecutarPreBaixaNaOP = caso.bSemPreBaixa; });
    OrdemSit ordem = OrdemComInsumos();
    ordem.situacao = caso.situacao;
    GravaOrdem(ordem);
    Reserva(kChave);
    Reserva(2u << 12 | kMes);
    ASSERT_EQ(op_.AtualizaReservasOP(kChave), S_OK);
    const std::vector<ReservaGravadaES> reservas = Reservas();
    ASSERT_EQ(reservas.size(), 1u);  // only the other order's
    EXPECT_EQ(reservas[0].ulChave, 2u << 12 | kMes);
    ASSERT_EQ(op_.GetIMovimento(nullptr)->RemoveReservas(2u << 12 | kMes, 2, kFilial), S_OK);
  }
}

TEST_F(Situacao, AnUnconfirmedReprocessOrderIsNotReservedTwice) {
  OrdemSit ordem = OrdemComInsumos();
  ordem.reprocesso = 1;
  GravaOrdem(ordem);
  ASSERT_EQ(op_.AtualizaReservasOP(kChave), S_OK);
  ASSERT_EQ(op_.AtualizaReservasOP(kChave), S_OK);
  EXPECT_EQ(Reservas().size(), 3u);
}

TEST_F(Situacao, FailuresOfTheInventoryServerAreAnswered) {
  GravaOrdem(OrdemComInsumos());
  Reserva(kChave);
  estoque_.Movimento.FalhaMetodo("RemoveReservas", 1, E_FAIL);
  EXPECT_EQ(op_.AtualizaReservasOP(kChave), E_FAIL);
  EXPECT_EQ(Reservas().size(), 1u);  // neither dropped nor rebuilt

  estoque_.Movimento.FalhaMetodo("GravaReservas", 1, E_UNEXPECTED);
  EXPECT_EQ(op_.AtualizaReservasOP(kChave), E_UNEXPECTED);
  EXPECT_TRUE(Reservas().empty());

  // A server that cannot be had: its creation's answer, with nothing called.
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  estoque_.Movimento.FalhaInicializacao(E_OUTOFMEMORY);
  EXPECT_EQ(op_.AtualizaReservasOP(kChave), E_OUTOFMEMORY);
  estoque_.Movimento.FalhaInicializacao(S_OK);
}

// ---- FuncaoGenerica ---------------------------------------------------------------------------------

TEST_F(Situacao, GenericFunctionOneRecomputesTheProcessTheOrderAndTheReservations) {
  OrdemSit ordem = OrdemComInsumos();
  ordem.situacao = 1;
  ordem.processos[0].situacao = 1;
  GravaOrdem(ordem);
  ASSERT_EQ(Funcao(1, kChave, kPrimeiroProcesso), S_OK);
  EXPECT_EQ(SituacaoProcesso(1), 3);
  EXPECT_EQ(SituacaoOrdem(), 2);
  EXPECT_EQ(Reservas().size(), 3u);
}

TEST_F(Situacao, GenericFunctionRefusesOtherNumbersAndShortPayloadsWithoutWriting) {
  GravaOrdem(OrdemComInsumos());
  const auto antes = Mes();
  EXPECT_EQ(Funcao(1, kChave, kPrimeiroProcesso, 4), kFuncaoInvalida);
  EXPECT_EQ(Funcao(1, kChave, kPrimeiroProcesso, -8), kFuncaoInvalida);
  EXPECT_EQ(Funcao(2, kChave, kPrimeiroProcesso), kFuncaoInvalida);
  EXPECT_EQ(Funcao(0, kChave, kPrimeiroProcesso), kFuncaoInvalida);
  EXPECT_EQ(op_.FuncaoGenerica(1, _REG_FUNCAO_GENERICA_VARMO{8, nullptr}), kFuncaoInvalida);
  EXPECT_EQ(Mes(), antes);
  EXPECT_TRUE(Reservas().empty());
}

}  // namespace

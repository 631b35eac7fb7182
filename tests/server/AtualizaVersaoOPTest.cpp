// The production-order converter (slot 6), run as the driver runs it, on companies whose period files
// are written here byte by byte in their old layouts: the technical-sheet choice and the inputs of
// V01->V02, the field moves of V03->V04, V04->V05, V07->V08 and V08->V09, the position checks, a
// company at version 1 upgraded through all eight steps, the slot left by a step that fails, and the
// clean-up of old history copies. A run goes on to version 9, so what a step wrote is read where the
// later steps left it: in the final file, or in the history copy that the next step of its file made.
// Expected bytes come from the layouts, field by field.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundation/QVCom.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "server/CPPAtualizaVersaoOP.h"
#include "tests/server/EmpresaAtualizacao.h"

namespace {

constexpr HRESULT kErro1615 = PPErroHResult(1615);

std::string B16(uint16_t valor) { return std::string{static_cast<char>(valor & 0xFF), static_cast<char>(valor >> 8)}; }
std::string B32(uint32_t valor) {
  return B16(static_cast<uint16_t>(valor & 0xFFFF)) + B16(static_cast<uint16_t>(valor >> 16));
}
std::string B64(uint64_t valor) { return B32(static_cast<uint32_t>(valor)) + B32(static_cast<uint32_t>(valor >> 32)); }
std::string Byte(uint8_t valor) { return std::string(1, static_cast<char>(valor)); }

using Campos = std::vector<std::pair<size_t, std::string>>;

// A record of `tamanho` zero bytes with the fields laid over it.
std::string Registro(size_t tamanho, const Campos& campos) {
  std::string registro(tamanho, '\0');
  for (const auto& [deslocamento, bytes] : campos) registro.replace(deslocamento, bytes.size(), bytes);
  EXPECT_EQ(registro.size(), tamanho);
  return registro;
}

// A record whose byte k is (k + semente) & 0xFF.
std::string Sequencia(size_t tamanho, int semente) {
  std::string registro;
  for (size_t k = 0; k < tamanho; ++k) registro += static_cast<char>((k + semente) & 0xFF);
  return registro;
}

// A period file: the zero header and the records.
std::string Arquivo(size_t tamanho, const std::vector<std::string>& registros) {
  std::string arquivo(tamanho, '\0');
  for (const std::string& registro : registros) arquivo += registro;
  return arquivo;
}

std::string Linha(const char* texto) { return std::string(texto) + "\r"; }

// 01/2024 is month number 2113 ("0124"); the pinned clock's month, 05/2024, 2117.
constexpr uint16_t kJaneiro = 2113;
constexpr uint16_t kMaio = 2117;
uint32_t Chave(uint16_t mes, uint32_t numero) { return numero << 12 | mes; }

// The test's TRA file gets one stray record right after the engine writes its header, so that the
// step's first append lands at record 2.
std::string g_traComSobra;
size_t g_tamanhoSobra = 0;
void AcrescentaSobra(const char* operacao, const char* arquivo) {
  std::string caminho(arquivo);
  if (g_traComSobra.empty() || std::string(operacao) != "grava" || caminho.size() < g_traComSobra.size() ||
      caminho.compare(caminho.size() - g_traComSobra.size(), g_traComSobra.size(), g_traComSobra) != 0)
    return;
  g_traComSobra.clear();
  for (char& c : caminho)
    if (c == '\\') c = '/';
  std::ofstream(caminho, std::ios::binary | std::ios::app) << std::string(g_tamanhoSobra, 'X');
}

class ConversaoOP : public ConversaoComHistorico {
 protected:
  void TearDown() override {
    PPDefineObservadorAtualizacao(nullptr);
    g_traComSobra.clear();
    familia_.reset();
    CoUninitialize();
  }

  // The run of the driver for a company whose slot 6 stands at `versao`.
  HRESULT Atualiza(uint16_t versao) {
    empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoOrdemProducao, versao}}));
    CPPAtualizaVersaoOP conversor;
    return conversor.Executa(Instalacao::kEmpresa, kUsuarioTeste, versao);
  }
  uint16_t Slot() const { return empresa_.LeVersao().usVersao[kPPGrupoOrdemProducao]; }
  std::vector<std::string> Sobras() const {
    std::vector<std::string> sobras;
    for (const auto& [nome, bytes] : empresa_.Arquivos())
      if (nome.size() > 4 && nome.substr(nome.size() - 4) == ".TRA") sobras.push_back(nome);
    return sobras;
  }

  // The stand-ins of the family's modules (the inventory's movements, the sales invoices), with the
  // company's directories of those modules.
  void RegistraFamilia() {
    for (const char* modulo : {"ES", "CN", "FT", "CM"}) {
      empresa_.GetInstalacao().dir().Write(std::string("empresas/TESTE/") + modulo + "/.keep", "");
      empresa_.GetInstalacao().GravaValor(
          "SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", modulo,
          empresa_.GetInstalacao().dir().windows_path() + "empresas\\TESTE\\" + modulo + "\\");
    }
    familia_ = std::make_unique<ServidoresFamilia>();
    ASSERT_EQ(familia_->Registra(), S_OK);
  }

  std::unique_ptr<ServidoresFamilia> familia_;
};

// ---------------------------------------------------------------------------------------------------
// V01->V02

// A sheet header (64 bytes) of product 10, second pointer 20, grade 3, with its grade items, its
// processes in "PPFTPROC.DAT" and byte 23.
std::string Ficha(uint16_t item1, uint16_t item2, uint16_t item3, uint32_t primeiro, uint16_t quantos,
                  uint8_t b23 = 0) {
  return Registro(64, {{0, B32(10)},
                       {4, B32(20)},
                       {8, B32(primeiro)},
                       {12, B16(3)},
                       {14, B16(item1)},
                       {16, B16(item2)},
                       {18, B16(item3)},
                       {20, B16(quantos)},
                       {23, Byte(b23)}});
}
// A sheet process (88 bytes): its key at 36 and the 8 bytes at 24 that an order process takes.
std::string ProcessoFicha(uint32_t chave, const std::string& tempo) {
  return Registro(88, {{24, tempo}, {36, B32(chave)}});
}
// An order header (256 bytes): product position, grade items, processes, byte 159.
std::string Ordem(uint32_t produto, uint16_t item1, uint16_t item2, uint16_t item3, uint32_t primeiro, uint16_t quantos,
                  uint8_t b159 = 0) {
  return Registro(256, {{36, B32(20)},
                        {40, B32(produto)},
                        {48, B32(primeiro)},
                        {96, B16(quantos)},
                        {104, B16(3)},
                        {106, B16(item1)},
                        {108, B16(item2)},
                        {110, B16(item3)},
                        {159, Byte(b159)}});
}
// An order process (128 bytes): its number, its 8 bytes at 16 and its key at 36.
std::string ProcessoOrdem(uint8_t numero, const std::string& tempo, uint32_t chave) {
  return Registro(128, {{0, Byte(numero)}, {16, tempo}, {36, B32(chave)}, {127, Byte(0x7F)}});
}

TEST_F(ConversaoOP, V01CompletesProcessesFromTheSheetThatAScanWouldChoose) {
  // Headers of the product position: level 0, level 3 with byte 23 set, level 2, level 3, level 3
  // again; the deeper h4 wins over the earlier h1 and h3, h2 is never chosen, h5 comes after h4.
  empresa_.Escreve("PPFTCABE.DAT", Arquivo(64, {Ficha(0, 0, 0, 1, 1), Ficha(5, 6, 7, 2, 1, 1), Ficha(5, 6, 9, 3, 1),
                                                Ficha(5, 6, 7, 4, 2), Ficha(5, 6, 7, 6, 1)}));
  empresa_.Escreve("PPFTPROC.DAT", Arquivo(88, {ProcessoFicha(100, "FICHA-H1"), ProcessoFicha(100, "FICHA-H2"),
                                                ProcessoFicha(100, "FICHA-H3"), ProcessoFicha(999, "FICHA-H4"),
                                                ProcessoFicha(100, "FICHA-4B"), ProcessoFicha(100, "FICHA-H5")}));
  // A: grade items 5, 6, 7, processes 1 and 2 (2 has no process in its sheet); B: byte 159 set;
  // C: no grade items, so every header is at level 0 and the first one is chosen; D: no sheet.
  empresa_.Escreve("PPOP0124.DAT", Arquivo(256, {Ordem(10, 5, 6, 7, 1, 2), Ordem(10, 5, 6, 7, 3, 1, 1),
                                                 Ordem(10, 0, 0, 0, 4, 1), Ordem(12, 5, 6, 7, 5, 1)}));
  const std::vector<std::string> processos = {ProcessoOrdem(1, "PROC-001", 100), ProcessoOrdem(2, "PROC-002", 200),
                                              ProcessoOrdem(3, "PROC-003", 100), ProcessoOrdem(4, "PROC-004", 100),
                                              ProcessoOrdem(5, "PROC-005", 100), ProcessoOrdem(6, "PROC-006", 100)};
  empresa_.Escreve("PPPR0124.DAT", Arquivo(128, processos));
  // A month with processes and no orders is converted too: its processes stay as they are.
  const std::string semOrdens = Arquivo(128, {ProcessoOrdem(9, "PROC-009", 100)});
  empresa_.Escreve("PPPR0224.DAT", semOrdens);
  const auto antes = empresa_.Arquivos();

  // Without the inventory server the next step stops: what V01->V02 wrote stays in place.
  EXPECT_TRUE(FAILED(Atualiza(1)));
  EXPECT_EQ(Slot(), 2);
  EXPECT_EQ(empresa_.Le("PPPR0124.DAT"), Arquivo(128, {ProcessoOrdem(1, "FICHA-4B", 100), processos[1], processos[2],
                                                       ProcessoOrdem(4, "FICHA-H1", 100), processos[4], processos[5]}));
  EXPECT_EQ(empresa_.Le("PPPR0124_V001.HIS"), antes.at("PPPR0124.DAT"));
  EXPECT_EQ(empresa_.Le("PPPR0224.DAT"), semOrdens);
  EXPECT_EQ(empresa_.Le("PPPR0224_V001.HIS"), semOrdens);
  for (const char* lido : {"PPOP0124.DAT", "PPFTCABE.DAT", "PPFTPROC.DAT"})
    EXPECT_EQ(empresa_.Le(lido), antes.at(lido));
  EXPECT_EQ(Sobras(), std::vector<std::string>{});
  EXPECT_EQ(empresa_.Linhas(),
            (std::vector<std::string>{
                Linha("AtualizaOP -> processo iniciado"), Linha("AtualizaV01_p_V02 -> processo iniciado"),
                Linha("AtualizaV01_p_V02 -> processo encerrado"), Linha("AtualizaV02_p_V03 -> processo iniciado"),
                Linha("AtualizaV02_p_V03 -> instanciar servidor de movimentos do ES")}));
}

TEST_F(ConversaoOP, V01ReshapesInputsOfACompanyThatNeverKeptTechnicalSheets) {
  const std::vector<std::string> processos = {ProcessoOrdem(1, "PROC-001", 100)};
  empresa_.Escreve("PPOP0124.DAT", Arquivo(256, {Ordem(10, 0, 0, 0, 1, 1)}));
  empresa_.Escreve("PPPR0124.DAT", Arquivo(128, processos));
  const std::string insumo1 = Sequencia(128, 0);
  const std::string insumo2 = Sequencia(128, 0x80);
  empresa_.Escreve("PPMT0124.DAT", Arquivo(128, {insumo1, insumo2}));

  EXPECT_TRUE(FAILED(Atualiza(1)));
  EXPECT_EQ(Slot(), 2);
  EXPECT_EQ(empresa_.Le("PPPR0124.DAT"), Arquivo(128, processos));
  // 0..15 and 16..31 = old 16..31; 48..63 = old 48..63; 76..85 = old 76..85; 94..99 = old 94..99.
  const auto reformado = [](const std::string& antigo) {
    return Registro(128, {{0, antigo.substr(16, 16)},
                          {16, antigo.substr(16, 16)},
                          {48, antigo.substr(48, 16)},
                          {76, antigo.substr(76, 10)},
                          {94, antigo.substr(94, 6)}});
  };
  EXPECT_EQ(empresa_.Le("PPMT0124.DAT"), Arquivo(128, {reformado(insumo1), reformado(insumo2)}));
  EXPECT_EQ(empresa_.Le("PPMT0124_V001.HIS"), Arquivo(128, {insumo1, insumo2}));
  EXPECT_FALSE(empresa_.Existe("PPFTCABE.DAT"));
  EXPECT_FALSE(empresa_.Existe("PPFTPROC.DAT"));
}

// ---------------------------------------------------------------------------------------------------
// V03->V04, V04->V05, V07->V08, V08->V09

TEST_F(ConversaoOP, V03WidensTheBatchTextsAndMovesTheirDates) {
  const std::string antigo =
      Arquivo(26, {Registro(26, {{0, "LOTE-ABC"}, {20, B16(0x1111)}, {22, B16(0x2222)}, {24, B16(0x3333)}}),
                   Registro(26, {{0, "ABCDEFGHIJKLMNOPQRST"}, {20, "\x01\x02\x03\x04\x05\x06"}})});
  empresa_.Escreve("PPLT0124.DAT", antigo);
  EXPECT_EQ(Atualiza(3), S_OK);
  EXPECT_EQ(Slot(), 9);
  EXPECT_EQ(empresa_.Le("PPLT0124.DAT"),
            Arquivo(62, {Registro(62, {{0, "LOTE-ABC"}, {56, B16(0x1111)}, {58, B16(0x2222)}, {60, B16(0x3333)}}),
                         Registro(62, {{0, "ABCDEFGHIJKLMNOPQRST"}, {56, "\x01\x02\x03\x04\x05\x06"}})}));
  EXPECT_EQ(empresa_.Le("PPLT0124_V003.HIS"), antigo);
}

TEST_F(ConversaoOP, V04MovesReportAndReturnFieldsAlsoInAMonthWithoutOrdersOrReports) {
  // At 56 no invoice and at 154 a negative shipment, so that V06->V07 asks no one for a customer.
  std::string apontamento = Sequencia(170, 1);
  apontamento.replace(56, 4, B32(0));
  apontamento.replace(154, 4, B32(0xFFFFFFFF));
  const std::string retorno = Sequencia(32, 0x40);
  const std::string outroRetorno = Sequencia(32, 0x90);
  empresa_.Escreve("PPAP0124.DAT", Arquivo(170, {apontamento}));
  empresa_.Escreve("PPRI0124.DAT", Arquivo(32, {retorno}));
  empresa_.Escreve("PPRI0224.DAT", Arquivo(32, {outroRetorno}));

  EXPECT_EQ(Atualiza(4), S_OK);
  EXPECT_EQ(Slot(), 9);
  const auto a = [&](size_t de, size_t n) { return apontamento.substr(de, n); };
  // The next steps of these files kept what V04->V05 wrote as their history copies.
  EXPECT_EQ(empresa_.Le("PPAP0124_V006.HIS"), Arquivo(188, {Registro(188, {{0, a(0, 100)},
                                                                           {100, a(150, 4)},
                                                                           {104, a(154, 4)},
                                                                           {108, a(160, 4)},
                                                                           {112, a(166, 4)},
                                                                           {116, a(100, 4)},
                                                                           {120, a(104, 4)},
                                                                           {124, a(108, 20)},
                                                                           {144, a(158, 2)},
                                                                           {146, a(164, 2)},
                                                                           {148, a(128, 10)}})}));
  const auto novoRetorno = [](const std::string& r) {
    return Registro(64, {{0, r.substr(0, 8)}, {16, r.substr(8, 4)}, {28, r.substr(24, 4)}, {32, r.substr(12, 12)}});
  };
  EXPECT_EQ(empresa_.Le("PPRI0124_V005.HIS"), Arquivo(64, {novoRetorno(retorno)}));
  EXPECT_EQ(empresa_.Le("PPRI0224_V005.HIS"), Arquivo(64, {novoRetorno(outroRetorno)}));
  EXPECT_EQ(empresa_.Le("PPAP0124_V004.HIS"), Arquivo(170, {apontamento}));
  EXPECT_EQ(empresa_.Le("PPRI0224_V004.HIS"), Arquivo(32, {outroRetorno}));
}

TEST_F(ConversaoOP, V07MovesOrderFieldsAndV08MarksOrdersAndItemsAlsoWithoutOrders) {
  const std::string ordem1 = Sequencia(256, 3);
  const std::string ordem2 = Sequencia(256, 0x55);
  const std::string item = Sequencia(90, 7);
  empresa_.Escreve("PPOP0124.DAT", Arquivo(256, {ordem1, ordem2}));
  empresa_.Escreve("PPIT0124.DAT", Arquivo(90, {item}));
  empresa_.Escreve("PPIT0224.DAT", Arquivo(90, {item}));

  EXPECT_EQ(Atualiza(7), S_OK);
  EXPECT_EQ(Slot(), 9);
  const auto v08 = [](const std::string& o) {
    return Registro(256, {{0, o.substr(0, 32)},
                          {32, o.substr(244, 4)},
                          {36, o.substr(248, 4)},
                          {40, o.substr(252, 4)},
                          {44, o.substr(32, 40)},
                          {108, o.substr(96, 46)},
                          {170, o.substr(158, 9)}});
  };
  EXPECT_EQ(empresa_.Le("PPOP0124_V008.HIS"), Arquivo(256, {v08(ordem1), v08(ordem2)}));
  const auto comP = [](std::string registro, size_t deslocamento) { return registro.replace(deslocamento, 1, "P"); };
  EXPECT_EQ(empresa_.Le("PPOP0124.DAT"), Arquivo(256, {comP(v08(ordem1), 182), comP(v08(ordem2), 182)}));
  EXPECT_EQ(empresa_.Le("PPOP0124_V007.HIS"), Arquivo(256, {ordem1, ordem2}));
  for (const char* mes : {"0124", "0224"}) {
    EXPECT_EQ(empresa_.Le(std::string("PPIT") + mes + ".DAT"), Arquivo(90, {comP(item, 62)})) << mes;
    EXPECT_EQ(empresa_.Le(std::string("PPIT") + mes + "_V008.HIS"), Arquivo(90, {item})) << mes;
  }
  EXPECT_EQ(empresa_.Linhas(),
            (std::vector<std::string>{
                Linha("AtualizaOP -> processo iniciado"), Linha("AtualizaV07_p_V08 -> processo iniciado"),
                Linha("AtualizaV07_p_V08 -> processo encerrado"), Linha("AtualizaV08_p_V09 -> processo iniciado"),
                Linha("AtualizaV08_p_V09 -> processo encerrado"), Linha("AtualizaOP -> processo encerrado")}));
}

// A new record that does not land at its old number stops the step before its commit.
TEST_F(ConversaoOP, RecordLandingElsewhereStopsTheStepWithItsPositionLine) {
  struct Caso {
    uint16_t versao;
    const char* arquivo;
    size_t tamanho;
    HRESULT resultado;
    const char* linha;
  };
  const std::vector<Caso> casos = {
      {1, "PPMT0124", 128, PPErroHResult(0), "Inconsistência na posição de gravação - 0124-000001"_ansi},
      {7, "PPOP0124", 256, kErro1615,
       "AtualizaV07_p_V08 -> Inconsistência na gravação. OP origem (0124-000001) - OP destino (0124-000002)"_ansi},
  };
  PPDefineObservadorAtualizacao(&AcrescentaSobra);
  for (const Caso& caso : casos) {
    const std::string dat = std::string(caso.arquivo) + ".DAT";
    const std::string antigo = Arquivo(caso.tamanho, {Sequencia(caso.tamanho, 9)});
    empresa_.Restaura({{dat, antigo}});
    g_traComSobra = std::string(caso.arquivo) + ".TRA";
    g_tamanhoSobra = caso.tamanho;

    EXPECT_EQ(Atualiza(caso.versao), caso.resultado) << caso.arquivo;
    EXPECT_EQ(Slot(), caso.versao) << caso.arquivo;
    EXPECT_EQ(empresa_.Linhas().back(), Linha(caso.linha));
    EXPECT_EQ(empresa_.Le(dat), antigo);
    EXPECT_FALSE(empresa_.Existe("PPVERSAO.DIA")) << "not committed: the journal is dropped";
    EXPECT_TRUE(empresa_.Existe(std::string(caso.arquivo) + ".TRA"));
  }
}

// ---------------------------------------------------------------------------------------------------
// The whole upgrade

TEST_F(ConversaoOP, CompanyAtVersion1RunsAllEightStepsInOneRun) {
  RegistraFamilia();
  // The invoice of the report, and the production entry that it names, with its batch.
  const uint32_t chaveNota = Chave(kJaneiro, 5);
  NotaFiscalDF nota;
  std::memset(&nota, 0, sizeof nota);
  nota.ulChave = chaveNota;
  nota.regNota.lPonteiroCliente = 4711;
  ASSERT_EQ(GravaNotasFiscaisDF(Instalacao::kEmpresa, {nota}), S_OK);
  CQVComPtr<IQVES_Movimento, IID_IQVES_Movimento> estoque;
  ASSERT_EQ(estoque.CreateInstance(CLSID_QVES_Movimento, nullptr, kQVContextoServidor, 0), S_OK);
  const BSTR empresa = SysAllocString(u"TESTE");
  ASSERT_EQ(estoque->Inicializa(empresa, kUsuarioTeste, 0, kESModuloProducao), S_OK);
  SysFreeString(empresa);
  _REG_ES_MOVIMENTOPS movimento;
  std::memset(&movimento, 0, sizeof movimento);
  movimento.cTipoMovimento = 11;
  movimento.vQuantidade.int64 = 3000000;
  movimento.regPosicaoProduto = {20, 1, 2, 0};
  movimento.iPonteiroFilial = 1;
  movimento.iPonteiroLocalArmazenagem = 4;
  movimento.iDataMovimento = DiaFixado();
  movimento.iHoraMovimento = 600;
  movimento.cTipoEstoqueArmazenagem = 2;
  movimento.cTipoProducao = 'P';
  std::memcpy(movimento.regLotePS.cNumeroLote, "LOTE-77", 7);
  movimento.regLotePS.iDataFabricacao = Dia(1, 5, 2024);
  movimento.regLotePS.iDataValidade = Dia(1, 5, 2025);
  movimento.regLotePS.iNumeroDias = 365;
  uint32_t numero = 0;
  ASSERT_EQ(estoque->GravaMovimento(0, movimento, nullptr, &numero), S_OK);
  const uint32_t chaveEntrada = Chave(kMaio, numero);

  // One order (cancelled) with one normal process and one item; the sheet of its product position;
  // one report on the process with the invoice and the production entry; one input. February has a
  // process only, March an item only.
  const std::string cabecalhoOrdem(32, 'O');
  empresa_.Escreve("PPOP0124.DAT", Arquivo(256, {Registro(256, {{0, cabecalhoOrdem},
                                                                {36, B32(20)},
                                                                {40, B32(10)},
                                                                {48, B32(1)},
                                                                {96, B16(1)},
                                                                {104, B16(3)},
                                                                {120, "JJJJJJJJ"},
                                                                {158, "C"},
                                                                {244, "GGGG"},
                                                                {248, "HHHH"},
                                                                {252, "IIII"}})}));
  const auto processo = [](char situacao) {
    return Registro(128, {{0, "PROCESSO-0001..."},
                          {16, "TEMPO-OP"},
                          {32, "CCCC"},
                          {36, B32(100)},
                          {40, "DDDDDDDD"},
                          {68, B16(7)},
                          {70, B16(8)},
                          {72, "FFFFFFFFFF"},
                          {90, Byte(1)},
                          {91, std::string(1, situacao)},
                          {92, "xy"}});
  };
  empresa_.Escreve("PPPR0124.DAT", Arquivo(128, {processo('N')}));
  empresa_.Escreve("PPPR0224.DAT", Arquivo(128, {processo('F')}));
  empresa_.Escreve("PPFTCABE.DAT", Arquivo(64, {Ficha(0, 0, 0, 1, 1)}));
  empresa_.Escreve("PPFTPROC.DAT", Arquivo(88, {ProcessoFicha(100, B64(300000))}));  // 30,0000
  const std::string item = Registro(128, {{0, std::string(48, 'I')},
                                          {60, B16(11)},
                                          {62, B16(12)},
                                          {64, B16(13)},
                                          {66, B16(14)},
                                          {78, "P"},
                                          {79, "z"},
                                          {82, "klm"}});
  empresa_.Escreve("PPIT0124.DAT", Arquivo(128, {item}));
  empresa_.Escreve("PPIT0324.DAT", Arquivo(128, {item}));
  empresa_.Escreve("PPMT0124.DAT", Arquivo(128, {Sequencia(128, 0)}));
  const std::string cabecalhoApontamento(32, 'A');
  empresa_.Escreve("PPAP0124.DAT", Arquivo(220, {Registro(220, {{0, cabecalhoApontamento},
                                                                {32, "aaaaaaaa"},
                                                                {40, "bbbbbbbb"},
                                                                {56, B32(chaveNota)},
                                                                {60, B32(chaveEntrada)},
                                                                {68, B32(1)},
                                                                {76, B32(100)}})}));

  EXPECT_EQ(Atualiza(1), S_OK);
  EXPECT_EQ(Slot(), 9);
  std::vector<std::string> linhas = {Linha("AtualizaOP -> processo iniciado")};
  for (const char* passo : {"AtualizaV01_p_V02", "AtualizaV02_p_V03", "AtualizaV03_p_V04", "AtualizaV04_p_V05",
                            "AtualizaV05_p_V06", "AtualizaV06_p_V07", "AtualizaV07_p_V08", "AtualizaV08_p_V09"}) {
    linhas.push_back(Linha((std::string(passo) + " -> processo iniciado").c_str()));
    linhas.push_back(Linha((std::string(passo) + " -> processo encerrado").c_str()));
  }
  linhas.push_back(Linha("AtualizaOP -> processo encerrado"));
  EXPECT_EQ(empresa_.Linhas(), linhas);
  EXPECT_EQ(empresa_.AuditoriasVersao().size(), 8u);

  // The order: cancelled (99), its process pointers rebuilt, moved by V07->V08, marked by V08->V09.
  EXPECT_EQ(empresa_.Le("PPOP0124.DAT"), Arquivo(256, {Registro(256, {{0, cabecalhoOrdem},
                                                                      {32, "GGGG"},
                                                                      {36, "HHHH"},
                                                                      {40, "IIII"},
                                                                      {48, B32(20)},
                                                                      {52, B32(10)},
                                                                      {60, B32(1)},
                                                                      {108, B16(1)},
                                                                      {116, B16(3)},
                                                                      {132, "JJJJJJJJ"},
                                                                      {170, Byte(99)},
                                                                      {182, "P"}})}));
  // The process: the sheet's 30,0000 at 32, 60 / 30 = 2,00000000 at 24, cancelled with its order,
  // with the list of its one report.
  EXPECT_EQ(empresa_.Le("PPPR0124.DAT"), Arquivo(128, {Registro(128, {{0, "PROCESSO-0001..."},
                                                                      {24, B64(200000000)},
                                                                      {32, B64(300000)},
                                                                      {40, "CCCC"},
                                                                      {44, B32(100)},
                                                                      {48, "DDDDDDDD"},
                                                                      {68, B32(1)},
                                                                      {72, B16(7)},
                                                                      {74, B16(8)},
                                                                      {82, B16(1)},
                                                                      {84, "FFFFFFFFFF"},
                                                                      {94, Byte(1)},
                                                                      {95, Byte(99)},
                                                                      {96, "xy"}})}));
  EXPECT_EQ(empresa_.Le("PPRA0124.DAT"), Arquivo(4, {B32(1)}));
  // The report: the copy of its production entry (PPME 1), its customer from the invoice.
  EXPECT_EQ(empresa_.Le("PPAP0124.DAT"), Arquivo(200, {Registro(200, {{0, cabecalhoApontamento},
                                                                      {32, "bbbbbbbb"},
                                                                      {48, "aaaaaaaa"},
                                                                      {64, B32(chaveNota)},
                                                                      {68, B32(1)},
                                                                      {80, B32(1)},
                                                                      {88, B32(100)},
                                                                      {132, B32(4711)},
                                                                      {160, B16(1)}})}));
  EXPECT_EQ(empresa_.Le("PPME0124.DAT"), Arquivo(104, {Registro(104, {{24, B64(3000000)},
                                                                      {32, B32(chaveEntrada)},
                                                                      {36, B32(1)},
                                                                      {40, B32(1)},
                                                                      {60, B32(4)},
                                                                      {64, B32(20)},
                                                                      {68, B16(1) + B16(2) + B16(0)},
                                                                      {74, B16(1)},
                                                                      {76, B16(DiaFixado())},
                                                                      {78, B16(600)},
                                                                      {86, Byte(2)},
                                                                      {87, "P"},
                                                                      {88, Byte(1)}})}));
  EXPECT_EQ(
      empresa_.Le("PPLT0124.DAT"),
      Arquivo(62, {Registro(
                      62, {{0, "LOTE-77"}, {56, B16(Dia(1, 5, 2024))}, {58, B16(Dia(1, 5, 2025))}, {60, B16(365)}})}));
  const std::string itemV03 = Registro(90, {{0, std::string(48, 'I')},
                                            {48, B16(11)},
                                            {50, B16(12)},
                                            {52, B16(13)},
                                            {54, B16(14)},
                                            {56, Byte(3)},
                                            {57, "z"},
                                            {58, "klm"},
                                            {62, "P"}});
  EXPECT_EQ(empresa_.Le("PPIT0124.DAT"), Arquivo(90, {itemV03}));
  EXPECT_EQ(empresa_.Le("PPIT0324.DAT"), Arquivo(90, {itemV03}));
  // February's process was converted by V02->V03 (its own situation, no sheet without an order) and
  // is not carried by V06->V07, which keeps only what an order names.
  EXPECT_EQ(empresa_.Le("PPPR0224_V006.HIS"), Arquivo(90, {Registro(90, {{0, "PROCESSO-0001..."},
                                                                         {16, "TEMPO-OP"},
                                                                         {24, "CCCC"},
                                                                         {28, B32(100)},
                                                                         {32, "DDDDDDDD"},
                                                                         {40, B16(7)},
                                                                         {42, B16(8)},
                                                                         {44, "FFFFFFFFFF"},
                                                                         {54, Byte(1)},
                                                                         {55, Byte(50)},
                                                                         {56, "xy"}})}));
  EXPECT_EQ(empresa_.Le("PPPR0224.DAT"), Arquivo(128, {}));
  // The run began at 1: every history copy stays.
  for (const char* copia : {"PPPR0124_V001.HIS", "PPPR0124_V002.HIS", "PPPR0124_V006.HIS", "PPOP0124_V002.HIS",
                            "PPOP0124_V006.HIS", "PPOP0124_V007.HIS", "PPOP0124_V008.HIS", "PPMT0124_V001.HIS"})
    EXPECT_TRUE(empresa_.Existe(copia)) << copia;
  EXPECT_EQ(Sobras(), std::vector<std::string>{});
  EXPECT_FALSE(empresa_.Existe("PPVERSAO.DIA"));
}

// The slot left by a run from version 1 that fails in step k.
struct FalhaNoPasso {
  uint16_t passo;
  bool bFamilia;                                              // the inventory and invoice stand-ins are there
  std::vector<std::pair<std::string, std::string>> arquivos;  // besides the company's period files
  std::string linha;                                          // the start of the last line
};

class ConversaoOPFalha : public ConversaoOP, public ::testing::WithParamInterface<FalhaNoPasso> {};

TEST_P(ConversaoOPFalha, StopsTheRunWithTheSlotAtTheFailingStep) {
  const FalhaNoPasso& caso = GetParam();
  if (caso.bFamilia) RegistraFamilia();
  // An order without processes, a report naming an invoice that the sales module does not hold only
  // when the case says so, and a return that no report names.
  empresa_.Escreve("PPOP0124.DAT", Arquivo(256, {Registro(256, {{158, "N"}})}));
  const uint32_t nota = caso.passo == 6 ? Chave(kJaneiro, 5) : 0;
  empresa_.Escreve("PPAP0124.DAT", Arquivo(220, {Registro(220, {{56, B32(nota)}})}));
  empresa_.Escreve("PPRI0124.DAT", Arquivo(32, {Registro(32, {{0, "RETORNO"}})}));
  for (const auto& [nome, bytes] : caso.arquivos) empresa_.Escreve(nome, bytes);

  EXPECT_TRUE(FAILED(Atualiza(1)));
  EXPECT_EQ(Slot(), caso.passo);
  const std::string ultima = empresa_.Linhas().back();
  EXPECT_EQ(ultima.substr(0, caso.linha.size()), caso.linha) << ultima;
}

INSTANTIATE_TEST_SUITE_P(
    Passos, ConversaoOPFalha,
    ::testing::Values(
        FalhaNoPasso{1, true, {{"PPMT0124.TRA", "sobra"}}, "AtualizaV01_p_V02 -> conversão anterior nao terminou"_ansi},
        // No file of V02->V03 is opened: its leftover check passes, the server is missing.
        FalhaNoPasso{2, false, {}, "AtualizaV02_p_V03 -> instanciar servidor de movimentos do ES"},
        // Not a name of V01->V02 or V02->V03: the first step that looks for any ".TRA" stops.
        FalhaNoPasso{3, true, {{"ZZZZ0124.TRA", "sobra"}}, "AtualizaV03_p_V04 -> conversão anterior não terminou"_ansi},
        // A file that V05->V06 creates is in the way of its rename.
        FalhaNoPasso{5, true, {{"PPTI0124.DAT", std::string(64, '\0')}}, "Renomear arquivo "},
        FalhaNoPasso{6, true, {}, "AtualizaV06_p_V07 -> ler nota fiscal 0124-000005"}),
    [](const ::testing::TestParamInfo<FalhaNoPasso>& info) { return "Passo" + std::to_string(info.param.passo); });

// ---------------------------------------------------------------------------------------------------
// The clean-up

TEST_F(ConversaoOP, CleanUpDeletesCopiesBelowTheStartVersionOfEveryOrderPrefixAndMonth) {
  empresa_.Escreve("PPOP0124.DAT", Arquivo(256, {Sequencia(256, 1)}));
  const std::vector<std::string> antigas = {"PPOP0124_V001.HIS", "PPOP0124_V007.HIS", "PPRA0127_V002.HIS",
                                            "PPIT1226_V006.HIS", "ppme0524_v003.his"};
  const std::vector<std::string> ficam = {"PPMN0124_V001.HIS",   // maintenance, not an order prefix
                                          "PPOP1324_V001.HIS",   // no month
                                          "PPIT0224_V008.HIS"};  // the version the run began at
  for (const std::string& nome : antigas) empresa_.Escreve(nome, "copia");
  for (const std::string& nome : ficam) empresa_.Escreve(nome, "fica");

  EXPECT_EQ(Atualiza(8), S_OK);
  for (const std::string& nome : antigas) EXPECT_FALSE(empresa_.Existe(nome)) << nome;
  for (const std::string& nome : ficam) EXPECT_TRUE(empresa_.Existe(nome)) << nome;
  // The copy that this run made stays.
  EXPECT_EQ(empresa_.Le("PPOP0124_V008.HIS"), Arquivo(256, {Sequencia(256, 1)}));
}

}  // namespace

// The steps of the production-order converter that reach outside the module, on companies written
// byte by byte in the old layouts: V02->V03 (situation codes, narrower records, the inventory
// movements that reports name copied into the month's own files), V05->V06 (returns with their
// PPTI and PPTA records) and V06->V07 (processes rebuilt with their rates and report lists, the
// customer of each report). The expected records are the tables' rows written out here
// (Trecho: new bytes = old bytes), never the converter's code.
//
// A run goes on to version 9. V02->V03 is seen alone: a stray ".TRA" file, which only the later
// steps look for, stops the run at V03->V04 with slot 6 at 3. The files that V05->V06 writes (PPRI,
// PPTI, PPTA) no later step touches; of the files of V06->V07 only the order header changes later,
// and its expected bytes pass through the rows of V07->V08 and V08->V09.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/com/guid.h"
#include "platform/com/taskmem.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "platform/win32/registry.h"
#include "server/CPPAtualizaVersaoOP.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/support/VersoesAntigasOP.h"

namespace {

constexpr uint16_t kJaneiro = 2113;    // 01/2024
constexpr uint16_t kFevereiro = 2114;  // 02/2024
constexpr uint16_t kMarco = 2115;      // 03/2024
constexpr HRESULT kErro1615 = PPErroHResult(1615);
constexpr HRESULT kFalha = static_cast<HRESULT>(0x80040777);

// One row of a conversion table: the new bytes destino .. destino + n - 1 are the old bytes
// origem .. origem + n - 1.
struct Trecho {
  uint32_t destino;
  uint32_t origem;
  uint32_t n;
};
using Tabela = std::vector<Trecho>;

// V02->V03. The order header is copied whole (158 recoded); PPPR 55, PPIT 56, PPAP 130 recoded;
// PPAP 60, 64, 80, 84, 137 and PPRI 24 come from the copies of the movements.
const Tabela kProcessoV3 = {{0, 0, 24}, {24, 32, 16}, {40, 68, 14}, {54, 90, 1}, {56, 92, 2}};
const Tabela kItemV3 = {{0, 0, 48}, {48, 60, 2}, {50, 62, 2}, {52, 64, 2}, {54, 66, 2}, {57, 79, 1}, {58, 82, 3}};
const Tabela kApontamentoV3 = {{0, 0, 32},    {32, 40, 8},    {40, 32, 8},    {48, 48, 12},
                               {68, 68, 12},  {88, 88, 34},   {122, 130, 2},  {124, 132, 2},
                               {126, 134, 2}, {128, 160, 2},  {131, 163, 6}};
const Tabela kRetornoV3 = {{0, 0, 24}};
// V05->V06, PPRI: 36 and 60 tell of a PPTI record.
const Tabela kRetornoV6 = {{0, 0, 24}, {28, 24, 4}, {32, 28, 4}, {48, 32, 12}, {66, 44, 3}};
// V06->V07. PPPR 24 (rate), 68, 82 (report list); PPAP 132 (customer), 160 (production entry).
const Tabela kProcessoV7 = {{0, 0, 16},  {16, 64, 8}, {32, 16, 24}, {56, 58, 4}, {60, 78, 4},
                            {64, 84, 4}, {72, 40, 2}, {74, 42, 2},  {76, 62, 2}, {78, 82, 2},
                            {80, 88, 2}, {84, 44, 10}, {94, 54, 4}};
const Tabela kApontamentoV7 = {{0, 0, 40},    {48, 40, 28},   {76, 174, 4},  {80, 68, 48},  {128, 178, 4},
                               {136, 116, 24}, {162, 140, 8}, {170, 182, 2}, {172, 148, 9}, {182, 158, 2}};
const Tabela kMovimentoV7 = {{24, 0, 20}, {44, 76, 4}, {48, 20, 20}, {68, 40, 12}, {86, 52, 3}};
// V07->V08, PPOP; then V08->V09 sets its byte 182 to "P".
const Tabela kOrdemV8 = {{0, 0, 32},   {32, 244, 4}, {36, 248, 4},  {40, 252, 4},
                         {44, 32, 40}, {108, 96, 46}, {170, 158, 9}};

// The situation table (PPOP 158, PPPR 55) and the second letter table (PPIT 56, PPAP 130).
struct Letra {
  char letra;
  uint8_t codigo;
};
const Letra kSituacoes[] = {{'C', 99}, {'E', 5}, {'F', 50}, {'I', 2},  {'N', 1}, {'P', 4},
                            {'R', 3},  {'T', 49}, {'X', 0}, {'c', 0}, {'\0', 0}};
const Letra kSegundaTabela[] = {{'C', 1}, {'N', 2}, {'P', 3}, {'R', 4}, {'E', 0}, {'n', 0}};

std::string Aplica(const std::string& antigo, uint32_t tamanho, const Tabela& tabela) {
  std::string novo(tamanho, '\0');
  for (const Trecho& trecho : tabela) novo.replace(trecho.destino, trecho.n, antigo, trecho.origem, trecho.n);
  return novo;
}

void Poe(std::string& registro, uint32_t deslocamento, uint64_t valor, uint32_t largura) {
  for (uint32_t k = 0; k < largura; ++k) registro[deslocamento + k] = static_cast<char>((valor >> (8 * k)) & 0xFF);
}

std::string Valor32(uint32_t valor) {
  std::string bytes(4, '\0');
  Poe(bytes, 0, valor, 4);
  return bytes;
}

// The V02->V03 PPME record of a movement as the inventory stand-in gives it.
std::string MovimentoV3(const MovimentoLidoES& lido, uint32_t registroLote) {
  const _REG_ES_MOVIMENTOPS m = lido.registro;
  std::string r(80, '\0');
  Poe(r, 0, static_cast<uint64_t>(m.vQuantidade.int64), 8);
  Poe(r, 8, lido.chave, 4);
  Poe(r, 12, registroLote, 4);
  Poe(r, 16, static_cast<uint32_t>(m.lPonteiroLote), 4);
  Poe(r, 20, static_cast<uint32_t>(m.lPonteiroForLote), 4);
  Poe(r, 24, static_cast<uint32_t>(m.lPonteiroForEPTETPE), 4);
  Poe(r, 28, static_cast<uint32_t>(m.lPonteiroCliEPTETPE), 4);
  Poe(r, 32, m.iPonteiroLocalArmazenagem, 4);
  r.replace(36, 10, reinterpret_cast<const char*>(&m) + offsetof(_REG_ES_MOVIMENTOPS, regPosicaoProduto), 10);
  Poe(r, 46, m.iPonteiroFilial, 2);
  Poe(r, 48, m.iDataMovimento, 2);
  Poe(r, 50, m.iHoraMovimento, 2);
  Poe(r, 52, m.cTipoEstoqueArmazenagem, 1);
  Poe(r, 53, m.cTipoProducao, 1);
  Poe(r, 54, 1, 1);
  Poe(r, 76, static_cast<uint32_t>(m.lPonteiroVolume), 4);
  return r;
}

// The V02->V03 PPLT record of a movement's batch: its number cut to 20 characters.
std::string LoteV3(const MovimentoLidoES& lido, const std::string& numero20) {
  const _REG_ES_MOVIMENTOPS m = lido.registro;
  std::string r(26, '\0');
  r.replace(0, numero20.size(), numero20);
  Poe(r, 20, m.regLotePS.iDataFabricacao, 2);
  Poe(r, 22, m.regLotePS.iDataValidade, 2);
  Poe(r, 24, m.regLotePS.iNumeroDias, 2);
  return r;
}

std::string Hex(const std::string& bytes, size_t posicao) {
  char texto[8];
  std::snprintf(texto, sizeof texto, "%02X", posicao < bytes.size() ? static_cast<uint8_t>(bytes[posicao]) : 0);
  return texto;
}

// Record by record, byte by byte: each differing record names its first differing offsets.
void ComparaRegistros(const std::string& arquivo, const std::vector<std::string>& obtidos,
                      const std::vector<std::string>& esperados) {
  EXPECT_EQ(obtidos.size(), esperados.size()) << arquivo << ": number of records";
  for (size_t i = 0; i < obtidos.size() && i < esperados.size(); ++i) {
    std::string diferencas;
    int quantas = 0;
    for (size_t k = 0; k < std::max(obtidos[i].size(), esperados[i].size()); ++k) {
      if (k < obtidos[i].size() && k < esperados[i].size() && obtidos[i][k] == esperados[i][k]) continue;
      if (++quantas <= 8)
        diferencas += " byte " + std::to_string(k) + " expected " + Hex(esperados[i], k) + " got " + Hex(obtidos[i], k) + ";";
    }
    EXPECT_EQ(quantas, 0) << arquivo << " record " << i + 1 << ":" << diferencas;
  }
}

// Each text begins a line, in this order, among the lines from `desde` on.
void VerificaLinhas(const std::vector<std::string>& linhas, size_t desde, const std::vector<std::string>& esperadas) {
  size_t i = desde;
  for (const std::string& esperada : esperadas) {
    while (i < linhas.size() && linhas[i].rfind(esperada, 0) != 0) ++i;
    EXPECT_LT(i, linhas.size()) << "missing line, or out of order: " << esperada;
    if (i < linhas.size()) ++i;
  }
}

class ConversaoOP : public ConversaoComHistorico {
 protected:
  void SetUp() override {
    ConversaoComHistorico::SetUp();
    if (HasFatalFailure()) return;
    RegistraDiretorioModulo(empresa_.GetInstalacao(), "ES");
    ASSERT_EQ(familia_.Registra(), S_OK);
  }
  void TearDown() override { CoUninitialize(); }

  // Slot 6 at `versao`, every other slot at its target; the converter run from there.
  HRESULT Converte(uint16_t versao) {
    empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoOrdemProducao, versao}}));
    CPPAtualizaVersaoOP conversor;
    return conversor.Executa(Instalacao::kEmpresa, kUsuarioTeste, versao);
  }
  uint16_t VersaoOP() const { return empresa_.LeVersao().usVersao[kPPGrupoOrdemProducao]; }
  // Only the steps after V02->V03 look for any ".TRA": the run stops at V03->V04 with 1615.
  void ParaAntesDaV04() const { empresa_.Escreve("ZZZZ.TRA", ""); }
  bool HaTRA() const {
    for (const auto& [nome, bytes] : empresa_.Arquivos())
      if (nome.size() > 4 && nome.compare(nome.size() - 4, 4, ".TRA") == 0 && nome != "ZZZZ.TRA") return true;
    return false;
  }

  std::vector<MovimentoLidoES> Semeia(std::vector<MovimentoSemeadoES> movimentos) {
    std::vector<MovimentoLidoES> lidos;
    EXPECT_EQ(SemeiaMovimentosES(Instalacao::kEmpresa, movimentos, &lidos), S_OK);
    return lidos;
  }

  // The records of a month's file after its zero header.
  std::vector<std::string> Registros(ArquivoOP arquivo, uint16_t mes, uint32_t tamanho) const {
    const std::string nome = NomeArquivoOP(arquivo, mes);
    EXPECT_TRUE(empresa_.Existe(nome)) << nome;
    const std::string bytes = empresa_.Le(nome);
    EXPECT_EQ(bytes.size() % tamanho, 0u) << nome << " holds " << bytes.size() << " bytes";
    EXPECT_EQ(bytes.substr(0, tamanho), std::string(std::min<size_t>(tamanho, bytes.size()), '\0')) << nome;
    std::vector<std::string> registros;
    for (size_t i = tamanho; i + tamanho <= bytes.size(); i += tamanho) registros.push_back(bytes.substr(i, tamanho));
    return registros;
  }
  void Compara(ArquivoOP arquivo, uint16_t mes, uint32_t tamanho, const std::vector<std::string>& esperados) const {
    ComparaRegistros(NomeArquivoOP(arquivo, mes), Registros(arquivo, mes, tamanho), esperados);
  }

  ServidoresFamilia familia_;
};

// ---------------------------------------------------------------------------------------------------
// V02->V03

TEST_F(ConversaoOP, V02ToV03RecodesSituationLettersAndCancelsTheOpenProcessesOfACancelledOrder) {
  // Order i + 1 has the letter kSituacoes[i]. Order 1 ('C') holds processes 1..3 ('N', 'E', 'N');
  // order 2 ('E') one process of each letter (4 .. 14); order 10 ('c', no letter of the table)
  // process 15, 'N'. Items and reports have one letter of the second table each.
  MesOP mes(kJaneiro, 2);
  std::vector<std::string> ordens;
  for (size_t i = 0; i < std::size(kSituacoes); ++i) {
    const uint32_t primeiro = i == 0 ? 1 : i == 1 ? 4 : i == 9 ? 15 : 0;
    const uint16_t quantidade = i == 0 ? 3 : i == 1 ? 11 : i == 9 ? 1 : 0;
    RegistroOP ordem = mes.Novo(ArquivoOP::OP)
                           .Preenche(static_cast<uint8_t>(i))
                           .Campo(CampoOP::OPSituacao, kSituacoes[i].letra)
                           .Campo(CampoOP::OPPrimeiroProcesso, primeiro)
                           .Campo(CampoOP::OPQuantidadeProcessos, quantidade);
    mes.Acrescenta(ordem);
    ordens.push_back(ordem.Bytes());
  }
  std::vector<std::pair<char, uint8_t>> letrasProcessos = {{'N', 99}, {'E', 5}, {'N', 99}};
  for (const Letra& letra : kSituacoes) letrasProcessos.emplace_back(letra.letra, letra.codigo);
  letrasProcessos.emplace_back('N', 1);
  std::vector<std::string> processos;
  for (size_t i = 0; i < letrasProcessos.size(); ++i) {
    RegistroOP processo =
        mes.Novo(ArquivoOP::PR).Preenche(static_cast<uint8_t>(100 + i)).Campo(CampoOP::PRSituacao, letrasProcessos[i].first);
    mes.Acrescenta(processo);
    processos.push_back(processo.Bytes());
  }
  std::vector<std::string> itens;
  std::vector<std::string> apontamentos;
  for (size_t i = 0; i < std::size(kSegundaTabela); ++i) {
    RegistroOP item =
        mes.Novo(ArquivoOP::IT).Preenche(static_cast<uint8_t>(150 + i)).Campo(CampoOP::ITSituacao, kSegundaTabela[i].letra);
    mes.Acrescenta(item);
    itens.push_back(item.Bytes());
    // No movement: the first consumption and return (80, 84) keep their filling, counts are 0.
    RegistroOP apontamento = mes.Novo(ArquivoOP::AP)
                                 .Preenche(static_cast<uint8_t>(200 + i))
                                 .Campo(CampoOP::APSituacao, kSegundaTabela[i].letra)
                                 .Campo(CampoOP::APEntrada, 0)
                                 .Campo(CampoOP::APRefugo, 0)
                                 .Campo(CampoOP::APQuantidadeConsumos, 0)
                                 .Campo(CampoOP::APQuantidadeRetornos, 0);
    mes.Acrescenta(apontamento);
    apontamentos.push_back(apontamento.Bytes());
  }
  mes.Cria(ArquivoOP::RI);
  mes.Cria(ArquivoOP::ME);
  mes.Escreve(DiretorioPP(empresa_.GetInstalacao()));
  ParaAntesDaV04();

  EXPECT_EQ(Converte(2), kErro1615);
  EXPECT_EQ(VersaoOP(), 3);

  std::vector<std::string> esperados;
  for (size_t i = 0; i < ordens.size(); ++i) {
    esperados.push_back(ordens[i]);
    esperados.back()[158] = static_cast<char>(kSituacoes[i].codigo);
  }
  Compara(ArquivoOP::OP, kJaneiro, 256, esperados);
  esperados.clear();
  for (size_t i = 0; i < processos.size(); ++i) {
    esperados.push_back(Aplica(processos[i], 90, kProcessoV3));
    esperados.back()[55] = static_cast<char>(letrasProcessos[i].second);
  }
  Compara(ArquivoOP::PR, kJaneiro, 90, esperados);
  esperados.clear();
  for (size_t i = 0; i < itens.size(); ++i) {
    esperados.push_back(Aplica(itens[i], 90, kItemV3));
    esperados.back()[56] = static_cast<char>(kSegundaTabela[i].codigo);
  }
  Compara(ArquivoOP::IT, kJaneiro, 90, esperados);
  // Without a production entry 137 stays 0, and 60, 64, 80, 84 too: no copy was made.
  esperados.clear();
  for (size_t i = 0; i < apontamentos.size(); ++i) {
    esperados.push_back(Aplica(apontamentos[i], 170, kApontamentoV3));
    esperados.back()[130] = static_cast<char>(kSegundaTabela[i].codigo);
  }
  Compara(ArquivoOP::AP, kJaneiro, 170, esperados);
  Compara(ArquivoOP::ME, kJaneiro, 80, {});
  Compara(ArquivoOP::LT, kJaneiro, 26, {});
}

TEST_F(ConversaoOP, V02ToV03CopiesTheMovementsOfEachReportWithTheirBatchesAndFreesWhatTheServerReturned) {
  std::vector<MovimentoSemeadoES> semeados = {
      MovimentoExemploES(1, kJaneiro, 12, true, true),    // consumption with batch
      MovimentoExemploES(2, kJaneiro, 12, false, true),   // consumption without batch
      MovimentoExemploES(3, kJaneiro, 13, false, true),   // scrap entry
      MovimentoExemploES(4, kJaneiro, 11, true, true),    // production entry with batch
      MovimentoExemploES(5, kJaneiro, 12, true, false),   // a return's, batch number of 33 characters
      MovimentoExemploES(6, kJaneiro, 12, false, false),  // the same return's
      MovimentoExemploES(7, kJaneiro, 12, false, true),   // the second report's consumption
      MovimentoExemploES(8, kJaneiro, 12, false, false),  // named by a PPME record that no report reaches
  };
  _REG_ES_LOTEPS lote = semeados[4].registro.regLotePS;
  std::strcpy(lote.cNumeroLote, "LOTE-5-ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  semeados[4].registro.regLotePS = lote;
  const std::vector<MovimentoLidoES> m = Semeia(semeados);
  ASSERT_EQ(m.size(), semeados.size());
  const uint16_t lancamentos = m[0].registro.iQuantidadeContabil;
  ASSERT_EQ(lancamentos, 1) << "the server gives the movement's arrays back";

  MesOP mes(kJaneiro, 2);
  mes.Acrescenta(mes.Novo(ArquivoOP::OP).Preenche(1).Campo(CampoOP::OPSituacao, 'N').Campo(CampoOP::OPQuantidadeProcessos, 0));
  // PPME 1..6: the consumptions, the return's two, the unreached one, the second report's.
  for (size_t k : {0, 1, 4, 5, 7, 6}) mes.Acrescenta(mes.Novo(ArquivoOP::ME).Campo(CampoOP::MEChave, m[k].chave));
  // PPRI 1 is named by no report; PPRI 2 has two movements, PPRI 3 none (its 24 keeps its filling).
  mes.Acrescenta(mes.Novo(ArquivoOP::RI).Preenche(30).Campo(CampoOP::RIPrimeiroMovimento, 5).Campo(CampoOP::RIQuantidadeMovimentos, 1));
  const RegistroOP retorno1 =
      mes.Novo(ArquivoOP::RI).Preenche(31).Campo(CampoOP::RIPrimeiroMovimento, 3).Campo(CampoOP::RIQuantidadeMovimentos, 2);
  const RegistroOP retorno2 = mes.Novo(ArquivoOP::RI).Preenche(32).Campo(CampoOP::RIQuantidadeMovimentos, 0);
  mes.Acrescenta(retorno1);
  mes.Acrescenta(retorno2);
  const RegistroOP apontamento1 = mes.Novo(ArquivoOP::AP)
                                      .Preenche(40)
                                      .Campo(CampoOP::APPrimeiroConsumo, 1)
                                      .Campo(CampoOP::APQuantidadeConsumos, 2)
                                      .Campo(CampoOP::APRefugo, m[2].chave)
                                      .Campo(CampoOP::APEntrada, m[3].chave)
                                      .Campo(CampoOP::APPrimeiroRetorno, 2)
                                      .Campo(CampoOP::APQuantidadeRetornos, 2)
                                      .Campo(CampoOP::APSituacao, 'P');
  const RegistroOP apontamento2 = mes.Novo(ArquivoOP::AP)
                                      .Preenche(41)
                                      .Campo(CampoOP::APPrimeiroConsumo, 6)
                                      .Campo(CampoOP::APQuantidadeConsumos, 1)
                                      .Campo(CampoOP::APRefugo, 0)
                                      .Campo(CampoOP::APEntrada, 0)
                                      .Campo(CampoOP::APQuantidadeRetornos, 0)
                                      .Campo(CampoOP::APSituacao, 'N');
  mes.Acrescenta(apontamento1);
  mes.Acrescenta(apontamento2);
  mes.Escreve(DiretorioPP(empresa_.GetInstalacao()));
  ParaAntesDaV04();

  const int32_t blocos = TaskMemoryOutstandingBlocks();
  EXPECT_EQ(Converte(2), kErro1615);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos) << "task-allocator blocks left behind";
  EXPECT_EQ(VersaoOP(), 3);

  // Copies in the order of the report: consumptions, scrap, production entry, each return's
  // movements before the return; then the next report.
  Compara(ArquivoOP::LT, kJaneiro, 26,
          {LoteV3(m[0], std::string("LOTE-1") + std::string(14, '\0')),
           LoteV3(m[3], std::string("LOTE-4") + std::string(14, '\0')), LoteV3(m[4], "LOTE-5-ABCDEFGHIJKLM")});
  Compara(ArquivoOP::ME, kJaneiro, 80,
          {MovimentoV3(m[0], 1), MovimentoV3(m[1], 0), MovimentoV3(m[2], 0), MovimentoV3(m[3], 2),
           MovimentoV3(m[4], 3), MovimentoV3(m[5], 0), MovimentoV3(m[6], 0)});
  std::string novoRetorno1 = Aplica(retorno1.Bytes(), 32, kRetornoV3);
  Poe(novoRetorno1, 24, 5, 4);
  Compara(ArquivoOP::RI, kJaneiro, 32, {novoRetorno1, Aplica(retorno2.Bytes(), 32, kRetornoV3)});
  std::string novo1 = Aplica(apontamento1.Bytes(), 170, kApontamentoV3);
  Poe(novo1, 60, 4, 4);  // PPME of the production entry
  Poe(novo1, 64, 3, 4);  // of the scrap entry
  Poe(novo1, 80, 1, 4);  // of the first consumption
  Poe(novo1, 84, 1, 4);  // PPRI of the first return
  Poe(novo1, 130, 3, 1);
  Poe(novo1, 137, 1, 1);
  std::string novo2 = Aplica(apontamento2.Bytes(), 170, kApontamentoV3);
  Poe(novo2, 80, 7, 4);
  Poe(novo2, 130, 2, 1);
  Compara(ArquivoOP::AP, kJaneiro, 170, {novo1, novo2});
}

// Mended: a month of reports without order headers kept its old records under the new version, which
// every later step and every reader would take in the new layout; its reports are converted too.
TEST_F(ConversaoOP, V02ToV03ConvertsTheReportsOfAMonthWithoutOrderHeaders) {
  const std::vector<MovimentoLidoES> m =
      Semeia({MovimentoExemploES(9, kFevereiro, 12, false, false), MovimentoExemploES(10, kFevereiro, 11, true, false)});
  ASSERT_EQ(m.size(), 2u);
  MesOP mes(kFevereiro, 2);
  mes.Acrescenta(mes.Novo(ArquivoOP::ME).Campo(CampoOP::MEChave, m[0].chave));
  const RegistroOP apontamento = mes.Novo(ArquivoOP::AP)
                                     .Preenche(50)
                                     .Campo(CampoOP::APPrimeiroConsumo, 1)
                                     .Campo(CampoOP::APQuantidadeConsumos, 1)
                                     .Campo(CampoOP::APRefugo, 0)
                                     .Campo(CampoOP::APEntrada, m[1].chave)
                                     .Campo(CampoOP::APQuantidadeRetornos, 0)
                                     .Campo(CampoOP::APSituacao, 'R');
  mes.Acrescenta(apontamento);
  mes.Cria(ArquivoOP::RI);
  mes.Escreve(DiretorioPP(empresa_.GetInstalacao()));
  ParaAntesDaV04();

  EXPECT_EQ(Converte(2), kErro1615);
  EXPECT_EQ(VersaoOP(), 3);
  std::string novo = Aplica(apontamento.Bytes(), 170, kApontamentoV3);
  Poe(novo, 60, 2, 4);
  Poe(novo, 80, 1, 4);
  Poe(novo, 130, 4, 1);
  Poe(novo, 137, 1, 1);
  Compara(ArquivoOP::AP, kFevereiro, 170, {novo});
  Compara(ArquivoOP::ME, kFevereiro, 80, {MovimentoV3(m[0], 0), MovimentoV3(m[1], 1)});
  Compara(ArquivoOP::LT, kFevereiro, 26, {LoteV3(m[1], std::string("LOTE-10") + std::string(13, '\0'))});
  Compara(ArquivoOP::RI, kFevereiro, 32, {});
}

class SemServidorMovimentos : public ConversaoOP {
 protected:
  // A month that V02->V03 would convert, movements included; nothing of it may change.
  void Verifica(HRESULT esperado, const char* linha) {
    MesOP mes(kJaneiro, 2);
    mes.Acrescenta(mes.Novo(ArquivoOP::OP).Preenche(1).Campo(CampoOP::OPSituacao, 'N').Campo(CampoOP::OPPrimeiroProcesso, 1).Campo(CampoOP::OPQuantidadeProcessos, 1));
    mes.Acrescenta(mes.Novo(ArquivoOP::PR).Preenche(2).Campo(CampoOP::PRSituacao, 'N'));
    mes.Acrescenta(mes.Novo(ArquivoOP::IT).Preenche(3).Campo(CampoOP::ITSituacao, 'N'));
    mes.Acrescenta(mes.Novo(ArquivoOP::ME).Campo(CampoOP::MEChave, ChaveOP(kJaneiro, 1)));
    mes.Acrescenta(mes.Novo(ArquivoOP::AP)
                       .Preenche(4)
                       .Campo(CampoOP::APPrimeiroConsumo, 1)
                       .Campo(CampoOP::APQuantidadeConsumos, 1)
                       .Campo(CampoOP::APRefugo, 0)
                       .Campo(CampoOP::APEntrada, 0)
                       .Campo(CampoOP::APQuantidadeRetornos, 0));
    mes.Cria(ArquivoOP::RI);
    mes.Escreve(DiretorioPP(empresa_.GetInstalacao()));

    EXPECT_EQ(Converte(2), esperado);
    EXPECT_EQ(VersaoOP(), 2);
    EXPECT_FALSE(HaTRA());
    for (const auto& [nome, bytes] : mes.Arquivos()) EXPECT_EQ(empresa_.Le(nome), bytes) << nome << " changed";
    EXPECT_FALSE(empresa_.Existe(NomeArquivoOP(ArquivoOP::LT, kJaneiro)));
    VerificaLinhas(empresa_.Linhas(), 0, {linha});
    EXPECT_EQ(familia_.estoque.Movimento.Vivos(), 0) << "the movements server was not released";
  }
};

TEST_F(SemServidorMovimentos, V02ToV03WithoutTheMovementsServerEndsBeforeAnyFileWithTheCreationsResult) {
  ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + GuidToText(CLSID_QVES_Movimento)).c_str()), ERROR_SUCCESS);
  Verifica(REGDB_E_CLASSNOTREG, "AtualizaV02_p_V03 -> instanciar servidor de movimentos do ES");
}

TEST_F(SemServidorMovimentos, V02ToV03WhoseMovementsServerRefusesToStartEndsBeforeAnyFileWithItsResult) {
  familia_.estoque.Movimento.FalhaInicializacao(kFalha);
  Verifica(kFalha, "AtualizaV02_p_V03 -> iniciar servidor de movimentos");
  const std::vector<InicializacaoFamilia> inicializacoes = familia_.estoque.Movimento.Inicializacoes();
  ASSERT_EQ(inicializacoes.size(), 1u);
  EXPECT_EQ(inicializacoes[0].empresa, Instalacao::kEmpresa);
  EXPECT_EQ(inicializacoes[0].usuario, kUsuarioTeste);
  EXPECT_EQ(inicializacoes[0].sessao, 0);
  EXPECT_EQ(inicializacoes[0].modulo, 1282);
  familia_.estoque.Movimento.FalhaInicializacao(S_OK);
}

TEST_F(ConversaoOP, V02ToV03StopsAtAnUnreadableMovementWithTheReadsResult) {
  const std::vector<MovimentoLidoES> m = Semeia({MovimentoExemploES(1, kJaneiro, 12, false, false)});
  ASSERT_EQ(m.size(), 1u);
  ASSERT_EQ(m[0].chave, ChaveOP(kJaneiro, 1));  // 0124-000001
  const uint32_t boa = m[0].chave;
  struct Caso {
    const char* nome;
    std::vector<uint32_t> consumos;
    uint32_t refugo;
    uint32_t entrada;
    std::vector<uint32_t> retorno;  // the movements of the report's one return
    bool bFalhaLeitura;             // the server's first read fails with kFalha
    HRESULT esperado;
    std::vector<std::string> linhas;
  } casos[] = {
      {"consumption", {boa, ChaveOP(kJaneiro, 99)}, 0, 0, {}, false, kFamiliaNaoEncontrado,
       {"AtualizaV02_p_V03 -> ler movimento 0124-000099", "AtualizaV02_p_V03 -> gravar movimento de baixa"}},
      {"production entry", {boa}, 0, ChaveOP(kJaneiro, 98), {}, false, kFamiliaNaoEncontrado,
       {"AtualizaV02_p_V03 -> ler movimento 0124-000098", "AtualizaV02_p_V03 -> gravar movimento de entrada 0124-000098"}},
      {"scrap entry", {}, boa, 0, {}, true, kFalha,
       {"AtualizaV02_p_V03 -> ler movimento 0124-000001",
        "AtualizaV02_p_V03 -> gravar movimento de entrada de refugo 0124-000001"}},
      {"return", {}, 0, 0, {boa, ChaveOP(kJaneiro, 97)}, false, kFamiliaNaoEncontrado,
       {"AtualizaV02_p_V03 -> ler movimento 0124-000097",
        "AtualizaV02_p_V03 -> gravar movimento de baixa - ret. ind. externa"}},
  };
  const std::map<std::string, std::string> inicial = empresa_.Arquivos();
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    empresa_.Restaura(inicial);
    MesOP mes(kJaneiro, 2);
    mes.Acrescenta(mes.Novo(ArquivoOP::OP).Preenche(1).Campo(CampoOP::OPSituacao, 'N').Campo(CampoOP::OPQuantidadeProcessos, 0));
    for (uint32_t chave : caso.consumos) mes.Acrescenta(mes.Novo(ArquivoOP::ME).Campo(CampoOP::MEChave, chave));
    for (uint32_t chave : caso.retorno) mes.Acrescenta(mes.Novo(ArquivoOP::ME).Campo(CampoOP::MEChave, chave));
    mes.Cria(ArquivoOP::ME);
    mes.Cria(ArquivoOP::RI);
    if (!caso.retorno.empty())
      mes.Acrescenta(mes.Novo(ArquivoOP::RI)
                         .Campo(CampoOP::RIPrimeiroMovimento, caso.consumos.size() + 1)
                         .Campo(CampoOP::RIQuantidadeMovimentos, caso.retorno.size()));
    mes.Acrescenta(mes.Novo(ArquivoOP::AP)
                       .Preenche(60)
                       .Campo(CampoOP::APPrimeiroConsumo, caso.consumos.empty() ? 0 : 1)
                       .Campo(CampoOP::APQuantidadeConsumos, caso.consumos.size())
                       .Campo(CampoOP::APRefugo, caso.refugo)
                       .Campo(CampoOP::APEntrada, caso.entrada)
                       .Campo(CampoOP::APPrimeiroRetorno, caso.retorno.empty() ? 0 : 1)
                       .Campo(CampoOP::APQuantidadeRetornos, caso.retorno.empty() ? 0 : 1));
    mes.Escreve(DiretorioPP(empresa_.GetInstalacao()));
    if (caso.bFalhaLeitura) familia_.estoque.Movimento.FalhaMetodo("LeMovimento", 1, kFalha);
    const size_t linhasAntes = empresa_.Linhas().size();

    EXPECT_EQ(Converte(2), caso.esperado);
    EXPECT_EQ(VersaoOP(), 2);
    for (const auto& [nome, bytes] : mes.Arquivos()) EXPECT_EQ(empresa_.Le(nome), bytes) << nome << " changed";
    VerificaLinhas(empresa_.Linhas(), linhasAntes, caso.linhas);
  }
}

// ---------------------------------------------------------------------------------------------------
// V05->V06

TEST_F(ConversaoOP, V05ToV06GivesAReturnWithAValueAtOldOffset56Or60ItsPPTIAndPPTARecords) {
  struct Retorno {
    int64_t valor0;   // old 0..7
    int64_t valor8;   // old 8..15
    uint32_t ti;      // old 56
    uint32_t ta;      // old 60
  };
  const std::vector<Retorno> janeiro = {
      {1, 2, 0, 0}, {0x100000000, 1, 0x11223344, 7}, {1000, 3000, 0, 9}, {50, 20, 5, 0}, {3, 4, 0, 0}};
  const std::vector<Retorno> fevereiro = {{10, 4, 0, 3}};
  std::map<uint16_t, std::vector<std::string>> antigos;
  for (const auto& [usMesAno, retornos] : {std::pair{kJaneiro, janeiro}, std::pair{kFevereiro, fevereiro}}) {
    MesOP mes(usMesAno, 5);
    mes.Cria(ArquivoOP::OP);
    for (size_t i = 0; i < retornos.size(); ++i) {
      RegistroOP retorno = mes.Novo(ArquivoOP::RI)
                               .Preenche(static_cast<uint8_t>(usMesAno + 16 * i))
                               .Poe64(0, retornos[i].valor0)
                               .Poe64(8, retornos[i].valor8)
                               .Campo(CampoOP::RIValorTI, retornos[i].ti)
                               .Campo(CampoOP::RIRegistroTA, retornos[i].ta);
      mes.Acrescenta(retorno);
      antigos[usMesAno].push_back(retorno.Bytes());
    }
    mes.Escreve(DiretorioPP(empresa_.GetInstalacao()));
  }

  EXPECT_EQ(Converte(5), S_OK);
  EXPECT_EQ(VersaoOP(), 9);

  auto retornoV6 = [&](uint16_t mes, size_t i, uint32_t ti) {
    std::string novo = Aplica(antigos[mes][i], 90, kRetornoV6);
    if (ti != 0) {
      Poe(novo, 36, ti, 4);
      Poe(novo, 60, 1, 2);
    }
    return novo;
  };
  auto ti = [](uint64_t diferenca, uint32_t valor56, uint32_t ta) {
    std::string novo(64, '\0');
    Poe(novo, 0, diferenca, 8);
    Poe(novo, 16, valor56, 4);
    Poe(novo, 20, ta, 4);
    Poe(novo, 28, 1, 2);
    return novo;
  };
  Compara(ArquivoOP::RI, kJaneiro, 90,
          {retornoV6(kJaneiro, 0, 0), retornoV6(kJaneiro, 1, 1), retornoV6(kJaneiro, 2, 2), retornoV6(kJaneiro, 3, 3),
           retornoV6(kJaneiro, 4, 0)});
  Compara(ArquivoOP::TI, kJaneiro, 64,
          {ti(0x0FFFFFFFF, 0x11223344, 1), ti(static_cast<uint64_t>(-2000), 0, 2), ti(30, 5, 3)});
  // The period key of the old value at 60 in the file's month: record number 0 too.
  Compara(ArquivoOP::TA, kJaneiro, 4, {Valor32((7 << 12) | kJaneiro), Valor32((9 << 12) | kJaneiro), Valor32(kJaneiro)});
  Compara(ArquivoOP::RI, kFevereiro, 90, {retornoV6(kFevereiro, 0, 1)});
  Compara(ArquivoOP::TI, kFevereiro, 64, {ti(6, 0, 1)});
  Compara(ArquivoOP::TA, kFevereiro, 4, {Valor32((3 << 12) | kFevereiro)});
}

// ---------------------------------------------------------------------------------------------------
// V06->V07

// The invoices that reports name, and their customers.
constexpr uint32_t kNota = (3 << 12) | kMarco;   // 0324-000003
constexpr uint32_t kNota2 = (4 << 12) | kMarco;  // 0324-000004
constexpr int32_t kCliente = 5151;
constexpr int32_t kCliente2 = 6262;
// The processes as reports name them (old PPPR 28, old PPAP 76).
constexpr uint32_t kProcessoA = 171;
constexpr uint32_t kProcessoB = 172;
constexpr uint32_t kProcessoC = 173;

// March at version 6. Order 1 holds old processes 5 and 6, order 2 old 1..3, order 3 none; old 4
// belongs to no order. Reports name an order by its record number (68) and a process (76); a
// process's byte 54 says whether it has reports.
struct MarcoV6 {
  std::vector<std::string> ordens, processos, apontamentos, movimentos;
};

MarcoV6 EscreveMarcoV6(const Instalacao& instalacao) {
  MarcoV6 v6;
  MesOP mes(kMarco, 6);
  for (auto [primeiro, quantidade] : {std::pair<uint32_t, uint16_t>{5, 2}, {1, 3}, {0, 0}}) {
    RegistroOP ordem = mes.Novo(ArquivoOP::OP)
                           .Preenche(static_cast<uint8_t>(10 + primeiro))
                           .Campo(CampoOP::OPPrimeiroProcesso, primeiro)
                           .Campo(CampoOP::OPQuantidadeProcessos, quantidade);
    mes.Acrescenta(ordem);
    v6.ordens.push_back(ordem.Bytes());
  }
  struct Processo {
    int64_t tempo;  // 4 decimals
    uint32_t ponteiro;
    bool apontado;
  };
  const Processo processos[] = {{20000, kProcessoA, true}, {70000, kProcessoB, false}, {0, kProcessoC, true},
                                {30000, 174, true},        {-10000, kProcessoA, true}, {5000, 175, true}};
  for (size_t i = 0; i < std::size(processos); ++i) {
    RegistroOP processo = mes.Novo(ArquivoOP::PR)
                              .Preenche(static_cast<uint8_t>(40 + 9 * i))
                              .Campo(CampoOP::PRTempo, processos[i].tempo)
                              .Campo(CampoOP::PRPonteiroProcesso, processos[i].ponteiro)
                              .Campo(CampoOP::PRComApontamentos, processos[i].apontado ? 1 : 0);
    mes.Acrescenta(processo);
    v6.processos.push_back(processo.Bytes());
  }
  struct Apontamento {
    uint32_t ordem;
    uint32_t processo;
    uint32_t nota;     // old 56
    uint32_t remessa;  // old 104
    uint32_t entrada;  // old 60
  };
  const Apontamento apontamentos[] = {
      {2, kProcessoA, kNota, 0, 3}, {1, kProcessoA, 0, 2, 0},         {1, 999, 0, 0, 0},
      {2, kProcessoA, 0, 0xFFFFFFF0, 1}, {1, 175, kNota2, 1, 0}, {2, kProcessoB, 0, 1, 0}};
  for (size_t i = 0; i < std::size(apontamentos); ++i) {
    RegistroOP apontamento = mes.Novo(ArquivoOP::AP)
                                 .Preenche(static_cast<uint8_t>(90 + 11 * i))
                                 .Campo(CampoOP::APOrdem, apontamentos[i].ordem)
                                 .Campo(CampoOP::APPonteiroProcesso, apontamentos[i].processo)
                                 .Campo(CampoOP::APNotaFiscal, apontamentos[i].nota)
                                 .Campo(CampoOP::APRemessa, apontamentos[i].remessa)
                                 .Campo(CampoOP::APEntrada, apontamentos[i].entrada);
    mes.Acrescenta(apontamento);
    v6.apontamentos.push_back(apontamento.Bytes());
  }
  for (uint8_t i = 0; i < 2; ++i) {
    RegistroOP movimento = mes.Novo(ArquivoOP::ME).Preenche(static_cast<uint8_t>(170 + 3 * i));
    mes.Acrescenta(movimento);
    v6.movimentos.push_back(movimento.Bytes());
  }
  mes.Acrescenta(mes.Novo(ArquivoOP::RM).Preenche(200).Campo(CampoOP::RMCliente, 0x01020304));
  mes.Acrescenta(mes.Novo(ArquivoOP::RM).Preenche(201).Campo(CampoOP::RMCliente, 0x0A0B0C0D));
  mes.Escreve(DiretorioPP(instalacao));
  return v6;
}

// An order header of version 7 (first process, number of processes) through V07->V08 and V08->V09.
std::string OrdemV9(const std::string& antigo, uint32_t primeiro, uint16_t quantidade) {
  std::string v7 = antigo;
  Poe(v7, 48, primeiro, 4);
  Poe(v7, 96, quantidade, 2);
  std::string v9 = Aplica(v7, 256, kOrdemV8);
  v9[182] = 'P';
  return v9;
}

TEST_F(ConversaoOP, V06ToV07RebuildsTheProcessesOfEachOrderWithTheirRatesAndReportLists) {
  ASSERT_EQ(SemeiaNotasFiscaisOP(Instalacao::kEmpresa, {{kNota, kCliente}, {kNota2, kCliente2}}), S_OK);
  const MarcoV6 v6 = EscreveMarcoV6(empresa_.GetInstalacao());

  EXPECT_EQ(Converte(6), S_OK);
  EXPECT_EQ(VersaoOP(), 9);

  // Appended in the order of the headers: old 5, 6 (order 1), old 1, 2, 3 (order 2); old 4 is gone.
  Compara(ArquivoOP::OP, kMarco, 256,
          {OrdemV9(v6.ordens[0], 1, 2), OrdemV9(v6.ordens[1], 3, 3), OrdemV9(v6.ordens[2], 0, 0)});
  // A process with reports lists those of its order (68 = j) and process (76): old 5 of order 1
  // report 2; old 6 report 5; old 1 of order 2 reports 1 and 4; old 2 none, not being marked
  // (report 6 would match); old 3, marked, none matches.
  Compara(ArquivoOP::RA, kMarco, 4, {Valor32(2), Valor32(5), Valor32(1), Valor32(4)});
  struct Novo {
    size_t antigo;
    uint64_t taxa;  // 60 / the time at new 32, 8 decimals
    uint32_t primeiro;
    uint16_t quantidade;
  };
  const Novo novos[] = {
      {4, 0, 1, 1},             // time -1.0
      {5, 12000000000, 2, 1},   // 0.5: 120
      {0, 3000000000, 3, 2},    // 2.0: 30
      {1, 857142857, 0, 0},     // 7.0: 8.57142857
      {2, 0, 0, 0},             // 0
  };
  std::vector<std::string> esperados;
  for (const Novo& novo : novos) {
    esperados.push_back(Aplica(v6.processos[novo.antigo], 128, kProcessoV7));
    Poe(esperados.back(), 24, novo.taxa, 8);
    Poe(esperados.back(), 68, novo.primeiro, 4);
    Poe(esperados.back(), 82, novo.quantidade, 2);
  }
  Compara(ArquivoOP::PR, kMarco, 128, esperados);
}

TEST_F(ConversaoOP, V06ToV07TakesTheCustomerOfAReportFromItsInvoiceElseFromItsShipment) {
  ASSERT_EQ(SemeiaNotasFiscaisOP(Instalacao::kEmpresa, {{kNota, kCliente}, {kNota2, kCliente2}}), S_OK);
  const MarcoV6 v6 = EscreveMarcoV6(empresa_.GetInstalacao());

  EXPECT_EQ(Converte(6), S_OK);
  EXPECT_EQ(VersaoOP(), 9);

  const struct {
    uint32_t cliente;
    uint16_t comEntrada;  // old 60 above 0
  } clientes[] = {
      {kCliente, 1},    // the invoice
      {0x0A0B0C0D, 0},  // shipment 2
      {0, 0},           // neither
      {0, 1},           // a shipment below 0 is none
      {kCliente2, 0},   // the invoice before the shipment
      {0x01020304, 0},  // shipment 1
  };
  std::vector<std::string> esperados;
  for (size_t i = 0; i < std::size(clientes); ++i) {
    esperados.push_back(Aplica(v6.apontamentos[i], 200, kApontamentoV7));
    Poe(esperados.back(), 132, clientes[i].cliente, 4);
    Poe(esperados.back(), 160, clientes[i].comEntrada, 2);
  }
  Compara(ArquivoOP::AP, kMarco, 200, esperados);
  Compara(ArquivoOP::ME, kMarco, 104,
          {Aplica(v6.movimentos[0], 104, kMovimentoV7), Aplica(v6.movimentos[1], 104, kMovimentoV7)});
}

TEST_F(ConversaoOP, V06ToV07StopsAtAnUnreadableInvoiceWithTheReadsResult) {
  ASSERT_EQ(SemeiaNotasFiscaisOP(Instalacao::kEmpresa, {{kNota, kCliente}}), S_OK);
  MesOP mes(kMarco, 6);
  mes.Acrescenta(mes.Novo(ArquivoOP::OP).Preenche(1).Campo(CampoOP::OPQuantidadeProcessos, 0));
  mes.Cria(ArquivoOP::PR);
  mes.Cria(ArquivoOP::ME);
  mes.Acrescenta(mes.Novo(ArquivoOP::AP).Preenche(2).Campo(CampoOP::APNotaFiscal, kNota).Campo(CampoOP::APRemessa, 0));
  mes.Escreve(DiretorioPP(empresa_.GetInstalacao()));
  familia_.base.NotasFiscais.FalhaMetodo("LeLight", 1, kFalha);

  EXPECT_EQ(Converte(6), kFalha);
  EXPECT_EQ(VersaoOP(), 6);
  for (const auto& [nome, bytes] : mes.Arquivos()) EXPECT_EQ(empresa_.Le(nome), bytes) << nome << " changed";
  bool nomeada = false;
  for (const std::string& linha : empresa_.Linhas())
    nomeada |= linha.rfind("AtualizaV06_p_V07", 0) == 0 && linha.find("0324-000003") != std::string::npos;
  EXPECT_TRUE(nomeada) << "no line of the step names the invoice 0324-000003";
}

}  // namespace

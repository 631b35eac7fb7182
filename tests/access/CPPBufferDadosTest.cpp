// The entity caches against the family's stand-in servers on a replaced clock: when the timer drops
// them (the interval, its wrap, switching it on and off, the 32-bit interval), how a load sizes a
// table, what a hit spares (no server call, no master read), what survives LimparBuffer, the
// whole-loaded users under their own keys, the look-ups by code, grid items of different grids
// kept apart, the product-or-service summary, and another process's price change seen only after
// the refresh interval.
#include "access/CPPBufferDados.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/family/base/UsuarioDF.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "platform/family/vendas/PedidoFT.h"
#include "platform/win32/clock.h"
#include "tests/access/MestreFalso.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
constexpr uint16_t kTabela1 = 1;
constexpr uint16_t kTabela2 = 2;

template <size_t N>
void Texto(char (&campo)[N], const char* texto) {
  std::memset(campo, 0, N);
  std::strncpy(campo, texto, N - 1);
}

CY Reais(int64_t reais) {
  CY valor;
  valor.int64 = reais * 10000;
  return valor;
}

// ---------------------------------------------------------------------------------------------
// The timer alone, on a buffer whose LimparBuffer only counts.

class BufferContado : public CPPBuffer {
 public:
  void LimparBuffer(bool mantemSaldos) override {
    ++limpezas;
    ultimoMantemSaldos = mantemSaldos;
  }
  using CPPBuffer::Refresh;
  int limpezas = 0;
  bool ultimoMantemSaldos = false;
};

TEST(CPPBufferTest, StartsOffWithTwoMinutesAndNeverDropsWhileOff) {
  TestClock relogio;
  BufferContado buffer;
  EXPECT_FALSE(buffer.GetRefresh());
  EXPECT_EQ(buffer.GetUltimoRefresh(), 0u);
  EXPECT_EQ(buffer.GetIntervaloRefresh(), 120000u);
  relogio.Advance(10 * 60 * 1000);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 0);
}

TEST(CPPBufferTest, DropsOnlyStrictlyPastTheIntervalKeepingTheBalances) {
  TestClock relogio;
  BufferContado buffer;
  buffer.SetRefresh(true);
  const uint32_t inicio = GetTickCount();
  EXPECT_EQ(buffer.GetUltimoRefresh(), inicio);
  relogio.Advance(120000);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 0);
  relogio.Advance(1);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 1);
  EXPECT_TRUE(buffer.ultimoMantemSaldos);
  // The interval starts again from the refresh.
  EXPECT_EQ(buffer.GetUltimoRefresh(), inicio + 120001);
  relogio.Advance(120000);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 1);
}

TEST(CPPBufferTest, IntervalZeroDropsAtEveryLaterTickButNotTwiceInOne) {
  TestClock relogio;
  BufferContado buffer;
  buffer.SetMinutesToRefresh(0);
  buffer.SetRefresh(true);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 0);
  for (int i = 1; i <= 3; ++i) {
    relogio.Advance(1);
    buffer.Refresh();
    buffer.Refresh();
    EXPECT_EQ(buffer.limpezas, i);
  }
}

TEST(CPPBufferTest, TheWrapOfTheTickCountGivesASmallDifference) {
  TestClock relogio;
  BufferContado buffer;
  relogio.SetTickCount(0xFFFFFF00u);
  buffer.SetRefresh(true);
  relogio.SetTickCount(0x00000100u);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 0);
  // 0x200 ms after the wrap plus the interval: due.
  relogio.SetTickCount(0x00000100u + 120000u);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 1);
}

TEST(CPPBufferTest, SwitchingOffForgetsTheLastRefreshAndOnRestartsTheInterval) {
  TestClock relogio;
  BufferContado buffer;
  buffer.SetRefresh(true);
  relogio.Advance(100000);
  buffer.SetRefresh(false);
  EXPECT_EQ(buffer.GetUltimoRefresh(), 0u);
  relogio.Advance(100000);
  buffer.SetRefresh(true);
  EXPECT_EQ(buffer.GetUltimoRefresh(), GetTickCount());
  relogio.Advance(120000);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 0);
  relogio.Advance(1);
  buffer.Refresh();
  EXPECT_EQ(buffer.limpezas, 1);
}

TEST(CPPBufferTest, MinutesAreMultipliedIn32Bits) {
  BufferContado buffer;
  const struct {
    uint32_t minutos;
    uint32_t intervalo;
  } casos[] = {{0, 0}, {1, 60000}, {71582, 4294920000u}, {71583, 12704}, {0xFFFFFFFFu, 0xFFFF15A0u}};
  for (const auto& caso : casos) {
    buffer.SetMinutesToRefresh(caso.minutos);
    EXPECT_EQ(buffer.GetIntervaloRefresh(), caso.intervalo) << caso.minutos;
  }
}

TEST(CPPBufferTest, TableSizeIsTheCountTimesOnePointTwoOneTruncated) {
  const struct {
    uint32_t quantidade;
    uint32_t tamanho;
  } casos[] = {{1, 1}, {3, 3}, {7, 8}, {100, 121}, {200, 242}, {10000, 12100}, {99999, 120998}};
  for (const auto& caso : casos)
    EXPECT_EQ(CPPBufferDados::TamanhoTabelaDaContagem(caso.quantidade), caso.tamanho) << caso.quantidade;
}

// ---------------------------------------------------------------------------------------------
// The caches over the family's stand-ins.


// Company TESTE with three products (10 "A1" on grid 5 with unit 1, 20 "B2" and 30 "C3" without
// a grid, unit 2), one service "S1", prices under tables 1 and 2, the grid items grid 1 item 300
// and grid 2 item 44 (both code "AB") and grid 5 item 2, a price item and a grid reference of
// product 10 in grid item 2, two users (keys 7 and 42), two categories and one balance.
class CacheFamilia : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (const char* modulo : {"ES", "CN", "FT", "CM"}) {
      instalacao_.dir().Write(std::string("empresas/TESTE/") + modulo + "/.keep", "");
      instalacao_.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", modulo,
                             instalacao_.dir().windows_path() + "empresas\\TESTE\\" + modulo + "\\");
    }
    ASSERT_EQ(GravaCadastroProdutosDF(Instalacao::kEmpresa, Cadastro()), S_OK);
    ASSERT_EQ(GravaUsuariosDF(Instalacao::kEmpresa, Usuarios()), S_OK);
    std::vector<_REG_CATEGORIAS_PS> categorias(2);
    std::memset(categorias.data(), 0, categorias.size() * sizeof(_REG_CATEGORIAS_PS));
    Texto(categorias[0].szCodigo, "COR");
    Texto(categorias[1].szCodigo, "Tam");
    Texto(categorias[1].szDescricao, "Tamanho");
    ASSERT_EQ(GravaCategoriasDF(Instalacao::kEmpresa, categorias), S_OK);
    SaldoInicialES saldo{};
    saldo.regChave.regPosicaoProduto.lPonteiroProduto = 10;
    saldo.regChave.iPonteiroFilial = 1;
    saldo.vQuantidade = Reais(5);
    ASSERT_EQ(GravaSaldosIniciaisES(Instalacao::kEmpresa, {saldo}), S_OK);
    ASSERT_EQ(familia_.Registra(), S_OK);
    buffer_.Inicializa(Instalacao::kEmpresa, 7, 1234);
    buffer_.SetIMestrePP(&mestre_);
  }
  void TearDown() override {
    buffer_.Finaliza();
    EXPECT_EQ(mestre_.referencias, 1u);
    CoUninitialize();
  }

  static CadastroProdutosDF Cadastro() {
    CadastroProdutosDF c;
    c.produtos.resize(3);
    std::memset(c.produtos.data(), 0, c.produtos.size() * sizeof(_REG_PRODUTOPS));
    const char* codigos[] = {"A1", "B2", "C3"};
    for (size_t i = 0; i < 3; ++i) {
      _REG_PRODUTOPS& p = c.produtos[i];
      p.lPonteiroProduto = static_cast<uint32_t>(10 * (i + 1));
      Texto(p.szCodigo, codigos[i]);
      Texto(p.szNome, (std::string("Produto ") + codigos[i]).c_str());
      p.iPonteiroUnidadeMedidaEstoque = i == 0 ? 1 : 2;
      p.cQuantidadeCasasDecimais = 3;
      p.cTipo = 'P';
      c.precos.push_back({'P', 0, static_cast<uint32_t>(p.lPonteiroProduto), kTabela1, Reais(100 * (i + 1))});
      c.precos.push_back({'P', 0, static_cast<uint32_t>(p.lPonteiroProduto), kTabela2, Reais(1000 * (i + 1))});
    }
    c.produtos[0].iPonteiroGrade1 = 5;
    c.produtos[1].cProdutoDeTerceiros = 1;
    c.servicos.resize(1);
    std::memset(c.servicos.data(), 0, sizeof(_REG_SERVICOSPS));
    Texto(c.servicos[0].szCodigo, "S1");
    Texto(c.servicos[0].szNome, "Montagem");
    c.servicos[0].iPonteiroUnidadeMedida = 1;
    c.servicos[0].cTipo = 'S';
    c.servicos[0].cQuantidadeCasasDecimais = 1;
    c.servicos[0].cInativo = 1;
    c.precos.push_back({'S', 0, 1, kTabela1, Reais(77)});
    c.unidades.resize(2);
    std::memset(c.unidades.data(), 0, c.unidades.size() * sizeof(_REG_UNIDADES_MEDIDAPS));
    Texto(c.unidades[0].szCodigo, "PC");
    c.unidades[0].cCasasDecimais = 2;
    Texto(c.unidades[1].szCodigo, "KG");
    c.unidades[1].cCasasDecimais = 3;
    c.unidadesServico.resize(1);
    std::memset(c.unidadesServico.data(), 0, sizeof(_REG_UNIDADES_MEDIDA_SERVICOSPS));
    Texto(c.unidadesServico[0].szCodigo, "HR");
    c.unidadesServico[0].cCasasDecimais = 1;
    const struct {
      uint16_t grade;
      uint16_t item;
      const char* codigo;
      const char* nome;
    } itens[] = {{1, 300, "AB", "Grade 1 item 300"}, {2, 44, "AB", "Grade 2 item 44"}, {5, 2, "M", "Medio"}};
    for (const auto& i : itens) {
      ItemGradeDF item{};
      item.iGrade = i.grade;
      item.regItem.iPosicao = i.item;
      Texto(item.regItem.szCodigoItemGrade, i.codigo);
      Texto(item.regItem.szNomeItemGrade, i.nome);
      c.itensGrade.push_back(item);
    }
    _REG_REFERENCIA_GRADEPS referencia{};
    referencia.regPosicaoProduto = {10, 2, 0, 0};
    Texto(referencia.szCodigoReferenciaGrade, "REF-M");
    c.referenciasGrade = {referencia};
    for (uint16_t tabela : {kTabela1, kTabela2}) {
      ItemTabelaPrecoDF preco{};
      preco.regFiltro.lPonteiroProduto = 10;
      preco.regFiltro.iPonteiroTabelaPreco = tabela;
      preco.regFiltro.iPonteiroItemGrade1 = 2;
      preco.regItem.vPrecoVendaV8 = Reais(tabela == kTabela1 ? 150 : 1500);
      c.itensTabelaPreco.push_back(preco);
    }
    return c;
  }
  static std::vector<UsuarioDF> Usuarios() {
    std::vector<UsuarioDF> usuarios(2);
    std::memset(usuarios.data(), 0, usuarios.size() * sizeof(UsuarioDF));
    usuarios[0].lChave = 7;
    Texto(usuarios[0].regUsuario.szNome, "Ana");
    usuarios[1].lChave = 42;
    Texto(usuarios[1].regUsuario.szNome, "Bruno");
    return usuarios;
  }

  int64_t PrecoProduto(int32_t ponteiro, uint16_t tabela) {
    CPPDadosProduto produto;
    EXPECT_GE(buffer_.LeBufferProduto(ponteiro, &produto, tabela), 0);
    return produto.GetPrecoVendaV8().int64;
  }
  int32_t CarregaSaldos() {
    CPPDadosFiltroSaldoProdutoES filtro;
    filtro.SetFilial(1);
    return buffer_.InicializaBufferSaldosProdutosES(filtro);
  }
  static _REG_ES_KEY_SALDOS_PRODUTOSPS ChaveSaldo(uint32_t produto) {
    _REG_ES_KEY_SALDOS_PRODUTOSPS chave{};
    chave.regPosicaoProduto.lPonteiroProduto = produto;
    return chave;
  }

  Instalacao instalacao_;
  TestClock relogio_;
  ServidoresFamilia familia_;
  MestreFalso mestre_;
  CPPBufferDados buffer_;
};

TEST_F(CacheFamilia, AHitCallsNoServerAndAMissReadsAndStores) {
  EXPECT_EQ(PrecoProduto(20, kTabela1), Reais(200).int64);
  EXPECT_TRUE(buffer_.GetCarregadoProduto());
  EXPECT_EQ(buffer_.GetMapaProduto().GetTamanhoTabela(), 3u);  // 3 products x 1.21
  EXPECT_EQ(buffer_.GetMapaProduto().GetCount(), 1u);
  familia_.base.Produto.FalhaMetodo("LeProduto", 5, E_FAIL);
  // The cached entity comes back as it was read, under another price table too.
  EXPECT_EQ(PrecoProduto(20, kTabela2), Reais(200).int64);
  CPPDadosProduto produto;
  EXPECT_EQ(buffer_.LeBufferProduto(30, &produto, kTabela1), E_FAIL);
  EXPECT_EQ(buffer_.GetMapaProduto().GetCount(), 1u);
}

TEST_F(CacheFamilia, WithoutTheServerTheLoadAnswersTheHubsErrorAndTriesAgainLater) {
  familia_.base.Produto.FalhaInicializacao(kNegado);
  CPPDadosProduto produto;
  EXPECT_EQ(buffer_.LeBufferProduto(10, &produto, kTabela1), kNegado);
  EXPECT_FALSE(buffer_.GetCarregadoProduto());
  familia_.base.Produto.FalhaInicializacao(S_OK);
  EXPECT_EQ(buffer_.LeBufferProduto(10, &produto, kTabela1), S_OK);
  EXPECT_EQ(produto.GetCodigo(), "A1");
}

TEST_F(CacheFamilia, ACountOfZeroMarksTheCacheLoadedAt17ChainsAndMissesStillReadAndStore) {
  ASSERT_EQ(GravaMunicipiosDF(Instalacao::kEmpresa, {}), S_OK);
  ASSERT_GE(buffer_.InicializaBufferMunicipio(), 0);
  EXPECT_TRUE(buffer_.GetCarregadoMunicipio());
  EXPECT_EQ(buffer_.GetMapaMunicipio().GetTamanhoTabela(), 17u);
  _REG_MUNICIPIO_PS municipio{};
  Texto(municipio.szNome, "Blumenau");
  ASSERT_EQ(GravaMunicipiosDF(Instalacao::kEmpresa, {municipio}), S_OK);
  CPPDadosMunicipio lido;
  EXPECT_EQ(buffer_.LeBufferMunicipio(1, &lido), S_OK);
  EXPECT_EQ(lido.GetNome(), "Blumenau");
  EXPECT_EQ(buffer_.GetMapaMunicipio().GetCount(), 1u);
  EXPECT_EQ(buffer_.GetMapaMunicipio().GetTamanhoTabela(), 17u);
}

TEST_F(CacheFamilia, FixedAndKeptTableSizes) {
  CPPDadosItemTabelaPreco item;
  _REG_FILTRO_LEITURA_TAB_PRECOSPS filtro{};
  filtro.lPonteiroProduto = 10;
  filtro.iPonteiroTabelaPreco = kTabela1;
  filtro.iPonteiroItemGrade1 = 2;
  EXPECT_EQ(buffer_.LeBufferItemTabelaPrecoProduto(filtro, &item), S_OK);
  EXPECT_EQ(item.GetPrecoVendaV8().int64, Reais(150).int64);
  EXPECT_EQ(buffer_.GetMapaItemTabelaPrecoProduto().GetTamanhoTabela(), 1023u);
  CPPDadosGradeProduto itemGrade;
  EXPECT_EQ(buffer_.LeBufferGrade(5, 2, &itemGrade), S_OK);
  EXPECT_EQ(buffer_.GetMapaGrade().GetTamanhoTabela(), 17u);
  // Emptied by LimparBuffer, a table keeps its size for the next load.
  buffer_.LimparBuffer(true);
  EXPECT_EQ(buffer_.GetMapaItemTabelaPrecoProduto().GetTamanhoTabela(), 1023u);
  EXPECT_EQ(buffer_.GetMapaItemTabelaPrecoProduto().GetCount(), 0u);
}

TEST_F(CacheFamilia, IntervalZeroDropsEveryCacheButTheBalancesAtEachLaterAccess) {
  CPPDadosProduto produto;
  CPPDadosUsuario usuario;
  CPPDadosMestre mestre;
  ASSERT_EQ(buffer_.LeBufferProduto(10, &produto, kTabela1), S_OK);
  ASSERT_EQ(buffer_.LeBufferUsuario(7, &usuario), S_OK);
  ASSERT_EQ(buffer_.LeBufferMestrePP(&mestre), S_OK);
  ASSERT_EQ(CarregaSaldos(), S_OK);
  ASSERT_EQ(buffer_.GetMapaSaldosProdutosES().GetCount(), 1u);
  buffer_.SetMinutesToRefresh(0);
  buffer_.SetRefresh(true);
  relogio_.Advance(1);
  CPPDadosUnMedida unidade;
  ASSERT_EQ(buffer_.LeBufferUnMedida(1, &unidade), S_OK);
  EXPECT_FALSE(buffer_.GetCarregadoProduto());
  EXPECT_EQ(buffer_.GetMapaProduto().GetCount(), 0u);
  EXPECT_FALSE(buffer_.GetCarregadoUsuario());
  EXPECT_FALSE(buffer_.GetCarregadoMestrePP());
  EXPECT_TRUE(buffer_.GetCarregadoUnMedida());  // loaded again by the access itself
  EXPECT_TRUE(buffer_.GetCarregadoSaldosProdutosES());
  EXPECT_EQ(buffer_.GetMapaSaldosProdutosES().GetCount(), 1u);
  relogio_.Advance(1);
  ASSERT_EQ(buffer_.LeBufferProduto(10, &produto, kTabela1), S_OK);
  EXPECT_FALSE(buffer_.GetCarregadoUnMedida());
  EXPECT_EQ(buffer_.GetMapaUnMedida().GetCount(), 0u);
}

TEST_F(CacheFamilia, PriceTableZeroReadsTheMasterOnlyOnAMiss) {
  EXPECT_EQ(PrecoProduto(10, kTabela1), Reais(100).int64);
  EXPECT_EQ(PrecoProduto(10, 0), Reais(100).int64);
  EXPECT_EQ(mestre_.leituras, 0);
  EXPECT_FALSE(buffer_.GetCarregadoMestrePP());
  // A miss takes the master's product table (2); the next miss finds the master cached.
  EXPECT_EQ(PrecoProduto(20, 0), Reais(2000).int64);
  EXPECT_EQ(PrecoProduto(30, 0), Reais(3000).int64);
  EXPECT_EQ(mestre_.leituras, 1);
  // Services take the master's service table (1).
  CPPDadosServico servico;
  EXPECT_EQ(buffer_.LeBufferServico(1, &servico, 0), S_OK);
  EXPECT_EQ(servico.GetPrecoVendaV8().int64, Reais(77).int64);
}

TEST_F(CacheFamilia, LimparBufferKeepsTheBalancesOnlyWhenAskedAndFinalizaDropsThem) {
  CPPDadosSaldoProdutoES saldo;
  _REG_ES_SALDOS_PRODUTOSPS registro{};
  registro.regPosicaoProduto.lPonteiroProduto = 10;
  registro.vQuantidade = Reais(1);
  saldo.SetSaldoProduto(registro);
  // Before any load: 0 and a clear object, even after an update.
  EXPECT_EQ(buffer_.AtualizaBufferSaldosProdutosES(ChaveSaldo(10), saldo), 0);
  EXPECT_EQ(buffer_.LeBufferSaldosProdutosES(ChaveSaldo(10), &saldo), 0);
  EXPECT_EQ(saldo.GetSaldoProduto().regPosicaoProduto.lPonteiroProduto, 0u);

  ASSERT_EQ(CarregaSaldos(), S_OK);
  ASSERT_EQ(buffer_.LeBufferSaldosProdutosES(ChaveSaldo(10), &saldo), 0);
  EXPECT_EQ(saldo.GetSaldoProduto().vQuantidade.int64, Reais(5).int64);
  buffer_.LimparBuffer(true);
  saldo.Limpar();
  ASSERT_EQ(buffer_.LeBufferSaldosProdutosES(ChaveSaldo(10), &saldo), 0);
  EXPECT_EQ(saldo.GetSaldoProduto().vQuantidade.int64, Reais(5).int64);
  buffer_.LimparBuffer(false);
  ASSERT_EQ(buffer_.LeBufferSaldosProdutosES(ChaveSaldo(10), &saldo), 0);
  EXPECT_EQ(saldo.GetSaldoProduto().vQuantidade.int64, 0);

  ASSERT_EQ(CarregaSaldos(), S_OK);
  buffer_.Finaliza();
  EXPECT_FALSE(buffer_.GetCarregadoSaldosProdutosES());
  EXPECT_EQ(buffer_.GetMapaSaldosProdutosES().GetCount(), 0u);
}

TEST_F(CacheFamilia, AnUpdatedBalanceReplacesTheLoadedOne) {
  ASSERT_EQ(CarregaSaldos(), S_OK);
  CPPDadosSaldoProdutoES saldo;
  ASSERT_EQ(buffer_.LeBufferSaldosProdutosES(ChaveSaldo(10), &saldo), 0);
  _REG_ES_SALDOS_PRODUTOSPS registro = saldo.GetSaldoProduto();
  registro.vQuantidade = Reais(8);
  // Bytes outside the key do not make another key.
  registro.cChaveSaldo[30] = 0x55;
  saldo.SetSaldoProduto(registro);
  _REG_ES_KEY_SALDOS_PRODUTOSPS chave;
  std::memcpy(&chave, &registro, sizeof chave);
  EXPECT_EQ(buffer_.AtualizaBufferSaldosProdutosES(chave, saldo), 0);
  EXPECT_EQ(buffer_.GetMapaSaldosProdutosES().GetCount(), 1u);
  saldo.Limpar();
  ASSERT_EQ(buffer_.LeBufferSaldosProdutosES(ChaveSaldo(10), &saldo), 0);
  EXPECT_EQ(saldo.GetSaldoProduto().vQuantidade.int64, Reais(8).int64);
}

TEST_F(CacheFamilia, UsersAreFoundByTheirKeysNotByTheirPlaceInTheAnswer) {
  CPPDadosUsuario usuario;
  ASSERT_EQ(buffer_.LeBufferUsuario(42, &usuario), S_OK);
  EXPECT_EQ(usuario.GetNome(), "Bruno");
  ASSERT_EQ(buffer_.LeBufferUsuario(7, &usuario), S_OK);
  EXPECT_EQ(usuario.GetNome(), "Ana");
  EXPECT_EQ(buffer_.GetMapaUsuario().GetTamanhoTabela(), 2u);
  // An absent key (0 and 1 were the answer's places) is no error: the object comes back clear.
  for (int32_t chave : {0, 1}) {
    EXPECT_EQ(buffer_.LeBufferUsuario(chave, &usuario), S_OK);
    EXPECT_EQ(usuario.GetNome(), "");
  }
}

TEST_F(CacheFamilia, AFailedWholeLoadLeavesTheObjectAndTheFlag) {
  familia_.base.Usuario.FalhaMetodo("LeTodos", 1, E_FAIL);
  CPPDadosUsuario usuario;
  usuario.SetNome("antes");
  EXPECT_EQ(buffer_.LeBufferUsuario(7, &usuario), E_FAIL);
  EXPECT_EQ(usuario.GetNome(), "antes");
  EXPECT_FALSE(buffer_.GetCarregadoUsuario());
  EXPECT_EQ(buffer_.LeBufferUsuario(7, &usuario), S_OK);
  EXPECT_EQ(usuario.GetNome(), "Ana");
}

TEST_F(CacheFamilia, CategoriesAreFoundByPointerAndByCodeWithoutRegardToCase) {
  CPPDadosCategoria categoria;
  ASSERT_EQ(buffer_.LeBufferInfSuplementar(2, &categoria), S_OK);
  EXPECT_EQ(categoria.GetCodigo(), "Tam");
  ASSERT_EQ(buffer_.ExisteBufferInfSuplementar("tAM", &categoria), S_OK);
  EXPECT_EQ(categoria.GetDescricao(), "Tamanho");
  ASSERT_EQ(buffer_.ExisteBufferInfSuplementar("XYZ", &categoria), S_OK);
  EXPECT_EQ(categoria.GetCodigo(), "");
}

TEST_F(CacheFamilia, ExisteBufferProdutoFindsACachedCodeWithoutRegardToCaseOrAsksTheServer) {
  CPPDadosProduto produto;
  ASSERT_EQ(buffer_.LeBufferProduto(20, &produto, kTabela1), S_OK);
  familia_.base.Produto.FalhaMetodo("ExisteProduto", 1, E_FAIL);
  ASSERT_EQ(buffer_.ExisteBufferProduto("b2", &produto, kTabela1), S_OK);
  EXPECT_EQ(produto.GetPonteiroProduto(), 20u);
  // Not cached: the server's look-up, whose failure is the answer, then a read that is cached.
  EXPECT_EQ(buffer_.ExisteBufferProduto("C3", &produto, kTabela1), E_FAIL);
  ASSERT_EQ(buffer_.ExisteBufferProduto("C3", &produto, kTabela1), S_OK);
  EXPECT_EQ(produto.GetPonteiroProduto(), 30u);
  EXPECT_EQ(buffer_.GetMapaProduto().GetCount(), 2u);
  // A price table of 0 is resolved from the master even when the code was cached.
  ASSERT_EQ(buffer_.ExisteBufferProduto("B2", &produto, 0), S_OK);
  EXPECT_EQ(mestre_.leituras, 1);
}

TEST_F(CacheFamilia, GridItemsOfDifferentGridsStayApart) {
  CPPDadosGradeProduto item;
  ASSERT_EQ(buffer_.LeBufferGrade(1, 300, &item), S_OK);
  ASSERT_EQ(buffer_.LeBufferGrade(2, 44, &item), S_OK);
  EXPECT_EQ(buffer_.GetMapaGrade().GetCount(), 2u);
  ASSERT_EQ(buffer_.LeBufferGrade(1, 300, &item), S_OK);
  EXPECT_EQ(item.GetNomeItemGrade(), "Grade 1 item 300");
  ASSERT_EQ(buffer_.LeBufferGrade(2, 44, &item), S_OK);
  EXPECT_EQ(item.GetNomeItemGrade(), "Grade 2 item 44");
}

TEST_F(CacheFamilia, ExisteBufferGradeMatchesOnlyItemsOfTheGridAsked) {
  CPPDadosGradeProduto item;
  // Only grid 1's "AB" (item 300) is cached; grid 2's "AB" is item 44, found by the server.
  ASSERT_EQ(buffer_.LeBufferGrade(1, 300, &item), S_OK);
  ASSERT_EQ(buffer_.ExisteBufferGrade(2, "AB", &item), S_OK);
  EXPECT_EQ(item.GetPosicao(), 44);
  EXPECT_EQ(item.GetNomeItemGrade(), "Grade 2 item 44");
  // Now both are cached: each grid finds its own, without regard to case and without the server.
  familia_.base.GradesProduto.FalhaMetodo("ExisteItemGrade", 2, E_FAIL);
  ASSERT_EQ(buffer_.ExisteBufferGrade(1, "ab", &item), S_OK);
  EXPECT_EQ(item.GetPosicao(), 300);
  ASSERT_EQ(buffer_.ExisteBufferGrade(2, "Ab", &item), S_OK);
  EXPECT_EQ(item.GetPosicao(), 44);
}

TEST_F(CacheFamilia, ProdutoServicoComposesAProductWithItsGridPriceOrAService) {
  CPPDadosInfoProdServ info;
  _REG_POSICAO_PRODUTOPS posicao{10, 2, 0, 0};
  ASSERT_EQ(buffer_.LeBufferProdutoServico(posicao, &info, 'P', kTabela1), S_OK);
  EXPECT_EQ(info.GetTipoProdServ(), 'P');
  EXPECT_EQ(info.GetCodigo(), "A1");
  EXPECT_EQ(info.GetPrecoVendaV8().int64, Reais(150).int64);  // the grid item's price
  EXPECT_EQ(info.GetUnidadeMedida(), "PC");
  EXPECT_EQ(info.GetCasasDecimais(), 4);  // twice the unit's
  EXPECT_EQ(info.GetQuantidadeCasasDecimais(), 3);
  EXPECT_EQ(info.GetCodigoItemGrade1(), "M");
  EXPECT_EQ(info.GetDadosProduto().GetPrecoVendaV8().int64, Reais(150).int64);
  // Without the first item the product keeps its own price.
  posicao = {10, 0, 0, 0};
  ASSERT_EQ(buffer_.LeBufferProdutoServico(posicao, &info, 'P', kTabela1), S_OK);
  EXPECT_EQ(info.GetPrecoVendaV8().int64, Reais(100).int64);
  posicao = {20, 0, 0, 0};
  ASSERT_EQ(buffer_.LeBufferProdutoServico(posicao, &info, 'P', kTabela1), S_OK);
  EXPECT_TRUE(info.GetTerceiro());
  EXPECT_EQ(info.GetUnidadeMedida(), "KG");

  for (char tipo : {'S', 'X'}) {
    posicao = {1, 0, 0, 0};
    ASSERT_EQ(buffer_.LeBufferProdutoServico(posicao, &info, tipo, kTabela1), S_OK) << tipo;
    EXPECT_EQ(info.GetTipoProdServ(), 'S');
    EXPECT_EQ(info.GetCodigo(), "S1");
    EXPECT_EQ(info.GetPrecoVendaV8().int64, Reais(77).int64);
    EXPECT_EQ(info.GetUnidadeMedida(), "HR");
    EXPECT_EQ(info.GetCasasDecimais(), 2);
    EXPECT_EQ(info.GetCasasDecimaisEstoque(), 1);
    EXPECT_TRUE(info.GetInativo());
  }
}

TEST_F(CacheFamilia, ProdutoServicoKeepsWhatTheObjectHeldOnAFailure) {
  CPPDadosInfoProdServ info;
  info.SetCodigo("antes");
  _REG_POSICAO_PRODUTOPS posicao{99, 0, 0, 0};
  EXPECT_LT(buffer_.LeBufferProdutoServico(posicao, &info, 'P', kTabela1), 0);
  EXPECT_EQ(info.GetCodigo(), "antes");
}

// The on-demand caches that differ only in their key, their data class and the stand-in they read:
// a branch, both charts of accounts, a grid reference, two stock locations, a batch (of a posted
// entry movement) and a sales order.
class CacheCadastros : public CacheFamilia {
 protected:
  void SetUp() override {
    CacheFamilia::SetUp();
    const std::string e = Instalacao::kEmpresa;
    ASSERT_EQ(ServidorFiliais::GravaEmpresa(e, "Industria de Teste Ltda"), S_OK);
    __MIDL___MIDL_itf_Brisel_0000_0003 filial;
    std::memset(&filial, 0, sizeof filial);
    filial.iCodigo = 1;
    Texto(filial.szNomeFantasia, "Matriz");
    ASSERT_EQ(ServidorFiliais::GravaFiliais(e, {filial}), S_OK);
    _RegContaPS conta;
    std::memset(&conta, 0, sizeof conta);
    conta.lIndCon = 100;
    Texto(conta.szNome, "Caixa");
    ASSERT_EQ(GravaContasDF(e, 'C', {conta}), S_OK);
    conta.lIndCon = 200;
    Texto(conta.szNome, "Custos");
    ASSERT_EQ(GravaContasDF(e, 'G', {conta}), S_OK);

    CadastroEstoqueES estoque;
    const char* locais[][2] = {{"ALM", "Almoxarifado"}, {"EXP", "Expedicao"}};
    for (const auto& [codigo, nome] : locais) {
      LocalES local;
      std::memset(&local, 0, sizeof local);
      Texto(local.regLocal.szCodigo, codigo);
      Texto(local.regLocal.szNome, nome);
      local.iPonteiroFilial = 1;
      estoque.locais.push_back(local);
    }
    _REG_ES_MESTREPS mestre;
    std::memset(&mestre, 0, sizeof mestre);
    mestre.cFormaValorizacao = 'M';
    estoque.mestre = {mestre};
    ASSERT_EQ(GravaCadastroEstoqueES(e, estoque), S_OK);

    PedidoSemeadoFT pedido;
    pedido.ulChave = 55;
    pedido.regPedido.lPonteiroCliente = 333;
    ASSERT_EQ(GravaPedidosFT(e, {pedido}), S_OK);

    _REG_ES_MOVIMENTOPS movimento;
    std::memset(&movimento, 0, sizeof movimento);
    movimento.cTipoMovimento = 11;
    movimento.vQuantidade = Reais(3);
    movimento.regPosicaoProduto = {20, 0, 0, 0};
    movimento.iPonteiroFilial = 1;
    movimento.iPonteiroLocalArmazenagem = 1;
    Texto(movimento.regLotePS.cNumeroLote, "L-01");
    IQVES_Movimento* servidor = buffer_.GetIMovimento();
    ASSERT_NE(servidor, nullptr);
    const BSTR texto = SysAllocString(u"Entrada");
    uint32_t numero = 0;
    ASSERT_EQ(servidor->GravaMovimento(0, movimento, texto, &numero), S_OK);
    SysFreeString(texto);
  }
};

// One cache of the table: its read of a fresh object, which it marks by one of the seeded values,
// and how many entities it holds.
struct CasoCache {
  const char* cache;
  std::function<ClasseFamilia&(ServidoresFamilia&)> classe;
  const char* metodo;  // the stand-in's method that the cache's reader calls
  std::function<int32_t(CPPBufferDados&, std::string& marca)> le;
  std::function<uint32_t(const CPPBufferDados&)> guardados;
  std::string esperado;
};

#define CASO_CACHE(Nome, modulo, Classe, metodo, chave, Dados, marca, esperado)                                   \
  CasoCache {                                                                                                      \
    #Nome, [](ServidoresFamilia& f) -> ClasseFamilia& { return f.modulo.Classe; }, metodo,                         \
        [](CPPBufferDados& b, std::string& m) {                                                                    \
          Dados d;                                                                                                 \
          const int32_t hr = b.LeBuffer##Nome(chave, &d);                                                          \
          m = marca;                                                                                               \
          return hr;                                                                                               \
        },                                                                                                         \
        [](const CPPBufferDados& b) { return b.GetMapa##Nome().GetCount(); }, esperado                             \
  }

TEST_F(CacheCadastros, AMissReadsAndStoresAHitCallsNoServerAndTheTimedRefreshDropsThem) {
  const CasoCache casos[] = {
      CASO_CACHE(Filial, filiais, Filial, "Le", 1, CPPDadosFilial, std::string(d.GetNomeFantasia()), "Matriz"),
      CASO_CACHE(ContaContabil, base, Plano, "Le", 100, CPPDadosPlanoDF, std::string(d.GetNome()), "Caixa"),
      CASO_CACHE(ContaGerencial, base, Plano, "Le", 200, CPPDadosPlanoDF, std::string(d.GetNome()), "Custos"),
      CASO_CACHE(ReferenciaGrade, base, Produto, "LeReferenciaGrade", (_REG_POSICAO_PRODUTOPS{10, 2, 0, 0}),
                 CPPDadosReferenciaGrade, std::string(d.GetCodigoReferenciaGrade()), "REF-M"),
      CASO_CACHE(LocalES, estoque, Armazenagem, "LeLocal", 2, CPPDadosLocalES,
                 std::string(d.GetNome()) + std::to_string(d.GetPosicao()), "Expedicao2"),
      CASO_CACHE(LoteES, estoque, Movimento, "LeLote", 1, CPPDadosLoteES, std::string(d.GetNumeroLote()), "L-01"),
      CASO_CACHE(PedidoFT, vendas, Pedido, "LePedido", 55u, CPPDadosPedidoFT,
                 std::to_string(d.GetPonteiroCliente()), "333"),
  };
  buffer_.SetRefresh(true);
  for (const CasoCache& caso : casos) {
    SCOPED_TRACE(caso.cache);
    std::string marca;
    ASSERT_EQ(caso.le(buffer_, marca), S_OK);
    EXPECT_EQ(marca, caso.esperado);
    EXPECT_EQ(caso.guardados(buffer_), 1u);
    // A pending failure shows whether a call reached the server: the hit leaves it pending.
    caso.classe(familia_).FalhaMetodo(caso.metodo, 1, kNegado);
    ASSERT_EQ(caso.le(buffer_, marca), S_OK);
    EXPECT_EQ(marca, caso.esperado);
    relogio_.Advance(120001);
    EXPECT_EQ(caso.le(buffer_, marca), kNegado);
    EXPECT_EQ(caso.guardados(buffer_), 0u);
    ASSERT_EQ(caso.le(buffer_, marca), S_OK);
    EXPECT_EQ(marca, caso.esperado);
    EXPECT_EQ(caso.guardados(buffer_), 1u);
  }
}

TEST_F(CacheCadastros, ExisteBufferLocalESFindsACachedCodeWithoutRegardToCaseOrAsksTheServer) {
  CPPDadosLocalES local;
  ASSERT_EQ(buffer_.ExisteBufferLocalES("exp", &local), S_OK);
  EXPECT_EQ(local.GetNome(), "Expedicao");
  EXPECT_EQ(buffer_.GetMapaLocalES().GetCount(), 1u);
  // Cached: neither the look-up nor the read reaches the server, whose failures stay pending.
  ClasseFamilia& armazenagem = familia_.estoque.Armazenagem;
  armazenagem.FalhaMetodo("ExisteLocal", 1, kNegado);
  armazenagem.FalhaMetodo("LeLocal", 1, kNegado);
  local.Limpar();
  ASSERT_EQ(buffer_.ExisteBufferLocalES("Exp", &local), S_OK);
  EXPECT_EQ(local.GetNome(), "Expedicao");
  EXPECT_EQ(local.GetPosicao(), 2);
  int32_t ponteiro = 0;
  EXPECT_EQ(buffer_.ExisteLocalES("EXP", ponteiro), kNegado);
  EXPECT_EQ(buffer_.LeLocalES(2, &local), kNegado);
  // Another code goes to the server, whose answer for an unknown one is the answer.
  ASSERT_EQ(buffer_.ExisteBufferLocalES("ALM", &local), S_OK);
  EXPECT_EQ(local.GetNome(), "Almoxarifado");
  EXPECT_EQ(buffer_.GetMapaLocalES().GetCount(), 2u);
  EXPECT_EQ(buffer_.ExisteBufferLocalES("XYZ", &local), kFamiliaNaoEncontrado);
}

// Another process changes a price; this one sees it only when its caches are dropped.
class CacheEntreProcessos : public CacheFamilia {
 protected:
  void MudaPrecoEmOutroProcesso() {
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) _exit(GravaPrecoDF(Instalacao::kEmpresa, 'P', 10, kTabela1, Reais(999)) == S_OK ? 0 : 1);
    int estado = 0;
    waitpid(filho, &estado, 0);
    ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  }
};

TEST_F(CacheEntreProcessos, WithRefreshOnTheOldPriceLastsTheIntervalAfterTheLastRefresh) {
  buffer_.SetRefresh(true);
  ASSERT_EQ(PrecoProduto(10, kTabela1), Reais(100).int64);
  MudaPrecoEmOutroProcesso();
  relogio_.Advance(120000);
  EXPECT_EQ(PrecoProduto(10, kTabela1), Reais(100).int64);
  relogio_.Advance(1);
  EXPECT_EQ(PrecoProduto(10, kTabela1), Reais(999).int64);
}

TEST_F(CacheEntreProcessos, WithRefreshOffTheOldPriceLastsUntilLimparBuffer) {
  ASSERT_EQ(PrecoProduto(10, kTabela1), Reais(100).int64);
  MudaPrecoEmOutroProcesso();
  relogio_.Advance(24u * 60 * 60 * 1000);
  EXPECT_EQ(PrecoProduto(10, kTabela1), Reais(100).int64);
  buffer_.LimparBuffer(true);
  EXPECT_EQ(PrecoProduto(10, kTabela1), Reais(999).int64);
}

}  // namespace

// The order-type handler over a company: its records byte by byte, the numbering of orders (also
// by two processes at once), the session user's full access with and without COM, the permission
// list, the filter, removal, and the COM class's composed methods.
#include "server/cadastros/CPPServidorTipoOP.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <numeric>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "server/cadastros/CQVPP_TipoOP.h"
#include "tests/crash/Queda.h"
#include "tests/server/cadastros/EmpresaCadastros.h"
#include "tests/support/EsperaFilhos.h"

namespace {

constexpr HRESULT kFalha = static_cast<HRESULT>(0x80040777);

std::string U16(uint16_t v) { return {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)}; }
std::string U32(uint32_t v) { return U16(static_cast<uint16_t>(v)) + U16(static_cast<uint16_t>(v >> 16)); }

// `tamanho` zero bytes with the given bytes put at their offsets.
std::string Bytes(size_t tamanho, const std::vector<std::pair<size_t, std::string>>& campos) {
  std::string bytes(tamanho, '\0');
  for (const auto& [offset, valor] : campos) bytes.replace(offset, valor.size(), valor);
  return bytes;
}

// A stored user record of "PPTOPUSU.DAT".
std::string UsuarioDisco(uint16_t usuario, char manutencao, char cancelamento, char interrupcao) {
  return Bytes(16, {{0, U16(usuario)}, {2, {manutencao, cancelamento, interrupcao}}});
}

_REG_VARMO_TIPO_OPPS TipoOP(const char* codigo, const char* descricao) {
  _REG_VARMO_TIPO_OPPS tipo{};
  std::strcpy(tipo.szCodigo, codigo);
  std::strcpy(tipo.szDescricao, descricao);
  tipo.cAtivo = 1;
  return tipo;
}

_REG_VARMO_TIPO_OP_USUARIOPS Usuario(uint16_t usuario, uint8_t manutencao, uint8_t cancelamento, uint8_t interrupcao) {
  _REG_VARMO_TIPO_OP_USUARIOPS registro{};
  registro.usUsuario = usuario;
  registro.cManutencao = manutencao;
  registro.cCancelamento = cancelamento;
  registro.cInterrupcao = interrupcao;
  return registro;
}

struct Permissao {
  int32_t tipo;
  int manutencao, cancelamento, interrupcao;
  bool operator==(const Permissao&) const = default;
};

// The list's entries; frees its array.
std::vector<Permissao> Entradas(_REG_LISTA_PERMISSOES_USUARIO_OPPS& lista) {
  std::vector<Permissao> entradas;
  for (int32_t i = 0; i < lista.lQuantidade; ++i) {
    const _REG_VARMO_PERMISSAO_USUARIO_OPPS p = lista.pRegPermissoes[i];
    entradas.push_back({p.lPonteiroTipoOP, p.cManutencao, p.cCancelamento, p.cInterrupcao});
  }
  CoTaskMemFree(lista.pRegPermissoes);
  lista = {};
  return entradas;
}

// The seams of flows and technical sheets, answering what a test sets.
struct Fluxos {
  static inline int32_t s_lFluxos = 0;  // flows that name any type
  static inline int32_t s_lTipoPerguntado = 0;
  static inline HRESULT s_hrProduto = S_OK;
  static inline std::vector<int32_t> s_tiposDoProduto;
  static inline uint32_t s_ulProdutoPerguntado = 0;

  static HRESULT Conta(const _REG_VARMO_INICIALIZAPS&, int32_t lPonteiroTipoOP, int32_t* plQtd) {
    s_lTipoPerguntado = lPonteiroTipoOP;
    *plQtd = s_lFluxos;
    return S_OK;
  }
  static HRESULT TiposDoProduto(const _REG_VARMO_INICIALIZAPS&, const _REG_VARMO_FILTROPS& filtro,
                                std::vector<int32_t>* tipos) {
    s_ulProdutoPerguntado = filtro.regPosicaoProdutoServico.lPonteiroProduto;
    *tipos = s_tiposDoProduto;
    return s_hrProduto;
  }
  static PPCosturasCadastros Costuras() {
    s_lFluxos = 0;
    s_lTipoPerguntado = 0;
    s_hrProduto = S_OK;
    s_tiposDoProduto.clear();
    s_ulProdutoPerguntado = 0;
    PPCosturasCadastros costuras = PPGetCosturasCadastros();
    costuras.pContaFluxosTipoOP = &Conta;
    costuras.pTiposOPFluxosProduto = &TiposDoProduto;
    return costuras;
  }
};

class ServidorTipoOP : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    ASSERT_EQ(tipo_.Inicializa(SessaoTeste(), 1), S_OK);
  }
  void TearDown() override {
    tipo_.Finaliza();
    EmpresaCadastros::TearDown();
  }

  int32_t Grava(int32_t lPntrIn, const _REG_VARMO_TIPO_OPPS& registro) {
    int32_t ponteiro = -1;
    EXPECT_EQ(tipo_.Grava(lPntrIn, registro, &ponteiro), S_OK);
    return ponteiro;
  }
  // Saves a type with these users and the given active byte.
  int32_t GravaComUsuarios(const char* codigo, std::vector<_REG_VARMO_TIPO_OP_USUARIOPS> usuarios,
                           uint8_t cAtivo = 1) {
    _REG_VARMO_TIPO_OPPS registro = TipoOP(codigo, codigo);
    registro.cAtivo = cAtivo;
    registro.usQtdUsuarios = static_cast<uint16_t>(usuarios.size());
    registro.pregTipoOPUsuario = usuarios.data();
    return Grava(0, registro);
  }
  uint32_t Incrementa(int32_t lPntr) {
    uint32_t numero = 0;
    EXPECT_EQ(tipo_.IncrementaOP(lPntr, &numero), S_OK);
    return numero;
  }
  std::vector<Permissao> Permissoes(CPPServidorTipoOP& tipo) {
    _REG_LISTA_PERMISSOES_USUARIO_OPPS lista;
    EXPECT_EQ(tipo.BuscaListaPermissoes(&lista), S_OK);
    return Entradas(lista);
  }
  std::vector<int32_t> Busca() {
    _REG_VARMO_PONTEIROSPS lista{};
    EXPECT_EQ(tipo_.BuscaPonteiros(&lista), S_OK);
    return PonteirosLista(lista);
  }
  // Record n of "PPTOPCAB.DAT".
  std::string Registro(int n) const { return empresa_.Le("PPTOPCAB.DAT").substr(256 * n, 256); }

  CPPServidorTipoOP tipo_;
};

// ---------------------------------------------------------------------------------------------------
// Records

TEST_F(ServidorTipoOP, GravaStoresTheRecordAndItsUsersByteForByteAndLeReadsThemBack) {
  EXPECT_EQ(empresa_.Le("PPTOPCAB.DAT"), std::string(256, '\0'));
  EXPECT_EQ(empresa_.Le("PPTOPUSU.DAT"), std::string(16, '\0'));

  _REG_VARMO_TIPO_OPPS registro = TipoOP("TOP1", "Corte e costura");
  registro.lUltimaOP = 7;
  registro.lPonteiroContaContabil = 33;
  std::strcpy(registro.szInfExtra1, "Lote");
  std::strcpy(registro.szInfExtra2, "Referencia do cliente fin");  // 25 characters: no terminator on disk
  registro.cObrigaInfExtra1 = 1;
  registro.cFazEntradaDepoisNoES = 1;
  registro.cSugerirSaldoNaQuantidadeApontada = 1;
  _REG_VARMO_TIPO_OP_USUARIOPS usuarios[] = {Usuario(7, 1, 0, 1), Usuario(9, 0, 1, 0)};
  registro.usQtdUsuarios = 2;
  registro.pregTipoOPUsuario = usuarios;
  EXPECT_EQ(Grava(0, registro), 1);

  EXPECT_EQ(Registro(1), Bytes(256, {{0, U32(7)},
                                     {4, U32(1)},
                                     {8, U32(33)},
                                     {28, U16(2)},
                                     {32, "TOP1"},
                                     {42, "Corte e costura"},
                                     {92, "Lote"},
                                     {117, "Referencia do cliente fin"},
                                     {142, "Inf. Extra 3"},
                                     {167, "Inf. Extra 4"},
                                     {192, "Inf. Extra 5"},
                                     {218, "\x01"},
                                     {220, "\x01"},
                                     {226, "\x01"},
                                     {229, "\x01"}}));
  EXPECT_EQ(empresa_.Le("PPTOPUSU.DAT"), std::string(16, '\0') + UsuarioDisco(7, 1, 0, 1) + UsuarioDisco(9, 0, 1, 0));

  _REG_VARMO_TIPO_OPPS lido;
  ASSERT_EQ(tipo_.Le(1, &lido, 1), S_OK);
  EXPECT_EQ(lido.lUltimaOP, 7u);
  EXPECT_EQ(lido.lPosicao, 1);
  EXPECT_EQ(lido.lPonteiroContaContabil, 33);
  EXPECT_STREQ(lido.szCodigo, "TOP1");
  EXPECT_STREQ(lido.szDescricao, "Corte e costura");
  EXPECT_STREQ(lido.szInfExtra2, "Referencia do cliente fin");
  EXPECT_STREQ(lido.szInfExtra5, "Inf. Extra 5");
  EXPECT_EQ(lido.cObrigaInfExtra1, 1);
  EXPECT_EQ(lido.cObrigaInfExtra2, 0);
  EXPECT_EQ(lido.cFazEntradaDepoisNoES, 1);
  EXPECT_EQ(lido.cSugerirSaldoNaQuantidadeApontada, 1);
  EXPECT_EQ(lido.cAtivo, 1);
  EXPECT_EQ(lido.cOPGerada, 0);
  ASSERT_EQ(lido.usQtdUsuarios, 2);
  _REG_VARMO_TIPO_OP_USUARIOPS* lidos = lido.pregTipoOPUsuario;
  EXPECT_EQ(lidos[1].usUsuario, 9);
  EXPECT_EQ(lidos[1].cManutencao, 0);
  EXPECT_EQ(lidos[1].cCancelamento, 1);
  EXPECT_EQ(lidos[0].cInterrupcao, 1);
  CoTaskMemFree(lidos);

  // Without bit 0 no users come, and no count without its array.
  ASSERT_EQ(tipo_.Le(1, &lido, 0), S_OK);
  EXPECT_EQ(lido.usQtdUsuarios, 0);
  EXPECT_EQ(lido.pregTipoOPUsuario, nullptr);

  // A re-save appends a new run of users and points to it.
  usuarios[0] = Usuario(11, 1, 1, 1);
  registro.usQtdUsuarios = 1;
  EXPECT_EQ(Grava(1, registro), 1);
  EXPECT_EQ(Registro(1).substr(4, 4), U32(3));
  EXPECT_EQ(Registro(1).substr(28, 2), U16(1));
  EXPECT_EQ(empresa_.Le("PPTOPUSU.DAT").substr(48), UsuarioDisco(11, 1, 1, 1));

  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Tipo OP: TOP1 - Corte e costura"},
                                                  {'A', "Tipo OP: TOP1 - Corte e costura"}}));
}

TEST_F(ServidorTipoOP, ATypeSavedWithEmptyLabelsReadsThemBackNumbered) {
  Grava(0, TipoOP("TOP1", "Corte"));
  _REG_VARMO_TIPO_OPPS lido;
  ASSERT_EQ(tipo_.Le(1, &lido, 0), S_OK);
  EXPECT_STREQ(lido.szInfExtra1, "Inf. Extra 1");
  EXPECT_STREQ(lido.szInfExtra2, "Inf. Extra 2");
  EXPECT_STREQ(lido.szInfExtra3, "Inf. Extra 3");
  EXPECT_STREQ(lido.szInfExtra4, "Inf. Extra 4");
  EXPECT_STREQ(lido.szInfExtra5, "Inf. Extra 5");
}

// Texts of the COM record that fill their fields are read within them and cut on disk; the read
// record gets them terminated.
TEST_F(ServidorTipoOP, FullTextFieldsAreNeverReadPastAndComeBackTerminated) {
  _REG_VARMO_TIPO_OPPS registro = TipoOP("", "");
  std::memset(registro.szCodigo, 'C', sizeof registro.szCodigo);
  std::memset(registro.szDescricao, 'D', sizeof registro.szDescricao);
  std::memset(registro.szInfExtra1, 'E', sizeof registro.szInfExtra1);
  std::memset(registro.szInfExtra5, 'F', sizeof registro.szInfExtra5);
  EXPECT_EQ(Grava(0, registro), 1);
  EXPECT_EQ(Registro(1).substr(32, 10), std::string(10, 'C'));
  EXPECT_EQ(Registro(1).substr(42, 50), std::string(50, 'D'));
  EXPECT_EQ(Registro(1).substr(92, 25), std::string(25, 'E'));
  EXPECT_EQ(Registro(1).substr(192, 25), std::string(25, 'F'));
  EXPECT_EQ(Registro(1)[217], '\0') << "the label did not run into the next field";

  _REG_VARMO_TIPO_OPPS lido;
  ASSERT_EQ(tipo_.Le(1, &lido, 0), S_OK);
  EXPECT_EQ(std::string(lido.szCodigo), std::string(10, 'C'));
  EXPECT_EQ(std::string(lido.szDescricao), std::string(50, 'D'));
  EXPECT_EQ(std::string(lido.szInfExtra1), std::string(25, 'E'));
  EXPECT_EQ(std::string(lido.szInfExtra5), std::string(25, 'F'));
}

TEST_F(ServidorTipoOP, AUserListWithoutItsArrayIsRefusedBeforeAnythingIsWritten) {
  Grava(0, TipoOP("TOP1", "Corte"));
  const auto arquivos = empresa_.Arquivos();
  _REG_VARMO_TIPO_OPPS registro = TipoOP("TOP2", "Costura");
  registro.usQtdUsuarios = 2;
  int32_t ponteiro = -1;
  EXPECT_EQ(tipo_.Grava(0, registro, &ponteiro), PPErroHResult(1587));
  EXPECT_EQ(tipo_.Grava(1, registro, &ponteiro), PPErroHResult(1587));
  EXPECT_EQ(empresa_.Arquivos(), arquivos);
  EXPECT_EQ(Linhas().size(), 1u);
}

TEST_F(ServidorTipoOP, NullOutputsAnswerEPointer) {
  Grava(0, TipoOP("TOP1", "Corte"));
  int32_t ponteiro = 1;
  BSTR codigo = SysAllocString(u"TOP1");
  EXPECT_EQ(tipo_.Grava(0, TipoOP("TOP2", "Costura"), nullptr), E_POINTER);
  EXPECT_EQ(tipo_.Le(1, nullptr, 1), E_POINTER);
  EXPECT_EQ(tipo_.LePonteiros(1, &ponteiro, nullptr, 1), E_POINTER);
  EXPECT_EQ(tipo_.BuscaPonteiros(nullptr), E_POINTER);
  EXPECT_EQ(tipo_.Existe(codigo, nullptr, 0), E_POINTER);
  EXPECT_EQ(tipo_.IncrementaOP(1, nullptr), E_POINTER);
  EXPECT_EQ(tipo_.BuscaListaPermissoes(nullptr), E_POINTER);
  SysFreeString(codigo);
  EXPECT_EQ(Registro(1).substr(0, 4), U32(0)) << "IncrementaOP wrote";
  EXPECT_EQ(empresa_.Le("PPTOPCAB.DAT").size(), 512u);
}

// A user run that lies past the end of its file is refused, nothing left allocated.
TEST_F(ServidorTipoOP, AUserRunPastTheEndOfItsFileIsAnError) {
  _REG_VARMO_TIPO_OP_USUARIOPS usuarios[] = {Usuario(7, 1, 1, 1)};
  _REG_VARMO_TIPO_OPPS registro = TipoOP("TOP1", "Corte");
  registro.usQtdUsuarios = 1;
  registro.pregTipoOPUsuario = usuarios;
  Grava(0, registro);
  std::string cabecalho = empresa_.Le("PPTOPCAB.DAT");
  cabecalho.replace(256 + 4, 4, U32(50));
  cabecalho.replace(256 + 28, 2, U16(3));
  empresa_.Escreve("PPTOPCAB.DAT", cabecalho);

  _REG_VARMO_TIPO_OPPS lido;
  EXPECT_EQ(tipo_.Le(1, &lido, 1), PPErroHResult(16021));
  DefineAcessoTotal(false);
  CPPServidorTipoOP semAcesso;
  ASSERT_EQ(semAcesso.Inicializa(SessaoTeste(), 0), S_OK);
  _REG_LISTA_PERMISSOES_USUARIO_OPPS lista;
  EXPECT_EQ(semAcesso.BuscaListaPermissoes(&lista), PPErroHResult(16021));
  EXPECT_EQ(lista.pRegPermissoes, nullptr);
}

// ---------------------------------------------------------------------------------------------------
// Numbering

TEST_F(ServidorTipoOP, NumbersContinueFromTheSavedLastNumberWhichSavesNoLongerChangeOnceNumbered) {
  _REG_VARMO_TIPO_OPPS registro = TipoOP("TOP1", "Corte");
  registro.lUltimaOP = 7;
  Grava(0, registro);
  // Before the first number a save changes the last number; the COM record's cOPGerada is not
  // taken over the stored one.
  registro.lUltimaOP = 100;
  registro.cOPGerada = 1;
  Grava(1, registro);
  EXPECT_EQ(Registro(1).substr(0, 4), U32(100));
  EXPECT_EQ(Registro(1)[217], '\0');

  EXPECT_EQ(Incrementa(1), 101u);
  EXPECT_EQ(Registro(1).substr(0, 4), U32(101));
  EXPECT_EQ(Registro(1)[217], '\x01');
  registro.lUltimaOP = 5;
  registro.cOPGerada = 0;
  Grava(1, registro);
  EXPECT_EQ(Registro(1).substr(0, 4), U32(101));
  EXPECT_EQ(Registro(1)[217], '\x01');
  EXPECT_EQ(Incrementa(1), 102u);
  _REG_VARMO_TIPO_OPPS lido;
  ASSERT_EQ(tipo_.Le(1, &lido, 0), S_OK);
  EXPECT_EQ(lido.lUltimaOP, 102u);
  EXPECT_EQ(lido.cOPGerada, 1);
  // Numbering writes no history.
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Tipo OP: TOP1 - Corte"},
                                                  {'A', "Tipo OP: TOP1 - Corte"},
                                                  {'A', "Tipo OP: TOP1 - Corte"}}));
}

TEST_F(ServidorTipoOP, IncrementaOPRefusesBadPointersAndRemovedTypesWithoutWriting) {
  Grava(0, TipoOP("TOP1", "Corte"));
  ASSERT_EQ(tipo_.Remove(1), S_OK);
  const std::string antes = empresa_.Le("PPTOPCAB.DAT");
  uint32_t numero = 77;
  EXPECT_EQ(tipo_.IncrementaOP(1, &numero), PPErroHResult(1586));
  EXPECT_EQ(numero, 0u);
  EXPECT_EQ(tipo_.IncrementaOP(0, &numero), PPErroHResult(1587));
  EXPECT_EQ(tipo_.IncrementaOP(-1, &numero), PPErroHResult(1587));
  EXPECT_EQ(tipo_.IncrementaOP(2, &numero), PPErroHResult(16021));
  EXPECT_EQ(empresa_.Le("PPTOPCAB.DAT"), antes);
  CPPServidorTipoOP novo;
  EXPECT_EQ(novo.IncrementaOP(1, &numero), PPErroHResult(1585));
}

// ---------------------------------------------------------------------------------------------------
// Removal

TEST_F(ServidorTipoOP, RemoveRefusesATypeThatNumberedAnOrderOrThatAFlowNames) {
  CosturasFalsas costuras(Fluxos::Costuras());
  Grava(0, TipoOP("TOP1", "Corte"));
  Grava(0, TipoOP("TOP2", "Costura"));
  Incrementa(1);
  const std::string antes = empresa_.Le("PPTOPCAB.DAT");
  EXPECT_EQ(tipo_.Remove(1), PPErroHResult(1588));
  Fluxos::s_lFluxos = 1;
  EXPECT_EQ(tipo_.Remove(2), PPErroHResult(1588));
  EXPECT_EQ(Fluxos::s_lTipoPerguntado, 2);
  EXPECT_EQ(empresa_.Le("PPTOPCAB.DAT"), antes);

  Fluxos::s_lFluxos = 0;
  EXPECT_EQ(tipo_.Remove(2), S_OK);
  EXPECT_EQ(Registro(2)[219], '\x01');
  EXPECT_EQ(tipo_.Remove(2), S_OK) << "a removed type is left as it is";
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Tipo OP: TOP1 - Corte"},
                                                  {'I', "Tipo OP: TOP2 - Costura"},
                                                  {'E', "Tipo OP: TOP2 - Costura"}}));
}

// ---------------------------------------------------------------------------------------------------
// Full access, permissions and the filter

// Types: 1 lists users 7 and 9, 2 only 9, 3 none, 4 lists 7 twice but is removed, 5 lists 7 and
// is inactive.
class PermissoesTipoOP : public ServidorTipoOP {
 protected:
  void SetUp() override {
    ServidorTipoOP::SetUp();
    GravaComUsuarios("A", {Usuario(7, 1, 0, 1), Usuario(9, 1, 1, 1)});
    GravaComUsuarios("B", {Usuario(9, 0, 0, 1)});
    GravaComUsuarios("C", {});
    GravaComUsuarios("D", {Usuario(7, 1, 1, 1), Usuario(7, 0, 0, 1)});
    ASSERT_EQ(tipo_.Remove(4), S_OK);
    GravaComUsuarios("E", {Usuario(7, 0, 1, 0)}, 2);
  }
};

TEST_F(PermissoesTipoOP, AFullAccessUserHoldsEveryPermissionOnEveryTypeAnotherOnlyItsOwn) {
  EXPECT_EQ(Permissoes(tipo_), (std::vector<Permissao>{{1, 1, 1, 1}, {2, 1, 1, 1}, {3, 1, 1, 1}, {5, 1, 1, 1}}));
  _REG_VARMO_FILTROPS filtro{};
  filtro.cAtivo = 1;
  ASSERT_EQ(tipo_.SetFiltro(filtro), S_OK);
  EXPECT_EQ(Permissoes(tipo_), (std::vector<Permissao>{{1, 1, 1, 1}, {2, 1, 1, 1}, {3, 1, 1, 1}}));

  // Through COM the access comes from the master settings, which read it from the user server.
  DefineAcessoTotal(false);
  CPPServidorTipoOP outro;
  ASSERT_EQ(outro.Inicializa(SessaoTeste(), 1), S_OK);
  EXPECT_EQ(Permissoes(outro), (std::vector<Permissao>{{1, 1, 0, 1}, {5, 0, 1, 0}}));
  ASSERT_EQ(outro.SetFiltro(filtro), S_OK);
  EXPECT_EQ(Permissoes(outro), (std::vector<Permissao>{{1, 1, 0, 1}}));
}

TEST_F(PermissoesTipoOP, WithoutCOMTheAccessComesFromTheUserServer) {
  for (bool bAcessoTotal : {true, false}) {
    DefineAcessoTotal(bAcessoTotal);
    CPPServidorTipoOP tipo;
    ASSERT_EQ(tipo.Inicializa(SessaoTeste(), 0), S_OK);
    EXPECT_EQ(Permissoes(tipo).size(), bAcessoTotal ? 4u : 2u) << bAcessoTotal;
  }
  const std::vector<InicializacaoFamilia> inicializacoes = base_.Usuario.Inicializacoes();
  ASSERT_FALSE(inicializacoes.empty());
  EXPECT_EQ(inicializacoes.back().empresa, "TESTE");
  EXPECT_EQ(inicializacoes.back().usuario, kUsuarioTeste);
  EXPECT_EQ(inicializacoes.back().sessao, kSessaoTeste);
  EXPECT_EQ(base_.Usuario.Vivos(), 0) << "released after Inicializa";

  // Its history opens without COM too.
  CPPServidorTipoOP tipo;
  ASSERT_EQ(tipo.Inicializa(SessaoTeste(), 0), S_OK);
  int32_t ponteiro = 0;
  ASSERT_EQ(tipo.Grava(0, TipoOP("F", "Sem COM"), &ponteiro), S_OK);
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'I', "Tipo OP: F - Sem COM"}));
}

TEST_F(PermissoesTipoOP, AFailingUserServerFailsInicializaWithoutCOM) {
  for (const char* metodo : {"Inicializa", "Le"}) {
    base_.Usuario.FalhaMetodo(metodo, 1, kFalha);
    CPPServidorTipoOP tipo;
    EXPECT_EQ(tipo.Inicializa(SessaoTeste(), 0), kFalha) << metodo;
    EXPECT_EQ(base_.Usuario.Vivos(), 0) << metodo;
    EXPECT_EQ(historico_.Vivos(), 1) << metodo << ": only the fixture's handler holds a history client";
    uint32_t numero = 0;
    EXPECT_EQ(tipo.IncrementaOP(1, &numero), PPErroHResult(1585)) << metodo;
  }
  base_.Usuario.FailStarts(1);
  CPPServidorTipoOP tipo;
  EXPECT_EQ(tipo.Inicializa(SessaoTeste(), 0), S_OK) << "an unavailable server is asked again";
}

TEST_F(PermissoesTipoOP, TheFilterTestsActivityTheUserAndTheProductsFlows) {
  CosturasFalsas costuras(Fluxos::Costuras());
  _REG_VARMO_FILTROPS filtro{};
  filtro.usPonteiroUsuarioTipoOP = 9;
  ASSERT_EQ(tipo_.SetFiltro(filtro), S_OK);
  EXPECT_EQ(Busca(), (std::vector<int32_t>{1, 2, 3, 5})) << "full access passes the user test";

  // The product's flows name type 2.
  filtro.regPosicaoProdutoServico.lPonteiroProduto = 44;
  Fluxos::s_tiposDoProduto = {2};
  ASSERT_EQ(tipo_.SetFiltro(filtro), S_OK);
  EXPECT_EQ(Busca(), (std::vector<int32_t>{2}));
  EXPECT_EQ(Fluxos::s_ulProdutoPerguntado, 44u);
  Fluxos::s_hrProduto = kFalha;
  EXPECT_EQ(Busca(), std::vector<int32_t>{}) << "a failed lookup excludes every type";

  DefineAcessoTotal(false);
  CPPServidorTipoOP semAcesso;
  ASSERT_EQ(semAcesso.Inicializa(SessaoTeste(), 0), S_OK);
  // Without full access the user test decides alone: the product is not tested.
  ASSERT_EQ(semAcesso.SetFiltro(filtro), S_OK);
  _REG_VARMO_PONTEIROSPS lista{};
  ASSERT_EQ(semAcesso.BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(PonteirosLista(lista), (std::vector<int32_t>{1, 2}));
  filtro.usPonteiroUsuarioTipoOP = 7;
  filtro.cAtivo = 2;
  ASSERT_EQ(semAcesso.SetFiltro(filtro), S_OK);
  ASSERT_EQ(semAcesso.BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(PonteirosLista(lista), (std::vector<int32_t>{5}));
}

// ---------------------------------------------------------------------------------------------------
// The COM class

TEST_F(PermissoesTipoOP, TheCOMClassListsPermissionsWithoutTheFilterAndKeepsIt) {
  IQVPP_TipoOP* tipo = nullptr;
  ASSERT_EQ(PPCriaObjeto<CQVPP_TipoOP>(IID_IQVPP_TipoOP, reinterpret_cast<void**>(&tipo)), S_OK);
  EXPECT_EQ(tipo->Inicializa(SessaoTeste(), 63), PPErroHResult(1677));
  ASSERT_EQ(tipo->Inicializa(SessaoTeste(), 64), S_OK);
  _REG_VARMO_FILTROPS filtro{};
  filtro.cAtivo = 2;
  ASSERT_EQ(tipo->SetFiltro(filtro), S_OK);

  _REG_LISTA_PERMISSOES_USUARIO_OPPS lista;
  ASSERT_EQ(tipo->BuscaListaPermissoes(&lista), S_OK);
  EXPECT_EQ(Entradas(lista), (std::vector<Permissao>{{1, 1, 1, 1}, {2, 1, 1, 1}, {3, 1, 1, 1}, {5, 1, 1, 1}}));
  BSTR codigo = SysAllocString(u"a");
  int32_t ponteiro = 0;
  EXPECT_EQ(tipo->Existe(codigo, &ponteiro, 1), S_OK);
  EXPECT_EQ(ponteiro, 0) << "type A is active: the filter hides it";
  EXPECT_EQ(tipo->Existe(codigo, &ponteiro, 0), S_OK);
  EXPECT_EQ(ponteiro, 1);
  SysFreeString(codigo);
  _REG_VARMO_PONTEIROSPS ponteiros{};
  ASSERT_EQ(tipo->BuscaPonteiros(&ponteiros), S_OK);
  EXPECT_EQ(PonteirosLista(ponteiros), std::vector<int32_t>{5}) << "the filter is in force again";

  uint32_t numero = 0;
  ASSERT_EQ(tipo->IncrementaOP(5, &numero), S_OK);
  EXPECT_EQ(numero, 1u);
  EXPECT_EQ(tipo->Remove(5), PPErroHResult(1588));
  EXPECT_EQ(tipo->Finaliza(), S_OK);
  EXPECT_EQ(tipo->IncrementaOP(5, &numero), PPErroHResult(1585));
  tipo->Release();
}

// ---------------------------------------------------------------------------------------------------
// Two processes numbering orders of one type

constexpr int kIncrementos = 200;

struct NumerosFilhos {
  std::atomic<int> prontos;
  std::atomic<int32_t> erro[2];
  uint32_t numeros[2][kIncrementos];
};

// A child's run: its own clock, moved on in real time by a thread of its own, so that waiting for
// the other process's lock takes real time; its own handler without COM (the user server read from
// its files); then the numbers, as soon as the other child is ready too. It leaves with _exit,
// the threads of its clock and of the stand-ins still running.
[[noreturn]] void NumeraNoFilho(int indice, NumerosFilhos& relato) {
  TestClock relogio(TestClock::SleepMode::kBlocks);
  std::atomic<bool> fim{false};
  std::thread ponteiro([&] {
    while (!fim) {
      relogio.Advance(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  CPPServidorTipoOP tipo;
  HRESULT hr = tipo.Inicializa(SessaoTeste(), 0);
  ++relato.prontos;
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (relato.prontos < 2 && std::chrono::steady_clock::now() < limite) std::this_thread::yield();
  for (int i = 0; hr == S_OK && i < kIncrementos; ++i) hr = tipo.IncrementaOP(1, &relato.numeros[indice][i]);
  relato.erro[indice] = hr;
  _exit(hr == S_OK ? 0 : 1);
}

class TipoOPDoisProcessos : public EmpresaCadastros {};

TEST_F(TipoOPDoisProcessos, TwoProcessesNumberingOneTypeGetDistinctConsecutiveNumbers) {
  // Set up on disk: the parent starts no server or COM thread before the children exist.
  empresa_.Escreve("PPTOPCAB.DAT", std::string(256, '\0') +
                                       Bytes(256, {{0, U32(100)}, {32, "TOP1"}, {42, "Corte"}, {218, "\x01"}}));
  empresa_.Escreve("PPTOPUSU.DAT", std::string(16, '\0'));
  Partilhado<NumerosFilhos> relato;
  pid_t filhos[2];
  for (int indice = 0; indice < 2; ++indice) {
    filhos[indice] = fork();
    ASSERT_GE(filhos[indice], 0);
    if (filhos[indice] == 0) NumeraNoFilho(indice, *relato);
  }
  std::vector<int> estados;
  ASSERT_NO_FATAL_FAILURE(estados = EsperaFilhos(filhos, std::chrono::minutes(5)));
  for (int indice = 0; indice < 2; ++indice) {
    EXPECT_TRUE(WIFEXITED(estados[indice]) && WEXITSTATUS(estados[indice]) == 0)
        << "child " << indice << ": 0x" << std::hex << relato->erro[indice].load();
  }

  std::vector<uint32_t> todos;
  for (int indice = 0; indice < 2; ++indice) {
    const uint32_t* numeros = relato->numeros[indice];
    EXPECT_TRUE(std::is_sorted(numeros, numeros + kIncrementos)) << "child " << indice;
    todos.insert(todos.end(), numeros, numeros + kIncrementos);
  }
  std::sort(todos.begin(), todos.end());
  std::vector<uint32_t> esperados(2 * kIncrementos);
  std::iota(esperados.begin(), esperados.end(), 101u);
  EXPECT_EQ(todos, esperados);
  EXPECT_EQ(empresa_.Le("PPTOPCAB.DAT").substr(256, 256),
            Bytes(256, {{0, U32(500)}, {32, "TOP1"}, {42, "Corte"}, {217, "\x01\x01"}}));
}

}  // namespace

// Issuing of an order: labels of its processes (EmitirEtiquetas), the internal requisition of its
// inputs and the replicas of a limited order that GravaOP makes, and BuscaChavesReplicacao.
//
// The label tests write their order byte by byte at hand-written offsets of PPOP, PPPR and PPPE
// and read PPEE back the same way; the requisition and replication tests save orders through
// GravaOP and look at the stand-ins' state and at the saved records' bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "platform/com/taskmem.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/family/base/RequisicaoInternaDF.h"
#include "platform/family/base/UsuarioDF.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "server/PPTextosStatus.h"
#include "tests/server/op/EmpresaOP.h"
#include "tests/support/ArquivoRegistros.h"

namespace {

// 05/2024, the month of the pinned day: (2024 - 1848) * 12 + 5.
constexpr uint16_t kMaio = 2117;
constexpr uint16_t kAbril = 2116;
constexpr uint16_t kJunho = 2118;
// 10:00, the pinned time, in minutes.
constexpr uint16_t kHoraFixada = 600;
constexpr int32_t kProcessoEtiquetas = 77;
// The order of the label tests lies at record 2 of its month, its process at record 2 of PPPR and
// its labels from record 2 of PPPE: record 1 of each file belongs to another order.
constexpr uint32_t kRegistro = 2;

uint32_t Chave(uint32_t registro, uint16_t mes) { return (registro << 12) | mes; }

// A record of zero bytes with values put at hand-written offsets.
class Bytes {
 public:
  explicit Bytes(size_t tamanho) : bytes_(tamanho, '\0') {}
  template <class T>
  Bytes& Poe(size_t deslocamento, T valor) {
    std::memcpy(&bytes_[deslocamento], &valor, sizeof valor);
    return *this;
  }
  operator std::string() const { return bytes_; }

 private:
  std::string bytes_;
};

template <class T>
T Valor(const std::string& bytes, size_t deslocamento) {
  T valor{};
  EXPECT_LE(deslocamento + sizeof valor, bytes.size());
  if (deslocamento + sizeof valor <= bytes.size()) std::memcpy(&valor, bytes.data() + deslocamento, sizeof valor);
  return valor;
}

// Record `registro` of a file's bytes (record 0 is the header).
std::string Registro(const std::string& arquivo, uint32_t tamanho, uint32_t registro) {
  EXPECT_GE(arquivo.size(), (registro + 1) * tamanho);
  return arquivo.size() >= (registro + 1) * tamanho ? arquivo.substr(registro * tamanho, tamanho) : std::string();
}

uint32_t Registros(const std::string& arquivo, uint32_t tamanho) {
  return arquivo.size() < tamanho ? 0 : static_cast<uint32_t>(arquivo.size() / tamanho - 1);
}

struct EtiquetaDisco {
  uint32_t ulQuantidadeTotal = 0;
  uint32_t ulQuantidadeEmitida = 0;
};

struct OrdemEtiquetas {
  uint16_t usMesAno = kMaio;
  uint16_t usDataEmissao = 0;  // 0: the pinned day
  uint8_t cSituacao = 1;
  uint8_t cRemovido = 0;
  std::vector<EtiquetaDisco> etiquetas{{10, 0}};
};

class Emissao : public EmpresaOP {
 protected:
  void SetUp() override {
    EmpresaOP::SetUp();
    if (HasFatalFailure()) return;
    Instalacao& instalacao = empresa_.GetInstalacao();
    instalacao.dir().Write("empresas/TESTE/ES/.keep", "");
    instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", "ES",
                          instalacao.dir().windows_path() + "empresas\\TESTE\\ES\\");
    ASSERT_EQ(estoque_.Registra(), S_OK);
    // The cache reads products under the master settings' price table, and order types through
    // the server's class.
    for (uint32_t produto : {kProdutoInsumo, kProdutoTerceiros})
      ASSERT_EQ(GravaPrecoDF(Instalacao::kEmpresa, 'P', produto, 1, Quantidade(1)), S_OK);
    RegistraServidor();
  }
  void TearDown() override {
    EmpresaOP::TearDown();
    EXPECT_EQ(estoque_.Movimento.Vivos(), 0);
  }

  // ---- Labels

  // The order of the label tests, written byte by byte.
  void GravaOrdem(const OrdemEtiquetas& ordem) const {
    const Bytes outraOrdem(256);
    const std::string cabecalho = Bytes(256)
                                      .Poe<uint32_t>(60, kRegistro)  // first process
                                      .Poe<uint16_t>(108, 1)         // processes
                                      .Poe<uint16_t>(126, ordem.usDataEmissao ? ordem.usDataEmissao : DiaFixado())
                                      .Poe<uint8_t>(170, ordem.cSituacao)
                                      .Poe<uint8_t>(171, ordem.cRemovido);
    empresa_.Escreve(MesOP::Nome("PPOP", ordem.usMesAno), ArquivoDeRegistros(256, {outraOrdem, cabecalho}));
    const std::string processo = Bytes(128)
                                     .Poe<int32_t>(44, kProcessoEtiquetas)
                                     .Poe<uint32_t>(60, kRegistro)  // first label
                                     .Poe<uint16_t>(78, static_cast<uint16_t>(ordem.etiquetas.size()));
    empresa_.Escreve(MesOP::Nome("PPPR", ordem.usMesAno), ArquivoDeRegistros(128, {Bytes(128), processo}));
    std::vector<std::string> etiquetas{Bytes(64).Poe<uint32_t>(8, 1000)};
    for (const EtiquetaDisco& etiqueta : ordem.etiquetas)
      etiquetas.push_back(
          Bytes(64).Poe<uint32_t>(4, etiqueta.ulQuantidadeEmitida).Poe<uint32_t>(8, etiqueta.ulQuantidadeTotal));
    empresa_.Escreve(MesOP::Nome("PPPE", ordem.usMesAno), ArquivoDeRegistros(64, etiquetas));
  }

  static _REG_PP_EMITIR_ETIQUETA_OPPS Pedido(uint32_t ulQtd, uint32_t ulLote, uint16_t usEtiqueta = 0,
                                             uint16_t usMesAno = kMaio) {
    _REG_PP_EMITIR_ETIQUETA_OPPS pedido{};
    pedido.ulChaveOP = Chave(kRegistro, usMesAno);
    pedido.ulQtdEtiquetas = ulQtd;
    pedido.ulTamanhoLoteEtiqueta = ulLote;
    pedido.usIdxEtiqueta = usEtiqueta;
    return pedido;
  }

  std::string Arquivo(const char* prefixo, uint16_t usMesAno = kMaio) const {
    const std::string nome = MesOP::Nome(prefixo, usMesAno);
    return empresa_.Existe(nome) ? empresa_.Le(nome) : std::string();
  }
  // The issued count of label i of the order (record kRegistro + i of PPPE).
  uint32_t Emitidas(uint16_t i) const { return Valor<uint32_t>(Registro(Arquivo("PPPE"), 64, kRegistro + i), 4); }
  uint32_t EtiquetasEmitidas() const { return Registros(Arquivo("PPEE"), 64); }

  // ---- Orders saved through GravaOP

  // An order of 10 units whose processes have three inputs (kProdutoInsumo 2 and kProdutoTerceiros
  // 1 per unit in the first, kProdutoInsumo 3 per unit in the second), for requester 5 of
  // department 9.
  OPTeste OrdemComInsumos() const {
    OPTeste op = NovaOP({{processos_[0], true, {{kProdutoInsumo, Quantidade(2)}, {kProdutoTerceiros, Quantidade(1)}}},
                         {processos_[1], true, {{kProdutoInsumo, Quantidade(3)}}}},
                        {{kProdutoFabricado, Quantidade(10)}});
    op.cabecalho.ulPonteiroRequisitante = 5;
    op.cabecalho.ulPonteiroDepartamento = 9;
    return op;
  }

  void DefineNomeUsuario(const char* nome) const {
    UsuarioDF usuario;
    std::memset(&usuario, 0, sizeof usuario);
    usuario.lChave = kUsuarioTeste;
    usuario.regUsuario.cUsuarioSupervisor = 1;
    std::strncpy(usuario.regUsuario.szNome, nome, sizeof usuario.regUsuario.szNome - 1);
    ASSERT_EQ(GravaUsuariosDF(Instalacao::kEmpresa, {usuario}), S_OK);
  }

  static std::vector<RequisicaoInternaDF> Requisicoes() {
    std::vector<RequisicaoInternaDF> requisicoes;
    EXPECT_EQ(LeRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
    return requisicoes;
  }

  // Bytes of the saved order `registro` of May.
  std::string Cabecalho(uint32_t registro) const { return Registro(Arquivo("PPOP"), 256, registro); }

  // A limited order: one sales-order item of 5 units that asks for `replicada` in all.
  OPTeste OrdemLimitada(int64_t replicada) const {
    OPTeste op = NovaOP({{processos_[0], true, {{kProdutoInsumo, Quantidade(1)}}}},
                        {{kProdutoFabricado, Quantidade(5), 3, 1, 1}});
    op.cabecalho.cPossuiItemQtdLimitada = 1;
    _REG_VARMO_OP_ITEMPS& item = op.itens[0];
    item.cGerouOPQtdLimitada = 1;
    item.vQuantidadeReplicada = Quantidade(replicada);
    item.vQuantidadeSaldo = Quantidade(replicada - 5);
    return op;
  }

  void DefineLoteReposicao(int64_t lote) const {
    CadastroEstoqueES cadastro;
    cadastro.lotesReposicao = {{{kProdutoFabricado, 0, 0, 0}, Quantidade(lote)}};
    ASSERT_EQ(GravaCadastroEstoqueES(Instalacao::kEmpresa, cadastro), S_OK);
  }

  // The programmed quantity of the first item of each order, by key.
  std::vector<int64_t> Programadas(const std::vector<uint32_t>& chaves) const {
    std::vector<int64_t> quantidades;
    const std::string itens = Arquivo("PPIT");
    for (uint32_t chave : chaves) {
      EXPECT_EQ(chave & 0xFFF, kMaio);
      const std::string cabecalho = Cabecalho(chave >> 12);
      EXPECT_EQ(Valor<uint16_t>(cabecalho, 110), 1) << "items";
      const std::string item = Registro(itens, 90, Valor<uint32_t>(cabecalho, 64));
      EXPECT_EQ(Valor<uint8_t>(item, 61), 0) << "a replica replicates nothing";
      quantidades.push_back(Valor<int64_t>(item, 0));
    }
    return quantidades;
  }

  std::vector<uint32_t> ChavesReplicacao() {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(op_.BuscaChavesReplicacao(&lista), S_OK);
    return PonteirosLista(lista);
  }

  ServidorEstoque estoque_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Labels

TEST_F(Emissao, LabelsOfBatchSize3AndQuantity7GetBatches1112223) {
  OrdemEtiquetas ordem;
  ordem.etiquetas = {{5, 0}, {10, 1}};
  GravaOrdem(ordem);
  _REG_PP_LISTA_ETIQUETA_EMITIDAPS lista{};
  ASSERT_EQ(op_.EmitirEtiquetas(Pedido(7, 3, 1), &lista), S_OK);

  const uint32_t lotes[] = {1, 1, 1, 2, 2, 2, 3};
  const std::string emitidas = Arquivo("PPEE");
  ASSERT_EQ(Registros(emitidas, 64), 7u);
  ASSERT_EQ(lista.ulQuantidade, 7u);
  for (uint32_t i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    const std::string registro = Registro(emitidas, 64, i + 1);
    EXPECT_EQ(Valor<uint32_t>(registro, 0), kRegistro);
    EXPECT_EQ(Valor<int32_t>(registro, 4), kProcessoEtiquetas);
    EXPECT_EQ(Valor<uint16_t>(registro, 8), 1);
    EXPECT_EQ(Valor<uint16_t>(registro, 10), kUsuarioTeste);
    EXPECT_EQ(Valor<uint16_t>(registro, 12), DiaFixado());
    EXPECT_EQ(Valor<uint16_t>(registro, 14), kHoraFixada);
    EXPECT_EQ(Valor<uint32_t>(registro, 52), 7u);
    EXPECT_EQ(Valor<uint32_t>(registro, 56), lotes[i]);
    EXPECT_EQ(Valor<uint32_t>(registro, 60), 3u);
    EXPECT_EQ(registro.substr(16, 36), std::string(36, '\0'));

    const _REG_PP_OP_ETIQUETA_EMITIDAPS& saida = lista.pregEtiquetas[i];
    EXPECT_EQ(saida.ulChaveEtiqueta, Chave(i + 1, kMaio));
    EXPECT_EQ(saida.ulChaveOP, Chave(kRegistro, kMaio));
    EXPECT_EQ(saida.ulQtdSolicitada, 7u);
    EXPECT_EQ(saida.ulNrLoteEtiqueta, lotes[i]);
    EXPECT_EQ(saida.ulTamanhoLoteEtiqueta, 3u);
    EXPECT_EQ(saida.lPonteiroProcesso, kProcessoEtiquetas);
    EXPECT_EQ(saida.usIdxProcessoEtiqueta, 1);
    EXPECT_EQ(saida.usPonteiroUsuario, kUsuarioTeste);
    EXPECT_EQ(saida.usDataEmissao, DiaFixado());
    EXPECT_EQ(saida.usHoraEmissao, kHoraFixada);
  }
  CoTaskMemFree(lista.pregEtiquetas);
  EXPECT_EQ(Emitidas(1), 8u);
  EXPECT_EQ(Valor<uint32_t>(Registro(Arquivo("PPPE"), 64, kRegistro + 1), 8), 10u) << "the total stays";
  EXPECT_EQ(Emitidas(0), 0u) << "the other label";
}

TEST_F(Emissao, QuantityZeroIssuesWhatIsLeftWithoutBatches) {
  OrdemEtiquetas ordem;
  ordem.etiquetas = {{10, 4}};
  GravaOrdem(ordem);
  _REG_PP_LISTA_ETIQUETA_EMITIDAPS lista{};
  ASSERT_EQ(op_.EmitirEtiquetas(Pedido(0, 0), &lista), S_OK);
  EXPECT_EQ(lista.ulQuantidade, 6u);
  CoTaskMemFree(lista.pregEtiquetas);
  const std::string emitidas = Arquivo("PPEE");
  ASSERT_EQ(Registros(emitidas, 64), 6u);
  for (uint32_t i = 1; i <= 6; ++i) {
    EXPECT_EQ(Valor<uint32_t>(Registro(emitidas, 64, i), 52), 6u);
    EXPECT_EQ(Valor<uint32_t>(Registro(emitidas, 64, i), 56), 0u) << "no batch";
  }
  EXPECT_EQ(Emitidas(0), 10u);
  // Nothing is left now.
  EXPECT_EQ(op_.EmitirEtiquetas(Pedido(0, 0), &lista), PPErroHResult(1701));
}

// What is left is signed: a label issued beyond its total has nothing left, not four thousand
// million labels. A quantity whose list cannot exist in the address space is refused before any
// write, whether asked for or left.
struct CasoRecusa {
  const char* nome;
  EtiquetaDisco etiqueta;
  uint32_t ulQtdEtiquetas;
  HRESULT hr;
};

class EmissaoRecusada : public Emissao, public ::testing::WithParamInterface<CasoRecusa> {};

TEST_P(EmissaoRecusada, WritesNothing) {
  OrdemEtiquetas ordem;
  ordem.etiquetas = {GetParam().etiqueta};
  GravaOrdem(ordem);
  _REG_PP_LISTA_ETIQUETA_EMITIDAPS lista{7, reinterpret_cast<_REG_PP_OP_ETIQUETA_EMITIDAPS*>(&lista)};
  EXPECT_EQ(op_.EmitirEtiquetas(Pedido(GetParam().ulQtdEtiquetas, 3), &lista), GetParam().hr);
  EXPECT_EQ(lista.ulQuantidade, 0u);
  EXPECT_EQ(lista.pregEtiquetas, nullptr);
  EXPECT_EQ(EtiquetasEmitidas(), 0u);
  EXPECT_EQ(Emitidas(0), GetParam().etiqueta.ulQuantidadeEmitida);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EmissaoRecusada,
    ::testing::Values(CasoRecusa{"NothingLeft", {5, 5}, 0, PPErroHResult(1701)},
                      CasoRecusa{"IssuedBeyondTotal", {5, 8}, 0, PPErroHResult(1701)},
                      CasoRecusa{"EmptyLabel", {0, 0}, 0, PPErroHResult(1701)},
                      // 0x8000000 x 40 bytes is 5 GiB (1 GiB once cut to 32 bits).
                      CasoRecusa{"AskedBeyondAddressSpace", {10, 0}, 0x8000000u, E_OUTOFMEMORY},
                      CasoRecusa{"LeftBeyondAddressSpace", {0xFFFFFFFFu, 0}, 0, E_OUTOFMEMORY}),
    [](const ::testing::TestParamInfo<CasoRecusa>& info) { return std::string(info.param.nome); });

TEST_F(Emissao, OrderSituationDecides) {
  const struct {
    uint8_t cSituacao;
    HRESULT hr;
  } casos[] = {{1, S_OK},
               {2, S_OK},
               {49, S_OK},
               {50, S_OK},
               {61, PPErroHResult(1592)},
               {62, PPErroHResult(1592)},
               {99, PPErroHResult(1592)}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(static_cast<int>(caso.cSituacao));
    OrdemEtiquetas ordem;
    ordem.cSituacao = caso.cSituacao;
    GravaOrdem(ordem);
    const uint32_t antes = EtiquetasEmitidas();
    _REG_PP_LISTA_ETIQUETA_EMITIDAPS lista{};
    EXPECT_EQ(op_.EmitirEtiquetas(Pedido(1, 0), &lista), caso.hr);
    CoTaskMemFree(lista.pregEtiquetas);
    EXPECT_EQ(EtiquetasEmitidas() - antes, caso.hr == S_OK ? 1u : 0u);
  }
}

TEST_F(Emissao, OrderEmittedOutsideTheOpenPeriodGives1649) {
  const struct {
    uint16_t usMesAno;
    uint16_t usData;
  } casos[] = {{kAbril, Dia(30, 4, 2024)}, {kJunho, Dia(1, 6, 2024)}};
  for (const auto& caso : casos) {
    OrdemEtiquetas ordem;
    ordem.usMesAno = caso.usMesAno;
    ordem.usDataEmissao = caso.usData;
    GravaOrdem(ordem);
    _REG_PP_LISTA_ETIQUETA_EMITIDAPS lista{};
    _REG_PP_EMITIR_ETIQUETA_OPPS pedido = Pedido(1, 0, 0, caso.usMesAno);
    EXPECT_EQ(op_.EmitirEtiquetas(pedido, &lista), PPErroHResult(1649));
    EXPECT_EQ(Registros(Arquivo("PPEE", caso.usMesAno), 64), 0u);
  }
  // Both ends of the period belong to it.
  OrdemEtiquetas ultimoDia;
  ultimoDia.usDataEmissao = Dia(31, 5, 2024);
  GravaOrdem(ultimoDia);
  _REG_PP_LISTA_ETIQUETA_EMITIDAPS lista{};
  EXPECT_EQ(op_.EmitirEtiquetas(Pedido(1, 0), &lista), S_OK);
  CoTaskMemFree(lista.pregEtiquetas);
}

TEST_F(Emissao, RefusesWhatItCannotAddress) {
  GravaOrdem({});
  _REG_PP_LISTA_ETIQUETA_EMITIDAPS lista{};
  _REG_PP_EMITIR_ETIQUETA_OPPS outroProcesso = Pedido(1, 0);
  outroProcesso.usIdxProcesso = 1;
  EXPECT_EQ(op_.EmitirEtiquetas(outroProcesso, &lista), PPErroHResult(1587));
  EXPECT_EQ(op_.EmitirEtiquetas(Pedido(1, 0, 1), &lista), PPErroHResult(1587)) << "the process has one label";
  _REG_PP_EMITIR_ETIQUETA_OPPS semOrdens = Pedido(1, 0, 0, kJunho);
  EXPECT_EQ(op_.EmitirEtiquetas(semOrdens, &lista), PPErroHResult(16021));
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPOP", kJunho))) << "a month without orders is not created";
  _REG_PP_EMITIR_ETIQUETA_OPPS alemDoArquivo = Pedido(1, 0);
  alemDoArquivo.ulChaveOP = Chave(3, kMaio);
  EXPECT_EQ(op_.EmitirEtiquetas(alemDoArquivo, &lista), PPErroHResult(16021));
  EXPECT_EQ(op_.EmitirEtiquetas(Pedido(1, 0), nullptr), E_POINTER);

  OrdemEtiquetas removida;
  removida.cRemovido = 1;
  GravaOrdem(removida);
  EXPECT_EQ(op_.EmitirEtiquetas(Pedido(1, 0), &lista), PPErroHResult(1586));
  EXPECT_EQ(EtiquetasEmitidas(), 0u);

  CPPServidorOP semSessao;
  EXPECT_EQ(semSessao.EmitirEtiquetas(Pedido(1, 0), &lista), PPErroHResult(1585));
}

TEST_F(Emissao, WaitsForTheOrderLockAndGivesUpAfter50Seconds) {
  GravaOrdem({});
  CQVArqMarca outro;
  ASSERT_EQ(outro.Marca(empresa_.Diretorio().c_str(), 29), 0);
  _REG_PP_LISTA_ETIQUETA_EMITIDAPS lista{};
  const DWORD inicio = GetTickCount();
  EXPECT_EQ(op_.EmitirEtiquetas(Pedido(1, 0), &lista), PPErroHResult(QVMensagemMarca(29, true)));
  EXPECT_GE(GetTickCount() - inicio, CQVArqMarca::kEsperaMarca);
  EXPECT_EQ(EtiquetasEmitidas(), 0u);
  outro.Desmarca();
  EXPECT_EQ(op_.EmitirEtiquetas(Pedido(1, 0), &lista), S_OK);
  CoTaskMemFree(lista.pregEtiquetas);
}

// ---------------------------------------------------------------------------------------------------
// Internal requisition of the inputs

TEST_F(Emissao, SavedOrderRequisitionsEachInputInTheBaseSystem) {
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cEmitirRInaOP = 1; });
  DefineNomeUsuario("ANA LUCIA");
  OPTeste op = OrdemComInsumos();
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaOP(0, op.Registro(), &chave, 1), S_OK);
  ASSERT_EQ(chave, Chave(1, kMaio));

  const std::vector<RequisicaoInternaDF> requisicoes = Requisicoes();
  ASSERT_EQ(requisicoes.size(), 1u);
  const _REG_REQUISICAOINTERNAPS& requisicao = requisicoes[0].regRequisicao;
  EXPECT_EQ(Valor<uint32_t>(Cabecalho(1), 40), requisicao.ulChave);
  EXPECT_EQ(requisicao.lFilialRequisitante, kFilial);
  EXPECT_EQ(requisicao.lFilialDestino, kFilial);
  EXPECT_EQ(requisicao.iDataEmissao, DiaFixado());
  EXPECT_EQ(requisicao.iDataNecessidade, DiaFixado()) << "the order's expected start";
  EXPECT_EQ(requisicao.iUsuarioRequisitante, kUsuarioTeste);
  EXPECT_EQ(requisicao.lRequerente, 5);
  EXPECT_EQ(requisicao.lDepartamento, 9);
  EXPECT_STREQ(requisicao.szCodigo, "0524-000001");
  EXPECT_STREQ(requisicao.szObservacao, "OP: 0524-000001 emitida por ANA LUCIA em 10/05/24 10:00");
  EXPECT_EQ(requisicao.cStatusPrincipal, 0);

  const struct {
    uint32_t produto;
    int64_t quantidade;
  } esperados[] = {{kProdutoInsumo, 20}, {kProdutoTerceiros, 10}, {kProdutoInsumo, 30}};
  ASSERT_EQ(requisicoes[0].itens.size(), std::size(esperados));
  for (size_t i = 0; i < std::size(esperados); ++i) {
    SCOPED_TRACE(i);
    const _REG_ITEMREQUISICAOINTERNAPS& item = requisicoes[0].itens[i].regItem;
    EXPECT_EQ(item.regProdutoServico.lPonteiroProduto, esperados[i].produto);
    EXPECT_EQ(item.vQuantidade.int64, Quantidade(esperados[i].quantidade).int64);
    EXPECT_EQ(item.ulPonteiroLocalOrigem, 1u);
    EXPECT_EQ(item.iPonteiroUnidadeMedida, 1) << "the product's stock unit";
    EXPECT_EQ(item.cItemProduto, 'P');
    EXPECT_EQ(item.cTipoNecessidade, 1);
  }
}

TEST_F(Emissao, NoRequisitionWithoutTheSettingOrARequester) {
  OPTeste semAjuste = OrdemComInsumos();
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaOP(0, semAjuste.Registro(), &chave, 1), S_OK);
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cEmitirRInaOP = 1; });
  OPTeste semRequisitante = OrdemComInsumos();
  semRequisitante.cabecalho.ulPonteiroRequisitante = 0;
  ASSERT_EQ(op_.GravaOP(0, semRequisitante.Registro(), &chave, 1), S_OK);
  EXPECT_TRUE(Requisicoes().empty());
  EXPECT_EQ(Valor<uint32_t>(Cabecalho(1), 40), 0u);
  EXPECT_EQ(Valor<uint32_t>(Cabecalho(2), 40), 0u);
}

// A rewrite asks again: a requisition that still stands (any main status but 3) is kept, a
// cancelled one gives way to a new one.
TEST_F(Emissao, RewriteKeepsAStandingRequisitionAndReplacesACancelledOne) {
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cEmitirRInaOP = 1; });
  OPTeste op = OrdemComInsumos();
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaOP(0, op.Registro(), &chave, 1), S_OK);
  ASSERT_EQ(Requisicoes().size(), 1u);
  const uint32_t primeira = Requisicoes()[0].regRequisicao.ulChave;

  for (uint8_t status : {0, 1, 2}) {
    SCOPED_TRACE(static_cast<int>(status));
    std::vector<RequisicaoInternaDF> requisicoes = Requisicoes();
    requisicoes[0].regRequisicao.cStatusPrincipal = status;
    ASSERT_EQ(GravaRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
    uint32_t regravada = 0;
    ASSERT_EQ(op_.GravaOP(chave, op.Registro(), &regravada, 1), S_OK);
    EXPECT_EQ(Requisicoes().size(), 1u);
    EXPECT_EQ(Valor<uint32_t>(Cabecalho(1), 40), primeira);
  }

  std::vector<RequisicaoInternaDF> requisicoes = Requisicoes();
  requisicoes[0].regRequisicao.cStatusPrincipal = 3;
  ASSERT_EQ(GravaRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
  uint32_t regravada = 0;
  ASSERT_EQ(op_.GravaOP(chave, op.Registro(), &regravada, 1), S_OK);
  requisicoes = Requisicoes();
  ASSERT_EQ(requisicoes.size(), 2u);
  EXPECT_NE(requisicoes[1].regRequisicao.ulChave, primeira);
  EXPECT_EQ(Valor<uint32_t>(Cabecalho(1), 40), requisicoes[1].regRequisicao.ulChave);
  EXPECT_EQ(requisicoes[1].itens.size(), 3u);
}

// ---------------------------------------------------------------------------------------------------
// Replication of a limited order

// A limited order of 5 asks for 15: the 10 beyond go to replicas of at most the replenishment batch
// (a product, with the setting), else of the programmed 5. A batch of 0 or below falls back to the
// programme instead of making empty orders for ever.
struct CasoReplicacao {
  const char* nome;
  bool bConsideraLote;
  int64_t lote;
  std::vector<int64_t> replicas;
};

class Replicacao : public Emissao, public ::testing::WithParamInterface<CasoReplicacao> {};

TEST_P(Replicacao, SplitsWhatIsBeyondTheProgramme) {
  const CasoReplicacao& caso = GetParam();
  DefineMestre([&](PPRegistroMestre& mestre) { mestre.cConsiderarLoteReposicao = caso.bConsideraLote ? 1 : 0; });
  DefineLoteReposicao(caso.lote);
  OPTeste op = OrdemLimitada(15);
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaOP(0, op.Registro(), &chave, 1), S_OK);
  ASSERT_EQ(chave, Chave(1, kMaio));

  const std::vector<uint32_t> chaves = ChavesReplicacao();
  std::vector<uint32_t> esperadas;
  for (uint32_t i = 0; i < caso.replicas.size(); ++i) esperadas.push_back(Chave(2 + i, kMaio));
  EXPECT_EQ(chaves, esperadas);
  std::vector<int64_t> quantidades;
  for (int64_t replica : caso.replicas) quantidades.push_back(Quantidade(replica).int64);
  EXPECT_EQ(Programadas(chaves), quantidades);
  // The order itself keeps its programme; the keys are handed over once.
  const std::string item = Registro(Arquivo("PPIT"), 90, Valor<uint32_t>(Cabecalho(1), 64));
  EXPECT_EQ(Valor<int64_t>(item, 0), Quantidade(5).int64);
  EXPECT_TRUE(ChavesReplicacao().empty());
}

INSTANTIATE_TEST_SUITE_P(Casos, Replicacao,
                         ::testing::Values(CasoReplicacao{"Batch4", true, 4, {4, 4, 2}},
                                           CasoReplicacao{"Batch0", true, 0, {5, 5}},
                                           CasoReplicacao{"NegativeBatch", true, -1, {5, 5}},
                                           CasoReplicacao{"BatchNotConsidered", false, 4, {5, 5}},
                                           CasoReplicacao{"BatchAboveWhatRemains", true, 25, {10}}),
                         [](const ::testing::TestParamInfo<CasoReplicacao>& info) {
                           return std::string(info.param.nome);
                         });

TEST_F(Emissao, FailedBatchReadStopsTheReplicationWithItsAnswer) {
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cConsiderarLoteReposicao = 1; });
  DefineLoteReposicao(4);
  estoque_.Movimento.FalhaMetodo("LeLoteReposicao", 1, E_FAIL);
  OPTeste op = OrdemLimitada(15);
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaOP(0, op.Registro(), &chave, 1), E_FAIL);
  EXPECT_TRUE(ChavesReplicacao().empty());
  EXPECT_EQ(Registros(Arquivo("PPOP"), 256), 1u) << "the order alone";
}

TEST_F(Emissao, BuscaChavesReplicacaoWithoutReplicationOrSession) {
  EXPECT_TRUE(ChavesReplicacao().empty());
  EXPECT_EQ(op_.BuscaChavesReplicacao(nullptr), E_POINTER);
  CPPServidorOP semSessao;
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  EXPECT_EQ(semSessao.BuscaChavesReplicacao(&lista), PPErroHResult(1585));
}

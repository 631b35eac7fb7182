// The production-operation handler over a company: its record layout and history lines, the
// detail text kept apart, the filter (also by resource type, through a fake resource-type server
// that the handler's cache reaches through COM), the usage checks of Remove, and the COM class.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/com/classobject.h"
#include "platform/com/standin.h"
#include "platform/win32/codepage.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"
#include "server/cadastros/CQVPP_OperacaoProducao.h"
#include "server/idl/VarmoIdentificadores.h"
#include "tests/access/TipoRecursoFalso.h"
#include "tests/server/cadastros/EmpresaCadastros.h"

namespace {

constexpr HRESULT Erro(uint32_t numero) { return static_cast<HRESULT>(0x80040000 | numero); }

constexpr size_t kTamanho = 128;
const char* const kCabecalho = "PPOPPCAB.DAT";
const char* const kDetalhe = "PPOPPDET.DAT";

// A BSTR freed at the end of a scope.
struct Bstr {
  explicit Bstr(const char16_t* texto) : bstr(SysAllocString(texto)) {}
  ~Bstr() { SysFreeString(bstr); }
  BSTR bstr;
};

std::u16string Texto(BSTR texto) { return std::u16string(texto, SysStringLen(texto)); }

_REG_VARMO_OPERACAO_PRODUCAOPS Operacao(const char* codigo, const char* descricao, uint8_t tipo = 1,
                                        uint8_t ativo = 1, uint8_t emOP = 0, uint8_t emRecurso = 0) {
  _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
  std::strcpy(operacao.szCodigo, codigo);
  std::strcpy(operacao.szDescricao, descricao);
  operacao.cTipoOperacao = tipo;
  operacao.cAtivo = ativo;
  operacao.cVisualizarEmApontamentoOP = emOP;
  operacao.cVisualizarEmApontamentoRecurso = emRecurso;
  return operacao;
}

// A little-endian 32-bit value as bytes.
std::string U32(uint32_t valor) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(valor >> (8 * i));
  return bytes;
}

class OperacaoProducao : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    auto* fabrica = new FunctionClassFactory(
        [this](REFIID riid, void** objeto) { return tiposRecurso_.QueryInterface(riid, objeto); });
    ASSERT_EQ(CoRegisterClassObject(CLSID_QVPP_TipoRecurso, fabrica, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                    &cookie_),
              S_OK);
    fabrica->Release();
    ASSERT_EQ(servidor_.Inicializa(SessaoTeste(), 1), S_OK);
  }
  void TearDown() override {
    servidor_.Finaliza();
    CoRevokeClassObject(cookie_);
    EmpresaCadastros::TearDown();
  }

  int32_t Grava(const _REG_VARMO_OPERACAO_PRODUCAOPS& operacao, int32_t lPntrIn = 0) {
    int32_t lPntr = -1;
    EXPECT_EQ(servidor_.Grava(lPntrIn, operacao, &lPntr), S_OK);
    return lPntr;
  }
  std::string Registro(int32_t lPntr) const { return empresa_.Le(kCabecalho).substr(lPntr * kTamanho, kTamanho); }
  uint32_t OffsetDetalhe(int32_t lPntr) const {
    uint32_t offset;
    std::memcpy(&offset, Registro(lPntr).data(), 4);
    return offset;
  }
  std::u16string LeDetalhe(int32_t lPntr) {
    BSTR detalhe = nullptr;
    EXPECT_EQ(servidor_.LeDetalhe(lPntr, &detalhe), S_OK);
    const std::u16string texto = Texto(detalhe);
    SysFreeString(detalhe);
    return texto;
  }
  std::vector<int32_t> Busca(const _REG_PP_FILTRO_OPERACAO_PRODUCAOPS& filtro) {
    EXPECT_EQ(servidor_.SetFiltro(filtro), S_OK);
    _REG_VARMO_PONTEIROSPS lista{};
    EXPECT_EQ(servidor_.BuscaPonteiros(&lista), S_OK);
    return PonteirosLista(lista);
  }
  // A month's production reports (05/2024), each with its operation (84) and scrap reason (112).
  void EscreveApontamentos(std::initializer_list<std::pair<int32_t, int32_t>> operacaoMotivo) const {
    std::string arquivo(200, '\0');
    for (const auto& [operacao, motivo] : operacaoMotivo) {
      std::string registro(200, '\0');
      registro.replace(84, 4, U32(static_cast<uint32_t>(operacao)));
      registro.replace(112, 4, U32(static_cast<uint32_t>(motivo)));
      arquivo += registro;
    }
    empresa_.Escreve("PPAP0524.DAT", arquivo);
  }

  TipoRecursoFalso tiposRecurso_;
  DWORD cookie_ = 0;
  CPPServidorOperacaoProducao servidor_;
};

TEST_F(OperacaoProducao, GravaWritesTheRecordLayoutAndHistoryLinesIThenA) {
  ASSERT_EQ(Grava(Operacao("CORTE", "Corte de chapa", 3, 1, 1, 0)), 1);
  std::string esperado(kTamanho, '\0');
  esperado.replace(4, 5, "CORTE");
  esperado.replace(14, 14, "Corte de chapa");
  esperado[64] = 3;  // kind
  esperado[65] = 1;  // active
  esperado[67] = 1;  // offered in order reporting
  EXPECT_EQ(Registro(1), esperado);

  ASSERT_EQ(Grava(Operacao("CORTE", "Corte a laser", 3, 0, 0, 1), 1), 1);
  esperado.replace(14, 14, std::string("Corte a laser\0", 14));
  esperado[65] = 0;
  esperado[67] = 0;
  esperado[68] = 1;  // offered in resource reporting
  EXPECT_EQ(Registro(1), esperado);
  EXPECT_EQ(empresa_.Le(kCabecalho).size(), 2 * kTamanho);

  _REG_VARMO_OPERACAO_PRODUCAOPS lida;
  std::memset(&lida, 0xAB, sizeof lida);
  ASSERT_EQ(servidor_.Le(1, &lida), S_OK);
  EXPECT_EQ(lida.lPosicao, 1);
  EXPECT_STREQ(lida.szCodigo, "CORTE");
  EXPECT_STREQ(lida.szDescricao, "Corte a laser");
  EXPECT_EQ(lida.cTipoOperacao, 3);
  EXPECT_EQ(lida.cAtivo, 0);
  EXPECT_EQ(lida.cVisualizarEmApontamentoOP, 0);
  EXPECT_EQ(lida.cVisualizarEmApontamentoRecurso, 1);
  EXPECT_EQ(lida.cFiller[0], 0);

  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Operação: CORTE - Corte de chapa"_ansi},
                                                   {'A', "Operação: CORTE - Corte a laser"_ansi}}));
}

TEST_F(OperacaoProducao, TextsOfTheComRecordAreReadWithinTheirFieldsAndCutToTheDiskWidths) {
  _REG_VARMO_OPERACAO_PRODUCAOPS cheia = Operacao("", "");
  std::memset(cheia.szCodigo, 'C', sizeof cheia.szCodigo);  // no terminator in either field
  std::memset(cheia.szDescricao, 'D', sizeof cheia.szDescricao);
  cheia.cTipoOperacao = 7;  // right behind the description: must not join it
  ASSERT_EQ(Grava(cheia), 1);
  EXPECT_EQ(Registro(1).substr(4, 60), std::string(10, 'C') + std::string(50, 'D'));
  EXPECT_EQ(Registro(1)[64], 7);

  _REG_VARMO_OPERACAO_PRODUCAOPS lida{};
  ASSERT_EQ(servidor_.Le(1, &lida), S_OK);
  EXPECT_EQ(std::string(lida.szCodigo, sizeof lida.szCodigo), std::string(10, 'C') + std::string(2, '\0'));
  EXPECT_EQ(std::string(lida.szDescricao, sizeof lida.szDescricao), std::string(50, 'D') + std::string(2, '\0'));
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{
                          {'I', "Operação: "_ansi + std::string(12, 'C') + " - " + std::string(52, 'D')}}));
}

// The detail file is "QV" and then records of a 16-bit length and the text: the first text lies at
// offset 2.
TEST_F(OperacaoProducao, DetalheIsKeptByGravaRewrittenInPlaceWhenShorterAndAppendedWhenLonger) {
  ASSERT_EQ(Grava(Operacao("AJ", "Ajuste")), 1);
  EXPECT_EQ(LeDetalhe(1), u"");

  Bstr primeiro(u"Ajustar a prensa");  // 16 characters
  ASSERT_EQ(servidor_.GravaDetalhe(1, primeiro.bstr), S_OK);
  EXPECT_EQ(OffsetDetalhe(1), 2u);
  EXPECT_EQ(empresa_.Le(kDetalhe), std::string("QV\x10\x00", 4) + "Ajustar a prensa");
  EXPECT_EQ(LeDetalhe(1), u"Ajustar a prensa");

  ASSERT_EQ(Grava(Operacao("AJ", "Ajuste fino"), 1), 1);
  EXPECT_EQ(OffsetDetalhe(1), 2u);
  EXPECT_EQ(LeDetalhe(1), u"Ajustar a prensa");

  Bstr curto(u"Calço");  // Windows-1252 on disk
  ASSERT_EQ(servidor_.GravaDetalhe(1, curto.bstr), S_OK);
  EXPECT_EQ(OffsetDetalhe(1), 2u);
  EXPECT_EQ(empresa_.Le(kDetalhe).size(), 20u);
  EXPECT_EQ(empresa_.Le(kDetalhe).substr(4, 5), "Cal\xe7o");
  EXPECT_EQ(LeDetalhe(1), u"Calço");

  Bstr longo(u"Trocar a matriz e ajustar a altura");  // 34 characters
  ASSERT_EQ(servidor_.GravaDetalhe(1, longo.bstr), S_OK);
  EXPECT_EQ(OffsetDetalhe(1), 20u);
  EXPECT_EQ(empresa_.Le(kDetalhe).substr(20), std::string("\x22\x00", 2) + "Trocar a matriz e ajustar a altura");
  EXPECT_EQ(LeDetalhe(1), u"Trocar a matriz e ajustar a altura");

  // The rest of the record is untouched, and the detail writes no history.
  EXPECT_EQ(Registro(1).substr(4, 60), std::string("AJ") + std::string(8, '\0') + "Ajuste fino" + std::string(39, '\0'));
  EXPECT_EQ(Linhas().size(), 2u);
}

TEST_F(OperacaoProducao, AnEmptyDetalheLeavesTheOperationWithoutText) {
  ASSERT_EQ(Grava(Operacao("AJ", "Ajuste")), 1);
  Bstr texto(u"Texto");
  ASSERT_EQ(servidor_.GravaDetalhe(1, texto.bstr), S_OK);
  ASSERT_EQ(servidor_.GravaDetalhe(1, nullptr), S_OK);
  EXPECT_EQ(OffsetDetalhe(1), 0u);
  EXPECT_EQ(LeDetalhe(1), u"");
}

TEST_F(OperacaoProducao, DetalheRefusesBadPointersAndRemovedOperations) {
  ASSERT_EQ(Grava(Operacao("AJ", "Ajuste")), 1);
  ASSERT_EQ(Grava(Operacao("RM", "Removida")), 2);
  ASSERT_EQ(servidor_.Remove(2), S_OK);
  const std::string antes = empresa_.Le(kCabecalho);
  Bstr texto(u"Texto");
  EXPECT_EQ(servidor_.GravaDetalhe(0, texto.bstr), Erro(1587));
  EXPECT_EQ(servidor_.GravaDetalhe(-1, texto.bstr), Erro(1587));
  EXPECT_EQ(servidor_.GravaDetalhe(2, texto.bstr), Erro(1586));
  EXPECT_EQ(servidor_.GravaDetalhe(3, texto.bstr), Erro(16021));  // past the last record
  EXPECT_EQ(empresa_.Le(kCabecalho), antes);
  EXPECT_EQ(empresa_.Le(kDetalhe), "QV");

  BSTR intacto = reinterpret_cast<BSTR>(0x1234);
  EXPECT_EQ(servidor_.LeDetalhe(0, &intacto), S_OK);
  EXPECT_EQ(servidor_.LeDetalhe(-5, &intacto), S_OK);
  EXPECT_EQ(intacto, reinterpret_cast<BSTR>(0x1234));
  EXPECT_EQ(servidor_.LeDetalhe(2, &intacto), Erro(1586));
  EXPECT_EQ(servidor_.LeDetalhe(1, nullptr), E_POINTER);

  CPPServidorOperacaoProducao novo;
  EXPECT_EQ(novo.GravaDetalhe(1, texto.bstr), Erro(1585));
  EXPECT_EQ(novo.LeDetalhe(1, &intacto), Erro(1585));
}

TEST_F(OperacaoProducao, AnyFailureOfTheDetailFileAnswers1590) {
  ASSERT_EQ(Grava(Operacao("AJ", "Ajuste")), 1);
  // A stored offset past the end of the text file: damaged, refused without a crash.
  std::string cabecalho = empresa_.Le(kCabecalho);
  cabecalho.replace(kTamanho, 4, U32(4000));
  empresa_.Escreve(kCabecalho, cabecalho);
  BSTR detalhe = nullptr;
  EXPECT_EQ(servidor_.LeDetalhe(1, &detalhe), Erro(1590));
  EXPECT_EQ(detalhe, nullptr);

  // A detail file that is not a variable-record file is refused and left as it is.
  empresa_.Escreve(kDetalhe, "lixo");
  Bstr texto(u"Texto");
  EXPECT_EQ(servidor_.GravaDetalhe(1, texto.bstr), Erro(1590));
  EXPECT_EQ(empresa_.Le(kDetalhe), "lixo");
  EXPECT_EQ(OffsetDetalhe(1), 4000u);
}

TEST_F(OperacaoProducao, NullOutputsAnswerEPointerBeforeAnyWrite) {
  int32_t lPntr = 0;
  EXPECT_EQ(servidor_.Grava(0, Operacao("X", "X"), nullptr), E_POINTER);
  EXPECT_EQ(servidor_.Le(1, nullptr), E_POINTER);
  EXPECT_EQ(servidor_.LePonteiros(1, &lPntr, nullptr), E_POINTER);
  EXPECT_EQ(servidor_.BuscaPonteiros(nullptr), E_POINTER);
  EXPECT_EQ(empresa_.Le(kCabecalho).size(), kTamanho);
  EXPECT_TRUE(Linhas().empty());
}

struct CasoFiltro {
  const char* nome;
  _REG_PP_FILTRO_OPERACAO_PRODUCAOPS filtro;
  std::vector<int32_t> esperados;
};

TEST_F(OperacaoProducao, FilterTestsActiveKindAndEitherReportingPlaceAskedFor) {
  ASSERT_EQ(Grava(Operacao("A", "Em OP", 1, 1, 1, 0)), 1);
  ASSERT_EQ(Grava(Operacao("B", "Em recurso", 2, 0, 0, 1)), 2);
  ASSERT_EQ(Grava(Operacao("C", "Em nenhum", 1, 1, 0, 0)), 3);
  ASSERT_EQ(Grava(Operacao("D", "Removida", 1, 1, 1, 1)), 4);
  ASSERT_EQ(servidor_.Remove(4), S_OK);
  const CasoFiltro casos[] = {
      {"no filter", {}, {1, 2, 3}},
      {"active", {0, 0, 0, 0, 1, {}}, {1, 3}},
      {"kind 2", {0, 2, 0, 0, 0, {}}, {2}},
      {"order reporting", {0, 0, 1, 0, 0, {}}, {1}},
      {"resource reporting", {0, 0, 0, 1, 0, {}}, {2}},
      {"either reporting place", {0, 0, 1, 1, 0, {}}, {1, 2}},
      {"active in either place", {0, 0, 1, 1, 1, {}}, {1}},
      {"active of kind 2", {0, 2, 0, 0, 1, {}}, {}},
  };
  for (const CasoFiltro& caso : casos) EXPECT_EQ(Busca(caso.filtro), caso.esperados) << caso.nome;
}

TEST_F(OperacaoProducao, FilterByResourceTypeReadsTheTypesOperationsOnceThroughTheCache) {
  for (const char* codigo : {"A", "B", "C"}) Grava(Operacao(codigo, "Operacao"));
  TipoRecursoFalso::Tipo prensa{};
  prensa.registro.ulPosicao = 5;
  prensa.operacoes[0].registro.ulPonteiroOperacaoProducao = 3;
  prensa.operacoes[1].registro.ulPonteiroOperacaoProducao = 1;
  prensa.quantidadeOperacoes = 2;
  tiposRecurso_.tipos[5] = prensa;

  EXPECT_EQ(Busca({5, 0, 0, 0, 0, {}}), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(tiposRecurso_.leituras, 1);
  EXPECT_EQ(tiposRecurso_.ultimoPonteiro, 5u);
  EXPECT_EQ(tiposRecurso_.ultimoTipoLeitura, 2);  // the operations, no definitions

  // A type that cannot be read lets no operation pass.
  EXPECT_EQ(Busca({9, 0, 0, 0, 0, {}}), (std::vector<int32_t>{}));
  int32_t lPntr = -1;
  Bstr codigo(u"a");
  EXPECT_EQ(servidor_.Existe(codigo.bstr, &lPntr, 1), S_OK);
  EXPECT_EQ(lPntr, 0);
  EXPECT_EQ(servidor_.Existe(codigo.bstr, &lPntr, 0), S_OK);
  EXPECT_EQ(lPntr, 1);
}

TEST_F(OperacaoProducao, RemoveRefusesAnOperationThatAReportNamesAndWritesNothing) {
  ASSERT_EQ(Grava(Operacao("CORTE", "Corte")), 1);
  ASSERT_EQ(Grava(Operacao("DOBRA", "Dobra")), 2);
  // Report 1 names operation 1; report 2 has scrap reason 2 (another entity's number) and
  // operation 9.
  EscreveApontamentos({{1, 0}, {9, 2}});
  const std::string antes = empresa_.Le(kCabecalho);

  EXPECT_EQ(servidor_.Remove(1), Erro(1588));
  EXPECT_EQ(empresa_.Le(kCabecalho), antes);

  ASSERT_EQ(servidor_.Remove(2), S_OK);
  EXPECT_EQ(Registro(2)[66], 1);
  ASSERT_EQ(servidor_.Remove(2), S_OK);  // already removed: nothing more
  _REG_VARMO_OPERACAO_PRODUCAOPS lida{};
  EXPECT_EQ(servidor_.Le(2, &lida), Erro(1586));
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Operação: CORTE - Corte"_ansi},
                                                   {'I', "Operação: DOBRA - Dobra"_ansi},
                                                   {'E', "Operação: DOBRA - Dobra"_ansi}}));
}

TEST_F(OperacaoProducao, RemoveRefusesAnOperationThatAResourceTypeLists) {
  ASSERT_EQ(Grava(Operacao("CORTE", "Corte")), 1);
  ASSERT_EQ(Grava(Operacao("DOBRA", "Dobra")), 2);
  // Type 1 lists operation 2 (its run: operation record 1); type 2, removed, lists operation 1.
  std::string tipos(104, '\0');
  std::string tipo(104, '\0');
  tipo.replace(0, 4, U32(1));
  tipo[8] = 1;  // one operation
  tipo.replace(10, 6, "PRENSA");
  tipos += tipo;
  tipo.replace(0, 4, U32(2));
  tipo.replace(10, 6, std::string("TORNO\0", 6));
  tipo[73] = 1;  // removed
  tipos += tipo;
  empresa_.Escreve("PPTIPREC.DAT", tipos);
  empresa_.Escreve("PPTROPRC.DAT", std::string(32, '\0') + U32(2) + std::string(28, '\0') + U32(1) +
                                       std::string(28, '\0'));
  const std::string antes = empresa_.Le(kCabecalho);

  EXPECT_EQ(servidor_.Remove(2), Erro(1588));
  EXPECT_EQ(empresa_.Le(kCabecalho), antes);
  ASSERT_EQ(servidor_.Remove(1), S_OK);
  EXPECT_EQ(Registro(1)[66], 1);
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'E', "Operação: CORTE - Corte"_ansi}));
}

// ---- The COM class ---------------------------------------------------------------------------------

class ClasseOperacaoProducao : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    ASSERT_EQ(PPCriaObjeto<CQVPP_OperacaoProducao>(IID_IQVPP_OperacaoProducao, reinterpret_cast<void**>(&objeto_)),
              S_OK);
  }
  void TearDown() override {
    objeto_->Release();
    EmpresaCadastros::TearDown();
  }

  IQVPP_OperacaoProducao* objeto_ = nullptr;
};

TEST_F(ClasseOperacaoProducao, AWrongInterfaceVersionLeavesTheHandlerUninitialised) {
  for (uint16_t versao : {63, 65}) {
    EXPECT_EQ(objeto_->Inicializa(SessaoTeste(), versao), Erro(1677));
    EXPECT_EQ(objeto_->LimpaFiltro(), Erro(1585)) << versao;
  }
}

TEST_F(ClasseOperacaoProducao, ExisteWithoutTheFilterKeepsItForTheNextSearch) {
  ASSERT_EQ(objeto_->Inicializa(SessaoTeste(), 64), S_OK);
  int32_t lPntr = 0;
  ASSERT_EQ(objeto_->Grava(0, Operacao("PARADA", "Parada", 1, 0), &lPntr), S_OK);
  ASSERT_EQ(objeto_->SetFiltro({0, 0, 0, 0, 1, {}}), S_OK);  // active only

  Bstr codigo(u"parada");
  EXPECT_EQ(objeto_->Existe(codigo.bstr, &lPntr, 1), S_OK);
  EXPECT_EQ(lPntr, 0);
  EXPECT_EQ(objeto_->Existe(codigo.bstr, &lPntr, 0), S_OK);
  EXPECT_EQ(lPntr, 1);
  _REG_VARMO_PONTEIROSPS lista{};
  ASSERT_EQ(objeto_->BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(lista.lQtd, 0);
  EXPECT_EQ(lista.plPonteiro, nullptr);

  Bstr detalhe(u"Parada para manutenção");
  ASSERT_EQ(objeto_->GravaDetalhe(1, detalhe.bstr), S_OK);
  BSTR lido = nullptr;
  ASSERT_EQ(objeto_->LeDetalhe(1, &lido), S_OK);
  EXPECT_EQ(Texto(lido), u"Parada para manutenção");
  SysFreeString(lido);
  EXPECT_EQ(objeto_->Finaliza(), S_OK);
}

}  // namespace

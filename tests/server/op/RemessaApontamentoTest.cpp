// The shipment of an outsourced report made ready: issue date and time, the branch settings'
// history and classification, and the internal CFOP only when the supplier's location text equals
// the branch's without regard to case. A failed read of either changes nothing; the supplier
// connection is initialised with the handler's session once, and its failure is reported.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/kelmar/CConexaoFornecedor.h"
#include "server/CPPArqEx.h"
#include "tests/server/op/EmpresaOPFamilia.h"

namespace {

constexpr HRESULT kFalha = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
constexpr uint16_t kCFOPInterna = 5901;
constexpr uint16_t kCFOPExterna = 6901;

template <size_t N>
void Texto(char (&campo)[N], const char* texto) {
  PPCopiaTexto(campo, static_cast<int>(N), texto);
}

_REG_CFRT_BASEPS Fornecedor(const char* localizacao) {
  _REG_CFRT_BASEPS registro{};
  Texto(registro.szLocalizacao, localizacao);
  return registro;
}

class RemessaApontamentoTest : public EmpresaOPFamilia {
 protected:
  void SetUp() override {
    EmpresaOPFamilia::SetUp();
    if (HasFatalFailure()) return;
    std::vector<__MIDL___MIDL_itf_Brisel_0000_0003> filiais(2);
    std::memset(filiais.data(), 0, filiais.size() * sizeof filiais[0]);
    Texto(filiais[0].szLocalizacao, "Sao Paulo");
    Texto(filiais[1].szLocalizacao, "RJ");
    ASSERT_EQ(ServidorFiliais::GravaFiliais(Instalacao::kEmpresa, filiais), S_OK);
    ASSERT_EQ(CadastroCFRT::Grava(Instalacao::kEmpresa, {Fornecedor("SAO PAULO"), Fornecedor("sao paulo "),
                                                         Fornecedor("Sao"), Fornecedor("rj"), Fornecedor("")}),
              S_OK);
    inicializacoes_ = CadastroCFRT::Classe().Inicializacoes().size();
  }
  void TearDown() override {
    CadastroCFRT::Classe().FalhaInicializacao(S_OK);
    EmpresaOPFamilia::TearDown();
    EXPECT_EQ(CadastroCFRT::Classe().Vivos(), 0);  // Finaliza let go of the supplier connection
  }

  static _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS Configuracao() {
    _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS inf{};
    inf.lSFAEPonteiroClassificacao = 77;
    inf.usPonteiroFilial = kFilial;
    inf.usSFAEPonteiroCFOPRemessaInterna = kCFOPInterna;
    inf.usSFAEPonteiroCFOPRemessaExterna = kCFOPExterna;
    inf.usSFAEPonteiroHistorico = 12;
    return inf;
  }
  // A shipment as the report brings it, with fields that the preparation must keep.
  static _REG_PP_REMESSA_INDUSTRIALIZACAOPS Remessa(int32_t fornecedor, uint16_t filial) {
    _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa{};
    remessa.ulChaveOP = TesteOP::Chave(3);
    remessa.lPonteiroFornecedor = fornecedor;
    remessa.usPonteiroFilial = filial;
    remessa.usPonteiroCFOP = 1;
    remessa.usQtdInsumos = 2;
    remessa.cStatusFaturamento = 1;
    return remessa;
  }
  HRESULT Prepara(_REG_PP_REMESSA_INDUSTRIALIZACAOPS& remessa) {
    return (op_.*Passo(TesteOP::PreparaRemessaApontamento{}))(Configuracao(), 63200, 615, &remessa);
  }
  // Initialisations of the supplier connection since SetUp.
  size_t NovasInicializacoes() const { return CadastroCFRT::Classe().Inicializacoes().size() - inicializacoes_; }

  size_t inicializacoes_ = 0;
};

}  // namespace

TEST_F(RemessaApontamentoTest, InternalCFOPOnlyWhenTheLocationTextsMatchWithoutCase) {
  const struct {
    int32_t fornecedor;
    uint16_t filial;
    uint16_t cfop;
  } casos[] = {
      {1, 1, kCFOPInterna},  // "SAO PAULO" and "Sao Paulo"
      {2, 1, kCFOPExterna},  // a trailing space is another text
      {3, 1, kCFOPExterna},  // a prefix is another text
      {4, 2, kCFOPInterna},  // "rj" and "RJ"
      {4, 1, kCFOPExterna},
      {5, 2, kCFOPExterna},  // an empty text matches no branch's
  };
  for (const auto& caso : casos) {
    _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa = Remessa(caso.fornecedor, caso.filial);
    ASSERT_EQ(Prepara(remessa), S_OK) << caso.fornecedor << "/" << caso.filial;
    EXPECT_EQ(remessa.usPonteiroCFOP, caso.cfop) << caso.fornecedor << "/" << caso.filial;

    // The rest from the settings and the recording time; the report's own fields kept.
    _REG_PP_REMESSA_INDUSTRIALIZACAOPS esperada = Remessa(caso.fornecedor, caso.filial);
    esperada.usPonteiroCFOP = caso.cfop;
    esperada.usDataEmissaoRemessa = 63200;
    esperada.usHoraEmissaoRemessa = 615;
    esperada.usPonteiroHistorico = 12;
    esperada.lPonteiroClassificacao = 77;
    EXPECT_EQ(std::memcmp(&remessa, &esperada, sizeof remessa), 0) << caso.fornecedor << "/" << caso.filial;
  }
  EXPECT_EQ(NovasInicializacoes(), 1u);  // one initialisation served every shipment
}

TEST_F(RemessaApontamentoTest, FailedReadReturnsItsFailureAndChangesNothing) {
  const struct {
    const char* caso;
    int32_t fornecedor;
    uint16_t filial;
    std::function<void()> injeta;
    HRESULT esperado;
  } casos[] = {
      {"supplier not in the register", 6, 1, [] {}, kFamiliaNaoEncontrado},
      {"no supplier", 0, 1, [] {}, kFamiliaNaoEncontrado},
      {"branch not held", 1, 3, [] {}, kFamiliaNaoEncontrado},
      {"supplier read refused", 1, 1, [] { CadastroCFRT::Classe().FalhaMetodo("LeBase", 1, kFalha); }, kFalha},
      {"branch read refused", 1, 1, [this] { filiais_.Filial.FalhaMetodo("Le", 1, kFalha); }, kFalha},
  };
  for (const auto& caso : casos) {
    _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa = Remessa(caso.fornecedor, caso.filial);
    caso.injeta();
    EXPECT_EQ(Prepara(remessa), caso.esperado) << caso.caso;
    const _REG_PP_REMESSA_INDUSTRIALIZACAOPS intacta = Remessa(caso.fornecedor, caso.filial);
    EXPECT_EQ(std::memcmp(&remessa, &intacta, sizeof remessa), 0) << caso.caso;
  }
}

TEST_F(RemessaApontamentoTest, ConnectionIsInitialisedOnceWithTheSessionAndItsFailureReported) {
  ClasseFamilia& classe = CadastroCFRT::Classe();
  const struct {
    const char* caso;
    std::function<void()> injeta;
    HRESULT esperado;
  } falhas[] = {
      {"creation", [&] { classe.FailStarts(1); }, RPC_S_SERVER_UNAVAILABLE_HRESULT},
      {"initialisation", [&] { classe.FalhaInicializacao(kFalha); }, kFalha},
  };
  for (const auto& falha : falhas) {
    _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa = Remessa(1, 1);
    falha.injeta();
    EXPECT_EQ(Prepara(remessa), falha.esperado) << falha.caso;
    const _REG_PP_REMESSA_INDUSTRIALIZACAOPS intacta = Remessa(1, 1);
    EXPECT_EQ(std::memcmp(&remessa, &intacta, sizeof remessa), 0) << falha.caso;
    classe.FalhaInicializacao(S_OK);
  }

  // The failures kept no interface: the next shipment initialises it, the one after does not.
  const size_t antes = NovasInicializacoes();
  for (int i = 0; i < 2; ++i) {
    _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa = Remessa(1, 1);
    ASSERT_EQ(Prepara(remessa), S_OK);
    EXPECT_EQ(remessa.usPonteiroCFOP, kCFOPInterna);
  }
  ASSERT_EQ(NovasInicializacoes(), antes + 1);
  const InicializacaoFamilia sessao = classe.Inicializacoes().back();
  EXPECT_EQ(sessao.empresa, std::string(op_.GetEmpresa()));
  EXPECT_EQ(sessao.usuario, op_.GetUsuario());
  EXPECT_EQ(sessao.sessao, op_.GetNumeroSessao());
  EXPECT_EQ(classe.Vivos(), 1);

  // Finaliza lets go of it; the handler initialised again connects anew.
  op_.Finaliza();
  EXPECT_EQ(classe.Vivos(), 0);
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa = Remessa(4, 2);
  ASSERT_EQ(Prepara(remessa), S_OK);
  EXPECT_EQ(remessa.usPonteiroCFOP, kCFOPInterna);
  EXPECT_EQ(NovasInicializacoes(), antes + 2);
}

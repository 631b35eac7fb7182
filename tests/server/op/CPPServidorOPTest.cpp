// The order handler's session, filter and paths: what Inicializa reads and builds with and
// without the complete initialisation, what a second Inicializa or a failed one leaves, the filter
// before and after it, and the period files' paths.
#include "server/op/CPPServidorOP.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/family/base/UsuarioDF.h"
#include "server/cadastros/CPPServidorTipoOP.h"
#include "tests/server/op/EmpresaOP.h"

namespace {

constexpr HRESULT kNaoInicializado = static_cast<HRESULT>(0x80040631);  // 1585
constexpr HRESULT kSemDiretorio = static_cast<HRESULT>(0x800403CF);     // 975
constexpr HRESULT kSemMestre = static_cast<HRESULT>(0x80040650);        // 1616

class CPPServidorOPTest : public EmpresaOP {
 protected:
  // Users 7 and 8 without full access; a second order type that only user 8 may use.
  void DoisUsuarios(int32_t* plTipoOP2) {
    UsuarioDF usuarios[2];
    std::memset(static_cast<void*>(usuarios), 0, sizeof usuarios);
    usuarios[0].lChave = kUsuarioTeste;
    usuarios[1].lChave = 8;
    ASSERT_EQ(GravaUsuariosDF(Instalacao::kEmpresa, {usuarios[0], usuarios[1]}), S_OK);
    CPPServidorTipoOP tipos;
    ASSERT_EQ(tipos.Inicializa(Sessao(), 0), S_OK);
    _REG_VARMO_TIPO_OPPS tipo{};
    std::strcpy(tipo.szCodigo, "SERV");
    std::strcpy(tipo.szDescricao, "SERVICO");
    tipo.cAtivo = 1;
    _REG_VARMO_TIPO_OP_USUARIOPS usuario{};
    usuario.usUsuario = 8;
    usuario.cManutencao = 1;
    tipo.usQtdUsuarios = 1;
    tipo.pregTipoOPUsuario = &usuario;
    ASSERT_EQ(tipos.Grava(0, tipo, plTipoOP2), S_OK);
  }

  static _REG_VARMO_FILTROPS Filtro() {
    _REG_VARMO_FILTROPS filtro{};
    filtro.lPonteiroOP = 5;
    filtro.usPonteiroUsuarioTipoOP = 9;
    return filtro;
  }
  static std::vector<uint8_t> Bytes(const _REG_VARMO_FILTROPS& filtro) {
    const auto* p = reinterpret_cast<const uint8_t*>(&filtro);
    return {p, p + sizeof filtro};
  }
};

TEST_F(CPPServidorOPTest, CompleteInitialisationReadsSettingsTypesOfTheUserAndOpensEverything) {
  EXPECT_TRUE(op_.EstaInicializado());
  EXPECT_EQ(std::string(op_.GetEmpresa()), "TESTE");
  EXPECT_EQ(op_.GetUsuario(), kUsuarioTeste);
  EXPECT_EQ(op_.GetNumeroSessao(), kSessaoTeste);
  EXPECT_EQ(std::string(op_.GetDiretorio()), empresa_.Diretorio());
  EXPECT_EQ(op_.GetMestre().usDataInferiorPeriodo, Dia(1, 5, 2024));
  EXPECT_EQ(op_.GetMestre().usDataSuperiorPeriodo, Dia(31, 5, 2024));
  EXPECT_EQ(op_.GetTiposOPPermitidos(), std::vector<int32_t>{tipoOP_});
  EXPECT_TRUE(op_.TipoOPInicializado());
  EXPECT_TRUE(op_.OperacaoProducaoInicializada());
  EXPECT_TRUE(op_.HistoricoAberto());
}

TEST_F(CPPServidorOPTest, WithoutCompleteInitialisationTheEmbeddedHandlersStayClosedButSettingsAndHistoryOpen) {
  DefineMestre([](PPRegistroMestre& mestre) {
    mestre.cEmitirRInaOP = 1;
    mestre.cUsaDataVisualizacao = 1;
    mestre.usDataVisualizacao = 61000;
  });
  ASSERT_EQ(op_.Inicializa(Sessao(0)), S_OK);
  EXPECT_TRUE(op_.EstaInicializado());
  EXPECT_FALSE(op_.TipoOPInicializado());
  EXPECT_FALSE(op_.OperacaoProducaoInicializada());
  EXPECT_TRUE(op_.GetTiposOPPermitidos().empty());
  EXPECT_TRUE(op_.HistoricoAberto());
  EXPECT_EQ(op_.GetMestre().cEmitirRInaOP, 1);
  EXPECT_EQ(op_.GetMestre().cUsaDataVisualizacao, 1);
  EXPECT_EQ(op_.GetMestre().usDataVisualizacao, 61000);
  EXPECT_EQ(op_.GetMestre().usDataInferiorPeriodo, Dia(1, 5, 2024));
}

TEST_F(CPPServidorOPTest, ASecondInitialisationListsOnlyTheTypesOfTheLatestUser) {
  int32_t lTipoOP2 = 0;
  DoisUsuarios(&lTipoOP2);
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  EXPECT_EQ(op_.GetTiposOPPermitidos(), std::vector<int32_t>{tipoOP_});
  _REG_VARMO_INICIALIZAPS sessao8 = Sessao();
  sessao8.usUsuario = 8;
  ASSERT_EQ(op_.Inicializa(sessao8), S_OK);
  EXPECT_EQ(op_.GetUsuario(), 8);
  EXPECT_EQ(op_.GetTiposOPPermitidos(), std::vector<int32_t>{lTipoOP2});
}

TEST_F(CPPServidorOPTest, FinalizaForgetsTheSessionAndEverythingItBuilt) {
  ASSERT_EQ(op_.SetFiltro(Filtro()), S_OK);
  EXPECT_EQ(op_.Finaliza(), S_OK);
  EXPECT_FALSE(op_.EstaInicializado());
  EXPECT_TRUE(op_.GetEmpresa().IsEmpty());
  EXPECT_TRUE(op_.GetDiretorio().IsEmpty());
  EXPECT_EQ(op_.GetUsuario(), 0);
  EXPECT_EQ(op_.GetNumeroSessao(), 0);
  EXPECT_EQ(Bytes(op_.GetFiltro()), Bytes(_REG_VARMO_FILTROPS{}));
  EXPECT_EQ(op_.GetMestre().usDataInferiorPeriodo, 0);
  EXPECT_TRUE(op_.GetTiposOPPermitidos().empty());
  EXPECT_FALSE(op_.TipoOPInicializado());
  EXPECT_FALSE(op_.OperacaoProducaoInicializada());
  EXPECT_FALSE(op_.HistoricoAberto());
  EXPECT_EQ(op_.SetFiltro(Filtro()), kNaoInicializado);
}

TEST_F(CPPServidorOPTest, AFailedInitialisationLeavesTheHandlerUninitialised) {
  struct Caso {
    const char* nome;
    const char* empresa;
    bool bSemMestre;
    HRESULT esperado;
  };
  const Caso casos[] = {
      {"company without data directory", "NADA", false, kSemDiretorio},
      {"settings file missing", "TESTE", true, kSemMestre},
  };
  const std::string mestre = empresa_.Le("PPMESTRE.DAT");
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
    if (caso.bSemMestre) empresa_.Apaga("PPMESTRE.DAT");
    _REG_VARMO_INICIALIZAPS sessao = Sessao();
    std::strcpy(sessao.szEmpresa, caso.empresa);
    EXPECT_EQ(op_.Inicializa(sessao), caso.esperado);
    EXPECT_FALSE(op_.EstaInicializado());
    EXPECT_FALSE(op_.HistoricoAberto());
    EXPECT_EQ(op_.SetFiltro(Filtro()), kNaoInicializado);
    EXPECT_EQ(op_.LimpaFiltro(), kNaoInicializado);
    empresa_.Escreve("PPMESTRE.DAT", mestre);
  }
}

TEST_F(CPPServidorOPTest, FilterIsRefusedBeforeInicializaAndKeptUntilCleared) {
  CPPServidorOP op;
  EXPECT_EQ(op.SetFiltro(Filtro()), kNaoInicializado);
  EXPECT_EQ(op.LimpaFiltro(), kNaoInicializado);
  EXPECT_EQ(Bytes(op.GetFiltro()), Bytes(_REG_VARMO_FILTROPS{}));

  ASSERT_EQ(op_.SetFiltro(Filtro()), S_OK);
  EXPECT_EQ(Bytes(op_.GetFiltro()), Bytes(Filtro()));
  ASSERT_EQ(op_.LimpaFiltro(), S_OK);
  EXPECT_EQ(Bytes(op_.GetFiltro()), Bytes(_REG_VARMO_FILTROPS{}));
}

TEST_F(CPPServidorOPTest, EachPeriodFileIsTheDirectoryThePrefixMonthAndYear) {
  const char* prefixos[] = {"PPOP", "PPPR", "PPMT", "PPRP", "PPAP", "PPAS", "PPAR", "PPRI",
                            "PPME", "PPLT", "PPIT", "PPNC", "PPIE", "PPRM", "PPIR", "PPID",
                            "PPPE", "PPEE", "PPTI", "PPIO", "PPUP", "PPTA", "PPNF"};
  constexpr uint16_t kMaio2024 = (2024 - 1848) * 12 + 5;
  constexpr uint16_t kJaneiro1927 = (1927 - 1848) * 12 + 1;
  for (size_t i = 0; i < std::size(prefixos); ++i) {
    const auto arquivo = static_cast<PPArquivoPeriodoOP>(i);
    EXPECT_EQ(std::string(op_.CaminhoArquivo(arquivo, kMaio2024)),
              empresa_.Diretorio() + prefixos[i] + "0524.DAT");
    EXPECT_EQ(std::string(op_.CaminhoArquivo(arquivo, kJaneiro1927)),
              empresa_.Diretorio() + prefixos[i] + "0127.DAT");
  }
}

}  // namespace

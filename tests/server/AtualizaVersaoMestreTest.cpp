// The master-settings converter on settings records written byte by byte in the old layouts: each
// step's record, the files that the steps leave, their lines and audit records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "server/CPPAtualizaVersaoMestre.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/support/VersoesAntigasCadastros.h"

namespace {

using namespace VersoesAntigasCadastros;

std::string Linha(const char* texto) { return std::string(texto) + "\r"; }

// What "PPMESTRE.DAT" holds when the first step has put its file in place.
std::string g_mestreApoisV01_p_V02;
const EmpresaTeste* g_empresa = nullptr;

void GuardaMestreDoPrimeiroPasso(const char* operacao, const char* arquivo) {
  if (std::strcmp(operacao, "renomeia") != 0 || !g_mestreApoisV01_p_V02.empty()) return;
  if (std::string(arquivo).find("PPMESTRE.TRA") != std::string::npos)
    g_mestreApoisV01_p_V02 = g_empresa->Le("PPMESTRE.DAT");
}

// Every field of the old layout with a value of its own; the unused bytes 43..497 too.
MestreV1 MestreV1Distinto() {
  MestreV1 mestre;
  mestre.usIdentificacao = {0x0201, 0x0403, 0x0605, 0x0807, 0x0A09};
  mestre.cFlagsNecessidade = {11, 12, 13, 14, 15, 16, 17, 18};
  mestre.lPonteiroCodigoBarras = 0x15141312;
  mestre.usMesAnoImplantacao = 0x1716;
  mestre.cFlags24 = {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35};
  mestre.cFlags39 = {41, 42, 43, 44};
  mestre.cResto = 0xEE;
  mestre.ulPonteiroCalendarioPadrao = 0x54535251;
  mestre.lPonteiroInfApontExternoFilial = 0x58575655;
  mestre.usQtdInfApontExternoFilial = 0x5A59;
  mestre.cSohApontarAposDefinirRecursos = 0x5B;
  mestre.cTipoPerdaInsumo = 0x5C;
  mestre.usDataVisualizacao = 0x5E5D;
  return mestre;
}

class ConversaoMestre : public ConversaoComHistorico {
 protected:
  HRESULT Executa(uint16_t usVersao) {
    CPPAtualizaVersaoMestre conversor;
    return conversor.Executa(Instalacao::kEmpresa, kUsuarioTeste, usVersao);
  }
  // The settings at version 1 with their audit history, converted with the first step's file kept.
  HRESULT ConverteDaVersao1() {
    empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoMestre, 1}}));
    empresa_.Escreve("PPMESTRE.DAT", Registro(MestreV1Distinto()));
    empresa_.Escreve("PPMESTRE.HIS", "historico de auditoria");
    g_mestreApoisV01_p_V02.clear();
    g_empresa = &empresa_;
    PPDefineObservadorAtualizacao(&GuardaMestreDoPrimeiroPasso);
    return Executa(1);
  }
};

TEST_F(ConversaoMestre, VersionOneFieldsMoveToTheirPlacesAndTheOldFileIsDeleted) {
  ASSERT_EQ(ConverteDaVersao1(), S_OK);

  // From the table of moves; 55 and everything past 57 is 0.
  MestreV2 esperado;
  esperado.usIdentificacao = {0x0201, 0x0403, 0x0605, 0x0807, 0x0A09};
  esperado.ulPonteiroCalendarioPadrao = 0x54535251;
  esperado.lPonteiroCodigoBarras = 0x15141312;
  esperado.lPonteiroInfApontExternoFilial = 0x58575655;
  esperado.usMesAnoImplantacao = 0x1716;
  esperado.usQtdInfApontExternoFilial = 0x5A59;
  esperado.usDataVisualizacao = 0x5E5D;
  esperado.cFlags = {11, 12, 13, 14, 15, 16, 17, 18,                          // 28..35
                     21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35,  // 36..50
                     41, 42, 43, 44,                                          // 51..54
                     0, 0x5B, 0x5C};                                          // 55..57
  ASSERT_EQ(g_mestreApoisV01_p_V02.size(), 512u);
  EXPECT_EQ(g_mestreApoisV01_p_V02, Registro(esperado));
  EXPECT_EQ(g_mestreApoisV01_p_V02.substr(10, 4), "\x51\x52\x53\x54");
  EXPECT_EQ(g_mestreApoisV01_p_V02.substr(36, 1), "\x15");
  EXPECT_EQ(g_mestreApoisV01_p_V02.substr(50, 2), "\x23\x29");

  // The second step marks the three sets of supplementary information.
  esperado.cFlags[32] = esperado.cFlags[33] = esperado.cFlags[34] = 1;
  EXPECT_EQ(empresa_.Le("PPMESTRE.DAT"), Registro(esperado));

  // Deleted, not moved: only its audit history is kept, as the copy of version 1.
  EXPECT_EQ(empresa_.Le("PPMESTRE_V001.HIS"), "historico de auditoria");
  for (const char* nome : {"PPMESTRE.HIS", "PPMESTRE_V002.HIS", "PPMESTRE.TRA", "PPVERSAO.DIA"})
    EXPECT_FALSE(empresa_.Existe(nome)) << nome;
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoMestre], 3);
}

TEST_F(ConversaoMestre, GroupAtVersion1RunsBothStepsWithTheirLinesAndTwoAuditRecords) {
  ASSERT_EQ(ConverteDaVersao1(), S_OK);
  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{Linha("AtualizaMestre -> processo iniciado"),
                                                         Linha("AtualizaMestreV01_p_V02 -> processo iniciado"),
                                                         Linha("AtualizaMestreV01_p_V02 -> processo encerrado"),
                                                         Linha("AtualizaMestreV02_p_V03 -> processo iniciado"),
                                                         Linha("AtualizaMestreV02_p_V03 -> processo encerrado"),
                                                         Linha("AtualizaMestre -> processo encerrado")}));
  const std::vector<std::string> auditorias = empresa_.AuditoriasVersao();
  ASSERT_EQ(auditorias.size(), 2u);
  EXPECT_EQ(auditorias[0].substr(18, 2), std::string("\x02\x00", 2)) << "slot 0 raised to 2";
  EXPECT_EQ(auditorias[1].substr(18, 2), std::string("\x03\x00", 2)) << "then to 3";
}

TEST_F(ConversaoMestre, VersionTwoGetsTheThreeSupplementaryFlagsAndKeepsEveryOtherByte) {
  // Any values at 60..62; every other byte distinct from its neighbours.
  MestreV2 mestre;
  mestre.usIdentificacao = {1, 2, 3, 4, 5};
  mestre.ulPonteiroCalendarioPadrao = 0x0A0B0C0D;
  mestre.lPonteiroCodigoBarras = -2;
  mestre.lPonteiroInfApontExternoFilial = 0x11223344;
  mestre.usMesAnoImplantacao = 2100;
  mestre.usQtdInfApontExternoFilial = 3;
  mestre.usDataVisualizacao = 0xBEEF;
  for (size_t k = 0; k < mestre.cFlags.size(); ++k) mestre.cFlags[k] = static_cast<uint8_t>(0x80 + k);
  mestre.cFlags[32] = 0;
  mestre.cFlags[33] = 7;
  mestre.cFlags[34] = 0xFF;
  for (size_t k = 0; k < mestre.cReservado.size(); ++k) mestre.cReservado[k] = static_cast<uint8_t>(k * 7 + 1);
  mestre.ulPonteiroTabelaPrecoVendaServico = 0xCAFE;
  mestre.ulPonteiroTabelaPrecoVendaProduto = 0xF00D;
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoMestre, 2}}));
  empresa_.Escreve("PPMESTRE.DAT", Registro(mestre));
  empresa_.Escreve("PPMESTRE.HIS", "auditoria da versao 2");
  // Copies that an earlier run left of version 1 go: this run began at 2.
  empresa_.Escreve("PPMESTRE_V001.HIS", "v1");
  empresa_.Escreve("PPVERSAO_V001.HIS", "v1");

  ASSERT_EQ(Executa(2), S_OK);
  MestreV2 esperado = mestre;
  esperado.cFlags[32] = esperado.cFlags[33] = esperado.cFlags[34] = 1;
  EXPECT_EQ(empresa_.Le("PPMESTRE.DAT"), Registro(esperado));
  EXPECT_EQ(empresa_.Le("PPMESTRE_V002.HIS"), "auditoria da versao 2");
  for (const char* nome : {"PPMESTRE.HIS", "PPMESTRE_V001.HIS", "PPVERSAO_V001.HIS", "PPMESTRE.TRA", "PPVERSAO.DIA"})
    EXPECT_FALSE(empresa_.Existe(nome)) << nome;
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoMestre], 3);
  EXPECT_EQ(empresa_.AuditoriasVersao().size(), 1u);
}

TEST_F(ConversaoMestre, VersionWithoutAStepIsRefused) {
  CPPAtualizaVersaoMestre conversor;
  EXPECT_EQ(conversor.Converte(3), PPErroHResult(1615));
  EXPECT_EQ(conversor.Converte(0), PPErroHResult(1615));
}

}  // namespace

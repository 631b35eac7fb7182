#include "server/CPPNomesArquivos.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/QVData.h"
#include "tests/support/Instalacao.h"

namespace {

struct Nome {
  CString (*funcao)();
  const char* esperado;
};

// The module's file names and period prefixes as the stored files carry them.
const Nome kNomes[] = {
    {CPPNomesArquivos::ArqMestre, "PPMESTRE.DAT"},
    {CPPNomesArquivos::ArqMestreInfApontExternoFilial, "PPMSIAEF.DAT"},
    {CPPNomesArquivos::ArqVersao, "PPVERSAO.DAT"},
    {CPPNomesArquivos::ArqCalendario, "PPCALEND.DAT"},
    {CPPNomesArquivos::ArqCalendarioMesAno, "PPCALEMA.DAT"},
    {CPPNomesArquivos::ArqCalendarioData, "PPCALDAT.DAT"},
    {CPPNomesArquivos::ArqSecao, "PPSECAOP.DAT"},
    {CPPNomesArquivos::ArqTipoOPCabecalho, "PPTOPCAB.DAT"},
    {CPPNomesArquivos::ArqTipoOPUsuario, "PPTOPUSU.DAT"},
    {CPPNomesArquivos::ArqProcesso, "PPPROCES.DAT"},
    {CPPNomesArquivos::ArqProcessoObservacao, "PPPRCOBS.DAT"},
    {CPPNomesArquivos::ArqProcessoRecurso, "PPPRCREC.DAT"},
    {CPPNomesArquivos::ArqFluxoCabecalho, "PPFLXCAB.DAT"},
    {CPPNomesArquivos::ArqFluxoProcesso, "PPFLXPRO.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaCabecalho, "PPFTCABE.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaProcesso, "PPFTPROC.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaProduto, "PPFTPROD.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaDTPC, "PPFTDTPC.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaPTLR, "PPFTPTLR.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaPPFT, "PPFTPPFT.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaPNFT, "PPFTPNFT.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaGradeProduto, "PPFTGRPR.DAT"},
    {CPPNomesArquivos::ArqOperacaoProducaoCabecalho, "PPOPPCAB.DAT"},
    {CPPNomesArquivos::ArqOperacaoProducaoDetalhe, "PPOPPDET.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaEtiqueta, "PPFTETQT.DAT"},
    {CPPNomesArquivos::ArqFichaTecnicaELAY, "PPFTELAY.DAT"},
    {CPPNomesArquivos::ArqRecurso, "PPRECURS.DAT"},
    {CPPNomesArquivos::ArqRecursoDetalhe, "PPRECDET.DAT"},
    {CPPNomesArquivos::ArqRecursoHistoricoContador, "PPRCHSCN.DAT"},
    {CPPNomesArquivos::ArqPlanoManutencao, "PPPLNMNT.DAT"},
    {CPPNomesArquivos::ArqPlanoManutencaoDT, "PPPLMNDT.DAT"},
    {CPPNomesArquivos::ArqPlanoManutencaoComponente, "PPPLMNCO.DAT"},
    {CPPNomesArquivos::ArqPlanoManutencaoCODS, "PPPMCODS.DAT"},
    {CPPNomesArquivos::ArqColecao, "PPCOLCAO.DAT"},
    {CPPNomesArquivos::ArqMotivoRefugo, "PPMOTREF.DAT"},
    {CPPNomesArquivos::ArqTipoRecurso, "PPTIPREC.DAT"},
    {CPPNomesArquivos::ArqTipoRecursoTXDT, "PPTRTXDT.DAT"},
    {CPPNomesArquivos::ArqTipoRecursoOperacao, "PPTROPRC.DAT"},
    {CPPNomesArquivos::ArqTipoRecursoContador, "PPTRCONT.DAT"},
    {CPPNomesArquivos::ArqTipoRecursoQuantidade, "PPTRQTDA.DAT"},
    {CPPNomesArquivos::ArqTipoRecursoIntervalo, "PPTRINTV.DAT"},
    {CPPNomesArquivos::ArqTipoRecursoDetalhe, "PPTRDETL.DAT"},
    {CPPNomesArquivos::PrefixoOP, "PPOP"},
    {CPPNomesArquivos::PrefixoOPItem, "PPIT"},
    {CPPNomesArquivos::PrefixoOPProcesso, "PPPR"},
    {CPPNomesArquivos::PrefixoOPInsumo, "PPMT"},
    {CPPNomesArquivos::PrefixoOPRP, "PPRP"},
    {CPPNomesArquivos::PrefixoOPIP, "PPIP"},
    {CPPNomesArquivos::PrefixoProcessoEtiqueta, "PPPE"},
    {CPPNomesArquivos::PrefixoEtiquetaEmitida, "PPEE"},
    {CPPNomesArquivos::PrefixoApontamento, "PPAP"},
    {CPPNomesArquivos::PrefixoOPAS, "PPAS"},
    {CPPNomesArquivos::PrefixoRetornoIndExterna, "PPRI"},
    {CPPNomesArquivos::PrefixoApontamentoRecurso, "PPAR"},
    {CPPNomesArquivos::PrefixoMovtoApontamento, "PPME"},
    {CPPNomesArquivos::PrefixoLoteMovimento, "PPLT"},
    {CPPNomesArquivos::PrefixoOPTI, "PPTI"},
    {CPPNomesArquivos::PrefixoOPIO, "PPIO"},
    {CPPNomesArquivos::PrefixoOPUP, "PPUP"},
    {CPPNomesArquivos::PrefixoOPTA, "PPTA"},
    {CPPNomesArquivos::PrefixoNotaFiscal, "PPNF"},
    {CPPNomesArquivos::PrefixoRemessaIndustrializacao, "PPRM"},
    {CPPNomesArquivos::PrefixoOPIR, "PPIR"},
    {CPPNomesArquivos::PrefixoNecessidade, "PPNC"},
    {CPPNomesArquivos::PrefixoOPIE, "PPIE"},
    {CPPNomesArquivos::PrefixoOPIN, "PPIN"},
    {CPPNomesArquivos::PrefixoOPID, "PPID"},
    {CPPNomesArquivos::PrefixoOPRA, "PPRA"},
    {CPPNomesArquivos::PrefixoOPAO, "PPAO"},
    {CPPNomesArquivos::PrefixoOPAC, "PPAC"},
    {CPPNomesArquivos::PrefixoOPAQ, "PPAQ"},
    {CPPNomesArquivos::PrefixoOPAI, "PPAI"},
    {CPPNomesArquivos::PrefixoOPAD, "PPAD"},
    {CPPNomesArquivos::PrefixoOPNA, "PPNA"},
    {CPPNomesArquivos::PrefixoMetasProducao, "PPMP"},
    {CPPNomesArquivos::PrefixoManutencao, "PPMN"},
    {CPPNomesArquivos::PrefixoManutencaoML, "PPML"},
    {CPPNomesArquivos::PrefixoManutencaoMD, "PPMD"},
    {CPPNomesArquivos::PrefixoManutencaoMC, "PPMC"},
    {CPPNomesArquivos::PrefixoManutencaoCC, "PPCC"},
};

struct Lista {
  void (*funcao)(CStringArray&);
  std::vector<std::string> esperado;
};

const Lista kListas[] = {
    {CPPNomesArquivos::ListaArquivosMestre, {"PPMESTRE.DAT", "PPMSIAEF.DAT", "PPVERSAO.DAT"}},
    {CPPNomesArquivos::ListaArquivosTipoOP, {"PPTOPCAB.DAT", "PPTOPUSU.DAT"}},
    {CPPNomesArquivos::ListaArquivosFluxo, {"PPFLXCAB.DAT", "PPFLXPRO.DAT"}},
    {CPPNomesArquivos::ListaArquivosFichaTecnica, {"PPFTCABE.DAT", "PPFTPROC.DAT", "PPFTPROD.DAT", "PPFTDTPC.DAT", "PPFTPTLR.DAT", "PPFTPPFT.DAT", "PPFTPNFT.DAT", "PPFTGRPR.DAT", "PPFTETQT.DAT", "PPFTELAY.DAT"}},
    {CPPNomesArquivos::ListaArquivosOperacaoProducao, {"PPOPPCAB.DAT", "PPOPPDET.DAT"}},
    {CPPNomesArquivos::ListaArquivosColecao, {"PPCOLCAO.DAT"}},
    {CPPNomesArquivos::ListaArquivosMotivoRefugo, {"PPMOTREF.DAT"}},
    {CPPNomesArquivos::ListaArquivosRecursos, {"PPRECURS.DAT", "PPRECDET.DAT", "PPRCHSCN.DAT"}},
    {CPPNomesArquivos::ListaArquivosPlanoManutencao, {"PPPLNMNT.DAT", "PPPLMNDT.DAT", "PPPLMNCO.DAT", "PPPMCODS.DAT"}},
    {CPPNomesArquivos::ListaArquivosTipoRecurso, {"PPTIPREC.DAT", "PPTRTXDT.DAT", "PPTROPRC.DAT", "PPTRCONT.DAT", "PPTRQTDA.DAT", "PPTRINTV.DAT", "PPTRDETL.DAT"}},
    {CPPNomesArquivos::ListaPrefixosOP, {"PPOP", "PPPR", "PPMT", "PPRP", "PPIT", "PPAP", "PPAS", "PPAR", "PPRI", "PPTI", "PPIO", "PPTA", "PPUP", "PPME", "PPLT", "PPIE", "PPRM", "PPIR", "PPID", "PPIP", "PPIN", "PPPE", "PPEE", "PPNC", "PPNA", "PPNF", "PPRA", "PPAO", "PPAC", "PPAQ", "PPAI", "PPAD"}},
    {CPPNomesArquivos::ListaPrefixosManutencao, {"PPMN", "PPML", "PPMD", "PPMC", "PPCC"}},
    {CPPNomesArquivos::ListaPrefixosMetas, {"PPMP"}},
};

std::vector<std::string> Itens(const CStringArray& lista) {
  std::vector<std::string> itens;
  for (int i = 0; i < lista.GetSize(); ++i) itens.emplace_back(lista[i]);
  return itens;
}

}  // namespace

TEST(CPPNomesArquivos, EveryNameAndPrefixIsTheOneTheStoredFilesCarry) {
  for (const Nome& nome : kNomes) EXPECT_STREQ(nome.funcao(), nome.esperado);
}

TEST(CPPNomesArquivos, EveryListEmptiesItsArrayAndAppendsInOrder) {
  for (const Lista& lista : kListas) {
    CStringArray array;
    array.Add("ANTIGO.DAT");
    array.Add("OUTRO.DAT");
    lista.funcao(array);
    EXPECT_EQ(Itens(array), lista.esperado);
  }
  CStringArray prefixos;
  prefixos.Add("PPXX");
  CPPNomesArquivos::ListaPrefixosOP(prefixos);
  EXPECT_EQ(prefixos.GetSize(), 32);
}

TEST(CPPNomesArquivos, DataDirectoryOfARegisteredCompanyOnly) {
  Instalacao instalacao;
  EXPECT_STREQ(CPPNomesArquivos::GetDiretorioDados("TESTE"), instalacao.DiretorioEmpresa().c_str());
  EXPECT_STREQ(CPPNomesArquivos::GetDiretorioDados("NENHUMA"), "");
}

TEST(CPPNomesArquivos, PeriodFilePathsEndInPrefixMonthAndYear) {
  Instalacao instalacao;
  EXPECT_STREQ(CPPNomesArquivos::MontaCaminhoArquivoPeriodo("TESTE", "PPAP", QVMontaMesAno(3, 2026)),
               (instalacao.DiretorioEmpresa() + "PPAP0326.DAT").c_str());
  EXPECT_STREQ(CPPNomesArquivos::MontaCaminhoArquivoPeriodo("NENHUMA", "PPOP", 2126), "PPOP0225.DAT");
  EXPECT_STREQ(CPPNomesArquivos::MontaNomeArquivoPeriodo("\\dados\\PPIT", 949), "\\dados\\PPIT0127.DAT");
  EXPECT_STREQ(CPPNomesArquivos::MontaNomeArquivoPeriodo("\\dados\\PPNC", 2148), "\\dados\\PPNC1226.DAT");
}

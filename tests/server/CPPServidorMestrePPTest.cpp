// The master-settings handler: its gate (errors, the family's servers, the month of implantation),
// the settings read field by field and written with their change text and audit record, the branch
// lists, the seam of ProdutoTeveMovimentacao on fake handlers, and the class through COM.
#include <gtest/gtest.h>

#include <cstring>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <string>
#include <vector>

#include "foundation/CQVArqEx.h"
#include "platform/com/apartment.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "platform/family/base/ServidorBase.h"
#include "platform/family/base/UsuarioDF.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "platform/win32/file.h"
#include "platform/win32/msgqueue.h"
#include "server/CPPModulo.h"
#include "server/PPMovimentacaoProduto.h"
#include "server/VarmoPrograma.h"
#include "server/cadastros/PPClassesCadastros.h"
#include "server/idl/Varmo.h"
#include "server/op/PPConsultaMovimentacaoOP.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/support/VersoesAntigasCadastros.h"
#include "tests/support/VersoesAntigasFichas.h"

namespace {

constexpr size_t kTamanhoMestre = 512;
constexpr size_t kTamanhoAuditoriaMestre = 530;
constexpr uint16_t kInicioPeriodo = 63000;
constexpr uint16_t kFimPeriodo = 63030;

uint16_t Mes(int mes, int ano) { return static_cast<uint16_t>((ano - 1848) * 12 + mes); }

void Poe(void* bytes, size_t deslocamento, uint32_t valor, size_t largura) {
  for (size_t i = 0; i < largura; ++i) static_cast<uint8_t*>(bytes)[deslocamento + i] = static_cast<uint8_t>(valor >> (8 * i));
}
void Poe(std::string& bytes, size_t deslocamento, uint32_t valor, size_t largura) { Poe(bytes.data(), deslocamento, valor, largura); }
uint32_t Tira(const void* bytes, size_t deslocamento, size_t largura) {
  uint32_t valor = 0;
  for (size_t i = 0; i < largura; ++i) valor |= uint32_t{static_cast<const uint8_t*>(bytes)[deslocamento + i]} << (8 * i);
  return valor;
}

// A settings record of zeros with a month of implantation (so that Inicializa leaves it) and both
// price tables at 1 (so that Le gives back what is stored).
std::string RegistroBase() {
  std::string registro(kTamanhoMestre, '\0');
  Poe(registro, 22, Mes(1, 2020), 2);
  Poe(registro, 504, 1, 4);
  Poe(registro, 508, 1, 4);
  return registro;
}

#define PP_COM(campo) offsetof(_REG_VARMO_MESTRE, campo)

// Where each field of _REG_VARMO_MESTRE lies in record 0 of "PPMESTRE.DAT".
struct CampoLido {
  size_t com;
  size_t disco;
  size_t largura;
};
const CampoLido kCamposLidos[] = {
      {PP_COM(iVersaoSistema), 0, 2},
      {PP_COM(iQuantidadeTerminais), 2, 2},
      {PP_COM(iSecaoUso), 4, 2},
      {PP_COM(iCodigoCliente), 6, 2},
      {PP_COM(iCodigoClienteEscritorio), 8, 2},
      {PP_COM(ulPonteiroCalendarioPadrao), 10, 4},
      {PP_COM(lPonteiroCodigoBarras), 14, 4},
      {PP_COM(lPonteiroInfApontExternoFilial), 18, 4},
      {PP_COM(usMesAnoImplantacao), 22, 2},
      {PP_COM(usQtdInfApontExternoFilial), 24, 2},
      {PP_COM(usDataVisualizacao), 26, 2},
      {PP_COM(cPermiteInsercaoManualNecessidade), 28, 1},
      {PP_COM(cPermiteCancelarNecessidadeAutomatica), 29, 1},
      {PP_COM(cGerarNecessidadeAutomatica), 30, 1},
      {PP_COM(cPermiteItemOPComplemento), 31, 1},
      {PP_COM(cFormacaoCustoProduto), 32, 1},
      {PP_COM(cDigitosDataRelatorio), 33, 1},
      {PP_COM(cUsaDataVisualizacao), 34, 1},
      {PP_COM(cLiberarItemPedido), 35, 1},
      {PP_COM(cObrigaInfSupl1), 36, 1},
      {PP_COM(cObrigaInfSupl2), 37, 1},
      {PP_COM(cObrigaInfSupl3), 38, 1},
      {PP_COM(cObrigaNumeroLote), 39, 1},
      {PP_COM(cSomenteApontarOPComRecursos), 40, 1},
      {PP_COM(cPermiteAlterarRecursoNoApontamento), 41, 1},
      {PP_COM(cConsiderarLoteReposicao), 42, 1},
      {PP_COM(cSolicitarFaturamentoApontamentoExterno), 43, 1},
      {PP_COM(cImprimirProcessoPagSeparada), 44, 1},
      {PP_COM(cUtilizarColecaoProjeto), 45, 1},
      {PP_COM(cUtilizarEtiquetaProcesso), 46, 1},
      {PP_COM(cPermitirCancelRemessaIndustrializacao), 47, 1},
      {PP_COM(cPermitirRetornosSemNF), 48, 1},
      {PP_COM(cExigirMensagemNoEncerramentoForcado), 49, 1},
      {PP_COM(cImprimirEtiquetaProcessoFinal), 50, 1},
      {PP_COM(cEmitirRInaOP), 51, 1},
      {PP_COM(cNaoExecutarPreBaixaNaOP), 52, 1},
      {PP_COM(cUtilizaCalendarioProducaoComoPadrao), 53, 1},
      {PP_COM(cUsarVlrUnitFichaTecnicaEmPrevisoes), 54, 1},
      {PP_COM(cCustearSoProcessoApontado), 55, 1},
      {PP_COM(cSohApontarAposDefinirRecursos), 56, 1},
      {PP_COM(cTipoPerdaInsumo), 57, 1},
      {PP_COM(cTratarInsumoEmbalagem), 58, 1},
      {PP_COM(cConsiderarComplementoNaDemanda), 59, 1},
      {PP_COM(cPossuiInfSupl1), 60, 1},
      {PP_COM(cPossuiInfSupl2), 61, 1},
      {PP_COM(cPossuiInfSupl3), 62, 1},
      {PP_COM(ulPonteiroTabelaPrecoVendaServico), 504, 4},
      {PP_COM(ulPonteiroTabelaPrecoVendaProduto), 508, 4},
};

// Grava's change text, one label per field, in the table's words; stored values are those of
// RegistroBase.
struct RotuloEsperado {
  const char* texto;  // UTF-8
  size_t com;
  size_t disco;
  size_t largura;
  uint32_t novo;
};
const RotuloEsperado kRotulos[] = {
      {"Chave Cód. Barras: 0 -> -2; ", PP_COM(lPonteiroCodigoBarras), 14, 4, 0xfffffffe},
      {"Data visualização: 0 -> 40000; ", PP_COM(usDataVisualizacao), 26, 2, 40000},
      {"Nec. manual: 0 -> -1; ", PP_COM(cPermiteInsercaoManualNecessidade), 28, 1, 255},
      {"Cancela nec. autom.: 0 -> -1; ", PP_COM(cPermiteCancelarNecessidadeAutomatica), 29, 1, 255},
      {"Gera nec. autom.: 0 -> -1; ", PP_COM(cGerarNecessidadeAutomatica), 30, 1, 255},
      {"Item complem.: 0 -> -1; ", PP_COM(cPermiteItemOPComplemento), 31, 1, 255},
      {"Form. custo prod.: 0 -> -1; ", PP_COM(cFormacaoCustoProduto), 32, 1, 255},
      {"Dig. data rel.: 0 -> -1; ", PP_COM(cDigitosDataRelatorio), 33, 1, 255},
      {"Usa data vis.: 0 -> -1; ", PP_COM(cUsaDataVisualizacao), 34, 1, 255},
      {"Libera pedido: 0 -> -1; ", PP_COM(cLiberarItemPedido), 35, 1, 255},
      {"Tipo perda: 0 -> 200; ", PP_COM(cTipoPerdaInsumo), 57, 1, 200},
      {"Obriga inf. supl. 1: 0 -> 200; ", PP_COM(cObrigaInfSupl1), 36, 1, 200},
      {"Obriga inf. supl. 2: 0 -> 200; ", PP_COM(cObrigaInfSupl2), 37, 1, 200},
      {"Obriga inf. supl. 3: 0 -> 200; ", PP_COM(cObrigaInfSupl3), 38, 1, 200},
      {"Obriga número de lote: 0 -> 200; ", PP_COM(cObrigaNumeroLote), 39, 1, 200},
      {"Apontar após definir recursos: 0 -> 200; ", PP_COM(cSohApontarAposDefinirRecursos), 56, 1, 200},
      {"Somente apontar OPs com recursos: 0 -> 200; ", PP_COM(cSomenteApontarOPComRecursos), 40, 1, 200},
      {"Permite alterar recurso no apontamento: 0 -> 200; ", PP_COM(cPermiteAlterarRecursoNoApontamento), 41, 1, 200},
      {"Considerar lote de reposição  na geração da ordem de produção: 0 -> 200; ", PP_COM(cConsiderarLoteReposicao), 42, 1, 200},
      {"Solicitar faturamento em apontamento externo: 0 -> 200; ", PP_COM(cSolicitarFaturamentoApontamentoExterno), 43, 1, 200},
      {"Imprimir processos em páginas separadas: 0 -> 200; ", PP_COM(cImprimirProcessoPagSeparada), 44, 1, 200},
      {"Utilizar projeto: 0 -> 200; ", PP_COM(cUtilizarColecaoProjeto), 45, 1, 200},
      {"Utilizar etiqueta por processo: 0 -> 200; ", PP_COM(cUtilizarEtiquetaProcesso), 46, 1, 200},
      {"Permitir cancelamento de remessas para industrialização: 0 -> 200; ", PP_COM(cPermitirCancelRemessaIndustrializacao), 47, 1, 200},
      {"Permitir retornos sem informar nota fiscal: 0 -> 200; ", PP_COM(cPermitirRetornosSemNF), 48, 1, 200},
      {"Exigir mensagem no encerramento forçado: 0 -> 200; ", PP_COM(cExigirMensagemNoEncerramentoForcado), 49, 1, 200},
      {"Imprimir etiqueta processo final: 0 -> 200; ", PP_COM(cImprimirEtiquetaProcessoFinal), 50, 1, 200},
      {"Emitir RI na OP: 0 -> 200; ", PP_COM(cEmitirRInaOP), 51, 1, 200},
      {"Executar pré-baixa na OP: 0 -> 200; ", PP_COM(cNaoExecutarPreBaixaNaOP), 52, 1, 200},
      {"Utilizar calendário da produção como padrão: 0 -> 200; ", PP_COM(cUtilizaCalendarioProducaoComoPadrao), 53, 1, 200},
      {"Ponteiro para o calendário padrão da produção: 0 -> 123456; ", PP_COM(ulPonteiroCalendarioPadrao), 10, 4, 123456},
      {"Usar vlr unitário Ficha Técnica nas previsões de custo: 0 -> 200; ", PP_COM(cUsarVlrUnitFichaTecnicaEmPrevisoes), 54, 1, 200},
      {"Custear somente processos apontados: 0 -> 200; ", PP_COM(cCustearSoProcessoApontado), 55, 1, 200},
      {"Capacidade dos insumos marcados como embalagem: 0 -> 200; ", PP_COM(cTratarInsumoEmbalagem), 58, 1, 200},
      {"Tabela de preço produto: 1 -> 7; ", PP_COM(ulPonteiroTabelaPrecoVendaProduto), 508, 4, 7},
      {"Tabela de preço serviço: 1 -> 7; ", PP_COM(ulPonteiroTabelaPrecoVendaServico), 504, 4, 7},
      {"Considerar item complemento na demanda: 0 -> 200; ", PP_COM(cConsiderarComplementoNaDemanda), 59, 1, 200},
      {"Possui inf. supl. 1: 0 -> 200; ", PP_COM(cPossuiInfSupl1), 60, 1, 200},
      {"Possui inf. supl. 2: 0 -> 200; ", PP_COM(cPossuiInfSupl2), 61, 1, 200},
      {"Possui. inf. supl. 3: 0 -> 200; ", PP_COM(cPossuiInfSupl3), 62, 1, 200},
};

class ServidorMestre : public ::testing::Test {
 protected:
  explicit ServidorMestre(TestClock::SleepMode modo = TestClock::SleepMode::kAdvancesClock) : empresa_(modo) {}
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Instalacao& instalacao = empresa_.GetInstalacao();
    instalacao.dir().Write("empresas/TESTE/CN/.keep", "");
    instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", "CN",
                          instalacao.dir().windows_path() + "empresas\\TESTE\\CN\\");
    ASSERT_EQ(historico_.Register(), S_OK);
    ASSERT_EQ(filiais_.Registra(), S_OK);
    ASSERT_EQ(base_.Registra(), S_OK);
    _REG_CN_PARAMETROSPS parametros{};
    parametros.cIntegraPedidos = 1;
    ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
    ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {kInicioPeriodo, kFimPeriodo, {}}), S_OK);
    UsuarioDF usuario;
    std::memset(&usuario, 0, sizeof usuario);
    usuario.lChave = kUsuarioTeste;
    usuario.regUsuario.cUsuarioSupervisor = 1;  // byte 155: full access
    usuario.regPermissoes.cReservado0[0] = 0x11;
    usuario.regPermissoes.cPermissao[5] = 1;
    ASSERT_EQ(GravaUsuariosDF(Instalacao::kEmpresa, {usuario}), S_OK);
    empresa_.Escreve("PPMESTRE.DAT", RegistroBase());
    blocos_ = TaskMemoryOutstandingBlocks();
  }
  void TearDown() override {
    CoUninitialize();
    EXPECT_EQ(historico_.Vivos(), 0);
    EXPECT_EQ(filiais_.Filial.Vivos(), 0);
    EXPECT_EQ(base_.Usuario.Vivos(), 0);
    EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_) << "a task-allocator block was left";
  }

  // The texts of the change lines ("A") at the history service, in order.
  std::vector<std::string> LinhasAlteracao() const {
    std::vector<EntradaHistorico> entradas;
    EXPECT_EQ(LeHistoricoEmpresa(Instalacao::kEmpresa, &entradas), S_OK);
    std::vector<std::string> linhas;
    for (const EntradaHistorico& entrada : entradas) {
      if (entrada.tipo != EntradaHistorico::kLinha || entrada.operacao != 'A') continue;
      EXPECT_EQ(entrada.modulo, 19);
      EXPECT_EQ(entrada.sessao, kSessaoTeste);
      linhas.push_back(entrada.texto);
    }
    return linhas;
  }
  // The 530-byte records of "PPMESTRE.HIS", after its zero header.
  std::vector<std::string> AuditoriasMestre() const {
    const std::string bytes = empresa_.Le("PPMESTRE.HIS");
    EXPECT_EQ(bytes.size() % kTamanhoAuditoriaMestre, 0u);
    std::vector<std::string> registros;
    for (size_t inicio = kTamanhoAuditoriaMestre; inicio + kTamanhoAuditoriaMestre <= bytes.size();
         inicio += kTamanhoAuditoriaMestre)
      registros.push_back(bytes.substr(inicio, kTamanhoAuditoriaMestre));
    return registros;
  }

  EmpresaTeste empresa_;
  StandInHistorico historico_;
  ServidorFiliais filiais_;
  ServidorBase base_;
  int32_t blocos_ = 0;
};

_REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS EntradaFilial(uint16_t filial) {
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS entrada;
  std::memset(&entrada, 0x77, sizeof entrada);  // the filler is never stored
  entrada.lSFAEPonteiroClassificacao = 100000 + filial;
  entrada.usPonteiroFilial = filial;
  entrada.usSFAEPonteiroCFOPRemessaInterna = static_cast<uint16_t>(10 + filial);
  entrada.usSFAEPonteiroCFOPRemessaExterna = static_cast<uint16_t>(20 + filial);
  entrada.usSFAEPonteiroHistorico = static_cast<uint16_t>(30 + filial);
  return entrada;
}

// What a list entry reads back as: the stored 12 bytes, zeros after.
std::string EntradaLida(uint16_t filial) {
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS entrada = EntradaFilial(filial);
  std::memset(entrada.cFiller, 0, sizeof entrada.cFiller);
  return std::string(reinterpret_cast<const char*>(&entrada), sizeof entrada);
}

std::string Bytes(const void* dados, size_t tamanho) { return std::string(static_cast<const char*>(dados), tamanho); }

}  // namespace

// ---------------------------------------------------------------------------------------------------
// The gate

TEST_F(ServidorMestre, InicializaGivesTheSessionToTheFamilyServersAndTheirAnswersToTheGetters) {
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);

  const auto filial = filiais_.Filial.Inicializacoes();
  ASSERT_EQ(filial.size(), 1u);
  EXPECT_EQ(filial[0].metodo, "Inicializa");
  EXPECT_EQ(filial[0].empresa, "TESTE");
  EXPECT_EQ(filial[0].usuario, kUsuarioTeste);
  EXPECT_EQ(filial[0].sessao, kSessaoTeste);
  const auto usuario = base_.Usuario.Inicializacoes();
  ASSERT_EQ(usuario.size(), 1u);
  std::string esperado(38, '\0');  // company in 0..31, user at 32, session at 34
  esperado.replace(0, 5, "TESTE");
  Poe(esperado, 32, kUsuarioTeste, 2);
  Poe(esperado, 34, kSessaoTeste, 4);
  EXPECT_EQ(Bytes(usuario[0].registro.data(), usuario[0].registro.size()), esperado);

  EXPECT_TRUE(servidor.GetIntegraPedidos());
  EXPECT_TRUE(servidor.GetUsuarioAcessoTotal());
  EXPECT_TRUE(servidor.GetPermissaoUsuario(5));
  EXPECT_FALSE(servidor.GetPermissaoUsuario(4));
  EXPECT_FALSE(servidor.GetPermissaoUsuario(1000));
  EXPECT_EQ(servidor.GetRegistroUsuario()->cReservado0[0], 0x11);
  EXPECT_EQ(servidor.GetArquivoPrincipal(), CString(empresa_.Diretorio().c_str()) + "PPMESTRE.DAT");
  EXPECT_TRUE(empresa_.Existe("PPVERSAO.DAT"));

  servidor.Finaliza();
  EXPECT_FALSE(servidor.GetIntegraPedidos());
  EXPECT_FALSE(servidor.GetUsuarioAcessoTotal());
  EXPECT_FALSE(servidor.GetPermissaoUsuario(5));
  EXPECT_TRUE(servidor.GetArquivoPrincipal().IsEmpty());
  EXPECT_EQ(servidor.LeVersao(nullptr), E_POINTER);
  _REG_PP_VERSAOPS versao;
  EXPECT_EQ(servidor.LeVersao(&versao), PPErroHResult(1585));
}

TEST_F(ServidorMestre, AFailingCallOfTheBranchOrUserServerStopsInicializaAndBothAreReleased) {
  constexpr HRESULT kFalha = static_cast<HRESULT>(0x80040777);
  struct Caso {
    ClasseFamilia& classe;
    const char* metodo;
  } casos[] = {{filiais_.Filial, "Inicializa"},  {filiais_.Filial, "LePeriodoAberto"},
               {filiais_.Filial, "LeParametros"}, {base_.Usuario, "Inicializa"},
               {base_.Usuario, "LePermissoes"},   {base_.Usuario, "Le"}};
  for (const Caso& caso : casos) {
    caso.classe.FalhaMetodo(caso.metodo, 1, kFalha);
    CPPServidorMestrePP servidor;
    EXPECT_EQ(servidor.Inicializa(SessaoTeste()), kFalha) << caso.classe.Nome() << " " << caso.metodo;
    EXPECT_EQ(filiais_.Filial.Vivos(), 0) << caso.metodo;
    EXPECT_EQ(base_.Usuario.Vivos(), 0) << caso.metodo;
    _REG_VARMO_INFO_SERVIDORPS info;
    EXPECT_EQ(servidor.BuscaInfoServidor(&info), PPErroHResult(1585)) << "left uninitialised";
  }
}

TEST_F(ServidorMestre, InicializaRefusesAnUnknownCompanyAndAMissingSettingsFileWhichItNeverCreates) {
  CPPServidorMestrePP servidor;
  _REG_VARMO_INICIALIZAPS alheia = SessaoTeste();
  std::strcpy(alheia.szEmpresa, "NADA");
  EXPECT_EQ(servidor.Inicializa(alheia), PPErroHResult(975));

  empresa_.Apaga("PPMESTRE.DAT");
  EXPECT_EQ(servidor.Inicializa(SessaoTeste()), PPErroHResult(1616));
  EXPECT_FALSE(empresa_.Existe("PPMESTRE.DAT"));
  EXPECT_EQ(filiais_.Filial.Criacoes(), 0) << "refused before the family's servers";
}

TEST_F(ServidorMestre, EveryMethodButLeAndTheProductQueryNeedsInicializa) {
  CPPServidorMestrePP servidor;
  _REG_VARMO_MESTRE mestre{};
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS entrada{};
  _REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS lista{};
  _REG_PP_VERSAOPS versao{};
  _REG_VARMO_INFO_SERVIDORPS info{};
  int32_t ponteiro = 0;
  const std::function<HRESULT()> metodos[] = {
      [&] { return servidor.Grava(mestre); },
      [&] { return servidor.GravaInfApontExternoFiliais(1, &entrada, &ponteiro); },
      [&] { return servidor.LeListaInfApontExternoFiliais(&lista); },
      [&] { return servidor.LeInfApontExternoFiliais(1, &entrada); },
      [&] { return servidor.LeVersao(&versao); },
      [&] { return servidor.BuscaInfoServidor(&info); },
  };
  for (const auto& metodo : metodos) EXPECT_EQ(metodo(), PPErroHResult(1585));
  EXPECT_FALSE(empresa_.Existe("XXMARCA1.DAT"));
  EXPECT_FALSE(empresa_.Existe("PPMSIAEF.DAT"));
}

TEST_F(ServidorMestre, NullOutputsAndANullListWithACountAreRefusedBeforeAnyFileWork) {
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
  const auto antes = empresa_.Arquivos();
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS entrada = EntradaFilial(1);
  int32_t ponteiro = 0;
  int32_t teve = 0;
  uint16_t nivel = 0;
  const std::function<HRESULT()> metodos[] = {
      [&] { return servidor.Le(nullptr); },
      [&] { return servidor.GravaInfApontExternoFiliais(1, nullptr, &ponteiro); },
      [&] { return servidor.GravaInfApontExternoFiliais(1, &entrada, nullptr); },
      [&] { return servidor.LeListaInfApontExternoFiliais(nullptr); },
      [&] { return servidor.LeInfApontExternoFiliais(1, nullptr); },
      [&] { return servidor.LeVersao(nullptr); },
      [&] { return servidor.BuscaInfoServidor(nullptr); },
      [&] { return servidor.ProdutoTeveMovimentacao(1, nullptr, &nivel); },
      [&] { return servidor.ProdutoTeveMovimentacao(1, &teve, nullptr); },
  };
  for (const auto& metodo : metodos) EXPECT_EQ(metodo(), E_POINTER);
  EXPECT_EQ(empresa_.Arquivos(), antes);
}

TEST_F(ServidorMestre, VersionRecordAndServerClockComeBackAsRecorded) {
  empresa_.EscreveVersao(VersoesAlvoCom({}), kPPVersaoOrvel, 40000, 50000);
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
  _REG_PP_VERSAOPS versao;
  std::memset(&versao, 0x5A, sizeof versao);
  ASSERT_EQ(servidor.LeVersao(&versao), S_OK);
  uint16_t esperado[19];
  for (size_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) esperado[grupo] = kPPVersoesAlvo[grupo];
  esperado[16] = 64;
  esperado[17] = 40000;
  esperado[18] = 50000;
  EXPECT_EQ(Bytes(&versao, sizeof versao), Bytes(esperado, sizeof esperado));

  _REG_VARMO_INFO_SERVIDORPS info{};
  ASSERT_EQ(servidor.BuscaInfoServidor(&info), S_OK);
  EXPECT_EQ(info.usDataAtual, DiaFixado());
  EXPECT_EQ(info.usHoraAtual, 10 * 60);
}

// ---------------------------------------------------------------------------------------------------
// The settings

TEST_F(ServidorMestre, LeFillsEachFieldFromItsPlaceAndTheOpenPeriodFromTheBranchServer) {
  // Bytes 0..62 are 1..63, so that every field reads a value of its own.
  std::string registro(kTamanhoMestre, '\xEE');
  for (size_t i = 0; i < 63; ++i) registro[i] = static_cast<char>(i + 1);
  CPPServidorMestrePP servidor;
  empresa_.Escreve("PPMESTRE.DAT", registro);
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);

  // A price table stored as 0 reads as the first one.
  const struct {
    uint32_t servico, produto;
  } tabelas[] = {{0x0A0B0C0D, 0}, {0, 5}};
  for (const auto& tabela : tabelas) {
    Poe(registro, 504, tabela.servico, 4);
    Poe(registro, 508, tabela.produto, 4);
    empresa_.Escreve("PPMESTRE.DAT", registro);
    _REG_VARMO_MESTRE lido;
    std::memset(&lido, 0x5A, sizeof lido);
    ASSERT_EQ(servidor.Le(&lido), S_OK);
    for (const CampoLido& campo : kCamposLidos) {
      uint32_t esperado = Tira(registro.data(), campo.disco, campo.largura);
      if (campo.com == PP_COM(ulPonteiroTabelaPrecoVendaServico) || campo.com == PP_COM(ulPonteiroTabelaPrecoVendaProduto))
        esperado = esperado ? esperado : 1;
      EXPECT_EQ(Tira(&lido, campo.com, campo.largura), esperado) << "COM offset " << campo.com;
    }
    EXPECT_EQ(lido.usDataInferiorPeriodo, kInicioPeriodo);
    EXPECT_EQ(lido.usDataSuperiorPeriodo, kFimPeriodo);
    EXPECT_EQ(Bytes(lido.cFiller, sizeof lido.cFiller), std::string(5, '\0'));
  }
}

TEST_F(ServidorMestre, GravaWritesEachChangedFieldWithItsLabelStoredThenNew) {
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
  for (const RotuloEsperado& caso : kRotulos) {
    empresa_.Escreve("PPMESTRE.DAT", RegistroBase());
    _REG_VARMO_MESTRE registro;
    ASSERT_EQ(servidor.Le(&registro), S_OK);
    Poe(&registro, caso.com, caso.novo, caso.largura);
    const size_t linhas = LinhasAlteracao().size();
    ASSERT_EQ(servidor.Grava(registro), S_OK) << caso.texto;
    const auto depois = LinhasAlteracao();
    ASSERT_EQ(depois.size(), linhas + 1) << caso.texto;
    EXPECT_EQ(depois.back(), AnsiFromUtf8(caso.texto) + "\r");
    EXPECT_EQ(Tira(empresa_.Le("PPMESTRE.DAT").data(), caso.disco, caso.largura), caso.novo) << caso.texto;
  }
}

TEST_F(ServidorMestre, GravaKeepsTheBytesThatAreNotItsOwnAndAuditsTheRecordAsItStood) {
  std::string armazenado = RegistroBase();
  for (size_t i = 0; i < 10; ++i) armazenado[i] = static_cast<char>(0xA0 + i);
  for (size_t i = 63; i < 504; ++i) armazenado[i] = static_cast<char>(i * 7);
  empresa_.Escreve("PPMESTRE.DAT", armazenado);
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);

  _REG_VARMO_MESTRE registro;
  ASSERT_EQ(servidor.Le(&registro), S_OK);
  registro.iVersaoSistema = 1;
  registro.iQuantidadeTerminais = 2;
  registro.iSecaoUso = 3;
  registro.iCodigoCliente = 4;
  registro.iCodigoClienteEscritorio = 5;
  registro.usMesAnoImplantacao = 6;
  registro.usDataInferiorPeriodo = 7;
  registro.usDataSuperiorPeriodo = 8;
  registro.lPonteiroInfApontExternoFilial = 9;  // stored without a label
  registro.usQtdInfApontExternoFilial = 3;
  registro.cTipoPerdaInsumo = 2;  // stored after the flags, compared after them
  registro.cPermiteInsercaoManualNecessidade = 1;
  ASSERT_EQ(servidor.Grava(registro), S_OK);

  std::string esperado = armazenado;
  Poe(esperado, 18, 9, 4);
  Poe(esperado, 24, 3, 2);
  Poe(esperado, 28, 1, 1);
  Poe(esperado, 57, 2, 1);
  EXPECT_EQ(empresa_.Le("PPMESTRE.DAT"), esperado);
  EXPECT_EQ(LinhasAlteracao(), std::vector<std::string>{"Nec. manual: 0 -> 1; Tipo perda: 0 -> 2; \r"});

  const auto auditorias = AuditoriasMestre();
  ASSERT_EQ(auditorias.size(), 1u);
  PPCabecalhoHistorico cabecalho;
  std::memcpy(&cabecalho, auditorias[0].data(), sizeof cabecalho);
  EXPECT_EQ(cabecalho.lSessao, kSessaoTeste);
  EXPECT_EQ(cabecalho.ulPonteiro, 0u);
  EXPECT_EQ(cabecalho.usData, DiaFixado());
  EXPECT_EQ(cabecalho.usMinutos, 10 * 60);
  EXPECT_EQ(cabecalho.usUsuario, kUsuarioTeste);
  EXPECT_EQ(cabecalho.usCodigo, 3);
  EXPECT_EQ(cabecalho.cTipo, 'A');
  EXPECT_EQ(cabecalho.cZero, 0);
  EXPECT_EQ(auditorias[0].substr(18), armazenado);
}

TEST_F(ServidorMestre, UnchangedRecordIsAuditedWithoutALineAndAPriceTableReadAs1IsStoredAs1) {
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
  _REG_VARMO_MESTRE registro;
  ASSERT_EQ(servidor.Le(&registro), S_OK);
  ASSERT_EQ(servidor.Grava(registro), S_OK);
  EXPECT_EQ(empresa_.Le("PPMESTRE.DAT"), RegistroBase());
  EXPECT_EQ(AuditoriasMestre().size(), 1u);
  EXPECT_TRUE(LinhasAlteracao().empty());

  std::string semTabela = RegistroBase();
  Poe(semTabela, 508, 0, 4);
  empresa_.Escreve("PPMESTRE.DAT", semTabela);
  ASSERT_EQ(servidor.Le(&registro), S_OK);
  ASSERT_EQ(servidor.Grava(registro), S_OK);
  EXPECT_EQ(empresa_.Le("PPMESTRE.DAT"), RegistroBase());
  EXPECT_EQ(LinhasAlteracao(), std::vector<std::string>{AnsiFromUtf8("Tabela de preço produto: 0 -> 1; \r")});
  ASSERT_EQ(AuditoriasMestre().size(), 2u);
  EXPECT_EQ(AuditoriasMestre()[1].substr(18), semTabela);
}

TEST_F(ServidorMestre, WithoutTheHistoryServiceSettingsAndListsGive1648AndNothingIsWritten) {
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
  _REG_VARMO_MESTRE registro;
  ASSERT_EQ(servidor.Le(&registro), S_OK);
  registro.cTipoPerdaInsumo = 1;
  const auto antes = empresa_.Arquivos();
  historico_.FalhaDefineEmpresa(E_FAIL);

  EXPECT_EQ(servidor.Grava(registro), PPErroHResult(1648));
  const _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS entrada = EntradaFilial(1);
  int32_t ponteiro = -1;
  EXPECT_EQ(servidor.GravaInfApontExternoFiliais(1, const_cast<_REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS*>(&entrada), &ponteiro),
            PPErroHResult(1648));
  EXPECT_EQ(empresa_.Arquivos(), antes) << "no lock file, no record, no audit record";
  historico_.FalhaDefineEmpresa(S_OK);
  EXPECT_TRUE(LinhasAlteracao().empty());
}

// Grava and the upgrade take turns on lock 1. The Grava, on a thread of its own, holds the lock while
// its history line waits for the history service's file, which the test keeps open; an upgrade on
// another thread waits for the lock meanwhile, on a clock that moves only when the test moves it.
class MestreConcorrente : public ServidorMestre {
 protected:
  MestreConcorrente() : ServidorMestre(TestClock::SleepMode::kBlocks) {}

  // Waits in real time, briefly, for what another thread is about to do.
  static void AguardaReal(const std::function<bool()>& pronto) {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!pronto() && std::chrono::steady_clock::now() < limite) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(pronto());
  }
  // Moves the clock in small steps until both threads end (a minute of real time at most).
  void EsperaFim(std::atomic<int>& terminados) {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (terminados < 2 && std::chrono::steady_clock::now() < limite) {
      empresa_.Relogio().Advance(10);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
};

TEST_F(MestreConcorrente, AnUpgradeWaitsWhileGravaHoldsLock1) {
  CPPServidorMestrePP mestre;
  ASSERT_EQ(mestre.Inicializa(SessaoTeste()), S_OK);
  _REG_VARMO_MESTRE registro;
  ASSERT_EQ(mestre.Le(&registro), S_OK);
  registro.cTipoPerdaInsumo = 1;
  // Only then does the company need its technical sheets upgraded.
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoFichaTecnica, 1}}));
  empresa_.Escreve(kArquivoFalsoFicha, ArquivoFalso(1, 3));
  empresa_.GetInstalacao().dir().Write("empresas/TESTE/HISTORICO/.keep", "");
  const std::string log = empresa_.GetInstalacao().dir().windows_path() + "empresas\\TESTE\\HISTORICO\\TESTE.LOG";
  HANDLE servico = CreateFileA(log.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(servico, INVALID_HANDLE_VALUE);

  std::atomic<int> terminados{0};
  std::atomic<HRESULT> gravacao{E_FAIL}, atualizacao{E_FAIL};
  std::thread grava([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    gravacao = mestre.Grava(registro);
    CoUninitialize();
    ++terminados;
  });
  // Its audit record written, Grava waits for the history file, holding the lock.
  AguardaReal([&] { return empresa_.Existe("PPMESTRE.HIS") && historico_.Vivos() == 1; });
  std::thread atualiza([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    atualizacao = empresa_.Servidor()->AtualizaVersaoArquivos(TabelaFalsa());
    CoUninitialize();
    ++terminados;
  });
  // Other threads of the process may wait on the clock too: the real pause gives the upgrade time
  // to reach the lock before the clock moves.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  for (int segundos = 0; segundos < 20; segundos += 10) {
    empresa_.Relogio().AwaitWaiters(2);
    empresa_.Relogio().Advance(10000);
  }
  empresa_.Relogio().AwaitWaiters(2);
  EXPECT_EQ(terminados, 0);
  // The converter's history client would be the second: the upgrade waits for the lock, not for
  // the history file.
  EXPECT_EQ(historico_.Vivos(), 1);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 1);
  EXPECT_FALSE(empresa_.Existe("PPFALSOB.TRA"));

  CloseHandle(servico);
  EsperaFim(terminados);
  grava.join();
  atualiza.join();
  EXPECT_EQ(gravacao, S_OK);
  EXPECT_EQ(LinhasAlteracao(), std::vector<std::string>{"Tipo perda: 0 -> 1; \r"});
  EXPECT_EQ(atualizacao, S_OK);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 3);
  EXPECT_EQ(empresa_.Le(kArquivoFalsoFicha), ArquivoFalso(3, 3));
}

// ---------------------------------------------------------------------------------------------------
// The branch lists

TEST_F(ServidorMestre, BranchListsAreAppendedAndTheSettingsNameTheOneThatIsRead) {
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS entradas[] = {EntradaFilial(1), EntradaFilial(2), EntradaFilial(3)};
  int32_t primeira = -1;
  ASSERT_EQ(servidor.GravaInfApontExternoFiliais(3, entradas, &primeira), S_OK);
  EXPECT_EQ(primeira, 1);
  ASSERT_EQ(servidor.GravaInfApontExternoFiliais(3, entradas, &primeira), S_OK);
  EXPECT_EQ(primeira, 4);
  std::string arquivo(32, '\0');
  for (int vez = 0; vez < 2; ++vez)
    for (uint16_t filial = 1; filial <= 3; ++filial) arquivo += EntradaLida(filial).substr(0, 12) + std::string(20, '\0');
  EXPECT_EQ(empresa_.Le("PPMSIAEF.DAT"), arquivo);
  ASSERT_EQ(servidor.GravaInfApontExternoFiliais(0, nullptr, &primeira), S_OK);
  EXPECT_EQ(primeira, 0);

  // The settings name the second list.
  _REG_VARMO_MESTRE mestre;
  ASSERT_EQ(servidor.Le(&mestre), S_OK);
  mestre.lPonteiroInfApontExternoFilial = 4;
  mestre.usQtdInfApontExternoFilial = 3;
  mestre.cSolicitarFaturamentoApontamentoExterno = 1;
  ASSERT_EQ(servidor.Grava(mestre), S_OK);
  _REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS lista{};
  ASSERT_EQ(servidor.LeListaInfApontExternoFiliais(&lista), S_OK);
  ASSERT_EQ(lista.usQtdInfApontExternoFilial, 3);
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* const lidas = lista.pregLista;
  ASSERT_NE(lidas, nullptr);
  for (uint16_t i = 0; i < 3; ++i) EXPECT_EQ(Bytes(&lidas[i], sizeof lidas[i]), EntradaLida(i + 1)) << i;
  CoTaskMemFree(lidas);

  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS uma;
  std::memset(&uma, 0x33, sizeof uma);
  ASSERT_EQ(servidor.LeInfApontExternoFiliais(2, &uma), S_OK);
  EXPECT_EQ(Bytes(&uma, sizeof uma), EntradaLida(2));
  std::memset(&uma, 0x33, sizeof uma);
  ASSERT_EQ(servidor.LeInfApontExternoFiliais(9, &uma), S_OK);
  EXPECT_EQ(Bytes(&uma, sizeof uma), std::string(sizeof uma, '\x33')) << "no match: left as it came";

  // Without invoicing of outside reporting there is no list, whatever the count.
  mestre.cSolicitarFaturamentoApontamentoExterno = 0;
  ASSERT_EQ(servidor.Grava(mestre), S_OK);
  std::memset(&lista, 0x44, sizeof lista);
  ASSERT_EQ(servidor.LeListaInfApontExternoFiliais(&lista), S_OK);
  EXPECT_EQ(lista.usQtdInfApontExternoFilial, 0);
  EXPECT_TRUE(lista.pregLista == nullptr);
}

TEST_F(ServidorMestre, AListThatRunsPastTheFileIsReadAsNoneAndFreed) {
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS entradas[] = {EntradaFilial(1), EntradaFilial(2)};
  int32_t primeira = 0;
  ASSERT_EQ(servidor.GravaInfApontExternoFiliais(2, entradas, &primeira), S_OK);
  _REG_VARMO_MESTRE mestre;
  ASSERT_EQ(servidor.Le(&mestre), S_OK);
  mestre.lPonteiroInfApontExternoFilial = 1;
  mestre.usQtdInfApontExternoFilial = 3;  // the third record is not there
  mestre.cSolicitarFaturamentoApontamentoExterno = 1;
  ASSERT_EQ(servidor.Grava(mestre), S_OK);

  _REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS lista;
  std::memset(&lista, 0x44, sizeof lista);
  EXPECT_EQ(servidor.LeListaInfApontExternoFiliais(&lista), PPErroHResult(16021));
  EXPECT_EQ(lista.usQtdInfApontExternoFilial, 0);
  EXPECT_TRUE(lista.pregLista == nullptr);
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS uma{};
  EXPECT_EQ(servidor.LeInfApontExternoFiliais(1, &uma), PPErroHResult(16021));
  // TearDown: no block left
}

// ---------------------------------------------------------------------------------------------------
// The month of implantation

TEST_F(ServidorMestre, MonthOfImplantationIsTheEarliestOrderOrRequirementMonthWhenBeforeToday) {
  const struct Caso {
    std::vector<const char*> arquivos;
    uint16_t mes;
  } casos[] = {
      {{}, Mes(5, 2024)},
      {{"PPOP0323.DAT"}, Mes(3, 2023)},
      {{"PPOP0323.DAT", "PPNC1122.DAT"}, Mes(11, 2022)},
      {{"PPNC0199.DAT", "PPOP0323.DAT", "PPOP0127.DAT"}, Mes(1, 1927)},
      {{"PPOP0625.DAT"}, Mes(5, 2024)},
      {{"ppnc0124.dat", "PPOPX.DAT", "PPOI0101.DAT"}, Mes(1, 2024)},
  };
  for (const Caso& caso : casos) {
    std::string registro = RegistroBase();
    Poe(registro, 22, 0, 2);
    Poe(registro, 100, 0xBEEF, 2);
    empresa_.Restaura({{"PPMESTRE.DAT", registro}});
    for (const char* arquivo : caso.arquivos) empresa_.Escreve(arquivo, "");
    CPPServidorMestrePP servidor;
    ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
    Poe(registro, 22, caso.mes, 2);
    EXPECT_EQ(empresa_.Le("PPMESTRE.DAT"), registro) << (caso.arquivos.empty() ? "" : caso.arquivos[0]);
  }

  // A month already there stays.
  empresa_.Restaura({{"PPMESTRE.DAT", RegistroBase()}, {"PPOP0323.DAT", ""}});
  CPPServidorMestrePP servidor;
  ASSERT_EQ(servidor.Inicializa(SessaoTeste()), S_OK);
  EXPECT_EQ(empresa_.Le("PPMESTRE.DAT"), RegistroBase());
}

// ---------------------------------------------------------------------------------------------------
// Whether a product was used: the seam, on fake handlers

namespace {

struct Chamada {
  int slot;
  uint8_t cInicializarCompleto;
  std::string registro;
  bool bConsultado = false;
  uint32_t produto = 0;
};
struct Resposta {
  HRESULT hrInicializa = S_OK;
  HRESULT hrConsulta = S_OK;
  int32_t teve = 0;     // set when not 0
  uint16_t nivel = 0;   // raised to it
};
std::vector<Chamada> g_chamadas;
Resposta g_respostas[kPPQuantidadeSlotsMovimentacao];
int g_tratadoresVivos = 0;

template <int kSlot>
class TratadorFalso {
 public:
  TratadorFalso() { ++g_tratadoresVivos; }
  ~TratadorFalso() { --g_tratadoresVivos; }
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS regPS, uint8_t cInicializarCompleto) {
    g_chamadas.push_back({kSlot, cInicializarCompleto, Bytes(&regPS, sizeof regPS)});
    return g_respostas[kSlot].hrInicializa;
  }
  HRESULT ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve, uint16_t* iNivelGradeEmUso) {
    g_chamadas.back().bConsultado = true;
    g_chamadas.back().produto = lPonteiroProduto;
    const Resposta& resposta = g_respostas[kSlot];
    if (resposta.teve) *bTeve = resposta.teve;
    if (resposta.nivel > *iNivelGradeEmUso) *iNivelGradeEmUso = resposta.nivel;
    return resposta.hrConsulta;
  }
};

class MovimentacaoProduto : public ::testing::Test {
 protected:
  void SetUp() override { Preenche(); }
  void TearDown() override {
    for (int slot = 0; slot < kPPQuantidadeSlotsMovimentacao; ++slot)
      PPDefineConsultaMovimentacao(static_cast<PPSlotMovimentacao>(slot), anteriores_[slot]);
  }
  void Preenche() {
    const PPConsultaMovimentacao falsas[] = {PPConsultaDe<TratadorFalso<0>>(), PPConsultaDe<TratadorFalso<1>>(),
                                             PPConsultaDe<TratadorFalso<2>>(), PPConsultaDe<TratadorFalso<3>>(),
                                             PPConsultaDe<TratadorFalso<4>>()};
    for (int slot = 0; slot < kPPQuantidadeSlotsMovimentacao; ++slot) {
      const PPConsultaMovimentacao anterior = PPDefineConsultaMovimentacao(static_cast<PPSlotMovimentacao>(slot), falsas[slot]);
      if (!preenchido_) anteriores_[slot] = anterior;
    }
    preenchido_ = true;
    g_chamadas.clear();
    for (Resposta& resposta : g_respostas) resposta = Resposta{};
  }

  EmpresaTeste empresa_;
  PPConsultaMovimentacao anteriores_[kPPQuantidadeSlotsMovimentacao] = {};
  bool preenchido_ = false;
};

}  // namespace

TEST_F(MovimentacaoProduto, HandlersAreAskedInOrderWithTheSessionUntilAnErrorOrTheHighestLevelOfTheFirstThree) {
  constexpr HRESULT kErro = static_cast<HRESULT>(0x80040999);
  const struct Caso {
    const char* nome;
    std::function<void()> prepara;
    std::string inicializados;  // slots, in the order of their Inicializa
    std::string consultados;
    HRESULT hr;
    int32_t teve;
    uint16_t nivel;
  } casos[] = {
      {"nobody used it", [] {}, "01234", "01234", S_OK, 0, 0},
      {"orders at 3", [] { g_respostas[0] = {S_OK, S_OK, 1, 3}; }, "0", "0", S_OK, 1, 3},
      {"plans at 3", [] { g_respostas[1].nivel = 2, g_respostas[2].nivel = 3; }, "012", "012", S_OK, 0, 3},
      {"management at 3 is not tested", [] { g_respostas[3].nivel = 3, g_respostas[4].teve = 1; }, "01234", "01234",
       S_OK, 1, 3},
      {"sheets fail to start", [] { g_respostas[1].hrInicializa = kErro; }, "01", "0", kErro, 0, 0},
      {"management fails", [] { g_respostas[0].teve = 1, g_respostas[3].hrConsulta = kErro; }, "0123", "0123", kErro,
       1, 0},
      {"an empty slot", [] { PPDefineConsultaMovimentacao(kPPMovimentacaoManutencao, {}); }, "01", "01", E_FAIL, 0,
       0},
  };
  for (const Caso& caso : casos) {
    Preenche();
    caso.prepara();
    auto servidor = empresa_.Servidor();
    int32_t teve = 9;  // what the caller's variables held is no answer
    uint16_t nivel = 2;
    EXPECT_EQ(servidor->ProdutoTeveMovimentacao(777, &teve, &nivel), caso.hr) << caso.nome;
    EXPECT_EQ(teve, caso.teve) << caso.nome;
    EXPECT_EQ(nivel, caso.nivel) << caso.nome;
    std::string inicializados, consultados;
    for (const Chamada& chamada : g_chamadas) {
      inicializados += static_cast<char>('0' + chamada.slot);
      if (chamada.bConsultado) consultados += static_cast<char>('0' + chamada.slot);
      // The order handler builds its own master settings; the others are initialised briefly.
      EXPECT_EQ(chamada.cInicializarCompleto, chamada.slot == 0 ? 1 : 0) << caso.nome;
      std::string registro(32, '\0');  // company in 0..23, user at 24, session at 26, 0 at 30
      registro.replace(0, 5, "TESTE");
      Poe(registro, 24, kUsuarioTeste, 2);
      Poe(registro, 26, kSessaoTeste, 4);
      EXPECT_EQ(chamada.registro, registro) << caso.nome;
      if (chamada.bConsultado) {
        EXPECT_EQ(chamada.produto, 777u) << caso.nome;
      }
    }
    EXPECT_EQ(inicializados, caso.inicializados) << caso.nome;
    EXPECT_EQ(consultados, caso.consultados) << caso.nome;
    EXPECT_EQ(g_tratadoresVivos, 0) << caso.nome;
  }
}

TEST(MovimentacaoProdutoSemTratadores, TheOrderAndTargetSlotsAreFilledAndTheEmptyOnesMakeTheQueryFail) {
  EXPECT_EQ(PPGetConsultaMovimentacao(kPPMovimentacaoOP).pCria, PPConsultaMovimentacaoOP().pCria);
  EXPECT_EQ(PPGetConsultaMovimentacao(kPPMovimentacaoMetasProducao).pCria,
            PPConsultaMovimentacaoMetasProducao().pCria);
  for (int slot = kPPMovimentacaoFichaTecnica; slot < kPPMovimentacaoMetasProducao; ++slot)
    EXPECT_EQ(PPGetConsultaMovimentacao(static_cast<PPSlotMovimentacao>(slot)).pCria, nullptr) << slot;
  EmpresaTeste empresa;  // the order checks need the session's company
  auto servidor = empresa.Servidor();
  int32_t teve = 1;
  uint16_t nivel = 3;
  EXPECT_EQ(servidor->ProdutoTeveMovimentacao(1, &teve, &nivel), E_FAIL);
  EXPECT_EQ(teve, 0);
  EXPECT_EQ(nivel, 0);
}

// ---------------------------------------------------------------------------------------------------
// Through COM

namespace {

class MestreCOM : public ServidorMestre {
 protected:
  void SetUp() override {
    ServidorMestre::SetUp();
    ASSERT_EQ(VarmoExecuta("\\opt\\qv\\Varmo /RegServer"), S_OK);
    ASSERT_TRUE(VinculaServidorVarmo());
  }
  void TearDown() override {
    if (const DWORD execucao = LocalServerRunThread(kPPNomeModuloVarmo)) PostThreadMessageA(execucao, WM_QUIT, 0, 0);
    WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE);
    UnlinkLocalServer(kPPNomeModuloVarmo);
    ServidorMestre::TearDown();
  }
};

}  // namespace

TEST_F(MestreCOM, TheClassAnswersEveryMethodAfterInicializaWithVersion64AndLeavesNoBlock) {
  IQVPP_MestrePP* mestre = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_QVPP_MestrePP, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVPP_MestrePP,
                             reinterpret_cast<void**>(&mestre)),
            S_OK);
  _REG_VARMO_MESTRE registro{};
  EXPECT_EQ(mestre->Inicializa(SessaoTeste(), 63), static_cast<HRESULT>(0x8004068D));
  EXPECT_EQ(mestre->Grava(registro), PPErroHResult(1585)) << "a refused version leaves it uninitialised";
  ASSERT_EQ(mestre->Inicializa(SessaoTeste(), 64), S_OK);

  ASSERT_EQ(mestre->Le(&registro), S_OK);
  EXPECT_EQ(registro.usDataInferiorPeriodo, kInicioPeriodo);
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS entradas[] = {EntradaFilial(1), EntradaFilial(2)};
  int32_t primeira = 0;
  ASSERT_EQ(mestre->GravaInfApontExternoFiliais(2, entradas, &primeira), S_OK);
  registro.lPonteiroInfApontExternoFilial = primeira;
  registro.usQtdInfApontExternoFilial = 2;
  registro.cSolicitarFaturamentoApontamentoExterno = 1;
  ASSERT_EQ(mestre->Grava(registro), S_OK);
  _REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS lista{};
  ASSERT_EQ(mestre->LeListaInfApontExternoFiliais(&lista), S_OK);
  EXPECT_EQ(lista.usQtdInfApontExternoFilial, 2);
  CoTaskMemFree(lista.pregLista);
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS uma{};
  ASSERT_EQ(mestre->LeInfApontExternoFiliais(2, &uma), S_OK);
  EXPECT_EQ(Bytes(&uma, sizeof uma), EntradaLida(2));

  _REG_PP_VERSAOPS versao{};
  ASSERT_EQ(mestre->LeVersao(&versao), S_OK);
  EXPECT_EQ(versao.usVersaoOrdemProducao, 9);
  EXPECT_EQ(versao.usVersaoOrvel, 64);
  EXPECT_EQ(versao.usDataCriacao, DiaFixado());
  _REG_VARMO_INFO_SERVIDORPS info{};
  ASSERT_EQ(mestre->BuscaInfoServidor(&info), S_OK);
  EXPECT_EQ(info.usDataAtual, DiaFixado());
  int32_t teve = 1;
  uint16_t nivel = 1;
  EXPECT_EQ(mestre->ProdutoTeveMovimentacao(5, &teve, &nivel), E_FAIL) << "the technical sheets' slot is empty yet";
  EXPECT_EQ(teve, 0);
  _REG_FUNCAO_GENERICA_VARMO* saida = nullptr;
  EXPECT_EQ(mestre->FuncaoGenerica(1, {0, nullptr}, &saida), static_cast<HRESULT>(0x80040001));
  EXPECT_EQ(saida, nullptr);
  EXPECT_EQ(mestre->Release(), 0u);
}

TEST_F(MestreCOM, InicializaUpgradesAnOldCompanyAndItsLinesStandInTheHistoryInOrder) {
  // Settings at version 2, order types with their user chains at 1, targets of one month at 1 and
  // the collections never numbered.
  empresa_.EscreveVersao(VersoesAlvoCom(
      {{kPPGrupoMestre, 2}, {kPPGrupoTipoOP, 1}, {kPPGrupoMetasProducao, 1}, {kPPGrupoColecao, 0}}));
  for (const auto& [nome, bytes] : VersoesAntigasCadastros::CadastrosV1())
    if (nome == "PPTOPCAB.DAT" || nome == "PPTOPUSU.DAT") empresa_.Escreve(nome, bytes);
  empresa_.Escreve(VersoesAntigasFichas::NomePeriodo("PPMP", 2126),
                   VersoesAntigasFichas::ArquivoDeRegistros(
                       VersoesAntigasFichas::kTamanhoMetaV1, {VersoesAntigasFichas::RegistroAntigo(1, 128),
                                                              VersoesAntigasFichas::RegistroAntigo(2, 128)}));

  IQVPP_MestrePP* mestre = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_QVPP_MestrePP, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVPP_MestrePP,
                             reinterpret_cast<void**>(&mestre)),
            S_OK);
  ASSERT_EQ(mestre->Inicializa(SessaoTeste(), 64), S_OK);
  _REG_PP_VERSAOPS versao{};
  ASSERT_EQ(mestre->LeVersao(&versao), S_OK);
  const uint16_t lidas[] = {versao.usVersaoMestre,        versao.usVersaoTipoOP,          versao.usVersaoProcesso,
                            versao.usVersaoFluxoProcesso, versao.usVersaoOperacaoProducao, versao.usVersaoFichaTecnica,
                            versao.usVersaoOrdemProducao, versao.usVersaoCalendario,       versao.usVersaoSecao,
                            versao.usVersaoRecurso,       versao.usVersaoPlanoManutencao,  versao.usVersaoGestaoManutencao,
                            versao.usVersaoColecao,       versao.usVersaoMotivoRefugo,     versao.usVersaoMetasProducao,
                            versao.usVersaoTipoRecurso};
  for (size_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) EXPECT_EQ(lidas[grupo], kPPVersoesAlvo[grupo]) << grupo;
  EXPECT_EQ(versao.usDataUltimaConversao, DiaFixado());
  EXPECT_EQ(mestre->Release(), 0u);

  const std::string mestreConvertido = empresa_.Le("PPMESTRE.DAT");
  ASSERT_EQ(mestreConvertido.size(), kTamanhoMestre);
  EXPECT_EQ(mestreConvertido.substr(60, 3), std::string("\x01\x01\x01", 3));
  EXPECT_TRUE(empresa_.Existe("PPTOPCAB_V001.HIS"));
  EXPECT_TRUE(empresa_.Existe("PPMP0225_V001.HIS"));
  const auto linha = [](const char* texto) { return std::string(texto) + "\r"; };
  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{
                        linha("AtualizaMestre -> processo iniciado"),
                        linha("AtualizaMestreV02_p_V03 -> processo iniciado"),
                        linha("AtualizaMestreV02_p_V03 -> processo encerrado"),
                        linha("AtualizaMestre -> processo encerrado"),
                        linha("Atualiza Tipo de OP -> processo iniciado"),
                        linha("AtualizaV01_p_V02 -> processo iniciado"),
                        linha("AtualizaV01_p_V02 -> processo encerrado"),
                        linha("Atualiza Tipo de OP -> processo encerrado"),
                        linha("AtualizaMetaProducao -> processo iniciado"),
                        linha("AtualizaV01_p_V02 -> processo iniciado"),
                        linha("AtualizaV01_p_V02 -> processo encerrado"),
                        linha("AtualizaMetaProducao -> processo encerrado"),
                    }));
}

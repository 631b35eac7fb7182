// The section handler over a company: its record layout and history lines, the rewrite that
// revives a removed section and refuses a pointer past the end, the exact code search, the reads
// that deliver or refuse removed sections, the usage checks of Remove, the lock, a damaged file,
// and the COM class QVPP_Secao.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "server/cadastros/CPPServidorProcesso.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "server/cadastros/CPPServidorSecao.h"
#include "server/idl/Varmo.h"
#include "tests/server/cadastros/EmpresaCadastros.h"

namespace {

constexpr HRESULT kNaoInicializado = PPErroHResult(1585);
constexpr HRESULT kRemovido = PPErroHResult(1586);
constexpr HRESULT kArgumentoInvalido = PPErroHResult(1587);
constexpr HRESULT kEmUso = PPErroHResult(1588);
constexpr HRESULT kMarcaOcupada = PPErroHResult(16268);  // the holder message of lock 5
constexpr HRESULT kArquivoDanificado = PPErroHResult(1722);

constexpr size_t kTamanho = 128;
const char* const kArquivo = "PPSECAOP.DAT";

_REG_PP_SECAOPS Secao(const char* codigo, const char* descricao, uint32_t calendario = 0) {
  _REG_PP_SECAOPS secao{};
  std::strncpy(secao.szCodigo, codigo, sizeof secao.szCodigo - 1);
  std::strncpy(secao.szDescricao, descricao, sizeof secao.szDescricao - 1);
  secao.lPonteiroCalendario = calendario;
  return secao;
}

std::string Linha(const std::string& codigo, const std::string& descricao) {
  return "Se\xe7\xe3o: " + codigo + " - " + descricao;  // Windows-1252
}

class ServidorSecao : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    ASSERT_EQ(servidor_.Inicializa(SessaoTeste(), 1), S_OK);
  }
  void TearDown() override {
    servidor_.Finaliza();
    EmpresaCadastros::TearDown();
  }

  uint32_t Grava(const _REG_PP_SECAOPS& secao, uint32_t ponteiro = 0) {
    uint32_t gravado = 0;
    EXPECT_EQ(servidor_.Grava(ponteiro, secao, &gravado), S_OK) << secao.szCodigo;
    return gravado;
  }
  std::string Registro(uint32_t ponteiro) const { return empresa_.Le(kArquivo).substr(ponteiro * kTamanho, kTamanho); }
  HRESULT Existe(const char16_t* codigo, uint32_t* ponteiro, uint8_t cUtilizaFiltro = 0) {
    BSTR texto = SysAllocString(codigo);
    const HRESULT hr = servidor_.Existe(texto, ponteiro, cUtilizaFiltro);
    SysFreeString(texto);
    return hr;
  }
  std::vector<uint32_t> Busca() {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(servidor_.BuscaPonteiros(&lista), S_OK);
    return PonteirosLista(lista);
  }

  CPPServidorSecao servidor_;
};

TEST_F(ServidorSecao, GravaWritesTheLayoutWithTwelveCharacterCodesAndHistoryLinesIThenA) {
  const std::string descricao52(52, 'd');
  ASSERT_EQ(Grava(Secao("ABCDEFGHIJKL", descricao52.c_str(), 7)), 1u);
  std::string esperado(kTamanho, '\0');
  esperado[0] = 7;  // calendar
  esperado.replace(4, 12, "ABCDEFGHIJKL");
  esperado.replace(16, 52, descricao52);
  EXPECT_EQ(Registro(1), esperado);

  _REG_PP_SECAOPS lida;
  std::memset(&lida, 0xAB, sizeof lida);
  ASSERT_EQ(servidor_.Le(1, &lida), S_OK);
  EXPECT_EQ(lida.lPosicao, 1u);
  EXPECT_EQ(lida.lPonteiroCalendario, 7u);
  EXPECT_STREQ(lida.szCodigo, "ABCDEFGHIJKL") << "the whole code, terminated";
  EXPECT_EQ(std::string(lida.szDescricao), descricao52);
  EXPECT_EQ(lida.cFiller[0], 0) << "the record is zeroed before it is filled";

  // COM fields filled to their last byte are cut to the disk widths and never read past.
  _REG_PP_SECAOPS cheia{};
  std::memset(cheia.szCodigo, 'C', sizeof cheia.szCodigo);
  std::memset(cheia.szDescricao, 'E', sizeof cheia.szDescricao);
  std::memset(cheia.cFiller, 'X', sizeof cheia.cFiller);
  ASSERT_EQ(Grava(cheia, 1), 1u);
  esperado.replace(0, 4, std::string(4, '\0'));
  esperado.replace(4, 12, std::string(12, 'C'));
  esperado.replace(16, 52, std::string(52, 'E'));
  EXPECT_EQ(Registro(1), esperado);
  EXPECT_EQ(empresa_.Le(kArquivo).size(), 2 * kTamanho);

  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', Linha("ABCDEFGHIJKL", descricao52)},
                                                  {'A', Linha(std::string(14, 'C'), std::string(54, 'E'))}}));
}

TEST_F(ServidorSecao, EveryOperationWaitsForInicializa) {
  CPPServidorSecao novo;
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  _REG_PP_SECAOPS secao{};
  uint32_t ponteiro = 1;
  BSTR codigo = SysAllocString(u"S1");
  EXPECT_EQ(novo.BuscaPonteiros(&lista), kNaoInicializado);
  EXPECT_EQ(novo.LePonteiros(1, &ponteiro, &secao), kNaoInicializado);
  EXPECT_EQ(novo.Le(1, &secao), kNaoInicializado);
  EXPECT_EQ(novo.Grava(0, Secao("S1", "Corte"), &ponteiro), kNaoInicializado);
  EXPECT_EQ(novo.Existe(codigo, &ponteiro, 0), kNaoInicializado);
  EXPECT_EQ(novo.Remove(1), kNaoInicializado);
  SysFreeString(codigo);

  _REG_VARMO_INICIALIZAPS semDiretorio = SessaoTeste();
  std::strcpy(semDiretorio.szEmpresa, "NENHUMA");
  EXPECT_EQ(novo.Inicializa(semDiretorio, 0), PPErroHResult(975));
  EXPECT_EQ(novo.Remove(1), kNaoInicializado);
  EXPECT_EQ(servidor_.Finaliza(), S_OK);
  EXPECT_EQ(servidor_.Remove(1), kNaoInicializado) << "Finaliza leaves the handler as new";
  EXPECT_TRUE(Linhas().empty());
}

TEST_F(ServidorSecao, APointerPastTheLastRecordIsRefusedAndNothingIsWritten) {
  uint32_t ponteiro = 99;
  EXPECT_EQ(servidor_.Grava(1, Secao("S1", "Corte"), &ponteiro), kArgumentoInvalido) << "an empty file";
  EXPECT_EQ(ponteiro, 99u);
  Grava(Secao("S1", "Corte"));
  const std::map<std::string, std::string> antes = empresa_.Arquivos();
  for (const uint32_t alem : {2u, 5u, 0x80000000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(servidor_.Grava(alem, Secao("S2", "Solda"), &ponteiro), kArgumentoInvalido) << alem;
  }
  EXPECT_EQ(empresa_.Arquivos(), antes);
  EXPECT_EQ(Linhas().size(), 1u) << "no history line for a refused rewrite";
  EXPECT_EQ(Busca(), std::vector<uint32_t>{1});
}

TEST_F(ServidorSecao, ARemovedSectionIsDeliveredByLePonteirosRefusedByLeAndRevivedByARewrite) {
  Grava(Secao("S1", "Corte", 3));
  Grava(Secao("S2", "Solda"));
  ASSERT_EQ(servidor_.Remove(1), S_OK);
  ASSERT_EQ(servidor_.Remove(1), S_OK) << "a removed section stays removed";
  EXPECT_EQ(Registro(1)[68], 1);

  _REG_PP_SECAOPS lidas[2];
  uint32_t ponteiros[2] = {2, 1};
  ASSERT_EQ(servidor_.LePonteiros(2, ponteiros, lidas), S_OK);
  EXPECT_EQ(lidas[0].lPosicao, 2u);
  EXPECT_STREQ(lidas[0].szCodigo, "S2");
  EXPECT_EQ(lidas[1].lPosicao, 1u);
  EXPECT_STREQ(lidas[1].szCodigo, "S1");
  EXPECT_EQ(lidas[1].lPonteiroCalendario, 3u);
  EXPECT_EQ(servidor_.Le(1, &lidas[0]), kRemovido);
  EXPECT_EQ(Busca(), std::vector<uint32_t>{2});
  uint32_t ponteiro = 9;
  ASSERT_EQ(Existe(u"S1", &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 0u);

  ASSERT_EQ(Grava(Secao("S1", "Corte novo"), 1), 1u);
  EXPECT_EQ(Registro(1)[68], 0);
  ASSERT_EQ(servidor_.Le(1, &lidas[0]), S_OK);
  EXPECT_STREQ(lidas[0].szDescricao, "Corte novo");
  EXPECT_EQ(Busca(), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', Linha("S1", "Corte")},
                                                  {'I', Linha("S2", "Solda")},
                                                  {'E', Linha("S1", "Corte")},
                                                  {'A', Linha("S1", "Corte novo")}}));
}

TEST_F(ServidorSecao, ExisteComparesCodesExactlySkipsRemovedOnesAndIgnoresTheFilterSwitch) {
  Grava(Secao("Corte", "Primeira"));
  Grava(Secao("Corte", "Segunda"));
  Grava(Secao("CORTE", "Terceira"));
  struct Caso {
    const char16_t* codigo;
    uint32_t esperado;
  };
  for (const Caso& caso : {Caso{u"Corte", 1}, Caso{u"CORTE", 3}, Caso{u"corte", 0}, Caso{u"Cort", 0}}) {
    for (const uint8_t cUtilizaFiltro : {0, 1, 2}) {
      uint32_t ponteiro = 77;
      ASSERT_EQ(Existe(caso.codigo, &ponteiro, cUtilizaFiltro), S_OK);
      EXPECT_EQ(ponteiro, caso.esperado) << static_cast<int>(cUtilizaFiltro);
    }
  }
  ASSERT_EQ(servidor_.Remove(1), S_OK);
  uint32_t ponteiro = 77;
  ASSERT_EQ(Existe(u"Corte", &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 2u) << "the first that is not removed";
  EXPECT_EQ(Existe(u"", &ponteiro), kArgumentoInvalido);
  EXPECT_EQ(ponteiro, 0u);
}

TEST_F(ServidorSecao, LePonteirosRefusesACountBelowOneAndStopsAtTheFirstUnreadablePointer) {
  Grava(Secao("S1", "Corte"));
  uint32_t ponteiros[2] = {1, 5};
  _REG_PP_SECAOPS lidas[2];
  std::memset(lidas, 0xAB, sizeof lidas);
  EXPECT_EQ(servidor_.LePonteiros(0, ponteiros, lidas), kArgumentoInvalido);
  EXPECT_EQ(servidor_.LePonteiros(-1, ponteiros, lidas), kArgumentoInvalido);
  EXPECT_EQ(lidas[0].lPosicao, 0xABABABABu) << "nothing touched";
  const HRESULT hr = servidor_.LePonteiros(2, ponteiros, lidas);
  EXPECT_TRUE(FAILED(hr)) << "a record past the end is no section";
  EXPECT_STREQ(lidas[0].szCodigo, "S1") << "the records before stay filled";
}

TEST_F(ServidorSecao, RemoveRefusesASectionThatAProcessOrAResourceOfAnyBranchNames) {
  Grava(Secao("S1", "Corte"));
  Grava(Secao("S2", "Solda"));
  Grava(Secao("S3", "Pintura"));
  CPPServidorProcesso processos;
  ASSERT_EQ(processos.Inicializa(SessaoTeste(), 0), S_OK);
  _REG_VARMO_PROCESSOPS processo{};
  std::strcpy(processo.szCodigo, "P1");
  processo.lPonteiroSecao = 1;
  int32_t gravado = 0;
  ASSERT_EQ(processos.Grava(0, processo, &gravado), S_OK);
  // The resource is of branch 3, where the session's user may not work: it still holds section 2.
  DefineAcessoTotal(false, {0});
  CPPServidorRecursos recursos;
  ASSERT_EQ(recursos.Inicializa(SessaoTeste(), 0), S_OK);
  _REG_PP_RECURSOPS recurso{};
  std::strcpy(recurso.szCodigo, "R1");
  recurso.lPonteiroSecao = 2;
  recurso.usPonteiroFilial = 3;
  ASSERT_EQ(recursos.Grava(0, recurso, &gravado), S_OK);
  processos.Finaliza();
  recursos.Finaliza();

  const std::map<std::string, std::string> antes = empresa_.Arquivos();
  EXPECT_EQ(servidor_.Remove(1), kEmUso);
  EXPECT_EQ(servidor_.Remove(2), kEmUso);
  EXPECT_EQ(empresa_.Arquivos(), antes);
  EXPECT_EQ(servidor_.Remove(0), kArgumentoInvalido);
  ASSERT_EQ(servidor_.Remove(3), S_OK);
  EXPECT_EQ(Busca(), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'E', Linha("S3", "Pintura")}));
}

TEST_F(ServidorSecao, GravaAndRemoveWaitForLockFiveAndGiveItsHoldersMessage) {
  Grava(Secao("S1", "Corte"));
  const std::map<std::string, std::string> antes = empresa_.Arquivos();
  CQVArqMarca outro;
  ASSERT_EQ(outro.Marca(empresa_.Diretorio().c_str(), 5), 0);
  const DWORD inicio = GetTickCount();
  uint32_t ponteiro = 0;
  EXPECT_EQ(servidor_.Grava(0, Secao("S2", "Solda"), &ponteiro), kMarcaOcupada);
  EXPECT_GE(GetTickCount() - inicio, CQVArqMarca::kEsperaMarca) << "it waited the whole time";
  EXPECT_EQ(servidor_.Remove(1), kMarcaOcupada);
  EXPECT_EQ(empresa_.Arquivos(), antes);
  EXPECT_EQ(Linhas().size(), 1u);
  ASSERT_EQ(outro.Desmarca(), 0);
  EXPECT_EQ(Grava(Secao("S2", "Solda")), 2u);
}

TEST_F(ServidorSecao, ADamagedFileIsRefusedByEveryOperationAndLeftAsItIs) {
  Grava(Secao("S1", "Corte"));
  const std::string torto = empresa_.Le(kArquivo) + std::string(10, 'x');
  empresa_.Escreve(kArquivo, torto);
  _REG_PP_SECAOPS lida{};
  uint32_t ponteiro = 1;
  EXPECT_EQ(servidor_.Le(1, &lida), kArquivoDanificado);
  EXPECT_EQ(servidor_.LePonteiros(1, &ponteiro, &lida), kArquivoDanificado);
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  EXPECT_EQ(servidor_.BuscaPonteiros(&lista), kArquivoDanificado);
  EXPECT_EQ(lista.plPonteiro, nullptr);
  EXPECT_EQ(Existe(u"S1", &ponteiro), kArquivoDanificado);
  EXPECT_EQ(servidor_.Grava(0, Secao("S2", "Solda"), &ponteiro), kArquivoDanificado);
  EXPECT_EQ(servidor_.Remove(1), kArquivoDanificado);
  EXPECT_EQ(empresa_.Le(kArquivo), torto);
}

// The class through COM, created by activation from the registered server.
class ClasseSecao : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    RegistraServidor();
  }
};

TEST_F(ClasseSecao, ForwardsEveryMethodAndAnswersExisteAlikeForAnyFlag) {
  MULTI_QI resultado{&IID_IQVPP_Secao, nullptr, E_FAIL};
  ASSERT_EQ(CoCreateInstanceEx(CLSID_QVPP_Secao, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &resultado), S_OK);
  ASSERT_EQ(resultado.hr, S_OK);
  auto* objeto = static_cast<IQVPP_Secao*>(static_cast<void*>(resultado.pItf));
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  EXPECT_EQ(objeto->Inicializa(SessaoTeste(), 63), static_cast<HRESULT>(0x8004068D));
  EXPECT_EQ(objeto->Inicializa(SessaoTeste(), 65), static_cast<HRESULT>(0x8004068D));
  EXPECT_EQ(objeto->BuscaPonteiros(&lista), kNaoInicializado) << "a refused version leaves it uninitialised";
  ASSERT_EQ(objeto->Inicializa(SessaoTeste(), 64), S_OK);

  uint32_t ponteiro = 0;
  ASSERT_EQ(objeto->Grava(0, Secao("S1", "Corte", 4), &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 1u);
  BSTR codigo = SysAllocString(u"S1");
  for (const uint8_t cUtilizaFiltro : {0, 1, 2, 255}) {
    ponteiro = 0;
    EXPECT_EQ(objeto->Existe(codigo, &ponteiro, cUtilizaFiltro), S_OK);
    EXPECT_EQ(ponteiro, 1u) << static_cast<int>(cUtilizaFiltro);
  }
  SysFreeString(codigo);
  ASSERT_EQ(objeto->BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(PonteirosLista(lista), std::vector<uint32_t>{1});
  _REG_PP_SECAOPS lida{};
  ASSERT_EQ(objeto->Le(1, &lida), S_OK);
  EXPECT_EQ(lida.lPonteiroCalendario, 4u);
  ASSERT_EQ(objeto->Remove(1), S_OK);
  EXPECT_EQ(objeto->Le(1, &lida), kRemovido);
  ponteiro = 1;
  ASSERT_EQ(objeto->LePonteiros(1, &ponteiro, &lida), S_OK);
  EXPECT_STREQ(lida.szCodigo, "S1");
  EXPECT_EQ(objeto->Grava(3, Secao("S3", "Solda"), &ponteiro), kArgumentoInvalido);
  _REG_FUNCAO_GENERICA_VARMO* saida = nullptr;
  EXPECT_EQ(objeto->FuncaoGenerica(1, {0, nullptr}, &saida), static_cast<HRESULT>(0x80040001));
  EXPECT_EQ(saida, nullptr);
  EXPECT_EQ(objeto->Finaliza(), S_OK);
  EXPECT_EQ(objeto->Remove(1), kNaoInicializado);
  EXPECT_EQ(objeto->Release(), 0u);
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', Linha("S1", "Corte")}, {'E', Linha("S1", "Corte")}}));
}

}  // namespace

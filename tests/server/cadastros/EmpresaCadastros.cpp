#include "tests/server/cadastros/EmpresaCadastros.h"

#include <cstring>
#include <ostream>

#include "platform/com/apartment.h"
#include "platform/com/taskmem.h"
#include "platform/family/base/UsuarioDF.h"
#include "platform/com/classobject.h"
#include "platform/win32/codepage.h"
#include "platform/win32/msgqueue.h"
#include "server/CPPModulo.h"
#include "server/VarmoPrograma.h"

namespace {

constexpr size_t kTamanhoMestre = 512;

// A settings record of zeros with a month of implantation (01/2020: so that Inicializa leaves it)
// and both price tables at 1.
std::string RegistroMestre() {
  std::string registro(kTamanhoMestre, '\0');
  const uint16_t mes = (2020 - 1848) * 12 + 1;
  registro[22] = static_cast<char>(mes & 0xff);
  registro[23] = static_cast<char>(mes >> 8);
  registro[504] = 1;
  registro[508] = 1;
  return registro;
}

}  // namespace

void PrintTo(const LinhaCadastro& linha, std::ostream* os) {
  *os << linha.operacao << " \"" << Utf8FromAnsi(linha.texto) << "\"";
}

void EmpresaCadastros::SetUp() {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  Instalacao& instalacao = empresa_.GetInstalacao();
  instalacao.dir().Write("empresas/TESTE/CN/.keep", "");
  instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", "CN",
                        instalacao.dir().windows_path() + "empresas\\TESTE\\CN\\");
  ASSERT_EQ(historico_.Register(), S_OK);
  ASSERT_EQ(filiais_.Registra(), S_OK);
  ASSERT_EQ(base_.Registra(), S_OK);
  _REG_CN_PARAMETROSPS parametros{};
  ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
  ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {63000, 63030, {}}), S_OK);
  DefineAcessoTotal(true);
  empresa_.Escreve("PPMESTRE.DAT", RegistroMestre());
  blocos_ = TaskMemoryOutstandingBlocks();
}

void EmpresaCadastros::RegistraServidor() {
  ASSERT_EQ(VarmoExecuta("\\opt\\qv\\Varmo /RegServer"), S_OK);
  ASSERT_TRUE(VinculaServidorVarmo());
  bServidor_ = true;
}

void EmpresaCadastros::TearDown() {
  if (bServidor_) {
    if (const DWORD execucao = LocalServerRunThread(kPPNomeModuloVarmo)) PostThreadMessageA(execucao, WM_QUIT, 0, 0);
    WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE);
    UnlinkLocalServer(kPPNomeModuloVarmo);
  }
  CoUninitialize();
  EXPECT_EQ(historico_.Vivos(), 0);
  EXPECT_EQ(filiais_.Filial.Vivos(), 0);
  EXPECT_EQ(base_.Usuario.Vivos(), 0);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_) << "a task-allocator block was left";
}

void EmpresaCadastros::DefineAcessoTotal(bool bAcessoTotal, std::initializer_list<uint16_t> filiais) const {
  UsuarioDF usuario;
  std::memset(&usuario, 0, sizeof usuario);
  usuario.lChave = kUsuarioTeste;
  usuario.regUsuario.cUsuarioSupervisor = bAcessoTotal ? 1 : 0;  // byte 155: full access
  for (uint16_t filial : filiais) usuario.regPermissoes.cPermissao[filial] = 1;
  ASSERT_EQ(GravaUsuariosDF(Instalacao::kEmpresa, {usuario}), S_OK);
}

std::vector<LinhaCadastro> EmpresaCadastros::Linhas() const {
  std::vector<EntradaHistorico> entradas;
  EXPECT_EQ(LeHistoricoEmpresa(Instalacao::kEmpresa, &entradas), S_OK);
  std::vector<LinhaCadastro> linhas;
  for (const EntradaHistorico& entrada : entradas) {
    if (entrada.tipo != EntradaHistorico::kLinha) continue;
    EXPECT_EQ(entrada.modulo, 19);
    std::string texto = entrada.texto;
    EXPECT_TRUE(!texto.empty() && texto.back() == '\r') << texto;
    if (!texto.empty() && texto.back() == '\r') texto.pop_back();
    linhas.push_back({entrada.operacao, texto});
  }
  return linhas;
}

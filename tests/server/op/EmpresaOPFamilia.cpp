#include "tests/server/op/EmpresaOPFamilia.h"

#include <gtest/gtest.h>

#include "platform/family/base/ProdutoDF.h"

namespace TesteOP {

// An explicit instantiation may name a private member; the friend it defines hands the pointer out.
template <class Marca, typename Marca::Tipo Membro>
struct Acesso {
  friend typename Marca::Tipo Membro_(Marca) { return Membro; }
};
#define QV_PASSO_OP(Marca)                                      \
  template struct Acesso<Marca, &CPPServidorOP::Marca>;       \
  Marca::Tipo Passo(Marca marca) { return Membro_(marca); }
QV_PASSO_OP(GeraOPReprocesso)
QV_PASSO_OP(CreditaApontamentoOrigem)
QV_PASSO_OP(GravaRecursosNaoApontados)
QV_PASSO_OP(GravaApontamentosRecurso)
QV_PASSO_OP(PreparaRemessaApontamento)
#undef QV_PASSO_OP

}  // namespace TesteOP

void EmpresaOPFamilia::SetUp() {
  EmpresaOP::SetUp();
  if (HasFatalFailure()) return;
  DiretorioModulo("ES");
  DiretorioModulo("FT");
  ASSERT_EQ(estoque_.Registra(), S_OK);
  ASSERT_EQ(vendas_.Registra(), S_OK);
  // The cache reads products under the master settings' price table, which must be known.
  ASSERT_EQ(GravaPrecoDF(Instalacao::kEmpresa, 'P', kProdutoInsumo, 1, Quantidade(1)), S_OK);
  RegistraServidor();
  DefineAcessoTotal(true, {1, 2});
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
}

void EmpresaOPFamilia::TearDown() {
  EmpresaOP::TearDown();
  EXPECT_EQ(estoque_.Movimento.Vivos(), 0);
  EXPECT_EQ(vendas_.Pedido.Vivos(), 0);
}

std::string EmpresaOPFamilia::Arquivo(const char* prefixo, uint16_t mes) const {
  const std::string nome = MesOP::Nome(prefixo, mes);
  return empresa_.Existe(nome) ? empresa_.Le(nome) : std::string();
}

std::string EmpresaOPFamilia::Registro(const char* prefixo, uint32_t tamanho, uint32_t n, uint16_t mes) const {
  const std::string arquivo = Arquivo(prefixo, mes);
  return arquivo.size() >= (n + 1) * tamanho ? arquivo.substr(n * tamanho, tamanho) : std::string();
}

uint32_t EmpresaOPFamilia::QuantidadeRegistros(const char* prefixo, uint32_t tamanho, uint16_t mes) const {
  const size_t registros = Arquivo(prefixo, mes).size() / tamanho;
  return registros == 0 ? 0 : static_cast<uint32_t>(registros - 1);
}

void EmpresaOPFamilia::Altera(const char* prefixo, uint32_t tamanho, uint32_t n, size_t deslocamento,
                              const std::string& bytes, uint16_t mes) {
  std::string arquivo = Arquivo(prefixo, mes);
  ASSERT_GE(arquivo.size(), n * tamanho + deslocamento + bytes.size());
  arquivo.replace(n * tamanho + deslocamento, bytes.size(), bytes);
  empresa_.Escreve(MesOP::Nome(prefixo, mes), arquivo);
}

uint32_t EmpresaOPFamilia::Anexa(const char* prefixo, uint32_t tamanho, const std::string& registro, uint16_t mes) {
  std::string arquivo = Arquivo(prefixo, mes);
  if (arquivo.empty()) arquivo.assign(tamanho, '\0');
  arquivo += registro;
  empresa_.Escreve(MesOP::Nome(prefixo, mes), arquivo);
  return static_cast<uint32_t>(arquivo.size() / tamanho) - 1;
}

uint32_t EmpresaOPFamilia::GravaNova(OPTeste& op) {
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaOP(0, op.Registro(), &chave, 1), S_OK);
  return chave;
}

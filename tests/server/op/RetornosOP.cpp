#include "tests/server/op/RetornosOP.h"

#include <gtest/gtest.h>

#include "foundation/QVChave.h"
#include "tests/server/EmpresaAtualizacao.h"

namespace TesteOP {

namespace {
constexpr uint32_t kTamanhoAP = 200;
}  // namespace

uint16_t Maio(int d) { return Dia(d, 5, 2024); }

std::string Bytes(const RetornoTeste& r) {
  std::string b = Q(r.retornada * kUm) + Q(0) + U32(r.entrada) + U32(r.movimentoRefugo) + U32(r.nf) + U32(0) +
                  U32(r.primeiroMovimento) + U32(r.primeiroTI) + U32(r.primeiroUP) + U32(r.primeiraGerada) +
                  U16(r.data) + U16(r.hora) + U16(Maio(10)) + U16(600) + U16(7) + U16(r.movimentos) + U16(r.ti) +
                  U16(r.up) + U16(r.geradas) + U8(r.possuiRefugo) + U8(r.encerramento) + U8(r.transito) +
                  U8(r.automatico) + std::string(6, '\0') + U32(0) + U32(r.primeiraImportada) + U16(r.importadas) +
                  U32(0);
  EXPECT_EQ(b.size(), kTamanhoRI);
  return b;
}

}  // namespace TesteOP

using namespace TesteOP;

std::string EmpresaOPRetornos::Relatorio(uint32_t chave) const {
  return Registro("PPAP", kTamanhoAP, QVGetNumeroDaChave(chave));
}

void EmpresaOPRetornos::AlteraRelatorio(uint32_t chave, size_t deslocamento, const std::string& bytes) {
  Altera("PPAP", kTamanhoAP, QVGetNumeroDaChave(chave), deslocamento, bytes);
}

void EmpresaOPRetornos::DaRetornos(uint32_t chave, const std::vector<RetornoTeste>& retornos) {
  uint32_t primeiro = 0;
  for (const RetornoTeste& retorno : retornos) {
    const uint32_t n = Anexa("PPRI", kTamanhoRI, Bytes(retorno));
    if (!primeiro) primeiro = n;
  }
  AlteraRelatorio(chave, 96, U32(primeiro));
  AlteraRelatorio(chave, 164, U16(static_cast<uint16_t>(retornos.size())));
}

uint32_t EmpresaOPRetornos::NotaPendente(uint32_t chaveApontamento) {
  return Chave(Anexa("PPNF", kTamanhoNF, U32(chaveApontamento) + std::string(10, '\0') + U8(1) + std::string(17, '\0')));
}

uint32_t EmpresaOPRetornos::Chaves(const std::vector<uint32_t>& chaves) {
  uint32_t primeiro = 0;
  for (uint32_t chave : chaves) {
    const uint32_t n = Anexa("PPTA", 4, U32(chave));
    if (!primeiro) primeiro = n;
  }
  return primeiro;
}

_REG_VARMO_OP_APONTAMENTO EmpresaOPRetornos::Relato(uint32_t chaveOP, int32_t processo, int64_t quantidade) const {
  _REG_VARMO_OP_APONTAMENTO reg{};
  reg.lPonteiroOP = chaveOP;
  reg.lPonteiroProcesso = processo;
  reg.lPonteiroOperacaoProducao = operacao_;
  reg.vQuantidadeApontada.int64 = quantidade * kUm;
  reg.cTipoProducao = 1;
  reg.cTipoItem = 1;
  reg.usDataApontamentoInicio = DiaFixado();
  reg.usHoraApontamentoInicio = 8 * 60;
  return reg;
}

uint32_t EmpresaOPRetornos::GravaRelato(const _REG_VARMO_OP_APONTAMENTO& reg) {
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), S_OK);
  return chave;
}

uint32_t EmpresaOPRetornos::Externo(uint32_t chaveOP, int64_t quantidade, int64_t refugo, int processo) {
  _REG_VARMO_OP_APONTAMENTO reg = Relato(chaveOP, processos_[processo], quantidade);
  reg.vQuantidadeRefugo.int64 = refugo * kUm;
  reg.cTipoProducao = 0;
  reg.lPonteiroIndustrializador = 5;
  return GravaRelato(reg);
}

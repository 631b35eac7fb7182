// EmpresaOP with the family's servers that the order handler posts to: the inventory and sales
// stand-ins registered over the company's "ES" and "FT" directories, the order server registered
// (the master cache reads order types through its class), a price for the input product under
// the master settings' table, and user 7 allowed branches 1 and 2. Helpers over the month's files
// and their little-endian fields.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/family/estoque/ServidorEstoque.h"
#include "platform/family/vendas/ServidorVendas.h"
#include "tests/server/op/EmpresaOP.h"

namespace TesteOP {

constexpr uint16_t kMes = 2117;  // 05/2024, the month of the pinned clock and of the open period
constexpr int64_t kUm = 10000;   // one unit as the records hold it (four decimals)

constexpr HRESULT Erro(uint32_t numero) { return static_cast<HRESULT>(0x80040000u | numero); }
constexpr uint32_t Chave(uint32_t registro, uint16_t mes = kMes) { return registro << 12 | mes; }

// Little-endian fields, as the files hold them.
inline std::string U8(uint8_t v) { return std::string(1, static_cast<char>(v)); }
inline std::string U16(uint16_t v) { return {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)}; }
inline std::string U32(uint32_t v) { return U16(static_cast<uint16_t>(v)) + U16(static_cast<uint16_t>(v >> 16)); }
inline std::string Q(int64_t v) {
  return U32(static_cast<uint32_t>(v)) + U32(static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32));
}
template <class T>
T De(const std::string& registro, size_t deslocamento) {
  T valor{};
  if (registro.size() >= deslocamento + sizeof valor) std::memcpy(&valor, registro.data() + deslocamento, sizeof valor);
  return valor;
}
inline uint8_t U8De(const std::string& r, size_t d) { return De<uint8_t>(r, d); }
inline uint16_t U16De(const std::string& r, size_t d) { return De<uint16_t>(r, d); }
inline uint32_t U32De(const std::string& r, size_t d) { return De<uint32_t>(r, d); }
inline int64_t QDe(const std::string& r, size_t d) { return De<int64_t>(r, d); }

// A movement of the product at branch 1, place 1, as reports carry them (quantity in units).
inline _REG_ES_MOVIMENTOPS Movimento(uint8_t cTipoMovimento, uint32_t produto, int64_t quantidade,
                                     uint8_t cTipoEstoque = 0) {
  _REG_ES_MOVIMENTOPS movimento{};
  movimento.regPosicaoProduto.lPonteiroProduto = produto;
  movimento.vQuantidade.int64 = quantidade * kUm;
  movimento.cTipoMovimento = cTipoMovimento;
  movimento.cTipoEstoqueArmazenagem = cTipoEstoque;
  movimento.iPonteiroFilial = 1;
  movimento.iPonteiroLocalArmazenagem = 1;
  return movimento;
}

// The handler keeps the steps of reporting to itself (reporting and its reversal call them). The
// tests reach them through member pointers, one tag a step, taken in EmpresaOPFamilia.cpp where
// access is not checked: (op.*Passo(Tag{}))(...).
#define QV_PASSO_OP(Marca, ...)        \
  struct Marca {                       \
    using Tipo = __VA_ARGS__;          \
    friend Tipo Membro_(Marca);        \
  };                                   \
  Marca::Tipo Passo(Marca)
QV_PASSO_OP(GeraOPReprocesso, HRESULT (CPPServidorOP::*)(uint16_t, uint32_t, PPDiscoApontamento&));
QV_PASSO_OP(CreditaApontamentoOrigem, HRESULT (CPPServidorOP::*)(uint16_t, uint32_t, PPDiscoApontamento&, uint8_t));
QV_PASSO_OP(GravaRecursosNaoApontados,
            HRESULT (CPPServidorOP::*)(uint16_t, const std::vector<uint32_t>&, PPDiscoApontamento&));
QV_PASSO_OP(GravaApontamentosRecurso,
            HRESULT (CPPServidorOP::*)(uint16_t, uint16_t, const _REG_PP_APONTAMENTO_RECURSOPS*, uint32_t*));
QV_PASSO_OP(ProcessaTransitoRetorno, HRESULT (CPPServidorOP::*)(uint16_t, uint32_t));
QV_PASSO_OP(PreparaRemessaApontamento,
            HRESULT (CPPServidorOP::*)(const _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS&, uint16_t, uint16_t,
                                       _REG_PP_REMESSA_INDUSTRIALIZACAOPS*));
#undef QV_PASSO_OP

}  // namespace TesteOP

// A fake production-targets class, registered from construction to destruction ahead of the class
// that the order server's run offers (the first registration serves): a fixture holds it as a
// member, so that it is in place before SetUp starts that run. It records what it received and
// answers as told; at its end no object of it may be left.
class MetasFalsas {
 public:
  MetasFalsas();
  ~MetasFalsas();
  MetasFalsas(const MetasFalsas&) = delete;
  MetasFalsas& operator=(const MetasFalsas&) = delete;

  HRESULT Registro() const { return registro_; }  // for the fixture's SetUp to assert

  std::vector<_REG_PP_META_PRODUCAOPS> apontadas;
  HRESULT falhaApontar = S_OK;     // ApontarMetaProducao answers it and records nothing
  HRESULT falhaInicializa = S_OK;  // so the hub gets no server
  std::atomic<int> vivos{0};

 private:
  DWORD cookie_ = 0;
  HRESULT registro_ = E_FAIL;
};

class EmpresaOPFamilia : public EmpresaOP {
 protected:
  void SetUp() override;
  // Also expects every stand-in object to be gone: the handler lets go of what it created.
  void TearDown() override;

  // A month's whole file ("" when missing); record n of `tamanho` bytes ("" past its end); the
  // number of records after the header.
  std::string Arquivo(const char* prefixo, uint16_t mes = TesteOP::kMes) const;
  std::string Registro(const char* prefixo, uint32_t tamanho, uint32_t n, uint16_t mes = TesteOP::kMes) const;
  uint32_t QuantidadeRegistros(const char* prefixo, uint32_t tamanho, uint16_t mes = TesteOP::kMes) const;
  // Puts bytes into record n of a month's file, as another writer would.
  void Altera(const char* prefixo, uint32_t tamanho, uint32_t n, size_t deslocamento, const std::string& bytes,
              uint16_t mes = TesteOP::kMes);

  // Appends a record to a month's file (its header first when the file is new); its number.
  uint32_t Anexa(const char* prefixo, uint32_t tamanho, const std::string& registro, uint16_t mes = TesteOP::kMes);

  // Saves an order under the lock; its key (0 and a test failure when refused).
  uint32_t GravaNova(OPTeste& op);

  // The input product's opening balance at the branch, place 1, in the inventory stand-in.
  void SaldoInicialInsumo(int64_t unidades);
  // The inventory stand-in, created and initialised as the order handler does, for f.
  void ComEstoque(const std::function<void(IQVES_Movimento*)>& f);
  // What the product holds at the branch in stock type `tipo`.
  int64_t Saldo(uint32_t produto, uint8_t tipo = 0);

  ServidorEstoque estoque_;
  ServidorVendas vendas_;
};

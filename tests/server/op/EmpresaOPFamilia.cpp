#include "tests/server/op/EmpresaOPFamilia.h"

#include <gtest/gtest.h>

#include "platform/com/classobject.h"
#include "platform/com/bstr.h"
#include "platform/com/standin.h"
#include "platform/family/base/ProdutoDF.h"
#include "server/idl/Varmo.h"
#include "tests/support/ObjetoFalso.h"

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
QV_PASSO_OP(ProcessaTransitoRetorno)
#undef QV_PASSO_OP

}  // namespace TesteOP

namespace {

class ClasseMetasFalsa : public ObjetoFalso<ClasseMetasFalsa, IQVPP_MetasProducao, IID_IQVPP_MetasProducao> {
 public:
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return dados_.falhaInicializa; }
  HRESULT Finaliza() override { return S_OK; }
  HRESULT ApontarMetaProducao(_REG_PP_META_PRODUCAOPS meta) override {
    if (FAILED(dados_.falhaApontar)) return dados_.falhaApontar;
    dados_.apontadas.push_back(meta);
    return S_OK;
  }
  HRESULT Grava(uint32_t, _REG_PP_META_PRODUCAOPS, uint32_t*) override { return E_NOTIMPL; }
  HRESULT Remove(uint32_t) override { return E_NOTIMPL; }
  HRESULT LePonteiros(uint32_t, uint32_t*, _REG_PP_META_PRODUCAOPS*, uint16_t) override { return E_NOTIMPL; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS*) override { return E_NOTIMPL; }
  HRESULT BuscaRegistros(_LISTA_REG_PP_META_PRODUCAOPS*, uint16_t) override { return E_NOTIMPL; }
  HRESULT BuscaRegistrosFiltrado(_REG_PP_FILTRO_META_PRODUCAOPS, _LISTA_REG_PP_META_PRODUCAOPS*, uint16_t) override {
    return E_NOTIMPL;
  }
  HRESULT SetFiltro(_REG_PP_FILTRO_META_PRODUCAOPS) override { return E_NOTIMPL; }
  HRESULT LimpaFiltro() override { return E_NOTIMPL; }
  HRESULT CalcularMetasProducao(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS) override { return E_NOTIMPL; }
  HRESULT ReplicarMetasProducao(_REG_PP_REPLICAR_META_PRODUCAOPS) override { return E_NOTIMPL; }
  HRESULT BuscaDadoParaGrafico(_REG_PP_FILTRO_META_PRODUCAOPS, _LISTA_REG_PP_META_PRODUCAOPS*) override {
    return E_NOTIMPL;
  }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO, _REG_FUNCAO_GENERICA_VARMO**) override {
    return E_NOTIMPL;
  }

 private:
  friend ObjetoFalso;
  explicit ClasseMetasFalsa(MetasFalsas& dados) : dados_(dados) { ++dados_.vivos; }
  ~ClasseMetasFalsa() override { --dados_.vivos; }
  MetasFalsas& dados_;
};

}  // namespace

MetasFalsas::MetasFalsas() {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  auto* fabrica = new FunctionClassFactory(
      [this](REFIID riid, void** objeto) { return ClasseMetasFalsa::Cria(riid, objeto, *this); });
  registro_ = CoRegisterClassObject(CLSID_QVPP_MetasProducao, fabrica, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
  fabrica->Release();
}

MetasFalsas::~MetasFalsas() {
  if (SUCCEEDED(registro_)) CoRevokeClassObject(cookie_);
  EXPECT_EQ(vivos, 0);
  CoUninitialize();
}

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

void EmpresaOPFamilia::SaldoInicialInsumo(int64_t unidades) {
  SaldoInicialES saldo{};
  saldo.regChave.regPosicaoProduto.lPonteiroProduto = kProdutoInsumo;
  saldo.regChave.iPonteiroFilial = kFilial;
  saldo.regChave.iPonteiroLocalArmazenagem = 1;
  saldo.vQuantidade.int64 = unidades * TesteOP::kUm;
  ASSERT_EQ(GravaSaldosIniciaisES(Instalacao::kEmpresa, {saldo}), S_OK);
}

void EmpresaOPFamilia::ComEstoque(const std::function<void(IQVES_Movimento*)>& f) {
  IQVES_Movimento* estoque = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_QVES_Movimento, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVES_Movimento,
                             reinterpret_cast<void**>(&estoque)),
            S_OK);
  BSTR empresa = SysAllocString(u"TESTE");
  EXPECT_EQ(estoque->Inicializa(empresa, kUsuarioTeste, 1, kESModuloProducao), S_OK);
  SysFreeString(empresa);
  f(estoque);
  estoque->Release();
}

int64_t EmpresaOPFamilia::Saldo(uint32_t produto, uint8_t tipo) {
  _REG_ES_SALDO_POSICAOPS saldo{};
  ComEstoque([&](IQVES_Movimento* estoque) {
    _REG_ES_CHAVE_SALDOPS chave{};
    chave.regPosicaoProduto.lPonteiroProduto = produto;
    chave.iPonteiroFilial = kFilial;
    EXPECT_EQ(estoque->LeSaldoPosicao(chave, &saldo, 0, 0), S_OK);
  });
  return saldo.vSaldoTipoEstoque[tipo].int64;
}

// The product and grid servers' stand-ins answer from their files: every call with a key it holds
// and one it does not, counts against reads, the bulk reads against the single ones, prices per
// price table with a grid position's item overriding, injected failures, and a change made by
// another process seen by the next call.
#include "platform/family/base/ProdutoDF.h"

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/family/base/ServidorBase.h"
#include "tests/platform/family/FamiliaSemeada.h"

namespace {

constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
constexpr uint16_t kTabela1 = 1;
constexpr uint16_t kTabela2 = 2;
constexpr uint16_t kGradeTamanho = 5;

CY Reais(int64_t centavos) {
  CY valor;
  valor.int64 = centavos * 100;
  return valor;
}

// A BSTR freed at the end of a scope.
struct Bstr {
  explicit Bstr(const char16_t* texto) : bstr(SysAllocString(texto)) {}
  ~Bstr() { SysFreeString(bstr); }
  BSTR bstr;
};

class ProdutoDFTest : public FamiliaSemeada<ServidorBase> {
 protected:
  void SetUp() override {
    FamiliaSemeada<ServidorBase>::SetUp();
    CadastroProdutosDF c;
    // Products 10 (a grid of sizes, unit 1), 20 (inactive, unit 2, a kit of two of 10 in size M)
    // and 30 (type 'T', standing for 10 and 20).
    c.produtos.resize(3);
    std::memset(c.produtos.data(), 0, c.produtos.size() * sizeof(_REG_PRODUTOPS));
    const struct {
      int32_t ponteiro;
      const char* codigo;
      const char* nome;
      uint16_t unidade;
      uint16_t grade;
      uint8_t tipo;
      uint8_t inativo;
    } produtos[] = {{10, "A1", "Camiseta", 1, kGradeTamanho, 'P', 0},
                    {20, "A2", "Kit camisetas", 2, 0, 'P', 1},
                    {30, "GR", "Linha verao", 1, 0, 'T', 0}};
    for (size_t i = 0; i < 3; ++i) {
      _REG_PRODUTOPS& p = c.produtos[i];
      p.lPonteiroProduto = produtos[i].ponteiro;
      Texto(p.szCodigo, produtos[i].codigo);
      Texto(p.szNome, produtos[i].nome);
      p.iPonteiroUnidadeMedidaEstoque = produtos[i].unidade;
      p.iPonteiroGrade1 = produtos[i].grade;
      p.cTipo = produtos[i].tipo;
      p.cInativo = produtos[i].inativo;
      p.vPrecoVendaV8 = Reais(100 * (i + 1));
    }
    c.produtos[1].cKit = 1;
    c.produtos[1].cProdutoDeTerceiros = 1;
    // Services 1 (plain) and 2 (type 'T', standing for 1).
    c.servicos.resize(2);
    std::memset(c.servicos.data(), 0, c.servicos.size() * sizeof(_REG_SERVICOSPS));
    Texto(c.servicos[0].szCodigo, "S1");
    Texto(c.servicos[0].szNome, "Montagem");
    c.servicos[0].iPonteiroUnidadeMedida = 1;
    c.servicos[0].cTipo = 'S';
    Texto(c.servicos[1].szCodigo, "S2");
    c.servicos[1].cTipo = 'T';
    c.unidades.resize(2);
    std::memset(c.unidades.data(), 0, c.unidades.size() * sizeof(_REG_UNIDADES_MEDIDAPS));
    Texto(c.unidades[0].szCodigo, "UN");
    Texto(c.unidades[1].szCodigo, "KG");
    c.unidades[1].cCasasDecimais = 3;
    c.unidadesServico.resize(1);
    std::memset(c.unidadesServico.data(), 0, sizeof(_REG_UNIDADES_MEDIDA_SERVICOSPS));
    Texto(c.unidadesServico[0].szCodigo, "HR");
    c.precos = {{'P', 0, 10, kTabela1, Reais(1250)}, {'P', 0, 10, kTabela2, Reais(1500)},
                {'P', 0, 30, kTabela1, Reais(5000)}, {'S', 0, 1, kTabela1, Reais(4000)}};
    ItemTabelaPrecoDF item{};
    item.regFiltro = {10, kTabela2, 1, 0, 0, 0};
    item.regItem.vPrecoVendaV8 = Reais(1700);
    c.itensTabelaPreco = {item};
    _REG_REFERENCIA_GRADEPS referencia{};
    referencia.regPosicaoProduto = {10, 1, 0, 0};
    Texto(referencia.szCodigoReferenciaGrade, "REF-P");
    c.referenciasGrade = {referencia};
    const char* tamanhos[] = {"P", "M", "G"};
    for (uint16_t i = 0; i < 3; ++i) {
      ItemGradeDF grade{};
      grade.iGrade = kGradeTamanho;
      grade.regItem.iPosicao = static_cast<uint16_t>(i + 1);
      Texto(grade.regItem.szCodigoItemGrade, tamanhos[i]);
      c.itensGrade.push_back(grade);
    }
    DescricaoProdutoDF descricao{};
    descricao.lPonteiroProduto = 10;
    Texto(descricao.szDescricao, "Algod\xE3o");  // Windows-1252
    c.descricoes = {descricao};
    c.agrupamentos = {{'P', 0, 30, 10}, {'P', 0, 30, 20}, {'S', 0, 2, 1}};
    ComposicaoEstoqueDF linha{};
    linha.lPonteiroProduto = 20;
    linha.regLinha.vQuantidade = Reais(200);
    linha.regLinha.regPosicaoProduto = {10, 2, 0, 0};
    c.composicoes = {linha};
    ASSERT_EQ(GravaCadastroProdutosDF("TESTE", c), S_OK);

    produto_.servidor = Cria<IQVDF_Produto>(CLSID_QVDF_Produto, IID_IQVDF_Produto);
    grades_.servidor = Cria<IQVDF_GradesProduto>(CLSID_QVDF_GradesProduto, IID_IQVDF_GradesProduto);
    ASSERT_TRUE(produto_.servidor && grades_.servidor);
    {
      Bstr empresa(u"TESTE");
      ASSERT_EQ(produto_.servidor->Inicializa(empresa.bstr, 7, 1234), S_OK);
      ASSERT_EQ(grades_.servidor->Inicializa(empresa.bstr, 7, 1234), S_OK);
    }
    blocos_ = TaskMemoryOutstandingBlocks();
  }

  IQVDF_Produto* P() { return produto_.servidor; }
  IQVDF_GradesProduto* G() { return grades_.servidor; }

  // One method: a call with keys the server holds (checking what it answers) and one with a key it
  // does not hold; both free what they receive.
  struct Caso {
    const char* metodo;
    std::function<HRESULT()> conhecido;
    std::function<HRESULT()> desconhecido;
  };
  std::vector<Caso> Casos();

  Liberador<IQVDF_Produto> produto_{nullptr};
  Liberador<IQVDF_GradesProduto> grades_{nullptr};
  int32_t blocos_ = 0;
};

std::vector<ProdutoDFTest::Caso> ProdutoDFTest::Casos() {
  return {
      {"QuantidadeProdutos",
       [this] {
         Bstr x(u"X");
         uint32_t n = 0;
         const HRESULT hr = P()->QuantidadeProdutos(x.bstr, 0, &n);
         if (SUCCEEDED(hr)) { EXPECT_EQ(n, 3u); }
         return hr;
       },
       [this] {
         Bstr ag(u"AG");
         uint32_t n = 0;
         return P()->QuantidadeProdutos(ag.bstr, 31, &n);
       }},
      {"PonteirosProdutos",
       [this] {
         uint32_t ponteiros[3] = {};
         const HRESULT hr = P()->PonteirosProdutos(3, ponteiros);
         if (SUCCEEDED(hr)) { EXPECT_EQ(std::vector<uint32_t>(ponteiros, ponteiros + 3), (std::vector<uint32_t>{10, 20, 30})); }
         return hr;
       },
       [this] {
         uint32_t ponteiros[4] = {};
         return P()->PonteirosProdutos(4, ponteiros);  // not the table's count
       }},
      {"PonteirosProdutosAgrupados",
       [this] {
         Bstr ag(u"AG");
         uint32_t ponteiros[2] = {};
         const HRESULT hr = P()->PonteirosProdutosAgrupados(ag.bstr, 30, 2, ponteiros);
         if (SUCCEEDED(hr)) { EXPECT_EQ(std::vector<uint32_t>(ponteiros, ponteiros + 2), (std::vector<uint32_t>{10, 20})); }
         return hr;
       },
       [this] {
         Bstr ag(u"AG");
         uint32_t ponteiros[2] = {};
         return P()->PonteirosProdutosAgrupados(ag.bstr, 10, 0, ponteiros);  // 10 is not type 'T'
       }},
      {"LePonteirosProdutos",
       [this] {
         const uint32_t ponteiros[] = {30, 10};
         _REG_PRODUTOPS registros[2];
         const HRESULT hr = P()->LePonteirosProdutos(2, ponteiros, 1, registros);
         if (SUCCEEDED(hr)) {
           EXPECT_STREQ(registros[0].szCodigo, "GR");
           EXPECT_STREQ(registros[1].szCodigo, "A1");
           EXPECT_EQ(registros[1].vPrecoVendaV8.int64, Reais(100).int64);  // its own price
         }
         return hr;
       },
       [this] {
         const uint32_t ponteiros[] = {10, 11};
         _REG_PRODUTOPS registros[2];
         std::memset(registros, 0xAB, sizeof registros);
         const HRESULT hr = P()->LePonteirosProdutos(2, ponteiros, 1, registros);
         EXPECT_EQ(registros[0].lPonteiroProduto, static_cast<int32_t>(0xABABABAB));  // nothing written
         return hr;
       }},
      {"LeProduto",
       [this] {
         _REG_PRODUTOPS registro{};
         const HRESULT hr = P()->LeProduto(20, kTabela1, &registro);
         if (SUCCEEDED(hr)) {
           EXPECT_STREQ(registro.szNome, "Kit camisetas");
           EXPECT_EQ(registro.iPonteiroUnidadeMedidaEstoque, 2);
           EXPECT_EQ(registro.vPrecoVendaV8.int64, 0);  // the table prices others, not it
         }
         return hr;
       },
       [this] {
         _REG_PRODUTOPS registro{};
         return P()->LeProduto(40, kTabela1, &registro);
       }},
      {"LeProdutoLite",
       [this] {
         _REG_PRODUTOLITEPS leve{};
         HRESULT hr = P()->LeProdutoLite(10, 1, &leve);
         if (SUCCEEDED(hr)) { EXPECT_EQ(leve.iPonteiroGrade1, kGradeTamanho); }
         if (SUCCEEDED(hr)) hr = P()->LeProdutoLite(20, 1, &leve);
         if (SUCCEEDED(hr)) { EXPECT_TRUE(leve.iPonteiroGrade1 == 0 && leve.cKit == 1 && leve.cProdutoDeTerceiros == 1); }
         return hr;
       },
       [this] {
         _REG_PRODUTOLITEPS leve{};
         return P()->LeProdutoLite(0, 1, &leve);
       }},
      {"ExisteProduto",
       [this] {
         Bstr codigo(u"A1");
         int32_t ponteiro = 0;
         _REG_PRODUTOPS registro{};
         const HRESULT hr = P()->ExisteProduto(codigo.bstr, 'X', kTabela2, &ponteiro, &registro);
         if (SUCCEEDED(hr)) {
           EXPECT_EQ(ponteiro, 10);
           EXPECT_EQ(registro.vPrecoVendaV8.int64, Reais(1500).int64);
         }
         return hr;
       },
       [this] {
         Bstr codigo(u"A9");
         int32_t ponteiro = -1;
         _REG_PRODUTOPS registro{};
         const HRESULT hr = P()->ExisteProduto(codigo.bstr, 'X', kTabela1, &ponteiro, &registro);
         EXPECT_EQ(ponteiro, -1);
         return hr;
       }},
      {"LeDescricaoProduto",
       [this] {
         BSTR descricao = nullptr;
         HRESULT hr = P()->LeDescricaoProduto(10, &descricao);
         if (SUCCEEDED(hr)) { EXPECT_EQ(std::u16string(descricao, SysStringLen(descricao)), u"Algodão"); }
         SysFreeString(descricao);
         descricao = nullptr;
         if (SUCCEEDED(hr)) hr = P()->LeDescricaoProduto(20, &descricao);  // held, without a text
         if (SUCCEEDED(hr)) { EXPECT_EQ(SysStringLen(descricao), 0u); }
         SysFreeString(descricao);
         return hr;
       },
       [this] {
         BSTR descricao = nullptr;
         const HRESULT hr = P()->LeDescricaoProduto(11, &descricao);
         EXPECT_EQ(descricao, nullptr);
         return hr;
       }},
      {"BuscaPonteiros",
       [this] {
         Bstr ax(u"AX");
         _REG_FILTRO_PRODUTOPS filtro{};
         filtro.cIncluiAtivos = 1;
         filtro.cIncluiInativos = 1;
         _REG_VARMO_PONTEIROS_ULONGPS lista{};
         HRESULT hr = P()->BuscaPonteiros('P', ax.bstr, 0, filtro, &lista);
         if (SUCCEEDED(hr)) {
           EXPECT_EQ(std::vector<uint32_t>(lista.plPonteiro, lista.plPonteiro + lista.lQtd), (std::vector<uint32_t>{10, 20, 30})); }
         CoTaskMemFree(lista.plPonteiro);
         filtro.cIncluiInativos = 0;
         if (SUCCEEDED(hr)) hr = P()->BuscaPonteiros('P', ax.bstr, 0, filtro, &lista);
         if (SUCCEEDED(hr)) {
           EXPECT_EQ(std::vector<uint32_t>(lista.plPonteiro, lista.plPonteiro + lista.lQtd), (std::vector<uint32_t>{10, 30})); }
         CoTaskMemFree(lista.plPonteiro);
         if (SUCCEEDED(hr)) hr = P()->BuscaPonteiros('S', ax.bstr, 0, filtro, &lista);
         if (SUCCEEDED(hr)) {
           EXPECT_EQ(std::vector<uint32_t>(lista.plPonteiro, lista.plPonteiro + lista.lQtd), (std::vector<uint32_t>{1, 2})); }
         CoTaskMemFree(lista.plPonteiro);
         return hr;
       },
       [this] {
         Bstr ax(u"AX");
         _REG_FILTRO_PRODUTOPS filtro{};
         _REG_VARMO_PONTEIROS_ULONGPS lista{};
         return P()->BuscaPonteiros('Q', ax.bstr, 0, filtro, &lista);
       }},
      {"QuantidadeServicos",
       [this] {
         Bstr x(u"X"), ag(u"AG");
         uint32_t n = 0, agrupados = 0;
         HRESULT hr = P()->QuantidadeServicos(x.bstr, 0, &n);
         if (SUCCEEDED(hr)) hr = P()->QuantidadeServicos(ag.bstr, 2, &agrupados);
         if (SUCCEEDED(hr)) { EXPECT_TRUE(n == 2 && agrupados == 1); }
         return hr;
       },
       [this] {
         Bstr ag(u"AG");
         uint32_t n = 0;
         return P()->QuantidadeServicos(ag.bstr, 3, &n);
       }},
      {"PonteirosServicosAgrupados",
       [this] {
         Bstr ag(u"AG");
         uint32_t ponteiro = 0;
         const HRESULT hr = P()->PonteirosServicosAgrupados(ag.bstr, 2, 1, &ponteiro);
         if (SUCCEEDED(hr)) { EXPECT_EQ(ponteiro, 1u); }
         return hr;
       },
       [this] {
         Bstr ag(u"AG");
         uint32_t ponteiro = 0;
         return P()->PonteirosServicosAgrupados(ag.bstr, 3, 1, &ponteiro);
       }},
      {"LeServico",
       [this] {
         _REG_SERVICOSPS servico{};
         const HRESULT hr = P()->LeServico(1, kTabela1, &servico);
         if (SUCCEEDED(hr)) { EXPECT_TRUE(std::string(servico.szNome) == "Montagem" && servico.vPrecoVendaV8.int64 == Reais(4000).int64); }
         return hr;
       },
       [this] {
         _REG_SERVICOSPS servico{};
         return P()->LeServico(1, 9, &servico);  // a price table that holds no price
       }},
      {"ExisteServico",
       [this] {
         Bstr codigo(u"S2");
         int32_t ponteiro = 0;
         _REG_SERVICOSPS servico{};
         const HRESULT hr = P()->ExisteServico(codigo.bstr, 'X', kTabela1, &ponteiro, &servico);
         if (SUCCEEDED(hr)) { EXPECT_TRUE(ponteiro == 2 && servico.cTipo == 'T'); }
         return hr;
       },
       [this] {
         Bstr codigo(u"");
         int32_t ponteiro = 0;
         _REG_SERVICOSPS servico{};
         return P()->ExisteServico(codigo.bstr, 'X', kTabela1, &ponteiro, &servico);
       }},
      {"QuantidadeUnidadesMedida",
       [this] {
         uint32_t n = 0;
         const HRESULT hr = P()->QuantidadeUnidadesMedida(&n);
         if (SUCCEEDED(hr)) { EXPECT_EQ(n, 2u); }
         return hr;
       },
       [this] { return P()->QuantidadeUnidadesMedida(nullptr); }},
      {"LeUnidadeMedida",
       [this] {
         _REG_UNIDADES_MEDIDAPS unidade{};
         const HRESULT hr = P()->LeUnidadeMedida(2, &unidade);
         if (SUCCEEDED(hr)) { EXPECT_TRUE(std::string(unidade.szCodigo) == "KG" && unidade.cCasasDecimais == 3); }
         return hr;
       },
       [this] {
         _REG_UNIDADES_MEDIDAPS unidade{};
         return P()->LeUnidadeMedida(3, &unidade);
       }},
      {"QuantidadeUnidadesServico",
       [this] {
         uint32_t n = 0;
         const HRESULT hr = P()->QuantidadeUnidadesServico(&n);
         if (SUCCEEDED(hr)) { EXPECT_EQ(n, 1u); }
         return hr;
       },
       [this] { return P()->QuantidadeUnidadesServico(nullptr); }},
      {"LeUnidadeServico",
       [this] {
         _REG_UNIDADES_MEDIDA_SERVICOSPS unidade{};
         const HRESULT hr = P()->LeUnidadeServico(1, &unidade);
         if (SUCCEEDED(hr)) { EXPECT_STREQ(unidade.szCodigo, "HR"); }
         return hr;
       },
       [this] {
         _REG_UNIDADES_MEDIDA_SERVICOSPS unidade{};
         return P()->LeUnidadeServico(0, &unidade);
       }},
      {"LeItemTabelaPreco",
       [this] {
         _REG_LISTA_ITENS_TAB_PRECOSPS lista{};
         const HRESULT hr = P()->LeItemTabelaPreco({10, kTabela2, 1, 0, 0, 0}, &lista);
         if (SUCCEEDED(hr)) { EXPECT_TRUE(lista.ulQtd == 1 && lista.pregItens[0].vPrecoVendaV8.int64 == Reais(1700).int64); }
         CoTaskMemFree(lista.pregItens);
         return hr;
       },
       [this] {
         _REG_LISTA_ITENS_TAB_PRECOSPS lista{};
         const HRESULT hr = P()->LeItemTabelaPreco({10, kTabela1, 1, 0, 0, 0}, &lista);  // no item in table 1
         EXPECT_TRUE(lista.ulQtd == 0 && lista.pregItens == nullptr);
         return hr;
       }},
      {"LeReferenciaGrade",
       [this] {
         _REG_REFERENCIA_GRADEPS filtro{};
         filtro.regPosicaoProduto = {10, 1, 0, 0};
         _REG_LISTA_REFERENCIAS_GRADEPS lista{};
         const HRESULT hr = P()->LeReferenciaGrade(filtro, &lista);
         if (SUCCEEDED(hr)) { EXPECT_TRUE(lista.ulQtd == 1 && std::string(lista.pregReferencias[0].szCodigoReferenciaGrade) == "REF-P"); }
         CoTaskMemFree(lista.pregReferencias);
         return hr;
       },
       [this] {
         _REG_REFERENCIA_GRADEPS filtro{};
         filtro.regPosicaoProduto = {10, 2, 0, 0};
         _REG_LISTA_REFERENCIAS_GRADEPS lista{};
         return P()->LeReferenciaGrade(filtro, &lista);
       }},
      {"LeComposicaoEstoque",
       [this] {
         uint16_t unidade = 0;
         uint32_t n = 0;
         _REG_COMPOSICAO_ITEM_REQUISICAOPS* linhas = nullptr;
         // The kit: its lines for 3 units; a plain product is its own line.
         HRESULT hr = P()->LeComposicaoEstoque({20, 0, 0, 0}, Reais(300), &unidade, &n, &linhas);
         if (SUCCEEDED(hr)) {
           EXPECT_TRUE(unidade == 2 && n == 1);
           EXPECT_EQ(linhas[0].vQuantidade.int64, Reais(600).int64);
           EXPECT_TRUE(linhas[0].regPosicaoProduto.lPonteiroProduto == 10 && linhas[0].regPosicaoProduto.iPonteiroItemGrade1 == 2);
         }
         CoTaskMemFree(linhas);
         linhas = nullptr;
         if (SUCCEEDED(hr)) hr = P()->LeComposicaoEstoque({10, 3, 0, 0}, Reais(150), &unidade, &n, &linhas);
         if (SUCCEEDED(hr)) {
           EXPECT_TRUE(unidade == 1 && n == 1 && linhas[0].vQuantidade.int64 == Reais(150).int64);
           EXPECT_EQ(linhas[0].regPosicaoProduto.iPonteiroItemGrade1, 3);
         }
         CoTaskMemFree(linhas);
         return hr;
       },
       [this] {
         uint16_t unidade = 0;
         uint32_t n = 0;
         _REG_COMPOSICAO_ITEM_REQUISICAOPS* linhas = nullptr;
         const HRESULT hr = P()->LeComposicaoEstoque({21, 0, 0, 0}, Reais(100), &unidade, &n, &linhas);
         EXPECT_EQ(linhas, nullptr);
         return hr;
       }},
      {"ExisteItemGrade",
       [this] {
         Bstr codigo(u"M");
         int32_t ponteiro = 0;
         _REG_ITENS_GRADE_PRODUTOPS item{};
         const HRESULT hr = G()->ExisteItemGrade(kGradeTamanho, codigo.bstr, &ponteiro, &item);
         if (SUCCEEDED(hr)) { EXPECT_TRUE(ponteiro == 2 && item.iPosicao == 2); }
         return hr;
       },
       [this] {
         Bstr codigo(u"M");
         int32_t ponteiro = 0;
         _REG_ITENS_GRADE_PRODUTOPS item{};
         return G()->ExisteItemGrade(kGradeTamanho + 1, codigo.bstr, &ponteiro, &item);
       }},
      {"LeItemGrade",
       [this] {
         _REG_ITENS_GRADE_PRODUTOPS item{};
         const HRESULT hr = G()->LeItemGrade(kGradeTamanho, 3, &item);
         if (SUCCEEDED(hr)) { EXPECT_STREQ(item.szCodigoItemGrade, "G"); }
         return hr;
       },
       [this] {
         _REG_ITENS_GRADE_PRODUTOPS item{};
         return G()->LeItemGrade(kGradeTamanho, 4, &item);
       }},
  };
}

}  // namespace

TEST_F(ProdutoDFTest, EveryCallAnswersFromTheFilesAndFailsForWhatItDoesNotHold) {
  for (const Caso& caso : Casos()) {
    SCOPED_TRACE(caso.metodo);
    EXPECT_EQ(caso.conhecido(), S_OK);
    EXPECT_LT(caso.desconhecido(), 0);
  }
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
}

TEST_F(ProdutoDFTest, AnInjectedFailureFailsTheNextCallOfItsMethodOnly) {
  for (const Caso& caso : Casos()) {
    SCOPED_TRACE(caso.metodo);
    modulo_.Produto.FalhaMetodo(caso.metodo, 1, kNegado);
    modulo_.GradesProduto.FalhaMetodo(caso.metodo, 1, kNegado);
    EXPECT_EQ(caso.conhecido(), kNegado);
    EXPECT_EQ(caso.conhecido(), S_OK);
  }
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
  Liberador<IQVDF_Produto> novo{Cria<IQVDF_Produto>(CLSID_QVDF_Produto, IID_IQVDF_Produto)};
  ASSERT_NE(novo.servidor, nullptr);
  _REG_PRODUTOPS registro{};
  EXPECT_EQ(novo.servidor->LeProduto(10, kTabela1, &registro), kFamiliaNaoInicializado);
}

TEST_F(ProdutoDFTest, CountsAgreeWithReadsAndTheBulkReadWithTheSingleOnes) {
  Bstr x(u"X");
  uint32_t n = 0;
  ASSERT_EQ(P()->QuantidadeProdutos(x.bstr, 0, &n), S_OK);
  std::vector<uint32_t> ponteiros(n);
  ASSERT_EQ(P()->PonteirosProdutos(n, ponteiros.data()), S_OK);
  std::vector<_REG_PRODUTOPS> bulk(n);
  ASSERT_EQ(P()->LePonteirosProdutos(n, ponteiros.data(), 1, bulk.data()), S_OK);
  for (uint32_t i = 0; i < n; ++i) {
    _REG_PRODUTOPS unico{};
    ASSERT_EQ(P()->LeProduto(static_cast<int32_t>(ponteiros[i]), kTabela1, &unico), S_OK);
    unico.vPrecoVendaV8 = bulk[i].vPrecoVendaV8;  // the bulk read gives the record's own price
    EXPECT_EQ(std::memcmp(&unico, &bulk[i], sizeof unico), 0) << ponteiros[i];
  }

  const auto contaELe = [](uint32_t quantidade, const std::function<HRESULT(int32_t)>& le) {
    for (uint32_t p = 1; p <= quantidade; ++p) EXPECT_EQ(le(static_cast<int32_t>(p)), S_OK) << p;
    EXPECT_EQ(le(static_cast<int32_t>(quantidade + 1)), kFamiliaNaoEncontrado);
  };
  ASSERT_EQ(P()->QuantidadeServicos(x.bstr, 0, &n), S_OK);
  contaELe(n, [this](int32_t p) {
    _REG_SERVICOSPS r;
    return P()->LeServico(p, kTabela1, &r);
  });
  ASSERT_EQ(P()->QuantidadeUnidadesMedida(&n), S_OK);
  contaELe(n, [this](int32_t p) {
    _REG_UNIDADES_MEDIDAPS r;
    return P()->LeUnidadeMedida(p, &r);
  });
  ASSERT_EQ(P()->QuantidadeUnidadesServico(&n), S_OK);
  contaELe(n, [this](int32_t p) {
    _REG_UNIDADES_MEDIDA_SERVICOSPS r;
    return P()->LeUnidadeServico(p, &r);
  });

  // The "AG" pair: the count, then exactly that many pointers.
  Bstr ag(u"AG");
  ASSERT_EQ(P()->QuantidadeProdutos(ag.bstr, 30, &n), S_OK);
  EXPECT_EQ(n, 2u);
  uint32_t agrupados[3] = {};
  EXPECT_EQ(P()->PonteirosProdutosAgrupados(ag.bstr, 30, 3, agrupados), E_INVALIDARG);
  EXPECT_EQ(P()->PonteirosProdutosAgrupados(ag.bstr, 30, n, agrupados), S_OK);
}

TEST_F(ProdutoDFTest, PricesFollowThePriceTableAndAGridPositionsItemOverrides) {
  _REG_PRODUTOPS produto{};
  ASSERT_EQ(P()->LeProduto(10, kTabela1, &produto), S_OK);
  EXPECT_EQ(produto.vPrecoVendaV8.int64, Reais(1250).int64);
  ASSERT_EQ(P()->LeProduto(10, kTabela2, &produto), S_OK);
  EXPECT_EQ(produto.vPrecoVendaV8.int64, Reais(1500).int64);
  // Size P under table 2 has an item of its own; size M has none.
  _REG_LISTA_ITENS_TAB_PRECOSPS lista{};
  ASSERT_EQ(P()->LeItemTabelaPreco({10, kTabela2, 1, 0, 0, 0}, &lista), S_OK);
  ASSERT_EQ(lista.ulQtd, 1u);
  EXPECT_EQ(lista.pregItens[0].vPrecoVendaV8.int64, Reais(1700).int64);
  CoTaskMemFree(lista.pregItens);
  EXPECT_EQ(P()->LeItemTabelaPreco({10, kTabela2, 2, 0, 0, 0}, &lista), kFamiliaNaoEncontrado);
  // A table that holds no price is one the server does not know.
  std::memset(&produto, 0xAB, sizeof produto);
  EXPECT_EQ(P()->LeProduto(10, 9, &produto), kFamiliaNaoEncontrado);
  EXPECT_EQ(produto.lPonteiroProduto, static_cast<int32_t>(0xABABABAB));
}

TEST_F(ProdutoDFTest, AnotherProcessesPriceChangeShowsInTheNextCall) {
  _REG_PRODUTOPS produto{};
  ASSERT_EQ(P()->LeProduto(10, kTabela1, &produto), S_OK);
  ASSERT_EQ(produto.vPrecoVendaV8.int64, Reais(1250).int64);
  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) _exit(GravaPrecoDF("TESTE", 'P', 10, kTabela1, Reais(9900)) == S_OK ? 0 : 1);
  int estado = 0;
  waitpid(filho, &estado, 0);
  ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  ASSERT_EQ(P()->LeProduto(10, kTabela1, &produto), S_OK);
  EXPECT_EQ(produto.vPrecoVendaV8.int64, Reais(9900).int64);
  ASSERT_EQ(P()->LeProduto(10, kTabela2, &produto), S_OK);
  EXPECT_EQ(produto.vPrecoVendaV8.int64, Reais(1500).int64);
}

#include "platform/family/base/ProdutoDF.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>

#include "platform/family/comum/TabelaFamilia.h"
#include "platform/win32/codepage.h"

namespace {

const char kProdutos[] = "PRODUTOS.DAT";
const char kServicos[] = "SERVICOS.DAT";
const char kUnidades[] = "UNIDPROD.DAT";
const char kUnidadesServico[] = "UNIDSERV.DAT";
const char kPrecos[] = "PRECOS.DAT";
const char kItensTabela[] = "ITENSTAB.DAT";
const char kReferencias[] = "REFGRADE.DAT";
const char kGrades[] = "GRADES.DAT";
const char kDescricoes[] = "DESCPROD.DAT";
const char kAgrupamentos[] = "AGRUPAM.DAT";
const char kComposicoes[] = "COMPEST.DAT";

constexpr uint8_t kProduto = 'P';
constexpr uint8_t kServico = 'S';
constexpr uint8_t kTipoAgrupador = 'T';
constexpr int32_t kLeituraCompleta = 'X';
constexpr int32_t kLeituraLeve = 1;

template <class Registro>
HRESULT SemeiaTabela(const std::string& empresa, const char* arquivo, const std::vector<Registro>& registros) {
  return SemeiaTabelaFamilia(empresa, "DF", arquivo, sizeof(Registro), RegistrosFamilia(registros));
}

template <class Registro>
HRESULT LePorPosicao(const std::string& diretorio, const char* arquivo, int32_t ponteiro, Registro& registro) {
  return LeRegistroFamilia(TabelaDeFamilia<Registro>(diretorio, arquivo), ponteiro, &registro);
}

template <class Registro>
HRESULT Quantidade(const std::string& diretorio, const char* arquivo, uint32_t* quantidade) {
  if (!quantidade) return E_POINTER;
  return ContaRegistrosFamilia(TabelaDeFamilia<Registro>(diretorio, arquivo), *quantidade);
}

// A code field against a caller's code, exactly; an empty code names nothing.
template <size_t N>
bool MesmoCodigo(const char (&campo)[N], const std::string& codigo) {
  return !codigo.empty() && TextoCampoFamilia(campo, N) == codigo;
}

HRESULT LeProdutos(const std::string& diretorio, std::vector<_REG_PRODUTOPS>& produtos) {
  return LeTabelaFamilia(diretorio, kProdutos, produtos);
}

HRESULT ProdutoPorPonteiro(const std::string& diretorio, int32_t ponteiro, _REG_PRODUTOPS& produto) {
  std::vector<_REG_PRODUTOPS> produtos;
  if (const HRESULT hr = LeProdutos(diretorio, produtos); FAILED(hr)) return hr;
  const auto achado = std::find_if(produtos.begin(), produtos.end(), [ponteiro](const _REG_PRODUTOPS& p) {
    return ponteiro != 0 && p.lPonteiroProduto == ponteiro;
  });
  if (achado == produtos.end()) return kFamiliaNaoEncontrado;
  produto = *achado;
  return S_OK;
}

// The item's price under the table: its own entry, 0 when the table prices only others, and a
// failure when the table holds no price at all (a table this server does not know).
HRESULT PrecoSob(const std::string& diretorio, uint8_t tipo, int32_t ponteiro, uint16_t tabela, CY& preco) {
  std::vector<PrecoProdutoDF> precos;
  if (const HRESULT hr = LeTabelaFamilia(diretorio, kPrecos, precos); FAILED(hr)) return hr;
  bool tabelaConhecida = false;
  for (const PrecoProdutoDF& entrada : precos) {
    if (entrada.iTabelaPreco != tabela) continue;
    tabelaConhecida = true;
    if (entrada.cTipo == tipo && entrada.lPonteiro == static_cast<uint32_t>(ponteiro)) {
      preco = entrada.vPrecoVendaV8;
      return S_OK;
    }
  }
  if (!tabelaConhecida) return kFamiliaNaoEncontrado;
  preco.int64 = 0;
  return S_OK;
}

HRESULT ProdutoComPreco(const std::string& diretorio, int32_t ponteiro, uint16_t tabela, _REG_PRODUTOPS& produto) {
  _REG_PRODUTOPS lido;
  if (const HRESULT hr = ProdutoPorPonteiro(diretorio, ponteiro, lido); FAILED(hr)) return hr;
  if (const HRESULT hr = PrecoSob(diretorio, kProduto, ponteiro, tabela, lido.vPrecoVendaV8); FAILED(hr)) return hr;
  produto = lido;
  return S_OK;
}

HRESULT ServicoComPreco(const std::string& diretorio, int32_t ponteiro, uint16_t tabela, _REG_SERVICOSPS& servico) {
  _REG_SERVICOSPS lido;
  if (const HRESULT hr = LePorPosicao(diretorio, kServicos, ponteiro, lido); FAILED(hr)) return hr;
  if (const HRESULT hr = PrecoSob(diretorio, kServico, ponteiro, tabela, lido.vPrecoVendaV8); FAILED(hr)) return hr;
  servico = lido;
  return S_OK;
}

// The type of the product or service at the pointer ('T' groups others).
HRESULT TipoDe(const std::string& diretorio, uint8_t tipo, int32_t ponteiro, uint8_t& cTipo) {
  if (tipo == kProduto) {
    _REG_PRODUTOPS produto;
    if (const HRESULT hr = ProdutoPorPonteiro(diretorio, ponteiro, produto); FAILED(hr)) return hr;
    cTipo = produto.cTipo;
    return S_OK;
  }
  _REG_SERVICOSPS servico;
  if (const HRESULT hr = LePorPosicao(diretorio, kServicos, ponteiro, servico); FAILED(hr)) return hr;
  cTipo = servico.cTipo;
  return S_OK;
}

// What a type-'T' product or service groups; the search text must be "AG".
HRESULT Agrupados(const std::string& diretorio, uint8_t tipo, BSTR busca, int32_t ponteiro,
                  std::vector<uint32_t>& membros) {
  if (TextoFamilia(busca) != "AG") return E_INVALIDARG;
  uint8_t cTipo = 0;
  if (const HRESULT hr = TipoDe(diretorio, tipo, ponteiro, cTipo); FAILED(hr)) return hr;
  if (cTipo != kTipoAgrupador) return E_INVALIDARG;
  std::vector<AgrupamentoDF> agrupamentos;
  if (const HRESULT hr = LeTabelaFamilia(diretorio, kAgrupamentos, agrupamentos); FAILED(hr)) return hr;
  membros.clear();
  for (const AgrupamentoDF& a : agrupamentos) {
    if (a.cTipo == tipo && a.lPonteiroGrupo == static_cast<uint32_t>(ponteiro)) membros.push_back(uint32_t{a.lPonteiroMembro});
  }
  return S_OK;
}

// Copies pointers into the caller's array, whose count must be theirs: a table that changed since
// the count is refused rather than answered in part.
HRESULT CopiaPonteiros(const std::vector<uint32_t>& ponteiros, uint32_t quantidade, uint32_t* destino) {
  if (quantidade != ponteiros.size()) return E_INVALIDARG;
  if (!destino && quantidade != 0) return E_POINTER;
  std::copy(ponteiros.begin(), ponteiros.end(), destino);
  return S_OK;
}

// The "X" count of a whole table, or the "AG" count of a group.
HRESULT QuantidadeOuAgrupados(const std::string& diretorio, uint8_t tipo, BSTR busca, int32_t ponteiro,
                              uint32_t* quantidade) {
  if (!quantidade) return E_POINTER;
  if (TextoFamilia(busca) == "X") {
    if (ponteiro != 0) return E_INVALIDARG;
    return tipo == kProduto ? Quantidade<_REG_PRODUTOPS>(diretorio, kProdutos, quantidade)
                            : Quantidade<_REG_SERVICOSPS>(diretorio, kServicos, quantidade);
  }
  std::vector<uint32_t> membros;
  if (const HRESULT hr = Agrupados(diretorio, tipo, busca, ponteiro, membros); FAILED(hr)) return hr;
  *quantidade = static_cast<uint32_t>(membros.size());
  return S_OK;
}

// A list for the caller: its count and a copy of the records from the task allocator.
template <class Registro>
HRESULT AlocaLista(const std::vector<Registro>& registros, uint32_t& quantidade, Registro*& array) {
  Registro* copia = nullptr;
  if (!CopiaParaTarefaFamilia(registros, &copia)) return E_OUTOFMEMORY;
  quantidade = static_cast<uint32_t>(registros.size());
  array = copia;
  return S_OK;
}

}  // namespace

HRESULT GravaCadastroProdutosDF(const std::string& empresa, const CadastroProdutosDF& c) {
  for (const auto& semeia : std::initializer_list<std::function<HRESULT()>>{
           [&] { return SemeiaTabela(empresa, kProdutos, c.produtos); },
           [&] { return SemeiaTabela(empresa, kServicos, c.servicos); },
           [&] { return SemeiaTabela(empresa, kUnidades, c.unidades); },
           [&] { return SemeiaTabela(empresa, kUnidadesServico, c.unidadesServico); },
           [&] { return SemeiaTabela(empresa, kPrecos, c.precos); },
           [&] { return SemeiaTabela(empresa, kItensTabela, c.itensTabelaPreco); },
           [&] { return SemeiaTabela(empresa, kReferencias, c.referenciasGrade); },
           [&] { return SemeiaTabela(empresa, kGrades, c.itensGrade); },
           [&] { return SemeiaTabela(empresa, kDescricoes, c.descricoes); },
           [&] { return SemeiaTabela(empresa, kAgrupamentos, c.agrupamentos); },
           [&] { return SemeiaTabela(empresa, kComposicoes, c.composicoes); }}) {
    if (const HRESULT hr = semeia(); FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT GravaPrecoDF(const std::string& empresa, uint8_t cTipo, uint32_t lPonteiro, uint16_t iTabelaPreco,
                     CY vPrecoVendaV8) {
  const std::string diretorio = DiretorioModuloEmpresa(empresa, "DF");
  if (diretorio.empty()) return kFamiliaSemDiretorio;
  return TabelaDeFamilia<PrecoProdutoDF>(diretorio, kPrecos).Altera([&](TabelaFamilia::Registros& registros) {
    for (TabelaFamilia::Registro& registro : registros) {
      PrecoProdutoDF preco;
      std::memcpy(&preco, registro.data(), sizeof preco);
      if (preco.cTipo == cTipo && preco.lPonteiro == lPonteiro && preco.iTabelaPreco == iTabelaPreco) {
        preco.vPrecoVendaV8 = vPrecoVendaV8;
        std::memcpy(registro.data(), &preco, sizeof preco);
        return S_OK;
      }
    }
    PrecoProdutoDF novo{};
    novo.cTipo = cTipo;
    novo.lPonteiro = lPonteiro;
    novo.iTabelaPreco = iTabelaPreco;
    novo.vPrecoVendaV8 = vPrecoVendaV8;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&novo);
    registros.emplace_back(bytes, bytes + sizeof novo);
    return S_OK;
  });
}

HRESULT QVDF_Produto::QuantidadeProdutos(BSTR bsBusca, int32_t lPonteiro, uint32_t* pulQtd) {
  if (const HRESULT hr = Entrada("QuantidadeProdutos"); FAILED(hr)) return hr;
  return QuantidadeOuAgrupados(Sessao().diretorio, kProduto, bsBusca, lPonteiro, pulQtd);
}

HRESULT QVDF_Produto::PonteirosProdutos(uint32_t ulQtd, uint32_t* pulPonteiros) {
  if (const HRESULT hr = Entrada("PonteirosProdutos"); FAILED(hr)) return hr;
  std::vector<_REG_PRODUTOPS> produtos;
  if (const HRESULT hr = LeProdutos(Sessao().diretorio, produtos); FAILED(hr)) return hr;
  std::vector<uint32_t> ponteiros;
  for (const _REG_PRODUTOPS& p : produtos) ponteiros.push_back(static_cast<uint32_t>(p.lPonteiroProduto));
  return CopiaPonteiros(ponteiros, ulQtd, pulPonteiros);
}

HRESULT QVDF_Produto::PonteirosProdutosAgrupados(BSTR bsBusca, int32_t lPonteiro, uint32_t ulQtd,
                                                 uint32_t* pulPonteiros) {
  if (const HRESULT hr = Entrada("PonteirosProdutosAgrupados"); FAILED(hr)) return hr;
  std::vector<uint32_t> membros;
  if (const HRESULT hr = Agrupados(Sessao().diretorio, kProduto, bsBusca, lPonteiro, membros); FAILED(hr)) return hr;
  return CopiaPonteiros(membros, ulQtd, pulPonteiros);
}

HRESULT QVDF_Produto::LePonteirosProdutos(uint32_t ulQtd, const uint32_t* pulPonteiros, int32_t lTipoLeitura,
                                          _REG_PRODUTOPS* pregProdutos) {
  if (const HRESULT hr = Entrada("LePonteirosProdutos"); FAILED(hr)) return hr;
  if (lTipoLeitura != kLeituraLeve) return E_INVALIDARG;
  if (ulQtd != 0 && (!pulPonteiros || !pregProdutos)) return E_POINTER;
  std::vector<_REG_PRODUTOPS> produtos;
  if (const HRESULT hr = LeProdutos(Sessao().diretorio, produtos); FAILED(hr)) return hr;
  // Every pointer is found before any record is written: a failure leaves the caller's array alone.
  std::vector<const _REG_PRODUTOPS*> achados;
  for (uint32_t i = 0; i < ulQtd; ++i) {
    const auto achado = std::find_if(produtos.begin(), produtos.end(), [&](const _REG_PRODUTOPS& p) {
      return pulPonteiros[i] != 0 && static_cast<uint32_t>(p.lPonteiroProduto) == pulPonteiros[i];
    });
    if (achado == produtos.end()) return kFamiliaNaoEncontrado;
    achados.push_back(&*achado);
  }
  for (uint32_t i = 0; i < ulQtd; ++i) pregProdutos[i] = *achados[i];
  return S_OK;
}

HRESULT QVDF_Produto::LeProduto(int32_t lPonteiro, uint16_t usTabelaPreco, _REG_PRODUTOPS* pregProduto) {
  if (const HRESULT hr = Entrada("LeProduto"); FAILED(hr)) return hr;
  if (!pregProduto) return E_POINTER;
  return ProdutoComPreco(Sessao().diretorio, lPonteiro, usTabelaPreco, *pregProduto);
}

HRESULT QVDF_Produto::LeProdutoLite(int32_t lPonteiro, int32_t lTipoLeitura, _REG_PRODUTOLITEPS* pregProduto) {
  if (const HRESULT hr = Entrada("LeProdutoLite"); FAILED(hr)) return hr;
  if (lTipoLeitura != kLeituraLeve) return E_INVALIDARG;
  if (!pregProduto) return E_POINTER;
  _REG_PRODUTOPS produto;
  if (const HRESULT hr = ProdutoPorPonteiro(Sessao().diretorio, lPonteiro, produto); FAILED(hr)) return hr;
  _REG_PRODUTOLITEPS leve{};
  leve.iPonteiroGrade1 = produto.iPonteiroGrade1;
  leve.iPonteiroGrade2 = produto.iPonteiroGrade2;
  leve.iPonteiroGrade3 = produto.iPonteiroGrade3;
  leve.cProdutoDeTerceiros = produto.cProdutoDeTerceiros;
  leve.cKit = produto.cKit;
  *pregProduto = leve;
  return S_OK;
}

HRESULT QVDF_Produto::ExisteProduto(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usTabelaPreco, int32_t* plPonteiro,
                                    _REG_PRODUTOPS* pregProduto) {
  if (const HRESULT hr = Entrada("ExisteProduto"); FAILED(hr)) return hr;
  if (lTipoLeitura != kLeituraCompleta) return E_INVALIDARG;
  if (!plPonteiro || !pregProduto) return E_POINTER;
  std::vector<_REG_PRODUTOPS> produtos;
  if (const HRESULT hr = LeProdutos(Sessao().diretorio, produtos); FAILED(hr)) return hr;
  const std::string codigo = TextoFamilia(bsCodigo);
  const auto achado = std::find_if(produtos.begin(), produtos.end(),
                                   [&](const _REG_PRODUTOPS& p) { return MesmoCodigo(p.szCodigo, codigo); });
  if (achado == produtos.end()) return kFamiliaNaoEncontrado;
  _REG_PRODUTOPS produto;
  if (const HRESULT hr = ProdutoComPreco(Sessao().diretorio, achado->lPonteiroProduto, usTabelaPreco, produto);
      FAILED(hr)) {
    return hr;
  }
  *plPonteiro = produto.lPonteiroProduto;
  *pregProduto = produto;
  return S_OK;
}

HRESULT QVDF_Produto::LeDescricaoProduto(int32_t lPonteiro, BSTR* pbsDescricao) {
  if (const HRESULT hr = Entrada("LeDescricaoProduto"); FAILED(hr)) return hr;
  if (!pbsDescricao) return E_POINTER;
  _REG_PRODUTOPS produto;
  if (const HRESULT hr = ProdutoPorPonteiro(Sessao().diretorio, lPonteiro, produto); FAILED(hr)) return hr;
  std::vector<DescricaoProdutoDF> descricoes;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kDescricoes, descricoes); FAILED(hr)) return hr;
  std::string texto;
  for (const DescricaoProdutoDF& d : descricoes) {
    if (d.lPonteiroProduto == static_cast<uint32_t>(lPonteiro)) {
      texto.assign(d.szDescricao, strnlen(d.szDescricao, sizeof d.szDescricao));
    }
  }
  std::u16string largo(texto.size(), u'\0');
  if (!texto.empty()) {
    MultiByteToWideChar(CP_WINDOWS_1252, 0, texto.data(), static_cast<int>(texto.size()),
                        reinterpret_cast<LPWSTR>(largo.data()), static_cast<int>(largo.size()));
  }
  BSTR descricao = SysAllocStringLen(largo.data(), static_cast<UINT>(largo.size()));
  if (!descricao) return E_OUTOFMEMORY;
  *pbsDescricao = descricao;
  return S_OK;
}

HRESULT QVDF_Produto::BuscaPonteiros(uint8_t cTipo, BSTR bsBusca, int32_t lParametro,
                                     _REG_FILTRO_PRODUTOPS regFiltro, _REG_VARMO_PONTEIROS_ULONGPS* pregPonteiros) {
  if (const HRESULT hr = Entrada("BuscaPonteiros"); FAILED(hr)) return hr;
  if (!pregPonteiros) return E_POINTER;
  *pregPonteiros = {0, nullptr};
  if ((cTipo != kProduto && cTipo != kServico) || TextoFamilia(bsBusca) != "AX" || lParametro != 0) {
    return E_INVALIDARG;
  }
  const auto tomado = [&regFiltro](uint8_t inativo) {
    return (inativo ? regFiltro.cIncluiInativos : regFiltro.cIncluiAtivos) != 0;
  };
  std::vector<uint32_t> ponteiros;
  if (cTipo == kProduto) {
    std::vector<_REG_PRODUTOPS> produtos;
    if (const HRESULT hr = LeProdutos(Sessao().diretorio, produtos); FAILED(hr)) return hr;
    for (const _REG_PRODUTOPS& p : produtos) {
      if (tomado(p.cInativo)) ponteiros.push_back(static_cast<uint32_t>(p.lPonteiroProduto));
    }
  } else {
    std::vector<_REG_SERVICOSPS> servicos;
    if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kServicos, servicos); FAILED(hr)) return hr;
    for (size_t i = 0; i < servicos.size(); ++i) {
      if (tomado(servicos[i].cInativo)) ponteiros.push_back(static_cast<uint32_t>(i + 1));
    }
  }
  return AlocaLista(ponteiros, pregPonteiros->lQtd, pregPonteiros->plPonteiro);
}

HRESULT QVDF_Produto::QuantidadeServicos(BSTR bsBusca, int32_t lPonteiro, uint32_t* pulQtd) {
  if (const HRESULT hr = Entrada("QuantidadeServicos"); FAILED(hr)) return hr;
  return QuantidadeOuAgrupados(Sessao().diretorio, kServico, bsBusca, lPonteiro, pulQtd);
}

HRESULT QVDF_Produto::PonteirosServicosAgrupados(BSTR bsBusca, int32_t lPonteiro, uint32_t ulQtd,
                                                 uint32_t* pulPonteiros) {
  if (const HRESULT hr = Entrada("PonteirosServicosAgrupados"); FAILED(hr)) return hr;
  std::vector<uint32_t> membros;
  if (const HRESULT hr = Agrupados(Sessao().diretorio, kServico, bsBusca, lPonteiro, membros); FAILED(hr)) return hr;
  return CopiaPonteiros(membros, ulQtd, pulPonteiros);
}

HRESULT QVDF_Produto::LeServico(int32_t lPonteiro, uint16_t usTabelaPreco, _REG_SERVICOSPS* pregServico) {
  if (const HRESULT hr = Entrada("LeServico"); FAILED(hr)) return hr;
  if (!pregServico) return E_POINTER;
  return ServicoComPreco(Sessao().diretorio, lPonteiro, usTabelaPreco, *pregServico);
}

HRESULT QVDF_Produto::ExisteServico(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usTabelaPreco, int32_t* plPonteiro,
                                    _REG_SERVICOSPS* pregServico) {
  if (const HRESULT hr = Entrada("ExisteServico"); FAILED(hr)) return hr;
  if (lTipoLeitura != kLeituraCompleta) return E_INVALIDARG;
  if (!plPonteiro || !pregServico) return E_POINTER;
  std::vector<_REG_SERVICOSPS> servicos;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kServicos, servicos); FAILED(hr)) return hr;
  const std::string codigo = TextoFamilia(bsCodigo);
  const auto achado = std::find_if(servicos.begin(), servicos.end(),
                                   [&](const _REG_SERVICOSPS& s) { return MesmoCodigo(s.szCodigo, codigo); });
  if (achado == servicos.end()) return kFamiliaNaoEncontrado;
  const auto ponteiro = static_cast<int32_t>(achado - servicos.begin() + 1);
  _REG_SERVICOSPS servico;
  if (const HRESULT hr = ServicoComPreco(Sessao().diretorio, ponteiro, usTabelaPreco, servico); FAILED(hr)) return hr;
  *plPonteiro = ponteiro;
  *pregServico = servico;
  return S_OK;
}

HRESULT QVDF_Produto::QuantidadeUnidadesMedida(uint32_t* pulQtd) {
  if (const HRESULT hr = Entrada("QuantidadeUnidadesMedida"); FAILED(hr)) return hr;
  return Quantidade<_REG_UNIDADES_MEDIDAPS>(Sessao().diretorio, kUnidades, pulQtd);
}

HRESULT QVDF_Produto::LeUnidadeMedida(int32_t lPonteiro, _REG_UNIDADES_MEDIDAPS* pregUnidade) {
  if (const HRESULT hr = Entrada("LeUnidadeMedida"); FAILED(hr)) return hr;
  if (!pregUnidade) return E_POINTER;
  return LePorPosicao(Sessao().diretorio, kUnidades, lPonteiro, *pregUnidade);
}

HRESULT QVDF_Produto::QuantidadeUnidadesServico(uint32_t* pulQtd) {
  if (const HRESULT hr = Entrada("QuantidadeUnidadesServico"); FAILED(hr)) return hr;
  return Quantidade<_REG_UNIDADES_MEDIDA_SERVICOSPS>(Sessao().diretorio, kUnidadesServico, pulQtd);
}

HRESULT QVDF_Produto::LeUnidadeServico(int32_t lPonteiro, _REG_UNIDADES_MEDIDA_SERVICOSPS* pregUnidade) {
  if (const HRESULT hr = Entrada("LeUnidadeServico"); FAILED(hr)) return hr;
  if (!pregUnidade) return E_POINTER;
  return LePorPosicao(Sessao().diretorio, kUnidadesServico, lPonteiro, *pregUnidade);
}

HRESULT QVDF_Produto::LeItemTabelaPreco(_REG_FILTRO_LEITURA_TAB_PRECOSPS regFiltro,
                                        _REG_LISTA_ITENS_TAB_PRECOSPS* pregLista) {
  if (const HRESULT hr = Entrada("LeItemTabelaPreco"); FAILED(hr)) return hr;
  if (!pregLista) return E_POINTER;
  *pregLista = {0, nullptr};
  std::vector<ItemTabelaPrecoDF> itens;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kItensTabela, itens); FAILED(hr)) return hr;
  std::vector<_REG_ITEM_TAB_PRECOSPS> achados;
  for (const ItemTabelaPrecoDF& item : itens) {
    const _REG_FILTRO_LEITURA_TAB_PRECOSPS& f = item.regFiltro;
    if (f.lPonteiroProduto == regFiltro.lPonteiroProduto && f.iPonteiroTabelaPreco == regFiltro.iPonteiroTabelaPreco &&
        f.iPonteiroItemGrade1 == regFiltro.iPonteiroItemGrade1 &&
        f.iPonteiroItemGrade2 == regFiltro.iPonteiroItemGrade2 &&
        f.iPonteiroItemGrade3 == regFiltro.iPonteiroItemGrade3) {
      achados.push_back(item.regItem);
    }
  }
  if (achados.empty()) return kFamiliaNaoEncontrado;
  return AlocaLista(achados, pregLista->ulQtd, pregLista->pregItens);
}

HRESULT QVDF_Produto::LeReferenciaGrade(_REG_REFERENCIA_GRADEPS regFiltro, _REG_LISTA_REFERENCIAS_GRADEPS* pregLista) {
  if (const HRESULT hr = Entrada("LeReferenciaGrade"); FAILED(hr)) return hr;
  if (!pregLista) return E_POINTER;
  *pregLista = {0, nullptr};
  std::vector<_REG_REFERENCIA_GRADEPS> referencias;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kReferencias, referencias); FAILED(hr)) return hr;
  std::vector<_REG_REFERENCIA_GRADEPS> achadas;
  for (const _REG_REFERENCIA_GRADEPS& r : referencias) {
    if (std::memcmp(&r.regPosicaoProduto, &regFiltro.regPosicaoProduto, sizeof r.regPosicaoProduto) == 0) {
      achadas.push_back(r);
    }
  }
  if (achadas.empty()) return kFamiliaNaoEncontrado;
  return AlocaLista(achadas, pregLista->ulQtd, pregLista->pregReferencias);
}

HRESULT QVDF_Produto::LeComposicaoEstoque(_REG_POSICAO_PRODUTOPS regPosicao, CY vQuantidade,
                                          uint16_t* piUnidadeEstoque, uint32_t* pulQtd,
                                          _REG_COMPOSICAO_ITEM_REQUISICAOPS** ppregComposicao) {
  if (const HRESULT hr = Entrada("LeComposicaoEstoque"); FAILED(hr)) return hr;
  if (!piUnidadeEstoque || !pulQtd || !ppregComposicao) return E_POINTER;
  _REG_PRODUTOPS produto;
  const auto ponteiro = static_cast<int32_t>(regPosicao.lPonteiroProduto);
  if (const HRESULT hr = ProdutoPorPonteiro(Sessao().diretorio, ponteiro, produto); FAILED(hr)) return hr;
  std::vector<ComposicaoEstoqueDF> composicoes;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kComposicoes, composicoes); FAILED(hr)) return hr;
  std::vector<_REG_COMPOSICAO_ITEM_REQUISICAOPS> linhas;
  for (const ComposicaoEstoqueDF& c : composicoes) {
    if (c.lPonteiroProduto != regPosicao.lPonteiroProduto) continue;
    _REG_COMPOSICAO_ITEM_REQUISICAOPS linha = c.regLinha;
    if (const HRESULT hr = VarCyMul(c.regLinha.vQuantidade, vQuantidade, &linha.vQuantidade); FAILED(hr)) return hr;
    linhas.push_back(linha);
  }
  if (linhas.empty()) {
    _REG_COMPOSICAO_ITEM_REQUISICAOPS propria{};
    propria.vQuantidade = vQuantidade;
    propria.regPosicaoProduto = regPosicao;
    linhas.push_back(propria);
  }
  uint32_t quantidade = 0;
  _REG_COMPOSICAO_ITEM_REQUISICAOPS* array = nullptr;
  if (const HRESULT hr = AlocaLista(linhas, quantidade, array); FAILED(hr)) return hr;
  *piUnidadeEstoque = produto.iPonteiroUnidadeMedidaEstoque;
  *pulQtd = quantidade;
  *ppregComposicao = array;
  return S_OK;
}

HRESULT QVDF_GradesProduto::ExisteItemGrade(uint16_t usGrade, BSTR bsCodigo, int32_t* plPonteiro,
                                            _REG_ITENS_GRADE_PRODUTOPS* pregItem) {
  if (const HRESULT hr = Entrada("ExisteItemGrade"); FAILED(hr)) return hr;
  if (!plPonteiro || !pregItem) return E_POINTER;
  std::vector<ItemGradeDF> itens;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kGrades, itens); FAILED(hr)) return hr;
  const std::string codigo = TextoFamilia(bsCodigo);
  for (const ItemGradeDF& item : itens) {
    if (usGrade != 0 && item.iGrade == usGrade && MesmoCodigo(item.regItem.szCodigoItemGrade, codigo)) {
      *plPonteiro = item.regItem.iPosicao;
      *pregItem = item.regItem;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}

HRESULT QVDF_GradesProduto::LeItemGrade(uint16_t usGrade, uint16_t usItem, _REG_ITENS_GRADE_PRODUTOPS* pregItem) {
  if (const HRESULT hr = Entrada("LeItemGrade"); FAILED(hr)) return hr;
  if (!pregItem) return E_POINTER;
  std::vector<ItemGradeDF> itens;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kGrades, itens); FAILED(hr)) return hr;
  for (const ItemGradeDF& item : itens) {
    if (usGrade != 0 && usItem != 0 && item.iGrade == usGrade && item.regItem.iPosicao == usItem) {
      *pregItem = item.regItem;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}

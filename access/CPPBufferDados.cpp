#include "access/CPPBufferDados.h"

#include "foundation/QVRelogio.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"

CPPBufferDados::CPPBufferDados() { CPPBufferDados::Finaliza(); }

int32_t CPPBufferDados::Finaliza() {
  LimparBuffer(false);
  return CPPServidores::Finaliza();
}

void CPPBufferDados::LimparBuffer(bool mantemSaldos) {
#define PP_ESVAZIA_CACHE(Nome, K, V) \
  buffer##Nome##_.mapa.RemoveAll();  \
  buffer##Nome##_.carregado = false;
  PP_CACHES_BUFFER(PP_ESVAZIA_CACHE)
#undef PP_ESVAZIA_CACHE
  mestre_.Limpar();
  mestreCarregado_ = false;
  if (!mantemSaldos) {
    bufferSaldosProdutosES_.mapa.RemoveAll();
    bufferSaldosProdutosES_.carregado = false;
  }
}

// ---------------------------------------------------------------------------------------------
// Loads.

int32_t CPPBufferDados::InicializaBufferFilial() {
  return InicializaContado(bufferFilial_, GetIFilial(), [](IQVCN_Filial* servidor, uint32_t& quantidade) {
    uint16_t filiais = 0;
    const HRESULT hr = servidor->BuscaQuantidade(&filiais);
    quantidade = filiais;
    return hr;
  });
}

namespace {
HRESULT ContaPlano(IQVDF_Plano* servidor, uint32_t& quantidade) {
  int32_t contas = 0;
  const HRESULT hr = servidor->BuscaQuantidade(&contas);
  quantidade = contas > 0 ? static_cast<uint32_t>(contas) : 0;
  return hr;
}
}  // namespace

int32_t CPPBufferDados::InicializaBufferContaContabil() {
  return InicializaContado(bufferContaContabil_, GetIPlanoContabil(), ContaPlano);
}

int32_t CPPBufferDados::InicializaBufferContaGerencial() {
  return InicializaContado(bufferContaGerencial_, GetIPlanoGerencial(), ContaPlano);
}

int32_t CPPBufferDados::InicializaBufferMunicipio() {
  return InicializaContado(bufferMunicipio_, GetIMunicipio(), [](IQVDF_Municipio* servidor, uint32_t& quantidade) {
    uint16_t municipios = 0;
    const HRESULT hr = servidor->BuscaQuantidade(&municipios);
    quantidade = municipios;
    return hr;
  });
}

int32_t CPPBufferDados::InicializaBufferUnMedida() {
  return InicializaContado(bufferUnMedida_, GetIProduto(), [](IQVDF_Produto* servidor, uint32_t& quantidade) {
    return servidor->QuantidadeUnidadesMedida(&quantidade);
  });
}

int32_t CPPBufferDados::InicializaBufferUnServico() {
  return InicializaContado(bufferUnServico_, GetIProduto(), [](IQVDF_Produto* servidor, uint32_t& quantidade) {
    return servidor->QuantidadeUnidadesServico(&quantidade);
  });
}

namespace {
// The count calls that take the search text "X" (every record) and 0.
template <class Servidor, class Metodo>
HRESULT ContaTodos(Servidor* servidor, Metodo metodo, uint32_t& quantidade) {
  const BSTR todos = SysAllocString(u"X");
  const HRESULT hr = (servidor->*metodo)(todos, 0, &quantidade);
  SysFreeString(todos);
  return hr;
}
}  // namespace

int32_t CPPBufferDados::InicializaBufferProduto() {
  return InicializaContado(bufferProduto_, GetIProduto(), [](IQVDF_Produto* servidor, uint32_t& quantidade) {
    return ContaTodos(servidor, &IQVDF_Produto::QuantidadeProdutos, quantidade);
  });
}

int32_t CPPBufferDados::InicializaBufferServico() {
  return InicializaContado(bufferServico_, GetIProduto(), [](IQVDF_Produto* servidor, uint32_t& quantidade) {
    return ContaTodos(servidor, &IQVDF_Produto::QuantidadeServicos, quantidade);
  });
}

int32_t CPPBufferDados::InicializaBufferLocalES() {
  return InicializaContado(bufferLocalES_, GetIArmazenagem(), [](IQVES_Armazenagem* servidor, uint32_t& quantidade) {
    return ContaTodos(servidor, &IQVES_Armazenagem::QuantidadeLocais, quantidade);
  });
}

namespace {
// The count of a server of the module: BuscaPonteiros lists the pointers that pass the server's
// filter; only their number sizes the table, and the list goes back at once, also on a failure.
template <class Lista, class Servidor>
HRESULT ContaPonteiros(Servidor* servidor, uint32_t& quantidade) {
  Lista lista{};
  const HRESULT hr = servidor->BuscaPonteiros(&lista);
  CoTaskMemFree(lista.plPonteiro);
  quantidade = SUCCEEDED(hr) && lista.lQtd > 0 ? static_cast<uint32_t>(lista.lQtd) : 0;
  return hr;
}
}  // namespace

int32_t CPPBufferDados::InicializaBufferTipoRecurso() {
  return InicializaContado(bufferTipoRecurso_, GetITipoRecurso(),
                           ContaPonteiros<_REG_VARMO_PONTEIROS_ULONGPS, IQVPP_TipoRecurso>);
}

int32_t CPPBufferDados::InicializaBufferTipoOP() {
  return InicializaContado(bufferTipoOP_, GetITipoOP(), ContaPonteiros<_REG_VARMO_PONTEIROSPS, IQVPP_TipoOP>);
}

int32_t CPPBufferDados::InicializaBufferProcesso() {
  return InicializaContado(bufferProcesso_, GetIProcesso(), ContaPonteiros<_REG_VARMO_PONTEIROSPS, IQVPP_Processo>);
}

int32_t CPPBufferDados::InicializaBufferRecurso() {
  return InicializaContado(bufferRecurso_, GetIRecurso(), ContaPonteiros<_REG_VARMO_PONTEIROSPS, IQVPP_Recursos>);
}

int32_t CPPBufferDados::InicializaBufferOperacao() {
  return InicializaContado(bufferOperacao_, GetIOperacaoProducao(),
                           ContaPonteiros<_REG_VARMO_PONTEIROSPS, IQVPP_OperacaoProducao>);
}

int32_t CPPBufferDados::InicializaBufferGrade() { return InicializaComInterface(bufferGrade_, GetIProduto()); }

int32_t CPPBufferDados::InicializaBufferReferenciaGrade() {
  return InicializaComInterface(bufferReferenciaGrade_, GetIProduto());
}

int32_t CPPBufferDados::InicializaBufferItemTabelaPrecoProduto() {
  // The table before the check: a failed load still leaves it at its fixed size.
  bufferItemTabelaPrecoProduto_.mapa.InitHashTable(kTamanhoTabelaFixa);
  return InicializaComInterface(bufferItemTabelaPrecoProduto_, GetIProduto());
}

int32_t CPPBufferDados::InicializaBufferLoteES() { return InicializaComInterface(bufferLoteES_, GetIMovimento()); }

int32_t CPPBufferDados::InicializaBufferPedidoFT() { return InicializaComInterface(bufferPedidoFT_, GetIPedido()); }

int32_t CPPBufferDados::InicializaBufferUsuario() {
  auto& mapa = bufferUsuario_.mapa;
  mapa.RemoveAll();
  IQVDF_Usuario* servidor = GetIUsuario();
  if (servidor == nullptr) return GetHR();
  _REG_DF_LISTA_USUARIOSPS* lista = nullptr;
  const HRESULT hr = servidor->LeTodos(&lista);
  if (lista != nullptr) {
    int32_t* chaves = lista->plChaves;
    REGUSU_PS* usuarios = lista->pRegUsuarios;
    const uint16_t quantidade = lista->usQuantidade;
    if (SUCCEEDED(hr) && quantidade > 0 && chaves != nullptr && usuarios != nullptr) {
      mapa.InitHashTable(TamanhoTabelaDaContagem(quantidade));
      CPPDadosUsuario usuario;
      for (uint16_t i = 0; i < quantidade; ++i) {
        usuario.CopiarDe(&usuarios[i]);
        mapa.Guarda(chaves[i], usuario);
      }
    }
    CoTaskMemFree(chaves);
    CoTaskMemFree(usuarios);
    CoTaskMemFree(lista);
  }
  if (SUCCEEDED(hr)) bufferUsuario_.carregado = true;
  return hr;
}

int32_t CPPBufferDados::InicializaBufferInfSuplementar() {
  auto& mapa = bufferInfSuplementar_.mapa;
  mapa.RemoveAll();
  IQVDF_CTG* servidor = GetIInformacaoSuplementar();
  if (servidor == nullptr) return GetHR();
  const BSTR codigo = SysAllocString(u"");
  const BSTR descricao = SysAllocString(u"");
  int32_t quantidade = 0;
  int32_t* ponteiros = nullptr;
  HRESULT hr = servidor->BuscaPonteiros(codigo, descricao, 88, &quantidade, &ponteiros);
  SysFreeString(codigo);
  SysFreeString(descricao);
  if (FAILED(hr)) {
    CoTaskMemFree(ponteiros);
    return hr;
  }
  if (quantidade > 0) {
    int32_t quantidadeRegistros = 0;
    _REG_CATEGORIAS_PS* categorias = nullptr;
    hr = servidor->LeRegistros(quantidade, ponteiros, &quantidadeRegistros, &categorias);
    if (FAILED(hr)) {
      CoTaskMemFree(ponteiros);
      CoTaskMemFree(categorias);
      return hr;
    }
    if (quantidadeRegistros > 0 && categorias != nullptr) {
      mapa.InitHashTable(TamanhoTabelaDaContagem(static_cast<uint32_t>(quantidadeRegistros)));
      // The i-th record answers the i-th pointer asked for; a longer answer has no key beyond.
      const int32_t guardados = quantidadeRegistros < quantidade ? quantidadeRegistros : quantidade;
      CPPDadosCategoria categoria;
      for (int32_t i = 0; i < guardados; ++i) {
        categoria.CopiarDe(&categorias[i]);
        mapa.Guarda(ponteiros[i], categoria);
      }
    }
    CoTaskMemFree(categorias);
  }
  CoTaskMemFree(ponteiros);
  bufferInfSuplementar_.carregado = true;
  return hr;
}

int32_t CPPBufferDados::InicializaBufferMestrePP() {
  if (GetIMestrePP() == nullptr) return GetHR();
  const int32_t hr = LeMestre(&mestre_);
  if (hr >= 0) mestreCarregado_ = true;
  return hr;
}

// ---------------------------------------------------------------------------------------------
// Reads.

int32_t CPPBufferDados::LeBufferFilial(int32_t ponteiro, CPPDadosFilial* filial) {
  return LeBufferComum(bufferFilial_, &CPPBufferDados::InicializaBufferFilial, ponteiro, filial,
                       [&] { return LeFilial(ponteiro, filial); });
}

int32_t CPPBufferDados::LeBufferContaContabil(int32_t ponteiro, CPPDadosPlanoDF* conta) {
  return LeBufferComum(bufferContaContabil_, &CPPBufferDados::InicializaBufferContaContabil, ponteiro, conta,
                       [&] { return LeContaContabil(ponteiro, conta); });
}

int32_t CPPBufferDados::LeBufferContaGerencial(int32_t ponteiro, CPPDadosPlanoDF* conta) {
  return LeBufferComum(bufferContaGerencial_, &CPPBufferDados::InicializaBufferContaGerencial, ponteiro, conta,
                       [&] { return LeContaGerencial(ponteiro, conta); });
}

int32_t CPPBufferDados::LeBufferMunicipio(int32_t ponteiro, CPPDadosMunicipio* municipio) {
  return LeBufferComum(bufferMunicipio_, &CPPBufferDados::InicializaBufferMunicipio, ponteiro, municipio,
                       [&] { return LeMunicipio(ponteiro, municipio); });
}

int32_t CPPBufferDados::LeBufferUnMedida(int32_t ponteiro, CPPDadosUnMedida* unidade) {
  return LeBufferComum(bufferUnMedida_, &CPPBufferDados::InicializaBufferUnMedida, ponteiro, unidade,
                       [&] { return LeUnidadeMedida(ponteiro, unidade); });
}

int32_t CPPBufferDados::LeBufferUnServico(int32_t ponteiro, CPPDadosUnServico* unidade) {
  return LeBufferComum(bufferUnServico_, &CPPBufferDados::InicializaBufferUnServico, ponteiro, unidade,
                       [&] { return LeUnidadeServico(ponteiro, unidade); });
}

int32_t CPPBufferDados::ResolveTabelaProduto(uint16_t& usTabelaPreco) {
  if (usTabelaPreco != 0) return 0;
  CPPDadosMestre mestre;
  const int32_t hr = LeBufferMestrePP(&mestre);
  if (hr < 0) return hr;
  usTabelaPreco = static_cast<uint16_t>(mestre.GetPonteiroTabelaPrecoVendaProduto());
  return hr;
}

int32_t CPPBufferDados::ResolveTabelaServico(uint16_t& usTabelaPreco) {
  if (usTabelaPreco != 0) return 0;
  CPPDadosMestre mestre;
  const int32_t hr = LeBufferMestrePP(&mestre);
  if (hr < 0) return hr;
  usTabelaPreco = static_cast<uint16_t>(mestre.GetPonteiroTabelaPrecoVendaServico());
  return hr;
}

int32_t CPPBufferDados::LeBufferProduto(int32_t ponteiro, CPPDadosProduto* produto, uint16_t usTabelaPreco) {
  return LeBufferComum(bufferProduto_, &CPPBufferDados::InicializaBufferProduto, ponteiro, produto, [&] {
    if (const int32_t hr = ResolveTabelaProduto(usTabelaPreco); hr < 0) return hr;
    return LeProduto(ponteiro, produto, usTabelaPreco);
  });
}

int32_t CPPBufferDados::LeBufferServico(int32_t ponteiro, CPPDadosServico* servico, uint16_t usTabelaPreco) {
  return LeBufferComum(bufferServico_, &CPPBufferDados::InicializaBufferServico, ponteiro, servico, [&] {
    if (const int32_t hr = ResolveTabelaServico(usTabelaPreco); hr < 0) return hr;
    return LeServico(ponteiro, servico, usTabelaPreco);
  });
}

int32_t CPPBufferDados::LeBufferGrade(uint16_t grade, uint16_t item, CPPDadosGradeProduto* itemGrade) {
  return LeBufferComum(bufferGrade_, &CPPBufferDados::InicializaBufferGrade, PPChaveGrade{grade, item}, itemGrade,
                       [&] { return LeItemGrade(grade, item, itemGrade); });
}

int32_t CPPBufferDados::LeBufferReferenciaGrade(_REG_POSICAO_PRODUTOPS posicao, CPPDadosReferenciaGrade* referencia) {
  return LeBufferComum(bufferReferenciaGrade_, &CPPBufferDados::InicializaBufferReferenciaGrade, posicao, referencia,
                       [&] { return LeReferenciaGrade(posicao, referencia); });
}

int32_t CPPBufferDados::LeBufferItemTabelaPrecoProduto(_REG_FILTRO_LEITURA_TAB_PRECOSPS filtro,
                                                       CPPDadosItemTabelaPreco* item) {
  return LeBufferComum(bufferItemTabelaPrecoProduto_, &CPPBufferDados::InicializaBufferItemTabelaPrecoProduto, filtro,
                       item, [&] { return LeItemTabelaPreco(filtro, item); });
}

int32_t CPPBufferDados::LeBufferMestrePP(CPPDadosMestre* mestre) {
  Refresh();
  int32_t hr = 0;
  if (!mestreCarregado_) {
    hr = InicializaBufferMestrePP();
    if (hr < 0) return hr;
  }
  *mestre = mestre_;
  return hr;
}

int32_t CPPBufferDados::LeBufferLocalES(int32_t ponteiro, CPPDadosLocalES* local) {
  return LeBufferComum(bufferLocalES_, &CPPBufferDados::InicializaBufferLocalES, ponteiro, local,
                       [&] { return LeLocalES(ponteiro, local); });
}

int32_t CPPBufferDados::LeBufferLoteES(int32_t ponteiro, CPPDadosLoteES* lote) {
  return LeBufferComum(bufferLoteES_, &CPPBufferDados::InicializaBufferLoteES, ponteiro, lote,
                       [&] { return LeLoteES(ponteiro, lote); });
}

int32_t CPPBufferDados::LeBufferPedidoFT(uint32_t chave, CPPDadosPedidoFT* pedido) {
  return LeBufferComum(bufferPedidoFT_, &CPPBufferDados::InicializaBufferPedidoFT, chave, pedido,
                       [&] { return LePedidoFT(chave, pedido); });
}

int32_t CPPBufferDados::LeBufferTipoRecurso(uint32_t ponteiro, CPPDadosTipoRecurso* tipoRecurso,
                                            uint16_t usTipoLeitura) {
  return LeBufferComum(bufferTipoRecurso_, &CPPBufferDados::InicializaBufferTipoRecurso, ponteiro, tipoRecurso,
                       [&] { return LeTipoRecurso(ponteiro, tipoRecurso, usTipoLeitura); });
}

int32_t CPPBufferDados::LeBufferTipoOP(int32_t ponteiro, CPPDadosTipoOP* tipoOP, uint8_t cTipoLeitura) {
  return LeBufferComum(bufferTipoOP_, &CPPBufferDados::InicializaBufferTipoOP, ponteiro, tipoOP,
                       [&] { return LeTipoOP(ponteiro, tipoOP, cTipoLeitura); });
}

int32_t CPPBufferDados::LeBufferRecurso(int32_t ponteiro, CPPDadosRecurso* recurso, uint8_t cTipoLeitura) {
  return LeBufferComum(bufferRecurso_, &CPPBufferDados::InicializaBufferRecurso, ponteiro, recurso,
                       [&] { return LeRecurso(ponteiro, recurso, cTipoLeitura); });
}

int32_t CPPBufferDados::LeBufferOperacao(int32_t ponteiro, CPPDadosOperacaoProducao* operacao) {
  return LeBufferComum(bufferOperacao_, &CPPBufferDados::InicializaBufferOperacao, ponteiro, operacao,
                       [&] { return LeOperacaoProducao(ponteiro, operacao); });
}

int32_t CPPBufferDados::LeBufferProcesso(int32_t ponteiro, CPPDadosProcesso* processo, uint8_t cTipoLeitura) {
  return LeBufferComum(bufferProcesso_, &CPPBufferDados::InicializaBufferProcesso, ponteiro, processo, [&] {
    const int32_t hr = LeProcesso(ponteiro, processo, cTipoLeitura);
    if (hr >= 0 && (cTipoLeitura & kLeituraParadas) != 0) GuardaParadas(*processo);
    return hr;
  });
}

void CPPBufferDados::GuardaParadas(CPPDadosProcesso& processo) {
  const uint16_t hoje = QVGetDataAtual(true);
  for (int r = 0; r < processo.GetQuantidadeRecurso(); ++r) {
    CPPDadosProcessoRecurso& recurso = processo.GetRefRecurso(r);
    for (int p = 0; p < recurso.GetQuantidadeParadas(); ++p) {
      const CPPDadosPlanoManutencaoProgramacao& parada = recurso.GetRefParadas(p);
      const uint16_t data = parada.GetDataManutencao();
      if (data < hoje) continue;
      bufferParadaRecurso_.mapa.Guarda(_REG_PP_KEY_PONTEIRO_DATAPS{recurso.GetPonteiroRecurso(), data}, parada);
    }
  }
}

int32_t CPPBufferDados::LeBufferPaOrvelecurso(_REG_PP_KEY_PONTEIRO_DATAPS chave,
                                              CPPDadosPlanoManutencaoProgramacao* parada) {
  parada->Limpar();
  if (const auto* cacheada = bufferParadaRecurso_.mapa.Procura(chave)) *parada = *cacheada;
  return 0;
}

int32_t CPPBufferDados::LeBufferUsuario(int32_t chave, CPPDadosUsuario* usuario) {
  return LeBufferCarregado(bufferUsuario_, &CPPBufferDados::InicializaBufferUsuario, chave, usuario);
}

int32_t CPPBufferDados::LeBufferInfSuplementar(int32_t ponteiro, CPPDadosCategoria* categoria) {
  return LeBufferCarregado(bufferInfSuplementar_, &CPPBufferDados::InicializaBufferInfSuplementar, ponteiro,
                           categoria);
}

// ---------------------------------------------------------------------------------------------
// Look-ups by code.

int32_t CPPBufferDados::ExisteBufferProduto(const CString& codigo, CPPDadosProduto* produto, uint16_t usTabelaPreco) {
  if (const int32_t hr = CarregaParaProcura(bufferProduto_, &CPPBufferDados::InicializaBufferProduto); hr < 0)
    return hr;
  const auto [chave, achado] = bufferProduto_.mapa.Primeiro(
      [&](int32_t, const CPPDadosProduto& cacheado) { return cacheado.GetCodigo().CompareNoCase(codigo) == 0; });
  int32_t ponteiro = achado != nullptr ? static_cast<int32_t>(achado->GetPonteiroProduto()) : 0;
  if (const int32_t hr = ResolveTabelaProduto(usTabelaPreco); hr < 0) return hr;
  if (achado == nullptr) {
    if (const int32_t hr = ExisteProduto(codigo, ponteiro, usTabelaPreco); hr < 0) return hr;
  }
  return LeBufferProduto(ponteiro, produto, usTabelaPreco);
}

int32_t CPPBufferDados::ExisteBufferGrade(uint16_t grade, const CString& codigo, CPPDadosGradeProduto* itemGrade) {
  if (const int32_t hr = CarregaParaProcura(bufferGrade_, &CPPBufferDados::InicializaBufferGrade); hr < 0) return hr;
  const auto [chave, achado] =
      bufferGrade_.mapa.Primeiro([&](const PPChaveGrade& chaveCacheada, const CPPDadosGradeProduto& cacheado) {
        return chaveCacheada.grade == grade && cacheado.GetCodigoItemGrade().CompareNoCase(codigo) == 0;
      });
  int32_t posicao = chave != nullptr ? chave->item : 0;
  if (achado == nullptr) {
    if (const int32_t hr = ExisteItemGrade(grade, codigo, posicao); hr < 0) return hr;
  }
  return LeBufferGrade(grade, static_cast<uint16_t>(posicao), itemGrade);
}

int32_t CPPBufferDados::ExisteBufferLocalES(const CString& codigo, CPPDadosLocalES* local) {
  int32_t ponteiro = 0;
  const int32_t hr = PonteiroDoCodigo(bufferLocalES_, &CPPBufferDados::InicializaBufferLocalES, codigo, ponteiro,
                                      [this](const CString& c, int32_t& p) { return ExisteLocalES(c, p); });
  if (hr < 0) return hr;
  return LeBufferLocalES(ponteiro, local);
}

int32_t CPPBufferDados::ExisteBufferProcesso(const CString& codigo, CPPDadosProcesso* processo,
                                             uint8_t cTipoLeitura) {
  int32_t ponteiro = 0;
  const int32_t hr = PonteiroDoCodigo(bufferProcesso_, &CPPBufferDados::InicializaBufferProcesso, codigo, ponteiro,
                                      [this](const CString& c, int32_t& p) { return ExisteProcesso(c, p); });
  if (hr < 0) return hr;
  return LeBufferProcesso(ponteiro, processo, cTipoLeitura);
}

int32_t CPPBufferDados::ExisteBufferRecurso(const CString& codigo, CPPDadosRecurso* recurso, uint8_t cTipoLeitura) {
  int32_t ponteiro = 0;
  const int32_t hr = PonteiroDoCodigo(bufferRecurso_, &CPPBufferDados::InicializaBufferRecurso, codigo, ponteiro,
                                      [this](const CString& c, int32_t& p) { return ExisteRecurso(c, p); });
  if (hr < 0) return hr;
  return LeBufferRecurso(ponteiro, recurso, cTipoLeitura);
}

int32_t CPPBufferDados::ExisteBufferOperacao(const CString& codigo, CPPDadosOperacaoProducao* operacao) {
  int32_t ponteiro = 0;
  const int32_t hr = PonteiroDoCodigo(bufferOperacao_, &CPPBufferDados::InicializaBufferOperacao, codigo, ponteiro,
                                      [this](const CString& c, int32_t& p) { return ExisteOperacaoProducao(c, p); });
  if (hr < 0) return hr;
  return LeBufferOperacao(ponteiro, operacao);
}

int32_t CPPBufferDados::ExisteBufferInfSuplementar(const CString& codigo, CPPDadosCategoria* categoria) {
  const int32_t hr = CarregaParaProcura(bufferInfSuplementar_, &CPPBufferDados::InicializaBufferInfSuplementar);
  if (hr < 0) return hr;
  categoria->Limpar();
  const auto [chave, achado] = bufferInfSuplementar_.mapa.Primeiro(
      [&](int32_t, const CPPDadosCategoria& cacheado) { return cacheado.GetCodigo().CompareNoCase(codigo) == 0; });
  if (achado != nullptr) *categoria = *achado;
  return hr;
}

// ---------------------------------------------------------------------------------------------
// Stock balances.

int32_t CPPBufferDados::InicializaBufferSaldosProdutosES(CPPDadosFiltroSaldoProdutoES filtro) {
  auto& mapa = bufferSaldosProdutosES_.mapa;
  mapa.RemoveAll();
  bufferSaldosProdutosES_.carregado = false;
  CPPDadosListaSaldosProdutosES saldos;
  const int32_t hr = LeSaldosProdutosES(filtro, &saldos);
  if (hr < 0) return hr;
  const int quantidade = saldos.GetQuantidadeSaldosProdutos();
  if (quantidade > 0) {
    mapa.InitHashTable(TamanhoTabelaDaContagem(static_cast<uint32_t>(quantidade)));
    for (int i = 0; i < quantidade; ++i) {
      const CPPDadosSaldoProdutoES& saldo = saldos.GetRefSaldosProdutos(i);
      const _REG_ES_SALDOS_PRODUTOSPS registro = saldo.GetSaldoProduto();
      _REG_ES_KEY_SALDOS_PRODUTOSPS chave;
      std::memcpy(&chave, &registro, sizeof chave);
      mapa.Guarda(chave, saldo);
    }
  }
  bufferSaldosProdutosES_.carregado = true;
  return hr;
}

int32_t CPPBufferDados::LeBufferSaldosProdutosES(_REG_ES_KEY_SALDOS_PRODUTOSPS chave, CPPDadosSaldoProdutoES* saldo) {
  saldo->Limpar();
  if (!bufferSaldosProdutosES_.carregado) return 0;
  if (const auto* cacheado = bufferSaldosProdutosES_.mapa.Procura(chave)) *saldo = *cacheado;
  return 0;
}

int32_t CPPBufferDados::AtualizaBufferSaldosProdutosES(_REG_ES_KEY_SALDOS_PRODUTOSPS chave,
                                                       CPPDadosSaldoProdutoES& saldo) {
  bufferSaldosProdutosES_.mapa.Guarda(chave, saldo);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Product or service information.

int32_t CPPBufferDados::LeBufferProdutoServico(_REG_POSICAO_PRODUTOPS posicao, CPPDadosInfoProdServ* info, char tipo,
                                               uint16_t usTabelaPreco) {
  Refresh();
  const int32_t ponteiro = static_cast<int32_t>(posicao.lPonteiroProduto);
  int32_t hr = 0;
  if (tipo == 'P') {
    if (hr = ResolveTabelaProduto(usTabelaPreco); hr < 0) return hr;
    CPPDadosProduto produto;
    if (hr = LeBufferProduto(ponteiro, &produto, usTabelaPreco); hr < 0) return hr;
    CPPDadosUnMedida unidade;
    if (hr = LeBufferUnMedida(produto.GetPonteiroUnidadeMedidaEstoque(), &unidade); hr < 0) return hr;
    CPPDadosGradeProduto item1, item2, item3;
    const uint16_t grade1 = produto.GetPonteiroGrade1();
    if (grade1 != 0 && posicao.iPonteiroItemGrade1 != 0) {
      if (hr = LeBufferGrade(grade1, posicao.iPonteiroItemGrade1, &item1); hr < 0) return hr;
      _REG_FILTRO_LEITURA_TAB_PRECOSPS filtro{};
      filtro.lPonteiroProduto = posicao.lPonteiroProduto;
      filtro.iPonteiroTabelaPreco = usTabelaPreco;
      filtro.iPonteiroItemGrade1 = posicao.iPonteiroItemGrade1;
      filtro.iPonteiroItemGrade2 = posicao.iPonteiroItemGrade2;
      filtro.iPonteiroItemGrade3 = posicao.iPonteiroItemGrade3;
      CPPDadosItemTabelaPreco precoItem;
      if (hr = LeBufferItemTabelaPrecoProduto(filtro, &precoItem); hr < 0) return hr;
      produto.SetPrecoVendaV8(precoItem.GetPrecoVendaV8());
    }
    const uint16_t grade2 = produto.GetPonteiroGrade2();
    if (grade2 != 0 && posicao.iPonteiroItemGrade2 != 0) {
      if (hr = LeBufferGrade(grade2, posicao.iPonteiroItemGrade2, &item2); hr < 0) return hr;
    }
    const uint16_t grade3 = produto.GetPonteiroGrade3();
    if (grade3 != 0 && posicao.iPonteiroItemGrade3 != 0) {
      if (hr = LeBufferGrade(grade3, posicao.iPonteiroItemGrade3, &item3); hr < 0) return hr;
    }
    PreencheInfoProduto(info, posicao, produto, unidade, item1, item2, item3);
    return hr;
  }
  CPPDadosServico servico;
  if (hr = LeBufferServico(ponteiro, &servico, usTabelaPreco); hr < 0) return hr;
  CPPDadosUnServico unidade;
  if (hr = LeBufferUnServico(servico.GetPonteiroUnidadeMedida(), &unidade); hr < 0) return hr;
  PreencheInfoServico(info, posicao, servico, unidade);
  return hr;
}

#include "platform/family/base/CadastrosDF.h"

#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/win32/registry.h"

namespace {

const char kArquivoRequerentes[] = "REQUER.DAT";
const char kArquivoRequerentesUsuarios[] = "REQUSU.DAT";
const char kArquivoMunicipios[] = "MUNICIP.DAT";
const char kArquivoCategorias[] = "CATEGOR.DAT";
const char kArquivoMensagens[] = "MENSAG.DAT";
const char kArquivoTabelasFeriados[] = "FERTAB.DAT";
const char kArquivoFeriados[] = "FERIADOS.DAT";
const char kArquivoNotas[] = "NOTASFIS.DAT";
const char kArquivoEstruturasCodigoBarras[] = "ESTRCODB.DAT";

// The installation's registers directory (backslashes, a trailing one), or empty without it.
std::string DiretorioCadastros() {
  HKEY chave = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QV Rivovoda", 0, KEY_READ, &chave) != ERROR_SUCCESS) return {};
  DWORD tipo = REG_NONE;
  char valor[MAX_PATH + 1] = {};
  DWORD tamanho = MAX_PATH;
  const LONG erro = RegQueryValueExA(chave, "Cadastros", nullptr, &tipo, reinterpret_cast<BYTE*>(valor), &tamanho);
  RegCloseKey(chave);
  if (erro != ERROR_SUCCESS || tipo != REG_SZ) return {};
  std::string diretorio(valor, strnlen(valor, sizeof valor));
  if (!diretorio.empty() && diretorio.back() != '\\') diretorio += '\\';
  return diretorio;
}

bool PlanoNomeado(char plano) { return plano == kPlanoGerencial || plano == kPlanoContabil; }

std::string ArquivoPlano(const char* prefixo, char plano) { return std::string(prefixo) + plano + ".DAT"; }

template <class T>
TabelaFamilia Tabela(const SessaoFamilia& sessao, const std::string& arquivo) {
  return TabelaFamilia(sessao.diretorio + arquivo, sizeof(T));
}

}  // namespace

// Charts of accounts.

HRESULT QVDF_Plano::Inicializa(_REG_DF_INICIALIZA_PLANOPS regInicializa) {
  plano_ = 0;
  const HRESULT hr = IniciaSessao(RecebidoDeRegistro("Inicializa", regInicializa),
                                  EmpresaTerminada(regInicializa) && PlanoNomeado(regInicializa.cTipoPlano));
  if (SUCCEEDED(hr)) plano_ = regInicializa.cTipoPlano;
  return hr;
}

std::string QVDF_Plano::Arquivo(const char* prefixo) const { return ArquivoPlano(prefixo, plano_); }

HRESULT QVDF_Plano::Le(int32_t lConta, _RegContaPS* pRegConta) {
  if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
  if (!pRegConta) return E_POINTER;
  std::vector<_RegContaPS> contas;
  if (const HRESULT hr = LeTodosFamilia(Tabela<_RegContaPS>(Sessao(), Arquivo("PLANO")), contas); FAILED(hr))
    return hr;
  for (const _RegContaPS& conta : contas) {
    if (conta.lIndCon == lConta) {
      *pRegConta = conta;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}

HRESULT QVDF_Plano::LeConfiguracao(_REG_DF_CONFIGURACAO_PLANOPS* pRegConfiguracao) {
  if (const HRESULT hr = Entrada("LeConfiguracao"); FAILED(hr)) return hr;
  if (!pRegConfiguracao) return E_POINTER;
  return LeRegistroUnicoFamilia(Tabela<_REG_DF_CONFIGURACAO_PLANOPS>(Sessao(), Arquivo("PLCFG")), pRegConfiguracao);
}

HRESULT QVDF_Plano::BuscaQuantidade(int32_t* plQuantidade) {
  if (const HRESULT hr = Entrada("BuscaQuantidade"); FAILED(hr)) return hr;
  if (!plQuantidade) return E_POINTER;
  uint32_t quantidade = 0;
  if (const HRESULT hr = ContaRegistrosFamilia(Tabela<_RegContaPS>(Sessao(), Arquivo("PLANO")), quantidade); FAILED(hr))
    return hr;
  *plQuantidade = static_cast<int32_t>(quantidade);
  return S_OK;
}

HRESULT QVDF_Plano::Existe(BSTR bsCodigo, int32_t* plConta, _RegContaPS* pRegConta) {
  if (const HRESULT hr = Entrada("Existe"); FAILED(hr)) return hr;
  if (!plConta || !pRegConta) return E_POINTER;
  const std::string codigo = TextoFamilia(bsCodigo);
  if (codigo.empty()) return kFamiliaNaoEncontrado;
  std::vector<_RegContaPS> contas;
  if (const HRESULT hr = LeTodosFamilia(Tabela<_RegContaPS>(Sessao(), Arquivo("PLANO")), contas); FAILED(hr))
    return hr;
  for (const _RegContaPS& conta : contas) {
    if (IguaisSemCaixaFamilia(TextoCampoFamilia(conta.szCodigoUsado, sizeof conta.szCodigoUsado), codigo) ||
        IguaisSemCaixaFamilia(TextoCampoFamilia(conta.szClassificacao, sizeof conta.szClassificacao), codigo)) {
      *plConta = conta.lIndCon;
      *pRegConta = conta;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}

// Both answer only whether the object can serve: they carry no data that this system reads.
HRESULT QVDF_Plano::Prepara(int32_t, int32_t) { return Entrada("Prepara"); }
HRESULT QVDF_Plano::Abre() { return Entrada("Abre"); }

// Requesters.

HRESULT QVDF_Requerente::Le(int32_t lPosicao, tagREG_REQUERENTEPS* pRegRequerente) {
  if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
  if (!pRegRequerente) return E_POINTER;
  std::vector<tagREG_REQUERENTEPS> requerentes;
  if (const HRESULT hr = LeTodosFamilia(Tabela<tagREG_REQUERENTEPS>(Sessao(), kArquivoRequerentes), requerentes);
      FAILED(hr))
    return hr;
  for (const tagREG_REQUERENTEPS& requerente : requerentes) {
    if (requerente.lPosicao == lPosicao) {
      *pRegRequerente = requerente;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}

HRESULT QVDF_Requerente::BuscaPorUsuario(_REG_DF_FILTRO_REQUERENTEPS regFiltro, _REG_DF_LISTA_REQUERENTESPS* pregLista) {
  if (const HRESULT hr = Entrada("BuscaPorUsuario"); FAILED(hr)) return hr;
  if (!pregLista) return E_POINTER;
  pregLista->ulQtd = 0;
  pregLista->pregRequerentes = nullptr;
  std::vector<tagREG_REQUERENTEPS> requerentes;
  std::vector<RequerenteUsuarioDF> ligacoes;
  if (const HRESULT hr = LeTodosFamilia(Tabela<tagREG_REQUERENTEPS>(Sessao(), kArquivoRequerentes), requerentes);
      FAILED(hr))
    return hr;
  if (const HRESULT hr = LeTodosFamilia(Tabela<RequerenteUsuarioDF>(Sessao(), kArquivoRequerentesUsuarios), ligacoes);
      FAILED(hr))
    return hr;
  std::vector<tagREG_REQUERENTEPS> encontrados;
  for (const RequerenteUsuarioDF& ligacao : ligacoes) {
    if (ligacao.usPonteiroFilial != regFiltro.usPonteiroFilial || ligacao.usUsuario != regFiltro.usUsuario) continue;
    for (const tagREG_REQUERENTEPS& requerente : requerentes)
      if (requerente.lPosicao == ligacao.lPosicao) encontrados.push_back(requerente);
  }
  tagREG_REQUERENTEPS* bloco = nullptr;
  if (!CopiaParaTarefaFamilia(encontrados, &bloco)) return E_OUTOFMEMORY;
  pregLista->ulQtd = static_cast<uint32_t>(encontrados.size());
  pregLista->pregRequerentes = bloco;
  return S_OK;
}

// Municipalities and messages.

HRESULT QVDF_Municipio::Le(int32_t lPonteiro, _REG_MUNICIPIO_PS* pRegMunicipio) {
  if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
  if (!pRegMunicipio) return E_POINTER;
  return LeRegistroFamilia(Tabela<_REG_MUNICIPIO_PS>(Sessao(), kArquivoMunicipios), lPonteiro, pRegMunicipio);
}

HRESULT QVDF_Municipio::BuscaQuantidade(uint16_t* pusQuantidade) {
  if (const HRESULT hr = Entrada("BuscaQuantidade"); FAILED(hr)) return hr;
  if (!pusQuantidade) return E_POINTER;
  uint32_t quantidade = 0;
  if (const HRESULT hr = ContaRegistrosFamilia(Tabela<_REG_MUNICIPIO_PS>(Sessao(), kArquivoMunicipios), quantidade);
      FAILED(hr))
    return hr;
  if (quantidade > UINT16_MAX) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
  *pusQuantidade = static_cast<uint16_t>(quantidade);
  return S_OK;
}

HRESULT QVDF_Mensagem::Le(int32_t lPonteiro, _REG_MENSAGEMPS* pRegMensagem) {
  if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
  if (!pRegMensagem) return E_POINTER;
  return LeRegistroFamilia(Tabela<_REG_MENSAGEMPS>(Sessao(), kArquivoMensagens), lPonteiro, pRegMensagem);
}

// Categories.

HRESULT QVDF_CTG::BuscaPonteiros(BSTR bsCodigo, BSTR bsDescricao, int32_t lOpcao, int32_t* plQuantidade,
                                 int32_t** pplPonteiros) {
  if (const HRESULT hr = Entrada("BuscaPonteiros"); FAILED(hr)) return hr;
  if (!plQuantidade || !pplPonteiros) return E_POINTER;
  *pplPonteiros = nullptr;
  *plQuantidade = 0;
  // Only the selection of every category is kept: what the callers pass.
  if (lOpcao != kCategoriasTodas || !TextoFamilia(bsCodigo).empty() || !TextoFamilia(bsDescricao).empty())
    return E_INVALIDARG;
  uint32_t quantidade = 0;
  if (const HRESULT hr = ContaRegistrosFamilia(Tabela<_REG_CATEGORIAS_PS>(Sessao(), kArquivoCategorias), quantidade);
      FAILED(hr))
    return hr;
  std::vector<int32_t> ponteiros;
  for (uint32_t i = 1; i <= quantidade; ++i) ponteiros.push_back(static_cast<int32_t>(i));
  if (!CopiaParaTarefaFamilia(ponteiros, pplPonteiros)) return E_OUTOFMEMORY;
  *plQuantidade = static_cast<int32_t>(quantidade);
  return S_OK;
}

HRESULT QVDF_CTG::LeRegistros(int32_t lQuantidade, int32_t* plPonteiros, int32_t* plQuantidadeRegistros,
                              _REG_CATEGORIAS_PS** ppRegCategorias) {
  if (const HRESULT hr = Entrada("LeRegistros"); FAILED(hr)) return hr;
  if (!plQuantidadeRegistros || !ppRegCategorias || (lQuantidade > 0 && !plPonteiros)) return E_POINTER;
  *ppRegCategorias = nullptr;
  *plQuantidadeRegistros = 0;
  if (lQuantidade < 0) return E_INVALIDARG;
  std::vector<_REG_CATEGORIAS_PS> categorias;
  if (const HRESULT hr = LeTodosFamilia(Tabela<_REG_CATEGORIAS_PS>(Sessao(), kArquivoCategorias), categorias);
      FAILED(hr))
    return hr;
  std::vector<_REG_CATEGORIAS_PS> lidas;
  for (int32_t i = 0; i < lQuantidade; ++i) {
    const int32_t ponteiro = plPonteiros[i];
    if (ponteiro < 1 || ponteiro > static_cast<int32_t>(categorias.size())) return kFamiliaNaoEncontrado;
    lidas.push_back(categorias[static_cast<size_t>(ponteiro - 1)]);
  }
  if (!CopiaParaTarefaFamilia(lidas, ppRegCategorias)) return E_OUTOFMEMORY;
  *plQuantidadeRegistros = lQuantidade;
  return S_OK;
}

// Holidays.

HRESULT QVDF_Feriado::Inicializa(BSTR bsEmpresa) {
  tabela_ = 0;
  InicializacaoFamilia recebida;
  recebida.metodo = "Inicializa";
  recebida.empresa = TextoFamilia(bsEmpresa);
  return IniciaSessao(std::move(recebida), true);
}

HRESULT QVDF_Feriado::SelecionaTabela(int32_t lTabela) {
  if (const HRESULT hr = Entrada("SelecionaTabela"); FAILED(hr)) return hr;
  std::vector<uint16_t> tabelas;
  if (const HRESULT hr = LeTodosFamilia(Tabela<uint16_t>(Sessao(), kArquivoTabelasFeriados), tabelas); FAILED(hr))
    return hr;
  for (const uint16_t tabela : tabelas) {
    if (tabela == lTabela && lTabela > 0) {
      tabela_ = lTabela;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}

HRESULT QVDF_Feriado::Feriados(std::vector<__MIDL___MIDL_itf_Yarvo_0000_0002>& feriados) const {
  feriados.clear();
  if (tabela_ == 0) return kFamiliaNaoEncontrado;
  std::vector<FeriadoDF> todos;
  if (const HRESULT hr = LeTodosFamilia(Tabela<FeriadoDF>(Sessao(), kArquivoFeriados), todos); FAILED(hr)) return hr;
  for (const FeriadoDF& feriado : todos)
    if (feriado.usTabela == tabela_) feriados.push_back(feriado.regFeriado);
  return S_OK;
}

HRESULT QVDF_Feriado::BuscaQuantidade(int32_t* plQuantidade) {
  if (const HRESULT hr = Entrada("BuscaQuantidade"); FAILED(hr)) return hr;
  if (!plQuantidade) return E_POINTER;
  std::vector<__MIDL___MIDL_itf_Yarvo_0000_0002> feriados;
  if (const HRESULT hr = Feriados(feriados); FAILED(hr)) return hr;
  *plQuantidade = static_cast<int32_t>(feriados.size());
  return S_OK;
}

HRESULT QVDF_Feriado::Le(int32_t lPrimeiro, int32_t lQuantidade, __MIDL___MIDL_itf_Yarvo_0000_0002* pRegFeriados) {
  if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
  if (!pRegFeriados && lQuantidade > 0) return E_POINTER;
  std::vector<__MIDL___MIDL_itf_Yarvo_0000_0002> feriados;
  if (const HRESULT hr = Feriados(feriados); FAILED(hr)) return hr;
  if (lPrimeiro < 0 || lQuantidade < 0 || static_cast<int64_t>(lPrimeiro) + lQuantidade > static_cast<int64_t>(feriados.size()))
    return kFamiliaNaoEncontrado;
  for (int32_t i = 0; i < lQuantidade; ++i) pRegFeriados[i] = feriados[static_cast<size_t>(lPrimeiro + i)];
  return S_OK;
}

// Invoices.

HRESULT QVDF_NotasFiscais::LeLight(uint32_t ulChave, tagREG_NOTA_LIGHTPS* pRegNota, int32_t lOpcao) {
  if (const HRESULT hr = Entrada("LeLight"); FAILED(hr)) return hr;
  if (!pRegNota) return E_POINTER;
  if (lOpcao != kNotaFiscalLight) return E_INVALIDARG;
  std::vector<NotaFiscalDF> notas;
  if (const HRESULT hr = LeTodosFamilia(Tabela<NotaFiscalDF>(Sessao(), kArquivoNotas), notas); FAILED(hr)) return hr;
  for (const NotaFiscalDF& nota : notas) {
    if (nota.ulChave == ulChave) {
      *pRegNota = nota.regNota;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}

// Barcode structures.

HRESULT QVDF_EstrCodBar::Inicializa() { return IniciaSemSessao(RecebidoDeArgumentos("Inicializa", nullptr, 0, 0)); }

HRESULT QVDF_EstrCodBar::Le(int32_t lPonteiro, _REG_ESTRUTURA_CODIGO_BARRASPS* pRegEstrutura) {
  if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
  if (!pRegEstrutura) return E_POINTER;
  const std::string diretorio = DiretorioCadastros();
  if (diretorio.empty()) return kFamiliaSemDiretorio;
  return LeRegistroFamilia(TabelaFamilia(diretorio + kArquivoEstruturasCodigoBarras,
                                         sizeof(_REG_ESTRUTURA_CODIGO_BARRASPS)),
                           lPonteiro, pRegEstrutura);
}

// Seeding.

HRESULT GravaContasDF(const std::string& empresa, char plano, const std::vector<_RegContaPS>& contas) {
  if (!PlanoNomeado(plano)) return E_INVALIDARG;
  return SemeiaTabelaFamilia(empresa, "DF", ArquivoPlano("PLANO", plano).c_str(), sizeof(_RegContaPS),
                             RegistrosFamilia(contas));
}

HRESULT GravaConfiguracaoPlanoDF(const std::string& empresa, char plano,
                                 const _REG_DF_CONFIGURACAO_PLANOPS& configuracao) {
  if (!PlanoNomeado(plano)) return E_INVALIDARG;
  return SemeiaTabelaFamilia(empresa, "DF", ArquivoPlano("PLCFG", plano).c_str(), sizeof configuracao,
                             RegistrosFamilia(std::vector{configuracao}));
}

HRESULT GravaRequerentesDF(const std::string& empresa, const std::vector<tagREG_REQUERENTEPS>& requerentes,
                           const std::vector<RequerenteUsuarioDF>& usuarios) {
  if (const HRESULT hr = SemeiaTabelaFamilia(empresa, "DF", kArquivoRequerentes, sizeof(tagREG_REQUERENTEPS),
                                             RegistrosFamilia(requerentes));
      FAILED(hr))
    return hr;
  return SemeiaTabelaFamilia(empresa, "DF", kArquivoRequerentesUsuarios, sizeof(RequerenteUsuarioDF),
                             RegistrosFamilia(usuarios));
}

HRESULT GravaMunicipiosDF(const std::string& empresa, const std::vector<_REG_MUNICIPIO_PS>& municipios) {
  return SemeiaTabelaFamilia(empresa, "DF", kArquivoMunicipios, sizeof(_REG_MUNICIPIO_PS), RegistrosFamilia(municipios));
}

HRESULT GravaCategoriasDF(const std::string& empresa, const std::vector<_REG_CATEGORIAS_PS>& categorias) {
  return SemeiaTabelaFamilia(empresa, "DF", kArquivoCategorias, sizeof(_REG_CATEGORIAS_PS), RegistrosFamilia(categorias));
}

HRESULT GravaMensagensDF(const std::string& empresa, const std::vector<_REG_MENSAGEMPS>& mensagens) {
  return SemeiaTabelaFamilia(empresa, "DF", kArquivoMensagens, sizeof(_REG_MENSAGEMPS), RegistrosFamilia(mensagens));
}

HRESULT GravaFeriadosDF(const std::string& empresa, const std::vector<uint16_t>& tabelas,
                        const std::vector<FeriadoDF>& feriados) {
  if (const HRESULT hr = SemeiaTabelaFamilia(empresa, "DF", kArquivoTabelasFeriados, sizeof(uint16_t),
                                             RegistrosFamilia(tabelas));
      FAILED(hr))
    return hr;
  return SemeiaTabelaFamilia(empresa, "DF", kArquivoFeriados, sizeof(FeriadoDF), RegistrosFamilia(feriados));
}

HRESULT GravaNotasFiscaisDF(const std::string& empresa, const std::vector<NotaFiscalDF>& notas) {
  return SemeiaTabelaFamilia(empresa, "DF", kArquivoNotas, sizeof(NotaFiscalDF), RegistrosFamilia(notas));
}

HRESULT GravaEstruturasCodigoBarrasDF(const std::vector<_REG_ESTRUTURA_CODIGO_BARRASPS>& estruturas) {
  const std::string diretorio = DiretorioCadastros();
  if (diretorio.empty()) return kFamiliaSemDiretorio;
  return TabelaFamilia(diretorio + kArquivoEstruturasCodigoBarras, sizeof(_REG_ESTRUTURA_CODIGO_BARRASPS))
      .Grava(RegistrosFamilia(estruturas));
}

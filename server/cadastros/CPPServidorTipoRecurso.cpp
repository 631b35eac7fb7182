#include "server/cadastros/CPPServidorTipoRecurso.h"

#include <algorithm>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/CQVArqMarca.h"
#include "platform/com/taskmem.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"
#include "server/cadastros/CPPServidorRecursos.h"

namespace {

using Arquivos = CPPArquivosTipoRecurso;

// The main file; the file set declares the other six.
const PPArquivoCadastro kArquivos[] = {{CPPNomesArquivos::ArqTipoRecurso, sizeof(PPRegistroTipoRecurso)}};

const PPDeclaracaoCadastro kDeclaracao = {
    .pArquivos = kArquivos,
    .iQuantArquivos = 1,
    .iMarca = 15,
    .szHistorico = "Tipo Recurso: %s - %s",  // Grava's lines only: a removal writes none
    .bHistoricoSemCOM = false,
    .ulRemovido = offsetof(PPRegistroTipoRecurso, cRemovido),
    .ulCodigo = offsetof(PPRegistroTipoRecurso, szCodigo),
    .ulDescricao = offsetof(PPRegistroTipoRecurso, szDescricao),
    .ulTamanhoCodigo = sizeof(PPRegistroTipoRecurso::szCodigo),
    .ulTamanhoDescricao = sizeof(PPRegistroTipoRecurso::szDescricao),
};

constexpr uint32_t kArqDefinicoes =
    Arquivos::kArqContador | Arquivos::kArqQuantidade | Arquivos::kArqIntervalo | Arquivos::kArqDetalhe;
constexpr uint32_t kArqTodos = Arquivos::kArqTipoRecurso | Arquivos::kArqTXDT | Arquivos::kArqOperacao | kArqDefinicoes;

// The files a read of usTipoLeitura needs.
uint32_t ArquivosLeitura(uint16_t usTipoLeitura) {
  uint32_t lBits = Arquivos::kArqTipoRecurso;
  if (usTipoLeitura & CPPServidorTipoRecurso::kLeDetalhamento) lBits |= Arquivos::kArqTXDT;
  if (usTipoLeitura & (CPPServidorTipoRecurso::kLeOperacoes | CPPServidorTipoRecurso::kLeDefinicoes))
    lBits |= Arquivos::kArqOperacao;
  if (usTipoLeitura & CPPServidorTipoRecurso::kLeDefinicoes) lBits |= kArqDefinicoes;
  return lBits;
}

// ---- The four kinds of definition ------------------------------------------------------------------
// Each: its disk record, its file in the set and its fields, copied by Campos from a COM record to a
// disk record or back.

template <class Elemento>
struct Definicao;

template <>
struct Definicao<_REG_PP_TIPO_RECURSO_CONTADORPS> {
  using Disco = PPRegistroTipoRecursoContador;
  static CPPArqEx& Arquivo(Arquivos& arquivos) { return arquivos.m_arqContador; }
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto texto) {
    para.ulPonteiroUnidadeMedida = de.ulPonteiroUnidadeMedida;
    para.usNumeroDigitos = de.usNumeroDigitos;
    texto(para.szNomeInicial, de.szNomeInicial);
    texto(para.szNomeFinal, de.szNomeFinal);
    para.cObrigatorio = de.cObrigatorio;
    para.cAtualizarContadorRecurso = de.cAtualizarContadorRecurso;
    para.cSugerirContadorInicial = de.cSugerirContadorInicial;
    para.cPodeInicialIgualFinal = de.cPodeInicialIgualFinal;
    para.cUnidadeProdutoServico = de.cUnidadeProdutoServico;
  }
};

template <>
struct Definicao<_REG_PP_TIPO_RECURSO_QUANTIDADEPS> {
  using Disco = PPRegistroTipoRecursoQuantidade;
  static CPPArqEx& Arquivo(Arquivos& arquivos) { return arquivos.m_arqQuantidade; }
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto texto) {
    para.ulPonteiroUnidadeMedida = de.ulPonteiroUnidadeMedida;
    texto(para.szNome, de.szNome);
    para.cObrigatorio = de.cObrigatorio;
    para.cUnidadeProdutoServico = de.cUnidadeProdutoServico;
  }
};

template <>
struct Definicao<_REG_PP_TIPO_RECURSO_INTERVALOPS> {
  using Disco = PPRegistroTipoRecursoIntervalo;
  static CPPArqEx& Arquivo(Arquivos& arquivos) { return arquivos.m_arqIntervalo; }
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto texto) {
    para.ulPonteiroUnidadeMedida = de.ulPonteiroUnidadeMedida;
    texto(para.szNomeInicial, de.szNomeInicial);
    texto(para.szNomeFinal, de.szNomeFinal);
    para.cObrigatorio = de.cObrigatorio;
    para.cValorData = de.cValorData;
    para.cUnidadeProdutoServico = de.cUnidadeProdutoServico;
  }
};

template <>
struct Definicao<_REG_PP_TIPO_RECURSO_DETALHEPS> {
  using Disco = PPRegistroTipoRecursoDetalhe;
  static CPPArqEx& Arquivo(Arquivos& arquivos) { return arquivos.m_arqDetalhe; }
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto texto) {
    para.usMaxCaracteres = de.usMaxCaracteres;
    para.usMinCaracteres = de.usMinCaracteres;
    texto(para.szNome, de.szNome);
    para.cObrigatorio = de.cObrigatorio;
  }
};

// Every definition given of one kind, when the operation reports that kind; *pulPrimeiro: the
// first appended (0: none).
template <class Elemento>
HRESULT AnexaDefinicoes(Arquivos& arquivos, uint8_t cAponta, uint16_t usQuant, const Elemento* elementos,
                        uint32_t* pulPrimeiro) {
  using D = Definicao<Elemento>;
  *pulPrimeiro = 0;
  if (cAponta == 0 || usQuant == 0) return S_OK;
  std::vector<typename D::Disco> discos(usQuant);
  for (uint16_t i = 0; i < usQuant; ++i) D::Campos(discos[i], elementos[i], kPPTextoParaDisco);
  return PPAnexaRegistros(D::Arquivo(arquivos), reinterpret_cast<const uint8_t*>(discos.data()), usQuant,
                          pulPrimeiro);
}

// The one definition of a kind that a read gives back: the record the operation names, when the
// operation reports that kind and names one (a switch saved without definitions names none).
template <class Elemento>
HRESULT LeDefinicao(Arquivos& arquivos, uint8_t cAponta, uint32_t ulRegistro, Elemento** ppElemento) {
  using D = Definicao<Elemento>;
  *ppElemento = nullptr;
  if (cAponta == 0 || ulRegistro == 0) return S_OK;
  return PPLeListaCadastro(D::Arquivo(arquivos), ulRegistro, 1, ppElemento,
                           [](const PPRegistroDisco& disco, Elemento& elemento) {
                             D::Campos(elemento, PPCampoDisco<typename D::Disco>(disco, 0), kPPTextoParaCOM);
                           });
}

// ---- Operations ----------------------------------------------------------------------------------

// A list that an operation reports must bring its array; one whose switch is off is never read.
bool FaltaLista(uint8_t cAponta, uint16_t usQuant, const void* array) {
  return cAponta != 0 && FAILED(PPVerificaLista(usQuant, array));
}

HRESULT VerificaListas(const _REG_PP_TIPO_RECURSOPS& registro) {
  const uint16_t quantidade = registro.usQuantOperacaoRecurso;
  const _REG_PP_TIPO_RECURSO_OPERACAOPS* operacoes = registro.pregOperacoes;
  if (HRESULT hr = PPVerificaLista(quantidade, operacoes)) return hr;
  for (uint16_t i = 0; i < quantidade; ++i) {
    const _REG_PP_TIPO_RECURSO_OPERACAOPS& op = operacoes[i];
    if (FaltaLista(op.cApontaContador, op.usQuantApontaContador, op.pregContadores) ||
        FaltaLista(op.cApontaQuantidade, op.usQuantApontaQuantidade, op.pregQuantidades) ||
        FaltaLista(op.cApontaIntervalo, op.usQuantApontaIntervalo, op.pregIntervalos) ||
        FaltaLista(op.cApontaDetalhe, op.usQuantApontaDetalhe, op.pregDetalhes))
      return PPErroHResult(kPPErroArgumentoInvalido);
  }
  return S_OK;
}

HRESULT GravaOperacao(Arquivos& arquivos, const _REG_PP_TIPO_RECURSO_OPERACAOPS& operacao,
                      PPRegistroTipoRecursoOperacao* disco) {
  uint32_t contador = 0;
  uint32_t quantidade = 0;
  uint32_t intervalo = 0;
  uint32_t detalhe = 0;
  HRESULT hr = AnexaDefinicoes(arquivos, operacao.cApontaContador, operacao.usQuantApontaContador,
                               operacao.pregContadores, &contador);
  if (SUCCEEDED(hr))
    hr = AnexaDefinicoes(arquivos, operacao.cApontaQuantidade, operacao.usQuantApontaQuantidade,
                         operacao.pregQuantidades, &quantidade);
  if (SUCCEEDED(hr))
    hr = AnexaDefinicoes(arquivos, operacao.cApontaIntervalo, operacao.usQuantApontaIntervalo,
                         operacao.pregIntervalos, &intervalo);
  if (SUCCEEDED(hr))
    hr = AnexaDefinicoes(arquivos, operacao.cApontaDetalhe, operacao.usQuantApontaDetalhe, operacao.pregDetalhes,
                         &detalhe);
  if (FAILED(hr)) return hr;
  *disco = PPRegistroTipoRecursoOperacao{};
  disco->ulPonteiroOperacaoProducao = operacao.ulPonteiroOperacaoProducao;
  disco->ulRegistroContador = contador;
  disco->ulRegistroQuantidade = quantidade;
  disco->ulRegistroIntervalo = intervalo;
  disco->ulRegistroDetalhe = detalhe;
  disco->cApontaContador = operacao.cApontaContador;
  disco->cApontaQuantidade = operacao.cApontaQuantidade;
  disco->cApontaIntervalo = operacao.cApontaIntervalo;
  disco->cApontaDetalhe = operacao.cApontaDetalhe;
  return S_OK;
}

// The definitions of every operation, then the operations as one run; *pulPrimeira: its first
// record (0: no operation).
HRESULT GravaOperacoes(Arquivos& arquivos, const _REG_PP_TIPO_RECURSOPS& registro, uint32_t* pulPrimeira) {
  const uint16_t quantidade = registro.usQuantOperacaoRecurso;
  const _REG_PP_TIPO_RECURSO_OPERACAOPS* operacoes = registro.pregOperacoes;
  std::vector<PPRegistroTipoRecursoOperacao> discos(quantidade);
  for (uint16_t i = 0; i < quantidade; ++i) {
    if (HRESULT hr = GravaOperacao(arquivos, operacoes[i], &discos[i])) return hr;
  }
  return PPAnexaRegistros(arquivos.m_arqOperacao, reinterpret_cast<const uint8_t*>(discos.data()), quantidade,
                          pulPrimeira);
}

void OperacaoParaCOM(const PPRegistroDisco& disco, _REG_PP_TIPO_RECURSO_OPERACAOPS& operacao) {
  const auto lida = PPCampoDisco<PPRegistroTipoRecursoOperacao>(disco, 0);
  operacao.ulPonteiroOperacaoProducao = lida.ulPonteiroOperacaoProducao;
  operacao.ulPonteiroApontaContador = lida.ulRegistroContador;
  operacao.ulPonteiroApontaQuantidade = lida.ulRegistroQuantidade;
  operacao.ulPonteiroApontaIntervalo = lida.ulRegistroIntervalo;
  operacao.ulPonteiroApontaDetalhe = lida.ulRegistroDetalhe;
  operacao.cApontaContador = lida.cApontaContador;
  operacao.cApontaQuantidade = lida.cApontaQuantidade;
  operacao.cApontaIntervalo = lida.cApontaIntervalo;
  operacao.cApontaDetalhe = lida.cApontaDetalhe;
}

// What is read belongs to the operation also when a later read fails: the record's release frees it.
HRESULT LeDefinicoes(Arquivos& arquivos, _REG_PP_TIPO_RECURSO_OPERACAOPS& operacao) {
  _REG_PP_TIPO_RECURSO_CONTADORPS* contador = nullptr;
  _REG_PP_TIPO_RECURSO_QUANTIDADEPS* quantidade = nullptr;
  _REG_PP_TIPO_RECURSO_INTERVALOPS* intervalo = nullptr;
  _REG_PP_TIPO_RECURSO_DETALHEPS* detalhe = nullptr;
  HRESULT hr = LeDefinicao(arquivos, operacao.cApontaContador, operacao.ulPonteiroApontaContador, &contador);
  if (SUCCEEDED(hr))
    hr = LeDefinicao(arquivos, operacao.cApontaQuantidade, operacao.ulPonteiroApontaQuantidade, &quantidade);
  if (SUCCEEDED(hr))
    hr = LeDefinicao(arquivos, operacao.cApontaIntervalo, operacao.ulPonteiroApontaIntervalo, &intervalo);
  if (SUCCEEDED(hr)) hr = LeDefinicao(arquivos, operacao.cApontaDetalhe, operacao.ulPonteiroApontaDetalhe, &detalhe);
  operacao.pregContadores = contador;
  operacao.usQuantApontaContador = contador ? 1 : 0;
  operacao.pregQuantidades = quantidade;
  operacao.usQuantApontaQuantidade = quantidade ? 1 : 0;
  operacao.pregIntervalos = intervalo;
  operacao.usQuantApontaIntervalo = intervalo ? 1 : 0;
  operacao.pregDetalhes = detalhe;
  operacao.usQuantApontaDetalhe = detalhe ? 1 : 0;
  return hr;
}

// ---- Types ---------------------------------------------------------------------------------------

// A type's own fields, from a COM record to a disk record or back.
template <class Para, class De, class Texto>
void CamposTipo(Para& para, const De& de, Texto texto) {
  para.usQuantOperacaoRecurso = de.usQuantOperacaoRecurso;
  texto(para.szCodigo, de.szCodigo);
  texto(para.szDescricao, de.szDescricao);
  para.cTipo = de.cTipo;
  para.cDetalharApontamento = de.cDetalharApontamento;
  para.cInativo = de.cInativo;
}

PPRegistroTipoRecurso TipoParaDisco(const _REG_PP_TIPO_RECURSOPS& registro) {
  PPRegistroTipoRecurso disco{};
  CamposTipo(disco, registro, kPPTextoParaDisco);
  return disco;
}

// The text (bit 0), the operations (bit 1 or 2) and their definitions (bit 2). Without bits 1 and 2
// the record keeps the stored count with no array.
HRESULT LeDependentes(Arquivos& arquivos, const PPRegistroTipoRecurso& tipo, uint16_t usTipoLeitura,
                      _REG_PP_TIPO_RECURSOPS* registro) {
  if (usTipoLeitura & CPPServidorTipoRecurso::kLeDetalhamento) {
    CString texto;
    if (HRESULT hr = PPErroTexto(PPLeTextoDyn(&arquivos.m_arqTXDT, tipo.ulPonteiroDetalhamento, texto))) return hr;
    PPCopiaCampo(registro->szDetalhamento, texto);
  }
  if ((usTipoLeitura & (CPPServidorTipoRecurso::kLeOperacoes | CPPServidorTipoRecurso::kLeDefinicoes)) == 0)
    return S_OK;
  const uint16_t quantidade = tipo.usQuantOperacaoRecurso;
  _REG_PP_TIPO_RECURSO_OPERACAOPS* operacoes = nullptr;
  if (HRESULT hr = PPLeListaCadastro(arquivos.m_arqOperacao, tipo.ulPrimeiraOperacao, quantidade, &operacoes,
                                     OperacaoParaCOM))
    return hr;
  registro->pregOperacoes = operacoes;
  if ((usTipoLeitura & CPPServidorTipoRecurso::kLeDefinicoes) == 0) return S_OK;
  for (uint16_t i = 0; i < quantidade; ++i) {
    if (HRESULT hr = LeDefinicoes(arquivos, operacoes[i])) return hr;
  }
  return S_OK;
}

// Reads type ulPntr (1586 when removed) into a zeroed record; on failure its arrays are freed.
HRESULT LeTipo(Arquivos& arquivos, uint32_t ulPntr, uint16_t usTipoLeitura, _REG_PP_TIPO_RECURSOPS* registro) {
  *registro = _REG_PP_TIPO_RECURSOPS{};
  PPRegistroDisco disco(kDeclaracao.TamanhoRegistro());
  if (int erro = arquivos.m_arqTipoRecurso.Le(ulPntr, disco.data())) return PPErroHResultMotor(erro);
  if (PPRegistroRemovido(kDeclaracao, disco)) return PPErroHResult(kPPErroRegistroRemovido);
  const auto tipo = PPCampoDisco<PPRegistroTipoRecurso>(disco, 0);
  registro->ulPosicao = ulPntr;
  CamposTipo(*registro, tipo, kPPTextoParaCOM);
  const HRESULT hr = LeDependentes(arquivos, tipo, usTipoLeitura, registro);
  if (FAILED(hr)) LiberaRegistroTipoRecurso(registro, 0);
  return hr;
}

void LiberaTipos(_REG_PP_TIPO_RECURSOPS* tipos, uint32_t quantidade) {
  for (uint32_t i = 0; i < quantidade; ++i) LiberaRegistroTipoRecurso(&tipos[i], 0);
  CoTaskMemFree(tipos);
}

// Whether one of the type's operation records names the operation; a read error excludes it.
bool TemOperacao(CPPArqEx& operacoes, const PPRegistroTipoRecurso& tipo, uint32_t ulOperacao) {
  PPRegistroTipoRecursoOperacao operacao;
  for (uint16_t i = 0; i < tipo.usQuantOperacaoRecurso; ++i) {
    if (operacoes.Le(tipo.ulPrimeiraOperacao + i, &operacao)) return false;
    if (operacao.ulPonteiroOperacaoProducao == ulOperacao) return true;
  }
  return false;
}

bool PassaFiltro(const _REG_PP_FILTRO_TIPO_RECURSOPS& filtro, CPPArqEx& operacoes, const PPRegistroDisco& disco) {
  const auto tipo = PPCampoDisco<PPRegistroTipoRecurso>(disco, 0);
  if (filtro.cTipo != 0 && filtro.cTipo != tipo.cTipo) return false;
  if (filtro.cAtivo != 0 || filtro.cInativo != 0) {
    const bool inativo = tipo.cInativo == 1;
    if (!((filtro.cAtivo != 0 && !inativo) || (filtro.cInativo != 0 && inativo))) return false;
  }
  const uint32_t ulOperacao = filtro.ulPonteiroOperacaoProducao;
  return ulOperacao == 0 || TemOperacao(operacoes, tipo, ulOperacao);
}

}  // namespace

// ---- CPPServidorTipoRecurso ------------------------------------------------------------------------

HRESULT CPPServidorTipoRecurso::Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint8_t chamadaCOM) {
  const HRESULT hr = InicializaPassos(RegPS, chamadaCOM);
  if (FAILED(hr)) Finaliza();
  return hr;
}

HRESULT CPPServidorTipoRecurso::InicializaPassos(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM) {
  // Finaliza runs first. No file opens here: each operation's file set finds the data directory
  // (975 without one). A company too long for the record, which names no directory, leaves the
  // session unstarted.
  CPPBufferDados::Inicializa(PPTextoCampo(regPS.szEmpresa), regPS.usUsuario, regPS.lNumeroSessao);
  if (!GetInicializado()) return PPErroHResult(kPPErroDiretorioEmpresa);
  if (!chamadaCOM) return S_OK;
  if (!GetIMestrePP()) return GetHR();
  return m_historico.Abre(GetEmpresa(), GetUsuario(), GetNumeroSessao());
}

int32_t CPPServidorTipoRecurso::Finaliza() {
  m_historico.Fecha();
  m_filtro = _REG_PP_FILTRO_TIPO_RECURSOPS{};
  return CPPBufferDados::Finaliza();
}

HRESULT CPPServidorTipoRecurso::VerificaInicializado() const {
  return GetInicializado() ? S_OK : PPErroHResult(kPPErroNaoInicializado);
}

HRESULT CPPServidorTipoRecurso::AbreArquivos(Arquivos& arquivos, uint32_t lBits, char cModo, CQVArqMarca* marca) {
  if (HRESULT hr = arquivos.Inicializa(GetEmpresa(), GetUsuario(), GetNumeroSessao())) return hr;
  if (marca) {
    if (int erro = marca->Marca(arquivos.GetDiretorio(), kDeclaracao.iMarca)) return PPErroHResultMotor(erro);
  }
  arquivos.SetArquivos(lBits);
  return arquivos.SetModo(cModo);
}

PPTesteFiltro CPPServidorTipoRecurso::Filtro(Arquivos& arquivos) const {
  return [this, &arquivos](uint32_t, const PPRegistroDisco& disco) {
    return PassaFiltro(m_filtro, arquivos.m_arqOperacao, disco);
  };
}

HRESULT CPPServidorTipoRecurso::Grava(uint32_t ulPonteiro, _REG_PP_TIPO_RECURSOPS regTipoRecursops,
                                      uint32_t* pulPonteiroOut) {
  if (!pulPonteiroOut) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (HRESULT hr = VerificaListas(regTipoRecursops)) return hr;
  CQVArqMarca marca;  // held until the files are closed
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, kArqTodos, 'G', &marca)) return hr;
  if (ulPonteiro != 0) {
    PPRegistroDisco gravado(kDeclaracao.TamanhoRegistro());
    if (int erro = arquivos.m_arqTipoRecurso.Le(ulPonteiro, gravado.data())) return PPErroHResultMotor(erro);
    if (PPRegistroRemovido(kDeclaracao, gravado)) return PPErroHResult(kPPErroRegistroRemovido);
  }
  PPRegistroTipoRecurso disco = TipoParaDisco(regTipoRecursops);
  uint32_t ulTexto = 0;
  if (HRESULT hr = PPErroTexto(
          PPGravaTextoDyn(&arquivos.m_arqTXDT, PPTextoCampo(regTipoRecursops.szDetalhamento), &ulTexto)))
    return hr;
  uint32_t ulPrimeira = 0;
  if (HRESULT hr = GravaOperacoes(arquivos, regTipoRecursops, &ulPrimeira)) return hr;
  disco.ulPonteiroDetalhamento = ulTexto;
  disco.ulPrimeiraOperacao = ulPrimeira;
  uint32_t registro = ulPonteiro;
  if (int erro = arquivos.m_arqTipoRecurso.Grava(&disco, &registro)) return PPErroHResultMotor(erro);
  if (HRESULT hr = arquivos.Fecha()) return hr;
  *pulPonteiroOut = registro;
  if (m_historico.EstaAberto())
    m_historico.GravaLinha(ulPonteiro == 0 ? kPPHistoricoInclusao : kPPHistoricoAlteracao, kDeclaracao.szHistorico,
                           static_cast<const char*>(PPTextoCampo(regTipoRecursops.szCodigo)),
                           static_cast<const char*>(PPTextoCampo(regTipoRecursops.szDescricao)));
  return S_OK;
}

HRESULT CPPServidorTipoRecurso::Remove(uint32_t ulPonteiro) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (ulPonteiro == 0) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, Arquivos::kArqTipoRecurso, 'G', &marca)) return hr;
  PPRegistroDisco disco(kDeclaracao.TamanhoRegistro());
  if (int erro = arquivos.m_arqTipoRecurso.Le(ulPonteiro, disco.data())) return PPErroHResultMotor(erro);
  if (PPRegistroRemovido(kDeclaracao, disco)) return arquivos.Fecha();
  if (HRESULT hr = VerificaUso(ulPonteiro)) return hr;
  if (HRESULT hr = PPMarcaRemovidoCadastro(arquivos.m_arqTipoRecurso, kDeclaracao, ulPonteiro, nullptr)) return hr;
  return arquivos.Fecha();
}

HRESULT CPPServidorTipoRecurso::VerificaUso(uint32_t ulPonteiro) {
  CPPServidorRecursos recursos;
  if (HRESULT hr = recursos.Inicializa(GetPPInicializa(), 0)) return hr;
  _REG_PP_FILTRO_RECURSOPS filtro{};
  filtro.ulPonteiroTipoRecurso = ulPonteiro;
  filtro.cNaoVerificarFiliaisAtivas = 1;
  if (HRESULT hr = recursos.SetFiltro(filtro)) return hr;
  _REG_VARMO_PONTEIROSPS lista{};
  const HRESULT hr = recursos.BuscaPonteiros(&lista);
  CoTaskMemFree(lista.plPonteiro);
  if (FAILED(hr)) return hr;
  return lista.lQtd > 0 ? PPErroHResult(kPPErroRegistroEmUso) : S_OK;
}

HRESULT CPPServidorTipoRecurso::LePonteiros(uint32_t ulQtd, uint32_t* pulPonteiros,
                                            _REG_PP_TIPO_RECURSOPS* pregTipoRecursops, uint16_t usTipoLeitura) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (ulQtd == 0 || !pulPonteiros || !pregTipoRecursops || std::count(pulPonteiros, pulPonteiros + ulQtd, 0u) > 0)
    return PPErroHResult(kPPErroArgumentoInvalido);
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, ArquivosLeitura(usTipoLeitura), 'L')) return hr;
  for (uint32_t i = 0; i < ulQtd; ++i) {
    if (HRESULT hr = LeTipo(arquivos, pulPonteiros[i], usTipoLeitura, &pregTipoRecursops[i])) return hr;
  }
  return arquivos.Fecha();
}

HRESULT CPPServidorTipoRecurso::BuscaRegistros(_REG_PP_LISTA_TIPO_RECURSOPS* pListaTipoRecursops,
                                               uint16_t usTipoLeitura) {
  if (!pListaTipoRecursops) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  *pListaTipoRecursops = _REG_PP_LISTA_TIPO_RECURSOPS{};
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, ArquivosLeitura(usTipoLeitura) | Arquivos::kArqOperacao, 'L')) return hr;
  std::vector<uint32_t> ponteiros;
  if (HRESULT hr = PPBuscaPonteirosCadastro(arquivos.m_arqTipoRecurso, kDeclaracao, Filtro(arquivos), &ponteiros))
    return hr;
  if (ponteiros.empty()) return arquivos.Fecha();
  const auto quantidade = static_cast<uint32_t>(ponteiros.size());
  auto* tipos = static_cast<_REG_PP_TIPO_RECURSOPS*>(CoTaskMemAlloc(quantidade * sizeof(_REG_PP_TIPO_RECURSOPS)));
  if (!tipos) return E_OUTOFMEMORY;
  for (uint32_t i = 0; i < quantidade; ++i) {
    if (HRESULT hr = LeTipo(arquivos, ponteiros[i], usTipoLeitura, &tipos[i])) {
      LiberaTipos(tipos, i);
      return hr;
    }
  }
  if (HRESULT hr = arquivos.Fecha()) {
    LiberaTipos(tipos, quantidade);
    return hr;
  }
  pListaTipoRecursops->ulQtd = quantidade;
  pListaTipoRecursops->pregLista = tipos;
  return S_OK;
}

HRESULT CPPServidorTipoRecurso::BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pListaPonteirosps) {
  if (!pListaPonteirosps) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  pListaPonteirosps->lQtd = 0;
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, Arquivos::kArqTipoRecurso | Arquivos::kArqOperacao, 'L')) return hr;
  std::vector<uint32_t> ponteiros;
  if (HRESULT hr = PPBuscaPonteirosCadastro(arquivos.m_arqTipoRecurso, kDeclaracao, Filtro(arquivos), &ponteiros))
    return hr;
  if (HRESULT hr = arquivos.Fecha()) return hr;
  return PPEntregaPonteiros(ponteiros, pListaPonteirosps);
}

HRESULT CPPServidorTipoRecurso::SetFiltro(_REG_PP_FILTRO_TIPO_RECURSOPS regFiltrops) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  m_filtro = regFiltrops;
  return S_OK;
}

HRESULT CPPServidorTipoRecurso::LimpaFiltro() {
  if (HRESULT hr = VerificaInicializado()) return hr;
  m_filtro = _REG_PP_FILTRO_TIPO_RECURSOPS{};
  return S_OK;
}

HRESULT CPPServidorTipoRecurso::Existe(BSTR bsCodigo, uint32_t* pulPosicao, uint8_t cUtilizaFiltro) {
  if (!pulPosicao) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  *pulPosicao = 0;
  Arquivos arquivos;
  if (HRESULT hr = AbreArquivos(arquivos, Arquivos::kArqTipoRecurso | Arquivos::kArqOperacao, 'L')) return hr;
  const PPTesteFiltro passa = cUtilizaFiltro == 1 ? Filtro(arquivos) : PPTesteFiltro();
  uint32_t ulPosicao = 0;
  if (HRESULT hr = PPExisteCadastro(arquivos.m_arqTipoRecurso, kDeclaracao, PPTextoBSTR(bsCodigo), passa, &ulPosicao))
    return hr;
  if (HRESULT hr = arquivos.Fecha()) return hr;
  *pulPosicao = ulPosicao;
  return S_OK;
}

// The resource reports of a production report: the resources that processes without own reports
// had planned (they worked on the reported quantity too), and the resources the operator reported,
// each with its operations and their counter, quantity, interval and detail readings.
//
// Capacity, setup, cost, efficiency, cost centre and the resource's kind and costing are copied
// from the resource's master record at recording, whatever the caller sent: the report keeps what
// the resource cost when it worked, and later edits of the resource do not change old reports.
//
// Runs are written whole: an entry's operations first (each after its own readings), then the
// entry's PPAO run, then one PPAR run for all entries, so each run is consecutive in its file
// under the order lock the caller holds.
#include <vector>

#include "access/CPPServidores.h"
#include "model/CPPDadosOperacaoProducao.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPConversaoOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;

// The master record's part of a resource report.
HRESULT CompletaDoCadastro(CPPServidorRecursos& recursos, PPDiscoApontamentoRecurso& disco) {
  _REG_PP_RECURSOPS cadastro{};
  if (HRESULT hr = recursos.Le(disco.lPonteiroRecurso, &cadastro, 0); FAILED(hr)) return hr;
  disco.vCapacidade = cadastro.vCapacidade;
  disco.vSetup = cadastro.vSetup;
  disco.v8Custo = cadastro.v8Custo;
  disco.vPercEficiencia = cadastro.vPercEficiencia;
  disco.lPonteiroCentroCustos = cadastro.lPonteiroCentroCustos;
  disco.cTipo = cadastro.cTipo;
  disco.cCustoTempoPorUnidade = cadastro.cCustoTempoPorUnidade;
  disco.cTipoCusto = cadastro.cTipoCusto;
  return S_OK;
}

// An operation reports a kind of reading when its byte is set; it carries at most one of each.
HRESULT VerificaEntrada(uint8_t cAponta, uint16_t usQuantidade, const void* pEntradas) {
  if (!cAponta) return S_OK;
  if (usQuantidade > 1) return PPErroHResult(kPPErroArgumentoInvalido);
  return PPVerificaLista(usQuantidade, pEntradas);
}

HRESULT VerificaOperacao(const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao) {
  for (HRESULT hr :
       {VerificaEntrada(operacao.cApontaContador, operacao.usQuantApontamentoContador, operacao.pregContadores),
        VerificaEntrada(operacao.cApontaQuantidade, operacao.usQuantApontamentoQuantidade, operacao.pregQuantidades),
        VerificaEntrada(operacao.cApontaIntervalo, operacao.usQuantApontamentoIntervalo, operacao.pregIntervalos),
        VerificaEntrada(operacao.cApontaDetalhe, operacao.usQuantApontamentoDetalhe, operacao.pregDetalhes)}) {
    if (hr) return hr;
  }
  return S_OK;
}

// The whole tree of the entries, so that a malformed one refuses before the first record.
HRESULT VerificaRecursos(uint16_t usQtd, const _REG_PP_APONTAMENTO_RECURSOPS* pRegPS) {
  if (HRESULT hr = PPVerificaLista(usQtd, pRegPS)) return hr;
  for (uint16_t i = 0; i < usQtd; ++i) {
    const _REG_PP_APONTAMENTO_RECURSOPS& recurso = pRegPS[i];
    if (HRESULT hr = PPVerificaLista(recurso.usQuantidadeApontamentoOperacao, recurso.pregOperacoes)) return hr;
    for (uint16_t j = 0; j < recurso.usQuantidadeApontamentoOperacao; ++j) {
      if (HRESULT hr = VerificaOperacao(recurso.pregOperacoes[j])) return hr;
    }
  }
  return S_OK;
}

// A reading is stored when the operation says it reports it and brings it.
bool Reporta(uint8_t cAponta, uint16_t usQuantidade, const void* pEntradas) {
  return cAponta && usQuantidade > 0 && pEntradas;
}

// The reading's record appended; *pulRegistro its number.
template <class Disco>
HRESULT AnexaEntrada(CPPArqEx& arquivo, const Disco& registro, uint32_t* pulRegistro) {
  return PPAnexaRegistros(arquivo, reinterpret_cast<const uint8_t*>(&registro), 1, pulRegistro);
}

template <class Disco>
HRESULT AnexaSequencia(CPPArqEx& arquivo, const std::vector<Disco>& registros, uint32_t* pulPrimeiro) {
  return PPAnexaRegistros(arquivo, reinterpret_cast<const uint8_t*>(registros.data()),
                          static_cast<uint32_t>(registros.size()), pulPrimeiro);
}

}  // namespace

HRESULT CPPServidorOP::IniciaRecursos(CPPServidorRecursos& recursos) const {
  auto sessao = PPRegistroSessao<_REG_VARMO_INICIALIZAPS>(m_strEmpresa, m_usUsuario, m_lSessao);
  sessao.cInicializarCompleto = 1;
  const HRESULT hr = recursos.Inicializa(sessao, 0);
  return FAILED(hr) ? hr : S_OK;
}

HRESULT CPPServidorOP::GravaRecursosNaoApontados(uint16_t usMesAno, const std::vector<uint32_t>& registrosProcesso,
                                                 PPDiscoApontamento& apontamento) {
  CPPServidorRecursos recursos;
  if (HRESULT hr = IniciaRecursos(recursos)) return hr;
  std::vector<PPDiscoApontamentoRecurso> registros;
  {
    Arquivos arquivos;
    if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
    arquivos.SetArquivos(Arquivos::kArqProcesso | Arquivos::kArqRP);
    if (HRESULT hr = arquivos.SetModo(usMesAno, 'L')) return hr;
    for (uint32_t ulRegistroProcesso : registrosProcesso) {
      PPDiscoProcesso processo;
      if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqProcesso, ulRegistroProcesso, &processo)) return hr;
      const HRESULT hr = PPPercorreSequenciaOP<PPDiscoRecursoProcesso>(
          arquivos.m_arqRP, processo.ulPrimeiroRecurso, processo.usQuantidadeRecursos,
          [&](const PPDiscoRecursoProcesso& planejado) {
            PPDiscoApontamentoRecurso disco{};
            disco.lPonteiroProcesso = processo.lPonteiroProcesso;
            disco.lPonteiroRecurso = planejado.lPonteiroRecurso;
            disco.cDesconsiderarTempos = planejado.cDesconsiderarTempos;
            if (HRESULT hrCadastro = CompletaDoCadastro(recursos, disco)) return hrCadastro;
            registros.push_back(disco);
            return S_OK;
          });
      if (hr) return hr;
    }
    if (HRESULT hr = arquivos.Fecha()) return hr;
  }
  if (registros.empty()) return S_OK;
  if (registros.size() > UINT16_MAX) return PPErroHResult(kPPErroArgumentoInvalido);
  uint32_t primeiro = 0;
  if (HRESULT hr = PPAnexaRegistros(CaminhoArquivo(PPArquivoPeriodoOP::AR, usMesAno), sizeof(PPDiscoApontamentoRecurso),
                                    reinterpret_cast<const uint8_t*>(registros.data()),
                                    static_cast<uint32_t>(registros.size()), &primeiro))
    return hr;
  apontamento.ulPrimeiroRecursoNaoApontado = primeiro;
  apontamento.usQtdRecursosNaoApontados = static_cast<uint16_t>(registros.size());
  return S_OK;
}

HRESULT CPPServidorOP::GravaApontamentosRecurso(uint16_t usMesAno, uint16_t usQtd,
                                                const _REG_PP_APONTAMENTO_RECURSOPS* pRegPS, uint32_t* pulPrimeiro) {
  *pulPrimeiro = 0;
  if (usQtd == 0) return S_OK;
  if (HRESULT hr = VerificaRecursos(usQtd, pRegPS)) return hr;
  CPPServidorRecursos recursos;
  if (HRESULT hr = IniciaRecursos(recursos)) return hr;
  // Every resource and operation is read before the first record is written: an unknown one
  // refuses the list whole and leaves the month's files as they were.
  std::vector<PPDiscoApontamentoRecurso> registros(usQtd);
  for (uint16_t i = 0; i < usQtd; ++i) {
    PPConverteParaDisco(pRegPS[i], registros[i]);
    if (HRESULT hr = CompletaDoCadastro(recursos, registros[i])) return hr;
    for (uint16_t j = 0; j < pRegPS[i].usQuantidadeApontamentoOperacao; ++j) {
      uint8_t cTipo = 0;
      if (HRESULT hr = TipoOperacao(pRegPS[i].pregOperacoes[j].ulPonteiroOperacaoProducao, &cTipo)) return hr;
    }
  }
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqApontamentoRecurso | Arquivos::kArqAO | Arquivos::kArqIE);
  if (HRESULT hr = arquivos.SetModo(usMesAno, 'G')) return hr;
  for (uint16_t i = 0; i < usQtd; ++i) {
    if (HRESULT hr = GravaOperacoesRecurso(arquivos, recursos, pRegPS[i], registros[i])) return hr;
  }
  if (HRESULT hr = AnexaSequencia(arquivos.m_arqApontamentoRecurso, registros, pulPrimeiro)) return hr;
  return arquivos.Fecha();
}

HRESULT CPPServidorOP::TipoOperacao(uint32_t ulPonteiroOperacao, uint8_t* pcTipo) {
  CPPDadosOperacaoProducao dados;
  if (int32_t hr = m_buffer.LeBufferOperacao(static_cast<int32_t>(ulPonteiroOperacao), &dados); FAILED(hr)) return hr;
  *pcTipo = static_cast<uint8_t>(dados.GetTipoOperacao());
  return S_OK;
}

HRESULT CPPServidorOP::GravaOperacoesRecurso(CPPArquivosOP& arquivos, CPPServidorRecursos& recursos,
                                             const _REG_PP_APONTAMENTO_RECURSOPS& recurso,
                                             PPDiscoApontamentoRecurso& disco) {
  const uint16_t usQtd = recurso.usQuantidadeApontamentoOperacao;
  if (usQtd == 0) return S_OK;
  std::vector<PPDiscoOperacaoRecurso> operacoes(usQtd);
  for (uint16_t i = 0; i < usQtd; ++i) {
    const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao = recurso.pregOperacoes[i];
    PPDiscoOperacaoRecurso& registro = operacoes[i];
    registro.ulPonteiroOperacaoProducao = operacao.ulPonteiroOperacaoProducao;
    registro.usDataApontamentoInicial = operacao.usDataApontamentoInicial;
    registro.usHoraApontamentoInicial = operacao.usHoraApontamentoInicial;
    registro.usDataApontamentoFinal = operacao.usDataApontamentoFinal;
    registro.usHoraApontamentoFinal = operacao.usHoraApontamentoFinal;
    uint8_t cTipo = 0;
    if (HRESULT hr = TipoOperacao(operacao.ulPonteiroOperacaoProducao, &cTipo)) return hr;
    registro.cTipoOperacaoProducao = cTipo;
    if (HRESULT hr = GravaContadoresOperacao(arquivos, recursos, recurso.lPonteiroRecurso, operacao, registro))
      return hr;
    if (HRESULT hr = GravaQuantidadesOperacao(arquivos, operacao, registro)) return hr;
    if (HRESULT hr = GravaIntervalosOperacao(arquivos, operacao, registro)) return hr;
    if (HRESULT hr = GravaDetalhesOperacao(arquivos, operacao, registro)) return hr;
  }
  uint32_t primeiro = 0;
  if (HRESULT hr = AnexaSequencia(arquivos.m_arqAO, operacoes, &primeiro)) return hr;
  disco.ulPrimeiraOperacao = primeiro;
  disco.usQuantidadeApontamentoOperacao = usQtd;
  return S_OK;
}

HRESULT CPPServidorOP::GravaContadoresOperacao(CPPArquivosOP& arquivos, CPPServidorRecursos& recursos,
                                               int32_t lPonteiroRecurso,
                                               const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao,
                                               PPDiscoOperacaoRecurso& disco) {
  if (!Reporta(operacao.cApontaContador, operacao.usQuantApontamentoContador, operacao.pregContadores)) return S_OK;
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS& contador = operacao.pregContadores[0];
  PPDiscoContadorOperacao registro{};
  registro.vContadorInicial = contador.vContadorInicial;
  registro.vContadorFinal = contador.vContadorFinal;
  registro.ulPonteiroUnidadeMedida = contador.ulPonteiroUnidadeMedida;
  registro.usNumeroDigitos = contador.usNumeroDigitos;
  PPCopiaCampoDisco(registro.szNomeInicial, PPTextoCampo(contador.szNomeInicial));
  PPCopiaCampoDisco(registro.szNomeFinal, PPTextoCampo(contador.szNomeFinal));
  registro.cUnidadeProdutoServico = contador.cUnidadeProdutoServico;
  registro.cAtualizarContadorRecurso = contador.cAtualizarContadorRecurso;
  uint32_t ulRegistro = 0;
  if (HRESULT hr = AnexaEntrada(arquivos.m_arqAC, registro, &ulRegistro)) return hr;
  disco.ulRegistroContador = ulRegistro;
  disco.cApontaContador = 1;
  if (!contador.cAtualizarContadorRecurso) return S_OK;
  if (contador.vContadorInicial.int64 <= 0 && contador.vContadorFinal.int64 <= 0) return S_OK;
  _REG_PP_ATUALIZA_CONTADOR_RECURSOPS atualizacao{};
  atualizacao.vContador = contador.vContadorFinal;
  const HRESULT hr = recursos.AtualizaContador(static_cast<uint32_t>(lPonteiroRecurso), atualizacao);
  return FAILED(hr) ? hr : S_OK;
}

HRESULT CPPServidorOP::GravaQuantidadesOperacao(CPPArquivosOP& arquivos,
                                                const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao,
                                                PPDiscoOperacaoRecurso& disco) {
  if (!Reporta(operacao.cApontaQuantidade, operacao.usQuantApontamentoQuantidade, operacao.pregQuantidades))
    return S_OK;
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS& quantidade = operacao.pregQuantidades[0];
  PPDiscoQuantidadeOperacao registro{};
  registro.vQuantidade = quantidade.vQuantidade;
  registro.ulPonteiroUnidadeMedida = quantidade.ulPonteiroUnidadeMedida;
  registro.cUnidadeProdutoServico = quantidade.cUnidadeProdutoServico;
  uint32_t ulRegistro = 0;
  if (HRESULT hr = AnexaEntrada(arquivos.m_arqAQ, registro, &ulRegistro)) return hr;
  disco.ulRegistroQuantidade = ulRegistro;
  disco.cApontaQuantidade = 1;
  return S_OK;
}

HRESULT CPPServidorOP::GravaIntervalosOperacao(CPPArquivosOP& arquivos,
                                               const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao,
                                               PPDiscoOperacaoRecurso& disco) {
  if (!Reporta(operacao.cApontaIntervalo, operacao.usQuantApontamentoIntervalo, operacao.pregIntervalos))
    return S_OK;
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS& intervalo = operacao.pregIntervalos[0];
  PPDiscoIntervaloOperacao registro{};
  registro.vValorInicial = intervalo.vValorInicial;
  registro.vValorFinal = intervalo.vValorFinal;
  registro.ulPonteiroUnidadeMedida = intervalo.ulPonteiroUnidadeMedida;
  registro.usDataInicial = intervalo.usDataInicial;
  registro.usDataFinal = intervalo.usDataFinal;
  registro.usHoraInicial = intervalo.usHoraInicial;
  registro.usHoraFinal = intervalo.usHoraFinal;
  registro.cUnidadeProdutoServico = intervalo.cUnidadeProdutoServico;
  uint32_t ulRegistro = 0;
  if (HRESULT hr = AnexaEntrada(arquivos.m_arqAI, registro, &ulRegistro)) return hr;
  disco.ulRegistroIntervalo = ulRegistro;
  disco.cApontaIntervalo = 1;
  return S_OK;
}

HRESULT CPPServidorOP::GravaDetalhesOperacao(CPPArquivosOP& arquivos,
                                             const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao,
                                             PPDiscoOperacaoRecurso& disco) {
  if (!Reporta(operacao.cApontaDetalhe, operacao.usQuantApontamentoDetalhe, operacao.pregDetalhes)) return S_OK;
  PPDiscoDetalheOperacao registro{};
  uint32_t ulTexto = 0;
  if (HRESULT hr = PPErroTexto(PPGravaTextoDyn(&arquivos.m_arqIE, PPTextoCampo(operacao.pregDetalhes[0].szDetalhe),
                                               &ulTexto)))
    return hr;
  registro.ulTextoDetalhe = ulTexto;
  uint32_t ulRegistro = 0;
  if (HRESULT hr = AnexaEntrada(arquivos.m_arqAD, registro, &ulRegistro)) return hr;
  disco.ulRegistroDetalhe = ulRegistro;
  disco.cApontaDetalhe = 1;
  return S_OK;
}

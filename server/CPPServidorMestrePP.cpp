#include "server/CPPServidorMestrePP.h"

#include "foundation/CQVArqMarca.h"
#include "foundation/QVCaminho.h"
#include "server/CPPNomesArquivos.h"

// The converters come group by group; until a group has its own, old files of the group are
// refused with 1615.
const PPTabelaConversores kPPConversoresVersao = {{
    {kPPGrupoMestre, nullptr},            // CPPAtualizaVersaoMestre
    {kPPGrupoTipoOP, nullptr},            // CPPAtualizaVersaoTipoOP
    {kPPGrupoFluxoProcesso, nullptr},     // CPPAtualizaVersaoFluxoProcesso
    {kPPGrupoOperacaoProducao, nullptr},  // CPPAtualizaVersaoOperacaoProducao
    {kPPGrupoFichaTecnica, nullptr},      // CPPAtualizaVersaoFichaTecnica
    {kPPGrupoOrdemProducao, nullptr},     // CPPAtualizaVersaoOP
    {kPPGrupoRecurso, nullptr},           // CPPAtualizaVersaoRecurso
    {kPPGrupoPlanoManutencao, nullptr},   // CPPAtualizaVersaoPlanoManutencao
    {kPPGrupoGestaoManutencao, nullptr},  // CPPAtualizaVersaoGestaoManutencao
    {kPPGrupoColecao, nullptr},           // CPPAtualizaVersaoColecao
    {kPPGrupoMotivoRefugo, nullptr},      // CPPAtualizaVersaoMotivoRefugo
    {kPPGrupoMetasProducao, nullptr},     // CPPAtualizaVersaoMetasProducao
    {kPPGrupoTipoRecurso, nullptr},       // CPPAtualizaVersaoTipoRecurso
}};

namespace {

// The lock gives a message number, or an HRESULT of an unexpected system error as it is.
HRESULT HResultMarca(int erro) { return erro < 0 ? static_cast<HRESULT>(erro) : PPErroHResult(static_cast<uint32_t>(erro)); }

}  // namespace

HRESULT CPPServidorMestrePP::DefineSessao(const _REG_VARMO_INICIALIZAPS& regPS) {
  m_strEmpresa = CString(regPS.szEmpresa, static_cast<int>(sizeof regPS.szEmpresa));
  m_usUsuario = regPS.usUsuario;
  m_lSessao = regPS.lNumeroSessao;
  m_strDiretorio = CPPNomesArquivos::GetDiretorioDados(m_strEmpresa);
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  m_strArquivoPrincipal = m_strDiretorio + CPPNomesArquivos::ArqMestre();
  m_strArquivoInfApontExternoFiliais = m_strDiretorio + CPPNomesArquivos::ArqMestreInfApontExternoFilial();
  m_strArquivoVersao = m_strDiretorio + CPPNomesArquivos::ArqVersao();
  return S_OK;
}

HRESULT CPPServidorMestrePP::ResolveDiarioAtualizacao() { return ResolveDiarioAtualizacao(kPPConversoresVersao); }

HRESULT CPPServidorMestrePP::ResolveDiarioAtualizacao(const PPTabelaConversores& conversores) {
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  if (!QVExisteArquivo(PPArquivoDiarioAtualizacao(m_strDiretorio))) return S_OK;
  // A process that still converts holds the lock: the journal is its own until it lets go.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaMestre)) return HResultMarca(erro);
  return PPResolveDiarioAtualizacao(m_strEmpresa, m_usUsuario, conversores);
}

HRESULT CPPServidorMestrePP::CriaArquivoVersao() {
  int32_t registros = 0;
  if (SUCCEEDED(QVGetQuantidadeRegistrosArquivo(m_strArquivoVersao, kPPTamanhoRegistroVersao, &registros)) &&
      registros >= static_cast<int32_t>(kPPRegistroVersao))
    return S_OK;

  // Two first sessions of a company take turns here, so that record 1 and its audit record are
  // written once; the file is never emptied, so a record another process wrote is kept.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaMestre)) return HResultMarca(erro);
  CPPArquivoAtualizacao arquivo;
  // The file is made again whenever it is missing, with the targets, so the control file need not
  // watch it.
  arquivo.SetUsaArquivoControle(false);
  if (int erro = arquivo.Abre(m_strArquivoVersao, 'G', kPPTamanhoRegistroVersao, true, true))
    return PPErroHResult(static_cast<uint32_t>(erro));
  if (arquivo.GetQuantidadeRegistros() >= static_cast<int32_t>(kPPRegistroVersao)) return S_OK;

  PPRegistroVersao registro{};
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) registro.usVersao[grupo] = kPPVersoesAlvo[grupo];
  registro.usVersaoOrvel = kPPVersaoOrvel;
  uint16_t hoje = 0;
  if (HRESULT hr = PPDiaAtual(&hoje); FAILED(hr)) return hr;
  registro.usDataCriacao = hoje;
  uint32_t numero = kPPRegistroVersao;
  if (int erro = arquivo.Grava(&registro, &numero)) return PPErroHResult(static_cast<uint32_t>(erro));
  arquivo.Fecha();
  PPGravaHistoricoVersao(m_strArquivoVersao, registro, m_usUsuario, m_lSessao, kPPHistoricoInclusao);
  return S_OK;
}

HRESULT CPPServidorMestrePP::AtualizaVersaoArquivos() { return AtualizaVersaoArquivos(kPPConversoresVersao); }

HRESULT CPPServidorMestrePP::AtualizaVersaoArquivos(const PPTabelaConversores& conversores) {
  if (HRESULT hr = ResolveDiarioAtualizacao(conversores); FAILED(hr)) return hr;

  // 1. The record as it stands.
  CPPArquivoAtualizacao arquivo;
  PPRegistroVersao registro{};
  if (int erro = arquivo.LeRegistro(m_strArquivoVersao, kPPRegistroVersao, &registro, kPPTamanhoRegistroVersao))
    return PPErroHResult(static_cast<uint32_t>(erro));

  // 2. The family's version of the data.
  if (registro.usVersaoOrvel < kPPVersaoOrvel) {
    uint16_t hoje = 0;
    if (HRESULT hr = PPDiaAtual(&hoje); FAILED(hr)) return hr;
    registro.usVersaoOrvel = kPPVersaoOrvel;
    registro.usDataUltimaConversao = hoje;
    uint32_t numero = kPPRegistroVersao;
    if (int erro = arquivo.GravaRegistro(m_strArquivoVersao, &registro, kPPTamanhoRegistroVersao, &numero, true))
      return PPErroHResult(static_cast<uint32_t>(erro));
    PPGravaHistoricoVersao(m_strArquivoVersao, registro, m_usUsuario, 0, kPPHistoricoAlteracao);
  }

  // 3, 4. Nothing to convert, or data newer than the program.
  bool bTodosNoAlvo = true;
  bool bAlgumAcima = false;
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) {
    const uint16_t versao = registro.usVersao[grupo];
    bTodosNoAlvo = bTodosNoAlvo && versao == kPPVersoesAlvo[grupo];
    bAlgumAcima = bAlgumAcima || versao > kPPVersoesAlvo[grupo];
  }
  if (bTodosNoAlvo) return S_OK;
  if (bAlgumAcima) return PPErroHResult(kPPErroVersaoMaisNova);

  // 5. Under the lock, the record again: a process that converted meanwhile has raised the slots.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaMestre)) return HResultMarca(erro);
  arquivo.InvalidaCache();
  registro = PPRegistroVersao{};
  if (int erro = arquivo.LeRegistro(m_strArquivoVersao, kPPRegistroVersao, &registro, kPPTamanhoRegistroVersao))
    return PPErroHResult(static_cast<uint32_t>(erro));

  // 6. The groups in slot order, each from its version as read; the lock goes with `marca`.
  HRESULT resultado = S_OK;
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) {
    const uint16_t versao = registro.usVersao[grupo];
    if (versao >= kPPVersoesAlvo[grupo]) continue;
    const PPCriaConversor cria = PPConversorDoGrupo(conversores, grupo);
    if (!cria) return PPErroHResult(kPPErroAtualizacaoVersao);
    resultado = cria()->Executa(m_strEmpresa, m_usUsuario, versao);
    if (FAILED(resultado)) return resultado;
  }
  return resultado;
}

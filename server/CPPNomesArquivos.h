// The catalogue of the module's data files: where a company's files lie and what they are called.
// Functions without state; the servers never spell a file name out.
//
// The names are the module's on-disk vocabulary: the fixed files of a company's data directory,
// the four-letter prefixes of the monthly period files (prefix, MMAA, ".DAT"), and the lists of the
// files of one entity that the version upgrade converts, renames or removes as a group. Each name
// stands once, in the tables below; every function reads them.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"

// Fixed files: ArqNAME() gives the file name.
#define PP_ARQUIVOS_FIXOS(X)                             \
  X(Mestre, "PPMESTRE.DAT")                              \
  X(MestreInfApontExternoFilial, "PPMSIAEF.DAT")         \
  X(Versao, "PPVERSAO.DAT")                              \
  X(Calendario, "PPCALEND.DAT")                          \
  X(CalendarioMesAno, "PPCALEMA.DAT")                    \
  X(CalendarioData, "PPCALDAT.DAT")                      \
  X(Secao, "PPSECAOP.DAT")                               \
  X(TipoOPCabecalho, "PPTOPCAB.DAT")                     \
  X(TipoOPUsuario, "PPTOPUSU.DAT")                       \
  X(Processo, "PPPROCES.DAT")                            \
  X(ProcessoObservacao, "PPPRCOBS.DAT")                  \
  X(ProcessoRecurso, "PPPRCREC.DAT")                     \
  X(FluxoCabecalho, "PPFLXCAB.DAT")                      \
  X(FluxoProcesso, "PPFLXPRO.DAT")                       \
  X(FichaTecnicaCabecalho, "PPFTCABE.DAT")               \
  X(FichaTecnicaProcesso, "PPFTPROC.DAT")                \
  X(FichaTecnicaProduto, "PPFTPROD.DAT")                 \
  X(FichaTecnicaDTPC, "PPFTDTPC.DAT")                    \
  X(FichaTecnicaPTLR, "PPFTPTLR.DAT")                    \
  X(FichaTecnicaPPFT, "PPFTPPFT.DAT")                    \
  X(FichaTecnicaPNFT, "PPFTPNFT.DAT")                    \
  X(FichaTecnicaGradeProduto, "PPFTGRPR.DAT")            \
  X(OperacaoProducaoCabecalho, "PPOPPCAB.DAT")           \
  X(OperacaoProducaoDetalhe, "PPOPPDET.DAT")             \
  X(FichaTecnicaEtiqueta, "PPFTETQT.DAT")                \
  X(FichaTecnicaELAY, "PPFTELAY.DAT")                    \
  X(Recurso, "PPRECURS.DAT")                             \
  X(RecursoDetalhe, "PPRECDET.DAT")                      \
  X(RecursoHistoricoContador, "PPRCHSCN.DAT")            \
  X(PlanoManutencao, "PPPLNMNT.DAT")                     \
  X(PlanoManutencaoDT, "PPPLMNDT.DAT")                   \
  X(PlanoManutencaoComponente, "PPPLMNCO.DAT")           \
  X(PlanoManutencaoCODS, "PPPMCODS.DAT")                 \
  X(Colecao, "PPCOLCAO.DAT")                             \
  X(MotivoRefugo, "PPMOTREF.DAT")                        \
  X(TipoRecurso, "PPTIPREC.DAT")                         \
  X(TipoRecursoTXDT, "PPTRTXDT.DAT")                     \
  X(TipoRecursoOperacao, "PPTROPRC.DAT")                 \
  X(TipoRecursoContador, "PPTRCONT.DAT")                 \
  X(TipoRecursoQuantidade, "PPTRQTDA.DAT")               \
  X(TipoRecursoIntervalo, "PPTRINTV.DAT")                \
  X(TipoRecursoDetalhe, "PPTRDETL.DAT")

// Period files: PrefixoNAME() gives the four-letter prefix.
#define PP_PREFIXOS_PERIODO(X)         \
  X(OP, "PPOP")                        \
  X(OPItem, "PPIT")                    \
  X(OPProcesso, "PPPR")                \
  X(OPInsumo, "PPMT")                  \
  X(OPRP, "PPRP")                      \
  X(OPIP, "PPIP")                      \
  X(ProcessoEtiqueta, "PPPE")          \
  X(EtiquetaEmitida, "PPEE")           \
  X(Apontamento, "PPAP")               \
  X(OPAS, "PPAS")                      \
  X(RetornoIndExterna, "PPRI")         \
  X(ApontamentoRecurso, "PPAR")        \
  X(MovtoApontamento, "PPME")          \
  X(LoteMovimento, "PPLT")             \
  X(OPTI, "PPTI")                      \
  X(OPIO, "PPIO")                      \
  X(OPUP, "PPUP")                      \
  X(OPTA, "PPTA")                      \
  X(NotaFiscal, "PPNF")                \
  X(RemessaIndustrializacao, "PPRM")   \
  X(OPIR, "PPIR")                      \
  X(Necessidade, "PPNC")               \
  X(OPIE, "PPIE")                      \
  X(OPIN, "PPIN")                      \
  X(OPID, "PPID")                      \
  X(OPRA, "PPRA")                      \
  X(OPAO, "PPAO")                      \
  X(OPAC, "PPAC")                      \
  X(OPAQ, "PPAQ")                      \
  X(OPAI, "PPAI")                      \
  X(OPAD, "PPAD")                      \
  X(OPNA, "PPNA")                      \
  X(MetasProducao, "PPMP")             \
  X(Manutencao, "PPMN")                \
  X(ManutencaoML, "PPML")              \
  X(ManutencaoMD, "PPMD")              \
  X(ManutencaoMC, "PPMC")              \
  X(ManutencaoCC, "PPCC")

// Lists: ListaNAME(array) empties the array and appends the entries in this order. Entries name
// fixed files (Arq) or prefixes (Prefixo) of the tables above.
#define PP_LISTAS(X)                                                                           \
  X(ArquivosMestre, Arq(Mestre) Arq(MestreInfApontExternoFilial) Arq(Versao))                  \
  X(ArquivosTipoOP, Arq(TipoOPCabecalho) Arq(TipoOPUsuario))                                   \
  X(ArquivosFluxo, Arq(FluxoCabecalho) Arq(FluxoProcesso))                                     \
  X(ArquivosFichaTecnica, Arq(FichaTecnicaCabecalho) Arq(FichaTecnicaProcesso)                 \
    Arq(FichaTecnicaProduto) Arq(FichaTecnicaDTPC) Arq(FichaTecnicaPTLR) Arq(FichaTecnicaPPFT) \
    Arq(FichaTecnicaPNFT) Arq(FichaTecnicaGradeProduto) Arq(FichaTecnicaEtiqueta)              \
    Arq(FichaTecnicaELAY))                                                                     \
  X(ArquivosOperacaoProducao, Arq(OperacaoProducaoCabecalho) Arq(OperacaoProducaoDetalhe))     \
  X(ArquivosColecao, Arq(Colecao))                                                             \
  X(ArquivosMotivoRefugo, Arq(MotivoRefugo))                                                   \
  X(ArquivosRecursos, Arq(Recurso) Arq(RecursoDetalhe) Arq(RecursoHistoricoContador))          \
  X(ArquivosPlanoManutencao, Arq(PlanoManutencao) Arq(PlanoManutencaoDT)                       \
    Arq(PlanoManutencaoComponente) Arq(PlanoManutencaoCODS))                                   \
  X(ArquivosTipoRecurso, Arq(TipoRecurso) Arq(TipoRecursoTXDT) Arq(TipoRecursoOperacao)        \
    Arq(TipoRecursoContador) Arq(TipoRecursoQuantidade) Arq(TipoRecursoIntervalo)              \
    Arq(TipoRecursoDetalhe))                                                                   \
  X(PrefixosOP, Pre(OP) Pre(OPProcesso) Pre(OPInsumo) Pre(OPRP) Pre(OPItem) Pre(Apontamento)   \
    Pre(OPAS) Pre(ApontamentoRecurso) Pre(RetornoIndExterna) Pre(OPTI) Pre(OPIO) Pre(OPTA)     \
    Pre(OPUP) Pre(MovtoApontamento) Pre(LoteMovimento) Pre(OPIE) Pre(RemessaIndustrializacao)  \
    Pre(OPIR) Pre(OPID) Pre(OPIP) Pre(OPIN) Pre(ProcessoEtiqueta) Pre(EtiquetaEmitida)         \
    Pre(Necessidade) Pre(OPNA) Pre(NotaFiscal) Pre(OPRA) Pre(OPAO) Pre(OPAC) Pre(OPAQ)         \
    Pre(OPAI) Pre(OPAD))                                                                       \
  X(PrefixosManutencao, Pre(Manutencao) Pre(ManutencaoML) Pre(ManutencaoMD) Pre(ManutencaoMC)  \
    Pre(ManutencaoCC))                                                                         \
  X(PrefixosMetas, Pre(MetasProducao))

class CPPNomesArquivos {
 public:
#define PP_DECLARA_ARQUIVO(nome, texto) static CString Arq##nome();
  PP_ARQUIVOS_FIXOS(PP_DECLARA_ARQUIVO)
#undef PP_DECLARA_ARQUIVO
#define PP_DECLARA_PREFIXO(nome, texto) static CString Prefixo##nome();
  PP_PREFIXOS_PERIODO(PP_DECLARA_PREFIXO)
#undef PP_DECLARA_PREFIXO
#define PP_DECLARA_LISTA(nome, entradas) static void Lista##nome(CStringArray& lista);
  PP_LISTAS(PP_DECLARA_LISTA)
#undef PP_DECLARA_LISTA

  // The company's production-planning data directory (the registry value "PP" under the company's
  // key, with a trailing backslash); empty when the company is not registered, which callers report
  // as PPErroHResult(975).
  static CString GetDiretorioDados(const char* empresa);

  // The full path of a period file: the data directory, the prefix, MMAA of the month number and
  // ".DAT". With an unregistered company, the bare file name.
  static CString MontaCaminhoArquivoPeriodo(const char* empresa, const char* prefixo, uint16_t usMesAno);
  // The directory and prefix, already joined, followed by MMAA of the month number and ".DAT".
  static CString MontaNomeArquivoPeriodo(const char* diretorioEPrefixo, uint16_t usMesAno);
};

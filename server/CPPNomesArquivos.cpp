#include "server/CPPNomesArquivos.h"

#include "foundation/QVCaminho.h"
#include "foundation/QVInstalacao.h"
#include "foundation/QVSistema.h"
#include "server/PPTextosStatus.h"

#define PP_DEFINE_ARQUIVO(nome, texto) \
  CString CPPNomesArquivos::Arq##nome() { return texto; }
PP_ARQUIVOS_FIXOS(PP_DEFINE_ARQUIVO)
#undef PP_DEFINE_ARQUIVO

#define PP_DEFINE_PREFIXO(nome, texto) \
  CString CPPNomesArquivos::Prefixo##nome() { return texto; }
PP_PREFIXOS_PERIODO(PP_DEFINE_PREFIXO)
#undef PP_DEFINE_PREFIXO

#define Arq(nome) lista.Add(Arq##nome());
#define Pre(nome) lista.Add(Prefixo##nome());
#define PP_DEFINE_LISTA(nome, entradas)                  \
  void CPPNomesArquivos::Lista##nome(CStringArray& lista) { \
    lista.RemoveAll();                                   \
    entradas                                             \
  }
PP_LISTAS(PP_DEFINE_LISTA)
#undef PP_DEFINE_LISTA
#undef Pre
#undef Arq

CString CPPNomesArquivos::GetDiretorioDados(const char* empresa) { return QVGetDiretorioEmpresa(kQVSistemaPP, empresa); }

CString CPPNomesArquivos::MontaCaminhoArquivoPeriodo(const char* empresa, const char* prefixo, uint16_t usMesAno) {
  return MontaNomeArquivoPeriodo(QVConcatenaCaminho(GetDiretorioDados(empresa), prefixo), usMesAno);
}

CString CPPNomesArquivos::MontaNomeArquivoPeriodo(const char* diretorioEPrefixo, uint16_t usMesAno) {
  return CString(diretorioEPrefixo) + PPSufixoPeriodo(usMesAno) + ".DAT";
}

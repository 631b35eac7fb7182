// The stand-ins of the base system's smaller registers that this system reads: the charts of
// accounts (IQVDF_Plano), requesters (IQVDF_Requerente), municipalities (IQVDF_Municipio),
// supplementary-information categories (IQVDF_CTG), messages (IQVDF_Mensagem), holidays
// (IQVDF_Feriado), the short form of sales invoices (IQVDF_NotasFiscais) and the barcode structures
// (IQVDF_EstrCodBar). Each keeps its records in tables (TabelaFamilia) of the company's DF
// directory, read fresh by every call:
//
//   PLANOG.DAT, PLANOC.DAT   _RegContaPS (204) of the management ('G') and ledger ('C') chart, by
//                            account number (lIndCon); an object serves the chart of its
//                            initialisation, never the other
//   PLCFGG.DAT, PLCFGC.DAT   each chart's settings, one _REG_DF_CONFIGURACAO_PLANOPS (770)
//   REQUER.DAT, REQUSU.DAT   tagREG_REQUERENTEPS (116) by lPosicao; the requesters of each branch
//                            and user (RequerenteUsuarioDF)
//   MUNICIP.DAT, MENSAG.DAT, CATEGOR.DAT
//                            _REG_MUNICIPIO_PS (74), _REG_MENSAGEMPS (524), _REG_CATEGORIAS_PS (80),
//                            whose pointers are their places in the file from 1
//   FERTAB.DAT, FERIADOS.DAT the holiday tables (numbers) and their holidays (FeriadoDF), in order
//   NOTASFIS.DAT             NotaFiscalDF: the short form of an invoice under its key
//
// but the barcode structures, whose server is given no company: they belong to the installation
// and lie in ESTRCODB.DAT (_REG_ESTRUTURA_CODIGO_BARRASPS, 82, pointer = place from 1) of its
// registers directory, the value "Cadastros" under HKEY_LOCAL_MACHINE "SOFTWARE\QV Rivovoda"
// (without it, kFamiliaSemDiretorio).
//
// A pointer, key, code or table that they do not hold is kFamiliaNaoEncontrado, never an empty
// record; a failed call leaves the caller's outputs as they were (lists are emptied first); arrays
// come from the task allocator. They keep none of the base system's rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/family/base/InterfacesBase.h"
#include "platform/family/comum/ServidorFamilia.h"

#pragma pack(push, 1)
// A requester of a branch and user.
struct RequerenteUsuarioDF {
  uint16_t usPonteiroFilial;
  uint16_t usUsuario;
  int32_t lPosicao;  // the requester
};
static_assert(sizeof(RequerenteUsuarioDF) == 8);
// A holiday of a holiday table.
struct FeriadoDF {
  uint16_t usTabela;
  __MIDL___MIDL_itf_Yarvo_0000_0002 regFeriado;
};
static_assert(sizeof(FeriadoDF) == 38);
// The short form of an invoice under its key.
struct NotaFiscalDF {
  uint32_t ulChave;
  tagREG_NOTA_LIGHTPS regNota;
};
static_assert(sizeof(NotaFiscalDF) == 1302);
#pragma pack(pop)

// What the invoice server's callers pass as the light reading's option.
constexpr int32_t kNotaFiscalLight = 3592;
// What the category server's callers pass to select every category.
constexpr int32_t kCategoriasTodas = 88;

class QVDF_Plano : public ObjetoFamilia<IQVDF_Plano> {
 public:
  using ObjetoFamilia::ObjetoFamilia;
  HRESULT Inicializa(_REG_DF_INICIALIZA_PLANOPS regInicializa) override;
  HRESULT Le(int32_t lConta, _RegContaPS* pRegConta) override;
  HRESULT LeConfiguracao(_REG_DF_CONFIGURACAO_PLANOPS* pRegConfiguracao) override;
  HRESULT BuscaQuantidade(int32_t* plQuantidade) override;
  HRESULT Existe(BSTR bsCodigo, int32_t* plConta, _RegContaPS* pRegConta) override;
  HRESULT Prepara(int32_t lReservado1, int32_t lReservado2) override;
  HRESULT Abre() override;

 private:
  std::string Arquivo(const char* prefixo) const;
  char plano_ = 0;
};

class QVDF_Requerente : public ObjetoRegistroSessao<IQVDF_Requerente, _REG_DF_INICIALIZA_REQUERENTEPS> {
 public:
  using ObjetoRegistroSessao::ObjetoRegistroSessao;
  HRESULT Le(int32_t lPosicao, tagREG_REQUERENTEPS* pRegRequerente) override;
  HRESULT BuscaPorUsuario(_REG_DF_FILTRO_REQUERENTEPS regFiltro, _REG_DF_LISTA_REQUERENTESPS* pregLista) override;
};

class QVDF_Municipio : public ObjetoEmpresaUsuarioSessao<IQVDF_Municipio> {
 public:
  using ObjetoEmpresaUsuarioSessao::ObjetoEmpresaUsuarioSessao;
  HRESULT Le(int32_t lPonteiro, _REG_MUNICIPIO_PS* pRegMunicipio) override;
  HRESULT BuscaQuantidade(uint16_t* pusQuantidade) override;
};

class QVDF_CTG : public ObjetoRegistroSessao<IQVDF_CTG, _REG_DF_INICIALIZA_CTGPS> {
 public:
  using ObjetoRegistroSessao::ObjetoRegistroSessao;
  HRESULT BuscaPonteiros(BSTR bsCodigo, BSTR bsDescricao, int32_t lOpcao, int32_t* plQuantidade,
                         int32_t** pplPonteiros) override;
  HRESULT LeRegistros(int32_t lQuantidade, int32_t* plPonteiros, int32_t* plQuantidadeRegistros,
                      _REG_CATEGORIAS_PS** ppRegCategorias) override;
};

class QVDF_Mensagem : public ObjetoEmpresaUsuarioSessao<IQVDF_Mensagem> {
 public:
  using ObjetoEmpresaUsuarioSessao::ObjetoEmpresaUsuarioSessao;
  HRESULT Le(int32_t lPonteiro, _REG_MENSAGEMPS* pRegMensagem) override;
};

class QVDF_Feriado : public ObjetoFamilia<IQVDF_Feriado> {
 public:
  using ObjetoFamilia::ObjetoFamilia;
  HRESULT Inicializa(BSTR bsEmpresa) override;
  HRESULT SelecionaTabela(int32_t lTabela) override;
  HRESULT BuscaQuantidade(int32_t* plQuantidade) override;
  HRESULT Le(int32_t lPrimeiro, int32_t lQuantidade, __MIDL___MIDL_itf_Yarvo_0000_0002* pRegFeriados) override;

 private:
  // The holidays of the selected table; kFamiliaNaoEncontrado before a selection.
  HRESULT Feriados(std::vector<__MIDL___MIDL_itf_Yarvo_0000_0002>& feriados) const;
  int32_t tabela_ = 0;  // 0: none selected
};

class QVDF_EstrCodBar : public ObjetoFamilia<IQVDF_EstrCodBar> {
 public:
  using ObjetoFamilia::ObjetoFamilia;
  HRESULT Inicializa() override;
  HRESULT Le(int32_t lPonteiro, _REG_ESTRUTURA_CODIGO_BARRASPS* pRegEstrutura) override;
};

class QVDF_NotasFiscais : public ObjetoRegistroSessao<IQVDF_NotasFiscais, _REG_DF_INICIALIZA_NOTASFISCAISPS> {
 public:
  using ObjetoRegistroSessao::ObjetoRegistroSessao;
  HRESULT LeLight(uint32_t ulChave, tagREG_NOTA_LIGHTPS* pRegNota, int32_t lOpcao) override;
};

// The seeding of a company's tables (each replaced): S_OK, kFamiliaSemDiretorio, or the file's
// error as an HRESULT; a chart letter other than 'G' and 'C' is E_INVALIDARG.
HRESULT GravaContasDF(const std::string& empresa, char plano, const std::vector<_RegContaPS>& contas);
HRESULT GravaConfiguracaoPlanoDF(const std::string& empresa, char plano,
                                 const _REG_DF_CONFIGURACAO_PLANOPS& configuracao);
HRESULT GravaRequerentesDF(const std::string& empresa, const std::vector<tagREG_REQUERENTEPS>& requerentes,
                           const std::vector<RequerenteUsuarioDF>& usuarios);
HRESULT GravaMunicipiosDF(const std::string& empresa, const std::vector<_REG_MUNICIPIO_PS>& municipios);
HRESULT GravaCategoriasDF(const std::string& empresa, const std::vector<_REG_CATEGORIAS_PS>& categorias);
HRESULT GravaMensagensDF(const std::string& empresa, const std::vector<_REG_MENSAGEMPS>& mensagens);
// Tables without holidays are listed in `tabelas` too.
HRESULT GravaFeriadosDF(const std::string& empresa, const std::vector<uint16_t>& tabelas,
                        const std::vector<FeriadoDF>& feriados);
HRESULT GravaNotasFiscaisDF(const std::string& empresa, const std::vector<NotaFiscalDF>& notas);
// The installation's barcode structures, for every company.
HRESULT GravaEstruturasCodigoBarrasDF(const std::vector<_REG_ESTRUTURA_CODIGO_BARRASPS>& estruturas);

// The interfaces of the base system's servers (DF) that this system creates, with their class and
// interface identifiers and the records that their initialisations take by value.
//
// An interface here names its methods; it holds the ones that this system calls, in no particular
// order: the real interfaces' method numbers are not reproduced (a comment says which method of
// the real interface each one stands for). Methods beyond the initialisation arrive with the
// callers that need them. The records are packed on two bytes like every record of the family;
// every initialisation record holds the session in fields named szEmpresa (zero-terminated
// Windows-1252), usUsuario and lNumeroSessao, wherever its layout puts them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "platform/family/base/RegistrosCadastros.h"
#include "platform/family/base/RegistrosProduto.h"
#include "platform/family/base/RegistrosRequisicaoInterna.h"

#pragma pack(push, 2)

// Users: company (32 bytes), user, session.
struct _REG_DF_INICIALIZA_USUARIOPS {
  char szEmpresa[32];
  uint16_t usUsuario;
  int32_t lNumeroSessao;
};
static_assert(sizeof(_REG_DF_INICIALIZA_USUARIOPS) == 38);
static_assert(offsetof(_REG_DF_INICIALIZA_USUARIOPS, usUsuario) == 32);
static_assert(offsetof(_REG_DF_INICIALIZA_USUARIOPS, lNumeroSessao) == 34);

// Charts of accounts: laid out like the session record, with the chart's letter at 30.
struct _REG_DF_INICIALIZA_PLANOPS {
  char szEmpresa[24];
  uint16_t usUsuario;
  int32_t lNumeroSessao;
  char cTipoPlano;  // 'G' management chart, 'C' chart of accounts
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_DF_INICIALIZA_PLANOPS) == 32);
static_assert(offsetof(_REG_DF_INICIALIZA_PLANOPS, usUsuario) == 24);
static_assert(offsetof(_REG_DF_INICIALIZA_PLANOPS, lNumeroSessao) == 26);
static_assert(offsetof(_REG_DF_INICIALIZA_PLANOPS, cTipoPlano) == 30);
constexpr char kPlanoGerencial = 'G';
constexpr char kPlanoContabil = 'C';

// Requesters: user, session, company (30 bytes).
struct _REG_DF_INICIALIZA_REQUERENTEPS {
  uint16_t usUsuario;
  int32_t lNumeroSessao;
  char szEmpresa[30];
};
static_assert(sizeof(_REG_DF_INICIALIZA_REQUERENTEPS) == 36);
static_assert(offsetof(_REG_DF_INICIALIZA_REQUERENTEPS, lNumeroSessao) == 2);
static_assert(offsetof(_REG_DF_INICIALIZA_REQUERENTEPS, szEmpresa) == 6);

// Supplementary-information categories: session, user, company (26 bytes), four bytes of the base
// system's.
struct _REG_DF_INICIALIZA_CTGPS {
  int32_t lNumeroSessao;
  uint16_t usUsuario;
  char szEmpresa[26];
  uint8_t cReservado32[4];
};
static_assert(sizeof(_REG_DF_INICIALIZA_CTGPS) == 36);
static_assert(offsetof(_REG_DF_INICIALIZA_CTGPS, usUsuario) == 4);
static_assert(offsetof(_REG_DF_INICIALIZA_CTGPS, szEmpresa) == 6);

// Invoices: company (28 bytes), user, session.
struct _REG_DF_INICIALIZA_NOTASFISCAISPS {
  char szEmpresa[28];
  uint16_t usUsuario;
  int32_t lNumeroSessao;
};
static_assert(sizeof(_REG_DF_INICIALIZA_NOTASFISCAISPS) == 34);
static_assert(offsetof(_REG_DF_INICIALIZA_NOTASFISCAISPS, usUsuario) == 28);
static_assert(offsetof(_REG_DF_INICIALIZA_NOTASFISCAISPS, lNumeroSessao) == 30);

#pragma pack(pop)

// {93B2A83E-315E-11D4-8391-00A0C9DE80D1} / {93B2A83D-315E-11D4-8391-00A0C9DE80D1}
constexpr CLSID CLSID_QVDF_Usuario = {
    0x93B2A83E, 0x315E, 0x11D4, {0x83, 0x91, 0x00, 0xA0, 0xC9, 0xDE, 0x80, 0xD1}};
constexpr IID IID_IQVDF_Usuario = {
    0x93B2A83D, 0x315E, 0x11D4, {0x83, 0x91, 0x00, 0xA0, 0xC9, 0xDE, 0x80, 0xD1}};
// {B4931BE1-B475-11D2-A079-00A0C9B6FB26} / {B4931BE0-B475-11D2-A079-00A0C9B6FB26}
constexpr CLSID CLSID_QVDF_Produto = {
    0xB4931BE1, 0xB475, 0x11D2, {0xA0, 0x79, 0x00, 0xA0, 0xC9, 0xB6, 0xFB, 0x26}};
constexpr IID IID_IQVDF_Produto = {
    0xB4931BE0, 0xB475, 0x11D2, {0xA0, 0x79, 0x00, 0xA0, 0xC9, 0xB6, 0xFB, 0x26}};
// {F124B0C2-028C-4272-93B8-34CAFE50D997} / {41883AE1-2CDB-4FB4-ACF5-EA0E6B9EF261}
constexpr CLSID CLSID_QVDF_GradesProduto = {
    0xF124B0C2, 0x028C, 0x4272, {0x93, 0xB8, 0x34, 0xCA, 0xFE, 0x50, 0xD9, 0x97}};
constexpr IID IID_IQVDF_GradesProduto = {
    0x41883AE1, 0x2CDB, 0x4FB4, {0xAC, 0xF5, 0xEA, 0x0E, 0x6B, 0x9E, 0xF2, 0x61}};
// {A7975E90-693B-11D4-B05B-00A0C99213AC} / {A7975E8F-693B-11D4-B05B-00A0C99213AC}
constexpr CLSID CLSID_QVDF_Plano = {
    0xA7975E90, 0x693B, 0x11D4, {0xB0, 0x5B, 0x00, 0xA0, 0xC9, 0x92, 0x13, 0xAC}};
constexpr IID IID_IQVDF_Plano = {
    0xA7975E8F, 0x693B, 0x11D4, {0xB0, 0x5B, 0x00, 0xA0, 0xC9, 0x92, 0x13, 0xAC}};
// {E7AB0749-7A02-45B8-89BF-BB72EFD7C9D7} / {16A90FC7-B744-42E4-8B37-870BD7E122C1}
constexpr CLSID CLSID_QVDF_Requerente = {
    0xE7AB0749, 0x7A02, 0x45B8, {0x89, 0xBF, 0xBB, 0x72, 0xEF, 0xD7, 0xC9, 0xD7}};
constexpr IID IID_IQVDF_Requerente = {
    0x16A90FC7, 0xB744, 0x42E4, {0x8B, 0x37, 0x87, 0x0B, 0xD7, 0xE1, 0x22, 0xC1}};
// {C34B1804-02FB-11D3-AE44-00A0C99213AC} / {C34B1803-02FB-11D3-AE44-00A0C99213AC}
constexpr CLSID CLSID_QVDF_Municipio = {
    0xC34B1804, 0x02FB, 0x11D3, {0xAE, 0x44, 0x00, 0xA0, 0xC9, 0x92, 0x13, 0xAC}};
constexpr IID IID_IQVDF_Municipio = {
    0xC34B1803, 0x02FB, 0x11D3, {0xAE, 0x44, 0x00, 0xA0, 0xC9, 0x92, 0x13, 0xAC}};
// {9A9B5F2A-8DDD-41D3-886E-465D1379B0B1} / {18A67E8A-F139-4C39-B03B-5C6966FB3964}
constexpr CLSID CLSID_QVDF_CTG = {
    0x9A9B5F2A, 0x8DDD, 0x41D3, {0x88, 0x6E, 0x46, 0x5D, 0x13, 0x79, 0xB0, 0xB1}};
constexpr IID IID_IQVDF_CTG = {
    0x18A67E8A, 0xF139, 0x4C39, {0xB0, 0x3B, 0x5C, 0x69, 0x66, 0xFB, 0x39, 0x64}};
// {B947CD1F-1AA8-4C8E-9328-6FE86D2B0988} / {66EAA6CC-A621-4D99-9432-963F5047A7FB}
constexpr CLSID CLSID_QVDF_EstrCodBar = {
    0xB947CD1F, 0x1AA8, 0x4C8E, {0x93, 0x28, 0x6F, 0xE8, 0x6D, 0x2B, 0x09, 0x88}};
constexpr IID IID_IQVDF_EstrCodBar = {
    0x66EAA6CC, 0xA621, 0x4D99, {0x94, 0x32, 0x96, 0x3F, 0x50, 0x47, 0xA7, 0xFB}};
// {AE7E0798-20E1-11D4-841A-00A0C9ACA673} / {AE7E0797-20E1-11D4-841A-00A0C9ACA673}
constexpr CLSID CLSID_QVDF_Mensagem = {
    0xAE7E0798, 0x20E1, 0x11D4, {0x84, 0x1A, 0x00, 0xA0, 0xC9, 0xAC, 0xA6, 0x73}};
constexpr IID IID_IQVDF_Mensagem = {
    0xAE7E0797, 0x20E1, 0x11D4, {0x84, 0x1A, 0x00, 0xA0, 0xC9, 0xAC, 0xA6, 0x73}};
// {FCD09B13-5C5A-40DA-9A83-9EF352AAA1FE} / {7F37F042-8D33-48DE-82B0-178E4EC6D12A}
constexpr CLSID CLSID_QVDF_RequisicaoInterna = {
    0xFCD09B13, 0x5C5A, 0x40DA, {0x9A, 0x83, 0x9E, 0xF3, 0x52, 0xAA, 0xA1, 0xFE}};
constexpr IID IID_IQVDF_RequisicaoInterna = {
    0x7F37F042, 0x8D33, 0x48DE, {0x82, 0xB0, 0x17, 0x8E, 0x4E, 0xC6, 0xD1, 0x2A}};
// {2791B773-A190-11D3-882C-00A0C9B18363} / {2791B772-A190-11D3-882C-00A0C9B18363}
constexpr CLSID CLSID_QVDF_Feriado = {
    0x2791B773, 0xA190, 0x11D3, {0x88, 0x2C, 0x00, 0xA0, 0xC9, 0xB1, 0x83, 0x63}};
constexpr IID IID_IQVDF_Feriado = {
    0x2791B772, 0xA190, 0x11D3, {0x88, 0x2C, 0x00, 0xA0, 0xC9, 0xB1, 0x83, 0x63}};
// {0026C16C-45B0-11D4-9274-00A0C9ACA8C4} / {0026C16B-45B0-11D4-9274-00A0C9ACA8C4}
constexpr CLSID CLSID_QVDF_NotasFiscais = {
    0x0026C16C, 0x45B0, 0x11D4, {0x92, 0x74, 0x00, 0xA0, 0xC9, 0xAC, 0xA8, 0xC4}};
constexpr IID IID_IQVDF_NotasFiscais = {
    0x0026C16B, 0x45B0, 0x11D4, {0x92, 0x74, 0x00, 0xA0, 0xC9, 0xAC, 0xA8, 0xC4}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct IQVDF_Usuario : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(_REG_DF_INICIALIZA_USUARIOPS regInicializa) = 0;
  // [m2] The user of a key.
  virtual HRESULT Le(int32_t lChave, REGUSU_PS* pRegUsuario) = 0;
  // [m5] Every user, in a list that the server allocates (RegistrosCadastros.h).
  virtual HRESULT LeTodos(_REG_DF_LISTA_USUARIOSPS** ppLista) = 0;
  // [m6] The permissions of a user.
  virtual HRESULT LePermissoes(uint16_t usUsuario, _REG_DF_PERMISSOES_USUARIOPS* pRegPermissoes) = 0;
};

// Pointers are the records' numbers. A product or service answers with its sale price under the
// price table asked for; the kind of reading "X" (88) reads the whole record. The type-'T' pairs
// ("AG") list the products or services that a grouping product or service stands for: a count,
// then that many pointers into the caller's array of that count.
struct IQVDF_Produto : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao) = 0;
  // [m7] "X" with 0: every product; "AG" with a type-'T' product: the products it groups.
  virtual HRESULT QuantidadeProdutos(BSTR bsBusca, int32_t lPonteiro, uint32_t* pulQtd) = 0;
  // [m8] Every product's pointer; ulQtd must be the count of m7.
  virtual HRESULT PonteirosProdutos(uint32_t ulQtd, uint32_t* pulPonteiros) = 0;
  // The "AG" pointers of a type-'T' product; ulQtd must be their count.
  virtual HRESULT PonteirosProdutosAgrupados(BSTR bsBusca, int32_t lPonteiro, uint32_t ulQtd,
                                             uint32_t* pulPonteiros) = 0;
  // [m10] The records of ulQtd pointers, reading kind 1: the records as kept, with their own price.
  virtual HRESULT LePonteirosProdutos(uint32_t ulQtd, const uint32_t* pulPonteiros, int32_t lTipoLeitura,
                                      _REG_PRODUTOPS* pregProdutos) = 0;
  // [m12]
  virtual HRESULT LeProduto(int32_t lPonteiro, uint16_t usTabelaPreco, _REG_PRODUTOPS* pregProduto) = 0;
  // [m13] Reading kind 1.
  virtual HRESULT LeProdutoLite(int32_t lPonteiro, int32_t lTipoLeitura, _REG_PRODUTOLITEPS* pregProduto) = 0;
  // [m14] By code; lTipoLeitura 'X'.
  virtual HRESULT ExisteProduto(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usTabelaPreco, int32_t* plPonteiro,
                                _REG_PRODUTOPS* pregProduto) = 0;
  // [m34] The description text, allocated by the server.
  virtual HRESULT LeDescricaoProduto(int32_t lPonteiro, BSTR* pbsDescricao) = 0;
  // [m37] Pointer search "AX" with 0 of the products ('P') or services ('S') that the filter's
  // switches take; the array from the task allocator.
  virtual HRESULT BuscaPonteiros(uint8_t cTipo, BSTR bsBusca, int32_t lParametro, _REG_FILTRO_PRODUTOPS regFiltro,
                                 _REG_VARMO_PONTEIROS_ULONGPS* pregPonteiros) = 0;
  // [m45] As m7 for services.
  virtual HRESULT QuantidadeServicos(BSTR bsBusca, int32_t lPonteiro, uint32_t* pulQtd) = 0;
  // The "AG" pointers of a type-'T' service.
  virtual HRESULT PonteirosServicosAgrupados(BSTR bsBusca, int32_t lPonteiro, uint32_t ulQtd,
                                             uint32_t* pulPonteiros) = 0;
  // [m50]
  virtual HRESULT LeServico(int32_t lPonteiro, uint16_t usTabelaPreco, _REG_SERVICOSPS* pregServico) = 0;
  // [m51] By code; lTipoLeitura 'X'.
  virtual HRESULT ExisteServico(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usTabelaPreco, int32_t* plPonteiro,
                                _REG_SERVICOSPS* pregServico) = 0;
  // [m63]
  virtual HRESULT QuantidadeUnidadesMedida(uint32_t* pulQtd) = 0;
  // [m66]
  virtual HRESULT LeUnidadeMedida(int32_t lPonteiro, _REG_UNIDADES_MEDIDAPS* pregUnidade) = 0;
  // [m67]
  virtual HRESULT QuantidadeUnidadesServico(uint32_t* pulQtd) = 0;
  // [m70]
  virtual HRESULT LeUnidadeServico(int32_t lPonteiro, _REG_UNIDADES_MEDIDA_SERVICOSPS* pregUnidade) = 0;
  // [m85] The price items of a grid position under a price table.
  virtual HRESULT LeItemTabelaPreco(_REG_FILTRO_LEITURA_TAB_PRECOSPS regFiltro,
                                    _REG_LISTA_ITENS_TAB_PRECOSPS* pregLista) = 0;
  // [m111] The references of the position in the record's first 10 bytes.
  virtual HRESULT LeReferenciaGrade(_REG_REFERENCIA_GRADEPS regFiltro, _REG_LISTA_REFERENCIAS_GRADEPS* pregLista) = 0;
  // For an internal requisition's item: the product's stock unit and its stock composition for
  // vQuantidade (the array from the task allocator, count in *pulQtd).
  virtual HRESULT LeComposicaoEstoque(_REG_POSICAO_PRODUTOPS regPosicao, CY vQuantidade, uint16_t* piUnidadeEstoque,
                                      uint32_t* pulQtd, _REG_COMPOSICAO_ITEM_REQUISICAOPS** ppregComposicao) = 0;
};

struct IQVDF_GradesProduto : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao) = 0;
  // [m7] A grid's item by its code.
  virtual HRESULT ExisteItemGrade(uint16_t usGrade, BSTR bsCodigo, int32_t* plPonteiro,
                                  _REG_ITENS_GRADE_PRODUTOPS* pregItem) = 0;
  // [m9] A grid's item by its number.
  virtual HRESULT LeItemGrade(uint16_t usGrade, uint16_t usItem, _REG_ITENS_GRADE_PRODUTOPS* pregItem) = 0;
};

// One class serves both charts; each object serves the chart that its initialisation names.
struct IQVDF_Plano : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(_REG_DF_INICIALIZA_PLANOPS regInicializa) = 0;
  // [m2] The account of a number (lIndCon).
  virtual HRESULT Le(int32_t lConta, _RegContaPS* pRegConta) = 0;
  // [m5] The chart's settings.
  virtual HRESULT LeConfiguracao(_REG_DF_CONFIGURACAO_PLANOPS* pRegConfiguracao) = 0;
  // [m11] The number of accounts.
  virtual HRESULT BuscaQuantidade(int32_t* plQuantidade) = 0;
  // [m14] The account whose code (szCodigoUsado or szClassificacao) is bsCodigo.
  virtual HRESULT Existe(BSTR bsCodigo, int32_t* plConta, _RegContaPS* pRegConta) = 0;
  // [m25] and [m35]: called at the initialisation of the accounting postings, without output.
  virtual HRESULT Prepara(int32_t lReservado1, int32_t lReservado2) = 0;
  virtual HRESULT Abre() = 0;
};

struct IQVDF_Requerente : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(_REG_DF_INICIALIZA_REQUERENTEPS regInicializa) = 0;
  // [m3] The requester of a pointer (lPosicao).
  virtual HRESULT Le(int32_t lPosicao, tagREG_REQUERENTEPS* pRegRequerente) = 0;
  // [m4] The requesters of a branch and user.
  virtual HRESULT BuscaPorUsuario(_REG_DF_FILTRO_REQUERENTEPS regFiltro, _REG_DF_LISTA_REQUERENTESPS* pregLista) = 0;
};

struct IQVDF_Municipio : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao) = 0;
  // [m3] The municipality of a pointer (its place, from 1).
  virtual HRESULT Le(int32_t lPonteiro, _REG_MUNICIPIO_PS* pRegMunicipio) = 0;
  // [m5] The number of municipalities.
  virtual HRESULT BuscaQuantidade(uint16_t* pusQuantidade) = 0;
};

struct IQVDF_CTG : IUnknown {
  // The real interface's fifth method.
  virtual HRESULT Inicializa(_REG_DF_INICIALIZA_CTGPS regInicializa) = 0;
  // [m3] The pointers of every category (their places, from 1): two empty texts and 88 select
  // them all; the array comes from the task allocator.
  virtual HRESULT BuscaPonteiros(BSTR bsCodigo, BSTR bsDescricao, int32_t lOpcao, int32_t* plQuantidade,
                                 int32_t** pplPonteiros) = 0;
  // [m4] The categories of lQuantidade pointers, in their order, in an array of the task allocator.
  virtual HRESULT LeRegistros(int32_t lQuantidade, int32_t* plPonteiros, int32_t* plQuantidadeRegistros,
                              _REG_CATEGORIAS_PS** ppRegCategorias) = 0;
};

// Initialised without arguments: the server is given no session.
struct IQVDF_EstrCodBar : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa() = 0;
  // [m4] The structure of a pointer (its place, from 1).
  virtual HRESULT Le(int32_t lPonteiro, _REG_ESTRUTURA_CODIGO_BARRASPS* pRegEstrutura) = 0;
};

struct IQVDF_Mensagem : IUnknown {
  // The real interface's second method.
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao) = 0;
  // [m4] The message of a pointer (its place, from 1).
  virtual HRESULT Le(int32_t lPonteiro, _REG_MENSAGEMPS* pRegMensagem) = 0;
};

// A requisition answers with every nested array of its items and attendances in blocks of the task
// allocator, which the reader frees; a record passed in is read through its arrays, which stay the
// caller's. Items are addressed by their index in the requisition's item array (0 = the first).
struct IQVDF_RequisicaoInterna : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao) = 0;
  // [m2] The requisition of a key.
  virtual HRESULT Le(uint32_t ulChave, _REG_REQUISICAOINTERNAPS* pregRequisicao) = 0;
  // [m3] Replaces the requisition of the record's key with the record, items and nested arrays
  // included; the record's main status 3 cancels it. *pulChave receives the key.
  virtual HRESULT Grava(_REG_REQUISICAOINTERNAPS regRequisicao, uint32_t* pulChave) = 0;
  // A new requisition from the record, whose key the server gives in *pulChave (the record's own is
  // not read): the requisition of an order's inputs when the order is saved, and that of a
  // maintenance order's new components.
  virtual HRESULT Inclui(_REG_REQUISICAOINTERNAPS regRequisicao, uint32_t* pulChave) = 0;
  // Cancels the items of ulQtd indexes, all or none: what a maintenance order withdraws when a
  // change drops its components or when it is cancelled.
  virtual HRESULT CancelaItens(uint32_t ulChave, uint32_t ulQtd, const uint16_t* pusItens) = 0;
};

struct IQVDF_Feriado : IUnknown {
  // The real interface's first method: the company only.
  virtual HRESULT Inicializa(BSTR bsEmpresa) = 0;
  // [m2] Selects the holiday table that the next calls read.
  virtual HRESULT SelecionaTabela(int32_t lTabela) = 0;
  // [m3] The number of holidays of the selected table.
  virtual HRESULT BuscaQuantidade(int32_t* plQuantidade) = 0;
  // [m4] lQuantidade holidays of the selected table from index lPrimeiro (0 = the first) into the
  // caller's buffer.
  virtual HRESULT Le(int32_t lPrimeiro, int32_t lQuantidade, __MIDL___MIDL_itf_Yarvo_0000_0002* pRegFeriados) = 0;
};

struct IQVDF_NotasFiscais : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(_REG_DF_INICIALIZA_NOTASFISCAISPS regInicializa) = 0;
  // [m4] The short form of the invoice of a key; callers pass 3592 as lOpcao.
  virtual HRESULT LeLight(uint32_t ulChave, tagREG_NOTA_LIGHTPS* pRegNota, int32_t lOpcao) = 0;
};

#pragma GCC diagnostic pop

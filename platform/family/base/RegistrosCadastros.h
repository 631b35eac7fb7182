// Records of the base system's registers that the production module reads: an account of a chart
// of accounts (IQVDF_Plano), a municipality (IQVDF_Municipio), a requester (IQVDF_Requerente), a
// category (IQVDF_CTG), a user (IQVDF_Usuario), the short form of a sales invoice
// (IQVDF_NotasFiscais) and a barcode structure (IQVDF_EstrCodBar), with the settings, messages, holidays and lists that those servers
// answer. They are the base system's, packed on two bytes like every record of the
// family; this system reads only the fields named here and carries every other byte unchanged, so
// the unnamed bytes stand as reserved arrays named after their offset. Text arrays hold a
// zero-terminated Windows-1252 text.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 2)

// An account of a chart of accounts (ledger or management).
struct _RegContaPS {
  int32_t lIndCon;
  int32_t lIndTitulo;
  uint8_t cReservado8[6];
  char szClassificacao[32];
  char szCodigoProprio[12];
  char szNome[52];
  uint8_t cTipo;
  uint8_t cReservado111[21];
  char szCodigoUsado[32];
  uint8_t cReservado164[12];
  uint8_t cInativa;
  uint8_t cExcluida;
  uint8_t cReservado178[26];
};
static_assert(sizeof(_RegContaPS) == 204);
static_assert(offsetof(_RegContaPS, szClassificacao) == 14);
static_assert(offsetof(_RegContaPS, szCodigoProprio) == 46);
static_assert(offsetof(_RegContaPS, szNome) == 58);
static_assert(offsetof(_RegContaPS, cTipo) == 110);
static_assert(offsetof(_RegContaPS, szCodigoUsado) == 132);
static_assert(offsetof(_RegContaPS, cInativa) == 176);
static_assert(offsetof(_RegContaPS, cExcluida) == 177);

// A municipality.
struct _REG_MUNICIPIO_PS {
  char szNome[42];
  uint8_t cReservado42[28];
  char szSiglaEstado[4];
};
static_assert(sizeof(_REG_MUNICIPIO_PS) == 74);
static_assert(offsetof(_REG_MUNICIPIO_PS, szSiglaEstado) == 70);

// A requester of internal requisitions.
struct tagREG_REQUERENTEPS {
  int32_t lPosicao;
  uint16_t iPonteiroFilial;
  uint8_t cReservado6[2];
  int32_t lCodigo;
  char szNome[50];
  char szApelido[20];
  char szCPF[16];
  char szMatricula[10];
  int32_t lPonteiroDepartamento;
  int32_t bInativo;
};
static_assert(sizeof(tagREG_REQUERENTEPS) == 116);
static_assert(offsetof(tagREG_REQUERENTEPS, lCodigo) == 8);
static_assert(offsetof(tagREG_REQUERENTEPS, szNome) == 12);
static_assert(offsetof(tagREG_REQUERENTEPS, szApelido) == 62);
static_assert(offsetof(tagREG_REQUERENTEPS, szCPF) == 82);
static_assert(offsetof(tagREG_REQUERENTEPS, szMatricula) == 98);
static_assert(offsetof(tagREG_REQUERENTEPS, lPonteiroDepartamento) == 108);
static_assert(offsetof(tagREG_REQUERENTEPS, bInativo) == 112);

// A category (the supplementary information of production reports is kept as categories).
struct _REG_CATEGORIAS_PS {
  char szCodigo[10];
  char szDescricao[66];
  uint8_t cTipo;
  uint8_t cReservado77[1];
  uint16_t iPosicao;
};
static_assert(sizeof(_REG_CATEGORIAS_PS) == 80);
static_assert(offsetof(_REG_CATEGORIAS_PS, szDescricao) == 10);
static_assert(offsetof(_REG_CATEGORIAS_PS, cTipo) == 76);
static_assert(offsetof(_REG_CATEGORIAS_PS, iPosicao) == 78);

// A user of the family's programs.
struct REGUSU_PS {
  uint8_t cReservado0[66];
  char szNome[40];
  char szApelido[18];
  uint8_t cReservado124[30];
  uint8_t cTestarEnter;
  uint8_t cUsuarioSupervisor;
  uint8_t cReservado156[4];
};
static_assert(sizeof(REGUSU_PS) == 160);
static_assert(offsetof(REGUSU_PS, szNome) == 66);
static_assert(offsetof(REGUSU_PS, szApelido) == 106);
static_assert(offsetof(REGUSU_PS, cTestarEnter) == 154);
static_assert(offsetof(REGUSU_PS, cUsuarioSupervisor) == 155);

// A user's permissions: byte n of cPermissao (record byte 2 + n) non-zero allows position n
// (branch n where the position is a branch).
struct _REG_DF_PERMISSOES_USUARIOPS {
  uint8_t cReservado0[2];
  uint8_t cPermissao[1000];
};
static_assert(sizeof(_REG_DF_PERMISSOES_USUARIOPS) == 1002);
static_assert(offsetof(_REG_DF_PERMISSOES_USUARIOPS, cPermissao) == 2);

// Every user at once, as the user server allocates it: the record and its two arrays come from the
// task allocator and the caller frees all three. plChaves[i] is the key of pRegUsuarios[i].
struct _REG_DF_LISTA_USUARIOSPS {
  uint16_t usQuantidade;
  int32_t* plChaves;
  REGUSU_PS* pRegUsuarios;
};
static_assert(sizeof(_REG_DF_LISTA_USUARIOSPS) == 10);
static_assert(offsetof(_REG_DF_LISTA_USUARIOSPS, plChaves) == 2);
static_assert(offsetof(_REG_DF_LISTA_USUARIOSPS, pRegUsuarios) == 6);

// The short form of a sales invoice.
struct tagREG_NOTA_LIGHTPS {
  uint8_t cReservado0[1082];
  int32_t lNumeroNotaFiscal;
  int32_t lPonteiroCliente;
  uint8_t cReservado1090[48];
  uint16_t iPonteiroMunicipio;
  uint16_t iPonteiroEstado;
  uint8_t cReservado1142[4];
  uint16_t iFilial;
  uint16_t iDataEmissao;  // day number
  uint16_t iHoraEmissao;  // minutes of the day
  uint8_t cReservado1152[2];
  uint16_t iDataSaida;  // day number
  uint16_t iHoraSaida;  // minutes of the day
  uint8_t cReservado1158[8];
  uint16_t iPonteiroDocumento;
  uint8_t cReservado1168[10];
  char szSerie[4];
  uint8_t cReservado1182[50];
  uint8_t cCodigoEhFornecedor;
  uint8_t cReservado1233[65];
};
static_assert(sizeof(tagREG_NOTA_LIGHTPS) == 1298);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, lNumeroNotaFiscal) == 1082);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, lPonteiroCliente) == 1086);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, iPonteiroMunicipio) == 1138);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, iPonteiroEstado) == 1140);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, iFilial) == 1146);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, iDataEmissao) == 1148);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, iHoraEmissao) == 1150);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, iDataSaida) == 1154);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, iHoraSaida) == 1156);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, iPonteiroDocumento) == 1166);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, szSerie) == 1178);
static_assert(offsetof(tagREG_NOTA_LIGHTPS, cCodigoEhFornecedor) == 1232);

// The settings of a chart of accounts. This system reads only the participant-number mode.
struct _REG_DF_CONFIGURACAO_PLANOPS {
  uint8_t cReservado0[721];
  char cModoParticipante;  // 'S': an account carries the number of a participant record
  uint8_t cReservado722[48];
};
static_assert(sizeof(_REG_DF_CONFIGURACAO_PLANOPS) == 770);
static_assert(offsetof(_REG_DF_CONFIGURACAO_PLANOPS, cModoParticipante) == 721);

// A message of the base system, read whole and carried unchanged.
struct _REG_MENSAGEMPS {
  uint8_t cReservado0[524];
};
static_assert(sizeof(_REG_MENSAGEMPS) == 524);

// A holiday of a holiday table.
struct __MIDL___MIDL_itf_Yarvo_0000_0002 {
  uint16_t iData;  // day number
  uint16_t iTipo;  // the kind of holiday
  uint8_t cReservado4[32];
};
static_assert(sizeof(__MIDL___MIDL_itf_Yarvo_0000_0002) == 36);
static_assert(offsetof(__MIDL___MIDL_itf_Yarvo_0000_0002, iTipo) == 2);

// The requesters of a branch and user, and the list that answers it (array from the task
// allocator).
struct _REG_DF_FILTRO_REQUERENTEPS {
  int32_t lReservado0;  // 0
  uint16_t usPonteiroFilial;
  uint16_t usUsuario;
  uint8_t cReservado8[8];  // 0
};
static_assert(sizeof(_REG_DF_FILTRO_REQUERENTEPS) == 16);
static_assert(offsetof(_REG_DF_FILTRO_REQUERENTEPS, usPonteiroFilial) == 4);
static_assert(offsetof(_REG_DF_FILTRO_REQUERENTEPS, usUsuario) == 6);
struct _REG_DF_LISTA_REQUERENTESPS {
  uint32_t ulQtd;
  tagREG_REQUERENTEPS* pregRequerentes;
};
static_assert(sizeof(_REG_DF_LISTA_REQUERENTESPS) == 8);

// A barcode structure (IQVDF_EstrCodBar): the layout of the barcodes that identify orders, found
// by the master settings' pointer. This system reads only its kind.
struct _REG_ESTRUTURA_CODIGO_BARRASPS {
  uint16_t iTipo;  // the kind of barcode; the master check accepts only kEstruturaCodigoBarrasOP
  uint8_t cReservado2[80];
};
static_assert(sizeof(_REG_ESTRUTURA_CODIGO_BARRASPS) == 82);
constexpr uint16_t kEstruturaCodigoBarrasOP = 5;

#pragma pack(pop)

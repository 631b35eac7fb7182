// The files of the master settings, order types, process flows and production operations in the
// formats of their old versions, written byte by byte from their layouts (little-endian), for the
// tests of the upgrade. Nothing here uses the converters' code or records: a test that compares a
// converted file with bytes built here compares two readings of the layouts.
//
// A record is given by its field values and Registro gives its bytes; Arquivo gives a whole record
// file: record 0, the zero header of the record length, then the records in order. The settings of
// "PPMESTRE.DAT" are no record file of records: the file is the one 512-byte record (record 0).
// Fields whose meaning the layouts do not give are named by their offset; the bytes that no field
// covers take the record's cResto, so that a test can show what a conversion drops.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/support/ArquivoRegistros.h"

namespace VersoesAntigasCadastros {

// A record being written: zeroed (or filled with one byte), then fields put at their offsets.
class Bytes {
 public:
  explicit Bytes(size_t tamanho, uint8_t preenchimento = 0) : bytes_(tamanho, static_cast<char>(preenchimento)) {}
  Bytes& U8(size_t deslocamento, uint8_t valor);
  Bytes& U16(size_t deslocamento, uint16_t valor);
  Bytes& U32(size_t deslocamento, uint32_t valor);
  // The text's bytes (at most `largura`), then zeros to the field's width.
  Bytes& Texto(size_t deslocamento, size_t largura, const std::string& texto);
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

using ::ArquivoDeRegistros;

// ---------------------------------------------------------------------------------------------------
// Master settings, "PPMESTRE.DAT"

// Version 1: the pointers and counters at the end of the record, the flags from offset 10 on.
struct MestreV1 {
  static constexpr uint32_t kTamanho = 512;
  std::array<uint16_t, 5> usIdentificacao{};  // 0..9: iVersaoSistema .. iCodigoClienteEscritorio
  std::array<uint8_t, 8> cFlagsNecessidade{};  // 10..17: cPermiteInsercaoManualNecessidade .. cLiberarItemPedido
  int32_t lPonteiroCodigoBarras = 0;          // 18
  uint16_t usMesAnoImplantacao = 0;           // 22
  std::array<uint8_t, 15> cFlags24{};         // 24..38
  std::array<uint8_t, 4> cFlags39{};          // 39..42: cEmitirRInaOP .. cUsarVlrUnitFichaTecnicaEmPrevisoes
  uint32_t ulPonteiroCalendarioPadrao = 0;    // 498
  int32_t lPonteiroInfApontExternoFilial = 0;  // 502
  uint16_t usQtdInfApontExternoFilial = 0;    // 506
  uint8_t cSohApontarAposDefinirRecursos = 0;  // 508
  uint8_t cTipoPerdaInsumo = 0;               // 509
  uint16_t usDataVisualizacao = 0;            // 510
  uint8_t cResto = 0;                         // 43..497
};

// Versions 2 and 3 have one layout; version 2 does not use 60..62 yet.
struct MestreV2 {
  static constexpr uint32_t kTamanho = 512;
  std::array<uint16_t, 5> usIdentificacao{};  // 0..9: iVersaoSistema .. iCodigoClienteEscritorio
  uint32_t ulPonteiroCalendarioPadrao = 0;    // 10
  int32_t lPonteiroCodigoBarras = 0;          // 14
  int32_t lPonteiroInfApontExternoFilial = 0;  // 18
  uint16_t usMesAnoImplantacao = 0;           // 22
  uint16_t usQtdInfApontExternoFilial = 0;    // 24
  uint16_t usDataVisualizacao = 0;            // 26
  std::array<uint8_t, 35> cFlags{};           // 28..62: cPermiteInsercaoManualNecessidade .. cPossuiInfSupl3
  std::array<uint8_t, 441> cReservado{};      // 63..503
  uint32_t ulPonteiroTabelaPrecoVendaServico = 0;  // 504
  uint32_t ulPonteiroTabelaPrecoVendaProduto = 0;  // 508
};

std::string Registro(const MestreV1& mestre);
std::string Registro(const MestreV2& mestre);

// ---------------------------------------------------------------------------------------------------
// Order types at version 1: "PPTOPCAB.DAT" (256) and the chained users "PPTOPUSU.DAT" (64)

struct TipoOPV1 {
  static constexpr uint32_t kTamanho = 256;
  uint32_t ulCampo0 = 0;
  uint32_t ulPrimeiroUsuario = 0;  // 4: the chain's first user, 0 none
  uint32_t ulCampo12 = 0;
  std::string szCampo32;  // 10 bytes
  std::string szCampo42;  // 50 bytes
  std::array<std::string, 5> szCampos92;  // 92, 117, 142, 167, 192: 25 bytes each
  std::array<uint8_t, 8> cCampos217{};
  uint8_t cResto = 0;  // 8..11, 16..31, 225..255
};

struct UsuarioTipoOPV1 {
  static constexpr uint32_t kTamanho = 64;
  uint32_t ulProximo = 0;  // 4: the next user of the chain, 0 the last
  uint16_t usUsuario = 0;  // 8
  uint8_t cCampo10 = 0;
  uint8_t cCampo11 = 0;
  uint8_t cRemovido = 0;  // 12: non-zero, removed
  uint8_t cCampo13 = 0;
  uint8_t cResto = 0;  // 0..3, 14..63
};

// ---------------------------------------------------------------------------------------------------
// Process flows at version 1: "PPFLXCAB.DAT" (128) and the chained processes "PPFLXPRO.DAT" (64)

struct FluxoV1 {
  static constexpr uint32_t kTamanho = 128;
  uint32_t ulCampo0 = 0;
  uint32_t ulPrimeiroProcesso = 0;  // 4: the chain's first process, 0 none
  std::string cCampos28;            // 28..37: 10 bytes
  std::string szCampo38;            // 38..87: 50 bytes
  uint8_t cCampo88 = 0;
  uint8_t cCampo89 = 0;
  uint8_t cResto = 0;  // 8..27, 90..127
};

struct ProcessoFluxoV1 {
  static constexpr uint32_t kTamanho = 64;
  uint32_t ulProximo = 0;  // 4: the next process of the chain, 0 the last
  uint32_t ulCampo8 = 0;
  uint8_t cCampo28 = 0;
  uint8_t cRemovido = 0;  // 29: non-zero, removed
  uint8_t cResto = 0;     // 0..3, 12..27, 30..63
};

// ---------------------------------------------------------------------------------------------------
// Production operations at version 1: "PPOPPCAB.DAT" (128), whose byte 67 version 1 does not use

struct OperacaoProducaoV1 {
  static constexpr uint32_t kTamanho = 128;
  uint8_t cPrimeiro = 0;  // byte k holds cPrimeiro + k, byte 67 zero
};

std::string Registro(const TipoOPV1& tipo);
std::string Registro(const UsuarioTipoOPV1& usuario);
std::string Registro(const FluxoV1& fluxo);
std::string Registro(const ProcessoFluxoV1& processo);
std::string Registro(const OperacaoProducaoV1& operacao);

template <class R>
std::string Arquivo(const std::vector<R>& registros) {
  std::vector<std::string> bytes;
  for (const R& registro : registros) bytes.push_back(Registro(registro));
  return ArquivoDeRegistros(R::kTamanho, bytes);
}

// ---------------------------------------------------------------------------------------------------
// A whole company

// A small company with every file of these groups at version 1 (name -> bytes): settings, two order
// types with user chains (one user removed, one type without users), two flows with process chains
// in the order their processes were added (one removed) and three operations.
std::map<std::string, std::string> CadastrosV1();
// Writes each file into the directory (a Linux path).
void Grava(const std::string& diretorio, const std::map<std::string, std::string>& arquivos);

}  // namespace VersoesAntigasCadastros

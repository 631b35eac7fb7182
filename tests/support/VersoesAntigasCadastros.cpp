#include "tests/support/VersoesAntigasCadastros.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace VersoesAntigasCadastros {

Bytes& Bytes::U8(size_t deslocamento, uint8_t valor) {
  bytes_.at(deslocamento) = static_cast<char>(valor);
  return *this;
}

Bytes& Bytes::U16(size_t deslocamento, uint16_t valor) {
  U8(deslocamento, static_cast<uint8_t>(valor & 0xFF));
  return U8(deslocamento + 1, static_cast<uint8_t>(valor >> 8));
}

Bytes& Bytes::U32(size_t deslocamento, uint32_t valor) {
  U16(deslocamento, static_cast<uint16_t>(valor & 0xFFFF));
  return U16(deslocamento + 2, static_cast<uint16_t>(valor >> 16));
}

Bytes& Bytes::Texto(size_t deslocamento, size_t largura, const std::string& texto) {
  for (size_t k = 0; k < largura; ++k) U8(deslocamento + k, k < texto.size() ? static_cast<uint8_t>(texto[k]) : 0);
  return *this;
}

namespace {

// Fills the bytes first..last (inclusive) with the record's filler.
void Preenche(Bytes& bytes, size_t primeiro, size_t ultimo, uint8_t valor) {
  for (size_t k = primeiro; k <= ultimo; ++k) bytes.U8(k, valor);
}

void Identificacao(Bytes& bytes, const std::array<uint16_t, 5>& valores) {
  for (size_t k = 0; k < valores.size(); ++k) bytes.U16(2 * k, valores[k]);
}

template <size_t N>
void Sequencia(Bytes& bytes, size_t deslocamento, const std::array<uint8_t, N>& valores) {
  for (size_t k = 0; k < N; ++k) bytes.U8(deslocamento + k, valores[k]);
}

}  // namespace

std::string Registro(const MestreV1& mestre) {
  Bytes bytes(MestreV1::kTamanho);
  Identificacao(bytes, mestre.usIdentificacao);
  Sequencia(bytes, 10, mestre.cFlagsNecessidade);
  bytes.U32(18, static_cast<uint32_t>(mestre.lPonteiroCodigoBarras)).U16(22, mestre.usMesAnoImplantacao);
  Sequencia(bytes, 24, mestre.cFlags24);
  Sequencia(bytes, 39, mestre.cFlags39);
  Preenche(bytes, 43, 497, mestre.cResto);
  bytes.U32(498, mestre.ulPonteiroCalendarioPadrao)
      .U32(502, static_cast<uint32_t>(mestre.lPonteiroInfApontExternoFilial))
      .U16(506, mestre.usQtdInfApontExternoFilial)
      .U8(508, mestre.cSohApontarAposDefinirRecursos)
      .U8(509, mestre.cTipoPerdaInsumo)
      .U16(510, mestre.usDataVisualizacao);
  return bytes.str();
}

std::string Registro(const MestreV2& mestre) {
  Bytes bytes(MestreV2::kTamanho);
  Identificacao(bytes, mestre.usIdentificacao);
  bytes.U32(10, mestre.ulPonteiroCalendarioPadrao)
      .U32(14, static_cast<uint32_t>(mestre.lPonteiroCodigoBarras))
      .U32(18, static_cast<uint32_t>(mestre.lPonteiroInfApontExternoFilial))
      .U16(22, mestre.usMesAnoImplantacao)
      .U16(24, mestre.usQtdInfApontExternoFilial)
      .U16(26, mestre.usDataVisualizacao);
  Sequencia(bytes, 28, mestre.cFlags);
  Sequencia(bytes, 63, mestre.cReservado);
  bytes.U32(504, mestre.ulPonteiroTabelaPrecoVendaServico).U32(508, mestre.ulPonteiroTabelaPrecoVendaProduto);
  return bytes.str();
}

std::string Registro(const TipoOPV1& tipo) {
  Bytes bytes(TipoOPV1::kTamanho, tipo.cResto);
  bytes.U32(0, tipo.ulCampo0).U32(4, tipo.ulPrimeiroUsuario).U32(12, tipo.ulCampo12);
  bytes.Texto(32, 10, tipo.szCampo32).Texto(42, 50, tipo.szCampo42);
  for (size_t k = 0; k < tipo.szCampos92.size(); ++k) bytes.Texto(92 + 25 * k, 25, tipo.szCampos92[k]);
  Sequencia(bytes, 217, tipo.cCampos217);
  return bytes.str();
}

std::string Registro(const UsuarioTipoOPV1& usuario) {
  Bytes bytes(UsuarioTipoOPV1::kTamanho, usuario.cResto);
  return bytes.U32(4, usuario.ulProximo)
      .U16(8, usuario.usUsuario)
      .U8(10, usuario.cCampo10)
      .U8(11, usuario.cCampo11)
      .U8(12, usuario.cRemovido)
      .U8(13, usuario.cCampo13)
      .str();
}

std::string Registro(const FluxoV1& fluxo) {
  Bytes bytes(FluxoV1::kTamanho, fluxo.cResto);
  return bytes.U32(0, fluxo.ulCampo0)
      .U32(4, fluxo.ulPrimeiroProcesso)
      .Texto(28, 10, fluxo.cCampos28)
      .Texto(38, 50, fluxo.szCampo38)
      .U8(88, fluxo.cCampo88)
      .U8(89, fluxo.cCampo89)
      .str();
}

std::string Registro(const ProcessoFluxoV1& processo) {
  Bytes bytes(ProcessoFluxoV1::kTamanho, processo.cResto);
  return bytes.U32(4, processo.ulProximo)
      .U32(8, processo.ulCampo8)
      .U8(28, processo.cCampo28)
      .U8(29, processo.cRemovido)
      .str();
}

std::string Registro(const OperacaoProducaoV1& operacao) {
  Bytes bytes(OperacaoProducaoV1::kTamanho);
  for (size_t k = 0; k < OperacaoProducaoV1::kTamanho; ++k) bytes.U8(k, static_cast<uint8_t>(operacao.cPrimeiro + k));
  return bytes.U8(67, 0).str();
}

std::map<std::string, std::string> CadastrosV1() {
  MestreV1 mestre;
  mestre.usIdentificacao = {3, 5, 1, 4711, 815};
  mestre.cFlagsNecessidade = {1, 0, 1, 1, 0, 4, 1, 0};
  mestre.lPonteiroCodigoBarras = 12;
  mestre.usMesAnoImplantacao = 2001;
  mestre.cFlags24[0] = 1;
  mestre.cFlags24[7] = 1;
  mestre.cFlags39 = {1, 0, 1, 1};
  mestre.ulPonteiroCalendarioPadrao = 2;
  mestre.lPonteiroInfApontExternoFilial = 1;
  mestre.usQtdInfApontExternoFilial = 2;
  mestre.cTipoPerdaInsumo = 1;
  mestre.usDataVisualizacao = 64000;

  TipoOPV1 normal{1, 1, 100, "NORMAL", "Ordem normal", {"A", "B", "C", "D", "E"}, {1, 2, 3, 4, 5, 6, 7, 8}, 0};
  TipoOPV1 semUsuarios{2, 0, 200, "AVULSA", "Ordem avulsa", {}, {}, 0};
  TipoOPV1 urgente{3, 2, 300, "URGENTE", "Ordem urgente", {"X"}, {}, 0};
  const std::vector<UsuarioTipoOPV1> usuarios = {
      {3, 7, 1, 0, 0, 1, 0},  // type 1: 7, then 9
      {4, 8, 1, 1, 0, 0, 0},  // type 3: 8, then 12 (removed), then 14
      {0, 9, 0, 1, 0, 0, 0},
      {5, 12, 1, 1, 1, 1, 0},
      {0, 14, 0, 0, 0, 1, 0},
  };

  FluxoV1 corte{10, 1, "CORTE", "Corte e costura", 1, 0, 0};
  FluxoV1 acabamento{20, 2, "ACAB", "Acabamento", 0, 1, 0};
  const std::vector<ProcessoFluxoV1> processos = {
      {3, 501, 1, 0, 0},  // flow 1: 501, 503, 504 (removed)
      {5, 502, 0, 0, 0},  // flow 2: 502, 505
      {4, 503, 1, 0, 0},
      {0, 504, 0, 1, 0},
      {0, 505, 1, 0, 0},
  };

  return {
      {"PPMESTRE.DAT", Registro(mestre)},
      {"PPTOPCAB.DAT", Arquivo(std::vector<TipoOPV1>{normal, semUsuarios, urgente})},
      {"PPTOPUSU.DAT", Arquivo(usuarios)},
      {"PPFLXCAB.DAT", Arquivo(std::vector<FluxoV1>{corte, acabamento})},
      {"PPFLXPRO.DAT", Arquivo(processos)},
      {"PPOPPCAB.DAT", Arquivo(std::vector<OperacaoProducaoV1>{{0x10}, {0x40}, {0x80}})},
  };
}

void Grava(const std::string& diretorio, const std::map<std::string, std::string>& arquivos) {
  std::filesystem::create_directories(diretorio);
  for (const auto& [nome, bytes] : arquivos) {
    std::ofstream arquivo(diretorio + "/" + nome, std::ios::binary | std::ios::trunc);
    arquivo.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!arquivo) throw std::runtime_error("não foi possível gravar " + nome);
  }
}

}  // namespace VersoesAntigasCadastros

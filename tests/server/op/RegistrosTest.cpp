// The order family's converters over raw records: each test lays the carried fields of one kind
// at their offsets by hand, reads the COM record back through PPConverteParaCOM, then writes it out
// again through PPConverteParaDisco. Every field holds a value of its own, so a wrong offset, a
// field lost in either direction or two fields crossed shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "server/op/PPConversaoOP.h"

namespace {

// A disk record as bytes placed at hand-written offsets; every other byte is zero.
class Bruto {
 public:
  explicit Bruto(size_t tamanho) : bytes_(tamanho, 0) {}

  template <class T>
  Bruto& Poe(size_t offset, T valor) {
    std::memcpy(bytes_.data() + offset, &valor, sizeof valor);
    return *this;
  }
  Bruto& PoeCy(size_t offset, int64_t valor) { return Poe(offset, valor); }
  Bruto& PoeTexto(size_t offset, const std::string& texto) {
    std::memcpy(bytes_.data() + offset, texto.data(), texto.size());
    return *this;
  }

  // The bytes as the handler's record; a record of another length is a failure of the test.
  template <class Disco>
  Disco Registro() const {
    Disco disco;
    std::memset(&disco, 0, sizeof disco);
    EXPECT_EQ(sizeof disco, bytes_.size());
    std::memcpy(&disco, bytes_.data(), std::min(sizeof disco, bytes_.size()));
    return disco;
  }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

template <class T>
std::vector<uint8_t> BytesDe(const T& registro) {
  const auto* inicio = reinterpret_cast<const uint8_t*>(&registro);
  return std::vector<uint8_t>(inicio, inicio + sizeof registro);
}

// The offsets where two byte images differ, for a readable failure.
std::vector<size_t> Diferencas(const std::vector<uint8_t>& esperado, const std::vector<uint8_t>& obtido) {
  std::vector<size_t> offsets;
  for (size_t i = 0; i < std::max(esperado.size(), obtido.size()); ++i) {
    if (i >= esperado.size() || i >= obtido.size() || esperado[i] != obtido[i]) offsets.push_back(i);
  }
  return offsets;
}

// COM from disk, converted from a zeroed COM record.
template <class COM, class Disco>
COM ParaCOM(const Disco& disco) {
  COM com;
  std::memset(&com, 0, sizeof com);
  PPConverteParaCOM(disco, com);
  return com;
}

// The way back: the COM record written into a zeroed disk record gives the hand-laid bytes again,
// and that record read once more gives the same COM record.
template <class Disco, class COM>
void ConfereVolta(const Bruto& bruto, const COM& com) {
  Disco disco;
  std::memset(&disco, 0, sizeof disco);
  PPConverteParaDisco(com, disco);
  EXPECT_EQ(Diferencas(bruto.Bytes(), BytesDe(disco)), std::vector<size_t>{}) << "disk offsets that differ";
  EXPECT_EQ(Diferencas(BytesDe(com), BytesDe(ParaCOM<COM>(disco))), std::vector<size_t>{})
      << "COM offsets that differ";
}

TEST(RegistrosOP, OrderHeaderCarriesItsFieldsBothWays) {
  Bruto bruto(256);
  bruto.Poe<uint32_t>(0, 1000).Poe<uint32_t>(32, 1032).Poe<uint32_t>(36, 1036).Poe<uint32_t>(40, 1040);
  bruto.Poe<int32_t>(44, 1044).Poe<int32_t>(48, 1048).Poe<uint32_t>(52, 1052).Poe<int32_t>(56, 1056);
  bruto.Poe<int32_t>(68, 1068).Poe<int32_t>(72, 1072).Poe<int32_t>(76, 1076);
  for (size_t offset = 112; offset <= 152; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  for (size_t offset = 172; offset <= 181; ++offset) bruto.Poe<uint8_t>(offset, static_cast<uint8_t>(offset));
  bruto.Poe<uint8_t>(170, 2).Poe<uint8_t>(182, 'S');

  const auto com = ParaCOM<_REG_VARMO_OPPS>(bruto.Registro<PPDiscoOP>());
  EXPECT_EQ(com.lNumeroOP, 1000u);
  EXPECT_EQ(com.ulPonteiroRequisitante, 1032u);
  EXPECT_EQ(com.ulPonteiroDepartamento, 1036u);
  EXPECT_EQ(com.ulChaveRequisicaoInterna, 1040u);
  EXPECT_EQ(com.lPonteiroTipoOP, 1044);
  EXPECT_EQ(com.lPonteiroFluxoProcesso, 1048);
  EXPECT_EQ(com.regPosicaoProdutoServico.lPonteiroProduto, 1052u);
  EXPECT_EQ(com.lPonteiroContaContabil, 1056);
  EXPECT_EQ(com.lPonteiroForEPTETPE, 1068);
  EXPECT_EQ(com.lPonteiroOPGeradora, 1072);
  EXPECT_EQ(com.lPonteiroColecao, 1076);
  EXPECT_EQ(com.usPonteiroUsuarioEmissao, 112);
  EXPECT_EQ(com.usPonteiroUsuarioGravacao, 114);
  EXPECT_EQ(com.usPonteiroFilial, 116);
  EXPECT_EQ(com.regPosicaoProdutoServico.iPonteiroItemGrade1, 118);
  EXPECT_EQ(com.regPosicaoProdutoServico.iPonteiroItemGrade2, 120);
  EXPECT_EQ(com.regPosicaoProdutoServico.iPonteiroItemGrade3, 122);
  EXPECT_EQ(com.usPonteiroMensagem, 124);
  EXPECT_EQ(com.usDataEmissao, 126);
  EXPECT_EQ(com.usHoraEmissao, 128);
  EXPECT_EQ(com.usDataPrevisaoInicio, 130);
  EXPECT_EQ(com.usHoraPrevisaoInicio, 132);
  EXPECT_EQ(com.usDataInicio, 134);
  EXPECT_EQ(com.usHoraInicio, 136);
  EXPECT_EQ(com.usDataPrevisaoConclusao, 138);
  EXPECT_EQ(com.usHoraPrevisaoConclusao, 140);
  EXPECT_EQ(com.usDataConclusao, 142);
  EXPECT_EQ(com.usHoraConclusao, 144);
  EXPECT_EQ(com.usDataCancelamento, 146);
  EXPECT_EQ(com.usHoraCancelamento, 148);
  EXPECT_EQ(com.usDataInterrupcao, 150);
  EXPECT_EQ(com.usHoraInterrupcao, 152);
  EXPECT_EQ(com.cSituacao, 2);
  EXPECT_EQ(com.cQuantidadeCasasDecimaisEstoque, 172);
  EXPECT_EQ(com.cTipoPerdaInsumo, 173);
  EXPECT_EQ(com.cOPReprocesso, 174);
  EXPECT_EQ(com.cReprocessoConfirmado, 175);
  EXPECT_EQ(com.cTodosRecursosDefinidos, 176);
  EXPECT_EQ(com.cIndustrializacaoParaETPE, 177);
  EXPECT_EQ(com.cFazEntradaDepoisNoES, 178);
  EXPECT_EQ(com.cCustearSoProcessoApontado, 179);
  EXPECT_EQ(com.cTratarInsumoEmbalagem, 180);
  EXPECT_EQ(com.cApontarOcorrenciaRecurso, 181);
  EXPECT_EQ(com.cTipoProdutoServico, 'S');
  ConfereVolta<PPDiscoOP>(bruto, com);
}

// Texts, runs and the removed mark stay with the callers: the converter reads none of them.
TEST(RegistrosOP, OrderHeaderLeavesTextsRunsAndRemovedMarkToTheCaller) {
  Bruto bruto(256);
  for (size_t offset = 4; offset <= 28; offset += 4) bruto.Poe<uint32_t>(offset, 7);  // text offsets
  bruto.Poe<uint32_t>(60, 5).Poe<uint32_t>(64, 6).Poe<uint32_t>(80, 7);  // runs, batch-number text
  bruto.Poe<uint16_t>(108, 3).Poe<uint16_t>(110, 4).Poe<uint8_t>(171, 1);  // counts, removed

  const auto com = ParaCOM<_REG_VARMO_OPPS>(bruto.Registro<PPDiscoOP>());
  EXPECT_EQ(Diferencas(BytesDe(_REG_VARMO_OPPS{}), BytesDe(com)), std::vector<size_t>{});
}

TEST(RegistrosOP, ItemCarriesItsFieldsBothWays) {
  Bruto bruto(90);
  bruto.PoeCy(0, 10000).PoeCy(8, 10008).PoeCy(16, 10016).PoeCy(24, 10024).PoeCy(82, 10082);
  bruto.Poe<uint32_t>(32, 1032).Poe<uint32_t>(36, 1036).Poe<uint32_t>(40, 1040).Poe<uint32_t>(44, 1044);
  bruto.Poe<uint16_t>(48, 48).Poe<uint16_t>(50, 50).Poe<uint16_t>(52, 52).Poe<uint16_t>(54, 54);
  bruto.Poe<uint8_t>(56, 3).Poe<uint8_t>(57, 57).Poe<uint8_t>(58, 58).Poe<uint8_t>(60, 60).Poe<uint8_t>(61, 61);
  bruto.Poe<uint8_t>(62, 'P');

  const auto com = ParaCOM<_REG_VARMO_OP_ITEMPS>(bruto.Registro<PPDiscoItem>());
  EXPECT_EQ(com.vQuantidadeProgramada.int64, 10000);
  EXPECT_EQ(com.vQuantidadeProduzida.int64, 10008);
  EXPECT_EQ(com.vQuantidadePerdida.int64, 10016);
  EXPECT_EQ(com.vQuantidadeCancelada.int64, 10024);
  EXPECT_EQ(com.vQuantidadeReplicada.int64, 10082);
  EXPECT_EQ(com.vQuantidadeSaldo.int64, 0);
  EXPECT_EQ(com.lPonteiroPedidoNecessidade, 1032u);
  EXPECT_EQ(com.regPosicaoProdutoServico.lPonteiroProduto, 1036u);
  EXPECT_EQ(com.ulChaveOPReprocessada, 1040u);
  EXPECT_EQ(com.ulChaveApontamentoOPOrigem, 1044u);
  EXPECT_EQ(com.regPosicaoProdutoServico.iPonteiroItemGrade1, 48);
  EXPECT_EQ(com.regPosicaoProdutoServico.iPonteiroItemGrade2, 50);
  EXPECT_EQ(com.regPosicaoProdutoServico.iPonteiroItemGrade3, 52);
  EXPECT_EQ(com.usIdxItemPedido, 54);
  EXPECT_EQ(com.cTipoItem, 3);
  EXPECT_EQ(com.cIntegradoQuantidade, 57);
  EXPECT_EQ(com.cCancelado, 58);
  EXPECT_EQ(com.cEhReprocessoUltProcesso, 60);
  EXPECT_EQ(com.cGerouOPQtdLimitada, 61);
  EXPECT_EQ(com.cTipoProdutoServico, 'P');
  ConfereVolta<PPDiscoItem>(bruto, com);
}

TEST(RegistrosOP, ProcessCarriesItsFieldsBothWays) {
  Bruto bruto(128);
  bruto.PoeCy(0, 20000).PoeCy(8, 20008).PoeCy(16, 20016).PoeCy(24, 20024).PoeCy(32, 20032);
  bruto.Poe<int32_t>(44, 1044);
  for (size_t offset = 84; offset <= 92; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  bruto.Poe<uint8_t>(94, 94).Poe<uint8_t>(95, 3).Poe<uint8_t>(96, 96).Poe<uint8_t>(98, 98);

  const auto com = ParaCOM<_REG_VARMO_OP_PROCESSOPS>(bruto.Registro<PPDiscoProcesso>());
  EXPECT_EQ(com.v8CustoIndireto.int64, 20000);
  EXPECT_EQ(com.v8CustoDireto.int64, 20008);
  EXPECT_EQ(com.v8CustoTerceirizacao.int64, 20016);
  EXPECT_EQ(com.v8TempoPadraoMinPorUnidade.int64, 20024);
  EXPECT_EQ(com.vCapacidadeProdutiva.int64, 20032);
  EXPECT_EQ(com.lPonteiroProcesso, 1044);
  EXPECT_EQ(com.usMenorDataInicio, 84);
  EXPECT_EQ(com.usMenorHoraInicio, 86);
  EXPECT_EQ(com.usMaiorDataFim, 88);
  EXPECT_EQ(com.usMaiorHoraFim, 90);
  EXPECT_EQ(com.usPercentualQuebra, 92);
  EXPECT_EQ(com.cRecebeApontamento, 94);
  EXPECT_EQ(com.cSituacao, 3);
  EXPECT_EQ(com.cApontarPesoBruto, 96);
  EXPECT_EQ(com.cCustoPorApontamento, 98);
  ConfereVolta<PPDiscoProcesso>(bruto, com);
}

TEST(RegistrosOP, InputCarriesItsFieldsBothWays) {
  Bruto bruto(128);
  bruto.PoeCy(0, 30000).PoeCy(8, 30008).PoeCy(16, 30016).PoeCy(24, 30024).PoeCy(32, 30032);
  bruto.Poe<uint32_t>(48, 1048).Poe<int32_t>(56, 1056).Poe<int32_t>(60, 1060).Poe<int32_t>(64, 1064);
  bruto.Poe<int32_t>(68, 1068).Poe<int32_t>(124, 1124);
  for (size_t offset = 76; offset <= 84; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  bruto.Poe<uint8_t>(94, 94);
  for (size_t offset = 96; offset <= 100; ++offset) bruto.Poe<uint8_t>(offset, static_cast<uint8_t>(offset));

  const auto com = ParaCOM<_REG_VARMO_OP_PROCESSO_INSUMOPS>(bruto.Registro<PPDiscoInsumo>());
  EXPECT_EQ(com.vQuantidadeUnitaria.int64, 30000);
  EXPECT_EQ(com.vQuantidadeTotal.int64, 30008);
  EXPECT_EQ(com.vQuantUnitariaComQuebra.int64, 30016);
  EXPECT_EQ(com.vQuantTotalComQuebra.int64, 30024);
  EXPECT_EQ(com.v8ValorUnitario.int64, 30032);
  EXPECT_EQ(com.regPosicaoProduto.lPonteiroProduto, 1048u);
  EXPECT_EQ(com.lPonteiroLote, 1056);
  EXPECT_EQ(com.lPonteiroForLote, 1060);
  EXPECT_EQ(com.lPonteiroForEPTETPE, 1064);
  EXPECT_EQ(com.lPonteiroCliEPTETPE, 1068);
  EXPECT_EQ(com.lPonteiroVolumeES, 1124);
  EXPECT_EQ(com.regPosicaoProduto.iPonteiroItemGrade1, 76);
  EXPECT_EQ(com.regPosicaoProduto.iPonteiroItemGrade2, 78);
  EXPECT_EQ(com.regPosicaoProduto.iPonteiroItemGrade3, 80);
  EXPECT_EQ(com.usPonteiroLocalEstocagem, 82);
  EXPECT_EQ(com.usPercentualQuebra, 84);
  EXPECT_EQ(com.cPermiteAlterar, 94);
  EXPECT_EQ(com.cCancelado, 96);
  EXPECT_EQ(com.cCasasDecimais, 97);
  EXPECT_EQ(com.cTipoProducao, 98);
  EXPECT_EQ(com.cTipoEstoque, 99);
  EXPECT_EQ(com.cEhEmbalagem, 100);
  EXPECT_EQ(com.lPonteiroNecessidade, 0);  // a record number on disk: the caller makes the key
  ConfereVolta<PPDiscoInsumo>(bruto, com);
}

TEST(RegistrosOP, ProcessResourceCarriesItsFieldsBothWays) {
  Bruto bruto(64);
  bruto.PoeCy(0, 40000).PoeCy(8, 40008).PoeCy(16, 40016).PoeCy(24, 40024).Poe<int32_t>(32, 1032);
  bruto.Poe<uint8_t>(36, 36).Poe<uint8_t>(37, 37).Poe<uint8_t>(38, 38).Poe<uint8_t>(39, 39);

  const auto com = ParaCOM<_REG_PP_OP_RECURSOPS>(bruto.Registro<PPDiscoRecursoProcesso>());
  EXPECT_EQ(com.vCapacidade.int64, 40000);
  EXPECT_EQ(com.vSetup.int64, 40008);
  EXPECT_EQ(com.v8Custo.int64, 40016);
  EXPECT_EQ(com.vPercEficiencia.int64, 40024);
  EXPECT_EQ(com.lPonteiroRecurso, 1032);
  EXPECT_EQ(com.cDesconsiderarTempos, 36);
  EXPECT_EQ(com.cTipo, 37);
  EXPECT_EQ(com.cCustoTempoPorUnidade, 38);
  EXPECT_EQ(com.cTipoCusto, 39);
  ConfereVolta<PPDiscoRecursoProcesso>(bruto, com);
}

// The description fills its 50 bytes on disk without a terminator and comes back terminated.
TEST(RegistrosOP, LabelCarriesItsFieldsAndAFullDescriptionBothWays) {
  const std::string descricao = "Etiqueta de caixa " + std::string(31, 'x') + "Z";
  ASSERT_EQ(descricao.size(), 50u);
  Bruto bruto(64);
  bruto.Poe<uint32_t>(4, 1004).Poe<uint32_t>(8, 1008).Poe<uint16_t>(12, 12).PoeTexto(14, descricao);

  const auto com = ParaCOM<_REG_PP_OP_PROCESSO_ETIQUETAPS>(bruto.Registro<PPDiscoEtiqueta>());
  EXPECT_EQ(com.ulQuantidadeEmitida, 1004u);
  EXPECT_EQ(com.ulQuantidadeTotal, 1008u);
  EXPECT_EQ(com.usQuantidade, 12);
  EXPECT_EQ(std::string(com.szDescricao), descricao);
  EXPECT_EQ(std::string(com.szLeiaute), "");
  ConfereVolta<PPDiscoEtiqueta>(bruto, com);
}

TEST(RegistrosOP, LongLabelDescriptionIsCutToItsFiftyBytesOnDisk) {
  _REG_PP_OP_PROCESSO_ETIQUETAPS com{};
  std::memset(com.szDescricao, 'd', 51);
  PPDiscoEtiqueta disco{};
  PPConverteParaDisco(com, disco);
  const std::vector<uint8_t> bytes = BytesDe(disco);
  EXPECT_EQ(std::string(bytes.begin() + 14, bytes.end()), std::string(50, 'd'));
}

TEST(RegistrosOP, IssuedLabelCarriesItsFieldsBothWays) {
  Bruto bruto(64);
  bruto.Poe<int32_t>(4, 1004).Poe<uint16_t>(8, 8).Poe<uint16_t>(10, 10).Poe<uint16_t>(12, 12).Poe<uint16_t>(14, 14);
  bruto.Poe<uint32_t>(52, 1052).Poe<uint32_t>(56, 1056).Poe<uint32_t>(60, 1060);

  const auto com = ParaCOM<_REG_PP_OP_ETIQUETA_EMITIDAPS>(bruto.Registro<PPDiscoEtiquetaEmitida>());
  EXPECT_EQ(com.lPonteiroProcesso, 1004);
  EXPECT_EQ(com.usIdxProcessoEtiqueta, 8);
  EXPECT_EQ(com.usPonteiroUsuario, 10);
  EXPECT_EQ(com.usDataEmissao, 12);
  EXPECT_EQ(com.usHoraEmissao, 14);
  EXPECT_EQ(com.ulQtdSolicitada, 1052u);
  EXPECT_EQ(com.ulNrLoteEtiqueta, 1056u);
  EXPECT_EQ(com.ulTamanhoLoteEtiqueta, 1060u);
  ConfereVolta<PPDiscoEtiquetaEmitida>(bruto, com);
}

TEST(RegistrosOP, SimpleReportCarriesItsFieldsBothWays) {
  Bruto bruto(128);
  bruto.PoeCy(0, 50000).PoeCy(8, 50008).PoeCy(16, 50016).Poe<int32_t>(36, 1036);
  for (size_t offset = 60; offset <= 72; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  bruto.Poe<uint8_t>(84, 84).Poe<uint8_t>(85, 85);

  const auto com = ParaCOM<_REG_VARMO_OP_APONTAMENTO>(bruto.Registro<PPDiscoApontamentoSimples>());
  EXPECT_EQ(com.vQuantidadeApontada.int64, 50000);
  EXPECT_EQ(com.vQuantidadeBruta.int64, 50008);
  EXPECT_EQ(com.vQuantidadeTara.int64, 50016);
  EXPECT_EQ(com.lPonteiroOperacaoProducao, 1036);
  EXPECT_EQ(com.usDataApontamentoInicio, 60);
  EXPECT_EQ(com.usHoraApontamentoInicio, 62);
  EXPECT_EQ(com.usDataApontamentoFim, 64);
  EXPECT_EQ(com.usHoraApontamentoFim, 66);
  EXPECT_EQ(com.usDataGravacao, 68);
  EXPECT_EQ(com.usHoraGravacao, 70);
  EXPECT_EQ(com.usPonteiroUsuarioGravacao, 72);
  EXPECT_EQ(com.cTipoOperacao, 84);
  EXPECT_EQ(com.cTipoProducao, 85);
  ConfereVolta<PPDiscoApontamentoSimples>(bruto, com);
}

TEST(RegistrosOP, ReportCarriesItsFieldsBothWays) {
  Bruto bruto(200);
  bruto.PoeCy(0, 60000).PoeCy(8, 60008).PoeCy(16, 60016).PoeCy(24, 60024).PoeCy(32, 60032).PoeCy(48, 60048);
  bruto.Poe<uint32_t>(60, 1060).Poe<uint32_t>(64, 1064).Poe<int32_t>(84, 1084).Poe<int32_t>(88, 1088);
  bruto.Poe<int32_t>(100, 1100).Poe<int32_t>(104, 1104).Poe<int32_t>(108, 1108).Poe<int32_t>(112, 1112);
  bruto.Poe<int32_t>(132, 1132).Poe<uint32_t>(136, 1136);
  for (size_t offset = 144; offset <= 168; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  for (size_t offset = 172; offset <= 185; ++offset) bruto.Poe<uint8_t>(offset, static_cast<uint8_t>(offset));

  const auto com = ParaCOM<_REG_VARMO_OP_APONTAMENTO>(bruto.Registro<PPDiscoApontamento>());
  EXPECT_EQ(com.vQuantidadeApontada.int64, 60000);
  EXPECT_EQ(com.vQuantidadeBruta.int64, 60008);
  EXPECT_EQ(com.vQuantidadeTara.int64, 60016);
  EXPECT_EQ(com.vQuantidadeRefugo.int64, 60024);
  EXPECT_EQ(com.vQuantidadeReprocessada.int64, 60032);
  EXPECT_EQ(com.v8CustoTerceirizacao.int64, 60048);
  EXPECT_EQ(com.lPonteiroPedidoNecessidade, 1060u);
  EXPECT_EQ(com.lPonteiroNotaFiscalSaida, 1064u);
  EXPECT_EQ(com.lPonteiroOperacaoProducao, 1084);
  EXPECT_EQ(com.lPonteiroProcesso, 1088);
  EXPECT_EQ(com.lPonteiroSuplementoInfo1, 1100);
  EXPECT_EQ(com.lPonteiroSuplementoInfo2, 1104);
  EXPECT_EQ(com.lPonteiroSuplementoInfo3, 1108);
  EXPECT_EQ(com.lPonteiroMotivoRefugo, 1112);
  EXPECT_EQ(com.lPonteiroIndustrializador, 1132);
  EXPECT_EQ(com.ulChaveOPReprocesso, 1136u);
  EXPECT_EQ(com.usDataApontamentoInicio, 144);
  EXPECT_EQ(com.usHoraApontamentoInicio, 146);
  EXPECT_EQ(com.usDataApontamentoFim, 148);
  EXPECT_EQ(com.usHoraApontamentoFim, 150);
  EXPECT_EQ(com.usDataGravacao, 152);
  EXPECT_EQ(com.usHoraGravacao, 154);
  EXPECT_EQ(com.usPonteiroUsuarioGravacao, 156);
  EXPECT_EQ(com.usIdxItemPedido, 158);
  EXPECT_EQ(com.usQtdMvtoEntrada, 160);
  EXPECT_EQ(com.usQtdMvtoEstoque, 162);
  EXPECT_EQ(com.usQtdRetornoIndustExt, 164);
  EXPECT_EQ(com.usQtdRecursosNaoApontados, 166);
  EXPECT_EQ(com.usQtdRecursos, 168);
  EXPECT_EQ(com.cLiberacaoItemPedido, 172);
  EXPECT_EQ(com.cTipoOperacao, 173);
  EXPECT_EQ(com.cTipoItem, 174);
  EXPECT_EQ(com.cTipoProducao, 175);
  EXPECT_EQ(com.cExcluido, 176);
  EXPECT_EQ(com.cPossuiRefugo, 177);
  EXPECT_EQ(com.cGerouReprocesso, 178);
  EXPECT_EQ(com.cEncerramentoForcado, 179);
  EXPECT_EQ(com.cUltimoProcesso, 180);
  EXPECT_EQ(com.cPossuiEntradaPendente, 181);
  EXPECT_EQ(com.cEncerramentoRemIndustrializacao, 182);
  EXPECT_EQ(com.cTipoApontamento, 183);
  EXPECT_EQ(com.cImportacaoComBaixasPendentes, 184);
  EXPECT_EQ(com.cProducaoExterna, 185);
  ConfereVolta<PPDiscoApontamento>(bruto, com);
}

// The first 44 bytes lie as in the COM record; the four switches follow in the disk's own order.
TEST(RegistrosOP, ResourceReportCarriesItsFieldsBothWays) {
  Bruto bruto(64);
  bruto.PoeCy(0, 70000).PoeCy(8, 70008).PoeCy(16, 70016).PoeCy(24, 70024);
  bruto.Poe<uint32_t>(32, 1032).Poe<int32_t>(36, 1036).Poe<int32_t>(40, 1040);
  bruto.Poe<uint8_t>(44, 44).Poe<uint8_t>(45, 45).Poe<uint8_t>(46, 46).Poe<uint8_t>(47, 47);

  const auto com = ParaCOM<_REG_PP_APONTAMENTO_RECURSOPS>(bruto.Registro<PPDiscoApontamentoRecurso>());
  EXPECT_EQ(com.vCapacidade.int64, 70000);
  EXPECT_EQ(com.vSetup.int64, 70008);
  EXPECT_EQ(com.v8Custo.int64, 70016);
  EXPECT_EQ(com.vPercEficiencia.int64, 70024);
  EXPECT_EQ(com.lPonteiroCentroCustos, 1032u);
  EXPECT_EQ(com.lPonteiroProcesso, 1036);
  EXPECT_EQ(com.lPonteiroRecurso, 1040);
  EXPECT_EQ(com.cTipo, 44);
  EXPECT_EQ(com.cDesconsiderarTempos, 45);
  EXPECT_EQ(com.cCustoTempoPorUnidade, 46);
  EXPECT_EQ(com.cTipoCusto, 47);
  ConfereVolta<PPDiscoApontamentoRecurso>(bruto, com);
}

TEST(RegistrosOP, ReturnCarriesItsFieldsBothWays) {
  Bruto bruto(90);
  bruto.PoeCy(0, 80000).PoeCy(8, 80008).Poe<uint32_t>(16, 1016).Poe<uint32_t>(24, 1024).Poe<int32_t>(28, 1028);
  for (size_t offset = 48; offset <= 56; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  bruto.Poe<uint8_t>(66, 66).Poe<uint8_t>(67, 67).Poe<uint8_t>(68, 68).Poe<uint8_t>(69, 69);

  const auto com = ParaCOM<_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS>(bruto.Registro<PPDiscoRetorno>());
  EXPECT_EQ(com.vQuantidadeRetornada.int64, 80000);
  EXPECT_EQ(com.vQuantidadeRefugo.int64, 80008);
  EXPECT_EQ(com.lPonteiroRegistroEntrada, 1016u);
  EXPECT_EQ(com.ulChaveRetornoNFPendente, 1024u);
  EXPECT_EQ(com.lPonteiroMotivoRefugo, 1028);
  EXPECT_EQ(com.usDataRetorno, 48);
  EXPECT_EQ(com.usHoraRetorno, 50);
  EXPECT_EQ(com.usDataGravacao, 52);
  EXPECT_EQ(com.usHoraGravacao, 54);
  EXPECT_EQ(com.usPonteiroUsuarioGravacao, 56);
  EXPECT_EQ(com.cPossuiRefugo, 66);
  EXPECT_EQ(com.cEncerramentoForcado, 67);
  EXPECT_EQ(com.cGeraTransitoIndustrializacao, 68);
  EXPECT_EQ(com.cApontamentoAutomatico, 69);
  ConfereVolta<PPDiscoRetorno>(bruto, com);
}

TEST(RegistrosOP, ShipmentCarriesItsFieldsBothWays) {
  Bruto bruto(60);
  bruto.Poe<uint32_t>(0, 1000).Poe<uint32_t>(4, 1004).Poe<uint32_t>(8, 1008).Poe<int32_t>(12, 1012);
  bruto.Poe<int32_t>(20, 1020);
  for (size_t offset = 24; offset <= 32; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  bruto.Poe<uint8_t>(36, 4).Poe<uint8_t>(38, 38);

  const auto com = ParaCOM<_REG_PP_REMESSA_INDUSTRIALIZACAOPS>(bruto.Registro<PPDiscoRemessa>());
  EXPECT_EQ(com.ulChaveApontamentoOP, 1000u);
  EXPECT_EQ(com.ulChaveOP, 1004u);
  EXPECT_EQ(com.ulChaveFaturaRemessa, 1008u);
  EXPECT_EQ(com.lPonteiroClassificacao, 1012);
  EXPECT_EQ(com.lPonteiroFornecedor, 1020);
  EXPECT_EQ(com.usPonteiroHistorico, 24);
  EXPECT_EQ(com.usPonteiroCFOP, 26);
  EXPECT_EQ(com.usPonteiroFilial, 28);
  EXPECT_EQ(com.usDataEmissaoRemessa, 30);
  EXPECT_EQ(com.usHoraEmissaoRemessa, 32);
  EXPECT_EQ(com.cStatusFaturamento, 4);
  EXPECT_EQ(com.cEnviarProdutoFinal, 38);
  ConfereVolta<PPDiscoRemessa>(bruto, com);
}

TEST(RegistrosOP, ShipmentInputCarriesItsFieldsBothWays) {
  Bruto bruto(80);
  bruto.PoeCy(0, 90000).PoeCy(8, 90008).Poe<uint32_t>(16, 1016);
  for (size_t offset = 24; offset <= 44; offset += 4) bruto.Poe<int32_t>(offset, 1000 + static_cast<int32_t>(offset));
  for (size_t offset = 48; offset <= 54; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  for (size_t offset = 56; offset <= 60; ++offset) bruto.Poe<uint8_t>(offset, static_cast<uint8_t>(offset));

  const auto com = ParaCOM<_REG_PP_REMESSA_INSUMOPS>(bruto.Registro<PPDiscoInsumoRemessa>());
  EXPECT_EQ(com.vQuantidadeTotal.int64, 90000);
  EXPECT_EQ(com.v8ValorUnitario.int64, 90008);
  EXPECT_EQ(com.regPosicaoProduto.lPonteiroProduto, 1016u);
  EXPECT_EQ(com.lPonteiroVolumeES, 1024);
  EXPECT_EQ(com.lPonteiroLoteES, 1028);
  EXPECT_EQ(com.lPonteiroForLote, 1032);
  EXPECT_EQ(com.lPonteiroForEPTETPE, 1036);
  EXPECT_EQ(com.lPonteiroCliEPTETPE, 1040);
  EXPECT_EQ(com.lPonteiroLocal, 1044);
  EXPECT_EQ(com.regPosicaoProduto.iPonteiroItemGrade1, 48);
  EXPECT_EQ(com.regPosicaoProduto.iPonteiroItemGrade2, 50);
  EXPECT_EQ(com.regPosicaoProduto.iPonteiroItemGrade3, 52);
  EXPECT_EQ(com.usPonteiroUnidadeMedida, 54);
  EXPECT_EQ(com.cTipoEstoque, 56);
  EXPECT_EQ(com.cTipoProducao, 57);
  EXPECT_EQ(com.cQuantidadeCasasDecimaisEstoque, 58);
  EXPECT_EQ(com.cEhProdutoNaoCadastrado, 59);
  EXPECT_EQ(com.cEhProdutoFinal, 60);
  ConfereVolta<PPDiscoInsumoRemessa>(bruto, com);
}

TEST(RegistrosOP, RequirementCarriesItsFieldsBothWays) {
  Bruto bruto(128);
  bruto.PoeCy(0, 11000).PoeCy(8, 11008).PoeCy(16, 11016).PoeCy(24, 11024).PoeCy(32, 11032).PoeCy(114, 11114);
  bruto.Poe<int32_t>(40, 1040).Poe<uint32_t>(44, 1044).Poe<int32_t>(48, 1048).Poe<int32_t>(52, 1052);
  for (size_t offset = 68; offset <= 84; offset += 2) bruto.Poe<uint16_t>(offset, static_cast<uint16_t>(offset));
  bruto.Poe<uint8_t>(94, 3);

  const auto com = ParaCOM<_REG_VARMO_OP_NECESSIDADE>(bruto.Registro<PPDiscoNecessidade>());
  EXPECT_EQ(com.vQtdSolicitada.int64, 11000);
  EXPECT_EQ(com.vQtdProgramada.int64, 11008);
  EXPECT_EQ(com.vQtdProduzida.int64, 11016);
  EXPECT_EQ(com.vQtdCancelada.int64, 11024);
  EXPECT_EQ(com.vQtdRefugo.int64, 11032);
  EXPECT_EQ(com.vQtdAgrupada.int64, 11114);
  EXPECT_EQ(com.lPonteiroOPGeradora, 1040);
  EXPECT_EQ(com.regPosProduto.lPonteiroProduto, 1044u);
  EXPECT_EQ(com.RegQuemGerou.lChaveModulo, 1048);
  EXPECT_EQ(com.lPonteiroColecao, 1052);
  EXPECT_EQ(com.regPosProduto.iPonteiroItemGrade1, 68);
  EXPECT_EQ(com.regPosProduto.iPonteiroItemGrade2, 70);
  EXPECT_EQ(com.regPosProduto.iPonteiroItemGrade3, 72);
  EXPECT_EQ(com.usPonteiroFilial, 74);
  EXPECT_EQ(com.usPonteiroUsuarioEmissao, 76);
  EXPECT_EQ(com.usPonteiroUsuarioCancelManual, 78);
  EXPECT_EQ(com.usDataEmissao, 80);
  EXPECT_EQ(com.usDataCancelamentoManual, 82);
  EXPECT_EQ(com.RegQuemGerou.iData, 84);
  EXPECT_EQ(com.cTipoRegistro, 3);
  EXPECT_EQ(com.ulChave, 0u);
  ConfereVolta<PPDiscoNecessidade>(bruto, com);
}

}  // namespace

#include "server/CPPAtualizaVersaoRecurso.h"

#include "server/CPPNomesArquivos.h"

namespace {

constexpr uint32_t kTamanhoRecursoV1 = 128;
constexpr uint32_t kTamanhoRecursoV2 = 200;

constexpr PPCampoCopiado kCamposRecursoV2[] = {
    {0, 0, 16}, {24, 24, 8}, {32, 16, 8}, {40, 32, 8}, {48, 124, 4},
    {60, 40, 2}, {64, 42, 10}, {74, 52, 50}, {164, 102, 5},
};

void RecursoV2(uint32_t, const uint8_t* antigo, uint8_t* novo) { PPCopiaCampos(novo, antigo, kCamposRecursoV2); }

}  // namespace

CPPAtualizaVersaoRecurso::CPPAtualizaVersaoRecurso()
    : CPPAtualizaVersao(PPDescricaoConversor{kPPGrupoRecurso, "Atualiza Recursos", {"AtualizaV01_p_V02"},
                                             &CPPNomesArquivos::ListaArquivosRecursos}) {}

HRESULT CPPAtualizaVersaoRecurso::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao != 1) return PPErroHResult(kPPErroAtualizacaoVersao);
  return ConverteUmArquivo(
      usVersao, {&CPPNomesArquivos::ArqRecurso, kTamanhoRecursoV1, kTamanhoRecursoV2, true, &RecursoV2, true});
}

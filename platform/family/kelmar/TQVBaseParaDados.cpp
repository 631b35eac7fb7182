#include "platform/family/kelmar/TQVBaseParaDados.h"

TQVBaseParaDados::~TQVBaseParaDados() = default;

void TQVBaseParaDados::Limpar() { OnLimpar(); }

void TQVBaseParaDados::Copiar(const TQVBaseParaDados* origem) { OnCopiar(origem); }

void TQVBaseParaDados::OnLimpar() {}

void TQVBaseParaDados::OnCopiar(const TQVBaseParaDados*) {}

// Where the installation and the companies keep their files, as the registry says under
// HKEY_LOCAL_MACHINE "SOFTWARE\QV Rivovoda\". Every directory read gets a trailing backslash when it
// is not empty and lacks one. The QVGet functions give an empty string when a value is missing; the
// QVLe functions return 0 or 16217 and leave the output unchanged on failure.
#pragma once

#include "platform/mfc/CString.h"

CString QVGetValorInstalacao(const char* nomeValor);
CString QVGetDiretorioMensagens();
CString QVGetDiretorioRelatorios();
CString QVGetDiretorioAjuda();
CString QVGetDiretorioCadastros();
CString QVGetDiretorioImagens();
CString QVGetPathSistema(int indiceSistema);
CString QVGetDiretorioEmpresa(int indiceSistema, const char* empresa);
CString QVGetDiretorioIndice();

int QVLeDiretorioMensagens(CString& diretorio);
int QVLeDiretorioRelatorios(CString& diretorio);
int QVLeDiretorioAjuda(CString& diretorio);
int QVLeDiretorioCadastros(CString& diretorio);
int QVLePathSistema(const char* codigo, CString& diretorio);
// Copies the path into a caller's buffer of MAX_PATH bytes.
int QVLePathSistemaBuffer(const char* codigo, char* buffer);
int QVLeDiretorioIndice(CString& diretorio);
// 1 when read, 0 when the company's key or its value for the system cannot be read.
int QVLeDiretorioEmpresa(const char* codigo, const char* empresa, CString& diretorio);

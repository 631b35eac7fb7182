// Path helpers. Paths are the system's: backslashes between components, a directory is a path that
// ends with a backslash. The string functions are pure; the last group touches the file system
// through the platform layer.
#pragma once

#include "platform/mfc/CString.h"

// Replaces or adds the extension of the file name; a null or empty path, or a null extension,
// gives an empty string.
CString QVTrocaExtensao(const char* caminho, const char* extensao);
// Exactly one backslash between the two parts.
CString QVConcatenaCaminho(const char* diretorio, const char* nome);
CString QVGetDiretorio(const char* caminho);
CString QVGetExtensao(const char* caminho);
CString QVGetNomeArquivo(const char* caminho);
CString QVGetNomeArquivoSemExtensao(const char* caminho);
bool QVTemExtensao(const char* caminho);
// "C:\" of "C:\dir\x", "\\server\" of "\\server\share\x"; empty when the path names no drive.
CString QVGetUnidade(const char* caminho);

CString QVGetDiretorioTemporario();
// Creates a new, empty, uniquely named file in the temporary directory and returns its name.
CString QVGetArquivoTemporario(const char* prefixo);
bool QVCriaDiretorio(const char* caminho);
bool QVEhDiretorio(const char* caminho);
bool QVExisteArquivo(const char* caminho);
// Whether the file, or a probe file in the directory, can be opened for writing.
bool QVPodeGravar(const char* caminho);

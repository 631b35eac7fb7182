#include "platform/win32/messagebox.h"

#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/win32/codepage.h"

namespace {

struct ButtonSet {
  std::vector<int> buttons;
  const char* words;  // for the line on standard error
};

const ButtonSet kButtonSets[] = {
    {{IDOK}, "OK"},
    {{IDOK, IDCANCEL}, "OK/Cancelar"},
    {{IDABORT, IDRETRY, IDIGNORE}, "Anular/Repetir/Ignorar"},
    {{IDYES, IDNO, IDCANCEL}, "Sim/Não/Cancelar"},
    {{IDYES, IDNO}, "Sim/Não"},
    {{IDRETRY, IDCANCEL}, "Repetir/Cancelar"},
    {{IDCANCEL, IDTRYAGAIN, IDCONTINUE}, "Cancelar/Tentar novamente/Continuar"},
};

const char* IconWord(UINT style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONHAND: return "erro";
    case MB_ICONQUESTION: return "pergunta";
    case MB_ICONEXCLAMATION: return "aviso";
    case MB_ICONASTERISK: return "informação";
    default: return "mensagem";
  }
}

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

MessageBoxCapture* current_capture = nullptr;  // guarded by Lock()

}  // namespace

struct MessageBoxInternals {
  // With the lock held: records the box in the current capture, if any, and gives its answer.
  static bool Capture(CapturedMessageBox& box) {
    MessageBoxCapture* capture = current_capture;
    if (!capture) return false;
    if (capture->next_answer_ < capture->answers_.size())
      box.answer = capture->answers_[capture->next_answer_++];
    capture->boxes_.push_back(box);
    return true;
  }
};

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR title, UINT style) {
  const UINT set = style & MB_TYPEMASK;
  if (set >= std::size(kButtonSets)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::vector<int>& buttons = kButtonSets[set].buttons;
  const UINT default_index = (style & MB_DEFMASK) >> 8;
  CapturedMessageBox box{owner, Utf8FromAnsi(title ? title : "Erro"),
                         Utf8FromAnsi(text ? text : ""), style,
                         buttons[default_index < buttons.size() ? default_index : 0]};
  std::lock_guard<std::mutex> guard(Lock());
  if (MessageBoxInternals::Capture(box)) return box.answer;
  fprintf(stderr, "[%s] (%s)\n%s\n[%s] -> %d\n", box.title.c_str(), IconWord(style),
          box.text.c_str(), kButtonSets[set].words, box.answer);
  fflush(stderr);
  return box.answer;
}

MessageBoxCapture::MessageBoxCapture() {
  std::lock_guard<std::mutex> guard(Lock());
  previous_ = current_capture;
  current_capture = this;
}

MessageBoxCapture::~MessageBoxCapture() {
  std::lock_guard<std::mutex> guard(Lock());
  current_capture = previous_;
}

void MessageBoxCapture::Answer(int button) {
  std::lock_guard<std::mutex> guard(Lock());
  answers_.push_back(button);
}

std::vector<CapturedMessageBox> MessageBoxCapture::boxes() const {
  std::lock_guard<std::mutex> guard(Lock());
  return boxes_;
}

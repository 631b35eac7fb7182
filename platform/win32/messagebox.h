// Message boxes of a program without a window. A box never blocks: its title and text go to
// standard error (converted from the system's Windows-1252 to UTF-8 for the terminal) and the box
// answers with its default button, as a user who presses Enter would. The owner window is only
// recorded. Tests capture the boxes with a MessageBoxCapture and may script the answers. Boxes may
// come from any thread.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/base.h"

// Buttons (the low four bits of the style).
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_CANCELTRYCONTINUE = 0x6;
// Icons.
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
// Default button; a default past the box's last button falls back to the first, as on Windows.
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFBUTTON4 = 0x300;
// Modality and placement: recorded, without effect here.
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr UINT MB_TOPMOST = 0x40000;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFMASK = 0xF00;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

// Returns the button chosen, or 0 (last error ERROR_INVALID_PARAMETER) for an unknown button set.
// A null title is "Erro", as Windows puts its own word for "Error" there.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR title, UINT style);

// One box as a test sees it. Title and text are UTF-8, as a user would read them.
struct CapturedMessageBox {
  HWND owner;
  std::string title;
  std::string text;
  UINT style;
  int answer;
};

// While one lives, boxes are recorded here instead of going to standard error. Answers given with
// Answer() are used in order by the next boxes; when none is left, boxes take their default button.
// Captures nest like scopes; the innermost one records.
class MessageBoxCapture {
 public:
  MessageBoxCapture();
  ~MessageBoxCapture();
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  void Answer(int button);
  std::vector<CapturedMessageBox> boxes() const;

 private:
  friend struct MessageBoxInternals;

  std::vector<CapturedMessageBox> boxes_;  // guarded by the message box lock, like the answers
  std::vector<int> answers_;
  size_t next_answer_ = 0;
  MessageBoxCapture* previous_;
};

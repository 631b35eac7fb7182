#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/messagebox.h"

namespace {

TEST(MessageBox, AnswersWithTheDefaultButton) {
  struct Case {
    UINT style;
    int answer;
  } cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_YESNO | MB_DEFBUTTON3, IDYES},  // past the last button: the first one
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
      {MB_RETRYCANCEL | MB_ICONHAND, IDRETRY},
  };
  MessageBoxCapture capture;
  for (const Case& c : cases)
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", c.style), c.answer) << c.style;
  EXPECT_EQ(MessageBoxA(nullptr, "t", "c", 0x7), 0);
  EXPECT_EQ(capture.boxes().size(), std::size(cases));
}

TEST(MessageBox, CaptureRecordsEveryBoxInUtf8AndPlaysScriptedAnswers) {
  MessageBoxCapture capture;
  capture.Answer(IDNO);
  HWND main_window = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(MessageBoxA(main_window,
                        "Importa\xE7\xE3o conclu\xED"
                        "da com sucesso! \x80",
                        "Orvel Empresarial", MB_YESNO | MB_ICONEXCLAMATION),
            IDNO);
  std::thread other([] { MessageBoxA(nullptr, "Linha 1\nLinha 2", nullptr, MB_OKCANCEL); });
  other.join();

  const std::vector<CapturedMessageBox> boxes = capture.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].owner, main_window);
  EXPECT_EQ(boxes[0].title, "Orvel Empresarial");
  EXPECT_EQ(boxes[0].text, "Importação concluída com sucesso! €");
  EXPECT_EQ(boxes[0].style, MB_YESNO | MB_ICONEXCLAMATION);
  EXPECT_EQ(boxes[0].answer, IDNO);
  EXPECT_EQ(boxes[1].title, "Erro");
  EXPECT_EQ(boxes[1].text, "Linha 1\nLinha 2");
  EXPECT_EQ(boxes[1].answer, IDOK);  // the script has run out: the default button
}

TEST(MessageBox, WithoutCaptureGoesToStandardErrorAndNeverBlocks) {
  testing::internal::CaptureStderr();
  const int answer = MessageBoxA(nullptr, "N\xE3o foi poss\xEDvel abrir", "Erro",
                                 MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer, IDNO);
  EXPECT_NE(written.find("Erro"), std::string::npos);
  EXPECT_NE(written.find("Não foi possível abrir"), std::string::npos);
}

}  // namespace

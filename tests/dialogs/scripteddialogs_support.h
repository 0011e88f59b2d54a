// User dialogs answered from a script: a test lists the dialogs it expects, in order, with their
// answers; any other dialog fails the running test, and so do expected ones that never came.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/userdialogs.h"

namespace zeigora {

enum class TDialogKind {
    Error,
    Warning,
    Information,
    YesNo,
    OpenFile,
    SaveFile,
    Color,
    Input,
    Print,
    OpenDocument
};

// One expected call. Text, when given, must equal the message, question, prompt, file dialog
// title or document path (cp1252).
struct TExpectedDialog {
    TDialogKind Kind = TDialogKind::Error;
    std::optional<std::string> Text;
    bool Accept = true;  // "Ja", OK, a file chosen, print, opening succeeds
    TFileChoice File;
    std::uint32_t Color = 0;
    std::string Input;
};

// What was actually shown or asked, in order.
struct TShownDialog {
    TDialogKind Kind;
    std::string Text;
};

class TScriptedDialogs : public TUserDialogs {
  public:
    ~TScriptedDialogs() override { VerifyAllShown(); }

    // A call of that kind with the given text (any text when none) and answer.
    static TExpectedDialog Call(TDialogKind kind, std::optional<std::string> text = std::nullopt,
                                bool accept = true) {
        return {kind, std::move(text), accept, {}, 0, {}};
    }

    void Expect(const TExpectedDialog& expected) { Expected.push_back(expected); }
    void ExpectError(const std::string& text) { Expect(Call(TDialogKind::Error, text)); }
    void ExpectWarning(const std::string& text) { Expect(Call(TDialogKind::Warning, text)); }
    void ExpectYesNo(const std::string& text, bool yes) {
        Expect(Call(TDialogKind::YesNo, text, yes));
    }
    // A file dialog of that kind (OpenFile or SaveFile) choosing the file, or cancelled.
    void ExpectFile(TDialogKind kind, std::optional<TFileChoice> choice) {
        Expect({kind, std::nullopt, choice.has_value(), choice.value_or(TFileChoice{}), 0, {}});
    }
    void ExpectInput(const std::string& prompt, std::optional<std::string> answer) {
        Expect({TDialogKind::Input, prompt, answer.has_value(), {}, 0, answer.value_or("")});
    }
    // A colour dialog choosing the colour, or cancelled.
    void ExpectColor(std::optional<std::uint32_t> color) {
        Expect({TDialogKind::Color, std::nullopt, color.has_value(), {}, color.value_or(0), {}});
    }

    // Fails the running test for every expected dialog that did not come, and forgets them.
    void VerifyAllShown();
    const std::vector<TShownDialog>& Shown() const { return History; }

    ZEIGORA_USER_DIALOGS_OVERRIDES;

  private:
    // The script's entry for this call, or nothing (and a test failure) when it was unexpected
    // or declined.
    std::optional<TExpectedDialog> Take(TDialogKind kind, const std::string& text);

    std::deque<TExpectedDialog> Expected;
    std::vector<TShownDialog> History;
};

// Installs fresh scripted dialogs for each test and checks at its end that all came.
class TScriptedDialogsTest : public ::testing::Test {
  protected:
    void SetUp() override { Previous = SetUserDialogs(&Dialogs); }
    void TearDown() override {
        Dialogs.VerifyAllShown();
        SetUserDialogs(Previous);
    }

    TScriptedDialogs Dialogs;

  private:
    TUserDialogs* Previous = nullptr;
};

}  // namespace zeigora

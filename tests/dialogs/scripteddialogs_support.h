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

    void ShowError(const std::string& text) override { Take(TDialogKind::Error, text); }
    void ShowWarning(const std::string& text) override { Take(TDialogKind::Warning, text); }
    void ShowInformation(const std::string& text) override { Take(TDialogKind::Information, text); }
    bool AskYesNo(const std::string& text, TQuestionIcon) override {
        return Take(TDialogKind::YesNo, text).has_value();
    }
    std::optional<TFileChoice> GetOpenFileName(const std::string& title, const std::string&,
                                               const std::string&) override {
        return Answer(TDialogKind::OpenFile, title, &TExpectedDialog::File);
    }
    std::optional<TFileChoice> GetSaveFileName(const std::string& title, const std::string&,
                                               const std::string&, bool) override {
        return Answer(TDialogKind::SaveFile, title, &TExpectedDialog::File);
    }
    std::optional<std::uint32_t> PickColor(std::uint32_t) override {
        return Answer(TDialogKind::Color, "", &TExpectedDialog::Color);
    }
    std::optional<std::string> InputBox(const std::string&, const std::string& prompt,
                                        const std::string&) override {
        return Answer(TDialogKind::Input, prompt, &TExpectedDialog::Input);
    }
    bool PrintDialog(QPrinter&) override { return Take(TDialogKind::Print, "").has_value(); }
    bool OpenDocument(const std::string& path) override {
        return Take(TDialogKind::OpenDocument, path).has_value();
    }

  private:
    // The script's entry for this call, or nothing (and a test failure) when it was unexpected
    // or declined.
    std::optional<TExpectedDialog> Take(TDialogKind kind, const std::string& text);
    template <typename T>
    std::optional<T> Answer(TDialogKind kind, const std::string& text, T TExpectedDialog::*field) {
        const auto expected = Take(kind, text);
        return expected ? std::optional<T>((*expected).*field) : std::nullopt;
    }

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

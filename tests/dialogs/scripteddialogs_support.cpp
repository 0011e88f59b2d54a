#include "dialogs/scripteddialogs_support.h"

#include "platform/cp1252.h"

namespace zeigora {

const char* DialogKindName(TDialogKind kind) {
    static const char* const names[] = {
        "error box",   "warning box",   "message box", "question",     "open dialog",
        "save dialog", "colour dialog", "input box",   "print dialog", "document opener"};
    return names[static_cast<int>(kind)];
}

TExpectedDialog TScriptedDialogs::Call(TDialogKind kind, std::optional<std::string> text,
                                       bool accept) {
    TExpectedDialog expected;
    expected.Kind = kind;
    expected.Text = std::move(text);
    expected.Accept = accept;
    return expected;
}

void TScriptedDialogs::ExpectFile(TDialogKind kind, std::optional<TFileChoice> choice) {
    TExpectedDialog expected = Call(kind, std::nullopt, choice.has_value());
    if (choice) expected.File = *choice;
    Expect(expected);
}

void TScriptedDialogs::ExpectInput(const std::string& prompt, std::optional<std::string> answer) {
    TExpectedDialog expected = Call(TDialogKind::Input, prompt, answer.has_value());
    expected.Input = answer.value_or("");
    Expect(expected);
}

void TScriptedDialogs::ExpectColor(std::optional<std::uint32_t> color) {
    TExpectedDialog expected = Call(TDialogKind::Color, std::nullopt, color.has_value());
    expected.Color = color.value_or(0);
    Expect(expected);
}

TScriptedDialogs::~TScriptedDialogs() {
    VerifyAllShown();
}

void TScriptedDialogs::VerifyAllShown() {
    for (const TExpectedDialog& missing : Expected) {
        ADD_FAILURE() << "expected " << DialogKindName(missing.Kind) << " did not come: \""
                      << Cp1252ToUtf8(missing.Text.value_or("")) << "\"";
    }
    Expected.clear();
}

std::optional<TExpectedDialog> TScriptedDialogs::Take(TDialogKind kind, const std::string& text) {
    History.push_back({kind, text});
    if (Expected.empty() || Expected.front().Kind != kind) {
        ADD_FAILURE() << "unexpected " << DialogKindName(kind) << ": \"" << Cp1252ToUtf8(text)
                      << "\"";
        return std::nullopt;
    }
    TExpectedDialog expected = Expected.front();
    Expected.pop_front();
    if (expected.Text && *expected.Text != text) {
        ADD_FAILURE() << DialogKindName(kind) << " says \"" << Cp1252ToUtf8(text)
                      << "\", expected \"" << Cp1252ToUtf8(*expected.Text) << "\"";
    }
    return expected;
}

void TScriptedDialogs::ShowError(const std::string& text) {
    Take(TDialogKind::Error, text);
}

void TScriptedDialogs::ShowWarning(const std::string& text) {
    Take(TDialogKind::Warning, text);
}

void TScriptedDialogs::ShowInformation(const std::string& text) {
    Take(TDialogKind::Information, text);
}

bool TScriptedDialogs::AskYesNo(const std::string& text, TQuestionIcon) {
    const auto expected = Take(TDialogKind::YesNo, text);
    return expected && expected->Accept;
}

std::optional<TFileChoice> TScriptedDialogs::GetOpenFileName(const std::string& title,
                                                             const std::string&,
                                                             const std::string&) {
    const auto expected = Take(TDialogKind::OpenFile, title);
    if (!expected || !expected->Accept) return std::nullopt;
    return expected->File;
}

std::optional<TFileChoice> TScriptedDialogs::GetSaveFileName(const std::string& title,
                                                             const std::string&, const std::string&,
                                                             bool) {
    const auto expected = Take(TDialogKind::SaveFile, title);
    if (!expected || !expected->Accept) return std::nullopt;
    return expected->File;
}

std::optional<std::uint32_t> TScriptedDialogs::PickColor(std::uint32_t) {
    const auto expected = Take(TDialogKind::Color, "");
    if (!expected || !expected->Accept) return std::nullopt;
    return expected->Color;
}

std::optional<std::string> TScriptedDialogs::InputBox(const std::string&, const std::string& prompt,
                                                      const std::string&) {
    const auto expected = Take(TDialogKind::Input, prompt);
    if (!expected || !expected->Accept) return std::nullopt;
    return expected->Input;
}

bool TScriptedDialogs::PrintDialog(QPrinter&) {
    const auto expected = Take(TDialogKind::Print, "");
    return expected && expected->Accept;
}

bool TScriptedDialogs::OpenDocument(const std::string& path) {
    const auto expected = Take(TDialogKind::OpenDocument, path);
    return expected && expected->Accept;
}

void TScriptedDialogsTest::SetUp() {
    Previous = SetUserDialogs(&Dialogs);
}

void TScriptedDialogsTest::TearDown() {
    Dialogs.VerifyAllShown();
    SetUserDialogs(Previous);
}

}  // namespace zeigora

#include "dialogs/scripteddialogs_support.h"

#include "platform/cp1252.h"

namespace zeigora {
namespace {

const char* KindName(TDialogKind kind) {
    static const char* const names[] = {
        "error box",   "warning box",   "message box", "question",     "open dialog",
        "save dialog", "colour dialog", "input box",   "print dialog", "document opener"};
    return names[static_cast<int>(kind)];
}

}  // namespace

void TScriptedDialogs::VerifyAllShown() {
    for (const TExpectedDialog& missing : Expected) {
        ADD_FAILURE() << "expected " << KindName(missing.Kind) << " did not come: \""
                      << Cp1252ToUtf8(missing.Text.value_or("")) << "\"";
    }
    Expected.clear();
}

std::optional<TExpectedDialog> TScriptedDialogs::Take(TDialogKind kind, const std::string& text) {
    History.push_back({kind, text});
    if (Expected.empty() || Expected.front().Kind != kind) {
        ADD_FAILURE() << "unexpected " << KindName(kind) << ": \"" << Cp1252ToUtf8(text) << "\"";
        return std::nullopt;
    }
    TExpectedDialog expected = Expected.front();
    Expected.pop_front();
    if (expected.Text && *expected.Text != text) {
        ADD_FAILURE() << KindName(kind) << " says \"" << Cp1252ToUtf8(text) << "\", expected \""
                      << Cp1252ToUtf8(*expected.Text) << "\"";
    }
    if (!expected.Accept) return std::nullopt;
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
    return Take(TDialogKind::YesNo, text).has_value();
}

std::optional<TFileChoice> TScriptedDialogs::GetOpenFileName(const std::string& title,
                                                             const std::string&,
                                                             const std::string&) {
    const auto expected = Take(TDialogKind::OpenFile, title);
    return expected ? std::optional(expected->File) : std::nullopt;
}

std::optional<TFileChoice> TScriptedDialogs::GetSaveFileName(const std::string& title,
                                                             const std::string&, const std::string&,
                                                             bool) {
    const auto expected = Take(TDialogKind::SaveFile, title);
    return expected ? std::optional(expected->File) : std::nullopt;
}

std::optional<std::uint32_t> TScriptedDialogs::PickColor(std::uint32_t) {
    const auto expected = Take(TDialogKind::Color, "");
    return expected ? std::optional(expected->Color) : std::nullopt;
}

std::optional<std::string> TScriptedDialogs::InputBox(const std::string&, const std::string& prompt,
                                                      const std::string&) {
    const auto expected = Take(TDialogKind::Input, prompt);
    return expected ? std::optional(expected->Input) : std::nullopt;
}

bool TScriptedDialogs::PrintDialog(QPrinter&) {
    return Take(TDialogKind::Print, "").has_value();
}

bool TScriptedDialogs::OpenDocument(const std::string& path) {
    return Take(TDialogKind::OpenDocument, path).has_value();
}

}  // namespace zeigora

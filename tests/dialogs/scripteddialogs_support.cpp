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

}  // namespace zeigora

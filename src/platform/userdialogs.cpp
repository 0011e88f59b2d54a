#include "platform/userdialogs.h"

#include <cstdio>

#include "platform/cp1252.h"

namespace zeigora {

namespace {

// Used while no application has installed real dialogs (start-up, tools, tests that forget to
// install theirs): nothing is asked, so nothing can go ahead by accident.
class TDeclineAllDialogs final : public TUserDialogs {
  public:
    void ShowError(const std::string& text) override { Print("Fehler", text); }
    void ShowWarning(const std::string& text) override { Print("Warnung", text); }
    void ShowInformation(const std::string& text) override { Print("Information", text); }
    bool AskYesNo(const std::string& text, TQuestionIcon) override {
        Print("Frage (Nein)", text);
        return false;
    }
    std::optional<TFileChoice> GetOpenFileName(const std::string&, const std::string&,
                                               const std::string&) override {
        return std::nullopt;
    }
    std::optional<TFileChoice> GetSaveFileName(const std::string&, const std::string&,
                                               const std::string&, bool) override {
        return std::nullopt;
    }
    std::optional<std::uint32_t> PickColor(std::uint32_t) override { return std::nullopt; }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    bool PrintDialog(QPrinter&) override { return false; }
    bool OpenDocument(const std::string&) override { return false; }

  private:
    static void Print(const char* kind, const std::string& text) {
        const std::string line = std::string(kind) + ": " + Cp1252ToUtf8(text) + "\n";
        std::fputs(line.c_str(), stderr);
    }
};

TDeclineAllDialogs& Fallback() {
    static TDeclineAllDialogs fallback;
    return fallback;
}

// Constant-initialised, so no start-up order can see it half made.
TUserDialogs* Installed = nullptr;

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsPlainSuffix(const std::string& suffix) {
    if (suffix.empty()) return false;
    return suffix.find_first_of("*?[]") == std::string::npos;
}

}  // namespace

TUserDialogs& UserDialogs() {
    return Installed ? *Installed : Fallback();
}

TUserDialogs* SetUserDialogs(TUserDialogs* dialogs) {
    TUserDialogs* previous = Installed;
    Installed = dialogs;
    return previous;
}

TFileFilterArray ParseFileFilters(const std::string& filters) {
    TFileFilterArray result;
    if (filters.empty()) return result;
    const std::vector<std::string> parts = SplitAt(filters, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        TFileFilter filter{parts[i], {}};
        for (const std::string& pattern : SplitAt(parts[i + 1], ';')) {
            const std::string trimmed = Trimmed(pattern);
            if (!trimmed.empty()) filter.Patterns.push_back(trimmed);
        }
        result.push_back(filter);
    }
    return result;
}

std::string BareExtension(const std::string& defaultExt) {
    std::string ext = Trimmed(defaultExt);
    if (ext.starts_with("*")) ext.erase(0, 1);
    if (ext.starts_with(".")) ext.erase(0, 1);
    return IsPlainSuffix(ext) ? ext : std::string();
}

std::string SuffixForFilter(const TFileFilter& filter, const std::string& defaultExt) {
    if (filter.Patterns.size() == 1 && filter.Patterns[0].starts_with("*.")) {
        const std::string suffix = filter.Patterns[0].substr(2);
        if (IsPlainSuffix(suffix)) return suffix;
    }
    return BareExtension(defaultExt);
}

}  // namespace zeigora

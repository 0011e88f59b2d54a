// Everything the program asks the user or hands to the desktop outside its own windows: message
// boxes, questions, the common file, colour, input and print dialogs, opening a document.
//
// One seam, so that tests can answer every question from a script. Text conventions:
// - messages, captions, prompts, filters and input texts are cp1252 byte strings, the program's
//   own text encoding; the implementation converts them for the screen;
// - file names and paths are native file system bytes (UTF-8 on Linux), ready for std::fstream.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace zeigora {

// The icon of a question box; only "Ja" ever proceeds.
enum class TQuestionIcon { Question, Warning };

// A file chosen in a file dialog. FilterIndex counts the "Text|*.ext" pairs of the filter string
// from 1, the way the callers number them ("filter 1 bitmap, filter 2 metafile").
struct TFileChoice {
    std::string FileName;
    int FilterIndex = 1;
};

class TUserDialogs {
  public:
    virtual ~TUserDialogs() = default;

    // Error box: error icon, one "OK" button.
    virtual void ShowError(const std::string& text) = 0;
    // Warning box: warning icon, one "OK" button.
    virtual void ShowWarning(const std::string& text) = 0;
    // Plain message box: no icon, one "OK" button, the application title as caption.
    virtual void ShowInformation(const std::string& text) = 0;
    // Question with the buttons "Ja" and "Nein"; true only for "Ja".
    virtual bool AskYesNo(const std::string& text,
                          TQuestionIcon icon = TQuestionIcon::Question) = 0;

    // Filters in the classic form "Zeigora Dateien (*.zgf)|*.zgf|Alle (*.*)|*.*". The default
    // extension ("*.zgf", ".zgf" or "zgf") is appended to a typed name without extension; a
    // filter with a single "*.ext" pattern supplies its own extension instead.
    virtual std::optional<TFileChoice> GetOpenFileName(const std::string& title,
                                                       const std::string& filters,
                                                       const std::string& defaultExt) = 0;
    virtual std::optional<TFileChoice> GetSaveFileName(const std::string& title,
                                                       const std::string& filters,
                                                       const std::string& defaultExt,
                                                       bool askOverwrite) = 0;

    // Colours are 0x00BBGGRR; nothing when the user cancels.
    virtual std::optional<std::uint32_t> PickColor(std::uint32_t initial) = 0;

    // Single-line input; nothing when the user cancels.
    virtual std::optional<std::string> InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& defaultText) = 0;

    // The platform's print dialog on a printer the caller owns; true when the user chose to
    // print, and the printer then carries the user's choice.
    virtual bool PrintDialog(QPrinter& printer) = 0;

    // Opens a document with the program the desktop associates with it; true on success.
    virtual bool OpenDocument(const std::string& path) = 0;
};

// Declares every member of TUserDialogs as an override, in an implementation's class body.
#define ZEIGORA_USER_DIALOGS_OVERRIDES                                                         \
    void ShowError(const std::string& text) override;                                          \
    void ShowWarning(const std::string& text) override;                                        \
    void ShowInformation(const std::string& text) override;                                    \
    bool AskYesNo(const std::string& text, TQuestionIcon icon) override;                       \
    std::optional<TFileChoice> GetOpenFileName(                                                \
        const std::string& title, const std::string& filters, const std::string& defaultExt)   \
        override;                                                                              \
    std::optional<TFileChoice> GetSaveFileName(                                                \
        const std::string& title, const std::string& filters, const std::string& defaultExt,   \
        bool askOverwrite) override;                                                           \
    std::optional<std::uint32_t> PickColor(std::uint32_t initial) override;                    \
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt, \
                                        const std::string& defaultText) override;              \
    bool PrintDialog(QPrinter& printer) override;                                              \
    bool OpenDocument(const std::string& path) override

// The dialogs in use. The application installs its implementation at start and removes it when
// it ends; before that, and without an application, every question is declined and messages go
// to standard error.
TUserDialogs& UserDialogs();
// Installs dialogs (not owned) and returns the previous ones; nullptr goes back to the fallback.
TUserDialogs* SetUserDialogs(TUserDialogs* dialogs);

// One pair of a classic filter string: the description shown and its patterns ("*.bmp").
struct TFileFilter {
    std::string Description;
    std::vector<std::string> Patterns;
};
using TFileFilterArray = std::vector<TFileFilter>;

// Splits "Text (*.a)|*.a|Other|*.b;*.c" into its pairs; a trailing description without
// patterns is dropped, as the classic dialogs do.
TFileFilterArray ParseFileFilters(const std::string& filters);

// The classic default extension ("*.zgf", ".zgf", "zgf") as a bare suffix ("zgf"); empty when
// it names no extension ("*.*", "*").
std::string BareExtension(const std::string& defaultExt);

// The extension a filter gives a typed name: its only pattern's suffix when that is a plain
// "*.ext", otherwise the dialog's default extension.
std::string SuffixForFilter(const TFileFilter& filter, const std::string& defaultExt);

}  // namespace zeigora

// The user dialogs on Qt widgets: message boxes with German buttons, the Qt file, colour, input
// and print dialogs, and the desktop's document opener.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/userdialogs.h"

namespace zeigora {

class TQtUserDialogs final : public TUserDialogs {
  public:
    void ShowError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    bool AskYesNo(const std::string& text, TQuestionIcon icon) override;
    std::optional<TFileChoice> GetOpenFileName(const std::string& title, const std::string& filters,
                                               const std::string& defaultExt) override;
    std::optional<TFileChoice> GetSaveFileName(const std::string& title, const std::string& filters,
                                               const std::string& defaultExt,
                                               bool askOverwrite) override;
    std::optional<std::uint32_t> PickColor(std::uint32_t initial) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override;
    bool PrintDialog(QPrinter& printer) override;
    bool OpenDocument(const std::string& path) override;
};

// Qt's name filters ("Bitmaps (*.bmp)") for a classic filter string; the patterns of each pair
// replace whatever pattern list its description shows, since Qt filters by the parenthesis.
QStringList QtNameFilters(const TFileFilterArray& filters);

}  // namespace zeigora
